// New objects from default sets that do not hold their own kind: every part
// is then loaded from its own kind's set, down to the points.  The program
// folder's sets are all copies of one shipped set of about 100 KB (a cone),
// read by the document reader.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>

#include "files/document.h"
#include "model/defaults.h"

using namespace pelmar;

namespace {

struct Folder {
    QTemporaryDir dir;
    int reads = 0;
    DefaultsSource src;

    Folder() {
        QDir(dir.path()).mkpath("DefaultSet");
        // The shipped sets lie two folders above the benchmark programs.
        const auto exe = std::filesystem::read_symlink("/proc/self/exe");
        const QString from =
            QString::fromStdString((exe.parent_path() / "../../share/pelmar/DefaultSet/DeCone.set").string());
        for (Kind k : {Kind::po, Kind::li, Kind::ci, Kind::tr, Kind::kv, Kind::xy, Kind::sf, Kind::zi, Kind::i3,
                       Kind::i4, Kind::r3, Kind::r4, Kind::xz})
            QFile::copy(from, QString::fromStdString(DefaultSetFile(k, dir.path().toStdString())));
        src.programFolder = dir.path().toStdString();
        src.readDocument = [this](const std::string& name, DProj& doc, std::uint8_t& version, std::uint8_t mode) {
            ++reads;
            return ReadDocument(name, doc, version, mode);
        };
    }
};

template <class R, void (*Load)(R&, int, const DefaultsSource&)>
void BM_NewObject(benchmark::State& st) {
    Folder f;
    auto rec = std::make_unique<R>();
    for (auto _ : st) {
        f.reads = 0;
        Load(*rec, 1, f.src);
        benchmark::DoNotOptimize(rec.get());
    }
    st.counters["set_reads"] = f.reads;
}

BENCHMARK(BM_NewObject<DTri, LoadDefaultTriangle>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewObject<DZi, LoadDefaultCylinder>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewObject<DPr4, LoadDefaultPrism4>)->Unit(benchmark::kMillisecond);

}  // namespace
