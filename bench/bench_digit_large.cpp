// A digit typed into the point dialog of the largest document a picture
// holds: every kind at its capacity (215 objects), every object built on the
// edited point (238 links, 24 of them through a segment built on it).  The
// real program: the key is tried, committed with its undo snapshot, every
// dependent object recomputed, and the picture redrawn.  Argument 1 with the
// undo snapshot, 0 with undo off.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdlib>

#include "app/document_wiring.h"
#include "bench_status.h"
#include "dialogs/ui/dialog_registry.h"
#include "editing/editing_state.h"
#include "editing/kind_access.h"
#include "files/document.h"
#include "linked_document.h"
#include "shell/file_commands.h"
#include "shell/ui/dialog_session.h"
#include "shell/ui/main_window.h"
#include "window_bench.h"

using namespace pelmar;
using namespace pelmar::bench;

namespace {

QApplication& App() {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "bench_digit_large";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);  // never destroyed: Qt's objects go first
    return *app;
}

void BM_DigitInLargestDocument(benchmark::State& state) {
    App();
    QTemporaryDir dir;
    const std::string d = dir.path().toStdString() + "/";
    OpenOneFile answers;
    answers.file = d + "large.pel";
    Application app(Application::Folders{d, {Shipped}, d});
    MainWindowSetup setup;
    setup.services.questions = &answers;
    Form1 w(app, std::move(setup));
    WireDocument(w);
    int links = 0;
    {
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
        links = LinkDocument(*doc);
        WriteDocument(answers.file, *doc, WriteModeDocument, DocumentContext{});
        // A copy for a session in the real program (scripts/linked-digit-shots.sh).
        if (const char* keep = std::getenv("PELMAR_DIGIT_OUT"))
            WriteDocument(std::string(keep) + "/large.pel", *doc, WriteModeDocument, DocumentContext{});
    }
    w.resize(1600, 1000);
    w.show();
    QApplication::processEvents();
    w.menuAction(MainCommand::Open)->trigger();
    QApplication::processEvents();
    EditingState& st = w.editing();
    st.UndoOn = state.range(0) != 0;
    // The edited point from the object list, its dialog on top.
    for (int i = 0; i < w.objectCombo()->count(); ++i)
        if (std::string(st.ObjList[static_cast<std::size_t>(i)].code, 2) == "po" &&
            st.ObjList[static_cast<std::size_t>(i)].index == 1) {
            w.objectCombo()->setCurrentIndex(i);
            emit w.objectCombo()->activated(i);
            break;
        }
    QWidget* dlg = w.dialogSession().registry().dialog(Kind::po);
    if (!dlg) {
        state.SkipWithError("the point dialog did not open");
        return;
    }
    dlg->activateWindow();
    QApplication::processEvents();
    auto* x = dlg->findChild<QLineEdit*>("EditPx");
    x->setFocus();
    x->selectAll();
    for (const QChar c : QStringLiteral("100")) TypeKey(x, c);
    QApplication::processEvents();
    const double start = w.document().Obj.Po[1].ScrX.v;
    int typed = 0;
    for (auto _ : state) {
        // One key: the last digit typed over, 100 and 101 in turn; the
        // redraw it asks for runs before the next key.
        x->setSelection(2, 1);
        TypeKey(x, typed % 2 == 0 ? QChar('1') : QChar('0'));
        QApplication::processEvents();
        ++typed;
    }
    const double want = typed % 2 == 1 ? 101 : 100;
    if (start != 100 || w.document().Obj.Po[1].ScrX.v != want) state.SkipWithError("the edit did not commit");
    state.counters["objects"] = w.document().Obj.ObjTotal;
    state.counters["links"] = links;
}
BENCHMARK(BM_DigitInLargestDocument)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    App();
    return pelmar::bench::RunBenchmarks(argc, argv);
}
