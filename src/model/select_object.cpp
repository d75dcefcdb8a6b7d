// Choosing the current object: the chosen entry's record goes into its kind's
// working copy and its kind's dialog, every other object dialog is closed.
#include <cstring>
#include <string_view>

#include "model/edit_state.h"

namespace pelmar {

namespace {

// Calls f(store, working copy) for kind k.
template <class F>
void WithKind(Kind k, DSubProj& s, WorkingCopies& w, F&& f) {
    switch (k) {
        case Kind::po: f(s.Po, w.CurPoint); break;
        case Kind::li: f(s.Li, w.CurLine); break;
        case Kind::ci: f(s.Ci, w.CurCircle); break;
        case Kind::tr: f(s.Tr, w.CurTri); break;
        case Kind::kv: f(s.Kv, w.CurKv); break;
        case Kind::xy: f(s.Xy, w.CurXOY); break;
        case Kind::sf: f(s.Sf, w.CurSf); break;
        case Kind::zi: f(s.Zi, w.CurZi); break;
        case Kind::ko: f(s.Ko, w.CurKo); break;
        case Kind::i3: f(s.I3, w.CurPi3); break;
        case Kind::i4: f(s.I4, w.CurPi4); break;
        case Kind::r3: f(s.R3, w.CurPr3); break;
        case Kind::r4: f(s.R4, w.CurPr4); break;
        case Kind::xz: f(s.Xz, w.CurXZ); break;
    }
}

// The object the current entry names: its kind (0 when none) and index.
struct Target {
    int kind = 0;
    std::uint8_t index = 0;
};

Target CurrentTarget(const EditState& st) {
    if (st.CurObjIndex < 0 || st.CurObjIndex >= ObjListSize) return {};
    const ObjListEntry& e = st.ObjList[static_cast<std::size_t>(st.CurObjIndex)];
    const int kind = KindFromCode(std::string_view(e.code, strnlen(e.code, sizeof e.code)));
    if (kind == 0) return {};
    // An entry left behind by a deleted object names nothing.
    if (e.index < 1 || e.index > st.Proj->Obj.count(static_cast<Kind>(kind))) return {};
    return {kind, e.index};
}

// The chosen object becomes its kind's working copy and is shown in the open dialog.
// The role byte is cleared before the fill: the dialog shows the object
// itself (its path and its part buttons), not the part that was open.
void TakeObject(EditState& st, ObjectDialogs& dialogs, Kind k, std::uint8_t index, bool fill) {
    st.Work->index(k) = index;
    st.Proj->Role[static_cast<std::size_t>(k) - 1] = 0;  // the object itself is open, no part of it
    WithKind(k, st.Proj->Obj, *st.Work, [&](auto& store, auto& work) {
        work = store[index];
    });
    if (fill) dialogs.Refill(k);
}

void SelectSingle(EditState& st, ObjectDialogs& dialogs, Kind k, const Target& t, bool fill) {
    if (t.kind == KindNumber(k)) {
        if (!dialogs.IsOpen(k)) dialogs.Create(k);
        TakeObject(st, dialogs, k, t.index, fill);
    } else if (dialogs.IsOpen(k)) {
        dialogs.Close(k);
    }
}

// The pyramids (three, four) or the prisms, which share one dialog.
void SelectShared(EditState& st, ObjectDialogs& dialogs, Kind three, Kind four, const Target& t, bool fill) {
    if (t.kind == KindNumber(three) || t.kind == KindNumber(four)) {
        const Kind k = static_cast<Kind>(t.kind);
        if (!dialogs.IsOpen(three) && !dialogs.IsOpen(four)) dialogs.Create(k);
        dialogs.SetOpen(three, k == three);
        dialogs.SetOpen(four, k == four);
        TakeObject(st, dialogs, k, t.index, fill);
    } else if (dialogs.IsOpen(three) || dialogs.IsOpen(four)) {
        dialogs.Close(three);
    }
}

}  // namespace

void SelectCurrentObject(EditState& st, ObjectDialogs& dialogs, bool fill) {
    // While the dialog is being filled, its control changes must not commit.
    st.ApplyEnabled = 0;

    const Target t = CurrentTarget(st);
    for (Kind k : {Kind::po, Kind::li, Kind::ci, Kind::tr, Kind::kv, Kind::xy, Kind::sf, Kind::zi, Kind::ko})
        SelectSingle(st, dialogs, k, t, fill);
    SelectShared(st, dialogs, Kind::i3, Kind::i4, t, fill);
    SelectShared(st, dialogs, Kind::r3, Kind::r4, t, fill);
    SelectSingle(st, dialogs, Kind::xz, t, fill);

    st.ApplyEnabled = 1;
    // Nothing is open as a part now: there is no owner to return to.
    dialogs.DisableToKindButtons();
    st.FormTrTab = st.FormKvTab = st.FormXYTab = st.FormXZTab = 1;
    st.Proj->Role.fill(0);
}

}  // namespace pelmar
