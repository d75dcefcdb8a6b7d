#include "files/picture_recording.h"

#include "platform/canvas_geometry.h"

namespace pelmar {

PictureRecording::PictureRecording() = default;
PictureRecording::~PictureRecording() = default;

void PictureRecording::addPoints(Call c, std::span<const PointF> points) {
    c.first = points_.size();
    c.count = points.size();
    points_.insert(points_.end(), points.begin(), points.end());
    add(std::move(c));
}

void PictureRecording::setAntialias(bool on) {
    Call c;
    c.op = Op::Antialias;
    c.flag = on;
    add(std::move(c));
}
void PictureRecording::setTextAntialias(bool on) {
    Call c;
    c.op = Op::TextAntialias;
    c.flag = on;
    add(std::move(c));
}
void PictureRecording::setRotation(double degrees, PointF centre) {
    Call c;
    c.op = Op::Rotation;
    c.a = degrees;
    c.rect = {centre.x, centre.y, 0, 0};
    add(std::move(c));
}
void PictureRecording::resetTransform() {
    Call c;
    c.op = Op::ResetTransform;
    add(std::move(c));
}
void PictureRecording::setClipRect(const RectF& r) {
    Call c;
    c.op = Op::Clip;
    c.rect = r;
    add(std::move(c));
}
void PictureRecording::resetClip() {
    Call c;
    c.op = Op::ResetClip;
    add(std::move(c));
}

void PictureRecording::stroke(Op op, const Pen& pen, std::span<const PointF> points) {
    Call c;
    c.op = op;
    c.pen = pen;
    addPoints(std::move(c), points);
}
void PictureRecording::drawLine(const Pen& pen, PointF a, PointF b) {
    const PointF pts[2] = {a, b};
    stroke(Op::Line, pen, pts);
}
void PictureRecording::drawPolyline(const Pen& pen, std::span<const PointF> points) { stroke(Op::Polyline, pen, points); }
void PictureRecording::drawPolygon(const Pen& pen, std::span<const PointF> points) { stroke(Op::Polygon, pen, points); }
void PictureRecording::fillPolygon(Rgb color, std::span<const PointF> points) {
    Call c;
    c.op = Op::FillPolygon;
    c.color = color;
    addPoints(std::move(c), points);
}

void PictureRecording::shape(Op op, const Pen& pen, Rgb color, const RectF& box, double a, double b) {
    Call c;
    c.op = op;
    c.pen = pen;
    c.color = color;
    c.rect = box;
    c.a = a;
    c.b = b;
    add(std::move(c));
}
void PictureRecording::drawEllipse(const Pen& pen, const RectF& box) { shape(Op::Ellipse, pen, 0, box, 0, 0); }
void PictureRecording::fillEllipse(Rgb color, const RectF& box) { shape(Op::FillEllipse, {}, color, box, 0, 0); }
void PictureRecording::drawArc(const Pen& pen, const RectF& box, double start, double sweep) {
    shape(Op::Arc, pen, 0, box, start, sweep);
}
void PictureRecording::fillPie(Rgb color, const RectF& box, double start, double sweep) {
    shape(Op::FillPie, {}, color, box, start, sweep);
}
void PictureRecording::fillRect(Rgb color, const RectF& r) { shape(Op::FillRect, {}, color, r, 0, 0); }
void PictureRecording::drawText(const Font& font, Rgb color, const std::string& text, PointF at, TextFormat format) {
    Call c;
    c.op = Op::Text;
    c.color = color;
    c.rect = {at.x, at.y, 0, 0};
    c.font = font;
    c.text = text;
    c.format = format;
    add(std::move(c));
}
SizeF PictureRecording::measureText(const Font& font, const std::string& text) { return text_.measure(font, text); }

RectF PictureRecording::measureInk(const Font& font, const std::string& text) { return text_.ink(font, text); }

void PictureRecording::replay(Canvas& out, double scale, double dx, double dy, bool keepSmoothing,
                              bool centreOddStrokes) const {
    auto pt = [&](PointF p) { return PointF{p.x * scale + dx, p.y * scale + dy}; };
    auto rect = [&](const RectF& r) { return RectF{r.x * scale + dx, r.y * scale + dy, r.w * scale, r.h * scale}; };
    // The offset of a stroke's points: half a picture pixel for an odd width.
    const double half = scale / 2;
    double shift = 0;
    auto spt = [&](PointF p) { return PointF{p.x * scale + dx + shift, p.y * scale + dy + shift}; };
    auto srect = [&](const RectF& r) {
        return RectF{r.x * scale + dx + shift, r.y * scale + dy + shift, r.w * scale, r.h * scale};
    };
    auto pen = [&](const Pen& p) {
        Pen q = p;
        q.width = p.width * scale;  // a hairline stays a hairline
        return q;
    };
    std::vector<PointF> buf;
    auto points = [&](const Call& c) {
        buf.clear();
        for (std::size_t i = 0; i < c.count; ++i) buf.push_back(spt(points_[c.first + i]));
        return std::span<const PointF>(buf);
    };
    for (const Call& c : ops_) {
        const bool stroke = c.op == Op::Line || c.op == Op::Polyline || c.op == Op::Polygon || c.op == Op::Ellipse ||
                            c.op == Op::Arc;
        shift = centreOddStrokes && stroke && OddStrokeWidth(c.pen.width) ? half : 0;
        switch (c.op) {
            case Op::Antialias:
                if (keepSmoothing) out.setAntialias(c.flag);
                break;
            case Op::TextAntialias:
                if (keepSmoothing) out.setTextAntialias(c.flag);
                break;
            case Op::Rotation: out.setRotation(c.a, pt({c.rect.x, c.rect.y})); break;
            case Op::ResetTransform: out.resetTransform(); break;
            case Op::Clip: out.setClipRect(rect(c.rect)); break;
            case Op::ResetClip: out.resetClip(); break;
            case Op::Line: out.drawLine(pen(c.pen), spt(points_[c.first]), spt(points_[c.first + 1])); break;
            case Op::Polyline: out.drawPolyline(pen(c.pen), points(c)); break;
            case Op::Polygon: out.drawPolygon(pen(c.pen), points(c)); break;
            case Op::FillPolygon: out.fillPolygon(c.color, points(c)); break;
            case Op::Ellipse: out.drawEllipse(pen(c.pen), srect(c.rect)); break;
            case Op::FillEllipse: out.fillEllipse(c.color, rect(c.rect)); break;
            case Op::Arc: out.drawArc(pen(c.pen), srect(c.rect), c.a, c.b); break;
            case Op::FillPie: out.fillPie(c.color, rect(c.rect), c.a, c.b); break;
            case Op::FillRect: out.fillRect(c.color, rect(c.rect)); break;
            case Op::Text: {
                Font f = c.font;
                f.pixelSize *= scale;
                out.drawText(f, c.color, c.text, pt({c.rect.x, c.rect.y}), c.format);
                break;
            }
        }
    }
}

}  // namespace pelmar
