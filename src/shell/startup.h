// The life of the main window as steps in their order: created (settings
// read, words loaded), shown (tool groups, the document named on the command
// line), first resized (the default layout), asked to close (the save
// question) and closing (settings written, undo files removed).  What the
// steps need of the windows and of the document comes through MainWindowHooks;
// a hook left empty is skipped.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "shell/language.h"
#include "shell/recent_files.h"
#include "shell/settings.h"

namespace pelmar {

struct MainWindowHooks {
    std::function<void(bool startUp)> setNoProjectState;
    std::function<void()> documentStartValues;      // zoom 100, white background, commits allowed
    std::function<void(const std::array<RecentMenuItem, 5>&)> showRecentFiles;
    std::function<void()> createPictures;           // the metafile, back buffer and background pictures
    std::function<void()> resetRunState;            // Running off, section plane 1
    std::function<void(const std::string&)> showError;
    std::function<void(const std::string&)> showNotice;  // a message box once the window is up
    std::function<void()> wordsToMain;              // the words on the menu and tool bar
    std::function<void()> disableCombos;            // object and zoom combos
    std::function<void(const std::array<bool, ToolGroupCount>&)> applyToolbarGroups;
    std::function<bool(const std::string& file)> openDocument;  // reports its own failure
    std::function<void(const std::string&)> setCaption;
    std::function<void()> defaultWindowLayout;
    std::function<bool()> unsavedChanges;           // the Save command is enabled
    std::function<int()> querySaveChanges;          // 1 saved, 2 not saved, 3 cancel
    std::function<void()> deleteUndoFiles;
    std::function<void()> freePictures;
};

// What the shell keeps beside the windows.
struct ShellState {
    std::string ProgDir;                      // ends in "/"
    std::vector<std::string> shippedDirs;     // read-only folders of shipped files
    std::string DocumentsDir;                 // the user's documents folder; empty: the desktop's
    Settings settings;
    SettingsSource settingsSource;            // what the start found of the settings files
    WordTable words;
    std::vector<std::string> arguments;       // command line, program name excluded
    std::string DocName;                      // file name of the open document
    char DecimalSep = ',';                    // the user's decimal separator
    bool FirstShow = true;
    bool FirstResize = true;
};

struct LifeStep {
    const char* name;
    void (*run)(ShellState& state, const MainWindowHooks& hooks);
};

// The steps of the main window's creation, in order.
const std::vector<LifeStep>& CreateSteps();
// The steps of each show of the main window, in order.
const std::vector<LifeStep>& ShowSteps();

void MainWindowCreated(ShellState& state, const MainWindowHooks& hooks);
void MainWindowShown(ShellState& state, const MainWindowHooks& hooks);
// Only the first resize lays the windows out.
void MainWindowResized(ShellState& state, const MainWindowHooks& hooks);
// False when the user cancels the save question.
bool MainWindowMayClose(const MainWindowHooks& hooks);
// Settings written unless the start could not read them or they are
// unchanged (a settings file that cannot be written is said through
// showError), pictures freed, undo files removed.
void MainWindowClosing(ShellState& state, const MainWindowHooks& hooks);

// Why the settings of this session are not kept, when a settings file could
// not be read: the file, the reason, and what becomes of the settings, in
// the words' language.  Empty when there is nothing to say.
std::string SettingsNotice(const SettingsSource& source, const WordTable& words);

// Why a side file could not be read, in the interface's language (Russian
// without words): `error` as SideFileBytes::error gives it.
std::string UnreadableFileReason(int error, const WordTable* words);

// Folder and file name of a path ("/a/b/c.pel" gives "/a/b/" and "c.pel").
std::pair<std::string, std::string> SplitDocumentPath(const std::string& path);

}  // namespace pelmar
