// A digit typed in the point dialog of a 50-object document: the typed
// value is tried, stored, committed (the working copy into the document, its
// update, the dialog refilled) and the picture redrawn, as one keystroke does.
// The key must take less than one frame (16 ms).
#include <benchmark/benchmark.h>

#include "bench_status.h"
#include "window_bench.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <cstdlib>
#include <memory>
#include <optional>

#include "dialogs/editing_fake.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/point_dialog.h"
#include "support/fake_redraw_host.h"
#include "drawing/redraw.h"
#include "model/defaults.h"
#include "model/geometry.h"
#include "model/update.h"

using namespace pelmar;
using namespace pelmar::bench;

namespace {

// The dialogs' fake editing core, whose commit stores the working copy
// and whose redraw is the program's.
struct Editing : test::FakeEditing {
    DrawingState st;
    FakeRedrawHost host;
    int commits = 0;

    Editing() {
        host.view = {0, 0, 1200, 900};
        const DefaultsSource src;
        for (int i = 0; i < 20; ++i) {
            DPoint p;
            LoadDefaultPoint(p, i + 1, src);
            p.Y.v = 40 + 50 * (i % 10), p.Z.v = 60 + 300 * (i / 10);
            UpdatePoint(p, 0);
            doc->Obj.Po.add(p);
        }
        for (int i = 0; i < 15; ++i) {
            DLine l;
            LoadDefaultLine(l, i + 1, src);
            l.P1.Y.v = 30 + 60 * i, l.P1.Z.v = 100, l.P2.Y.v = 80 + 60 * i, l.P2.Z.v = 500;
            UpdateLine(l, 0);
            doc->Obj.Li.add(l);
        }
        for (int i = 0; i < 15; ++i) {
            DCircle c;
            LoadDefaultCircle(c, i + 1, src);
            c.Center.Y.v = 80 + 70 * i, c.Center.Z.v = 700;
            UpdateCircle(c, 0);
            doc->Obj.Ci.add(c);
        }
        RegisterPointDialog(reg);
        select(Kind::po, 1);
        work.CurPoint = doc->Obj.Po[1];
        RepaintProject();  // the first redraw builds the fills cache
    }

    void ApplyObject(bool) override {
        ++commits;
        UpdatePoint(work.CurPoint, 0);
        doc->Obj.Po[1] = work.CurPoint;
        reg.Fill(Kind::po, work.CurPoint);
    }
    // The program's trial of a top-level point: its update, on its own working copy.
    KindMask trialKinds() const override { return MaskOf(Kind::po); }
    void tryCommit(bool) override { UpdatePoint(work.CurPoint, 0); }
    void RepaintProject() override { pelmar::RepaintProject(*doc, st, host, RedrawMode::Window, false); }
};

void BM_PointEditCommitAndRedraw(benchmark::State& state) {
    Editing ed;
    ObjectDialog* dlg = ed.reg.open(Kind::po);
    ed.reg.Fill(Kind::po, ed.work.CurPoint);
    dlg->activateWindow();
    QApplication::processEvents();
    auto* x = dlg->findChild<TNumEdit*>("EditPx");
    x->setFocus();
    x->selectAll();
    for (const QChar c : QStringLiteral("100")) TypeKey(x, c);
    QApplication::processEvents();
    ed.commits = 0;
    int typed = 0;
    for (auto _ : state) {
        // One key, as the user types it: the last digit selected and
        // typed over, 100 and 101 in turn.
        x->setSelection(2, 1);
        TypeKey(x, typed % 2 == 0 ? QChar('1') : QChar('0'));
        ++typed;
    }
    const double want = typed % 2 == 1 ? 101 : 100;
    if (ed.commits != typed) state.SkipWithError("the edit did not commit");
    else if (ed.doc->Obj.Po[1].ScrX.v != want) state.SkipWithError("the document does not hold the typed number");
    state.counters["commits_per_key"] = typed > 0 ? static_cast<double>(ed.commits) / typed : 0;
}
BENCHMARK(BM_PointEditCommitAndRedraw)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    return pelmar::bench::RunBenchmarks(argc, argv);
}
