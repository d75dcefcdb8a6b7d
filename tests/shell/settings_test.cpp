// The settings file: its bytes as written, damaged and short files, the
// fall-back to the shipped copy, and round trips of random settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include <chrono>
#include <filesystem>
#include <future>
#include <random>
#include <tuple>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/settings.h"
#include "shell_test_util.h"

namespace pelmar {
namespace {

using test::ReadBytes;
using test::Scratch;
using test::WriteBytes;

const std::string Prog = "/home/t/.local/share/pelmar/";

std::string Lines(std::initializer_list<std::string> lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

// A file as the program writes it: every value away from its start value.
const std::string Full = Lines({Utf8ToCp1251("/home/t/Чертежи/"), "8", "255000000", "000000255", "\xE8" "0120", "001101110",
                                "/home/t/a.pel", "/home/t/b.pel", "No File", "No File", "No File", "\xE8",
                                "English.trs"});

Settings Parsed(const std::string& bytes) {
    Settings s = StartSettings(Prog);
    ParseSettings(bytes, Prog, s);
    return s;
}

TEST(SettingsFile, AFullFileSetsEveryValueAndIsWrittenBackByteForByte) {
    const Settings s = Parsed(Full);
    EXPECT_EQ(s.DocDir, "/home/t/Чертежи/");
    EXPECT_EQ(s.MoveColor, 0x0000FFu);
    EXPECT_EQ(s.ShapeColor, 0xFF0000u);
    EXPECT_TRUE(s.UndoOn);
    EXPECT_EQ(s.UndoSteps, 120);
    EXPECT_EQ(s.ShowTB, (std::array<bool, 8>{true, true, false, false, true, false, false, false}));
    EXPECT_EQ(s.SpareDigit, 0);
    EXPECT_EQ(s.RecentFiles[0], "/home/t/a.pel");
    EXPECT_EQ(s.RecentFiles[2], "No File");
    EXPECT_TRUE(s.OwnDialogs);
    EXPECT_EQ(s.LangFile, Prog + "Translation/English.trs");
    EXPECT_EQ(SettingsText(s), Full);
}

// Each case: a file (or a change of one line of the full file) and what it gives.
struct ParseCase {
    const char* what;
    std::string bytes;
    std::function<void(const Settings&)> check;
};

std::string FullWithLine(int n, const std::string& text) {
    std::vector<std::string> l;
    std::string rest = Full;
    for (std::size_t at; (at = rest.find("\r\n")) != std::string::npos; rest = rest.substr(at + 2))
        l.push_back(rest.substr(0, at));
    l[static_cast<std::size_t>(n - 1)] = text;
    std::string out;
    for (const auto& x : l) out += x + "\r\n";
    return out;
}

TEST(SettingsFile, LinesReadAsTheirTableSaysAndDamageKeepsTheStartValues) {
    const Settings start = StartSettings(Prog);
    const std::vector<ParseCase> cases{
        {"channel 300 keeps its low byte", FullWithLine(3, "300000000"),
         [](const Settings& s) { EXPECT_EQ(s.MoveColor, 44u); }},
        {"colour with letters keeps black", FullWithLine(4, "0000x0255"),
         [](const Settings& s) { EXPECT_EQ(s.ShapeColor, 0u); }},
        {"colour too short keeps black", FullWithLine(3, "25500"), [](const Settings& s) { EXPECT_EQ(s.MoveColor, 0u); }},
        {"undo off with depth", FullWithLine(5, "\xEB" "0120"),
         [](const Settings& s) { EXPECT_FALSE(s.UndoOn); EXPECT_EQ(s.UndoSteps, 120); }},
        {"undo depth beyond the deepest", FullWithLine(5, "\xE8" "9999"),
         [](const Settings& s) { EXPECT_TRUE(s.UndoOn); EXPECT_EQ(s.UndoSteps, MaxUndoSteps); }},
        {"undo depth not digits", FullWithLine(5, "\xE8" "12a4"),
         [](const Settings& s) { EXPECT_TRUE(s.UndoOn); EXPECT_EQ(s.UndoSteps, 0); }},
        {"undo switch of another letter", FullWithLine(5, "x0050"),
         [](const Settings& s) { EXPECT_FALSE(s.UndoOn); EXPECT_EQ(s.UndoSteps, 50); }},
        {"ninth digit kept", FullWithLine(6, "111111117"),
         [](const Settings& s) { EXPECT_EQ(s.SpareDigit, 7); EXPECT_EQ(s.ShowTB, (std::array<bool, 8>{})); }},
        {"group letters keep their flags", FullWithLine(6, "0x0"),
         [](const Settings& s) {
             EXPECT_TRUE(s.ShowTB[0]); EXPECT_FALSE(s.ShowTB[1]); EXPECT_TRUE(s.ShowTB[2]); EXPECT_FALSE(s.ShowTB[3]);
         }},
        {"recent entry with a NUL is No File", FullWithLine(7, std::string("/a\0b.pel", 8)),
         [](const Settings& s) { EXPECT_EQ(s.RecentFiles[0], "No File"); }},
        {"empty recent entry is No File", FullWithLine(8, ""),
         [](const Settings& s) { EXPECT_EQ(s.RecentFiles[1], "No File"); }},
        {"empty language line keeps the built-in texts", FullWithLine(13, ""),
         [](const Settings& s) { EXPECT_EQ(s.LangFile, ""); }},
        {"language file name inside the folder", FullWithLine(13, "English.trs"),
         [](const Settings& s) { EXPECT_EQ(s.LangFile, Prog + "Translation/English.trs"); }},
        {"language path out of the folder keeps the built-in texts", FullWithLine(13, "../../../etc/passwd"),
         [](const Settings& s) { EXPECT_EQ(s.LangFile, ""); }},
        {"absolute language path", FullWithLine(13, "/etc/passwd"),
         [](const Settings& s) { EXPECT_EQ(s.LangFile, ""); }},
        {"language line naming the parent folder", FullWithLine(13, ".."),
         [](const Settings& s) { EXPECT_EQ(s.LangFile, ""); }},
        {"language line with a folder", FullWithLine(13, "sub/English.trs"),
         [](const Settings& s) { EXPECT_EQ(s.LangFile, ""); }},
        {"language line with a backslash", FullWithLine(13, "..\\Pelmar.set"),
         [](const Settings& s) { EXPECT_EQ(s.LangFile, ""); }},
        {"empty folder line keeps the program folder", FullWithLine(1, ""),
         [](const Settings& s) { EXPECT_EQ(s.DocDir, Prog); }},
        {"folder without its slash", FullWithLine(1, "/srv/docs"),
         [](const Settings& s) { EXPECT_EQ(s.DocDir, "/srv/docs/"); }},
        {"lone LF line ends", "/a/\n8\n000255000\n",
         [](const Settings& s) { EXPECT_EQ(s.DocDir, "/a/"); EXPECT_EQ(s.MoveColor, 0x00FF00u); }},
        {"short file: lines read, the rest as at start", Lines({"/d/", "8", "255000000", "000000255", "\xE8" "0050"}),
         [&](const Settings& s) {
             EXPECT_EQ(s.UndoSteps, 50);
             EXPECT_EQ(s.ShowTB, start.ShowTB);
             EXPECT_EQ(s.RecentFiles, start.RecentFiles);
             EXPECT_EQ(s.LangFile, "");
         }},
        {"empty file", "", [&](const Settings& s) { EXPECT_EQ(SettingsText(s), SettingsText(start)); }},
        {"binary garbage", std::string("\x00\xFF\x98\r\r\n\n\x01", 8),
         [&](const Settings& s) {
             EXPECT_EQ(s.MoveColor, 0u);
             EXPECT_EQ(s.UndoSteps, 0);
             EXPECT_EQ(s.RecentFiles, start.RecentFiles);
         }},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.what);
        c.check(Parsed(c.bytes));
    }
}

TEST(SettingsFile, WhatTheCodePageCannotHoldIsNotWrittenAsADamagedPath) {
    Settings s = StartSettings(Prog);
    s.DocDir = "/home/t/图纸/";
    s.RecentFiles = {"/home/t/图.pel", "", "/home/t/ж.pel", "No File", "/x.pel"};
    s.LangFile = "/elsewhere/de.trs";
    const Settings back = Parsed(SettingsText(s));
    EXPECT_EQ(back.DocDir, Prog);
    EXPECT_EQ(back.RecentFiles, (std::array<std::string, 5>{"No File", "No File", "/home/t/ж.pel", "No File", "/x.pel"}));
    // A language file outside the translation folder is written whole, and
    // not taken back: only a name inside the folder is.
    EXPECT_EQ(back.LangFile, "");
}

TEST(SettingsFile, RandomSettingsSurviveTheirFile) {
    std::mt19937 rng(14);
    const std::vector<std::string> pieces{"a", "Ж", "дом", " ", "№", "x.pel", "/", "-", "Ёлка", "9"};
    auto text = [&](int n) {
        std::string t = "/";
        for (int i = 0; i < n; ++i) t += pieces[rng() % pieces.size()];
        return t;
    };
    for (int round = 0; round < 300; ++round) {
        Settings s = StartSettings(Prog);
        s.DocDir = text(1 + static_cast<int>(rng() % 6)) + "/";
        s.MoveColor = rng() & 0xFFFFFF;
        s.ShapeColor = rng() & 0xFFFFFF;
        s.UndoOn = rng() % 2;
        s.UndoSteps = static_cast<int>(rng() % (MaxUndoSteps + 1));
        for (bool& b : s.ShowTB) b = rng() % 2;
        s.SpareDigit = static_cast<int>(rng() % 10);
        for (std::string& r : s.RecentFiles) r = rng() % 3 ? text(1 + static_cast<int>(rng() % 8)) : "No File";
        s.OwnDialogs = rng() % 2;
        std::string lang = text(2).substr(1);
        std::replace(lang.begin(), lang.end(), '/', '_');  // a name inside the folder
        s.LangFile = Prog + "Translation/" + lang + ".trs";
        const std::string bytes = SettingsText(s);
        const Settings back = Parsed(bytes);
        ASSERT_EQ(SettingsText(back), bytes) << round;
        EXPECT_EQ(back.DocDir, s.DocDir);
        EXPECT_EQ(back.MoveColor, s.MoveColor);
        EXPECT_EQ(back.ShapeColor, s.ShapeColor);
        EXPECT_EQ(back.UndoOn, s.UndoOn);
        EXPECT_EQ(back.UndoSteps, s.UndoSteps);
        EXPECT_EQ(back.ShowTB, s.ShowTB);
        EXPECT_EQ(back.SpareDigit, s.SpareDigit);
        EXPECT_EQ(back.RecentFiles, s.RecentFiles);
        EXPECT_EQ(back.OwnDialogs, s.OwnDialogs);
        EXPECT_EQ(back.LangFile, s.LangFile);
        // Thirteen lines, each ended by CR LF.
        std::size_t crlf = 0;
        for (std::size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos; at += 2) ++crlf;
        EXPECT_EQ(crlf, 13u);
    }
}

// Paths the code page cannot hold come back from the side file while the settings file is the one written with it
// (a file written elsewhere wins whole, placeholders too); a path with a line break or a NUL is kept in neither file.
TEST(SettingsFile, PathsTheCodePageCannotHoldComeBackFromTheSideFile) {
    Scratch sc;
    const std::string prog = sc.path("p/"), side = prog + SettingsPathsFileName;
    Settings s = StartSettings(prog), back;
    s.DocDir = "/home/t/Übungen/";
    s.RecentFiles = {"/home/t/Übungen/a.pel", "/home/t/ж.pel", "/tmp/图\t纸\\.pel", "No File", "/x.pel"};
    s.LangFile = prog + "Translation/Español.trs";
    const auto paths = [](const Settings& x) { return std::tie(x.DocDir, x.RecentFiles, x.LangFile); };
    ASSERT_TRUE(WriteSettings(prog, s));
    ASSERT_TRUE(ReadSettings(prog, back));
    EXPECT_EQ(paths(back), paths(s));
    const std::string ownSide = ReadBytes(side);
    const auto taken = [&](const Settings& x, const std::string& sideBytes) {  // the side file over the settings of `x`
        WriteBytes(prog + SettingsFileName, SettingsText(x)), WriteBytes(side, sideBytes);
        Settings alone = StartSettings(prog);
        ParseSettings(SettingsText(x), prog, alone);
        EXPECT_TRUE(ReadSettings(prog, back));
        return paths(back) != paths(alone);
    };
    Settings other = s;
    other.DocDir = "/d/";
    other.RecentFiles[0] = "/other.pel";
    EXPECT_FALSE(taken(other, ownSide));
    other = s;
    other.UndoSteps = 9;  // the same placeholders, written elsewhere
    EXPECT_FALSE(taken(other, ownSide));
    EXPECT_FALSE(taken(s, ownSide.substr(ownSide.find('\n') + 1)));  // an older side file: no stamp
    Settings broken = s;
    broken.DocDir = "/home/t/a\nb/";
    broken.RecentFiles = {"/a\nb.pel", std::string("/c\0d.pel", 8), "/ж\r.pel", "/图\n.pel", "/ok.pel"};
    EXPECT_TRUE(WriteSettings(prog, broken) && ReadSettings(prog, back)) << "a path left out is no failure to save";
    const std::array<std::string, 5> left{"No File", "No File", "No File", "No File", "/ok.pel"};
    EXPECT_EQ(paths(back), std::tie(prog, left, s.LangFile));
    ASSERT_TRUE(WriteSettings(prog, StartSettings(prog)));
    ASSERT_TRUE(ReadSettings(prog, back));
    EXPECT_EQ(back.RecentFiles, StartSettings(prog).RecentFiles);
}

// Whatever stands at either name, the reader ends soon, throws nothing and reads only a regular file: a folder, a
// named pipe or a link to an endless device cannot be read; of a huge file the whole lines of its beginning are
// read (here the file as written); garbage gives no side paths.
TEST(SettingsFile, OnlySmallRegularFilesAreRead) {
    namespace fs = std::filesystem;
    for (const std::string name : {SettingsPathsFileName, SettingsFileName})
        for (const std::string what : {"folder", "pipe", "huge", "garbage", "endless"}) {
            const bool side = name == SettingsPathsFileName;
            if (!side && what == "garbage") continue;  // a damaged settings file is read as it is
            SCOPED_TRACE(name + " " + what);
            Scratch sc;
            const std::string prog = sc.path("p/"), at = prog + name;
            Settings s = StartSettings(prog), back;
            s.UndoSteps = 77, s.RecentFiles[0] = "/home/t/图.pel";
            ASSERT_TRUE(WriteSettings(prog, s));
            std::string garbage = ReadBytes(at).substr(0, ReadBytes(at).find('\n') + 1);  // after the stamp line
            for (std::mt19937 rng(5); garbage.size() < 5000;) garbage += static_cast<char>(rng() % 7 ? rng() : '\t');
            if (what == "garbage") WriteBytes(at, garbage);
            else if (what == "huge") fs::resize_file(at, 16u << 20);  // the file as written, then zeros
            else fs::remove(at);
            if (what == "folder") fs::create_directory(at);
            if (what == "endless") fs::create_symlink("/dev/zero", at);
            ASSERT_TRUE(what != "pipe" || ::mkfifo(at.c_str(), 0600) == 0);
            auto read = std::async(std::launch::async, [&] { return ReadSettings(prog, back); });
            const bool soon = read.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
            if (!soon) ::close(::open(at.c_str(), O_WRONLY | O_NONBLOCK));  // frees a reader stuck on the pipe
            SettingsSource source;
            EXPECT_NO_THROW(source = read.get());
            const bool unreadable = what == "folder" || what == "pipe" || what == "endless";
            EXPECT_EQ(std::make_tuple(soon, source.from, source.error, back.UndoSteps, back.RecentFiles[0]),
                      std::make_tuple(true, unreadable ? SettingsSource::From::Unreadable : SettingsSource::From::Own,
                                      what == "folder" ? EISDIR : 0, side || !unreadable ? 77 : 0,
                                      std::string(what == "huge" ? "/home/t/图.pel" : "No File")));
        }
}

TEST(SettingsFile, ReadAndWriteInTheProgramFolderWithTheShippedCopyAsFallBack) {
    Scratch sc;
    const std::string prog = sc.path("user/pelmar/");  // not there yet
    const std::string shipped = sc.folder("share/pelmar");
    Settings s;
    s.UndoSteps = 77;
    EXPECT_FALSE(ReadSettings(prog, s, {shipped}));
    EXPECT_EQ(SettingsText(s), SettingsText(StartSettings(prog)));
    EXPECT_EQ(s.DocDir, prog);

    WriteBytes(shipped + "Pelmar.set", FullWithLine(5, "\xE8" "0033"));
    ASSERT_TRUE(ReadSettings(prog, s, {shipped}));
    EXPECT_EQ(s.UndoSteps, 33);

    // Written into the program folder, which is made; read from there first.
    s.UndoSteps = 44;
    ASSERT_TRUE(WriteSettings(prog, s));
    EXPECT_EQ(ReadBytes(prog + "Pelmar.set"), SettingsText(s));
    Settings again;
    ASSERT_TRUE(ReadSettings(prog, again, {shipped}));
    EXPECT_EQ(again.UndoSteps, 44);
    EXPECT_FALSE(std::filesystem::exists(prog + "Pelmar.set.part"));

    // A program folder that is a file: both attempts fail, quietly.
    WriteBytes(sc.path("blocked"), "x");
    EXPECT_FALSE(WriteSettings(sc.path("blocked"), s));
}

TEST(SettingsFile, TheShippedSettingsStartAFreshUserSensibly) {
    Settings s;
    ASSERT_TRUE(ReadSettings("/nowhere/pelmar/", s, {PELMAR_TEST_DATA "/../../share/pelmar/"}));
    EXPECT_EQ(s.DocDir, "/nowhere/pelmar/");
    EXPECT_EQ(s.MoveColor, DefaultMoveColor);
    EXPECT_EQ(s.ShapeColor, DefaultShapeColor);
    EXPECT_TRUE(s.UndoOn);
    EXPECT_GE(s.UndoSteps, 10);
    EXPECT_EQ(s.ShowTB, (std::array<bool, 8>{true, true, true, true, true, true, true, true}));
    for (const std::string& r : s.RecentFiles) EXPECT_EQ(r, "No File");
    EXPECT_EQ(s.LangFile, "/nowhere/pelmar/Translation/Russian");
}

}  // namespace
}  // namespace pelmar

namespace pelmar {
namespace {

// A damaged copy of `bytes`: a byte flipped, a line removed or repeated, or
// a line replaced by a wild text.
std::string DamagedSettings(const std::string& bytes, std::mt19937& rng, std::string& log) {
    static const char* const wild[] = {"", "..", "../../etc/passwd", "/etc/passwd", "a/b.trs", "\xE8" "9999",
                                       "\xE8" "-001", "999999999", "-1", "1E308", "NAN", "99999999999999999999",
                                       "\\x.trs", "\xEB", "0", "No File"};
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", at);
        lines.push_back(bytes.substr(at, end - at));
        at = end == std::string::npos ? bytes.size() : end + 2;
    }
    const int count = 1 + static_cast<int>(rng() % 3);
    for (int n = 0; n < count && !lines.empty(); ++n) {
        const std::size_t i = rng() % lines.size();
        switch (rng() % 4) {
            case 0:
                if (!lines[i].empty()) {
                    const std::size_t at = rng() % lines[i].size();
                    lines[i][at] = static_cast<char>(lines[i][at] ^ (1 << (rng() % 8)));
                }
                log += " flip" + std::to_string(i);
                break;
            case 1:
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
                log += " del" + std::to_string(i);
                break;
            case 2:
                lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i), lines[i]);
                log += " dup" + std::to_string(i);
                break;
            default: {
                const char* w = wild[rng() % std::size(wild)];
                lines[i] = w;
                log += " set" + std::to_string(i) + "=" + w;
            }
        }
    }
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

}  // namespace

// Damaged settings files, a few thousand of them from a fixed seed: every
// value read stays in its bounds (the translation file inside its folder),
// and what the program writes back reads back the same.
TEST(SettingsFile, DamagedFilesKeepTheBounds) {
    constexpr std::uint32_t seed = 20261207u;
    std::mt19937 rng(seed);
    for (int round = 0; round < 3000; ++round) {
        std::string log;
        const std::string bytes = DamagedSettings(Full, rng, log);
        SCOPED_TRACE("seed " + std::to_string(seed) + " round " + std::to_string(round) + ":" + log);
        const Settings s = Parsed(bytes);
        ASSERT_GE(s.UndoSteps, 0);
        ASSERT_LE(s.UndoSteps, MaxUndoSteps);
        ASSERT_GE(s.SpareDigit, 0);
        ASSERT_LE(s.SpareDigit, 9);
        const std::string folder = Prog + "Translation/";
        if (!s.LangFile.empty()) {
            ASSERT_EQ(s.LangFile.rfind(folder, 0), 0u) << s.LangFile;
            const std::string name = s.LangFile.substr(folder.size());
            ASSERT_EQ(name.find('/'), std::string::npos) << s.LangFile;
            ASSERT_NE(name, "..");
        }
        const std::string written = SettingsText(s);
        ASSERT_EQ(SettingsText(Parsed(written)), written);
    }
}

}  // namespace pelmar
