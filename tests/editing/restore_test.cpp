#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "editing/object_list.h"
#include "editing/restore.h"
#include "editing_fixture.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// Two objects of every kind, every record inside them named by its path
// ("zi2.InSphere.Sec[5]"), with the object list built.
struct StampedDocument : Editing {
    StampedDocument() {
        ForEachKind([&](auto kc) {
            constexpr Kind K = decltype(kc)::value;
            auto& store = KindT<K>::store(doc->Obj);
            for (int i = 1; i <= 2; ++i) {
                store.add({});
                StampPaths(store[static_cast<std::size_t>(i)], std::string(InfoOf(K).code) + std::to_string(i));
            }
        });
        UpdateObjectList(*st, false, false);
    }
    // Object 2 of `top` current, the stored roles and dialog set up as the
    // open command leaves them before the restore.
    void Prepare(Kind top, Kind active, const std::vector<std::pair<Kind, int>>& roles) {
        doc->Role.fill(0);
        for (auto [k, r] : roles) doc->Role[Slot(k)] = static_cast<std::uint8_t>(r);
        for (auto& open : st->DialogOpen) open = false;
        st->Dialogs.Create(active);
        SetCurObjIndex(*st, ListPosition(*doc, top, 2));
        dialogs.log.clear();
        commands.enabled.clear();
    }
    std::string WorkId(Kind k) {
        return VisitKind(k, [&](auto kc) { return KindT<kc.value>::work(*st->Work).ID.s; });
    }
};

// Calls f with every choice of one role per step of the row.
void ForEachCombination(const RestoreRow& row, int step, std::vector<std::pair<Kind, int>>& chosen,
                        const std::function<void(const std::vector<std::pair<Kind, int>>&)>& f) {
    if (step == row.count) return f(chosen);
    const RestoreStep& s = row.steps[static_cast<std::size_t>(step)];
    for (int r = 0; r < 32; ++r) {
        if (!((s.roles >> r) & 1u)) continue;
        chosen.push_back({s.level, r});
        ForEachCombination(row, step + 1, chosen, f);
        chosen.pop_back();
    }
}

}  // namespace

// Every row of the table with every role value it lists: each level of the
// path lands in its kind's working copy, the innermost fills the dialog in
// front, the Back-to commands of the levels above it are enabled, only the
// top kind's role byte is cleared.
TEST(Restore, EveryRowOfTheTable) {
    StampedDocument d;
    int combinations = 0;
    for (const RestoreRow& row : RestoreTable()) {
        std::vector<std::pair<Kind, int>> chosen;
        ForEachCombination(row, 0, chosen, [&](const std::vector<std::pair<Kind, int>>& roles) {
            ++combinations;
            std::string trace = std::string(InfoOf(row.top).code) + " -> " + InfoOf(row.active).code + ":";
            for (auto [k, r] : roles) trace += std::string(" ") + InfoOf(k).code + "=" + std::to_string(r);
            SCOPED_TRACE(trace);
            d.Prepare(row.top, row.active, roles);
            ASSERT_TRUE(RestoreCurrentObject(*d, KindNumber(row.active)));

            std::string path = std::string(InfoOf(row.top).code) + "2";
            EXPECT_EQ(d.WorkId(row.top), path);
            EXPECT_EQ(d->Work->index(row.top), 2);
            const char* parent = InfoOf(row.top).code;
            for (auto [k, r] : roles) {
                const RoleSlot* slot = FindRoleSlot(InfoOf(k).code, r, parent);
                ASSERT_NE(slot, nullptr);
                path += std::string(".") + slot->field;
                EXPECT_EQ(d.WorkId(k), path);
                parent = InfoOf(k).code;
            }
            EXPECT_EQ(d.dialogs.LastFill(), std::string(InfoOf(row.active).code) + ":" + path);
            std::set<int> backTo{KindNumber(row.top)};
            for (std::size_t s = 0; s + 1 < roles.size(); ++s) backTo.insert(KindNumber(roles[s].first));
            for (const auto& [key, on] : d.commands.enabled) {
                if (key.first != EditingCommand::BackTo) continue;
                EXPECT_EQ(on, backTo.count(key.second) == 1) << key.second;
            }
            EXPECT_EQ(d.commands.enabled.size(), backTo.size());
            for (auto [k, r] : roles) EXPECT_EQ(d.doc->Role[Slot(k)], r);
        });
    }
    EXPECT_GT(combinations, 1000);
}

// Paths the table does not list, and stray role bytes beside a listed path,
// restore the top-level object in its own dialog with every role byte clear,
// so that no later commit writes a stale working copy into it.
TEST(Restore, UnlistedPathsFallBackToTheTopObject) {
    using enum Kind;
    struct Case {
        const char* what;
        Kind top, active;
        std::vector<std::pair<Kind, int>> roles;
    };
    const std::vector<Case> cases{
        {"point 3 of a segment", li, po, {{po, 8}}},
        {"centre of a cylinder's base", zi, po, {{ci, 7}, {po, 3}}},
        {"radius of a sphere's contour", sf, li, {{ci, 6}, {li, 1}}},
        {"a side with a stray sphere byte", tr, po, {{li, 4}, {po, 1}, {sf, 2}}},
        {"no role bytes at all", kv, ci, {}},
        {"a base of the other pyramid", i4, tr, {{tr, 5}}},
    };
    StampedDocument d;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        d.Prepare(c.top, c.active, c.roles);
        EXPECT_FALSE(RestoreCurrentObject(*d, KindNumber(c.active)));
        for (std::uint8_t r : d.doc->Role) EXPECT_EQ(r, 0);
        EXPECT_FALSE(DialogIsOpen(*d, c.active));
        EXPECT_TRUE(DialogIsOpen(*d, c.top));
        EXPECT_EQ(d.dialogs.LastFill(), std::string(InfoOf(c.top).code) + ":" + InfoOf(c.top).code + "2");
        for (const auto& [key, on] : d.commands.enabled) EXPECT_FALSE(key.first == EditingCommand::BackTo && on);
    }
}

// The object's own dialog in front, and no dialog at all.
TEST(Restore, OwnDialogAndNoDialog) {
    StampedDocument d;
    d.Prepare(Kind::ko, Kind::ko, {});
    EXPECT_TRUE(RestoreCurrentObject(*d, KindNumber(Kind::ko)));
    EXPECT_EQ(d.dialogs.LastFill(), "ko:ko2");
    EXPECT_TRUE(d.commands.enabled.empty());

    d.Prepare(Kind::po, Kind::li, {{Kind::li, 4}});
    for (auto& open : d->DialogOpen) open = false;
    EXPECT_TRUE(RestoreCurrentObject(*d, 0));
    EXPECT_EQ(d.WorkId(Kind::po), "po2");
    EXPECT_EQ(d.dialogs.LastFill(), "");
    EXPECT_EQ(d.doc->Role[Slot(Kind::li)], 0);
}
