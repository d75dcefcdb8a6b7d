#include "editing/new_objects.h"

#include "editing/commit.h"
#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "editing/fit_new_object.h"
#include "editing/kind_access.h"
#include "editing/object_list.h"
#include "editing/selection.h"
#include "editing/undo_store.h"
#include "model/defaults.h"

namespace pelmar {

template <class R>
bool NewObject(EditingState& st, bool fill, bool redraw, bool useGiven, R rec) {
    constexpr Kind K = RecordKind<R>;
    auto& store = KindT<K>::store(st.Proj->Obj);
    if (store.full()) return false;
    // A new or pasted object with its fill on is not in the fill picture yet.
    const FillWatch fills(*st.Proj);

    SaveUndoStep(st);
    store.add(R{});
    const int n = store.count();
    UpdateObjectList(st, false, true);
    const int p = ListPosition(*st.Proj, K, n);
    if (useGiven) {
        store[static_cast<std::size_t>(n)] = std::move(rec);
    } else {
        DefaultsSource src = st.Defaults;
        src.pictureWidth = st.Proj->Im.Width;
        src.pictureHeight = st.Proj->Im.Height;
        if (src.programFolder.empty()) src.programFolder = st.ProgDir;
        LoadDefault(store[static_cast<std::size_t>(n)], n, src);
        FitIntoPicture(store[static_cast<std::size_t>(n)], st.Proj->Im);
    }
    SetCurObjIndex(st, p);
    SelectCurrentObject(st, st.Dialogs, fill);
    if (st.ProjReady) SetChanged(st, true);
    emit st.Document.commandEnabled(EditingCommand::Delete, true);
    if (store.full()) emit st.Document.kindCommandEnabled(EditingCommand::NewObject, K, false);
    if (redraw) st.Document.requestRedraw();
    UpdateSelectionUI(st);
    return true;
}

template bool NewObject(EditingState&, bool, bool, bool, DPoint);
template bool NewObject(EditingState&, bool, bool, bool, DLine);
template bool NewObject(EditingState&, bool, bool, bool, DCircle);
template bool NewObject(EditingState&, bool, bool, bool, DTri);
template bool NewObject(EditingState&, bool, bool, bool, DKv);
template bool NewObject(EditingState&, bool, bool, bool, DXOY);
template bool NewObject(EditingState&, bool, bool, bool, DSf);
template bool NewObject(EditingState&, bool, bool, bool, DZi);
template bool NewObject(EditingState&, bool, bool, bool, DKo);
template bool NewObject(EditingState&, bool, bool, bool, DPi3);
template bool NewObject(EditingState&, bool, bool, bool, DPi4);
template bool NewObject(EditingState&, bool, bool, bool, DPr3);
template bool NewObject(EditingState&, bool, bool, bool, DPr4);
template bool NewObject(EditingState&, bool, bool, bool, DXZ);

bool NewDefaultObject(EditingState& st, Kind k) {
    return VisitKind(k, [&](auto kc) {
        return NewObject(st, true, true, false, typename KindT<kc.value>::Rec{});
    });
}

}  // namespace pelmar
