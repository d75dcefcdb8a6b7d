// Selection: one 256-bit set per kind, a count over all kinds, and marks
// written into the records themselves (a marking colour and flag, and the
// handle colour of the solids), so that the painters draw what is selected
// in the move colour and the handles of a single selected object in the
// shape colour.
#pragma once

#include "model/records.h"

namespace pelmar {

struct EditingState;

// Mark<Kind>: the record's own marking fields and those of all its parts.
void Mark(DPoint& r, TColor color, bool marked);
void Mark(DLine& r, TColor color, bool marked);
void Mark(DCircle& r, TColor color, bool marked);
void Mark(DTri& r, TColor color, bool marked);
void Mark(DKv& r, TColor color, bool marked);
void Mark(DXOY& r, TColor color, bool marked);
void Mark(DSf& r, TColor color, bool marked);
void Mark(DZi& r, TColor color, bool marked);
void Mark(DKo& r, TColor color, bool marked);
void Mark(DPi3& r, TColor color, bool marked);
void Mark(DPi4& r, TColor color, bool marked);
void Mark(DPr3& r, TColor color, bool marked);
void Mark(DPr4& r, TColor color, bool marked);
void Mark(DXZ& r, TColor color, bool marked);

bool IsSelected(const EditingState& st, Kind k, int index);

// SelectCur<Kind>: sets the bit, marks the object in the move colour and its
// handles in the shape colour (the move colour when moving), then
// ReloadCurrentSelected.  The caller counts it.
void SelectCur(EditingState& st, Kind k, int index, bool moving);
// DeselectCur<Kind>: clears the marks, counts it off, reloads the current
// object while its bit is still set, then clears the bit.
void DeselectCur(EditingState& st, Kind k, int index);

// Kind number of the current object when it is selected, else 0.
int CurrentSelectedKind(const EditingState& st);

// A click at picture point (x, y): mode 0 plain, 1 with Shift.  Objects built
// on others (creation number 2 and up) are never taken.  RemarkOnly only
// re-marks the selection.  True when anything was selected or deselected.
bool SelectAt(EditingState& st, int x, int y, int mode, bool remarkOnly);

// Whether a selected object lies under (x, y); sets DragHandle to the handle
// there (0 the whole object, always 0 with several selected).
bool AnyObjectAt(EditingState& st, int x, int y);

void MarkSelectionForShape(EditingState& st);
void SelectNone(EditingState& st);
void UpdateSelectionUI(EditingState& st);
void ReloadCurrentSelected(EditingState& st);
void ReloadCurrentDependent(EditingState& st);

// The selection buttons of the picture window; each closes the undo gate
// while it runs, so that the commits it causes take no undo step.
void SelectAllObjects(EditingState& st);
void SelectNoneCommand(EditingState& st);
void SelectCurrentCommand(EditingState& st);
void DeselectCurrentCommand(EditingState& st);

}  // namespace pelmar
