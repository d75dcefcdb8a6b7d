#include "platform/qt_canvas.h"

#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/canvas_geometry.h"
#include "platform/qt_text.h"

namespace pelmar {

// What the pixels of one drawing call depend on besides its colour: the
// kind of call, its geometry, the pen's width, caps and dashes, smoothing,
// the whole transform and the picture's size and format.
class ShapeKey {
public:
    ShapeKey& add(double v) {
        if (size_ < values_.size()) values_[size_] = v;
        ++size_;
        return *this;
    }
    ShapeKey& add(std::span<const PointF> points) {
        add(static_cast<double>(points.size()));
        for (const PointF& p : points) add(p.x).add(p.y);
        return *this;
    }
    ShapeKey& add(const RectF& r) { return add(r.x).add(r.y).add(r.w).add(r.h); }
    ShapeKey& add(const Pen& pen) {
        add(pen.width).add(pen.roundCaps ? 1 : 0).add(static_cast<double>(pen.dashes.size()));
        for (double d : pen.dashes) add(d);
        return *this;
    }
    // A key too long to hold is not kept.
    bool whole() const { return size_ <= values_.size(); }
    std::span<const double> values() const { return {values_.data(), std::min(size_, values_.size())}; }
    std::uint64_t hash() const {
        std::uint64_t h = 0xCBF29CE484222325ull;
        for (double v : values()) h = (h ^ std::bit_cast<std::uint64_t>(v)) * 0x100000001B3ull;
        return h;
    }

private:
    std::array<double, 64> values_;
    std::size_t size_ = 0;
};

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

// The rectangle of the painter's coordinates that covers its device, grown
// by `margin`; nullopt when the coordinates do not map onto it.
std::optional<RectF> ShownRect(const QPainter& painter, double margin) {
    const QPaintDevice* device = painter.device();
    if (!device) return std::nullopt;
    bool invertible = false;
    const QTransform back = painter.combinedTransform().inverted(&invertible);
    if (!invertible) return std::nullopt;
    const QRectF r = back.mapRect(QRectF(0, 0, device->width(), device->height()));
    if (!std::isfinite(r.left()) || !std::isfinite(r.top()) || !std::isfinite(r.width()) ||
        !std::isfinite(r.height()))
        return std::nullopt;
    return RectF{r.left() - margin, r.top() - margin, r.width() + 2 * margin, r.height() + 2 * margin};
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

// The outline of a solid open polyline; filling it gives the pixels of
// stroking the points.
QPainterPath Outline(const Pen& pen, std::span<const PointF> points) {
    QPainterPathStroker stroker;
    stroker.setWidth(pen.width);
    stroker.setCapStyle(pen.roundCaps ? Qt::RoundCap : Qt::FlatCap);
    stroker.setJoinStyle(Qt::MiterJoin);
    stroker.setMiterLimit(10);
    QPainterPath line;
    line.moveTo(ToQ(points.front()));
    for (std::size_t i = 1; i < points.size(); ++i) line.lineTo(ToQ(points[i]));
    QPainterPath outline = stroker.createStroke(line);
    outline.setFillRule(Qt::WindingFill);
    return outline;
}

// The stroked outlines of the last solid polylines drawn on this thread (the
// graphs of the coordinate systems), each with the points and pen it came
// from.  Filling a kept outline gives the pixels of stroking the points
// again; a graph whose points, window or scale changed has other points and
// is stroked anew.
class KeptOutlines {
public:
    const QPainterPath& outline(const Pen& pen, std::span<const PointF> points) {
        const std::uint64_t key = Key(pen, points);
        for (auto it = kept_.begin(); it != kept_.end(); ++it)
            if (it->key == key && it->width == pen.width && it->roundCaps == pen.roundCaps &&
                std::equal(points.begin(), points.end(), it->points.begin(), it->points.end())) {
                if (it != kept_.begin()) {
                    Entry e = std::move(*it);
                    kept_.erase(it);
                    kept_.push_front(std::move(e));
                }
                return kept_.front().outline;
            }
        if (kept_.size() >= Capacity) kept_.pop_back();
        kept_.push_front({key, pen.width, pen.roundCaps, {points.begin(), points.end()}, Outline(pen, points)});
        return kept_.front().outline;
    }

    static constexpr std::size_t Capacity = 48;
    static constexpr std::size_t MinPoints = 8;
    static constexpr std::size_t MaxPoints = 200000;

private:
    struct Entry {
        std::uint64_t key;
        double width;
        bool roundCaps;
        std::vector<PointF> points;
        QPainterPath outline;
    };

    static std::uint64_t Key(const Pen& pen, std::span<const PointF> points) {
        std::uint64_t h = std::bit_cast<std::uint64_t>(pen.width) ^ (points.size() * 0x9E3779B97F4A7C15ull);
        for (const PointF& p : points) {
            h = (h ^ std::bit_cast<std::uint64_t>(p.x)) * 0x100000001B3ull;
            h = (h ^ std::bit_cast<std::uint64_t>(p.y)) * 0x100000001B3ull;
        }
        return h;
    }

    std::deque<Entry> kept_;
};

thread_local KeptOutlines keptOutlines;

thread_local bool keeping = true;

}  // namespace

// A run of pixels of one row that a stroke covered by the same amount
// (255: whole).
struct CoverageRun {
    std::int32_t y, x, length;
    std::uint32_t coverage;
};

namespace {

// A stroke or a batch of lines as the runs each of them covered, in the
// order they were drawn, with what the pixels depend on besides the points.
class KeptRuns final : public KeptDrawing {
public:
    bool lines = false;  // drawn by drawKeptLines
    double width = 0;
    bool roundCaps = false;
    bool antialias = false;
    double dx = 0, dy = 0;  // where the picture lies on the image
    QSize size;
    bool captured = false;  // the runs are read (at the second drawing)
    std::vector<CoverageRun> runs;

    bool fits(bool asLines, const Pen& pen, bool smooth, const QTransform& device, QSize picture) const {
        return lines == asLines && width == pen.width && roundCaps == pen.roundCaps && antialias == smooth &&
               dx == device.dx() && dy == device.dy() && size == picture;
    }
};

// x * a / 255 on each byte, rounded as the raster painter rounds it.
std::uint32_t ByteMul(std::uint32_t x, std::uint32_t a) {
    std::uint64_t t = ((std::uint64_t{x} | (std::uint64_t{x} << 24)) & 0x00FF00FF00FF00FFull) * a;
    t = (t + ((t >> 8) & 0x00FF00FF00FF00FFull) + 0x0080008000800080ull) >> 8;
    t &= 0x00FF00FF00FF00FFull;
    return static_cast<std::uint32_t>(t) | static_cast<std::uint32_t>(t >> 24);
}

// The picture strokes are drawn on in white over transparent black to learn
// their coverage: the alpha of a pixel is then what the stroke blended
// there.  It is left clear after every use.
QImage& Scratch(QSize size) {
    thread_local QImage scratch;
    if (scratch.size() != size) {
        scratch = QImage(size, QImage::Format_ARGB32_Premultiplied);
        scratch.fill(Qt::transparent);
    }
    return scratch;
}

std::uint32_t* Row(QImage& image, int y) {
    // The painter at work on the image writes into the same memory.
    return reinterpret_cast<std::uint32_t*>(const_cast<uchar*>(std::as_const(image).constBits()) +
                                            static_cast<std::ptrdiff_t>(y) * image.bytesPerLine());
}

// Reads the coverage inside `box` (device pixels) of the scratch into runs
// and clears those pixels.
void Collect(QImage& scratch, QRect box, std::vector<CoverageRun>& out) {
    box &= scratch.rect();
    if (box.isEmpty()) return;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        std::uint32_t* row = Row(scratch, y);
        for (int x = box.left(); x <= box.right();) {
            const std::uint32_t a = row[x] >> 24;
            if (a == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x <= box.right() && row[x] >> 24 == a) row[x++] = 0;
            out.push_back({y, start, x - start, a});
        }
    }
}

// Blends an opaque colour into the runs as the raster painter blends a
// solid pen: whole coverage replaces the pixel, partial coverage mixes.
// Moved by (dx, dy) whole pixels, which the caller keeps on the image.
void Blend(QImage& image, const std::vector<CoverageRun>& runs, Rgb colour, int dx = 0, int dy = 0) {
    const std::uint32_t c = 0xFF000000u | (static_cast<std::uint32_t>(RgbRed(colour)) << 16) |
                            (static_cast<std::uint32_t>(RgbGreen(colour)) << 8) |
                            static_cast<std::uint32_t>(RgbBlue(colour));
    for (const CoverageRun& r : runs) {
        std::uint32_t* p = Row(image, r.y + dy) + (r.x + dx);
        if (r.coverage == 255) {
            std::fill(p, p + r.length, c);
            continue;
        }
        const std::uint32_t part = ByteMul(c, r.coverage);
        const std::uint32_t rest = 255 - r.coverage;
        for (std::int32_t i = 0; i < r.length; ++i) p[i] = part + ByteMul(p[i], rest);
    }
}

// The device pixels within `margin` of the box around points a and b.
QRect Around(QPointF a, QPointF b, double margin) {
    const double l = std::min(a.x(), b.x()) - margin, r = std::max(a.x(), b.x()) + margin;
    const double t = std::min(a.y(), b.y()) - margin, d = std::max(a.y(), b.y()) + margin;
    constexpr double limit = 1e6;
    if (!(l > -limit && r < limit && t > -limit && d < limit)) return QRect(-1000000, -1000000, 2000001, 2000001);
    return QRect(QPoint(static_cast<int>(std::floor(l)), static_cast<int>(std::floor(t))),
                 QPoint(static_cast<int>(std::ceil(r)), static_cast<int>(std::ceil(d))));
}

Pen White(const Pen& pen) {
    Pen w = pen;
    w.color = MakeRgb(255, 255, 255);
    return w;
}

// The box of device pixels a solid stroke of `pen` through the points may
// cover under `device`: miter joins reach up to the miter limit (10) in pen
// widths, smoothing a pixel or two further.
QRect StrokeReachBox(const Pen& pen, std::span<const PointF> points, const QTransform& device) {
    double l = points.front().x, r = l, t = points.front().y, b = t;
    for (const PointF& p : points) {
        l = std::min(l, p.x), r = std::max(r, p.x);
        t = std::min(t, p.y), b = std::max(b, p.y);
    }
    return Around(device.map(QPointF(l, t)), device.map(QPointF(r, b)), 10 * std::max(pen.width, 1.0) + 3);
}

// The runs of long solid strokes (the graphs of a coordinate system) kept
// with their shape: the points relative to the first one, and where that
// point lay on the device.  The same stroke moved by whole device pixels
// covers the same pixels moved (the rasteriser works on fixed binary
// fractions of a pixel), so a system dragged over the picture blends the
// runs of its graphs moved instead of stroking them anew.  A shape is only
// noted the first time, its runs are read at the second drawing; only
// strokes lying wholly on the picture are kept, so no run was cut off.
class MovedStrokes {
public:
    struct Stroke {
        double width = 0;
        bool roundCaps = false, antialias = false;
        QSize size;
        std::vector<PointF> shape;  // the points less the first one
        QPointF at;                 // the first point on the device
        QRect box;                  // device pixels within reach, at `at`
        bool captured = false;
        std::vector<CoverageRun> runs;
    };

    // The stroke of this shape kept under the same conditions, with the
    // whole pixels it is moved by now; null when none or not a whole move.
    Stroke* find(const Pen& pen, bool antialias, QSize size, std::span<const PointF> points, QPointF at,
                 QPoint& shift) {
        for (auto it = kept_.begin(); it != kept_.end(); ++it) {
            if (it->width != pen.width || it->roundCaps != pen.roundCaps || it->antialias != antialias ||
                it->size != size || !SameShape(it->shape, points))
                continue;
            const double dx = at.x() - it->at.x(), dy = at.y() - it->at.y();
            const double rx = std::round(dx), ry = std::round(dy);
            if (!(std::abs(dx - rx) <= Tolerance && std::abs(dy - ry) <= Tolerance) ||
                !(std::abs(rx) < 1e6 && std::abs(ry) < 1e6))
                return nullptr;
            shift = QPoint(static_cast<int>(rx), static_cast<int>(ry));
            if (it != kept_.begin()) {
                Stroke s = std::move(*it);
                kept_.erase(it);
                kept_.push_front(std::move(s));
            }
            return &kept_.front();
        }
        return nullptr;
    }

    void note(const Pen& pen, bool antialias, QSize size, std::span<const PointF> points, QPointF at, QRect box) {
        if (kept_.size() >= Capacity) drop();
        Stroke s;
        s.width = pen.width;
        s.roundCaps = pen.roundCaps;
        s.antialias = antialias;
        s.size = size;
        s.shape.reserve(points.size());
        for (const PointF& p : points) s.shape.push_back({p.x - points.front().x, p.y - points.front().y});
        s.at = at;
        s.box = box;
        kept_.push_front(std::move(s));
    }

    bool roomFor() const { return runs_ < MaxRuns; }
    void captured(const Stroke& s) { runs_ += s.runs.size(); }

    static constexpr std::size_t Capacity = 48;
    static constexpr std::size_t MaxRuns = 2000000;
    // The same graph computed at another place differs by rounding only (the
    // graphs' points come on a grid of 1/32768 pixel); a sixteenth of the
    // rasteriser's step (1/64 pixel) at most changes a pixel's coverage by
    // one level where a stroke's edge meets that step.
    static constexpr double Tolerance = 1.0 / 1024;

private:
    static bool SameShape(const std::vector<PointF>& shape, std::span<const PointF> points) {
        if (shape.size() != points.size()) return false;
        const PointF o = points.front();
        for (std::size_t i = 0; i < shape.size(); ++i)
            if (!(std::abs(points[i].x - o.x - shape[i].x) <= Tolerance &&
                  std::abs(points[i].y - o.y - shape[i].y) <= Tolerance))
                return false;
        return true;
    }
    void drop() {
        runs_ -= kept_.back().runs.size();
        kept_.pop_back();
    }

    std::deque<Stroke> kept_;
    std::size_t runs_ = 0;
};

thread_local MovedStrokes movedStrokes;

// What is drawn once and never again (a system dragged over the picture) is
// not worth keeping: the first drawing is plain and only notes what it was
// drawn with; a second drawing under the same conditions keeps the runs and
// the ones after lay them down.  Returns the runs to blend, or null when the
// caller draws plainly.
KeptRuns* KeptRunsFor(bool lines, const Pen& pen, bool antialias, const QTransform& device, QSize size,
                      KeptDrawingPtr& kept) {
    auto* runs = dynamic_cast<KeptRuns*>(kept.get());
    if (runs && runs->fits(lines, pen, antialias, device, size)) return runs;
    auto fresh = std::make_shared<KeptRuns>();
    fresh->lines = lines;
    fresh->width = pen.width;
    fresh->roundCaps = pen.roundCaps;
    fresh->antialias = antialias;
    fresh->dx = device.dx();
    fresh->dy = device.dy();
    fresh->size = size;
    kept = std::move(fresh);
    return nullptr;
}

// The drawings met on the program's own picture (on this thread), each as
// the runs it covered once it was drawn a second time.  A picture drawn anew
// starts a frame; drawings not met in the last two frames are dropped, and
// the runs kept in all are bounded.
class KeptShapes {
public:
    struct Shape {
        std::vector<double> key;
        std::uint64_t frame = 0;  // the last frame it was drawn in
        bool captured = false;
        std::vector<CoverageRun> runs;
    };

    void newFrame() {
        ++frame_;
        std::erase_if(shapes_, [&](auto& item) {
            if (item.second.frame + 2 >= frame_) return false;
            runs_ -= item.second.runs.size();
            return true;
        });
    }

    // The shape of `key`, or null when it is met for the first time in the
    // last two frames (it is only noted then: what is drawn once, as at
    // each step of a drag, costs no reading back) or there is no room.
    Shape* find(const ShapeKey& key) {
        if (!key.whole()) return nullptr;
        const std::uint64_t h = key.hash();
        const std::span<const double> values = key.values();
        auto it = shapes_.find(h);
        if (it != shapes_.end()) {
            if (std::equal(values.begin(), values.end(), it->second.key.begin(), it->second.key.end())) {
                it->second.frame = frame_;
                return &it->second;
            }
            runs_ -= it->second.runs.size();
            shapes_.erase(it);
        }
        Note& note = notes_[h % notes_.size()];
        if (note.hash != h || note.frame + 2 < frame_) {
            note = {h, frame_};
            return nullptr;
        }
        if (shapes_.size() >= MaxShapes) return nullptr;
        return &shapes_.emplace(h, Shape{{values.begin(), values.end()}, frame_, false, {}}).first->second;
    }

    bool roomFor() const { return runs_ < MaxRuns; }
    void captured(const Shape& s) { runs_ += s.runs.size(); }
    std::size_t size() const { return shapes_.size(); }

    static constexpr std::size_t MaxShapes = 20000;
    static constexpr std::size_t MaxRuns = 2000000;
    // Longer polylines are the callers' to keep (drawKeptPolyline).
    static constexpr std::size_t MaxPoints = 16;

private:
    struct Note {
        std::uint64_t hash = 0;
        std::uint64_t frame = 0;
    };
    std::array<Note, 4096> notes_{};  // a note lost to another is taken again
    std::unordered_map<std::uint64_t, Shape> shapes_;
    std::uint64_t frame_ = 0;
    std::size_t runs_ = 0;
};

thread_local KeptShapes keptShapes;

enum class ShapeKind { Polyline, Polygon, Ellipse, Arc, FillPolygon, FillEllipse, FillPie };

// The box around a stroke of `pen` through the points, reaching as far as a
// miter join may.
QRectF StrokeBox(std::span<const PointF> points, const Pen& pen) {
    double l = points.front().x, r = l, t = points.front().y, b = t;
    for (const PointF& p : points) {
        l = std::min(l, p.x), r = std::max(r, p.x);
        t = std::min(t, p.y), b = std::max(b, p.y);
    }
    const double m = 10 * std::max(pen.width, 1.0);
    return QRectF(QPointF(l - m, t - m), QPointF(r + m, b + m));
}

QRectF EllipseBox(const RectF& box, double reach) {
    return ToQ(box).adjusted(-reach, -reach, reach, reach);
}

}  // namespace

void QtCanvas::setKeeping(bool on) { keeping = on; }

bool QtCanvas::keepsDrawings() const { return keeping && image_ && !external_; }

QtCanvas::QtCanvas(QImage& image, bool antialias)
    : image_(&image), painter_(own_), antialias_(antialias), textAntialias_(antialias) {
    const QImage::Format f = image_->format();
    if (f != QImage::Format_ARGB32_Premultiplied && f != QImage::Format_ARGB32 && f != QImage::Format_RGB32)
        *image_ = image_->convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (!image_->isNull()) painter_.begin(image_);
    if (keeping) keptShapes.newFrame();
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
    if (points.size() <= KeptShapes::MaxPoints && keepsShape(pen, points.size() == 2 && !closed, closed)) {
        ShapeKey key;
        key.add(static_cast<double>(closed ? ShapeKind::Polygon : ShapeKind::Polyline)).add(pen).add(points);
        if (drawKept(key, pen.color, StrokeBox(points, pen),
                     [&](QPainter& p) { strokeOn(p, White(pen), points, closed); }))
            return;
    }
    strokeOn(painter_, pen, points, closed);
}

void QtCanvas::strokeOn(QPainter& painter, const Pen& pen, std::span<const PointF> points, bool closed) {
    const HalfPixelShift shift(painter, centred(pen));
    painter.setBrush(Qt::NoBrush);
    const bool dashed = UsableDashPattern(pen.dashes);
    // Only what the device shows is stroked, however far the points reach.
    const std::optional<RectF> view = ShownRect(painter, StrokeReach(pen.width));
    const bool within = !view || PathWithin(points, *view);
    if (!dashed && !closed && within && fillKeptOutline(painter, pen, points)) return;
    if (!dashed) {
        painter.setPen(SolidQPen(pen, pen.roundCaps ? Qt::RoundCap : Qt::FlatCap));
        if (!within) {
            // The cuts lie outside the view: their caps do not show.
            const std::vector<PointF> open = closed ? OpenOutside(points, *view) : std::vector<PointF>();
            for (const auto& part : closed ? ClipPath(open, false, *view, 0) : ClipPath(points, false, *view, 0))
                painter.drawPolyline(ToQ(part));
        } else if (closed) {
            painter.drawPolygon(ToQ(points));
        } else {
            painter.drawPolyline(ToQ(points));
        }
        return;
    }
    // The dashes are stroked with flat ends; a round cap goes only on the
    // start of the first dash and on the end of the last one when that dash
    // reaches the end of the line.
    const double unit = pen.width > 0 ? pen.width : 1.0;
    std::vector<double> pattern;
    for (double d : pen.dashes) pattern.push_back(d * unit);
    const auto dashes = view ? SplitDashes(points, pattern, closed, *view) : SplitDashes(points, pattern, closed);
    QPainterPath path;
    for (const auto& dash : dashes) {
        if (dash.size() < 2) continue;
        path.moveTo(ToQ(dash.front()));
        for (std::size_t i = 1; i < dash.size(); ++i) path.lineTo(ToQ(dash[i]));
    }
    if (closed || !pen.roundCaps || pen.width <= 1 || dashes.empty()) {
        painter.strokePath(path, SolidQPen(pen, Qt::FlatCap));
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
        // A cap outside the view does not show.
        if (within || PathWithin(points.first(1), *view)) {
            outline.addPolygon(ToQ(RoundCapPolygon(points.front(), startDir, pen.width)));
            outline.closeSubpath();
        }
        if (dashes.back().back() == points.back() && (within || PathWithin(points.last(1), *view))) {
            outline.addPolygon(ToQ(RoundCapPolygon(points.back(), endDir, pen.width)));
            outline.closeSubpath();
        }
    }
    outline.setFillRule(Qt::WindingFill);
    painter.fillPath(outline, ToQColor(pen.color));
}

// Long solid polylines of a pen wider than a pixel under no rotation or
// scaling: the outline is stroked once and kept (the stroke in user
// coordinates does not depend on where the picture is moved).
bool QtCanvas::fillKeptOutline(QPainter& painter, const Pen& pen, std::span<const PointF> points) {
    if (pen.width <= 1 || points.size() < KeptOutlines::MinPoints || points.size() > KeptOutlines::MaxPoints ||
        painter.transform().type() > QTransform::TxTranslate)
        return false;
    painter.fillPath(keptOutlines.outline(pen, points), ToQColor(pen.color));
    return true;
}

// The solid open stroke as stroke() draws it, on any painter set up like ours.
void QtCanvas::strokeSolid(QPainter& painter, const Pen& pen, std::span<const PointF> points) {
    painter.setBrush(Qt::NoBrush);
    if (pen.width > 1 && points.size() >= KeptOutlines::MinPoints && points.size() <= KeptOutlines::MaxPoints &&
        painter.transform().type() <= QTransform::TxTranslate) {
        painter.fillPath(Outline(pen, points), ToQColor(pen.color));
        return;
    }
    painter.setPen(SolidQPen(pen, pen.roundCaps ? Qt::RoundCap : Qt::FlatCap));
    painter.drawPolyline(ToQ(points));
}

bool QtCanvas::keepable(const Pen& pen, QTransform& device) const {
    if (!keeping || !image_ || external_ || !active() || !std::isfinite(pen.width) ||
        UsableDashPattern(pen.dashes))
        return false;
    const QImage::Format f = image_->format();
    if (f != QImage::Format_ARGB32_Premultiplied && f != QImage::Format_RGB32) return false;
    // The scratch picture strokes are read back from is the picture's size.
    constexpr qint64 maxPixels = 4096 * 4096;
    if (qint64{image_->width()} * image_->height() > maxPixels) return false;
    if (painter_.hasClipping() || painter_.opacity() != 1.0 ||
        painter_.compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    device = painter_.transform();
    if (centred(pen)) device = device * QTransform::fromTranslate(0.5, 0.5);
    return device.type() <= QTransform::TxTranslate;
}

// Whether a stroke may be kept now (see keepsFills).  Smoothed, Qt blends
// some pixels twice where the pieces of a stroke no wider than a pixel meet
// and where its dashes stroked as lines come close, which no single coverage
// repeats: such strokes are kept only when they are one straight solid
// piece, and dashed ones only when their outline is filled at once (open,
// round caps, wider than a pixel).
bool QtCanvas::keepsShape(const Pen& pen, bool onePiece, bool closed) const {
    if (!keeping || !image_ || external_ || !active() || !std::isfinite(pen.width)) return false;
    if (antialias_) {
        if (UsableDashPattern(pen.dashes)) {
            if (closed || !pen.roundCaps || pen.width <= 1) return false;
        } else if (pen.width <= 1 && !onePiece) {
            return false;
        }
    }
    return keepsFills();
}

bool QtCanvas::keepsFills() const {
    if (!keeping || !image_ || external_ || !active()) return false;
    const QImage::Format f = image_->format();
    if (f != QImage::Format_ARGB32_Premultiplied && f != QImage::Format_RGB32) return false;
    constexpr qint64 maxPixels = 4096 * 4096;
    if (qint64{image_->width()} * image_->height() > maxPixels) return false;
    return !painter_.hasClipping() && painter_.opacity() == 1.0 &&
           painter_.compositionMode() == QPainter::CompositionMode_SourceOver;
}

// A drawing met before under the same key: the second time it is drawn in
// white on the scratch picture and read back within `box` (picture
// coordinates, before the transform), and from then on its runs are blended
// in `colour`.  False: not kept (yet), the caller draws plainly.
template <class Draw>
bool QtCanvas::drawKept(ShapeKey& key, Rgb colour, const QRectF& box, Draw&& draw) {
    const QTransform t = painter_.transform();
    key.add(t.m11()).add(t.m12()).add(t.m13()).add(t.m21()).add(t.m22()).add(t.m23());
    key.add(t.m31()).add(t.m32()).add(t.m33());
    key.add(antialias_ ? 1 : 0).add(image_->width()).add(image_->height()).add(image_->format());
    KeptShapes::Shape* shape = keptShapes.find(key);
    if (!shape) return false;
    if (!shape->captured) {
        if (!keptShapes.roomFor()) return false;
        QImage& scratch = Scratch(image_->size());
        QPainter p(&scratch);
        p.setRenderHint(QPainter::Antialiasing, antialias_);
        p.setTransform(t);
        draw(p);
        p.end();
        // Smoothing and the half-pixel shift reach a pixel or two further.
        constexpr double limit = 1e6;
        const QRectF reach = t.mapRect(box).adjusted(-3, -3, 3, 3);
        const QRect all(-1000000, -1000000, 2000001, 2000001);
        const QRect device = reach.left() > -limit && reach.right() < limit && reach.top() > -limit &&
                                     reach.bottom() < limit
                                 ? reach.toAlignedRect()
                                 : all;
        Collect(scratch, device, shape->runs);
        shape->captured = true;
        keptShapes.captured(*shape);
    }
    Blend(*image_, shape->runs, colour);
    return true;
}

void QtCanvas::drawKeptPolyline(const Pen& pen, std::span<const PointF> points, KeptDrawingPtr& kept) {
    QTransform device;
    // A smoothed thin polyline blends some pixels twice where its pieces
    // meet, which no single coverage repeats; wider ones are filled once.
    if (points.size() < 2 || !Finite(points) || (pen.width <= 1 && antialias_) || !keepable(pen, device)) {
        kept.reset();
        drawPolyline(pen, points);
        return;
    }
    KeptRuns* runs = KeptRunsFor(false, pen, antialias_, device, image_->size(), kept);
    if (!runs) {
        if (!drawMoved(pen, points, device)) drawPolyline(pen, points);
        return;
    }
    if (!runs->captured) {
        captureStroke(pen, points, device, runs->runs);
        runs->captured = true;
    }
    Blend(*image_, runs->runs, pen.color);
}

// Draws the stroke in white on the scratch picture and reads its runs back.
void QtCanvas::captureStroke(const Pen& pen, std::span<const PointF> points, const QTransform& device,
                             std::vector<CoverageRun>& out) {
    QImage& scratch = Scratch(image_->size());
    QPainter p(&scratch);
    p.setRenderHint(QPainter::Antialiasing, antialias_);
    p.setTransform(device);
    strokeSolid(p, White(pen), points);
    p.end();
    // The stroke is read back piece by piece, each within reach of its
    // points: miter joins reach out up to the miter limit (10) in pen
    // widths.  Pixels read are cleared, so overlapping pieces read each
    // pixel once.
    constexpr std::size_t piece = 32;
    for (std::size_t first = 0; first + 1 < points.size(); first += piece) {
        const std::size_t last = std::min(first + piece, points.size() - 1);
        Collect(scratch, StrokeReachBox(pen, points.subspan(first, last - first + 1), device), out);
    }
}

// A long stroke drawn before in the same shape, moved by whole pixels,
// blends its runs moved (see MovedStrokes).  False: the caller draws it.
bool QtCanvas::drawMoved(const Pen& pen, std::span<const PointF> points, const QTransform& device) {
    if (points.size() < KeptOutlines::MinPoints || points.size() > KeptOutlines::MaxPoints) return false;
    const QRect picture = image_->rect();
    const QRect box = StrokeReachBox(pen, points, device);
    if (!picture.contains(box)) return false;
    const QPointF at = device.map(ToQ(points.front()));
    QPoint shift;
    MovedStrokes::Stroke* s = movedStrokes.find(pen, antialias_, image_->size(), points, at, shift);
    if (!s) {
        movedStrokes.note(pen, antialias_, image_->size(), points, at, box);
        return false;
    }
    if (!s->captured) {
        if (!movedStrokes.roomFor()) return false;
        s->at = at;
        s->box = box;
        shift = QPoint();
        captureStroke(pen, points, device, s->runs);
        s->captured = true;
        movedStrokes.captured(*s);
    }
    if (!picture.contains(s->box.translated(shift))) return false;
    Blend(*image_, s->runs, pen.color, shift.x(), shift.y());
    return true;
}

void QtCanvas::drawKeptLines(const Pen& pen, std::span<const LineF> lines, KeptDrawingPtr& kept) {
    QTransform device;
    if (!keepable(pen, device)) {
        kept.reset();
        drawLines(pen, lines);
        return;
    }
    KeptRuns* runs = KeptRunsFor(true, pen, antialias_, device, image_->size(), kept);
    if (!runs) {
        drawLines(pen, lines);
        return;
    }
    if (!runs->captured) {
        QImage& scratch = Scratch(image_->size());
        QPainter p(&scratch);
        p.setRenderHint(QPainter::Antialiasing, antialias_);
        p.setTransform(device);
        const double margin = std::max(pen.width, 1.0) + 3;
        const std::optional<RectF> view = ShownRect(p, StrokeReach(pen.width));
        for (const LineF& l : lines) {
            if (!(std::isfinite(l.a.x) && std::isfinite(l.a.y) && std::isfinite(l.b.x) && std::isfinite(l.b.y)))
                continue;
            PointF ends[2] = {l.a, l.b};
            if (view && !PathWithin(ends, *view)) {
                const auto parts = ClipPath(ends, false, *view, 0);
                if (parts.empty()) continue;
                ends[0] = parts.front().front();
                ends[1] = parts.front().back();
            }
            // One line at a time: each covers its pixels once, and the
            // batch blends them in this order.
            const QLineF q(ToQ(ends[0]), ToQ(ends[1]));
            drawLinesOn(p, White(pen), {&q, 1});
            Collect(scratch, Around(device.map(q.p1()), device.map(q.p2()), margin), runs->runs);
        }
        p.end();
        runs->captured = true;
    }
    Blend(*image_, runs->runs, pen.color);
}

void QtCanvas::drawLines(const Pen& pen, std::span<const LineF> lines) {
    if (!active() || !std::isfinite(pen.width) || UsableDashPattern(pen.dashes)) {
        Canvas::drawLines(pen, lines);
        return;
    }
    const HalfPixelShift shift(painter_, centred(pen));
    const std::optional<RectF> view = ShownRect(painter_, StrokeReach(pen.width));
    std::vector<QLineF> q;
    q.reserve(lines.size());
    for (const LineF& l : lines) {
        if (!(std::isfinite(l.a.x) && std::isfinite(l.a.y) && std::isfinite(l.b.x) && std::isfinite(l.b.y)))
            continue;
        const PointF ends[2] = {l.a, l.b};
        if (!view || PathWithin(ends, *view)) {
            q.emplace_back(ToQ(l.a), ToQ(l.b));
            continue;
        }
        for (const auto& part : ClipPath(ends, false, *view, 0)) q.emplace_back(ToQ(part.front()), ToQ(part.back()));
    }
    if (q.empty()) return;
    drawLinesOn(painter_, pen, q);
}

void QtCanvas::drawLinesOn(QPainter& painter, const Pen& pen, std::span<const QLineF> lines) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(SolidQPen(pen, pen.roundCaps ? Qt::RoundCap : Qt::FlatCap));
    // Thin lines are drawn one by one inside Qt; wider ones would be stroked
    // in groups as one outline, which smooths their crossings otherwise, and
    // unsmoothed thin ones with flat ends would lose a last pixel here and
    // there that a two-point polyline keeps.
    if (pen.width <= 1 && (antialias_ || pen.roundCaps)) {
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        return;
    }
    QPolygonF two(2);
    for (const QLineF& l : lines) {
        two[0] = l.p1();
        two[1] = l.p2();
        painter.drawPolyline(two);
    }
}

void QtCanvas::fillPoints(Rgb color, std::span<const PointF> points) {
    if (!active() || points.size() < 3 || !Finite(points)) return;
    auto fill = [&](QPainter& p, Rgb c) {
        p.setPen(Qt::NoPen);
        p.setBrush(ToQColor(c));
        p.drawPolygon(ToQ(points), Qt::OddEvenFill);
    };
    if (points.size() <= KeptShapes::MaxPoints && keepsFills()) {
        ShapeKey key;
        key.add(static_cast<double>(ShapeKind::FillPolygon)).add(points);
        double l = points.front().x, r = l, t = points.front().y, b = t;
        for (const PointF& p : points) {
            l = std::min(l, p.x), r = std::max(r, p.x);
            t = std::min(t, p.y), b = std::max(b, p.y);
        }
        if (drawKept(key, color, QRectF(QPointF(l, t), QPointF(r, b)),
                     [&](QPainter& p) { fill(p, MakeRgb(255, 255, 255)); }))
            return;
    }
    fill(painter_, color);
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
    auto draw = [&](QPainter& p, const Pen& q) {
        if (strokeFarArc(p, q, box, 0, 360)) return;
        if (UsableDashPattern(q.dashes)) {
            const auto points = EllipsePolygon(box);
            if (points.size() >= 2 && Finite(points)) strokeOn(p, q, points, true);
            return;
        }
        const HalfPixelShift shift(p, centred(q));
        p.setBrush(Qt::NoBrush);
        p.setPen(SolidQPen(q, Qt::FlatCap));
        p.drawEllipse(ToQ(box));
    };
    if (keepsShape(pen, false, true)) {
        ShapeKey key;
        key.add(static_cast<double>(ShapeKind::Ellipse)).add(pen).add(box);
        if (drawKept(key, pen.color, EllipseBox(box, 10 * std::max(pen.width, 1.0)),
                     [&](QPainter& p) { draw(p, White(pen)); }))
            return;
    }
    draw(painter_, pen);
}

void QtCanvas::fillEllipse(Rgb color, const RectF& box) {
    if (!active() || !Finite(box)) return;
    auto fill = [&](QPainter& p, Rgb c) {
        p.setPen(Qt::NoPen);
        p.setBrush(ToQColor(c));
        p.drawEllipse(ToQ(box));
    };
    if (keepsFills()) {
        ShapeKey key;
        key.add(static_cast<double>(ShapeKind::FillEllipse)).add(box);
        if (drawKept(key, color, EllipseBox(box, 0), [&](QPainter& p) { fill(p, MakeRgb(255, 255, 255)); }))
            return;
    }
    fill(painter_, color);
}

void QtCanvas::drawArc(const Pen& pen, const RectF& box, double start, double sweep) {
    if (!active() || !Finite(box) || !std::isfinite(start) || !std::isfinite(sweep) || sweep == 0 ||
        !std::isfinite(pen.width))
        return;
    if (keepsShape(pen, false, false)) {
        ShapeKey key;
        key.add(static_cast<double>(ShapeKind::Arc)).add(pen).add(box).add(start).add(sweep);
        if (drawKept(key, pen.color, EllipseBox(box, 10 * std::max(pen.width, 1.0)),
                     [&](QPainter& p) { arcOn(p, White(pen), box, start, sweep); }))
            return;
    }
    arcOn(painter_, pen, box, start, sweep);
}

// An ellipse or arc reaching far beyond what the device shows is stroked
// as the parts of it shown, each through strokeOn, which cuts and dashes
// it; the dashes keep their places along the whole arc.  False: it is not
// so large, and the caller draws it whole.
bool QtCanvas::strokeFarArc(QPainter& painter, const Pen& pen, const RectF& box, double start, double sweep) {
    const std::optional<RectF> view = ShownRect(painter, StrokeReach(pen.width));
    if (!view || !EllipseFarBeyond(box, *view)) return false;
    Pen open = pen;
    double period = 0;
    if (UsableDashPattern(pen.dashes)) {
        const double unit = pen.width > 0 ? pen.width : 1.0;
        for (double d : pen.dashes) period += d * unit;
    }
    // A whole ellipse has no ends: its parts end off the device.
    if (std::abs(sweep) >= 360) open.roundCaps = false;
    for (const auto& part : ShownArcParts(box, start, sweep, *view, period))
        if (part.size() >= 2 && Finite(part)) strokeOn(painter, open, part, false);
    return true;
}

void QtCanvas::arcOn(QPainter& painter, const Pen& pen, const RectF& box, double start, double sweep) {
    if (strokeFarArc(painter, pen, box, start, sweep)) return;
    if (UsableDashPattern(pen.dashes)) {
        const auto points = ArcPolyline(box, start, sweep);
        if (points.size() >= 2 && Finite(points)) strokeOn(painter, pen, points, false);
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
    const HalfPixelShift shift(painter, centred(pen));
    painter.setBrush(Qt::NoBrush);
    painter.strokePath(path, SolidQPen(pen, pen.roundCaps ? Qt::RoundCap : Qt::FlatCap));
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
    auto fill = [&](QPainter& p, Rgb c) {
        p.setPen(Qt::NoPen);
        p.setBrush(ToQColor(c));
        p.drawPath(path);
    };
    if (keepsFills()) {
        ShapeKey key;
        key.add(static_cast<double>(ShapeKind::FillPie)).add(box).add(start).add(sweep);
        if (drawKept(key, color, EllipseBox(box, 0), [&](QPainter& p) { fill(p, MakeRgb(255, 255, 255)); }))
            return;
    }
    fill(painter_, color);
}

void QtCanvas::fillRect(Rgb color, const RectF& r) {
    if (!active() || !Finite(r)) return;
    painter_.fillRect(ToQ(r), ToQColor(color));
}

void QtCanvas::drawText(const Font& font, Rgb color, const std::string& text, PointF at, TextFormat format) {
    if (!active() || text.empty() || !std::isfinite(at.x) || !std::isfinite(at.y)) return;
    const TextPlacement p = text_.place(font, text, at, format);
    painter_.setPen(ToQColor(color));
    painter_.setBrush(Qt::NoBrush);
    for (const ShownRun& r : text_.shown(font, text).runs) {
        QFont f = r.font;
        if (!textAntialias_) f.setStyleStrategy(QFont::NoAntialias);
        painter_.setFont(f);
        painter_.drawText(QPointF(p.left + r.x, p.top + p.ascent), r.text);
    }
}

SizeF QtCanvas::measureText(const Font& font, const std::string& text) { return text_.measure(font, text); }

RectF QtCanvas::measureInk(const Font& font, const std::string& text) { return text_.ink(font, text); }

}  // namespace pelmar
