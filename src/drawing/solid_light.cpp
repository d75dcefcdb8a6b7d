#include "drawing/solid_light.h"

#include "model/shading.h"

namespace pelmar {

SolidLight::SolidLight(const DFill& fill, const DImProj& im)
    : colours_(fill.Colors),
      percent_(im.BorderPercent),
      twoColours_(im.TwoColors == 1),
      border_(im.BorderAngle),
      pointLight_(im.LightSource != 2) {
    light_ = pointLight_ ? std::array<double, 3>{im.LightX, im.LightY, im.LightZ}
                         : std::array<double, 3>{im.LightDX, im.LightDY, im.LightDZ};
}

TColor SolidLight::at(Vec3 p, Vec3 n) const {
    const std::array<double, 3> light =
        pointLight_ ? std::array<double, 3>{light_[0] - p.x, light_[1] - p.y, light_[2] - p.z} : light_;
    return ShadeColor(colours_[0], colours_[1], colours_[2], n.x, n.y, n.z, light, percent_, twoColours_, border_);
}

}  // namespace pelmar
