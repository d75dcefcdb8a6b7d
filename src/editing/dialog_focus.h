// The focused control of the object dialog in front, kept in the document as
// one number: each dialog numbers its controls from 1 in a fixed list, and a
// tabbed dialog's page follows from the number.
#pragma once

#include <string>
#include <vector>

#include "model/records.h"

namespace pelmar {

struct EditingState;

// The numbered controls of a kind's dialog (the pyramids share one list, so
// do the prisms); control number k is element k - 1.
const std::vector<std::string>& FocusControls(Kind k);

// Page (1 or 2) a tabbed dialog shows for a focus number; 0 for the dialogs
// without pages.
int FocusPage(Kind k, int index);

// GetFocusIndex: the number of the active control of the open object
// dialogs, a later dialog in kind order overriding an earlier one; 0 when no
// listed control is active.
int GetFocusIndex(const EditingState& st);

// RestoreFocus: every open dialog shows the page of the number and makes the
// numbered control active when its list has one.
void RestoreFocus(EditingState& st, int index);

}  // namespace pelmar
