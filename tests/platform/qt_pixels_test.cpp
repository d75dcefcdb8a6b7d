// Where thin strokes land on the pixel grid, and the text metrics: "Symbol"
// on a machine that shows it with another font, and the per-font cache.
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

// Lines along the pixel rows or columns at 30, solid and dashed: each row
// (column) across is either untouched or in full colour.  Smoothed odd
// widths lie on pixel centres, even widths straddle the coordinate, and
// without smoothing Qt's own placement stays.
TEST(PixelGrid, ThinStrokesOnWholeCoordinatesFillWholePixels) {
    struct Case {
        double width;
        int first, last;
        bool smooth = true;
    };
    const Case cases[] = {{0, 30, 30}, {1, 30, 30}, {2, 29, 30}, {3, 29, 31}, {4, 28, 31}, {5, 28, 32}, {1, 30, 30, false}};
    for (const Case& k : cases)
        for (bool horizontal : {true, false})
            for (bool dashed : {false, true}) {
                QImage img(60, 60, QImage::Format_ARGB32_Premultiplied);
                img.fill(Qt::white);
                {
                    QtCanvas c(img, k.smooth);
                    const PointF pts[2] = {horizontal ? PointF{10, 30} : PointF{30, 10},
                                           horizontal ? PointF{50, 30} : PointF{30, 50}};
                    c.drawPolyline(Pen{k.width, 0, dashed ? std::vector<double>{3, 1} : std::vector<double>{}, false},
                                   pts);
                }
                for (int i = 0; i < 60; ++i) {
                    const int ink = 255 - qGray(horizontal ? img.pixel(11, i) : img.pixel(i, 11));  // in the first dash
                    EXPECT_EQ(ink, i >= k.first && i <= k.last ? 255 : 0)
                        << "width " << k.width << " smooth " << k.smooth << " horizontal " << horizontal << " dashed "
                        << dashed << " at " << i;
                }
            }
}

// "Symbol" stands for the Greek letters: measured (and drawn, see the
// transparent export's test) as the Greek letters of the font the machine
// uses in its place; other fonts keep their letters.
TEST(SymbolFont, LettersAreMeasuredAsGreek) {
    const Font symbol{"Symbol", 24, false, false};
    const std::string family = QFontInfo(MakeQFont(symbol, true)).family().toStdString();
    ASSERT_FALSE(IsSymbolFamily(family)) << "this machine has a real Symbol font";
    EXPECT_EQ(SymbolLettersToGreek("abgjfqwABGDWZ 12-x"), QString::fromUtf8("αβγφϕθωΑΒΓΔΩΖ 12-ξ"));
    TextMetrics cache;
    for (char ch : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) {
        const std::string g = SymbolLettersToGreek(QString(QChar(ch))).toStdString();
        const SizeF a = cache.measure(symbol, std::string(1, ch)), b = MeasureTextQt({family, 24, false, false}, g);
        EXPECT_EQ(std::tie(a.w, a.h), std::tie(b.w, b.h)) << ch;
    }
    EXPECT_EQ(cache.shown({"DejaVu Sans", 24, false, false}, "abc"), QString("abc"));
    EXPECT_EQ(cache.shown({"SYMBOL", 24, false, false}, "abc"), QString::fromUtf8("αβχ"));
}

// The cache places text as a fresh measurement does, and empties itself when
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
    ASSERT_TRUE(QFile::copy("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", dir.filePath("extra.ttf")));
    const int id = QFontDatabase::addApplicationFont(dir.filePath("extra.ttf"));
    ASSERT_GE(id, 0);
    cache.measure({"DejaVu Sans", 12, false, false}, "1");
    EXPECT_EQ(cache.fontCount(), 1u);
    QFontDatabase::removeApplicationFont(id);
}
