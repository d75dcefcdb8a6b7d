// Lines of any length, up to 1E15 pixels, cost what the picture shows: they
// are cut to the picture before they are dashed, the dashes on the picture
// lie where they lay on the whole line, and every canvas finishes with a
// number of pieces bounded by the picture.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

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
