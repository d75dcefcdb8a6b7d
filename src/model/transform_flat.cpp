// The transformation operation and its members for the plane kinds: point,
// segment, ellipse, triangle and tetragon.
#include <cmath>
#include <cstddef>
#include <numbers>

#include "model/construct.h"
#include "model/shading.h"
#include "model/transform.h"
#include "model/transform_parts.h"
#include "model/update.h"

namespace pelmar::xf {

void Op::Move(double& x, double& y, double& z) const {
    switch (family) {
        case Family::Translate: MoveByVector(x, y, z, a[0], a[1], a[2]); break;
        case Family::Rotate: RotateAroundAxis(x, y, z, a[0], a[1], a[2], a[6], a[3], a[4], a[5]); break;
        case Family::Homothety: ScaleFromCentre(x, y, z, a[0], a[1], a[2], a[3]); break;
        case Family::Central: ReflectInCentre(x, y, z, a[0], a[1], a[2]); break;
        case Family::Axial: ReflectInAxis(x, y, z, a[0], a[1], a[2], a[3], a[4], a[5]); break;
        case Family::Mirror: ReflectInPlane(x, y, z, a[0], a[1], a[2], a[3]); break;
    }
}

bool Op::Valid() const {
    for (double v : a)
        if (!std::isfinite(v)) return false;
    switch (family) {
        case Family::Rotate: {
            // The primitive would shrink the offsets by cos(angle) about an
            // axis it cannot normalise: there is no rotation to make.
            const Ext nx = a[3], ny = a[4], nz = a[5];
            return std::sqrt(nx * nx + ny * ny + nz * nz) > 0.00001L;
        }
        case Family::Homothety: return a[3] != 0;  // would collapse the object for good
        case Family::Axial: return !(IsZero(a[3]) && IsZero(a[4]) && IsZero(a[5]));
        default: return true;
    }
}

Op Translation(double dx, double dy, double dz) { return {Family::Translate, {dx, dy, dz, 0, 0, 0, 0}}; }
Op Rotation(double cx, double cy, double cz, double nx, double ny, double nz, double angle) {
    return {Family::Rotate, {cx, cy, cz, nx, ny, nz, angle}};
}
Op Homothety(double cx, double cy, double cz, double k) { return {Family::Homothety, {cx, cy, cz, k, 0, 0, 0}}; }
Op CentralSym(double cx, double cy, double cz) { return {Family::Central, {cx, cy, cz, 0, 0, 0, 0}}; }
Op AxialSym(double px, double py, double pz, double vx, double vy, double vz) {
    return {Family::Axial, {px, py, pz, vx, vy, vz, 0}};
}
Op MirrorSym(double a, double b, double c, double d) { return {Family::Mirror, {a, b, c, d, 0, 0, 0}}; }

void ApplyPoint(DPoint& p, const Op& op) {
    op.Move(p.X.v, p.Y.v, p.Z.v);
    ProjectPoint(p);
}

void ApplyLine(DLine& l, const Op& op) {
    ApplyPoint(l.P1, op);
    ApplyPoint(l.P2, op);
    if (op.family != Family::Translate) l.Angle.v = LineScreenAngle(l);
    UpdateLine(l, 0);
}

void ApplyCircle(DCircle& c, const Op& op) {
    if (op.family == Family::Translate) {
        TranslateCircle(c, op.a[0], op.a[1], op.a[2]);
        return;
    }
    ApplyPoint(c.Center, op);
    for (std::array<double, 3>* q : {&c.Q1, &c.Q2}) {
        DPoint scratch;
        scratch.X.v = (*q)[0];
        scratch.Y.v = (*q)[1];
        scratch.Z.v = (*q)[2];
        ApplyPoint(scratch, op);
        *q = {scratch.X.v, scratch.Y.v, scratch.Z.v};
    }
    double cx, cy, r1, r2, angle, ca, cb, cc, cd, ce, cf;
    const std::uint8_t status = CalcScreenEllipse({c.Center.X.v, c.Center.Y.v, c.Center.Z.v}, c.Q1, c.Q2, cx, cy,
                                                  r1, r2, angle, ca, cb, cc, cd, ce, cf);
    // Without a projected ellipse the outputs are zeros: the centre keeps the
    // position it was just projected to, the axes and the tilt stay.
    if (status == ScreenEllipseOk) {
        c.Center.ScrX.v = cx;
        c.Center.ScrY.v = cy;
        c.A.v = r1;
        c.B.v = r2;
        c.Tilt.v = static_cast<double>(RoundL(angle * 180.0L / std::numbers::pi_v<Ext> * 1000.0L) / 1000.0L);
    }
    for (std::size_t i = 1; i <= 3; ++i) ApplyLine(c.R[i], op);
    UpdateCircle(c, 0);
}

// The third-point (third-side) flag says on which side of side 1 vertex 3 is
// seen; when the move turns the picture orientation the flag turns with it,
// or the type rule of the update would fold vertex 3 over side 1.
double ThirdSide(const DTri& t) { return SideOfLine(t.S[3].P1, t.S[1]); }
double ThirdSide(const DKv& k) { return SideOfLine(k.S[3].P1, k.S[1]); }

template <class Fig>
void MoveSides(Fig& f, const Op& op) {
    const bool test = op.family != Family::Translate;
    const double s0 = test ? ThirdSide(f) : 0;
    for (auto& s : f.S) ApplyLine(s, op);
    if (test && s0 * ThirdSide(f) < 0) f.Side3.v ^= 1;
}

void ApplyTriangle(DTri& t, const Op& op) {
    // The isosceles and the right triangle place vertex 3 at their height
    // over side 1: a homothety scales it with the sides.
    if (op.family == Family::Homothety) t.Height.v *= std::fabs(op.K());
    MoveSides(t, op);
    for (std::size_t i = 1; i <= 5; ++i) ApplyLine(t.Lines[i], op);
    for (std::size_t i = 1; i <= 2; ++i) ApplyCircle(t.Circ[i], op);
    // A rotated triangle keeps its turned vertices; the type rule would place
    // vertex 3 again.
    UpdateTriangle(t, 0, op.family != Family::Rotate);
}

void ApplyTetragon(DKv& k, const Op& op) {
    MoveSides(k, op);
    ApplyPoint(k.Center, op);
    for (std::size_t i = 1; i <= 2; ++i) ApplyLine(k.Diag[i], op);
    for (std::size_t i = 1; i <= 2; ++i) ApplyCircle(k.Circ[i], op);
    UpdateTetragon(k, 0, true);
}

void ShiftCurves(DCurve2& set, double dx, double dy) {
    if (!set.Lines) return;
    std::vector<DCurve1> lines = *set.Lines;
    for (DCurve1& l : lines) {
        if (!l.Points) continue;
        std::vector<CurvePoint> pts = *l.Points;
        for (CurvePoint& p : pts) {
            p.x += dx;
            p.y -= dy;
        }
        l.Points = std::make_shared<const std::vector<CurvePoint>>(std::move(pts));
    }
    set.Lines = std::make_shared<const std::vector<DCurve1>>(std::move(lines));
}

}  // namespace pelmar::xf
