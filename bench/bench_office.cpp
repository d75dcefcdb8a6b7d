// The two shape exports of a document that fills every plane kind to its
// capacity: 50 labelled points, 50 segments with arrows, 50 ellipses, 20
// triangles, 12 tetragons and 10 coordinate systems with grid and numbers
// (no graphs), each written to an OpenDocument file.
#include <benchmark/benchmark.h>

#include "gui_app.h"
#include <QTemporaryDir>
#include <cstdlib>

#include "drawing/redraw.h"
#include "files/document.h"
#include "model/geometry.h"
#include "office/office_export.h"
#include "files/word_table.h"

using namespace pelmar;

namespace {

DPoint At(double x, double y, std::uint8_t type = 1) {
    DPoint p;
    p.ScrX.v = x;
    p.ScrY.v = y;
    p.Typ.v = type;
    p.Radius.v = 3;
    p.Layer.v = 1;
    p.NameFont.s = p.IndexFont.s = "DejaVu Sans";
    p.NameSize.v = 10;
    p.IndexSize.v = 8;
    return p;
}

void Place(DPoint& p, double x, double y, double z) {
    SetPos(p, Vec3{x, y, z});
    ProjectPoint(p);
}

std::unique_ptr<DProj> PlaneDocument() {
    auto d = NewDocument();
    DSubProj& o = d->Obj;
    for (int i = 0; !o.Po.full(); ++i) {
        DPoint p = At(20 + 15 * i, 40 + 10 * (i % 50), 2);
        p.Name.s = "A";
        p.Lower.s = std::to_string(i);
        o.Po.add(p);
    }
    for (int i = 0; !o.Li.full(); ++i) {
        DLine l;
        l.P1 = At(30 + 14 * i, 500);
        l.P2 = At(60 + 14 * i, 560);
        l.Thick.v = 1 + i % 3;
        l.LineType.v = static_cast<std::uint8_t>(1 + i % 2);
        l.Arrow2.v = true;
        l.Arrow2Len.v = 10;
        l.Arrow2Angle.v = 20;
        l.Layer.v = 2;
        o.Li.add(l);
    }
    for (int i = 0; !o.Ci.full(); ++i) {
        DCircle c;
        Place(c.Center, 0, 100 + 12 * i, 200 + 4 * i);
        c.A3.v = 40;
        c.B3.v = 20 + i % 15;
        c.ViewType.v = static_cast<std::uint8_t>(1 + i % 2);
        c.Thick.v = 1;
        c.Layer.v = 3;
        o.Ci.add(c);
    }
    for (int i = 0; !o.Tr.full(); ++i) {
        DTri t;
        const Vec3 v[3] = {{0, 10.0 * i, 0}, {0, 120 + 10.0 * i, 10}, {30, 40 + 10.0 * i, 90}};
        for (std::size_t k = 1; k <= 3; ++k) {
            Place(t.S[k].P1, v[k - 1].x, v[k - 1].y, v[k - 1].z);
            t.S[k].LineType.v = 1;
        }
        t.Typ.v = 4;
        t.View.v = 1;
        t.Thick.v = 1;
        t.Layer.v = 4;
        o.Tr.add(t);
    }
    for (int i = 0; !o.Kv.full(); ++i) {
        DKv k;
        const Vec3 v[4] = {{0, 0, 0}, {60, 80, 0}, {60, 80, 100}, {0, 0, 100}};
        for (std::size_t n = 1; n <= 4; ++n) {
            Place(k.S[n].P1, v[n - 1].x, v[n - 1].y + 20 * i, v[n - 1].z + 20 * i);
            k.S[n].LineType.v = 1;
        }
        k.Typ.v = 7;
        k.View.v = 1;
        k.Thick.v = 1;
        k.Layer.v = 5;
        o.Kv.add(k);
    }
    for (int i = 0; !o.Xy.full(); ++i) {
        DXOY x;
        x.Layer.v = 6;
        x.Thick.v = 1;
        x.Center = At(400, 300);
        x.AxisX.P1 = At(40 + i, 300);
        x.AxisX.P2 = At(760 - i, 300);
        x.AxisY.P1 = At(400, 40 + i);
        x.AxisY.P2 = At(400, 560 - i);
        for (DLine* a : {&x.AxisX, &x.AxisY}) {
            a->Thick.v = 1;
            a->LineType.v = 1;
            a->Arrow2.v = true;
            a->Arrow2Len.v = 12;
            a->Arrow2Angle.v = 15;
        }
        x.ScaleX.v = x.ScaleY.v = 40;
        x.DivX.v = x.DivY.v = 0.5;
        x.MarkWidth.v = 1;
        x.MarkHeight.v = 8;
        x.GridOn.v = true;
        x.GridThick.v = 1;
        x.GridStep.v = 2;
        x.NumbersOn.v = true;
        x.NumberStep.v = 2;
        x.NumberFont.s = "DejaVu Sans";
        x.NumberSize.v = 8;
        o.Xy.add(x);
    }
    ProcessAfterReading(*d, nullptr);
    return d;
}

class BenchUi : public ExportUi {
public:
    std::string wordLine(int line) override {
        const char* w = BuiltInWord(line);
        return w ? w : "";
    }
    bool askYesNo(const std::string&) override { return true; }
    void setStatus(const std::string&) override {}
};

class NoDesktop : public DesktopOpener {
public:
    bool hasProgramFor(const std::string&) override { return true; }
    std::string open(const std::string&) override { return {}; }
};

template <bool Drawing>
void BM_OfficeExport(benchmark::State& state) {
    bench::EnsureGuiApp();
    auto proj = PlaneDocument();
    auto snapshot = NewDocument();
    const PainterTable painters = DefaultPainters();
    BenchUi ui;
    NoDesktop desktop;
    QTemporaryDir dir;
    OfficeRun run;
    run.proj = proj.get();
    run.snapshot = snapshot.get();
    run.painters = &painters;
    run.ui = &ui;
    run.desktop = &desktop;
    run.options.WordArrowNo = 2;
    run.options.WordDashNo = 4;
    const std::string name = dir.path().toStdString() + "/capacity";
    for (auto _ : state) {
        const bool ok = Drawing ? ExportToCorelDraw(8, name + ".cdr", RunMode::DoNotOpen, proj->Im, run)
                                : ExportToOffice(name + ".doc", RunMode::DoNotOpen, proj->Im, run);
        if (!ok) state.SkipWithError("the export did not run");
    }
    state.counters["calls"] = static_cast<double>(run.calls.size());
}

}  // namespace

BENCHMARK(BM_OfficeExport<true>)->Name("BM_DrawingExport")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OfficeExport<false>)->Name("BM_WordExport")->Unit(benchmark::kMillisecond);
