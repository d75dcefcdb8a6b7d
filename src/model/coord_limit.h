// The range of the numbers that place and size the objects, and the one way
// a coordinate becomes a whole number.
//
// A picture is at most 5,000 pixels a side; a coordinate or length past two
// hundred times that cannot be drawn usefully, and its last digits would no
// longer survive the document's fifteen significant digits.  The dialogs and
// the transformations refuse what would carry an object past it.
#pragma once

#include <cmath>
#include <limits>
#include <type_traits>

namespace pelmar {

// The largest coordinate or length, in pixels, that a user can give.
inline constexpr double kCoordLimit = 1'000'000.0;

// A finite value no farther from 0 than the limit.
inline bool WithinCoordLimit(double v) { return std::isfinite(v) && std::fabs(v) <= kCoordLimit; }

// A double as a whole number of type I, rounded half to even and saturated
// to I's range: never the undefined conversion of a value out of range.  NaN
// gives 0.
template <class I>
I SaturatedRound(double v) {
    static_assert(std::is_integral_v<I>);
    if (std::isnan(v)) return 0;
    const double r = std::rint(v);
    // (double)max may round up to 2^63 or 2^31 exactly; >= catches it.
    if (r >= static_cast<double>(std::numeric_limits<I>::max())) return std::numeric_limits<I>::max();
    if (r <= static_cast<double>(std::numeric_limits<I>::min())) return std::numeric_limits<I>::min();
    return static_cast<I>(r);
}

// The same, cut towards zero (as a plain conversion cuts).
template <class I>
I SaturatedTrunc(double v) {
    static_assert(std::is_integral_v<I>);
    if (std::isnan(v)) return 0;
    const double r = std::trunc(v);
    if (r >= static_cast<double>(std::numeric_limits<I>::max())) return std::numeric_limits<I>::max();
    if (r <= static_cast<double>(std::numeric_limits<I>::min())) return std::numeric_limits<I>::min();
    return static_cast<I>(r);
}

}  // namespace pelmar
