// Building tetragon records for the tetragon tests.
#pragma once

#include <gtest/gtest.h>

#include "model/geometry.h"
#include "model/records.h"
#include "vec_near.h"

namespace pelmar::kvtest {

// A tetragon with the given vertices, every end and copy in place and projected.
inline DKv MakeKv(Vec3 v1, Vec3 v2, Vec3 v3, Vec3 v4, std::uint8_t typ = 7, std::uint8_t side3 = 0) {
    DKv k;
    const Vec3 v[4] = {v1, v2, v3, v4};
    for (std::size_t i = 1; i <= 4; ++i) {
        SetPos(k.S[i].P1, v[i - 1]);
        SetPos(k.S[i].P2, v[i % 4]);
        ProjectPoint(k.S[i].P1);
        ProjectPoint(k.S[i].P2);
        k.S[i].LineType.v = 1;
    }
    k.Typ.v = typ;
    k.Side3.v = side3;
    k.Thick.v = 2;
    k.Layer.v = 3;
    k.ColorIndex.v = 9;
    k.View.v = 4;
    return k;
}

inline Vec3 Vtx(const DKv& k, std::size_t i) { return Pos(k.S[i].P1); }

using test::ExpectNear;

}  // namespace pelmar::kvtest
