// Preparation of formula texts and substitution of the variable.
#include <array>
#include <bitset>
#include <cfloat>
#include <cmath>
#include <string>
#include <string_view>

#include "drawing/formula_internal.h"

namespace pelmar {

namespace {

using formula::LowerAZ;

// The decimal separator of prepared texts.  Users may type either "." or ",";
// both become this one.
constexpr char kDecimalSeparator = '.';
// The text of pi as the variable's values are written.
constexpr std::string_view kPiText = "3.14159265358979";
// Only the first characters of a parameter text count.
constexpr std::size_t kParameterTextLength = 15;

void ReplaceChar(std::string& s, char from, char to) {
    for (char& c : s)
        if (c == from) c = to;
}

std::string ReplaceAll(const std::string& s, std::string_view from, std::string_view to) {
    std::string r;
    r.reserve(s.size());
    std::size_t i = 0;
    for (;;) {
        const std::size_t j = s.find(from, i);
        if (j == std::string::npos) break;
        r.append(s, i, j - i);
        r.append(to);
        i = j + from.size();
    }
    r.append(s, i, std::string::npos);
    return r;
}

// The closing bracket of the bracket at open, or s.size() when it has none.
std::size_t ClosingBracket(const std::string& s, std::size_t open) {
    int depth = 0;
    for (std::size_t j = open; j < s.size(); ++j) {
        if (s[j] == '(') ++depth;
        if (s[j] == ')' && --depth == 0) return j;
    }
    return s.size();
}

bool FitsDouble(Ext v) { return std::fabs(v) <= static_cast<Ext>(DBL_MAX); }

enum class Dist { Norm, Fisher, Chisq, Student };

// Takes the parameters of the first occurrence of pattern ("norm(" ...) out of s.
// Parameters are looked for only inside the function's own brackets: the first
// "," directly inside them starts the first parameter, which runs to the next
// "," or ")"; norm and fisher read a second parameter up to the next ")".
void ExtractParameters(std::string& s, std::string_view pattern, Dist kind, DistributionParameters& p) {
    const std::size_t at = s.find(pattern);
    if (at == std::string::npos) return;
    const std::size_t open = at + pattern.size() - 1;
    const std::size_t close = ClosingBracket(s, open);
    std::size_t comma = std::string::npos;
    int depth = 1;
    for (std::size_t j = open + 1; j < close; ++j) {
        if (s[j] == '(') ++depth;
        if (s[j] == ')') --depth;
        if (s[j] == ',' && depth == 1) {
            comma = j;
            break;
        }
    }
    if (comma == std::string::npos) return;

    auto cut = [](const std::string& t) {
        std::string r = t.substr(0, kParameterTextLength);
        ReplaceChar(r, '.', kDecimalSeparator);
        return r;
    };
    std::size_t end1 = s.find_first_of(",)", comma + 1);
    if (end1 == std::string::npos || end1 > close) end1 = close;
    const std::string first = cut(s.substr(comma + 1, end1 - comma - 1));
    std::string second;
    std::size_t eraseEnd = end1;
    const bool two = kind == Dist::Norm || kind == Dist::Fisher;
    if (two && end1 < close && s[end1] == ',') {
        std::size_t end2 = s.find(')', end1 + 1);
        if (end2 == std::string::npos || end2 > close) end2 = close;
        second = cut(s.substr(end1 + 1, end2 - end1 - 1));
        eraseEnd = end2;
    }
    s.erase(comma, eraseEnd - comma);

    switch (kind) {
    case Dist::Norm:
        if (!first.empty() && !second.empty()) {
            Ext mu, sigma;
            if (ReadFormulaNumber(first, mu) && ReadFormulaNumber(second, sigma) && FitsDouble(mu) &&
                FitsDouble(sigma)) {
                p.NormMu = static_cast<double>(mu);
                p.NormSigma = static_cast<double>(sigma);
            } else {
                p.NormMu = 0;
                p.NormSigma = 0;
            }
        }
        break;
    case Dist::Fisher:
        if (!first.empty() && !second.empty()) {
            std::int32_t m, n;
            if (formula::ReadIntegerText(first, m) && formula::ReadIntegerText(second, n)) {
                p.FisherM = m;
                p.FisherN = n;
            } else {
                p.FisherM = 1;
                p.FisherN = 0;
            }
        }
        break;
    case Dist::Chisq:
    case Dist::Student:
        if (!first.empty()) {
            std::int32_t n;
            if (!formula::ReadIntegerText(first, n)) n = 1;
            (kind == Dist::Chisq ? p.ChisqN : p.StudentN) = n;
        }
        break;
    }
}

void Prepare(std::string& s, std::string_view vars, DistributionParameters* params) {
    // 1-4: dollar signs, the number set, blanks, letter case.
    ReplaceChar(s, '$', '1');
    std::bitset<256> numberSet;
    for (char c = '0'; c <= '9'; ++c) numberSet.set(static_cast<unsigned char>(c));
    numberSet.set(static_cast<unsigned char>(kDecimalSeparator));
    for (char c : vars) numberSet.set(static_cast<unsigned char>(c));
    std::erase(s, ' ');
    LowerAZ(s);

    // 5: distribution parameters.
    if (params) {
        ExtractParameters(s, "norm(", Dist::Norm, *params);
        ExtractParameters(s, "fisher(", Dist::Fisher, *params);
        ExtractParameters(s, "chisq(", Dist::Chisq, *params);
        ExtractParameters(s, "student(", Dist::Student, *params);
    }

    // 6-8: decimal separator, pi, ":".
    if (kDecimalSeparator == '.')
        ReplaceChar(s, ',', '.');
    else
        ReplaceChar(s, '.', ',');
    if (s.find("pi") != std::string::npos) s = ReplaceAll(s, "pi", kPiText);
    ReplaceChar(s, ':', '/');

    // 9: bars, in pairs: the first opens abs(, the second closes it.
    if (s.find('|') != std::string::npos) {
        std::string r;
        r.reserve(s.size() + 8);
        bool open = false;
        for (char c : s) {
            if (c == '|') {
                r += open ? ")" : "abs(";
                open = !open;
            } else {
                r += c;
            }
        }
        s = std::move(r);
    }

    // 10: every run of number-set characters between "#" marks.
    std::string r;
    r.reserve(s.size() + s.size() / 2 + 2);
    for (std::size_t i = 0; i < s.size();) {
        if (numberSet.test(static_cast<unsigned char>(s[i]))) {
            r += '#';
            while (i < s.size() && numberSet.test(static_cast<unsigned char>(s[i]))) r += s[i++];
            r += '#';
        } else {
            r += s[i++];
        }
    }
    s = std::move(r);
}

}  // namespace

void PrepareFormula(std::string& s, std::string_view vars, DistributionParameters& params) {
    Prepare(s, vars, &params);
}

void PrepareFormulaLight(std::string& s, std::string_view vars) { Prepare(s, vars, nullptr); }

void SubstVar(const std::string& src, char letter, Ext value, std::string& dest) {
    // One pass: the text of the value is never searched again.
    const std::size_t first = src.find(letter);
    if (first == std::string::npos) {
        dest = src;
        return;
    }
    const std::string v = FormulaNumberText(value);
    std::string r;
    r.reserve(src.size() + 8 * v.size());
    r.append(src, 0, first);
    for (std::size_t i = first; i < src.size(); ++i) {
        if (src[i] == letter)
            r += v;
        else
            r += src[i];
    }
    dest = std::move(r);
}

bool HasNamedFunction(std::string_view s) {
    std::string t(s);
    LowerAZ(t);
    for (int k = 0; k < formula::kNameCount; ++k)
        if (k != formula::kAbs && t.find(formula::kNames[static_cast<std::size_t>(k)]) != std::string::npos)
            return true;
    return false;
}

}  // namespace pelmar
