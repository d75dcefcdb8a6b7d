// Point-in-figure tests on picture pixels, flat outlines included.
#include <gtest/gtest.h>

#include <array>

#include "model/geometry.h"
#include "polyhedron_make.h"

using namespace pelmar;

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

TEST(PtIn, TriangleBoundaryCountsAsInside) {
    EXPECT_TRUE(PtInTriangle(5, 5, 0, 0, 20, 0, 0, 20));
    EXPECT_TRUE(PtInTriangle(10, 10, 0, 0, 20, 0, 0, 20));
    EXPECT_TRUE(PtInTriangle(0, 0, 0, 0, 20, 0, 0, 20));
    EXPECT_FALSE(PtInTriangle(11, 10, 0, 0, 20, 0, 0, 20));
    EXPECT_FALSE(PtInTriangle(-1, 5, 0, 0, 20, 0, 0, 20));
    EXPECT_TRUE(PtInQuad(20, 20, 0, 0, 20, 0, 20, 20, 0, 20));
    EXPECT_FALSE(PtInQuad(21, 5, 0, 0, 20, 0, 20, 20, 0, 20));
}

// An outline whose corners lie on one line has no inside: it holds only the
// points of its edges.
TEST(PtIn, FlatOutlineHoldsOnlyItsEdges) {
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

TEST(PtIn, RecordOutlines) {
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
TEST(PtIn, EdgeOnFaceHidesNothing) {
    const double k = static_cast<double>(1 / Sqrt8());
    // A vertical triangle containing the viewing direction (1, k, k) projects
    // onto a segment of the picture.
    const Vec3 a{0, 0, 0}, b{10, 10 * k, 10 * k}, c{0, 0, 30};
    DTri t = TriAt({{a, b, c}});
    EXPECT_FALSE(PointBehindTriangle(t, {-50, 10, 5}));
    EXPECT_FALSE(PointBehindTriangle(t, {-50, 0, -5}));
}

}  // namespace
