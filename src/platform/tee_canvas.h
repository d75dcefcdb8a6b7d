// A canvas that hands every call on to two others (neither is owned); the
// first one measures text.
#pragma once

#include "platform/canvas.h"

namespace pelmar {

class TeeCanvas final : public Canvas {
public:
    TeeCanvas(Canvas& first, Canvas& second) : a_(first), b_(second) {}

    void setAntialias(bool on) override;
    void setTextAntialias(bool on) override;
    void setRotation(double degrees, PointF centre) override;
    void resetTransform() override;
    void setClipRect(const RectF& r) override;
    void resetClip() override;

    void drawLine(const Pen& pen, PointF a, PointF b) override;
    void drawPolyline(const Pen& pen, std::span<const PointF> points) override;
    void drawPolygon(const Pen& pen, std::span<const PointF> points) override;
    void fillPolygon(Rgb color, std::span<const PointF> points) override;
    void drawEllipse(const Pen& pen, const RectF& box) override;
    void fillEllipse(Rgb color, const RectF& box) override;
    void drawArc(const Pen& pen, const RectF& box, double start, double sweep) override;
    void fillPie(Rgb color, const RectF& box, double start, double sweep) override;
    void fillRect(Rgb color, const RectF& r) override;
    void drawText(const Font& font, Rgb color, const std::string& text, PointF at,
                  TextFormat format) override;
    SizeF measureText(const Font& font, const std::string& text) override;

private:
    Canvas& a_;
    Canvas& b_;
};

}  // namespace pelmar
