// Pieces shared by the pyramid and prism updates: style copies, the view
// step of parts and spheres, the sphere switches and the edge visibility
// tests against the faces of a body.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "model/geometry.h"
#include "model/records.h"

namespace pelmar::poly {

// Vertex i of a triangle or tetragon (end 1 of its side i).
template <class Fig>
Vec3 Vertex(const Fig& f, std::size_t i) {
    return Pos(f.S[i].P1);
}

inline Vec3 Mid(Vec3 a, Vec3 b) { return (a + b) * 0.5; }

// A vertex copied into a face: its 3D position and the picture position it
// is seen at.  The face's update reads the picture position (the plane rule
// of a quadrilateral places vertex 4 there), so it must not lag behind.
inline void PlaceCorner(DPoint& p, Vec3 v) {
    SetPos(p, v);
    ProjectPoint(p);
}

// A prism's lateral edge vector: the unrounded one the update kept, while
// the components are still its rounding to 0.001, else the components (set
// anew by the user, a transformation or a file).
template <class P>
Vec3 ExactEdge(const P& p) {
    const auto& x = p.EdgeExact;
    if (Round3(x[0]) == p.EdgeX.v && Round3(x[1]) == p.EdgeY.v && Round3(x[2]) == p.EdgeZ.v) return {x[0], x[1], x[2]};
    return {p.EdgeX.v, p.EdgeY.v, p.EdgeZ.v};
}

// Colour, colour index and layer of the body into a part; the thickness too
// when asked.
void CopyStyle(DHead& part, const DHead& body, bool thick);

// View of a base, face or side by the body's view mode: 1, 2 the mode, 3
// invisible, each with flag 0; 4 kept with flag 1; 5, 6 manual (4) with flag 0.
void ViewPart(Ed<std::uint8_t>& view, std::uint8_t mode);

// The line type of an edge that is not judged by visibility (modes 1 to 4):
// 1, 2, 3 the mode with flag 0; 4 kept with flag 1.  Modes 5 and 6 leave it
// to the hidden-edge step.
void ViewEdge(Ed<std::uint8_t>& lineType, std::uint8_t mode);

// Views of the circumscribed and inscribed sphere by the body's view mode.
void ViewSpheres(DSf& out, DSf& in, std::uint8_t mode);

// A sphere switch with its flag: a switch the user may not change is also
// turned off, so that the sphere is neither drawn nor stuck on.
inline void SphereSwitch(Ed<bool>& on, bool editable) {
    on.e = editable;
    if (!editable) on.v = false;
}

inline bool Behind(const DTri& face, Vec3 p) { return PointBehindTriangle(face, p); }
inline bool Behind(const DKv& face, Vec3 p) { return PointBehindTetragon(face, p); }

// Line type of an edge tested at its midpoint: h when any of the faces, in
// the order given, hides it; else 1.
template <class... Faces>
std::uint8_t EdgeType(Vec3 mid, std::uint8_t h, const Faces&... faces) {
    return (Behind(faces, mid) || ...) ? h : std::uint8_t{1};
}

// The inner lines of a base that follow its edges: the five special lines of
// a triangle, the two diagonals of a tetragon.
template <class F>
void ForBaseLines(DTri& t, F&& f) {
    for (std::size_t i = 1; i <= 5; ++i) f(t.Lines[i]);
}
template <class F>
void ForBaseLines(DKv& k, F&& f) {
    for (std::size_t i = 1; i <= 2; ++i) f(k.Diag[i]);
}

// Line type h when any of the given edges has it, else 1.
inline std::uint8_t LinesType(std::uint8_t h, std::initializer_list<std::uint8_t> edges) {
    for (std::uint8_t e : edges)
        if (e == h) return h;
    return 1;
}

// 1-based index wrapped into 1..n.
constexpr std::size_t Wrap(std::size_t i, std::size_t n) { return (i - 1) % n + 1; }

// Flags of a point that a link holds in place.
inline void LockLinked(DPoint& p) {
    if (!p.Link.linked()) return;
    p.X.e = p.Y.e = p.Z.e = false;
    p.ScrX.e = p.ScrY.e = false;
}

// Head flags of a stand-alone body.
inline void HeadFlagsOn(DHead& h) {
    h.ID.e = h.Layer.e = h.Thick.e = h.Color.e = h.ColorIndex.e = h.Disabled.e = true;
}

// Length and angle flags of every side, and the angle, height, third-point
// and type flags of a base whose vertices are held by links.
void LockLinkedBase(DTri& t);
void LockLinkedBase(DKv& k);

}  // namespace pelmar::poly
