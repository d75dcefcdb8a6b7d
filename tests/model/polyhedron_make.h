// Test helper: pyramid and prism records built from their vertices, and the
// standard solids the view tests look at from the default direction.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "model/geometry.h"
#include "model/records.h"

namespace pelmar::test {

inline void PlaceVertex(DPoint& p, Vec3 v) {
    SetPos(p, v);
    ProjectPoint(p);
}

// Vertices of a triangle or tetragon, also in the end 2 of the side before
// each; the special lines of a triangle start at vertex 1 as medians.
template <class Fig, std::size_t N>
void SetVertices(Fig& f, const std::array<Vec3, N>& v) {
    for (std::size_t i = 1; i <= N; ++i) {
        PlaceVertex(f.S[i].P1, v[i - 1]);
        PlaceVertex(f.S[i].P2, v[i % N]);
    }
    f.View.v = 1;
    f.Layer.v = 1;
    f.Thick.v = 1;
}

inline void SetTriLines(DTri& t) {
    for (std::size_t i = 1; i <= 5; ++i) {
        t.LineVertex[i].v = 1;
        t.LineMode[i].v = 1;
        t.LineKind[i].v = 3;
    }
}

template <class P>
void SetHead(P& p, std::uint8_t typ, std::uint8_t view) {
    p.Typ.v = typ;
    p.View.v = view;
    p.Layer.v = 1;
    p.Thick.v = 1;
    p.ColorIndex.v = 9;
    p.OutSphere.Radius.v = p.InSphere.Radius.v = 1;
}

inline DPi3 MakePyramid3(const std::array<Vec3, 3>& base, Vec3 apex, std::uint8_t typ, std::uint8_t view) {
    DPi3 p;
    SetHead(p, typ, view);
    SetVertices(p.Base, base);
    SetTriLines(p.Base);
    p.Base.Typ.v = 4;
    for (auto& f : p.Face) SetTriLines(f);
    PlaceVertex(p.HeightLine.P2, apex);
    p.HeightLine.Length.v = apex.z;
    return p;
}

inline DPi4 MakePyramid4(const std::array<Vec3, 4>& base, Vec3 apex, std::uint8_t typ, std::uint8_t view) {
    DPi4 p;
    SetHead(p, typ, view);
    SetVertices(p.Base, base);
    p.Base.Typ.v = 7;
    for (auto& f : p.Face) SetTriLines(f);
    PlaceVertex(p.HeightLine.P2, apex);
    p.HeightLine.Length.v = apex.z;
    return p;
}

template <class P, std::size_t N>
void SetPrismVertices(P& p, const std::array<Vec3, N>& lower, Vec3 edge) {
    std::array<Vec3, N> upper{};
    for (std::size_t i = 0; i < N; ++i) upper[i] = lower[i] + edge;
    SetVertices(p.Base[1], lower);
    SetVertices(p.Base[2], upper);
    p.EdgeX.v = edge.x;
    p.EdgeY.v = edge.y;
    p.EdgeZ.v = edge.z;
}

inline DPr3 MakePrism3(const std::array<Vec3, 3>& lower, Vec3 edge, std::uint8_t typ, std::uint8_t view) {
    DPr3 p;
    SetHead(p, typ, view);
    SetPrismVertices(p, lower, edge);
    for (auto& b : p.Base) {
        SetTriLines(b);
        b.Typ.v = 4;
    }
    return p;
}

inline DPr4 MakePrism4(const std::array<Vec3, 4>& lower, Vec3 edge, std::uint8_t typ, std::uint8_t view) {
    DPr4 p;
    SetHead(p, typ, view);
    SetPrismVertices(p, lower, edge);
    for (auto& b : p.Base) b.Typ.v = 7;
    return p;
}

// Standard solids on the ground plane (Z = 0) seen from the default
// direction, the viewer in front (larger depth X), to the right and above.

// Triangular pyramid, base vertices at 40 from the origin in the directions
// 320, 80 and 200 degrees (counted from the depth axis towards Y): V1 front
// left, V2 right, V3 back left; apex 60 above the origin.  Face 1 looks to
// the viewer; faces 2 and 3 and the base look away.
inline DPi3 StandardPyramid3(std::uint8_t view) {
    return MakePyramid3({{{30.642, -25.712, 0}, {6.946, 39.392, 0}, {-37.588, -13.681, 0}}}, {0, 0, 60}, 3, view);
}

// Regular quadrangular pyramid on a square of side 40 centred on the origin:
// V1 front left, V2 front right, V3 back right, V4 back left; height 40.
// Faces 1 (front) and 2 (right) look to the viewer.
inline DPi4 StandardPyramid4(std::uint8_t view) {
    DPi4 p = MakePyramid4({{{20, -20, 0}, {20, 20, 0}, {-20, 20, 0}, {-20, -20, 0}}}, {0, 0, 40}, 1, view);
    p.Base.Typ.v = 1;
    p.Base.Side3.v = 1;
    return p;
}

// Regular triangular prism: lower base of side 30 with L1 front left, L2
// front right, L3 back; edge 40 up.  Side 1 (front) and the upper base look
// to the viewer.
inline DPr3 StandardPrism3(std::uint8_t view) {
    DPr3 p = MakePrism3({{{30, 0, 0}, {30, 30, 0}, {4.019, 15, 0}}}, {0, 0, 40}, 1, view);
    p.Base[1].Side3.v = 1;
    return p;
}

// Cube of edge 40: L1 front left, L2 front right, L3 back right, L4 back
// left.  The front (side 1), right (side 2) and upper faces look to the viewer.
inline DPr4 StandardCube(std::uint8_t view) {
    DPr4 p = MakePrism4({{{40, 0, 0}, {40, 40, 0}, {0, 40, 0}, {0, 0, 0}}}, {0, 0, 40}, 1, view);
    p.Base[1].Side3.v = 1;
    return p;
}

}  // namespace pelmar::test
