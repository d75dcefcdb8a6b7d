// The pyramid and prism rules of the typed values, over random solids: the
// height, the apex side swapped and back, the rotations about the height and
// the lateral edge, the edge length, the types that switch spheres off, and
// the values no solid can take.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "model/geometry.h"
#include "model/polyhedron_parts.h"
#include "model/polyhedron_reshape.h"
#include "model/update.h"
#include "vec_near.h"
#include "polyhedron_make.h"

using namespace pelmar;
using pelmar::test::ExpectNear;
using pelmar::test::MakePrism3;
using pelmar::test::MakePrism4;
using pelmar::test::MakePyramid3;
using pelmar::test::MakePyramid4;
using pelmar::test::StandardCube;
using pelmar::test::StandardPrism3;
using pelmar::test::StandardPyramid3;
using pelmar::test::StandardPyramid4;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

double DistToAxis(Vec3 q, Vec3 c, Vec3 n) {
    const Vec3 d = q - c;
    return Norm(Cross(d, n)) / Norm(n);
}

struct Random {
    std::mt19937 gen{2611};
    double operator()(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(gen); }
    Vec3 vec(double r) { return {(*this)(-r, r), (*this)(-r, r), (*this)(-r, r)}; }
};

// An arbitrary pyramid with a random base and an apex off its plane, brought
// up to date (the foot placed).
DPi3 RandomPyramid3(Random& rnd) {
    for (;;) {
        DPi3 p = MakePyramid3({{rnd.vec(100), rnd.vec(100), rnd.vec(100)}}, rnd.vec(150), 3, 1);
        UpdatePyramid3(p, 0);
        const double h = Norm(Pos(p.HeightLine.P2) - Pos(p.HeightLine.P1));
        if (h > 5 && p.Base.S[1].Length.v > 5 && p.Base.S[2].Length.v > 5 && p.Base.S[3].Length.v > 5) return p;
    }
}

TEST(PyramidReshape, HeightMovesTheApexAlongTheHeightLine) {
    Random rnd;
    for (int i = 0; i < 200; ++i) {
        const DPi3 p = RandomPyramid3(rnd);
        const Vec3 foot = Pos(p.HeightLine.P1), apex = Pos(p.HeightLine.P2);
        const double h = rnd(1, 300);
        const auto r = PyramidWithHeight(p, h);
        ASSERT_TRUE(r);
        const Vec3 moved = Pos(r->HeightLine.P2);
        EXPECT_NEAR(Norm(moved - foot), h, 1e-6);
        ExpectNear((moved - foot) * (1 / h), (apex - foot) * (1 / Norm(apex - foot)), 1e-9);
        DPi3 u = *r;
        UpdatePyramid3(u, 0);
        EXPECT_NEAR(u.HeightLine.Length.v, h, 1.5e-3);  // kept to 0.001
        EXPECT_EQ(u.Orient.v, p.Orient.v);
    }
    const DPi3 p = StandardPyramid3(1);
    // Below one pixel the apex would fall into the base.
    for (double bad : {-1.0, 0.0, 0.5, NaN, Inf}) EXPECT_FALSE(PyramidWithHeight(p, bad)) << bad;

    // A height line of length 0 has no direction: an arbitrary pyramid
    // refuses, a regular one keeps the length for its update to place the apex.
    DPi3 flat = MakePyramid3({{{0, 0, 0}, {0, 60, 0}, {50, 30, 0}}}, {10, 30, 0}, 3, 1);
    UpdatePyramid3(flat, 0);
    EXPECT_FALSE(PyramidWithHeight(flat, 80));
    DPi4 square = StandardPyramid4(1);
    UpdatePyramid4(square, 0);
    square.HeightLine.P2 = square.HeightLine.P1;
    const auto regular = PyramidWithHeight(square, 80);
    ASSERT_TRUE(regular);
    DPi4 u = *regular;
    UpdatePyramid4(u, 0);
    EXPECT_NEAR(Norm(Pos(u.HeightLine.P2) - Pos(u.HeightLine.P1)), 80, 1e-3);
}

TEST(PyramidReshape, ApexSideSwappedAndBack) {
    Random rnd;
    for (int i = 0; i < 200; ++i) {
        const DPi3 p = RandomPyramid3(rnd);
        const int side = p.Orient.v;
        const int other = 3 - side;
        const auto same = PyramidWithApexSide(p, side);
        ASSERT_TRUE(same);
        ExpectNear(Pos(same->HeightLine.P2), Pos(p.HeightLine.P2), 0);

        auto swapped = PyramidWithApexSide(p, other);
        ASSERT_TRUE(swapped);
        // The mirror image: the same foot, the same height, the other side.
        const Vec3 foot = Pos(p.HeightLine.P1);
        ExpectNear(Pos(swapped->HeightLine.P2) - foot, (Pos(p.HeightLine.P2) - foot) * -1.0, 5e-3);
        UpdatePyramid3(*swapped, 0);
        EXPECT_EQ(swapped->Orient.v, other);

        auto back = PyramidWithApexSide(*swapped, side);
        ASSERT_TRUE(back);
        ExpectNear(Pos(back->HeightLine.P2), Pos(p.HeightLine.P2), 5e-3);
        UpdatePyramid3(*back, 0);
        EXPECT_EQ(back->Orient.v, side);
    }
    DPi4 q = StandardPyramid4(1);
    UpdatePyramid4(q, 0);
    auto swapped = PyramidWithApexSide(q, 3 - q.Orient.v);
    ASSERT_TRUE(swapped);
    EXPECT_NEAR(swapped->HeightLine.P2.Z.v, -40, 1e-9);
    UpdatePyramid4(*swapped, 0);  // the regular type keeps the apex on its new side
    EXPECT_NEAR(swapped->HeightLine.P2.Z.v, -40, 1e-6);
    EXPECT_FALSE(PyramidWithApexSide(q, 0));
    EXPECT_FALSE(PyramidWithApexSide(q, 3));
    DPi3 line = MakePyramid3({{{0, 0, 0}, {0, 10, 0}, {0, 20, 0}}}, {0, 0, 50}, 3, 1);
    line.Orient.v = 1;
    EXPECT_FALSE(PyramidWithApexSide(line, 2)) << "a base on one line has no plane";
}

TEST(PyramidReshape, RotationAboutTheHeightKeepsTheAxisAndTheShape) {
    Random rnd;
    for (int i = 0; i < 100; ++i) {
        const DPi3 p = RandomPyramid3(rnd);
        const Vec3 foot = Pos(p.HeightLine.P1), apex = Pos(p.HeightLine.P2), n = apex - foot;
        const double angle = rnd(-360, 360);
        const auto r = RotatedPyramid(p, angle);
        ASSERT_TRUE(r);
        ExpectNear(Pos(r->HeightLine.P1), foot, 0.01);
        ExpectNear(Pos(r->HeightLine.P2), apex, 0.01);
        for (std::size_t k = 1; k <= 3; ++k) {
            const Vec3 before = Pos(p.Base.S[k].P1), after = Pos(r->Base.S[k].P1);
            EXPECT_NEAR(DistToAxis(after, foot, n), DistToAxis(before, foot, n), 5e-3);
            EXPECT_NEAR(Dot(after - foot, n) / Norm(n), Dot(before - foot, n) / Norm(n), 5e-3);
        }
        const auto back = RotatedPyramid(*r, -angle);
        for (std::size_t k = 1; k <= 3; ++k) ExpectNear(Pos(back->Base.S[k].P1), Pos(p.Base.S[k].P1), 0.03);  // two roundings to 0.001 on a rounded axis
    }
    DPi4 q = StandardPyramid4(1);
    UpdatePyramid4(q, 0);
    const auto quarter = RotatedPyramid(q, 90);
    ASSERT_TRUE(quarter);
    for (std::size_t k = 1; k <= 4; ++k)  // a square turned by 90 degrees lands on itself
        ExpectNear(Pos(quarter->Base.S[k].P1), Pos(q.Base.S[k % 4 + 1].P1), 1e-9);
    EXPECT_FALSE(RotatedPyramid(q, NaN));
    q.HeightLine.P2 = q.HeightLine.P1;
    EXPECT_FALSE(RotatedPyramid(q, 10)) << "no axis";
}

TEST(PyramidReshape, TypesWithoutASphereSwitchItOff) {
    DPi3 p = StandardPyramid3(1);
    DPi4 q = StandardPyramid4(1);
    p.OutSphereOn.v = p.InSphereOn.v = q.OutSphereOn.v = q.InSphereOn.v = true;
    for (int t = 1; t <= 3; ++t) {
        const auto r3 = PyramidWithType(p, t);
        const auto r4 = PyramidWithType(q, t);
        ASSERT_TRUE(r3 && r4);
        EXPECT_EQ(r3->Typ.v, t);
        EXPECT_EQ(r4->Typ.v, t);
        EXPECT_TRUE(r3->OutSphereOn.v);
        EXPECT_EQ(r3->InSphereOn.v, t != 3) << t;
        EXPECT_EQ(r4->OutSphereOn.v, t != 2) << t;
        EXPECT_EQ(r4->InSphereOn.v, t != 2) << t;
    }
    EXPECT_FALSE(PyramidWithType(p, 0));
    EXPECT_FALSE(PyramidWithType(q, 4));
}

TEST(PrismReshape, EdgeLengthScalesTheVectorOrMakesItVertical) {
    DPr3 p = StandardPrism3(1);
    p.Typ.v = 2;
    p.EdgeX.v = 30, p.EdgeY.v = 40, p.EdgeZ.v = 0, p.EdgeLen.v = 50;
    auto r = PrismWithEdgeLength(p, 200);
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->EdgeX.v, 120);
    EXPECT_DOUBLE_EQ(r->EdgeY.v, 160);
    EXPECT_DOUBLE_EQ(r->EdgeZ.v, 0);
    EXPECT_DOUBLE_EQ(r->EdgeLen.v, 200);

    p.EdgeX.v = p.EdgeY.v = p.EdgeZ.v = p.EdgeLen.v = 0;
    r = PrismWithEdgeLength(p, 80);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->EdgeX.v, 0);
    EXPECT_EQ(r->EdgeY.v, 0);
    EXPECT_EQ(r->EdgeZ.v, 80);

    // A stored length that no longer matches the vector: the typed length is
    // what the edge gets.
    p.EdgeX.v = 3, p.EdgeY.v = 4, p.EdgeLen.v = 0;
    r = PrismWithEdgeLength(p, 10);
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->EdgeX.v, 6);
    EXPECT_DOUBLE_EQ(r->EdgeY.v, 8);

    Random rnd;
    DPr4 c = StandardCube(1);
    c.Typ.v = 4;
    for (int i = 0; i < 200; ++i) {
        const Vec3 e = rnd.vec(200);
        c.EdgeX.v = e.x, c.EdgeY.v = e.y, c.EdgeZ.v = e.z;
        const double len = rnd(0.5, 500);
        const auto s = PrismWithEdgeLength(c, len);
        ASSERT_TRUE(s);
        const Vec3 v{s->EdgeX.v, s->EdgeY.v, s->EdgeZ.v};
        EXPECT_NEAR(Norm(v), len, 1e-9 * len);
        EXPECT_NEAR(Norm(Cross(v, e)), 0, 1e-6 * len * Norm(e));
        EXPECT_GT(Dot(v, e), 0);
        DPr4 u = *s;
        UpdatePrism4(u, 0);
        EXPECT_NEAR(u.EdgeLen.v, len, 5e-3);
        ExpectNear(Pos(u.Base[2].S[1].P1) - Pos(u.Base[1].S[1].P1), v, 5e-3);
    }
    for (double bad : {-1.0, NaN, Inf}) EXPECT_FALSE(PrismWithEdgeLength(c, bad)) << bad;
}

// Lengths typed one after another, each committed (the update keeps the
// components to 0.001): the edge keeps its direction exactly, however short a
// length made the rounded components, and the components are always one
// rounding of the exact edge, never a rounding of a rounding.  A length of 0,
// or one that would leave the edge (0, 0, 0), is refused.
TEST(PrismReshape, LengthsInAChainKeepTheDirection) {
    Random rnd;
    for (int i = 0; i < 40; ++i) {
        DPr3 p = MakePrism3({{rnd.vec(100), rnd.vec(100), rnd.vec(100)}}, rnd.vec(150), 2, 1);
        UpdatePrism3(p, 0);
        const Vec3 e0 = poly::ExactEdge(p);
        if (Norm(e0) < 5) continue;
        const Vec3 dir = e0 * (1 / Norm(e0));
        for (int k = 0; k < 30; ++k) {
            const double len = k % 3 == 0 ? rnd(0.01, 1) : rnd(1, 500);
            const auto r = PrismWithEdgeLength(p, len);
            ASSERT_TRUE(r) << len;
            p = *r;
            UpdatePrism3(p, 0);
            const Vec3 e = poly::ExactEdge(p);
            ExpectNear(e * (1 / Norm(e)), dir, 1e-9);
            ExpectNear({p.EdgeX.v, p.EdgeY.v, p.EdgeZ.v}, dir * len, 0.0005 + 1e-9);
            EXPECT_NEAR(p.EdgeLen.v, len, 0.0005 + 1e-9);
        }
        EXPECT_FALSE(PrismWithEdgeLength(p, 0));
        EXPECT_FALSE(PrismWithEdgeLength(p, 1e-5));
    }
}

TEST(PrismReshape, EdgeComponents) {
    DPr4 c = StandardCube(1);
    c.Typ.v = 4;
    for (int k = 1; k <= 3; ++k) {
        const auto r = PrismWithEdge(c, k, -25.5);
        ASSERT_TRUE(r);
        EXPECT_EQ((k == 1 ? r->EdgeX : k == 2 ? r->EdgeY : r->EdgeZ).v, -25.5);
        EXPECT_EQ(r->EdgeLen.v, c.EdgeLen.v) << "the length is left to the update";
    }
    EXPECT_FALSE(PrismWithEdge(c, 0, 1));
    EXPECT_FALSE(PrismWithEdge(c, 2, NaN));

    // The last component typed to 0 would leave the prism flat.
    c.EdgeX.v = 0, c.EdgeY.v = 0.0004, c.EdgeZ.v = 30;
    EXPECT_FALSE(PrismWithEdge(c, 3, 0));
    EXPECT_TRUE(PrismWithEdge(c, 3, 0.001));
}

TEST(PrismReshape, RotationAboutTheEdgeThroughTheLowerBaseCentre) {
    Random rnd;
    for (int i = 0; i < 100; ++i) {
        DPr3 p = MakePrism3({{rnd.vec(100), rnd.vec(100), rnd.vec(100)}}, rnd.vec(120), 2, 1);
        UpdatePrism3(p, 0);
        const Vec3 e{p.EdgeX.v, p.EdgeY.v, p.EdgeZ.v};
        if (Norm(e) < 1) continue;
        const double angle = rnd(-180, 180);
        const auto r = RotatedPrism(p, angle);
        ASSERT_TRUE(r);
        // The incentre stays; so does the edge, parallel to the axis.
        const auto incentre = [](const DTri& t) {
            const Vec3 a = Pos(t.S[1].P1), b = Pos(t.S[2].P1), c = Pos(t.S[3].P1);
            const double la = Norm(c - b), lb = Norm(a - c), lc = Norm(b - a);
            return (a * la + b * lb + c * lc) * (1 / (la + lb + lc));
        };
        ExpectNear(incentre(r->Base[1]), incentre(p.Base[1]), 5e-3);
        ExpectNear({r->EdgeX.v, r->EdgeY.v, r->EdgeZ.v}, e, 5e-3);
        for (std::size_t k = 1; k <= 3; ++k)
            EXPECT_NEAR(DistToAxis(Pos(r->Base[1].S[k].P1), incentre(p.Base[1]), e),
                        DistToAxis(Pos(p.Base[1].S[k].P1), incentre(p.Base[1]), e), 5e-3);
    }
    DPr4 cube = StandardCube(1);
    UpdatePrism4(cube, 0);
    const auto quarter = RotatedPrism(cube, 90);
    ASSERT_TRUE(quarter);
    for (std::size_t k = 1; k <= 4; ++k)
        ExpectNear(Pos(quarter->Base[1].S[k].P1), Pos(cube.Base[1].S[k % 4 + 1].P1), 5e-3);
    cube.EdgeX.v = cube.EdgeY.v = cube.EdgeZ.v = 0;
    EXPECT_FALSE(RotatedPrism(cube, 30)) << "no axis";
    DPr4 four = MakePrism4({{{0, 0, 0}, {0, 50, 0}, {40, 50, 0}, {40, 0, 0}}}, {0, 0, 30}, 4, 1);
    UpdatePrism4(four, 0);
    EXPECT_FALSE(RotatedPrism(four, Inf));
}

}  // namespace
