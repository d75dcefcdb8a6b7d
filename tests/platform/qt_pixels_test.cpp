// Where thin strokes land on the pixel grid, and the text metrics: "Symbol"
// on a machine that shows it with other fonts, and the per-font cache.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <random>
#include <tuple>

#include "platform/code_page.h"
#include "platform/qt_canvas.h"
#include "platform/qt_text.h"
#include "platform/symbol_encoding.h"

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

// "Symbol" shows the sign of every code of its encoding on every machine,
// whether fontconfig gives a font in the Symbol encoding for it ("Standard
// Symbols PS", which has no Unicode signs) or a Unicode font, and whichever
// fonts the machine has for the signs the stand-in lacks.  Every character
// that stands for a code (its ASCII or Latin-1 character, the private-use
// form, its byte in code page 1251 as documents from Windows bring it, and
// the sign itself) draws the same ink, and that ink is the sign's, not the
// mark of a missing glyph.  (scripts/font-sets.sh runs it under each kind
// of stand-in.)
TEST(SymbolFont, EveryCodeDrawsItsSignWhateverCharacterStandsForIt) {
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
    auto utf8 = [](char32_t c) { return QString::fromUcs4(&c, 1).toStdString(); };
    TextMetrics cache;
    for (bool bold : {false, true}) {
        const Font symbol{"Symbol", 24, bold, false};
        const QImage missing = draw(symbol, utf8(0x10FFFD));
        for (int code = 0x21; code <= 0xFE; ++code) {
            const char16_t sign = SymbolCodeChar(code);
            if (sign == 0) continue;
            std::vector<std::string> forms{utf8(static_cast<char32_t>(code)), utf8(0xF000 + code),
                                           utf8(Cp1251Char(static_cast<unsigned char>(code)))};
            // The sign itself, unless another code claims it (® stands for
            // the arrow at 0xAE, not for the serif ® at 0xD2).
            if (SymbolCodeOf(sign) == code) forms.push_back(utf8(sign));
            const QImage first = draw(symbol, forms[0]);
            EXPECT_GT(ink(first), 3 * 255) << std::hex << code;
            EXPECT_FALSE(first == missing) << std::hex << code;
            for (const std::string& form : forms) {
                EXPECT_TRUE(draw(symbol, form) == first) << std::hex << code << " " << form;
                EXPECT_EQ(cache.measure(symbol, form).w, cache.measure(symbol, forms[0]).w) << std::hex << code;
            }
        }
        // A word of letters is the word of Greek letters, in the stroked and
        // the open phi as the Symbol font draws them.
        EXPECT_TRUE(draw(symbol, "abgjfqw x-12") == draw(symbol, "αβγφϕθω ξ−12"));
    }
    // Other fonts keep their letters.
    const Font plain{"DejaVu Sans", 24, false, false};
    ASSERT_EQ(cache.shown(plain, "abc").runs.size(), 1u);
    EXPECT_EQ(cache.shown(plain, "abc").runs[0].text, QString("abc"));
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
