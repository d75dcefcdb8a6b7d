// The shaded fill of a surface: it covers the inside of the surface's
// outline and nothing outside it, stays on the picture, and its work is
// bounded by the picture whatever the box.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "drawing/surface_internal.h"
#include "platform/raster_surface.h"
#include "surface_fixture.h"

using namespace pelmar;
using pelmar::test::RayProbe;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

QImage Blank(int w, int h) {
    QImage im(w, h, QImage::Format_ARGB32_Premultiplied);
    im.fill(kWhite);
    return im;
}

std::array<Vec3, 8> Cube(double lo, double hi) {
    return SurfaceBoxCorners(MakeSurfaceBox(pelmar::test::CubeSections(lo, hi)), {});
}

}  // namespace

TEST(SurfaceGradient, BoxPixelsHaveAOnePixelMargin) {
    PixelRange c, r;
    SurfaceBoxPixels(Cube(-1, 1), 10, 100, 80, c, r);
    // y − x/√8 runs over ±(1 + 1/√8): ±13.54 pixels.
    EXPECT_EQ(c.First, 100 - 14 - 1);
    EXPECT_EQ(c.Last, 100 + 14 + 1);
    EXPECT_EQ(r.First, 80 - 14 - 1);
    EXPECT_EQ(r.Last, 80 + 14 + 1);
    // The extremes are searched from 5000 and -5000.
    SurfaceBoxPixels(Cube(-1, 1), 10, 9000, 80, c, r);
    EXPECT_EQ(c.First, 4999);
    EXPECT_EQ(c.Last, 9015);
}

TEST(SurfaceGradient, SphereFillStaysInsideItsOutline) {
    const int s = 10, cx = 200, cy = 150;
    const auto corners = Cube(-5, 5);
    for (std::uint8_t dir : {0, 1}) {
        QImage im = Blank(400, 300);
        RasterSurface raster(im);
        RayProbe probe("x^2+y^2+z^2-25", corners, 1, 0.1);
        GradientScanArgs g;
        g.ScanDir = dir;
        g.S = s, g.CX = cx, g.CY = cy;
        const long written = PaintSurfaceGradient(corners, g, probe.hit(), probe.colour(), raster, {});
        long changed = 0, holes = 0;
        for (int y = 0; y < im.height(); ++y) {
            for (int x = 0; x < im.width(); ++x) {
                const double err = pelmar::test::SphereContourError((x - cx) / double(s), (cy - y) / double(s), 5);
                const bool painted = im.pixel(x, y) != kWhite;
                if (painted) {
                    ++changed;
                    EXPECT_LT(err, 1.0 / s) << x << "," << y;
                } else if (err < -1.5 / s) {
                    ++holes;
                }
            }
        }
        EXPECT_EQ(changed, written);
        EXPECT_EQ(holes, 0);
        EXPECT_GT(changed, 5000);  // the contour ellipse has an area of about 7,500 pixels
    }
}

TEST(SurfaceGradient, PartlyOffThePicture) {
    // The sphere hangs over the picture's left and top edges.
    const int s = 10;
    const auto corners = Cube(-5, 5);
    QImage im = Blank(120, 90);
    RasterSurface raster(im);
    RayProbe probe("x^2+y^2+z^2-25", corners, 1, 0.1);
    GradientScanArgs g;
    g.S = s, g.CX = 10, g.CY = 15;
    const long written = PaintSurfaceGradient(corners, g, probe.hit(), probe.colour(), raster, {});
    EXPECT_GT(written, 1000);
    EXPECT_NE(im.pixel(0, 0), kWhite);
    EXPECT_EQ(im.pixel(119, 89), kWhite);
}

TEST(SurfaceGradient, HugeBoxWorkIsBoundedByThePicture) {
    const auto corners = Cube(-1e5, 1e5);
    QImage im = Blank(60, 40);
    RasterSurface raster(im);
    RayProbe probe("x^2+y^2+z^2-25", corners, 1, 0.1);
    GradientScanArgs g;
    g.S = 10, g.CX = 30, g.CY = 20;
    const long written = PaintSurfaceGradient(corners, g, probe.hit(), probe.colour(), raster, {});
    // Every column crosses the sphere; one colour test per pixel at most.
    EXPECT_GT(written, 0);
    EXPECT_LE(*probe.calls, 60L * (40 + 2 + 2 * 80 + 2));
}

TEST(SurfaceGradient, FullyCoveredColumnKeepsItsEndRows) {
    const auto corners = Cube(-1, 1);
    PixelRange c, r;
    SurfaceBoxPixels(corners, 10, 50, 40, c, r);
    QImage im = Blank(100, 80);
    RasterSurface raster(im);
    const SurfaceHitTest all = [](double, double) { return true; };
    const SurfaceColourTest red = [](double, double, TColor& col) {
        col = 0x0000FF;
        return true;
    };
    GradientScanArgs g;
    g.S = 10, g.CX = 50, g.CY = 40;
    PaintSurfaceGradient(corners, g, all, red, raster, {});
    for (int x = c.First; x <= c.Last; ++x) {
        EXPECT_EQ(im.pixel(x, r.First), kWhite);
        EXPECT_EQ(im.pixel(x, r.Last), kWhite);
        for (int y = r.First + 1; y < r.Last; ++y) EXPECT_EQ(im.pixel(x, y) & 0xFFFFFF, 0xFF0000u) << x << "," << y;
    }
    EXPECT_EQ(im.pixel(c.First - 1, 40), kWhite);
    EXPECT_EQ(im.pixel(c.Last + 1, 40), kWhite);
}

TEST(SurfaceGradient, BoxOfOnePointColoursAtMostItsPixel) {
    const std::array<Vec3, 8> corners{};  // no section on: the box is the origin
    QImage im = Blank(100, 80);
    RasterSurface raster(im);
    RayProbe probe("x", corners, 0, 0.1);
    GradientScanArgs g;
    g.S = 10, g.CX = 50, g.CY = 40;
    const long written = PaintSurfaceGradient(corners, g, probe.hit(), probe.colour(), raster, {});
    EXPECT_LE(written, 1);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x)
            if (x != 50 || y != 40) {
                EXPECT_EQ(im.pixel(x, y), kWhite);
            }
}

TEST(SurfaceGradient, StopAndNoScale) {
    const auto corners = Cube(-5, 5);
    QImage im = Blank(400, 300);
    RasterSurface raster(im);
    RayProbe probe("x^2+y^2+z^2-25", corners, 1, 0.1);
    GradientScanArgs g;
    g.S = 10, g.CX = 200, g.CY = 150;
    g.ScanDir = 1;
    int lines = 0;
    SurfaceScanControl ctl;
    ctl.lineDone = [&] { ++lines; };
    ctl.running = [&] { return lines < 40; };
    PaintSurfaceGradient(corners, g, probe.hit(), probe.colour(), raster, ctl);
    EXPECT_EQ(lines, 40);
    // Rows after the stop stay as they were.
    for (int x = 0; x < 400; ++x) EXPECT_EQ(im.pixel(x, 200), kWhite);

    g.S = 0;
    EXPECT_EQ(PaintSurfaceGradient(corners, g, probe.hit(), probe.colour(), raster, {}), 0);
}

// Lines coloured by several workers at once give the serial picture pixel for
// pixel, with the same progress, the same event pumping and the same stop.
TEST(SurfaceGradient, LinesColouredAtOnceGiveTheSerialPicture) {
    struct Run {
        QImage im;
        long written = 0;
        std::vector<int> progress;
        int lines = 0;
        int last = -2;
    };
    auto run = [](const std::string& f, std::uint8_t mode, std::uint8_t dir, int threads, int stopAfter) {
        const auto corners = Cube(-3, 3);
        Run r;
        r.im = Blank(100, 80);
        RasterSurface raster(r.im);
        GradientScanArgs g;
        g.ScanDir = dir;
        g.S = 8, g.CX = 50, g.CY = 40;
        g.Threads = threads;
        SurfaceScanControl ctl;
        ctl.lineDone = [&] { ++r.lines; };
        ctl.progress = [&](int p) { r.progress.push_back(p); };
        if (stopAfter > 0) ctl.running = [&] { return r.lines < stopAfter; };
        const SurfaceTestMaker make = [&](int) {
            RayProbe probe(f, corners, mode, 0.1);  // tests and parameters of the worker's own
            return SurfaceTests{probe.hit(), probe.colour()};
        };
        r.written = PaintSurfaceGradient(corners, g, make, raster, ctl, &r.last);
        return r;
    };
    for (const char* f : {"x^2+y^2+z^2-6", "x*y-z", "abs(x)+abs(y)+abs(z)-3"}) {
        for (std::uint8_t mode : {0, 1}) {
            for (std::uint8_t dir : {0, 1}) {
                for (const auto& [threads, stopAfter] : {std::pair{3, 0}, std::pair{5, 23}}) {
                    const Run serial = run(f, mode, dir, 1, stopAfter);
                    const Run parallel = run(f, mode, dir, threads, stopAfter);
                    const std::string what = std::string(f) + " mode " + std::to_string(mode) + " dir " +
                                             std::to_string(dir) + " stop " + std::to_string(stopAfter);
                    EXPECT_GT(serial.written, 0) << what;
                    EXPECT_TRUE(parallel.im == serial.im) << what;
                    EXPECT_EQ(parallel.written, serial.written) << what;
                    EXPECT_EQ(parallel.progress, serial.progress) << what;
                    EXPECT_EQ(parallel.lines, serial.lines) << what;
                    EXPECT_GE(parallel.last, 0) << what;
                }
            }
        }
    }
}
