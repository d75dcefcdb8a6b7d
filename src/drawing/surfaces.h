// The surfaces of the 3D coordinate system: the box of the switched-on
// sections, the section curves, the outline and the shaded fill.  They work
// on the running dispatcher call.
#pragma once

#include <cstdint>
#include <string>

#include "drawing/curve_builder.h"
#include "drawing/sub_curve.h"

namespace pelmar {

// The branch of the dispatcher for "dec3d" and "Fxy3d": the box and its
// corners (into ctx.Corners), the switched-on sections, then the outline and
// the gradient when they are on.
void DrawSurface(SubCurveContext& ctx, const SubCurveArgs& a);

// The contour of the surface as seen in the oblique projection, stored in
// the snapshot's outline and reused while it stays valid.
void DrawSurfaceOutline(SubCurveContext& ctx, const SubCurveArgs& a);

// The covered part [lo, hi] of a picture line: direction 0 the vertical line
// y = c with z from a to b, direction 1 the horizontal line z = c with y from
// a to b; s the scale.  Returns 0 (no boundary) .. 4 (covered inside).
std::uint8_t FindCoveredSpan(SubCurveContext& ctx, const std::string& surface, std::uint8_t direction, double& lo,
                             double& hi, double c, double a, double b, double s);

// The place between a and b on such a line where the surface test changes.
double BisectSurfaceEdge(SubCurveContext& ctx, const std::string& surface, std::uint8_t direction, double c,
                         double a, double b);

// The shaded fill of the surface, pixel by pixel into the back buffer.
void DrawSurfaceGradient(SubCurveContext& ctx, const SubCurveArgs& a);

}  // namespace pelmar
