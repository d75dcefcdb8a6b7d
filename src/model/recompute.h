// Keeping dependent objects in step: after every change of the document the
// objects built on other objects (creation number 2 and up) are resolved and
// recomputed in ascending creation number, so that an object is computed after
// every object it is built on.
#pragma once

#include <cstddef>
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
// type rules), ellipses, spheres, cylinders and cones by translating the whole
// object onto their linked centre.  Only the numbers actually present are
// walked: number, then kind order, then index order.  Gives the objects whose
// records the pass changed, in the order it recomputed them.
std::vector<ObjectAt> RecomputeLinked(DProj& doc);

// Empties the animation formulas that must not drive linked points: those of
// every linked defining point of a dependent object, the own formula of a
// pyramid whose apex is linked, and the three own formulas of every dependent
// prism.
void ClearLinkedFormulas(DProj& doc);

}  // namespace pelmar
