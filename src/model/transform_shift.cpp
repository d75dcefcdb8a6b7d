// In-plane shift: the mouse drag moves objects by whole picture pixels.  The
// picture x follows the 3D Y and the picture y the 3D Z one to one, so the
// projection stays consistent without reprojecting; no update runs.
#include <cstddef>

#include "model/transform.h"
#include "model/transform_parts.h"

namespace pelmar {

namespace {

void ShiftBase(DTri& t, double dx, double dy) { PlaneShiftTriangle(t, dx, dy); }
void ShiftBase(DKv& k, double dx, double dy) { PlaneShiftTetragon(k, dx, dy); }

template <class P>
void ShiftPyramid(P& p, double dx, double dy) {
    ShiftBase(p.Base, dx, dy);
    PlaneShiftLine(p.HeightLine, dx, dy);
    for (auto& f : p.Face) PlaneShiftTriangle(f, dx, dy);
    PlaneShiftOrb(p.OutSphere, dx, dy);
    PlaneShiftOrb(p.InSphere, dx, dy);
}

template <class P>
void ShiftPrism(P& p, double dx, double dy) {
    for (auto& s : p.Side) PlaneShiftTetragon(s, dx, dy);
    for (auto& b : p.Base) ShiftBase(b, dx, dy);
    PlaneShiftOrb(p.OutSphere, dx, dy);
    PlaneShiftOrb(p.InSphere, dx, dy);
}

}  // namespace

void PlaneShiftPoint(DPoint& p, double dx, double dy) {
    p.ScrX.v += dx;
    p.Y.v += dx;
    p.ScrY.v += dy;
    p.Z.v += dy;
}

void PlaneShiftLine(DLine& l, double dx, double dy) {
    PlaneShiftPoint(l.P1, dx, dy);
    PlaneShiftPoint(l.P2, dx, dy);
}

void PlaneShiftCircle(DCircle& c, double dx, double dy) {
    PlaneShiftPoint(c.Center, dx, dy);
    for (std::size_t i = 1; i <= 3; ++i) PlaneShiftLine(c.R[i], dx, dy);
    for (std::array<double, 3>* q : {&c.Q1, &c.Q2}) {
        (*q)[1] += dx;
        (*q)[2] += dy;
    }
}

void PlaneShiftTriangle(DTri& t, double dx, double dy) {
    for (std::size_t i = 1; i <= 3; ++i) PlaneShiftLine(t.S[i], dx, dy);
    for (std::size_t i = 1; i <= 5; ++i) PlaneShiftLine(t.Lines[i], dx, dy);
    for (std::size_t i = 1; i <= 2; ++i) PlaneShiftCircle(t.Circ[i], dx, dy);
}

void PlaneShiftTetragon(DKv& k, double dx, double dy) {
    for (std::size_t i = 1; i <= 4; ++i) PlaneShiftLine(k.S[i], dx, dy);
    PlaneShiftPoint(k.Center, dx, dy);
    for (std::size_t i = 1; i <= 2; ++i) PlaneShiftLine(k.Diag[i], dx, dy);
    for (std::size_t i = 1; i <= 2; ++i) PlaneShiftCircle(k.Circ[i], dx, dy);
}

void PlaneShiftXOY(DXOY& x, double dx, double dy) {
    PlaneShiftPoint(x.Center, dx, dy);
    PlaneShiftLine(x.AxisX, dx, dy);
    PlaneShiftLine(x.AxisY, dx, dy);
    xf::ShiftCurves(x.Curves, dx, dy);
}

void PlaneShiftOrb(DSf& s, double dx, double dy) {
    PlaneShiftPoint(s.Center, dx, dy);
    for (std::size_t i = 1; i <= 7; ++i) PlaneShiftCircle(s.Sec[i], dx, dy);
    PlaneShiftCircle(s.Contour, dx, dy);
}

void PlaneShiftCylinder(DZi& z, double dx, double dy) {
    for (std::size_t b = 1; b <= 2; ++b) PlaneShiftCircle(z.Base[b], dx, dy);
    PlaneShiftLine(z.Axis, dx, dy);
    for (std::size_t i = 1; i <= 4; ++i) PlaneShiftTetragon(z.Sec[i], dx, dy);
    PlaneShiftOrb(z.OutSphere, dx, dy);
    PlaneShiftOrb(z.InSphere, dx, dy);
}

void PlaneShiftCone(DKo& k, double dx, double dy) {
    PlaneShiftCircle(k.Base, dx, dy);
    PlaneShiftLine(k.Axis, dx, dy);
    for (std::size_t i = 1; i <= 4; ++i) PlaneShiftTriangle(k.Sec[i], dx, dy);
    PlaneShiftOrb(k.OutSphere, dx, dy);
    PlaneShiftOrb(k.InSphere, dx, dy);
}

void PlaneShiftPyramid3(DPi3& p, double dx, double dy) { ShiftPyramid(p, dx, dy); }
void PlaneShiftPyramid4(DPi4& p, double dx, double dy) { ShiftPyramid(p, dx, dy); }
void PlaneShiftPrism3(DPr3& p, double dx, double dy) { ShiftPrism(p, dx, dy); }
void PlaneShiftPrism4(DPr4& p, double dx, double dy) { ShiftPrism(p, dx, dy); }

void PlaneShiftXYZ(DXZ& x, double dx, double dy) {
    PlaneShiftPoint(x.Center, dx, dy);
    for (DLine* l : {&x.AxisX, &x.AxisY, &x.AxisZ}) PlaneShiftLine(*l, dx, dy);
    for (auto& c : x.Curves) xf::ShiftCurves(c, dx, dy);
    for (auto& o : x.Outlines) {
        xf::ShiftCurves(o.Lines, dx, dy);
        xf::AddPixels(o.X1, dx);
        xf::AddPixels(o.X2, dx);
        xf::AddPixels(o.Y1, dy);
        xf::AddPixels(o.Y2, dy);
    }
}

}  // namespace pelmar
