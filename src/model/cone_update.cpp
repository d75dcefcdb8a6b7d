// The cone update: axis from the base centre to the apex, the base ellipse,
// the silhouette triangle, the sections through the apex, the two spheres and
// the drawn, dashed or hidden parts by the view mode; then the flags by role.
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "model/construct.h"
#include "model/geometry.h"
#include "model/round_parts.h"
#include "model/shading.h"
#include "model/update.h"

namespace pelmar {

namespace {

using round::CopyStyle;
using round::FromArr;
using round::SetArcs;
using round::SetRadii;
using round::SetRadiiFlags;
using round::SetVertex;
using round::SetView;
using round::ToArr;
using round::Vertex;

double Round3Deg(Ext radians) { return Round3(static_cast<double>(radians * round::kDeg)); }

// What the contour step leaves for the base arcs: the picture offsets of the
// two tangent points from the base centre, in the upright case.
struct UprightOffsets {
    bool upright = false;
    Ext dx1 = 0, dy1 = 0, dx2 = 0, dy2 = 0;
};

// An upright cone seen from beside: the tangent points of its base in closed
// form, lifted to the base's height.
UprightOffsets UprightContour(DKo& k, Vec3 p0) {
    UprightOffsets o;
    o.upright = true;
    DTri& ct = k.Sec[2];
    const Ext R = k.Radius.v, H = k.Axis.Length.v;
    const Ext w = 2 * std::sqrt(2.0L) * std::sqrt(9 * H * H - R * R);
    const Ext ts[2] = {(w + R) / (9 * R), (R - w) / (9 * R)};
    const Ext cx = k.Base.Center.ScrX.v, cy = k.Base.Center.ScrY.v;
    const Ext s8 = Sqrt8();
    for (std::size_t j = 0; j < 2; ++j) {
        const Ext t = ts[j];
        const Ext n = 9 * t * t - 2 * t + 1;  // never 0
        const Ext dx = (1 - 9 * t) * H / n, dy = (1 - t) * H / n;
        const Ext px = cx + dx, py = cy + dy;
        const Ext x = (static_cast<Ext>(p0.z) - py) * s8;
        SetVertex(ct, j + 1, {static_cast<double>(x), static_cast<double>(px + p0.z - py), p0.z});
        (j == 0 ? o.dx1 : o.dx2) = dx;
        (j == 0 ? o.dy1 : o.dy2) = dy;
    }
    DPoint& apex = ct.S[3].P1;
    SetPos(apex, Pos(k.Axis.P2));
    apex.ScrX.v = k.Axis.P2.ScrX.v;
    apex.ScrY.v = k.Axis.P2.ScrY.v;
    ct.Typ.v = 2;
    ct.S[1].Thick.v = 0;
    UpdateCircle(k.Base, 0);
    return o;
}

// Any other cone with its apex outside the base ellipse: the tangents from
// the apex's picture position to the base ellipse.
void TangentContour(DKo& k, Vec3 p0) {
    DTri& ct = k.Sec[2];
    DCircle& base = k.Base;
    double ecx, ecy, r1, r2, ang, ca, cb, cc, cd, ce, cf;
    CalcScreenEllipse(ToArr(p0), base.Q1, base.Q2, ecx, ecy, r1, r2, ang, ca, cb, cc, cd, ce, cf);
    const Ext A = ca, B = cb, C = cc, D = cd, E = ce, F = cf;
    const Ext px = k.Axis.P2.ScrX.v, py = k.Axis.P2.ScrY.v;

    // Slopes of the two tangents through the apex.
    const Ext qa = 2 * B * E * px + E * E + B * B * px * px - 4 * C * D * px - 4 * A * C * px * px - 4 * C * F;
    const Ext qb = 4 * A * E * px + 8 * A * C * px * py + 2 * D * E + 4 * C * D * py - 2 * B * B * px * py -
                   2 * B * E * py - 2 * B * D * px - 4 * B * F;
    const Ext qc = D * D + 2 * B * D * py + B * B * py * py - 4 * A * C * py * py - 4 * A * E * py - 4 * A * F;
    Ext m1 = 0, m2 = 0;
    const std::uint8_t roots = SolveQuadratic(m1, m2, qa, qb, qc);
    const std::size_t count = roots == 1 || roots == 2 ? roots : 0;

    double pa, pb, pc, pd;
    PlaneBy3Points(p0, FromArr(base.Q1), FromArr(base.Q2), pa, pb, pc, pd);
    for (std::size_t j = 1; j <= count; ++j) {
        const Ext m = j == 1 ? m1 : m2;
        const Ext den = B + 2 * C * m;
        if (den == 0) continue;  // that vertex keeps its place
        if (j == 1) {
            SetVertex(ct, 3, Pos(k.Axis.P2));
            ct.Typ.v = 2;
        }
        // The two points of the ellipse whose tangent has slope m lie on
        // y = kk·x + q; one of them is on the tangent through the apex.
        const Ext kk = -(B * m + 2 * A) / den;
        const Ext q = -(E * m + D) / den;
        Ext x1 = 0, x2 = 0;
        const std::uint8_t n =
            SolveQuadratic(x1, x2, A + B * kk + C * kk * kk, B * q + 2 * C * kk * q + D + E * kk, C * q * q + E * q + F);
        if (n != 1 && n != 2) continue;
        Ext x = x1;
        if (n == 2 && x2 != px) {
            const Ext y1 = kk * x1 + q, y2 = kk * x2 + q;
            bool second = std::fabs((y2 - py) / (x2 - px) - m) < 0.001L;
            // A nearly level tangent: the point at the apex's height.
            if (std::fabs(m) < 0.001L) second = std::fabs(y2 - py) < std::fabs(y1 - py);
            if (second) x = x2;
        }
        const Vec3 t = round::LiftToPlane(static_cast<double>(x), static_cast<double>(kk * x + q), pa, pb, pc, pd);
        SetVertex(ct, j, t);
    }
    UpdateCircle(base, 0);
}

// Angle of a tangent point around the base centre, relative to the base's
// axis a, to 0.001 degree.
double TangentAngle(Ext dx, Ext dy, Ext theta) {
    const Ext pi = std::numbers::pi_v<Ext>;
    if (dx > 0) return Round3Deg(std::atan(dy / dx) - theta);
    if (dx < 0) return Round3Deg(std::atan(dy / dx) - theta + pi);
    return Round3Deg(pi / 2 - theta + pi);
}

void BaseArcAngles(const DKo& k, const UprightOffsets& o, double& a1, double& a2) {
    const Ext theta = static_cast<Ext>(k.Base.Tilt.v) / round::kDeg;
    if (o.upright) {
        auto atanq = [](Ext dy, Ext dx) {
            return dx == 0 ? (dy >= 0 ? 1 : -1) * std::numbers::pi_v<Ext> / 2 : std::atan(dy / dx);
        };
        a1 = Round3Deg(atanq(o.dy2, o.dx2) - theta);
        a2 = Round3(180 + static_cast<double>((atanq(o.dy1, o.dx1) - theta) * round::kDeg));
        return;
    }
    const Ext cx = k.Base.Center.ScrX.v, cy = k.Base.Center.ScrY.v;
    Ext sx, sy;
    const Vec3 t1 = Pos(Vertex(k.Sec[2], 1)), t2 = Pos(Vertex(k.Sec[2], 2));
    ProjectXYZ(sx, sy, t1.x, t1.y, t1.z);
    a1 = TangentAngle(sx - cx, sy - cy, theta);
    ProjectXYZ(sx, sy, t2.x, t2.y, t2.z);
    a2 = TangentAngle(sx - cx, sy - cy, theta);
}

// Section through the apex standing on the base point e and its mirror point.
void SectionAt(DTri& sec, Vec3 p0, Vec3 apex, Vec3 e) {
    SetVertex(sec, 1, e);
    SetVertex(sec, 2, p0 * 2 - e);
    SetVertex(sec, 3, apex);
    sec.Typ.v = 2;
}

void BuildSections(DKo& k, Vec3 p0, Vec3 apex) {
    DCircle e = k.Base;
    e.R[1].Angle.v = 0;
    e.R[2].Angle.v = k.SecPos1.v;
    e.R[3].Angle.v = k.SecPos2.v;
    for (std::size_t j = 1; j <= 3; ++j) e.ShowR[j].v = true;
    UpdateCircle(e, 0);
    SectionAt(k.Sec[1], p0, apex, Pos(e.R[1].P2));
    SectionAt(k.Sec[3], p0, apex, Pos(e.R[2].P2));
    SectionAt(k.Sec[4], p0, apex, Pos(e.R[3].P2));
}

void BuildSpheres(DKo& k, Vec3 p0, Vec3 apex) {
    const double R = k.Radius.v, H = k.Axis.Length.v;  // H is at least 1
    const Vec3 down = p0 - apex;
    const double len = Norm(down);

    const double rho = (R * R + H * H) / (2 * H);
    k.OutSphere.Radius.v = rho;
    SetPos(k.OutSphere.Center, len > 0 ? apex + down * (rho / len) : p0);

    const double slant = std::sqrt(R * R + H * H) - R;
    const double r = (H * H - slant * slant) / (2 * H);
    k.InSphere.Radius.v = r;
    SetPos(k.InSphere.Center, len > 0 ? p0 - down * (r / len) : p0);
}

void BaseView(DKo& k, std::uint8_t mode, double a1, double a2) {
    DCircle& base = k.Base;
    UpdateCircle(base, 0);
    if (mode == 5) {
        if (k.ApexInside == 0 && k.BaseVisible == 0) {
            base.ViewType.v = 4;
            base.DashArc1.v = a1;
            base.DashArc2.v = a2;
        } else {
            base.ViewType.v = 1;
            base.DashArc1.v = base.DashArc2.v = 0;
        }
        base.ViewType.e = false;
        SetRadii(base, k.BaseVisible == 0 ? 2 : 1, false);
        SetArcs(base, 0, 0);
        return;
    }
    SetView(base.ViewType, 1);
    const DPoint& apex = k.Axis.P2;
    if (!round::PtInCircleRec(round::ToPixel(apex.ScrX.v), round::ToPixel(apex.ScrY.v), base)) {
        double arc2 = a1 + 360;
        if (a2 + 360 < arc2) arc2 -= 360;
        SetArcs(base, a2, arc2);
    } else {
        SetArcs(base, 0, 0);
        base.DashArc1.v = base.DashArc2.v = 0;
    }
    if (k.BaseVisible == 0) {
        SetRadii(base, 3, false);
    } else {
        SetRadii(base, 1, false);
        SetArcs(base, 0, 0);
    }
}

void ViewStep(DKo& k, double a1, double a2) {
    const std::uint8_t mode = k.View.v;
    DTri* cuts[3] = {&k.Sec[1], &k.Sec[3], &k.Sec[4]};
    DSf* spheres[2] = {&k.OutSphere, &k.InSphere};
    switch (mode) {
        case 1:
        case 2:
            SetView(k.Base.ViewType, mode);
            SetRadii(k.Base, mode, false);
            SetArcs(k.Base, 0, 0);
            SetView(k.Axis.LineType, mode);
            for (DTri* t : cuts) SetView(t->View, mode);
            SetView(k.Sec[2].View, mode);
            for (DSf* s : spheres) SetView(s->View, mode);
            break;
        case 3:
        case 4:
            if (mode == 3)
                SetView(k.Base.ViewType, 3);
            else
                k.Base.ViewType.e = true;
            SetRadiiFlags(k.Base, true);
            k.Axis.LineType.e = true;
            for (DTri* t : cuts) t->View.e = true;
            if (mode == 3)
                SetView(k.Sec[2].View, 3);
            else
                k.Sec[2].View.e = true;
            for (DSf* s : spheres) s->View.e = true;
            break;
        case 5:
        case 6:
            BaseView(k, mode, a1, a2);
            SetView(k.Axis.LineType, mode == 5 ? 2 : 3);
            for (DTri* t : cuts) SetView(t->View, 4);
            SetView(k.Sec[2].View, 1);
            SetView(k.OutSphere.View, 5);
            SetView(k.InSphere.View, mode == 5 ? 2 : 6);
            if (mode == 5 && k.OutSphereOn.v) {
                // Everything lies inside the drawn sphere.
                SetView(k.Base.ViewType, 2);
                SetRadii(k.Base, 2, false);
                SetView(k.Axis.LineType, 2);
                for (std::size_t i = 1; i <= 4; ++i) SetView(k.Sec[i].View, 2);
            }
            break;
        default: break;
    }
}

}  // namespace

void ConeEdgeStyles(DTri reference, DTri& section, bool baseFaces, std::uint8_t mode, bool apexInside) {
    const std::uint8_t hidden = mode == 5 ? 2 : 3;
    section.S[1].LineType.v = baseFaces ? 1 : hidden;
    ProjectPoint(section.S[1].P1);
    ProjectPoint(section.S[2].P1);
    if (!apexInside) {
        const round::PlaneSide side(reference);
        section.S[3].LineType.v = side.LineType(Vertex(section, 1), hidden);
        section.S[2].LineType.v = side.LineType(Vertex(section, 2), hidden);
    } else {
        section.S[2].LineType.v = section.S[3].LineType.v = baseFaces ? hidden : 1;
    }
    for (std::size_t i = 1; i <= 5; ++i) SetView(section.Lines[i].LineType, hidden);
    for (std::size_t i = 1; i <= 3; ++i) section.S[i].LineType.e = false;
}

void UpdateCone(DKo& k, int role) {
    k.Color.v = IndexToColor(k.ColorIndex.v, k.Color.v);
    CopyStyle(k, k.Base);
    CopyStyle(k, k.Axis);
    for (std::size_t i = 1; i <= 4; ++i) CopyStyle(k, k.Sec[i]);
    CopyStyle(k, k.OutSphere);
    CopyStyle(k, k.InSphere);
    k.Base.Thick.v = k.Sec[2].Thick.v = k.Thick.v;

    DCircle& base = k.Base;
    // The base's centre and the apex are stored to the thousandth (their
    // point updates below round them), the radius and the base's outline
    // points as the file keeps them: a dragged cone is built from what
    // reading its file builds it from.
    if (role == 0) {
        for (DPoint* p : {&base.Center, &k.Axis.P2})
            SetPos(*p, {Round3(p->X.v), Round3(p->Y.v), Round3(p->Z.v)});
        k.Radius.v = AsFiled(k.Radius.v);
        for (auto* q : {&base.Q1, &base.Q2})
            for (double& v : *q) v = AsFiled(v);
    }
    const Vec3 p0 = Pos(base.Center);
    const Vec3 apex = Pos(k.Axis.P2);
    // The height is the axis as it stands now (the axis update below measures
    // it the same way, and only then): a linked or dragged apex moves without the field.
    SetPos(k.Axis.P1, p0);
    if (role == 0) k.Axis.Length.v = LineLength(k.Axis);

    if (k.Axis.Length.v < 1.0) k.Axis.Length.v = 1.0;
    if (k.Radius.v <= 1.0) k.Radius.v = 1.0;
    const double R = k.Radius.v, H = k.Axis.Length.v;

    if (role == 0 && base.Q1 == std::array<double, 3>{} && base.Q2 == std::array<double, 3>{}) {
        base.Q1 = {p0.x, p0.y + R, p0.z};
        base.Q2 = {p0.x - R, p0.y, p0.z};
    }
    k.BaseVisible = Dot(apex - p0, round::ViewDir()) < 0 ? 1 : 0;

    ProjectPoint(base.Center);
    k.Axis.P1.ScrX.v = base.Center.ScrX.v;
    k.Axis.P1.ScrY.v = base.Center.ScrY.v;
    ProjectPoint(k.Axis.P2);  // the apex may have been moved since its last projection

    // Whether the apex is seen inside the base, judged on the base ellipse as
    // this update leaves it.
    {
        DCircle fresh = base;
        UpdateCircle(fresh, 0);
        const double t = fresh.Tilt.v / round::kDeg;
        k.ApexInside = PtInEllipse(round::ToPixel(k.Axis.P2.ScrX.v), round::ToPixel(k.Axis.P2.ScrY.v),
                                   base.Center.ScrX.v, base.Center.ScrY.v, fresh.A.v, fresh.B.v, std::cos(t),
                                   -std::sin(t))
                           ? 1
                           : 0;
    }

    UprightOffsets offsets;
    const bool upright =
        NearlyEqual(apex.x, p0.x) && NearlyEqual(apex.y, p0.y) && R / 3 < H && p0.z < apex.z;
    if (upright)
        offsets = UprightContour(k, p0);
    else if (k.ApexInside == 0)
        TangentContour(k, p0);

    double a1 = 0, a2 = 0;
    BaseArcAngles(k, offsets, a1, a2);

    BuildSections(k, p0, apex);
    BuildSpheres(k, p0, apex);
    ViewStep(k, a1, a2);

    if (role == 0) {
        k.ID.e = k.Layer.e = k.Thick.e = k.Color.e = k.ColorIndex.e = k.Disabled.e = true;
        UpdateCircle(base, -3);
        UpdateLine(k.Axis, -13);
        UpdateTriangle(k.Sec[1], -1, false);
        UpdateTriangle(k.Sec[2], -4, false);
        UpdateTriangle(k.Sec[3], -1, false);
        UpdateTriangle(k.Sec[4], -1, false);
        UpdateOrb(k.OutSphere, -1);
        UpdateOrb(k.InSphere, -1);
        k.OutSphereOn.e = k.InSphereOn.e = true;
        if (base.Center.Link.linked())
            base.Center.X.e = base.Center.Y.e = base.Center.Z.e = base.Center.ScrX.e = base.Center.ScrY.e = false;
    }

    const std::uint8_t mode = k.View.v;
    if (mode == 5 || mode == 6) {
        const bool baseFaces = k.BaseVisible != 0, inside = k.ApexInside != 0;
        ConeEdgeStyles(k.Sec[2], k.Sec[1], baseFaces, mode, inside);
        ConeEdgeStyles(k.Sec[2], k.Sec[3], baseFaces, mode, inside);
        ConeEdgeStyles(k.Sec[2], k.Sec[4], baseFaces, mode, inside);
        k.Sec[2].S[1].LineType.e = k.Sec[2].S[3].LineType.e = false;
        if (mode == 5 && k.OutSphereOn.v)
            for (auto& sec : k.Sec) round::DashEdges(sec);
    }
}

}  // namespace pelmar
