#include "dialogs/number_text.h"

#include <cmath>
#include <limits>

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

std::string FilterNumericInsert(std::string_view base, std::string_view inserted, bool allowMinus,
                                bool allowComma) {
    std::string seen(base);  // what the comma test looks at
    std::string out;
    for (char c : inserted) {
        if (c == '.' && allowComma) c = ',';
        if (NumKeyFilter(seen, static_cast<unsigned char>(c), allowMinus, allowComma) == 0 || c == 8) continue;
        seen += c;
        out += c;
    }
    return out;
}

}  // namespace pelmar
