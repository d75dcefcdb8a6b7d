// The prism updates: the bases by the prism's type, the lateral edge vector,
// the upper base from the lower one and that vector, the lateral sides, the
// circumscribed and inscribed spheres, the edge styles of the view mode with
// the automatic hidden-edge test, and the flags by role.
//
// Lower vertices L1..Ln and upper vertices U1..Un are the first points of the
// bases' sides.  Lateral side k has the vertices Lk, Uk, Uk+1, Lk+1, so its
// side 1 is the lateral edge Lk-Uk.
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
constexpr std::size_t SideCount = decltype(P::Side)::size();

// The type whose upper vertices are stored rather than derived.
template <class P>
constexpr std::uint8_t FreeType = SideCount<P> == 3 ? 3 : 5;

// Base type "arbitrary" of a triangle or a tetragon.
template <class P>
constexpr std::uint8_t ArbitraryBase = SideCount<P> == 3 ? 4 : 7;

template <class P>
Vec3 Edge(const P& p) {
    return {p.EdgeX.v, p.EdgeY.v, p.EdgeZ.v};
}

template <class P>
void SetEdge(P& p, Vec3 e) {
    p.EdgeX.v = e.x;
    p.EdgeY.v = e.y;
    p.EdgeZ.v = e.z;
}

template <class P>
bool AnyLinked(const P& p) {
    for (const auto& b : p.Base)
        for (std::size_t k = 1; k <= SideCount<P>; ++k)
            if (b.S[k].P1.Link.linked()) return true;
    return false;
}

template <class P>
void CopyStyles(P& p) {
    p.Color.v = IndexToColor(p.ColorIndex.v, p.Color.v);
    poly::CopyStyle(p.OutSphere, p, false);
    poly::CopyStyle(p.InSphere, p, false);
    for (auto& b : p.Base) poly::CopyStyle(b, p, true);
    for (auto& s : p.Side) poly::CopyStyle(s, p, true);
}

template <class P>
void SetSideTypes(P& p, std::uint8_t typ) {
    for (auto& s : p.Side) s.Typ.v = typ;
}

// The base type rules of the triangular prism.
void ApplyTypeRule(DPr3& p) {
    DTri& lower = p.Base[1];
    DTri& upper = p.Base[2];
    switch (p.Typ.v) {
        case 1:
            lower.Typ.v = upper.Typ.v = 1;
            UpdateTriangle(lower, -2, true);
            UpdateTriangle(upper, -5, true);
            SetSideTypes(p, 2);
            break;
        case 2:
            UpdateTriangle(lower, -2, true);
            upper.Typ.v = lower.Typ.v;
            SetSideTypes(p, 4);
            break;
        case 3:
            lower.Typ.v = upper.Typ.v = 4;
            UpdateTriangle(lower, 0, true);
            UpdateTriangle(upper, 0, true);
            SetSideTypes(p, 7);
            break;
        default: break;
    }
}

// The base type rules of the quadrangular prism; the cube also gets a
// lateral edge as long as the base's side.
void ApplyTypeRule(DPr4& p) {
    DKv& lower = p.Base[1];
    DKv& upper = p.Base[2];
    constexpr std::array<std::uint8_t, 6> BaseType{0, 1, 2, 4, 0, 7};  // by prism type; 0 = from the lower base
    constexpr std::array<std::uint8_t, 6> SideType{0, 1, 2, 4, 0, 7};  // 0 = kept
    const std::uint8_t typ = p.Typ.v;
    if (typ < 1 || typ > 5) return;
    if (BaseType[typ] != 0) lower.Typ.v = upper.Typ.v = BaseType[typ];
    UpdateTetragon(lower, 0, true);
    if (BaseType[typ] == 0) upper.Typ.v = lower.Typ.v;
    UpdateTetragon(upper, 0, true);
    if (SideType[typ] != 0) SetSideTypes(p, SideType[typ]);
    if (typ == 1) {
        const Vec3 e = poly::ExactEdge(p);
        const double len = Norm(e);
        if (!IsZero(len)) SetEdge(p, e * (lower.S[1].Length.v / len));
    }
}

// How far the length of an edge whose components were rounded to 0.001 can
// lie from its unrounded length rounded to 0.001: sqrt(3) / 2000 + 1 / 2000.
constexpr double EdgeRoundingReach = 0.00137;

// Steps shared by both kinds from the edge length to the lateral sides.
template <class P>
void PlaceEdgeAndUpper(P& p, bool perpendicular) {
    constexpr std::size_t n = SideCount<P>;
    auto& lower = p.Base[1];
    auto& upper = p.Base[2];

    Vec3 e = poly::ExactEdge(p);
    // A prism read from a file has no unrounded edge: its length is the one
    // the file holds while the components' own length lies within their
    // rounding of it, so that it reads back as the unrounded edge gave it.
    const bool asRead = p.EdgeExact == std::array<double, 3>{};
    const double len = Norm(e);
    if (!asRead || !(std::abs(len - p.EdgeLen.v) <= EdgeRoundingReach)) p.EdgeLen.v = Round3(len);
    if (perpendicular) {
        double a, b, c, d;
        PlaneBy3Points(Vertex(lower, 1), Vertex(lower, 2), Vertex(lower, 3), a, b, c, d);
        const Vec3 nrm{a, b, c};
        const double len = Norm(nrm);
        if (len != 0) {
            e = nrm * (p.EdgeLen.v / len);
            if (static_cast<Ext>(PlaneValue(Vertex(lower, 1) + e, a, b, c, d)) *
                    PlaneValue(Vertex(upper, 1), a, b, c, d) <
                0)
                e = e * -1.0;
        }
    }
    // The components are kept to 0.001, the vector they round as it is.
    p.EdgeExact = {e.x, e.y, e.z};
    e = {Round3(e.x), Round3(e.y), Round3(e.z)};
    SetEdge(p, e);

    if (p.Typ.v != FreeType<P>)
        for (std::size_t k = 1; k <= n; ++k) PlaceCorner(upper.S[k].P1, Vertex(lower, k) + e);

    for (std::size_t k = 1; k <= n; ++k) {
        const std::size_t k1 = Wrap(k + 1, n);
        DKv& s = p.Side[k];
        PlaceCorner(s.S[1].P1, Vertex(lower, k));
        PlaceCorner(s.S[2].P1, Vertex(upper, k));
        PlaceCorner(s.S[3].P1, Vertex(upper, k1));
        PlaceCorner(s.S[4].P1, Vertex(lower, k1));
    }
}

// Circumscribed sphere of the triangular prism: on the line through the
// centres of the bases' circumscribed circles, halfway along the edge.  The
// upper centre of a derived upper base is the lower one moved by the edge
// vector: the upper base's own circle still stands where the base was before
// its vertices moved.  The free type keeps its upper base, whose circle is
// current.
void PlaceOutSphere(DPr3& p) {
    const Vec3 e = Edge(p);
    const Vec3 c1 = Pos(p.Base[1].Circ[1].Center);
    const Vec3 c2 = p.Typ.v == FreeType<DPr3> ? Pos(p.Base[2].Circ[1].Center) : c1 + e;
    const Vec3 mid = Mid(c1, c2);
    double x, y, z;
    IntersectLinePlane(x, y, z, c1, c2 - c1, e.x, e.y, e.z, -Dot(e, mid));
    SetPos(p.OutSphere.Center, {x, y, z});
}

// Circumscribed sphere of the quadrangular prism: the midpoint of a space
// diagonal.
void PlaceOutSphere(DPr4& p) { SetPos(p.OutSphere.Center, Mid(Vertex(p.Base[1], 1), Vertex(p.Base[2], 3))); }

template <class P>
void PlaceSpheres(P& p) {
    PlaceOutSphere(p);
    p.OutSphere.Radius.v = Norm(Pos(p.OutSphere.Center) - Vertex(p.Base[1], 1));
    SetPos(p.InSphere.Center, Pos(p.OutSphere.Center));
    p.InSphere.Radius.v = Round3(Norm(Edge(p)) / 2);
}

template <class P>
void ApplyView(P& p) {
    const std::uint8_t mode = p.View.v;
    for (auto& b : p.Base) poly::ViewPart(b.View, mode);
    for (auto& s : p.Side) poly::ViewPart(s.View, mode);
    poly::ViewSpheres(p.OutSphere, p.InSphere, mode);
}

// Role flags by prism type.
enum class F : std::int8_t { off = 0, on = 1, keep = -1, inscribable = 2 };

struct PrismFlags {
    std::uint8_t typ;
    F outOn, inOn, edge, length, lower, upper;
};

constexpr F O = F::off, I = F::on, K = F::keep, Ins = F::inscribable;

constexpr std::array<PrismFlags, 3> Prism3Flags{{
    // typ out in   edge len lower upper
    {1,    I,  Ins, O,   K,  O,    K},
    {2,    O,  O,   I,   K,  I,    K},
    {3,    O,  O,   O,   K,  O,    O},
}};

constexpr std::array<PrismFlags, 5> Prism4Flags{{
    {1, I, I, O, O, O, K},
    {2, I, O, O, I, O, K},
    {3, O, O, I, I, O, K},
    {4, O, O, I, I, K, K},
    {5, O, O, O, K, O, O},
}};

void Apply(bool& flag, F f) {
    if (f == F::off) flag = false;
    if (f == F::on) flag = true;
}

// Whether a regular triangular prism admits a sphere touching all faces: its
// height is twice the radius of the base's inscribed circle.
bool Inscribable(const DPr3& p) {
    const double a = p.Base[1].S[1].Length.v;
    return std::fabs(static_cast<Ext>(p.EdgeZ.v) / 2 - a / (2 * std::sqrt(3.0L))) < 1;
}

template <class P, std::size_t N>
void ApplyTypeFlags(P& p, const std::array<PrismFlags, N>& table) {
    for (const PrismFlags& r : table) {
        if (r.typ != p.Typ.v) continue;
        if (r.outOn != F::keep) poly::SphereSwitch(p.OutSphereOn, r.outOn == F::on);
        if (r.inOn == F::inscribable) {
            if constexpr (SideCount<P> == 3) poly::SphereSwitch(p.InSphereOn, Inscribable(p));
        } else if (r.inOn != F::keep) {
            poly::SphereSwitch(p.InSphereOn, r.inOn == F::on);
        }
        Apply(p.EdgeX.e, r.edge);
        Apply(p.EdgeY.e, r.edge);
        Apply(p.EdgeZ.e, r.edge);
        Apply(p.EdgeLen.e, r.length);
        Apply(p.Base[1].Typ.e, r.lower);
        Apply(p.Base[2].Typ.e, r.upper);
    }
}

void UpdateBases(DPr3& p) {
    UpdateTriangle(p.Base[1], -2, false);
    UpdateTriangle(p.Base[2], p.Typ.v == 3 ? -2 : -5, false);
}

void UpdateBases(DPr4& p) {
    UpdateTetragon(p.Base[1], -2, false);
    UpdateTetragon(p.Base[2], p.Typ.v == 5 ? -2 : -4, false);
}

template <class P, std::size_t N>
void RoleFlags(P& p, const std::array<PrismFlags, N>& table) {
    poly::HeadFlagsOn(p);
    ApplyTypeFlags(p, table);
    UpdateBases(p);
    for (auto& s : p.Side) UpdateTetragon(s, -3, false);
    UpdateSolidSphere(p.OutSphere, p.OutSphereOn.v);
    UpdateSolidSphere(p.InSphere, p.InSphereOn.v);
    p.Typ.e = true;

    if (!AnyLinked(p)) return;
    for (auto& b : p.Base) {
        for (std::size_t k = 1; k <= SideCount<P>; ++k) poly::LockLinked(b.S[k].P1);
        poly::LockLinkedBase(b);
    }
    p.Typ.e = false;
}

// Hidden-edge step of the automatic (5, dashed) and opaque (6, not drawn)
// modes.  The opaque mode also hides the lower vertices behind a lateral
// side; every other mode shows them again.
template <class P>
void HiddenEdges(P& p) {
    constexpr std::size_t n = SideCount<P>;
    auto& lower = p.Base[1];
    auto& upper = p.Base[2];
    const std::uint8_t mode = p.View.v;
    if (mode >= 1 && mode <= 5)
        for (std::size_t k = 1; k <= n; ++k) lower.S[k].P1.Disabled.v = false;
    if (mode != 5 && mode != 6) return;
    const std::uint8_t h = mode == 5 ? 2 : 3;

    for (auto& b : p.Base) {
        for (std::size_t k = 1; k <= n; ++k) b.S[k].LineType.e = false;
        poly::ForBaseLines(b, [](DLine& l) { l.LineType.e = false; });
    }
    for (auto& s : p.Side) {
        s.S[1].LineType.e = false;
        s.Diag[1].LineType.e = s.Diag[2].LineType.e = false;
    }

    auto side = [&](std::size_t k) -> const DKv& { return p.Side[Wrap(k, n)]; };
    for (std::size_t k = 1; k <= n; ++k) {
        const std::size_t k1 = Wrap(k + 1, n);
        const Vec3 lateral = Mid(Vertex(lower, k), Vertex(upper, k));
        const Vec3 low = Mid(Vertex(lower, k), Vertex(lower, k1));
        const Vec3 up = Mid(Vertex(upper, k), Vertex(upper, k1));
        if constexpr (n == 3) {
            p.Side[k].S[1].LineType.v = EdgeType(lateral, h, side(k + 1), lower, upper);
            lower.S[k].LineType.v = EdgeType(low, h, upper, side(k + 1), side(k + 2));
            upper.S[k].LineType.v = EdgeType(up, h, lower, side(k + 1), side(k + 2));
        } else {
            p.Side[k].S[1].LineType.v = EdgeType(lateral, h, side(k + 1), side(k + 2), lower, upper);
            lower.S[k].LineType.v = EdgeType(low, h, upper, side(k + 1), side(k + 2), side(k + 3));
            upper.S[k].LineType.v = EdgeType(up, h, lower, side(k + 1), side(k + 2), side(k + 3));
        }
    }

    for (auto& b : p.Base) {
        std::uint8_t t = 1;
        for (std::size_t k = 1; k <= n; ++k)
            if (b.S[k].LineType.v == h) t = h;
        poly::ForBaseLines(b, [t](DLine& l) { l.LineType.v = t; });
    }
    for (std::size_t k = 1; k <= n; ++k) {
        const std::uint8_t t = LinesType(h, {lower.S[k].LineType.v, upper.S[k].LineType.v,
                                             p.Side[k].S[1].LineType.v, side(k + 1).S[1].LineType.v});
        p.Side[k].Diag[1].LineType.v = p.Side[k].Diag[2].LineType.v = t;
    }

    if (mode == 5 && p.OutSphereOn.v) {
        for (auto& b : p.Base) {
            for (std::size_t k = 1; k <= n; ++k) b.S[k].LineType.v = 2;
            poly::ForBaseLines(b, [](DLine& l) { l.LineType.v = 2; });
        }
        for (auto& s : p.Side) s.S[1].LineType.v = s.Diag[1].LineType.v = s.Diag[2].LineType.v = 2;
    }

    // A vertex lies in the planes of its own two sides (k - 1 and k), which
    // cannot hide it; testing it against them would only measure rounding.
    if (mode == 6) {
        for (std::size_t k = 1; k <= n; ++k) {
            const Vec3 v = Vertex(lower, k);
            bool hidden = false;
            for (std::size_t j = 1; j <= n && !hidden; ++j)
                if (j != k && j != Wrap(k + n - 1, n)) hidden = PointBehindTetragon(p.Side[j], v);
            lower.S[k].P1.Disabled.v = hidden;
        }
    }
}

template <class P, std::size_t N>
void UpdatePrism(P& p, int role, const std::array<PrismFlags, N>& flags, bool perpendicular) {
    PlaceEdgeAndUpper(p, perpendicular);
    PlaceSpheres(p);
    ApplyView(p);
    if (role == 0) RoleFlags(p, flags);
    HiddenEdges(p);
}

template <class P>
void ForceFreeWhenLinked(P& p) {
    if (!AnyLinked(p)) return;
    p.Typ.v = FreeType<P>;
    p.Base[1].Typ.v = p.Base[2].Typ.v = ArbitraryBase<P>;
}

}  // namespace

void UpdatePrism3(DPr3& p, int role) {
    ForceFreeWhenLinked(p);
    CopyStyles(p);
    ApplyTypeRule(p);
    UpdatePrism(p, role, Prism3Flags, p.Typ.v == 1);
}

void UpdatePrism4(DPr4& p, int role) {
    ForceFreeWhenLinked(p);
    CopyStyles(p);
    ApplyTypeRule(p);
    UpdatePrism(p, role, Prism4Flags, p.Typ.v == 1 || p.Typ.v == 2);
}

}  // namespace pelmar
