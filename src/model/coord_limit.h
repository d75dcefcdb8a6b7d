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

// A whole number of type I from a double already made whole, saturated to
// I's range: never the undefined conversion of a value out of range.  NaN
// gives 0.
template <class I>
I Saturated(double whole) {
    static_assert(std::is_integral_v<I>);
    if (std::isnan(whole)) return 0;
    // (double)max may round up to 2^63 or 2^31 exactly; >= catches it.
    if (whole >= static_cast<double>(std::numeric_limits<I>::max())) return std::numeric_limits<I>::max();
    if (whole <= static_cast<double>(std::numeric_limits<I>::min())) return std::numeric_limits<I>::min();
    return static_cast<I>(whole);
}

// Rounded half to even.
template <class I>
I SaturatedRound(double v) { return Saturated<I>(std::rint(v)); }

// Cut towards zero, as a plain conversion cuts.
template <class I>
I SaturatedTrunc(double v) { return Saturated<I>(std::trunc(v)); }

}  // namespace pelmar
