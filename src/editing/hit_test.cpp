// Hit tests of the plane figures, the sphere and the coordinate systems.
#include "editing/hit_test.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "model/geometry.h"

namespace pelmar {

namespace {

// A picture coordinate rounded to the pixel grid, kept within the range of an
// int so that a stray huge or NaN coordinate cannot overflow the conversion.
int Pixel(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::clamp(std::rint(v), -1.0e9, 1.0e9));
}

// Whether the offset (dx, dy) lies in the axis-parallel ellipse of semi-axes
// p and q, boundary included.  A zero semi-axis leaves a flat ellipse: the
// segment along the other axis (only the centre when both are zero).
bool WithinEllipse(Ext dx, Ext dy, Ext p, Ext q) {
    if (p == 0 && dx != 0) return false;
    if (q == 0 && dy != 0) return false;
    Ext e = 0;
    if (p != 0) e += dx * dx / (p * p);
    if (q != 0) e += dy * dy / (q * q);
    return e <= 1;
}

// Whether the offset lies on or outside that ellipse.  A zero semi-axis gives
// the answer of a semi-axis just above zero: every point off the flat
// ellipse's segment is outside it, the points of the segment by the other
// axis alone.
bool OnOrOutsideEllipse(Ext dx, Ext dy, Ext p, Ext q) {
    if (p == 0 && dx != 0) return true;
    if (q == 0 && dy != 0) return true;
    Ext e = 0;
    if (p != 0) e += dx * dx / (p * p);
    if (q != 0) e += dy * dy / (q * q);
    return e >= 1;
}

// The outline tolerance of an ellipse or sphere contour of this thickness.
int OutlineTolerance(std::int32_t thick) { return static_cast<int>(Round(thick / 2.0)) + 1; }

// The offset (dx, dy) turned into the own axes of an ellipse tilted by tilt
// degrees: solves cos θ·u + sin θ·v = dx, −sin θ·u + cos θ·v = dy with
// θ = −tilt·π/180.
std::array<double, 2> OwnAxes(double dx, double dy, double tilt, bool byElimination) {
    const double th = -tilt * std::numbers::pi / 180;
    const double c = std::cos(th), s = std::sin(th);
    std::array<double, 2> r{0, 0};
    if (byElimination)
        SolveLinear2({c, s, dx, -s, c, dy}, r);
    else
        SolveCramer2({c, s, dx, -s, c, dy}, r);
    return r;
}

// Whether (x, y) is within the tolerance of a point of this radius at
// picture position (sx, sy): the radius, but at least 4 pixels.
bool NearPoint(int x, int y, double sx, double sy, std::int32_t radius) {
    const Ext tol = radius > 4 ? radius : 4;
    const Ext dx = static_cast<Ext>(x) - sx, dy = static_cast<Ext>(y) - sy;
    return dx * dx + dy * dy <= tol * tol;
}

// Picture distance from (x, y) to the line through the segment's ends; for
// ends on one picture position, the distance to that position.
Ext DistToLine(int x, int y, const DLine& l) {
    const Ext x1 = l.P1.ScrX.v, y1 = l.P1.ScrY.v, x2 = l.P2.ScrX.v, y2 = l.P2.ScrY.v;
    const Ext len = std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
    if (len == 0) {
        const Ext dx = x - x1, dy = y - y1;
        return std::sqrt(dx * dx + dy * dy);
    }
    return std::fabs(static_cast<Ext>(SideOfLineXY(x, y, l.P1.ScrX.v, l.P1.ScrY.v, l.P2.ScrX.v, l.P2.ScrY.v))) /
           len;
}

}  // namespace

int MinOf(int count, int v1, int v2, int v3, int v4, int v5) {
    const std::array<int, 5> v{v1, v2, v3, v4, v5};
    int m = 10000;
    for (int i = 0; i < count && i < 5; ++i) m = std::min(m, v[static_cast<std::size_t>(i)]);
    return m;
}

int MaxOf(int count, int v1, int v2, int v3, int v4, int v5) {
    const std::array<int, 5> v{v1, v2, v3, v4, v5};
    int m = -10000;
    for (int i = 0; i < count && i < 5; ++i) m = std::max(m, v[static_cast<std::size_t>(i)]);
    return m;
}

bool HitPo(int x, int y, const DPoint& p) { return NearPoint(x, y, p.ScrX.v, p.ScrY.v, p.Radius.v); }

LiHit::Code HitLi(int x, int y, const DLine& l) {
    LiHit::Code r = LiHit::None;
    // 64-bit box bounds: a huge thickness cannot overflow them.
    const std::int64_t t = l.Thick.v <= 2 ? 2 : static_cast<std::int64_t>(Round(l.Thick.v / 2.0));
    const std::int64_t x1 = Pixel(l.P1.ScrX.v), y1 = Pixel(l.P1.ScrY.v);
    const std::int64_t x2 = Pixel(l.P2.ScrX.v), y2 = Pixel(l.P2.ScrY.v);
    // The box of the two ends themselves: a running minimum capped at 10000
    // would stretch the box of a segment lying wholly beyond x or y = 10000
    // over the whole of its line's extension.
    const std::int64_t xMin = std::min(x1, x2), xMax = std::max(x1, x2);
    const std::int64_t yMin = std::min(y1, y2), yMax = std::max(y1, y2);
    const bool inBox = x >= xMin - t && x <= xMax + t && y >= yMin - t && y <= yMax + t;
    if (inBox && DistToLine(x, y, l) <= t) r = LiHit::Body;
    if (HitPo(x, y, l.P1)) r = LiHit::End1;
    if (HitPo(x, y, l.P2)) r = LiHit::End2;
    return r;
}

CiHit::Code HitCi(int x, int y, const DCircle& c) {
    CiHit::Code r = CiHit::None;
    const int T = OutlineTolerance(c.Thick.v);
    const double cx = c.Center.ScrX.v, cy = c.Center.ScrY.v;
    const double a = c.A.v, b = c.B.v;
    const bool body = a != 0 && b != 0;
    const Ext dx = static_cast<Ext>(x) - cx, dy = static_cast<Ext>(y) - cy;
    if (c.Tilt.v != 0) {
        const auto uv = OwnAxes(x - cx, y - cy, c.Tilt.v, false);
        if (body && WithinEllipse(uv[0], uv[1], static_cast<Ext>(a) + T, static_cast<Ext>(b) + T)) r = CiHit::Inside;
        if (HitPo(x, y, c.Center)) r = CiHit::Centre;
        return r;
    }
    const bool inOuter = body && WithinEllipse(dx, dy, static_cast<Ext>(a) + T, static_cast<Ext>(b) + T);
    if (inOuter) r = CiHit::Inside;
    if (HitPo(x, y, c.Center)) r = CiHit::Centre;
    if (!body) return r;
    if (inOuter && OnOrOutsideEllipse(dx, dy, static_cast<Ext>(a) - T, static_cast<Ext>(b) - T))
        r = c.IsCircle.v ? CiHit::CircleOutline : CiHit::EllipseOutline;
    if (!c.IsCircle.v) {
        // The handles of the semi-axes: the centre moved by a or b, with the
        // centre's tolerance.
        const std::int32_t rad = c.Center.Radius.v;
        if (NearPoint(x, y, cx - a, cy, rad) || NearPoint(x, y, cx + a, cy, rad)) r = CiHit::HandleA;
        if (NearPoint(x, y, cx, cy - b, rad) || NearPoint(x, y, cx, cy + b, rad)) r = CiHit::HandleB;
    }
    return r;
}

PolyHit::Code HitTr(int x, int y, const DTri& t) {
    PolyHit::Code r = PolyHit::None;
    if (PtInTriRec(x, y, t)) r = PolyHit::Inside;
    for (std::uint8_t k = 1; k <= 3; ++k)
        if (HitLi(x, y, t.S[k])) r = PolyHit::Side(k);
    const std::array<const DPoint*, 3> v{&t.S[1].P1, &t.S[1].P2, &t.S[2].P2};
    for (std::uint8_t k = 1; k <= 3; ++k)
        if (HitPo(x, y, *v[k - 1])) r = PolyHit::Vertex(k);
    return r;
}

PolyHit::Code HitKv(int x, int y, const DKv& q) {
    PolyHit::Code r = PolyHit::None;
    if (PtInKvRec(x, y, q)) r = PolyHit::Inside;
    for (std::uint8_t k = 1; k <= 4; ++k)
        if (HitLi(x, y, q.S[k])) r = PolyHit::Side(k);
    for (std::uint8_t k = 1; k <= 4; ++k)
        if (HitPo(x, y, q.S[k].P1)) r = PolyHit::Vertex(k);
    return r;
}

XyHit::Code HitXY(int x, int y, const DXOY& s) {
    XyHit::Code r = XyHit::None;
    if (HitLi(x, y, s.AxisX)) r = XyHit::AxisX;
    if (HitLi(x, y, s.AxisY)) r = XyHit::AxisY;
    if (HitPo(x, y, s.Center)) r = XyHit::Centre;
    if (HitPo(x, y, s.AxisX.P1)) r = XyHit::AxisXEnd1;
    if (HitPo(x, y, s.AxisX.P2)) r = XyHit::AxisXEnd2;
    if (HitPo(x, y, s.AxisY.P1)) r = XyHit::AxisYEnd1;
    if (HitPo(x, y, s.AxisY.P2)) r = XyHit::AxisYEnd2;
    return r;
}

SfHit::Code HitSf(int x, int y, const DSf& s) {
    SfHit::Code r = SfHit::None;
    const DCircle& c = s.Contour;
    const int T = OutlineTolerance(c.Thick.v);
    if (c.A.v != 0 && c.B.v != 0) {
        const auto uv = OwnAxes(x - c.Center.ScrX.v, y - c.Center.ScrY.v, c.Tilt.v, true);
        if (WithinEllipse(uv[0], uv[1], static_cast<Ext>(c.A.v) + T, static_cast<Ext>(c.B.v) + T)) r = SfHit::Inside;
    }
    if (HitPo(x, y, c.Center)) r = SfHit::ContourCentre;
    const double R = s.Radius.v;
    if (R != 0) {
        const Ext dx = static_cast<Ext>(x) - s.Center.ScrX.v, dy = static_cast<Ext>(y) - s.Center.ScrY.v;
        const Ext out = static_cast<Ext>(R) + T, in = static_cast<Ext>(R) - T;
        if (WithinEllipse(dx, dy, out, out) && OnOrOutsideEllipse(dx, dy, in, in)) r = SfHit::RadiusRing;
    }
    return r;
}

XzHit::Code HitXZ(int x, int y, const DXZ& s) {
    XzHit::Code r = XzHit::None;
    if (HitLi(x, y, s.AxisX)) r = XzHit::AxisX;
    if (HitLi(x, y, s.AxisY)) r = XzHit::AxisY;
    if (HitLi(x, y, s.AxisZ)) r = XzHit::AxisZ;
    if (HitPo(x, y, s.Center)) r = XzHit::Centre;
    if (HitPo(x, y, s.AxisX.P1)) r = XzHit::AxisXEnd1;
    if (HitPo(x, y, s.AxisX.P2)) r = XzHit::AxisXEnd2;
    if (HitPo(x, y, s.AxisY.P1)) r = XzHit::AxisYEnd1;
    if (HitPo(x, y, s.AxisY.P2)) r = XzHit::AxisYEnd2;
    if (HitPo(x, y, s.AxisZ.P1)) r = XzHit::AxisZEnd1;
    if (HitPo(x, y, s.AxisZ.P2)) r = XzHit::AxisZEnd2;
    return r;
}

}  // namespace pelmar
