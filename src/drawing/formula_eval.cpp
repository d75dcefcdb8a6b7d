// The text evaluator: rewrites a prepared, substituted formula text step by step
// until one number is left.  A number is the text between two "#" marks; every
// result is written back into the text as a number (so rounded to 15
// significant digits).  Phases: brackets, named functions, "^", "*" and "/",
// then the sum of the signed terms.
#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

#include "drawing/formula_internal.h"

namespace pelmar {

namespace {

using namespace formula;

constexpr std::size_t npos = std::string::npos;

// Writes "#" x "#" at pos; false (and nothing written) for a value that is
// not finite, which no number text can hold.
bool PutNumber(std::string& w, std::size_t pos, Ext x) {
    if (!std::isfinite(x)) return false;
    w.insert(pos, Join({"#", GeneralText(x, false), "#"}));
    return true;
}

// The number whose opening mark is assumed at p + 1 (p = -1: the start of the
// text): read up to the next mark or the end, and delete marks and number.
bool TakeRightNumber(std::string& w, std::ptrdiff_t p, Ext& x) {
    const auto open = static_cast<std::size_t>(p + 1);
    if (open >= w.size()) return false;
    const std::size_t from = open + 1;
    std::size_t close = w.find('#', from);
    if (close == npos) close = w.size();
    const bool ok = ReadFormulaNumber(std::string_view(w).substr(from, close - from), x);
    w.erase(open, close < w.size() ? close - open + 1 : npos);
    return ok;
}

// The number whose closing mark is assumed at p - 1, p being an operator's
// position: its opening mark is the last "#" at or before p - 2.  Deletes the
// number with its marks, so that the operator then stands at start.
bool TakeLeftNumber(std::string& w, std::size_t p, std::size_t& start, Ext& x) {
    if (p < 2) return false;
    const std::size_t s = w.rfind('#', p - 2);
    if (s == npos) return false;
    if (!ReadFormulaNumber(std::string_view(w).substr(s + 1, p - 2 - s), x)) return false;
    w.erase(s, p - s);
    start = s;
    return true;
}

// Phases 2 to 5 on a text without brackets.
bool EvalFlat(std::string w, bool allNames, DistConsts& d, Ext& value) {
    // Named functions: the one latest in the table order among those present
    // is applied first, at its first occurrence.
    for (;;) {
        int best = -1;
        std::size_t bestPos = 0;
        for (int k = 0; k < kNameCount; ++k) {
            if (!allNames && k != kAbs) continue;
            const std::size_t pos = w.find(kNames[static_cast<std::size_t>(k)]);
            if (pos != npos) {
                best = k;
                bestPos = pos;
            }
        }
        if (best < 0) break;
        const std::size_t len = kNames[static_cast<std::size_t>(best)].size();
        Ext x, r;
        if (!TakeRightNumber(w, static_cast<std::ptrdiff_t>(bestPos + len - 1), x)) return false;
        w.erase(bestPos, len);
        if (!ApplyNamedFunction(best, x, d, r)) return false;
        if (!PutNumber(w, bestPos, r)) return false;
    }

    // Powers, left to right.
    for (std::size_t p; (p = w.find('^')) != npos;) {
        Ext x, y, r;
        std::size_t start;
        if (!TakeRightNumber(w, static_cast<std::ptrdiff_t>(p), y)) return false;
        if (!TakeLeftNumber(w, p, start, x)) return false;
        w.erase(start, 1);
        if (!PowerOp(x, y, r)) return false;
        if (!PutNumber(w, start, r)) return false;
    }

    // Products and quotients, left to right.
    for (std::size_t p; (p = w.find_first_of("*/")) != npos;) {
        const char op = w[p];
        Ext x, y, r;
        std::size_t start;
        if (!TakeRightNumber(w, static_cast<std::ptrdiff_t>(p), y)) return false;
        if (!TakeLeftNumber(w, p, start, x)) return false;
        w.erase(start, 1);
        if (op == '*') {
            r = x * y;
        } else {
            if (std::fabs(y) < kNearZero) return false;
            r = x / y;
        }
        if (!PutNumber(w, start, r)) return false;
    }

    // The sum: each term is a run of signs and a number.
    value = 0;
    std::size_t i = 0;
    do {
        int sign = 1;
        for (; i < w.size() && w[i] != '#'; ++i) {
            if (w[i] == '-')
                sign = -sign;
            else if (w[i] != '+')
                return false;
        }
        if (i >= w.size()) return false;
        const std::size_t from = i + 1;
        std::size_t close = w.find('#', from);
        if (close == npos) close = w.size();
        Ext x;
        if (!ReadFormulaNumber(std::string_view(w).substr(from, close - from), x)) return false;
        i = close < w.size() ? close + 1 : w.size();
        value = value + static_cast<Ext>(sign) * x;
    } while (i < w.size());
    return true;
}

// Brackets first: each pair is evaluated as a formula of its own and replaced
// by its value.  Innermost pairs go first, which gives the same texts as
// evaluating outer pairs recursively but needs no recursion; a bracket left
// open is closed at the end of the text.
bool EvalText(std::string w, bool allNames, DistConsts& d, Ext& value) {
    std::vector<std::size_t> opens;
    // Replaces w[o, end) by the value of the text between o + 1 and innerEnd.
    auto replaceGroup = [&](std::size_t o, std::size_t innerEnd, std::size_t end) {
        Ext v;
        if (!EvalFlat(w.substr(o + 1, innerEnd - o - 1), true, d, v)) return false;
        if (!std::isfinite(v)) return false;
        w.replace(o, end - o, Join({"#", GeneralText(v, false), "#"}));
        return true;
    };
    for (std::size_t i = 0; i < w.size(); ++i) {
        if (w[i] == '(') {
            opens.push_back(i);
        } else if (w[i] == ')' && !opens.empty()) {
            const std::size_t o = opens.back();
            opens.pop_back();
            if (!replaceGroup(o, i, i + 1)) return false;
            i = w.find('#', o + 1);  // the closing mark of the new number
        }
    }
    while (!opens.empty()) {
        const std::size_t o = opens.back();
        opens.pop_back();
        if (!replaceGroup(o, w.size(), w.size())) return false;
    }
    return EvalFlat(std::move(w), allNames, d, value);
}

bool Finish(bool ok, Ext v, Ext& value) {
    if (!ok || !std::isfinite(v) || std::fabs(v) > static_cast<Ext>(DBL_MAX)) return false;
    value = v;
    return true;
}

}  // namespace

bool CalcFormula(const std::string& s, Ext& value, const DistributionParameters& params) {
    DistConsts d(params);
    Ext v = 0;
    const bool ok = EvalText(s, true, d, v);
    return Finish(ok, v, value);
}

bool CalcSimple(const std::string& s, Ext& value, const DistributionParameters& params) {
    DistConsts d(params);
    Ext v = 0;
    const bool ok = EvalText(s, false, d, v);
    return Finish(ok, v, value);
}

}  // namespace pelmar
