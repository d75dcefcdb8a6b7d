// Geometry shared by the canvas implementations: the arc angle convention,
// flattening of arcs and ellipses, rotation, dash splitting and round caps.
#pragma once

#include <span>
#include <vector>

#include "platform/canvas.h"

namespace pelmar {

// Clockwise rotation (on the y-down picture) of p by `degrees` about c.
PointF RotatePoint(PointF p, double degrees, PointF c);

// The ellipse's parameter angle (degrees) of the point that lies on the ray
// at `polarDeg` from the centre, kept in the same turn as polarDeg.
double ParametricAngle(double rx, double ry, double polarDeg);

// The point of the ellipse inscribed in `box` on the ray at `polarDeg`.
PointF EllipsePoint(const RectF& box, double polarDeg);

// An arc in canonical form: the sweep is clamped to +-360 and `full` tells
// that it closes the ellipse.
struct ArcSpan {
    double start = 0;  // in [0, 360)
    double sweep = 0;
    bool full = false;
};
ArcSpan NormalizeArc(double start, double sweep);

// The arc as a polyline whose chords stay within a tenth of a pixel of the
// curve; a full arc returns to its first point.
std::vector<PointF> ArcPolyline(const RectF& box, double start, double sweep);

// The whole ellipse as a closed polygon (the first point is not repeated).
std::vector<PointF> EllipsePolygon(const RectF& box);

// The pie (centre, arc, back to the centre) as a polygon.
std::vector<PointF> PiePolygon(const RectF& box, double start, double sweep);

// True when the ellipse inscribed in `box` reaches far beyond `view`: it
// does not fit within the view grown by twice the view's larger side on
// every side (or a value is not finite).  Drawn whole, such an ellipse
// costs in proportion to its length; the canvases draw only the parts that
// ShownArcParts gives.  Ellipses that fit are drawn whole, as always.
bool EllipseFarBeyond(const RectF& box, const RectF& view);

// The parts of an arc (as ArcPolyline takes it: a sweep of 360 degrees or
// more is the whole ellipse) that lie within `view`, each an open polyline
// in the arc's direction flattened as finely as ArcPolyline's, and reaching
// a little beyond the view at both ends unless it ends where the arc does.
// There are at most five, and their points are bounded by the view, however
// large the ellipse.  With `period` > 0 a part that does not begin at the
// arc's start begins a whole number of periods along the arc from it: its
// first side is drawn back along the tangent, outside the view, so that a
// pattern of that period started on the part lies on the view as on the
// whole arc; on a whole ellipse the pattern starts anew at its start, as
// on the whole one, where a solid line runs on in one part.  Nothing for a
// box or angle that is not finite.
std::vector<std::vector<PointF>> ShownArcParts(const RectF& box, double start, double sweep, const RectF& view,
                                               double period);

// The length of the arc of the ellipse of semi-axes rx, ry from parameter
// t0 to t1 (radians, t0 <= t1).
double EllipseArcLength(double rx, double ry, double t0, double t1);

// True when `dashes` is a pattern the canvases accept (see canvas.h).
bool UsableDashPattern(const std::vector<double>& dashes);

// The most dashes one stroke is cut into; a stroke that would need more
// within what is shown is drawn solid (its dashes would be finer than the
// pixels anyway).
inline constexpr double kMaxDashes = 100000;

// The dashes of a path stroked with `patternPx` (dash, gap, ... in pixels),
// each an open polyline; the pattern runs on across corners and, for a
// closed path, along the closing side.  A pattern that would cut the path
// into more than kMaxDashes pieces strokes it solid.
std::vector<std::vector<PointF>> SplitDashes(std::span<const PointF> path,
                                             std::span<const double> patternPx, bool closed);

// The same for the part of the path within `view` only: the path is cut to
// the view first (see ClipPath), and the dashes inside lie exactly where
// they lie on the whole path.  The work is bounded by the view, whatever
// the path's length.
std::vector<std::vector<PointF>> SplitDashes(std::span<const PointF> path,
                                             std::span<const double> patternPx, bool closed,
                                             const RectF& view);

// How far beyond a path's points its stroke can reach: half the width, the
// miter of a sharp join (the canvases' miter limit is 10) and smoothing.
double StrokeReach(double width);

// True when every point of the path lies within `view` (then so does every
// side).  Non-finite points are not within.
bool PathWithin(std::span<const PointF> path, const RectF& view);

// The parts of a path within `view` (a rectangle of non-negative size),
// each an open polyline in the path's order; a closed path counts its
// closing side.  Sides with a non-finite point or length are left out.
// With `period` > 0 each part that does not begin at the path's first point
// begins a whole number of periods along the path from it: its first side
// is drawn back, outside the view, as far as that takes, so that a pattern
// of that period started on the part lies on the view as on the whole path.
std::vector<std::vector<PointF>> ClipPath(std::span<const PointF> path, bool closed, const RectF& view,
                                          double period);

// A closed path turned so that it starts at a point outside `view`, as an
// open path that ends there too: clipped, it keeps every join that the view
// shows.  The path itself when all its points lie within.
std::vector<PointF> OpenOutside(std::span<const PointF> path, const RectF& view);

// Outward unit directions at the two ends of an open path; false when all
// its points coincide.
bool EndDirections(std::span<const PointF> path, PointF& startDir, PointF& endDir);

// The half disc of a round cap of a line `width` wide ending at `end` and
// leaving it in the unit direction `outward`.
std::vector<PointF> RoundCapPolygon(PointF end, PointF outward, double width);

// True for a pen that covers an odd number of whole pixels across: widths
// 1, 3, 5 ... and the one-pixel hairline (0 or less).
bool OddStrokeWidth(double width);

// Bounding box of points, grown by `margin` on every side.
RectF BoundsOf(std::span<const PointF> points, double margin);

}  // namespace pelmar
