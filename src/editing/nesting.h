// The nesting path: a part of the object being edited (a side of a triangle,
// a vertex of that side, the inscribed sphere of a cylinder ...) is edited in
// its own kind's working copy; the document's role byte of the part's kind
// names the parent slot it came from (editing/role_tables.h).  This file has
// the path captions the dialogs show, the write-back of open parts into their
// parents, the reload of parts out of their parents, and the opening of a
// part from its parent's dialog.
#pragma once

#include <cstdint>
#include <string>

#include "editing/kept_copies.h"
#include "model/records.h"

namespace pelmar {

struct EditingState;

// The role byte of a kind (RolePo .. RoleXZ).
std::uint8_t RoleOf(const EditingState& st, Kind k);

// Caption of a kind's working copy: the top-level object's name (the point's
// label) with "[n]" for a creation number n other than 0, or the parent's
// caption, " / " and the part's piece.  Empty when the role does not fit the
// current object.
std::string PathCaption(const EditingState& st, Kind k);

// Write-back of a level's working copy into its parent slot (every candidate
// parent where the role names several), and of every higher level along its
// own role byte, so that the open parts reach the top-level working copy.
// Role 0 does nothing.  Levels: point, segment, ellipse, triangle, tetragon,
// 2D coordinate system (no parts above: nothing to do), sphere.
void WriteBack(EditingState& st, Kind level, std::uint8_t role);

// Every kind whose working copy a write-back may change with the role bytes
// as they are: the parents with a slot that a part level's role names.
KindMask WriteBackTargets(const EditingState& st);

// Reload of one level's working copy out of its parent's working copy; where
// the role names a slot in several parent kinds, only the current object's
// kind is read.  Role 0, or a role whose parent is not current, leaves the
// working copy unchanged.
void Reload(EditingState& st, Kind level, std::uint8_t role);

// What the sub-object buttons of the dialogs do: the part kind's role byte :=
// role, the part copied out of its parent's working copy, the parent's dialog
// closed, the part's dialog opened and filled, the parent's Back-to command
// enabled.  False (nothing changed) when the role names no slot of a parent
// that is being edited.
bool OpenPart(EditingState& st, Kind part, std::uint8_t role);

}  // namespace pelmar
