#include "files/number_text.h"

#include <cmath>
#include <limits>

#include "files/word_table.h"
#include "model/units.h"

namespace pelmar {

std::string NumberText(double v) { return FloatToStr(v, ','); }

std::optional<double> ReadNumber(std::string_view text) {
    std::string t(text);
    bool digit = false;
    for (char& c : t) {
        if (c == '.') c = ',';
        if (c >= '0' && c <= '9') digit = true;
    }
    // EditToFloat reads "" and "-" as zero after its exit fix; here they are
    // no number yet.
    if (!digit) return std::nullopt;
    return EditToFloat(t, ',');
}

std::optional<int> ReadWholeNumber(std::string_view text) {
    const std::optional<double> v = ReadNumber(text);
    if (!v) return std::nullopt;
    const double r = std::nearbyint(*v);
    if (!(r >= std::numeric_limits<int>::min() && r <= std::numeric_limits<int>::max())) return std::nullopt;
    return static_cast<int>(r);
}

WholeText ReadWholeText(std::string_view text, int minValue, int maxValue) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        if (minValue >= 0) return {};
        ++i;
    }
    bool digits = false, separator = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if ((c == ',' || c == '.') && !separator) {
            separator = true;
        } else {
            return {};
        }
    }
    if (!digits) return {WholeTextState::Intermediate, 0};
    const std::optional<int> v = ReadWholeNumber(text);
    if (!v) return {};
    const bool negative = text.front() == '-';
    // More digits move a number away from zero: a positive one below the
    // range or a negative one above it may still reach it.
    if (*v < minValue) return {negative ? WholeTextState::Invalid : WholeTextState::Intermediate, *v};
    if (*v > maxValue) return {negative ? WholeTextState::Intermediate : WholeTextState::Invalid, *v};
    return {WholeTextState::Acceptable, *v};
}

NumericInsert FilterNumericInsert(std::string_view head, std::string_view inserted, std::string_view tail,
                                  bool allowMinus, bool allowComma) {
    std::string seen = std::string(head) + std::string(tail);  // what the comma test looks at
    NumericInsert out;
    // Nothing goes before the sign.
    const bool beforeSign = head.empty() && !tail.empty() && tail.front() == '-';
    for (char c : inserted) {
        if (c == '.' && allowComma) c = ',';
        if (c == '-') {
            // A sign stands only before the digits.
            const bool first = head.empty() && out.kept.empty() && tail.find('-') == std::string_view::npos;
            if (!allowMinus || !first) {
                out.minusRefused = true;
                continue;
            }
        } else if (beforeSign || NumKeyFilter(seen, static_cast<unsigned char>(c), allowMinus, allowComma) == 0 ||
                   c == 8) {
            continue;
        }
        seen += c;
        out.kept += c;
    }
    return out;
}

std::string WholeNote(const WordTable& words, int taken) {
    return FillIn(words.Said("Здесь только целые числа: взято %1.", "Whole numbers only here: %1 was taken."),
                  {std::to_string(taken)});
}

std::string RangeNote(const WordTable& words, int lo, int hi, int taken) {
    return FillIn(words.Said("Допустимо от %1 до %2: взято %3.", "Allowed from %1 to %2: %3 was taken."),
                  {std::to_string(lo), std::to_string(hi), std::to_string(taken)});
}

std::string ChangedNote(const WordTable& words, double taken) {
    return FillIn(words.Said("Объект принял %1.", "The object took %1."), {NumberText(taken)});
}

std::string EmptyNote(const WordTable& words, double taken) {
    return FillIn(words.Said("Здесь нужно число: взято %1.", "A number is needed here: %1 was taken."),
                  {NumberText(taken)});
}

std::string LimitNote(const WordTable& words, LimitCase what) {
    switch (what) {
        case LimitCase::Pixels:
            return std::string(words.Said("Не больше 1 000 000 пикселей по модулю: значение не взято.",
                                          "At most 1,000,000 pixels either way: the value was not taken."));
        case LimitCase::Reach:
            return std::string(
                words.Said("Объект вышел бы за 1 000 000 пикселей от начала координат: значение не взято.",
                           "The object would reach past 1,000,000 pixels from the origin: the value was not taken."));
        case LimitCase::Number: break;
    }
    return std::string(words.Said("Не больше 1 000 000 по модулю: значение не взято.",
                                  "At most 1,000,000 either way: the value was not taken."));
}

std::string MinusNote(const WordTable& words, bool allowMinus) {
    return std::string(allowMinus ? words.Said("Минус ставится только в начале числа.", "A minus goes only at the start of the number.")
                                  : words.Said("Это число не бывает отрицательным.", "This number is never negative."));
}

std::string BoundsNote(const WordTable& words, int lo, int hi) {
    return FillIn(words.Said("Допустимо от %1 до %2.", "Allowed from %1 to %2."), {std::to_string(lo), std::to_string(hi)});
}

std::string NotNumberNote(const WordTable& words, std::string_view refused) {
    if (refused.empty())
        return std::string(words.Said("Здесь только число: вставленный текст не принят.",
                                      "A number only here: the text inserted was not taken."));
    // At most 24 characters of what was refused, cut at a character's start.
    std::string shown(refused);
    std::size_t chars = 0, cut = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if ((static_cast<unsigned char>(shown[i]) & 0xC0) == 0x80) continue;
        if (chars++ == 24) {
            cut = i;
            break;
        }
    }
    if (cut != 0) shown = shown.substr(0, cut) + "…";
    for (char& c : shown)
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    return FillIn(words.Said("Здесь только число: «%1» не принято.", "A number only here: \"%1\" was not taken."), {shown});
}

}  // namespace pelmar
