#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <cmath>

#include "dialog_test_util.h"
#include "dialogs/ui/line_dialog.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/point_dialog.h"
#include "editing_fake.h"
#include "model/construct.h"
#include "model/defaults.h"
#include "model/geometry.h"
#include "model/update.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct LineSession {
    FakeEditing ed;
    QPointer<ObjectDialog> dlg;
    QWidget elsewhere;
    LineSession() {
        DLine l;
        LoadDefaultLine(l, 1, DefaultsSource{});
        l.Show3.v = true;
        l.P1.X.v = l.P1.Y.v = l.P1.Z.v = 0;
        l.P2.X.v = 0, l.P2.Y.v = 100, l.P2.Z.v = 0;
        ProjectPoint(l.P1), ProjectPoint(l.P2);
        l.Length.v = 100;
        UpdateLine(l, 0);
        ed.doc->Obj.Li.add(l);
        ed.select(Kind::li, 1);
        ed.work.CurLine = l;
        dlg = ed.reg.open(Kind::li);
        ed.reg.Fill(Kind::li, l);
        ShowActive(*dlg);
        elsewhere.setFocusPolicy(Qt::StrongFocus);
    }
    const DLine& stored() const { return ed.doc->Obj.Li[1]; }
    void leave(QWidget* edit) {  // the focus goes to another control
        QTest::keyClick(edit, Qt::Key_Tab);
    }
};

double PictureAngle(const DLine& l) {
    return std::atan2(l.P2.ScrY.v - l.P1.ScrY.v, l.P2.ScrX.v - l.P1.ScrX.v) * 180 / M_PI;
}

}  // namespace

// A session in the segment dialog: the angle commits once when the focus
// leaves; a minus inside a number is refused; the fraction
// takes the text after the key; the comma filters of the end edits; an end
// opened in the point dialog, edited there and the segment shown again.
TEST(LineDialog, TypedSessionAndPartNavigation) {
    LineSession s;
    auto* ang = Find<TNumEdit>(*s.dlg, "EditLAng");
    const double len = LineLength(s.stored());
    TypeInto(ang, "90");
    EXPECT_EQ(s.ed.undoSteps, 0);
    s.leave(ang);
    EXPECT_EQ(s.ed.undoSteps, 1);
    EXPECT_NEAR(std::abs(PictureAngle(s.stored())), 90, 1e-6);
    EXPECT_NEAR(LineLength(s.stored()), len, 1e-6);

    auto* lenEdit = Find<TNumEdit>(*s.dlg, "EditLLen");
    TypeInto(lenEdit, "1-2");  // a minus goes only at the start
    EXPECT_EQ(lenEdit->text(), "12");
    s.leave(lenEdit);
    EXPECT_EQ(s.ed.undoSteps, 2);
    EXPECT_NEAR(LineLength(s.stored()), 12, 1e-6);

    auto* frac = Find<TNumEdit>(*s.dlg, "EditP3");
    ASSERT_TRUE(frac->isEnabled());
    TypeInto(frac, "0,75");
    EXPECT_DOUBLE_EQ(s.ed.work.CurLine.Frac3.v, 0.75);
    frac->selectAll();
    QTest::keyClick(frac, Qt::Key_Backspace);
    EXPECT_DOUBLE_EQ(s.ed.work.CurLine.Frac3.v, 0.75);

    auto* x1 = Find<TNumEdit>(*s.dlg, "EditLx1");
    TypeInto(x1, "1,5");
    s.leave(x1);
    EXPECT_DOUBLE_EQ(s.stored().P1.Y.v, 1.5);  // the 3D Y follows the typed picture X
    auto* y1 = Find<TNumEdit>(*s.dlg, "EditLy1");
    TypeInto(y1, "1,5");  // a whole-number field: rounded when left, never 15
    EXPECT_EQ(y1->text(), "1,5");
    s.leave(y1);
    EXPECT_EQ(y1->text(), "2");
    EXPECT_EQ(s.stored().P1.ScrY.v, 2);
    for (const DPoint* p : {&s.stored().P1, &s.stored().P2})
        for (double v : {p->X.v, p->Y.v, p->Z.v}) EXPECT_TRUE(std::isfinite(v));

    // End 2 opened, moved in the point dialog, and back.
    const int before = s.ed.undoSteps;
    QTest::mouseClick(Find<QPushButton>(*s.dlg, "ButtonL2"), Qt::LeftButton);
    EXPECT_TRUE(s.dlg.isNull() || !s.ed.reg.isOpen(Kind::li));
    ASSERT_TRUE(s.ed.reg.isOpen(Kind::po));
    EXPECT_EQ(s.ed.doc->Role[0], 2);
    EXPECT_EQ(s.ed.backTo, std::vector<Kind>{Kind::li});
    EXPECT_EQ(s.ed.undoSteps, before);
    auto* po = s.ed.reg.dialog(Kind::po);
    ShowActive(*po);
    TypeInto(Find<TNumEdit>(*po, "EditPy"), "7");
    EXPECT_DOUBLE_EQ(s.ed.work.CurLine.P2.ScrY.v, 7);
    // Back to the segment, as the editing core does through its dialog host
    // and the document's objectChanged.
    DialogHost& host = s.ed.reg;
    host.Close(Kind::po);
    s.ed.doc->Role[0] = 0;
    host.Show(Kind::li);
    s.ed.reg.refill(Kind::li);
    auto* li = s.ed.reg.dialog(Kind::li);
    ASSERT_NE(li, nullptr);
    EXPECT_EQ(Find<TNumEdit>(*li, "EditLy2")->text(), "7");
    ShowActive(*li);
    host.Activate(Kind::li, "EditLAng");
    EXPECT_EQ(host.ActiveControl(Kind::li), "EditLAng");
}

// The end buttons and the length by entry kind and roles (segment, triangle,
// tetragon levels).
TEST(LineDialog, EnableTable) {
    struct Row {
        const char* k;
        int r, rt, rk;
        bool one, two, length;
    };
    const Row rows[] = {
        {"li", 0, 0, 0, true, true, true},    {"ci", 2, 0, 0, false, true, true},
        {"ci", 5, 0, 0, true, false, true},   {"tr", 8, 0, 0, false, true, true},
        {"tr", 1, 0, 0, false, true, false},  {"kv", 9, 0, 0, false, true, false},
        {"xy", 12, 0, 0, false, true, true},  {"xz", 29, 0, 0, false, true, true},
        {"sf", 15, 0, 0, true, false, true},  {"zi", 18, 0, 0, false, false, true},
        {"ko", 6, 0, 0, false, false, true},  {"i3", 4, 7, 0, false, false, false},
        {"i4", 22, 0, 0, true, true, true},   {"r4", 14, 0, 9, false, false, false},
        {"r3", 14, 0, 2, true, false, false},
    };
    LineSession s;
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.k) + " " + std::to_string(r.r));
        s.ed.current.code[0] = r.k[0], s.ed.current.code[1] = r.k[1];
        s.ed.doc->Role[1] = static_cast<std::uint8_t>(r.r);
        s.ed.doc->Role[3] = static_cast<std::uint8_t>(r.rt);
        s.ed.doc->Role[4] = static_cast<std::uint8_t>(r.rk);
        s.ed.reg.Fill(Kind::li, s.ed.work.CurLine);
        EXPECT_EQ(Find<QPushButton>(*s.dlg, "ButtonL1")->isEnabled(), r.one);
        EXPECT_EQ(Find<QPushButton>(*s.dlg, "ButtonL2")->isEnabled(), r.two);
        EXPECT_EQ(Find<TNumEdit>(*s.dlg, "EditLLen")->isEnabled(), r.length);
        EXPECT_EQ(Find<QPushButton>(*s.dlg, "ButtonLSave")->isEnabled(), std::string(r.k) == "li");
    }
    EXPECT_EQ(s.ed.undoSteps, 0);
}

// "Все отрезки" with only the arrows: sizes travel, the arrows' presence does not.
TEST(LineDialog, AllSegmentsArrowsOnly) {
    LineSession s;
    DCircle c;
    LoadDefaultCircle(c, 1, DefaultsSource{});
    s.ed.doc->Obj.Ci.add(c);
    s.ed.work.CurLine.Arrow1Len.v = 33;
    s.ed.work.CurLine.Arrow1.v = true;
    s.ed.work.CurLine.Thick.v = 9;
    auto& dlg = static_cast<TFormLi&>(*s.dlg);
    dlg.applyToAllLines(false, false, true);
    EXPECT_EQ(s.ed.doc->Obj.Ci[1].R[2].Arrow1Len.v, 33);
    EXPECT_EQ(s.ed.doc->Obj.Ci[1].R[2].Arrow1.v, c.R[2].Arrow1.v);
    EXPECT_EQ(s.ed.doc->Obj.Ci[1].R[2].Thick.v, c.R[2].Thick.v);
    EXPECT_EQ(s.ed.undoSteps, 1);
}
