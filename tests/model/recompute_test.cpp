#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "finite_check.h"
#include "model/defaults.h"
#include "model/geometry.h"
#include "model/recompute.h"
#include "model/translate.h"
#include "model/update.h"
#include "tri_make.h"
#include "vec_near.h"

using namespace pelmar;

namespace {

DLink LinkTo(int kind, int index, std::initializer_list<int> sels = {}) {
    DLink l;
    l.b[0] = static_cast<std::uint8_t>(kind);
    l.b[1] = static_cast<std::uint8_t>(index);
    int level = 1;
    for (int s : sels) l.setSel(level++, static_cast<std::uint8_t>(s));
    return l;
}

DPoint FreePoint(Vec3 v, int number = 0) {
    DPoint p;
    SetPos(p, v);
    p.Typ.v = 2;
    p.Number = number;
    UpdatePoint(p, 0);
    return p;
}

DLine Segment(Vec3 a, Vec3 b, int number = 0) {
    DLine l;
    SetPos(l.P1, a);
    SetPos(l.P2, b);
    l.LineType.v = 1;
    l.Number = number;
    UpdateLine(l, 0);
    return l;
}

void ExpectAt(const DPoint& p, Vec3 v, const char* what) { test::ExpectNear(Pos(p), v, 1e-9, what); }

void MovePoint(DPoint& p, Vec3 v) {
    SetPos(p, v);
    UpdatePoint(p, 0);
}

}  // namespace

// A point (kind 1) built on a triangle's side point, a segment (kind 2) built
// on that point: kind order would compute them before the triangle they sit
// on; the creation numbers (2, 7, 9, with gaps) give the right order.
class LinkChain : public ::testing::Test {
protected:
    void SetUp() override {
        auto& o = doc->Obj;
        o.Po.add(FreePoint({0, 100, 100}, 1));                   // A
        DPoint b = FreePoint({0, 0, 0}, 7);                      // B on point 3 of side 1 of T
        b.Link = LinkTo(4, 1, {1, 3});
        o.Po.add(b);
        DTri t = test::MakeTri({0, 100, 100}, {0, 300, 100}, {0, 200, 250});
        t.Number = 2;
        t.S[1].P1.Link = LinkTo(1, 1);                           // vertex 1 on A
        t.S[1].Frac3.v = 0.25;
        t.S[1].Show3.v = true;
        UpdateTriangle(t, 0, false);
        o.Tr.add(t);
        DLine s = Segment({0, 0, 0}, {0, 400, 400}, 9);          // S from B
        s.P1.Link = LinkTo(1, 2);
        o.Li.add(s);
        RecomputeLinked(*doc);
    }

    void ExpectChainInStep() {
        const auto& o = doc->Obj;
        const DTri& t = o.Tr[1];
        ExpectAt(t.S[1].P1, Pos(o.Po[1]), "vertex 1 on A");
        const Vec3 v1 = Pos(t.S[1].P1), v2 = Pos(t.S[2].P1);
        const Vec3 p3 = v1 + (v2 - v1) * 0.25;
        EXPECT_NEAR(t.S[1].P3.X.v, p3.x, 1e-3);
        EXPECT_NEAR(t.S[1].P3.Y.v, p3.y, 1e-3);
        EXPECT_NEAR(t.S[1].P3.Z.v, p3.z, 1e-3);
        ExpectAt(o.Po[2], Pos(t.S[1].P3), "B on the side's point 3");
        ExpectAt(o.Li[1].P1, Pos(o.Po[2]), "S starts at B");
        // The picture positions follow as well.
        EXPECT_DOUBLE_EQ(o.Li[1].P1.ScrX.v, o.Po[2].ScrX.v);
        EXPECT_DOUBLE_EQ(o.Li[1].P1.ScrY.v, o.Po[2].ScrY.v);
    }

    std::unique_ptr<DProj> doc = NewDocument();
};

TEST_F(LinkChain, FollowsTheFreePointInOnePass) {
    ExpectChainInStep();
    MovePoint(doc->Obj.Po[1], {0, 160, 40});
    RecomputeLinked(*doc);
    ExpectChainInStep();
    ExpectAt(doc->Obj.Tr[1].S[1].P1, {0, 160, 40}, "vertex 1 moved");
}

TEST_F(LinkChain, FollowsAnEditOfTheMiddleObject) {
    DTri& t = doc->Obj.Tr[1];
    const Vec3 before = Pos(doc->Obj.Po[2]);
    SetPos(t.S[2].P1, {0, 360, 60});  // vertex 2 is free
    UpdateTriangle(t, 0, true);
    RecomputeLinked(*doc);
    ExpectChainInStep();
    EXPECT_NE(Pos(doc->Obj.Po[2]).y, before.y);
}

TEST_F(LinkChain, ARepeatedPassChangesNothing) {
    const DProj before = *doc;
    RecomputeLinked(*doc);
    EXPECT_TRUE(test::DifferingDoubles(before.Obj.Tr[1], doc->Obj.Tr[1]).empty());
    EXPECT_TRUE(test::DifferingDoubles(before.Obj.Po[2], doc->Obj.Po[2]).empty());
    EXPECT_TRUE(test::DifferingDoubles(before.Obj.Li[1], doc->Obj.Li[1]).empty());
}

TEST(RecomputeLinked, SegmentPointThenPointOnItInOnePass) {
    auto doc = NewDocument();
    auto& o = doc->Obj;
    o.Po.add(FreePoint({0, 100, 100}, 0));  // A
    DLine s = Segment({0, 100, 100}, {0, 300, 100}, 2);
    s.P1.Link = LinkTo(1, 1);
    s.Frac3.v = 0.5;
    UpdateLine(s, 0);
    o.Li.add(s);
    DPoint b = FreePoint({0, 200, 100}, 3);
    b.Link = LinkTo(2, 1, {3});
    o.Po.add(b);

    MovePoint(o.Po[1], {0, 100, 300});
    RecomputeLinked(*doc);
    ExpectAt(o.Li[1].P1, {0, 100, 300}, "end 1 on A");
    ExpectAt(o.Li[1].P3, {0, 200, 200}, "point 3 at its fraction");
    ExpectAt(o.Po[2], {0, 200, 200}, "B on point 3");
}

TEST(RecomputeLinked, NumbersZeroAndOneAreLeftAlone) {
    auto doc = NewDocument();
    auto& o = doc->Obj;
    o.Po.add(FreePoint({0, 100, 100}, 0));
    DPoint p = FreePoint({0, 50, 50}, 1);
    p.Link = LinkTo(1, 1);
    o.Po.add(p);
    DLine s = Segment({0, 10, 10}, {0, 20, 20}, 0);
    s.P2.Link = LinkTo(1, 1);
    o.Li.add(s);
    const DProj before = *doc;
    RecomputeLinked(*doc);
    EXPECT_TRUE(test::DifferingDoubles(before.Obj.Po[2], o.Po[2]).empty());
    EXPECT_TRUE(test::DifferingDoubles(before.Obj.Li[1], o.Li[1]).empty());
}

TEST(RecomputeLinked, LinksThatNameNothingMoveNothing) {
    auto doc = NewDocument();
    auto& o = doc->Obj;
    o.Po.add(FreePoint({0, 100, 100}, 1));
    o.Li.add(Segment({0, 0, 0}, {0, 50, 0}, 1));

    DPoint beyondCount = FreePoint({0, 10, 20}, 2);
    beyondCount.Link = LinkTo(2, 3, {1});  // segment 3 was deleted: only 1 is live
    o.Po.add(beyondCount);
    DPoint noKind = FreePoint({0, 30, 40}, 3);
    noKind.Link = LinkTo(15, 1);
    o.Po.add(noKind);
    DPoint badSelector = FreePoint({0, 50, 60}, 4);
    badSelector.Link = LinkTo(2, 1, {7});
    o.Po.add(badSelector);

    const DefaultsSource src;
    DCircle c;
    LoadDefaultCircle(c, 1, src);
    SetPos(c.Center, {0, 200, 300});
    c.Q1 = {0, 270, 300};
    c.Q2 = {0, 200, 370};
    UpdateCircle(c, 0);
    c.Number = 5;
    c.Center.Link = LinkTo(1, 9);  // no point 9
    o.Ci.add(c);
    const DCircle circleBefore = o.Ci[1];

    RecomputeLinked(*doc);
    ExpectAt(o.Po[2], {0, 10, 20}, "link beyond the count");
    ExpectAt(o.Po[3], {0, 30, 40}, "kind 15");
    ExpectAt(o.Po[4], {0, 50, 60}, "selector outside the kind's range");
    EXPECT_TRUE(test::DifferingDoubles(circleBefore, o.Ci[1]).empty())
        << test::JoinPaths(test::DifferingDoubles(circleBefore, o.Ci[1]));
}

TEST(RecomputeLinked, HugeCreationNumberIsReachedWithoutWalkingUpToIt) {
    auto doc = NewDocument();
    auto& o = doc->Obj;
    o.Po.add(FreePoint({0, 100, 100}, 1));
    DPoint far = FreePoint({0, 0, 0}, INT_MAX);
    far.Link = LinkTo(1, 1);
    o.Po.add(far);
    DPoint early = FreePoint({0, 0, 0}, 3);  // built on the far one, but numbered before it
    early.Link = LinkTo(1, 2);
    o.Po.add(early);

    RecomputeLinked(*doc);
    ExpectAt(o.Po[2], {0, 100, 100}, "the far number is recomputed");
    ExpectAt(o.Po[3], {0, 0, 0}, "number 3 ran before the point it is built on");
    RecomputeLinked(*doc);
    ExpectAt(o.Po[3], {0, 100, 100}, "the next pass brings it in step");
}

// Objects sharing a creation number run in kind order, then index order: an
// object built on a later one of the same number sees its old position.
TEST(RecomputeLinked, EqualNumbersRunInKindThenIndexOrder) {
    auto doc = NewDocument();
    auto& o = doc->Obj;
    o.Po.add(FreePoint({0, 100, 100}, 1));  // A
    DPoint b = FreePoint({0, 100, 100}, 2);  // B on end 1 of S, both numbered 2
    b.Link = LinkTo(2, 1, {1});
    o.Po.add(b);
    DPoint c = FreePoint({0, 100, 100}, 4);  // C on D, both numbered 4
    c.Link = LinkTo(1, 4);
    o.Po.add(c);
    DPoint d = FreePoint({0, 100, 100}, 4);  // D on A
    d.Link = LinkTo(1, 1);
    o.Po.add(d);
    DLine s = Segment({0, 100, 100}, {0, 300, 100}, 2);
    s.P1.Link = LinkTo(1, 1);
    o.Li.add(s);

    MovePoint(o.Po[1], {0, 150, 200});
    RecomputeLinked(*doc);
    ExpectAt(o.Li[1].P1, {0, 150, 200}, "S follows A");
    ExpectAt(o.Po[2], {0, 100, 100}, "B, a point, ran before the segment of its number");
    ExpectAt(o.Po[4], {0, 150, 200}, "D follows A");
    ExpectAt(o.Po[3], {0, 100, 100}, "C, index 3, ran before D, index 4");
}

TEST(RecomputeLinked, LinkedTriangleLosesItsTypeRule) {
    auto doc = NewDocument();
    auto& o = doc->Obj;
    o.Po.add(FreePoint({0, 100, 100}, 0));
    DTri t = test::MakeTri({0, 100, 100}, {0, 300, 100}, {0, 200, 273.205}, 1);
    UpdateTriangle(t, 0, true);
    t.S[1].P1.Link = LinkTo(1, 1);
    t.Number = 2;
    o.Tr.add(t);
    const Vec3 v2 = test::V(o.Tr[1], 2), v3 = test::V(o.Tr[1], 3);

    MovePoint(o.Po[1], {0, 50, 120});
    RecomputeLinked(*doc);
    EXPECT_EQ(o.Tr[1].Typ.v, 4);
    ExpectAt(o.Tr[1].S[1].P1, {0, 50, 120}, "linked vertex");
    ExpectAt(o.Tr[1].S[2].P1, v2, "vertex 2 not moved by an equilateral rule");
    ExpectAt(o.Tr[1].S[3].P1, v3, "vertex 3 not moved by an equilateral rule");
}

TEST(RecomputeLinked, EllipseMovesByItsCentresDisplacement) {
    auto doc = NewDocument();
    auto& o = doc->Obj;
    o.Po.add(FreePoint({0, 200, 300}, 1));
    DCircle c;
    LoadDefaultCircle(c, 1, DefaultsSource{});
    SetPos(c.Center, {0, 200, 300});
    c.Q1 = {0, 270, 300};
    c.Q2 = {0, 200, 340};
    c.R[1].Angle.v = 30;
    UpdateCircle(c, 0);
    c.Number = 2;
    c.Center.Link = LinkTo(1, 1);
    o.Ci.add(c);
    const DCircle before = o.Ci[1];

    MovePoint(o.Po[1], {0, 250, 280});
    RecomputeLinked(*doc);
    const DCircle& after = o.Ci[1];
    ExpectAt(after.Center, {0, 250, 280}, "centre");
    // The radius directions are read back from whole picture pixels: they
    // keep within a pixel.
    for (std::size_t i = 1; i <= 3; ++i) {
        const Vec3 d0 = Pos(before.R[i].P2) - Pos(before.R[i].P1);
        const Vec3 d1 = Pos(after.R[i].P2) - Pos(after.R[i].P1);
        EXPECT_NEAR(d1.x, d0.x, 1.0) << "radius " << i;
        EXPECT_NEAR(d1.y, d0.y, 1.0) << "radius " << i;
        EXPECT_NEAR(d1.z, d0.z, 1.0) << "radius " << i;
        EXPECT_NEAR(Norm(d1), Norm(d0), 1.0) << "radius " << i;
    }
    EXPECT_NEAR(after.A.v, before.A.v, 1e-9);
    EXPECT_NEAR(after.B.v, before.B.v, 1e-9);
}

namespace {

// The ellipses whose radius segments the user typed: the ellipse itself, a
// sphere's contour and sections, the bases of a cylinder or a cone.  The
// contour is an outline in the picture whose semi-diameter ends lie at depth
// 0: only the angles of its radii carry over, their 3D lengths do not mean
// anything (f's second argument says so).
template <class F>
void ForEachEllipse(DCircle& c, F&& f) { f(c, false); }
template <class F>
void ForEachEllipse(DSf& s, F&& f) {
    f(s.Contour, true);
    for (auto& c : s.Sec) f(c, false);
}
template <class F>
void ForEachEllipse(DZi& z, F&& f) { for (auto& c : z.Base) f(c, false); }
template <class F>
void ForEachEllipse(DKo& k, F&& f) { f(k.Base, false); }

struct Radius {
    double angle, length;
    bool outline;
};

template <class R>
std::vector<Radius> Radii(R& r) {
    std::vector<Radius> out;
    ForEachEllipse(r, [&](DCircle& c, bool outline) {
        for (const auto& s : c.R) out.push_back({s.Angle.v, s.Length.v, outline});
    });
    return out;
}

template <class R>
void ExpectRadiiKept(R& r, const std::vector<Radius>& typed, const std::string& what) {
    const auto now = Radii(r);
    ASSERT_EQ(now.size(), typed.size());
    for (std::size_t i = 0; i < now.size(); ++i) {
        EXPECT_EQ(now[i].angle, typed[i].angle) << what << ": angle of radius " << i;
        if (!typed[i].outline) {
            EXPECT_NEAR(now[i].length, typed[i].length, 2e-3) << what << ": length of radius " << i;
        }
    }
}

}  // namespace

// Round objects whose centre is linked follow it by translation; every radius
// segment keeps the angle it was typed with and its length, however the
// picture pixels fall, through many moves.
TEST(RecomputeLinked, LinkedRoundObjectsKeepTheirRadii) {
    auto doc = NewDocument();
    auto& o = doc->Obj;
    const DefaultsSource src;
    o.Po.add(FreePoint({0, 200, 300}, 1));
    o.Ci.resize(1);
    o.Sf.resize(1);
    o.Zi.resize(1);
    o.Ko.resize(1);
    LoadDefaultCircle(o.Ci[1], 1, src);
    o.Ci[1].Q1 = {20, 270, 310};
    o.Ci[1].Q2 = {-10, 190, 340};
    LoadDefaultOrb(o.Sf[1], 1, src);
    for (std::size_t i = 1; i <= 7; ++i) {
        o.Sf[1].SecOn[i].v = true;
        o.Sf[1].SecNX[i].v = 0.25 * static_cast<double>(i);
        o.Sf[1].SecNY[i].v = 1;
        o.Sf[1].SecH[i].v = 3.5 * static_cast<double>(i);
    }
    LoadDefaultCylinder(o.Zi[1], 1, src);
    LoadDefaultCone(o.Ko[1], 1, src);

    double typed = 7.25;
    auto type = [&](DCircle& c, bool) {
        for (auto& r : c.R) r.Angle.v = std::fmod(typed += 37.125, 360) - 180;
    };
    auto link = [&](auto& rec, DPoint& centre) {
        ForEachEllipse(rec, type);
        centre.Link = LinkTo(1, 1);
        rec.Number = 2;
    };
    link(o.Ci[1], o.Ci[1].Center);
    link(o.Sf[1], o.Sf[1].Center);
    link(o.Zi[1], o.Zi[1].Base[1].Center);
    link(o.Ko[1], o.Ko[1].Base.Center);
    UpdateCircle(o.Ci[1], 0);
    UpdateOrb(o.Sf[1], 0);
    UpdateCylinder(o.Zi[1], 0);
    UpdateCone(o.Ko[1], 0);
    RecomputeLinked(*doc);
    const auto ellipse = Radii(o.Ci[1]), sphere = Radii(o.Sf[1]), cylinder = Radii(o.Zi[1]),
               cone = Radii(o.Ko[1]);

    std::mt19937 rng(5);
    std::uniform_real_distribution<double> step(-60, 60);
    for (int move = 1; move <= 12; ++move) {
        const std::string at = "move " + std::to_string(move);
        MovePoint(o.Po[1], Pos(o.Po[1]) + Vec3{step(rng), step(rng), step(rng)});
        RecomputeLinked(*doc);
        ExpectRadiiKept(o.Ci[1], ellipse, "ellipse, " + at);
        ExpectRadiiKept(o.Sf[1], sphere, "sphere, " + at);
        ExpectRadiiKept(o.Zi[1], cylinder, "cylinder, " + at);
        ExpectRadiiKept(o.Ko[1], cone, "cone, " + at);

        // Moved by hand, then back onto the point by the recompute.
        const Vec3 v{step(rng), step(rng), step(rng)};
        TranslateCircle(o.Ci[1], v.x, v.y, v.z);
        TranslateOrb(o.Sf[1], v.x, v.y, v.z);
        TranslateCylinder(o.Zi[1], v.x, v.y, v.z);
        TranslateCone(o.Ko[1], v.x, v.y, v.z);
        ExpectRadiiKept(o.Ci[1], ellipse, "translated ellipse, " + at);
        ExpectRadiiKept(o.Sf[1], sphere, "translated sphere, " + at);
        ExpectRadiiKept(o.Zi[1], cylinder, "translated cylinder, " + at);
        ExpectRadiiKept(o.Ko[1], cone, "translated cone, " + at);
        RecomputeLinked(*doc);
        ExpectAt(o.Sf[1].Center, Pos(o.Po[1]), "sphere centre back on the point");
        if (HasFailure()) return;
    }
}

TEST(RecomputeLinked, DependentEllipseWithoutLinkIsNotRecomputed) {
    auto doc = NewDocument();
    DCircle c;
    LoadDefaultCircle(c, 1, DefaultsSource{});
    c.Number = 2;
    c.A.v = 5;  // out of step with its semi-diameters: an update would change it
    doc->Obj.Ci.add(c);
    RecomputeLinked(*doc);
    EXPECT_EQ(doc->Obj.Ci[1].A.v, 5);
}

// Every kind follows a link of its first defining point.
class EveryKindFollows : public ::testing::Test {
protected:
    void SetUp() override {
        doc->Obj.Po.add(FreePoint({0, 120, 150}, 1));
        ForEachStore(doc->Obj, [](auto& s) {
            if (s.count() == 0) s.resize(1);
        });
    }
    void MoveTarget() {
        MovePoint(doc->Obj.Po[1], target);
        RecomputeLinked(*doc);
    }
    template <class R>
    void Link(R& rec, DPoint& defining) {
        defining.Link = LinkTo(1, 1);
        rec.Number = 2;
    }

    std::unique_ptr<DProj> doc = NewDocument();
    DefaultsSource src;
    Vec3 target{10, 180, 220};
};

TEST_F(EveryKindFollows, PlaneKinds) {
    auto& o = doc->Obj;
    LoadDefaultLine(o.Li[1], 1, src);
    Link(o.Li[1], o.Li[1].P2);
    LoadDefaultCircle(o.Ci[1], 1, src);
    Link(o.Ci[1], o.Ci[1].Center);
    LoadDefaultTriangle(o.Tr[1], 1, src);
    Link(o.Tr[1], o.Tr[1].S[3].P1);
    LoadDefaultTetragon(o.Kv[1], 1, src);
    Link(o.Kv[1], o.Kv[1].S[4].P1);
    LoadDefaultXOY(o.Xy[1], 1, src);
    Link(o.Xy[1], o.Xy[1].Center);
    MoveTarget();
    ExpectAt(o.Li[1].P2, target, "segment end 2");
    ExpectAt(o.Ci[1].Center, target, "ellipse centre");
    ExpectAt(o.Tr[1].S[3].P1, target, "triangle vertex 3");
    ExpectAt(o.Tr[1].S[2].P2, target, "triangle side 2 ends at vertex 3");
    ExpectAt(o.Kv[1].S[4].P1, target, "tetragon vertex 4");
    ExpectAt(o.Xy[1].Center, target, "2D system centre");
    EXPECT_DOUBLE_EQ(o.Xy[1].AxisX.P1.Z.v, target.z);
}

TEST_F(EveryKindFollows, Solids) {
    auto& o = doc->Obj;
    LoadDefaultOrb(o.Sf[1], 1, src);
    Link(o.Sf[1], o.Sf[1].Center);
    LoadDefaultCylinder(o.Zi[1], 1, src);
    Link(o.Zi[1], o.Zi[1].Base[1].Center);
    LoadDefaultCone(o.Ko[1], 1, src);
    Link(o.Ko[1], o.Ko[1].Base.Center);
    LoadDefaultPyramid3(o.I3[1], 1, src);
    Link(o.I3[1], o.I3[1].HeightLine.P2);
    LoadDefaultPyramid4(o.I4[1], 1, src);
    Link(o.I4[1], o.I4[1].Base.S[2].P1);
    LoadDefaultPrism3(o.R3[1], 1, src);
    Link(o.R3[1], o.R3[1].Base[1].S[1].P1);
    LoadDefaultPrism4(o.R4[1], 1, src);
    Link(o.R4[1], o.R4[1].Base[1].S[3].P1);
    LoadDefaultXYZ(o.Xz[1], 1, src);
    Link(o.Xz[1], o.Xz[1].Center);
    const Vec3 upperBefore = Pos(o.Zi[1].Base[2].Center) - Pos(o.Zi[1].Base[1].Center);

    MoveTarget();
    ExpectAt(o.Sf[1].Center, target, "sphere centre");
    ExpectAt(o.Zi[1].Base[1].Center, target, "cylinder base centre");
    const Vec3 upperAfter = Pos(o.Zi[1].Base[2].Center) - Pos(o.Zi[1].Base[1].Center);
    EXPECT_NEAR(upperAfter.z, upperBefore.z, 1e-3) << "the cylinder moves as a whole";
    ExpectAt(o.Ko[1].Base.Center, target, "cone base centre");
    ExpectAt(o.I3[1].HeightLine.P2, target, "pyramid apex");
    ExpectAt(o.I4[1].Base.S[2].P1, target, "pyramid base vertex 2");
    ExpectAt(o.R3[1].Base[1].S[1].P1, target, "prism base vertex 1");
    ExpectAt(o.R4[1].Base[1].S[3].P1, target, "prism base vertex 3");
    ExpectAt(o.Xz[1].Center, target, "3D system centre");
}

// Settled one by one in the pass's order, exactly the objects built on the
// moved point say they changed, in that order, not the dependent segment
// built on nothing; a second pass, and a pass after a move to where the point
// stands, change none.
TEST_F(EveryKindFollows, SettlingNamesTheObjectsItChanged) {
    const auto settle = [&] {
        std::vector<ObjectAt> changed;
        const RealRounding exact = [](double v, double& out) { return out = v, true; };
        for (const ObjectAt& o : DependentsInOrder(*doc))
            WithObject(doc->Obj, o.kind, o.index, [&](auto& rec) {
                if (SettleDependent(*doc, rec, exact) != Settled::Same) changed.push_back(o);
            });
        return changed;
    };
    auto& o = doc->Obj;
    ForEachStore(o, [&](auto& s) { s.resize(0); });
    o.Po.add(FreePoint({0, 120, 150}, 1));
    std::vector<ObjectAt> linked;
    int number = 2;
    Kind kind = Kind::po;
    const auto add = [&](auto& store, auto load, auto defining) {
        store.resize(1);
        auto& rec = store[1];
        load(rec, 1, src);
        defining(rec).Link = LinkTo(1, 1);
        rec.Number = number++;
        kind = static_cast<Kind>(KindNumber(kind) + 1);
        linked.push_back({kind, 1});
    };
    add(o.Li, LoadDefaultLine, [](DLine& r) -> DPoint& { return r.P2; });
    add(o.Ci, LoadDefaultCircle, [](DCircle& r) -> DPoint& { return r.Center; });
    add(o.Tr, LoadDefaultTriangle, [](DTri& r) -> DPoint& { return r.S[3].P1; });
    add(o.Kv, LoadDefaultTetragon, [](DKv& r) -> DPoint& { return r.S[4].P1; });
    add(o.Xy, LoadDefaultXOY, [](DXOY& r) -> DPoint& { return r.Center; });
    add(o.Sf, LoadDefaultOrb, [](DSf& r) -> DPoint& { return r.Center; });
    add(o.Zi, LoadDefaultCylinder, [](DZi& r) -> DPoint& { return r.Base[1].Center; });
    add(o.Ko, LoadDefaultCone, [](DKo& r) -> DPoint& { return r.Base.Center; });
    add(o.I3, LoadDefaultPyramid3, [](DPi3& r) -> DPoint& { return r.HeightLine.P2; });
    add(o.I4, LoadDefaultPyramid4, [](DPi4& r) -> DPoint& { return r.Base.S[2].P1; });
    add(o.R3, LoadDefaultPrism3, [](DPr3& r) -> DPoint& { return r.Base[1].S[1].P1; });
    add(o.R4, LoadDefaultPrism4, [](DPr4& r) -> DPoint& { return r.Base[1].S[3].P1; });
    add(o.Xz, LoadDefaultXYZ, [](DXZ& r) -> DPoint& { return r.Center; });
    // A point on the segment's end, computed after it; a segment built on
    // nothing, numbered among them.
    DPoint on = FreePoint({0, 0, 0}, number++);
    on.Link = LinkTo(2, 1, {2});
    o.Po.add(on);
    linked.push_back({Kind::po, 2});
    DLine alone = Segment({0, 10, 10}, {0, 60, 90}, 3);
    o.Li.add(alone);
    RecomputeLinked(*doc);

    MovePoint(o.Po[1], target);
    EXPECT_EQ(settle(), linked);
    ExpectAt(o.Po[2], target, "the point on the segment's end");
    EXPECT_TRUE(settle().empty());
    MovePoint(o.Po[1], target);
    EXPECT_TRUE(settle().empty());
}

TEST(ClearLinkedFormulas, EmptiesOnlyFormulasOfLinkedPointsOfDependents) {
    auto doc = NewDocument();
    auto& o = doc->Obj;
    const std::array<std::string, 4> anim{"x", "2*x", "3", "t"};
    auto point = [&](int number, bool linked) {
        DPoint p = FreePoint({0, 1, 1}, number);
        p.Anim = anim;
        if (linked) p.Link = LinkTo(1, 1);
        return p;
    };
    o.Po.add(point(0, false));
    o.Po.add(point(2, true));   // emptied
    o.Po.add(point(2, false));  // not linked: kept
    o.Po.add(point(1, true));   // not dependent: kept
    DLine s = Segment({0, 0, 0}, {0, 1, 1}, 3);
    s.P1.Anim = s.P2.Anim = anim;
    s.P2.Link = LinkTo(1, 1);
    o.Li.add(s);

    ClearLinkedFormulas(*doc);
    EXPECT_EQ(o.Po[2].Anim, (std::array<std::string, 4>{}));
    EXPECT_EQ(o.Po[3].Anim, anim);
    EXPECT_EQ(o.Po[4].Anim, anim);
    EXPECT_EQ(o.Li[1].P1.Anim, anim);
    EXPECT_EQ(o.Li[1].P2.Anim, (std::array<std::string, 4>{}));
}

TEST(ClearLinkedFormulas, PyramidsAndPrisms) {
    auto doc = NewDocument();
    auto& o = doc->Obj;
    o.I3.resize(2);
    o.R3.resize(2);
    const std::array<std::string, 4> anim{"x", "y", "z", "a"};
    for (std::size_t i = 1; i <= 2; ++i) {
        o.I3[i].Number = 2;
        o.I3[i].Anim = "sin(x)";
        o.I3[i].Base.S[1].P1.Link = LinkTo(1, 1);
        o.I3[i].Base.S[1].P1.Anim = anim;
        o.I3[i].HeightLine.P2.Anim = anim;
    }
    o.I3[2].HeightLine.P2.Link = LinkTo(1, 1);
    o.R3[1].Number = 2;  // no links at all
    o.R3[2].Number = 1;
    for (std::size_t i = 1; i <= 2; ++i) o.R3[i].Anim = {"a", "b", "c"};

    ClearLinkedFormulas(*doc);
    EXPECT_EQ(o.I3[1].Anim, "sin(x)") << "apex free: the pyramid keeps its formula";
    EXPECT_EQ(o.I3[1].Base.S[1].P1.Anim, (std::array<std::string, 4>{}));
    EXPECT_EQ(o.I3[1].HeightLine.P2.Anim, anim);
    EXPECT_EQ(o.I3[2].Anim, "") << "apex linked";
    EXPECT_EQ(o.I3[2].HeightLine.P2.Anim, (std::array<std::string, 4>{}));
    EXPECT_EQ(o.R3[1].Anim, (std::array<std::string, 3>{}));
    EXPECT_EQ(o.R3[2].Anim, (std::array<std::string, 3>{"a", "b", "c"}));
}
