// The shape exports keep of a line or ellipse only what the picture shows,
// dashed ones starting whole dash periods along from their start, so that
// their dashes on the picture stay where they were.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "drawing/curve_output.h"
#include "drawing/ellipse_paint.h"
#include "drawing/line_paint.h"
#include "figure_fixture.h"
#include "paint_fixture.h"
#include "platform/canvas_geometry.h"
#include "support/long_strokes.h"
#include "support/recording_sinks.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// Keeps the lines and freeforms at full precision; counts the arcs.
class LineCatcher final : public WordSink {
public:
    std::vector<std::array<PointF, 2>> lines;
    std::vector<std::vector<CurvePoint>> freeforms;
    int arcs = 0;
    void OfficeTextBox(int, int, const std::string&, double, double, const std::string&, const std::string&,
                       const std::string&, const std::string&, bool, bool, bool, bool, double, std::uint8_t,
                       TColor) override {}
    void OfficeOval(std::uint8_t, TColor, double, double, double, double) override {}
    void OfficeLine(TColor, bool, std::uint8_t, double x1, double y1, double x2, double y2, double, std::uint8_t,
                    std::uint8_t, const ArrowheadSizes&) override {
        lines.push_back({PointF{x1, y1}, PointF{x2, y2}});
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

// A segment up to 1E15 pixels through the picture becomes one office line
// within reach of it; a dashed one starts whole periods from its first end.
TEST(OfficeLines, OnlyWhatThePictureShowsAndInPhase) {
    const DImProj im = Picture(400, 300);
    std::mt19937_64 rng(17);
    int crossing = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto ends = LongSegment(rng, 15, [&] { return PointF{Uniform(rng) * 400, Uniform(rng) * 300}; });
        DLine l = MakeLine(ends[0].x, ends[0].y, ends[1].x, ends[1].y, 1 + i % 4);
        const bool dashed = i % 2 == 0;
        if (dashed) {
            l.LineType.v = 2;
            l.Dash.v = 6;
            l.Gap.v = 4;
        }
        LineCatcher sink;
        DrawLineElement(l, 0, im, WrdTarget(sink));
        ASSERT_EQ(sink.lines.size(), 1u);
        const double period = dashed ? 2310.0 * l.Thick.v : 0;
        const double reach = StrokeReach(l.Thick.v) + period + 1;
        for (const PointF& p : sink.lines[0])
            EXPECT_TRUE(p.x >= -reach && p.x <= 400 + reach && p.y >= -reach && p.y <= 300 + reach) << i;
        if (!dashed || std::hypot(ends[1].x - ends[0].x, ends[1].y - ends[0].y) > 1e7) continue;
        // The first end as the painter keeps it: the left one (the upper one
        // of an upright line).
        const double dx = ends[1].x - ends[0].x;
        const PointF first = (std::fabs(dx) > 1e-3 ? dx > 0 : ends[1].y >= ends[0].y) ? ends[0] : ends[1];
        const double along = std::hypot(sink.lines[0][0].x - first.x, sink.lines[0][0].y - first.y);
        const double off = std::fmod(along, period);
        EXPECT_TRUE(off < 1e-6 || period - off < 1e-6) << along << " " << period;
        crossing += along > 0;
    }
    EXPECT_GT(crossing, 50);
}

// Ellipses and arcs far larger than the picture (up to 1E12 pixels) go to
// the word processor as freeforms of the part the picture shows, a dashed
// circle's parts starting whole periods along it from its start, and to the
// drawing program as curves; an ellipse that fits is one ellipse shape.  A
// graph's line far beyond the picture is cut alike.
TEST(OfficeLines, HugeEllipsesGoAsThePartThePictureShows) {
    const DImProj im = Picture(400, 300);
    std::mt19937_64 rng(31);
    int phased = 0;
    for (int i = 0; i < 300; ++i) {
        const ArcCase a = RandomArc(rng, {0, 0, 400, 300}, 3, 12);
        DCircle c = MakeEllipse(a.centre.x, a.centre.y, a.rx, a.ry, 1 + i % 3);
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
        DrawEllipse(c, 0, im, WrdTarget(sink));
        ASSERT_EQ(sink.arcs, 0) << i;
        ASSERT_LE(sink.freeforms.size(), 10u) << i;
        const double period = 2310.0 * c.Thick.v;
        const double reach = StrokeReach(c.Thick.v) + period + 3;
        for (const auto& pts : sink.freeforms) {
            ASSERT_GE(pts.size(), 2u);
            ASSERT_LE(pts.size(), 5000u);
            for (const CurvePoint& p : pts)
                ASSERT_TRUE(p.x > -reach && p.x < 400 + reach && p.y > -reach && p.y < 300 + reach) << i;
        }
        if (a.rx == a.ry && c.Tilt.v == 0 && c.Arc1.v == c.Arc2.v && c.ViewType.v == 2) {
            // The whole circle runs clockwise from 3 o'clock.
            const double cx = c.Center.ScrX.v, cy = c.Center.ScrY.v;
            for (const auto& pts : sink.freeforms) {
                if (std::abs(std::hypot(pts[0].x - cx, pts[0].y - cy) - a.rx) < 1e-3) continue;
                const double turn = std::fmod(std::atan2(pts[1].y - cy, pts[1].x - cx) + 2 * std::numbers::pi,
                                              2 * std::numbers::pi);
                const double along = a.rx * turn - std::hypot(pts[1].x - pts[0].x, pts[1].y - pts[0].y);
                const double off = std::fmod(along, period);
                EXPECT_TRUE(off < 0.05 || period - off < 0.05) << i << " " << along;
                ++phased;
            }
        }

        RecordingCdrSink cdr;
        DrawEllipse(c, 0, im, CdrTarget(cdr));
        for (const std::string& line : cdr.lines()) ASSERT_NE(line.rfind("CreateEllipse", 0), 0u) << i;
        ASSERT_LE(cdr.lines().size(), 50000u) << i;
    }
    EXPECT_GT(phased, 10);

    LineCatcher sink;
    DrawEllipse(MakeEllipse(200, 150, 900, 40, 2), 0, im, WrdTarget(sink));
    EXPECT_EQ(sink.arcs, 1);
    EXPECT_TRUE(sink.freeforms.empty());

    std::vector<CurvePoint> line;
    for (int k = -5; k <= 5; ++k) line.push_back(MakeCurvePoint(k * 1e11 + 200, 150 + k, true));
    OutputPolyline(MakeCurve1(line), 2, 0, true, 1, im, 6, 4, WrdTarget(sink), 2);
    ASSERT_EQ(sink.freeforms.size(), 1u);
    for (const CurvePoint& p : sink.freeforms[0]) EXPECT_LT(std::abs(p.x - 200), 200 + StrokeReach(2) + 2310 * 2 + 1);
}
