#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/geometry.h"
#include "polyhedron_make.h"

using namespace pelmar;

namespace {

DPoint Pic(double x, double y) {
    DPoint p;
    p.ScrX.v = x;
    p.ScrY.v = y;
    return p;
}

DLine Seg(const DPoint& a, const DPoint& b) {
    DLine l;
    l.P1 = a;
    l.P2 = b;
    return l;
}

DTri Tri(double x1, double y1, double x2, double y2, double x3, double y3) {
    DTri t;
    t.S[1] = Seg(Pic(x1, y1), Pic(x2, y2));
    t.S[2] = Seg(Pic(x2, y2), Pic(x3, y3));
    t.S[3] = Seg(Pic(x3, y3), Pic(x1, y1));
    return t;
}

DKv Quad(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4) {
    DKv k;
    k.S[1] = Seg(Pic(x1, y1), Pic(x2, y2));
    k.S[2] = Seg(Pic(x2, y2), Pic(x3, y3));
    k.S[3] = Seg(Pic(x3, y3), Pic(x4, y4));
    k.S[4] = Seg(Pic(x4, y4), Pic(x1, y1));
    return k;
}

}  // namespace

TEST(PtInEllipse, BoundaryInsideAndTilt) {
    EXPECT_TRUE(PtInEllipse(10, 0, 0, 0, 10, 5, 1, 0));  // on the outline
    EXPECT_TRUE(PtInEllipse(0, 5, 0, 0, 10, 5, 1, 0));
    EXPECT_FALSE(PtInEllipse(0, 6, 0, 0, 10, 5, 1, 0));
    EXPECT_FALSE(PtInEllipse(11, 0, 0, 0, 10, 5, 1, 0));
    EXPECT_TRUE(PtInEllipse(103, 204, 100, 200, 10, 5, 1, 0));  // off-centre

    // Turned by 90 degrees the long axis runs along y.
    const double c = std::cos(std::numbers::pi / 2), s = std::sin(std::numbers::pi / 2);
    EXPECT_TRUE(PtInEllipse(0, 9, 0, 0, 10, 5, c, s));
    EXPECT_FALSE(PtInEllipse(9, 0, 0, 0, 10, 5, c, s));

    // A degenerate ellipse contains nothing, not even its centre.
    EXPECT_FALSE(PtInEllipse(0, 0, 0, 0, 0, 5, 1, 0));
    EXPECT_FALSE(PtInEllipse(0, 0, 0, 0, 10, 0.000009, 1, 0));
}

TEST(PtInTriangle, EdgesAndCornersCountAsInsideInEitherOrientation) {
    EXPECT_TRUE(PtInTriangle(2, 2, 0, 0, 10, 0, 0, 10));
    EXPECT_TRUE(PtInTriangle(2, 2, 0, 0, 0, 10, 10, 0));  // clockwise corners
    EXPECT_TRUE(PtInTriangle(5, 0, 0, 0, 10, 0, 0, 10));  // on an edge
    EXPECT_TRUE(PtInTriangle(5, 5, 0, 0, 10, 0, 0, 10));  // on the slanted edge
    EXPECT_TRUE(PtInTriangle(10, 0, 0, 0, 10, 0, 0, 10)); // a corner
    EXPECT_FALSE(PtInTriangle(6, 5, 0, 0, 10, 0, 0, 10));
    EXPECT_FALSE(PtInTriangle(-1, 2, 0, 0, 10, 0, 0, 10));
    EXPECT_FALSE(PtInTriangle(11, 0, 0, 0, 10, 0, 0, 10)); // on the edge's extension
}

TEST(PtInQuad, ConvexQuadrilateral) {
    EXPECT_TRUE(PtInQuad(5, 5, 0, 0, 10, 0, 10, 10, 0, 10));
    EXPECT_TRUE(PtInQuad(10, 5, 0, 0, 10, 0, 10, 10, 0, 10));  // on an edge
    EXPECT_TRUE(PtInQuad(5, 5, 0, 10, 10, 10, 10, 0, 0, 0));   // clockwise
    EXPECT_FALSE(PtInQuad(11, 5, 0, 0, 10, 0, 10, 10, 0, 10));
    EXPECT_FALSE(PtInQuad(5, -1, 0, 0, 10, 0, 10, 10, 0, 10));
    // A trapezium: the slanted side cuts the corner.
    EXPECT_TRUE(PtInQuad(7, 9, 0, 0, 10, 0, 8, 10, 2, 10));
    EXPECT_FALSE(PtInQuad(9, 9, 0, 0, 10, 0, 8, 10, 2, 10));
}

TEST(PtInRecords, TrianglesAndTetragonsUseTheirSides) {
    const DTri t = Tri(0, 0, 10, 0, 0, 10);
    for (int x = -2; x <= 12; ++x)
        for (int y = -2; y <= 12; ++y) EXPECT_EQ(PtInTriRec(x, y, t), PtInTriangle(x, y, 0, 0, 10, 0, 0, 10));

    const DKv k = Quad(0, 0, 10, 0, 8, 10, 2, 10);
    for (int x = -2; x <= 12; ++x)
        for (int y = -2; y <= 12; ++y)
            EXPECT_EQ(PtInKvRec(x, y, k), PtInQuad(x, y, 0, 0, 10, 0, 8, 10, 2, 10));
    EXPECT_TRUE(PtInKvRec(5, 10, k));
    EXPECT_FALSE(PtInKvRec(9, 9, k));

    // A collapsed triangle (all corners at one spot) holds only that spot.
    const DTri dot = Tri(3, 3, 3, 3, 3, 3);
    EXPECT_TRUE(PtInTriRec(3, 3, dot));
}

namespace {

DTri TriAt(std::array<Vec3, 3> v) {
    DTri t;
    test::SetVertices(t, v);
    return t;
}

DKv KvAt(std::array<Vec3, 4> v) {
    DKv k;
    test::SetVertices(k, v);
    return k;
}

// An outline whose corners lie on one line has no inside: it holds only the
// points of its edges.
TEST(PtInFlat, FlatOutlineHoldsOnlyItsEdges) {
    EXPECT_TRUE(PtInTriangle(5, 5, 0, 0, 10, 10, 20, 20));
    EXPECT_TRUE(PtInTriangle(20, 20, 0, 0, 10, 10, 20, 20));
    EXPECT_FALSE(PtInTriangle(21, 21, 0, 0, 10, 10, 20, 20));
    EXPECT_FALSE(PtInTriangle(5, 6, 0, 0, 10, 10, 20, 20));
    EXPECT_FALSE(PtInTriangle(100, -40, 0, 0, 10, 10, 20, 20));
    // All three corners on one pixel.
    EXPECT_TRUE(PtInTriangle(3, 4, 3, 4, 3, 4, 3, 4));
    EXPECT_FALSE(PtInTriangle(3, 5, 3, 4, 3, 4, 3, 4));

    EXPECT_TRUE(PtInQuad(15, 0, 0, 0, 10, 0, 30, 0, 20, 0));
    EXPECT_FALSE(PtInQuad(15, 1, 0, 0, 10, 0, 30, 0, 20, 0));
    EXPECT_FALSE(PtInQuad(-1, 0, 0, 0, 10, 0, 30, 0, 20, 0));
    // A quadrilateral folded onto one segment.
    EXPECT_TRUE(PtInQuad(4, 8, 0, 0, 5, 10, 0, 0, 5, 10));
    EXPECT_FALSE(PtInQuad(4, 7, 0, 0, 5, 10, 0, 0, 5, 10));
}

TEST(PtInFlat, RecordOutlines) {
    const DTri t = TriAt({{{0, 0, 0}, {0, 40, 0}, {0, 0, 40}}});
    EXPECT_TRUE(PtInTriRec(10, 10, t));
    EXPECT_TRUE(PtInTriRec(0, 40, t));
    EXPECT_FALSE(PtInTriRec(30, 30, t));

    // A triangle seen edge-on: its picture is the segment (0, 0)-(40, 0).
    const DTri flat = TriAt({{{0, 0, 0}, {0, 40, 0}, {0, 20, 0}}});
    EXPECT_TRUE(PtInTriRec(25, 0, flat));
    EXPECT_FALSE(PtInTriRec(25, 1, flat));
    EXPECT_FALSE(PtInTriRec(-300, 200, flat));

    const DKv k = KvAt({{{0, 0, 0}, {0, 40, 0}, {0, 40, 40}, {0, 0, 40}}});
    EXPECT_TRUE(PtInKvRec(40, 40, k));
    EXPECT_FALSE(PtInKvRec(41, 40, k));

    // A vertical face seen along its plane: picture x fixed.
    const DKv edgeOn = KvAt({{{0, 10, 0}, {0, 10, 30}, {0, 10, 50}, {0, 10, 5}}});
    EXPECT_TRUE(PtInKvRec(10, 45, edgeOn));
    EXPECT_FALSE(PtInKvRec(11, 45, edgeOn));
    EXPECT_FALSE(PtInKvRec(10, 51, edgeOn));
}

// A face seen edge-on hides nothing behind it.
TEST(PtInFlat, EdgeOnFaceHidesNothing) {
    const double k = static_cast<double>(1 / Sqrt8());
    // A vertical triangle containing the viewing direction (1, k, k) projects
    // onto a segment of the picture.
    const Vec3 a{0, 0, 0}, b{10, 10 * k, 10 * k}, c{0, 0, 30};
    DTri t = TriAt({{a, b, c}});
    EXPECT_FALSE(PointBehindTriangle(t, {-50, 10, 5}));
    EXPECT_FALSE(PointBehindTriangle(t, {-50, 0, -5}));
}

}  // namespace
