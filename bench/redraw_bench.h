// The two whole-document redraw benchmarks, shared by the benchmark programs
// of the figure kinds: "Redraw" is the redraw after an edit (the shaded fills
// come from the cache), "Build" the build-the-drawing run that shades every
// filled figure again.  Each runs nine times, smoothed and not, and reports
// the median with the mean and spread.
#pragma once

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

#include "bench_status.h"
#include "drawing/redraw.h"
#include "support/fake_redraw_host.h"

namespace pelmar::bench {

using DocumentMaker = std::unique_ptr<DProj> (*)();

struct RedrawFixture {
    std::unique_ptr<DProj> proj;
    DrawingState st;
    FakeRedrawHost host;

    RedrawFixture(DocumentMaker make, bool smooth, int w, int h) : proj(make()) {
        proj->Im.Smooth = smooth;
        host.view = {0, 0, w, h};
    }
};

inline void RegisterRedrawBenchmarks(DocumentMaker make, int w, int h) {
    auto redraw = [=](benchmark::State& state) {
        RedrawFixture r(make, state.range(0) != 0, w, h);
        RepaintProject(*r.proj, r.st, r.host, RedrawMode::Window, true);  // builds the cache once
        for (auto _ : state) {
            RepaintProject(*r.proj, r.st, r.host, RedrawMode::Window, false);
            benchmark::DoNotOptimize(r.st.DrawBitmap.constBits());
        }
    };
    auto build = [=](benchmark::State& state) {
        RedrawFixture r(make, state.range(0) != 0, w, h);
        for (auto _ : state) {
            r.proj->FillValid = 0;
            RepaintProject(*r.proj, r.st, r.host, RedrawMode::Window, true);
            benchmark::DoNotOptimize(r.st.DrawBitmap.constBits());
        }
    };
    for (auto* b : {benchmark::RegisterBenchmark("BM_Redraw", redraw), benchmark::RegisterBenchmark("BM_Build", build)})
        b->Arg(1)->Arg(0)->ArgName("smooth")->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
}

// The main of a benchmark program that paints: labels need a QGuiApplication,
// and the offscreen platform needs no display.
inline int RunPaintBenchmarks(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}

}  // namespace pelmar::bench
