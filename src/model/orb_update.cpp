// The sphere update: the picture position of the centre, the contour ellipse,
// the seven section circles and, by the view mode, which arc of each section
// is drawn solid, dashed or not at all; then the editability flags by role.
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

#include "model/geometry.h"
#include "model/round_parts.h"
#include "model/update.h"

namespace pelmar {

namespace {

using round::OffsetAngle;
using round::SetRadii;
using round::SetRadiiFlags;
using round::ToArr;

// The view plane through a point: x + y/√8 + z/√8 + d = 0.
struct ViewPlane {
    double a, b, c, d;
};

ViewPlane ViewPlaneAt(Vec3 p) {
    const double k = static_cast<double>(1 / Sqrt8());
    return {1.0, k, k, -(p.x + p.y * k + p.z * k)};
}

double ValueAt(const ViewPlane& v, Vec3 p) { return PlaneValue(p, v.a, v.b, v.c, v.d); }

// Angle of a 3D point's projection around a picture centre.
double PictureAngle(Vec3 p, double cx, double cy) {
    Ext sx, sy;
    ProjectXYZ(sx, sy, p.x, p.y, p.z);
    return OffsetAngle(sx - cx, sy - cy);
}

// A unit vector perpendicular to n (|n| > 0): n crossed with the axis along
// which n has its smallest component.
Vec3 PerpendicularUnit(Vec3 n) {
    const double ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    Vec3 e{0, 0, 1};
    if (ax <= ay && ax <= az)
        e = {1, 0, 0};
    else if (ay <= az)
        e = {0, 1, 0};
    const Vec3 w = Cross(n, e);
    const double len = Norm(w);
    return len > 0 ? w * (1 / len) : Vec3{0, 1, 0};
}

void CopyStyle(const DSf& s, DCircle& c) {
    c.Color.v = s.Color.v;
    c.ColorIndex.v = s.ColorIndex.v;
    c.Layer.v = s.Layer.v;
    c.Thick.v = s.Thick.v;
}

// A section's plane (normal n, n·x + d = 0), centre and conjugate points.
struct SectionFrame {
    Vec3 n, c, q1, q2;
    double d = 0;
};

// The section's arcs in the automatic (5) and opaque (6) modes: where the
// section crosses the outline of the sphere, which of its two arcs lies
// behind the view plane of the centre.
void SectionArcs(DSf& s, DCircle& sec, const SectionFrame& f, std::uint8_t mode) {
    const Vec3 c = f.c, q1 = f.q1, q2 = f.q2;
    const Vec3 centre = Pos(s.Center);
    const ViewPlane v = ViewPlaneAt(centre);

    // The line where the section's plane meets the view plane, and where it
    // meets the sphere: the crossings of the section with the outline.
    double lx, ly, lz, dx, dy, dz;
    bool crosses = IntersectPlanes(lx, ly, lz, dx, dy, dz, f.n.x, f.n.y, f.n.z, f.d, v.a, v.b, v.c, v.d);
    double x1 = 0, y1 = 0, z1 = 0, x2 = 0, y2 = 0, z2 = 0;
    if (crosses)
        crosses = IntersectLineSphere(x1, y1, z1, x2, y2, z2, {lx, ly, lz}, {dx, dy, dz}, centre, s.Radius.v);

    if (!crosses) {
        if (ValueAt(v, c) >= 0) {
            sec.ViewType.v = 1;
            sec.DashArc2.v = 0;
        } else {
            sec.ViewType.v = 2;
            sec.DashArc2.v = 360;
        }
        sec.Arc1.v = sec.Arc2.v = 0;
        sec.DashArc1.v = 0;
        return;
    }

    const double cx = sec.Center.ScrX.v, cy = sec.Center.ScrY.v;
    double a1 = PictureAngle({x1, y1, z1}, cx, cy);
    double a2 = PictureAngle({x2, y2, z2}, cx, cy);
    if (a1 > a2) std::swap(a1, a2);

    // A test point of the circle tells which of the two arcs lies in front.
    Vec3 t = q1;
    double side = ValueAt(v, q1);
    if (NearlyEqual(0, side)) {
        t = q2;
        side = ValueAt(v, q2);
    }
    const bool front = side > 0;
    const double a3 = PictureAngle(t, cx, cy);
    const bool inside = (a1 < a3 && a3 < a2) || (a1 + 360 < a3 && a3 < a2 + 360) ||
                        (a1 - 360 < a3 && a3 < a2 - 360);
    if (front == inside) {
        const double first = a1;
        a1 = a2;
        a2 = first + 360;
    }
    // The hidden arc runs from a1 to a2; the ellipse counts from its axis a.
    a1 -= sec.Tilt.v;
    a2 -= sec.Tilt.v;
    if (mode == 5) {
        sec.Arc1.v = sec.Arc2.v = 0;
        sec.DashArc1.v = a1;
        sec.DashArc2.v = a2;
    } else {
        sec.Arc1.v = a2;
        sec.Arc2.v = a1 + 360;
    }
}

// Plane, centre and conjugate points of section i, stored into the section
// circle and handed back for the view step.
SectionFrame BuildSection(DSf& s, std::size_t i) {
    const double R = s.Radius.v;
    if (s.SecNX[i].v * s.SecNX[i].v + s.SecNY[i].v * s.SecNY[i].v + s.SecNZ[i].v * s.SecNZ[i].v < 0.001)
        s.SecNZ[i].v = 1.0;
    double& h = s.SecH[i].v;
    if (h < 0) h = 0;
    if (h >= R) h = 0;

    SectionFrame f;
    const Vec3 n{s.SecNX[i].v, s.SecNY[i].v, s.SecNZ[i].v};
    f.n = n;
    const double len = Norm(n);  // at least √0.001 after the correction above
    const Vec3 c = Pos(s.Center) + n * (h / len);
    f.c = c;
    const double r = std::sqrt(std::fmax(0.0, R * R - h * h));
    const double d = -Dot(n, c);
    f.d = d;

    // A point of the plane on a coordinate axis; the last axis that the
    // normal is not parallel to wins.
    Vec3 p{0, 0, 0};
    if (std::fabs(n.x) > 0.001) p = {-d / n.x, 0, 0};
    if (std::fabs(n.y) > 0.001) p = {0, -d / n.y, 0};
    if (std::fabs(n.z) > 0.001) p = {0, 0, -d / n.z};

    const Vec3 toP = p - c;
    const double dist = Norm(toP);
    if (dist < 1e-9) {
        // The section's centre is that point itself: any direction in the
        // plane gives a point of the circle.
        f.q1 = c + PerpendicularUnit(n) * r;
    } else {
        f.q1 = c + toP * (r / dist);
    }
    f.q2 = f.q1;
    RotateAroundAxis(f.q2.x, f.q2.y, f.q2.z, c.x, c.y, c.z, 90, n.x, n.y, n.z);

    DCircle& sec = s.Sec[i];
    SetPos(sec.Center, c);
    sec.Q1 = ToArr(f.q1);
    sec.Q2 = ToArr(f.q2);
    sec.IsCircle.v = false;
    sec.PA = n.x;
    sec.PB = n.y;
    sec.PC = n.z;
    sec.PD = d;
    return f;
}

void SectionView(DSf& s, std::size_t i, const SectionFrame& f) {
    DCircle& sec = s.Sec[i];
    DCircle& contour = s.Contour;
    const std::uint8_t mode = s.View.v;
    switch (mode) {
        case 1:
        case 2:
            sec.ViewType.v = mode;
            sec.ViewType.e = false;
            SetRadii(sec, mode, false);
            contour.ViewType.v = mode;
            contour.ViewType.e = false;
            sec.Arc1.v = sec.Arc2.v = 0;
            break;
        case 3:
        case 4:
            if (mode == 3) {
                sec.ViewType.v = 3;
                sec.ViewType.e = false;
                contour.ViewType.v = 3;
                contour.ViewType.e = false;
            } else {
                sec.ViewType.e = true;
                contour.ViewType.e = true;
            }
            SetRadiiFlags(sec, true);
            break;
        case 5:
        case 6:
            sec.ViewType.v = mode == 5 ? 4 : 1;
            sec.ViewType.e = false;
            SetRadii(sec, 2, false);
            UpdateCircle(sec, -5);
            SectionArcs(s, sec, f, mode);
            contour.ViewType.v = 1;
            contour.ViewType.e = false;
            break;
        default: break;
    }
}

}  // namespace

void UpdateSolidSphere(DSf& s, bool on) {
    if (on) return UpdateOrb(s, -1);
    const auto forget = [](DCircle& c) { c.PA = c.PB = c.PC = c.PD = 0; };
    forget(s.Contour);
    for (DCircle& c : s.Sec) forget(c);
}

void UpdateOrb(DSf& s, int role) {
    s.Color.v = IndexToColor(s.ColorIndex.v, s.Color.v);
    for (std::size_t i = 1; i <= 7; ++i) CopyStyle(s, s.Sec[i]);
    CopyStyle(s, s.Contour);
    s.Center.Color.v = s.Color.v;
    s.Center.ColorIndex.v = s.ColorIndex.v;
    s.Center.Layer.v = s.Layer.v;

    // The centre is stored to the thousandth (its point update below rounds
    // it); a centre moved off that grid is rounded before the sections are
    // built from it, so that they are what reading the saved sphere builds.
    if (role == 0 || role == -1) SetPos(s.Center, {Round3(s.Center.X.v), Round3(s.Center.Y.v), Round3(s.Center.Z.v)});
    // A sphere standing alone keeps its radius in the file: it is built from
    // the radius as the file keeps it (a dragged radius has more digits than
    // a file holds).  A solid's spheres take theirs from the solid.
    if (role == 0) s.Radius.v = AsFiled(s.Radius.v);
    ProjectPoint(s.Center);
    s.Contour.Center = s.Center;

    // The outline: an ellipse with its major axis along the 45° picture
    // direction; its conjugate points lie at depth 0, where the picture
    // position equals the 3D (Y, Z).
    {
        const double R = s.Radius.v;
        const double s2 = std::sqrt(2.0);
        DCircle& ct = s.Contour;
        ct.IsCircle.v = false;
        ct.A.v = std::sqrt(5.0) * R / 2;
        ct.B.v = R;
        ct.Tilt.v = 45.0;
        ct.PA = 1;
        ct.PB = ct.PC = ct.PD = 0;
        const double cx = s.Center.ScrX.v, cy = s.Center.ScrY.v;
        ct.Q1 = {0, cx + ct.A.v / s2, cy + ct.A.v / s2};
        ct.Q2 = {0, cx - ct.B.v / s2, cy + ct.B.v / s2};
    }

    for (std::size_t i = 1; i <= 7; ++i) {
        const SectionFrame f = BuildSection(s, i);
        SectionView(s, i, f);
    }

    if (role == 0) {
        s.ID.e = s.Layer.e = s.Thick.e = s.Color.e = s.ColorIndex.e = s.Disabled.e = true;
        s.Radius.e = true;
        s.View.e = true;
        UpdateCircle(s.Contour, -2);
        for (std::size_t i = 1; i <= 7; ++i)
            if (s.SecOn[i].v) UpdateCircle(s.Sec[i], -5);
        s.Center.Typ.e = true;
        UpdatePoint(s.Center, -1);
        if (s.Center.Link.linked())
            s.Center.X.e = s.Center.Y.e = s.Center.Z.e = s.Center.ScrX.e = s.Center.ScrY.e = false;
    } else if (role == -1) {
        s.ID.e = s.Layer.e = false;
        s.Thick.e = true;
        s.Color.e = s.ColorIndex.e = s.Disabled.e = false;
        s.Radius.e = false;
        for (std::size_t i = 1; i <= 7; ++i)
            if (s.SecOn[i].v) UpdateCircle(s.Sec[i], -5);
        UpdateCircle(s.Contour, -2);
        s.Center.Typ.e = true;
        UpdatePoint(s.Center, -3);
    }
    for (std::size_t j = 1; j <= 3; ++j) s.Contour.ShowR[j].e = false;
}

}  // namespace pelmar
