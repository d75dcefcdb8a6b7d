#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "model/geometry.h"
#include "model/records.h"
#include "model/update.h"

using namespace pelmar;

namespace {

template <class Fig, std::size_t N>
void SetVertices(Fig& f, const std::array<Vec3, N>& v) {
    for (std::size_t i = 1; i <= N; ++i) {
        SetPos(f.S[i].P1, v[i - 1]);
        SetPos(f.S[i].P2, v[i % N]);
        ProjectPoint(f.S[i].P1);
        ProjectPoint(f.S[i].P2);
    }
    f.Layer.v = 1;
    f.Thick.v = 1;
    f.View.v = 1;
}

template <class P>
void SetHead(P& p, std::uint8_t typ, std::uint8_t view) {
    p.Typ.v = typ;
    p.View.v = view;
    p.Layer.v = 1;
    p.Thick.v = 1;
    p.ColorIndex.v = 4;
    p.OutSphereOn.v = true;
    p.InSphereOn.v = true;
    p.OutSphere.Radius.v = p.InSphere.Radius.v = 10;
}

DPi3 Pyramid3(Vec3 at, std::uint8_t view) {
    DPi3 p;
    SetHead(p, 3, view);
    SetVertices(p.Base, std::array<Vec3, 3>{at + Vec3{30.642, -25.712, 0}, at + Vec3{6.946, 39.392, 0},
                                            at + Vec3{-37.588, -13.681, 0}});
    p.Base.Typ.v = 4;
    SetPos(p.HeightLine.P2, at + Vec3{0, 0, 60});
    UpdatePyramid3(p, 0);
    return p;
}

DPi4 Pyramid4(Vec3 at, std::uint8_t view) {
    DPi4 p;
    SetHead(p, 1, view);
    SetVertices(p.Base, std::array<Vec3, 4>{at + Vec3{20, -20, 0}, at + Vec3{20, 20, 0}, at + Vec3{-20, 20, 0},
                                            at + Vec3{-20, -20, 0}});
    p.Base.Typ.v = 1;
    p.Base.Side3.v = 1;
    SetPos(p.HeightLine.P2, at + Vec3{0, 0, 40});
    p.HeightLine.Length.v = 40;
    UpdatePyramid4(p, 0);
    return p;
}

DPr3 Prism3(Vec3 at, std::uint8_t view) {
    DPr3 p;
    SetHead(p, 1, view);
    const std::array<Vec3, 3> v{at + Vec3{30, 0, 0}, at + Vec3{30, 30, 0}, at + Vec3{4.019, 15, 0}};
    SetVertices(p.Base[1], v);
    SetVertices(p.Base[2], std::array<Vec3, 3>{v[0] + Vec3{0, 0, 40}, v[1] + Vec3{0, 0, 40}, v[2] + Vec3{0, 0, 40}});
    p.Base[1].Typ.v = 1;
    p.Base[1].Side3.v = 1;
    p.EdgeZ.v = 40;
    UpdatePrism3(p, 0);
    return p;
}

DPr4 Prism4(Vec3 at, std::uint8_t view) {
    DPr4 p;
    SetHead(p, 1, view);
    const std::array<Vec3, 4> v{at + Vec3{40, 0, 0}, at + Vec3{40, 40, 0}, at + Vec3{0, 40, 0}, at};
    SetVertices(p.Base[1], v);
    SetVertices(p.Base[2], std::array<Vec3, 4>{v[0] + Vec3{0, 0, 40}, v[1] + Vec3{0, 0, 40},
                                               v[2] + Vec3{0, 0, 40}, v[3] + Vec3{0, 0, 40}});
    p.Base[1].Typ.v = 1;
    p.Base[1].Side3.v = 1;
    p.EdgeZ.v = 40;
    UpdatePrism4(p, 0);
    return p;
}

// One role-0 update of each kind, by view mode (1 all solid, 5 automatic,
// 6 opaque: the last two run the hidden-edge tests).
template <class P, class Make, class Update>
void RunUpdate(benchmark::State& st, Make make, Update update) {
    P p = make(Vec3{0, 0, 0}, static_cast<std::uint8_t>(st.range(0)));
    for (auto _ : st) {
        update(p, 0);
        benchmark::DoNotOptimize(p.OutSphere.Radius.v);
    }
}

void BM_UpdatePyramid3(benchmark::State& st) {
    RunUpdate<DPi3>(st, Pyramid3, [](DPi3& p, int r) { UpdatePyramid3(p, r); });
}
void BM_UpdatePyramid4(benchmark::State& st) {
    RunUpdate<DPi4>(st, Pyramid4, [](DPi4& p, int r) { UpdatePyramid4(p, r); });
}
void BM_UpdatePrism3(benchmark::State& st) {
    RunUpdate<DPr3>(st, Prism3, [](DPr3& p, int r) { UpdatePrism3(p, r); });
}
void BM_UpdatePrism4(benchmark::State& st) {
    RunUpdate<DPr4>(st, Prism4, [](DPr4& p, int r) { UpdatePrism4(p, r); });
}
BENCHMARK(BM_UpdatePyramid3)->Arg(1)->Arg(5)->Arg(6);
BENCHMARK(BM_UpdatePyramid4)->Arg(1)->Arg(5)->Arg(6);
BENCHMARK(BM_UpdatePrism3)->Arg(1)->Arg(5)->Arg(6);
BENCHMARK(BM_UpdatePrism4)->Arg(1)->Arg(5)->Arg(6);

void Place(DPoint& p, Vec3 v) {
    SetPos(p, v);
    ProjectPoint(p);
}

DSf Orb(Vec3 at, std::uint8_t view) {
    DSf s{};
    s.View.v = view;
    s.Radius.v = 50;
    Place(s.Center, at);
    for (std::size_t i = 1; i <= 3; ++i) {
        s.SecOn[i].v = true;
        s.SecNX[i].v = std::cos(0.7 * static_cast<double>(i));
        s.SecNY[i].v = std::sin(0.7 * static_cast<double>(i));
        s.SecNZ[i].v = 0.5;
        s.SecH[i].v = 10.0 * static_cast<double>(i);
    }
    UpdateOrb(s, 0);
    return s;
}

DZi Cylinder(Vec3 at, std::uint8_t view) {
    DZi z{};
    z.View.v = view;
    z.Radius.v = 40;
    Place(z.Base[1].Center, at);
    Place(z.Base[2].Center, at + Vec3{-20, 30, 90});
    z.Axis.Length.v = 100;
    z.OutSphereOn.v = true;
    UpdateCylinder(z, 0);
    return z;
}

DKo Cone(Vec3 at, std::uint8_t view) {
    DKo k{};
    k.View.v = view;
    k.Radius.v = 40;
    Place(k.Base.Center, at);
    Place(k.Axis.P2, at + Vec3{-20, 30, 90});
    k.Axis.Length.v = 100;
    k.InSphereOn.v = true;
    UpdateCone(k, 0);
    return k;
}

// A document holding three of each solid (a full store of each kind), every
// one updated as after opening the document; the views are manual,
// automatic and opaque.
void BM_UpdateDocumentSolids(benchmark::State& st) {
    auto doc = NewDocument();
    DSubProj& o = doc->Obj;
    for (int i = 0; i < 3; ++i) {
        const Vec3 at{-30.0 * i, 150.0 * i, 10.0 * i};
        const auto view = static_cast<std::uint8_t>(4 + i);
        o.Sf.add(Orb(at + Vec3{0, 0, -300}, view));
        o.Zi.add(Cylinder(at + Vec3{0, 0, -200}, view));
        o.Ko.add(Cone(at + Vec3{0, 0, -100}, view));
        o.I3.add(Pyramid3(at, view));
        o.I4.add(Pyramid4(at + Vec3{0, 0, 100}, view));
        o.R3.add(Prism3(at + Vec3{0, 0, 200}, view));
        o.R4.add(Prism4(at + Vec3{0, 0, 300}, view));
    }
    for (auto _ : st) {
        for (std::size_t i = 1; i <= o.Sf.count(); ++i) UpdateOrb(o.Sf[i], 0);
        for (std::size_t i = 1; i <= o.Zi.count(); ++i) UpdateCylinder(o.Zi[i], 0);
        for (std::size_t i = 1; i <= o.Ko.count(); ++i) UpdateCone(o.Ko[i], 0);
        for (std::size_t i = 1; i <= o.I3.count(); ++i) UpdatePyramid3(o.I3[i], 0);
        for (std::size_t i = 1; i <= o.I4.count(); ++i) UpdatePyramid4(o.I4[i], 0);
        for (std::size_t i = 1; i <= o.R3.count(); ++i) UpdatePrism3(o.R3[i], 0);
        for (std::size_t i = 1; i <= o.R4.count(); ++i) UpdatePrism4(o.R4[i], 0);
        benchmark::DoNotOptimize(o.R4[1].EdgeLen.v);
    }
    st.SetItemsProcessed(st.iterations() * 21);
}
BENCHMARK(BM_UpdateDocumentSolids);

}  // namespace
