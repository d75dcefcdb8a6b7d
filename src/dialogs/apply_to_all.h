// The apply-to-all walks: chosen style fields of a template copied into every
// point (segment) of the document and of the working copies, nested parts
// included.  Shared points (the end 2 of a side, which is the next vertex; the
// end 1 of a radius, which is the centre) are visited once, through one part.
#pragma once

#include <functional>

#include "model/records.h"

namespace pelmar {

struct PointCategories {
    bool type = true;         // type, radius, thickness
    bool nameFont = true;     // name font, bold, italic, size
    bool indexFont = true;    // index font, bold, italic, size
    bool labelRadius = true;  // label offset radius
};

struct LineCategories {
    bool thickness = true;
    bool dashes = true;  // dash and gap lengths
    bool arrows = true;  // arrow lengths and angles, not whether there are arrows
};

struct EllipseCategories {
    bool thickness = true;
    bool dashes = true;  // dash and gap lengths
};

// Every kind is walked, the parts nested in solids included; returns how many
// points were visited.  The objects of the document that were written are
// recomputed as a reopened file recomputes them, so a part keeps no value its
// object sets (an axis's or a side's thickness is its object's).
// Nothing is written where no object of the document would change as its
// file holds it; otherwise `before` runs first (the undo step taken).
int ApplyToAllPoints(DSubProj& doc, WorkingCopies& work, const DPoint& tmpl, const PointCategories& cats,
                     const std::function<void()>& before = {});
int ApplyToAllLines(DSubProj& doc, WorkingCopies& work, const DLine& tmpl, const LineCategories& cats,
                    const std::function<void()>& before = {});
// Ellipses and the circles of every figure and solid (not the coordinate systems).
int ApplyToAllEllipses(DSubProj& doc, WorkingCopies& work, const DCircle& tmpl, const EllipseCategories& cats,
                       const std::function<void()>& before = {});

}  // namespace pelmar
