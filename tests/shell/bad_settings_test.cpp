// Settings files that are there but bad: one that cannot be read, an empty
// one, one too long, one with junk after its lines, a damaged one, and a side
// file that cannot be read.  The session gets the shipped defaults with every
// line that reads well, is told once when its settings cannot be kept, and
// leaves the files as they were when it ends; so does the program itself,
// started as a user who is not root.
#include <gtest/gtest.h>

#include <QAction>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <filesystem>
#include <map>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "editing/editing_state.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "support/no_read_override.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;
namespace fs = std::filesystem;

namespace {

// What the shipped "Pelmar.set" gives a user.
Settings ShippedDefaults(const std::string& prog) {
    Settings s = StartSettings(prog);
    s.MoveColor = DefaultMoveColor, s.ShapeColor = DefaultShapeColor;
    s.UndoOn = true, s.UndoSteps = 50;
    s.ShowTB.fill(true);
    s.LangFile = prog + "Translation/Russian";
    return s;
}

// A user's settings, every value away from the shipped one.
Settings UsersOwn(const std::string& prog) {
    Settings s = StartSettings(prog);
    s.DocDir = "/home/t/docs/";
    s.MoveColor = 0x00FF00, s.ShapeColor = 0x00FFFF;
    s.UndoOn = false, s.UndoSteps = 120;
    s.ShowTB = {true, false, false, false, false, false, false, false};
    s.RecentFiles[0] = "/home/t/docs/a.pel";
    s.OwnDialogs = true;
    s.LangFile = prog + "Translation/English.trs";
    return s;
}

int Mode(const std::string& file) {
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

// The files of a folder: the bytes and the mode of each.
std::map<std::string, std::pair<std::string, int>> Files(const std::string& folder) {
    std::map<std::string, std::pair<std::string, int>> files;
    for (const auto& f : fs::directory_iterator(folder)) {
        if (!f.is_regular_file()) continue;
        const int mode = Mode(f.path());
        fs::permissions(f.path(), fs::perms::owner_read, fs::perm_options::add);
        files[f.path().string()] = {ReadBytes(f.path()), mode};
        fs::permissions(f.path(), static_cast<fs::perms>(mode));
    }
    return files;
}

// The bad files, what the session gets of them and, for those that cannot be
// read, the file said and the reason, in the words of the session.
struct BadFiles {
    const char* what;
    std::function<void(const std::string& prog)> make;
    std::function<Settings(const std::string& prog)> expected;
    const char* unreadable = "";
    const char* reason = "";
    bool damaged = false;  // said at the start, and kept beside before it is replaced
};

std::vector<BadFiles> Rows() {
    const auto own = [](const std::string& prog) { return SettingsText(UsersOwn(prog)); };
    const auto write = [](const std::string& prog, const std::string& bytes) { WriteBytes(prog + SettingsFileName, bytes); };
    return {
        {"no permission",
         [=](const std::string& p) {
             write(p, own(p));
             fs::permissions(p + SettingsFileName, fs::perms::none);
         },
         ShippedDefaults, SettingsFileName, "нет прав на чтение"},
        {"empty", [=](const std::string& p) { write(p, ""); }, ShippedDefaults},
        {"junk appended", [=](const std::string& p) { write(p, own(p) + Junk(100)); }, UsersOwn},
        {"over the size limit", [=](const std::string& p) { write(p, own(p) + Junk(300 << 10)); }, UsersOwn},
        {"damaged and short",
         [=](const std::string& p) {
             std::string bytes = own(p);
             bytes.replace(bytes.find("000255000"), 9, "0002x5000");  // a colour that is no number
             bytes.replace(bytes.find("\xEB" "0120"), 1, "?");       // neither switch letter
             bytes.replace(bytes.find("011111110"), 9, "0111");      // half the tool groups
             write(p, bytes.substr(0, bytes.find("No File")));         // lines 8 to 13 lost
         },
         [](const std::string& p) {
             Settings s = UsersOwn(p);
             s.MoveColor = DefaultMoveColor, s.UndoOn = true;
             s.ShowTB = {true, false, false, false, true, true, true, true};
             s.OwnDialogs = false, s.LangFile = p + "Translation/Russian";
             return s;
         },
         "", "", true},
        {"side file without permission",
         [](const std::string& p) {
             Settings s = UsersOwn(p);
             s.RecentFiles[1] = "/home/t/图.pel";  // kept in the side file only
             ASSERT_TRUE(WriteSettings(p, s));
             fs::permissions(p + SettingsPathsFileName, fs::perms::none);
         },
         [](const std::string& p) { return UsersOwn(p); }, SettingsPathsFileName, "permission denied"},
    };
}

}  // namespace

TEST(BadSettings, TheSessionRunsOnWhatReadsWellAndLeavesTheFilesAsTheyWere) {
    const std::string doc = std::string(PELMAR_TEST_DATA) + "/doc_small.pel";
    for (const BadFiles& r : Rows()) {
        SCOPED_TRACE(r.what);
        WindowSession s;
        const std::string prog = s.prog();
        r.make(prog);
        const auto before = Files(prog);
        NoReadOverride asAUser;
        if (*r.unreadable) {
            const int fd = ::open((prog + r.unreadable).c_str(), O_RDONLY);
            if (fd >= 0) ::close(fd);
            ASSERT_LT(fd, 0) << "the file can be read";
        }

        s.start();
        const Settings want = r.expected(prog);
        EXPECT_EQ(SettingsText(s.app->shell().settings), SettingsText(want));
        const EditingState& st = s.w->editing();
        EXPECT_EQ(std::make_tuple(s.w->toolAction(MainCommand::New)->isVisible(), st.UndoOn, st.MoveColor, st.ShapeColor),
                  std::make_tuple(want.ShowGroup(ToolGroup::File), want.UndoOn, want.MoveColor, want.ShapeColor));
        QTest::qWait(50);  // the notice comes once the window is up
        if (*r.unreadable) {
            const std::string said = s.answers.messages.empty() ? "" : s.answers.messages[0];
            EXPECT_NE(said.find(prog + r.unreadable + ": " + r.reason), std::string::npos) << said;
            // A session that changes its settings keeps them no more than one that does not.
            s.answers.openName = doc;
            s.w->menuAction(MainCommand::Open)->trigger();
            EXPECT_EQ(s.app->shell().settings.RecentFiles[0], doc);
        }
        s.stop();
        EXPECT_EQ(s.answers.messages.size(), *r.unreadable || r.damaged ? 1u : 0u) << "said once";
        EXPECT_TRUE(Files(prog) == before) << "a file changed";
    }
}

// The program itself, run as a user who is not root (as "nobody" when the
// tests run as root), with an unreadable, an empty and a junk-ended settings
// file: it says why it keeps no settings where it cannot read them, ends by
// File > Exit, and every file stays as it was.
TEST(BadSettings, TheProgramRunAsAUserLeavesThemAsTheyWere) {
    QStringList runAs;
    const bool root = ::geteuid() == 0;
    if (root) {
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty()) GTEST_SKIP() << "run as root, and no setpriv to run the program as another user";
        for (QFileInfo at(QStringLiteral(PELMAR_PROGRAM)); !at.isRoot(); at = QFileInfo(at.absolutePath()))
            if (!(at.permissions() & QFileDevice::ExeOther))
                GTEST_SKIP() << at.absoluteFilePath().toStdString() << " is closed to other users";
        runAs = QStringList{setpriv, "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
    }
    const std::vector<BadFiles> rows = Rows();
    for (const BadFiles& r : std::vector<BadFiles>(rows.begin(), rows.begin() + 3)) {
        SCOPED_TRACE(r.what);
        Scratch dir;
        const std::string home = dir.folder("home"), prog = dir.folder("home/data/pelmar");
        dir.folder("home/run");
        fs::permissions(home + "run", fs::perms::owner_all);
        r.make(prog);
        if (root) {
            ASSERT_EQ(::chown(dir.path("").c_str(), 65534, 65534), 0);
            for (const auto& f : fs::recursive_directory_iterator(dir.path("")))
                ASSERT_EQ(::chown(f.path().c_str(), 65534, 65534), 0);
        }
        const auto before = Files(prog);

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"HOME", "XDG_DATA_HOME data", "XDG_CACHE_HOME cache", "XDG_RUNTIME_DIR run"}) {
            const QStringList pair = QString(name).split(' ');
            env.insert(pair[0], QString::fromStdString(home) + pair.value(1));
        }
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        env.insert("PELMAR_TEST_SCRIPT", "Ok MeExit");
        p.setProcessEnvironment(env);
        const QStringList command = runAs + QStringList{QStringLiteral(PELMAR_PROGRAM)};
        p.start(command.front(), command.mid(1));
        const bool ended = p.waitForFinished(120000);
        if (!ended) p.kill(), p.waitForFinished();
        const std::string errors = p.readAllStandardError().toStdString();
        EXPECT_TRUE(ended && p.exitCode() == 0) << errors;
        const std::string said = std::string("message box answered Ok: Не могу прочитать файл настроек ") + prog +
                                 r.unreadable + ": " + r.reason;
        EXPECT_EQ(errors.find(*r.unreadable ? said : "message box") != std::string::npos, *r.unreadable != 0) << errors;
        EXPECT_TRUE(Files(prog) == before) << "a file changed";
    }
}
