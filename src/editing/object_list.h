// The object list: one entry per object, in kind order and by index within a
// kind, shown in the main window's object combo; rebuilt after every change
// of the object set, and with the reset of the commands, the undo history and
// the picture view when a whole document was loaded.
#pragma once

#include <string>

#include "editing/editing_host.h"
#include "model/records.h"

namespace pelmar {

struct EditingState;

// The combo text of object `index` of a kind: a fixed English word and the
// number ("Point 3", "Pyramid4 1").
std::string ComboText(Kind k, int index);

// Position in the object list of object `index` of a kind (the counts of the
// earlier kinds plus index - 1).
int ListPosition(const DProj& doc, Kind k, int index);

// UpdateObjectList(ResetDocument, CloseDialogs).
void UpdateObjectList(EditingState& st, bool resetDocument, bool closeDialogs);

// The New-object command of every kind by its count, and Delete by the total.
void UpdateCountCommands(EditingState& st);

// ComboMas item of a zoom percent (10 .. 500 of the list), -1 for others.
int ZoomItem(int zoom);

// The picture view of a loaded document.
ViewReset ViewResetFor(const DProj& doc, bool undoLoading);

}  // namespace pelmar
