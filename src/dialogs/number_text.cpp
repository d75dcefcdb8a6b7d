#include "dialogs/number_text.h"

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
