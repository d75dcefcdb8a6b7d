// The modal dialogs of a 3D coordinate system's surfaces: the sections of a
// surface (with the bounds of each section) and the outline of a surface.
// Both edit the 3D system's working copy and mark the cached curves they
// change not computed; the 3D system's dialog commits when they return (the
// outline dialog also commits each change itself).
#pragma once

class QWidget;

namespace pelmar {

class DialogRegistry;

// surface: 1 and 2 the Cartesian surfaces, 3 the implicit surface; any other
// number shows nothing.  The plane shown first is the one chosen last.
void RunSectionDialog(DialogRegistry& reg, int surface, QWidget* parent);
// outline: 1 and 2 the Cartesian surfaces, 3 the implicit surface; any other
// number shows nothing.  Every change in it is committed at once.
void RunOutlineDialog(DialogRegistry& reg, int outline, QWidget* parent);

}  // namespace pelmar
