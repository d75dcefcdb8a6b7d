// Painters of the 2D and 3D coordinate systems: axes, division ticks, grid,
// numbers, the graphs or surfaces (through the graph dispatcher) and the
// centre point.  Pass 1 (fills) draws only the graphs that are traced and
// cached or shaded there; pass 2 is the own picture's drawing and pass 3 the
// exports'.
#pragma once

#include "drawing/paint_target.h"
#include "model/records.h"

namespace pelmar {

// index: the 1-based number of the system among its kind; view: 'm' the
// drawing window (computed curves are stored back), 't' a preview.
void DrawXOY(const DXOY& rec, bool full, int index, const DImProj& im, char view, const PaintTarget& target,
             int pass);
void DrawXYZ(const DXZ& rec, bool full, int index, const DImProj& im, char view, const PaintTarget& target,
             int pass);

}  // namespace pelmar
