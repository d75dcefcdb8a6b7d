#include "model/drag_rules.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/geometry.h"
#include "model/transform.h"
#include "model/translate.h"
#include "model/update.h"

namespace pelmar {

namespace {

int RoundHalfEven(long double v) { return static_cast<int>(std::nearbyint(v)); }

double Dist2D(double ax, double ay, double bx, double by) { return std::hypot(ax - bx, ay - by); }

// The stretch factor of an axis drag: the mouse movement (mx, my) projected
// on the picture vector (vx, vy); 1 for a vector of length 0.
double StretchFactor(double vx, double vy, double mx, double my) {
    const double len = std::hypot(vx, vy);
    if (len == 0) return 1.0;
    const double t = (mx * vx + my * vy) / len;
    return (len + t) / len;
}

// The stretch of the axis from `from` to `to` by the step's movement, and the
// model vector of that axis.
double Stretch(const DPoint& from, const DPoint& to, const DragStep& s) {
    return StretchFactor(to.ScrX.v - from.ScrX.v, to.ScrY.v - from.ScrY.v, s.dx, s.dy);
}
std::array<double, 3> ModelVec(const DPoint& from, const DPoint& to) {
    return {to.X.v - from.X.v, to.Y.v - from.Y.v, to.Z.v - from.Z.v};
}

// The model vector a round solid's base or apex moves by when the axis from
// `from` to `to` is dragged by the step: the axis times its stretch.  An
// axis of length 0 (a solid let go with its height 0) is stretched along the
// normal of its base, as the mouse moves along the picture of that normal,
// so that no drag leaves the solid flat for good.
Vec3 AxisShift(const DPoint& from, const DPoint& to, const DCircle& base, const DragStep& s) {
    const auto w = ModelVec(from, to);
    const Vec3 axis{w[0], w[1], w[2]};
    if (Norm(axis) > 0) return axis * (Stretch(from, to, s) - 1);
    const Vec3 c = Pos(base.Center);
    const Vec3 n = Cross(Vec3{base.Q1[0], base.Q1[1], base.Q1[2]} - c, Vec3{base.Q2[0], base.Q2[1], base.Q2[2]} - c);
    const double nn = Norm(n);
    if (nn == 0) return {};
    const Vec3 u = n * (1 / nn);
    const double depth = u.x / std::sqrt(8.0);
    const double px = u.y - depth, py = u.z - depth, pp = px * px + py * py;
    if (pp == 0) return {};
    return u * ((s.dx * px + s.dy * py) / pp);
}

// Moves an axis end along its axis to `want`, keeping it on its side of the
// centre: past the centre it stops a pixel short of it, or where it stood at
// the press when that is nearer.
void Slide(double& v, double want, double centre, bool below) {
    const double old = v;
    v = want;
    if (below ? !(v < centre) : !(v > centre)) v = below ? std::max(old, centre - 1) : std::min(old, centre + 1);
}

template <class Poly>
void ShiftVertex(Poly& f, int n, int i, double dx, double dy) {
    PlaneShiftPoint(f.S[static_cast<std::size_t>(i)].P1, dx, dy);
    PlaneShiftPoint(f.S[static_cast<std::size_t>(i == 1 ? n : i - 1)].P2, dx, dy);
}

// The side byte of a typed figure set to the side of side 1 that vertex 3
// stands on in the picture (kept while vertex 3 lies on that line): the type
// rule then builds the figure where vertex 3 was dragged, instead of
// mirroring it back across side 1.
template <class Poly>
void Side3FollowsVertex3(Poly& f) {
    const double s = SideOfLine(f.S[3].P1, f.S[1]);
    if (s != 0) f.Side3.v = s > 0 ? 0 : 1;
}

// A polygon of n sides: handles `firstSide` on are its sides, then its
// vertices; a side moves its two vertices.
template <class Poly>
void ShiftPolygonHandle(Poly& f, int n, int handle, int firstSide, double dx, double dy) {
    const int k = handle - firstSide + 1;
    if (k >= 1 && k <= n) {
        ShiftVertex(f, n, k, dx, dy);
        ShiftVertex(f, n, k == n ? 1 : k + 1, dx, dy);
    } else if (k > n && k <= 2 * n) {
        ShiftVertex(f, n, k - n, dx, dy);
    }
}

// The normal of the plane a figure of n vertices stands in; the drawing
// plane's for a figure without one.
template <class Poly>
Vec3 FigureNormal(const Poly& f, int n) {
    const Vec3 v1 = Pos(f.S[1].P1), a = Pos(f.S[2].P1) - v1;
    for (int i = 3; i <= n; ++i) {
        const Vec3 c = Cross(a, Pos(f.S[static_cast<std::size_t>(i)].P1) - v1);
        if (Norm(c) > 1e-9) return c;
    }
    return {1, 0, 0};
}

// The square, the rectangle and the typed triangles build vertex 3 across
// side 1 towards where it stands; a drag that turns side 1 onto the line to
// vertex 3 leaves them no side to build on, and they would shrink onto
// vertex 1 (the square, the dragged vertex with it) or lie flat for that
// move.  Vertex 3 is then put across side 1, in the figure's plane (normal),
// as far from vertex 2 as it was; the side byte keeps the side.  A rectangle
// whose vertex 3 falls on vertex 2 is flat: its side 2 has no length.
template <class Poly>
void Vertex3OffSide1(Poly& f, Vec3 normal, bool flatAtVertex2) {
    const Vec3 v1 = Pos(f.S[1].P1), v2 = Pos(f.S[2].P1), v3 = Pos(f.S[3].P1);
    const Vec3 a = v2 - v1;
    if (Norm(a) == 0 || Norm(Cross(Cross(a, v3 - v1), a)) >= 1e-6) return;
    const Vec3 across = Cross(normal, a);
    const double n = Norm(across);
    double d = Norm(v3 - v2);
    if (d == 0) {
        if (flatAtVertex2) return;
        d = Norm(a);
    }
    if (n > 0) SetPos(f.S[3].P1, v2 + across * (d / n));
}

void OffsetTo(const DPoint& end, int x, int y, DragGrip& grip) {
    grip.offsetX = x - RoundHalfEven(end.ScrX.v);
    grip.offsetY = y - RoundHalfEven(end.ScrY.v);
}

// A pyramid's apex moves in the picture plane; a pyramid whose type keeps
// its height takes the apex's distance from the base.
template <class P>
void DragPyramid(P& p, int handle, int apex, int heightType, const DragStep& s, void (*shift)(P&, double, double),
                 void (*update)(P&, int)) {
    if (handle == AnyDrag::Body) {
        shift(p, s.dx, s.dy);
    } else if (handle == apex) {
        PlaneShiftPoint(p.HeightLine.P2, s.dx, s.dy);
        if (p.Typ.v == heightType)
            p.HeightLine.Length.v = DistPointPlane(p.HeightLine.P2, p.Base.S[1].P1, p.Base.S[2].P1, p.Base.S[3].P1);
    }
    update(p, 0);
}

// A right prism's base stretches its lateral edges along their picture
// direction; the lower base follows the upper one.
template <class P>
void DragPrism(P& p, int handle, int base1, int heightType, const DragStep& s, void (*shift)(P&, double, double),
               void (*update)(P&, int)) {
    if (handle == AnyDrag::Body) {
        shift(p, s.dx, s.dy);
    } else if ((handle == base1 || handle == base1 + 1) && p.Typ.v == heightType) {
        const DPoint& a = p.Base[1].S[1].P1;
        const DPoint& b = p.Base[2].S[1].P1;
        const double sign = handle == base1 ? -1.0 : 1.0;
        const double f = StretchFactor(b.ScrX.v - a.ScrX.v, b.ScrY.v - a.ScrY.v, sign * s.dx, sign * s.dy);
        p.EdgeX.v *= f;
        p.EdgeY.v *= f;
        p.EdgeZ.v *= f;
        if (handle == base1) {
            for (std::size_t i = 1; i <= p.Base[1].S.size(); ++i) {
                DPoint& v = p.Base[1].S[i].P1;
                const DPoint& top = p.Base[2].S[i].P1;
                v.X.v = top.X.v - p.EdgeX.v;
                v.Y.v = top.Y.v - p.EdgeY.v;
                v.Z.v = top.Z.v - p.EdgeZ.v;
            }
        }
    }
    update(p, 0);
}

// A coordinate system's axis moves; the centre follows it across, and where
// the centre would come nearer an end of the other axis than that end allows
// (10 pixels before end 1, 30 before end 2), the other axis is pushed along
// just so far.
void DragXOYAxis(DXOY& x, bool alongX, const DragStep& s) {
    DPoint& c = x.Center;
    PlaneShiftLine(alongX ? x.AxisX : x.AxisY, s.dx, s.dy);
    const auto centre = [&] {
        c.ScrX.v = x.AxisY.P1.ScrX.v;  // picture x and model y from Y-axis end 1
        c.Y.v = x.AxisY.P1.Y.v;
        c.ScrY.v = x.AxisX.P1.ScrY.v;  // picture y and model z from X-axis end 1
        c.Z.v = x.AxisX.P1.Z.v;
    };
    centre();
    // How far the centre stands outside [low, high]: the push that brings it in.
    const auto outside = [](double v, double low, double high) {
        return v < low ? v - low : v > high ? v - high : 0.0;
    };
    const double inX = outside(c.ScrX.v, x.AxisX.P1.ScrX.v + 10, x.AxisX.P2.ScrX.v - 30);
    const double inY = s.yUp ? outside(c.ScrY.v, x.AxisY.P1.ScrY.v + 10, x.AxisY.P2.ScrY.v - 30)
                             : outside(c.ScrY.v, x.AxisY.P2.ScrY.v + 30, x.AxisY.P1.ScrY.v - 10);
    // Only the other axis moves: across the X axis's ends by inX, along the
    // Y axis's by inY, each the way that brings the centre back in.
    if (alongX) PlaneShiftLine(x.AxisY, -inX, inY);
    else PlaneShiftLine(x.AxisX, inX, -inY);
    centre();
}

}  // namespace

void PlaceAt(DPoint& p, int x, int y) {
    p.ScrX.v = x;
    p.ScrY.v = y;
    p.X.v = 0;
    p.Y.v = x;
    p.Z.v = y;
}

// Its outline comes from the two stored semi-diameters, so those are scaled
// along their own directions (an ellipse of the drawing plane keeps one along
// y and one along z); one of length 0 takes the drawing plane's direction.
void SetSemiAxes(DCircle& c, double a, double b) {
    const std::array<double, 3> m{c.Center.X.v, c.Center.Y.v, c.Center.Z.v};
    const auto scale = [&](std::array<double, 3>& q, double len, int axis) {
        std::array<double, 3> d{q[0] - m[0], q[1] - m[1], q[2] - m[2]};
        const double old = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        if (old > 1e-9) {
            for (double& v : d) v *= len / old;
        } else {
            d = {0, 0, 0};
            d[static_cast<std::size_t>(axis)] = len;
        }
        for (std::size_t i = 0; i < 3; ++i) q[i] = m[i] + d[i];
    };
    scale(c.Q1, a, 1);
    scale(c.Q2, b, 2);
    c.A.v = a;
    c.B.v = b;
}

// ---------------------------------------------------------------------------
// Grips

void TakeHandle(const DLine& l, int handle, int x, int y, DragGrip& grip) {
    if (handle == LiDrag::End1 || handle == LiDrag::End2) OffsetTo(handle == LiDrag::End1 ? l.P1 : l.P2, x, y, grip);
}

void TakeHandle(const DCircle& c, int handle, int x, int y, DragGrip& grip) {
    if (handle == CiDrag::Radius) grip.offsetX = RoundHalfEven(Dist2D(x, y, c.Center.ScrX.v, c.Center.ScrY.v) - c.A.v);
    // A flat ellipse keeps no ratio: its drag takes both distances as they are.
    grip.axisRatio = c.B.v != 0 ? c.A.v / c.B.v : 0.0;
}

void TakeHandle(const DXOY& s, int handle, int x, int y, DragGrip& grip) {
    switch (handle) {
        case XyDrag::AxisXEnd1: OffsetTo(s.AxisX.P1, x, y, grip); break;
        case XyDrag::AxisXEnd2: OffsetTo(s.AxisX.P2, x, y, grip); break;
        case XyDrag::AxisYEnd1: OffsetTo(s.AxisY.P1, x, y, grip); break;
        case XyDrag::AxisYEnd2: OffsetTo(s.AxisY.P2, x, y, grip); break;
        default: break;
    }
}

void TakeHandle(const DSf& s, int handle, int x, int y, DragGrip& grip) {
    if (handle == SfDrag::Radius)
        grip.offsetX = RoundHalfEven(Dist2D(x, y, s.Center.ScrX.v, s.Center.ScrY.v) - s.Radius.v);
}

void TakeHandle(const DXZ& s, int handle, int x, int y, DragGrip& grip) {
    const DPoint* ends[] = {&s.AxisX.P1, &s.AxisX.P2, &s.AxisY.P1, &s.AxisY.P2, &s.AxisZ.P1, &s.AxisZ.P2};
    constexpr int first = XzDrag::AxisYEnd1 - 2;  // the X axis's ends come first, though none drags
    if (handle >= first && handle <= XzDrag::AxisZEnd2) OffsetTo(*ends[handle - first], x, y, grip);
}

// ---------------------------------------------------------------------------
// Steps

void Drag(DPoint& p, int, const DragStep& s) { PlaneShiftPoint(p, s.dx, s.dy); }

void Drag(DLine& l, int handle, const DragStep& s) {
    if (handle == AnyDrag::Body) PlaneShiftLine(l, s.dx, s.dy);
    else if (handle == LiDrag::End1 || handle == LiDrag::End2)
        PlaceAt(handle == LiDrag::End1 ? l.P1 : l.P2, static_cast<int>(s.x) - s.grip.offsetX,
                static_cast<int>(s.y) - s.grip.offsetY);
    UpdateLine(l, 0);
}

void Drag(DCircle& c, int handle, const DragStep& s) {
    const double cx = c.Center.ScrX.v, cy = c.Center.ScrY.v;
    switch (handle) {
        case AnyDrag::Body: PlaneShiftCircle(c, s.dx, s.dy); break;
        case CiDrag::Radius: {
            const double r = std::max(0.0, Dist2D(s.x, s.y, cx, cy) - s.grip.offsetX);
            SetSemiAxes(c, r, r);
            break;
        }
        case CiDrag::SemiAxisA: SetSemiAxes(c, std::abs(cx - s.x), c.B.v); break;
        case CiDrag::SemiAxisB: SetSemiAxes(c, c.A.v, std::abs(cy - s.y)); break;
        case CiDrag::Outline: {
            // The ellipse keeps its a/b through the mouse.
            const double k = s.grip.axisRatio;
            if (k > 0 && std::isfinite(k)) {
                const double b = RoundHalfEven(
                    std::sqrt(((s.x - cx) * (s.x - cx) + k * k * (s.y - cy) * (s.y - cy)) / (k * k)));
                SetSemiAxes(c, RoundHalfEven(k * b), b);
            } else {
                SetSemiAxes(c, std::abs(cx - s.x), std::abs(cy - s.y));
            }
            break;
        }
        default: break;
    }
    UpdateCircle(c, 0);
}

// A typed figure is held to its type at every move, as its commit holds it:
// the figure a drag shows is the one its dialog, a save and a reopening give.
// The parallelogram and the trapezium, whose vertex 3 is their own, stand on
// the side of side 1 that vertex 3 is dragged to, or left on by a drag of
// another vertex.  The other types derive vertex 3, and their side byte
// keeps the figure's turn: a vertex dragged through its neighbour turns the
// figure over with side 1.
void Drag(DTri& t, int handle, const DragStep& s) {
    if (handle == AnyDrag::Body) {
        PlaneShiftTriangle(t, s.dx, s.dy);
    } else {
        const Vec3 normal = FigureNormal(t, 3);
        ShiftPolygonHandle(t, 3, handle, TrDrag::Side1, s.dx, s.dy);
        if (t.Typ.v >= 1 && t.Typ.v <= 3) Vertex3OffSide1(t, normal, false);
    }
    UpdateAsStill(t);
}

void Drag(DKv& k, int handle, const DragStep& s) {
    if (handle == AnyDrag::Body) {
        PlaneShiftTetragon(k, s.dx, s.dy);
    } else {
        const Vec3 normal = FigureNormal(k, 4);
        ShiftPolygonHandle(k, 4, handle, KvDrag::Side1, s.dx, s.dy);
        if (k.Typ.v == 4 || k.Typ.v == 5) Side3FollowsVertex3(k);
        if (k.Typ.v == 1 || k.Typ.v == 2) Vertex3OffSide1(k, normal, k.Typ.v == 2);
    }
    UpdateAsStill(k);
}

void Drag(DXOY& x, int handle, const DragStep& s) {
    const DPoint& c = x.Center;
    switch (handle) {
        case AnyDrag::Body: PlaneShiftXOY(x, s.dx, s.dy); break;
        case XyDrag::AxisX:
        case XyDrag::AxisY: DragXOYAxis(x, handle == XyDrag::AxisX, s); break;
        case XyDrag::AxisXEnd1:
            if (x.AxisX.P1.Y.v < c.Y.v) Slide(x.AxisX.P1.Y.v, s.x - s.grip.offsetX, c.Y.v, true);
            break;
        case XyDrag::AxisXEnd2:
            if (x.AxisX.P2.Y.v > c.Y.v) Slide(x.AxisX.P2.Y.v, s.x - s.grip.offsetX, c.Y.v, false);
            break;
        case XyDrag::AxisYEnd1:
            if (x.AxisY.P1.Z.v < c.Z.v) Slide(x.AxisY.P1.Z.v, s.y - s.grip.offsetY, c.Z.v, true);
            break;
        case XyDrag::AxisYEnd2:
            if (x.AxisY.P2.Z.v > c.Z.v) Slide(x.AxisY.P2.Z.v, s.y - s.grip.offsetY, c.Z.v, false);
            break;
        default: break;
    }
    UpdateXOY(x, 0);
}

void Drag(DSf& o, int handle, const DragStep& s) {
    if (handle == AnyDrag::Body) PlaneShiftOrb(o, s.dx, s.dy);
    else if (handle == SfDrag::Radius)
        o.Radius.v = std::max(0.0, Dist2D(s.x, s.y, o.Center.ScrX.v, o.Center.ScrY.v) - s.grip.offsetX);
    UpdateOrb(o, 0);
}

void Drag(DZi& z, int handle, const DragStep& s) {
    if (handle == AnyDrag::Body) {
        PlaneShiftCylinder(z, s.dx, s.dy);
    } else if (handle == ZiDrag::UpperBase || handle == ZiDrag::LowerBase) {
        const Vec3 d = AxisShift(z.Base[1].Center, z.Base[2].Center, z.Base[1], s);
        TranslateCircle(z.Base[handle == ZiDrag::UpperBase ? 2 : 1], d.x, d.y, d.z);
    }
    UpdateCylinder(z, 0);
}

void Drag(DKo& k, int handle, const DragStep& s) {
    if (handle == AnyDrag::Body) {
        PlaneShiftCone(k, s.dx, s.dy);
    } else if (handle == KoDrag::Base || handle == KoDrag::Apex) {
        const Vec3 d = AxisShift(k.Base.Center, k.Axis.P2, k.Base, s);
        if (handle == KoDrag::Apex) TranslatePoint(k.Axis.P2, d.x, d.y, d.z);
        else TranslateCircle(k.Base, d.x, d.y, d.z);
    }
    UpdateCone(k, 0);
}

void Drag(DPi3& p, int handle, const DragStep& s) {
    DragPyramid<DPi3>(p, handle, PyramidDrag::Apex3, 2, s, PlaneShiftPyramid3, UpdatePyramid3);
}
void Drag(DPi4& p, int handle, const DragStep& s) {
    DragPyramid<DPi4>(p, handle, PyramidDrag::Apex4, 1, s, PlaneShiftPyramid4, UpdatePyramid4);
}
void Drag(DPr3& p, int handle, const DragStep& s) {
    DragPrism<DPr3>(p, handle, PrismDrag::Base1Of3, 1, s, PlaneShiftPrism3, UpdatePrism3);
}
void Drag(DPr4& p, int handle, const DragStep& s) {
    DragPrism<DPr4>(p, handle, PrismDrag::Base1Of4, 2, s, PlaneShiftPrism4, UpdatePrism4);
}

void Drag(DXZ& x, int handle, const DragStep& s) {
    // The axes' ends slide in the picture; y and z stand shifted by the x of
    // the centre, drawn at 45 degrees.
    const double shiftIn = RoundHalfEven(x.Center.X.v / std::sqrt(8.0));
    switch (handle) {
        case AnyDrag::Body: PlaneShiftXYZ(x, s.dx, s.dy); break;
        case XzDrag::AxisYEnd1: Slide(x.AxisY.P1.Y.v, shiftIn + s.x - s.grip.offsetX, x.Center.Y.v, true); break;
        case XzDrag::AxisYEnd2: Slide(x.AxisY.P2.Y.v, shiftIn + s.x - s.grip.offsetX, x.Center.Y.v, false); break;
        case XzDrag::AxisZEnd1: Slide(x.AxisZ.P1.Z.v, shiftIn + s.y - s.grip.offsetY, x.Center.Z.v, true); break;
        case XzDrag::AxisZEnd2: Slide(x.AxisZ.P2.Z.v, shiftIn + s.y - s.grip.offsetY, x.Center.Z.v, false); break;
        default: break;
    }
    UpdateXYZ(x, 0);
}

}  // namespace pelmar
