// Turning a whole document with every kind at capacity, as the
// transformations window does for "all objects", and the mouse drag's
// in-plane shift of the same document.
#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <memory>

#include "model/geometry.h"
#include "model/records.h"
#include "model/transform.h"
#include "model/update.h"

using namespace pelmar;

namespace {

void Put(DPoint& p, Vec3 v) {
    SetPos(p, v);
    ProjectPoint(p);
}

template <class Fig, std::size_t N>
void Vertices(Fig& f, const std::array<Vec3, N>& v) {
    for (std::size_t i = 1; i <= N; ++i) {
        Put(f.S[i].P1, v[i - 1]);
        Put(f.S[i].P2, v[i % N]);
    }
    f.View.v = 1;
    f.Layer.v = 1;
}

template <class T, std::size_t N, class Make>
void Fill(Store<T, N>& s, Make make) {
    for (std::size_t i = 0; i < N; ++i) s.add(make(static_cast<double>(i)));
}

std::unique_ptr<DProj> FullDocument() {
    auto doc = NewDocument();
    DSubProj& o = doc->Obj;
    Fill(o.Po, [](double k) {
        DPoint p;
        Put(p, {k, 10 + 3 * k, 20 + 2 * k});
        UpdatePoint(p, 0);
        return p;
    });
    Fill(o.Li, [](double k) {
        DLine l;
        Put(l.P1, {0, k, 2 * k});
        Put(l.P2, {k / 2, 100 - k, 40 + k});
        l.Frac3.v = 0.25;
        l.LineType.v = 1;
        UpdateLine(l, 0);
        return l;
    });
    Fill(o.Ci, [](double k) {
        DCircle c;
        Put(c.Center, {k, 100 + k, 100});
        c.A3.v = 30 + k;
        c.B3.v = 20;
        c.ViewType.v = 1;
        UpdateCircle(c, 0);
        return c;
    });
    Fill(o.Tr, [](double k) {
        DTri t;
        Vertices(t, std::array<Vec3, 3>{{{0, k, 0}, {5, 80 + k, 10}, {-10, 40 + k, 70}}});
        t.Typ.v = 4;
        t.CircOn[1].v = t.CircOn[2].v = true;
        for (std::size_t i = 1; i <= 5; ++i) t.LineVertex[i].v = t.LineMode[i].v = 1, t.LineKind[i].v = 3;
        UpdateTriangle(t, 0, true);
        return t;
    });
    Fill(o.Kv, [](double k) {
        DKv q;
        Vertices(q, std::array<Vec3, 4>{{{0, k, 0}, {0, 90 + k, 10}, {0, 100 + k, 90}, {0, k - 10, 80}}});
        q.Typ.v = 7;
        UpdateTetragon(q, 0, true);
        return q;
    });
    Fill(o.Xy, [](double k) {
        DXOY x;
        Put(x.Center, {0, 300 + k, 200});
        Put(x.AxisX.P1, {0, 150 + k, 200});
        Put(x.AxisX.P2, {0, 450 + k, 200});
        Put(x.AxisY.P1, {0, 300 + k, 80});
        Put(x.AxisY.P2, {0, 300 + k, 320});
        UpdateXOY(x, 0);
        return x;
    });
    Fill(o.Sf, [](double k) {
        DSf s;
        s.Radius.v = 40;
        s.View.v = 4;
        s.ContourOn.v = true;
        Put(s.Center, {k, 200, 150});
        s.SecOn[1].v = true;
        s.SecNZ[1].v = 1;
        UpdateOrb(s, 0);
        return s;
    });
    Fill(o.Zi, [](double k) {
        DZi z;
        z.Radius.v = 40;
        z.View.v = 4;
        Put(z.Base[1].Center, {0, 200 + k, 100});
        Put(z.Base[2].Center, {-30, 260 + k, 180});
        z.Axis.Length.v = Norm(Vec3{-30, 60, 80});
        z.SecOn[2].v = z.SecOn[3].v = true;
        UpdateCylinder(z, 0);
        return z;
    });
    Fill(o.Ko, [](double k) {
        DKo c;
        c.Radius.v = 40;
        c.View.v = 4;
        Put(c.Base.Center, {0, 200 + k, 100});
        Put(c.Axis.P2, {40, 260 + k, 180});
        c.Axis.Length.v = Norm(Vec3{40, 60, 80});
        c.SecOn[2].v = c.SecOn[3].v = true;
        UpdateCone(c, 0);
        return c;
    });
    Fill(o.I3, [](double k) {
        DPi3 p;
        p.Typ.v = 3;
        p.View.v = 4;
        Vertices(p.Base, std::array<Vec3, 3>{{{30, k, 0}, {7, 40 + k, 0}, {-38, k - 14, 0}}});
        p.Base.Typ.v = 4;
        Put(p.HeightLine.P2, {0, k, 60});
        p.HeightLine.Length.v = 60;
        UpdatePyramid3(p, 0);
        return p;
    });
    Fill(o.I4, [](double k) {
        DPi4 p;
        p.Typ.v = 3;
        p.View.v = 4;
        Vertices(p.Base, std::array<Vec3, 4>{{{20, k - 20, 0}, {20, k + 20, 0}, {-20, k + 20, 0}, {-20, k - 20, 0}}});
        p.Base.Typ.v = 7;
        Put(p.HeightLine.P2, {0, k, 40});
        p.HeightLine.Length.v = 40;
        UpdatePyramid4(p, 0);
        return p;
    });
    Fill(o.R3, [](double k) {
        DPr3 p;
        p.Typ.v = 3;
        p.View.v = 4;
        const std::array<Vec3, 3> lo{{{30, k, 0}, {30, 30 + k, 0}, {4, 15 + k, 0}}};
        std::array<Vec3, 3> up{};
        for (std::size_t i = 0; i < 3; ++i) up[i] = lo[i] + Vec3{0, 0, 40};
        Vertices(p.Base[1], lo);
        Vertices(p.Base[2], up);
        p.EdgeZ.v = 40;
        UpdatePrism3(p, 0);
        return p;
    });
    Fill(o.R4, [](double k) {
        DPr4 p;
        p.Typ.v = 5;
        p.View.v = 4;
        const std::array<Vec3, 4> lo{{{40, k, 0}, {40, 40 + k, 0}, {0, 40 + k, 0}, {0, k, 0}}};
        std::array<Vec3, 4> up{};
        for (std::size_t i = 0; i < 4; ++i) up[i] = lo[i] + Vec3{0, 0, 40};
        Vertices(p.Base[1], lo);
        Vertices(p.Base[2], up);
        p.EdgeZ.v = 40;
        UpdatePrism4(p, 0);
        return p;
    });
    Fill(o.Xz, [](double k) {
        DXZ x;
        Put(x.Center, {0, 300 + k, 200});
        Put(x.AxisY.P1, {0, 150 + k, 200});
        Put(x.AxisY.P2, {0, 450 + k, 200});
        UpdateXYZ(x, 0);
        return x;
    });
    return doc;
}

template <class T, std::size_t N, class F>
void Each(Store<T, N>& s, F f) {
    for (std::size_t i = 1; i <= s.count(); ++i) f(s[i]);
}

void RotateAll(DSubProj& o, double angle) {
    const double c[3] = {0, 200, 100}, n[3] = {0.2, 0.3, 1};
    Each(o.Po, [&](DPoint& r) { RotatePoint(r, c[0], c[1], c[2], n[0], n[1], n[2], angle); });
    Each(o.Li, [&](DLine& r) { RotateLine(r, c[0], c[1], c[2], n[0], n[1], n[2], angle); });
    Each(o.Ci, [&](DCircle& r) { RotateCircle(r, c[0], c[1], c[2], n[0], n[1], n[2], angle); });
    Each(o.Tr, [&](DTri& r) { RotateTriangle(r, c[0], c[1], c[2], n[0], n[1], n[2], angle); });
    Each(o.Kv, [&](DKv& r) { RotateTetragon(r, c[0], c[1], c[2], n[0], n[1], n[2], angle); });
    Each(o.Xy, [&](DXOY& r) { RotateXOY(r, c[0], c[1], c[2], n[0], n[1], n[2], angle); });
    Each(o.Sf, [&](DSf& r) { RotateOrb(r, c[0], c[1], c[2], n[0], n[1], n[2], angle); });
    Each(o.Zi, [&](DZi& r) { RotateCylinder(r, c[0], c[1], c[2], n[0], n[1], n[2], angle); });
    Each(o.Ko, [&](DKo& r) { RotateCone(r, c[0], c[1], c[2], n[0], n[1], n[2], angle); });
    Each(o.I3, [&](DPi3& r) { RotatePyramid3(r, c[0], c[1], c[2], n[0], n[1], n[2], angle); });
    Each(o.I4, [&](DPi4& r) { RotatePyramid4(r, c[0], c[1], c[2], n[0], n[1], n[2], angle); });
    Each(o.R3, [&](DPr3& r) { RotatePrism3(r, c[0], c[1], c[2], n[0], n[1], n[2], angle); });
    Each(o.R4, [&](DPr4& r) { RotatePrism4(r, c[0], c[1], c[2], n[0], n[1], n[2], angle); });
    Each(o.Xz, [&](DXZ& r) { RotateXYZ(r, c[0], c[1], c[2], n[0], n[1], n[2], angle); });
}

void ShiftAll(DSubProj& o, double dx, double dy) {
    Each(o.Po, [&](DPoint& r) { PlaneShiftPoint(r, dx, dy); });
    Each(o.Li, [&](DLine& r) { PlaneShiftLine(r, dx, dy); });
    Each(o.Ci, [&](DCircle& r) { PlaneShiftCircle(r, dx, dy); });
    Each(o.Tr, [&](DTri& r) { PlaneShiftTriangle(r, dx, dy); });
    Each(o.Kv, [&](DKv& r) { PlaneShiftTetragon(r, dx, dy); });
    Each(o.Xy, [&](DXOY& r) { PlaneShiftXOY(r, dx, dy); });
    Each(o.Sf, [&](DSf& r) { PlaneShiftOrb(r, dx, dy); });
    Each(o.Zi, [&](DZi& r) { PlaneShiftCylinder(r, dx, dy); });
    Each(o.Ko, [&](DKo& r) { PlaneShiftCone(r, dx, dy); });
    Each(o.I3, [&](DPi3& r) { PlaneShiftPyramid3(r, dx, dy); });
    Each(o.I4, [&](DPi4& r) { PlaneShiftPyramid4(r, dx, dy); });
    Each(o.R3, [&](DPr3& r) { PlaneShiftPrism3(r, dx, dy); });
    Each(o.R4, [&](DPr4& r) { PlaneShiftPrism4(r, dx, dy); });
    Each(o.Xz, [&](DXZ& r) { PlaneShiftXYZ(r, dx, dy); });
}

void BM_RotateFullDocument(benchmark::State& st) {
    auto doc = FullDocument();
    double angle = 7;
    for (auto _ : st) {
        RotateAll(doc->Obj, angle);
        angle = -angle;  // there and back keeps the document in place
        benchmark::DoNotOptimize(doc.get());
    }
    st.SetItemsProcessed(st.iterations() * TotalCapacity());
}
BENCHMARK(BM_RotateFullDocument)->Unit(benchmark::kMillisecond);

void BM_ShiftFullDocument(benchmark::State& st) {
    auto doc = FullDocument();
    double d = 3;
    for (auto _ : st) {
        ShiftAll(doc->Obj, d, -d);
        d = -d;
        benchmark::DoNotOptimize(doc.get());
    }
    st.SetItemsProcessed(st.iterations() * TotalCapacity());
}
BENCHMARK(BM_ShiftFullDocument)->Unit(benchmark::kMicrosecond);

}  // namespace
