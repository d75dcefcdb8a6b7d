// Saving through a temporary file: the target is replaced whole or not at
// all, whoever else saves the same file at the same time; the scratch folder
// of a running instance.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/instance_folder.h"
#include "platform/safe_save.h"

using namespace pelmar;
namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
// A child forked here ends through exit(), where the leak check runs over
// the memory it inherited: fontconfig's caches, which the font tests of this
// program leave for the life of the process, are not the child's leaks.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(folder)) out.insert(e.path().filename().string());
    return out;
}

struct Folder {
    QTemporaryDir dir;
    std::string path(const std::string& name = {}) const { return dir.path().toStdString() + "/" + name; }
};

// Contents that tell whether they were read whole: a writer number, a serial
// number and a length, then bytes that follow from the three.
std::string Contents(int writer, int serial) {
    const std::size_t size = 20000 + static_cast<std::size_t>((writer * 7919 + serial * 104729) % 60000);
    std::string s = std::to_string(writer) + " " + std::to_string(serial) + " " + std::to_string(size) + "\n";
    for (std::size_t i = s.size(); i < size; ++i) s += static_cast<char>('a' + (i * 31 + static_cast<std::size_t>(writer + serial)) % 26);
    return s;
}

bool Whole(const std::string& s) {
    int writer = 0, serial = 0;
    std::size_t size = 0;
    if (std::sscanf(s.c_str(), "%d %d %zu", &writer, &serial, &size) != 3) return false;
    return s == Contents(writer, serial);
}

}  // namespace

// One session of saves, good and failed: the target changes only with a
// committed save, keeps its permissions and its link, and no temporary
// file stays behind.
TEST(SafeSave, TargetChangesOnlyWithACommittedSave) {
    Folder f;
    const std::string target = f.path("Drawing.pel"), longName = f.path(std::string(240, 'n') + ".pel");
    ASSERT_EQ(SafeWriteFile(target, "first"), "");
    ::chmod(target.c_str(), 0640);
    ASSERT_EQ(SafeWriteFile(target, std::string(100000, 'x')), "");
    EXPECT_EQ(Slurp(target), std::string(100000, 'x'));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    {
        SafeFile file(target);  // never committed
        std::fputs("half", file.stream());
    }
    {
        SafeFile file(target);
        std::fputs("wrong", file.stream());
        EXPECT_EQ(file.commit("the writer failed"), "the writer failed");
    }
    EXPECT_EQ(Slurp(target), std::string(100000, 'x'));
    {
        SafeFile file(target);  // a library that writes by name and closes the descriptor
        ::close(file.releaseFd());
        std::ofstream(file.tempPath(), std::ios::binary) << "by name";
        EXPECT_EQ(file.commit(), "");
    }
    EXPECT_EQ(Slurp(target), "by name");
    // Only a save that follows links writes where a link points; any other
    // replaces the link itself and leaves the file it pointed to alone.
    fs::create_symlink("Drawing.pel", f.path("link.pel"));
    ASSERT_EQ(SafeWriteFile(f.path("link.pel"), "through the link", true, LinkMode::Follow), "");
    EXPECT_TRUE(fs::is_symlink(f.path("link.pel")));
    EXPECT_EQ(Slurp(target), "through the link");
    fs::create_symlink("Drawing.pel", f.path("planted.png"));
    ASSERT_EQ(SafeWriteFile(f.path("planted.png"), "a picture"), "");
    EXPECT_FALSE(fs::is_symlink(f.path("planted.png")));
    EXPECT_EQ(Slurp(f.path("planted.png")), "a picture");
    EXPECT_EQ(Slurp(target), "through the link");
    fs::remove(f.path("planted.png"));
    EXPECT_EQ(SafeWriteFile(longName, "long"), "");

    fs::create_directory(f.path("folder.pel"));
    EXPECT_NE(SafeWriteFile(f.path("folder.pel"), "x"), "");
    EXPECT_NE(SafeWriteFile(f.path("no/such/folder/x.pel"), "x"), "");
    EXPECT_EQ(Names(f.path()), (std::set<std::string>{"Drawing.pel", "link.pel", "folder.pel", std::string(240, 'n') + ".pel"}));
}

// The folder's flush runs after the save has returned: saves right after
// saves, in one folder and in two, find every earlier save in place; a
// folder removed before its flush and a process forked right after a save
// neither fail a save nor hang; a process that saves and ends at once exits
// cleanly, having waited for its flush.
TEST(SafeSave, FolderFlushAfterTheSaveKeepsEverySave) {
    Folder f;
    fs::create_directory(f.path("a"));
    fs::create_directory(f.path("b"));
    const std::string targets[] = {f.path("a/one.pel"), f.path("a/two.pel"), f.path("b/three.pel")};
    for (int i = 1; i <= 60; ++i) {
        const std::string& target = targets[static_cast<std::size_t>(i % 3)];
        ASSERT_EQ(SafeWriteFile(target, Contents(i % 3, i)), "");
        EXPECT_EQ(Slurp(target), Contents(i % 3, i));
        if (i % 7 == 0) {
            // A folder gone before its flush: the flush fails unseen, and
            // the next saves go on.
            fs::create_directory(f.path("gone"));
            ASSERT_EQ(SafeWriteFile(f.path("gone/x.pel"), "x"), "");
            fs::remove_all(f.path("gone"));
        }
    }
    WaitForFolderFlush();
    EXPECT_EQ(Names(f.path("a")), (std::set<std::string>{"one.pel", "two.pel"}));
    EXPECT_EQ(Names(f.path("b")), std::set<std::string>{"three.pel"});

    // Forked right after a save (its flush under way) and after none; the
    // child saves and ends through exit(), which waits for its own flush.
    for (const bool parentFlushing : {true, false}) {
        if (parentFlushing) {
            ASSERT_EQ(SafeWriteFile(targets[0], Contents(7, 0)), "");
        }
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::alarm(120);  // a hang fails the test instead of stalling it
            int failures = 0;
            for (int i = 1; i <= 20; ++i) failures += SafeWriteFile(targets[1], Contents(8, i)).empty() ? 0 : 1;
            std::exit(failures == 0 ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_EQ(Slurp(targets[1]), Contents(8, 20));
    }
    EXPECT_EQ(Slurp(targets[0]), Contents(7, 0));
}

// Two processes save one file a thousand times each while a third reads it:
// every read finds one save whole, never a mixture or a part.
TEST(SafeSave, ConcurrentSaversNeverLeaveATornFile) {
    Folder f;
    const std::string target = f.path("shared.pel");
    ASSERT_EQ(SafeWriteFile(target, Contents(0, 0)), "");
    constexpr int Saves = 1000;
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w] = ::fork();
        ASSERT_GE(writers[w], 0);
        if (writers[w] == 0) {
            int failures = 0;
            for (int i = 1; i <= Saves; ++i) failures += SafeWriteFile(target, Contents(w + 1, i)).empty() ? 0 : 1;
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    int reads = 0, torn = 0, running = 2;
    while (running > 0) {
        const std::string s = Slurp(target);
        ++reads;
        if (!Whole(s)) ++torn;
        for (pid_t& p : writers) {
            int status = 0;
            if (p > 0 && ::waitpid(p, &status, WNOHANG) == p) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
                p = 0;
                --running;
            }
        }
    }
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    EXPECT_TRUE(Whole(Slurp(target)));
    EXPECT_EQ(Names(f.path()), std::set<std::string>{"shared.pel"});
}

// The temporary files of killed saves are removed by the next save or
// open of the file; those of running processes, other files and links stay.
TEST(SafeSave, LeftoversOfEndedWritersAreRemoved) {
    Folder f;
    const std::string target = f.path("Drawing.pel");
    ASSERT_EQ(SafeWriteFile(target, "doc"), "");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string dead = std::to_string(child), mine = std::to_string(::getpid());
    const std::vector<std::string> gone{".Drawing.pel." + dead + "-0-0badf00d~", ".Drawing.pel." + dead + "-17-12345678~"};
    const std::vector<std::string> kept{
        ".Drawing.pel.1-0-0badf00d~",           // process 1 runs
        ".Drawing.pel." + mine + "-3-0badf00d~",  // this process saves
        ".Drawing.pel." + dead + "-0-0badf00d",   // no "~": not one of ours
        ".Drawing.pel." + dead + "-x-0badf00d~",  // not a serial number
        ".Other.pel." + dead + "-0-0badf00d~",    // another file's
        "Drawing.pel." + dead + "-0-0badf00d~",   // not hidden
    };
    for (const auto& n : gone) std::ofstream(f.path(n)) << "half";
    for (const auto& n : kept) std::ofstream(f.path(n)) << "half";
    fs::create_symlink("Drawing.pel", f.path(".Drawing.pel." + dead + "-1-0badf00d~"));
    RemoveLeftoverTemps(target);
    std::set<std::string> expect(kept.begin(), kept.end());
    expect.insert("Drawing.pel");
    expect.insert(".Drawing.pel." + dead + "-1-0badf00d~");
    EXPECT_EQ(Names(f.path()), expect);
    EXPECT_EQ(Slurp(target), "doc");
}

TEST(InstanceFolder, OneFolderPerRunningInstance) {
    Folder f;
    const std::string prog = f.path();
    const std::string mine = InstanceTempFolder(prog);
    ASSERT_FALSE(mine.empty());
    EXPECT_EQ(mine.rfind(prog + "Temp/", 0), 0u);
    EXPECT_EQ(mine.back(), '/');
    EXPECT_TRUE(fs::is_directory(mine));
    EXPECT_EQ(InstanceTempFolder(prog), mine);
    std::ofstream(mine + "MetaTemp.emf") << "scratch";

    // Another process gets a folder of its own.
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string theirs = InstanceTempFolder(prog);
        const bool ok = ::write(pipeFds[1], theirs.data(), theirs.size()) == static_cast<ssize_t>(theirs.size());
        ::_exit(ok ? 0 : 1);
    }
    ::close(pipeFds[1]);
    char buf[4096];
    const ssize_t n = ::read(pipeFds[0], buf, sizeof buf);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_GT(n, 0);
    const std::string theirs(buf, static_cast<std::size_t>(n));
    EXPECT_NE(theirs, mine);
    // It ended without removing its folder: the next instance that makes
    // its own folder removes it, and keeps those of running instances.
    ASSERT_TRUE(fs::is_directory(theirs));
    const std::string root = prog + "Temp/";
    const std::string host = fs::path(mine).parent_path().filename().string();
    const std::string hostName = host.substr(0, host.rfind('-', host.rfind('-') - 1));
    const std::string living = root + hostName + "-1-00000000";  // process 1 runs
    const std::string elsewhere = root + "another-host-" + std::to_string(child) + "-00000000";
    fs::create_directories(living);
    fs::create_directories(elsewhere);
    RemoveInstanceTempFolder(prog);
    EXPECT_FALSE(fs::exists(mine));
    EXPECT_EQ(InstanceTempFolder(prog), mine);
    EXPECT_FALSE(fs::exists(theirs));
    EXPECT_TRUE(fs::exists(living));
    EXPECT_TRUE(fs::exists(elsewhere));
    RemoveInstanceTempFolder(prog);
}
