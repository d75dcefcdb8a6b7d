#include <benchmark/benchmark.h>

#include "model/geometry.h"
#include "model/records.h"
#include "model/update.h"

using namespace pelmar;

namespace {

DTri BenchTriangle(double depth2) {
    DTri t;
    const Vec3 v[3] = {{0, 0, 0}, {depth2, 120, 10}, {-depth2 / 2, 35, 90}};
    for (std::size_t i = 1; i <= 3; ++i) {
        SetPos(t.S[i].P1, v[i - 1]);
        SetPos(t.S[i].P2, v[i % 3]);
    }
    t.Typ.v = 4;
    t.View.v = 4;
    for (std::size_t i = 1; i <= 5; ++i) {
        t.LineOn[i].v = true;
        t.LineVertex[i].v = static_cast<std::uint8_t>(i % 3 + 1);
        t.LineMode[i].v = static_cast<std::uint8_t>(i % 3 + 1);
        t.LineKind[i].v = static_cast<std::uint8_t>((i + 1) % 3 + 1);
        t.Lines[i].Length.v = 30;
    }
    UpdateTriangle(t, 0, false);
    return t;
}

}  // namespace

// One update of a stand-alone triangle, in space and parallel to the picture.
static void BM_UpdateTriangle(benchmark::State& st) {
    const DTri base = BenchTriangle(static_cast<double>(st.range(0)));
    DTri t = base;
    for (auto _ : st) {
        UpdateTriangle(t, 0, true);
        benchmark::DoNotOptimize(t.Height.v);
    }
}
BENCHMARK(BM_UpdateTriangle)->Arg(0)->Arg(40);
