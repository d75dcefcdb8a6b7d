// The word-processor export's option dialog.
#pragma once

#include "office/ui/export_dialog_base.h"
#include "office/export_settings.h"

namespace pelmar {

class TRadioGroup;
class TSpinEdit;

class WordExportDialog : public ExportDialogBase {
    Q_OBJECT
public:
    WordExportDialog(OfficeExportContext& ctx, ExportState& state, QWidget* parent = nullptr);

    WordSettings controls() const;

    // Puts the word table's texts on the dialog; its creation does, and its
    // first paint sets the caption and the texts that name the program.
    void WordsToExport();

protected:
    void firstPaint() override;
    void loadSettings() override;
    std::string saveSettings() override;
    bool runExport(OfficeRun& run) override;

private:
    TSpinEdit* SpinEditNArrow;
    TSpinEdit* SpinEditNDash;
    OptionsRead<WordSettings> read_;  // the file as read, then as last written
};

}  // namespace pelmar
