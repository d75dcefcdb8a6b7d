// The light of a shaded solid: the colour of one point of a curved surface
// from its outward normal, under the project's point light or light vector.
#pragma once

#include <array>
#include <memory>

#include "model/geometry.h"
#include "model/records.h"
#include "model/shading.h"

namespace pelmar {

class SolidLight {
public:
    SolidLight(const DFill& fill, const DImProj& im);

    // The colour of the surface point p with the (not necessarily unit)
    // outward normal n: lit from the light's position, or along the light
    // vector.
    TColor at(Vec3 p, Vec3 n) const;

private:
    std::shared_ptr<const ShadeTable> table_;
    bool pointLight_;
    std::array<double, 3> light_;
};

// The model point seen at picture pixel (x, y) lies on the viewing ray of
// (x, height - y).
inline double RayPY(int y, int height) { return static_cast<double>(height) - y; }

}  // namespace pelmar
