#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <set>
#include <utility>

#include "platform/raster_surface.h"

using namespace pelmar;

namespace {

constexpr Rgb kWhite = 0xFFFFFF;
constexpr Rgb Ink = MakeRgb(200, 30, 40);

struct Picture {
    QImage image;
    RasterSurface surface;
    explicit Picture(int w = 60, int h = 40) : image(w, h, QImage::Format_ARGB32_Premultiplied), surface(image) {
        surface.fill(kWhite);
    }
    int inked() const {
        int n = 0;
        for (int y = 0; y < surface.height(); ++y)
            for (int x = 0; x < surface.width(); ++x) n += surface.pixel(x, y) != kWhite;
        return n;
    }
};

}  // namespace

TEST(RasterPixels, SetAndGetAreClippedToThePicture) {
    Picture p(10, 8);
    p.surface.setPixel(3, 4, Ink);
    EXPECT_EQ(p.surface.pixel(3, 4), Ink);
    EXPECT_EQ(p.image.pixel(3, 4), qRgb(200, 30, 40));
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {10, 0}, {0, 8}, {1 << 30, 1 << 30}, {-(1 << 30), 3}}) {
        p.surface.setPixel(x, y, Ink);  // ignored, no write outside the image
        EXPECT_EQ(p.surface.pixel(x, y), RasterSurface::NoPixel);
    }
    EXPECT_EQ(p.inked(), 1);
}

TEST(RasterPixels, ReadsColoursBackFromEveryAcceptedFormat) {
    for (QImage::Format f : {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_RGB888}) {
        QImage img(4, 4, f);
        img.fill(Qt::white);
        RasterSurface s(img);
        s.setPixel(1, 1, MakeRgb(1, 2, 3));
        EXPECT_EQ(s.pixel(1, 1), MakeRgb(1, 2, 3));
        EXPECT_EQ(s.pixel(0, 0), kWhite);
        EXPECT_NE(img.format(), QImage::Format_RGB888);
    }
}

TEST(RasterEllipse, CoversTheBoxWithItsOutline) {
    Picture p;
    p.surface.fillEllipse({10, 10, 20, 10}, Ink);  // x 10..30, y 10..20
    EXPECT_EQ(p.surface.pixel(20, 15), Ink);
    EXPECT_EQ(p.surface.pixel(10, 15), Ink);  // the box's edges are the outline
    EXPECT_EQ(p.surface.pixel(30, 15), Ink);
    EXPECT_EQ(p.surface.pixel(20, 10), Ink);
    EXPECT_EQ(p.surface.pixel(20, 20), Ink);
    EXPECT_EQ(p.surface.pixel(9, 15), kWhite);
    EXPECT_EQ(p.surface.pixel(31, 15), kWhite);
    EXPECT_EQ(p.surface.pixel(10, 10), kWhite);  // corners stay out
    EXPECT_EQ(p.surface.pixel(30, 20), kWhite);
    // Symmetric about the centre.
    for (int y = 8; y <= 22; ++y)
        for (int x = 8; x <= 32; ++x) EXPECT_EQ(p.surface.pixel(x, y), p.surface.pixel(40 - x, 30 - y)) << x << "," << y;
}

TEST(RasterEllipse, RotationTurnsItAboutTheGivenCentre) {
    Picture p;
    p.surface.fillEllipse({10, 17, 40, 6}, Ink, Rotation{90, {30, 20}});  // wide, turned upright
    EXPECT_EQ(p.surface.pixel(30, 2), Ink);
    EXPECT_EQ(p.surface.pixel(30, 38), Ink);
    EXPECT_EQ(p.surface.pixel(12, 20), kWhite);
    EXPECT_EQ(p.surface.pixel(48, 20), kWhite);
}

TEST(RasterEllipse, ColourCallbackVisitsEachCoveredPixelOnceInRowOrder) {
    Picture p;
    std::vector<std::pair<int, int>> visits;
    p.surface.fillEllipse({5, 5, 30, 20}, [&](int x, int y) {
        visits.emplace_back(y, x);
        return MakeRgb(x, y, 0);
    });
    ASSERT_FALSE(visits.empty());
    EXPECT_TRUE(std::is_sorted(visits.begin(), visits.end()));
    EXPECT_EQ(std::set(visits.begin(), visits.end()).size(), visits.size());
    EXPECT_EQ(static_cast<int>(visits.size()), p.inked());
    EXPECT_EQ(p.surface.pixel(20, 15), MakeRgb(20, 15, 0));
}

TEST(RasterPie, FollowsTheCanvasAngles) {
    Picture p(80, 80);
    p.surface.fillPie({10, 10, 60, 60}, 0, 90, Ink);  // centre (40, 40): the lower right quarter
    EXPECT_EQ(p.surface.pixel(55, 55), Ink);
    EXPECT_EQ(p.surface.pixel(25, 25), kWhite);
    EXPECT_EQ(p.surface.pixel(55, 25), kWhite);
    EXPECT_EQ(p.surface.pixel(25, 55), kWhite);
    EXPECT_EQ(p.surface.pixel(40, 40), Ink);  // the centre, on both radii
}

TEST(RasterPie, AcrossZeroDegreesFillsBothSides) {
    for (auto [start, sweep] : {std::pair{330.0, 60.0}, {30.0, -60.0}, {-30.0, 60.0}}) {
        Picture p(80, 80);
        p.surface.fillPie({10, 10, 60, 60}, start, sweep, Ink);
        EXPECT_EQ(p.surface.pixel(65, 35), Ink) << start;
        EXPECT_EQ(p.surface.pixel(65, 45), Ink) << start;
        EXPECT_EQ(p.surface.pixel(15, 40), kWhite) << start;
        EXPECT_EQ(p.surface.pixel(40, 65), kWhite) << start;
    }
}

TEST(RasterPie, MoreThanHalfAndAFullTurn) {
    Picture p(80, 80);
    p.surface.fillPie({10, 10, 60, 60}, 90, 270, Ink);  // all but the lower right quarter
    EXPECT_EQ(p.surface.pixel(25, 25), Ink);
    EXPECT_EQ(p.surface.pixel(55, 25), Ink);
    EXPECT_EQ(p.surface.pixel(25, 55), Ink);
    EXPECT_EQ(p.surface.pixel(55, 55), kWhite);
    Picture q(80, 80);
    Picture r(80, 80);
    q.surface.fillPie({10, 10, 60, 60}, 123, 360, Ink);
    r.surface.fillEllipse({10, 10, 60, 60}, Ink);
    EXPECT_EQ(q.image, r.image);
    Picture z(80, 80);
    z.surface.fillPie({10, 10, 60, 60}, 10, 0, Ink);
    EXPECT_EQ(z.inked(), 0);
}

TEST(RasterPolygon, FillsItsInsideAndOnePixelOutline) {
    Picture p;
    const PointF tri[] = {{10, 10}, {40, 10}, {10, 30}};
    p.surface.fillPolygon(tri, Ink);
    EXPECT_EQ(p.surface.pixel(15, 15), Ink);
    EXPECT_EQ(p.surface.pixel(10, 10), Ink);  // vertices
    EXPECT_EQ(p.surface.pixel(40, 10), Ink);
    EXPECT_EQ(p.surface.pixel(10, 30), Ink);
    EXPECT_EQ(p.surface.pixel(25, 10), Ink);  // a horizontal edge
    EXPECT_EQ(p.surface.pixel(30, 20), kWhite);  // beyond the slanted edge
    EXPECT_EQ(p.surface.pixel(9, 20), kWhite);
    EXPECT_EQ(p.surface.pixel(41, 10), kWhite);
}

TEST(RasterPolygon, AlternateRuleLeavesTheSelfOverlapOfAStarEmpty) {
    Picture p(60, 60);
    // A five-pointed star drawn in one stroke.
    std::vector<PointF> star;
    for (int i = 0; i < 5; ++i) {
        const double a = (-90 + i * 144) * 3.14159265358979 / 180;
        star.push_back({30 + 25 * std::cos(a), 30 + 25 * std::sin(a)});
    }
    p.surface.fillPolygon(star, Ink);
    EXPECT_EQ(p.surface.pixel(30, 31), kWhite);  // the pentagon in the middle
    EXPECT_EQ(p.surface.pixel(30, 10), Ink);   // a point of the star
}

TEST(RasterPolygon, DegenerateShapesStillShowTheirOutline) {
    Picture p;
    const PointF line[] = {{5, 5}, {25, 5}};
    p.surface.fillPolygon(line, Ink);
    EXPECT_EQ(p.surface.pixel(15, 5), Ink);
    EXPECT_EQ(p.surface.pixel(15, 6), kWhite);
    const PointF dot[] = {{40, 20}};
    p.surface.fillPolygon(dot, Ink);
    EXPECT_EQ(p.surface.pixel(40, 20), Ink);
    EXPECT_EQ(p.inked(), 21 + 1);
}

// Shapes partly or wholly outside the picture write only inside it; the
// sanitizers catch any write past the image's rows.
TEST(RasterClipping, ShapesOutsideThePictureAreCut) {
    Picture p(30, 20);
    int calls = 0;
    auto count = [&](int x, int y) {
        EXPECT_GE(x, 0);
        EXPECT_GE(y, 0);
        EXPECT_LT(x, 30);
        EXPECT_LT(y, 20);
        ++calls;
        return Ink;
    };
    p.surface.fillEllipse({-50, -50, 200, 200}, count);
    EXPECT_EQ(calls, 30 * 20);
    p.surface.fill(kWhite);
    calls = 0;
    p.surface.fillEllipse({-40, 5, 50, 10}, count);
    p.surface.fillPie({20, -30, 40, 100}, 90, 180, count, Rotation{33, {0, 0}});
    const PointF big[] = {{-1e6, -1e6}, {1e6, 5}, {10, 1e6}};
    p.surface.fillPolygon(big, count);
    const PointF far[] = {{1e300, 1e300}, {-1e300, 1e300}, {0, -1e300}};
    p.surface.fillPolygon(far, count);
    p.surface.fillEllipse({1000, 1000, 10, 10}, count);
    p.surface.fillEllipse({-1e300, 0, 1e300, 10}, count);
    EXPECT_GT(calls, 0);
}

TEST(RasterClipping, NonFiniteShapesAreIgnored) {
    Picture p;
    const PointF bad[] = {{0, 0}, {NAN, 5}, {10, 10}};
    p.surface.fillPolygon(bad, Ink);
    p.surface.fillEllipse({0, 0, INFINITY, 10}, Ink);
    p.surface.fillPie({0, 0, 10, 10}, NAN, 30, Ink);
    p.surface.fillEllipse({0, 0, 10, 10}, Ink, Rotation{NAN, {0, 0}});
    EXPECT_EQ(p.inked(), 0);
}
