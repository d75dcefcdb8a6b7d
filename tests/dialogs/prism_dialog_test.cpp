// The prism dialog driven as a user drives it: the two variants in one
// dialog, the enable table by type, the lateral edge's length and vector,
// the irregular prism without edge controls, the rotation, the parts with
// their roles; one undo step per change and none for a fill.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "dialog_test_util.h"
#include "dialogs/number_text.h"
#include "model/geometry.h"
#include "solid_fake.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

template <class P>
P Prism(int type, int number = 0) {
    P p;
    if constexpr (std::is_same_v<P, DPr3>) {
        LoadDefaultPrism3(p, 1, DefaultsSource{});
        p.Typ.v = static_cast<std::uint8_t>(type);
        p.Number = number;
        UpdatePrism3(p, 0);
    } else {
        LoadDefaultPrism4(p, 1, DefaultsSource{});
        p.Typ.v = static_cast<std::uint8_t>(type);
        p.Number = number;
        UpdatePrism4(p, 0);
    }
    return p;
}

struct PrismSession {
    SolidEditing ed;
    PrismDialog* dlg = nullptr;
    template <class P>
    explicit PrismSession(const P& p) {
        const Kind k = std::is_same_v<P, DPr3> ? Kind::r3 : Kind::r4;
        ed.add(k, p);
        dlg = static_cast<PrismDialog*>(ed.reg.open(k));
        ed.reg.Fill(p);
        ShowActive(*dlg);
    }
    const DPr3& stored3() const { return ed.doc->Obj.R3[1]; }
    const DPr4& stored4() const { return ed.doc->Obj.R4[1]; }
    void clickType(int item) {
        QRadioButton* b = dlg->RadioGroupPType->button(item);
        b->setFocus();
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    }
    void typeAndLeave(QLineEdit* e, const QString& text) {
        TypeInto(e, text);
        dlg->EditPID->setFocus();
        QApplication::processEvents();
    }
};

Vec3 Edge(const DPr3& p) { return {p.EdgeX.v, p.EdgeY.v, p.EdgeZ.v}; }

}  // namespace

// The lateral edge: a typed length scales the vector and keeps its
// direction; the length of a zero vector makes it vertical; a component is
// stored as typed.  One undo step each.
TEST(PrismDialog, LateralEdgeLengthAndVector) {
    DPr3 p = Prism<DPr3>(2);
    p.EdgeX.v = 30, p.EdgeY.v = 40, p.EdgeZ.v = 0;
    UpdatePrism3(p, 0);
    ASSERT_EQ(p.EdgeLen.v, 50);
    PrismSession s(p);
    EXPECT_EQ(s.dlg->EditPRebLe->text(), "50");
    s.typeAndLeave(s.dlg->EditPRebLe, "200");
    EXPECT_EQ(s.ed.undoSteps, 1);
    EXPECT_DOUBLE_EQ(s.stored3().EdgeX.v, 120);
    EXPECT_DOUBLE_EQ(s.stored3().EdgeY.v, 160);
    EXPECT_DOUBLE_EQ(s.stored3().EdgeZ.v, 0);
    EXPECT_DOUBLE_EQ(s.stored3().EdgeLen.v, 200);
    EXPECT_EQ(s.dlg->EditPRebP[0]->text(), "120");
    const Vec3 up = Pos(s.stored3().Base[2].S[1].P1) - Pos(s.stored3().Base[1].S[1].P1);
    EXPECT_NEAR(Norm(up - Edge(s.stored3())), 0, 2e-3) << "the upper base follows";

    DPr3 zero = s.stored3();
    zero.EdgeX.v = zero.EdgeY.v = zero.EdgeZ.v = 0;
    UpdatePrism3(zero, 0);
    s.ed.work.CurPr3 = zero;
    s.ed.reg.Fill(zero);
    s.typeAndLeave(s.dlg->EditPRebLe, "80");
    EXPECT_EQ(s.ed.undoSteps, 2);
    EXPECT_EQ(Edge(s.stored3()).x, 0);
    EXPECT_EQ(Edge(s.stored3()).y, 0);
    EXPECT_EQ(Edge(s.stored3()).z, 80);

    s.typeAndLeave(s.dlg->EditPRebP[1], "-25,5");
    EXPECT_EQ(s.ed.undoSteps, 3);
    EXPECT_EQ(s.stored3().EdgeY.v, -25.5);
    EXPECT_NEAR(s.stored3().EdgeLen.v, std::hypot(25.5, 80), 1e-3);
    EXPECT_EQ(s.dlg->EditPRebLe->text().toStdString(), NumberText(s.stored3().EdgeLen.v));

    // "-" alone reads as 0 when left; a refill stores nothing.
    s.typeAndLeave(s.dlg->EditPRebP[0], "-");
    EXPECT_EQ(s.ed.undoSteps, 4);
    EXPECT_EQ(s.stored3().EdgeX.v, 0);
    s.ed.reg.Fill(s.stored3());
    EXPECT_EQ(s.ed.undoSteps, 4);
}

// The variants: three type items and no fourth side for the three-sided
// prism, five and "Грань4" for the four-sided one; the irregular prism
// hides the edge controls, another type shows them again.
TEST(PrismDialog, VariantsAndTheIrregularPrism) {
    PrismSession s(Prism<DPr4>(4));
    EXPECT_EQ(s.dlg->windowTitle(), "Четырехугольная призма");
    EXPECT_EQ(s.dlg->RadioGroupPType->count(), 5);
    EXPECT_EQ(s.dlg->RadioGroupPType->itemText(0), "Куб");
    EXPECT_TRUE(s.dlg->ButtonPGran[3]->isVisible());
    s.clickType(4);
    EXPECT_EQ(s.stored4().Typ.v, 5);
    EXPECT_EQ(s.ed.undoSteps, 1);
    for (QWidget* w : {static_cast<QWidget*>(s.dlg->EditPRebP[0]), static_cast<QWidget*>(s.dlg->EditPRebLe),
                       static_cast<QWidget*>(s.dlg->LabelPRebP), static_cast<QWidget*>(s.dlg->LabelPRebLe)})
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    s.clickType(3);
    EXPECT_TRUE(s.dlg->EditPRebP[2]->isVisible());
    EXPECT_TRUE(s.dlg->EditPRebLe->isVisible());

    s.ed.add(Kind::r3, Prism<DPr3>(2));
    s.ed.reg.Fill(s.ed.work.CurPr3);
    EXPECT_EQ(s.dlg->windowTitle(), "Треугольная призма");
    EXPECT_EQ(s.dlg->RadioGroupPType->count(), 3);
    EXPECT_EQ(s.dlg->RadioGroupPType->itemText(2), "Неправильная");
    EXPECT_EQ(s.dlg->RadioGroupPType->itemIndex(), 1);
    EXPECT_FALSE(s.dlg->ButtonPGran[3]->isVisible());
    EXPECT_EQ(s.ed.undoSteps, 2);
}

// The enable table by type: the vector edits by their flags, the length of
// the four-sided prism by its flag, the spheres by theirs, the animation
// while a component is editable, the rotation by the creation number.
TEST(PrismDialog, EnableTable) {
    struct Row {
        int sides, type, number;
        bool vector, length, boxOut, boxIn, anim, rotate;
    } rows[] = {
        {4, 1, 0, false, false, true, true, false, true},   {4, 2, 1, false, true, true, false, false, true},
        {4, 3, 0, true, true, false, false, true, true},    {4, 4, 2, true, true, false, false, true, false},
        {3, 1, 0, false, true, true, false, false, true},   {3, 2, 3, true, true, false, false, true, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.sides) + " sides, type " + std::to_string(r.type));
        std::unique_ptr<PrismSession> s;
        if (r.sides == 3) s = std::make_unique<PrismSession>(Prism<DPr3>(r.type, r.number));
        else s = std::make_unique<PrismSession>(Prism<DPr4>(r.type, r.number));
        for (TNumEdit* e : s->dlg->EditPRebP) EXPECT_EQ(e->isEnabled(), r.vector);
        EXPECT_EQ(s->dlg->EditPRebLe->isEnabled(), r.length);
        EXPECT_EQ(s->dlg->CheckBoxPSOpi->isEnabled(), r.boxOut);
        EXPECT_EQ(s->dlg->CheckBoxPSVpi->isEnabled(), r.boxIn);
        EXPECT_EQ(s->dlg->ButtonPrAnim->isEnabled(), r.anim);
        EXPECT_EQ(s->dlg->ButtonPAn2->isEnabled(), r.rotate);
        EXPECT_EQ(s->dlg->ButtonPLoad->isEnabled(), r.number == 0);
    }
}

// "Повернуть на угол:" turns the prism about its lateral edge through the
// lower base's centre: the edge stays, the base turns.
TEST(PrismDialog, Rotation) {
    PrismSession s(Prism<DPr4>(4));
    const DPr4 before = s.stored4();
    TypeInto(s.dlg->EditPAn2, "30");
    QTest::mouseClick(s.dlg->ButtonPAn2, Qt::LeftButton);
    EXPECT_EQ(s.ed.undoSteps, 1);
    const DPr4& after = s.stored4();
    EXPECT_NEAR(after.EdgeX.v, before.EdgeX.v, 2e-3);
    EXPECT_NEAR(after.EdgeY.v, before.EdgeY.v, 2e-3);
    EXPECT_NEAR(after.EdgeZ.v, before.EdgeZ.v, 2e-3);
    EXPECT_GT(Norm(Pos(after.Base[1].S[1].P1) - Pos(before.Base[1].S[1].P1)), 1);
    for (std::size_t k = 1; k <= 4; ++k)
        EXPECT_NEAR(after.Base[1].S[k].Length.v, before.Base[1].S[k].Length.v, 5e-3) << k;
}

// The part buttons write the roles of the variant.
TEST(PrismDialog, PartButtonsWriteRoles) {
    struct Row {
        int sides;
        const char* button;
        Kind part;
        int role;
    } rows[] = {
        {3, "ButtonPNiz", Kind::tr, 10},  {3, "ButtonPVer", Kind::tr, 11}, {3, "ButtonPGran1", Kind::kv, 8},
        {3, "ButtonPGran3", Kind::kv, 10}, {4, "ButtonPNiz", Kind::kv, 6},  {4, "ButtonPVer", Kind::kv, 7},
        {4, "ButtonPGran4", Kind::kv, 11}, {4, "ButtonPSOpi", Kind::sf, 1}, {4, "ButtonPSVpi", Kind::sf, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.sides) + " " + r.button);
        std::unique_ptr<PrismSession> s;
        if (r.sides == 3) s = std::make_unique<PrismSession>(Prism<DPr3>(2));
        else {
            DPr4 p = Prism<DPr4>(1);
            p.OutSphereOn.v = p.InSphereOn.v = true;
            s = std::make_unique<PrismSession>(p);
        }
        const Kind kind = r.sides == 3 ? Kind::r3 : Kind::r4;
        QTest::mouseClick(Find<QPushButton>(*s->dlg, r.button), Qt::LeftButton);
        EXPECT_EQ(s->ed.roleSlot(r.part), r.role);
        EXPECT_EQ(s->ed.backTo, std::vector<Kind>{kind});
        EXPECT_FALSE(s->ed.reg.isOpen(kind));
        EXPECT_EQ(s->ed.reg.isOpen(r.part), r.part != Kind::sf);
        if (r.part == Kind::tr) {
            EXPECT_EQ(s->ed.work.CurTri.S[1].P1.Z.v, s->ed.work.CurPr3.Base[r.role - 9].S[1].P1.Z.v);
        }
        QApplication::processEvents();
    }
}

// The default set of the variant shown: saved alone, loaded back over the
// current prism as one step.
TEST(PrismDialog, DefaultSetOfTheVariant) {
    PrismSession s(Prism<DPr4>(4));
    QTest::mouseClick(s.dlg->ButtonPSave, Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(QString::fromStdString(s.ed.defaultSetName(Kind::r4))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(s.ed.defaultSetName(Kind::r3))));
    const double length = s.stored4().EdgeLen.v;
    s.typeAndLeave(s.dlg->EditPRebLe, "222");
    EXPECT_EQ(s.stored4().EdgeLen.v, 222);
    const int steps = s.ed.undoSteps;
    QTest::mouseClick(s.dlg->ButtonPLoad, Qt::LeftButton);
    EXPECT_EQ(s.ed.undoSteps, steps + 1);
    EXPECT_NEAR(s.stored4().EdgeLen.v, length, 1e-3);
    EXPECT_EQ(s.dlg->EditPRebLe->text().toStdString(), NumberText(s.stored4().EdgeLen.v));
}
