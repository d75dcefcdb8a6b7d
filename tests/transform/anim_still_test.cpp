#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "editing/kind_access.h"
#include "model/coord_edits.h"
#include "model/defaults.h"
#include "model/finite_check.h"
#include "model/geometry.h"
#include "model/recompute.h"
#include "model/update.h"
#include "support/fake_redraw_host.h"
#include "transform/anim_build.h"
#include "transform/anim_steps.h"

namespace pelmar {
namespace {

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
template <class B, std::size_t N> DPoint& Moved(DPyramid<B, N>& p) { return p.HeightLine.P2; }
template <class B, std::size_t N> DPoint& Moved(DPrism<B, N>& p) { return p.Base[1].S[1].P1; }
DPoint& Moved(DXZ& x) { return x.Center; }

// The frame's position of that point put into the still.  An ellipse's
// centre carries its two outline points, as a file holds them (the lower
// base of a cylinder or cone is such an ellipse).
template <class R>
void PutMoved(R& still, R& frame) { SetPos(Moved(still), Pos(Moved(frame))); }
void PutMoved(DCircle& still, DCircle& frame) {
    const Vec3 d = Pos(frame.Center) - Pos(still.Center);
    SetPos(still.Center, Pos(frame.Center));
    for (auto* q : {&still.Q1, &still.Q2}) *q = {(*q)[0] + d.x, (*q)[1] + d.y, (*q)[2] + d.z};
}
void PutMoved(DZi& still, DZi& frame) { PutMoved(still.Base[1], frame.Base[1]); }
void PutMoved(DKo& still, DKo& frame) { PutMoved(still.Base, frame.Base); }

// The fields in which the frame is not finite or differs from the still
// beyond 1e-9 (relative above 1).
template <class R>
std::vector<std::string> StillDifferences(const R& frame, const R& still) {
    std::vector<double> want;
    test::ForEachDouble(still, "", [&](const std::string&, double v) { want.push_back(v); });
    std::vector<std::string> out;
    std::size_t i = 0;
    test::ForEachDouble(frame, "", [&](const std::string& path, double x) {
        const double y = i < want.size() ? want[i++] : NAN;
        if (!(std::fabs(x - y) <= 1e-9 * std::fmax(1.0, std::fabs(y))))
            out.push_back(path + ": frame " + std::to_string(x) + ", still " + std::to_string(y));
    });
    if (i != want.size()) out.push_back("the records hold different curves");
    return out;
}

QImage DrawnPicture(DProj& doc) {
    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, doc.Im.Width, doc.Im.Height};
    RepaintProject(doc, st, host, RedrawMode::Window, true);
    return st.DrawBitmap.convertToFormat(QImage::Format_RGB32);
}

// Every frame of an animation is the still of its values: over the fourteen
// kinds, each from its shipped default set with a formula that moves one
// defining point over eleven frames, each frame's object, field by field, is
// the object read from a file that holds the frame's position of that point.
// The lesson's triangle is drawn too: the frame and its still give the same pixels.
TEST(AnimationStill, EveryFrameIsTheStillOfItsValues) {
    auto read = [](const std::string& n, DProj& d, auto& v, auto m) { return ReadDocument(n, d, v, m); };
    const DefaultsSource shipped{std::string(PELMAR_TEST_DATA) + "/../../share/pelmar/", read};
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        using R = typename KindT<K>::Rec;
        SCOPED_TRACE(InfoOf(K).code);
        auto doc = NewDocument();
        doc->Im.Width = 800, doc->Im.Height = 700;
        R rec;
        LoadDefault(rec, 1, shipped);
        rec.Number = 1;
        UpdateAsRead(rec);
        if constexpr (K == Kind::tr) {
            // The lesson's: C goes to (100 + 50 t; 650), through an obtuse angle at A, a right
            // one (t = 1), acute shapes, a right angle at B (t = 9) and an obtuse one there.
            const double at[3][2] = {{150, 400}, {550, 400}, {250, 650}};
            rec.Typ.v = 4;
            for (std::size_t i = 1; i <= 3; ++i) SetPos(rec.S[i].P1, {0, at[i - 1][0], at[i - 1][1]});
            rec.CircOn[1].v = rec.CircOn[2].v = true;
            UpdateAsStill(rec);
            rec.S[3].P1.Anim[1] = "100+50*x";
        } else {
            DPoint& p = Moved(rec);
            p.X.e = p.Y.e = p.Z.e = true;
            p.Anim[1] = std::to_string(p.Y.v) + "+9*x";
            p.Anim[2] = std::to_string(p.Z.v) + "-0.5*x*x";
        }
        KindT<K>::store(doc->Obj).add(rec);
        const R original = KindT<K>::store(doc->Obj)[1];

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
                for (const double r : {got.Circ[1].A.v, got.Circ[1].B.v})
                    EXPECT_TRUE(t > 0 || std::fabs(r - 262.5) < 0.05) << "the circumcircle's radius is 262.5: " << r;
                auto drawn = std::make_unique<DProj>(*frame);
                KindT<K>::store(drawn->Obj)[1] = still;
                EXPECT_TRUE(DrawnPicture(*frame) == DrawnPicture(*drawn)) << "the frame draws as its still";
            }
        }
    });
}

template <class S>
auto& Added(S& store) { return store.add({}), store[store.count()]; }

// A system an animation moves carries its traced curves (a 2D implicit graph,
// a section and the contour of a 3D implicit sphere, a 2D system centred on a
// moving point): after the document is drawn as the window shows it, each of
// eleven frames draws pixel for pixel as its still, the same objects untraced.
TEST(AnimationStill, MovingSystemsDrawTheirTracedCurvesAsTheStill) {
    const DefaultsSource src{.programFolder = "/nonexistent"};
    auto plane = [&](DProj& d, const std::string& move) -> DXOY& {
        DXOY& x = Added(d.Obj.Xy);
        LoadDefaultXOY(x, 1, src);
        x.GraphOn[6].v = true, x.Graph[6].s = "x^2+y^2-4", x.GraphThick[6].v = 2;
        x.Center.Anim[1] = move.empty() ? "" : std::to_string(x.Center.Y.v) + move;
        return x;
    };
    auto sphere = [&](DProj& d, bool contour) {
        DXZ& x = Added(d.Obj.Xz);
        LoadDefaultXYZ(x, 1, src);
        x.Scale.v = 10, x.SurfOn[4].v = true, x.Surf[4].s = "x^2+y^2+z^2-16";
        // The contour is sought within the box of the shipped sections.
        if (!contour) x.Sections[3][2][1].On.v = x.Sections[3][3][1].On.v = false;
        x.Outlines[3].On = contour;
        WholePictureOutlineWindows(x, 800, 600);
        UpdateXYZ(x, 0);
        x.Center.Anim[1] = std::to_string(x.Center.Y.v) + "+15*x";
    };
    // A 2D implicit graph, a 3D section, a 3D contour, a 2D centre linked to a moving point.
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        auto doc = NewDocument();
        doc->Im.Width = 800, doc->Im.Height = 600;
        if (row == 0) plane(*doc, "+20*x");
        if (row == 1 || row == 2) sphere(*doc, row == 2);
        if (row == 3) {
            DXOY& x = plane(*doc, "");
            DPoint& p = Added(doc->Obj.Po);
            LoadDefaultPoint(p, 1, src);
            SetPos(p, Pos(x.Center) - Vec3{0, 100, 0});
            p.Number = 1, x.Number = 2, x.Center.Link.b[0] = x.Center.Link.b[1] = 1;
            p.Anim[1] = std::to_string(p.Y.v) + "+20*x";
            UpdatePoint(p, 0);
            RecomputeLinked(*doc);
        }
        const QImage shown = DrawnPicture(*doc);
        auto frame = std::make_unique<DProj>(*doc);
        DrawingState st;
        FakeRedrawHost host;
        host.view = {0, 0, doc->Im.Width, doc->Im.Height};
        AnimEval ev;
        for (ev.t = 0; ev.t <= 10; ++ev.t) {
            SetFrameObjects(*frame, doc->Obj, ev);
            auto still = std::make_unique<DProj>(*frame);
            MarkCurvesNotComputed(still->Obj);
            RepaintProject(*frame, st, host, RedrawMode::Window, true);
            const QImage got = st.DrawBitmap.convertToFormat(QImage::Format_RGB32);
            EXPECT_TRUE(got == DrawnPicture(*still)) << "t = " << ev.t << ": pixels differ from the still";
            EXPECT_EQ(got == shown, ev.t == 0) << "t = " << ev.t << ": the system moves";
        }
    }
}

}  // namespace
}  // namespace pelmar
