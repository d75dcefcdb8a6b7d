// The transformation families over all fourteen kinds: every defining point
// of random records of every type goes where the family's point primitive
// takes it, inverses bring every defining point back, symmetries are
// involutions, isometries keep distances and homotheties scale them,
// degenerate arguments change nothing, and no Double of a record becomes
// infinite or NaN.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "model/finite_check.h"
#include "model/geometry.h"
#include "model/polyhedron_make.h"
#include "model/round_make.h"
#include "model/transform.h"
#include "model/tri_make.h"
#include "model/update.h"
#include "model/random_shapes.h"

namespace pelmar {
namespace {

using test::Place;

// ---------------------------------------------------------------------------
// One record of each kind, updated as a stand-alone object.

DPoint MakePoint() {
    DPoint p;
    Place(p, {12, 140, 90});
    UpdatePoint(p, 0);
    return p;
}

DLine MakeLine() {
    DLine l;
    Place(l.P1, {10, 100, 80});
    Place(l.P2, {-20, 190, 130});
    l.Frac3.v = 0.25;
    l.Frac4.v = 0.5;
    l.LineType.v = 1;
    UpdateLine(l, 0);
    return l;
}

DCircle MakeCircle() {
    DCircle c;
    Place(c.Center, {20, 150, 120});
    c.Q1 = {20, 210, 120};
    c.Q2 = {50, 150, 160};
    c.R[2].Angle.v = 30;
    c.ViewType.v = 1;
    UpdateCircle(c, 0);
    return c;
}

DTri MakeTriangle() {
    DTri t = test::MakeTri({0, 100, 100}, {10, 190, 120}, {-30, 140, 200});
    t.CircOn[1].v = t.CircOn[2].v = true;
    UpdateTriangle(t, 0, true);
    return t;
}

DKv MakeTetragon() {
    DKv k = test::MakeKv({0, 100, 100}, {0, 200, 110}, {0, 210, 190}, {0, 90, 180});
    k.Typ.v = 7;
    k.View.v = 1;
    k.Layer.v = 1;
    UpdateTetragon(k, 0, true);
    return k;
}

// A computed curve set with two polylines, as the graph tracer leaves it.
DCurve2 SomeCurves(double x0, double y0) {
    std::vector<DCurve1> lines;
    for (int l = 0; l < 2; ++l) {
        std::vector<CurvePoint> pts;
        for (int i = 0; i < 5; ++i) pts.push_back({x0 + 7.0 * i + l, y0 - 3.0 * i * i, 0});
        DCurve1 c;
        c.Count = static_cast<std::int32_t>(pts.size());
        c.Points = std::make_shared<const std::vector<CurvePoint>>(std::move(pts));
        lines.push_back(c);
    }
    DCurve2 set;
    set.Count = 2;
    set.Valid = 1;
    set.Lines = std::make_shared<const std::vector<DCurve1>>(std::move(lines));
    return set;
}

DXOY MakeXOY() {
    DXOY x;
    Place(x.Center, {0, 300, 200});
    Place(x.AxisX.P1, {0, 150, 200});
    Place(x.AxisX.P2, {0, 450, 200});
    Place(x.AxisY.P1, {0, 300, 80});
    Place(x.AxisY.P2, {0, 300, 320});
    x.ScaleX.v = x.ScaleY.v = 20;
    x.Curves = SomeCurves(250, 400);
    UpdateXOY(x, 0);
    return x;
}

DSf MakeOrb() {
    DSf s = test::MakeOrb({10, 200, 150}, 40, 4);
    s.SecNX[2].v = 1;
    s.SecNY[2].v = 1;
    s.SecH[2].v = 12;
    UpdateOrb(s, 0);
    return s;
}

DZi MakeCylinder() {
    DZi z = test::MakeCylinder({0, 200, 100}, {-30, 260, 180}, 40, 4);
    z.SecPos1.v = 50;
    z.SecPos2.v = -70;
    z.SecOn[3].v = z.SecOn[4].v = true;
    z.OutSphereOn.v = true;
    UpdateCylinder(z, 0);
    return z;
}

DKo MakeCone() {
    DKo k = test::MakeCone({0, 200, 100}, {40, 260, 180}, 40, 4);
    k.SecPos1.v = 40;
    k.SecOn[3].v = true;
    k.OutSphereOn.v = true;
    UpdateCone(k, 0);
    return k;
}

DPi3 MakePyramid3() {
    DPi3 p = test::StandardPyramid3(4);
    UpdatePyramid3(p, 0);
    return p;
}

DPi4 MakePyramid4() {
    DPi4 p = test::MakePyramid4({{{20, -20, 0}, {25, 30, 5}, {-20, 20, 0}, {-25, -15, -5}}}, {0, 0, 50}, 3, 4);
    UpdatePyramid4(p, 0);
    return p;
}

DPr3 MakePrism3() {
    DPr3 p = test::MakePrism3({{{30, 0, 0}, {30, 30, 0}, {0, 15, 5}}}, {5, 10, 40}, 3, 4);
    UpdatePrism3(p, 0);
    return p;
}

DPr4 MakePrism4() {
    DPr4 p = test::MakePrism4({{{40, 0, 0}, {45, 40, 0}, {0, 45, 0}, {0, 0, 0}}}, {0, 10, 40}, 5, 4);
    UpdatePrism4(p, 0);
    return p;
}

DXZ MakeXYZ() {
    DXZ x;
    Place(x.Center, {0, 300, 200});
    Place(x.AxisX.P1, {-100, 300, 200});
    Place(x.AxisX.P2, {200, 300, 200});
    Place(x.AxisY.P1, {0, 150, 200});
    Place(x.AxisY.P2, {0, 450, 200});
    Place(x.AxisZ.P1, {0, 300, 80});
    Place(x.AxisZ.P2, {0, 300, 320});
    x.Scale.v = 20;
    x.Curves[3] = SomeCurves(260, 300);
    x.Outlines[2].Lines = SomeCurves(200, 250);
    x.Outlines[2].X1 = 100;
    x.Outlines[2].Y1 = 50;
    x.Outlines[2].X2 = 400;
    x.Outlines[2].Y2 = 350;
    UpdateXYZ(x, 0);
    return x;
}

// ---------------------------------------------------------------------------
// Random records of each kind and of every type, updated as stand-alone
// objects.

using Rand = test::RandomShapes;
const Vec3 kAt{0, 250, 200};

DPoint RandomPoint(Rand& g) {
    DPoint p;
    Place(p, g.Near(kAt, 150));
    UpdatePoint(p, 0);
    return p;
}

DLine RandomLine(Rand& g) {
    DLine l = MakeLine();
    Place(l.P1, g.Near(kAt, 150));
    Place(l.P2, g.Near(kAt, 150));
    UpdateLine(l, 0);
    return l;
}

DCircle RandomCircle(Rand& g) {
    DCircle c = MakeCircle();
    const Vec3 m = g.Near(kAt, 100);
    Place(c.Center, m);
    const auto q = g.Polygon<3>(m);
    c.Q1 = {q[1].x, q[1].y, q[1].z};
    c.Q2 = {q[2].x, q[2].y, q[2].z};
    for (auto& r : c.R) r.Angle.v = g.Grid(180);
    UpdateCircle(c, 0);
    return c;
}

DTri RandomTriangle(Rand& g) {
    const auto v = g.Polygon<3>(g.Near(kAt, 100));
    DTri t = test::MakeTri(v[0], v[1], v[2]);
    g.TriangleShape(t);
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

DKv RandomTetragon(Rand& g) {
    const auto v = g.Polygon<4>(g.Near(kAt, 100));
    DKv k = test::MakeKv(v[0], v[1], v[2], v[3]);
    g.TetragonShape(k);
    k.View.v = 1;
    k.Layer.v = 1;
    UpdateTetragon(k, 0, true);
    return k;
}

DXOY RandomXOY(Rand& g) {
    DXOY x = MakeXOY();
    TranslateXOY(x, g.Grid(100), g.Grid(100), g.Grid(100));
    return x;
}

// Section normals far longer than the thousandth they are stored to, so that
// their directions survive the rounding; distances within the radius.
DSf RandomOrb(Rand& g) {
    DSf s = test::MakeOrb(g.Near(kAt, 100), g.Real(20, 90), g.Byte(1, 6));
    for (std::size_t i = 1; i <= 7; ++i) {
        s.SecOn[i].v = g.Coin();
        const Vec3 n = g.Length(50, 200);
        s.SecNX[i].v = n.x;
        s.SecNY[i].v = n.y;
        s.SecNZ[i].v = n.z;
        s.SecH[i].v = g.Real(0, 0.9) * s.Radius.v;
    }
    UpdateOrb(s, 0);
    return s;
}

template <class R>
R RandomRound(Rand& g, R (*make)(Vec3, Vec3, double, std::uint8_t)) {
    const Vec3 p0 = g.Near(kAt, 100), axis = g.Length(30, 150);
    const double radius = g.Real(20, 60);
    R r = make(p0, p0 + axis, radius, g.Byte(1, 6));
    if constexpr (std::is_same_v<R, DZi>)
        test::SquareBase(r.Base[1], axis, radius);
    else
        test::SquareBase(r.Base, axis, radius);
    r.SecPos1.v = g.Grid(180);
    r.SecPos2.v = g.Grid(180);
    for (auto& on : r.SecOn) on.v = g.Coin();
    r.OutSphereOn.v = g.Coin();
    return r;
}

DZi RandomCylinder(Rand& g) {
    DZi z = RandomRound(g, test::MakeCylinder);
    UpdateCylinder(z, 0);
    return z;
}

DKo RandomCone(Rand& g) {
    DKo k = RandomRound(g, test::MakeCone);
    UpdateCone(k, 0);
    return k;
}

DPi3 RandomPyramid3(Rand& g) {
    DPi3 p = g.Pyramid3(g.Near(kAt, 100), g.Byte(1, 3));
    UpdatePyramid3(p, 0);
    return p;
}

DPi4 RandomPyramid4(Rand& g) {
    DPi4 p = g.Pyramid4(g.Near(kAt, 100), g.Byte(1, 3));
    UpdatePyramid4(p, 0);
    return p;
}

DPr3 RandomPrism3(Rand& g) {
    DPr3 p = g.Prism3(g.Near(kAt, 100), g.Byte(1, 3));
    UpdatePrism3(p, 0);
    return p;
}

DPr4 RandomPrism4(Rand& g) {
    DPr4 p = g.Prism4(g.Near(kAt, 100), g.Byte(1, 5));
    UpdatePrism4(p, 0);
    return p;
}

DXZ RandomXYZ(Rand& g) {
    DXZ x = MakeXYZ();
    TranslateXYZ(x, g.Grid(100), g.Grid(100), g.Grid(100));
    return x;
}

// ---------------------------------------------------------------------------
// The defining points of each kind: what the user placed.

std::vector<Vec3> Defining(const DPoint& p) { return {Pos(p)}; }
std::vector<Vec3> Defining(const DLine& l) { return {Pos(l.P1), Pos(l.P2)}; }
std::vector<Vec3> Defining(const DCircle& c) { return {Pos(c.Center), test::V3(c.Q1), test::V3(c.Q2)}; }
template <class Fig>
std::vector<Vec3> Vertices(const Fig& f) {
    std::vector<Vec3> v;
    for (const auto& s : f.S) v.push_back(Pos(s.P1));
    return v;
}
std::vector<Vec3> Defining(const DTri& t) { return Vertices(t); }
std::vector<Vec3> Defining(const DKv& k) { return Vertices(k); }
std::vector<Vec3> Defining(const DXOY& x) { return {Pos(x.Center)}; }
std::vector<Vec3> Defining(const DSf& s) { return {Pos(s.Center)}; }
std::vector<Vec3> Defining(const DZi& z) {
    return {Pos(z.Base[1].Center), Pos(z.Base[2].Center), test::V3(z.Base[1].Q1), test::V3(z.Base[1].Q2)};
}
std::vector<Vec3> Defining(const DKo& k) {
    return {Pos(k.Base.Center), Pos(k.Axis.P2), test::V3(k.Base.Q1), test::V3(k.Base.Q2)};
}
template <class B, std::size_t N>
std::vector<Vec3> Defining(const DPyramid<B, N>& p) {
    auto v = Vertices(p.Base);
    v.push_back(Pos(p.HeightLine.P2));
    return v;
}
template <class B, std::size_t N>
std::vector<Vec3> Defining(const DPrism<B, N>& p) {
    auto v = Vertices(p.Base[1]);
    for (Vec3 u : Vertices(p.Base[2])) v.push_back(u);
    return v;
}
std::vector<Vec3> Defining(const DXZ& x) { return {Pos(x.Center)}; }

// ---------------------------------------------------------------------------
// The families of each kind, named by suffix.

#define PELMAR_KIND(Suffix, Rec, Maker)                                                          \
    struct Suffix##Kind {                                                                       \
        using R = Rec;                                                                          \
        static R Make() { return Maker(); }                                                     \
        static R Random(Rand& g) { return Random##Suffix(g); }                                  \
        static void Shift(R& r, double dx, double dy) { PlaneShift##Suffix(r, dx, dy); }        \
        static void Translate(R& r, Vec3 v) { Translate##Suffix(r, v.x, v.y, v.z); }            \
        static void Rotate(R& r, Vec3 c, Vec3 n, double a) {                                    \
            Rotate##Suffix(r, c.x, c.y, c.z, n.x, n.y, n.z, a);                                 \
        }                                                                                       \
        static void Homothety(R& r, Vec3 c, double k) { Homothety##Suffix(r, c.x, c.y, c.z, k); } \
        static void Central(R& r, Vec3 c) { CentralSym##Suffix(r, c.x, c.y, c.z); }             \
        static void Axial(R& r, Vec3 p, Vec3 v) { AxialSym##Suffix(r, p.x, p.y, p.z, v.x, v.y, v.z); } \
        static void Mirror(R& r, double a, double b, double c, double d) { MirrorSym##Suffix(r, a, b, c, d); } \
    }

PELMAR_KIND(Point, DPoint, MakePoint);
PELMAR_KIND(Line, DLine, MakeLine);
PELMAR_KIND(Circle, DCircle, MakeCircle);
PELMAR_KIND(Triangle, DTri, MakeTriangle);
PELMAR_KIND(Tetragon, DKv, MakeTetragon);
PELMAR_KIND(XOY, DXOY, MakeXOY);
PELMAR_KIND(Orb, DSf, MakeOrb);
PELMAR_KIND(Cylinder, DZi, MakeCylinder);
PELMAR_KIND(Cone, DKo, MakeCone);
PELMAR_KIND(Pyramid3, DPi3, MakePyramid3);
PELMAR_KIND(Pyramid4, DPi4, MakePyramid4);
PELMAR_KIND(Prism3, DPr3, MakePrism3);
PELMAR_KIND(Prism4, DPr4, MakePrism4);
PELMAR_KIND(XYZ, DXZ, MakeXYZ);
#undef PELMAR_KIND

using AllKinds = ::testing::Types<PointKind, LineKind, CircleKind, TriangleKind, TetragonKind, XOYKind, OrbKind,
                                  CylinderKind, ConeKind, Pyramid3Kind, Pyramid4Kind, Prism3Kind, Prism4Kind,
                                  XYZKind>;

class KindNames {
public:
    template <class T>
    static std::string GetName(int i) {
        static const char* const names[] = {"Point",  "Line",     "Circle",   "Triangle", "Tetragon",
                                            "XOY",    "Orb",      "Cylinder", "Cone",     "Pyramid3",
                                            "Pyramid4", "Prism3", "Prism4",   "XYZ"};
        return names[i];
    }
};

template <class K>
class TransformFamily : public ::testing::Test {};
TYPED_TEST_SUITE(TransformFamily, AllKinds, KindNames);

// Rounding to 0.001 at every step, and the updates' own rounding of points.
constexpr double kTol = 5e-3;

void ExpectSamePoints(const std::vector<Vec3>& a, const std::vector<Vec3>& b, double tol, const char* what) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_NEAR(Norm(a[i] - b[i]), 0, tol) << what << ": point " << i << " at (" << b[i].x << ", " << b[i].y
                                               << ", " << b[i].z << "), expected (" << a[i].x << ", " << a[i].y
                                               << ", " << a[i].z << ")";
}

template <class R>
void ExpectFinite(const R& r, const char* what) {
    const auto bad = test::NonFiniteDoubles(r);
    EXPECT_TRUE(bad.empty()) << what << test::JoinPaths(bad);
}

const Vec3 kCentre{5, 180, 140};

TYPED_TEST(TransformFamily, TranslationAndItsInverse) {
    auto r = TypeParam::Make();
    const auto before = Defining(r);
    const Vec3 v{28.284, -20, 30};
    TypeParam::Translate(r, v);
    ExpectFinite(r, "translated");
    auto moved = before;
    for (Vec3& p : moved) p = p + v;
    ExpectSamePoints(moved, Defining(r), kTol, "moved");
    TypeParam::Translate(r, v * -1);
    ExpectSamePoints(before, Defining(r), kTol, "back");
}

TYPED_TEST(TransformFamily, RotationAndItsInverse) {
    auto r = TypeParam::Make();
    const auto before = Defining(r);
    const Vec3 n{1, 2, 2};
    TypeParam::Rotate(r, kCentre, n, 37);
    ExpectFinite(r, "rotated");
    TypeParam::Rotate(r, kCentre, n, -37);
    ExpectSamePoints(before, Defining(r), kTol, "rotated back");
}

TYPED_TEST(TransformFamily, HomothetyAndItsInverse) {
    for (double k : {2.0, -0.5}) {
        auto r = TypeParam::Make();
        const auto before = Defining(r);
        TypeParam::Homothety(r, kCentre, k);
        ExpectFinite(r, "scaled");
        TypeParam::Homothety(r, kCentre, 1 / k);
        ExpectSamePoints(before, Defining(r), kTol, "scaled back");
    }
}

TYPED_TEST(TransformFamily, SymmetriesTwiceAreTheIdentity) {
    auto r = TypeParam::Make();
    const auto before = Defining(r);
    TypeParam::Central(r, kCentre);
    ExpectFinite(r, "central");
    TypeParam::Central(r, kCentre);
    ExpectSamePoints(before, Defining(r), kTol, "central twice");

    const Vec3 v{0.3, 1, -0.6};
    TypeParam::Axial(r, kCentre, v);
    ExpectFinite(r, "axial");
    TypeParam::Axial(r, kCentre, v);
    ExpectSamePoints(before, Defining(r), kTol, "axial twice");

    TypeParam::Mirror(r, 1, -0.5, 0.25, 30);
    ExpectFinite(r, "mirror");
    TypeParam::Mirror(r, 1, -0.5, 0.25, 30);
    ExpectSamePoints(before, Defining(r), kTol, "mirror twice");
}

std::vector<double> Distances(const std::vector<Vec3>& p) {
    std::vector<double> d;
    for (std::size_t i = 0; i < p.size(); ++i)
        for (std::size_t j = i + 1; j < p.size(); ++j) d.push_back(Norm(p[i] - p[j]));
    return d;
}

void ExpectScaledDistances(const std::vector<Vec3>& a, const std::vector<Vec3>& b, double k, const char* what) {
    const auto da = Distances(a), db = Distances(b);
    ASSERT_EQ(da.size(), db.size());
    for (std::size_t i = 0; i < da.size(); ++i) EXPECT_NEAR(db[i], std::fabs(k) * da[i], kTol) << what << " " << i;
}

TYPED_TEST(TransformFamily, IsometriesKeepDistancesAndHomothetyScalesThem) {
    const auto base = TypeParam::Make();
    const auto before = Defining(base);
    {
        auto r = base;
        TypeParam::Rotate(r, kCentre, {0, 0, 1}, 73);
        ExpectScaledDistances(before, Defining(r), 1, "rotation");
    }
    {
        auto r = base;
        TypeParam::Central(r, kCentre);
        ExpectScaledDistances(before, Defining(r), 1, "central");
    }
    {
        auto r = base;
        TypeParam::Axial(r, kCentre, {1, 1, 0});
        ExpectScaledDistances(before, Defining(r), 1, "axial");
    }
    {
        auto r = base;
        TypeParam::Mirror(r, 0, 1, 1, -300);
        ExpectScaledDistances(before, Defining(r), 1, "mirror");
    }
    {
        auto r = base;
        TypeParam::Homothety(r, kCentre, -1.5);
        ExpectScaledDistances(before, Defining(r), 1.5, "homothety");
    }
}

TYPED_TEST(TransformFamily, ArgumentsWithoutATransformationChangeNothing) {
    const auto base = TypeParam::Make();
    const double nan = std::nan("");
    auto check = [&](auto&& op, const char* what) {
        auto r = base;
        op(r);
        const auto diff = test::DifferingDoubles(base, r);
        EXPECT_TRUE(diff.empty()) << what << test::JoinPaths(diff);
    };
    check([&](auto& r) { TypeParam::Rotate(r, kCentre, {0, 0, 0}, 90); }, "zero rotation axis");
    check([&](auto& r) { TypeParam::Rotate(r, kCentre, {0, 0, 1e-6}, 90); }, "tiny rotation axis");
    check([&](auto& r) { TypeParam::Homothety(r, kCentre, 0); }, "homothety factor 0");
    check([&](auto& r) { TypeParam::Axial(r, kCentre, {0, 0, 0}); }, "axis without direction");
    check([&](auto& r) { TypeParam::Translate(r, {nan, 0, 0}); }, "translation by NaN");
    check([&](auto& r) { TypeParam::Rotate(r, kCentre, {0, 0, 1}, nan); }, "rotation by NaN");
    check([&](auto& r) { TypeParam::Mirror(r, 0, 0, 1, INFINITY); }, "mirror at infinity");
    check([&](auto& r) { TypeParam::Homothety(r, {nan, 0, 0}, 2); }, "homothety about NaN");
}

TYPED_TEST(TransformFamily, MirrorInNoPlaneKeepsEveryPoint) {
    auto r = TypeParam::Make();
    const auto before = Defining(r);
    TypeParam::Mirror(r, 0, 0, 0, 5);
    ExpectSamePoints(before, Defining(r), kTol, "mirror in 0 = 5");
    ExpectFinite(r, "mirror in 0 = 5");
}

TYPED_TEST(TransformFamily, ShiftThereAndBackRestoresEveryDouble) {
    const auto base = TypeParam::Make();
    auto r = base;
    TypeParam::Shift(r, 17, -23);
    const auto moved = Defining(r);
    const auto before = Defining(base);
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(moved[i].x, before[i].x) << "depth is kept";
        EXPECT_EQ(moved[i].y, before[i].y + 17);
        EXPECT_EQ(moved[i].z, before[i].z - 23);
    }
    TypeParam::Shift(r, -17, 23);
    std::vector<double> a, b;
    test::ForEachDouble(base, "", [&](const std::string&, double v) { a.push_back(v); });
    test::ForEachDouble(r, "", [&](const std::string&, double v) { b.push_back(v); });
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i], b[i], 1e-9 * std::max(1.0, std::fabs(a[i]))) << i;
}

TYPED_TEST(TransformFamily, ShiftKeepsTheProjectionWhole) {
    auto r = TypeParam::Make();
    TypeParam::Shift(r, 5, 9);
    // Every point record still sits where its 3D position projects.
    std::vector<std::string> off;
    std::string at;
    double sx = 0, sy = 0, x = 0, y = 0;
    test::ForEachDouble(r, "", [&](const std::string& path, double v) {
        const auto dot = path.rfind('.');
        const std::string field = path.substr(dot + 1);
        if (field == "ScrX") sx = v;
        if (field == "ScrY") sy = v;
        if (field == "X") x = v;
        if (field == "Y") y = v;
        if (field == "Z") {
            Ext px, py;
            ProjectXYZ(px, py, x, y, v);
            if (std::fabs(static_cast<double>(px) - sx) > 0.5 + 1e-9 || std::fabs(static_cast<double>(py) - sy) > 0.5 + 1e-9)
                off.push_back(path.substr(0, dot));
        }
    });
    // Division points of segments are not projected by their update when
    // unused: only report points whose original projection held.
    auto base = TypeParam::Make();
    std::vector<std::string> offBefore;
    test::ForEachDouble(base, "", [&](const std::string& path, double v) {
        const auto dot = path.rfind('.');
        const std::string field = path.substr(dot + 1);
        if (field == "ScrX") sx = v;
        if (field == "ScrY") sy = v;
        if (field == "X") x = v;
        if (field == "Y") y = v;
        if (field == "Z") {
            Ext px, py;
            ProjectXYZ(px, py, x, y, v);
            if (std::fabs(static_cast<double>(px) - sx) > 0.5 + 1e-9 || std::fabs(static_cast<double>(py) - sy) > 0.5 + 1e-9)
                offBefore.push_back(path.substr(0, dot));
        }
    });
    EXPECT_EQ(off, offBefore);
}

TYPED_TEST(TransformFamily, LinksSurviveEveryFamily) {
    auto r = TypeParam::Make();
    // The first point of the record is linked to an element of another object.
    DPoint* first = nullptr;
    if constexpr (std::is_same_v<typename TypeParam::R, DPoint>) first = &r;
    else if constexpr (std::is_same_v<typename TypeParam::R, DLine>) first = &r.P1;
    else if constexpr (requires { r.S[1].P1; }) first = &r.S[1].P1;
    else if constexpr (requires { r.Base.S[1].P1; }) first = &r.Base.S[1].P1;
    else if constexpr (requires { r.Base[1].S[1].P1; }) first = &r.Base[1].S[1].P1;
    else if constexpr (requires { r.Center; }) first = &r.Center;
    else if constexpr (requires { r.Base.Center; }) first = &r.Base.Center;
    else first = &r.Base[1].Center;
    first->Link.b = {2, 1, 0, 2, 0, 0, 0, 0, 0, 0};
    const DLink link = first->Link;
    const std::int32_t number = first->Number;
    TypeParam::Translate(r, {1, 2, 3});
    TypeParam::Rotate(r, kCentre, {0, 1, 0}, 10);
    TypeParam::Homothety(r, kCentre, 1.1);
    TypeParam::Central(r, kCentre);
    TypeParam::Axial(r, kCentre, {0, 0, 1});
    TypeParam::Mirror(r, 1, 0, 0, 0);
    TypeParam::Shift(r, 3, 4);
    EXPECT_EQ(first->Link.b, link.b);
    EXPECT_EQ(first->Number, number);
    ExpectFinite(r, "after every family");
}

// ---------------------------------------------------------------------------
// Each family with random arguments, as a member call and as the point
// primitive it stands for.

struct RandomFamily {
    std::string name;
    std::array<double, 7> a{};
    double stretch = 1;  // how much the family stretches distances

    RandomFamily(int which, Rand& g) : which_(which) {
        const Vec3 c = g.Near(kAt, 100), n = g.Direction();
        switch (which) {
            case 0: name = "in-plane shift", a = {Round(g.Real(-80, 80)), Round(g.Real(-80, 80))}; break;
            case 1: name = "translation", a = {g.Grid(150), g.Grid(150), g.Grid(150)}; break;
            case 2: name = "rotation", a = {c.x, c.y, c.z, n.x, n.y, n.z, g.Real(-180, 180)}; break;
            case 3:
                name = "homothety", a = {c.x, c.y, c.z, (g.Coin() ? 1 : -1) * g.Real(0.4, 2.5)};
                stretch = std::fabs(a[3]);
                break;
            case 4: name = "central symmetry", a = {c.x, c.y, c.z}; break;
            case 5: name = "axial symmetry", a = {c.x, c.y, c.z, n.x, n.y, n.z}; break;
            default: name = "mirror symmetry", a = {n.x, n.y, n.z, -Dot(n, c)}; break;
        }
    }

    template <class K>
    void Apply(typename K::R& r) const {
        switch (which_) {
            case 0: K::Shift(r, a[0], a[1]); break;
            case 1: K::Translate(r, {a[0], a[1], a[2]}); break;
            case 2: K::Rotate(r, {a[0], a[1], a[2]}, {a[3], a[4], a[5]}, a[6]); break;
            case 3: K::Homothety(r, {a[0], a[1], a[2]}, a[3]); break;
            case 4: K::Central(r, {a[0], a[1], a[2]}); break;
            case 5: K::Axial(r, {a[0], a[1], a[2]}, {a[3], a[4], a[5]}); break;
            default: K::Mirror(r, a[0], a[1], a[2], a[3]); break;
        }
    }

    Vec3 Primitive(Vec3 p) const {
        switch (which_) {
            case 0: return p + Vec3{0, a[0], a[1]};
            case 1: MoveByVector(p.x, p.y, p.z, a[0], a[1], a[2]); break;
            case 2: RotateAroundAxis(p.x, p.y, p.z, a[0], a[1], a[2], a[6], a[3], a[4], a[5]); break;
            case 3: ScaleFromCentre(p.x, p.y, p.z, a[0], a[1], a[2], a[3]); break;
            case 4: ReflectInCentre(p.x, p.y, p.z, a[0], a[1], a[2]); break;
            case 5: ReflectInAxis(p.x, p.y, p.z, a[0], a[1], a[2], a[3], a[4], a[5]); break;
            default: ReflectInPlane(p.x, p.y, p.z, a[0], a[1], a[2], a[3]); break;
        }
        return p;
    }

private:
    int which_;
};

// The defining points, and the section centres a sphere derives from its
// section planes.
template <class R>
std::vector<Vec3> Followed(const R& r) {
    auto v = Defining(r);
    if constexpr (std::is_same_v<R, DSf>)
        for (const auto& c : r.Sec) v.push_back(Pos(c.Center));
    return v;
}

std::string Where(Vec3 v) {
    std::ostringstream s;
    s << "(" << v.x << ", " << v.y << ", " << v.z << ")";
    return s.str();
}

// Points are stored to the thousandth by the primitive and again by the
// updates; a point an update derives from others (the apex of a regular
// pyramid, vertex 3 of a typed triangle, a section centre) carries their
// rounding too, stretched by a homothety.
TYPED_TEST(TransformFamily, EveryDefiningPointFollowsThePrimitive) {
    Rand g(70 + static_cast<unsigned>(sizeof(typename TypeParam::R)));
    for (int round = 0; round < 30; ++round) {
        const auto before = TypeParam::Random(g);
        for (int which = 0; which <= 6; ++which) {
            const RandomFamily f(which, g);
            auto after = before;
            f.template Apply<TypeParam>(after);
            const auto p0 = Followed(before), p1 = Followed(after);
            ASSERT_EQ(p0.size(), p1.size());
            for (std::size_t i = 0; i < p0.size(); ++i) {
                const Vec3 want = f.Primitive(p0[i]), d = p1[i] - want;
                EXPECT_LE(std::max({std::fabs(d.x), std::fabs(d.y), std::fabs(d.z)}), 3e-3 * std::max(1.0, f.stretch))
                    << "#" << round << ", " << f.name << ": point " << i << " from " << Where(p0[i]) << " at "
                    << Where(p1[i]) << ", expected " << Where(want);
            }
            if (this->HasFailure()) return;
        }
    }
}

}  // namespace
}  // namespace pelmar
