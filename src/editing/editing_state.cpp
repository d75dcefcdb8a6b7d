#include "editing/editing_state.h"

#include <cstring>
#include <string_view>

#include "editing/dialog_focus.h"
#include "editing/edited_document.h"
#include "editing/kind_access.h"
#include "platform/instance_folder.h"

namespace pelmar {

namespace {

bool Shared(Kind k) { return k == Kind::i3 || k == Kind::i4 || k == Kind::r3 || k == Kind::r4; }

Kind Partner(Kind k) {
    switch (k) {
        case Kind::i3: return Kind::i4;
        case Kind::i4: return Kind::i3;
        case Kind::r3: return Kind::r4;
        case Kind::r4: return Kind::r3;
        default: return k;
    }
}

}  // namespace

EditingState::EditingState(DProj& proj, EditedDocument& document)
    : Document(document) {
    Proj = &proj;
    Work = &Copies;
    Defaults.readDocument = [](const std::string& name, DProj& doc, std::uint8_t& version, std::uint8_t mode) {
        return ReadDocument(name, doc, version, mode);
    };
}

// ---------------------------------------------------------------------------
// Dialogs over the state's flags

bool StateDialogs::IsOpen(Kind k) const { return st_.DialogOpen[Slot(k)]; }

void StateDialogs::SetOpen(Kind k, bool open) { st_.DialogOpen[Slot(k)] = open; }

void StateDialogs::Create(Kind k) {
    if (st_.DialogOpen[Slot(k)]) return;
    st_.DialogWindows->Show(k);
    st_.DialogOpen[Slot(k)] = true;
}

void StateDialogs::Close(Kind k) {
    st_.DialogWindows->Close(k);
    DialogClosed(st_, k);
}

void StateDialogs::Refill(Kind k) { emit st_.Document.objectChanged(k); }

void StateDialogs::DisableToKindButtons() {
    ForEachKind([&](auto kc) {
        if constexpr (decltype(kc)::value != Kind::po) emit st_.Document.kindCommandEnabled(EditingCommand::BackTo, kc.value, false);
    });
}

// ---------------------------------------------------------------------------

std::string Word(const EditingState& st, WordNo line) {
    if (st.Words && !st.Words->WordLine(line).empty()) return st.Words->WordLine(line);
    const char* text = BuiltInWord(static_cast<int>(line));
    return text ? text : "";
}

bool CurrentKind(const EditingState& st, Kind& k) {
    if (st.CurObjIndex < 0 || st.CurObjIndex >= ObjListSize) return false;
    const ObjListEntry& e = st.ObjList[static_cast<std::size_t>(st.CurObjIndex)];
    const int n = KindFromCode(std::string_view(e.code, strnlen(e.code, sizeof e.code)));
    return KindFromNumber(n, k);
}

std::uint8_t CurrentEntryIndex(const EditingState& st) {
    if (st.CurObjIndex < 0 || st.CurObjIndex >= ObjListSize) return 0;
    return st.ObjList[static_cast<std::size_t>(st.CurObjIndex)].index;
}

bool DialogIsOpen(const EditingState& st, Kind k) { return st.DialogOpen[Slot(k)]; }

void DialogClosed(EditingState& st, Kind k) {
    st.DialogOpen[Slot(k)] = false;
    if (Shared(k)) st.DialogOpen[Slot(Partner(k))] = false;
}

void SetProgramFolder(EditingState& st, const std::string& progDir) {
    st.ProgDir = progDir;
    st.Defaults.programFolder = progDir;
    st.UndoFolder = InstanceTempFolder(progDir);
}

void ClearRoleBytes(EditingState& st) { st.Proj->Role.fill(0); }

void SetChanged(EditingState& st, bool changed) {
    st.Changed = changed;
    emit st.Document.modifiedChanged(changed);
}

// The current object's working copy is loaded next: with the curves of the
// redraw owed.
void SetCurObjIndex(EditingState& st, int index) {
    st.Document.ensureStored();
    st.CurObjIndex = index;
    emit st.Document.currentObjectChanged(index);
}

LiveWindows CurrentWindows(const EditingState& st) {
    LiveWindows w = st.Windows ? st.Windows() : WindowsFromRecord(*st.Proj);
    w.ComboIndex = st.CurObjIndex;
    w.DialogOpen = st.DialogOpen;
    w.FocusIndex = GetFocusIndex(st);
    return w;
}

}  // namespace pelmar
