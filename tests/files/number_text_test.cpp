// The number texts of the document and curves writers against printf-based
// formatting: the files they write must stay byte for byte the same.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "files/curves_file.h"
#include "files/text_lines.h"

using namespace pelmar;

namespace {

// FormatReal as printf gives it: 15 significant digits of "%.14e".
std::string PrintfReal(double v, char sep) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
    if (v == 0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", v);
    std::string digits;
    const char* p = buf;
    const bool neg = *p == '-';
    if (neg) ++p;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits += *p;
    const int exp = *p == 'e' ? std::atoi(p + 1) : 0;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out = neg ? "-" : "";
    if (exp < -4 || exp >= 15) {
        out += digits.substr(0, 1);
        if (digits.size() > 1) out += sep + digits.substr(1);
        return out + "E" + std::to_string(exp);
    }
    if (exp < 0) return out + "0" + sep + std::string(static_cast<std::size_t>(-exp - 1), '0') + digits;
    const auto ip = static_cast<std::size_t>(exp) + 1;
    if (digits.size() <= ip) return out + digits + std::string(ip - digits.size(), '0');
    return out + digits.substr(0, ip) + sep + digits.substr(ip);
}

// FixedReal as printf gives it: "%.7e" for the magnitude, then "%.*f".
std::string PrintfFixed(double v, char sep) {
    if (!std::isfinite(v)) v = 0;
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.7e", v);
    const std::string sci = buf;
    const std::size_t e = sci.find('e');
    const int exp = std::atoi(sci.c_str() + e + 1);
    std::string out;
    if (exp >= 8) {
        std::string mant = sci.substr(0, e);
        while (mant.back() == '0') mant.pop_back();
        if (mant.back() == '.' || mant.back() == ',') mant.pop_back();
        for (char& ch : mant)
            if (ch == '.' || ch == ',') ch = sep;
        return mant + "E" + std::to_string(exp);
    }
    if (exp >= 0) {
        std::snprintf(buf, sizeof buf, "%.*f", 7 - exp, v);
        out = buf;
        if (exp == 7) out += '.';
        out.append(static_cast<std::size_t>(exp + 1), '0');
    } else {
        std::snprintf(buf, sizeof buf, "%.8f", v);
        out = buf;
    }
    for (char& ch : out)
        if (ch == '.' || ch == ',') ch = sep;
    if (out[0] == '-' && out.find_first_of("123456789") == std::string::npos) out.erase(0, 1);
    return out;
}

// Values where rounding decides the text: every bit pattern, magnitudes
// over the whole range and near powers of ten, exact halves of the last
// digit kept, short decimals and small integers.
class Values {
public:
    explicit Values(unsigned seed) : rng_(seed) {}
    double Next() {
        switch (rng_() % 7) {
            case 0: return std::bit_cast<double>((std::uint64_t{rng_()} << 32) | rng_());
            case 1: return Signed(std::ldexp(Unit(), static_cast<int>(rng_() % 140) - 70));
            case 2: {  // just below, at and just above a power of ten
                const double p = std::pow(10.0, static_cast<int>(rng_() % 44) - 22);
                const double q = p * (1 - static_cast<double>(rng_() % 1000) * 1e-9 * (rng_() % 2 ? 1 : -1));
                return Signed(rng_() % 3 == 0 ? std::nextafter(p, rng_() % 2 ? 0.0 : 1e300) : q);
            }
            case 3: {  // a few binary digits: halves of a decimal digit are exact
                const double m = static_cast<double>(rng_() % 100000);
                return Signed(std::ldexp(m, static_cast<int>(rng_() % 40) - 30));
            }
            case 4: {  // 8 or 15 digits and a five after them
                const double m = static_cast<double>(rng_() % 100000000) * 10 + 5;
                return Signed(m * std::pow(10.0, static_cast<int>(rng_() % 30) - 20));
            }
            case 5: return Signed(static_cast<double>(rng_() % 2000000) / std::pow(10.0, rng_() % 9));
            default: return Signed(std::uniform_real_distribution<double>(-1000, 1000)(rng_));
        }
    }

private:
    double Unit() { return std::uniform_real_distribution<double>(0.5, 1.0)(rng_); }
    double Signed(double v) { return rng_() % 2 ? -v : v; }
    std::mt19937 rng_;
};

TEST(NumberText, SameTextsAsPrintfOverMillionsOfValues) {
    Values values(20261207);
    const double fixed[] = {0.0, -0.0, 1e-300, -4e-9, 0.5, 99999999.5, 12345678.0, 1e8, 9.99999995e7, 1e308,
                            -1.79769313486231e308, 5e-324, 0.000000005, -0.000000005, 2.5e-8};
    for (const double v : fixed)
        for (const char sep : {',', '.'}) {
            ASSERT_EQ(FixedReal(v, sep), PrintfFixed(v, sep)) << v;
            ASSERT_EQ(FormatReal(v, sep), PrintfReal(v, sep)) << v;
        }
    ASSERT_EQ(FormatReal(std::nan(""), ','), "NAN");
    // Where printf rounds beyond the range, the largest text within is written.
    ASSERT_EQ(FormatReal(-1.7976931348623157e308, ','), "-1,79769313486231E308");
    ASSERT_EQ(FixedReal(-HUGE_VAL, ','), "0,00000000");
    char buf[FixedRealMax > RealTextMax ? FixedRealMax : RealTextMax];
    for (int i = 0; i < 2'000'000; ++i) {
        const double v = values.Next();
        const char sep = i % 2 ? ',' : '.';
        const std::string want = PrintfFixed(v, sep);
        ASSERT_EQ(std::string(buf, FixedRealTo(buf, v, sep)), want) << std::bit_cast<std::uint64_t>(v);
        ASSERT_LE(want.size(), FixedRealMax);
        const std::string general = PrintfReal(v, sep);
        ASSERT_EQ(std::string(buf, FormatRealTo(buf, v, sep)), general) << std::bit_cast<std::uint64_t>(v);
        ASSERT_LE(general.size(), RealTextMax);
    }
}

TEST(NumberText, ColoursAndCountsKeepTheirWidths) {
    std::mt19937 rng(7);
    for (int i = 0; i < 10000; ++i) {
        const std::uint32_t c = rng() & 0xFFFFFFu;
        char want[16];
        std::snprintf(want, sizeof want, "%03u%03u%03u", c & 0xFFu, (c >> 8) & 0xFFu, (c >> 16) & 0xFFu);
        ASSERT_EQ(ColorToRGBText(c), want);
    }
    LineWriter w(',');
    for (const int n : {0, 7, 10, 123, -1, -12}) w.Count(n);
    EXPECT_EQ(w.bytes(), "00\r\n07\r\n10\r\n123\r\n-1\r\n-12\r\n");
}

}  // namespace
