// The ray test of surfaces: where the viewing ray through a 3D point meets a
// surface F(x, y, z) = 0 inside the box of a 3D coordinate system; and the
// partial derivatives that shade the hit point.
//
// Both put the coordinates of a point into the surface formula as numbers:
// the ray test replaces x, y and z by "(" px "+x)", "(" py "+0.35355339*x)" and
// "(" pz "+0.35355339*x)" with the fixed-form numbers of the point, which makes
// F along the ray a formula in x; a derivative replaces two of the letters by
// "(" value ")" and the third by x.  They run for every pixel of a shaded
// surface, so the text is not built and prepared per call: the surface is
// prepared once as a template whose x, y and z are operands (formula_internal.h)
// and the groups' values are given per call.  Letters are replaced only where
// they stand as variables, after lower-casing, so the letters of function
// names stay intact.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>

#include "drawing/drawing_work.h"
#include "drawing/formula_internal.h"
#include "model/shading.h"

namespace pelmar {

namespace {

using namespace formula;

// The scan along the ray stops after this many steps whatever the step.
constexpr long kMaxScanSteps = 1000000;
// The fewest steps a ray may take across its part of the box however small
// the picture (see RaySurfaceHit).
constexpr double kMinRaySteps = 1024;
// The chunks of samples the scan tries to pass over at once.
constexpr int kFirstChunk = 64, kMinChunk = 4, kMaxChunk = 1024;

// The box faces as corner triples.
constexpr int kFaces[6][3] = {{0, 1, 2}, {5, 1, 2}, {4, 5, 6}, {3, 7, 4}, {0, 1, 5}, {2, 3, 7}};

// The template text of s: lower-cased, x, y and z replaced by the slot marks,
// except var (a letter x..z, or 0 for none), which becomes the variable x.
// Control characters that are slot marks in s itself become another character
// that no formula reads, so they still make the formula fail.
std::string TemplateText(const std::string& s, char var) {
    std::string t = s;
    LowerAZ(t);
    for (char& c : t) {
        if (c >= kSlotMarks[0] && c <= kSlotMarks[2])
            c = '\x7F';
        else if (var != 0 && c == var)
            c = 'x';
        else if (c >= 'x' && c <= 'z')
            c = kSlotMarks[c - 'x'];
    }
    return t;
}

// The text the template stands for, with the groups written out.
std::string WrittenOut(const std::string& tmpl, const std::array<std::string, 3>& groups) {
    std::string r;
    for (char ch : tmpl) {
        if (ch >= kSlotMarks[0] && ch <= kSlotMarks[2])
            r += groups[static_cast<std::size_t>(ch - kSlotMarks[0])];
        else
            r += ch;
    }
    return r;
}

// Templates are prepared once per surface formula: the painters call with the
// same formula pixel after pixel.  One entry each for the ray and the three
// derivatives.  A preparation's effect on the distribution parameters is kept
// with it and applied again on every use.
struct TemplateEntry {
    bool valid = false;
    std::string text;
    bool full = false;
    DistributionParameters before, after;
    Formula formula;
};

const Formula& CachedTemplate(int kind, const std::string& text, bool full, DistributionParameters& params) {
    thread_local std::array<TemplateEntry, 4> cache;
    TemplateEntry& e = cache[static_cast<std::size_t>(kind)];
    if (!e.valid || e.full != full || e.text != text || std::memcmp(&e.before, &params, sizeof params) != 0) {
        e.before = params;
        e.formula = Access::PrepareTemplate(text, full, params);
        e.after = params;
        e.text = text;
        e.full = full;
        e.valid = true;
    }
    params = e.after;
    return e.formula;
}

// The template texts of a surface formula (the ray's and the three
// derivatives'), built once per formula: the painters call with the same
// formula pixel after pixel.
const std::string& CachedTemplateText(const std::string& s, int kind) {
    struct Entry {
        bool valid = false;
        std::string source;
        std::array<std::string, 4> texts;
    };
    thread_local Entry e;
    if (!e.valid || e.source != s) {
        e.source = s;
        e.texts[0] = TemplateText(s, 0);
        for (int axis = 1; axis <= 3; ++axis)
            e.texts[static_cast<std::size_t>(axis)] = TemplateText(s, static_cast<char>('x' + axis - 1));
        e.valid = true;
    }
    return e.texts[static_cast<std::size_t>(kind)];
}

// AnalyseTerms of the ray's template, kept with its effect on the
// distribution parameters like the templates above.
bool CachedAnalysis(const std::string& text, bool full, DistributionParameters& params, Ext& c0, Ext& c1, Ext& c2) {
    struct Entry {
        bool valid = false;
        std::string text;
        bool full = false;
        DistributionParameters before, after;
        bool result = false;
        Ext c0 = 0, c1 = 0, c2 = 0;
    };
    thread_local Entry e;
    if (!e.valid || e.full != full || e.text != text || std::memcmp(&e.before, &params, sizeof params) != 0) {
        e.before = params;
        e.result = AnalyseTerms(text, full, params, e.c0, e.c1, e.c2);
        e.after = params;
        e.text = text;
        e.full = full;
        e.valid = true;
    }
    params = e.after;
    c0 = e.c0;
    c1 = e.c1;
    c2 = e.c2;
    return e.result;
}

Ext RayScale() {
    static const Ext scale = [] {
        Ext v = 0;
        ReadFormulaNumber("0.35355339", v);
        return v;
    }();
    return scale;
}

}  // namespace

double PartialDerivative(const std::string& s, Vec3 p, std::uint8_t axis, bool full,
                         DistributionParameters& params) {
    if (axis < 1 || axis > 3) return 0;
    const double coords[3] = {p.x, p.y, p.z};
    const std::string& text = CachedTemplateText(s, axis);
    const Formula& f = CachedTemplate(axis, text, full, params);
    SlotValues groups;
    for (int i = 0; i < 3; ++i)
        if (i != axis - 1) groups.value[static_cast<std::size_t>(i)] = FixedSlot(coords[i], SlotValue::Fixed);
    Formula route;  // for a template the compiler does not take: the text itself
    if (!f.IsCompiled()) {
        std::array<std::string, 3> groups;
        for (std::size_t i = 0; i < 3; ++i) groups[i] = Join({"(", FixedNumberText(coords[i]), ")"});
        route = Formula::Prepare(WrittenOut(text, groups), full, params);
    }
    const Ext v = coords[axis - 1];
    const Ext h = 1e-5L;
    Ext f0, f1;
    if (f.IsCompiled()) {
        // Both samples in one pass.
        const Ext at[2] = {v, v + h};
        Ext values[2];
        bool ok[2];
        Access::Calc(f, 2, at, groups, values, ok);
        if (!ok[0] || !ok[1]) return 0;
        f0 = values[0];
        f1 = values[1];
    } else if (!route.Calc(v, f0) || !route.Calc(v + h, f1)) {
        return 0;
    }
    return static_cast<double>((f1 - f0) / h);
}

bool RaySurfaceHit(Vec3 p, bool fromPoint, const std::array<Vec3, 8>& corners, const std::string& s,
                   std::uint8_t mode, double step, const GraphTransform& t, TColor c1, TColor c2, TColor c3,
                   const DImProj& imProj, bool shade, TColor& colour, bool full,
                   DistributionParameters& params, const ScanWindow& window) {
    const Ext s8 = Sqrt8();

    // The parameter range of the ray inside the box.
    double tLow, tHigh;
    if (!t.Moved && !t.Rotated) {
        const Vec3 lo = corners[3], hi = corners[5];
        tLow = Max3(lo.x - p.x, static_cast<double>((lo.y - p.y) * s8), static_cast<double>((lo.z - p.z) * s8));
        tHigh = Min3(hi.x - p.x, static_cast<double>((hi.y - p.y) * s8), static_cast<double>((hi.z - p.z) * s8));
    } else {
        const Vec3 dir{1.0, static_cast<double>(1 / s8), static_cast<double>(1 / s8)};
        std::array<Vec3, 6> points{};
        int n = 0;
        for (const auto& f : kFaces) {
            double a, b, c, d;
            PlaneBy3Points(corners[static_cast<std::size_t>(f[0])], corners[static_cast<std::size_t>(f[1])],
                           corners[static_cast<std::size_t>(f[2])], a, b, c, d);
            Vec3 q;
            IntersectLinePlane(q.x, q.y, q.z, p, dir, a, b, c, d);
            if (InsideHexahedron(corners, q)) points[static_cast<std::size_t>(n++)] = q;
        }
        if (n < 2) return false;
        tLow = MinPointX(points, n) - p.x;
        tHigh = MaxPointX(points, n) - p.x;
    }
    if (fromPoint) tLow = step;
    if (!(tLow < tHigh)) return false;

    // F along the ray.
    const std::string& text = CachedTemplateText(s, 0);
    SlotValues groups;
    groups.scale = RayScale();
    groups.value[0] = FixedSlot(p.x, SlotValue::Shifted);
    groups.value[1] = FixedSlot(p.y, SlotValue::ShiftedScaled);
    groups.value[2] = FixedSlot(p.z, SlotValue::ShiftedScaled);
    const Formula* tmpl = nullptr;
    Formula route;  // for a template the compiler does not take: the text itself
    auto prepare = [&] {
        if (tmpl) return;
        tmpl = &CachedTemplate(0, text, full, params);
        if (!tmpl->IsCompiled())
            route = Formula::Prepare(WrittenOut(text, {Join({"(", FixedNumberText(p.x), "+x)"}),
                                                       Join({"(", FixedNumberText(p.y), "+0.35355339*x)"}),
                                                       Join({"(", FixedNumberText(p.z), "+0.35355339*x)"})}),
                                     full, params);
    };
    auto F = [&](Ext tt, Ext& v) { return tmpl->IsCompiled() ? Access::Calc(*tmpl, tt, groups, v) : route.Calc(tt, v); };

    // The roots of the formula: exact when all its terms are polynomial terms
    // (no term holding a coordinate is), else with mode 1 the quadratic through
    // three samples; when neither applies, the scan.
    bool hit = false;
    Ext tStar = 0;
    int count = 0;
    double x1 = 0, x2 = 0;
    Ext k0, k1, k2;
    bool roots = CachedAnalysis(text, full, params, k0, k1, k2);
    if (!roots && mode != 0) {
        prepare();
        if (tmpl->IsCompiled()) {
            // The three samples in one pass.
            const std::array<Ext, 3> ts = QuadraticSamples(tLow, tHigh);
            std::array<Ext, 3> vs{};
            bool ok[3];
            Access::Calc(*tmpl, 3, ts.data(), groups, vs.data(), ok);
            roots = ok[0] && ok[1] && ok[2] && SolveQuadraticFit(ts, vs, k0, k1, k2);
        } else {
            roots = FitQuadratic(F, tLow, tHigh, k0, k1, k2);
        }
    }
    if (roots) {
        RootsInRange(k0, k1, k2, tLow, tHigh, count, x1, x2);
        if (count > 0) {
            hit = true;
            tStar = count == 2 ? x2 : x1;
        }
    } else if (step > 0 && std::isfinite(step)) {
        // Scan from the viewer's side; the first sign change between two
        // defined samples is the hit (undefined samples are passed over).
        prepare();
        // The part of the ray the window shows.
        Ext wLow = -HUGE_VALL, wHigh = HUGE_VALL;
        if (fromPoint && window.On) {
            wLow = Max3(window.Lo.x - p.x, static_cast<double>((window.Lo.y - p.y) * s8),
                        static_cast<double>((window.Lo.z - p.z) * s8));
            wHigh = Min3(window.Hi.x - p.x, static_cast<double>((window.Hi.y - p.y) * s8),
                         static_cast<double>((window.Hi.z - p.z) * s8));
            if (!(wLow <= wHigh)) return false;  // the window shows none of the ray
        }
        // However fine the step (a scale far beyond the picture), a ray takes
        // no more steps than the picture's diagonal has pixels: its depth is
        // never shown finer than that.
        const double reach = static_cast<double>(std::min<Ext>(tHigh, wHigh) - std::max<Ext>(tLow, wLow));
        const double most = std::max(kMinRaySteps, std::hypot(std::max(imProj.Width, 0), std::max(imProj.Height, 0)));
        if (reach / step > most) step = reach / most;
        Ext tt = tHigh, last = 0;
        // The stretch beyond the window is passed over in one jump: the scan
        // starts about one step outside the window.  (With the box inside the
        // window there is no jump, and the samples are those of the whole
        // scan.)
        if (tt - step > wHigh) {
            const Ext k = std::floor((tHigh - wHigh) / step) - 1;
            if (k > 0) tt = tHigh - k * step;
        }
        Ext lastT = tt;
        bool haveLast = false;
        bool started = false;  // the sample at the start of the scan is known
        // Three samples are evaluated at a time.
        Ext ahead[3] = {0, 0, 0}, aheadValue[3] = {0, 0, 0};
        bool aheadOk[3] = {false, false, false};
        int aheadNext = 3;
        // Stretches where the formula keeps the sign of the last sample are
        // passed over: when its bounds over the next chunk of samples show
        // that every one of them is defined and of that sign, none of them
        // can be the hit, and the last of them becomes the last sample.  The
        // first chunk takes in the start of the scan too.  The samples are
        // stepped to exactly as the scan steps to them.  After a chunk that
        // cannot be shown so, a quarter of it is tried, down to none; after
        // one that can, twice as much.
        int chunk = tmpl->IsCompiled() ? kFirstChunk : 0;
        for (long i = 0; tt >= tLow && tt >= wLow && i < kMaxScanSteps; ++i) {
            if (chunk >= kMinChunk && aheadNext == 3) {
                Ext end = tt, first = 0;
                long j = i;
                int k = 0;
                while (k < chunk && end >= tLow && end >= wLow && j < kMaxScanSteps) {
                    end = end - step;
                    ++WorkDone().raySteps;
                    if (k == 0) first = end;
                    ++k;
                    ++j;
                }
                Ext lo = 0, hi = 0;
                int sign = 0;
                if (k >= kMinChunk && Access::Bound(*tmpl, end, started ? first : tt, groups, lo, hi))
                    sign = lo > 0 ? 1 : hi < 0 ? -1 : 0;
                if (sign != 0 && (!started || !haveLast || (sign > 0 ? last > 0 : last < 0))) {
                    started = true;
                    last = sign;
                    lastT = end;
                    haveLast = true;
                    tt = end;
                    i = j - 1;
                    chunk = std::min(chunk * 2, kMaxChunk);
                    continue;
                }
                chunk /= 4;
            }
            if (!started) {
                haveLast = F(tt, last);
                started = true;
            }
            const Ext next = tt - step;
            ++WorkDone().raySteps;
            Ext f = 0;
            bool ok;
            if (tmpl->IsCompiled()) {
                if (aheadNext == 3 || ahead[aheadNext] != next) {
                    ahead[0] = next;
                    ahead[1] = next - step;
                    ahead[2] = ahead[1] - step;
                    Access::Calc(*tmpl, 3, ahead, groups, aheadValue, aheadOk);
                    aheadNext = 0;
                }
                ok = aheadOk[aheadNext];
                f = aheadValue[aheadNext];
                ++aheadNext;
            } else {
                ok = route.Calc(next, f);
            }
            if (ok) {
                if (haveLast && last * f <= 0) {
                    hit = true;
                    tStar = (lastT + next) / 2;
                    break;
                }
                last = f;
                lastT = next;
                haveLast = true;
            }
            tt = next;
        }
    }

    if (hit && shade) {
        const Vec3 q{static_cast<double>(p.x + tStar), static_cast<double>(p.y + tStar / s8),
                     static_cast<double>(p.z + tStar / s8)};
        std::array<double, 3> light;
        if (imProj.LightSource == 1)
            light = {imProj.LightX - q.x, imProj.LightY - q.y, imProj.LightZ - q.z};
        else if (imProj.LightSource == 2)
            light = {imProj.LightDX, imProj.LightDY, imProj.LightDZ};
        else
            return hit;
        const double nx = PartialDerivative(s, q, 1, full, params);
        const double ny = PartialDerivative(s, q, 2, full, params);
        const double nz = PartialDerivative(s, q, 3, full, params);
        colour = SharedShadeTable(c1, c2, c3, imProj.BorderPercent, imProj.TwoColors != 0, imProj.BorderAngle)
                     ->at(nx, ny, nz, light);
    }
    return hit;
}

}  // namespace pelmar
