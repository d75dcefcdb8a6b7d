// A redraw of a 2D coordinate system with grid, numbers and six graphs on a
// 1200 x 900 picture; the implicit graph is traced in the first redraw and
// reused from the snapshot's cache afterwards.  Wall time.
#include <benchmark/benchmark.h>

#include "gui_app.h"
#include <cstdlib>

#include "drawing/redraw.h"
#include "support/fake_redraw_host.h"

using namespace pelmar;

namespace {

DPoint At(double x, double y) {
    DPoint p;
    p.ScrX.v = x;
    p.ScrY.v = y;
    p.Typ.v = 1;
    p.Color.v = 0;
    p.NameFont.s = p.IndexFont.s = "DejaVu Sans";
    p.NameSize.v = 10;
    p.IndexSize.v = 8;
    return p;
}

DLine Axis(double x1, double y1, double x2, double y2) {
    DLine l;
    l.P1 = At(x1, y1);
    l.P2 = At(x2, y2);
    l.Thick.v = 1;
    l.LineType.v = 1;
    l.Arrow2.v = true;
    l.Arrow2Len.v = 12;
    l.Arrow2Angle.v = 15;
    return l;
}

std::unique_ptr<DProj> Document() {
    auto d = NewDocument();
    d->Im.Width = 1200;
    d->Im.Height = 900;
    DXOY x;
    x.Layer.v = 1;
    x.Thick.v = 1;
    x.Center = At(600, 450);
    x.Center.Typ.v = 2;
    x.Center.Radius.v = 3;
    x.AxisX = Axis(40, 450, 1160, 450);
    x.AxisY = Axis(600, 40, 600, 860);
    x.ScaleX.v = x.ScaleY.v = 40;
    x.DivX.v = x.DivY.v = 0.5;
    x.MarkWidth.v = 1;
    x.MarkHeight.v = 8;
    x.GridOn.v = true;
    x.GridThick.v = 1;
    x.GridStep.v = 2;
    x.NumbersOn.v = true;
    x.NumberStep.v = 2;
    x.NumberFont.s = "DejaVu Sans";
    x.NumberSize.v = 8;
    const char* formulas[] = {"x^3/20-x", "3*sin(x)", "2+cos(5*x)", "x/4", "4*cos(3*x)", "x^2/49+y^2/16-1"};
    for (std::size_t i = 1; i <= 6; ++i) {
        x.GraphOn[i].v = true;
        x.Graph[i].s = formulas[i - 1];
        x.GraphThick[i].v = 2;
        x.GraphColor[i].v = static_cast<TColor>(0x202020 * i);
        x.Style[i].Visible.v = 1;
        x.Style[i].Hidden.v = 1;
        x.Move[i].NZ.v = 1;
    }
    x.Graph2.s = "4*sin(2*x)";
    for (std::size_t b = 1; b <= 3; ++b) {
        x.Bounds[b][0].v = -13;
        x.Bounds[b][1].v = 13;
        x.Bounds[b][2].v = -10;
        x.Bounds[b][3].v = 10;
    }
    for (std::size_t p = 1; p <= 2; ++p) {
        x.Polar[p][0].v = 0;
        x.Polar[p][1].v = 20;
        x.Polar[p][2].v = 0.01;
    }
    x.ParA.v = 0;
    x.ParB.v = 6.3;
    x.ParH.v = 0.01;
    d->Obj.Xy.add(x);
    return d;
}

void BM_CoordinateSystemRedraw(benchmark::State& state) {
    bench::EnsureGuiApp();
    auto proj = Document();
    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, 1200, 900};
    RepaintProject(*proj, st, host, RedrawMode::Window, true);  // traces and caches the implicit graph
    for (auto _ : state) {
        RepaintProject(*proj, st, host, RedrawMode::Window, state.range(0) != 0);
        host.log.clear();
        benchmark::DoNotOptimize(host.shown.constBits());
    }
}
BENCHMARK(BM_CoordinateSystemRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The system with a scale typed far too large (327222 pixels a unit): the
// ticks, grid and numbers are walked only where the picture shows them.
void BM_CoordinateSystemHugeScale(benchmark::State& state) {
    bench::EnsureGuiApp();
    auto proj = Document();
    DXOY& x = proj->Obj.Xy[1];
    x.ScaleX.v = x.ScaleY.v = static_cast<double>(state.range(0));
    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, 1200, 900};
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    for (auto _ : state) {
        RepaintProject(*proj, st, host, RedrawMode::Window, true);
        host.log.clear();
        benchmark::DoNotOptimize(host.shown.constBits());
    }
}
BENCHMARK(BM_CoordinateSystemHugeScale)->Arg(327222)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same system dragged: every redraw finds it a pixel to the side of the
// last one (over 200 places, more than any cache holds), so its graphs are
// sampled and stroked anew and nothing kept of an earlier picture fits.
void BM_CoordinateSystemDragged(benchmark::State& state) {
    bench::EnsureGuiApp();
    auto proj = Document();
    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, 1200, 900};
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    int place = 0;
    for (auto _ : state) {
        const double step = ++place % 200 == 0 ? -199 : 1;
        DXOY& x = proj->Obj.Xy[1];
        for (DPoint* p : {&x.Center, &x.AxisX.P1, &x.AxisX.P2, &x.AxisY.P1, &x.AxisY.P2}) p->ScrX.v += step;
        RepaintProject(*proj, st, host, RedrawMode::Window, false);
        host.log.clear();
        benchmark::DoNotOptimize(host.shown.constBits());
    }
}
BENCHMARK(BM_CoordinateSystemDragged)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

// Graph 2 alone (y = 1 over x in [-5, 5]) turned 56 degrees, at 10^7 pixels a
// unit along X: it is sampled only where it comes near the picture.  The
// scale moves by a pixel a unit every redraw (over 100 values, more than the
// built graphs kept), so every redraw samples it anew.
void BM_TurnedGraphHugeScale(benchmark::State& state) {
    bench::EnsureGuiApp();
    auto proj = Document();
    DXOY& x = proj->Obj.Xy[1];
    for (std::size_t i = 1; i <= 6; ++i) x.GraphOn[i].v = i == 2;
    x.Graph[2].s = "1";
    x.Bounds[2][0].v = -5, x.Bounds[2][1].v = 5, x.Bounds[2][2].v = -5, x.Bounds[2][3].v = 5;
    x.Move[2].Rotated.v = true;
    x.Move[2].Angle.v = 56;
    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, 1200, 900};
    int redraw = 0;
    for (auto _ : state) {
        x.ScaleX.v = static_cast<double>(state.range(0)) + ++redraw % 100;
        RepaintProject(*proj, st, host, RedrawMode::Window, true);
        host.log.clear();
        benchmark::DoNotOptimize(host.shown.constBits());
    }
}
BENCHMARK(BM_TurnedGraphHugeScale)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
