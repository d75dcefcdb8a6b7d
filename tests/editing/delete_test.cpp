#include <gtest/gtest.h>

#include <map>
#include <set>
#include <random>

#include "model/defining_points.h"
#include "editing/delete_objects.h"
#include "editing/new_objects.h"
#include "editing/object_list.h"
#include "editing/selection.h"
#include "editing_fixture.h"
#include "files/doc_fixture.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// Every object's ID in list order.
std::vector<std::string> Ids(EditingState& st) {
    std::vector<std::string> ids;
    ForEachKind([&](auto kc) {
        auto& store = KindT<decltype(kc)::value>::store(st.Proj->Obj);
        for (std::size_t i = 1; i <= store.count(); ++i) ids.push_back(store[i].ID.s);
    });
    return ids;
}

std::string IdOf(EditingState& st, int kind, int index) {
    Kind k;
    if (!KindFromNumber(kind, k) || index < 1 || index > st.Proj->Obj.count(k)) return "?";
    return VisitKind(k, [&](auto kc) { return KindT<kc.value>::store(st.Proj->Obj)[static_cast<std::size_t>(index)].ID.s; });
}

// For every object, the IDs its defining points are linked to ("" free).
std::map<std::string, std::vector<std::string>> Links(EditingState& st) {
    std::map<std::string, std::vector<std::string>> links;
    ForEachKind([&](auto kc) {
        auto& store = KindT<decltype(kc)::value>::store(st.Proj->Obj);
        for (std::size_t i = 1; i <= store.count(); ++i)
            ForEachDefiningPoint(store[i], [&](DPoint& p) {
                links[store[i].ID.s].push_back(p.Link.linked() ? IdOf(st, p.Link.kind(), p.Link.index()) : "");
            });
    });
    return links;
}

std::set<std::string> SelectedIds(EditingState& st) {
    std::set<std::string> s;
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        for (int i = 1; i <= st.Proj->Obj.count(K); ++i)
            if (IsSelected(st, K, i)) s.insert(IdOf(st, KindNumber(K), i));
    });
    return s;
}

std::string CurrentId(EditingState& st) {
    Kind k;
    if (!CurrentKind(st, k)) return "";
    return IdOf(st, KindNumber(k), CurrentEntryIndex(st));
}

// Points, segments and ellipses with random links between them, random
// objects selected and a random current object.
void RandomDocument(Editing& e, std::mt19937& rng) {
    auto coin = [&](double p) { return std::bernoulli_distribution(p)(rng); };
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(1, n)(rng); };
    DSubProj& o = e.doc->Obj;
    const int np = pick(7) + 1, nl = pick(5), nc = pick(4);
    for (int i = 1; i <= np; ++i) {
        DPoint p = MakePoint(i);
        p.ID.s = "p" + std::to_string(i);
        o.Po.add(p);
    }
    for (int i = 1; i <= nl; ++i) {
        DLine l = MakeLine(i);
        l.ID.s = "l" + std::to_string(i);
        if (coin(0.5)) l.P1.Link = LinkTo(1, pick(np));
        if (coin(0.3)) l.P2.Link = LinkTo(1, pick(np));
        o.Li.add(l);
    }
    for (int i = 1; i <= nc; ++i) {
        DCircle c = MakeCircle(i);
        c.ID.s = "c" + std::to_string(i);
        if (coin(0.4)) c.Center.Link = coin(0.5) ? LinkTo(1, pick(np)) : LinkTo(2, pick(nl), 2);
        o.Ci.add(c);
    }
    UpdateObjectList(*e, false, false);
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        for (int i = 1; i <= o.count(K); ++i)
            if (coin(0.3)) {
                e->Sel[Slot(K)].set(static_cast<std::size_t>(i));
                ++e->SelCount;
            }
    });
    SetCurObjIndex(*e, pick(o.ObjTotal) - 1);
    SelectCurrentObject(*e, e->Dialogs, true);
}

}  // namespace

// Deleting the selected objects of random documents: either the command is
// refused because a remaining object is built on a doomed one, and nothing
// changes, or the selected objects go and every remaining link, the current
// object and its index still name the same objects.
TEST(Delete, SelectedObjectsKeepEveryReferenceRight) {
    std::mt19937 rng(2024);
    int deleted = 0, refused = 0;
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        Editing e;
        RandomDocument(e, rng);
        if (e->SelCount == 0 || e->SelCount == e->Proj->Obj.ObjTotal) continue;
        // With the current object the only one selected the window offers the current object.
        if (e->SelCount == 1 && CurrentSelectedKind(*e) != 0) continue;
        const auto ids = Ids(*e);
        const auto links = Links(*e);
        const auto selected = SelectedIds(*e);
        const std::string current = CurrentId(*e);
        bool breaks = false;
        for (const auto& [id, targets] : links)
            for (const std::string& t : targets)
                breaks = breaks || (!selected.count(id) && selected.count(t));

        e.questions.answers.push_back({true, 2});
        DeleteObjects(*e);
        ASSERT_EQ(e.questions.deleteAsked.size(), 1u);
        EXPECT_EQ(e.questions.deleteAsked[0].chosen, 1);
        if (breaks) {
            ++refused;
            EXPECT_EQ(Ids(*e), ids);
            EXPECT_EQ(e.messages.shown, std::vector<std::string>{"Нельзя удалять сгруппированные объекты"});
            continue;
        }
        ++deleted;
        std::vector<std::string> kept;
        for (const std::string& id : ids)
            if (!selected.count(id)) kept.push_back(id);
        EXPECT_EQ(Ids(*e), kept);
        for (const auto& [id, targets] : Links(*e)) EXPECT_EQ(targets, links.at(id)) << id;
        EXPECT_EQ(e->SelCount, 0);
        if (!selected.count(current)) {
            EXPECT_EQ(CurrentId(*e), current);
            Kind k;
            ASSERT_TRUE(CurrentKind(*e, k));
            EXPECT_EQ(e->Work->index(k), CurrentEntryIndex(*e));  // a commit stores it where it lives
        }
        EXPECT_EQ(e->UndoPos, 2);
    }
    EXPECT_GT(deleted, 20);
    EXPECT_GT(refused, 5);
}

// Deleting the current object: the selection bits above it follow it down,
// whether it was selected or not, links follow, and the entry before it
// becomes current.
TEST(Delete, CurrentObjectKeepsTheSelectionOnTheSameObjects) {
    std::mt19937 rng(77);
    int deleted = 0;
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        Editing e;
        RandomDocument(e, rng);
        const auto links = Links(*e);
        const std::string current = CurrentId(*e);
        bool referenced = false;
        for (const auto& [id, targets] : links)
            for (const std::string& t : targets) referenced = referenced || (t == current && id != current);
        auto selected = SelectedIds(*e);
        const int before = e->CurObjIndex;
        SetChanged(*e, false);
        const auto ids = Ids(*e);

        e.questions.answers.push_back({true, 1});
        DeleteObjects(*e);
        if (referenced || ids.size() == 1 || static_cast<int>(ids.size()) == e->SelCount) {
            EXPECT_EQ(Ids(*e), ids);
            continue;
        }
        ++deleted;
        selected.erase(current);
        EXPECT_EQ(SelectedIds(*e), selected);
        EXPECT_EQ(e->SelCount, static_cast<int>(selected.size()));
        for (const auto& [id, targets] : Links(*e)) EXPECT_EQ(targets, links.at(id)) << id;
        EXPECT_EQ(e->CurObjIndex, before > 0 ? before - 1 : 0);
        EXPECT_EQ(e.list.index, e->CurObjIndex);
        EXPECT_EQ(e->UndoPos, 2);  // one step, though the selected current object was deselected
        EXPECT_TRUE(e->Changed);
    }
    EXPECT_GT(deleted, 50);
}

// The example of points 1 to 5: 2 and 4 selected with a segment, the segment
// on old point 5; afterwards old 1, 3, 5 are points 1, 2, 3 and the segment
// names point 3; the command states follow the counts.
TEST(Delete, PointsInTheMiddleAndTheCommands) {
    Editing e;
    for (int i = 1; i <= 50; ++i) {
        DPoint p = MakePoint(i);
        p.ID.s = "p" + std::to_string(i);
        e.doc->Obj.Po.add(p);
    }
    DLine l = MakeLine(1);
    l.P1.Link = LinkTo(1, 5);
    e.doc->Obj.Li.add(l);
    DLine l2 = MakeLine(2);
    l2.ID.s = "gone";
    e.doc->Obj.Li.add(l2);
    UpdateObjectList(*e, false, false);
    for (auto [k, i] : {std::pair{Kind::po, 2}, std::pair{Kind::po, 4}, std::pair{Kind::li, 2}}) {
        SelectCur(*e, k, i, true);
        ++e->SelCount;
    }
    e.questions.answers.push_back({true, 2});
    DeleteObjects(*e);
    EXPECT_EQ(Obj<Kind::po>(*e, 2).ID.s, "p3");
    EXPECT_EQ(Obj<Kind::po>(*e, 3).ID.s, "p5");
    EXPECT_EQ(Obj<Kind::li>(*e, 1).P1.Link.index(), 3);
    EXPECT_EQ(e->Proj->Obj.Li.count(), 1);
    EXPECT_EQ(e->SelCount, 0);
    EXPECT_EQ(e.commands.On(EditingCommand::NewObject, Kind::po), 1);  // 48 points: room again
    EXPECT_EQ(e.commands.On(EditingCommand::Delete), 1);
    EXPECT_EQ(e.commands.drawToolRefreshes, 1);

    // Nothing selected: the current object, the choice fixed; one object left: no Yes.
    e.questions.answers.push_back({true, 1});
    DeleteObjects(*e);
    EXPECT_FALSE(e.questions.deleteAsked.back().choiceEnabled);
    EXPECT_EQ(e.questions.deleteAsked.back().chosen, 0);
    while (e->Proj->Obj.ObjTotal > 1) {
        e.questions.answers.push_back({true, 1});
        const int total = e->Proj->Obj.ObjTotal;
        DeleteObjects(*e);
        if (e->Proj->Obj.ObjTotal == total) {  // the segment holds point 3
            SetCurObjIndex(*e, e->Proj->Obj.ObjTotal - 1);
            SelectCurrentObject(*e, e->Dialogs, true);
        }
    }
    EXPECT_EQ(e.commands.On(EditingCommand::Delete), 0);
    e.questions.answers.push_back({true, 1});
    DeleteObjects(*e);
    EXPECT_FALSE(e.questions.deleteAsked.back().yesEnabled);
    EXPECT_TRUE(e.questions.deleteAsked.back().cannotDeleteAll);
    EXPECT_EQ(e->Proj->Obj.ObjTotal, 1);
}

TEST(Delete, ShiftedSelection) {
    SelectionSet s;
    for (int i : {1, 3, 4, 7, 255}) s.set(static_cast<std::size_t>(i));
    SelectionSet want;
    for (int i : {1, 3, 6, 254}) want.set(static_cast<std::size_t>(i));
    EXPECT_EQ(ShiftedSelection(s, 4), want);
    EXPECT_EQ(ShiftedSelection(s, 2).count(), 5u);
}

// Links to later objects of the deleted kind move down one, a link to the
// deleted object itself is cleared, others stay; the working copies follow.
TEST(Delete, RenumberLinks) {
    Editing e;
    const std::vector<std::pair<DLink, DLink>> cases{
        {LinkTo(1, 2), LinkTo(1, 2)},       // below
        {LinkTo(1, 3), DLink{}},            // the deleted point
        {LinkTo(1, 4), LinkTo(1, 3)},       // above
        {LinkTo(2, 5, 1), LinkTo(2, 5, 1)}, // another kind
    };
    for (const auto& [before, after] : cases) {
        DLine l = MakeLine(1);
        l.P1.Link = before;
        e.doc->Obj.Li.add(l);
    }
    e->Copies.CurTri.S[2].P1.Link = LinkTo(1, 9);
    RenumberLinks(*e, Kind::po, 3);
    for (std::size_t i = 1; i <= cases.size(); ++i) EXPECT_EQ(Obj<Kind::li>(*e, i).P1.Link.b, cases[i - 1].second.b) << i;
    EXPECT_EQ(e->Copies.CurTri.S[2].P1.Link.index(), 8);
}
