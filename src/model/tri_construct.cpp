// Triangle constructions: the interior angle of two consecutive sides, the
// apex rules of the typed triangles, the circumcircle and incircle in the
// picture, and the bisectors, heights and medians.
#include <array>
#include <cmath>
#include <numbers>

#include "model/construct.h"
#include "model/geometry.h"

namespace pelmar {

namespace {

constexpr Ext kPi = std::numbers::pi_v<Ext>;

Vec3 Vertex(const DTri& t, int i) { return Pos(t.S[static_cast<std::size_t>(i)].P1); }

Vec3 Mid(Vec3 a, Vec3 b) { return (a + b) * 0.5; }

// In-plane unit direction perpendicular to side 1, towards vertex 3 (a zero
// vector when side 1 has no length or vertex 3 lies on its line).
Vec3 PerpendicularToSide1(const DTri& t) {
    const Vec3 a = Vertex(t, 2) - Vertex(t, 1);
    const Vec3 b = Vertex(t, 3) - Vertex(t, 1);
    const Vec3 m = Cross(Cross(a, b), a);
    double n = Norm(m);
    if (n == 0) n = 1;
    return m * (1.0 / n);
}

// Puts vertex 3 at base + h·m, or at base − h·m when vertex 3 (as it is
// seen in the picture before the move) lies on the other side of side 1
// than the side byte asks for.
void PlaceApex(DTri& t, Vec3 base, double h) {
    const Vec3 m = PerpendicularToSide1(t);
    const double s = SideOfLine(t.S[3].P1, t.S[1]);
    const bool mirror = (t.Side3.v == 0 && s < 0) || (t.Side3.v == 1 && s > 0);
    SetPos(t.S[3].P1, mirror ? base - m * h : base + m * h);
}

double Dist(Vec3 a, Vec3 b) { return Norm(b - a); }

// Picture position of a point record.
struct P2 {
    double x = 0, y = 0;
};
P2 Scr(const DPoint& p) { return {p.ScrX.v, p.ScrY.v}; }
double Dist2(P2 a, P2 b) { return std::hypot(b.x - a.x, b.y - a.y); }

// Crossing of the lines p1 + t·(q1 − p1) and p2 + s·(q2 − p2) in the picture;
// false when they are parallel or one of them has no direction.
bool CrossLines2(P2 p1, P2 q1, P2 p2, P2 q2, std::array<double, 2>& r) {
    const double dx1 = q1.x - p1.x, dy1 = q1.y - p1.y;
    const double dx2 = q2.x - p2.x, dy2 = q2.y - p2.y;
    const std::array<double, 6> s{dy1, -dx1, dy1 * p1.x - dx1 * p1.y, dy2, -dx2, dy2 * p2.x - dx2 * p2.y};
    return SolveLinear2(s, r);
}

// Places a circle centre at a picture position: depth of vertex 1, and Y, Z
// such that the centre projects onto the given (rounded) position.
void PlaceCentre(DPoint& c, double sx, double sy, double depth) {
    c.ScrX.v = Round(sx);
    c.ScrY.v = Round(sy);
    const Ext shift = static_cast<Ext>(depth) / Sqrt8();
    c.X.v = depth;
    c.Y.v = static_cast<double>(c.ScrX.v + shift);
    c.Z.v = static_cast<double>(c.ScrY.v + shift);
}

// Foot of the special line of the given kind from a on the side bc, and the
// foot of the line of the same kind from b on the side ac.  False when a
// length they divide by is 0.
bool SpecialFoot(int kind, Vec3 a, Vec3 b, Vec3 c, Vec3& f) {
    const double ab = Dist(a, b);
    switch (kind) {
        case 1: {  // bisector
            if (ab == 0) return false;
            const double k = Dist(a, c) / ab;
            if (!std::isfinite(k)) return false;
            f = (b * k + c) * (1.0 / (1.0 + k));
            return true;
        }
        case 2: {  // height
            const double cb = Dist(c, b);
            if (ab * cb == 0) return false;
            const double cosB = Dot(c - b, a - b) / (ab * cb);
            PointAtDistance(f.x, f.y, f.z, b, c, ab * cosB);
            return true;
        }
        case 3:  // median
            f = Mid(b, c);
            return true;
        default:
            return false;
    }
}

bool SpecialFootFromB(int kind, Vec3 a, Vec3 b, Vec3 c, Vec3& f) {
    const double ab = Dist(a, b);
    switch (kind) {
        case 1: {
            if (ab == 0) return false;
            const double k = Dist(b, c) / ab;
            if (!std::isfinite(k)) return false;
            f = (a * k + c) * (1.0 / (1.0 + k));
            return true;
        }
        case 2: {
            const double ac = Dist(a, c);
            if (ab * ac == 0) return false;
            const double cosA = Dot(c - a, b - a) / (ab * ac);
            PointAtDistance(f.x, f.y, f.z, a, c, ab * cosA);
            return true;
        }
        case 3:
            f = Mid(a, c);
            return true;
        default:
            return false;
    }
}

}  // namespace

double AngleBetweenLines(const DLine& l1, const DLine& l2) {
    const Vec3 d1 = Pos(l1.P2) - Pos(l1.P1);
    const Vec3 d2 = Pos(l2.P2) - Pos(l2.P1);
    const Ext n = static_cast<Ext>(Norm(d1)) * Norm(d2);
    Ext between = 0;
    if (n != 0) {
        const Ext cosv = static_cast<Ext>(Dot(d1, d2)) / n;
        between = static_cast<Ext>(SafeArcCos(static_cast<double>(cosv))) * 180.0L / kPi;
    }
    return static_cast<double>(RoundL(1000.0L * (180.0L - between)) / 1000.0L);
}

void TriEquilateralApex(DTri& t) {
    const Vec3 v1 = Vertex(t, 1), v2 = Vertex(t, 2);
    PlaceApex(t, Mid(v1, v2), Dist(v1, v2) * std::sqrt(3.0) / 2.0);
}

void TriIsoscelesApex(DTri& t) { PlaceApex(t, Mid(Vertex(t, 1), Vertex(t, 2)), t.Height.v); }

void TriRightApex(DTri& t) { PlaceApex(t, Vertex(t, 1), t.Height.v); }

void TriCircles(DTri& t) {
    const P2 p1 = Scr(t.S[1].P1), p2 = Scr(t.S[2].P1), p3 = Scr(t.S[3].P1);
    const double depth = t.S[1].P1.X.v;

    // Circumcircle: crossing of the perpendicular bisectors of sides 1 and 2.
    // Collinear vertices have none: the circle shrinks to vertex 1.
    {
        std::array<double, 2> r{p1.x, p1.y};
        const double ax = p2.x - p1.x, ay = p2.y - p1.y;
        const double bx = p3.x - p2.x, by = p3.y - p2.y;
        const std::array<double, 6> s{ax, ay, ax * (p1.x + p2.x) / 2 + ay * (p1.y + p2.y) / 2,
                                      bx, by, bx * (p2.x + p3.x) / 2 + by * (p2.y + p3.y) / 2};
        SolveLinear2(s, r);
        DCircle& c = t.Circ[1];
        PlaceCentre(c.Center, r[0], r[1], depth);
        c.A.v = Dist2(p1, {r[0], r[1]});
    }

    // Incircle: crossing of the bisectors from vertices 1 and 2.  When two
    // vertices coincide, or the bisectors do not cross, it is a circle of
    // radius 0 at vertex 1.
    {
        std::array<double, 2> r{p1.x, p1.y};
        const double d12 = Dist2(p1, p2);
        bool ok = d12 != 0 && Dist2(p1, p3) != 0 && Dist2(p2, p3) != 0;
        if (ok) {
            const double k1 = Dist2(p1, p3) / d12;
            const double k2 = Dist2(p2, p3) / d12;
            const P2 q1{(k1 * p2.x + p3.x) / (1 + k1), (k1 * p2.y + p3.y) / (1 + k1)};
            const P2 q2{(k2 * p1.x + p3.x) / (1 + k2), (k2 * p1.y + p3.y) / (1 + k2)};
            ok = CrossLines2(p1, q1, p2, q2, r);
        }
        DCircle& c = t.Circ[2];
        if (!ok) {
            r = {p1.x, p1.y};
            PlaceCentre(c.Center, r[0], r[1], depth);
            c.A.v = 0;
        } else {
            PlaceCentre(c.Center, r[0], r[1], depth);
            // Distance from the centre to the line of side 1.
            const double v = std::fabs(SideOfLineXY(r[0], r[1], p1.x, p1.y, p2.x, p2.y));
            c.A.v = Round(v / d12);
        }
    }
}

void TriSpecialLines(DTri& t) {
    for (std::size_t i = 1; i <= 5; ++i) {
        const int v = t.LineVertex[i].v;
        const int kind = t.LineKind[i].v;
        const int mode = t.LineMode[i].v;
        if (v < 1 || v > 3 || kind < 1 || kind > 3 || mode < 1 || mode > 3) continue;
        const Vec3 a = Vertex(t, v);
        const Vec3 b = Vertex(t, v % 3 + 1);
        const Vec3 c = Vertex(t, (v + 1) % 3 + 1);

        // A line whose foot is not defined (a side without length) stays
        // at its vertex with length 0.
        Vec3 end = a;
        Vec3 f;
        if (SpecialFoot(kind, a, b, c, f)) {
            if (mode == 1) {
                end = f;
            } else if (mode == 2) {
                Vec3 f2;
                if (SpecialFootFromB(kind, a, b, c, f2)) {
                    end = f;
                    IntersectLines3D(end.x, end.y, end.z, a, f - a, b, f2 - b);
                }
            } else {
                PointAtDistance(end.x, end.y, end.z, a, f, t.Lines[i].Length.v);
            }
        }
        DLine& l = t.Lines[i];
        SetPos(l.P1, a);
        SetPos(l.P2, end);
        ProjectPoint(l.P1);
        ProjectPoint(l.P2);
    }
}

}  // namespace pelmar
