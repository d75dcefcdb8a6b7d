// Cost of a whole redraw of a full document: 50 points, 50 segments, 50
// ellipses, 20 triangles and 12 tetragons on a 1200 x 900 picture, smoothed
// and not.  "Redraw" is the redraw after an edit (the fills come from the
// cache); "Build" is the build-the-drawing run that also computes the
// shaded fills of the filled figures.  Each runs nine times and reports the
// median with the mean and spread.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>

#include "drawing/redraw.h"
#include "redraw_bench.h"
#include "model/geometry.h"
#include "model/update.h"

using namespace pelmar;

namespace {

constexpr int W = 1200, H = 900;

DPoint Point(double x, double y, std::uint8_t type, int radius, TColor colour) {
    DPoint p;
    p.ScrX.v = x;
    p.ScrY.v = y;
    p.Y.v = x;
    p.Z.v = y;
    p.Typ.v = type;
    p.Radius.v = radius;
    p.Thick.v = 2;
    p.Color.v = colour;
    p.Layer.v = 1;
    p.NameFont.s = "DejaVu Sans";
    p.IndexFont.s = "DejaVu Sans";
    p.NameSize.v = 10;
    p.IndexSize.v = 8;
    p.LabelDist.v = 12;
    p.LabelAngle.v = 45;
    return p;
}

DLine Segment(double x1, double y1, double x2, double y2, int thick, TColor colour) {
    DLine l;
    l.P1 = Point(x1, y1, 2, 3, colour);
    l.P2 = Point(x2, y2, 2, 3, colour);
    l.Thick.v = thick;
    l.Color.v = colour;
    l.LineType.v = 1;
    l.Dash.v = 8;
    l.Gap.v = 4;
    l.Layer.v = 1;
    return l;
}

template <std::size_t N, class Figure>
void SetVertices(Figure& f, const std::array<Vec3, N>& v) {
    for (std::size_t i = 1; i <= N; ++i) {
        SetPos(f.S[i].P1, v[i - 1]);
        SetPos(f.S[i].P2, v[i % N]);
        ProjectPoint(f.S[i].P1);
        ProjectPoint(f.S[i].P2);
        f.S[i].LineType.v = 1;
    }
}

std::unique_ptr<DProj> Document() {
    auto d = NewDocument();
    d->Im.Width = W;
    d->Im.Height = H;
    d->Im.Dpi = 96;
    DSubProj& o = d->Obj;
    std::mt19937 rnd(7);
    auto at = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rnd); };
    const TColor colours[] = {0x0000FF, 0x008000, 0xFF0000, 0x000000, 0x800080};
    auto colour = [&](int i) { return colours[i % 5]; };

    for (int i = 0; i < 50; ++i) {
        DPoint p = Point(at(20, W - 20), at(20, H - 20), static_cast<std::uint8_t>(1 + i % 3), 4, colour(i));
        p.Name.s = std::string(1, static_cast<char>('A' + i % 26));
        if (i % 4 == 0) p.Lower.s = "1";
        o.Po.add(p);
    }
    for (int i = 0; i < 50; ++i) {
        const double x = at(50, W - 150), y = at(50, H - 150);
        DLine l = Segment(x, y, x + at(-100, 100), y + at(-100, 100), 1 + i % 3, colour(i));
        if (i % 3 == 1) l.LineType.v = 2;
        if (i % 5 == 0) {
            l.Arrow2.v = true;
            l.Arrow2Len.v = 12;
            l.Arrow2Angle.v = 20;
        }
        o.Li.add(l);
    }
    for (int i = 0; i < 50; ++i) {
        const double x = at(80, W - 80), y = at(80, H - 80);
        DCircle c;
        c.Center = Point(x, y, 2, 3, colour(i));
        c.A.v = at(20, 70);
        c.B.v = at(15, 50);
        c.Thick.v = 1 + i % 3;
        c.Color.v = colour(i);
        c.Layer.v = 1;
        c.ViewType.v = static_cast<std::uint8_t>(1 + i % 4);
        c.Tilt.v = i % 3 == 0 ? at(-60, 60) : 0;
        c.Dash.v = 6;
        c.Gap.v = 3;
        c.DashArc1.v = 90;
        c.DashArc2.v = 180;
        if (i % 5 == 2) {
            c.Arc1.v = 300;
            c.Arc2.v = 60;
        }
        c.PA = 1;
        c.ShowR[1].v = i % 2 == 0;
        c.R[1] = Segment(x, y, x + c.A.v, y, 1, colour(i));
        if (i % 5 == 0) {
            c.Fill.On = true;
            c.Fill.Colors = {0x0000FF, 0x00FF00, 0xFF0000};
        }
        o.Ci.add(c);
    }
    for (int i = 0; i < 20; ++i) {
        const double x = at(0, W - 160), y = at(0, H - 160);
        DTri t;
        const Vec3 v2{0, x + at(80, 150), y + at(0, 30)};
        const Vec3 v3{0, x + at(20, 80), y + at(80, 150)};
        SetVertices<3>(t, {Vec3{0, x, y}, v2, v3});
        t.Typ.v = 4;
        t.View.v = 1;
        t.Layer.v = 1;
        t.Thick.v = 1 + i % 2;
        t.ColorIndex.v = static_cast<std::uint8_t>(i % 13);
        for (std::size_t k = 1; k <= 5; ++k) {
            t.LineVertex[k].v = static_cast<std::uint8_t>((k - 1) % 3 + 1);
            t.LineMode[k].v = 1;
            t.LineKind[k].v = static_cast<std::uint8_t>((k - 1) % 3 + 1);
            t.LineOn[k].v = i % 2 == 0 && k <= 3;
        }
        t.CircOn[1].v = t.CircOn[2].v = i % 3 == 0;
        t.Fill.On = i % 4 == 0;
        t.Fill.Colors = {0x00FFFF, 0x0080FF, 0x800000};
        UpdateTriangle(t, 0, true);
        o.Tr.add(t);
    }
    for (int i = 0; i < 12; ++i) {
        const double x = at(0, W - 160), y = at(0, H - 120);
        DKv k;
        SetVertices<4>(k, {Vec3{0, x, y}, Vec3{0, x + 140, y}, Vec3{0, x + 150, y + 100},
                           Vec3{0, x + 10, y + 100}});
        k.Typ.v = 7;
        k.View.v = 1;
        k.Layer.v = 1;
        k.Thick.v = 2;
        k.ColorIndex.v = static_cast<std::uint8_t>(i % 13);
        k.DiagOn[1].v = k.DiagOn[2].v = true;
        k.CenterOn.v = true;
        k.Fill.On = i % 4 == 0;
        k.Fill.Colors = {0xFFFF00, 0x00FF00, 0x008000};
        UpdateTetragon(k, 0, true);
        o.Kv.add(k);
    }
    return d;
}

}  // namespace

int main(int argc, char** argv) {
    bench::RegisterRedrawBenchmarks(Document, W, H);
    return bench::RunPaintBenchmarks(argc, argv);
}
