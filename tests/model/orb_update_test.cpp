// The sphere update: contour, sections and their visible and hidden arcs.
#include <gtest/gtest.h>

#include <cmath>

#include "model/finite_check.h"
#include "model/geometry.h"
#include "model/round_make.h"
#include "model/update.h"
#include "model/vec_near.h"

namespace pelmar {
namespace {

using test::kS8;

using test::MakeOrb;
using test::V3;


Vec3 SecCentre(const DSf& s, std::size_t i) { return Pos(s.Sec[i].Center); }

TEST(UpdateOrb, ContourIsTheTiltedOutline) {
    DSf s = MakeOrb({0, 100, 50}, 10, 4);
    UpdateOrb(s, 0);
    EXPECT_NEAR(s.Contour.A.v, 5 * std::sqrt(5.0), 1e-6);
    EXPECT_NEAR(s.Contour.B.v, 10, 1e-6);
    EXPECT_NEAR(s.Contour.Tilt.v, 45, 1e-3);
    EXPECT_EQ(s.Contour.Center.ScrX.v, 100);
    EXPECT_EQ(s.Contour.Center.ScrY.v, 50);
    EXPECT_EQ(s.Contour.IsCircle.v, false);
    for (std::size_t j = 1; j <= 3; ++j) EXPECT_FALSE(s.Contour.ShowR[j].e);
}

TEST(UpdateOrb, StoredSectionInputsAreCorrected) {
    DSf s = MakeOrb({0, 100, 50}, 20, 4);
    s.SecH[1].v = -3;
    s.SecH[2].v = 20;   // the radius itself
    s.SecH[3].v = 25;
    s.SecH[4].v = 12;
    s.SecNX[4].v = 0.01;  // |n|² below 0.001: Z is set, X kept
    UpdateOrb(s, 0);
    for (std::size_t i = 1; i <= 3; ++i) {
        EXPECT_EQ(s.SecH[i].v, 0) << i;
        EXPECT_EQ(s.SecNZ[i].v, 1.0) << i;
        EXPECT_NEAR(s.Sec[i].A3.v, 20, 1e-3) << "a great circle";
    }
    EXPECT_EQ(s.SecNX[4].v, 0.01);
    EXPECT_EQ(s.SecNZ[4].v, 1.0);
    EXPECT_EQ(s.SecH[4].v, 12);
    // Sections that are off are computed as well.
    EXPECT_NEAR(SecCentre(s, 5).z, 50, 1e-9);
    EXPECT_NEAR(s.Sec[5].PD, -50, 1e-9);
}

TEST(UpdateOrb, SectionConjugatePointsLieOnTheCircle) {
    // The centre (0, 0, 50) lies on the Z axis, where a horizontal section's
    // plane meets that axis: the outline point must still lie on the circle.
    for (const Vec3 centre : {Vec3{0, 0, 50}, Vec3{0, 100, 50}, Vec3{-20, 30, -40}}) {
        DSf s = MakeOrb(centre, 30, 4);
        s.SecH[1].v = 10;
        s.SecNX[2].v = 1;
        s.SecNY[2].v = 2;
        s.SecNZ[2].v = -1;
        s.SecH[2].v = 5;
        UpdateOrb(s, 0);
        for (std::size_t i = 1; i <= 2; ++i) {
            const DCircle& c = s.Sec[i];
            const Vec3 n{s.SecNX[i].v, s.SecNY[i].v, s.SecNZ[i].v};
            const Vec3 sc = centre + n * (s.SecH[i].v / Norm(n));
            const double r = std::sqrt(30.0 * 30 - s.SecH[i].v * s.SecH[i].v);
            const Vec3 u = V3(c.Q1) - sc, w = V3(c.Q2) - sc;
            EXPECT_NEAR(Norm(u), r, 1e-9) << i;
            EXPECT_NEAR(Norm(w), r, 1e-9) << i;
            EXPECT_NEAR(Dot(u, n), 0, 1e-9) << i;
            EXPECT_NEAR(Dot(u, w), 0, 1e-6) << i;
            EXPECT_NEAR(c.PA * sc.x + c.PB * sc.y + c.PC * sc.z + c.PD, 0, 1e-9) << i;
            EXPECT_GT(c.A.v, 0) << i;
        }
    }
}

TEST(UpdateOrb, OutlinePointTowardsTheAxisPoint) {
    // Away from the axis the first outline point lies towards the plane's
    // point on the last axis the normal is not parallel to.
    DSf s = MakeOrb({0, 100, 50}, 30, 4);
    UpdateOrb(s, 0);  // section 1: normal (0, 0, 1), through (0, 0, 50)
    const Vec3 q1 = V3(s.Sec[1].Q1);
    EXPECT_NEAR(q1.x, 0, 1e-9);
    EXPECT_NEAR(q1.y, 70, 1e-9);
    EXPECT_NEAR(q1.z, 50, 1e-9);
}

// The horizontal great circle of a sphere in view mode 5 or 6.
DSf GreatCircle(std::uint8_t mode) {
    DSf s = MakeOrb({0, 100, 50}, 40, mode);
    UpdateOrb(s, 0);
    return s;
}

TEST(UpdateOrb, AutomaticModeDashesTheHalfBehind) {
    const DSf s = GreatCircle(5);
    const DCircle& c = s.Sec[1];
    EXPECT_EQ(c.ViewType.v, 4);
    EXPECT_EQ(c.Arc1.v, 0);
    EXPECT_EQ(c.Arc2.v, 0);
    EXPECT_NEAR(c.DashArc2.v - c.DashArc1.v, 180, 1e-6) << "the crossings are opposite ends of a diameter";
    const double cx = c.Center.ScrX.v, cy = c.Center.ScrY.v;
    const Vec3 back{-40, 100, 50}, front{40, 100, 50};
    EXPECT_TRUE(test::OnArc(back, cx, cy, c.Tilt.v, c.DashArc1.v, c.DashArc2.v));
    EXPECT_FALSE(test::OnArc(front, cx, cy, c.Tilt.v, c.DashArc1.v, c.DashArc2.v));
    EXPECT_EQ(s.Contour.ViewType.v, 1);
    for (std::size_t j = 1; j <= 3; ++j) EXPECT_EQ(c.R[j].LineType.v, 2);
}

TEST(UpdateOrb, OpaqueModeKeepsTheHalfInFront) {
    const DSf s = GreatCircle(6);
    const DCircle& c = s.Sec[1];
    EXPECT_EQ(c.ViewType.v, 1);
    EXPECT_NEAR(c.Arc2.v - c.Arc1.v, 180, 1e-6);
    const double cx = c.Center.ScrX.v, cy = c.Center.ScrY.v;
    EXPECT_TRUE(test::OnArc({40, 100, 50}, cx, cy, c.Tilt.v, c.Arc1.v, c.Arc2.v));
    EXPECT_FALSE(test::OnArc({-40, 100, 50}, cx, cy, c.Tilt.v, c.Arc1.v, c.Arc2.v));
}

TEST(UpdateOrb, SectionClearOfTheOutlineIsWhollySolidOrDashed) {
    const Vec3 view{1, 1 / kS8, 1 / kS8};
    DSf s = MakeOrb({0, 100, 50}, 40, 5);
    s.SecNX[1].v = view.x;  // parallel to the view plane, in front
    s.SecNY[1].v = view.y;
    s.SecNZ[1].v = view.z;
    s.SecH[1].v = 10;
    s.SecNX[2].v = -view.x;  // the same behind
    s.SecNY[2].v = -view.y;
    s.SecNZ[2].v = -view.z;
    s.SecH[2].v = 10;
    s.SecNX[3].v = view.x;  // the view plane itself
    s.SecNY[3].v = view.y;
    s.SecNZ[3].v = view.z;
    s.SecOn[4].v = true;  // nearly parallel, far out: its line misses the sphere
    s.SecNX[4].v = 1;
    s.SecNY[4].v = 0.3;
    s.SecNZ[4].v = 0.3;
    s.SecH[4].v = 36;
    UpdateOrb(s, 0);
    for (std::size_t i : {1u, 3u, 4u}) {
        EXPECT_EQ(s.Sec[i].ViewType.v, 1) << i;
        EXPECT_EQ(s.Sec[i].DashArc1.v, 0) << i;
        EXPECT_EQ(s.Sec[i].DashArc2.v, 0) << i;
    }
    EXPECT_EQ(s.Sec[2].ViewType.v, 2);
    EXPECT_EQ(s.Sec[2].DashArc1.v, 0);
    EXPECT_EQ(s.Sec[2].DashArc2.v, 360);
}

TEST(UpdateOrb, ManualModesSetFlagsOnly) {
    DSf s = MakeOrb({0, 100, 50}, 40, 3);
    UpdateOrb(s, 0);
    EXPECT_EQ(s.Sec[1].ViewType.v, 3);
    EXPECT_FALSE(s.Sec[1].ViewType.e);
    EXPECT_EQ(s.Contour.ViewType.v, 3);
    EXPECT_TRUE(s.Sec[1].R[1].LineType.e);

    s.View.v = 4;
    s.Sec[1].ViewType.v = 2;
    UpdateOrb(s, 0);
    EXPECT_EQ(s.Sec[1].ViewType.v, 2);
    EXPECT_TRUE(s.Sec[1].ViewType.e);
    EXPECT_TRUE(s.Contour.ViewType.e);

    s.View.v = 2;
    UpdateOrb(s, 0);
    EXPECT_EQ(s.Sec[1].ViewType.v, 2);
    EXPECT_EQ(s.Contour.ViewType.v, 2);
    EXPECT_EQ(s.Sec[1].R[2].LineType.v, 2);
    EXPECT_FALSE(s.Sec[1].R[2].LineType.e);
}

TEST(UpdateOrb, RoleFlags) {
    DSf s = MakeOrb({0, 100, 50}, 40, 4);
    UpdateOrb(s, 0);
    EXPECT_TRUE(s.ID.e && s.Layer.e && s.Thick.e && s.Color.e && s.ColorIndex.e && s.Disabled.e);
    EXPECT_TRUE(s.Radius.e && s.View.e);
    EXPECT_TRUE(s.Center.X.e);
    EXPECT_EQ(s.Color.v, 0x0000FFu);
    EXPECT_EQ(s.Sec[1].Color.v, 0x0000FFu);

    // Inside a solid: the parent owns name, style and radius.
    UpdateOrb(s, -1);
    EXPECT_FALSE(s.ID.e || s.Layer.e || s.Color.e || s.ColorIndex.e || s.Disabled.e || s.Radius.e);
    EXPECT_TRUE(s.Thick.e);
    EXPECT_TRUE(s.View.e) << "kept";
    EXPECT_FALSE(s.Center.X.e);

    // Role 1 recomputes only.
    DSf t = s;
    t.Radius.e = true;
    t.Contour.ShowR[2].e = true;
    UpdateOrb(t, 1);
    EXPECT_TRUE(t.Radius.e);
    EXPECT_FALSE(t.Contour.ShowR[2].e);

    // A linked centre cannot be typed.
    DSf l = MakeOrb({0, 100, 50}, 40, 4);
    l.Center.Link.b[0] = 1;
    UpdateOrb(l, 0);
    EXPECT_FALSE(l.Center.X.e || l.Center.Y.e || l.Center.Z.e || l.Center.ScrX.e || l.Center.ScrY.e);
}

TEST(UpdateOrb, SecondUpdateChangesNothing) {
    for (std::uint8_t mode = 1; mode <= 6; ++mode) {
        DSf s = MakeOrb({12, 100, 50}, 40, mode);
        s.SecNX[2].v = 1;
        s.SecNY[2].v = -1;
        s.SecNZ[2].v = 0.5;
        s.SecH[2].v = 17;
        UpdateOrb(s, 0);
        DSf t = s;
        UpdateOrb(t, 0);
        const auto diff = test::DifferingDoubles(s, t);
        EXPECT_TRUE(diff.empty()) << int(mode) << test::JoinPaths(diff);
    }
}

TEST(UpdateOrb, ZeroRadiusStaysFinite) {
    for (std::uint8_t mode = 1; mode <= 6; ++mode) {
        DSf s = MakeOrb({0, 0, 0}, 0, mode);
        s.SecH[1].v = 5;
        UpdateOrb(s, 0);
        EXPECT_EQ(s.SecH[1].v, 0);
        const auto bad = test::NonFiniteDoubles(s);
        EXPECT_TRUE(bad.empty()) << int(mode) << test::JoinPaths(bad);
    }
}

}  // namespace
}  // namespace pelmar
