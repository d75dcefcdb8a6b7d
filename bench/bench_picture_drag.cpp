// One move event of an edit drag in the picture window, from the mouse event
// to the picture on the screen: the drag's change, the commit of the
// dependent objects, the redraw and the paint of the view.  A typical
// document of 20 plane objects at 100 % zoom.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QMouseEvent>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "drawing/host_roles.h"
#include "editing/editing_state.h"
#include "editing/new_objects.h"
#include "editing/selection.h"
#include "editing/ui/picture_window.h"

using namespace pelmar;

namespace {

void Send(QWidget* w, QEvent::Type type, Qt::MouseButton b, Qt::MouseButtons held, QPoint at) {
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), b, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void BM_DragMoveTypical(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / ("pelmar_bench_drag_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto doc = NewDocument();
    auto st = std::make_unique<EditingState>(*doc);
    st->ProgDir = dir.string() + "/";
    st->UndoFolder = st->ProgDir + "Temp/1/";
    st->Defaults.programFolder = st->ProgDir;
    st->UndoOn = false;
    for (Kind k : {Kind::po, Kind::li, Kind::ci, Kind::tr, Kind::kv})
        for (int i = 0; i < 4; ++i) NewDefaultObject(*st, k);
    st->UndoOn = true;
    DrawingState drawing;
    QuietWindow quiet;
    PictureWindowHost host;
    PictureWindow win(*st, drawing, quiet, quiet, host);
    st->Redraw = &win;
    win.resize(1000, 760);
    win.SetDrawWindowMode(1);
    win.show();
    win.redraw();

    // Every object selected, grabbed by its body and moved to and fro.
    SelectAllObjects(*st);
    win.toolButton("TBEdit")->trigger();
    const DTri& t = doc->Obj.Tr[1];
    const QPoint grab(static_cast<int>((t.S[1].P1.ScrX.v + t.S[2].P1.ScrX.v + t.S[3].P1.ScrX.v) / 3),
                      doc->Im.Height - 1 -
                          static_cast<int>((t.S[1].P1.ScrY.v + t.S[2].P1.ScrY.v + t.S[3].P1.ScrY.v) / 3));
    QWidget* box = win.paintBox();
    Send(box, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, grab);
    int step = 0;
    for (auto _ : state) {
        ++step;
        Send(box, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, grab + QPoint(step % 2 ? 3 : 0, 0));
        box->repaint();
    }
    Send(box, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, grab);
    state.counters["objects"] = doc->Obj.ObjTotal;
    state.counters["selected"] = st->SelCount;
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
BENCHMARK(BM_DragMoveTypical)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
