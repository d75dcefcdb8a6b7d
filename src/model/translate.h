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

}  // namespace pelmar
