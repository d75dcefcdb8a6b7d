// The sphere, section-plane, cylinder and cone dialogs driven through their
// controls: fills that store nothing, typed values one commit each, refused
// values, the enabling by flags and entry kind, and the part buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <functional>

#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QProcess>

#include "dialog_test_util.h"
#include "drawing/redraw.h"
#include "files/document.h"
#include "support/fake_redraw_host.h"
#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/section_plane_dialog.h"
#include "dialogs/ui/spin_edit.h"
#include "editing_fake.h"
#include "files/ui/text_tip.h"
#include "model/defaults.h"
#include "model/geometry.h"
#include "model/update.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// The fake core, committing spheres, cylinders and cones as the real one
// does: a body's sphere is written into the body, the body updated and
// stored, the sphere taken back from it, and the open dialogs refilled.
struct RoundEditing : FakeEditing {
    RoundEditing() {
        RegisterSphereDialog(reg);
        RegisterCylinderDialog(reg);
        RegisterConeDialog(reg);
        RegisterTriangleDialog(reg);
        RegisterTetragonDialog(reg);
    }
    std::string top() const { return std::string(current.code, 2); }
    std::function<void()> repainted;
    std::uint8_t brushKind = 0;  // BrushKind of the last fill
    void runFill(std::uint8_t kind, QWidget* parent) override {
        FakeEditing::runFill(kind, parent);
        brushKind = kind;
    }
    void RepaintProject() override {
        FakeEditing::RepaintProject();
        if (repainted) repainted();
    }
    template <class Body>
    void sphereBack(Body& b) {
        const int r = roleSlot(Kind::sf);
        if (r == 1) b.OutSphere = work.CurSf;
        if (r == 2) b.InSphere = work.CurSf;
    }
    template <class Body>
    void sphereDown(const Body& b) {
        const int r = roleSlot(Kind::sf);
        if (r == 1) work.CurSf = b.OutSphere;
        if (r == 2) work.CurSf = b.InSphere;
    }
    void ApplyObjectInStep(bool writeBack, std::uint64_t&) override { ApplyObject(writeBack); }
    std::uint64_t BeforeDocumentChange() override { return 0; }
    void ApplyObject(bool writeBack) override {
        const std::string t = top();
        if (t != "sf" && t != "zi" && t != "ko") return FakeEditing::ApplyObject(writeBack);
        ++undoSteps;
        changed = true;
        if (t == "sf") {
            UpdateOrb(work.CurSf, 0);
            doc->Obj.Sf[current.index] = work.CurSf;
        } else if (t == "zi") {
            sphereBack(work.CurZi);
            UpdateCylinder(work.CurZi, 0);
            doc->Obj.Zi[current.index] = work.CurZi;
            sphereDown(work.CurZi);
        } else {
            sphereBack(work.CurKo);
            UpdateCone(work.CurKo, 0);
            doc->Obj.Ko[current.index] = work.CurKo;
            sphereDown(work.CurKo);
        }
        reg.Fill(Kind::sf, work.CurSf);
        reg.Fill(Kind::zi, work.CurZi);
        reg.Fill(Kind::ko, work.CurKo);
    }
};

DSf Sphere() {
    DSf s;
    LoadDefaultOrb(s, 1, DefaultsSource{});
    s.Radius.v = 50.5;
    s.Center.Y.v = 220.5, s.Center.Z.v = 300;
    UpdateOrb(s, 0);
    return s;
}

DZi Cylinder() {
    DZi z;
    LoadDefaultCylinder(z, 1, DefaultsSource{});
    z.Radius.v = 40.5;
    SetPos(z.Base[2].Center, Pos(z.Base[1].Center) + Vec3{0, 30.2, 96});  // a height of 100.638
    UpdateCylinder(z, 0);
    return z;
}

DKo Cone() {
    DKo k;
    LoadDefaultCone(k, 1, DefaultsSource{});
    k.Radius.v = 35.5;
    UpdateCone(k, 0);
    return k;
}

// One object of each of the three kinds in the document; `open` shows the
// dialog of the kind chosen in the object list, filled from the document.
struct RoundSession {
    RoundEditing ed;
    RoundSession() {
        ed.doc->Obj.Sf.add(Sphere());
        ed.doc->Obj.Zi.add(Cylinder());
        ed.doc->Obj.Ko.add(Cone());
    }
    ObjectDialog* open(Kind k) {
        ed.select(k, 1);
        ed.work.CurSf = ed.doc->Obj.Sf[1];
        ed.work.CurZi = ed.doc->Obj.Zi[1];
        ed.work.CurKo = ed.doc->Obj.Ko[1];
        ObjectDialog* d = ed.reg.open(k);
        if (k == Kind::sf) ed.reg.Fill(k, ed.work.CurSf);
        if (k == Kind::zi) ed.reg.Fill(k, ed.work.CurZi);
        if (k == Kind::ko) ed.reg.Fill(k, ed.work.CurKo);
        ShowActive(*d);
        return d;
    }
    DSf& sf() { return ed.work.CurSf; }
    DZi& zi() { return ed.work.CurZi; }
    DKo& ko() { return ed.work.CurKo; }
};

// Runs `drive` on the modal dialog that `click` opens, once it is shown.
void WithModal(const std::function<void(QWidget&)>& drive, const std::function<void()>& click) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        QWidget* m = QApplication::activeModalWidget();
        ASSERT_TRUE(m);
        ran = true;
        drive(*m);
    });
    click();
    EXPECT_TRUE(ran);
}

void Leave(QWidget& d, const char* to) {
    Find<QWidget>(d, to)->setFocus();
    QApplication::processEvents();
}

}  // namespace

// A session in the sphere dialog.  The fill shows 50 for a radius of 50,5 and
// stores nothing, so another field's commit keeps 50,5; a radius below one
// pixel is refused and shown again when left; each typed value is one
// commit; the centre in the picture moves the 3D centre.
TEST(SphereDialog, TypedSession) {
    RoundSession s;
    QPointer<ObjectDialog> d = s.open(Kind::sf);
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8(BuiltInWord(WordNo::SphereDialog)));
    auto* rad = Find<TSpinEdit>(*d, "SpinEditSRad");
    EXPECT_EQ(rad->text(), "50");
    EXPECT_EQ(s.ed.undoSteps, 0);

    TypeInto(Find<TSpinEdit>(*d, "SpinEditSTol"), "3");
    EXPECT_EQ(s.ed.undoSteps, 1);
    EXPECT_EQ(s.ed.doc->Obj.Sf[1].Thick.v, 3);
    EXPECT_DOUBLE_EQ(s.ed.doc->Obj.Sf[1].Radius.v, 50.5) << "the fill stores no rounded radius";

    TypeInto(rad, "0");
    EXPECT_DOUBLE_EQ(s.sf().Radius.v, 50.5);
    EXPECT_EQ(s.ed.undoSteps, 1);
    Leave(*d, "EditSID");
    EXPECT_EQ(rad->text(), "50");
    EXPECT_FALSE(ShownTextTip().isEmpty()) << "the refusal is told";
    TypeInto(rad, "1");
    Leave(*d, "EditSID");
    EXPECT_DOUBLE_EQ(s.ed.doc->Obj.Sf[1].Radius.v, 1) << "the smallest radius";
    // A section plane 20 from the centre: the radius typed key by key passes
    // 7, which the plane would miss (the update would put it through the
    // centre); the radius is taken whole, when the edit is left.
    s.sf().SecH[1].v = 20;
    TypeInto(rad, "75");
    EXPECT_DOUBLE_EQ(s.ed.doc->Obj.Sf[1].Radius.v, 1);
    Leave(*d, "EditSID");
    EXPECT_DOUBLE_EQ(s.ed.doc->Obj.Sf[1].Radius.v, 75);
    EXPECT_DOUBLE_EQ(s.ed.doc->Obj.Sf[1].SecH[1].v, 20);
    EXPECT_EQ(s.ed.undoSteps, 3) << "1, 75";

    const DPoint before = s.sf().Center;
    const int x = static_cast<int>(std::nearbyint(before.ScrX.v));
    TypeInto(Find<TSpinEdit>(*d, "SpinEditSx"), QString::number(x + 50));
    EXPECT_DOUBLE_EQ(s.sf().Center.Y.v, Round3(before.Y.v + x + 50 - before.ScrX.v)) << "whole pixels do not add up";
    EXPECT_EQ(Find<TSpinEdit>(*d, "SpinEditSx")->text(), QString::number(x + 50)) << "the typed text stays";
    EXPECT_EQ(s.sf().Center.X.v, before.X.v);
    EXPECT_EQ(s.sf().Center.Z.v, before.Z.v);

    // Section 4 switched on: its button follows, one commit.
    auto* box = Find<QCheckBox>(*d, "CheckBoxSe4");
    auto* button = Find<QAbstractButton>(*d, "ButtonSe4");
    ASSERT_FALSE(box->isChecked());
    EXPECT_FALSE(button->isEnabled());
    const int steps = s.ed.undoSteps;
    box->setFocus();
    ClickIndicator(box);
    EXPECT_TRUE(s.ed.doc->Obj.Sf[1].SecOn[4].v);
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(s.ed.undoSteps, steps + 1);

    // The radius formula in the body animation dialog, which waits for it.
    WithModal(
        [](QWidget& m) {
            auto* anim = qobject_cast<TFormAnim*>(&m);
            ASSERT_TRUE(anim && m.objectName() == "FormAnimZK");
            EXPECT_TRUE(anim->edit(0)->isEnabled());
            anim->edit(0)->setText("60+t");
            anim->ok();
        },
        [&] { QTest::mouseClick(Find<QPushButton>(*d, "ButtonSfAnim"), Qt::LeftButton); });
    EXPECT_EQ(s.ed.doc->Obj.Sf[1].Anim, "60+t");
    EXPECT_EQ(s.ed.undoSteps, steps + 2);
    EXPECT_TRUE(Find<QWidget>(*d, "ButtonSfAnim")->property("set").toBool());
    QTest::mouseClick(Find<QPushButton>(*d, "ButtonSfBrush"), Qt::LeftButton);
    EXPECT_EQ(s.ed.fills, 1);
    EXPECT_EQ(s.ed.brushKind, 4);
}

// The section-plane dialog of plane 5: showing it stores nothing; what is
// typed stays as typed ("" and "-" too) and is stored when the field is
// left, one commit to plane 5 alone; a distance the plane would miss the
// sphere at is the update's 0, shown and told; what is typed when Esc closes
// the dialog is dropped; the picture is redrawn once, after it.  (The zero
// normal is typed in the program's keystroke table.)
TEST(SphereDialog, SectionPlaneKeystrokes) {
    RoundSession s;
    QPointer<ObjectDialog> d = s.open(Kind::sf);
    const DSf before = s.sf();
    const int redraws = s.ed.redraws;
    WithModal(
        [&](QWidget& m) {
            auto* orb = qobject_cast<TFormOrb*>(&m);
            ASSERT_TRUE(orb);
            // Shown over a tool window that stays on top: activated as the
            // window system would, so that Tab moves the focus.
            m.windowHandle()->requestActivate();
            QTRY_VERIFY(m.isActiveWindow());
            EXPECT_EQ(orb->plane(), 5);
            EXPECT_EQ(s.ed.undoSteps, 0) << "showing stores nothing";
            EXPECT_EQ(orb->Edit3->text(), "1");
            auto type = [](TNumEdit* e, const char* keys) {
                e->setFocus();
                e->selectAll();
                QTest::keyClick(e, Qt::Key_Backspace);
                QTest::keyClicks(e, keys);
            };
            auto leave = [](TNumEdit* e) {
                QTest::keyClick(e, Qt::Key_Tab);
                EXPECT_FALSE(e->hasFocus());
            };
            type(orb->Edit4, "");
            EXPECT_EQ(orb->Edit4->text(), "");
            type(orb->Edit4, "-");
            EXPECT_EQ(orb->Edit4->text(), "-");
            type(orb->Edit4, "12,5");
            EXPECT_EQ(s.ed.undoSteps, 0) << "nothing before the field is left";
            leave(orb->Edit4);
            EXPECT_DOUBLE_EQ(s.sf().SecH[5].v, 12.5);
            EXPECT_EQ(s.ed.undoSteps, 1);
            EXPECT_TRUE(ShownTextTip().isEmpty());

            type(orb->Edit1, "1");
            leave(orb->Edit1);
            EXPECT_EQ(s.ed.undoSteps, 2);

            type(orb->Edit4, "60");
            leave(orb->Edit4);
            EXPECT_EQ(s.sf().SecH[5].v, 0) << "beyond the radius of 50,5";
            EXPECT_EQ(orb->Edit4->text(), "0");
            EXPECT_FALSE(ShownTextTip().isEmpty());
            for (double v : {s.sf().SecNX[5].v, s.sf().SecNY[5].v, s.sf().SecNZ[5].v, s.sf().Sec[5].Center.X.v,
                             s.sf().Sec[5].Center.Y.v, s.sf().Sec[5].Center.Z.v, s.sf().Sec[5].A.v})
                EXPECT_TRUE(std::isfinite(v));
            type(orb->Edit2, "7");
            QTest::keyClick(orb->Edit2, Qt::Key_Escape);
        },
        [&] { QTest::mouseClick(Find<QAbstractButton>(*d, "ButtonSSP5"), Qt::LeftButton); });
    EXPECT_EQ(s.ed.redraws, redraws + 1) << "one redraw, after the dialog";
    EXPECT_EQ(s.sf().SecNY[5].v, 0) << "dropped by Esc";
    for (std::size_t i = 1; i <= 7; ++i) {
        if (i == 5) continue;
        EXPECT_EQ(s.sf().SecH[i].v, before.SecH[i].v) << i;
        EXPECT_EQ(s.sf().SecNX[i].v, before.SecNX[i].v) << i;
    }
    EXPECT_EQ(s.ed.doc->Obj.Sf[1].SecNX[5].v, 1);
}

// The enabling of the sphere dialog by the record's flags and by the entry of
// the object list (a sphere of a body has no fill and no default set).
TEST(SphereDialog, EnablingTable) {
    struct Row {
        const char* entry;
        int number;
        std::function<void(DSf&)> change;
        const char* control;
        bool enabled;
    };
    auto off = [](auto field) { return [field](DSf& s) { (s.*field).e = false; }; };
    const Row rows[] = {
        {"sf", 0, nullptr, "ButtonSLoad", true},
        {"sf", 4, nullptr, "ButtonSLoad", false},
        {"sf", 4, nullptr, "ButtonSSave", true},
        {"sf", 0, nullptr, "ButtonSfBrush", true},
        {"zi", 0, nullptr, "ButtonSSave", false},
        {"zi", 0, nullptr, "ButtonSLoad", false},
        {"ko", 0, nullptr, "ButtonSfBrush", false},
        {"sf", 0, off(&DSf::Radius), "SpinEditSRad", false},
        {"sf", 0, off(&DSf::Radius), "LabelSRad", false},
        {"sf", 0, off(&DSf::Radius), "ButtonSfAnim", false},
        {"sf", 0, nullptr, "ButtonSfAnim", true},
        {"sf", 0, off(&DSf::View), "ComboBoxSVid", false},
        {"sf", 0, off(&DSf::Thick), "SpinEditSTol", false},
        {"sf", 0, off(&DSf::ID), "EditSID", false},
        {"sf", 0, [](DSf& s) { s.Center.ScrX.e = false; }, "SpinEditSx", false},
        {"sf", 0, [](DSf& s) { s.Center.ScrX.e = false; }, "SpinEditSy", true},
        {"sf", 0, [](DSf& s) { s.Center.ScrY.e = false; }, "LabelSy", false},
        {"sf", 0, [](DSf& s) { s.ContourOn.v = false; }, "ButtonSTe", false},
        {"sf", 0, [](DSf& s) { s.ContourOn.v = false; }, "CheckBoxSTe", true},
        {"sf", 0, [](DSf& s) { s.SecOn[2].v = false; }, "ButtonSe2", false},
        {"sf", 0, [](DSf& s) { s.SecOn[2].v = false; }, "CheckBoxSe2", true},
        {"sf", 0, nullptr, "ButtonSe3", true},
    };
    RoundSession s;
    ObjectDialog* d = s.open(Kind::sf);
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.entry) + " " + r.control);
        s.ed.current.code[0] = r.entry[0], s.ed.current.code[1] = r.entry[1];
        DSf sphere = Sphere();
        sphere.Number = r.number;
        if (r.change) r.change(sphere);
        s.ed.reg.Fill(Kind::sf, sphere);
        EXPECT_EQ(Find<QWidget>(*d, r.control)->isEnabled(), r.enabled);
    }
    EXPECT_EQ(s.ed.undoSteps, 0);
}

// The part buttons of the three dialogs: the role written into the nesting
// path, the part in its working copy and its dialog, the parent's closed,
// Back-to the parent enabled.
TEST(RoundDialogs, PartButtonsWriteTheirRoles) {
    struct Row {
        Kind parent;
        const char* button;
        Kind part;
        int role;
    };
    const Row rows[] = {
        {Kind::sf, "ButtonSCenter", Kind::po, 6}, {Kind::sf, "ButtonSTe", Kind::ci, 6},
        {Kind::sf, "ButtonSe1", Kind::ci, 3},     {Kind::sf, "ButtonSe3", Kind::ci, 5},
        {Kind::zi, "ButtonZH", Kind::li, 20},     {Kind::zi, "ButtonZNiz", Kind::ci, 7},
        {Kind::zi, "ButtonZVer", Kind::ci, 8},    {Kind::zi, "ButtonZSeMain", Kind::kv, 1},
        {Kind::zi, "ButtonZSeTerm", Kind::kv, 2}, {Kind::zi, "ButtonZSOpi", Kind::sf, 1},
        {Kind::ko, "ButtonKBase", Kind::ci, 9},   {Kind::ko, "ButtonKH", Kind::li, 21},
        {Kind::ko, "ButtonKSeTerm", Kind::tr, 2}, {Kind::ko, "ButtonKSOpi", Kind::sf, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.button);
        RoundSession s;
        s.ed.doc->Obj.Zi[1].OutSphereOn.v = s.ed.doc->Obj.Ko[1].OutSphereOn.v = true;
        for (std::size_t i = 1; i <= 4; ++i) s.ed.doc->Obj.Zi[1].SecOn[i].v = s.ed.doc->Obj.Ko[1].SecOn[i].v = true;
        UpdateCylinder(s.ed.doc->Obj.Zi[1], 0);
        UpdateCone(s.ed.doc->Obj.Ko[1], 0);
        ObjectDialog* d = s.open(r.parent);
        auto* b = Find<QAbstractButton>(*d, r.button);
        ASSERT_TRUE(b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(s.ed.roleSlot(r.part), r.role);
        EXPECT_TRUE(s.ed.reg.isOpen(r.part));
        EXPECT_FALSE(s.ed.reg.isOpen(r.parent));
        EXPECT_EQ(s.ed.backTo, std::vector<Kind>{r.parent});
        if (r.part == Kind::sf) {
            const DSf& inBody = r.parent == Kind::zi ? s.zi().OutSphere : s.ko().OutSphere;
            EXPECT_DOUBLE_EQ(s.sf().Radius.v, inBody.Radius.v);
        }
        EXPECT_EQ(s.ed.undoSteps, 0);
    }
}

// The circumscribed sphere of a cylinder opened in the sphere dialog: no
// fill and no default set, its section switched on and written into the
// cylinder, one commit.
TEST(RoundDialogs, SphereOfABodyWritesIntoTheBody) {
    RoundSession s;
    s.ed.doc->Obj.Zi[1].OutSphereOn.v = true;
    UpdateCylinder(s.ed.doc->Obj.Zi[1], 0);
    ObjectDialog* z = s.open(Kind::zi);
    QTest::mouseClick(Find<QPushButton>(*z, "ButtonZSOpi"), Qt::LeftButton);
    ObjectDialog* d = s.ed.reg.dialog(Kind::sf);
    ASSERT_TRUE(d);
    ShowActive(*d);
    for (const char* name : {"ButtonSfBrush", "ButtonSSave", "ButtonSLoad"})
        EXPECT_FALSE(Find<QWidget>(*d, name)->isEnabled()) << name;
    auto* box = Find<QCheckBox>(*d, "CheckBoxSe6");
    const bool was = s.zi().OutSphere.SecOn[6].v;
    box->setFocus();
    ClickIndicator(box);
    EXPECT_EQ(s.ed.doc->Obj.Zi[1].OutSphere.SecOn[6].v, !was);
    EXPECT_EQ(s.ed.undoSteps, 1);
}

// A session in the cylinder dialog: the fill keeps a radius of 40,5 and the
// upper base where they are while another field is committed; a typed height
// moves the upper base along the axis; a radius below one pixel is refused;
// the angle of an additional section ignores a text that is no number yet.
TEST(CylinderDialog, TypedSession) {
    RoundSession s;
    ObjectDialog* d = s.open(Kind::zi);
    EXPECT_EQ(d->windowTitle(), QString::fromUtf8(BuiltInWord(WordNo::CylinderDialog)));
    const Vec3 upper = Pos(s.zi().Base[2].Center), lower = Pos(s.zi().Base[1].Center);
    const double height = s.zi().Axis.Length.v;
    ASSERT_NEAR(height, 100.638, 0.001);
    EXPECT_EQ(Find<TSpinEdit>(*d, "SpinEditZH")->text(), "101");
    EXPECT_EQ(Find<TSpinEdit>(*d, "SpinEditZRad")->text(), "40");

    auto* dis = Find<QCheckBox>(*d, "CheckBoxZDis");
    dis->setFocus();
    ClickIndicator(dis);
    EXPECT_EQ(s.ed.undoSteps, 1);
    const DZi& stored = s.ed.doc->Obj.Zi[1];
    EXPECT_DOUBLE_EQ(stored.Radius.v, 40.5);
    EXPECT_EQ(Pos(stored.Base[2].Center).z, upper.z) << "the fill moved no axis end";
    EXPECT_DOUBLE_EQ(stored.Axis.Length.v, height);

    TypeInto(Find<TSpinEdit>(*d, "SpinEditZH"), "150");
    EXPECT_EQ(s.ed.undoSteps, 1) << "a height is taken when the user is done";
    Leave(*d, "EditZID");
    EXPECT_EQ(s.ed.undoSteps, 2);
    const Vec3 axis = upper - lower, now = Pos(stored.Base[2].Center) - Pos(stored.Base[1].Center);
    EXPECT_NEAR(Norm(now), 150, 1e-3);
    EXPECT_NEAR(Dot(now, axis) / (Norm(now) * Norm(axis)), 1, 1e-6) << "along the axis";

    auto* rad = Find<TSpinEdit>(*d, "SpinEditZRad");
    TypeInto(rad, "-");
    TypeInto(rad, "0");
    EXPECT_DOUBLE_EQ(stored.Radius.v, 40.5);
    EXPECT_EQ(s.ed.undoSteps, 2);
    Leave(*d, "EditZID");
    EXPECT_EQ(rad->text(), "40");
    TypeInto(rad, "60");
    EXPECT_DOUBLE_EQ(stored.Radius.v, 60);
    const DCircle& base = stored.Base[1];
    EXPECT_NEAR(Norm(Vec3{base.Q1[0], base.Q1[1], base.Q1[2]} - Pos(base.Center)), 60, 1e-9);

    auto* angle = Find<TNumEdit>(*d, "EditZSeAdd1");
    const int steps = s.ed.undoSteps;
    TypeInto(angle, "-");
    EXPECT_TRUE(std::isfinite(s.zi().SecPos1.v));
    QTest::keyClicks(angle, "30");
    EXPECT_DOUBLE_EQ(stored.SecPos1.v, -30);
    EXPECT_GT(s.ed.undoSteps, steps);
}

// A cylinder of height 0 and a cone: the height typed builds the axis along
// the base's normal; the cone's apex follows its height.
TEST(CylinderDialog, FlatCylinderGrowsAlongTheBaseNormal) {
    RoundSession s;
    DZi& z = s.ed.doc->Obj.Zi[1];
    SetPos(z.Base[2].Center, Pos(z.Base[1].Center));
    UpdateCylinder(z, 0);
    ObjectDialog* d = s.open(Kind::zi);
    TypeInto(Find<TSpinEdit>(*d, "SpinEditZH"), "100");
    Leave(*d, "EditZID");
    const Vec3 up = Pos(z.Base[2].Center) - Pos(z.Base[1].Center);
    EXPECT_NEAR(up.x, 0, 1e-6);
    EXPECT_NEAR(up.y, 0, 1e-6);
    EXPECT_NEAR(up.z, 100, 1e-6);

    ObjectDialog* k = s.open(Kind::ko);
    EXPECT_EQ(k->windowTitle(), QString::fromUtf8(BuiltInWord(WordNo::ConeDialog)));
    const Vec3 base = Pos(s.ko().Base.Center);
    TypeInto(Find<TSpinEdit>(*k, "SpinEditKH"), "40");
    Leave(*k, "EditKID");
    EXPECT_NEAR(Norm(Pos(s.ed.doc->Obj.Ko[1].Axis.P2) - base), 40, 1e-3);
    EXPECT_DOUBLE_EQ(s.ed.doc->Obj.Ko[1].Radius.v, 35.5) << "the fill stores no rounded radius";
}

// The enabling of the cylinder and cone dialogs, and the animation mark.
TEST(RoundDialogs, EnablingTable) {
    struct Row {
        Kind kind;
        const char* entry;
        std::function<void(DZi&)> zi;
        std::function<void(DKo&)> ko;
        const char* control;
        bool enabled;
    };
    const Row rows[] = {
        {Kind::zi, "zi", nullptr, nullptr, "ButtonZLoad", true},
        {Kind::zi, "zi", [](DZi& z) { z.Number = 2; }, nullptr, "ButtonZLoad", false},
        {Kind::ko, "ko", nullptr, [](DKo& k) { k.Number = 2; }, "ButtonKSave", true},
        {Kind::ko, "sf", nullptr, nullptr, "ButtonKoBrush", false},
        {Kind::zi, "zi", [](DZi& z) { z.InSphereOn.e = false; }, nullptr, "CheckBoxZSVpi", false},
        {Kind::zi, "zi", [](DZi& z) { z.InSphereOn.e = false; }, nullptr, "CheckBoxZSOpi", true},
        {Kind::zi, "zi", [](DZi& z) { z.SecOn[3].v = false; }, nullptr, "ButtonZSeAdd1", false},
        {Kind::zi, "zi", [](DZi& z) { z.SecOn[3].v = true; }, nullptr, "ButtonZSeAdd1", true},
        {Kind::ko, "ko", nullptr, [](DKo& k) { k.SecOn[1].v = false; }, "ButtonKSeMain", false},
        {Kind::ko, "ko", nullptr, [](DKo& k) { k.SecOn[1].v = false; }, "CheckBoxKSeMain", true},
        {Kind::ko, "ko", nullptr, [](DKo& k) { k.InSphereOn.v = false; }, "ButtonKSVpi", false},
        {Kind::ko, "ko", nullptr, [](DKo& k) { k.Thick.e = false; }, "SpinEditKTol", false},
        {Kind::ko, "ko", nullptr, [](DKo& k) { k.Radius.e = false; }, "SpinEditKRad", true},
    };
    RoundSession s;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.control);
        ObjectDialog* d = s.open(r.kind);
        s.ed.current.code[0] = r.entry[0], s.ed.current.code[1] = r.entry[1];
        if (r.kind == Kind::zi) {
            DZi z = Cylinder();
            if (r.zi) r.zi(z);
            s.ed.reg.Fill(Kind::zi, z);
        } else {
            DKo k = Cone();
            if (r.ko) r.ko(k);
            s.ed.reg.Fill(Kind::ko, k);
        }
        EXPECT_EQ(Find<QWidget>(*d, r.control)->isEnabled(), r.enabled);
    }

    // Only the angle formula of additional section 2: animated while that
    // section is on.
    ObjectDialog* d = s.open(Kind::zi);
    for (bool on : {true, false}) {
        DZi z = Cylinder();
        z.Anim[3] = "t*10";
        z.SecOn[4].v = on;
        s.ed.reg.Fill(Kind::zi, z);
        EXPECT_EQ(Find<QWidget>(*d, "ButtonZiAnim")->property("set").toBool(), on);
    }
    EXPECT_EQ(s.ed.undoSteps, 0);
}

// The animation dialog waits for the opener and commits its formulas once;
// the fill runs with the cylinder's kind; the default set saved and loaded
// back is one commit.
TEST(RoundDialogs, AnimationFillAndDefaultSet) {
    RoundSession s;
    ObjectDialog* d = s.open(Kind::zi);
    WithModal(
        [](QWidget& m) {
            EXPECT_EQ(m.objectName(), "FormAnimZK");
            auto* anim = qobject_cast<TFormAnim*>(&m);
            ASSERT_TRUE(anim);
            anim->edit(1)->setText("50+t");
            anim->ok();
        },
        [&] { QTest::mouseClick(Find<QPushButton>(*d, "ButtonZiAnim"), Qt::LeftButton); });
    EXPECT_EQ(s.ed.doc->Obj.Zi[1].Anim[1], "50+t");
    EXPECT_EQ(s.ed.undoSteps, 1);
    EXPECT_TRUE(Find<QWidget>(*d, "ButtonZiAnim")->property("set").toBool());

    QTest::mouseClick(Find<QPushButton>(*d, "ButtonZiBrush"), Qt::LeftButton);
    EXPECT_EQ(s.ed.fills, 1);
    EXPECT_EQ(s.ed.brushKind, 5);

    QTest::mouseClick(Find<QPushButton>(*d, "ButtonZSave"), Qt::LeftButton);
    TypeInto(Find<TSpinEdit>(*d, "SpinEditZTol"), "9");
    const int steps = s.ed.undoSteps;
    QTest::mouseClick(Find<QPushButton>(*d, "ButtonZLoad"), Qt::LeftButton);
    EXPECT_EQ(s.ed.undoSteps, steps + 1);
    EXPECT_EQ(s.ed.doc->Obj.Zi[1].Thick.v, Cylinder().Thick.v);
    EXPECT_TRUE(s.ed.messages.empty());
}

// Each dialog beside the drawing it edits, before and after a typed value,
// and the section-plane dialog over the sphere's: no control cut off.  With
// PELMAR_ROUND_SHOTS set to a folder (under an X server, see
// scripts/round-dialog-shots.sh) the screen is taken as pictures.
TEST(RoundDialogShots, BesideTheirDrawing) {
    // The bodies as the program makes them, from its shipped default sets,
    // moved apart.
    const DefaultsSource shipped{std::string(PELMAR_TEST_DATA) + "/../../share/pelmar/",
                                 [](const std::string& n, DProj& d, std::uint8_t& v, std::uint8_t m) {
                                     return ReadDocument(n, d, v, m);
                                 }};
    RoundSession s;
    auto shift = [](DPoint& p, Vec3 by) {
        SetPos(p, Pos(p) + by);
        ProjectPoint(p);
    };
    auto shiftQ = [](DCircle& c, Vec3 by) {
        for (auto* q : {&c.Q1, &c.Q2}) *q = {(*q)[0] + by.x, (*q)[1] + by.y, (*q)[2] + by.z};
    };
    DSf& sf = s.ed.doc->Obj.Sf[1];
    LoadDefaultOrb(sf, 1, shipped);
    SetPos(sf.Center, {0, 140, 330});
    sf.Radius.v = 90, sf.View.v = 5;
    for (std::size_t i = 1; i <= 3; ++i) sf.SecOn[i].v = true;
    sf.SecNX[2].v = 1, sf.SecNY[2].v = 0, sf.SecNZ[2].v = 0, sf.SecH[2].v = 30;
    sf.SecNX[3].v = 0, sf.SecNY[3].v = 1, sf.SecNZ[3].v = 0, sf.SecH[3].v = 45;
    UpdateOrb(sf, 0);
    DZi& zi = s.ed.doc->Obj.Zi[1];
    LoadDefaultCylinder(zi, 1, shipped);
    const Vec3 toZi = Vec3{0, 330, 300} - Pos(zi.Base[1].Center);
    shift(zi.Base[1].Center, toZi), shift(zi.Base[2].Center, toZi), shiftQ(zi.Base[1], toZi);
    zi.View.v = 5, zi.SecOn[1].v = true;
    UpdateCylinder(zi, 0);
    DKo& ko = s.ed.doc->Obj.Ko[1];
    LoadDefaultCone(ko, 1, shipped);
    const Vec3 toKo = Vec3{0, 500, 300} - Pos(ko.Base.Center);
    shift(ko.Base.Center, toKo), shift(ko.Axis.P2, toKo), shiftQ(ko.Base, toKo);
    ko.View.v = 5, ko.SecOn[1].v = true;
    UpdateCone(ko, 0);

    QLabel drawing;
    drawing.setObjectName("Drawing");
    auto redraw = [&] {
        DrawingState st;
        FakeRedrawHost host;
        host.view = {0, 0, 620, 560};
        pelmar::RepaintProject(*s.ed.doc, st, host, RedrawMode::Window, true);
        drawing.setPixmap(QPixmap::fromImage(st.DrawBitmap.copy(0, 0, 620, 560)));
    };
    redraw();
    s.ed.repainted = redraw;
    drawing.move(440, 10);
    drawing.show();

    const QString shots = QString::fromLocal8Bit(qgetenv("PELMAR_ROUND_SHOTS"));
    auto shot = [&](const QString& name) {
        if (shots.isEmpty()) return;
        QTest::qWait(300);
        EXPECT_EQ(QProcess::execute("import", {"-window", "root", QDir(shots).filePath(name + ".png")}), 0);
    };
    struct Step {
        Kind kind;
        const char* spin;
        const char* typed;
    };
    const Step steps[] = {{Kind::sf, "SpinEditSRad", "110"}, {Kind::zi, "SpinEditZH", "90"},
                          {Kind::ko, "SpinEditKRad", "80"}};
    for (const Step& st : steps) {
        const QString code = InfoOf(st.kind).code;
        s.ed.doc->DlgLeft = 10, s.ed.doc->DlgTop = 10;
        ObjectDialog* d = s.open(st.kind);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
        ExpectNothingClipped(*d);
        shot("round-" + code);
        TypeInto(Find<TSpinEdit>(*d, st.spin), st.typed);
        shot("round-" + code + "-edited");
        if (st.kind == Kind::sf) {
            WithModal(
                [&](QWidget& m) {
                    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
                    m.move(60, 330);
                    ExpectNothingClipped(m);
                    auto* e = Find<QLineEdit>(m, "Edit4");
                    e->setFocus();
                    e->selectAll();
                    QTest::keyClicks(e, "60");
                    redraw();
                    shot("round-orb");
                    static_cast<QDialog&>(m).accept();
                },
                [&] { QTest::mouseClick(Find<QAbstractButton>(*d, "ButtonSSP3"), Qt::LeftButton); });
        }
        s.ed.reg.Close(st.kind);
    }
}

// Every caption of the three dialogs comes from the word table: no named
// label, button, check box or group is left without its text, and the view
// lists have all six items.
TEST(RoundDialogs, EveryCaptionFromTheWordTable) {
    RoundSession s;
    for (Kind k : {Kind::sf, Kind::zi, Kind::ko}) {
        ObjectDialog* d = s.open(k);
        SCOPED_TRACE(d->objectName().toStdString());
        EXPECT_FALSE(d->windowTitle().isEmpty());
        for (QWidget* w : d->findChildren<QWidget*>()) {
            const QString n = w->objectName();
            if (n.isEmpty() || n.startsWith("qt_") || n.endsWith("Path") || n.endsWith("Pt")) continue;
            QString text;
            if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
            else if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
            else if (auto* g = qobject_cast<QGroupBox*>(w)) text = g->title();
            else continue;
            EXPECT_FALSE(text.isEmpty()) << n.toStdString();
        }
        auto* view = d->findChild<QComboBox*>(QString("ComboBox%1Vid").arg(k == Kind::sf ? "S" : k == Kind::zi ? "Z" : "K"));
        ASSERT_TRUE(view);
        EXPECT_EQ(view->count(), 6);
        for (int i = 0; i < view->count(); ++i) EXPECT_FALSE(view->itemText(i).isEmpty()) << i;
        s.ed.reg.Close(k);
    }
}
