// The painters of the 2D and 3D coordinate systems: ticks, grid, numbers,
// which pass draws what, and the export calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "coord_fixture.h"
#include "drawing/coord_marks.h"
#include "drawing/coord_paint.h"
#include "support/recording_sinks.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

using Lines = std::vector<std::string>;

DImProj Pic() { return Picture(400, 300); }

struct Seg {
    double x1, y1, x2, y2, w;
};

// The lines drawn with a flat pen (ticks and grid; axes have round caps).
std::vector<Seg> FlatLines(const RecordingCanvas& rec) {
    std::vector<Seg> out;
    for (const std::string& l : LinesStarting(rec, "drawLine")) {
        if (l.find(",round)") != std::string::npos) continue;
        Seg s{};
        char colour[16];
        if (std::sscanf(l.c_str(), "drawLine pen(%lf,%7s) (%lf,%lf) (%lf,%lf)", &s.w, colour, &s.x1, &s.y1, &s.x2,
                        &s.y2) == 6)
            out.push_back(s);
    }
    return out;
}

// Vertical ticks across the horizontal axis at y = 150.
std::vector<double> XTicks(const RecordingCanvas& rec, double top = 144, double bottom = 155) {
    std::vector<double> xs;
    for (const Seg& s : FlatLines(rec))
        if (s.x1 == s.x2 && s.y1 == top && s.y2 == bottom) xs.push_back(s.x1);
    return xs;
}

// The texts drawn.
Lines Texts(const RecordingCanvas& rec) {
    Lines out;
    for (const std::string& l : LinesStarting(rec, "drawText")) {
        const auto a = l.find('"');
        const auto b = l.find('"', a + 1);
        out.push_back(l.substr(a + 1, b - a - 1));
    }
    return out;
}

bool Has(const Lines& v, const std::string& s) { return std::find(v.begin(), v.end(), s) != v.end(); }

void Paint(const DXOY& x, RecordingCanvas& rec, int pass = 2, GraphRun* run = nullptr, bool full = true) {
    PaintTarget t = PelTarget(rec);
    t.run = run;
    DrawXOY(x, full, 1, Pic(), 'm', t, pass);
}

// ---------------------------------------------------------------------------
// Ticks

TEST(XoyTicks, CentreTickAndArrowRoom) {
    DXOY x = MakeXOY();
    x.AxisX.P2.ScrX.v = 365;  // a tick at 360 would lie inside the 10 pixel arrow
    RecordingCanvas rec;
    Paint(x, rec);
    const std::vector<double> xs = XTicks(rec);
    ASSERT_FALSE(xs.empty());
    EXPECT_EQ(xs.front(), 20);
    EXPECT_EQ(xs.back(), 340);
    EXPECT_EQ(xs.size(), 17u);  // -180 .. 140 by 20
    EXPECT_TRUE(std::count(xs.begin(), xs.end(), 200.0) == 1);

    // Y ticks: from the lower end up to an arrow length below the upper end.
    std::vector<double> ys;
    for (const Seg& s : FlatLines(rec))
        if (s.y1 == s.y2 && s.x1 == 194 && s.x2 == 205) ys.push_back(s.y1);
    ASSERT_FALSE(ys.empty());
    EXPECT_EQ(ys.front(), 270);  // Trunc(130 / 20) = 6 below the centre
    EXPECT_EQ(ys.back(), 30);    // Trunc((130 - 10) / 20) = 6 above
    EXPECT_TRUE(std::count(ys.begin(), ys.end(), 150.0) == 1);
}

TEST(XoyTicks, HalfLengthsByMarkWidthAndThickness) {
    double up = 0, down = 0;
    TickHalfLengths(1, 10, 1, up, down);  // odd thickness: one pixel longer above
    EXPECT_EQ(up, 6);
    EXPECT_EQ(down, 5);
    TickHalfLengths(1, 10, 2, up, down);
    EXPECT_EQ(up, 5);
    EXPECT_EQ(down, 4);
    TickHalfLengths(3, 10, 1, up, down);
    EXPECT_EQ(up, 5);
    EXPECT_EQ(down, 5);

    DXOY x = MakeXOY();
    x.MarkWidth.v = 3;
    RecordingCanvas rec;
    Paint(x, rec);
    EXPECT_EQ(XTicks(rec, 145, 155).size(), 18u);
    EXPECT_TRUE(XTicks(rec).empty());
    for (const Seg& s : FlatLines(rec)) EXPECT_EQ(s.w, 3);
}

TEST(XoyTicks, StepBelowHalfAPixelLeavesTheAxisBare) {
    DXOY x = MakeXOY();
    x.DivX.v = 0.025;  // 0.5 pixel: rounds to 0 (half to even)
    x.GridOn.v = true;
    x.NumbersOn.v = true;
    RecordingCanvas rec;
    Paint(x, rec);
    for (const Seg& s : FlatLines(rec)) EXPECT_EQ(s.y1, s.y2) << "only horizontal marks are left";
    EXPECT_FALSE(FlatLines(rec).empty());
    for (const std::string& t : Texts(rec)) EXPECT_EQ(t.find(','), std::string::npos) << t;

    EXPECT_EQ(StepsIn(100, 0), 0);
    EXPECT_EQ(StepsIn(100, 0.4), 0);
    EXPECT_EQ(StepsIn(1e300, 1), 100000);
    EXPECT_EQ(StepsIn(-45, 20), -2);
    EXPECT_EQ(StepsIn(NAN, 20), 0);
}

TEST(XoyTicks, SelectionColourOnTheOwnPictureOnly) {
    DXOY x = MakeXOY();
    x.Selected = true;
    x.SelColor = Red;
    RecordingCanvas rec;
    Paint(x, rec);
    const Lines ticks = LinesStarting(rec, "drawLine pen(1,#FF0000)");
    EXPECT_EQ(ticks.size(), 18u + 13u);

    RecordingCdrSink cdr;
    PaintTarget t;
    t.kind = TargetKind::Cdr;
    t.cdr = &cdr;
    DrawXOY(x, true, 1, Pic(), 'm', t, 3);
    for (const std::string& l : cdr.lines()) {
        if (l.rfind("CdrSetOutlineColor", 0) == 0) {
            EXPECT_EQ(l, "CdrSetOutlineColor #000000");
        }
    }
}

// ---------------------------------------------------------------------------
// Grid and numbers

TEST(XoyGrid, ReachesTheAxisEnds) {
    DXOY x = MakeXOY();
    x.GridOn.v = true;
    x.GridThick.v = 2;
    x.GridStep.v = 2;
    RecordingCanvas rec;
    Paint(x, rec);
    std::vector<Seg> vertical, horizontal;
    for (const Seg& s : FlatLines(rec)) {
        if (s.w != 2) continue;
        (s.x1 == s.x2 ? vertical : horizontal).push_back(s);
    }
    // Every 40 pixels from 200: 40 .. 360, each from the Y axis' top to its bottom.
    ASSERT_EQ(vertical.size(), 9u);
    EXPECT_EQ(vertical.front().x1, 40);
    EXPECT_EQ(vertical.back().x1, 360);
    EXPECT_EQ(vertical.front().y1, 20);
    EXPECT_EQ(vertical.front().y2, 280);
    // Horizontal lines from 30 (120 above) to 270, across the whole X axis.
    ASSERT_EQ(horizontal.size(), 7u);
    EXPECT_EQ(horizontal.front().y1, 30);
    EXPECT_EQ(horizontal.back().y1, 270);
    EXPECT_EQ(horizontal.front().x1, 20);
    EXPECT_EQ(horizontal.front().x2, 380);
}

TEST(XoyNumbers, EveryStepButTheCentreRoundedToThreeDecimals) {
    DXOY x = MakeXOY();
    x.NumbersOn.v = true;
    x.DivX.v = 0.1;
    x.ScaleX.v = 200;  // 20 pixels per tick
    x.NumberStep.v = 3;
    RecordingCanvas rec;
    GraphRun run;
    run.DecimalSep = ',';
    Paint(x, rec, 2, &run);
    const Lines texts = Texts(rec);
    EXPECT_TRUE(Has(texts, "0,3"));
    EXPECT_TRUE(Has(texts, "-0,3"));
    EXPECT_TRUE(Has(texts, "0,6"));
    EXPECT_FALSE(Has(texts, "0"));
    for (const std::string& t : texts) EXPECT_LE(t.size(), 4u) << t;

    // X numbers centred below their tick (its end at 155), 0.4 h lower (h,
    // of "0", is 1.2 x 16 pixels), then lower still till their ink keeps 3
    // pixels from the tick: the fake's ink fills the text's box.
    const std::string expected = "drawText font(Arial,16) #000000 \"0,3\" (260,167.6) center,center";
    EXPECT_TRUE(Has(LinesStarting(rec, "drawText"), expected));
    EXPECT_EQ(MarkNumberText(0.1 * 3, '.'), "0.3");
    EXPECT_EQ(MarkNumberText(-0.0001, '.'), "0");
    EXPECT_EQ(MarkNumberText(2.0 / 3, ','), "0,667");
}

// ---------------------------------------------------------------------------
// Passes and the disabled flag

TEST(XoyPasses, DisabledSystemDrawsItsGraphsOnly) {
    DXOY x = MakeXOY();
    x.Disabled.v = true;
    x.GridOn.v = true;
    x.NumbersOn.v = true;
    x.GraphOn[3].v = true;
    x.Graph[3].s = "2";
    RecordingCanvas rec;
    Paint(x, rec);
    EXPECT_TRUE(LinesStarting(rec, "drawLine").empty());
    EXPECT_TRUE(LinesStarting(rec, "fillEllipse").empty());
    EXPECT_TRUE(LinesStarting(rec, "drawText").empty());
    ASSERT_EQ(LinesStarting(rec, "drawPolyline").size(), 1u);
    EXPECT_EQ(LinesStarting(rec, "drawPolyline")[0].rfind("drawPolyline pen(2,#0000FF,round) (240,150)", 0), 0u);

    x.Disabled.v = false;
    rec.clear();
    Paint(x, rec);
    EXPECT_FALSE(FlatLines(rec).empty());
    EXPECT_EQ(LinesStarting(rec, "fillEllipse").size(), 1u);  // the centre
    EXPECT_EQ(LinesStarting(rec, "drawPolyline").size(), 1u);
}

TEST(XoyPasses, FillPassDrawsOnlyTheImplicitGraph) {
    DXOY x = MakeXOY();
    for (std::size_t i = 1; i <= 6; ++i) x.GraphOn[i].v = true;
    x.Graph[1].s = "x";
    x.Graph[2].s = "x^2";
    x.Graph[3].s = "2";
    x.Graph[4].s = "x";
    x.Graph[5].s = "cos(x)";
    x.Graph2.s = "sin(x)";
    x.Graph[6].s = "x^2+y^2-4";
    bool running = true;
    RecordingGraphHost host;
    GraphRun run;
    run.Running = &running;
    run.Host = &host;

    RecordingCanvas rec;
    Paint(x, rec, 1, &run);
    EXPECT_TRUE(Drawn(rec).empty());
    EXPECT_EQ(host.shows(), (Lines{"show pel Неявный график", "hide pel"}));

    // Pass 2 draws all six without the progress display.
    host.log.clear();
    rec.clear();
    Paint(x, rec, 2, &run);
    EXPECT_TRUE(host.shows().empty());
    EXPECT_GE(LinesStarting(rec, "drawPolyline pen(2,#0000FF").size(), 6u);
}

// ---------------------------------------------------------------------------
// Exports

TEST(XoyExport, CdrTicksAndNumbers) {
    DXOY x = MakeXOY();
    x.NumbersOn.v = true;
    RecordingCdrSink cdr;
    PaintTarget t;
    t.kind = TargetKind::Cdr;
    t.cdr = &cdr;
    DrawXOY(x, true, 1, Pic(), 'm', t, 3);
    const Lines& l = cdr.lines();
    // The centre tick: from 6 pixels above the centre to 5 below.
    const auto it = std::find(l.begin(), l.end(), "BeginDrawCurve 0 15875");
    ASSERT_NE(it, l.end());
    ASSERT_LT(it + 5, l.end());
    EXPECT_EQ(*(it + 1), "DrawCurveLineTo 0 -13229");
    EXPECT_EQ(*(it + 2), "EndDrawCurve");
    EXPECT_EQ(*(it + 3), "CdrSetOutlineColor #000000");
    EXPECT_EQ(*(it + 4), "SetOutlineWidth 2646");
    EXPECT_EQ(*(it + 5), "CdrRememberShape");

    // Every number: text, attributes (the picture's 16 px, 120 tenths of a
    // point at 96 dpi), fill, group.
    int texts = 0;
    for (std::size_t i = 0; i < l.size(); ++i) {
        if (l[i].rfind("CreateArtisticText", 0) != 0) continue;
        ++texts;
        ASSERT_LT(i + 3, l.size());
        EXPECT_EQ(l[i + 1], "SetCharacterAttributes 0 0 \"Arial\" 1 120 0 0 0 0 0 1000 1000 1");
        EXPECT_EQ(l[i + 2], "CdrSetFillColor #000000");
        EXPECT_EQ(l[i + 3], "CdrRememberShape");
    }
    EXPECT_EQ(texts, 17 + 12);  // every tick but the centre
}

TEST(XoyExport, WordLinesAndTextBoxes) {
    DXOY x = MakeXOY();
    x.NumbersOn.v = true;
    x.ColorIndex.v = 5;
    RecordingWordSink wrd;
    PaintTarget t;
    t.kind = TargetKind::Wrd;
    t.wrd = &wrd;
    DrawXOY(x, true, 1, Pic(), 'm', t, 3);
    int ticks = 0, boxes = 0;
    bool centre = false;
    for (const std::string& l : wrd.lines()) {
        if (l.rfind("OfficeLine #000000 0 0 ", 0) == 0 && l.find(" 1 0 0") != std::string::npos) ++ticks;
        if (l == "OfficeLine #000000 0 0 200 144 200 155 1 0 0") centre = true;
        if (l.rfind("OfficeTextBox 30 30 ", 0) == 0) {
            ++boxes;
            EXPECT_NE(l.find("\"Arial\" \"Arial\" 0 0 0 0 12 5 #"), std::string::npos) << l;
        }
    }
    EXPECT_TRUE(centre);
    EXPECT_EQ(ticks, 18 + 13);
    EXPECT_EQ(boxes, 17 + 12);
}

// ---------------------------------------------------------------------------
// The 3D system

void Paint3(const DXZ& x, RecordingCanvas& rec, int pass = 2) {
    DrawXYZ(x, true, 1, Pic(), 'm', PelTarget(rec), pass);
}

TEST(XyzTicks, DepthAxisHasNoCentreTick) {
    DXZ x = MakeXYZ();
    RecordingCanvas rec;
    Paint3(x, rec);
    int depth = 0, vertical = 0, horizontal = 0;
    bool yCentre = false, zCentre = false;
    for (const Seg& s : FlatLines(rec)) {
        if (s.x1 != s.x2 && s.y1 != s.y2) {
            ++depth;
            // Perpendicular to the axis, h = Round(10 / √2 / 2) = 4 each way.
            EXPECT_NEAR(s.x2 - s.x1, 8, 1e-3);
            EXPECT_NEAR(s.y2 - s.y1, 8, 1e-3);
            EXPECT_GT(std::fabs(s.x1 + 4 - 200), 1);
        } else if (s.x1 == s.x2) {
            ++vertical;
            if (s.x1 == 200) yCentre = true;
        } else {
            ++horizontal;
            if (s.y1 == 150) zCentre = true;
        }
    }
    // d = 20 / 2 / √2: Trunc(60 / d) = 8 up to the right, Trunc(50 / d) = 7 down to the left.
    EXPECT_EQ(depth, 15);
    EXPECT_EQ(vertical, 18);
    EXPECT_EQ(horizontal, 13);
    EXPECT_TRUE(yCentre);
    EXPECT_TRUE(zCentre);
}

TEST(XyzNumbers, DepthNumbersGrowTowardsTheViewer) {
    DXZ x = MakeXYZ();
    x.NumbersOn.v = true;
    RecordingCanvas rec;
    Paint3(x, rec);
    // The numbers of the depth axis are drawn from their top-left corner.
    int positive = 0, negative = 0;
    for (const std::string& l : LinesStarting(rec, "drawText")) {
        if (l.find("near,near") == std::string::npos) continue;
        double px = 0, py = 0;
        const auto q = l.rfind('"');
        ASSERT_EQ(std::sscanf(l.c_str() + q + 1, " (%lf,%lf)", &px, &py), 2);
        const bool minus = l.find("\"-") != std::string::npos;
        if (minus) {
            ++negative;
            EXPECT_GT(px, 200) << l;  // towards the back, upper right
        } else {
            ++positive;
            EXPECT_LT(px, 200) << l;
        }
    }
    EXPECT_EQ(negative, 8);
    EXPECT_EQ(positive, 7);
}

TEST(XyzPasses, DisabledSystemKeepsItsSpaceCurve) {
    DXZ x = MakeXYZ();
    x.Disabled.v = true;
    x.SurfOn[3].v = true;
    x.Surf[3].s = "0";
    x.Surf3More[1].s = "cos(x)";
    x.Surf3More[2].s = "sin(x)";
    RecordingCanvas rec;
    Paint3(x, rec);
    EXPECT_TRUE(LinesStarting(rec, "drawLine").empty());
    EXPECT_TRUE(LinesStarting(rec, "fillEllipse").empty());
    EXPECT_EQ(LinesStarting(rec, "drawPolyline").size(), 1u);

    // The space curve is not drawn in the fill pass.
    rec.clear();
    Paint3(x, rec, 1);
    EXPECT_TRUE(Drawn(rec).empty());
}

TEST(XyzExport, CdrAndWordTicks) {
    DXZ x = MakeXYZ();
    x.NumbersOn.v = true;
    RecordingCdrSink cdr;
    PaintTarget t;
    t.kind = TargetKind::Cdr;
    t.cdr = &cdr;
    DrawXYZ(x, true, 1, Pic(), 'm', t, 3);
    int curves = 0, texts = 0;
    for (const std::string& l : cdr.lines()) {
        curves += l.rfind("BeginDrawCurve", 0) == 0;
        texts += l.rfind("CreateArtisticText", 0) == 0;
    }
    // Three axes, 18 + 13 + 15 ticks; numbers at every tick but the centre.
    EXPECT_EQ(curves, 3 + 18 + 13 + 15);
    EXPECT_EQ(texts, 17 + 12 + 15);

    RecordingWordSink wrd;
    t.kind = TargetKind::Wrd;
    t.wrd = &wrd;
    DrawXYZ(x, true, 1, Pic(), 'm', t, 3);
    int lines = 0, boxes = 0;
    for (const std::string& l : wrd.lines()) {
        lines += l.rfind("OfficeLine", 0) == 0;
        boxes += l.rfind("OfficeTextBox", 0) == 0;
    }
    EXPECT_EQ(lines, 3 + 18 + 13 + 15);
    EXPECT_EQ(boxes, 17 + 12 + 15);
}

}  // namespace
