// Translation of ellipses and of the round solids.  Every part is moved by the
// vector the way its own kind is moved, and each kind's update procedure runs
// on it; the solid's own update then rebuilds its derived parts.  The same
// moves without any update shift the parts for a caller that updates the
// whole once.
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

// Every move below runs each part's update after moving it (Update), or
// only moves the parts, for a caller that updates the whole afterwards.

// A segment moves by its two ends; its division points are placed again by
// the segment update.
template <bool Update>
void MoveLine(DLine& l, double dx, double dy, double dz) {
    MovePoint(l.P1, dx, dy, dz);
    MovePoint(l.P2, dx, dy, dz);
    if constexpr (Update) UpdateLine(l, 0);
}

template <bool Update>
void MoveCircle(DCircle& c, double dx, double dy, double dz);

template <bool Update>
void MoveTriangle(DTri& t, double dx, double dy, double dz) {
    for (std::size_t i = 1; i <= 3; ++i) MoveLine<Update>(t.S[i], dx, dy, dz);
    for (std::size_t i = 1; i <= 5; ++i) MoveLine<Update>(t.Lines[i], dx, dy, dz);
    for (std::size_t i = 1; i <= 2; ++i) MoveCircle<Update>(t.Circ[i], dx, dy, dz);
    if constexpr (Update) UpdateTriangle(t, 0, true);
}

template <bool Update>
void MoveTetragon(DKv& k, double dx, double dy, double dz) {
    for (std::size_t i = 1; i <= 4; ++i) MoveLine<Update>(k.S[i], dx, dy, dz);
    MovePoint(k.Center, dx, dy, dz);
    for (std::size_t i = 1; i <= 2; ++i) MoveLine<Update>(k.Diag[i], dx, dy, dz);
    for (std::size_t i = 1; i <= 2; ++i) MoveCircle<Update>(k.Circ[i], dx, dy, dz);
    if constexpr (Update) UpdateTetragon(k, 0, true);
}

// A moved ellipse has the same shape: its radius segments keep the angle
// they were given and their length.  Read back from the moved ends, which
// stand on whole picture pixels, the angle would turn a little at every move.
template <bool Update>
void MoveCircle(DCircle& c, double dx, double dy, double dz) {
    MovePoint(c.Center, dx, dy, dz);
    MoveArr(c.Q1, dx, dy, dz);
    MoveArr(c.Q2, dx, dy, dz);
    for (std::size_t i = 1; i <= 3; ++i) {
        DLine& r = c.R[i];
        const double angle = r.Angle.v, length = r.Length.v;
        MoveLine<Update>(r, dx, dy, dz);
        r.Angle.v = angle;
        r.Length.v = length;
    }
    if constexpr (Update) UpdateCircle(c, 0);
}

template <bool Update>
void MoveOrb(DSf& s, double dx, double dy, double dz) {
    MovePoint(s.Center, dx, dy, dz);
    for (std::size_t i = 1; i <= 7; ++i) MoveCircle<Update>(s.Sec[i], dx, dy, dz);
    MoveCircle<Update>(s.Contour, dx, dy, dz);
    if constexpr (Update) UpdateOrb(s, 0);
}

template <bool Update>
void MoveCylinder(DZi& z, double dx, double dy, double dz) {
    for (std::size_t b = 1; b <= 2; ++b) MoveCircle<Update>(z.Base[b], dx, dy, dz);
    MoveLine<Update>(z.Axis, dx, dy, dz);
    for (std::size_t i = 1; i <= 4; ++i) MoveTetragon<Update>(z.Sec[i], dx, dy, dz);
    MoveOrb<Update>(z.OutSphere, dx, dy, dz);
    MoveOrb<Update>(z.InSphere, dx, dy, dz);
    if constexpr (Update) UpdateCylinder(z, 0);
}

template <bool Update>
void MoveCone(DKo& k, double dx, double dy, double dz) {
    MoveCircle<Update>(k.Base, dx, dy, dz);
    MoveLine<Update>(k.Axis, dx, dy, dz);
    for (std::size_t i = 1; i <= 4; ++i) MoveTriangle<Update>(k.Sec[i], dx, dy, dz);
    MoveOrb<Update>(k.OutSphere, dx, dy, dz);
    MoveOrb<Update>(k.InSphere, dx, dy, dz);
    if constexpr (Update) UpdateCone(k, 0);
}

// The move, by a finite vector only; whether it ran.
template <class R>
bool MoveIfFinite(void (*move)(R&, double, double, double), R& r, double dx, double dy, double dz) {
    if (!Finite(dx, dy, dz)) return false;
    move(r, dx, dy, dz);
    return true;
}

}  // namespace

void TranslateCircle(DCircle& c, double dx, double dy, double dz) { MoveIfFinite(MoveCircle<true>, c, dx, dy, dz); }
void TranslateOrb(DSf& s, double dx, double dy, double dz) { MoveIfFinite(MoveOrb<true>, s, dx, dy, dz); }
void TranslateCylinder(DZi& z, double dx, double dy, double dz) { MoveIfFinite(MoveCylinder<true>, z, dx, dy, dz); }
void TranslateCone(DKo& k, double dx, double dy, double dz) { MoveIfFinite(MoveCone<true>, k, dx, dy, dz); }

bool ShiftParts(DCircle& c, double dx, double dy, double dz) { return MoveIfFinite(MoveCircle<false>, c, dx, dy, dz); }
bool ShiftParts(DSf& s, double dx, double dy, double dz) { return MoveIfFinite(MoveOrb<false>, s, dx, dy, dz); }
bool ShiftParts(DZi& z, double dx, double dy, double dz) { return MoveIfFinite(MoveCylinder<false>, z, dx, dy, dz); }
bool ShiftParts(DKo& k, double dx, double dy, double dz) { return MoveIfFinite(MoveCone<false>, k, dx, dy, dz); }

}  // namespace pelmar
