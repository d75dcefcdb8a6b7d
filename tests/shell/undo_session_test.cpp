// Undo in the real program: every change of the document, from any window
// and whatever the object list shows, marks it changed and is one undo step;
// a change after an Undo drops the Redo chain; Undo with a mouse button held
// loses nothing.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "dialogs/dialog_test_util.h"
#include "dialogs/ui/radio_group.h"
#include "editing/edited_document.h"
#include "editing/selection.h"
#include "editing/ui/picture_window.h"
#include "files/document.h"
#include "model/drag_rules.h"
#include "shell/ui/main_window_transform.h"
#include "transform/ui/trans_window.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// The save question is counted and answered.
struct CountingQuestions : QuietQuestions {
    int asked = 0;
    Answer reply = Answer::No;
    Answer askYesNoCancel(const std::string&) override { return ++asked, reply; }
};

// A point, a segment, an ellipse, a triangle and a 2D system, the first three
// with styles of their own, saved and opened as a user opens a drawing:
// unchanged, no entry chosen in the object list.
struct Sitting : WindowSession {
    CountingQuestions asks;
    std::string file = dir.path("drawing.pel");

    explicit Sitting(std::initializer_list<Kind> kinds = {Kind::po, Kind::li, Kind::ci, Kind::tr, Kind::xy},
                     const std::function<void(DProj&)>& shape = {}) {
        for (Kind k : kinds) asks.counts[Slot(k)] = 1;
        StartNew(*this, asks);
        DProj& d = w->document();
        PlaceAt(d.Obj.Po[1], 40, 40);  // alone near a corner, for the mouse
        d.Obj.Po[1].Typ.v = 3, d.Obj.Po[1].NameBold.v = true, d.Obj.Po[1].NameSize.v = 17;
        d.Obj.Li[1].Thick.v = 5, d.Obj.Li[1].Dash.v = 9;
        d.Obj.Ci[1].Thick.v = 4, d.Obj.Ci[1].Gap.v = 7;
        d.CurObjNo = -1, d.ActiveKind = 0, d.Zoom = 100;
        if (shape) shape(d);
        EXPECT_TRUE(WriteDocument(file, d, WriteModeDocument, DocumentContext{}));
        asks.openName = file;
        w->menuAction(MainCommand::Open)->trigger();
        // From now on the save question keeps the program running.
        asks.asked = 0;
        asks.reply = Answer::Cancel;
    }
    ~Sitting() {
        SetChanged(st(), false);
        stop();
    }
    EditingState& st() { return w->editing(); }
    const DProj& doc() { return w->document(); }
    bool on(MainCommand c) { return w->menuAction(c)->isEnabled(); }
    void undo() { w->menuAction(MainCommand::Undo)->trigger(); }
    void redo() { w->menuAction(MainCommand::Redo)->trigger(); }
    // The document as its file gives it, the curves of the redraw owed
    // stored: what an Undo must bring back.
    std::string text() {
        app->edited().ensureStored();
        return DocumentText(doc(), LiveWindows{}, {}, ',');
    }
    // Project options on page `sheet`: `drive`, then `button` (OK, or the
    // fill settings' button of the fill page).
    void options(const char* sheet, const std::function<void(QWidget&)>& drive, const char* button = "Button1") {
        InModal(
            "FormImage", [&] { w->menuAction(MainCommand::OptProj)->trigger(); },
            [&](QWidget& d) {
                d.findChild<QTabWidget*>("PageControl1")->setCurrentWidget(d.findChild<QWidget*>(sheet));
                drive(d);
            },
            button);
    }
};

}  // namespace

// A transformation with no entry in the object list, and the selection
// commands: only a change of the document marks it changed and is asked
// about at exit.
TEST(UndoSession, OnlyAChangeMarksTheDocumentWhateverTheObjectListShows) {
    Sitting s;
    ASSERT_EQ(s.w->objectCombo()->currentIndex(), -1) << "the drawing opens with no entry chosen";
    ASSERT_FALSE(s.on(MainCommand::Save));
    ASSERT_FALSE(s.st().Changed);

    PictureWindow& pic = *s.w->picture();
    for (const char* select : {"TBSelAlls", "TBSelNone", "TBSelAlls"}) {
        pic.toolButton(select)->trigger();
        EXPECT_FALSE(s.on(MainCommand::Save)) << select << " changes no document";
        EXPECT_FALSE(s.st().Changed) << select;
    }
    EXPECT_EQ(s.st().SelCount, s.doc().Obj.ObjTotal);
    pic.toolButton("TBSelNone")->trigger();

    // "Перенос" (0, 0, 10) of everything: the triangle moves, one undo step,
    // and the document counts as changed.
    const double z = s.doc().Obj.Tr[1].S[1].P1.Z.v;
    TFormTrans& t = s.w->transform().window();
    t.show();
    QTest::mouseClick(t.findChild<QWidget*>("TabButton1"), Qt::LeftButton);
    auto* all = t.findChild<QCheckBox*>("CheckBoxAlls");
    if (!all->isChecked()) ClickIndicator(all);
    ASSERT_TRUE(all->isChecked());
    const int pos = s.st().UndoPos;
    QTest::mouseClick(t.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    EXPECT_NEAR(s.doc().Obj.Tr[1].S[1].P1.Z.v, z + 10, 1e-9);
    EXPECT_EQ(s.st().UndoPos, pos + 1);
    EXPECT_TRUE(s.on(MainCommand::Save));
    s.w->menuAction(MainCommand::Exit)->trigger();
    EXPECT_EQ(s.asks.asked, 1) << "the move is asked about at exit";
    EXPECT_TRUE(s.w->isVisible()) << "and the answer Cancel keeps it";
}

// Project options, the fill settings, "apply to all" of each kind and a
// number typed: each one Undo of its own, and a change after an Undo drops
// the Redo chain, never an earlier change.
TEST(UndoSession, EveryWindowsChangeIsOneStep) {
    Sitting s;
    const DProj& d = s.doc();

    // The 2D system's scale typed, then the top margin in Project options.
    QWidget* xy = s.open(Kind::xy);
    ASSERT_TRUE(xy);
    TypeIn(*xy, "EditXMasx", "35", Qt::Key_Tab);
    ASSERT_EQ(d.Obj.Xy[1].ScaleX.v, 35);
    const int margin = d.Margin1;
    s.options("TabSheet5", [](QWidget& o) { TypeIn(o, "EditPri3", "1", Qt::Key_Tab); });
    ASSERT_EQ(d.Margin1, 10);
    s.undo();
    EXPECT_EQ(d.Margin1, margin) << "Undo takes back the margin";
    EXPECT_EQ(d.Obj.Xy[1].ScaleX.v, 35) << "and only the margin";
    EXPECT_TRUE(s.on(MainCommand::Redo));
    s.redo();
    EXPECT_EQ(d.Margin1, 10);
    s.undo();
    // A title typed in Project options after the Undo: the Redo chain goes.
    s.options("TabSheet6", [](QWidget& o) {
        auto* title = o.findChild<QLineEdit*>("EditI1");
        title->setFocus();
        QTest::keyClicks(title, "T");
    });
    EXPECT_EQ(d.Caption, "T");
    EXPECT_FALSE(s.on(MainCommand::Redo)) << "a change after an Undo drops the Redo chain";
    s.redo();
    EXPECT_EQ(std::make_tuple(d.Caption, d.Margin1, d.Obj.Xy[1].ScaleX.v), std::make_tuple(std::string("T"), margin, 35.0));

    // The fill settings: their own step, opened from Project options.
    const double border = d.Im.BorderPercent;
    WhenShown("FormImageBr", [&](QWidget& f) {
        TypeIn(f, "EditG1", "60");
        if (f.isVisible()) QTest::mouseClick(f.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    s.options("TabSheet3", [](QWidget&) {}, "Button3");
    ASSERT_EQ(d.Im.BorderPercent, 60);
    s.undo();
    EXPECT_EQ(d.Im.BorderPercent, border) << "Undo takes back the fill settings";
    EXPECT_EQ(d.Caption, "T") << "and only them";
    s.redo();
    EXPECT_EQ(d.Im.BorderPercent, 60);

    // "Apply to all" of each kind: one Undo brings back the file as it was.
    const struct {
        Kind kind;
        const char* button;
        const char* options;
    } all[] = {{Kind::po, "ButtonPAll", "FormPoOpt"}, {Kind::li, "ButtonLAlls", "FormLiOpt"},
               {Kind::ci, "ButtonCAll", "FormCiOpt"}};
    for (const auto& a : all) {
        SCOPED_TRACE(a.button);
        QWidget* dialog = s.open(a.kind);
        ASSERT_TRUE(dialog);
        const std::string before = s.text();
        const int pos = s.st().UndoPos;
        InModal(
            a.options, [&] { QTest::mouseClick(dialog->findChild<QPushButton*>(a.button), Qt::LeftButton); },
            [](QWidget&) {});
        ASSERT_NE(s.text(), before) << "the walk changed the other objects";
        EXPECT_EQ(s.st().UndoPos, pos + 1);
        s.undo();
        EXPECT_TRUE(s.text() == before) << "one Undo brings back the document before the walk";
        // Redo brings the walk back (a figure's special points take their
        // style from the figure again when a file is read).
        s.redo();
        EXPECT_FALSE(s.text() == before);
    }

    // "150" typed into the point's X: one step, and one Undo gives the old value.
    QWidget* po = s.open(Kind::po);
    ASSERT_TRUE(po);
    const double x = d.Obj.Po[1].ScrX.v;
    ASSERT_NE(x, 150);
    const int pos = s.st().UndoPos;
    TypeIn(*po, "EditPx", "150", Qt::Key_Tab);
    EXPECT_EQ(d.Obj.Po[1].ScrX.v, 150);
    EXPECT_EQ(s.st().UndoPos, pos + 1) << "one snapshot for the keys of one field";
    s.undo();
    EXPECT_EQ(d.Obj.Po[1].ScrX.v, x);
    // The same field typed again after the Undo is a change of its own.
    TypeIn(*po, "EditPx", "12", Qt::Key_Tab);
    EXPECT_EQ(d.Obj.Po[1].ScrX.v, 12);
    EXPECT_FALSE(s.on(MainCommand::Redo));
    s.undo();
    EXPECT_EQ(d.Obj.Po[1].ScrX.v, x);
    EXPECT_TRUE(s.on(MainCommand::Undo));
}

// A change that changes nothing - "apply to all" when every point has the
// style already, a name typed again as it was - neither marks the drawing
// changed nor takes an undo step; a real change after it still does both.
TEST(UndoSession, AChangeThatChangesNothingIsNoStep) {
    Sitting s;
    QWidget* po = s.open(Kind::po);
    ASSERT_TRUE(po);
    const auto applyToAll = [&] {
        InModal("FormPoOpt", [&] { QTest::mouseClick(po->findChild<QWidget*>("ButtonPAll"), Qt::LeftButton); },
                [](QWidget&) {});
        po->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(po));
    };
    applyToAll();
    ASSERT_TRUE(s.st().Changed) << "the first walk gave the other points the style";
    s.w->menuAction(MainCommand::Save)->trigger();
    const std::string before = s.text(), name = s.doc().Obj.Po[1].Name.s;
    const int pos = s.st().UndoPos;
    ASSERT_EQ(name.size(), 1u) << "retyped with one key";
    applyToAll();
    TypeIn(*po, "EditPName", QString::fromStdString(name), Qt::Key_Tab);
    EXPECT_FALSE(s.st().Changed || s.on(MainCommand::Save));
    EXPECT_EQ(s.st().UndoPos, pos) << "no undo step";
    EXPECT_TRUE(s.text() == before);
    TypeIn(*po, "EditPName", name == "Q" ? "R" : "Q", Qt::Key_Tab);
    EXPECT_TRUE(s.st().Changed && s.doc().Obj.Po[1].Name.s != name);
    EXPECT_EQ(s.st().UndoPos, pos + 1);
    s.undo();
    EXPECT_EQ(s.doc().Obj.Po[1].Name.s, name);
}

// Undo pressed while the mouse button is held in a drag waits for the
// release: the drag is undone whole, and Redo brings it back.
TEST(UndoSession, UndoWithTheButtonHeldLosesNothing) {
    Sitting s;
    // Read afresh each time: an Undo reads the document's stores anew.
    const auto px = [&] { return s.doc().Obj.Po[1].ScrX.v; };
    PictureWindow& pic = *s.w->picture();
    QWidget* box = pic.paintBox();
    const int h = s.doc().Im.Height;
    // The window place of a picture point at zoom 100 (the picture's Y runs up).
    const auto at = [h](double x, double y) { return QPoint(int(x), h - 1 - int(y)); };
    const auto send = [box](QEvent::Type type, QPoint where, Qt::MouseButtons held) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(where), box->mapToGlobal(QPointF(where)), button, held, {});
        QApplication::sendEvent(box, &e);
    };
    const QPoint start = at(px(), s.doc().Obj.Po[1].ScrY.v);
    pic.toolButton("TBSell")->trigger();
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start, Qt::NoButton);
    ASSERT_EQ(s.st().SelCount, 1) << "the point is selected";
    pic.toolButton("TBEdit")->trigger();
    const auto drag = [&](QPoint from, QPoint to, bool undoHeld) {
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        if (undoHeld) s.undo();
        send(QEvent::MouseMove, to, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::NoButton);
        QCoreApplication::processEvents();
    };
    const double x0 = px();
    drag(start, start + QPoint(30, 0), false);
    const double x1 = px();
    ASSERT_NEAR(x1, x0 + 30, 1);
    drag(start + QPoint(30, 0), start + QPoint(60, 0), true);
    EXPECT_EQ(px(), x1) << "the Undo waited for the release and took back the drag just ended";
    ASSERT_TRUE(s.on(MainCommand::Redo));
    const auto messages = s.asks.messages.size();
    s.redo();
    EXPECT_NEAR(px(), x0 + 60, 1) << "Redo brings the drag back";
    EXPECT_EQ(s.asks.messages.size(), messages) << "nothing to tell";
    s.undo();
    s.undo();
    EXPECT_EQ(px(), x0);
    s.redo();
    s.redo();
    EXPECT_NEAR(px(), x0 + 60, 1);
}

// One action of the user is one undo step: the keys typed into a formula or
// a name, a paste of several objects, a session of a modal window.  Each
// takes the steps it should, marks the drawing exactly when its file changes,
// and one Undo gives back the file as it was before it.
TEST(UndoSession, OneActionIsOneStep) {
    // The 3D system's surfaces and curve shown, so that their fields take keys.
    Sitting s({Kind::po, Kind::li, Kind::ci, Kind::tr, Kind::xy, Kind::xz, Kind::sf}, [](DProj& d) {
        for (std::size_t i = 1; i <= 4; ++i) d.Obj.Xz[1].SurfOn[i].v = true;
    });
    const auto typed = [&](Kind k, const char* field, const char* keys) {
        return [&s, k, field, keys] {
            QWidget* d = s.open(k);
            ASSERT_TRUE(d);
            TypeIn(*d, field, QString::fromUtf8(keys), Qt::Key_Tab);
        };
    };
    // Keys pressed one by one at the end of the point's X.
    const auto keysAtEnd = [&](std::initializer_list<Qt::Key> keys) {
        return [&s, keys = std::vector<Qt::Key>(keys)] {
            QWidget* d = s.open(Kind::po);
            ASSERT_TRUE(d);
            auto* f = d->findChild<QWidget*>("EditPx");
            f->setFocus();
            LineOf(f)->end(false);
            for (Qt::Key k : keys) QTest::keyClick(f, k);
        };
    };
    // `drive` runs in the modal window `name` that `button` of kind k's dialog opens.
    const auto modal = [&](Kind k, const char* button, const char* name, std::function<void(QWidget&)> drive) {
        return [&s, k, button, name, drive] {
            QWidget* d = s.open(k);
            ASSERT_TRUE(d);
            InModal(name, [&] { QTest::mouseClick(d->findChild<QWidget*>(button), Qt::LeftButton); }, drive);
        };
    };
    // The fill settings, opened from Project options: `groups` each set to
    // their other item and back, then Ok or Escape.
    const auto fillSetBack = [&s](std::initializer_list<const char*> groups, bool escape) {
        return [&s, groups, escape] {
            WhenShown("FormImageBr", [groups, escape](QWidget& f) {
                for (const char* name : groups) {
                    auto* g = f.findChild<TRadioGroup*>(name);
                    const int was = g->itemIndex();
                    ClickIndicator(g->button(1 - was));
                    ASSERT_EQ(g->itemIndex(), 1 - was);
                    ClickIndicator(g->button(was));
                }
                if (escape) QTest::keyClick(&f, Qt::Key_Escape);
                else QTest::mouseClick(f.findChild<QWidget*>("Button1"), Qt::LeftButton);
            });
            s.options("TabSheet3", [](QWidget&) {}, "Button3");
        };
    };
    const auto clicks = [](const char* box, int n) {
        return [box, n](QWidget& w) {
            for (int i = 0; i < n; ++i) ClickIndicator(w.findChild<QWidget*>(box));
        };
    };
    const struct {
        const char* action;
        std::function<void()> run;
        int steps;  // taken and marked: 1, or 0 with the file unchanged
        std::function<void()> prepare = [] {};
    } rows[] = {
        {"graph 1", typed(Kind::xy, "EditX21", "sin(x)"), 1},
        {"graph 2", typed(Kind::xy, "EditX22", "x^2+1"), 1},
        {"graph 3", typed(Kind::xy, "EditX23", "2*x"), 1},
        {"graph 4", typed(Kind::xy, "EditX24", "cos(x)"), 1},
        {"graph 5, x of the pair", typed(Kind::xy, "EditX251", "cos(x)"), 1},
        {"graph 5, y of the pair", typed(Kind::xy, "EditX252", "sin(x)"), 1},
        {"graph 6", typed(Kind::xy, "EditX26", "x^2+y^2-4"), 1},
        {"3D surface 1", typed(Kind::xz, "EditY1", "x*y"), 1},
        {"3D surface 2", typed(Kind::xz, "EditY2", "x+y"), 1},
        {"3D curve x", typed(Kind::xz, "EditY31", "sin(x)"), 1},
        {"3D curve y", typed(Kind::xz, "EditY32", "cos(x)"), 1},
        {"3D implicit surface", typed(Kind::xz, "EditY4", "x+y+z"), 1},
        {"point name", typed(Kind::po, "EditPName", "AB"), 1},
        {"point upper label", typed(Kind::po, "EditPUp", "AB"), 1},
        {"point lower label", typed(Kind::po, "EditPDown", "AB"), 1},
        {"a number typed and typed back", keysAtEnd({Qt::Key_9, Qt::Key_Backspace, Qt::Key_Tab}), 0},
        // The step taken back leaves its snapshot for the next key's step.
        {"a number typed, typed back and typed again",
         keysAtEnd({Qt::Key_9, Qt::Key_Backspace, Qt::Key_7, Qt::Key_Tab}), 1},
        {"paste of the selection",
         [&] {
             s.w->menuAction(MainCommand::Paste)->trigger();
             ASSERT_EQ(s.doc().Obj.count(Kind::tr), 2) << "pasted";
         },
         1,
         [&] {
             s.w->picture()->toolButton("TBSelAlls")->trigger();
             InModal(
                 "FormQCopy", [&] { s.w->menuAction(MainCommand::Copy)->trigger(); },
                 [](QWidget& q) { ClickIndicator(q.findChild<QRadioButton*>("RadioButton3")); });
             s.w->picture()->toolButton("TBSelNone")->trigger();
         }},
        {"fill ticked", modal(Kind::ci, "ButtonCiBrush", "FormBrush", clicks("CheckBox1", 1)), 1},
        {"fill ticked and unticked", modal(Kind::ci, "ButtonCiBrush", "FormBrush", clicks("CheckBox1", 2)), 0},
        {"3D outline ticked", modal(Kind::xz, "ButtonY10", "FormOL", clicks("CheckBox1", 1)), 1},
        {"3D outline ticked and unticked", modal(Kind::xz, "ButtonY10", "FormOL", clicks("CheckBox1", 2)), 0},
        {"graph options with the moves' animation", modal(Kind::xy, "ButtonX1", "FormXOYOpt", [](QWidget& opt) {
             ClickIndicator(opt.findChild<QWidget*>("CheckBoxTrans2"));
             InModal("FormAnimX2", [&] { QTest::mouseClick(opt.findChild<QWidget*>("ButtonX2Anim"), Qt::LeftButton); },
                     [](QWidget& anim) { TypeIn(anim, "Edit8", "x", Qt::Key_Tab); });
         }), 1},
        {"fill settings: the light's kind set and set back, Ok", fillSetBack({"RadioG1"}, false), 0},
        {"fill settings: the border angle set and set back, Escape", fillSetBack({"RadioG3"}, true), 0},
        {"fill settings: the light's kind and the border angle set back, Ok", fillSetBack({"RadioG1", "RadioG3"}, false), 0},
        {"a sphere's section plane: two numbers and Ok", modal(Kind::sf, "ButtonSSP1", "FormOrb", [](QWidget& orb) {
             TypeIn(orb, "Edit4", "20", Qt::Key_Tab);
             TypeIn(orb, "Edit1", "3", Qt::Key_Tab);
         }), 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.action);
        row.prepare();
        s.w->menuAction(MainCommand::Save)->trigger();
        ASSERT_FALSE(s.st().Changed);
        const std::string before = s.text();
        const int pos = s.st().UndoPos;
        row.run();
        const bool changed = s.text() != before;
        EXPECT_EQ(changed, row.steps == 1) << "the file text";
        EXPECT_EQ(s.st().UndoPos - pos, row.steps) << "undo steps";
        EXPECT_EQ(s.st().Changed, changed) << "the mark";
        if (!changed) continue;
        s.undo();
        EXPECT_TRUE(s.text() == before) << "one Undo gives back the file";
    }
}

// Changes outside the current object's own block: the animation settings,
// and an edit drag of selected objects the current one is not among.  Each
// is one undo step, marks the drawing changed, and one Undo gives back the
// file as it was.
TEST(UndoSession, ChangesBesideTheCurrentObjectAreOneStepEach) {
    const auto animation = [](const char* field, const char* keys) {
        return [=](Sitting& s) {
            InModal(
                "FormAnim", [&] { s.w->toolAction(MainCommand::Anim)->trigger(); },
                [&](QWidget& a) { TypeIn(a, field, keys, Qt::Key_Tab); }, "Button2");
        };
    };
    const auto dragSelected = [](Sitting& s) {
        const DProj& d = s.doc();
        const int h = d.Im.Height;
        const auto at = [h](double x, double y) { return QPoint(int(x), h - 1 - int(y)); };
        const DCircle& ci = d.Obj.Ci[1];
        ASSERT_TRUE(SelectAt(s.st(), int(d.Obj.Po[1].ScrX.v), int(d.Obj.Po[1].ScrY.v), 0, false));
        ASSERT_TRUE(SelectAt(s.st(), int(ci.Center.ScrX.v - ci.A.v), int(ci.Center.ScrY.v), 1, false));
        ASSERT_GE(s.st().SelCount, 2);
        ASSERT_FALSE(IsSelected(s.st(), Kind::tr, 1));
        PictureWindow& pic = *s.w->picture();
        pic.toolButton("TBEdit")->trigger();
        QWidget* box = pic.paintBox();
        const QPoint from = at(d.Obj.Po[1].ScrX.v, d.Obj.Po[1].ScrY.v), to = from + QPoint(25, 15);
        QTest::mousePress(box, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), box->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(box, &move);
        QTest::mouseRelease(box, Qt::LeftButton, {}, to);
    };
    const struct {
        const char* what;
        std::function<void(Sitting&)> act;
    } rows[] = {
        {"animation delay 250", animation("SpinEdit1", "250")},
        {"animation step 0,5", animation("Edit1", "0,5")},
        {"animation frames 7", animation("SpinEdit2", "7")},
        {"edit drag of a point and an ellipse, the triangle current", dragSelected},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Sitting s;
        ASSERT_TRUE(s.open(Kind::tr)) << "an object current whose block the change leaves alone";
        const std::string before = s.text();
        const int pos = s.st().UndoPos;
        ASSERT_FALSE(s.st().Changed);
        row.act(s);
        QCoreApplication::processEvents();
        ASSERT_TRUE(s.text() != before) << "the action changed the file";
        EXPECT_EQ(s.st().UndoPos, pos + 1) << "one undo step";
        EXPECT_TRUE(s.st().Changed && s.on(MainCommand::Save)) << "the drawing marked changed";
        s.undo();
        EXPECT_TRUE(s.text() == before) << "one Undo gives back the file as it was";
        s.w->menuAction(MainCommand::Exit)->trigger();
        EXPECT_EQ(s.asks.asked, 1) << "Exit asks about the undone change too";
    }
}
