#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "model/construct.h"
#include "model/geometry.h"
#include "tri_make.h"
#include "vec_near.h"

using namespace pelmar;
using pelmar::test::ExpectNear;
using pelmar::test::MakeKv;
using pelmar::test::MakeTri;
using pelmar::test::V;

namespace {

constexpr double kDeg = 180.0 / std::numbers::pi;

DLine Seg(Vec3 a, Vec3 b) {
    DLine l;
    SetPos(l.P1, a);
    SetPos(l.P2, b);
    return l;
}

double AngleAt(Vec3 c, Vec3 a, Vec3 b) {
    return std::acos(std::clamp(Dot(a - c, b - c) / (Norm(a - c) * Norm(b - c)), -1.0, 1.0)) * kDeg;
}

}  // namespace

// ---------------------------------------------------------------------------
// Interior angle of consecutive sides

TEST(AngleBetweenLines, InteriorAngleOfConsecutiveSides) {
    EXPECT_EQ(AngleBetweenLines(Seg({0, 0, 0}, {0, 10, 0}), Seg({0, 10, 0}, {0, 10, 10})), 90.0);
    EXPECT_EQ(AngleBetweenLines(Seg({0, 0, 0}, {0, 10, 0}), Seg({0, 10, 0}, {0, 5, 5 * std::sqrt(3.0)})), 60.0);
    // In space, rounded to 0.001.
    const double a = AngleBetweenLines(Seg({0, 0, 0}, {3, 1, 2}), Seg({3, 1, 2}, {1, 7, -1}));
    EXPECT_EQ(a, std::nearbyint(a * 1000) / 1000);
    EXPECT_NEAR(a, AngleAt({3, 1, 2}, {0, 0, 0}, {1, 7, -1}), 0.0005);
}

TEST(AngleBetweenLines, CollinearAndZeroLengthSidesGiveZeroOr180) {
    EXPECT_EQ(AngleBetweenLines(Seg({0, 0, 0}, {0, 10, 0}), Seg({0, 10, 0}, {0, 20, 0})), 180.0);
    EXPECT_EQ(AngleBetweenLines(Seg({0, 0, 0}, {0, 10, 0}), Seg({0, 10, 0}, {0, 5, 0})), 0.0);
    EXPECT_EQ(AngleBetweenLines(Seg({1, 1, 1}, {1, 1, 1}), Seg({0, 10, 0}, {0, 5, 0})), 180.0);
    EXPECT_EQ(AngleBetweenLines(Seg({0, 0, 0}, {0, 10, 0}), Seg({2, 2, 2}, {2, 2, 2})), 180.0);
    // Parallel sides whose cosine rounds past 1 still give a number.
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-1000, 1000);
    for (int i = 0; i < 2000; ++i) {
        const Vec3 d{u(rng) * 1e-3, u(rng), u(rng) * 7};
        const double k = std::fabs(u(rng)) + 0.1;
        const double same = AngleBetweenLines(Seg({0, 0, 0}, d), Seg({1, 2, 3}, Vec3{1, 2, 3} + d * k));
        const double back = AngleBetweenLines(Seg({0, 0, 0}, d), Seg({1, 2, 3}, Vec3{1, 2, 3} - d * k));
        ASSERT_EQ(same, 180.0);
        ASSERT_EQ(back, 0.0);
    }
}

// ---------------------------------------------------------------------------
// Apex rules

TEST(TriApex, EquilateralApexOnTheSideTheByteAsks) {
    // Vertex 3 above side 1 in the picture: side value < 0, byte 1 keeps it there.
    DTri t = MakeTri({0, 0, 0}, {0, 2, 0}, {0, 1, 5});
    t.Side3.v = 1;
    TriEquilateralApex(t);
    ExpectNear(V(t, 3), {0, 1, std::sqrt(3.0)});
    EXPECT_NEAR(Norm(V(t, 3) - Vec3{0, 1, 0}), std::sqrt(3.0), 1e-12);

    t = MakeTri({0, 0, 0}, {0, 2, 0}, {0, 1, 5});
    t.Side3.v = 0;
    TriEquilateralApex(t);
    ExpectNear(V(t, 3), {0, 1, -std::sqrt(3.0)});
}

TEST(TriApex, SideByteOneMirrorsAVertexOnThePositiveSide) {
    DTri t = MakeTri({0, 0, 0}, {0, 2, 0}, {0, 1, -5});
    t.Side3.v = 1;
    t.Height.v = 4;
    TriIsoscelesApex(t);
    ExpectNear(V(t, 3), {0, 1, 4});
    t = MakeTri({0, 0, 0}, {0, 2, 0}, {0, 1, -5});
    t.Side3.v = 0;
    t.Height.v = 4;
    TriIsoscelesApex(t);
    ExpectNear(V(t, 3), {0, 1, -4});
}

TEST(TriApex, RightApexRaisedAtVertexOneInTheTrianglesPlane) {
    // A triangle in space: the new vertex 3 stays in the plane of the old one.
    const Vec3 v1{10, 0, 0}, v2{0, 20, 5}, v3{5, 5, 30};
    DTri t = MakeTri(v1, v2, v3);
    t.Height.v = 12;
    t.Side3.v = SideOfLine(t.S[3].P1, t.S[1]) >= 0 ? 0 : 1;  // no mirror
    TriRightApex(t);
    const Vec3 n = Cross(v2 - v1, v3 - v1);
    EXPECT_NEAR(Dot(V(t, 3) - v1, n) / Norm(n), 0, 1e-9);
    EXPECT_NEAR(Dot(V(t, 3) - v1, v2 - v1), 0, 1e-9);
    EXPECT_NEAR(Norm(V(t, 3) - v1), 12, 1e-12);
    EXPECT_GT(Dot(V(t, 3) - v1, v3 - v1), 0);  // same side as before
}

TEST(TriApex, DegenerateSideOrCollinearVertexPutsTheApexOnTheBase) {
    DTri t = MakeTri({0, 0, 0}, {0, 10, 0}, {0, 30, 0});
    t.Height.v = 5;
    TriIsoscelesApex(t);
    ExpectNear(V(t, 3), {0, 5, 0});
    t = MakeTri({1, 2, 3}, {1, 2, 3}, {4, 4, 4});
    TriEquilateralApex(t);
    ExpectNear(V(t, 3), {1, 2, 3});
    t = MakeTri({1, 2, 3}, {1, 2, 3}, {1, 2, 3});
    t.Height.v = 7;
    TriRightApex(t);
    ExpectNear(V(t, 3), {1, 2, 3});
}

// ---------------------------------------------------------------------------
// Circles in the picture

TEST(TriCircles, CircumcircleAndIncircleOfARightTriangle) {
    DTri t = MakeTri({0, 0, 0}, {0, 100, 0}, {0, 0, 100});
    TriCircles(t);
    const DCircle& o = t.Circ[1];
    EXPECT_EQ(o.Center.ScrX.v, 50);
    EXPECT_EQ(o.Center.ScrY.v, 50);
    EXPECT_NEAR(o.A.v, 50 * std::sqrt(2.0), 1e-9);
    const DCircle& i = t.Circ[2];
    // Inradius (100 + 100 − 141.42)/2 = 29.29.
    EXPECT_EQ(i.Center.ScrX.v, 29);
    EXPECT_EQ(i.Center.ScrY.v, 29);
    EXPECT_EQ(i.A.v, 29);
    EXPECT_EQ(i.Center.X.v, 0);
    EXPECT_EQ(i.Center.Y.v, 29);
    EXPECT_EQ(i.Center.Z.v, 29);
}

TEST(TriCircles, CentresTakeTheDepthOfVertexOneAndProjectWhereTheyWerePlaced) {
    DTri t = MakeTri({8, 0, 0}, {8, 60, 0}, {8, 0, 80});
    TriCircles(t);
    for (std::size_t k = 1; k <= 2; ++k) {
        DPoint c = t.Circ[k].Center;
        EXPECT_EQ(c.X.v, 8);
        const double sx = c.ScrX.v, sy = c.ScrY.v;
        ProjectPoint(c);
        EXPECT_EQ(c.ScrX.v, sx);
        EXPECT_EQ(c.ScrY.v, sy);
    }
    EXPECT_EQ(t.Circ[2].A.v, 20);  // 3-4-5 triangle scaled by 20
}

TEST(TriCircles, DegenerateTrianglesGiveCirclesOfRadiusZeroAtVertexOne) {
    for (const auto& vs : {std::array<Vec3, 3>{{{0, 5, 5}, {0, 5, 5}, {0, 40, 9}}},
                           std::array<Vec3, 3>{{{0, 5, 5}, {0, 40, 9}, {0, 5, 5}}},
                           std::array<Vec3, 3>{{{0, 5, 5}, {0, 40, 9}, {0, 40, 9}}},
                           std::array<Vec3, 3>{{{0, 0, 0}, {0, 10, 10}, {0, 30, 30}}},
                           std::array<Vec3, 3>{{{0, 3, 3}, {0, 3, 3}, {0, 3, 3}}}}) {
        DTri t = MakeTri(vs[0], vs[1], vs[2]);
        TriCircles(t);
        const DCircle& i = t.Circ[2];
        EXPECT_EQ(i.A.v, 0);
        EXPECT_EQ(i.Center.ScrX.v, t.S[1].P1.ScrX.v);
        EXPECT_EQ(i.Center.ScrY.v, t.S[1].P1.ScrY.v);
        EXPECT_TRUE(std::isfinite(t.Circ[1].A.v));
    }
    DTri t = MakeTri({0, 0, 0}, {0, 10, 10}, {0, 30, 30});
    TriCircles(t);
    EXPECT_EQ(t.Circ[1].A.v, 0);  // collinear: no circumcircle either
}

// ---------------------------------------------------------------------------
// Bisectors, heights and medians

namespace {

// 3-4-5 triangle: right angle at vertex 1.
DTri Tri345() { return MakeTri({0, 0, 0}, {0, 30, 0}, {0, 0, 40}); }

void SetLine(DTri& t, std::size_t i, int vertex, int mode, int kind, double length = 0) {
    t.LineVertex[i].v = static_cast<std::uint8_t>(vertex);
    t.LineMode[i].v = static_cast<std::uint8_t>(mode);
    t.LineKind[i].v = static_cast<std::uint8_t>(kind);
    t.Lines[i].Length.v = length;
}

Vec3 End(const DTri& t, std::size_t i) { return Pos(t.Lines[i].P2); }

}  // namespace

TEST(TriSpecialLines, FeetOnTheOppositeSide) {
    DTri t = Tri345();
    SetLine(t, 1, 1, 1, 1);  // bisector from the right angle
    SetLine(t, 2, 1, 1, 2);  // height from vertex 1
    SetLine(t, 3, 1, 1, 3);  // median from vertex 1
    SetLine(t, 4, 2, 1, 2);  // height from vertex 2 falls on vertex 1
    SetLine(t, 5, 3, 1, 3);  // median from vertex 3 to the middle of side 1
    TriSpecialLines(t);
    for (std::size_t i = 1; i <= 3; ++i) ExpectNear(Pos(t.Lines[i].P1), {0, 0, 0});
    ExpectNear(End(t, 1), {0, 120.0 / 7, 120.0 / 7});
    ExpectNear(End(t, 2), {0, 19.2, 14.4});
    ExpectNear(End(t, 3), {0, 15, 20});
    ExpectNear(Pos(t.Lines[4].P1), {0, 30, 0});
    ExpectNear(End(t, 4), {0, 0, 0});
    ExpectNear(Pos(t.Lines[5].P1), {0, 0, 40});
    ExpectNear(End(t, 5), {0, 15, 0});
    EXPECT_EQ(t.Lines[3].P2.ScrX.v, 15);  // ends are projected
    EXPECT_EQ(t.Lines[3].P2.ScrY.v, 20);
}

TEST(TriSpecialLines, ToTheCentreEndsAtIncentreOrthocentreOrCentroid) {
    DTri t = Tri345();
    SetLine(t, 1, 1, 2, 1);
    SetLine(t, 2, 2, 2, 1);
    SetLine(t, 3, 3, 2, 3);
    SetLine(t, 4, 2, 2, 2);
    SetLine(t, 5, 1, 2, 3);
    TriSpecialLines(t);
    ExpectNear(End(t, 1), {0, 10, 10});
    ExpectNear(End(t, 2), {0, 10, 10});
    ExpectNear(End(t, 3), {0, 10, 40.0 / 3});
    ExpectNear(End(t, 4), {0, 0, 0});  // orthocentre of a right triangle
    ExpectNear(End(t, 5), {0, 10, 40.0 / 3});
}

TEST(TriSpecialLines, ByLengthRunsTowardsTheFoot) {
    DTri t = Tri345();
    SetLine(t, 1, 1, 3, 3, 10);
    SetLine(t, 2, 2, 3, 1, 5);
    TriSpecialLines(t);
    ExpectNear(End(t, 1), {0, 6, 8});
    EXPECT_NEAR(Norm(End(t, 2) - Pos(t.Lines[2].P1)), 5, 1e-12);
}

TEST(TriSpecialLines, ASideWithoutLengthGivesALineOfLengthZeroAtItsVertex) {
    // Vertices 1 and 2 coincide: bisector and height from vertex 1 have no foot.
    DTri t = MakeTri({0, 5, 5}, {0, 5, 5}, {0, 40, 9});
    SetLine(t, 1, 1, 1, 1);
    SetLine(t, 2, 1, 1, 2);
    SetLine(t, 3, 1, 2, 1);
    SetLine(t, 4, 1, 3, 2, 25);
    SetLine(t, 5, 3, 2, 2);  // height from vertex 3: its side 1 has no length
    TriSpecialLines(t);
    for (std::size_t i = 1; i <= 4; ++i) {
        ExpectNear(Pos(t.Lines[i].P1), {0, 5, 5});
        ExpectNear(End(t, i), {0, 5, 5});
    }
    ExpectNear(End(t, 5), Pos(t.Lines[5].P1));

    // All three on one place: every kind and mode stays finite.
    t = MakeTri({1, 1, 1}, {1, 1, 1}, {1, 1, 1});
    for (std::size_t i = 1; i <= 5; ++i) SetLine(t, i, static_cast<int>(i % 3 + 1), static_cast<int>(i % 3 + 1),
                                                static_cast<int>((i + 1) % 3 + 1), 3);
    TriSpecialLines(t);
    for (std::size_t i = 1; i <= 5; ++i) ExpectNear(End(t, i), {1, 1, 1});
}

TEST(TriSpecialLines, SettingsOutsideTheirRangeLeaveTheLineAlone) {
    DTri t = Tri345();
    SetLine(t, 1, 0, 1, 1);
    SetLine(t, 2, 1, 4, 1);
    SetLine(t, 3, 1, 1, 0);
    for (std::size_t i = 1; i <= 3; ++i) SetPos(t.Lines[i].P2, {7, 7, 7});
    TriSpecialLines(t);
    for (std::size_t i = 1; i <= 3; ++i) ExpectNear(End(t, i), {7, 7, 7});
}

// ---------------------------------------------------------------------------
// Turning a vertex to a typed angle

namespace {

Vec3 Turn(const DTri& t, int c) {
    double x = -1, y = -1, z = -1;
    RotateSideToAngle(t, DKv{}, 1, x, y, z, c);
    return {x, y, z};
}

Vec3 Turn(const DKv& k, int c) {
    double x = -1, y = -1, z = -1;
    RotateSideToAngle(DTri{}, k, 2, x, y, z, c);
    return {x, y, z};
}

}  // namespace

TEST(RotateSideToAngle, TriangleCasesTurnTheMovingVertexInThePlane) {
    DTri t = MakeTri({0, 0, 0}, {0, 100, 0}, {0, 0, 100});
    t.Ang[1].v = 60;
    ExpectNear(Turn(t, 1), {0, 50, 50 * std::sqrt(3.0)});
    t.Ang[2].v = 30;  // vertex 3 turns about vertex 2
    const Vec3 p2 = Turn(t, 2);
    EXPECT_NEAR(AngleAt({0, 100, 0}, {0, 0, 0}, p2), 30, 1e-9);
    EXPECT_NEAR(Norm(p2 - Vec3{0, 100, 0}), 100 * std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(p2.x, 0, 1e-12);
    t.Ang[3].v = 90;  // vertex 2 turns about vertex 3
    const Vec3 p3 = Turn(t, 3);
    EXPECT_NEAR(AngleAt({0, 0, 100}, {0, 0, 0}, p3), 90, 1e-9);
    EXPECT_NEAR(Norm(p3 - Vec3{0, 0, 100}), 100 * std::sqrt(2.0), 1e-9);

    // In space the vertex stays in the triangle's plane.
    const Vec3 a{10, 0, 3}, b{-5, 40, 8}, c{20, 10, 50};
    t = MakeTri(a, b, c);
    t.Ang[1].v = 75;
    const Vec3 p = Turn(t, 1);
    EXPECT_NEAR(AngleAt(a, b, p), 75, 1e-9);
    EXPECT_NEAR(Norm(p - a), Norm(c - a), 1e-9);
    const Vec3 n = Cross(b - a, c - a);
    EXPECT_NEAR(Dot(p - a, n) / Norm(n), 0, 1e-9);
}

TEST(RotateSideToAngle, TetragonCases) {
    const DKv k0 = MakeKv({0, 0, 0}, {0, 100, 0}, {0, 100, 100}, {0, 0, 100});
    DKv k = k0;
    k.Ang[1].v = 60;
    const Vec3 p4 = Turn(k, 1);
    EXPECT_NEAR(AngleAt({0, 0, 0}, {0, 100, 0}, p4), 60, 1e-9);
    EXPECT_NEAR(Norm(p4), 100, 1e-9);
    k.Ang[2].v = 120;
    const Vec3 p3 = Turn(k, 2);
    EXPECT_NEAR(AngleAt({0, 100, 0}, {0, 0, 0}, p3), 120, 1e-9);
    EXPECT_NEAR(Norm(p3 - Vec3{0, 100, 0}), 100, 1e-9);
    // No third angle case for a tetragon: the outputs are not touched.
    double x = 1, y = 2, z = 3;
    RotateSideToAngle(DTri{}, k, 2, x, y, z, 3);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 2);
    EXPECT_EQ(z, 3);
}

TEST(RotateSideToAngle, CoincidentVerticesLeaveThePointWhereItIs) {
    DTri t = MakeTri({0, 5, 5}, {0, 5, 5}, {0, 40, 9});
    t.Ang[1].v = 60;
    ExpectNear(Turn(t, 1), {0, 40, 9});
    t = MakeTri({0, 5, 5}, {0, 30, 9}, {0, 5, 5});
    t.Ang[1].v = 60;
    ExpectNear(Turn(t, 1), {0, 5, 5});
    t.Ang[3].v = 10;
    ExpectNear(Turn(t, 3), {0, 30, 9});
}

TEST(RotateSideToAngle, CollinearVerticesAreOpenedToTheTypedAngle) {
    // Straight angle in the picture plane: turned about the depth axis.
    DTri t = MakeTri({0, 0, 0}, {0, 100, 0}, {0, -50, 0});
    t.Ang[1].v = 60;
    Vec3 p = Turn(t, 1);
    EXPECT_NEAR(AngleAt({0, 0, 0}, {0, 100, 0}, p), 60, 1e-9);
    EXPECT_NEAR(Norm(p), 50, 1e-9);
    EXPECT_NEAR(p.x, 0, 1e-12);
    // Zero angle along the depth axis.
    t = MakeTri({0, 0, 0}, {100, 0, 0}, {30, 0, 0});
    t.Ang[1].v = 45;
    p = Turn(t, 1);
    EXPECT_NEAR(AngleAt({0, 0, 0}, {100, 0, 0}, p), 45, 1e-9);
    EXPECT_NEAR(Norm(p), 30, 1e-9);
    // Nearly collinear vertices, where the cosine may round past ±1.
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(-500, 500);
    for (int i = 0; i < 500; ++i) {
        const Vec3 a{u(rng), u(rng), u(rng)}, d{u(rng), u(rng), u(rng)};
        t = MakeTri(a, a + d, a + d * (u(rng) / 100) + Vec3{0, 0, 1e-13});
        t.Ang[1].v = 90;
        p = Turn(t, 1);
        ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
    }
}

// ---------------------------------------------------------------------------
// Radius segments of an ellipse

namespace {

DCircle Ellipse(double a, double b, double tilt) {
    DCircle c;
    c.A.v = a;
    c.B.v = b;
    c.Tilt.v = tilt;
    c.Center.ScrX.v = 10;
    c.Center.ScrY.v = 20;
    return c;
}

}  // namespace

TEST(PlaceEllipseRadius, EndLiesOnTheOutlineInTheSegmentsDirection) {
    DCircle c = Ellipse(50, 50, 0);
    c.R[1].Angle.v = 30;
    PlaceEllipseRadius(c, 1);
    EXPECT_EQ(c.R[1].P1.ScrX.v, 10);
    EXPECT_EQ(c.R[1].P1.ScrY.v, 20);
    EXPECT_NEAR(c.R[1].P2.ScrX.v, 10 + 50 * std::cos(30 / kDeg), 1e-9);
    EXPECT_NEAR(c.R[1].P2.ScrY.v, 20 + 50 * std::sin(30 / kDeg), 1e-9);

    // Ellipse 50 × 30: along axis b the distance is b.
    c = Ellipse(50, 30, 0);
    c.R[2].Angle.v = 90;
    PlaceEllipseRadius(c, 2);
    EXPECT_NEAR(c.R[2].P2.ScrX.v, 10, 1e-9);
    EXPECT_NEAR(c.R[2].P2.ScrY.v, 50, 1e-9);
    // At 45 degrees: r² = a²b²/(b²cos² + a²sin²).
    c.R[3].Angle.v = 45;
    PlaceEllipseRadius(c, 3);
    const double r = 50 * 30 / std::sqrt((30 * 30 + 50 * 50) / 2.0);
    EXPECT_NEAR(std::hypot(c.R[3].P2.ScrX.v - 10, c.R[3].P2.ScrY.v - 20), r, 1e-9);
}

TEST(PlaceEllipseRadius, TiltTurnsTheEndAboutTheCentre) {
    DCircle c = Ellipse(50, 30, 90);
    c.R[1].Angle.v = 90;  // along axis a, which now points up
    PlaceEllipseRadius(c, 1);
    EXPECT_NEAR(c.R[1].P2.ScrX.v, 10, 1e-9);
    EXPECT_NEAR(c.R[1].P2.ScrY.v, 70, 1e-9);
}

TEST(PlaceEllipseRadius, FlatEllipseGivesAFiniteEnd) {
    for (double b : {0.0, 1e-200}) {
        for (double ang : {0.0, 33.0, 90.0, -90.0, 270.0}) {
            DCircle c = Ellipse(50, b, 0);
            c.R[1].Angle.v = ang;
            PlaceEllipseRadius(c, 1);
            EXPECT_TRUE(std::isfinite(c.R[1].P2.ScrX.v) && std::isfinite(c.R[1].P2.ScrY.v));
        }
    }
    DCircle c = Ellipse(0, 0, 0);
    c.R[1].Angle.v = 10;
    PlaceEllipseRadius(c, 1);
    EXPECT_NEAR(c.R[1].P2.ScrX.v, 10, 1e-12);
    EXPECT_NEAR(c.R[1].P2.ScrY.v, 20, 1e-12);
}
