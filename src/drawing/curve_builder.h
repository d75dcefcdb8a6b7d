// The builders of function graphs: the state one curve is built in, the
// operations by which a builder appends points and ends polylines, the graph
// y = f(x) sampled per picture column, and the tracer of implicit curves
// F(x, y) = 0.  The graph dispatcher owns a SubCurveContext while it draws one
// curve and hands it to the builder; the builder ends in DrawCurveSet.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "drawing/curve_output.h"
#include "drawing/formula.h"
#include "drawing/graph_transform.h"
#include "drawing/host_roles.h"
#include "drawing/paint_target.h"
#include "drawing/word_lines.h"
#include "model/geometry.h"
#include "model/records.h"

namespace pelmar {

// What long curve traces need of the windows: the texts, and for each target
// the window that shows its progress ("pel": the drawing window's status bar,
// "cdr" and "wrd": the export dialog's label and bar) and pumps its events.
class GraphHost {
public:
    virtual ~GraphHost() = default;
    virtual TextRole& texts() = 0;
    // Null when no window shows the progress of drawing for `target`.
    virtual ProgressRole* progressFor(TargetKind target) = 0;
};

// Where traced curves are stored: the drawing snapshot, the working copies of
// the current object and the open document.  Any of them may be absent.
struct CurveStores {
    DProj* DrawProj = nullptr;
    DProj* Proj = nullptr;
    ObjListEntry CurrentObject;  // the current entry of the object list
    DXOY* CurXOY = nullptr;
    DXZ* CurXZ = nullptr;
};

// A set of polylines under construction.
struct CurveSetBuild {
    std::vector<DCurve1> Lines;
    std::uint8_t Plane = PlaneXOY;
    double Position = 0;

    void clear(std::uint8_t plane, double position) {
        Lines.clear();
        Plane = plane;
        Position = position;
    }
    DCurve2 set() const { return MakeCurve2(Lines, Plane, Position); }
};

// One point of a traced branch: its picture and model position and mark.
struct TracePoint {
    double px = 0, py = 0;
    Vec3 model;
    bool visible = false;
};

// The tracer's state from column to column.
struct TracerState {
    int PrevCount = 0;
    std::array<double, 9> Roots{};
    TracePoint PrevA, PrevB;
    int PrevGap = 0, CurGap = 0;
    bool OutsideSide = false;  // where a root lost from the window went: false below, true above
    bool Merging = false;      // the widened search found fewer than two roots
    bool PairEntering = false; // two new roots continue beyond the window
    double ColumnStep = 0;     // half a pixel in y units
    double Extension = 0;      // how far the widened searches reach beyond the window
};

struct SubCurveContext {
    // The picture and the target.
    PaintTarget Target;
    DImProj ImProj;
    std::uint8_t Pass = 2;
    char TargetChar = 'm';      // 'm' when the drawing is the document's main picture
    int CdrDashStyle = 1;
    // The curve.
    int Index = 0;              // 1..10 a 2D system, 11..12 a 3D system (number + 10)
    bool Recompute = true;      // the painter's full-drawing switch
    // The implicit tracer's column scans pass over stretches where the
    // formula's bound shows one sign throughout; false computes every sample
    // (the same roots, more slowly: for comparison).
    bool SkipSignedStretches = true;
    bool NamedFunctions = true; // full evaluator pair, else the light one
    DistributionParameters Params;
    double XScale = 1, YScale = 1;  // pixels per unit
    int CX = 0, CY = 0;             // picture position of the origin
    TColor Colour = 0;
    int Width = 1;
    GraphLineStyle Style;
    GraphTransform Transform;
    std::array<Vec3, 8> Corners{};  // the box of a 3D system
    ScanWindow Window;              // what the 3D system's drawing window shows
    DOutLine Outline;
    // The drawing run.
    bool* Running = nullptr;        // a drawing runs; cleared to stop it
    const bool* NoRedraw = nullptr; // a mouse drag runs
    GraphHost* Host = nullptr;
    bool* Told = nullptr;           // the run's "already told"; null: tell each time
    CurveStores Stores;
    int CurveNo = 1, CurveCount = 1;  // this curve among those the progress bar covers
    int LastProgress = 0;
    // Building.
    CurveSetBuild Result;
    std::vector<CurvePoint> CurrentA, CurrentB;
    bool Inside = false;            // the previous column's point was drawn
    Ext CurX = 0, CurY = 0;
    TracerState Tracer;

    bool running() const { return Running && *Running; }
    // The progress display of this drawing's target, or null.
    ProgressRole* progress() const { return Host ? Host->progressFor(Target.kind) : nullptr; }
};

// Appends (x, y) with its mark to CurrentA (which 1) or CurrentB (which 2).
void AddCurvePoint(SubCurveContext& ctx, std::uint8_t which, bool visible, double x, double y);
// Hands CurrentA (CurrentB) over to the result as its next polyline, also
// when it has no points, and empties it.
void ClosePolylineA(SubCurveContext& ctx);
void ClosePolylineB(SubCurveContext& ctx);

// The graph of y = f(x) (F) in the 2D plane (plane 0), or in the 3D plane
// X = position (1) or Y = position (2), where the surface z = g(x, y) (G) may
// hide it.  The window reaches left and right pixels beside cx and top and
// bottom pixels above and below cy, on the value y·YScale.  Sampled once per
// picture column; undefined values break the polyline; where the curve
// crosses the window's edge it gets a point on the edge or finer samples.
void PlotCartesian(SubCurveContext& ctx, std::uint8_t plane, const std::string& F, const std::string& G,
                   double position, double top, double bottom, double right, double left, double cy, double cx);

// The curve F(x, y) = 0 in the 2D plane (0) or in the 3D plane X, Y or
// Z = position (1, 2, 3), hidden where the surface G = 0 covers it.  N is the
// slot of the curve in a 3D system's curve array (11..65).  The traced
// polylines are stored with Valid 1 and reused while that stays set; without
// Recompute only stored curves are drawn.  Needs the drawing to run
// (ctx.Running); clearing it stops the trace without storing or drawing.
void TraceImplicitCurve(SubCurveContext& ctx, std::uint8_t plane, const std::string& F, const std::string& G,
                        int N, double position, double top, double bottom, double right, double left, double cy,
                        double cx);

// The reach of a curve's window in plane 0..3 (pixels left and right of its
// origin (cx, cy) along the column, below and above it along the root), cut
// to what can reach the picture of width x height pixels with a band around
// it, where a stored curve may still be moved into view: the picture's own
// size, or `band` pixels where that is wider.  A reach already within it
// stays as it is; a picture of no size cuts nothing.  A window cut to nothing
// has Left + Right or Top + Bottom below 0: the tracer then draws nothing.
struct CurveWindow {
    double Left = 0, Right = 0, Bottom = 0, Top = 0;
};
void CutWindowToPicture(std::uint8_t plane, double cx, double cy, int width, int height, double band,
                        CurveWindow& w);

// The roots of f on [lo, hi] scanned in steps of `step`: an exact zero at a
// sample, or a sign change between two defined samples (refined by a scan of
// a tenth of the step with refine).  Without refine only the first root is
// sought.  At most nine are kept; returns their number.  With refine and
// skipSigned, stretches of samples whose values the formula's bound shows
// to be of one sign (so without a root) are not computed: the roots are
// the same.
int RootsOnSegment(const Formula& f, std::array<double, 9>& roots, bool refine, double step, double hi, double lo,
                   bool skipSigned = true);

// Places a change of visibility along a branch step from `from` to `to`
// (model points) within a pixel: the first of Trunc(pixelLength) + 1
// sub-points whose mark is not `want` is added to branch `which` with the
// point before it.
void AddSegmentByVisibility(SubCurveContext& ctx, std::uint8_t which, std::uint8_t plane, const Vec3& from,
                            const Vec3& to, const std::string& S, bool want, double pixelLength, double cy,
                            double cx);

// The text the message box shows when a column has three or more roots.
inline constexpr int CannotPlotLine = static_cast<int>(WordNo::CannotPlotGraph);
inline const char* const CannotPlotText = BuiltInWord(WordNo::CannotPlotGraph);

// Shows that message through the host's texts; no host, no message.  With
// `told` the message is shown only while *told is clear, and sets it: a run
// (a drawing, an animation) tells it once, whatever its graphs and frames.
void TellCannotPlot(GraphHost* host, bool* told);

}  // namespace pelmar
