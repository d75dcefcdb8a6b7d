// The shape exports keep of a segment only what the picture shows: a line
// of any length, up to 1E15 pixels, becomes an office line within reach of
// the picture, and a dashed one starts a whole number of dash periods from
// its first end, so that its dashes on the picture stay where they were.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "drawing/line_paint.h"
#include "paint_fixture.h"
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
    void OfficeTextBox(int, int, const std::string&, double, double, const std::string&, const std::string&,
                       const std::string&, const std::string&, bool, bool, bool, bool, double, std::uint8_t,
                       TColor) override {}
    void OfficeOval(std::uint8_t, TColor, double, double, double, double) override {}
    void OfficeLine(TColor, bool, std::uint8_t, double x1, double y1, double x2, double y2, double, std::uint8_t,
                    std::uint8_t, const ArrowheadSizes&) override {
        lines.push_back({x1, y1, x2, y2});
    }
    void OfficeArc(TColor, bool, std::uint8_t, double, double, double, double, double, double, double, double,
                   double, double) override {}
    void OfficeFreeform(const DCurve1&, TColor, bool, std::uint8_t, double) override {}
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
