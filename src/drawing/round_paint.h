// Painters of the cylinder and the cone.  Pass 2 draws the bases, the
// sections, the spheres and the axis; pass 1 shades the lateral surface pixel
// by pixel and fills the flat face that faces the viewer in one shaded
// colour.
#pragma once

#include "drawing/paint_target.h"
#include "model/records.h"

namespace pelmar {

class RasterSurface;

// Painters of the two kinds.  Pass 1, for "pel" with the fill on: the
// lateral surface, then the visible base.  Pass 2: a flipped copy, every part
// with part 0 and then again with part 1.
// Pass 1 is handed FillOnly(rec) (drawing/fill_inputs.h): only the fill and
// the fields FillInputs lists for the kind.
void DrawCylinder(const DZi& rec, const DImProj& im, const PaintTarget& target, int pass);
void DrawCone(const DKo& rec, const DImProj& im, const PaintTarget& target, int pass);

// The gradients of the lateral surfaces as stored (they flip their own
// copies): every pixel where the viewing ray meets the lateral surface inside
// the body's outline, and not inside the base that faces the viewer, takes
// the colour of the surface point seen there.
void ShadeCylinder(const DZi& rec, const DImProj& im, RasterSurface& surface);
void ShadeCone(const DKo& rec, const DImProj& im, RasterSurface& surface);

}  // namespace pelmar
