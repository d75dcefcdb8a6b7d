#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <cmath>

#include "dialog_test_util.h"
#include "dialogs/apply_to_all.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/point_dialog.h"
#include "dialogs/ui/spin_edit.h"
#include "editing_fake.h"
#include "files/held_text.h"
#include "files/ui/text_tip.h"
#include "model/defaults.h"
#include "model/geometry.h"
#include "platform/code_page.h"
#include "platform/symbol_encoding.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

DPoint MakePoint(double x, double y, double z) {
    DPoint p;
    LoadDefaultPoint(p, 1, DefaultsSource{});
    p.X.v = x, p.Y.v = y, p.Z.v = z;
    ProjectPoint(p);
    return p;
}

struct PointSession {
    FakeEditing ed;
    TFormPo* dlg = nullptr;
    explicit PointSession(const DPoint& p) {
        ed.doc->Obj.Po.add(p);
        ed.select(Kind::po, 1);
        ed.work.CurPoint = p;
        dlg = static_cast<TFormPo*>(ed.reg.open(Kind::po));
        ed.reg.Fill(Kind::po, p);
        ShowActive(*dlg);
    }
    const DPoint& stored() const { return ed.doc->Obj.Po[1]; }
};

}  // namespace

// A session in the point dialog, typed as a user types: a fill stores and
// commits nothing; each committed keystroke is one undo step; picture X moves
// the 3D Y by the same amount and nothing else; the key filters; a text that
// is not a number keeps the record; the ellipse centre carries its axes.
TEST(PointDialog, TypedSession) {
    PointSession s(MakePoint(5, 0, 0));
    const DPoint before = s.stored();
    EXPECT_EQ(s.ed.undoSteps, 0);

    // A refill with another record, as selecting another object does.
    DPoint other = before;
    other.ID.s = "Other";
    other.Radius.v = 7;
    s.ed.reg.Fill(other);  // the kind from the record
    EXPECT_EQ(s.ed.undoSteps, 0);
    EXPECT_FALSE(s.ed.changed);
    EXPECT_EQ(s.ed.work.CurPoint.ID.s, before.ID.s);
    s.ed.reg.Fill(Kind::po, before);

    auto* px = Find<TNumEdit>(*s.dlg, "EditPx");
    auto* py = Find<TNumEdit>(*s.dlg, "EditPy");
    const double scrY = s.stored().ScrY.v, y0 = s.stored().Y.v;
    const double scrX0 = s.stored().ScrX.v;
    TypeInto(px, QString::number(scrX0 + 10));
    const int keys = QString::number(scrX0 + 10).size();
    EXPECT_EQ(s.ed.undoSteps, keys);
    EXPECT_DOUBLE_EQ(s.stored().ScrX.v, scrX0 + 10);
    EXPECT_DOUBLE_EQ(s.stored().Y.v, y0 + 10);
    EXPECT_DOUBLE_EQ(s.stored().ScrY.v, scrY);
    EXPECT_DOUBLE_EQ(s.stored().X.v, 5);
    EXPECT_DOUBLE_EQ(s.stored().Z.v, 0);

    // Picture coordinates hold whole numbers: a lone comma stores nothing,
    // "12,5" stores 12; an emptied edit stays empty while it is typed in and
    // stores 0 when it is left.
    s.ed.undoSteps = 0;
    TypeInto(py, ",");
    EXPECT_DOUBLE_EQ(s.stored().ScrY.v, scrY);
    TypeInto(py, "12,5");
    EXPECT_DOUBLE_EQ(s.stored().ScrY.v, 12);
    py->selectAll();
    QTest::keyClick(py, Qt::Key_Backspace);
    EXPECT_EQ(py->text(), "");
    EXPECT_DOUBLE_EQ(s.stored().ScrY.v, 12);
    QTest::keyClick(py, Qt::Key_Tab);
    EXPECT_EQ(py->text(), "0");
    EXPECT_DOUBLE_EQ(s.stored().ScrY.v, 0);

    // 3D X takes the comma and is kept to 0.001 when it is left; the picture
    // follows.
    auto* pxx = Find<TNumEdit>(*s.dlg, "EditPxx");
    TypeInto(pxx, "1,23456");
    EXPECT_EQ(pxx->text(), "1,23456");
    QTest::keyClick(pxx, Qt::Key_Tab);
    EXPECT_DOUBLE_EQ(s.stored().X.v, 1.235);
    EXPECT_EQ(pxx->text(), "1,235");
    TypeInto(pxx, "2,5,");
    EXPECT_EQ(pxx->text(), "2,5");
    for (const DPoint* p : {&s.stored(), static_cast<const DPoint*>(&s.ed.work.CurPoint)})
        for (double v : {p->X.v, p->Y.v, p->Z.v, p->ScrX.v, p->ScrY.v}) EXPECT_TRUE(std::isfinite(v));

    // Spin edits: an emptied radius holds its minimum; range 1..20.
    auto* rad = Find<TSpinEdit>(*s.dlg, "SpinEditPRad");
    TypeInto(rad, "25");
    EXPECT_LE(s.stored().Radius.v, 20);
    EXPECT_GE(s.stored().Radius.v, 1);

    // The centre of an ellipse (role 3): its axis ends move with it.
    s.ed.roleSlot(Kind::po) = 3;
    DCircle& c = s.ed.work.CurCircle;
    const DPoint& p = s.ed.work.CurPoint;
    c.Q1 = {p.X.v + 1, p.Y.v + 2, p.Z.v + 3};
    c.Q2 = {p.X.v - 4, p.Y.v, p.Z.v + 5};
    TypeInto(px, "40");
    EXPECT_DOUBLE_EQ(c.Q1[1] - p.Y.v, 2);
    EXPECT_DOUBLE_EQ(c.Q2[2] - p.Z.v, 5);
    EXPECT_DOUBLE_EQ(c.Q1[0] - p.X.v, 1);
}

// The buttons by role, entry kind and creation number.
TEST(PointDialog, EnableTable) {
    struct Row {
        const char* entry;
        int role, number;
        bool anim, save, load;
    };
    const Row rows[] = {
        {"po", 0, 0, true, true, true},   {"po", 0, 3, true, true, false}, {"li", 1, 0, true, false, false},
        {"li", 8, 0, false, false, false}, {"li", 9, 0, false, false, false}, {"ci", 3, 0, true, false, false},
    };
    PointSession s(MakePoint(0, 0, 0));
    for (const Row& r : rows) {
        s.ed.current.code[0] = r.entry[0], s.ed.current.code[1] = r.entry[1];
        s.ed.roleSlot(Kind::po) = static_cast<std::uint8_t>(r.role);
        DPoint p = s.ed.work.CurPoint;
        p.Number = r.number;
        s.ed.reg.Fill(Kind::po, p);
        SCOPED_TRACE(std::string(r.entry) + " role " + std::to_string(r.role));
        EXPECT_EQ(Find<QPushButton>(*s.dlg, "ButtonPoAnim")->isEnabled(), r.anim);
        EXPECT_EQ(Find<QPushButton>(*s.dlg, "ButtonPSave")->isEnabled(), r.save);
        EXPECT_EQ(Find<QPushButton>(*s.dlg, "ButtonPLoad")->isEnabled(), r.load);
    }
    EXPECT_EQ(s.ed.undoSteps, 0);
}

// Default sets: Load of a missing file reports the reader and changes
// nothing; Save then Load brings the saved style back as one commit; "Все
// точки" reaches the points inside other objects and marks the document
// changed; the font-size hint in points converts inches to centimetres.
TEST(PointDialog, DefaultSetAllPointsAndHints) {
    PointSession s(MakePoint(0, 10, 10));
    auto* load = Find<QPushButton>(*s.dlg, "ButtonPLoad");
    QTest::mouseClick(load, Qt::LeftButton);
    ASSERT_EQ(s.ed.messages.size(), 1u);
    EXPECT_EQ(s.ed.undoSteps, 0);

    QTest::mouseClick(Find<QPushButton>(*s.dlg, "ButtonPSave"), Qt::LeftButton);
    s.ed.doc->Obj.Po[1].Radius.v = 9;
    s.ed.work.CurPoint.Radius.v = 9;
    QTest::mouseClick(load, Qt::LeftButton);
    EXPECT_EQ(s.ed.messages.size(), 1u);
    EXPECT_EQ(s.ed.undoSteps, 1);
    EXPECT_EQ(s.stored().Radius.v, MakePoint(0, 0, 0).Radius.v);

    DLine line;
    LoadDefaultLine(line, 1, DefaultsSource{});
    s.ed.doc->Obj.Li.add(line);
    s.ed.work.CurPoint.Radius.v = 17;
    s.ed.changed = false;
    s.ed.undoSteps = 0;
    s.dlg->applyToAllPoints(true, false, false, false);
    EXPECT_EQ(s.ed.doc->Obj.Li[1].P2.Radius.v, 17);
    EXPECT_EQ(s.ed.doc->Obj.Li[1].P4.Radius.v, 17);
    EXPECT_EQ(s.ed.work.CurLine.P1.Radius.v, 17);
    EXPECT_TRUE(s.ed.changed);
    EXPECT_EQ(s.ed.undoSteps, 1);

    s.ed.doc->Im.FontUnit = 2;
    s.ed.work.CurPoint.NameSize.v = 72;
    s.dlg->updateHints();
    EXPECT_TRUE(Find<TSpinEdit>(*s.dlg, "SpinEditPSize1")->toolTip().contains(QString::fromUtf8("2,54 см")))
        << Find<TSpinEdit>(*s.dlg, "SpinEditPSize1")->toolTip().toStdString();
}

// The label texts show what the record keeps: an ID from a file shown whole, cut (and told) only when edited; a
// Symbol name shown by its signs, each code back through copy, paste, undo and redo; a sign the font does not show
// refused; a refused key keeps the selection for the next key; the tip covers no other control.
TEST(PointDialog, TextsShownAsKept) {
    DPoint p = MakePoint(0, 0, 0);
    p.ID.s = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    p.NameFont.s = "Symbol";
    p.IndexFont.s = "Arial";
    p.Upper.s = "A B C D E F";
    std::u32string every;  // every code the Symbol font shows
    for (int b = 0x20; b <= 0xFE; ++b)
        if (SymbolCodeChar(b)) every += Cp1251Char(static_cast<unsigned char>(b));
    p.Name.s = QString::fromStdU32String(every).toStdString();
    PointSession s(p);
    auto type = [](QLineEdit* e, const char* keys) {  // keyClicks sends Latin-1 only
        for (const QChar c : QString::fromUtf8(keys)) QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, c, {});
    };
    auto* id = Find<QLineEdit>(*s.dlg, "EditPID");
    EXPECT_EQ(id->text().toStdString(), p.ID.s);
    id->setFocus();
    id->end(false);
    type(id, "!");
    EXPECT_EQ(std::make_tuple(id->text().toStdString(), s.stored().ID.s, ShownTextTip().toStdString()),
              std::make_tuple("ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMNO", "Текст обрезан до 15 знаков."));

    auto* name = Find<QLineEdit>(*s.dlg, "EditPName");
    EXPECT_TRUE(name->text().contains(QString::fromUtf8("αβχ")) && name->text().contains(QString::fromUtf8("♣♦♥♠")));
    name->setFocus();
    // Backspace and Delete take a sign with the mark of its form.
    const QString shown = name->text();
    const qsizetype mark = shown.indexOf(QChar(0xFE0E));
    ASSERT_GT(mark, 0);
    const QString without = shown.left(mark - 1) + shown.mid(mark + 1);
    for (const auto& [key, at] : {std::pair{Qt::Key_Backspace, mark + 1}, std::pair{Qt::Key_Delete, mark - 1}}) {
        name->setCursorPosition(static_cast<int>(at));
        QTest::keyClick(name, key);
        EXPECT_EQ(std::make_pair(name->text(), s.stored().Name.s),
                  std::make_pair(without, HoldText(without.toStdString(), true).text));
        QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(s.stored().Name.s, p.Name.s);
    }
    name->selectAll();
    QTest::keyClick(name, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(name, Qt::Key_Delete);
    QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(s.stored().Name.s, p.Name.s) << "pasted back";
    for (auto [key, text] : std::vector<std::pair<Qt::Key, std::string>>{
             {Qt::Key_Z, ""}, {Qt::Key_Z, p.Name.s}, {Qt::Key_Y, ""}, {Qt::Key_Y, p.Name.s}}) {
        QTest::keyClick(name, key, Qt::ControlModifier);
        EXPECT_EQ(s.stored().Name.s, text) << "undone or redone";
    }
    name->selectAll();
    type(name, "§¶Д");
    EXPECT_EQ(std::make_tuple(s.stored().Name.s, name->selectedText() == name->text(), ShownTextTip().contains("«Д»")),
              std::make_tuple(p.Name.s, true, true));
    name->selectAll();
    type(name, "“”‘’–—рЂя");  // characters of the code page at codes the font shows nothing at
    EXPECT_EQ(std::make_tuple(s.stored().Name.s, name->selectedText() == name->text(), ShownTextTip().contains("«я»")),
              std::make_tuple(p.Name.s, true, true));
    type(name, "bµ");
    EXPECT_EQ(std::make_tuple(s.stored().Name.s, name->text().toStdString()), std::make_tuple("bm", "βμ"));

    // The refused Ü leaves the selection for "bungen"; its tip covers no control, and a click below goes there.
    auto* up = Find<QLineEdit>(*s.dlg, "EditPUp");
    up->setFocus();
    up->selectAll();
    type(up, "Übungen");
    EXPECT_EQ(std::make_tuple(s.stored().Upper.s, ShownTextTip().contains("«Ü»")),
              std::make_tuple("bungen", true));
    for (QWidget* w : s.dlg->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                             qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w);
        if (control && w->isVisible()) {
            EXPECT_FALSE(TextTipPlace().intersects(QRect(w->mapToGlobal(QPoint(0, 0)), w->size())))
                << w->objectName().toStdString();
        }
    }
    QWidget* below = Find<QWidget>(*s.dlg, "SpinEditPSize1");
    QTest::mouseClick(below, Qt::LeftButton);
    EXPECT_TRUE(below->hasFocus()) << QApplication::focusWidget()->objectName().toStdString();
    EXPECT_TRUE(ShownTextTip().isEmpty());
}

namespace pelmar::test {
namespace {

// The walks reach the parts of solids; a solid's circle centres are not visited.
TEST(ApplyToAll, WalksReachTheSolidsParts) {
    auto doc = NewDocument();
    WorkingCopies work;
    DSubProj& d = doc->Obj;
    d.Zi.add({}), d.Ko.add({}), d.I4.add({});
    LoadDefaultCylinder(d.Zi[1], 1, {}), LoadDefaultCone(d.Ko[1], 1, {}), LoadDefaultPyramid4(d.I4[1], 1, {});
    LoadDefaultPrism4(work.CurPr4, 1, {});
    DPoint p = d.Zi[1].Axis.P1;
    p.Radius.v = d.Ko[1].Base.Center.Radius.v + 17;
    ApplyToAllPoints(d, work, p, PointCategories{true, false, false, false});
    for (const DPoint* q : std::initializer_list<const DPoint*>{&d.Zi[1].Sec[2].S[3].P1, &d.Ko[1].Sec[4].Lines[5].P3,
                                                               &d.I4[1].Base.Center, &work.CurPr4.Side[4].S[1].P1})
        EXPECT_EQ(q->Radius.v, p.Radius.v);
    EXPECT_NE(d.Ko[1].Base.Center.Radius.v, p.Radius.v);
    DLine l = d.Ko[1].Axis;
    l.Thick.v = 9;
    ApplyToAllLines(d, work, l, LineCategories{true, false, false});
    // A face's sides take the pyramid's thickness again; its height line keeps its own.
    EXPECT_EQ(d.I4[1].HeightLine.Thick.v + work.CurPr4.Side[1].Diag[2].Thick.v, 18);
    EXPECT_NE(d.I4[1].Face[4].S[2].Thick.v, 9);
    DCircle c = d.Zi[1].Base[1];
    c.Thick.v = 5;
    ApplyToAllEllipses(d, work, c, EllipseCategories{true, false});
    // A base and a sphere's section take their solid's thickness again.
    EXPECT_EQ(d.Zi[1].Sec[2].Circ[1].Thick.v + d.Ko[1].Sec[1].Circ[2].Thick.v + d.I4[1].Base.Circ[2].Thick.v, 15);
    EXPECT_EQ(d.Zi[1].Base[2].Thick.v + d.Ko[1].OutSphere.Sec[1].Thick.v,
              d.Zi[1].Thick.v + d.Ko[1].OutSphere.Thick.v);
}

}  // namespace
}  // namespace pelmar::test
