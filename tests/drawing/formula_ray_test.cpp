// The surface ray test and the partial derivatives: the cases of the ray test,
// and both against the route that writes the point into the formula text and
// prepares it anew for every call.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "drawing/formula.h"
#include "drawing/formula_internal.h"
#include "model/shading.h"

using namespace pelmar;

namespace {

// The box of a 3D coordinate system in its corner order: (xmax, ymin, zmin),
// (xmax, ymax, zmin), (xmin, ymax, zmin), (xmin, ymin, zmin), then the same
// four with zmax.
std::array<Vec3, 8> Box(double lo, double hi) {
    return {Vec3{hi, lo, lo}, Vec3{hi, hi, lo}, Vec3{lo, hi, lo}, Vec3{lo, lo, lo},
            Vec3{hi, lo, hi}, Vec3{hi, hi, hi}, Vec3{lo, hi, hi}, Vec3{lo, lo, hi}};
}

struct Hit {
    bool hit;
    TColor colour;
};

Hit Ray(const std::string& s, Vec3 p, bool fromPoint = false, std::uint8_t mode = 0, double step = 0.1,
        const GraphTransform& t = {}, bool shade = false, int lightSource = 2, bool full = true) {
    DistributionParameters params;
    DImProj im;
    im.LightSource = static_cast<std::uint8_t>(lightSource);
    im.LightDX = 1;
    im.LightDY = 0.5;
    im.LightDZ = 0.25;
    TColor colour = 0x123456;
    const bool hit = RaySurfaceHit(p, fromPoint, Box(-2, 2), s, mode, step, t, 0x0000FF, 0x00FF00, 0xFF0000, im,
                                   shade, colour, full, params);
    return {hit, colour};
}

TEST(FormulaRay, PlaneInFrontOrBehind) {
    EXPECT_TRUE(Ray("x", {-1, 0, 0}).hit);
    EXPECT_TRUE(Ray("x", {1, 0, 0}).hit);                // the whole ray through the box
    EXPECT_FALSE(Ray("x", {1, 0, 0}, true, 0, 0.1).hit);  // from the point on: behind it
    EXPECT_TRUE(Ray("x", {-1, 0, 0}, true, 0, 0.1).hit);
    EXPECT_TRUE(Ray("x", {-1, 0, 0}, false, 1).hit);      // quadratic fit
    EXPECT_FALSE(Ray("x", {1, 0, 0}, true, 1, 0.1).hit);
    EXPECT_FALSE(Ray("x-5", {-1, 0, 0}).hit);             // the plane is outside the box
    EXPECT_FALSE(Ray("x-5", {-1, 0, 0}, false, 1).hit);
    EXPECT_FALSE(Ray("x", {-1, 9, 9}).hit);               // the ray misses the box
    EXPECT_FALSE(Ray("3", {0, 0, 0}).hit);
    EXPECT_FALSE(Ray("x", {-1, 0, 0}, false, 0, 0).hit);  // no step, no scan
}

TEST(FormulaRay, Quadrics) {
    for (std::uint8_t mode : {0, 1}) {
        EXPECT_TRUE(Ray("x^2+y^2+z^2-1", {0, 0, 0}, false, mode).hit) << int(mode);
        EXPECT_TRUE(Ray("x^2+y^2+z^2-1", {0, 0, 0}, true, mode).hit) << int(mode);
        EXPECT_FALSE(Ray("x^2+y^2+z^2-1", {0, 1.9, -1.9}, false, mode).hit) << int(mode);
        EXPECT_TRUE(Ray("x*x+y*y-z", {0, 0.5, 1}, false, mode).hit) << int(mode);
    }
}

// Letters are replaced only where they stand as variables (tg, ctg, arctg,
// arcctg and student hold a "t"), after lower-casing.
TEST(FormulaRay, FunctionNamesAndLetterCase) {
    EXPECT_TRUE(Ray("x+0*tg(y)", {-1, 0, 0}).hit);
    EXPECT_TRUE(Ray("x+0*arcctg(z)*student(y,3)", {-1, 0, 0}).hit);
    EXPECT_TRUE(Ray("arctg(x)", {-1, 0, 0}).hit);
    EXPECT_TRUE(Ray("X", {-1, 0, 0}).hit);
    EXPECT_TRUE(Ray("X^2+Y^2+Z^2-1", {0, 0, 0}, false, 1).hit);
    EXPECT_TRUE(Ray("x^2+y^2+z^2-1", {0, 0, 0}, false, 1, 0.1, {}, false, 2, false).hit);  // light pair
}

// Undefined samples are passed over: the sign change across them still counts.
TEST(FormulaRay, UndefinedSamplesArePassedOver) {
    // F = x, undefined for |x| < 0.05: the samples next to the plane fail.
    EXPECT_TRUE(Ray("x+0*ln(abs(x)-0.05)", {-1, 0, 0}).hit);
    // Undefined everywhere: no hit.
    EXPECT_FALSE(Ray("ln(0)+x", {-1, 0, 0}).hit);
    EXPECT_FALSE(Ray("ln(0)+x", {-1, 0, 0}, false, 1).hit);
}

TEST(FormulaRay, TransformedBoxFindsTheSameRange) {
    GraphTransform moved;
    moved.Moved = true;  // no real shift: the faces give the same box
    for (const Vec3 p : {Vec3{-1, 0, 0}, Vec3{1, 0, 0}, Vec3{0, 0.5, -0.5}, Vec3{-1, 9, 9}}) {
        for (bool fromPoint : {false, true}) {
            EXPECT_EQ(Ray("x", p, fromPoint).hit, Ray("x", p, fromPoint, 0, 0.1, moved).hit)
                << p.x << " " << p.y << " " << p.z << " " << fromPoint;
            EXPECT_EQ(Ray("x^2+y^2+z^2-1", p, fromPoint, 1).hit,
                      Ray("x^2+y^2+z^2-1", p, fromPoint, 1, 0.1, moved).hit);
        }
    }
}

TEST(FormulaRay, Shading) {
    // The plane x = 0 has the normal (1, 0, 0).
    const Hit h = Ray("x", {-1, 0, 0}, false, 1, 0.1, {}, true, 2);
    ASSERT_TRUE(h.hit);
    DImProj im;
    EXPECT_EQ(h.colour, ShadeColor(0x0000FF, 0x00FF00, 0xFF0000, 1, 0, 0, {1, 0.5, 0.25}, im.BorderPercent,
                                   im.TwoColors != 0, im.BorderAngle));
    // Another light source value leaves the colour alone; so does a miss.
    EXPECT_EQ(Ray("x", {-1, 0, 0}, false, 1, 0.1, {}, true, 0).colour, 0x123456u);
    EXPECT_EQ(Ray("x-5", {-1, 0, 0}, false, 1, 0.1, {}, true, 2).colour, 0x123456u);
}

// ---------------------------------------------------------------------------
// Against the text route

std::string WithPoint(const std::string& s, Vec3 p, char var, bool ray) {
    std::string low = s, r;
    for (char& c : low)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    const double coords[3] = {p.x, p.y, p.z};
    for (char c : low) {
        if (ray && c == 'x')
            r += "(" + FixedNumberText(p.x) + "+x)";
        else if (ray && (c == 'y' || c == 'z'))
            r += "(" + FixedNumberText(coords[c - 'x']) + "+0.35355339*x)";
        else if (!ray && c == var)
            r += 'x';
        else if (!ray && c >= 'x' && c <= 'z')
            r += "(" + FixedNumberText(coords[c - 'x']) + ")";
        else
            r += c;
    }
    return r;
}

double TextDerivative(const std::string& s, Vec3 p, int axis, DistributionParameters& params) {
    const Formula f = Formula::Prepare(WithPoint(s, p, static_cast<char>('x' + axis - 1), false), true, params);
    const Ext v = axis == 1 ? p.x : axis == 2 ? p.y : p.z;
    Ext f0, f1;
    if (!f.Calc(v, f0) || !f.Calc(v + 1e-5L, f1)) return 0;
    return static_cast<double>((f1 - f0) / 1e-5L);
}

// The ray test for an axis-parallel box with the ray formula written out.
bool TextRay(const std::string& s, Vec3 p, bool fromPoint, std::uint8_t mode, double step,
             DistributionParameters& params, Ext& tStar) {
    const Ext s8 = std::sqrt(8.0L);
    const auto c = Box(-2, 2);
    double lo = Max3(c[3].x - p.x, static_cast<double>((c[3].y - p.y) * s8), static_cast<double>((c[3].z - p.z) * s8));
    const double hi =
        Min3(c[5].x - p.x, static_cast<double>((c[5].y - p.y) * s8), static_cast<double>((c[5].z - p.z) * s8));
    if (fromPoint) lo = step;
    if (!(lo < hi)) return false;
    const std::string ray = WithPoint(s, p, 0, true);
    int count;
    double x1, x2;
    if (FormulaRoots(ray, true, mode, lo, hi, count, x1, x2, params)) {
        tStar = count == 2 ? x2 : x1;
        return count > 0;
    }
    const Formula f = Formula::Prepare(ray, true, params);
    Ext t = hi, last = 0, lastT = hi, v;
    bool haveLast = f.Calc(t, last);
    for (; t >= lo; t -= step) {
        const Ext next = t - step;
        if (!f.Calc(next, v)) continue;
        if (haveLast && last * v <= 0) {
            tStar = (lastT + next) / 2;
            return true;
        }
        last = v;
        lastT = next;
        haveLast = true;
    }
    return false;
}

TEST(FormulaRay, AgreesWithTheTextRoute) {
    const char* surfaces[] = {"x^2+y^2+z^2-1", "x*y-z", "sin(x)+cos(y)-z", "x+2y-3", "2x-y", "y^2-x-0.5",
                              "abs(x)+abs(y)+abs(z)-1.5", "eks(x)-y*z", "ln(x+2)-z", "x.5+y",
                              "norm(x,0,1)-z/4", "tg(x)-z", "(x-1)(y+1)"};
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(-2.5, 2.5);
    int hits = 0;
    for (const char* s : surfaces) {
        for (int i = 0; i < 25; ++i) {
            const Vec3 p{u(rng), u(rng), u(rng)};
            for (std::uint8_t mode : {0, 1}) {
                const bool fromPoint = i % 2 == 0;
                DistributionParameters pa, pb;
                Ext tStar = 0;
                const bool want = TextRay(s, p, fromPoint, mode, 0.05, pa, tStar);
                DImProj im;
                im.LightSource = 2;
                TColor colour = 0;
                const bool got = RaySurfaceHit(p, fromPoint, Box(-2, 2), s, mode, 0.05, {}, 0x0000FF, 0x00FF00,
                                               0xFF0000, im, true, colour, true, pb);
                ASSERT_EQ(want, got) << s << " at " << p.x << " " << p.y << " " << p.z << " mode " << int(mode);
                if (want) {
                    ++hits;
                    const Ext s8 = std::sqrt(8.0L);
                    const Vec3 q{static_cast<double>(p.x + tStar), static_cast<double>(p.y + tStar / s8),
                                 static_cast<double>(p.z + tStar / s8)};
                    DistributionParameters pc;
                    const TColor expected =
                        ShadeColor(0x0000FF, 0x00FF00, 0xFF0000, TextDerivative(s, q, 1, pc), TextDerivative(s, q, 2, pc),
                                   TextDerivative(s, q, 3, pc), {im.LightDX, im.LightDY, im.LightDZ}, im.BorderPercent,
                                   im.TwoColors != 0, im.BorderAngle);
                    EXPECT_EQ(colour, expected) << s;
                }
            }
        }
    }
    EXPECT_GT(hits, 100);
}

// The hidden-line test looks for a hiding surface only in what the drawing
// window shows.  With the box inside the window it answers as the whole scan
// does, sample for sample; a surface in front of the point but beyond the
// window hides nothing; a box far larger than the window is scanned only
// across the window.
TEST(FormulaRay, HiddenLineScanStaysInTheWindow) {
    const char* surfaces[] = {"x^2+y^2+z^2-1", "x*y-z", "sin(3*x)+cos(y)-z", "x-0.3", "ln(x+2)-z", "tg(x)-z",
                              "(x-1)(y+1)", "1/(x*x-0.5)-y"};
    ScanWindow window;
    window.On = true;
    window.Lo = {-2.5, -2.2, -2.4};
    window.Hi = {2.3, 2.5, 2.2};
    std::mt19937 rng(13);
    std::uniform_real_distribution<double> u(-2, 2);
    DImProj im;
    int hidden = 0;
    for (const char* s : surfaces) {
        for (int i = 0; i < 60; ++i) {
            const Vec3 p{u(rng), u(rng), u(rng)};
            DistributionParameters pa, pb;
            TColor unused = 0;
            const bool whole = RaySurfaceHit(p, true, Box(-2, 2), s, 0, 0.01, {}, 0, 0, 0, im, false, unused, true, pa);
            const bool inWindow =
                RaySurfaceHit(p, true, Box(-2, 2), s, 0, 0.01, {}, 0, 0, 0, im, false, unused, true, pb, window);
            ASSERT_EQ(whole, inWindow) << s << " at " << p.x << " " << p.y << " " << p.z;
            hidden += whole;
        }
    }
    EXPECT_GT(hidden, 50);

    // A plane in front of the point: inside the window it hides, beyond it
    // not.  In a box a million times the window (which the whole scan gives
    // up on after a million samples) the window is scanned all the same.
    DistributionParameters pa;
    TColor unused = 0;
    for (double plane : {1.0, 400.0}) {
        const std::string s = "x-" + std::to_string(plane);
        EXPECT_TRUE(RaySurfaceHit({0, 0, 0}, true, Box(-500, 500), s, 0, 0.01, {}, 0, 0, 0, im, false, unused, true,
                                  pa));
        for (double box : {500.0, 1e6})
            EXPECT_EQ(RaySurfaceHit({0, 0, 0}, true, Box(-box, box), s, 0, 0.01, {}, 0, 0, 0, im, false, unused, true,
                                    pa, window),
                      plane < 2)
                << plane << " in " << box;
    }
    const auto huge = Box(-1e6, 1e6);
    // The ray of a point beyond the window misses what it shows.
    EXPECT_FALSE(RaySurfaceHit({0, 9, 9}, true, huge, "x-1", 0, 0.01, {}, 0, 0, 0, im, false, unused, true, pa, window));
}

TEST(FormulaRay, DerivativesAgreeWithTheTextRoute) {
    const char* surfaces[] = {"x^2+y^2+z^2-1", "x*y*z", "sin(x*y)+z", "2x+y", "eks(y)-ln(z)", "student(x,3)+y"};
    std::mt19937 rng(12);
    std::uniform_real_distribution<double> u(-3, 3);
    for (const char* s : surfaces) {
        for (int i = 0; i < 40; ++i) {
            const Vec3 p{u(rng), u(rng), u(rng)};
            for (int axis = 1; axis <= 3; ++axis) {
                DistributionParameters pa, pb;
                EXPECT_EQ(PartialDerivative(s, p, static_cast<std::uint8_t>(axis), true, pa),
                          TextDerivative(s, p, axis, pb))
                    << s << " axis " << axis;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Random surfaces: the scan passes over stretches whose bounds keep one sign

// A random formula in x, y and z: sums, products, quotients, whole powers
// (negative ones too), the functions the bounds cover and some they do not.
std::string RandomFormula(std::mt19937& rng, int depth) {
    std::uniform_int_distribution<int> pick(0, 15);
    std::uniform_real_distribution<double> num(-3, 3);
    auto number = [&] {
        char b[32];
        std::snprintf(b, sizeof b, "%.3f", num(rng));
        return std::string(b);
    };
    const int k = depth <= 0 ? pick(rng) % 4 : pick(rng);
    const std::string letter(1, static_cast<char>('x' + pick(rng) % 3));
    switch (k) {
        case 0: return number();
        case 1:
        case 2:
        case 3: return letter;
        case 4: return "(" + RandomFormula(rng, depth - 1) + "+" + RandomFormula(rng, depth - 1) + ")";
        case 5: return "(" + RandomFormula(rng, depth - 1) + "-" + RandomFormula(rng, depth - 1) + ")";
        case 6: return RandomFormula(rng, depth - 1) + "*" + RandomFormula(rng, depth - 1);
        case 7: return "(" + RandomFormula(rng, depth - 1) + ")/(" + RandomFormula(rng, depth - 1) + ")";
        case 8: return "(" + RandomFormula(rng, depth - 1) + ")^" + std::to_string(1 + pick(rng) % 4);
        case 9: return "(" + RandomFormula(rng, depth - 1) + ")^(-" + std::to_string(1 + pick(rng) % 3) + ")";
        case 10: return "sin(" + RandomFormula(rng, depth - 1) + ")";
        case 11: return "cos(" + RandomFormula(rng, depth - 1) + ")";
        case 12: return "abs(" + RandomFormula(rng, depth - 1) + ")";
        case 13: return "arctg(" + RandomFormula(rng, depth - 1) + ")";
        case 14: return "ln(" + RandomFormula(rng, depth - 1) + ")";
        default: return "(" + letter + "-" + number() + ")^2";
    }
}

// The ray test and its shading against the text route, sample for sample,
// on random surfaces and light settings; and the bounds that let the scan
// pass over samples hold for every value of the variable in their range.
TEST(FormulaRay, RandomSurfacesAgreeWithTheTextRouteAndTheirBoundsHold) {
    std::mt19937 rng(29);
    std::uniform_real_distribution<double> u(-2.5, 2.5);
    int hits = 0, bounded = 0;
    for (int n = 0; n < 300; ++n) {
        const std::string s = RandomFormula(rng, 3) + "-" + RandomFormula(rng, 2);
        DImProj im;
        im.LightSource = 2;
        im.LightDX = u(rng);
        im.LightDY = u(rng);
        im.LightDZ = u(rng);
        im.TwoColors = static_cast<std::uint8_t>(n % 2);
        im.BorderAngle = n % 3 == 0 ? 90 : 180;
        im.BorderPercent = 20 + n % 60;
        for (int i = 0; i < 6; ++i) {
            const Vec3 p{u(rng), u(rng), u(rng)};
            const bool fromPoint = i % 2 == 0;
            const std::uint8_t mode = i % 3 == 0 ? 1 : 0;
            const double step = i % 2 == 0 ? 0.05 : 0.013;
            DistributionParameters pa, pb, pc;
            Ext tStar = 0;
            const bool want = TextRay(s, p, fromPoint, mode, step, pa, tStar);
            TColor colour = 0;
            const bool got = RaySurfaceHit(p, fromPoint, Box(-2, 2), s, mode, step, {}, 0x0000FF, 0x20FF00, 0xFF0040,
                                           im, true, colour, true, pb);
            ASSERT_EQ(want, got) << s << " at " << p.x << " " << p.y << " " << p.z << " mode " << int(mode);
            if (!want) continue;
            ++hits;
            const Ext s8 = std::sqrt(8.0L);
            const Vec3 q{static_cast<double>(p.x + tStar), static_cast<double>(p.y + tStar / s8),
                         static_cast<double>(p.z + tStar / s8)};
            ASSERT_EQ(colour, ShadeColor(0x0000FF, 0x20FF00, 0xFF0040, TextDerivative(s, q, 1, pc),
                                         TextDerivative(s, q, 2, pc), TextDerivative(s, q, 3, pc),
                                         {im.LightDX, im.LightDY, im.LightDZ}, im.BorderPercent, im.TwoColors != 0,
                                         im.BorderAngle))
                << s;
        }

        // The surface along a ray, its x, y and z the template's slots.
        std::string tmpl = s;
        for (char& c : tmpl)
            if (c >= 'x' && c <= 'z') c = formula::kSlotMarks[c - 'x'];
        DistributionParameters params;
        const Formula f = formula::Access::PrepareTemplate(tmpl, true, params);
        formula::SlotValues groups;
        ASSERT_TRUE(ReadFormulaNumber("0.35355339", groups.scale));
        groups.value[0] = formula::FixedSlot(u(rng), formula::SlotValue::Shifted);
        groups.value[1] = formula::FixedSlot(u(rng), formula::SlotValue::ShiftedScaled);
        groups.value[2] = formula::FixedSlot(u(rng), formula::SlotValue::ShiftedScaled);
        for (int i = 0; i < 8; ++i) {
            const Ext lo = u(rng), width = std::pow(10.0L, -6 + 6 * std::abs(u(rng)) / 2.5L);
            Ext vlo = 0, vhi = 0;
            if (!formula::Access::Bound(f, lo, lo + width, groups, vlo, vhi)) continue;
            ++bounded;
            for (int j = 0; j <= 40; ++j) {
                const Ext t = j == 40 ? lo + width : lo + width * j / 40;
                Ext v = 0;
                ASSERT_TRUE(formula::Access::Calc(f, t, groups, v)) << s << " at " << static_cast<double>(t);
                ASSERT_TRUE(v >= vlo && v <= vhi) << s << " at " << static_cast<double>(t) << " in ["
                                                  << static_cast<double>(vlo) << ", " << static_cast<double>(vhi) << "]";
            }
        }
    }
    EXPECT_GT(hits, 300);
    EXPECT_GT(bounded, 500);
}

}  // namespace
