#include <gtest/gtest.h>

#include <QString>
#include <random>

#include "files/held_text.h"
#include "files/text_lines.h"
#include "platform/code_page.h"
#include "platform/symbol_encoding.h"

using namespace pelmar;

TEST(HeldText, KeptTextsSurviveTheFileAndRefusedOnesWouldNot) {
    const std::u32string pool = U"aZ9 _*АяЁё№–…€ωαβπΣ′″≤≥√∞∂°±½²×÷ÜßéŭǅĀ\uF061\uF0A2中😀";
    std::mt19937 rng(2026);
    for (int round = 0; round < 800; ++round) {
        std::u32string typed(rng() % 13, U' '), kept;
        for (char32_t& c : typed) c = pool[rng() % pool.size()];
        const bool symbol = round % 2 == 1;
        const HeldText held = HoldText(QString::fromStdU32String(typed).toStdString(), symbol);
        ASSERT_EQ(Cp1251ToUtf8(Utf8ToCp1251(held.text)), held.text);
        for (const char32_t c : typed) {
            const bool lost = Cp1251Byte(c) < 0 && (!symbol || SymbolCodeOf(c) < 0);
            EXPECT_EQ(lost, held.refused.find(c) != std::u32string::npos) << held.text;
            if (!lost) kept += Cp1251Byte(c) >= 0 ? c : Cp1251Char(static_cast<unsigned char>(SymbolCodeOf(c)));
        }
        EXPECT_EQ(held.text, QString::fromStdU32String(kept).toStdString());
    }
    EXPECT_EQ(HoldText("α′x", true).text, "a" + Cp1251ToUtf8("\xA2") + "x");  // as documents made on Windows hold them
}
