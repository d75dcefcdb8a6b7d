#include <benchmark/benchmark.h>

#include <vector>

#include "model/records.h"
#include "model/update.h"

using namespace pelmar;

namespace {

std::vector<DPoint> Points() {
    std::vector<DPoint> v(50);
    for (std::size_t i = 0; i < v.size(); ++i) {
        const double k = static_cast<double>(i);
        v[i].X.v = 0.37 * k;
        v[i].Y.v = 10.0625 + 3.1 * k;
        v[i].Z.v = -4.5 + 2.7 * k;
        v[i].Typ.v = static_cast<std::uint8_t>(1 + i % 3);
        v[i].ColorIndex.v = static_cast<std::uint8_t>(i % 16);
    }
    return v;
}

std::vector<DLine> Lines() {
    std::vector<DLine> v(50);
    for (std::size_t i = 0; i < v.size(); ++i) {
        const double k = static_cast<double>(i);
        v[i].P1.Y.v = k;
        v[i].P1.Z.v = 2 * k;
        v[i].P2.X.v = 0.5 * k;
        v[i].P2.Y.v = 100 - k;
        v[i].P2.Z.v = 40 + k;
        v[i].Frac3.v = 0.25;
        v[i].Frac4.v = 0.5;
        v[i].LineType.v = static_cast<std::uint8_t>(1 + i % 3);
        v[i].Arrow1.v = i % 2 == 0;
    }
    return v;
}

void BM_UpdatePoint50(benchmark::State& st) {
    auto pts = Points();
    for (auto _ : st) {
        for (auto& p : pts) UpdatePoint(p, 0);
        benchmark::DoNotOptimize(pts.data());
    }
    st.SetItemsProcessed(st.iterations() * static_cast<std::int64_t>(pts.size()));
}
BENCHMARK(BM_UpdatePoint50);

void BM_UpdateLine50(benchmark::State& st) {
    auto lines = Lines();
    const int role = static_cast<int>(st.range(0));
    for (auto _ : st) {
        for (auto& l : lines) UpdateLine(l, role);
        benchmark::DoNotOptimize(lines.data());
    }
    st.SetItemsProcessed(st.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_UpdateLine50)->Arg(0)->Arg(-3)->Arg(-43);

}  // namespace
