// The options' logic without windows: the language list over the program
// folder and the shipped folders, the flags, the undo depth, the shipped
// English translation, and the association of ".pel" documents on the
// desktop in a scratch home.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <random>

#include "files/word_table.h"
#include "shell/program_options.h"
#include "shell_test_util.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

std::string Shipped() { return std::string(PELMAR_TEST_DATA) + "/../../share/pelmar/"; }

void Translation(const std::string& path, const std::string& l1, const std::string& l2, const std::string& name,
                 const std::string& code) {
    WriteBytes(path, TranslationBytes(6, [&](int n) -> std::string {
                   const std::string head[] = {l1, l2, name, code, "T", "D"};
                   return head[n - 1];
               }));
}

}  // namespace

TEST(LanguageList, FoldersHeadersFlagsAndTheChoice) {
    Scratch dir;
    const std::string prog = dir.folder("prog");
    const std::string own = dir.folder("prog/Translation");
    const std::string sig(TranslateSignature), ver(TranslateVersion);
    Translation(own + "Deutsch.trs", sig, ver, "Deutsch", "GERMAN");       // the first three letters count
    Translation(own + "Lower.trs", sig, ver, "Lower", "eng");               // codes are case-sensitive
    Translation(own + "Old.trs", sig, "5.0", "Old", "ENG");                 // wrong version
    Translation(own + "Alien.trs", "<Other>", ver, "Alien", "ENG");         // wrong signature
    Translation(own + "English.trs", sig, ver, "My English", "USA");        // the user's own comes first
    Translation(own + "Note.txt", sig, ver, "Not a translation", "ENG");    // not ".trs"
    const std::string shipped = dir.folder("shipped");
    dir.folder("shipped/Translation");
    Translation(shipped + "Translation/English.trs", sig, ver, "English", "ENG");
    Translation(shipped + "Translation/Svenska.trs", sig, ver, "Svenska", "SWE");

    const LanguageList list = FillLanguageList(prog, {shipped}, prog + "Translation/Svenska.trs");
    std::vector<std::tuple<std::string, std::string, int>> got;
    for (const LanguageEntry& e : list.entries) got.emplace_back(e.file, e.name, e.flag);
    EXPECT_EQ(got, (std::vector<std::tuple<std::string, std::string, int>>{{"Russian", "Include Russian", 0},
                                                                             {"Deutsch.trs", "Deutsch", 3},
                                                                             {"English.trs", "My English", 2},
                                                                             {"Lower.trs", "Lower", 13},
                                                                             {"Svenska.trs", "Svenska", 10}}));
    // A shipped file is chosen under the program folder's name, where the
    // loader looks for it first.
    EXPECT_EQ(list.selected, 4);
    EXPECT_EQ(LangFileOf(prog, list.entries[4]), prog + "Translation/Svenska.trs");
    // A file no longer there, the built-in texts and no settings at all:
    // the first entry.
    for (const std::string& lang : {prog + "Translation/Gone.trs", std::string("Translation/Russian"), std::string()})
        EXPECT_EQ(FillLanguageList(prog, {shipped}, lang).selected, 0) << lang;

    // A fresh machine lists Russian and the shipped English.
    const LanguageList fresh = FillLanguageList(dir.folder("empty"), {Shipped()}, "");
    ASSERT_EQ(fresh.entries.size(), 2u);
    EXPECT_EQ(fresh.entries[1].name, "English");
    EXPECT_EQ(fresh.entries[1].flag, 1);

    // The flags: one per code, in the codes' order, of 16 x 11 pixels, all
    // different, none using pure red (their transparent colour).
    QSet<QByteArray> distinct;
    for (int i = 0; i < static_cast<int>(LangCodes.size()); ++i) {
        EXPECT_EQ(LangCodeIndex(LangCodes[static_cast<std::size_t>(i)]), i);
        const QImage flag = FlagPicture(i);
        ASSERT_EQ(flag.size(), QSize(16, 11));
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 16; ++x) EXPECT_NE(flag.pixelColor(x, y), QColor(255, 0, 0)) << i;
        distinct.insert(QByteArray(reinterpret_cast<const char*>(flag.constBits()), flag.sizeInBytes()));
    }
    EXPECT_EQ(distinct.size(), 14);
    EXPECT_EQ(LangCodeIndex("XYZ"), 13);
    EXPECT_EQ(LangCodeIndex(""), 13);
}

TEST(UndoDepth, AlwaysTenToTwoHundredInTens) {
    std::mt19937 rng(27);
    std::uniform_int_distribution<int> any(-100000, 100000);
    for (int i = 0; i < 2000; ++i) {
        const int steps = i < 400 ? i - 100 : any(rng);
        const int d = UndoDepth(steps);
        ASSERT_TRUE(d >= 10 && d <= MaxUndoSteps && d % 10 == 0) << steps << " -> " << d;
        if (steps >= 10 && steps <= MaxUndoSteps && steps % 10 == 0) {
            ASSERT_EQ(d, steps);
        }
    }
    EXPECT_EQ(UndoDepth(0), 10);
}

// Our English translation: every line of the word table, in English, with
// the header the language list asks for.
TEST(EnglishTranslation, EveryLineInEnglish) {
    const std::string file = Shipped() + "Translation/English.trs";
    TranslationHeader h;
    ASSERT_TRUE(ReadTranslationHeader(file, h));
    EXPECT_EQ(h.name, "English");
    EXPECT_EQ(h.code, "ENG");
    const std::string bytes = ReadBytes(file);
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    EXPECT_EQ(lines, static_cast<std::size_t>(LastWordLine));
    WordTable en, ru;
    ASSERT_TRUE(en.LoadWords(file));
    ru.LoadWords("");
    for (int n = FirstWordLine; n <= LastWordLine; ++n) {
        const std::string& e = en.WordLine(n);
        const std::string& r = ru.WordLine(n);
        // A word the Russian texts have is there, keeps its blanks at the
        // ends (texts are joined to others) and has no Cyrillic letter.
        EXPECT_EQ(e.empty(), r.empty()) << n;
        if (r.empty()) continue;
        EXPECT_EQ(e.front() == ' ', r.front() == ' ') << n;
        EXPECT_EQ(e.back() == ' ', r.back() == ' ') << n;
        EXPECT_EQ(QString::fromStdString(e).contains(QRegularExpression("[\\x{0400}-\\x{04FF}]")), false) << n << e;
    }
    EXPECT_EQ(en.WordLine(WordNo::FileChanged), "The file has been changed! Save it?");
}

// After the association, the desktop opens ".pel" documents with Pelmar.
TEST(Association, PelDocumentsOpenWithPelmar) {
    if (QStandardPaths::findExecutable("xdg-mime").isEmpty()) GTEST_SKIP() << "xdg-mime is not installed";
    Scratch home;
    EnvGuard h("HOME"), data("XDG_DATA_HOME"), config("XDG_CONFIG_HOME"), desk("XDG_CURRENT_DESKTOP");
    h.Set(home.path("").c_str());
    data.Set(nullptr);
    config.Set(nullptr);
    desk.Set(nullptr);
    std::string error;
    ASSERT_TRUE(RegisterFileType("/opt/Pelmar dir/bin/pelmar", error)) << error;
    const std::string entry = ReadBytes(home.path(".local/share/applications/pelmar.desktop"));
    EXPECT_NE(entry.find("Exec=\"/opt/Pelmar dir/bin/pelmar\" %f\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("MimeType=application/x-pelmar;"), std::string::npos);

    auto query = [](const QStringList& args) {
        QProcess p;
        p.start(QStandardPaths::findExecutable("xdg-mime"), args);
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed().toStdString();
    };
    EXPECT_EQ(query({"query", "default", PelMimeType}), PelDesktopEntry);
    // The pattern is in the user's MIME database when its tool is there.
    if (!QStandardPaths::findExecutable("update-mime-database").isEmpty()) {
        EXPECT_NE(ReadBytes(home.path(".local/share/mime/globs2")).find("application/x-pelmar:*.pel"), std::string::npos);
    }
    // Associating again changes nothing and succeeds.
    EXPECT_TRUE(RegisterFileType("/opt/Pelmar dir/bin/pelmar", error)) << error;
    EXPECT_EQ(query({"query", "default", PelMimeType}), PelDesktopEntry);
}
