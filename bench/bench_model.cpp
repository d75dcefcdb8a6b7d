#include <benchmark/benchmark.h>

#include "model/records.h"

using namespace pelmar;

static std::unique_ptr<DProj> FullDocument() {
    auto d = NewDocument();
    ForEachStore(d->Obj, [&](auto& s) {
        using T = std::remove_reference_t<decltype(s[1])>;
        while (s.add(T{})) {
        }
    });
    return d;
}

static void BM_CopyFullDocument(benchmark::State& st) {
    auto d = FullDocument();
    auto dst = NewDocument();
    for (auto _ : st) {
        *dst = *d;
        benchmark::DoNotOptimize(dst.get());
    }
}
BENCHMARK(BM_CopyFullDocument);
