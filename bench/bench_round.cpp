// One update of each round solid in the automatic view mode, the mode that
// does the most work (visibility of every arc and edge).
#include <benchmark/benchmark.h>

#include <cmath>

#include "model/geometry.h"
#include "model/update.h"

using namespace pelmar;

namespace {

void Place(DPoint& p, Vec3 v) {
    SetPos(p, v);
    ProjectPoint(p);
}

DSf Orb() {
    DSf s{};
    s.View.v = 5;
    s.Radius.v = 80;
    Place(s.Center, {0, 300, 200});
    for (std::size_t i = 1; i <= 7; ++i) {
        s.SecOn[i].v = true;
        s.SecNX[i].v = std::cos(i * 0.7);
        s.SecNY[i].v = std::sin(i * 0.7);
        s.SecNZ[i].v = 0.5;
        s.SecH[i].v = 10.0 * i;
    }
    UpdateOrb(s, 0);
    return s;
}

DZi Cylinder() {
    DZi z{};
    z.View.v = 5;
    z.Radius.v = 60;
    Place(z.Base[1].Center, {0, 300, 200});
    Place(z.Base[2].Center, {-40, 380, 320});
    z.Axis.Length.v = 150;
    z.SecOn[2].v = true;
    z.SecPos1.v = 60;
    z.SecPos2.v = 120;
    UpdateCylinder(z, 0);
    return z;
}

DKo Cone() {
    DKo k{};
    k.View.v = 5;
    k.Radius.v = 60;
    Place(k.Base.Center, {0, 300, 200});
    Place(k.Axis.P2, {-40, 380, 320});
    k.Axis.Length.v = 150;
    k.SecOn[2].v = true;
    k.SecPos1.v = 60;
    k.SecPos2.v = 120;
    UpdateCone(k, 0);
    return k;
}

void BM_UpdateOrb(benchmark::State& st) {
    DSf s = Orb();
    for (auto _ : st) {
        UpdateOrb(s, 0);
        benchmark::DoNotOptimize(s.Sec[1].DashArc1.v);
    }
}
BENCHMARK(BM_UpdateOrb);

void BM_UpdateCylinder(benchmark::State& st) {
    DZi z = Cylinder();
    for (auto _ : st) {
        UpdateCylinder(z, 0);
        benchmark::DoNotOptimize(z.Base[1].DashArc1.v);
    }
}
BENCHMARK(BM_UpdateCylinder);

void BM_UpdateCone(benchmark::State& st) {
    DKo k = Cone();
    for (auto _ : st) {
        UpdateCone(k, 0);
        benchmark::DoNotOptimize(k.Base.DashArc1.v);
    }
}
BENCHMARK(BM_UpdateCone);

}  // namespace
