// Which objects the redraw hands to which painter, in which order.
#include <gtest/gtest.h>

#include "drawing/redraw.h"
#include "paint_fixture.h"
#include "support/fake_redraw_host.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

using Lines = std::vector<std::string>;

// Every painter of the table writes a marker line into the recording, and
// checks that it got the surface of its pass.
template <class R>
Painter<R> Marker(RecordingCanvas& rec, int pass) {
    return [&rec, pass](const R& r, const DImProj&, const PaintTarget& t) {
        EXPECT_EQ(t.kind, TargetKind::Pel);
        EXPECT_EQ(pass == 1, t.raster != nullptr);
        EXPECT_EQ(pass == 2, t.canvas != nullptr);
        rec.drawText(Font{}, 0, "p" + std::to_string(pass) + " " + r.ID.s, {}, {});
    };
}

template <class R>
SystemPainter<R> SystemMarker(RecordingCanvas& rec, int pass) {
    return [&rec, pass](const R& r, bool full, int index, const DImProj&, char view, const PaintTarget& t) {
        EXPECT_EQ(pass == 1, t.raster != nullptr);
        EXPECT_EQ(pass == 2, t.canvas != nullptr);
        rec.drawText(Font{}, 0,
                     "p" + std::to_string(pass) + " " + r.ID.s + " #" + std::to_string(index) + " " + view +
                         (full ? " full" : ""),
                     {}, {});
    };
}

void RegisterMarkers(PainterTable& t, RecordingCanvas& rec) {
    auto both = [&rec](auto& entry, auto make) {
        entry.pass1 = make(1);
        entry.pass2 = make(2);
    };
    both(t.circle, [&](int p) { return Marker<DCircle>(rec, p); });
    both(t.triangle, [&](int p) { return Marker<DTri>(rec, p); });
    both(t.tetragon, [&](int p) { return Marker<DKv>(rec, p); });
    both(t.xoy, [&](int p) { return SystemMarker<DXOY>(rec, p); });
    both(t.orb, [&](int p) { return Marker<DSf>(rec, p); });
    both(t.cylinder, [&](int p) { return Marker<DZi>(rec, p); });
    both(t.cone, [&](int p) { return Marker<DKo>(rec, p); });
    both(t.pyramid3, [&](int p) { return Marker<DPi3>(rec, p); });
    both(t.pyramid4, [&](int p) { return Marker<DPi4>(rec, p); });
    both(t.prism3, [&](int p) { return Marker<DPr3>(rec, p); });
    both(t.prism4, [&](int p) { return Marker<DPr4>(rec, p); });
    both(t.xyz, [&](int p) { return SystemMarker<DXZ>(rec, p); });
}

template <class T, std::size_t N>
void Add(Store<T, N>& s, const std::string& id, int layer, bool disabled = false) {
    T r{};
    r.ID.s = id;
    r.Layer.v = static_cast<std::uint8_t>(layer);
    r.Disabled.v = disabled;
    ASSERT_TRUE(s.add(r));
}

// The markers, points (by colour) and segments of a recording, in order.
Lines Sequence(const RecordingCanvas& rec) {
    Lines out;
    for (const std::string& l : rec.lines()) {
        if (l.rfind("drawText", 0) == 0) {
            const std::size_t a = l.find('"'), b = l.find('"', a + 1);
            out.push_back(l.substr(a + 1, b - a - 1));
        } else if (l.rfind("fillEllipse", 0) == 0) {
            out.push_back("po " + l.substr(12, 7));
        } else if (l.rfind("drawLine", 0) == 0) {
            out.push_back("li");
        }
    }
    return out;
}

struct OrderTest : ::testing::Test {
    std::unique_ptr<DProj> doc = NewDocument();
    DrawingState st;
    FakeRedrawHost host;
    RecordingCanvas rec;

    void SetUp() override {
        st.Running = true;  // as RepaintProject leaves it for the painting
        RegisterMarkers(st.Painters, rec);
        DSubProj& o = doc->Obj;
        DPoint a = MakePoint(10, 10, 2, 2, Red);
        a.Layer.v = 2;
        DPoint b = MakePoint(20, 20, 2, 2, Green);
        DPoint c = MakePoint(30, 30, 2, 2, Blue);
        c.Disabled.v = true;
        o.Po.add(a);
        o.Po.add(b);
        o.Po.add(c);
        DLine l = MakeLine(0, 0, 50, 50);
        o.Li.add(l);
        l.Layer.v = 3;
        l.Disabled.v = true;
        o.Li.add(l);
        Add(o.Ci, "ci1", 1);
        Add(o.Ci, "ci2", 1, true);
        Add(o.Tr, "tr1", 2);
        Add(o.Kv, "kv1", 11);  // outside the layers: never drawn
        Add(o.Xy, "xy1", 2, true);  // disabled, still handed to its painter
        Add(o.Sf, "sf1", 1);
        Add(o.Ko, "ko1", 0);  // outside the layers
        Add(o.R4, "r41", 10);
        Add(o.Xz, "xz1", 1);
        Add(o.Xz, "xz2", 4, true);
    }
};

TEST_F(OrderTest, LayersThenPassesThenKinds) {
    ASSERT_TRUE(DrawAllObjects(*doc, *doc, st, host, true, 'm', &rec));
    EXPECT_EQ(Sequence(rec), (Lines{
                                 // pass 1, layer 1, 2, 4, 10
                                 "p1 ci1", "p1 sf1", "p1 xz1 #1 m full",
                                 "p1 tr1", "p1 xy1 #1 m full",
                                 "p1 xz2 #2 m full",
                                 "p1 r41",
                                 // pass 2
                                 "po #00FF00", "li", "p2 ci1", "p2 sf1", "p2 xz1 #1 m full",
                                 "po #FF0000", "p2 tr1", "p2 xy1 #1 m full",
                                 "p2 xz2 #2 m full",
                                 "p2 r41",
                             }));
}

TEST_F(OrderTest, WithoutFullOnlyCoordinateSystemsFillPass1) {
    ASSERT_TRUE(DrawAllObjects(*doc, *doc, st, host, false, 't', &rec));
    const Lines s = Sequence(rec);
    const Lines pass1(s.begin(), s.begin() + 3);
    EXPECT_EQ(pass1, (Lines{"p1 xz1 #1 t", "p1 xy1 #1 t", "p1 xz2 #2 t"}));
    EXPECT_EQ(s[3], "po #00FF00");
}

TEST_F(OrderTest, AValidCacheSkipsTheFills) {
    doc->FillValid = 1;
    ASSERT_TRUE(DrawAllObjects(*doc, *doc, st, host, true, 'm', &rec));
    const Lines s = Sequence(rec);
    EXPECT_EQ(s[0], "p1 xz1 #1 m full");
    EXPECT_EQ(s[1], "p1 xy1 #1 m full");
}

TEST_F(OrderTest, TheRealPaintersOfPointsAndSegments) {
    st.Painters = DefaultPainters();
    ASSERT_TRUE(DrawAllObjects(*doc, *doc, st, host, true, 'm', &rec));
    EXPECT_EQ(Sequence(rec), (Lines{"po #00FF00", "li", "po #FF0000"}));
}

// A stop request while a coordinate system of pass 1 is traced ends the
// painting after that system; pass 2 is not drawn.
TEST_F(OrderTest, StopDuringPass1) {
    st.Running = true;
    st.Painters.xoy.pass1 = [&](const DXOY&, bool, int, const DImProj&, char, const PaintTarget&) {
        st.Running = false;
    };
    EXPECT_FALSE(DrawAllObjects(*doc, *doc, st, host, true, 'm', &rec, &st.Running));
    EXPECT_EQ(Sequence(rec), (Lines{"p1 ci1", "p1 sf1", "p1 xz1 #1 m full", "p1 tr1"}));
}

}  // namespace
