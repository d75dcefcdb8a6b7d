// The graph dispatcher: draws one graph of a 2D coordinate system, or one
// surface or space curve of a 3D coordinate system.  It builds the polar,
// parametric and space curves itself and hands the Cartesian graphs, the
// implicit curves and the surfaces to their drawers.
//
// Kinds (compared case-sensitively; any other word draws nothing):
//   "dec" y = f(x), "pol" r = f(x) with x the angle, "par" x(t), y(t),
//   "Fxy" F(x, y) = 0; "dec3d" z = f(x, y), "par3d" x(t), y(t), z(t),
//   "Fxy3d" F(x, y, z) = 0.  Every formula is written in the variable x.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "drawing/curve_output.h"
#include "drawing/graph_transform.h"
#include "drawing/paint_target.h"
#include "model/records.h"

namespace pelmar {

// The 33 sections of a surface, three groups of 11: planes x = c, y = c, z = c.
struct SectionSet {
    std::array<bool, 33> On{};
    std::array<double, 33> Value{};
    // first-axis low, first-axis high, second-axis low, second-axis high
    std::array<std::array<double, 4>, 33> Bounds{};
};

struct SubCurveArgs {
    // Leading arguments.
    DImProj ImProj;
    std::string Kind;
    std::string Formula1;

    // Formulas and parameter range.
    std::string Formula2;  // y(t) of "par" and "par3d"
    std::string Formula3;  // z(t) of "par3d"
    double ParStart = 0, ParEnd = 0, ParStep = 0;

    // Line appearance.
    int Thickness = 1;
    TColor Colour = 0;

    // Picture geometry, in pixels: the origin (y growing downwards) and the
    // room from it to the window's edge on each side, in pairs per axis
    // (negative side, positive side): horizontal, vertical, unused for a 2D
    // system; depth X, Y, Z for a 3D system.
    int OriginX = 0, OriginY = 0;
    std::array<int, 6> Extents{};
    double ScaleX = 1, ScaleY = 1;  // pixels per unit

    // Sections ("dec3d" and "Fxy3d").
    SectionSet Sections;

    // Polar range (radians) and the clip to the axes ("pol", "par", "par3d").
    double AngleStart = 0, AngleEnd = 0, AngleStep = 0;
    bool Clip = false;

    // Motion and identity.
    GraphTransform Transform;
    int ObjectSlot = 0;          // 1..10 the 2D systems, 11.. the 3D systems (number + 10)
    std::uint8_t SurfaceNumber = 0;
    bool Full = false;           // expensive results not stored yet are computed only then
    char TargetChar = 'm';       // 'm' the document's own picture, 't' a preview

    DOutLine Outline;
    GraphLineStyle Style;
    std::uint8_t DashNo = 1;     // the drawing program's dash style
};

// Draws on the target; pass 1 draws no lines (but traces and stores what is
// cached), passes 2 and 3 draw.  Nothing at all while the run is stopped.
void DrawSubCurve(const SubCurveArgs& a, const PaintTarget& target, int pass);

// The polylines the dispatcher builds itself, in picture pixels (plane 0,
// position 0).  An undefined sample, or with Clip a sample on or beyond the
// window's edge, breaks the polyline.  A step that is not positive, does not
// advance the parameter, or asks for more than MaxCurveSamples samples gives
// no polyline.
//   polar: r = Formula1 at angle x from AngleStart while below AngleEnd;
//   parametric: (Formula1, Formula2) at t from ParStart up to ParEnd;
//   space curve: (Formula1, Formula2, Formula3) in the oblique projection.
// Every point is marked visible when the style's lines are solid.
inline constexpr double MaxCurveSamples = 1000000;
// Whether a parameter sampled from `start` by `step` up to `end` is drawn:
// the step positive, all three finite, at most MaxCurveSamples samples.
bool CurveSamplable(double start, double end, double step);
DCurve2 PolarCurve(const SubCurveArgs& a, DistributionParameters& params);
DCurve2 ParametricCurve(const SubCurveArgs& a, DistributionParameters& params);
DCurve2 SpaceCurve(const SubCurveArgs& a, DistributionParameters& params);

// The line style of a graph record.
GraphLineStyle GraphLineStyleOf(const DGraphStyle& s);

}  // namespace pelmar
