// The lock of the main window's commands while a full redraw runs.
#include <gtest/gtest.h>

#include <algorithm>

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
