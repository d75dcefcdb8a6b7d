#include "drawing/solid_light.h"

#include "model/shading.h"

namespace pelmar {

SolidLight::SolidLight(const DFill& fill, const DImProj& im)
    : table_(SharedShadeTable(fill.Colors[0], fill.Colors[1], fill.Colors[2], im.BorderPercent, im.TwoColors == 1,
                              im.BorderAngle)),
      pointLight_(im.LightSource != 2) {
    light_ = pointLight_ ? std::array<double, 3>{im.LightX, im.LightY, im.LightZ}
                         : std::array<double, 3>{im.LightDX, im.LightDY, im.LightDZ};
}

TColor SolidLight::at(Vec3 p, Vec3 n) const {
    const std::array<double, 3> light =
        pointLight_ ? std::array<double, 3>{light_[0] - p.x, light_[1] - p.y, light_[2] - p.z} : light_;
    return table_->at(n.x, n.y, n.z, light);
}

}  // namespace pelmar
