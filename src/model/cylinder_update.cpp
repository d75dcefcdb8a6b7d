// The cylinder update: axis, base ellipses, the silhouette rectangle, the
// sections through the axis, the two spheres, and the drawn, dashed or hidden
// parts of all of them by the view mode; then the editability flags by role.
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

#include "model/construct.h"
#include "model/geometry.h"
#include "model/round_parts.h"
#include "model/shading.h"
#include "model/update.h"

namespace pelmar {

namespace {

using round::CopyStyle;
using round::FromArr;
using round::OffsetAngle;
using round::SetArcs;
using round::SetRadii;
using round::SetRadiiFlags;
using round::SetVertex;
using round::SetView;
using round::ToArr;
using round::Vertex;

// The silhouette rectangle: the two generators along which the viewing rays
// graze the lateral surface.
void BuildContour(DZi& z, Vec3 p0, Vec3 p1) {
    DKv& ct = z.Sec[2];
    const DCircle& lo = z.Base[1];
    const double cx0 = lo.Center.ScrX.v, cy0 = lo.Center.ScrY.v;
    const double cx1 = z.Base[2].Center.ScrX.v, cy1 = z.Base[2].Center.ScrY.v;
    const Vec3 ax = p1 - p0;

    if (cx1 == cx0) {
        // Axis upright in the picture: the grazing points of a horizontal
        // circle lie at fixed picture offsets from its centre.
        const double s = std::sqrt(2.0);
        const double R = z.Radius.v;
        const Ext s8 = Sqrt8();
        auto lift = [&](double px, double py, double zz) {
            const Ext x = (static_cast<Ext>(zz) - py) * s8;
            return Vec3{static_cast<double>(x), static_cast<double>(px + x / s8), zz};
        };
        Vec3 v1 = lift(cx0 - 3 * R / (2 * s), cy0 - R / (6 * s), p0.z);
        Vec3 v4 = lift(cx0 + 3 * R / (2 * s), cy0 + R / (6 * s), p0.z);
        Vec3 v2{v1.x, v1.y, p1.z};
        Vec3 v3{v4.x, v4.y, p1.z};
        if (z.UpperVisible == 0) {
            std::swap(v1, v4);
            std::swap(v2, v3);
        }
        SetVertex(ct, 1, v1);
        SetVertex(ct, 2, v2);
        SetVertex(ct, 3, v3);
        SetVertex(ct, 4, v4);
        ct.Typ.v = 2;
        return;
    }

    // Otherwise the grazing points are where the base ellipse's tangent runs
    // parallel to the axis in the picture.
    const Ext m = (static_cast<Ext>(cy1) - cy0) / (static_cast<Ext>(cx1) - cx0);
    double ecx, ecy, r1, r2, ang, ca, cb, cc, cd, ce, cf;
    CalcScreenEllipse(ToArr(p0), lo.Q1, lo.Q2, ecx, ecy, r1, r2, ang, ca, cb, cc, cd, ce, cf);
    const Ext A = ca, B = cb, C = cc, D = cd, E = ce, F = cf;
    const Ext den = B + 2 * C * m;
    if (den == 0) {
        ct.Typ.v = 2;  // no tangent of that slope: the contour keeps its vertices
        return;
    }
    const Ext k = -(2 * A + B * m) / den;
    const Ext q = -(D + E * m) / den;
    Ext x1 = 0, x2 = 0;
    if (SolveQuadratic(x1, x2, A + B * k + C * k * k, B * q + 2 * C * k * q + D + E * k, C * q * q + E * q + F) !=
        2) {
        ct.Typ.v = 2;  // no pair of grazing points: the contour keeps its vertices
        return;
    }
    double pa, pb, pc, pd;
    PlaneBy3Points(p0, FromArr(lo.Q1), FromArr(lo.Q2), pa, pb, pc, pd);
    const Vec3 t1 = round::LiftToPlane(static_cast<double>(x1), static_cast<double>(k * x1 + q), pa, pb, pc, pd);
    const Vec3 t2 = round::LiftToPlane(static_cast<double>(x2), static_cast<double>(k * x2 + q), pa, pb, pc, pd);
    SetVertex(ct, 1, t1);
    SetVertex(ct, 4, t2);
    SetVertex(ct, 2, t1 + ax);
    SetVertex(ct, 3, t2 + ax);
    // The silhouette is computed exactly: no type rule may move (or mirror)
    // its vertices.
    UpdateTetragon(ct, 0, false);
    if (static_cast<Ext>(SideOfLine(Vertex(ct, 3), ct.S[1])) * SideOfLine(lo.Center, ct.S[1]) < 0) {
        SetVertex(ct, 1, t2);
        SetVertex(ct, 4, t1);
        SetVertex(ct, 2, t2 + ax);
        SetVertex(ct, 3, t1 + ax);
    }
    ct.Typ.v = 2;
}

// Section through the axis whose first generator stands on the base point e.
void SectionAt(DKv& sec, Vec3 p0, Vec3 ax, Vec3 e, bool mirrored) {
    const Vec3 opposite = p0 * 2 - e;
    const Vec3 a = mirrored ? opposite : e;
    const Vec3 b = mirrored ? e : opposite;
    SetVertex(sec, 1, a);
    SetVertex(sec, 2, a + ax);
    SetVertex(sec, 4, b);
    SetVertex(sec, 3, b + ax);
    sec.Typ.v = 2;
}

void BuildSections(DZi& z, Vec3 p0, Vec3 ax) {
    // The base points at the section angles: radii of a working copy of the
    // lower base.
    DCircle e = z.Base[1];
    e.R[1].Angle.v = 0;
    e.R[2].Angle.v = z.SecPos1.v;
    e.R[3].Angle.v = z.SecPos2.v;
    for (std::size_t j = 1; j <= 3; ++j) e.ShowR[j].v = true;
    UpdateCircle(e, 0);

    SectionAt(z.Sec[1], p0, ax, Pos(e.R[1].P2), false);
    const double a1 = round::Wrap180(z.SecPos1.v);
    SectionAt(z.Sec[3], p0, ax, Pos(e.R[2].P2), a1 <= -90 || a1 >= 90);
    const double a2 = round::Wrap180(z.SecPos2.v);
    SectionAt(z.Sec[4], p0, ax, Pos(e.R[3].P2), a2 <= -90 || a2 >= 90);
}

void BuildSpheres(DZi& z, Vec3 p0, Vec3 p1) {
    const Vec3 mid = (p0 + p1) * 0.5;
    SetPos(z.OutSphere.Center, mid);
    z.OutSphere.Radius.v = Norm(mid - FromArr(z.Base[1].Q1));
    SetPos(z.InSphere.Center, mid);
    z.InSphere.Radius.v = Norm(p1 - p0) / 2;
    ProjectPoint(z.OutSphere.Center);
    ProjectPoint(z.InSphere.Center);

    // A sphere touches all faces only when the height is the diameter; the
    // inscribed sphere is switched off together with its control otherwise.
    const bool fits = Round(z.Axis.Length.v) == 2 * Round(z.Radius.v);
    z.InSphereOn.e = fits;
    if (!fits) z.InSphereOn.v = false;
}

// The dashed arc of a base whose far half the body hides: between the
// contour vertices va and vb, on the side of a test point that is hidden.
void HiddenArc(DCircle& base, const DPoint& va, const DPoint& vb, const DCircle& other, const DKv& ct) {
    const double cx = base.Center.ScrX.v, cy = base.Center.ScrY.v;
    const double tilt = base.Tilt.v;
    const double a1 = OffsetAngle(static_cast<Ext>(va.ScrX.v) - cx, static_cast<Ext>(va.ScrY.v) - cy) - tilt;
    double a2 = OffsetAngle(static_cast<Ext>(vb.ScrX.v) - cx, static_cast<Ext>(vb.ScrY.v) - cy) - tilt;
    if (a2 < a1) a2 += 360;

    DCircle probe = base;
    probe.R[1].Angle.v = -10.0;
    PlaceEllipseRadius(probe, 1);
    const double tx = probe.R[1].P2.ScrX.v, ty = probe.R[1].P2.ScrY.v;
    const double a3 = OffsetAngle(static_cast<Ext>(tx) - cx, static_cast<Ext>(ty) - cy) - tilt;
    const int px = round::ToPixel(tx), py = round::ToPixel(ty);
    const auto& v = [&](std::size_t i) -> const DPoint& { return Vertex(ct, i); };
    const bool hidden = round::PtInCircleRec(px, py, other) ||
                        PtInQuad(px, py, v(1).ScrX.v, v(1).ScrY.v, v(2).ScrX.v, v(2).ScrY.v, v(3).ScrX.v,
                                 v(3).ScrY.v, v(4).ScrX.v, v(4).ScrY.v);
    const bool onArc = (a1 <= a3 && a3 <= a2) || (a1 <= a3 + 360 && a3 + 360 <= a2);
    base.ViewType.v = 4;
    if (hidden == onArc) {
        base.DashArc1.v = a1;
        base.DashArc2.v = a2;
    } else {
        base.DashArc1.v = a2;
        base.DashArc2.v = a1 + 360;
    }
}

void AutomaticArcs(DZi& z) {
    DCircle& lo = z.Base[1];
    DCircle& up = z.Base[2];
    DKv& ct = z.Sec[2];
    UpdateCircle(lo, 0);
    UpdateCircle(up, 0);  // the lower base's test reads the upper ellipse
    UpdateTetragon(ct, 0, false);

    if (z.UpperVisible == 0) {
        lo.ViewType.v = 1;
        lo.DashArc1.v = lo.DashArc2.v = 0;
    } else {
        HiddenArc(lo, Vertex(ct, 1), Vertex(ct, 4), up, ct);
    }
    lo.ViewType.e = false;
    SetRadii(lo, 2, false);
    SetArcs(lo, 0, 0);
    UpdateCircle(up, 0);

    if (z.UpperVisible == 1) {
        up.ViewType.v = 1;
        up.DashArc1.v = up.DashArc2.v = 0;
    } else {
        HiddenArc(up, Vertex(ct, 2), Vertex(ct, 3), lo, ct);
    }
    up.ViewType.e = false;
    SetRadii(up, 1, false);
    SetArcs(up, 0, 0);
}

void OpaqueArcs(DZi& z) {
    DCircle& lo = z.Base[1];
    DCircle& up = z.Base[2];
    lo.ViewType.v = 1;
    UpdateCircle(lo, 0);
    if (z.UpperVisible == 0)
        SetArcs(lo, 0, 0);
    else if (lo.Tilt.v >= 45)
        SetArcs(lo, 0, 180);
    else
        SetArcs(lo, -180, 0);
    lo.ViewType.e = false;
    SetRadii(lo, 2, false);

    up.ViewType.v = 1;
    UpdateCircle(up, 0);
    if (z.UpperVisible == 1)
        SetArcs(up, 0, 0);
    else if (up.Tilt.v >= 45)
        SetArcs(up, 0, 180);
    else
        SetArcs(up, -180, 0);
    up.ViewType.e = false;
    SetRadii(up, 1, false);
}

void ViewStep(DZi& z) {
    const std::uint8_t mode = z.View.v;
    DKv* cuts[3] = {&z.Sec[1], &z.Sec[3], &z.Sec[4]};
    DSf* spheres[2] = {&z.OutSphere, &z.InSphere};
    switch (mode) {
        case 1:
        case 2:
            for (std::size_t b = 1; b <= 2; ++b) {
                SetView(z.Base[b].ViewType, mode);
                SetRadii(z.Base[b], mode, false);
                SetArcs(z.Base[b], 0, 0);
            }
            SetView(z.Axis.LineType, mode);
            for (DKv* k : cuts) SetView(k->View, mode);
            SetView(z.Sec[2].View, mode);
            for (DSf* s : spheres) SetView(s->View, mode);
            break;
        case 3:
        case 4:
            for (std::size_t b = 1; b <= 2; ++b) {
                if (mode == 3)
                    SetView(z.Base[b].ViewType, 3);
                else
                    z.Base[b].ViewType.e = true;
                SetRadiiFlags(z.Base[b], true);
            }
            z.Axis.LineType.e = true;
            for (DKv* k : cuts) k->View.e = true;
            if (mode == 3)
                SetView(z.Sec[2].View, 3);
            else
                z.Sec[2].View.e = true;
            for (DSf* s : spheres) s->View.e = true;
            break;
        case 5:
            AutomaticArcs(z);
            SetView(z.Axis.LineType, 2);
            for (DKv* k : cuts) SetView(k->View, 4);
            SetView(z.Sec[2].View, 1);
            SetView(z.OutSphere.View, 5);
            SetView(z.InSphere.View, 2);
            if (z.OutSphereOn.v) {
                // Everything lies inside the drawn sphere.
                for (std::size_t b = 1; b <= 2; ++b) {
                    SetView(z.Base[b].ViewType, 2);
                    SetRadii(z.Base[b], 2, false);
                }
                SetView(z.Axis.LineType, 2);
                for (std::size_t i = 1; i <= 4; ++i) SetView(z.Sec[i].View, 2);
            }
            break;
        case 6:
            OpaqueArcs(z);
            SetView(z.Axis.LineType, 3);
            for (DKv* k : cuts) SetView(k->View, 4);
            SetView(z.Sec[2].View, 1);
            break;
        default: break;
    }
}

}  // namespace

void CylinderEdgeStyles(DKv reference, DKv& section, bool upperFaces, std::uint8_t mode) {
    const std::uint8_t hidden = mode == 5 ? 2 : 3;
    if (mode == 5 || mode == 6) {
        section.S[2].LineType.v = upperFaces ? 1 : hidden;
        section.S[4].LineType.v = upperFaces ? hidden : 1;
    }
    ProjectPoint(section.S[1].P1);
    ProjectPoint(section.S[4].P1);

    const round::PlaneSide side(reference);
    section.S[1].LineType.v = side.LineType(Vertex(section, 1), hidden);
    section.S[3].LineType.v = side.LineType(Vertex(section, 4), hidden);
    for (std::size_t i = 1; i <= 2; ++i) SetView(section.Diag[i].LineType, hidden);
    for (std::size_t i = 1; i <= 4; ++i) section.S[i].LineType.e = false;
}

void UpdateCylinder(DZi& z, int role) {
    z.Color.v = IndexToColor(z.ColorIndex.v, z.Color.v);
    CopyStyle(z, z.Axis);
    for (std::size_t b = 1; b <= 2; ++b) CopyStyle(z, z.Base[b]);
    for (std::size_t i = 1; i <= 4; ++i) CopyStyle(z, z.Sec[i]);
    CopyStyle(z, z.OutSphere);
    CopyStyle(z, z.InSphere);
    z.Base[1].Thick.v = z.Base[2].Thick.v = z.Sec[2].Thick.v = z.Thick.v;

    DCircle& lo = z.Base[1];
    DCircle& up = z.Base[2];
    const Vec3 p0 = Pos(lo.Center);
    const Vec3 p1 = Pos(up.Center);
    // The height is the axis as it stands now (the axis update below measures
    // it the same way, and only then): a linked or dragged upper base moves without the field.
    SetPos(z.Axis.P1, p0);
    SetPos(z.Axis.P2, p1);
    if (role == 0) z.Axis.Length.v = LineLength(z.Axis);

    if (z.Axis.Length.v < 1.0) z.Axis.Length.v = 1.0;
    if (z.Radius.v <= 1.0) z.Radius.v = 1.0;
    const double R = z.Radius.v;

    if (role == 0 && lo.Q1 == std::array<double, 3>{} && lo.Q2 == std::array<double, 3>{}) {
        lo.Q1 = {p0.x, p0.y + R, p0.z};
        lo.Q2 = {p0.x - R, p0.y, p0.z};
    }
    const Vec3 ax = p1 - p0;
    z.UpperVisible = Dot(ax, round::ViewDir()) >= 0 ? 1 : 0;
    up.Q1 = ToArr(FromArr(lo.Q1) + ax);
    up.Q2 = ToArr(FromArr(lo.Q2) + ax);

    z.Axis.P1.ScrX.v = lo.Center.ScrX.v;
    z.Axis.P1.ScrY.v = lo.Center.ScrY.v;
    SetPos(z.Axis.P1, p0);
    z.Axis.P2.ScrX.v = up.Center.ScrX.v;
    z.Axis.P2.ScrY.v = up.Center.ScrY.v;
    SetPos(z.Axis.P2, p1);
    ProjectPoint(lo.Center);
    ProjectPoint(up.Center);

    BuildContour(z, p0, p1);
    BuildSections(z, p0, ax);
    BuildSpheres(z, p0, p1);
    ViewStep(z);

    if (role == 0) {
        z.ID.e = z.Layer.e = z.Thick.e = z.Color.e = z.ColorIndex.e = z.Disabled.e = true;
        UpdateLine(z.Axis, -13);
        UpdateCircle(lo, -3);
        UpdateCircle(up, -4);
        UpdateTetragon(z.Sec[1], -1, false);
        UpdateTetragon(z.Sec[2], -11, false);
        UpdateTetragon(z.Sec[3], -1, false);
        UpdateTetragon(z.Sec[4], -1, false);
        UpdateSolidSphere(z.OutSphere, z.OutSphereOn.v);
        UpdateSolidSphere(z.InSphere, z.InSphereOn.v);
        if (lo.Center.Link.linked())
            lo.Center.X.e = lo.Center.Y.e = lo.Center.Z.e = lo.Center.ScrX.e = lo.Center.ScrY.e = false;
    }

    const std::uint8_t mode = z.View.v;
    if (mode == 5 || mode == 6) {
        const bool upperFaces = z.UpperVisible != 0;
        CylinderEdgeStyles(z.Sec[2], z.Sec[1], upperFaces, mode);
        CylinderEdgeStyles(z.Sec[2], z.Sec[3], upperFaces, mode);
        CylinderEdgeStyles(z.Sec[2], z.Sec[4], upperFaces, mode);
        z.Sec[2].S[1].LineType.e = z.Sec[2].S[3].LineType.e = false;
        if (mode == 5 && z.OutSphereOn.v)
            for (auto& sec : z.Sec) round::DashEdges(sec);
    }
}

}  // namespace pelmar
