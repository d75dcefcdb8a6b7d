#include <gtest/gtest.h>

#include <QString>
#include <random>

#include "files/held_text.h"
#include "files/text_lines.h"
#include "files/word_table.h"
#include "platform/code_page.h"
#include "platform/symbol_encoding.h"

using namespace pelmar;

// Kept characters survive the file; in a Symbol text a sign the font shows is drawn again from what the file keeps,
// and the field's form of the text reads back to the same codes.
TEST(HeldText, KeptTextsSurviveTheFileAndRefusedOnesWouldNot) {
    const std::u32string pool = U"aZ9 _*АяЁё№–…€ωαβπΣ′″≤≥√∞∂°±½²×÷©®¬♥→ÜßéŭǅĀ§¶ДµЂ\uF061\uF0A2中😀";
    std::mt19937 rng(2026);
    for (int round = 0; round < 800; ++round) {
        std::u32string typed(rng() % 13, U' '), kept;
        for (char32_t& c : typed) c = pool[rng() % pool.size()];
        const bool symbol = round % 2 == 1;
        const HeldText held = HoldText(QString::fromStdU32String(typed).toStdString(), symbol);
        ASSERT_EQ(Cp1251ToUtf8(Utf8ToCp1251(held.text)), held.text);
        if (symbol) {
            ASSERT_EQ(HoldText(SymbolShown(held.text), true).text, held.text);
        }
        for (const char32_t c : typed) {
            // In Symbol: a sign of the font, an ASCII code or µ.
            const int own = Cp1251Byte(c);
            const int sign = !symbol ? -1
                             : c == U'µ' ? 0x6D
                             : SymbolCodeShowing(c) >= 0 ? SymbolCodeShowing(c)
                             : c < 0x7F ? own : -2;
            const bool lost = symbol ? sign < 0 : own < 0;
            EXPECT_EQ(lost, held.refused.find(c) != std::u32string::npos) << held.text;
            if (lost) continue;
            kept += symbol ? Cp1251Char(static_cast<unsigned char>(sign)) : c;
            if (!symbol || c < 0x7F || !SymbolCodeChar(sign)) continue;
            const char32_t shown = c >= 0xF020 ? SymbolCodeChar(static_cast<int>(c - 0xF000)) : c == U'µ' ? U'μ' : c;
            EXPECT_EQ(SymbolCodeChar(SymbolCodeOf(kept.back())), shown) << "what the picture shows";
        }
        EXPECT_EQ(held.text, QString::fromStdU32String(kept).toStdString());
    }
}

// Line breaks, control characters, Symbol signs, composed letters and long pastes through the rule.
TEST(HeldText, TextCases) {
    const auto u8 = [](std::u32string_view s) { return QString::fromUcs4(s.data(), s.size()).toStdString(); };
    struct Case { std::u32string typed; bool symbol; TextLines lines; std::u32string text, refused; };
    const std::vector<Case> cases = {
        {U"A\n", false, TextLines::one, U"A", U""},
        {U"\nA\r\nB\rC\u2028D\u2029E\tF \r\n\t\n", false, TextLines::one, U" A B C D E F ", U""},
        {U"a\r\nb\tc\u0001\rd\n\n", false, TextLines::many, U"a\nb c\nd\n\n", U"\u0001"},
        {U"x\u0001y\u007F\u0085\u001Bz\u0001", false, TextLines::one, U"xyz", U"\u0001\u007F\u0085\u001B"},
        {U"×÷©®¬", false, TextLines::one, U"©®¬", U"×÷"},
        {U"×÷©®¬♥→α′…A1§¶ДЖ", true, TextLines::one, U"ґёУТШ©®aўјA1", U"§¶ДЖ"},
        {U"\u00A9\uFE0E\u2122\uFE0E\u2122\uFE00…\uFE0EЂр\uFE0E", true, TextLines::one, U"гдФј", U"Ђр"},
        {U"a\uFE0E-", false, TextLines::one, U"a-", U""},
        {U"и\u0306 Е\u0308 x\u0306", false, TextLines::one, U"й Ё x", U"\u0306"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HoldText(u8(c.typed), c.symbol, c.lines), (HeldText{u8(c.text), c.refused, false})) << u8(c.typed);
    std::u32string every;  // each code a Symbol text can hold: its field form reads back to it
    for (int b = 0x20; b <= 0xFF; ++b)
        if (SymbolCodeChar(b)) every += Cp1251Char(static_cast<unsigned char>(b));
    EXPECT_EQ(HoldText(SymbolShown(u8(every)), true), (HeldText{u8(every), U"", false}));
    EXPECT_EQ(SymbolShown(u8(U"a©®¬УТШ")), u8(U"α♥→←©®¬"));
    const WordTable words;
    EXPECT_EQ(RefusedTextMessage(words, U"\u0306\u0001"),
              u8(U"Документ не может хранить знаки «\u25CC\u0306», «U+0001»: они не приняты."));
    std::u32string paste(40001, U'a');  // a long paste: 30,000 different refused signs, then one letter more than fits
    for (char32_t c = 0; c < 30000; ++c) paste[c] = U'\u4E00' + c;
    const HeldText held = HoldText(u8(paste), false, TextLines::one, 10000);
    EXPECT_EQ(std::make_tuple(held.text, held.refused.size(), held.refused.back(), held.cut),
              std::make_tuple(std::string(10000, 'a'), 30000u, static_cast<char32_t>(U'\u4E00' + 29999), true));
    EXPECT_EQ(RefusedTextMessage(words, held.refused, 10000),
              u8(U"Документ не может хранить знаки «一», «丁», «丂», «七», «丄», «丅», «丆», «万», «丈», «三», "
                 U"«上», «下», «丌», «不», «与», «丏», «丐», «丑», «丒», «专» и ещё 29980: они не приняты. Текст "
                 U"обрезан до 10000 знаков."));
    EXPECT_EQ(RefusedTextMessage(words, U"", 21), "Текст обрезан до 21 знака.");
}

// Each code page character typed into a Symbol text is kept as a code the font draws it at (reading back through
// the field's form) or refused; refused are exactly those the font shows nowhere (§ ¶ Д “ ” – р я Ђ ...).
TEST(HeldText, EveryCodePageCharacterInSymbolIsShownOrRefused) {
    std::u32string refused, lacking;
    for (int b = 0x20; b <= 0xFF; ++b) {
        const char32_t c = Cp1251Char(static_cast<unsigned char>(b));
        if (c == 0x7F || c == 0x98) continue;  // control characters, refused in any text
        // No sign of the font, and not an ASCII stand-in.
        if (b >= 0x80 && c != U'µ' && SymbolCodeShowing(c) < 0) lacking += c;
        const std::string typed = QString::fromUcs4(&c, 1).toStdString();
        const HeldText held = HoldText(typed, true);
        if (!held.refused.empty()) {
            EXPECT_EQ(held, (HeldText{"", std::u32string(1, c), false})) << typed;
            refused += c;
            continue;
        }
        const std::u32string kept = QString::fromStdString(held.text).toStdU32String();
        ASSERT_EQ(kept.size(), 1u) << typed;
        const int code = Cp1251Byte(kept[0]);
        EXPECT_NE(SymbolCodeChar(code), 0) << typed << ": the font shows something at its code";
        EXPECT_EQ(HoldText(SymbolShown(held.text), true).text, held.text) << typed;
        EXPECT_TRUE(c < 0x7F || c == U'µ' || SymbolCodeShowing(c) == code) << typed << ": the code showing it";
    }
    EXPECT_EQ(refused, lacking);
    for (const char32_t c : std::u32string(U"“”‘’–—ряЂ§¶Д")) EXPECT_NE(refused.find(c), std::u32string::npos);
    // Byte 0x98, which has no character, reads and saves back as itself.
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8("A\x98z")), "A\x98z");
}
