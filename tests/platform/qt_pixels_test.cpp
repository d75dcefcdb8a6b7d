// Where thin strokes land on the pixel grid, and text in the "Symbol" font
// on a machine that shows it with another font.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QTemporaryDir>
#include <random>
#include <tuple>

#include "platform/qt_canvas.h"
#include "platform/qt_text.h"

using namespace pelmar;

namespace {

QImage Blank(int w = 60, int h = 60) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    return img;
}

// Darkness (255 - grey) of the pixels across a line: rows at column x for a
// horizontal line, columns at row y for a vertical one.
std::vector<int> Across(const QImage& img, bool horizontal, int at) {
    std::vector<int> out;
    const int n = horizontal ? img.height() : img.width();
    for (int i = 0; i < n; ++i)
        out.push_back(255 - qGray(horizontal ? img.pixel(at, i) : img.pixel(i, at)));
    return out;
}

std::string Family(const Font& f) { return QFontInfo(MakeQFont(f, true)).family().toStdString(); }

}  // namespace

// A smoothed line of an odd width on whole coordinates fills whole rows in
// full colour; an even width too (it straddles the coordinate); the hairline
// is one full row.  Lines are horizontal and vertical, open and closed.
TEST(PixelGrid, ThinStrokesOnWholeCoordinatesFillWholePixels) {
    struct Case {
        double width;
        int first, last;  // rows (columns) in full colour around the line at 30
    };
    const Case cases[] = {{0, 30, 30}, {1, 30, 30}, {2, 29, 30}, {3, 29, 31}, {4, 28, 31}, {5, 28, 32}};
    for (const Case& k : cases)
        for (bool horizontal : {true, false})
            for (int shape = 0; shape < 3; ++shape) {
                QImage img = Blank();
                {
                    QtCanvas c(img, true);
                    Pen pen;
                    pen.width = k.width;
                    pen.roundCaps = false;
                    const PointF a = horizontal ? PointF{10, 30} : PointF{30, 10};
                    const PointF b = horizontal ? PointF{50, 30} : PointF{30, 50};
                    const PointF pts[3] = {a, b, {50, 50}};
                    if (shape == 0) c.drawLine(pen, a, b);
                    if (shape == 1) c.drawPolyline(pen, std::span<const PointF>(pts, 2));
                    if (shape == 2) c.drawPolyline(Pen{k.width, 0, {3, 1}, false}, std::span<const PointF>(pts, 2));
                }
                const std::vector<int> d = Across(img, horizontal, 11);  // inside the first dash of the dashed line
                for (int i = 0; i < 60; ++i) {
                    const bool inside = i >= k.first && i <= k.last;
                    EXPECT_EQ(d[i], inside ? 255 : 0)
                        << "width " << k.width << (horizontal ? " row " : " column ") << i << " shape " << shape;
                }
            }
}

// The rim of an ellipse of width 1 is one pixel at its top, bottom, left and
// right; without smoothing Qt's own placement stays.
TEST(PixelGrid, EllipseRimsAndUnsmoothedLines) {
    QImage img = Blank();
    {
        QtCanvas c(img, true);
        c.drawEllipse(Pen{1, 0, {}, false}, {10, 10, 40, 40});
    }
    // The rim bends within the extreme pixels, and Qt flattens it into
    // curves: nearly full colour there, nothing beside.
    for (const std::vector<int>& d : {Across(img, true, 30), Across(img, false, 30)}) {
        EXPECT_GE(d[10], 180);
        EXPECT_GE(d[50], 180);
        EXPECT_LE(std::max({d[9], d[11], d[49], d[51]}), 8);
    }

    QImage plain = Blank();
    {
        QtCanvas c(plain, false);
        c.drawLine(Pen{1, 0, {}, false}, {10, 30}, {50, 30});
    }
    const std::vector<int> d = Across(plain, true, 30);
    for (int i = 0; i < 60; ++i) EXPECT_EQ(d[i], i == 30 ? 255 : 0) << i;
}

// "Symbol" stands for the Greek letters: measured (and drawn, see the
// transparent export's test) as the Greek letters in the font the machine
// uses in its place.
TEST(SymbolFont, LettersAreMeasuredAsGreek) {
    const Font symbol{"Symbol", 24, false, false};
    const std::string family = Family(symbol);
    ASSERT_FALSE(IsSymbolFamily(family)) << "this machine has a real Symbol font";
    const Font stand{family, 24, false, false};

    const QString greek = SymbolLettersToGreek("abgjfqwABGDWZ 12-x");
    EXPECT_EQ(greek, QString::fromUtf8("αβγφϕθωΑΒΓΔΩΖ 12-ξ"));

    TextMetrics cache;
    for (char ch = 'A'; ch <= 'z'; ++ch) {
        if (!std::isalpha(static_cast<unsigned char>(ch))) continue;
        const std::string latin(1, ch);
        const std::string g = SymbolLettersToGreek(QString::fromStdString(latin)).toStdString();
        EXPECT_NE(g, latin);
        const SizeF a = cache.measure(symbol, latin), b = MeasureTextQt(stand, g);
        EXPECT_DOUBLE_EQ(a.w, b.w) << ch;
        EXPECT_DOUBLE_EQ(a.h, b.h) << ch;
    }
    // Other fonts keep their letters; the family name's case does not matter.
    EXPECT_EQ(cache.shown({"DejaVu Sans", 24, false, false}, "abc"), QString("abc"));
    EXPECT_EQ(cache.shown({"SYMBOL", 24, false, false}, "abc"), QString::fromUtf8("αβχ"));
}

// The cache gives what a fresh measurement gives, and empties itself when
// the machine's fonts change.
TEST(TextMetricsCache, SameAsFreshAndClearedWhenFontsChange) {
    TextMetrics cache;
    std::mt19937 rng(7);
    const char* families[] = {"DejaVu Sans", "Symbol", "Arial", "Times New Roman"};
    const char* texts[] = {"1", "A", "Б12", "x²", "", "abc def", "-0,5"};
    const TextFormat format{TextAlign::Far, TextAlign::Center};
    for (int i = 0; i < 200; ++i) {
        const Font f{families[rng() % 4], 6.0 + rng() % 40, rng() % 2 == 0, rng() % 3 == 0};
        const std::string t = texts[rng() % 7];
        const TextPlacement p = cache.place(f, t, {10, 20}, format), q = PlaceText(f, t, {10, 20}, format);
        ASSERT_EQ(std::tie(p.left, p.top, p.width, p.height, p.ascent), std::tie(q.left, q.top, q.width, q.height, q.ascent))
            << f.family << " " << f.pixelSize << " " << t;
    }
    EXPECT_GT(cache.fontCount(), 10u);

    QTemporaryDir dir;
    const QString copy = dir.filePath("extra.ttf");
    ASSERT_TRUE(QFile::copy("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", copy));
    const int id = QFontDatabase::addApplicationFont(copy);
    ASSERT_GE(id, 0);
    cache.measure({"DejaVu Sans", 12, false, false}, "1");
    EXPECT_EQ(cache.fontCount(), 1u);
    QFontDatabase::removeApplicationFont(id);
}
