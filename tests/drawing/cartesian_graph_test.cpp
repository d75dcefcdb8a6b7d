#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "curve_test_util.h"

namespace pelmar {
namespace {

using test::CurveRig;

TEST(CurveBuilder, PointsGoToTheirBranchAndClosingHandsOver) {
    CurveRig rig;
    SubCurveContext& ctx = rig.ctx;
    AddCurvePoint(ctx, 1, true, 1, 2);
    AddCurvePoint(ctx, 2, false, 3, 4);
    AddCurvePoint(ctx, 3, true, 5, 6);  // no such branch
    ClosePolylineA(ctx);
    EXPECT_TRUE(ctx.CurrentA.empty());
    ClosePolylineA(ctx);  // an empty polyline is handed over too
    ClosePolylineB(ctx);
    ASSERT_EQ(ctx.Result.Lines.size(), 3u);
    EXPECT_EQ(ctx.Result.Lines[0].Count, 1);
    EXPECT_TRUE(CurveMark(ctx.Result.Lines[0].points()[0]));
    EXPECT_EQ(ctx.Result.Lines[1].Count, 0);
    EXPECT_EQ(ctx.Result.Lines[2].points()[0].y, 4);
    EXPECT_FALSE(CurveMark(ctx.Result.Lines[2].points()[0]));
    const DCurve2 set = ctx.Result.set();
    EXPECT_EQ(set.Count, 3);
}

class CartesianTest : public ::testing::Test {
protected:
    // The 2D window of +-100 pixels around (400, 300).
    void plot(const std::string& f, double scale = 20, double half = 100, double high = 0) {
        rig.ctx.XScale = rig.ctx.YScale = scale;
        if (high == 0) high = half;
        PlotCartesian(rig.ctx, PlaneXOY, f, f, 0, high, high, half, half, 300, 400);
    }
    // Every point lies in the window.
    void expectInWindow(double half = 100) {
        for (const auto& l : rig.lines())
            for (const CurvePoint& p : l) {
                EXPECT_GE(p.x, 400 - half - 1e-9);
                EXPECT_LE(p.x, 400 + half + 1e-9);
                EXPECT_GE(p.y, 300 - half - 1e-9);
                EXPECT_LE(p.y, 300 + half + 1e-9);
            }
    }
    CurveRig rig;
};

TEST_F(CartesianTest, StraightLineCornerToCorner) {
    plot("x");
    const auto lines = rig.lines();
    ASSERT_EQ(lines.size(), 1u);
    expectInWindow();
    // From the lower left corner to the upper right one.
    EXPECT_NEAR(lines[0].front().x, 300, 1);
    EXPECT_NEAR(lines[0].front().y, 400, 1);
    EXPECT_NEAR(lines[0].back().x, 500, 1);
    EXPECT_NEAR(lines[0].back().y, 200, 1);
    for (const CurvePoint& p : lines[0]) EXPECT_NEAR(p.y - 300, -(p.x - 400), 1e-9);
    // Drawn once, solid.
    ASSERT_EQ(rig.canvas.lines().size(), 2u);
    EXPECT_EQ(rig.canvas.lines()[1].rfind("drawPolyline pen(1,#0000FF,round)", 0), 0u);
}

TEST_F(CartesianTest, ReciprocalBreaksAtTheUndefinedColumnAndReachesTheEdges) {
    plot("1/x");
    const auto lines = rig.lines();
    ASSERT_EQ(lines.size(), 2u);
    expectInWindow();
    // The left branch ends at the bottom edge near x = 0, the right one
    // starts at the top edge.
    EXPECT_LT(lines[0].back().x, 400);
    EXPECT_NEAR(lines[0].back().y, 400, 1e-9);
    EXPECT_GT(lines[1].front().x, 400);
    EXPECT_NEAR(lines[1].front().y, 200, 1e-9);
    for (const auto& l : lines)
        for (const CurvePoint& p : l) {
            const double x = (p.x - 400) / 20, y = -(p.y - 300) / 20;
            if (std::fabs(p.y - 200) > 1e-9 && std::fabs(p.y - 400) > 1e-9) { EXPECT_NEAR(x * y, 1, 1e-9); }
        }
}

TEST_F(CartesianTest, TangentIsNotJoinedAcrossItsAsymptotes) {
    plot("tg(x)", 20, 100);  // x from -5 to 5: asymptotes at +-pi/2 and +-3pi/2
    const auto lines = rig.lines();
    EXPECT_EQ(lines.size(), 5u);
    expectInWindow();
    for (const auto& l : lines)
        for (std::size_t i = 1; i < l.size(); ++i) {
            // No piece jumps from one edge to the other.
            EXPECT_LT(std::fabs(l[i].y - l[i - 1].y), 100) << i;
            const double a = (l[i - 1].x - 400) / 20, b = (l[i].x - 400) / 20;
            EXPECT_EQ(std::floor(a / M_PI + 0.5), std::floor(b / M_PI + 0.5));
        }
}

TEST_F(CartesianTest, LogarithmStartsWhereItIsDefinedWithFinerSamples) {
    // The window reaches down to y = -12.5, so the probe just right of the
    // undefined column 400 lies inside it.
    rig.ctx.Recompute = true;
    plot("ln(x)", 20, 100, 250);
    auto lines = rig.lines();
    ASSERT_EQ(lines.size(), 1u);
    const std::size_t fine = lines[0].size();
    // The first point lies past x = 0 and before the first whole column.
    EXPECT_GT(lines[0].front().x, 400);
    EXPECT_LT(lines[0].front().x, 401);

    // A quick drawing (the window's redraw after a change elsewhere) samples
    // as finely: it draws what the full drawing drew.
    const double first = lines[0].front().x;
    rig.ctx.Recompute = false;
    plot("ln(x)", 20, 100, 250);
    lines = rig.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].front().x, first);
    EXPECT_EQ(lines[0].size(), fine);
}

TEST_F(CartesianTest, HorizontalLinesOnAndBeyondTheEdge) {
    plot("5");  // y·YScale = 100 = Top: inside
    ASSERT_EQ(rig.lines().size(), 1u);
    EXPECT_EQ(rig.lines()[0].front().y, 200);
    rig.canvas.clear();
    plot("5.01");
    EXPECT_TRUE(rig.lines().empty());
    EXPECT_TRUE(rig.canvas.lines().empty());
}

TEST_F(CartesianTest, Pass1DrawsNothing) {
    rig.ctx.Pass = 1;
    plot("x");
    EXPECT_TRUE(rig.canvas.lines().empty());
    EXPECT_TRUE(rig.lines().empty());
}

TEST_F(CartesianTest, UndefinedEverywhereAndWithoutScalesDrawsNothing) {
    plot("ln(-1-x^2)");
    EXPECT_TRUE(rig.lines().empty());
    plot("x", 0);
    EXPECT_TRUE(rig.lines().empty());
    rig.ctx.XScale = 20;
    rig.ctx.YScale = std::nan("");
    PlotCartesian(rig.ctx, PlaneXOY, "x", "x", 0, 100, 100, 100, 100, 300, 400);
    EXPECT_TRUE(rig.lines().empty());
    rig.ctx.YScale = 20;
    PlotCartesian(rig.ctx, PlaneXOY, "x", "x", 0, 100, 100, 1e300, 1e300, 300, 400);
    EXPECT_TRUE(rig.lines().empty());
}

TEST_F(CartesianTest, OscillationNearZeroStaysBounded) {
    // sin(1/x) swings ever faster near 0.
    plot("sin(1/x)", 20);
    expectInWindow();
    EXPECT_LT(rig.pointCount(), 2000u);
    // In a window reaching 1e30 pixels up and down, the probe beside the
    // pole of (1/x)^5 lies 1e22 pixels from its neighbour: sub-samples
    // spaced by that distance would never end.
    plot("(1/x)^5", 20, 100, 1e30);
    EXPECT_EQ(rig.lines().size(), 2u);
    EXPECT_GT(rig.pointCount(), 1000u);
    EXPECT_LT(rig.pointCount(), 60000u);
}

TEST_F(CartesianTest, InThePlaneYConstTheAbscissaRunsObliquely) {
    // A column step moves sqrt(8)/XScale along X, drawn half as far up: the
    // graph y = 0 is the 45-degree line through the origin, and the window
    // edges slant with it, so y = 0.5 stays inside all along.
    rig.ctx.XScale = rig.ctx.YScale = 20;
    for (const char* f : {"0", "0.5"}) {
        PlotCartesian(rig.ctx, PlaneY, f, "0", 0, 20, 20, 100, 100, 300, 400);
        const auto lines = rig.lines();
        ASSERT_EQ(lines.size(), 1u) << f;
        const double y = std::atof(f);
        EXPECT_NEAR(lines[0].front().x, 300, 1e-9);
        EXPECT_NEAR(lines[0].back().x, 500, 1e-9);
        for (const CurvePoint& p : lines[0]) EXPECT_NEAR(p.x + p.y, 700 - y * 20, 1e-9);
    }
    PlotCartesian(rig.ctx, PlaneY, "1.5", "0", 0, 20, 20, 100, 100, 300, 400);
    EXPECT_TRUE(rig.lines().empty());
}

TEST_F(CartesianTest, SectionBehindASurfaceGetsTheHiddenMark) {
    // The graph y = x in the plane X = 0 of a 3D system: its value runs along
    // Z.  The surface z = 0 hides the part below it.
    rig.ctx.Corners = test::CurveBox(-20, 20);
    rig.ctx.Outline.FitMode = 0;
    rig.ctx.Outline.Step1 = 2;
    rig.ctx.Style = {1, 2, 4, 2};
    rig.ctx.XScale = rig.ctx.YScale = 20;
    PlotCartesian(rig.ctx, PlaneX, "x", "0", 0, 100, 100, 100, 100, 300, 400);
    const auto lines = rig.lines();
    ASSERT_EQ(lines.size(), 1u);
    for (const CurvePoint& p : lines[0]) {
        const double z = (300 - p.y) / 20;
        if (std::fabs(z) > 0.1) { EXPECT_EQ(CurveMark(p), z > 0) << z; }
    }
    // The mark changes once, refined to under a pixel.
    int changes = 0;
    for (std::size_t i = 1; i < lines[0].size(); ++i)
        if (CurveMark(lines[0][i]) != CurveMark(lines[0][i - 1])) {
            ++changes;
            EXPECT_LT(lines[0][i].x - lines[0][i - 1].x, 1);
        }
    EXPECT_EQ(changes, 1);
    // Drawn as a solid visible run and a dashed hidden one.
    int dashed = 0, solid = 0;
    for (const std::string& l : rig.canvas.lines()) {
        if (l.rfind("drawPolyline", 0) != 0) continue;
        (l.find("dash") != std::string::npos ? dashed : solid)++;
    }
    EXPECT_EQ(solid, 1);
    EXPECT_EQ(dashed, 1);
}


// Graphs are kept between redraws.  A session of plots in which graphs come
// back with the same settings, or with one setting changed (formula, window,
// scales, evaluator, distribution parameters, full drawing, the surface and
// box of a section), gives each time exactly what a build from nothing gives:
// the same polylines with the same marks, and the same parameters after.
TEST(CartesianKept, EveryPlotEqualsAFreshBuild) {
    struct Plot {
        std::uint8_t plane;
        std::string f, g;
        double scale, half, cy;
        bool named, recompute;
        double sigma;
        double box;
    };
    auto build = [](const Plot& p) {
        CurveRig rig;
        rig.ctx.XScale = rig.ctx.YScale = p.scale;
        rig.ctx.NamedFunctions = p.named;
        rig.ctx.Recompute = p.recompute;
        rig.ctx.Params.NormSigma = p.sigma;
        rig.ctx.Corners = test::CurveBox(-p.box, p.box);
        rig.ctx.Outline.Step1 = 2;
        rig.ctx.Style = {1, 2, 4, 2};
        PlotCartesian(rig.ctx, p.plane, p.f, p.g, 0, p.half, p.half, p.half, p.half, p.cy, 400);
        return std::make_pair(rig.lines(), rig.ctx.Params);
    };
    auto same = [](const auto& a, const auto& b) {
        if (a.first.size() != b.first.size() || std::memcmp(&a.second, &b.second, sizeof a.second) != 0) return false;
        for (std::size_t i = 0; i < a.first.size(); ++i) {
            if (a.first[i].size() != b.first[i].size()) return false;
            for (std::size_t j = 0; j < a.first[i].size(); ++j) {
                const CurvePoint &p = a.first[i][j], &q = b.first[i][j];
                if (p.x != q.x || p.y != q.y || CurveMark(p) != CurveMark(q)) return false;
            }
        }
        return true;
    };
    const std::vector<Plot> kinds = {
        {PlaneXOY, "x^2/5-3", "", 20, 100, 300, true, true, 1, 0},
        {PlaneXOY, "sin(x)*3", "", 20, 100, 300, true, true, 1, 0},
        {PlaneXOY, "norm(x)*10", "", 20, 100, 300, true, true, 1, 0},
        {PlaneX, "x", "0", 20, 100, 300, true, true, 1, 20},
        {PlaneY, "x/2", "x", 20, 100, 300, true, true, 1, 20},
    };
    std::mt19937 rng(11);
    for (int i = 0; i < 60; ++i) {
        Plot p = kinds[rng() % kinds.size()];
        switch (rng() % 8) {
            case 0: p.scale = 25; break;
            case 1: p.half = 80; break;
            case 2: p.cy = 280; break;
            case 3: p.named = false; break;
            case 4: p.recompute = false; break;
            case 5: p.sigma = 2; break;
            case 6: p.box = 1; break;
            default: break;  // as it was
        }
        const auto kept = build(p);
        std::pair<std::vector<std::vector<CurvePoint>>, DistributionParameters> fresh;
        std::thread([&] { fresh = build(p); }).join();  // a thread keeps graphs of its own
        ASSERT_TRUE(same(kept, fresh)) << "plot " << i << ": " << p.f;
    }
}

}  // namespace
}  // namespace pelmar
