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

class TRadioGroup;

// Word-table lines of the two option dialogs.
inline constexpr int CancelLine = 219;         // "Отмена"
inline constexpr int CaptionLine = 220;        // "Параметры экспорта в "
inline constexpr int MainGroupLine = 221;      // "Главное"
inline constexpr int VersionLine = 222;        // "Версия"
inline constexpr int RunItemLine = 223;        // "Не открывать", then the other two run choices
inline constexpr int GroupingLine = 226;       // "Группировка"
inline constexpr int GroupItemLine = 227;      // "Не группировать объекты", "Группировать объекты"
inline constexpr int LinesLine = 229;          // "Линии"
inline constexpr int OwnArrowsLine = 230;      // "Собственные стрелки"
inline constexpr int ArrowNoLine = 231;        // "Номер стрелки:"
inline constexpr int DashNoLine = 232;         // "Номер пунктира:"
inline constexpr int StatusLine = 233;         // "Статус"
inline constexpr int ImplicitGraphLine = 348;  // "Неявный график"

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
    // Builds the status group, the run choice and the two buttons; the
    // subclass lays them out.
    QGroupBox* makeStatusGroup(bool secondImage);
    TRadioGroup* makeRunGroup(const QString& title);
    QWidget* makeButtons();

    // The words both dialogs take from the word table: the run choices, the
    // line group's labels, the status group and "Отмена".
    void wordsToShared();
    // A word-table text for a control that takes "&" as a mnemonic.
    QString escapedWord(int line);

    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

    virtual void firstPaint() {}
    // Reads the option file and shows its values; a file that could not be
    // read is told (tellUnreadable).
    virtual void loadSettings() = 0;
    // Writes the option file when "Ok" must (OptionsNeedWriting); the reason
    // of a failure, empty on success or when nothing was written.
    virtual std::string saveSettings() = 0;
    // Says, once a session for each file and reason, that the option file
    // could not be read and that it stays as it is.
    void tellUnreadable(const std::string& file, int error);
    // Copies the controls into the options and runs the export.
    virtual bool runExport(OfficeRun& run) = 0;

    OfficeExportContext& ctx_;
    ExportState& state_;
    TRadioGroup* RadioGroupRun = nullptr;
    QGroupBox* GroupBox3 = nullptr;  // the lines
    QLabel* Label1 = nullptr;        // "Номер стрелки:"
    QLabel* Label3 = nullptr;        // "Номер пунктира:"
    QGroupBox* GroupBox4 = nullptr;  // the status
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
