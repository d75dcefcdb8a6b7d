// The 3D coordinate-system update: the three axes through the centre and
// pointing the right way, arrows at the far ends, surface colours, and the
// editability flags of a stand-alone system.
#include <cstdint>

#include "model/geometry.h"
#include "model/update.h"

namespace pelmar {

namespace {

// Colour of a palette index stored as an Integer; an index outside the
// palette keeps the colour as it is.
TColor SurfColorOf(std::int32_t index, TColor current) {
    if (index < 0 || index > 255) return current;
    return IndexToColor(static_cast<std::uint8_t>(index), current);
}

}  // namespace

void UpdateXYZ(DXZ& x, int role) {
    x.Color.v = IndexToColor(x.ColorIndex.v, x.Color.v);
    for (std::size_t k = 1; k <= 4; ++k) x.SurfColor[k].v = SurfColorOf(x.SurfColorIndex[k].v, x.SurfColor[k].v);

    x.Center.Color.v = x.Color.v;
    x.Center.ColorIndex.v = x.ColorIndex.v;
    x.Center.Layer.v = x.Layer.v;
    for (DLine* l : {&x.AxisX, &x.AxisY, &x.AxisZ}) {
        l->Color.v = x.Color.v;
        l->ColorIndex.v = x.ColorIndex.v;
        l->Layer.v = x.Layer.v;
    }

    // Each axis runs through the centre along its own coordinate.
    const Vec3 o = Pos(x.Center);
    for (DPoint* p : {&x.AxisX.P1, &x.AxisX.P2}) p->Y.v = o.y, p->Z.v = o.z;
    for (DPoint* p : {&x.AxisY.P1, &x.AxisY.P2}) p->X.v = o.x, p->Z.v = o.z;
    for (DPoint* p : {&x.AxisZ.P1, &x.AxisZ.P2}) p->X.v = o.x, p->Y.v = o.y;
    // The Y and Z axes never point backwards; at worst they have no length.
    if (x.AxisY.P2.Y.v < x.AxisY.P1.Y.v) x.AxisY.P2.Y.v = x.AxisY.P1.Y.v;
    if (x.AxisZ.P1.Z.v > x.AxisZ.P2.Z.v) x.AxisZ.P1.Z.v = x.AxisZ.P2.Z.v;

    ProjectPoint(x.Center);
    for (DLine* l : {&x.AxisX, &x.AxisY, &x.AxisZ}) {
        ProjectPoint(l->P1);
        ProjectPoint(l->P2);
    }
    for (DLine* l : {&x.AxisX, &x.AxisY, &x.AxisZ}) {
        l->Thick.v = x.Thick.v;
        l->Arrow1.v = false;
        l->Arrow2.v = true;
    }

    if (role != 0) return;
    x.ID.e = x.Layer.e = x.Thick.e = x.Color.e = x.ColorIndex.e = x.Disabled.e = true;
    x.Scale.e = x.Div.e = x.MarkWidth.e = x.MarkHeight.e = true;
    x.NumbersOn.e = x.NumberStep.e = x.NumberFont.e = x.NumbersItalic.e = x.NumbersBold.e = x.NumberSize.e = true;
    for (std::size_t k = 1; k <= 4; ++k) {
        x.SurfOn[k].e = x.Surf[k].e = true;
        x.SurfThick[k].e = x.SurfColor[k].e = x.SurfColorIndex[k].e = true;
    }
    x.Surf3More[1].e = x.Surf3More[2].e = true;

    x.Center.Typ.e = true;
    UpdatePoint(x.Center, -1);
    UpdateLine(x.AxisX, -41);
    UpdateLine(x.AxisY, -42);
    UpdateLine(x.AxisZ, -43);
    if (x.Center.Link.linked())
        x.Center.X.e = x.Center.Y.e = x.Center.Z.e = x.Center.ScrX.e = x.Center.ScrY.e = false;
}

}  // namespace pelmar
