#include "drawing/redraw.h"

#include <QPainter>
#include <QTime>
#include <cstring>
#include <filesystem>
#include <utility>

#include "drawing/coord_paint.h"
#include "drawing/ellipse_paint.h"
#include "drawing/graph_run.h"
#include "drawing/line_paint.h"
#include "drawing/orb_paint.h"
#include "drawing/point_paint.h"
#include "drawing/polygon_paint.h"
#include "drawing/polyhedron_paint.h"
#include "drawing/round_paint.h"
#include "model/geometry.h"
#include "model/units.h"
#include "platform/canvas.h"
#include "platform/emf_canvas.h"
#include "platform/qt_canvas.h"
#include "platform/raster_surface.h"
#include "platform/tee_canvas.h"

namespace pelmar {

// The pass 2 surface: a Qt canvas on the shown picture, and in metafile mode
// the metafile recording beside it.
struct PictureSurface {
    std::unique_ptr<QtCanvas> view;
    std::unique_ptr<EmfCanvas> emf;
    std::unique_ptr<TeeCanvas> tee;

    Canvas* canvas() {
        if (tee) return tee.get();
        return view.get();
    }
};

namespace {

constexpr char GradientText[] = "Gradient...";
constexpr int LayerCount = 10;

QColor ToQColor(TColor c) { return QColor(RgbRed(c), RgbGreen(c), RgbBlue(c)); }

bool Metafile(const DImProj& im) { return im.PicMode == 1; }

// A picture of the document's size filled with `fill`; null when the size is not positive.
QImage NewPicture(int w, int h, const QColor& fill) {
    if (w <= 0 || h <= 0) return {};
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    if (!img.isNull()) img.fill(fill);
    return img;
}

std::int64_t MillisecondsOfDay() { return QTime::currentTime().msecsSinceStartOfDay(); }

template <class T, std::size_t N, class F>
void ForLayer(const Store<T, N>& s, int layer, F&& f) {
    for (std::size_t i = 1; i <= s.count(); ++i) {
        const T& r = s[i];
        if (r.Layer.v == layer && !r.Disabled.v) f(r);
    }
}

template <class T, std::size_t N>
void PaintLayer(const Store<T, N>& s, int layer, const Painter<T>& painter, const DImProj& im,
                const PaintTarget& target) {
    if (!painter) return;
    ForLayer(s, layer, [&](const T& r) { DrawPart(target, [&] { painter(r, im, target); }); });
}

// Coordinate systems are drawn whatever their disabled flag.  With a
// `running` switch, it is tested after each system visited.
template <class T, std::size_t N>
bool PaintSystems(const Store<T, N>& s, int layer, const SystemPainter<T>& painter, bool full, char view,
                  const DImProj& im, const PaintTarget& target, const bool* running) {
    for (std::size_t i = 1; i <= s.count(); ++i) {
        const T& r = s[i];
        if (r.Layer.v == layer && painter)
            DrawPart(target, [&] { painter(r, full, static_cast<int>(i), im, view, target); });
        if (running && !*running) return false;
    }
    return true;
}

// The cached shading replaces the whole back buffer of a window redraw after
// pass 1: a raster picture of the cache's size whose fills are valid.
bool CacheReplacesPicture(const DProj& doc, const DrawingState& st) {
    const DImProj& im = doc.Im;
    return doc.FillValid != 0 && !Metafile(im) && HasGradientFills(doc) && !st.BackPng.isNull() &&
           st.BackPng.size() == QSize(im.Width, im.Height);
}

// The back buffer takes the cached shading, in place when it can.
void TakeCachedShading(DrawingState& st) {
    if (st.DrawBitmap.format() == st.BackPng.format() && st.DrawBitmap.isDetached() &&
        st.DrawBitmap.bytesPerLine() == st.BackPng.bytesPerLine())
        std::memcpy(st.DrawBitmap.bits(), st.BackPng.constBits(), static_cast<std::size_t>(st.BackPng.sizeInBytes()));
    else
        st.DrawBitmap = st.BackPng.copy();
}

bool AnyGraphs(const DProj& doc) {
    const DSubProj& o = doc.Obj;
    for (std::size_t i = 1; i <= o.Xy.count(); ++i)
        if (o.Xy[i].GraphOn[1].v || o.Xy[i].GraphOn[2].v) return true;
    for (std::size_t i = 1; i <= o.Xz.count(); ++i)
        if (o.Xz[i].SurfOn[1].v || o.Xz[i].SurfOn[2].v) return true;
    return false;
}

// Opens the pass 2 surface of the window's picture or of a preview.
std::unique_ptr<PictureSurface> OpenSurface(DrawingState& st, const DImProj& im, char view) {
    auto s = std::make_unique<PictureSurface>();
    if (view != 'm') {
        s->view = std::make_unique<QtCanvas>(st.PreviewImage, im.Smooth);
    } else if (!Metafile(im)) {
        s->view = std::make_unique<QtCanvas>(st.DrawBitmap, im.Smooth);
    } else {
        s->view = std::make_unique<QtCanvas>(st.MetaImage, im.Smooth);
        if (!st.MetaPath.empty() && im.Width > 0 && im.Height > 0) {
            std::error_code ec;
            const std::filesystem::path dir = std::filesystem::path(st.MetaPath).parent_path();
            if (!dir.empty()) std::filesystem::create_directories(dir, ec);
            s->emf = std::make_unique<EmfCanvas>(st.MetaPath, im.Width, im.Height, im.Dpi, im.Smooth);
            s->tee = std::make_unique<TeeCanvas>(*s->view, *s->emf);
        }
    }
    return s;
}

// Ends the pass 2 surface.  Only a complete picture is written to the
// metafile; a stopped one leaves no file behind.
void CloseSurface(DrawingState& st, bool complete) {
    if (!st.Surface) return;
    st.Surface->tee.reset();
    if (st.Surface->emf && complete) st.MetaWritten = st.Surface->emf->finish();
    st.Surface->emf.reset();
    if (st.Surface->view) st.Surface->view->finish();
    st.Surface.reset();
}

// The picture with the pixels of the background colour made transparent.
QImage TransparentWhere(const QImage& pic, TColor background) {
    QImage img = pic.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(RgbRed(background), RgbGreen(background), RgbBlue(background));
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((row[x] | 0xFF000000u) == key && qAlpha(row[x]) == 255) row[x] = 0;
    }
    return img;
}

void SetBusy(const RedrawHost& host, bool busy) {
    CommandRole& commands = host.commands;
    if (busy) {
        commands.setPlayImage(PlayImage::Running);
        commands.setPlayHint(host.texts.word(WordNo::StopHint));
        commands.lockCommands(true);
    } else {
        commands.setPlayImage(PlayImage::Idle);
        commands.setPlayHint(host.texts.word(WordNo::PlayHint));
        commands.lockCommands(false);
        commands.updateSelectionUI();
    }
}

// The two passes of a painter that takes its pass number last.
template <class R>
ByPass<Painter<R>> ByPasses(void (*paint)(const R&, const DImProj&, const PaintTarget&, int)) {
    return {[paint](const R& r, const DImProj& im, const PaintTarget& tg) { paint(r, im, tg, 1); },
            [paint](const R& r, const DImProj& im, const PaintTarget& tg) { paint(r, im, tg, 2); }};
}

}  // namespace

void DropMetafile(DrawingState& st) {
    st.MetaWritten = false;
    if (st.MetaPath.empty()) return;
    std::error_code ec;
    std::filesystem::remove(st.MetaPath, ec);
}

DrawingState::DrawingState()
    : DrawProj(NewDocument()), PreviewProj(NewDocument()), Painters(DefaultPainters()), Clock(MillisecondsOfDay) {}

DrawingState::~DrawingState() = default;

PainterTable DefaultPainters() {
    PainterTable t;
    t.point = DrawPoint;
    t.line = DrawLine;
    t.circle = {[](const DCircle& r, const DImProj& im, const PaintTarget& tg) { DrawCircle(r, im, tg, 1); },
                [](const DCircle& r, const DImProj& im, const PaintTarget& tg) { DrawCircle(r, im, tg, 2); }};
    t.triangle = {[](const DTri& r, const DImProj& im, const PaintTarget& tg) { DrawTriangle(r, im, tg, 1); },
                  [](const DTri& r, const DImProj& im, const PaintTarget& tg) { DrawTriangle(r, im, tg, 2); }};
    t.tetragon = {[](const DKv& r, const DImProj& im, const PaintTarget& tg) { DrawTetragon(r, im, tg, 1); },
                  [](const DKv& r, const DImProj& im, const PaintTarget& tg) { DrawTetragon(r, im, tg, 2); }};
    t.orb = ByPasses<DSf>(DrawOrb);
    t.cylinder = ByPasses<DZi>(DrawCylinder);
    t.cone = ByPasses<DKo>(DrawCone);
    t.pyramid3 = ByPasses<DPi3>(DrawPyramid3);
    t.pyramid4 = ByPasses<DPi4>(DrawPyramid4);
    t.prism3 = ByPasses<DPr3>(DrawPrism3);
    t.prism4 = ByPasses<DPr4>(DrawPrism4);
    t.xoy = {[](const DXOY& r, bool full, int i, const DImProj& im, char view,
                const PaintTarget& tg) { DrawXOY(r, full, i, im, view, tg, 1); },
             [](const DXOY& r, bool full, int i, const DImProj& im, char view,
                const PaintTarget& tg) { DrawXOY(r, full, i, im, view, tg, 2); }};
    t.xyz = {[](const DXZ& r, bool full, int i, const DImProj& im, char view,
                const PaintTarget& tg) { DrawXYZ(r, full, i, im, view, tg, 1); },
             [](const DXZ& r, bool full, int i, const DImProj& im, char view,
                const PaintTarget& tg) { DrawXYZ(r, full, i, im, view, tg, 2); }};
    return t;
}

bool HasGradientFills(const DProj& doc) {
    bool any = false;
    auto check = [&](const auto& s) {
        for (std::size_t i = 1; i <= s.count() && !any; ++i)
            if (s[i].Fill.On) any = true;
    };
    const DSubProj& o = doc.Obj;
    check(o.Ci);
    check(o.Tr);
    check(o.Kv);
    check(o.Sf);
    check(o.Zi);
    check(o.Ko);
    check(o.I3);
    check(o.I4);
    check(o.R3);
    check(o.R4);
    return any;
}

void FitToBox(int w, int h, int boxW, int& outW, int& outH, int boxH) {
    if (w <= boxW && h <= boxH) {
        outW = w;
        outH = h;
    } else if (h <= w) {
        outW = boxW;
        outH = w == 0 ? 0 : RoundToInt(static_cast<double>(h) * boxH / w);
    } else {
        outH = boxH;
        outW = h == 0 ? 0 : RoundToInt(static_cast<double>(w) * boxW / h);
    }
}

double ElapsedSeconds(std::int64_t startMs, std::int64_t nowMs) {
    std::int64_t e = nowMs - startMs;
    if (e < 0) e += 86400000;  // the day has turned
    const double s = static_cast<double>(e) / 1000.0;
    if (s >= 5) return Round(s);
    return Round(static_cast<double>(e) / 100.0) / 10.0;
}

std::string TimedCaption(const std::string& caption, double seconds, char decimalSep,
                         const std::string& secWord) {
    const std::size_t close = caption.rfind(')');
    const std::string head = close == std::string::npos ? std::string() : caption.substr(0, close + 1);
    return head + "  " + FloatToStr(seconds, decimalSep) + " " + secWord;
}

namespace {

bool PaintAllObjects(DProj& proj, DProj& doc, DrawingState& st, const RedrawHost& host, bool full, char viewLetter,
                     Canvas* pass2, bool* stop) {
    const DImProj& im = doc.Im;
    const DSubProj& o = doc.Obj;
    const PainterTable& p = st.Painters;
    const bool window = viewLetter == 'm';
    const bool valid = doc.FillValid != 0;
    const bool shaded = window && HasGradientFills(doc);
    const bool regenerate = full && !valid && shaded;
    const bool useCache = valid && shaded;
    const bool metafile = Metafile(im);
    const bool fills = full && !valid;
    const QColor background = ToQColor(im.Background);

    if (metafile && regenerate) st.DrawBitmap = NewPicture(im.Width, im.Height, background);

    // The graphs of the coordinate systems: stopped with the redraw, traced
    // curves stored into the snapshot (and the document for the window).  A
    // painting without a stop switch runs to its end.
    WindowsGraphHost graphHost(host.texts, &host.progress, nullptr);
    GraphRun graphRun;
    graphRun.Running = stop;
    graphRun.NoRedraw = &st.NoRedraw;
    graphRun.Host = &graphHost;
    graphRun.Stores.DrawProj = &doc;
    graphRun.Stores.Proj = window ? &proj : nullptr;
    if (window && st.Edit) {
        const EditState& e = *st.Edit;
        if (e.CurObjIndex >= 0 && e.CurObjIndex < ObjListSize)
            graphRun.Stores.CurrentObject = e.ObjList[static_cast<std::size_t>(e.CurObjIndex)];
        if (e.Work) {
            graphRun.Stores.CurXOY = &e.Work->CurXOY;
            graphRun.Stores.CurXZ = &e.Work->CurXZ;
        }
    }
    graphRun.DecimalSep = host.texts.decimalSeparator();
    graphRun.Told = &st.Told;

    // Pass 1 goes to the back buffer; a preview has a scratch picture of its
    // own, so that it never touches the window's picture.
    QImage scratch;
    if (!window) scratch = NewPicture(1, 1, background);
    {
        RasterSurface surface(window ? st.DrawBitmap : scratch);
        PaintTarget target;
        target.kind = TargetKind::Pel;
        target.raster = &surface;
        target.run = &graphRun;
        for (int layer = 1; layer <= LayerCount; ++layer) {
            if (shaded && !valid) host.status.setStatusPanel(2, GradientText);
            if (fills) {
                PaintLayer(o.Ci, layer, p.circle.pass1, im, target);
                PaintLayer(o.Tr, layer, p.triangle.pass1, im, target);
                PaintLayer(o.Kv, layer, p.tetragon.pass1, im, target);
            }
            if (!PaintSystems(o.Xy, layer, p.xoy.pass1, full, viewLetter, im, target, stop)) return false;
            if (shaded && !valid) host.status.setStatusPanel(2, GradientText);
            if (fills) {
                PaintLayer(o.Sf, layer, p.orb.pass1, im, target);
                PaintLayer(o.Zi, layer, p.cylinder.pass1, im, target);
                PaintLayer(o.Ko, layer, p.cone.pass1, im, target);
                PaintLayer(o.I3, layer, p.pyramid3.pass1, im, target);
                PaintLayer(o.I4, layer, p.pyramid4.pass1, im, target);
                PaintLayer(o.R3, layer, p.prism3.pass1, im, target);
                PaintLayer(o.R4, layer, p.prism4.pass1, im, target);
            }
            if (!PaintSystems(o.Xz, layer, p.xyz.pass1, full, viewLetter, im, target, stop)) return false;
        }
    }

    if (shaded && !valid) host.status.setStatusPanel(2, "");
    if (regenerate) {
        proj.FillValid = 1;
        st.BackPng = st.DrawBitmap.copy();
    }
    // The cached shading replaces the background just filled (or, where the
    // redraw knew that it would, the buffer as it was); a cache of another
    // size belongs to an older picture and is not used.
    if (useCache && !metafile && !st.BackPng.isNull() && st.BackPng.size() == st.DrawBitmap.size())
        TakeCachedShading(st);
    if (metafile && window) st.DrawBitmap = NewPicture(1, 1, background);

    if (AnyGraphs(doc)) host.status.setStatusPanel(2, host.texts.word(WordNo::CartesianGraph));
    host.commands.repaintPlay();
    if (full) host.progress.processEvents();
    host.commands.setPlayEnabled(false);
    host.commands.repaintPlay();

    Canvas* canvas = pass2;
    if (!canvas) {
        st.Surface.reset();
        st.Surface = OpenSurface(st, im, viewLetter);
        canvas = st.Surface->canvas();
    }
    PaintTarget target;
    target.kind = TargetKind::Pel;
    target.canvas = canvas;
    target.run = &graphRun;
    target.doc = &doc;
    for (int layer = 1; layer <= LayerCount; ++layer) {
        PaintLayer(o.Po, layer, p.point, im, target);
        PaintLayer(o.Li, layer, p.line, im, target);
        PaintLayer(o.Ci, layer, p.circle.pass2, im, target);
        PaintLayer(o.Tr, layer, p.triangle.pass2, im, target);
        PaintLayer(o.Kv, layer, p.tetragon.pass2, im, target);
        PaintSystems(o.Xy, layer, p.xoy.pass2, full, viewLetter, im, target, nullptr);
        PaintLayer(o.Sf, layer, p.orb.pass2, im, target);
        PaintLayer(o.Zi, layer, p.cylinder.pass2, im, target);
        PaintLayer(o.Ko, layer, p.cone.pass2, im, target);
        PaintLayer(o.I3, layer, p.pyramid3.pass2, im, target);
        PaintLayer(o.I4, layer, p.pyramid4.pass2, im, target);
        PaintLayer(o.R3, layer, p.prism3.pass2, im, target);
        PaintLayer(o.R4, layer, p.prism4.pass2, im, target);
        PaintSystems(o.Xz, layer, p.xyz.pass2, full, viewLetter, im, target, nullptr);
    }

    if (metafile && shaded)
        host.status.setStatusPanel(4, host.texts.word(proj.FillValid ? WordNo::GradientBuilt : WordNo::GradientNotBuilt));
    else
        host.status.setStatusPanel(4, "");
    host.status.setStatusPanel(2, "");
    host.commands.setPlayEnabled(true);
    return true;
}

}  // namespace

bool DrawAllObjects(DProj& proj, DProj& doc, DrawingState& st, const RedrawHost& host, bool full, char viewLetter,
                    Canvas* pass2, bool* stop) {
    // A part that cannot be drawn is told and passed over (DrawPart); what
    // fails between the parts (no memory for a picture) ends the drawing as a
    // stop does, told the same way, with the play button given back.
    if (!st.HoldTold) st.Told = false;
    try {
        return PaintAllObjects(proj, doc, st, host, full, viewLetter, pass2, stop);
    } catch (const std::exception&) {
        host.status.setStatusPanel(2, "");
        host.commands.setPlayEnabled(true);
        WindowsGraphHost texts(host.texts, nullptr, nullptr);
        TellCannotPlot(&texts, &st.Told);
        return false;
    }
}

void PresentBackBuffer(const DProj& doc, DrawingState& st, PictureRole& picture) {
    const DImProj& im = doc.Im;
    // At 100 % with nothing under the drawing the back buffer is the picture
    // as shown: the window shows it itself, without a copy.
    if (doc.Zoom == 100 && !im.BackOn && !Metafile(im) && st.DrawBitmap.width() == im.Width &&
        st.DrawBitmap.height() == im.Height) {
        st.ViewBitmap = QImage();
        picture.showPicture(st.DrawBitmap, im.Width, im.Height, 0, 0);
        return;
    }
    const ViewPort v = picture.imageView();
    const double zoom = doc.Zoom / 100.0;
    auto zoomed = [&](int n) { return RoundToInt(n * zoom); };

    st.ViewBitmap = NewPicture(v.width, v.height, ToQColor(im.Background));
    if (!st.ViewBitmap.isNull()) {
        QPainter painter(&st.ViewBitmap);
        if (im.BackOn && !st.BackBitmap.isNull())
            painter.drawImage(QRect(-v.left, -v.top, zoomed(st.BackBitmap.width()), zoomed(st.BackBitmap.height())),
                              st.BackBitmap);
        const QImage& pic = Metafile(im) ? st.MetaImage : st.DrawBitmap;
        if (!pic.isNull()) {
            const QRect r(-v.left, -v.top, zoomed(pic.width()), zoomed(pic.height()));
            if (!Metafile(im) && im.BackOn)
                painter.drawImage(r, TransparentWhere(pic, im.Background));
            else
                painter.drawImage(r, pic);
        }
    }
    picture.showPicture(st.ViewBitmap, zoomed(im.Width), zoomed(im.Height), v.left, v.top);
}

void RunPendingRedraw(DProj& proj, DrawingState& st, const RedrawHost& host) {
    while (st.RedrawPending && !st.Running) {
        st.RedrawPending = false;
        RepaintProject(proj, st, host, RedrawMode::Window, false);
    }
}

void RepaintProject(DProj& proj, DrawingState& st, const RedrawHost& host, RedrawMode mode, bool full) {
    const bool window = mode == RedrawMode::Window;
    if (!window && mode != RedrawMode::OpenPreview && mode != RedrawMode::SavePreview) return;
    const bool play = window && full;

    if (play) host.commands.commitFocusedEdits();
    if (st.Running) {
        if (play) {
            // A stop request.
            st.Running = false;
            host.commands.setPlayImage(PlayImage::Idle);
        } else if (window) {
            // The running redraw handles window events between its passes: a
            // second one must not start inside it.  Draw once more afterwards.
            st.RedrawPending = true;
        }
        return;
    }
    st.Running = true;
    if (play) SetBusy(host, true);

    DProj* doc = nullptr;
    std::int64_t start = 0;
    if (window) {
        if (full) host.commands.selectNone();
        *st.DrawProj = proj;
        doc = st.DrawProj.get();
        start = st.Clock();
        // The metafile of an earlier drawing is not this one's.
        DropMetafile(st);
        const DImProj& im = doc->Im;
        const QColor background = ToQColor(im.Background);
        // A back buffer the window still shows is left to it: the redraw
        // paints into the one shown before (which the window has let go),
        // or a new one, rather than copying it first.  When the cached
        // shading will cover the whole buffer and pass 1 has nothing to paint
        // (no coordinate system), the buffer is not filled first.
        const bool covered = CacheReplacesPicture(*doc, st) && doc->Obj.Xy.count() == 0 && doc->Obj.Xz.count() == 0;
        bool fresh = false;
        if (!Metafile(im)) {
            if (!st.DrawBitmap.isDetached()) std::swap(st.DrawBitmap, st.SpareBack);
            if (st.DrawBitmap.width() != im.Width || st.DrawBitmap.height() != im.Height ||
                !st.DrawBitmap.isDetached()) {
                st.DrawBitmap = covered ? QImage(im.Width, im.Height, QImage::Format_ARGB32_Premultiplied)
                                        : NewPicture(im.Width, im.Height, background);
                fresh = true;
            }
        } else if (st.DrawBitmap.isNull()) {
            st.DrawBitmap = NewPicture(1, 1, background);
            fresh = true;
        }
        if (!fresh && !covered && !st.DrawBitmap.isNull()) st.DrawBitmap.fill(background);
        if (Metafile(im)) st.MetaImage = NewPicture(im.Width, im.Height, Qt::transparent);
    } else {
        doc = st.PreviewProj.get();
        st.PreviewImage = NewPicture(doc->Im.Width, doc->Im.Height, ToQColor(doc->Im.Background));
    }

    // Only the window's redraw can be stopped; a preview paints to its end.
    const bool complete =
        DrawAllObjects(proj, *doc, st, host, full, window ? 'm' : 't', nullptr, window ? &st.Running : nullptr) &&
        (!window || st.Running);
    CloseSurface(st, complete);

    if (window) {
        const double seconds = ElapsedSeconds(start, st.Clock());
        host.status.setImageCaption(TimedCaption(host.status.imageCaption(), seconds, host.texts.decimalSeparator(),
                                                 host.texts.word(WordNo::Seconds)));
        host.progress.hideProgress();
        PresentBackBuffer(*st.DrawProj, st, host.picture);
    } else {
        int w = 0, h = 0;
        FitToBox(doc->Im.Width, doc->Im.Height, PreviewBox, w, h, PreviewBox);
        QImage preview;
        if (!st.PreviewImage.isNull() && w > 0 && h > 0)
            preview = st.PreviewImage.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        host.picture.showPreview(mode, preview);
        st.PreviewImage = QImage();
    }

    st.Running = false;
    if (play) SetBusy(host, false);
    RunPendingRedraw(proj, st, host);
}

}  // namespace pelmar
