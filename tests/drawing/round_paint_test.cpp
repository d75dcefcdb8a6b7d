#include <gtest/gtest.h>

#include <QImage>

#include "drawing/round_paint.h"
#include "model/defaults.h"
#include "model/update.h"
#include "platform/raster_surface.h"
#include "solid_fixture.h"
#include "support/recording_sinks.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

using Lines = std::vector<std::string>;

DZi Cylinder(Vec3 p0, Vec3 p1, double r, std::uint8_t view = 4) {
    DZi z = MakeCylinder(p0, p1, r, view);
    if (!NearlyEqual(p0.x, p1.x) || !NearlyEqual(p0.y, p1.y)) SquareBase(z.Base[1], p1 - p0, r);
    FillOn(z);
    UpdateCylinder(z, 0);
    return z;
}

DKo Cone(Vec3 p0, Vec3 apex, double r, std::uint8_t view = 4) {
    DKo k = MakeCone(p0, apex, r, view);
    if (!NearlyEqual(p0.x, apex.x) || !NearlyEqual(p0.y, apex.y)) SquareBase(k.Base, apex - p0, r);
    FillOn(k);
    UpdateCone(k, 0);
    return k;
}

// Pass 1 of a solid on a white picture.
template <class Solid, class Paint>
QImage Shade(const Solid& s, const DImProj& im, Paint paint) {
    QImage img = WhiteImage(im.Width, im.Height);
    RasterSurface surface(img);
    PaintTarget t;
    t.kind = TargetKind::Pel;
    t.raster = &surface;
    paint(s, im, t, 1);
    return img;
}

int PaintedCount(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += !IsWhite(img, x, y);
    return n;
}

// ---------------------------------------------------------------------------
// Shading of the cylinder

struct CylinderCase {
    const char* name;
    Vec3 p0, p1;
    double r;
};

void PrintTo(const CylinderCase& c, std::ostream* os) { *os << c.name; }

class CylinderShading : public ::testing::TestWithParam<CylinderCase> {};

TEST_P(CylinderShading, ShowsTheBodyAsTheViewingRaysMeetIt) {
    const CylinderCase& c = GetParam();
    const DImProj im = ShadedPicture();
    const DZi z = Cylinder(c.p0, c.p1, c.r);
    const QImage img = Shade(z, im, DrawCylinder);
    int compared = 0;
    const int bad = Disagreeing(
        img, [&](int x, int y) { return SeeCylinder(c.p0, c.p1, c.r, im, x, y); }, 2, compared);
    EXPECT_GT(compared, im.Width * im.Height / 2);
    EXPECT_LE(bad, compared / 500) << c.name;
    EXPECT_GT(PaintedCount(img), 3000) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CylinderShading,
    ::testing::Values(CylinderCase{"upright", {0, 100, 40}, {0, 100, 140}, 40},
                      // Upper base below the lower one: the contour's vertices come mirrored.
                      CylinderCase{"upside down", {0, 100, 140}, {0, 100, 40}, 40},
                      CylinderCase{"tilted", {0, 70, 50}, {-30, 150, 120}, 30},
                      CylinderCase{"towards the viewer", {-60, 100, 60}, {40, 120, 80}, 35},
                      CylinderCase{"lying", {0, 40, 100}, {0, 190, 100}, 30}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (ch == ' ') ch = '_';
        return n;
    });

TEST(CylinderShading, UpperBaseIsOneFlatColourAndNeverShadedAsSide) {
    DImProj im = ShadedPicture();
    im.LightSource = 2;  // a vector light: the flat face has one colour
    im.LightDX = 1;
    im.LightDY = 0.5;
    im.LightDZ = 2;
    const DZi z = Cylinder({0, 100, 40}, {0, 100, 140}, 40);
    ASSERT_EQ(z.UpperVisible, 1);
    const QImage img = Shade(z, im, DrawCylinder);
    const int cx = RoundToInt(z.Base[2].Center.ScrX.v), cy = im.Height - RoundToInt(z.Base[2].Center.ScrY.v);
    const TColor top = PixelColour(img, cx, cy);
    EXPECT_NE(top, White);
    for (int dy = -5; dy <= 5; ++dy)
        for (int dx = -20; dx <= 20; ++dx) EXPECT_EQ(PixelColour(img, cx + dx, cy + dy), top) << dx << "," << dy;
    // The side below the upper base varies from left to right.
    const int ySide = im.Height - 90;
    EXPECT_NE(PixelColour(img, cx - 30, ySide), PixelColour(img, cx + 30, ySide));
}

TEST(CylinderShading, StaysOnThePictureWhenTheBodyReachesBeyondIt) {
    const DImProj im = ShadedPicture(120, 100);
    // Across the left and top edges, and one far larger than the picture.
    for (const auto& [p0, p1, r] : {std::tuple{Vec3{0, 10, 60}, Vec3{0, 10, 160}, 40.0},
                                    std::tuple{Vec3{0, 60, -1e5}, Vec3{0, 60, 1e5}, 1e5},
                                    std::tuple{Vec3{0, -5000, 0}, Vec3{0, -5000, 90}, 30.0}}) {
        const DZi z = Cylinder(p0, p1, r);
        const QImage img = Shade(z, im, DrawCylinder);
        EXPECT_EQ(img.size(), QSize(120, 100));
    }
    const QImage edge = Shade(Cylinder({0, 10, 60}, {0, 10, 160}, 40), im, DrawCylinder);
    EXPECT_FALSE(IsWhite(edge, 0, 50));
    const QImage off = Shade(Cylinder({0, -5000, 0}, {0, -5000, 90}, 30), im, DrawCylinder);
    EXPECT_EQ(PaintedCount(off), 0);
}

// ---------------------------------------------------------------------------
// Shading of the cone

struct ConeCase {
    const char* name;
    Vec3 p0, apex;
    double r;
};

void PrintTo(const ConeCase& c, std::ostream* os) { *os << c.name; }

class ConeShading : public ::testing::TestWithParam<ConeCase> {};

TEST_P(ConeShading, ShowsTheBodyAsTheViewingRaysMeetIt) {
    const ConeCase& c = GetParam();
    const DImProj im = ShadedPicture();
    const DKo k = Cone(c.p0, c.apex, c.r);
    const QImage img = Shade(k, im, DrawCone);
    int compared = 0;
    const int bad =
        Disagreeing(img, [&](int x, int y) { return SeeCone(c.p0, c.apex, c.r, im, x, y); }, 2, compared);
    EXPECT_GT(compared, im.Width * im.Height / 2);
    EXPECT_LE(bad, compared / 500) << c.name;
    EXPECT_GT(PaintedCount(img), 1500) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConeShading,
    ::testing::Values(ConeCase{"steep", {0, 110, 40}, {0, 110, 160}, 50},
                      // Height at most a third of the radius: seen from the far root.
                      ConeCase{"flat", {0, 110, 80}, {0, 110, 100}, 70},
                      ConeCase{"apex down", {0, 110, 150}, {0, 110, 40}, 45},
                      ConeCase{"tilted", {0, 70, 60}, {-20, 170, 140}, 40},
                      // The apex far to the right of the base: beyond the base's box.
                      ConeCase{"lying", {0, 40, 100}, {0, 200, 100}, 35},
                      ConeCase{"apex towards the viewer", {-40, 110, 90}, {60, 145, 125}, 50}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (ch == ' ') ch = '_';
        return n;
    });

TEST(ConeShading, ApexSeenInsideTheBaseShadesTheBaseAreaOnly) {
    const DImProj im = ShadedPicture();
    DKo k = Cone({-40, 110, 90}, {60, 145, 125}, 50);
    ASSERT_EQ(k.ApexInside, 1);
    ASSERT_EQ(k.BaseVisible, 0);
    // The contour triangle is not computed for such a cone: whatever it holds
    // must not be shaded.
    for (std::size_t i = 1; i <= 3; ++i) {
        k.Sec[2].S[i].P1.ScrX.v = i == 1 ? 0 : 239;
        k.Sec[2].S[i].P1.ScrY.v = i == 3 ? 0 : 199;
    }
    const QImage img = Shade(k, im, DrawCone);
    EXPECT_TRUE(IsWhite(img, 230, 195));
    EXPECT_TRUE(IsWhite(img, 5, 195));
    EXPECT_GT(PaintedCount(img), 2000);
}

TEST(ConeShading, UnfilledOrExportedConeGetsNoShading) {
    const DImProj im = ShadedPicture();
    DKo k = Cone({0, 110, 40}, {0, 110, 160}, 50);
    RecordingCdrSink cdr;
    QImage img = WhiteImage(im.Width, im.Height);
    RasterSurface surface(img);
    PaintTarget t;
    t.kind = TargetKind::Cdr;
    t.cdr = &cdr;
    t.raster = &surface;
    DrawCone(k, im, t, 1);
    t.kind = TargetKind::Wrd;
    DrawCone(k, im, t, 1);
    k.Fill.On = false;
    t.kind = TargetKind::Pel;
    DrawCone(k, im, t, 1);
    EXPECT_EQ(PaintedCount(img), 0);
    EXPECT_TRUE(cdr.lines().empty());
}

// ---------------------------------------------------------------------------
// Outlines

// The lines of the contour section are drawn with their own pen width, its
// vertices as discs of their own size, so they can be told apart.
template <class Section>
void MarkContour(Section& ct) {
    for (auto& s : ct.S) {
        s.Thick.v = 7;
        s.LineType.v = 1;
        for (DPoint* p : {&s.P1, &s.P2}) {
            p->Typ.v = 2;
            p->Radius.v = 9;
        }
    }
}

int Count(const Lines& lines, const std::string& part) {
    int n = 0;
    for (const std::string& l : lines) n += l.find(part) != std::string::npos;
    return n;
}

TEST(CylinderOutline, BasesThenSectionsThenAxisInEachSweep) {
    DZi z = Cylinder({0, 100, 40}, {0, 100, 140}, 40, 1);
    MarkContour(z.Sec[2]);
    z.Axis.Thick.v = 3;
    z.Axis.P1.Typ.v = z.Axis.P2.Typ.v = 2;
    z.Axis.P1.Radius.v = z.Axis.P2.Radius.v = 2;
    RecordingCanvas rec;
    DrawCylinder(z, ShadedPicture(), PelTarget(rec), 2);
    Lines drawn;
    for (const std::string& l : Drawn(rec))
        if (l.rfind("setRotation", 0) != 0 && l.rfind("resetTransform", 0) != 0) drawn.push_back(l);
    std::vector<std::string> kinds;
    for (const std::string& l : drawn) kinds.push_back(l.substr(0, l.find(' ')));
    // Part 0: the two bases, the four contour edges, the axis; then the points.
    ASSERT_GE(kinds.size(), 7u);
    EXPECT_EQ(Lines(kinds.begin(), kinds.begin() + 7),
              (Lines{"drawEllipse", "drawEllipse", "drawLine", "drawLine", "drawLine", "drawLine", "drawLine"}));
    EXPECT_NE(drawn[6].find("pen(3,"), std::string::npos);
    for (std::size_t i = 7; i < kinds.size(); ++i) EXPECT_EQ(kinds[i], "fillEllipse") << drawn[i];
    // The contour's vertices, each twice, then the axis ends.
    EXPECT_EQ(Count(drawn, ",18,18]"), 8);
    EXPECT_EQ(Count(drawn, ",4,4]"), 2);
}

TEST(CylinderOutline, AxisIsDrawnWithEverySectionOff) {
    DZi z = Cylinder({0, 100, 40}, {0, 100, 140}, 40, 1);
    for (auto& on : z.SecOn) on.v = false;
    z.Axis.Thick.v = 3;
    RecordingCanvas rec;
    DrawCylinder(z, ShadedPicture(), PelTarget(rec), 2);
    EXPECT_EQ(LinesStarting(rec, "drawLine").size(), 1u);
    EXPECT_EQ(LinesStarting(rec, "drawEllipse").size(), 2u);
}

TEST(ConeOutline, FlatConeDrawsNoContourPointsAndApexInsideNoContourLines) {
    const DImProj im = ShadedPicture();
    auto contour = [&](DKo k) {
        MarkContour(k.Sec[2]);
        RecordingCanvas rec;
        DrawCone(k, im, PelTarget(rec), 2);
        return std::pair{Count(rec.lines(), "pen(7,"), Count(rec.lines(), ",18,18]")};
    };
    // A steep upright cone: three edges and six vertex discs.
    EXPECT_EQ(contour(Cone({0, 110, 40}, {0, 110, 160}, 50, 1)), std::pair(3, 6));
    // Flat: the edges only.
    const DKo flat = Cone({0, 110, 80}, {0, 110, 100}, 70, 1);
    ASSERT_FALSE(flat.Axis.Length.v > flat.Radius.v / 3);
    EXPECT_EQ(contour(flat).second, 0);
    // Apex seen inside the base: the points only (the triangle is not
    // computed for it; here it is given three vertices of its own).
    DKo inside = Cone({-40, 110, 90}, {60, 145, 125}, 50, 1);
    ASSERT_EQ(inside.ApexInside, 1);
    for (std::size_t i = 1; i <= 3; ++i) {
        DPoint& v = inside.Sec[2].S[i].P1;
        v.ScrX.v = 50.0 + 40 * static_cast<double>(i);
        v.ScrY.v = i == 2 ? 150 : 50;
        inside.Sec[2].S[(i + 1) % 3 + 1].P2 = v;
    }
    EXPECT_EQ(contour(inside), std::pair(0, 6));
}

// With the circumscribed sphere on in the automatic view, every stroke of the cone or cylinder (bases, axis,
// the four sections' edges) is dashed, upright and leaning; the sphere, coloured apart, keeps its own view.
TEST(RoundOutline, BodyInsideItsCircumscribedSphereIsAllDashed) {
    const DefaultsSource src{.programFolder = "/nonexistent"};
    constexpr TColor sphere = 0x0000FF;
    auto solidStrokes = [](auto body, auto draw, std::size_t least) {
        body.View.v = 5, body.OutSphereOn.v = true;
        for (auto& on : body.SecOn) on.v = true;
        UpdateAsRead(body);
        body.OutSphere.Contour.Color.v = sphere;
        for (auto& c : body.OutSphere.Sec) c.Color.v = sphere;
        RecordingCanvas rec;
        draw(body, ShadedPicture(), PelTarget(rec), 2);
        Lines solid;
        std::size_t strokes = 0;
        for (const std::string& l : rec.lines())
            if (l.rfind("draw", 0) == 0 && l.rfind("drawText", 0) != 0 && l.find(RecordingCanvas::Color(sphere)) == l.npos)
                if (++strokes, l.find(",dash ") == l.npos) solid.push_back(l);
        EXPECT_GE(strokes, least) << "the bases, the axis and the sections' edges";
        return solid;
    };
    for (const Vec3 lean : {Vec3{}, Vec3{30, 60, -20}}) {
        DKo k;
        LoadDefaultCone(k, 1, src);
        SetPos(k.Axis.P2, Pos(k.Axis.P2) + lean);
        SquareBase(k.Base, Pos(k.Axis.P2) - Pos(k.Base.Center), k.Radius.v);
        EXPECT_EQ(solidStrokes(k, DrawCone, 11), Lines{}) << "cone leaning by " << lean.y;
        DZi z;
        LoadDefaultCylinder(z, 1, src);
        SetPos(z.Base[2].Center, Pos(z.Base[2].Center) + lean);
        SquareBase(z.Base[1], Pos(z.Base[2].Center) - Pos(z.Base[1].Center), z.Radius.v);
        EXPECT_EQ(solidStrokes(z, DrawCylinder, 15), Lines{}) << "cylinder leaning by " << lean.y;
    }
}

TEST(RoundOutline, ExportsGetOutlinesOnly) {
    const DImProj im = ShadedPicture();
    DZi z = Cylinder({0, 100, 40}, {0, 100, 140}, 40, 1);
    z.Axis.LineType.v = 1;
    z.Axis.Thick.v = 1;
    const DKo k = Cone({0, 110, 40}, {0, 110, 160}, 50, 1);
    RecordingWordSink wrd;
    PaintTarget t;
    t.kind = TargetKind::Wrd;
    t.wrd = &wrd;
    DrawCylinder(z, im, t, 1);
    DrawCone(k, im, t, 1);
    EXPECT_TRUE(wrd.lines().empty());
    DrawCylinder(z, im, t, 2);
    // Two bases, the two generators of the contour (its diameters lie on
    // the bases and are not drawn) and the axis.
    EXPECT_EQ(Count(wrd.lines(), "OfficeArc"), 2);
    EXPECT_EQ(Count(wrd.lines(), "OfficeLine"), 3);
    wrd.clear();
    DrawCone(k, im, t, 2);
    EXPECT_GE(Count(wrd.lines(), "OfficeArc"), 1);
    EXPECT_GE(Count(wrd.lines(), "OfficeLine"), 2);

    RecordingCdrSink cdr;
    t.kind = TargetKind::Cdr;
    t.cdr = &cdr;
    DrawCone(k, im, t, 2);
    EXPECT_GE(Count(cdr.lines(), "CreateEllipse"), 1);
    EXPECT_EQ(Count(cdr.lines(), "CdrSetFillColor"), 0);
}

}  // namespace
