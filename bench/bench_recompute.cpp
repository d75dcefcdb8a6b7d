#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "model/geometry.h"
#include "model/recompute.h"
#include "model/records.h"
#include "model/update.h"
#include "support/links.h"

using namespace pelmar;
using pelmar::test::LinkTo;

namespace {

// One free point and 100 dependent objects: a chain of 49 points, 31
// segments between them and 20 triangles on the segments' ends.
std::unique_ptr<DProj> LinkedDocument() {
    auto doc = NewDocument();
    auto& o = doc->Obj;
    int number = 1;
    for (int i = 1; i <= 50; ++i) {
        DPoint p;
        SetPos(p, {0.5 * i, 100.0 + 3 * i, 100.0 + 2 * i});
        p.Typ.v = 2;
        p.Number = number++;
        if (i > 1) p.Link = LinkTo(1, i - 1);
        UpdatePoint(p, 0);
        o.Po.add(p);
    }
    for (int i = 1; i <= 31; ++i) {
        DLine l;
        l.P1.Link = LinkTo(1, i);
        l.P2.Link = LinkTo(1, i + 19);
        l.Frac3.v = 0.5;
        l.LineType.v = 1;
        l.Number = number++;
        o.Li.add(l);
    }
    for (int i = 1; i <= 20; ++i) {
        DTri t;
        t.S[1].P1.Link = LinkTo(2, i, 1);
        t.S[2].P1.Link = LinkTo(2, i + 1, 2);
        t.S[3].P1.Link = LinkTo(2, i + 10, 3);
        t.Typ.v = 4;
        t.View.v = 1;
        for (std::size_t k = 1; k <= 5; ++k) {
            t.LineVertex[k].v = 1;
            t.LineMode[k].v = 1;
            t.LineKind[k].v = 3;
        }
        t.Number = number++;
        o.Tr.add(t);
    }
    RecomputeLinked(*doc);
    return doc;
}

void BM_RecomputeLinked100(benchmark::State& st) {
    auto doc = LinkedDocument();
    double shift = 0;
    for (auto _ : st) {
        DPoint& a = doc->Obj.Po[1];
        shift = shift > 50 ? 0 : shift + 1;
        a.Y.v = 103 + shift;
        UpdatePoint(a, 0);
        RecomputeLinked(*doc);
        benchmark::DoNotOptimize(doc->Obj.Tr[20].S[1].P1.X.v);
    }
    st.SetItemsProcessed(st.iterations() * 100);
}
BENCHMARK(BM_RecomputeLinked100);

}  // namespace
