// The commit: every change of a working copy reaches the document through
// ApplyObject, with one undo snapshot, the open parts written back up and
// reloaded down again, the dependent objects recomputed and the fill picture
// marked stale when a fill-relevant field changed.  The caller redraws.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "drawing/fill_inputs.h"
#include "editing/kept_copies.h"
#include "editing/undo_store.h"
#include "model/records.h"

namespace pelmar {

struct EditingState;

// WriteBack: the edit was made in the dialog of a part, whose open levels are
// carried up into the top-level working copy first.  A commit that stores
// the object as the document file already holds it (ObjectsWriteAlike)
// marks nothing and takes no undo step: what the commit changes in the file
// is that object's block, and the objects built on it, which follow it.
// With no object current it stores nothing.  A change the caller makes
// outside the working copies is a DocumentChange around the commit.
void ApplyObject(EditingState& st, bool writeBack);

// Before a change made to the stored document itself, not through a working
// copy (the project options, the fill settings, a transformation, "apply to
// all"): the undo snapshot of the document as it is, which drops the redo
// chain, and the document marked changed, whatever the object list shows.
// Returns the undo stamp the change belongs to (EditingState::UndoStamp).
std::uint64_t BeginDocumentChange(EditingState& st);

// A change of the stored document made outside the working copies, or over
// several commits (a window session, a drag): opened before anything is
// changed, with the snapshot of the document as it is written ahead.  When
// the outermost one closes, the document's file text (DocumentContentText)
// is compared with the text it had: when it differs, the change is one undo
// step, the snapshot written ahead, and the document is marked changed;
// when not, nothing is recorded.  Commits and steps inside take no undo step
// and set no mark of their own.  Scopes nest.
class DocumentChange {
public:
    explicit DocumentChange(EditingState& st);
    ~DocumentChange();
    DocumentChange(const DocumentChange&) = delete;
    DocumentChange& operator=(const DocumentChange&) = delete;

private:
    EditingState& st_;
    bool outermost_ = false;
    std::string before_;
    SnapshotAhead snapshot_;
};

// What the commit would make of the working copies now - the open parts
// written back, the current kind's update, the parts reloaded - made on the
// working copies themselves: nothing is stored, refilled or recorded.  The
// caller keeps TrialKinds aside before and puts them back after.
void TrialCommit(EditingState& st, bool writeBack);

// The kinds whose working copies the commit of the current object changes
// before it stores: the current kind, its part levels, and the parents the
// open parts are written back into.  Every kind when no object is current.
KindMask TrialKinds(const EditingState& st);

// The part levels a kind can contain, outermost first, in the order the
// commit writes them back and reloads them.
struct LevelList {
    std::array<Kind, 6> levels{};
    int count = 0;
    const Kind* begin() const { return levels.data(); }
    const Kind* end() const { return levels.data() + count; }
};
LevelList CommitLevels(Kind k);

// The fields the fill picture depends on, of one fillable object: fill on,
// and for a filled object its kind, layer, hidden flag, fill colours, every
// field its fill painter reads (FillInputs) and the fields it is defined by.
// A 3D coordinate system counts as filled while one of its surfaces is shown
// shaded; its centre and axes place the shading.
struct FillKey {
    bool on = false;
    std::uint8_t kind = 0;
    std::uint8_t layer = 0;
    bool disabled = false;
    std::array<TColor, 3> colors{};
    FillFields fields;
};
// Every ellipse, triangle, tetragon, sphere, solid and 3D coordinate system in
// kind and index order; kept across a change instead of a whole copy of the
// document.
using FillSignature = std::vector<FillKey>;
FillSignature TakeFillSignature(const DProj& doc);
// The filled objects, in the order the fills are painted, are compared one by
// one: doubles are equal within 0.00001 (strictly), everything else exactly.
// Objects without a fill do not count, so adding or removing one keeps the
// fill picture.
bool FillSignaturesDiffer(const FillSignature& before, const FillSignature& after);

// Every change of the document's objects runs under a watch: when it ends,
// the fill picture is marked stale (FillValid := 0) if the filled objects are
// not what they were.  The commit, a new or pasted object, a delete, each step
// of a mouse drag with the objects recomputed through links
// (EditedDocument::Drag::step), the link dialog's new object and a
// transformation each take one; watches nest.  Nothing here sets FillValid.
// Undo and Redo take none: they bring back a snapshot together with the fill
// picture it was written with, which carries that snapshot's stamp.
class FillWatch {
public:
    explicit FillWatch(DProj& doc) : doc_(doc), before_(TakeFillSignature(doc)) {}
    ~FillWatch();
    FillWatch(const FillWatch&) = delete;
    FillWatch& operator=(const FillWatch&) = delete;

private:
    DProj& doc_;
    FillSignature before_;
};

}  // namespace pelmar
