#include <gtest/gtest.h>

#include <QCoreApplication>
#include <map>

#include "editing/dialog_focus.h"
#include "editing/new_objects.h"
#include "editing/object_list.h"
#include "editing/undo_store.h"
#include "editing_fixture.h"

using namespace pelmar;
using namespace pelmar::test;

// The list runs in kind order whatever the order of creation; a new object
// is the last of its kind, current, named by its slot.
TEST(ObjectList, NewObjectsTakeTheirPlaceInKindOrder) {
    Editing e;
    NewPoint(*e, true, false, false);
    NewLine(*e, true, false, false);
    NewPoint(*e, true, false, false);
    NewCircle(*e, true, false, false);
    EXPECT_EQ(e->CurObjIndex, 3);
    EXPECT_EQ(e.list.index, 3);
    EXPECT_EQ(Obj<Kind::ci>(*e, 1).ID.s, "Circle №1");
    NewPoint(*e, true, true, false);
    EXPECT_EQ(e->CurObjIndex, 2);
    EXPECT_EQ(e.list.items, (std::vector<std::string>{"Point 1", "Point 2", "Point 3", "Line 1", "Circle 1"}));
    EXPECT_EQ(e->Proj->Obj.ObjTotal, 5);
    QCoreApplication::processEvents();
    EXPECT_EQ(e.redraw.count, 1);
    EXPECT_TRUE(e->Changed);
    EXPECT_EQ(e->Work->index(Kind::po), 3);
    EXPECT_EQ(e.dialogs.LastFill(), "po:Point №3");
    EXPECT_EQ(e.dialogs.log.back(), "fill po:Point №3");
    // Every dialog was closed and the new object's reopened.
    EXPECT_EQ(e.dialogs.log[e.dialogs.log.size() - 3], "close ci");
    EXPECT_EQ(e->UndoPos, 6);
    ASSERT_TRUE(UndoStep(*e));
    EXPECT_EQ(e->Proj->Obj.Po.count(), 2);
}

// The New command of a kind goes off at its capacity, and New refuses
// beyond it without an undo step.
TEST(ObjectList, CapacityOfEveryKind) {
    for (const KindInfo& info : KindTable) {
        SCOPED_TRACE(info.code);
        Editing e;
        e->UndoOn = false;
        for (int i = 1; i < info.capacity; ++i) ASSERT_TRUE(NewDefaultObject(*e, info.kind));
        EXPECT_EQ(e.commands.On(EditingCommand::NewObject, info.kind), -1);
        ASSERT_TRUE(NewDefaultObject(*e, info.kind));
        EXPECT_EQ(e.commands.On(EditingCommand::NewObject, info.kind), 0);
        e->UndoOn = true;
        EXPECT_FALSE(NewDefaultObject(*e, info.kind));
        EXPECT_EQ(e->Proj->Obj.count(info.kind), info.capacity);
        EXPECT_EQ(e->UndoPos, 1);
    }
}

// The reset of a loaded document: commands, picture view and undo history.
TEST(ObjectList, ResetOfALoadedDocument) {
    Editing e;
    NewPoint(*e, true, false, false);
    NewPoint(*e, true, false, false);
    e->Proj->Zoom = 150;
    e->Proj->Im.Width = 401;
    e->Proj->Im.Height = 300;
    e->UndoLoading = true;
    e->Untitled = false;
    UpdateObjectList(*e, true, false);
    EXPECT_EQ(e->UndoPos, 3);  // an undo reload keeps the history
    EXPECT_FALSE(e.commands.IsDown(EditingCommand::DrawLine));
    EXPECT_EQ(e.commands.On(EditingCommand::Save), 0);
    EXPECT_EQ(e.list.lastReset.zoomItem, -1);
    EXPECT_EQ(e.list.lastReset.boxWidth, 602);  // 601.5 to even
    EXPECT_EQ(e.list.lastReset.boxHeight, 450);

    e->UndoLoading = false;
    e->Untitled = true;
    e->Proj->Zoom = 75;
    e->Proj->Im.PicMode = 1;
    UpdateObjectList(*e, true, true);
    EXPECT_EQ(e->UndoPos, 1);
    EXPECT_EQ(e.commands.On(EditingCommand::Undo), 0);
    EXPECT_EQ(e.commands.On(EditingCommand::Save), 1);
    EXPECT_EQ(e.commands.On(EditingCommand::Delete), 1);
    EXPECT_EQ(e.commands.On(EditingCommand::Export), 0);
    EXPECT_EQ(e.commands.On(EditingCommand::Anim), 0);
    EXPECT_TRUE(e.commands.IsDown(EditingCommand::DrawLine));
    EXPECT_EQ(e.list.lastReset.zoomItem, 4);
    EXPECT_EQ(e.list.lastReset.boxWidth, 301);  // 300.75
    EXPECT_TRUE(e.list.lastReset.clearMetafile);
    EXPECT_EQ(e.commands.transEnabled, 2);
    for (const KindInfo& info : KindTable) EXPECT_EQ(e.commands.On(EditingCommand::NewObject, info.kind), 1);
    for (bool open : e->DialogOpen) EXPECT_FALSE(open);
}

// Focus numbers: the lists, the pages they select, the control they name.
TEST(ObjectList, DialogFocus) {
    const std::vector<std::pair<Kind, std::size_t>> sizes{
        {Kind::po, 28}, {Kind::li, 31}, {Kind::ci, 38}, {Kind::tr, 55}, {Kind::kv, 41}, {Kind::xy, 44},
        {Kind::sf, 28}, {Kind::zi, 27}, {Kind::ko, 26}, {Kind::i3, 24}, {Kind::i4, 24}, {Kind::r3, 25},
        {Kind::r4, 25}, {Kind::xz, 38}};
    for (auto [k, n] : sizes) EXPECT_EQ(FocusControls(k).size(), n) << InfoOf(k).code;
    EXPECT_EQ(FocusControls(Kind::tr)[31], "Button8");
    EXPECT_EQ(FocusControls(Kind::tr)[54], "RadioGroupTbTy5");
    EXPECT_EQ(FocusControls(Kind::sf)[27], "ButtonSe7");

    struct Case {
        std::vector<Kind> open;
        int index;
        std::map<int, int> pages;
        std::map<int, std::string> activated;
    };
    const std::vector<Case> cases{
        {{Kind::tr}, 31, {{4, 2}}, {{4, "CheckBoxTbEn1"}}},
        {{Kind::li}, 31, {}, {{2, "ButtonLAlls"}}},
        {{Kind::po}, 40, {}, {}},
        {{Kind::xz, Kind::kv}, 0, {{5, 1}, {14, 1}}, {}},
        {{Kind::xy}, 26, {{6, 2}}, {{6, "CheckBoxX21"}}},
        {{Kind::i4}, 24, {}, {{11, "ButtonPSVpi"}}},
    };
    for (const Case& c : cases) {
        Editing e;
        for (Kind k : c.open) e->DialogOpen[Slot(k)] = true;
        RestoreFocus(*e, c.index);
        EXPECT_EQ(e.dialogs.page, c.pages) << c.index;
        EXPECT_EQ(e.dialogs.activated, c.activated) << c.index;
    }

    // The number written with the document: a later dialog overrides.
    Editing e;
    e->DialogOpen[Slot(Kind::po)] = true;
    e->DialogOpen[Slot(Kind::r4)] = true;
    e.dialogs.active[1] = "EditPy";
    EXPECT_EQ(GetFocusIndex(*e), 8);
    e.dialogs.active[13] = "EditPRebLe";
    EXPECT_EQ(GetFocusIndex(*e), 18);
    e.dialogs.active[13] = "NotInTheList";
    EXPECT_EQ(GetFocusIndex(*e), 8);
}
