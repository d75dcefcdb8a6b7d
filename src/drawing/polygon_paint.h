// Painters of triangles and tetragons.  A figure is drawn from its parts
// (circles, special lines or diagonals, the centre, the sides) by the element
// drawers of ellipses, segments and points; with its fill on, pass 1 fills
// it in one shaded colour or pixel by pixel.  The part drawers and fills also
// serve the triangular and quadrangular faces and sections of the solids.
#pragma once

#include "drawing/paint_target.h"
#include "model/records.h"

namespace pelmar {

class RasterSurface;

// Painters of the two kinds.  Pass 1: the fill, for "pel" with the fill on;
// pass 2: a flipped copy, the parts with part 0 and then part 1, so that
// every line of the figure lies under every point and label.
// Pass 1 is handed FillOnly(rec) (drawing/fill_inputs.h): only the fill and
// the fields FillInputs lists for the kind.
void DrawTriangle(const DTri& rec, const DImProj& im, const PaintTarget& target, int pass);
void DrawTetragon(const DKv& rec, const DImProj& im, const PaintTarget& target, int pass);

// Every shown part of an already flipped figure for one part number: the
// incircle, the circumcircle, the special lines 1..5 (triangle) or the two
// diagonals and, in part 1, the centre (tetragon), then the sides.
void DrawTriangleParts(const DTri& rec, int part, const DImProj& im, const PaintTarget& target);
void DrawTetragonParts(const DKv& rec, int part, const DImProj& im, const PaintTarget& target);

// The fills of figures as stored (they flip their own copies), shaded with
// the plane through vertices 1, 2 and 3.
void FillTriangleOnCanvas(const DTri& rec, const DImProj& im, RasterSurface& surface);
void FillTetragonOnCanvas(const DKv& rec, const DImProj& im, RasterSurface& surface);

}  // namespace pelmar
