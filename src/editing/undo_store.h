// Undo snapshots: before every change the whole document is written in the
// undo mode of the document format to this instance's undo folder as
// "Undo" + the step number in six characters + ".pel", with its curves file
// (".cur") and fill picture (".grd.png").  UndoPos is the number of the next
// snapshot; the Undo and Redo commands walk the files and reopen them.
//
// The folder belongs to one running program (a subfolder of the program
// folder's "Temp/"), so two instances never read each other's snapshots.
#pragma once

#include <string>

namespace pelmar {

struct EditingState;

// folder + "Undo" + the step in six characters ("-00005" for -5) + ".pel".
std::string UndoFileName(const std::string& folder, int step);

// SaveUndoStep: with undo on and no UndoPause (edited_document.h) alive, writes the document as
// snapshot UndoPos, deletes the snapshot that falls out of the depth and the
// redo chain (each with its companions) and moves UndoPos on.  A failed write
// moves nothing, shows its message once (until a write succeeds again) and
// still drops the redo chain, since the document is about to change.  Undo
// on without a folder of this instance (the program folder cannot be
// written) is said once.
void SaveUndoStep(EditingState& st);

// SaveUndoStep in two halves, for a change not yet known to change anything
// (DocumentChange, editing/commit.h): the snapshot of the document as it is,
// written as snapshot UndoPos before the change, and counted as an undo step
// once the change is known.  A snapshot written and never counted is only
// the present state at the present position, which the next one replaces.
struct SnapshotAhead {
    bool taken = false;    // undo on and not held: the change is an undo step
    bool written = false;
    std::string failure;
};
SnapshotAhead WriteSnapshotAhead(EditingState& st);
void CountSnapshotAhead(EditingState& st, const SnapshotAhead& snapshot);

// The last step taken turned out to change nothing (typing that ended where
// it began): the position goes back and the mark is put back to
// `changedBefore`.  Its snapshot stays for the next step, which takes it as
// it is while no other step, undo, redo or selection came between.  The redo
// chain it dropped stays dropped.
void TakeBackLastStep(EditingState& st, bool changedBefore);

// DeleteUndoFiles: removes every undo file of the folder with its companions.
void DeleteUndoFiles(EditingState& st);

// The Undo command: keeps the present state as snapshot UndoPos when it is the
// newest, then reopens snapshot UndoPos - 1.  The position and the commands
// change only when the snapshot was read; a failure shows a message (every
// time, also when snapshots have failed before, or undo has no folder) and
// leaves everything as it was.  Afterwards the document counts as changed,
// and Redo is on only when the snapshot it reopens is there.  Refused while a
// mouse button is held (EditedDocument::undo waits for the release).
bool UndoStep(EditingState& st);

// The Redo command: reopens snapshot UndoPos + 1, on the same terms; a
// snapshot that cannot be read is said and changes nothing.
bool RedoStep(EditingState& st);

}  // namespace pelmar
