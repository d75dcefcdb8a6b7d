#include "drawing/sub_curve.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "drawing/curve_builder.h"
#include "drawing/graph_run.h"
#include "drawing/surfaces.h"
#include "drawing/word_lines.h"
#include "platform/canvas.h"

namespace pelmar {

bool CurveSamplable(double start, double end, double step) {
    if (!(step > 0) || !std::isfinite(step) || !std::isfinite(start) || !std::isfinite(end)) return false;
    if (end > start && (end - start) / step > MaxCurveSamples) return false;
    return true;
}

namespace {

// Strictly inside the window (-negative, positive).
bool Within(double v, int negative, int positive) { return -negative < v && v < positive; }

// Builds the polylines of one curve into the context's result: a valid
// sample extends the current polyline, an invalid one ends it.
class Polylines {
public:
    explicit Polylines(SubCurveContext& ctx) : ctx_(ctx) { ctx_.Result.clear(PlaneXOY, 0); }
    void add(bool visible, double x, double y) {
        AddCurvePoint(ctx_, 1, visible, x, y);
        down_ = true;
    }
    void lift() {
        if (down_) ClosePolylineA(ctx_);
        down_ = false;
    }

private:
    SubCurveContext& ctx_;
    bool down_ = false;
};

// Samples the parameter from `start` by `step` while below `end`, or up to
// it with `toEnd`.  at(t, dx, dy) gives the sample's picture offset from the
// origin (y up) and whether it is valid (inside the window when clipped).
template <class At>
void Trace(Polylines& lines, const SubCurveArgs& a, double start, double end, double step, bool toEnd, At at) {
    const bool visible = a.Style.LineType == 1;
    for (double t = start; toEnd ? t <= end : t < end;) {
        double dx = 0, dy = 0;
        if (at(t, dx, dy))
            lines.add(visible, a.OriginX + dx, a.OriginY - dy);
        else
            lines.lift();
        const double next = t + step;
        if (next == t) break;
        t = next;
    }
    lines.lift();
}

// A plane curve's offset inside the window, or no clipping.
bool InPlaneWindow(const SubCurveArgs& a, double dx, double dy) {
    const auto& e = a.Extents;
    return !a.Clip || (Within(dx, e[0], e[1]) && Within(dy, e[2], e[3]));
}

void BuildPolar(SubCurveContext& ctx, const SubCurveArgs& a) {
    Polylines lines(ctx);
    if (!CurveSamplable(a.AngleStart, a.AngleEnd, a.AngleStep)) return;
    const Formula f = Formula::Prepare(a.Formula1, true, ctx.Params);
    Trace(lines, a, a.AngleStart, a.AngleEnd, a.AngleStep, false, [&](double angle, double& dx, double& dy) {
        Ext rv = 0;
        const bool ok = f.Calc(angle, rv);
        const double r = static_cast<double>(rv);
        dx = r * std::cos(angle) * a.ScaleX;
        dy = r * std::sin(angle) * a.ScaleY;
        return ok && InPlaneWindow(a, dx, dy);
    });
}

// Formulas prepared one after the other with the run's distribution
// parameters; each evaluates with the parameters as the last preparation left them.
std::vector<Formula> PrepareAll(std::initializer_list<const std::string*> texts, DistributionParameters& params) {
    std::vector<Formula> out;
    for (const std::string* t : texts) out.push_back(Formula::Prepare(*t, true, params));
    for (Formula& f : out) f = Formula::FromPrepared(f.PreparedText(), true, params);
    return out;
}

void BuildParametric(SubCurveContext& ctx, const SubCurveArgs& a) {
    Polylines lines(ctx);
    if (!CurveSamplable(a.ParStart, a.ParEnd, a.ParStep)) return;
    const std::vector<Formula> f = PrepareAll({&a.Formula1, &a.Formula2}, ctx.Params);
    Trace(lines, a, a.ParStart, a.ParEnd, a.ParStep, true, [&](double t, double& dx, double& dy) {
        Ext xv = 0, yv = 0;
        const bool ok = f[0].Calc(t, xv) && f[1].Calc(t, yv);
        dx = static_cast<double>(xv) * a.ScaleX;
        dy = static_cast<double>(yv) * a.ScaleY;
        return ok && InPlaneWindow(a, dx, dy);
    });
}

void BuildSpace(SubCurveContext& ctx, const SubCurveArgs& a) {
    Polylines lines(ctx);
    if (!CurveSamplable(a.ParStart, a.ParEnd, a.ParStep)) return;
    const std::vector<Formula> f = PrepareAll({&a.Formula1, &a.Formula2, &a.Formula3}, ctx.Params);
    const auto& e = a.Extents;
    const double s = a.ScaleX;
    const double root2 = std::sqrt(2.0);
    Trace(lines, a, a.ParStart, a.ParEnd, a.ParStep, true, [&](double t, double& dx, double& dy) {
        Ext xv = 0, yv = 0, zv = 0;
        bool ok = f[0].Calc(t, xv) && f[1].Calc(t, yv) && f[2].Calc(t, zv);
        const double x = static_cast<double>(xv), y = static_cast<double>(yv), z = static_cast<double>(zv);
        const double depth = x / 2 / root2;  // x/√8
        if (ok && a.Clip) ok = Within(depth * s, e[0], e[1]) && Within(y * s, e[2], e[3]) && Within(z * s, e[4], e[5]);
        dx = (y - depth) * s;
        dy = (z - depth) * s;
        return ok;
    });
}

// The transform with its axis of length 1 (an axis of length 0 stays).
GraphTransform Normalised(GraphTransform t) {
    const double n = std::sqrt(t.NX * t.NX + t.NY * t.NY + t.NZ * t.NZ);
    if (n != 0 && std::isfinite(n)) {
        t.NX /= n;
        t.NY /= n;
        t.NZ /= n;
    }
    return t;
}

// The box a 3D system's drawing window shows, from the room up to its axes:
// the depth axis X (its room as drawn, shortened by √8), then Y and Z.  A
// system whose window has no room along some axis gets no limit.
ScanWindow DrawingWindow(const SubCurveArgs& a) {
    ScanWindow w;
    const auto& e = a.Extents;
    const double s = a.ScaleX;
    if (!(a.Kind == "dec3d" || a.Kind == "Fxy3d") || !(std::isfinite(s) && s > 0)) return w;
    if (!(e[0] + e[1] > 0 && e[2] + e[3] > 0 && e[4] + e[5] > 0)) return w;
    const double s8 = static_cast<double>(Sqrt8());
    w.On = true;
    w.Lo = {-e[0] * s8 / s, -e[2] / s, -e[4] / s};
    w.Hi = {e[1] * s8 / s, e[3] / s, e[5] / s};
    return w;
}

void SetUp(SubCurveContext& ctx, const SubCurveArgs& a, const PaintTarget& target, int pass, bool* running) {
    ctx.Target = target;
    ctx.ImProj = a.ImProj;
    ctx.Pass = static_cast<std::uint8_t>(pass);
    ctx.TargetChar = a.TargetChar;
    ctx.CdrDashStyle = a.DashNo;
    ctx.Index = a.ObjectSlot;
    ctx.Recompute = a.Full;
    ctx.NamedFunctions = true;
    ctx.XScale = a.ScaleX;
    ctx.YScale = a.ScaleY;
    ctx.CX = a.OriginX;
    ctx.CY = a.OriginY;
    ctx.Colour = a.Colour;
    ctx.Width = a.Thickness;
    ctx.Style = a.Style;
    ctx.Transform = Normalised(a.Transform);
    ctx.Outline = a.Outline;
    ctx.Corners = {};
    ctx.Window = DrawingWindow(a);
    const GraphRun* run = target.run;
    ctx.Running = run && run->Running ? run->Running : running;
    ctx.NoRedraw = run ? run->NoRedraw : nullptr;
    ctx.Host = run ? run->Host : nullptr;
    ctx.Told = run ? run->Told : nullptr;
    if (run) {
        ctx.Stores = run->Stores;
        ctx.Params = run->Params;
    }
}

// Draws the result the dispatcher built itself.
void Output(SubCurveContext& ctx, const SubCurveArgs& a) {
    DrawCurveSet(ctx.Result.set(), ctx.Width, ctx.Colour, ctx.NamedFunctions, ctx.Pass, ctx.Target, ctx.ImProj,
                 ctx.CdrDashStyle, ctx.Outline, a.Formula1, ctx.Corners, ctx.Style, 1, ctx.Transform, ctx.YScale,
                 ctx.XScale, ctx.CY, ctx.CX, ctx.Params, ctx.Window, false);
}

// Polar and parametric graphs are kept between drawings and built again
// only when something they are built from changes: the kind, the formulas,
// the parameter range, the scales, the origin and window, the clip, whether
// the points are marked visible, and the distribution parameters.
struct PlaneCurveKey {
    std::string kind, f1, f2;
    double start = 0, end = 0, step = 0;
    double scaleX = 0, scaleY = 0;
    int originX = 0, originY = 0;
    std::array<int, 6> extents{};
    bool clip = false;
    bool visible = false;
    DistributionParameters params;

    bool operator==(const PlaneCurveKey& o) const {
        const auto sameParams = [](const DistributionParameters& x, const DistributionParameters& y) {
            return x.NormMu == y.NormMu && x.NormSigma == y.NormSigma && x.FisherM == y.FisherM &&
                   x.FisherN == y.FisherN && x.ChisqN == y.ChisqN && x.StudentN == y.StudentN;
        };
        return kind == o.kind && f1 == o.f1 && f2 == o.f2 && start == o.start && end == o.end && step == o.step &&
               scaleX == o.scaleX && scaleY == o.scaleY && originX == o.originX && originY == o.originY &&
               extents == o.extents && clip == o.clip && visible == o.visible && sameParams(params, o.params);
    }
};

struct BuiltPlaneCurve {
    PlaneCurveKey key;
    DCurve2 curves;
    DistributionParameters params;  // as the build left them
};

constexpr std::size_t kKeptPlaneCurves = 32;

// Builds a polar ("pol") or parametric graph, or takes the one built last
// from the same things, and draws it on a canvas that keeps its strokes
// (they are kept with it).
void PlaneCurve(SubCurveContext& ctx, const SubCurveArgs& a) {
    const bool polar = a.Kind == "pol";
    PlaneCurveKey key;
    key.kind = a.Kind;
    key.f1 = a.Formula1;
    if (!polar) key.f2 = a.Formula2;
    key.start = polar ? a.AngleStart : a.ParStart;
    key.end = polar ? a.AngleEnd : a.ParEnd;
    key.step = polar ? a.AngleStep : a.ParStep;
    key.scaleX = a.ScaleX, key.scaleY = a.ScaleY;
    key.originX = a.OriginX, key.originY = a.OriginY;
    key.extents = a.Extents;
    key.clip = a.Clip;
    key.visible = a.Style.LineType == 1;
    key.params = ctx.Params;
    thread_local std::vector<BuiltPlaneCurve> built;  // the most recent first
    const auto kept = std::find_if(built.begin(), built.end(), [&](const BuiltPlaneCurve& b) { return b.key == key; });
    DCurve2 curves;
    if (kept != built.end()) {
        curves = kept->curves;
        ctx.Params = kept->params;
        std::rotate(built.begin(), kept, kept + 1);
    } else {
        if (polar)
            BuildPolar(ctx, a);
        else
            BuildParametric(ctx, a);
        curves = ctx.Result.set();
        if (built.size() >= kKeptPlaneCurves) built.pop_back();
        built.insert(built.begin(), BuiltPlaneCurve{std::move(key), curves, ctx.Params});
    }
    ctx.Result.Lines = curves.lines();
    ctx.Result.Plane = curves.Plane;
    ctx.Result.Position = curves.Position;
    DrawCurveSet(curves, ctx.Width, ctx.Colour, ctx.NamedFunctions, ctx.Pass, ctx.Target, ctx.ImProj,
                 ctx.CdrDashStyle, ctx.Outline, a.Formula1, ctx.Corners, ctx.Style, 1, ctx.Transform, ctx.YScale,
                 ctx.XScale, ctx.CY, ctx.CX, ctx.Params, ctx.Window);
}

// The progress display of the implicit graphs: the own picture shows it in
// the fill pass and the exports' pass, the exports always.
bool ShowsProgress(const PaintTarget& target, int pass) {
    if (target.is(TargetKind::Pel)) return pass == 1 || pass == 3;
    return target.is(TargetKind::Cdr) || target.is(TargetKind::Wrd);
}

DCurve2 Built(const SubCurveArgs& a, DistributionParameters& params, void (*build)(SubCurveContext&,
                                                                                   const SubCurveArgs&)) {
    SubCurveContext ctx;
    ctx.Params = params;
    build(ctx, a);
    params = ctx.Params;
    return ctx.Result.set();
}

}  // namespace

GraphLineStyle GraphLineStyleOf(const DGraphStyle& s) {
    GraphLineStyle g;
    g.LineType = s.Visible.v;
    g.VisibilityMode = s.Hidden.v;
    g.Dash = s.Dash.v;
    g.Gap = s.Gap.v;
    return g;
}

DCurve2 PolarCurve(const SubCurveArgs& a, DistributionParameters& params) { return Built(a, params, BuildPolar); }
DCurve2 ParametricCurve(const SubCurveArgs& a, DistributionParameters& params) {
    return Built(a, params, BuildParametric);
}
DCurve2 SpaceCurve(const SubCurveArgs& a, DistributionParameters& params) { return Built(a, params, BuildSpace); }

namespace {

void DispatchSubCurve(const SubCurveArgs& a, const PaintTarget& target, int pass) {
    GraphRun* run = target.run;

    bool running = true;  // a drawing without a run is never stopped
    SubCurveContext ctx;
    SetUp(ctx, a, target, pass, &running);
    const auto& e = a.Extents;
    const double left = e[0], right = e[1], bottom = e[2], top = e[3];

    if (a.Kind == "dec") {
        PlotCartesian(ctx, PlaneXOY, a.Formula1, a.Formula1, 0, top, bottom, right, left, a.OriginY, a.OriginX);
    } else if ((a.Kind == "pol" || a.Kind == "par") && target.is(TargetKind::Pel) && target.canvas &&
               target.canvas->keepsDrawings()) {
        PlaneCurve(ctx, a);
    } else if (a.Kind == "pol") {
        BuildPolar(ctx, a);
        Output(ctx, a);
    } else if (a.Kind == "par") {
        BuildParametric(ctx, a);
        Output(ctx, a);
    } else if (a.Kind == "Fxy") {
        ctx.NamedFunctions = HasNamedFunction(a.Formula1);
        GraphHost* host = run ? run->Host : nullptr;
        ProgressRole* progress = ShowsProgress(target, pass) && host ? host->progressFor(target.kind) : nullptr;
        if (progress) {
            std::string text = host->texts().word(WordNo::ImplicitGraph);
            if (text.empty()) text = BuiltInWord(WordNo::ImplicitGraph);
            progress->showProgress(text);
        }
        ctx.CurveNo = ctx.CurveCount = 1;
        ctx.LastProgress = 0;
        TraceImplicitCurve(ctx, PlaneXOY, a.Formula1, a.Formula1, 0, a.ObjectSlot, top, bottom, right, left,
                           a.OriginY, a.OriginX);
        if (progress) progress->hideProgress();
    } else if (a.Kind == "dec3d" || a.Kind == "Fxy3d") {
        ctx.NamedFunctions = HasNamedFunction(a.Formula1);
        DrawSurface(ctx, a);
    } else if (a.Kind == "par3d") {
        BuildSpace(ctx, a);
        Output(ctx, a);
    }
    if (run) run->Params = ctx.Params;
}

}  // namespace

void DrawSubCurve(const SubCurveArgs& a, const PaintTarget& target, int pass) {
    if (target.run && !target.run->running()) return;
    DrawPart(target, [&] { DispatchSubCurve(a, target, pass); });
}

}  // namespace pelmar
