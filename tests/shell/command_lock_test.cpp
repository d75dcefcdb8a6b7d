// The lock of the main window's commands while a full redraw runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "shell/command_lock.h"
#include "support/fake_redraw_host.h"

using namespace pelmar;

TEST(ButtonLock, SavesAndRestores) {
    FakeRedrawHost host;
    ButtonLock lock;
    host.buttons["TBSave"] = false;
    host.buttons["TBPlay"] = true;
    lock.lock(host);
    EXPECT_EQ(std::count_if(host.buttons.begin(), host.buttons.end(), [](auto& b) { return !b.second; }), 41);
    EXPECT_TRUE(host.buttons["TBPlay"]);
    lock.unlock(host);
    EXPECT_FALSE(host.buttons["TBSave"]);
    EXPECT_TRUE(host.buttons["TBNew"]);
    EXPECT_TRUE(host.buttons["TBPlay"]);
}

// The locked commands are 41 distinct commands with tool buttons; the play
// button (the stop request), the windows, help and the recent files stay
// usable during a full redraw.
TEST(ButtonLock, LocksToolButtonsButNotPlayWindowsHelpOrRecentFiles) {
    std::set<MainCommand> seen;
    for (MainCommand c : LockedButtons) {
        EXPECT_TRUE(seen.insert(c).second) << InfoOf(c).tool;
        ASSERT_NE(InfoOf(c).tool, nullptr) << static_cast<int>(c);
    }
    for (MainCommand c : {MainCommand::Play, MainCommand::Exit, MainCommand::WinObj, MainCommand::WinImg, MainCommand::WinTrans,
                      MainCommand::WinDef, MainCommand::Help, MainCommand::About, MainCommand::File1, MainCommand::File5})
        EXPECT_EQ(seen.count(c), 0u) << static_cast<int>(c);
}
