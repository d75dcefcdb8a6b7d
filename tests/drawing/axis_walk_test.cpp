// A coordinate system's ticks, grid lines, numbers and graphs are walked
// only where the picture shows them: however long the axes and however
// large or small the division, the calls stay bounded by the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "coord_fixture.h"
#include "drawing/coord_marks.h"
#include "drawing/coord_paint.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// What a 400 x 300 picture (with kMarkReach around it) can show at a step of
// `step` pixels: ticks, grid lines and numbers on up to three axes, with the
// frame's own calls.
double Bound(double step) {
    const double side = 400 + 2 * kMarkReach;
    return 6 * (step >= 0.5 ? side / step + 2 : 1) * 3 + 200;
}

}  // namespace

TEST(AxisWalk, MarksAreBoundedByThePicture) {
    const struct {
        double div, scale;  // one division is div * scale pixels
        double reach;       // the axes run this far from the centre either way
    } cases[] = {
        {1, 20, 180},      {1, 327222, 1e9},   {1, 20, 1e9},      {1e-9, 20, 1e9}, {1e12, 1e3, 1e12},
        {0.05, 10.5, 2e9}, {1, 0.6, 1.5e9},    {3e-7, 1e6, 1e15}, {1, 1, 1e15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "div " << c.div << " scale " << c.scale << " reach " << c.reach);
        const double step = std::round(c.div * c.scale);
        DXOY x = MakeXOY();
        x.DivX.v = x.DivY.v = c.div;
        x.ScaleX.v = x.ScaleY.v = c.scale;
        x.GridOn.v = x.NumbersOn.v = true;
        x.AxisX.P1.ScrX.v = 200 - c.reach;
        x.AxisX.P2.ScrX.v = 200 + c.reach;
        x.AxisY.P1.ScrY.v = 150 - c.reach;
        x.AxisY.P2.ScrY.v = 150 + c.reach;
        RecordingCanvas rec;
        DrawXOY(x, true, 1, Picture(400, 300), 'm', PelTarget(rec), 2);
        EXPECT_LE(static_cast<double>(rec.lines().size()), Bound(step));
        EXPECT_TRUE(step < 1 || step > 100 || !LinesStarting(rec, "drawLine").empty());  // ticks are there

        DXZ z = MakeXYZ();
        z.Div.v = c.div;
        z.Scale.v = c.scale;
        z.NumbersOn.v = true;
        z.AxisX.P1.ScrX.v = 200 + c.reach;
        z.AxisX.P1.ScrY.v = 150 + c.reach;
        z.AxisX.P2.ScrX.v = 200 - c.reach;
        z.AxisX.P2.ScrY.v = 150 - c.reach;
        z.AxisY.P1.ScrX.v = 200 - c.reach;
        z.AxisY.P2.ScrX.v = 200 + c.reach;
        z.AxisZ.P1.ScrY.v = 150 - c.reach;
        z.AxisZ.P2.ScrY.v = 150 + c.reach;
        RecordingCanvas rec3;
        DrawXYZ(z, true, 1, Picture(400, 300), 'm', PelTarget(rec3), 2);
        EXPECT_LE(static_cast<double>(rec3.lines().size()), Bound(step) + Bound(c.div * c.scale / 2 / std::sqrt(2.0)));
    }
}

// Narrowing keeps exactly the steps whose place lies within the range, in
// either direction of the step, and none for steps that are not finite.
TEST(AxisWalk, ShownStepsKeepThePlacesWithin) {
    const struct {
        double origin, step, lo, hi;
        int first, last;          // before
        int wantFirst, wantLast;  // first > last: none
    } rows[] = {
        {200, 20, -10, 410, -100000, 100000, -10, 10},
        {200, -20, -10, 410, -100000, 100000, -10, 10},
        {200, 20, -10, 410, -3, 5, -3, 5},
        {200, 327222, -1000, 1400, -3000, 3000, 0, 0},
        {5e6, 1, -1000, 1400, -100000, 100000, 1, 0},
        {200, 0, -10, 410, -5, 5, 1, 0},
        {200, std::nan(""), -10, 410, -5, 5, 1, 0},
        {-1e300, 1e-300, -10, 410, -5, 5, 1, 0},
    };
    for (const auto& r : rows) {
        int first = r.first, last = r.last;
        ShownSteps(r.origin, r.step, r.lo, r.hi, first, last);
        if (r.wantFirst > r.wantLast) {
            EXPECT_GT(first, last) << r.origin << " " << r.step;
        } else {
            EXPECT_EQ(first, r.wantFirst) << r.origin << " " << r.step;
            EXPECT_EQ(last, r.wantLast) << r.origin << " " << r.step;
        }
    }
}

// A system whose scale is typed far too large draws its six graphs (the
// polar and parametric ones sampled finely), moved or turned or not, only
// where the picture shows them: each crosses the picture with room around it
// a few times at most, at least a pixel between its points.
TEST(AxisWalk, GraphsAreBoundedByThePicture) {
    const double bound = 6 * 4 * (400 + 300 + 4 * kMarkReach) + Bound(1);
    const char* formulas[] = {"x^3/20-x", "3*sin(x)", "2+cos(5*x)", "x/4+1", "4*cos(3*x)", "x^2/9+y^2/4-1"};
    for (double scale : {20.0, 327222.0, 1e6})
        for (int move = 0; move < 4; ++move) {
            SCOPED_TRACE(::testing::Message() << "scale " << scale << " move " << move);
            DXOY x = MakeXOY();
            x.ScaleX.v = x.ScaleY.v = scale;
            x.DivX.v = x.DivY.v = 1;
            x.GridOn.v = x.NumbersOn.v = true;
            for (std::size_t i = 1; i <= 6; ++i) {
                x.GraphOn[i].v = true;
                x.Graph[i].s = formulas[i - 1];
                x.Move[i].Moved.v = move & 1;
                x.Move[i].DX.v = 0.75;
                x.Move[i].DY.v = -0.5;
                x.Move[i].Rotated.v = move & 2;
                x.Move[i].Angle.v = 30;
                x.Move[i].CX.v = 1;
                x.Move[i].CY.v = 2;
            }
            x.Graph2.s = "3*sin(2*x)";
            for (std::size_t p = 1; p <= 2; ++p) x.Polar[p][2].v = 0.0001;
            x.ParH.v = 0.0001;
            RecordingCanvas rec;
            DrawXOY(x, true, 1, Picture(400, 300), 'm', PelTarget(rec), 2);
            std::size_t points = 0;
            for (const std::string& l : rec.lines())
                if (l.rfind("drawPolyline", 0) == 0 || l.rfind("drawPolygon", 0) == 0)
                    points += static_cast<std::size_t>(std::count(l.begin(), l.end(), '('));
            EXPECT_LE(static_cast<double>(rec.lines().size()), bound);
            EXPECT_LE(static_cast<double>(points), bound);
            EXPECT_TRUE(scale != 20 || points > 1000) << points;  // the graphs are drawn
        }
}
