// Helpers of the formula tests: evaluate a formula both by rewriting text and
// by the compiled form, and check that the two agree exactly.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "drawing/formula.h"

namespace pelmar::test {

inline bool SameParams(const DistributionParameters& a, const DistributionParameters& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Same value and same sign of zero.
inline bool SameValue(Ext a, Ext b) { return a == b && std::signbit(a) == std::signbit(b); }

// The text route: prepare, substitute, evaluate.
inline std::optional<Ext> EvalText(const std::string& text, Ext x, DistributionParameters& params,
                                   bool full = true) {
    std::string s = text, t;
    if (full)
        PrepareFormula(s, "x", params);
    else
        PrepareFormulaLight(s, "x");
    SubstVar(s, 'x', x, t);
    Ext v = 0;
    const bool ok = full ? CalcFormula(t, v, params) : CalcSimple(t, v, params);
    if (!ok) return std::nullopt;
    return v;
}

// Both routes; a mismatch is a test failure.  Returns the common result.
inline std::optional<Ext> Eval(const std::string& text, Ext x, DistributionParameters& params, bool full = true) {
    DistributionParameters p2 = params;
    const std::optional<Ext> a = EvalText(text, x, params, full);
    const Formula f = Formula::Prepare(text, full, p2);
    Ext v = 0;
    const bool ok = f.Calc(x, v);
    EXPECT_EQ(a.has_value(), ok) << "formula \"" << text << "\" at " << static_cast<double>(x);
    if (a && ok) {
        EXPECT_TRUE(SameValue(*a, v)) << "formula \"" << text << "\" at " << static_cast<double>(x) << ": text "
                                      << static_cast<double>(*a) << ", compiled " << static_cast<double>(v);
    }
    EXPECT_TRUE(SameParams(params, p2)) << text;
    return a;
}

inline std::optional<Ext> Eval(const std::string& text, Ext x = 0, bool full = true) {
    DistributionParameters p;
    return Eval(text, x, p, full);
}

}  // namespace pelmar::test
