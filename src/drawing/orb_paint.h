// Painters of the sphere: its section circles, contour and centre in pass 2,
// and in pass 1 the gradient of a filled sphere, pixel by pixel.  The outline
// drawer also draws the inscribed and circumscribed spheres of the other
// solids.
#pragma once

#include "drawing/paint_target.h"
#include "model/records.h"

namespace pelmar {

class RasterSurface;

// Painter of the sphere kind.  Pass 1: the gradient, for "pel" with the fill
// on; pass 2: a flipped copy, DrawOrbOutline with part 0 and then part 1.
// Pass 1 is handed FillOnly(rec) (drawing/fill_inputs.h): only the fill and
// the fields FillInputs lists for the kind.
void DrawOrb(const DSf& rec, const DImProj& im, const PaintTarget& target, int pass);

// The gradient of a sphere as stored (it flips its own copy): every pixel of
// the contour ellipse takes the colour of the surface point seen there.
void ShadeOrb(const DSf& rec, const DImProj& im, RasterSurface& surface);

// The switched-on sections, then the contour when on, and with part 1 the
// centre, of an already flipped sphere.
void DrawOrbOutline(const DSf& rec, int part, const DImProj& im, const PaintTarget& target);

}  // namespace pelmar
