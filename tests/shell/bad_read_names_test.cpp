// Every name the program reads, with something there that is no file of the
// program's: each is refused with a word or taken as missing; none makes the
// program wait, end or fill the memory, none is written over (a cached copy of
// the built-in files is put right instead).  Each read runs in a watched child.
#include <gtest/gtest.h>

#include <QSettings>

#include <filesystem>
#include <fstream>
#include <iostream>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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
#include "support/watched_child.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;
namespace fs = std::filesystem;

namespace {

enum class Bad { Folder, Pipe, EndlessDevice, Huge, NoPermission };
const char* const BadNames[] = {"a folder", "a named pipe", "a link to /dev/zero", "a file of 1 GB", "a file without permission"};

// Run as root, a reader that wrongly writes through a link could replace
// /dev/zero itself: root's links point to a zero device of its own.
std::string EndlessDevice(const std::string& scratch) {
    if (::geteuid() != 0) return "/dev/zero";
    const std::string own = scratch + "zero";
    if (::mknod(own.c_str(), S_IFCHR | 0666, makedev(1, 5)) != 0 && errno != EEXIST) return {};
    std::ifstream in(own, std::ios::binary);
    return in.get() == 0 ? own : std::string();
}

void MakeBad(const std::string& name, Bad b, const std::string& ownBytes, const std::string& endless) {
    fs::create_directories(fs::path(name).parent_path());
    std::error_code ec;
    fs::remove_all(name, ec);
    if (b == Bad::Folder) fs::create_directory(name);
    else if (b == Bad::Pipe) { ASSERT_EQ(::mkfifo(name.c_str(), 0644), 0); }
    else if (b == Bad::EndlessDevice) fs::create_symlink(endless, name);
    else WriteBytes(name, ownBytes);
    if (b == Bad::Huge) { ASSERT_EQ(::truncate(name.c_str(), (off_t{1} << 30) + 1), 0); }  // sparse: no disk taken
    if (b == Bad::NoPermission) fs::permissions(name, fs::perms::none);
}

// A name's kind; for a file its size, time and mode, for a link its target.
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

// The memory a read may take over what the program held before it.
constexpr std::uint64_t ReadMemoryKb = 256 << 10;

// Runs `read` in a watched child process, as a user who is not root whoever
// runs the tests: "" when it said "" within 10 s with its memory bounded, else
// what went wrong.
std::string Watched(const std::function<std::string()>& read) {
    return RunWatched(
        [&] {
            NoReadOverride asAUser;
            return read();
        },
        10, ReadMemoryKb);
}

std::string Contains(const std::vector<std::string>& messages, const std::string& name) {
    for (const std::string& m : messages)
        if (m.find(name) != std::string::npos) return {};
    return messages.empty() ? "nothing said" : "said without the file: " + messages.back();
}

// A name the program reads, the bytes of a good file there, and how the
// program reads it: "" when it did as it should.
struct ReadName {
    const char* what;
    std::string name, ownBytes;
    std::function<std::string()> read;
    bool putRight = false;  // a cached copy: made good again
};

}  // namespace

TEST(BadReadNames, EachIsRefusedOrMissingWithoutWaitingEndingOrFillingTheMemory) {
    WindowSession s;
    const std::string prog = s.prog(), docs = s.dir.folder("docs"), config = s.dir.folder("config");
    const std::string doc = ReadBytes(std::string(PELMAR_TEST_DATA) + "/doc_small.pel");
    WriteBytes(docs + "a.pel", doc);
    s.start();
    ASSERT_TRUE(s.w->menuAction(MainCommand::New)->isEnabled());
    QuietQuestions& q = s.answers;
    EditingState& st = s.w->editing();
    const auto open = [&](const std::string& f) { q.messages.clear(); q.openName = f; s.w->menuAction(MainCommand::Open)->trigger(); };
    const auto opensQuietly = [&] { open(docs + "a.pel"); return q.messages.empty() ? "" : "opened with " + q.messages[0]; };
    const auto objects = [&st] { return st.Proj->Obj.count(Kind::po) + st.Proj->Obj.count(Kind::li); };
    const auto settings = [&] { Settings got = StartSettings(prog); ReadSettings(prog, got, s.shippedDirs); return SettingsText(got); };
    const auto cdr = [&] { return CdrSettingsBytes(ReadCdrSettings(prog).values); };
    const std::string missingSettings = settings(), missingCdr = cdr(), curves = "*Pel19 Curves File*\r\n";
    const std::string cache = s.dir.folder("cache"), cached = UnpackBuiltInFiles(cache);
    ASSERT_FALSE(cached.empty());
    const std::string shippedSet = ReadBytes(cached + "DefaultSet/DePoint.set");

    // Qt's settings read as a file dialog reads them, after the check.
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    KeepQtSettingsReadable(prog + "Temp/");  // the start, with nothing there
    const auto qtSettings = [](const std::string& scratch) -> std::string {
        KeepQtSettingsReadable(scratch);
        const QSettings qt(QSettings::UserScope, QStringLiteral("QtProject"));
        return qt.value(QStringLiteral("FileDialog/history")).toString() == QStringLiteral("/home") ? "read" : "";
    };
    std::vector<ReadName> rows = {
        {"document", docs + "bad.pel", doc, [&] { open(docs + "bad.pel"); return Contains(q.messages, docs + "bad.pel"); }},
        {"curves companion", docs + "a.cur", curves, opensQuietly},
        {"fill picture", docs + "a.grd.png", "\x89PNG", opensQuietly},
        {"clipboard file", prog + "Temp/ClipBoard.pel", doc,
         [&] { const auto n = objects(); PasteObjects(st); return std::string(objects() == n ? "" : "pasted"); }},
        {"clipboard curves", prog + "Temp/ClipBoard.cur", curves,
         [&] { WriteBytes(prog + "Temp/ClipBoard.pel", doc); PasteObjects(st); return std::string(); }},
        {"default set", prog + "DefaultSet/DePoint.set", shippedSet,
         [&]() -> std::string {  // refused with a word, or the shipped set in its place
             q.messages.clear();
             DPoint working;
             working.Name.s = "mine";
             const bool loaded = LoadDefaultSet<DPoint>(s.w->dialogSession().registry(), Kind::po, working, {});
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
         [&]() -> std::string {  // read as the help window reads it: a forked child lays out no text
             const std::string page = HelpPage(prog, s.shippedDirs, "rus");
             bool ok = false;
             const auto n = ReadHelpFile(QString::fromStdString(page), &ok).size();
             if (page != prog + "Pelmar.html") return ok ? "" : "the shipped page not read";
             return ok ? "read " + std::to_string(n) + " bytes" : "";
         }},
        {"background picture", docs + "back.jpg", "\xFF\xD8\xFF", [&] {
             QImage p;
             return std::string(ReadBackgroundPicture(docs + "back.jpg", p).read == BackgroundRead::Loaded ? "loaded" : "");
         }},
        // Read by their lines up to a cap: a huge one holds nothing but zeros here.
        {"translation", prog + "Translation/English.trs", "", [&] {
             WordTable w;
             return std::string(w.LoadWordsFile(prog + "Translation/English.trs") == WordsLoad::Ok ? "read" : "");
         }},
        {"settings", prog + SettingsFileName, "", [&] { return std::string(settings() == missingSettings ? "" : "read"); }},
        {"export options", ReadCdrSettings(prog).file, "", [&] { return std::string(cdr() == missingCdr ? "" : "read"); }},
        {"file dialogs' settings", config + "QtProject.conf", "[FileDialog]\nhistory=/home\n",
         [&] { return qtSettings(prog + "Temp/"); }},
        // Checked again before each file dialog, with the folder of the start.
        {"file dialogs' settings put there after the start", config + "QtProject.conf", "[FileDialog]\nhistory=/home\n",
         [&] { return qtSettings({}); }},
    };

    const std::string endless = EndlessDevice(s.dir.folder("dev"));
    if (endless.empty()) std::cout << "No zero device of the test's own: no links to one.\n";
    for (ReadName& r : rows)
        for (int k = 0; k < 5; ++k) {
            const Bad b = static_cast<Bad>(k);
            if (b == Bad::EndlessDevice && endless.empty()) continue;
            SCOPED_TRACE(std::string(r.what) + " as " + BadNames[k]);
            MakeBad(r.name, b, r.ownBytes, endless);
            const std::string before = Look(r.name);
            const bool user = b == Bad::NoPermission;
            EXPECT_EQ(Watched([&] { return user && ::open(r.name.c_str(), O_RDONLY) >= 0 ? "the file is read" : r.read(); }), "");
            const std::string after = Look(r.name);
            if (!r.putRight || b == Bad::Folder) EXPECT_EQ(after, before) << "written over";
            else if (after.rfind("file " + std::to_string(r.ownBytes.size()) + " ", 0) == 0) EXPECT_EQ(ReadBytes(r.name), r.ownBytes);
            else ADD_FAILURE() << "not put right: " << after;
            std::error_code ec;
            fs::remove_all(r.name, ec);
        }
    s.stop();
}
