#include <gtest/gtest.h>

#include <QCoreApplication>
#include <filesystem>

#include "editing/clipboard.h"
#include "editing/commit.h"
#include "editing/delete_objects.h"
#include "editing/nesting.h"
#include "editing/new_objects.h"
#include "editing/object_list.h"
#include "editing/reopen.h"
#include "editing/selection.h"
#include "editing/undo_store.h"
#include "editing_fixture.h"
#include "files/document.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

void MakeCurrentObject(Editing& e, Kind k, int index) {
    SetCurObjIndex(*e, ListPosition(*e.doc, k, index));
    SelectCurrentObject(*e, e->Dialogs, true);
}

// From the first three-sided pyramid into the point at the start of side 1
// of its face 2.
void OpenFacePoint(Editing& e) {
    MakeCurrentObject(e, Kind::i3, 1);
    ASSERT_TRUE(OpenPart(*e, Kind::tr, 7));
    ASSERT_TRUE(OpenPart(*e, Kind::li, 4));
    ASSERT_TRUE(OpenPart(*e, Kind::po, 1));
}

// Back inside the point of the face: the path's working copies and role
// bytes, the point dialog alone open and filled, Back-to up the path.
void ExpectInsideFacePoint(Editing& e, int labelAngle) {
    const DPi3& stored = Obj<Kind::i3>(*e, 1);
    EXPECT_EQ(stored.Face[2].S[1].P1.LabelAngle.v, labelAngle);
    EXPECT_EQ(e->Copies.CurPoint.LabelAngle.v, labelAngle);
    EXPECT_EQ(e->Copies.CurLine.P1.LabelAngle.v, labelAngle);
    EXPECT_EQ(e->Copies.CurPi3.Face[2].S[1].P1.LabelAngle.v, labelAngle);
    const auto& role = e.doc->Role;
    EXPECT_EQ(role[Slot(Kind::tr)], 7);
    EXPECT_EQ(role[Slot(Kind::li)], 4);
    EXPECT_EQ(role[Slot(Kind::po)], 1);
    for (const KindInfo& k : KindTable) EXPECT_EQ(DialogIsOpen(*e, k.kind), k.kind == Kind::po) << k.code;
    EXPECT_EQ(e.dialogs.LastFill().substr(0, 3), "po:");
    for (Kind k : {Kind::li, Kind::tr, Kind::i3}) EXPECT_EQ(e.commands.On(EditingCommand::BackTo, k), 1) << InfoOf(k).code;
    EXPECT_EQ(PathCaption(*e, Kind::po).rfind(stored.ID.s + " / ", 0), 0u) << PathCaption(*e, Kind::po);
}

}  // namespace

// What a user does in one sitting, without windows: objects of every kind,
// a part inside a part edited, undo and redo, delete, copy and paste, save,
// and the document opened again in another program run, back in that part.
TEST(Session, EveryKindFromCreationToReopening) {
    Editing e;
    for (const KindInfo& k : KindTable) ASSERT_TRUE(NewDefaultObject(*e, k.kind)) << k.code;
    EXPECT_EQ(e.doc->Obj.ObjTotal, 14);
    EXPECT_EQ(e.list.items.size(), 14u);
    EXPECT_EQ(e->UndoPos, 15);
    EXPECT_EQ(e.commands.On(EditingCommand::Undo), 1);
    EXPECT_EQ(e.commands.On(EditingCommand::Redo), 0);
    EXPECT_EQ(e.commands.On(EditingCommand::Delete), 1);
    for (int n = 1; n <= 14; ++n) EXPECT_TRUE(std::filesystem::exists(UndoFileName(e->UndoFolder, n))) << n;

    // A part inside a part, edited and committed.
    OpenFacePoint(e);
    const int angle = e->Copies.CurPoint.LabelAngle.v;
    e->Copies.CurPoint.LabelAngle.v = angle + 40;
    ApplyObject(*e, true);
    ExpectInsideFacePoint(e, angle + 40);

    // Undo returns into the point dialog with the old value, Redo brings it back.
    e.commands.enabled.clear();
    ASSERT_TRUE(UndoStep(*e));
    ExpectInsideFacePoint(e, angle);
    EXPECT_EQ(e.commands.On(EditingCommand::Redo), 1);
    e.commands.enabled.clear();
    ASSERT_TRUE(RedoStep(*e));
    ExpectInsideFacePoint(e, angle + 40);
    EXPECT_EQ(e.commands.On(EditingCommand::Redo), 0);

    // Delete two selected objects, then the current one.
    SelectAt(*e, -1000, -1000, 0, true);
    SelectCur(*e, Kind::ci, 1, true);
    SelectCur(*e, Kind::kv, 1, true);
    e->SelCount = 2;
    e.questions.answers.push_back({true, 2});
    DeleteObjects(*e);
    EXPECT_EQ(e.doc->Obj.ObjTotal, 12);
    EXPECT_EQ(e.doc->Obj.Ci.count(), 0);
    EXPECT_EQ(e->SelCount, 0);
    MakeCurrentObject(e, Kind::li, 1);
    e.questions.answers.push_back({true, 1});
    DeleteObjects(*e);
    EXPECT_EQ(e.doc->Obj.Li.count(), 0);
    EXPECT_EQ(e.list.items.size(), 11u);
    Kind k;
    ASSERT_TRUE(CurrentKind(*e, k));
    EXPECT_EQ(k, Kind::po);  // the entry before the deleted segment
    EXPECT_EQ(e.commands.On(EditingCommand::NewObject, Kind::ci), 1);

    // Copy the pyramid and paste it as a second one.
    MakeCurrentObject(e, Kind::i3, 1);
    e.questions.answers.push_back({true, 1});
    CopyObjects(*e);
    PasteObjects(*e);
    EXPECT_EQ(e.doc->Obj.I3.count(), 2);
    EXPECT_EQ(Obj<Kind::i3>(*e, 2).Face[2].S[1].P1.LabelAngle.v, angle + 40);

    // Save while inside the face point; another run of the program opens it
    // and is back there, with a fresh undo history.
    OpenFacePoint(e);
    const std::string name = e.dir.folder() + "drawing.pel";
    DocumentContext ctx;
    ctx.Proj = e.doc.get();
    ctx.Windows = [&] { return CurrentWindows(*e); };
    ASSERT_TRUE(WriteDocument(name, *e.doc, WriteModeDocument, ctx));

    Editing f("2");
    f->Untitled = false;
    ASSERT_EQ(OpenDocumentState(*f, name), ReadOk);
    ExpectInsideFacePoint(f, angle + 40);
    EXPECT_EQ(f->CurObjIndex, ListPosition(*f.doc, Kind::i3, 1));
    EXPECT_EQ(f->UndoPos, 1);
    EXPECT_EQ(f.commands.On(EditingCommand::Undo), 0);
    EXPECT_FALSE(f->Changed);
    EXPECT_EQ(f.doc->Obj.ObjTotal, 12);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.redraw.count, 1);

    // The next edit there is an undo step of the new run.
    f->Copies.CurPoint.LabelAngle.v = angle;
    ApplyObject(*f, true);
    EXPECT_EQ(Obj<Kind::i3>(*f, 1).Face[2].S[1].P1.LabelAngle.v, angle);
    EXPECT_TRUE(f->Changed);
    ASSERT_TRUE(UndoStep(*f));
    ExpectInsideFacePoint(f, angle + 40);
}
