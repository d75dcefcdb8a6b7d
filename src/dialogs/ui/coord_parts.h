// Pieces the coordinate-system dialogs share: the swatch glyph of a graph's
// or a surface's colour button.
#pragma once

#include "model/records.h"

class QPushButton;

namespace pelmar {

// An 11 x 21 rectangle in the graph's colour with a black pen.
void SetSwatchGlyph(QPushButton* b, TColor color);

}  // namespace pelmar
