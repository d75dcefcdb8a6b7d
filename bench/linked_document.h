// The largest document a picture holds, linked: every kind at its capacity,
// each object's first defining point on point 1, the second vertex of every
// triangle and of four tetragons on the far end of segment 1.  The benchmarks
// of a keystroke, a commit, a drag step and Select All share it.
#pragma once

#include <cstddef>

#include "editing/kind_access.h"
#include "model/defining_points.h"
#include "model/recompute.h"
#include "model/records.h"
#include "support/links.h"

namespace pelmar::bench {

// Links the objects of doc, whose stores are full, as above and recomputes
// them; the last segment is left free (built on nothing, nothing built on it)
// when `freeSegment`.  Gives the number of links made.
inline int LinkDocument(DProj& doc, bool freeSegment = false) {
    int number = 2, links = 0;
    doc.Obj.Po[1].Number = 1;
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        auto& store = KindT<K>::store(doc.Obj);
        for (std::size_t i = K == Kind::po ? 2 : 1; i <= store.count(); ++i) {
            if (K == Kind::li && freeSegment && i == store.count()) continue;
            int n = 0;
            const bool second = K == Kind::tr || (K == Kind::kv && i <= 4);
            ForEachDefiningPoint(store[i], [&](DPoint& p) {
                if (n == 0) p.Link = test::LinkTo(Kind::po, 1), ++links;
                else if (n == 1 && second) p.Link = test::LinkTo(Kind::li, 1, 2), ++links;
                ++n;
            });
            store[i].Number = number++;
        }
    });
    RecomputeLinked(doc);
    return links;
}

}  // namespace pelmar::bench
