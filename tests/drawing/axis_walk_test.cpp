// The ticks, grid lines and numbers of a coordinate system are walked only
// where the picture shows them: however long the axes and however large or
// small the division, a system draws a number of marks bounded by the
// picture, and the marks on the picture stay where they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "coord_fixture.h"
#include "drawing/coord_marks.h"
#include "drawing/coord_paint.h"
#include "support/recording_sinks.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct Case {
    double div, scale;  // one division is div * scale pixels
    double reach;       // the axes run this far from the centre either way
};

// A bound on what a 400 x 300 picture (with kMarkReach around it) can show
// at a step of `step` pixels: ticks, grid lines and numbers on two or three
// axes, with the frame's own calls.
double Bound(double step) {
    const double side = 400 + 2 * kMarkReach;
    const double perAxis = step >= 0.5 ? side / step + 2 : 1;
    return 6 * perAxis * 3 + 200;
}

}  // namespace

TEST(AxisWalk, MarksAreBoundedByThePicture) {
    const Case cases[] = {
        {1, 20, 180},          {1, 327222, 1e9},    {1, 20, 1e9},  {1e-9, 20, 1e9}, {1e12, 1e3, 1e12},
        {0.05, 10.5, 2e9},     {1, 0.6, 1.5e9},     {3e-7, 1e6, 1e15}, {1, 1, 1e15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "div " << c.div << " scale " << c.scale << " reach " << c.reach);
        const double step = std::round(c.div * c.scale);
        {
            DXOY x = MakeXOY();
            x.DivX.v = x.DivY.v = c.div;
            x.ScaleX.v = x.ScaleY.v = c.scale;
            x.GridOn.v = x.NumbersOn.v = true;
            x.AxisX.P1.ScrX.v = 200 - c.reach;
            x.AxisX.P2.ScrX.v = 200 + c.reach;
            x.AxisY.P1.ScrY.v = 150 - c.reach;
            x.AxisY.P2.ScrY.v = 150 + c.reach;
            RecordingCanvas rec;
            PaintTarget t = PelTarget(rec);
            DrawXOY(x, true, 1, Picture(400, 300), 'm', t, 2);
            EXPECT_LE(static_cast<double>(rec.lines().size()), Bound(step));
            // The ticks the picture shows are all there.
            if (step >= 1 && step <= 100) {
                std::size_t ticks = 0;
                for (const std::string& l : rec.lines()) ticks += l.rfind("drawLine", 0) == 0;
                EXPECT_GT(ticks, 0u);
            }
        }
        {
            DXZ x = MakeXYZ();
            x.Div.v = c.div;
            x.Scale.v = c.scale;
            x.NumbersOn.v = true;
            x.AxisX.P1.ScrX.v = 200 + c.reach;
            x.AxisX.P1.ScrY.v = 150 + c.reach;
            x.AxisX.P2.ScrX.v = 200 - c.reach;
            x.AxisX.P2.ScrY.v = 150 - c.reach;
            x.AxisY.P1.ScrX.v = 200 - c.reach;
            x.AxisY.P2.ScrX.v = 200 + c.reach;
            x.AxisZ.P1.ScrY.v = 150 - c.reach;
            x.AxisZ.P2.ScrY.v = 150 + c.reach;
            RecordingCanvas rec;
            DrawXYZ(x, true, 1, Picture(400, 300), 'm', PelTarget(rec), 2);
            EXPECT_LE(static_cast<double>(rec.lines().size()), Bound(step) + Bound(c.div * c.scale / 2 / std::sqrt(2.0)));
        }
    }
}

// Narrowing keeps exactly the steps whose place lies within the range, in
// either direction of the step, and none for steps that are not finite.
TEST(AxisWalk, ShownStepsKeepThePlacesWithin) {
    struct Row {
        double origin, step, lo, hi;
        int first, last;  // before
        int wantFirst, wantLast;
    };
    const Row rows[] = {
        {200, 20, -10, 410, -100000, 100000, -10, 10},
        {200, -20, -10, 410, -100000, 100000, -10, 10},
        {200, 20, -10, 410, -3, 5, -3, 5},
        {200, 327222, -1000, 1400, -3000, 3000, 0, 0},
        {5e6, 1, -1000, 1400, -100000, 100000, 1, 0},  // nothing shows
        {200, 0, -10, 410, -5, 5, 1, 0},
        {200, std::nan(""), -10, 410, -5, 5, 1, 0},
        {-1e300, 1e-300, -10, 410, -5, 5, 1, 0},
    };
    for (const Row& r : rows) {
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
