#include "model/polyhedron_reshape.h"

#include <cmath>
#include <cstddef>

#include "model/construct.h"
#include "model/geometry.h"
#include "model/polyhedron_parts.h"
#include "model/transform.h"

namespace pelmar {

namespace {

bool Finite(double v) { return std::isfinite(v); }

Vec3 Corner(const DTri& t, std::size_t i) { return Pos(t.S[i].P1); }
Vec3 Corner(const DKv& k, std::size_t i) { return Pos(k.S[i].P1); }

// The regular pyramids place their apex by the height's length.
bool ApexFollowsLength(const DPi3& p) { return p.Typ.v == 1 || p.Typ.v == 2; }
bool ApexFollowsLength(const DPi4& p) { return p.Typ.v == 1; }

template <class P>
std::optional<P> WithHeight(P p, double height) {
    if (!Finite(height) || height < SmallestPyramidHeight) return std::nullopt;
    DLine& h = p.HeightLine;
    const bool directed = Norm(Pos(h.P2) - Pos(h.P1)) > 0;
    if (!directed && !ApexFollowsLength(p)) return std::nullopt;
    h.Length.v = height;
    SetLineLength(h);
    if (!Finite(h.P2.X.v) || !Finite(h.P2.Y.v) || !Finite(h.P2.Z.v)) return std::nullopt;
    ProjectPoint(h.P2);
    // An apex that stands in space but beyond the picture's range.
    if (!Finite(h.P2.ScrX.v) || !Finite(h.P2.ScrY.v)) return std::nullopt;
    return p;
}

template <class P>
std::optional<P> WithApexSide(P p, int side) {
    if (side != 1 && side != 2) return std::nullopt;
    if (side == p.Orient.v) return p;
    double a = 0, b = 0, c = 0, d = 0;
    PlaneBy3Points(Corner(p.Base, 1), Corner(p.Base, 2), Corner(p.Base, 3), a, b, c, d);
    if (Norm({a, b, c}) == 0 || !Finite(a) || !Finite(b) || !Finite(c) || !Finite(d)) return std::nullopt;
    MirrorSymPoint(p.HeightLine.P2, a, b, c, d);
    return p;
}

template <class P, class Rotate>
std::optional<P> Rotated(P p, double degrees, Vec3 centre, Vec3 axis, Rotate rotate) {
    if (!Finite(degrees) || !(Norm(axis) > 0) || !Finite(Norm(axis))) return std::nullopt;
    rotate(p, centre.x, centre.y, centre.z, axis.x, axis.y, axis.z, degrees);
    return p;
}

// A lateral edge the update would keep as (0, 0, 0): the prism is flat.
bool Flat(Vec3 e) { return Round3(e.x) == 0 && Round3(e.y) == 0 && Round3(e.z) == 0; }

template <class P>
std::optional<P> WithEdge(P p, int component, double value) {
    if (!Finite(value)) return std::nullopt;
    const bool flat = Flat({p.EdgeX.v, p.EdgeY.v, p.EdgeZ.v});
    switch (component) {
        case 1: p.EdgeX.v = value; break;
        case 2: p.EdgeY.v = value; break;
        case 3: p.EdgeZ.v = value; break;
        default: return std::nullopt;
    }
    if (!flat && Flat({p.EdgeX.v, p.EdgeY.v, p.EdgeZ.v})) return std::nullopt;
    return p;
}

template <class P>
std::optional<P> WithEdgeLength(P p, double length) {
    if (!Finite(length) || length <= 0) return std::nullopt;
    // The exact edge: the rounded components of a short one point elsewhere.
    const Vec3 e = poly::ExactEdge(p);
    const double n = Norm(e);
    // The vector's own length, not the stored one: a stale stored length
    // would scale the vector to something other than what was typed.  A
    // vector too long or too short to measure keeps its direction by refusing
    // the value.
    const bool none = e.x == 0 && e.y == 0 && e.z == 0;
    if (!none && !(n > 0 && Finite(n))) return std::nullopt;
    // The direction first, then the length: the factor length / n alone
    // may leave the range of a double where the vector does not.
    const Vec3 v = none ? Vec3{0, 0, length} : Vec3{e.x / n, e.y / n, e.z / n} * length;
    if (!Finite(v.x) || !Finite(v.y) || !Finite(v.z) || Flat(v)) return std::nullopt;
    p.EdgeX.v = v.x;
    p.EdgeY.v = v.y;
    p.EdgeZ.v = v.z;
    p.EdgeExact = {v.x, v.y, v.z};
    p.EdgeLen.v = length;
    return p;
}

template <class P>
Vec3 EdgeOf(const P& p) {
    return {p.EdgeX.v, p.EdgeY.v, p.EdgeZ.v};
}

// The centre of the triangle's inscribed circle, from its vertices.
Vec3 Incentre(const DTri& t) {
    const Vec3 a = Corner(t, 1), b = Corner(t, 2), c = Corner(t, 3);
    const double la = Norm(c - b), lb = Norm(a - c), lc = Norm(b - a);
    const double s = la + lb + lc;
    if (!(s > 0)) return a;
    return (a * la + b * lb + c * lc) * (1 / s);
}

// The tetragon's centre where its diagonals cross, taken in space: the
// stored centre point is found in the picture and is off by the picture's
// rounding.  Diagonals that do not cross give the vertices' mean.
Vec3 Centre(const DKv& k) {
    const Vec3 v1 = Corner(k, 1), v2 = Corner(k, 2), v3 = Corner(k, 3), v4 = Corner(k, 4);
    double x = 0, y = 0, z = 0;
    if (IntersectLines3D(x, y, z, v1, v3 - v1, v2, v4 - v2) && Finite(x) && Finite(y) && Finite(z)) return {x, y, z};
    return (v1 + v2 + v3 + v4) * 0.25;
}

template <class P>
std::optional<P> WithType(P p, int type) {
    if (type < 1 || type > 3) return std::nullopt;
    p.Typ.v = static_cast<std::uint8_t>(type);
    return p;
}

}  // namespace

std::optional<DPi3> PyramidWithHeight(DPi3 p, double height) { return WithHeight(std::move(p), height); }
std::optional<DPi4> PyramidWithHeight(DPi4 p, double height) { return WithHeight(std::move(p), height); }

std::optional<DPi3> PyramidWithApexSide(DPi3 p, int side) { return WithApexSide(std::move(p), side); }
std::optional<DPi4> PyramidWithApexSide(DPi4 p, int side) { return WithApexSide(std::move(p), side); }

std::optional<DPi3> RotatedPyramid(DPi3 p, double degrees) {
    const Vec3 foot = Pos(p.HeightLine.P1), apex = Pos(p.HeightLine.P2);
    return Rotated(std::move(p), degrees, foot, apex - foot, RotatePyramid3);
}
std::optional<DPi4> RotatedPyramid(DPi4 p, double degrees) {
    const Vec3 foot = Pos(p.HeightLine.P1), apex = Pos(p.HeightLine.P2);
    return Rotated(std::move(p), degrees, foot, apex - foot, RotatePyramid4);
}

std::optional<DPi3> PyramidWithType(DPi3 p, int type) {
    auto r = WithType(std::move(p), type);
    if (r && type == 3) r->InSphereOn.v = false;
    return r;
}
std::optional<DPi4> PyramidWithType(DPi4 p, int type) {
    auto r = WithType(std::move(p), type);
    if (r && type == 2) r->OutSphereOn.v = r->InSphereOn.v = false;
    return r;
}

std::optional<DPr3> PrismWithEdge(DPr3 p, int component, double value) {
    return WithEdge(std::move(p), component, value);
}
std::optional<DPr4> PrismWithEdge(DPr4 p, int component, double value) {
    return WithEdge(std::move(p), component, value);
}

std::optional<DPr3> PrismWithEdgeLength(DPr3 p, double length) { return WithEdgeLength(std::move(p), length); }
std::optional<DPr4> PrismWithEdgeLength(DPr4 p, double length) { return WithEdgeLength(std::move(p), length); }

std::optional<DPr3> RotatedPrism(DPr3 p, double degrees) {
    const Vec3 c = Incentre(p.Base[1]), e = EdgeOf(p);
    return Rotated(std::move(p), degrees, c, e, RotatePrism3);
}
std::optional<DPr4> RotatedPrism(DPr4 p, double degrees) {
    const Vec3 c = Centre(p.Base[1]), e = EdgeOf(p);
    return Rotated(std::move(p), degrees, c, e, RotatePrism4);
}

}  // namespace pelmar
