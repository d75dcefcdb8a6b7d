// The reshape rules of a typed value and the drag rules of every kind,
// without windows: properties over random figures and one default object of
// every kind.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "model/construct.h"
#include "model/defaults.h"
#include "model/drag_rules.h"
#include "model/figure_reshape.h"
#include "model/update.h"
#include "random_shapes.h"
#include "record_walk.h"
#include "tri_make.h"

namespace pelmar::test {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

void ExpectSame(Vec3 a, Vec3 b) {
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
}

double Measured(Vec3 v, Vec3 a, Vec3 b) {
    const Vec3 u = a - v, w = b - v;
    return std::acos(std::clamp(Dot(u, w) / (Norm(u) * Norm(w)), -1.0, 1.0)) * 180 / M_PI;
}

TEST(FigureReshape, TypedValuesReadBackAndImpossibleOnesGiveNothing) {
    RandomShapes rnd(24);
    for (int n = 0; n < 150; ++n) {
        const auto v = rnd.Polygon<3>(rnd.Point(200));
        const DTri t = MakeTri(v[0], v[1], v[2], 4);
        const int i = rnd.Int(1, 3);
        const double l = std::nearbyint(rnd.Real(1, 400) * 1000) / 1000;  // vertices keep to the thousandths
        const auto side = TriangleWithSide(t, i, l);
        ASSERT_TRUE(side) << n;
        EXPECT_NEAR(LineLength(side->S[static_cast<std::size_t>(i)]), l, 2e-3);
        ExpectSame(Pos(side->S[static_cast<std::size_t>(i % 3 + 1)].P1), Pos(side->S[static_cast<std::size_t>(i)].P2));
        // The free triangle turns the side from the vertex to the angle.
        const double a = rnd.Real(5, 175);
        static constexpr int kCase[4][3] = {{0, 0, 0}, {1, 2, 3}, {2, 1, 3}, {3, 1, 2}};
        const auto angle = TriangleWithAngle(t, i, a);
        ASSERT_TRUE(angle) << n;
        const auto& c = kCase[i];
        EXPECT_NEAR(Measured(V(*angle, c[0]), V(*angle, c[1]), V(*angle, c[2])), a, 1e-6) << n << " vertex " << i;
        for (double bad : {0.0, -l, NaN}) EXPECT_FALSE(TriangleWithSide(t, i, bad)) << bad;
        for (double bad : {0.0, 180.0, 200.0, -a, NaN}) EXPECT_FALSE(TriangleWithAngle(t, i, bad)) << bad;

        // An isosceles triangle's legs cannot be shorter than half the base.
        DTri iso = t;
        iso.Typ.v = 2;
        const double b = iso.S[1].Length.v = LineLength(iso.S[1]);
        const auto leg = TriangleWithSide(iso, 2, b / 2 + l);
        ASSERT_TRUE(leg);
        EXPECT_NEAR(leg->Height.v, std::sqrt((b / 2 + l) * (b / 2 + l) - b * b / 4), 1e-9 * (b + l));
        EXPECT_FALSE(TriangleWithSide(iso, 2, b / 2 * 0.99));

        const auto kv = rnd.Polygon<4>(rnd.Point(200));
        const DKv k = MakeKv(kv[0], kv[1], kv[2], kv[3]);
        const auto kside = TetragonWithSide(k, i + 1, l);
        ASSERT_TRUE(kside);
        EXPECT_NEAR(LineLength(kside->S[static_cast<std::size_t>(i + 1)]), l, 2e-3);
        EXPECT_FALSE(TetragonWithSide(k, i, -l));
        DKv rhomb = k;
        rhomb.Typ.v = 3;
        if (const auto r = TetragonWithAngle(rhomb, 1, a)) {
            EXPECT_DOUBLE_EQ(r->Ang[2].v, 180 - a);
        }
        EXPECT_FALSE(TetragonWithAngle(rhomb, 1, 180));
    }
    const DTri t = MakeTri({0, 0, 0}, {0, 100, 0}, {0, 40, 80}, 1);
    EXPECT_EQ(TriangleWithHeight(t, 55)->Height.v, 55);
    DKv k = MakeKv({0, 0, 0}, {0, 100, 0}, {0, 100, 50}, {0, 0, 50});
    k.Typ.v = 5;
    for (double bad : {-1.0, 2e6, NaN}) {
        EXPECT_FALSE(TriangleWithHeight(t, bad)) << bad;
        EXPECT_FALSE(TetragonWithHeight(k, bad)) << bad;
    }
}

// Every point of a record, picture and model position.
struct Points {
    std::vector<std::pair<std::string, std::array<double, 5>>> all;
    void point(const std::string& at, const DPoint& p) {
        all.push_back({at, {p.ScrX.v, p.ScrY.v, p.X.v, p.Y.v, p.Z.v}});
    }
    void circle(const std::string&, const DCircle&) {}
};
template <class R>
Points PointsOf(const R& r) {
    Points p;
    WalkParts(r, "", p);
    return p;
}

// One default object of every kind, recomputed.
template <class R>
R Default() {
    R r;
    LoadDefault(r, 1, DefaultsSource{});
    return r;
}
// A mouse step of (dx, dy) with the pointer at (x, y).
DragStep Step(double dx, double dy, double x = 0, double y = 0) {
    DragStep s;
    s.dx = dx;
    s.dy = dy;
    s.x = x;
    s.y = y;
    return s;
}

using AllKinds = std::tuple<DPoint, DLine, DCircle, DTri, DKv, DXOY, DSf, DZi, DKo, DPi3, DPi4, DPr3, DPr4, DXZ>;

template <class R>
void ExpectBodyDrag(const R& start, int kindNumber) {
    const std::string kind = InfoOf(static_cast<Kind>(kindNumber)).code;
    DragStep there = Step(7, -4);
    DragStep back = Step(-7, 4);
    const R moved = Dragged(start, AnyDrag::Body, there);
    const Points a = PointsOf(start), b = PointsOf(moved), c = PointsOf(Dragged(moved, AnyDrag::Body, back));
    ASSERT_EQ(a.all.size(), b.all.size());
    for (std::size_t i = 0; i < a.all.size(); ++i) {
        const auto& [at, p] = a.all[i];
        // The whole object moves with the mouse in the picture, and back
        // again (a segment's spare points P3 and P4 may stay behind).
        const bool spare = at.ends_with(".P3") || at.ends_with(".P4");
        if (!spare) {
            EXPECT_NEAR(b.all[i].second[0], p[0] + 7, 1e-6) << kind << at;
            EXPECT_NEAR(b.all[i].second[1], p[1] - 4, 1e-6) << kind << at;
        }
        for (std::size_t q = 0; q < 5; ++q) EXPECT_NEAR(c.all[i].second[q], p[q], 1e-6) << kind << at << " " << q;
    }
}

TEST(DragRules, TheBodyOfEveryKindMovesWithTheMouseAndBack) {
    int kind = 0;
    std::apply([&](auto... r) { (ExpectBodyDrag(Default<decltype(r)>(), ++kind), ...); }, AllKinds{});
}

TEST(DragRules, HandlesReshapeAsNamed) {
    // A handle taken and dragged to where it was taken leaves the shape.
    DLine l = Default<DLine>();
    DragGrip grip;
    TakeHandle(l, LiDrag::End2, static_cast<int>(l.P2.ScrX.v) + 3, static_cast<int>(l.P2.ScrY.v) - 2, grip);
    DragStep still{0, 0, l.P2.ScrX.v + 3, l.P2.ScrY.v - 2, grip};
    EXPECT_EQ(Dragged(l, LiDrag::End2, still).P2.ScrX.v, std::nearbyint(l.P2.ScrX.v));
    EXPECT_EQ(Dragged(l, LiDrag::End2, still).P1.ScrX.v, l.P1.ScrX.v);

    DCircle c = Default<DCircle>();
    const double cx = c.Center.ScrX.v, cy = c.Center.ScrY.v;
    TakeHandle(c, CiDrag::Radius, static_cast<int>(cx + c.A.v + 2), static_cast<int>(cy), grip);
    DragStep out{0, 0, cx + c.A.v + 12, cy, grip};
    EXPECT_NEAR(Dragged(c, CiDrag::Radius, out).A.v, c.A.v + 10, 1.0);
    DragStep inside{0, 0, cx, cy, grip};
    EXPECT_EQ(Dragged(c, CiDrag::Radius, inside).A.v, 0) << "a radius never turns negative";
    const DCircle wide = Dragged(c, CiDrag::SemiAxisA, Step(0, 0, cx + 90, cy));
    EXPECT_EQ(wide.A.v, 90);
    EXPECT_EQ(wide.B.v, c.B.v);

    // A side of a free triangle moves its two vertices, the third stays.
    DTri t = Default<DTri>();
    const DTri s = Dragged(t, TrDrag::Side1, Step(5, 6));
    EXPECT_NEAR(s.S[1].P1.Y.v, t.S[1].P1.Y.v + 5, 1e-9);
    EXPECT_NEAR(s.S[2].P1.Z.v, t.S[2].P1.Z.v + 6, 1e-9);
    ExpectSame(Pos(s.S[3].P1), Pos(t.S[3].P1));

    // An axis end of a coordinate system stays on its side of the centre.
    DXOY x = Default<DXOY>();
    TakeHandle(x, XyDrag::AxisXEnd1, static_cast<int>(x.AxisX.P1.ScrX.v), static_cast<int>(x.AxisX.P1.ScrY.v), grip);
    const DXOY far = Dragged(x, XyDrag::AxisXEnd1, DragStep{0, 0, x.Center.Y.v + 50, x.AxisX.P1.ScrY.v, grip});
    EXPECT_LT(far.AxisX.P1.Y.v, far.Center.Y.v);
    const DXOY near = Dragged(x, XyDrag::AxisXEnd1, DragStep{0, 0, x.AxisX.P1.Y.v + 5, x.AxisX.P1.ScrY.v, grip});
    EXPECT_NEAR(near.AxisX.P1.Y.v, x.AxisX.P1.Y.v + 5, 1.0);

    // A cylinder's base slides along its axis.
    DZi z = Default<DZi>();
    const DZi tall = Dragged(z, ZiDrag::UpperBase, Step(0, 20));
    const Vec3 before = Pos(z.Base[2].Center) - Pos(z.Base[1].Center);
    const Vec3 after = Pos(tall.Base[2].Center) - Pos(tall.Base[1].Center);
    EXPECT_NEAR(Norm(Cross(before, after)), 0, 1e-6 * Norm(before) * Norm(after));
    EXPECT_GT(Norm(after), Norm(before));
}

}  // namespace
}  // namespace pelmar::test
