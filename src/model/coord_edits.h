// How the coordinate systems' fields change the curves the drawer keeps.
//
// The drawer caches what is slow to compute: the implicit graph of a 2D
// system (its polylines with their valid byte), and of a 3D system the 55
// section curves - five groups of eleven: surface 1, surface 2, then surface
// 4 in x, y and z - and the outlines of surfaces 1, 2 and 4.  Each rule here
// takes a record and gives it back with the field set and exactly the caches
// that field feeds marked not computed, so that the dialogs and the tests
// agree on which curves are traced again.  A number that is not finite gives
// nothing: the caller keeps its record.
#pragma once

#include <optional>
#include <string>

#include "model/records.h"

namespace pelmar {

// The scale of a new coordinate system.  A scale the dialogs refuse (not
// above 0) is read from a file as this one; a scale they take stays.
inline constexpr double kDefaultSystemScale = 20;
inline double HeldScale(double scale) { return scale > 0 ? scale : kDefaultSystemScale; }

// ---- 2D: the implicit graph (slot 6) is traced again.
// The scales change every traced point.
std::optional<DXOY> XOYWithScale(DXOY x, double scaleX, double scaleY);
// Formula text of graph 1..6, or 7 for the parametric graph's second
// function; only the implicit graph's own text is traced.
DXOY XOYWithFormula(DXOY x, int graph, std::string text);
// Graph g's Cartesian bound i (0 x1, 1 x2, 2 y1, 3 y2), g 1, 2 or 6; any
// bound of any graph retraces the implicit graph, as the options dialog has it.
std::optional<DXOY> XOYWithBound(DXOY x, int graph, int i, double v);
// The within-the-axes byte of the polar and parametric graphs 3..5.
DXOY XOYWithinAxes(DXOY x, int graph, bool on);

// ---- 3D: surfaces 1, 2 and 4 have sections and an outline; 3 (the
// parametric curve) has none.
struct CurveRange {
    int first = 0, last = -1;  // empty when last < first
    int count() const { return last >= first ? last - first + 1 : 0; }
};
// The section curves of surface 1, 2 or 4 (1..11, 12..22, 23..55).
CurveRange XZSectionCurves(int surface);
// The outline (1..3) of surface 1, 2 or 4; 0 for the others.
int XZOutlineOf(int surface);
// The surface (1, 2 or 4) of outline 1..3.
int XZSurfaceOfOutline(int outline);
// Marks the sections and the outline of a surface not computed.
void InvalidateSurface(DXZ& z, int surface);

// The scale changes every section and every outline.
std::optional<DXZ> XZWithScale(DXZ z, double scale);
// Formula text of surface 1..4, or 5 and 6 for the parametric curve's second
// and third functions: a surface's text stales its own sections and outline.
DXZ XZWithFormula(DXZ z, int field, std::string text);
// The second-order byte of outline 1..3 stales that outline.
DXZ XZWithSecondOrder(DXZ z, int outline, bool on);
// Whether the shaded picture depends on surface 1, 2 or 4: its outline has
// the gradient on.
bool XZSurfaceShaded(const DXZ& z, int surface);

// ---- both: the curves are kept in picture pixels, so a change of the
// picture's size, resolution or type stales every one of them.  True when
// one was computed before.
bool MarkCurvesNotComputed(DXOY& x);
bool MarkCurvesNotComputed(DXZ& z);
// Every system of a document's store, and the two systems' working copies.
bool MarkCurvesNotComputed(DSubProj& o);
bool MarkCurvesNotComputed(WorkingCopies& w);

// Whether a system stands on the picture where `was` stood: its centre and
// the ends of its axes, which bound what it traces.  The curves traced where
// it stood are traced again where it stands now (true when it moved).
bool SamePlace(const DXOY& now, const DXOY& was);
bool SamePlace(const DXZ& now, const DXZ& was);
bool RetraceIfMoved(DXOY& now, const DXOY& was);
bool RetraceIfMoved(DXZ& now, const DXZ& was);

// The outlines' search window over the whole picture of width x height
// pixels (x1, y1 = 0, 0 its lower left corner, x2, y2 = width, height its
// upper right, measured from the lower left corner), for all three outlines:
// a surface's outline is found wherever the picture shows the surface, also
// where it rises past the axes.
void WholePictureOutlineWindows(DXZ& z, std::int32_t width, std::int32_t height);

// ---- the parametric step of both systems: at least 0.0001.
inline constexpr double MinParamStep = 0.0001;
std::optional<double> ClampParamStep(double h);

}  // namespace pelmar
