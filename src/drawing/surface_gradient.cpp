// The shaded fill of a surface: every pixel of the covered part of each
// picture line gets the colour the ray test shades its hit point with.
#include <algorithm>
#include <cmath>

#include "drawing/surface_internal.h"
#include "platform/raster_surface.h"

namespace pelmar {

namespace {

int LinePosition(int first, int last, int current) {
    if (last == first) return 100;
    return static_cast<int>(Round((1.0 - static_cast<double>(last - current) / (last - first)) * 100));
}

// Round into the integer range (NaN gives 0).
long long RoundLL(double v) {
    if (!(v == v)) return 0;
    v = std::clamp(v, -4.0e18, 4.0e18);
    return static_cast<long long>(Round(v));
}

// The pieces of a line strictly between the limits u and v (either order),
// cut to lo..hi.
void OpenBetween(long long u, long long v, int lo, int hi, int& from, int& to) {
    if (u > v) std::swap(u, v);
    from = static_cast<int>(std::max<long long>(u + 1, lo));
    to = static_cast<int>(std::min<long long>(v - 1, hi));
}

}  // namespace

void SurfaceBoxPixels(const std::array<Vec3, 8>& corners, int s, int cx, int cy, PixelRange& columns,
                      PixelRange& rows) {
    const double r8 = static_cast<double>(Sqrt8());
    long long cMin = 5000, cMax = -5000, rMin = 5000, rMax = -5000;
    for (const Vec3& p : corners) {
        const long long col = RoundLL(cx + s * (p.y - p.x / r8));
        const long long row = RoundLL(cy - s * (p.z - p.x / r8));
        cMin = std::min(cMin, col), cMax = std::max(cMax, col);
        rMin = std::min(rMin, row), rMax = std::max(rMax, row);
    }
    auto fit = [](long long v) { return static_cast<int>(std::clamp<long long>(v, -(1LL << 30), 1LL << 30)); };
    columns = {fit(cMin - 1), fit(cMax + 1)};
    rows = {fit(rMin - 1), fit(rMax + 1)};
}

long PaintSurfaceGradient(const std::array<Vec3, 8>& corners, const GradientScanArgs& g, const SurfaceHitTest& hit,
                          const SurfaceColourTest& colour, RasterSurface& raster, const SurfaceScanControl& ctl) {
    if (g.S < 1) return 0;
    PixelRange cols, rows;
    SurfaceBoxPixels(corners, g.S, g.CX, g.CY, cols, rows);
    if (cols.First >= cols.Last || rows.First >= rows.Last) return 0;
    const int w = raster.width(), h = raster.height();
    // Only the part of the box on the picture is scanned: lines off the
    // picture colour nothing, and the ends of a line are taken at most one
    // pixel outside it.
    const PixelRange c{std::max(cols.First, -1), std::min(cols.Last, w)};
    const PixelRange r{std::max(rows.First, -1), std::min(rows.Last, h)};
    if (c.First >= c.Last || r.First >= r.Last) return 0;

    const double s = g.S, cx = g.CX, cy = g.CY;
    const bool columns = g.ScanDir == 0;
    const PixelRange lines = columns ? PixelRange{std::max(c.First, 0), std::min(c.Last, w - 1)}
                                     : PixelRange{std::max(r.First, 0), std::min(r.Last, h - 1)};
    long written = 0;
    int shown = -1;
    for (int L = lines.First; L <= lines.Last; ++L) {
        double lo = 0, hi = 0;
        int from = 0, to = -1;
        if (columns) {
            const double cc = (L - cx) / s;
            const std::uint8_t code = FindCoveredSpan(0, lo, hi, cc, (cy - r.Last) / s, (cy - r.First) / s, s, hit);
            const long long loRow = RoundLL(cy - lo * s), hiRow = RoundLL(cy - hi * s);
            switch (code) {
                case 1: OpenBetween(r.First, r.Last, 0, h - 1, from, to); break;
                case 2: OpenBetween(r.First, loRow, 0, h - 1, from, to); break;
                case 3: OpenBetween(loRow, r.Last, 0, h - 1, from, to); break;
                case 4: OpenBetween(loRow, hiRow, 0, h - 1, from, to); break;
                default: break;
            }
            for (int Y = from; Y <= to; ++Y) {
                TColor col = 0;
                if (colour(cc, (cy - Y) / s, col)) {
                    raster.setPixel(L, Y, col);
                    ++written;
                }
            }
        } else {
            const double cc = (cy - L) / s;
            const std::uint8_t code = FindCoveredSpan(1, lo, hi, cc, (c.First - cx) / s, (c.Last - cx) / s, s, hit);
            const long long loCol = RoundLL(cx + lo * s), hiCol = RoundLL(cx + hi * s);
            switch (code) {
                case 1: OpenBetween(c.First, c.Last, 0, w - 1, from, to); break;
                case 3: OpenBetween(c.First, loCol, 0, w - 1, from, to); break;
                case 2: OpenBetween(loCol, c.Last, 0, w - 1, from, to); break;
                case 4: OpenBetween(loCol, hiCol, 0, w - 1, from, to); break;
                default: break;
            }
            for (int X = from; X <= to; ++X) {
                TColor col = 0;
                if (colour((X - cx) / s, cc, col)) {
                    raster.setPixel(X, L, col);
                    ++written;
                }
            }
        }
        if (ctl.lineDone) ctl.lineDone();
        const int pos = LinePosition(lines.First, lines.Last, L);
        if (pos > shown) {
            shown = pos;
            if (ctl.progress) ctl.progress(pos);
        }
        if (ctl.running && !ctl.running()) break;
    }
    return written;
}

}  // namespace pelmar
