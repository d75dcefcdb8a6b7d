#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <cmath>

#include "dialog_test_util.h"
#include "dialogs/ui/ellipse_dialog.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/spin_edit.h"
#include "editing_fake.h"
#include "model/defaults.h"
#include "model/geometry.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct EllipseSession {
    FakeEditing ed;
    QPointer<ObjectDialog> dlg;
    EllipseSession() {
        DCircle c;
        LoadDefaultCircle(c, 1, DefaultsSource{});
        c.A.e = c.B.e = c.Tilt.e = c.IsCircle.e = c.Arc1.e = c.Arc2.e = true;
        c.Center.ScrX.e = c.Center.ScrY.e = true;
        c.Center.Y.v += 0.375;  // between pixels, as a transformation leaves it
        ProjectPoint(c.Center);
        c.A.v = 50.5, c.B.v = 30, c.Tilt.v = 20, c.IsCircle.v = false;
        c.Arc1.v = 0, c.Arc2.v = 90;
        c.Q1 = {c.Center.X.v + 1, c.Center.Y.v + 40, c.Center.Z.v + 2};
        c.Q2 = {c.Center.X.v - 3, c.Center.Y.v, c.Center.Z.v + 25};
        ed.doc->Obj.Ci.add(c);
        ed.select(Kind::ci, 1);
        ed.work.CurCircle = c;
        dlg = ed.reg.open(Kind::ci);
        ed.reg.Fill(Kind::ci, c);
        ShowActive(*dlg);
    }
    DCircle& work() { return ed.work.CurCircle; }
};

}  // namespace

// A session in the ellipse dialog: a fill keeps a semi-axis of 50.5; the
// tilt ignores a text that is not yet a number; an arc start past the end
// waits for Return and is then the end; the centre typed is seen exactly there and carries the axis ends; three clicks of a correction
// return it; "Окружность" clears the tilt and makes a = b.
TEST(EllipseDialog, TypedSession) {
    EllipseSession s;
    EXPECT_DOUBLE_EQ(s.work().A.v, 50.5);
    EXPECT_EQ(s.ed.undoSteps, 0);

    auto* tilt = Find<TNumEdit>(*s.dlg, "EditCAn");
    TypeInto(tilt, "-");
    EXPECT_EQ(s.ed.undoSteps, 0);
    EXPECT_DOUBLE_EQ(s.work().Tilt.v, 20);
    QTest::keyClicks(tilt, "30");
    EXPECT_DOUBLE_EQ(s.work().Tilt.v, -30);
    EXPECT_DOUBLE_EQ(s.work().A.v, 50.5);

    auto* start = Find<TNumEdit>(*s.dlg, "EditCDug1");
    TypeInto(start, "120");
    EXPECT_DOUBLE_EQ(s.work().Arc1.v, 12);  // "120" waits: it would pass the end
    EXPECT_EQ(start->text(), "120");
    QTest::keyClick(start, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(s.work().Arc1.v, 90);
    EXPECT_EQ(start->text(), "90");

    const DPoint& o = s.work().Center;
    const std::array<double, 3> q1 = s.work().Q1, q2 = s.work().Q2;
    const double y0 = o.Y.v, sx = o.ScrX.v;
    auto* cx = Find<TSpinEdit>(*s.dlg, "SpinEditCx");
    TypeInto(cx, QString::number(sx + 10));
    EXPECT_NEAR(o.Y.v - o.X.v / std::sqrt(8.0), sx + 10, 1e-9);  // seen exactly where typed
    EXPECT_NEAR(s.work().Q1[1] - q1[1], o.Y.v - y0, 1e-9);
    EXPECT_NEAR(s.work().Q2[1] - q2[1], o.Y.v - y0, 1e-9);
    EXPECT_DOUBLE_EQ(s.work().Q2[2], q2[2]);

    auto* a1 = Find<QPushButton>(*s.dlg, "Buttona1");
    const int first = s.work().CorA1;
    const int steps = s.ed.undoSteps;
    for (int i = 0; i < 3; ++i) QTest::mouseClick(a1, Qt::LeftButton);
    EXPECT_EQ(s.work().CorA1, first);
    EXPECT_EQ(a1->text(), QString::number(first));
    EXPECT_EQ(s.ed.undoSteps, steps + 3);

    auto* circle = Find<QCheckBox>(*s.dlg, "CheckBoxCCi");
    ASSERT_FALSE(circle->isChecked());
    circle->setFocus();
    ClickIndicator(circle);
    EXPECT_DOUBLE_EQ(s.work().Tilt.v, 0);
    EXPECT_DOUBLE_EQ(s.work().A.v, s.work().B.v);
    EXPECT_EQ(tilt->text(), "0");

    // The centre opened in the point dialog.
    QTest::mouseClick(Find<QPushButton>(*s.dlg, "ButtonCCenter"), Qt::LeftButton);
    EXPECT_EQ(s.ed.doc->Role[0], 3);
    EXPECT_TRUE(s.ed.reg.isOpen(Kind::po));
    EXPECT_FALSE(s.ed.reg.isOpen(Kind::ci));
    EXPECT_EQ(s.ed.backTo, std::vector<Kind>{Kind::ci});
}

// The centre button by entry kind and the ellipse's role.
TEST(EllipseDialog, CentreButtonTable) {
    struct Row {
        const char* k;
        int r;
        bool centre;
    };
    const Row rows[] = {{"ci", 0, true},  {"tr", 1, true},  {"sf", 6, false}, {"sf", 5, true},
                        {"zi", 8, false}, {"zi", 4, true},  {"ko", 1, false}, {"i3", 3, false},
                        {"r4", 6, false}, {"r3", 2, true}};
    EllipseSession s;
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.k) + " " + std::to_string(r.r));
        s.ed.current.code[0] = r.k[0], s.ed.current.code[1] = r.k[1];
        s.ed.doc->Role[2] = static_cast<std::uint8_t>(r.r);
        s.ed.reg.Fill(Kind::ci, s.work());
        EXPECT_EQ(Find<QPushButton>(*s.dlg, "ButtonCCenter")->isEnabled(), r.centre);
    }
    EXPECT_EQ(s.ed.undoSteps, 0);
}
