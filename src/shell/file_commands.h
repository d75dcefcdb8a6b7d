// The document commands of the File menu: New, Open (by dialog, by a recent
// entry, by name), Save, Save As and Close, with the save-changes and
// overwrite questions, the caption and the recent files.  Everything the user
// is asked goes through FileQuestions, so that a test answers it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/records.h"
#include "shell/recent_files.h"

namespace pelmar {

struct EditingState;
struct PictureSettings;
struct ShellState;

// Answers of a question with Yes, No and Cancel.
enum class Answer : std::uint8_t { Yes = 1, No = 2, Cancel = 3 };

class FileQuestions {
public:
    virtual ~FileQuestions() = default;
    // Yes / No / Cancel; Escape answers Cancel.
    virtual Answer askYesNoCancel(const std::string& text) = 0;
    // Yes / No; anything but Yes is No.
    virtual bool askYesNo(const std::string& text) = 0;
    virtual void showMessage(const std::string& text) = 0;
    // The open and save dialogs; "" when cancelled.  `own`: the program's own
    // dialogs with the preview.
    virtual std::string chooseOpenFile(const std::string& initialDir, bool own) = 0;
    virtual std::string chooseSaveFile(const std::string& initialDir, const std::string& fileName, bool own) = 0;
    // The new-project dialog: false when cancelled, else the counts per kind.
    virtual bool chooseNewProject(std::array<std::uint8_t, KindCount>& counts) = 0;
    // The picture settings of the project being made, starting from the new
    // project's: false when cancelled.
    virtual bool chooseNewPicture(PictureSettings& settings) = 0;
};

// What the commands report to the main window.
struct DocumentView {
    std::function<void(const std::string&)> setCaption;  // main window and application title
    std::function<void(const std::array<RecentMenuItem, 5>&)> showRecentFiles;
    std::function<void()> documentOpened;  // combos and Play enabled, picture window placed
    std::function<void()> leaveDocument;   // Close: the no-project state
    std::function<void()> redraw;
};

class FileCommands {
public:
    FileCommands(EditingState& st, ShellState& shell, FileQuestions& ask, DocumentView view);

    // CheckSaveFileName: ".ext" appended unless the name ends with it
    // (case-sensitive), then the overwrite question for an existing file.
    bool CheckSaveFileName(std::string& fileName, const std::string& ext);
    // 1 saved, 2 not saved, 3 cancel.
    int QuerySaveChanges();
    // The save guard of New, Open, a recent file and Close: true = go on.
    bool SaveGuard();

    void NewProject();
    bool SaveDocumentAs();
    void Save();
    void OpenDocumentDialog();
    void OpenRecent(int n);  // 1..5
    bool OpenDocument(const std::string& fileName);
    void Close();
    // Writes the document to `name`; texts the file cannot keep as they are
    // (line breaks, characters code page 1251 lacks) are listed first and the
    // user may refuse.
    // false when the user refused or the write failed.
    bool WriteTo(const std::string& name);

    bool hasDocument() const { return hasDocument_; }
    void setHasDocument(bool on) { hasDocument_ = on; }

private:
    void setCaption(const std::string& docName);
    void addRecent(const std::string& name);
    bool setUpNewProject();

    EditingState& st_;
    ShellState& shell_;
    FileQuestions& ask_;
    DocumentView view_;
    bool hasDocument_ = false;
};

// The folder a file dialog starts in: `wanted` (the folder used last) unless
// it is missing or one of the program's own folders, else the user's
// documents folder.
std::string StartFolder(const ShellState& shell, const std::string& wanted);

// Fills object i of every kind from the kind's default, in the order a new
// document is set up (point, segment, ellipse, 2D system, triangle, ...).
void LoadDefaultObjects(DProj& doc, const EditingState& st);

}  // namespace pelmar
