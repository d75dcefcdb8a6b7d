// Lines of any length, up to 1E15 pixels, cost what the picture shows: they
// are cut to the picture before they are dashed, the dashes on the picture
// lie where they lay on the whole line, and every canvas finishes with a
// number of pieces bounded by the picture.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <algorithm>

#include "platform/canvas_geometry.h"
#include "platform/emf_canvas.h"
#include "platform/qt_canvas.h"

using namespace pelmar;

namespace {

// A random line: its length up to 1E15 on a log scale, through a random
// point near the picture (or far off it), at a random angle.
struct LineMaker {
    std::mt19937_64 rng;
    double side;  // the picture's side

    std::vector<PointF> line(double maxLog10 = 15) {
        std::uniform_real_distribution<double> u(0, 1);
        const double length = std::pow(10.0, u(rng) * maxLog10);
        const double angle = u(rng) * 2 * std::numbers::pi;
        const bool far = u(rng) < 0.25;
        const PointF via{(u(rng) * 3 - 1) * side * (far ? 1e6 : 1), (u(rng) * 3 - 1) * side};
        const double before = u(rng) * length;
        const PointF d{std::cos(angle), std::sin(angle)};
        return {{via.x - d.x * before, via.y - d.y * before},
                {via.x + d.x * (length - before), via.y + d.y * (length - before)}};
    }
    std::vector<double> pattern() {
        std::uniform_real_distribution<double> u(0, 1);
        if (u(rng) < 0.1) return {1e-3, 1e-3};  // finer than any pixel
        return {1 + 20 * u(rng), 1 + 20 * u(rng)};
    }
};

double Period(const std::vector<double>& p) { return p[0] + p[1]; }

// The part of each dash within the inner rectangle (in order), as pairs of ends.
std::vector<std::pair<PointF, PointF>> InnerPieces(const std::vector<std::vector<PointF>>& dashes, const RectF& inner) {
    std::vector<std::pair<PointF, PointF>> out;
    for (const auto& dash : dashes)
        for (const auto& part : ClipPath(dash, false, inner, 0))
            if (std::hypot(part.back().x - part.front().x, part.back().y - part.front().y) > 1e-6)
                out.push_back({part.front(), part.back()});
    return out;
}

}  // namespace

// The splitter: whatever the line, no more dashes than the view holds; on
// lines short enough to split whole, the view shows exactly the dashes the
// whole line has there.
TEST(LongLines, DashesAreBoundedByTheViewAndLieWhereTheyLay) {
    LineMaker make{std::mt19937_64(49), 400};
    const RectF inner{0, 0, 400, 300};
    const double reach = StrokeReach(3);
    const RectF view{-reach, -reach, 400 + 2 * reach, 300 + 2 * reach};
    const double diagonal = std::hypot(view.w, view.h);
    int compared = 0;
    for (int i = 0; i < 1500; ++i) {
        const auto line = make.line();
        const auto pattern = make.pattern();
        const auto dashes = SplitDashes(line, pattern, false, view);
        const double bound = std::min(diagonal / Period(pattern) + 2, kMaxDashes + 2);
        ASSERT_LE(static_cast<double>(dashes.size()), bound) << i;
        for (const auto& d : dashes)
            for (const PointF& p : d) ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
        const double length = std::hypot(line[1].x - line[0].x, line[1].y - line[0].y);
        if (length > 2e4 || Period(pattern) < 1) continue;
        const auto whole = InnerPieces(SplitDashes(line, pattern, false), inner);
        const auto shown = InnerPieces(dashes, inner);
        ASSERT_EQ(whole.size(), shown.size()) << i;
        for (std::size_t k = 0; k < whole.size(); ++k) {
            EXPECT_NEAR(whole[k].first.x, shown[k].first.x, 1e-6);
            EXPECT_NEAR(whole[k].first.y, shown[k].first.y, 1e-6);
            EXPECT_NEAR(whole[k].second.x, shown[k].second.x, 1e-6);
            EXPECT_NEAR(whole[k].second.y, shown[k].second.y, 1e-6);
        }
        compared += !whole.empty();
    }
    EXPECT_GT(compared, 50);

    // Polylines and closed paths (an arc's polyline, a polygon) keep the
    // pattern running on across their corners and the closing side.
    for (int i = 0; i < 300; ++i) {
        std::uniform_real_distribution<double> x(-400, 800), y(-300, 600);
        std::vector<PointF> path;
        for (int k = 0; k < 6; ++k) path.push_back({x(make.rng), y(make.rng)});
        const bool closed = i % 2;
        const std::vector<double> pattern{3, 2, 1, 2};
        const auto whole = InnerPieces(SplitDashes(path, pattern, closed), inner);
        const auto shown = InnerPieces(SplitDashes(path, pattern, closed, view), inner);
        ASSERT_EQ(whole.size(), shown.size()) << i;
        for (std::size_t k = 0; k < whole.size(); ++k) {
            EXPECT_NEAR(whole[k].first.x, shown[k].first.x, 1e-6);
            EXPECT_NEAR(whole[k].second.y, shown[k].second.y, 1e-6);
        }
    }
}

// The screen's canvas: long lines, solid and dashed, thin and wide, with
// round caps, as lines, polylines and polygons, finish; a moderate line
// crossing the picture gives the pixels it gives drawn whole on a larger
// picture.
TEST(LongLines, TheScreenCanvasDrawsThePictureOnly) {
    LineMaker make{std::mt19937_64(3), 200};
    for (int i = 0; i < 200; ++i) {
        QImage image(200, 150, QImage::Format_RGB32);
        image.fill(Qt::white);
        QtCanvas canvas(image, i % 3 != 0);
        Pen pen;
        pen.width = i % 4;
        pen.roundCaps = i % 5 != 0;
        if (i % 2 == 0) pen.dashes = make.pattern();
        const auto line = make.line();
        if (i % 7 == 0) canvas.setRotation(30, {100, 75});
        canvas.drawLine(pen, line[0], line[1]);
        const PointF three[3] = {line[0], {100, 75}, line[1]};
        if (i % 3 == 0) canvas.drawPolygon(pen, three);
        else canvas.drawPolyline(pen, three);
        const LineF lines[2] = {{line[0], line[1]}, {line[1], {50, 50}}};
        canvas.drawLines(pen, lines);
        // Ellipses and arcs as large, through the picture.
        const double r = std::hypot(line[1].x - line[0].x, line[1].y - line[0].y) / 2;
        const RectF box{100 - r, 75 - 2 * r, 2 * r, 2 * r};
        canvas.drawEllipse(pen, box);
        canvas.drawArc(pen, box, 30 * i, 100);
    }

    // Moderate lines reaching well beyond a 120 x 90 picture, against the
    // same lines drawn on a picture three times as large.
    LineMaker moderate{std::mt19937_64(11), 120};
    int differing = 0;
    for (int i = 0; i < 60; ++i) {
        Pen pen;
        pen.width = 1 + i % 3;
        pen.roundCaps = i % 2;
        pen.dashes = {3, 2};
        auto line = moderate.line(2.3);
        line[0] = {std::clamp(line[0].x, -100.0, 220.0), std::clamp(line[0].y, -80.0, 170.0)};
        line[1] = {std::clamp(line[1].x, -100.0, 220.0), std::clamp(line[1].y, -80.0, 170.0)};
        QImage small(120, 90, QImage::Format_RGB32);
        small.fill(Qt::white);
        {
            QtCanvas c(small, false);
            c.drawLine(pen, line[0], line[1]);
        }
        QImage large(600, 450, QImage::Format_RGB32);
        large.fill(Qt::white);
        {
            QPainter p(&large);
            p.translate(240, 180);
            QtCanvas c(p, false);
            c.drawLine(pen, line[0], line[1]);
        }
        const QImage middle = large.copy(240, 180, 120, 90);
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 120; ++x) differing += small.pixel(x, y) != middle.pixel(x, y);
    }
    EXPECT_LE(differing, 10);  // a pixel at a dash's end where a rounding turns
}

// The metafile: long dashed lines give records bounded by the picture.
TEST(LongLines, TheMetafileHoldsThePictureOnly) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("long.emf").toStdString();
    LineMaker make{std::mt19937_64(5), 300};
    constexpr int Lines = 300;
    {
        EmfCanvas canvas(path, 300, 200, 96, true);
        for (int i = 0; i < Lines; ++i) {
            Pen pen;
            pen.width = 1 + i % 3;
            pen.dashes = {1, 1};
            const auto line = make.line();
            if (i % 5 == 0) canvas.setRotation(45, {150, 100});
            if (i % 5 == 1) canvas.resetTransform();
            canvas.drawLine(pen, line[0], line[1]);
        }
        ASSERT_TRUE(canvas.finish());
    }
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    // At most the picture's diagonal (with the pen's reach) of dashes of
    // two pen widths per line, a point pair each.
    const double perLine = (std::hypot(300.0, 200.0) + 4 * StrokeReach(3)) / 2 + 2;
    EXPECT_LT(bytes.size(), Lines * (perLine * 20 + 400));
}

namespace {

// A random ellipse or arc through the picture: its larger semi-axis up to
// 10^maxLog10 on a log scale, some of them flat, passing through a random
// point of `inner`.
struct ArcCase {
    RectF box;
    double start = 0, sweep = 360;
    double rx = 0, ry = 0;
    PointF centre;
};

ArcCase RandomArc(std::mt19937_64& rng, const RectF& inner, double maxLog10) {
    std::uniform_real_distribution<double> u(0, 1);
    ArcCase a;
    const double r = std::pow(10.0, 2 + u(rng) * (maxLog10 - 2));
    const double ratio = u(rng) < 0.4 ? 1 : std::pow(10.0, -2 * u(rng));
    a.rx = r;
    a.ry = r * ratio;
    if (u(rng) < 0.5) std::swap(a.rx, a.ry);
    const double t = u(rng) * 2 * std::numbers::pi;
    const PointF via{inner.x + u(rng) * inner.w, inner.y + u(rng) * inner.h};
    a.centre = {via.x - a.rx * std::cos(t), via.y - a.ry * std::sin(t)};
    a.box = {a.centre.x - a.rx, a.centre.y - a.ry, 2 * a.rx, 2 * a.ry};
    a.start = 360 * u(rng);
    a.sweep = u(rng) < 0.3 ? 360 : (u(rng) < 0.5 ? -1 : 1) * (1 + 358 * u(rng));
    return a;
}

bool OnEdge(PointF p, const RectF& r, double within) {
    return std::abs(p.x - r.x) < within || std::abs(p.x - r.x - r.w) < within || std::abs(p.y - r.y) < within ||
           std::abs(p.y - r.y - r.h) < within;
}

// Every dash start of `a` inside `r` (off its edges) has one of `b` within `tolerance`.
bool StartsMatch(const std::vector<std::pair<PointF, PointF>>& a, const std::vector<std::pair<PointF, PointF>>& b,
                 const RectF& r, double tolerance) {
    for (const auto& [s, e] : a) {
        if (OnEdge(s, r, 2 * tolerance)) continue;
        const bool found = std::any_of(b.begin(), b.end(), [&](const auto& o) {
            return std::hypot(o.first.x - s.x, o.first.y - s.y) < tolerance;
        });
        if (!found) return false;
    }
    return true;
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

// Ellipses and arcs of any size, up to 1E12 pixels: the parts the view shows
// are few, of points bounded by the view, on the curve; those of an ellipse
// small enough to flatten whole give the same line and the same dashes on
// the view as the whole one; and on huge circles every part begins a whole
// number of periods along the arc from its start.
TEST(LongLines, HugeArcsKeepWhatTheViewShowsInPhase) {
    std::mt19937_64 rng(71);
    const RectF inner{0, 0, 400, 300};
    const double reach = StrokeReach(2);
    const RectF view{-reach, -reach, 400 + 2 * reach, 300 + 2 * reach};
    const std::vector<double> pattern{7, 5};
    const double period = 12;
    int compared = 0, phased = 0;
    for (int i = 0; i < 1500; ++i) {
        const ArcCase a = RandomArc(rng, inner, 12);
        const auto parts = ShownArcParts(a.box, a.start, a.sweep, view, period);
        ASSERT_LE(parts.size(), 5u) << i;
        std::size_t points = 0;
        for (const auto& part : parts) {
            ASSERT_GE(part.size(), 2u);
            points += part.size();
            for (std::size_t k = 0; k < part.size(); ++k) {
                const PointF p = part[k];
                ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << i;
                ASSERT_TRUE(p.x > view.x - period - 3 && p.x < view.x + view.w + period + 3) << i << " " << p.x;
                ASSERT_TRUE(p.y > view.y - period - 3 && p.y < view.y + view.h + period + 3) << i << " " << p.y;
                if (k == 0) continue;  // may be drawn back along the tangent
                const double u = (p.x - a.centre.x) / a.rx, v = (p.y - a.centre.y) / a.ry;
                ASSERT_NEAR(u * u + v * v, 1, 1e-9) << i;
            }
        }
        ASSERT_LE(points, 5000u) << i;

        if (std::max(a.rx, a.ry) <= 2e4) {
            const auto whole = ArcPolyline(a.box, a.start, a.sweep);
            std::vector<std::pair<PointF, PointF>> shownDashes;
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
                const double along = a.rx * turn - std::hypot(p1.x - p0.x, p1.y - p0.y);
                const double off = std::fmod(along, period);
                EXPECT_TRUE(off < 0.05 || period - off < 0.05) << i << " " << along;
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
// picture shows, solid or dashed, turned or not.
TEST(LongLines, TheScreenCanvasHandsQtThePictureOfHugeArcs) {
    std::mt19937_64 rng(23);
    LineMaker patterns{std::mt19937_64(29), 400};
    CountingDevice device;
    QPainter painter(&device);
    QtCanvas canvas(painter, true);
    for (int i = 0; i < 400; ++i) {
        const ArcCase a = RandomArc(rng, {0, 0, 400, 300}, 12);
        Pen pen;
        pen.width = i % 4;
        pen.roundCaps = i % 3 != 0;
        if (i % 4 != 3) pen.dashes = patterns.pattern();
        if (i % 5 == 0) canvas.setRotation(20, {200, 150});
        const std::size_t before = device.engine.elements;
        if (i % 2) canvas.drawEllipse(pen, a.box);
        else canvas.drawArc(pen, a.box, a.start, a.sweep);
        // A pattern finer than the pixels is cut into at most kMaxDashes
        // dashes, as on any line; others into what the picture holds.
        const bool fine = !pen.dashes.empty() && pen.dashes[0] < 1;
        EXPECT_LE(device.engine.elements - before, fine ? 2 * kMaxDashes + 20000 : 40000) << i;
        canvas.resetTransform();
    }
}

// A huge circle's part on the screen is the line through its points drawn
// as a polyline, solid or dashed, the dashes where they lie on the whole
// circle counted from its start.
TEST(LongLines, AHugeCircleShowsAsItsPolyline) {
    const double pi = std::numbers::pi;
    int inked = 0;
    for (int i = 0; i < 16; ++i) {
        const double r = std::pow(10.0, 5 + i % 8);  // 1E5 .. 1E12
        const double t = 0.3 + 0.7 * i;  // where it crosses the picture
        const PointF via{100 + 3.7 * i, 60 + 1.3 * i};
        const PointF centre{via.x - r * std::cos(t), via.y - r * std::sin(t)};
        const RectF box{centre.x - r, centre.y - r, 2 * r, 2 * r};
        Pen pen;
        pen.width = 1 + i % 3;
        pen.roundCaps = false;
        if (i % 2) pen.dashes = {4, 3};
        const double period = 7 * pen.width;
        // The reference: points half a pixel apart along the circle from
        // well before the picture to well after it.
        std::vector<PointF> ref;
        const double step = 0.5 / r;
        const double t0 = std::fmod(t, 2 * pi) - 400 / r;
        for (int k = 0; k <= 1600; ++k)
            ref.push_back({centre.x + r * std::cos(t0 + k * step), centre.y + r * std::sin(t0 + k * step)});
        if (!pen.dashes.empty()) {
            // Drawn back along the tangent to where the pattern starts anew.
            const double back = std::fmod(r * std::fmod(t0 + 2 * pi, 2 * pi), period);
            ref.insert(ref.begin(), {ref[0].x + back * std::sin(t0), ref[0].y - back * std::cos(t0)});
        }
        QImage drawn(200, 150, QImage::Format_RGB32), expected(200, 150, QImage::Format_RGB32);
        drawn.fill(Qt::white);
        expected.fill(Qt::white);
        {
            QtCanvas c(drawn, false);
            c.drawEllipse(pen, box);
        }
        {
            QtCanvas c(expected, false);
            c.drawPolyline(pen, ref);
        }
        int ink = 0, differing = 0;
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 200; ++x) {
                ink += expected.pixel(x, y) != qRgb(255, 255, 255);
                differing += drawn.pixel(x, y) != expected.pixel(x, y);
            }
        EXPECT_GT(ink, 40) << i;
        // A flattened arc lies within a tenth of a pixel of the circle, which
        // turns a pixel here and there where the line grazes a pixel's edge.
        EXPECT_LE(differing, 4 + ink / 12) << i << " r " << r << " ink " << ink;
        inked += ink;
    }
    EXPECT_GT(inked, 2000);
}
