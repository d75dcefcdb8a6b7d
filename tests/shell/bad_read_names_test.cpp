// Every name the program reads, with something there that is no file of the
// program's: a folder, a named pipe, a link to /dev/zero, a file larger than
// any the program writes, a file the user may not read.  Each is refused with
// a word or taken as missing; none makes the program wait, end or fill the
// memory, and none is written over (a cached copy of the built-in files is
// put right instead).  Each read runs in a child process under watch, so that
// a read that waits or aborts fails its case instead of stopping the tests.
#include <gtest/gtest.h>

#include <QSettings>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <cerrno>
#include <csignal>
#include <iostream>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include "dialogs/ui/default_set.h"
#include "editing/clipboard.h"
#include "files/word_table.h"
#include "office/export_settings.h"
#include "shell/picture_settings.h"
#include "shell/program_folder.h"
#include "shell/settings.h"
#include "shell/ui/help_window.h"
#include "shell/user_folders.h"
#include "support/no_read_override.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;
namespace fs = std::filesystem;

namespace {

enum class Bad { Folder, Pipe, EndlessDevice, Huge, NoPermission };
constexpr std::array<Bad, 5> AllBad = {Bad::Folder, Bad::Pipe, Bad::EndlessDevice, Bad::Huge, Bad::NoPermission};
const char* BadName(Bad b) {
    switch (b) {
    case Bad::Folder: return "a folder";
    case Bad::Pipe: return "a named pipe";
    case Bad::EndlessDevice: return "a link to /dev/zero";
    case Bad::Huge: return "a file of 1 GB";
    case Bad::NoPermission: return "a file without permission";
    }
    return "";
}

// Larger than anything the program writes or reads: sparse, no disk taken.
constexpr off_t HugeSize = (off_t{1} << 30) + 1;

// The endless device the links point to.  Run as root, a reader that
// wrongly writes through a link could replace /dev/zero itself: root links
// to a zero device of its own in the scratch folder instead.
std::string EndlessDevice(const std::string& scratch) {
    if (::geteuid() != 0) return "/dev/zero";
    const std::string own = scratch + "zero";
    if (::mknod(own.c_str(), S_IFCHR | 0666, makedev(1, 5)) != 0 && errno != EEXIST) return {};
    char c = 1;
    const int fd = ::open(own.c_str(), O_RDONLY);
    const bool zeros = fd >= 0 && ::read(fd, &c, 1) == 1 && c == 0;
    if (fd >= 0) ::close(fd);
    return zeros ? own : std::string();
}

void MakeBad(const std::string& name, Bad b, const std::string& ownBytes, const std::string& endless) {
    fs::create_directories(fs::path(name).parent_path());
    std::error_code ec;
    fs::remove_all(name, ec);
    switch (b) {
    case Bad::Folder: fs::create_directory(name); break;
    case Bad::Pipe: ASSERT_EQ(::mkfifo(name.c_str(), 0644), 0); break;
    case Bad::EndlessDevice: fs::create_symlink(endless, name); break;
    case Bad::Huge: {
        WriteBytes(name, ownBytes);
        ASSERT_EQ(::truncate(name.c_str(), HugeSize), 0);
        break;
    }
    case Bad::NoPermission:
        WriteBytes(name, ownBytes);
        fs::permissions(name, fs::perms::none);
        break;
    }
}

// What is at a name: its kind, and for a file its size, time and mode; for a
// link its target.
std::string Look(const std::string& name) {
    struct stat st {};
    if (::lstat(name.c_str(), &st) != 0) return "nothing";
    if (S_ISLNK(st.st_mode)) return "link to " + fs::read_symlink(name).string() + " (" + Look(fs::read_symlink(name)) + ")";
    if (S_ISCHR(st.st_mode)) return "device " + std::to_string(st.st_rdev);
    if (S_ISFIFO(st.st_mode)) return "pipe";
    if (S_ISDIR(st.st_mode)) return "folder of " + std::to_string(std::distance(fs::directory_iterator(name), {}));
    return "file " + std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) + "." +
           std::to_string(st.st_mtim.tv_nsec) + " " + std::to_string(st.st_mode & 07777);
}

std::uint64_t StatusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key, 0) == 0) return std::stoull(line.substr(std::string(key).size()));
    return 0;
}

std::uint64_t RssKbOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stoull(line.substr(6));
    return 0;
}

// The memory a read may take over what the program held before it.
constexpr std::uint64_t ReadMemoryKb = 256 << 10;

// Runs `read` in a child process: "" when it returned "" within 10 s with
// its memory bounded, else what went wrong.
std::string Watched(const std::function<std::string()>& read) {
    int out[2];
    if (::pipe(out) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child < 0) return "no child";
    if (child == 0) {
        ::close(out[0]);
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak is counted from here
        const std::uint64_t before = StatusKb("VmRSS:");
        std::string said = read();
        const std::uint64_t peak = StatusKb("VmHWM:");
        if (said.empty() && peak > before + ReadMemoryKb)
            said = "took " + std::to_string((peak - before) >> 10) + " MB";
        [[maybe_unused]] const auto n = ::write(out[1], said.data(), said.size());
        ::_exit(0);
    }
    ::close(out[1]);
    const std::uint64_t start = RssKbOf(child);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string wrong;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child) break;
        if (RssKbOf(child) > start + 2 * ReadMemoryKb) wrong = "fills the memory";
        else if (std::chrono::steady_clock::now() > until) wrong = "waits for ever";
        if (!wrong.empty()) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            ::close(out[0]);
            return wrong;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::string said;
    char buf[512];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) said.append(buf, static_cast<std::size_t>(n));
    ::close(out[0]);
    if (WIFSIGNALED(status)) return "ends the program (signal " + std::to_string(WTERMSIG(status)) + ")";
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "ends the program (exit " + std::to_string(WEXITSTATUS(status)) + ")";
    return said;
}

std::string Contains(const std::vector<std::string>& messages, const std::string& name) {
    for (const std::string& m : messages)
        if (m.find(name) != std::string::npos) return {};
    return messages.empty() ? "nothing said" : "said without the file: " + messages.back();
}

// A name the program reads, the bytes of a good file there, and how the
// program reads it; `read` gives "" when it did as it should.
struct ReadName {
    const char* what;
    std::string name;
    std::string ownBytes;
    std::function<std::string()> read;
    bool putRight = false;  // a cached copy: made good again
};

}  // namespace

TEST(BadReadNames, EachIsRefusedOrMissingWithoutWaitingEndingOrFillingTheMemory) {
    WindowSession s;
    const std::string prog = s.prog();
    const std::string docs = s.dir.folder("docs");
    const std::string doc = ReadBytes(std::string(PELMAR_TEST_DATA) + "/doc_small.pel");
    WriteBytes(docs + "a.pel", doc);
    s.start();
    ASSERT_TRUE(s.w->menuAction(MainCommand::New)->isEnabled());
    QuietQuestions& q = s.answers;
    EditingState& st = s.w->editing();
    const auto open = [&](const std::string& file) {
        q.messages.clear();
        q.openName = file;
        s.w->menuAction(MainCommand::Open)->trigger();
    };
    const auto objects = [&st] { return std::make_pair(st.Proj->Obj.count(Kind::po), st.Proj->Obj.count(Kind::li)); };

    const std::string cache = s.dir.folder("cache");
    const std::string cached = UnpackBuiltInFiles(cache);
    ASSERT_FALSE(cached.empty());
    const std::string shippedSet = ReadBytes(cached + "DefaultSet/DePoint.set");
    const std::string config = s.dir.folder("config");

    Settings missingSettings = StartSettings(prog);
    ReadSettings(prog, missingSettings, s.shippedDirs);
    const std::string missingCdr = CdrSettingsBytes(ReadCdrSettings(prog).values);

    std::vector<ReadName> rows = {
        {"document", docs + "bad.pel", doc,
         [&]() -> std::string {
             open(docs + "bad.pel");
             return Contains(q.messages, docs + "bad.pel");
         }},
        {"curves companion", docs + "a.cur", "*Pel19 Curves File*\r\n",
         [&]() -> std::string {
             open(docs + "a.pel");
             return q.messages.empty() ? "" : "opened with " + q.messages[0];
         }},
        {"fill picture", docs + "a.grd.png", "\x89PNG",
         [&]() -> std::string {
             open(docs + "a.pel");
             return q.messages.empty() ? "" : "opened with " + q.messages[0];
         }},
        {"clipboard file", prog + "Temp/ClipBoard.pel", doc,
         [&]() -> std::string {
             const auto before = objects();
             PasteObjects(st);
             return objects() == before ? "" : "pasted";
         }},
        {"clipboard curves", prog + "Temp/ClipBoard.cur", "*Pel19 Curves File*\r\n",
         [&]() -> std::string {
             WriteBytes(prog + "Temp/ClipBoard.pel", doc);
             PasteObjects(st);
             return std::string();
         }},
        {"default set", prog + "DefaultSet/DePoint.set", shippedSet,
         [&]() -> std::string {
             q.messages.clear();
             DPoint working;
             working.Name.s = "mine";
             const bool loaded = LoadDefaultSet<DPoint>(s.w->dialogSession().registry(), Kind::po, working, {});
             // Refused with a word, or the shipped set in its place.
             return loaded ? (working.Name.s == "mine" ? "loaded nothing" : "") : Contains(q.messages, "DePoint.set");
         }},
        {"cached copy", cached + "DefaultSet/DePoint.set", shippedSet,
         [&]() -> std::string {
             const std::string got = UnpackBuiltInFiles(cache);
             if (got.empty()) return fs::is_directory(cached + "DefaultSet/DePoint.set") ? "" : "no cache";
             return ReadBytes(got + "DefaultSet/DePoint.set") == shippedSet ? "" : "not put right";
         },
         true},
        {"help page", prog + "Pelmar.html", "<html><body>mine</body></html>",
         [&]() -> std::string {
             // The page the help command shows, read as its window reads it
             // (no window here: a child of a process with threads lays out
             // no text).
             const std::string page = HelpPage(prog, s.shippedDirs, "rus");
             bool ok = false;
             const QByteArray bytes = ReadHelpFile(QString::fromStdString(page), &ok);
             if (page != prog + "Pelmar.html") return ok ? "" : "the shipped page not read";
             return ok ? "read " + std::to_string(bytes.size()) + " bytes" : "";
         }},
        {"background picture", docs + "back.jpg", "\xFF\xD8\xFF",
         [&]() -> std::string {
             QImage picture;
             return ReadBackgroundPicture(docs + "back.jpg", picture).read == BackgroundRead::Loaded ? "loaded" : "";
         }},
        // The files read by their lines: a larger one is read up to a cap,
        // so that a huge one holds nothing but zeros here.
        {"translation", prog + "Translation/English.trs", "",
         [&]() -> std::string {
             WordTable words;
             return words.LoadWordsFile(prog + "Translation/English.trs") == WordsLoad::Ok ? "read" : "";
         }},
        {"settings", prog + SettingsFileName, "",
         [&]() -> std::string {
             Settings got = StartSettings(prog);
             ReadSettings(prog, got, s.shippedDirs);
             return SettingsText(got) == SettingsText(missingSettings) ? "" : "read";
         }},
        {"export options", ReadCdrSettings(prog).file, "",
         [&]() -> std::string { return CdrSettingsBytes(ReadCdrSettings(prog).values) == missingCdr ? "" : "read"; }},
        {"file dialogs' settings", config + "QtProject.conf", "[FileDialog]\nhistory=/home\n",
         [&]() -> std::string {
             setenv("XDG_CONFIG_HOME", config.c_str(), 1);
             KeepQtSettingsReadable(prog + "Temp/");
             QSettings qt(QSettings::UserScope, QStringLiteral("QtProject"));
             qt.beginGroup(QStringLiteral("FileDialog"));
             return qt.value(QStringLiteral("history")).toString() == QStringLiteral("/home") ? "read" : "";
         }},
    };

    const std::string endless = EndlessDevice(s.dir.folder("dev"));
    if (endless.empty()) std::cout << "No zero device of the test's own: no links to one.\n";
    for (ReadName& r : rows) {
        for (const Bad b : AllBad) {
            if (b == Bad::EndlessDevice && endless.empty()) continue;
            SCOPED_TRACE(std::string(r.what) + " as " + BadName(b));
            MakeBad(r.name, b, r.ownBytes, endless);
            const std::string before = Look(r.name);
            const bool user = b == Bad::NoPermission;
            const std::string wrong = Watched([&] {
                NoReadOverride asAUser;  // as a user who is not root, whoever runs the tests
                if (user) {
                    const int fd = ::open(r.name.c_str(), O_RDONLY | O_NONBLOCK);
                    if (fd >= 0) return ::close(fd), std::string("the file can be read");
                }
                return r.read();
            });
            EXPECT_EQ(wrong, "");
            const std::string after = Look(r.name);
            if (!r.putRight || b == Bad::Folder) {
                EXPECT_EQ(after, before) << "written over";
            } else if (after.rfind("file ", 0) == 0) {
                EXPECT_EQ(ReadBytes(r.name), r.ownBytes) << "not put right";
            } else {
                ADD_FAILURE() << "not put right: " << after;
            }
            std::error_code ec;
            fs::permissions(r.name, fs::perms::owner_all, fs::perm_options::add | fs::perm_options::nofollow, ec);
            fs::remove_all(r.name, ec);
        }
    }
    s.stop();
}
