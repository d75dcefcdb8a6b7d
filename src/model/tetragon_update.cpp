// Tetragon update: keeps the four sides joined, applies the type rule,
// derives angles, lengths, diagonals, centre, circles and height, passes the
// view on to the parts and sets every editability flag by role.

#include <array>
#include <cmath>

#include "model/construct.h"
#include "model/geometry.h"
#include "model/update.h"

namespace pelmar {


namespace {

// Flags that depend on the type alone, and the roles its sides get when the
// tetragon stands alone or is a pyramid's or prism's base.
struct KvTypeRow {
    std::array<bool, 4> angle;
    bool side3;
    bool height;
    std::array<int, 4> sideRole;
};

constexpr std::array<KvTypeRow, 7> kTypeRows{{
    {{false, false, false, false}, true, false, {-10, -8, -2, -2}},     // 1 square
    {{false, false, false, false}, true, false, {-10, -10, -2, -2}},    // 2 rectangle
    {{true, false, false, false}, true, false, {-10, -8, -2, -2}},      // 3 rhombus
    {{true, false, false, false}, true, true, {-10, -10, -8, -2}},      // 4 parallelogram
    {{true, true, false, false}, true, true, {-10, -10, -10, -2}},      // 5 trapezium
    {{false, false, false, false}, false, false, {-10, -10, -10, -10}}, // 6 plane quadrilateral
    {{false, false, false, false}, false, false, {-10, -10, -10, -10}}, // 7 arbitrary
}};

// Side roles for a type byte outside 1..7: every side free, as for type 7.
constexpr std::array<int, 4> kFreeSides{-10, -10, -10, -10};

const KvTypeRow* TypeRow(std::uint8_t typ) {
    return (typ >= 1 && typ <= 7) ? &kTypeRows[typ - 1] : nullptr;
}

constexpr int kKept = -1;
constexpr int kByType = 0;

struct KvRoleRow {
    int role;
    bool name;
    bool style;       // layer, colour, colour index, disabled
    bool thick;
    int typeFlag;     // 0/1, or kKept
    int side3Flag;    // 0, or kKept (the type table's value)
    bool heightOff;   // height flag 0
    int sideRole;     // a side role for all four, or kByType
    bool centreType;  // type flag of the centre point
    bool onFlags;     // flags of the diagonal and centre on bytes
    bool anglesOff;   // the four angle flags 0
};

constexpr std::array<KvRoleRow, 6> kRoleRows{{
    {0, true, true, true, 1, kKept, false, kByType, true, true, false},      // stand-alone
    {-1, false, false, true, 0, 0, false, -14, true, true, true},            // section of a cylinder
    {-11, false, false, false, 0, 0, false, -14, false, false, true},        // contour of a cylinder
    {-2, false, false, false, kKept, kKept, false, kByType, true, true, false},  // first base
    {-3, false, false, false, 0, 0, true, -21, true, true, true},            // side face of a prism
    {-4, false, false, false, 0, 0, true, -14, true, true, true},            // second base of a prism
}};

const KvRoleRow* RoleRow(int role) {
    for (const auto& r : kRoleRows)
        if (r.role == role) return &r;
    return nullptr;
}

DPoint& V(DKv& k, int i) { return k.S[static_cast<std::size_t>(i)].P1; }
const DPoint& V(const DKv& k, int i) { return k.S[static_cast<std::size_t>(i)].P1; }

bool AllSameX(const DKv& k) {
    const double x = V(k, 1).X.v;
    return V(k, 2).X.v == x && V(k, 3).X.v == x && V(k, 4).X.v == x;
}

bool AnyVertexLinked(const DKv& k) {
    for (int i = 1; i <= 4; ++i)
        if (V(k, i).Link.linked()) return true;
    return false;
}

void CopyCoords(DPoint& to, const DPoint& from) {
    to.X.v = from.X.v;
    to.Y.v = from.Y.v;
    to.Z.v = from.Z.v;
}

void CopyPosition(DPoint& to, const DPoint& from) {
    CopyCoords(to, from);
    to.ScrX.v = from.ScrX.v;
    to.ScrY.v = from.ScrY.v;
}

void SetCoordFlags(DPoint& p, bool on) {
    p.ScrX.e = on;
    p.ScrY.e = on;
    p.X.e = on;
    p.Y.e = on;
    p.Z.e = on;
}

void SetStyleFlags(DHead& h, bool on) {
    h.Layer.e = on;
    h.Color.e = on;
    h.ColorIndex.e = on;
    h.Disabled.e = on;
}

template <class T>
void TakeStyle(T& part, const DKv& k) {
    part.Color.v = k.Color.v;
    part.ColorIndex.v = k.ColorIndex.v;
    part.Layer.v = k.Layer.v;
}

// Projects the vertices and copies each into the end 2 of the side that ends there.
void SyncVertices(DKv& k) {
    for (int i = 1; i <= 4; ++i) ProjectPoint(V(k, i));
    for (int i = 1; i <= 4; ++i) {
        DPoint& end2 = k.S[static_cast<std::size_t>(i)].P2;
        CopyCoords(end2, V(k, i % 4 + 1));
        ProjectPoint(end2);
    }
}

// How far from the plane of vertices 1..3 vertex 4 may lie and still count
// as lying in it: the vertices are stored to the thousandth.
constexpr double kInPlane = 0.01;

// Whether vertex 4 already lies in the plane and is seen at its stored
// picture position: then it is the point the rule would look for, only
// without the rounding of that position to whole pixels.
bool Vertex4InPlace(const DKv& k, double a, double b, double c, double d) {
    const DPoint& p = V(k, 4);
    const double n = Norm({a, b, c});
    if (n == 0 || std::fabs(PlaneValue(Pos(p), a, b, c, d)) > kInPlane * n) return false;
    DPoint seen = p;
    ProjectPoint(seen);
    return seen.ScrX.v == p.ScrX.v && seen.ScrY.v == p.ScrY.v;
}

// Type 6 keeps vertex 4 in the plane of vertices 1..3 at its stored picture
// position.  When that plane contains the viewing direction no point of it is
// seen there, and vertex 4 keeps its place.  A vertex 4 that is already there
// stays put: a whole-pixel picture position seen on a steep plane stands for
// a point far in depth, so moving it there would drift the figure at every
// move or update of it and of the solids built on it.
void PutVertex4IntoPlane(DKv& k) {
    double a = 0, b = 0, c = 0, d = 0;
    PlaneBy3Points(Pos(V(k, 1)), Pos(V(k, 2)), Pos(V(k, 3)), a, b, c, d);
    const Ext s8 = Sqrt8();
    const Ext den = a + b / s8 + c / s8;
    if (std::fabs(den) < 1e-9L) return;
    if (Vertex4InPlace(k, a, b, c, d)) return;
    DPoint& p = V(k, 4);
    const Ext sx = p.ScrX.v, sy = p.ScrY.v;
    const Ext x = (-b * sx - c * sy - d) / den;
    // Stored to the thousandth at once, so that what is derived from it now
    // is what the next update derives from the stored vertex.
    p.X.v = Round3(static_cast<double>(x));
    p.Y.v = Round3(static_cast<double>(sx + x / s8));
    p.Z.v = Round3(static_cast<double>(sy + x / s8));
}

void ApplyTypeRule(DKv& k) {
    switch (k.Typ.v) {
        case 1: KvMakeSquare(k); break;
        case 2: KvMakeRectangle(k); break;
        case 3: KvMakeRhombus(k); break;
        case 4: KvMakeParallelogram(k); break;
        case 5: KvMakeTrapezium(k); break;
        default: break;
    }
}

// The vertices stored to the thousandth, the side ends following them.
void RoundVertices(DKv& k) {
    for (int i = 1; i <= 4; ++i) {
        DPoint& v = V(k, i);
        SetPos(v, {Round3(v.X.v), Round3(v.Y.v), Round3(v.Z.v)});
    }
    SyncVertices(k);
}

std::array<double, 12> Vertices(const DKv& k) {
    std::array<double, 12> v{};
    for (std::size_t i = 0; i < 4; ++i) {
        const DPoint& p = V(k, static_cast<int>(i) + 1);
        v[3 * i] = p.X.v, v[3 * i + 1] = p.Y.v, v[3 * i + 2] = p.Z.v;
    }
    return v;
}

// How often the type rule is tried again on its own rounded result.
constexpr int kRulePasses = 8;

// The type rule on vertices stored to the thousandth.  The rule works from
// the stored vertices, and the vertices it derives are stored rounded; read
// back from a file they are derived again from the rounded values, which may
// land a thousandth away (a right angle is not exact on the grid).  So the
// rule runs again on its own rounded result until that result stays as it
// is: then the figure kept is the one that an update of it, and the reading
// of a saved file, give back.  Vertices already standing so are kept after
// one pass, as before.
void ApplyTypeRuleRounded(DKv& k) {
    RoundVertices(k);
    for (int pass = 0; pass < kRulePasses; ++pass) {
        const std::array<double, 12> before = Vertices(k);
        ApplyTypeRule(k);
        RoundVertices(k);
        if (Vertices(k) == before) break;
    }
}

// The crossing of the diagonals in the picture, lifted into the tetragon's
// plane.  Diagonals that are parallel in the picture have no crossing: the
// centre is then the midpoint of the two diagonals' midpoints.
void PlaceCentre(DKv& k) {
    const DPoint &a1 = k.Diag[1].P1, &a2 = k.Diag[1].P2;
    const DPoint &b1 = k.Diag[2].P1, &b2 = k.Diag[2].P2;
    const double d1x = a2.ScrX.v - a1.ScrX.v, d1y = a2.ScrY.v - a1.ScrY.v;
    const double d2x = b2.ScrX.v - b1.ScrX.v, d2y = b2.ScrY.v - b1.ScrY.v;
    double sx = 0, sy = 0;
    if (IntersectLines2D(sx, sy, a1.ScrX.v, a1.ScrY.v, d1x, d1y, b1.ScrX.v, b1.ScrY.v, d2x, d2y)) {
        double x = 0, y = 0, z = 0;
        UnprojectToPlane(x, y, z, Pos(V(k, 1)), Pos(a2) - Pos(a1), Pos(V(k, 2)), sx, sy);
        SetPos(k.Center, {x, y, z});
    } else {
        SetPos(k.Center, (Pos(a1) + Pos(a2) + Pos(b1) + Pos(b2)) * 0.25);
    }
    ProjectPoint(k.Center);
}

// Centre of a flat circle at a picture position, in the depth of vertex 1.
void PlaceFlatCircle(DCircle& c, double sx, double sy, double a, double depth) {
    const Ext s8 = Sqrt8();
    c.Center.ScrX.v = sx;
    c.Center.ScrY.v = sy;
    c.Center.X.v = depth;
    c.Center.Y.v = static_cast<double>(sx + depth / s8);
    c.Center.Z.v = static_cast<double>(sy + depth / s8);
    c.A.v = a;
    c.IsCircle.v = true;
    const Vec3 m = Pos(c.Center);
    c.Q1 = {m.x, m.y + a, m.z};
    c.Q2 = {m.x, m.y, m.z + a};
}

Vec3 Turned90(Vec3 p, Vec3 centre, Vec3 n) {
    RotateAroundAxis(p.x, p.y, p.z, centre.x, centre.y, centre.z, 90, n.x, n.y, n.z);
    return p;
}

void SetOutline(DCircle& c, Vec3 q1, Vec3 q2) {
    c.Q1 = {q1.x, q1.y, q1.z};
    c.Q2 = {q2.x, q2.y, q2.z};
}

void PlaceCircles(DKv& k) {
    const Vec3 p1 = Pos(V(k, 1)), p2 = Pos(V(k, 2)), p3 = Pos(V(k, 3)), p4 = Pos(V(k, 4));
    DCircle& c1 = k.Circ[1];
    DCircle& c2 = k.Circ[2];

    double pa = 0, pb = 0, pc = 0, pd = 0;
    PlaneBy3Points(p1, p2, p3, pa, pb, pc, pd);
    c1.PA = pa, c1.PB = pb, c1.PC = pc, c1.PD = pd;
    c2.PA = pa, c2.PB = pb, c2.PC = pc, c2.PD = pd;

    if (AllSameX(k)) {
        const double sx = k.Center.ScrX.v, sy = k.Center.ScrY.v;
        PlaceFlatCircle(c1, sx, sy, Round(k.Diag[1].Length.v / 2), p1.x);
        const DLine& s1 = k.S[1];
        const bool side1Seen = s1.P1.ScrX.v != s1.P2.ScrX.v || s1.P1.ScrY.v != s1.P2.ScrY.v;
        const double r2 = side1Seen ? Round(DistPointLine(V(k, 3), s1) / 2) : 0.0;
        PlaceFlatCircle(c2, sx, sy, r2, p1.x);
        return;
    }

    const Vec3 n{pa, pb, pc};
    const double nn = Norm(n);
    if (nn > 100) {
        c1.PA = pa / nn, c1.PB = pb / nn, c1.PC = pc / nn, c1.PD = pd / nn;
        c2.PA = c1.PA, c2.PB = c1.PB, c2.PC = c1.PC, c2.PD = c1.PD;
    }

    // Circumscribed circle through vertices 1, 2, 3.
    const Vec3 e1 = p2 - p1, e2 = p3 - p2;
    const std::array<std::array<Ext, 4>, 3> m{{
        {e1.x, e1.y, e1.z, static_cast<Ext>(Dot(e1, (p1 + p2) * 0.5))},
        {e2.x, e2.y, e2.z, static_cast<Ext>(Dot(e2, (p2 + p3) * 0.5))},
        {n.x, n.y, n.z, static_cast<Ext>(Dot(n, p1))},
    }};
    std::array<Ext, 3> sol{};
    SolveLinear3(m, sol);
    const Vec3 o{static_cast<double>(sol[0]), static_cast<double>(sol[1]), static_cast<double>(sol[2])};
    SetPos(c1.Center, o);
    ProjectPoint(c1.Center);
    SetOutline(c1, p1, Turned90(p1, o, n));
    c1.IsCircle.v = false;

    // Inscribed circle: the bisectors from vertices 1 and 2 meet at its centre.
    // Without side 1 they have no defined direction; the circle then shrinks
    // to radius 0 at vertex 1.
    const double s1len = Norm(p2 - p1);
    Vec3 centre = p1;
    if (s1len != 0) {
        const double k1 = Norm(p1 - p4) / s1len;
        const double k2 = Norm(p2 - p3) / s1len;
        const Vec3 q1 = (p2 * k1 + p4) * (1 / (1 + k1));
        const Vec3 q2 = (p1 * k2 + p3) * (1 / (1 + k2));
        IntersectLines3D(centre.x, centre.y, centre.z, p1, q1 - p1, p2, q2 - p2);
    }
    SetPos(c2.Center, centre);
    ProjectPoint(c2.Center);
    const double e1sq = Dot(e1, e1);
    if (e1sq > 0) {
        const Vec3 foot = p1 + e1 * (Dot(e1, centre - p1) / e1sq);
        SetOutline(c2, foot, Turned90(foot, centre, n));
    } else {
        SetOutline(c2, centre, centre);
    }
    c2.IsCircle.v = false;
}

// Distance of vertex 4 from the line of side 1, the height of a trapezium
// or parallelogram, taken from the vertices themselves: side 4 and angle 1,
// each already rounded to the thousandth, would put it a few thousandths off
// where angle 1 is near 0° or 180°.
double HeightOverSide1(const DKv& k) {
    const Vec3 v1 = Pos(V(k, 1));
    const Vec3 a = Pos(V(k, 2)) - v1, b = Pos(V(k, 4)) - v1;
    const Ext la = Norm(a);
    if (la == 0) return 0;  // angle 1 is 180 then
    const Ext h = static_cast<Ext>(Norm(Cross(a, b))) / la;
    return static_cast<double>(RoundL(1000.0L * h) / 1000.0L);
}

void PropagateView(DKv& k) {
    const std::uint8_t view = k.View.v;
    if (view == 1 || view == 2) {
        for (auto& s : k.S) s.LineType = {false, view};
        for (auto& d : k.Diag) d.LineType = {false, view};
        for (auto& c : k.Circ) {
            c.ViewType = {false, view};
            for (auto& r : c.R) r.LineType = {false, view};
        }
    } else if (view == 3 || view == 4) {
        for (auto& s : k.S) {
            if (view == 3) s.LineType.v = 3;
            s.LineType.e = view == 4;
        }
        for (auto& d : k.Diag) d.LineType.e = true;
        for (auto& c : k.Circ) {
            c.ViewType.e = true;
            for (auto& r : c.R) r.LineType.e = true;
        }
    }
}

void SetTypeFlags(DKv& k) {
    const KvTypeRow* t = TypeRow(k.Typ.v);
    if (!t) return;
    for (int i = 1; i <= 4; ++i) k.Ang[static_cast<std::size_t>(i)].e = t->angle[static_cast<std::size_t>(i - 1)];
    k.Side3.e = t->side3;
    k.Height.e = t->height;
}

void RoleStep(DKv& k, const KvRoleRow& r) {
    k.ID.e = r.name;
    SetStyleFlags(k, r.style);
    k.Thick.e = r.thick;
    if (r.typeFlag != kKept) k.Typ.e = r.typeFlag != 0;
    if (r.side3Flag != kKept) k.Side3.e = r.side3Flag != 0;
    if (r.heightOff) k.Height.e = false;

    const KvTypeRow* t = TypeRow(k.Typ.v);
    for (int i = 1; i <= 4; ++i) {
        const int sideRole = r.sideRole != kByType ? r.sideRole
                             : t                   ? t->sideRole[static_cast<std::size_t>(i - 1)]
                                                   : kFreeSides[static_cast<std::size_t>(i - 1)];
        UpdateLine(k.S[static_cast<std::size_t>(i)], sideRole);
    }

    k.Center.Typ.e = r.centreType;
    k.DiagOn[1].e = r.onFlags;
    k.DiagOn[2].e = r.onFlags;
    k.CenterOn.e = r.onFlags;
    UpdatePoint(k.Center, -3);
    UpdateLine(k.Diag[1], -7);
    UpdateLine(k.Diag[2], -7);
    UpdateCircle(k.Circ[1], -1);
    UpdateCircle(k.Circ[2], -1);

    if (r.anglesOff)
        for (auto& a : k.Ang) a.e = false;

    switch (r.role) {
        case 0: {
            k.View.e = true;
            if (!AllSameX(k))
                for (auto& a : k.Ang) a.e = false;
            for (int i = 1; i <= 4; ++i)
                if (V(k, i).Link.linked()) SetCoordFlags(V(k, i), false);
            if (AnyVertexLinked(k)) {
                for (auto& s : k.S) {
                    s.Length.e = false;
                    s.Angle.e = false;
                }
                for (auto& a : k.Ang) a.e = false;
                k.Typ.e = false;
                k.Height.e = false;
                k.Side3.e = false;
            }
            break;
        }
        case -11:
            for (int i : {2, 4}) {
                k.S[static_cast<std::size_t>(i)].Thick.v = 0;
                k.S[static_cast<std::size_t>(i)].LineType.e = false;
            }
            for (auto& on : k.CircOn) on = {false, false};
            break;
        case -3:
            for (int i : {2, 3, 4}) {
                k.S[static_cast<std::size_t>(i)].Thick.v = 0;
                k.S[static_cast<std::size_t>(i)].LineType.v = 3;
            }
            break;
        default: break;
    }
}

}  // namespace

bool UpdateTetragon(DKv& k, int role, bool applyType) {
    // Links force the arbitrary type.
    if (AnyVertexLinked(k)) k.Typ.v = 7;

    // Style into the parts.
    k.Color.v = IndexToColor(k.ColorIndex.v);
    for (auto& s : k.S) {
        TakeStyle(s, k);
        s.Thick.v = k.Thick.v;
    }
    for (auto& c : k.Circ) TakeStyle(c, k);
    for (auto& d : k.Diag) TakeStyle(d, k);
    TakeStyle(k.Center, k);

    // Plane rule; vertex 4 moves freely only for a flat plane quadrilateral
    // and for the arbitrary type.
    bool vertex4Free = false;
    if (k.Typ.v == 6) {
        vertex4Free = AllSameX(k);
        if (!vertex4Free) PutVertex4IntoPlane(k);
    } else {
        vertex4Free = k.Typ.v == 7;
    }

    SyncVertices(k);
    // The vertices of a tetragon standing alone or as a solid's first base
    // are its own, stored to the thousandth (the sides' update below rounds
    // them); derive everything from the stored values, so that the next
    // update, and the reading of a saved file, find the same figure.  A
    // vertex placed by a link or moved by a transformation comes here off
    // that grid.  The other parts of a solid take their vertices from the
    // solid at every update, reading included.
    if (applyType)
        ApplyTypeRuleRounded(k);
    else if (role == 0 || role == -2)
        RoundVertices(k);

    // The types of free vertices keep the byte where vertex 3 lies, so that a
    // type given later builds on that side and mirrors nothing.
    if (k.Typ.v == 6 || k.Typ.v == 7) k.Side3.v = SideOfLine(V(k, 3), k.S[1]) >= 0 ? 0 : 1;

    // Sides and interior angles.
    for (auto& s : k.S) {
        s.Angle.v = LineScreenAngle(s);
        s.Length.v = LineLength(s);
    }
    k.Ang[1].v = AngleBetweenLines(k.S[4], k.S[1]);
    k.Ang[2].v = AngleBetweenLines(k.S[1], k.S[2]);
    k.Ang[3].v = AngleBetweenLines(k.S[2], k.S[3]);
    k.Ang[4].v = AngleBetweenLines(k.S[3], k.S[4]);

    // Diagonals and centre.
    CopyPosition(k.Diag[1].P1, V(k, 1));
    CopyPosition(k.Diag[1].P2, V(k, 3));
    CopyPosition(k.Diag[2].P1, V(k, 2));
    CopyPosition(k.Diag[2].P2, V(k, 4));
    k.Diag[1].Length.v = LineLength(k.Diag[1]);
    k.Diag[2].Length.v = LineLength(k.Diag[2]);
    PlaceCentre(k);

    // A circumscribed circle needs opposite angles adding up to 180, an
    // inscribed one equal sums of opposite sides.
    k.CircOn[1].e = std::fabs(k.Ang[1].v + k.Ang[3].v - 180) < 0.1;
    k.CircOn[2].e = std::fabs(k.S[1].Length.v + k.S[3].Length.v - k.S[2].Length.v - k.S[4].Length.v) < 0.1;
    for (auto& on : k.CircOn)
        if (!on.e) on.v = false;
    if (k.CircOn[1].e || k.CircOn[2].e) PlaceCircles(k);

    k.Height.v = HeightOverSide1(k);

    PropagateView(k);
    SetTypeFlags(k);

    if (const KvRoleRow* r = RoleRow(role)) RoleStep(k, *r);

    DPoint& v4 = V(k, 4);
    if (!(role == 0 && v4.Link.linked())) SetCoordFlags(v4, vertex4Free);
    return vertex4Free;
}

}  // namespace pelmar
