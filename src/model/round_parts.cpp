// Shared pieces of the round-solid updates.
#include "model/round_parts.h"

#include <cmath>
#include <cstddef>

namespace pelmar::round {

Vec3 ViewDir() {
    const double k = static_cast<double>(1 / Sqrt8());
    return {1.0, k, k};
}

double OffsetAngle(Ext dx, Ext dy) {
    const Ext len = std::sqrt(dx * dx + dy * dy);
    if (!(len > 0)) return 0;
    const double a = SafeArcCos(static_cast<double>(dx / len)) * kDeg;
    return dy < 0 ? -a : a;
}

int ToPixel(double v) {
    const double r = Round(v);
    if (!(r > -2e9)) return -2000000000;  // also NaN
    if (r > 2e9) return 2000000000;
    return static_cast<int>(r);
}

Vec3 LiftToPlane(double x, double y, double a, double b, double c, double d) {
    Vec3 p;
    IntersectLinePlane(p.x, p.y, p.z, {0, x, y}, ViewDir(), a, b, c, d);
    return p;
}

bool PtInCircleRec(int x, int y, const DCircle& e) {
    const double t = e.Tilt.v / kDeg;
    return PtInEllipse(x, y, e.Center.ScrX.v, e.Center.ScrY.v, e.A.v, e.B.v, std::cos(t), -std::sin(t));
}

void SetRadii(DCircle& c, std::uint8_t type, bool flag) {
    for (std::size_t j = 1; j <= 3; ++j) {
        c.R[j].LineType.v = type;
        c.R[j].LineType.e = flag;
    }
}

void SetRadiiFlags(DCircle& c, bool flag) {
    for (std::size_t j = 1; j <= 3; ++j) c.R[j].LineType.e = flag;
}

void SetView(Ed<std::uint8_t>& v, std::uint8_t value) {
    v.v = value;
    v.e = false;
}

void SetArcs(DCircle& c, double a1, double a2) {
    c.Arc1.v = a1;
    c.Arc2.v = a2;
    c.Arc1.e = c.Arc2.e = false;
}

double Wrap180(double a) {
    if (!std::isfinite(a)) return a;
    if (std::fabs(a) > 1e6) a = std::fmod(a, 360.0);  // exact; keeps the loops short
    while (a < -180) a += 360;
    while (a > 180) a -= 360;
    return a;
}

PlaneSide::PlaneSide(Vec3 p1, Vec3 p2, Vec3 p3) {
    PlaneBy3Points(p1, p2, p3, a_, b_, c_, d_);
    far_ = PlaneValue({5000, 5000, 5000}, a_, b_, c_, d_);
}

std::uint8_t PlaneSide::LineType(const DPoint& p, std::uint8_t hidden) const {
    return PlaneValue(Pos(p), a_, b_, c_, d_) * far_ > 0 ? 1 : hidden;
}

}  // namespace pelmar::round
