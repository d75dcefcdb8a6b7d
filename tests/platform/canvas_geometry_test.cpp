#include <gtest/gtest.h>

#include <cmath>

#include "platform/canvas_geometry.h"

using namespace pelmar;

TEST(ArcAngles, FollowTheRayFromTheCentreClockwiseOnThePicture) {
    const RectF box{0, 0, 40, 20};  // centre (20, 10), semi-axes 20 and 10
    PointF p = EllipsePoint(box, 0);
    EXPECT_NEAR(p.x, 40, 1e-9);
    EXPECT_NEAR(p.y, 10, 1e-9);
    p = EllipsePoint(box, 90);  // clockwise on a y-down picture: downwards
    EXPECT_NEAR(p.x, 20, 1e-9);
    EXPECT_NEAR(p.y, 20, 1e-9);
    // 45 degrees lies on the diagonal ray, not at parameter 45.
    p = EllipsePoint(box, 45);
    EXPECT_NEAR(p.x - 20, p.y - 10, 1e-9);
    EXPECT_NEAR(ParametricAngle(20, 10, 45), std::atan(2.0) * 180 / 3.14159265358979323846, 1e-9);
    // The parameter stays in the turn of the polar angle.
    EXPECT_NEAR(ParametricAngle(20, 10, 370), 360 + ParametricAngle(20, 10, 10), 1e-9);
    EXPECT_NEAR(ParametricAngle(20, 10, -90), -90, 1e-9);
}

TEST(ArcAngles, NormalizeClampsTheSweepAndWrapsTheStart) {
    ArcSpan a = NormalizeArc(-10, 20);
    EXPECT_DOUBLE_EQ(a.start, 350);
    EXPECT_DOUBLE_EQ(a.sweep, 20);
    EXPECT_FALSE(a.full);
    a = NormalizeArc(720, -400);
    EXPECT_DOUBLE_EQ(a.start, 0);
    EXPECT_DOUBLE_EQ(a.sweep, -360);
    EXPECT_TRUE(a.full);
}

TEST(ArcPolyline, CrossesZeroDegrees) {
    const RectF box{0, 0, 100, 100};
    const auto pts = ArcPolyline(box, 350, 20);
    ASSERT_GE(pts.size(), 3u);
    EXPECT_GT(pts.front().y, pts.back().y - 100);  // sanity
    EXPECT_LT(pts.front().y, 50);                   // 350 degrees: above the centre line
    EXPECT_GT(pts.back().y, 50);                    // 10 degrees: below it
    for (const PointF& p : pts) EXPECT_GT(p.x, 95);  // all near 3 o'clock
    // A counter-clockwise sweep runs the other way round.
    const auto back = ArcPolyline(box, 10, -20);
    EXPECT_GT(back.front().y, 50);
    EXPECT_LT(back.back().y, 50);
}

TEST(ArcPolyline, StaysOnTheEllipseAndClosesAFullTurn) {
    const RectF box{10, 20, 200, 80};
    const auto pts = ArcPolyline(box, 30, 400);
    EXPECT_EQ(pts.front(), pts.back());
    for (const PointF& p : pts) {
        const double u = (p.x - 110) / 100, v = (p.y - 60) / 40;
        EXPECT_NEAR(u * u + v * v, 1, 1e-9);
    }
}

TEST(ArcPolyline, DegenerateBoxGivesPointsNotNaN) {
    for (const auto& pt : ArcPolyline({5, 5, 0, 0}, 0, 90)) {
        EXPECT_EQ(pt.x, 5);
        EXPECT_EQ(pt.y, 5);
    }
    for (const auto& pt : ArcPolyline({5, 5, 0, 10}, 0, 360)) EXPECT_TRUE(std::isfinite(pt.y));
}

TEST(DashPattern, RefusesPatternsGdiPlusRefuses) {
    EXPECT_TRUE(UsableDashPattern({2, 1}));
    EXPECT_FALSE(UsableDashPattern({}));
    EXPECT_FALSE(UsableDashPattern({2}));
    EXPECT_FALSE(UsableDashPattern({2, 0}));
    EXPECT_FALSE(UsableDashPattern({2, -1}));
    EXPECT_FALSE(UsableDashPattern({NAN, 1}));
}

TEST(SplitDashes, CutsALineIntoDashesAndGaps) {
    const PointF line[] = {{0, 0}, {20, 0}};
    const double pattern[] = {6, 3};
    const auto d = SplitDashes(line, pattern, false);
    // 0-6, 9-15, 18-20
    ASSERT_EQ(d.size(), 3u);
    EXPECT_EQ(d[0].front(), (PointF{0, 0}));
    EXPECT_EQ(d[0].back(), (PointF{6, 0}));
    EXPECT_EQ(d[1].front(), (PointF{9, 0}));
    EXPECT_EQ(d[1].back(), (PointF{15, 0}));
    EXPECT_EQ(d[2].back(), (PointF{20, 0}));
}

TEST(SplitDashes, CarriesThePatternRoundCornersAndLeavesAnEndInAGapBare) {
    const PointF path[] = {{0, 0}, {4, 0}, {4, 10}};
    const double pattern[] = {6, 3};
    const auto d = SplitDashes(path, pattern, false);
    // The first dash turns the corner: (0,0) (4,0) (4,2); then 5..11 and a gap to 14.
    ASSERT_EQ(d.size(), 2u);
    ASSERT_EQ(d[0].size(), 3u);
    EXPECT_EQ(d[0][1], (PointF{4, 0}));
    EXPECT_EQ(d[0][2], (PointF{4, 2}));
    EXPECT_EQ(d[1].front(), (PointF{4, 5}));
    EXPECT_EQ(d[1].back(), (PointF{4, 10}));  // 5..11 is cut by the end at 10
    const PointF shorter[] = {{0, 0}, {8, 0}};
    const auto e = SplitDashes(shorter, pattern, false);
    ASSERT_EQ(e.size(), 1u);  // ends in the gap 6..9
    EXPECT_NE(e.back().back(), shorter[1]);
}

TEST(SplitDashes, ClosedPathDashesItsClosingSide) {
    const PointF square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const double pattern[] = {5, 5};
    const auto d = SplitDashes(square, pattern, true);
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d[3].front(), (PointF{0, 10}));
    EXPECT_EQ(d[3].back(), (PointF{0, 5}));
}

TEST(SplitDashes, TinyOrBrokenPatternsStrokeSolid) {
    const PointF line[] = {{0, 0}, {1e6, 0}};
    const double tiny[] = {1e-9, 1e-9};
    EXPECT_EQ(SplitDashes(line, tiny, false).size(), 1u);
    const double zero[] = {0, 3};
    EXPECT_EQ(SplitDashes(line, zero, false).size(), 1u);
}

TEST(RoundCap, IsAHalfDiscBeyondTheEnd) {
    const auto cap = RoundCapPolygon({10, 10}, {1, 0}, 4);
    for (const PointF& p : cap) {
        EXPECT_GE(p.x, 10 - 1e-9);
        EXPECT_LE(std::hypot(p.x - 10, p.y - 10), 2 + 1e-9);
    }
    EXPECT_NEAR(cap[cap.size() / 2].x, 12, 1e-9);
}

TEST(EndDirections, SkipRepeatedPoints) {
    const PointF path[] = {{0, 0}, {0, 0}, {10, 0}, {10, 5}, {10, 5}};
    PointF s, e;
    ASSERT_TRUE(EndDirections(path, s, e));
    EXPECT_EQ(s, (PointF{-1, 0}));
    EXPECT_EQ(e, (PointF{0, 1}));
    const PointF dot[] = {{3, 3}, {3, 3}};
    EXPECT_FALSE(EndDirections(dot, s, e));
}
