// Painters of points and their labels.  A point is an empty mark, a disc or a
// ring, always with its label: a name with an optional upper and lower index,
// set at a distance and in a direction from the point.  The element drawer
// serves the point kind and every point inside other records.
#pragma once

#include <string>

#include "drawing/paint_target.h"
#include "model/records.h"

namespace pelmar {

// Painter of the point kind (pass 2 only): nothing for a disabled point;
// otherwise draws a flipped copy with DrawPointElement.
void DrawPoint(const DPoint& p, const DImProj& im, const PaintTarget& target);

// The mark and then the label of an already flipped point; nothing for a
// disabled point.
void DrawPointElement(const DPoint& p, const DImProj& im, const PaintTarget& target);

// The label of an already flipped point.
void DrawLabel(const DPoint& p, const DImProj& im, const PaintTarget& target);

// Pixel size of a label font on the own picture: 1.6 x size when the
// font-size unit is pixels, size in points at the resolution otherwise.
double LabelPixelSize(int size, const DImProj& im);

// Empty or spaces only.
bool IsBlank(const std::string& s);

}  // namespace pelmar
