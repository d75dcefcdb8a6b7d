#include "platform/raster_surface.h"

#include <QColor>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/canvas_geometry.h"

namespace pelmar {

namespace {

constexpr double Deg = std::numbers::pi / 180.0;
constexpr double Half = 0.5;   // reach of the outline beyond the shape
constexpr double Eps = 1e-9;

struct Span {
    int lo;
    int hi;
};

bool Finite(double v) { return std::isfinite(v); }

// The pixels of [lo, hi] on a row `width` pixels wide, or false when none.
bool PixelRange(double lo, double hi, int width, Span& out) {
    if (!(lo <= hi)) return false;
    const double a = std::clamp(std::ceil(lo - Eps), -1.0, static_cast<double>(width));
    const double b = std::clamp(std::floor(hi + Eps), -1.0, static_cast<double>(width));
    out.lo = std::max(0, static_cast<int>(a));
    out.hi = std::min(width - 1, static_cast<int>(b));
    return out.lo <= out.hi;
}

// Rows from lo to hi (inclusive, picture coordinates) that lie on the picture.
bool RowRange(double lo, double hi, int height, Span& out) { return PixelRange(lo, hi, height, out); }

// Sorts and joins pixel spans, so that no pixel is visited twice.
void Merge(std::vector<Span>& spans) {
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.lo < b.lo; });
    std::size_t k = 0;
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].lo <= spans[k].hi + 1)
            spans[k].hi = std::max(spans[k].hi, spans[i].hi);
        else
            spans[++k] = spans[i];
    }
    if (!spans.empty()) spans.resize(k + 1);
}

// The x interval of the row y within half a pixel of the segment a-b (the
// segment's one-pixel stroke with round ends); false when the row misses it.
bool SegmentBand(PointF a, PointF b, double y, double& lo, double& hi) {
    bool any = false;
    auto take = [&](double l, double h) {
        if (!(l <= h)) return;
        lo = any ? std::min(lo, l) : l;
        hi = any ? std::max(hi, h) : h;
        any = true;
    };
    for (PointF p : {a, b}) {
        const double dy = y - p.y;
        if (std::abs(dy) <= Half) {
            const double dx = std::sqrt(Half * Half - dy * dy);
            take(p.x - dx, p.x + dx);
        }
    }
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    if (len > 0) {
        const double ux = (b.x - a.x) / len;
        const double uy = (b.y - a.y) / len;
        // Along the segment: s = ux (x - a.x) + uy (y - a.y) in [0, len];
        // across it: t = -uy (x - a.x) + ux (y - a.y) in [-Half, Half].
        double l = -1e300, h = 1e300;
        auto limit = [&](double coef, double constant, double from, double to) {
            if (std::abs(coef) < 1e-12) {
                if (constant < from || constant > to) {
                    l = 1;
                    h = 0;
                }
                return;
            }
            double x1 = (from - constant) / coef;
            double x2 = (to - constant) / coef;
            if (x1 > x2) std::swap(x1, x2);
            l = std::max(l, x1);
            h = std::min(h, x2);
        };
        limit(ux, -ux * a.x + uy * (y - a.y), 0, len);
        limit(-uy, uy * a.x + ux * (y - a.y), -Half, Half);
        take(l, h);
    }
    return any;
}

double DistanceToSegment(PointF p, PointF a, PointF b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

}  // namespace

RasterSurface::RasterSurface(QImage& image) : image_(image) {
    const QImage::Format f = image_.format();
    if (f != QImage::Format_ARGB32_Premultiplied && f != QImage::Format_ARGB32 && f != QImage::Format_RGB32)
        image_ = image_.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void RasterSurface::put(int x, int y, Rgb c) {
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = qRgb(RgbRed(c), RgbGreen(c), RgbBlue(c));
}

void RasterSurface::setPixel(int x, int y, Rgb color) {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return;
    put(x, y, color);
}

void RasterSurface::setPixels(int y, int x0, std::span<const Rgb> colours, std::span<const std::uint8_t> set) {
    if (y < 0 || y >= height()) return;
    const std::size_t n = std::min(colours.size(), set.size());
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    for (std::size_t i = 0; i < n; ++i) {
        const long long x = x0 + static_cast<long long>(i);
        if (!set[i] || x < 0 || x >= width()) continue;
        const Rgb c = colours[i];
        line[x] = qRgb(RgbRed(c), RgbGreen(c), RgbBlue(c));
    }
}

Rgb RasterSurface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return NoPixel;
    QRgb p = reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x];
    if (image_.format() == QImage::Format_ARGB32_Premultiplied) p = qUnpremultiply(p);
    return MakeRgb(qRed(p), qGreen(p), qBlue(p));
}

void RasterSurface::fill(Rgb color) { image_.fill(QColor(RgbRed(color), RgbGreen(color), RgbBlue(color))); }

void RasterSurface::fillEllipse(const RectF& box, Rgb color, const Rotation& rotation) {
    ellipseOrPie(box, false, 0, 0, [color](int, int) { return color; }, rotation);
}

void RasterSurface::fillEllipse(const RectF& box, const PixelColor& color, const Rotation& rotation) {
    ellipseOrPie(box, false, 0, 0, color, rotation);
}

void RasterSurface::fillPie(const RectF& box, double start, double sweep, Rgb color, const Rotation& rotation) {
    ellipseOrPie(box, true, start, sweep, [color](int, int) { return color; }, rotation);
}

void RasterSurface::fillPie(const RectF& box, double start, double sweep, const PixelColor& color,
                            const Rotation& rotation) {
    ellipseOrPie(box, true, start, sweep, color, rotation);
}

void RasterSurface::ellipseOrPie(const RectF& box, bool pie, double start, double sweep, const PixelColor& color,
                                 const Rotation& rotation) {
    if (!color || width() <= 0 || height() <= 0) return;
    if (!Finite(box.x) || !Finite(box.y) || !Finite(box.w) || !Finite(box.h) || !Finite(start) ||
        !Finite(sweep) || !Finite(rotation.degrees) || !Finite(rotation.centre.x) || !Finite(rotation.centre.y))
        return;
    if (pie && sweep == 0) return;
    const ArcSpan arc = NormalizeArc(start, sweep);
    const bool sector = pie && !arc.full;

    const PointF e = box.center();
    const double A = std::abs(box.w) / 2 + Half;  // grown semi-axes, never 0
    const double B = std::abs(box.h) / 2 + Half;
    const PointF rc = rotation.degrees != 0 ? rotation.centre : e;
    const double s = std::sin(rotation.degrees * Deg);
    const double c = std::cos(rotation.degrees * Deg);

    // The rows the (rotated) grown ellipse can reach.
    const double reach = std::max(A, B);
    const PointF er = RotatePoint(e, rotation.degrees, rc);
    Span rows;
    if (!RowRange(er.y - reach, er.y + reach, height(), rows)) return;

    // The pie's two radii, in the unrotated frame.
    const PointF r1 = sector ? EllipsePoint(box, arc.start) : e;
    const PointF r2 = sector ? EllipsePoint(box, arc.start + arc.sweep) : e;

    for (int y = rows.lo; y <= rows.hi; ++y) {
        // The unrotated point of pixel (x, y) is linear in u = x - rc.x:
        // X - e.x = p0 + p1 u, Y - e.y = q0 + q1 u.
        const double v = y - rc.y;
        const double p0 = rc.x - e.x + v * s;
        const double p1 = c;
        const double q0 = rc.y - e.y + v * c;
        const double q1 = -s;
        const double a2 = p1 * p1 / (A * A) + q1 * q1 / (B * B);
        const double a1 = 2 * (p0 * p1 / (A * A) + q0 * q1 / (B * B));
        const double a0 = p0 * p0 / (A * A) + q0 * q0 / (B * B) - 1;
        const double disc = a1 * a1 - 4 * a2 * a0;
        if (disc < 0 || a2 <= 0) continue;
        const double root = std::sqrt(disc);
        Span px;
        if (!PixelRange(rc.x + (-a1 - root) / (2 * a2), rc.x + (-a1 + root) / (2 * a2), width(), px)) continue;
        for (int x = px.lo; x <= px.hi; ++x) {
            if (sector) {
                const double u = x - rc.x;
                const PointF q{e.x + p0 + p1 * u, e.y + q0 + q1 * u};
                double angle = std::atan2(q.y - e.y, q.x - e.x) / Deg;
                double off = arc.sweep >= 0 ? angle - arc.start : arc.start - angle;
                off = std::fmod(off, 360.0);
                if (off < 0) off += 360.0;
                const bool inside = off <= std::abs(arc.sweep);
                if (!inside && DistanceToSegment(q, e, r1) > Half && DistanceToSegment(q, e, r2) > Half) continue;
            }
            put(x, y, color(x, y));
        }
    }
}

void RasterSurface::fillPolygon(std::span<const PointF> points, Rgb color) {
    fillPolygon(points, [color](int, int) { return color; });
}

void RasterSurface::fillPolygon(std::span<const PointF> points, const PixelColor& color) {
    if (!color || points.empty() || width() <= 0 || height() <= 0) return;
    for (const PointF& p : points)
        if (!Finite(p.x) || !Finite(p.y)) return;
    const RectF bounds = BoundsOf(points, Half);
    Span rows;
    if (!RowRange(bounds.y, bounds.y + bounds.h, height(), rows)) return;

    const std::size_t n = points.size();
    std::vector<double> crossings;
    std::vector<Span> spans;
    for (int y = rows.lo; y <= rows.hi; ++y) {
        spans.clear();
        crossings.clear();
        for (std::size_t i = 0; i < n; ++i) {
            const PointF a = points[i];
            const PointF b = points[(i + 1) % n];
            if (a.y != b.y && y >= std::min(a.y, b.y) && y < std::max(a.y, b.y))
                crossings.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
            double lo, hi;
            Span px;
            if (SegmentBand(a, b, y, lo, hi) && PixelRange(lo, hi, width(), px)) spans.push_back(px);
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            Span px;
            if (PixelRange(crossings[i], crossings[i + 1], width(), px)) spans.push_back(px);
        }
        Merge(spans);
        for (const Span& sp : spans)
            for (int x = sp.lo; x <= sp.hi; ++x) put(x, y, color(x, y));
    }
}

}  // namespace pelmar
