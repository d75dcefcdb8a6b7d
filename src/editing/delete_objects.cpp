#include "editing/delete_objects.h"

#include "model/defining_points.h"
#include "editing/commit.h"
#include "editing/edited_document.h"
#include "editing/kind_access.h"
#include "editing/object_list.h"
#include "editing/selection.h"
#include "editing/undo_store.h"
#include "model/links.h"

namespace pelmar {

namespace {

bool CurrentObject(const EditingState& st, Kind& k, int& index) {
    if (!CurrentKind(st, k)) return false;
    index = CurrentEntryIndex(st);
    return index >= 1 && index <= st.Proj->Obj.count(k);
}

// Every record whose links can name objects: the live objects and the
// working copies.
template <class F>
void ForEachLinkHolder(EditingState& st, F&& f) {
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        auto& store = KindT<K>::store(st.Proj->Obj);
        for (std::size_t i = 1; i <= store.count(); ++i) f(store[i]);
        f(KindT<K>::work(*st.Work));
    });
}

void Refuse(EditingState& st) { st.Messages->ShowMessage(Word(st, WordNo::CannotDeleteGrouped)); }


// The current kind's index follows the current entry after the list was
// rebuilt without choosing the current object again.
void KeepCurrentIndex(EditingState& st) {
    Kind k;
    if (CurrentKind(st, k)) st.Work->index(k) = CurrentEntryIndex(st);
}

// Both return false when nothing was deleted.
bool DeleteCurrent(EditingState& st) {
    Kind k;
    int index;
    if (!CurrentObject(st, k, index)) return false;
    std::array<SelectionSet, KindCount> doomed{};
    doomed[Slot(k)].set(static_cast<std::size_t>(index));
    if (DeletionBreaksLinks(*st.Proj, doomed)) {
        Refuse(st);
        return false;
    }

    if (IsSelected(st, k, index)) DeselectCur(st, k, index);
    // The bits above the deleted object follow it down whether or not it was selected.
    st.Sel[Slot(k)] = ShiftedSelection(st.Sel[Slot(k)], index);
    const int listIndex = st.CurObjIndex;
    DeleteEntry(st, listIndex);
    // Links first, so that the object chosen next is loaded with its links renumbered.
    RenumberLinks(st, k, index);
    UpdateObjectList(st, false, true);
    SetCurObjIndex(st, listIndex > 0 ? listIndex - 1 : 0);
    SelectCurrentObject(st, st.Dialogs, true);
    if (st.SelCount == 1) MarkSelectionForShape(st);
    st.Document.requestRedraw();
    return true;
}

bool DeleteSelected(EditingState& st) {
    if (DeletionBreaksLinks(*st.Proj, st.Sel)) {
        Refuse(st);
        return false;
    }
    const bool wasCurrentSelected = CurrentSelectedKind(st) != 0;
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        int i = 1;
        while (i <= st.Proj->Obj.count(K)) {
            if (!IsSelected(st, K, i)) {
                ++i;
                continue;
            }
            const int listIndex = ListPosition(*st.Proj, K, i);
            RenumberCurrent(st, listIndex);
            DeleteEntry(st, listIndex);
            st.Sel[Slot(K)] = ShiftedSelection(st.Sel[Slot(K)], i);
            UpdateObjectList(st, false, false);
            --st.SelCount;
            RenumberLinks(st, K, i);
        }
    });
    if (wasCurrentSelected) UpdateObjectList(st, false, true);
    SetCurObjIndex(st, st.CurObjIndex);
    if (wasCurrentSelected) SelectCurrentObject(st, st.Dialogs, true);
    else KeepCurrentIndex(st);
    if (st.SelCount == 1) MarkSelectionForShape(st);
    st.Document.requestRedraw();
    return true;
}

}  // namespace

SelectionSet ShiftedSelection(const SelectionSet& set, int index) {
    if (index < 1 || index >= 256) return set;
    const std::size_t i = static_cast<std::size_t>(index);
    SelectionSet low = set;
    low <<= 256 - i;  // keep bits 0 .. i-1
    low >>= 256 - i;
    SelectionSet high = set >> (i + 1);
    high <<= i;
    return low | high;
}

bool DeletionBreaksLinks(DProj& doc, const std::array<SelectionSet, KindCount>& doomed) {
    bool breaks = false;
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        auto& store = KindT<K>::store(doc.Obj);
        for (std::size_t i = 1; i <= store.count() && !breaks; ++i) {
            if (doomed[Slot(K)].test(i)) continue;
            ForEachDefiningPoint(store[i], [&](DPoint& p) {
                const int lk = p.Link.kind(), li = p.Link.index();
                if (lk >= 1 && lk <= KindCount && doomed[static_cast<std::size_t>(lk - 1)].test(static_cast<std::size_t>(li)))
                    breaks = true;
            });
        }
    });
    return breaks;
}

bool DeleteEntry(EditingState& st, int listIndex) {
    if (listIndex < 0 || listIndex >= ObjListSize) return false;
    const ObjListEntry& e = st.ObjList[static_cast<std::size_t>(listIndex)];
    const int kind = KindFromCode(std::string_view(e.code, 2));
    Kind k;
    if (!KindFromNumber(kind, k) || e.index < 1 || e.index > st.Proj->Obj.count(k)) return false;
    VisitKind(k, [&](auto kc) { KindT<kc.value>::store(st.Proj->Obj).erase(e.index); });
    return true;
}

void RenumberCurrent(EditingState& st, int listIndex) {
    if (st.CurObjIndex < 0) return;
    Kind cur, gone;
    const bool hasCur = CurrentKind(st, cur);
    const ObjListEntry& e = st.ObjList[static_cast<std::size_t>(listIndex)];
    const bool sameKind = hasCur && KindFromNumber(KindFromCode(std::string_view(e.code, 2)), gone) && gone == cur;
    if (st.CurObjIndex >= listIndex) {
        if (sameKind && listIndex < st.CurObjIndex && st.Work->index(cur) > 0) --st.Work->index(cur);
        if (st.CurObjIndex > 0) --st.CurObjIndex;
    }
}

void RenumberLinks(EditingState& st, Kind k, int index) {
    ForEachLinkHolder(st, [&](auto& rec) {
        ForEachDefiningPoint(rec, [&](DPoint& p) {
            if (p.Link.kind() != KindNumber(k)) return;
            if (p.Link.index() == index) ClearPointLink(p);
            else if (p.Link.index() > index) --p.Link.b[1];
        });
    });
}

void DeleteObjects(EditingState& st) {
    const int total = st.Proj->Obj.ObjTotal;
    if (total < 1) return;
    DeleteQuestion q;
    const bool currentSelected = CurrentSelectedKind(st) != 0;
    if (st.SelCount == 0 || (st.SelCount == 1 && currentSelected)) {
        q.chosen = 0;
        q.choiceEnabled = false;
    } else {
        q.chosen = 1;
        q.choiceEnabled = true;
    }
    if (total == st.SelCount || total == 1) {
        q.choiceEnabled = false;
        q.yesEnabled = false;
        q.cannotDeleteAll = true;
    }
    const QuestionAnswer a = st.Questions->AskDelete(q);
    if (!a.done || a.answer == 0 || !q.yesEnabled) return;
    // Selected objects are deleted only when the window offered them.
    if (a.answer == 2 && st.SelCount == 0) return;
    // The fill of a deleted object leaves the fill picture.
    const FillWatch fills(*st.Proj);

    SaveUndoStep(st);
    // The commits that deselecting and re-marking cause belong to this one step.
    bool done = false;
    {
        const EditedDocument::UndoPause pause(st);
        done = a.answer == 1 ? DeleteCurrent(st) : DeleteSelected(st);
    }
    if (!done) return;
    if (st.ProjReady) SetChanged(st, true);

    UpdateSelectionUI(st);
    emit st.Document.commandEnabled(EditingCommand::Delete, st.Proj->Obj.ObjTotal >= 2);
    for (const KindInfo& info : KindTable)
        if (st.Proj->Obj.count(info.kind) < info.capacity) emit st.Document.kindCommandEnabled(EditingCommand::NewObject, info.kind, true);
    emit st.Document.drawToolsRefresh();
}

}  // namespace pelmar
