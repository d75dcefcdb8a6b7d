#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <random>

#include "curve_test_util.h"
#include "drawing/formula_internal.h"

namespace pelmar {
namespace {

using test::CurveRig;

class FakeGraphHost : public GraphHost, public TextRole, public ProgressRole {
public:
    TextRole& texts() override { return *this; }
    ProgressRole* progressFor(TargetKind target) override {
        lastWord = TargetWord(target);
        return this;
    }
    void processEvents() override {
        ++events;
        if (onEvents) onEvents();
    }
    void showProgress(const std::string&) override {}
    void setProgress(int position) override { progress.push_back(position); }
    void hideProgress() override {}
    void showMessage(const std::string& text) override { messages.push_back(text); }
    std::string wordLine(int line) override { return line == CannotPlotLine ? "cannot plot" : ""; }
    char decimalSeparator() override { return ','; }

    int events = 0;
    std::function<void()> onEvents;
    std::vector<int> progress;
    std::string lastWord;
    std::vector<std::string> messages;
};

class ImplicitTest : public ::testing::Test {
protected:
    void SetUp() override {
        rig.ctx.Host = &host;
        rig.ctx.Index = 1;
        rig.ctx.Stores.DrawProj = draw.get();
        rig.ctx.Stores.Proj = proj.get();
        draw->Obj.Xy.resize(1);
        proj->Obj.Xy.resize(1);
    }
    // Traces F in the 2D plane, the window +-half pixels around (400, 300).
    void trace(const std::string& f, double scale = 50, double half = 100) {
        rig.ctx.XScale = rig.ctx.YScale = scale;
        TraceImplicitCurve(rig.ctx, PlaneXOY, f, f, 0, 0, half, half, half, half, 300, 400);
    }
    // The model point of a picture point.
    Vec3 model(const CurvePoint& p) const {
        return {(p.x - 400) / rig.ctx.XScale, (300 - p.y) / rig.ctx.YScale, 0};
    }
    std::vector<std::vector<CurvePoint>> drawnLines() const {
        std::vector<std::vector<CurvePoint>> out;
        for (const auto& l : rig.lines())
            if (l.size() >= 2) out.push_back(l);
        return out;
    }

    CurveRig rig;
    FakeGraphHost host;
    std::unique_ptr<DProj> draw = std::make_unique<DProj>();
    std::unique_ptr<DProj> proj = std::make_unique<DProj>();
};

TEST_F(ImplicitTest, CircleIsTwoBranchesMeetingAtBothEnds) {
    trace("x^2+y^2-1");
    const auto lines = drawnLines();
    ASSERT_EQ(lines.size(), 2u);
    for (const auto& l : lines)
        for (const CurvePoint& p : l) {
            const Vec3 m = model(p);
            EXPECT_NEAR(std::hypot(m.x, m.y), 1, 0.001) << m.x << " " << m.y;
        }
    // The two polylines meet at their ends: each end lies on an end of the
    // other polyline.
    auto near = [](const CurvePoint& a, const CurvePoint& b) { return PictureDistance(a, b) < 1e-6; };
    for (int i = 0; i < 2; ++i) {
        const auto& me = lines[static_cast<std::size_t>(i)];
        const auto& other = lines[static_cast<std::size_t>(1 - i)];
        for (const CurvePoint& end : {me.front(), me.back()})
            EXPECT_TRUE(near(end, other.front()) || near(end, other.back()) || near(me.front(), me.back()));
    }
    // The whole circle is covered: both ends at x = -1 and x = 1.
    double minX = 1e9, maxX = -1e9;
    for (const auto& l : lines)
        for (const CurvePoint& p : l) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
        }
    EXPECT_NEAR(minX, 350, 0.11);
    EXPECT_NEAR(maxX, 450, 0.11);
    // The plane-0 points carry mark 0, and the set is drawn solid.
    EXPECT_FALSE(CurveMark(lines[0][0]));
    EXPECT_EQ(rig.canvas.lines().size(), 4u);
}

TEST_F(ImplicitTest, CircleBornInsideAColumnJoinsItsBranchesAcrossTheStart) {
    // Radius 0.99: the two roots appear between whole columns.
    trace("x^2+y^2-0.9801");
    const auto lines = drawnLines();
    ASSERT_EQ(lines.size(), 2u);
    for (const auto& l : lines)
        for (const CurvePoint& p : l) EXPECT_NEAR(std::hypot(model(p).x, model(p).y), 0.99, 0.001);
    // Branch A starts with the upper point and runs through the lower one.
    const auto& a = lines[0];
    EXPECT_LT(a[0].y, 300);
    EXPECT_GT(a[1].y, 300);
    EXPECT_DOUBLE_EQ(a[0].x, a[1].x);
}

TEST_F(ImplicitTest, HyperbolaBranchesStayApart) {
    trace("x^2-y^2-1");
    const auto lines = drawnLines();
    EXPECT_EQ(lines.size(), 4u);
    for (const auto& l : lines) {
        for (const CurvePoint& p : l) {
            const Vec3 m = model(p);
            EXPECT_NEAR(m.x * m.x - m.y * m.y, 1, 0.01) << m.x << " " << m.y;
        }
        for (std::size_t i = 1; i < l.size(); ++i)
            EXPECT_EQ(l[i].x < 400, l[i - 1].x < 400);  // no piece crosses the gap
    }
}

TEST_F(ImplicitTest, AsymptotesAreNotJoined) {
    trace("x*y-1");  // y = 1/x
    auto lines = drawnLines();
    EXPECT_EQ(lines.size(), 2u);
    for (const auto& l : lines)
        for (std::size_t i = 1; i < l.size(); ++i) EXPECT_EQ(l[i].x < 400, l[i - 1].x < 400);

    draw->Obj.Xy[1].Curves.Valid = 0;
    trace("y-tg(x)", 20);  // x from -5 to 5, y within +-5
    lines = drawnLines();
    EXPECT_EQ(lines.size(), 5u);
    for (const auto& l : lines)
        for (std::size_t i = 1; i < l.size(); ++i) EXPECT_LT(std::fabs(l[i].y - l[i - 1].y), 50);
}

// Marching squares over the pixel grid finds every crossing of the curve with
// a grid edge; the traced curve must pass within a pixel and a half of each.
TEST_F(ImplicitTest, TracedCurvesPassEveryMarchingSquaresCrossing) {
    struct Case {
        const char* text;
        double (*f)(double, double);
    };
    const Case cases[] = {
        {"x^2+y^2-1", [](double x, double y) { return x * x + y * y - 1; }},
        {"x^2-y^2-1", [](double x, double y) { return x * x - y * y - 1; }},
        {"y-x^2", [](double x, double y) { return y - x * x; }},
        {"sin(x)-y^3", [](double x, double y) { return std::sin(x) - y * y * y; }},
        {"sin(3*x)-y", [](double x, double y) { return std::sin(3 * x) - y; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        draw->Obj.Xy[1].Curves.Valid = 0;
        trace(c.text);
        const auto lines = drawnLines();
        ASSERT_FALSE(lines.empty());
        auto distance = [&](double px, double py) {
            double best = 1e300;
            for (const auto& l : lines)
                for (std::size_t i = 1; i < l.size(); ++i) {
                    const double ax = l[i - 1].x, ay = l[i - 1].y, dx = l[i].x - ax, dy = l[i].y - ay;
                    const double len2 = dx * dx + dy * dy;
                    const double t = len2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0, 1.0) : 0;
                    best = std::min(best, std::hypot(ax + t * dx - px, ay + t * dy - py));
                }
            return best;
        };
        // The grid keeps a pixel clear of the window's border.
        auto value = [&](int px, int py) { return c.f((px - 400) / 50.0, (300 - py) / 50.0); };
        int crossings = 0;
        for (int px = 301; px < 499; ++px)
            for (int py = 201; py < 399; ++py) {
                const double v = value(px, py);
                const double right = value(px + 1, py), down = value(px, py + 1);
                if ((v < 0) != (right < 0)) {
                    ++crossings;
                    const double at = px + v / (v - right);
                    EXPECT_LT(distance(at, py), 1.5) << at << " " << py;
                }
                if ((v < 0) != (down < 0)) {
                    ++crossings;
                    const double at = py + v / (v - down);
                    EXPECT_LT(distance(px, at), 1.5) << px << " " << at;
                }
            }
        EXPECT_GT(crossings, 100);
    }
}

TEST_F(ImplicitTest, ParabolaIsOnePolyline) {
    trace("y-x^2");
    const auto lines = drawnLines();
    ASSERT_EQ(lines.size(), 1u);
    for (const CurvePoint& p : lines[0]) EXPECT_NEAR(model(p).y, model(p).x * model(p).x, 0.003);
}

TEST_F(ImplicitTest, ColumnValueEntersWithThreeDecimals) {
    // XScale 7: the columns fall on sevenths; y = x is solved exactly for the
    // cut value.
    rig.ctx.XScale = 7;
    rig.ctx.YScale = 1000;
    TraceImplicitCurve(rig.ctx, PlaneXOY, "y-x", "y-x", 0, 0, 2000, 2000, 14, 14, 300, 400);
    const auto lines = drawnLines();
    ASSERT_EQ(lines.size(), 1u);
    for (const CurvePoint& p : lines[0]) {
        const double x = (p.x - 400) / 7;
        const double cut = std::trunc(x * 1000) / 1000;
        EXPECT_NEAR((300 - p.y) / 1000, cut, 1e-9) << x;
    }
}

TEST_F(ImplicitTest, ThreeRootsInAColumnShowTheMessageAndDrawNothing) {
    trace("(y-1)*(y-2)*(y-3)", 20, 100);
    EXPECT_EQ(host.messages, std::vector<std::string>{"cannot plot"});
    EXPECT_TRUE(rig.canvas.lines().empty());
    EXPECT_EQ(draw->Obj.Xy[1].Curves.Valid, 0);
    // Roots without end: no more than the array holds, and the same message.
    host.messages.clear();
    trace("sin(1/y)", 20, 100);
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(ImplicitTest, StoredCurvesAreReusedUntilAnEditClearsValid) {
    rig.ctx.TargetChar = 'm';
    rig.ctx.Stores.CurrentObject = ObjListEntry{{'x', 'y', 0}, 1};
    DXOY working;
    rig.ctx.Stores.CurXOY = &working;
    trace("x^2+y^2-1");
    const DCurve2& stored = draw->Obj.Xy[1].Curves;
    EXPECT_EQ(stored.Valid, 1);
    EXPECT_EQ(stored.Count, static_cast<int>(rig.ctx.Result.Lines.size()));
    EXPECT_EQ(proj->Obj.Xy[1].Curves.Valid, 1);
    EXPECT_EQ(working.Curves.Valid, 1);
    const std::size_t drawnOnce = rig.canvas.lines().size();

    // Another formula: the stored circle is drawn again, nothing is traced.
    trace("y-x");
    EXPECT_EQ(rig.canvas.lines().size(), 2 * drawnOnce);
    EXPECT_EQ(drawnLines().size(), 2u);

    // Without Recompute and without valid curves nothing happens.
    draw->Obj.Xy[1].Curves.Valid = 0;
    rig.ctx.Recompute = false;
    rig.canvas.clear();
    trace("y-x");
    EXPECT_TRUE(rig.canvas.lines().empty());
    // Not running: nothing either.
    rig.ctx.Recompute = true;
    rig.running = false;
    trace("y-x");
    EXPECT_TRUE(rig.canvas.lines().empty());
    EXPECT_EQ(draw->Obj.Xy[1].Curves.Valid, 0);
}

TEST_F(ImplicitTest, StoppingLeavesTheStoredCurvesAlone) {
    rig.ctx.Pass = 3;  // the own picture shows progress and pumps events
    trace("x^2+y^2-1");
    EXPECT_GT(host.events, 100);
    EXPECT_EQ(host.progress.back(), 100);
    EXPECT_EQ(host.lastWord, "pel");
    for (std::size_t i = 1; i < host.progress.size(); ++i) EXPECT_GT(host.progress[i], host.progress[i - 1]);

    draw->Obj.Xy[1].Curves.Valid = 0;
    const std::size_t drawn = rig.canvas.lines().size();
    host.events = 0;
    host.onEvents = [&] {
        if (host.events == 20) rig.running = false;
    };
    trace("x^2+y^2-4");
    EXPECT_EQ(host.events, 20);
    EXPECT_EQ(draw->Obj.Xy[1].Curves.Valid, 0);
    EXPECT_EQ(rig.canvas.lines().size(), drawn);
}

TEST_F(ImplicitTest, PathologicalFormulasFinish) {
    // Undefined everywhere, and an oscillation whose roots crowd together.
    trace("ln(-1-x^2-y^2)");
    EXPECT_TRUE(drawnLines().empty());
    EXPECT_EQ(draw->Obj.Xy[1].Curves.Valid, 1);
    draw->Obj.Xy[1].Curves.Valid = 0;
    trace("y-sin(1/x)", 50, 100);
    EXPECT_LE(host.messages.size(), 1u);
    draw->Obj.Xy[1].Curves.Valid = 0;
    trace("x^2+y^2-1", 0);  // no scale
    EXPECT_TRUE(drawnLines().empty());
    // A window so wide that a column step would not move the column.
    draw->Obj.Xy[1].Curves.Valid = 0;
    TraceImplicitCurve(rig.ctx, PlaneXOY, "x^2+y^2-1", "", 0, 0, 100, 100, 1e300, 1e300, 300, 400);
    EXPECT_TRUE(drawnLines().empty());
}

TEST_F(ImplicitTest, SectionMarksChangeWithinAPixel) {
    // The circle Y^2 + Z^2 = 1 in the plane X = 0 of a 3D system; the plane
    // z = 0.5 hides all of it but the top.
    rig.ctx.Index = 11;
    draw->Obj.Xz.resize(1);
    rig.ctx.Corners = test::CurveBox(-5, 5);
    rig.ctx.Outline.FitMode = 0;
    rig.ctx.Outline.Step1 = 1;
    rig.ctx.XScale = rig.ctx.YScale = 50;
    TraceImplicitCurve(rig.ctx, PlaneX, "x^2+y^2-1", "z-0.5", 11, 0, 100, 100, 100, 100, 300, 400);
    EXPECT_EQ(draw->Obj.Xz[1].Curves[1].Valid, 1);
    const auto lines = drawnLines();
    ASSERT_EQ(lines.size(), 2u);
    int changes = 0;
    for (const auto& l : lines) {
        for (const CurvePoint& p : l) {
            const double z = (300 - p.y) / 50;
            if (std::fabs(z - 0.5) > 0.05) { EXPECT_EQ(CurveMark(p), z > 0.5) << z; }
        }
        for (std::size_t i = 1; i < l.size(); ++i)
            if (CurveMark(l[i]) != CurveMark(l[i - 1])) {
                ++changes;
                EXPECT_LT(PictureDistance(l[i], l[i - 1]), 1.5);
            }
    }
    EXPECT_EQ(changes, 2);
}

// A random formula: sums of products of powers, brackets and functions of
// x (and y), with numbers of a few decimals; some of its steps (fractional
// and variable powers, tg, arcsin) lie outside what the scan's bound follows.
std::string RandomFormula(std::mt19937& rng, int depth, bool withY) {
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto number = [&] {
        static const char* const numbers[] = {"0.5", "1", "2", "3", "0.3", "1.7", "0.01", "4.25", "10"};
        return std::string(numbers[pick(9)]);
    };
    std::function<std::string(int)> factor = [&](int d) -> std::string {
        const int k = d <= 0 ? pick(3) : pick(12);
        switch (k) {
            case 0:
            case 1: return withY && pick(2) ? "y" : "x";
            case 2: return number();
            case 3:
            case 4: {
                static const char* const names[] = {"sin", "cos", "abs", "arctg", "eks", "ln", "lg", "tg", "arcsin"};
                return std::string(names[pick(9)]) + "(" + RandomFormula(rng, d - 1, withY) + ")";
            }
            case 5: {
                static const char* const powers[] = {"^2", "^3", "^4", "^(-1)", "^0.5", "^x", "^-2"};
                return factor(d - 1) + powers[pick(7)];
            }
            default: return "(" + RandomFormula(rng, d - 1, withY) + ")";
        }
    };
    std::string s = factor(depth);
    for (int terms = pick(3); terms > 0; --terms) {
        std::string t = factor(depth - 1);
        if (pick(2)) t += (pick(2) ? "*" : "/") + factor(depth - 1);
        s += (pick(2) ? "+" : "-") + t;
    }
    if (!withY) return s;
    return s + (pick(2) ? "-" : "+") + number();
}

// The scan passes over stretches the formula's bound shows to be of one sign:
// wherever it says so, every sample there is defined and of that sign.
TEST(RootsOnSegment, BoundedSignsHoldAtEverySample) {
    std::mt19937 rng(29);
    DistributionParameters params;
    int told = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string text = RandomFormula(rng, 2, false);
        const Formula f = Formula::Prepare(text, true, params);
        std::uniform_real_distribution<double> start(-6, 6);
        const double a = start(rng), b = a + std::ldexp(1.0, static_cast<int>(rng() % 12) - 8);
        const int sign = formula::Access::SignOn(f, formula::Round15(a), formula::Round15(b));
        if (sign == 0) continue;
        ++told;
        for (int k = 0; k <= 64; ++k) {
            const double x = k == 64 ? b : a + (b - a) * k / 64;
            Ext v = 0;
            ASSERT_TRUE(f.Calc(x, v)) << text << " at " << x;
            ASSERT_EQ(v > 0 ? 1 : v < 0 ? -1 : 0, sign) << text << " at " << x;
        }
    }
    EXPECT_GT(told, 600);
}

// The traced curves are those of a scan that computes every sample, byte for
// byte: over the formulas of these tests and random ones, in the 2D plane and
// in the three plane sections of a 3D system with a covering surface.
TEST_F(ImplicitTest, TracesMatchTheScanOfEverySample) {
    auto traced = [&](std::uint8_t plane, const std::string& f, const std::string& g, double scale, double half,
                      bool skip) {
        rig.ctx.XScale = rig.ctx.YScale = scale;
        rig.ctx.SkipSignedStretches = skip;
        rig.canvas.clear();
        host.messages.clear();
        rig.ctx.Result.Lines.clear();
        draw->Obj.Xy[1].Curves.Valid = 0;
        if (plane == PlaneXOY)
            TraceImplicitCurve(rig.ctx, plane, f, f, 0, 0, half, half, half, half, 300, 400);
        else
            TraceImplicitCurve(rig.ctx, plane, f, g, 0, 0.25, half, half, half, half, 300, 400);
        std::string bytes;
        for (const DCurve1& l : rig.ctx.Result.Lines) {
            const auto& pts = l.points();
            bytes.append(reinterpret_cast<const char*>(pts.data()), pts.size() * sizeof(CurvePoint));
            bytes += '|';
        }
        for (const std::string& m : host.messages) bytes += m;
        return std::make_pair(bytes, rig.canvas.lines().size());
    };
    rig.ctx.Corners = test::CurveBox(-5, 5);
    rig.ctx.Outline.Step1 = 1;
    const std::string corpus[] = {
        "x^2+y^2-1", "x^2+y^2-0.9801", "x^2-y^2-1", "x*y-1", "y-tg(x)", "y-x^2", "sin(x)-y^3", "sin(3*x)-y",
        "y-x", "(y-1)*(y-2)*(y-3)", "sin(1/y)", "ln(-1-x^2-y^2)", "y-sin(1/x)", "x^2/9+y^2/4-1",
        "x^2+y^2-16+0.1*sin(y)", "abs(x)+abs(y)-1", "eks(y)-x-2", "y^2-x^3+x", "x^0.5-y"};
    int drawn = 0;
    auto check = [&](std::uint8_t plane, const std::string& f, double scale, double half) {
        SCOPED_TRACE(f + " plane " + std::to_string(plane));
        const auto every = traced(plane, f, "z-0.5*x", scale, half, false);
        const auto skipped = traced(plane, f, "z-0.5*x", scale, half, true);
        EXPECT_TRUE(every.first == skipped.first);
        EXPECT_EQ(every.second, skipped.second);
        drawn += every.second > 0;
    };
    for (const std::string& f : corpus) check(PlaneXOY, f, 50, 100);
    for (std::uint8_t plane : {PlaneX, PlaneY, PlaneZ}) check(plane, "x^2+y^2-2+0.2*sin(3*y)", 40, 80);
    std::mt19937 rng(2929);
    for (int i = 0; i < 120; ++i) check(PlaneXOY, RandomFormula(rng, 2, true), 30, 60);
    EXPECT_GT(drawn, 60);
}

// Windows turned inside out or of no height draw nothing; far ones walk a band of a picture or so
// around the picture, one pumped event a column.
TEST_F(ImplicitTest, ReversedEmptyAndFarWindows) {
    rig.ctx.Pass = 3, rig.ctx.Index = 11, rig.ctx.ImProj.Width = 800, rig.ctx.ImProj.Height = 600;
    draw->Obj.Xz.resize(1);
    const int bound = 3 * 800 + 3 * 600;
    host.onEvents = [&] { rig.running = host.events <= bound; };  // an unbounded walk is stopped
    for (const auto& [plane, top, bottom, drawn] :
         {std::tuple{PlaneX, 40.0, -160.66, false}, {PlaneX, 40.0, -40.0, false}, {PlaneXOY, 1e7, 1e7, true}, {PlaneZ, 1e7, 1e7, true}}) {
        SCOPED_TRACE(testing::Message() << int(plane) << " " << top << " " << bottom);
        host.events = 0, draw->Obj.Xz[1].Curves[1].Valid = 0, rig.ctx.XScale = rig.ctx.YScale = 10;
        TraceImplicitCurve(rig.ctx, plane, "x^2+y^2-16", "", 11, 0, top, bottom, top, top, 300, 400);
        EXPECT_EQ(!drawnLines().empty(), drawn);
        EXPECT_LE(host.events, bound);
    }
}

TEST(RootsOnSegment, FindsSignChangesAndExactZeros) {
    DistributionParameters params;
    const Formula f = Formula::Prepare("(x-0.25)*(x+0.5)", true, params);
    std::array<double, 9> roots{};
    ASSERT_EQ(RootsOnSegment(f, roots, true, 0.1, 1, -1), 2);
    EXPECT_NEAR(roots[0], -0.5, 0.01);
    EXPECT_NEAR(roots[1], 0.25, 0.01);
    // Without refining only the first, in the middle of its step.
    ASSERT_EQ(RootsOnSegment(f, roots, false, 0.1, 1, -1), 1);
    EXPECT_NEAR(roots[0], -0.5, 0.05);
    // Undefined values are no sign change (1/x changes sign across 0).
    const Formula g = Formula::Prepare("1/x", true, params);
    EXPECT_EQ(RootsOnSegment(g, roots, true, 0.1, 1, -1), 0);
    // No step, no scan.
    EXPECT_EQ(RootsOnSegment(f, roots, true, 0, 1, -1), 0);
    EXPECT_EQ(RootsOnSegment(f, roots, true, -0.1, 1, -1), 0);
    // Many roots: at most nine.
    const Formula h = Formula::Prepare("sin(40*x)", true, params);
    EXPECT_EQ(RootsOnSegment(h, roots, true, 0.001, 3, -3), 9);
    // Reversed ends hold no root; a segment too long to scan is not scanned.
    EXPECT_EQ(RootsOnSegment(f, roots, true, 0.05, 4.0, 16.066), 0);
    EXPECT_EQ(RootsOnSegment(f, roots, true, 0.1, -1, 1), 0);
    EXPECT_EQ(RootsOnSegment(f, roots, true, 0.1, 1e300, -1e300), 0);
}

}  // namespace
}  // namespace pelmar
