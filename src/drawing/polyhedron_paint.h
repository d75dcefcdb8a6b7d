// Painters of the pyramids and prisms.  Pass 1 fills the faces that look to
// the viewer in one shaded colour each; pass 2 draws every face's edges and
// inner parts, the height line of a pyramid and the spheres, all lines before
// all points and labels.
#pragma once

#include "drawing/paint_target.h"
#include "model/geometry.h"
#include "model/records.h"

namespace pelmar {

// Pass 1, for "pel" with the fill on: each face in turn (the lateral faces,
// then the base or bases) is filled in the body's fill colours when its test
// point lies behind none of the body's other faces.  Pass 2: a flipped copy,
// the bases, the lateral faces, the height line (pyramids) and the spheres,
// with part 0 and then again with part 1.
// Pass 1 is handed FillOnly(rec) (drawing/fill_inputs.h): only the fill and
// the fields FillInputs lists for the kind.
void DrawPyramid3(const DPi3& rec, const DImProj& im, const PaintTarget& target, int pass);
void DrawPyramid4(const DPi4& rec, const DImProj& im, const PaintTarget& target, int pass);
void DrawPrism3(const DPr3& rec, const DImProj& im, const PaintTarget& target, int pass);
void DrawPrism4(const DPr4& rec, const DImProj& im, const PaintTarget& target, int pass);

// The test point of a face from its first three vertices: halfway between
// the middle of the side from vertex 1 to vertex 2 and vertex 3.
Vec3 FaceTestPoint(const DTri& face);
Vec3 FaceTestPoint(const DKv& face);

}  // namespace pelmar
