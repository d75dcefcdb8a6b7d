#include "drawing/round_paint.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "drawing/ellipse_paint.h"
#include "drawing/fill_inputs.h"
#include "drawing/fill_shading.h"
#include "drawing/line_paint.h"
#include "drawing/orb_paint.h"
#include "drawing/polygon_paint.h"
#include "drawing/shade_rows.h"
#include "drawing/solid_light.h"
#include "model/flip.h"
#include "model/geometry.h"
#include "model/shading.h"
#include "platform/raster_surface.h"

namespace pelmar {

namespace {

constexpr double Deg = std::numbers::pi / 180.0;

// The picture line y = k·x + m through two points; a vertical one has k = m = 0.
struct PictureLine {
    double k = 0, m = 0;

    PictureLine(const DPoint& a, const DPoint& b) {
        const double x1 = a.ScrX.v, y1 = a.ScrY.v, x2 = b.ScrX.v, y2 = b.ScrY.v;
        if (x1 == x2) return;
        k = (y1 - y2) / (x1 - x2);
        m = (x1 * y2 - x2 * y1) / (x1 - x2);
    }
    double at(int x) const { return k * x + m; }
};

// Inside test of a flipped base ellipse, its semi-axes one pixel shorter, so
// that the outline drawn later covers the seam.
class BaseTest {
public:
    explicit BaseTest(const DCircle& c)
        : cx_(c.Center.ScrX.v),
          cy_(c.Center.ScrY.v),
          a_(std::max(c.A.v - 1, 0.0)),
          b_(std::max(c.B.v - 1, 0.0)),
          cos_(std::cos(c.Tilt.v * Deg)),
          sin_(-std::sin(c.Tilt.v * Deg)) {}

    bool inside(int x, int y) const { return PtInEllipse(x, y, cx_, cy_, a_, b_, cos_, sin_); }

private:
    double cx_, cy_, a_, b_, cos_, sin_;
};

// A box of picture pixels that grows to hold further boxes and points.
struct PixelBox {
    double left, top, right, bottom;

    void add(double l, double t, double r, double b) {
        left = std::min(left, l);
        top = std::min(top, t);
        right = std::max(right, r);
        bottom = std::max(bottom, b);
    }
    void add(const DPoint& p) { add(Round(p.ScrX.v), Round(p.ScrY.v), Round(p.ScrX.v), Round(p.ScrY.v)); }
    // The whole of a flipped, possibly tilted ellipse.
    void add(const DCircle& c) {
        const double t = c.Tilt.v * Deg;
        const double a = c.A.v, b = c.B.v;
        const double hw = std::hypot(a * std::cos(t), b * std::sin(t));
        const double hh = std::hypot(a * std::sin(t), b * std::cos(t));
        const double cx = c.Center.ScrX.v, cy = c.Center.ScrY.v;
        add(std::floor(cx - hw), std::floor(cy - hh), std::ceil(cx + hw), std::ceil(cy + hh));
    }
    bool clip(const RasterSurface& s, int& x0, int& y0, int& x1, int& y1) const {
        return ClipPixelBox(left, top, right, bottom, s.width(), s.height(), x0, y0, x1, y1);
    }
};

// The fill of a base that faces the viewer, in the solid's fill colours.
void FillBase(DCircle base, const DFill& fill, const DImProj& im, RasterSurface& surface) {
    base.Fill.Colors = fill.Colors;
    FillEllipseOnCanvas(base, im, surface);
}

// The tilt of a solid's axis against Z, and the axis it is tilted about (Z x d).
struct AxisTilt {
    double theta = 0;
    std::array<double, 3> axis{};

    explicit AxisTilt(Vec3 d) {
        const double len = Norm(d);
        theta = len > 0 ? SafeArcCos(d.z / len) : 0;
        axis = {-d.y, d.x, 0};
    }
};

const DPoint& Vertex(const DKv& k, std::size_t i) { return k.S[i].P1; }
const DPoint& Vertex(const DTri& t, std::size_t i) { return t.S[i].P1; }

}  // namespace

// ---------------------------------------------------------------------------
// Cylinder

void DrawCylinder(const DZi& rec, const DImProj& im, const PaintTarget& target, int pass) {
    if (pass == 1) {
        if (!target.is(TargetKind::Pel) || !rec.Fill.On || !target.raster) return;
        const DZi z = FillOnly(rec);
        ShadeCylinder(z, im, *target.raster);
        FillBase(z.UpperVisible ? z.Base[2] : z.Base[1], z.Fill, im, *target.raster);
        return;
    }
    if (pass != 2) return;
    DZi z = rec;
    FlipYCylinder(z, FlipToScreen, im.Height);
    for (int part = 0; part <= 1; ++part) {
        DrawEllipse(z.Base[1], part, im, target);
        DrawEllipse(z.Base[2], part, im, target);
        for (std::size_t i = 1; i <= 4; ++i)
            if (z.SecOn[i].v) DrawTetragonParts(z.Sec[i], part, im, target);
        if (z.OutSphereOn.v) DrawOrbOutline(z.OutSphere, part, im, target);
        if (z.InSphereOn.v) DrawOrbOutline(z.InSphere, part, im, target);
        DrawLineElement(z.Axis, part, im, target);
    }
}

void ShadeCylinder(const DZi& rec, const DImProj& im, RasterSurface& surface) {
    DZi f = rec;
    FlipYCylinder(f, FlipToScreen, im.Height);
    const SolidLight light(rec.Fill, im);
    const Vec3 p0 = Pos(rec.Base[1].Center), p1 = Pos(rec.Base[2].Center);
    const double radius = rec.Base[1].A3.v;
    const DCircle& lo = f.Base[1];
    const DCircle& up = f.Base[2];
    // The base that faces the viewer is flat-filled; the other one is seen
    // through the lateral surface.
    const BaseTest shown(rec.UpperVisible ? up : lo), hidden(rec.UpperVisible ? lo : up);
    const DKv& ct = f.Sec[2];
    int x0, y0, x1, y1;

    if (NearlyEqual(p0.x, p1.x) && NearlyEqual(p0.y, p1.y)) {
        // Upright: the band between the two diameters of the contour
        // (sides 2 and 4) and between its two generators.
        const PictureLine l2(Vertex(ct, 2), Vertex(ct, 3)), l4(Vertex(ct, 4), Vertex(ct, 1));
        const double xa = std::min(Round(Vertex(ct, 1).ScrX.v), Round(Vertex(ct, 4).ScrX.v));
        const double xb = std::max(Round(Vertex(ct, 1).ScrX.v), Round(Vertex(ct, 4).ScrX.v));
        const double cyUp = up.Center.ScrY.v, cyLo = lo.Center.ScrY.v;
        const PixelBox box{xa, std::min(Round(cyUp - 1.2 * up.B.v), Round(cyLo - 1.2 * lo.B.v)), xb,
                           std::max(Round(cyLo + 1.2 * lo.B.v), Round(cyUp + 1.2 * up.B.v))};
        if (!box.clip(surface, x0, y0, x1, y1)) return;
        ShadePixels(surface, x0, y0, x1, y1, [&](int x, int y, TColor& colour) {
            if (shown.inside(x, y)) return false;
            const double a = l2.at(x), b = l4.at(x);
            const bool band = x > xa && x < xb && y >= std::min(a, b) && y <= std::max(a, b);
            if (!band && !hidden.inside(x, y)) return false;
            Vec3 p;
            RayHitCylinder(p.x, p.y, p.z, p0.x, p0.y, p0.z, radius, x, RayPY(y, im.Height));
            colour = light.at(p, {p.x - p0.x, p.y - p0.y, 0});
            return true;
        });
        return;
    }

    // Tilted: the contour quadrilateral and the two bases.
    const double r = std::max(lo.A.v, lo.B.v);
    const double cxLo = lo.Center.ScrX.v, cyLo = lo.Center.ScrY.v, cxUp = up.Center.ScrX.v, cyUp = up.Center.ScrY.v;
    const PixelBox box{Round(std::min(cxLo, cxUp) - r) - 1, Round(std::min(cyLo, cyUp) - r) - 1,
                       Round(std::max(cxLo, cxUp) + r) + 1, Round(std::max(cyLo, cyUp) + r) + 1};
    if (!box.clip(surface, x0, y0, x1, y1)) return;
    const Vec3 d = p1 - p0;
    const double dd = Dot(d, d);
    const AxisTilt tilt(d);
    const std::array<double, 3> pivot{p0.x, p0.y, p0.z};
    const DPoint &v1 = Vertex(ct, 1), &v2 = Vertex(ct, 2), &v3 = Vertex(ct, 3), &v4 = Vertex(ct, 4);
    ShadePixels(surface, x0, y0, x1, y1, [&](int x, int y, TColor& colour) {
        if (shown.inside(x, y)) return false;
        if (!hidden.inside(x, y) && !PtInQuad(x, y, v1.ScrX.v, v1.ScrY.v, v2.ScrX.v, v2.ScrY.v, v3.ScrX.v, v3.ScrY.v,
                                              v4.ScrX.v, v4.ScrY.v))
            return false;
        Vec3 p;
        RayHitTiltedCylinder(p.x, p.y, p.z, p0.x, p0.y, radius, pivot, tilt.axis, tilt.theta, x,
                             RayPY(y, im.Height));
        // The foot of the perpendicular from p to the axis.
        const Vec3 q = dd > 0 ? p0 + d * (Dot(p - p0, d) / dd) : p0;
        colour = light.at(p, p - q);
        return true;
    });
}

// ---------------------------------------------------------------------------
// Cone

void DrawCone(const DKo& rec, const DImProj& im, const PaintTarget& target, int pass) {
    if (pass == 1) {
        if (!target.is(TargetKind::Pel) || !rec.Fill.On || !target.raster) return;
        const DKo k = FillOnly(rec);
        ShadeCone(k, im, *target.raster);
        if (k.BaseVisible) FillBase(k.Base, k.Fill, im, *target.raster);
        return;
    }
    if (pass != 2) return;
    DKo k = rec;
    FlipYCone(k, FlipToScreen, im.Height);
    // A flat cone's contour triangle lies inside its base: no points or labels.
    const bool contourPoints = k.Axis.Length.v > k.Radius.v / 3;
    for (int part = 0; part <= 1; ++part) {
        DrawEllipse(k.Base, part, im, target);
        if (k.SecOn[1].v) DrawTriangleParts(k.Sec[1], part, im, target);
        if (k.SecOn[2].v && (part == 0 ? k.ApexInside == 0 : contourPoints))
            DrawTriangleParts(k.Sec[2], part, im, target);
        if (k.SecOn[3].v) DrawTriangleParts(k.Sec[3], part, im, target);
        if (k.SecOn[4].v) DrawTriangleParts(k.Sec[4], part, im, target);
        if (k.OutSphereOn.v) DrawOrbOutline(k.OutSphere, part, im, target);
        if (k.InSphereOn.v) DrawOrbOutline(k.InSphere, part, im, target);
        DrawLineElement(k.Axis, part, im, target);
    }
}

namespace {

// The surface point of a cone seen at one pixel.  The ray tests meet the
// double cone through the apex; of the two roots the nearer one that lies on
// the body's own nappe (on the base's side of the apex) is seen.  When
// neither does (a pixel on the rim of the outline), the near or far root as
// the cone's proportions suggest.
template <class Hit>
Vec3 ConeSurfacePoint(Hit hit, Vec3 apex, Vec3 toBase, bool far) {
    auto onNappe = [&](Vec3 p) { return Dot(p - apex, toBase) >= 0; };
    const Vec3 nearP = hit(false);
    if (onNappe(nearP)) return nearP;
    const Vec3 farP = hit(true);
    if (onNappe(farP)) return farP;
    return far ? farP : nearP;
}

}  // namespace

void ShadeCone(const DKo& rec, const DImProj& im, RasterSurface& surface) {
    DKo f = rec;
    FlipYCone(f, FlipToScreen, im.Height);
    const SolidLight light(rec.Fill, im);
    const Vec3 p0 = Pos(rec.Base.Center), apex = Pos(rec.Axis.P2);
    const double height = rec.Axis.Length.v, radius = rec.Radius.v;
    const double cosAlpha = std::cos(std::atan2(rec.Base.A3.v, height));
    const Vec3 toBase = p0 - apex;

    const DCircle& base = f.Base;
    const BaseTest inBase(base);
    const DTri& ct = f.Sec[2];
    const DPoint &v1 = Vertex(ct, 1), &v2 = Vertex(ct, 2), &v3 = Vertex(ct, 3);
    const PictureLine l1(v1, v2), l2(v2, v3), l3(v3, v1);

    const double cx = base.Center.ScrX.v, cy = base.Center.ScrY.v;
    PixelBox box{Round(cx - base.A.v), Round(cy - 1.2 * base.B.v), Round(cx + base.A.v), Round(cy + 1.2 * base.B.v)};
    // A flat cone (height at most a third of the radius) is seen from its far root.
    const bool far = !(radius / 3 < height);
    const bool upright = NearlyEqual(apex.x, p0.x) && NearlyEqual(apex.y, p0.y) && apex.z > p0.z;
    const bool useContour = rec.ApexInside == 0;
    if (upright && !far) {
        box.top = Round(f.Axis.P2.ScrY.v);
    } else if (!upright) {
        // The whole outline: a tilted base and the apex may reach beyond the box.
        box.add(base);
        if (useContour)
            for (std::size_t i = 1; i <= 3; ++i) box.add(Vertex(ct, i));
    }
    int x0, y0, x1, y1;
    if (!box.clip(surface, x0, y0, x1, y1)) return;

    // The point of the axis where the normal through a surface point meets it.
    auto axisFoot = [&](Vec3 p) -> Vec3 {
        if (IsZero(height) || IsZero(cosAlpha)) return upright ? Vec3{p0.x, p0.y, apex.z} : apex;
        const double s = Norm(p - apex) / cosAlpha;
        return apex + toBase * (s / height);
    };

    const AxisTilt tilt(apex - p0);
    const std::array<double, 3> pivot{apex.x, apex.y, apex.z};
    ShadePixels(surface, x0, y0, x1, y1, [&](int x, int y, TColor& colour) {
        const double py = RayPY(y, im.Height);
        Vec3 p;
        if (upright) {
            const bool inTriangle = !far && y <= l1.at(x) && y >= l2.at(x) && y >= l3.at(x);
            if (!inTriangle && !(rec.BaseVisible == 0 && inBase.inside(x, y))) return false;
            p = ConeSurfacePoint(
                [&](bool farSide) {
                    Vec3 h;
                    RayHitCone(h.x, h.y, h.z, apex.x, apex.y, apex.z, radius, radius, height, x, py, farSide);
                    return h;
                },
                apex, toBase, far);
        } else {
            const bool onBase = inBase.inside(x, y);
            const bool inTriangle =
                useContour && PtInTriangle(x, y, v1.ScrX.v, v1.ScrY.v, v2.ScrX.v, v2.ScrY.v, v3.ScrX.v, v3.ScrY.v);
            const bool lateral = rec.BaseVisible ? !onBase && inTriangle : onBase || inTriangle;
            if (!lateral) return false;
            p = ConeSurfacePoint(
                [&](bool farSide) {
                    Vec3 h;
                    RayHitTiltedCone(h.x, h.y, h.z, apex.x, apex.y, apex.z, radius, height, pivot, tilt.axis,
                                     tilt.theta, x, py, farSide ? 1 : 0);
                    return h;
                },
                apex, toBase, far);
        }
        colour = light.at(p, p - axisFoot(p));
        return true;
    });
}

}  // namespace pelmar
