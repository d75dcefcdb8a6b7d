// What the two export option dialogs share: the status group, the "Ok" and
// "Отмена" buttons, the close permit, the first-paint set-up and the "Ok" run.
#pragma once

#include <QDialog>

#include "office/ui/export_dialogs.h"
#include "office/office_export.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QGroupBox;

namespace pelmar {

class ExportDialogBase : public QDialog, public ExportUi {
    Q_OBJECT
public:
    ExportDialogBase(OfficeExportContext& ctx, ExportState& state, QWidget* parent);

    std::string wordLine(int line) override;
    bool askYesNo(const std::string& text) override;
    void setStatus(const std::string& text) override;
    void setProgress(int done, int total) override;

    // The calls and file of the last run, for tests.
    const OfficeRun& lastRun() const { return run_; }

    void done(int r) override;

protected:
    // Builds the status group and the two buttons; the subclass lays them out.
    QGroupBox* makeStatusGroup(bool secondImage);
    QWidget* makeButtons();

    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

    virtual void firstPaint() {}
    virtual void loadSettings() = 0;
    // Writes the settings file; the reason of a failure, empty on success.
    virtual std::string saveSettings() = 0;
    // Copies the controls into the options and runs the export.
    virtual bool runExport(OfficeRun& run) = 0;

    OfficeExportContext& ctx_;
    ExportState& state_;
    QLabel* LabelStatus1 = nullptr;
    QLabel* LabelStatus2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

private:
    void okClicked();

    bool firstPaint_ = true;
    bool closePermit_ = false;
    OfficeRun run_;
};

}  // namespace pelmar
