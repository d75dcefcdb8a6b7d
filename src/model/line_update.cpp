// The segment update: colour, angle and length, the division points, and the
// editability flags of the segment and its four points by the segment's role.
#include <algorithm>
#include <array>
#include <cstdint>

#include "model/construct.h"
#include "model/geometry.h"
#include "model/update.h"

namespace pelmar {

namespace {

// A flag column of a role row: set to 0, set to 1, keep, or (angle of a
// stand-alone segment only) 1 exactly when both ends have the same depth.
enum class F : std::int8_t { off = 0, on = 1, keep = -1, sameDepth = 2 };

struct LineRole {
    int role;
    F id, style, thick, angle, len, ltype, arrows;
    int end1, end2;  // roles handed to the ends
};

constexpr F O = F::off, I = F::on, K = F::keep, D = F::sameDepth;

constexpr std::array<LineRole, 23> LineRoles{{
    // role  ID style thick angle len ltype arrows  end1 end2
    {0,      I, I,    I,    D,    I,  I,    I,      -1,  -1},   // stand-alone segment
    {-1,     K, O,    I,    I,    O,  K,    I,      -2,  -3},   // radius of an ellipse
    {-2,     K, O,    O,    O,    O,  K,    I,      -3,  -2},   // side, derived first vertex, length fixed
    {-3,     K, O,    I,    O,    I,  K,    I,      -2,  -3},   // special line measured by length
    {-4,     K, O,    I,    O,    O,  K,    I,      -2,  -3},   // special line to a side or centre
    {-5,     K, O,    O,    O,    I,  I,    O,      -5,  -6},   // X axis of a 2D system
    {-6,     K, O,    O,    O,    I,  I,    O,      -7,  -8},   // Y axis of a 2D system
    {-7,     K, O,    I,    O,    O,  K,    I,      -2,  -2},   // diagonal of a tetragon
    {-8,     K, O,    O,    O,    O,  K,    I,      -1,  -2},   // side, free first vertex, length fixed
    {-9,     K, O,    O,    O,    I,  K,    I,      -3,  -2},   // side, derived first vertex, length editable
    {-10,    K, O,    O,    O,    I,  K,    I,      -1,  -2},   // side, free first vertex, length editable
    {-13,    O, O,    I,    O,    O,  K,    I,      -3,  -3},   // axis of a cylinder or cone
    {-14,    O, O,    O,    O,    O,  K,    I,      -3,  -3},   // side of a tetragon in a solid
    {-16,    O, O,    O,    O,    O,  K,    O,      -3,  -3},   // side of a triangle in a solid, no arrows
    {-17,    O, O,    O,    O,    O,  K,    I,      -3,  -3},   // side of a triangle in a solid
    {-18,    O, O,    O,    O,    O,  K,    I,      -2,  -2},   // fixed side of a triangle in a solid
    {-19,    O, O,    I,    O,    I,  K,    I,      -3,  -3},   // pyramid height, length editable
    {-20,    O, O,    I,    O,    O,  K,    I,      -3,  -3},   // pyramid height, length fixed
    {-21,    O, O,    O,    O,    O,  K,    I,      -2,  -2},   // fixed side of a polygon in a solid
    {-22,    O, O,    I,    O,    I,  K,    I,      -3,  -1},   // pyramid height, free apex
    {-41,    O, O,    O,    O,    I,  O,    O,      -9,  -10},  // depth axis of a 3D system
    {-42,    O, O,    O,    O,    I,  O,    O,      -5,  -6},   // Y axis of a 3D system
    {-43,    O, O,    O,    O,    I,  O,    O,      -7,  -8},   // Z axis of a 3D system
}};

void Apply(bool& flag, F f, const DLine& l) {
    switch (f) {
        case F::off: flag = false; break;
        case F::on: flag = true; break;
        case F::keep: break;
        case F::sameDepth: flag = l.P1.X.v == l.P2.X.v; break;
    }
}

void ApplyRole(DLine& l, const LineRole& r) {
    Apply(l.ID.e, r.id, l);
    for (bool* e : {&l.Layer.e, &l.Color.e, &l.ColorIndex.e, &l.Disabled.e}) Apply(*e, r.style, l);
    Apply(l.Thick.e, r.thick, l);
    Apply(l.Angle.e, r.angle, l);
    Apply(l.Length.e, r.len, l);
    Apply(l.LineType.e, r.ltype, l);
    Apply(l.Arrow1.e, r.arrows, l);
    Apply(l.Arrow2.e, r.arrows, l);

    UpdatePoint(l.P1, r.end1);
    UpdatePoint(l.P2, r.end2);
    UpdatePoint(l.P3, -3);
    UpdatePoint(l.P4, -3);

    if (r.role == 0) {
        // Typing a length or an angle moves end 2, which a link holds in place.
        if (l.P1.Link.linked()) l.P1.ScrX.e = l.P1.ScrY.e = l.P1.X.e = l.P1.Y.e = l.P1.Z.e = false;
        if (l.P2.Link.linked()) {
            l.P2.ScrX.e = l.P2.ScrY.e = l.P2.X.e = l.P2.Y.e = l.P2.Z.e = false;
            l.Length.e = l.Angle.e = false;
        }
    }
}

void ApplyArrow(bool on, Ed<std::int32_t>& len, Ed<std::int32_t>& angle, DPoint& end) {
    len.e = angle.e = on;
    end.Typ.e = !on;
}

}  // namespace

void UpdateLine(DLine& l, int role) {
    l.Color.v = IndexToColor(l.ColorIndex.v, l.Color.v);

    // A segment standing alone keeps its ends to the thousandth: the length,
    // the direction and the division points are taken from the stored ends,
    // as the reading of a saved file takes them.  An end moved by a
    // transformation or placed by a link comes here off that grid.  The ends
    // of a part are placed by its figure, which derives them from its own
    // stored values (a special line measured by length keeps that length).
    if (role == 0)
        for (DPoint* end : {&l.P1, &l.P2}) SetPos(*end, {Round3(end->X.v), Round3(end->Y.v), Round3(end->Z.v)});

    // A radius of length zero in the picture keeps its direction and length.
    const bool keepShape = role == -1 && l.P1.ScrX.v == l.P2.ScrX.v && l.P1.ScrY.v == l.P2.ScrY.v;
    if (!keepShape) {
        l.Angle.v = LineScreenAngle(l);
        l.Length.v = LineLength(l);
    }

    for (DPoint* p : {&l.P1, &l.P2, &l.P3, &l.P4}) {
        p->Color.v = l.Color.v;
        p->ColorIndex.v = l.ColorIndex.v;
        p->Layer.v = l.Layer.v;
    }

    switch (l.LineType.v) {
        case 1: l.Dash.e = l.Gap.e = false; break;
        case 2: l.Dash.e = l.Gap.e = true; break;
        case 3: l.Dash.e = l.Gap.e = false; break;
        default: break;
    }

    if (IsZero(l.Length.v)) {
        SetPos(l.P3, Pos(l.P1));
        SetPos(l.P4, Pos(l.P1));
    } else {
        PointAtDistance(l.P3.X.v, l.P3.Y.v, l.P3.Z.v, Pos(l.P1), Pos(l.P2), l.Frac3.v * l.Length.v);
        PointAtDistance(l.P4.X.v, l.P4.Y.v, l.P4.Z.v, Pos(l.P1), Pos(l.P2), l.Frac4.v * l.Length.v);
    }
    ProjectPoint(l.P3);
    ProjectPoint(l.P4);

    const auto* row = std::find_if(LineRoles.begin(), LineRoles.end(),
                                   [role](const LineRole& r) { return r.role == role; });
    if (row != LineRoles.end()) ApplyRole(l, *row);

    ApplyArrow(l.Arrow1.v, l.Arrow1Len, l.Arrow1Angle, l.P1);
    ApplyArrow(l.Arrow2.v, l.Arrow2Len, l.Arrow2Angle, l.P2);
    l.P3.Typ.e = l.P4.Typ.e = true;
}

}  // namespace pelmar
