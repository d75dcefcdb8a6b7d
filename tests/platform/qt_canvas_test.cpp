#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <set>

#include "platform/qt_canvas.h"

using namespace pelmar;

namespace {

constexpr Rgb White = 0xFFFFFF;
constexpr Rgb Black = 0x000000;

QImage Blank(int w = 120, int h = 120) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    return img;
}

bool Inked(const QImage& img, int x, int y) { return img.pixel(x, y) != qRgb(255, 255, 255); }

bool InkedNear(const QImage& img, double x, double y, int radius = 2) {
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const int px = static_cast<int>(std::floor(x)) + dx, py = static_cast<int>(std::floor(y)) + dy;
            if (px >= 0 && py >= 0 && px < img.width() && py < img.height() && Inked(img, px, py)) return true;
        }
    return false;
}

int CountInked(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += Inked(img, x, y);
    return n;
}

std::set<QRgb> Colours(const QImage& img) {
    std::set<QRgb> s;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) s.insert(img.pixel(x, y));
    return s;
}

Pen Thick(double w, std::vector<double> dashes = {}) {
    Pen p;
    p.width = w;
    p.color = Black;
    p.dashes = std::move(dashes);
    return p;
}

}  // namespace

TEST(QtCanvasLines, ALineCoversItsPixelsAndNoOthers) {
    QImage img = Blank();
    {
        QtCanvas c(img, false);
        Pen p = Thick(3);
        p.roundCaps = false;
        c.drawLine(p, {10, 20.5}, {90, 20.5});
    }
    for (int x = 10; x < 90; ++x) {
        EXPECT_TRUE(Inked(img, x, 19)) << x;
        EXPECT_TRUE(Inked(img, x, 20)) << x;
        EXPECT_TRUE(Inked(img, x, 21)) << x;
        EXPECT_FALSE(Inked(img, x, 17)) << x;
        EXPECT_FALSE(Inked(img, x, 23)) << x;
    }
    EXPECT_FALSE(Inked(img, 8, 20));  // flat ends
    EXPECT_FALSE(Inked(img, 91, 20));
    EXPECT_EQ(CountInked(img), 80 * 3);
}

TEST(QtCanvasLines, RoundCapsAreRoundNotSquare) {
    QImage img = Blank();
    {
        QtCanvas c(img, false);
        c.drawLine(Thick(8), {10, 20.5}, {46, 20.5});
    }
    EXPECT_TRUE(Inked(img, 6, 20));    // the cap reaches 4 px beyond the end
    EXPECT_FALSE(Inked(img, 6, 17));   // but not into the square's corner
    EXPECT_TRUE(Inked(img, 48, 20));
    EXPECT_FALSE(Inked(img, 49, 17));
}

// The faster ways give the pixels of the plain ones, over random lines and
// polylines with sharp turns: a batch of lines equals the lines drawn one at
// a time, a long polyline (whose outline the canvas keeps) equals QPainter's
// own stroke of it, drawn the first time and again from what was kept, also
// moved with the picture, and lines and polylines kept as the pixels they
// cover are laid down as they were drawn.
TEST(QtCanvasLines, BatchesAndKeptOutlinesDrawThePixelsOfThePlainStrokes) {
    std::srand(29);
    auto rnd = [](double lo, double hi) { return lo + (hi - lo) * std::rand() / RAND_MAX; };
    for (bool smooth : {true, false})
        for (double width : {0.0, 1.0, 2.0, 2.5, 3.0, 4.0})
            for (bool round : {true, false}) {
                Pen pen = Thick(width);
                pen.color = 0x3050C0;
                pen.roundCaps = round;
                std::vector<LineF> lines;
                for (int i = 0; i < 40; ++i)
                    lines.push_back({{rnd(0, 120), rnd(0, 120)}, {rnd(0, 120), rnd(0, 120)}});
                lines.push_back({{10, 10}, {10, 110}});  // crossings of straight lines, as on a grid
                lines.push_back({{0, 50}, {120, 50}});
                QImage one = Blank(), batch = Blank();
                {
                    QtCanvas c(one, smooth);
                    for (const LineF& l : lines) c.drawLine(pen, l.a, l.b);
                }
                {
                    QtCanvas c(batch, smooth);
                    c.drawLines(pen, lines);
                }
                EXPECT_TRUE(one == batch) << smooth << " " << width << " " << round;

                std::vector<PointF> poly;
                for (int i = 0; i < 30; ++i) poly.push_back({rnd(5, 115), rnd(5, 115)});
                QImage plain = Blank();
                {
                    QPainter p(&plain);
                    p.setRenderHint(QPainter::Antialiasing, smooth);
                    if (smooth && (width == 0.0 || width == 1.0 || width == 3.0)) p.translate(0.5, 0.5);  // odd widths sit on pixel centres
                    QPen q(QColor(0xC0, 0x50, 0x30));
                    q.setWidthF(width);
                    q.setCapStyle(round ? Qt::RoundCap : Qt::FlatCap);
                    q.setJoinStyle(Qt::MiterJoin);
                    q.setMiterLimit(10);
                    p.setPen(q);
                    QPolygonF qp;
                    for (const PointF& pt : poly) qp << QPointF(pt.x + 7, pt.y + 5);
                    p.drawPolyline(qp);
                }
                for (int pass = 0; pass < 2; ++pass) {
                    QImage img = Blank();
                    {
                        QPainter painter(&img);
                        painter.translate(7, 5);
                        QtCanvas c(painter, smooth);
                        c.drawPolyline(pen, poly);
                    }
                    EXPECT_TRUE(img == plain) << smooth << " " << width << " " << round << " pass " << pass;
                }

                // Kept: on a noisy picture (where every blend shows), the
                // same lines and polyline drawn plainly, then three times
                // through what the canvas keeps (plain and noted, read back,
                // laid down), in a new colour the last time.
                for (QImage::Format format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB32}) {
                    QImage noise(120, 120, format);
                    for (int y = 0; y < 120; ++y)
                        for (int x = 0; x < 120; ++x)
                            noise.setPixel(x, y, qRgb(std::rand() & 0xFF, std::rand() & 0xFF, x + y));
                    KeptDrawingPtr keptLines, keptPoly;
                    for (int time = 0; time < 4; ++time) {
                        Pen p = pen;
                        if (time == 3) p.color = 0x20C060;
                        QImage want = noise, got = noise;
                        {
                            QtCanvas c(want, smooth);
                            c.drawLines(p, lines);
                            c.drawPolyline(p, poly);
                        }
                        {
                            QtCanvas c(got, smooth);
                            if (time == 0) {
                                c.drawLines(p, lines);
                                c.drawPolyline(p, poly);
                            } else {
                                c.drawKeptLines(p, lines, keptLines);
                                c.drawKeptPolyline(p, poly, keptPoly);
                            }
                        }
                        EXPECT_TRUE(got == want) << smooth << " " << width << " " << round << " format " << format
                                                 << " time " << time;
                    }
                }
            }
}

TEST(QtCanvasDashes, DashesHaveGapsFlatEndsAndRoundCapsOnlyAtTheLineEnds) {
    // Width 8, pattern 2 and 1 pen widths: dashes of 16 px and gaps of 8 px:
    // 10..26, 34..50; the line ends at 46, inside the second dash.
    QImage img = Blank();
    {
        QtCanvas c(img, false);
        c.drawLine(Thick(8, {2, 1}), {10, 20.5}, {46, 20.5});
    }
    // Round cap at the start.
    EXPECT_TRUE(Inked(img, 6, 20));
    EXPECT_FALSE(Inked(img, 6, 17));
    // The first dash ends flat at 26 across the whole width.
    for (int y = 17; y <= 23; ++y) {
        EXPECT_TRUE(Inked(img, 25, y)) << y;
        EXPECT_FALSE(Inked(img, 26, y)) << y;
        EXPECT_FALSE(Inked(img, 28, y)) << y;  // a round dash end would reach 30
    }
    // The gap, then the second dash.
    for (int x = 26; x < 34; ++x) EXPECT_FALSE(Inked(img, x, 20)) << x;
    EXPECT_TRUE(Inked(img, 34, 20));
    // Round cap at the end, which lies inside a dash.
    EXPECT_TRUE(Inked(img, 48, 20));
    EXPECT_FALSE(Inked(img, 49, 17));
}

TEST(QtCanvasDashes, ALineEndingInAGapGetsNoEndCap) {
    QImage img = Blank();
    {
        QtCanvas c(img, false);
        c.drawLine(Thick(8, {2, 1}), {10, 20.5}, {30, 20.5});  // ends in the gap 26..34
    }
    EXPECT_TRUE(Inked(img, 6, 20));
    for (int x = 26; x < 40; ++x) EXPECT_FALSE(Inked(img, x, 20)) << x;
}

TEST(QtCanvasDashes, HairlinePatternIsInPixels) {
    QImage img = Blank();
    {
        QtCanvas c(img, false);
        c.drawLine(Thick(0, {4, 2}), {10, 10.5}, {40, 10.5});
    }
    // 10..14 on, 14..16 off, 16..20 on
    EXPECT_TRUE(Inked(img, 10, 10));
    EXPECT_TRUE(Inked(img, 13, 10));
    EXPECT_FALSE(Inked(img, 14, 10));
    EXPECT_FALSE(Inked(img, 15, 10));
    EXPECT_TRUE(Inked(img, 16, 10));
}

TEST(QtCanvasDashes, RefusedPatternDrawsSolid) {
    QImage img = Blank();
    {
        QtCanvas c(img, false);
        c.drawLine(Thick(2, {3, 0}), {10, 10}, {60, 10});
    }
    for (int x = 12; x < 58; ++x) EXPECT_TRUE(Inked(img, x, 10)) << x;
}

TEST(QtCanvasArcs, AnglesRunClockwiseFromThreeOClock) {
    QImage img = Blank();
    {
        QtCanvas c(img, false);
        c.drawArc(Thick(3), {5, 5, 90, 90}, 0, 90);  // centre (50, 50), radius 45
    }
    EXPECT_TRUE(InkedNear(img, 95, 50));   // 0 degrees: right
    EXPECT_TRUE(InkedNear(img, 50, 95));   // 90 degrees: down on the picture
    EXPECT_TRUE(InkedNear(img, 50 + 45 * std::cos(0.785), 50 + 45 * std::sin(0.785)));
    EXPECT_FALSE(InkedNear(img, 50, 5, 3));   // 270: up
    EXPECT_FALSE(InkedNear(img, 5, 50, 3));   // 180: left
}

TEST(QtCanvasArcs, AnArcAcrossZeroDegreesDraws) {
    for (const auto& [start, sweep] : {std::pair{350.0, 20.0}, {10.0, -20.0}, {-10.0, 20.0}, {710.0, 20.0}}) {
        QImage img = Blank();
        {
            QtCanvas c(img, false);
            c.drawArc(Thick(3), {5, 5, 90, 90}, start, sweep);
        }
        // Pixels on both sides of 0 degrees (above and below the centre line).
        EXPECT_TRUE(InkedNear(img, 50 + 45 * std::cos(-0.087), 50 + 45 * std::sin(-0.087), 1)) << start;
        EXPECT_TRUE(InkedNear(img, 50 + 45 * std::cos(0.087), 50 + 45 * std::sin(0.087), 1)) << start;
        EXPECT_FALSE(InkedNear(img, 50, 95, 3)) << start;
        EXPECT_FALSE(InkedNear(img, 50, 5, 3)) << start;
    }
}

TEST(QtCanvasArcs, DashedArcAcrossZeroDrawsToo) {
    QImage img = Blank();
    {
        QtCanvas c(img, false);
        c.drawArc(Thick(2, {1, 1}), {5, 5, 90, 90}, 350, 20);
    }
    int above = 0, below = 0;
    for (int y = 30; y < 70; ++y)
        for (int x = 85; x < 100; ++x)
            if (Inked(img, x, y)) (y < 50 ? above : below)++;
    EXPECT_GT(above, 0);
    EXPECT_GT(below, 0);
}

TEST(QtCanvasArcs, AnglesOnAWideEllipseFollowTheRay) {
    QImage img = Blank(220, 120);
    {
        QtCanvas c(img, false);
        c.drawArc(Thick(3), {0, 0, 200, 100}, 40, 10);  // centre (100, 50)
    }
    // 45 degrees is where the diagonal ray meets the ellipse: (144.7, 94.7).
    EXPECT_TRUE(InkedNear(img, 144.7, 94.7, 1));
    // Parameter 45 would be at (170.7, 85.4).
    EXPECT_FALSE(InkedNear(img, 170.7, 85.4, 2));
}

TEST(QtCanvasFills, PieAcrossZeroDegrees) {
    QImage img = Blank();
    {
        QtCanvas c(img, false);
        c.fillPie(Black, {5, 5, 90, 90}, 330, 60);
    }
    EXPECT_TRUE(Inked(img, 85, 40));
    EXPECT_TRUE(Inked(img, 85, 60));
    EXPECT_FALSE(Inked(img, 20, 50));
    EXPECT_FALSE(Inked(img, 50, 85));
}

TEST(QtCanvasSmoothing, AntialiasingMakesIntermediateColoursAndItsAbsenceDoesNot) {
    for (bool aa : {true, false}) {
        QImage img = Blank();
        {
            QtCanvas c(img, aa);
            c.drawLine(Thick(2), {10, 10}, {100, 73});
            c.fillEllipse(Black, {20, 60, 33.3, 41.7});
        }
        const auto colours = Colours(img);
        if (aa)
            EXPECT_GT(colours.size(), 2u);
        else
            EXPECT_EQ(colours.size(), 2u);
    }
}

TEST(QtCanvasText, DrawsInItsBoxAndMeasures) {
    QImage img = Blank(200, 80);
    Font f{"DejaVu Sans", 20, true, false};
    SizeF size;
    {
        QtCanvas c(img, true);
        size = c.measureText(f, "Hello");
        c.drawText(f, MakeRgb(255, 0, 0), "Hello", {100, 40}, {TextAlign::Center, TextAlign::Center});
    }
    EXPECT_GT(size.w, 20);
    EXPECT_GT(size.h, 15);
    int inked = 0, outside = 0, red = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (!Inked(img, x, y)) continue;
            ++inked;
            if (std::abs(x - 100) > size.w / 2 + 2 || std::abs(y - 40) > size.h / 2 + 2) ++outside;
            if (img.pixel(x, y) == qRgb(255, 0, 0)) ++red;
        }
    EXPECT_GT(inked, 50);
    EXPECT_EQ(outside, 0);
    EXPECT_GT(red, 10);
    // Empty text measures nothing and draws nothing.
    QImage other = Blank();
    {
        QtCanvas c(other);
        EXPECT_EQ(c.measureText(f, "").w, 0);
        c.drawText(f, Black, "", {50, 50}, {});
    }
    EXPECT_EQ(CountInked(other), 0);
}

TEST(QtCanvasText, TextWithoutSmoothingHasTwoColours) {
    QImage img = Blank(200, 80);
    {
        QtCanvas c(img, false);
        c.setTextAntialias(false);
        c.drawText({"DejaVu Sans", 24, false, true}, Black, "Wave", {10, 10}, {});
    }
    EXPECT_EQ(Colours(img).size(), 2u);
    EXPECT_GT(CountInked(img), 50);
}

TEST(QtCanvasText, NearPutsTheTopLeftCornerOnThePoint) {
    QImage img = Blank(200, 80);
    {
        QtCanvas c(img, false);
        c.drawText({"DejaVu Sans", 20, false, false}, Black, "MMM", {50, 30}, {});
    }
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (Inked(img, x, y)) {
                EXPECT_GE(x, 49);
                EXPECT_GE(y, 30);
            }
}

TEST(QtCanvasTransform, RotationTurnsShapesClockwiseAboutTheCentre) {
    QImage img = Blank();
    {
        QtCanvas c(img, false);
        c.setRotation(90, {60, 60});
        c.fillRect(Black, {60, 55, 40, 10});  // to the right of the centre, turned down
        c.resetTransform();
        c.fillRect(Black, {0, 0, 4, 4});
    }
    EXPECT_TRUE(Inked(img, 60, 90));
    EXPECT_FALSE(Inked(img, 90, 60));
    EXPECT_TRUE(Inked(img, 1, 1));
}

TEST(QtCanvasClip, ClipsInPictureCoordinatesAndResets) {
    QImage img = Blank();
    {
        QtCanvas c(img, false);
        c.setRotation(45, {60, 60});
        c.setClipRect({10, 10, 20, 20});
        c.resetTransform();
        c.fillRect(Black, {0, 0, 120, 120});
        c.resetClip();
        c.fillRect(Black, {100, 100, 5, 5});
    }
    EXPECT_TRUE(Inked(img, 10, 10));
    EXPECT_TRUE(Inked(img, 29, 29));
    EXPECT_FALSE(Inked(img, 31, 31));
    EXPECT_FALSE(Inked(img, 9, 20));
    EXPECT_TRUE(Inked(img, 102, 102));
}

TEST(QtCanvasClip, EmptyClipHidesEverything) {
    QImage img = Blank();
    {
        QtCanvas c(img, false);
        c.setClipRect({10, 10, 0, 0});
        c.fillRect(Black, {0, 0, 120, 120});
        c.drawLine(Thick(3), {0, 0}, {100, 100});
    }
    EXPECT_EQ(CountInked(img), 0);
}

TEST(QtCanvasRobustness, NonFiniteInputAndFinishedCanvasDrawNothing) {
    QImage img = Blank();
    {
        QtCanvas c(img, true);
        c.drawLine(Thick(3), {NAN, 0}, {100, 100});
        c.drawEllipse(Thick(3), {0, 0, INFINITY, 10});
        c.drawArc(Thick(3), {0, 0, 50, 50}, NAN, 30);
        c.drawArc(Thick(3), {0, 0, 50, 50}, 0, 0);
        const PointF one[] = {{5, 5}};
        c.drawPolyline(Thick(3), one);
        c.fillPolygon(Black, one);
        c.finish();
        c.fillRect(Black, {0, 0, 50, 50});
    }
    EXPECT_EQ(CountInked(img), 0);
}

TEST(QtCanvasImage, OtherFormatsAreConvertedForSpeed) {
    QImage img(20, 20, QImage::Format_RGB888);
    img.fill(Qt::white);
    {
        QtCanvas c(img);
        c.fillRect(Black, {0, 0, 5, 5});
    }
    EXPECT_EQ(img.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(img.pixel(2, 2), qRgb(0, 0, 0));
}

// Every plain drawing call on the own picture, drawn again and again with
// keeping on (noted, read back, laid down), gives the pixels of drawing it
// with keeping off: random shapes of every kind, widths and dashes, on noise
// in both picture formats, smoothed and not; then the same shapes changed in
// one thing each (colour, width, place, dashes, caps, smoothing, rotation)
// are drawn anew, not from what was kept of them before.
TEST(QtCanvasLines, KeptShapesDrawThePixelsOfThePlainCalls) {
    std::srand(2929);
    auto rnd = [](double lo, double hi) { return lo + (hi - lo) * std::rand() / RAND_MAX; };
    struct Shape {
        int kind;
        std::vector<PointF> points;
        RectF box;
        double start, sweep;
        Pen pen;
        Rgb fill;
    };
    enum Change { None, Colour, Width, Place, Dashes, Caps, Smoothing, Rotation, Changes };
    auto draw = [](Canvas& c, const Shape& s) {
        switch (s.kind) {
        case 0: c.drawLine(s.pen, s.points[0], s.points[1]); break;
        case 1: c.drawPolyline(s.pen, s.points); break;
        case 2: c.drawPolygon(s.pen, s.points); break;
        case 3: c.fillPolygon(s.fill, s.points); break;
        case 4: c.drawEllipse(s.pen, s.box); break;
        case 5: c.fillEllipse(s.fill, s.box); break;
        case 6: c.drawArc(s.pen, s.box, s.start, s.sweep); break;
        default: c.fillPie(s.fill, s.box, s.start, s.sweep); break;
        }
    };
    const std::vector<double> widths{0, 1, 2, 2.5, 3, 4, 5};
    for (bool smooth : {true, false})
        for (QImage::Format format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB32})
            for (int change = None; change < Changes; ++change) {
                std::vector<Shape> shapes;
                for (int i = 0; i < 24; ++i) {
                    Shape s;
                    s.kind = i % 8;
                    const int n = s.kind == 0 ? 2 : 3 + std::rand() % 4;
                    for (int k = 0; k < n; ++k) s.points.push_back({rnd(5, 115), rnd(5, 115)});
                    s.box = {rnd(5, 70), rnd(5, 70), rnd(2, 45), rnd(2, 45)};
                    s.start = rnd(-180, 360);
                    s.sweep = rnd(-400, 400);
                    s.pen = Thick(widths[std::rand() % widths.size()]);
                    if (std::rand() % 3 == 0) s.pen.dashes = {rnd(0.5, 4), rnd(0.5, 3)};
                    s.pen.roundCaps = std::rand() % 2;
                    s.pen.color = static_cast<Rgb>(std::rand()) & 0xFFFFFF;
                    s.fill = static_cast<Rgb>(std::rand()) & 0xFFFFFF;
                    shapes.push_back(std::move(s));
                }
                QImage noise(120, 120, format);
                for (int y = 0; y < 120; ++y)
                    for (int x = 0; x < 120; ++x)
                        noise.setPixel(x, y, qRgb(std::rand() & 0xFF, std::rand() & 0xFF, x + y));
                for (int time = 0; time < 5; ++time) {
                    bool smoothNow = smooth;
                    if (time >= 3) {
                        for (Shape& s : shapes) {
                            if (time > 3) break;
                            if (change == Colour) s.pen.color ^= 0x808080, s.fill ^= 0x408040;
                            if (change == Width) s.pen.width += 1;
                            if (change == Place) {
                                for (PointF& p : s.points) p.x += 0.3;
                                s.box.y += 0.3;
                            }
                            if (change == Dashes)
                                s.pen.dashes = s.pen.dashes.empty() ? std::vector<double>{2, 1} : std::vector<double>{};
                            if (change == Caps) s.pen.roundCaps = !s.pen.roundCaps;
                        }
                        if (change == Smoothing) smoothNow = !smooth;
                    }
                    const bool turned = time >= 3 && change == Rotation;
                    QImage want = noise, got = noise;
                    for (bool keep : {false, true}) {
                        QtCanvas::setKeeping(keep);
                        QtCanvas c(keep ? got : want, smoothNow);
                        if (turned) c.setRotation(7, {60, 60});
                        for (const Shape& s : shapes) draw(c, s);
                    }
                    QtCanvas::setKeeping(true);
                    for (int y = 0, bad = 0; y < 120 && !bad; ++y)
                        for (int x = 0; x < 120 && !bad; ++x)
                            if (got.pixel(x, y) != want.pixel(x, y)) {
                                bad = 1;
                                ADD_FAILURE() << "smooth " << smooth << " format " << format << " change " << change
                                              << " time " << time << " at " << x << "," << y;
                            }
                }
            }
}

// A long graph dragged over the picture, by whole pixels, parts of a pixel
// and partly off it, a new kept drawing at every step: each step gives the
// pixels of the plain stroke there, whatever the canvas kept of earlier ones.
TEST(QtCanvasLines, AStrokeMovedByWholePixelsDrawsThePixelsOfThePlainStroke) {
    std::srand(4747);
    auto rnd = [](double lo, double hi) { return lo + (hi - lo) * std::rand() / RAND_MAX; };
    const std::vector<PointF> moves{{0, 0},  {1, 0},  {1, 0},    {0, -2}, {3, 1},  {-7, 4},
                                    {0.5, 0}, {1, 0}, {0.25, -1}, {60, 0}, {-60, 0}, {1, 1}};
    for (bool smooth : {true, false})
        for (double width : {2.0, 3.0, 4.0})
            for (bool round : {true, false}) {
                Pen pen = Thick(width);
                pen.roundCaps = round;
                std::vector<PointF> poly;
                for (int i = 0; i < 40; ++i) poly.push_back({60.3 + i, 80.6 + 14 * std::sin(i / 4.0) + rnd(-3, 3)});
                QImage noise(200, 160, QImage::Format_ARGB32_Premultiplied);
                for (int y = 0; y < noise.height(); ++y)
                    for (int x = 0; x < noise.width(); ++x)
                        noise.setPixel(x, y, qRgb(std::rand() & 0xFF, std::rand() & 0xFF, (x + y) & 0xFF));
                for (std::size_t step = 0; step < moves.size(); ++step) {
                    for (PointF& p : poly) p.x += moves[step].x, p.y += moves[step].y;
                    pen.color = step % 3 == 2 ? 0xC08020 : 0x3050C0;
                    QImage want = noise, got = noise;
                    for (bool keep : {false, true}) {
                        QtCanvas::setKeeping(keep);
                        QtCanvas c(keep ? got : want, smooth);
                        KeptDrawingPtr kept;
                        c.drawKeptPolyline(pen, poly, kept);
                    }  // keeping is on again, as it was
                    EXPECT_TRUE(got == want) << smooth << " " << width << " " << round << " step " << step;
                }
            }
}
