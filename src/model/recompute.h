// Keeping dependent objects in step: after every change of the document the
// objects built on other objects (creation number 2 and up) are resolved and
// recomputed in ascending creation number, so that an object is computed after
// every object it is built on.
#pragma once

#include <cstddef>
#include <type_traits>
#include <vector>

#include "model/records.h"

namespace pelmar {

// One object of a document: its kind and its index in the kind's store.
struct ObjectAt {
    Kind kind;
    std::size_t index;

    bool operator==(const ObjectAt&) const = default;
};

// Resolves the linked defining points of every dependent object of doc and
// recomputes the object: points, segments, triangles, tetragons, coordinate
// systems, pyramids and prisms by their update procedures (role 0, without the
// type rules), ellipses, spheres, cylinders and cones by moving every part
// onto their linked centre and updating the whole once.  Only the numbers
// actually present are walked: number, then kind order, then index order.
void RecomputeLinked(DProj& doc);

// The dependent objects of doc in the order the pass recomputes them.
std::vector<ObjectAt> DependentsInOrder(const DProj& doc);

// A value put as a file reads it back; false when no file line could hold it.
using RealRounding = bool (*)(double v, double& out);

// One dependent object of the pass as a stored document keeps it, each
// coordinate it takes from a link put as `round` gives it:
//  - a point, segment, triangle, triangular pyramid or prism has its linked
//    defining points resolved and is updated as read (Settled::Same when no
//    point moved);
//  - an ellipse, sphere, cylinder or cone moves onto its linked centre as in
//    the pass, and is left for the caller to put as read (Settled::Moved);
//  - a tetragon, a pyramid on a tetragon (whose base a reader holds to its
//    type) or a coordinate system is recomputed as in the pass.
// Settled::Changed: the object changed, and every value it holds came from
// values as read through the update a reader runs; Settled::Moved: it
// changed otherwise (a round kind moved, a tetragon or a system recomputed,
// or a coordinate refused by `round`).
enum class Settled { Same, Changed, Moved };
// The kinds that follow a link as a whole, by their centre.
template <class R>
concept RoundKind = std::is_same_v<R, DCircle> || std::is_same_v<R, DSf> || std::is_same_v<R, DZi> ||
                    std::is_same_v<R, DKo>;
template <class R>
Settled SettleDependent(DProj& doc, R& rec, RealRounding round);

// Empties the animation formulas that must not drive linked points: those of
// every linked defining point of a dependent object, the own formula of a
// pyramid whose apex is linked, and the three own formulas of every dependent
// prism.
void ClearLinkedFormulas(DProj& doc);

}  // namespace pelmar
