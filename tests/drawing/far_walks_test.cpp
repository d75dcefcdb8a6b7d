// Far arc angles, turned graphs and surface outlines at huge scales, drawn on
// every target in a watched child: the work of their walks is bounded by the
// picture.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "coord_fixture.h"
#include "drawing/coord_paint.h"
#include "drawing/drawing_work.h"
#include "drawing/ellipse_paint.h"
#include "drawing/sub_curve.h"
#include "figure_fixture.h"
#include "support/recording_sinks.h"
#include "support/watched_child.h"

using namespace pelmar;
using namespace pelmar::test;

TEST(FarWalks, WorkIsBoundedByThePictureOnEveryTarget) {
    constexpr int W = 400, H = 300;
    const DImProj im = Picture(W, H);
    using Draw = std::function<void(const PaintTarget&)>;
    const auto arcs = [im](double arc1, double arc2, double dash1, double dash2) -> Draw {
        DCircle c = MakeEllipse(200, 150, 100, 60);
        c.ViewType.v = 4, c.Arc1.v = arc1, c.Arc2.v = arc2, c.DashArc1.v = dash1, c.DashArc2.v = dash2;
        return [im, c](const PaintTarget& t) { DrawCircle(c, im, t, 2); };
    };
    const auto graph = [im](const char* formula, double angle, double scaleX) -> Draw {  // graph 2 over [-5, 5]
        DXOY x = MakeXOY(H);
        x.GraphOn[2].v = true, x.Graph[2].s = formula, x.Move[2].Rotated.v = true, x.Move[2].Angle.v = angle;
        x.Bounds[2][0].v = x.Bounds[2][2].v = -5, x.Bounds[2][1].v = x.Bounds[2][3].v = 5, x.ScaleX.v = scaleX;
        return [im, x](const PaintTarget& t) { DrawXOY(x, true, 1, im, 'm', t, t.is(TargetKind::Pel) ? 2 : 3); };
    };
    const auto outline = [im](double scale) -> Draw {  // z = z - 1 (nowhere) in the box [-5, 5]^3
        SubCurveArgs a;
        a.ImProj = im, a.Kind = "dec3d", a.Formula1 = "z-1", a.OriginX = W / 2, a.OriginY = H / 2;
        a.Extents = {200, 200, 200, 200, 200, 200}, a.ScaleX = a.ScaleY = scale, a.ObjectSlot = 11, a.Full = true;
        a.Sections.On[0] = a.Sections.On[1] = true, a.Sections.Value[0] = -5, a.Sections.Value[1] = 5;
        a.Sections.Bounds[0] = a.Sections.Bounds[1] = {-5, 5, -5, 5};
        a.Outline.On = true, a.Outline.X1 = 0, a.Outline.Y1 = 0, a.Outline.X2 = W, a.Outline.Y2 = H;
        return [a](const PaintTarget& t) {
            if (t.is(TargetKind::Pel)) DrawSubCurve(a, t, 1);
            DrawSubCurve(a, t, t.is(TargetKind::Pel) ? 2 : 3);
        };
    };
    const std::int64_t columns = 12 * (W + H + 2 * 1000);       // a few pictures with the marks' room
    const std::int64_t raySteps = std::int64_t{W} * H * 4 * (W + H);  // a few bounded rays a pixel
    const char* const blue = "drawPolyline pen(2,#0000FF";
    const struct { const char* what; Draw draw; std::int64_t DrawingWork::*counter; std::int64_t bound; const char* shown; } cases[] = {
        {"dash arc 1e20..1e20", arcs(0, 360, 1e20, 1e20), &DrawingWork::arcCopies, 24, "drawArc"},
        {"arc 1e20..1e20", arcs(1e20, 1e20, 0, 100), &DrawingWork::arcCopies, 24, "drawArc"},
        {"arc -1e20..1e300", arcs(-1e20, 1e300, -4e18, 7e17), &DrawingWork::arcCopies, 24, "drawArc"},
        {"graph 1 turned 56 at 1e7", graph("1", 56, 1e7), &DrawingWork::columns, columns, blue},
        {"graph x^0.5 turned 30 at 1e9", graph("x^0.5", 30, 1e9), &DrawingWork::columns, columns, blue},
        {"graph x turned 90 at 1e8", graph("x", 90, 1e8), &DrawingWork::columns, columns, blue},
        {"outline at 1e5", outline(1e5), &DrawingWork::raySteps, raySteps, ""},
        {"outline at 1e6", outline(1e6), &DrawingWork::raySteps, raySteps, ""},
    };
    for (const auto& c : cases)
        for (TargetKind kind : {TargetKind::Pel, TargetKind::Cdr, TargetKind::Wrd}) {
            const auto drawn = [&] {
                RecordingCanvas canvas;
                RecordingCdrSink cdr;
                RecordingWordSink wrd;
                bool running = true;
                GraphRun run;
                run.Running = &running;
                PaintTarget t = kind == TargetKind::Pel ? PelTarget(canvas) : kind == TargetKind::Cdr ? CdrTarget(cdr) : WrdTarget(wrd);
                t.run = &run, WorkDone() = {}, c.draw(t);
                if (const std::int64_t done = WorkDone().*c.counter; done > c.bound) return "worked " + std::to_string(done);
                const bool shown = kind != TargetKind::Pel || !*c.shown || !LinesStarting(canvas, c.shown).empty();
                return shown ? std::string() : std::string("no ") + c.shown;
            };
            EXPECT_EQ(RunWatched(drawn, 20, 1 << 20), "") << c.what << " on target " << static_cast<int>(kind);
        }
}
