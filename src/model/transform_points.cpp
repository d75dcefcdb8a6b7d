// Point primitives of the transformations that geometry.h does not hold:
// homothety, central and axial symmetry.  Their results are rounded to 0.001.
#include "model/geometry.h"
#include "model/transform.h"

namespace pelmar {

namespace {

double Round3L(Ext v) { return static_cast<double>(RoundL(v * 1000) / 1000); }

}  // namespace

void ScaleFromCentre(double& x, double& y, double& z, double cx, double cy, double cz, double k) {
    x = Round3L((static_cast<Ext>(x) - cx) * k + cx);
    y = Round3L((static_cast<Ext>(y) - cy) * k + cy);
    z = Round3L((static_cast<Ext>(z) - cz) * k + cz);
}

void ReflectInCentre(double& x, double& y, double& z, double cx, double cy, double cz) {
    x = Round3L(2 * static_cast<Ext>(cx) - x);
    y = Round3L(2 * static_cast<Ext>(cy) - y);
    z = Round3L(2 * static_cast<Ext>(cz) - z);
}

void ReflectInAxis(double& x, double& y, double& z, double px, double py, double pz, double vx, double vy,
                   double vz) {
    // The foot on the axis: where the axis meets the plane through the point
    // perpendicular to it.
    const Ext d = -(static_cast<Ext>(vx) * x + static_cast<Ext>(vy) * y + static_cast<Ext>(vz) * z);
    double fx = px, fy = py, fz = pz;
    IntersectLinePlane(fx, fy, fz, {px, py, pz}, {vx, vy, vz}, vx, vy, vz, static_cast<double>(d));
    x = Round3L(2 * static_cast<Ext>(fx) - x);
    y = Round3L(2 * static_cast<Ext>(fy) - y);
    z = Round3L(2 * static_cast<Ext>(fz) - z);
}

void ReflectCoordsInPlane(double& x, double& y, double& z, double a, double b, double c, double d) {
    ReflectInPlane(x, y, z, a, b, c, d);
}

}  // namespace pelmar
