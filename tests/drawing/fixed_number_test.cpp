// The value of a coordinate written into a surface formula, computed as a
// number, against writing its fixed-form text and reading it back: on
// millions of random coordinates of every magnitude, and on the places where
// the eight-digit rounding is closest to a tie or adds a digit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "drawing/formula.h"
#include "drawing/formula_internal.h"

using namespace pelmar;

namespace {

// The text route: false when the text is no number a formula reads.
bool ByText(double v, Ext& value) {
    const std::string t = FixedNumberText(v);
    return t.find_first_of("Ee") == std::string::npos && ReadFormulaNumber(t, value);
}

::testing::AssertionResult Agrees(double v) {
    Ext a = 0, b = 0;
    const bool okText = ByText(v, a);
    const bool okNumber = formula::FixedNumberValue(v, b);
    if (okText != okNumber)
        return ::testing::AssertionFailure() << std::hexfloat << v << ": text " << okText << ", number " << okNumber;
    if (okText && !(a == b && std::signbit(a) == std::signbit(b)))
        return ::testing::AssertionFailure() << std::hexfloat << v << ": text " << a << ", number " << b;
    return ::testing::AssertionSuccess();
}

TEST(FixedNumberValue, MatchesTheTextOnMillionsOfCoordinates) {
    std::mt19937_64 rng(15);
    std::uniform_real_distribution<double> exponent(-12, 9.5), unit(-1, 1);
    std::uniform_int_distribution<std::uint64_t> bits;
    for (int i = 0; i < 2'000'000; ++i) {
        double v;
        switch (i % 4) {
            case 0: v = std::copysign(std::pow(10.0, exponent(rng)), unit(rng)); break;  // any magnitude
            case 1: v = unit(rng) * 20; break;                                          // picture coordinates
            case 2: {                                                                   // any bit pattern
                const std::uint64_t b = bits(rng);
                std::memcpy(&v, &b, sizeof v);
                break;
            }
            default: {
                // Next to a value of eight digits plus a half: the rounding's
                // ties and its near misses, a few units in the last place away.
                const int digits = static_cast<int>(bits(rng) % 9);  // integer digits 0..8
                const double scale = std::pow(10.0, 8 - std::max(digits, 1));
                const double whole = std::floor(std::pow(10.0, digits) * scale * (unit(rng) + 1) / 2);
                v = (whole + 0.5) / scale;
                for (int n = static_cast<int>(bits(rng) % 7) - 3; n != 0; n += n > 0 ? -1 : 1)
                    v = std::nextafter(v, n > 0 ? INFINITY : -INFINITY);
                if (bits(rng) & 1) v = -v;
            }
        }
        ASSERT_TRUE(Agrees(v));
    }
}

TEST(FixedNumberValue, EdgesOfTheForm) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double v : {0.0, -0.0, 1.0, -1.0, 0.5, 0.35355339059327, 12345678.5, 12345677.5, -12345678.5, 99999999.4,
                     99999999.5, 100000000.0, 123456789.0, 9999999.95, 0.999999995, 0.9999999949999999, 4.9999999e-9,
                     5e-9, 5.000000001e-9, -1e-10, 1e-300, 5e-324, 1.7976931348623157e308, inf, -inf,
                     std::numeric_limits<double>::quiet_NaN()})
        EXPECT_TRUE(Agrees(v));
    for (double v = 0.5; v < 1e8; v = v * 10 + 0.5) EXPECT_TRUE(Agrees(v)) << v;
}

}  // namespace
