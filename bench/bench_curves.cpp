// Function graphs: a Cartesian graph sampled across 1200 picture columns, and
// implicit curves traced over a 1200 x 900 window (a circle the term analysis
// solves per column, and a curve every column of which is scanned).  The
// polylines are drawn on a recording canvas; the counter points gives the
// size of the result.
#include <array>
#include <memory>
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "drawing/formula.h"
#include "drawing/formula_internal.h"

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

// Traces f with the tracer's window arguments w: the run number, the
// section position, the top, bottom, right and left bounds and the centre
// (y, x).
void Trace(benchmark::State& st, Rig& rig, const char* f, const std::array<int, 8>& w) {
    for (auto _ : st) {
        rig.canvas.clear();
        TraceImplicitCurve(rig.ctx, PlaneXOY, f, f, w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7]);
        benchmark::DoNotOptimize(rig.ctx.Result.Lines.data());
    }
    st.counters["points"] = rig.points();
    st.SetLabel(f);
}

void Implicit(benchmark::State& st, const char* f) {
    Rig rig(100);
    Trace(st, rig, f, {0, 0, 450, 450, 600, 600, 450, 600});
}

// The same curve on a 400 x 400 window (40 pixels a unit): the tracer, and
// marching squares over the pixel grid with the same evaluator, given every
// advantage the tracer has: each column's formula prepared once, as the
// tracer prepares it, then evaluated at every row in one batch
// (formula::Access::CalcMany, which the tracer's scan uses), with the rows
// as the formula reads them worked out once.  The counter crossings is the
// number of grid edges the curve crosses.
void ImplicitSmall(benchmark::State& st, const char* f) {
    Rig rig(40);
    rig.ctx.CX = rig.ctx.CY = 200;
    Trace(st, rig, f, {0, 0, 200, 200, 200, 200, 200, 200});
}

void MarchingSquares(benchmark::State& st, const char* f) {
    constexpr int kSize = 400;
    constexpr double kScale = 40;
    const std::string text = f;
    std::vector<double> rows(kSize + 1);
    std::vector<Ext> rounded(kSize + 1);
    for (int j = 0; j <= kSize; ++j) {
        rows[static_cast<std::size_t>(j)] = (kSize / 2 - j) / kScale;
        rounded[static_cast<std::size_t>(j)] = formula::Round15(rows[static_cast<std::size_t>(j)]);
    }
    std::vector<Ext> prev(kSize + 1), cur(kSize + 1);
    std::unique_ptr<bool[]> prevOk(new bool[kSize + 1]), curOk(new bool[kSize + 1]);
    double crossings = 0;
    for (auto _ : st) {
        crossings = 0;
        for (int i = 0; i <= kSize; ++i) {
            // The column formula: x replaced by the column value, y renamed x.
            std::string value(1, '(');
            value += FormulaNumberText((i - kSize / 2) / kScale);
            value += ')';
            std::string col;
            for (char c : text) col += c == 'x' ? value : c == 'y' ? std::string("x") : std::string(1, c);
            DistributionParameters params;
            const Formula g = Formula::Prepare(col, true, params);
            formula::Access::CalcMany(g, kSize + 1, rows.data(), rounded.data(), cur.data(), curOk.get());
            for (int j = 0; j < kSize; ++j) {
                const auto a = static_cast<std::size_t>(j), b = a + 1;
                if (curOk[a] && curOk[b] && (cur[a] < 0) != (cur[b] < 0)) ++crossings;
                if (i > 0 && prevOk[a] && curOk[a] && (prev[a] < 0) != (cur[a] < 0)) ++crossings;
            }
            std::swap(prev, cur);
            std::swap(prevOk, curOk);
        }
        benchmark::DoNotOptimize(crossings);
    }
    st.counters["crossings"] = crossings;
    st.SetLabel(f);
}

}  // namespace

BENCHMARK_CAPTURE(ImplicitSmall, sine_cubic, "sin(x)-y^3")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MarchingSquares, sine_cubic, "sin(x)-y^3")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Cartesian, sine, "sin(x)*x")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Cartesian, poles, "tg(x)+1/(x-1)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Implicit, circle, "x^2+y^2-16")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Implicit, scanned, "x^2+y^2-16+0.1*sin(y)")->Unit(benchmark::kMillisecond);
