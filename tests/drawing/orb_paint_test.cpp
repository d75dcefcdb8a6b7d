#include <gtest/gtest.h>

#include <QImage>

#include "drawing/orb_paint.h"
#include "platform/raster_surface.h"
#include "solid_fixture.h"
#include "support/recording_sinks.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

using Lines = std::vector<std::string>;

DSf Orb(Vec3 centre, double r, std::uint8_t view = 1) {
    DSf s = MakeOrb(centre, r, view);
    FillOn(s);
    UpdateOrb(s, 0);
    return s;
}

QImage Shade(const DSf& s, const DImProj& im) {
    QImage img = WhiteImage(im.Width, im.Height);
    RasterSurface surface(img);
    PaintTarget t;
    t.kind = TargetKind::Pel;
    t.raster = &surface;
    DrawOrb(s, im, t, 1);
    return img;
}

// The picture pixel of a model point.
QPoint PixelOf(Vec3 p, int height) {
    Ext x, y;
    ProjectXYZ(x, y, p.x, p.y, p.z);
    return {RoundToInt(static_cast<double>(x)), height - RoundToInt(static_cast<double>(y))};
}

// What a sphere shows at a pixel, from the distance of its viewing ray to the centre.
Seen SeeSphere(Vec3 c, double r, const DImProj& im, int x, int y) {
    const Ray ray(x, y, im.Height);
    double t1, t2;
    const Vec3 o = ray.o - c;
    if (!Roots(Dot(ray.w, ray.w), 2 * Dot(o, ray.w), Dot(o, o) - r * r, t1, t2)) return {};
    const Vec3 p = ray.at(t2);
    return {Seen::Side, LitColour(im, p, p - c)};
}

TEST(OrbShading, FillsTheContourWithTheSurfaceSeenThere) {
    const DImProj im = ShadedPicture();
    const Vec3 c{0, 120, 100};
    const QImage img = Shade(Orb(c, 60), im);
    int compared = 0;
    const int bad = Disagreeing(img, [&](int x, int y) { return SeeSphere(c, 60, im, x, y); }, 2, compared);
    EXPECT_GT(compared, im.Width * im.Height / 2);
    EXPECT_LE(bad, compared / 500);
}

TEST(OrbShading, TwoColoursRunFromTheLitPointToTheFarSide) {
    DImProj im = ShadedPicture();
    im.TwoColors = 1;
    im.LightSource = 2;
    const Vec3 light{1, 0.4, 0.6};
    im.LightDX = light.x;
    im.LightDY = light.y;
    im.LightDZ = light.z;
    const Vec3 c{0, 120, 100};
    const double r = 60;
    const QImage img = Shade(Orb(c, r), im);
    // The point whose normal points at the light shows colour 1; the colour
    // darkens towards colour 2 away from it.
    const Vec3 lit = c + light * (r / Norm(light));
    const QPoint q = PixelOf(lit, im.Height);
    EXPECT_LE(ColourDistance(PixelColour(img, q.x(), q.y()), Shades[0]), 12);
    const Vec3 rim = c + Vec3{0.5, -1, -1} * (r / Norm(Vec3{0.5, -1, -1}));
    const QPoint w = PixelOf(rim, im.Height);
    EXPECT_GT(ColourDistance(PixelColour(img, w.x(), w.y()), Shades[0]),
              ColourDistance(PixelColour(img, q.x(), q.y()), Shades[0]) + 40);
}

TEST(OrbShading, IsClippedToThePicture) {
    const DImProj im = ShadedPicture(120, 100);
    // Partly beyond the left edge, one much larger than the picture, one far off.
    const QImage edge = Shade(Orb({0, 10, 50}, 40), im);
    EXPECT_FALSE(IsWhite(edge, 0, 50));
    const QImage huge = Shade(Orb({0, 60, 50}, 1e6), im);
    for (int y = 0; y < 100; y += 9)
        for (int x = 0; x < 120; x += 11) EXPECT_FALSE(IsWhite(huge, x, y)) << x << "," << y;
    const QImage off = Shade(Orb({0, 9000, -9000}, 50), im);
    EXPECT_TRUE(IsWhite(off, 60, 50));
}

TEST(OrbShading, NothingForAnUnfilledOrExportedSphere) {
    const DImProj im = ShadedPicture();
    DSf s = Orb({0, 120, 100}, 60);
    QImage img = WhiteImage(im.Width, im.Height);
    RasterSurface surface(img);
    RecordingCdrSink cdr;
    RecordingWordSink wrd;
    PaintTarget t;
    t.raster = &surface;
    t.cdr = &cdr;
    t.wrd = &wrd;
    for (const char* word : {"cdr", "wrd", "xyz"}) {
        t.kind = TargetKindOf(word);
        DrawOrb(s, im, t, 1);
    }
    s.Fill.On = false;
    t.kind = TargetKind::Pel;
    DrawOrb(s, im, t, 1);
    EXPECT_EQ(img, WhiteImage(im.Width, im.Height));
    EXPECT_TRUE(cdr.lines().empty());
    EXPECT_TRUE(wrd.lines().empty());
}

// ---------------------------------------------------------------------------
// Outline

TEST(OrbOutline, SectionsLieUnderTheContourAndTheCentreOnTop) {
    DSf s = Orb({0, 120, 100}, 60);
    s.Center.Typ.v = 2;
    s.Center.Radius.v = 3;
    s.Contour.Thick.v = 4;
    RecordingCanvas rec;
    DrawOrb(s, ShadedPicture(), PelTarget(rec), 2);
    const Lines ellipses = LinesStarting(rec, "drawEllipse");
    const Lines arcs = LinesStarting(rec, "drawArc");
    ASSERT_EQ(ellipses.size() + arcs.size(), 4u);
    // The contour is the last outline drawn, turned by its tilt.
    const Lines drawn = Drawn(rec);
    std::size_t lastOutline = 0, firstDisc = drawn.size();
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        if (drawn[i].rfind("drawEllipse", 0) == 0 || drawn[i].rfind("drawArc", 0) == 0) lastOutline = i;
        if (drawn[i].rfind("fillEllipse", 0) == 0) firstDisc = std::min(firstDisc, i);
    }
    EXPECT_NE(drawn[lastOutline].find("pen(4,"), std::string::npos) << drawn[lastOutline];
    EXPECT_LT(lastOutline, firstDisc);
    EXPECT_EQ(drawn.back(), "fillEllipse " + RecordingCanvas::Color(s.Center.Color.v) + " [" + RecordingCanvas::Num(s.Center.ScrX.v - 3) + "," +
                                RecordingCanvas::Num(200 - s.Center.ScrY.v - 3) + ",6,6]");
}

TEST(OrbOutline, WithoutContourAndSectionsOnlyTheCentre) {
    DSf s = Orb({0, 120, 100}, 60);
    s.ContourOn.v = false;
    for (auto& on : s.SecOn) on.v = false;
    s.Center.Typ.v = 2;
    s.Center.Radius.v = 3;
    RecordingCanvas rec;
    DrawOrb(s, ShadedPicture(), PelTarget(rec), 2);
    EXPECT_EQ(Drawn(rec).size(), 1u);
    EXPECT_EQ(LinesStarting(rec, "fillEllipse").size(), 1u);
}

TEST(OrbOutline, ExportsDrawTheSameEllipses) {
    DSf s = Orb({0, 120, 100}, 60);
    s.Center.Typ.v = 1;
    RecordingCdrSink cdr;
    RecordingWordSink wrd;
    PaintTarget t;
    t.kind = TargetKind::Cdr;
    t.cdr = &cdr;
    DrawOrb(s, ShadedPicture(), t, 2);
    t.kind = TargetKind::Wrd;
    t.wrd = &wrd;
    DrawOrb(s, ShadedPicture(), t, 2);
    std::size_t cdrEllipses = 0, arcs = 0;
    for (const std::string& l : cdr.lines()) cdrEllipses += l.rfind("CreateEllipse", 0) == 0;
    for (const std::string& l : wrd.lines()) arcs += l.rfind("OfficeArc", 0) == 0;
    // Mixed section outlines may come in pieces, alike in both exports.
    EXPECT_GE(cdrEllipses, 4u);
    EXPECT_EQ(cdrEllipses, arcs);
}

}  // namespace
