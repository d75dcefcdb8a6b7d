// Copy and paste through the clipboard file "Temp/ClipBoard.pel" of the
// program folder, a document of its own: copy writes the current object, the
// part being edited or the selected objects there, made independent (no
// creation number, no links, no marks); paste adds each of them as a new
// object.  The file is shared by all running instances of the program, so
// objects copied in one can be pasted in another.
#pragma once

#include <string>

namespace pelmar {

struct EditingState;

std::string ClipboardFileName(const EditingState& st);

// CopyObjects: asks what to copy and writes the clipboard file.  A copy that
// cannot be written says so, removes the older clipboard file and disables
// Paste.
void CopyObjects(EditingState& st);

// PasteObjects: each object of the clipboard file becomes a new object, all
// of them one undo step; objects beyond a kind's capacity are dropped, and a
// paste that adds nothing takes no step.
void PasteObjects(EditingState& st);

}  // namespace pelmar
