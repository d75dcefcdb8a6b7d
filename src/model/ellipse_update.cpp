// The ellipse update: the projected ellipse from the 3D centre and the two
// conjugate semi-diameter ends, the plane of the ellipse, the radius segments,
// the arc and dash flags of the view type, and the editability flags by role.
#include <array>
#include <cmath>
#include <numbers>

#include "model/construct.h"
#include "model/geometry.h"
#include "model/shading.h"
#include "model/update.h"

namespace pelmar {

namespace {

// Below this the plane of the ellipse contains the viewing direction: no point
// of the plane is seen at a given picture position.
constexpr Ext kMinViewDenominator = 1e-9L;

struct CircleRole {
    int role;
    bool name, style, thick;
    bool centreTypeOn;  // false: the centre's type flag keeps its value
    int centreRole;
    bool contour;       // the centre is cleared: no label, empty type
};

constexpr std::array<CircleRole, 6> CircleRoles{{
    // role name   style  thick  ctype  crole contour
    {0,    true,  true,  true,  true,  -1,   false},  // stand-alone ellipse
    {-1,   false, false, true,  true,  -3,   false},  // circle of a triangle or tetragon
    {-2,   false, false, false, true,  -3,   true},   // contour circle of a sphere
    {-3,   false, false, false, false, -4,   false},  // lower base of a cylinder, base of a cone
    {-4,   false, false, false, false, -2,   false},  // upper base of a cylinder
    {-5,   false, false, false, true,  -3,   false},  // section circle of a sphere
}};

std::array<double, 3> Arr(Vec3 v) { return {v.x, v.y, v.z}; }
Vec3 V(const std::array<double, 3>& a) { return {a[0], a[1], a[2]}; }

bool AllZero(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    for (std::size_t i = 0; i < 3; ++i)
        if (a[i] != 0 || b[i] != 0) return false;
    return true;
}

Ext Dist(const std::array<double, 3>& p, Vec3 m) {
    const Ext dx = static_cast<Ext>(p[0]) - m.x, dy = static_cast<Ext>(p[1]) - m.y, dz = static_cast<Ext>(p[2]) - m.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Brings the tilt into [−180, 180].  A value far outside is reduced first so
// that the stepping ends; a value that is not a number becomes 0.
double TiltInRange(double t) {
    if (!std::isfinite(t)) return 0;
    if (std::fabs(t) > 540) t = std::fmod(t, 360.0);
    while (t > 180) t -= 360;
    while (t < -180) t += 360;
    return t;
}

// The projected ellipse and the 3D semi-axes from the centre and the two stored points.
void ProjectEllipse(DCircle& c) {
    const Vec3 m = Pos(c.Center);
    double cx, cy, r1, r2, angle, ca, cb, cc, cd, ce, cf;
    const std::uint8_t status =
        CalcScreenEllipse(Arr(m), c.Q1, c.Q2, cx, cy, r1, r2, angle, ca, cb, cc, cd, ce, cf);
    if (status == ScreenEllipseOk) {
        c.Center.ScrX.v = cx;
        c.Center.ScrY.v = cy;
        c.A.v = r1;
        c.B.v = r2;
        c.Tilt.v = static_cast<double>(RoundL(angle * 180.0L / std::numbers::pi_v<Ext> * 1000.0L) / 1000.0L);
        for (auto& r : c.R) {
            r.P1.ScrX.v = cx;
            r.P1.ScrY.v = cy;
        }
        c.A3.v = static_cast<double>(Dist(c.Q1, m));
        c.B3.v = static_cast<double>(Dist(c.Q2, m));
    } else {
        if (!AllZero(c.Q1, c.Q2)) {
            // A normal along the depth axis, or none at all: the outline has collapsed.
            const Ext ux = static_cast<Ext>(c.Q1[0]) - m.x, uy = static_cast<Ext>(c.Q1[1]) - m.y,
                      uz = static_cast<Ext>(c.Q1[2]) - m.z;
            const Ext wx = static_cast<Ext>(c.Q2[0]) - m.x, wy = static_cast<Ext>(c.Q2[1]) - m.y,
                      wz = static_cast<Ext>(c.Q2[2]) - m.z;
            const Ext detXY = ux * wy - wx * uy, detXZ = ux * wz - wx * uz;
            if (std::fabs(detXY) < 0.001L && std::fabs(detXZ) < 0.001L) c.A.v = c.B.v = 0;
        }
        // No projected ellipse: the 3D semi-axes fall back to the picture
        // ones, those of a collapsed outline included, so that the next
        // update finds what this one left.
        c.A3.v = c.A.v;
        c.B3.v = c.B.v;
    }
    c.Is3D = std::fabs(static_cast<Ext>(c.A3.v) - c.B3.v) < 0.001L;
}

// Radius segment i runs from the centre to the outline at its angle; its outer
// end is the point of the ellipse's plane seen there.
void PlaceRadius(DCircle& c, int i) {
    DLine& r = c.R[static_cast<std::size_t>(i)];
    SetPos(r.P1, Pos(c.Center));
    const Vec3 before = Pos(r.P2);
    PlaceEllipseRadius(c, i);
    const Ext s8 = Sqrt8();
    const Ext den = static_cast<Ext>(c.PA) + c.PB / s8 + c.PC / s8;
    if (std::fabs(den) < kMinViewDenominator) {
        // The plane is seen edge-on: keep the last 3D position.
        SetPos(r.P2, before);
        return;
    }
    const Ext sx = r.P2.ScrX.v, sy = r.P2.ScrY.v;
    const Ext x = -(c.PB * sx + c.PC * sy + c.PD) / den;
    r.P2.X.v = Round3(static_cast<double>(x));
    r.P2.Y.v = Round3(static_cast<double>(sx + x / s8));
    r.P2.Z.v = Round3(static_cast<double>(sy + x / s8));
}

void ViewFlags(DCircle& c) {
    bool arc, dashArc, dash;
    switch (c.ViewType.v) {
        case 1: arc = true, dashArc = false, dash = false; break;
        case 2: arc = true, dashArc = false, dash = true; break;
        case 3: arc = false, dashArc = false, dash = false; break;
        case 4: arc = true, dashArc = true, dash = true; break;
        default: return;
    }
    c.Arc1.e = c.Arc2.e = arc;
    c.DashArc1.e = c.DashArc2.e = dashArc;
    c.Dash.e = c.Gap.e = dash;
}

void ApplyRole(DCircle& c, const CircleRole& row) {
    c.A.e = c.B.e = false;
    for (auto& s : c.ShowR) s.e = true;
    c.IsCircle.e = false;
    for (auto& r : c.R) {
        // The radius was placed at its angle; the angle read back from the
        // pixel-rounded ends would move it a little further on every update.
        const double angle = r.Angle.v;
        UpdateLine(r, -1);
        r.Angle.v = angle;
    }

    c.ID.e = row.name;
    c.Layer.e = c.Color.e = c.ColorIndex.e = c.Disabled.e = row.style;
    c.Thick.e = row.thick;
    if (row.centreTypeOn) c.Center.Typ.e = true;
    if (row.contour) {
        c.Center.Name.s.clear();
        c.Center.Upper.s.clear();
        c.Center.Lower.s.clear();
        c.Center.Typ.v = 1;
    }
    UpdatePoint(c.Center, row.centreRole);

    if (row.role != 0) {
        c.Tilt.e = false;
        return;
    }
    c.ViewType.e = true;
    for (auto& r : c.R) r.LineType.e = true;
    // Both semi-diameters at the centre's depth: the ellipse is parallel to the
    // picture and is edited by its picture semi-axes and tilt.
    const bool flat = NearlyEqual(c.Q1[0], c.Center.X.v) && NearlyEqual(c.Q2[0], c.Center.X.v);
    c.A.e = c.B.e = c.Tilt.e = flat;
    c.A3.e = c.B3.e = !flat;
    if (c.Center.Link.linked())
        c.Center.ScrX.e = c.Center.ScrY.e = c.Center.X.e = c.Center.Y.e = c.Center.Z.e = false;
}

}  // namespace

void UpdateCircle(DCircle& c, int role) {
    c.Color.v = IndexToColor(c.ColorIndex.v, c.Color.v);
    c.Center.Color.v = c.Color.v;
    c.Center.ColorIndex.v = c.ColorIndex.v;
    c.Center.Layer.v = c.Layer.v;
    for (auto& r : c.R) {
        r.Color.v = c.Color.v;
        r.ColorIndex.v = c.ColorIndex.v;
        r.Layer.v = c.Layer.v;
    }

    // A new ellipse: its semi-diameters along the picture axes from the 3D semi-axes.
    if (role == 0 && AllZero(c.Q1, c.Q2)) {
        const Vec3 m = Pos(c.Center);
        c.Q1 = Arr(m + Vec3{0, c.A3.v, 0});
        c.Q2 = Arr(m + Vec3{0, 0, c.B3.v});
    }
    // The semi-diameter ends as a file keeps them, so that the ellipse read
    // back from a file is computed the same: the outline is sensitive to the
    // last bits of the ends.
    for (auto* q : {&c.Q1, &c.Q2})
        for (double& v : *q) v = AsFiled(v);

    ProjectEllipse(c);
    c.IsCircle.v = NearlyEqual(c.B.v, c.A.v);
    c.Tilt.v = TiltInRange(c.Tilt.v);
    PlaneBy3Points(Pos(c.Center), V(c.Q1), V(c.Q2), c.PA, c.PB, c.PC, c.PD);
    for (int i = 1; i <= 3; ++i) PlaceRadius(c, i);

    if (c.ViewType.v == 4 && c.Arc1.v != c.Arc2.v) {
        if (c.Arc2.v - c.Arc1.v >= 360) c.Arc2.v -= 360;
        if (c.DashArc2.v - c.DashArc1.v >= 360) c.DashArc2.v -= 360;
    }
    ViewFlags(c);

    for (const auto& row : CircleRoles)
        if (row.role == role) {
            ApplyRole(c, row);
            break;
        }
}

}  // namespace pelmar
