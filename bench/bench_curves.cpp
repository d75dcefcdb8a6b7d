// Function graphs: a Cartesian graph sampled across 1200 picture columns, and
// implicit curves traced over a 1200 x 900 window (a circle the term analysis
// solves per column, and a curve every column of which is scanned).  The
// polylines are drawn on a recording canvas; the counter points gives the
// size of the result.
#include <benchmark/benchmark.h>

#include <string>

#include "drawing/curve_builder.h"
#include "support/recording_canvas.h"

using namespace pelmar;

namespace {

struct Rig {
    RecordingCanvas canvas;
    bool running = true;
    SubCurveContext ctx;

    explicit Rig(double scale) {
        ctx.Target.kind = TargetKind::Pel;
        ctx.Target.canvas = &canvas;
        ctx.XScale = ctx.YScale = scale;
        ctx.CX = 600;
        ctx.CY = 450;
        ctx.Running = &running;
    }
    double points() const {
        double n = 0;
        for (const DCurve1& l : ctx.Result.Lines) n += l.Count;
        return n;
    }
};

void Cartesian(benchmark::State& st, const char* f) {
    Rig rig(100);
    for (auto _ : st) {
        rig.canvas.clear();
        PlotCartesian(rig.ctx, PlaneXOY, f, f, 0, 450, 450, 600, 600, 450, 600);
        benchmark::DoNotOptimize(rig.ctx.Result.Lines.data());
    }
    st.counters["points"] = rig.points();
    st.SetLabel(f);
}

void Implicit(benchmark::State& st, const char* f) {
    Rig rig(100);
    for (auto _ : st) {
        rig.canvas.clear();
        TraceImplicitCurve(rig.ctx, PlaneXOY, f, f, 0, 0, 450, 450, 600, 600, 450, 600);
        benchmark::DoNotOptimize(rig.ctx.Result.Lines.data());
    }
    st.counters["points"] = rig.points();
    st.SetLabel(f);
}

}  // namespace

BENCHMARK_CAPTURE(Cartesian, sine, "sin(x)*x")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Cartesian, poles, "tg(x)+1/(x-1)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Implicit, circle, "x^2+y^2-16")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Implicit, scanned, "x^2+y^2-16+0.1*sin(y)")->Unit(benchmark::kMillisecond);
