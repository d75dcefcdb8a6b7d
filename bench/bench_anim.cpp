// The animation builder from "Создать" to the closed file: 60 frames of an
// 800 x 600 anti-aliased drawing with 20 plane objects that move by their
// formulas.  The file is left in $PELMAR_ANIM_OUT (default
// /tmp/pelmar-bench-anim) as anim.gif; scripts/bench_anim.sh compares its size
// with what gifsicle -O2 makes of the same frames.
#include <benchmark/benchmark.h>

#include "bench_status.h"

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/fake_redraw_host.h"
#include "model/geometry.h"
#include "model/update.h"
#include "transform/anim_build.h"
#include "quiet_anim_host.h"

using namespace pelmar;

namespace {

constexpr int W = 800, H = 600;

void Place(DPoint& p, double x, double y, std::uint8_t type = 2) {
    p.X.v = 0;
    p.Y.v = x;
    p.Z.v = y;
    p.Typ.v = type;
    p.Radius.v = 4;
    p.Thick.v = 2;
    p.Layer.v = 1;
    p.NameFont.s = "DejaVu Sans";
    p.IndexFont.s = "DejaVu Sans";
    p.NameSize.v = 12;
    p.IndexSize.v = 8;
    p.LabelDist.v = 12;
    p.LabelAngle.v = 45;
    ProjectPoint(p);
}

std::string Num(double v) { return std::to_string(static_cast<int>(v)); }

template <class Figure>
void Vertices(Figure& f, const std::vector<std::pair<double, double>>& v) {
    const std::size_t n = v.size();
    for (std::size_t i = 1; i <= n; ++i) {
        Place(f.S[i].P1, v[i - 1].first, v[i - 1].second, 1);
        Place(f.S[i].P2, v[i % n].first, v[i % n].second, 1);
        f.S[i].LineType.v = 1;
    }
}

std::unique_ptr<DProj> Document() {
    auto d = NewDocument();
    d->Im.Width = W;
    d->Im.Height = H;
    d->Im.Smooth = true;
    DSubProj& o = d->Obj;
    for (int i = 0; i < 6; ++i) {  // points running round circles
        DPoint p;
        Place(p, 120 + 110 * i, 480);
        p.Name.s = std::string(1, static_cast<char>('A' + i));
        p.ColorIndex.v = static_cast<std::uint8_t>(1 + i);
        p.Anim[1] = Num(120 + 110 * i) + "+40*cos(x/6+" + Num(i) + ")";
        p.Anim[2] = "480+40*sin(x/6+" + Num(i) + ")";
        UpdatePoint(p, 0);
        o.Po.add(p);
    }
    for (int i = 0; i < 5; ++i) {  // segments turning about end 1
        DLine l;
        Place(l.P1, 100 + 140 * i, 330);
        Place(l.P2, 160 + 140 * i, 380);
        l.P2.Anim[1] = Num(100 + 140 * i) + "+60*cos(x/8)";
        l.P2.Anim[2] = "330+60*sin(x/8)";
        l.Thick.v = 2;
        l.LineType.v = 1;
        l.Layer.v = 1;
        l.ColorIndex.v = static_cast<std::uint8_t>(4 + i);
        UpdateLine(l, 0);
        o.Li.add(l);
    }
    for (int i = 0; i < 4; ++i) {  // ellipses breathing
        DCircle c;
        Place(c.Center, 120 + 180 * i, 190);
        c.A.v = c.A3.v = 60;
        c.B.v = c.B3.v = 35;
        c.Thick.v = 2;
        c.Layer.v = 1;
        c.ViewType.v = 1;
        c.ColorIndex.v = static_cast<std::uint8_t>(9 + i);
        for (auto& r : c.R) Place(r.P1, 0, 0, 1), Place(r.P2, 0, 0, 1);
        UpdateCircle(c, 0);
        c.Anim[0] = "50+15*sin(x/5+" + Num(i) + ")";
        c.Anim[1] = "35";
        o.Ci.add(c);
    }
    for (int i = 0; i < 3; ++i) {  // triangles with a wandering vertex
        DTri t;
        Vertices(t, {{60 + 260 * i, 40}, {200 + 260 * i, 50}, {120 + 260 * i, 120}});
        t.Typ.v = 4;
        t.View.v = 1;
        t.Layer.v = 1;
        t.Thick.v = 2;
        t.ColorIndex.v = static_cast<std::uint8_t>(2 + i);
        UpdateTriangle(t, 0, false);
        t.S[3].P1.Anim[2] = "120+30*sin(x/4)";
        o.Tr.add(t);
    }
    for (int i = 0; i < 2; ++i) {  // tetragons with a moving corner
        DKv k;
        Vertices(k, {{560 + 110 * i, 560}, {640 + 110 * i, 560}, {640 + 110 * i, 590}, {560 + 110 * i, 590}});
        k.Typ.v = 7;
        k.View.v = 1;
        k.Layer.v = 1;
        k.Thick.v = 2;
        k.ColorIndex.v = static_cast<std::uint8_t>(12 + i);
        UpdateTetragon(k, 0, false);
        k.S[3].P1.Anim[1] = Num(640 + 110 * i) + "+20*sin(x/3)";
        o.Kv.add(k);
    }
    d->AnimFrames = 60;
    d->AnimDelay = 40;
    d->AnimStart = "0";
    d->AnimStep = "1";
    d->AnimLoop = true;
    return d;
}

void BM_AnimBuild(benchmark::State& state) {
    const char* env = std::getenv("PELMAR_ANIM_OUT");
    const std::string dir = env ? env : "/tmp/pelmar-bench-anim";
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/anim.gif";
    auto doc = Document();
    FakeRedrawHost redraw;
    redraw.view = {0, 0, W, H};
    QuietHost host;
    AnimResult r;
    for (auto _ : state) {
        DrawingState st;
        r = BuildAnimation(*doc, st, redraw, host, path);
        if (r.outcome != AnimOutcome::Created) state.SkipWithError(r.error.c_str());
    }
    state.counters["frames"] = r.frames;
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_AnimBuild)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    return pelmar::bench::RunBenchmarks(argc, argv);
}
