// Links from a defining point to a point element of another object: the point
// a link names along the element selectors, the resolution, the highest
// creation number and the clearing of a point's link.
#pragma once

#include <cstdint>

#include "model/records.h"

namespace pelmar {

// The point element a link names in doc.  `shown` says whether the document
// shows it: the point and its object are not disabled, and every part on the
// way (a segment's points 3 and 4, an ellipse's radii, a figure's special
// lines, circles, centre and diagonals, a sphere's sections and contour, a
// solid's sections, height and spheres) has its "shown" flag on.
struct LinkedElement {
    const DPoint* point = nullptr;  // none when the link names nothing
    bool shown = false;
};

// A link whose kind, index (1..the kind's count in doc) or selectors name
// nothing gives no point.
LinkedElement LinkedPoint(const DProj& doc, const DLink& link);

// Copies into p the 3D X, Y, Z of the point that link names in doc; p's picture
// position and link are left alone.  A link that names nothing leaves p
// unchanged.  p may lie inside doc.
void ResolveLink(const DProj& doc, DPoint& p, DLink link);

// Sets all ten link bytes of p to 0: the point is free again.
void ClearPointLink(DPoint& p);

// The largest creation number of all live objects of doc; 0 when none is above 0.
int MaxObjectNumber(const DProj& doc);

}  // namespace pelmar
