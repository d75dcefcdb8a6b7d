// The steps of compiled formulas against the plain definitions they stand
// for: the inlined 15-digit rounding against RoundTo15Digits (itself checked
// against the texts by the oracle tests), and the function steps against
// ApplyNamedFunction followed by the rounding, on millions of arguments, many
// of them where the two could part: next to multiples of pi/2, at the near-zero
// limit of tg and ctg, at decimal ties and far out.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <random>

#include "drawing/formula.h"
#include "drawing/formula_internal.h"
#include "formula_test_util.h"

using namespace pelmar;
using pelmar::test::SameValue;

namespace {

TEST(FormulaSteps, InlinedRoundingEqualsTheFullRoutine) {
    std::mt19937_64 rng(21);
    std::uniform_int_distribution<int> power(-40, 60);
    for (int i = 0; i < 2'000'000; ++i) {
        Ext v;
        if (i % 2 == 0) {
            v = std::ldexp(static_cast<Ext>(rng() >> 1) / 9223372036854775808.0L, power(rng));
        } else {
            // Squares and products of eight-decimal numbers: sixteen digits,
            // every tenth one a decimal tie at fifteen.
            const Ext a = static_cast<Ext>(rng() % 200000000) / 100000000;
            const Ext b = i % 4 == 1 ? a : static_cast<Ext>(rng() % 200000000) / 100000000;
            v = a * b * std::ldexp(1.0L, power(rng) / 8);
        }
        if (rng() & 1) v = -v;
        ASSERT_TRUE(SameValue(formula::Round15(v), RoundTo15Digits(v))) << static_cast<double>(v);
    }
    for (Ext v : {0.0L, -0.0L, 1e14L, 1e15L, 99999999999999.95L, 999999999999999.5L, 1e-13L, 1e27L, LDBL_MIN, LDBL_MAX,
                  static_cast<Ext>(HUGE_VALL), -static_cast<Ext>(HUGE_VALL)})
        EXPECT_TRUE(SameValue(formula::Round15(v), RoundTo15Digits(v)) ||
                    (std::isnan(formula::Round15(v)) && std::isnan(RoundTo15Digits(v))))
            << static_cast<double>(v);
}

TEST(FormulaSteps, FunctionStepsEqualTheDefinitions) {
    DistributionParameters params;
    params.NormMu = 0.5;
    params.NormSigma = 1.5;
    params.FisherM = 3;
    params.FisherN = 5;
    params.ChisqN = 4;
    params.StudentN = 3;
    formula::DistConsts d(params);
    std::mt19937_64 rng(22);
    std::uniform_real_distribution<double> unit(-1, 1);
    const Ext halfPi = std::numbers::pi_v<long double> / 2;
    long agreed = 0;
    for (int i = 0; i < 1'500'000; ++i) {
        const int k = i % formula::kNameCount;
        Ext x;
        switch (i / formula::kNameCount % 5) {
            case 0: x = unit(rng) * 10; break;
            case 1: x = unit(rng) * 1e7; break;  // beyond the reduction
            case 2: x = RoundTo15Digits(std::rint(unit(rng) * 1000) * halfPi + unit(rng) * 1e-9L);  // next to k·pi/2
            break;
            case 3: {  // where tg and ctg meet the near-zero limit
                const Ext at = (rng() & 1 ? 1 : -1) * (1e-5L + unit(rng) * 1e-18L);
                x = std::rint(unit(rng) * 100) * halfPi * 2 + (k == formula::kTg ? halfPi - at : at);
                break;
            }
            default: x = RoundTo15Digits(static_cast<Ext>(unit(rng)) * std::ldexp(1.0L, static_cast<int>(rng() % 40) - 20));
        }
        Ext want = 0, got = 0;
        bool okWant = formula::ApplyNamedFunction(k, x, d, want);
        if (okWant) {
            want = RoundTo15Digits(want);
            okWant = std::isfinite(want);
        }
        const bool okGot = formula::NamedFunctionStep(k, x, d, got);
        ASSERT_EQ(okWant, okGot) << formula::kNames[static_cast<std::size_t>(k)] << " of " << static_cast<double>(x);
        if (okWant) {
            ASSERT_TRUE(SameValue(want, got)) << formula::kNames[static_cast<std::size_t>(k)] << " of "
                                              << static_cast<double>(x);
            ++agreed;
        }
    }
    EXPECT_GT(agreed, 700'000);
}

}  // namespace

namespace {

// Many values at once (the implicit tracer's scans) give what one evaluation
// at a time gives, bit for bit, also where steps fail part of the way
// (domain errors, overflow, non-finite places) and with the variable's
// rounding supplied by the caller.
TEST(FormulaSteps, ManyAtOnceEqualOneAtATime) {
    const char* texts[] = {"x^2",         "sin(0.5)-x^3", "2*x^3-3*x+1", "1/(1+x^2)", "x^-2",  "1/x",
                           "ln(x)*2",     "x^0.5/3",      "(x^3)^3^3",   "-x^5+7",    "abs(x)", "4/0*x",
                           "sin(x)*x",    "eks(-x^2/2)",  "x^2-2^x"};
    std::mt19937_64 rng(29);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> power(-20, 40);
    constexpr int kN = 64;
    for (const char* text : texts) {
        DistributionParameters params;
        const Formula f = Formula::Prepare(text, true, params);
        for (int round = 0; round < 200; ++round) {
            double x[kN];
            Ext rounded[kN];
            for (int i = 0; i < kN; ++i) {
                x[i] = std::ldexp(unit(rng), power(rng));
                constexpr std::array<double, 8> kEdges = {0.0, -0.0, 1e-5, HUGE_VAL, -HUGE_VAL, NAN, 1e300, 0.1};
                if (rng() % 16 == 0) x[i] = kEdges[rng() % kEdges.size()];
                rounded[i] = std::isfinite(x[i]) ? formula::Round15(x[i]) : 0;
            }
            const int n = 1 + static_cast<int>(rng() % kN);
            Ext many[kN], given[kN];
            bool okMany[kN], okGiven[kN];
            formula::Access::CalcMany(f, n, x, nullptr, many, okMany);
            formula::Access::CalcMany(f, n, x, rounded, given, okGiven);
            for (int i = 0; i < n; ++i) {
                Ext one = 0;
                const bool ok = f.Calc(x[i], one);
                ASSERT_EQ(okMany[i], ok) << text << " at " << x[i];
                ASSERT_EQ(okGiven[i], ok) << text << " at " << x[i];
                if (ok) {
                    ASSERT_TRUE(SameValue(many[i], one)) << text << " at " << x[i];
                    ASSERT_TRUE(SameValue(given[i], one)) << text << " at " << x[i];
                }
            }
        }
    }
}

}  // namespace
