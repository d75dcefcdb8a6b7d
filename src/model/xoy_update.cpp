// The 2D coordinate-system update: axes horizontal and vertical through the
// centre on whole picture units, arrows at the far ends, graph colours, and
// the editability flags of a stand-alone system.
#include <cstdint>

#include "model/geometry.h"
#include "model/update.h"

namespace pelmar {

namespace {

// Colour of a palette index stored as an Integer; an index outside the
// palette keeps the colour as it is.
TColor GraphColorOf(std::int32_t index, TColor current) {
    if (index < 0 || index > 255) return current;
    return IndexToColor(static_cast<std::uint8_t>(index), current);
}

void Style(DPoint& p, const DHead& h) {
    p.Color.v = h.Color.v;
    p.ColorIndex.v = h.ColorIndex.v;
    p.Layer.v = h.Layer.v;
}

void Style(DLine& l, const DHead& h) {
    l.Color.v = h.Color.v;
    l.ColorIndex.v = h.ColorIndex.v;
    l.Layer.v = h.Layer.v;
}

}  // namespace

void UpdateXOY(DXOY& x, int role) {
    x.Color.v = IndexToColor(x.ColorIndex.v, x.Color.v);
    for (std::size_t k = 1; k <= 6; ++k) x.GraphColor[k].v = GraphColorOf(x.GraphColorIndex[k].v, x.GraphColor[k].v);
    Style(x.Center, x);
    Style(x.AxisX, x);
    Style(x.AxisY, x);

    ProjectPoint(x.Center);  // whole picture units

    // The system lies in the plane of constant depth through its centre.
    const Vec3 o = Pos(x.Center);
    for (DPoint* p : {&x.AxisX.P1, &x.AxisX.P2, &x.AxisY.P1, &x.AxisY.P2}) p->X.v = o.x;
    x.AxisX.P1.Z.v = x.AxisX.P2.Z.v = o.z;
    x.AxisY.P1.Y.v = x.AxisY.P2.Y.v = o.y;
    // An axis never points backwards; at worst it has no length.
    if (x.AxisX.P2.Y.v < x.AxisX.P1.Y.v) x.AxisX.P2.Y.v = x.AxisX.P1.Y.v;
    if (x.AxisY.P1.Z.v > x.AxisY.P2.Z.v) x.AxisY.P1.Z.v = x.AxisY.P2.Z.v;
    for (DPoint* p : {&x.AxisX.P1, &x.AxisX.P2, &x.AxisY.P1, &x.AxisY.P2}) ProjectPoint(*p);

    for (DLine* l : {&x.AxisX, &x.AxisY}) {
        l->Thick.v = x.Thick.v;
        l->Arrow1.v = false;
        l->Arrow2.v = true;
    }

    if (role != 0) return;
    x.ID.e = x.Layer.e = x.Thick.e = x.Color.e = x.ColorIndex.e = x.Disabled.e = true;
    x.ScaleX.e = x.ScaleY.e = x.DivX.e = x.DivY.e = true;
    x.MarkWidth.e = x.MarkHeight.e = true;
    x.GridOn.e = x.GridThick.e = x.GridStep.e = true;
    x.NumbersOn.e = x.NumberStep.e = x.NumberFont.e = x.NumbersItalic.e = x.NumbersBold.e = x.NumberSize.e = true;
    for (std::size_t k = 1; k <= 6; ++k) {
        x.GraphOn[k].e = x.Graph[k].e = true;
        x.GraphThick[k].e = x.GraphColor[k].e = x.GraphColorIndex[k].e = true;
    }
    x.Graph2.e = true;

    x.Center.Typ.e = true;
    UpdatePoint(x.Center, -1);
    UpdateLine(x.AxisX, -5);
    UpdateLine(x.AxisY, -6);
    if (x.Center.Link.linked())
        x.Center.ScrX.e = x.Center.ScrY.e = x.Center.X.e = x.Center.Y.e = x.Center.Z.e = false;
}

}  // namespace pelmar
