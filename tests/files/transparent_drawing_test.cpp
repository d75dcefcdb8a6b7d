// The transparent PNG of whole drawings: coordinate systems and what lies
// after them with thin lines on the pixel grid, text in the "Symbol" font,
// and the same pixels whatever the height of the bands painted at once.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <random>

#include "doc_fixture.h"
#include "support/fake_redraw_host.h"
#include "drawing/point_paint.h"
#include "drawing/redraw.h"
#include "file_test_util.h"
#include "support/fake_export_host.h"
#include "files/picture_export.h"
#include "files/picture_recording.h"
#include "platform/qt_text.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

constexpr int W = 400, H = 300;
constexpr TColor RedColour = 0x0000FF;

// A metafile drawing: a 2D system with its axes crossing at (200, 150) of the
// picture, ticks every 20 pixels and a graph y = 2 sin x, and a segment of a
// later layer on row 250.
std::unique_ptr<DProj> DrawingWithAxes() {
    auto d = NewDocument();
    d->Im.Width = W;
    d->Im.Height = H;
    d->Im.Dpi = 96;
    d->Im.PicMode = 1;
    d->Im.Smooth = true;
    DXOY x = NumberedXOY(0);
    PlacedPoint(x.Center, 0, 200, 150);
    PlacedPoint(x.AxisX.P1, 0, 20, 150);
    PlacedPoint(x.AxisX.P2, 0, 380, 150);
    PlacedPoint(x.AxisY.P1, 0, 200, 20);
    PlacedPoint(x.AxisY.P2, 0, 200, 280);
    for (DLine* axis : {&x.AxisX, &x.AxisY}) {
        axis->Thick.v = 1;
        axis->LineType.v = 1;
    }
    x.Layer.v = 1;
    x.Thick.v = 1;
    x.MarkWidth.v = 1;
    x.MarkHeight.v = 10;
    x.GraphOn[1].v = true;
    x.GraphThick[1].v = 2;
    x.GraphColor[1].v = RedColour;
    x.Bounds[1][0].v = -8;
    x.Bounds[1][1].v = 8;
    x.Bounds[1][2].v = -6;
    x.Bounds[1][3].v = 6;
    x.Move[1].NZ.v = 1;
    d->Obj.Xy.add(x);
    DLine l;
    PlacedPoint(l.P1, 0, 50, 50);
    PlacedPoint(l.P2, 0, 150, 50);
    l.Layer.v = 2;
    l.Thick.v = 1;
    l.LineType.v = 1;
    d->Obj.Li.add(l);
    return d;
}

// How many pixels of two pictures of one size differ.
int Differing(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

}  // namespace

// The export paints every layer to the end although no redraw runs; a
// one-pixel axis is one row of full colour.
TEST(TransparentDrawing, CoordinateSystemKeepsItsAxesGraphAndLaterLayers) {
    Scratch s;
    auto proj = DrawingWithAxes();
    DrawingState st;
    *st.DrawProj = *proj;
    FakeRedrawHost redrawHost;
    FakeExportHost host;
    host.metaPicture = [&](Canvas& c) { PaintMetaPicture(st, redrawHost, c); };
    const std::string path = s.path("axes.png");
    ASSERT_EQ(SaveTransparentPng(path, *proj, st, host), "");
    const QImage out = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGBA8888);
    ASSERT_EQ(out.size(), QSize(W, H));
    EXPECT_FALSE(st.Running);

    // The horizontal axis between two ticks, the vertical one, the segment.
    for (int x : {30, 110, 290, 370}) {
        EXPECT_EQ(out.pixelColor(x, 150), QColor(0, 0, 0, 255)) << x;
        EXPECT_EQ(out.pixelColor(x, 149).alpha(), 0) << x;
        EXPECT_EQ(out.pixelColor(x, 151).alpha(), 0) << x;
    }
    for (int y : {40, 80, 220}) {
        EXPECT_EQ(out.pixelColor(200, y), QColor(0, 0, 0, 255)) << y;
        EXPECT_EQ(out.pixelColor(199, y).alpha() + out.pixelColor(201, y).alpha(), 0) << y;
    }
    EXPECT_EQ(out.pixelColor(100, 250), QColor(0, 0, 0, 255));
    EXPECT_EQ(out.pixelColor(100, 249).alpha() + out.pixelColor(100, 251).alpha(), 0);
    // A tick crosses the axis at x = 220; the graph leaves red on the picture.
    EXPECT_EQ(out.pixelColor(220, 146).alpha(), 255);
    int red = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const QColor c = out.pixelColor(x, y);
            red += c.alpha() > 128 && c.red() > 200 && c.green() < 60 && c.blue() < 60;
        }
    EXPECT_GT(red, 200);
}

// An index "a" in "Symbol" comes out as an alpha, the same as an index "α".
TEST(TransparentDrawing, SymbolIndexIsGreek) {
    auto label = [&](const std::string& font, const std::string& index) {
        DPoint p;
        PlacedPoint(p, 0, 25, 20);
        p.Name.s = "P";
        p.NameFont.s = "DejaVu Sans";
        p.NameSize.v = p.IndexSize.v = 12;
        p.Lower.s = index;
        p.IndexFont.s = font;
        PictureRecording pic;
        PaintTarget t;
        t.kind = TargetKind::Pel;
        t.canvas = &pic;
        DImProj im;
        im.Height = 40;
        DrawPoint(p, im, t);
        return FoldTransparent(60, 40, nullptr, pic, nullptr);
    };
    const QImage symbol = label("Symbol", "a");
    EXPECT_EQ(Differing(symbol, label("Symbol", "α")), 0);
    EXPECT_GT(Differing(symbol, label("DejaVu Sans", "a")), 0);
    EXPECT_GT(Differing(symbol, label("Symbol", "")), 0);
}

// Painted in bands of any height, the picture folds to the same pixels,
// except where a band's edge cuts a slanted stroke: the rasteriser clips it
// there and may round one enlarged pixel the other way (one sixteenth of a
// result pixel).  Fills, text and lines along the pixel rows are exact.
TEST(TransparentDrawing, BandHeightDoesNotChangeThePixels) {
    std::mt19937 rng(11);
    auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto colour = [&] { return static_cast<Rgb>(rng() & 0xFFFFFF); };
    for (int round = 0; round < 12; ++round) {
        const bool slanted = round % 2 == 1;
        const int w = 20 + static_cast<int>(rng() % 40), h = 9 + static_cast<int>(rng() % 30);
        PictureRecording pic;
        for (int i = 0; i < 40; ++i) {
            const PointF a{real(-5, w + 5), real(-5, h + 5)}, b{real(0, w), real(0, h)};
            const PointF tri[3] = {a, b, {real(0, w), real(0, h)}};
            Pen pen{static_cast<double>(rng() % 4), colour(), {}, rng() % 2 == 0};
            if (rng() % 3 == 0) pen.dashes = {3, 2};
            const PointF left{std::round(a.x), std::round(a.y)}, right{std::round(b.x), std::round(a.y)};
            switch (rng() % 4 + (slanted ? 4 : 0)) {
                case 0: pic.drawLine(pen, left, right); break;
                case 1: pic.fillPolygon(colour(), tri); break;
                case 2: pic.fillEllipse(colour(), {a.x, a.y, real(1, 20), real(1, 20)}); break;
                case 3: pic.drawText({"DejaVu Sans", real(6, 14), false, false}, colour(), "Ab1", a, {}); break;
                case 4: pic.drawLine(pen, a, b); break;
                case 5: pic.drawPolygon(pen, tri); break;
                case 6: pic.drawEllipse(pen, {a.x, a.y, real(1, 20), real(1, 20)}); break;
                case 7: pic.drawArc(pen, {a.x, a.y, real(2, 20), real(2, 20)}, real(0, 360), real(-300, 300)); break;
            }
        }
        QImage fills(w, h, QImage::Format_ARGB32_Premultiplied);
        fills.fill(Qt::white);
        for (int i = 0; i < 30; ++i)
            fills.setPixelColor(static_cast<int>(rng() % w), static_cast<int>(rng() % h), QColor::fromRgb(colour()));
        const QImage whole = FoldTransparent(w, h, &fills, pic, nullptr);
        for (int band : {8, 16, 40}) {
            const QImage banded = FoldTransparent(w, h, &fills, pic, nullptr, band);
            EXPECT_LE(Differing(banded, whole), slanted ? 6 : 0) << "round " << round << " band " << band;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_LE(std::abs(banded.pixelColor(x, y).alpha() - whole.pixelColor(x, y).alpha()), 16);
        }
    }
}
