#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "dialog_test_util.h"
#include "support/key_rows.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/graph_options_dialog.h"
#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/section_bounds_dialog.h"
#include "dialogs/ui/spin_edit.h"
#include "model/coord_edits.h"
#include "model/defaults.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct NoCommit : DialogCommit {
    int applies = 0;
    void ApplyObject(bool) override { ++applies; }
    void ApplyObjectInStep(bool, std::uint64_t&) override { ++applies; }
    std::uint64_t BeforeDocumentChange() override { return 0; }
    void RepaintProject() override {}
    bool NoRedraw() const override { return false; }
};

struct OptSession {
    WorkingCopies work;
    NoCommit commit;
    std::unique_ptr<TFormXOYOpt> dlg;
    explicit OptSession(int graph, std::function<void(WorkingCopies&)> prepare = {}) {
        LoadDefaultXOY(work.CurXOY, 1, DefaultsSource{});
        LoadDefaultXYZ(work.CurXZ, 1, DefaultsSource{});
        for (auto& c : work.CurXZ.Curves) c.Valid = 1;
        for (auto& o : work.CurXZ.Outlines) o.Lines.Valid = 1;
        work.CurXOY.Curves.Valid = 1;
        if (prepare) prepare(work);
        dlg = std::make_unique<TFormXOYOpt>(work, graph, BuiltInWords(), 96);
        ShowActive(*dlg);
    }
    template <class W>
    W* find(const char* name) {
        return Find<W>(*dlg, name);
    }
    TNumEdit* edit(const char* name) { return find<TNumEdit>(name); }
};

}  // namespace

// What each graph number shows: the bounds groups, the within box, the
// hidden-lines group and the bounds' animation; emptied groups show no
// text.  Showing the dialog changes nothing of the record.
TEST(GraphOptions, EnablingTable) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    const struct {
        int graph;
        bool par, dec, pol, within;
        int hidden;  // 0 disabled, 1 enabled, 2 not shown
        bool boundsAnim;
    } rows[] = {
        {1, false, true, false, false, 0, true},   {2, false, true, false, false, 0, true},
        {3, false, false, true, true, 0, true},    {4, false, false, true, true, 0, true},
        {5, true, false, false, true, 0, true},    {6, false, true, false, false, 0, true},
        {11, false, false, false, false, 1, false}, {12, false, false, false, false, 1, false},
        {13, true, false, false, true, 2, true},   {14, false, false, false, false, 1, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.graph);
        OptSession s(r.graph);
        EXPECT_EQ(s.find<QGroupBox>("GroupBoxPar")->isEnabled(), r.par);
        EXPECT_EQ(s.find<QGroupBox>("GroupBoxDec")->isEnabled(), r.dec);
        EXPECT_EQ(s.find<QGroupBox>("GroupBoxPol")->isEnabled(), r.pol);
        EXPECT_EQ(s.find<QCheckBox>("CheckBoxGran")->isEnabled(), r.within);
        auto* vi2 = s.find<TRadioGroup>("RadioGroupVi2");
        EXPECT_EQ(vi2->isVisible(), r.hidden != 2);
        EXPECT_EQ(vi2->isEnabled(), r.hidden == 1);
        EXPECT_EQ(s.find<QPushButton>("ButtonX1Anim")->isEnabled(), r.boundsAnim);
        // The parametric group always shows its values; the others are emptied.
        EXPECT_FALSE(s.edit("EditX2c")->text().isEmpty());
        EXPECT_EQ(s.edit("LabeledEditDecX1")->text().isEmpty(), !r.dec);
        EXPECT_EQ(s.edit("EditGranPolA1")->text().isEmpty(), !r.pol);
        // Z and the normal only for a surface, whatever the on boxes say.
        ClickIndicator(s.find<QCheckBox>("CheckBoxTrans1"));
        ClickIndicator(s.find<QCheckBox>("CheckBoxTrans2"));
        const bool surface = r.graph >= 11;
        EXPECT_TRUE(s.edit("LabeledEditTrans112")->isEnabled());
        EXPECT_EQ(s.edit("LabeledEditTrans113")->isEnabled(), surface);
        EXPECT_EQ(s.edit("LabeledEditTrans122")->isEnabled(), surface);
        EXPECT_TRUE(s.edit("LabeledEditTrans22")->isEnabled());
        EXPECT_EQ(s.edit("LabeledEditTrans23")->isEnabled(), surface);
        EXPECT_TRUE(s.find<QPushButton>("ButtonX2Anim")->isEnabled());
    }
    // Shown for a surface with an outline, the dialog leaves the outline as
    // it was; a stored step of 0 comes back as 0.0001.
    OptSession s(11, [](WorkingCopies& w) { w.CurXZ.ParH.v = 0; });
    EXPECT_EQ(s.work.CurXZ.Outlines[1].Lines.Valid, 1);
    EXPECT_EQ(s.work.CurXZ.ParH.v, MinParamStep);
    EXPECT_EQ(s.edit("EditX2c")->text(), "0,0001");
}

// Typing into the bounds: an intermediate text keeps the field without a
// word, an emptied bound stays empty while typed in and reads 0 when left,
// any Cartesian bound retraces the implicit graph, a parametric step of 0
// becomes 0.0001 when left.
TEST(GraphOptions, BoundsAsTyped) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    OptSession s(2, [](WorkingCopies& w) { w.CurXOY.Bounds[2][2].v = -10; });
    auto* y2 = s.edit("LabeledEditDecY2");
    TypeInto(y2, "-");
    EXPECT_EQ(s.work.CurXOY.Curves.Valid, 1) << "\"-\" is no number yet: nothing stored";
    QTest::keyClicks(y2, "7,5");
    EXPECT_EQ(s.work.CurXOY.Bounds[2][3].v, -7.5);
    EXPECT_EQ(s.work.CurXOY.Curves.Valid, 0);
    EXPECT_EQ(QApplication::activeModalWidget(), s.dlg.get()) << "no message box";
    y2->selectAll();
    QTest::keyClick(y2, Qt::Key_Backspace);
    EXPECT_EQ(y2->text(), "");
    EXPECT_EQ(s.work.CurXOY.Bounds[2][3].v, -7.5);
    QTest::keyClick(y2, Qt::Key_Tab);
    EXPECT_EQ(y2->text(), "0");
    EXPECT_EQ(s.work.CurXOY.Bounds[2][3].v, 0);

    OptSession p(5);
    auto* h = p.edit("EditX2c");
    TypeInto(h, "0");
    p.edit("EditX2a")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(h->text(), "0,0001");
    EXPECT_EQ(p.work.CurXOY.ParH.v, MinParamStep);
    TypeInto(h, "0,05");
    EXPECT_EQ(p.work.CurXOY.ParH.v, 0.05);
    const bool within = p.work.CurXOY.WithinAxes[3].v;
    ClickIndicator(p.find<QCheckBox>("CheckBoxGran"));
    EXPECT_EQ(p.work.CurXOY.WithinAxes[3].v, !within);
    EXPECT_EQ(p.work.CurXOY.Curves.Valid, 0);
}

// The bounds, steps and transformations typed key by key: the text stays as
// typed, an emptied field is 0 once left, and the field then shows what is
// stored, with a tip where the step's rule changed it (a polar step of 0 is
// refused).
TEST(GraphOptions, NumbersTypedKeyByKey) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    using W = WorkingCopies;
    const struct {
        int graph;
        RecordKeyRow<W> row;
    } rows[] = {
        {2, {"-7,5 typed over an emptied bound", "LabeledEditDecY2", "\b-7,5", {"", "-", "-7", "-7,", "-7,5"},
             [](const W& w) { return w.CurXOY.Bounds[2][3].v; }, -7.5, "-7,5", false}},
        {3, {"a polar bound typed over an emptied field", "EditGranPolA2", "\b12", {"", "1", "12"},
             [](const W& w) { return w.CurXOY.Polar[1][1].v; }, 12, "12", false}},
        {3, {"a polar step of 0", "EditGranPolH", "\b0", {"", "0"}, [](const W& w) { return w.CurXOY.Polar[1][2].v; },
             0.05, "0,05", true}},
        {5, {"a parametric step of 0", "EditX2c", "0", {"0"}, [](const W& w) { return w.CurXOY.ParH.v; }, 0.0001,
             "0,0001", true}},
        {13, {"a parametric step left empty", "EditX2c", "\b", {""}, [](const W& w) { return w.CurXZ.ParH.v; },
              0.0001, "0,0001", true}},
        {12, {"an angle left empty", "EditTrans", "\b", {""}, [](const W& w) { return w.CurXZ.Move[2].Angle.v; }, 0,
              "0", true}},
        {4, {"a shift ending in the comma", "LabeledEditTrans21", "3,", {"3", "3,"},
             [](const W& w) { return w.CurXOY.Move[4].DX.v; }, 3, "3", false}},
    };
    for (const auto& r : rows) {
        OptSession s(r.graph, [](WorkingCopies& w) {
            w.CurXZ.Move[2].Rotated.v = true;
            w.CurXZ.Move[2].Angle.v = 30;
            w.CurXOY.Move[4].Moved.v = true;
            w.CurXOY.Bounds[2][2].v = -10;
        });
        PlayKeys(*s.dlg, r.row, s.work);
    }
}

// A surface: dashed visible lines make the hidden ones dashed and lock
// them; the dashes follow; a rotation edit stales the surface's outline and
// nothing else, and keeps its value while the text is no number.
TEST(GraphOptions, SurfaceStylesAndMoves) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    OptSession s(12, [](WorkingCopies& w) {
        w.CurXZ.Style[2].Visible.v = 1;
        w.CurXZ.Style[2].Hidden.v = 3;
    });
    auto* vi1 = s.find<TRadioGroup>("RadioGroupVi1");
    auto* vi2 = s.find<TRadioGroup>("RadioGroupVi2");
    EXPECT_FALSE(s.find<TSpinEdit>("SpinEditDot1")->isEnabled());
    ClickIndicator(vi1->button(1));
    EXPECT_EQ(s.work.CurXZ.Style[2].Visible.v, 2);
    EXPECT_EQ(s.work.CurXZ.Style[2].Hidden.v, 2);
    EXPECT_EQ(vi2->itemIndex(), 1);
    EXPECT_FALSE(vi2->isEnabled());
    EXPECT_TRUE(s.find<TSpinEdit>("SpinEditDot1")->isEnabled());
    ClickIndicator(vi1->button(0));
    EXPECT_TRUE(vi2->isEnabled());
    EXPECT_TRUE(s.find<TSpinEdit>("SpinEditDot2")->isEnabled()) << "hidden lines still dashed";

    ClickIndicator(s.find<QCheckBox>("CheckBoxTrans1"));
    EXPECT_TRUE(s.work.CurXZ.Move[2].Rotated.v);
    EXPECT_EQ(s.work.CurXZ.Outlines[2].Lines.Valid, 0);
    s.work.CurXZ.Outlines[2].Lines.Valid = 1;
    auto* angle = s.edit("EditTrans");
    TypeInto(angle, "-");
    EXPECT_EQ(s.work.CurXZ.Outlines[2].Lines.Valid, 1);
    QTest::keyClicks(angle, "45");
    EXPECT_EQ(s.work.CurXZ.Move[2].Angle.v, -45);
    angle->selectAll();
    QTest::keyClick(angle, Qt::Key_Backspace);
    EXPECT_EQ(s.work.CurXZ.Move[2].Angle.v, -45) << "an empty text keeps the angle";
    EXPECT_EQ(s.work.CurXZ.Outlines[2].Lines.Valid, 0);
    EXPECT_EQ(s.work.CurXZ.Outlines[1].Lines.Valid, 1);
    EXPECT_EQ(s.work.CurXZ.Curves[12].Valid, 1);
    EXPECT_EQ(s.commit.applies, 0) << "the opener commits";
}

// The animation buttons of the options: both dialogs store without a commit
// (the options are one change); each button's glyph shows a formula present
// when its dialog returns.
TEST(GraphOptions, AnimationOpeners) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    OptSession s(4);
    auto* bounds = s.find<QPushButton>("ButtonX1Anim");
    auto* moves = s.find<QPushButton>("ButtonX2Anim");
    EXPECT_FALSE(bounds->property("set").toBool());
    EXPECT_FALSE(moves->isEnabled()) << "neither rotation nor translation on";
    QTimer::singleShot(0, [] {
        QWidget* w = QApplication::activeModalWidget();
        ASSERT_TRUE(w && w->objectName() == "FormAnimX1");
        TypeInto(Find<QLineEdit>(*w, "Edit2"), "x*6");
        QTest::mouseClick(Find<QPushButton>(*w, "Button1"), Qt::LeftButton);
    });
    QTest::mouseClick(bounds, Qt::LeftButton);
    EXPECT_EQ(s.work.CurXOY.Texts[1][4], "x*6");
    EXPECT_EQ(s.commit.applies, 0);
    EXPECT_TRUE(bounds->property("set").toBool());

    ClickIndicator(s.find<QCheckBox>("CheckBoxTrans2"));
    ASSERT_TRUE(moves->isEnabled());
    QTimer::singleShot(0, [] {
        QWidget* w = QApplication::activeModalWidget();
        ASSERT_TRUE(w && w->objectName() == "FormAnimX2");
        // Translation X of a 2D graph: row 8.
        TypeInto(Find<QLineEdit>(*w, "Edit8"), "x");
        QTest::mouseClick(Find<QPushButton>(*w, "Button1"), Qt::LeftButton);
    });
    QTest::mouseClick(moves, Qt::LeftButton);
    EXPECT_EQ(s.work.CurXOY.Texts[7][4], "x");
    EXPECT_EQ(s.commit.applies, 0);
    EXPECT_TRUE(moves->property("set").toBool());
}

// Typed key by key and left: a zero rotation normal, a number past the limit
// and a range or step needing over a million samples are refused, and so is
// a range's end typed at or past its other end; each with a tip saying why,
// and the record never holds a number the field refuses.
TEST(GraphOptions, RulesOfRangesStepsAndNormals) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    using W = WorkingCopies;
    auto prepare = [](W& w) {
        DGraphMove& m = w.CurXZ.Move[2];
        m.Rotated.v = m.Moved.v = true;
        m.NX.v = m.NY.v = 0, m.NZ.v = 1, m.DX.v = 0, m.Angle.v = 30;
        w.CurXOY.Bounds[2][2].v = 0;  // y1 0
    };
    const auto tipSays = [](const char* why, const char* name) {
        EXPECT_TRUE(ShownTextTip().contains(QString::fromUtf8(why))) << name << ": " << ShownTextTip().toStdString();
    };
    const struct {
        int graph;
        const char* name;
        const char* field;
        QString keys;
        std::function<double(const W&)> stored;
        double want;
        QString left;
        const char* why;  // in the tip; null: none
        std::vector<double> keptEach = {};
    } rows[] = {
        {12, "a zero normal", "LabeledEditTrans123", "0", [](const W& w) { return w.CurXZ.Move[2].NZ.v; }, 1, "1",
         "нулевым", {1}},
        {12, "a normal with a direction", "LabeledEditTrans121", "0,5", [](const W& w) { return w.CurXZ.Move[2].NX.v; },
         0.5, "0,5", nullptr},
        {2, "y2 typed below y1", "LabeledEditDecY2", "-9", [](const W& w) { return w.CurXOY.Bounds[2][3].v; }, 5, "5",
         "Конец диапазона должен быть больше его начала (0): значение не взято"},
        {1, "x1 typed past x2", "LabeledEditDecX1", "6", [](const W& w) { return w.CurXOY.Bounds[1][0].v; }, -5, "-5",
         "Начало диапазона"},
        {6, "a bound in order", "LabeledEditDecY1", "-2", [](const W& w) { return w.CurXOY.Bounds[3][2].v; }, -2, "-2",
         nullptr},
        {5, "t1 typed past t2", "EditX2a", "7", [](const W& w) { return w.CurXOY.ParA.v; }, 0, "0",
         "Начало диапазона"},
        {13, "t2 typed before t1", "EditX2b", "-1", [](const W& w) { return w.CurXZ.ParT2.v; }, 18.84, "18,84",
         "Конец диапазона"},
        {3, "a typed past b", "EditGranPolA1", "7", [](const W& w) { return w.CurXOY.Polar[1][0].v; }, 0, "0",
         "Начало диапазона"},
        {5, "t2 that needs ten million samples", "EditX2b", "50000", [](const W& w) { return w.CurXOY.ParB.v; }, 6.28,
         "6,28", "больше миллиона точек", {5, 50, 500, 5000, 6.28}},
        {13, "a space curve's t2 that needs two million", "EditX2b", "10000",
         [](const W& w) { return w.CurXZ.ParT2.v; }, 18.84, "18,84", "больше миллиона точек"},
        {4, "a polar step too fine for its range", "EditGranPolH", "0,000001",
         [](const W& w) { return w.CurXOY.Polar[2][2].v; }, 0.05, "0,05", "больше миллиона точек"},
        {12, "a shift past the limit", "LabeledEditTrans21", "3000000000",
         [](const W& w) { return w.CurXZ.Move[2].DX.v; }, 0, "0", "1 000 000",
         {3, 30, 300, 3000, 30000, 300000, 0, 0, 0, 0}},
        {1, "x2 whose window reaches past the limit at scale 20", "LabeledEditDecX2", "60000",
         [](const W& w) { return w.CurXOY.Bounds[1][1].v; }, 5, "5", "не дальше 50000"},
        {1, "a bound past the limit", "LabeledEditDecX2", "1000000000000",
         [](const W& w) { return w.CurXOY.Bounds[1][1].v; }, 5, "5", "1 000 000"},
        {12, "an angle past the limit", "EditTrans", "99999999", [](const W& w) { return w.CurXZ.Move[2].Angle.v; }, 30,
         "30", "1 000 000"},
    };
    for (const auto& r : rows) {
        OptSession s(r.graph, prepare);
        PlayKeys(*s.dlg, {r.field, r.keys, Prefixes(r.keys), r.want, r.left, r.why != nullptr,
                          [&] { return r.stored(s.work); }, r.keptEach, r.name});
        if (r.why) tipSays(r.why, r.name);
    }

    // A section's bounds: each coordinate's two bounds are a range.
    DSection sec;
    sec.Bounds = {Ed<double>{true, -3}, {true, 3}, {true, 2}, {true, 9}};
    TFormSech2 b(sec, 1, BuiltInWords(), nullptr, 20);
    ShowActive(b);
    const struct {
        const char* name;
        const char* field;
        QString keys;
        std::size_t bound;
        double want;
        QString left;
        const char* why;
    } bounds[] = {
        {"the high bound typed below the low one", "Edit12", "-8", 1, 3, "3", "Конец диапазона"},
        {"the low bound typed past the high one", "Edit21", "10", 2, 2, "2", "Начало диапазона"},
        {"a bound past the limit", "Edit22", "2000000", 3, 9, "9", "1 000 000"},
        {"a bound whose window reaches past the limit at scale 20", "Edit11", "-60000", 0, -3, "-3",
         "не дальше 50000"},
    };
    for (const auto& r : bounds) {
        PlayKeys(b, {r.field, r.keys, Prefixes(r.keys), r.want, r.left, true,
                     [&] { return sec.Bounds[r.bound].v; }, {}, r.name});
        tipSays(r.why, r.name);
    }
}
