// Test fixtures: spheres, cylinders and cones built from a few numbers, and
// small picture-geometry checks shared by their tests.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "model/geometry.h"
#include "model/records.h"

namespace pelmar::test {

// The base centre the round bodies of the tests stand on.
inline const Vec3 kP0{0, 200, 100};

inline void Place(DPoint& p, Vec3 v) {
    SetPos(p, v);
    ProjectPoint(p);
}

// A sphere with sections 1..3 on; every section normal starts at (0, 0, 0).
inline DSf MakeOrb(Vec3 centre, double radius, std::uint8_t view) {
    DSf s{};
    s.ColorIndex.v = 9;
    s.Layer.v = 1;
    s.Thick.v = 1;
    s.View.v = view;
    s.Radius.v = radius;
    s.ContourOn.v = true;
    Place(s.Center, centre);
    s.Center.Typ.v = 2;
    for (std::size_t i = 1; i <= 3; ++i) s.SecOn[i].v = true;
    return s;
}

// A cylinder between two base centres, with the contour section on and the
// height field set to the axis length as the axis update measures it.
inline DZi MakeCylinder(Vec3 p0, Vec3 p1, double radius, std::uint8_t view) {
    DZi z{};
    z.ColorIndex.v = 12;
    z.Layer.v = 1;
    z.Thick.v = 2;
    z.View.v = view;
    z.Radius.v = radius;
    Place(z.Base[1].Center, p0);
    Place(z.Base[2].Center, p1);
    z.Axis.Length.v = Round3(Norm(p1 - p0));
    z.SecOn[2].v = true;
    return z;
}

// Base directions perpendicular to the axis, as a turned cylinder has them.
inline void SquareBase(DCircle& base, Vec3 axis, double radius) {
    const Vec3 a = axis * (1 / Norm(axis));
    const Vec3 e = std::fabs(a.z) < 0.9 ? Vec3{0, 0, 1} : Vec3{1, 0, 0};
    Vec3 u = Cross(a, e);
    u = u * (radius / Norm(u));
    const Vec3 w = Cross(a, u);
    const Vec3 c = Pos(base.Center);
    base.Q1 = {c.x + u.x, c.y + u.y, c.z + u.z};
    base.Q2 = {c.x + w.x, c.y + w.y, c.z + w.z};
}

inline DKo MakeCone(Vec3 p0, Vec3 apex, double radius, std::uint8_t view) {
    DKo k{};
    k.ColorIndex.v = 2;
    k.Layer.v = 1;
    k.Thick.v = 2;
    k.View.v = view;
    k.Radius.v = radius;
    Place(k.Base.Center, p0);
    Place(k.Axis.P2, apex);
    k.Axis.Length.v = Round3(Norm(apex - p0));
    k.SecOn[2].v = true;
    return k;
}

inline Vec3 V3(const std::array<double, 3>& a) { return {a[0], a[1], a[2]}; }

// Unrounded picture position of a 3D point.
inline std::array<double, 2> Pic(Vec3 p) {
    Ext x, y;
    ProjectXYZ(x, y, p.x, p.y, p.z);
    return {static_cast<double>(x), static_cast<double>(y)};
}

// Picture angle of p around (cx, cy) minus tilt, brought into [from, from + 360).
inline double AngleFrom(Vec3 p, double cx, double cy, double tilt, double from) {
    const auto q = Pic(p);
    double a = std::atan2(q[1] - cy, q[0] - cx) * 180 / std::numbers::pi - tilt;
    while (a < from) a += 360;
    while (a >= from + 360) a -= 360;
    return a;
}

// Whether p is seen on the arc that runs counter-clockwise from a1 to a2 (an
// end below its start counts one turn further, as the arcs are drawn).
inline bool OnArc(Vec3 p, double cx, double cy, double tilt, double a1, double a2) {
    if (a2 <= a1) a2 += 360;
    return AngleFrom(p, cx, cy, tilt, a1) < a2;
}

}  // namespace pelmar::test
