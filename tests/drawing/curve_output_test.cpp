#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>

#include "curve_test_util.h"
#include "paint_fixture.h"

namespace pelmar {
namespace {

using test::Marks;
using test::P;
using test::Poly;

TEST(CurvePoints, MarkIsTheFirstByteOfTheThirdField) {
    CurvePoint p{1, 2, 0};
    EXPECT_FALSE(CurveMark(p));
    SetCurveMark(p, true);
    EXPECT_TRUE(CurveMark(p));
    EXPECT_TRUE(std::isfinite(p.z));
    unsigned char bytes[8];
    std::memcpy(bytes, &p.z, 8);
    EXPECT_EQ(bytes[0], 1);
    for (int i = 1; i < 8; ++i) EXPECT_EQ(bytes[i], 0);
    // Whatever the other seven bytes hold, the first one decides.
    p.z = std::bit_cast<double>(std::uint64_t{0x3FF0000000000001});
    EXPECT_TRUE(CurveMark(p));
    p.z = 1.0;  // the low byte of 1.0 is 0
    EXPECT_FALSE(CurveMark(p));
}

TEST(CurvePoints, DeleteAndInsertKeepCountAndOrder) {
    DCurve1 c = Poly({{0, 0}, {1, 1}, {2, 2}});
    DCurve1 shared = c;
    DeleteCurvePoint(c, 1);
    ASSERT_EQ(c.Count, 2);
    EXPECT_EQ(c.points()[1].x, 2);
    EXPECT_EQ(shared.Count, 3);  // the shared points are not touched
    EXPECT_EQ(shared.points().size(), 3u);

    InsertCurvePoint(c, MakeCurvePoint(5, 5, false), 2);  // Count appends
    ASSERT_EQ(c.Count, 3);
    EXPECT_EQ(c.points()[2].x, 5);
    InsertCurvePoint(c, MakeCurvePoint(7, 7, true), 0);
    EXPECT_EQ(c.points()[0].x, 7);
    EXPECT_EQ(c.Count, 4);
    EXPECT_EQ(Marks(c), "1110");

    // Indexes outside the polyline change nothing.
    DeleteCurvePoint(c, 4);
    DeleteCurvePoint(c, -1);
    InsertCurvePoint(c, MakeCurvePoint(9, 9, true), 5);
    EXPECT_EQ(c.Count, 4);
    DCurve1 empty;
    DeleteCurvePoint(empty, 0);
    EXPECT_EQ(empty.Count, 0);
}

TEST(CurvePoints, PictureDistanceIgnoresTheMark) {
    EXPECT_DOUBLE_EQ(PictureDistance(MakeCurvePoint(0, 0, true), MakeCurvePoint(3, 4, false)), 5);
}

TEST(SplitByVisibility, ACurveThatDipsBehindTheSurfaceOnce) {
    const DCurve1 c = Poly({{0, 0, true}, {1, 0, true}, {2, 0, false}, {3, 0, false}, {4, 0, true}, {5, 0, true}});
    DCurve2 runs;
    SplitByVisibility(c, runs, false);
    ASSERT_EQ(runs.Count, 3);
    const auto& l = runs.lines();
    // Visible up to and including the first hidden point.
    EXPECT_EQ(l[0].Count, 3);
    EXPECT_EQ(Marks(l[0]), "110");
    EXPECT_EQ(Marks(l[1]), "11");
    EXPECT_EQ(l[1].points()[0].x, 4);
    // Hidden from the first hidden point to the first visible one after it.
    EXPECT_EQ(Marks(l[2]), "001");
    EXPECT_EQ(l[2].points()[0].x, 2);
    EXPECT_EQ(l[2].points()[2].x, 4);

    SplitByVisibility(c, runs, true);
    ASSERT_EQ(runs.Count, 2);
    EXPECT_EQ(Marks(runs.lines()[0]), "110");
    EXPECT_EQ(Marks(runs.lines()[1]), "11");

    SplitByVisibility(Poly({{0, 0, false}, {1, 0, false}}), runs, true);
    EXPECT_EQ(runs.Count, 0);
    SplitByVisibility(DCurve1{}, runs, false);
    EXPECT_EQ(runs.Count, 0);
}

TEST(CurvePlanes, PictureAndModelPointsAreInverse) {
    const double s8 = std::sqrt(8.0);
    // The 2D plane: by the two scales, y up.
    Vec3 m;
    ASSERT_TRUE(ModelPointOfPicture(PlaneXOY, 0, 420, 260, 1, 20, 10, 400, 300, m));
    EXPECT_DOUBLE_EQ(m.x, 1);
    EXPECT_DOUBLE_EQ(m.y, 4);
    EXPECT_DOUBLE_EQ(m.z, 0);
    // The 3D planes invert the oblique projection: the fixed coordinate is
    // the position, and projecting again gives the picture point.
    const std::array<Vec3, 3> expected{Vec3{1.5, 0, 0}, Vec3{0, -0.5, 0}, Vec3{0, 0, 2}};
    for (std::uint8_t plane = PlaneX; plane <= PlaneZ; ++plane) {
        for (int zoom : {1, 2}) {
            const double pos = plane == PlaneX ? 1.5 : plane == PlaneY ? -0.5 : 2;
            ASSERT_TRUE(ModelPointOfPicture(plane, pos, 333 * zoom, 275 * zoom, zoom, 30, 99, 400, 300, m));
            const Vec3& e = expected[plane - 1];
            if (plane == PlaneX) { EXPECT_DOUBLE_EQ(m.x, e.x); }
            if (plane == PlaneY) { EXPECT_DOUBLE_EQ(m.y, e.y); }
            if (plane == PlaneZ) { EXPECT_DOUBLE_EQ(m.z, e.z); }
            EXPECT_NEAR(400 + (m.y - m.x / s8) * 30, 333, 1e-9);
            EXPECT_NEAR(300 + (m.x / s8 - m.z) * 30, 275, 1e-9);
            double px, py;
            PicturePointOfModel(plane, m, zoom, 30, 99, 400, 300, px, py);
            EXPECT_NEAR(px, 333 * zoom, 1e-9);
            EXPECT_NEAR(py, 275 * zoom, 1e-9);
        }
    }
    // No model point: plane 4, no scale, no zoom.
    EXPECT_FALSE(ModelPointOfPicture(PlaneAsIs, 0, 1, 1, 1, 20, 20, 0, 0, m));
    EXPECT_FALSE(ModelPointOfPicture(PlaneX, 0, 1, 1, 1, 0, 20, 0, 0, m));
    EXPECT_FALSE(ModelPointOfPicture(PlaneXOY, 0, 1, 1, 1, 20, 0, 0, 0, m));
    EXPECT_FALSE(ModelPointOfPicture(PlaneXOY, 0, 1, 1, 0, 20, 20, 0, 0, m));
}

class CurveSetTest : public ::testing::Test {
protected:
    DCurve2 transform(const DCurve2& c, const GraphTransform& t, const std::string& surface = "0",
                      std::uint8_t fit = 1) {
        DOutLine o;
        o.FitMode = fit;
        o.Step1 = 2;
        return TransformCurveSet(c, true, im, o, surface, test::CurveBox(-5, 5), 1, t, 10, 20, 300, 400, params);
    }
    DImProj im = test::Picture();
    DistributionParameters params;
};

TEST_F(CurveSetTest, A2DGraphShiftedMovesByTheScales) {
    GraphTransform t;
    t.Moved = true;
    t.DX = 1;
    t.DY = 2;
    const DCurve2 c = MakeCurve2({Poly({{400, 300, true}, {420, 290, false}})});
    const DCurve2 out = transform(c, t);
    ASSERT_EQ(out.Count, 1);
    const auto& p = out.lines()[0].points();
    EXPECT_DOUBLE_EQ(p[0].x, 420);  // XScale pixels to the right
    EXPECT_DOUBLE_EQ(p[0].y, 280);  // 2·YScale pixels up
    EXPECT_DOUBLE_EQ(p[1].x, 440);
    EXPECT_DOUBLE_EQ(p[1].y, 270);
    EXPECT_EQ(Marks(out.lines()[0]), "10");  // the 2D plane keeps its marks
}

TEST_F(CurveSetTest, ATurnBy90DegreesTurnsYEqualsXIntoYEqualsMinusX) {
    GraphTransform t;
    t.Rotated = true;
    t.Angle = 90;
    t.NX = 1;  // ignored in the 2D plane: it turns in its own plane
    t.NZ = 0;
    // y = x: (1, 1) and (-2, -2) with XScale 20, YScale 10.
    const DCurve2 c = MakeCurve2({Poly({{420, 290}, {360, 320}})});
    const auto p = transform(c, t).lines()[0].points();
    // (1, 1) -> (-1, 1); (-2, -2) -> (2, -2).
    EXPECT_NEAR(p[0].x, 380, 1e-9);
    EXPECT_NEAR(p[0].y, 290, 1e-9);
    EXPECT_NEAR(p[1].x, 440, 1e-9);
    EXPECT_NEAR(p[1].y, 320, 1e-9);
}

TEST_F(CurveSetTest, UntransformedAndPlane4SetsAreCopied) {
    const DCurve2 c = MakeCurve2({Poly({{1.25, 2.5, false}})}, PlaneX, 3);
    const DCurve2 same = transform(c, {});
    EXPECT_EQ(same.Plane, PlaneX);
    EXPECT_EQ(same.Position, 3);
    EXPECT_EQ(same.lines()[0].points()[0].x, 1.25);
    EXPECT_EQ(Marks(same.lines()[0]), "0");
    GraphTransform t;
    t.Moved = true;
    t.DX = 5;
    const DCurve2 asIs = transform(MakeCurve2({Poly({{1.25, 2.5}})}, PlaneAsIs), t);
    EXPECT_EQ(asIs.lines()[0].points()[0].x, 1.25);
}

TEST_F(CurveSetTest, Moved3DPointsAreTestedAgainstTheMovedSurface) {
    // A curve in the plane X = 0, its points at Z = 1 and Z = -1, moved by
    // 0.5 along Z; the surface z = 0 moves with it to z = 0.5, so the point
    // that ends at z = -0.5 lies under it and is hidden.
    GraphTransform t;
    t.Moved = true;
    t.DZ = 0.5;
    double pxA, pyA, pxB, pyB;
    PicturePointOfModel(PlaneX, {0, 0, 1}, 1, 20, 20, 400, 300, pxA, pyA);
    PicturePointOfModel(PlaneX, {0, 0, -1}, 1, 20, 20, 400, 300, pxB, pyB);
    const DCurve2 c = MakeCurve2({Poly({{pxA, pyA, false}, {pxB, pyB, true}})}, PlaneX, 0);
    const DCurve2 out = transform(c, t, "z", 0);
    const auto& p = out.lines()[0].points();
    EXPECT_EQ(Marks(out.lines()[0]), "10");
    EXPECT_NEAR(p[0].y, pyA - 0.5 * 20, 1e-9);
    EXPECT_NEAR(p[1].y, pyB - 0.5 * 20, 1e-9);
}

// ---------------------------------------------------------------------------
// Output of one polyline

class OutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        target.kind = TargetKind::Pel;
        target.canvas = &canvas;
        target.cdr = &cdr;
        target.wrd = &wrd;
        target.options.WordDashNo = 4;
    }
    std::vector<std::string> drawn() const { return test::Drawn(canvas); }
    DImProj im = test::Picture();
    RecordingCanvas canvas;
    RecordingCdrSink cdr;
    RecordingWordSink wrd;
    PaintTarget target;
};

TEST_F(OutputTest, PelThinsRepeatedPixelsAndSubPixelSteps) {
    // All on one pixel: one point, which draws nothing.
    OutputPolyline(Poly({{10.2, 10.2}, {9.8, 10.4}, {10.4, 9.6}}), 1, test::Red, false, 1, im, 0, 0, target, 2);
    EXPECT_TRUE(drawn().empty());
    // 10 -> 10.8 is one pixel further but under one pixel away; 12 stays.
    OutputPolyline(Poly({{10, 10}, {10.8, 10}, {12, 10}, {12.4, 10}, {14, 10}}), 2, test::Red, false, 1, im, 0, 0,
                   target, 2);
    ASSERT_EQ(drawn().size(), 1u);
    EXPECT_EQ(drawn()[0], "drawPolyline pen(2,#FF0000,round) (10,10) (12,10) (14,10)");
}

TEST_F(OutputTest, PelDashesInPenWidths) {
    OutputPolyline(Poly({{0, 0}, {50, 0}}), 2, test::Blue, true, 1, im, 6, 4, target, 3);
    OutputPolyline(Poly({{0, 0}, {50, 0}}), 0, test::Blue, true, 1, im, 6, 4, target, 3);
    ASSERT_EQ(drawn().size(), 2u);
    EXPECT_EQ(drawn()[0], "drawPolyline pen(2,#0000FF,dash 3 2,round) (0,0) (50,0)");
    EXPECT_EQ(drawn()[1], "drawPolyline pen(0,#0000FF,dash 6 4,round) (0,0) (50,0)");
}

TEST_F(OutputTest, Pass1DrawsNothingOnAnyTarget) {
    for (const char* w : {"pel", "cdr", "wrd"}) {
        target.kind = TargetKindOf(w);
        OutputPolyline(Poly({{0, 0}, {50, 0}, {50, 50}}), 1, test::Red, false, 1, im, 0, 0, target, 1);
    }
    EXPECT_TRUE(drawn().empty());
    EXPECT_TRUE(cdr.lines().empty());
    EXPECT_TRUE(wrd.lines().empty());
}

TEST_F(OutputTest, CdrFillsUpTheLastBezierSegment) {
    target.kind = TargetKind::Cdr;
    // 96 pixels are 254000 units at 96 dpi; the page origin is the centre.
    OutputPolyline(Poly({{400, 300}, {496, 300}, {496, 204}, {592, 204}, {592, 396}}), 2, test::Red, true, 7, im, 0,
                   0, target, 2);
    const std::vector<std::string> expected{
        "BeginDrawCurve 0 0",
        "DrawCurveCurveTo 254000 0 254000 254000 508000 254000",
        "DrawCurveCurveTo 508000 -254000 508000 -254000 508000 -254000",
        "EndDrawCurve",
        "CdrSetOutlineColor #FF0000",
        "SetOutlineWidth 5292",
        "ApplyOutline 5292 2 0 0 50 0 7 0 0 0",
        "CdrRememberShape"};
    EXPECT_EQ(cdr.lines(), expected);

    // Three points get one copy; a solid line no outline style; no points
    // draw nothing at all.
    cdr.clear();
    OutputPolyline(Poly({{400, 300}, {496, 300}, {496, 204}}), 1, test::Red, false, 7, im, 0, 0, target, 2);
    EXPECT_EQ(cdr.lines()[1], "DrawCurveCurveTo 254000 0 254000 254000 254000 254000");
    EXPECT_EQ(cdr.lines().size(), 6u);
    cdr.clear();
    OutputPolyline(DCurve1{}, 1, test::Red, false, 7, im, 0, 0, target, 2);
    EXPECT_TRUE(cdr.lines().empty());
}

TEST_F(OutputTest, WrdThinsStepsBelowATenthOfAPoint) {
    target.kind = TargetKind::Wrd;
    // At 96 dpi a tenth of a point is 0.1333 pixels: 10.45 and 10.55 lie on
    // two pixels but only 0.1 pixel apart.
    OutputPolyline(Poly({{10.45, 10}, {10.55, 10}, {20, 10}}), 3, test::Green, true, 1, im, 0, 0, target, 2);
    ASSERT_EQ(wrd.lines().size(), 1u);
    EXPECT_EQ(wrd.lines()[0], "OfficeFreeform 2 10.45 10 20 10 #00FF00 1 4 3");
    // Without a resolution there is nothing to convert by: no division.
    wrd.clear();
    im.Dpi = 0;
    OutputPolyline(Poly({{10.45, 10}, {10.55, 10}, {20, 10}}), 1, test::Green, false, 1, im, 0, 0, target, 2);
    EXPECT_EQ(wrd.lines(), std::vector<std::string>{"OfficeFreeform 3 10.45 10 10.55 10 20 10 #00FF00 0 4 1"});
    wrd.clear();
    OutputPolyline(DCurve1{}, 1, test::Green, false, 1, im, 0, 0, target, 2);
    EXPECT_TRUE(wrd.lines().empty());
}

// ---------------------------------------------------------------------------
// Solid and dashed pieces by style

class StyleTest : public OutputTest {
protected:
    std::vector<std::string> draw(std::uint8_t type, std::uint8_t mode, std::uint8_t plane = PlaneXOY) {
        canvas.clear();
        GraphLineStyle style{type, mode, 4, 2};
        const DCurve2 set = MakeCurve2(
            {Poly({{0, 0, true}, {10, 0, true}, {20, 0, false}, {30, 0, false}, {40, 0, true}, {50, 0, true}})},
            plane);
        DistributionParameters params;
        DrawCurveSet(set, 1, test::Red, true, 2, target, im, 1, DOutLine{}, "0", {}, style, 1, {}, 1, 1, 0, 0,
                     params);
        return drawn();
    }
};

TEST_F(StyleTest, SolidDashedAndSplitPieces) {
    const std::string solid = "drawPolyline pen(1,#FF0000,round)";
    const std::string dashed = "drawPolyline pen(1,#FF0000,dash 4 2,round)";
    EXPECT_EQ(draw(1, 1), std::vector<std::string>{solid + " (0,0) (10,0) (20,0) (30,0) (40,0) (50,0)"});
    EXPECT_EQ(draw(2, 1), std::vector<std::string>{dashed + " (0,0) (10,0) (20,0) (30,0) (40,0) (50,0)"});
    EXPECT_EQ(draw(2, 2), draw(2, 1));
    EXPECT_EQ(draw(1, 2), (std::vector<std::string>{solid + " (0,0) (10,0) (20,0)", solid + " (40,0) (50,0)",
                                                    dashed + " (20,0) (30,0) (40,0)"}));
    EXPECT_EQ(draw(1, 3), (std::vector<std::string>{solid + " (0,0) (10,0) (20,0)", solid + " (40,0) (50,0)"}));
    // A set drawn as computed is solid whatever the visibility mode.
    EXPECT_EQ(draw(1, 3, PlaneAsIs).size(), 1u);
    // Nothing for the other combinations.
    EXPECT_TRUE(draw(2, 3).empty());
    EXPECT_TRUE(draw(3, 1).empty());
    EXPECT_TRUE(draw(0, 1).empty());
    EXPECT_TRUE(draw(1, 0).empty());
}

}  // namespace
}  // namespace pelmar
