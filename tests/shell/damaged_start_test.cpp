// The start with a damaged translation or settings file: the session runs on
// words and settings that read well, says once what it could not use, and
// keeps the user's choice and the damaged bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sys/stat.h>

#include "shell/settings.h"
#include "support/no_read_override.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;
namespace fs = std::filesystem;

namespace {

// The bytes as UTF-16 with its byte-order mark, as an editor may save them.
std::string DsUtf16(const std::string& cp1251) {
    std::string out = "\xFF\xFE";
    for (const QChar c : QString::fromStdString(Cp1251ToUtf8(cp1251)))
        out += static_cast<char>(c.unicode() & 0xFF), out += static_cast<char>(c.unicode() >> 8);
    return out;
}

// The start of `s`, once its notice is up.
void DsStart(WindowSession& s) {
    s.start();
    QTest::qWait(50);
}

}  // namespace

TEST(DamagedStart, ATranslationThatCannotBeUsedIsSaidOnceAndTheChoiceKept) {
    const std::string good = TranslationBytes(LastWordLine, TestWord);
    WordTable english;
    ASSERT_TRUE(english.LoadWords(WindowSession::shipped() + "Translation/English.trs"));
    ASSERT_NE(english.WordLine(8), BuiltInWord(8));
    const std::string b8 = BuiltInWord(8), b600 = BuiltInWord(600), bad = "поврежден";
    const struct {
        const char *what, *name;
        std::string bytes;
        bool unreadable;
        std::string line8, line600, said;  // the words shown at lines 8 and 600; "": nothing said
    } rows[] = {
        {"empty", "Mine.trs", "", false, b8, b600, bad},
        {"cut in its signature", "Mine.trs", good.substr(0, 10), false, b8, b600, bad},
        {"random bytes", "Mine.trs", Junk(40000, 7), false, b8, b600, bad},
        {"UTF-16", "Mine.trs", DsUtf16(good), false, b8, b600, bad},
        {"no permission", "Mine.trs", good, true, b8, b600, "нет прав на чтение"},
        {"short, and signed", "Mine.trs", TranslationBytes(400, TestWord), false, "слово 8", b600, "400"},
        {"a damaged copy of a shipped one", "English.trs", Junk(4000, 9), false, english.WordLine(8),
         english.WordLine(600), "The shipped translation"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        WindowSession s;
        const std::string prog = s.prog(), file = prog + "Translation/" + r.name;
        fs::create_directories(prog + "Translation");
        Settings chosen = StartSettings(prog);
        chosen.UndoOn = true, chosen.UndoSteps = 50, chosen.LangFile = file;
        WriteBytes(prog + SettingsFileName, SettingsText(chosen));
        WriteBytes(file, r.bytes);
        std::optional<NoReadOverride> asAUser;
        if (r.unreadable) ::chmod(file.c_str(), 0), asAUser.emplace();
        DsStart(s);
        EXPECT_EQ(s.app->shell().words.WordLine(8), r.line8);
        EXPECT_EQ(s.app->shell().words.WordLine(600), r.line600);
        const auto& messages = s.answers.messages;
        ASSERT_EQ(messages.size(), r.said.empty() ? 0u : 1u) << (messages.empty() ? "" : messages[0]);
        if (!r.said.empty()) {
            EXPECT_NE(messages[0].find(file), std::string::npos) << messages[0];
            EXPECT_NE(messages[0].find(r.said), std::string::npos) << messages[0];
            EXPECT_TRUE(r.line8 != b8 || messages[0].find("В этом сеансе используются встроенные русские слова") !=
                                             std::string::npos);
        }
        EXPECT_EQ(s.app->shell().settings.LangFile, file) << "the user's choice is kept";
        s.app->shell().settings.UndoSteps = 60;  // a change: the settings are written at the end
        s.stop();
        asAUser.reset();
        EXPECT_NE(ReadBytes(prog + SettingsFileName).find(std::string("\r\n") + r.name + "\r\n"), std::string::npos);
        EXPECT_EQ(ReadBytes(file), r.bytes) << "the translation is left as it was";
    }
}

// A settings file that is there but damaged is said at the start; before the
// session's settings replace it, it is kept beside it under a name that says
// so, never over a copy kept before.
TEST(DamagedStart, ADamagedSettingsFileIsSaidAndKeptBeforeItIsReplaced) {
    for (const std::string damage : {"cut", "binary", "UTF-16"}) {
        SCOPED_TRACE(damage);
        WindowSession s;
        const std::string prog = s.prog();
        Settings own = StartSettings(prog);
        own.UndoOn = true, own.UndoSteps = 70, own.MoveColor = 0x00FF00;
        const std::string whole = SettingsText(own);
        const std::string damaged = damage == "cut"      ? whole.substr(0, whole.size() / 3)
                                    : damage == "binary" ? Junk(3000, 11)
                                                         : DsUtf16(whole);
        const std::string set = prog + SettingsFileName, earlier = set + ".damaged", kept = set + ".damaged-2";
        WriteBytes(set, damaged);
        WriteBytes(earlier, "kept at an earlier start");
        DsStart(s);
        ASSERT_EQ(s.answers.messages.size(), 1u);
        EXPECT_NE(s.answers.messages[0].find("Файл настроек поврежден: " + set), std::string::npos);
        EXPECT_NE(s.answers.messages[0].find(kept), std::string::npos) << s.answers.messages[0];
        // A session that changes nothing leaves the file as it is.
        s.stop();
        EXPECT_EQ(ReadBytes(set), damaged);
        EXPECT_FALSE(fs::exists(kept));
        DsStart(s);
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
