// Pieces shared by the text evaluator and the compiled formulas, so that both
// compute every step with the same code.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "drawing/formula.h"

namespace pelmar::formula {

// The named functions in their search order: when several are present, the one
// latest in this order is applied first.
inline constexpr int kNameCount = 17;
inline constexpr std::array<std::string_view, kNameCount> kNames = {
    "sin", "cos",  "tg",  "ctg",   "arcsin", "arccos", "arctg",  "arcctg", "abs",
    "ln",  "lg",   "eks", "gamma", "norm",   "fisher", "chisq", "student"};
enum NameIndex : int {
    kSin, kCos, kTg, kCtg, kArcsin, kArccos, kArctg, kArcctg, kAbs,
    kLn, kLg, kEks, kGamma, kNorm, kFisher, kChisq, kStudent
};

// Whether x is a whole number.  (x + 1.5·2^63) - 1.5·2^63 rounds to a whole
// number without touching the x87 control word, which std::trunc and
// std::floor on long double do at some cost.
inline bool IsWhole(Ext x) {
    if (!(std::fabs(x) < 0x1p62L)) return x == std::trunc(x);
    const Ext c = 0x1.8p63L;
    return (x + c) - c == x;
}

// The threshold of every near-zero test of the evaluator.
inline constexpr Ext kNearZero = 1e-5L;

// The constants of the distribution functions for one set of parameters.  The
// expensive ones (the Beta integral, the log-factorial sums) are computed on
// first use, or all at once by Precompute.
class DistConsts {
public:
    explicit DistConsts(const DistributionParameters& p) : p_(p) {}
    const DistributionParameters& params() const { return p_; }
    Ext FisherBeta();   // BetaByIntegral(M/2, N/2, 1e-6)
    Ext ChisqLog();     // the log-factorial term of the chi-square density
    Ext StudentRatio(); // GammaRatioHalf(N)
    void Precompute(bool fisher, bool chisq, bool student);

private:
    DistributionParameters p_;
    bool haveBeta_ = false, haveChi_ = false, haveRatio_ = false;
    Ext beta_ = 0, chiLog_ = 0, ratio_ = 0;
};

// Applies the named function k to x.  False on a domain error or a result that
// is not finite.  The result is not yet rounded to 15 digits.
bool ApplyNamedFunction(int k, Ext x, DistConsts& d, Ext& r);

// x ^ y as the evaluator defines it, with its domain checks (negative base with
// a fractional exponent, near-zero base with a negative exponent, overflow).
bool PowerOp(Ext x, Ext y, Ext& r);
// The plain power: 1 for y = 0, 0 for x = 0 and y > 0, repeated squaring for a
// whole y up to 2147483647 in magnitude, else exp(y·ln x).  May give a
// non-finite value.
Ext Power(Ext x, Ext y);

// Special functions (used by the density functions and tested directly).
Ext BetaByIntegral(Ext a, Ext b, Ext eps);
Ext GammaRatioHalf(std::int64_t n);
Ext NormalDensity(Ext x, Ext mu, Ext sigma);
Ext ChiSquareDensity(std::int64_t n, Ext x, Ext logTerm);
Ext ChiSquareLogTerm(std::int64_t n);
Ext StudentDensity(std::int64_t n, Ext x, Ext ratio);
Ext FisherDensity(std::int64_t m, std::int64_t n, bool noBeta, Ext x, Ext beta);
// Largest number of intervals the Beta integral refines to.
inline constexpr std::int64_t kBetaMaxIntervals = 100LL << 12;

// Integer parameter text: optional sign and decimal digits within 32 bits.
bool ReadIntegerText(std::string_view text, std::int32_t& v);

// The general form, optionally without scientific notation for small
// magnitudes (for numbers put into a formula text before its preparation,
// where the "E" would be lower-cased and break the number).
std::string GeneralText(Ext v, bool positionalSmall);

// Lower-cases A-Z.
void LowerAZ(std::string& s);

}  // namespace pelmar::formula
