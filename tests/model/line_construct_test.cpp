#include <gtest/gtest.h>

#include <cmath>

#include "model/construct.h"
#include "model/geometry.h"

using namespace pelmar;

namespace {

// A segment in the plane X = 0, where picture and (Y, Z) coincide.
DLine Flat(double y1, double z1, double y2, double z2) {
    DLine l;
    l.P1.Y.v = y1;
    l.P1.Z.v = z1;
    l.P2.Y.v = y2;
    l.P2.Z.v = z2;
    return l;
}

}  // namespace

TEST(LineScreenAngle, QuadrantsAndAxes) {
    const struct {
        double y2, z2, angle;
    } cases[] = {
        {10, 10, 45},    {-10, 0, 180},   {0, -5, -90},      {0, 5, 90},    {0, 0, 90},
        {-10, -10, -135}, {10, -10, -45}, {-10, 10, 135},    {3, 1, 18.435}, {-3, -1, -161.565},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(LineScreenAngle(Flat(0, 0, c.y2, c.z2)), c.angle) << c.y2 << ", " << c.z2;
}

TEST(LineScreenAngle, UsesRoundedPictureOfBothEnds) {
    // Ends at depth 8 and 0: end 1 projects to (-3, -3) whatever its stored picture fields.
    DLine l = Flat(0, 0, 0, 0);
    l.P1.X.v = 8;
    l.P1.ScrX.v = 500;
    l.P2.Y.v = -3;
    l.P2.Z.v = 10;
    EXPECT_DOUBLE_EQ(LineScreenAngle(l), 90);
}

TEST(LineLength, RoundsToThousandthsHalfToEven) {
    EXPECT_DOUBLE_EQ(LineLength(Flat(0, 0, 0.0625, 0)), 0.062);
    EXPECT_DOUBLE_EQ(LineLength(Flat(0, 0, 0.1875, 0)), 0.188);
    DLine l = Flat(1, 1, 4, 5);
    l.P2.X.v = 12;  // (12, 3, 4): 13
    EXPECT_DOUBLE_EQ(LineLength(l), 13);
    EXPECT_DOUBLE_EQ(LineLength(Flat(2, 2, 2, 2)), 0);
}

TEST(SetLineAngle, MovesEnd2InThePictureKeepingItsDepth) {
    DLine l = Flat(0, 0, 10, 0);
    l.P2.X.v = 8;
    l.Angle.v = 90;
    l.Length.v = 10;
    SetLineAngle(l);
    EXPECT_DOUBLE_EQ(l.P2.X.v, 8);
    EXPECT_EQ(l.P2.ScrX.v, 0);
    EXPECT_EQ(l.P2.ScrY.v, 10);
    EXPECT_NEAR(l.P2.Y.v, 8 / std::sqrt(8.0), 1e-9);
    EXPECT_NEAR(l.P2.Z.v, 10 + 8 / std::sqrt(8.0), 1e-9);
    EXPECT_DOUBLE_EQ(LineScreenAngle(l), 90);

    DLine m = Flat(5, 5, 6, 6);
    m.Angle.v = 180;
    m.Length.v = 4;
    SetLineAngle(m);
    EXPECT_NEAR(m.P2.Y.v, 1, 1e-9);
    EXPECT_NEAR(m.P2.Z.v, 5, 1e-9);
}

TEST(SetLineLength, ScalesAlongTheSegment) {
    DLine l = Flat(0, 0, 3, 4);
    l.Length.v = 10;
    SetLineLength(l);
    EXPECT_DOUBLE_EQ(l.P2.Y.v, 6);
    EXPECT_DOUBLE_EQ(l.P2.Z.v, 8);
    EXPECT_DOUBLE_EQ(l.P2.X.v, 0);

    DLine z = Flat(2, 2, 2, 2);
    z.Length.v = 10;
    SetLineLength(z);
    EXPECT_EQ(z.P2.Y.v, 2);
    EXPECT_EQ(z.P2.Z.v, 2);
    EXPECT_EQ(z.P2.X.v, 0);
}
