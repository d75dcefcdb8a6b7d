#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "editing/commit.h"
#include "editing/edited_document.h"
#include "editing/new_objects.h"
#include "editing/object_list.h"
#include "editing/undo_store.h"
#include "editing_fixture.h"
#include "files/doc_fixture.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// A window connected to the document: what it was told, in order.
struct Window {
    std::vector<std::string> told;
    explicit Window(EditedDocument& doc) {
        QObject::connect(&doc, &EditedDocument::redrawNeeded, [this] { told.push_back("redraw"); });
        QObject::connect(&doc, &EditedDocument::objectChanged,
                         [this](Kind k) { told.push_back(std::string("object ") + InfoOf(k).code); });
        QObject::connect(&doc, &EditedDocument::modifiedChanged,
                         [this](bool on) { told.push_back(on ? "modified" : "saved"); });
        QObject::connect(&doc, &EditedDocument::undoStateChanged, [this](bool undo, bool redo) {
            told.push_back(std::string("undo ") + (undo ? "1" : "0") + (redo ? "1" : "0"));
        });
        QObject::connect(&doc, &EditedDocument::dragChanged,
                         [this](bool on) { told.push_back(on ? "drag" : "drag end"); });
    }
    std::vector<std::string> take() { return std::exchange(told, {}); }
};

}  // namespace

// A segment built on a point carries a point on its end.  Each command tells
// a connected window every change once: the commit that moves the carried
// point along is one redraw and one refill of the segment's dialog; Undo and
// Redo reopen a snapshot with one redraw each; a drag is one undo step, and
// the redraws asked for inside a command come out as one at its end.
TEST(EditedDocument, EachChangeReachesAConnectedWindowOnce) {
    Editing e;
    DPoint base;
    PlacedPoint(base, 0, 10, 10);
    ASSERT_TRUE(NewPoint(*e, false, false, true, base));
    DLine seg = MakeLine(1);
    seg.Number = 2;
    seg.P1.Link = LinkTo(1, 1);
    ASSERT_TRUE(NewLine(*e, false, false, true, seg));
    DPoint onEnd = MakePoint(2);
    onEnd.Number = 3;
    onEnd.Link = LinkTo(2, 1, 2);
    ASSERT_TRUE(NewPoint(*e, false, false, true, onEnd));
    SetCurObjIndex(*e, ListPosition(*e->Proj, Kind::li, 1));
    SelectCurrentObject(*e, e->Dialogs, true);
    EditedDocument& doc = *e.edited;
    Window win(doc);

    const int pos = e->UndoPos;
    const double startY = Pos(Obj<Kind::po>(*e, 2)).y;
    // A typed value: the dialog's commit, then its redraw.
    SetPos(e->Copies.CurLine.P2, {0, 333, 44});
    doc.commit(false);
    doc.requestRedraw();
    QCoreApplication::processEvents();  // the redraw comes with the event loop
    EXPECT_EQ(Pos(Obj<Kind::po>(*e, 2)).y, 333);  // the carried point followed
    EXPECT_EQ(win.take(), (std::vector<std::string>{"modified", "undo 10", "object li", "redraw"}));
    EXPECT_EQ(e->UndoPos, pos + 1);

    ASSERT_TRUE(doc.undo());
    QCoreApplication::processEvents();
    std::vector<std::string> told = win.take();
    EXPECT_EQ(std::count(told.begin(), told.end(), "redraw"), 1);
    EXPECT_EQ(Pos(Obj<Kind::po>(*e, 2)).y, startY);
    ASSERT_TRUE(doc.redo());
    QCoreApplication::processEvents();
    told = win.take();
    EXPECT_EQ(std::count(told.begin(), told.end(), "redraw"), 1);
    EXPECT_EQ(Pos(Obj<Kind::po>(*e, 2)).y, 333);

    // Redraws asked for inside nested commands are one, at the outermost end.
    {
        EditedDocument::Command outer(doc);
        doc.requestRedraw();
        {
            EditedDocument::Command inner(doc);
            doc.requestRedraw();
        }
        EXPECT_TRUE(win.told.empty());
        doc.requestRedraw();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(win.take(), (std::vector<std::string>{"redraw"}));

    // A drag: told once that it begins and once that it ends; its commits
    // are one undo step, taken before the first change.
    const int before = e->UndoPos;
    {
        EditedDocument::Drag drag(doc);
        drag.beginEdit();
        EXPECT_TRUE(doc.dragging());
        for (int step = 1; step <= 3; ++step) {
            const FillWatch watch = drag.step();
            SetPos(e->Copies.CurLine.P2, {0, 333.0 + step, 44});
            ApplyObject(*e, false);
        }
        drag.leftReleased();
        EXPECT_FALSE(doc.dragging());
        EXPECT_GT(e->UndoHeld, 0);  // until the last button is let go
    }
    EXPECT_EQ(e->UndoHeld, 0);
    EXPECT_EQ(e->UndoPos, before + 1);
    told = win.take();
    EXPECT_EQ(std::count(told.begin(), told.end(), "drag"), 1);
    EXPECT_EQ(std::count(told.begin(), told.end(), "drag end"), 1);
    EXPECT_EQ(std::count(told.begin(), told.end(), "redraw"), 0) << "the drag's own redraws are the mouse tools'";
}

// Two typed values in one turn of the event loop are two commands and one
// redraw, given when the loop comes round.  A reader of the drawn state gets
// it at once; one of the records only where the redraw stores into them (the
// traced curves of the coordinate systems).
TEST(EditedDocument, TwoCommandsInOneEventLoopTurnGiveOneRedraw) {
    Editing e;
    DPoint base;
    PlacedPoint(base, 0, 10, 10);
    ASSERT_TRUE(NewPoint(*e, false, false, true, base));
    SetCurObjIndex(*e, ListPosition(*e->Proj, Kind::po, 1));
    SelectCurrentObject(*e, e->Dialogs, true);
    EditedDocument& doc = *e.edited;
    QCoreApplication::processEvents();
    Window win(doc);
    const auto typed = [&](double y) {
        SetPos(e->Copies.CurPoint, {0, y, 0});
        doc.commit(false);
        doc.requestRedraw();
    };
    const auto redraws = [&] {
        const std::vector<std::string> told = win.take();
        return std::count(told.begin(), told.end(), "redraw");
    };

    typed(20);
    typed(30);
    EXPECT_EQ(redraws(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(redraws(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(redraws(), 0);

    // The picture read (a copy, an export): the redraw owed is given first,
    // and the loop owes none afterwards.
    typed(40);
    doc.ensureDrawn();
    EXPECT_EQ(redraws(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(redraws(), 0);

    // Without coordinate systems the records hold nothing the redraw writes.
    typed(50);
    doc.ensureStored();
    EXPECT_EQ(redraws(), 0);
    // With one, the snapshot of the next command holds the redraw's curves.
    ASSERT_TRUE(NewDefaultObject(*e, Kind::xy));
    const int drawnBefore = static_cast<int>(redraws());
    EXPECT_EQ(drawnBefore, 1) << "the new object's selection reads the records after the owed redraw";
    doc.requestRedraw();
    SaveUndoStep(*e);
    EXPECT_EQ(redraws(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(redraws(), 0);
}
