// The triangle dialog typed into as a user does: reshaping by type with the
// values no triangle can take refused, the enable table by type and role,
// and one commit per change with none for a refill.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "dialog_test_util.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/spin_edit.h"
#include "dialogs/ui/tetragon_dialog.h"
#include "dialogs/ui/triangle_dialog.h"
#include "files/ui/text_tip.h"
#include "model/defaults.h"
#include "model/geometry.h"
#include "model/update.h"
#include "shell/shell_test_util.h"
#include "files/word_table.h"

namespace pelmar::test {
namespace {

void SetXYZ(DPoint& p, double x, double y, double z) { p.X.v = x, p.Y.v = y, p.Z.v = z; }

class TriangleDialogTest : public FigureDialogTest<TriangleDialog, DTri, &TriangleDialog::EditTID> {
protected:
    // Base 200 along Y, apex above it, all at depth 0 (parallel to the picture).
    void SetUp() override { Reset(4); }

    void Reset(int type, Vec3 apex = {0, 60, 150}) {
        DTri t;
        LoadDefaultTriangle(t, 1, DefaultsSource{});
        SetXYZ(t.S[1].P1, 0, 0, 0);
        SetXYZ(t.S[2].P1, 0, 200, 0);
        SetXYZ(t.S[3].P1, apex.x, apex.y, apex.z);
        t.Typ.v = static_cast<std::uint8_t>(type);
        t.Height.v = 100;
        UpdateTriangle(t, 0, true);
        Show(t);
    }

    static Vec3 V(const DTri& t, std::size_t i) { return {t.S[i].P1.X.v, t.S[i].P1.Y.v, t.S[i].P1.Z.v}; }
    static double Dist(Vec3 a, Vec3 b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }

};

TEST_F(TriangleDialogTest, TypedValuesReshapeByType) {
    const Vec3 mid{0, 100, 0};
    struct Case {
        int type;
        const char* edit;
        const char* text;
        std::function<void(const DTri&)> check;
    } cases[] = {
        {2, "EditTAng1", "50",
         [&](const DTri& t) {
             EXPECT_DOUBLE_EQ(t.Ang[2].v, 50);
             EXPECT_DOUBLE_EQ(t.Height.v, 119.175);
             EXPECT_NEAR(Dist(V(t, 3), mid), 119.175, 1e-3);
         }},
        {2, "EditTAng3", "90",
         [&](const DTri& t) {
             EXPECT_DOUBLE_EQ(t.Height.v, 100);
             EXPECT_NEAR(t.Ang[3].v, 90, 1e-3);
         }},
        {3, "EditTAng2", "45",
         [&](const DTri& t) {
             EXPECT_NEAR(t.Height.v, std::tan(45 * M_PI / 180) * 200, 1e-3);
             EXPECT_NEAR(Dist(V(t, 3), V(t, 1)), t.Height.v, 1e-3);
             EXPECT_NEAR(t.Ang[1].v, 90, 1e-3);
         }},
        {2, "EditTLen2", "150",
         [&](const DTri& t) {
             EXPECT_NEAR(t.Height.v, std::sqrt(150.0 * 150 - 100 * 100), 1e-3);
             EXPECT_NEAR(t.S[2].Length.v, 150, 1e-3);
         }},
        {3, "EditTLen3", "80", [&](const DTri& t) { EXPECT_NEAR(Dist(V(t, 3), V(t, 1)), 80, 1e-3); }},
        {4, "EditTAng1", "30",
         [&](const DTri& t) {
             EXPECT_NEAR(t.Ang[1].v, 30, 1e-3);
             EXPECT_NEAR(Dist(V(t, 3), V(t, 1)), std::hypot(60.0, 150.0), 1e-3);  // turned, not stretched
         }},
        {4, "EditTAng3", "100,5", [&](const DTri& t) { EXPECT_NEAR(t.Ang[3].v, 100.5, 1e-3); }},
        {4, "EditTLen1", "250", [&](const DTri& t) { EXPECT_NEAR(Dist(V(t, 2), V(t, 1)), 250, 1e-3); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.edit) + " " + c.text + " type " + std::to_string(c.type));
        Reset(c.type);
        TypeAndLeave(c.edit, QString::fromUtf8(c.text));
        EXPECT_EQ(core.applies, 1);
        c.check(core.stored);
    }
}

TEST_F(TriangleDialogTest, ImpossibleValuesAreRefusedAndNothingCommits) {
    struct Case {
        int type;
        Vec3 apex;
        const char* edit;
        const char* text;
    } cases[] = {
        {2, {0, 100, 150}, "EditTLen2", "99"},    // shorter than half the base
        {2, {0, 100, 150}, "EditTAng1", "90"},    // base angle of 90
        {2, {0, 100, 150}, "EditTAng1", "120"},   // and beyond
        {2, {0, 100, 150}, "EditTAng3", "180"},   // apex angle outside 0..180
        {2, {0, 100, 150}, "EditTAng3", ""},      // emptied: 0
        {3, {0, 0, 100}, "EditTAng2", "89,99999999"},  // too near 90
        {3, {0, 0, 100}, "EditTAng2", "90"},
        {4, {0, 300, 0}, "EditTAng1", "30"},      // collinear vertices
        {4, {0, 200, 0}, "EditTAng3", "45"},      // two vertices on one place
        {4, {0, 60, 150}, "EditTAng2", "180"},
        {4, {0, 60, 150}, "EditTLen1", "0"},
        {2, {0, 100, 150}, "EditTH", "0"},        // flat for good
        {2, {0, 100, 150}, "EditTAng1", "89,9999999"},  // the apex beyond any picture
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.edit) + " '" + c.text + "' type " + std::to_string(c.type));
        Reset(c.type, c.apex);
        const DTri before = core.work;
        auto* e = Find<TNumEdit>(*dlg, c.edit);
        const QString shown = e->text();
        TypeAndLeave(c.edit, QString::fromUtf8(c.text));
        EXPECT_EQ(core.applies, 0);
        EXPECT_EQ(e->text(), shown);
        EXPECT_EQ(ShownTextTip().isEmpty(), !*c.text);  // nothing typed: nothing to tell
        for (std::size_t i = 1; i <= 3; ++i) {
            EXPECT_EQ(core.work.S[i].P1.Y.v, before.S[i].P1.Y.v);
            EXPECT_EQ(core.work.S[i].P1.Z.v, before.S[i].P1.Z.v);
            EXPECT_EQ(core.work.Ang[i].v, before.Ang[i].v);
            EXPECT_EQ(core.work.S[i].Length.v, before.S[i].Length.v);
        }
        EXPECT_EQ(core.work.Height.v, before.Height.v);
    }
}

// A vertex typed onto the line of the other two: a free triangle takes it; an
// isosceles one would lose the plane its apex stands in, and refuses it.
TEST_F(TriangleDialogTest, AVertexOnTheLineOfTheOthersIsRefusedWhereTheTypeBuildsOnIt) {
    for (int type : {2, 4}) {
        SCOPED_TRACE(type);
        Reset(type);
        const DTri before = core.work;
        const QString line = QString::number(2 * before.S[3].P1.ScrY.v - before.S[2].P1.ScrY.v);
        auto* y1 = Find<TSpinEdit>(*dlg, "SpinEditTy1");
        TypeInto(y1, line);
        dlg->EditTID->setFocus();
        EXPECT_EQ(y1->text(), type == 4 ? line : QString::number(before.S[1].P1.ScrY.v));
        EXPECT_EQ(core.stored.S[1].P1.Z.v, type == 4 ? line.toDouble() : before.S[1].P1.Z.v);
        EXPECT_EQ(ShownTextTip().isEmpty(), type == 4) << ShownTextTip().toStdString();
    }
}

TEST_F(TriangleDialogTest, EnabledControlsFollowTypeAndRole) {
    // angle 1, 2, 3, third point, height, length 1, 2, 3, vertex 3
    const std::array<std::array<bool, 9>, 4> table{{
        {false, false, false, true, false, true, false, false, false},
        {true, false, true, true, true, true, true, false, false},
        {false, true, false, true, false, true, false, true, false},
        {true, true, true, false, false, true, true, true, true},
    }};
    const char* names[] = {"EditTAng1", "EditTAng2", "EditTAng3", "RadioGroupT3P", "EditTH",
                           "EditTLen1", "EditTLen2", "EditTLen3", "SpinEditTx3"};
    for (int type = 1; type <= 4; ++type) {
        Reset(type);
        for (int c = 0; c < 9; ++c)
            EXPECT_EQ(Find<QWidget>(*dlg, names[c])->isEnabled(), table[type - 1][c]) << "type " << type << " "
                                                                                       << names[c];
        EXPECT_TRUE(Find<QWidget>(*dlg, "SpinEditTx1")->isEnabled());
    }
    // Out of the picture plane no angle can be typed.
    Reset(4, {40, 60, 150});
    for (const char* n : {"EditTAng1", "EditTAng2", "EditTAng3"}) EXPECT_FALSE(Find<QWidget>(*dlg, n)->isEnabled());

    // A pyramid's lateral face opens only its base; a cone's contour has no lines.
    Reset(4);
    dlg->VarToForm(core.work, 7);
    EXPECT_TRUE(dlg->ButtonTLine[0]->isEnabled());
    EXPECT_FALSE(dlg->ButtonTLine[1]->isEnabled());
    EXPECT_FALSE(dlg->ButtonTLine[2]->isEnabled());
    EXPECT_FALSE(dlg->ButtonTrBrush->isEnabled());
    EXPECT_TRUE(dlg->CheckBoxTbEn[0]->isEnabled());
    dlg->VarToForm(core.work, 2, true, false);
    for (int n = 0; n < 5; ++n) {
        EXPECT_FALSE(dlg->CheckBoxTbEn[n]->isEnabled());
        EXPECT_FALSE(dlg->RadioGroupTbTy[n]->isEnabled());
    }
}

TEST_F(TriangleDialogTest, OneCommitPerChangeAndNoneForARefill) {
    Reset(4);
    std::vector<std::pair<Kind, int>> parts;
    QObject::connect(dlg.get(), &TriangleDialog::partRequested, [&](Kind k, int r) { parts.emplace_back(k, r); });
    dlg->VarToForm(core.work);
    dlg->VarToForm(core.stored);
    EXPECT_EQ(core.applies, 0);

    // The vertex moves parallel to the picture plane.
    const DPoint before = core.work.S[2].P1;
    auto* x2 = Find<TSpinEdit>(*dlg, "SpinEditTx2");
    TypeInto(x2, QString::number(x2->value() + 10));
    EXPECT_GE(core.applies, 1);
    EXPECT_DOUBLE_EQ(core.stored.S[2].P1.Y.v, before.Y.v + 10);
    EXPECT_DOUBLE_EQ(core.stored.S[2].P1.X.v, before.X.v);

    // The type group entered: one commit; vertex 3 lands on the base's
    // perpendicular at once, the height edit stays off.
    core.applies = 0;
    dlg->RadioGroupTTyp->button(0)->setFocus();
    QTest::mouseClick(dlg->RadioGroupTTyp->button(0), Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(core.applies, 1);
    const double b = core.stored.S[1].Length.v;
    EXPECT_NEAR(Dist(V(core.stored, 3), V(core.stored, 1)), b, 1e-3);
    EXPECT_NEAR(Dist(V(core.stored, 3), V(core.stored, 2)), b, 1e-3);
    EXPECT_FALSE(dlg->EditTH->isEnabled());
    EXPECT_TRUE(dlg->RadioGroupT3P->isEnabled());

    // A check box: one commit, and its part button follows it.
    core.applies = 0;
    dlg->CheckBoxTcOpiEn->setFocus();
    ClickIndicator(dlg->CheckBoxTcOpiEn);
    EXPECT_EQ(core.applies, 1);
    EXPECT_TRUE(core.stored.CircOn[1].v);
    EXPECT_TRUE(dlg->ButtonTcOpi->isEnabled());
    QTest::mouseClick(dlg->ButtonTcOpi, Qt::LeftButton);
    QTest::mouseClick(dlg->ButtonTLine[2], Qt::LeftButton);

    // An edited length flushed by a part button: one commit, not two.
    core.applies = 0;
    Reset(4);
    TypeInto(dlg->EditTLen[0], "180");
    QTest::mouseClick(dlg->ButtonTLine[0], Qt::LeftButton);
    EXPECT_EQ(core.applies, 1);
    EXPECT_NEAR(core.stored.S[1].Length.v, 180, 1e-3);
    const std::vector<std::pair<Kind, int>> want{{Kind::ci, 2}, {Kind::li, 6}, {Kind::li, 4}};
    EXPECT_EQ(parts, want);

    // The second page's radio groups store on entry.
    dlg->showPage(2);
    core.applies = 0;
    dlg->RadioGroupTbTy[4]->button(1)->setFocus();
    QTest::mouseClick(dlg->RadioGroupTbTy[4]->button(1), Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(core.applies, 1);
    EXPECT_EQ(core.stored.LineKind[5].v, 2);
}

}  // namespace
}  // namespace pelmar::test

namespace pelmar::test {
namespace {

// A translation's words on both figure dialogs; "&" shows as written.
TEST(FigureDialogWords, TranslationTextsOnBothDialogs) {
    QTemporaryDir dir;
    const std::string file = (dir.path() + "/Test.lng").toStdString();
    WriteBytes(file, TranslationBytes(685, [](int n) { return n == 660 ? std::string("Fill & colour") : TestWord(n); }));
    WordTable words;
    ASSERT_TRUE(words.LoadWords(file));
    FigureCore<DTri> core;
    DKv kvWork;
    TriangleDialog tr(core.work, core, core);
    TetragonDialog kv(kvWork, core, core);
    tr.applyWords(words);
    kv.applyWords(words);
    auto w = [](int n) { return QString::fromStdString(TestWord(n)); };
    EXPECT_EQ(tr.windowTitle() + tr.RadioGroupTbTy[4]->itemText(2) + tr.ComboBoxTVid->itemText(3), w(465) + w(479) + w(375));
    EXPECT_EQ(tr.ButtonTrBrush->text(), "Fill && colour");
    EXPECT_EQ(kv.PageControl1->tabText(0) + kv.RadioGroupKTyp->itemText(6), w(481) + " 1" + w(488));
}

}  // namespace
}  // namespace pelmar::test
