#include "dialogs/figure_checks.h"

#include <cmath>

namespace pelmar {

namespace {

bool Finite(const DPoint& p) { return std::isfinite(p.X.v) && std::isfinite(p.Y.v) && std::isfinite(p.Z.v); }

// Far beyond any picture: a million pixels.
constexpr double kMaxSize = 1e6;

}  // namespace

Vec3 PointXYZ(const DPoint& p) { return Vec3{p.X.v, p.Y.v, p.Z.v}; }

bool SpansAngle(Vec3 v, Vec3 a, Vec3 b) {
    const Vec3 u = a - v, w = b - v;
    const double lu = std::sqrt(u.x * u.x + u.y * u.y + u.z * u.z);
    const double lw = std::sqrt(w.x * w.x + w.y * w.y + w.z * w.z);
    if (!(lu > 1e-9) || !(lw > 1e-9)) return false;
    const Vec3 n{u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x};
    const double ln = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    return ln > 1e-9 * lu * lw;  // sine of the angle not (almost) zero
}

bool HeightDrawable(double h) { return std::isfinite(h) && h >= 0 && h <= kMaxSize; }

bool FiniteVertices(const DTri& t) {
    for (std::size_t i = 1; i <= 3; ++i)
        if (!Finite(t.S[i].P1) || !Finite(t.S[i].P2)) return false;
    return std::isfinite(t.Height.v);
}

bool FiniteVertices(const DKv& k) {
    for (std::size_t i = 1; i <= 4; ++i)
        if (!Finite(k.S[i].P1) || !Finite(k.S[i].P2)) return false;
    return std::isfinite(k.Height.v);
}

}  // namespace pelmar
