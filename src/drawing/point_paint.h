// Painters of points and their labels.  A point is an empty mark, a disc or a
// ring, always with its label: a name with an optional upper and lower index,
// set at a distance and in a direction from the point.  The element drawer
// serves the point kind and every point inside other records.
#pragma once

#include <string>

#include "drawing/paint_target.h"
#include "model/records.h"
#include "platform/canvas.h"

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

// The size of a text of the exports in the picture's font `f`: for the
// drawing program in tenths of a point, for the word processor in points.
int CdrTextSize(const Font& f, const DImProj& im);
double WordTextSize(const Font& f, const DImProj& im);

// The top of a word processor's text box (without margins) whose first
// baseline lies at `baseline`, for a text in the font `f` (picture pixels).
double WordBoxTop(const Font& f, double baseline);

// Empty or spaces only.
bool IsBlank(const std::string& s);

}  // namespace pelmar
