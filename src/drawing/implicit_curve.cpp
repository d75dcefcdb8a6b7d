// The tracer of implicit curves F(x, y) = 0: column by column it finds the
// roots in y and follows up to two branches, joining or ending them where
// roots appear or disappear.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "drawing/coord_marks.h"
#include "drawing/curve_builder.h"
#include "drawing/formula_internal.h"
#include "model/coord_limit.h"

namespace pelmar {

namespace {

// Sub-points of one branch step tested for visibility, at most.
constexpr long kMaxVisibilitySubPoints = 10000;

constexpr double kMaxColumn = 1e14;

bool Usable(double v) { return std::isfinite(v) && v != 0; }

// The stored curve set of a coordinate system in `doc`: the implicit graphs
// of 2D system `index`, or curve `n` of 3D system `index` - 10.
DCurve2* StoredCurves(DProj* doc, int index, int n) {
    if (!doc) return nullptr;
    if (index >= 1 && index <= 10) {
        if (index > doc->Obj.Xy.count()) return nullptr;
        return &doc->Obj.Xy[static_cast<std::size_t>(index)].Curves;
    }
    if (index == 11 || index == 12) {
        if (index - 10 > doc->Obj.Xz.count() || n - 10 < 1 || n - 10 > 55) return nullptr;
        return &doc->Obj.Xz[static_cast<std::size_t>(index - 10)].Curves[static_cast<std::size_t>(n - 10)];
    }
    return nullptr;
}

void StoreCurves(SubCurveContext& ctx, int n, const DCurve2& set) {
    CurveStores& s = ctx.Stores;
    if (DCurve2* d = StoredCurves(s.DrawProj, ctx.Index, n)) *d = set;
    const ObjListEntry& cur = s.CurrentObject;
    const std::string code(cur.code, 2);
    if (ctx.Index >= 1 && ctx.Index <= 10 && code == "xy" && cur.index == ctx.Index && s.CurXOY)
        s.CurXOY->Curves = set;
    if ((ctx.Index == 11 || ctx.Index == 12) && code == "xz" && cur.index == ctx.Index - 10 && s.CurXZ &&
        n - 10 >= 1 && n - 10 <= 55)
        s.CurXZ->Curves[static_cast<std::size_t>(n - 10)] = set;
    if (ctx.TargetChar == 'm')
        if (DCurve2* d = StoredCurves(s.Proj, ctx.Index, n)) *d = set;
}

// The number text of a column value: the general form cut after the third
// digit behind the decimal point (an exponent, if any, is kept).
std::string ColumnNumberText(double x) {
    std::string s = FormulaNumberText(x);
    const std::size_t dot = s.find('.');
    if (dot == std::string::npos) return s;
    std::size_t end = dot + 1;
    while (end < s.size() && end < dot + 4 && s[end] >= '0' && s[end] <= '9') ++end;
    std::size_t rest = end;
    while (rest < s.size() && s[rest] >= '0' && s[rest] <= '9') ++rest;
    return s.substr(0, end) + s.substr(rest);
}

// F on the column: x replaced by the column value, then y renamed x.
std::string ColumnFormula(const std::string& F, double x) {
    std::string value = ColumnNumberText(x);
    value.insert(value.begin(), '(');
    value += ')';
    std::string r;
    r.reserve(F.size() + 8);
    for (char ch : F) {
        if (ch == 'x')
            r += value;
        else if (ch == 'y')
            r += 'x';
        else
            r += ch;
    }
    return r;
}

// The picture point of a model point of a traced curve: the column variable
// and the root, in the plane's own axes.
void TracedPicture(std::uint8_t plane, const Vec3& m, double xScale, double yScale, double cx, double cy, double& px,
                   double& py) {
    const double s8 = static_cast<double>(Sqrt8());
    switch (plane) {
        case PlaneXOY:
            px = cx + m.x * xScale;
            py = cy - m.y * yScale;
            break;
        case PlaneX:
            px = cx + m.y * xScale;
            py = cy - m.z * yScale;
            break;
        case PlaneY:
            px = cx - m.x * xScale / s8;
            py = cy - (m.z - m.x / s8) * yScale;
            break;
        default:
            px = cx + (m.y - m.x / s8) * xScale;
            py = cy + (m.x / s8) * yScale;
            break;
    }
}

class ImplicitTracer {
public:
    ImplicitTracer(SubCurveContext& ctx, std::uint8_t plane, const std::string& F, const std::string& G, int n,
                   double position, double top, double bottom, double right, double left, double cy, double cx)
        : ctx_(ctx), st_(ctx.Tracer), plane_(plane), F_(F), G_(G), n_(n), position_(position), top_(top),
          bottom_(bottom), right_(right), left_(left), cy_(cy), cx_(cx), s8_(static_cast<double>(Sqrt8())),
          mode_(plane > 0 && ctx.Outline.FitMode != 0 ? 1 : 0),
          testVisibility_(plane > 0 && !ctx.Transform.Moved && !ctx.Transform.Rotated),
          lo_(-bottom / ctx.YScale), hi_(top / ctx.YScale), skip_(ctx.SkipSignedStretches) {}

    enum class Outcome { Done, Stopped, TooManyRoots };
    Outcome walk();

private:
    enum class Column { Acted, StartFine, TooManyRoots };

    // The column formula at column value x, with its prepared form on demand.
    struct ColumnText {
        std::string text;
        bool prepared = false;
        Formula formula;
    };
    const Formula& prepared(ColumnText& t) {
        if (!t.prepared) {
            t.formula = Formula::Prepare(t.text, ctx_.NamedFunctions, ctx_.Params);
            t.prepared = true;
        }
        return t.formula;
    }

    Column column(double c, bool first, bool fine);
    TracePoint point(double c, double x, double r) const;
    bool visible(const Vec3& m) const;
    int gap(const TracePoint& a, const TracePoint& b) const {
        return SaturatedRound<int>(plane_ == PlaneZ ? std::fabs(a.px - b.px) : std::fabs(a.py - b.py));
    }
    void add(std::uint8_t which, const TracePoint& p) { AddCurvePoint(ctx_, which, p.visible, p.px, p.py); }
    // Adds p to a branch that continues from prev, placing a change of
    // visibility between them first.
    void follow(std::uint8_t which, const TracePoint& prev, const TracePoint& p) {
        if (testVisibility_ && p.visible != prev.visible)
            AddSegmentByVisibility(ctx_, which, plane_, prev.model, p.model, G_, prev.visible,
                                   std::hypot(p.px - prev.px, p.py - prev.py), cy_, cx_);
        add(which, p);
    }
    bool progress(double c);

    SubCurveContext& ctx_;
    TracerState& st_;
    const std::uint8_t plane_;
    const std::string& F_;
    const std::string& G_;
    const int n_;
    const double position_, top_, bottom_, right_, left_, cy_, cx_;
    const double s8_;
    const std::uint8_t mode_;
    const bool testVisibility_;
    const double lo_, hi_;
    const bool skip_;
    ColumnText prevColumn_;  // the column the previous count belongs to
};

TracePoint ImplicitTracer::point(double c, double x, double r) const {
    TracePoint p;
    switch (plane_) {
        case PlaneXOY:
            p.model = {x, r, 0};
            p.px = c;
            p.py = cy_ - r * ctx_.YScale;
            break;
        case PlaneX:
            p.model = {position_, x, r};
            p.px = c;
            p.py = cy_ - r * ctx_.YScale;
            break;
        case PlaneY:
            p.model = {x, position_, r};
            p.px = c;
            p.py = cy_ - (r - x / s8_) * ctx_.YScale;
            break;
        default:
            p.model = {x, r, position_};
            p.px = cx_ + (r - x / s8_) * ctx_.XScale;
            p.py = cy_ + (x / s8_) * ctx_.YScale;
            break;
    }
    p.visible = testVisibility_ && visible(p.model);
    return p;
}

bool ImplicitTracer::visible(const Vec3& m) const {
    TColor unused = 0;
    return !RaySurfaceHit(m, true, ctx_.Corners, G_, mode_, ctx_.Outline.Step1 / ctx_.XScale, ctx_.Transform, 0, 0,
                          0, ctx_.ImProj, false, unused, ctx_.NamedFunctions, ctx_.Params,
                          ctx_.Window);
}

ImplicitTracer::Column ImplicitTracer::column(double c, bool first, bool fine) {
    double x = (c - cx_) / ctx_.XScale;
    if (std::fabs(x) < 1e-5) x = 0;
    if (plane_ == PlaneY || plane_ == PlaneZ) x = -x * s8_;

    ColumnText here;
    here.text = ColumnFormula(F_, x);
    int count = 0;
    std::array<double, 9>& roots = st_.Roots;
    double x1 = 0, x2 = 0;
    if (FormulaRoots(here.text, ctx_.NamedFunctions, mode_, lo_, hi_, count, x1, x2, ctx_.Params)) {
        roots.fill(0);
        roots[0] = x1;
        roots[1] = count == 2 ? x2 : 0;
    } else {
        count = RootsOnSegment(prepared(here), roots, true, st_.ColumnStep, hi_, lo_, skip_);
    }

    // Widened searches: where a lost root went, whether two branches meet,
    // whether a new pair comes from beyond the window.  Each looks at the
    // column with fewer roots.
    const int P = st_.PrevCount, K = count;
    if ((P == 2 && K == 1) || (P == 1 && K == 2)) {
        ColumnText& fewer = K == 1 ? here : prevColumn_;
        std::array<double, 9> wide{};
        const int n = RootsOnSegment(prepared(fewer), wide, true, st_.ColumnStep, hi_ + st_.Extension,
                                     lo_ - st_.Extension, skip_);
        for (int k = 0; k < n; ++k) {
            const double r = wide[static_cast<std::size_t>(k)];
            if (r < lo_) st_.OutsideSide = false;
            if (r > hi_) st_.OutsideSide = true;
        }
        st_.Merging = n < 2;
    }
    if (P == 0 && K == 2) {
        if (first) {
            st_.PairEntering = true;
        } else {
            std::array<double, 9> wide{};
            st_.PairEntering = RootsOnSegment(prepared(prevColumn_), wide, true, st_.ColumnStep,
                                              hi_ + 2 * st_.Extension, lo_ - 2 * st_.Extension, skip_) >= 2;
        }
    }
    if (K >= 3) return Column::TooManyRoots;

    TracePoint p1, p2;
    if (K >= 1) p1 = point(c, x, roots[0]);
    if (K == 2) p2 = point(c, x, roots[1]);
    if (P == 2 && K == 2) {
        st_.PrevGap = gap(st_.PrevA, st_.PrevB);
        st_.CurGap = gap(p1, p2);
    }

    // A root count that changes is located to a tenth of a pixel first.
    if (!fine && !first && P != K) {
        bool locate = false;
        if ((P == 1 && K == 0) || (P == 0 && K == 1)) locate = true;
        if (P == 2 && K == 0) locate = st_.PrevGap <= st_.CurGap;
        if (P == 0 && K == 2) locate = st_.PairEntering;
        if ((P == 2 && K == 1) || (P == 1 && K == 2)) locate = !st_.Merging;
        if (locate) return Column::StartFine;
    }

    const TracePoint prevA = st_.PrevA, prevB = st_.PrevB;
    if (P == 1 && K == 1) {
        follow(1, prevA, p1);
    } else if (P == 2 && K == 2) {
        follow(1, prevA, p1);
        follow(2, prevB, p2);
    } else if (P == 1 && K == 0) {
        add(1, prevA);
        ClosePolylineA(ctx_);
    } else if (P == 2 && K == 0) {
        add(1, prevA);
        add(2, prevB);
        if (st_.PrevGap > st_.CurGap) add(1, prevB);  // closing in: the curve closes across its end
        ClosePolylineA(ctx_);
        ClosePolylineB(ctx_);
    } else if (P == 0 && K == 1) {
        add(1, p1);
    } else if (P == 0 && K == 2) {
        if (!st_.PairEntering) {
            // Born here: joined across their start.
            add(1, p2);
            add(1, p1);
            add(2, p2);
        } else {
            add(1, p1);
            add(2, p2);
        }
    } else if (P == 2 && K == 1) {
        if (st_.Merging) {
            add(1, p1);
            add(2, p1);
            ClosePolylineA(ctx_);
            ClosePolylineB(ctx_);
        } else {
            add(1, prevA);
            add(2, prevB);
            ClosePolylineA(ctx_);
            ClosePolylineB(ctx_);
            add(1, p1);
        }
    } else if (P == 1 && K == 2) {
        if (st_.Merging) {
            // The new pair grows out of the branch.
            add(1, p1);
            add(2, prevA);
            add(2, p2);
        } else {
            add(1, prevA);
            ClosePolylineA(ctx_);
            add(1, p1);
            add(2, p2);
        }
    }
    if (K >= 1) st_.PrevA = p1;
    if (K == 2) st_.PrevB = p2;
    st_.PrevCount = K;
    prevColumn_ = std::move(here);
    return Column::Acted;
}

bool ImplicitTracer::progress(double c) {
    const TargetKind kind = ctx_.Target.kind;
    const bool pel = kind == TargetKind::Pel && (ctx_.Pass == 1 || ctx_.Pass == 3);
    if (pel || kind == TargetKind::Cdr || kind == TargetKind::Wrd) {
        ProgressRole* shown = ctx_.progress();
        if (pel && shown && !(ctx_.NoRedraw && *ctx_.NoRedraw)) shown->processEvents();
        const double span = left_ + right_;
        const double p = span > 0 ? std::rint((c - cx_ + left_) * 100 / span) : 100;
        const int n = std::max(ctx_.CurveCount, 1);
        const double pos = std::rint((ctx_.CurveNo - 1) * 100.0 / n + p / n);
        if (pos > ctx_.LastProgress) {
            ctx_.LastProgress = static_cast<int>(std::min(pos, 100.0));
            if (shown) shown->setProgress(ctx_.LastProgress);
        }
    }
    return ctx_.running();
}

ImplicitTracer::Outcome ImplicitTracer::walk() {
    const double start = cx_ - left_, stop = cx_ + right_;
    double c = start;
    bool first = true;
    // A fine stretch runs c = base + k/10: from the column after the last
    // one to an end column where the root count changed (k = 1..10), or from
    // the last whole column to the window's edge (closing).
    bool fine = false, closing = false;
    double base = 0;
    int k = 0;
    while (c <= stop) {
        const Column r = column(c, first, fine);
        if (r == Column::TooManyRoots) return Outcome::TooManyRoots;
        first = false;
        if (r == Column::StartFine) {
            fine = true;
            base = c - 1;
            k = 1;
            c = base + 0.1;
            continue;
        }
        if (!progress(c)) return Outcome::Stopped;
        if (fine && (closing || k < 10)) {
            ++k;
            c = !closing && k == 10 ? base + 1 : base + k * 0.1;
            continue;
        }
        fine = false;
        if (c > stop - 1) {
            // The walk ends in small steps at the window's edge.
            fine = closing = true;
            base = c;
            k = 1;
            c = base + 0.1;
        } else {
            c += 1;
        }
    }
    return Outcome::Done;
}

}  // namespace

void CutWindowToPicture(std::uint8_t plane, double cx, double cy, int width, int height, double band,
                        CurveWindow& w) {
    if (width <= 0 || height <= 0 || !std::isfinite(cx) || !std::isfinite(cy)) return;
    const double bx = std::max<double>(width, band), by = std::max<double>(height, band);
    const double xlo = -bx, xhi = width + bx, ylo = -by, yhi = height + by;
    auto cut = [](double& reach, double most) { reach = std::min(reach, most); };
    if (plane == PlaneZ) {
        // The column runs up the picture, the root across it: a column c
        // stands at picture row cy - (c - cx), its root h at column c + h.
        cut(w.Left, yhi - cy);
        cut(w.Right, cy - ylo);
        cut(w.Top, xhi - cx + w.Left);
        cut(w.Bottom, cx + w.Right - xlo);
        return;
    }
    // The column is the picture column; the root h stands at row cy - h, in
    // the plane y = c shifted up by c - cx along the slanted first axis.
    cut(w.Left, cx - xlo);
    cut(w.Right, xhi - cx);
    if (plane != PlaneY) {
        cut(w.Top, cy - ylo);
        cut(w.Bottom, yhi - cy);
    } else {
        cut(w.Top, cy + w.Left - ylo);
        cut(w.Bottom, w.Right + yhi - cy);
    }
}

int RootsOnSegment(const Formula& f, std::array<double, 9>& roots, bool refine, double step, double hi, double lo,
                   bool skipSigned) {
    roots.fill(0);
    // A reversed segment holds no root (and no count of samples).
    if (!(step > 0) || !std::isfinite(step) || !std::isfinite(lo) || !std::isfinite(hi) || !(hi >= lo)) return 0;
    // x = lo + k·step: a step too small to move x still ends the scan.
    const double span = (hi - lo) / step;
    if (!(span < 1e9)) return 0;
    // The values at x are computed a block at a time: a block costs less than
    // its values one by one, and values past the end of the scan are unused.
    constexpr long kBlock = 48;
    const long wanted = static_cast<long>(span) + 2;  // the samples a full scan takes
    // The places of a full scan, with the variable as a formula reads it, are
    // the same for every column of a curve: kept from one scan to the next.
    struct Places {
        double lo = 0, step = 0;
        std::vector<double> x;
        std::vector<Ext> rounded;
    };
    thread_local Places kept;
    constexpr long kMaxKept = 1L << 16;
    const bool keep = refine && wanted <= kMaxKept;
    if (keep && (kept.lo != lo || kept.step != step || static_cast<long>(kept.x.size()) != wanted)) {
        kept.lo = lo;
        kept.step = step;
        kept.x.resize(static_cast<std::size_t>(wanted));
        kept.rounded.resize(static_cast<std::size_t>(wanted));
        for (long k = 0; k < wanted; ++k) {
            const double x = k == 0 ? lo : lo + static_cast<double>(k) * step;
            kept.x[static_cast<std::size_t>(k)] = x;
            kept.rounded[static_cast<std::size_t>(k)] = std::isfinite(x) ? formula::Round15(x) : 0;
        }
    }
    auto place = [&](long k) { return k == 0 ? lo : lo + static_cast<double>(k) * step; };
    double xs[kBlock];
    Ext fs[kBlock];
    bool ds[kBlock];
    long first = 0, filled = 0;  // the block holds samples first .. first + filled - 1
    long fillTo = wanted;        // a block is not filled up to this sample or beyond
    auto sample = [&](long k, Ext& v) {
        if (k < first || k >= first + filled) {
            first = k;
            filled = std::clamp(std::min(wanted, fillTo) - k, 1L, kBlock);
            if (keep && k + filled <= wanted) {
                const auto at = static_cast<std::size_t>(k);
                formula::Access::CalcMany(f, static_cast<int>(filled), kept.x.data() + at,
                                          kept.rounded.data() + at, fs, ds);
            } else {
                for (long i = 0; i < filled; ++i) xs[i] = place(k + i);
                formula::Access::CalcMany(f, static_cast<int>(filled), xs, nullptr, fs, ds);
            }
        }
        const auto i = static_cast<std::size_t>(k - first);
        if (ds[i]) v = fs[i];
        return ds[i];
    };
    // The scan in stretches: a stretch whose values the formula's bound
    // shows to be all defined and of one sign has no sign change and no zero,
    // so its samples are passed over.  A stretch ends on the sample the next
    // one starts from, so every pair of neighbouring samples lies within one
    // stretch.  Long stretches are tried first; one the bound cannot tell is
    // tried again in short ones, and a short one it cannot tell is computed.
    constexpr long kLong = 128, kShort = 16;
    const bool skip = refine && skipSigned && formula::Access::Bounded(f);
    auto rounded = [&](long k) {
        return keep ? kept.rounded[static_cast<std::size_t>(k)] : formula::Round15(static_cast<Ext>(place(k)));
    };
    auto signed_ = [&](long from, long to) {
        return to - from >= 2 && formula::Access::SignOn(f, rounded(from), rounded(to)) != 0;
    };
    long longEnd = 0, stretchEnd = 0;
    int n = 0;
    Ext f0 = 0, f1 = 0;
    bool d0 = false, have0 = false;  // have0: f0 and d0 are those of sample k
    for (long k = 0; (refine || n == 0) && n < 9;) {
        const double x = lo + static_cast<double>(k) * step;
        if (!(x <= hi)) break;
        if (skip && k >= stretchEnd) {
            long end = 0;
            if (k >= longEnd) {
                end = std::min(k + kLong, wanted - 1);
                longEnd = end;
                if (signed_(k, end)) {
                    k = stretchEnd = end;
                    have0 = false;
                    continue;
                }
            }
            end = std::min(k + kShort, longEnd);
            stretchEnd = end;
            fillTo = end + 1;
            if (signed_(k, end)) {
                k = end;
                have0 = false;
                continue;
            }
        }
        if (!have0) d0 = sample(k, f0);
        const double next = lo + static_cast<double>(k + 1) * step;
        const bool d1 = sample(k + 1, f1);
        if (d0 && f0 == 0) {
            roots[static_cast<std::size_t>(n++)] = x;
        } else if (d0 && d1 && f0 * f1 < 0) {
            double r = x + step / 2;
            if (refine) {
                std::array<double, 9> scratch{};
                if (RootsOnSegment(f, scratch, false, step / 10, next, x) > 0) r = scratch[0];
            }
            roots[static_cast<std::size_t>(n++)] = r;
        }
        f0 = f1;
        d0 = d1;
        have0 = true;
        ++k;
    }
    return n;
}

void TellCannotPlot(GraphHost* host, bool* told) {
    if (!host || (told && *told)) return;
    if (told) *told = true;
    TextRole& texts = host->texts();
    const std::string text = texts.word(WordNo::CannotPlotGraph);
    texts.showMessage(text.empty() ? CannotPlotText : text);
}

void AddSegmentByVisibility(SubCurveContext& ctx, std::uint8_t which, std::uint8_t plane, const Vec3& from,
                            const Vec3& to, const std::string& S, bool want, double pixelLength, double cy,
                            double cx) {
    const Vec3 d = to - from;
    if (std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z) < 0.0001 || !(pixelLength >= 1.0)) return;
    const long m = std::min(static_cast<long>(std::min(pixelLength, 1e9)) + 1, kMaxVisibilitySubPoints);
    const std::uint8_t mode = plane > 0 && ctx.Outline.FitMode != 0 ? 1 : 0;
    auto subPoint = [&](long k) {
        const double t = static_cast<double>(k) / static_cast<double>(m);
        return Vec3{from.x + t * d.x, from.y + t * d.y, from.z + t * d.z};
    };
    auto add = [&](const Vec3& p, bool mark) {
        double px, py;
        TracedPicture(plane, p, ctx.XScale, ctx.YScale, cx, cy, px, py);
        AddCurvePoint(ctx, which, mark, px, py);
    };
    for (long k = 1; k <= m; ++k) {
        const Vec3 p = subPoint(k);
        TColor unused = 0;
        const bool mark = !RaySurfaceHit(p, true, ctx.Corners, S, mode, ctx.Outline.Step1 / ctx.XScale,
                                         ctx.Transform, 0, 0, 0, ctx.ImProj, false, unused, ctx.NamedFunctions,
                                         ctx.Params, ctx.Window);
        if (mark == want) continue;
        if (k == 1) {
            add(p, mark);
        } else if (k == m) {
            add(subPoint(k - 1), want);
        } else {
            add(subPoint(k - 1), want);
            add(p, mark);
        }
        return;
    }
}

void TraceImplicitCurve(SubCurveContext& ctx, std::uint8_t plane, const std::string& F, const std::string& G,
                        int N, double position, double top, double bottom, double right, double left, double cy,
                        double cx) {
    if (!ctx.running()) return;
    const DCurve2* stored = StoredCurves(ctx.Stores.DrawProj, ctx.Index, N);
    const bool valid = stored && stored->Valid == 1;
    if (!ctx.Recompute && !valid) return;

    DCurve2 result;
    if (valid) {
        result = *stored;
    } else {
        ctx.Result.clear(plane, position);
        ctx.CurrentA.clear();
        ctx.CurrentB.clear();
        ctx.Tracer = TracerState{};
        // The walk covers what the picture can show, whatever the window
        // asked (the band the 2D systems sample their graphs in at least): a
        // window cut to nothing, or turned inside out, draws nothing.
        CurveWindow w{left, right, bottom, top};
        CutWindowToPicture(plane, cx, cy, ctx.ImProj.Width, ctx.ImProj.Height, kMarkReach, w);
        left = w.Left, right = w.Right, bottom = w.Bottom, top = w.Top;
        // Columns are stepped by a tenth: beyond kMaxColumn a step no longer
        // moves the column, and the walk would not end.
        const bool window = std::fabs(cx - left) < kMaxColumn && std::fabs(cx + right) < kMaxColumn &&
                            std::isfinite(top) && std::isfinite(bottom) && std::isfinite(cy) && top + bottom > 0 &&
                            left + right > 0;
        if (Usable(ctx.XScale) && Usable(ctx.YScale) && window && plane <= PlaneZ) {
            ctx.Tracer.ColumnStep = 1 / (2 * ctx.YScale);
            ctx.Tracer.Extension = 0.3 * (top + bottom) / ctx.YScale;
            ImplicitTracer tracer(ctx, plane, F, G, N, position, top, bottom, right, left, cy, cx);
            switch (tracer.walk()) {
                case ImplicitTracer::Outcome::TooManyRoots:
                    TellCannotPlot(ctx.Host, ctx.Told);
                    return;
                case ImplicitTracer::Outcome::Stopped:
                    return;
                case ImplicitTracer::Outcome::Done:
                    break;
            }
        }
        ClosePolylineA(ctx);
        ClosePolylineB(ctx);
        result = ctx.Result.set();
        result.Valid = 1;
        StoreCurves(ctx, N, result);
    }
    ctx.Result.Lines = result.lines();
    ctx.Result.Plane = result.Plane;
    ctx.Result.Position = result.Position;
    DrawCurveSet(result, ctx.Width, ctx.Colour, ctx.NamedFunctions, ctx.Pass, ctx.Target, ctx.ImProj,
                 ctx.CdrDashStyle, ctx.Outline, G, ctx.Corners, ctx.Style, 1, ctx.Transform, ctx.YScale, ctx.XScale,
                 ctx.CY, ctx.CX, ctx.Params, ctx.Window);
}

}  // namespace pelmar
