// Writing and reading a document with every kind at capacity.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "files/document.h"
#include "files/text_lines.h"
#include "model/geometry.h"
#include "model/records.h"

using namespace pelmar;

namespace {

std::unique_ptr<DProj> FullDocument() {
    auto d = NewDocument();
    int i = 0;
    ForEachStore(d->Obj, [&](auto& s) {
        using T = std::remove_reference_t<decltype(s[1])>;
        while (s.add(T{})) {
        }
        ++i;
    });
    for (std::size_t n = 1; n <= d->Obj.Po.count(); ++n) {
        DPoint& p = d->Obj.Po[n];
        SetPos(p, Vec3{1.0 * n, 10.5 + n, 20.25});
        p.ID.s = "Point №" + std::to_string(n);
        p.NameFont.s = "Times New Roman";
    }
    for (std::size_t n = 1; n <= d->Obj.Ci.count(); ++n) {
        d->Obj.Ci[n].A3.v = 40;
        d->Obj.Ci[n].B3.v = 25;
    }
    ProcessAfterReading(*d, nullptr);
    return d;
}

std::string TempName() {
    return (std::filesystem::temp_directory_path() / ("pelmar_bench_" + std::to_string(::getpid()) + ".pel")).string();
}

}  // namespace

static void BM_DocumentText(benchmark::State& st) {
    const auto d = FullDocument();
    std::size_t bytes = 0;
    for (auto _ : st) {
        const std::string t = DocumentText(*d, WindowsFromRecord(*d), d->Role, ',');
        bytes = t.size();
        benchmark::DoNotOptimize(t.data());
    }
    st.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_DocumentText)->Unit(benchmark::kMillisecond);

static void BM_WriteDocument(benchmark::State& st) {
    const auto d = FullDocument();
    const std::string name = TempName();
    for (auto _ : st) benchmark::DoNotOptimize(WriteDocument(name, *d, WriteModeDocument, DocumentContext{}));
    std::filesystem::remove(name);
}
BENCHMARK(BM_WriteDocument)->Unit(benchmark::kMillisecond);

static void BM_ParseDocumentText(benchmark::State& st) {
    const auto d = FullDocument();
    const std::string t = DocumentText(*d, WindowsFromRecord(*d), d->Role, ',');
    auto back = NewDocument();
    for (auto _ : st) {
        std::uint8_t v = 0;
        benchmark::DoNotOptimize(ParseDocumentText(t, *back, v, ','));
    }
}
BENCHMARK(BM_ParseDocumentText)->Unit(benchmark::kMillisecond);

static void BM_ReadDocument(benchmark::State& st) {
    const auto d = FullDocument();
    const std::string name = TempName();
    WriteDocument(name, *d, WriteModeDocument, DocumentContext{});
    auto back = NewDocument();
    for (auto _ : st) {
        std::uint8_t v = 0;
        benchmark::DoNotOptimize(ReadDocument(name, *back, v, ReadModeOpen));
    }
    std::filesystem::remove(name);
}
BENCHMARK(BM_ReadDocument)->Unit(benchmark::kMillisecond);
