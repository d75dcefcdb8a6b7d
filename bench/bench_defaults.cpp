// New objects from default sets that do not hold their own kind: every part
// is then loaded from its own kind's set, down to the points.  The program
// folder's sets are all copies of one shipped set of about 100 KB (a cone),
// read by the document reader.  A set that cannot be copied or read stops
// the benchmark with an error: the loads would time the built-in fallback.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <string>

#include "files/document.h"
#include "model/defaults.h"

using namespace pelmar;

namespace {

struct Folder {
    QTemporaryDir dir;
    int reads = 0;
    int failedReads = 0;
    std::string error;  // why the sets are not there; empty when they are
    DefaultsSource src;

    Folder() {
        QDir(dir.path()).mkpath("DefaultSet");
        // The shipped sets lie two folders above the benchmark programs.
        const auto exe = std::filesystem::read_symlink("/proc/self/exe");
        const QString from =
            QString::fromStdString((exe.parent_path() / "../../share/pelmar/DefaultSet/DeCone.set").string());
        if (!dir.isValid()) error = "cannot create a temporary folder";
        for (Kind k : {Kind::po, Kind::li, Kind::ci, Kind::tr, Kind::kv, Kind::xy, Kind::sf, Kind::zi, Kind::i3,
                       Kind::i4, Kind::r3, Kind::r4, Kind::xz}) {
            const QString to = QString::fromStdString(DefaultSetFile(k, dir.path().toStdString()));
            if (error.empty() && !QFile::copy(from, to))
                error = "cannot copy the shipped set " + from.toStdString() + " to " + to.toStdString();
        }
        src.programFolder = dir.path().toStdString();
        src.readDocument = [this](const std::string& name, DProj& doc, std::uint8_t& version, std::uint8_t mode) {
            ++reads;
            const std::uint8_t r = ReadDocument(name, doc, version, mode);
            if (r != 0) ++failedReads;
            return r;
        };
    }
};

template <class R, void (*Load)(R&, int, const DefaultsSource&)>
void BM_NewObject(benchmark::State& st) {
    Folder f;
    if (!f.error.empty()) {
        st.SkipWithError(f.error.c_str());
        return;
    }
    auto rec = std::make_unique<R>();
    for (auto _ : st) {
        f.reads = 0;
        Load(*rec, 1, f.src);
        benchmark::DoNotOptimize(rec.get());
    }
    st.counters["set_reads"] = f.reads;
    // Every load reads its sets; one that read none or failed timed the
    // built-in fallback.
    if (f.reads == 0 || f.failedReads > 0) st.SkipWithError("the default sets were not read");
}

BENCHMARK(BM_NewObject<DTri, LoadDefaultTriangle>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewObject<DZi, LoadDefaultCylinder>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewObject<DPr4, LoadDefaultPrism4>)->Unit(benchmark::kMillisecond);

}  // namespace
