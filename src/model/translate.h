// Translation of whole records by a 3D vector: every defining point of the
// object and of its parts moves, then the kind's update procedure recomputes
// the derived elements.  Members never fail.
#pragma once

#include "model/records.h"

namespace pelmar {

void TranslateCircle(DCircle& c, double dx, double dy, double dz);
void TranslateOrb(DSf& s, double dx, double dy, double dz);
void TranslateCylinder(DZi& z, double dx, double dy, double dz);
void TranslateCone(DKo& k, double dx, double dy, double dz);

// The same moves of every part without any update: the caller updates the
// whole object afterwards, as a reader of its block does.  False, and
// nothing moved, for a vector that is not finite.
bool ShiftParts(DCircle& c, double dx, double dy, double dz);
bool ShiftParts(DSf& s, double dx, double dy, double dz);
bool ShiftParts(DZi& z, double dx, double dy, double dz);
bool ShiftParts(DKo& k, double dx, double dy, double dz);

}  // namespace pelmar
