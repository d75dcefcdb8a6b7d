// Shading and screen-ellipse geometry shared by the updates and the painters
// of shaded bodies.  IsZero, NearlyEqual and SolveQuadratic live in geometry.h.
#pragma once

#include <array>
#include <cstdint>

#include "model/geometry.h"

namespace pelmar {

// Projects the 3D ellipse with centre p0 and conjugate semi-diameter ends p1, p2
// onto the picture; returns the status byte.
std::uint8_t CalcScreenEllipse(const std::array<double, 3>& p0, const std::array<double, 3>& p1,
                               const std::array<double, 3>& p2, double& cx, double& cy, double& r1,
                               double& r2, double& angle, double& a, double& b, double& c, double& d,
                               double& e, double& f);

TColor ShadeColor(TColor c1, TColor c2, TColor c3, double nx, double ny, double nz,
                  const std::array<double, 3>& light, double percent, bool twoColours, int border);

void RayHitSphere(double& x, double& y, double& z, double cx, double cy, double cz, double r, double px,
                  double py);
void RayHitCylinder(double& x, double& y, double& z, double cx, double cy, double cz, double r, double px,
                    double py);
void RayHitCone(double& x, double& y, double& z, double cx, double cy, double cz, double r, double h,
                double px, double py);

}  // namespace pelmar
