// Where thin strokes land on the pixel grid, and the text metrics: "Symbol"
// on a machine that shows it with another font, and the per-font cache.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
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

// "Symbol" shows Greek letters on every machine, whether fontconfig gives a
// font in the Symbol encoding for it ("Standard Symbols PS", which has no
// Unicode Greek) or a Unicode font: its Latin letters and the Greek ones draw
// the same ink, and that ink is there.
TEST(SymbolFont, LatinAndGreekLettersDrawTheSameInk) {
    const QStringList families = QFontDatabase::families();
    ASSERT_TRUE(std::any_of(families.begin(), families.end(),
                            [](const QString& f) { return f.startsWith("Standard Symbols PS"); }))
        << "fonts-urw-base35 is missing: the Symbol-encoded stand-in goes untested";
    auto draw = [](const Font& f, const std::string& text) {
        QImage img(160, 48, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::white);
        QtCanvas c(img, true);
        c.drawText(f, 0, text, {4, 8}, {});
        return img;
    };
    auto ink = [](const QImage& img) {
        long sum = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) sum += 255 - qGray(img.pixel(x, y));
        return sum;
    };
    EXPECT_EQ(SymbolLettersToGreek("abgjfqwABGDWZ 12-x"), QString::fromUtf8("αβγφϕθωΑΒΓΔΩΖ 12-ξ"));
    TextMetrics cache;
    const std::pair<const char*, const char*> texts[] = {
        {"a", "α"}, {"abgj", "αβγφ"}, {"ABGDW", "ΑΒΓΔΩ"}, {"x-12", "ξ-12"}};
    for (bool bold : {false, true}) {
        const Font symbol{"Symbol", 24, bold, false};
        for (const auto& [latin, greek] : texts) {
            const QImage l = draw(symbol, latin), g = draw(symbol, greek);
            EXPECT_GT(ink(l), 20 * 255 * static_cast<long>(std::string(latin).size())) << latin;
            EXPECT_EQ(ink(l), ink(g)) << latin;
            EXPECT_TRUE(l == g) << latin;
            EXPECT_EQ(cache.measure(symbol, latin).w, cache.measure(symbol, greek).w) << latin;
        }
    }
    // Other fonts keep their letters.
    const Font plain{"DejaVu Sans", 24, false, false};
    EXPECT_EQ(cache.shown(plain, "abc"), QString("abc"));
    EXPECT_FALSE(draw(plain, "a") == draw(plain, "α"));
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
