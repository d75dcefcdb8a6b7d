// A new object enters the picture: moved onto it, and made smaller first
// when it is larger than the picture.
#pragma once

#include "model/records.h"

namespace pelmar {

// The room kept free along the picture's edges.
double FitMargin(const DImProj& im);

// Moves `rec` (a kind's default object) by whole picture pixels so that all
// it draws lies inside the picture with the margin; an object too large for
// that is first scaled about its middle (a coordinate system shortens its
// axes and keeps its scale).  What fits stays where it is; what cannot fit
// at all, even scaled (labels larger than a tiny picture), is centred.  A
// record moved or scaled is then what its document's file gives back.
template <class R>
void FitIntoPicture(R& rec, const DImProj& im);

}  // namespace pelmar
