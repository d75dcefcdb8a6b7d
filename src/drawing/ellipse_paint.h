// Painters of ellipses and arcs.  An ellipse (a circle being one with equal
// semi-axes) is drawn as a whole outline, a dashed one, none, or a mix of
// solid and dashed arcs, tilted by its angle, with its centre and up to three
// radius segments; with its fill on, pass 1 fills it in one shaded colour or
// pixel by pixel.  The outline drawer and the fill serve the ellipses inside
// other records too (circles of figures, sections and bases of solids).
#pragma once

#include <array>

#include "drawing/paint_target.h"
#include "model/records.h"

namespace pelmar {

class RasterSurface;

// Painter of the ellipse kind.  Pass 1: the fill, for "pel" with the fill
// on; pass 2: a flipped copy, DrawEllipse with part 0 and then part 1.
// Pass 1 is handed FillOnly(rec) (drawing/fill_inputs.h): only the fill and
// the fields FillInputs lists for the kind.
void DrawCircle(const DCircle& rec, const DImProj& im, const PaintTarget& target, int pass);

// Part 0 draws the outline and the lines of the radius segments, part 1 the
// centre and the radius segments' points, of an already flipped ellipse.
// An ellipse with a semi-axis of 0 draws nothing at all.
void DrawEllipse(const DCircle& rec, int part, const DImProj& im, const PaintTarget& target);

// The fill of an ellipse as stored (it flips its own copy): one flat shaded
// colour under a vector light, a colour per pixel under a point light.
void FillEllipseOnCanvas(const DCircle& rec, const DImProj& im, RasterSurface& surface);

// The point of the corrected ellipse around (cx, cy) on the ray at `angle`
// degrees (clockwise on the picture), rounded to whole pixels.
void EllipsePointAtAngle(int cx, int cy, int l1, int l2, int b2, int b1, double angle, int& x, int& y);

// One piece of an arc split by a dash range.
struct ArcPiece {
    bool on = false;
    double from = 0;
    double to = 0;
};
// Entries 0 and 1 are the dashed pieces, 2 and 3 the solid ones.
using ArcPieces = std::array<ArcPiece, 4>;

// Splits the arc from `arcFrom` to `arcTo` (degrees; an end at or below the
// start goes round once more, equal ends are a full turn) by the dash range,
// taken modulo 360, into dashed and solid pieces with from < to.
void SplitArcByDash(ArcPieces& pieces, double arcFrom, double arcTo, double dashFrom, double dashTo);

// The drawing program's angle of the ellipse point on the ray at `angle`
// degrees, for semi-axes `a` (horizontal) and `b` (vertical): the parameter
// angle in the same half-turn.
double EllipseArcAngle(double angle, double a, double b);

}  // namespace pelmar
