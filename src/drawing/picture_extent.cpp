#include "drawing/picture_extent.h"

#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <memory>

#include "drawing/redraw.h"
#include "platform/canvas_geometry.h"
#include "platform/qt_text.h"

namespace pelmar {

namespace {

// A canvas that draws nothing and keeps the box around what it was given,
// strokes widened by half their pen.
class ExtentCanvas final : public Canvas {
public:
    std::optional<RectF> box() const {
        if (!any_) return std::nullopt;
        return RectF{left_, top_, right_ - left_, bottom_ - top_};
    }

    void setAntialias(bool) override {}
    void setTextAntialias(bool) override {}
    void setRotation(double degrees, PointF centre) override {
        angle_ = std::isfinite(degrees) ? degrees : 0;
        centre_ = centre;
    }
    void resetTransform() override { angle_ = 0; }
    void setClipRect(const RectF&) override {}
    void resetClip() override {}
    void drawLine(const Pen& pen, PointF a, PointF b) override {
        const PointF pts[2] = {a, b};
        stroke(pen, pts);
    }
    void drawPolyline(const Pen& pen, std::span<const PointF> points) override { stroke(pen, points); }
    void drawPolygon(const Pen& pen, std::span<const PointF> points) override { stroke(pen, points); }
    void fillPolygon(Rgb, std::span<const PointF> points) override { add(points, 0); }
    void drawEllipse(const Pen& pen, const RectF& box) override { corners(box, Half(pen)); }
    void fillEllipse(Rgb, const RectF& box) override { corners(box, 0); }
    void drawArc(const Pen& pen, const RectF& box, double, double) override { corners(box, Half(pen)); }
    void fillPie(Rgb, const RectF& box, double, double) override { corners(box, 0); }
    void fillRect(Rgb, const RectF& r) override { corners(r, 0); }
    void drawText(const Font& font, Rgb, const std::string& text, PointF at, TextFormat format) override {
        if (text.empty()) return;
        if (!text_) {
            const PointF p[1] = {at};
            add(p, 0);
            return;
        }
        const TextPlacement p = text_->place(font, text, at, format);
        corners({p.left, p.top, p.width, p.height}, 0);
    }
    SizeF measureText(const Font& font, const std::string& text) override {
        return text_ ? text_->measure(font, text) : SizeF{};
    }
    RectF measureInk(const Font& font, const std::string& text) override {
        return text_ ? text_->ink(font, text) : RectF{};
    }

private:
    static double Half(const Pen& pen) { return std::max(pen.width, 1.0) / 2; }

    void stroke(const Pen& pen, std::span<const PointF> points) { add(points, Half(pen)); }

    void corners(const RectF& r, double grow) {
        const PointF c[4] = {{r.x, r.y}, {r.x + r.w, r.y}, {r.x + r.w, r.y + r.h}, {r.x, r.y + r.h}};
        add(c, grow);
    }

    void add(std::span<const PointF> points, double grow) {
        for (PointF p : points) {
            if (angle_ != 0) p = RotatePoint(p, angle_, centre_);
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
            if (!any_) {
                left_ = right_ = p.x;
                top_ = bottom_ = p.y;
                any_ = true;
            }
            left_ = std::min(left_, p.x - grow);
            right_ = std::max(right_, p.x + grow);
            top_ = std::min(top_, p.y - grow);
            bottom_ = std::max(bottom_, p.y + grow);
        }
    }

    std::unique_ptr<TextMetrics> text_ =
        QGuiApplication::instance() ? std::make_unique<TextMetrics>() : nullptr;
    double angle_ = 0;
    PointF centre_;
    bool any_ = false;
    double left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
};

const PainterTable& Painters() {
    static const PainterTable table = DefaultPainters();
    return table;
}

template <class R, class Paint>
std::optional<RectF> Measure(const R& rec, const DImProj& im, const Paint& paint) {
    ExtentCanvas c;
    PaintTarget t;
    t.kind = TargetKind::Pel;
    t.canvas = &c;
    if (paint) paint(rec, im, t);
    return c.box();
}

template <class R, class Paint>
std::optional<RectF> MeasureSystem(const R& rec, const DImProj& im, const Paint& paint) {
    ExtentCanvas c;
    PaintTarget t;
    t.kind = TargetKind::Pel;
    t.canvas = &c;
    if (paint) paint(rec, false, 1, im, 'm', t);
    return c.box();
}

}  // namespace

std::optional<RectF> PictureExtent(const DPoint& r, const DImProj& im) { return Measure(r, im, Painters().point); }
std::optional<RectF> PictureExtent(const DLine& r, const DImProj& im) { return Measure(r, im, Painters().line); }
std::optional<RectF> PictureExtent(const DCircle& r, const DImProj& im) {
    return Measure(r, im, Painters().circle.pass2);
}
std::optional<RectF> PictureExtent(const DTri& r, const DImProj& im) {
    return Measure(r, im, Painters().triangle.pass2);
}
std::optional<RectF> PictureExtent(const DKv& r, const DImProj& im) {
    return Measure(r, im, Painters().tetragon.pass2);
}
std::optional<RectF> PictureExtent(const DXOY& r, const DImProj& im) {
    return MeasureSystem(r, im, Painters().xoy.pass2);
}
std::optional<RectF> PictureExtent(const DSf& r, const DImProj& im) { return Measure(r, im, Painters().orb.pass2); }
std::optional<RectF> PictureExtent(const DZi& r, const DImProj& im) {
    return Measure(r, im, Painters().cylinder.pass2);
}
std::optional<RectF> PictureExtent(const DKo& r, const DImProj& im) { return Measure(r, im, Painters().cone.pass2); }
std::optional<RectF> PictureExtent(const DPi3& r, const DImProj& im) {
    return Measure(r, im, Painters().pyramid3.pass2);
}
std::optional<RectF> PictureExtent(const DPi4& r, const DImProj& im) {
    return Measure(r, im, Painters().pyramid4.pass2);
}
std::optional<RectF> PictureExtent(const DPr3& r, const DImProj& im) {
    return Measure(r, im, Painters().prism3.pass2);
}
std::optional<RectF> PictureExtent(const DPr4& r, const DImProj& im) {
    return Measure(r, im, Painters().prism4.pass2);
}
std::optional<RectF> PictureExtent(const DXZ& r, const DImProj& im) {
    return MeasureSystem(r, im, Painters().xyz.pass2);
}

}  // namespace pelmar
