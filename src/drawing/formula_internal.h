// Pieces shared by the text evaluator and the compiled formulas, so that both
// compute every step with the same code.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
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

// ---------------------------------------------------------------------------
// The 15-digit rounding of every step, inlined into the evaluation loops.
//
// RoundTo15Digits(v) is m / 10^k for the whole number m nearest to |v|·10^k
// (k = 14 - floor(log10 |v|)), with the sign of v.  The common case needs
// k in 0..27, where 10^k is exact and one division gives the correctly
// rounded quotient, as reading the digits back does.  Here k selects a case
// with its power of ten as a constant, so that the arithmetic does not wait
// for k: the branch on k is predicted.  Everything else (zero, values near a
// tie, far magnitudes) goes to RoundTo15Digits.

namespace detail {

inline constexpr Ext kExactPow10[28] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
                                        1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
                                        1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

// Rounds a > 0 with k = K: 0 and r on success; 1 when a·10^K has 16 digits,
// -1 when it has 14; 2 near a tie.
template <int K>
__attribute__((always_inline)) inline int Round15At(Ext a, Ext& r) {
    constexpr Ext p = kExactPow10[K];
    const Ext y = a * p;
    if (y >= 1e15L) return 1;
    if (y < 1e14L) return -1;
    // y < 2^50: adding 1.5·2^63 rounds it to a whole number (half to even).
    // Its error is below 2^-14, so only a fraction this close to one half
    // needs the exact decimal conversion.
    constexpr Ext c = 0x1.8p63L;
    const Ext whole = (y + c) - c;
    if (std::fabs(y - whole) >= 0.5L - 0x1p-12L) return 2;
    r = whole / p;
    return 0;
}

__attribute__((always_inline)) inline int Round15K(int k, Ext a, Ext& r) {
    switch (k) {
#define PELMAR_ROUND15_CASE(n) \
    case n: return Round15At<n>(a, r);
        PELMAR_ROUND15_CASE(0) PELMAR_ROUND15_CASE(1) PELMAR_ROUND15_CASE(2) PELMAR_ROUND15_CASE(3)
        PELMAR_ROUND15_CASE(4) PELMAR_ROUND15_CASE(5) PELMAR_ROUND15_CASE(6) PELMAR_ROUND15_CASE(7)
        PELMAR_ROUND15_CASE(8) PELMAR_ROUND15_CASE(9) PELMAR_ROUND15_CASE(10) PELMAR_ROUND15_CASE(11)
        PELMAR_ROUND15_CASE(12) PELMAR_ROUND15_CASE(13) PELMAR_ROUND15_CASE(14) PELMAR_ROUND15_CASE(15)
        PELMAR_ROUND15_CASE(16) PELMAR_ROUND15_CASE(17) PELMAR_ROUND15_CASE(18) PELMAR_ROUND15_CASE(19)
        PELMAR_ROUND15_CASE(20) PELMAR_ROUND15_CASE(21) PELMAR_ROUND15_CASE(22) PELMAR_ROUND15_CASE(23)
        PELMAR_ROUND15_CASE(24) PELMAR_ROUND15_CASE(25) PELMAR_ROUND15_CASE(26) PELMAR_ROUND15_CASE(27)
#undef PELMAR_ROUND15_CASE
        default: return 2;
    }
}

// 10^(n - 330) as doubles, n = 0..660: exact from 10^0 to 10^22, near
// enough elsewhere (a wrong guess only sends the value to the full routine).
inline constexpr std::array<double, 661> kPow10Double = [] {
    std::array<double, 661> t{};
    long double p = 1;
    for (int n = 330; n < 661; ++n, p *= 10) t[static_cast<std::size_t>(n)] = static_cast<double>(p);
    p = 1;
    for (int n = 330; n >= 0; --n, p /= 10) t[static_cast<std::size_t>(n)] = static_cast<double>(p);
    return t;
}();

}  // namespace detail

__attribute__((always_inline)) inline Ext Round15(Ext v) {
    // The binary exponent, read from v as a double (reading the bytes of the
    // x87 number stalls on the store); zero, subnormal and non-finite doubles
    // take the full routine.
    const double d = static_cast<double>(v);
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    if (biased == 0 || biased == 0x7FF) return RoundTo15Digits(v);
    // floor(e2·log10 2), near enough: the case tells when it is one off.
    const int e = static_cast<int>((static_cast<std::int64_t>(biased - 1023) * 1292913986LL) >> 32);
    // One more when |v| has reached the next power of ten (as a double: a
    // value that rounds up to it is left to the full routine by its case).
    const int k = 14 - e - (std::fabs(d) >= detail::kPow10Double[e + 1 + 330] ? 1 : 0);
    const Ext a = std::fabs(v);
    Ext r = 0;
    if (detail::Round15K(k, a, r) != 0) return RoundTo15Digits(v);
    return v < 0 ? -r : r;
}

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

// ApplyNamedFunction followed by the rounding of the result, as a compiled
// formula takes its function steps: the same results, with a cheaper route to
// the trigonometric ones.  False where ApplyNamedFunction fails or the
// rounded result is not finite.
bool NamedFunctionStep(int k, Ext x, DistConsts& d, Ext& r);

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

// The pieces joined.  (Also keeps GCC 12 from a false -Wrestrict warning on
// "text" + string.)
inline std::string Join(std::initializer_list<std::string_view> pieces) {
    std::size_t n = 0;
    for (std::string_view p : pieces) n += p.size();
    std::string r;
    r.reserve(n);
    for (std::string_view p : pieces) r.append(p);
    return r;
}

// ---------------------------------------------------------------------------
// Template formulas
//
// The ray test and the partial derivatives put numbers into a surface formula
// for every pixel: x, y and z become bracketed groups such as
// "(" px "+x)".  Instead of preparing that text each time, the surface is
// prepared once with the marks \x01, \x02, \x03 where x, y and z stood, and
// each mark is an operand whose value is what its group would evaluate to.

inline constexpr char kSlotMarks[3] = {'\x01', '\x02', '\x03'};

struct SlotValue {
    enum Kind : std::uint8_t {
        Unused,
        Shifted,        // "(" base "+x)": RoundTo15Digits(base + x)
        ShiftedScaled,  // "(" base "+0.35355339*x)"
        Fixed,          // "(" base ")"
    } kind = Unused;
    bool ok = false;  // false: the group's text is no number (the formula fails)
    Ext base = 0;
};

struct SlotValues {
    std::array<SlotValue, 3> value;  // x, y, z
    Ext scale = 0;  // 0.35355339 as read from its text
};

// The value of the group "(" FixedNumberText(v) ...: base and ok of a slot.
SlotValue FixedSlot(double v, SlotValue::Kind kind);

// The value ReadFormulaNumber gives for FixedNumberText(v), computed without
// the text; false when that text is no number a formula reads (not finite, or
// in scientific notation).
bool FixedNumberValue(double v, Ext& value);

struct Access {
    // Prepares a template text (PrepareFormula / PrepareFormulaLight with the
    // variable x) and compiles it with its marks as operands.
    static Formula PrepareTemplate(const std::string& text, bool full, DistributionParameters& params);
    // Evaluates at x with the groups' values (a template not compiled fails).
    static bool Calc(const Formula& f, Ext x, const SlotValues& groups, Ext& value);
    // The same at n = 1..3 values at once: value[i] and ok[i] as Calc gives
    // them for x[i].
    static void Calc(const Formula& f, int n, const Ext* x, const SlotValues& groups, Ext* value, bool* ok);
    // Bounds of the template's values for every x in [lo, hi]: true when
    // every evaluation there is sure to succeed (Calc answers true), with
    // its value in [vlo, vhi]; false when that cannot be shown.
    static bool Bound(const Formula& f, Ext lo, Ext hi, const SlotValues& groups, Ext& vlo, Ext& vhi);
    // A formula at n values of its variable: value[i] and ok[i] as Calc
    // gives them for x[i].  Chain and pair programs run in one loop, so that
    // the evaluations overlap.
    // rounded, when not null, holds Round15(x[i]) for each finite x[i] (the
    // variable as the formula reads it, worked out once for many formulas).
    static void CalcMany(const Formula& f, int n, const double* x, const Ext* rounded, Ext* value, bool* ok);
    // The sign of f over a stretch of its variable: 1 when every value it
    // gives for a variable that reads (rounded) from lo to hi is defined and
    // above zero, -1 when every one is defined and below zero, 0 when that
    // cannot be told.  Worked out by interval arithmetic on the program, every
    // step widened well beyond the rounding of the evaluation, so that an
    // answer of 1 or -1 holds for each value the evaluation gives; a text left
    // to the text evaluator, and any step it does not bound, answer 0.
    static int SignOn(const Formula& f, Ext lo, Ext hi);
    // Whether SignOn can answer other than 0 for f at all.
    static bool Bounded(const Formula& f);
};

// FormulaRoots' analysis of the additive terms of a lower-cased text, up to the
// first term it does not recognise (a term holding a slot mark is not
// recognised).  Each term is prepared in turn, with its effect on params.
// True when every term is recognised; c0, c1, c2 receive the coefficients.
bool AnalyseTerms(const std::string& s, bool full, DistributionParameters& params, Ext& c0, Ext& c1, Ext& c2);

// The quadratic c2·t² + c1·t + c0 through the values at lo, the middle and hi;
// false when a value is undefined or the system is singular.
// The three places of the fit.
inline std::array<Ext, 3> QuadraticSamples(double lo, double hi) {
    return {lo, (static_cast<Ext>(lo) + hi) / 2, hi};
}

// The quadratic through the values vs at the places ts.
inline bool SolveQuadraticFit(const std::array<Ext, 3>& ts, const std::array<Ext, 3>& vs, Ext& c0, Ext& c1,
                              Ext& c2) {
    std::array<std::array<Ext, 4>, 3> m{};
    for (std::size_t i = 0; i < 3; ++i) m[i] = {ts[i] * ts[i], ts[i], 1, vs[i]};
    std::array<Ext, 3> sol{};
    if (!SolveLinear3(m, sol)) return false;
    c2 = sol[0];
    c1 = sol[1];
    c0 = sol[2];
    return true;
}

template <class Eval>
bool FitQuadratic(Eval&& f, double lo, double hi, Ext& c0, Ext& c1, Ext& c2) {
    const std::array<Ext, 3> ts = QuadraticSamples(lo, hi);
    std::array<Ext, 3> vs{};
    for (std::size_t i = 0; i < 3; ++i)
        if (!f(ts[i], vs[i])) return false;
    return SolveQuadraticFit(ts, vs, c0, c1, c2);
}

// The roots of c2·t² + c1·t + c0 in [lo, hi] as FormulaRoots reports them.
void RootsInRange(Ext c0, Ext c1, Ext c2, double lo, double hi, int& count, double& x1, double& x2);

}  // namespace pelmar::formula
