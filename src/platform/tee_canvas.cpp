#include "platform/tee_canvas.h"

namespace pelmar {

void TeeCanvas::setAntialias(bool on) {
    a_.setAntialias(on);
    b_.setAntialias(on);
}

void TeeCanvas::setTextAntialias(bool on) {
    a_.setTextAntialias(on);
    b_.setTextAntialias(on);
}

void TeeCanvas::setRotation(double degrees, PointF centre) {
    a_.setRotation(degrees, centre);
    b_.setRotation(degrees, centre);
}

void TeeCanvas::resetTransform() {
    a_.resetTransform();
    b_.resetTransform();
}

void TeeCanvas::setClipRect(const RectF& r) {
    a_.setClipRect(r);
    b_.setClipRect(r);
}

void TeeCanvas::resetClip() {
    a_.resetClip();
    b_.resetClip();
}

void TeeCanvas::drawLine(const Pen& pen, PointF a, PointF b) {
    a_.drawLine(pen, a, b);
    b_.drawLine(pen, a, b);
}

void TeeCanvas::drawPolyline(const Pen& pen, std::span<const PointF> points) {
    a_.drawPolyline(pen, points);
    b_.drawPolyline(pen, points);
}

void TeeCanvas::drawLines(const Pen& pen, std::span<const LineF> lines) {
    a_.drawLines(pen, lines);
    b_.drawLines(pen, lines);
}

void TeeCanvas::drawPolygon(const Pen& pen, std::span<const PointF> points) {
    a_.drawPolygon(pen, points);
    b_.drawPolygon(pen, points);
}

void TeeCanvas::fillPolygon(Rgb color, std::span<const PointF> points) {
    a_.fillPolygon(color, points);
    b_.fillPolygon(color, points);
}

void TeeCanvas::drawEllipse(const Pen& pen, const RectF& box) {
    a_.drawEllipse(pen, box);
    b_.drawEllipse(pen, box);
}

void TeeCanvas::fillEllipse(Rgb color, const RectF& box) {
    a_.fillEllipse(color, box);
    b_.fillEllipse(color, box);
}

void TeeCanvas::drawArc(const Pen& pen, const RectF& box, double start, double sweep) {
    a_.drawArc(pen, box, start, sweep);
    b_.drawArc(pen, box, start, sweep);
}

void TeeCanvas::fillPie(Rgb color, const RectF& box, double start, double sweep) {
    a_.fillPie(color, box, start, sweep);
    b_.fillPie(color, box, start, sweep);
}

void TeeCanvas::fillRect(Rgb color, const RectF& r) {
    a_.fillRect(color, r);
    b_.fillRect(color, r);
}

void TeeCanvas::drawText(const Font& font, Rgb color, const std::string& text, PointF at, TextFormat format) {
    a_.drawText(font, color, text, at, format);
    b_.drawText(font, color, text, at, format);
}

SizeF TeeCanvas::measureText(const Font& font, const std::string& text) { return a_.measureText(font, text); }

RectF TeeCanvas::measureInk(const Font& font, const std::string& text) { return a_.measureInk(font, text); }

}  // namespace pelmar
