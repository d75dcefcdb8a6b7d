#include "dialogs/formula_check.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <initializer_list>
#include <vector>

#include "drawing/formula.h"
#include "files/word_table.h"

namespace pelmar {

namespace {

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

std::string Lowered(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A right side subtracted as it is: no sign of its own and no sum outside
// brackets.
bool NeedsBrackets(std::string_view rhs) {
    int depth = 0;
    for (std::size_t i = 0; i < rhs.size(); ++i) {
        const char c = rhs[i];
        if (c == '(') ++depth;
        if (c == ')') --depth;
        if ((c == '+' || c == '-') && depth == 0) return true;
    }
    return false;
}

// The formula meant by "lhs = rhs" in a field whose label names `named`.
std::string Equation(std::string_view lhs, std::string_view rhs, char named) {
    if (named && Lowered(lhs) == std::string(1, named)) return std::string(rhs);
    if (rhs == "0") return std::string(lhs);
    return std::string(lhs) + "-" + (NeedsBrackets(rhs) ? "(" + std::string(rhs) + ")" : std::string(rhs));
}

// The names the evaluator knows, longest first where one begins another.
constexpr std::array<std::string_view, 18> Names = {"arcsin", "arccos", "arcctg", "arctg", "student", "fisher",
                                                    "chisq",  "gamma",  "norm",   "abs",   "sin",     "cos",
                                                    "ctg",    "tg",     "ln",     "lg",    "eks",     "pi"};

// Whether a run of letters is names and variables one after the other
// ("sinx", "pix").
bool KnownRun(std::string_view run, std::string_view vars) {
    std::vector<bool> reach(run.size() + 1, false);
    reach[0] = true;
    for (std::size_t i = 0; i < run.size(); ++i) {
        if (!reach[i]) continue;
        if (vars.find(run[i]) != std::string_view::npos) reach[i + 1] = true;
        for (std::string_view n : Names)
            if (run.substr(i, n.size()) == n) reach[i + n.size()] = true;
    }
    return reach[run.size()];
}

// The first run of letters that is neither names nor variables; empty when
// there is none.
std::string UnknownLetters(std::string_view text, std::string_view vars) {
    const std::string s = Lowered(text);
    for (std::size_t i = 0; i < s.size();) {
        if (!IsLetter(s[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < s.size() && IsLetter(s[end])) ++end;
        const std::string_view run = std::string_view(s).substr(i, end - i);
        if (!KnownRun(run, vars)) return std::string(run);
        i = end;
    }
    return {};
}

// Whether every bracket pairs with one of the other kind: no ")" before its
// "(" and no "(" left open.  The drawer reads "(x+1" as x+1 (a document may
// hold such a formula, and draws as it always did), but the field tells it
// as it tells "x+1)".
bool BracketsPair(std::string_view text) {
    int depth = 0;
    for (const char c : text) {
        if (c == '(') ++depth;
        if (c == ')' && --depth < 0) return false;
    }
    return depth == 0;
}

// Points spread over the scales graphs are drawn at, the awkward values of
// the named functions (0, 1, -1) among them.
constexpr std::array<double, 17> Spread = {0.37, -0.37, 1.3,  -1.3, 2.9, -2.9, 7.1, -7.1, 31,
                                           -31,  250,   -250, 4000, -4000, 0,  1,    -1};

// The text with the value in brackets for every `letter`, as the drawer
// puts a section's or a column's value in.
std::string Put(std::string_view text, char letter, double value) {
    const std::string with = "(" + FormulaNumberText(value) + ")";
    std::string r;
    for (char c : text) {
        if (c == letter) r += with;
        else r += c;
    }
    return r;
}

// Whether the formula gives a value at any point of the spread.
bool GivesValue(std::string_view text, FormulaField field) {
    const std::string base = field.folded ? Lowered(text) : std::string(text);
    const bool hasY = field.vars.find('y') != std::string_view::npos;
    const bool hasZ = field.vars.find('z') != std::string_view::npos;
    const std::size_t ys = hasY ? Spread.size() : 1, zs = hasZ ? Spread.size() : 1;
    for (std::size_t j = 0; j < ys; ++j)
        for (std::size_t k = 0; k < zs; ++k) {
            std::string s = hasY ? Put(base, 'y', Spread[j]) : base;
            if (hasZ) s = Put(s, 'z', Spread[k]);
            DistributionParameters params;
            const Formula f = Formula::Prepare(s, true, params);
            for (const double x : Spread) {
                Ext v = 0;
                if (f.Calc(x, v)) return true;
            }
        }
    return false;
}

std::string VariableList(const WordTable& words, std::string_view vars) {
    if (vars.size() == 2)
        return FillIn(words.Said("%1 и %2", "%1 and %2"), {std::string(1, vars[0]), std::string(1, vars[1])});
    if (vars.size() == 3)
        return FillIn(words.Said("%1, %2 и %3", "%1, %2 and %3"),
                      {std::string(1, vars[0]), std::string(1, vars[1]), std::string(1, vars[2])});
    return std::string(vars);
}

}  // namespace

std::string FormulaNote(const WordTable& words, std::string_view text, FormulaField field) {
    const std::string_view t = Trimmed(text);
    if (t.empty()) return {};
    if (const std::size_t eq = t.find('='); eq != std::string_view::npos) {
        const std::string_view lhs = Trimmed(t.substr(0, eq)), rhs = Trimmed(t.substr(eq + 1));
        if (lhs.empty() || rhs.empty() || rhs.find('=') != std::string_view::npos)
            return std::string(words.Said("Знак \"=\" не входит в формулу.", "\"=\" is not part of a formula."));
        // The formula to write instead is told with what is wrong with it
        // too ("x=cos(t)" in a field whose parameter is x).
        const std::string instead = Equation(lhs, rhs, field.named);
        std::string note = FillIn(
            words.Said("Знак \"=\" не входит в формулу: напишите %1", "\"=\" is not part of a formula: write %1"),
            {instead});
        if (const std::string more = FormulaNote(words, instead, field); !more.empty()) note += ". " + more;
        return note;
    }
    if (BracketsPair(t) && GivesValue(t, field)) return {};
    if (const std::string unknown = UnknownLetters(t, field.vars); !unknown.empty()) {
        if (field.vars.size() == 1)
            return FillIn(words.Said("Формула не знает \"%1\": её переменная — %2.",
                                     "The formula knows no \"%1\": its variable is %2."),
                          {unknown, std::string(field.vars)});
        return FillIn(words.Said("Формула не знает \"%1\": её переменные — %2.",
                                 "The formula knows no \"%1\": its variables are %2."),
                      {unknown, VariableList(words, field.vars)});
    }
    return std::string(words.Said("Эта формула не даёт значения ни в одной точке: проверьте знаки и скобки.",
                                  "This formula gives no value at any point: check its signs and brackets."));
}

}  // namespace pelmar
