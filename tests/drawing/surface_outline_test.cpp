// The line searches and the outline scan: the codes of a covered line, the
// bisection, the joining of the boundaries into polylines, the outline of a
// sphere against its exact contour, and bounded work.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "drawing/surface_internal.h"
#include "surface_fixture.h"

using namespace pelmar;
using pelmar::test::RayProbe;

namespace {

// Covered where lo <= v <= hi on every line.
SurfaceHitTest Band(double lo, double hi, std::uint8_t direction = 0) {
    return [=](double y, double z) {
        const double v = direction == 0 ? z : y;
        return v >= lo && v <= hi;
    };
}

// A disc of radius r about (y0, z0) on the picture plane.
SurfaceHitTest Disc(double y0, double z0, double r, long* calls = nullptr) {
    return [=](double y, double z) {
        if (calls) ++*calls;
        return (y - y0) * (y - y0) + (z - z0) * (z - z0) <= r * r;
    };
}

bool Near(const CurvePoint& p, const CurvePoint& q) { return std::hypot(p.x - q.x, p.y - q.y) < 1e-9; }

}  // namespace

TEST(SurfaceLine, CodesOfACoveredLine) {
    double lo, hi;
    EXPECT_EQ(FindCoveredSpan(0, lo, hi, 0, 0, 10, 10, Band(-1, 11)), 1);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 10);

    // Covered at the high end.
    EXPECT_EQ(FindCoveredSpan(0, lo, hi, 0, 0, 10, 10, Band(6.25, 20)), 2);
    EXPECT_NEAR(lo, 6.25, 0.001);
    EXPECT_EQ(lo, hi);
    // Covered from the low end up to some height: one boundary, code 3.
    EXPECT_EQ(FindCoveredSpan(0, lo, hi, 0, 0, 10, 10, Band(-5, 3.5)), 3);
    EXPECT_NEAR(lo, 3.5, 0.001);

    // Covered inside: the lower end is searched from one unit (not one pixel) back.
    EXPECT_EQ(FindCoveredSpan(1, lo, hi, 0, 0, 10, 10, Band(2.34, 7.81, 1)), 4);
    EXPECT_NEAR(lo, 2.34, 0.001);
    EXPECT_NEAR(hi, 7.81, 0.001);

    // Nothing covered, or less than the march step between two samples.
    EXPECT_EQ(FindCoveredSpan(0, lo, hi, 0, 0, 10, 10, Band(20, 30)), 0);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 10);
    EXPECT_EQ(FindCoveredSpan(0, lo, hi, 0, 0, 10, 10, Band(4.01, 4.05)), 0);
}

TEST(SurfaceLine, DirectionsTestTheRightCoordinate) {
    double lo, hi;
    // Direction 0 moves z along the column y = c; direction 1 moves y along the row z = c.
    const SurfaceHitTest onlyAboveY2 = [](double y, double) { return y > 2; };
    EXPECT_EQ(FindCoveredSpan(0, lo, hi, 3, -5, 5, 10, onlyAboveY2), 1);
    EXPECT_EQ(FindCoveredSpan(0, lo, hi, 1, -5, 5, 10, onlyAboveY2), 0);
    EXPECT_EQ(FindCoveredSpan(1, lo, hi, 0, -5, 5, 10, onlyAboveY2), 2);
    EXPECT_NEAR(lo, 2, 0.001);
}

TEST(SurfaceLine, BisectionEndsOnBadInput) {
    long calls = 0;
    const SurfaceHitTest h = [&](double, double z) {
        ++calls;
        return z > 0;
    };
    EXPECT_NEAR(BisectSurfaceEdge(0, 0, -3, 5, h), 0, 0.001);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    calls = 0;
    BisectSurfaceEdge(0, 0, nan, 1, h);
    BisectSurfaceEdge(0, 0, -inf, inf, h);
    BisectSurfaceEdge(0, 0, 1e15, 1e15 + 1, h);  // too far out for 0.001 steps
    EXPECT_LT(calls, 1000);

    // No scale: no march, and no endless one for a negative scale.
    double lo, hi;
    EXPECT_EQ(FindCoveredSpan(0, lo, hi, 0, 0, 10, 0, Band(4, 5)), 0);
    EXPECT_EQ(FindCoveredSpan(0, lo, hi, 0, 0, 10, -3, Band(4, 5)), 0);
    EXPECT_EQ(FindCoveredSpan(0, lo, hi, 0, 0, 10, nan, Band(4, 5)), 0);
}

namespace {

OutlineScanArgs Window(int x1, int y1, int x2, int y2, int s, int cx, int cy) {
    OutlineScanArgs a;
    a.X1 = x1, a.Y1 = y1, a.X2 = x2, a.Y2 = y2;
    a.S = s, a.CX = cx, a.CY = cy;
    a.Width = 400, a.Height = 300;
    a.Step2 = 3;
    return a;
}

}  // namespace

TEST(SurfaceOutline, DiscInsideTheWindowIsOneClosedShape) {
    for (std::uint8_t dir : {0, 1}) {
        OutlineScanArgs a = Window(0, 0, 400, 300, 20, 200, 150);
        a.ScanDir = dir;
        OutlinePolylines out;
        ASSERT_TRUE(ScanSurfaceOutline(a, Disc(0.5, -0.25, 3), {}, out));
        // Lower boundary A, upper boundary B (starting and ending at A's ends),
        // then the two empty closes at the end of the scan.
        ASSERT_EQ(out.Lines.size(), 4u) << int(dir);
        const auto& A = out.Lines[0];
        const auto& B = out.Lines[1];
        EXPECT_TRUE(out.Lines[2].empty());
        EXPECT_TRUE(out.Lines[3].empty());
        ASSERT_GT(A.size(), 10u);
        EXPECT_EQ(B.size(), A.size() + 2);
        EXPECT_TRUE(Near(A.front(), B.front()));
        EXPECT_TRUE(Near(A.back(), B.back()));
        for (const auto* l : {&A, &B}) {
            for (const CurvePoint& p : *l) {
                const double y = (p.x - 200) / 20, z = (150 - p.y) / 20;
                EXPECT_NEAR(std::hypot(y - 0.5, z + 0.25), 3, 0.002);
            }
        }
    }
}

TEST(SurfaceOutline, ShapeCutByTheWindowEdgeIsNotJoined) {
    // The disc reaches over the window's left edge: the first column has code
    // 4 after the start, so its two boundaries begin apart.
    OutlineScanArgs a = Window(100, 0, 300, 300, 20, 200, 150);
    OutlinePolylines out;
    ASSERT_TRUE(ScanSurfaceOutline(a, Disc(-4, 0, 3), {}, out));
    ASSERT_GE(out.Lines.size(), 2u);
    const auto& A = out.Lines[0];
    const auto& B = out.Lines[1];
    ASSERT_FALSE(A.empty());
    EXPECT_EQ(A.front().x, 100);
    EXPECT_EQ(B.front().x, 100);
    EXPECT_FALSE(Near(A.front(), B.front()));
    EXPECT_EQ(B.size(), A.size() + 1);
    // The right side is closed: B ends at A's last point.
    EXPECT_TRUE(Near(A.back(), B.back()));
}

TEST(SurfaceOutline, FullyCoveredLineBreaksTheBoundary) {
    // Covered below z = g(y), where g rises above the window's top for a while:
    // code 3, then code 1 columns, then code 3 again: two separate boundaries.
    const SurfaceHitTest under = [](double y, double z) {
        const double top = std::fabs(y) < 1 ? 100 : 2 - 0.1 * y * y;
        return z <= top;
    };
    OutlineScanArgs a = Window(0, 0, 400, 300, 20, 200, 150);
    OutlinePolylines out;
    ASSERT_TRUE(ScanSurfaceOutline(a, under, {}, out));
    int pieces = 0;
    for (const auto& l : out.Lines)
        if (!l.empty()) {
            ++pieces;
            for (const CurvePoint& p : l) EXPECT_GE(std::fabs((p.x - 200) / 20), 1.0);
        }
    EXPECT_EQ(pieces, 2);
}

TEST(SurfaceOutline, EmptyWindowsAndBadSettings) {
    OutlinePolylines out;
    EXPECT_FALSE(ScanSurfaceOutline(Window(50, 0, 50, 300, 20, 200, 150), Disc(0, 0, 2), {}, out));
    EXPECT_FALSE(ScanSurfaceOutline(Window(0, 80, 400, 80, 20, 200, 150), Disc(0, 0, 2), {}, out));
    EXPECT_FALSE(ScanSurfaceOutline(Window(0, 0, 400, 300, 0, 200, 150), Disc(0, 0, 2), {}, out));
    EXPECT_TRUE(out.Lines.empty());

    // A step of 0 scans every line instead of dividing by it.
    OutlineScanArgs a = Window(0, 0, 400, 300, 20, 200, 150);
    a.Step2 = 0;
    EXPECT_TRUE(ScanSurfaceOutline(a, Disc(0, 0, 2.01), {}, out));
    EXPECT_EQ(out.Lines[0].size(), 81u);  // columns 160..240
}

TEST(SurfaceOutline, StopDropsTheScanAndProgressOnlyGrows) {
    int lines = 0;
    std::vector<int> positions;
    SurfaceScanControl ctl;
    ctl.lineDone = [&] { ++lines; };
    ctl.progress = [&](int p) { positions.push_back(p); };
    ctl.running = [&] { return lines < 5; };
    OutlinePolylines out;
    EXPECT_FALSE(ScanSurfaceOutline(Window(0, 0, 400, 300, 20, 200, 150), Disc(0, 0, 2), ctl, out));
    EXPECT_EQ(lines, 5);

    // Where nothing is covered every line is marched pixel by pixel: the
    // stop is seen within the first line's march.
    long calls = 0;
    int pumps = 0;
    SurfaceScanControl inLine;
    inLine.pump = [&] { ++pumps; };
    inLine.running = [&] { return pumps < 2; };
    EXPECT_FALSE(ScanSurfaceOutline(Window(0, 0, 400, 300, 20, 200, 150), Disc(50, 50, 1, &calls), inLine, out));
    EXPECT_LT(calls, 100);

    lines = -100000;
    positions.clear();
    OutlineScanArgs a = Window(0, 0, 400, 300, 20, 200, 150);
    a.ScanDir = 1;
    a.GradientOn = true;  // rows: every row is scanned
    EXPECT_TRUE(ScanSurfaceOutline(a, Disc(0, 0, 2), ctl, out));
    EXPECT_EQ(lines, -100000 + 301);
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions.front(), 0);
    EXPECT_EQ(positions.back(), 100);
    for (std::size_t i = 1; i < positions.size(); ++i) EXPECT_GT(positions[i], positions[i - 1]);
}

TEST(SurfaceOutline, HugeWindowIsScannedOnlyOverThePicture) {
    long calls = 0;
    OutlineScanArgs a = Window(-1000000000, -1000000000, 1000000000, 1000000000, 20, 200, 150);
    OutlinePolylines out;
    ASSERT_TRUE(ScanSurfaceOutline(a, Disc(0, 0, 2, &calls), {}, out));
    EXPECT_LT(calls, 200000);
    ASSERT_FALSE(out.Lines.empty());
    EXPECT_GT(out.Lines[0].size(), 20u);
}

// The outline of the sphere x² + y² + z² = 25 lies on its exact contour
// under the oblique projection.
TEST(SurfaceOutline, SphereOutlineIsItsContour) {
    const auto corners = SurfaceBoxCorners(MakeSurfaceBox(pelmar::test::CubeSections(-5, 5)), {});
    const int s = 10, cx = 200, cy = 150;
    for (std::uint8_t mode : {1, 0}) {
        for (std::uint8_t dir : {0, 1}) {
            RayProbe probe("x^2+y^2+z^2-25", corners, mode, 0.1);
            OutlineScanArgs a = Window(120, 60, 280, 240, s, cx, cy);
            a.ScanDir = dir;
            OutlinePolylines out;
            ASSERT_TRUE(ScanSurfaceOutline(a, probe.hit(), {}, out));
            std::size_t points = 0;
            for (const auto& l : out.Lines) {
                for (const CurvePoint& p : l) {
                    ++points;
                    const double y = (p.x - cx) / double(s), z = (cy - p.y) / double(s);
                    // Within a pixel (the scan passes tangent rays in half-pixel steps).
                    EXPECT_NEAR(pelmar::test::SphereContourError(y, z, 5), 0, mode == 1 ? 0.01 : 0.05)
                        << y << " " << z;
                }
            }
            EXPECT_GT(points, 40u);
        }
    }
}
