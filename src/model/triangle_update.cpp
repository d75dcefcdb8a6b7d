// Triangle update: keeps the sides joined, applies the type rule, derives the
// angles, lengths, height, special lines and circles, passes the view style on
// and sets the editability flags by the role the triangle plays.
#include <array>
#include <cmath>

#include "model/construct.h"
#include "model/geometry.h"
#include "model/update.h"

namespace pelmar {

namespace {

// Flags of a typed triangle (roles 0 and -2).
struct TypeRow {
    std::array<bool, 3> angle;
    bool side3, height;
    std::array<int, 3> sideRole;
};
constexpr std::array<TypeRow, 4> kTypeRows{{
    {{false, false, false}, true, false, {-10, -8, -2}},  // 1 equilateral
    {{true, false, true}, true, true, {-10, -10, -2}},    // 2 isosceles
    {{false, true, false}, true, false, {-10, -8, -9}},   // 3 right-angled
    {{true, true, true}, false, false, {-10, -10, -10}},  // 4 arbitrary
}};

// A type byte outside 1..4 is treated as arbitrary.
const TypeRow& TypeRowOf(std::uint8_t typ) { return kTypeRows[(typ >= 1 && typ <= 4) ? typ - 1 : 3]; }

enum class Keep : std::uint8_t { clear, set, kept };

struct RoleRow {
    int role;
    bool name, style, thick;
    Keep type, view;
    bool byType;                  // angles, third point, height and sides from the type table
    std::array<int, 3> sideRole;  // otherwise: those flags 0, sides by these roles
};
constexpr std::array<RoleRow, 6> kRoleRows{{
    {0, true, true, true, Keep::set, Keep::set, true, {0, 0, 0}},
    {-1, false, false, true, Keep::clear, Keep::kept, false, {-17, -17, -18}},
    {-4, false, false, false, Keep::clear, Keep::kept, false, {-16, -17, -18}},
    {-2, false, false, false, Keep::kept, Keep::kept, true, {0, 0, 0}},
    {-3, false, false, false, Keep::kept, Keep::kept, false, {-21, -21, -21}},
    {-5, false, false, false, Keep::clear, Keep::kept, false, {-17, -17, -17}},
}};

const RoleRow* RoleRowOf(int role) {
    for (const auto& r : kRoleRows)
        if (r.role == role) return &r;
    return nullptr;
}

void Apply(Keep k, bool& flag) {
    if (k != Keep::kept) flag = (k == Keep::set);
}

bool Linked(const DTri& t, std::size_t i) { return t.S[i].P1.Link.linked(); }

// Projects the vertices and repeats each in end 2 of the side that ends there.
void SyncVertices(DTri& t) {
    for (std::size_t i = 1; i <= 3; ++i) ProjectPoint(t.S[i].P1);
    for (std::size_t i = 1; i <= 3; ++i) {
        DPoint& end = t.S[i].P2;
        SetPos(end, Pos(t.S[i % 3 + 1].P1));
        ProjectPoint(end);
    }
}

void CopyStyle(DTri& t) {
    t.Color.v = IndexToColor(t.ColorIndex.v);
    auto style = [&](DHead& h) {
        h.Color.v = t.Color.v;
        h.ColorIndex.v = t.ColorIndex.v;
        h.Layer.v = t.Layer.v;
    };
    for (auto& s : t.S) {
        style(s);
        s.Thick.v = t.Thick.v;
    }
    for (auto& c : t.Circ) style(c);
    for (auto& l : t.Lines) style(l);
}

void SetArr(std::array<double, 3>& a, Vec3 v) { a = {v.x, v.y, v.z}; }

Vec3 Turned90(Vec3 p, Vec3 centre, Vec3 axis) {
    RotateAroundAxis(p.x, p.y, p.z, centre.x, centre.y, centre.z, 90, axis.x, axis.y, axis.z);
    return p;
}

// A circle of radius 0 at a point: where a degenerate triangle has no circle.
void CollapseCircle(DCircle& c, Vec3 at) {
    SetPos(c.Center, at);
    ProjectPoint(c.Center);
    SetArr(c.Q1, at);
    SetArr(c.Q2, at);
    c.A.v = c.B.v = 0;
    c.A3.v = c.B3.v = 0;
}

void FlatCircles(DTri& t, double depth) {
    TriCircles(t);
    for (auto& c : t.Circ) {
        c.PA = 1;
        c.PB = 0;
        c.PC = 0;
        c.PD = -depth;
        c.IsCircle.v = true;
        const Vec3 m = Pos(c.Center);
        SetArr(c.Q1, m + Vec3{0, c.A.v, 0});
        SetArr(c.Q2, m + Vec3{0, 0, c.A.v});
        // A circle of radius 0 has no picture ellipse to keep from before.
        if (c.A.v == 0) c.B.v = 0;
    }
}

void SpaceCircles(DTri& t, Vec3 p1, Vec3 p2, Vec3 p3) {
    const Vec3 n = Cross(p2 - p1, p3 - p1);
    const double d = -Dot(n, p1);
    const double ln = Norm(n);
    std::array<double, 4> plane{n.x, n.y, n.z, d};
    if (ln > 100) {
        for (auto& v : plane) v /= ln;
    }
    for (auto& c : t.Circ) {
        c.PA = plane[0];
        c.PB = plane[1];
        c.PC = plane[2];
        c.PD = plane[3];
    }

    // Circumcircle: equidistant from the three vertices, in their plane.
    {
        DCircle& c = t.Circ[1];
        const Vec3 a = p2 - p1, b = p3 - p2;
        std::array<std::array<Ext, 4>, 3> m{{
            {a.x, a.y, a.z, Dot(a, (p1 + p2) * 0.5)},
            {b.x, b.y, b.z, Dot(b, (p2 + p3) * 0.5)},
            {n.x, n.y, n.z, Dot(n, p1)},
        }};
        std::array<Ext, 3> x{};
        if (SolveLinear3(m, x)) {
            const Vec3 centre{static_cast<double>(x[0]), static_cast<double>(x[1]), static_cast<double>(x[2])};
            SetPos(c.Center, centre);
            ProjectPoint(c.Center);
            SetArr(c.Q1, p1);
            SetArr(c.Q2, Turned90(p1, centre, n));
        } else {
            // Collinear vertices have no circumcircle.
            CollapseCircle(c, p1);
        }
        c.IsCircle.v = false;
    }

    // Incircle: crossing of the bisectors from vertices 1 and 2.
    {
        DCircle& c = t.Circ[2];
        const double d12 = Norm(p2 - p1);
        const double d13 = Norm(p3 - p1);
        const double d23 = Norm(p3 - p2);
        const double k1 = d12 != 0 ? d13 / d12 : 0;
        const double k2 = d12 != 0 ? d23 / d12 : 0;
        if (d12 == 0 || d13 == 0 || d23 == 0 || !std::isfinite(k1) || !std::isfinite(k2)) {
            // Two vertices on one place: a circle of radius 0 at vertex 1.
            CollapseCircle(c, p1);
        } else {
            const Vec3 q1 = (p2 * k1 + p3) * (1.0 / (1 + k1));
            const Vec3 q2 = (p1 * k2 + p3) * (1.0 / (1 + k2));
            // Bisectors that do not cross (collinear vertices) leave it at vertex 1.
            Vec3 in = p1;
            IntersectLines3D(in.x, in.y, in.z, p1, q1 - p1, p2, q2 - p2);
            SetPos(c.Center, in);
            ProjectPoint(c.Center);
            const Vec3 side = p2 - p1;
            const double s = Dot(side, in - p1) / (d12 * d12);
            const Vec3 touch = p1 + side * s;
            SetArr(c.Q1, touch);
            SetArr(c.Q2, Turned90(touch, in, n));
            if (Norm(touch - in) == 0) c.A.v = c.B.v = 0;
        }
        c.IsCircle.v = false;
    }
}

void Circles(DTri& t) {
    t.CircOn[1].e = true;
    t.CircOn[2].e = true;
    const Vec3 p1 = Pos(t.S[1].P1), p2 = Pos(t.S[2].P1), p3 = Pos(t.S[3].P1);
    if (p1.x == p2.x && p1.x == p3.x)
        FlatCircles(t, p1.x);
    else
        SpaceCircles(t, p1, p2, p3);
}

// Distance of vertex 3 from the line of side 1: |side 3| · sin(angle 1),
// taken from the vertices themselves.  Rounding the length and the angle
// first would move the height of a typed triangle by a few thousandths at
// every update.
double HeightOverSide1(const DTri& t) {
    const Vec3 v1 = Pos(t.S[1].P1);
    const Vec3 a = Pos(t.S[2].P1) - v1, b = Pos(t.S[3].P1) - v1;
    const Ext la = Norm(a);
    if (la == 0) return 0;  // angle 1 is 180 then
    const Ext h = static_cast<Ext>(Norm(Cross(a, b))) / la;
    return static_cast<double>(RoundL(1000.0L * h) / 1000.0L);
}

void PropagateView(DTri& t) {
    const std::uint8_t view = t.View.v;
    auto lineType = [](DLine& l, std::uint8_t v, bool e) {
        l.LineType.v = v;
        l.LineType.e = e;
    };
    switch (view) {
        case 1:
        case 2:
            for (auto& s : t.S) lineType(s, view, false);
            for (auto& l : t.Lines) lineType(l, view, false);
            for (auto& c : t.Circ) {
                c.ViewType.v = view;
                c.ViewType.e = false;
                for (auto& r : c.R) lineType(r, view, false);
            }
            break;
        case 3:
            for (auto& s : t.S) lineType(s, 3, false);
            for (auto& l : t.Lines) l.LineType.e = true;
            for (auto& c : t.Circ) {
                c.ViewType.e = true;
                for (auto& r : c.R) r.LineType.e = true;
            }
            break;
        case 4:
            for (auto& s : t.S) s.LineType.e = true;
            for (auto& l : t.Lines) l.LineType.e = true;
            for (auto& c : t.Circ) {
                c.ViewType.e = true;
                for (auto& r : c.R) r.LineType.e = true;
            }
            break;
        default:
            break;
    }
}

void RoleStep(DTri& t, const RoleRow& row, int role) {
    t.ID.e = row.name;
    t.Layer.e = t.Color.e = t.ColorIndex.e = t.Disabled.e = row.style;
    t.Thick.e = row.thick;
    Apply(row.type, t.Typ.e);
    Apply(row.view, t.View.e);

    std::array<int, 3> sideRole = row.sideRole;
    if (row.byType) {
        const TypeRow& tr = TypeRowOf(t.Typ.v);
        for (std::size_t i = 1; i <= 3; ++i) t.Ang[i].e = tr.angle[i - 1];
        t.Side3.e = tr.side3;
        t.Height.e = tr.height;
        sideRole = tr.sideRole;
    } else {
        for (auto& a : t.Ang) a.e = false;
        t.Side3.e = false;
        t.Height.e = false;
    }
    for (std::size_t i = 1; i <= 3; ++i) UpdateLine(t.S[i], sideRole[i - 1]);

    if (role == 0) {
        const double x1 = t.S[1].P1.X.v;
        if (t.S[2].P1.X.v != x1 || t.S[3].P1.X.v != x1)
            for (auto& a : t.Ang) a.e = false;
        bool anyLinked = false;
        for (std::size_t i = 1; i <= 3; ++i) {
            if (!Linked(t, i)) continue;
            anyLinked = true;
            DPoint& v = t.S[i].P1;
            v.ScrX.e = v.ScrY.e = false;
            v.X.e = v.Y.e = v.Z.e = false;
        }
        if (anyLinked) {
            for (auto& s : t.S) s.Length.e = s.Angle.e = false;
            for (auto& a : t.Ang) a.e = false;
            t.Typ.e = t.Side3.e = t.Height.e = false;
        }
    }
    if (role == -3) {
        for (std::size_t i = 2; i <= 3; ++i) {
            t.S[i].Thick.v = 0;
            t.S[i].LineType.v = 3;
        }
    }

    for (std::size_t i = 1; i <= 5; ++i) {
        t.LineOn[i].e = t.LineVertex[i].e = t.LineMode[i].e = t.LineKind[i].e = true;
    }
    UpdateCircle(t.Circ[1], -1);
    UpdateCircle(t.Circ[2], -1);
    for (std::size_t i = 1; i <= 5; ++i) UpdateLine(t.Lines[i], t.LineMode[i].v == 3 ? -3 : -4);

    if (role == -4) {
        t.S[1].Thick.v = 0;
        for (std::size_t i = 1; i <= 2; ++i) {
            t.CircOn[i].v = false;
            t.CircOn[i].e = false;
        }
    }
}

}  // namespace

void UpdateTriangle(DTri& t, int role, bool applyType) {
    // A vertex built on another object fixes the shape: the type is arbitrary.
    for (std::size_t i = 1; i <= 3; ++i)
        if (Linked(t, i)) t.Typ.v = 4;

    CopyStyle(t);

    SyncVertices(t);
    if (applyType) {
        switch (t.Typ.v) {
            case 1: TriEquilateralApex(t); break;
            case 2: TriIsoscelesApex(t); break;
            case 3: TriRightApex(t); break;
            default: break;
        }
    }
    // The vertices of a triangle standing alone or as a solid's first base
    // are its own, stored to the thousandth (the sides' update below rounds
    // them): everything is derived from the stored values, so that the next
    // update, and the reading of a saved file, find the same triangle.  A
    // vertex placed by a link or moved by a transformation comes here off
    // that grid.  The other parts of a solid take their vertices from the
    // solid at every update, reading included.
    if (applyType || role == 0 || role == -2) {
        for (std::size_t i = 1; i <= 3; ++i) {
            DPoint& v = t.S[i].P1;
            SetPos(v, {Round3(v.X.v), Round3(v.Y.v), Round3(v.Z.v)});
        }
        SyncVertices(t);
    }
    if (t.Typ.v == 4) t.Side3.v = SideOfLine(t.S[3].P1, t.S[1]) >= 0 ? 0 : 1;

    for (auto& s : t.S) {
        s.Angle.v = LineScreenAngle(s);
        s.Length.v = LineLength(s);
    }
    t.Ang[1].v = AngleBetweenLines(t.S[1], t.S[3]);
    t.Ang[2].v = AngleBetweenLines(t.S[1], t.S[2]);
    t.Ang[3].v = AngleBetweenLines(t.S[2], t.S[3]);

    TriSpecialLines(t);
    Circles(t);

    t.Height.v = HeightOverSide1(t);

    PropagateView(t);

    if (const RoleRow* row = RoleRowOf(role)) RoleStep(t, *row, role);
}

}  // namespace pelmar
