#include "files/held_text.h"

#include <QString>
#include <algorithm>
#include <array>
#include <map>
#include <unordered_set>

#include "files/word_table.h"
#include "platform/code_page.h"
#include "platform/symbol_encoding.h"

namespace pelmar {

namespace {

bool IsLineBreak(char32_t c) { return c == U'\n' || c == U'\r' || c == 0x2028 || c == 0x2029; }

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

bool IsVariationSelector(char32_t c) { return c >= 0xFE00 && c <= 0xFE0F; }

// What tells apart the codes that show one sign: nothing after the first,
// then these.
constexpr char32_t FormTags[] = {0xFE0E, 0xFE00, 0xFE01};

// The field form of each Symbol code and the code of each form.
struct SymbolForms {
    std::array<std::u32string, 256> shown;
    std::map<std::u32string, int> code;
};

const SymbolForms& Forms() {
    static const SymbolForms forms = [] {
        SymbolForms f;
        std::map<char32_t, std::size_t> uses;
        auto add = [&](int code, char32_t sign) {
            const std::size_t n = uses[sign]++;
            if (n > std::size(FormTags)) return;
            std::u32string form(1, sign);
            if (n > 0) form.push_back(FormTags[n - 1]);
            f.shown[static_cast<std::size_t>(code)] = form;
            f.code.emplace(form, code);
        };
        // Only the font's own signs: a code the font shows nothing at (the
        // code page's “ ” – — р я Ђ ...) would be drawn as nothing, so the
        // character of that byte is refused like any other the font lacks.
        for (int code = 0x20; code <= 0xFF; ++code)
            if (const char16_t sign = SymbolCodeChar(code)) add(code, sign);
        return f;
    }();
    return forms;
}

// The Symbol code the characters at `i` stand for, -1 for none; a variation
// selector that belongs to the sign is taken along (i moves past it).
int SymbolCodeAt(const std::u32string& chars, std::size_t& i) {
    const SymbolForms& forms = Forms();
    const char32_t c = chars[i];
    if (i + 1 < chars.size() && IsVariationSelector(chars[i + 1])) {
        if (const auto at = forms.code.find(std::u32string{c, chars[i + 1]}); at != forms.code.end()) {
            ++i;
            return at->second;
        }
    }
    if (const auto at = forms.code.find(std::u32string(1, c)); at != forms.code.end()) return at->second;
    if (c >= 0x20 && c < 0x7F) return static_cast<int>(c);  // typed "a" is α
    if (c == 0xB5) return 0x6D;                             // µ is μ
    if (c >= 0xF020 && c <= 0xF0FF && !forms.shown[c - 0xF000].empty()) return static_cast<int>(c - 0xF000);
    return -1;
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
        if (IsVariationSelector(c)) continue;
        if (IsLineBreak(c) || c == U'\t') {
            if (c == U'\r' && i + 1 < chars.size() && chars[i + 1] == U'\n') ++i;
            kept.push_back(lines == TextLines::many && c != U'\t' ? U'\n' : U' ');
            if (lines == TextLines::many) end = kept.size();
            continue;
        }
        char32_t held = 0;
        if (!IsControl(c)) {
            if (!symbol) held = Cp1251Byte(c) >= 0 ? c : 0;
            else if (const int code = SymbolCodeAt(chars, i); code >= 0)
                held = Cp1251Char(static_cast<unsigned char>(code));
        }
        if (held) {
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

std::string SymbolShown(std::string_view held) {
    const SymbolForms& forms = Forms();
    std::u32string out;
    for (const char32_t c : Q(held).toStdU32String()) {
        const int code = Cp1251Byte(c);
        if (code >= 0x20 && !forms.shown[static_cast<std::size_t>(code)].empty())
            out += forms.shown[static_cast<std::size_t>(code)];
        else
            out.push_back(c);
    }
    return QString::fromStdU32String(out).toStdString();
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
