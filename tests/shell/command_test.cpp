// The command tables and the enable rules: the no-project state, the states
// after New or Open, the new-object capacities, the tool groups and the
// Back-to family, each against a stand-in for the windows.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "shell/command_rules.h"
#include "shell/command_table.h"
#include "shell/zoom.h"

namespace pelmar {
namespace {

using C = MainCommand;

// Enabled states, every command enabled to begin with.
struct FakeStates : MainCommandStates {
    std::map<MainCommand, bool> on;
    FakeStates() {
        for (int c = 0; c < CommandCount; ++c) on[static_cast<MainCommand>(c)] = true;
    }
    void setEnabled(MainCommand c, bool e) override { on[c] = e; }
    bool enabled(MainCommand c) const override { return on.at(c); }
};

std::string Name(MainCommand c) {
    const CommandInfo& i = InfoOf(c);
    return i.menu ? i.menu : i.tool;
}

std::set<std::string> Disabled(const FakeStates& s) {
    std::set<std::string> out;
    for (const auto& [c, e] : s.on)
        if (!e) out.insert(Name(c));
    return out;
}

TEST(CommandTable, NamesPairUpAndTheMenuAndToolBarUseEveryCommandOnce) {
    std::set<std::string> names;
    for (int n = 0; n < CommandCount; ++n) {
        const CommandInfo& i = InfoOf(static_cast<MainCommand>(n));
        EXPECT_EQ(static_cast<int>(i.command), n);
        for (const char* name : {i.menu, i.tool}) {
            if (!name) continue;
            EXPECT_TRUE(names.insert(name).second) << name;
        }
        if (i.menu) {
            EXPECT_EQ(std::string(i.menu).substr(0, 2), "Me");
        }
        if (i.tool) {
            EXPECT_EQ(std::string(i.tool).substr(0, 2), "TB");
        }
    }
    std::map<MainCommand, int> inMenu, inBar;
    for (const MenuEntry& e : MenuTree)
        if (e.command != C::None) {
            ++inMenu[e.command];
            EXPECT_STREQ(e.name, InfoOf(e.command).menu);
            EXPECT_EQ(e.word, InfoOf(e.command).menuWord) << e.name;
        }
    std::set<std::string> seps;
    for (const ToolItem& t : ToolBarItems) {
        ASSERT_NE(t.name, nullptr);
        if (t.kind == ToolItemKind::Button) ++inBar[t.command];
        if (t.kind == ToolItemKind::Separator) seps.insert(t.name);
    }
    for (int n = 0; n < CommandCount; ++n) {
        const CommandInfo& i = InfoOf(static_cast<MainCommand>(n));
        EXPECT_EQ(inMenu[i.command], i.menu ? 1 : 0) << Name(i.command);
        EXPECT_EQ(inBar[i.command], i.tool ? 1 : 0) << Name(i.command);
    }
    EXPECT_EQ(seps.size(), 8u);

    // The per-kind commands stand for their kinds both ways.
    for (const KindInfo& k : KindTable) {
        EXPECT_EQ(KindOfCommand(NewObjectCommand(k.kind)), k.kind);
        if (k.kind != Kind::po) {
            EXPECT_EQ(KindOfCommand(*BackToCommand(k.kind)), k.kind);
        }
    }
    EXPECT_FALSE(BackToCommand(Kind::po));
    EXPECT_EQ(Name(*BackToCommand(Kind::i3)), "MeToPi3");
    EXPECT_EQ(Name(NewObjectCommand(Kind::i3)), "MeNewI3");
    EXPECT_EQ(Name(RecentFileCommand(5)), "MeFile5");
}

TEST(CommandTable, EachToolGroupShowsExactlyItsButtons) {
    const std::map<ToolGroup, std::set<std::string>> groups{
        {ToolGroup::File, {"TBNew", "TBOpen", "TBSave", "TBSaveAs", "TBClose", "TBExport", "TBPrint", "TBExit", "TBSep1"}},
        {ToolGroup::Back, {"TBToLi", "TBToCi", "TBToTr", "TBToKv", "TBToXY", "TBToSf", "TBToZi", "TBToKo", "TBToPi3",
                           "TBToPi4", "TBToPr3", "TBToPr4", "TBToXZ", "TBSep2"}},
        {ToolGroup::NewD, {"TBNewPo", "TBNewLi", "TBNewCi", "TBNewTr", "TBNewKv", "TBNewXY", "TBNewSf", "TBNewZi",
                           "TBNewKo", "TBNewI3", "TBNewI4", "TBNewR3", "TBNewR4", "TBNewXZ", "TBDelete", "TBSep3"}},
        {ToolGroup::Undo, {"TBUndo", "TBRedo"}},
        {ToolGroup::Copy, {"TBCopy", "TBPaste"}},
        {ToolGroup::Opt, {"TBOptProg", "TBOptProj"}},
        {ToolGroup::Win, {"TBWinObj", "TBWinImg", "TBWinTrans", "TBWinDef"}},
        {ToolGroup::Help, {"TBHelp", "TBAbout"}},
    };
    auto shown = [](const std::array<bool, ToolGroupCount>& flags) {
        std::set<std::string> s;
        for (const ToolItem& t : ToolBarItems)
            if (ToolItemVisible(t, flags)) s.insert(t.name);
        return s;
    };
    const std::set<std::string> always{"ComboObj", "ComboMas", "TBPlay", "TBAnim", "TBSep4",
                                       "TBSep5",   "TBSep6",   "TBSep7", "TBSep8"};
    EXPECT_EQ(shown({}), always);
    for (const auto& [g, buttons] : groups) {
        std::array<bool, ToolGroupCount> flags{};
        flags[static_cast<std::size_t>(g)] = true;
        std::set<std::string> expect = always;
        expect.insert(buttons.begin(), buttons.end());
        EXPECT_EQ(shown(flags), expect) << static_cast<int>(g);
    }
}

struct FakeNoProject : NoProjectHost {
    FakeStates states;
    std::array<bool, KindCount> open{};
    std::vector<KindDialog> closed;
    int undoDeletes = 0, leaves = 0;
    std::string caption = "Pelmar  -  a.pel";
    MainCommandStates& commands() override { return states; }
    std::array<bool, KindCount>& dialogOpen() override { return open; }
    void closeObjectDialog(KindDialog d) override { closed.push_back(d); }
    void deleteUndoFiles() override { ++undoDeletes; }
    void setCaption(const std::string& c) override { caption = c; }
    void leaveDocument() override { ++leaves; }
};

TEST(CommandRules, TheNoProjectStateDisablesWhatNeedsADocument) {
    for (const bool startUp : {true, false}) {
        FakeNoProject h;
        h.open[KindNumber(Kind::li) - 1] = true;
        h.open[KindNumber(Kind::i3) - 1] = h.open[KindNumber(Kind::i4) - 1] = true;
        h.open[KindNumber(Kind::r4) - 1] = true;
        SetNoProjectState(startUp, h);
        std::set<std::string> expect{"MeSave", "MeSaveAs", "MeClose", "MeExport", "MePrint", "MeDel", "MeOptProj",
                                     "TBPlay", "TBAnim", "MeUndo", "MeRedo", "MeCopy", "MePaste", "MeWinObj"};
        for (int c = static_cast<int>(C::ToLi); c <= static_cast<int>(C::NewXZ); ++c)
            expect.insert(Name(static_cast<MainCommand>(c)));
        EXPECT_EQ(Disabled(h.states), expect);
        // The shared pyramid dialog closes once.
        EXPECT_EQ(h.closed, (std::vector<KindDialog>{KindDialog::Li, KindDialog::Pi, KindDialog::Pr}));
        EXPECT_EQ(h.open, (std::array<bool, KindCount>{}));
        EXPECT_EQ(h.undoDeletes, 1);
        EXPECT_EQ(h.caption, "Pelmar");
        EXPECT_EQ(h.leaves, startUp ? 0 : 1);
    }
    EXPECT_EQ(MainCaption("task.pel"), "Pelmar  -  task.pel");
}

TEST(CommandRules, NewOrOpenSetTheCommandsFromTheDocument) {
    struct Case {
        const char* what;
        DocumentFacts facts;
        std::set<std::string> disabled;  // of the commands the rule sets
        bool undoTouched;
    };
    DocumentFacts full;
    for (const KindInfo& k : KindTable) full.counts[static_cast<std::size_t>(KindNumber(k.kind) - 1)] = k.capacity;
    DocumentFacts one;
    one.counts[0] = 1;
    one.untitled = false;
    one.raster = false;
    DocumentFacts loading = one;
    loading.undoLoading = true;
    loading.counts[3] = 19;
    loading.counts[13] = 2;
    std::set<std::string> allNew;
    for (const KindInfo& k : KindTable) allNew.insert(Name(NewObjectCommand(k.kind)));
    std::set<std::string> fullDisabled = allNew;
    fullDisabled.insert({"MeExport", "MePrint", "MeUndo", "MeRedo"});
    const Case cases[] = {
        {"empty untitled", DocumentFacts{}, {"MeExport", "MePrint", "MeUndo", "MeRedo", "MeDel"}, true},
        {"every kind full", full, fullDisabled, true},
        {"one point, saved, vector", one, {"MeExport", "MePrint", "MeUndo", "MeRedo", "MeDel", "MeSave", "TBAnim"}, true},
        {"undo snapshot reloaded", loading, {"MeExport", "MePrint", "MeSave", "TBAnim", "MeNewXZ"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeStates s;
        s.on[C::Undo] = s.on[C::Redo] = true;
        const auto list = DocumentCommandStates(c.facts);
        ApplyStates(s, list);
        EXPECT_EQ(Disabled(s), c.disabled);
        const bool touchesUndo = std::any_of(list.begin(), list.end(), [](const CommandState& x) { return x.first == C::Undo; });
        EXPECT_EQ(touchesUndo, c.undoTouched);
    }
    // Delete needs two objects.
    DocumentFacts two;
    two.counts[5] = two.counts[9] = 1;
    FakeStates s;
    ApplyStates(s, DocumentCommandStates(two));
    EXPECT_TRUE(s.enabled(C::Delete));

    FakeStates sel;
    ApplyStates(sel, SelectionCommandStates(true));
    EXPECT_EQ(Disabled(sel), (std::set<std::string>{"MeExport", "MePrint"}));
    ApplyStates(sel, SelectionCommandStates(false));
    EXPECT_TRUE(Disabled(sel).empty());
}

TEST(CommandRules, ANewObjectFitsBelowItsKindsCapacity) {
    const int capacity[] = {50, 50, 50, 20, 12, 10, 3, 3, 3, 3, 3, 3, 3, 2};
    for (const KindInfo& k : KindTable) {
        const int cap = capacity[KindNumber(k.kind) - 1];
        EXPECT_TRUE(NewObjectEnabled(k.kind, 0));
        EXPECT_TRUE(NewObjectEnabled(k.kind, cap - 1)) << k.code;
        EXPECT_FALSE(NewObjectEnabled(k.kind, cap)) << k.code;
    }
}

// The windows as the Back-to commands see them; every call is logged.
struct FakeBackTo : BackToHost {
    FakeStates states;
    std::array<bool, KindCount> open{};
    std::array<std::uint8_t, KindCount> roles{};
    std::vector<std::string> log;
    MainCommandStates& commands() override { return states; }
    std::array<bool, KindCount>& dialogOpen() override { return open; }
    void closeObjectDialog(KindDialog d) override { log.push_back("close " + std::to_string(static_cast<int>(d))); }
    std::array<std::uint8_t, KindCount>& roleBytes() override { return roles; }
    void setApplyEnabled(bool on) override { log.push_back(on ? "apply on" : "apply off"); }
    void keepWorkingCopy(Kind) override { log.push_back("keep"); }
    void restoreWorkingCopy(Kind) override { log.push_back("restore"); }
    void createObjectDialog(Kind k) override { log.push_back("create " + std::to_string(KindNumber(k))); }
    void fillObjectDialog(Kind k) override { log.push_back("fill " + std::to_string(KindNumber(k))); }
};

std::string D(KindDialog d) { return "close " + std::to_string(static_cast<int>(d)); }

TEST(BackTo, EachParentClosesClearsAndDisablesByItsRow) {
    using K = Kind;
    using OD = KindDialog;
    struct Row {
        Kind k;
        std::vector<OD> closed;      // with every flag set
        int rolesKept;               // role bytes left untouched: kinds from this number on
        bool suspend;
        bool clearsFlags;
        std::set<std::string> disabled;
    };
    const std::set<std::string> solidsOff{"MeToLi", "MeToCi", "MeToTr", "MeToKv", "MeToSf"};
    auto with = [&](const char* own) {
        std::set<std::string> s = solidsOff;
        s.insert(own);
        return s;
    };
    const std::vector<OD> five{OD::Po, OD::Li, OD::Ci, OD::Tr, OD::Kv, OD::Sf};
    const Row rows[] = {
        {K::li, {OD::Po}, 2, true, true, {"MeToLi"}},
        {K::ci, {OD::Po, OD::Li}, 3, false, false, {"MeToLi", "MeToCi"}},
        {K::tr, {OD::Po, OD::Li, OD::Ci}, 4, false, false, {"MeToLi", "MeToCi", "MeToTr"}},
        {K::kv, {OD::Po, OD::Li, OD::Ci}, 5, true, false, {"MeToLi", "MeToCi", "MeToKv"}},
        {K::xy, {OD::Po, OD::Li}, 6, false, false, {"MeToLi", "MeToXY"}},
        {K::sf, {OD::Po, OD::Li, OD::Ci}, 7, true, false, {"MeToLi", "MeToCi", "MeToSf"}},
        {K::zi, five, 15, true, true, with("MeToZi")},
        {K::ko, five, 15, true, true, with("MeToKo")},
        {K::i3, five, 15, true, true, with("MeToPi3")},
        {K::i4, five, 15, true, true, with("MeToPi4")},
        {K::r3, five, 15, true, true, with("MeToPr3")},
        {K::r4, five, 15, true, true, with("MeToPr4")},
        {K::xz, {OD::Po, OD::Li}, 15, false, false, {"MeToLi", "MeToXZ"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(KindNumber(r.k));
        FakeBackTo h;
        h.open.fill(true);
        h.roles.fill(9);
        BackTo(r.k, h);
        std::vector<std::string> expect;
        for (OD d : r.closed) expect.push_back(D(d));
        if (r.suspend) expect.push_back("apply off");
        expect.insert(expect.end(), {"keep", "create " + std::to_string(KindNumber(r.k)), "restore"});
        if (r.suspend) expect.push_back("apply on");
        expect.push_back("fill " + std::to_string(KindNumber(r.k)));
        EXPECT_EQ(h.log, expect);
        for (int n = 1; n <= KindCount; ++n) {
            EXPECT_EQ(h.roles[static_cast<std::size_t>(n - 1)], n < r.rolesKept ? 0 : 9) << "role " << n;
            const bool wasClosed = std::find(r.closed.begin(), r.closed.end(), DialogOf(static_cast<Kind>(n))) != r.closed.end();
            EXPECT_EQ(h.open[static_cast<std::size_t>(n - 1)], !(wasClosed && r.clearsFlags)) << "flag " << n;
        }
        EXPECT_EQ(Disabled(h.states), r.disabled);
    }
}

TEST(BackTo, FromAPointOfATetragonsSideTheTrianglesCommandsStay) {
    FakeBackTo h;
    h.open[0] = h.open[1] = true;                    // point and segment dialogs
    h.states.on[C::ToTr] = false;                    // as the triangle left it
    h.states.on[C::ToKv] = h.states.on[C::ToLi] = true;
    BackTo(Kind::kv, h);
    EXPECT_EQ(std::count(h.log.begin(), h.log.end(), D(KindDialog::Po)), 1);
    EXPECT_EQ(std::count(h.log.begin(), h.log.end(), D(KindDialog::Li)), 1);
    EXPECT_EQ(std::count(h.log.begin(), h.log.end(), D(KindDialog::Ci)), 0);  // its flag was clear
    EXPECT_FALSE(h.states.enabled(C::ToTr));
    EXPECT_FALSE(h.states.enabled(C::ToKv));
    // The segment command closes the point dialog even when its flag is clear.
    FakeBackTo s;
    BackTo(Kind::li, s);
    EXPECT_EQ(s.log.front(), D(KindDialog::Po));
    EXPECT_THROW(BackToRowOf(Kind::po), std::invalid_argument);
}

TEST(Zoom, ItemsAndScreenSizes) {
    for (int i = 0; i < static_cast<int>(ZoomPercents.size()); ++i) {
        EXPECT_EQ(ZoomItemOf(ZoomOfItem(i, 0)), i);
        EXPECT_EQ(ZoomItemText(i), std::to_string(ZoomPercents[static_cast<std::size_t>(i)]) + "%");
    }
    EXPECT_EQ(ZoomItemText(3), "50%");
    EXPECT_EQ(ZoomItemOf(150), -1);
    EXPECT_EQ(ZoomOfItem(-1, 75), 75);
    EXPECT_EQ(ZoomOfItem(10, 75), 75);
    const struct {
        int w, h, pct;
        ZoomedSize out;
    } cases[] = {
        {400, 300, 100, {400, 300}}, {400, 300, 50, {200, 150}}, {401, 300, 75, {301, 225}},
        {2, 6, 25, {0, 2}},  // 0.5 and 1.5: half to even
        {10, 10, 25, {2, 2}},  // 2.5 to 2
        {800, 600, 500, {4000, 3000}}, {1, 1, 10, {0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(ZoomSize(c.w, c.h, c.pct), c.out) << c.w << "x" << c.h << " " << c.pct;
}

}  // namespace
}  // namespace pelmar
