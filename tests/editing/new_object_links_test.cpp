// New objects tied to existing points: the triangle lands on its three
// points, the cylinder moves whole onto its point, both numbered after
// everything before them; an unlinked answer changes nothing but the number.
#include <gtest/gtest.h>

#include <cmath>

#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "support/quiet_windows.h"
#include "editing/kind_access.h"
#include "editing/new_objects.h"
#include "editing/link_choice.h"
#include "model/links.h"
#include "drawing/redraw.h"
#include "platform/qt_canvas.h"

#include <QImage>

using namespace pelmar;

namespace {

NewLinks Links(std::initializer_list<DLink> ls) {
    NewLinks out{};
    std::size_t i = 0;
    for (const DLink& l : ls) out[i++] = l;
    return out;
}

DLink ToPoint(int index) {
    DLink l;
    l.b[0] = static_cast<std::uint8_t>(KindNumber(Kind::po));
    l.b[1] = static_cast<std::uint8_t>(index);
    return l;
}

bool SamePlace(const DPoint& a, const DPoint& b) {
    return std::abs(a.X.v - b.X.v) < 1e-9 && std::abs(a.Y.v - b.Y.v) < 1e-9 && std::abs(a.Z.v - b.Z.v) < 1e-9;
}

struct Doc {
    std::unique_ptr<DProj> doc = NewDocument();
    std::unique_ptr<EditedDocument> edited = std::make_unique<EditedDocument>(*doc);
    EditingState* st = &edited->state();
    QuietWindows quiet{*st};
    Doc() {
        st->UndoOn = false;
        const double at[3][3] = {{0, 10, 20}, {5, 200, 40}, {-5, 120, 300}};
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(NewDefaultObject(*st, Kind::po));
            DPoint& p = doc->Obj.Po[static_cast<std::size_t>(i + 1)];
            p.X.v = at[i][0], p.Y.v = at[i][1], p.Z.v = at[i][2];
            p.Number = i == 2 ? 7 : 1;
        }
    }
};

}  // namespace

TEST(NewObjectLinks, ObjectsLandOnTheirPoints) {
    EXPECT_EQ(LinkGroupCount(Kind::tr), 3);
    EXPECT_EQ(LinkGroupCount(Kind::i4), 5);
    EXPECT_EQ(LinkGroupCount(Kind::r3), 6);
    EXPECT_EQ(LinkGroupCount(Kind::zi), 1);

    Doc d;
    const DProj& doc = *d.doc;
    ASSERT_TRUE(ApplyNewObjectLinks(*d.st, Kind::tr, LinkResult::Ok, Links({ToPoint(3), ToPoint(1), ToPoint(2)})));
    const DTri& t = doc.Obj.Tr[1];
    EXPECT_EQ(t.Number, 8);
    EXPECT_EQ(d.st->Copies.CurTri.Number, 8);
    const int order[3] = {3, 1, 2};
    for (int v = 1; v <= 3; ++v) {
        EXPECT_TRUE(SamePlace(t.S[v].P1, doc.Obj.Po[static_cast<std::size_t>(order[v - 1])])) << v;
        EXPECT_EQ(t.S[v].P1.Link.index(), order[v - 1]);
        EXPECT_TRUE(SamePlace(d.st->Copies.CurTri.S[v].P1, t.S[v].P1)) << v;
    }

    // The cylinder keeps its shape: every point moves by the same vector.
    Doc other;  // the default cylinder, as the linked one starts
    ASSERT_TRUE(NewDefaultObject(*other.st, Kind::zi));
    const DZi before = other.doc->Obj.Zi[1];
    ASSERT_TRUE(ApplyNewObjectLinks(*d.st, Kind::zi, LinkResult::Ok, Links({ToPoint(2)})));
    const DZi& z = doc.Obj.Zi[1];
    EXPECT_EQ(z.Number, 9);
    EXPECT_TRUE(SamePlace(z.Base[1].Center, doc.Obj.Po[2]));
    const double dx = z.Base[1].Center.X.v - before.Base[1].Center.X.v;
    const double dy = z.Base[1].Center.Y.v - before.Base[1].Center.Y.v;
    const double dz = z.Base[1].Center.Z.v - before.Base[1].Center.Z.v;
    EXPECT_NEAR(z.Base[2].Center.X.v - before.Base[2].Center.X.v, dx, 1e-9);
    EXPECT_NEAR(z.Base[2].Center.Y.v - before.Base[2].Center.Y.v, dy, 1e-9);
    EXPECT_NEAR(z.Base[2].Center.Z.v - before.Base[2].Center.Z.v, dz, 1e-9);
    EXPECT_EQ(z.Base[1].A3.v, before.Base[1].A3.v);

    // An ellipse whose centre link is left empty stays where it was.
    ASSERT_TRUE(NewDefaultObject(*other.st, Kind::ci));
    const DCircle c0 = other.doc->Obj.Ci[1];
    ASSERT_TRUE(ApplyNewObjectLinks(*d.st, Kind::ci, LinkResult::Ok, Links({DLink{}})));
    EXPECT_TRUE(SamePlace(doc.Obj.Ci[1].Center, c0.Center));
    EXPECT_EQ(doc.Obj.Ci[1].Q1, c0.Q1);
    EXPECT_EQ(doc.Obj.Ci[1].Number, 10);
}

// A pyramid standing on a triangle's vertices shows the triangle's letters
// once: its linked vertices draw no label of their own (their names stay in
// the record), its free apex keeps its label.
TEST(NewObjectLinks, LinkedVerticesDrawNoSecondLabel) {
    Doc d;
    DProj& doc = *d.doc;
    ASSERT_TRUE(ApplyNewObjectLinks(*d.st, Kind::tr, LinkResult::Ok, Links({ToPoint(1), ToPoint(2), ToPoint(3)})));
    auto vertex = [](int side) {
        DLink l;
        l.b = {static_cast<std::uint8_t>(KindNumber(Kind::tr)), 1, 2, static_cast<std::uint8_t>(side), 1, 1};
        return l;
    };
    ASSERT_TRUE(ApplyNewObjectLinks(*d.st, Kind::i3, LinkResult::Ok, Links({vertex(1), vertex(2), vertex(3)})));
    const DPi3& pyramid = doc.Obj.I3[1];
    const PainterTable painters = DefaultPainters();
    auto picture = [&](const DPi3& p) {
        QImage img(doc.Im.Width, doc.Im.Height, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::white);
        QtCanvas c(img, true);
        PaintTarget t;
        t.kind = TargetKind::Pel;
        t.canvas = &c;
        t.doc = &doc;
        painters.pyramid3.pass2(p, doc.Im, t);
        return img;
    };
    DPi3 named = pyramid, unnamed = pyramid;
    for (int v = 1; v <= 3; ++v) {
        DPoint& p = named.Base.S[v].P1;
        ASSERT_TRUE(p.Link.linked()) << v;
        EXPECT_TRUE(SamePlace(p, doc.Obj.Tr[1].S[v].P1)) << v;
        p.Name.s = "ABC"[v - 1] + std::string("Q");
        p.Lower.s = "1";
        unnamed.Base.S[v].P1.Name.s = unnamed.Base.S[v].P1.Lower.s = unnamed.Base.S[v].P1.Upper.s = "";
    }
    const QImage withNames = picture(named);
    EXPECT_TRUE(withNames == picture(unnamed));
    EXPECT_EQ(named.Base.S[1].P1.Name.s, "AQ");
    // Unlinked, the same vertices show their letters.
    DPi3 free = named;
    for (int v = 1; v <= 3; ++v) ClearPointLink(free.Base.S[v].P1);
    EXPECT_FALSE(picture(free) == withNames);
}
