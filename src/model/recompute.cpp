// The dependent recompute pass and the clearing of formulas that must not
// drive linked points.
#include "model/recompute.h"

#include <algorithm>
#include <cstddef>
#include <tuple>
#include <type_traits>
#include <vector>

#include "model/coord_edits.h"
#include "model/defining_points.h"
#include "model/geometry.h"
#include "model/links.h"
#include "model/translate.h"
#include "model/update.h"

namespace pelmar {

namespace {

// Resolves every linked defining point in place.
template <class R>
void ResolveDefiningPoints(const DProj& doc, R& r) {
    ForEachDefiningPoint(r, [&doc](DPoint& p) {
        if (p.Link.linked()) ResolveLink(doc, p, p.Link);
    });
}

// The vector from a linked centre to its target; (0, 0, 0) when the link
// names nothing, so that the object stays where it is.
Vec3 LinkShift(const DProj& doc, const DPoint& centre) {
    DPoint target;
    SetPos(target, Pos(centre));
    ResolveLink(doc, target, centre.Link);
    return Pos(target) - Pos(centre);
}

void Recompute(DProj& doc, DPoint& p) { ResolveDefiningPoints(doc, p); UpdatePoint(p, 0); }
void Recompute(DProj& doc, DLine& l) { ResolveDefiningPoints(doc, l); UpdateLine(l, 0); }
void Recompute(DProj& doc, DTri& t) { ResolveDefiningPoints(doc, t); UpdateTriangle(t, 0, false); }
// The pass updates a tetragon, or a pyramid on one, without its type rules.
void UpdateInPass(DKv& k) { UpdateTetragon(k, 0, false); }
void UpdateInPass(DPi4& p) { UpdatePyramid4(p, 0); }
void Recompute(DProj& doc, DKv& k) { ResolveDefiningPoints(doc, k); UpdateInPass(k); }
// A system moved by what its centre is linked to traces its curves again
// where it stands; gives the system as it was.
template <class X>
X RecomputeSystem(DProj& doc, X& x) {
    X was = x;
    ResolveDefiningPoints(doc, x);
    UpdateAsRead(x);
    RetraceIfMoved(x, was);
    return was;
}
void Recompute(DProj& doc, DXOY& x) { RecomputeSystem(doc, x); }
void Recompute(DProj& doc, DPi3& p) { ResolveDefiningPoints(doc, p); UpdatePyramid3(p, 0); }
void Recompute(DProj& doc, DPi4& p) { ResolveDefiningPoints(doc, p); UpdateInPass(p); }
void Recompute(DProj& doc, DPr3& p) { ResolveDefiningPoints(doc, p); UpdatePrism3(p, 0); }
void Recompute(DProj& doc, DPr4& p) { ResolveDefiningPoints(doc, p); UpdatePrism4(p, 0); }
void Recompute(DProj& doc, DXZ& x) { RecomputeSystem(doc, x); }

// The round kinds move as a whole, and only when their centre is linked
// and stands elsewhere than the link puts it: one that stands there is left
// as it is, so that a pass after a pass changes nothing.
const DPoint& LinkedCentre(const DCircle& c) { return c.Center; }
const DPoint& LinkedCentre(const DSf& s) { return s.Center; }
const DPoint& LinkedCentre(const DZi& z) { return z.Base[1].Center; }
const DPoint& LinkedCentre(const DKo& k) { return k.Base.Center; }
// Whether the record moved.  Every part moves rigidly, then the one update
// of the whole rebuilds what it owns: the object is what reading its block
// moved by the vector gives.  (A translation's own updates part by part
// would all be done again, and would run a stand-alone object's rules on
// the parts.)
template <RoundKind R>
bool Recompute(DProj& doc, R& r) {
    const DPoint& centre = LinkedCentre(r);
    if (!centre.Link.linked()) return false;
    const Vec3 d = LinkShift(doc, centre);
    if ((d.x == 0 && d.y == 0 && d.z == 0) || !ShiftParts(r, d.x, d.y, d.z)) return false;
    UpdateAsRead(r);
    return true;
}

// One dependent object: its creation number, kind and index.
struct Dependent {
    std::int32_t number;
    int kind;
    std::size_t index;

    bool operator<(const Dependent& o) const {
        return std::tie(number, kind, index) < std::tie(o.number, o.kind, o.index);
    }
};

// The dependent objects of doc in the order they are recomputed.
std::vector<Dependent> DependentOrder(const DProj& doc) {
    std::vector<Dependent> out;
    int kind = 0;
    ForEachStore(doc.Obj, [&](const auto& store) {
        ++kind;
        for (std::size_t i = 1; i <= store.count(); ++i)
            if (store[i].Number >= 2) out.push_back({store[i].Number, kind, i});
    });
    std::sort(out.begin(), out.end());
    return out;
}

void ClearPointFormulas(DPoint& p) {
    for (auto& a : p.Anim) a.clear();
}

template <class R>
void ClearFormulas(R& r) {
    ForEachDefiningPoint(r, [](DPoint& p) {
        if (p.Link.linked()) ClearPointFormulas(p);
    });
}
template <class B, std::size_t N>
void ClearFormulas(DPyramid<B, N>& p) {
    ForEachDefiningPoint(p, [](DPoint& q) {
        if (q.Link.linked()) ClearPointFormulas(q);
    });
    if (p.HeightLine.P2.Link.linked()) p.Anim.clear();
}
template <class B, std::size_t N>
void ClearFormulas(DPrism<B, N>& p) {
    ForEachDefiningPoint(p, [](DPoint& q) {
        if (q.Link.linked()) ClearPointFormulas(q);
    });
    for (auto& a : p.Anim) a.clear();
}

}  // namespace

void RecomputeLinked(DProj& doc) {
    // The numbers present, not every number up to the largest: a stray huge
    // number costs nothing.
    for (const Dependent& d : DependentOrder(doc))
        WithObject(doc.Obj, static_cast<Kind>(d.kind), d.index, [&](auto& rec) { Recompute(doc, rec); });
}

std::vector<ObjectAt> DependentsInOrder(const DProj& doc) {
    std::vector<ObjectAt> out;
    for (const Dependent& d : DependentOrder(doc)) out.push_back({static_cast<Kind>(d.kind), d.index});
    return out;
}

namespace {

// Whether a linked point moved, and whether every coordinate could be rounded.
struct Resolved {
    bool moved = false, rounded = true;
};

// The linked defining points resolved, each coordinate put as `round` gives
// it (as resolved without one).
template <class R>
Resolved ResolveLinked(const DProj& doc, R& r, RealRounding round) {
    Resolved out;
    ForEachDefiningPoint(r, [&](DPoint& p) {
        if (!p.Link.linked()) return;
        const Vec3 was = Pos(p);
        ResolveLink(doc, p, p.Link);
        if (round)
            for (double* v : {&p.X.v, &p.Y.v, &p.Z.v})
                if (!round(*v, *v)) out.rounded = false;
        const Vec3 now = Pos(p);
        out.moved = out.moved || now.x != was.x || now.y != was.y || now.z != was.z;
    });
    return out;
}

}  // namespace

template <class R>
Settled SettleDependent(DProj& doc, R& rec, RealRounding round) {
    if constexpr (RoundKind<R>) {
        return Recompute(doc, rec) ? Settled::Moved : Settled::Same;
    } else if constexpr (std::is_same_v<R, DXOY> || std::is_same_v<R, DXZ>) {
        return RecomputeSystem(doc, rec) == rec ? Settled::Same : Settled::Moved;
    } else if constexpr (std::is_same_v<R, DKv> || std::is_same_v<R, DPi4>) {
        // Only an object whose points all stay is compared with what it was.
        if (ResolveLinked(doc, rec, nullptr).moved) {
            UpdateInPass(rec);
            return Settled::Moved;
        }
        const R was = rec;
        UpdateInPass(rec);
        return rec == was ? Settled::Same : Settled::Moved;
    } else {
        // Updated whether or not a point moved, as the pass does: the update
        // also sets what a link allows to edit.
        const Resolved r = ResolveLinked(doc, rec, round);
        UpdateAsRead(rec);
        return !r.rounded ? Settled::Moved : r.moved ? Settled::Changed : Settled::Same;
    }
}

template Settled SettleDependent(DProj&, DPoint&, RealRounding);
template Settled SettleDependent(DProj&, DLine&, RealRounding);
template Settled SettleDependent(DProj&, DCircle&, RealRounding);
template Settled SettleDependent(DProj&, DTri&, RealRounding);
template Settled SettleDependent(DProj&, DKv&, RealRounding);
template Settled SettleDependent(DProj&, DXOY&, RealRounding);
template Settled SettleDependent(DProj&, DSf&, RealRounding);
template Settled SettleDependent(DProj&, DZi&, RealRounding);
template Settled SettleDependent(DProj&, DKo&, RealRounding);
template Settled SettleDependent(DProj&, DPi3&, RealRounding);
template Settled SettleDependent(DProj&, DPi4&, RealRounding);
template Settled SettleDependent(DProj&, DPr3&, RealRounding);
template Settled SettleDependent(DProj&, DPr4&, RealRounding);
template Settled SettleDependent(DProj&, DXZ&, RealRounding);

void ClearLinkedFormulas(DProj& doc) {
    ForEachStore(doc.Obj, [](auto& store) {
        for (std::size_t i = 1; i <= store.count(); ++i)
            if (store[i].Number >= 2) ClearFormulas(store[i]);
    });
}

}  // namespace pelmar
