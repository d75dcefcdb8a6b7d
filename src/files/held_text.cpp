#include "files/held_text.h"

#include <QString>

#include "files/word_table.h"
#include "platform/code_page.h"
#include "platform/symbol_encoding.h"

namespace pelmar {

namespace {

// The character `c` stands for in the document, 0 where it has none.
char32_t HeldChar(char32_t c, bool symbol) {
    if (Cp1251Byte(c) >= 0) return c;
    if (!symbol) return 0;
    const int code = SymbolCodeOf(c);
    return code < 0 || code > 0xFF ? 0 : Cp1251Char(static_cast<unsigned char>(code));
}

}  // namespace

HeldText HoldText(std::string_view utf8, bool symbol) {
    HeldText out;
    const std::u32string chars = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toStdU32String();
    std::u32string kept;
    kept.reserve(chars.size());
    for (const char32_t c : chars) {
        if (const char32_t held = HeldChar(c, symbol)) kept.push_back(held);
        else if (out.refused.find(c) == std::u32string::npos) out.refused.push_back(c);
    }
    out.text = QString::fromStdU32String(kept).toStdString();
    return out;
}

std::string RefusedTextMessage(const WordTable& words, std::u32string_view refused) {
    const bool russian = words.Said("ru", "en") == "ru";
    QString list;
    for (const char32_t c : refused) {
        if (!list.isEmpty()) list += ", ";
        const QString sign = QString::fromUcs4(&c, 1);
        list += russian ? QStringLiteral("«") + sign + QStringLiteral("»") : '"' + sign + '"';
    }
    const std::string_view said =
        refused.size() == 1
            ? words.Said("Документ не может хранить знак %1: он не принят.",
                         "A document cannot hold the character %1: it was not taken.")
            : words.Said("Документ не может хранить знаки %1: они не приняты.",
                         "A document cannot hold the characters %1: they were not taken.");
    return QString::fromUtf8(said.data(), static_cast<qsizetype>(said.size())).arg(list).toStdString();
}

}  // namespace pelmar
