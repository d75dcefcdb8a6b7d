// The editing core on a typical document (20 objects) and on a document with
// every kind at capacity, computed curves and a fill picture: one commit with
// its undo snapshot, select all, one undo step.  In the largest linked
// document (linked_document.h), with the point every other object is built
// on current: a commit that changes nothing, and select all.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QImage>
#include <QPainter>
#include <QRadialGradient>
#include <filesystem>
#include <memory>
#include <random>

#include "editing/commit.h"
#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "support/quiet_windows.h"
#include "editing/new_objects.h"
#include "editing/object_list.h"
#include "editing/selection.h"
#include "editing/undo_store.h"
#include "files/companion.h"
#include "files/document.h"
#include "linked_document.h"
#include "model/geometry.h"
#include "model/recompute.h"
#include "model/update.h"

using namespace pelmar;

namespace {

struct Bench {
    std::filesystem::path dir;
    std::unique_ptr<DProj> doc = NewDocument();
    std::unique_ptr<EditedDocument> edited = std::make_unique<EditedDocument>(*doc);
    EditingState* st = &edited->state();
    QuietWindows quiet{*st};
    QImage fill;

    Bench() {
        static int n = 0;
        dir = std::filesystem::temp_directory_path() / ("pelmar_bench_editing_" + std::to_string(::getpid()) + "_" + std::to_string(++n));
        std::filesystem::create_directories(dir);
        st->ProgDir = dir.string() + "/";
        st->UndoFolder = st->ProgDir + "Temp/1/";
        st->Defaults.programFolder = st->ProgDir;
        st->UndoSteps = 200;
    }
    ~Bench() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    // Objects made without undo steps.
    void Add(Kind k, int count) {
        st->UndoOn = false;
        for (int i = 0; i < count; ++i) NewDefaultObject(*st, k);
        st->UndoOn = true;
    }

    // Every kind at capacity, with curves in every coordinate system and a
    // fill picture of the picture's size.
    void Full() {
        for (const KindInfo& k : KindTable) Add(k.kind, k.capacity);
        std::mt19937 rng(1);
        std::uniform_real_distribution<double> u(-100, 100);
        auto curve = [&](int lines, int points) {
            DCurve2 c;
            auto all = std::make_shared<std::vector<DCurve1>>();
            for (int l = 0; l < lines; ++l) {
                auto pts = std::make_shared<std::vector<CurvePoint>>();
                for (int p = 0; p < points; ++p) pts->push_back({u(rng), u(rng), u(rng)});
                all->push_back({pts, points});
            }
            c.Lines = all;
            c.Count = lines;
            c.Valid = 1;
            return c;
        };
        for (std::size_t i = 1; i <= doc->Obj.Xy.count(); ++i) doc->Obj.Xy[i].Curves = curve(4, 200);
        for (std::size_t i = 1; i <= doc->Obj.Xz.count(); ++i)
            for (auto& c : doc->Obj.Xz[i].Curves) c = curve(3, 60);
        for (std::size_t i = 1; i <= doc->Obj.Tr.count(); ++i) doc->Obj.Tr[i].Fill.On = true;
        // The fill picture as the fills pass paints it: gradient shapes on the background.
        fill = QImage(doc->Im.Width, doc->Im.Height, QImage::Format_ARGB32_Premultiplied);
        fill.fill(Qt::white);
        QPainter painter(&fill);
        for (int i = 0; i < 20; ++i) {
            const QRectF r(u(rng) * 3 + 400, u(rng) * 2 + 300, 120 + u(rng), 90 + u(rng) / 2);
            QRadialGradient g(r.center(), r.width() / 2);
            g.setColorAt(0, QColor::fromHsv((i * 37) % 360, 200, 255));
            g.setColorAt(1, QColor::fromHsv((i * 37 + 90) % 360, 255, 120));
            painter.setBrush(g);
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(r);
        }
        painter.end();
        st->BackPng = &fill;
        doc->FillValid = 1;
    }

    // Every kind at capacity, linked; point 1, which the others are built
    // on, current with its dialog open.
    void LinkedPointCurrent() {
        for (const KindInfo& k : KindTable) Add(k.kind, k.capacity);
        bench::LinkDocument(*doc);
        SetCurObjIndex(*st, ListPosition(*doc, Kind::po, 1));
        SelectCurrentObject(*st, st->Dialogs, true);
    }

    // The current object: the first triangle, its dialog open.
    void CurrentTriangle() {
        SetCurObjIndex(*st, ListPosition(*doc, Kind::tr, 1));
        SelectCurrentObject(*st, st->Dialogs, true);
    }

    void Edit(int step) {
        st->Copies.CurTri.S[2].P1.Name.s.assign(1, (step % 2) ? 'B' : 'C');
        ApplyObject(*st, false);
    }
};

}  // namespace

static void BM_CommitTypical(benchmark::State& state) {
    Bench b;
    for (Kind k : {Kind::po, Kind::li, Kind::ci, Kind::tr, Kind::kv}) b.Add(k, 4);
    b.CurrentTriangle();
    int step = 0;
    for (auto _ : state) b.Edit(++step);
    state.counters["objects"] = b.doc->Obj.ObjTotal;
}
BENCHMARK(BM_CommitTypical)->Unit(benchmark::kMillisecond);

static void BM_CommitFull(benchmark::State& state) {
    Bench b;
    b.Full();
    b.CurrentTriangle();
    int step = 0;
    for (auto _ : state) b.Edit(++step);
    state.counters["objects"] = b.doc->Obj.ObjTotal;
}
BENCHMARK(BM_CommitFull)->Unit(benchmark::kMillisecond);

// The commit alone, without its snapshot: where the time of a commit goes.
static void BM_CommitFullNoSnapshot(benchmark::State& state) {
    Bench b;
    b.Full();
    b.CurrentTriangle();
    b.st->UndoOn = false;
    int step = 0;
    for (auto _ : state) b.Edit(++step);
}
BENCHMARK(BM_CommitFullNoSnapshot)->Unit(benchmark::kMillisecond);

static void BM_SelectAllFull(benchmark::State& state) {
    Bench b;
    b.Full();
    b.CurrentTriangle();
    for (auto _ : state) {
        SelectAllObjects(*b.st);
        state.PauseTiming();
        SelectNone(*b.st);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SelectAllFull)->Unit(benchmark::kMillisecond);

// The commit of the current point as it stands: nothing changes.
static void BM_CommitUnchangedLinkedPoint(benchmark::State& state) {
    Bench b;
    b.LinkedPointCurrent();
    for (auto _ : state) ApplyObject(*b.st, false);
    state.counters["objects"] = b.doc->Obj.ObjTotal;
}
BENCHMARK(BM_CommitUnchangedLinkedPoint)->Unit(benchmark::kMillisecond);

// The pass through the links after point 1 of the linked document moved:
// 0 as a drag's move shows it, 1 as a commit stores it.
static void BM_RecomputeLinkedLargest(benchmark::State& state) {
    Bench b;
    for (const KindInfo& k : KindTable) b.Add(k.kind, k.capacity);
    bench::LinkDocument(*b.doc);
    DProj& doc = *b.doc;
    int step = 0;
    for (auto _ : state) {
        DPoint& p = doc.Obj.Po[1];
        p.X.v = 100 + (++step % 2);
        UpdatePoint(p, 0);
        if (state.range(0) == 0) RecomputeLinked(doc);
        else RecomputeLinkedAsFiled(doc);
    }
    state.counters["objects"] = doc.Obj.ObjTotal;
}
BENCHMARK(BM_RecomputeLinkedLargest)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

static void BM_SelectAllLinkedCurrent(benchmark::State& state) {
    Bench b;
    b.LinkedPointCurrent();
    for (auto _ : state) {
        SelectAllObjects(*b.st);
        state.PauseTiming();
        SelectNone(*b.st);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SelectAllLinkedCurrent)->Unit(benchmark::kMillisecond);

// The three files of a snapshot of the full document, one by one; the fill
// picture as it was at the last snapshot and with a pixel changed.
static void BM_SnapshotPartsFull(benchmark::State& state) {
    Bench b;
    b.Full();
    const std::string name = b.st->ProgDir + "parts.pel";
    const int part = static_cast<int>(state.range(0));
    int step = 0;
    for (auto _ : state) {
        if (part == 0) benchmark::DoNotOptimize(DocumentText(*b.doc, WindowsFromRecord(*b.doc), b.doc->Role, ','));
        if (part == 1) WriteCurvesFile(name, *b.doc, ',', "stamp", true);
        if (part == 3) b.fill.setPixel(0, 0, (++step % 2) ? 0xFF000000u : 0xFFFFFFFFu);
        if (part >= 2) WriteFillPicture(name, b.fill, true, "stamp", true);
    }
    const char* labels[] = {"document text", "curves file", "fill picture, unchanged", "fill picture, changed"};
    state.SetLabel(labels[part]);
}
BENCHMARK(BM_SnapshotPartsFull)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// Undo and redo in turn, each one step.
static void BM_UndoStepFull(benchmark::State& state) {
    Bench b;
    b.Full();
    b.CurrentTriangle();
    b.Edit(1);
    b.Edit(2);
    bool back = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(back ? UndoStep(*b.st) : RedoStep(*b.st));
        back = !back;
    }
}
BENCHMARK(BM_UndoStepFull)->Unit(benchmark::kMillisecond);

// A window session over the document's own settings, as the fill settings
// run it: the one comparison of the document's text, with the snapshot
// written ahead, for a session that ends as it began (0) and one that changes
// a setting (1).  The step taken at a session's first change, as the fill
// settings took it before, is BM_BeginDocumentChangeFull.
static void BM_SettingsSessionFull(benchmark::State& state) {
    Bench b;
    b.Full();
    const bool change = state.range(0) != 0;
    for (auto _ : state) {
        const DocumentChange session(*b.st);
        DImProj& im = b.doc->Im;
        im.BorderAngle = im.BorderAngle == 90 ? 180 : 90;
        if (!change) im.BorderAngle = im.BorderAngle == 90 ? 180 : 90;
    }
}
BENCHMARK(BM_SettingsSessionFull)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

static void BM_BeginDocumentChangeFull(benchmark::State& state) {
    Bench b;
    b.Full();
    for (auto _ : state) {
        BeginDocumentChange(*b.st);
        DImProj& im = b.doc->Im;
        im.BorderAngle = im.BorderAngle == 90 ? 180 : 90;
    }
}
BENCHMARK(BM_BeginDocumentChangeFull)->Unit(benchmark::kMillisecond);
