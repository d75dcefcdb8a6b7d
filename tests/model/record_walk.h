// Test helper: walks every point and ellipse record inside any record, parts
// included, with a readable path for each (the Doubles of every kind are
// walked in finite_check.h).
#pragma once

#include <cstddef>
#include <string>

#include "finite_check.h"
#include "model/records.h"

namespace pelmar::test {

inline std::string At(const std::string& at, const char* name, std::size_t i) {
    return at + "." + name + "[" + std::to_string(i) + "]";
}

// Every point record of a record that can be drawn: v.point(path, point) and,
// for every ellipse record, v.circle(path, ellipse) before its own points.  The
// circumcircle and incircle of a triangle or tetragon and the spheres of a
// solid are walked only while they are switched on.
template <class V>
void WalkParts(const DPoint& p, const std::string& at, V& v) {
    v.point(at, p);
}
template <class V>
void WalkParts(const DLine& l, const std::string& at, V& v) {
    WalkParts(l.P1, at + ".P1", v);
    WalkParts(l.P2, at + ".P2", v);
    WalkParts(l.P3, at + ".P3", v);
    WalkParts(l.P4, at + ".P4", v);
}
template <class V>
void WalkParts(const DCircle& c, const std::string& at, V& v) {
    v.circle(at, c);
    WalkParts(c.Center, at + ".Center", v);
    for (std::size_t i = 1; i <= 3; ++i) WalkParts(c.R[i], At(at, "R", i), v);
}
template <class V>
void WalkParts(const DTri& t, const std::string& at, V& v) {
    for (std::size_t i = 1; i <= 3; ++i) WalkParts(t.S[i], At(at, "S", i), v);
    for (std::size_t i = 1; i <= 2; ++i)
        if (t.CircOn[i].v) WalkParts(t.Circ[i], At(at, "Circ", i), v);
    for (std::size_t i = 1; i <= 5; ++i) WalkParts(t.Lines[i], At(at, "Lines", i), v);
}
template <class V>
void WalkParts(const DKv& k, const std::string& at, V& v) {
    for (std::size_t i = 1; i <= 4; ++i) WalkParts(k.S[i], At(at, "S", i), v);
    for (std::size_t i = 1; i <= 2; ++i)
        if (k.CircOn[i].v) WalkParts(k.Circ[i], At(at, "Circ", i), v);
    for (std::size_t i = 1; i <= 2; ++i) WalkParts(k.Diag[i], At(at, "Diag", i), v);
    WalkParts(k.Center, at + ".Center", v);
}
template <class V>
void WalkParts(const DXOY& x, const std::string& at, V& v) {
    WalkParts(x.Center, at + ".Center", v);
    WalkParts(x.AxisX, at + ".AxisX", v);
    WalkParts(x.AxisY, at + ".AxisY", v);
}
template <class V>
void WalkParts(const DSf& s, const std::string& at, V& v) {
    WalkParts(s.Center, at + ".Center", v);
    WalkParts(s.Contour, at + ".Contour", v);
    for (std::size_t i = 1; i <= 7; ++i) WalkParts(s.Sec[i], At(at, "Sec", i), v);
}
template <class Solid, class V>
void WalkSpheres(const Solid& s, const std::string& at, V& v) {
    if (s.OutSphereOn.v) WalkParts(s.OutSphere, at + ".OutSphere", v);
    if (s.InSphereOn.v) WalkParts(s.InSphere, at + ".InSphere", v);
}
template <class V>
void WalkParts(const DZi& z, const std::string& at, V& v) {
    WalkParts(z.Axis, at + ".Axis", v);
    for (std::size_t i = 1; i <= 2; ++i) WalkParts(z.Base[i], At(at, "Base", i), v);
    for (std::size_t i = 1; i <= 4; ++i) WalkParts(z.Sec[i], At(at, "Sec", i), v);
    WalkSpheres(z, at, v);
}
template <class V>
void WalkParts(const DKo& k, const std::string& at, V& v) {
    WalkParts(k.Axis, at + ".Axis", v);
    WalkParts(k.Base, at + ".Base", v);
    for (std::size_t i = 1; i <= 4; ++i) WalkParts(k.Sec[i], At(at, "Sec", i), v);
    WalkSpheres(k, at, v);
}
template <class B, std::size_t N, class V>
void WalkParts(const DPyramid<B, N>& p, const std::string& at, V& v) {
    WalkParts(p.HeightLine, at + ".HeightLine", v);
    for (std::size_t i = 1; i <= N; ++i) WalkParts(p.Face[i], At(at, "Face", i), v);
    WalkParts(p.Base, at + ".Base", v);
    WalkSpheres(p, at, v);
}
template <class B, std::size_t N, class V>
void WalkParts(const DPrism<B, N>& p, const std::string& at, V& v) {
    for (std::size_t i = 1; i <= N; ++i) WalkParts(p.Side[i], At(at, "Side", i), v);
    for (std::size_t i = 1; i <= 2; ++i) WalkParts(p.Base[i], At(at, "Base", i), v);
    WalkSpheres(p, at, v);
}
template <class V>
void WalkParts(const DXZ& x, const std::string& at, V& v) {
    WalkParts(x.Center, at + ".Center", v);
    WalkParts(x.AxisX, at + ".AxisX", v);
    WalkParts(x.AxisY, at + ".AxisY", v);
    WalkParts(x.AxisZ, at + ".AxisZ", v);
}

}  // namespace pelmar::test
