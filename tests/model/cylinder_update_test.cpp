// The cylinder update: limits, silhouette, sections, spheres and the drawn
// and dashed parts by view mode.
#include <gtest/gtest.h>

#include <cmath>

#include "model/finite_check.h"
#include "model/geometry.h"
#include "model/round_make.h"
#include "model/round_parts.h"
#include "model/shading.h"
#include "model/update.h"

namespace pelmar {
namespace {

using test::MakeCylinder;
using test::Pic;
using test::V3;

using test::kP0;

Vec3 Vtx(const DKv& k, std::size_t i) { return Pos(k.S[i].P1); }

// Picture offset of a contour vertex from a base centre's picture position.
std::array<double, 2> Offset(const DZi& z, std::size_t vertex, std::size_t base) {
    const auto v = Pic(Vtx(z.Sec[2], vertex));
    const auto c = Pic(Pos(z.Base[base].Center));
    return {v[0] - c[0], v[1] - c[1]};
}

// Whether the picture line through a and b touches the picture ellipse of the
// base at a, judged on the conic's gradient.
void ExpectGrazes(const DZi& z, Vec3 a, Vec3 b) {
    const DCircle& lo = z.Base[1];
    double cx, cy, r1, r2, ang, A, B, C, D, E, F;
    ASSERT_EQ(CalcScreenEllipse({lo.Center.X.v, lo.Center.Y.v, lo.Center.Z.v}, lo.Q1, lo.Q2, cx, cy, r1, r2, ang, A,
                                B, C, D, E, F),
              0);
    const auto p = Pic(a), q = Pic(b);
    const double gx = 2 * A * p[0] + B * p[1] + D, gy = B * p[0] + 2 * C * p[1] + E;
    const double dx = q[0] - p[0], dy = q[1] - p[1];
    EXPECT_NEAR((gx * dx + gy * dy) / (std::hypot(gx, gy) * std::hypot(dx, dy)), 0, 2e-3);
    EXPECT_NEAR(A * p[0] * p[0] + B * p[0] * p[1] + C * p[1] * p[1] + D * p[0] + E * p[1] + F, 0,
                2e-2 * std::hypot(gx, gy));
}

TEST(UpdateCylinder, NewUprightCylinder) {
    DZi z = MakeCylinder(kP0, kP0 + Vec3{0, 0, 100}, 50, 4);
    UpdateCylinder(z, 0);
    EXPECT_EQ(V3(z.Base[1].Q1).y, 250);
    EXPECT_EQ(V3(z.Base[1].Q2).x, -50);
    EXPECT_EQ(V3(z.Base[2].Q1).z, 200);
    EXPECT_EQ(z.UpperVisible, 1);
    const double s = std::sqrt(2.0);
    const double ox = 3 * 50 / (2 * s), oy = 50 / (6 * s);
    for (std::size_t b = 1; b <= 2; ++b) {
        const auto o1 = Offset(z, b == 1 ? 1 : 2, b), o4 = Offset(z, b == 1 ? 4 : 3, b);
        EXPECT_NEAR(o1[0], -ox, 5e-3);
        EXPECT_NEAR(o1[1], -oy, 5e-3);
        EXPECT_NEAR(o4[0], ox, 5e-3);
        EXPECT_NEAR(o4[1], oy, 5e-3);
    }
    EXPECT_EQ(z.Sec[2].Typ.v, 2);
    ExpectGrazes(z, Vtx(z.Sec[2], 1), Vtx(z.Sec[2], 2));
}

TEST(UpdateCylinder, UprightContourFollowsAMovedBase) {
    // The base centres were moved without being projected again: the
    // silhouette still stands at their new picture positions.
    DZi z = MakeCylinder(kP0, kP0 + Vec3{0, 0, 100}, 50, 4);
    UpdateCylinder(z, 0);
    SetPos(z.Base[1].Center, kP0 + Vec3{0, 300, 0});
    SetPos(z.Base[2].Center, kP0 + Vec3{0, 300, 100});
    z.Base[1].Q1 = z.Base[1].Q2 = {};
    UpdateCylinder(z, 0);
    EXPECT_NEAR(Offset(z, 1, 1)[0], -3 * 50 / (2 * std::sqrt(2.0)), 5e-3);
    EXPECT_NEAR(Offset(z, 4, 1)[0], 3 * 50 / (2 * std::sqrt(2.0)), 5e-3);
}

TEST(UpdateCylinder, UpperBaseTurnedAwaySwapsTheContour) {
    DZi z = MakeCylinder(kP0, kP0 + Vec3{0, 0, -100}, 50, 4);
    UpdateCylinder(z, 0);
    EXPECT_EQ(z.UpperVisible, 0);
    EXPECT_GT(Offset(z, 1, 1)[0], 0);
    EXPECT_LT(Offset(z, 4, 1)[0], 0);
}

TEST(UpdateCylinder, TiltedSilhouetteGrazesTheBases) {
    // Right cylinders turned every way, and oblique ones over horizontal
    // bases; every view mode rebuilds the silhouette the same way.
    for (const bool right : {true, false})
        for (const Vec3 axis : {Vec3{0, 80, 60}, Vec3{-70, 20, 30}, Vec3{90, -10, -40}, Vec3{0, 100, 0}})
            for (const std::uint8_t mode : {4, 5, 6}) {
                DZi z = MakeCylinder(kP0, kP0 + axis, 40, mode);
                if (right) test::SquareBase(z.Base[1], axis, 40);
                UpdateCylinder(z, 0);
                const DKv& ct = z.Sec[2];
                for (std::size_t i = 1; i <= 4; ++i)
                    EXPECT_NEAR(Norm(Vtx(ct, i) - (i == 1 || i == 4 ? kP0 : kP0 + axis)), 40, 0.01) << i;
                EXPECT_NEAR(Norm(Vtx(ct, 2) - Vtx(ct, 1) - axis), 0, 0.01);
                EXPECT_NEAR(Norm(Vtx(ct, 3) - Vtx(ct, 4) - axis), 0, 0.01);
                ExpectGrazes(z, Vtx(ct, 1), Vtx(ct, 2));
                ExpectGrazes(z, Vtx(ct, 4), Vtx(ct, 3));
                // Vertex 3 lies on the lower centre's side of side 1.
                EXPECT_GE(SideOfLine(ct.S[3].P1, ct.S[1]) * SideOfLine(z.Base[1].Center, ct.S[1]), 0);
            }
}

TEST(UpdateCylinder, Limits) {
    DZi z = MakeCylinder(kP0, kP0 + Vec3{0, 0, 100}, 0.9, 4);
    z.Axis.Length.v = 0.5;
    UpdateCylinder(z, 0);
    EXPECT_EQ(z.Radius.v, 1.0);
    z.Radius.v = 1.0;
    UpdateCylinder(z, 0);
    EXPECT_EQ(z.Radius.v, 1.0);

    // The height field is clamped before it is used; the axis update then
    // measures the real axis.
    DZi h = MakeCylinder(kP0, kP0 + Vec3{0, 0, 100}, 50, 4);
    h.Axis.Length.v = 0.5;
    h.InSphereOn.v = true;
    UpdateCylinder(h, 1);
    EXPECT_EQ(h.Axis.Length.v, 1.0);
    EXPECT_FALSE(h.InSphereOn.v);
}

TEST(UpdateCylinder, InscribedSphereOnlyWhenHeightIsTheDiameter) {
    DZi z = MakeCylinder(kP0, kP0 + Vec3{0, 0, 100}, 50, 4);
    z.InSphereOn.v = true;
    UpdateCylinder(z, 0);
    EXPECT_TRUE(z.InSphereOn.v);
    EXPECT_TRUE(z.InSphereOn.e);
    EXPECT_NEAR(z.InSphere.Radius.v, 50, 1e-9);
    EXPECT_NEAR(Pos(z.InSphere.Center).z, 150, 1e-9);
    EXPECT_NEAR(z.OutSphere.Radius.v, std::sqrt(50.0 * 50 + 50 * 50), 1e-9);

    z = MakeCylinder(kP0, kP0 + Vec3{0, 0, 101}, 50, 4);
    z.InSphereOn.v = true;
    UpdateCylinder(z, 0);
    EXPECT_FALSE(z.InSphereOn.e);
    EXPECT_FALSE(z.InSphereOn.v) << "a sphere that cannot be switched on is not drawn either";
}

TEST(UpdateCylinder, SectionsStandOnTheBasePoints) {
    DZi z = MakeCylinder(kP0, kP0 + Vec3{0, 0, 100}, 50, 4);
    z.SecPos1.v = 80;
    z.SecPos2.v = 100;
    UpdateCylinder(z, 0);
    const Vec3 up{0, 0, 100};
    auto pictureAngle = [&](Vec3 p) {
        const auto q = Pic(p), c = Pic(kP0);
        return std::atan2(q[1] - c[1], q[0] - c[0]) * round::kDeg;
    };
    // Main section through the base point at angle 0.
    EXPECT_NEAR(pictureAngle(Vtx(z.Sec[1], 1)), 0, 0.5);
    EXPECT_NEAR(Norm(Vtx(z.Sec[1], 2) - Vtx(z.Sec[1], 1) - up), 0, 1e-2);
    EXPECT_NEAR(Norm(Vtx(z.Sec[1], 4) + Vtx(z.Sec[1], 1) - kP0 * 2), 0, 1e-2);
    // 80: vertex 1 on the base point; 100: on its mirror point.
    EXPECT_NEAR(pictureAngle(Vtx(z.Sec[3], 1)), 80, 0.5);
    EXPECT_NEAR(pictureAngle(Vtx(z.Sec[4], 1)), -80, 0.5);
    EXPECT_NEAR(pictureAngle(Vtx(z.Sec[4], 4)), 100, 0.5);
    for (std::size_t i : {1u, 3u, 4u}) {
        EXPECT_NEAR(Norm(Vtx(z.Sec[i], 1) - kP0), 50, 1e-2);
        EXPECT_NEAR(Norm(Vtx(z.Sec[i], 3) - Vtx(z.Sec[i], 4) - up), 0, 1e-2);
    }
    z.SecPos1.v = -100 - 720;
    UpdateCylinder(z, 0);
    EXPECT_NEAR(pictureAngle(Vtx(z.Sec[3], 1)), 80, 0.5);
}

TEST(UpdateCylinder, AutomaticModeDashesTheHiddenHalfOfTheLowerBase) {
    DZi z = MakeCylinder(kP0, kP0 + Vec3{0, 0, 100}, 50, 5);
    UpdateCylinder(z, 0);
    const DCircle& lo = z.Base[1];
    const DCircle& up = z.Base[2];
    EXPECT_EQ(lo.ViewType.v, 4);
    EXPECT_EQ(up.ViewType.v, 1);
    EXPECT_EQ(up.DashArc1.v, 0);
    EXPECT_EQ(up.DashArc2.v, 0);
    const double cx = lo.Center.ScrX.v, cy = lo.Center.ScrY.v;
    EXPECT_TRUE(test::OnArc(kP0 + Vec3{-50, 0, 0}, cx, cy, lo.Tilt.v, lo.DashArc1.v, lo.DashArc2.v));
    EXPECT_FALSE(test::OnArc(kP0 + Vec3{50, 0, 0}, cx, cy, lo.Tilt.v, lo.DashArc1.v, lo.DashArc2.v));
    EXPECT_NEAR(lo.DashArc2.v - lo.DashArc1.v, 180, 1.5) << "from one silhouette line to the other";
    for (std::size_t j = 1; j <= 3; ++j) {
        EXPECT_EQ(lo.R[j].LineType.v, 2);
        EXPECT_EQ(up.R[j].LineType.v, 1);
    }
    EXPECT_EQ(z.Axis.LineType.v, 2);
    EXPECT_EQ(z.Sec[1].View.v, 4);
    EXPECT_EQ(z.Sec[2].View.v, 1);
    EXPECT_EQ(z.OutSphere.View.v, 5);
    EXPECT_EQ(z.InSphere.View.v, 2);
}

TEST(UpdateCylinder, AutomaticModeAfterTheRadiusChanged) {
    // A short cylinder made thinner: the test point of the lower base must be
    // judged against the new upper ellipse, not the wide one from before.
    DZi z = MakeCylinder(kP0, kP0 + Vec3{0, 0, 10}, 50, 5);
    UpdateCylinder(z, 0);
    z.Radius.v = 20;
    z.Base[1].Q1 = z.Base[1].Q2 = {};
    UpdateCylinder(z, 0);
    const DCircle& lo = z.Base[1];
    EXPECT_NEAR(z.Base[2].A.v, lo.A.v, 1e-9);
    const double cx = lo.Center.ScrX.v, cy = lo.Center.ScrY.v;
    EXPECT_TRUE(test::OnArc(kP0 + Vec3{-20, 0, 0}, cx, cy, lo.Tilt.v, lo.DashArc1.v, lo.DashArc2.v));
    EXPECT_FALSE(test::OnArc(kP0 + Vec3{20, 0, 0}, cx, cy, lo.Tilt.v, lo.DashArc1.v, lo.DashArc2.v));
}

TEST(UpdateCylinder, AutomaticModeSeenFromBelow) {
    DZi z = MakeCylinder(kP0 + Vec3{0, 0, 100}, kP0, 50, 5);  // the upper base lies lower
    UpdateCylinder(z, 0);
    const DCircle& lo = z.Base[1];
    const DCircle& up = z.Base[2];
    EXPECT_EQ(z.UpperVisible, 0);
    EXPECT_EQ(lo.ViewType.v, 1);
    EXPECT_EQ(up.ViewType.v, 4);
    const double cx = up.Center.ScrX.v, cy = up.Center.ScrY.v;
    EXPECT_TRUE(test::OnArc(kP0 + Vec3{-50, 0, 0}, cx, cy, up.Tilt.v, up.DashArc1.v, up.DashArc2.v));
    EXPECT_FALSE(test::OnArc(kP0 + Vec3{50, 0, 0}, cx, cy, up.Tilt.v, up.DashArc1.v, up.DashArc2.v));
}

TEST(UpdateCylinder, CircumscribedSphereDashesEveryEdge) {
    DZi z = MakeCylinder(kP0, kP0 + Vec3{0, 0, 100}, 50, 5);
    z.OutSphereOn.v = true;
    UpdateCylinder(z, 0);
    for (std::size_t b = 1; b <= 2; ++b) {
        EXPECT_EQ(z.Base[b].ViewType.v, 2);
        for (std::size_t j = 1; j <= 3; ++j) EXPECT_EQ(z.Base[b].R[j].LineType.v, 2);
    }
    EXPECT_EQ(z.Axis.LineType.v, 2);
    for (std::size_t i = 1; i <= 4; ++i) EXPECT_EQ(z.Sec[i].View.v, 2);
}

TEST(UpdateCylinder, OpaqueModeHidesTheFarHalf) {
    for (const double h : {100.0, -100.0}) {
        DZi z = MakeCylinder(kP0, kP0 + Vec3{0, 0, h}, 50, 6);
        UpdateCylinder(z, 0);
        EXPECT_EQ(z.Axis.LineType.v, 3);
        const DCircle& hid = h > 0 ? z.Base[1] : z.Base[2];
        const DCircle& seen = h > 0 ? z.Base[2] : z.Base[1];
        EXPECT_EQ(hid.ViewType.v, 1);
        EXPECT_EQ(hid.Arc1.v, hid.Tilt.v >= 45 ? 0 : -180);
        EXPECT_EQ(hid.Arc2.v, hid.Tilt.v >= 45 ? 180 : 0);
        EXPECT_EQ(seen.Arc1.v, 0);
        EXPECT_EQ(seen.Arc2.v, 0);
        EXPECT_EQ(z.Base[1].R[1].LineType.v, 2);
        EXPECT_EQ(z.Base[2].R[1].LineType.v, 1);
    }
}

TEST(UpdateCylinder, EdgeStylesOfTheSections) {
    DZi z = MakeCylinder(kP0, kP0 + Vec3{0, 0, 100}, 50, 5);
    z.SecPos1.v = 90;  // a section through the front and back points
    UpdateCylinder(z, 0);
    const DKv& main = z.Sec[1];  // left and right: both generators on the silhouette side in front
    EXPECT_EQ(main.S[2].LineType.v, 1) << "on the upper base, seen";
    EXPECT_EQ(main.S[4].LineType.v, 2) << "on the lower base, hidden";
    EXPECT_EQ(main.Diag[1].LineType.v, 2);
    const DKv& add = z.Sec[3];
    // One generator stands in front of the silhouette plane, the other behind.
    EXPECT_NE(add.S[1].LineType.v, add.S[3].LineType.v);
    const Vec3 v1 = Vtx(add, 1);
    const bool v1Front = v1.x + (v1.y + v1.z) / std::sqrt(8.0) > kP0.x + (kP0.y + kP0.z) / std::sqrt(8.0);
    EXPECT_EQ(add.S[1].LineType.v, v1Front ? 1 : 2);
    for (std::size_t i = 1; i <= 4; ++i) EXPECT_FALSE(add.S[i].LineType.e);

    z.View.v = 6;
    UpdateCylinder(z, 0);
    EXPECT_EQ(z.Sec[1].S[4].LineType.v, 3);
    EXPECT_EQ(z.Sec[3].S[v1Front ? 3 : 1].LineType.v, 3);
}

TEST(UpdateCylinder, ViewModesOneToFour) {
    DZi z = MakeCylinder(kP0, kP0 + Vec3{0, 0, 100}, 50, 2);
    UpdateCylinder(z, 0);
    EXPECT_EQ(z.Base[1].ViewType.v, 2);
    EXPECT_EQ(z.Base[2].R[3].LineType.v, 2);
    EXPECT_EQ(z.Axis.LineType.v, 2);
    EXPECT_EQ(z.Sec[2].View.v, 2);
    EXPECT_EQ(z.OutSphere.View.v, 2);
    EXPECT_FALSE(z.Sec[1].View.e);

    z.View.v = 3;
    UpdateCylinder(z, 0);
    EXPECT_EQ(z.Base[1].ViewType.v, 3);
    EXPECT_EQ(z.Sec[2].View.v, 3);
    EXPECT_EQ(z.Sec[1].View.v, 2) << "kept, and editable";
    EXPECT_TRUE(z.Sec[1].View.e);
    EXPECT_TRUE(z.Base[1].R[1].LineType.e);

    z.View.v = 4;
    UpdateCylinder(z, 0);
    EXPECT_EQ(z.Base[1].ViewType.v, 3);
    EXPECT_TRUE(z.Base[1].ViewType.e);
    EXPECT_TRUE(z.Sec[2].View.e);
    EXPECT_TRUE(z.InSphere.View.e);
}

TEST(UpdateCylinder, RoleZeroFlags) {
    DZi z = MakeCylinder(kP0, kP0 + Vec3{0, 0, 100}, 50, 4);
    z.Base[1].Center.Link.b[0] = 1;
    UpdateCylinder(z, 0);
    EXPECT_TRUE(z.ID.e && z.Layer.e && z.Thick.e && z.Color.e && z.ColorIndex.e && z.Disabled.e);
    const DPoint& c = z.Base[1].Center;
    EXPECT_FALSE(c.X.e || c.Y.e || c.Z.e || c.ScrX.e || c.ScrY.e);
    EXPECT_EQ(z.Sec[2].S[2].Thick.v, 0) << "the silhouette has no lid";
    EXPECT_EQ(z.Color.v, 0xFF0000u);
    EXPECT_EQ(z.Sec[3].Color.v, 0xFF0000u);
    EXPECT_EQ(z.Base[2].Thick.v, 2);
}

TEST(UpdateCylinder, SecondUpdateChangesNothing) {
    for (std::uint8_t mode = 1; mode <= 6; ++mode) {
        DZi z = MakeCylinder(kP0, kP0 + Vec3{-30, 60, 80}, 40, mode);
        z.SecPos1.v = 35;
        z.SecPos2.v = 140;
        z.OutSphereOn.v = mode == 6;
        UpdateCylinder(z, 0);
        DZi t = z;
        UpdateCylinder(t, 0);
        const auto diff = test::DifferingDoubles(z, t);
        EXPECT_TRUE(diff.empty()) << int(mode) << test::JoinPaths(diff);
    }
}

// A link or a drag moves the upper base without touching the height field:
// one update must already decide the inscribed sphere by the new height.
TEST(UpdateCylinder, MovedUpperBaseNeedsOneUpdate) {
    DZi z = MakeCylinder(kP0, kP0 + Vec3{0, 0, 50}, 40, 4);
    z.InSphereOn.v = true;
    UpdateCylinder(z, 0);
    test::Place(z.Base[2].Center, kP0 + Vec3{0, 0, 80});
    UpdateCylinder(z, 0);
    EXPECT_NEAR(z.Axis.Length.v, 80, 1e-9);
    DZi t = z;
    UpdateCylinder(t, 0);
    const auto diff = test::DifferingDoubles(z, t);
    EXPECT_TRUE(diff.empty()) << test::JoinPaths(diff);
    EXPECT_EQ(z.InSphereOn.v, t.InSphereOn.v);
    EXPECT_EQ(z.InSphereOn.e, t.InSphereOn.e);
}

}  // namespace
}  // namespace pelmar
