// Restore after open: a document (and every undo snapshot) stores the
// current object, the kind of the dialog that was in front and the role
// bytes of the nesting path; RestoreCurrentObject puts the top-level object
// and every part on that path back into their working copies, fills the
// dialog of the innermost part and enables the Back-to commands above it.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "model/records.h"

namespace pelmar {

struct EditingState;

// One level of a restorable path: its kind and the role values it may take
// (bit r set = role r).
struct RestoreStep {
    Kind level;
    std::uint32_t roles;
};

// A row of the restore table: the top kind, the kind of the dialog in front,
// and the levels from the outermost inward.
struct RestoreRow {
    Kind top;
    Kind active;
    std::array<RestoreStep, 4> steps;
    int count;
};

std::span<const RestoreRow> RestoreTable();

// activeKind: the stored kind number 1 .. 14 of the dialog in front, 0 none.
// The dialog of activeKind exists when this is called (the caller created
// it); commits are off.  A path the table does not list, or role bytes
// outside the path that are not 0, restore only the top-level object: every
// role byte is cleared and the top-level object's own dialog shown and filled
// instead.  Returns true when a listed path (or the object itself) was
// restored.
bool RestoreCurrentObject(EditingState& st, int activeKind);

}  // namespace pelmar
