// Coordinate systems drawn on a real picture: a 2D system with grid, numbers
// and its six graphs, and a 3D system with a space curve.  The pictures are
// written next to the test ("coord_2d.png", "coord_3d.png") for a look.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>

#include "coord_fixture.h"
#include "drawing/coord_paint.h"
#include "model/coord_edits.h"
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
        {true, 1, 2, 1, 1, false, 0xd7facd09489ba39aull},  {false, 1, 2, 1, 1, false, 0x2e528e90acd27dull},
        {true, 2, 3, 2, 1, false, 0xe208b0e50b56015cull},  {true, 3, 1, 3, 2, false, 0xe7482ab747283fb2ull},
        {false, 2, 4, 1, 2, true, 0xf55d7b4bee2aec41ull},  {true, 1, 2, 1, 1, true, 0xde4c30e197c2822ull},
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

int DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.format() != b.format()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// The 2D system of `doc` drawn on a noisy picture (so that every blend of a
// stroke shows), with the canvas keeping its strokes or drawing plainly; the
// implicit graph is traced into the document and drawn from it afterwards.
QImage DrawnOnNoise(DProj& doc, const DImProj& im, bool smooth, QImage::Format format, bool keep) {
    QImage img(W, H, format);
    std::mt19937 noise(7);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) img.setPixel(x, y, qRgb(noise() & 0xFF, noise() & 0xFF, noise() & 0xFF));
    QtCanvas::setKeeping(keep);
    {
        QtCanvas canvas(img, smooth);
        PaintTarget t;
        t.kind = TargetKind::Pel;
        t.canvas = &canvas;
        bool running = true;
        GraphRun run;
        run.Running = &running;
        run.Stores.DrawProj = &doc;
        t.run = &run;
        DrawXOY(doc.Obj.Xy[1], true, 1, im, 'm', t, 2);
    }
    QtCanvas::setKeeping(true);
    return img;
}

// The graphs' strokes and the tick and grid lines, kept with the samples and
// drawn again from what was kept, lay down exactly the pixels of the plain
// strokes: for each look (smoothing, picture format, widths, colours, graph
// kinds, dashed and hidden runs, a rotated graph, a centre off the pixel
// grid), the system is drawn three times (plainly, keeping, from what was
// kept) at the start and after every change of a script that alters a
// graph, a window, the scales, the system's place, a colour and a width and
// then goes back to the start; a stroke kept past its change shows.
TEST(CoordRender, KeptStrokesDrawThePixelsOfThePlainStrokes) {
    struct Look {
        bool smooth;
        QImage::Format format;
        int graphThick, gridThick, markWidth;
        std::uint8_t lineType, hidden;
        bool rotated;
        double offset;  // of the whole system from whole pixels
    };
    const Look looks[] = {
        {true, QImage::Format_ARGB32_Premultiplied, 2, 1, 1, 1, 1, false, 0},
        {false, QImage::Format_RGB32, 2, 1, 1, 1, 1, false, 0},
        {true, QImage::Format_RGB32, 1, 2, 2, 1, 1, true, 0.3},
        {true, QImage::Format_ARGB32_Premultiplied, 3, 3, 1, 2, 1, false, 0.5},
        {false, QImage::Format_ARGB32_Premultiplied, 4, 2, 3, 1, 3, true, 0.7},
        {true, QImage::Format_ARGB32_Premultiplied, 5, 1, 2, 1, 2, false, 0.25},
        {false, QImage::Format_RGB32, 1, 1, 1, 1, 1, true, 0.5},
    };
    const TColor colours[] = {0x2040FF, 0x00A000, 0xFF0000, 0xC000C0, 0x00A0A0, 0x0080FF};
    const char* formulas[] = {"x^2/4-2", "sin(3*x)*2", "2+sin(5*x)/2", "x/3", "3*cos(3*x)", "x^2/9+y^2/4-1"};
    const auto moved = [](DXOY x, double dx, double dy) {
        for (DPoint* p : {&x.Center, &x.AxisX.P1, &x.AxisX.P2, &x.AxisY.P1, &x.AxisY.P2}) {
            p->ScrX.v += dx;
            p->ScrY.v += dy;
        }
        x.Curves.Valid = 0;
        return x;
    };
    const std::vector<std::pair<const char*, std::function<DXOY(const DXOY&)>>> script = {
        {"as it is", [](const DXOY& x) { return x; }},
        {"graphs", [](const DXOY& x) { return XOYWithFormula(XOYWithFormula(x, 1, "x^2/3-1"), 6, "x^2/4+y^2-2"); }},
        {"windows", [](const DXOY& x) { return *XOYWithBound(*XOYWithBound(x, 1, 1, 2.5), 6, 0, -2); }},
        {"scales", [](const DXOY& x) { return *XOYWithScale(x, 25, 17); }},
        {"place", [&](const DXOY& x) { return moved(x, 7.5, -3.25); }},
        {"colour and width",
         [](DXOY x) {
             x.GraphColor[3].v = 0x10E0E0;
             x.GraphThick[1].v += 1;
             x.Color.v = 0x606060;
             return x;
         }},
        {"back", nullptr},
    };
    for (const Look& look : looks) {
        DXOY x = MakeXOY(H);
        x = moved(x, look.offset, look.offset);
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
            x.Style[i].Visible.v = i % 2 ? look.lineType : 1;
            x.Style[i].Hidden.v = look.hidden;
            x.Style[i].Dash.v = 6;
            x.Style[i].Gap.v = 4;
        }
        x.Move[2].Rotated.v = look.rotated;
        x.Move[2].Angle.v = 30;
        x.Move[4].Moved.v = look.rotated;
        x.Move[4].DX.v = 0.5;
        x.Graph2.s = "2*sin(2*x)";
        x.Polar[2][1].v = 15;
        DImProj im = Picture(W, H);
        im.Smooth = look.smooth;
        auto doc = NewDocument();
        doc->Obj.Xy.add(x);
        const DXOY start = x;
        for (const auto& [what, change] : script) {
            DXOY& rec = doc->Obj.Xy[1];
            rec = change ? change(rec) : start;
            const QImage plain = DrawnOnNoise(*doc, im, look.smooth, look.format, false);
            for (int again = 0; again < 3; ++again)
                EXPECT_EQ(DifferentPixels(DrawnOnNoise(*doc, im, look.smooth, look.format, true), plain), 0)
                    << "look " << (&look - looks) << ", " << what << ", drawing " << again;
        }
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
