// Transformation members of the solids: sphere, cylinder, cone, pyramids and
// prisms.  Translation of the round solids is the dependency pass's own
// translation; the other families move every part and then fix the section
// normals, the radius, the section position angles and the lateral edge that
// the move invalidates.
#include <cmath>
#include <cstddef>

#include "model/transform.h"
#include "model/transform_parts.h"
#include "model/update.h"

namespace pelmar::xf {

namespace {

constexpr double kDeg = 180.0 / 3.14159265358979323846;

// A homothety scales a radius (or another distance) by the size of its
// factor: it stays a length.
void ScaleRadius(Ed<double>& r, const Op& op) {
    // Stored to the thousandth, as the homothety stores the points it moves.
    if (op.family == Family::Homothety) r.v = Round3(r.v * std::fabs(op.K()));
}

// Picture angle of a section's first vertex seen from a base centre, degrees.
double PositionAngle(const DPoint& vertex, const DPoint& centre) {
    Ext vx, vy, cx, cy;
    ProjectXYZ(vx, vy, vertex.X.v, vertex.Y.v, vertex.Z.v);
    ProjectXYZ(cx, cy, centre.X.v, centre.Y.v, centre.Z.v);
    const Ext dx = vx - cx, dy = vy - cy;
    const Ext len = std::sqrt(dx * dx + dy * dy);
    if (len == 0) return 0;
    double a = SafeArcCos(static_cast<double>(dx / len)) * kDeg;
    if (dy < 0) a = -a;
    return Round3(a);
}

void ApplyBase(DTri& t, const Op& op) { ApplyTriangle(t, op); }
void ApplyBase(DKv& k, const Op& op) { ApplyTetragon(k, op); }

// The bases turn their own third-side flags with the picture orientation;
// a second toggle here would undo it.
template <class P>
void ApplyPyramid(P& p, const Op& op) {
    ApplyBase(p.Base, op);
    ApplyLine(p.HeightLine, op);
    for (auto& f : p.Face) ApplyTriangle(f, op);
    ApplyOrb(p.OutSphere, op);
    ApplyOrb(p.InSphere, op);
}

template <class P>
void ApplyPrism(P& p, const Op& op) {
    for (auto& s : p.Side) ApplyTetragon(s, op);
    for (auto& b : p.Base) ApplyBase(b, op);
    ApplyOrb(p.OutSphere, op);
    ApplyOrb(p.InSphere, op);
    if (op.family != Family::Translate) {
        const Vec3 e = Pos(p.Base[2].S[1].P1) - Pos(p.Base[1].S[1].P1);
        p.EdgeX.v = e.x;
        p.EdgeY.v = e.y;
        p.EdgeZ.v = e.z;
    }
}

}  // namespace

void ApplyOrb(DSf& s, const Op& op) {
    if (op.family == Family::Translate) {
        TranslateOrb(s, op.a[0], op.a[1], op.a[2]);
        return;
    }
    const Vec3 c0 = Pos(s.Center);
    const double x0 = s.Center.ScrX.v, y0 = s.Center.ScrY.v;
    ApplyPoint(s.Center, op);
    const Vec3 c1 = Pos(s.Center);
    for (std::size_t i = 1; i <= 7; ++i) {
        Vec3 p = c0 + Vec3{s.SecNX[i].v, s.SecNY[i].v, s.SecNZ[i].v};
        op.Move(p);
        const Vec3 n = p - c1;
        s.SecNX[i].v = Round3(n.x);
        s.SecNY[i].v = Round3(n.y);
        s.SecNZ[i].v = Round3(n.z);
    }
    // The section planes keep their distances from the centre in step with
    // the radius.
    ScaleRadius(s.Radius, op);
    for (std::size_t i = 1; i <= 7; ++i) ScaleRadius(s.SecH[i], op);
    for (std::size_t i = 1; i <= 7; ++i) ApplyCircle(s.Sec[i], op);
    if (op.family == Family::Homothety)
        ApplyCircle(s.Contour, op);
    else
        PlaneShiftCircle(s.Contour, Round(s.Center.ScrX.v - x0), Round(s.Center.ScrY.v - y0));
    UpdateOrb(s, 0);
}

void ApplyCylinder(DZi& z, const Op& op) {
    if (op.family == Family::Translate) {
        TranslateCylinder(z, op.a[0], op.a[1], op.a[2]);
        return;
    }
    for (std::size_t b = 1; b <= 2; ++b) ApplyCircle(z.Base[b], op);
    ApplyLine(z.Axis, op);
    ScaleRadius(z.Radius, op);
    // The contour section follows the view: the update builds it again from
    // the moved bases, except under a homothety, which keeps the view.
    for (std::size_t i = 1; i <= 4; ++i)
        if (i != 2 || op.family == Family::Homothety) ApplyTetragon(z.Sec[i], op);
    ApplyOrb(z.OutSphere, op);
    ApplyOrb(z.InSphere, op);
    z.SecPos1.v = PositionAngle(z.Sec[3].S[1].P1, z.Base[1].Center);
    z.SecPos2.v = PositionAngle(z.Sec[4].S[1].P1, z.Base[1].Center);
    UpdateCylinder(z, 0);
}

void ApplyCone(DKo& k, const Op& op) {
    if (op.family == Family::Translate) {
        TranslateCone(k, op.a[0], op.a[1], op.a[2]);
        return;
    }
    ApplyCircle(k.Base, op);
    ApplyLine(k.Axis, op);
    ScaleRadius(k.Radius, op);
    for (std::size_t i = 1; i <= 4; ++i)
        if (i != 2 || op.family == Family::Homothety) ApplyTriangle(k.Sec[i], op);
    ApplyOrb(k.OutSphere, op);
    ApplyOrb(k.InSphere, op);
    k.SecPos1.v = PositionAngle(k.Sec[3].S[1].P1, k.Base.Center);
    k.SecPos2.v = PositionAngle(k.Sec[4].S[1].P1, k.Base.Center);
    UpdateCone(k, 0);
}

void ApplyPyramid3(DPi3& p, const Op& op) {
    ApplyPyramid(p, op);
    UpdatePyramid3(p, 0);
}

void ApplyPyramid4(DPi4& p, const Op& op) {
    ApplyPyramid(p, op);
    UpdatePyramid4(p, 0);
}

void ApplyPrism3(DPr3& p, const Op& op) {
    ApplyPrism(p, op);
    UpdatePrism3(p, 0);
}

void ApplyPrism4(DPr4& p, const Op& op) {
    ApplyPrism(p, op);
    UpdatePrism4(p, 0);
}

}  // namespace pelmar::xf
