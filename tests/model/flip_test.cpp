#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>

#include "model/flip.h"

using namespace pelmar;

namespace {

// Visits every point, segment, ellipse, triangle and tetragon inside a record.
struct Walker {
    std::function<void(DPoint&)> point = [](DPoint&) {};
    std::function<void(DLine&)> line = [](DLine&) {};
    std::function<void(DCircle&)> circle = [](DCircle&) {};
    std::function<void(std::uint8_t&)> sideByte = [](std::uint8_t&) {};

    void operator()(DPoint& p) const { point(p); }
    void operator()(DLine& l) const {
        line(l);
        for (DPoint* p : {&l.P1, &l.P2, &l.P3, &l.P4}) (*this)(*p);
    }
    void operator()(DCircle& c) const {
        circle(c);
        (*this)(c.Center);
        for (auto& r : c.R) (*this)(r);
    }
    void operator()(DTri& t) const {
        sideByte(t.Side3.v);
        for (auto& s : t.S) (*this)(s);
        for (auto& c : t.Circ) (*this)(c);
        for (auto& l : t.Lines) (*this)(l);
    }
    void operator()(DKv& k) const {
        sideByte(k.Side3.v);
        for (auto& s : k.S) (*this)(s);
        for (auto& c : k.Circ) (*this)(c);
        for (auto& d : k.Diag) (*this)(d);
        (*this)(k.Center);
    }
    void operator()(DXOY& x) const {
        (*this)(x.Center);
        (*this)(x.AxisX);
        (*this)(x.AxisY);
    }
    void operator()(DSf& s) const {
        (*this)(s.Center);
        (*this)(s.Contour);
        for (auto& c : s.Sec) (*this)(c);
    }
    void operator()(DZi& z) const {
        (*this)(z.Axis);
        for (auto& b : z.Base) (*this)(b);
        for (auto& k : z.Sec) (*this)(k);
        (*this)(z.OutSphere);
        (*this)(z.InSphere);
    }
    void operator()(DKo& k) const {
        (*this)(k.Axis);
        (*this)(k.Base);
        for (auto& t : k.Sec) (*this)(t);
        (*this)(k.OutSphere);
        (*this)(k.InSphere);
    }
    template <class B, std::size_t N>
    void operator()(DPyramid<B, N>& p) const {
        (*this)(p.HeightLine);
        (*this)(p.Base);
        for (auto& f : p.Face) (*this)(f);
        (*this)(p.OutSphere);
        (*this)(p.InSphere);
    }
    template <class B, std::size_t N>
    void operator()(DPrism<B, N>& p) const {
        for (auto& b : p.Base) (*this)(b);
        for (auto& s : p.Side) (*this)(s);
        (*this)(p.OutSphere);
        (*this)(p.InSphere);
    }
    void operator()(DXZ& x) const {
        (*this)(x.Center);
        (*this)(x.AxisX);
        (*this)(x.AxisY);
        (*this)(x.AxisZ);
    }
    void operator()(DSubProj& s) const {
        ForEachStore(s, [this](auto& store) {
            for (std::size_t i = 1; i <= store.count(); ++i) (*this)(store[i]);
        });
    }
    void operator()(WorkingCopies& w) const {
        (*this)(w.CurPoint); (*this)(w.CurLine); (*this)(w.CurCircle); (*this)(w.CurTri);
        (*this)(w.CurKv); (*this)(w.CurXOY); (*this)(w.CurSf); (*this)(w.CurZi);
        (*this)(w.CurKo); (*this)(w.CurPi3); (*this)(w.CurPi4); (*this)(w.CurPr3);
        (*this)(w.CurPr4); (*this)(w.CurXZ);
    }
};

// Gives every flippable value of a record a distinct value.
template <class T>
void Fill(T& rec, int& n) {
    Walker w;
    w.point = [&n](DPoint& p) {
        ++n;
        p.ScrX.v = n;
        p.ScrY.v = n * 0.5;
        p.X.v = n * 2.0;
        p.Y.v = n * 3.0;
        p.Z.v = n * 0.25;
        p.LabelAngle.v = n % 720 - 360;
    };
    w.line = [&n](DLine& l) { l.Angle.v = ++n % 360 - 179.5; };
    w.circle = [&n](DCircle& c) {
        c.Tilt.v = ++n % 90;
        c.Arc1.v = n % 100;
        c.Arc2.v = n % 100 + 45;
        c.DashArc1.v = -(n % 50);
        c.DashArc2.v = n % 50 + 1;
        c.A.v = n;
    };
    w.sideByte = [&n](std::uint8_t& b) { b = static_cast<std::uint8_t>(++n % 2); };
    w(rec);
}

// Every value the flip touches, in walking order.
template <class T>
std::vector<double> Snapshot(T& rec) {
    std::vector<double> v;
    Walker w;
    w.point = [&v](DPoint& p) {
        for (double d : {p.ScrX.v, p.ScrY.v, p.X.v, p.Y.v, p.Z.v, double(p.LabelAngle.v)}) v.push_back(d);
    };
    w.line = [&v](DLine& l) { v.push_back(l.Angle.v); };
    w.circle = [&v](DCircle& c) {
        for (double d : {c.Tilt.v, c.Arc1.v, c.Arc2.v, c.DashArc1.v, c.DashArc2.v, c.A.v}) v.push_back(d);
    };
    w.sideByte = [&v](std::uint8_t& b) { v.push_back(b); };
    w(rec);
    return v;
}

std::unique_ptr<DProj> FullDocument() {
    auto d = NewDocument();
    ForEachStore(d->Obj, [](auto& s) { s.resize(s.capacity()); });
    int n = 0;
    Fill(d->Obj, n);
    return d;
}

}  // namespace

TEST(FlipYPoint, ModesChangeZAndAreInverse) {
    DPoint p;
    p.ScrY.v = 100;
    p.Z.v = 50;
    p.X.v = 4;
    p.Y.v = 5;
    p.LabelAngle.v = 30;
    FlipYPoint(p, FlipToScreen, 600);
    EXPECT_EQ(p.ScrY.v, 500);
    EXPECT_EQ(p.Z.v, -550);
    EXPECT_EQ(p.LabelAngle.v, -30);
    EXPECT_EQ(p.X.v, 4);
    EXPECT_EQ(p.Y.v, 5);
    FlipYPoint(p, FlipFromOldFile, 600);
    EXPECT_EQ(p.ScrY.v, 100);
    EXPECT_EQ(p.Z.v, 50);
    EXPECT_EQ(p.LabelAngle.v, 30);

    FlipYPoint(p, 7, 600);  // any other mode leaves Z
    EXPECT_EQ(p.ScrY.v, 500);
    EXPECT_EQ(p.Z.v, 50);

    p.LabelAngle.v = std::numeric_limits<std::int32_t>::min();  // no overflow on negation
    FlipYPoint(p, 7, 600);
    EXPECT_EQ(p.LabelAngle.v, std::numeric_limits<std::int32_t>::min());
}

TEST(FlipYParts, AnglesArcsAndSideBytes) {
    DLine l;
    l.Angle.v = 30;
    l.P3.ScrY.v = 10;
    FlipYLine(l, FlipToScreen, 600);
    EXPECT_EQ(l.Angle.v, -30);
    EXPECT_EQ(l.P3.ScrY.v, 590);
    EXPECT_EQ(l.P1.Z.v, -600);

    DCircle c;
    c.Arc1.v = 10;
    c.Arc2.v = 80;
    c.DashArc1.v = 0;
    c.DashArc2.v = 360;
    c.Tilt.v = 15;
    c.A.v = 40;
    FlipYCircle(c, FlipToScreen, 600);
    EXPECT_EQ(c.Arc1.v, -80);
    EXPECT_EQ(c.Arc2.v, -10);
    EXPECT_EQ(c.DashArc1.v, -360);
    EXPECT_EQ(c.DashArc2.v, 0);
    EXPECT_EQ(c.Tilt.v, -15);
    EXPECT_EQ(c.A.v, 40);
    EXPECT_EQ(c.R[3].P2.ScrY.v, 600);

    DTri t;
    EXPECT_EQ(t.Side3.v, 0);
    FlipYTriangle(t, FlipToScreen, 600);
    EXPECT_EQ(t.Side3.v, 1);
    FlipYTriangle(t, FlipFromOldFile, 600);
    EXPECT_EQ(t.Side3.v, 0);

    DKv k;
    k.Side3.v = 1;
    FlipYTetragon(k, FlipToScreen, 600);
    EXPECT_EQ(k.Side3.v, 0);
    EXPECT_EQ(k.Center.ScrY.v, 600);
}

TEST(FlipYKinds, EveryPointOfEveryKindIsFlippedExactlyOnce) {
    // From all-zero records, a point flipped once has picture Y = H and Z = -H;
    // a point flipped twice or not at all shows up.
    auto d = NewDocument();
    ForEachStore(d->Obj, [](auto& s) { s.resize(1); });
    FlipYDocument(*d, nullptr, FlipToScreen, 600);
    int points = 0, bad = 0;
    Walker w;
    w.point = [&](DPoint& p) {
        ++points;
        if (p.ScrY.v != 600 || p.Z.v != -600) ++bad;
    };
    w(d->Obj);
    EXPECT_GT(points, 2000);
    EXPECT_EQ(bad, 0);

    // Side bytes of every triangle and tetragon inside the solids toggle once.
    int ones = 0, zeros = 0;
    Walker s;
    s.sideByte = [&](std::uint8_t& b) { (b == 1 ? ones : zeros)++; };
    s(d->Obj);
    EXPECT_GT(ones, 0);
    EXPECT_EQ(zeros, 0);
}

TEST(FlipYDocument, FullDocumentFlipsToScreenAndBack) {
    auto d = FullDocument();
    ASSERT_EQ(d->Obj.Po.count(), 50);
    ASSERT_EQ(d->Obj.Xz.count(), 2);
    const std::vector<double> before = Snapshot(d->Obj);

    FlipYDocument(*d, nullptr, FlipToScreen, 600);
    const std::vector<double> flipped = Snapshot(d->Obj);
    ASSERT_EQ(flipped.size(), before.size());
    EXPECT_NE(flipped, before);
    // Spot checks deep inside the solids.
    const DPoint& deep = d->Obj.Zi[3].InSphere.Sec[7].R[3].P4;
    DProj fresh = *FullDocument();
    const DPoint& orig = fresh.Obj.Zi[3].InSphere.Sec[7].R[3].P4;
    EXPECT_EQ(deep.ScrY.v, 600 - orig.ScrY.v);
    EXPECT_EQ(deep.Z.v, orig.Z.v - 600);
    EXPECT_EQ(deep.ScrX.v, orig.ScrX.v);
    EXPECT_EQ(d->Obj.R4[2].Base[2].Side3.v, fresh.Obj.R4[2].Base[2].Side3.v ^ 1);

    FlipYDocument(*d, nullptr, FlipFromOldFile, 600);
    EXPECT_EQ(Snapshot(d->Obj), before);
}

TEST(FlipYDocument, EmptyDocumentAndWorkingCopies) {
    auto d = NewDocument();
    WorkingCopies w;
    int n = 0;
    Fill(w, n);
    const std::vector<double> wBefore = Snapshot(w);
    const double zBefore = w.CurXZ.AxisZ.P2.Z.v;

    FlipYDocument(*d, nullptr, FlipToScreen, 600);  // nothing to flip, copies untouched
    EXPECT_EQ(Snapshot(d->Obj).size(), 0u);
    EXPECT_EQ(Snapshot(w), wBefore);

    FlipYDocument(*d, &w, FlipFromOldFile, 480);
    EXPECT_EQ(w.CurPoint.ScrY.v, 480 - 0.5);
    EXPECT_EQ(w.CurXZ.AxisZ.P2.Z.v, zBefore + 480);
    FlipYDocument(*d, &w, FlipToScreen, 480);
    EXPECT_EQ(Snapshot(w), wBefore);
}
