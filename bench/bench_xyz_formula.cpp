// A formula typed into the 3D coordinate-system dialog: the keystroke is
// stored, its surface's sections and outline marked not computed and
// committed (the working copy into the document, the dialog refilled), then
// the picture built in full, which traces the surface's sections and
// outline again.  The shipped 3D system on an 800 x 600 picture, its first surface on
// with its outline built over the whole picture.
#include <benchmark/benchmark.h>

#include "bench_status.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <cstdlib>
#include <memory>

#include "dialogs/coord_fake.h"
#include "drawing/redraw.h"
#include "model/update.h"
#include "shell/default_sets.h"
#include "support/fake_redraw_host.h"

using namespace pelmar;

namespace {

// The dialogs' fake editing core with the shipped 3D system; its redraw is
// the program's, into a picture of the document's size.
struct Editing : test::CoordEditing {
    DrawingState st;
    FakeRedrawHost host;
    int commits = 0;

    Editing() {
        host.view = {0, 0, 800, 600};
        doc = DefaultSetDocument(Kind::xz, DefaultsSource{});
        DXZ& z = doc->Obj.Xz[1];
        z.SurfOn[1].v = true;
        z.Surf[1].s = "x^2/8-y^2/8";
        DOutLine& o = z.Outlines[1];
        o.On = true;
        o.X1 = 0, o.Y1 = 0, o.X2 = doc->Im.Width, o.Y2 = doc->Im.Height;
        o.Step1 = 10, o.Step2 = 3, o.FitMode = 1;
        UpdateXYZ(z, 0);
        work.CurXZ = z;
        select(Kind::xz, 1);
        redraw();
    }
    void ApplyObject(bool writeBack) override {
        ++commits;
        CoordEditing::ApplyObject(writeBack);
    }
    // The full build (the play button): an outline marked not computed is
    // traced only there; the ordinary redraw shows the stored one.
    void redraw() { pelmar::RepaintProject(*doc, st, host, RedrawMode::Window, true); }
};

void BM_XYZFormulaToRedrawnOutline(benchmark::State& state) {
    Editing ed;
    ObjectDialog* dlg = ed.reg.open(Kind::xz);
    ed.reg.Fill(Kind::xz, ed.work.CurXZ);
    auto* tabs = dlg->findChild<QTabWidget*>("PageControl1");
    tabs->setCurrentIndex(1);
    dlg->activateWindow();
    QApplication::processEvents();
    auto* edit = dlg->findChild<QLineEdit*>("EditY1");
    edit->setFocus();
    edit->end(false);
    QApplication::processEvents();
    int traced = 0;
    bool nine = false;
    for (auto _ : state) {
        // One keystroke: the last digit of the formula typed over.
        edit->setSelection(static_cast<int>(edit->text().size()) - 1, 1);
        edit->insert(nine ? "9" : "8");
        nine = !nine;
        ed.redraw();
        traced += ed.doc->Obj.Xz[1].Outlines[1].Lines.Valid;
    }
    if (ed.commits == 0) state.SkipWithError("the edit did not commit");
    if (traced == 0) state.SkipWithError("the outline was not traced");
    state.counters["commits"] = ed.commits;
    state.counters["outline_lines"] = static_cast<double>(ed.doc->Obj.Xz[1].Outlines[1].Lines.lines().size());
}
BENCHMARK(BM_XYZFormulaToRedrawnOutline)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    return pelmar::bench::RunBenchmarks(argc, argv);
}
