#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <random>

#include "editing/commit.h"
#include "editing/kept_copies.h"
#include "editing/new_objects.h"
#include "editing/nesting.h"
#include "editing/object_list.h"
#include "editing/role_tables.h"
#include "editing/undo_store.h"
#include "edit_tool.h"
#include "editing_fixture.h"
#include "files/doc_fixture.h"
#include "model/geometry.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

}  // namespace

// A point of a side of a face of a pyramid, edited in its own dialog, reaches
// the stored pyramid; the open dialogs are refilled from what was stored.
TEST(Commit, NestedPartReachesTheDocument) {
    Editing e;
    ASSERT_TRUE(NewPyramid3(*e, true, false, false));
    ASSERT_TRUE(OpenPart(*e, Kind::tr, 7));
    ASSERT_TRUE(OpenPart(*e, Kind::li, 4));
    ASSERT_TRUE(OpenPart(*e, Kind::po, 1));
    e->Dialogs.Create(Kind::li);  // both part dialogs open
    e.dialogs.log.clear();

    // The label's angle: face vertices take their positions and names from
    // the pyramid's base and apex, their label placement is their own.
    e->Copies.CurPoint.LabelAngle.v = 77;
    ApplyObject(*e, true);
    EXPECT_EQ(Obj<Kind::i3>(*e, 1).Face[2].S[1].P1.LabelAngle.v, 77);
    EXPECT_EQ(e->Copies.CurTri.S[1].P1.LabelAngle.v, 77);  // reloaded down again
    EXPECT_EQ(e->Copies.CurPoint.LabelAngle.v, 77);
    std::vector<std::string> fills;
    for (const std::string& l : e.dialogs.log) fills.push_back(l.substr(0, 7));
    EXPECT_EQ(fills, (std::vector<std::string>{"fill li", "fill po"}));
    EXPECT_TRUE(e->Changed);
    EXPECT_EQ(e->UndoPos, 3);  // the creation and the commit
}

// Editing a segment that is built on a point and carries a point built on
// it: the carried point follows, though the segment's creation number is 2.
TEST(Commit, DependantsOfADependentObjectFollow) {
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
    SetPos(e->Copies.CurLine.P2, {0, 333, 44});
    ApplyObject(*e, false);
    EXPECT_EQ(Pos(Obj<Kind::po>(*e, 2)).y, 333);
    EXPECT_EQ(Pos(Obj<Kind::po>(*e, 2)).z, 44);
    EXPECT_EQ(Pos(Obj<Kind::li>(*e, 1).P1).y, 10);  // still on its own base point
}

// Traced curves lie where their system stood: a 2D and a 3D system moved in their dialogs, and a 2D system
// moved by the point its centre is linked to, trace them again; a change leaving a system in place keeps them.
TEST(Commit, MovedSystemsTraceTheirCurvesAgain) {
    Editing e;
    DPoint base;
    PlacedPoint(base, 0, 200, 300);
    base.Number = 1;
    DXOY linked = NumberedXOY(1);
    linked.Number = 2, linked.Center.Link = LinkTo(1, 1);
    ASSERT_TRUE(NewPoint(*e, false, false, true, base) && NewXOY(*e, false, false, true, linked) &&
                NewXOY(*e, false, false, true, NumberedXOY(2)) && NewXYZ(*e, false, false, true, NumberedXYZ(1)));
    auto edit = [&](Kind k, int i, auto change) {
        ShowCurrent(*e, k, i);
        change();
        ApplyObject(*e, true);
    };
    // Each system as a commit leaves it, its curves traced there.
    for (auto [k, i] : {std::pair{Kind::xy, 1}, {Kind::xy, 2}, {Kind::xz, 1}}) edit(k, i, [] {});
    DSubProj& o = e->Proj->Obj;
    o.Xy[1].Curves.Valid = o.Xy[2].Curves.Valid = o.Xz[1].Curves[23].Valid = o.Xz[1].Outlines[3].Lines.Valid = 1;
    edit(Kind::xy, 2, [&] { e->Copies.CurXOY.Thick.v += 1; });
    EXPECT_EQ(o.Xy[2].Curves.Valid, 1) << "the system stays";
    edit(Kind::xy, 2, [&] { e->Copies.CurXOY.Center.Y.v += 40; });
    EXPECT_EQ(o.Xy[2].Curves.Valid, 0) << "the centre moved";
    edit(Kind::xz, 1, [&] { e->Copies.CurXZ.AxisY.P2.Y.v += 40; });
    EXPECT_EQ(o.Xz[1].Curves[23].Valid + o.Xz[1].Outlines[3].Lines.Valid, 0) << "an axis moved";
    EXPECT_EQ(o.Xy[1].Curves.Valid, 1);
    edit(Kind::po, 1, [&] { e->Copies.CurPoint.Y.v += 40; });
    EXPECT_EQ(o.Xy[1].Curves.Valid, 0) << "the linked centre moved";
}

// Without the commit switch, and with undo off, the commit does less; a
// change that overflows is refused.
TEST(Commit, SwitchesAndUndoOff) {
    Editing e;
    ASSERT_TRUE(NewCircle(*e, true, false, false));
    const int pos = e->UndoPos;
    e->ApplyEnabled = 0;
    e->Copies.CurCircle.ID.s = "renamed";
    ApplyObject(*e, false);
    EXPECT_TRUE(e->Changed);
    EXPECT_NE(Obj<Kind::ci>(*e, 1).ID.s, "renamed");
    EXPECT_EQ(e->UndoPos, pos);

    e->ApplyEnabled = 1;
    e->UndoOn = false;
    e.commands.enabled.clear();
    ApplyObject(*e, false);
    EXPECT_EQ(Obj<Kind::ci>(*e, 1).ID.s, "renamed");
    EXPECT_EQ(e->UndoPos, pos);
    EXPECT_EQ(e.commands.On(EditingCommand::Undo), -1);
    EXPECT_FALSE(std::filesystem::exists(UndoFileName(e->UndoFolder, pos)));

    // A change whose geometry overflows could never be saved: it is
    // refused with a message, the object and its dialog keep what they had.
    ASSERT_TRUE(NewPoint(*e, true, false, false));
    const double x = Obj<Kind::po>(*e, 1).X.v;
    e->Copies.CurPoint.X.v = std::numeric_limits<double>::infinity();
    e.messages.shown.clear();
    ApplyObject(*e, false);
    EXPECT_EQ(Obj<Kind::po>(*e, 1).X.v, x);
    EXPECT_EQ(e->Copies.CurPoint.X.v, x);
    ASSERT_EQ(e.messages.shown.size(), 1u);
    EXPECT_EQ(e.messages.shown[0].rfind("Слишком большое значение", 0), 0u);
}

// Which changes make the fill picture stale.
TEST(Commit, FillFieldsDecideTheFillPicture) {
    auto base = DocumentOfEveryKind(2);
    for (std::size_t i = 1; i <= base->Obj.Tr.count(); ++i) base->Obj.Tr[i].Fill.On = true;
    base->Obj.Ci[1].Fill.On = true;
    base->Obj.R4[1].Fill.On = true;
    base->Obj.Zi[1].Fill.On = true;
    base->Obj.Kv[1].Fill.On = false;
    base->Obj.Xz[1].Outlines[3].GradientOn = base->Obj.Xz[1].SurfOn[4].v = true;  // shaded
    struct Case {
        const char* what;
        std::function<void(DProj&)> change;
        bool stale;
    };
    const std::vector<Case> cases{
        {"a vertex label", [](DProj& d) { d.Obj.Tr[1].S[1].P1.Name.s = "Z"; }, false},
        {"a vertex by 0.00002", [](DProj& d) { d.Obj.Tr[1].S[2].P1.X.v += 0.00002; }, true},
        {"a vertex by 0.000001", [](DProj& d) { d.Obj.Tr[1].S[2].P1.X.v += 0.000001; }, false},
        {"a picture position", [](DProj& d) { d.Obj.Tr[2].S[3].P1.ScrY.v += 1; }, true},
        {"a height line (not filled geometry)", [](DProj& d) { d.Obj.Tr[1].Lines[1].P2.X.v += 5; }, false},
        {"fill turned off", [](DProj& d) { d.Obj.Tr[1].Fill.On = false; }, true},
        {"fill turned on", [](DProj& d) { d.Obj.Kv[1].Fill.On = true; }, true},
        {"layer of an unfilled tetragon", [](DProj& d) { d.Obj.Kv[1].Layer.v = 7; }, false},
        {"layer of a filled triangle", [](DProj& d) { d.Obj.Tr[1].Layer.v = 7; }, true},
        {"hidden flag", [](DProj& d) { d.Obj.Tr[2].Disabled.v = true; }, true},
        {"a fill colour", [](DProj& d) { d.Obj.Ci[1].Fill.Colors[2] ^= 1; }, true},
        {"an ellipse correction", [](DProj& d) { d.Obj.Ci[1].CorB2 = 1; }, true},
        {"a prism's edge", [](DProj& d) { d.Obj.R4[1].EdgeLen.v += 1; }, true},
        {"a prism's upper base (a filled face)", [](DProj& d) { d.Obj.R4[1].Base[2].S[1].P1.X.v += 1; }, true},
        {"a cylinder's axis end", [](DProj& d) { d.Obj.Zi[1].Axis.P2.Z.v += 1; }, true},
        {"a shaded 3D system's axis end", [](DProj& d) { d.Obj.Xz[1].AxisZ.P2.ScrY.v += 1; }, true},
        {"an unshaded 3D system", [](DProj& d) { d.Obj.Xz[2].Center.Y.v += 1; }, false},
        {"an unfilled cylinder", [](DProj& d) { d.Obj.Zi[2].Axis.P2.Z.v += 1; }, false},
        {"an unfilled tetragon deleted", [](DProj& d) { d.Obj.Kv.erase(1); }, false},
        {"a filled ellipse pasted", [](DProj& d) { d.Obj.Ci.add(d.Obj.Ci[1]); }, true},
        {"the first of two filled triangles deleted", [](DProj& d) { d.Obj.Tr.erase(1); }, true},
    };
    const FillSignature before = TakeFillSignature(*base);
    for (const Case& c : cases) {
        auto doc = std::make_unique<DProj>(*base);
        c.change(*doc);
        EXPECT_EQ(FillSignaturesDiffer(before, TakeFillSignature(*doc)), c.stale) << c.what;
    }
}

// Through the commit: fill off clears FillValid, a label keeps it.
TEST(Commit, CommitClearsFillValid) {
    Editing e;
    DTri t = MakeTriangle(1);
    t.Fill.On = true;
    ASSERT_TRUE(NewTriangle(*e, true, false, true, t));
    e->Proj->FillValid = 1;
    e->Copies.CurTri.S[1].P1.Name.s = "K";
    ApplyObject(*e, false);
    EXPECT_EQ(e->Proj->FillValid, 1);
    e->Copies.CurTri.Fill.On = false;
    ApplyObject(*e, false);
    EXPECT_EQ(e->Proj->FillValid, 0);
}

namespace {

// Every kind's working copy as the document text writes it, each as object 1
// of its kind.
std::string CopiesText(const WorkingCopies& w) {
    auto doc = NewDocument();
    ForEachKind([&](auto kc) { KindT<kc.value>::store(doc->Obj).add(KindT<kc.value>::work(w)); });
    return DocumentText(*doc, WindowsFromRecord(*doc), doc->Role, ',');
}

}  // namespace

// The trial commit of a typed number, over random nesting paths: run with
// only TrialKinds kept aside it gives what it gives on a whole copy, and
// putting them back restores every working copy.  Each part carries its path
// as its ID, so a part written back into a kind not kept is seen.
TEST(Commit, TrialOnTheKeptKindsIsTheTrialOnAWholeCopy) {
    std::mt19937 rng(49);
    KeptCopies kept;  // used again, as a dialog uses it
    for (int round = 0; round < 24; ++round) {
        Editing e;
        const Kind cur = static_cast<Kind>(std::uniform_int_distribution<int>(1, KindCount)(rng));
        MakeCurrent(*e, cur);
        ForEachKind([&](auto kc) {
            StampPaths(KindT<kc.value>::work(*e->Work), InfoOf(kc.value).code);
            e->DialogOpen[Slot(kc.value)] = rng() % 2 == 0;
        });
        for (Kind level : PartLevels) {
            std::vector<int> roles{0};
            for (const RoleSlot& s : RoleSlots())
                if (KindOfCode(s.level) == level) roles.push_back(s.role);
            e->Proj->Role[Slot(level)] = static_cast<std::uint8_t>(roles[rng() % roles.size()]);
        }
        SCOPED_TRACE(std::string(InfoOf(cur).code) + " round " + std::to_string(round));
        const std::string before = CopiesText(*e->Work);

        auto whole = std::make_unique<WorkingCopies>(*e->Work);
        WorkingCopies* const real = e->Work;
        e->Work = whole.get();
        TrialCommit(*e, true);
        e->Work = real;

        kept.keep(*e->Work, TrialKinds(*e));
        TrialCommit(*e, true);
        EXPECT_EQ(CopiesText(*e->Work), CopiesText(*whole));
        kept.putBack(*e->Work);
        EXPECT_EQ(CopiesText(*e->Work), before);
    }
}
