// Roots of formulas, rewriting of surface formulas, partial derivatives.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "drawing/formula.h"
#include "drawing/formula_internal.h"

using namespace pelmar;

namespace {

struct Roots {
    bool ok;
    int count;
    double x1, x2;
};

Roots Find(const std::string& s, double lo, double hi, std::uint8_t mode = 0, bool full = true) {
    DistributionParameters p;
    Roots r{};
    r.ok = FormulaRoots(s, full, mode, lo, hi, r.count, r.x1, r.x2, p);
    return r;
}

// A formula in x, y and z at a point: y and z written in as numbers.
std::optional<double> Eval3(const std::string& s, double x, double y, double z) {
    std::string t;
    for (char c : s) {
        if (c == 'y')
            t += "(" + FormulaNumberText(y) + ")";
        else if (c == 'z')
            t += "(" + FormulaNumberText(z) + ")";
        else
            t += c;
    }
    DistributionParameters p;
    Ext v;
    if (!Formula::Prepare(t, true, p).Calc(x, v)) return std::nullopt;
    return static_cast<double>(v);
}

TEST(FormulaRoots, PolynomialsOfDegreeTwoAtMost) {
    Roots r = Find("x^2-1", -2, 2);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.count, 2);
    EXPECT_EQ(r.x1, -1);
    EXPECT_EQ(r.x2, 1);
    r = Find("x^2-1", 0, 2);
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.x1, 1);
    EXPECT_EQ(r.x2, 1);  // the larger root of the quadratic
    r = Find("x^2-1", 2, 3);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.count, 0);
    r = Find("x^2-1", -0.5, 0.5);
    EXPECT_EQ(r.count, 0);
    r = Find("2*x+4", -5, 5);
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.x1, -2);
    EXPECT_EQ(r.x2, 0);
    r = Find("3", -5, 5);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.count, 0);
    r = Find("", -5, 5);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.count, 0);
    r = Find("x*x-4", -3, 3);
    EXPECT_EQ(r.count, 2);
    EXPECT_EQ(r.x1, -2);
    EXPECT_EQ(r.x2, 2);
    r = Find("x^2-2*x+1", -3, 3);  // a double root
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.x1, 1);
    r = Find("-x^2/2+(3)*x-4+0", -10, 10);
    EXPECT_EQ(r.count, 2);
    EXPECT_DOUBLE_EQ(r.x1, 2);
    EXPECT_DOUBLE_EQ(r.x2, 4);
    // Roots on the bounds count.
    EXPECT_EQ(Find("x-2", 2, 3).count, 1);
    EXPECT_EQ(Find("x-3", 2, 3).count, 1);
    EXPECT_EQ(Find("x^2-4", -2, 2).count, 2);
    // Any number of terms.
    r = Find("x+x+x+x+x+x+x+x+x+x+x-11", -5, 5);
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.x1, 1);
    // Letter case does not matter.
    EXPECT_EQ(Find("X^2-1", -2, 2).count, 2);
}

TEST(FormulaRoots, UnrecognisedFormulas) {
    EXPECT_FALSE(Find("sin(x)", -1, 1).ok);
    EXPECT_FALSE(Find("x^3-1", -2, 2).ok);
    EXPECT_FALSE(Find("x^2+-1", -2, 2).ok);  // the term "+" cannot be evaluated
    EXPECT_FALSE(Find("x^2 - 1", -2, 2).ok);
    // A constant term with a function is evaluated by the full evaluator only.
    Roots r = Find("sin(1)+x", -2, 2, 0, true);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.count, 1);
    EXPECT_NEAR(r.x1, -std::sin(1.0), 1e-14);
    EXPECT_FALSE(Find("sin(1)+x", -2, 2, 0, false).ok);
}

// The characters of a term do not tell its degree: x^21 starts like x^2,
// 2/x and the number "2x" look linear.  Such terms are not taken as
// polynomials.
TEST(FormulaRoots, DegreeIsRecognisedCorrectly) {
    EXPECT_FALSE(Find("x^21-1", -2, 2).ok);
    EXPECT_FALSE(Find("x^2.5-1", -2, 2).ok);
    EXPECT_FALSE(Find("2/x-1", -3, 3).ok);
    EXPECT_FALSE(Find("2x-1", -3, 3).ok);
    EXPECT_FALSE(Find("x^2(3)-1", -3, 3).ok);
    EXPECT_FALSE(Find("x/x-1", -3, 3).ok);
    // With mode 1 they go to the quadratic fit instead.
    Roots r = Find("2/x-1", 1, 3, 1);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.count, 1);
    EXPECT_NEAR(r.x1, 2, 0.3);
}

TEST(FormulaRoots, QuadraticFit) {
    Roots r = Find("sin(x)", -1, 1, 1);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.count, 1);
    EXPECT_NEAR(r.x1, 0, 1e-12);
    // Exact for quadratics written in any form.
    r = Find("(x-1)*(x+2)", -5, 5, 1);
    EXPECT_EQ(r.count, 2);
    EXPECT_NEAR(r.x1, -2, 1e-12);
    EXPECT_NEAR(r.x2, 1, 1e-12);
    // A fitted line keeps a square term of rounding noise: its root must
    // still be the line's own, not one lost to cancellation.
    r = Find("-1+x", 0.1, 2, 1);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.count, 1);
    EXPECT_NEAR(r.x1, 1, 1e-9);
    r = Find("3*(x-0.25)", -10, 10, 1);
    EXPECT_EQ(r.count, 1);
    EXPECT_NEAR(r.x1, 0.25, 1e-9);
    for (const Ext noise : {Ext(4e-20), Ext(-4e-20), Ext(1e-30)}) {
        int count = 0;
        double x1 = 0, x2 = 0;
        formula::RootsInRange(-1, 1, noise, 0.1, 2, count, x1, x2);
        EXPECT_EQ(count, 1) << static_cast<double>(noise);
        EXPECT_NEAR(x1, 1, 1e-12) << static_cast<double>(noise);
    }
    // An undefined sample makes no fit.
    EXPECT_FALSE(Find("ln(x)+x^3", -1, 1, 1).ok);
    EXPECT_FALSE(Find("1/x", -1, 1, 1).ok);
}

TEST(FormulaTransform, ShiftAndRotation) {
    std::string r;
    GraphTransform t;
    TransformFormula("x^2+y^2-1", t, r);
    EXPECT_EQ(r, "x^2+y^2-1");
    t.Moved = true;
    t.DX = 1;
    TransformFormula("x^2+y^2-1", t, r);
    EXPECT_EQ(r, "(x-(1))^2+(y-(0))^2-1");
    TransformFormula("X^2+Y^2-1", t, r);  // letter case does not matter
    EXPECT_EQ(r, "(x-(1))^2+(y-(0))^2-1");

    // The plane x = 1 turned by 90 degrees about the z axis is the plane y = 1.
    GraphTransform rot;
    rot.Rotated = true;
    rot.Angle = 90;
    rot.NX = 0;
    rot.NY = 0;
    rot.NZ = 1;
    TransformFormula("x-1", rot, r);
    EXPECT_EQ(r.substr(0, 14), "((0.00000000)*");
    EXPECT_NEAR(*Eval3(r, 0, 1, 0), 0, 1e-7);
    EXPECT_NEAR(*Eval3(r, 5, 1, -3), 0, 1e-7);
    EXPECT_GT(std::fabs(*Eval3(r, 1, 0, 0)), 0.5);
    // Rotation about an axis through (1, 1, 0), then a shift by (0, 0, 2).
    rot.CX = 1;
    rot.CY = 1;
    rot.Moved = true;
    rot.DZ = 2;
    TransformFormula("x^2+y^2+z^2-1", rot, r);
    // The unit sphere about the origin goes to the sphere about (2, 0, 2).
    EXPECT_NEAR(*Eval3(r, 2, 0, 2), -1, 1e-6);
    EXPECT_NEAR(*Eval3(r, 3, 0, 2), 0, 1e-6);
    EXPECT_NEAR(*Eval3(r, 2, 0, 3), 0, 1e-6);
}

// Shifts of tiny size are written without "E", which the preparation would
// lower-case into a letter and so lose the surface.
TEST(FormulaTransform, TinyNumbersKeepTheFormulaReadable) {
    GraphTransform t;
    t.Moved = true;
    t.DX = 1e-7;
    std::string r;
    TransformFormula("x", t, r);
    EXPECT_EQ(r, "(x-(0.0000001))");
    ASSERT_TRUE(Eval3(r, 1, 0, 0).has_value());
    EXPECT_NEAR(*Eval3(r, 1, 0, 0), 1 - 1e-7, 1e-15);
}

TEST(FormulaRoots, PartialDerivatives) {
    DistributionParameters p;
    const Vec3 q{1, 2, 3};
    EXPECT_NEAR(PartialDerivative("x^2+y^2+z^2-1", q, 1, true, p), 2, 1e-4);
    EXPECT_NEAR(PartialDerivative("x^2+y^2+z^2-1", q, 2, true, p), 4, 1e-4);
    EXPECT_NEAR(PartialDerivative("x^2+y^2+z^2-1", q, 3, true, p), 6, 1e-4);
    EXPECT_NEAR(PartialDerivative("X*Y", Vec3{2, 3, 0}, 1, true, p), 3, 1e-4);
    EXPECT_NEAR(PartialDerivative("X*Y", Vec3{2, 3, 0}, 2, true, p), 2, 1e-4);
    // Function names keep their letters.
    const double c = std::cos(0.5);
    EXPECT_NEAR(PartialDerivative("tg(x)+student(z,3)*0+z", Vec3{0.5, 0, 1}, 1, true, p), 1 / (c * c), 1e-4);
    EXPECT_NEAR(PartialDerivative("tg(x)+z", Vec3{0.5, 0, 1}, 3, true, p), 1, 1e-4);
    EXPECT_NEAR(PartialDerivative("arctg(y)", Vec3{0, 1, 0}, 2, true, p), 0.5, 1e-4);
    // Undefined: 0.
    EXPECT_EQ(PartialDerivative("ln(x)", Vec3{-1, 0, 0}, 1, true, p), 0);
    EXPECT_EQ(PartialDerivative("x", Vec3{0, 0, 0}, 4, true, p), 0);
}

TEST(FormulaRoots, SmallHelpers) {
    EXPECT_EQ(Min3(3, -1, 2), -1);
    EXPECT_EQ(Max3(3, -1, 2), 3);
    const std::array<Vec3, 6> pts{Vec3{5, 0, 0}, Vec3{-2, 0, 0}, Vec3{7, 0, 0}, Vec3{-9, 0, 0}, Vec3{}, Vec3{}};
    EXPECT_EQ(MinPointX(pts, 3), -2);
    EXPECT_EQ(MaxPointX(pts, 3), 7);
    EXPECT_EQ(MinPointX(pts, 4), -9);
    EXPECT_EQ(MinPointX(pts, 0), 5);
    EXPECT_EQ(MaxPointX(pts, -1), 5);
}

}  // namespace
