// Reaching a kind's store and working copy by its Kind, at compile time
// (KindT<K>) or from a run-time value (VisitKind), and walking the kinds in
// kind order (ForEachKind).  The operations of the editing core are written
// once over these instead of once per kind.
#pragma once

#include <cstddef>
#include <type_traits>

#include "model/records.h"

namespace pelmar {

template <Kind K>
using KindC = std::integral_constant<Kind, K>;

template <Kind K>
struct KindT;

#define PELMAR_KIND_TRAITS(K, R, S, W)                                 \
    template <>                                                        \
    struct KindT<Kind::K> {                                            \
        using Rec = R;                                                 \
        static auto& store(DSubProj& s) { return s.S; }                \
        static const auto& store(const DSubProj& s) { return s.S; }    \
        static Rec& work(WorkingCopies& w) { return w.W; }             \
        static const Rec& work(const WorkingCopies& w) { return w.W; } \
    };
PELMAR_KIND_TRAITS(po, DPoint, Po, CurPoint)
PELMAR_KIND_TRAITS(li, DLine, Li, CurLine)
PELMAR_KIND_TRAITS(ci, DCircle, Ci, CurCircle)
PELMAR_KIND_TRAITS(tr, DTri, Tr, CurTri)
PELMAR_KIND_TRAITS(kv, DKv, Kv, CurKv)
PELMAR_KIND_TRAITS(xy, DXOY, Xy, CurXOY)
PELMAR_KIND_TRAITS(sf, DSf, Sf, CurSf)
PELMAR_KIND_TRAITS(zi, DZi, Zi, CurZi)
PELMAR_KIND_TRAITS(ko, DKo, Ko, CurKo)
PELMAR_KIND_TRAITS(i3, DPi3, I3, CurPi3)
PELMAR_KIND_TRAITS(i4, DPi4, I4, CurPi4)
PELMAR_KIND_TRAITS(r3, DPr3, R3, CurPr3)
PELMAR_KIND_TRAITS(r4, DPr4, R4, CurPr4)
PELMAR_KIND_TRAITS(xz, DXZ, Xz, CurXZ)
#undef PELMAR_KIND_TRAITS

// The kind of a record type.
template <class R>
struct KindOfRec;
template <Kind K>
struct KindOfRecHelper {
    static constexpr Kind value = K;
};
template <> struct KindOfRec<DPoint> : KindOfRecHelper<Kind::po> {};
template <> struct KindOfRec<DLine> : KindOfRecHelper<Kind::li> {};
template <> struct KindOfRec<DCircle> : KindOfRecHelper<Kind::ci> {};
template <> struct KindOfRec<DTri> : KindOfRecHelper<Kind::tr> {};
template <> struct KindOfRec<DKv> : KindOfRecHelper<Kind::kv> {};
template <> struct KindOfRec<DXOY> : KindOfRecHelper<Kind::xy> {};
template <> struct KindOfRec<DSf> : KindOfRecHelper<Kind::sf> {};
template <> struct KindOfRec<DZi> : KindOfRecHelper<Kind::zi> {};
template <> struct KindOfRec<DKo> : KindOfRecHelper<Kind::ko> {};
template <> struct KindOfRec<DPi3> : KindOfRecHelper<Kind::i3> {};
template <> struct KindOfRec<DPi4> : KindOfRecHelper<Kind::i4> {};
template <> struct KindOfRec<DPr3> : KindOfRecHelper<Kind::r3> {};
template <> struct KindOfRec<DPr4> : KindOfRecHelper<Kind::r4> {};
template <> struct KindOfRec<DXZ> : KindOfRecHelper<Kind::xz> {};
template <class R>
inline constexpr Kind RecordKind = KindOfRec<R>::value;

// f(KindC<K>{}) for every kind in kind order.
template <class F>
void ForEachKind(F&& f) {
    f(KindC<Kind::po>{}); f(KindC<Kind::li>{}); f(KindC<Kind::ci>{}); f(KindC<Kind::tr>{});
    f(KindC<Kind::kv>{}); f(KindC<Kind::xy>{}); f(KindC<Kind::sf>{}); f(KindC<Kind::zi>{});
    f(KindC<Kind::ko>{}); f(KindC<Kind::i3>{}); f(KindC<Kind::i4>{}); f(KindC<Kind::r3>{});
    f(KindC<Kind::r4>{}); f(KindC<Kind::xz>{});
}

// f(KindC<k>{}) for a run-time kind; its result is returned.
template <class F>
decltype(auto) VisitKind(Kind k, F&& f) {
    switch (k) {
        case Kind::po: return f(KindC<Kind::po>{});
        case Kind::li: return f(KindC<Kind::li>{});
        case Kind::ci: return f(KindC<Kind::ci>{});
        case Kind::tr: return f(KindC<Kind::tr>{});
        case Kind::kv: return f(KindC<Kind::kv>{});
        case Kind::xy: return f(KindC<Kind::xy>{});
        case Kind::sf: return f(KindC<Kind::sf>{});
        case Kind::zi: return f(KindC<Kind::zi>{});
        case Kind::ko: return f(KindC<Kind::ko>{});
        case Kind::i3: return f(KindC<Kind::i3>{});
        case Kind::i4: return f(KindC<Kind::i4>{});
        case Kind::r3: return f(KindC<Kind::r3>{});
        case Kind::r4: return f(KindC<Kind::r4>{});
        case Kind::xz: break;
    }
    return f(KindC<Kind::xz>{});
}

inline constexpr std::size_t Slot(Kind k) { return static_cast<std::size_t>(k) - 1; }

// Kind of a kind number 1..14; nullopt-like: false when out of range.
inline bool KindFromNumber(int n, Kind& k) {
    if (n < 1 || n > KindCount) return false;
    k = static_cast<Kind>(n);
    return true;
}

}  // namespace pelmar
