#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

#include "shell/program_folder.h"
#include "shell/language.h"
#include "shell/qt_translation.h"
#include "shell_test_util.h"

namespace pelmar {
namespace {

using test::Scratch;
using test::TestWord;
using test::TranslationBytes;
using test::WriteBytes;

// A program folder in a scratch directory, a shipped folder beside it and
// the messages SetLanguage shows.
struct LanguageFixture : ::testing::Test {
    Scratch s;
    std::string prog = s.folder("user/pelmar");
    std::string shipped = s.folder("share/pelmar");
    std::vector<std::string> messages;
    LanguageContext ctx{prog, {shipped}, [this](const std::string& m) { messages.push_back(m); }};
    WordTable words;

    void SetUp() override {
        s.folder("user/pelmar/Translation");
        s.folder("share/pelmar/Translation");
        // Something other than the built-in texts in the table beforehand.
        const std::string other = s.path("other.trs");
        WriteBytes(other, TranslationBytes(LastWordLine, [](int n) { return "прежнее " + std::to_string(n); }));
        ASSERT_TRUE(words.LoadWords(other));
    }

    std::string Translation(const std::string& name) const { return prog + "Translation/" + name; }

    void ExpectBuiltIn() const {
        for (int n = FirstWordLine; n <= LastWordLine; ++n) {
            const char* t = BuiltInWord(n);
            ASSERT_EQ(words.WordLine(n), t ? t : "") << "line " << n;
        }
        EXPECT_EQ(words.WordLine(6), "Июнь, 2022");
    }
};

TEST_F(LanguageFixture, RussianByNameOpensNoFile) {
    // Files named Russian*.trs exist and hold other words: the name alone
    // selects the built-in texts.
    for (const char* name : {"Russian", "Russian2.trs"}) {
        const std::string file = Translation(name);
        WriteBytes(file, TranslationBytes(LastWordLine, TestWord));
        std::string lang = file;
        SetLanguage(words, lang, ctx);
        ExpectBuiltIn();
        EXPECT_EQ(lang, file);
    }
    std::string lang = "Translation/Russian";
    SetLanguage(words, lang, ctx);
    ExpectBuiltIn();
    EXPECT_TRUE(messages.empty());
}

TEST_F(LanguageFixture, TheRussianTestIsCaseSensitive) {
    std::string lang = Translation("russian.trs");
    SetLanguage(words, lang, ctx);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(lang, "Translation/Russian");
}

TEST_F(LanguageFixture, GoodFileLoadsQuietly) {
    const std::string file = Translation("Test.trs");
    WriteBytes(file, TranslationBytes(LastWordLine, TestWord));
    std::string lang = file;
    SetLanguage(words, lang, ctx);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(lang, file);
    EXPECT_EQ(words.WordLine(5), "слово 5");
    EXPECT_EQ(words.WordLine(624), "слово 624");
}

TEST_F(LanguageFixture, MissingFileFallsBackAndForgetsTheName) {
    const std::string file = Translation("English.trs");
    std::string lang = file;
    SetLanguage(words, lang, ctx);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Cann`t find \"" + file + "\". Setup Russian include.");
    EXPECT_EQ(lang, "Translation/Russian");
    ExpectBuiltIn();
    // A folder standing where the file should be counts as missing.
    messages.clear();
    lang = s.folder("user/pelmar/Translation/Dir.trs");
    SetLanguage(words, lang, ctx);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Cann`t find \"", 0), 0u);
}

TEST_F(LanguageFixture, UnreadableFileFallsBackAndKeepsTheName) {
    const std::string file = Translation("Huge.trs");
    WriteBytes(file, TranslationBytes(4, TestWord) + std::string(MaxTranslationBytes, 'x'));
    std::string lang = file;
    SetLanguage(words, lang, ctx);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Не могу прочитать файл перевода \"" + file +
                               "\": файл слишком велик.\nВ этом сеансе используются встроенные русские слова; "
                               "выбранный язык остается в настройках.");
    EXPECT_EQ(lang, file);
    ExpectBuiltIn();
}

TEST_F(LanguageFixture, ShortFileTakesTheBuiltInWordsItLacksAndSaysSoOnce) {
    const std::string file = Translation("Short.trs");
    WriteBytes(file, TranslationBytes(400, TestWord));
    std::string lang = file;
    SetLanguage(words, lang, ctx);
    EXPECT_EQ(messages, std::vector<std::string>{"The translation file \"" + file +
                                                 "\" holds only 400 of 685 lines: the words it lacks are shown in Russian."});
    EXPECT_EQ(words.WordLine(400), "слово 400");
    EXPECT_EQ(words.WordLine(401), BuiltInWord(401));
    EXPECT_EQ(words.WordLine(685), BuiltInWord(685));
}

TEST_F(LanguageFixture, NoSettingsMeansRussianWithoutMessage) {
    std::string lang;
    SetLanguage(words, lang, ctx);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(lang, "Translation/Russian");
    ExpectBuiltIn();
}

TEST_F(LanguageFixture, ShippedCopyServesAMissingUserFile) {
    const std::string name = "Translation/Shipped.trs";
    WriteBytes(shipped + name, TranslationBytes(LastWordLine, TestWord));
    std::string lang = prog + name;
    SetLanguage(words, lang, ctx);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(lang, prog + name);  // the settings keep the program-folder name
    EXPECT_EQ(words.WordLine(8), "слово 8");

    // The user's own copy comes first.
    WriteBytes(prog + name,
               TranslationBytes(LastWordLine, [](int n) { return n <= 4 ? TestWord(n) : "своё " + std::to_string(n); }));
    SetLanguage(words, lang, ctx);
    EXPECT_EQ(words.WordLine(8), "своё 8");

    // A path outside the program folder is never looked up elsewhere.
    std::string outside = s.path("Translation/Shipped.trs");
    SetLanguage(words, outside, ctx);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(outside, "Translation/Russian");
}

TEST_F(LanguageFixture, WithoutAMessageSinkNothingBreaks) {
    ctx.showError = nullptr;
    std::string lang = Translation("Gone.trs");
    SetLanguage(words, lang, ctx);
    EXPECT_EQ(lang, "Translation/Russian");
    ExpectBuiltIn();
}

using test::EnvGuard;

TEST(ProgramFolder, FollowsXdgDataHome) {
    EnvGuard data("XDG_DATA_HOME"), home("HOME");
    home.Set("/home/someone");
    data.Set("/data/here/");
    EXPECT_EQ(DefaultProgDir(), "/data/here/pelmar/");
    data.Set("relative/path");  // not absolute: ignored
    EXPECT_EQ(DefaultProgDir(), "/home/someone/.local/share/pelmar/");
    data.Set(nullptr);
    EXPECT_EQ(DefaultProgDir(), "/home/someone/.local/share/pelmar/");
    home.Set(nullptr);
    EXPECT_EQ(DefaultProgDir(), "");
}

TEST(ProgramFolder, ShippedFoldersFromTheProgramAndXdgDataDirs) {
    EnvGuard dirs("XDG_DATA_DIRS");
    dirs.Set("/opt/a:relative::/opt/b/");
    std::vector<std::string> got = ShippedDirs("/cache/shipped-1");
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0], QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/pelmar").toStdString() + "/");
    EXPECT_EQ(got[1], "/cache/shipped-1/") << "the built-in files after an installation's, before the system's";
    EXPECT_EQ(got[2], "/opt/a/pelmar/");
    EXPECT_EQ(got[3], "/opt/b/pelmar/");
    dirs.Set(nullptr);
    got = ShippedDirs();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1], "/usr/local/share/pelmar/");
    EXPECT_EQ(got[2], "/usr/share/pelmar/");
}

TEST(ProgramFolder, LocateFallsBackToTheShippedCopies) {
    Scratch s;
    const std::string prog = s.folder("p");
    const std::string a = s.folder("a"), b = s.folder("b");
    s.folder("b/Translation");
    WriteBytes(b + "Translation/X.trs", "x");
    EXPECT_EQ(LocateProgramFile(prog + "Translation/X.trs", prog, {a, b}), b + "Translation/X.trs");
    EXPECT_EQ(LocateProgramFile(prog + "Translation/Y.trs", prog, {a, b}), prog + "Translation/Y.trs");
    EXPECT_EQ(LocateProgramFile(prog, prog, {a, b}), prog);
    EXPECT_EQ(LocateProgramFile("/elsewhere/Translation/X.trs", prog, {a, b}), "/elsewhere/Translation/X.trs");
    EXPECT_EQ(LocateProgramFile(prog + "Translation/X.trs", "", {a, b}), prog + "Translation/X.trs");
    s.folder("p/Translation");
    WriteBytes(prog + "Translation/X.trs", "mine");
    EXPECT_EQ(LocateProgramFile(prog + "Translation/X.trs", prog, {a, b}), prog + "Translation/X.trs");
}

// The files built into the program come out as the shipped folder holds
// them, once per set of contents, and a damaged copy is mended.
TEST(ProgramFolder, BuiltInFilesAreTheShippedOnes) {
    namespace fs = std::filesystem;
    const fs::path shipped = PELMAR_TEST_DATA "/../../share/pelmar";
    Scratch s;
    const std::string cache = s.folder("cache");
    const std::string got = UnpackBuiltInFiles(cache);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.rfind(cache + "shipped-", 0), 0u) << got;
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(shipped))
        if (e.is_regular_file()) names.push_back(fs::relative(e.path(), shipped).string());
    ASSERT_GE(names.size(), 16u) << "settings, fourteen default sets, the help page";
    std::size_t unpacked = 0;
    for (const auto& e : fs::recursive_directory_iterator(got)) unpacked += e.is_regular_file();
    EXPECT_EQ(unpacked, names.size());
    for (const std::string& n : names)
        EXPECT_EQ(test::ReadBytes(got + n), test::ReadBytes((shipped / n).string())) << n;

    WriteBytes(got + "Pelmar.set", "damaged");
    fs::remove(got + "DefaultSet/DeTriangle.set");
    EXPECT_EQ(UnpackBuiltInFiles(cache), got);
    for (const char* n : {"Pelmar.set", "DefaultSet/DeTriangle.set"})
        EXPECT_EQ(test::ReadBytes(got + n), test::ReadBytes((shipped / n).string())) << n;
    EXPECT_EQ(UnpackBuiltInFiles(""), "");
    EXPECT_EQ(UnpackBuiltInFiles("/proc/no-such/"), "") << "not writable: no folder";
}

// The help page of the interface's language, else the Russian one; the
// user's own before the shipped one.
TEST(ProgramFolder, HelpPageOfTheLanguage) {
    Scratch s;
    const std::string prog = s.folder("prog"), shipped = s.folder("shipped"), none = s.folder("none");
    WriteBytes(shipped + "Pelmar.html", "ru");
    WriteBytes(shipped + "Pelmar_deu.html", "de");
    struct Case {
        std::string code, expect;
    } cases[] = {{"rus", shipped + "Pelmar.html"},
                 {"", shipped + "Pelmar.html"},
                 {"eng", shipped + "Pelmar.html"},  // no English page yet
                 {"deu", shipped + "Pelmar_deu.html"},
                 {"DEU", shipped + "Pelmar_deu.html"},
                 {"../", shipped + "Pelmar.html"}};
    for (const Case& c : cases) EXPECT_EQ(HelpPage(prog, {none, shipped}, c.code), c.expect) << c.code;
    EXPECT_EQ(HelpPage(prog, {none}, "rus"), "");
    WriteBytes(prog + "Pelmar.html", "mine");
    EXPECT_EQ(HelpPage(prog, {shipped}, "eng"), prog + "Pelmar.html");
}

// Qt's standard buttons speak the word table's language, and follow it when
// the language changes.
TEST(QtTranslation, StandardButtonsFollowTheWordTable) {
    struct Case {
        const char* code;
        const char* name;
    } cases[] = {{"rus", "ru"}, {"RUS", "ru"}, {"Rus", "ru"}, {"ger", "de"}, {"deu", "de"},
                 {"ukr", "uk"}, {"en", "en"},  {"eng", "en"}, {"xyz", ""},  {"", ""}};
    for (const Case& c : cases) EXPECT_EQ(QtLanguageName(c.code), c.name) << c.code;

    WordTable words;
    words.LoadWords("");
    EXPECT_EQ(words.LanguageCode(), "rus");
    Scratch s;
    const std::string file = s.path("German.trs");
    WriteBytes(file, TranslationBytes(LastWordLine, [](int n) { return n == 4 ? std::string("GERman") : TestWord(n); }));
    ASSERT_EQ(words.LoadWordsFile(file), WordsLoad::Ok);
    EXPECT_EQ(words.LanguageCode(), "GER");
    EXPECT_EQ(words.LoadWordsFile(s.path("missing.trs")), WordsLoad::CannotOpen);
    EXPECT_EQ(words.LanguageCode(), "GER") << "a failed load keeps the texts and their language";

    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(dir + "/qtbase_ru.qm")) GTEST_SKIP() << "qt6-translations-l10n is not installed";
    auto yes = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.button(QMessageBox::Yes)->text().toStdString();
    };
    auto cancel = [] {
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        return box.button(QDialogButtonBox::Cancel)->text().toStdString();
    };
    ASSERT_TRUE(InstallQtTranslation(BuiltInLanguageCode.data()));
    EXPECT_EQ(yes(), "&Да");
    EXPECT_EQ(cancel(), "Отмена");
    EXPECT_TRUE(InstallQtTranslation("eng"));
    EXPECT_EQ(yes(), "&Yes");
    EXPECT_FALSE(InstallQtTranslation("xyz"));
    EXPECT_EQ(cancel(), "Cancel");
    EXPECT_TRUE(InstallQtTranslation("rus"));
    EXPECT_EQ(cancel(), "Отмена");
}

}  // namespace
}  // namespace pelmar
