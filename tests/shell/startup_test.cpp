// The life of the main window, scripted against hooks that log what the
// windows are asked to do: created, shown twice, resized twice, asked to
// close, closed.
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/startup.h"
#include "shell_test_util.h"

namespace pelmar {
namespace {

using test::ReadBytes;
using test::Scratch;
using test::WriteBytes;

struct Life {
    Scratch s;
    ShellState state;
    MainWindowHooks hooks;
    std::vector<std::string> log;
    std::string caption;
    bool openResult = true;
    bool unsaved = false;
    int answer = 3;

    Life() {
        state.ProgDir = s.folder("pelmar");  // ends in "/"
        state.ProgDir.pop_back();            // the steps add it
        auto note = [this](const std::string& what) { return [this, what] { log.push_back(what); }; };
        hooks.setNoProjectState = [this](bool startUp) { log.push_back(startUp ? "no project" : "close project"); };
        hooks.documentStartValues = note("start values");
        hooks.showRecentFiles = [this](const std::array<RecentMenuItem, 5>& items) {
            log.push_back("recent " + items[0].caption + (items[0].enabled ? " on" : " off"));
        };
        hooks.createPictures = note("pictures");
        hooks.resetRunState = note("run state");
        hooks.showError = [this](const std::string& t) { log.push_back("error " + t); };
        hooks.wordsToMain = [this] { log.push_back("words " + state.words.WordLine(8)); };
        hooks.disableCombos = note("combos off");
        hooks.applyToolbarGroups = [this](const std::array<bool, ToolGroupCount>& g) {
            log.push_back(std::string("groups ") + (g[0] ? "file" : "-") + (g[7] ? " help" : " -"));
        };
        hooks.openDocument = [this](const std::string& f) {
            log.push_back("open " + f);
            return openResult;
        };
        hooks.setCaption = [this](const std::string& c) { caption = c; };
        hooks.defaultWindowLayout = note("layout");
        hooks.unsavedChanges = [this] { return unsaved; };
        hooks.querySaveChanges = [this] {
            log.push_back("save?");
            return answer;
        };
        hooks.deleteUndoFiles = note("undo files gone");
        hooks.freePictures = note("pictures freed");
    }
    std::string settingsFile() const { return state.ProgDir + "/Pelmar.set"; }
};

const std::string SettingsBytes =
    "/home/t/docs/\r\n8\r\n255000000\r\n000000255\r\n\xE8" "0050\r\n011111110\r\n/home/t/docs/a.pel\r\n"
    "No File\r\nNo File\r\nNo File\r\nNo File\r\n\xEB\r\nRussian\r\n";

TEST(MainWindowLife, ASessionFromStartToClose) {
    Life l;
    WriteBytes(l.settingsFile(), SettingsBytes);
    l.state.arguments = {l.s.path("docs/task.pel")};

    MainWindowCreated(l.state, l.hooks);
    EXPECT_EQ(l.log, (std::vector<std::string>{"no project", "start values", "recent /home/t/docs/a.pel on",
                                               "run state", "words Файл", "pictures"}));
    EXPECT_EQ(l.state.ProgDir.back(), '/');
    EXPECT_EQ(l.state.settings.DocDir, "/home/t/docs/");
    EXPECT_EQ(l.state.settings.UndoSteps, 50);
    EXPECT_EQ(l.state.settings.LangFile, l.state.ProgDir + "Translation/Russian");

    // The first show opens the document of the command line, a later one not.
    l.log.clear();
    MainWindowShown(l.state, l.hooks);
    MainWindowShown(l.state, l.hooks);
    EXPECT_EQ(l.log, (std::vector<std::string>{"combos off", "groups file -", "open " + l.s.path("docs/task.pel"),
                                               "combos off", "groups file -"}));
    EXPECT_EQ(l.state.settings.DocDir, l.s.path("docs/"));
    EXPECT_EQ(l.state.DocName, "task.pel");
    EXPECT_EQ(l.caption, "Pelmar  -  task.pel");

    l.log.clear();
    MainWindowResized(l.state, l.hooks);
    MainWindowResized(l.state, l.hooks);
    EXPECT_EQ(l.log, std::vector<std::string>{"layout"});

    // Unsaved changes: Cancel keeps the window, "not saved" lets it close.
    l.log.clear();
    EXPECT_TRUE(MainWindowMayClose(l.hooks));
    l.unsaved = true;
    EXPECT_FALSE(MainWindowMayClose(l.hooks));
    l.answer = 2;
    EXPECT_TRUE(MainWindowMayClose(l.hooks));
    EXPECT_EQ(l.log, (std::vector<std::string>{"save?", "save?"}));

    l.log.clear();
    l.state.settings.UndoSteps = 120;
    MainWindowClosing(l.state, l.hooks);
    EXPECT_EQ(l.log, (std::vector<std::string>{"pictures freed", "undo files gone"}));
    std::string expect = SettingsBytes;
    expect.replace(expect.find("/home/t/docs/\r\n"), 15, l.s.path("docs/") + "\r\n");
    expect.replace(expect.find("0050"), 4, "0120");
    EXPECT_EQ(ReadBytes(l.settingsFile()), expect);
}

TEST(MainWindowLife, NoSettingsFileAndADocumentThatCannotBeRead) {
    Life l;
    l.openResult = false;
    l.state.arguments = {"relative/missing.pel"};
    MainWindowCreated(l.state, l.hooks);
    // The start values: no groups, the recent entries unused, the built-in words.
    EXPECT_EQ(l.log[2], "recent No File off");
    EXPECT_EQ(l.log[4], "words Файл");
    EXPECT_EQ(l.state.settings.DocDir, l.state.ProgDir);
    l.log.clear();
    MainWindowShown(l.state, l.hooks);
    const std::string absolute = (std::filesystem::current_path() / "relative/missing.pel").string();
    EXPECT_EQ(l.log, (std::vector<std::string>{"combos off", "groups - -", "open " + absolute, "no project"}));
    EXPECT_EQ(l.caption, "");
    EXPECT_EQ(l.state.DocName, "");
    EXPECT_EQ(l.state.settings.DocDir, l.state.ProgDir);

    // A translation file that cannot be found: the message, the built-in words.
    Life t;
    WriteBytes(t.settingsFile(), SettingsBytes.substr(0, SettingsBytes.size() - 9) + "Klingon.trs\r\n");
    MainWindowCreated(t.state, t.hooks);
    EXPECT_NE(std::find(t.log.begin(), t.log.end(),
                        "error Cann`t find \"" + t.state.ProgDir + "Translation/Klingon.trs\". Setup Russian include."),
              t.log.end());
    EXPECT_EQ(t.state.settings.LangFile, "Translation/Russian");

    // A program folder that cannot be written (here a file stands at its
    // name, which stops root too): closing says the settings were not saved,
    // and why.
    Life u;
    WriteBytes(u.s.path("taken"), "a file");
    u.state.ProgDir = u.s.path("taken/");
    MainWindowClosing(u.state, u.hooks);
    EXPECT_EQ(u.log, (std::vector<std::string>{"error Не могу сохранить настройки в " + u.s.path("taken/Pelmar.set") + ": часть пути не папка",
                                               "pictures freed", "undo files gone"}));

    EXPECT_EQ(SplitDocumentPath("/a/b/c.pel"), (std::pair<std::string, std::string>{"/a/b/", "c.pel"}));
    EXPECT_EQ(SplitDocumentPath("c.pel"), (std::pair<std::string, std::string>{"./", "c.pel"}));
}

}  // namespace
}  // namespace pelmar
