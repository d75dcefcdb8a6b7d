#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "dialog_test_util.h"
#include "dialogs/ui/anim_dialog.h"
#include "editing_fake.h"

using namespace pelmar;
using namespace pelmar::test;

// A linked point (3D coordinates not editable): X=, Y=, Z= empty and
// disabled; the close box and Esc do not close; "Ok" stores the angle formula
// as typed, keeps the coordinate formulas and commits once.
TEST(AnimDialog, PointFormulasLeftOnlyByOk) {
    FakeEditing ed;
    DPoint& p = ed.work.CurPoint;
    p.X.e = p.Y.e = p.Z.e = false;
    p.LabelAngle.e = true;
    p.Anim = {"1+x", "2+x", "3+x", "old"};
    std::unique_ptr<TFormAnim> d(NewFormAnimPo(p, ed, nullptr));
    ShowActive(*d);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(d->edit(i)->isEnabled());
        EXPECT_TRUE(d->edit(i)->text().isEmpty());
    }
    EXPECT_EQ(d->edit(3)->text(), "old");

    d->close();
    QTest::keyClick(d.get(), Qt::Key_Escape);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(ed.undoSteps, 0);

    TypeInto(d->edit(3), " 10*sin(x) ");
    QTest::mouseClick(Find<QPushButton>(*d, "Button1"), Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(p.Anim[3], " 10*sin(x) ");
    EXPECT_EQ(p.Anim[0], "1+x");
    EXPECT_EQ(ed.undoSteps, 1);
}
