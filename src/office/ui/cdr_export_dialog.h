// The drawing-program export's option dialog.
#pragma once

#include "office/ui/export_dialog_base.h"
#include "office/export_settings.h"

class QCheckBox;
class QGroupBox;
class QLabel;

namespace pelmar {

class TRadioGroup;
class TSpinEdit;

class CdrExportDialog : public ExportDialogBase {
    Q_OBJECT
public:
    CdrExportDialog(OfficeExportContext& ctx, ExportState& state, QWidget* parent = nullptr);

    // The controls as settings.
    CdrSettings controls() const;

    // Puts the word table's texts on the dialog; its creation does.
    void WordsToExport();

protected:
    void loadSettings() override;
    std::string saveSettings() override;
    bool runExport(OfficeRun& run) override;

private:
    void setControls(const CdrSettings& s);
    void arrowClicked();

    QGroupBox* GroupBox2;
    QLabel* Label2;
    TSpinEdit* SpinEditVer;
    TRadioGroup* RadioGroupGroup;
    QCheckBox* CheckBoxArrow;
    TSpinEdit* SpinEditNArrow;
    TSpinEdit* SpinEditNDash;
    OptionsRead<CdrSettings> read_;  // the file as read, then as last written
};

}  // namespace pelmar
