#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "coord_fake.h"
#include "dialog_test_util.h"
#include "dialogs/ui/num_edit.h"
#include "files/ui/text_tip.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct XZSession {
    CoordEditing ed;
    TFormXZ* dlg;
    XZSession() : dlg(ed.add<TFormXZ>(Kind::xz)) {
        for (auto& c : ed.work.CurXZ.Curves) c.Valid = 1;
        for (auto& o : ed.work.CurXZ.Outlines) o.Lines.Valid = 1;
        dlg->showPage(2);
        ShowActive(*dlg);
    }
    template <class W>
    W* find(const char* name) {
        return Find<W>(*dlg, name);
    }
    int stale() const {
        int n = 0;
        for (const auto& c : ed.xz().Curves) n += c.Valid == 0;
        return n;
    }
};

}  // namespace

// Each surface formula stales its own sections and outline as it is typed,
// one undo step per key and no redraw; the parametric curve's functions
// stale nothing; a surface whose outline has the gradient on makes the
// shaded picture invalid.
TEST(XYZDialog, FormulasStaleTheirSurface) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    XZSession s;
    s.ed.doc->FillValid = 1;
    for (std::size_t i = 1; i <= 4; ++i) s.ed.work.CurXZ.SurfOn[i].v = true;
    s.ed.work.CurXZ.Outlines[3].GradientOn = true;
    s.ed.reg.Fill(Kind::xz, s.ed.work.CurXZ);
    EXPECT_EQ(s.ed.undoSteps, 0);

    TypeInto(s.find<QLineEdit>("EditY4"), "x^2+y^2+z^2-4");
    EXPECT_EQ(s.ed.xz().Surf[4].s, "x^2+y^2+z^2-4");
    EXPECT_EQ(s.ed.undoSteps, 13);
    EXPECT_EQ(s.ed.redraws, 0);
    EXPECT_EQ(s.stale(), 33);
    for (std::size_t c = 1; c <= 22; ++c) EXPECT_EQ(s.ed.xz().Curves[c].Valid, 1) << c;
    EXPECT_EQ(s.ed.xz().Outlines[3].Lines.Valid, 0);
    EXPECT_EQ(s.ed.xz().Outlines[1].Lines.Valid, 1);
    EXPECT_EQ(s.ed.doc->FillValid, 0);

    s.ed.doc->FillValid = 1;
    TypeInto(s.find<QLineEdit>("EditY2"), "x*y");
    EXPECT_EQ(s.stale(), 44);
    EXPECT_EQ(s.ed.xz().Outlines[2].Lines.Valid, 0);
    EXPECT_EQ(s.ed.doc->FillValid, 1) << "outline 2 has no gradient";
    const int undo = s.ed.undoSteps;
    TypeInto(s.find<QLineEdit>("EditY32"), "sin(t)");
    EXPECT_EQ(s.ed.xz().Surf3More[1].s, "sin(t)");
    EXPECT_EQ(s.ed.undoSteps, undo + 6);
    EXPECT_EQ(s.stale(), 44);
    EXPECT_EQ(s.ed.xz().Outlines[1].Lines.Valid, 1);

    // The scale stales everything and the shading, committed when left.
    s.dlg->showPage(1);
    TypeInto(s.find<TNumEdit>("EditYMas"), "25");
    s.find<QLineEdit>("EditYID")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(s.ed.xz().Scale.v, 25);
    EXPECT_EQ(s.stale(), 55);
    for (const auto& o : s.ed.xz().Outlines) EXPECT_EQ(o.Lines.Valid, 0);
    EXPECT_EQ(s.ed.doc->FillValid, 0);
    EXPECT_EQ(s.ed.redraws, 1);
}

// A surface's controls follow its on box after the commit; the parametric
// curve has no section, outline or second-order controls; the second-order
// box stales its outline only, one undo step; the section and outline
// buttons commit when their dialogs return.
TEST(XYZDialog, SurfaceControls) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    XZSession s;
    s.ed.work.CurXZ.SurfOn[2].v = true;
    s.ed.reg.Fill(Kind::xz, s.ed.work.CurXZ);
    const char* surface2[] = {"EditY2", "ButtonY2", "ButtonY22", "ButtonY20", "CheckBoxY20"};
    for (const char* n : surface2) EXPECT_TRUE(s.find<QWidget>(n)->isEnabled()) << n;
    auto* on2 = s.find<QCheckBox>("CheckBoxY2");
    on2->setFocus();
    ClickIndicator(on2);
    EXPECT_FALSE(s.ed.xz().SurfOn[2].v);
    EXPECT_EQ(s.ed.undoSteps, 1);
    EXPECT_EQ(s.ed.redraws, 1);
    for (const char* n : surface2) EXPECT_FALSE(s.find<QWidget>(n)->isEnabled()) << n;
    EXPECT_FALSE(s.find<QPushButton>("ButtonY20")->property("built").toBool());

    auto* g3 = s.find<QGroupBox>("GroupBoxY3");
    EXPECT_EQ(g3->findChildren<QPushButton*>().size(), 1) << "only the options";
    EXPECT_TRUE(g3->findChildren<QCheckBox*>().size() == 1);
    EXPECT_EQ(g3->findChildren<QLineEdit*>().size(), 3);

    s.ed.work.CurXZ.SurfOn[1].v = true;
    s.ed.work.CurXZ.Outlines[1].GradientOn = true;
    s.ed.reg.Fill(Kind::xz, s.ed.work.CurXZ);
    s.ed.doc->FillValid = 1;
    auto* second = s.find<QCheckBox>("CheckBoxY10");
    second->setFocus();
    ClickIndicator(second);
    EXPECT_EQ(s.ed.xz().Outlines[1].FitMode != 0, second->isChecked());
    EXPECT_EQ(s.ed.xz().Outlines[1].Lines.Valid, 0);
    EXPECT_EQ(s.stale(), 0);
    EXPECT_EQ(s.ed.undoSteps, 2);
    EXPECT_EQ(s.ed.doc->FillValid, 0);
    for (const char* b : {"ButtonY11", "ButtonY10"}) {
        const int undo = s.ed.undoSteps;
        s.ed.doc->FillValid = 1;
        // Whatever the section or outline dialog is, it returns.
        QTimer::singleShot(0, [] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) modal->accept();
        });
        QTest::mouseClick(s.find<QPushButton>(b), Qt::LeftButton);
        EXPECT_EQ(s.ed.undoSteps, undo + 1) << b;
        EXPECT_EQ(s.ed.doc->FillValid, 0) << b;
    }

    // The default set: Save, a scale typed, Load brings the saved one back as
    // one commit, every cached curve of the loaded system to be traced again.
    s.dlg->showPage(1);
    ShowActive(*s.dlg);  // back from the modal dialogs
    QTest::mouseClick(s.find<QPushButton>("ButtonYSave"), Qt::LeftButton);
    const double scale = s.ed.xz().Scale.v, centreY = s.ed.xz().Center.ScrY.v;
    TypeInto(s.find<TNumEdit>("EditYMas"), "41");
    s.find<QLineEdit>("EditYID")->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(s.ed.xz().Scale.v, 41);
    for (auto& c : s.ed.work.CurXZ.Curves) c.Valid = 1;
    const int undo = s.ed.undoSteps;
    QTest::mouseClick(s.find<QPushButton>("ButtonYLoad"), Qt::LeftButton);
    EXPECT_TRUE(s.ed.messages.empty());
    EXPECT_EQ(s.ed.xz().Scale.v, scale);
    EXPECT_EQ(s.ed.undoSteps, undo + 1);
    EXPECT_EQ(s.stale(), 55);
    EXPECT_EQ(s.ed.xz().Center.ScrY.v, centreY) << "read in the document's orientation, not turned again";

    // Parts: the Z axis in the segment dialog with role 29.
    QTest::mouseClick(s.find<QPushButton>("ButtonY_Z"), Qt::LeftButton);
    EXPECT_EQ(s.ed.roleSlot(Kind::li), 29);
    EXPECT_FALSE(s.ed.reg.isOpen(Kind::xz));
    EXPECT_EQ(s.ed.backTo, std::vector<Kind>{Kind::xz});
}

// A surface typed as an equation is kept as typed and told when the field
// is left: the tip names the formula to write.
TEST(XYZDialog, SurfaceFormulasTheDrawerCannotDraw) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    XZSession s;
    s.ed.work.CurXZ.SurfOn[1].v = true;
    s.ed.reg.Fill(Kind::xz, s.ed.work.CurXZ);
    TypeInto(s.find<QLineEdit>("EditY1"), "z=x*y");
    QTest::keyClick(s.find<QLineEdit>("EditY1"), Qt::Key_Tab);
    EXPECT_EQ(s.ed.xz().Surf[1].s, "z=x*y");
    EXPECT_EQ(ShownTextTip(), QString::fromUtf8("Знак \"=\" не входит в формулу: напишите x*y"));
}
