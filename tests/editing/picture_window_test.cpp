// The picture window with its mouse tools, driven as a user drives it: real
// widgets, mouse events sent to the paint box, and after every step the
// document, the undo position and the status bar checked.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest/QTest>
#include <cmath>

#include "drawing/host_roles.h"
#include "editing/commit.h"
#include "editing/link_choice.h"
#include "editing/new_objects.h"
#include "editing/selection.h"
#include "editing/ui/link_dialog.h"
#include "editing/ui/picture_window.h"
#include "editing/undo_store.h"
#include "files/document.h"
#include "model/update.h"
#include "editing_fixture.h"

namespace pelmar::test {
namespace {

struct Session {
    Editing ed;
    DrawingState drawing;
    QuietWindow quiet;
    PictureWindow win{*ed, drawing, quiet, quiet};
    Qt::MouseButtons held;
    int deletes = 0;

    Session() {
        QObject::connect(&win, &PictureWindow::deleteRequested, [this] { ++deletes; });
        QObject::connect(ed.edited.get(), &EditedDocument::redrawNeeded, &win, [this] { win.redraw(false); });
        QObject::connect(ed.edited.get(), &EditedDocument::dragChanged, &win, [this](bool on) { drawing.NoRedraw = on; });
        win.resize(900, 700);
        win.SetDrawWindowMode(1);
        win.show();
        win.redraw();
    }
    void tool(const char* name) { win.toolButton(name)->trigger(); }
    void send(QEvent::Type type, Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers mods = {}) {
        if (type == QEvent::MouseButtonPress) held |= button;
        if (type == QEvent::MouseButtonRelease) held &= ~Qt::MouseButtons(button);
        QMouseEvent e(type, QPointF(at), win.paintBox()->mapToGlobal(QPointF(at)), button, held, mods);
        QApplication::sendEvent(win.paintBox(), &e);
    }
    void press(QPoint at, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {}) {
        send(QEvent::MouseButtonPress, b, at, m);
    }
    void move(QPoint at) { send(QEvent::MouseMove, Qt::NoButton, at); }
    void release(QPoint at, Qt::MouseButton b = Qt::LeftButton) { send(QEvent::MouseButtonRelease, b, at); }
    void click(QPoint at, Qt::KeyboardModifiers m = {}) {
        press(at, Qt::LeftButton, m);
        release(at);
    }
    DProj& doc() { return *ed.doc; }
    int undoPos() { return ed->UndoPos; }
};

// Picture position of a vertex (end 1 of side i).
QPoint Vertex(const DTri& t, int i) {
    const DPoint& p = t.S[static_cast<std::size_t>(i)].P1;
    return {static_cast<int>(p.ScrX.v), static_cast<int>(p.ScrY.v)};
}

TEST(PictureCoordinates, ZoomAndFlip) {
    struct Row {
        int window, zoom, picture;
    } rows[] = {{0, 100, 0}, {3, 200, 2}, {5, 200, 2}, {7, 200, 4}, {10, 50, 20}, {1, 300, 0}, {2, 300, 1}};
    for (const Row& r : rows) EXPECT_EQ(PictureCoord(r.window, r.zoom), r.picture) << r.window << " at " << r.zoom;
    EXPECT_EQ(ModelY(0, 100, 400), 399);
    EXPECT_EQ(ModelY(399, 100, 400), 0);
    EXPECT_EQ(ModelY(1, 200, 400), 399);  // 400 - 1 = 399
    EXPECT_EQ(WindowCoord(150, 200), 300);
    EXPECT_EQ(GeneralNumber(111.803, ','), "111,803");
    EXPECT_EQ(GeneralNumber(-45, ','), "-45");
}

TEST(PictureWindowSession, DrawSelectDragRulerAndUndo) {
    Session s;
    const int H = s.doc().Im.Height;
    EXPECT_TRUE(s.win.toolButton("TBAdds")->isChecked());
    EXPECT_TRUE(s.win.toolButton("TBPo")->isEnabled());

    // A segment: press, drag, release; the status bar follows the drag.
    s.tool("TBLi");
    int undo = s.undoPos();
    s.press({100, 100});
    EXPECT_EQ(s.win.statusText(4), "x,y=100," + std::to_string(H - 101));
    s.move({150, 120});
    s.move({200, 150});
    EXPECT_EQ(s.win.statusText(0), "X=200");
    EXPECT_EQ(s.win.statusText(5), "Длина=111,803");
    EXPECT_EQ(s.win.statusText(6), "Угол=-26,565");
    s.release({200, 150});
    ASSERT_EQ(s.doc().Obj.Li.count(), 1);
    const DLine& seg = s.doc().Obj.Li[1];
    EXPECT_EQ(seg.P1.ScrX.v, 100);
    EXPECT_EQ(seg.P1.ScrY.v, H - 101);
    EXPECT_EQ(seg.P2.Y.v, 200);
    EXPECT_EQ(seg.P2.Z.v, H - 151);
    EXPECT_EQ(s.undoPos(), undo + 1) << "one drawn object, one undo step";
    EXPECT_EQ(s.win.statusText(5), "");
    EXPECT_EQ(s.ed->UndoHeld, 0);
    EXPECT_FALSE(s.drawing.NoRedraw);

    // A triangle: left press on vertex 1, right press fixes vertex 2, the
    // right button let go while the left one still draws, left release on vertex 3.
    s.tool("TBTr");
    undo = s.undoPos();
    s.press({300, 300});
    s.move({350, 300});
    s.move({400, 300});
    s.press({400, 300}, Qt::RightButton);
    s.move({380, 250});
    s.release({380, 250}, Qt::RightButton);
    EXPECT_GT(s.ed->UndoHeld, 0) << "the left button still holds the drag";
    s.move({370, 220});
    s.move({360, 210});
    s.release({360, 210});
    ASSERT_EQ(s.doc().Obj.Tr.count(), 1);
    const DTri& tri = s.doc().Obj.Tr[1];
    EXPECT_EQ(Vertex(tri, 1), QPoint(300, H - 301));
    EXPECT_EQ(Vertex(tri, 2), QPoint(400, H - 301));
    EXPECT_EQ(Vertex(tri, 3), QPoint(360, H - 211));
    EXPECT_EQ(s.undoPos(), undo + 1) << "the right release must not open the gate mid-drag";
    EXPECT_EQ(s.ed->Copies.CurTri.S[3].P2.ScrX.v, 300) << "vertex 1 is also the end of side 3";

    // A click without movement: a zero-length segment, every value finite.
    s.tool("TBLi");
    s.click({500, 500});
    ASSERT_EQ(s.doc().Obj.Li.count(), 2);
    const DLine& dot = s.doc().Obj.Li[2];
    EXPECT_EQ(dot.P1.ScrX.v, dot.P2.ScrX.v);
    EXPECT_TRUE(std::isfinite(dot.Length.v) && std::isfinite(dot.Angle.v));

    // A circle (the default has the circle flag): a = b = the straight distance.
    s.tool("TBCi");
    s.press({600, 200});
    s.move({630, 240});
    s.release({630, 240});
    ASSERT_EQ(s.doc().Obj.Ci.count(), 1);
    EXPECT_DOUBLE_EQ(s.doc().Obj.Ci[1].A.v, 50);
    EXPECT_DOUBLE_EQ(s.doc().Obj.Ci[1].B.v, 50);

    // Select: a click takes the segment, Shift adds the triangle, Shift on
    // the segment again drops it, a click on nothing clears all.
    s.tool("TBSell");
    EXPECT_FALSE(s.win.toolButton("TBLi")->isEnabled()) << "kind buttons only in draw mode";
    undo = s.undoPos();
    s.click({150, 125});
    EXPECT_EQ(s.ed->SelCount, 1);
    EXPECT_TRUE(IsSelected(*s.ed, Kind::li, 1));
    s.click({350, 300}, Qt::ShiftModifier);
    EXPECT_EQ(s.ed->SelCount, 2);
    EXPECT_TRUE(IsSelected(*s.ed, Kind::tr, 1));
    s.click({150, 125}, Qt::ShiftModifier);
    EXPECT_EQ(s.ed->SelCount, 1);
    EXPECT_FALSE(IsSelected(*s.ed, Kind::li, 1));
    EXPECT_EQ(s.undoPos(), undo) << "selecting writes no undo step";

    // Edit: drag vertex 2 of the selected triangle; one undo step, taken
    // before the first change, so that Undo brings back the vertex as it was.
    s.tool("TBEdit");
    undo = s.undoPos();
    s.press({400, 300});
    EXPECT_EQ(s.ed->DragHandle, 25);
    s.move({420, 320});
    s.move({440, 340});
    s.release({440, 340});
    EXPECT_EQ(Vertex(s.doc().Obj.Tr[1], 2), QPoint(440, H - 341));
    EXPECT_EQ(Vertex(s.doc().Obj.Tr[1], 1), QPoint(300, H - 301));
    EXPECT_EQ(s.undoPos(), undo + 1);
    ASSERT_TRUE(UndoStep(*s.ed));
    EXPECT_EQ(Vertex(s.doc().Obj.Tr[1], 2), QPoint(400, H - 301));

    // Edit clicks that move nothing (on the vertex with a step within its
    // pixel, on nothing) leave the document, its changed mark and the undo
    // chain, Redo included, as they were.
    s.tool("TBSell");
    s.click({350, 300});
    ASSERT_TRUE(IsSelected(*s.ed, Kind::tr, 1));
    s.tool("TBEdit");
    SetChanged(*s.ed, false);
    const auto text = [&s] { return DocumentText(s.doc(), LiveWindows{}, {}, ','); };
    const std::string still = text();
    undo = s.undoPos();
    for (const QPoint at : {QPoint(400, 300), QPoint(800, 600), QPoint(400, 300)}) {
        s.press(at);
        s.move(at);
        EXPECT_EQ(s.ed->Document.editDragRunning(), at.x() == 400) << "a drag of the vertex runs";
        s.release(at);
        EXPECT_EQ(text(), still);
        EXPECT_FALSE(s.ed->Changed) << at.x();
        EXPECT_EQ(s.undoPos(), undo);
        EXPECT_TRUE(s.ed->RedoEnabled);
    }
    ASSERT_TRUE(RedoStep(*s.ed));
    EXPECT_EQ(Vertex(s.doc().Obj.Tr[1], 2), QPoint(440, H - 341));
    ASSERT_TRUE(UndoStep(*s.ed));

    // The circle's radius handle: a = b = distance to the centre less the grab offset.
    s.tool("TBSell");
    s.click({650, 200});
    ASSERT_TRUE(IsSelected(*s.ed, Kind::ci, 1));
    s.tool("TBEdit");
    undo = s.undoPos();
    s.press({650, 200});
    EXPECT_EQ(s.ed->DragHandle, 11);
    s.move({670, 200});
    s.move({680, 200});
    s.release({680, 200});
    EXPECT_DOUBLE_EQ(s.doc().Obj.Ci[1].A.v, 80);
    EXPECT_DOUBLE_EQ(s.doc().Obj.Ci[1].B.v, 80);
    EXPECT_EQ(s.undoPos(), undo + 1);
    // Down to the hit tolerance, then grabbed there again: the outline still
    // takes the grab and every value stays finite.
    s.press({680, 200});
    s.move({601, 200});
    s.release({601, 200});
    EXPECT_NEAR(s.doc().Obj.Ci[1].A.v, 1, 1e-6);
    s.press({601, 200});
    EXPECT_EQ(s.ed->DragHandle, 11);
    s.move({611, 210});
    s.release({611, 210});
    const DCircle& small = s.doc().Obj.Ci[1];
    EXPECT_EQ(small.Center.ScrX.v, 600);
    EXPECT_NEAR(small.A.v, std::hypot(11.0, 10.0), 1e-6);
    for (double v : {small.A.v, small.B.v, small.A3.v, small.Tilt.v, small.PA, small.PB, small.PC, small.PD})
        EXPECT_TRUE(std::isfinite(v));

    // The ruler: length and angle while it drags, a line over the picture;
    // nothing left and nothing changed after the release.
    s.tool("TBLine");
    undo = s.undoPos();
    const int total = s.doc().Obj.ObjTotal;
    s.press({10, 10});
    s.move({40, 50});
    EXPECT_EQ(s.win.statusText(5), "Длина=50");
    EXPECT_EQ(s.win.statusText(6), "Угол=-53,13");
    s.release({40, 50});
    EXPECT_EQ(s.win.statusText(5), "");
    EXPECT_EQ(s.doc().Obj.ObjTotal, total);
    EXPECT_EQ(s.undoPos(), undo);

    // The Delete key released in the window runs the delete command.
    QTest::keyRelease(s.win.paintBox(), Qt::Key_Delete);
    EXPECT_EQ(s.deletes, 1);

    // Copy: the picture as an image, and in vector mode also as the metafile.
    s.win.toolButton("TBCopy")->trigger();
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasImage());
    EXPECT_FALSE(QApplication::clipboard()->mimeData()->hasFormat("image/x-emf"));
    s.doc().Im.PicMode = 1;
    s.drawing.MetaPath = s.ed.dir.folder() + "Temp/MetaTemp.emf";
    s.win.redraw();
    s.win.toolButton("TBCopy")->trigger();
    EXPECT_GT(QApplication::clipboard()->mimeData()->data("image/x-emf").size(), 100);
    s.doc().Im.PicMode = 0;

    // At 200 %: window 301 is picture 150 (150.5 rounds to even).
    s.doc().Zoom = 200;
    s.win.FitScrollBox();
    s.tool("TBAdds");
    s.tool("TBPo");
    s.click({301, 201});
    const DPoint& pt = s.doc().Obj.Po[s.doc().Obj.Po.count()];
    EXPECT_EQ(pt.ScrX.v, 150);
    EXPECT_EQ(pt.ScrY.v, ModelY(201, 200, H));

    // The wheel scrolls one pixel per step and never zooms.
    QScrollBar* bar = s.win.scrollBox()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 10);
    bar->setValue(5);
    QWheelEvent down(QPointF(10, 10), QPointF(10, 10), {}, QPoint(0, -120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(s.win.paintBox(), &down);
    EXPECT_EQ(bar->value(), 6);
    EXPECT_EQ(s.doc().Zoom, 200);
}

TEST(PictureWindowSession, TetragonCrossAndMovingSeveral) {
    Session s;
    const int H = s.doc().Im.Height;
    const auto ym = [H](int y) { return H - 1 - y; };

    // A tetragon takes two right presses while the left button draws.
    s.tool("TBKv");
    const int undo = s.undoPos();
    s.press({100, 100});
    s.move({200, 100});
    s.press({200, 100}, Qt::RightButton);
    s.release({200, 100}, Qt::RightButton);
    s.move({200, 200});
    s.press({200, 200}, Qt::RightButton);
    EXPECT_EQ(s.win.tools().vertexStep(), 2);
    s.release({200, 200}, Qt::RightButton);
    s.move({100, 200});
    s.release({100, 200});
    ASSERT_EQ(s.doc().Obj.Kv.count(), 1);
    const DKv& q = s.doc().Obj.Kv[1];
    const QPoint want[] = {{100, ym(100)}, {200, ym(100)}, {200, ym(200)}, {100, ym(200)}};
    for (std::size_t i = 1; i <= 4; ++i) {
        EXPECT_EQ(q.S[i].P1.ScrX.v, want[i - 1].x()) << i;
        EXPECT_EQ(q.S[i].P1.ScrY.v, want[i - 1].y()) << i;
    }
    EXPECT_EQ(s.undoPos(), undo + 1);
    EXPECT_EQ(s.win.tools().vertexStep(), 0);

    // A coordinate system: a cross centred on the press point, mirrored.
    s.tool("TBXY");
    s.press({500, 300});
    s.move({540, 330});
    s.release({540, 330});
    const DXOY& x = s.doc().Obj.Xy[1];
    EXPECT_EQ(x.AxisX.P1.ScrX.v, 460);
    EXPECT_EQ(x.AxisX.P2.ScrX.v, 540);
    EXPECT_EQ(x.AxisY.P1.ScrY.v, ym(300) - 30);
    EXPECT_EQ(x.AxisY.P2.ScrY.v, ym(300) + 30);
    EXPECT_EQ(x.Center.ScrX.v, 500);

    // Two selected objects move together by the whole movement of the drag.
    s.tool("TBSell");
    s.click({150, 100});
    s.click({460, 300}, Qt::ShiftModifier);
    ASSERT_EQ(s.ed->SelCount, 2);
    s.tool("TBEdit");
    s.press({150, 100});
    EXPECT_EQ(s.ed->DragHandle, 0);
    s.move({160, 105});
    s.move({170, 110});
    s.release({170, 110});
    EXPECT_EQ(s.doc().Obj.Kv[1].S[1].P1.ScrX.v, 120);
    EXPECT_EQ(s.doc().Obj.Kv[1].S[3].P1.ScrY.v, ym(210));
    EXPECT_EQ(s.doc().Obj.Xy[1].Center.ScrX.v, 520);
    EXPECT_EQ(s.doc().Obj.Xy[1].AxisX.P1.ScrY.v, ym(310));

    // An ellipse's semi-axis handle: a follows the mouse, b stays.
    s.tool("TBAdds");
    s.tool("TBCi");
    s.click({650, 450});
    DCircle& e = s.doc().Obj.Ci[1];
    e.Q1 = {0, e.Center.Y.v + 60, e.Center.Z.v};
    e.Q2 = {0, e.Center.Y.v, e.Center.Z.v + 30};
    UpdateCircle(e, 0);
    ASSERT_FALSE(e.IsCircle.v);
    s.tool("TBSell");
    s.click({710, 450});
    s.tool("TBEdit");
    s.press({710, 450});
    EXPECT_EQ(s.ed->DragHandle, 12);
    s.move({720, 452});
    s.move({730, 455});
    s.release({730, 455});
    EXPECT_NEAR(s.doc().Obj.Ci[1].A.v, 80, 1e-6);
    EXPECT_NEAR(s.doc().Obj.Ci[1].B.v, 30, 1e-6);
}

TEST(PictureWindowSession, KindButtonsFollowCapacityAndNoDocument) {
    const auto full = [](Kind k) { return k != Kind::po && k != Kind::li; };
    Editing ed;
    DrawingState drawing;
    QuietWindow quiet;
    PictureWindow win(*ed, drawing, quiet, quiet, full);
    EXPECT_FALSE(win.toolButton("TBAdds")->isEnabled());
    EXPECT_TRUE(win.toolButton("TBPo")->isChecked());
    win.SetDrawWindowMode(1);
    // The pressed point button is disabled: the press passes on past the full segment to the ellipse.
    EXPECT_FALSE(win.toolButton("TBPo")->isEnabled());
    EXPECT_TRUE(win.toolButton("TBCi")->isChecked());
    win.SetDrawWindowMode(0);
    EXPECT_TRUE(win.toolButton("TBPo")->isChecked());
    // The hints come from the word table, line 332 on, in the buttons' order.
    struct Words : TextRole {
        std::string wordLine(int line) override { return line == 346 ? "Copy & paste" : ""; }
        char decimalSeparator() override { return ','; }
        void showMessage(const std::string&) override {}
    } words;
    PictureWindow named(*ed, drawing, words, quiet, full);
    named.WordsToShowIm();
    EXPECT_EQ(named.toolButton("TBCopy")->toolTip(), "Copy & paste");
    EXPECT_EQ(named.toolButton("TBLine")->toolTip(), QString::fromUtf8("Линейка"));
    EXPECT_EQ(named.windowTitle(), QString::fromUtf8("Изображение"));
    EXPECT_FALSE(win.toolButton("TBCopy")->isEnabled());
}

void Choose(QComboBox* c, const char* text) {
    const int i = c->findText(QString::fromUtf8(text));
    ASSERT_GE(i, 0) << text;
    c->setCurrentIndex(i);
    emit c->activated(i);
}

TEST(LinkDialogSession, ChoicesBecomeLinksOfTheNewObject) {
    Editing ed;
    for (int i = 0; i < 2; ++i) NewDefaultObject(*ed, Kind::li);
    NewDefaultObject(*ed, Kind::tr);
    ed.doc->Obj.Tr[1].Number = 3;  // already referenced: keeps its number

    {
        LinkDialog d(*ed.doc, Kind::li, QIcon());
        d.show();
        EXPECT_FALSE(d.findChild<QPushButton*>("Button1")->isEnabled());
        EXPECT_EQ(d.combo(1, 1)->count(), 4);  // Free, two segments, a triangle
        Choose(d.combo(1, 1), "Line №2");
        EXPECT_EQ(d.combo(1, 2)->currentText(), QString::fromUtf8("Point №1"));
        EXPECT_FALSE(d.combo(1, 3)->isEnabled());
        EXPECT_EQ(d.links()[0].b, (std::array<std::uint8_t, 10>{2, 2, 1, 1}));
        EXPECT_TRUE(d.findChild<QPushButton*>("Button1")->isEnabled());
        Choose(d.combo(1, 2), "Point №2");
        Choose(d.combo(2, 1), "Triangle №1");
        Choose(d.combo(2, 2), "Circle Opi");
        Choose(d.combo(2, 3), "Point Center");
        EXPECT_EQ(d.links()[1].b, (std::array<std::uint8_t, 10>{4, 1, 3, 9, 1, 4}));
        QTest::mouseClick(d.findChild<QPushButton*>("Button1"), Qt::LeftButton);
        EXPECT_EQ(d.result(), LinkResult::Ok);

        const int undo = ed->UndoPos;
        ASSERT_TRUE(ApplyNewObjectLinks(*ed, Kind::li, d.result(), d.links()));
        EXPECT_EQ(ed->UndoPos, undo + 1) << "creating and linking is one undo step";
        ASSERT_EQ(ed.doc->Obj.Li.count(), 3);
        const DLine& made = ed.doc->Obj.Li[3];
        EXPECT_EQ(made.P1.Link.b, d.links()[0].b);
        EXPECT_DOUBLE_EQ(made.P1.Y.v, ed.doc->Obj.Li[2].P2.Y.v);
        EXPECT_DOUBLE_EQ(made.P1.Z.v, ed.doc->Obj.Li[2].P2.Z.v);
        EXPECT_EQ(ed.doc->Obj.Li[2].Number, 1);
        EXPECT_EQ(ed.doc->Obj.Tr[1].Number, 3);
        EXPECT_EQ(made.Number, 4);
        ASSERT_TRUE(UndoStep(*ed));
        EXPECT_EQ(ed.doc->Obj.Li.count(), 2);
        EXPECT_EQ(ed.doc->Obj.Li[2].Number, 0) << "Undo also takes back the referenced mark";
    }
    {
        // Picking "Free" again disables OK; the close box answers "independent"; Escape cancels.
        LinkDialog d(*ed.doc, Kind::tr, QIcon());
        d.show();
        Choose(d.combo(3, 1), "Line №1");
        Choose(d.combo(3, 1), "Free");
        EXPECT_FALSE(d.findChild<QPushButton*>("Button1")->isEnabled());
        EXPECT_FALSE(d.findChild<QComboBox*>("ComboBox41")->isVisible());
        d.close();
        EXPECT_EQ(d.result(), LinkResult::Independent);
    }
    {
        LinkDialog d(*ed.doc, Kind::i4, QIcon());
        d.show();
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_EQ(d.result(), LinkResult::Cancel);
        const int count = ed.doc->Obj.I4.count();
        EXPECT_FALSE(ApplyNewObjectLinks(*ed, Kind::i4, d.result(), d.links()));
        EXPECT_EQ(ed.doc->Obj.I4.count(), count);
    }
}

}  // namespace
}  // namespace pelmar::test
