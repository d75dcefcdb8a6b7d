// A save whose folder cannot be flushed to the disk afterwards (the disk
// refuses it: here every flush of a folder fails while a switch is on) is
// told once, by the next document save, or else when the program ends.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "files/document.h"
#include "platform/safe_save.h"
#include "shell/startup.h"
#include "shell_test_util.h"

namespace {

std::atomic<bool> foldersFail{false};

}  // namespace

// Every flush of this test program passes here; a folder's fails while the
// switch is on.
extern "C" int fsync(int fd) {
    struct stat st {};
    if (foldersFail && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        errno = EIO;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

namespace pelmar {
namespace {

TEST(FolderFlush, AFailedFlushIsToldOnceByTheNextSaveOrAtTheEnd) {
    test::Scratch s;
    const std::string docs = s.folder("docs");
    const auto doc = NewDocument();
    std::vector<std::string> said;
    DocumentContext ctx;
    ctx.ShowMessage = [&said](const std::string& m) { said.push_back(m); };
    WaitForFolderFlush();  // the flag flips only between flushes
    TakeFolderFlushFailure();  // what earlier tests left

    // The save itself succeeds; its folder's flush fails after it.
    foldersFail = true;
    ASSERT_TRUE(WriteDocument(docs + "a.pel", *doc, WriteModeDocument, ctx));
    WaitForFolderFlush();
    foldersFail = false;
    EXPECT_TRUE(said.empty());
    ASSERT_TRUE(WriteDocument(docs + "b.pel", *doc, WriteModeDocument, ctx));
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find(docs.substr(0, docs.size() - 1) + " to the disk: " + std::strerror(EIO)), std::string::npos)
        << said[0];
    ASSERT_TRUE(WriteDocument(docs + "c.pel", *doc, WriteModeDocument, ctx));
    EXPECT_EQ(said.size(), 1u);

    // The last save before the end: the end tells it, after the settings.
    WaitForFolderFlush();
    foldersFail = true;
    ASSERT_TRUE(WriteDocument(docs + "d.pel", *doc, WriteModeDocument, ctx));
    WaitForFolderFlush();
    foldersFail = false;
    ShellState state;
    state.ProgDir = s.folder("pelmar");
    MainWindowHooks hooks;
    hooks.showError = [&said](const std::string& m) { said.push_back(m); };
    MainWindowClosing(state, hooks);
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[1], said[0]);
    EXPECT_EQ(TakeFolderFlushFailure(), "");
}

}  // namespace
}  // namespace pelmar
