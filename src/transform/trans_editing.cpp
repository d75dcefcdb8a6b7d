#include "transform/trans_editing.h"

#include "editing/commit.h"
#include "editing/edited_document.h"
#include "editing/kind_access.h"

namespace pelmar {

void EditingTransHost::showMessage(const std::string& text) { st_.Messages->ShowMessage(text); }
const WordTable* EditingTransHost::words() const { return st_.Words; }

bool EditingTransHost::currentObject(Kind& kind, int& index) {
    if (!CurrentKind(st_, kind)) return false;
    index = st_.Copies.index(kind);
    return true;
}

bool EditingTransHost::isSelected(Kind kind, int index) {
    return index >= 1 && index < 256 && st_.Sel[Slot(kind)][static_cast<std::size_t>(index)];
}

// The snapshot is taken before the objects move, so that Undo brings back the
// document as it was before Apply; the commit that follows takes none.  The
// document counts as changed also when the object list shows no entry.
void EditingTransHost::beforeChange() {
    st_.Document.ensureStored();  // the stored curves move with their systems
    BeginDocumentChange(st_);
}

void EditingTransHost::commitAndRedraw() {
    Kind k{};
    if (CurrentKind(st_, k)) {
        VisitKind(k, [&](auto kc) {
            using T = KindT<decltype(kc)::value>;
            const auto& store = T::store(st_.Proj->Obj);
            const std::size_t i = st_.Copies.index(k);
            if (i >= 1 && i <= store.count()) T::work(st_.Copies) = store[i];
        });
        const EditedDocument::UndoPause pause(st_);
        ApplyObject(st_, false);
    }
    st_.Document.requestRedraw();
}

}  // namespace pelmar
