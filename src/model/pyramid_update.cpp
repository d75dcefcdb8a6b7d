// The pyramid updates: the base by the pyramid's type, the apex of the
// regular types, the lateral faces, the height from the apex to the base
// plane, the circumscribed and inscribed spheres, the edge styles of the view
// mode with the automatic hidden-edge test, and the flags by role.
//
// Face k has vertex 1 = base vertex k, vertex 2 = the apex, vertex 3 = base
// vertex k + 1, so its side 1 is the lateral edge from base vertex k.  The
// height runs from the foot on the base plane (end 1) to the apex (end 2).
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "model/geometry.h"
#include "model/polyhedron_parts.h"
#include "model/update.h"

namespace pelmar {

namespace {

using poly::EdgeType;
using poly::LinesType;
using poly::Mid;
using poly::PlaceCorner;
using poly::Vertex;
using poly::Wrap;

template <class P>
constexpr std::size_t FaceCount = decltype(P::Face)::size();

template <class P>
Vec3 Apex(const P& p) {
    return Pos(p.HeightLine.P2);
}

template <class P>
bool AnyLinked(const P& p) {
    for (std::size_t k = 1; k <= FaceCount<P>; ++k)
        if (p.Base.S[k].P1.Link.linked()) return true;
    return p.HeightLine.P2.Link.linked();
}

template <class P>
void CopyStyles(P& p) {
    p.Color.v = IndexToColor(p.ColorIndex.v, p.Color.v);
    poly::CopyStyle(p.HeightLine, p, false);
    poly::CopyStyle(p.OutSphere, p, false);
    poly::CopyStyle(p.InSphere, p, false);
    poly::CopyStyle(p.Base, p, true);
    for (auto& f : p.Face) poly::CopyStyle(f, p, true);
}

// Base plane a·x + b·y + c·z + d = 0 through base vertices 1, 2, 3.
struct Plane {
    Vec3 n;
    double d = 0;

    double at(Vec3 q) const { return PlaneValue(q, n.x, n.y, n.z, d); }
};

template <class P>
Plane BasePlane(const P& p) {
    Plane pl;
    PlaneBy3Points(Vertex(p.Base, 1), Vertex(p.Base, 2), Vertex(p.Base, 3), pl.n.x, pl.n.y, pl.n.z, pl.d);
    return pl;
}

// Orientation: on which side of the base's vertex order the apex lies.
template <class P>
std::uint8_t Orientation(const P& p) {
    const Vec3 v1 = Vertex(p.Base, 1);
    const Vec3 a = Vertex(p.Base, 2) - v1, b = Vertex(p.Base, 3) - v1, c = Apex(p) - v1;
    return Det3(a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z) >= 0 ? 2 : 1;
}

template <class P>
void PlaceFaces(P& p) {
    constexpr std::size_t n = FaceCount<P>;
    const Vec3 apex = Apex(p);
    for (std::size_t k = 1; k <= n; ++k) {
        DTri& f = p.Face[k];
        PlaceCorner(f.S[1].P1, Vertex(p.Base, k));
        PlaceCorner(f.S[2].P1, apex);
        PlaceCorner(f.S[3].P1, Vertex(p.Base, Wrap(k + 1, n)));
    }
}

// The foot of the height on the base plane, stored as the height's end 1.
template <class P>
Vec3 PlaceFoot(P& p, const Plane& base) {
    double x, y, z;
    IntersectLinePlane(x, y, z, Apex(p), base.n, base.n.x, base.n.y, base.n.z, base.d);
    const Vec3 f{x, y, z};
    SetPos(p.HeightLine.P1, f);
    return f;
}

// Centre of the inscribed sphere on the height line: where the line from the
// apex to the foot meets a plane bisecting the base plane and the plane of
// face 1.  The sum of the two (equally long) normals is tried first; when its
// point lies off the height by more than slack, the difference is taken.  The
// face plane is taken through V1, A, V2 (the face's own vertex order) or,
// with apexLast, through V1, V2, A: the two differ in the normal's sign.
template <class P>
void PlaceInSphere(P& p, Vec3 foot, const Plane& base, double slack, bool apexLast) {
    const Vec3 apex = Apex(p);
    const Vec3 v1 = Vertex(p.Base, 1), v2 = Vertex(p.Base, 2);
    Plane face;
    if (apexLast)
        PlaneBy3Points(v1, v2, apex, face.n.x, face.n.y, face.n.z, face.d);
    else
        PlaneBy3Points(v1, apex, v2, face.n.x, face.n.y, face.n.z, face.d);
    const double nb = Norm(base.n), nf = Norm(face.n);
    const double k = nf > 0 ? nb / nf : 0;
    const Vec3 dir = foot - apex;
    auto meet = [&](double sign) {
        const Vec3 n = base.n + face.n * (sign * k);
        const double d = base.d + sign * k * face.d;
        double x, y, z;
        IntersectLinePlane(x, y, z, apex, dir, n.x, n.y, n.z, d);
        return Vec3{x, y, z};
    };
    Vec3 c = meet(1);
    if (Norm(apex - c) + Norm(c - foot) > Norm(apex - foot) + slack) c = meet(-1);
    SetPos(p.InSphere.Center, c);
    p.InSphere.Radius.v = Norm(c - foot);
}

// View step: the views of the base and the faces, the height's line type
// and the spheres' views.
template <class P>
void ApplyView(P& p) {
    const std::uint8_t mode = p.View.v;
    poly::ViewPart(p.Base.View, mode);
    for (auto& f : p.Face) poly::ViewPart(f.View, mode);
    poly::ViewEdge(p.HeightLine.LineType, mode);
    poly::ViewSpheres(p.OutSphere, p.InSphere, mode);
}

// Flags of linked points, and of everything a link makes fixed.
template <class P>
void LockLinks(P& p) {
    if (!AnyLinked(p)) return;
    for (std::size_t k = 1; k <= FaceCount<P>; ++k) poly::LockLinked(p.Base.S[k].P1);
    poly::LockLinked(p.HeightLine.P2);
    poly::LockLinkedBase(p.Base);
    p.Typ.e = false;
    p.HeightLine.Length.e = p.HeightLine.Angle.e = false;
    p.Orient.e = false;
}

// Hidden-edge step of the automatic (5, dashed) and opaque (6, not drawn)
// modes.  The opaque mode also hides the base vertices behind a face; every
// other mode shows them again.
template <class P>
void HiddenEdges(P& p) {
    constexpr std::size_t n = FaceCount<P>;
    auto& base = p.Base;
    const std::uint8_t mode = p.View.v;
    if (mode >= 1 && mode <= 5)
        for (std::size_t k = 1; k <= n; ++k) base.S[k].P1.Disabled.v = false;
    if (mode != 5 && mode != 6) return;
    const std::uint8_t h = mode == 5 ? 2 : 3;

    for (std::size_t k = 1; k <= n; ++k) {
        base.S[k].LineType.e = false;
        p.Face[k].S[1].LineType.e = false;
        for (auto& l : p.Face[k].Lines) l.LineType.e = false;
    }
    poly::ForBaseLines(base, [](DLine& l) { l.LineType.e = false; });
    p.HeightLine.LineType.e = false;

    const Vec3 apex = Apex(p);
    auto face = [&](std::size_t k) -> const DTri& { return p.Face[Wrap(k, n)]; };
    for (std::size_t k = 1; k <= n; ++k) {
        const Vec3 lateral = Mid(Vertex(base, k), apex);
        const Vec3 edge = Mid(Vertex(base, k), Vertex(base, Wrap(k + 1, n)));
        if constexpr (n == 3) {
            p.Face[k].S[1].LineType.v = EdgeType(lateral, h, face(k + 1), base);
            base.S[k].LineType.v = EdgeType(edge, h, face(k + 1), face(k + 2));
        } else {
            p.Face[k].S[1].LineType.v = EdgeType(lateral, h, face(k + 1), face(k + 2), base);
            base.S[k].LineType.v = EdgeType(edge, h, face(k + 1), face(k + 2), face(k + 3));
        }
    }
    const Vec3 height = Mid(Pos(p.HeightLine.P1), apex);
    if constexpr (n == 3)
        p.HeightLine.LineType.v = EdgeType(height, h, face(1), face(2), face(3), base);
    else
        p.HeightLine.LineType.v = EdgeType(height, h, face(1), face(2), face(3), face(4), base);

    std::uint8_t baseLines = 1;
    for (std::size_t k = 1; k <= n; ++k)
        if (base.S[k].LineType.v == h) baseLines = h;
    poly::ForBaseLines(base, [&](DLine& l) { l.LineType.v = baseLines; });
    for (std::size_t k = 1; k <= n; ++k) {
        const std::uint8_t t = LinesType(
            h, {base.S[k].LineType.v, p.Face[k].S[1].LineType.v, face(k + 1).S[1].LineType.v});
        for (auto& l : p.Face[k].Lines) l.LineType.v = t;
    }

    if (mode == 5 && p.OutSphereOn.v) {
        for (std::size_t k = 1; k <= n; ++k) {
            base.S[k].LineType.v = 2;
            p.Face[k].S[1].LineType.v = 2;
            for (auto& l : p.Face[k].Lines) l.LineType.v = 2;
        }
        p.HeightLine.LineType.v = 2;
        poly::ForBaseLines(base, [](DLine& l) { l.LineType.v = 2; });
    }

    // A vertex lies in the planes of its own two faces (k - 1 and k), which
    // cannot hide it; testing it against them would only measure rounding.
    if (mode == 6) {
        for (std::size_t k = 1; k <= n; ++k) {
            const Vec3 v = Vertex(base, k);
            bool hidden = false;
            for (std::size_t j = 1; j <= n && !hidden; ++j)
                if (j != k && j != Wrap(k + n - 1, n)) hidden = PointBehindTriangle(p.Face[j], v);
            base.S[k].P1.Disabled.v = hidden;
        }
    }
}

// ---------------------------------------------------------------------------
// Triangular pyramid

// Circumscribed sphere: the point equidistant from the apex and the three
// base vertices; kept as it was when the four points lie in one plane.
void PlaceOutSphere3(DPi3& p) {
    const Vec3 a = Apex(p);
    const Ext aa = static_cast<Ext>(a.x) * a.x + static_cast<Ext>(a.y) * a.y + static_cast<Ext>(a.z) * a.z;
    std::array<std::array<Ext, 4>, 3> m{};
    for (std::size_t i = 1; i <= 3; ++i) {
        const Vec3 v = Vertex(p.Base, i);
        const Ext vv = static_cast<Ext>(v.x) * v.x + static_cast<Ext>(v.y) * v.y + static_cast<Ext>(v.z) * v.z;
        m[i - 1] = {static_cast<Ext>(v.x) - a.x, static_cast<Ext>(v.y) - a.y, static_cast<Ext>(v.z) - a.z,
                    (vv - aa) / 2};
    }
    std::array<Ext, 3> x{};
    if (!SolveLinear3(m, x)) return;
    DPoint& c = p.OutSphere.Center;
    c.X.v = static_cast<double>(x[0]);
    c.Y.v = static_cast<double>(x[1]);
    c.Z.v = static_cast<double>(x[2]);
    Ext sx, sy;
    ProjectXYZ(sx, sy, x[0], x[1], x[2]);
    c.ScrX.v = static_cast<double>(sx);
    c.ScrY.v = static_cast<double>(sy);
    p.OutSphere.Radius.v = Norm(Pos(c) - a);
}

// Apex of the regular tetrahedron (type 1) and the regular pyramid (type 2)
// above the base's centre, on the side where it was.
void PlaceApex3(DPi3& p, const Plane& base) {
    const double len = Norm(base.n);
    if (len == 0) return;
    const double h = p.Typ.v == 1 ? std::sqrt(2.0 / 3.0) * p.Base.S[1].Length.v : p.HeightLine.Length.v;
    const Vec3 offset = base.n * (h / len);
    const Vec3 centre = Pos(p.Base.Circ[2].Center);
    Vec3 apex = centre + offset;
    if (static_cast<Ext>(base.at(apex)) * base.at(Apex(p)) < 0) apex = centre - offset;
    SetPos(p.HeightLine.P2, apex);
}

void RoleFlags3(DPi3& p) {
    poly::HeadFlagsOn(p);
    switch (p.Typ.v) {
        case 1:
            p.HeightLine.Length.e = false;
            UpdateLine(p.HeightLine, -20);
            p.Base.Typ.e = false;
            break;
        case 2:
            p.HeightLine.Length.e = true;
            UpdateLine(p.HeightLine, -19);
            p.Base.Typ.e = false;
            break;
        case 3:
            p.HeightLine.Length.e = true;
            UpdateLine(p.HeightLine, -22);
            p.Base.Typ.e = true;
            break;
        default: break;
    }
    UpdateTriangle(p.Base, -2, false);
    for (auto& f : p.Face) {
        f.Typ.e = false;
        UpdateTriangle(f, -3, false);
    }
    UpdateOrb(p.OutSphere, -1);
    UpdateSolidSphere(p.InSphere, p.InSphereOn.v);
    // The height switch and the apex side are the user's unless links hold
    // the pyramid (as the four-sided pyramid's).
    p.HeightOn.e = true;
    p.Orient.e = true;
    p.Typ.e = true;
    LockLinks(p);
}

// ---------------------------------------------------------------------------
// Quadrangular pyramid

void PlaceApex4(DPi4& p, const Plane& base) {
    const double len = Norm(base.n);
    if (len == 0) return;
    Vec3 apex = Mid(Vertex(p.Base, 1), Vertex(p.Base, 3)) + base.n * (p.HeightLine.Length.v / len);
    if (static_cast<Ext>(base.at(apex)) * base.at(Apex(p)) < 0)
        ReflectInPlane(apex.x, apex.y, apex.z, base.n.x, base.n.y, base.n.z, base.d);
    SetPos(p.HeightLine.P2, apex);
}

// Circumscribed sphere, taken on the height line: where that line meets the
// plane of the points equidistant from base vertex 1 and the apex.
void PlaceOutSphere4(DPi4& p, Vec3 foot) {
    const Vec3 a = Apex(p), v1 = Vertex(p.Base, 1);
    const Vec3 n = a - v1;
    const double d = -Dot(n, a + v1) / 2;
    double x, y, z;
    IntersectLinePlane(x, y, z, a, a - foot, n.x, n.y, n.z, d);
    SetPos(p.OutSphere.Center, {x, y, z});
    p.OutSphere.Radius.v = Norm(Vec3{x, y, z} - a);
}

void RoleFlags4(DPi4& p) {
    poly::HeadFlagsOn(p);
    const std::uint8_t typ = p.Typ.v;
    if (typ == 1) {
        poly::SphereSwitch(p.OutSphereOn, true);
        poly::SphereSwitch(p.InSphereOn, true);
        p.Base.Typ.e = false;
        p.HeightLine.Length.e = true;
        UpdateLine(p.HeightLine, -19);
    } else if (typ == 2 || typ == 3) {
        poly::SphereSwitch(p.OutSphereOn, false);
        poly::SphereSwitch(p.InSphereOn, false);
        p.Base.Typ.e = typ == 2;
        p.HeightLine.Length.e = true;
        UpdateLine(p.HeightLine, -22);
        p.Base.Side3.e = typ == 2;
    }
    UpdateTetragon(p.Base, -2, false);
    p.HeightOn.e = true;
    for (auto& f : p.Face) {
        f.Typ.e = false;
        UpdateTriangle(f, -3, false);
    }
    UpdateSolidSphere(p.OutSphere, p.OutSphereOn.v);
    UpdateSolidSphere(p.InSphere, p.InSphereOn.v);
    p.Typ.e = true;
    LockLinks(p);
}

}  // namespace

void UpdatePyramid3(DPi3& p, int role) {
    if (AnyLinked(p)) {
        p.Typ.v = 3;
        p.Base.Typ.v = 4;
    }
    CopyStyles(p);
    p.HeightLine.Length.v = std::fabs(p.HeightLine.Length.v);

    const std::uint8_t typ = p.Typ.v;
    if (typ == 1 || typ == 2) p.Base.Typ.v = 1;
    if (typ >= 1 && typ <= 3) UpdateTriangle(p.Base, -2, true);
    if (typ == 1 || typ == 2)
        for (auto& f : p.Face) f.Typ.v = typ;

    const Plane base = BasePlane(p);
    if (typ == 1 || typ == 2) PlaceApex3(p, base);
    p.Orient.v = Orientation(p);
    PlaceFaces(p);
    const Vec3 foot = PlaceFoot(p, base);
    PlaceOutSphere3(p);
    if (typ == 1 || typ == 2) PlaceInSphere(p, foot, base, 2.0, false);

    ApplyView(p);
    if (role == 0) RoleFlags3(p);
    HiddenEdges(p);
}

void UpdatePyramid4(DPi4& p, int role) {
    if (AnyLinked(p)) {
        p.Typ.v = 3;
        p.Base.Typ.v = 7;
    }
    CopyStyles(p);
    p.HeightLine.Length.v = std::fabs(p.HeightLine.Length.v);

    const std::uint8_t typ = p.Typ.v;
    switch (typ) {
        case 1:
            p.Base.Typ.v = 1;
            UpdateTetragon(p.Base, 0, true);
            for (auto& f : p.Face) f.Typ.v = 2;
            break;
        case 2:
            if (p.Base.Typ.v == 7) p.Base.Typ.v = 6;
            p.Base.Typ.e = true;
            UpdateTetragon(p.Base, 0, true);
            break;
        case 3:
            p.Base.Typ.v = 7;
            UpdateTetragon(p.Base, 0, true);
            break;
        default: break;
    }

    const Plane base = BasePlane(p);
    if (typ == 1) PlaceApex4(p, base);
    p.Orient.v = Orientation(p);
    if (typ >= 1 && typ <= 3) p.Orient.e = typ != 3;
    PlaceFaces(p);
    const Vec3 foot = PlaceFoot(p, base);
    PlaceOutSphere4(p, foot);
    if (typ == 1) PlaceInSphere(p, foot, base, 1.0, true);

    ApplyView(p);
    if (role == 0) RoleFlags4(p);
    HiddenEdges(p);
}

}  // namespace pelmar
