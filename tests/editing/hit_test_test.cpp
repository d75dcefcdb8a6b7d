// Hit tests of points, segments, ellipses, triangles, tetragons, spheres and
// the coordinate systems.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "editing/hit_test.h"
#include "editing/hit_fixture.h"
#include "model/geometry.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

TEST(MinMaxOf, RunningValuesStartAtTenThousand) {
    EXPECT_EQ(MinOf(2, 12000, 15000), 10000);
    EXPECT_EQ(MinOf(2, 7, -3), -3);
    EXPECT_EQ(MinOf(2, 7, 3, -100), 3);  // only the first count values
    EXPECT_EQ(MinOf(5, 9, 8, 7, 6, -5), -5);
    EXPECT_EQ(MinOf(0, -1, -2), 10000);
    EXPECT_EQ(MinOf(-3, -1, -2), 10000);
    EXPECT_EQ(MinOf(9, 1, 2, 3, 4, 0), 0);  // never reads past the fifth value

    EXPECT_EQ(MaxOf(0, 5, 6), -10000);
    EXPECT_EQ(MaxOf(2, -12000, -15000), -10000);
    EXPECT_EQ(MaxOf(3, 1, 9, 4), 9);
    EXPECT_EQ(MaxOf(1, 4, 99), 4);
    EXPECT_EQ(MaxOf(5, 1, 2, 3, 4, 50), 50);
}

TEST(HitPo, ToleranceIsTheRadiusButAtLeastFour) {
    // Exactly 4 pixels from a point of radius 2 is a hit; 4.1 is not.
    EXPECT_TRUE(HitPo(104, 100, At(100, 100, 2)));
    EXPECT_TRUE(HitPo(100, 96, At(100, 100, 2)));
    EXPECT_FALSE(HitPo(100, 100, At(95.9, 100, 2)));
    EXPECT_FALSE(HitPo(103, 103, At(100, 100, 2)));  // 4.24 on the diagonal
    EXPECT_TRUE(HitPo(102, 103, At(100, 100, 2)));   // 3.6
    // Radius 0, negative or 4 keep the four pixels.
    EXPECT_TRUE(HitPo(104, 100, At(100, 100, 0)));
    EXPECT_TRUE(HitPo(104, 100, At(100, 100, -7)));
    EXPECT_FALSE(HitPo(105, 100, At(100, 100, 4)));
    // A large point is hit up to its radius.
    EXPECT_TRUE(HitPo(110, 100, At(100, 100, 10)));
    EXPECT_TRUE(HitPo(106, 108, At(100, 100, 10)));  // exactly 10
    EXPECT_FALSE(HitPo(111, 100, At(100, 100, 10)));
    EXPECT_FALSE(HitPo(108, 107, At(100, 100, 10)));
    // A fractional position.
    EXPECT_TRUE(HitPo(104, 100, At(100.5, 100, 1)));
    EXPECT_FALSE(HitPo(105, 100, At(100.5, 100, 1)));
}

TEST(HitLi, EndsBodyAndPriority) {
    const DLine l = Seg(At(100, 100), At(200, 100));
    ExpectCodes(HitLi, l,
                {{150, 100, 3, "middle"},
                 {150, 102, 3, "two pixels off"},
                 {150, 98, 3, "two pixels off, other side"},
                 {150, 103, 0, "three pixels off"},
                 {100, 100, 1, "end 1"},
                 {103, 101, 1, "near end 1, on the body too"},
                 {96, 100, 1, "past end 1 within its tolerance"},
                 {200, 100, 2, "end 2"},
                 {204, 100, 2, "past end 2 within its tolerance"},
                 {205, 100, 0, "past end 2 beyond both"},
                 {300, 100, 0, "far along the line"}});
    // Both ends under the click: end 2 wins.
    EXPECT_EQ(HitLi(101, 100, Seg(At(100, 100), At(103, 100))), 2);
    // A vertical segment's box runs in y.
    const DLine v = Seg(At(50, 10), At(50, 90), 1);
    EXPECT_EQ(HitLi(52, 50, v), 3);
    EXPECT_EQ(HitLi(50, 97, v), 0);
    EXPECT_EQ(HitLi(50, 93, v), 2);
}

TEST(HitLi, WidthFromThicknessRoundsHalfToEven) {
    // A segment along (3, 4); (4, -3)·k is k·5 pixels off its line.
    struct Row {
        std::int32_t thick;
        int t;
    };
    for (const Row r : {Row{0, 2}, Row{1, 2}, Row{2, 2}, Row{3, 2}, Row{5, 2}, Row{6, 3}, Row{7, 4}, Row{9, 4},
                        Row{10, 5}, Row{11, 6}}) {
        const DLine l = Seg(At(0, 0, 0), At(300, 400, 0), r.thick);
        SCOPED_TRACE(r.thick);
        // Across the line at distance 5 exactly.
        EXPECT_EQ(HitLi(154, 197, l), r.t >= 5 ? 3 : 0);
        EXPECT_EQ(HitLi(146, 203, l), r.t >= 5 ? 3 : 0);
    }
    // Across a horizontal segment the width is exact.
    for (const Row r : {Row{3, 2}, Row{5, 2}, Row{7, 4}, Row{8, 4}, Row{20, 10}}) {
        const DLine l = Seg(At(0, 0, 0), At(400, 0, 0), r.thick);
        EXPECT_EQ(HitLi(200, r.t, l), 3) << r.thick;
        EXPECT_EQ(HitLi(200, -r.t, l), 3) << r.thick;
        EXPECT_EQ(HitLi(200, r.t + 1, l), 0) << r.thick;
    }
}

TEST(HitLi, ExtensionLineIsBodyOnlyWithinTheWidthPastAnEnd) {
    // Thickness 12: six pixels, more than an end's four.
    const DLine l = Seg(At(100, 100, 0), At(200, 100, 0), 12);
    EXPECT_EQ(HitLi(205, 100, l), 3);
    EXPECT_EQ(HitLi(206, 100, l), 3);
    EXPECT_EQ(HitLi(207, 100, l), 0);
    EXPECT_EQ(HitLi(94, 100, l), 3);
    EXPECT_EQ(HitLi(93, 100, l), 0);
    EXPECT_EQ(HitLi(203, 100, l), 2);
    // The box uses the ends rounded to pixels.
    const DLine f = Seg(At(100.4, 100, 0), At(199.6, 100, 0), 12);
    EXPECT_EQ(HitLi(206, 100, f), 3);
    EXPECT_EQ(HitLi(207, 100, f), 0);
}

TEST(HitLi, SegmentWithBothEndsOnOnePixel) {
    // The body is the disc of the width around the common position.
    const DLine l = Seg(At(50, 50, 0), At(50, 50, 0), 20);
    EXPECT_EQ(HitLi(52, 50, l), 2);
    EXPECT_EQ(HitLi(58, 50, l), 3);
    EXPECT_EQ(HitLi(56, 58, l), 3);  // exactly 10
    EXPECT_EQ(HitLi(57, 58, l), 0);
    EXPECT_EQ(HitLi(61, 50, l), 0);
    EXPECT_EQ(HitLi(50, 61, l), 0);
}

TEST(HitLi, HugeThicknessKeepsTheBoxInRange) {
    const DLine l = Seg(At(0, 0, 0), At(10, 0, 0), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(HitLi(5, 1000000, l), 3);
    EXPECT_EQ(HitLi(-1000000000, 0, l), 3);
    EXPECT_EQ(HitLi(-2000000000, 0, l), 0);
}

TEST(HitLi, SegmentsBeyondTenThousandPixels) {
    const DLine l = Seg(At(12000, 100), At(13000, 100));
    EXPECT_EQ(HitLi(12500, 100, l), 3);
    EXPECT_EQ(HitLi(12000, 100, l), 1);
    EXPECT_EQ(HitLi(11000, 100, l), 0);  // on the line, far before end 1
    EXPECT_EQ(HitLi(13500, 100, l), 0);
    const DLine n = Seg(At(100, -13000), At(100, -12000));
    EXPECT_EQ(HitLi(100, -12500, n), 3);
    EXPECT_EQ(HitLi(100, -11000, n), 0);
}

TEST(HitCi, CircleCodes) {
    const DCircle c = Ellipse(200, 200, 50, 50, true);  // thickness 1: outline tolerance 1
    ExpectCodes(HitCi, c,
                {{200, 200, 2, "centre"},
                 {203, 200, 2, "near the centre"},
                 {220, 200, 1, "inside"},
                 {248, 200, 1, "inside, two pixels in"},
                 {249, 200, 3, "outline, one pixel in"},
                 {250, 200, 3, "outline"},
                 {251, 200, 3, "outline, one pixel out"},
                 {200, 149, 3, "outline above"},
                 {252, 200, 0, "outside"},
                 {300, 300, 0, "far"},
                 {150, 200, 3, "no handle codes on a circle"}});
    // Thickness 3 widens the outline to three pixels, thickness 2 to two.
    const DCircle t3 = Ellipse(200, 200, 50, 50, true, 3);
    EXPECT_EQ(HitCi(253, 200, t3), 3);
    EXPECT_EQ(HitCi(247, 200, t3), 3);
    EXPECT_EQ(HitCi(254, 200, t3), 0);
    EXPECT_EQ(HitCi(246, 200, t3), 1);
    const DCircle t2 = Ellipse(200, 200, 50, 50, true, 2);
    EXPECT_EQ(HitCi(252, 200, t2), 3);
    EXPECT_EQ(HitCi(253, 200, t2), 0);
    EXPECT_EQ(HitCi(247, 200, t2), 1);
}

TEST(HitCi, EllipseOutlineAndHandles) {
    const DCircle e = Ellipse(200, 200, 60, 30, false);
    ExpectCodes(HitCi, e,
                {{200, 200, 2, "centre"},
                 {230, 210, 1, "inside"},
                 {242, 221, 6, "outline at 45 degrees"},
                 {260, 200, 4, "handle +a"},
                 {140, 200, 4, "handle -a"},
                 {263, 200, 4, "near handle +a, outside"},
                 {200, 230, 5, "handle +b"},
                 {200, 170, 5, "handle -b"},
                 {198, 173, 5, "near handle -b"},
                 {265, 200, 0, "beyond handle +a"},
                 {250, 200, 1, "inside near +a"}});
    // Handles take the centre's radius as their tolerance.
    const DCircle big = Ellipse(200, 200, 60, 30, false, 1, 0, 10);
    EXPECT_EQ(HitCi(250, 200, big), 4);
    EXPECT_EQ(HitCi(200, 220, big), 5);
    EXPECT_EQ(HitCi(208, 206, big), 2);
    // Where both handles are under the click, the b handle wins.
    const DCircle small = Ellipse(200, 200, 3, 3, false);
    EXPECT_EQ(HitCi(202, 202, small), 5);
    EXPECT_EQ(HitCi(204, 199, small), 4);
}

TEST(HitCi, DegenerateEllipseKeepsOnlyItsCentre) {
    for (const DCircle& c : {Ellipse(200, 200, 0, 30, false), Ellipse(200, 200, 30, 0, false),
                             Ellipse(200, 200, 0, 0, true), Ellipse(200, 200, 0, 30, false, 1, 25)}) {
        EXPECT_EQ(HitCi(200, 200, c), 2);
        EXPECT_EQ(HitCi(203, 200, c), 2);
        const std::array<std::array<int, 2>, 6> far{{{200, 215}, {200, 230}, {230, 200}, {170, 200}, {200, 170}, {215, 200}}};
        for (const auto& p : far)
            EXPECT_EQ(HitCi(p[0], p[1], c), 0) << p[0] << ", " << p[1];
    }
}

TEST(HitCi, SemiAxisEqualToTheTolerance) {
    // a = T = 1: the inner ellipse is flat.  The answers are those of a
    // semi-axis a hair larger: off the centre line the click is on the
    // outline, on it the inside of the flat ellipse still counts.
    const DCircle e = Ellipse(200, 200, 1, 40, false);
    EXPECT_EQ(HitCi(201, 220, e), 6);
    EXPECT_EQ(HitCi(199, 225, e), 6);
    EXPECT_EQ(HitCi(200, 220, e), 1);
    EXPECT_EQ(HitCi(200, 234, e), 1);
    EXPECT_EQ(HitCi(202, 220, e), 0);
    EXPECT_EQ(HitCi(200, 246, e), 0);
    // The centre of a circle of radius T stays the centre.
    EXPECT_EQ(HitCi(200, 200, Ellipse(200, 200, 2, 2, true, 2)), 2);

    struct Row {
        double a, b;
        bool circle;
        std::int32_t thick;
    };
    for (const Row r : {Row{1, 40, false, 1}, Row{40, 3, false, 4}, Row{2, 2, true, 2}, Row{3, 3, true, 5},
                        Row{30, 1, false, 0}}) {
        // Half-pixel centres keep every click off the exact handle and
        // outline distances, where a hair's change may change the answer.
        for (const auto& c : {std::array{200.0, 200.5}, std::array{200.5, 200.0}}) {
            const DCircle at = Ellipse(c[0], c[1], r.a, r.b, r.circle, r.thick, 0, 0);
            DCircle near = at;
            near.A.v += 1e-9;
            near.B.v += 1e-9;
            const auto h = [](const DCircle& e) { return [&e](int x, int y) { return HitCi(x, y, e); }; };
            EXPECT_EQ(CodeMap(h(at), 150, 150, 250, 250, 1), CodeMap(h(near), 150, 150, 250, 250, 1))
                << r.a << " x " << r.b << ", thickness " << r.thick << ", centre " << c[0] << ", " << c[1];
        }
    }
}

TEST(HitCi, TiltedEllipseHasOnlyInsideAndCentre) {
    // Tilted by 90 degrees the long axis runs along y.
    const DCircle e = Ellipse(200, 200, 60, 20, false, 1, 90);
    ExpectCodes(HitCi, e,
                {{200, 200, 2, "centre"},
                 {200, 255, 1, "along the long axis"},
                 {200, 261, 1, "on the outline"},
                 {200, 262, 0, "past the outline"},
                 {255, 200, 0, "across, outside"},
                 {220, 200, 1, "across, on the outline"},
                 {200, 230, 1, "where a handle would be"}});
    for (double tilt : {90.0, 30.0, -45.0, 137.0, 0.001})
        for (int y = 120; y <= 280; y += 2)
            for (int x = 120; x <= 280; x += 2) {
                const int code = HitCi(x, y, Ellipse(200, 200, 60, 20, false, 1, tilt));
                const int circ = HitCi(x, y, Ellipse(200, 200, 40, 40, true, 3, tilt));
                ASSERT_TRUE(code <= 2 && circ <= 2) << tilt << " at " << x << ", " << y;
            }
}

TEST(HitCi, TiltTurnsCounterClockwiseAndAgreesWithPtInEllipse) {
    const DCircle e = Ellipse(200, 200, 60, 10, false, 1, 30);
    EXPECT_EQ(HitCi(243, 225, e), 1);  // 50 pixels at 30 degrees
    EXPECT_EQ(HitCi(243, 175, e), 0);  // 50 pixels at -30 degrees
    EXPECT_EQ(HitCi(157, 175, e), 1);
    for (double tilt : {30.0, 137.0, -70.0}) {
        const DCircle t = Ellipse(200, 200, 60, 25, false, 3, tilt);  // T = 3
        const double th = -tilt * std::numbers::pi / 180;
        for (int y = 120; y <= 280; ++y)
            for (int x = 120; x <= 280; ++x) {
                if (HitPo(x, y, t.Center)) continue;
                const bool in = PtInEllipse(x, y, 200, 200, 63, 28, std::cos(th), std::sin(th));
                ASSERT_EQ(HitCi(x, y, t), in ? 1 : 0) << tilt << " at " << x << ", " << y;
            }
    }
}

TEST(HitTr, VertexBeatsSideBeatsInside) {
    const DTri t = Tri(100, 100, 300, 100, 200, 300);
    ExpectCodes(HitTr, t,
                {{200, 150, 1, "inside"},
                 {200, 100, 11, "side 1"},
                 {200, 98, 11, "side 1 from outside"},
                 {200, 97, 0, "outside side 1"},
                 {250, 200, 22, "side 2"},
                 {150, 200, 33, "side 3"},
                 {100, 100, 10, "vertex 1"},
                 {103, 100, 10, "near vertex 1 on side 1"},
                 {300, 100, 20, "vertex 2"},
                 {304, 100, 20, "past vertex 2"},
                 {200, 300, 30, "vertex 3"},
                 {200, 303, 30, "below vertex 3"},
                 {200, 50, 0, "outside"},
                 {320, 100, 0, "on side 1's extension"}});
    // Clockwise corners give the same codes.
    const DTri cw = Tri(100, 100, 200, 300, 300, 100);
    EXPECT_EQ(HitTr(200, 150, cw), 1);
    EXPECT_EQ(HitTr(200, 300, cw), 20);
    EXPECT_EQ(HitTr(300, 100, cw), 30);
    EXPECT_EQ(HitTr(200, 100, cw), 33);
}

TEST(HitTr, VerticesAreTheEndsOfSidesOneAndTwo) {
    // Vertex 3 is end 2 of side 2: its radius, not that of side 3's end 1,
    // sets the handle's tolerance.
    DTri t = Tri(100, 100, 300, 100, 200, 300);
    t.S[2].P2.Radius.v = 10;
    EXPECT_EQ(HitTr(200, 309, t), 30);
    // Side 3's end 1 belongs to the side: a large one widens the side's
    // ends, not the vertex.
    t = Tri(100, 100, 300, 100, 200, 300);
    t.S[3].P1.Radius.v = 10;
    EXPECT_EQ(HitTr(200, 309, t), 33);
    t = Tri(100, 100, 300, 100, 200, 300);
    t.S[1].P2.Radius.v = 10;
    EXPECT_EQ(HitTr(309, 100, t), 20);
}

TEST(HitTr, CollinearAndCollapsedTriangles) {
    const DTri flat = Tri(100, 100, 200, 100, 300, 100);
    // Side 3 runs back over the other two and is tested last.
    EXPECT_EQ(HitTr(150, 100, flat), 33);
    EXPECT_EQ(HitTr(250, 101, flat), 33);
    EXPECT_EQ(HitTr(200, 100, flat), 20);
    EXPECT_EQ(HitTr(150, 105, flat), 0);
    EXPECT_EQ(HitTr(150, 200, flat), 0);
    EXPECT_EQ(HitTr(-500, 40, flat), 0);

    const DTri dot = Tri(100, 100, 100, 100, 100, 100);
    EXPECT_EQ(HitTr(100, 100, dot), 30);
    EXPECT_EQ(HitTr(103, 100, dot), 30);
    EXPECT_EQ(HitTr(105, 100, dot), 0);
    EXPECT_EQ(HitTr(150, 150, dot), 0);
}

TEST(HitKv, VertexBeatsSideBeatsInside) {
    const DKv k = Quad(100, 100, 300, 100, 300, 300, 100, 300);
    ExpectCodes(HitKv, k,
                {{200, 200, 1, "inside"},
                 {200, 100, 11, "side 1"},
                 {301, 200, 22, "side 2"},
                 {200, 302, 33, "side 3"},
                 {98, 200, 44, "side 4"},
                 {97, 200, 0, "outside side 4"},
                 {100, 100, 10, "vertex 1"},
                 {300, 100, 20, "vertex 2"},
                 {300, 300, 30, "vertex 3"},
                 {100, 300, 40, "vertex 4"},
                 {98, 303, 40, "near vertex 4"},
                 {310, 310, 0, "beyond vertex 3"}});
    // A trapezium's slanted side cuts the corner of its box.
    const DKv tz = Quad(100, 100, 300, 100, 250, 300, 150, 300);
    EXPECT_EQ(HitKv(280, 280, tz), 0);
    EXPECT_EQ(HitKv(240, 280, tz), 1);
}

TEST(HitKv, FlatQuadrilateralHoldsOnlyItsSides) {
    const DKv flat = Quad(100, 100, 200, 100, 300, 100, 150, 100);
    EXPECT_EQ(HitKv(250, 100, flat), 33);  // under sides 2 and 3; 3 tests later
    EXPECT_EQ(HitKv(250, 110, flat), 0);
    EXPECT_EQ(HitKv(400, 300, flat), 0);
    // A quadrilateral folded onto one segment.
    const DKv fold = Quad(100, 100, 200, 200, 100, 100, 200, 200);
    EXPECT_EQ(HitKv(150, 150, fold), 44);
    EXPECT_EQ(HitKv(150, 160, fold), 0);
}

TEST(HitXY, AxesCentreAndEnds) {
    DXOY s;
    s.Center = At(200, 200);
    s.AxisX = Seg(At(50, 200), At(350, 200));
    s.AxisY = Seg(At(200, 50), At(200, 350));
    ExpectCodes(HitXY, s,
                {{100, 200, 1, "X axis"},
                 {200, 100, 2, "Y axis"},
                 {200, 200, 3, "centre over both axes"},
                 {50, 200, 4, "X end 1"},
                 {350, 200, 5, "X end 2"},
                 {200, 50, 6, "Y end 1"},
                 {200, 350, 7, "Y end 2"},
                 {100, 100, 0, "between the axes"}});
    // An end on the centre wins over it.
    s.AxisY.P1 = At(200, 200);
    EXPECT_EQ(HitXY(200, 200, s), 6);
}

TEST(HitXZ, AxesCentreAndEnds) {
    DXZ s;
    s.Center = At(200, 200);
    s.AxisX = Seg(At(250, 150), At(150, 250));
    s.AxisY = Seg(At(50, 200), At(350, 200));
    s.AxisZ = Seg(At(200, 50), At(200, 350));
    ExpectCodes(HitXZ, s,
                {{225, 175, 1, "X axis"},
                 {100, 200, 2, "Y axis"},
                 {200, 100, 3, "Z axis"},
                 {200, 200, 4, "centre"},
                 {250, 150, 5, "X end 1"},
                 {150, 250, 6, "X end 2"},
                 {50, 200, 7, "Y end 1"},
                 {350, 200, 8, "Y end 2"},
                 {200, 50, 9, "Z end 1"},
                 {200, 350, 10, "Z end 2"},
                 {300, 300, 0, "off the axes"}});
    s.AxisZ.P2 = At(350, 200);  // on Y end 2
    EXPECT_EQ(HitXZ(350, 200, s), 10);
}

DSf Orb(double r, double contourTilt = 0) {
    DSf s;
    s.Radius.v = r;
    s.Center = At(300, 300);
    s.Contour = Ellipse(300, 300, r, r, true, 1, contourTilt);
    return s;
}

TEST(HitSf, ContourCentreAndRing) {
    ExpectCodes(HitSf, Orb(50),
                {{300, 300, 2, "centre"},
                 {320, 300, 1, "inside"},
                 {348, 300, 1, "inside near the ring"},
                 {349, 300, 3, "ring, inside"},
                 {350, 300, 3, "ring"},
                 {351, 300, 3, "ring, outside"},
                 {300, 251, 3, "ring above"},
                 {352, 300, 0, "outside"}});
    // The contour is tested in its own axes, tilt included.
    DSf s = Orb(50);
    s.Contour = Ellipse(300, 300, 60, 20, false, 1, 90);
    EXPECT_EQ(HitSf(300, 355, s), 1);
    EXPECT_EQ(HitSf(355, 300, s), 0);
    EXPECT_EQ(HitSf(320, 300, s), 1);
    EXPECT_EQ(HitSf(322, 300, s), 0);
    s.Contour.Tilt.v = 0;
    EXPECT_EQ(HitSf(355, 300, s), 1);
    // The ring follows the sphere's radius and centre, not the contour's.
    s = Orb(50);
    s.Contour.Center = At(500, 500);
    s.Contour.A.v = 0;
    EXPECT_EQ(HitSf(300, 300, s), 0);
    EXPECT_EQ(HitSf(350, 300, s), 3);
    EXPECT_EQ(HitSf(500, 500, s), 2);
}

TEST(HitSf, DegenerateSpheres) {
    DSf s = Orb(0);
    EXPECT_EQ(HitSf(300, 300, s), 2);
    EXPECT_EQ(HitSf(301, 300, s), 2);
    EXPECT_EQ(HitSf(305, 300, s), 0);
    // Radius equal to the tolerance: the inner circle is a point, the ring a
    // disc without its centre.
    s = Orb(1);
    s.Contour.Center = At(500, 500);
    s.Contour.A.v = 0;
    EXPECT_EQ(HitSf(300, 300, s), 0);
    EXPECT_EQ(HitSf(301, 300, s), 3);
    EXPECT_EQ(HitSf(302, 300, s), 3);
    EXPECT_EQ(HitSf(301, 301, s), 3);
    EXPECT_EQ(HitSf(303, 300, s), 0);
    DSf near = s;
    near.Radius.v += 1e-9;
    EXPECT_EQ(CodeMap([&](int x, int y) { return HitSf(x, y, s); }, 295, 295, 305, 305, 1),
              CodeMap([&](int x, int y) { return HitSf(x, y, near); }, 295, 295, 305, 305, 1));
}

TEST(HiddenParts, HitLikeVisibleOnes) {
    DTri t = Tri(100, 100, 300, 100, 200, 300);
    const auto before = CodeMap([&](int x, int y) { return HitTr(x, y, t); }, 80, 80, 320, 320);
    t.Layer.v = 10;
    t.Disabled.v = true;
    t.View.v = 3;
    for (std::size_t k = 1; k <= 3; ++k) {
        t.S[k].LineType.v = 3;
        t.S[k].P1.Disabled.v = true;
    }
    EXPECT_EQ(CodeMap([&](int x, int y) { return HitTr(x, y, t); }, 80, 80, 320, 320), before);

    DCircle c = Ellipse(200, 200, 60, 30, false);
    const auto cb = CodeMap([&](int x, int y) { return HitCi(x, y, c); }, 130, 160, 270, 240, 1);
    c.ViewType.v = 3;
    c.Disabled.v = true;
    c.Layer.v = 7;
    EXPECT_EQ(CodeMap([&](int x, int y) { return HitCi(x, y, c); }, 130, 160, 270, 240, 1), cb);
}

}  // namespace
