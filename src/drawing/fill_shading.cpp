#include "drawing/fill_shading.h"

#include <algorithm>
#include <cmath>

#include "model/geometry.h"
#include "model/shading.h"

namespace pelmar {

FillShading::FillShading(const DFill& fill, const DImProj& im, double a, double b, double c, double d)
    : fill_(fill),
      a_(a),
      b_(b),
      c_(c),
      d_(d),
      percent_(im.BorderPercent),
      twoColours_(im.TwoColors == 1),
      border_(im.BorderAngle),
      pointLight_(im.LightSource != 2),
      height_(im.Height) {
    light_ = pointLight_ ? std::array<double, 3>{im.LightX, im.LightY, im.LightZ}
                         : std::array<double, 3>{im.LightDX, im.LightDY, im.LightDZ};
    invSqrt8_ = 1 / Sqrt8();
    den_ = static_cast<Ext>(a_) + (static_cast<Ext>(b_) + c_) * invSqrt8_;
    if (pointLight_)
        table_ = SharedShadeTable(fill_.Colors[0], fill_.Colors[1], fill_.Colors[2], percent_, twoColours_, border_);
    flat_ = ShadeColor(fill_.Colors[0], fill_.Colors[1], fill_.Colors[2], a_, b_, c_, light_, percent_, twoColours_,
                       border_);
}

TColor FillShading::at(int x, int y) const {
    // The viewing line through the model point (0, x, height - y) runs along
    // (1, 1/sqrt8, 1/sqrt8); where it meets the plane is the point seen.
    const Ext px = x;
    const Ext py = static_cast<Ext>(height_) - y;
    double X, Y, Z;
    if (!IsZero(static_cast<double>(den_))) {
        const Ext t = -(static_cast<Ext>(b_) * px + static_cast<Ext>(c_) * py + d_) / den_;
        X = static_cast<double>(t);
        Y = static_cast<double>(px + t * invSqrt8_);
        Z = static_cast<double>(py + t * invSqrt8_);
    } else {
        // The plane is seen edge-on: the general solver decides.
        const double inv = static_cast<double>(invSqrt8_);
        IntersectLinePlane(X, Y, Z, {0, static_cast<double>(px), static_cast<double>(py)}, {1, inv, inv}, a_, b_,
                           c_, d_);
    }
    const std::array<double, 3> toLight{light_[0] - X, light_[1] - Y, light_[2] - Z};
    if (!table_) return ShadeColor(fill_.Colors[0], fill_.Colors[1], fill_.Colors[2], a_, b_, c_, toLight, percent_,
                                   twoColours_, border_);
    return table_->at(a_, b_, c_, toLight);
}

bool ClipPixelBox(double left, double top, double right, double bottom, int w, int h, int& x0, int& y0, int& x1,
                  int& y1) {
    if (w <= 0 || h <= 0) return false;
    if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(right) || !std::isfinite(bottom)) return false;
    // Clamped in floating point first, so that no far-off edge overflows an int.
    const double l = std::max(std::ceil(left), 0.0);
    const double t = std::max(std::ceil(top), 0.0);
    const double r = std::min(std::floor(right), static_cast<double>(w - 1));
    const double b = std::min(std::floor(bottom), static_cast<double>(h - 1));
    if (l > r || t > b) return false;
    x0 = static_cast<int>(l);
    y0 = static_cast<int>(t);
    x1 = static_cast<int>(r);
    y1 = static_cast<int>(b);
    return true;
}

}  // namespace pelmar
