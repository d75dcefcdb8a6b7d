#include "drawing/orb_paint.h"

#include <cmath>

#include "drawing/ellipse_paint.h"
#include "drawing/fill_inputs.h"
#include "drawing/fill_shading.h"
#include "drawing/point_paint.h"
#include "drawing/shade_rows.h"
#include "drawing/solid_light.h"
#include "model/flip.h"
#include "model/geometry.h"
#include "model/shading.h"
#include "platform/raster_surface.h"

namespace pelmar {

void DrawOrb(const DSf& rec, const DImProj& im, const PaintTarget& target, int pass) {
    if (pass == 1) {
        if (target.is(TargetKind::Pel) && rec.Fill.On && target.raster) ShadeOrb(FillOnly(rec), im, *target.raster);
        return;
    }
    if (pass != 2) return;
    DSf copy = rec;
    FlipYOrb(copy, FlipToScreen, im.Height);
    DrawOrbOutline(copy, 0, im, target);
    DrawOrbOutline(copy, 1, im, target);
}

void ShadeOrb(const DSf& rec, const DImProj& im, RasterSurface& surface) {
    DSf f = rec;
    FlipYOrb(f, FlipToScreen, im.Height);
    const double cx = f.Contour.Center.ScrX.v, cy = f.Contour.Center.ScrY.v;
    const double a = f.Contour.A.v, b = f.Contour.B.v;
    int x0, y0, x1, y1;
    if (!ClipPixelBox(Round(cx - a), Round(cy - a), Round(cx + a), Round(cy + a), surface.width(), surface.height(),
                      x0, y0, x1, y1))
        return;

    // The outline's long axis runs along the depth axis, at 45 degrees on the picture.
    const double diag = 1 / std::sqrt(2.0);
    const Vec3 c = Pos(rec.Center);
    const double r = rec.Radius.v;
    const double ox = f.Center.ScrX.v, oy = f.Center.ScrY.v;
    const SolidLight light(rec.Fill, im);
    ShadePixels(surface, x0, y0, x1, y1, [&](int x, int y, TColor& colour) {
        if (!PtInEllipse(x, y, ox, oy, a, b, diag, diag)) return false;
        Vec3 p;
        RayHitSphere(p.x, p.y, p.z, c.x, c.y, c.z, r, x, RayPY(y, im.Height));
        colour = light.at(p, p - c);
        return true;
    });
}

void DrawOrbOutline(const DSf& rec, int part, const DImProj& im, const PaintTarget& target) {
    for (std::size_t i = 1; i <= 7; ++i)
        if (rec.SecOn[i].v) DrawEllipse(rec.Sec[i], part, im, target);
    if (rec.ContourOn.v) DrawEllipse(rec.Contour, part, im, target);
    if (part == 1) DrawPointElement(rec.Center, im, target);
}

}  // namespace pelmar
