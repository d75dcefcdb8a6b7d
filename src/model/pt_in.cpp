// Point-in-figure tests on picture pixels; the boundary counts as inside.
#include <algorithm>
#include <cstddef>

#include "model/geometry.h"

namespace pelmar {

namespace {

struct Pt {
    double x, y;
};

// Whether (px, py) lies on the segment from a to b (is a, when b = a).
bool OnSegment(double px, double py, Pt a, Pt b) {
    if (SideOfLineXY(px, py, a.x, a.y, b.x, b.y) != 0) return false;
    return px >= std::min(a.x, b.x) && px <= std::max(a.x, b.x) && py >= std::min(a.y, b.y) &&
           py <= std::max(a.y, b.y);
}

// Same-side test against the edges of a convex polygon given by n corners:
// for each k, the corner k must lie on the same side of edge k+1 as the test
// point lies of edge k (products >= 0).  When every corner lies on the line
// of the edge before it, the outline has no area and holds only the points
// of its edges: the products would all be 0 and pass any point.
template <std::size_t N>
bool SameSide(int x, int y, const std::array<Pt, N>& p) {
    const double px = x, py = y;
    bool flat = true;
    for (std::size_t k = 0; k < N; ++k) {
        const Pt& a = p[k];
        const Pt& b = p[(k + 1) % N];
        const Pt& c = p[(k + 2) % N];
        const double s = SideOfLineXY(a.x, a.y, b.x, b.y, c.x, c.y);
        const double t = SideOfLineXY(px, py, a.x, a.y, b.x, b.y);
        if (static_cast<Ext>(s) * t < 0) return false;
        if (s != 0) flat = false;
    }
    if (!flat) return true;
    for (std::size_t k = 0; k < N; ++k)
        if (OnSegment(px, py, p[k], p[(k + 1) % N])) return true;
    return false;
}

// The same test on a record's sides: edge k is side k (its two ends), corner k
// is vertex k.
template <std::size_t N>
bool SameSideRec(int x, int y, const Arr1<DLine, N>& sides, const std::array<const DPoint*, N>& v) {
    DPoint q;
    q.ScrX.v = x;
    q.ScrY.v = y;
    bool flat = true;
    for (std::size_t k = 1; k <= N; ++k) {
        const double s = SideOfLine(*v[k - 1], sides[k % N + 1]);
        const double t = SideOfLine(q, sides[k]);
        if (static_cast<Ext>(s) * t < 0) return false;
        if (s != 0) flat = false;
    }
    if (!flat) return true;
    for (std::size_t k = 1; k <= N; ++k) {
        const DLine& e = sides[k];
        if (OnSegment(x, y, {e.P1.ScrX.v, e.P1.ScrY.v}, {e.P2.ScrX.v, e.P2.ScrY.v})) return true;
    }
    return false;
}

}  // namespace

bool PtInEllipse(int x, int y, double cx, double cy, double a, double b, double cosT, double sinT) {
    if (IsZero(a) || IsZero(b)) return false;
    const Ext dx = static_cast<Ext>(x) - cx, dy = static_cast<Ext>(y) - cy;
    const Ext u = dx * cosT - dy * sinT;
    const Ext v = dx * sinT + dy * cosT;
    return u * u / (static_cast<Ext>(a) * a) + v * v / (static_cast<Ext>(b) * b) <= 1;
}

bool PtInTriangle(int x, int y, double x1, double y1, double x2, double y2, double x3, double y3) {
    return SameSide<3>(x, y, {{{x1, y1}, {x2, y2}, {x3, y3}}});
}

bool PtInQuad(int x, int y, double x1, double y1, double x2, double y2, double x3, double y3, double x4,
              double y4) {
    return SameSide<4>(x, y, {{{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}}});
}

bool PtInTriRec(int x, int y, const DTri& t) {
    // Vertex 1 and 2 are the ends of side 1, vertex 3 the far end of side 2.
    return SameSideRec<3>(x, y, t.S, {&t.S[1].P1, &t.S[1].P2, &t.S[2].P2});
}

bool PtInKvRec(int x, int y, const DKv& k) {
    return SameSideRec<4>(x, y, k.S, {&k.S[1].P1, &k.S[2].P1, &k.S[3].P1, &k.S[4].P1});
}

}  // namespace pelmar
