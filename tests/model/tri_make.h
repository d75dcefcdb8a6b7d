// Test helper: triangle and tetragon records built from their vertices.
#pragma once

#include <array>
#include <cstddef>

#include "model/geometry.h"
#include "model/records.h"

namespace pelmar::test {

// Vertices set in both ends that repeat them, projected; the five special
// lines start at vertex 1 as medians to the opposite side.
inline DTri MakeTri(Vec3 v1, Vec3 v2, Vec3 v3, std::uint8_t typ = 4) {
    DTri t;
    const std::array<Vec3, 3> v{v1, v2, v3};
    for (std::size_t i = 1; i <= 3; ++i) {
        SetPos(t.S[i].P1, v[i - 1]);
        SetPos(t.S[i].P2, v[i % 3]);
        ProjectPoint(t.S[i].P1);
        ProjectPoint(t.S[i].P2);
    }
    t.Typ.v = typ;
    t.View.v = 1;
    t.Layer.v = 1;
    t.Thick.v = 1;
    for (std::size_t i = 1; i <= 5; ++i) {
        t.LineVertex[i].v = 1;
        t.LineMode[i].v = 1;
        t.LineKind[i].v = 3;
    }
    return t;
}

inline DKv MakeKv(Vec3 v1, Vec3 v2, Vec3 v3, Vec3 v4) {
    DKv k;
    const std::array<Vec3, 4> v{v1, v2, v3, v4};
    for (std::size_t i = 1; i <= 4; ++i) {
        SetPos(k.S[i].P1, v[i - 1]);
        SetPos(k.S[i].P2, v[i % 4]);
        ProjectPoint(k.S[i].P1);
        ProjectPoint(k.S[i].P2);
    }
    return k;
}

inline Vec3 V(const DTri& t, std::size_t i) { return Pos(t.S[i].P1); }

}  // namespace pelmar::test
