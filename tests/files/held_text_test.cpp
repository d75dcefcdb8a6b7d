#include <gtest/gtest.h>

#include <QString>
#include <random>
#include <string>

#include "files/held_text.h"
#include "files/text_lines.h"
#include "platform/code_page.h"
#include "platform/symbol_encoding.h"

using namespace pelmar;

namespace {

std::string Utf8(const std::u32string& s) { return QString::fromStdU32String(s).toStdString(); }
std::u32string Chars(const std::string& s) { return QString::fromStdString(s).toStdU32String(); }

}  // namespace

// Whatever is typed, what is kept comes back from the file as it is, what is
// refused is what the file would lose, and a Symbol text keeps its signs.
TEST(HeldText, KeptTextsSurviveTheFileAndRefusedOnesWouldNot) {
    // ASCII, Cyrillic, the code page's signs, Greek, math and sub/superscript
    // signs, Latin-1 letters it lacks, a private-use Symbol code, a CJK
    // letter and a character beyond the BMP.
    const std::u32string pool = U"aZ9 _*АяЁё№–…€ωαβπΣ′″≤≥√∞∂°±½²×÷ÜßéŭǅĀ\uF061\uF0A2中😀";
    std::mt19937 rng(2026);
    for (int round = 0; round < 400; ++round) {
        std::u32string typed;
        for (int n = std::uniform_int_distribution<int>(0, 12)(rng); n > 0; --n)
            typed.push_back(pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(rng)]);
        for (const bool symbol : {false, true}) {
            const HeldText held = HoldText(Utf8(typed), symbol);
            ASSERT_EQ(Cp1251ToUtf8(Utf8ToCp1251(held.text)), held.text) << Utf8(typed);
            std::u32string kept;
            for (const char32_t c : typed) {
                const int code = symbol ? SymbolCodeOf(c) : -1;
                const bool lost = Cp1251Byte(c) < 0 && (code < 0 || Cp1251Char(static_cast<unsigned char>(code)) == 0);
                EXPECT_EQ(lost, held.refused.find(c) != std::u32string::npos) << Utf8(typed);
                if (!lost) kept.push_back(c);
            }
            const std::u32string out = Chars(held.text);
            ASSERT_EQ(out.size(), kept.size()) << Utf8(typed);
            for (std::size_t i = 0; i < kept.size(); ++i) {
                EXPECT_EQ(symbol ? SymbolCodeOf(out[i]) : static_cast<int>(out[i]),
                          symbol ? SymbolCodeOf(kept[i]) : static_cast<int>(kept[i]));
            }
        }
    }
    // The codes a document made on Windows holds for α and ′.
    EXPECT_EQ(HoldText("α′x", true).text, "a" + Cp1251ToUtf8("\xA2") + "x");
    EXPECT_EQ(HoldText("x²+π*y", false).refused, U"²π");
}
