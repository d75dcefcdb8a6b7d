// How a typed value reshapes a triangle or a tetragon: a vertex's picture
// place, an angle at a vertex, the length of a side, the height.  Each rule
// takes the record and gives the reshaped one, or nothing when the figure
// cannot take the value (an angle out of its range, sides that cannot meet,
// a height beyond what can be drawn, vertices that are no longer real
// numbers); the caller's record then stays as it was.  Vertices and sides
// are numbered from 1.
#pragma once

#include <optional>

#include "model/geometry.h"
#include "model/records.h"

namespace pelmar {

// The picture X (xCoord) or Y of a vertex typed: the vertex is seen exactly
// there, moved parallel to the picture.  The commit's type rule then places
// the vertices the type derives; it never moves the one typed where the type
// leaves it free.
DTri TriangleWithVertex(DTri t, int vertex, bool xCoord, double place);
std::optional<DTri> TriangleWithAngle(DTri t, int vertex, double degrees);
std::optional<DTri> TriangleWithSide(DTri t, int side, double length);
std::optional<DTri> TriangleWithHeight(DTri t, double height);

// The parallelogram and the trapezium take vertex 3 where it is typed: their
// third-side byte follows vertex 3 as the typed vertices leave it, so that
// the rule moves vertex 4 alone and mirrors nothing across side 1.
DKv TetragonWithVertex(DKv k, int vertex, bool xCoord, double place);
std::optional<DKv> TetragonWithAngle(DKv k, int vertex, double degrees);
std::optional<DKv> TetragonWithSide(DKv k, int side, double length);
std::optional<DKv> TetragonWithHeight(DKv k, double height);

// The checks the rules make.
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
