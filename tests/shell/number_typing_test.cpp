// Numbers typed into the object dialogs one key at a time, as a user types
// them, in the real program: what the field shows after each key, what the
// document keeps once the field is left, and whether a tip says why that is
// not what was typed.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolTip>
#include <cmath>
#include <functional>
#include <ranges>
#include <span>
#include <string>
#include <vector>

#include "dialogs/dialog_test_util.h"
#include "dialogs/ui/dialog_registry.h"
#include "dialogs/ui/radio_group.h"
#include "editing/editing_state.h"
#include "files/ui/text_tip.h"
#include "shell/ui/dialog_session.h"
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
};
Step Pick(const char* combo, int item) { return {combo, QString::number(item), Step::Pick}; }
[[maybe_unused]] Step Click(const char* button) { return {button, {}, Step::Click}; }

struct Row {
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
};

QString TextOf(QWidget* field) {
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) return spin->findChild<QLineEdit*>()->text();
    return static_cast<QLineEdit*>(field)->text();
}

void SelectAll(QWidget* field) {
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) spin->selectAll();
    else static_cast<QLineEdit*>(field)->selectAll();
}

// The ellipse: arcs, the tilt of a circle, the order of the semi-axes.
const Row EllipseRows[] = {
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

// The triangle and the tetragon: a vertex moves parallel to the picture as
// its coordinate is typed; where the figure's type moves other vertices with
// it, or a typed angle, side or height would lay the figure flat, the number
// waits for the whole of it.
const Row FigureRows[] = {
    {"a vertex typed with a fraction", Kind::tr, {}, "SpinEditTx1", "\b100,75",
     {"", "1", "10", "100", "100,", "100,7", "100,75"}, [](const DSubProj& o) { return o.Tr[1].S[1].P1.ScrX.v; }, 101,
     "101", true},
    {"a vertex emptied and left", Kind::tr, {}, "SpinEditTy3", "\b", {""},
     [](const DSubProj& o) { return o.Tr[1].S[3].P1.ScrY.v; }, 0, "0", false},
    {"a vertex of an isosceles triangle typed through a flat one", Kind::tr,
     {Pick("RadioGroupTTyp", 1), {"SpinEditTx1", "80"}, {"SpinEditTy1", "60"}, {"EditTH", "180"}}, "SpinEditTy1",
     "\b-3000", {"", "-", "-3", "-30", "-300", "-3000"},
     [](const DSubProj& o) { return o.Tr[1].S[1].P1.ScrY.v * 1000 + o.Tr[1].Height.v; }, -2999820, "-3000", true},
    {"an isosceles triangle's height of 0", Kind::tr, {}, "EditTH", "\b0", {"", "0"},
     [](const DSubProj& o) { return o.Tr[1].Height.v; }, 180, "180", true},
    {"a vertex of a square", Kind::kv, {Pick("RadioGroupKTyp", 0)}, "SpinEditKx1", "\b-20", {"", "-", "-2", "-20"},
     [](const DSubProj& o) { return o.Kv[1].S[1].P1.ScrX.v; }, -20, "-20", true},
    {"a parallelogram's height of 0", Kind::kv, {Pick("RadioGroupKTyp", 3), {"EditKH", "100"}}, "EditKH", "0", {"0"},
     [](const DSubProj& o) { return o.Kv[1].Height.v; }, 100, "100", true},
};

// Every table, played in one sitting on a new document with an object of
// each kind.
const std::span<const Row> Tables[] = {EllipseRows, FigureRows};

struct Sitting : WindowSession {
    Form1& win() { return *w; }
    QWidget* open(Kind k) {
        EditingState& st = w->editing();
        for (int i = 0; i < w->objectCombo()->count(); ++i)
            if (std::string(st.ObjList[static_cast<std::size_t>(i)].code, 2) == InfoOf(k).code) {
                w->objectCombo()->setCurrentIndex(i);
                emit w->objectCombo()->activated(i);
                break;
            }
        QWidget* d = w->dialogSession().registry().dialog(k);
        if (d) ShowActive(*d);
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
    for (const Row& row : Tables | std::views::join) {
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
                d = s.win().dialogSession().registry().dialog(row.dialog);
                ASSERT_TRUE(d) << step.control;
                ShowActive(*d);
            } else {
                c->setFocus();
                SelectAll(c);
                QTest::keyClicks(c, step.keys);
                QTest::keyClick(c, Qt::Key_Return);
            }
        }
        QWidget* field = d->findChild<QWidget*>(row.field);
        ASSERT_TRUE(field) << row.field;
        ASSERT_TRUE(field->isEnabled()) << row.field;
        QToolTip::hideText();
        field->setFocus();
        SelectAll(field);
        for (qsizetype i = 0; i < row.keys.size(); ++i) {
            const QChar key = row.keys[i];
            if (key == u'\b') QTest::keyClick(field, Qt::Key_Backspace);
            else QTest::keyClicks(field, QString(key));
            EXPECT_EQ(TextOf(field), row.shown.value(i)) << "after key " << i + 1;
        }
        QTest::keyClick(field, Qt::Key_Tab);
        EXPECT_FALSE(field->hasFocus());
        EXPECT_NEAR(row.stored(s.win().document().Obj), row.want, 1e-6 * std::max(1.0, std::abs(row.want)));
        EXPECT_EQ(TextOf(field), row.left);
        EXPECT_EQ(!ShownTextTip().isEmpty(), row.tip) << ShownTextTip().toStdString();
    }
}
