// A canvas that hands every call on to two others (neither is owned); the
// first one measures text.
#pragma once

#include "platform/canvas.h"

namespace pelmar {

class TeeCanvas final : public Canvas {
public:
    TeeCanvas(Canvas& first, Canvas& second) : a_(first), b_(second) {}

    PELMAR_CANVAS_OVERRIDES;
    RectF measureInk(const Font& font, const std::string& text) override;
    void drawLines(const Pen& pen, std::span<const LineF> lines) override;

private:
    Canvas& a_;
    Canvas& b_;
};

}  // namespace pelmar
