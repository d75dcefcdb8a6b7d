// The outline of a surface: the picture is scanned line by line, the part of
// each line that the surface covers is found with the ray test, and the ends
// of the covered parts are joined into polylines.
#include <algorithm>
#include <cmath>

#include "drawing/surface_internal.h"

namespace pelmar {

namespace {

// Halvings of the bisection: far more than a span of any picture needs to
// reach 0.001, and an end for spans that cannot get that small (huge or
// not finite ends).
constexpr int kMaxHalvings = 80;
// Pixels of one march along a line, whatever the line's length.
constexpr long kMaxMarch = 1L << 22;
// Pixels of a march between two looks at the event pump and the stop.
constexpr long kPumpEvery = 32;

bool TestAt(std::uint8_t direction, double c, double v, const SurfaceHitTest& hit) {
    return direction == 0 ? hit(c, v) : hit(v, c);
}

// The scanned lines from..to (inclusive) that lie on the lattice first + k·step.
struct Lines {
    int first = 0, last = -1;
    bool empty() const { return first > last; }
};

Lines LatticeLines(long long start, long long end, int step, int clipLo, int clipHi) {
    Lines l;
    const long long lo = std::max<long long>(start, clipLo), hi = std::min<long long>(end, clipHi);
    if (lo > hi) return l;
    const long long k0 = (lo - start + step - 1) / step;
    const long long k1 = (hi - start) / step;
    if (k0 > k1) return l;
    l.first = static_cast<int>(start + k0 * step);
    l.last = static_cast<int>(start + k1 * step);
    return l;
}

// Progress position of line `current` in first..last, 0..100.
int LinePosition(int first, int last, int current) {
    if (last == first) return 100;
    return static_cast<int>(Round((1.0 - static_cast<double>(last - current) / (last - first)) * 100));
}

}  // namespace

double BisectSurfaceEdge(std::uint8_t direction, double c, double a, double b, const SurfaceHitTest& hit) {
    bool atA = TestAt(direction, c, a, hit);
    for (int i = 0; i < kMaxHalvings && !(std::fabs(b - a) < 0.001); ++i) {
        const double m = (a + b) / 2;
        const bool atM = TestAt(direction, c, m, hit);
        if (atM != atA) {
            b = m;
        } else {
            a = m;
            atA = atM;
        }
    }
    return (a + b) / 2;
}

std::uint8_t FindCoveredSpan(std::uint8_t direction, double& lo, double& hi, double c, double a, double b,
                             double s, const SurfaceHitTest& hit, const SurfaceScanControl* ctl) {
    const bool atA = TestAt(direction, c, a, hit);
    const bool atB = TestAt(direction, c, b, hit);
    if (atA && atB) {
        lo = a, hi = b;
        return 1;
    }
    if (atB) {
        lo = hi = BisectSurfaceEdge(direction, c, a, b, hit);
        return 2;
    }
    if (atA) {
        lo = hi = BisectSurfaceEdge(direction, c, a, b, hit);
        return 3;
    }
    // March one pixel at a time; no march without a positive scale.
    if (s > 0 && std::isfinite(s)) {
        const double h = 1 / s;
        for (long k = 1; k <= kMaxMarch; ++k) {
            const double m = a + static_cast<double>(k) * h;
            if (!(m < b)) break;
            if (ctl && k % kPumpEvery == 0) {
                if (ctl->pump) ctl->pump();
                if (ctl->running && !ctl->running()) break;
            }
            if (TestAt(direction, c, m, hit)) {
                lo = BisectSurfaceEdge(direction, c, m - 1, m, hit);
                hi = BisectSurfaceEdge(direction, c, m, b, hit);
                return 4;
            }
        }
    }
    lo = a, hi = b;
    return 0;
}

void OutlinePolylines::add(int which, double x, double y) {
    if (which == 1)
        A.push_back({x, y, 0});
    else if (which == 2)
        B.push_back({x, y, 0});
}

void OutlinePolylines::closeA() {
    Lines.push_back(std::move(A));
    A.clear();
}

void OutlinePolylines::closeB() {
    Lines.push_back(std::move(B));
    B.clear();
}

bool ScanSurfaceOutline(const OutlineScanArgs& g, const SurfaceHitTest& hit, const SurfaceScanControl& ctl,
                        OutlinePolylines& out) {
    if (!(g.X2 > g.X1 && g.Y2 > g.Y1) || g.S < 1) return false;
    const int step2 = std::max(1, g.Step2);
    const double s = g.S;
    const double cx = g.CX, cy = g.CY;
    // The window, with the lines outside the picture (but for a margin of one
    // pixel, and of one scan step along the scan) left out.
    const long long topRow = static_cast<long long>(g.Height) - g.Y2;
    const long long bottomRow = static_cast<long long>(g.Height) - g.Y1;
    const int rowLo = static_cast<int>(std::max<long long>(topRow, -1));
    const int rowHi = static_cast<int>(std::min<long long>(bottomRow, g.Height));
    const int colLo = std::max(g.X1, -1);
    const int colHi = std::min(g.X2, g.Width);

    const bool columns = g.ScanDir == 0;
    Lines lines;
    if (columns) {
        if (rowLo <= rowHi) lines = LatticeLines(g.X1, g.X2, step2, -step2, g.Width - 1 + step2);
    } else {
        const int step = g.GradientOn ? 1 : step2;
        // Rows are counted from the window's top row.
        if (colLo <= colHi) lines = LatticeLines(topRow, bottomRow, step, -step, g.Height - 1 + step);
    }
    const int lineStep = columns ? step2 : (g.GradientOn ? 1 : step2);

    int prevCode = 1;
    double prevLoX = 0, prevLoY = 0;
    int shown = -1;
    for (long long line = lines.first; line <= lines.last; line += lineStep) {
        const int L = static_cast<int>(line);
        double lo = 0, hi = 0;
        std::uint8_t code;
        double loX, loY, hiX, hiY;
        if (columns) {
            const double c = (L - cx) / s;
            code = FindCoveredSpan(0, lo, hi, c, (cy - rowHi) / s, (cy - rowLo) / s, s, hit, &ctl);
            loX = hiX = L;
            loY = cy - lo * s;
            hiY = cy - hi * s;
        } else {
            const double c = (cy - L) / s;
            code = FindCoveredSpan(1, lo, hi, c, (colLo - cx) / s, (colHi - cx) / s, s, hit, &ctl);
            loY = hiY = L;
            loX = cx + lo * s;
            hiX = cx + hi * s;
        }
        const int cur = code == 0 ? 1 : code;
        const bool edge = L == lines.first || L == lines.last;
        // The previous line's lo, placed on the line one scan step back.
        const double pX = columns ? L - step2 : prevLoX;
        const double pY = columns ? prevLoY : L - step2;
        auto A = [&](double x, double y) { out.add(1, x, y); };
        auto B = [&](double x, double y) { out.add(2, x, y); };
        switch (prevCode * 10 + cur) {
            case 11:
                break;
            case 12:
            case 13:
            case 22:
            case 33:
                A(loX, loY);
                break;
            case 14:
                A(loX, loY);
                if (!edge) B(loX, loY);
                B(hiX, hiY);
                break;
            case 21:
            case 31:
                out.closeA();
                break;
            case 23:
            case 32:
                out.closeA();
                A(loX, loY);
                break;
            case 24:
            case 34:
                out.closeA();
                A(loX, loY);
                B(hiX, hiY);
                break;
            case 41:
                if (!edge) B(pX, pY);
                out.closeA();
                out.closeB();
                break;
            case 42:
                out.closeA();
                out.closeB();
                A(pX, pY);
                A(loX, loY);
                break;
            case 43:
                out.closeA();
                out.closeB();
                A(loX, loY);
                break;
            case 44:
                A(loX, loY);
                B(hiX, hiY);
                break;
            default:
                break;
        }
        prevCode = cur;
        prevLoX = loX;
        prevLoY = loY;

        if (ctl.lineDone) ctl.lineDone();
        const int pos = LinePosition(lines.first, lines.last, L);
        if (pos > shown) {
            shown = pos;
            if (ctl.progress) ctl.progress(pos);
        }
        if (ctl.running && !ctl.running()) return false;
    }
    out.closeA();
    out.closeB();
    return true;
}

}  // namespace pelmar
