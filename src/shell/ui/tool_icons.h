// The pictures of the tool buttons, drawn by the program: a glyph per
// command, 23 x 23 pixels.
#pragma once

#include <QIcon>

namespace pelmar {

// The icon of a tool button by its object name ("TBSave", "TBNewTr", ...);
// "TBStop" is the Play button while a drawing is built.
QIcon ToolIcon(const char* name);

}  // namespace pelmar
