// How a typed value reshapes a pyramid or a prism: the pyramid's height, the
// side of the base plane its apex lies on, its type and its rotation about
// the height; the prism's lateral edge vector, the edge's length and its
// rotation about the lateral edge through the lower base's centre.
//
// Each rule takes the record and gives the reshaped one, or nothing when the
// solid cannot take the value (a value that is not a finite number, a
// negative length, an axis or a base plane that does not exist); the
// caller's record then stays as it was.  The update procedure of the kind
// runs afterwards, in the commit, and places everything that follows.
#pragma once

#include <optional>

#include "model/records.h"

namespace pelmar {

// The smallest height a pyramid takes, as the cylinder and the cone: a
// lower apex falls into the base once the update keeps its coordinates to
// 0.001, and with it the side of the base it stood on.
inline constexpr double SmallestPyramidHeight = 1.0;

// The height line set to `height`, the apex moved along it.  A height line
// of length 0 has no direction: the length alone is kept where the type
// places the apex by it (the regular pyramid), else the value is refused.
// Refused below SmallestPyramidHeight.
std::optional<DPi3> PyramidWithHeight(DPi3 p, double height);
std::optional<DPi4> PyramidWithHeight(DPi4 p, double height);

// The apex on side 1 or 2 of the base plane: mirrored in the plane through
// base vertices 1, 2, 3 when it lies on the other side; unchanged when it
// already lies on `side`.  Nothing for a degenerate base or another side.
std::optional<DPi3> PyramidWithApexSide(DPi3 p, int side);
std::optional<DPi4> PyramidWithApexSide(DPi4 p, int side);

// The whole pyramid turned by `degrees` about its height (through the foot,
// towards the apex).  Nothing for a height of length 0.
std::optional<DPi3> RotatedPyramid(DPi3 p, double degrees);
std::optional<DPi4> RotatedPyramid(DPi4 p, double degrees);

// The type chosen (1..3).  A type without the sphere switches it off: the
// arbitrary three-sided pyramid (3) has no inscribed sphere, the four-sided
// pyramid of type 2 neither sphere.
std::optional<DPi3> PyramidWithType(DPi3 p, int type);
std::optional<DPi4> PyramidWithType(DPi4 p, int type);

// Lateral edge vector component 1 (X), 2 (Y) or 3 (Z).  Refused where it
// would make the edge (0, 0, 0) once kept to 0.001: the prism would be flat
// and lose its slant.
std::optional<DPr3> PrismWithEdge(DPr3 p, int component, double value);
std::optional<DPr4> PrismWithEdge(DPr4 p, int component, double value);

// The lateral edge's length: the vector scaled to it, keeping its direction
// exactly (that of the unrounded edge the update kept, ExactEdge), however
// short an earlier length made the rounded components; a zero vector becomes
// the vertical (0, 0, length).  Nothing for a length of 0 or one so short
// that the edge would be kept as (0, 0, 0) (a flat prism), or a vector whose
// length a double cannot hold (beyond its range, or so short that it comes
// out 0).
std::optional<DPr3> PrismWithEdgeLength(DPr3 p, double length);
std::optional<DPr4> PrismWithEdgeLength(DPr4 p, double length);

// The whole prism turned by `degrees` about the axis parallel to the lateral
// edge through the lower base's centre (the triangle's incentre, the
// tetragon's diagonals' crossing).  Nothing for a zero edge vector.
std::optional<DPr3> RotatedPrism(DPr3 p, double degrees);
std::optional<DPr4> RotatedPrism(DPr4 p, double degrees);

}  // namespace pelmar
