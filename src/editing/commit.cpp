#include "editing/commit.h"

#include <type_traits>

#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "editing/kind_access.h"
#include "editing/nesting.h"
#include "editing/undo_store.h"
#include "files/document.h"
#include "model/coord_edits.h"
#include "model/geometry.h"
#include "model/recompute.h"
#include "model/update.h"

namespace pelmar {

namespace {

// The open parts written back into the kind's working copy, and its update:
// the still of its values, as every frame of an animation is computed, kept
// as its file gives it back.
template <Kind K>
void ComputeKind(EditingState& st, const LevelList& levels, bool writeBack) {
    if (writeBack)
        for (Kind l : levels)
            if (DialogIsOpen(st, l)) WriteBack(st, l, RoleOf(st, l));
    auto& work = KindT<K>::work(*st.Work);
    UpdateAsStill(work);
    // While the mouse holds a drag the picture shows its moves, and the
    // release stores the last one as its file gives it back.
    if (!st.Document.dragging()) ObjectAsFiled(work, st.Proj->Im);
}

// The open parts reloaded from their parents, innermost last; `reloaded`
// runs after each level.
template <class F>
void ReloadParts(EditingState& st, const LevelList& levels, F&& reloaded) {
    for (int i = 0; i < levels.count; ++i) {
        const Kind l = levels.levels[static_cast<std::size_t>(i)];
        if (!DialogIsOpen(st, l)) continue;
        for (int j = 0; j <= i; ++j) {
            const Kind outer = levels.levels[static_cast<std::size_t>(j)];
            Reload(st, outer, RoleOf(st, outer));
        }
        reloaded(l);
    }
}

// The document changes: it is marked changed (unless only the selection is
// marked again) and the undo snapshot of it as it is now is taken.  Inside a
// DocumentChange the outermost one decides both.
void DocumentChanges(EditingState& st) {
    if (st.ChangesOpen > 0) return;
    if (st.ProjReady && st.MarksOnly == 0) SetChanged(st, true);
    SaveUndoStep(st);
}

// One kind's branch of the commit; true when the stored object changed what
// its file holds and has others built on it or is built on others (creation
// number 1 and up).
template <Kind K>
bool CommitKind(EditingState& st, bool writeBack) {
    const LevelList levels = CommitLevels(K);
    ComputeKind<K>(st, levels, writeBack);
    auto& work = KindT<K>::work(*st.Work);

    auto& store = KindT<K>::store(st.Proj->Obj);
    const std::size_t n = st.Work->index(K);
    if (n < 1 || n > store.count()) return false;  // no object of the kind is current: nothing stored
    // Values so large that the object's geometry overflows could never be
    // saved and read back: the change is refused, the object stays as it was.
    if (!ObjectIsFinite(work)) {
        work = store[n];
        if (DialogIsOpen(st, K)) st.Dialogs.Refill(K);
        // No line of the word table says it.
        st.Messages->ShowMessage(std::string(Said(st.Words, "Слишком большое значение: изменение не принято.",
                                                  "The value is too large: the change is not taken.")));
        return false;
    }
    // An object stored as the file already holds it changes nothing: no
    // mark and no undo step (a name typed again as it was, a style applied
    // to every object that has it).  What the file does not hold (the
    // traced curves, their state) is stored all the same.
    using R = std::remove_cvref_t<decltype(work)>;
    auto& typed = st.Typed;
    if (typed.phase == 2) {
        const R* before = std::any_cast<R>(&typed.before);
        typed.returned = before && typed.index == n && ObjectsWriteAlike(*before, work);
    }
    const bool alike = ObjectsWriteAlike(store[n], work);
    if (!alike) {
        if (typed.phase == 1) {
            typed.before = store[n];
            typed.index = n;
            typed.changedBefore = st.Changed;
        }
        if (!typed.returned) DocumentChanges(st);
    }
    // A coordinate system moved (its centre or an axis edited) traces its
    // curves again where it stands.
    if constexpr (K == Kind::xy || K == Kind::xz) RetraceIfMoved(work, store[n]);
    store[n] = work;
    if (DialogIsOpen(st, K)) st.Dialogs.Refill(K);
    ReloadParts(st, levels, [&](Kind l) { st.Dialogs.Refill(l); });
    // What is built on an object that writes as it did is where it was.
    return !alike && store[n].Number >= 1;
}

// Fill keys: the fill, layer and hidden flag, every field the kind's fill
// painter reads (FillInputs), and the fields the object is defined by.

using fill_parts::Placed;

void DefinedBy(FillFields& f, const DCircle& c) {
    f(c.A3.v);
    f(c.B3.v);
    fill_parts::Space(c.Center, f);
    f(c.IsCircle.v);
    f(c.Is3D);
}
void DefinedBy(FillFields&, const DTri&) {}
void DefinedBy(FillFields&, const DKv&) {}
void DefinedBy(FillFields&, const DSf&) {}
template <class R>
    requires std::same_as<R, DZi> || std::same_as<R, DKo>
void DefinedBy(FillFields& f, const R& r) {
    Placed(r.Axis.P1, f);
    Placed(r.Axis.P2, f);
}
template <class B, std::size_t N>
void DefinedBy(FillFields& f, const DPyramid<B, N>& p) {
    Placed(p.HeightLine.P1, f);
    Placed(p.HeightLine.P2, f);
}
template <class B, std::size_t N>
void DefinedBy(FillFields& f, const DPrism<B, N>& p) {
    f(p.EdgeX.v);
    f(p.EdgeY.v);
    f(p.EdgeZ.v);
    f(p.EdgeLen.v);
}

template <class R>
FillKey KeyOf(const R& r) {
    FillKey k;
    k.on = r.Fill.On;
    k.layer = r.Layer.v;
    k.disabled = r.Disabled.v;
    k.colors = r.Fill.Colors;
    // An object without its fill counts only by that.
    if (!k.on) return k;
    FillInputs(r, k.fields);
    DefinedBy(k.fields, r);
    return k;
}

// A 3D system's shading is drawn with the fills: outline 1 shades surface 1,
// outline 2 surface 2, outline 3 surface 4, within the axes.  Its dialog
// marks the fill picture stale when a shaded surface changes.
FillKey KeyOf(const DXZ& x) {
    FillKey k;
    constexpr std::array<std::size_t, 3> surface{1, 2, 4};
    for (std::size_t o = 1; o <= 3; ++o)
        if (x.Outlines[o].GradientOn && x.SurfOn[surface[o - 1]].v) k.on = true;
    k.layer = x.Layer.v;
    k.disabled = x.Disabled.v;
    Placed(x.Center, k.fields);
    for (const DLine* axis : {&x.AxisX, &x.AxisY, &x.AxisZ}) {
        Placed(axis->P1, k.fields);
        Placed(axis->P2, k.fields);
    }
    return k;
}

template <class S>
void AddKeys(FillSignature& sig, const S& store) {
    for (std::size_t i = 1; i <= store.count(); ++i) {
        sig.push_back(KeyOf(store[i]));
        sig.back().kind = static_cast<std::uint8_t>(KindNumber(RecordKind<std::decay_t<decltype(store[i])>>));
    }
}

bool KeysDiffer(const FillKey& a, const FillKey& b) {
    if (a.kind != b.kind || a.layer != b.layer || a.disabled != b.disabled || a.colors != b.colors) return true;
    const FillFields &x = a.fields, &y = b.fields;
    if (x.reals.size() != y.reals.size() || x.wholes != y.wholes) return true;
    for (std::size_t i = 0; i < x.reals.size(); ++i)
        if (!NearlyEqual(x.reals[i], y.reals[i])) return true;
    return false;
}

}  // namespace

LevelList CommitLevels(Kind k) {
    using enum Kind;
    switch (k) {
        case po: return {};
        case li: return {{po}, 1};
        case ci: return {{li, po}, 2};
        case tr: case kv: case sf: return {{ci, li, po}, 3};
        case xy: case xz: return {{li, po}, 2};
        case zi: return {{sf, kv, ci, li, po}, 5};
        case ko: return {{sf, tr, ci, li, po}, 5};
        case i3: case i4: case r3: return {{sf, tr, kv, ci, li, po}, 6};
        case r4: return {{sf, kv, ci, li, po}, 5};
    }
    return {};
}

FillSignature TakeFillSignature(const DProj& doc) {
    const DSubProj& o = doc.Obj;
    FillSignature sig;
    sig.reserve(o.Ci.count() + o.Tr.count() + o.Kv.count() + o.Xz.count() + 21u);
    AddKeys(sig, o.Ci);
    AddKeys(sig, o.Tr);
    AddKeys(sig, o.Kv);
    AddKeys(sig, o.Sf);
    AddKeys(sig, o.Zi);
    AddKeys(sig, o.Ko);
    AddKeys(sig, o.I3);
    AddKeys(sig, o.I4);
    AddKeys(sig, o.R3);
    AddKeys(sig, o.R4);
    AddKeys(sig, o.Xz);
    return sig;
}

bool FillSignaturesDiffer(const FillSignature& before, const FillSignature& after) {
    std::size_t i = 0, j = 0;
    for (;; ++i, ++j) {
        while (i < before.size() && !before[i].on) ++i;
        while (j < after.size() && !after[j].on) ++j;
        if (i == before.size() || j == after.size()) return i != before.size() || j != after.size();
        if (KeysDiffer(before[i], after[j])) return true;
    }
}

FillWatch::~FillWatch() {
    if (FillSignaturesDiffer(before_, TakeFillSignature(doc_))) doc_.FillValid = 0;
}

void TrialCommit(EditingState& st, bool writeBack) {
    Kind k;
    if (!CurrentKind(st, k)) return;
    // The commit's own steps, up to the store.
    VisitKind(k, [&](auto kc) {
        const LevelList levels = CommitLevels(kc.value);
        ComputeKind<kc.value>(st, levels, writeBack);
        ReloadParts(st, levels, [](Kind) {});
    });
}

KindMask TrialKinds(const EditingState& st) {
    Kind k;
    if (!CurrentKind(st, k)) return KindMask().set();
    KindMask kinds = MaskOf(k) | WriteBackTargets(st);
    for (Kind l : CommitLevels(k)) kinds.set(Slot(l));
    return kinds;
}

std::uint64_t BeginDocumentChange(EditingState& st) {
    SaveUndoStep(st);
    if (st.ProjReady && st.ChangesOpen == 0) SetChanged(st, true);
    return st.UndoStamp;
}

DocumentChange::DocumentChange(EditingState& st) : st_(st), outermost_(st.ChangesOpen == 0) {
    if (outermost_) {
        before_ = DocumentContentText(*st.Proj);
        snapshot_ = WriteSnapshotAhead(st);
    }
    ++st.ChangesOpen;
}

DocumentChange::~DocumentChange() {
    if (--st_.ChangesOpen > 0 || !outermost_) return;
    if (DocumentContentText(*st_.Proj) == before_) return;
    CountSnapshotAhead(st_, snapshot_);
    if (st_.ProjReady) SetChanged(st_, true);
}

void ApplyObject(EditingState& st, bool writeBack) {
    if (!st.ApplyEnabled) {
        // Re-marking the selection is no change of the document.
        if (st.ProjReady && st.MarksOnly == 0) SetChanged(st, true);
        return;
    }
    // The fill-relevant fields as they were before anything is stored.
    const FillWatch fills(*st.Proj);

    bool dependants = false;
    Kind k;
    // With no object current the commit stores nothing: a change made
    // outside the working copies is one DocumentChange.
    if (CurrentKind(st, k)) dependants = VisitKind(k, [&](auto kc) { return CommitKind<kc.value>(st, writeBack); });
    // Objects built on the stored one follow it, also when it is itself built
    // on another object.
    if (dependants) RecomputeLinkedAsFiled(*st.Proj);
}

}  // namespace pelmar
