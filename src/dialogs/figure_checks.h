// Checks the triangle and tetragon dialogs make before a typed value reshapes
// a figure: whether an angle at a vertex is defined, whether a derived height
// can be drawn, whether the reshaped vertices are real numbers.
#pragma once

#include "model/geometry.h"
#include "model/records.h"

namespace pelmar {

Vec3 PointXYZ(const DPoint& p);
inline Vec3 TriVertex(const DTri& t, int i) { return PointXYZ(t.S[static_cast<std::size_t>(i)].P1); }
inline Vec3 KvVertex(const DKv& k, int i) { return PointXYZ(k.S[static_cast<std::size_t>(i)].P1); }

// The angle at v between the rays to a and to b exists and the three points
// span a plane to turn in: no two coincide, the three are not on one line.
bool SpansAngle(Vec3 v, Vec3 a, Vec3 b);

// A height a figure can be built with: a finite number, not negative, not
// beyond what can be drawn (a right angle typed at the base gives an
// unbounded height).
bool HeightDrawable(double h);

bool FiniteVertices(const DTri& t);
bool FiniteVertices(const DKv& k);

}  // namespace pelmar
