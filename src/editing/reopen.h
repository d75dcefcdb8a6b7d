// Opening a document into the editing state: the file is read into the
// edited document, the object list rebuilt with the reset of a loaded
// document, the dialog that was in front reopened, and the object and the
// part that were being edited restored.  The file commands add the windows'
// positions, the recent files and the caption; Undo and Redo reopen their
// snapshots through it with UndoLoading set.
#pragma once

#include <cstdint>
#include <string>

namespace pelmar {

struct EditingState;

// The reader's result (0 = read); on any other result nothing changed.
std::uint8_t OpenDocumentState(EditingState& st, const std::string& name);

// The message of a reader result other than 0, lines joined by LF CR; a
// damaged file is named when `file` is given.
std::string ReadFailureText(const EditingState& st, std::uint8_t result, const std::string& file = {});

}  // namespace pelmar
