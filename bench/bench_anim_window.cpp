// The animated GIF of moving coordinate systems, built two ways: by the
// builder alone with a window side that shows nothing, and through the real
// program - the main window with the document opened, Анимация, "Создать" in
// the builder's window - so that the two can be compared.  Two documents,
// 800 x 600, 60 frames, the system's centre moved 5 pixels a frame by its
// formula:
//   sphere  a 3D system with the implicit sphere x^2+y^2+z^2-16 (surface 4),
//           the sections of a new system and its outline;
//   circle  a 2D system with the implicit circle x^2+y^2-4.
// Both documents are written to $PELMAR_ANIM_OUT (default
// /tmp/pelmar-bench-anim) as sphere.pel and circle.pel.
#include <benchmark/benchmark.h>

#include "bench_status.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/document_wiring.h"
#include "files/document.h"
#include "model/coord_edits.h"
#include "model/defaults.h"
#include "model/update.h"
#include "shell/ui/main_window.h"
#include "support/fake_redraw_host.h"
#include "transform/anim_build.h"
#include "quiet_anim_host.h"
#include "transform/ui/anim_window.h"
#include "window_bench.h"

using namespace pelmar;
using namespace pelmar::bench;

namespace {

constexpr int W = 800, H = 600, Frames = 60;

QApplication& App() {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "bench_anim_window";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's own objects go before it at exit.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

template <class S>
auto& Added(S& store) { return store.add({}), store[store.count()]; }

// Document 0 the sphere, 1 the circle (the benchmarks' argument "doc").
std::unique_ptr<DProj> Document(int which) {
    const DefaultsSource src{.programFolder = "/nonexistent"};
    auto d = NewDocument();
    d->Im.Width = W;
    d->Im.Height = H;
    if (which == 0) {
        DXZ& x = Added(d->Obj.Xz);
        LoadDefaultXYZ(x, 1, src);
        x.Number = 1;
        x.Scale.v = 10, x.SurfOn[4].v = true, x.Surf[4].s = "x^2+y^2+z^2-16";
        x.Outlines[3].On = true;
        WholePictureOutlineWindows(x, W, H);
        UpdateXYZ(x, 0);
        x.Center.Anim[1] = std::to_string(x.Center.Y.v - 150) + "+5*x";
    } else {
        DXOY& x = Added(d->Obj.Xy);
        LoadDefaultXOY(x, 1, src);
        x.Number = 1;
        x.GraphOn[6].v = true, x.Graph[6].s = "x^2+y^2-4", x.GraphThick[6].v = 2;
        UpdateXOY(x, 0);
        x.Center.Anim[1] = std::to_string(x.Center.Y.v - 150) + "+5*x";
    }
    d->AnimFrames = Frames;
    d->AnimDelay = 40;
    d->AnimStart = "0";
    d->AnimStep = "1";
    d->AnimLoop = true;
    return d;
}

std::string OutDir() {
    const char* env = std::getenv("PELMAR_ANIM_OUT");
    const std::string dir = env ? env : "/tmp/pelmar-bench-anim";
    std::filesystem::create_directories(dir);
    return dir;
}

// The frames built outside the window: the builder with a window side that
// shows nothing.
void BM_MovingOutside(benchmark::State& state) {
    App();
    const std::string path = OutDir() + "/outside-" + std::to_string(state.range(0)) + ".gif";
    auto doc = Document(static_cast<int>(state.range(0)));
    FakeRedrawHost redraw;
    redraw.view = {0, 0, W, H};
    QuietHost host;
    AnimResult r;
    for (auto _ : state) {
        DrawingState st;
        r = BuildAnimation(*doc, st, redraw, host, path);
        if (r.outcome != AnimOutcome::Created) state.SkipWithError("not built");
    }
    state.counters["frames"] = r.frames;
}
BENCHMARK(BM_MovingOutside)->ArgName("doc")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

Application::Folders Folders(const QTemporaryDir& dir) {
    const std::string d = dir.path().toStdString() + "/";
    return {d, {Shipped}, d};
}

// The same frames through the program: the document opened in the shown main
// window (1600 x 1000), the builder's window opened by its command, and the
// time of "Создать" until the file is written.
void BM_MovingInWindow(benchmark::State& state) {
    App();
    QTemporaryDir dir;
    OpenOneFile answers;
    answers.file = OutDir() + "/window-" + std::to_string(state.range(0)) + ".pel";
    WriteDocument(answers.file, *Document(static_cast<int>(state.range(0))), WriteModeDocument, DocumentContext{});
    Application app(Folders(dir));
    MainWindowSetup setup;
    setup.services.questions = &answers;
    Form1 w(app, setup);
    WireDocument(w);
    w.resize(1600, 1000);
    w.show();
    QApplication::processEvents();
    w.menuAction(MainCommand::Open)->trigger();
    QApplication::processEvents();
    AnimResult r;
    for (auto _ : state) {
        double seconds = 0;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<TFormAnimation*>(QApplication::activeModalWidget());
            if (!form) return;
            QElapsedTimer clock;
            clock.start();
            r = form->Button1Click();
            seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
            form->close();
        });
        w.toolAction(MainCommand::Anim)->trigger();
        state.SetIterationTime(seconds);
        if (r.outcome != AnimOutcome::Created) state.SkipWithError("not built");
    }
    state.counters["frames"] = r.frames;
}
BENCHMARK(BM_MovingInWindow)
    ->ArgName("doc")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    App();
    // The two documents for a run in the program itself
    // (scripts/moving-anim-timing.sh).
    for (const int which : {0, 1})
        WriteDocument(OutDir() + (which == 0 ? "/sphere.pel" : "/circle.pel"), *Document(which), WriteModeDocument,
                      DocumentContext{});
    return pelmar::bench::RunBenchmarks(argc, argv);
}
