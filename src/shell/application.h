// The application object: the program's state in one owner per subsystem,
// reached through it.
//
//   document()  DocumentState: the document Proj, the drawing snapshot
//               DrawProj, Running (the stop request clears it), NoRedraw,
//               the pictures (src/drawing)
//   exports()   ExportState: the export settings that outlive one export
//               (src/files)
//   shell()     ShellState: the program folders, the settings, the word
//               table, the user's number format (src/shell)
//   editing()   EditingState: the working copies, current indexes, role
//               bytes, selection, undo position and gate (src/editing)
//
// Logic below the shell takes what it needs of these as parameters; windows
// reach the logic through this object, the logic reaches windows only
// through the roles of drawing/host_roles.h and the interfaces beside it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drawing/document_state.h"
#include "drawing/host_roles.h"
#include "files/export_host.h"
#include "shell/language_signal.h"
#include "shell/startup.h"

namespace pelmar {

struct EditingState;     // src/editing/editing_state.h
class EditedDocument;   // src/editing/edited_document.h

class Application {
public:
    struct Folders {
        std::string ProgDir;                   // ending in "/"
        std::vector<std::string> ShippedDirs;  // each ending in "/"
        std::string DocumentsDir;              // where file dialogs start; empty: the desktop's
    };
    // This user's program folder and this installation's shipped folders.
    static Folders DefaultFolders();

    // A blank document, the start settings, the built-in words.
    explicit Application(Folders folders);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    DocumentState& document() { return *document_; }
    ShellState& shell() { return shell_; }
    ExportState& exports() { return exports_; }
    EditingState& editing();
    // The edited document: its commands and the signals the windows follow.
    EditedDocument& edited() { return *edited_; }

    // The start-up of the main window on this application's shell state
    // (MainWindowCreated): settings read, words loaded, the hooks called.
    void created(const MainWindowHooks& hooks);
    // Fills the word table as shell().settings.LangFile says (SetLanguage),
    // as the language choice does; its messages go to showMessage.
    void loadLanguage();
    // A change of language: LangFile := langFile, the word table and Qt's
    // own texts loaded (loadLanguage); the windows are told by
    // languageChanged().changed(), which the caller emits once its own
    // window has its words.
    void setLanguageFile(const std::string& langFile);
    LanguageSignal& languageChanged() { return *language_; }

    // The program's texts for the roles the windows play: the word table,
    // the user's decimal separator and showMessage.
    TextRole& texts();

    // The message box (an OK button) of the main window; none until set.
    std::function<void(const std::string&)> showMessage;

private:
    class Texts;

    std::unique_ptr<DocumentState> document_;
    std::unique_ptr<EditedDocument> edited_;  // edits document_->Proj
    ShellState shell_;
    ExportState exports_;
    std::unique_ptr<Texts> texts_;
    std::unique_ptr<LanguageSignal> language_;
};

}  // namespace pelmar
