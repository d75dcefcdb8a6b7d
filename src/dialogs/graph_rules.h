// The rules of a graph's numbers in the coordinate systems' windows: how far
// a number may reach, the order of a range's two ends, the samples a
// parametric or polar range asks of the drawer, and the direction of a
// rotation's normal.  Each rule looks at the whole number the user typed and
// gives what the field stores - the number, another number, or nothing (the
// field keeps what it held) - and one sentence on why where that is not what
// was typed: the drawer itself draws nothing without a word.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "model/coord_limit.h"

namespace pelmar {

class WordTable;

// The farthest from 0 a graph's number may be: its bounds, the ends and the
// step of its ranges, the centre, angle, normal and shift of its rotation
// and translation, a section's bounds.
inline constexpr double kGraphNumberLimit = kCoordLimit;

// The tip of a normal vector refused as zero, in both languages: the
// sphere's section planes and the rotation of a surface say the same.
inline constexpr const char* ZeroNormalRussian = "Нормальный вектор не бывает нулевым: направление осталось прежним.";
inline constexpr const char* ZeroNormalEnglish = "A normal vector is never zero: the direction stays as it was.";

// What a field stores of the number typed: `value` (nothing: refused, the
// field keeps its value) and `why` where that is not the number typed.
struct GraphNumber {
    std::optional<double> value;
    std::string why;
};

// A number of no range: taken within kGraphNumberLimit, refused beyond with
// the one tip of that bound (LimitNote).
GraphNumber TakeGraphNumber(const WordTable& words, double typed);

// A range [start; end] of a graph or a section, with the step of its samples
// where it is sampled (a parametric or polar range; 0 where it is not), and
// the scale in pixels per unit where its ends are a window in the picture
// (a Cartesian graph's or a section's bounds; 0 where they are not).
struct GraphRange {
    double start = 0, end = 0, step = 0;
    double scale = 0;
};
enum class RangePart { Start, End, Step };

// One part of a range typed, the other parts as stored.  A range is never
// empty: a start typed at or past the end, or an end typed at or before the
// start, is refused, and so is a step longer than the range (the drawer
// would draw a lone point or nothing).  A number past kGraphNumberLimit, a
// window's end farther than kCoordLimit pixels from the origin (the drawer
// walks the window's every pixel column), or a number that would ask the
// drawer for more than a million samples, is refused too; the tip says
// why.  A step's own rule (at least 0.0001, or above 0) is the caller's,
// applied before.
GraphNumber TakeRangeNumber(const WordTable& words, GraphRange range, RangePart part, double typed);

// One component (0 x, 1 y, 2 z) of a rotation's normal typed, the others as
// stored: refused beyond kGraphNumberLimit and where it would leave the
// normal without a direction (model/normal_rule.h).
GraphNumber TakeNormalComponent(const WordTable& words, std::array<double, 3> normal, int which, double typed);

}  // namespace pelmar
