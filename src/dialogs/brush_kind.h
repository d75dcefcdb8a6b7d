// BrushKind: which working copy the fill sub-dialog edits, set by the fill
// button of the opening object dialog.
#pragma once

#include <cstdint>

#include "model/records.h"

namespace pelmar {

enum class BrushKind : std::uint8_t {
    ellipse = 1,
    triangle,
    tetragon,
    sphere,
    cylinder,
    cone,
    pyramid3,
    pyramid4,
    prism3,
    prism4,
};

// The fill block of the working copy a BrushKind number (1..10) names;
// nullptr for any other number.
DFill* BrushFill(WorkingCopies& work, std::uint8_t brushKind);

// The BrushKind of the pyramid and prism dialogs, which serve two kinds each:
// by the kind code of the current object-list entry.
BrushKind PyramidBrushKind(const char* kindCode);
BrushKind PrismBrushKind(const char* kindCode);

}  // namespace pelmar
