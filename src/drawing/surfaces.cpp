#include "drawing/surfaces.h"

namespace pelmar {

// Surfaces are not drawn yet.
void DrawSurface(SubCurveContext&, const SubCurveArgs&) {}
void DrawSurfaceOutline(SubCurveContext&, const SubCurveArgs&) {}
std::uint8_t FindCoveredSpan(SubCurveContext&, const std::string&, std::uint8_t, double& lo, double& hi, double,
                             double a, double b, double) {
    lo = a;
    hi = b;
    return 0;
}
double BisectSurfaceEdge(SubCurveContext&, const std::string&, std::uint8_t, double, double a, double b) {
    return (a + b) / 2;
}
void DrawSurfaceGradient(SubCurveContext&, const SubCurveArgs&) {}

}  // namespace pelmar
