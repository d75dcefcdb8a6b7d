// Transformation members of the coordinate systems.  A system is never turned
// or mirrored: its centre moves, and its axes and computed curves are carried
// along with the centre.
#include <cstddef>
#include <cstdint>

#include "model/coord_limit.h"
#include "model/transform_parts.h"
#include "model/update.h"

namespace pelmar::xf {

namespace {

// Which coordinates of an axis end pass through the centre.
struct Through {
    bool scrX, scrY, y, z;
};

// An axis end keeps its offset from the centre in the picture and in the 3D
// Y and Z; the 3D X stays as it was.
void Carry(DPoint& p, const DPoint& c0, const DPoint& c1, Through t) {
    p.ScrX.v = t.scrX ? c1.ScrX.v : c1.ScrX.v + (p.ScrX.v - c0.ScrX.v);
    p.ScrY.v = t.scrY ? c1.ScrY.v : c1.ScrY.v + (p.ScrY.v - c0.ScrY.v);
    p.Y.v = t.y ? c1.Y.v : c1.Y.v + (p.Y.v - c0.Y.v);
    p.Z.v = t.z ? c1.Z.v : c1.Z.v + (p.Z.v - c0.Z.v);
}

void CarryAxis(DLine& l, const DPoint& c0, const DPoint& c1, Through t) {
    Carry(l.P1, c0, c1, t);
    Carry(l.P2, c0, c1, t);
}

constexpr Through kAlongX2D{false, true, false, true};   // horizontal axis of a plane system
constexpr Through kAlongY2D{true, false, true, false};   // vertical axis of a plane system
constexpr Through kDepth{false, false, true, true};      // depth axis of a space system
constexpr Through kAlongY3D{false, true, false, true};
constexpr Through kAlongZ3D{true, false, true, false};

}  // namespace

// A window edge moved by a rounded number of pixels, kept inside the Integer range.
void AddPixels(std::int32_t& w, double d) {
    const double v = static_cast<double>(w) + Round(d);
    w = SaturatedTrunc<std::int32_t>(v);  // v is whole already; a NaN gives 0
}

void ApplyXOY(DXOY& x, const Op& op) {
    const DPoint c0 = x.Center;
    ApplyPoint(x.Center, op);
    switch (op.family) {
        case Family::Translate:
        case Family::Homothety:
            ApplyLine(x.AxisX, op);
            ApplyLine(x.AxisY, op);
            break;
        default:
            CarryAxis(x.AxisX, c0, x.Center, kAlongX2D);
            CarryAxis(x.AxisY, c0, x.Center, kAlongY2D);
            break;
    }
    // The cached curves follow the centre; a homothety also rescales the
    // axes, so they are traced again.
    const double dx = x.Center.ScrX.v - c0.ScrX.v, dy = x.Center.ScrY.v - c0.ScrY.v;
    ShiftCurves(x.Curves, dx, dy);
    if (op.family == Family::Homothety) x.Curves.Valid = 0;
    // The carried axes keep their old depth while the centre may take a new
    // one: the update puts them through the centre again, as it does for a
    // system read from a file, so that the moved system saves as it reopens.
    UpdateXOY(x, 0);
}

void ApplyXYZ(DXZ& x, const Op& op) {
    const DPoint c0 = x.Center;
    ApplyPoint(x.Center, op);
    if (op.family == Family::Translate) {
        for (DLine* l : {&x.AxisX, &x.AxisY, &x.AxisZ}) ApplyLine(*l, op);
    } else {
        CarryAxis(x.AxisX, c0, x.Center, kDepth);
        CarryAxis(x.AxisY, c0, x.Center, kAlongY3D);
        CarryAxis(x.AxisZ, c0, x.Center, kAlongZ3D);
    }
    const double dx = x.Center.ScrX.v - c0.ScrX.v, dy = x.Center.ScrY.v - c0.ScrY.v;
    const bool retrace = op.family == Family::Homothety;
    for (auto& c : x.Curves) {
        ShiftCurves(c, dx, dy);
        if (retrace) c.Valid = 0;
    }
    for (auto& o : x.Outlines) {
        ShiftCurves(o.Lines, dx, dy);
        if (retrace) o.Lines.Valid = 0;
        AddPixels(o.X1, dx);
        AddPixels(o.X2, dx);
        AddPixels(o.Y1, dy);
        AddPixels(o.Y2, dy);
    }
    // As for the plane system: the axes through the centre again.
    UpdateXYZ(x, 0);
}

}  // namespace pelmar::xf
