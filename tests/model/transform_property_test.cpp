// Random objects of all fourteen kinds, of every type, under every family of
// transformations with random arguments: each defining point ends where the
// family's point primitive takes it.  The primitives and the updates store
// points to the thousandth, so points agree to a few thousandths.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "model/geometry.h"
#include "model/polyhedron_make.h"
#include "model/round_make.h"
#include "model/transform.h"
#include "model/tri_make.h"
#include "model/update.h"

namespace pelmar {
namespace {

class Gen {
public:
    explicit Gen(unsigned seed) : rng_(seed) {}

    double Real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    std::uint8_t Byte(int lo, int hi) { return static_cast<std::uint8_t>(Int(lo, hi)); }
    double Grid(double r) { return std::nearbyint(Real(-r, r) * 1000) / 1000; }
    Vec3 Point(double r) { return {Grid(r), Grid(r), Grid(r)}; }
    Vec3 Near(Vec3 o, double r) { return o + Point(r); }
    Vec3 Direction() {
        Vec3 d = Point(1);
        while (Norm(d) < 0.3) d = Point(1);
        return d;
    }
    Vec3 Length(double lo, double hi) {
        const Vec3 d = Direction();
        return Snap(d * (Real(lo, hi) / Norm(d)));
    }
    static Vec3 Snap(Vec3 v) {
        return {std::nearbyint(v.x * 1000) / 1000, std::nearbyint(v.y * 1000) / 1000, std::nearbyint(v.z * 1000) / 1000};
    }

    // N vertices of a convex figure in a random plane through o, seen well
    // in the picture: the typed figures decide on which side of side 1 their
    // vertex 3 lies from its whole-pixel picture position, which is no
    // guide when side 1 is seen nearly end-on.
    template <std::size_t N>
    std::array<Vec3, N> Polygon(Vec3 o) {
        for (;;) {
            const auto v = AnyPolygon<N>(o);
            const auto p1 = test::Pic(v[0]), p2 = test::Pic(v[1]), p3 = test::Pic(v[2]);
            const double side = std::hypot(p2[0] - p1[0], p2[1] - p1[1]);
            const double off = (p2[0] - p1[0]) * (p3[1] - p1[1]) - (p2[1] - p1[1]) * (p3[0] - p1[0]);
            if (side > 40 && std::fabs(off) > 20 * side) return v;
        }
    }

    template <std::size_t N>
    std::array<Vec3, N> AnyPolygon(Vec3 o) {
        Vec3 u = Direction(), w = Direction();
        while (Norm(Cross(u, w)) < 0.2 * Norm(u) * Norm(w)) w = Direction();
        u = u * (1 / Norm(u));
        w = Cross(Cross(u, w), u);
        w = w * (1 / Norm(w));
        std::array<Vec3, N> v{};
        const double turn = Real(0, 360);
        for (std::size_t i = 0; i < N; ++i) {
            const double a = (turn + 360.0 * i / N + Real(-15, 15)) * 3.14159265358979 / 180;
            const double r = Real(30, 90);
            v[i] = Snap(o + u * (r * std::cos(a)) + w * (r * std::sin(a)));
        }
        return v;
    }

private:
    std::mt19937 rng_;
};

// ---------------------------------------------------------------------------
// Random records of each kind, updated as stand-alone objects.

const Vec3 kAt{0, 250, 200};

DPoint RandomPoint(Gen& g) {
    DPoint p;
    test::Place(p, g.Near(kAt, 150));
    UpdatePoint(p, 0);
    return p;
}

DLine RandomLine(Gen& g) {
    DLine l;
    test::Place(l.P1, g.Near(kAt, 150));
    test::Place(l.P2, g.Near(kAt, 150));
    l.Frac3.v = 0.25;
    l.Frac4.v = 0.5;
    l.LineType.v = 1;
    UpdateLine(l, 0);
    return l;
}

void RandomEllipse(DCircle& c, Gen& g, Vec3 centre) {
    test::Place(c.Center, centre);
    Vec3 a = g.Length(20, 90), b = g.Length(20, 90);
    while (Norm(Cross(a, b)) < 0.3 * Norm(a) * Norm(b)) b = g.Length(20, 90);
    c.Q1 = {centre.x + a.x, centre.y + a.y, centre.z + a.z};
    c.Q2 = {centre.x + b.x, centre.y + b.y, centre.z + b.z};
    for (auto& r : c.R) r.Angle.v = g.Grid(180);
    c.ViewType.v = 1;
}

DCircle RandomCircle(Gen& g) {
    DCircle c;
    RandomEllipse(c, g, g.Near(kAt, 100));
    UpdateCircle(c, 0);
    return c;
}

// Every type; the isosceles and right triangles take a random height.
void RandomTriangleShape(DTri& t, Gen& g) {
    t.Typ.v = g.Byte(1, 4);
    t.Side3.v = g.Byte(0, 1);
    t.Height.v = g.Real(20, 120);
}

DTri RandomTriangle(Gen& g) {
    const auto v = g.Polygon<3>(g.Near(kAt, 100));
    DTri t = test::MakeTri(v[0], v[1], v[2]);
    RandomTriangleShape(t, g);
    t.CircOn[1].v = t.CircOn[2].v = true;
    for (std::size_t i = 1; i <= 5; ++i) {
        t.LineKind[i].v = g.Byte(1, 3);
        t.LineMode[i].v = g.Byte(1, 3);
        t.LineVertex[i].v = g.Byte(1, 3);
        t.Lines[i].Length.v = g.Real(10, 50);
    }
    UpdateTriangle(t, 0, true);
    return t;
}

DKv RandomTetragon(Gen& g) {
    const auto v = g.Polygon<4>(g.Near(kAt, 100));
    DKv k = test::MakeKv(v[0], v[1], v[2], v[3]);
    k.Typ.v = g.Byte(1, 7);
    k.Side3.v = g.Byte(0, 1);
    k.View.v = 1;
    k.Layer.v = 1;
    UpdateTetragon(k, 0, true);
    return k;
}

DXOY RandomXOY(Gen& g) {
    DXOY x;
    const Vec3 c = g.Near(kAt, 100);
    test::Place(x.Center, c);
    test::Place(x.AxisX.P1, c - Vec3{0, 150, 0});
    test::Place(x.AxisX.P2, c + Vec3{0, 150, 0});
    test::Place(x.AxisY.P1, c - Vec3{0, 0, 120});
    test::Place(x.AxisY.P2, c + Vec3{0, 0, 120});
    x.ScaleX.v = x.ScaleY.v = 20;
    UpdateXOY(x, 0);
    return x;
}

// Section normals far longer than the thousandth they are stored to, so that
// their directions survive the rounding.
void RandomSections(DSf& s, Gen& g) {
    for (std::size_t i = 1; i <= 7; ++i) {
        s.SecOn[i].v = g.Int(0, 1) == 1;
        const Vec3 n = g.Length(50, 200);
        s.SecNX[i].v = n.x;
        s.SecNY[i].v = n.y;
        s.SecNZ[i].v = n.z;
        s.SecH[i].v = g.Grid(s.Radius.v * 0.45) + s.Radius.v * 0.45;
    }
}

DSf RandomOrb(Gen& g) {
    DSf s = test::MakeOrb(g.Near(kAt, 100), g.Real(20, 90), g.Byte(1, 6));
    RandomSections(s, g);
    UpdateOrb(s, 0);
    return s;
}

DZi RandomCylinder(Gen& g) {
    const Vec3 p0 = g.Near(kAt, 100);
    const Vec3 axis = g.Length(30, 150);
    const double r = g.Real(20, 60);
    DZi z = test::MakeCylinder(p0, p0 + axis, r, g.Byte(1, 6));
    test::SquareBase(z.Base[1], axis, r);
    z.SecPos1.v = g.Grid(180);
    z.SecPos2.v = g.Grid(180);
    for (auto& on : z.SecOn) on.v = g.Int(0, 1) == 1;
    z.OutSphereOn.v = g.Int(0, 1) == 1;
    UpdateCylinder(z, 0);
    return z;
}

DKo RandomCone(Gen& g) {
    const Vec3 p0 = g.Near(kAt, 100);
    const Vec3 axis = g.Length(30, 150);
    const double r = g.Real(20, 60);
    DKo k = test::MakeCone(p0, p0 + axis, r, g.Byte(1, 6));
    test::SquareBase(k.Base, axis, r);
    k.SecPos1.v = g.Grid(180);
    k.SecPos2.v = g.Grid(180);
    for (auto& on : k.SecOn) on.v = g.Int(0, 1) == 1;
    k.OutSphereOn.v = g.Int(0, 1) == 1;
    UpdateCone(k, 0);
    return k;
}

template <class P>
void RandomSpheres(P& p, Gen& g) {
    p.OutSphereOn.v = g.Int(0, 1) == 1;
    p.InSphereOn.v = g.Int(0, 1) == 1;
}

DPi3 RandomPyramid3(Gen& g) {
    const auto b = g.Polygon<3>(g.Near(kAt, 100));
    DPi3 p = test::MakePyramid3(b, b[0] + g.Length(40, 150), g.Byte(1, 3), g.Byte(1, 6));
    RandomTriangleShape(p.Base, g);
    p.HeightLine.Length.v = g.Real(20, 150);
    RandomSpheres(p, g);
    UpdatePyramid3(p, 0);
    return p;
}

DPi4 RandomPyramid4(Gen& g) {
    const auto b = g.Polygon<4>(g.Near(kAt, 100));
    DPi4 p = test::MakePyramid4(b, b[0] + g.Length(40, 150), g.Byte(1, 3), g.Byte(1, 6));
    p.Base.Typ.v = g.Byte(1, 7);
    p.Base.Side3.v = g.Byte(0, 1);
    p.HeightLine.Length.v = g.Real(20, 150);
    RandomSpheres(p, g);
    UpdatePyramid4(p, 0);
    return p;
}

DPr3 RandomPrism3(Gen& g) {
    DPr3 p = test::MakePrism3(g.Polygon<3>(g.Near(kAt, 100)), g.Length(30, 150), g.Byte(1, 3), g.Byte(1, 6));
    for (auto& b : p.Base) RandomTriangleShape(b, g);
    RandomSpheres(p, g);
    UpdatePrism3(p, 0);
    return p;
}

DPr4 RandomPrism4(Gen& g) {
    DPr4 p = test::MakePrism4(g.Polygon<4>(g.Near(kAt, 100)), g.Length(30, 150), g.Byte(1, 5), g.Byte(1, 6));
    for (auto& b : p.Base) {
        b.Typ.v = g.Byte(1, 7);
        b.Side3.v = g.Byte(0, 1);
    }
    for (auto& s : p.Side) s.Typ.v = g.Byte(1, 7);
    RandomSpheres(p, g);
    UpdatePrism4(p, 0);
    return p;
}

DXZ RandomXYZ(Gen& g) {
    DXZ x;
    const Vec3 c = g.Near(kAt, 100);
    test::Place(x.Center, c);
    test::Place(x.AxisX.P1, c - Vec3{100, 0, 0});
    test::Place(x.AxisX.P2, c + Vec3{200, 0, 0});
    test::Place(x.AxisY.P1, c - Vec3{0, 150, 0});
    test::Place(x.AxisY.P2, c + Vec3{0, 150, 0});
    test::Place(x.AxisZ.P1, c - Vec3{0, 0, 120});
    test::Place(x.AxisZ.P2, c + Vec3{0, 0, 120});
    x.Scale.v = 20;
    UpdateXYZ(x, 0);
    return x;
}

// ---------------------------------------------------------------------------
// Defining points: what the user placed, and the section centres a sphere
// derives from its section planes.

using Points = std::vector<Vec3>;

template <class Fig>
Points Vertices(const Fig& f) {
    Points v;
    for (const auto& s : f.S) v.push_back(Pos(s.P1));
    return v;
}

Points Defining(const DPoint& p) { return {Pos(p)}; }
Points Defining(const DLine& l) { return {Pos(l.P1), Pos(l.P2)}; }
Points Defining(const DCircle& c) { return {Pos(c.Center), test::V3(c.Q1), test::V3(c.Q2)}; }
Points Defining(const DTri& t) { return Vertices(t); }
Points Defining(const DKv& k) { return Vertices(k); }
Points Defining(const DXOY& x) { return {Pos(x.Center)}; }
Points Defining(const DSf& s) {
    Points v{Pos(s.Center)};
    for (const auto& c : s.Sec) v.push_back(Pos(c.Center));
    return v;
}
Points Defining(const DZi& z) {
    return {Pos(z.Base[1].Center), Pos(z.Base[2].Center), test::V3(z.Base[1].Q1), test::V3(z.Base[1].Q2)};
}
Points Defining(const DKo& k) { return {Pos(k.Base.Center), Pos(k.Axis.P2), test::V3(k.Base.Q1), test::V3(k.Base.Q2)}; }
template <class B, std::size_t N>
Points Defining(const DPyramid<B, N>& p) {
    Points v = Vertices(p.Base);
    v.push_back(Pos(p.HeightLine.P2));
    return v;
}
template <class B, std::size_t N>
Points Defining(const DPrism<B, N>& p) {
    Points v = Vertices(p.Base[1]);
    for (Vec3 u : Vertices(p.Base[2])) v.push_back(u);
    return v;
}
Points Defining(const DXZ& x) { return {Pos(x.Center)}; }

// ---------------------------------------------------------------------------
// The seven families with random arguments: the member on a record and the
// primitive on a point.

struct Family {
    std::string name;
    std::function<void(Vec3&)> primitive;
    std::array<double, 7> a{};
    double scale = 1;  // how much the family stretches distances
};

Family RandomFamily(int which, Gen& g) {
    Family f;
    auto& a = f.a;
    switch (which) {
        case 0:
            f.name = "in-plane shift";
            a[0] = std::nearbyint(g.Real(-80, 80));
            a[1] = std::nearbyint(g.Real(-80, 80));
            f.primitive = [a](Vec3& p) { p = p + Vec3{0, a[0], a[1]}; };
            break;
        case 1: {
            f.name = "translation";
            const Vec3 v = g.Point(150);
            a = {v.x, v.y, v.z};
            f.primitive = [a](Vec3& p) { MoveByVector(p.x, p.y, p.z, a[0], a[1], a[2]); };
            break;
        }
        case 2: {
            f.name = "rotation";
            const Vec3 c = g.Near(kAt, 100), n = g.Direction();
            a = {c.x, c.y, c.z, n.x, n.y, n.z, g.Real(-180, 180)};
            f.primitive = [a](Vec3& p) { RotateAroundAxis(p.x, p.y, p.z, a[0], a[1], a[2], a[6], a[3], a[4], a[5]); };
            break;
        }
        case 3: {
            f.name = "homothety";
            const Vec3 c = g.Near(kAt, 100);
            const double k = (g.Int(0, 1) ? 1 : -1) * g.Real(0.4, 2.5);
            a = {c.x, c.y, c.z, k};
            f.scale = std::fabs(k);
            f.primitive = [a](Vec3& p) { ScaleFromCentre(p.x, p.y, p.z, a[0], a[1], a[2], a[3]); };
            break;
        }
        case 4: {
            f.name = "central symmetry";
            const Vec3 c = g.Near(kAt, 100);
            a = {c.x, c.y, c.z};
            f.primitive = [a](Vec3& p) { ReflectInCentre(p.x, p.y, p.z, a[0], a[1], a[2]); };
            break;
        }
        case 5: {
            f.name = "axial symmetry";
            const Vec3 c = g.Near(kAt, 100), v = g.Direction();
            a = {c.x, c.y, c.z, v.x, v.y, v.z};
            f.primitive = [a](Vec3& p) { ReflectInAxis(p.x, p.y, p.z, a[0], a[1], a[2], a[3], a[4], a[5]); };
            break;
        }
        default: {
            f.name = "mirror symmetry";
            const Vec3 n = g.Direction(), c = g.Near(kAt, 100);
            a = {n.x, n.y, n.z, -Dot(n, c)};
            f.primitive = [a](Vec3& p) { ReflectInPlane(p.x, p.y, p.z, a[0], a[1], a[2], a[3]); };
            break;
        }
    }
    return f;
}

#define PELMAR_MEMBERS(Suffix, Rec)                                                                      \
    void Apply(Rec& r, int which, const std::array<double, 7>& a) {                                      \
        switch (which) {                                                                                 \
            case 0: PlaneShift##Suffix(r, a[0], a[1]); break;                                            \
            case 1: Translate##Suffix(r, a[0], a[1], a[2]); break;                                       \
            case 2: Rotate##Suffix(r, a[0], a[1], a[2], a[3], a[4], a[5], a[6]); break;                  \
            case 3: Homothety##Suffix(r, a[0], a[1], a[2], a[3]); break;                                 \
            case 4: CentralSym##Suffix(r, a[0], a[1], a[2]); break;                                      \
            case 5: AxialSym##Suffix(r, a[0], a[1], a[2], a[3], a[4], a[5]); break;                      \
            default: MirrorSym##Suffix(r, a[0], a[1], a[2], a[3]); break;                                \
        }                                                                                                \
    }

PELMAR_MEMBERS(Point, DPoint)
PELMAR_MEMBERS(Line, DLine)
PELMAR_MEMBERS(Circle, DCircle)
PELMAR_MEMBERS(Triangle, DTri)
PELMAR_MEMBERS(Tetragon, DKv)
PELMAR_MEMBERS(XOY, DXOY)
PELMAR_MEMBERS(Orb, DSf)
PELMAR_MEMBERS(Cylinder, DZi)
PELMAR_MEMBERS(Cone, DKo)
PELMAR_MEMBERS(Pyramid3, DPi3)
PELMAR_MEMBERS(Pyramid4, DPi4)
PELMAR_MEMBERS(Prism3, DPr3)
PELMAR_MEMBERS(Prism4, DPr4)
PELMAR_MEMBERS(XYZ, DXZ)
#undef PELMAR_MEMBERS

std::string Where(Vec3 v) {
    std::ostringstream s;
    s << "(" << v.x << ", " << v.y << ", " << v.z << ")";
    return s.str();
}

// Points are stored to the thousandth by the primitive and again by the
// updates; a point that an update derives from others (the apex of a
// regular pyramid, vertex 3 of a typed triangle, a section centre) carries
// their rounding, stretched by a homothety.
double Tolerance(const Family& f) { return 3e-3 * std::max(1.0, f.scale); }

template <class R>
void Check(const char* kind, R (*make)(Gen&), Gen& g, int rounds) {
    for (int round = 0; round < rounds; ++round) {
        const R before = make(g);
        for (int which = 0; which <= 6; ++which) {
            const Family f = RandomFamily(which, g);
            R after = before;
            Apply(after, which, f.a);
            const Points p0 = Defining(before), p1 = Defining(after);
            ASSERT_EQ(p0.size(), p1.size());
            for (std::size_t i = 0; i < p0.size(); ++i) {
                Vec3 want = p0[i];
                f.primitive(want);
                const Vec3 d = p1[i] - want;
                const double off = std::max({std::fabs(d.x), std::fabs(d.y), std::fabs(d.z)});
                EXPECT_LE(off, Tolerance(f)) << kind << " #" << round << ", " << f.name << ": point " << i << " from "
                                     << Where(p0[i]) << " at " << Where(p1[i]) << ", expected " << Where(want);
            }
            if (::testing::Test::HasFailure()) return;
        }
    }
}

constexpr int kRounds = 30;

TEST(TransformProperty, PlaneKinds) {
    Gen g(71);
    Check("point", RandomPoint, g, kRounds);
    Check("segment", RandomLine, g, kRounds);
    Check("ellipse", RandomCircle, g, kRounds);
    Check("triangle", RandomTriangle, g, kRounds);
    Check("tetragon", RandomTetragon, g, kRounds);
    Check("2D coordinate system", RandomXOY, g, kRounds);
}

TEST(TransformProperty, RoundSolids) {
    Gen g(72);
    Check("sphere", RandomOrb, g, kRounds);
    Check("cylinder", RandomCylinder, g, kRounds);
    Check("cone", RandomCone, g, kRounds);
    Check("3D coordinate system", RandomXYZ, g, kRounds);
}

TEST(TransformProperty, Polyhedra) {
    Gen g(73);
    Check("triangular pyramid", RandomPyramid3, g, kRounds);
    Check("quadrangular pyramid", RandomPyramid4, g, kRounds);
    Check("triangular prism", RandomPrism3, g, kRounds);
    Check("quadrangular prism", RandomPrism4, g, kRounds);
}

}  // namespace
}  // namespace pelmar
