// The output of computed curves: the function graphs of the coordinate
// systems and the sections and outlines of surfaces are lists of polylines in
// picture coordinates (DCurve2).  This file holds the small operations on
// such polylines, the transformation of a finished set by its graph's shift
// and rotation (with the test of which points a surface hides), the choice of
// solid and dashed pieces by the graph's line style, and the drawing of one
// polyline on each target.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "drawing/formula.h"
#include "drawing/graph_transform.h"
#include "drawing/paint_target.h"
#include "model/geometry.h"
#include "model/records.h"

namespace pelmar {

// How one graph is stroked.
struct GraphLineStyle {
    std::uint8_t LineType = 1;        // 1 solid, 2 dashed; anything else draws nothing
    std::uint8_t VisibilityMode = 1;  // 1 all visible, 2 hidden pieces dashed, 3 hidden pieces left out
    std::int32_t Dash = 0;            // pixels
    std::int32_t Gap = 0;             // pixels
};

// Where a curve set lies (DCurve2::Plane).
inline constexpr std::uint8_t PlaneXOY = 0;     // the drawing plane of a 2D system
inline constexpr std::uint8_t PlaneX = 1;       // the 3D plane X = Position
inline constexpr std::uint8_t PlaneY = 2;       // the 3D plane Y = Position
inline constexpr std::uint8_t PlaneZ = 3;       // the 3D plane Z = Position
inline constexpr std::uint8_t PlaneAsIs = 4;    // drawn as computed

// ---------------------------------------------------------------------------
// Curve points and polylines

// The visibility mark of a curve point: the first (lowest) byte of its third
// field; the other seven bytes carry nothing.  1 = visible.
bool CurveMark(const CurvePoint& p);
void SetCurveMark(CurvePoint& p, bool visible);
CurvePoint MakeCurvePoint(double x, double y, bool visible);

// A polyline record holding `points`.
DCurve1 MakeCurve1(std::vector<CurvePoint> points);
// A set of polylines with the plane and position; Valid 0.
DCurve2 MakeCurve2(std::vector<DCurve1> lines, std::uint8_t plane = PlaneXOY, double position = 0);

// Removes point i (0-based); an index outside the polyline changes nothing.
void DeleteCurvePoint(DCurve1& poly, int i);
// Inserts p before point i; i = Count appends.  An index outside 0..Count
// changes nothing.
void InsertCurvePoint(DCurve1& poly, const CurvePoint& p, int i);

// The picture distance of two points; the marks are ignored.
double PictureDistance(const CurvePoint& p, const CurvePoint& q);

// Cuts poly into runs of one kind.  First the visible runs: each begins at a
// visible point after a hidden one (or at the start) and takes the first
// hidden point after it, where the curve disappears, as its last point.  Then,
// unless visibleOnly, the hidden runs in the same way with the roles
// exchanged.  A run's kind is the mark of its first point.
void SplitByVisibility(const DCurve1& poly, DCurve2& runs, bool visibleOnly);

// ---------------------------------------------------------------------------
// Planes

// The model point of the picture point (px, py) of a curve in `plane` at
// `position`: the picture point divided by zoom, less the origin (cx, cy), in
// units of the scales (3D planes use xScale alone).  False for plane 4, and
// when a scale or the zoom is 0 (no model point).
bool ModelPointOfPicture(std::uint8_t plane, double position, double px, double py, int zoom, double xScale,
                         double yScale, int cx, int cy, Vec3& model);
// The picture point of a model point: the 2D plane by the two scales, the 3D
// planes by the oblique projection; multiplied by zoom.
void PicturePointOfModel(std::uint8_t plane, Vec3 model, int zoom, double xScale, double yScale, int cx, int cy,
                         double& px, double& py);
// The picture point (px, py) of a curve in `plane` at `position` moved and
// turned by t, as TransformCurveSet moves it, with its moved model point.
// False (px, py and model as they were) where it has no model point.
bool MoveCurvePoint(std::uint8_t plane, double position, int zoom, const GraphTransform& t, double yScale,
                    double xScale, int cy, int cx, double& px, double& py, Vec3& model);

// The curves moved and turned by t (points of plane 4, and all points when t
// neither moves nor turns, are copied as they are).  In the 2D plane the
// rotation turns about (t.CX, t.CY) in the plane itself and every point keeps
// its mark; in the 3D planes each transformed point gets the mark "visible"
// unless the viewing ray from it meets `surface` (rewritten for t) inside the
// box `corners` (looking only inside `window`).  Full chooses the evaluator
// pair of that test.
DCurve2 TransformCurveSet(const DCurve2& curves, bool full, const DImProj& im, const DOutLine& outline,
                          const std::string& surface, const std::array<Vec3, 8>& corners, int zoom,
                          const GraphTransform& t, double yScale, double xScale, int cy, int cx,
                          DistributionParameters& params, const ScanWindow& window = {});

// ---------------------------------------------------------------------------
// Output

// Draws one polyline (a private copy: the thinning stays here).  Points on the
// same pixel as their predecessor are dropped first; pass 1 then draws
// nothing.  "pel": steps below one pixel dropped, one stroke with round caps,
// dashed by dash and gap pixels.  "cdr": the points as Bezier control points
// in threes (the last point repeated to fill the last three).  "wrd": steps
// below 0.1 typographic point dropped, one freeform shape.
void OutputPolyline(DCurve1 poly, int width, TColor colour, bool dashed, int cdrDashStyle, const DImProj& im,
                    int dash, int gap, const PaintTarget& target, std::uint8_t pass);

// Draws a finished set of curves: transformed by t (TransformCurveSet), then
// stroked by the style: solid; dashed; visible runs solid and hidden runs
// dashed; or the visible runs alone.  `surface` is F(x, y, z) of the surface
// that may hide the curve.  Zoom magnifies the picture coordinates (the
// builders pass 1).  Keep: the curves are samples that their builder keeps
// between drawings (their polylines are not rebuilt while they stay the
// same): on the own picture the strokes are kept with them and drawn again
// from there until the samples go or the line, shift, rotation, scales or
// origin change.  Curves built anew for every drawing pass false.
void DrawCurveSet(const DCurve2& curves, int width, TColor colour, bool full, std::uint8_t pass,
                  const PaintTarget& target, const DImProj& im, int cdrDashStyle, const DOutLine& outline,
                  const std::string& surface, const std::array<Vec3, 8>& corners, const GraphLineStyle& style,
                  int zoom, const GraphTransform& t, double yScale, double xScale, int cy, int cx,
                  DistributionParameters& params, const ScanWindow& window = {}, bool keep = true);

}  // namespace pelmar
