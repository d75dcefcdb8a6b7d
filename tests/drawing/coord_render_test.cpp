// Coordinate systems drawn on a real picture: a 2D system with grid, numbers
// and its six graphs, and a 3D system with a space curve.  The pictures are
// written next to the test ("coord_2d.png", "coord_3d.png") for a look.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <cstdlib>

#include "coord_fixture.h"
#include "drawing/coord_paint.h"
#include "platform/qt_canvas.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

constexpr int W = 400, H = 300;

// Pixels within 40 of the colour in each channel (smoothed lines blend at their edges).
int CountColour(const QImage& img, QRgb c, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            n += std::abs(qRed(p) - qRed(c)) < 40 && std::abs(qGreen(p) - qGreen(c)) < 40 &&
                 std::abs(qBlue(p) - qBlue(c)) < 40;
        }
    return n;
}

int CountDrawn(const QImage& img, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += qGray(img.pixel(x, y)) < 230;
    return n;
}

QImage Blank() {
    QImage img(W, H, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    return img;
}

// The 2D system drawn alone on a blank picture.
QImage DrawnSystem(const DXOY& x, const DImProj& im, bool smooth) {
    QImage img = Blank();
    QtCanvas canvas(img, smooth);
    PaintTarget t;
    t.kind = TargetKind::Pel;
    t.canvas = &canvas;
    bool running = true;
    GraphRun run;
    run.Running = &running;
    t.run = &run;
    DrawXOY(x, true, 1, im, 'm', t, 2);
    canvas.finish();
    return img;
}

TEST(CoordRender, TwoDimensionalSystemWithSixGraphs) {
    DXOY x = MakeXOY(H);
    x.GridOn.v = true;
    x.GridStep.v = 1;
    x.GridThick.v = 1;
    x.Color.v = 0x808080;
    x.NumbersOn.v = true;
    x.NumberStep.v = 2;
    x.NumberFont.s = "DejaVu Sans";
    x.NumberSize.v = 7;
    const TColor colours[] = {0xFF0000, 0x00A000, 0x0000FF, 0xC000C0, 0x00A0A0, 0x0080FF};
    const char* formulas[] = {"x^2/4-2", "sin(x)*2", "2", "x/3", "3*cos(3*x)", "x^2/9+y^2/4-1"};
    for (std::size_t i = 1; i <= 6; ++i) {
        x.GraphOn[i].v = true;
        x.Graph[i].s = formulas[i - 1];
        x.GraphColor[i].v = colours[i - 1];
    }
    x.Graph2.s = "2*sin(2*x)";
    x.Polar[2][1].v = 15;

    QImage img = DrawnSystem(x, Picture(W, H), true);
    EXPECT_TRUE(img.save("coord_2d.png"));

    // Every graph leaves its colour on the picture; the centre point is black.
    for (TColor c : colours) {
        const QRgb q = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        EXPECT_GT(CountColour(img, q, img.rect()), 20) << std::hex << c;
    }
    EXPECT_EQ(img.pixel(200, 150) & 0xFFFFFF, 0u);
    // A vertical grid line at x = 240 from the top to the bottom of the Y axis.
    EXPECT_GT(CountDrawn(img, QRect(239, 20, 2, 261)), 250);
    EXPECT_EQ(CountDrawn(img, QRect(239, 0, 2, 15)), 0);
}

// FNV-1a over the picture's pixels.
std::uint64_t PixelHash(const QImage& img) {
    std::uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const unsigned char*>(img.constScanLine(y));
        for (qsizetype i = 0; i < img.width() * 4; ++i) h = (h ^ row[i]) * 1099511628211ull;
    }
    return h;
}

// The 2D system in several looks (smoothing, grid and graph widths, dashed
// and hidden runs, a rotated graph), each drawn twice on one picture's
// worth of fresh canvases: the pixels equal those recorded before the graph
// outlines were kept and the marks drawn in batches, and the second drawing
// (from what was kept) equals the first.
TEST(CoordRender, TwoDimensionalPicturesStayPixelIdentical) {
    struct Look {
        bool smooth;
        int gridThick, graphThick, markWidth;
        std::uint8_t lineType;
        bool rotated;
        std::uint64_t golden;
    };
    const Look looks[] = {
        {true, 1, 2, 1, 1, false, 0xd90d276b143f04ecull},  {false, 1, 2, 1, 1, false, 0x6c5f7d18aca2096ull},
        {true, 2, 3, 2, 1, false, 0x9c8b6737794c1375ull},  {true, 3, 1, 3, 2, false, 0x936b37c2f6955a58ull},
        {false, 2, 4, 1, 2, true, 0x258e2ac59532e369ull},  {true, 1, 2, 1, 1, true, 0xbea5b462799cf628ull},
    };
    const TColor colours[] = {0xFF0000, 0x00A000, 0x0000FF, 0xC000C0, 0x00A0A0, 0x0080FF};
    const char* formulas[] = {"x^2/4-2", "sin(x)*2", "2", "x/3", "3*cos(3*x)", "x^2/9+y^2/4-1"};
    for (const Look& look : looks) {
        DXOY x = MakeXOY(H);
        x.GridOn.v = true;
        x.GridThick.v = look.gridThick;
        x.MarkWidth.v = look.markWidth;
        x.NumbersOn.v = true;
        x.NumberStep.v = 2;
        x.NumberFont.s = "DejaVu Sans";
        x.NumberSize.v = 7;
        for (std::size_t i = 1; i <= 6; ++i) {
            x.GraphOn[i].v = true;
            x.Graph[i].s = formulas[i - 1];
            x.GraphColor[i].v = colours[i - 1];
            x.GraphThick[i].v = look.graphThick;
            x.Style[i].Visible.v = look.lineType;
            x.Style[i].Dash.v = 6;
            x.Style[i].Gap.v = 4;
        }
        if (look.rotated) {
            x.Move[2].Rotated.v = true;
            x.Move[2].Angle.v = 30;
        }
        x.Graph2.s = "2*sin(2*x)";
        DImProj im = Picture(W, H);
        im.Smooth = look.smooth;
        std::uint64_t hashes[2] = {};
        for (std::uint64_t& hash : hashes) {
            const QImage img = DrawnSystem(x, im, look.smooth);
            hash = PixelHash(img);
        }
        const std::size_t k = static_cast<std::size_t>(&look - looks);
        EXPECT_EQ(hashes[0], look.golden) << "look " << k;
        EXPECT_EQ(hashes[1], hashes[0]) << "look " << k;
    }
}

TEST(CoordRender, ThreeDimensionalSystemWithASpaceCurve) {
    DXZ x = MakeXYZ(H);
    x.NumbersOn.v = true;
    x.NumberStep.v = 2;
    x.NumberFont.s = "DejaVu Sans";
    x.NumberSize.v = 7;
    x.SurfOn[3].v = true;
    x.Surf[3].s = "x/4";
    x.Surf3More[1].s = "3*cos(x)";
    x.Surf3More[2].s = "3*sin(x)";
    x.ParT2.v = 25;
    x.ParH.v = 0.05;
    x.SurfColor[3].v = 0x0000FF;

    QImage img = Blank();
    {
        QtCanvas canvas(img, true);
        PaintTarget t;
        t.kind = TargetKind::Pel;
        t.canvas = &canvas;
        DrawXYZ(x, true, 1, Picture(W, H), 'm', t, 2);
    }
    EXPECT_TRUE(img.save("coord_3d.png"));
    EXPECT_GT(CountColour(img, qRgb(255, 0, 0), img.rect()), 200);
    // The depth axis runs through the lower left quarter.
    EXPECT_GT(CountDrawn(img, QRect(150, 160, 40, 40)), 30);
}

}  // namespace
