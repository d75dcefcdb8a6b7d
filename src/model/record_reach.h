// Whether an object stays within the range of coordinates and lengths the
// program takes (kCoordLimit): its defining points, the vertices and ends it
// is made of, and the lengths that size it.  Parts computed from them and
// drawn on request (circumcircles, spheres, sections, bisectors) are not
// asked: they follow the object, and a nearly flat triangle's circumcircle
// is rightly huge.
#pragma once

#include "model/records.h"

namespace pelmar {

bool WithinCoordLimit(const DPoint& p);
bool WithinCoordLimit(const DLine& l);
bool WithinCoordLimit(const DCircle& c);
bool WithinCoordLimit(const DTri& t);
bool WithinCoordLimit(const DKv& k);
bool WithinCoordLimit(const DXOY& x);
bool WithinCoordLimit(const DSf& s);
bool WithinCoordLimit(const DZi& z);
bool WithinCoordLimit(const DKo& k);
bool WithinCoordLimit(const DPi3& p);
bool WithinCoordLimit(const DPi4& p);
bool WithinCoordLimit(const DPr3& p);
bool WithinCoordLimit(const DPr4& p);
bool WithinCoordLimit(const DXZ& x);

}  // namespace pelmar
