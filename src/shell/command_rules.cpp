#include "shell/command_rules.h"

#include <functional>
#include <stdexcept>

namespace pelmar {

void ApplyStates(MainCommandStates& states, const std::vector<CommandState>& list) {
    for (const auto& [c, on] : list) states.setEnabled(c, on);
}

KindDialog DialogOf(Kind k) {
    switch (k) {
    case Kind::po: return KindDialog::Po;
    case Kind::li: return KindDialog::Li;
    case Kind::ci: return KindDialog::Ci;
    case Kind::tr: return KindDialog::Tr;
    case Kind::kv: return KindDialog::Kv;
    case Kind::xy: return KindDialog::XY;
    case Kind::sf: return KindDialog::Sf;
    case Kind::zi: return KindDialog::Zi;
    case Kind::ko: return KindDialog::Ko;
    case Kind::i3:
    case Kind::i4: return KindDialog::Pi;
    case Kind::r3:
    case Kind::r4: return KindDialog::Pr;
    case Kind::xz: return KindDialog::XZ;
    }
    return KindDialog::Po;
}

namespace {

Kind KindAt(std::size_t i) { return static_cast<Kind>(i + 1); }

// Closes the dialogs of the kinds whose open flag is set, a shared dialog once.
void CloseOpenDialogs(std::array<bool, KindCount>& open, KindSet kinds, bool clearFlags,
                      const std::function<void(KindDialog)>& close) {
    std::array<bool, 12> closed{};
    for (std::size_t i = 0; i < open.size(); ++i) {
        const Kind k = KindAt(i);
        if (!kinds.has(k) || !open[i]) continue;
        const auto d = static_cast<std::size_t>(DialogOf(k));
        if (!closed[d]) close(DialogOf(k));
        closed[d] = true;
        if (clearFlags) open[i] = false;
    }
}

}  // namespace

// ---------------------------------------------------------------------------

const std::vector<MainCommand>& DocumentCommands() {
    using C = MainCommand;
    static const std::vector<MainCommand> list = [] {
        std::vector<MainCommand> l{C::Save, C::SaveAs, C::Close, C::Export, C::Print};
        for (int c = static_cast<int>(C::ToLi); c <= static_cast<int>(C::NewXZ); ++c) l.push_back(static_cast<C>(c));
        l.insert(l.end(), {C::Delete, C::OptProj, C::Play, C::Anim, C::Undo, C::Redo, C::Copy, C::Paste, C::WinObj});
        return l;
    }();
    return list;
}

void SetNoProjectState(bool startUp, NoProjectHost& host) {
    for (MainCommand c : DocumentCommands()) host.commands().setEnabled(c, false);
    CloseOpenDialogs(host.dialogOpen(), KindSet::All(), false, [&](KindDialog d) { host.closeObjectDialog(d); });
    host.dialogOpen().fill(false);
    host.deleteUndoFiles();
    host.setCaption(MainCaption({}));
    if (!startUp) host.leaveDocument();
}

// ---------------------------------------------------------------------------

bool NewObjectEnabled(Kind k, int count) { return count < InfoOf(k).capacity; }

std::vector<CommandState> DocumentCommandStates(const DocumentFacts& f) {
    using C = MainCommand;
    std::vector<CommandState> s{{C::Undo, false},  {C::Redo, false},   {C::Save, f.untitled}, {C::SaveAs, true},
                                {C::Close, true},  {C::Export, false}, {C::Print, false},     {C::Copy, true},
                                {C::OptProj, true}, {C::WinObj, true}, {C::Play, true},       {C::Anim, f.raster}};
    // While an undo step loads, Undo and Redo are left as they are.
    if (f.undoLoading) s.erase(s.begin(), s.begin() + 2);
    int total = 0;
    for (std::size_t i = 0; i < f.counts.size(); ++i) {
        const Kind k = KindAt(i);
        s.emplace_back(NewObjectCommand(k), NewObjectEnabled(k, f.counts[i]));
        total += f.counts[i];
    }
    s.emplace_back(C::Delete, total >= 2);
    return s;
}

std::vector<CommandState> SelectionCommandStates(bool anySelected) {
    return {{MainCommand::Export, !anySelected}, {MainCommand::Print, !anySelected}};
}

// ---------------------------------------------------------------------------

namespace {

using K = Kind;

const std::array<BackToRow, 13> BackToRows{{
    {K::li, KindSet({K::po}), true, true, KindSet({K::po}), true, KindSet({K::li})},
    {K::ci, KindSet({K::po, K::li}), false, false, KindSet({K::po, K::li}), false, KindSet({K::li, K::ci})},
    {K::tr, KindSet({K::po, K::li, K::ci}), false, false, KindSet({K::po, K::li, K::ci}), false,
     KindSet({K::li, K::ci, K::tr})},
    {K::kv, KindSet({K::po, K::li, K::ci}), false, false, KindSet({K::po, K::li, K::ci, K::tr}), true,
     KindSet({K::li, K::ci, K::kv})},
    {K::xy, KindSet({K::po, K::li}), false, false, KindSet({K::po, K::li, K::ci, K::tr, K::kv}), false,
     KindSet({K::li, K::xy})},
    {K::sf, KindSet({K::po, K::li, K::ci}), false, false, KindSet({K::po, K::li, K::ci, K::tr, K::kv, K::xy}), true,
     KindSet({K::li, K::ci, K::sf})},
    {K::zi, KindSet({K::po, K::li, K::ci, K::tr, K::kv, K::sf}), false, true, KindSet::All(), true,
     KindSet({K::li, K::ci, K::tr, K::kv, K::sf, K::zi})},
    {K::ko, KindSet({K::po, K::li, K::ci, K::tr, K::kv, K::sf}), false, true, KindSet::All(), true,
     KindSet({K::li, K::ci, K::tr, K::kv, K::sf, K::ko})},
    {K::i3, KindSet({K::po, K::li, K::ci, K::tr, K::kv, K::sf}), false, true, KindSet::All(), true,
     KindSet({K::li, K::ci, K::tr, K::kv, K::sf, K::i3})},
    {K::i4, KindSet({K::po, K::li, K::ci, K::tr, K::kv, K::sf}), false, true, KindSet::All(), true,
     KindSet({K::li, K::ci, K::tr, K::kv, K::sf, K::i4})},
    {K::r3, KindSet({K::po, K::li, K::ci, K::tr, K::kv, K::sf}), false, true, KindSet::All(), true,
     KindSet({K::li, K::ci, K::tr, K::kv, K::sf, K::r3})},
    {K::r4, KindSet({K::po, K::li, K::ci, K::tr, K::kv, K::sf}), false, true, KindSet::All(), true,
     KindSet({K::li, K::ci, K::tr, K::kv, K::sf, K::r4})},
    {K::xz, KindSet({K::po, K::li}), false, false, KindSet::All(), false, KindSet({K::li, K::xz})},
}};

}  // namespace

const BackToRow& BackToRowOf(Kind k) {
    if (k == Kind::po) throw std::invalid_argument("a point has no Back-to command");
    return BackToRows[static_cast<std::size_t>(KindNumber(k) - 2)];
}

void BackTo(Kind k, BackToHost& host) {
    const BackToRow& row = BackToRowOf(k);
    auto& open = host.dialogOpen();
    if (row.closePointAlways) {
        host.closeObjectDialog(KindDialog::Po);
        if (row.clearOpenFlags) open[0] = false;
    }
    CloseOpenDialogs(open, row.closed, row.clearOpenFlags, [&](KindDialog d) { host.closeObjectDialog(d); });

    auto& roles = host.roleBytes();
    for (std::size_t i = 0; i < roles.size(); ++i)
        if (row.rolesCleared.has(KindAt(i))) roles[i] = 0;

    if (row.suspendCommits) host.setApplyEnabled(false);
    host.keepWorkingCopy(k);
    host.createObjectDialog(k);
    host.restoreWorkingCopy(k);
    if (row.suspendCommits) host.setApplyEnabled(true);
    host.fillObjectDialog(k);

    for (std::size_t i = 1; i < KindCount; ++i)
        if (row.disabled.has(KindAt(i))) host.commands().setEnabled(*BackToCommand(KindAt(i)), false);
}

void ClearRoleBytes(DProj& doc) { doc.Role.fill(0); }

}  // namespace pelmar
