// One move event of an edit drag in the picture window, from the mouse event
// to the picture on the screen: the drag's change, the commit of the
// dependent objects, the redraw and the paint of the view, at 100 % zoom.
// Three documents: a typical one of 20 plane objects; a 3D coordinate system
// with a shaded surface; 50 objects of every kind (shaded solids, 2D systems
// with graphs, 3D systems with a shaded surface, plane figures).  Every
// object is selected and moved to and fro.  In the largest linked document
// (linked_document.h) one object is selected, made current and moved: the
// point every other object is built on, or the one segment built on nothing.
#include <benchmark/benchmark.h>

#include "bench_status.h"
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include "drawing/host_roles.h"
#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "support/quiet_windows.h"
#include "editing/new_objects.h"
#include "editing/object_list.h"
#include "editing/selection.h"
#include "editing/ui/picture_window.h"
#include "linked_document.h"
#include "model/edit_state.h"

using namespace pelmar;

namespace {

void Send(QWidget* w, QEvent::Type type, Qt::MouseButton b, Qt::MouseButtons held, QPoint at) {
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), b, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Pixels that differ between two pictures of one size.
long DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return -1;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    long n = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) n += p[col] != q[col];
    }
    return n;
}

using Filler = void (*)(EditingState&, DProj&);

void Typical(EditingState& st, DProj&) {
    for (Kind k : {Kind::po, Kind::li, Kind::ci, Kind::tr, Kind::kv})
        for (int i = 0; i < 4; ++i) NewDefaultObject(st, k);
}

// A shaded sphere in the 3D system (the implicit slot): its outline with
// the gradient fill.
void ShadedSurface(DXZ& x, const DImProj& im) {
    x.SurfOn[4].v = true;
    x.Surf[4].s = "x^2+y^2+z^2-4";
    DOutLine& o = x.Outlines[3];
    o.On = true;
    o.X1 = 0, o.Y1 = 0, o.X2 = im.Width, o.Y2 = im.Height;
    o.GradientOn = true;
    o.Colors = {0x0000FF, 0x00FF00, 0xFF0000};
}

void Surface3D(EditingState& st, DProj& doc) {
    NewDefaultObject(st, Kind::xz);
    ShadedSurface(doc.Obj.Xz[1], doc.Im);
}

void Mixed50(EditingState& st, DProj& doc) {
    const std::pair<Kind, int> kinds[] = {{Kind::po, 10}, {Kind::li, 10}, {Kind::ci, 8}, {Kind::tr, 4},
                                          {Kind::kv, 4},  {Kind::xy, 2},  {Kind::sf, 2}, {Kind::zi, 2},
                                          {Kind::ko, 2},  {Kind::i3, 1},  {Kind::i4, 1}, {Kind::r3, 1},
                                          {Kind::r4, 1},  {Kind::xz, 2}};
    for (const auto& [k, n] : kinds)
        for (int i = 0; i < n; ++i) NewDefaultObject(st, k);
    DSubProj& o = doc.Obj;
    for (std::size_t i = 1; i <= o.Xy.count(); ++i) {
        o.Xy[i].GraphOn[1].v = o.Xy[i].GraphOn[3].v = true;
        o.Xy[i].Graph[1].s = "sin(x)*x";
        o.Xy[i].Graph[3].s = "2+cos(3*x)";
    }
    for (std::size_t i = 1; i <= o.Xz.count(); ++i) ShadedSurface(o.Xz[i], doc.Im);
    auto shade = [](auto& store) {
        for (std::size_t i = 1; i <= store.count(); ++i) {
            store[i].Fill.On = true;
            store[i].Fill.Colors = {0x0000FF, 0x00FF00, 0xFF0000};
        }
    };
    shade(o.Sf), shade(o.Zi), shade(o.Ko), shade(o.I3), shade(o.I4), shade(o.R3), shade(o.R4);
}

// Every kind at its capacity, linked, the last segment free.
void LargestLinked(EditingState& st, DProj& doc) {
    for (const KindInfo& k : KindTable)
        for (int i = 0; i < k.capacity; ++i) NewDefaultObject(st, k.kind);
    bench::LinkDocument(doc, true);
}

// What the drag moves: every object, grabbed as above; or the one object of
// kind `kind` at `index`, selected, current and grabbed where it is drawn.
struct Dragged {
    Kind kind = Kind::po;
    int index = 0;  // 0: every object
};

// The picture point of a picture position.
QPoint At(const DProj& doc, double x, double y) {
    return QPoint(static_cast<int>(x), doc.Im.Height - 1 - static_cast<int>(y));
}

// shipped: new objects as the shipped default sets make them.
void RunDrag(benchmark::State& state, Filler fill, bool shipped, Dragged dragged = {}) {
    const auto dir = std::filesystem::temp_directory_path() / ("pelmar_bench_drag_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto doc = NewDocument();
    auto edited = std::make_unique<EditedDocument>(*doc);
    EditingState* st = &edited->state();
    QuietWindows answers(*st);
    st->ProgDir = dir.string() + "/";
    st->UndoFolder = st->ProgDir + "Temp/1/";
    st->Defaults.programFolder = shipped ? std::string(PELMAR_SOURCE_DIR) + "/share/pelmar/" : st->ProgDir;
    st->UndoOn = false;
    fill(*st, *doc);
    st->UndoOn = true;
    DrawingState drawing;
    QuietWindow quiet;
    PictureWindow win(*st, drawing, quiet, quiet);
    QObject::connect(edited.get(), &EditedDocument::redrawNeeded, &win, [&win] { win.redraw(false); });
    QObject::connect(edited.get(), &EditedDocument::dragChanged, [&drawing](bool on) { drawing.NoRedraw = on; });
    win.resize(1000, 760);
    win.SetDrawWindowMode(1);
    win.show();
    win.redraw(true);  // the graphs and surfaces built, as after "Построить"

    // The shading (of the solids and of the 3D systems' surfaces) is painted
    // by the build only: a plain redraw without the kept shading shows the
    // same picture without it, as every step of the drag does.  The pixels
    // the shading adds are counted, so that a document whose surface is not
    // shaded shows as such.
    QWidget* box = win.paintBox();
    const QImage built = box->grab().toImage();
    doc->FillValid = 0;
    win.redraw(false);
    state.counters["shaded_px"] = static_cast<double>(DifferentPixels(built, box->grab().toImage()));
    const char* shot = std::getenv("PELMAR_DRAG_SHOT");
    if (shot) built.save(QString::fromStdString(std::string(shot) + "built" + std::to_string(doc->Obj.ObjTotal) + ".png"));

    QPoint grab;
    std::function<double()> grabbedX;
    if (dragged.index > 0) {
        SetCurObjIndex(*st, ListPosition(*doc, dragged.kind, dragged.index));
        SelectCurrentObject(*st, st->Dialogs, true);
        SelectCur(*st, dragged.kind, dragged.index, true);
        st->SelCount = 1;
        const auto i = static_cast<std::size_t>(dragged.index);
        if (dragged.kind == Kind::li) {
            const DLine& l = doc->Obj.Li[i];
            grab = At(*doc, (l.P1.ScrX.v + l.P2.ScrX.v) / 2, (l.P1.ScrY.v + l.P2.ScrY.v) / 2);
            grabbedX = [&doc, i] { return doc->Obj.Li[i].P1.ScrX.v; };
        } else {
            grab = At(*doc, doc->Obj.Po[i].ScrX.v, doc->Obj.Po[i].ScrY.v);
            grabbedX = [&doc, i] { return doc->Obj.Po[i].ScrX.v; };
        }
    } else {
        // Every object selected, grabbed by the body of the first triangle
        // or at the centre of the first 3D system.
        SelectAllObjects(*st);
        if (doc->Obj.Tr.count() > 0) {
            const DTri& t = doc->Obj.Tr[1];
            grab = At(*doc, (t.S[1].P1.ScrX.v + t.S[2].P1.ScrX.v + t.S[3].P1.ScrX.v) / 3,
                      (t.S[1].P1.ScrY.v + t.S[2].P1.ScrY.v + t.S[3].P1.ScrY.v) / 3);
            grabbedX = [&doc] { return doc->Obj.Tr[1].S[1].P1.ScrX.v; };
        } else {
            const DPoint& c = doc->Obj.Xz[1].Center;
            grab = At(*doc, c.ScrX.v, c.ScrY.v);
            grabbedX = [&doc] { return doc->Obj.Xz[1].Center.ScrX.v; };
        }
    }
    win.toolButton("TBEdit")->trigger();
    // Where the grabbed object stands: a drag that moves nothing is no measure.
    const double before = grabbedX();
    bool moved = false;
    Send(box, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, grab);
    int step = 0;
    for (auto _ : state) {
        ++step;
        Send(box, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, grab + QPoint(step % 2 ? 3 : 0, 0));
        edited->ensureDrawn();  // the redraw the event loop would give next
        box->repaint();
        moved = moved || grabbedX() != before;
    }
    Send(box, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, grab);
    if (!moved) state.SkipWithError("the drag did not move the objects");
    if (shot)
        box->grab().save(QString::fromStdString(std::string(shot) + std::to_string(doc->Obj.ObjTotal) + ".png"));
    state.counters["objects"] = doc->Obj.ObjTotal;
    state.counters["selected"] = st->SelCount;
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

void BM_DragMoveTypical(benchmark::State& state) { RunDrag(state, Typical, false); }
void BM_DragMoveSurface3D(benchmark::State& state) { RunDrag(state, Surface3D, true); }
void BM_DragMoveMixed50(benchmark::State& state) { RunDrag(state, Mixed50, true); }
BENCHMARK(BM_DragMoveTypical)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DragMoveSurface3D)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DragMoveMixed50)->Unit(benchmark::kMillisecond)->UseRealTime();

// A step of the point every other object of the largest document is built on.
void BM_DragStepLinkedPoint(benchmark::State& state) { RunDrag(state, LargestLinked, true, {Kind::po, 1}); }
// A step of the segment built on nothing in that document.
void BM_DragStepLoneSegment(benchmark::State& state) {
    RunDrag(state, LargestLinked, true, {Kind::li, InfoOf(Kind::li).capacity});
}
BENCHMARK(BM_DragStepLinkedPoint)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DragStepLoneSegment)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    return pelmar::bench::RunBenchmarks(argc, argv);
}
