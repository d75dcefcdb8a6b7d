// When a normal vector gives a direction: the sphere's section planes and the
// rotation of a coordinate system's surface refuse a normal typed shorter
// than this, which the drawing could not turn into a direction.
#pragma once

#include <cmath>

namespace pelmar {

// A finite normal whose squared length is at least 0.001 (the sphere's update
// puts (0, 0, 1) in place of a shorter one).
inline bool NormalHasDirection(double nx, double ny, double nz) {
    const double n2 = nx * nx + ny * ny + nz * nz;
    return std::isfinite(n2) && n2 >= 0.001;
}

}  // namespace pelmar
