// A vector picture kept in memory: a canvas that stores every call and plays
// the calls back onto another canvas, enlarged and shifted, as a metafile is
// stretched into a rectangle.  Text is measured with Qt's fonts.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/qt_text.h"

namespace pelmar {

class PictureRecording final : public Canvas {
public:
    PictureRecording();
    ~PictureRecording() override;
    PictureRecording(const PictureRecording&) = delete;
    PictureRecording& operator=(const PictureRecording&) = delete;

    std::size_t size() const { return ops_.size(); }

    // Plays the picture onto `out`: a picture point (x, y) lands at
    // (x * scale + dx, y * scale + dy); pen widths and font sizes grow with
    // the scale.  With `keepSmoothing` false the recorded smoothing switches
    // are not passed on, so `out` keeps its own.  With `centreOddStrokes`,
    // strokes of an odd width in whole picture pixels are moved by half a
    // picture pixel, onto the centres of the picture's pixels, as the own
    // smoothed picture places them.
    void replay(Canvas& out, double scale, double dx, double dy, bool keepSmoothing = true,
                bool centreOddStrokes = false) const;

    PELMAR_CANVAS_OVERRIDES;
    RectF measureInk(const Font& font, const std::string& text) override;

private:
    enum class Op : unsigned char {
        Antialias, TextAntialias, Rotation, ResetTransform, Clip, ResetClip,
        Line, Polyline, Polygon, FillPolygon, Ellipse, FillEllipse, Arc, FillPie, FillRect, Text
    };
    struct Call {
        Op op = Op::Line;
        bool flag = false;
        Pen pen;
        Rgb color = 0;
        double a = 0, b = 0;      // angles, or the rotation's degrees
        RectF rect;               // box, clip, or the rotation's centre in x, y
        std::size_t first = 0;    // first point in points_
        std::size_t count = 0;
        Font font;
        std::string text;
        TextFormat format;
    };
    void add(Call c) { ops_.push_back(std::move(c)); }
    void addPoints(Call c, std::span<const PointF> points);
    void stroke(Op op, const Pen& pen, std::span<const PointF> points);
    void shape(Op op, const Pen& pen, Rgb color, const RectF& box, double a, double b);

    std::vector<Call> ops_;
    std::vector<PointF> points_;
    TextMetrics text_;
};

}  // namespace pelmar
