// A new object tied to existing ones: the link dialog's answer for the
// object just created by a tool button.  Its defining points take the links
// in order and move onto the points they name; the object gets the next
// creation number, so that it is recomputed after the objects it is built on.
#pragma once

#include <vector>

#include "model/records.h"

namespace pelmar {

struct EditingState;

// The dialog's answers: 1 create with links, 2 create independent.
inline constexpr int NewGrLinked = 1;
inline constexpr int NewGrIndependent = 2;

// The number of links a kind takes (its defining points).
int NewObjectLinkCount(Kind k);

// Applies `links` (one per defining point, in the kind's order; an unlinked
// entry leaves its point free) to the last object of kind k in the document
// and to the kind's working copy, then updates both, fills the dialog and
// redraws.  Ellipses and spheres carry their outline along with the centre;
// cylinders and cones move whole onto the point linked to their base centre.
void ApplyNewObjectLinks(EditingState& st, Kind k, const std::vector<DLink>& links);

}  // namespace pelmar
