// The start with a damaged translation or settings file: the session runs on
// words and settings that read well, says once what it could not use, and
// keeps the user's choice and the damaged bytes.
#include <gtest/gtest.h>

#include <QTest>

#include <filesystem>
#include <optional>
#include <random>

#include <sys/stat.h>

#include "shell/settings.h"
#include "support/no_read_override.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;
namespace fs = std::filesystem;

namespace {

std::string DsJunk(std::size_t size, unsigned seed) {
    std::string junk;
    for (std::mt19937 rng(seed); junk.size() < size;) junk += static_cast<char>(rng());
    return junk;
}

// The bytes as UTF-16 with its byte-order mark, as an editor may save them.
std::string DsUtf16(const std::string& cp1251) {
    const QString text = QString::fromStdString(Cp1251ToUtf8(cp1251));
    std::string out = "\xFF\xFE";
    for (const QChar c : text) out += static_cast<char>(c.unicode() & 0xFF), out += static_cast<char>(c.unicode() >> 8);
    return out;
}

// The settings of a user who chose the translation `name`.
void DsChoose(const std::string& prog, const std::string& name) {
    Settings s = StartSettings(prog);
    s.UndoOn = true, s.UndoSteps = 50;
    s.LangFile = prog + "Translation/" + name;
    WriteBytes(prog + SettingsFileName, SettingsText(s));
}

}  // namespace

TEST(DamagedStart, ATranslationThatCannotBeUsedIsSaidOnceAndTheChoiceKept) {
    const std::string good = TranslationBytes(LastWordLine, TestWord);
    WordTable shippedEnglish;
    ASSERT_TRUE(shippedEnglish.LoadWords(WindowSession::shipped() + "Translation/English.trs"));
    ASSERT_NE(shippedEnglish.WordLine(8), BuiltInWord(8));
    struct Row {
        const char* what;
        const char* name;
        std::string bytes;
        bool unreadable = false;
        // The words the session shows at line 8 and at line 600, and what the
        // message says ("" when none).
        std::string line8, line600, said;
    };
    const std::string builtIn8 = BuiltInWord(8), builtIn600 = BuiltInWord(600);
    const std::string builtInSaid = "В этом сеансе используются встроенные русские слова";
    const Row rows[] = {
        {"empty", "Mine.trs", "", false, builtIn8, builtIn600, "поврежден"},
        {"cut in its signature", "Mine.trs", good.substr(0, 10), false, builtIn8, builtIn600, "поврежден"},
        {"random bytes", "Mine.trs", DsJunk(40000, 7), false, builtIn8, builtIn600, "поврежден"},
        {"UTF-16", "Mine.trs", DsUtf16(good), false, builtIn8, builtIn600, "поврежден"},
        {"no permission", "Mine.trs", good, true, builtIn8, builtIn600, "нет прав на чтение"},
        {"short, and signed", "Mine.trs", TranslationBytes(400, TestWord), false, "слово 8", builtIn600, ""},
        {"a damaged copy of a shipped one", "English.trs", DsJunk(4000, 9), false, shippedEnglish.WordLine(8),
         shippedEnglish.WordLine(600), "The shipped translation"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        WindowSession s;
        const std::string prog = s.prog(), file = prog + "Translation/" + r.name;
        fs::create_directories(prog + "Translation");
        DsChoose(prog, r.name);
        WriteBytes(file, r.bytes);
        std::optional<NoReadOverride> asAUser;
        if (r.unreadable) {
            ::chmod(file.c_str(), 0);
            asAUser.emplace();
        }
        s.start();
        QTest::qWait(50);  // a notice comes once the window is up
        const WordTable& words = s.app->shell().words;
        EXPECT_EQ(words.WordLine(8), r.line8);
        EXPECT_EQ(words.WordLine(600), r.line600);
        ASSERT_EQ(s.answers.messages.size(), r.said.empty() ? 0u : 1u) << (s.answers.messages.empty() ? "" : s.answers.messages[0]);
        if (!r.said.empty()) {
            const std::string& said = s.answers.messages[0];
            EXPECT_NE(said.find(file), std::string::npos) << said;
            EXPECT_NE(said.find(r.said), std::string::npos) << said;
            if (r.line8 == builtIn8) {
                EXPECT_NE(said.find(builtInSaid), std::string::npos) << said;
            }
        }
        EXPECT_EQ(s.app->shell().settings.LangFile, file) << "the user's choice is kept";
        s.app->shell().settings.UndoSteps = 60;  // a change: the settings are written at the end
        s.stop();
        asAUser.reset();
        EXPECT_NE(ReadBytes(prog + SettingsFileName).find(std::string("\r\n") + r.name + "\r\n"), std::string::npos);
        EXPECT_EQ(ReadBytes(file), r.bytes) << "the translation is left as it was";
    }
}

// A settings file that is there but damaged (cut, binary, UTF-16) is said at
// the start; before the session's settings replace it, it is kept beside it
// under a name that says so, never over a copy kept before.
TEST(DamagedStart, ADamagedSettingsFileIsSaidAndKeptBeforeItIsReplaced) {
    struct Row {
        const char* what;
        std::function<std::string(const std::string& whole)> damage;
    };
    const Row rows[] = {
        {"cut", [](const std::string& whole) { return whole.substr(0, whole.size() / 3); }},
        {"binary", [](const std::string&) { return DsJunk(3000, 11); }},
        {"UTF-16", [](const std::string& whole) { return DsUtf16(whole); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        WindowSession s;
        const std::string prog = s.prog();
        Settings own = StartSettings(prog);
        own.UndoOn = true, own.UndoSteps = 70, own.MoveColor = 0x00FF00;
        const std::string damaged = r.damage(SettingsText(own));
        const std::string set = prog + SettingsFileName, earlier = set + ".damaged", kept = set + ".damaged-2";
        WriteBytes(set, damaged);
        WriteBytes(earlier, "kept at an earlier start");
        s.start();
        QTest::qWait(50);
        ASSERT_EQ(s.answers.messages.size(), 1u);
        const std::string& said = s.answers.messages[0];
        EXPECT_NE(said.find("Файл настроек поврежден: " + set), std::string::npos) << said;
        EXPECT_NE(said.find(kept), std::string::npos) << said;
        // A session that changes nothing leaves the file as it is.
        s.stop();
        EXPECT_EQ(ReadBytes(set), damaged);
        EXPECT_FALSE(fs::exists(kept));
        s.start();
        QTest::qWait(50);
        s.app->shell().settings.UndoSteps = 90;
        s.stop();
        EXPECT_EQ(ReadBytes(kept), damaged);
        EXPECT_EQ(ReadBytes(earlier), "kept at an earlier start");
        Settings now = StartSettings(prog);
        ParseSettings(ReadBytes(set), prog, now);
        EXPECT_EQ(now.UndoSteps, 90);
        EXPECT_EQ(ReadBytes(set), SettingsText(now)) << "a whole settings file";
        EXPECT_EQ(s.answers.messages.size(), 2u) << "said at each start while the file is damaged";
    }
}
