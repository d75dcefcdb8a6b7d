#include "transform/anim_steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/construct.h"
#include "model/defaults.h"
#include "drawing/formula.h"
#include "model/update.h"
#include "transform/anim_build.h"

namespace pelmar {
namespace {

DefaultsSource NoFiles() {
    DefaultsSource src;
    src.programFolder = "/nonexistent";
    return src;
}

double Dist(const std::array<double, 3>& q, const DPoint& c) {
    return std::hypot(q[0] - c.X.v, q[1] - c.Y.v, q[2] - c.Z.v);
}

// One formula per row on a point: what is stored, and whether the build
// counts a failure.  Values are stored only where the field is editable; the
// label angle is rounded half to even.
TEST(AnimationSteps, PointFormulasRespectFlagsAndRounding) {
    struct Case {
        std::size_t slot;  // 0 X, 1 Y, 2 Z, 3 label angle
        const char* formula;
        bool editable;
        double t;
        double expected;
        bool failed;
    } cases[] = {{0, "10+x", true, 2, 12, false}, {2, "-5", false, 0, 100, false}, {3, "2.5", true, 0, 2, false},
                 {3, "x+0.5", true, 3, 4, false}, {0, "ln(0)", true, 1, 0, true},   {1, "", true, 1, 100, false},
                 {3, "2^40", true, 0, 2147483647, false}};
    for (const Case& c : cases) {
        DPoint p;
        LoadDefaultPoint(p, 1, NoFiles());
        UpdatePoint(p, 0);
        p.LabelAngle.v = 7;
        Ed<double>* xyz[3] = {&p.X, &p.Y, &p.Z};
        if (c.slot < 3) xyz[c.slot]->e = c.editable;
        p.Anim[c.slot] = c.formula;
        AnimEval ev;
        ev.t = c.t;
        SetTimePo(p, ev);
        const double got = c.slot < 3 ? xyz[c.slot]->v : p.LabelAngle.v;
        EXPECT_EQ(got, c.expected) << c.formula;
        EXPECT_EQ(ev.failed, c.failed) << c.formula;
        EXPECT_EQ(p.ScrX.v, Round(p.Y.v - p.X.v / std::sqrt(8.0))) << "projected after the step";
    }
}

// An ellipse carries its outline points with its centre and places them from
// the semi-axes; a cylinder's height and radius move the axis end, the upper
// base and the base's outline points.
TEST(AnimationSteps, FiguresAndBodiesStoreTheirValues) {
    DCircle c;
    LoadDefaultCircle(c, 1, NoFiles());
    c.Center.Anim[1] = "100+x";
    c.Anim[0] = "40";
    AnimEval ev;
    ev.t = 5;
    const auto q2 = c.Q2;
    SetTimeCi(c, ev);
    EXPECT_EQ(c.Center.Y.v, 105);
    EXPECT_NEAR(c.Q1[1], c.Center.Y.v + 40, 1e-9);
    EXPECT_NEAR(c.Q1[2], c.Center.Z.v, 1e-9);
    EXPECT_NEAR(c.Q2[1], q2[1] + 5, 1e-9) << "moved with the centre";

    DZi z;
    LoadDefaultCylinder(z, 1, NoFiles());
    z.Anim = {"150", "2*x", "", ""};
    SetTimeZi(z, ev);
    EXPECT_NEAR(LineLength(z.Axis), 150, 1e-6);
    EXPECT_NEAR(z.Base[2].Center.X.v, z.Axis.P2.X.v, 1e-9);
    EXPECT_NEAR(z.Base[2].Center.Z.v, z.Axis.P2.Z.v, 1e-9);
    EXPECT_EQ(z.Radius.v, 10);
    EXPECT_NEAR(Dist(z.Base[1].Q1, z.Base[1].Center), 10, 1e-9);
    EXPECT_NEAR(Dist(z.Base[1].Q2, z.Base[1].Center), 10, 1e-9);

    EXPECT_FALSE(ev.failed);
}

// A 2D system takes its bounds, transformations and equation parameters; the
// parameter text replaces every "$"; the implicit graph is traced again when
// its values change.  A 3D system takes its surface moves and curve bounds.
TEST(AnimationSteps, CoordinateSystemsTakeTheirFormulas) {
    DXOY x;
    LoadDefaultXOY(x, 1, NoFiles());
    UpdateXOY(x, 0);
    x.Graph[1].s = "$*sin(x)+$";
    x.Graph2.s = "cos($x)";
    x.Texts7[1] = "x";
    x.Texts7[7] = "-x/4";
    x.Texts[0][1] = "-x";       // graph 1 X1
    x.Texts[1][4] = "x+1";      // graph 4 bound 2
    x.Texts[1][5] = "7";        // graph 5 bound 2
    x.Texts[8][3] = "x*10";     // graph 3 translation Y
    x.Curves.Valid = 1;
    AnimEval ev(',');
    ev.t = 2;
    SetTimeXY(x, ev);
    // Written with "." whatever the user's separator.
    EXPECT_EQ(x.Graph[1].s, "(2.00000000)*sin(x)+(2.00000000)");
    EXPECT_EQ(x.Graph2.s, "cos((-0.50000000)x)");
    EXPECT_EQ(x.Bounds[1][0].v, -2);
    EXPECT_EQ(x.Polar[2][1].v, 3);
    EXPECT_EQ(x.ParB.v, 7);
    EXPECT_EQ(x.Move[3].DY.v, 20);
    EXPECT_EQ(x.Curves.Valid, 1) << "the implicit graph did not change";
    x.Texts[3][6] = "x";  // graph 6 Y2
    SetTimeXY(x, ev);
    EXPECT_EQ(x.Bounds[3][3].v, 2);
    EXPECT_EQ(x.Curves.Valid, 0);

    DXZ s;
    LoadDefaultXYZ(s, 1, NoFiles());
    UpdateXYZ(s, 0);
    s.Texts[0][2] = "30*x";  // surface 2 rotation angle
    s.Texts[9][4] = "-x";    // surface 4 translation Z
    s.BoundTexts = {"x", "2*x"};
    SetTimeXZ(s, ev);
    EXPECT_EQ(s.Move[2].Angle.v, 60);
    EXPECT_EQ(s.Move[4].DZ.v, -2);
    EXPECT_EQ(s.ParT1.v, 2);
    EXPECT_EQ(s.ParT2.v, 4);
    EXPECT_FALSE(ev.failed);
}

// Closing the window commits only changed settings, with the old ones in the
// undo step.
TEST(AnimationSteps, ClosingCommitsChangedSettingsOnce) {
    auto doc = NewDocument();
    const AnimSettings kept{50, 4, "1", "0", false};
    const AnimSettings changed[] = {kept, {50, 5, "1", "0", false}, {50, 4, "1", "x", false}, {50, 4, "1", "0", true}};
    for (const AnimSettings& now : changed) {
        PutAnimSettings(*doc, now);
        int commits = 0;
        const bool made = CommitAnimSettings(*doc, kept, [&] {
            ++commits;
            EXPECT_TRUE(AnimSettingsOf(*doc) == kept);
        });
        EXPECT_EQ(made, !(now == kept));
        EXPECT_EQ(commits, made ? 1 : 0);
        EXPECT_TRUE(AnimSettingsOf(*doc) == now);
    }
}

}  // namespace
}  // namespace pelmar

namespace pelmar {

// An equation parameter written into a graph's formula reads back through
// the formula evaluator as the value it was, large and small values included.
TEST(AnimationSteps, EquationParameterReadsBack) {
    const double values[] = {2, -0.5, 0.125, 1234567.25, 3e9, -7.5e12, 1e-9};
    for (double v : values) {
        SCOPED_TRACE(v);
        const std::string text = EquationParameterText(v);
        EXPECT_EQ(text.find_first_of(",eE"), std::string::npos) << text;
        for (const char* equation : {"$", "$*x", "sin(x-x)+$"}) {
            std::string f = equation;
            const std::string rep = text;
            for (std::size_t at; (at = f.find('$')) != std::string::npos;) f.replace(at, 1, rep);
            DistributionParameters params;
            const Formula prepared = Formula::Prepare(f, true, params);
            Ext got = 0;
            ASSERT_TRUE(prepared.Calc(1, got)) << f;
            const double expect = v;
            EXPECT_NEAR(static_cast<double>(got), expect, std::abs(expect) * 1e-12 + 1e-8) << f;
        }
    }
    EXPECT_EQ(EquationParameterText(std::nan("")), "(0)");
}

}  // namespace pelmar
