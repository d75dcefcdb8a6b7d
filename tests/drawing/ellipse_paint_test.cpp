#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "drawing/ellipse_paint.h"
#include "figure_fixture.h"
#include "model/shading.h"
#include "platform/raster_surface.h"
#include "support/recording_sinks.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

using Lines = std::vector<std::string>;

// An ellipse 200 x 100 around the document point (400, 200), which lies at
// (400, 400) on the 800 x 600 picture: its box is [300, 350, 200, 100].
DCircle Wide(int thick = 1) { return MakeEllipse(400, 200, 100, 50, thick, Blue); }

const char* const Box = "[300,350,200,100]";

void ExpectPiece(const ArcPiece& p, double from, double to) {
    EXPECT_TRUE(p.on);
    EXPECT_DOUBLE_EQ(p.from, from);
    EXPECT_DOUBLE_EQ(p.to, to);
}

// The lines that draw outlines (no point marks, no labels).
Lines Outlines(const RecordingCanvas& rec) {
    Lines out;
    for (const std::string& l : rec.lines())
        if (l.rfind("drawArc", 0) == 0 || l.rfind("drawEllipse", 0) == 0 || l.rfind("setRotation", 0) == 0 ||
            l.rfind("resetTransform", 0) == 0)
            out.push_back(l);
    return out;
}

// ---------------------------------------------------------------------------
// Arc geometry

TEST(SplitArcByDash, MixedOutlinesOfAFullTurn) {
    ArcPieces p;
    // A dashed quarter and a solid three-quarter outline.
    SplitArcByDash(p, 0, 360, 90, 180);
    ExpectPiece(p[0], 90, 180);
    EXPECT_FALSE(p[1].on);
    ExpectPiece(p[2], 0, 90);
    ExpectPiece(p[3], 180, 360);

    // A dash range across 0 degrees gives two dashed pieces at the arc's ends.
    SplitArcByDash(p, 0, 360, 300, 60);
    ExpectPiece(p[0], 0, 60);
    ExpectPiece(p[1], 300, 360);
    ExpectPiece(p[2], 60, 300);
    EXPECT_FALSE(p[3].on);

    // Equal ends are full turns: one dashed piece, the whole turn.
    SplitArcByDash(p, 20, 20, 45, 45);
    ExpectPiece(p[0], 20, 380);
    for (std::size_t i = 1; i < 4; ++i) EXPECT_FALSE(p[i].on);
}

TEST(SplitArcByDash, ArcsAcrossZeroAndRangesThatMiss) {
    ArcPieces p;
    // The arc from 300 to 60 runs on to 420 in its own numbering.
    SplitArcByDash(p, 300, 60, 0, 30);
    ExpectPiece(p[0], 360, 390);
    EXPECT_FALSE(p[1].on);
    ExpectPiece(p[2], 300, 360);
    ExpectPiece(p[3], 390, 420);

    // A dash range apart from the arc, or only touching it, leaves it solid.
    for (double from : {180.0, 90.0}) {
        SplitArcByDash(p, 0, 90, from, 270);
        EXPECT_FALSE(p[0].on);
        EXPECT_FALSE(p[1].on);
        ExpectPiece(p[2], 0, 90);
        EXPECT_FALSE(p[3].on);
    }

    // Negative angles, as the flipped record holds them.
    SplitArcByDash(p, -360, 0, -180, -90);
    ExpectPiece(p[0], -180, -90);
    ExpectPiece(p[2], -360, -180);
    ExpectPiece(p[3], -90, 0);

    // What is not a number splits into nothing.
    SplitArcByDash(p, NAN, 90, 0, 10);
    for (const ArcPiece& q : p) EXPECT_FALSE(q.on);
}

TEST(EllipseArcAngle, CirclesKeepTheirAnglesWideEllipsesMoveThem) {
    for (double a : {-200.0, -120.0, -30.0, 0.0, 30.0, 135.0, 200.0, 300.0, 400.0})
        EXPECT_NEAR(EllipseArcAngle(a, 50, 50), a, 1e-9) << a;
    // Twice as wide as high: 45 degrees on the ray is the parameter arctan 2.
    EXPECT_NEAR(EllipseArcAngle(45, 100, 50), 63.4349488, 1e-6);
    EXPECT_NEAR(EllipseArcAngle(-120, 100, 50), -106.1021137, 1e-6);
    EXPECT_NEAR(EllipseArcAngle(225, 100, 50), 243.4349488, 1e-6);
    // The exact right angles.
    const double exact[][2] = {{-450, -90}, {-270, 90}, {-90, -90}, {90, 90}, {270, 270}, {450, 90}};
    for (const auto& e : exact) EXPECT_EQ(EllipseArcAngle(e[0], 100, 50), e[1]) << e[0];
    // A flat ellipse does not divide by its height.
    EXPECT_EQ(EllipseArcAngle(30, 100, 0), 90);
}

TEST(EllipsePointAtAngle, CorrectionsWidenTheBox) {
    int x = 0, y = 0;
    // Correction a2 = 1 on a circle of radius 10: A = 10.5, shifted by 0.5.
    EllipsePointAtAngle(50, 60, 10, 11, 10, 10, 0, x, y);
    EXPECT_EQ(x, 61);
    EXPECT_EQ(y, 60);
    EllipsePointAtAngle(50, 60, 10, 11, 10, 10, 180, x, y);
    EXPECT_EQ(x, 40);
    // Straight down and up the radius is the vertical semi-axis.
    EllipsePointAtAngle(50, 60, 40, 40, 10, 10, 90, x, y);
    EXPECT_EQ(x, 50);
    EXPECT_EQ(y, 70);
    EllipsePointAtAngle(50, 60, 40, 40, 10, 10, -90, x, y);
    EXPECT_EQ(y, 50);
    // On the diagonal ray of a 2:1 ellipse: r = 2b / sqrt(5) * sqrt(2).
    EllipsePointAtAngle(0, 0, 20, 20, 10, 10, 45, x, y);
    EXPECT_EQ(x, 9);
    EXPECT_EQ(y, 9);
}

// ---------------------------------------------------------------------------
// The own picture

TEST(EllipsePel, WholeOutlinesAndArcs) {
    RecordingCanvas rec;
    DCircle c = Wide();
    DrawCircle(c, Picture(), PelTarget(rec), 2);
    EXPECT_EQ(Outlines(rec), (Lines{std::string("drawEllipse pen(1,#0000FF,round) ") + Box}));

    // The document's arc 10..80 is -80..-10 on the picture, drawn from its end.
    rec.clear();
    c.Arc1.v = 10;
    c.Arc2.v = 80;
    DrawCircle(c, Picture(), PelTarget(rec), 2);
    EXPECT_EQ(Outlines(rec), (Lines{std::string("drawArc pen(1,#0000FF,round) ") + Box + " -10 -70"}));

    // An arc across 0 degrees, 300..60, is the arc through 0 on the picture.
    rec.clear();
    c.Arc1.v = 300;
    c.Arc2.v = 60;
    DrawCircle(c, Picture(), PelTarget(rec), 2);
    EXPECT_EQ(Outlines(rec), (Lines{std::string("drawArc pen(1,#0000FF,round) ") + Box + " 60 -120"}));
}

TEST(EllipsePel, DashesSelectionTiltAndCorrections) {
    RecordingCanvas rec;
    DCircle c = Wide(3);
    c.ViewType.v = 2;
    DrawCircle(c, Picture(), PelTarget(rec), 2);
    // Dash 6 and gap 3 in pen widths of 3.
    EXPECT_EQ(Outlines(rec), (Lines{std::string("drawEllipse pen(3,#0000FF,dash 2 1,round) ") + Box}));

    // A hairline takes dash and gap as they are; selection colours the outline.
    rec.clear();
    c.Thick.v = 0;
    c.Selected = true;
    c.SelColor = Green;
    DrawCircle(c, Picture(), PelTarget(rec), 2);
    EXPECT_EQ(Outlines(rec), (Lines{std::string("drawEllipse pen(0,#00FF00,dash 6 3,round) ") + Box}));

    // The tilt turns the picture about the centre, the other way round after the flip.
    rec.clear();
    c = Wide();
    c.Tilt.v = 30;
    DrawCircle(c, Picture(), PelTarget(rec), 2);
    EXPECT_EQ(Outlines(rec), (Lines{"setRotation -30 (400,400)", std::string("drawEllipse pen(1,#0000FF,round) ") + Box,
                                    "resetTransform"}));

    // Correction a2 = 1 on a circle of radius 10 widens the box to the right.
    rec.clear();
    c = MakeEllipse(50, 550, 10, 10);
    c.CorA2 = 1;
    DrawCircle(c, Picture(), PelTarget(rec), 2);
    EXPECT_EQ(Outlines(rec), (Lines{"drawEllipse pen(1,#0000FF,round) [40,40,21,20]"}));
}

TEST(EllipsePel, MixedOutlinesDrawSolidPiecesFirst) {
    RecordingCanvas rec;
    DCircle c = Wide();
    c.ViewType.v = 4;
    c.DashArc1.v = 90;
    c.DashArc2.v = 180;
    DrawCircle(c, Picture(), PelTarget(rec), 2);
    // The document's upper-left quarter is 180..270 on the picture.
    const std::string solid = std::string("drawArc pen(1,#0000FF,round) ") + Box;
    const std::string dashed = std::string("drawArc pen(1,#0000FF,dash 6 3,round) ") + Box;
    EXPECT_EQ(Outlines(rec), (Lines{solid + " 0 180", solid + " 270 90", dashed + " 180 90"}));

    // A dash range across 0 degrees.
    rec.clear();
    c.DashArc1.v = 300;
    c.DashArc2.v = 60;
    DrawCircle(c, Picture(), PelTarget(rec), 2);
    EXPECT_EQ(Outlines(rec), (Lines{solid + " 60 240", dashed + " 0 60", dashed + " 300 60"}));
}

TEST(EllipsePel, CentreRadiiAndEmptyEllipses) {
    RecordingCanvas rec;
    DCircle c = Wide();
    c.Center.Typ.v = 2;
    c.Center.Radius.v = 3;
    c.ShowR[2].v = true;
    c.R[2] = MakeLine(400, 200, 400, 250, 1, Blue);
    DrawCircle(c, Picture(), PelTarget(rec), 2);
    // Part 0: outline, radius line; part 1: centre, then the radius's points.
    EXPECT_EQ(Drawn(rec), (Lines{std::string("drawEllipse pen(1,#0000FF,round) ") + Box,
                                 "drawLine pen(1,#0000FF,round) (400,400) (400,350)",
                                 "fillEllipse #0000FF [397,397,6,6]"}));

    // Invisible: the centre and the radius stay.
    rec.clear();
    c.ViewType.v = 3;
    DrawCircle(c, Picture(), PelTarget(rec), 2);
    EXPECT_EQ(Drawn(rec), (Lines{"drawLine pen(1,#0000FF,round) (400,400) (400,350)",
                                 "fillEllipse #0000FF [397,397,6,6]"}));

    // A semi-axis of 0 draws nothing at all.
    for (int which = 0; which < 2; ++which) {
        rec.clear();
        c.ViewType.v = 1;
        c.A.v = which == 0 ? 0 : 100;
        c.B.v = which == 1 ? 0 : 50;
        DrawCircle(c, Picture(), PelTarget(rec), 2);
        EXPECT_TRUE(rec.lines().empty());
    }
}

// ---------------------------------------------------------------------------
// The drawing program and the word processor

// The outline shapes of the word processor (the centre is an oval of its own).
Lines Arcs(const RecordingWordSink& wrd) {
    Lines out;
    for (const std::string& l : wrd.lines())
        if (l.rfind("OfficeArc", 0) == 0) out.push_back(l);
    return out;
}

struct EllipseExport : ::testing::Test {
    RecordingCdrSink cdr;
    RecordingWordSink wrd;
    DCircle c = Wide(2);

    void draw() {
        cdr.clear();
        wrd.clear();
        PaintTarget t;
        t.kind = TargetKind::Cdr;
        t.cdr = &cdr;
        DrawCircle(c, Picture(), t, 2);
        t.kind = TargetKind::Wrd;
        t.cdr = nullptr;
        t.wrd = &wrd;
        DrawCircle(c, Picture(), t, 2);
    }
};

// At 96 dpi one pixel is 2645.83 units of the drawing program; the page's
// origin is the picture's centre (400, 300) with y upwards.  The box of the
// ellipse runs from y 350 to 450 and x 300 to 500 on the picture.
TEST_F(EllipseExport, ArcOfAWideEllipse) {
    c.Arc1.v = 30;
    c.Arc2.v = 120;
    draw();
    // Picture angles -120 and -30 as parameter angles of the 2:1 ellipse:
    // -106.102 and -49.107, sent negated.
    EXPECT_EQ(cdr.lines(), (Lines{"CreateEllipse -132292 -264583 -396875 264583 -106102114 -49106605 0",
                                  "SetOutlineWidth 5292", "CdrSetOutlineColor #0000FF", "CdrRememberShape"}));
    EXPECT_EQ(Arcs(wrd), (Lines{"OfficeArc #0000FF 0 1 400 400 100 100 50 50 2 0 -120 -30"}));

    // Dashed and tilted.
    c.ViewType.v = 2;
    c.Tilt.v = 20;
    draw();
    EXPECT_EQ(cdr.lines(), (Lines{"CreateEllipse -132292 -264583 -396875 264583 -106102114 -49106605 0",
                                  "ApplyOutline 5292 2 0 0 50 0 1 0 0 0", "SetOutlineWidth 5292",
                                  "RotateObject 20000000 0 0 -264583", "CdrSetOutlineColor #0000FF",
                                  "CdrRememberShape"}));
    EXPECT_EQ(Arcs(wrd), (Lines{"OfficeArc #0000FF 1 1 400 400 100 100 50 50 2 -20 -120 -30"}));
}

TEST_F(EllipseExport, MixedOutlineIsOneShapePerPiece) {
    c.ViewType.v = 4;
    c.Arc1.v = 30;
    c.Arc2.v = 300;
    c.DashArc1.v = 90;
    c.DashArc2.v = 180;
    c.Selected = true;  // the exports keep the ellipse's own colour
    c.SelColor = Green;
    draw();
    // Document pieces: dashed 90..180, solid 30..90 and 180..300; on the
    // picture -180..-90, -90..-30 and -300..-180.
    const std::string create = "CreateEllipse -132292 -264583 -396875 264583 ";
    EXPECT_EQ(cdr.lines(),
              (Lines{create + "-180000000 -90000000 0", "ApplyOutline 5292 2 0 0 50 0 1 0 0 0",
                     "CdrSetOutlineColor #0000FF", "CdrRememberShape", create + "-90000000 -49106605 0",
                     "SetOutlineWidth 5292", "CdrSetOutlineColor #0000FF", "CdrRememberShape",
                     create + "-286102114 -180000000 0", "SetOutlineWidth 5292", "CdrSetOutlineColor #0000FF",
                     "CdrRememberShape"}));
    const std::string arc = "OfficeArc #0000FF ";
    const std::string box = " 1 400 400 100 100 50 50 2 0 ";
    EXPECT_EQ(Arcs(wrd), (Lines{arc + "1" + box + "-180 -90", arc + "0" + box + "-90 -30",
                                  arc + "0" + box + "-300 -180"}));
}

TEST_F(EllipseExport, InvisibleAndEmptyEllipses) {
    // Invisible: the centre stays, an empty mark for the word processor.
    c.ViewType.v = 3;
    draw();
    EXPECT_TRUE(cdr.lines().empty());
    EXPECT_EQ(wrd.lines(), (Lines{"OfficeOval 1 #0000FF 400 400 0 0"}));

    c.ViewType.v = 1;
    c.B.v = 0;
    draw();
    EXPECT_TRUE(cdr.lines().empty());
    EXPECT_TRUE(wrd.lines().empty());

    // Pass 1 draws nothing for the exports, fill or not.
    SetFill(c.Fill);
    c.B.v = 50;
    PaintTarget t;
    t.kind = TargetKind::Cdr;
    t.cdr = &cdr;
    cdr.clear();
    DrawCircle(c, Picture(), t, 1);
    EXPECT_TRUE(cdr.lines().empty());
}

// ---------------------------------------------------------------------------
// Fills

struct EllipseFill : ::testing::Test {
    DImProj im = Picture(200, 150);
    QImage img = WhiteImage(200, 150);
    DCircle c = MakeEllipse(100, 75, 40, 30);  // centre (100, 75) on the picture too

    void SetUp() override {
        SetFill(c.Fill);
        im.LightX = 300;
        im.LightY = -100;
        im.LightZ = 250;
    }
    void fill() {
        RasterSurface s(img);
        PaintTarget t;
        t.kind = TargetKind::Pel;
        t.raster = &s;
        DrawCircle(c, im, t, 1);
    }
    bool white(int x, int y) const { return PixelColour(img, x, y) == White; }
    // The colour of a pixel under the point light, for the plane X = 0.
    TColor lit(int x, int y) const {
        return ShadeColor(Red, Green, Blue, 1, 0, 0, {im.LightX, im.LightY - x, im.LightZ - (im.Height - y)},
                          im.BorderPercent, false, im.BorderAngle);
    }
};

TEST_F(EllipseFill, VectorLightIsOneFlatColour) {
    im.LightSource = 2;
    fill();
    const TColor flat = ShadeColor(Red, Green, Blue, 1, 0, 0, {im.LightDX, im.LightDY, im.LightDZ},
                                   im.BorderPercent, false, im.BorderAngle);
    std::set<TColor> inside;
    for (int y = 50; y <= 100; ++y)
        for (int x = 65; x <= 135; ++x)
            if (!white(x, y)) inside.insert(PixelColour(img, x, y));
    EXPECT_EQ(inside, std::set<TColor>{flat});
    EXPECT_EQ(PixelColour(img, 100, 75), flat);
    EXPECT_EQ(PixelColour(img, 139, 75), flat);
    EXPECT_TRUE(white(142, 75));
    EXPECT_TRUE(white(100, 107));
}

TEST_F(EllipseFill, PointLightShadesEachPixel) {
    fill();
    EXPECT_EQ(PixelColour(img, 100, 75), lit(100, 75));
    EXPECT_EQ(PixelColour(img, 70, 60), lit(70, 60));
    EXPECT_EQ(PixelColour(img, 125, 90), lit(125, 90));
    EXPECT_NE(lit(70, 60), lit(125, 90));
    // The plain semi-axes bound the fill: the box's corner stays white.
    EXPECT_TRUE(white(61, 46));
    EXPECT_TRUE(white(100, 106));
    EXPECT_FALSE(white(100, 105));
}

TEST_F(EllipseFill, ArcsAcrossZeroAndHalfEllipses) {
    for (std::uint8_t light : {1, 2}) {
        im.LightSource = light;
        // The document's arc 300..60 is the sector on the right.
        img = WhiteImage(200, 150);
        c.Arc1.v = 300;
        c.Arc2.v = 60;
        fill();
        EXPECT_FALSE(white(130, 75)) << int(light);
        EXPECT_FALSE(white(120, 70)) << int(light);
        EXPECT_TRUE(white(80, 75)) << int(light);
        EXPECT_TRUE(white(100, 55)) << int(light);

        // Arc 0..180 is the upper half of the picture, not the whole ellipse.
        img = WhiteImage(200, 150);
        c.Arc1.v = 0;
        c.Arc2.v = 180;
        fill();
        EXPECT_FALSE(white(100, 55)) << int(light);
        EXPECT_FALSE(white(80, 70)) << int(light);
        EXPECT_TRUE(white(100, 95)) << int(light);
        EXPECT_TRUE(white(120, 80)) << int(light);

        // A sector of more than a half turn: 0..270 leaves the lower right quarter.
        img = WhiteImage(200, 150);
        c.Arc2.v = 270;
        fill();
        EXPECT_FALSE(white(80, 90)) << int(light);
        EXPECT_FALSE(white(120, 60)) << int(light);
        EXPECT_TRUE(white(120, 90)) << int(light);
    }
}

TEST_F(EllipseFill, TiltedFillsTurnWithTheOutline) {
    // A flat ellipse 80 x 8 turned by 90 degrees stands upright.
    c.A.v = 40;
    c.B.v = 4;
    c.Tilt.v = 90;
    for (std::uint8_t light : {1, 2}) {
        im.LightSource = light;
        img = WhiteImage(200, 150);
        fill();
        EXPECT_FALSE(white(100, 40)) << int(light);
        EXPECT_FALSE(white(100, 110)) << int(light);
        EXPECT_TRUE(white(130, 75)) << int(light);
        EXPECT_TRUE(white(70, 75)) << int(light);
    }
}

TEST_F(EllipseFill, PixelLoopsStayOnThePicture) {
    // Far larger than the picture: every pixel is inside, whatever the tilt.
    c.A.v = 1e6;
    c.B.v = 1e6;
    for (double tilt : {0.0, 33.0}) {
        c.Tilt.v = tilt;
        img = WhiteImage(200, 150);
        fill();
        EXPECT_EQ(PixelColour(img, 0, 0), lit(0, 0));
        EXPECT_EQ(PixelColour(img, 199, 149), lit(199, 149));
    }
    // Beyond the picture's edges nothing is drawn and nothing breaks.
    c = MakeEllipse(-500, 900, 40, 30);
    SetFill(c.Fill);
    img = WhiteImage(200, 150);
    fill();
    for (int y = 0; y < 150; y += 7)
        for (int x = 0; x < 200; x += 7) ASSERT_TRUE(white(x, y));
}

TEST_F(EllipseFill, OnlyTheOwnPictureWithTheFillOnIsFilled) {
    c.Fill.On = false;
    fill();
    EXPECT_TRUE(white(100, 75));

    // Pass 2 never fills.
    c.Fill.On = true;
    RasterSurface s(img);
    PaintTarget t;
    t.kind = TargetKind::Pel;
    t.raster = &s;
    DrawCircle(c, im, t, 2);
    EXPECT_TRUE(white(100, 75));
}

}  // namespace
