// Direction and length of a segment, and the setters that move its end 2
// after an angle or a length was typed.
#include <cmath>
#include <numbers>

#include "model/construct.h"
#include "model/geometry.h"

namespace pelmar {

double LineScreenAngle(const DLine& l) {
    const auto [ax, ay] = ScreenPlace(l.P1);
    const auto [bx, by] = ScreenPlace(l.P2);
    const Ext dx = static_cast<Ext>(bx) - ax;
    const Ext dy = static_cast<Ext>(by) - ay;
    if (bx == ax) return dy >= 0 ? 90.0 : -90.0;

    const Ext base = dx >= 0 ? 0.0L : 180.0L;
    Ext angle = RoundL(std::atan(dy / dx) * 180000.0L / std::numbers::pi_v<Ext>) / 1000.0L + base;
    while (angle > 180) angle -= 360;
    while (angle < -180) angle += 360;
    return static_cast<double>(angle);
}

double LineLength(const DLine& l) {
    const Ext dx = static_cast<Ext>(l.P2.X.v) - l.P1.X.v;
    const Ext dy = static_cast<Ext>(l.P2.Y.v) - l.P1.Y.v;
    const Ext dz = static_cast<Ext>(l.P2.Z.v) - l.P1.Z.v;
    const Ext n = std::sqrt(dx * dx + dy * dy + dz * dz);
    return static_cast<double>(RoundL(1000.0L * n) / 1000.0L);
}

void SetLineAngle(DLine& l) {
    ProjectPoint(l.P1);
    ProjectPoint(l.P2);
    const Ext a = static_cast<Ext>(l.Angle.v) * std::numbers::pi_v<Ext> / 180.0L;
    const Ext len = l.Length.v;
    const Ext sx = l.P1.ScrX.v + len * std::cos(a);
    const Ext sy = l.P1.ScrY.v + len * std::sin(a);
    // End 2 keeps its depth and moves so that it projects onto (sx, sy).
    const Ext shift = static_cast<Ext>(l.P2.X.v) / Sqrt8();
    l.P2.Y.v = static_cast<double>(sx + shift);
    l.P2.Z.v = static_cast<double>(sy + shift);
    ProjectPoint(l.P2);
}

void SetLineLength(DLine& l) {
    const Ext dx = static_cast<Ext>(l.P2.X.v) - l.P1.X.v;
    const Ext dy = static_cast<Ext>(l.P2.Y.v) - l.P1.Y.v;
    const Ext dz = static_cast<Ext>(l.P2.Z.v) - l.P1.Z.v;
    const Ext n = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (n == 0) return;
    const Ext k = static_cast<Ext>(l.Length.v) / n;
    l.P2.X.v = static_cast<double>(l.P1.X.v + dx * k);
    l.P2.Y.v = static_cast<double>(l.P1.Y.v + dy * k);
    l.P2.Z.v = static_cast<double>(l.P1.Z.v + dz * k);
}

}  // namespace pelmar
