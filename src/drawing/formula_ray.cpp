// The ray test of surfaces: where the viewing ray through a 3D point meets a
// surface F(x, y, z) = 0 inside the box of a 3D coordinate system.
#include <array>
#include <cmath>
#include <string>

#include "drawing/formula_internal.h"
#include "model/shading.h"

namespace pelmar {

namespace {

// The scan along the ray stops after this many steps whatever the step.
constexpr long kMaxScanSteps = 1000000;

// The box faces as corner triples.
constexpr int kFaces[6][3] = {{0, 1, 2}, {5, 1, 2}, {4, 5, 6}, {3, 7, 4}, {0, 1, 5}, {2, 3, 7}};

// F along the ray p + t·(1, 1/√8, 1/√8) as a formula in the variable x (= t).
// The substitution replaces x, y and z only where they stand as variables,
// after lower-casing, so the letters of the function names stay intact.
std::string RayFormula(const std::string& s0, Vec3 p) {
    std::string s = s0;
    formula::LowerAZ(s);
    const std::string gx = "(" + FixedNumberText(p.x) + "+x)";
    const std::string gy = "(" + FixedNumberText(p.y) + "+0.35355339*x)";
    const std::string gz = "(" + FixedNumberText(p.z) + "+0.35355339*x)";
    std::string r;
    r.reserve(s.size() * 4);
    for (char ch : s) {
        if (ch == 'x')
            r += gx;
        else if (ch == 'y')
            r += gy;
        else if (ch == 'z')
            r += gz;
        else
            r += ch;
    }
    return r;
}

}  // namespace

bool RaySurfaceHit(Vec3 p, bool fromPoint, const std::array<Vec3, 8>& corners, const std::string& s,
                   std::uint8_t mode, double step, const GraphTransform& t, TColor c1, TColor c2, TColor c3,
                   const DImProj& imProj, bool shade, TColor& colour, bool full,
                   DistributionParameters& params) {
    const std::string ray = RayFormula(s, p);
    const Ext s8 = Sqrt8();

    // The parameter range of the ray inside the box.
    double tLow, tHigh;
    if (!t.Moved && !t.Rotated) {
        const Vec3 lo = corners[3], hi = corners[5];
        tLow = Max3(lo.x - p.x, static_cast<double>((lo.y - p.y) * s8), static_cast<double>((lo.z - p.z) * s8));
        tHigh = Min3(hi.x - p.x, static_cast<double>((hi.y - p.y) * s8), static_cast<double>((hi.z - p.z) * s8));
    } else {
        const Vec3 dir{1.0, static_cast<double>(1 / s8), static_cast<double>(1 / s8)};
        std::array<Vec3, 6> points{};
        int n = 0;
        for (const auto& f : kFaces) {
            double a, b, c, d;
            PlaneBy3Points(corners[static_cast<std::size_t>(f[0])], corners[static_cast<std::size_t>(f[1])],
                           corners[static_cast<std::size_t>(f[2])], a, b, c, d);
            Vec3 q;
            IntersectLinePlane(q.x, q.y, q.z, p, dir, a, b, c, d);
            if (InsideHexahedron(corners, q)) points[static_cast<std::size_t>(n++)] = q;
        }
        if (n < 2) return false;
        tLow = MinPointX(points, n) - p.x;
        tHigh = MaxPointX(points, n) - p.x;
    }
    if (fromPoint) tLow = step;
    if (!(tLow < tHigh)) return false;

    bool hit = false;
    Ext tStar = 0;
    int count = 0;
    double x1 = 0, x2 = 0;
    if (FormulaRoots(ray, full, mode, tLow, tHigh, count, x1, x2, params)) {
        if (count > 0) {
            hit = true;
            tStar = count == 2 ? x2 : x1;
        }
    } else if (step > 0 && std::isfinite(step)) {
        // Scan from the viewer's side; the first sign change between two
        // defined samples is the hit.
        const Formula f = Formula::Prepare(ray, full, params);
        Ext tt = tHigh, f1 = 0, f2 = 0;
        bool ok1 = f.Calc(tt, f1);
        for (long i = 0; tt >= tLow && i < kMaxScanSteps; ++i) {
            const bool ok2 = f.Calc(tt - step, f2);
            if (ok1 && ok2 && f1 * f2 <= 0) {
                hit = true;
                tStar = tt - step / 2;
                break;
            }
            tt -= step;
            f1 = f2;
            ok1 = ok2;
        }
    }

    if (hit && shade) {
        const Vec3 q{static_cast<double>(p.x + tStar), static_cast<double>(p.y + tStar / s8),
                     static_cast<double>(p.z + tStar / s8)};
        std::array<double, 3> light;
        if (imProj.LightSource == 1)
            light = {imProj.LightX - q.x, imProj.LightY - q.y, imProj.LightZ - q.z};
        else if (imProj.LightSource == 2)
            light = {imProj.LightDX, imProj.LightDY, imProj.LightDZ};
        else
            return hit;
        const double nx = PartialDerivative(s, q, 1, full, params);
        const double ny = PartialDerivative(s, q, 2, full, params);
        const double nz = PartialDerivative(s, q, 3, full, params);
        colour = ShadeColor(c1, c2, c3, nx, ny, nz, light, imProj.BorderPercent, imProj.TwoColors != 0,
                            imProj.BorderAngle);
    }
    return hit;
}

}  // namespace pelmar
