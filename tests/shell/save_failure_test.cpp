// Saves that fail, in the real program: a document saved as, a default set,
// the undo snapshot a change takes and a picture exported, each over an old
// file in a read-only folder (as a user who is not root), at a name whose
// folder is a file, at a name a folder with files holds, and over an old file
// while files may not grow (as on a full disk).  Each is said once, with the
// file the user knows and the reason in the interface's language, and the old
// file stays whole.
#include <gtest/gtest.h>

#include <QPushButton>
#include <csignal>
#include <filesystem>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

#include "editing/clipboard.h"
#include "editing/undo_store.h"
#include "shell/program_options.h"
#include "shell/settings.h"
#include "shell/user_folders.h"
#include <QSettings>
#include "support/no_read_override.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;
namespace fs = std::filesystem;

namespace {

struct SfSitting : WindowSession {
    struct : QuietQuestions {
        std::string saveName;
        bool askYesNo(const std::string&) override { return true; }
        std::string chooseSaveFile(const std::string&, const std::string&, bool) override { return saveName; }
    } q;
    SfSitting() {
        q.counts[Slot(Kind::po)] = 1;
        StartNew(*this, q);
    }
    ~SfSitting() {
        if (w) SetChanged(w->editing(), false);
        stop();
    }
    void run(MainCommand c) { w->menuAction(c)->trigger(); }
    void saveSet() {
        QWidget* po = open(Kind::po);
        ASSERT_TRUE(po);
        QTest::mouseClick(po->findChild<QPushButton*>("ButtonPSave"), Qt::LeftButton);
    }
};

// While it lives, a write past `bytes` fails with EFBIG (a limit that holds
// for root too).
struct SfSizeLimit {
    rlimit old{};
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    explicit SfSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old);
        const rlimit now{bytes, old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &now);
    }
    ~SfSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old), std::signal(SIGXFSZ, oldHandler); }
};

// The file a save writes (the name chosen where the user chooses it), and the save.
struct SfTarget {
    const char* what;
    std::string (*file)(SfSitting&);
    void (*save)(SfSitting&);
};
const SfTarget SfTargets[] = {
    {"document saved as", [](SfSitting& s) { return s.q.saveName = s.dir.path("work/drawing.pel"); },
     [](SfSitting& s) { s.run(MainCommand::SaveAs); }},
    {"default set", [](SfSitting& s) { return s.prog() + "DefaultSet/DePoint.set"; },
     [](SfSitting& s) { s.saveSet(); }},
    {"undo snapshot", [](SfSitting& s) { return UndoFileName(s.w->editing().UndoFolder, s.w->editing().UndoPos); },
     [](SfSitting& s) { s.run(MainCommand::NewPo); }},
    {"picture export", [](SfSitting& s) { return s.exporter.chosenName = s.dir.path("work/picture.png"); },
     [](SfSitting& s) { s.exporter.chosenFilter = 4, s.run(MainCommand::Export); }},
};

// How the file is kept from being written, and the reason said in Russian and English.
enum SfBlock { SfReadOnlyFolder, SfParentIsFile, SfFolderAtName, SfNoRoomToGrow };
constexpr std::pair<const char*, const char*> SfReasons[] = {
    {"нет прав на запись", "permission denied"},
    {"часть пути не папка", "a part of the path is not a folder"},
    {"на месте файла папка", "a folder stands in the file's place"},
    {"файл слишком велик", "the file is too large"},
};

}  // namespace

TEST(SaveFailures, SayTheFileAndWhyAndLeaveTheOldFile) {
    for (const SfTarget& target : SfTargets)
        for (const SfBlock block : {SfReadOnlyFolder, SfParentIsFile, SfFolderAtName, SfNoRoomToGrow})
            for (const bool inEnglish : {false, true}) {  // English for the document only
                if (inEnglish && &target != &SfTargets[0]) continue;
                const auto [russian, english] = SfReasons[block];
                SCOPED_TRACE(std::string(target.what) + ", " + english + (inEnglish ? ", English" : ""));
                SfSitting s;
                ASSERT_TRUE(!inEnglish || s.app->shell().words.LoadWords(s.shipped() + "Translation/English.trs"));
                s.dir.folder("work");
                const std::string file = target.file(s), old = "the old file, kept whole\n";
                const fs::path folder = fs::path(file).parent_path();
                fs::create_directories(folder);
                const bool parentIsFile = block == SfParentIsFile, atFolder = block == SfFolderAtName;
                const std::string kept = parentIsFile ? folder.string() : atFolder ? file + "/inside" : file;
                if (parentIsFile) fs::remove_all(folder);
                if (atFolder) fs::create_directories(file);
                WriteBytes(kept, old);
                const bool readOnly = block == SfReadOnlyFolder;
                if (readOnly) fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
                s.q.messages.clear();
                {
                    std::optional<SfSizeLimit> limit;
                    std::optional<NoReadOverride> asAUser;  // root writes in any folder
                    if (block == SfNoRoomToGrow) limit.emplace(old.size() + 8);
                    if (readOnly) asAUser.emplace();
                    target.save(s);
                }
                if (readOnly) fs::permissions(folder, fs::perms::owner_all);
                ASSERT_EQ(s.q.messages.size(), 1u);
                const std::string& said = s.q.messages[0];
                EXPECT_NE(said.find(file + ": " + (inEnglish ? english : russian)), std::string::npos)
                    << said;
                EXPECT_EQ(said.find("/."), std::string::npos) << "a hidden temporary file named: " << said;
                EXPECT_EQ(ReadBytes(kept), old);
                for (const auto& e : fs::directory_iterator(parentIsFile ? folder.parent_path() : folder))
                    EXPECT_NE(e.path().filename().string()[0], '.') << "left behind: " << e.path();
            }
}

// A default set saved over one that could not be read (mode 000) gets the
// permissions of a new file, so that the next «Загрузить» reads it; a
// document keeps those its owner gave it.
TEST(SaveFailures, ADefaultSetGetsTheUsersOrdinaryPermissions) {
    SfSitting s;
    const std::string set = s.prog() + "DefaultSet/DePoint.set", doc = s.dir.path("mine.pel");
    fs::create_directories(s.prog() + "DefaultSet");
    WriteBytes(set, "unreadable");
    WriteBytes(doc, "a document");
    ::chmod(set.c_str(), 0);
    ::chmod(doc.c_str(), 0600);
    s.saveSet();
    s.q.saveName = doc;
    s.run(MainCommand::SaveAs);
    EXPECT_TRUE(s.q.messages.empty()) << s.q.messages.front();
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(fs::status(set).permissions(), fs::perms(0666 & ~mask));
    EXPECT_EQ(fs::status(doc).permissions(), fs::perms(0600));
}

// A file the program cannot use is said with its name and why, in the interface's language.
TEST(SaveFailures, AFileThatCannotBeUsedIsSaidWithItsNameAndWhy) {
    const std::string doc = ReadBytes(std::string(PELMAR_TEST_DATA) + "/doc_small.pel"), cut = doc.substr(0, doc.size() / 2);
    const struct { const char *what, *file, *why; void (*act)(SfSitting&); } rows[] = {  // file: in the program folder
        {"a cut document opened", "cut.pel", "файл поврежден", [](SfSitting& s) { s.run(MainCommand::Open); }},
        {"a damaged clipboard file pasted", "Temp/ClipBoard.pel", "файл поврежден", [](SfSitting& s) { PasteObjects(s.w->editing()); }},
        {"the settings written at the end", "Pelmar.set", "на месте файла папка", [](SfSitting& s) { s.app->shell().settings.UndoSteps = 60, s.stop(); }},
        {"a help page of the user's beyond any page's size", "Pelmar.html", "Показана поставляемая справка", [](SfSitting& s) { s.run(MainCommand::Help); }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        SfSitting s;
        const std::string file = s.q.openName = s.prog() + r.file;
        if (r.file == std::string("Pelmar.set")) fs::create_directories(file + "/in the way");
        else WriteBytes(file, r.file == std::string("Pelmar.html") ? std::string(17 << 20, ' ') : cut);
        r.act(s);
        const auto& said = s.q.messages;
        EXPECT_TRUE(std::any_of(said.begin(), said.end(), [&](const std::string& m) { return m.find(file) != m.npos && m.find(r.why) != m.npos; }))
            << (said.empty() ? "nothing said" : said.back());
    }
}

// A link at a name the program writes, to a file of the user's: the save replaces the link and
// leaves the user's file as it was.
TEST(SaveFailures, ALinkAtAWrittenNameIsReplacedNeverWrittenThrough) {
    const auto print = [](SfSitting& s) {
        struct : PrintHost {
            std::vector<std::string> printerNames() override { return {}; }
            bool choosePrinter(QPrinter&) override { return true; }
        } toFile;
        QImage picture(96, 48, QImage::Format_RGB32);
        picture.fill(Qt::white);
        EXPECT_TRUE(PrintPicture({&*s.w->editing().Proj, 96, 48, "", s.dir.path("work/printed.pdf"), PaintImage(picture)}, toFile));
    };
    const auto associate = [](SfSitting& s) { std::string e; RegisterFileType(s.dir.path("bin/pelmar"), e); };
    const struct { const char* what; std::string (*name)(SfSitting&); void (*save)(SfSitting&); } rows[] = {
        {"settings", [](SfSitting& s) { return s.prog() + SettingsFileName; }, [](SfSitting& s) { s.app->shell().settings.UndoSteps = 60, s.stop(); }},
        {"default set", [](SfSitting& s) { return s.prog() + "DefaultSet/DePoint.set"; }, [](SfSitting& s) { s.saveSet(); }},
        {"undo snapshot", [](SfSitting& s) { return UndoFileName(s.w->editing().UndoFolder, s.w->editing().UndoPos); }, [](SfSitting& s) { s.run(MainCommand::NewPo); }},
        {"clipboard file", [](SfSitting& s) { return s.prog() + "Temp/ClipBoard.pel"; },
         [](SfSitting& s) { QTimer::singleShot(0, [] { QTest::mouseClick(QApplication::activeModalWidget()->findChild<QWidget*>("Button1"), Qt::LeftButton); }), CopyObjects(s.w->editing()); }},
        {"MIME file", [](SfSitting& s) { return s.dir.path("data/mime/packages/pelmar.xml"); }, associate},
        {"desktop entry", [](SfSitting& s) { return s.dir.path("data/applications/pelmar.desktop"); }, associate},
        {"printed PDF file", [](SfSitting& s) { return s.dir.path("work/printed.pdf"); }, print},
        {"file dialogs' settings", [](SfSitting& s) { return s.dir.path("config/QtProject.conf"); },
         [](SfSitting& s) { KeepQtSettingsReadable(s.prog() + "Temp/"), QSettings(QSettings::UserScope, QStringLiteral("QtProject")).setValue(QStringLiteral("FileDialog/history"), "/tmp"); }},
    };
    EnvGuard data("XDG_DATA_HOME"), config("XDG_CONFIG_HOME");
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        SfSitting s;
        data.Set(s.dir.path("data").c_str());
        config.Set(s.dir.path("config").c_str());
        const std::string name = r.name(s), mine = s.dir.path("mine.txt");
        WriteBytes(mine, "the user's own file\n");
        fs::create_directories(fs::path(name).parent_path());
        fs::remove(name);
        fs::create_symlink(mine, name);
        r.save(s);
        EXPECT_EQ(ReadBytes(mine), "the user's own file\n");
        EXPECT_FALSE(fs::is_symlink(name)) << "the link is left";
    }
}
