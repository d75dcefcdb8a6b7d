// Pieces the coordinate-system dialogs share: the glyphs of their buttons
// (a feature set or not, a graph's colour swatch, an outline built or not).
// Each button also carries the state as a property ("set", "built") that
// tests read.
#pragma once

#include "model/records.h"

class QPushButton;

namespace pelmar {

// A 16 x 16 glyph: a filled mark when the feature is set (a formula present),
// an empty one when not; grey when `colour` is off (the button's graph off).
void SetFeatureGlyph(QPushButton* b, bool set, bool colour);
// An 11 x 21 rectangle in the graph's colour with a black pen.
void SetSwatchGlyph(QPushButton* b, TColor color);

}  // namespace pelmar
