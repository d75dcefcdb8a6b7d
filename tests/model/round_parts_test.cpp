// Shared pieces of the round-solid updates.
#include <gtest/gtest.h>

#include "model/round_parts.h"

namespace pelmar {
namespace {

TEST(RoundParts, EllipseOfARecordTurnsWithYUp) {
    // A long ellipse tilted by 45°: in the record's picture coordinates
    // (y up) it runs from lower left to upper right.
    DCircle e{};
    e.Center.ScrX.v = 100;
    e.Center.ScrY.v = 100;
    e.A.v = 100;
    e.B.v = 10;
    e.Tilt.v = 45;
    EXPECT_TRUE(round::PtInCircleRec(150, 150, e));
    EXPECT_TRUE(round::PtInCircleRec(40, 40, e));
    EXPECT_FALSE(round::PtInCircleRec(150, 50, e));
    EXPECT_FALSE(round::PtInCircleRec(50, 150, e));
    e.B.v = 0;
    EXPECT_FALSE(round::PtInCircleRec(100, 100, e));
}

TEST(RoundParts, AnglesAndWrapping) {
    EXPECT_DOUBLE_EQ(round::OffsetAngle(1, 1), 45);
    EXPECT_DOUBLE_EQ(round::OffsetAngle(-1, -1), -135);
    EXPECT_EQ(round::OffsetAngle(0, 0), 0);
    EXPECT_EQ(round::Wrap180(-100 - 720), -100);
    EXPECT_EQ(round::Wrap180(540), 180);
    EXPECT_EQ(round::Wrap180(1e300 + 0), std::fmod(1e300, 360.0) - 360 * (std::fmod(1e300, 360.0) > 180));
    EXPECT_EQ(round::ToPixel(2.5), 2);
    EXPECT_EQ(round::ToPixel(1e30), 2000000000);
}

}  // namespace
}  // namespace pelmar
