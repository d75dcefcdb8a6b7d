// How a drag of the edit tool moves and reshapes each kind.  A drag holds one
// handle of the selected objects (the selection finds it under the mouse at
// the press); each move of the mouse gives every selected object, as it stood
// at the press, its new record through Dragged, from the whole offset of the
// mouse since the press.  Handle 0 moves the whole object; the others
// reshape it as their names say.
#pragma once

#include "model/records.h"

namespace pelmar {

// Drag handles, per kind; the values are the codes the selection hands the
// drag (one table in the selection maps each kind's hit codes to these).
namespace AnyDrag {
enum Code : int { Body = 0 };
}
namespace LiDrag {
enum Code : int { End1 = 1, End2 = 2 };
}
namespace CiDrag {
enum Code : int { Radius = 11, SemiAxisA = 12, SemiAxisB = 13, Outline = 14 };
}
namespace TrDrag {
// A side moves its two vertices, a vertex itself.
enum Code : int { Side1 = 21, Side2, Side3, Vertex1, Vertex2, Vertex3 };
}
namespace KvDrag {
enum Code : int { Side1 = 31, Side2, Side3, Side4, Vertex1, Vertex2, Vertex3, Vertex4 };
}
namespace XyDrag {
enum Code : int { AxisX = 41, AxisY = 42, AxisXEnd1 = 43, AxisXEnd2 = 44, AxisYEnd1 = 45, AxisYEnd2 = 46 };
}
namespace SfDrag {
enum Code : int { Radius = 52 };
}
namespace ZiDrag {
// The side handles are found but do not reshape.
enum Code : int { UpperBase = 62, LowerBase = 63, Side3 = 64, Side1 = 65 };
}
namespace KoDrag {
// The two base vertices are found but do not reshape.
enum Code : int { Base = 72, Apex = 73, Vertex2 = 74, Vertex1 = 75 };
}
namespace PyramidDrag {
enum Code : int { Apex3 = 82, Apex4 = 92 };
}
namespace PrismDrag {
enum Code : int { Base1Of3 = 102, Base2Of3 = 103, Base1Of4 = 112, Base2Of4 = 113 };
}
namespace XzDrag {
enum Code : int { AxisYEnd1 = 127, AxisYEnd2 = 128, AxisZEnd1 = 129, AxisZEnd2 = 130 };
}

// Where the press took the handle: the mouse's offset from a handle point in
// pixels (an axis end, a line end; x alone from a radius), and the ellipse's
// a/b when the handle was taken (0 for a flat one).
struct DragGrip {
    int offsetX = 0;
    int offsetY = 0;
    double axisRatio = 0;
};

// A move of a drag: the mouse moved (dx, dy) in the picture since the press
// and stands at (x, y) of the drawing plane (picture x, model y).  The rules
// take the record as the press found it, so a shape passed through on the
// way (flat, one point, height 0) is not where the next move starts.
struct DragStep {
    double dx = 0, dy = 0;
    double x = 0, y = 0;
    DragGrip grip;
    bool yUp = false;  // the picture's y axis points up (a coordinate system's axes keep their side)
};

// The grip the press takes on a selected object by `handle` at (x, y); kinds
// whose handles need no grip leave it as it is.
template <class R>
void TakeHandle(const R&, int, int, int, DragGrip&) {}
void TakeHandle(const DLine& l, int handle, int x, int y, DragGrip& grip);
void TakeHandle(const DCircle& c, int handle, int x, int y, DragGrip& grip);
void TakeHandle(const DXOY& s, int handle, int x, int y, DragGrip& grip);
void TakeHandle(const DSf& s, int handle, int x, int y, DragGrip& grip);
void TakeHandle(const DXZ& s, int handle, int x, int y, DragGrip& grip);

// A move of a drag by `handle` on the record as the press found it,
// recomputed (in place: the records of solids are large, and a drag moves at
// every mouse move).
void Drag(DPoint& p, int handle, const DragStep& step);
void Drag(DLine& l, int handle, const DragStep& step);
void Drag(DCircle& c, int handle, const DragStep& step);
void Drag(DTri& t, int handle, const DragStep& step);
void Drag(DKv& k, int handle, const DragStep& step);
void Drag(DXOY& s, int handle, const DragStep& step);
void Drag(DSf& s, int handle, const DragStep& step);
void Drag(DZi& z, int handle, const DragStep& step);
void Drag(DKo& k, int handle, const DragStep& step);
void Drag(DPi3& p, int handle, const DragStep& step);
void Drag(DPi4& p, int handle, const DragStep& step);
void Drag(DPr3& p, int handle, const DragStep& step);
void Drag(DPr4& p, int handle, const DragStep& step);
void Drag(DXZ& s, int handle, const DragStep& step);

// The record after that step.
template <class R>
R Dragged(R r, int handle, const DragStep& step) {
    Drag(r, handle, step);
    return r;
}

// Drawing a new object: a point placed at the picture position (x, y) (model
// point (0, x, y)); vertex i (1-based) of a polygon of n sides, which is end 1
// of side i and end 2 of side i - 1; the picture semi-axes of an ellipse.
void PlaceAt(DPoint& p, int x, int y);
template <class Poly>
void PlaceVertex(Poly& f, int n, int i, int x, int y) {
    PlaceAt(f.S[static_cast<std::size_t>(i)].P1, x, y);
    PlaceAt(f.S[static_cast<std::size_t>(i == 1 ? n : i - 1)].P2, x, y);
}
void SetSemiAxes(DCircle& c, double a, double b);

}  // namespace pelmar
