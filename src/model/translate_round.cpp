// Translation of ellipses and of the round solids.  Every part is moved by the
// vector the way its own kind is moved, and each kind's update procedure runs
// on it; the solid's own update then rebuilds its derived parts.
#include <array>
#include <cmath>
#include <cstddef>

#include "model/geometry.h"
#include "model/translate.h"
#include "model/update.h"

namespace pelmar {

namespace {

void MovePoint(DPoint& p, double dx, double dy, double dz) {
    MoveByVector(p.X.v, p.Y.v, p.Z.v, dx, dy, dz);
    ProjectPoint(p);
}

// A vector that is not finite moves nothing: it would turn every coordinate
// into NaN for good.
bool Finite(double dx, double dy, double dz) { return std::isfinite(dx) && std::isfinite(dy) && std::isfinite(dz); }

void MoveArr(std::array<double, 3>& q, double dx, double dy, double dz) { MoveByVector(q[0], q[1], q[2], dx, dy, dz); }

// A segment moves by its two ends; its division points are placed again by
// the segment update.
void MoveLine(DLine& l, double dx, double dy, double dz) {
    MovePoint(l.P1, dx, dy, dz);
    MovePoint(l.P2, dx, dy, dz);
    UpdateLine(l, 0);
}

void MoveTriangle(DTri& t, double dx, double dy, double dz) {
    for (std::size_t i = 1; i <= 3; ++i) MoveLine(t.S[i], dx, dy, dz);
    for (std::size_t i = 1; i <= 5; ++i) MoveLine(t.Lines[i], dx, dy, dz);
    for (std::size_t i = 1; i <= 2; ++i) TranslateCircle(t.Circ[i], dx, dy, dz);
    UpdateTriangle(t, 0, true);
}

void MoveTetragon(DKv& k, double dx, double dy, double dz) {
    for (std::size_t i = 1; i <= 4; ++i) MoveLine(k.S[i], dx, dy, dz);
    MovePoint(k.Center, dx, dy, dz);
    for (std::size_t i = 1; i <= 2; ++i) MoveLine(k.Diag[i], dx, dy, dz);
    for (std::size_t i = 1; i <= 2; ++i) TranslateCircle(k.Circ[i], dx, dy, dz);
    UpdateTetragon(k, 0, true);
}

}  // namespace

// A moved ellipse has the same shape: its radius segments keep the angle
// they were given and their length.  Read back from the moved ends, which
// stand on whole picture pixels, the angle would turn a little at every move.
void TranslateCircle(DCircle& c, double dx, double dy, double dz) {
    if (!Finite(dx, dy, dz)) return;
    MovePoint(c.Center, dx, dy, dz);
    MoveArr(c.Q1, dx, dy, dz);
    MoveArr(c.Q2, dx, dy, dz);
    for (std::size_t i = 1; i <= 3; ++i) {
        DLine& r = c.R[i];
        const double angle = r.Angle.v, length = r.Length.v;
        MoveLine(r, dx, dy, dz);
        r.Angle.v = angle;
        r.Length.v = length;
    }
    UpdateCircle(c, 0);
}

void TranslateOrb(DSf& s, double dx, double dy, double dz) {
    if (!Finite(dx, dy, dz)) return;
    MovePoint(s.Center, dx, dy, dz);
    for (std::size_t i = 1; i <= 7; ++i) TranslateCircle(s.Sec[i], dx, dy, dz);
    TranslateCircle(s.Contour, dx, dy, dz);
    UpdateOrb(s, 0);
}

void TranslateCylinder(DZi& z, double dx, double dy, double dz) {
    if (!Finite(dx, dy, dz)) return;
    for (std::size_t b = 1; b <= 2; ++b) TranslateCircle(z.Base[b], dx, dy, dz);
    MoveLine(z.Axis, dx, dy, dz);
    for (std::size_t i = 1; i <= 4; ++i) MoveTetragon(z.Sec[i], dx, dy, dz);
    TranslateOrb(z.OutSphere, dx, dy, dz);
    TranslateOrb(z.InSphere, dx, dy, dz);
    UpdateCylinder(z, 0);
}

void TranslateCone(DKo& k, double dx, double dy, double dz) {
    if (!Finite(dx, dy, dz)) return;
    TranslateCircle(k.Base, dx, dy, dz);
    MoveLine(k.Axis, dx, dy, dz);
    for (std::size_t i = 1; i <= 4; ++i) MoveTriangle(k.Sec[i], dx, dy, dz);
    TranslateOrb(k.OutSphere, dx, dy, dz);
    TranslateOrb(k.InSphere, dx, dy, dz);
    UpdateCone(k, 0);
}

}  // namespace pelmar
