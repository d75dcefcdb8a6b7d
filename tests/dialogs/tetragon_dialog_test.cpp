// The tetragon dialog typed into as a user does: reshaping by type with the
// values no tetragon can take refused, the enable table by type and role,
// and one commit per change with none for a refill.
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "dialog_test_util.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/spin_edit.h"
#include "dialogs/ui/tetragon_dialog.h"
#include "files/ui/text_tip.h"
#include "model/defaults.h"
#include "model/geometry.h"
#include "model/update.h"

namespace pelmar::test {
namespace {

Vec3 V(const DKv& k, std::size_t i) { return {k.S[i].P1.X.v, k.S[i].P1.Y.v, k.S[i].P1.Z.v}; }
double Dist(Vec3 a, Vec3 b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }
double Angle(Vec3 v, Vec3 a, Vec3 b) {
    const Vec3 u = a - v, w = b - v;
    return std::acos((u.x * w.x + u.y * w.y + u.z * w.z) / (Dist(a, v) * Dist(b, v))) * 180 / M_PI;
}

class TetragonDialogTest : public FigureDialogTest<TetragonDialog, DKv, &TetragonDialog::EditKID> {
protected:
    // vertices: (Y, Z) pairs at depth 0 (parallel to the picture).
    void Reset(int type, std::array<std::array<double, 2>, 4> yz = {{{0, 0}, {200, 0}, {160, 120}, {40, 120}}}) {
        DKv k;
        LoadDefaultTetragon(k, 1, DefaultsSource{});
        for (std::size_t i = 1; i <= 4; ++i) {
            k.S[i].P1.X.v = 0;
            k.S[i].P1.Y.v = yz[i - 1][0];
            k.S[i].P1.Z.v = yz[i - 1][1];
        }
        k.Typ.v = static_cast<std::uint8_t>(type);
        k.Height.v = 120;
        UpdateTetragon(k, 0, true);
        Show(k);
    }
};

TEST_F(TetragonDialogTest, TypedValuesReshapeByType) {
    struct Case {
        int type;
        const char* edit;
        const char* text;
        std::function<void(const DKv&)> check;
    } cases[] = {
        {3, "EditKAng1", "60",
         [](const DKv& k) {
             EXPECT_NEAR(k.Ang[1].v, 60, 1e-6);
             EXPECT_NEAR(k.Ang[2].v, 120, 1e-6);
             for (std::size_t i = 1; i <= 4; ++i) EXPECT_NEAR(k.S[i].Length.v, k.S[1].Length.v, 1e-6) << i;
         }},
        {4, "EditKAng1", "70",
         [](const DKv& k) {
             EXPECT_NEAR(k.Ang[1].v, 70, 1e-6);
             EXPECT_NEAR(Dist(V(k, 1), V(k, 4)), Dist(V(k, 2), V(k, 3)), 1e-6);
         }},
        {5, "EditKAng1", "100",  // beyond the diagonal's angle: vertex 4 slides on the top line
         [](const DKv& k) {
             EXPECT_NEAR(k.Ang[1].v, 100, 1e-6);
             EXPECT_NEAR(std::abs(V(k, 4).z), 120, 1e-6);  // on the top line
         }},
        {5, "EditKAng2", "80",
         [](const DKv& k) {
             EXPECT_NEAR(k.Ang[2].v, 80, 1e-6);
             EXPECT_NEAR(std::abs(V(k, 3).z), 120, 1e-6);
         }},
        {6, "EditKAng3", "30",  // only stored; the commit shows the figure's angle
         [](const DKv& k) { EXPECT_NEAR(k.Ang[3].v, Angle(V(k, 3), V(k, 2), V(k, 4)), 1e-3); }},
        {7, "EditKLen3", "60", [](const DKv& k) { EXPECT_NEAR(Dist(V(k, 3), V(k, 4)), 60, 1e-6); }},
        {4, "EditKH", "50", [](const DKv& k) { EXPECT_NEAR(std::abs(V(k, 3).z), 50, 1e-6); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.edit) + " " + c.text + " type " + std::to_string(c.type));
        Reset(c.type);
        dlg->EditKAng[2]->setEnabled(true);  // the stored-only edits of the figure
        TypeAndLeave(c.edit, QString::fromUtf8(c.text));
        EXPECT_EQ(core.applies, 1);
        c.check(core.stored);
    }
}

TEST_F(TetragonDialogTest, ImpossibleValuesAreRefusedAndNothingCommits) {
    using YZ = std::array<std::array<double, 2>, 4>;
    const YZ plain{{{0, 0}, {200, 0}, {160, 120}, {40, 120}}};
    const YZ flat{{{0, 0}, {200, 0}, {300, 0}, {40, 120}}};  // vertices 1, 2, 3 on one line
    struct Case {
        int type;
        YZ yz;
        const char* edit;
        const char* text;
    } cases[] = {
        {3, plain, "EditKAng1", "180"}, {4, plain, "EditKAng1", ""},    {4, flat, "EditKAng1", "60"},
        {5, plain, "EditKAng1", "190"}, {7, plain, "EditKLen2", "0"},
        {5, plain, "EditKAng1", "20"},  // not beyond the diagonal's angle: the side would not turn
        {4, plain, "EditKH", "0"},      // flat for good
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.edit) + " '" + c.text + "' type " + std::to_string(c.type));
        Reset(c.type, c.yz);
        const DKv before = core.work;
        auto* e = Find<TNumEdit>(*dlg, c.edit);
        e->setEnabled(true);
        const QString shown = e->text();
        TypeAndLeave(c.edit, QString::fromUtf8(c.text));
        EXPECT_EQ(core.applies, 0);
        EXPECT_EQ(e->text(), shown);
        EXPECT_EQ(ShownTextTip().isEmpty(), !*c.text);  // nothing typed: nothing to tell
        for (std::size_t i = 1; i <= 4; ++i) {
            EXPECT_EQ(core.work.S[i].P1.Y.v, before.S[i].P1.Y.v);
            EXPECT_EQ(core.work.S[i].P1.Z.v, before.S[i].P1.Z.v);
            EXPECT_EQ(core.work.Ang[i].v, before.Ang[i].v);
        }
    }
}

TEST_F(TetragonDialogTest, EnabledControlsFollowTypeAndRole) {
    // angle 1, angle 2, angle 3, third side, height, lengths 1..4, vertex 3, vertex 4
    const std::array<std::array<bool, 11>, 7> table{{
        {false, false, false, true, false, true, false, false, false, false, false},
        {false, false, false, true, false, true, true, false, false, false, false},
        {true, false, false, true, false, true, false, false, false, false, false},
        {true, false, false, true, true, true, true, false, false, true, false},
        {true, true, false, true, true, true, true, true, false, true, false},
        {false, false, false, false, false, true, true, true, true, true, true},
        {false, false, false, false, false, true, true, true, true, true, true},
    }};
    const char* names[] = {"EditKAng1", "EditKAng2", "EditKAng3", "RadioGroupK3L", "EditKH", "EditKLen1",
                           "EditKLen2", "EditKLen3", "EditKLen4", "SpinEditKx3", "SpinEditKx4"};
    for (int type = 1; type <= 7; ++type) {
        Reset(type);
        for (int c = 0; c < 11; ++c)
            EXPECT_EQ(Find<QWidget>(*dlg, names[c])->isEnabled(), table[type - 1][c]) << "type " << type << " "
                                                                                       << names[c];
    }
    // The type group: the last two items turn the third side off at once.
    Reset(1);
    for (int item : {5, 6}) {
        dlg->RadioGroupKTyp->button(item)->setFocus();
        QTest::mouseClick(dlg->RadioGroupKTyp->button(item), Qt::LeftButton, {}, QPoint(8, 8));
        EXPECT_FALSE(dlg->RadioGroupK3L->isEnabled());
        EXPECT_EQ(core.stored.Typ.v, item + 1);
    }
    EXPECT_EQ(core.applies, 2);

    dlg->VarToForm(core.work, 9);
    EXPECT_TRUE(dlg->ButtonKLine[0]->isEnabled());
    for (int i = 1; i < 4; ++i) EXPECT_FALSE(dlg->ButtonKLine[i]->isEnabled());
    EXPECT_FALSE(dlg->ButtonKvBrush->isEnabled());
    dlg->VarToForm(core.work, 5, 2);
    EXPECT_FALSE(dlg->RadioGroupKTyp->isItemEnabled(6));
    dlg->VarToForm(core.work, 5, 1);
    EXPECT_TRUE(dlg->RadioGroupKTyp->isItemEnabled(6));
}

TEST_F(TetragonDialogTest, OneCommitPerChangeAndNoneForARefill) {
    Reset(7);
    std::vector<std::pair<Kind, int>> parts;
    QObject::connect(dlg.get(), &TetragonDialog::partRequested, [&](Kind k, int r) { parts.emplace_back(k, r); });
    dlg->VarToForm(core.stored);
    EXPECT_EQ(core.applies, 0);

    const DPoint before = core.work.S[4].P1;
    auto* y4 = Find<TSpinEdit>(*dlg, "SpinEditKy4");
    TypeInto(y4, QString::number(y4->value() + 7));
    EXPECT_GE(core.applies, 1);
    EXPECT_DOUBLE_EQ(core.stored.S[4].P1.Z.v, before.Z.v + 7);
    EXPECT_DOUBLE_EQ(core.stored.S[4].P1.X.v, before.X.v);

    dlg->showPage(2);
    core.applies = 0;
    for (QCheckBox* box : {dlg->CheckBoxKd13En, dlg->CheckBoxKOEn, dlg->CheckBoxKd24En}) {
        box->setFocus();
        ClickIndicator(box);
    }
    EXPECT_EQ(core.applies, 3);
    EXPECT_TRUE(core.stored.DiagOn[1].v && core.stored.CenterOn.v && core.stored.DiagOn[2].v);
    EXPECT_FALSE(dlg->ButtonKcVpi->isEnabled());  // its circle is off
    for (QPushButton* b : {dlg->ButtonKd13, dlg->ButtonKO, dlg->ButtonKcVpi, dlg->ButtonKd24})
        QTest::mouseClick(b, Qt::LeftButton);
    dlg->showPage(1);
    core.applies = 0;
    TypeInto(dlg->EditKLen[3], "90");
    QTest::mouseClick(dlg->ButtonKLine[3], Qt::LeftButton);
    EXPECT_EQ(core.applies, 1);
    const std::vector<std::pair<Kind, int>> want{{Kind::li, 18}, {Kind::po, 5}, {Kind::li, 19}, {Kind::li, 17}};
    EXPECT_EQ(parts, want);
}

}  // namespace
}  // namespace pelmar::test
