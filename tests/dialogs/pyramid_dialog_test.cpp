// The pyramid dialog driven as a user drives it: the two variants in one
// dialog, the enable table, the apex side swapped and back, a type that
// switches a sphere off, the height, the rotation about the height, the parts
// opened with their roles and a base side written back into the pyramid; one
// undo step per change and none for a fill.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cmath>

#include "dialog_test_util.h"
#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/triangle_dialog.h"
#include "model/geometry.h"
#include "solid_fake.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

DPi3 Pyramid3(int type, int number = 0) {
    DPi3 p;
    LoadDefaultPyramid3(p, 1, DefaultsSource{});
    p.Typ.v = static_cast<std::uint8_t>(type);
    p.Number = number;
    UpdatePyramid3(p, 0);
    return p;
}

DPi4 Pyramid4(int type, int number = 0) {
    DPi4 p;
    LoadDefaultPyramid4(p, 1, DefaultsSource{});
    p.Typ.v = static_cast<std::uint8_t>(type);
    p.Number = number;
    UpdatePyramid4(p, 0);
    return p;
}

struct PyramidSession {
    SolidEditing ed;
    PyramidDialog* dlg = nullptr;
    template <class P>
    explicit PyramidSession(const P& p) {
        const Kind k = std::is_same_v<P, DPi3> ? Kind::i3 : Kind::i4;
        ed.add(k, p);
        dlg = static_cast<PyramidDialog*>(ed.reg.open(k));
        ed.reg.Fill(p);
        ShowActive(*dlg);
    }
    const DPi3& stored3() const { return ed.doc->Obj.I3[1]; }
    const DPi4& stored4() const { return ed.doc->Obj.I4[1]; }
    void click(TRadioGroup* g, int item) {
        g->button(item)->setFocus();
        QTest::mouseClick(g->button(item), Qt::LeftButton, {}, QPoint(8, g->button(item)->height() / 2));
    }
    void typeAndLeave(QLineEdit* e, const QString& text) {
        TypeInto(e, text);
        dlg->EditPID->setFocus();
        QApplication::processEvents();
    }
};

Vec3 Apex(const DPi3& p) { return Pos(p.HeightLine.P2); }

}  // namespace

// One dialog for both kinds: the four-sided pyramid shows "Грань4" and its
// own type names; the three-sided one hides it.  The pyramid dialog is the
// same window for both kinds, found and closed through either.
TEST(PyramidDialog, VariantsShareOneDialog) {
    PyramidSession s(Pyramid4(1));
    EXPECT_EQ(s.dlg->windowTitle(), "Четырехугольная пирамида");
    EXPECT_TRUE(s.dlg->ButtonPGran[3]->isVisible());
    QStringList items;
    for (int i = 0; i < 3; ++i) items << s.dlg->RadioGroupPType->itemText(i);
    EXPECT_EQ(items, QStringList({"Правильная", "Пирамида", "Произвольная"}));

    s.ed.add(Kind::i3, Pyramid3(3));
    EXPECT_EQ(s.ed.reg.open(Kind::i3), s.dlg);
    s.ed.reg.Fill(s.ed.work.CurPi3);
    EXPECT_EQ(s.dlg->windowTitle(), "Треугольная пирамида");
    EXPECT_FALSE(s.dlg->ButtonPGran[3]->isVisible());
    items.clear();
    for (int i = 0; i < 3; ++i) items << s.dlg->RadioGroupPType->itemText(i);
    EXPECT_EQ(items, QStringList({"Тетраэдр", "Правильная", "Произвольная"}));
    EXPECT_EQ(s.dlg->RadioGroupPType->itemIndex(), 2);
    EXPECT_EQ(s.ed.undoSteps, 0) << "fills commit nothing";

    // Edits go to the kind of the current list entry.
    s.dlg->ComboBoxPVid->setFocus();
    s.dlg->ComboBoxPVid->activated(1);
    EXPECT_EQ(s.stored3().View.v, 2);
    EXPECT_EQ(s.stored4().View.v, Pyramid4(1).View.v);
    EXPECT_EQ(s.ed.undoSteps, 1);

    s.ed.reg.Close(Kind::i4);
    EXPECT_FALSE(s.ed.reg.isOpen(Kind::i3));
}

// The enable table: the height edit by its flag, the height button by the
// height switch, the inscribed-sphere box of the three-sided pyramid by its
// type, the four-sided pyramid's sphere boxes by their flags, the rotation
// by the creation number.
TEST(PyramidDialog, EnableTable) {
    struct Row {
        Kind kind;
        int type, number;
        bool heightOn;
        bool editH, buttonH, boxOut, boxIn, rotate;
    } rows[] = {
        {Kind::i3, 1, 0, true, false, true, true, true, true},
        {Kind::i3, 2, 1, false, true, false, true, true, true},
        {Kind::i3, 3, 2, true, true, true, true, false, false},
        {Kind::i4, 1, 0, true, true, true, true, true, true},
        {Kind::i4, 2, 0, false, true, false, false, false, true},
        {Kind::i4, 3, 5, true, true, true, false, false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(InfoOf(r.kind).code) + " type " + std::to_string(r.type));
        std::unique_ptr<PyramidSession> s;
        if (r.kind == Kind::i3) {
            DPi3 p = Pyramid3(r.type, r.number);
            p.HeightOn.v = r.heightOn;
            s = std::make_unique<PyramidSession>(p);
        } else {
            DPi4 p = Pyramid4(r.type, r.number);
            p.HeightOn.v = r.heightOn;
            s = std::make_unique<PyramidSession>(p);
        }
        EXPECT_EQ(s->dlg->EditPH->isEnabled(), r.editH);
        EXPECT_EQ(s->dlg->ButtonPH->isEnabled(), r.buttonH);
        EXPECT_EQ(s->dlg->CheckBoxPSOpi->isEnabled(), r.boxOut);
        EXPECT_EQ(s->dlg->CheckBoxPSVpi->isEnabled(), r.boxIn);
        EXPECT_EQ(s->dlg->ButtonPAn2->isEnabled(), r.rotate);
        EXPECT_EQ(s->dlg->ButtonPSOpi->isEnabled(), s->dlg->CheckBoxPSOpi->isChecked());
        EXPECT_EQ(s->dlg->ButtonPSave->isEnabled(), true);
        EXPECT_EQ(s->dlg->ButtonPLoad->isEnabled(), r.number == 0);
        EXPECT_EQ(s->dlg->ButtonPiBrush->isEnabled(), true);
    }
}

// "Вершина": choosing the other side mirrors the apex in the base plane,
// choosing the first side again mirrors it back; the side already held
// changes and commits nothing.
TEST(PyramidDialog, ApexSideSwappedAndBack) {
    PyramidSession s(Pyramid3(3));
    const DPi3 before = s.stored3();
    const int side = before.Orient.v;
    ASSERT_EQ(s.dlg->RadioGroupPVer->itemIndex(), side - 1);

    s.click(s.dlg->RadioGroupPVer, side - 1);
    EXPECT_EQ(s.ed.undoSteps, 0);

    s.click(s.dlg->RadioGroupPVer, 2 - side);
    EXPECT_EQ(s.ed.undoSteps, 1);
    const Vec3 foot = Pos(before.HeightLine.P1);
    const Vec3 mirrored = Apex(s.stored3()) - foot, was = Apex(before) - foot;
    EXPECT_NEAR(mirrored.x, -was.x, 2e-3);
    EXPECT_NEAR(mirrored.y, -was.y, 2e-3);
    EXPECT_NEAR(mirrored.z, -was.z, 2e-3);
    EXPECT_EQ(s.stored3().Orient.v, 3 - side);
    EXPECT_EQ(s.dlg->RadioGroupPVer->itemIndex(), 2 - side);

    s.click(s.dlg->RadioGroupPVer, side - 1);
    EXPECT_EQ(s.ed.undoSteps, 2);
    EXPECT_NEAR(Norm(Apex(s.stored3()) - Apex(before)), 0, 4e-3);
    EXPECT_EQ(s.stored3().Orient.v, side);
}

// A type without a sphere switches it off and disables its box.  A fill of a
// record of such a type that still has the sphere on switches it off in the
// working copy without a commit; the next commit of anything stores that.
TEST(PyramidDialog, TypeSwitchesSphereOff) {
    DPi3 p = Pyramid3(2);
    p.InSphereOn.v = p.OutSphereOn.v = true;
    PyramidSession s(p);
    EXPECT_TRUE(s.dlg->CheckBoxPSVpi->isEnabled());
    EXPECT_TRUE(s.dlg->ButtonPSVpi->isEnabled());
    s.click(s.dlg->RadioGroupPType, 2);
    EXPECT_EQ(s.ed.undoSteps, 1);
    EXPECT_EQ(s.stored3().Typ.v, 3);
    EXPECT_FALSE(s.stored3().InSphereOn.v);
    EXPECT_TRUE(s.stored3().OutSphereOn.v);
    EXPECT_FALSE(s.dlg->CheckBoxPSVpi->isEnabled());
    EXPECT_FALSE(s.dlg->ButtonPSVpi->isEnabled());

    DPi3 stale = s.stored3();
    stale.InSphereOn.v = true;
    s.ed.work.CurPi3 = stale;
    s.ed.doc->Obj.I3[1] = stale;
    s.ed.reg.Fill(stale);
    EXPECT_FALSE(s.ed.work.CurPi3.InSphereOn.v);
    EXPECT_TRUE(s.ed.work.CurPi3.OutSphereOn.v);
    EXPECT_FALSE(s.dlg->CheckBoxPSVpi->isChecked());
    EXPECT_FALSE(s.dlg->ButtonPSVpi->isEnabled());
    EXPECT_TRUE(s.stored3().InSphereOn.v) << "the fill commits nothing";
    EXPECT_EQ(s.ed.undoSteps, 1);
    TypeInto(Find<TSpinEdit>(*s.dlg, "SpinEditPTol"), "4");
    EXPECT_EQ(s.ed.undoSteps, 2);
    EXPECT_FALSE(s.stored3().InSphereOn.v);
    EXPECT_EQ(s.stored3().Thick.v, 4);

    DPi4 q = Pyramid4(1);
    q.InSphereOn.v = q.OutSphereOn.v = true;
    PyramidSession s4(q);
    s4.click(s4.dlg->RadioGroupPType, 1);
    EXPECT_EQ(s4.stored4().Typ.v, 2);
    EXPECT_FALSE(s4.stored4().InSphereOn.v);
    EXPECT_FALSE(s4.stored4().OutSphereOn.v);
    EXPECT_FALSE(s4.dlg->CheckBoxPSOpi->isEnabled());
    EXPECT_EQ(s4.ed.undoSteps, 1);

    // Four-sided: filling a "Пирамида" with both spheres on switches both off;
    // a regular one keeps them.
    for (const int type : {1, 2}) {
        DPi4 r = s4.stored4();
        r.Typ.v = static_cast<std::uint8_t>(type);
        r.InSphereOn.v = r.OutSphereOn.v = true;
        s4.ed.work.CurPi4 = r;
        s4.ed.reg.Fill(r);
        EXPECT_EQ(s4.ed.work.CurPi4.OutSphereOn.v, type == 1) << type;
        EXPECT_EQ(s4.ed.work.CurPi4.InSphereOn.v, type == 1) << type;
        EXPECT_EQ(s4.dlg->CheckBoxPSOpi->isChecked(), type == 1) << type;
        EXPECT_EQ(s4.ed.undoSteps, 1);
    }
}

// The height: a typed value moves the apex along the height line; a height
// line of length 0 of an arbitrary pyramid takes none; the shown value is
// rounded to 0.001 but a fill never stores it.
TEST(PyramidDialog, HeightTypedAndFillsStoreNothing) {
    PyramidSession s(Pyramid3(3));
    const DPi3 before = s.stored3();
    s.typeAndLeave(s.dlg->EditPH, "150");
    EXPECT_EQ(s.ed.undoSteps, 1);
    EXPECT_NEAR(s.stored3().HeightLine.Length.v, 150, 1.5e-3);
    const Vec3 d0 = Apex(before) - Pos(before.HeightLine.P1), d1 = Apex(s.stored3()) - Pos(s.stored3().HeightLine.P1);
    EXPECT_NEAR(Norm(Cross(d0, d1)) / (Norm(d0) * Norm(d1)), 0, 1e-4);
    EXPECT_EQ(s.dlg->EditPH->text(), "150");

    // A height of 50,12345 shows as 50,123; committing the thickness keeps it.
    DPi3 fine = s.stored3();
    fine.HeightLine.Length.v = 50.12345;
    s.ed.work.CurPi3 = fine;
    s.ed.reg.Fill(fine);
    EXPECT_EQ(s.dlg->EditPH->text(), "50,123");
    auto* tol = Find<TSpinEdit>(*s.dlg, "SpinEditPTol");
    TypeInto(tol, "3");
    EXPECT_EQ(s.ed.work.CurPi3.Thick.v, 3);
    EXPECT_EQ(s.stored3().Thick.v, 3);

    // An arbitrary pyramid whose apex lies in its base plane: refused.
    DPi3 flat = s.stored3();
    flat.HeightLine.P2 = flat.HeightLine.P1;
    flat.HeightLine.Length.v = 0;
    s.ed.work.CurPi3 = flat;
    s.ed.reg.Fill(flat);
    const int steps = s.ed.undoSteps;
    s.typeAndLeave(s.dlg->EditPH, "80");
    EXPECT_EQ(s.ed.undoSteps, steps);
    EXPECT_EQ(s.dlg->EditPH->text(), "0");
}

// "Повернуть на угол:" turns the whole pyramid about its height; an emptied
// angle is 0 and turns nothing; a pyramid others are built on cannot be
// turned.
TEST(PyramidDialog, RotationAboutTheHeight) {
    PyramidSession s(Pyramid4(1));
    const DPi4 before = s.stored4();
    TypeInto(s.dlg->EditPAn2, "90");
    QTest::mouseClick(s.dlg->ButtonPAn2, Qt::LeftButton);
    EXPECT_EQ(s.ed.undoSteps, 1);
    const DPi4& after = s.stored4();
    EXPECT_NEAR(Norm(Pos(after.HeightLine.P2) - Pos(before.HeightLine.P2)), 0, 0.01);
    for (std::size_t k = 1; k <= 4; ++k) {  // the square base lands on itself, one vertex on
        const Vec3 v = Pos(after.Base.S[k].P1);
        const double next = Norm(v - Pos(before.Base.S[k % 4 + 1].P1));
        const double prev = Norm(v - Pos(before.Base.S[(k + 2) % 4 + 1].P1));
        EXPECT_LT(std::min(next, prev), 0.02) << k;
    }

    // The angle emptied and left is 0, which turns nothing.
    s.dlg->EditPAn2->setFocus();
    s.dlg->EditPAn2->selectAll();
    QTest::keyClick(s.dlg->EditPAn2, Qt::Key_Backspace);
    EXPECT_EQ(s.dlg->EditPAn2->text(), "");
    QTest::mouseClick(s.dlg->ButtonPAn2, Qt::LeftButton);
    EXPECT_EQ(s.dlg->EditPAn2->text(), "0");
    EXPECT_EQ(s.ed.undoSteps, 1);
    EXPECT_TRUE(s.ed.messages.empty());

    PyramidSession built(Pyramid4(1, 2));
    EXPECT_FALSE(built.dlg->ButtonPAn2->isEnabled());
}

// The part buttons: each writes its role, copies the part into its working
// copy, closes the pyramid dialog and enables the way back to the pyramid.
TEST(PyramidDialog, PartButtonsWriteRoles) {
    struct Row {
        Kind kind;
        const char* button;
        Kind part;
        int role;
    } rows[] = {
        {Kind::i3, "ButtonPH", Kind::li, 22},    {Kind::i3, "ButtonPBase", Kind::tr, 5},
        {Kind::i3, "ButtonPGran1", Kind::tr, 6}, {Kind::i3, "ButtonPGran3", Kind::tr, 8},
        {Kind::i3, "ButtonPSOpi", Kind::sf, 1},  {Kind::i4, "ButtonPBase", Kind::kv, 5},
        {Kind::i4, "ButtonPGran4", Kind::tr, 9}, {Kind::i4, "ButtonPSVpi", Kind::sf, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.button);
        std::unique_ptr<PyramidSession> s;
        if (r.kind == Kind::i3) {
            DPi3 p = Pyramid3(2);
            p.OutSphereOn.v = p.InSphereOn.v = p.HeightOn.v = true;
            s = std::make_unique<PyramidSession>(p);
        } else {
            DPi4 p = Pyramid4(1);
            p.OutSphereOn.v = p.InSphereOn.v = true;
            s = std::make_unique<PyramidSession>(p);
        }
        QTest::mouseClick(Find<QPushButton>(*s->dlg, r.button), Qt::LeftButton);
        EXPECT_EQ(s->ed.roleSlot(r.part), r.role);
        EXPECT_EQ(s->ed.backTo, std::vector<Kind>{r.kind});
        EXPECT_FALSE(s->ed.reg.isOpen(r.kind));
        // The sphere's dialog comes with another file: none is shown here.
        EXPECT_EQ(s->ed.reg.isOpen(r.part), r.part != Kind::sf);
        const WorkingCopies& w = s->ed.work;
        if (r.part == Kind::tr && r.kind == Kind::i4) {
            EXPECT_EQ(w.CurTri.S[1].P1.X.v, w.CurPi4.Face[4].S[1].P1.X.v);
        }
        if (r.part == Kind::sf) {
            const DSf& sphere = r.kind == Kind::i3 ? (r.role == 1 ? w.CurPi3.OutSphere : w.CurPi3.InSphere)
                                                   : (r.role == 1 ? w.CurPi4.OutSphere : w.CurPi4.InSphere);
            EXPECT_EQ(w.CurSf.Radius.v, sphere.Radius.v);
        }
        QApplication::processEvents();
    }
}

// A base side opened as a part: its length typed in the triangle dialog is
// written back into the pyramid in one step; back at the pyramid, the
// dialog shows the reshaped solid.
TEST(PyramidDialog, BaseSideEditedAsAPartAndBack) {
    PyramidSession s(Pyramid3(3));
    QTest::mouseClick(s.dlg->ButtonPBase, Qt::LeftButton);
    auto* tr = static_cast<TriangleDialog*>(s.ed.reg.dialog(Kind::tr));
    ASSERT_TRUE(tr);
    ShowActive(*tr);
    EXPECT_EQ(s.ed.roleSlot(Kind::tr), 5);
    ASSERT_TRUE(tr->EditTLen[0]->isEnabled());
    TypeInto(tr->EditTLen[0], "120\r");
    EXPECT_EQ(s.ed.undoSteps, 1);
    EXPECT_NEAR(s.stored3().Base.S[1].Length.v, 120, 1e-3);
    EXPECT_NEAR(Norm(Pos(s.stored3().Face[1].S[1].P1) - Pos(s.stored3().Base.S[1].P1)), 0, 1e-9)
        << "the faces follow the base";

    // Back: the pyramid's dialog again, filled from the stored solid.
    s.ed.reg.Close(Kind::tr);
    s.ed.doc->Role.fill(0);
    auto* back = static_cast<PyramidDialog*>(s.ed.reg.open(Kind::i3));
    s.ed.reg.Fill(s.ed.work.CurPi3);
    EXPECT_EQ(back->RadioGroupPType->itemIndex(), 2);
    EXPECT_EQ(s.ed.work.CurPi3.Base.S[1].Length.v, s.stored3().Base.S[1].Length.v);
    EXPECT_EQ(s.ed.undoSteps, 1);
}

// "Анимация" opens the solid animation dialog on the height's formula;
// "Заливка" runs the fill of the variant.
TEST(PyramidDialog, AnimationAndFill) {
    PyramidSession s(Pyramid3(3));
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* anim = qobject_cast<TFormAnim*>(QApplication::activeModalWidget());
        ASSERT_TRUE(anim);
        shown = anim->objectName();
        anim->edit(0)->setText("t*10");
        anim->ok();
    });
    QTest::mouseClick(s.dlg->ButtonPiAnim, Qt::LeftButton);
    EXPECT_EQ(shown, "FormAnimZK");
    EXPECT_EQ(s.ed.work.CurPi3.Anim, "t*10");
    EXPECT_EQ(s.stored3().Anim, "t*10");
    QTest::mouseClick(s.dlg->ButtonPiBrush, Qt::LeftButton);
    EXPECT_EQ(s.ed.fills, 1);
}
