#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "model/geometry.h"

using namespace pelmar;

namespace {

DPoint At(double x, double y, double z) {
    DPoint p;
    p.X.v = x;
    p.Y.v = y;
    p.Z.v = z;
    ProjectPoint(p);
    return p;
}

DPoint Pic(double sx, double sy) {
    DPoint p;
    p.ScrX.v = sx;
    p.ScrY.v = sy;
    return p;
}

DLine PicLine(double x1, double y1, double x2, double y2) {
    DLine l;
    l.P1 = Pic(x1, y1);
    l.P2 = Pic(x2, y2);
    return l;
}

void ExpectVec(double x, double y, double z, Vec3 e, double tol = 1e-9) {
    EXPECT_NEAR(x, e.x, tol);
    EXPECT_NEAR(y, e.y, tol);
    EXPECT_NEAR(z, e.z, tol);
}

}  // namespace

TEST(Projection, DepthAxisRunsDownLeftAtHalfLength) {
    DPoint p = At(0, 100, 50);
    EXPECT_EQ(p.ScrX.v, 100);
    EXPECT_EQ(p.ScrY.v, 50);
    p = At(8, 0, 0);  // 8/sqrt8 = 2.83 rounds to 3
    EXPECT_EQ(p.ScrX.v, -3);
    EXPECT_EQ(p.ScrY.v, -3);
    EXPECT_EQ(p.X.v, 8);  // 3D fields stay
    EXPECT_NEAR(static_cast<double>(Sqrt8() * Sqrt8()), 8.0, 1e-15);

    Ext sx, sy;
    ProjectXYZ(sx, sy, 8, 1, 2);
    EXPECT_NEAR(static_cast<double>(sx), 1 - std::sqrt(8.0), 1e-12);  // not rounded
    EXPECT_NEAR(static_cast<double>(sy), 2 - std::sqrt(8.0), 1e-12);
}

TEST(Projection, HalvesRoundToEven) {
    EXPECT_EQ(At(0, 2.5, 3.5).ScrX.v, 2);
    EXPECT_EQ(At(0, 2.5, 3.5).ScrY.v, 4);
    EXPECT_EQ(At(0, -2.5, -0.5).ScrX.v, -2);
    EXPECT_EQ(At(0, -2.5, -0.5).ScrY.v, 0);
    EXPECT_EQ(Round3(0.0625), 0.062);
}

TEST(Tolerances, IsZeroIsStrictBelowOneHundredThousandth) {
    EXPECT_FALSE(IsZero(1e-5));
    EXPECT_TRUE(IsZero(-0.99999e-5));
    EXPECT_TRUE(NearlyEqual(1.0, 1.000001));
    EXPECT_FALSE(NearlyEqual(1.0, 1.0001));
}

TEST(SafeArcCos, ClampsIntoTheDomain) {
    EXPECT_EQ(SafeArcCos(1.5), 0.0);
    EXPECT_NEAR(SafeArcCos(-7), std::numbers::pi, 1e-15);
    EXPECT_NEAR(SafeArcCos(0), std::numbers::pi / 2, 1e-15);
    EXPECT_NEAR(SafeArcCos(std::numeric_limits<double>::quiet_NaN()), std::numbers::pi, 1e-15);
}

TEST(SolveQuadratic, CountsRealRoots) {
    Ext x1 = 9, x2 = 9;
    EXPECT_EQ(SolveQuadratic(x1, x2, 0, 0, 0), 5);
    EXPECT_EQ(x1, 0);
    EXPECT_EQ(SolveQuadratic(x1, x2, 0, 0, 3), 0);
    EXPECT_EQ(SolveQuadratic(x1, x2, 0, 2, -4), 1);
    EXPECT_EQ(x1, 2);
    EXPECT_EQ(SolveQuadratic(x1, x2, 1, 2, 1), 1);
    EXPECT_EQ(x1, -1);
    EXPECT_EQ(x2, 0);
    EXPECT_EQ(SolveQuadratic(x1, x2, 1, 0, -1), 2);
    EXPECT_EQ(x1, -1);
    EXPECT_EQ(x2, 1);
    EXPECT_EQ(SolveQuadratic(x1, x2, -1, 0, 1), 2);  // ordered by the formula, not by size
    EXPECT_EQ(x1, 1);
    EXPECT_EQ(x2, -1);
    EXPECT_EQ(SolveQuadratic(x1, x2, 1, 0, 1), 0);
    EXPECT_EQ(x1, 0);
    EXPECT_EQ(x2, 0);
}

TEST(SolveCramer2, SolvesOnlyWithAPositiveDeterminant) {
    std::array<double, 2> r{7, 7};
    SolveCramer2({0, 1, 5, 1, 0, 6}, r);  // det = -1: left at (0, 0)
    EXPECT_EQ(r[0], 0);
    EXPECT_EQ(r[1], 0);
    SolveCramer2({1, 0, 5, 0, 1, 6}, r);
    EXPECT_EQ(r[0], 5);
    EXPECT_EQ(r[1], 6);
    SolveCramer2({2, 1, 5, 1, 3, 10}, r);  // det 5: x = 1, y = 3
    EXPECT_NEAR(r[0], 1, 1e-12);
    EXPECT_NEAR(r[1], 3, 1e-12);
    SolveCramer2({1, 1, 1, 1, 1, 1}, r);
    EXPECT_EQ(r[0], 0);
}

TEST(SolveLinear2, EliminatesWithRowSwapAndRejectsSingular) {
    std::array<double, 2> r{7, 8};
    EXPECT_FALSE(SolveLinear2({1, 2, 3, 2, 4, 6}, r));
    EXPECT_EQ(r[0], 7);  // untouched
    EXPECT_EQ(r[1], 8);
    EXPECT_TRUE(SolveLinear2({0, 2, 4, 3, 1, 5}, r));  // a1 = 0: rows swapped
    EXPECT_NEAR(r[0], 1, 1e-12);
    EXPECT_NEAR(r[1], 2, 1e-12);
    EXPECT_TRUE(SolveLinear2({0, 1, 5, 1, 0, 6}, r));  // negative determinant is fine here
    EXPECT_NEAR(r[0], 6, 1e-12);
    EXPECT_NEAR(r[1], 5, 1e-12);
}

TEST(SolveLinear3, PartialPivotingKeepsTheUpperRowOnTies) {
    // Column 1 ties between rows 1 and 2, column 2 between the remaining rows.
    // Taking the upper rows leaves a last pivot of 1.2e-5; the lower rows
    // would leave 0.8e-5, which counts as zero.
    const Ext d = 1.2e-5L;
    std::array<std::array<Ext, 4>, 3> m{{{1, 0, 0, 1}, {1, 1, 0, 3}, {0.5L, -1, d, 0.5L - 2 + d}}};
    std::array<Ext, 3> x{};
    ASSERT_TRUE(SolveLinear3(m, x));
    EXPECT_NEAR(static_cast<double>(x[0]), 1, 1e-9);
    EXPECT_NEAR(static_cast<double>(x[1]), 2, 1e-9);
    EXPECT_NEAR(static_cast<double>(x[2]), 1, 1e-6);
}

TEST(SolveLinear3, GeneralSystemAndToleratedZeroPivot) {
    std::array<std::array<Ext, 4>, 3> m{{{2, 1, -1, 8}, {-3, -1, 2, -11}, {-2, 1, 2, -3}}};
    std::array<Ext, 3> x{};
    ASSERT_TRUE(SolveLinear3(m, x));
    EXPECT_NEAR(static_cast<double>(x[0]), 2, 1e-12);
    EXPECT_NEAR(static_cast<double>(x[1]), 3, 1e-12);
    EXPECT_NEAR(static_cast<double>(x[2]), -1, 1e-12);

    std::array<std::array<Ext, 4>, 3> tiny{{{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 5e-6L, 1}}};
    x = {9, 9, 9};
    EXPECT_FALSE(SolveLinear3(tiny, x));
    EXPECT_EQ(x[0], 0);
    EXPECT_EQ(x[2], 0);

    std::array<std::array<Ext, 6>, 5> m5{};
    for (int i = 0; i < 5; ++i) {
        m5[i][i] = i == 4 ? 5e-6L : 1;
        m5[i][5] = 1;
    }
    std::array<Ext, 5> x5{};
    ASSERT_TRUE(SolveLinear5(m5, x5));  // only an exact 0 stops the five-unknown solver
    EXPECT_NEAR(static_cast<double>(x5[4]), 200000, 1e-6);
    m5[4][4] = 0;
    EXPECT_FALSE(SolveLinear5(m5, x5));
}

TEST(SolveLinear5, FitsAConic) {
    // x^2 + B xy + C y^2 + D x + E y + F = 0 through five points of x^2 + 4y^2 = 4.
    const double pts[5][2] = {{2, 0}, {-2, 0}, {0, 1}, {0, -1}, {std::sqrt(2.0), std::sqrt(0.5)}};
    std::array<std::array<Ext, 6>, 5> m{};
    for (int i = 0; i < 5; ++i) {
        const Ext x = pts[i][0], y = pts[i][1];
        m[i] = {x * y, y * y, x, y, 1, -x * x};
    }
    std::array<Ext, 5> s{};
    ASSERT_TRUE(SolveLinear5(m, s));
    EXPECT_NEAR(static_cast<double>(s[0]), 0, 1e-12);
    EXPECT_NEAR(static_cast<double>(s[1]), 4, 1e-12);
    EXPECT_NEAR(static_cast<double>(s[4]), -4, 1e-12);
}

TEST(SmallHelpers, Det3SwapAndPointAtDistance) {
    EXPECT_DOUBLE_EQ(Det3(2, 0, 0, 0, 3, 0, 0, 0, 4), 24);
    EXPECT_DOUBLE_EQ(Det3(1, 2, 3, 4, 5, 6, 7, 8, 10), -3);
    Ext a = 1, b = 2;
    SwapExt(a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);

    double x, y, z;
    PointAtDistance(x, y, z, {1, 1, 1}, {1, 1, 1}, 5);  // no direction: P itself
    ExpectVec(x, y, z, {1, 1, 1});
    PointAtDistance(x, y, z, {0, 0, 0}, {0, 3, 4}, 10);
    ExpectVec(x, y, z, {0, 6, 8});
}

TEST(SideOfLine, SignTellsTheSides) {
    EXPECT_EQ(SideOfLineXY(0, 5, 0, 0, 10, 0), -50);  // left of a line running right
    EXPECT_EQ(SideOfLineXY(0, -5, 0, 0, 10, 0), 50);
    EXPECT_EQ(SideOfLineXY(0, 5, 10, 0, 0, 0), 50);   // reversing the line flips the sign
    EXPECT_EQ(SideOfLineXY(20, 0, 0, 0, 10, 0), 0);
    EXPECT_EQ(SideOfLine(Pic(3, 4), PicLine(0, 0, 10, 0)), SideOfLineXY(3, 4, 0, 0, 10, 0));
}

TEST(DistPointLine, PictureDistanceAndCoincidentEnds) {
    EXPECT_DOUBLE_EQ(DistPointLine(Pic(5, 7), PicLine(0, 0, 10, 0)), 7);
    EXPECT_NEAR(DistPointLine(Pic(0, 10), PicLine(0, 0, 10, 10)), std::sqrt(50.0), 1e-12);
    // Ends at one picture position: the distance to that position, never NaN.
    const double d = DistPointLine(Pic(4, 8), PicLine(1, 4, 1, 4));
    EXPECT_DOUBLE_EQ(d, 5);
    EXPECT_EQ(DistPointLine(Pic(1, 4), PicLine(1, 4, 1, 4)), 0);
}

TEST(Planes, ThroughThreePointsAndDistances) {
    double a, b, c, d;
    PlaneBy3Points({0, 0, 5}, {1, 0, 5}, {0, 1, 5}, a, b, c, d);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(c, 1);
    EXPECT_EQ(d, -5);
    EXPECT_EQ(PlaneValue({3, 4, 7}, a, b, c, d), 2);
    PlaneBy3Points({0, 0, 0}, {1, 1, 1}, {2, 2, 2}, a, b, c, d);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(c, 0);

    EXPECT_NEAR(DistPointPlane(At(3, 4, -2), At(0, 0, 5), At(1, 0, 5), At(0, 1, 5)), 7, 1e-12);
    EXPECT_EQ(DistPointPlane(At(3, 4, -2), At(0, 0, 0), At(1, 1, 1), At(2, 2, 2)), 0);
}

TEST(InsideHexahedron, FacesCountAsInside) {
    const std::array<Vec3, 8> cube{{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                    {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}};
    EXPECT_TRUE(InsideHexahedron(cube, {0.5, 0.5, 0.5}));
    EXPECT_TRUE(InsideHexahedron(cube, {1, 0.5, 0.5}));   // on a face
    EXPECT_TRUE(InsideHexahedron(cube, {0, 0, 0}));       // a corner
    EXPECT_TRUE(InsideHexahedron(cube, {1.000001, 0.5, 0.5}));  // within the tolerance
    EXPECT_FALSE(InsideHexahedron(cube, {1.01, 0.5, 0.5}));
    EXPECT_FALSE(InsideHexahedron(cube, {0.5, -0.01, 0.5}));
    EXPECT_FALSE(InsideHexahedron(cube, {0.5, 0.5, 1.5}));
}

TEST(ReflectPointInLine, MirrorsIn3D) {
    DLine l;
    l.P1 = At(0, 0, 0);
    l.P2 = At(5, 0, 0);
    DPoint r;
    ReflectPointInLine(At(2, 1, 3), l, r);
    ExpectVec(r.X.v, r.Y.v, r.Z.v, {2, -1, -3});
    l.P1 = At(0, 0, 0);
    l.P2 = At(0, 4, 4);
    ReflectPointInLine(At(0, 2, 0), l, r);
    ExpectVec(r.X.v, r.Y.v, r.Z.v, {0, 0, 2});
}

TEST(IntersectLines2D, CrossesAndFallsBackToTheFirstPoint) {
    double x = -1, y = -1;
    EXPECT_TRUE(IntersectLines2D(x, y, 0, 0, 1, 1, 10, 0, -1, 1));
    EXPECT_NEAR(x, 5, 1e-12);
    EXPECT_NEAR(y, 5, 1e-12);
    x = std::numeric_limits<double>::quiet_NaN();
    y = x;
    EXPECT_FALSE(IntersectLines2D(x, y, 3, 4, 1, 2, 10, 0, 2, 4));  // parallel
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 4);
    EXPECT_FALSE(IntersectLines2D(x, y, 3, 4, 0, 0, 10, 0, 2, 4));  // no direction
    EXPECT_EQ(x, 3);
}

TEST(IntersectLines3D, MeetingPointsAndFallbacks) {
    double x = 0, y = 0, z = 0;
    EXPECT_TRUE(IntersectLines3D(x, y, z, {0, 0, 0}, {1, 0, 0}, {5, -3, 0}, {0, 1, 0}));
    ExpectVec(x, y, z, {5, 0, 0});
    EXPECT_TRUE(IntersectLines3D(x, y, z, {0, 0, 0}, {1, 0, 1}, {4, 7, 0}, {0, 0, 1}));  // xz pair
    ExpectVec(x, y, z, {4, 0, 4});
    EXPECT_TRUE(IntersectLines3D(x, y, z, {0, 0, 0}, {0, 1, 0}, {0, 5, -3}, {0, 0, 1}));  // yz pair
    ExpectVec(x, y, z, {0, 5, 0});

    // Both along Z, both along X, a zero direction: the midpoint of the base points.
    EXPECT_TRUE(IntersectLines3D(x, y, z, {0, 0, 0}, {0, 0, 1}, {2, 4, 6}, {0, 0, -3}));
    ExpectVec(x, y, z, {1, 2, 3});
    EXPECT_TRUE(IntersectLines3D(x, y, z, {0, 0, 0}, {2, 0, 0}, {2, 4, 6}, {1, 0, 0}));
    ExpectVec(x, y, z, {1, 2, 3});
    EXPECT_TRUE(IntersectLines3D(x, y, z, {0, 0, 0}, {0, 0, 0}, {2, 4, 6}, {1, 1, 0}));
    ExpectVec(x, y, z, {1, 2, 3});

    // Parallel lines off the axes: the caller's fallback stays.
    x = 11, y = 12, z = 13;
    EXPECT_FALSE(IntersectLines3D(x, y, z, {0, 0, 0}, {1, 1, 1}, {0, 5, 0}, {2, 2, 2}));
    ExpectVec(x, y, z, {11, 12, 13}, 0);
}

TEST(UnprojectToPlane, LiftsAPictureSpotOntoThePlane) {
    double x, y, z;
    UnprojectToPlane(x, y, z, {0, 0, 0}, {0, 1, 0}, {0, 0, 1}, 30, 40);  // the plane X = 0
    ExpectVec(x, y, z, {0, 30, 40});
    UnprojectToPlane(x, y, z, {10, 0, 0}, {0, 1, 0}, {10, 0, 1}, 30, 40);  // X = 10
    DPoint p = At(x, y, z);
    EXPECT_NEAR(x, 10, 1e-9);
    EXPECT_EQ(p.ScrX.v, 30);
    EXPECT_EQ(p.ScrY.v, 40);
    UnprojectToPlane(x, y, z, {1, 2, 3}, {0, 0, 0}, {0, 0, 1}, 30, 40);  // no plane: P1
    ExpectVec(x, y, z, {1, 2, 3});
}

TEST(IntersectLinePlane, EachDirectionCase) {
    double x, y, z;
    // Plane z = 2 (0, 0, 1, -2).
    EXPECT_TRUE(IntersectLinePlane(x, y, z, {1, 1, 0}, {1, 0, 1}, 0, 0, 1, -2));
    ExpectVec(x, y, z, {3, 1, 2});
    EXPECT_TRUE(IntersectLinePlane(x, y, z, {1, 1, 0}, {0, 1, 1}, 0, 0, 1, -2));
    ExpectVec(x, y, z, {1, 3, 2});
    EXPECT_TRUE(IntersectLinePlane(x, y, z, {1, 1, 0}, {0, 0, 4}, 0, 0, 1, -2));
    ExpectVec(x, y, z, {1, 1, 2});
    EXPECT_FALSE(IntersectLinePlane(x, y, z, {1, 1, 0}, {0, 0, 0}, 0, 0, 1, -2));
    ExpectVec(x, y, z, {1, 1, 0});
    // A line parallel to the plane has no meeting point.
    EXPECT_FALSE(IntersectLinePlane(x, y, z, {1, 1, 0}, {1, 0, 0}, 0, 0, 1, -2));
}

TEST(IntersectPlanes, CommonLineAndParallelPlanes) {
    double x = 9, y = 9, z = 9, dx = 9, dy = 9, dz = 9;
    EXPECT_FALSE(IntersectPlanes(x, y, z, dx, dy, dz, 0, 0, 1, -1, 0, 0, 2, -6));
    for (double v : {x, y, z, dx, dy, dz}) EXPECT_EQ(v, 0);

    // z = 3 and y = 2: direction along X, x set to 0.
    EXPECT_TRUE(IntersectPlanes(x, y, z, dx, dy, dz, 0, 0, 1, -3, 0, 1, 0, -2));
    ExpectVec(x, y, z, {0, 2, 3});
    ExpectVec(dx, dy, dz, {-1, 0, 0});
    // x = 1 and z = 3: y set to 0.
    EXPECT_TRUE(IntersectPlanes(x, y, z, dx, dy, dz, 1, 0, 0, -1, 0, 0, 1, -3));
    ExpectVec(x, y, z, {1, 0, 3});
    // x = 1 and y = 2: z set to 0.
    EXPECT_TRUE(IntersectPlanes(x, y, z, dx, dy, dz, 1, 0, 0, -1, 0, 1, 0, -2));
    ExpectVec(x, y, z, {1, 2, 0});
    // A general pair: the point lies on both planes.
    EXPECT_TRUE(IntersectPlanes(x, y, z, dx, dy, dz, 1, 2, 3, -4, -2, 1, 1, 5));
    EXPECT_NEAR(x + 2 * y + 3 * z - 4, 0, 1e-12);
    EXPECT_NEAR(-2 * x + y + z + 5, 0, 1e-12);
}

TEST(IntersectLineSphere, SecantTangentAndMiss) {
    double x1, y1, z1, x2, y2, z2;
    EXPECT_TRUE(IntersectLineSphere(x1, y1, z1, x2, y2, z2, {-10, 0, 0}, {1, 0, 0}, {0, 0, 0}, 5));
    ExpectVec(x1, y1, z1, {-5, 0, 0});
    ExpectVec(x2, y2, z2, {5, 0, 0});
    // A tangent line touches once; both outputs are the touching point.
    EXPECT_TRUE(IntersectLineSphere(x1, y1, z1, x2, y2, z2, {-10, 5, 0}, {1, 0, 0}, {0, 0, 0}, 5));
    ExpectVec(x1, y1, z1, {0, 5, 0});
    ExpectVec(x2, y2, z2, {0, 5, 0});
    EXPECT_FALSE(IntersectLineSphere(x1, y1, z1, x2, y2, z2, {-10, 6, 0}, {1, 0, 0}, {0, 0, 0}, 5));
    for (double v : {x1, y1, z1, x2, y2, z2}) EXPECT_EQ(v, 0);
    EXPECT_FALSE(IntersectLineSphere(x1, y1, z1, x2, y2, z2, {-10, 0, 0}, {0, 0, 0}, {0, 0, 0}, 5));
}

namespace {

DLine Side(const DPoint& a, const DPoint& b) {
    DLine l;
    l.P1 = a;
    l.P2 = b;
    return l;
}

// A face in the plane X = depth covering picture x, y in roughly [0, 100].
DTri TriFace(double depth) {
    const double k = depth / std::sqrt(8.0);
    const DPoint v1 = At(depth, k, k), v2 = At(depth, 100 + k, k), v3 = At(depth, k, 100 + k);
    DTri t;
    t.S[1] = Side(v1, v2);
    t.S[2] = Side(v2, v3);
    t.S[3] = Side(v3, v1);
    return t;
}

DKv KvFace(double depth) {
    const double k = depth / std::sqrt(8.0);
    const DPoint v1 = At(depth, k, k), v2 = At(depth, 100 + k, k), v3 = At(depth, 100 + k, 100 + k),
                 v4 = At(depth, k, 100 + k);
    DKv q;
    q.S[1] = Side(v1, v2);
    q.S[2] = Side(v2, v3);
    q.S[3] = Side(v3, v4);
    q.S[4] = Side(v4, v1);
    return q;
}

// A 3D point at the given depth seen at picture (sx, sy).
Vec3 Seen(double depth, double sx, double sy) {
    const double k = depth / std::sqrt(8.0);
    return {depth, sx + k, sy + k};
}

}  // namespace

TEST(PointBehindFace, NearerFaceOverTheSamePictureSpotHides) {
    const DTri t = TriFace(50);
    EXPECT_TRUE(PointBehindTriangle(t, Seen(0, 20, 20)));
    EXPECT_FALSE(PointBehindTriangle(t, Seen(80, 20, 20)));   // in front of the face
    EXPECT_FALSE(PointBehindTriangle(t, Seen(0, 80, 80)));    // outside the outline
    EXPECT_FALSE(PointBehindTriangle(t, Seen(51, 20, 20)));   // just in front
    EXPECT_TRUE(PointBehindTriangle(t, Seen(-5990, 20, 20)));

    const DKv k = KvFace(50);
    EXPECT_TRUE(PointBehindTetragon(k, Seen(0, 80, 80)));
    EXPECT_TRUE(PointBehindTetragon(k, Seen(0, 100, 50)));    // on the outline's edge
    EXPECT_FALSE(PointBehindTetragon(k, Seen(60, 80, 80)));
    EXPECT_FALSE(PointBehindTetragon(k, Seen(0, 101, 50)));
}
