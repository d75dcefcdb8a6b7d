// Hit-testing every pixel of a picture row against a document with every kind
// at capacity, as a click tests each object in turn.
#include <benchmark/benchmark.h>

#include <cstddef>

#include "editing/hit_test.h"
#include "model/records.h"

using namespace pelmar;

namespace {

constexpr int Width = 2000;
constexpr int Row = 300;

DPoint At(double x, double y) {
    DPoint p;
    p.ScrX.v = x;
    p.ScrY.v = y;
    p.Radius.v = 3;
    return p;
}

DLine Seg(double x1, double y1, double x2, double y2) {
    DLine l;
    l.Thick.v = 2;
    l.P1 = At(x1, y1);
    l.P2 = At(x2, y2);
    return l;
}

DCircle Ellipse(double cx, double cy, double a, double b, double tilt) {
    DCircle c;
    c.Thick.v = 1;
    c.Center = At(cx, cy);
    c.A.v = a;
    c.B.v = b;
    c.Tilt.v = tilt;
    return c;
}

template <class Fig, std::size_t N>
Fig Polygon(double cx, double cy, double r) {
    // A regular polygon around (cx, cy); vertex i is end 1 of side i.
    static constexpr double ux[4] = {-1, 1, 1, -1}, uy[4] = {1, 1, -1, -1};
    static constexpr double tx[3] = {-1, 1, 0}, ty[3] = {1, 1, -1};
    Fig f;
    f.Thick.v = 1;
    for (std::size_t i = 0; i < N; ++i) {
        const std::size_t j = (i + 1) % N;
        const double x1 = N == 4 ? ux[i] : tx[i], y1 = N == 4 ? uy[i] : ty[i];
        const double x2 = N == 4 ? ux[j] : tx[j], y2 = N == 4 ? uy[j] : ty[j];
        f.S[i + 1] = Seg(cx + r * x1, cy + r * y1, cx + r * x2, cy + r * y2);
    }
    return f;
}
DTri Tri(double cx, double cy, double r) { return Polygon<DTri, 3>(cx, cy, r); }
DKv Quad(double cx, double cy, double r) { return Polygon<DKv, 4>(cx, cy, r); }

// The x of object n of a store of capacity cap, spread over the row.
double Spread(std::size_t n, std::size_t cap) { return (n - 0.5) * Width / static_cast<double>(cap); }

std::unique_ptr<DProj> FullDocument() {
    auto d = NewDocument();
    DSubProj& o = d->Obj;
    for (std::size_t n = 1; o.Po.add(At(Spread(n, 50), Row + 1.0 * (n % 5))); ++n) {
    }
    for (std::size_t n = 1; o.Li.add(Seg(Spread(n, 50) - 15, Row - 20, Spread(n, 50) + 15, Row + 20)); ++n) {
    }
    for (std::size_t n = 1; o.Ci.add(Ellipse(Spread(n, 50), Row, 18, 10, n % 3 == 0 ? 30 : 0)); ++n) {
    }
    for (std::size_t n = 1; o.Tr.add(Tri(Spread(n, 20), Row, 40)); ++n) {
    }
    for (std::size_t n = 1; o.Kv.add(Quad(Spread(n, 12), Row, 60)); ++n) {
    }
    for (std::size_t n = 1; n <= 10; ++n) {
        DXOY s;
        const double x = Spread(n, 10);
        s.Center = At(x, Row);
        s.AxisX = Seg(x - 90, Row, x + 90, Row);
        s.AxisY = Seg(x, Row - 90, x, Row + 90);
        o.Xy.add(s);
    }
    for (std::size_t n = 1; n <= 3; ++n) {
        const double x = Spread(n, 3);
        DSf s;
        s.Radius.v = 80;
        s.Center = At(x, Row);
        s.Contour = Ellipse(x, Row, 80, 80, 0);
        o.Sf.add(s);
        DZi z;
        z.Base[1] = Ellipse(x, Row - 100, 70, 25, 0);
        z.Base[2] = Ellipse(x, Row + 100, 70, 25, 0);
        z.Sec[1] = Quad(x, Row, 70);
        z.Sec[2] = Quad(x, Row, 100);
        o.Zi.add(z);
        DKo k;
        k.Base = Ellipse(x, Row - 100, 70, 25, 0);
        k.Axis = Seg(x, Row - 100, x, Row + 120);
        k.Sec[1] = Tri(x, Row, 70);
        k.Sec[2] = Tri(x, Row, 100);
        o.Ko.add(k);
        DPi3 p3;
        p3.Base = Tri(x, Row, 90);
        for (auto& f : p3.Face) f = Tri(x, Row + 10, 80);
        p3.HeightLine = Seg(x, Row, x, Row + 120);
        o.I3.add(p3);
        DPi4 p4;
        p4.Base = Quad(x, Row, 90);
        for (auto& f : p4.Face) f = Tri(x, Row + 10, 80);
        p4.HeightLine = Seg(x, Row, x, Row + 120);
        o.I4.add(p4);
        DPr3 r3;
        for (auto& s3 : r3.Side) s3 = Quad(x, Row, 80);
        r3.Base[1] = Tri(x, Row - 60, 50);
        r3.Base[2] = Tri(x, Row + 60, 50);
        o.R3.add(r3);
        DPr4 r4;
        for (auto& s4 : r4.Side) s4 = Quad(x, Row, 80);
        r4.Base[1] = Quad(x, Row - 60, 50);
        r4.Base[2] = Quad(x, Row + 60, 50);
        o.R4.add(r4);
    }
    for (std::size_t n = 1; n <= 2; ++n) {
        DXZ s;
        const double x = Spread(n, 2);
        s.Center = At(x, Row);
        s.AxisX = Seg(x + 60, Row - 60, x - 60, Row + 60);
        s.AxisY = Seg(x - 120, Row, x + 120, Row);
        s.AxisZ = Seg(x, Row - 120, x, Row + 120);
        o.Xz.add(s);
    }
    return d;
}

// The number of objects hit at (x, y) over the whole document.
template <class S, class F>
int CountHits(const S& store, F hit, int x, int y) {
    int n = 0;
    for (std::size_t i = 1; i <= store.count(); ++i)
        if (hit(x, y, store[i])) ++n;
    return n;
}

int HitsAt(const DSubProj& o, int x, int y) {
    return CountHits(o.Po, HitPo, x, y) + CountHits(o.Li, HitLi, x, y) + CountHits(o.Ci, HitCi, x, y) +
           CountHits(o.Tr, HitTr, x, y) + CountHits(o.Kv, HitKv, x, y) + CountHits(o.Xy, HitXY, x, y) +
           CountHits(o.Sf, HitSf, x, y) + CountHits(o.Zi, HitZi, x, y) + CountHits(o.Ko, HitKo, x, y) +
           CountHits(o.I3, HitI3, x, y) + CountHits(o.I4, HitI4, x, y) + CountHits(o.R3, HitR3, x, y) +
           CountHits(o.R4, HitR4, x, y) + CountHits(o.Xz, HitXZ, x, y);
}

}  // namespace

static void BM_HitTestRow(benchmark::State& st) {
    const auto d = FullDocument();
    long hits = 0;
    for (auto _ : st) {
        hits = 0;
        for (int x = 0; x < Width; ++x) hits += HitsAt(d->Obj, x, Row);
        benchmark::DoNotOptimize(hits);
    }
    st.counters["hits"] = static_cast<double>(hits);
    st.SetItemsProcessed(st.iterations() * Width);
}
BENCHMARK(BM_HitTestRow)->Unit(benchmark::kMillisecond);
