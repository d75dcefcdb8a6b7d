#include "transform/trans_editing.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include "editing/editing_fixture.h"
#include "editing/undo_store.h"
#include "files/document.h"
#include "model/geometry.h"
#include "model/update.h"

namespace pelmar {
namespace {

std::string Text(const DProj& doc) { return DocumentText(doc, LiveWindows{}, {}, ','); }

// Two Apply clicks on the editing core: each moves the objects, commits the
// current object and redraws once; Undo goes back one Apply at a time.
TEST(TransformationEditing, ApplyIsOneUndoStep) {
    test::Editing e;
    for (double y : {100.0, 200.0}) {
        DPoint p;
        LoadDefaultPoint(p, 1, e->Defaults);
        p.Y.v = y;
        UpdatePoint(p, 0);
        e.doc->Obj.Po.add(p);
    }
    test::MakeCurrent(*e, Kind::po, 2);
    e->Copies.index(Kind::po) = 2;
    e->Copies.CurPoint = e.doc->Obj.Po[2];
    e->Sel[Slot(Kind::po)][1] = true;
    EditingTransHost host(*e);

    const std::string original = Text(*e.doc);
    const TransScope selected{false, false, true}, all{true, false, false};
    ASSERT_EQ(ApplyTransformation(*e.doc, TransTab::Translate, {"0", "10", "0"}, selected, host),
              TransOutcome::Applied);
    QCoreApplication::processEvents();  // each Apply is a click of its own
    const std::string once = Text(*e.doc);
    ASSERT_EQ(ApplyTransformation(*e.doc, TransTab::Translate, {"0", "0,5", "0"}, all, host), TransOutcome::Applied);
    QCoreApplication::processEvents();
    EXPECT_EQ(e.doc->Obj.Po[1].Y.v, 110.5);
    EXPECT_EQ(e.doc->Obj.Po[2].Y.v, 200.5);
    EXPECT_EQ(e->Copies.CurPoint.Y.v, 200.5) << "the current object is committed";
    EXPECT_EQ(e.redraw.count, 2);
    EXPECT_TRUE(e->Changed);
    EXPECT_EQ(ApplyTransformation(*e.doc, TransTab::Rotate, {"0", "0", "0", "0", "0", "0", "5"}, all, host),
              TransOutcome::NoTransformation);
    EXPECT_EQ(e.messages.shown.size(), 1u);

    ASSERT_TRUE(UndoStep(*e));
    EXPECT_EQ(Text(*e.doc), once);
    ASSERT_TRUE(UndoStep(*e));
    EXPECT_EQ(Text(*e.doc), original);
}

}  // namespace
}  // namespace pelmar
