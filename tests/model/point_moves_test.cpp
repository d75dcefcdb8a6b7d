#include <gtest/gtest.h>

#include <cmath>

#include "model/geometry.h"

using namespace pelmar;

TEST(RotateAroundAxis, NormalisesTheAxisAndDoesNotRound) {
    double x = 0, y = 0, z = 0;
    RotateAroundAxis(x, y, z, 1, 0, 0, 90, 0, 0, 2);
    EXPECT_NEAR(x, 1, 1e-15);
    EXPECT_NEAR(y, -1, 1e-15);
    EXPECT_NEAR(z, 0, 1e-15);

    // Right-handed about X: Y goes to Z.
    x = 0, y = 1, z = 0;
    RotateAroundAxis(x, y, z, 0, 0, 0, 90, 3, 0, 0);
    EXPECT_NEAR(y, 0, 1e-15);
    EXPECT_NEAR(z, 1, 1e-15);

    // Turning about an arbitrary axis keeps the distance from the axis point.
    x = 3, y = -2, z = 7;
    RotateAroundAxis(x, y, z, 1, 1, 1, 37.5, 1, 2, 3);
    EXPECT_NEAR((x - 1) * (x - 1) + (y - 1) * (y - 1) + (z - 1) * (z - 1), 4 + 9 + 36, 1e-9);
    RotateAroundAxis(x, y, z, 1, 1, 1, -37.5, 1, 2, 3);
    EXPECT_NEAR(x, 3, 1e-12);
    EXPECT_NEAR(y, -2, 1e-12);
    EXPECT_NEAR(z, 7, 1e-12);
}

TEST(RotateAroundAxis, ZeroAxisScalesTheOffsetByTheCosine) {
    double x = 2, y = 0, z = 0;
    RotateAroundAxis(x, y, z, 0, 0, 0, 60, 0, 0, 0);
    EXPECT_NEAR(x, 1, 1e-15);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(z, 0);
}

TEST(ReflectInPlane, MirrorsAndLeavesPointsForAZeroNormal) {
    double x = 1, y = 2, z = 3;
    ReflectInPlane(x, y, z, 0, 0, 0, 5);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 2);
    EXPECT_EQ(z, 3);
    ReflectInPlane(x, y, z, 0, 0, 1, -1);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 2);
    EXPECT_EQ(z, -1);
    // Plane x + y = 0 with an unnormalised normal.
    x = 3, y = 1, z = 5;
    ReflectInPlane(x, y, z, 2, 2, 0, 0);
    EXPECT_NEAR(x, -1, 1e-15);
    EXPECT_NEAR(y, -3, 1e-15);
    EXPECT_EQ(z, 5);
}

TEST(PlaneRotatePoint, TurnsPicturePairAndYZButNotDepth) {
    DPoint p;
    p.ScrX.v = 20;
    p.ScrY.v = 10;
    p.X.v = 7;
    p.Y.v = 20;
    p.Z.v = 10;
    PlaneRotatePoint(p, 10, 10, 90);
    EXPECT_NEAR(p.ScrX.v, 10, 1e-12);
    EXPECT_NEAR(p.ScrY.v, 20, 1e-12);
    EXPECT_NEAR(p.Y.v, 10, 1e-12);
    EXPECT_NEAR(p.Z.v, 20, 1e-12);
    EXPECT_EQ(p.X.v, 7);
    PlaneRotatePoint(p, 0, 0, 45);  // not rounded, not reprojected
    EXPECT_NEAR(p.ScrX.v, (10 - 20) / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(p.ScrY.v, (10 + 20) / std::sqrt(2.0), 1e-12);
}
