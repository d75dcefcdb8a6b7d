// Which object, and which handle of it, lies under the mouse.
//
// Every test works in picture pixels, the system of the points' picture
// positions (ScrX, ScrY); the caller converts window pixels (zoom, vertical
// flip).  A test reads the record and changes nothing; layers, the hidden flag
// and the view modes are not looked at, so hidden parts are hit like visible
// ones.  Each composite test runs its sub-tests in a fixed order and keeps the
// last hit, so a vertex beats a side and a side beats the inside.
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

// Hit codes.  Each kind has its own; 0 (None) is no hit, and the values are
// the codes the editing commands and the stored documents know.  The enums
// convert to their numbers where a number is needed.
namespace LiHit {
enum Code : std::uint8_t { None = 0, End1 = 1, End2 = 2, Body = 3 };
}
namespace CiHit {
// A tilted ellipse gives Inside or Centre only.
enum Code : std::uint8_t {
    None = 0,
    Inside = 1,
    Centre = 2,
    CircleOutline = 3,
    HandleA = 4,  // the handle at ±a
    HandleB = 5,  // the handle at ±b
    EllipseOutline = 6,
};
}
// Triangles and tetragons: side k is 11·k, vertex k is 10·k.
namespace PolyHit {
enum Code : std::uint8_t {
    None = 0,
    Inside = 1,
    Vertex1 = 10,
    Side1 = 11,
    Vertex2 = 20,
    Side2 = 22,
    Vertex3 = 30,
    Side3 = 33,
    Vertex4 = 40,
    Side4 = 44,
};
constexpr Code Side(int k) { return static_cast<Code>(11 * k); }
constexpr Code Vertex(int k) { return static_cast<Code>(10 * k); }
}  // namespace PolyHit
namespace XyHit {
enum Code : std::uint8_t { None = 0, AxisX = 1, AxisY = 2, Centre = 3, AxisXEnd1 = 4, AxisXEnd2 = 5, AxisYEnd1 = 6, AxisYEnd2 = 7 };
}
namespace SfHit {
enum Code : std::uint8_t { None = 0, Inside = 1, ContourCentre = 2, RadiusRing = 3 };
}
namespace ZiHit {
// Side 1 and side 3 of the main section.
enum Code : std::uint8_t { None = 0, Section = 1, UpperBase = 2, LowerBase = 3, Side1 = 4, Side3 = 5 };
}
namespace KoHit {
// The apex is end 2 of the axis; vertices 2 and 1 of the main section.
enum Code : std::uint8_t { None = 0, Section = 1, Base = 2, Apex = 3, Vertex2 = 4, Vertex1 = 5 };
}
namespace PyramidHit {
// A face or the base; the apex is end 2 of the height segment.
enum Code : std::uint8_t { None = 0, Face = 1, Apex = 2 };
}
namespace PrismHit {
enum Code : std::uint8_t { None = 0, SideFace = 1, Base1 = 2, Base2 = 3 };
}
namespace XzHit {
enum Code : std::uint8_t {
    None = 0,
    AxisX = 1,
    AxisY = 2,
    AxisZ = 3,
    Centre = 4,
    AxisXEnd1 = 5,
    AxisXEnd2 = 6,
    AxisYEnd1 = 7,
    AxisYEnd2 = 8,
    AxisZEnd1 = 9,
    AxisZEnd2 = 10,
};
}

// Point: within its radius, but at least 4 pixels, of its picture position.
bool HitPo(int x, int y, const DPoint& p);

LiHit::Code HitLi(int x, int y, const DLine& l);
CiHit::Code HitCi(int x, int y, const DCircle& c);
PolyHit::Code HitTr(int x, int y, const DTri& t);
PolyHit::Code HitKv(int x, int y, const DKv& k);
XyHit::Code HitXY(int x, int y, const DXOY& s);
// Sphere: the contour's inside and centre, the ring of the radius.
SfHit::Code HitSf(int x, int y, const DSf& s);
ZiHit::Code HitZi(int x, int y, const DZi& z);
KoHit::Code HitKo(int x, int y, const DKo& k);
PyramidHit::Code HitI3(int x, int y, const DPi3& p);
PyramidHit::Code HitI4(int x, int y, const DPi4& p);
PrismHit::Code HitR3(int x, int y, const DPr3& p);
PrismHit::Code HitR4(int x, int y, const DPr4& p);
XzHit::Code HitXZ(int x, int y, const DXZ& s);

}  // namespace pelmar
