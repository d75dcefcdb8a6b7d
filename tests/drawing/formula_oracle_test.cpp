// The compiled formulas against the text evaluator, which rewrites text as the
// language is defined: on many generated formulas and values the two must give
// the same success and the same value, bit for bit.  Also: malformed, long,
// deeply bracketed and binary texts return a result or a failure and nothing
// else, and the fast 15-digit rounding equals writing and reading the number.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "drawing/formula.h"
#include "drawing/formula_internal.h"
#include "formula_test_util.h"

using namespace pelmar;
using pelmar::test::Eval;
using pelmar::test::SameValue;

namespace {

const Ext kValues[] = {0,     1,    -1,          2,    0.5L, -0.5L,    3,     1.0L / 3, 3.14159265358979L,
                       1e-7L, -2.5e-6L, 12345.678L, 1e20L, -7,  0.1L,    100,   -1e-12L,  0.999999999999999L};

class Generator {
public:
    explicit Generator(unsigned seed) : rng_(seed) {}

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(int percent) { return Pick(100) < percent; }

    // A formula as a user might type it, sometimes with a slip.
    std::string Formula() {
        std::string s = Expr(3);
        if (Chance(15)) Slip(s);
        return s;
    }

    // A text in the prepared form, put together from its pieces at random.
    std::string PreparedText() {
        static const char* pieces[] = {"#1#", "#x#", "#2x#", "#x.5#", "#0.25#", "#3#", "#xx#", "#.#", "(", ")",
                                       "+",   "-",   "*",    "/",     "^",      "sin", "cos", "abs", "ln",  "tg",
                                       "arctg", "student", "gamma", "q",   "#",   "2",   ".",   "x",   "!",   "ctg"};
        std::string s;
        const int n = 1 + Pick(12);
        for (int i = 0; i < n; ++i) s += pieces[Pick(static_cast<int>(std::size(pieces)))];
        return s;
    }

    std::string Garbage(std::size_t maxLength) {
        static const std::string alphabet = "x0123456789.,+-*/^()|: #$piPIXsncotgarbhlekmfqudyz";
        std::string s;
        const std::size_t n = static_cast<std::size_t>(Pick(static_cast<int>(maxLength) + 1));
        for (std::size_t i = 0; i < n; ++i)
            s += Chance(10) ? static_cast<char>(Pick(256)) : alphabet[static_cast<std::size_t>(Pick(static_cast<int>(alphabet.size())))];
        return s;
    }

private:
    std::mt19937 rng_;

    std::string Number() {
        static const char* numbers[] = {"0", "1", "2", "3", "10", "0.5", "1.5", "2,5", "0.001", "100",
                                        "7", "0.3", "12", ".5", "4.", "0.000001", "1000000", "pi", "PI"};
        return numbers[Pick(static_cast<int>(std::size(numbers)))];
    }

    std::string Atom(int depth) {
        static const char* names[] = {"sin", "cos", "tg", "ctg", "arcsin", "arccos", "arctg", "arcctg", "abs",
                                      "ln", "lg", "eks", "gamma", "norm", "fisher", "chisq", "student", "Sin"};
        const int k = Pick(depth > 0 ? 11 : 4);
        switch (k) {
        case 0: return Number();
        case 1:
        case 2: return Chance(20) ? "X" : "x";
        case 3: return Chance(50) ? "2x" : (Chance(50) ? "x2" : "x.5");
        case 4:
        case 5: return "(" + Expr(depth - 1) + (Chance(92) ? ")" : "");
        case 6: return "|" + Expr(depth - 1) + "|";
        case 7:
        case 8: return std::string(names[Pick(static_cast<int>(std::size(names)))]) + "(" + Expr(depth - 1) + ")";
        case 9: return std::string(names[Pick(static_cast<int>(std::size(names)))]) + " " + Atom(depth - 1);
        default: return (Chance(50) ? "-" : "+") + Atom(depth - 1);
        }
    }

    std::string Expr(int depth) {
        static const char* ops[] = {"+", "-", "*", "/", "^", ":", "", " "};
        std::string s = Atom(depth);
        const int n = Pick(4);
        for (int i = 0; i < n; ++i) s += ops[Pick(static_cast<int>(std::size(ops)))] + Atom(depth);
        return s;
    }

    void Slip(std::string& s) {
        if (s.empty()) return;
        const auto i = static_cast<std::size_t>(Pick(static_cast<int>(s.size())));
        switch (Pick(4)) {
        case 0: s.erase(i, 1); break;
        case 1: s.insert(i, 1, s[i]); break;
        case 2: s.insert(i, 1, "+-*/^()#"[Pick(8)]); break;
        default: s[i] = "xy1,.|e"[Pick(7)]; break;
        }
    }
};

DistributionParameters SomeParameters() {
    DistributionParameters p;
    p.NormMu = 0.5;
    p.NormSigma = 1.5;
    p.FisherM = 3;
    p.FisherN = 5;
    p.ChisqN = 4;
    p.StudentN = 3;
    return p;
}

TEST(FormulaOracle, GeneratedFormulasAgree) {
    Generator g(20240601);
    int evaluations = 0, successes = 0, compiled = 0;
    for (int i = 0; i < 2500; ++i) {
        const std::string text = g.Formula();
        for (bool full : {true, false}) {
            DistributionParameters p = SomeParameters();
            DistributionParameters q = p;
            compiled += Formula::Prepare(text, full, q).IsCompiled();
            for (int j = 0; j < 4; ++j) {
                const Ext x = kValues[g.Pick(static_cast<int>(std::size(kValues)))];
                DistributionParameters pj = p;
                successes += Eval(text, x, pj, full).has_value();
                ++evaluations;
            }
        }
    }
    // The generator must reach both outcomes, and nearly all go compiled.
    EXPECT_GT(successes, evaluations / 5);
    EXPECT_LT(successes, evaluations * 9 / 10);
    EXPECT_GT(compiled, 5000 * 9 / 10);
}

TEST(FormulaOracle, PreparedTextsAgree) {
    Generator g(7);
    const DistributionParameters p = SomeParameters();
    int successes = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string text = g.PreparedText();
        const bool full = g.Chance(70);
        const Formula f = Formula::FromPrepared(text, full, p);
        const Ext x = kValues[g.Pick(static_cast<int>(std::size(kValues)))];
        std::string t;
        SubstVar(text, 'x', x, t);
        Ext a = 0, b = 0;
        const bool okText = full ? CalcFormula(t, a, p) : CalcSimple(t, a, p);
        const bool okCompiled = f.Calc(x, b);
        ASSERT_EQ(okText, okCompiled) << '"' << text << "\" at " << static_cast<double>(x) << (full ? "" : " light");
        if (okText) {
            ASSERT_TRUE(SameValue(a, b)) << text;
            ++successes;
        }
    }
    EXPECT_GT(successes, 300);
}

// Two or three values evaluated in one pass of a program (as the surfaces
// sample) give what one evaluation at a time gives, lane by lane.
TEST(FormulaOracle, ValuesEvaluatedTogetherAgree) {
    Generator g(31);
    const formula::SlotValues none;
    int compared = 0;
    for (int i = 0; i < 4000; ++i) {
        const std::string text = g.Formula();
        DistributionParameters p = SomeParameters();
        const Formula f = Formula::Prepare(text, g.Chance(70), p);
        if (!f.IsCompiled()) continue;
        for (int n = 1; n <= 3; ++n) {
            Ext xs[3], together[3] = {0, 0, 0};
            bool ok[3];
            for (int l = 0; l < n; ++l) xs[l] = kValues[g.Pick(static_cast<int>(std::size(kValues)))];
            formula::Access::Calc(f, n, xs, none, together, ok);
            for (int l = 0; l < n; ++l) {
                Ext alone = 0;
                const bool okAlone = f.Calc(xs[l], alone);
                ASSERT_EQ(ok[l], okAlone) << text << " lane " << l << " of " << n;
                if (okAlone) {
                    ASSERT_TRUE(SameValue(together[l], alone)) << text << " lane " << l << " of " << n;
                }
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 15000);
}

TEST(FormulaOracle, GarbageNeverBreaks) {
    Generator g(99);
    const DistributionParameters base = SomeParameters();
    for (int i = 0; i < 3000; ++i) {
        const std::string text = g.Garbage(60);
        DistributionParameters p = base;
        Eval(text, kValues[g.Pick(static_cast<int>(std::size(kValues)))], p, g.Chance(70));
    }
}

TEST(FormulaOracle, LongAndDeepTexts) {
    std::vector<std::string> texts;
    std::string s;
    for (int i = 0; i < 1200; ++i) s += "sin(x)+";
    texts.push_back(s + "1");
    texts.push_back(s);  // ends with a sign: fails
    s.clear();
    for (int i = 0; i < 3000; ++i) s += "x*";
    texts.push_back(s + "1");
    texts.push_back(std::string(3000, '(') + "x" + std::string(3000, ')'));
    texts.push_back(std::string(3000, '(') + "x+1");
    texts.push_back(std::string(3000, '(') + std::string(3000, ')'));
    texts.push_back(std::string(3000, ')') + "x");
    texts.push_back(std::string(5000, '|') + "x");
    texts.push_back(std::string(3000, '-') + "x");
    texts.push_back(std::string(2000, '#') + "x");
    texts.push_back(std::string(4000, '9'));
    texts.push_back("x^" + std::string(400, '9'));
    s.clear();
    for (int i = 0; i < 500; ++i) s += "sin ";
    texts.push_back(s + "x");
    s.clear();
    for (int i = 0; i < 60; ++i) s += "sin(";
    texts.push_back(s + "x");  // just past the depth the compiler takes
    std::mt19937 rng(5);
    for (int i = 0; i < 4; ++i) {
        std::string b;
        for (int j = 0; j < 4000; ++j) b += static_cast<char>(rng() & 0xFF);
        texts.push_back(b);
    }
    int ok = 0;
    for (const std::string& t : texts) ok += Eval(t, 0.5L).has_value();
    EXPECT_EQ(*Eval(std::string(3000, '(') + "x" + std::string(3000, ')'), 0.5L), 0.5L);
    EXPECT_EQ(*Eval(std::string(3000, '-') + "x", 0.5L), 0.5L);
    EXPECT_GE(ok, 6);
}

// RoundTo15Digits computes with binary arithmetic what writing the number with
// 15 digits and reading it back gives; near a decimal tie it falls back to
// the texts.  Checked against the texts on random values and on values built
// next to ties.
TEST(FormulaOracle, FastRoundingEqualsTextRoundTrip) {
    std::mt19937_64 rng(3);
    auto roundTrip = [](Ext v) {
        Ext r = 0;
        EXPECT_TRUE(ReadFormulaNumber(FormulaNumberText(v), r)) << static_cast<double>(v);
        return r;
    };
    for (int i = 0; i < 200000; ++i) {
        // Random mantissa bits over a wide range of magnitudes.
        const Ext m = static_cast<Ext>(rng() >> 1) / 9223372036854775808.0L;  // [0, 1)
        const int e = static_cast<int>(rng() % 260) - 130;
        Ext v = std::ldexp(m, e);
        if (rng() & 1) v = -v;
        ASSERT_TRUE(SameValue(RoundTo15Digits(v), roundTrip(v))) << static_cast<double>(v);
    }
    for (int i = 0; i < 50000; ++i) {
        // Sixteen digits ending in 5 (a tie at 15 digits), nudged by one unit.
        std::string digits = std::to_string(100000000000000 + rng() % 900000000000000) + "5";
        const int e = static_cast<int>(rng() % 80) - 40;
        Ext v;
        ASSERT_TRUE(ReadFormulaNumber(digits.substr(0, 1) + "." + digits.substr(1) + "E" + std::to_string(e), v));
        const int nudge = static_cast<int>(rng() % 3) - 1;
        if (nudge != 0) v = std::nextafter(v, nudge > 0 ? HUGE_VALL : -HUGE_VALL);
        ASSERT_TRUE(SameValue(RoundTo15Digits(v), roundTrip(v))) << digits << "E" << e;
    }
    for (Ext v : {1e15L, 1e14L, 999999999999999.5L, 99999999999999.95L, 1e-13L, 1e-14L, 1e41L, 1e42L,
                  LDBL_MIN, LDBL_TRUE_MIN, LDBL_MAX, 1.0L, 0.5L})
        EXPECT_TRUE(std::isinf(RoundTo15Digits(v)) || SameValue(RoundTo15Digits(v), roundTrip(v)))
            << static_cast<double>(v);
}

}  // namespace
