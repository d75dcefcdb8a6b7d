// New objects: every object enters the document through New<Kind>, which
// takes the undo snapshot, appends the kind's default object (or a given
// record) to its store, rebuilds the object list, makes the new object the
// current one with its dialog and keeps the commands in step with the counts.
#pragma once

#include "model/records.h"

namespace pelmar {

struct EditingState;

// fill: the new object's dialog is filled; redraw: the picture is redrawn;
// useGiven: rec is stored as it is (name, creation number and links
// included), otherwise the kind's default object numbered by its slot.  A
// kind at its capacity takes nothing: false, and nothing changes (no undo
// step either).
template <class R>
bool NewObject(EditingState& st, bool fill, bool redraw, bool useGiven, R rec);

inline bool NewPoint(EditingState& st, bool fill, bool redraw, bool useGiven, const DPoint& rec = {}) {
    return NewObject(st, fill, redraw, useGiven, rec);
}
inline bool NewLine(EditingState& st, bool fill, bool redraw, bool useGiven, const DLine& rec = {}) {
    return NewObject(st, fill, redraw, useGiven, rec);
}
inline bool NewCircle(EditingState& st, bool fill, bool redraw, bool useGiven, const DCircle& rec = {}) {
    return NewObject(st, fill, redraw, useGiven, rec);
}
inline bool NewTriangle(EditingState& st, bool fill, bool redraw, bool useGiven, const DTri& rec = {}) {
    return NewObject(st, fill, redraw, useGiven, rec);
}
inline bool NewTetragon(EditingState& st, bool fill, bool redraw, bool useGiven, const DKv& rec = {}) {
    return NewObject(st, fill, redraw, useGiven, rec);
}
inline bool NewXOY(EditingState& st, bool fill, bool redraw, bool useGiven, const DXOY& rec = {}) {
    return NewObject(st, fill, redraw, useGiven, rec);
}
inline bool NewOrb(EditingState& st, bool fill, bool redraw, bool useGiven, const DSf& rec = {}) {
    return NewObject(st, fill, redraw, useGiven, rec);
}
inline bool NewCylinder(EditingState& st, bool fill, bool redraw, bool useGiven, const DZi& rec = {}) {
    return NewObject(st, fill, redraw, useGiven, rec);
}
inline bool NewCone(EditingState& st, bool fill, bool redraw, bool useGiven, const DKo& rec = {}) {
    return NewObject(st, fill, redraw, useGiven, rec);
}
inline bool NewPyramid3(EditingState& st, bool fill, bool redraw, bool useGiven, const DPi3& rec = {}) {
    return NewObject(st, fill, redraw, useGiven, rec);
}
inline bool NewPyramid4(EditingState& st, bool fill, bool redraw, bool useGiven, const DPi4& rec = {}) {
    return NewObject(st, fill, redraw, useGiven, rec);
}
inline bool NewPrism3(EditingState& st, bool fill, bool redraw, bool useGiven, const DPr3& rec = {}) {
    return NewObject(st, fill, redraw, useGiven, rec);
}
inline bool NewPrism4(EditingState& st, bool fill, bool redraw, bool useGiven, const DPr4& rec = {}) {
    return NewObject(st, fill, redraw, useGiven, rec);
}
inline bool NewXYZ(EditingState& st, bool fill, bool redraw, bool useGiven, const DXZ& rec = {}) {
    return NewObject(st, fill, redraw, useGiven, rec);
}

// The kind's default object, from the menu: New<Kind>(True, True, False).
bool NewDefaultObject(EditingState& st, Kind k);

}  // namespace pelmar
