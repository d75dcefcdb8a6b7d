// The ellipse update on a document's worth of ellipses, flat and lying in space.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "model/update.h"

using namespace pelmar;

static std::vector<DCircle> FiftyEllipses() {
    std::vector<DCircle> v(50);
    for (std::size_t i = 0; i < v.size(); ++i) {
        DCircle& c = v[i];
        const double k = static_cast<double>(i);
        c.Center.X.v = i % 2 ? 0 : 10 + k;
        c.Center.Y.v = 100 + 7 * k;
        c.Center.Z.v = 200 - 3 * k;
        c.ViewType.v = static_cast<std::uint8_t>(1 + i % 4);
        c.Arc2.v = 270;
        for (std::size_t r = 1; r <= 3; ++r) c.R[r].Angle.v = 40.0 * static_cast<double>(r) + k;
        if (i % 2) {
            c.A3.v = 20 + k;  // flat: the stored points follow from the 3D semi-axes
            c.B3.v = 10 + k / 2;
        } else {
            const double t = k / 10;  // tilted in space
            c.Q1 = {c.Center.X.v + 30 * std::cos(t), c.Center.Y.v + 30 * std::sin(t), c.Center.Z.v};
            c.Q2 = {c.Center.X.v, c.Center.Y.v, c.Center.Z.v + 25};
        }
        UpdateCircle(c, 0);
    }
    return v;
}

static void BM_UpdateCircle(benchmark::State& st) {
    auto ellipses = FiftyEllipses();
    for (auto _ : st) {
        for (auto& c : ellipses) UpdateCircle(c, 0);
        benchmark::DoNotOptimize(ellipses.data());
    }
    st.SetItemsProcessed(st.iterations() * static_cast<std::int64_t>(ellipses.size()));
    // Seconds per UpdateCircle call.
    st.counters["per_call"] = benchmark::Counter(static_cast<double>(ellipses.size()),
                                                 benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
}
BENCHMARK(BM_UpdateCircle);
