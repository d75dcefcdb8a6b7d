// The main window: from its creation to the first shown window, and opening
// a document that holds every kind at its capacity through File > Open.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "app/document_wiring.h"
#include "editing/editing_state.h"
#include "editing/kind_access.h"
#include "files/document.h"
#include "shell/picture_settings.h"
#include "shell/ui/main_window.h"
#include "window_bench.h"

using namespace pelmar;
using namespace pelmar::bench;

namespace {

QApplication& App() {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "bench_main_window";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's own objects go before it at exit.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

Application::Folders Folders(const QTemporaryDir& dir) {
    const std::string d = dir.path().toStdString() + "/";
    return {d, {Shipped}, d};
}

MainWindowSetup Setup(FileQuestions* questions) {
    MainWindowSetup s;
    s.services.questions = questions;
    return s;
}

void BM_StartToShownWindow(benchmark::State& state) {
    App();
    QTemporaryDir dir;
    OpenOneFile answers;
    for (auto _ : state) {
        Application app(Folders(dir));
        Form1 w(app, Setup(&answers));
        WireDocument(w);
        w.resize(1600, 1000);
        w.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(w.isVisible());
    }
}
BENCHMARK(BM_StartToShownWindow)->Unit(benchmark::kMillisecond);

void BM_OpenFullDocument(benchmark::State& state) {
    App();
    QTemporaryDir dir;
    OpenOneFile answers;
    answers.file = dir.path().toStdString() + "/full.pel";
    Application app(Folders(dir));
    Form1 w(app, Setup(&answers));
    WireDocument(w);
    {
        // One default object per kind, copied into every slot.
        auto doc = NewDocument();
        ForEachKind([&](auto kc) { KindT<decltype(kc)::value>::store(doc->Obj).resize(1); });
        LoadDefaultObjects(*doc, w.editing());
        ForEachKind([&](auto kc) {
            constexpr Kind K = decltype(kc)::value;
            auto& store = KindT<K>::store(doc->Obj);
            const auto first = store[1];
            store.resize(InfoOf(K).capacity);
            for (int i = 2; i <= static_cast<int>(store.count()); ++i) store[i] = first;
        });
        WriteDocument(answers.file, *doc, WriteModeDocument, DocumentContext{});
    }
    w.resize(1600, 1000);
    w.show();
    QApplication::processEvents();
    for (auto _ : state) {
        w.menuAction(MainCommand::Open)->trigger();
        QApplication::processEvents();
    }
    state.counters["objects"] = w.document().Obj.ObjTotal;
}
BENCHMARK(BM_OpenFullDocument)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
