#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "editing/clipboard.h"
#include "editing/new_objects.h"
#include "editing/nesting.h"
#include "editing/object_list.h"
#include "editing/selection.h"
#include "editing/undo_store.h"
#include "editing_fixture.h"
#include "files/doc_fixture.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

void Copy(Editing& e, int answer) {
    e.questions.answers.push_back({true, answer});
    CopyObjects(*e);
}

}  // namespace

// A selected triangle built on points comes back as an independent triangle
// with its name and place, without marks; pasting twice gives two copies,
// each paste one undo step.
TEST(Clipboard, SelectedObjectsPasteIndependent) {
    Editing e;
    NewPoint(*e, false, false, false);
    DTri t = MakeTriangle(1);
    t.Number = 2;
    t.S[1].P1.Link.b = {1, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    NewTriangle(*e, true, false, true, t);
    NewCircle(*e, true, false, false);
    SelectCur(*e, Kind::tr, 1, false);
    ++e->SelCount;
    SelectCur(*e, Kind::ci, 1, true);
    ++e->SelCount;
    Copy(e, 3);
    ASSERT_TRUE(std::filesystem::exists(ClipboardFileName(*e)));
    EXPECT_TRUE(e.questions.copyAsked[0].selectedEnabled);
    EXPECT_FALSE(e.questions.copyAsked[0].childEnabled);  // the circle's own dialog is open
    EXPECT_EQ(e.commands.On(EditingCommand::Paste), 1);

    const int pos = e->UndoPos;
    PasteObjects(*e);
    PasteObjects(*e);
    EXPECT_EQ(e->UndoPos, pos + 2);
    ASSERT_EQ(e->Proj->Obj.Tr.count(), 3);
    for (std::size_t i : {2u, 3u}) {
        const DTri& p = Obj<Kind::tr>(*e, i);
        EXPECT_EQ(p.ID.s, "Trian №1");
        EXPECT_EQ(p.Number, 0);
        EXPECT_FALSE(p.S[1].P1.Link.linked());
        EXPECT_FALSE(p.S[2].Selected);
        EXPECT_EQ(p.S[2].P1.X.v, Obj<Kind::tr>(*e, 1).S[2].P1.X.v);
    }
    EXPECT_EQ(e->Proj->Obj.Ci.count(), 3);
    Kind k;
    ASSERT_TRUE(CurrentKind(*e, k));
    EXPECT_EQ(k, Kind::tr);  // the last pasted object (in kind order) is current
    EXPECT_EQ(e.dialogs.LastFill(), "tr:Trian №1");
}

// A copy that cannot be written (an object whose values overflow) says so
// and leaves nothing to paste: never the older clipboard file.
TEST(Clipboard, FailedCopyLeavesNothingToPaste) {
    Editing e;
    NewPoint(*e, false, false, false);
    NewPoint(*e, false, false, false);  // current
    Copy(e, 1);
    ASSERT_EQ(e.commands.On(EditingCommand::Paste), 1);
    ASSERT_TRUE(e.messages.shown.empty());
    e->Proj->Obj.Po[2].X.v = std::numeric_limits<double>::infinity();
    Copy(e, 1);
    EXPECT_EQ(e.messages.shown, std::vector<std::string>{"Не могу сохранить файл!"});
    EXPECT_EQ(e.commands.On(EditingCommand::Paste), 0);
    EXPECT_FALSE(std::filesystem::exists(ClipboardFileName(*e)));
    PasteObjects(*e);
    EXPECT_EQ(e->Proj->Obj.Po.count(), 2);
}

// Paste adds only what fits, in one undo step; with no room at all it adds
// nothing and takes no undo step.
TEST(Clipboard, PasteKeepsToTheCapacity) {
    for (auto [have, added] : {std::pair{45, 5}, std::pair{48, 2}, std::pair{50, 0}}) {
        Editing e;
        e->UndoOn = false;
        for (int i = 0; i < 5; ++i) NewPoint(*e, false, false, false);
        SelectAllObjects(*e);
        Copy(e, 3);
        for (int i = 5; i < have; ++i) NewPoint(*e, false, false, false);
        e->UndoOn = true;
        PasteObjects(*e);
        EXPECT_EQ(e->Proj->Obj.Po.count(), have + added) << have;
        EXPECT_EQ(e->UndoPos, added > 0 ? 2 : 1) << have;
    }
}

// The current object and the part being edited; the part is pasted as an
// object of its own kind.  With no dialog open the child option copies
// nothing.
TEST(Clipboard, CurrentObjectAndCurrentPart) {
    Editing e;
    NewCylinder(*e, true, false, false);
    ASSERT_TRUE(OpenPart(*e, Kind::sf, 2));
    Copy(e, 2);
    EXPECT_TRUE(e.questions.copyAsked.back().childEnabled);
    PasteObjects(*e);
    ASSERT_EQ(e->Proj->Obj.Sf.count(), 1);
    EXPECT_EQ(e->Proj->Obj.Zi.count(), 1);

    Copy(e, 1);  // the sphere now current
    PasteObjects(*e);
    EXPECT_EQ(e->Proj->Obj.Sf.count(), 2);

    for (auto& open : e->DialogOpen) open = false;
    Copy(e, 2);
    PasteObjects(*e);
    EXPECT_EQ(e->Proj->Obj.ObjTotal, 3);

    // Another program sharing the program folder pastes what this one copied.
    Editing other;
    other->ProgDir = e->ProgDir;
    Copy(e, 1);
    PasteObjects(*other);
    EXPECT_EQ(other->Proj->Obj.Sf.count(), 1);
}
