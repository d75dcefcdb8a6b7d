// A full redraw of 50 points and 50 segments on a 1200 x 900 picture, with
// and without anti-aliasing; and the present of the back buffer alone (the
// window's picture handed over after a redraw).
#include <benchmark/benchmark.h>

#include "gui_app.h"
#include <cstdlib>

#include "drawing/redraw.h"
#include "support/fake_redraw_host.h"

using namespace pelmar;

namespace {

DPoint BenchPoint(int i) {
    DPoint p;
    p.ScrX.v = 40 + (i * 211) % 1120;
    p.ScrY.v = 40 + (i * 137) % 820;
    p.Typ.v = static_cast<std::uint8_t>(2 + i % 2);
    p.Radius.v = 4;
    p.Thick.v = 1;
    p.Color.v = 0x0000FF;
    p.Layer.v = static_cast<std::uint8_t>(1 + i % 3);
    p.Name.s = std::string(1, static_cast<char>('A' + i % 26));
    p.Lower.s = std::to_string(i);
    p.NameFont.s = "Times New Roman";
    p.IndexFont.s = "Times New Roman";
    p.NameSize.v = 12;
    p.IndexSize.v = 9;
    p.NameItalic.v = true;
    p.LabelDist.v = 14;
    p.LabelAngle.v = 45;
    return p;
}

std::unique_ptr<DProj> BenchDocument(bool smooth) {
    auto d = NewDocument();
    d->Im.Width = 1200;
    d->Im.Height = 900;
    d->Im.Smooth = smooth;
    for (int i = 0; i < 50; ++i) d->Obj.Po.add(BenchPoint(i));
    for (int i = 0; i < 50; ++i) {
        DLine l;
        l.P1 = BenchPoint(i);
        l.P2 = BenchPoint(i + 7);
        l.Thick.v = 1 + i % 3;
        l.Color.v = 0x800000;
        l.Layer.v = static_cast<std::uint8_t>(1 + i % 3);
        l.LineType.v = static_cast<std::uint8_t>(1 + i % 2);
        l.Dash.v = 8;
        l.Gap.v = 4;
        l.Arrow2.v = i % 4 == 0;
        l.Arrow2Len.v = 12;
        l.Arrow2Angle.v = 20;
        d->Obj.Li.add(l);
    }
    return d;
}

void BM_FullRedraw(benchmark::State& state) {
    bench::EnsureGuiApp();
    auto proj = BenchDocument(state.range(0) != 0);
    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, 1200, 900};
    for (auto _ : state) {
        RepaintProject(*proj, st, host, RedrawMode::Window, true);
        host.log.clear();
        benchmark::DoNotOptimize(host.shown.constBits());
    }
}
BENCHMARK(BM_FullRedraw)->ArgName("antialias")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PresentBackBuffer(benchmark::State& state) {
    bench::EnsureGuiApp();
    auto proj = BenchDocument(true);
    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, 1200, 900};
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    for (auto _ : state) {
        PresentBackBuffer(*st.DrawProj, st, host);
        host.log.clear();
        benchmark::DoNotOptimize(host.shown.constBits());
    }
}
BENCHMARK(BM_PresentBackBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
