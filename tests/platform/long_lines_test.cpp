// Lines and ellipses of any size cost what the picture shows: they are cut
// to the picture before they are dashed, the dashes on the picture lie
// where they lay on the whole line, and every canvas gets a bounded number
// of pieces.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "platform/canvas_geometry.h"
#include "platform/emf_canvas.h"
#include "platform/qt_canvas.h"
#include "support/long_strokes.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// A line up to 10^maxLog10 long through a point near a picture of the given
// side, or, one time in four, far off it sideways.
std::array<PointF, 2> SomeLine(std::mt19937_64& rng, double side, double maxLog10 = 15) {
    return LongSegment(rng, maxLog10, [&] {
        const bool far = Uniform(rng) < 0.25;
        return PointF{(Uniform(rng) * 3 - 1) * side * (far ? 1e6 : 1), (Uniform(rng) * 3 - 1) * side};
    });
}

std::vector<double> SomePattern(std::mt19937_64& rng) {
    if (Uniform(rng) < 0.1) return {1e-3, 1e-3};  // finer than any pixel
    return {1 + 20 * Uniform(rng), 1 + 20 * Uniform(rng)};
}

using Pieces = std::vector<std::pair<PointF, PointF>>;

// The part of each dash within `inner` (in order), as pairs of ends.
Pieces InnerPieces(const std::vector<std::vector<PointF>>& dashes, const RectF& inner) {
    Pieces out;
    for (const auto& dash : dashes)
        for (const auto& part : ClipPath(dash, false, inner, 0))
            if (std::hypot(part.back().x - part.front().x, part.back().y - part.front().y) > 1e-6)
                out.push_back({part.front(), part.back()});
    return out;
}

bool Near(PointF a, PointF b, double tolerance) {
    return std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance;
}

bool SamePieces(const Pieces& a, const Pieces& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (!Near(a[k].first, b[k].first, 1e-6) || !Near(a[k].second, b[k].second, 1e-6)) return false;
    return true;
}

RectF Grown(const RectF& r, double by) { return {r.x - by, r.y - by, r.w + 2 * by, r.h + 2 * by}; }

QImage WhiteImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

int Differing(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

}  // namespace

// Whatever the line, no more dashes than the view holds, all finite; on lines
// short enough to split whole, and on polylines and closed paths (the
// pattern running on across corners and the closing side), the view shows
// exactly the dashes the whole line has there.
TEST(LongLines, DashesAreBoundedByTheViewAndLieWhereTheyLay) {
    std::mt19937_64 rng(49);
    const RectF inner{0, 0, 400, 300};
    const RectF view = Grown(inner, StrokeReach(3));
    const double diagonal = std::hypot(view.w, view.h);
    int compared = 0;
    for (int i = 0; i < 1500; ++i) {
        const auto line = SomeLine(rng, 400);
        const auto pattern = SomePattern(rng);
        const double period = pattern[0] + pattern[1];
        const auto dashes = SplitDashes(line, pattern, false, view);
        ASSERT_LE(static_cast<double>(dashes.size()), std::min(diagonal / period + 2, kMaxDashes + 2)) << i;
        for (const auto& d : dashes)
            for (const PointF& p : d) ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
        if (std::hypot(line[1].x - line[0].x, line[1].y - line[0].y) > 2e4 || period < 1) continue;
        const auto whole = InnerPieces(SplitDashes(line, pattern, false), inner);
        ASSERT_TRUE(SamePieces(whole, InnerPieces(dashes, inner))) << i;
        compared += !whole.empty();
    }
    EXPECT_GT(compared, 50);

    std::uniform_real_distribution<double> x(-400, 800), y(-300, 600);
    for (int i = 0; i < 300; ++i) {
        std::vector<PointF> path;
        for (int k = 0; k < 6; ++k) path.push_back({x(rng), y(rng)});
        const std::vector<double> pattern{3, 2, 1, 2};
        const auto whole = InnerPieces(SplitDashes(path, pattern, i % 2), inner);
        ASSERT_TRUE(SamePieces(whole, InnerPieces(SplitDashes(path, pattern, i % 2, view), inner))) << i;
    }
}

// The screen's canvas finishes long lines, solid and dashed, thin and wide,
// as lines, polylines, polygons, ellipses and arcs; a moderate line crossing
// a picture gives the pixels it gives drawn whole on a larger picture.
TEST(LongLines, TheScreenCanvasDrawsThePictureOnly) {
    std::mt19937_64 rng(3);
    for (int i = 0; i < 200; ++i) {
        QImage image = WhiteImage(200, 150);
        QtCanvas canvas(image, i % 3 != 0);
        Pen pen;
        pen.width = i % 4;
        pen.roundCaps = i % 5 != 0;
        if (i % 2 == 0) pen.dashes = SomePattern(rng);
        const auto line = SomeLine(rng, 200);
        if (i % 7 == 0) canvas.setRotation(30, {100, 75});
        canvas.drawLine(pen, line[0], line[1]);
        const PointF three[3] = {line[0], {100, 75}, line[1]};
        if (i % 3 == 0) canvas.drawPolygon(pen, three);
        else canvas.drawPolyline(pen, three);
        const LineF lines[2] = {{line[0], line[1]}, {line[1], {50, 50}}};
        canvas.drawLines(pen, lines);
        const double r = std::hypot(line[1].x - line[0].x, line[1].y - line[0].y) / 2;
        const RectF box{100 - r, 75 - 2 * r, 2 * r, 2 * r};
        canvas.drawEllipse(pen, box);
        canvas.drawArc(pen, box, 30 * i, 100);
    }

    // Lines reaching well beyond a 120 x 90 picture, against the same lines
    // in the middle of a picture five times as large.
    std::mt19937_64 moderate(11);
    int differing = 0;
    for (int i = 0; i < 60; ++i) {
        Pen pen;
        pen.width = 1 + i % 3;
        pen.roundCaps = i % 2;
        pen.dashes = {3, 2};
        auto line = SomeLine(moderate, 120, 2.3);
        for (PointF& p : line) p = {std::clamp(p.x, -100.0, 220.0), std::clamp(p.y, -80.0, 170.0)};
        QImage small = WhiteImage(120, 90), large = WhiteImage(600, 450);
        QtCanvas(small, false).drawLine(pen, line[0], line[1]);
        {
            QPainter p(&large);
            p.translate(240, 180);
            QtCanvas(p, false).drawLine(pen, line[0], line[1]);
        }
        differing += Differing(small, large.copy(240, 180, 120, 90));
    }
    EXPECT_LE(differing, 10);  // a pixel at a dash's end where a rounding turns
}

// The metafile: long dashed lines, turned or not, give records bounded by
// the picture: at most its diagonal (with the pen's reach) of dashes of two
// pen widths per line, a point pair each.
TEST(LongLines, TheMetafileHoldsThePictureOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath("long.emf");
    std::mt19937_64 rng(5);
    constexpr int Lines = 300;
    {
        EmfCanvas canvas(path.toStdString(), 300, 200, 96, true);
        for (int i = 0; i < Lines; ++i) {
            Pen pen;
            pen.width = 1 + i % 3;
            pen.dashes = {1, 1};
            const auto line = SomeLine(rng, 300);
            if (i % 5 == 0) canvas.setRotation(45, {150, 100});
            if (i % 5 == 1) canvas.resetTransform();
            canvas.drawLine(pen, line[0], line[1]);
        }
        ASSERT_TRUE(canvas.finish());
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const double perLine = (std::hypot(300.0, 200.0) + 4 * StrokeReach(3)) / 2 + 2;
    EXPECT_LT(f.readAll().size(), Lines * (perLine * 20 + 400));
}

namespace {

bool OnEdge(PointF p, const RectF& r, double within) {
    return std::abs(p.x - r.x) < within || std::abs(p.x - r.x - r.w) < within || std::abs(p.y - r.y) < within ||
           std::abs(p.y - r.y - r.h) < within;
}

// Every dash start of `a` inside `r` (off its edges) has one of `b` within `tolerance`.
bool StartsMatch(const Pieces& a, const Pieces& b, const RectF& r, double tolerance) {
    return std::all_of(a.begin(), a.end(), [&](const auto& s) {
        return OnEdge(s.first, r, 2 * tolerance) || std::any_of(b.begin(), b.end(), [&](const auto& o) {
                   return std::hypot(o.first.x - s.first.x, o.first.y - s.first.y) < tolerance;
               });
    });
}

double DistanceToSide(PointF p, PointF a, PointF b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0;
    return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

// Every point of `a` within `inner` lies within `tolerance` of a polyline of `b`.
bool Follows(const std::vector<std::vector<PointF>>& a, const std::vector<std::vector<PointF>>& b,
             const RectF& inner, double tolerance) {
    for (const auto& line : a)
        for (const PointF& p : line) {
            if (!PathWithin(std::span(&p, 1), inner)) continue;
            bool near = false;
            for (const auto& other : b)
                for (std::size_t k = 1; k < other.size() && !near; ++k)
                    near = DistanceToSide(p, other[k - 1], other[k]) < tolerance;
            if (!near) return false;
        }
    return true;
}

}  // namespace

// Ellipses and arcs up to 1E12 pixels: the parts the view shows are few, of
// points bounded by the view, on the curve; an ellipse small enough to
// flatten whole gives the same line and dashes on the view as the whole one;
// on huge circles every part begins a whole number of periods along the arc.
TEST(LongLines, HugeArcsKeepWhatTheViewShowsInPhase) {
    std::mt19937_64 rng(71);
    const RectF inner{0, 0, 400, 300};
    const RectF view = Grown(inner, StrokeReach(2));
    const std::vector<double> pattern{7, 5};
    const double period = 12;
    const RectF bound = Grown(view, period + 3);
    int compared = 0, phased = 0;
    for (int i = 0; i < 1500; ++i) {
        const ArcCase a = RandomArc(rng, inner, 2, 12);
        const auto parts = ShownArcParts(a.box, a.start, a.sweep, view, period);
        ASSERT_LE(parts.size(), 5u) << i;
        std::size_t points = 0;
        for (const auto& part : parts) {
            ASSERT_GE(part.size(), 2u);
            points += part.size();
            for (std::size_t k = 0; k < part.size(); ++k) {
                const PointF p = part[k];
                ASSERT_TRUE(p.x > bound.x && p.x < bound.x + bound.w && p.y > bound.y && p.y < bound.y + bound.h)
                    << i << " " << p.x << " " << p.y;
                if (k == 0) continue;  // may be drawn back along the tangent
                const double u = (p.x - a.centre.x) / a.rx, v = (p.y - a.centre.y) / a.ry;
                ASSERT_NEAR(u * u + v * v, 1, 1e-9) << i;
            }
        }
        ASSERT_LE(points, 5000u) << i;

        if (std::max(a.rx, a.ry) <= 2e4) {
            const auto whole = ArcPolyline(a.box, a.start, a.sweep);
            Pieces shownDashes;
            for (const auto& part : parts)
                for (const auto& piece : InnerPieces(SplitDashes(part, pattern, false), inner))
                    shownDashes.push_back(piece);
            const auto solid = ShownArcParts(a.box, a.start, a.sweep, view, 0);
            EXPECT_TRUE(Follows({whole}, solid, inner, 0.25)) << i;
            EXPECT_TRUE(Follows(solid, {whole}, inner, 0.25)) << i;
            const auto wholeDashes = InnerPieces(SplitDashes(whole, pattern, false), inner);
            EXPECT_TRUE(StartsMatch(wholeDashes, shownDashes, inner, 0.75)) << i;
            EXPECT_TRUE(StartsMatch(shownDashes, wholeDashes, inner, 0.75)) << i;
            compared += !wholeDashes.empty();
        } else if (a.rx == a.ry) {
            const double start = NormalizeArc(a.start, a.sweep).start * std::numbers::pi / 180;
            const PointF first = EllipsePoint(a.box, a.start);
            for (const auto& part : parts) {
                const PointF p0 = part[0], p1 = part[1];
                if (std::hypot(p0.x - first.x, p0.y - first.y) < 1e-2) continue;  // the arc's own start
                double turn = std::atan2(p1.y - a.centre.y, p1.x - a.centre.x) - start;
                if (a.sweep < 0) turn = -turn;
                turn = std::fmod(turn + 4 * std::numbers::pi, 2 * std::numbers::pi);
                const double off = std::fmod(a.rx * turn - std::hypot(p1.x - p0.x, p1.y - p0.y), period);
                EXPECT_TRUE(off < 0.05 || period - off < 0.05) << i << " " << off;
                ++phased;
            }
        }
    }
    EXPECT_GT(compared, 100);
    EXPECT_GT(phased, 50);
}

namespace {

// Draws nothing; counts the path elements and points a painter hands it.
class CountingEngine final : public QPaintEngine {
public:
    CountingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    std::size_t elements = 0;
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath& path) override { elements += static_cast<std::size_t>(path.elementCount()); }
    void drawPolygon(const QPointF*, int n, PolygonDrawMode) override { elements += static_cast<std::size_t>(n); }
    void drawLines(const QLineF*, int n) override { elements += 2 * static_cast<std::size_t>(n); }
    Type type() const override { return QPaintEngine::User; }
};

class CountingDevice final : public QPaintDevice {
public:
    mutable CountingEngine engine;
    QPaintEngine* paintEngine() const override { return &engine; }

protected:
    int metric(PaintDeviceMetric m) const override {
        if (m == PdmWidth || m == PdmHeight) return m == PdmWidth ? 400 : 300;
        if (m == PdmDevicePixelRatioScaled) return static_cast<int>(devicePixelRatioFScale());
        return m == PdmDepth ? 32 : m == PdmDevicePixelRatio ? 1 : 96;
    }
};

}  // namespace

// The screen's canvas hands Qt no more of a huge ellipse or arc than the
// picture shows, solid or dashed, turned or not; a pattern finer than the
// pixels is cut into at most kMaxDashes dashes, as on any line.
TEST(LongLines, TheScreenCanvasHandsQtThePictureOfHugeArcs) {
    std::mt19937_64 rng(23), patterns(29);
    CountingDevice device;
    QPainter painter(&device);
    QtCanvas canvas(painter, true);
    for (int i = 0; i < 400; ++i) {
        const ArcCase a = RandomArc(rng, {0, 0, 400, 300}, 2, 12);
        Pen pen;
        pen.width = i % 4;
        pen.roundCaps = i % 3 != 0;
        if (i % 4 != 3) pen.dashes = SomePattern(patterns);
        if (i % 5 == 0) canvas.setRotation(20, {200, 150});
        const std::size_t before = device.engine.elements;
        if (i % 2) canvas.drawEllipse(pen, a.box);
        else canvas.drawArc(pen, a.box, a.start, a.sweep);
        const bool fine = !pen.dashes.empty() && pen.dashes[0] < 1;
        EXPECT_LE(device.engine.elements - before, fine ? 2 * kMaxDashes + 20000 : 40000) << i;
        canvas.resetTransform();
    }
}

// A huge circle's part on the screen draws as the polyline through its
// points, solid or dashed, the dashes counted from the circle's start.
TEST(LongLines, AHugeCircleShowsAsItsPolyline) {
    const double pi = std::numbers::pi;
    const QImage blank = WhiteImage(200, 150);
    int inked = 0;
    for (int i = 0; i < 16; ++i) {
        const double r = std::pow(10.0, 5 + i % 8);  // 1E5 .. 1E12
        const double t = 0.3 + 0.7 * i;  // where it crosses the picture
        const PointF via{100 + 3.7 * i, 60 + 1.3 * i};
        const PointF centre{via.x - r * std::cos(t), via.y - r * std::sin(t)};
        Pen pen;
        pen.width = 1 + i % 3;
        pen.roundCaps = false;
        if (i % 2) pen.dashes = {4, 3};
        // Points half a pixel apart along the circle from well before the
        // picture to well after it.
        std::vector<PointF> ref;
        const double t0 = std::fmod(t, 2 * pi) - 400 / r;
        for (int k = 0; k <= 1600; ++k)
            ref.push_back({centre.x + r * std::cos(t0 + k * 0.5 / r), centre.y + r * std::sin(t0 + k * 0.5 / r)});
        if (!pen.dashes.empty()) {
            // Drawn back along the tangent to where the pattern starts anew.
            const double back = std::fmod(r * std::fmod(t0 + 2 * pi, 2 * pi), 7 * pen.width);
            ref.insert(ref.begin(), {ref[0].x + back * std::sin(t0), ref[0].y - back * std::cos(t0)});
        }
        QImage drawn = blank, expected = blank;
        QtCanvas(drawn, false).drawEllipse(pen, {centre.x - r, centre.y - r, 2 * r, 2 * r});
        QtCanvas(expected, false).drawPolyline(pen, ref);
        const int ink = Differing(expected, blank);
        EXPECT_GT(ink, 40) << i;
        // A flattened arc lies within a tenth of a pixel of the circle, which
        // turns a pixel here and there where the line grazes a pixel's edge.
        EXPECT_LE(Differing(drawn, expected), 4 + ink / 12) << i << " r " << r << " ink " << ink;
        inked += ink;
    }
    EXPECT_GT(inked, 2000);
}
