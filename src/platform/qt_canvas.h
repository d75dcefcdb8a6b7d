// The canvas of the program's own raster picture: a QPainter on a QImage.
#pragma once

#include <QImage>
#include <QPainter>

#include "platform/canvas.h"
#include "platform/qt_text.h"

namespace pelmar {

class QtCanvas final : public Canvas {
public:
    // Paints on `image` until finish() or destruction.  An image in a format
    // other than ARGB32 (premultiplied or not) or RGB32 is converted to
    // ARGB32 premultiplied first.  Text is anti-aliased like the shapes until
    // setTextAntialias says otherwise.  With smoothing on, strokes of an odd
    // width in whole pixels (hairlines included) are centred on pixel
    // centres, so that a one-pixel line on whole coordinates fills one row of
    // pixels instead of two at half strength.
    explicit QtCanvas(QImage& image, bool antialias = true);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    // Ends painting; later calls draw nothing.
    void finish();

    PELMAR_CANVAS_OVERRIDES;

private:
    bool active() const { return painter_.isActive(); }
    void stroke(const Pen& pen, std::span<const PointF> points, bool closed);
    void fillPoints(Rgb color, std::span<const PointF> points);
    bool centred(const Pen& pen) const;

    QImage& image_;
    QPainter painter_;
    bool antialias_;
    bool textAntialias_;
    TextMetrics text_;
};

}  // namespace pelmar
