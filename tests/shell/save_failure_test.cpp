// Saves that fail, in the real program: a document saved as, a default set
// saved from its dialog, the undo snapshot a change takes and a picture
// exported, each over an old file in a read-only folder (as a user who is
// not root), at a name whose folder is a file, at a name a folder with files
// holds, and over an old file while files may not grow (as on a full disk;
// a size limit holds for root too).  Each is said once, with the file
// the user knows and the reason in the interface's language, and the old
// file stays whole.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QTest>

#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>

#include <sys/resource.h>
#include <sys/stat.h>

#include "editing/editing_state.h"
#include "editing/undo_store.h"
#include "support/no_read_override.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;
namespace fs = std::filesystem;

namespace {

// Save As answered with a chosen name, and yes to replacing a file.
struct SfQuestions : QuietQuestions {
    std::string saveName;
    bool askYesNo(const std::string&) override { return true; }
    std::string chooseSaveFile(const std::string&, const std::string&, bool) override { return saveName; }
};

// While it lives, no file of this process grows past `bytes`: a write past
// it fails with EFBIG, as one fails on a full disk.
struct SfSizeLimit {
    rlimit old{};
    void (*oldHandler)(int) = nullptr;
    explicit SfSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit now = old;
        now.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &now);
    }
    ~SfSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
};

// How the target of a save is made unwritable.
enum class SfBlock { ReadOnlyFolder, ParentIsFile, FolderAtName, NoRoomToGrow };

struct SfTarget {
    const char* what;
    // The file the save writes, once the session is up.
    std::function<std::string(WindowSession&, SfQuestions&)> file;
    // The save, as the user asks for it.
    std::function<void(WindowSession&, SfQuestions&, const std::string& file)> save;
};

void SfMenu(WindowSession& s, MainCommand c) { s.w->menuAction(c)->trigger(); }

std::vector<SfTarget> SfTargets() {
    return {
        {"document saved as", [](WindowSession& s, SfQuestions&) { return s.dir.path("work/drawing.pel"); },
         [](WindowSession& s, SfQuestions& q, const std::string& file) {
             q.saveName = file;
             SfMenu(s, MainCommand::SaveAs);
         }},
        {"default set",
         [](WindowSession& s, SfQuestions&) { return s.prog() + "DefaultSet/DePoint.set"; },
         [](WindowSession& s, SfQuestions&, const std::string&) {
             QWidget* po = s.open(Kind::po);
             ASSERT_TRUE(po);
             QTest::mouseClick(po->findChild<QPushButton*>("ButtonPSave"), Qt::LeftButton);
         }},
        {"undo snapshot",
         [](WindowSession& s, SfQuestions&) { return UndoFileName(s.w->editing().UndoFolder, s.w->editing().UndoPos); },
         [](WindowSession& s, SfQuestions&, const std::string&) { SfMenu(s, MainCommand::NewPo); }},
        {"picture export",
         [](WindowSession& s, SfQuestions&) { return s.dir.path("work/picture.png"); },
         [](WindowSession& s, SfQuestions&, const std::string& file) {
             s.exporter.chosenName = file;
             s.exporter.chosenFilter = 4;
             SfMenu(s, MainCommand::Export);
         }},
    };
}

// What the reason of each block reads, in Russian and in English.
struct SfReason {
    SfBlock block;
    const char* russian;
    const char* english;
};
constexpr SfReason SfReasons[] = {
    {SfBlock::ReadOnlyFolder, "нет прав на запись", "permission denied"},
    {SfBlock::ParentIsFile, "часть пути не папка", "a part of the path is not a folder"},
    {SfBlock::FolderAtName, "на месте файла папка", "a folder stands in the file's place"},
    {SfBlock::NoRoomToGrow, "файл слишком велик", "the file is too large"},
};

}  // namespace

TEST(SaveFailures, SayTheFileAndWhyAndLeaveTheOldFile) {
    const std::string english = WindowSession::shipped() + "Translation/English.trs";
    for (const SfTarget& target : SfTargets())
        for (const SfReason& reason : SfReasons)
            for (const bool inEnglish : {false, true}) {
                // Both languages for the document, Russian for the rest.
                if (inEnglish && std::string(target.what) != "document saved as") continue;
                SCOPED_TRACE(std::string(target.what) + ", " + reason.english + (inEnglish ? ", English" : ""));
                WindowSession s;
                SfQuestions q;
                q.counts[Slot(Kind::po)] = 1;
                StartNew(s, q);
                if (inEnglish) {
                    ASSERT_TRUE(s.app->shell().words.LoadWords(english));
                }
                s.dir.folder("work");
                const std::string file = target.file(s, q);
                const fs::path folder = fs::path(file).parent_path();
                fs::create_directories(folder);
                const std::string old = "the old file, kept whole\n";
                switch (reason.block) {
                    case SfBlock::ParentIsFile:
                        fs::remove_all(folder);
                        WriteBytes(folder.string(), old);
                        break;
                    case SfBlock::FolderAtName:
                        fs::create_directories(file);
                        WriteBytes(file + "/inside", old);
                        break;
                    case SfBlock::ReadOnlyFolder:
                    case SfBlock::NoRoomToGrow: WriteBytes(file, old); break;
                }
                if (reason.block == SfBlock::ReadOnlyFolder) fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
                q.messages.clear();
                {
                    std::optional<SfSizeLimit> limit;
                    std::optional<NoReadOverride> asAUser;  // root writes in any folder
                    if (reason.block == SfBlock::NoRoomToGrow) limit.emplace(old.size() + 8);
                    if (reason.block == SfBlock::ReadOnlyFolder) asAUser.emplace();
                    target.save(s, q, file);
                }
                if (reason.block == SfBlock::ReadOnlyFolder) fs::permissions(folder, fs::perms::owner_all);
                ASSERT_EQ(q.messages.size(), 1u);
                const std::string& said = q.messages[0];
                EXPECT_NE(said.find(file + ": " + (inEnglish ? reason.english : reason.russian)), std::string::npos)
                    << said;
                EXPECT_EQ(said.find("/."), std::string::npos) << "a hidden temporary file named: " << said;
                const std::string kept = reason.block == SfBlock::ParentIsFile   ? folder.string()
                                         : reason.block == SfBlock::FolderAtName ? file + "/inside"
                                                                                 : file;
                EXPECT_EQ(ReadBytes(kept), old);
                for (const auto& e : fs::directory_iterator(reason.block == SfBlock::ParentIsFile ? folder.parent_path() : folder))
                    EXPECT_EQ(e.path().filename().string().rfind(".", 0), std::string::npos) << "left behind: " << e.path();
                SetChanged(s.w->editing(), false);
                s.stop();
            }
}

// A default set saved over one that could not be read (mode 000) gets the
// permissions of a new file, so that the next «Загрузить» reads it; a
// document keeps those its owner gave it.
TEST(SaveFailures, ADefaultSetGetsTheUsersOrdinaryPermissions) {
    WindowSession s;
    SfQuestions q;
    q.counts[Slot(Kind::po)] = 1;
    StartNew(s, q);
    const std::string set = s.prog() + "DefaultSet/DePoint.set", doc = s.dir.path("mine.pel");
    fs::create_directories(s.prog() + "DefaultSet");
    WriteBytes(set, "unreadable");
    WriteBytes(doc, "a document");
    ::chmod(set.c_str(), 0);
    ::chmod(doc.c_str(), 0600);
    QWidget* po = s.open(Kind::po);
    ASSERT_TRUE(po);
    QTest::mouseClick(po->findChild<QPushButton*>("ButtonPSave"), Qt::LeftButton);
    q.saveName = doc;
    SfMenu(s, MainCommand::SaveAs);
    EXPECT_TRUE(q.messages.empty()) << q.messages.front();
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat st {};
    ASSERT_EQ(::stat(set.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666 & ~mask);
    ASSERT_EQ(::stat(doc.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    SetChanged(s.w->editing(), false);
    s.stop();
}
