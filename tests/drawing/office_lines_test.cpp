// The shape exports keep of a segment only what the picture shows: a line
// of any length, up to 1E15 pixels, becomes an office line within reach of
// the picture, and a dashed one starts a whole number of dash periods from
// its first end, so that its dashes on the picture stay where they were.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "drawing/curve_output.h"
#include "drawing/ellipse_paint.h"
#include "drawing/line_paint.h"
#include "figure_fixture.h"
#include "paint_fixture.h"
#include "support/recording_sinks.h"
#include "platform/canvas_geometry.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct Segment {
    double x1, y1, x2, y2;
};

class LineCatcher final : public WordSink {
public:
    std::vector<Segment> lines;
    std::vector<std::vector<CurvePoint>> freeforms;
    int arcs = 0;
    void OfficeTextBox(int, int, const std::string&, double, double, const std::string&, const std::string&,
                       const std::string&, const std::string&, bool, bool, bool, bool, double, std::uint8_t,
                       TColor) override {}
    void OfficeOval(std::uint8_t, TColor, double, double, double, double) override {}
    void OfficeLine(TColor, bool, std::uint8_t, double x1, double y1, double x2, double y2, double, std::uint8_t,
                    std::uint8_t, const ArrowheadSizes&) override {
        lines.push_back({x1, y1, x2, y2});
    }
    void OfficeArc(TColor, bool, std::uint8_t, double, double, double, double, double, double, double, double,
                   double, double) override {
        ++arcs;
    }
    void OfficeFreeform(const DCurve1& poly, TColor, bool, std::uint8_t, double) override {
        freeforms.push_back(poly.points());
    }
};

}  // namespace

TEST(OfficeLines, OnlyWhatThePictureShowsAndInPhase) {
    DImProj im;
    im.Width = 400;
    im.Height = 300;
    std::mt19937_64 rng(17);
    std::uniform_real_distribution<double> u(0, 1);
    int crossing = 0;
    for (int i = 0; i < 2000; ++i) {
        const double length = std::pow(10.0, u(rng) * 15);
        const double angle = u(rng) * 2 * std::numbers::pi;
        const double before = u(rng) * length;
        const double vx = u(rng) * 400, vy = u(rng) * 300;  // through the picture
        DLine l = MakeLine(vx - std::cos(angle) * before, vy - std::sin(angle) * before,
                           vx + std::cos(angle) * (length - before), vy + std::sin(angle) * (length - before),
                           1 + i % 4);
        const bool dashed = i % 2 == 0;
        if (dashed) {
            l.LineType.v = 2;
            l.Dash.v = 6;
            l.Gap.v = 4;
        }
        LineCatcher sink;
        PaintTarget t;
        t.kind = TargetKind::Wrd;
        t.wrd = &sink;
        DrawLineElement(l, 0, im, t);
        ASSERT_EQ(sink.lines.size(), 1u);
        const Segment& s = sink.lines[0];
        const double period = dashed ? 2310.0 * l.Thick.v : 0;
        const double reach = StrokeReach(l.Thick.v) + period + 1;
        for (const auto& [x, y] : {std::pair{s.x1, s.y1}, {s.x2, s.y2}}) {
            EXPECT_GE(x, -reach);
            EXPECT_LE(x, 400 + reach);
            EXPECT_GE(y, -reach);
            EXPECT_LE(y, 300 + reach);
        }
        if (!dashed || length > 1e7) continue;
        // The first end as the painter keeps it: the left one (the upper one
        // of an upright line).
        const double dx = l.P2.ScrX.v - l.P1.ScrX.v, dy = l.P2.ScrY.v - l.P1.ScrY.v;
        const bool leftFirst = std::fabs(dx) > 1e-3 ? dx > 0 : dy >= 0;
        const double fx = leftFirst ? l.P1.ScrX.v : l.P2.ScrX.v, fy = leftFirst ? l.P1.ScrY.v : l.P2.ScrY.v;
        const double along = std::hypot(s.x1 - fx, s.y1 - fy);
        const double off = std::fmod(along, period);
        EXPECT_TRUE(off < 1e-6 || period - off < 1e-6) << along << " " << period;
        crossing += along > 0;
    }
    EXPECT_GT(crossing, 50);
}

// Ellipses and arcs far larger than the picture (up to 1E12 pixels) go to
// the word processor as freeforms of the part the picture shows, a dashed
// circle's parts starting whole dash-style periods along it from its start,
// and to the drawing program as curves; ellipses that fit go as ellipse
// shapes as before.  A graph's line far beyond the picture is cut alike.
TEST(OfficeLines, HugeEllipsesGoAsThePartThePictureShows) {
    DImProj im;
    im.Width = 400;
    im.Height = 300;
    im.Dpi = 96;
    std::mt19937_64 rng(31);
    std::uniform_real_distribution<double> u(0, 1);
    int phased = 0;
    for (int i = 0; i < 300; ++i) {
        const double r = std::pow(10.0, 3 + u(rng) * 9);
        const bool circle = i % 2 == 0;
        const double a = r, b = circle ? r : r * std::pow(10.0, -2 * u(rng));
        const double t = u(rng) * 2 * std::numbers::pi;
        const double vx = u(rng) * 400, vy = u(rng) * 300;
        DCircle c = MakeEllipse(vx - a * std::cos(t), vy - b * std::sin(t), a, b, 1 + i % 3);
        const std::uint8_t types[3] = {1, 2, 4};
        c.ViewType.v = types[(i / 2) % 3];
        c.DashArc1.v = 100;
        c.DashArc2.v = 200;
        if (i % 5 == 1) c.Tilt.v = 25;
        if (i % 4 == 3) {
            c.Arc1.v = 30;
            c.Arc2.v = 250;
        }
        LineCatcher sink;
        PaintTarget target;
        target.kind = TargetKind::Wrd;
        target.wrd = &sink;
        DrawEllipse(c, 0, im, target);
        ASSERT_EQ(sink.arcs, 0) << i;
        ASSERT_LE(sink.freeforms.size(), 10u) << i;
        const double period = 2310.0 * c.Thick.v;
        const double reach = StrokeReach(c.Thick.v) + period + 3;
        for (const auto& pts : sink.freeforms) {
            ASSERT_GE(pts.size(), 2u);
            ASSERT_LE(pts.size(), 5000u);
            for (const CurvePoint& p : pts) {
                ASSERT_TRUE(p.x > -reach && p.x < 400 + reach && p.y > -reach && p.y < 300 + reach) << i;
            }
        }
        if (circle && c.Tilt.v == 0 && c.Arc1.v == c.Arc2.v && c.ViewType.v == 2) {
            // The whole circle runs clockwise from 3 o'clock.
            const double cx = c.Center.ScrX.v, cy = c.Center.ScrY.v;
            for (const auto& pts : sink.freeforms) {
                if (std::abs(std::hypot(pts[0].x - cx, pts[0].y - cy) - r) < 1e-3) continue;
                const double turn = std::fmod(std::atan2(pts[1].y - cy, pts[1].x - cx) + 2 * std::numbers::pi,
                                              2 * std::numbers::pi);
                const double along = r * turn - std::hypot(pts[1].x - pts[0].x, pts[1].y - pts[0].y);
                const double off = std::fmod(along, period);
                EXPECT_TRUE(off < 0.05 || period - off < 0.05) << i << " " << along;
                ++phased;
            }
        }

        RecordingCdrSink cdr;
        PaintTarget drawing;
        drawing.kind = TargetKind::Cdr;
        drawing.cdr = &cdr;
        DrawEllipse(c, 0, im, drawing);
        for (const std::string& line : cdr.lines()) ASSERT_NE(line.rfind("CreateEllipse", 0), 0u) << i;
        ASSERT_LE(cdr.lines().size(), 50000u) << i;
    }
    EXPECT_GT(phased, 10);

    // An ellipse that fits is one shape, as before.
    LineCatcher sink;
    PaintTarget target;
    target.kind = TargetKind::Wrd;
    target.wrd = &sink;
    DrawEllipse(MakeEllipse(200, 150, 900, 40, 2), 0, im, target);
    EXPECT_EQ(sink.arcs, 1);
    EXPECT_TRUE(sink.freeforms.empty());

    // A graph's dashed line from far left to far right of the picture.
    std::vector<CurvePoint> line;
    for (int k = -5; k <= 5; ++k) line.push_back(MakeCurvePoint(k * 1e11 + 200, 150 + k, true));
    OutputPolyline(MakeCurve1(line), 2, 0, true, 1, im, 6, 4, target, 2);
    ASSERT_EQ(sink.freeforms.size(), 1u);
    for (const CurvePoint& p : sink.freeforms[0]) EXPECT_LT(std::abs(p.x - 200), 200 + StrokeReach(2) + 2310 * 2 + 1);
}
