// A typed lateral edge length in the prism dialog of a 50-object document
// (points, segments, ellipses, triangles, tetragons, pyramids and prisms, the
// solids with their hidden edges found automatically): Return in the length
// edit scales the edge vector, the commit updates the prism, stores it,
// refills the dialog, and the whole picture is redrawn.
#include <benchmark/benchmark.h>

#include "bench_status.h"

#include <QApplication>
#include <QKeyEvent>
#include <cstdlib>
#include <memory>

#include "dialogs/editing_fake.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/prism_dialog.h"
#include "drawing/redraw.h"
#include "model/defaults.h"
#include "model/transform.h"
#include "model/update.h"
#include "support/fake_redraw_host.h"

using namespace pelmar;

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
        for (int i = 0; i < 11; ++i) {
            DPoint p;
            LoadDefaultPoint(p, i + 1, src);
            p.Y.v = 40 + 100 * i, p.Z.v = 60;
            UpdatePoint(p, 0);
            doc->Obj.Po.add(p);
            DLine l;
            LoadDefaultLine(l, i + 1, src);
            l.P1.Y.v = 30 + 100 * i, l.P1.Z.v = 100, l.P2.Y.v = 80 + 100 * i, l.P2.Z.v = 200;
            UpdateLine(l, 0);
            doc->Obj.Li.add(l);
        }
        for (int i = 0; i < 6; ++i) {
            DCircle c;
            LoadDefaultCircle(c, i + 1, src);
            c.Center.Y.v = 80 + 150 * i, c.Center.Z.v = 800;
            UpdateCircle(c, 0);
            doc->Obj.Ci.add(c);
            DTri t;
            LoadDefaultTriangle(t, i + 1, src);
            doc->Obj.Tr.add(t);
            DKv k;
            LoadDefaultTetragon(k, i + 1, src);
            doc->Obj.Kv.add(k);
        }
        for (int i = 0; i < 3; ++i) {
            DPi3 p3;
            LoadDefaultPyramid3(p3, i + 1, src);
            p3.View.v = 5;
            TranslatePyramid3(p3, 0, 250.0 * i, -250);
            UpdatePyramid3(p3, 0);
            doc->Obj.I3.add(p3);
            DPi4 p4;
            LoadDefaultPyramid4(p4, i + 1, src);
            p4.View.v = 5;
            TranslatePyramid4(p4, 0, 250.0 * i, -450);
            UpdatePyramid4(p4, 0);
            doc->Obj.I4.add(p4);
        }
        for (int i = 0; i < 2; ++i) {
            DPr3 r3;
            LoadDefaultPrism3(r3, i + 1, src);
            r3.View.v = 5;
            TranslatePrism3(r3, 0, 300.0 * i + 600, -250);
            UpdatePrism3(r3, 0);
            doc->Obj.R3.add(r3);
            DPr4 r4;
            LoadDefaultPrism4(r4, i + 1, src);
            r4.View.v = 5;
            r4.Typ.v = 4;
            TranslatePrism4(r4, 0, 300.0 * i + 600, -450);
            UpdatePrism4(r4, 0);
            doc->Obj.R4.add(r4);
        }
        RegisterPrismDialog(reg);
        select(Kind::r4, 1);
        work.CurPr4 = doc->Obj.R4[1];
        RepaintProject();  // the first redraw builds the fills cache
    }
    int objects() const {
        const DSubProj& o = doc->Obj;
        return o.Po.count() + o.Li.count() + o.Ci.count() + o.Tr.count() + o.Kv.count() + o.I3.count() +
               o.I4.count() + o.R3.count() + o.R4.count();
    }

    void ApplyObject(bool) override {
        ++commits;
        UpdatePrism4(work.CurPr4, 0);
        doc->Obj.R4[1] = work.CurPr4;
        reg.Fill(Kind::r4, work.CurPr4);
    }
    // The program's trial of a top-level prism: its update, on its own working copy.
    KindMask trialKinds() const override { return MaskOf(Kind::r4); }
    void tryCommit(bool) override { UpdatePrism4(work.CurPr4, 0); }
    void RepaintProject() override { pelmar::RepaintProject(*doc, st, host, RedrawMode::Window, false); }
};

void BM_PrismEdgeLengthTypedAndRedrawn(benchmark::State& state) {
    Editing ed;
    ObjectDialog* dlg = ed.reg.open(Kind::r4);
    ed.reg.Fill(Kind::r4, ed.work.CurPr4);
    dlg->activateWindow();
    QApplication::processEvents();
    auto* length = dlg->findChild<TNumEdit*>("EditPRebLe");
    length->setFocus();
    QApplication::processEvents();
    int v = 120;
    for (auto _ : state) {
        // Typed as the user types it: the text selected and replaced.
        length->selectAll();
        for (const QChar c : QString::number(v)) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + c.digitValue(), Qt::NoModifier, QString(c));
            QApplication::sendEvent(length, &key);
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(length, &press);
        v = v == 120 ? 140 : 120;
    }
    if (ed.commits == 0) state.SkipWithError("the edit did not commit");
    else if (ed.doc->Obj.R4[1].EdgeLen.v != (v == 120 ? 140 : 120)) state.SkipWithError("the document does not hold the typed length");
    state.counters["commits_per_edit"] = static_cast<double>(ed.commits) / static_cast<double>(state.iterations());
    state.counters["objects"] = ed.objects();
}
BENCHMARK(BM_PrismEdgeLengthTypedAndRedrawn)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    return pelmar::bench::RunBenchmarks(argc, argv);
}
