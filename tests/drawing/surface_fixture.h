// Helpers of the surface tests: sections spanning a cube, and the ray test of
// a surface formula as the line searches take it.
#pragma once

#include <array>
#include <cmath>
#include <memory>
#include <string>

#include "drawing/formula.h"
#include "drawing/surface_internal.h"

namespace pelmar::test {

// One section on, 1-based k within group g (1 x, 2 y, 3 z).
inline void SetSection(SurfaceSections& s, int g, int k, double c, double lo1, double hi1, double lo2,
                       double hi2) {
    const auto i = static_cast<std::size_t>((g - 1) * 11 + k - 1);
    s.On[i] = true;
    s.Value[i] = c;
    s.Bounds[i] = {lo1, hi1, lo2, hi2};
}

// Sections x = lo and x = hi over the square [lo, hi]²: the box is the cube.
inline SurfaceSections CubeSections(double lo, double hi) {
    SurfaceSections s;
    SetSection(s, 1, 1, lo, lo, hi, lo, hi);
    SetSection(s, 1, 2, hi, lo, hi, lo, hi);
    return s;
}

// The ray test of F(x, y, z) = 0 inside the box, for the picture point (0, y, z).
struct RayProbe {
    std::array<Vec3, 8> corners;
    std::string formula;
    std::uint8_t mode = 1;
    double step = 0.1;
    GraphTransform t;
    DImProj im;
    std::shared_ptr<DistributionParameters> params = std::make_shared<DistributionParameters>();
    std::shared_ptr<long> calls = std::make_shared<long>(0);

    RayProbe(const std::string& f, const std::array<Vec3, 8>& c, std::uint8_t m = 1, double st = 0.1)
        : corners(c), formula(f), mode(m), step(st) {
        im.LightSource = 2;
        im.LightDX = 1;
        im.LightDY = 0.6;
        im.LightDZ = 0.8;
    }

    SurfaceHitTest hit() const {
        RayProbe self = *this;
        return [self](double y, double z) {
            ++*self.calls;
            TColor c = 0;
            return RaySurfaceHit({0, y, z}, false, self.corners, self.formula, self.mode, self.step, self.t,
                                 0x0000FF, 0x00FF00, 0xFF0000, self.im, false, c, false, *self.params);
        };
    }
    SurfaceColourTest colour() const {
        RayProbe self = *this;
        return [self](double y, double z, TColor& out) {
            ++*self.calls;
            TColor c = 0xFFFFFFFF;
            const bool h = RaySurfaceHit({0, y, z}, false, self.corners, self.formula, self.mode, self.step,
                                         self.t, 0x0000FF, 0x00FF00, 0xFF0000, self.im, true, c, false,
                                         *self.params);
            if (!h || c == 0xFFFFFFFF) return false;
            out = c;
            return true;
        };
    }
};

// The contour of the sphere of radius r about the origin on the picture plane
// x = 0: the points whose viewing ray (1, 1/√8, 1/√8) touches it:
// y² + z² − (y + z)²/10 = r².  Returns the left side minus r², scaled to a
// distance (units) near the contour.
inline double SphereContourError(double y, double z, double r) {
    const double q = y * y + z * z - (y + z) * (y + z) / 10;
    return std::sqrt(std::max(q, 0.0)) - r;
}

}  // namespace pelmar::test
