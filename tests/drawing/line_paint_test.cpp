#include <gtest/gtest.h>

#include <cmath>

#include "drawing/figure_fixture.h"
#include "drawing/line_paint.h"
#include "paint_fixture.h"
#include "platform/qt_canvas.h"
#include "support/recording_sinks.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

using Lines = std::vector<std::string>;

// A segment from (10, 100) to (110, 100) on a 600 high picture.
DLine Horizontal() { return MakeLine(10, 500, 110, 500, 3, Blue); }

// ---------------------------------------------------------------------------
// The own picture

TEST(LinePel, SolidAndDashedPens) {
    RecordingCanvas rec;
    DLine l = Horizontal();
    DrawLine(l, Picture(), PelTarget(rec));
    EXPECT_EQ(LinesStarting(rec, "drawLine"), (Lines{"drawLine pen(3,#0000FF,round) (10,100) (110,100)"}));

    // Dashes and gaps are given in pen widths: 6 and 3 pixels at thickness 3.
    rec.clear();
    l.LineType.v = 2;
    l.Dash.v = 6;
    l.Gap.v = 3;
    DrawLine(l, Picture(), PelTarget(rec));
    EXPECT_EQ(LinesStarting(rec, "drawLine"), (Lines{"drawLine pen(3,#0000FF,dash 2 1,round) (10,100) (110,100)"}));
}

TEST(LinePel, HiddenLinesKeepTheirPoints) {
    for (int variant = 0; variant < 2; ++variant) {
        RecordingCanvas rec;
        DLine l = Horizontal();
        if (variant == 0) l.Thick.v = 0;
        else l.LineType.v = 3;
        l.P1.Typ.v = 2;
        l.P1.Radius.v = 2;
        l.Arrow2.v = true;
        l.Arrow2Len.v = 10;
        l.Arrow2Angle.v = 20;
        DrawLine(l, Picture(), PelTarget(rec));
        EXPECT_TRUE(LinesStarting(rec, "drawLine").empty());
        EXPECT_EQ(LinesStarting(rec, "fillEllipse").size(), 1u);
        EXPECT_EQ(LinesStarting(rec, "fillPolygon").size(), 1u);
    }
}

TEST(LinePel, CoincidentEndsDrawNothing) {
    RecordingCanvas rec;
    DLine l = MakeLine(40, 40, 40, 40);
    l.P1.Typ.v = 2;
    l.P1.Radius.v = 3;
    l.P1.Name.s = "A";
    l.Arrow1.v = true;
    l.Arrow1Len.v = 10;
    DrawLine(l, Picture(), PelTarget(rec));
    EXPECT_TRUE(rec.lines().empty());
}

TEST(LinePel, ArrowShortensTheLineAndHidesTheDisc) {
    RecordingCanvas rec;
    DLine l = Horizontal();
    l.Arrow1.v = true;
    l.Arrow1Len.v = 10;
    l.Arrow1Angle.v = 20;
    l.P1.Typ.v = 2;
    l.P1.Radius.v = 3;
    l.P1.Name.s = "A";
    l.P2.Typ.v = 2;
    l.P2.Radius.v = 3;
    DrawLine(l, Picture(), PelTarget(rec));
    // The visible line starts 9 pixels from end 1.
    EXPECT_EQ(LinesStarting(rec, "drawLine"), (Lines{"drawLine pen(3,#0000FF,round) (19,100) (110,100)"}));
    // End 1 shows its label but no disc; end 2 keeps its disc.
    EXPECT_EQ(LinesStarting(rec, "fillEllipse"), (Lines{"fillEllipse #0000FF [107,97,6,6]"}));
    EXPECT_EQ(LinesStarting(rec, "drawText").size(), 1u);
    // The arrowhead's tip is end 1 itself; it comes after the points.
    const Lines arrows = LinesStarting(rec, "fillPolygon");
    ASSERT_EQ(arrows.size(), 1u);
    EXPECT_EQ(arrows[0].rfind("fillPolygon #0000FF (10,100) (20,", 0), 0u) << arrows[0];
    EXPECT_EQ(rec.lines().back(), arrows[0]);
}

TEST(LinePel, PointsThreeAndFourWhenShown) {
    RecordingCanvas rec;
    DLine l = Horizontal();
    l.P3 = MakePoint(40, 500, 2, 2, Green);
    l.P4 = MakePoint(80, 500, 2, 2, Green);
    l.Show3.v = true;
    DrawLine(l, Picture(), PelTarget(rec));
    EXPECT_EQ(LinesStarting(rec, "fillEllipse"), (Lines{"fillEllipse #00FF00 [38,98,4,4]"}));
    // Part 0 alone draws no point, part 1 alone no line.
    rec.clear();
    DLine flipped = l;
    flipped.P1.ScrY.v = flipped.P2.ScrY.v = flipped.P3.ScrY.v = 100;
    DrawLineElement(flipped, 0, Picture(), PelTarget(rec));
    EXPECT_TRUE(LinesStarting(rec, "fillEllipse").empty());
    EXPECT_EQ(LinesStarting(rec, "drawLine").size(), 1u);
    rec.clear();
    DrawLineElement(flipped, 1, Picture(), PelTarget(rec));
    EXPECT_TRUE(LinesStarting(rec, "drawLine").empty());
    EXPECT_EQ(LinesStarting(rec, "fillEllipse").size(), 1u);
}

TEST(LinePel, VerticalArrowPointsUp) {
    RecordingCanvas rec;
    // From (50, 10) to (50, 90) on the picture.
    DLine l = MakeLine(50, 590, 50, 510, 1, Blue);
    l.Arrow1.v = true;
    l.Arrow1Len.v = 10;
    l.Arrow1Angle.v = 30;
    DrawLine(l, Picture(), PelTarget(rec));
    PointF b1, b2;
    ArrowBarbs(50, 10, 50, 90, 10, 30, b1, b2);
    EXPECT_NEAR(b1.y, 20, 1e-9);
    EXPECT_NEAR(b2.y, 20, 1e-9);
    EXPECT_NEAR(std::fabs(b1.x - 50), 10 * std::tan(30 * M_PI / 180), 1e-9);
    EXPECT_NEAR(b1.x + b2.x, 100, 1e-9);
    const Lines arrows = LinesStarting(rec, "fillPolygon");
    ASSERT_EQ(arrows.size(), 1u);
    EXPECT_EQ(arrows[0], "fillPolygon #0000FF (50,10) (55.7735,20) (44.2265,20)");
}

TEST(LinePel, ArrowDirections) {
    PointF b1, b2;
    // Tip right of the tail: the barbs lie to the left of the tip.
    ArrowBarbs(100, 50, 0, 50, 10, 45, b1, b2);
    EXPECT_NEAR(b1.x, 90, 1e-9);
    EXPECT_NEAR(b2.x, 90, 1e-9);
    EXPECT_NEAR(std::fabs(b1.y - b2.y), 20, 1e-9);
    // Tip below the tail on the picture: barbs above it.
    ArrowBarbs(50, 90, 50, 10, 10, 30, b1, b2);
    EXPECT_NEAR(b1.y, 80, 1e-9);
    // Same tip and tail: the axis points down the picture, no failure.
    ArrowBarbs(5, 5, 5, 5, 10, 30, b1, b2);
    EXPECT_NEAR(b1.y, 15, 1e-9);
}

TEST(LinePel, SelectedSegmentKeepsItsArrowColour) {
    RecordingCanvas rec;
    DLine l = Horizontal();
    l.Selected = true;
    l.SelColor = Green;
    l.Arrow2.v = true;
    l.Arrow2Len.v = 10;
    l.Arrow2Angle.v = 20;
    DrawLine(l, Picture(), PelTarget(rec));
    EXPECT_EQ(LinesStarting(rec, "drawLine"), (Lines{"drawLine pen(3,#00FF00,round) (10,100) (101,100)"}));
    const Lines arrows = LinesStarting(rec, "fillPolygon");
    ASSERT_EQ(arrows.size(), 1u);
    EXPECT_EQ(arrows[0].rfind("fillPolygon #0000FF (110,100)", 0), 0u);
}

TEST(LinePel, ArrowTipsUseTheRoundedEnds) {
    RecordingCanvas rec;
    DLine l = MakeLine(10.4, 500, 110.6, 500, 1, Blue);
    l.Arrow1.v = true;
    l.Arrow1Len.v = 5;
    l.Arrow1Angle.v = 20;
    DrawLine(l, Picture(), PelTarget(rec));
    const Lines arrows = LinesStarting(rec, "fillPolygon");
    ASSERT_EQ(arrows.size(), 1u);
    EXPECT_EQ(arrows[0].rfind("fillPolygon #0000FF (10,100) (15,", 0), 0u) << arrows[0];
    EXPECT_EQ(LinesStarting(rec, "drawLine"), (Lines{"drawLine pen(1,#0000FF,round) (14.4,100) (110.6,100)"}));
}

// ---------------------------------------------------------------------------
// The exports: a dashed segment with arrows at both ends

struct ExportSegment {
    DImProj im = Picture(800, 600, 100);
    DLine l;
    RecordingCanvas measure;
    ExportSegment() {
        l = MakeLine(100, 500, 300, 500, 2, Blue);  // (100, 100) to (300, 100) on the picture
        l.LineType.v = 2;
        l.Dash.v = 6;
        l.Gap.v = 3;
        l.Arrow1.v = l.Arrow2.v = true;
        l.Arrow1Len.v = l.Arrow2Len.v = 10;
        l.Arrow1Angle.v = l.Arrow2Angle.v = 20;
        l.P1.Typ.v = l.P2.Typ.v = 2;
        l.P1.Radius.v = l.P2.Radius.v = 3;
    }
    PaintTarget target(const char* word) {
        PaintTarget t;
        t.kind = TargetKindOf(word);
        t.measure = &measure;
        t.options.CdrArrowNo = 3;
        t.options.CdrDashNo = 4;
        t.options.WordArrowNo = 2;
        t.options.WordDashNo = 5;
        return t;
    }
};

TEST(LineExport, CdrOutlineWithItsOwnArrowNumbers) {
    ExportSegment e;
    RecordingCdrSink cdr;
    PaintTarget t = e.target("cdr");
    t.cdr = &cdr;
    DrawLine(e.l, e.im, t);
    // The full length; the drawing program draws arrowheads 3 at both ends.
    // The ends carry arrows, so they are drawn without discs.
    EXPECT_EQ(cdr.lines(), (Lines{
                               "BeginDrawCurve -762000 508000",
                               "DrawCurveLineTo -254000 508000",
                               "EndDrawCurve",
                               "CdrSetOutlineColor #0000FF",
                               "ApplyOutline 5080 2 0 0 50 0 4 3 3 0",
                               "CdrRememberShape",
                           }));
}

TEST(LineExport, CdrOwnArrowheads) {
    ExportSegment e;
    RecordingCdrSink cdr;
    PaintTarget t = e.target("cdr");
    t.cdr = &cdr;
    t.options.CdrOwnArrows = true;
    e.l.Arrow1.v = e.l.Arrow2.v = true;
    DrawLine(e.l, e.im, t);
    // The line stops 9 pixels inside each tip; barbs at 10 px along, 10 tan 20 across.
    EXPECT_EQ(cdr.lines(), (Lines{
                               "BeginDrawCurve -739140 508000",
                               "DrawCurveLineTo -276860 508000",
                               "EndDrawCurve",
                               "CdrSetOutlineColor #0000FF",
                               "ApplyOutline 5080 2 0 0 50 0 4 0 0 0",
                               "CdrRememberShape",
                               "BeginDrawCurve -762000 508000",
                               "DrawCurveLineTo -736600 517245",
                               "DrawCurveLineTo -736600 498755",
                               "EndDrawCurve",
                               "CloseCurve",
                               "CdrSetOutlineColor #0000FF",
                               "CdrSetFillColor #0000FF",
                               "SetOutlineWidth 2540",
                               "CdrRememberShape",
                               "BeginDrawCurve -254000 508000",
                               "DrawCurveLineTo -279400 498755",
                               "DrawCurveLineTo -279400 517245",
                               "EndDrawCurve",
                               "CloseCurve",
                               "CdrSetOutlineColor #0000FF",
                               "CdrSetFillColor #0000FF",
                               "SetOutlineWidth 2540",
                               "CdrRememberShape",
                           }));
}

TEST(LineExport, CdrSolidLineWithoutArrows) {
    ExportSegment e;
    RecordingCdrSink cdr;
    PaintTarget t = e.target("cdr");
    t.cdr = &cdr;
    e.l.LineType.v = 1;
    e.l.Arrow1.v = e.l.Arrow2.v = false;
    DrawLine(e.l, e.im, t);
    ASSERT_GE(cdr.lines().size(), 5u);
    EXPECT_EQ(cdr.lines()[4], "ApplyOutline 5080 1 0 0 50 0 4 0 0 0");
    // Both ends now show their discs.
    int ellipses = 0;
    for (const auto& line : cdr.lines()) ellipses += line.rfind("CreateEllipse", 0) == 0;
    EXPECT_EQ(ellipses, 2);
}

TEST(LineExport, WordLineRunsTheFullLength) {
    ExportSegment e;
    RecordingWordSink wrd;
    PaintTarget t = e.target("wrd");
    t.wrd = &wrd;
    e.l.Arrow2.v = false;
    DrawLine(e.l, e.im, t);
    // The arrowhead at end 1 as the picture draws it: 10 long, 2 x 10 x
    // tan 20 degrees wide.
    EXPECT_EQ(wrd.lines(), (Lines{
                               "OfficeLine #0000FF 1 5 100 100 300 100 2 2 0 10 7.2794 0 0",
                               "OfficeOval 1 #0000FF 100 100 3 3",
                               "OfficeOval 2 #0000FF 300 100 3 3",
                           }));
}


// ---------------------------------------------------------------------------
// Dashed segments that lie on each other

// A dashed segment and one drawn back over it from its other end still show
// their gaps on the picture (at 364 pixels long the second one's dashes
// would fill the first one's gaps).  The exports' table is in the office
// tests.
TEST(LineDashes, CoincidentSegmentsStayDashedOnThePicture) {
    QImage img = WhiteImage(400, 60);
    {
        QtCanvas canvas(img);
        for (const auto& [x1, x2] : {std::pair{20.0, 384.0}, std::pair{384.0, 20.0}}) {
            DLine l = MakeLine(x1, 30, x2, 30, 2, Black);
            l.LineType.v = 2;
            l.Dash.v = 8;
            l.Gap.v = 6;
            DrawLineElement(l, 0, Picture(400, 60, 96), PelTarget(canvas));
        }
    }
    int gaps = 0;
    bool ink = true;
    for (int x = 20; x <= 384; ++x) {
        const bool now = qGray(img.pixel(x, 30)) < 128;
        gaps += ink && !now;
        ink = now;
    }
    EXPECT_GE(gaps, 20) << "the dashes fill each other's gaps";
}

}  // namespace
