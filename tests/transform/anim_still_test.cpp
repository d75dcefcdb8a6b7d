// Every frame of an animation is the still of its values: the objects a
// frame draws are what the editor computes when the document holds the
// frame's positions.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "editing/kind_access.h"
#include "model/defaults.h"
#include "model/finite_check.h"
#include "model/geometry.h"
#include "model/update.h"
#include "support/fake_redraw_host.h"
#include "transform/anim_build.h"
#include "transform/anim_steps.h"

namespace pelmar {
namespace {

// The default sets the program ships.
DefaultsSource ShippedSets() {
    return {std::string(PELMAR_TEST_DATA) + "/../../share/pelmar/",
            [](const std::string& n, DProj& d, std::uint8_t& v, std::uint8_t m) { return ReadDocument(n, d, v, m); }};
}

// The point an animation moves: a defining point of each kind.
DPoint& Moved(DPoint& p) { return p; }
DPoint& Moved(DLine& l) { return l.P2; }
DPoint& Moved(DCircle& c) { return c.Center; }
DPoint& Moved(DTri& t) { return t.S[3].P1; }
DPoint& Moved(DKv& k) { return k.S[3].P1; }
DPoint& Moved(DXOY& x) { return x.Center; }
DPoint& Moved(DSf& s) { return s.Center; }
DPoint& Moved(DZi& z) { return z.Base[1].Center; }
DPoint& Moved(DKo& k) { return k.Base.Center; }
template <class B, std::size_t N>
DPoint& Moved(DPyramid<B, N>& p) { return p.HeightLine.P2; }
template <class B, std::size_t N>
DPoint& Moved(DPrism<B, N>& p) { return p.Base[1].S[1].P1; }
DPoint& Moved(DXZ& x) { return x.Center; }

// The frame's position of that point put into the still.  An ellipse's
// centre carries the ellipse's two outline points, as a file holds them
// (the lower base of a cylinder or cone is such an ellipse).
template <class R>
void PutMoved(R& still, R& frame) {
    SetPos(Moved(still), Pos(Moved(frame)));
}
void PutMovedEllipse(DCircle& still, const DCircle& frame) {
    const Vec3 d = Pos(frame.Center) - Pos(still.Center);
    SetPos(still.Center, Pos(frame.Center));
    for (auto* q : {&still.Q1, &still.Q2}) *q = {(*q)[0] + d.x, (*q)[1] + d.y, (*q)[2] + d.z};
}
void PutMoved(DCircle& still, DCircle& frame) { PutMovedEllipse(still, frame); }
void PutMoved(DZi& still, DZi& frame) { PutMovedEllipse(still.Base[1], frame.Base[1]); }
void PutMoved(DKo& still, DKo& frame) { PutMovedEllipse(still.Base, frame.Base); }

// The triangle of the lesson: A(150; 400), B(550; 400) and C(250; 650) in
// the picture, both circles on; C's formula takes it to (100 + 50 t; 650).
// It passes an obtuse angle at A, a right one (t = 1), acute shapes, a right
// angle at B (t = 9) and an obtuse one there.
void LessonTriangle(DTri& t) {
    const double at[3][2] = {{150, 400}, {550, 400}, {250, 650}};
    t.Typ.v = 4;
    for (std::size_t i = 1; i <= 3; ++i) SetPos(t.S[i].P1, {0, at[i - 1][0], at[i - 1][1]});
    t.CircOn[1].v = t.CircOn[2].v = true;
    UpdateAsStill(t);
    t.S[3].P1.Anim[1] = "100+50*x";
}

// Differences between two records beyond 1e-9 (relative above 1), and any
// Double that is not finite.
template <class R>
std::vector<std::string> StillDifferences(const R& frame, const R& still) {
    std::vector<std::pair<std::string, double>> a, b;
    test::ForEachDouble(frame, "", [&](const std::string& p, double v) { a.emplace_back(p, v); });
    test::ForEachDouble(still, "", [&](const std::string& p, double v) { b.emplace_back(p, v); });
    std::vector<std::string> out;
    if (a.size() != b.size()) return {"the records hold different curves"};
    for (std::size_t i = 0; i < a.size(); ++i) {
        const double x = a[i].second, y = b[i].second;
        if (!std::isfinite(x) || !std::isfinite(y))
            out.push_back(a[i].first + " is not finite");
        else if (std::fabs(x - y) > 1e-9 * std::fmax(1.0, std::fabs(y)))
            out.push_back(a[i].first + ": frame " + std::to_string(x) + ", still " + std::to_string(y));
    }
    return out;
}

QImage DrawnPicture(DProj& doc) {
    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, doc.Im.Width, doc.Im.Height};
    RepaintProject(doc, st, host, RedrawMode::Window, true);
    return st.DrawBitmap.convertToFormat(QImage::Format_RGB32);
}

int DifferingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height() + 1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// One table over the fourteen kinds, each from its shipped default set with
// a formula that moves one defining point over eleven frames: each frame's
// object, field by field, is the object read from a file that holds the
// frame's position of that point.  The lesson's triangle is drawn too: the
// frame and the still give the same pixels.
TEST(AnimationStill, EveryFrameIsTheStillOfItsValues) {
    const DefaultsSource shipped = ShippedSets();
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        using R = typename KindT<K>::Rec;
        SCOPED_TRACE(InfoOf(K).code);
        auto doc = NewDocument();
        doc->Im.Width = 800;
        doc->Im.Height = 700;
        R rec;
        LoadDefault(rec, 1, shipped);
        rec.Number = 1;
        UpdateAsRead(rec);
        if constexpr (K == Kind::tr) {
            LessonTriangle(rec);
        } else {
            DPoint& p = Moved(rec);
            p.X.e = p.Y.e = p.Z.e = true;
            p.Anim[1] = std::to_string(p.Y.v) + "+9*x";
            p.Anim[2] = std::to_string(p.Z.v) + "-0.5*x*x";
        }
        KindT<K>::store(doc->Obj).add(rec);
        R original = KindT<K>::store(doc->Obj)[1];

        auto frame = std::make_unique<DProj>(*doc);
        AnimEval ev;
        Vec3 last;
        for (int t = 0; t <= 10; ++t) {
            SCOPED_TRACE("t = " + std::to_string(t));
            ev.t = t;
            SetFrameObjects(*frame, doc->Obj, ev);
            ASSERT_FALSE(ev.failed);
            R& got = KindT<K>::store(frame->Obj)[1];
            R still = original;
            PutMoved(still, got);
            UpdateAsRead(still);
            EXPECT_TRUE(t == 0 || Norm(Pos(Moved(got)) - last) > 1) << "the formula moves the point";
            last = Pos(Moved(got));
            const auto diff = StillDifferences(got, still);
            EXPECT_TRUE(diff.empty()) << diff.size() << " fields differ:" << test::JoinPaths(diff);

            if constexpr (K == Kind::tr) {
                if (t == 0) {
                    EXPECT_NEAR(got.Circ[1].A.v, 262.5, 0.05) << "the circumcircle is a circle of radius 262.5";
                    EXPECT_NEAR(got.Circ[1].B.v, 262.5, 0.05);
                }
                auto drawn = std::make_unique<DProj>(*frame);
                KindT<K>::store(drawn->Obj)[1] = still;
                EXPECT_EQ(DifferingPixels(DrawnPicture(*frame), DrawnPicture(*drawn)), 0);
            }
        }
    });
}

}  // namespace
}  // namespace pelmar
