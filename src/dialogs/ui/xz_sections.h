// The modal dialogs of a 3D coordinate system's surfaces: the sections of a
// surface (with the bounds of each section) and the outline of a surface.
// Both edit the 3D system's working copy and mark the cached curves they
// change not computed; the 3D system's dialog commits when they return.
#pragma once

class QWidget;

namespace pelmar {

class DialogRegistry;

// surface: 1 and 2 the Cartesian surfaces, 3 the implicit surface.
void RunSectionDialog(DialogRegistry& reg, int surface, QWidget* parent);
// outline: 1 and 2 the Cartesian surfaces, 3 the implicit surface.
void RunOutlineDialog(DialogRegistry& reg, int outline, QWidget* parent);

}  // namespace pelmar
