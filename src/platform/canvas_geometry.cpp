#include "platform/canvas_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/coord_limit.h"

namespace pelmar {

namespace {

constexpr double Deg = std::numbers::pi / 180.0;
constexpr double MaxChordError = 0.1;  // pixels
constexpr int MaxArcSegments = 20000;
// A dash pattern shorter than this (in pixels) would split a line into an
// unbounded number of pieces; such a pen strokes solid.
constexpr double MinPatternLength = 1e-3;

double Length(PointF a, PointF b) { return std::hypot(b.x - a.x, b.y - a.y); }

PointF Lerp(PointF a, PointF b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

bool Finite(const RectF& r) {
    return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.w) && std::isfinite(r.h);
}

}  // namespace

PointF RotatePoint(PointF p, double degrees, PointF c) {
    const double s = std::sin(degrees * Deg);
    const double co = std::cos(degrees * Deg);
    const double dx = p.x - c.x;
    const double dy = p.y - c.y;
    return {c.x + dx * co - dy * s, c.y + dx * s + dy * co};
}

double ParametricAngle(double rx, double ry, double polarDeg) {
    const double t = polarDeg * Deg;
    double phi = std::atan2(rx * std::sin(t), ry * std::cos(t)) / Deg;
    // The parameter lies in the same quadrant as the polar angle; bring it
    // into the same turn.
    phi += 360.0 * std::rint((polarDeg - phi) / 360.0);
    return phi;
}

PointF EllipsePoint(const RectF& box, double polarDeg) {
    const double rx = std::abs(box.w) / 2;
    const double ry = std::abs(box.h) / 2;
    const PointF c = box.center();
    const double phi = ParametricAngle(rx, ry, polarDeg) * Deg;
    return {c.x + rx * std::cos(phi), c.y + ry * std::sin(phi)};
}

ArcSpan NormalizeArc(double start, double sweep) {
    ArcSpan a;
    if (!std::isfinite(start)) start = 0;
    if (!std::isfinite(sweep)) sweep = 0;
    a.start = std::fmod(start, 360.0);
    if (a.start < 0) a.start += 360.0;
    if (a.start >= 360.0) a.start = 0;
    a.full = std::abs(sweep) >= 360.0;
    a.sweep = a.full ? (sweep < 0 ? -360.0 : 360.0) : sweep;
    return a;
}

std::vector<PointF> ArcPolyline(const RectF& box, double start, double sweep) {
    const ArcSpan arc = NormalizeArc(start, sweep);
    const double rx = std::abs(box.w) / 2;
    const double ry = std::abs(box.h) / 2;
    const PointF c = box.center();
    const double p0 = ParametricAngle(rx, ry, arc.start);
    const double p1 = arc.full ? p0 + arc.sweep : ParametricAngle(rx, ry, arc.start + arc.sweep);
    const double span = p1 - p0;
    const double r = std::max(rx, ry);
    double step = 360.0;
    if (r > MaxChordError / 2) step = 2 * std::acos(1 - MaxChordError / r) / Deg;
    int n = SaturatedTrunc<int>(std::ceil(std::abs(span) / step));
    n = std::clamp(n, 1, MaxArcSegments);
    std::vector<PointF> pts;
    pts.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) {
        const double phi = (p0 + span * i / n) * Deg;
        pts.push_back({c.x + rx * std::cos(phi), c.y + ry * std::sin(phi)});
    }
    if (arc.full) pts.back() = pts.front();
    return pts;
}

std::vector<PointF> EllipsePolygon(const RectF& box) {
    std::vector<PointF> pts = ArcPolyline(box, 0, 360);
    if (pts.size() > 1) pts.pop_back();
    return pts;
}

std::vector<PointF> PiePolygon(const RectF& box, double start, double sweep) {
    const ArcSpan arc = NormalizeArc(start, sweep);
    if (arc.full) return EllipsePolygon(box);
    std::vector<PointF> pts{box.center()};
    const std::vector<PointF> a = ArcPolyline(box, start, sweep);
    pts.insert(pts.end(), a.begin(), a.end());
    return pts;
}

bool UsableDashPattern(const std::vector<double>& dashes) {
    if (dashes.empty() || dashes.size() % 2 != 0) return false;
    return std::all_of(dashes.begin(), dashes.end(), [](double d) { return std::isfinite(d) && d > 0; });
}

namespace {

bool FinitePoint(PointF p) { return std::isfinite(p.x) && std::isfinite(p.y); }

double PathLength(std::span<const PointF> pts) {
    double total = 0;
    for (std::size_t i = 1; i < pts.size(); ++i) total += Length(pts[i - 1], pts[i]);
    return total;
}

// The pattern's period, or 0 when it cannot cut anything.
double PatternPeriod(std::span<const double> patternPx) {
    double total = 0;
    for (double d : patternPx) total += d;
    if (patternPx.empty() || !(total >= MinPatternLength) || !std::isfinite(total) ||
        std::any_of(patternPx.begin(), patternPx.end(), [](double d) { return !(d > 0); }))
        return 0;
    return total;
}

// Whether a pattern cuts `length` pixels into few enough pieces.
bool FewDashes(double length, double period, std::size_t entries) {
    return std::isfinite(length) && length / period * static_cast<double>(entries) / 2 <= kMaxDashes;
}

// Cuts an open polyline into dashes, the pattern starting at its first point.
void SplitOpen(const std::vector<PointF>& pts, std::span<const double> patternPx,
               std::vector<std::vector<PointF>>& dashes) {
    std::size_t index = 0;          // current entry of the pattern; even = dash
    double left = patternPx[0];     // length left in that entry
    std::vector<PointF> current{pts.front()};
    for (std::size_t i = 1; i < pts.size(); ++i) {
        const PointF a = pts[i - 1];
        const PointF b = pts[i];
        const double len = Length(a, b);
        if (!(len > 0)) continue;
        double pos = 0;  // distance done along this side
        while (len - pos > left) {
            pos += left;
            const PointF p = Lerp(a, b, pos / len);
            if (index % 2 == 0) {
                current.push_back(p);
                dashes.push_back(std::move(current));
                current.clear();
            } else {
                current = {p};
            }
            index = (index + 1) % patternPx.size();
            left = patternPx[index];
        }
        left -= len - pos;
        if (index % 2 == 0) current.push_back(b);
    }
    if (index % 2 == 0 && current.size() > 1) dashes.push_back(std::move(current));
}

// Liang-Barsky: the part [t0, t1] of the side a-b within r; false when none.
bool ClipSide(PointF a, PointF b, const RectF& r, double& t0, double& t1) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    t0 = 0;
    t1 = 1;
    auto edge = [&](double p, double q) {  // the side keeps p * t <= q
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    return edge(-dx, a.x - r.x) && edge(dx, r.x + r.w - a.x) && edge(-dy, a.y - r.y) && edge(dy, r.y + r.h - a.y);
}

bool Within(PointF p, const RectF& r) {
    return p.x >= r.x && p.x <= r.x + r.w && p.y >= r.y && p.y <= r.y + r.h;
}

}  // namespace

std::vector<std::vector<PointF>> SplitDashes(std::span<const PointF> path,
                                             std::span<const double> patternPx, bool closed) {
    std::vector<std::vector<PointF>> dashes;
    if (path.empty()) return dashes;
    std::vector<PointF> pts(path.begin(), path.end());
    if (closed && pts.size() > 1) pts.push_back(pts.front());
    const double period = PatternPeriod(patternPx);
    if (period == 0 || !FewDashes(PathLength(pts), period, patternPx.size())) {
        dashes.push_back(std::move(pts));
        return dashes;
    }
    SplitOpen(pts, patternPx, dashes);
    return dashes;
}

std::vector<std::vector<PointF>> SplitDashes(std::span<const PointF> path,
                                             std::span<const double> patternPx, bool closed,
                                             const RectF& view) {
    std::vector<std::vector<PointF>> parts;
    if (path.empty()) return parts;
    const double period = PatternPeriod(patternPx);
    if (PathWithin(path, view)) {
        std::vector<PointF> pts(path.begin(), path.end());
        if (closed && pts.size() > 1) pts.push_back(pts.front());
        parts.push_back(std::move(pts));
    } else {
        parts = ClipPath(path, closed, view, period);
    }
    double shown = 0;
    for (const auto& part : parts) shown += PathLength(part);
    if (period == 0 || !FewDashes(shown, period, patternPx.size())) return parts;
    std::vector<std::vector<PointF>> dashes;
    for (const auto& part : parts) SplitOpen(part, patternPx, dashes);
    return dashes;
}

double StrokeReach(double width) { return 10 * std::max(std::isfinite(width) ? width : 1.0, 1.0) + 2; }

bool PathWithin(std::span<const PointF> path, const RectF& view) {
    return std::all_of(path.begin(), path.end(), [&](PointF p) { return Within(p, view); });
}

std::vector<std::vector<PointF>> ClipPath(std::span<const PointF> path, bool closed, const RectF& view,
                                          double period) {
    std::vector<std::vector<PointF>> parts;
    const std::size_t n = path.size();
    if (n < 2) return parts;
    const std::size_t sides = closed ? n : n - 1;
    std::vector<PointF> current;
    auto flush = [&] {
        if (current.size() >= 2) parts.push_back(std::move(current));
        current.clear();
    };
    double along = 0;  // the path's length before the side
    for (std::size_t i = 0; i < sides; ++i) {
        const PointF a = path[i];
        const PointF b = path[(i + 1) % n];
        const double len = Length(a, b);
        double t0 = 0, t1 = 1;
        if (!FinitePoint(a) || !FinitePoint(b) || !std::isfinite(len) || !ClipSide(a, b, view, t0, t1)) {
            flush();
            along += len;
            continue;
        }
        if (!current.empty() && t0 > 0) flush();
        if (current.empty()) {
            PointF first = t0 > 0 ? Lerp(a, b, t0) : a;
            const double done = along + len * t0;
            if (period > 0 && done > 0 && len > 0 && std::isfinite(done)) {
                // Back to where the pattern starts anew: on the side's line,
                // before the point where it enters the view, so outside it.
                const double back = std::fmod(done, period);
                first = {first.x - (b.x - a.x) / len * back, first.y - (b.y - a.y) / len * back};
            }
            current.push_back(first);
        }
        if (t1 < 1) {
            current.push_back(Lerp(a, b, t1));
            flush();
        } else {
            current.push_back(b);
        }
        along += len;
    }
    flush();
    return parts;
}

std::vector<PointF> OpenOutside(std::span<const PointF> path, const RectF& view) {
    const std::size_t n = path.size();
    std::size_t k = 0;
    while (k < n && Within(path[k], view)) ++k;
    if (k == n) return {path.begin(), path.end()};
    std::vector<PointF> out;
    out.reserve(n + 1);
    for (std::size_t i = 0; i <= n; ++i) out.push_back(path[(k + i) % n]);
    return out;
}

bool EndDirections(std::span<const PointF> path, PointF& startDir, PointF& endDir) {
    if (path.size() < 2) return false;
    const PointF first = path.front();
    const PointF last = path.back();
    std::size_t i = 1;
    while (i < path.size() && Length(path[i], first) == 0) ++i;
    if (i == path.size()) return false;
    std::size_t j = path.size() - 1;
    while (j > 0 && Length(path[j - 1], last) == 0) --j;
    const PointF before = path[j - 1];
    const double ls = Length(first, path[i]);
    const double le = Length(before, last);
    startDir = {(first.x - path[i].x) / ls, (first.y - path[i].y) / ls};
    endDir = {(last.x - before.x) / le, (last.y - before.y) / le};
    return true;
}

std::vector<PointF> RoundCapPolygon(PointF end, PointF outward, double width) {
    const double r = width / 2;
    const PointF n{-outward.y, outward.x};
    std::vector<PointF> pts;
    constexpr int Steps = 16;
    pts.reserve(Steps + 1);
    for (int k = 0; k <= Steps; ++k) {
        const double t = (-90.0 + 180.0 * k / Steps) * Deg;
        const double c = std::cos(t);
        const double s = std::sin(t);
        pts.push_back({end.x + r * (outward.x * c + n.x * s), end.y + r * (outward.y * c + n.y * s)});
    }
    return pts;
}

RectF BoundsOf(std::span<const PointF> points, double margin) {
    if (points.empty()) return {};
    double x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
    for (const PointF& p : points) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    return {x0 - margin, y0 - margin, x1 - x0 + 2 * margin, y1 - y0 + 2 * margin};
}

bool EllipseFarBeyond(const RectF& box, const RectF& view) {
    if (!Finite(box) || !Finite(view)) return true;
    const double grow = 2 * std::max(std::abs(view.w), std::abs(view.h));
    const double vx0 = std::min(view.x, view.x + view.w) - grow, vx1 = std::max(view.x, view.x + view.w) + grow;
    const double vy0 = std::min(view.y, view.y + view.h) - grow, vy1 = std::max(view.y, view.y + view.h) + grow;
    const double bx0 = std::min(box.x, box.x + box.w), bx1 = std::max(box.x, box.x + box.w);
    const double by0 = std::min(box.y, box.y + box.h), by1 = std::max(box.y, box.y + box.h);
    return !(bx0 >= vx0 && bx1 <= vx1 && by0 >= vy0 && by1 <= vy1);
}

double EllipseArcLength(double rx, double ry, double t0, double t1) {
    rx = std::abs(rx);
    ry = std::abs(ry);
    if (rx == ry) return rx * (t1 - t0);
    // ds = sqrt(rx^2 sin^2 t + ry^2 cos^2 t) dt, an elliptic integral of the
    // second kind in the angle from the end of the minor axis.
    const double a = std::max(rx, ry);
    const double q = std::min(rx, ry) / a;
    const double k = std::sqrt(std::max(0.0, 1 - q * q));
    const double shift = rx > ry ? std::numbers::pi / 2 : 0;
    return a * (std::ellint_2(k, t1 - shift) - std::ellint_2(k, t0 - shift));
}

namespace {

struct Span {
    double lo, hi;
};

constexpr double Turn = 2 * std::numbers::pi;

// The parameters t in [from, to] (to - from <= a turn) of the 2pi-periodic
// set given by `base` (intervals within a few turns of 0), in order.
std::vector<Span> Repeat(const std::vector<Span>& base, double from, double to) {
    std::vector<Span> out;
    for (const Span& b : base) {
        const double k0 = std::floor((from - b.hi) / Turn), k1 = std::ceil((to - b.lo) / Turn);
        for (double k = k0; k <= k1; ++k) {
            const double lo = std::max(from, b.lo + k * Turn), hi = std::min(to, b.hi + k * Turn);
            if (lo <= hi) out.push_back({lo, hi});
        }
    }
    std::sort(out.begin(), out.end(), [](const Span& a, const Span& b) { return a.lo < b.lo; });
    std::vector<Span> merged;
    for (const Span& s : out) {
        if (!merged.empty() && s.lo <= merged.back().hi) merged.back().hi = std::max(merged.back().hi, s.hi);
        else merged.push_back(s);
    }
    return merged;
}

// The parameters where c + r cos t (cosine) or c + r sin t lies in [lo, hi],
// as intervals of one turn.
std::vector<Span> WithinBand(double c, double r, double lo, double hi, bool cosine) {
    if (r == 0) {
        if (c >= lo && c <= hi) return {{-Turn, Turn}};
        return {};
    }
    const double u0 = (lo - c) / r, u1 = (hi - c) / r;
    if (u1 < -1 || u0 > 1) return {};
    if (u0 <= -1 && u1 >= 1) return {{-Turn, Turn}};
    if (cosine) {
        const double a = std::acos(std::min(u1, 1.0)), b = std::acos(std::max(u0, -1.0));
        return {{a, b}, {-b, -a}};
    }
    const double a = std::asin(std::max(u0, -1.0)), b = std::asin(std::min(u1, 1.0));
    return {{a, b}, {std::numbers::pi - b, std::numbers::pi - a}};
}

}  // namespace

std::vector<std::vector<PointF>> ShownArcParts(const RectF& box, double start, double sweep, const RectF& view,
                                               double period) {
    std::vector<std::vector<PointF>> parts;
    if (!Finite(box) || !Finite(view) || !std::isfinite(start) || !std::isfinite(sweep)) return parts;
    const ArcSpan arc = NormalizeArc(start, sweep);
    const double rx = std::abs(box.w) / 2;
    const double ry = std::abs(box.h) / 2;
    const PointF c = box.center();
    const double p0 = ParametricAngle(rx, ry, arc.start) * Deg;
    const double p1 = arc.full ? p0 + arc.sweep * Deg : ParametricAngle(rx, ry, arc.start + arc.sweep) * Deg;
    const double dir = p1 >= p0 ? 1 : -1;
    const double span = std::abs(p1 - p0);
    if (!std::isfinite(c.x) || !std::isfinite(c.y) || !(span > 0)) return parts;

    // The parameters within the view grown by a margin, so that a part's cut
    // ends lie outside the view whatever the rounding.
    constexpr double Margin = 2;
    const double x0 = std::min(view.x, view.x + view.w) - Margin, x1 = std::max(view.x, view.x + view.w) + Margin;
    const double y0 = std::min(view.y, view.y + view.h) - Margin, y1 = std::max(view.y, view.y + view.h) + Margin;
    const double tFrom = std::min(p0, p1), tTo = std::max(p0, p1);
    const std::vector<Span> xs = Repeat(WithinBand(c.x, rx, x0, x1, true), tFrom, tTo);
    const std::vector<Span> ys = Repeat(WithinBand(c.y, ry, y0, y1, false), tFrom, tTo);
    // The same in distance from the arc's start along its direction.
    std::vector<Span> shown;
    for (const Span& a : xs)
        for (const Span& b : ys) {
            const double lo = std::max(a.lo, b.lo), hi = std::min(a.hi, b.hi);
            if (lo >= hi) continue;
            shown.push_back(dir > 0 ? Span{lo - p0, hi - p0} : Span{p0 - hi, p0 - lo});
        }
    std::sort(shown.begin(), shown.end(), [](const Span& a, const Span& b) { return a.lo < b.lo; });
    for (Span& s : shown) s = {std::clamp(s.lo, 0.0, span), std::clamp(s.hi, 0.0, span)};
    // A whole ellipse seen on both sides of its start is one part across it,
    // unless a pattern starts anew there, as it does on the whole ellipse.
    if (arc.full && !(period > 0) && shown.size() >= 2 && shown.front().lo == 0 && shown.back().hi == span) {
        shown.back().hi = span + shown.front().hi;
        shown.erase(shown.begin());
    }

    const double r = std::max(rx, ry);
    double step = Turn;
    if (r > MaxChordError / 2) step = 2 * std::acos(1 - MaxChordError / r);
    auto at = [&](double s) {
        const double t = p0 + dir * s;
        return PointF{c.x + rx * std::cos(t), c.y + ry * std::sin(t)};
    };
    for (const Span& s : shown) {
        const int n = std::clamp(SaturatedTrunc<int>(std::ceil((s.hi - s.lo) / step)), 1, MaxArcSegments);
        std::vector<PointF> pts;
        pts.reserve(static_cast<std::size_t>(n) + 2);
        if (period > 0 && std::isfinite(period) && s.lo > 0) {
            // Back to where the pattern starts anew, along the tangent: the
            // part enters the view here, so that lies outside it.
            const double t = p0 + dir * s.lo;
            const double done = EllipseArcLength(rx, ry, std::min(p0, t), std::max(p0, t));
            const PointF d{-dir * rx * std::sin(t), dir * ry * std::cos(t)};
            const double len = std::hypot(d.x, d.y);
            const double back = std::fmod(done, period);
            const PointF first = at(s.lo);
            if (std::isfinite(back) && len > 0 && back > 0)
                pts.push_back({first.x - d.x / len * back, first.y - d.y / len * back});
        }
        for (int i = 0; i <= n; ++i) pts.push_back(at(i == n ? s.hi : s.lo + (s.hi - s.lo) * i / n));
        parts.push_back(std::move(pts));
    }
    return parts;
}

bool OddStrokeWidth(double width) {
    if (!std::isfinite(width)) return false;
    if (width <= 0) return true;
    const double n = std::rint(width);
    return std::fabs(width - n) < 1e-9 && std::fmod(n, 2.0) == 1.0;
}

}  // namespace pelmar
