// Numbers typed into the object dialogs one key at a time, as a user types
// them, in the real program: what the field shows after each key, what the
// document keeps once the field is left, and whether a tip says why that is
// not what was typed.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
#include <cmath>
#include <functional>
#include <memory>
#include <ranges>
#include <span>
#include <string>
#include <vector>

#include "dialogs/dialog_test_util.h"
#include "dialogs/ui/dialog_registry.h"
#include "dialogs/ui/radio_group.h"
#include "editing/editing_state.h"
#include "files/document.h"
#include "files/ui/text_tip.h"
#include "model/round_reshape.h"
#include "model/update.h"
#include "shell/ui/dialog_session.h"
#include "support/key_rows.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// What a row does in the object's dialog before it types: a number typed
// and Return, an item chosen, a button clicked.
struct Step {
    const char* control;
    QString keys;  // typed and Return; for a combo box the item index
    enum { Type, Pick, Click } what = Type;
    Kind opens = Kind(0);  // the part a click opens, when it is not the row's `dialog`
};
Step Pick(const char* combo, int item) { return {combo, QString::number(item), Step::Pick}; }
[[maybe_unused]] Step Click(const char* button, Kind opens = Kind(0)) { return {button, {}, Step::Click, opens}; }

struct TypedRow {
    const char* name;
    Kind kind;                // the object chosen in the object list
    std::vector<Step> before;  // in its dialog, then in the dialog of the part a step opened
    const char* field;
    QString keys;             // after the field's text is selected; '\b' is Backspace
    QStringList shown;        // the field's text after each key
    std::function<double(const DSubProj&)> stored;
    double want;              // what the document keeps once the field is left
    QString left;             // what the field shows then
    bool tip;                 // a tip says why the number is not the one typed
    Kind dialog = Kind(0);    // the dialog typed in: the part's, when a step opened one
    std::vector<double> keptEach = {};  // when given: what the document keeps after each key
};

// The ellipse: arcs, the tilt of a circle, the order of the semi-axes.
const TypedRow EllipseRows[] = {
    {"arc end typed over an emptied field", Kind::ci,
     {Pick("ComboBoxCTyp", 3), {"EditCDug1", "50"}, {"EditCDug2", "60"}}, "EditCDug2", "\b150",
     {"", "1", "15", "150"}, [](const DSubProj& o) { return o.Ci[1].Arc2.v; }, 150, "150", false},
    {"arc start beyond the end", Kind::ci, {Pick("ComboBoxCTyp", 3), {"EditCDug1", "0"}, {"EditCDug2", "0"}},
     "EditCDug1", "30", {"3", "30"}, [](const DSubProj& o) { return o.Ci[1].Arc1.v; }, 0, "0", true},
    {"arc start then end of a new sector", Kind::ci, {Pick("ComboBoxCTyp", 3), {"EditCDug2", "150"}}, "EditCDug1",
     "30", {"3", "30"}, [](const DSubProj& o) { return o.Ci[1].Arc1.v * 1000 + o.Ci[1].Arc2.v; }, 30150, "30", false},
    {"dash arc end below its start", Kind::ci, {Pick("ComboBoxCTyp", 3), {"EditCDush2", "90"}, {"EditCDush1", "40"}},
     "EditCDush2", "7", {"7"},
     [](const DSubProj& o) { return o.Ci[1].DashArc2.v; }, 40, "40", true},
    {"a circle's tilt", Kind::ci, {{"SpinEditCa", "70"}, {"SpinEditCb", "70"}}, "EditCAn", "20", {"2", "20"},
     [](const DSubProj& o) { return o.Ci[1].Tilt.v; }, 0, "0", true},
    {"a semi-axis of a tilted ellipse", Kind::ci, {{"SpinEditCa", "70"}, {"SpinEditCb", "40"}, {"EditCAn", "60"}},
     "SpinEditCa", "100", {"1", "10", "100"},
     [](const DSubProj& o) { return o.Ci[1].A.v * 1e6 + o.Ci[1].B.v * 1e3 + o.Ci[1].Tilt.v; }, 100040060, "100",
     false},
    {"a semi-axis left smaller than the other", Kind::ci,
     {{"SpinEditCa", "70"}, {"SpinEditCb", "40"}, {"EditCAn", "60"}}, "SpinEditCa", "1", {"1"},
     [](const DSubProj& o) { return o.Ci[1].A.v * 1e3 + o.Ci[1].B.v; }, 40001, "40", true},
    {"a whole semi-axis typed with a fraction", Kind::ci, {}, "SpinEditCa", "80,6", {"8", "80", "80,", "80,6"},
     [](const DSubProj& o) { return o.Ci[1].A.v; }, 81, "81", true},
    {"a semi-axis of 0 is below the bounds", Kind::ci, {}, "SpinEditCa", "0", {"0"},
     [](const DSubProj& o) { return o.Ci[1].A.v; }, 1, "1", true},
};

// The point and the segment: an emptied coordinate, whole-number spins typed
// with a fraction, the axes of the coordinate systems edited as segments,
// the decimals of the point's place in space.
const TypedRow PointLineRows[] = {
    {"a point's picture X emptied and typed negative", Kind::po, {}, "EditPx", "\b-250",
     {"", "-", "-2", "-25", "-250"}, [](const DSubProj& o) { return o.Po[1].ScrX.v; }, -250, "-250", false},
    {"a point's label distance typed with a fraction", Kind::po, {}, "SpinEditPNRad", "12,75",
     {"1", "12", "12,", "12,7", "12,75"}, [](const DSubProj& o) { return o.Po[1].LabelDist.v; }, 13, "13", true},
    {"a point's 3D X: four decimals typed, three kept", Kind::po, {}, "EditPxx", "0,1234",
     {"0", "0,", "0,1", "0,12", "0,123", "0,1234"}, [](const DSubProj& o) { return o.Po[1].X.v; }, 0.123, "0,123",
     true},
    {"a point's 3D Y: four decimals typed, three kept", Kind::po, {}, "EditPyy", "5,4321",
     {"5", "5,", "5,4", "5,43", "5,432", "5,4321"}, [](const DSubProj& o) { return o.Po[1].Y.v; }, 5.432, "5,432",
     true},
    {"a segment's end emptied and typed negative", Kind::li, {}, "EditLx2", "\b-30", {"", "-", "-3", "-30"},
     [](const DSubProj& o) { return o.Li[1].P2.ScrX.v; }, -30, "-30", false},
    {"a segment's gap typed with a fraction", Kind::li, {Pick("ComboBoxLType", 1)}, "SpinEditLPri2", "1,5",
     {"1", "1,", "1,5"}, [](const DSubProj& o) { return o.Li[1].Gap.v; }, 2, "2", true},
    {"a segment's emptied division point", Kind::li, {Click("CheckBoxP3"), {"EditP3", "0,5"}}, "EditP3", "\b",
     {""}, [](const DSubProj& o) { return o.Li[1].Frac3.v; }, 0, "0", true, Kind::li, {0.5}},
    {"a segment's length of 0", Kind::li, {{"EditLLen", "100"}}, "EditLLen", "0", {"0"},
     [](const DSubProj& o) { return o.Li[1].Length.v; }, 100, "100", true},
    {"the X axis of a 2D system", Kind::xy, {Click("ButtonXX"), {"EditLx2", "440"}}, "EditLx2", "545",
     {"5", "54", "545"}, [](const DSubProj& o) { return o.Xy[1].AxisX.P2.ScrX.v; }, 545, "545", false, Kind::li,
     {440, 54, 545}},
    {"the Y axis of a 2D system", Kind::xy, {Click("ButtonXY"), {"EditLy2", "645"}}, "EditLy2", "700",
     {"7", "70", "700"},
     [](const DSubProj& o) { return o.Xy[1].AxisY.P1.ScrY.v * 1000 + o.Xy[1].AxisY.P2.ScrY.v; }, 30700, "700", false,
     Kind::li, {30645, 30070, 30700}},
    {"the Y axis of a 2D system turned back", Kind::xy, {Click("ButtonXY")}, "EditLy2", "7", {"7"},
     [](const DSubProj& o) { return o.Xy[1].AxisY.P1.ScrY.v * 1000 + o.Xy[1].AxisY.P2.ScrY.v; }, 7007, "7", true,
     Kind::li, {30700}},
    {"an axis end opened as a point", Kind::xy, {Click("ButtonXY", Kind::li), Click("ButtonL2")}, "EditPy", "3",
     {"3"}, [](const DSubProj& o) { return o.Xy[1].AxisY.P1.ScrY.v * 1000 + o.Xy[1].AxisY.P2.ScrY.v; }, 3003, "3",
     true, Kind::po, {7007}},
    {"the Y axis of a 3D system", Kind::xz, {Click("ButtonY_Y"), {"EditLx2", "990"}}, "EditLx2", "1050",
     {"1", "10", "105", "1050"}, [](const DSubProj& o) { return o.Xz[1].AxisY.P2.ScrX.v; }, 1050, "1050", false,
     Kind::li, {990, 990, 105, 1050}},
};

// The 2D and the 3D system: a scale or a division length of 0 would leave the
// axes without marks and numbers.
const TypedRow CoordRows[] = {
    {"a 2D scale of 0", Kind::xy, {}, "EditXMasx", "\b0", {"", "0"},
     [](const DSubProj& o) { return o.Xy[1].ScaleX.v; }, 20, "20", true},
    {"a 2D scale left empty", Kind::xy, {}, "EditXMasy", "\b", {""},
     [](const DSubProj& o) { return o.Xy[1].ScaleY.v; }, 20, "20", true},
    {"a 2D division length of 0", Kind::xy, {}, "EditXRazy", "0,0", {"0", "0,", "0,0"},
     [](const DSubProj& o) { return o.Xy[1].DivY.v; }, 1, "1", true},
    {"a 3D scale of 0", Kind::xz, {}, "EditYMas", "0", {"0"}, [](const DSubProj& o) { return o.Xz[1].Scale.v; }, 20,
     "20", true},
    {"a 3D division length left empty", Kind::xz, {}, "EditYRaz", "\b", {""},
     [](const DSubProj& o) { return o.Xz[1].Div.v; }, 1, "1", true},
};

// The triangle and the tetragon: a vertex moves parallel to the picture as
// its coordinate is typed; where the figure's type moves other vertices with
// it, or a typed angle, side or height would lay the figure flat, the number
// waits for the whole of it.
const TypedRow FigureRows[] = {
    {"a vertex typed with a fraction", Kind::tr, {}, "SpinEditTx1", "\b100,75",
     {"", "1", "10", "100", "100,", "100,7", "100,75"}, [](const DSubProj& o) { return o.Tr[1].S[1].P1.ScrX.v; }, 101,
     "101", true, Kind(0), {80, 1, 10, 100, 100, 100, 100}},
    {"a vertex emptied and left", Kind::tr, {}, "SpinEditTy3", "\b", {""},
     [](const DSubProj& o) { return o.Tr[1].S[3].P1.ScrY.v; }, 0, "0", true},
    {"a vertex of an isosceles triangle typed through a flat one", Kind::tr,
     {Pick("RadioGroupTTyp", 1), {"SpinEditTx1", "80"}, {"SpinEditTy1", "60"}, {"EditTH", "180"}}, "SpinEditTy1",
     "\b-3000", {"", "-", "-3", "-30", "-300", "-3000"},
     [](const DSubProj& o) { return o.Tr[1].S[1].P1.ScrY.v * 1000 + o.Tr[1].Height.v; }, -2999820, "-3000", true,
     Kind(0), {60180, 60180, 60180, 60180, 60180, 60180}},
    {"an isosceles triangle's height of 0", Kind::tr, {}, "EditTH", "\b0", {"", "0"},
     [](const DSubProj& o) { return o.Tr[1].Height.v; }, 180, "180", true},
    {"a vertex of a square", Kind::kv, {Pick("RadioGroupKTyp", 0)}, "SpinEditKx1", "\b-20", {"", "-", "-2", "-20"},
     [](const DSubProj& o) { return o.Kv[1].S[1].P1.ScrX.v; }, -20, "-20", true, Kind(0), {60, 60, 60, 60}},
    {"a parallelogram's height of 0", Kind::kv, {Pick("RadioGroupKTyp", 3), {"EditKH", "100"}}, "EditKH", "0", {"0"},
     [](const DSubProj& o) { return o.Kv[1].Height.v; }, 100, "100", true},
};

// The solids: the bodies' section angles and radius, heights and lateral
// edges that would flatten a solid, the sphere's radius, and the direction of
// a prism's edge through a short length.
const TypedRow SolidRows[] = {
    {"a cylinder's section angle typed negative", Kind::zi, {}, "EditZSeAdd1", "\b-30", {"", "-", "-3", "-30"},
     [](const DSubProj& o) { return o.Zi[1].SecPos1.v; }, -30, "-30", false},
    {"a cone's section angle typed negative", Kind::ko, {}, "EditKSeAdd2", "\b-30", {"", "-", "-3", "-30"},
     [](const DSubProj& o) { return o.Ko[1].SecPos2.v; }, -30, "-30", false},
    {"a cylinder's whole radius typed with a fraction", Kind::zi, {}, "SpinEditZRad", "8,55",
     {"8", "8,", "8,5", "8,55"}, [](const DSubProj& o) { return o.Zi[1].Radius.v; }, 9, "9", true, Kind(0),
     {8, 8, 8, 8}},
    {"a cone's height of 0", Kind::ko, {{"SpinEditKH", "100"}}, "SpinEditKH", "0", {"0"},
     [](const DSubProj& o) { return o.Ko[1].Axis.Length.v; }, 100, "100", true},
    {"a sphere's radius of 0", Kind::sf, {{"SpinEditSRad", "60"}}, "SpinEditSRad", "0", {"0"},
     [](const DSubProj& o) { return o.Sf[1].Radius.v; }, 60, "60", true},
    {"a pyramid's height of 0", Kind::i3, {{"EditPH", "100"}}, "EditPH", "0", {"0"},
     [](const DSubProj& o) { return o.I3[1].HeightLine.Length.v * 10 + o.I3[1].Orient.v; }, 1001, "100", true},
    {"a four-sided pyramid's height of 0", Kind::i4, {{"EditPH", "100"}}, "EditPH", "\b0", {"", "0"},
     [](const DSubProj& o) { return o.I4[1].HeightLine.Length.v * 10 + o.I4[1].Orient.v; }, 1001, "100", true},
    {"a prism's edge length of 0", Kind::r3,
     {{"EditPRebP1", "30"}, {"EditPRebP2", "30"}, {"EditPRebP3", "150"}}, "EditPRebLe", "\b0", {"", "0"},
     [](const DSubProj& o) { return o.R3[1].EdgeZ.v; }, 150, "155,885", true},
    {"a prism's edge component that flattens it", Kind::r4,
     {{"EditPRebP1", "0"}, {"EditPRebP2", "0"}, {"EditPRebP3", "150"}}, "EditPRebP3", "0", {"0"},
     [](const DSubProj& o) { return o.R4[1].EdgeZ.v; }, 150, "150", true},
    {"a prism's edge length after a short one", Kind::r3,
     {{"EditPRebP1", "30"}, {"EditPRebP2", "30"}, {"EditPRebP3", "150"}, {"EditPRebLe", "0,5"}}, "EditPRebLe",
     "200", {"2", "20", "200"}, [](const DSubProj& o) { return o.R3[1].EdgeX.v * 1000 + o.R3[1].EdgeZ.v; },
     38490 + 192.45, "200", false, Kind(0), {96.481, 96.481, 96.481}},
};

// Every table, played in one sitting on a new document with an object of
// each kind.
const std::span<const TypedRow> Tables[] = {EllipseRows, PointLineRows, CoordRows, FigureRows, SolidRows};

struct Sitting : WindowSession {
    Form1& win() { return *w; }
    std::string file;
    // A new document of one object of kind k, saved as `name` and opened
    // from it.
    void openNew(Kind k, const std::string& name) {
        file = dir.path(name);
        answers.counts[Slot(k)] = 1;
        StartNew(*this);
        ASSERT_TRUE(WriteDocument(file, w->document(), WriteModeDocument, DocumentContext{}));
        run(MainCommand::Open, file);
    }
    void run(MainCommand c, const std::string& file = {}) {
        answers.openName = file;
        w->menuAction(c)->trigger();
    }
    // Kind k's dialog opened from the object list, its field `name` typed
    // into and left with `leave` (Qt::Key_unknown: still being typed).
    void type(Kind k, const char* name, const QString& keys, Qt::Key leave = Qt::Key_unknown) {
        QWidget* d = open(k);
        ASSERT_TRUE(d);
        TypeIn(*d, name, keys, leave);
    }
    // `done` typed into kind k's field and Return, `pending` typed, then
    // Save: the document unchanged, and what its file holds (null when the
    // file cannot be read).
    std::unique_ptr<DProj> saveWhileTyping(Kind k, const char* field, const QString& done, const QString& pending) {
        type(k, field, done, Qt::Key_Return);
        type(k, field, pending);
        run(MainCommand::Save);
        EXPECT_FALSE(w->editing().Changed);
        auto d = std::make_unique<DProj>();
        std::uint8_t version = 0;
        if (ReadDocument(file, *d, version, ReadModeOpen) != ReadOk) d.reset();
        return d;
    }
};

}  // namespace

TEST(NumberTyping, WhatIsTypedIsShownAndWhatIsLeftIsKept) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    Sitting s;
    s.start();
    s.answers.counts.fill(1);
    s.win().menuAction(MainCommand::New)->trigger();
    for (const TypedRow& row : Tables | std::views::join) {
        SCOPED_TRACE(row.name);
        QWidget* d = s.open(row.kind);
        ASSERT_TRUE(d);
        for (const Step& step : row.before) {
            QWidget* c = d->findChild<QWidget*>(step.control);
            ASSERT_TRUE(c) << step.control;
            if (auto* radio = qobject_cast<TRadioGroup*>(c); radio && step.what == Step::Pick) {
                QAbstractButton* item = radio->button(step.keys.toInt());
                item->setFocus();
                QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(8, item->height() / 2));
            } else if (step.what == Step::Pick) {
                auto* combo = static_cast<QComboBox*>(c);
                combo->setFocus();
                combo->setCurrentIndex(step.keys.toInt());
                emit combo->activated(step.keys.toInt());
            } else if (step.what == Step::Click) {
                QTest::mouseClick(c, Qt::LeftButton);
                d = s.win().dialogSession().registry().dialog(step.opens != Kind(0) ? step.opens : row.dialog);
                ASSERT_TRUE(d) << step.control;
                ShowActive(*d);
            } else {
                c->setFocus();
                LineOf(c)->selectAll();
                QTest::keyClicks(c, step.keys);
                QTest::keyClick(c, Qt::Key_Return);
            }
        }
        QToolTip::hideText();
        const DSubProj& objects = s.win().document().Obj;
        PlayKeys(*d, {row.field, row.keys, row.shown, row.want, row.left, row.tip,
                      [&] { return row.stored(objects); }, row.keptEach, row.name});
    }
}

// A sphere's section plane in its modal dialog, key by key in the program:
// Z typed 0 would leave the normal (0, 0, 0), which is refused and told, and
// the field shows the record's 1 again; X typed 1 gives the normal (1, 0, 1)
// that the fields show, and the dialog opened again shows it too.
TEST(NumberTyping, SphereSectionPlane) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    Sitting s;
    s.start();
    s.answers.counts.fill(1);
    s.win().menuAction(MainCommand::New)->trigger();
    const DSf& sphere = s.win().document().Obj.Sf[1];
    ASSERT_EQ(sphere.SecNZ[1].v, 1);
    auto normal = [](QWidget& orb) {
        QStringList n;
        for (const char* e : {"Edit1", "Edit2", "Edit3"}) n << orb.findChild<QLineEdit*>(e)->text();
        return n.join(';');
    };
    auto inPlane = [&](const std::function<void(QWidget&)>& drive) {
        QWidget* d = s.open(Kind::sf);
        ASSERT_TRUE(d);
        bool ran = false;
        QTimer::singleShot(0, [&] {
            QWidget* orb = QApplication::activeModalWidget();
            ASSERT_TRUE(orb && orb->objectName() == "FormOrb");
            orb->windowHandle()->requestActivate();
            QTRY_VERIFY(orb->isActiveWindow());
            ran = true;
            drive(*orb);
            QTest::mouseClick(orb->findChild<QWidget*>("Button1"), Qt::LeftButton);
        });
        QTest::mouseClick(d->findChild<QWidget*>("ButtonSSP1"), Qt::LeftButton);
        EXPECT_TRUE(ran);
    };
    auto type = [](QWidget& orb, const char* field, const QString& keys, const QString& left) {
        auto* e = orb.findChild<QLineEdit*>(field);
        e->setFocus();
        e->selectAll();
        for (qsizetype i = 0; i < keys.size(); ++i) {
            QTest::keyClicks(e, QString(keys[i]));
            EXPECT_EQ(e->text(), keys.left(i + 1));
        }
        QTest::keyClick(e, Qt::Key_Tab);
        EXPECT_FALSE(e->hasFocus());
        EXPECT_EQ(e->text(), left);
    };
    inPlane([&](QWidget& orb) {
        type(orb, "Edit3", "0", "1");
        EXPECT_EQ(sphere.SecNZ[1].v, 1);
        EXPECT_FALSE(ShownTextTip().isEmpty()) << "the zero normal is refused and told";
        type(orb, "Edit1", "1", "1");
        EXPECT_EQ(normal(orb), "1;0;1");
    });
    EXPECT_EQ(sphere.SecNX[1].v, 1);
    EXPECT_EQ(sphere.SecNZ[1].v, 1);
    inPlane([&](QWidget& orb) { EXPECT_EQ(normal(orb), "1;0;1"); });
}

// A main command run while a number is still being typed in an object
// dialog finishes it first, as leaving the field does: Save writes what the
// field shows, Undo takes that number back, and a document opened then is
// what its file holds, with none of the other document's typing over it.
TEST(NumberTyping, AMainCommandFinishesTheNumberBeingTyped) {
    Sitting s;
    const std::string second = s.dir.path("second.pel");
    ASSERT_NO_FATAL_FAILURE(s.openNew(Kind::sf, "first.pel"));
    const DProj& doc = s.win().document();
    // Read afresh each time: an opened document comes with stores of its own.
    const auto sphere = [&]() -> const DSf& { return doc.Obj.Sf[1]; };
    // A second drawing of the sphere, smaller and higher up.
    auto other = std::make_unique<DProj>(doc);
    other->Obj.Sf[1] = *OrbWithCentre(*OrbWithRadius(sphere(), 33), false, 222);
    UpdateOrb(other->Obj.Sf[1], 0);
    ASSERT_TRUE(WriteDocument(second, *other, WriteModeDocument, DocumentContext{}));

    const auto saved = s.saveWhileTyping(Kind::sf, "SpinEditSRad", "60", "45");
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->Obj.Sf[1].Radius.v, 45) << "the file holds what the field showed";

    s.type(Kind::sf, "SpinEditSRad", "40", Qt::Key_Return);
    s.type(Kind::sf, "SpinEditSRad", "50");
    s.run(MainCommand::Undo);
    QWidget* d = s.win().dialogSession().registry().dialog(Kind::sf);
    QTest::keyClick(d->findChild<QWidget*>("SpinEditSRad"), Qt::Key_Tab);
    EXPECT_EQ(sphere().Radius.v, 40) << "leaving the field after the Undo changes nothing";
    EXPECT_TRUE(s.win().menuAction(MainCommand::Redo)->isEnabled());

    // The centre's picture Y emptied, then the other drawing opened.
    s.type(Kind::sf, "SpinEditSy", "");
    s.run(MainCommand::Open, second);
    EXPECT_EQ(sphere().Radius.v, 33);
    EXPECT_EQ(sphere().Center.ScrY.v, 222);
    EXPECT_EQ(sphere().Center.Z.v, other->Obj.Sf[1].Center.Z.v);
    EXPECT_FALSE(s.win().editing().Changed);
}

// The same for a plain number edit, a 3D system's scale typed with three
// decimals: Save writes it, and a number left half typed when the file is
// opened again stays out of the opened document.
TEST(NumberTyping, AMainCommandFinishesANumberEditOfThe3DSystem) {
    Sitting s;
    ASSERT_NO_FATAL_FAILURE(s.openNew(Kind::xz, "system.pel"));
    const auto saved = s.saveWhileTyping(Kind::xz, "EditYMas", "55,5", "100,740");
    ASSERT_TRUE(saved);
    EXPECT_DOUBLE_EQ(saved->Obj.Xz[1].Scale.v, 100.74) << "the file holds what the field showed";

    s.type(Kind::xz, "EditYMas", "7");
    s.run(MainCommand::Open, s.file);
    EXPECT_DOUBLE_EQ(s.win().document().Obj.Xz[1].Scale.v, 100.74) << "the opened document is what its file holds";
    EXPECT_FALSE(s.win().editing().Changed);
}
