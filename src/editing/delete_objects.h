// Delete and renumber: the Delete command removes the current object or the
// selected objects after its question; the later objects of the kind move
// down one slot, and the object list, the current object, the selection bits
// and every link follow them.  Objects that other objects are built on are
// never deleted.
#pragma once

#include <array>

#include "editing/editing_state.h"
#include "model/records.h"

namespace pelmar {

// DeleteObjects: the command (menu, tool bar, the Delete key).
void DeleteObjects(EditingState& st);

// Delete<Kind>: removes the object that object-list entry listIndex names;
// false when the entry names none.
bool DeleteEntry(EditingState& st, int listIndex);

// RenumberCurrent: keeps the current object current before entry listIndex
// is deleted (the entry before it when it is the one deleted).
void RenumberCurrent(EditingState& st, int listIndex);

// RenumberLinks: after object `index` of kind k was deleted, every link of a
// defining point (in the document and in the working copies) to a later
// object of the kind follows it down one place; a link to the deleted object
// itself is cleared.
void RenumberLinks(EditingState& st, Kind k, int index);

// The selection bits of a kind after object `index` was deleted: the bit of
// the object goes, those above it move down one.
SelectionSet ShiftedSelection(const SelectionSet& set, int index);

// Whether an object outside `doomed` has a defining point linked to an
// object inside it: deleting them would leave that link dangling.
bool DeletionBreaksLinks(DProj& doc, const std::array<SelectionSet, KindCount>& doomed);

}  // namespace pelmar
