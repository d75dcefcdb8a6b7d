#include "support/recording_canvas.h"

#include <cstdio>

namespace pelmar {

namespace {

std::string Points(std::span<const PointF> pts) {
    std::string s;
    for (const PointF& p : pts) s += " " + RecordingCanvas::Point(p);
    return s;
}

const char* AlignName(TextAlign a) {
    switch (a) {
        case TextAlign::Near: return "near";
        case TextAlign::Center: return "center";
        case TextAlign::Far: return "far";
    }
    return "?";
}

std::size_t CodePoints(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace

std::string RecordingCanvas::Num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v == 0 ? 0.0 : v);  // no "-0"
    return buf;
}

std::string RecordingCanvas::Color(Rgb c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", RgbRed(c), RgbGreen(c), RgbBlue(c));
    return buf;
}

std::string RecordingCanvas::Point(PointF p) { return "(" + Num(p.x) + "," + Num(p.y) + ")"; }

std::string RecordingCanvas::Rect(const RectF& r) {
    return "[" + Num(r.x) + "," + Num(r.y) + "," + Num(r.w) + "," + Num(r.h) + "]";
}

std::string RecordingCanvas::PenText(const Pen& pen) {
    std::string s = "pen(" + Num(pen.width) + "," + Color(pen.color);
    if (!pen.dashes.empty()) {
        s += ",dash";
        for (double d : pen.dashes) s += " " + Num(d);
    }
    if (pen.roundCaps) s += ",round";
    return s + ")";
}

std::string RecordingCanvas::FontText(const Font& font) {
    std::string s = "font(" + font.family + "," + Num(font.pixelSize);
    if (font.bold) s += ",bold";
    if (font.italic) s += ",italic";
    return s + ")";
}

std::string RecordingCanvas::text() const {
    std::string s;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i) s += '\n';
        s += lines_[i];
    }
    return s;
}

void RecordingCanvas::setAntialias(bool on) { add(std::string("setAntialias ") + (on ? "1" : "0")); }

void RecordingCanvas::setTextAntialias(bool on) { add(std::string("setTextAntialias ") + (on ? "1" : "0")); }

void RecordingCanvas::setRotation(double degrees, PointF centre) {
    add("setRotation " + Num(degrees) + " " + Point(centre));
}

void RecordingCanvas::resetTransform() { add("resetTransform"); }

void RecordingCanvas::setClipRect(const RectF& r) { add("setClipRect " + Rect(r)); }

void RecordingCanvas::resetClip() { add("resetClip"); }

void RecordingCanvas::drawLine(const Pen& pen, PointF a, PointF b) {
    add("drawLine " + PenText(pen) + " " + Point(a) + " " + Point(b));
}

void RecordingCanvas::drawPolyline(const Pen& pen, std::span<const PointF> points) {
    add("drawPolyline " + PenText(pen) + Points(points));
}

void RecordingCanvas::drawPolygon(const Pen& pen, std::span<const PointF> points) {
    add("drawPolygon " + PenText(pen) + Points(points));
}

void RecordingCanvas::fillPolygon(Rgb color, std::span<const PointF> points) {
    add("fillPolygon " + Color(color) + Points(points));
}

void RecordingCanvas::drawEllipse(const Pen& pen, const RectF& box) {
    add("drawEllipse " + PenText(pen) + " " + Rect(box));
}

void RecordingCanvas::fillEllipse(Rgb color, const RectF& box) { add("fillEllipse " + Color(color) + " " + Rect(box)); }

void RecordingCanvas::drawArc(const Pen& pen, const RectF& box, double start, double sweep) {
    add("drawArc " + PenText(pen) + " " + Rect(box) + " " + Num(start) + " " + Num(sweep));
}

void RecordingCanvas::fillPie(Rgb color, const RectF& box, double start, double sweep) {
    add("fillPie " + Color(color) + " " + Rect(box) + " " + Num(start) + " " + Num(sweep));
}

void RecordingCanvas::fillRect(Rgb color, const RectF& r) { add("fillRect " + Color(color) + " " + Rect(r)); }

void RecordingCanvas::drawText(const Font& font, Rgb color, const std::string& text, PointF at,
                               TextFormat format) {
    add("drawText " + FontText(font) + " " + Color(color) + " \"" + text + "\" " + Point(at) + " " +
        AlignName(format.horizontal) + "," + AlignName(format.vertical));
}

SizeF RecordingCanvas::measureText(const Font& font, const std::string& text) {
    add("measureText " + FontText(font) + " \"" + text + "\"");
    if (text.empty()) return {};
    return {0.6 * font.pixelSize * static_cast<double>(CodePoints(text)), 1.2 * font.pixelSize};
}

}  // namespace pelmar
