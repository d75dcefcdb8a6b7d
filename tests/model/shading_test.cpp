#include "model/shading.h"
#include "vec_near.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace pelmar;
using pelmar::test::kS8;

namespace {


struct Screen {
    double cx, cy, r1, r2, angle, a, b, c, d, e, f;
    std::uint8_t status;
};

Screen Calc(std::array<double, 3> p0, std::array<double, 3> p1, std::array<double, 3> p2) {
    Screen s{};
    s.status = CalcScreenEllipse(p0, p1, p2, s.cx, s.cy, s.r1, s.r2, s.angle, s.a, s.b, s.c, s.d, s.e, s.f);
    return s;
}

void ExpectAllZero(const Screen& s) {
    for (double v : {s.cx, s.cy, s.r1, s.r2, s.angle, s.a, s.b, s.c, s.d, s.e, s.f}) EXPECT_EQ(v, 0.0);
}

// Picture position of the 3D point.
std::array<double, 2> Proj(double x, double y, double z) { return {y - x / kS8, z - x / kS8}; }

TColor Rgb(int r, int g, int b) { return static_cast<TColor>(r | (g << 8) | (b << 16)); }

}  // namespace

TEST(ScreenEllipse, CircleInPicturePlane) {
    const double r = 25;
    const Screen s = Calc({0, 0, 0}, {0, r, 0}, {0, 0, r});
    ASSERT_EQ(s.status, 0);
    EXPECT_NEAR(s.cx, 0, 1e-9);
    EXPECT_NEAR(s.cy, 0, 1e-9);
    EXPECT_NEAR(s.r1, r, 1e-9);
    EXPECT_NEAR(s.r2, r, 1e-9);
    EXPECT_NEAR(s.angle, 0, 1e-12);
    EXPECT_EQ(s.a, 1.0);
}

TEST(ScreenEllipse, DegenerateSemiDiametersGiveStatusAndZeros) {
    ExpectAllZero(Calc({0, 0, 0}, {0, 10, 0}, {0, 0, 0}));
    EXPECT_EQ(Calc({0, 0, 0}, {0, 10, 0}, {0, 0, 0}).status, 12);
    EXPECT_EQ(Calc({1, 2, 3}, {1, 2, 3}, {0, 0, 9}).status, 11);
    EXPECT_EQ(Calc({0, 0, 0}, {0, 10, 0}, {0, -20, 0}).status, 13);
    ExpectAllZero(Calc({0, 0, 0}, {0, 10, 0}, {0, -20, 0}));
}

TEST(ScreenEllipse, AxisAlignedEllipseKeepsItsOwnAxisOrder) {
    // a along the picture x axis even when it is the shorter one.
    const Screen s = Calc({0, 10, 20}, {0, 40, 20}, {0, 10, 70});
    ASSERT_EQ(s.status, 0);
    EXPECT_NEAR(s.cx, 10, 1e-9);
    EXPECT_NEAR(s.cy, 20, 1e-9);
    EXPECT_NEAR(s.r1, 30, 1e-7);
    EXPECT_NEAR(s.r2, 50, 1e-7);
    EXPECT_EQ(s.angle, 0);
}

TEST(ScreenEllipse, TiltedEllipseFitsTheProjectedOutline) {
    // A circle of radius 40 in the plane Y = 0: seen at an angle it projects to a
    // tilted ellipse.  Every projected outline point must satisfy the conic, lie at
    // distance between r2 and r1 from the centre, and r1 lies along the angle.
    const std::array<double, 3> m{5, 7, -3}, p1{45, 7, -3}, p2{5, 7, 37};
    const Screen s = Calc(m, p1, p2);
    ASSERT_EQ(s.status, 0);
    const auto c = Proj(m[0], m[1], m[2]);
    EXPECT_NEAR(s.cx, c[0], 1e-9);
    EXPECT_NEAR(s.cy, c[1], 1e-9);
    EXPECT_GT(s.r1, s.r2);
    double maxDist = 0, minDist = 1e9;
    for (int k = 0; k < 1440; ++k) {
        const double t = k * M_PI / 720;
        const auto q = Proj(m[0] + 40 * std::cos(t), m[1], m[2] + 40 * std::sin(t));
        const double x = q[0], y = q[1];
        EXPECT_NEAR(x * x + s.b * x * y + s.c * y * y + s.d * x + s.e * y + s.f, 0, 1e-6);
        const double dist = std::hypot(x - s.cx, y - s.cy);
        maxDist = std::max(maxDist, dist);
        minDist = std::min(minDist, dist);
    }
    EXPECT_NEAR(s.r1, maxDist, 0.01);
    EXPECT_NEAR(s.r2, minDist, 0.01);
    // The point of the outline along the angle lies at distance r1.
    const double ex = s.cx + s.r1 * std::cos(s.angle), ey = s.cy + s.r1 * std::sin(s.angle);
    EXPECT_NEAR(ex * ex + s.b * ex * ey + s.c * ey * ey + s.d * ex + s.e * ey + s.f, 0, 1e-6 * s.r1 * s.r1);
}

TEST(ScreenEllipse, PlaneContainingTheViewingDirectionNeverGivesNonFiniteValues) {
    // u along the viewing direction: the outline projects to a segment.
    const std::array<double, 3> m{0, 0, 0}, p1{10, 10 / kS8, 10 / kS8}, p2{0, 10, 0};
    const Screen s = Calc(m, p1, p2);
    for (double v : {s.cx, s.cy, s.r1, s.r2, s.angle, s.a, s.b, s.c, s.d, s.e, s.f}) EXPECT_TRUE(std::isfinite(v));
}

TEST(ScreenEllipse, RandomInputsGiveFiniteOutputs) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-500, 500);
    for (int i = 0; i < 2000; ++i) {
        std::array<double, 3> m{u(rng), u(rng), u(rng)}, p1{u(rng), u(rng), u(rng)}, p2{u(rng), u(rng), u(rng)};
        if (i % 4 == 1) p2 = {m[0] + (p1[0] - m[0]) * 1e-3, m[1] + (p1[1] - m[1]) * 1e-3, p2[2]};
        if (i % 4 == 2) p1 = {m[0] + 50, m[1] + 50 / kS8, m[2] + 50 / kS8};
        const Screen s = Calc(m, p1, p2);
        for (double v : {s.cx, s.cy, s.r1, s.r2, s.angle, s.a, s.b, s.c, s.d, s.e, s.f})
            ASSERT_TRUE(std::isfinite(v)) << i;
        if (s.status == 0) {
            EXPECT_GE(s.r1, 0);
            EXPECT_GE(s.r2, 0);
        }
    }
}

TEST(Shade, TwoColoursOverHalfCircle) {
    const TColor c1 = Rgb(10, 20, 30), c2 = Rgb(13, 120, 31);
    const std::array<double, 3> light{0, 0, 5};
    EXPECT_EQ(ShadeColor(c1, c2, 0, 0, 0, 2, light, 50, true, 180), c1);
    EXPECT_EQ(ShadeColor(c1, c2, 0, 0, 0, -2, light, 50, true, 180), c2);
    // Perpendicular: midpoint with halves to even (3/2 → 2, 100/2 → 50, 1/2 → 0).
    EXPECT_EQ(ShadeColor(c1, c2, 0, 3, 0, 0, light, 50, true, 180), Rgb(12, 70, 30));
}

TEST(Shade, BorderNinetyShadesBothSidesAlike) {
    const TColor c1 = Rgb(0, 0, 0), c2 = Rgb(200, 100, 50), c3 = Rgb(255, 255, 255);
    const std::array<double, 3> light{1, 2, 3};
    for (bool two : {true, false}) {
        const TColor front = ShadeColor(c1, c2, c3, 0.3, -0.2, 0.9, light, 40, two, 90);
        const TColor back = ShadeColor(c1, c2, c3, -0.3, 0.2, -0.9, light, 40, two, 90);
        EXPECT_EQ(front, back);
    }
}

TEST(Shade, ZeroNormalOrZeroLightGivesFirstColour) {
    const TColor c1 = Rgb(1, 2, 3), c2 = Rgb(100, 100, 100), c3 = Rgb(200, 0, 0);
    EXPECT_EQ(ShadeColor(c1, c2, c3, 0, 0, 0, {1, 0, 0}, 50, false, 180), c1);
    EXPECT_EQ(ShadeColor(c1, c2, c3, 1, 0, 0, {0, 0, 0}, 50, false, 180), c1);
    EXPECT_EQ(ShadeColor(c1, c2, c3, 1, 0, 0, {0, 0, 0}, 50, true, 90), c1);
}

TEST(Shade, ThreeColoursSplitAtPercent) {
    const TColor c1 = Rgb(0, 0, 0), c2 = Rgb(100, 50, 20), c3 = Rgb(200, 250, 120);
    const std::array<double, 3> light{0, 0, 1};
    // Angle 90 with Percent 50 of 180 is the split: exactly c2.
    EXPECT_EQ(ShadeColor(c1, c2, c3, 1, 0, 0, light, 50, false, 180), c2);
    // Angle 135: halfway from c2 to c3.
    EXPECT_EQ(ShadeColor(c1, c2, c3, 1, 0, -1, light, 50, false, 180), Rgb(150, 150, 70));
    // Angle 45: halfway from c1 to c2.
    EXPECT_EQ(ShadeColor(c1, c2, c3, 1, 0, 1, light, 50, false, 180), Rgb(50, 25, 10));
    // Equal colours of the band in use give that colour.
    EXPECT_EQ(ShadeColor(c2, c2, c3, 1, 0, 1, light, 50, false, 180), c2);
}

// The table of one fill's colours by cosine gives ShadeColor's colour for
// every normal: random settings and lights, random normals and normals whose
// angle lies a hair either side of where a channel steps.
TEST(Shade, TableGivesTheColoursOfShadeColor) {
    std::mt19937 gen(29);
    auto uni = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(gen); };
    auto colour = [&] { return static_cast<TColor>(gen() & 0xFFFFFF); };
    const double percents[] = {0, 100, 150, -20, 50};
    long checked = 0;
    for (int round = 0; round < 120; ++round) {
        const TColor c1 = colour(), c2 = round % 7 == 0 ? c1 : colour(), c3 = colour();
        const double percent = round % 3 == 0 ? percents[round / 3 % 5] : uni(0, 100);
        const bool two = round % 4 == 0;
        const int border = round % 11 == 5 ? 45 : round % 2 ? 90 : 180;
        const ShadeTable table(c1, c2, c3, percent, two, border);
        // Where the channels step: from + rint((to - from) * fraction) passes k + 1/2.
        std::vector<double> steps;
        const double split = border * percent / 100;
        auto band = [&](TColor from, TColor to, double start, double width) {
            for (int shift = 0; shift <= 16; shift += 8) {
                const int d = std::abs(static_cast<int>((to >> shift) & 0xFF) - static_cast<int>((from >> shift) & 0xFF));
                for (int k = 0; k < d; ++k) steps.push_back(start + width * (k + 0.5) / d);
            }
        };
        if (two) {
            band(c1, c2, 0, border);
        } else {
            steps.push_back(split);
            band(c1, c2, 0, split);
            band(c2, c3, split, border - split);
        }
        for (int i = 0; i < 3000; ++i) {
            const std::array<double, 3> light{uni(-500, 500), uni(-500, 500), uni(-500, 500)};
            double angle = uni(0, 180);
            if (i % 2 && !steps.empty())
                angle = steps[gen() % steps.size()] + (gen() % 2 ? 1 : -1) * std::pow(10.0, uni(-15, -5));
            // A normal at that angle to the light, of any length.
            const double ll = std::hypot(light[0], light[1], light[2]);
            std::array<double, 3> u{-light[1], light[0], 0};
            const double ul = std::hypot(u[0], u[1]);
            if (ll < 1e-3 || ul < 1e-3) continue;
            const double a = angle * M_PI / 180, scale = uni(0.01, 100);
            const double nx = scale * (std::cos(a) * light[0] / ll + std::sin(a) * u[0] / ul);
            const double ny = scale * (std::cos(a) * light[1] / ll + std::sin(a) * u[1] / ul);
            const double nz = scale * std::cos(a) * light[2] / ll;
            ASSERT_EQ(table.at(nx, ny, nz, light), ShadeColor(c1, c2, c3, nx, ny, nz, light, percent, two, border))
                << "round " << round << " angle " << angle << " percent " << percent << " border " << border;
            ++checked;
        }
        // No light and no normal.
        EXPECT_EQ(table.at(0, 0, 0, {1, 2, 3}), ShadeColor(c1, c2, c3, 0, 0, 0, {1, 2, 3}, percent, two, border));
        EXPECT_EQ(table.at(1, 2, 3, {0, 0, 0}), ShadeColor(c1, c2, c3, 1, 2, 3, {0, 0, 0}, percent, two, border));
    }
    EXPECT_GT(checked, 300000);
}

TEST(Shade, CosineJustOutsideTheUnitRangeIsClamped) {
    // Antiparallel vectors whose rounded cosine falls below −1 still give the far colour.
    const TColor c1 = Rgb(0, 0, 0), c2 = Rgb(255, 255, 255);
    int farHits = 0;
    for (int i = 1; i <= 200; ++i) {
        const double k = 0.1 * i + 1e-3 / i;
        const std::array<double, 3> light{k * 0.3, k * 0.7, k * 1.1};
        const TColor got = ShadeColor(c1, c2, 0, -0.3, -0.7, -1.1, light, 50, true, 180);
        farHits += got == c2;
    }
    EXPECT_EQ(farHits, 200);
}

TEST(Shade, ZeroWidthBandsStayInRange) {
    const TColor c1 = Rgb(10, 10, 10), c2 = Rgb(20, 20, 20), c3 = Rgb(30, 30, 30);
    const std::array<double, 3> light{0, 0, 1};
    EXPECT_EQ(ShadeColor(c1, c2, c3, 0, 0, -1, light, 100, false, 180), c2);
    EXPECT_EQ(ShadeColor(c1, c2, c3, 0, 0, -1, light, 0, false, 180), c3);
    EXPECT_EQ(ShadeColor(c1, c2, c3, 0, 0, 1, light, 0, false, 180), c1);
}

TEST(RayHit, SphereNearSideAndMiss) {
    double x = 1, y = 1, z = 1;
    // Centre on the ray of (0, 0) at depth 0: the visible point is r along the ray.
    RayHitSphere(x, y, z, 0, 0, 0, 10, 0, 0);
    const double t = 10 / std::sqrt(1.25);
    EXPECT_NEAR(x, t, 1e-9);
    EXPECT_NEAR(y, t / kS8, 1e-9);
    EXPECT_NEAR(z, t / kS8, 1e-9);
    RayHitSphere(x, y, z, 0, 0, 0, 10, 50, 0);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(z, 0);
}

TEST(RayHit, SphereHitLiesOnSurfaceAndProjectsToPixel) {
    const double cx = 30, cy = 100, cz = 50, r = 40;
    double x, y, z;
    RayHitSphere(x, y, z, cx, cy, cz, r, 110, 55);
    EXPECT_NEAR(std::hypot(x - cx, y - cy, z - cz), r, 1e-9);
    const auto p = Proj(x, y, z);
    EXPECT_NEAR(p[0], 110, 1e-9);
    EXPECT_NEAR(p[1], 55, 1e-9);
    // The other crossing lies further back.
    const double depth = x;
    RayHitSphere(x, y, z, cx, cy, cz, r, 110, 55);
    EXPECT_EQ(x, depth);
}

TEST(RayHit, CylinderIgnoresHeight) {
    double x, y, z, x2, y2, z2;
    RayHitCylinder(x, y, z, 10, 20, 0, 15, 25, 7);
    RayHitCylinder(x2, y2, z2, 10, 20, 999, 15, 25, 7);
    EXPECT_EQ(x, x2);
    EXPECT_NEAR(std::hypot(x - 10, y - 20), 15, 1e-9);
    EXPECT_NEAR(z - x / kS8, 7, 1e-9);
    RayHitCylinder(x, y, z, 10, 20, 0, 15, 500, 7);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(z, 0);
}

TEST(RayHit, ConeNearAndFarSides) {
    const double cx = 0, cy = 50, cz = 100, sa = 20, sb = 20, sc = 40;
    double xn, yn, zn, xf, yf, zf;
    RayHitCone(xn, yn, zn, cx, cy, cz, sa, sb, sc, 45, 60, false);
    RayHitCone(xf, yf, zf, cx, cy, cz, sa, sb, sc, 45, 60, true);
    EXPECT_GT(xn, xf);
    for (auto [x, y, z] : {std::array{xn, yn, zn}, std::array{xf, yf, zf}})
        EXPECT_NEAR((x - cx) * (x - cx) / 400 + (y - cy) * (y - cy) / 400 - (z - cz) * (z - cz) / 1600, 0, 1e-9);
}

TEST(RayHit, TiltedCylinderWithoutTiltMatchesUpright) {
    double x, y, z, ux, uy, uz;
    RayHitTiltedCylinder(x, y, z, 10, 20, 15, {10, 20, 0}, {0, 0, 0}, 0, 25, 7);
    RayHitCylinder(ux, uy, uz, 10, 20, 0, 15, 25, 7);
    EXPECT_NEAR(x, ux, 1e-9);
    EXPECT_NEAR(y, uy, 1e-9);
    EXPECT_NEAR(z, uz, 1e-9);
}

TEST(RayHit, TiltedCylinderHitLiesOnTheTiltedSurface) {
    // Axis direction d through the pivot, tilt axis Z × d, theta the angle to Z.
    const std::array<double, 3> pivot{-10, 40, 30};
    const double phi = 0.6;
    const std::array<double, 3> dir{std::sin(phi) * 0.6, std::sin(phi) * 0.8, std::cos(phi)};
    const std::array<double, 3> tilt{-dir[1], dir[0], 0};  // Z × d
    const double r = 12;
    double x, y, z;
    RayHitTiltedCylinder(x, y, z, pivot[0], pivot[1], r, pivot, tilt, phi, 45, 40);
    ASSERT_NE(x, 0);
    auto distToAxis = [&](double px, double py, double pz) {
        const double v[3] = {px - pivot[0], py - pivot[1], pz - pivot[2]};
        const double along = v[0] * dir[0] + v[1] * dir[1] + v[2] * dir[2];
        return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2] - along * along);
    };
    EXPECT_NEAR(distToAxis(x, y, z), r, 1e-7);
    const auto p = Proj(x, y, z);
    EXPECT_NEAR(p[0], 45, 1e-9);
    EXPECT_NEAR(p[1], 40, 1e-9);
    // Nothing on the ray nearer the viewer lies on the surface: just in front of
    // the hit the ray is outside the cylinder.
    const double t = x + 1e-3;
    EXPECT_GT(distToAxis(t, 45 + t / kS8, 40 + t / kS8), r);
}

TEST(RayHit, TiltedMissGivesPictureCoordinates) {
    double x, y, z;
    RayHitTiltedCylinder(x, y, z, 0, 0, 5, {0, 0, 0}, {0, 1, 0}, 0.3, 900, 900);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 900);
    EXPECT_EQ(z, 900);
}

TEST(RayHit, TiltedConeSidesOnTheSurface) {
    const std::array<double, 3> v{0, 30, 80};
    const double phi = 0.4, r = 20, h = 50;
    const std::array<double, 3> dir{std::sin(phi), 0, std::cos(phi)};
    const std::array<double, 3> tilt{0, dir[0], 0};
    double xn, yn, zn, xf, yf, zf;
    RayHitTiltedCone(xn, yn, zn, v[0], v[1], v[2], r, h, v, tilt, phi, 35, 40, 0);
    RayHitTiltedCone(xf, yf, zf, v[0], v[1], v[2], r, h, v, tilt, phi, 35, 40, 1);
    EXPECT_GT(xn, xf);
    for (auto [x, y, z] : {std::array{xn, yn, zn}, std::array{xf, yf, zf}}) {
        const double w[3] = {x - v[0], y - v[1], z - v[2]};
        const double along = w[0] * dir[0] + w[1] * dir[1] + w[2] * dir[2];
        const double radial2 = w[0] * w[0] + w[1] * w[1] + w[2] * w[2] - along * along;
        EXPECT_NEAR(radial2 / (r * r), along * along / (h * h), 1e-7);
    }
}
