// The defining points of each kind: the points whose links tie an object to
// the objects it is built on.  The dependent recompute resolves their links,
// delete renumbers them, copy clears them.
#pragma once

#include <cstddef>

#include "model/records.h"

namespace pelmar {

template <class F>
void ForEachDefiningPoint(DPoint& p, F&& f) { f(p); }
template <class F>
void ForEachDefiningPoint(DLine& l, F&& f) {
    f(l.P1);
    f(l.P2);
}
template <class F>
void ForEachDefiningPoint(DCircle& c, F&& f) { f(c.Center); }
template <class F>
void ForEachDefiningPoint(DTri& t, F&& f) {
    for (auto& s : t.S) f(s.P1);
}
template <class F>
void ForEachDefiningPoint(DKv& k, F&& f) {
    for (auto& s : k.S) f(s.P1);
}
template <class F>
void ForEachDefiningPoint(DXOY& x, F&& f) { f(x.Center); }
template <class F>
void ForEachDefiningPoint(DSf& s, F&& f) { f(s.Center); }
template <class F>
void ForEachDefiningPoint(DZi& z, F&& f) { f(z.Base[1].Center); }
template <class F>
void ForEachDefiningPoint(DKo& k, F&& f) { f(k.Base.Center); }
template <class B, std::size_t N, class F>
void ForEachDefiningPoint(DPyramid<B, N>& p, F&& f) {
    for (auto& s : p.Base.S) f(s.P1);
    f(p.HeightLine.P2);  // the apex
}
template <class B, std::size_t N, class F>
void ForEachDefiningPoint(DPrism<B, N>& p, F&& f) {
    for (auto& base : p.Base)
        for (auto& s : base.S) f(s.P1);
}
template <class F>
void ForEachDefiningPoint(DXZ& x, F&& f) { f(x.Center); }

}  // namespace pelmar
