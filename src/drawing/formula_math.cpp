// Number texts, the 15-digit rounding, the power operator and the named
// functions with their distribution densities.
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <numbers>
#include <utility>

#include "drawing/formula_internal.h"

namespace pelmar {

namespace formula {

namespace {

constexpr Ext kPi = std::numbers::pi_v<long double>;

// Decimal digits of a (> 0, finite) rounded to prec significant digits, and
// the power of ten of the first digit.
struct Decimal {
    char digits[48];
    int count = 0;
    int exp10 = 0;
};

Decimal ToDecimal(Ext a, int prec) {
    char buf[128];
    auto res = std::to_chars(buf, buf + sizeof buf - 1, a, std::chars_format::scientific, prec - 1);
    *res.ptr = '\0';
    Decimal d;
    const char* p = buf;
    for (; *p != '\0' && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') d.digits[d.count++] = *p;
    d.exp10 = *p == 'e' ? std::atoi(p + 1) : 0;
    return d;
}

void StripZeros(Decimal& d) {
    while (d.count > 1 && d.digits[d.count - 1] == '0') --d.count;
}

void AppendScientific(std::string& s, const Decimal& d) {
    s += d.digits[0];
    if (d.count > 1) {
        s += '.';
        s.append(d.digits + 1, static_cast<std::size_t>(d.count - 1));
    }
    s += 'E';
    s += std::to_string(d.exp10);
}

// Exact powers of ten: 10^27 = 2^27 · 5^27 and 5^27 < 2^64.
constexpr Ext kPow10[28] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
                            1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
                            1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

Ext RoundByText(Ext v) {
    Ext r;
    if (!ReadFormulaNumber(GeneralText(v, false), r)) return v > 0 ? HUGE_VALL : -HUGE_VALL;
    return r;
}

// The binary exponent E of a finite a > 0 (a in [2^E, 2^(E+1))), or one more
// when a lies just below a power of two; false outside the range of normal
// doubles.  Read from a as a double: reading the bytes of the x87 number
// stalls on the store.
bool BinaryExponent(Ext a, int& e) {
    const double d = static_cast<double>(a);
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    if (biased == 0 || biased == 0x7FF) return false;
    e = biased - 1023;
    return true;
}

// a * 10^(14 - e) with one rounding, when the power is exact.
bool Scale15(Ext a, int e, Ext& y) {
    const int k = 14 - e;
    if (k >= 0 && k <= 27) {
        y = a * kPow10[k];
        return true;
    }
    if (k < 0 && k >= -27) {
        y = a / kPow10[-k];
        return true;
    }
    return false;
}

}  // namespace

std::string GeneralText(Ext v, bool positionalSmall) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
    if (v == 0) return "0";
    Decimal d = ToDecimal(std::fabs(v), 15);
    StripZeros(d);
    std::string s = v < 0 ? "-" : "";
    if ((d.exp10 < -5 && !positionalSmall) || d.exp10 >= 15) {
        AppendScientific(s, d);
    } else if (d.exp10 < 0) {
        s += "0.";
        s.append(static_cast<std::size_t>(-d.exp10 - 1), '0');
        s.append(d.digits, static_cast<std::size_t>(d.count));
    } else {
        const int intDigits = d.exp10 + 1;
        if (d.count <= intDigits) {
            s.append(d.digits, static_cast<std::size_t>(d.count));
            s.append(static_cast<std::size_t>(intDigits - d.count), '0');
        } else {
            s.append(d.digits, static_cast<std::size_t>(intDigits));
            s += '.';
            s.append(d.digits + intDigits, static_cast<std::size_t>(d.count - intDigits));
        }
    }
    return s;
}

bool ReadIntegerText(std::string_view t, std::int32_t& v) {
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    if (i == t.size()) return false;
    std::int64_t r = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        r = r * 10 + (t[i] - '0');
        if (r > 2147483648LL) return false;
    }
    if (negative) r = -r;
    if (r > 2147483647LL || r < -2147483648LL) return false;
    v = static_cast<std::int32_t>(r);
    return true;
}

void LowerAZ(std::string& s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

// ---------------------------------------------------------------------------
// Power

Ext Power(Ext x, Ext y) {
    if (y == 0) return 1;
    if (x == 0 && y > 0) return 0;
    if (std::fabs(y) <= 2147483647.0L && IsWhole(y)) {
        const auto e = static_cast<std::int64_t>(static_cast<double>(y));
        std::uint64_t n = static_cast<std::uint64_t>(e < 0 ? -e : e);
        Ext result = 1, b = x;
        for (;;) {
            if (n & 1) result *= b;
            n >>= 1;
            if (n == 0) break;
            b *= b;
        }
        return e < 0 ? 1 / result : result;
    }
    return std::exp(y * std::log(x));
}

bool PowerOp(Ext x, Ext y, Ext& r) {
    // A negative base takes whole exponents only.
    if (x < 0 && !IsWhole(y)) return false;
    if (std::fabs(x) < kNearZero && y < 0) return false;
    r = Power(x, y);
    return std::isfinite(r);
}

// ---------------------------------------------------------------------------
// Special functions

Ext BetaByIntegral(Ext a, Ext b, Ext eps) {
    if (a <= 0 || b <= 0) return -1;
    auto estimate = [&](std::int64_t n) {
        const Ext h = 1.0L / static_cast<Ext>(n);
        Ext s = 0;
        for (std::int64_t i = 0; i < n; ++i) {
            const Ext t = (static_cast<Ext>(i) + 0.5L) * h;
            s += std::pow(t, a - 1) * std::pow(1 - t, b - 1);
        }
        return s * h;
    };
    std::int64_t n = 100;
    Ext e = estimate(n);
    // With a or b below 1 the integrand is unbounded at an end and the
    // estimates settle slowly: the refinement stops at a fixed count.
    while (n < kBetaMaxIntervals) {
        const Ext previous = e;
        n *= 2;
        e = estimate(n);
        if (std::fabs(e - previous) < 0.3L * eps) break;
    }
    return e;
}

namespace {
// Above this many terms the log-factorial sums are taken from lgamma.
constexpr std::int64_t kMaxSumTerms = 100000;
}  // namespace

Ext GammaRatioHalf(std::int64_t n) {
    if (n > 2 * kMaxSumTerms)
        return std::exp(std::lgamma(static_cast<Ext>(n + 1) / 2) - std::lgamma(static_cast<Ext>(n) / 2));
    Ext r = 1;
    if (n % 2 == 0) {
        for (std::int64_t i = 1; i <= n / 2 - 1; ++i) r = r * static_cast<Ext>(2 * i + 1) / 2 / static_cast<Ext>(i);
        return std::sqrt(kPi) * r / 2;
    }
    for (std::int64_t i = 1; i <= (n - 1) / 2; ++i) r = r * static_cast<Ext>(i) / (static_cast<Ext>(2 * i - 1) / 2);
    return r / std::sqrt(kPi);
}

Ext NormalDensity(Ext x, Ext mu, Ext sigma) {
    return 1 / (std::sqrt(2 * kPi) * sigma) * std::exp(-((x - mu) * (x - mu)) / 2 / (sigma * sigma));
}

Ext ChiSquareLogTerm(std::int64_t n) {
    Ext l = 0;
    if (n % 2 == 0) {
        const std::int64_t m = n / 2 - 1;
        if (m > kMaxSumTerms) return std::lgamma(static_cast<Ext>(m) + 1);
        for (std::int64_t i = 1; i <= m; ++i) l += std::log(static_cast<Ext>(i));
        return l;
    }
    const std::int64_t m = (n - 1) / 2;
    if (m > kMaxSumTerms)  // ln((2m - 1)!!) = ln((2m)!) - m·ln 2 - ln(m!)
        return std::lgamma(2 * static_cast<Ext>(m) + 1) - static_cast<Ext>(m) * std::log(2.0L) -
               std::lgamma(static_cast<Ext>(m) + 1);
    for (std::int64_t i = 1; i <= m; ++i) l += std::log(static_cast<Ext>(2 * i - 1));
    return l;
}

Ext ChiSquareDensity(std::int64_t n, Ext x, Ext logTerm) {
    if (x < 0) return -1;
    if (x == 0) return 0;
    if (n % 2 == 0) {
        const Ext m = static_cast<Ext>(n / 2 - 1);
        return 0.5L * std::exp(m * std::log(x) - x / 2 - m * std::log(2.0L) - logTerm);
    }
    const Ext m = static_cast<Ext>((n - 1) / 2);
    return std::exp(m * std::log(x) - x / 2 - logTerm) / std::sqrt(2 * kPi * x);
}

Ext StudentDensity(std::int64_t n, Ext x, Ext ratio) {
    const Ext nn = static_cast<Ext>(n);
    return ratio * std::exp(std::log(1 + x * x / nn) * (-(nn + 1) / 2) - std::log(std::sqrt(nn * kPi)));
}

Ext FisherDensity(std::int64_t m, std::int64_t n, bool noBeta, Ext x, Ext beta) {
    if (x < 0) return -1;
    if (x == 0) return 0;
    const Ext b = noBeta ? 1 : beta;
    if (b == 0) return -1;
    const Ext mm = static_cast<Ext>(m), nn = static_cast<Ext>(n);
    const Ext q = mm * x / nn + 1;
    if (m - n < 1000)
        return Power(mm / nn, mm / 2) / b * Power(x, mm / 2 - 1) / Power(q, (mm + nn) / 2);
    return Power((mm / nn) / q, mm / 2) / b * Power(x, mm / 2 - 1) / Power(q, nn / 2);
}

// ---------------------------------------------------------------------------
// Distribution constants

// The constants depend only on the parameters, which rarely change between
// preparations (a surface is prepared again for every pixel): each is kept
// for the last parameters it was computed for.
namespace {
template <class Key>
struct LastValue {
    bool valid = false;
    Key key{};
    Ext value = 0;
};
}  // namespace

Ext DistConsts::FisherBeta() {
    if (!haveBeta_) {
        thread_local LastValue<std::pair<std::int32_t, std::int32_t>> last;
        const std::pair key{p_.FisherM, p_.FisherN};
        if (!last.valid || last.key != key) {
            last.value = BetaByIntegral(static_cast<Ext>(p_.FisherM) / 2, static_cast<Ext>(p_.FisherN) / 2, 1e-6L);
            last.key = key;
            last.valid = true;
        }
        beta_ = last.value;
        haveBeta_ = true;
    }
    return beta_;
}

Ext DistConsts::ChisqLog() {
    if (!haveChi_) {
        thread_local LastValue<std::int32_t> last;
        if (!last.valid || last.key != p_.ChisqN) {
            last.value = ChiSquareLogTerm(p_.ChisqN);
            last.key = p_.ChisqN;
            last.valid = true;
        }
        chiLog_ = last.value;
        haveChi_ = true;
    }
    return chiLog_;
}

Ext DistConsts::StudentRatio() {
    if (!haveRatio_) {
        thread_local LastValue<std::int32_t> last;
        if (!last.valid || last.key != p_.StudentN) {
            last.value = GammaRatioHalf(p_.StudentN);
            last.key = p_.StudentN;
            last.valid = true;
        }
        ratio_ = last.value;
        haveRatio_ = true;
    }
    return ratio_;
}

void DistConsts::Precompute(bool fisher, bool chisq, bool student) {
    if (fisher && p_.FisherM >= 1 && p_.FisherN >= 1) FisherBeta();
    if (chisq && p_.ChisqN >= 1) ChisqLog();
    if (student && p_.StudentN >= 1) StudentRatio();
}

bool ApplyNamedFunction(int k, Ext x, DistConsts& d, Ext& r) {
    const DistributionParameters& p = d.params();
    switch (k) {
    case kSin: r = std::sin(x); break;
    case kCos: r = std::cos(x); break;
    case kTg: {
        const Ext c = std::cos(x);
        if (std::fabs(c) < kNearZero) return false;
        r = std::sin(x) / c;
        break;
    }
    case kCtg: {
        const Ext s = std::sin(x);
        if (std::fabs(s) < kNearZero) return false;
        r = std::cos(x) / s;
        break;
    }
    case kArcsin:
        if (std::fabs(x) > 1) return false;
        r = std::asin(x);
        break;
    case kArccos:
        if (std::fabs(x) > 1) return false;
        r = std::acos(x);
        break;
    case kArctg: r = std::atan(x); break;
    case kArcctg: r = kPi / 2 - std::atan(x); break;
    case kAbs: r = std::fabs(x); break;
    case kLn:
        if (x < kNearZero) return false;
        r = std::log(x);
        break;
    case kLg:
        if (x < kNearZero) return false;
        r = std::log10(x);
        break;
    case kEks: r = std::exp(x); break;
    case kGamma:
        if (x <= 0 && IsWhole(x)) return false;
        r = std::tgamma(x);
        break;
    case kNorm:
        if (p.NormSigma == 0) return false;
        r = NormalDensity(x, p.NormMu, p.NormSigma);
        break;
    case kFisher:
        if (x < 0 || p.FisherM < 1 || p.FisherN < 1) return false;
        r = FisherDensity(p.FisherM, p.FisherN, false, x, d.FisherBeta());
        break;
    case kChisq:
        if (x < 0 || p.ChisqN < 1) return false;
        r = ChiSquareDensity(p.ChisqN, x, d.ChisqLog());
        break;
    case kStudent:
        if (p.StudentN < 1) return false;
        r = StudentDensity(p.StudentN, x, d.StudentRatio());
        break;
    default: return false;
    }
    return std::isfinite(r);
}

// ---------------------------------------------------------------------------
// The function steps of compiled formulas

namespace {

// pi/2 in three parts: the first two of 32 bits, so that q times either is
// exact for |q| < 2^32, and the rest.
constexpr Ext kHalfPi1 = 0x1.921fb544p0L;
constexpr Ext kHalfPi2 = 0x1.0b4611a6p-34L;
constexpr Ext kHalfPi3 = 0x1.3198a2e03707344ap-69L;
constexpr Ext kTwoOverPi = 0x1.45f306dc9c882a54p-1L;

// sin x (want 0), cos x (1) or both (2) from x reduced by q·pi/2 to
// |r| <= pi/4, where the library functions need no reduction of their own.
// Accurate to a few units in the last place; false where the reduction is not
// (|x| large, or r so small that x lies next to a multiple of pi/2).
bool ReducedSinCos(Ext x, int want, Ext& s, Ext& c) {
    if (!(std::fabs(x) <= 1e6L)) return false;
    const Ext q = std::rint(x * kTwoOverPi);
    const Ext r = ((x - q * kHalfPi1) - q * kHalfPi2) - q * kHalfPi3;
    if (std::fabs(r) < 0x1p-40L && q != 0) return false;
    const int quadrant = static_cast<int>(static_cast<long long>(q) & 3);
    // sin x = sin r, cos r, -sin r, -cos r and cos x = cos r, -sin r, -cos r,
    // sin r by quadrant.
    const bool swap = quadrant & 1;
    Ext sr = 0, cr = 0;
    if (want == 2 || (want == 0) != swap) sr = std::sin(r);
    if (want == 2 || (want == 0) == swap) cr = std::cos(r);
    switch (quadrant) {
        case 0: s = sr, c = cr; break;
        case 1: s = cr, c = -sr; break;
        case 2: s = -sr, c = -cr; break;
        default: s = -cr, c = sr; break;
    }
    return true;
}

// v rounded to 15 digits when every value within a relative 2^-56 of v
// rounds to the same number (the difference of two accurate computations of
// the same function lies far inside that); false otherwise.
bool RoundedClear(Ext v, Ext& out) {
    if (!std::isfinite(v) || v == 0) return false;
    const Ext a = std::fabs(v);
    int e2 = 0;
    if (!BinaryExponent(a, e2)) return false;
    int e = static_cast<int>((static_cast<std::int64_t>(e2) * 1292913986LL) >> 32);
    Ext y;
    if (!Scale15(a, e, y)) return false;
    if (y >= 1e15L) {
        ++e;
        if (!Scale15(a, e, y)) return false;
    } else if (y < 1e14L) {
        --e;
        if (!Scale15(a, e, y)) return false;
    }
    const int k = 14 - e;
    if (k < 0 || k > 27) return false;
    // Away from the ends of the decade, and from every half.
    const Ext margin = y * 0x1p-56L + 0x1p-12L;
    if (y < 1e14L + margin || y > 1e15L - margin) return false;
    const Ext c = 0x1.8p63L;
    const Ext whole = (y + c) - c;
    if (std::fabs(y - whole) > 0.5L - margin) return false;
    const Ext r = whole / kPow10[k];
    out = v < 0 ? -r : r;
    return true;
}

// The trigonometric steps from the reduced argument; false where that route
// cannot tell the result, which is then computed as ApplyNamedFunction does.
bool FastTrigStep(int k, Ext x, bool& ok, Ext& r) {
    Ext s = 0, c = 0;
    if (!ReducedSinCos(x, k == kSin ? 0 : k == kCos ? 1 : 2, s, c)) return false;
    Ext v;
    switch (k) {
        case kSin: v = s; break;
        case kCos: v = c; break;
        case kTg:
        case kCtg: {
            const Ext den = k == kTg ? c : s;
            // The near-zero test must come out as with the library's values.
            const Ext edge = std::fabs(std::fabs(den) - kNearZero);
            if (edge < kNearZero * 0x1p-40L) return false;
            if (std::fabs(den) < kNearZero) {
                ok = false;
                return true;
            }
            v = (k == kTg ? s : c) / den;
            break;
        }
        default: return false;
    }
    if (!RoundedClear(v, r)) return false;
    ok = true;
    return true;
}

}  // namespace

bool NamedFunctionStep(int k, Ext x, DistConsts& d, Ext& r) {
    if (k == kSin || k == kCos || k == kTg || k == kCtg) {
        bool ok = false;
        if (FastTrigStep(k, x, ok, r)) return ok;
    }
    if (!ApplyNamedFunction(k, x, d, r)) return false;
    r = Round15(r);
    return std::isfinite(r);
}

}  // namespace formula

// ---------------------------------------------------------------------------
// Public number texts

std::string FormulaNumberText(Ext v) { return formula::GeneralText(v, false); }

std::string FixedNumberText(double v) {
    using formula::Decimal;
    if (!std::isfinite(v)) return formula::GeneralText(v, false);
    const Ext a = std::fabs(static_cast<Ext>(v));
    std::string s;
    if (a == 0) {
        s = "0.00000000";
    } else {
        Decimal d = formula::ToDecimal(a, 8);
        if (d.exp10 >= 8) {
            formula::StripZeros(d);
            formula::AppendScientific(s, d);
        } else if (d.exp10 >= 0) {
            const int intDigits = d.exp10 + 1;
            s.append(d.digits, static_cast<std::size_t>(intDigits));
            s += '.';
            s.append(d.digits + intDigits, static_cast<std::size_t>(d.count - intDigits));
            s.append(static_cast<std::size_t>(8 - (d.count - intDigits)), '0');
        } else {
            // Below 1 the 8 decimals are the coarser rounding.
            char buf[64];
            auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::fixed, 8);
            s.assign(buf, res.ptr);
        }
    }
    if (v < 0 && s.find_first_of("123456789") != std::string::npos) s.insert(s.begin(), '-');
    return s;
}

namespace formula {

bool FixedNumberValue(double v, Ext& value) {
    if (!std::isfinite(v)) return false;
    // |v| = M·2^E exactly, M below 2^53.
    int e2 = 0;
    const double frac = std::frexp(std::fabs(v), &e2);
    const auto mant = static_cast<std::uint64_t>(std::ldexp(frac, 53));
    const int e = e2 - 53;
    // The text keeps k decimals: 8 below 1, else 8 significant digits
    // (7 - k integer digits); 9 integer digits or more are written in
    // scientific notation, which no formula reads as a number.
    const double a = std::fabs(v);
    int k = 8;
    if (a >= 1) {
        int intDigits = 1;
        while (intDigits <= 8 && a >= static_cast<double>(kPow10[intDigits])) ++intDigits;
        if (intDigits > 8) return false;
        k = 8 - intDigits;
    }
    // m = round-half-even(M·5^k·2^(E+k)) in integers: M·5^8 < 2^72.
    std::uint64_t p5 = 1;
    for (int i = 0; i < k; ++i) p5 *= 5;
    const unsigned __int128 x = static_cast<unsigned __int128>(mant) * p5;
    const int shift = e + k;
    unsigned __int128 m;
    if (shift >= 0) {
        m = x << shift;  // a whole number below 10^8: no bits are lost
    } else if (-shift >= 100) {
        m = 0;  // x < 2^72 is below half of 2^-shift
    } else {
        const int s = -shift;
        const unsigned __int128 one = 1;
        m = x >> s;
        const unsigned __int128 rest = x & ((one << s) - 1), half = one << (s - 1);
        if (rest > half || (rest == half && (m & 1) != 0)) ++m;
    }
    // Rounding up may add a digit (99999999.5 -> 100000000): still 9 integer digits.
    if (k == 0 && m >= 100000000) return false;
    // Read back as the reader reads the text: m / 10^k with one rounding.
    Ext r = static_cast<Ext>(static_cast<std::uint64_t>(m)) / kPow10[k];
    if (v < 0 && m != 0) r = -r;
    value = r;
    return true;
}

}  // namespace formula

bool ReadFormulaNumber(std::string_view t, Ext& v) {
    auto digit = [&](std::size_t i) { return i < t.size() && t[i] >= '0' && t[i] <= '9'; };
    std::size_t i = 0, digits = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    while (digit(i)) ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (digit(i)) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (digit(i)) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    if (i != t.size()) return false;

    // strtold in the C locale: correctly rounded, whatever the user's locale.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    char small[64];
    std::string large;
    const char* text;
    if (t.size() < sizeof small) {
        std::memcpy(small, t.data(), t.size());
        small[t.size()] = '\0';
        text = small;
    } else {
        large.assign(t);
        text = large.c_str();
    }
    char* end = nullptr;
    const Ext r = strtold_l(text, &end, cLocale);
    if (!std::isfinite(r)) return false;
    v = r;
    return true;
}

namespace {

// The whole number nearest to a·10^k (ties to even), from the exact product:
// a = M·2^E with a 64-bit M, and M·5^k < 2^127 for k up to 27.  False for
// other k.
bool ExactScaledRound(Ext a, int k, Ext& m) {
    if (k < 0 || k > 27) return false;
    int exp = 0;
    const Ext f = std::frexp(a, &exp);  // a = f·2^exp, f in [0.5, 1)
    const auto mant = static_cast<std::uint64_t>(std::ldexp(f, 64));
    std::uint64_t p5 = 1;
    for (int i = 0; i < k; ++i) p5 *= 5;
    using U128 = unsigned __int128;
    const U128 x = static_cast<U128>(mant) * p5;
    // a·10^k = x·2^(exp - 64 + k); the callers' a·10^k lies below 10^15, so
    // the shift is between 13 and 127 bits.
    const int s = 64 - exp - k;
    if (s < 1 || s > 127) return false;
    const U128 one = 1;
    U128 q = x >> s;
    const U128 rest = x & ((one << s) - 1), half = one << (s - 1);
    if (rest > half || (rest == half && (q & 1) != 0)) ++q;
    m = static_cast<Ext>(static_cast<std::uint64_t>(q));
    return true;
}

}  // namespace

Ext RoundTo15Digits(Ext v) {
    using namespace formula;
    if (v == 0) return 0.0L;
    if (!std::isfinite(v)) return v;
    const Ext a = std::fabs(v);
    int e2 = 0;
    if (!BinaryExponent(a, e2)) return RoundByText(v);
    // floor(log10 a) is this estimate or one more.
    // floor(e2·log10 2), near enough: the scaled value tells when it is one off.
    int e = static_cast<int>((static_cast<std::int64_t>(e2) * 1292913986LL) >> 32);
    Ext y;
    if (!Scale15(a, e, y)) return RoundByText(v);
    if (y >= 1e15L) {
        ++e;
        if (!Scale15(a, e, y)) return RoundByText(v);
    } else if (y < 1e14L) {
        --e;
        if (!Scale15(a, e, y)) return RoundByText(v);
    }
    // y is a·10^(14-e) with an error below 2^-15; near a tie only the exact
    // product can tell.  y < 2^50, so adding 1.5·2^63 rounds it to a whole
    // number.
    const Ext c = 0x1.8p63L;
    const Ext whole = (y + c) - c;
    const Ext frac = std::fabs(y - whole);  // at most 0.5
    const int k = 14 - e;
    Ext m = whole;
    if (frac >= 0.5L - 0x1p-12L && !ExactScaledRound(a, k, m)) return RoundByText(v);
    const Ext r = k >= 0 ? m / kPow10[k] : m * kPow10[-k];
    return v < 0 ? -r : r;
}

}  // namespace pelmar
