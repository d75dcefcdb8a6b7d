// One surface of a 3D coordinate system on a 1200 x 900 picture: its
// sections, its outline and its shaded fill, each drawn in full (nothing
// stored between runs), and the three together.
#include <benchmark/benchmark.h>

#include <QImage>

#include "drawing/sub_curve.h"
#include "platform/qt_canvas.h"
#include "platform/raster_surface.h"

using namespace pelmar;

namespace {

constexpr int kW = 1200, kH = 900;

// The sphere x² + y² + z² = 25 at 50 pixels per unit over the box [-5, 5]³,
// with three sections per family.
SubCurveArgs Sphere(bool sections, bool outline, bool gradient) {
    SubCurveArgs a;
    a.ImProj.Width = kW;
    a.ImProj.Height = kH;
    a.ImProj.LightSource = 2;
    a.Kind = "Fxy3d";
    a.Formula1 = "x^2+y^2+z^2-25";
    a.Thickness = 1;
    a.Colour = 0x000000;
    a.OriginX = kW / 2;
    a.OriginY = kH / 2;
    a.Extents = {400, 400, 400, 400, 400, 400};
    a.ScaleX = a.ScaleY = 50;
    auto set = [&](int g, int k, double c) {
        const auto i = static_cast<std::size_t>(g * 11 + k);
        a.Sections.On[i] = true;
        a.Sections.Value[i] = c;
        a.Sections.Bounds[i] = {-5, 5, -5, 5};
    };
    // The two end sections x = -5 and x = 5 span the box.
    set(0, 0, -5);
    set(0, 1, 5);
    if (sections)
        for (int g = 0; g < 3; ++g)
            for (int k = 2; k < 5; ++k) set(g, k, -3 + 3 * (k - 2));
    a.ObjectSlot = 11;
    a.Full = true;
    a.TargetChar = 't';
    a.Outline.On = outline;
    a.Outline.X1 = 0, a.Outline.Y1 = 0, a.Outline.X2 = kW, a.Outline.Y2 = kH;
    a.Outline.ScanDir = 0;
    a.Outline.Step1 = 10;
    a.Outline.Step2 = 3;
    a.Outline.FitMode = 1;
    a.Outline.GradientOn = gradient;
    a.Outline.Colors = {0x0000FF, 0x00FF00, 0xFF0000};
    a.Style.LineType = 1;
    a.Style.VisibilityMode = 2;
    return a;
}

void Run(benchmark::State& st, bool sections, bool outline, bool gradient) {
    const SubCurveArgs a = Sphere(sections, outline, gradient);
    QImage back(kW, kH, QImage::Format_ARGB32_Premultiplied);
    QImage lines(kW, kH, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : st) {
        back.fill(0xFFFFFFFF);
        lines.fill(0xFFFFFFFF);
        RasterSurface raster(back);
        QtCanvas canvas(lines);
        PaintTarget t1;
        t1.kind = TargetKind::Pel;
        t1.raster = &raster;
        DrawSubCurve(a, t1, 1);
        PaintTarget t2;
        t2.kind = TargetKind::Pel;
        t2.canvas = &canvas;
        DrawSubCurve(a, t2, 2);
    }
}

// The surface's lines drawn onto a white picture, once an iteration.
void DrawLinesRepeatedly(benchmark::State& st, const SubCurveArgs& a) {
    QImage lines(kW, kH, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : st) {
        lines.fill(0xFFFFFFFF);
        QtCanvas canvas(lines);
        PaintTarget t;
        t.kind = TargetKind::Pel;
        t.canvas = &canvas;
        DrawSubCurve(a, t, 2);
    }
}

// The sections of a surface whose sections span a box far larger than the
// 3D system's drawing window, drawn with their hidden parts dashed: every
// section point looks along its viewing ray for the surface (a scan, no
// quadratic fit).
void BM_HiddenLinesLargeBox(benchmark::State& st) {
    SubCurveArgs a = Sphere(true, false, false);
    a.Outline.FitMode = 0;
    a.Outline.Step1 = 2;
    const double r = static_cast<double>(st.range(0));
    for (auto& b : a.Sections.Bounds) b = {-r, r, -r, r};
    a.Style.VisibilityMode = 2;
    DrawLinesRepeatedly(st, a);
}

// Sections x = const whose bounds (±49999 units at 20 pixels a unit) reach
// far beyond the picture: their windows are cut to the picture, so they cost
// what sections at the picture's edges cost.  Arg: how many sections.
void BM_FarSectionBounds(benchmark::State& st) {
    SubCurveArgs a = Sphere(false, false, false);
    a.ScaleX = a.ScaleY = 20;
    a.Sections = {};
    const int n = static_cast<int>(st.range(0));
    for (int k = 0; k < n; ++k) {
        const auto i = static_cast<std::size_t>(k);
        a.Sections.On[i] = true;
        a.Sections.Value[i] = n == 1 ? 0 : -5 + k;
        a.Sections.Bounds[i] = {-49999, 49999, -49999, 49999};
    }
    DrawLinesRepeatedly(st, a);
}

// The outline of the surface z = z - 1 (nowhere: every line is marched
// pixel by pixel, every ray searched along all of the box) at 10^5 pixels a
// unit: a ray takes no more steps than the picture's diagonal has pixels.
void BM_SurfaceOutlineHugeScale(benchmark::State& st) {
    SubCurveArgs a = Sphere(false, true, false);
    a.Kind = "dec3d";
    a.Formula1 = "z-1";
    a.Outline.FitMode = 0;
    a.ScaleX = a.ScaleY = static_cast<double>(st.range(0));
    DrawLinesRepeatedly(st, a);
}

// The saddle z = x^2 - y^2 (a Cartesian surface) with its eleven sections
// x = -5 .. 5, hidden parts dashed, drawn quickly (not in full) as a drag
// draws it: its origin a pixel to the side each time, so no graph kept from
// an earlier drawing fits.  A quick drawing refines a section where it enters
// the window and where it passes behind the surface, as a full one does.
void BM_SaddleSectionsDragged(benchmark::State& st) {
    SubCurveArgs a = Sphere(false, false, false);
    a.Kind = "dec3d";
    a.Formula1 = "x^2-y^2";
    a.ScaleX = a.ScaleY = 40;
    a.Full = false;
    a.Sections = {};
    for (int k = 0; k < 11; ++k) {
        const auto i = static_cast<std::size_t>(k);
        a.Sections.On[i] = true;
        a.Sections.Value[i] = -5 + k;
        a.Sections.Bounds[i] = {-5, 5, -5, 5};
    }
    QImage lines(kW, kH, QImage::Format_ARGB32_Premultiplied);
    int place = 0;
    for (auto _ : st) {
        a.OriginX = kW / 2 + (++place % 200);
        lines.fill(0xFFFFFFFF);
        QtCanvas canvas(lines);
        PaintTarget t;
        t.kind = TargetKind::Pel;
        t.canvas = &canvas;
        DrawSubCurve(a, t, 2);
    }
}

void BM_SurfaceSections(benchmark::State& st) { Run(st, true, false, false); }
void BM_SurfaceOutline(benchmark::State& st) { Run(st, false, true, false); }
void BM_SurfaceGradient(benchmark::State& st) { Run(st, false, false, true); }
void BM_SurfaceAll(benchmark::State& st) { Run(st, true, true, true); }

}  // namespace

BENCHMARK(BM_SurfaceSections)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HiddenLinesLargeBox)->Arg(5)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaddleSectionsDragged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FarSectionBounds)->Arg(1)->Arg(11)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurfaceOutline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurfaceOutlineHugeScale)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurfaceGradient)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurfaceAll)->Unit(benchmark::kMillisecond);
