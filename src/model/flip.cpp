#include "model/flip.h"

namespace pelmar {

namespace {

// Integer negation that wraps at the lowest value instead of overflowing.
std::int32_t Negate(std::int32_t v) {
    return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(v));
}

template <class Sphere>
void FlipSpheres(Sphere& out, Sphere& in, std::uint8_t mode, std::int32_t h) {
    FlipYOrb(out, mode, h);
    FlipYOrb(in, mode, h);
}

}  // namespace

void FlipYPoint(DPoint& p, std::uint8_t mode, std::int32_t h) {
    p.ScrY.v = h - p.ScrY.v;
    if (mode == FlipToScreen)
        p.Z.v -= h;
    else if (mode == FlipFromOldFile)
        p.Z.v += h;
    p.LabelAngle.v = Negate(p.LabelAngle.v);
}

void FlipYLine(DLine& l, std::uint8_t mode, std::int32_t h) {
    FlipYPoint(l.P1, mode, h);
    FlipYPoint(l.P2, mode, h);
    FlipYPoint(l.P3, mode, h);
    FlipYPoint(l.P4, mode, h);
    l.Angle.v = -l.Angle.v;
}

void FlipYCircle(DCircle& c, std::uint8_t mode, std::int32_t h) {
    FlipYPoint(c.Center, mode, h);
    for (auto& r : c.R) FlipYLine(r, mode, h);
    c.Tilt.v = -c.Tilt.v;
    const double a1 = c.Arc1.v;
    c.Arc1.v = -c.Arc2.v;
    c.Arc2.v = -a1;
    const double d1 = c.DashArc1.v;
    c.DashArc1.v = -c.DashArc2.v;
    c.DashArc2.v = -d1;
}

void FlipYTriangle(DTri& t, std::uint8_t mode, std::int32_t h) {
    for (auto& s : t.S) FlipYLine(s, mode, h);
    for (auto& c : t.Circ) FlipYCircle(c, mode, h);
    for (auto& l : t.Lines) FlipYLine(l, mode, h);
    t.Side3.v ^= 1;
}

void FlipYTetragon(DKv& k, std::uint8_t mode, std::int32_t h) {
    for (auto& s : k.S) FlipYLine(s, mode, h);
    for (auto& c : k.Circ) FlipYCircle(c, mode, h);
    for (auto& d : k.Diag) FlipYLine(d, mode, h);
    FlipYPoint(k.Center, mode, h);
    k.Side3.v ^= 1;
}

void FlipYXOY(DXOY& x, std::uint8_t mode, std::int32_t h) {
    FlipYPoint(x.Center, mode, h);
    FlipYLine(x.AxisX, mode, h);
    FlipYLine(x.AxisY, mode, h);
}

void FlipYOrb(DSf& s, std::uint8_t mode, std::int32_t h) {
    FlipYPoint(s.Center, mode, h);
    FlipYCircle(s.Contour, mode, h);
    for (auto& c : s.Sec) FlipYCircle(c, mode, h);
}

void FlipYCylinder(DZi& z, std::uint8_t mode, std::int32_t h) {
    FlipYLine(z.Axis, mode, h);
    FlipYCircle(z.Base[1], mode, h);
    FlipYCircle(z.Base[2], mode, h);
    // Sections: 2 is the contour, 1 the main, 3 and 4 the additional ones.
    for (int i : {2, 1, 3, 4}) FlipYTetragon(z.Sec[static_cast<std::size_t>(i)], mode, h);
    FlipSpheres(z.OutSphere, z.InSphere, mode, h);
}

void FlipYCone(DKo& k, std::uint8_t mode, std::int32_t h) {
    FlipYLine(k.Axis, mode, h);
    FlipYCircle(k.Base, mode, h);
    for (int i : {2, 1, 3, 4}) FlipYTriangle(k.Sec[static_cast<std::size_t>(i)], mode, h);
    FlipSpheres(k.OutSphere, k.InSphere, mode, h);
}

void FlipYPyramid3(DPi3& p, std::uint8_t mode, std::int32_t h) {
    FlipYLine(p.HeightLine, mode, h);
    FlipYTriangle(p.Base, mode, h);
    for (auto& f : p.Face) FlipYTriangle(f, mode, h);
    FlipSpheres(p.OutSphere, p.InSphere, mode, h);
}

void FlipYPyramid4(DPi4& p, std::uint8_t mode, std::int32_t h) {
    FlipYLine(p.HeightLine, mode, h);
    FlipYTetragon(p.Base, mode, h);
    for (auto& f : p.Face) FlipYTriangle(f, mode, h);
    FlipSpheres(p.OutSphere, p.InSphere, mode, h);
}

void FlipYPrism3(DPr3& p, std::uint8_t mode, std::int32_t h) {
    FlipYTriangle(p.Base[1], mode, h);
    FlipYTriangle(p.Base[2], mode, h);
    for (auto& s : p.Side) FlipYTetragon(s, mode, h);
    FlipSpheres(p.OutSphere, p.InSphere, mode, h);
}

void FlipYPrism4(DPr4& p, std::uint8_t mode, std::int32_t h) {
    FlipYTetragon(p.Base[1], mode, h);
    FlipYTetragon(p.Base[2], mode, h);
    for (auto& s : p.Side) FlipYTetragon(s, mode, h);
    FlipSpheres(p.OutSphere, p.InSphere, mode, h);
}

void FlipYXYZ(DXZ& x, std::uint8_t mode, std::int32_t h) {
    FlipYPoint(x.Center, mode, h);
    FlipYLine(x.AxisX, mode, h);
    FlipYLine(x.AxisY, mode, h);
    FlipYLine(x.AxisZ, mode, h);
}

namespace {

template <class T, std::size_t N>
void FlipStore(Store<T, N>& s, void (*flip)(T&, std::uint8_t, std::int32_t), std::uint8_t mode,
               std::int32_t h) {
    for (std::size_t i = 1; i <= s.count(); ++i) flip(s[i], mode, h);
}

}  // namespace

void FlipYDocument(DProj& d, WorkingCopies* workingCopies, std::uint8_t mode, std::int32_t h) {
    DSubProj& o = d.Obj;
    FlipStore(o.Po, FlipYPoint, mode, h);
    FlipStore(o.Li, FlipYLine, mode, h);
    FlipStore(o.Ci, FlipYCircle, mode, h);
    FlipStore(o.Tr, FlipYTriangle, mode, h);
    FlipStore(o.Kv, FlipYTetragon, mode, h);
    FlipStore(o.Xy, FlipYXOY, mode, h);
    FlipStore(o.Sf, FlipYOrb, mode, h);
    FlipStore(o.Zi, FlipYCylinder, mode, h);
    FlipStore(o.Ko, FlipYCone, mode, h);
    FlipStore(o.I3, FlipYPyramid3, mode, h);
    FlipStore(o.I4, FlipYPyramid4, mode, h);
    FlipStore(o.R3, FlipYPrism3, mode, h);
    FlipStore(o.R4, FlipYPrism4, mode, h);
    FlipStore(o.Xz, FlipYXYZ, mode, h);
    if (!workingCopies) return;
    WorkingCopies& w = *workingCopies;
    FlipYPoint(w.CurPoint, mode, h);
    FlipYLine(w.CurLine, mode, h);
    FlipYCircle(w.CurCircle, mode, h);
    FlipYTriangle(w.CurTri, mode, h);
    FlipYTetragon(w.CurKv, mode, h);
    FlipYXOY(w.CurXOY, mode, h);
    FlipYOrb(w.CurSf, mode, h);
    FlipYCylinder(w.CurZi, mode, h);
    FlipYCone(w.CurKo, mode, h);
    FlipYPyramid3(w.CurPi3, mode, h);
    FlipYPyramid4(w.CurPi4, mode, h);
    FlipYPrism3(w.CurPr3, mode, h);
    FlipYPrism4(w.CurPr4, mode, h);
    FlipYXYZ(w.CurXZ, mode, h);
}

}  // namespace pelmar
