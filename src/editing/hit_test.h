// Which object, and which handle of it, lies under the mouse.
//
// Every test works in picture pixels, the system of the points' picture
// positions (ScrX, ScrY); the caller converts window pixels (zoom, vertical
// flip).  A test reads the record and changes nothing; layers, the hidden flag
// and the view modes are not looked at, so hidden parts are hit like visible
// ones.  Each composite test runs its sub-tests in a fixed order and keeps the
// last hit, so a vertex beats a side and a side beats the inside.  0 = no hit.
//
// The point-in-figure predicates (PtInEllipse, PtInTriangle, PtInQuad,
// PtInTriRec, PtInKvRec) live in model/geometry.h: the updates and painters
// use them too.
#pragma once

#include <cstdint>

#include "model/records.h"

namespace pelmar {

// The smallest / largest of the first count values.  The running minimum
// starts at 10000 and the running maximum at -10000, so MinOf never returns
// more than 10000 and MaxOf never less than -10000; count < 1 returns the start.
int MinOf(int count, int v1, int v2 = 0, int v3 = 0, int v4 = 0, int v5 = 0);
int MaxOf(int count, int v1, int v2 = 0, int v3 = 0, int v4 = 0, int v5 = 0);

// Point: within its radius, but at least 4 pixels, of its picture position.
bool HitPo(int x, int y, const DPoint& p);

// Segment: 3 body, 1 end 1, 2 end 2.
std::uint8_t HitLi(int x, int y, const DLine& l);

// Ellipse: 1 inside, 2 centre, 3 circle outline, 6 ellipse outline,
// 4 handle at ±a, 5 handle at ±b.  A tilted ellipse returns 1 or 2 only.
std::uint8_t HitCi(int x, int y, const DCircle& c);

// Triangle: 1 inside; 11, 22, 33 side 1..3; 10, 20, 30 vertex 1..3.
std::uint8_t HitTr(int x, int y, const DTri& t);

// Tetragon: 1 inside; 11, 22, 33, 44 side 1..4; 10, 20, 30, 40 vertex 1..4.
std::uint8_t HitKv(int x, int y, const DKv& k);

// 2D coordinate system: 1 X axis, 2 Y axis, 3 centre, 4/5 X axis ends,
// 6/7 Y axis ends.
std::uint8_t HitXY(int x, int y, const DXOY& s);

// Sphere: 1 inside the contour, 2 contour centre, 3 ring of the radius.
std::uint8_t HitSf(int x, int y, const DSf& s);

// Cylinder: 1 contour section, 2 upper base, 3 lower base, 4 side 1 and
// 5 side 3 of the main section.
std::uint8_t HitZi(int x, int y, const DZi& z);

// Cone: 1 contour section, 2 base, 3 apex (axis end 2), 4 vertex 2 and
// 5 vertex 1 of the main section.
std::uint8_t HitKo(int x, int y, const DKo& k);

// Pyramids: 1 a face or the base, 2 the apex (end 2 of the height segment).
std::uint8_t HitI3(int x, int y, const DPi3& p);
std::uint8_t HitI4(int x, int y, const DPi4& p);

// Prisms: 1 a side face, 2 base 1, 3 base 2.
std::uint8_t HitR3(int x, int y, const DPr3& p);
std::uint8_t HitR4(int x, int y, const DPr4& p);

// 3D coordinate system: 1, 2, 3 X, Y, Z axis; 4 centre; 5, 6 X axis ends;
// 7, 8 Y axis ends; 9, 10 Z axis ends.
std::uint8_t HitXZ(int x, int y, const DXZ& s);

}  // namespace pelmar
