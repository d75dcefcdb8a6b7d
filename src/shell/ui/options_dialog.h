// FormOptions, the program options: undo and its depth, the program's own
// file dialogs and the association of ".pel" documents (page 1), the two
// selection colours with their sample (page 2), the tool-bar groups (page
// 3) and the language (page 4).  It works on the application's settings and
// editing state: undo, the dialogs switch and the colours take effect at
// once, the tool-group flags are kept at once but reach the tool bar only
// through OK, and a language chosen from the list is loaded and announced to
// the open windows at once.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "shell/program_options.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace pelmar {

class Application;
class TSpinEdit;

// What the dialog asks of the desktop; each left empty takes the real one.
struct OptionsServices {
    // The colour dialog preset with a colour; nothing on Cancel.
    std::function<std::optional<TColor>(TColor current)> pickColor;
    // The association of ".pel" documents; false with the reason.
    std::function<bool(std::string& error)> associate;
    // A message box with OK.
    std::function<void(const std::string&)> showMessage;
    // OK: the tool-group flags put on the tool bar.
    std::function<void(const std::array<bool, ToolGroupCount>&)> applyToolGroups;
};

class TFormOptions : public QDialog {
    Q_OBJECT
public:
    TFormOptions(Application& app, OptionsServices services, QWidget* parent = nullptr);
    ~TFormOptions() override;

    // WordsToOptions: the word table's texts on the dialog.
    void WordsToOptions();
    // FillLanguageList: the list rebuilt from the translation folders.
    void FillLanguageList();
    const LanguageList& languages() const { return langs_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    void build();
    void settingsToControls();
    void languageChosen(int index);
    void pickColor(bool move);
    void colorsChanged();
    void depthEntered();

    Application& app_;
    OptionsServices sv_;
    LanguageList langs_;
    bool firstShow_ = true;
    int filling_ = 0;  // the language list is being filled

    QTabWidget* pages_ = nullptr;
    QCheckBox* undo_ = nullptr;
    TSpinEdit* depth_ = nullptr;
    QCheckBox* ownDialogs_ = nullptr;
    QPushButton* move_ = nullptr;
    QPushButton* shape_ = nullptr;
    QPushButton* defaults_ = nullptr;
    QLabel* sample_ = nullptr;
    std::array<QCheckBox*, ToolGroupCount> groups_{};
    QComboBox* langList_ = nullptr;
    QLabel* author_ = nullptr;
    QLabel* date_ = nullptr;
};

// The program options of the main window `window` (the menu item and tool
// button): the dialog is made on first use, kept while the window lives and
// shown modally.
class Form1;
TFormOptions& ProgramOptions(Form1& window, OptionsServices services = {});

}  // namespace pelmar
