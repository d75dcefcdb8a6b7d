// Links from a defining point to a point element of another object: the
// resolution along the element selectors, the highest creation number and
// the clearing of a point's link.
#pragma once

#include <cstdint>
#include <span>

#include "model/records.h"

namespace pelmar {

// The element selectors still to be read, one per nesting level, outermost first.
using LinkSelectors = std::span<const std::uint8_t>;

// Copies into p the 3D X, Y, Z of the point that link names in doc; p's picture
// position and link are left alone.  A link whose kind, index (1..the kind's
// count in doc) or selectors name nothing leaves p unchanged.  p may lie inside doc.
void ResolveLink(const DProj& doc, DPoint& p, DLink link);

// Sets all ten link bytes of p to 0: the point is free again.
void ClearPointLink(DPoint& p);

// The largest creation number of all live objects of doc; 0 when none is above 0.
int MaxObjectNumber(const DProj& doc);

// Per-kind element getters: each picks the element its first selector names and
// hands it, with the remaining selectors, to the getter of the element's kind,
// until a point is reached, whose 3D coordinates are copied into p.  They return
// false (p unchanged) when a selector names nothing.
bool LinkFromPoint(DPoint& p, const DPoint& src, LinkSelectors sel);
bool LinkFromLine(DPoint& p, const DLine& l, LinkSelectors sel);
bool LinkFromCircle(DPoint& p, const DCircle& c, LinkSelectors sel);
bool LinkFromTriangle(DPoint& p, const DTri& t, LinkSelectors sel);
bool LinkFromTetragon(DPoint& p, const DKv& k, LinkSelectors sel);
bool LinkFromXOY(DPoint& p, const DXOY& x, LinkSelectors sel);
bool LinkFromOrb(DPoint& p, const DSf& s, LinkSelectors sel);
bool LinkFromCylinder(DPoint& p, const DZi& z, LinkSelectors sel);
bool LinkFromCone(DPoint& p, const DKo& k, LinkSelectors sel);
bool LinkFromPyramid3(DPoint& p, const DPi3& t, LinkSelectors sel);
bool LinkFromPyramid4(DPoint& p, const DPi4& t, LinkSelectors sel);
bool LinkFromPrism3(DPoint& p, const DPr3& r, LinkSelectors sel);
bool LinkFromPrism4(DPoint& p, const DPr4& r, LinkSelectors sel);
bool LinkFromXYZ(DPoint& p, const DXZ& x, LinkSelectors sel);

}  // namespace pelmar
