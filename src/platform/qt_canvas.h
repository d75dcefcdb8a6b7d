// The canvas of the program's own raster picture: a QPainter on a QImage; or
// a canvas over a painter already at work on another device (a printer's
// page), drawing the picture as vectors in the painter's coordinates.
#pragma once

#include <QImage>
#include <QPainter>

#include "platform/canvas.h"
#include "platform/qt_text.h"

namespace pelmar {

class ShapeKey;
struct CoverageRun;

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
    // Draws with `painter`, which must be active, in its coordinates as they
    // are now (picture pixels mapped as the caller set them); the painter's
    // state is put back by finish().
    QtCanvas(QPainter& painter, bool antialias);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    // Ends painting; later calls draw nothing.
    void finish();

    PELMAR_CANVAS_OVERRIDES;
    RectF measureInk(const Font& font, const std::string& text) override;
    void drawLines(const Pen& pen, std::span<const LineF> lines) override;
    // On the own picture, under no rotation, clip, opacity or other mode of
    // composition, a solid stroke is kept as the pixels it covers and how
    // much; drawing it again blends the colour into them as the stroke did.
    // Short strokes, outlines of ellipses and arcs and fills drawn by the
    // plain calls are kept the same way, each under everything its pixels
    // depend on but the colour, from their second drawing on; those not
    // drawn on the last two pictures are dropped.
    bool keepsDrawings() const override;
    void drawKeptPolyline(const Pen& pen, std::span<const PointF> points, KeptDrawingPtr& kept) override;
    void drawKeptLines(const Pen& pen, std::span<const LineF> lines, KeptDrawingPtr& kept) override;

    // Off: the kept drawings are not used and everything is drawn plainly
    // (on this thread), to compare the two.
    static void setKeeping(bool on);

private:
    bool active() const { return !finished_ && painter_.isActive(); }
    void stroke(const Pen& pen, std::span<const PointF> points, bool closed);
    void strokeOn(QPainter& painter, const Pen& pen, std::span<const PointF> points, bool closed);
    void arcOn(QPainter& painter, const Pen& pen, const RectF& box, double start, double sweep);
    bool strokeFarArc(QPainter& painter, const Pen& pen, const RectF& box, double start, double sweep);
    void fillPoints(Rgb color, std::span<const PointF> points);
    bool centred(const Pen& pen) const;
    bool fillKeptOutline(QPainter& painter, const Pen& pen, std::span<const PointF> points);
    bool keepsShape(const Pen& pen, bool onePiece, bool closed) const;
    bool keepsFills() const;
    template <class Draw>
    bool drawKept(ShapeKey& key, Rgb colour, const QRectF& box, Draw&& draw);
    void strokeSolid(QPainter& painter, const Pen& pen, std::span<const PointF> points);
    void captureStroke(const Pen& pen, std::span<const PointF> points, const QTransform& device,
                       std::vector<CoverageRun>& out);
    bool drawMoved(const Pen& pen, std::span<const PointF> points, const QTransform& device);
    void drawLinesOn(QPainter& painter, const Pen& pen, std::span<const QLineF> lines);
    bool keepable(const Pen& pen, QTransform& device) const;

    QImage* image_ = nullptr;
    QPainter own_;
    QPainter& painter_;    // own_, or the caller's
    bool external_ = false;
    bool finished_ = false;
    QTransform base_;      // the picture's coordinates on the device
    bool antialias_;
    bool textAntialias_;
    TextMetrics text_;
};

}  // namespace pelmar
