// Drawings at the edges of what a document can hold: far arc angles, turned
// graphs at huge scales and surface outlines at huge scales.  Each is drawn
// on the own picture and in both office exports in a watched child, and the
// work its walks do (samples of a graph, samples along viewing rays, copies
// of a dash range) is bounded by the picture.
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

namespace far_walks {

constexpr int kPicW = 400, kPicH = 300;

DCircle FarArcs(double arc1, double arc2, double dash1, double dash2) {
    DCircle c = MakeEllipse(200, 150, 100, 60);
    c.ViewType.v = 4;
    c.Arc1.v = arc1, c.Arc2.v = arc2;
    c.DashArc1.v = dash1, c.DashArc2.v = dash2;
    return c;
}

// Graph 2 of a 2D system over x in [-5, 5], turned about the origin.
DXOY TurnedGraph(const char* formula, double angle, double scaleX) {
    DXOY x = MakeXOY(kPicH);
    x.GraphOn[2].v = true;
    x.Graph[2].s = formula;
    x.Bounds[2][0].v = -5, x.Bounds[2][1].v = 5, x.Bounds[2][2].v = -5, x.Bounds[2][3].v = 5;
    x.Move[2].Rotated.v = true;
    x.Move[2].Angle.v = angle;
    x.ScaleX.v = scaleX;
    return x;
}

// The surface z = z - 1 (nowhere) of a 3D system with its outline on over
// the picture: every scanned line is searched pixel by pixel, every ray
// along all of the box.
SubCurveArgs Outline(double scale) {
    SubCurveArgs a;
    a.ImProj = Picture(kPicW, kPicH);
    a.Kind = "dec3d";
    a.Formula1 = "z-1";
    a.OriginX = kPicW / 2, a.OriginY = kPicH / 2;
    a.Extents = {200, 200, 200, 200, 200, 200};
    a.ScaleX = a.ScaleY = scale;
    // The box [-5, 5]^3, from its end sections x = -5 and x = 5.
    a.Sections.On[0] = a.Sections.On[1] = true;
    a.Sections.Value[0] = -5, a.Sections.Value[1] = 5;
    a.Sections.Bounds[0] = a.Sections.Bounds[1] = {-5, 5, -5, 5};
    a.ObjectSlot = 11;
    a.Full = true;
    a.Outline.On = true;
    a.Outline.X1 = 0, a.Outline.Y1 = 0, a.Outline.X2 = kPicW, a.Outline.Y2 = kPicH;
    return a;
}

struct FarCase {
    const char* what;
    std::function<void(const PaintTarget&)> draw;
    std::int64_t DrawingWork::*counter;
    std::int64_t bound;
    const char* shown = "";  // what the own picture draws of it
};

}  // namespace far_walks

using namespace far_walks;

TEST(FarWalks, WorkIsBoundedByThePictureOnEveryTarget) {
    const DImProj im = Picture(kPicW, kPicH);
    const auto ellipse = [im](DCircle c) { return [im, c](const PaintTarget& t) { DrawCircle(c, im, t, 2); }; };
    const auto graph = [im](DXOY x) {
        return [im, x](const PaintTarget& t) { DrawXOY(x, true, 1, im, 'm', t, t.is(TargetKind::Pel) ? 2 : 3); };
    };
    const auto outline = [](SubCurveArgs a) {
        return [a](const PaintTarget& t) {
            if (t.is(TargetKind::Pel)) DrawSubCurve(a, t, 1);
            DrawSubCurve(a, t, t.is(TargetKind::Pel) ? 2 : 3);
        };
    };
    // Samples a graph may take: a few times the picture with the room
    // around it that the marks may reach.
    const std::int64_t columns = 12 * (kPicW + kPicH + 2 * 1000);
    // Samples along the rays of one outline: a few rays per scanned pixel
    // and a bounded march each.
    const std::int64_t raySteps = std::int64_t{kPicW} * kPicH * 4 * (kPicW + kPicH);
    const FarCase cases[] = {
        {"dash arc 1e20..1e20", ellipse(FarArcs(0, 360, 1e20, 1e20)), &DrawingWork::arcCopies, 24, "drawArc"},
        {"arc 1e20..1e20", ellipse(FarArcs(1e20, 1e20, 0, 100)), &DrawingWork::arcCopies, 24, "drawArc"},
        {"arc -1e20..1e300", ellipse(FarArcs(-1e20, 1e300, -4e18, 7e17)), &DrawingWork::arcCopies, 24, "drawArc"},
        {"graph 1 turned 56 at 1e7", graph(TurnedGraph("1", 56, 1e7)), &DrawingWork::columns, columns, "drawPolyline pen(2,#0000FF"},
        {"graph x^0.5 turned 30 at 1e9", graph(TurnedGraph("x^0.5", 30, 1e9)), &DrawingWork::columns, columns, "drawPolyline pen(2,#0000FF"},
        {"graph x turned 90 at 1e8", graph(TurnedGraph("x", 90, 1e8)), &DrawingWork::columns, columns, "drawPolyline pen(2,#0000FF"},
        {"outline at 1e5", outline(Outline(1e5)), &DrawingWork::raySteps, raySteps},
        {"outline at 1e6", outline(Outline(1e6)), &DrawingWork::raySteps, raySteps},
    };
    for (const FarCase& c : cases)
        for (TargetKind kind : {TargetKind::Pel, TargetKind::Cdr, TargetKind::Wrd}) {
            const std::string said = RunWatched(
                [&] {
                    RecordingCanvas canvas;
                    RecordingCdrSink cdr;
                    RecordingWordSink wrd;
                    bool running = true;
                    GraphRun run;
                    run.Running = &running;
                    PaintTarget t = kind == TargetKind::Pel ? PelTarget(canvas)
                                    : kind == TargetKind::Cdr ? CdrTarget(cdr)
                                                              : WrdTarget(wrd);
                    t.run = &run;
                    WorkDone() = {};
                    c.draw(t);
                    const std::int64_t done = WorkDone().*c.counter;
                    if (done > c.bound) return "worked " + std::to_string(done);
                    const bool shown = kind != TargetKind::Pel || !*c.shown || !LinesStarting(canvas, c.shown).empty();
                    return shown ? std::string() : std::string("no ") + c.shown;
                },
                20, 1 << 20);
            EXPECT_EQ(said, "") << c.what << " on target " << static_cast<int>(kind);
        }
}
