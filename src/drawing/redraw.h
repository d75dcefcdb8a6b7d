// The redraw: every change of the document ends in RepaintProject, which
// copies the edited document into the drawing snapshot and paints it in two
// passes over ten layers: pass 1 the fills and shading on the raster back
// buffer, pass 2 the outlines, lines, points and labels on the picture's
// canvas (raster, or a metafile with a raster copy for the window).  A full
// redraw also computes the shaded fills, keeps them in a cache, and can be
// stopped.
#pragma once

#include <QImage>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "drawing/paint_target.h"
#include "drawing/redraw_host.h"
#include "model/edit_state.h"
#include "model/records.h"

namespace pelmar {

class Canvas;

// Painter signatures.  Every painter gets its record (and makes its own copy
// to work on), the picture settings of the snapshot and the target.
template <class R>
using Painter = std::function<void(const R& rec, const DImProj& im, const PaintTarget& target)>;
// Coordinate systems also get Full, their 1-based index among their kind and
// the view letter ('m' the drawing window, 't' a preview).
template <class R>
using SystemPainter =
    std::function<void(const R& rec, bool full, int index, const DImProj& im, char view, const PaintTarget& target)>;

template <class P>
struct ByPass {
    P pass1;  // fills and shading, on target.raster
    P pass2;  // outlines, lines, points and labels, on target.canvas
};

// One painter per kind and pass; an empty entry draws nothing.  Points and
// segments are drawn in pass 2 only.
struct PainterTable {
    Painter<DPoint> point;
    Painter<DLine> line;
    ByPass<Painter<DCircle>> circle;
    ByPass<Painter<DTri>> triangle;
    ByPass<Painter<DKv>> tetragon;
    ByPass<SystemPainter<DXOY>> xoy;
    ByPass<Painter<DSf>> orb;
    ByPass<Painter<DZi>> cylinder;
    ByPass<Painter<DKo>> cone;
    ByPass<Painter<DPi3>> pyramid3;
    ByPass<Painter<DPi4>> pyramid4;
    ByPass<Painter<DPr3>> prism3;
    ByPass<Painter<DPr4>> prism4;
    ByPass<SystemPainter<DXZ>> xyz;
};

// The painters built so far.
PainterTable DefaultPainters();

inline constexpr int PreviewBox = 176;

struct PictureSurface;

// Everything the redraw owns between calls.
struct DrawingState {
    DrawingState();
    ~DrawingState();
    DrawingState(const DrawingState&) = delete;
    DrawingState& operator=(const DrawingState&) = delete;

    std::unique_ptr<DProj> DrawProj;     // the snapshot the window's picture is painted from
    std::unique_ptr<DProj> PreviewProj;  // the document the open and save dialogs preview
    bool Running = false;                // a redraw or an export runs; clearing it asks a redraw to stop
    bool NoRedraw = false;               // set by the editing code while an object is dragged
    bool RedrawPending = false;          // a redraw was asked for while one ran
    bool Told = false;                   // the last drawing told a part it could not draw
    bool HoldTold = false;               // an animation runs: Told lasts over its frames

    QImage DrawBitmap;  // raster back buffer; pass 1 is always painted here
    QImage SpareBack;   // the back buffer shown before the one on the screen, painted into next
    QImage MetaImage;   // the metafile picture as the window shows it
    QImage ViewBitmap;  // the visible part of the picture
    QImage BackBitmap;  // the project's background picture
    QImage BackPng;     // the shaded pass 1 picture of the last full run
    QImage PreviewImage;

    // The metafile of pass 2 in metafile mode: "MetaTemp.emf" in the running
    // instance's own scratch folder; empty: none is written.
    std::string MetaPath;
    // The file at MetaPath was written whole by the last drawing of the
    // window; a drawing removes it when it starts.
    bool MetaWritten = false;
    PainterTable Painters;
    std::function<std::int64_t()> Clock;  // milliseconds of the day
    // The editing state: the window's drawing stores the curves it traces
    // into the working copy of the current object too, so that committing
    // it keeps them.  Null: none (an export, a test).
    EditState* Edit = nullptr;

    std::unique_ptr<PictureSurface> Surface;  // the pass 2 surface while it lives
};

// The drawing window, or the preview of the own open or save dialog (which
// have read the file into PreviewProj and set its picture type to
// metafile).  Full: the build-the-drawing run.
void RepaintProject(DProj& proj, DrawingState& st, const RedrawHost& host, RedrawMode mode, bool full);

// Paints `doc`: true when it ran to the end, false when it was stopped or
// could not go on (told, as a part that cannot be drawn is).  With
// `pass2` given, pass 2 is drawn there instead of on the picture.  Graphs
// traced on the way are stored into `doc` (and, for the window, into `proj`).
// `stop` is the switch whose clearing stops the painting (the window redraw
// passes `st.Running`); without one, as for exports, previews and animation
// frames, the painting always runs to its end.
bool DrawAllObjects(DProj& proj, DProj& doc, DrawingState& st, const RedrawHost& host, bool full, char viewLetter,
                    Canvas* pass2 = nullptr, bool* stop = nullptr);

// Removes the metafile of the last drawing (a drawing removes it when it
// starts; the program when it ends).
void DropMetafile(DrawingState& st);

// Shows the picture of `doc` in the drawing window at its zoom and scroll position.
void PresentBackBuffer(const DProj& doc, DrawingState& st, PictureRole& picture);

// The redraw that was asked for while another one ran, once.
void RunPendingRedraw(DProj& proj, DrawingState& st, const RedrawHost& host);

// True when any ellipse, triangle, tetragon or solid has its fill on.
bool HasGradientFills(const DProj& doc);

// Fits w x h into boxW x boxH keeping the proportions; a size that fits stays.
void FitToBox(int w, int h, int boxW, int& outW, int& outH, int boxH);

// Elapsed time of a redraw started at `startMs` (milliseconds of the day):
// tenths of a second below five seconds, whole seconds from five on.
double ElapsedSeconds(std::int64_t startMs, std::int64_t nowMs);
// The drawing window's caption up to its last ")", then the time.
std::string TimedCaption(const std::string& caption, double seconds, char decimalSep, const std::string& secWord);

}  // namespace pelmar
