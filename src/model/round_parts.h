// Small pieces shared by the sphere, cylinder and cone updates: picture
// angles, the viewing ray, and the line types of an ellipse's radii.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <numbers>

#include "model/geometry.h"
#include "model/records.h"

namespace pelmar::round {

inline constexpr double kDeg = 180.0 / std::numbers::pi;

// The viewing direction (1, 1/√8, 1/√8): a larger dot product with it is
// nearer to the viewer.
Vec3 ViewDir();

// Angle in degrees of a picture offset, from -180 to 180 (negative below the
// horizontal); 0 for an offset of length 0.
double OffsetAngle(Ext dx, Ext dy);

// A rounded picture coordinate as a pixel, kept inside the int range.
int ToPixel(double v);

// The point of the plane a·x + b·y + c·z + d = 0 seen at the picture point
// (x, y): where the viewing ray through (0, x, y) meets the plane.
Vec3 LiftToPlane(double x, double y, double a, double b, double c, double d);

// Whether a pixel lies inside the picture ellipse of a circle record.  The
// records count picture y upwards, so the tilt turns the other way than on
// the screen.
bool PtInCircleRec(int x, int y, const DCircle& e);

// Line types of the three radius segments of a circle with their flags, or
// the flags only.
void SetRadii(DCircle& c, std::uint8_t type, bool flag);
void SetRadiiFlags(DCircle& c, bool flag);

// A view or line type written with its flag cleared (the solid decides it).
void SetView(Ed<std::uint8_t>& v, std::uint8_t value);

// Arc angles 1 and 2 of a circle, their flags cleared.
void SetArcs(DCircle& c, double a1, double a2);

inline std::array<double, 3> ToArr(Vec3 v) { return {v.x, v.y, v.z}; }
inline Vec3 FromArr(const std::array<double, 3>& a) { return {a[0], a[1], a[2]}; }

// An angle in degrees brought into [-180, 180].
double Wrap180(double a);

// Every edge of a section figure dashed, their flags cleared: in the
// automatic view a body inside its drawn circumscribed sphere is all behind it.
template <class Figure>
void DashEdges(Figure& f) {
    for (auto& side : f.S) SetView(side.LineType, 2);
}

// Vertex i of a section figure (a triangle or a tetragon) is end 1 of side i.
template <class Figure>
void SetVertex(Figure& f, std::size_t i, Vec3 p) {
    SetPos(f.S[i].P1, p);
    ProjectPoint(f.S[i].P1);
}

template <class Figure>
const DPoint& Vertex(const Figure& f, std::size_t i) {
    return f.S[i].P1;
}

// Which side of a reference figure's plane a point lies on, as a line type:
// 1 (visible) on the side of the far point (5000, 5000, 5000), the hidden type
// otherwise.
class PlaneSide {
public:
    template <class Figure>
    explicit PlaneSide(const Figure& reference)
        : PlaneSide(Pos(Vertex(reference, 1)), Pos(Vertex(reference, 2)), Pos(Vertex(reference, 3))) {}
    PlaneSide(Vec3 p1, Vec3 p2, Vec3 p3);

    std::uint8_t LineType(const DPoint& p, std::uint8_t hidden) const;

private:
    double a_ = 0, b_ = 0, c_ = 0, d_ = 0;
    double far_ = 0;
};

// A part takes the solid's colour, palette index and layer.
template <class Solid, class Part>
void CopyStyle(const Solid& solid, Part& part) {
    part.Color.v = solid.Color.v;
    part.ColorIndex.v = solid.ColorIndex.v;
    part.Layer.v = solid.Layer.v;
}

}  // namespace pelmar::round
