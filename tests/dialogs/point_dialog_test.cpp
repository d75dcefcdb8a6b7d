#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <cmath>

#include "dialog_test_util.h"
#include "dialogs/apply_to_all.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/point_dialog.h"
#include "dialogs/ui/spin_edit.h"
#include "editing_fake.h"
#include "model/defaults.h"
#include "model/geometry.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

DPoint MakePoint(double x, double y, double z) {
    DPoint p;
    LoadDefaultPoint(p, 1, DefaultsSource{});
    p.X.v = x, p.Y.v = y, p.Z.v = z;
    ProjectPoint(p);
    return p;
}

struct PointSession {
    FakeEditing ed;
    TFormPo* dlg = nullptr;
    explicit PointSession(const DPoint& p) {
        ed.doc->Obj.Po.add(p);
        ed.select(Kind::po, 1);
        ed.work.CurPoint = p;
        dlg = static_cast<TFormPo*>(ed.reg.open(Kind::po));
        ed.reg.Fill(Kind::po, p);
        ShowActive(*dlg);
    }
    const DPoint& stored() const { return ed.doc->Obj.Po[1]; }
};

}  // namespace

// A session in the point dialog, typed as a user types: a fill stores and
// commits nothing; each committed keystroke is one undo step; picture X moves
// the 3D Y by the same amount and nothing else; the key filters; a text that
// is not a number keeps the record; the ellipse centre carries its axes.
TEST(PointDialog, TypedSession) {
    PointSession s(MakePoint(5, 0, 0));
    const DPoint before = s.stored();
    EXPECT_EQ(s.ed.undoSteps, 0);

    // A refill with another record, as selecting another object does.
    DPoint other = before;
    other.ID.s = "Other";
    other.Radius.v = 7;
    s.ed.reg.Fill(Kind::po, other);
    EXPECT_EQ(s.ed.undoSteps, 0);
    EXPECT_FALSE(s.ed.changed);
    EXPECT_EQ(s.ed.work.CurPoint.ID.s, before.ID.s);
    s.ed.reg.Fill(Kind::po, before);

    auto* px = Find<TNumEdit>(*s.dlg, "EditPx");
    auto* py = Find<TNumEdit>(*s.dlg, "EditPy");
    const double scrY = s.stored().ScrY.v, y0 = s.stored().Y.v;
    const double scrX0 = s.stored().ScrX.v;
    TypeInto(px, QString::number(scrX0 + 10));
    const int keys = QString::number(scrX0 + 10).size();
    EXPECT_EQ(s.ed.undoSteps, keys);
    EXPECT_DOUBLE_EQ(s.stored().ScrX.v, scrX0 + 10);
    EXPECT_DOUBLE_EQ(s.stored().Y.v, y0 + 10);
    EXPECT_DOUBLE_EQ(s.stored().ScrY.v, scrY);
    EXPECT_DOUBLE_EQ(s.stored().X.v, 5);
    EXPECT_DOUBLE_EQ(s.stored().Z.v, 0);

    // Picture coordinates take no comma; an emptied edit stores 0.
    s.ed.undoSteps = 0;
    const QString yText = py->text();
    TypeInto(py, ",");
    EXPECT_EQ(py->text(), yText);
    py->selectAll();
    QTest::keyClick(py, Qt::Key_Backspace);
    EXPECT_EQ(py->text(), "0");
    EXPECT_DOUBLE_EQ(s.stored().ScrY.v, 0);

    // 3D X takes the comma and is rounded to 0.001; the picture follows.
    auto* pxx = Find<TNumEdit>(*s.dlg, "EditPxx");
    TypeInto(pxx, "1,23456");
    EXPECT_DOUBLE_EQ(s.stored().X.v, 1.235);
    TypeInto(pxx, "2,5,");
    EXPECT_EQ(pxx->text(), "2,5");
    for (const DPoint* p : {&s.stored(), static_cast<const DPoint*>(&s.ed.work.CurPoint)})
        for (double v : {p->X.v, p->Y.v, p->Z.v, p->ScrX.v, p->ScrY.v}) EXPECT_TRUE(std::isfinite(v));

    // Spin edits: an emptied radius holds its minimum; range 1..20.
    auto* rad = Find<TSpinEdit>(*s.dlg, "SpinEditPRad");
    TypeInto(rad, "25");
    EXPECT_LE(s.stored().Radius.v, 20);
    EXPECT_GE(s.stored().Radius.v, 1);

    // The centre of an ellipse (role 3): its axis ends move with it.
    s.ed.roleSlot(Kind::po) = 3;
    DCircle& c = s.ed.work.CurCircle;
    const DPoint& p = s.ed.work.CurPoint;
    c.Q1 = {p.X.v + 1, p.Y.v + 2, p.Z.v + 3};
    c.Q2 = {p.X.v - 4, p.Y.v, p.Z.v + 5};
    TypeInto(px, "40");
    EXPECT_DOUBLE_EQ(c.Q1[1] - p.Y.v, 2);
    EXPECT_DOUBLE_EQ(c.Q2[2] - p.Z.v, 5);
    EXPECT_DOUBLE_EQ(c.Q1[0] - p.X.v, 1);
}

// The buttons by role, entry kind and creation number.
TEST(PointDialog, EnableTable) {
    struct Row {
        const char* entry;
        int role, number;
        bool anim, save, load;
    };
    const Row rows[] = {
        {"po", 0, 0, true, true, true},   {"po", 0, 3, true, true, false}, {"li", 1, 0, true, false, false},
        {"li", 8, 0, false, false, false}, {"li", 9, 0, false, false, false}, {"ci", 3, 0, true, false, false},
    };
    PointSession s(MakePoint(0, 0, 0));
    for (const Row& r : rows) {
        s.ed.current.code[0] = r.entry[0], s.ed.current.code[1] = r.entry[1];
        s.ed.roleSlot(Kind::po) = static_cast<std::uint8_t>(r.role);
        DPoint p = s.ed.work.CurPoint;
        p.Number = r.number;
        s.ed.reg.Fill(Kind::po, p);
        SCOPED_TRACE(std::string(r.entry) + " role " + std::to_string(r.role));
        EXPECT_EQ(Find<QPushButton>(*s.dlg, "ButtonPoAnim")->isEnabled(), r.anim);
        EXPECT_EQ(Find<QPushButton>(*s.dlg, "ButtonPSave")->isEnabled(), r.save);
        EXPECT_EQ(Find<QPushButton>(*s.dlg, "ButtonPLoad")->isEnabled(), r.load);
    }
    EXPECT_EQ(s.ed.undoSteps, 0);
}

// Default sets: Load of a missing file reports the reader and changes
// nothing; Save then Load brings the saved style back as one commit; "Все
// точки" reaches the points inside other objects and marks the document
// changed; the font-size hint in points converts inches to centimetres.
TEST(PointDialog, DefaultSetAllPointsAndHints) {
    PointSession s(MakePoint(0, 10, 10));
    auto* load = Find<QPushButton>(*s.dlg, "ButtonPLoad");
    QTest::mouseClick(load, Qt::LeftButton);
    ASSERT_EQ(s.ed.messages.size(), 1u);
    EXPECT_EQ(s.ed.undoSteps, 0);

    QTest::mouseClick(Find<QPushButton>(*s.dlg, "ButtonPSave"), Qt::LeftButton);
    s.ed.doc->Obj.Po[1].Radius.v = 9;
    s.ed.work.CurPoint.Radius.v = 9;
    QTest::mouseClick(load, Qt::LeftButton);
    EXPECT_EQ(s.ed.messages.size(), 1u);
    EXPECT_EQ(s.ed.undoSteps, 1);
    EXPECT_EQ(s.stored().Radius.v, MakePoint(0, 0, 0).Radius.v);

    DLine line;
    LoadDefaultLine(line, 1, DefaultsSource{});
    s.ed.doc->Obj.Li.add(line);
    s.ed.work.CurPoint.Radius.v = 17;
    s.ed.changed = false;
    s.ed.undoSteps = 0;
    s.dlg->applyToAllPoints(true, false, false, false);
    EXPECT_EQ(s.ed.doc->Obj.Li[1].P2.Radius.v, 17);
    EXPECT_EQ(s.ed.doc->Obj.Li[1].P4.Radius.v, 17);
    EXPECT_EQ(s.ed.work.CurLine.P1.Radius.v, 17);
    EXPECT_TRUE(s.ed.changed);
    EXPECT_EQ(s.ed.undoSteps, 1);

    s.ed.doc->Im.FontUnit = 2;
    s.ed.work.CurPoint.NameSize.v = 72;
    s.dlg->UpdatePoHints();
    EXPECT_TRUE(Find<TSpinEdit>(*s.dlg, "SpinEditPSize1")->toolTip().contains(QString::fromUtf8("2,54 см")))
        << Find<TSpinEdit>(*s.dlg, "SpinEditPSize1")->toolTip().toStdString();
}

namespace pelmar::test {
namespace {

// The three apply-to-all walks reach the parts nested in solids, in the
// document and in the working copies; the centres of a solid's own circles
// (on its axis or at its centre) are not points of their own.
TEST(ApplyToAll, WalksReachTheSolidsParts) {
    auto doc = NewDocument();
    WorkingCopies work;
    const DefaultsSource src;
    DSf sf;
    LoadDefaultOrb(sf, 1, src);
    DZi zi;
    LoadDefaultCylinder(zi, 1, src);
    DKo ko;
    LoadDefaultCone(ko, 1, src);
    DPi4 i4;
    LoadDefaultPyramid4(i4, 1, src);
    DPr3 r3;
    LoadDefaultPrism3(r3, 1, src);
    doc->Obj.Sf.add(sf), doc->Obj.Zi.add(zi), doc->Obj.Ko.add(ko), doc->Obj.I4.add(i4), doc->Obj.R3.add(r3);
    LoadDefaultPrism4(work.CurPr4, 1, src);
    LoadDefaultCylinder(work.CurZi, 1, src);
    const DSubProj& d = doc->Obj;

    DPoint p = d.Zi[1].Axis.P1;
    p.Radius.v = 17;
    ApplyToAllPoints(doc->Obj, work, p, PointCategories{true, false, false, false});
    for (const DPoint* q : std::initializer_list<const DPoint*>{&d.Zi[1].Sec[2].S[3].P1, &d.Ko[1].Sec[4].Lines[5].P3, &d.I4[1].Base.Center,
                            &d.R3[1].Side[2].S[1].P1, &d.Zi[1].InSphere.Sec[7].R[3].P4, &d.Sf[1].Center,
                            &d.I4[1].HeightLine.P2, &work.CurPr4.Side[4].S[1].P1})
        EXPECT_EQ(q->Radius.v, 17);
    EXPECT_EQ(d.Sf[1].Contour.Center.Radius.v, sf.Contour.Center.Radius.v);
    EXPECT_EQ(d.Ko[1].Base.Center.Radius.v, ko.Base.Center.Radius.v);

    DLine l = d.Ko[1].Axis;
    l.Thick.v = 9;
    ApplyToAllLines(doc->Obj, work, l, LineCategories{true, false, false});
    for (const DLine* q : std::initializer_list<const DLine*>{&d.Ko[1].Axis, &d.I4[1].Face[4].S[2], &d.R3[1].Base[2].Lines[1], &d.Sf[1].Sec[3].R[2],
                           &work.CurZi.Base[2].R[1], &work.CurPr4.Side[1].Diag[2]})
        EXPECT_EQ(q->Thick.v, 9);

    DCircle c = d.Zi[1].Base[1];
    c.Thick.v = 5;
    ApplyToAllEllipses(doc->Obj, work, c, EllipseCategories{true, false});
    for (const DCircle* q : std::initializer_list<const DCircle*>{&d.Zi[1].Base[2], &d.Sf[1].Contour, &d.Ko[1].OutSphere.Sec[1], &d.I4[1].Face[2].Circ[1],
                             &d.R3[1].Side[3].Circ[2], &work.CurZi.Sec[1].Circ[1]})
        EXPECT_EQ(q->Thick.v, 5);
}

}  // namespace
}  // namespace pelmar::test
