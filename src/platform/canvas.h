// The vector drawing surface of the picture's pass 2 (lines, outlines, points
// and labels) and the types every implementation shares.
//
// Conventions, the same on every implementation:
// - Coordinates are picture pixels, x to the right, y downwards.
// - Colours are 0x00BBGGRR (red in the low byte), the layout of the
//   document's colours; everything is drawn opaque.
// - Angles of arcs and pies are degrees, measured clockwise from 3 o'clock on
//   the y-down picture; an arc starts at `start` and runs `sweep` degrees
//   (negative = counter-clockwise).  An angle names the point where the ray
//   from the centre at that angle meets the ellipse (not the ellipse's
//   parameter), so 45 degrees on a wide ellipse is on the diagonal ray.
//   A sweep beyond +-360 draws the whole ellipse.
// - A pen's dash pattern is given in pen widths (a hairline counts as one
//   pixel wide), alternating dash and gap.  Dashes have flat ends; a pen with
//   round caps rounds only the two ends of an open figure.  A pattern with an
//   odd number of entries or with an entry that is not positive is refused
//   and the line is drawn solid.
// - The rotation (setRotation) applies to everything drawn after it until
//   resetTransform; the clip rectangle is in picture coordinates and is not
//   rotated.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace pelmar {

using Rgb = std::uint32_t;  // 0x00BBGGRR

constexpr Rgb MakeRgb(int r, int g, int b) {
    return static_cast<Rgb>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RgbRed(Rgb c) { return static_cast<int>(c & 0xFF); }
constexpr int RgbGreen(Rgb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int RgbBlue(Rgb c) { return static_cast<int>((c >> 16) & 0xFF); }

struct PointF {
    double x = 0;
    double y = 0;
    friend bool operator==(const PointF&, const PointF&) = default;
};

// x, y of the top-left corner, then width and height (may be 0).
struct RectF {
    double x = 0;
    double y = 0;
    double w = 0;
    double h = 0;
    PointF center() const { return {x + w / 2, y + h / 2}; }
    friend bool operator==(const RectF&, const RectF&) = default;
};

// A straight line from a to b.
struct LineF {
    PointF a;
    PointF b;
    friend bool operator==(const LineF&, const LineF&) = default;
};

struct SizeF {
    double w = 0;
    double h = 0;
};

struct Pen {
    double width = 1;            // pixels; 0 draws a one-pixel hairline
    Rgb color = 0;
    std::vector<double> dashes;  // dash, gap, ... in pen widths; empty = solid
    bool roundCaps = true;       // round caps at the two ends of an open figure
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Font {
    std::string family;     // UTF-8
    double pixelSize = 12;  // em height in pixels
    bool bold = false;
    bool italic = false;
    friend bool operator==(const Font&, const Font&) = default;
};

enum class TextAlign : std::uint8_t { Near, Center, Far };

// Where the anchor point of drawText lies on the text's box: Near/Near puts
// the box's top-left corner on the point, Center/Center its centre.
struct TextFormat {
    TextAlign horizontal = TextAlign::Near;
    TextAlign vertical = TextAlign::Near;
    friend bool operator==(const TextFormat&, const TextFormat&) = default;
};

// What a canvas kept of a drawing so that drawing it again is only laying
// down the same pixels.  The caller holds it with the points it was drawn
// from and drops it when they change; the canvas checks the rest (pen, where
// the picture lies, smoothing) itself and draws anew when that changed.
class KeptDrawing {
public:
    virtual ~KeptDrawing() = default;
};
using KeptDrawingPtr = std::shared_ptr<KeptDrawing>;

class Canvas {
public:
    virtual ~Canvas() = default;

    // Smoothing of shapes, and separately of text.
    virtual void setAntialias(bool on) = 0;
    virtual void setTextAntialias(bool on) = 0;

    // Rotation by `degrees` (clockwise on the picture) about `centre`.
    virtual void setRotation(double degrees, PointF centre) = 0;
    virtual void resetTransform() = 0;

    // Replaces the clip; a rectangle of no area hides everything.
    virtual void setClipRect(const RectF& r) = 0;
    virtual void resetClip() = 0;

    virtual void drawLine(const Pen& pen, PointF a, PointF b) = 0;
    virtual void drawPolyline(const Pen& pen, std::span<const PointF> points) = 0;
    // The lines one after the other with one pen; the same pixels as drawing
    // them one at a time, which is what a surface without a faster way does.
    virtual void drawLines(const Pen& pen, std::span<const LineF> lines) {
        for (const LineF& l : lines) drawLine(pen, l.a, l.b);
    }
    // Whether drawKeptPolyline and drawKeptLines keep anything: callers that
    // keep points only for them need not when it does not.
    virtual bool keepsDrawings() const { return false; }
    // drawPolyline and drawLines for points the caller keeps unchanged with
    // `kept`: the same pixels, drawn from `kept` when the canvas filled it
    // before (the colour may differ), otherwise drawn and, where the canvas
    // can, kept there.  A canvas without a faster way draws plainly.
    virtual void drawKeptPolyline(const Pen& pen, std::span<const PointF> points, KeptDrawingPtr& kept) {
        (void)kept;
        drawPolyline(pen, points);
    }
    virtual void drawKeptLines(const Pen& pen, std::span<const LineF> lines, KeptDrawingPtr& kept) {
        (void)kept;
        drawLines(pen, lines);
    }
    virtual void drawPolygon(const Pen& pen, std::span<const PointF> points) = 0;  // closed outline
    virtual void fillPolygon(Rgb color, std::span<const PointF> points) = 0;      // alternate rule
    virtual void drawEllipse(const Pen& pen, const RectF& box) = 0;
    virtual void fillEllipse(Rgb color, const RectF& box) = 0;
    virtual void drawArc(const Pen& pen, const RectF& box, double start, double sweep) = 0;
    virtual void fillPie(Rgb color, const RectF& box, double start, double sweep) = 0;
    virtual void fillRect(Rgb color, const RectF& r) = 0;

    // One line of UTF-8 text; its box is measureText's size.
    virtual void drawText(const Font& font, Rgb color, const std::string& text, PointF at,
                          TextFormat format) = 0;
    // Width (advance) and line height of the text in pixels.
    virtual SizeF measureText(const Font& font, const std::string& text) = 0;
    // The box the text's ink covers, from the top-left corner of its box
    // (the box drawText places); a surface that cannot tell gives the whole
    // box.
    virtual RectF measureInk(const Font& font, const std::string& text) {
        const SizeF s = measureText(font, text);
        return {0, 0, s.w, s.h};
    }
};

// Declares every drawing call of Canvas as an override, for the classes that
// implement them all.
#define PELMAR_CANVAS_OVERRIDES                                                                  \
    void setAntialias(bool on) override;                                                         \
    void setTextAntialias(bool on) override;                                                     \
    void setRotation(double degrees, PointF centre) override;                                    \
    void resetTransform() override;                                                              \
    void setClipRect(const RectF& r) override;                                                   \
    void resetClip() override;                                                                   \
    void drawLine(const Pen& pen, PointF a, PointF b) override;                                  \
    void drawPolyline(const Pen& pen, std::span<const PointF> points) override;                  \
    void drawPolygon(const Pen& pen, std::span<const PointF> points) override;                   \
    void fillPolygon(Rgb color, std::span<const PointF> points) override;                        \
    void drawEllipse(const Pen& pen, const RectF& box) override;                                 \
    void fillEllipse(Rgb color, const RectF& box) override;                                      \
    void drawArc(const Pen& pen, const RectF& box, double start, double sweep) override;         \
    void fillPie(Rgb color, const RectF& box, double start, double sweep) override;              \
    void fillRect(Rgb color, const RectF& r) override;                                           \
    void drawText(const Font& font, Rgb color, const std::string& text, PointF at,               \
                  TextFormat format) override;                                                   \
    SizeF measureText(const Font& font, const std::string& text) override

}  // namespace pelmar
