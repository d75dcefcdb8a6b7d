// The surface branch of the graph drawing: it ties the box, the sections, the
// outline scan and the shaded fill (surface_internal.h) to the running graph
// call, its progress display, its stop switch and the stored outlines.
#include "drawing/surfaces.h"

#include <cmath>
#include <utility>
#include <vector>

#include "drawing/graph_run.h"
#include "drawing/surface_internal.h"
#include "drawing/word_lines.h"
#include "platform/raster_surface.h"

namespace pelmar {

namespace {

constexpr const char* GradientText = "Gradient";

GraphHost* RunHost(const SubCurveContext& ctx) { return ctx.Target.run ? ctx.Target.run->Host : nullptr; }

std::string Word(GraphHost* host, WordNo line, const char* fallback) {
    std::string t = host ? host->texts().word(line) : std::string();
    return t.empty() ? std::string(fallback) : t;
}

bool OwnPictureProgress(const SubCurveContext& ctx) {
    return ctx.Target.is(TargetKind::Pel) && (ctx.Pass == 1 || ctx.Pass == 3);
}
bool ExportProgress(const SubCurveContext& ctx) { return ctx.Target.is(TargetKind::Cdr) || ctx.Target.is(TargetKind::Wrd); }

// The integer scale of the outline and the fill.
int IntScale(const SubCurveContext& ctx) { return RoundToInt(ctx.XScale); }

// The ray-march step of the line searches: step 1 pixels in units.
double MarchStep(const SubCurveContext& ctx) {
    const int s = IntScale(ctx);
    return s > 0 ? static_cast<double>(ctx.Outline.Step1) / s : 0;
}

// The ray tests of the surface for picture points (0, y, z); the
// distribution parameters they prepare with are params (the running call's,
// or a worker's own copy).
SurfaceHitTest HitTest(const SubCurveContext& ctx, const std::string& surface, DistributionParameters& params) {
    const double step = MarchStep(ctx);
    return [&ctx, &params, surface, step](double y, double z) {
        TColor unused = 0;
        const auto& c = ctx.Outline.Colors;
        return RaySurfaceHit({0, y, z}, false, ctx.Corners, surface, ctx.Outline.FitMode, step, ctx.Transform, c[0],
                             c[1], c[2], ctx.ImProj, false, unused, ctx.NamedFunctions, params);
    };
}

SurfaceHitTest HitTest(SubCurveContext& ctx, const std::string& surface) { return HitTest(ctx, surface, ctx.Params); }

SurfaceColourTest ColourTest(const SubCurveContext& ctx, const std::string& surface, DistributionParameters& params) {
    const double step = MarchStep(ctx);
    return [&ctx, &params, surface, step](double y, double z, TColor& colour) {
        const auto& c = ctx.Outline.Colors;
        const bool hit = RaySurfaceHit({0, y, z}, false, ctx.Corners, surface, ctx.Outline.FitMode, step,
                                       ctx.Transform, c[0], c[1], c[2], ctx.ImProj, true, colour, ctx.NamedFunctions,
                                       params);
        // Only a point or a direction of light gives the hit a colour.
        return hit && (ctx.ImProj.LightSource == 1 || ctx.ImProj.LightSource == 2);
    };
}

// Event pump, progress and stop of a scan on the own picture; the exports
// only move their bar.
// The progress display of the target of a drawing that shows its progress.
ProgressRole* ShownProgress(const SubCurveContext& ctx) {
    GraphHost* host = RunHost(ctx);
    if (!host || !(OwnPictureProgress(ctx) || ExportProgress(ctx))) return nullptr;
    return host->progressFor(ctx.Target.kind);
}

SurfaceScanControl ScanControl(SubCurveContext& ctx) {
    SurfaceScanControl ctl;
    ProgressRole* shown = ShownProgress(ctx);
    if (OwnPictureProgress(ctx)) {
        ctl.lineDone = [&ctx, shown] {
            if (shown && !(ctx.NoRedraw && *ctx.NoRedraw)) shown->processEvents();
        };
        ctl.pump = ctl.lineDone;
        ctl.running = [&ctx] { return ctx.running(); };
    }
    if (shown) ctl.progress = [shown](int p) { shown->setProgress(p); };
    return ctl;
}

void ShowProgress(const SubCurveContext& ctx, const std::string& text) {
    if (ProgressRole* shown = ShownProgress(ctx)) shown->showProgress(text);
}

void HideProgress(const SubCurveContext& ctx) {
    if (ProgressRole* shown = ShownProgress(ctx)) shown->hideProgress();
}

// The 3D system of the object slot in a document, or null.
DXZ* SystemOf(DProj* doc, int slot) {
    if (!doc) return nullptr;
    const int n = slot - 10;
    if (n < 1 || n > doc->Obj.Xz.count()) return nullptr;
    return &doc->Obj.Xz[static_cast<std::size_t>(n)];
}

// Which of the system's three outlines belongs to the surface.
int OutlineNumber(const SubCurveArgs& a) {
    if (a.Kind == SurfaceKindImplicit) return 3;
    return a.SurfaceNumber == 1 || a.SurfaceNumber == 2 ? a.SurfaceNumber : 0;
}

void DrawResult(SubCurveContext& ctx, const SubCurveArgs& a) {
    DrawCurveSet(ctx.Result.set(), ctx.Width, ctx.Colour, ctx.NamedFunctions, ctx.Pass, ctx.Target, ctx.ImProj,
                 ctx.CdrDashStyle, ctx.Outline, a.Formula1, ctx.Corners, ctx.Style, 1, ctx.Transform, ctx.YScale,
                 ctx.XScale, ctx.CY, ctx.CX, ctx.Params, ctx.Window, false);
}

}  // namespace

void DrawSurface(SubCurveContext& ctx, const SubCurveArgs& a) {
    if (!IsSurfaceKind(a.Kind)) return;
    const SurfaceSections& sec = a.Sections;
    ctx.Corners = SurfaceBoxCorners(MakeSurfaceBox(sec), ctx.Transform);

    const char sep = ctx.Target.run ? ctx.Target.run->DecimalSep : '.';
    const auto plan =
        PlanSurfaceSections(a.Kind, a.Formula1, a.SurfaceNumber, sec, ctx.XScale, ctx.CX, ctx.CY, sep,
                            ctx.ImProj.Width, ctx.ImProj.Height);
    ShowProgress(ctx, Word(RunHost(ctx), WordNo::ImplicitGraph, BuiltInWord(WordNo::ImplicitGraph)));
    ctx.CurveCount = TracedSectionCount(plan);
    ctx.CurveNo = 0;
    ctx.LastProgress = 0;
    for (const SurfaceSection& p : plan) {
        if (!ctx.running()) break;
        if (p.Traced) {
            ++ctx.CurveNo;
            TraceImplicitCurve(ctx, static_cast<std::uint8_t>(p.Group), p.F, p.G, p.Slot, p.Position, p.Top,
                               p.Bottom, p.Right, p.Left, p.OriginY, p.OriginX);
        } else {
            PlotCartesian(ctx, static_cast<std::uint8_t>(p.Group), p.F, p.G, p.Position, p.Top, p.Bottom, p.Right,
                          p.Left, p.OriginY, p.OriginX);
        }
    }
    if (ctx.Outline.On) DrawSurfaceOutline(ctx, a);
    if (ctx.Outline.GradientOn) DrawSurfaceGradient(ctx, a);
    HideProgress(ctx);
}

void DrawSurfaceOutline(SubCurveContext& ctx, const SubCurveArgs& a) {
    const DOutLine& o = ctx.Outline;
    if (!(o.X2 > o.X1 && o.Y2 > o.Y1) || !ctx.running()) return;
    const int n = OutlineNumber(a);
    DXZ* snap = n ? SystemOf(ctx.Stores.DrawProj, ctx.Index) : nullptr;
    DOutLine* stored = snap ? &snap->Outlines[static_cast<std::size_t>(n)] : nullptr;
    const bool valid = stored && stored->Lines.Valid == 1;
    if (!ctx.Recompute && !valid) return;
    if (valid) {
        ctx.Result.clear(stored->Lines.Plane, stored->Lines.Position);
        ctx.Result.Lines = stored->Lines.lines();
        DrawResult(ctx, a);
        return;
    }

    const std::string surface = SurfaceRayFormula(a.Kind, a.Formula1, ctx.Transform);
    ShowProgress(ctx, Word(RunHost(ctx), WordNo::Outline, BuiltInWord(WordNo::Outline)));
    ctx.CurrentA.clear();
    ctx.CurrentB.clear();
    ctx.Result.clear(PlaneAsIs, 0);

    OutlineScanArgs g;
    g.X1 = o.X1, g.Y1 = o.Y1, g.X2 = o.X2, g.Y2 = o.Y2;
    g.ScanDir = o.ScanDir;
    g.Step2 = o.Step2;
    g.GradientOn = o.GradientOn;
    g.S = IntScale(ctx);
    g.CX = ctx.CX, g.CY = ctx.CY;
    g.Width = ctx.ImProj.Width, g.Height = ctx.ImProj.Height;
    OutlinePolylines out;
    const bool done = ScanSurfaceOutline(g, HitTest(ctx, surface), ScanControl(ctx), out);
    if (!done || !ctx.running()) return;

    for (const auto& line : out.Lines) {
        std::vector<CurvePoint> pts;
        pts.reserve(line.size());
        for (const CurvePoint& p : line) pts.push_back(MakeCurvePoint(p.x, p.y, true));
        ctx.Result.Lines.push_back(MakeCurve1(std::move(pts)));
    }
    DCurve2 set = ctx.Result.set();
    set.Valid = 1;
    if (stored) {
        stored->Lines = set;
        const ObjListEntry& cur = ctx.Stores.CurrentObject;
        if (ctx.Stores.CurXZ && cur.code[0] == 'x' && cur.code[1] == 'z' && cur.index == ctx.Index - 10)
            ctx.Stores.CurXZ->Outlines[static_cast<std::size_t>(n)].Lines = set;
        if (ctx.TargetChar == 'm')
            if (DXZ* doc = SystemOf(ctx.Stores.Proj, ctx.Index)) doc->Outlines[static_cast<std::size_t>(n)].Lines = set;
    }
    DrawResult(ctx, a);
}

std::uint8_t FindCoveredSpan(SubCurveContext& ctx, const std::string& surface, std::uint8_t direction, double& lo,
                             double& hi, double c, double a, double b, double s) {
    return FindCoveredSpan(direction, lo, hi, c, a, b, s, HitTest(ctx, surface));
}

double BisectSurfaceEdge(SubCurveContext& ctx, const std::string& surface, std::uint8_t direction, double c,
                         double a, double b) {
    return BisectSurfaceEdge(direction, c, a, b, HitTest(ctx, surface));
}

void DrawSurfaceGradient(SubCurveContext& ctx, const SubCurveArgs& a) {
    if (!ctx.Target.is(TargetKind::Pel) || ctx.Pass == 2 || !ctx.Target.raster) return;
    if (!ctx.running() || !ctx.Recompute) return;
    if (ctx.Stores.DrawProj && ctx.Stores.DrawProj->FillValid) return;
    const int s = IntScale(ctx);
    PixelRange cols, rows;
    SurfaceBoxPixels(ctx.Corners, s, ctx.CX, ctx.CY, cols, rows);
    if (cols.First >= cols.Last || rows.First >= rows.Last) return;
    const std::string surface = SurfaceRayFormula(a.Kind, a.Formula1, ctx.Transform);
    if (OwnPictureProgress(ctx)) ShowProgress(ctx, GradientText);
    GradientScanArgs g;
    g.ScanDir = ctx.Outline.ScanDir;
    g.S = s;
    g.CX = ctx.CX, g.CY = ctx.CY;
    g.Threads = UsableCores();
    // Lines are coloured on all cores; each worker prepares the surface with
    // its own copy of the distribution parameters.  Every preparation sets
    // them from the surface's own text, so after the first pixel they are the
    // same in every worker and in a serial scan; the running call takes them
    // from the worker that coloured the last line.
    std::vector<DistributionParameters> params(static_cast<std::size_t>(g.Threads), ctx.Params);
    const SurfaceTestMaker make = [&](int w) {
        DistributionParameters& p = params.at(static_cast<std::size_t>(w));
        return SurfaceTests{HitTest(ctx, surface, p), ColourTest(ctx, surface, p)};
    };
    int last = -1;
    PaintSurfaceGradient(ctx.Corners, g, make, *ctx.Target.raster, ScanControl(ctx), &last);
    if (last >= 0) ctx.Params = params[static_cast<std::size_t>(last)];
}

}  // namespace pelmar
