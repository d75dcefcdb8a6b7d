#include "dialogs/brush_kind.h"

#include <string_view>

namespace pelmar {

DFill* BrushFill(WorkingCopies& work, std::uint8_t brushKind) {
    switch (static_cast<BrushKind>(brushKind)) {
        case BrushKind::ellipse: return &work.CurCircle.Fill;
        case BrushKind::triangle: return &work.CurTri.Fill;
        case BrushKind::tetragon: return &work.CurKv.Fill;
        case BrushKind::sphere: return &work.CurSf.Fill;
        case BrushKind::cylinder: return &work.CurZi.Fill;
        case BrushKind::cone: return &work.CurKo.Fill;
        case BrushKind::pyramid3: return &work.CurPi3.Fill;
        case BrushKind::pyramid4: return &work.CurPi4.Fill;
        case BrushKind::prism3: return &work.CurPr3.Fill;
        case BrushKind::prism4: return &work.CurPr4.Fill;
    }
    return nullptr;
}

BrushKind PyramidBrushKind(const char* kindCode) {
    return std::string_view(kindCode) == "i4" ? BrushKind::pyramid4 : BrushKind::pyramid3;
}

BrushKind PrismBrushKind(const char* kindCode) {
    return std::string_view(kindCode) == "r4" ? BrushKind::prism4 : BrushKind::prism3;
}

}  // namespace pelmar
