#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "editing/new_objects.h"
#include "editing/object_list.h"
#include "editing/selection.h"
#include "editing_fixture.h"
#include "files/doc_fixture.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

constexpr TColor kMove = 0x0000FF, kShape = 0xFF0000;

// A point on a segment at (100, 100), a triangle of type 4 with its vertices
// at (200, 300), (300, 300), (230, 380), an ellipse at (500, 200), a
// dependent point at (600, 100), a hidden point at (650, 100).
struct Picture : Editing {
    std::optional<EditedDocument::UndoPause> held;
    Picture() {
        DPoint p;
        PlacedPoint(p, 0, 100, 100);
        p.ID.s = "P";
        NewPoint(*st, false, false, true, p);
        DLine l;
        PlacedPoint(l.P1, 0, 50, 100);
        PlacedPoint(l.P2, 0, 150, 100);
        l.Thick.v = 1;
        l.ID.s = "L";
        NewLine(*st, false, false, true, l);
        DTri t;
        SetVertices(t, std::array<Vec3, 3>{Vec3{0, 200, 300}, Vec3{0, 300, 300}, Vec3{0, 230, 380}});
        t.Typ.v = 4;
        t.ID.s = "T";
        NewTriangle(*st, false, false, true, t);
        DCircle c = MakeCircle(1);
        PlacedPoint(c.Center, 0, 500, 200);
        c.ID.s = "C";
        NewCircle(*st, false, false, true, c);
        DPoint dep;
        PlacedPoint(dep, 0, 600, 100);
        dep.Number = 2;
        NewPoint(*st, false, false, true, dep);
        DPoint hidden;
        PlacedPoint(hidden, 0, 650, 100);
        hidden.Disabled.v = true;
        NewPoint(*st, false, false, true, hidden);
        held.emplace(*st);  // as the picture window's drag holds undo off
    }
    std::set<std::string> Selected() {
        std::set<std::string> s;
        ForEachKind([&](auto kc) {
            constexpr Kind K = decltype(kc)::value;
            for (int i = 1; i <= doc->Obj.count(K); ++i)
                if (IsSelected(*st, K, i)) s.insert(std::string(InfoOf(K).code) + std::to_string(i));
        });
        return s;
    }
};

}  // namespace

// A scripted run of clicks: every object under the pointer is taken, Shift
// toggles, a plain click elsewhere clears, objects built on others are never
// taken, hidden ones are.
TEST(Selection, ClicksSelectEverythingUnderThePointer) {
    struct Step {
        const char* what;
        int x, y, mode;
        bool changed;
        std::set<std::string> selected;
    };
    const std::vector<Step> script{
        {"point on a segment", 100, 100, 0, true, {"po1", "li1"}},
        {"shift on empty space", 700, 500, 1, false, {"po1", "li1"}},
        {"plain on empty space", 700, 500, 0, true, {}},
        {"shift on an empty selection", 100, 100, 1, true, {"po1", "li1"}},
        {"shift again", 100, 100, 1, true, {}},
        {"a dependent point", 600, 100, 0, false, {}},
        {"a hidden point", 650, 100, 0, true, {"po3"}},
        {"shift adds the triangle", 250, 320, 1, true, {"po3", "tr1"}},
        {"plain replaces", 500, 200, 0, true, {"ci1"}},
    };
    Picture p;
    for (const Step& s : script) {
        SCOPED_TRACE(s.what);
        EXPECT_EQ(SelectAt(*p, s.x, s.y, s.mode, false), s.changed);
        EXPECT_EQ(p.Selected(), s.selected);
        EXPECT_EQ(p->SelCount, static_cast<int>(s.selected.size()));
    }
    EXPECT_EQ(p->UndoPos, 7);  // selecting took no undo step
}

// The marks: a single object shows its handles in the shape colour, a group
// everything in the move colour; select-none clears every mark, in the
// records and the working copies.
TEST(Selection, MarksFollowTheSelection) {
    Picture p;
    SelectAt(*p, 120, 100, 0, false);  // the segment alone
    const DLine& l = Obj<Kind::li>(*p, 1);
    EXPECT_TRUE(l.Selected);
    EXPECT_EQ(l.SelColor, kMove);
    EXPECT_EQ(l.P1.SelColor, kShape);
    EXPECT_EQ(l.P3.SelColor, kMove);
    SelectAt(*p, 250, 320, 1, false);  // and the triangle: now a group
    EXPECT_EQ(l.P1.SelColor, kMove);
    const DTri& t = Obj<Kind::tr>(*p, 1);
    EXPECT_TRUE(t.S[2].P1.Selected);
    EXPECT_EQ(t.S[2].SelColor, kMove);
    SelectAt(*p, 120, 100, 1, false);  // the triangle alone: its sides and vertices are handles
    EXPECT_EQ(t.S[2].SelColor, kShape);
    EXPECT_EQ(t.S[3].P2.SelColor, kShape);
    EXPECT_FALSE(l.Selected);

    SetCurObjIndex(*p, ListPosition(*p.doc, Kind::tr, 1));
    SelectCurrentObject(*p, p->Dialogs, true);
    ReloadCurrentSelected(*p);
    EXPECT_TRUE(p->Copies.CurTri.S[1].Selected);
    SelectNone(*p);
    EXPECT_EQ(p->SelCount, 0);
    EXPECT_FALSE(t.S[1].P1.Selected);
    EXPECT_FALSE(p->Copies.CurTri.S[1].Selected);
    EXPECT_TRUE(p.Selected().empty());
}

// The handle under the pointer of a single selected object.
TEST(Selection, DragHandles) {
    struct Case {
        int x, y;
        bool any;
        int handle;
    };
    Picture p;
    SelectAt(*p, 250, 320, 0, false);  // the triangle of type 4
    const std::vector<Case> cases{
        {200, 300, true, 24}, {300, 300, true, 25}, {230, 380, true, 26},
        {250, 300, true, 21}, {265, 340, true, 22}, {250, 320, true, 0}, {100, 100, false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AnyObjectAt(*p, c.x, c.y), c.any) << c.x << "," << c.y;
        EXPECT_EQ(p->DragHandle, c.handle) << c.x << "," << c.y;
    }
    SelectAt(*p, 100, 100, 1, false);  // a group: no handles
    EXPECT_TRUE(AnyObjectAt(*p, 200, 300));
    EXPECT_EQ(p->DragHandle, 0);
}

// The commands that follow the selection.
TEST(Selection, CommandStatesFollowTheCount) {
    Picture p;
    FakeCommands& c = p.commands;
    c.down[EditingCommand::EditTool] = true;
    c.down[EditingCommand::TransSelected] = true;
    SelectAllObjects(*p);
    EXPECT_EQ(p->SelCount, 5);  // all but the dependent point
    EXPECT_EQ(c.On(EditingCommand::SelectAll), 1);  // 5 of 6
    EXPECT_EQ(c.On(EditingCommand::Export), 0);
    EXPECT_EQ(c.On(EditingCommand::TransSelected), 1);
    EXPECT_EQ(c.On(EditingCommand::DeselectCurrent), 1);  // the hidden point is current and selected

    DeselectCurrentCommand(*p);
    EXPECT_EQ(p->SelCount, 4);
    EXPECT_EQ(c.On(EditingCommand::SelectCurrent), 1);
    SelectNoneCommand(*p);
    EXPECT_EQ(c.On(EditingCommand::EditTool), 0);
    EXPECT_FALSE(c.IsDown(EditingCommand::EditTool));
    EXPECT_TRUE(c.IsDown(EditingCommand::SelectTool));
    EXPECT_FALSE(c.IsDown(EditingCommand::TransSelected));
    EXPECT_TRUE(c.IsDown(EditingCommand::TransCurrent));
    EXPECT_EQ(c.On(EditingCommand::Print), 1);
    EXPECT_EQ(p->UndoHeld, 1);  // the buttons leave undo held as they found it

    p.held.reset();
    const int pos = p->UndoPos;
    SelectCurrentCommand(*p);
    EXPECT_EQ(p->SelCount, 1);
    EXPECT_EQ(p->UndoPos, pos);
    EXPECT_EQ(p->UndoHeld, 0);
}
