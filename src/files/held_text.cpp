#include "files/held_text.h"

#include <QString>
#include <algorithm>
#include <unordered_set>

#include "files/word_table.h"
#include "platform/code_page.h"
#include "platform/symbol_encoding.h"

namespace pelmar {

namespace {

bool IsLineBreak(char32_t c) { return c == U'\n' || c == U'\r' || c == 0x2028 || c == 0x2029; }

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// The character `c` stands for in the document, 0 where it has none.
char32_t HeldChar(char32_t c, bool symbol) {
    if (IsControl(c)) return 0;
    if (symbol) {
        // The sign the picture shows, whether or not the code page has a
        // character of its own (× and © are shown at 0xB4 and 0xD3, not at
        // their code page bytes).
        const int code = SymbolCodeShowing(c);
        if (code >= 0) return Cp1251Char(static_cast<unsigned char>(code));
    }
    return Cp1251Byte(c) >= 0 ? c : 0;
}

// How a refused character is named: an invisible one by its number, a lone
// combining mark on a dotted circle.
QString NameOf(char32_t c) {
    const auto category = QChar::category(c);
    if (!QChar::isPrint(c) || category == QChar::Separator_Space || category == QChar::Separator_Line ||
        category == QChar::Separator_Paragraph)
        return QStringLiteral("U+%1").arg(static_cast<uint>(c), 4, 16, QChar('0')).toUpper();
    const QString sign = QString::fromUcs4(&c, 1);
    return QChar::isMark(c) ? QChar(0x25CC) + sign : sign;
}

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

HeldText HoldText(std::string_view utf8, bool symbol, TextLines lines, std::size_t limit) {
    HeldText out;
    const std::u32string chars = Q(utf8).normalized(QString::NormalizationForm_C).toStdU32String();
    std::u32string kept;
    kept.reserve(chars.size());
    std::unordered_set<char32_t> seen;
    std::size_t end = 0;  // the length without the breaks and tabs at the end of one line
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i];
        if (IsLineBreak(c) || c == U'\t') {
            if (c == U'\r' && i + 1 < chars.size() && chars[i + 1] == U'\n') ++i;
            kept.push_back(lines == TextLines::many && c != U'\t' ? U'\n' : U' ');
            if (lines == TextLines::many) end = kept.size();
        } else if (const char32_t held = HeldChar(c, symbol)) {
            kept.push_back(held);
            end = kept.size();
        } else if (seen.insert(c).second) {
            out.refused.push_back(c);
        }
    }
    kept.resize(end);
    if (kept.size() > limit) {
        kept.resize(limit);
        out.cut = true;
    }
    out.text = QString::fromStdU32String(kept).toStdString();
    return out;
}

std::string RefusedTextMessage(const WordTable& words, std::u32string_view refused, long long cutTo) {
    constexpr std::size_t MostNamed = 20;
    const bool russian = words.Said("ru", "en") == "ru";
    QString said;
    if (!refused.empty()) {
        QString list;
        for (std::size_t i = 0; i < std::min(refused.size(), MostNamed); ++i) {
            if (!list.isEmpty()) list += ", ";
            const QString sign = NameOf(refused[i]);
            list += russian ? QStringLiteral("«") + sign + QStringLiteral("»") : '"' + sign + '"';
        }
        if (refused.size() > MostNamed)
            list += Q(words.Said(" и ещё %1", " and %1 more")).arg(refused.size() - MostNamed);
        said = Q(refused.size() == 1 ? words.Said("Документ не может хранить знак %1: он не принят.",
                                                  "A document cannot hold the character %1: it was not taken.")
                                     : words.Said("Документ не может хранить знаки %1: они не приняты.",
                                                  "A document cannot hold the characters %1: they were not taken."))
                   .arg(list);
    }
    if (cutTo >= 0) {
        // "до 21 знака", "до 15 знаков".
        const bool one = russian ? cutTo % 10 == 1 && cutTo % 100 != 11 : cutTo == 1;
        const QString cut = Q(one ? words.Said("Текст обрезан до %1 знака.", "The text was cut to %1 character.")
                                  : words.Said("Текст обрезан до %1 знаков.", "The text was cut to %1 characters."))
                                .arg(cutTo);
        said = said.isEmpty() ? cut : said + ' ' + cut;
    }
    return said.toStdString();
}

}  // namespace pelmar
