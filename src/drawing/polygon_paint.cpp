#include "drawing/polygon_paint.h"

#include <algorithm>
#include <array>

#include "drawing/ellipse_paint.h"
#include "drawing/fill_inputs.h"
#include "drawing/fill_shading.h"
#include "drawing/line_paint.h"
#include "drawing/point_paint.h"
#include "drawing/shade_rows.h"
#include "model/flip.h"
#include "model/geometry.h"
#include "platform/raster_surface.h"

namespace pelmar {

namespace {

constexpr std::size_t Circumcircle = 1;
constexpr std::size_t Incircle = 2;

template <class Figure>
void DrawCircles(const Figure& f, int part, const DImProj& im, const PaintTarget& target) {
    if (f.CircOn[Incircle].v) DrawEllipse(f.Circ[Incircle], part, im, target);
    if (f.CircOn[Circumcircle].v) DrawEllipse(f.Circ[Circumcircle], part, im, target);
}

// The fill of a figure with N vertices; vertex i is end 1 of side i.
template <std::size_t N, class Figure, class Inside>
void FillFigure(const Figure& rec, const DImProj& im, RasterSurface& surface,
                void (*flip)(Figure&, std::uint8_t, std::int32_t), Inside inside) {
    double a, b, c, d;
    PlaneBy3Points(Pos(rec.S[1].P1), Pos(rec.S[2].P1), Pos(rec.S[3].P1), a, b, c, d);
    const FillShading light(rec.Fill, im, a, b, c, d);

    Figure copy = rec;
    flip(copy, FlipToScreen, im.Height);
    std::array<PointF, N> exact, rounded;
    for (std::size_t i = 0; i < N; ++i) {
        const DPoint& v = copy.S[i + 1].P1;
        exact[i] = {v.ScrX.v, v.ScrY.v};
        rounded[i] = {Round(v.ScrX.v), Round(v.ScrY.v)};
    }

    if (!light.pointLight()) {
        surface.fillPolygon(rounded, light.flat());
        return;
    }
    double left = rounded[0].x, right = left, top = rounded[0].y, bottom = top;
    for (const PointF& p : rounded) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    int x0, y0, x1, y1;
    if (!ClipPixelBox(left, top, right, bottom, surface.width(), surface.height(), x0, y0, x1, y1)) return;
    ShadePixels(surface, x0, y0, x1, y1, [&](int x, int y, TColor& colour) {
        if (!inside(x, y, exact)) return false;
        colour = light.at(x, y);
        return true;
    });
}

}  // namespace

void DrawTriangle(const DTri& rec, const DImProj& im, const PaintTarget& target, int pass) {
    if (pass == 1) {
        if (target.is(TargetKind::Pel) && rec.Fill.On && target.raster)
            FillTriangleOnCanvas(FillOnly(rec), im, *target.raster);
        return;
    }
    if (pass != 2) return;
    DTri copy = rec;
    FlipYTriangle(copy, FlipToScreen, im.Height);
    DrawTriangleParts(copy, 0, im, target);
    DrawTriangleParts(copy, 1, im, target);
}

void DrawTetragon(const DKv& rec, const DImProj& im, const PaintTarget& target, int pass) {
    if (pass == 1) {
        if (target.is(TargetKind::Pel) && rec.Fill.On && target.raster)
            FillTetragonOnCanvas(FillOnly(rec), im, *target.raster);
        return;
    }
    if (pass != 2) return;
    DKv copy = rec;
    FlipYTetragon(copy, FlipToScreen, im.Height);
    DrawTetragonParts(copy, 0, im, target);
    DrawTetragonParts(copy, 1, im, target);
}

void DrawTriangleParts(const DTri& rec, int part, const DImProj& im, const PaintTarget& target) {
    DrawCircles(rec, part, im, target);
    for (std::size_t i = 1; i <= 5; ++i)
        if (rec.LineOn[i].v) DrawLineElement(rec.Lines[i], part, im, target);
    for (std::size_t i = 1; i <= 3; ++i) DrawLineElement(rec.S[i], part, im, target);
}

void DrawTetragonParts(const DKv& rec, int part, const DImProj& im, const PaintTarget& target) {
    DrawCircles(rec, part, im, target);
    for (std::size_t i = 1; i <= 2; ++i)
        if (rec.DiagOn[i].v) DrawLineElement(rec.Diag[i], part, im, target);
    if (part == 1 && rec.CenterOn.v) DrawPointElement(rec.Center, im, target);
    for (std::size_t i = 1; i <= 4; ++i) DrawLineElement(rec.S[i], part, im, target);
}

void FillTriangleOnCanvas(const DTri& rec, const DImProj& im, RasterSurface& surface) {
    FillFigure<3>(rec, im, surface, FlipYTriangle, [](int x, int y, const std::array<PointF, 3>& v) {
        return PtInTriangle(x, y, v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y);
    });
}

void FillTetragonOnCanvas(const DKv& rec, const DImProj& im, RasterSurface& surface) {
    FillFigure<4>(rec, im, surface, FlipYTetragon, [](int x, int y, const std::array<PointF, 4>& v) {
        return PtInQuad(x, y, v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y, v[3].x, v[3].y);
    });
}

}  // namespace pelmar
