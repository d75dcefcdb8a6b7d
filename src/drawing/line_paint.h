// Painters of segments: the line (solid, dashed or none) with optional
// arrowheads, its two ends, its division points 3 and 4 and their labels.
// The element drawer serves the segment kind and every segment inside other
// records (sides, radii, axes, edges).
#pragma once

#include "drawing/paint_target.h"
#include "model/records.h"
#include "platform/canvas.h"

namespace pelmar {

// Painter of the segment kind (pass 2 only): a flipped copy, part 0 and then
// part 1.  The caller tests the disabled flag.
void DrawLine(const DLine& l, const DImProj& im, const PaintTarget& target);

// Part 0 draws the line, part 1 the points and arrowheads, of an already
// flipped segment.  Callers draw part 0 of all their segments before part 1,
// so that points lie on top of lines.
void DrawLineElement(const DLine& l, int part, const DImProj& im, const PaintTarget& target);

// A filled arrowhead with its tip at (tipX, tipY) pointing away from the
// tail; `length` is measured along the axis, `angle` is the half opening
// angle at the tip in degrees.
void DrawArrowhead(int tipX, int tipY, int tailX, int tailY, int length, int angle, TColor colour,
                   const DImProj& im, const PaintTarget& target);

// The two barb points of that arrowhead, in picture pixels.
void ArrowBarbs(int tipX, int tipY, int tailX, int tailY, int length, int angle, PointF& barb1, PointF& barb2);

}  // namespace pelmar
