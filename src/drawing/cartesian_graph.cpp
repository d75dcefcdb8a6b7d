// The graph of y = f(x), sampled once per picture column of its window.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "drawing/coord_marks.h"
#include "drawing/curve_builder.h"
#include "drawing/curve_output.h"
#include "drawing/drawing_work.h"

namespace pelmar {

namespace {

// A refinement between two columns is spaced by the straight distance of
// their samples; near an asymptote that distance is astronomic.  It is taken
// as at most this many pixels, which bounds the sub-samples of one column.
constexpr double kMaxRefineDistance = 20000;

// Columns are counted in whole numbers and fine steps of a tenth: beyond this
// a step no longer moves the column.
constexpr double kMaxColumn = 1e14;

// Whether the segment from a to b meets the box [x0, x1] x [y0, y1].
bool SegmentMeetsBox(PointF a, PointF b, double x0, double y0, double x1, double y1) {
    double lo = 0, hi = 1;
    const double d[2] = {b.x - a.x, b.y - a.y};
    const double from[2] = {a.x, a.y}, boxLo[2] = {x0, y0}, boxHi[2] = {x1, y1};
    for (int k = 0; k < 2; ++k) {
        if (d[k] == 0) {
            if (from[k] < boxLo[k] || from[k] > boxHi[k]) return false;
            continue;
        }
        double t0 = (boxLo[k] - from[k]) / d[k], t1 = (boxHi[k] - from[k]) / d[k];
        if (t0 > t1) std::swap(t0, t1);
        lo = std::max(lo, t0);
        hi = std::min(hi, t1);
        if (lo > hi) return false;
    }
    return true;
}

class CartesianPlot {
public:
    CartesianPlot(SubCurveContext& ctx, std::uint8_t plane, const std::string& G, double position, double top,
                  double bottom, double right, double left, double cy, double cx)
        : ctx_(ctx), plane_(plane), surface_(G + "-z"), position_(position), top_(top), bottom_(bottom),
          right_(right), left_(left), cy_(cy), cx_(cx), s8_(static_cast<double>(Sqrt8())),
          testVisibility_((plane == PlaneX || plane == PlaneY) && !ctx.Transform.Moved && !ctx.Transform.Rotated) {}

    void run(const Formula& f);

private:
    struct Sample {
        double x = 0, y = 0, py = 0;
        bool defined = false;
    };

    Sample sample(double col) const {
        ++WorkDone().columns;
        Sample s;
        s.x = (col - cx_) / ctx_.XScale;
        if (plane_ == PlaneY) s.x = -s.x * s8_;
        Ext v;
        s.defined = f_->Calc(s.x, v);
        if (s.defined) {
            s.y = static_cast<double>(v);
            s.py = plane_ == PlaneY ? cy_ - (s.y - s.x / s8_) * ctx_.XScale : cy_ - s.y * ctx_.YScale;
        }
        return s;
    }
    bool inside(double col, const Sample& s) const {
        if (!s.defined) return false;
        const double h = s.y * ctx_.YScale;
        return -bottom_ <= h && h <= top_ && cx_ - left_ <= col && col <= cx_ + right_;
    }
    // The window's top and bottom lines at graph abscissa x (slanted in the
    // plane Y = const).
    double topEdge(double x) const { return plane_ == PlaneY ? cy_ - top_ + x * ctx_.XScale / s8_ : cy_ - top_; }
    double bottomEdge(double x) const {
        return plane_ == PlaneY ? cy_ + bottom_ + x * ctx_.XScale / s8_ : cy_ + bottom_;
    }
    double abscissa(double col) const {
        const double x = (col - cx_) / ctx_.XScale;
        return plane_ == PlaneY ? -x * s8_ : x;
    }

    bool visible(double x, double py) const {
        Vec3 m;
        if (plane_ == PlaneX)
            m = {position_, x, (cy_ - py) / ctx_.YScale};
        else
            m = {x, position_, x / s8_ + (cy_ - py) / ctx_.XScale};
        TColor unused = 0;
        return !RaySurfaceHit(m, true, ctx_.Corners, surface_, ctx_.Outline.FitMode,
                              ctx_.Outline.Step1 / ctx_.XScale, ctx_.Transform, 0, 0, 0, ctx_.ImProj, false, unused,
                              ctx_.NamedFunctions, ctx_.Params, ctx_.Window);
    }

    // Adds the inside sub-samples s0, s0 + 0.8/d, ... below `end`.
    void refine(double s0, double end, double d, bool ownTest, bool mark) {
        // However far apart the columns, no more sub-samples than one column
        // next to an asymptote takes.
        const double step =
            std::max(0.8 / std::min(d, kMaxRefineDistance), (end - s0) * 0.8 / kMaxRefineDistance);
        for (long k = 0;; ++k) {
            const double s = s0 + static_cast<double>(k) * step;
            if (!(s < end)) break;
            const Sample sub = sample(s);
            if (!inside(s, sub)) continue;
            AddCurvePoint(ctx_, 1, ownTest ? visible(sub.x, sub.py) : mark, s, sub.py);
        }
    }

    void column(double i);

    struct ImProjSize {
        int w, h;
    };
    struct Stretch {
        std::int64_t first, last;
    };
    // A column and where the graph's sample there lies on the picture after
    // the graph's move and turn (none where it is not defined).
    struct Probe {
        std::int64_t col;
        std::optional<PointF> at;
    };
    // Walks columns first, first + step, ... up to last as one run of the
    // graph: what was drawn before it is closed.
    void walk(std::int64_t first, std::int64_t last, std::int64_t step);
    std::optional<PointF> shownAt(double col) const;
    // The stretches of columns first..last, in order, whose samples come
    // near the picture; found with no more samples than `budget`.
    std::vector<Stretch> nearStretches(std::int64_t first, std::int64_t last, std::int64_t budget,
                                       ImProjSize im) const;

    SubCurveContext& ctx_;
    const Formula* f_ = nullptr;
    const std::uint8_t plane_;
    const std::string surface_;
    const double position_, top_, bottom_, right_, left_, cy_, cx_;
    const double s8_;
    const bool testVisibility_;

    double step_ = 1;  // columns between two walked columns
    double prevPy_ = 0;
    bool prevVisible_ = false;
    bool prevEvaluated_ = false;
    bool curVisible_ = false;
};

void CartesianPlot::column(double i) {
    const Sample s = sample(i);
    if (inside(i, s)) {
        if (testVisibility_) curVisible_ = visible(s.x, s.py);
        const bool entry = !ctx_.Inside;
        bool edge = false;
        // Where the curve was just before this column.
        bool haveBefore = prevEvaluated_;
        double before = prevPy_;
        if (entry && !prevEvaluated_) {
            const Sample probe = sample(i - step_ + 0.001);
            haveBefore = probe.defined;
            before = probe.py;
        }
        if (entry && haveBefore) {
            // Came from beyond an edge from farther away than it now lies
            // inside: the crossing is taken at this column.
            const double t = topEdge(s.x), b = bottomEdge(s.x);
            if (before < 2 * t - s.py) {
                AddCurvePoint(ctx_, 1, curVisible_, i, t);
                edge = true;
            } else if (before > 2 * b - s.py) {
                AddCurvePoint(ctx_, 1, curVisible_, i, b);
                edge = true;
            }
        }
        const bool changed = curVisible_ != prevVisible_;
        // Refined alike in a full drawing and a quick one: the window's
        // redraw after a change elsewhere (or none) draws the figure the full
        // drawing, an export and the reopened file draw.
        if (!edge && (entry || changed) && haveBefore) {
            const double s0 = prevEvaluated_ ? i - step_ : i - step_ + 0.001;
            const double d = std::hypot(i - s0, s.py - before);
            if (d > 1.0) refine(s0, i, d, changed, curVisible_);
        }
        AddCurvePoint(ctx_, 1, curVisible_, i, s.py);
        ctx_.Inside = true;
        prevPy_ = s.py;
        prevVisible_ = curVisible_;
        prevEvaluated_ = true;
        return;
    }

    if (ctx_.Inside) {
        // Where the curve is at this column.
        bool haveHere = s.defined;
        double here = s.py;
        const double end = s.defined ? i : i - 0.001;
        if (!s.defined) {
            const Sample probe = sample(end);
            haveHere = probe.defined;
            here = probe.py;
        }
        bool edge = false;
        if (haveHere) {
            // Left steeply: the crossing is taken at the previous column.
            const double x0 = abscissa(i - step_);
            const double t = topEdge(x0), b = bottomEdge(x0);
            if (here < 2 * t - prevPy_) {
                AddCurvePoint(ctx_, 1, curVisible_, i - step_, t);
                edge = true;
            } else if (here > 2 * b - prevPy_) {
                AddCurvePoint(ctx_, 1, curVisible_, i - step_, b);
                edge = true;
            }
        }
        if (!edge && haveHere) {
            const double d = std::hypot(end - (i - step_), here - prevPy_);
            if (d > 1.0) refine(i - step_, end, d, false, curVisible_);
        }
        ClosePolylineA(ctx_);
        ctx_.Inside = false;
    }
    if (s.defined) prevPy_ = s.py;
    prevVisible_ = false;
    prevEvaluated_ = s.defined;
}

void CartesianPlot::run(const Formula& f) {
    f_ = &f;
    const auto first = static_cast<std::int64_t>(std::rint(cx_ - left_ - 1));
    const auto last = static_cast<std::int64_t>(std::rint(cx_ + right_ + 1));
    // The columns the picture can show, with the room the marks may reach
    // around it, a few times over: within that every column is walked.
    const ImProjSize im{std::max(ctx_.ImProj.Width, 0), std::max(ctx_.ImProj.Height, 0)};
    const auto budget = static_cast<std::int64_t>(4 * (static_cast<double>(im.w) + im.h + 2 * kMarkReach));
    if (last - first <= budget) {
        walk(first, last, 1);
        return;
    }
    // A window far wider than the picture (a huge scale, the graph turned
    // or moved across it): only the stretches whose samples come near the
    // picture are walked, and no more columns than the budget.
    const std::vector<Stretch> near = nearStretches(first, last, budget, im);
    std::int64_t columns = 0;
    for (const Stretch& n : near) columns += n.last - n.first + 1;
    const std::int64_t step = std::max<std::int64_t>(1, (columns + budget - 1) / budget);
    for (const Stretch& n : near) walk(n.first, n.last, step);
}

void CartesianPlot::walk(std::int64_t first, std::int64_t last, std::int64_t step) {
    step_ = static_cast<double>(step);
    prevEvaluated_ = false;
    prevVisible_ = false;
    for (std::int64_t i = first; i <= last; i += step) column(static_cast<double>(i));
    if (ctx_.Inside) {
        ClosePolylineA(ctx_);
        ctx_.Inside = false;
    }
}

std::optional<PointF> CartesianPlot::shownAt(double col) const {
    const Sample s = sample(col);
    if (!s.defined) return std::nullopt;
    double px = col, py = s.py;
    Vec3 unused;
    MoveCurvePoint(plane_, position_, 1, ctx_.Transform, ctx_.YScale, ctx_.XScale, ctx_.CY, ctx_.CX, px, py, unused);
    if (!std::isfinite(px) || !std::isfinite(py)) return std::nullopt;
    return PointF{px, py};
}

std::vector<CartesianPlot::Stretch> CartesianPlot::nearStretches(std::int64_t first, std::int64_t last,
                                                                 std::int64_t budget, ImProjSize im) const {
    // The picture grown by its diagonal: a stretch whose chord between its
    // end samples comes into it is looked at more closely.
    const double grow = std::hypot(im.w, im.h) + kMarkReach;
    const double x0 = -grow, y0 = -grow, x1 = im.w + grow, y1 = im.h + grow;
    const auto near = [&](const Probe& a, const Probe& b) {
        if (!a.at && !b.at) return false;  // no sample defined: passed over
        if (!a.at || !b.at) return true;   // where the graph begins or ends
        return SegmentMeetsBox(*a.at, *b.at, x0, y0, x1, y1);
    };
    struct Span {
        Probe a, b;
    };
    std::vector<Span> spans;
    constexpr int kFirstSpans = 256;
    constexpr std::int64_t kLeafColumns = 64;
    std::int64_t samples = 0;
    auto probe = [&](std::int64_t col) {
        ++samples;
        return Probe{col, shownAt(static_cast<double>(col))};
    };
    Probe prev = probe(first);
    for (int k = 1; k <= kFirstSpans; ++k) {
        const auto col = first + static_cast<std::int64_t>(static_cast<double>(last - first) * k / kFirstSpans);
        if (col <= prev.col) continue;
        const Probe next = probe(col);
        if (near(prev, next)) spans.push_back({prev, next});
        prev = next;
    }
    // Halved while any is longer than a leaf and the samples last.
    for (bool split = true; split;) {
        split = false;
        std::vector<Span> finer;
        const auto wide = std::count_if(spans.begin(), spans.end(),
                                        [&](const Span& s) { return s.b.col - s.a.col > kLeafColumns; });
        if (wide == 0 || samples + wide > budget) break;
        for (const Span& s : spans) {
            if (s.b.col - s.a.col <= kLeafColumns) {
                finer.push_back(s);
                continue;
            }
            const Probe m = probe(s.a.col + (s.b.col - s.a.col) / 2);
            if (near(s.a, m)) finer.push_back({s.a, m});
            if (near(m, s.b)) finer.push_back({m, s.b});
            split = true;
        }
        spans = std::move(finer);
    }
    std::vector<Stretch> out;
    for (const Span& s : spans) {
        if (!out.empty() && s.a.col <= out.back().last)
            out.back().last = std::max(out.back().last, s.b.col);
        else
            out.push_back({s.a.col, s.b.col});
    }
    return out;
}

bool Usable(double v) { return std::isfinite(v) && v != 0; }

// Built graphs are kept between redraws and built again only when something
// they are built from changes: the formula, the window, the scales, the
// evaluator and its parameters, and for a section of a surface the surface
// and its box.  The key holds all of that; a quick drawing and a full one
// build the same graph, so a quick one draws what the full one kept.
struct PlotKey {
    std::uint8_t plane = 0;
    std::string F, G;
    double position = 0, top = 0, bottom = 0, right = 0, left = 0, cy = 0, cx = 0;
    double xScale = 0, yScale = 0;
    bool named = false;
    DistributionParameters params;
    bool visibility = false;  // the hidden-part test runs: the rest counts too
    std::array<Vec3, 8> corners{};
    std::int32_t step1 = 0;
    std::uint8_t fitMode = 0;
    GraphTransform transform;
    ScanWindow window;

    bool operator==(const PlotKey& o) const {
        auto sameParams = [](const DistributionParameters& a, const DistributionParameters& b) {
            return a.NormMu == b.NormMu && a.NormSigma == b.NormSigma && a.FisherM == b.FisherM &&
                   a.FisherN == b.FisherN && a.ChisqN == b.ChisqN && a.StudentN == b.StudentN;
        };
        auto sameTransform = [](const GraphTransform& a, const GraphTransform& b) {
            return a.Moved == b.Moved && a.DX == b.DX && a.DY == b.DY && a.DZ == b.DZ && a.Rotated == b.Rotated &&
                   a.Angle == b.Angle && a.CX == b.CX && a.CY == b.CY && a.CZ == b.CZ && a.NX == b.NX &&
                   a.NY == b.NY && a.NZ == b.NZ;
        };
        auto sameCorners = [](const std::array<Vec3, 8>& a, const std::array<Vec3, 8>& b) {
            for (std::size_t i = 0; i < a.size(); ++i)
                if (!(a[i].x == b[i].x && a[i].y == b[i].y && a[i].z == b[i].z)) return false;
            return true;
        };
        if (!(plane == o.plane && F == o.F && position == o.position && top == o.top && bottom == o.bottom &&
              right == o.right && left == o.left && cy == o.cy && cx == o.cx && xScale == o.xScale &&
              yScale == o.yScale && named == o.named && sameParams(params, o.params) &&
              visibility == o.visibility))
            return false;
        auto sameWindow = [](const ScanWindow& a, const ScanWindow& b) {
            return a.On == b.On && a.Lo.x == b.Lo.x && a.Lo.y == b.Lo.y && a.Lo.z == b.Lo.z && a.Hi.x == b.Hi.x &&
                   a.Hi.y == b.Hi.y && a.Hi.z == b.Hi.z;
        };
        return !visibility || (G == o.G && sameCorners(corners, o.corners) && step1 == o.step1 &&
                               fitMode == o.fitMode && sameTransform(transform, o.transform) &&
                               sameWindow(window, o.window));
    }
};

struct BuiltPlot {
    PlotKey key;
    DCurve2 curves;
    DistributionParameters params;  // as the build left them
};

// The graphs built last, the most recent first.
std::vector<BuiltPlot>& BuiltPlots() {
    thread_local std::vector<BuiltPlot> plots;
    return plots;
}
constexpr std::size_t kKeptPlots = 64;

}  // namespace

void PlotCartesian(SubCurveContext& ctx, std::uint8_t plane, const std::string& F, const std::string& G,
                   double position, double top, double bottom, double right, double left, double cy, double cx) {
    if (ctx.Pass == 1) return;
    PlotKey key;
    key.plane = plane;
    key.F = F;
    key.position = position, key.top = top, key.bottom = bottom, key.right = right, key.left = left;
    key.cy = cy, key.cx = cx;
    key.xScale = ctx.XScale, key.yScale = ctx.YScale;
    key.named = ctx.NamedFunctions;
    key.params = ctx.Params;
    key.visibility = (plane == PlaneX || plane == PlaneY) && !ctx.Transform.Moved && !ctx.Transform.Rotated;
    if (key.visibility) {
        key.G = G;
        key.corners = ctx.Corners;
        key.step1 = ctx.Outline.Step1;
        key.fitMode = ctx.Outline.FitMode;
        key.transform = ctx.Transform;
        key.window = ctx.Window;
    }
    ctx.Inside = false;
    ctx.CurrentA.clear();
    ctx.Result.clear(plane, position);
    auto& built = BuiltPlots();
    const auto kept = std::find_if(built.begin(), built.end(), [&](const BuiltPlot& b) { return b.key == key; });
    DCurve2 curves;
    if (kept != built.end()) {
        curves = kept->curves;
        ctx.Params = kept->params;
        std::rotate(built.begin(), kept, kept + 1);
    } else {
        const Formula f = Formula::Prepare(F, ctx.NamedFunctions, ctx.Params);
        // Without scales there are no columns to map; a window that is not a
        // number, or whose columns are beyond counting, has no columns either.
        const bool window = std::fabs(cx - left) < kMaxColumn && std::fabs(cx + right) < kMaxColumn &&
                            std::isfinite(top) && std::isfinite(bottom) && std::isfinite(cy);
        if (Usable(ctx.XScale) && Usable(ctx.YScale) && window && plane <= PlaneY) {
            CartesianPlot plot(ctx, plane, G, position, top, bottom, right, left, cy, cx);
            plot.run(f);
        }
        curves = ctx.Result.set();
        if (built.size() >= kKeptPlots) built.pop_back();
        built.insert(built.begin(), BuiltPlot{std::move(key), curves, ctx.Params});
    }
    ctx.Result.Lines = curves.lines();
    DrawCurveSet(curves, ctx.Width, ctx.Colour, ctx.NamedFunctions, ctx.Pass, ctx.Target, ctx.ImProj,
                 ctx.CdrDashStyle, ctx.Outline, G + "-z", ctx.Corners, ctx.Style, 1, ctx.Transform, ctx.YScale,
                 ctx.XScale, ctx.CY, ctx.CX, ctx.Params, ctx.Window);
}

}  // namespace pelmar
