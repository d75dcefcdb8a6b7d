#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "model/edit_state.h"

using namespace pelmar;

namespace {

std::size_t Slot(Kind k) { return static_cast<std::size_t>(k) - 1; }

bool Shared(Kind k) { return k == Kind::i3 || k == Kind::i4 || k == Kind::r3 || k == Kind::r4; }

// The other kind of a shared dialog.
Kind Partner(Kind k) {
    switch (k) {
        case Kind::i3: return Kind::i4;
        case Kind::i4: return Kind::i3;
        case Kind::r3: return Kind::r4;
        case Kind::r4: return Kind::r3;
        default: return k;
    }
}

// Stands in for the object dialogs: open flags, and a log of what was done.
class FakeDialogs : public ObjectDialogs {
public:
    explicit FakeDialogs(const EditState& st) : st_(st) {}

    std::array<bool, KindCount> open{};
    std::vector<std::string> log;
    std::vector<std::string> filled;    // ID of each record filled in
    std::vector<int> applyWhileFilling;  // ApplyEnabled at each fill
    int buttonsDisabled = 0;

    bool IsOpen(Kind k) const override { return open[Slot(k)]; }
    void SetOpen(Kind k, bool on) override {
        ASSERT_TRUE(Shared(k)) << "only shared dialogs have their flags set from outside";
        open[Slot(k)] = on;
    }
    void Create(Kind k) override {
        log.push_back(std::string("create ") + InfoOf(k).code);
        open[Slot(k)] = true;
    }
    void Close(Kind k) override {
        log.push_back(std::string("close ") + InfoOf(k).code);
        open[Slot(k)] = false;
        open[Slot(Partner(k))] = false;  // the shared dialog's close handler clears both flags
    }
    // The dialog shows the kind's working copy.
    void Refill(Kind k) override {
        const WorkingCopies& w = *st_.Work;
        const std::string* ids[] = {&w.CurPoint.ID.s, &w.CurLine.ID.s, &w.CurCircle.ID.s, &w.CurTri.ID.s,
                                    &w.CurKv.ID.s,    &w.CurXOY.ID.s,  &w.CurSf.ID.s,     &w.CurZi.ID.s,
                                    &w.CurKo.ID.s,    &w.CurPi3.ID.s,  &w.CurPi4.ID.s,    &w.CurPr3.ID.s,
                                    &w.CurPr4.ID.s,   &w.CurXZ.ID.s};
        Filled(k, *ids[Slot(k)]);
    }
    void DisableToKindButtons() override { ++buttonsDisabled; }

    int OpenCount() const {
        int n = 0;
        for (bool b : open) n += b;
        return n;
    }

private:
    void Filled(Kind k, const std::string& id) {
        EXPECT_TRUE(IsOpen(k)) << "filled a closed dialog";
        filled.push_back(std::string(InfoOf(k).code) + ":" + id);
        applyWhileFilling.push_back(st_.ApplyEnabled);
    }
    const EditState& st_;
};

// A document with two objects of every kind, named by kind code and index,
// listed kind by kind.
class Selection : public ::testing::Test {
protected:
    void SetUp() override {
        st.Proj = proj.get();
        st.Work = work.get();
        int n = 0;
        int kind = 0;
        ForEachStore(proj->Obj, [&](auto& store) {
            ++kind;
            store.resize(2);
            for (std::size_t i = 1; i <= 2; ++i) {
                const char* code = KindTable[static_cast<std::size_t>(kind - 1)].code;
                store[i].ID.s = std::string(code) + std::to_string(i);
                ObjListEntry& e = st.ObjList[static_cast<std::size_t>(n++)];
                std::memcpy(e.code, code, 2);
                e.index = static_cast<std::uint8_t>(i);
            }
        });
        proj->Obj.ObjTotal = n;
        proj->Role.fill(3);
        st.FormTrTab = st.FormKvTab = st.FormXYTab = st.FormXZTab = 2;
    }

    // Position in the object list of object i of kind k.
    static int Entry(Kind k, int i) { return 2 * (static_cast<int>(k) - 1) + (i - 1); }

    void Select(Kind k, int i, bool fill = true) {
        st.CurObjIndex = Entry(k, i);
        SelectCurrentObject(st, dialogs, fill);
    }

    void ExpectCleanState() {
        EXPECT_EQ(st.ApplyEnabled, 1);
        for (auto r : proj->Role) EXPECT_EQ(r, 0);
        EXPECT_EQ(st.FormTrTab, 1);
        EXPECT_EQ(st.FormKvTab, 1);
        EXPECT_EQ(st.FormXYTab, 1);
        EXPECT_EQ(st.FormXZTab, 1);
        EXPECT_GE(dialogs.buttonsDisabled, 1);
    }

    std::unique_ptr<DProj> proj = NewDocument();
    std::unique_ptr<WorkingCopies> work = std::make_unique<WorkingCopies>();
    EditState st;
    FakeDialogs dialogs{st};
};

TEST_F(Selection, EveryKindLeavesExactlyItsOwnDialogOpen) {
    for (const auto& info : KindTable) {
        const Kind k = info.kind;
        dialogs.filled.clear();
        dialogs.buttonsDisabled = 0;
        proj->Role.fill(5);
        Select(k, 2);
        EXPECT_EQ(dialogs.OpenCount(), 1) << info.code;
        EXPECT_TRUE(dialogs.IsOpen(k)) << info.code;
        EXPECT_EQ(work->index(k), 2) << info.code;
        ASSERT_EQ(dialogs.filled.size(), 1u) << info.code;
        EXPECT_EQ(dialogs.filled[0], std::string(info.code) + ":" + info.code + "2");
        ExpectCleanState();
    }
    EXPECT_EQ(work->CurPoint.ID.s, "po2");
    EXPECT_EQ(work->CurPi4.ID.s, "i42");
    EXPECT_EQ(work->CurXZ.ID.s, "xz2");
}

TEST_F(Selection, PointAfterSegmentClosesTheSegmentDialog) {
    Select(Kind::li, 1);
    dialogs.log.clear();
    Select(Kind::po, 2);
    EXPECT_EQ(dialogs.log, (std::vector<std::string>{"create po", "close li"}));
    EXPECT_TRUE(dialogs.IsOpen(Kind::po));
    EXPECT_FALSE(dialogs.IsOpen(Kind::li));
    EXPECT_EQ(work->CurPoint.ID.s, "po2");
    EXPECT_EQ(work->CurLine.ID.s, "li1") << "the segment's working copy keeps its last contents";
}

TEST_F(Selection, SecondTriangleKeepsTheDialogAndRefillsIt) {
    Select(Kind::tr, 1);
    dialogs.log.clear();
    dialogs.filled.clear();
    Select(Kind::tr, 2);
    EXPECT_TRUE(dialogs.log.empty()) << "no dialog created or closed";
    EXPECT_EQ(dialogs.filled, (std::vector<std::string>{"tr:tr2"}));
    EXPECT_EQ(work->CurTri.ID.s, "tr2");
    EXPECT_EQ(work->index(Kind::tr), 2);
}

TEST_F(Selection, SwitchingPyramidSizesKeepsTheSharedDialog) {
    Select(Kind::i3, 1);
    EXPECT_EQ(dialogs.log.back(), "create i3");
    dialogs.log.clear();
    Select(Kind::i4, 2);
    EXPECT_TRUE(dialogs.log.empty()) << "the shared dialog stays";
    EXPECT_FALSE(dialogs.IsOpen(Kind::i3));
    EXPECT_TRUE(dialogs.IsOpen(Kind::i4));
    EXPECT_EQ(work->CurPi4.ID.s, "i42");

    // From a pyramid to a prism: the pyramid dialog is closed once.
    Select(Kind::r3, 1);
    EXPECT_EQ(dialogs.log, (std::vector<std::string>{"close i3", "create r3"}));
    EXPECT_EQ(dialogs.OpenCount(), 1);
    Select(Kind::r4, 1);
    EXPECT_EQ(dialogs.OpenCount(), 1);
    EXPECT_TRUE(dialogs.IsOpen(Kind::r4));
}

TEST_F(Selection, WithoutFillTheDialogIsNotTouched) {
    Select(Kind::ci, 1);
    dialogs.filled.clear();
    Select(Kind::ci, 2, false);
    EXPECT_TRUE(dialogs.filled.empty());
    EXPECT_EQ(work->CurCircle.ID.s, "ci2");
    ExpectCleanState();
}

TEST_F(Selection, CommitsAreOffWhileTheDialogIsFilled) {
    st.ApplyEnabled = 1;
    Select(Kind::kv, 1);
    ASSERT_EQ(dialogs.applyWhileFilling.size(), 1u);
    EXPECT_EQ(dialogs.applyWhileFilling[0], 0);
    EXPECT_EQ(st.ApplyEnabled, 1);
}

TEST_F(Selection, EntryNamingNoObjectOnlyClosesTheDialogs) {
    Select(Kind::sf, 2);
    dialogs.open[Slot(Kind::po)] = true;  // a stray open dialog
    const auto before = work->CurIndex;
    const std::string sphere = work->CurSf.ID.s;

    auto expectNothingChosen = [&](const char* what) {
        dialogs.filled.clear();
        proj->Role.fill(4);
        SelectCurrentObject(st, dialogs, true);
        EXPECT_EQ(dialogs.OpenCount(), 0) << what;
        for (auto r : proj->Role) EXPECT_EQ(r, 0) << what << ": no part counts as open";
        EXPECT_TRUE(dialogs.filled.empty()) << what;
        EXPECT_EQ(work->CurIndex, before) << what;
        EXPECT_EQ(work->CurSf.ID.s, sphere) << what;
        EXPECT_EQ(st.ApplyEnabled, 1) << what;
        dialogs.open[Slot(Kind::zi)] = true;
    };
    st.CurObjIndex = -1;
    expectNothingChosen("no current entry");
    st.CurObjIndex = ObjListSize;
    expectNothingChosen("past the end of the list");
    st.CurObjIndex = 40;  // after the 28 listed objects: "00"
    expectNothingChosen("an empty entry");
    st.CurObjIndex = Entry(Kind::tr, 2);
    proj->Obj.Tr.erase(2);  // the entry is left over from a deleted object
    expectNothingChosen("a deleted object");
}

}  // namespace
