// The sections and outlines of a 3D system's surfaces as the section and
// outline dialogs edit them.
//
// A surface number is the dialogs' own: 1 and 2 the Cartesian surfaces, 3 the
// implicit surface (slot 4 of the system).  Each of them has eleven sections
// per plane (1 x = const, 2 y = const, 3 z = const) and one outline.  The
// drawer caches the traced curves of the z = const sections of the Cartesian
// surfaces and of all sections of the implicit surface: 55 curves in five
// groups of eleven (group 1 surface 1, group 2 surface 2, groups 3 to 5 the
// implicit surface in x, y, z).  An edit clears the computed byte of exactly
// the curves and the outline it changes.
#pragma once

#include <string>
#include <string_view>

#include "model/records.h"

namespace pelmar {

inline constexpr int SectionsPerPlane = 11;

// True for a surface 1..3 and a plane 1..3.
bool ValidSurface(int surface);
bool ValidPlane(int plane);

// The cached curve group of a surface's sections in a plane, 1..5; 0 where
// the drawer keeps none (x and y = const of the Cartesian surfaces).
int SectionCurveGroup(int surface, int plane);

DSection& SectionOf(DXZ& xz, int surface, int plane, int k);
const DSection& SectionOf(const DXZ& xz, int surface, int plane, int k);

// The outline of a surface is no longer current.
void MarkOutline(DXZ& xz, int surface);

// A section's position edit took a new text.  An empty text turns the section
// off; a number turns it on at that position and clears the cached curve of
// the section (where there is one).  Both mark the outline.  Any other text
// ("-", "," while a number is typed) leaves the section as it was and marks
// nothing.
enum class PositionEdit { Off, On, NotANumber };
PositionEdit SetSectionPosition(DXZ& xz, int surface, int plane, int k, std::string_view text);

// The text a position edit shows: the position while the section is on,
// else nothing.
std::string SectionPositionText(const DSection& sec);

// What showing the sections of a plane again marks: the surface's outline,
// and the cached curve of every section of the plane that is on.
void MarkShownSections(DXZ& xz, int surface, int plane);

// The two free coordinates of a plane, as lower-case letters: "y", "z" for
// x = const; "x", "z" for y = const; "x", "y" for z = const.
char FreeLetter(int plane, int which);  // which: 1 or 2

// A bounds button's caption: "y=[-10;10]; z=[0;5]", the bounds rounded half
// to even to whole numbers.
std::string BoundsCaption(const DSection& sec, int plane);

}  // namespace pelmar
