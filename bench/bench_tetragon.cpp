// Cost of the tetragon update, alone and within a full set of plane figures.
#include <benchmark/benchmark.h>

#include "model/geometry.h"
#include "model/records.h"
#include "model/update.h"

using namespace pelmar;

namespace {

// A tilted tetragon with both circles admitted: every step of the update runs.
DKv TiltedSquare(double shift) {
    DKv k;
    const Vec3 v[4] = {{0, 0, 0}, {60, 80, 0}, {60, 80, 100}, {0, 0, 100}};
    for (std::size_t i = 1; i <= 4; ++i) {
        SetPos(k.S[i].P1, v[i - 1] + Vec3{0, shift, shift});
        ProjectPoint(k.S[i].P1);
        k.S[i].LineType.v = 1;
    }
    k.Typ.v = 1;
    k.Side3.v = 1;
    k.View.v = 4;
    k.Thick.v = 1;
    k.Layer.v = 1;
    k.CircOn[1].v = k.CircOn[2].v = true;
    return k;
}

DTri Triangle(double shift) {
    DTri t;
    const Vec3 v[3] = {{0, 0, 0}, {0, 120, 10}, {30, 40, 90}};
    for (std::size_t i = 1; i <= 3; ++i) {
        SetPos(t.S[i].P1, v[i - 1] + Vec3{0, shift, shift});
        ProjectPoint(t.S[i].P1);
        t.S[i].LineType.v = 1;
    }
    t.Typ.v = 4;
    t.View.v = 4;
    for (std::size_t i = 1; i <= 5; ++i) {
        t.LineOn[i].v = true;
        t.LineVertex[i].v = static_cast<std::uint8_t>((i - 1) % 3 + 1);
        t.LineMode[i].v = static_cast<std::uint8_t>((i - 1) % 3 + 1);
        t.LineKind[i].v = static_cast<std::uint8_t>((i - 1) % 3 + 1);
        t.Lines[i].Length.v = 40;
    }
    return t;
}

DCircle Ellipse(double shift) {
    DCircle c;
    SetPos(c.Center, {0, 200 + shift, 100 + shift});
    c.A3.v = 50;
    c.B3.v = 30;
    c.ViewType.v = 1;
    for (std::size_t i = 1; i <= 3; ++i) c.R[i].Angle.v = 30.0 * static_cast<double>(i);
    return c;
}

void BM_UpdateTetragon(benchmark::State& st) {
    const DKv k0 = TiltedSquare(0);
    DKv k = k0;
    for (auto _ : st) {
        k = k0;
        UpdateTetragon(k, 0, true);
        benchmark::DoNotOptimize(k.Circ[2].A.v);
    }
}
BENCHMARK(BM_UpdateTetragon);

// 50 ellipses, 20 triangles and 12 tetragons updated as after a document load.
void BM_UpdateFigureSet(benchmark::State& st) {
    auto doc = NewDocument();
    for (int i = 0; i < 50; ++i) doc->Obj.Ci.add(Ellipse(i));
    for (int i = 0; i < 20; ++i) doc->Obj.Tr.add(Triangle(i * 5.0));
    for (int i = 0; i < 12; ++i) doc->Obj.Kv.add(TiltedSquare(i * 7.0));
    for (auto _ : st) {
        for (std::size_t i = 1; i <= doc->Obj.Ci.count(); ++i) UpdateCircle(doc->Obj.Ci[i], 0);
        for (std::size_t i = 1; i <= doc->Obj.Tr.count(); ++i) UpdateTriangle(doc->Obj.Tr[i], 0, false);
        for (std::size_t i = 1; i <= doc->Obj.Kv.count(); ++i) UpdateTetragon(doc->Obj.Kv[i], 0, false);
        benchmark::DoNotOptimize(doc.get());
    }
}
BENCHMARK(BM_UpdateFigureSet);

}  // namespace
