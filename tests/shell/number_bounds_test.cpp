// Numbers past the range the program takes (1,000,000 pixels either way),
// typed key by key into every kind of object dialog of the real program: the
// field refuses them with a tip that names the bound, the document keeps
// every object within the range, and the field shows what the document
// holds.  A number just inside the range is taken.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
#include <functional>
#include <utility>
#include <vector>

#include "dialogs/dialog_test_util.h"
#include "dialogs/ui/dialog_registry.h"
#include "editing/editing_state.h"
#include "files/number_text.h"
#include "files/ui/text_tip.h"
#include "model/coord_limit.h"
#include "model/record_reach.h"
#include "shell/ui/dialog_session.h"
#include "support/key_rows.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// A button clicked in the dialog before typing: it opens the part `opens`
// (an axis of a coordinate system as a segment).
struct Open {
    const char* button = nullptr;
    Kind opens = Kind(0);
};

struct Row {
    const char* name;
    Kind kind;  // the object chosen in the object list
    Open part;
    const char* field;
    QString keys;
    std::function<double(const DSubProj&)> stored;
    // Refused: the document keeps what it held before the keys (the keys a
    // field took on the way are taken back; a bounded field keeps its own
    // bound, which the tip names) and the tip names the bound.  Otherwise
    // the number is taken as typed, with no tip.
    bool refused = true;
    bool keepsOld = true;
    const char* bound = "1 000 000";  // in the tip
    // Numbers typed first, each with Return.
    std::vector<std::pair<const char*, QString>> first = {};
};

double Num(const QString& s) { return s.toDouble(); }

const DSubProj& Objects(Form1& w) { return w.document().Obj; }

// Every object of the document within the range.
bool AllWithin(const DSubProj& o) {
    bool all = true;
    ForEachStore(o, [&](const auto& store) {
        for (std::size_t i = 1; i <= store.count(); ++i) all = all && WithinCoordLimit(store[i]);
    });
    return all;
}

const Row Rows[] = {
    {"a point's picture X", Kind::po, {}, "EditPx", "3000000000", [](const DSubProj& o) { return o.Po[1].ScrX.v; }},
    {"a point's 3D Z", Kind::po, {}, "EditPzz", "-3000000000", [](const DSubProj& o) { return o.Po[1].Z.v; }},
    {"a point's picture Y just inside", Kind::po, {}, "EditPy", "-999999",
     [](const DSubProj& o) { return o.Po[1].ScrY.v; }, false},
    {"a segment's end", Kind::li, {}, "EditLx2", "3000000000", [](const DSubProj& o) { return o.Li[1].P2.ScrX.v; }},
    {"a segment's length", Kind::li, {}, "EditLLen", "1000000000000",
     [](const DSubProj& o) { return o.Li[1].Length.v; }},
    {"a segment's direction", Kind::li, {}, "EditLAng", "3000000000", [](const DSubProj& o) { return o.Li[1].Angle.v; }},
    {"an ellipse's centre", Kind::ci, {}, "SpinEditCx", "2000000000",
     [](const DSubProj& o) { return o.Ci[1].Center.ScrX.v; }},
    {"an ellipse's semi-axis", Kind::ci, {}, "SpinEditCa", "3000000000", [](const DSubProj& o) { return o.Ci[1].A.v; },
     true, false, "5000"},
    {"a triangle's side", Kind::tr, {}, "EditTLen1", "1000000000000",
     [](const DSubProj& o) { return o.Tr[1].S[1].Length.v; }},
    {"a triangle's vertex", Kind::tr, {}, "SpinEditTy2", "-2000000000",
     [](const DSubProj& o) { return o.Tr[1].S[2].P1.ScrY.v; }},
    {"a tetragon's side", Kind::kv, {}, "EditKLen1", "1000000000000",
     [](const DSubProj& o) { return o.Kv[1].S[1].Length.v; }},
    {"a segment's length inside the range that carries its end past it", Kind::li, {}, "EditLLen", "999999",
     [](const DSubProj& o) { return o.Li[1].Length.v; }, true, true, "1 000 000",
     {{"EditLx1", "500000"}, {"EditLx2", "900000"}}},
    {"a tetragon's side just inside", Kind::kv, {}, "EditKLen1", "5000",
     [](const DSubProj& o) { return o.Kv[1].S[1].Length.v; }, false},
    {"a 2D system's scale", Kind::xy, {}, "EditXMasx", "3000000000", [](const DSubProj& o) { return o.Xy[1].ScaleX.v; }},
    {"a 2D system's division", Kind::xy, {}, "EditXRazy", "3000000000", [](const DSubProj& o) { return o.Xy[1].DivY.v; }},
    {"the X axis of a 2D system", Kind::xy, {"ButtonXX", Kind::li}, "EditLx2", "3000000000",
     [](const DSubProj& o) { return o.Xy[1].AxisX.P2.ScrX.v; }},
    {"a 3D system's scale", Kind::xz, {}, "EditYMas", "3000000000", [](const DSubProj& o) { return o.Xz[1].Scale.v; }},
    {"the Y axis of a 3D system", Kind::xz, {"ButtonY_Y", Kind::li}, "EditLx2", "3000000000",
     [](const DSubProj& o) { return o.Xz[1].AxisY.P2.ScrX.v; }},
    {"a sphere's radius", Kind::sf, {}, "SpinEditSRad", "3000000000", [](const DSubProj& o) { return o.Sf[1].Radius.v; }},
    {"a sphere's centre", Kind::sf, {}, "SpinEditSy", "-2000000000",
     [](const DSubProj& o) { return o.Sf[1].Center.ScrY.v; }},
    {"a cylinder's radius", Kind::zi, {}, "SpinEditZRad", "3000000000",
     [](const DSubProj& o) { return o.Zi[1].Radius.v; }},
    {"a cylinder's height", Kind::zi, {}, "SpinEditZH", "3000000000",
     [](const DSubProj& o) { return o.Zi[1].Axis.Length.v; }},
    {"a cylinder's section angle", Kind::zi, {}, "EditZSeAdd1", "3000000000",
     [](const DSubProj& o) { return o.Zi[1].SecPos1.v; }},
    {"a cone's radius", Kind::ko, {}, "SpinEditKRad", "3000000000", [](const DSubProj& o) { return o.Ko[1].Radius.v; }},
    {"a cone's height", Kind::ko, {}, "SpinEditKH", "3000000000",
     [](const DSubProj& o) { return o.Ko[1].Axis.Length.v; }},
    {"a pyramid's height", Kind::i3, {}, "EditPH", "3000000000",
     [](const DSubProj& o) { return o.I3[1].HeightLine.Length.v; }},
    {"a four-sided pyramid's height", Kind::i4, {}, "EditPH", "3000000000",
     [](const DSubProj& o) { return o.I4[1].HeightLine.Length.v; }},
    {"a prism's edge vector, third box", Kind::r3, {}, "EditPRebP3", "3000000000",
     [](const DSubProj& o) { return o.R3[1].EdgeZ.v; }},
    {"a prism's edge length", Kind::r4, {}, "EditPRebLe", "3000000000",
     [](const DSubProj& o) { return o.R4[1].EdgeLen.v; }},
    {"a prism's edge just inside", Kind::r3, {}, "EditPRebP3", "900000",
     [](const DSubProj& o) { return o.R3[1].EdgeZ.v; }, false},
};

struct Sitting : WindowSession {
    Form1& win() { return *w; }
};

// What a field shows of a stored value.
QString Shown(QWidget* field, double v) {
    if (qobject_cast<QAbstractSpinBox*>(field)) return QString::number(SaturatedRound<int>(v));
    return QString::fromStdString(NumberText(v));
}

}  // namespace

TEST(NumberBounds, EveryDialogRefusesANumberPastTheRange) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    Sitting s;
    s.start();
    s.answers.counts.fill(1);
    s.win().menuAction(MainCommand::New)->trigger();
    ASSERT_TRUE(AllWithin(Objects(s.win())));
    for (const Row& row : Rows) {
        SCOPED_TRACE(row.name);
        QWidget* d = s.open(row.kind);
        ASSERT_TRUE(d);
        if (row.part.button) {
            QTest::mouseClick(d->findChild<QWidget*>(row.part.button), Qt::LeftButton);
            d = s.win().dialogSession().registry().dialog(row.part.opens);
            ASSERT_TRUE(d) << row.part.button;
            ShowActive(*d);
        }
        auto* field = d->findChild<QWidget*>(row.field);
        ASSERT_TRUE(field) << row.field;
        QLineEdit* line = LineOf(field);
        for (const auto& [name, keys] : row.first) {
            auto* f = d->findChild<QWidget*>(name);
            ASSERT_TRUE(f) << name;
            f->setFocus();
            LineOf(f)->selectAll();
            QTest::keyClicks(f, keys);
            QTest::keyClick(f, Qt::Key_Return);
            ASSERT_TRUE(AllWithin(Objects(s.win())));
        }
        const double before = row.stored(Objects(s.win()));
        QToolTip::hideText();
        field->setFocus();
        line->selectAll();
        for (const QChar key : row.keys) QTest::keyClicks(field, QString(key));
        QTest::keyClick(field, Qt::Key_Return);
        const double after = row.stored(Objects(s.win()));
        EXPECT_TRUE(AllWithin(Objects(s.win())));
        EXPECT_EQ(line->text(), Shown(field, after));
        if (!row.refused) {
            EXPECT_EQ(after, Num(row.keys));
            EXPECT_TRUE(ShownTextTip().isEmpty()) << ShownTextTip().toStdString();
        } else {
            EXPECT_TRUE(WithinCoordLimit(after));
            if (row.keepsOld) {
                EXPECT_EQ(after, before);
            }
            EXPECT_TRUE(ShownTextTip().contains(row.bound)) << ShownTextTip().toStdString();
        }
        // The field's focus goes on; the next row types into another field.
        QTest::keyClick(field, Qt::Key_Tab);
    }
}

// The section plane of a sphere, a modal window: a distance past the range
// is refused and told, and the plane keeps its distance.
TEST(NumberBounds, SpherePlaneDistancePastTheRange) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    Sitting s;
    s.start();
    s.answers.counts.fill(1);
    s.win().menuAction(MainCommand::New)->trigger();
    const DSf& sphere = s.win().document().Obj.Sf[1];
    const double distance = sphere.SecH[1].v;
    QWidget* d = s.open(Kind::sf);
    ASSERT_TRUE(d);
    bool ran = false;
    QTimer::singleShot(0, [&] {
        QWidget* orb = QApplication::activeModalWidget();
        ASSERT_TRUE(orb && orb->objectName() == "FormOrb");
        orb->windowHandle()->requestActivate();
        QTRY_VERIFY(orb->isActiveWindow());
        ran = true;
        auto* e = orb->findChild<QLineEdit*>("Edit4");
        QToolTip::hideText();
        e->setFocus();
        e->selectAll();
        for (const QChar key : QString("3000000000")) QTest::keyClicks(e, QString(key));
        QTest::keyClick(e, Qt::Key_Tab);
        EXPECT_EQ(sphere.SecH[1].v, distance);
        EXPECT_EQ(e->text(), QString::fromStdString(NumberText(distance)));
        EXPECT_TRUE(ShownTextTip().contains("1 000 000")) << ShownTextTip().toStdString();
        QTest::mouseClick(orb->findChild<QWidget*>("Button1"), Qt::LeftButton);
    });
    QTest::mouseClick(d->findChild<QWidget*>("ButtonSSP1"), Qt::LeftButton);
    EXPECT_TRUE(ran);
}
