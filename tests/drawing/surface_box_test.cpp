// The box of a surface, its corners, and the section curves: their formulas,
// windows, origins and curve slots, checked against the exact sections of a
// paraboloid and a sphere and against the oblique projection.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "drawing/formula.h"
#include "drawing/surface_internal.h"
#include "surface_fixture.h"

using namespace pelmar;
using pelmar::test::SetSection;

namespace {

const double kR8 = std::sqrt(8.0);

// The value of a section formula in x and y at (x, y): y is written into the
// text as a number, x is the variable.
double EvalXY(const std::string& f, double x, double y, bool* ok = nullptr) {
    std::string s;
    const std::string num = "(" + FormulaNumberText(y) + ")";
    for (char ch : f) {
        if (ch == 'y')
            s += num;
        else
            s += ch;
    }
    DistributionParameters params;
    const Formula fx = Formula::Prepare(s, true, params);
    Ext v = 0;
    const bool good = fx.Calc(x, v);
    if (ok) *ok = good;
    return static_cast<double>(v);
}

// The picture point of the model point (x, y, z).
void Project(double x, double y, double z, double s, double cx, double cy, double& px, double& py) {
    px = cx + s * (y - x / kR8);
    py = cy - s * (z - x / kR8);
}

}  // namespace

TEST(SurfaceBox, NoSectionGivesTheOrigin) {
    const SurfaceBox b = MakeSurfaceBox({});
    EXPECT_EQ(b.xmin, 0);
    EXPECT_EQ(b.xmax, 0);
    EXPECT_EQ(b.zmin, 0);
    EXPECT_EQ(b.zmax, 0);
    for (const Vec3& c : SurfaceBoxCorners(b, {})) {
        EXPECT_EQ(c.x, 0);
        EXPECT_EQ(c.y, 0);
        EXPECT_EQ(c.z, 0);
    }
}

TEST(SurfaceBox, EveryGroupFeedsItsAxes) {
    SurfaceSections s;
    SetSection(s, 1, 3, 2, -1, 4, -6, 1);    // x = 2: y in [-1, 4], z in [-6, 1]
    SetSection(s, 2, 1, -3, -7, 0.5, 0, 2);  // y = -3: x in [-7, 0.5], z in [0, 2]
    SetSection(s, 3, 11, 9, 1, 3, 5, 8);     // z = 9: x in [1, 3], y in [5, 8]
    SetSection(s, 3, 5, 100, -50, 50, -50, 50);
    s.On[static_cast<std::size_t>(22 + 4)] = false;  // a section that is off takes no part
    const SurfaceBox b = MakeSurfaceBox(s);
    EXPECT_EQ(b.xmin, -7);
    EXPECT_EQ(b.xmax, 3);
    EXPECT_EQ(b.ymin, -3);
    EXPECT_EQ(b.ymax, 8);
    EXPECT_EQ(b.zmin, -6);
    EXPECT_EQ(b.zmax, 9);

    // A single section: its own value is both limits of its axis.
    SurfaceSections one;
    SetSection(one, 2, 4, 1.5, 2, 3, 4, 5);
    const SurfaceBox o = MakeSurfaceBox(one);
    EXPECT_EQ(o.ymin, 1.5);
    EXPECT_EQ(o.ymax, 1.5);
    EXPECT_EQ(o.xmin, 2);
    EXPECT_EQ(o.zmax, 5);
}

TEST(SurfaceBox, CornerOrderAndTransform) {
    const SurfaceBox b{-1, 2, -3, 4, -5, 6};
    const auto c = SurfaceBoxCorners(b, {});
    EXPECT_EQ(c[0].x, 2);
    EXPECT_EQ(c[0].y, -3);
    EXPECT_EQ(c[0].z, -5);
    EXPECT_EQ(c[2].x, -1);
    EXPECT_EQ(c[2].y, 4);
    EXPECT_EQ(c[3].x, -1);  // corner 3 is the low corner, 5 the high one
    EXPECT_EQ(c[3].y, -3);
    EXPECT_EQ(c[3].z, -5);
    EXPECT_EQ(c[5].x, 2);
    EXPECT_EQ(c[5].y, 4);
    EXPECT_EQ(c[5].z, 6);
    EXPECT_EQ(c[7].z, 6);

    // Rotation first, then the move: (2, -3, -5) turned by 90° about the z
    // axis through the origin is (3, 2, -5), then moved by (10, 0, 1).
    GraphTransform t;
    t.Rotated = true;
    t.Angle = 90;
    t.NX = 0, t.NY = 0, t.NZ = 1;
    t.Moved = true;
    t.DX = 10, t.DY = 0, t.DZ = 1;
    const auto r = SurfaceBoxCorners(b, t);
    EXPECT_NEAR(r[0].x, 13, 1e-9);
    EXPECT_NEAR(r[0].y, 2, 1e-9);
    EXPECT_NEAR(r[0].z, -4, 1e-9);
}

TEST(SurfaceSections, FormulaTexts) {
    // A negative value keeps its sign inside the brackets: squared it stays positive.
    EXPECT_EQ(SectionFormula("dec3d", 1, "x^2+y^2", -2, '.'), "(-2)^2+x^2");
    EXPECT_EQ(SectionFormula("dec3d", 2, "x*y+z", 0.5, '.'), "x*(0.5)+y");
    EXPECT_EQ(SectionFormula("dec3d", 3, "x^2+y^2", 4, '.'), "x^2+y^2-(4)");
    EXPECT_EQ(SectionFormula("dec3d", 3, "x^2+y^2", -1.25, ','), "x^2+y^2-(-1,25)");
    // The implicit kind renames so that a formula in x, y and z becomes one in x and y.
    EXPECT_EQ(SectionFormula("Fxy3d", 1, "x^2+y^2+z^2-25", 3, '.'), "(3)^2+x^2+y^2-25");
    EXPECT_EQ(SectionFormula("Fxy3d", 2, "x^2+y^2+z^2-25", 3, '.'), "x^2+(3)^2+y^2-25");
    EXPECT_EQ(SectionFormula("Fxy3d", 3, "x^2+y^2+z^2-25", 3, '.'), "x^2+y^2+(3)^2-25");
    // Every occurrence is replaced; named functions have none of the letters.
    EXPECT_EQ(SectionFormula("Fxy3d", 1, "sin(x)*x+eks(z)", 1, '.'), "sin((1))*(1)+eks(y)");
    // Capital letters are the same letters to the evaluator.
    EXPECT_EQ(SectionFormula("dec3d", 1, "X^2+Y", 2, '.'), "(2)^2+x");
    // 15 significant digits.
    EXPECT_EQ(SectionFormula("Fxy3d", 3, "z", 1.0 / 3, '.'), "(0.333333333333333)");
}

TEST(SurfaceSections, ParaboloidSectionsAreTheExactCurves) {
    const std::string f = "x^2+y^2";
    for (double c : {-2.0, 0.0, 1.5}) {
        // x = c: z = c² + y², the graph's x standing for y.
        const std::string fx = SectionFormula("dec3d", 1, f, c, '.');
        // y = c: z = x² + c².
        const std::string fy = SectionFormula("dec3d", 2, f, c, '.');
        for (double v : {-3.0, -0.5, 0.0, 2.25}) {
            EXPECT_NEAR(EvalXY(fx, v, 0), c * c + v * v, 1e-9) << fx;
            EXPECT_NEAR(EvalXY(fy, v, 0), c * c + v * v, 1e-9) << fy;
        }
    }
    // z = 4: the circle of radius 2 is where the traced formula is 0.
    const std::string fz = SectionFormula("dec3d", 3, f, 4, '.');
    for (double a = 0; a < 6.3; a += 0.7) EXPECT_NEAR(EvalXY(fz, 2 * std::cos(a), 2 * std::sin(a)), 0, 1e-9);
    EXPECT_GT(EvalXY(fz, 2.1, 0), 0);
    EXPECT_LT(EvalXY(fz, 1.9, 0), 0);
}

TEST(SurfaceSections, SphereSectionsAreTheExactCircles) {
    const std::string f = "x^2+y^2+z^2-25";
    for (int g = 1; g <= 3; ++g) {
        for (double c : {-4.0, -1.0, 0.0, 3.0}) {
            const std::string s = SectionFormula("Fxy3d", g, f, c, '.');
            const double r = std::sqrt(25 - c * c);
            for (double a = 0.1; a < 6.3; a += 0.5) {
                bool ok = false;
                EXPECT_NEAR(EvalXY(s, r * std::cos(a), r * std::sin(a), &ok), 0, 1e-9) << s;
                EXPECT_TRUE(ok);
            }
            EXPECT_GT(EvalXY(s, r + 0.1, 0), 0) << s;
        }
    }
}

TEST(SurfaceSections, PlanOfACartesianSurface) {
    SurfaceSections sec;
    SetSection(sec, 3, 2, 4, -3, 3, -2, 2);
    SetSection(sec, 1, 5, 1, -2, 2.5, 0, 9);
    SetSection(sec, 2, 1, -1, -4, 4, 0, 9);
    const double s = 40, cx = 300, cy = 200;
    const auto plan = PlanSurfaceSections("dec3d", "x^2+y^2", 2, sec, s, cx, cy, '.');
    ASSERT_EQ(plan.size(), 3u);
    // Drawing order: group 1, 2, 3.
    EXPECT_EQ(plan[0].Group, 1);
    EXPECT_EQ(plan[1].Group, 2);
    EXPECT_EQ(plan[2].Group, 3);
    EXPECT_EQ(TracedSectionCount(plan), 1);

    const SurfaceSection& a = plan[0];
    EXPECT_FALSE(a.Traced);
    EXPECT_EQ(a.G, "x^2+y^2");
    EXPECT_EQ(a.Slot, 0);
    EXPECT_EQ(a.Position, 1);
    EXPECT_DOUBLE_EQ(a.Left, 80);
    EXPECT_DOUBLE_EQ(a.Right, 100);
    EXPECT_DOUBLE_EQ(a.Bottom, 0);
    EXPECT_DOUBLE_EQ(a.Top, 360);

    const SurfaceSection& z = plan[2];
    EXPECT_TRUE(z.Traced);
    EXPECT_EQ(z.G, "x^2+y^2-z");
    EXPECT_EQ(z.Slot, 11 * 2 - 1 + 2);  // the second surface's z-sections are slots 22..32
    EXPECT_DOUBLE_EQ(z.OriginX, cx);
    EXPECT_DOUBLE_EQ(z.OriginY, cy - 4 * s);
    // The depth axis: shortened by √8, its high end to the left.
    EXPECT_NEAR(z.Left, 3 * s / kR8, 1e-9);
    EXPECT_NEAR(z.Right, 3 * s / kR8, 1e-9);
    EXPECT_DOUBLE_EQ(z.Bottom, 2 * s);
    EXPECT_DOUBLE_EQ(z.Top, 2 * s);

    // Nothing for another kind word, nor for a kind in capitals.
    EXPECT_TRUE(PlanSurfaceSections("DEC3D", "x", 1, sec, s, cx, cy, '.').empty());
    EXPECT_TRUE(PlanSurfaceSections("par3d", "x", 1, sec, s, cx, cy, '.').empty());
}

TEST(SurfaceSections, ImplicitSlotsCoverTheThreeGroups) {
    SurfaceSections sec;
    for (int g = 1; g <= 3; ++g)
        for (int k : {1, 11}) SetSection(sec, g, k, 0, -1, 1, -1, 1);
    const auto plan = PlanSurfaceSections("Fxy3d", "x+y+z", 1, sec, 10, 0, 0, '.');
    ASSERT_EQ(plan.size(), 6u);
    EXPECT_EQ(TracedSectionCount(plan), 6);
    const int expected[6] = {33, 43, 44, 54, 55, 65};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(plan[i].Slot, expected[i]);
        EXPECT_EQ(plan[i].G, "x+y+z");
    }
    SurfaceSections first;
    SetSection(first, 3, 1, 0, -1, 1, -1, 1);
    EXPECT_EQ(PlanSurfaceSections("dec3d", "x", 1, first, 10, 0, 0, '.')[0].Slot, 11);
}

// The section plane's origin and window put the model points of the section
// where the oblique projection draws them.
TEST(SurfaceSections, OriginsAndWindowsMatchTheProjection) {
    const double s = 37, cx = 411, cy = 263;
    SurfaceSections sec;
    SetSection(sec, 1, 1, 1.7, -2, 3, -1, 4);
    SetSection(sec, 2, 1, -0.6, -2, 3, -1, 4);
    SetSection(sec, 3, 1, 2.2, -2, 3, -1, 4);
    const auto plan = PlanSurfaceSections("Fxy3d", "x", 1, sec, s, cx, cy, '.');
    ASSERT_EQ(plan.size(), 3u);
    for (double u : {-2.0, 0.3, 3.0}) {
        for (double v : {-1.0, 0.0, 4.0}) {
            double px, py;
            // x = c: the graph's x is y, its value z (plane 1: (CX + x·s, CY − y·s)).
            Project(1.7, u, v, s, cx, cy, px, py);
            EXPECT_NEAR(px, plan[0].OriginX + u * s, 1e-9);
            EXPECT_NEAR(py, plan[0].OriginY - v * s, 1e-9);
            // y = c: the graph's x is the depth x (plane 2: column CX − x·s/√8, row CY − (y − x/√8)·s).
            Project(u, -0.6, v, s, cx, cy, px, py);
            EXPECT_NEAR(px, plan[1].OriginX - u * s / kR8, 1e-9);
            EXPECT_NEAR(py, plan[1].OriginY - (v - u / kR8) * s, 1e-9);
            // z = c: plane 3, (CX + (y − x/√8)·s, CY + x/√8·s).
            Project(u, v, 2.2, s, cx, cy, px, py);
            EXPECT_NEAR(px, plan[2].OriginX + (v - u / kR8) * s, 1e-9);
            EXPECT_NEAR(py, plan[2].OriginY + u / kR8 * s, 1e-9);
        }
    }
    // The rectangle's first-axis ends lie on the window's sides.
    EXPECT_NEAR(plan[0].OriginX - plan[0].Left, cx - 1.7 * s / kR8 - 2 * s, 1e-9);
    EXPECT_NEAR(plan[1].OriginX + plan[1].Right, plan[1].OriginX - (-2) * s / kR8, 1e-9);
    EXPECT_NEAR(plan[1].OriginX - plan[1].Left, plan[1].OriginX - 3 * s / kR8, 1e-9);
}
