// Moves of a single point: rotation about an axis, translation, rotation in
// the picture plane and reflection in a plane.  Nothing is rounded.
#include <cmath>
#include <numbers>

#include "model/geometry.h"

namespace pelmar {

void RotateAroundAxis(double& x, double& y, double& z, double cx, double cy, double cz, double angle,
                      double nx, double ny, double nz) {
    const Ext th = std::numbers::pi_v<Ext> * angle / 180;
    const Ext dx = static_cast<Ext>(x) - cx, dy = static_cast<Ext>(y) - cy, dz = static_cast<Ext>(z) - cz;
    Ext ax = nx, ay = ny, az = nz;
    const Ext len = std::sqrt(ax * ax + ay * ay + az * az);
    if (std::fabs(len) > 0.00001L) {  // a shorter axis is used as given
        ax /= len;
        ay /= len;
        az /= len;
    }
    const Ext c = std::cos(th), s = std::sin(th), k = 1 - c;
    const Ext rx = (c + k * ax * ax) * dx + (k * ax * ay - s * az) * dy + (k * ax * az + s * ay) * dz;
    const Ext ry = (k * ax * ay + s * az) * dx + (c + k * ay * ay) * dy + (k * ay * az - s * ax) * dz;
    const Ext rz = (k * ax * az - s * ay) * dx + (k * ay * az + s * ax) * dy + (c + k * az * az) * dz;
    x = static_cast<double>(rx + cx);
    y = static_cast<double>(ry + cy);
    z = static_cast<double>(rz + cz);
}

void MoveByVector(double& x, double& y, double& z, double dx, double dy, double dz) {
    x += dx;
    y += dy;
    z += dz;
}

void PlaneRotatePoint(DPoint& p, double cx, double cy, double angle) {
    const Ext th = std::numbers::pi_v<Ext> * angle / 180;
    const Ext c = std::cos(th), s = std::sin(th);
    auto turn = [&](double& u, double& v) {
        const Ext du = static_cast<Ext>(u) - cx, dv = static_cast<Ext>(v) - cy;
        u = static_cast<double>(cx + c * du - s * dv);
        v = static_cast<double>(cy + s * du + c * dv);
    };
    turn(p.ScrX.v, p.ScrY.v);
    turn(p.Y.v, p.Z.v);
}

void ReflectInPlane(double& x, double& y, double& z, double a, double b, double c, double d) {
    const Ext A = a, B = b, C = c;
    const Ext q = A * A + B * B + C * C;
    const Ext t = q == 0 ? 0 : -(A * x + B * y + C * z + d) / q;
    const double fx = static_cast<double>(x + t * A);
    const double fy = static_cast<double>(y + t * B);
    const double fz = static_cast<double>(z + t * C);
    x = static_cast<double>(2 * static_cast<Ext>(fx) - x);
    y = static_cast<double>(2 * static_cast<Ext>(fy) - y);
    z = static_cast<double>(2 * static_cast<Ext>(fz) - z);
}

}  // namespace pelmar
