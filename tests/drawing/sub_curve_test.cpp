// The graph dispatcher: the polar, parametric and space curves it builds
// against the exact curves, the sampling rules at the range ends, the clip to
// the axes, broken lines at undefined samples, and what the kind word, the
// stop switch and the pass decide.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "coord_fixture.h"
#include "drawing/curve_output.h"
#include "drawing/sub_curve.h"
#include "support/recording_sinks.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// A graph with its origin at (200, 150), 20 pixels per unit, room of 200
// pixels on every side.
SubCurveArgs Args(const char* kind, const char* f1, const char* f2 = "", const char* f3 = "") {
    SubCurveArgs a;
    a.ImProj = Picture(400, 300);
    a.Kind = kind;
    a.Formula1 = f1;
    a.Formula2 = f2;
    a.Formula3 = f3;
    a.OriginX = 200;
    a.OriginY = 150;
    a.ScaleX = a.ScaleY = 20;
    a.Extents = {200, 200, 200, 200, 200, 200};
    a.Thickness = 2;
    a.Colour = Blue;
    a.Full = true;
    return a;
}

std::size_t Points(const DCurve2& c) {
    std::size_t n = 0;
    for (const DCurve1& l : c.lines()) n += l.points().size();
    return n;
}

TEST(PolarCurve, CircleOfRadiusTwo) {
    SubCurveArgs a = Args("pol", "2");
    a.AngleStart = 0;
    a.AngleEnd = 2 * std::numbers::pi;
    a.AngleStep = 0.1;
    DistributionParameters params;
    const DCurve2 c = PolarCurve(a, params);
    EXPECT_EQ(c.Plane, 0);
    ASSERT_EQ(c.lines().size(), 1u);
    const auto& p = c.lines()[0].points();
    ASSERT_EQ(p.size(), 63u);  // 0, 0.1, ..., 6.2
    double angle = 0;
    for (const CurvePoint& q : p) {
        EXPECT_NEAR(q.x, 200 + 40 * std::cos(angle), 1e-9);
        EXPECT_NEAR(q.y, 150 - 40 * std::sin(angle), 1e-9);  // upwards on the picture
        EXPECT_TRUE(CurveMark(q));
        angle += 0.1;
    }
}

TEST(PolarCurve, SpiralWithAnUndefinedSample) {
    // r = 1/x is undefined at 0 only: the first sample, so one polyline.
    SubCurveArgs a = Args("pol", "1/x");
    a.AngleStart = 0;
    a.AngleEnd = 3;
    a.AngleStep = 0.5;
    DistributionParameters params;
    DCurve2 c = PolarCurve(a, params);
    ASSERT_EQ(c.lines().size(), 1u);
    ASSERT_EQ(c.lines()[0].points().size(), 5u);
    const CurvePoint& q = c.lines()[0].points()[0];
    EXPECT_NEAR(q.x, 200 + 20 * 2 * std::cos(0.5), 1e-9);
    EXPECT_NEAR(q.y, 150 - 20 * 2 * std::sin(0.5), 1e-9);

    // Starting below 0 the undefined sample breaks the spiral in two.
    a.AngleStart = -1;
    c = PolarCurve(a, params);
    ASSERT_EQ(c.lines().size(), 2u);
    EXPECT_EQ(c.lines()[0].points().size(), 2u);  // -1, -0.5
    EXPECT_EQ(c.lines()[1].points().size(), 5u);
}

TEST(PolarCurve, EndAngleNeverSampledButParameterEndIs) {
    SubCurveArgs a = Args("pol", "1");
    a.AngleStart = 0;
    a.AngleEnd = 1;
    a.AngleStep = 0.5;
    DistributionParameters params;
    EXPECT_EQ(Points(PolarCurve(a, params)), 2u);

    a.AngleEnd = 0;
    EXPECT_TRUE(PolarCurve(a, params).lines().empty());

    SubCurveArgs p = Args("par", "x", "0");
    p.ParStart = 0;
    p.ParEnd = 1;
    p.ParStep = 0.5;
    EXPECT_EQ(Points(ParametricCurve(p, params)), 3u);
}

TEST(ParametricCurve, EllipseAgainstTheExactCurve) {
    SubCurveArgs a = Args("par", "3*cos(x)", "2*sin(x)");
    a.ParStart = 0;
    a.ParEnd = 6;
    a.ParStep = 0.25;
    DistributionParameters params;
    const DCurve2 c = ParametricCurve(a, params);
    ASSERT_EQ(c.lines().size(), 1u);
    const auto& p = c.lines()[0].points();
    ASSERT_EQ(p.size(), 25u);
    for (std::size_t i = 0; i < p.size(); ++i) {
        const double t = 0.25 * static_cast<double>(i);
        EXPECT_NEAR(p[i].x, 200 + 60 * std::cos(t), 1e-9);
        EXPECT_NEAR(p[i].y, 150 - 40 * std::sin(t), 1e-9);
    }
}

TEST(ParametricCurve, FirstFormulaFailingBreaksTheLine) {
    SubCurveArgs a = Args("par", "1/x", "x");
    a.ParStart = -1;
    a.ParEnd = 1;
    a.ParStep = 0.5;
    DistributionParameters params;
    const DCurve2 c = ParametricCurve(a, params);
    ASSERT_EQ(c.lines().size(), 2u);
    EXPECT_EQ(c.lines()[0].points().size(), 2u);
    EXPECT_EQ(c.lines()[1].points().size(), 2u);
    EXPECT_NEAR(c.lines()[1].points()[0].x, 200 + 40, 1e-9);
    EXPECT_NEAR(c.lines()[1].points()[0].y, 150 - 10, 1e-9);
}

TEST(ParametricCurve, ClipCountsTheEdgeAsOutside) {
    // x = t on a window of 30 pixels each way: 1.5 units lies on the edge.
    SubCurveArgs a = Args("par", "x", "0");
    a.ParStart = -2;
    a.ParEnd = 2;
    a.ParStep = 0.5;
    a.Extents = {30, 30, 30, 30, 0, 0};
    DistributionParameters params;
    EXPECT_EQ(Points(ParametricCurve(a, params)), 9u);
    a.Clip = true;
    const DCurve2 c = ParametricCurve(a, params);
    ASSERT_EQ(c.lines().size(), 1u);
    EXPECT_EQ(c.lines()[0].points().size(), 5u);  // -1 .. 1
    EXPECT_NEAR(c.lines()[0].points().front().x, 180, 1e-9);

    // A polar point beyond the room breaks the curve; with the clip off it stays.
    SubCurveArgs p = Args("pol", "2");
    p.AngleStart = 0;
    p.AngleEnd = 6.28;
    p.AngleStep = 0.01;
    p.Extents = {50, 50, 30, 50, 0, 0};
    EXPECT_EQ(PolarCurve(p, params).lines().size(), 1u);
    p.Clip = true;
    const DCurve2 clipped = PolarCurve(p, params);
    ASSERT_EQ(clipped.lines().size(), 2u);  // the arc more than 30 pixels below is cut out
    for (const DCurve1& l : clipped.lines())
        for (const CurvePoint& q : l.points()) EXPECT_LT(q.y - 150, 30);
}

TEST(SpaceCurve, ObliqueProjection) {
    SubCurveArgs a = Args("par3d", "x", "1", "2");
    a.ParStart = 0;
    a.ParEnd = 4;
    a.ParStep = 1;
    DistributionParameters params;
    DCurve2 c = SpaceCurve(a, params);
    ASSERT_EQ(c.lines().size(), 1u);
    const auto& p = c.lines()[0].points();
    ASSERT_EQ(p.size(), 5u);
    for (std::size_t i = 0; i < p.size(); ++i) {
        const double depth = static_cast<double>(i) / std::sqrt(8.0);
        EXPECT_NEAR(p[i].x, 200 + (1 - depth) * 20, 1e-9);
        EXPECT_NEAR(p[i].y, 150 - (2 - depth) * 20, 1e-9);
        EXPECT_TRUE(CurveMark(p[i]));
    }

    // Dashed lines carry no visible mark; the clip tests the depth against
    // the first pair of extents: 4/√8 x 20 = 28.3 pixels.
    a.Style.LineType = 2;
    a.Clip = true;
    a.Extents = {200, 25, 200, 200, 200, 200};
    c = SpaceCurve(a, params);
    ASSERT_EQ(c.lines().size(), 1u);
    EXPECT_EQ(c.lines()[0].points().size(), 4u);
    EXPECT_FALSE(CurveMark(c.lines()[0].points()[0]));
}

TEST(CurveSampling, StepsThatCannotEndDrawNothing) {
    DistributionParameters params;
    for (double step : {0.0, -0.1, static_cast<double>(NAN), 1e-300}) {
        SubCurveArgs a = Args("pol", "1");
        a.AngleStart = 0;
        a.AngleEnd = 1;
        a.AngleStep = step;
        EXPECT_TRUE(PolarCurve(a, params).lines().empty()) << step;
        a.Kind = "par";
        a.ParStart = 0;
        a.ParEnd = 1;
        a.ParStep = step;
        EXPECT_TRUE(ParametricCurve(a, params).lines().empty()) << step;
    }
    // A step lost in the size of the parameter stops after one sample.
    SubCurveArgs a = Args("par", "0", "0");
    a.ParStart = 1e17;
    a.ParEnd = 1e17 + 1e3;
    a.ParStep = 1;
    EXPECT_EQ(Points(ParametricCurve(a, params)), 1u);
}

// ---------------------------------------------------------------------------
// Dispatch

TEST(DrawSubCurve, KindWordsAreCaseSensitive) {
    RecordingCanvas rec;
    SubCurveArgs a = Args("pol", "2");
    a.AngleStart = 0;
    a.AngleEnd = 6.3;
    a.AngleStep = 0.5;
    DrawSubCurve(a, PelTarget(rec), 2);
    EXPECT_EQ(LinesStarting(rec, "drawPolyline").size(), 1u);
    for (const char* kind : {"POL", "Pol", "polar", ""}) {
        rec.clear();
        a.Kind = kind;
        DrawSubCurve(a, PelTarget(rec), 2);
        EXPECT_TRUE(Drawn(rec).empty()) << kind;
    }
}

TEST(DrawSubCurve, StoppedRunDrawsNothingAndShowsNoProgress) {
    bool running = false;
    RecordingGraphHost host;
    GraphRun run;
    run.Running = &running;
    run.Host = &host;
    RecordingCanvas rec;
    PaintTarget t = PelTarget(rec);
    t.run = &run;
    SubCurveArgs a = Args("Fxy", "x^2+y^2-4");
    DrawSubCurve(a, t, 3);
    a = Args("par", "cos(x)", "sin(x)");
    a.ParEnd = 6;
    a.ParStep = 0.5;
    DrawSubCurve(a, t, 2);
    EXPECT_TRUE(Drawn(rec).empty());
    EXPECT_TRUE(host.log.empty());
}

TEST(DrawSubCurve, ImplicitGraphProgressByTargetAndPass) {
    bool running = true;
    RecordingGraphHost host;
    GraphRun run;
    run.Running = &running;
    run.Host = &host;
    RecordingCanvas rec;
    PaintTarget t = PelTarget(rec);
    t.run = &run;
    SubCurveArgs a = Args("Fxy", "x^2+y^2-4");
    a.Extents = {60, 60, 60, 60, 0, 0};

    DrawSubCurve(a, t, 2);
    EXPECT_TRUE(host.shows().empty());
    EXPECT_FALSE(LinesStarting(rec, "drawPolyline").empty());

    DrawSubCurve(a, t, 3);
    EXPECT_EQ(host.shows(), (std::vector<std::string>{"show pel Неявный график", "hide pel"}));

    host.log.clear();
    RecordingWordSink wrd;
    PaintTarget w;
    w.kind = TargetKind::Wrd;
    w.wrd = &wrd;
    w.run = &run;
    DrawSubCurve(a, w, 3);
    EXPECT_EQ(host.shows(), (std::vector<std::string>{"show wrd Неявный график", "hide wrd"}));
}

TEST(DrawSubCurve, ExportsOfAPolarGraph) {
    SubCurveArgs a = Args("pol", "2");
    a.AngleStart = 0;
    a.AngleEnd = 6.3;
    a.AngleStep = 0.3;
    RecordingWordSink wrd;
    PaintTarget w;
    w.kind = TargetKind::Wrd;
    w.wrd = &wrd;
    DrawSubCurve(a, w, 3);
    ASSERT_EQ(wrd.lines().size(), 1u);
    EXPECT_EQ(wrd.lines()[0].rfind("OfficeFreeform", 0), 0u);

    RecordingCdrSink cdr;
    PaintTarget c;
    c.kind = TargetKind::Cdr;
    c.cdr = &cdr;
    DrawSubCurve(a, c, 3);
    ASSERT_FALSE(cdr.lines().empty());
    EXPECT_EQ(cdr.lines()[0].rfind("BeginDrawCurve", 0), 0u);
    EXPECT_EQ(cdr.lines().back(), "CdrRememberShape");

    // Pass 1 draws no line on any target.
    cdr.clear();
    DrawSubCurve(a, c, 1);
    EXPECT_TRUE(cdr.lines().empty());
}

}  // namespace

// The graph host built from the windows' roles: each target's progress goes
// to the window that shows it, the texts to the text role; the target words
// at the edge name the kinds both ways.
TEST(DrawSubCurve, WindowsGraphHostSendsProgressToTheTargetsWindow) {
    struct Recorder final : ProgressRole {
        std::vector<std::string> log;
        void processEvents() override { log.push_back("events"); }
        void showProgress(const std::string& text) override { log.push_back("show " + text); }
        void setProgress(int) override {}
        void hideProgress() override { log.push_back("hide"); }
    };
    struct Words final : TextRole {
        std::string wordLine(int line) override { return line == 348 ? "implicit" : ""; }
        char decimalSeparator() override { return ','; }
        void showMessage(const std::string&) override {}
    } words;
    const struct {
        const char* word;
        TargetKind kind;
        bool picture, exports;
    } rows[] = {{"pel", TargetKind::Pel, true, false},
                {"cdr", TargetKind::Cdr, false, true},
                {"wrd", TargetKind::Wrd, false, true},
                {"PEL", TargetKind::None, false, false},
                {"", TargetKind::None, false, false}};
    for (const auto& r : rows) {
        EXPECT_EQ(TargetKindOf(r.word), r.kind) << r.word;
        if (r.kind != TargetKind::None) {
            EXPECT_STREQ(TargetWord(r.kind), r.word);
        }
        Recorder picture, exports;
        WindowsGraphHost host(words, &picture, &exports);
        bool running = true;
        GraphRun run;
        run.Running = &running;
        run.Host = &host;
        RecordingCanvas rec;
        RecordingCdrSink cdr;
        RecordingWordSink wrd;
        PaintTarget t = PelTarget(rec);
        t.kind = r.kind;
        t.cdr = &cdr;
        t.wrd = &wrd;
        t.run = &run;
        SubCurveArgs a = Args("Fxy", "x^2+y^2-4");
        a.Extents = {60, 60, 60, 60, 0, 0};
        DrawSubCurve(a, t, 3);
        const std::vector<std::string> shown{"show implicit", "hide"};
        auto showsOf = [](const Recorder& x) {
            std::vector<std::string> out;
            for (const auto& l : x.log)
                if (l != "events") out.push_back(l);
            return out;
        };
        EXPECT_EQ(showsOf(picture), r.picture ? shown : std::vector<std::string>{}) << r.word;
        EXPECT_EQ(showsOf(exports), r.exports ? shown : std::vector<std::string>{}) << r.word;
        // Only the own picture pumps events.
        EXPECT_EQ(std::count(picture.log.begin(), picture.log.end(), "events") > 0, r.picture) << r.word;
        EXPECT_EQ(std::count(exports.log.begin(), exports.log.end(), "events"), 0) << r.word;
    }
    EXPECT_STREQ(TargetWord(TargetKind::None), "");
}
