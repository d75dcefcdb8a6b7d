#include "platform/qt_canvas.h"

#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <cmath>

#include "platform/canvas_geometry.h"
#include "platform/qt_text.h"

namespace pelmar {

namespace {

QColor ToQColor(Rgb c) { return QColor(RgbRed(c), RgbGreen(c), RgbBlue(c)); }

QPointF ToQ(PointF p) { return {p.x, p.y}; }

QRectF ToQ(const RectF& r) { return QRectF(r.x, r.y, r.w, r.h).normalized(); }

QPolygonF ToQ(std::span<const PointF> pts) {
    QPolygonF poly;
    poly.reserve(static_cast<qsizetype>(pts.size()));
    for (const PointF& p : pts) poly << ToQ(p);
    return poly;
}

// A solid pen of the given width and colour.
QPen SolidQPen(const Pen& pen, Qt::PenCapStyle cap) {
    QPen q(ToQColor(pen.color));
    q.setWidthF(pen.width > 0 ? pen.width : 0.0);
    q.setCapStyle(cap);
    q.setJoinStyle(Qt::MiterJoin);
    q.setMiterLimit(10);
    return q;
}

bool Finite(std::span<const PointF> pts) {
    for (const PointF& p : pts)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    return true;
}

bool Finite(const RectF& r) {
    return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.w) && std::isfinite(r.h);
}

// Moves what a painter strokes by half a pixel on the device while it lives.
class HalfPixelShift {
public:
    HalfPixelShift(QPainter& painter, bool on) : painter_(painter), on_(on) {
        if (!on_) return;
        saved_ = painter_.transform();
        painter_.setTransform(saved_ * QTransform::fromTranslate(0.5, 0.5));
    }
    ~HalfPixelShift() {
        if (on_) painter_.setTransform(saved_);
    }
    HalfPixelShift(const HalfPixelShift&) = delete;
    HalfPixelShift& operator=(const HalfPixelShift&) = delete;

private:
    QPainter& painter_;
    bool on_;
    QTransform saved_;
};

}  // namespace

QtCanvas::QtCanvas(QImage& image, bool antialias)
    : image_(&image), painter_(own_), antialias_(antialias), textAntialias_(antialias) {
    const QImage::Format f = image_->format();
    if (f != QImage::Format_ARGB32_Premultiplied && f != QImage::Format_ARGB32 && f != QImage::Format_RGB32)
        *image_ = image_->convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (!image_->isNull()) painter_.begin(image_);
    if (active()) {
        painter_.setRenderHint(QPainter::Antialiasing, antialias_);
        painter_.setRenderHint(QPainter::TextAntialiasing, textAntialias_);
    }
}

QtCanvas::QtCanvas(QPainter& painter, bool antialias)
    : painter_(painter), external_(true), antialias_(antialias), textAntialias_(antialias) {
    if (!painter_.isActive()) {
        finished_ = true;
        return;
    }
    painter_.save();
    base_ = painter_.transform();
    painter_.setRenderHint(QPainter::Antialiasing, antialias_);
    painter_.setRenderHint(QPainter::TextAntialiasing, textAntialias_);
}

QtCanvas::~QtCanvas() { finish(); }

void QtCanvas::finish() {
    if (!active()) return;
    if (external_) painter_.restore();
    else painter_.end();
    finished_ = true;
}

void QtCanvas::setAntialias(bool on) {
    antialias_ = on;
    if (active()) painter_.setRenderHint(QPainter::Antialiasing, on);
}

void QtCanvas::setTextAntialias(bool on) {
    textAntialias_ = on;
    if (active()) painter_.setRenderHint(QPainter::TextAntialiasing, on);
}

void QtCanvas::setRotation(double degrees, PointF centre) {
    if (!active() || !std::isfinite(degrees) || !std::isfinite(centre.x) || !std::isfinite(centre.y)) return;
    QTransform t;
    t.translate(centre.x, centre.y);
    t.rotate(degrees);
    t.translate(-centre.x, -centre.y);
    painter_.setTransform(t * base_);
}

void QtCanvas::resetTransform() {
    if (active()) painter_.setTransform(base_);
}

void QtCanvas::setClipRect(const RectF& r) {
    if (!active() || !Finite(r)) return;
    // The clip is given in picture coordinates, whatever the rotation.
    const QTransform t = painter_.transform();
    painter_.setTransform(base_);
    painter_.setClipRect(ToQ(r), Qt::ReplaceClip);
    painter_.setTransform(t);
}

void QtCanvas::resetClip() {
    if (active()) painter_.setClipping(false);
}

// Without smoothing Qt already puts a thin line on one row of pixels.
bool QtCanvas::centred(const Pen& pen) const { return antialias_ && OddStrokeWidth(pen.width); }

void QtCanvas::stroke(const Pen& pen, std::span<const PointF> points, bool closed) {
    if (!active() || points.size() < 2 || !Finite(points) || !std::isfinite(pen.width)) return;
    const HalfPixelShift shift(painter_, centred(pen));
    painter_.setBrush(Qt::NoBrush);
    const bool dashed = UsableDashPattern(pen.dashes);
    if (!dashed) {
        painter_.setPen(SolidQPen(pen, pen.roundCaps ? Qt::RoundCap : Qt::FlatCap));
        if (closed)
            painter_.drawPolygon(ToQ(points));
        else
            painter_.drawPolyline(ToQ(points));
        return;
    }
    // The dashes are stroked with flat ends; a round cap goes only on the
    // start of the first dash and on the end of the last one when that dash
    // reaches the end of the line.
    const double unit = pen.width > 0 ? pen.width : 1.0;
    std::vector<double> pattern;
    for (double d : pen.dashes) pattern.push_back(d * unit);
    const auto dashes = SplitDashes(points, pattern, closed);
    QPainterPath path;
    for (const auto& dash : dashes) {
        if (dash.size() < 2) continue;
        path.moveTo(ToQ(dash.front()));
        for (std::size_t i = 1; i < dash.size(); ++i) path.lineTo(ToQ(dash[i]));
    }
    if (closed || !pen.roundCaps || pen.width <= 1 || dashes.empty()) {
        painter_.strokePath(path, SolidQPen(pen, Qt::FlatCap));
        return;
    }
    // The caps join the dashes' outline in one path filled at once, so that
    // smoothing leaves no seam where a cap meets its dash.
    QPainterPathStroker stroker;
    stroker.setWidth(pen.width);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::MiterJoin);
    stroker.setMiterLimit(10);
    QPainterPath outline = stroker.createStroke(path);
    PointF startDir, endDir;
    if (EndDirections(points, startDir, endDir)) {
        outline.addPolygon(ToQ(RoundCapPolygon(points.front(), startDir, pen.width)));
        outline.closeSubpath();
        if (dashes.back().back() == points.back()) {
            outline.addPolygon(ToQ(RoundCapPolygon(points.back(), endDir, pen.width)));
            outline.closeSubpath();
        }
    }
    outline.setFillRule(Qt::WindingFill);
    painter_.fillPath(outline, ToQColor(pen.color));
}

void QtCanvas::fillPoints(Rgb color, std::span<const PointF> points) {
    if (!active() || points.size() < 3 || !Finite(points)) return;
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ToQColor(color));
    painter_.drawPolygon(ToQ(points), Qt::OddEvenFill);
}

void QtCanvas::drawLine(const Pen& pen, PointF a, PointF b) {
    const PointF pts[2] = {a, b};
    stroke(pen, pts, false);
}

void QtCanvas::drawPolyline(const Pen& pen, std::span<const PointF> points) { stroke(pen, points, false); }

void QtCanvas::drawPolygon(const Pen& pen, std::span<const PointF> points) { stroke(pen, points, true); }

void QtCanvas::fillPolygon(Rgb color, std::span<const PointF> points) { fillPoints(color, points); }

void QtCanvas::drawEllipse(const Pen& pen, const RectF& box) {
    if (!active() || !Finite(box) || !std::isfinite(pen.width)) return;
    if (UsableDashPattern(pen.dashes)) {
        stroke(pen, EllipsePolygon(box), true);
        return;
    }
    const HalfPixelShift shift(painter_, centred(pen));
    painter_.setBrush(Qt::NoBrush);
    painter_.setPen(SolidQPen(pen, Qt::FlatCap));
    painter_.drawEllipse(ToQ(box));
}

void QtCanvas::fillEllipse(Rgb color, const RectF& box) {
    if (!active() || !Finite(box)) return;
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ToQColor(color));
    painter_.drawEllipse(ToQ(box));
}

void QtCanvas::drawArc(const Pen& pen, const RectF& box, double start, double sweep) {
    if (!active() || !Finite(box) || !std::isfinite(start) || !std::isfinite(sweep) || sweep == 0) return;
    if (UsableDashPattern(pen.dashes)) {
        stroke(pen, ArcPolyline(box, start, sweep), false);
        return;
    }
    // Qt counts angles counter-clockwise and by the ellipse's parameter.
    const ArcSpan arc = NormalizeArc(start, sweep);
    const double rx = std::abs(box.w) / 2;
    const double ry = std::abs(box.h) / 2;
    const double p0 = ParametricAngle(rx, ry, arc.start);
    const double p1 = arc.full ? p0 + arc.sweep : ParametricAngle(rx, ry, arc.start + arc.sweep);
    QPainterPath path;
    path.arcMoveTo(ToQ(box), -p0);
    path.arcTo(ToQ(box), -p0, -(p1 - p0));
    const HalfPixelShift shift(painter_, centred(pen));
    painter_.setBrush(Qt::NoBrush);
    painter_.strokePath(path, SolidQPen(pen, pen.roundCaps ? Qt::RoundCap : Qt::FlatCap));
}

void QtCanvas::fillPie(Rgb color, const RectF& box, double start, double sweep) {
    if (!active() || !Finite(box) || !std::isfinite(start) || !std::isfinite(sweep) || sweep == 0) return;
    const ArcSpan arc = NormalizeArc(start, sweep);
    if (arc.full) {
        fillEllipse(color, box);
        return;
    }
    const double rx = std::abs(box.w) / 2;
    const double ry = std::abs(box.h) / 2;
    const double p0 = ParametricAngle(rx, ry, arc.start);
    const double p1 = ParametricAngle(rx, ry, arc.start + arc.sweep);
    QPainterPath path;
    path.moveTo(ToQ(box.center()));
    path.arcTo(ToQ(box), -p0, -(p1 - p0));
    path.closeSubpath();
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ToQColor(color));
    painter_.drawPath(path);
}

void QtCanvas::fillRect(Rgb color, const RectF& r) {
    if (!active() || !Finite(r)) return;
    painter_.fillRect(ToQ(r), ToQColor(color));
}

void QtCanvas::drawText(const Font& font, Rgb color, const std::string& text, PointF at, TextFormat format) {
    if (!active() || text.empty() || !std::isfinite(at.x) || !std::isfinite(at.y)) return;
    const TextPlacement p = text_.place(font, text, at, format);
    QFont f = text_.qfont(font);
    if (!textAntialias_) f.setStyleStrategy(QFont::NoAntialias);
    painter_.setFont(f);
    painter_.setPen(ToQColor(color));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawText(QPointF(p.left, p.top + p.ascent), text_.shown(font, text));
}

SizeF QtCanvas::measureText(const Font& font, const std::string& text) { return text_.measure(font, text); }

}  // namespace pelmar
