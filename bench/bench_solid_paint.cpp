// Cost of a whole redraw of a document holding three of each solid (sphere,
// cylinder, cone, both pyramids, both prisms) on a 1200 x 900 picture, every
// solid filled under a point light.  "Redraw" is the redraw after an edit
// (the shading comes from the cache); "Build" the build-the-drawing run that
// shades every solid again.  Each runs nine times and reports the median
// with the mean and spread.  "PlayHeavy3D" is Play (the build) of the same
// solids beside a 3D coordinate system with a shaded implicit surface, as
// the shipped default set makes the system; its CPU time is that of all the
// threads (the surface's and the solids' row workers too).
#include <benchmark/benchmark.h>

#include <QImage>
#include <array>
#include <cmath>
#include <cstdlib>

#include "drawing/orb_paint.h"
#include "drawing/redraw.h"
#include "redraw_bench.h"
#include "drawing/round_paint.h"
#include "files/document.h"
#include "model/defaults.h"
#include "model/geometry.h"
#include "support/fake_redraw_host.h"
#include "model/update.h"
#include "platform/raster_surface.h"

using namespace pelmar;

namespace {

constexpr int W = 1200, H = 900;

void Place(DPoint& p, Vec3 v) {
    SetPos(p, v);
    ProjectPoint(p);
}

template <class Fig, std::size_t N>
void SetVertices(Fig& f, const std::array<Vec3, N>& v) {
    for (std::size_t i = 1; i <= N; ++i) {
        Place(f.S[i].P1, v[i - 1]);
        Place(f.S[i].P2, v[i % N]);
    }
    f.Layer.v = 1;
    f.Thick.v = 1;
    f.View.v = 1;
}

template <class S>
void Head(S& s, std::uint8_t view, int i) {
    s.View.v = view;
    s.Layer.v = 1;
    s.Thick.v = 2;
    s.ColorIndex.v = static_cast<std::uint8_t>(1 + i);
    s.Fill.On = true;
    s.Fill.Colors = {0x3030F0, 0x30C0F0, 0x602020};
}

// A base circle perpendicular to the axis.
void RightBase(DCircle& base, Vec3 axis, double r) {
    const Vec3 a = axis * (1 / Norm(axis));
    const Vec3 e = std::fabs(a.z) < 0.9 ? Vec3{0, 0, 1} : Vec3{1, 0, 0};
    Vec3 u = Cross(a, e);
    u = u * (r / Norm(u));
    const Vec3 w = Cross(a, u);
    const Vec3 c = Pos(base.Center);
    base.Q1 = {c.x + u.x, c.y + u.y, c.z + u.z};
    base.Q2 = {c.x + w.x, c.y + w.y, c.z + w.z};
}

DSf Orb(Vec3 at, std::uint8_t view, int i) {
    DSf s{};
    Head(s, view, i);
    s.Radius.v = 90;
    s.ContourOn.v = true;
    Place(s.Center, at);
    for (std::size_t k = 1; k <= 3; ++k) s.SecOn[k].v = true;
    UpdateOrb(s, 0);
    return s;
}

DZi Cylinder(Vec3 at, Vec3 axis, std::uint8_t view, int i) {
    DZi z{};
    Head(z, view, i);
    z.Radius.v = 60;
    Place(z.Base[1].Center, at);
    Place(z.Base[2].Center, at + axis);
    z.Axis.Length.v = Norm(axis);
    z.SecOn[2].v = true;
    if (!NearlyEqual(axis.x, 0) || !NearlyEqual(axis.y, 0)) RightBase(z.Base[1], axis, 60);
    UpdateCylinder(z, 0);
    return z;
}

DKo Cone(Vec3 at, Vec3 axis, std::uint8_t view, int i) {
    DKo k{};
    Head(k, view, i);
    k.Radius.v = 70;
    Place(k.Base.Center, at);
    Place(k.Axis.P2, at + axis);
    k.Axis.Length.v = Norm(axis);
    k.SecOn[2].v = true;
    if (!NearlyEqual(axis.x, 0) || !NearlyEqual(axis.y, 0)) RightBase(k.Base, axis, 70);
    UpdateCone(k, 0);
    return k;
}

DPi3 Pyramid3(Vec3 at, std::uint8_t view, int i) {
    DPi3 p;
    Head(p, view, i);
    p.Typ.v = 3;
    SetVertices(p.Base, std::array<Vec3, 3>{at + Vec3{61, -51, 0}, at + Vec3{14, 79, 0}, at + Vec3{-75, -27, 0}});
    p.Base.Typ.v = 4;
    Place(p.HeightLine.P2, at + Vec3{0, 0, 120});
    UpdatePyramid3(p, 0);
    return p;
}

DPi4 Pyramid4(Vec3 at, std::uint8_t view, int i) {
    DPi4 p;
    Head(p, view, i);
    p.Typ.v = 1;
    SetVertices(p.Base, std::array<Vec3, 4>{at + Vec3{50, -50, 0}, at + Vec3{50, 50, 0}, at + Vec3{-50, 50, 0},
                                            at + Vec3{-50, -50, 0}});
    p.Base.Typ.v = 1;
    p.Base.Side3.v = 1;
    Place(p.HeightLine.P2, at + Vec3{0, 0, 100});
    p.HeightLine.Length.v = 100;
    UpdatePyramid4(p, 0);
    return p;
}

template <class P, class Base, std::size_t N>
P Prism(const std::array<Vec3, N>& lower, std::uint8_t view, int i) {
    P p;
    Head(p, view, i);
    p.Typ.v = 1;
    std::array<Vec3, N> upper{};
    for (std::size_t k = 0; k < N; ++k) upper[k] = lower[k] + Vec3{0, 0, 100};
    SetVertices(p.Base[1], lower);
    SetVertices(p.Base[2], upper);
    p.Base[1].Typ.v = 1;
    p.Base[1].Side3.v = 1;
    p.EdgeZ.v = 100;
    return p;
}

// Three of each, in three columns; the views are manual, automatic and opaque.
std::unique_ptr<DProj> Document() {
    auto d = NewDocument();
    d->Im.Width = W;
    d->Im.Height = H;
    d->Im.Dpi = 96;
    d->Im.LightSource = 1;
    d->Im.LightX = 800;
    d->Im.LightY = 1000;
    d->Im.LightZ = 1200;
    d->Im.BorderAngle = 180;
    DSubProj& o = d->Obj;
    for (int i = 0; i < 3; ++i) {
        const double y = 130 + 400.0 * i;
        const auto view = static_cast<std::uint8_t>(4 + i);
        o.Sf.add(Orb({0, y, 780}, view, i));
        o.Zi.add(Cylinder({0, y + 150, 560}, i == 1 ? Vec3{-40, 60, 120} : Vec3{0, 0, 150}, view, i));
        o.Ko.add(Cone({0, y, 470}, i == 2 ? Vec3{-60, 80, 110} : Vec3{0, 0, 160}, view, i));
        o.I3.add(Pyramid3({0, y + 150, 260}, view, i));
        o.I4.add(Pyramid4({0, y, 230}, view, i));
        DPr3 r3 = Prism<DPr3, DTri, 3>({Vec3{0, y + 170, 40}, {0, y + 270, 40}, {-86, y + 220, 40}}, view, i);
        UpdatePrism3(r3, 0);
        o.R3.add(r3);
        DPr4 r4 = Prism<DPr4, DKv, 4>({Vec3{0, y - 20, 40}, {0, y + 80, 40}, {-100, y + 80, 40}, {-100, y - 20, 40}},
                                      view, i);
        UpdatePrism4(r4, 0);
        o.R4.add(r4);
    }
    return d;
}

// The shading of the curved solids alone, one kind at a time.
template <class Shade>
void RunShading(benchmark::State& state, Shade shade) {
    const auto doc = Document();
    QImage img(W, H, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    RasterSurface surface(img);
    for (auto _ : state) {
        shade(doc->Obj, doc->Im, surface);
        benchmark::DoNotOptimize(img.constBits());
    }
}
void BM_ShadeOrbs(benchmark::State& state) {
    RunShading(state, [](const DSubProj& o, const DImProj& im, RasterSurface& s) {
        for (std::size_t i = 1; i <= o.Sf.count(); ++i) ShadeOrb(o.Sf[i], im, s);
    });
}
void BM_ShadeCylinders(benchmark::State& state) {
    RunShading(state, [](const DSubProj& o, const DImProj& im, RasterSurface& s) {
        for (std::size_t i = 1; i <= o.Zi.count(); ++i) ShadeCylinder(o.Zi[i], im, s);
    });
}
void BM_ShadeCones(benchmark::State& state) {
    RunShading(state, [](const DSubProj& o, const DImProj& im, RasterSurface& s) {
        for (std::size_t i = 1; i <= o.Ko.count(); ++i) ShadeCone(o.Ko[i], im, s);
    });
}
// The solids and a 3D system with a shaded sphere, built from scratch.
void BM_PlayHeavy3D(benchmark::State& state) {
    auto proj = Document();
    DefaultsSource src;
    src.programFolder = std::string(PELMAR_SOURCE_DIR) + "/share/pelmar/";
    src.readDocument = [](const std::string& name, DProj& doc, std::uint8_t& version, std::uint8_t mode) {
        return ReadDocument(name, doc, version, mode);
    };
    src.pictureHeight = H;
    DXZ x;
    LoadDefaultXYZ(x, 1, src);
    x.SurfOn[4].v = true;
    x.Surf[4].s = "x^2+y^2+z^2-9";
    DOutLine& o = x.Outlines[3];
    o.On = true;
    o.X1 = 0, o.Y1 = 0, o.X2 = W, o.Y2 = H;
    o.GradientOn = true;
    o.Colors = {0x0000FF, 0x00FF00, 0xFF0000};
    proj->Obj.Xz.add(x);
    proj->Im.Smooth = true;
    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, W, H};
    for (auto _ : state) {
        proj->FillValid = 0;
        RepaintProject(*proj, st, host, RedrawMode::Window, true);
        host.log.clear();
        benchmark::DoNotOptimize(st.DrawBitmap.constBits());
    }
}
BENCHMARK(BM_PlayHeavy3D)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK(BM_ShadeOrbs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShadeCylinders)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShadeCones)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    bench::RegisterRedrawBenchmarks(Document, W, H);
    return bench::RunPaintBenchmarks(argc, argv);
}
