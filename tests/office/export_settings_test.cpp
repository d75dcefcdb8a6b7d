// The option files' bytes and how they read back.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <random>

#include "office/export_settings.h"

namespace pelmar {

namespace {

TEST(ExportSettings, DefaultBytes) {
    EXPECT_EQ(CdrSettingsBytes({}),
              "Version:\r\n8\r\nType of Run:\r\n0\r\nGroups:\r\n1\r\nPelmar Arrows:\r\n\xE8\r\nNumber of Arrow:\r\n3\r\n"
              "Number of Dash:\r\n9\r\n");
    CdrSettings off;
    off.ownArrows = false;
    EXPECT_NE(CdrSettingsBytes(off).find("\r\n\xEB\r\n"), std::string::npos);
    EXPECT_EQ(WordSettingsBytes({}), "Type of Run:\r\n0\r\nNumber of Arrow:\r\n4\r\nNumber of Dash:\r\n4\r\n");
}

TEST(ExportSettings, ReadingOddFiles) {
    struct Case {
        const char* bytes;
        CdrSettings want;
    };
    auto with = [](auto change) {
        CdrSettings s;
        change(s);
        return s;
    };
    const Case cases[] = {
        {"", CdrSettings{}},
        // Fewer lines set only what they hold.
        {"Version:\r\n12\r\nType of Run:\r\n2", with([](CdrSettings& s) { s.version = 12, s.runMode = 2; })},
        // Not a number: the default stays; out of range: clamped, or kept for a choice.
        {"V\r\nabc\r\nT\r\n7\r\nG\r\n0\r\nP\r\n\xEB\r\nA\r\n500\r\nD\r\n-3\r\n",
         with([](CdrSettings& s) { s.groupMode = 0, s.ownArrows = false, s.arrowNo = 90, s.dashNo = 0; })},
        // A CR before the flag, or LF-only ends, still read as the flag.
        {"V\r\n9\r\nT\r\n1\r\nG\r\n1\r\nP\r\n\r\xE8\r\nA\r\n4\r\nD\r\n5\r\n",
         with([](CdrSettings& s) { s.version = 9, s.runMode = 1, s.arrowNo = 4, s.dashNo = 5; })},
        {"V\n9\nT\n1\nG\n0\nP\n\xE8\r\r\nA\n 7 \nD\n5", with([](CdrSettings& s) {
             s.version = 9, s.runMode = 1, s.groupMode = 0, s.arrowNo = 7, s.dashNo = 5;
         })},
        // A switch line that is neither letter gives the shipped switch.
        {"V\r\n8\r\nT\r\n0\r\nG\r\n1\r\nP\r\n\xE8\xE8\r\n", CdrSettings{}},
    };
    for (const Case& c : cases) EXPECT_TRUE(ParseCdrSettings(c.bytes) == c.want) << c.bytes;

    WordSettings w;
    w.arrowNo = 6;
    w.runMode = 2;
    EXPECT_TRUE(ParseWordSettings("T\r\n2\r\nA\r\n60\r\nD\r\nx4\r\n") == w);
}

TEST(ExportSettings, FilesRoundTrip) {
    QTemporaryDir dir;
    const std::string prog = dir.path().toStdString() + "/prog/";
    EXPECT_TRUE(LoadCdrSettings(prog) == CdrSettings{});  // no file: the defaults
    std::mt19937 gen(8101);
    for (int i = 0; i < 200; ++i) {
        CdrSettings c;
        c.version = std::uniform_int_distribution(8, 100)(gen);
        c.runMode = std::uniform_int_distribution(0, 2)(gen);
        c.groupMode = std::uniform_int_distribution(0, 1)(gen);
        c.ownArrows = gen() % 2;
        c.arrowNo = std::uniform_int_distribution(0, 90)(gen);
        c.dashNo = std::uniform_int_distribution(0, 30)(gen);
        WordSettings w;
        w.runMode = std::uniform_int_distribution(0, 2)(gen);
        w.arrowNo = std::uniform_int_distribution(1, 6)(gen);
        w.dashNo = std::uniform_int_distribution(1, 8)(gen);
        ASSERT_EQ(SaveCdrSettings(prog, c), "");
        ASSERT_EQ(SaveWordSettings(prog, w), "");
        EXPECT_TRUE(LoadCdrSettings(prog) == c);
        EXPECT_TRUE(LoadWordSettings(prog) == w);
    }
    std::ifstream in(prog + "CDR.txt", std::ios::binary);
    EXPECT_TRUE(in.good());
}

}  // namespace
}  // namespace pelmar
