// The application object: each owner holds its own state, two applications
// share none, and a redraw run through it speaks with its words.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/instance_folder.h"
#include "shell/application.h"
#include "shell/user_folders.h"
#include "shell_test_util.h"
#include "support/fake_redraw_host.h"

namespace pelmar {
namespace {

using test::Scratch;
using test::TestWord;
using test::TranslationBytes;
using test::WriteBytes;

TEST(Application, OwnsItsStateAndSharesNoneWithAnother) {
    Scratch s;
    const std::string progA = s.folder("a"), progB = s.folder("b");
    s.folder("a/Translation");
    WriteBytes(progA + "Translation/Test.trs", TranslationBytes(LastWordLine, TestWord));
    Application a({progA, {}, {}}), b({progB, {}, {}});
    std::vector<std::string> messages;
    a.showMessage = [&](const std::string& m) { messages.push_back(m); };

    // A blank document whose snapshot is an object of its own, the built-in
    // words, and the scratch metafile in the program folder.
    EXPECT_NE(a.document().Proj.get(), a.document().Drawing.DrawProj.get());
    EXPECT_EQ(a.texts().word(WordNo::PlayHint), "Построить чертеж");
    // The scratch metafile lies in the instance's own folder, not in the
    // program folder's "Temp/" that all running instances share.
    const std::string meta = a.document().Drawing.MetaPath;
    EXPECT_EQ(meta, InstanceTempFolder(progA) + "MetaTemp.emf");
    EXPECT_NE(meta, progA + "Temp/MetaTemp.emf");

    // What one application does stays in it.
    a.shell().settings.LangFile = progA + "Translation/Test.trs";
    a.loadLanguage();
    a.document().Proj->Caption = "A";
    a.exports().ExportBitsPerPixel = 1;
    a.shell().DecimalSep = '.';
    EXPECT_EQ(a.texts().word(WordNo::PlayHint), "слово 265");
    EXPECT_EQ(b.texts().word(WordNo::PlayHint), "Построить чертеж");
    EXPECT_NE(b.document().Proj->Caption, "A");
    EXPECT_EQ(b.exports().ExportBitsPerPixel, 24);
    EXPECT_TRUE(messages.empty());

    // A translation that cannot be found: the message box of this
    // application only, and the built-in words.
    a.shell().settings.LangFile = progA + "Translation/Missing.trs";
    a.loadLanguage();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Missing.trs"), std::string::npos);
    EXPECT_EQ(a.shell().settings.LangFile, "Translation/Russian");
    EXPECT_EQ(a.texts().word(WordNo::PlayHint), "Построить чертеж");

    // A full redraw through the application's texts and a window's other
    // roles: the caption's time and the play hint use its words and
    // separator; the snapshot is the document's.
    FakeRedrawHost window;
    window.words.clear();
    a.document().Proj->Im.Width = 120;
    a.document().Proj->Im.Height = 80;
    int tick = 0;
    a.document().Drawing.Clock = [&] { return std::int64_t{1500} * tick++; };
    a.document().repaint({a.texts(), window, window, window, window}, true);
    EXPECT_EQ(window.caption, "Рисунок (Растровое)  1.5 сек.");
    EXPECT_EQ(window.playHint, "Построить чертеж");
    EXPECT_EQ(a.document().Drawing.DrawProj->Caption, "A");
    EXPECT_EQ(a.document().Drawing.DrawBitmap.size(), QSize(120, 80));
    EXPECT_FALSE(a.document().Drawing.Running);
    EXPECT_TRUE(b.document().Drawing.DrawBitmap.isNull());
}

// A file dialog starts in the folder used last unless that is missing or
// the program's own (its folder, Temp/, the shipped files, however spelled);
// then in the documents folder.
TEST(StartFolder, NeverTheProgramsOwnFolders) {
    Scratch s;
    const std::string prog = s.folder("prog"), shipped = s.folder("share/pelmar"), docs = s.folder("docs");
    s.folder("prog/Temp");
    const OwnFolders own{prog, {shipped}, docs};
    const std::pair<std::string, std::string> cases[] = {
        {prog, docs},
        {prog + "Temp/", docs},
        {s.path("prog/Temp"), docs},
        {s.path("docs/../prog/Temp/"), docs},
        {shipped, docs},
        {s.path("missing/"), docs},
        {"", docs},
        {s.folder("lessons"), s.path("lessons/")},
        {s.path("lessons"), s.path("lessons/")},
        {s.folder("prog2"), s.path("prog2/")},  // a name that only begins like the program folder
        {s.folder("share"), s.path("share/")},
    };
    for (const auto& [wanted, start] : cases) EXPECT_EQ(StartFolder(own, wanted), start) << wanted;
    EXPECT_EQ(ProposedFile(docs, "task.pel", ".pdf"), docs + "task.pdf");
    EXPECT_EQ(ProposedFile(s.path("x"), "Новый.проект.pel", ""), s.path("x/Новый.проект"));
    EXPECT_EQ(ProposedFile(docs, ".pel", ".pdf"), docs + ".pel.pdf");
}

}  // namespace
}  // namespace pelmar
