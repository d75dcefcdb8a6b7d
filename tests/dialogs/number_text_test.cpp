#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "dialogs/number_text.h"

using namespace pelmar;

TEST(ReadNumber, CommaOrPointNothingElse) {
    struct Case {
        const char* text;
        std::optional<double> want;
    };
    const Case cases[] = {
        {"1,5", 1.5},        {"1.5", 1.5},         {"-273,15", -273.15}, {" 12 ", 12},        {",5", 0.5},
        {"5,", 5},           {"1,5E-6", 1.5e-6},   {"2.5e3", 2500},      {"-0", -0.0},        {"+7", 7},
        {"", std::nullopt},  {"-", std::nullopt},  {",", std::nullopt},  {"1,5,3", std::nullopt},
        {"1.5,3", std::nullopt}, {"1-2", std::nullopt}, {"1e999", std::nullopt}, {"NAN", std::nullopt},
        {"INF", std::nullopt}, {"12a", std::nullopt}, {"E5", std::nullopt}, {"1 000", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto got = ReadNumber(c.text);
        ASSERT_EQ(got.has_value(), c.want.has_value()) << c.text;
        if (got) {
            EXPECT_EQ(*got, *c.want) << c.text;
            EXPECT_EQ(std::signbit(*got), std::signbit(*c.want)) << c.text;
        }
    }
}

// Whatever a double is, its text reads back as the same number to 15
// significant digits, shows again as the same text, and reads the same with a
// point in place of the comma.
TEST(ReadNumber, ShownNumbersReadBack) {
    std::mt19937_64 rng(16);
    std::uniform_real_distribution<double> mant(-10, 10);
    std::uniform_int_distribution<int> expo(-30, 30);
    for (int i = 0; i < 20000; ++i) {
        const double v = mant(rng) * std::pow(10.0, expo(rng));
        const std::string shown = NumberText(v);
        const auto back = ReadNumber(shown);
        ASSERT_TRUE(back) << shown;
        EXPECT_LE(std::abs(*back - v), std::abs(v) * 1e-14) << shown;
        EXPECT_EQ(NumberText(*back), shown);
        std::string dotted = shown;
        for (char& c : dotted)
            if (c == ',') c = '.';
        EXPECT_EQ(ReadNumber(dotted), back) << dotted;
    }
}

// The filter over random insertions at random places: it keeps a
// subsequence of what was inserted, only characters the edit allows, never a
// second comma, a minus only at the start of the number, and what it lets
// through passes it again unchanged.
TEST(FilterNumericInsert, KeepsOnlyWhatTheKeyFilterAllows) {
    std::mt19937 rng(7);
    const std::string alphabet = "0123456789,.-+eE a\b\t";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1), len(0, 8);
    for (int i = 0; i < 20000; ++i) {
        const bool minus = i & 1, comma = i & 2;
        std::string base, ins;
        for (std::size_t n = len(rng); n > 0; --n) base += alphabet[pick(rng)];
        base = FilterNumericInsert("", base, "", minus, comma).kept;
        for (std::size_t n = len(rng); n > 0; --n) ins += alphabet[pick(rng)];
        const std::size_t at = std::uniform_int_distribution<std::size_t>(0, base.size())(rng);
        const std::string head = base.substr(0, at), tail = base.substr(at);
        const NumericInsert got = FilterNumericInsert(head, ins, tail, minus, comma);
        const std::string& out = got.kept;

        std::size_t from = 0;  // out is a subsequence of ins, the point read as the comma
        for (char c : out) {
            while (from < ins.size() && !(ins[from] == c || (c == ',' && ins[from] == '.'))) ++from;
            ASSERT_LT(from, ins.size()) << ins << " -> " << out;
            ++from;
        }
        const std::string all = head + out + tail;
        for (char c : all) EXPECT_TRUE((c >= '0' && c <= '9') || (c == '-' && minus) || (c == ',' && comma)) << all;
        EXPECT_LE(std::count(all.begin(), all.end(), ','), 1) << all;
        EXPECT_EQ(all.find('-', 1), std::string::npos) << all;
        EXPECT_EQ(got.minusRefused, std::count(ins.begin(), ins.end(), '-') !=
                                        std::count(out.begin(), out.end(), '-')) << ins;
        EXPECT_EQ(FilterNumericInsert(head, out, tail, minus, comma).kept, out);
    }
    EXPECT_EQ(FilterNumericInsert("1,5", "2.5", "", true, true).kept, "25");
    EXPECT_EQ(FilterNumericInsert("", "-3.25", "", true, true).kept, "-3,25");
    EXPECT_EQ(FilterNumericInsert("", "-3.25", "", false, false).kept, "325");
    EXPECT_EQ(FilterNumericInsert("7", "-3", "", true, true).kept, "3");
    EXPECT_EQ(FilterNumericInsert("", "-", "-5", true, true).kept, "");
}
