#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "model/geometry.h"
#include "model/shading.h"
#include "model/update.h"
#include "finite_check.h"
#include "vec_near.h"

using namespace pelmar;
using pelmar::test::kS8;

namespace {


bool AllFinite(const DCircle& c) { return test::NonFiniteDoubles(c).empty(); }

// A stand-alone ellipse as a new one arrives: centre, 3D semi-axes, no stored points.
DCircle NewEllipse(double x, double y, double z, double a3, double b3) {
    DCircle c;
    c.Center.X.v = x;
    c.Center.Y.v = y;
    c.Center.Z.v = z;
    c.Center.Typ.v = 2;
    c.A3.v = a3;
    c.B3.v = b3;
    c.ViewType.v = 1;
    c.ColorIndex.v = 9;
    c.Layer.v = 3;
    c.R[1].Angle.v = 0;
    c.R[2].Angle.v = 90;
    c.R[3].Angle.v = 45;
    for (auto& r : c.R) r.LineType.v = 1;
    return c;
}

// An ellipse from its centre and two stored semi-diameter ends.
DCircle StoredEllipse(Vec3 m, Vec3 q1, Vec3 q2) {
    DCircle c = NewEllipse(m.x, m.y, m.z, 0, 0);
    c.Q1 = {q1.x, q1.y, q1.z};
    c.Q2 = {q2.x, q2.y, q2.z};
    return c;
}

double PlaneAt(const DCircle& c, const DPoint& p) { return c.PA * p.X.v + c.PB * p.Y.v + c.PC * p.Z.v + c.PD; }

}  // namespace

TEST(UpdateCircle, NewFlatEllipseTakesItsSemiDiametersFromThe3DSemiAxes) {
    DCircle c = NewEllipse(0, 0, 0, 50, 30);
    UpdateCircle(c, 0);
    EXPECT_EQ(c.Q1, (std::array<double, 3>{0, 50, 0}));
    EXPECT_EQ(c.Q2, (std::array<double, 3>{0, 0, 30}));
    EXPECT_NEAR(c.A.v, 50, 1e-9);
    EXPECT_NEAR(c.B.v, 30, 1e-9);
    EXPECT_EQ(c.Tilt.v, 0);
    EXPECT_FALSE(c.IsCircle.v);
    EXPECT_FALSE(c.Is3D);
    EXPECT_TRUE(c.A.e && c.B.e && c.Tilt.e);
    EXPECT_FALSE(c.A3.e || c.B3.e);
    EXPECT_EQ(c.Color.v, 0x0000FFu);
    EXPECT_EQ(c.Center.Color.v, 0x0000FFu);
    EXPECT_EQ(c.R[2].Layer.v, 3);
    EXPECT_EQ(c.R[3].P2.Color.v, 0x0000FFu);

    // The radius segments run from the centre to the outline at their angles.
    EXPECT_EQ(c.R[1].P2.Y.v, 50);
    EXPECT_EQ(c.R[1].P2.Z.v, 0);
    EXPECT_EQ(c.R[2].P2.Y.v, 0);
    EXPECT_EQ(c.R[2].P2.Z.v, 30);
    EXPECT_EQ(c.R[1].Length.v, 50);
    EXPECT_EQ(c.R[2].Length.v, 30);
    EXPECT_EQ(c.R[1].P1.X.v, 0);
    // The plane of a flat ellipse is X = 0.
    EXPECT_EQ(c.PB, 0);
    EXPECT_EQ(c.PC, 0);
    EXPECT_NE(c.PA, 0);
}

TEST(UpdateCircle, EqualSemiAxesMakeACircleInPictureAndSpace) {
    DCircle c = NewEllipse(10, 20, 30, 40, 40);
    UpdateCircle(c, 0);
    EXPECT_TRUE(c.IsCircle.v);
    EXPECT_TRUE(c.Is3D);
    EXPECT_NEAR(c.A.v, 40, 1e-9);
    EXPECT_NEAR(c.B.v, 40, 1e-9);
    // The centre is drawn at its projection.
    EXPECT_EQ(c.Center.ScrX.v, std::nearbyint(20 - 10 / kS8));
    EXPECT_EQ(c.Center.ScrY.v, std::nearbyint(30 - 10 / kS8));
}

TEST(UpdateCircle, TiltedCircleInSpace) {
    // A circle of radius 30 in the plane Y = 5, seen at an angle.
    DCircle c = StoredEllipse({20, 5, 10}, {50, 5, 10}, {20, 5, 40});
    c.R[3].Angle.v = -120;
    UpdateCircle(c, 0);
    EXPECT_FALSE(c.A.e || c.B.e || c.Tilt.e);
    EXPECT_TRUE(c.A3.e && c.B3.e);
    EXPECT_NEAR(c.A3.v, 30, 1e-12);
    EXPECT_NEAR(c.B3.v, 30, 1e-12);
    EXPECT_TRUE(c.Is3D);
    EXPECT_FALSE(c.IsCircle.v);
    EXPECT_GT(c.A.v, c.B.v);
    EXPECT_NE(c.Tilt.v, 0);
    EXPECT_EQ(c.Tilt.v, std::nearbyint(c.Tilt.v * 1000) / 1000);
    for (const auto& r : c.R) {
        // The outer end lies on the circle in its plane and where it is drawn.
        EXPECT_NEAR(PlaneAt(c, r.P2) / std::hypot(c.PA, c.PB, c.PC), 0, 2e-3);
        EXPECT_NEAR(r.P2.Y.v, 5, 2e-3);
        EXPECT_NEAR(std::hypot(r.P2.X.v - 20, r.P2.Z.v - 10), 30, 0.05);
        EXPECT_EQ(r.P1.X.v, 20);
    }
}

TEST(UpdateCircle, RadiusStaysAtItsTypedAngle) {
    // The outer end is placed at the typed angle; reading the angle back from the
    // pixel-rounded ends must not move the radius on every further update.
    DCircle c = StoredEllipse({20, 5, 10}, {50, 5, 10}, {20, 5, 40});
    c.R[1].Angle.v = 37.5;
    c.R[2].Angle.v = -101;
    UpdateCircle(c, 0);
    const DPoint end1 = c.R[1].P2, end2 = c.R[2].P2;
    for (int k = 0; k < 5; ++k) UpdateCircle(c, 0);
    EXPECT_EQ(c.R[1].Angle.v, 37.5);
    EXPECT_EQ(c.R[2].Angle.v, -101);
    EXPECT_EQ(c.R[1].P2.X.v, end1.X.v);
    EXPECT_EQ(c.R[1].P2.Z.v, end1.Z.v);
    EXPECT_EQ(c.R[2].P2.Y.v, end2.Y.v);
}

TEST(UpdateCircle, TiltIsKeptWithinHalfATurn) {
    // No projected ellipse (zero 3D a): the stored tilt stays and is brought into range.
    for (auto [in, out] : std::vector<std::pair<double, double>>{{190, -170}, {180, 180}, {-180, -180},
                                                                 {-190, 170}, {725, 5}, {1e300, 0}}) {
        DCircle c = NewEllipse(0, 0, 0, 0, 20);
        c.Tilt.v = in;
        UpdateCircle(c, 0);
        EXPECT_GE(c.Tilt.v, -180);
        EXPECT_LE(c.Tilt.v, 180);
        if (in != 1e300) {
            EXPECT_NEAR(c.Tilt.v, out, 1e-9) << in;
        }
    }
}

TEST(UpdateCircle, MixedViewBringsArcsIntoOneTurn) {
    DCircle c = NewEllipse(0, 0, 0, 20, 10);
    c.ViewType.v = 4;
    c.Arc1.v = 10;
    c.Arc2.v = 380;
    c.DashArc1.v = 0;
    c.DashArc2.v = 720;
    UpdateCircle(c, 0);
    EXPECT_EQ(c.Arc1.v, 10);
    EXPECT_EQ(c.Arc2.v, 20);
    EXPECT_EQ(c.DashArc2.v, 360);  // once only

    // Equal arc angles leave both pairs alone.
    c.Arc1.v = c.Arc2.v = 50;
    c.DashArc2.v = 400;
    UpdateCircle(c, 0);
    EXPECT_EQ(c.Arc2.v, 50);
    EXPECT_EQ(c.DashArc2.v, 400);

    // Other views leave the angles alone.
    c.ViewType.v = 1;
    c.Arc1.v = 0;
    c.Arc2.v = 400;
    UpdateCircle(c, 0);
    EXPECT_EQ(c.Arc2.v, 400);
}

TEST(UpdateCircle, ViewTypeSetsArcAndDashFlags) {
    struct Row {
        std::uint8_t view;
        bool arc, dashArc, dash;
    };
    for (const Row& row : {Row{1, true, false, false}, Row{2, true, false, true}, Row{3, false, false, false},
                           Row{4, true, true, true}}) {
        DCircle c = NewEllipse(0, 0, 0, 20, 10);
        c.ViewType.v = row.view;
        c.Arc1.e = c.DashArc1.e = c.Dash.e = !row.arc;
        UpdateCircle(c, -1);
        EXPECT_EQ(c.Arc1.e, row.arc);
        EXPECT_EQ(c.Arc2.e, row.arc);
        EXPECT_EQ(c.DashArc1.e, row.dashArc);
        EXPECT_EQ(c.DashArc2.e, row.dashArc);
        EXPECT_EQ(c.Dash.e, row.dash);
        EXPECT_EQ(c.Gap.e, row.dash);
    }
}

TEST(UpdateCircleFailure, PointOnTheCentreFallsBackToThePictureSemiAxes) {
    DCircle c = StoredEllipse({0, 10, 10}, {0, 60, 10}, {0, 10, 10});
    c.A.v = 12;
    c.B.v = 7;
    UpdateCircle(c, -1);
    // The outline has collapsed: the 3D semi-axes take the collapsed picture
    // ones, so that the next update (as after reading the record back from a
    // file) finds the record as this one left it.
    EXPECT_EQ(c.A3.v, 0);
    EXPECT_EQ(c.B3.v, 0);
    EXPECT_TRUE(c.Is3D);
    EXPECT_EQ(c.A.v, 0);
    EXPECT_EQ(c.B.v, 0);
    EXPECT_TRUE(c.IsCircle.v);
    EXPECT_TRUE(AllFinite(c));
    const DCircle once = c;
    UpdateCircle(c, -1);
    EXPECT_EQ(c.A3.v, once.A3.v);
    EXPECT_EQ(c.B3.v, once.B3.v);
}

TEST(UpdateCircleFailure, ZeroStoredPointsOfAPartKeepThePictureSemiAxes) {
    DCircle c = NewEllipse(5, 6, 7, 0, 0);
    c.A.v = 12;
    c.B.v = 12;
    UpdateCircle(c, -5);
    EXPECT_EQ(c.A.v, 12);
    EXPECT_EQ(c.B.v, 12);
    EXPECT_EQ(c.A3.v, 12);
    EXPECT_TRUE(c.Is3D);
    EXPECT_TRUE(AllFinite(c));
}

TEST(UpdateCircleFailure, EdgeOnEllipseWithNegativeDeterminantsKeepsItsSemiAxes) {
    // Ellipses whose plane contains the viewing direction have no projected ellipse;
    // determinants that are large but negative do not make the outline vanish.
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(-100, 100);
    int failed = 0;
    for (int i = 0; i < 400; ++i) {
        const Vec3 m{std::round(u(rng)), std::round(u(rng)), std::round(u(rng))};
        const double k = u(rng);
        // The ends as the update keeps them: to the digits a file holds.
        const auto filed = [](Vec3 v) { return Vec3{AsFiled(v.x), AsFiled(v.y), AsFiled(v.z)}; };
        const Vec3 q1 = filed(m + Vec3{k, k / kS8, k / kS8});
        const Vec3 q2 = filed(m + Vec3{u(rng), u(rng), u(rng)});
        double cx, cy, r1, r2, an, ca, cb, cc, cd, ce, cf;
        if (CalcScreenEllipse({m.x, m.y, m.z}, {q1.x, q1.y, q1.z}, {q2.x, q2.y, q2.z}, cx, cy, r1, r2, an, ca, cb,
                              cc, cd, ce, cf) == 0)
            continue;
        const Vec3 a = q1 - m, b = q2 - m;
        const double detXY = a.x * b.y - b.x * a.y, detXZ = a.x * b.z - b.x * a.z;
        DCircle c = StoredEllipse(m, q1, q2);
        c.A.v = 33;
        c.B.v = 22;
        UpdateCircle(c, 0);
        ASSERT_TRUE(AllFinite(c));
        EXPECT_EQ(c.A3.v, 33);
        EXPECT_EQ(c.B3.v, 22);
        if (std::fabs(detXY) >= 0.001 || std::fabs(detXZ) >= 0.001) {
            EXPECT_EQ(c.A.v, 33);
            EXPECT_EQ(c.B.v, 22);
            if (detXY < 0 && detXZ < 0) ++failed;
        }
    }
    EXPECT_GT(failed, 0);  // the case with both determinants negative was met
}

TEST(UpdateCircleFailure, RadiusEndsOfAnEdgeOnEllipseKeepTheir3DPosition) {
    // Plane Y − X/√8 = const contains the viewing direction (1, 1/√8, 1/√8).
    const Vec3 m{0, 0, 0};
    DCircle c = StoredEllipse(m, {40, 40 / kS8, 40 / kS8}, {0, 0, 25});
    for (auto& r : c.R) {
        r.P2.X.v = 1.5;
        r.P2.Y.v = -2.25;
        r.P2.Z.v = 3;
    }
    UpdateCircle(c, 0);
    EXPECT_TRUE(AllFinite(c));
    for (const auto& r : c.R) {
        EXPECT_EQ(r.P2.X.v, 1.5);
        EXPECT_EQ(r.P2.Y.v, -2.25);
        EXPECT_EQ(r.P2.Z.v, 3);
    }
}

// The role table: flags of the ellipse and what happens to its centre.
TEST(UpdateCircleRoles, EveryRoleRow) {
    struct Row {
        int role;
        bool name, style, thick, centreTypeOn;
    };
    for (const Row& row : {Row{0, true, true, true, true}, Row{-1, false, false, true, true},
                           Row{-2, false, false, false, true}, Row{-3, false, false, false, false},
                           Row{-4, false, false, false, false}, Row{-5, false, false, false, true}}) {
        SCOPED_TRACE(row.role);
        DCircle c = NewEllipse(0, 0, 0, 30, 20);
        c.ID.e = !row.name;
        c.Layer.e = c.Color.e = c.ColorIndex.e = c.Disabled.e = !row.style;
        c.Thick.e = !row.thick;
        c.Center.Typ.e = false;
        c.A3.e = c.B3.e = c.ViewType.e = true;
        c.IsCircle.e = true;
        c.A.e = c.B.e = c.Tilt.e = true;
        c.Center.Name.s = "O";
        c.Center.Upper.s = "1";
        for (auto& s : c.ShowR) s.e = false;
        UpdateCircle(c, row.role);

        EXPECT_EQ(c.ID.e, row.name);
        EXPECT_EQ(c.Layer.e, row.style);
        EXPECT_EQ(c.Color.e, row.style);
        EXPECT_EQ(c.ColorIndex.e, row.style);
        EXPECT_EQ(c.Disabled.e, row.style);
        EXPECT_EQ(c.Thick.e, row.thick);
        EXPECT_EQ(c.Center.Typ.e, row.centreTypeOn);
        EXPECT_FALSE(c.IsCircle.e);
        for (const auto& s : c.ShowR) EXPECT_TRUE(s.e);
        // The radius segments are ellipse radii: the angle editable, the length not,
        // end 1 fixed on the centre.
        for (const auto& r : c.R) {
            EXPECT_TRUE(r.Angle.e);
            EXPECT_FALSE(r.Length.e);
            EXPECT_TRUE(r.Thick.e);
            EXPECT_FALSE(r.P1.X.e);
            EXPECT_EQ(r.P1.Typ.v, 1);
        }
        if (row.role == 0) {
            // Flat ellipse: edited by its picture semi-axes.
            EXPECT_TRUE(c.A.e && c.B.e && c.Tilt.e);
            EXPECT_FALSE(c.A3.e || c.B3.e);
            EXPECT_TRUE(c.ViewType.e);
        } else {
            EXPECT_FALSE(c.A.e || c.B.e || c.Tilt.e);
            // Part roles keep the 3D semi-axis and view flags.
            EXPECT_TRUE(c.A3.e && c.B3.e && c.ViewType.e);
        }
    }
}

TEST(UpdateCircleRoles, CentreRoles) {
    auto run = [](int role) {
        DCircle c = NewEllipse(0, 0, 0, 30, 20);
        c.Center.Name.s = "O";
        c.Center.Lower.s = "2";
        c.Center.Radius.v = 4;
        UpdateCircle(c, role);
        return c.Center;
    };
    // Stand-alone: a free centre with its label.
    DPoint p = run(0);
    EXPECT_TRUE(p.X.e && p.ScrX.e);
    EXPECT_FALSE(p.ID.e);
    EXPECT_EQ(p.Name.s, "O");
    EXPECT_EQ(p.Typ.v, 2);
    // Circles of figures and sphere sections: a derived centre.
    for (int role : {-1, -5}) {
        p = run(role);
        EXPECT_FALSE(p.X.e || p.ScrX.e);
        EXPECT_TRUE(p.Name.e);
        EXPECT_EQ(p.Name.s, "O");
        EXPECT_EQ(p.Typ.v, 2);
    }
    // Sphere contour: the centre loses its label and becomes empty.
    p = run(-2);
    EXPECT_EQ(p.Name.s, "");
    EXPECT_EQ(p.Lower.s, "");
    EXPECT_EQ(p.Typ.v, 1);
    EXPECT_FALSE(p.Radius.e);
    // Lower base: placed by the user, never labelled; the radius kept.
    p = run(-3);
    EXPECT_TRUE(p.X.e && p.ScrX.e);
    EXPECT_EQ(p.Name.s, "");
    EXPECT_EQ(p.Typ.v, 1);
    EXPECT_EQ(p.Radius.v, 4);
    // Upper base: fixed by the cylinder.
    p = run(-4);
    EXPECT_FALSE(p.X.e || p.ScrX.e || p.Typ.e);
    EXPECT_EQ(p.Radius.v, 0);
}

TEST(UpdateCircleRoles, StandAloneEllipseFlagsByPlaneAndLink) {
    DCircle c = StoredEllipse({20, 5, 10}, {50, 5, 10}, {20, 5, 40});
    c.Center.Link.b[0] = 1;
    for (auto& r : c.R) r.LineType.e = false;
    UpdateCircle(c, 0);
    EXPECT_FALSE(c.A.e || c.B.e || c.Tilt.e);
    EXPECT_TRUE(c.A3.e && c.B3.e);
    EXPECT_FALSE(c.Center.ScrX.e || c.Center.ScrY.e || c.Center.X.e || c.Center.Y.e || c.Center.Z.e);
    EXPECT_TRUE(c.Center.Name.e);
    for (const auto& r : c.R) EXPECT_TRUE(r.LineType.e);

    // Both stored points within 1e-5 of the centre's depth count as flat.
    DCircle f = StoredEllipse({20, 5, 10}, {20.000009, 45, 10}, {20, 5, 40});
    UpdateCircle(f, 0);
    EXPECT_TRUE(f.A.e && f.B.e && f.Tilt.e);
}

TEST(UpdateCircleRoles, OtherRolesSetNoFlagsAndUpdateNoPart) {
    DCircle c = NewEllipse(0, 0, 0, 30, 20);
    UpdateCircle(c, 0);  // stored points in place
    c.A3.v = 35;
    c.ID.e = false;
    c.A.e = false;
    c.Center.X.e = false;
    c.R[1].Angle.e = false;
    c.R[1].Length.v = 999;
    c.Center.X.v = 1.23456;
    UpdateCircle(c, 1);
    EXPECT_FALSE(c.ID.e);
    EXPECT_FALSE(c.A.e);
    EXPECT_FALSE(c.Center.X.e);
    EXPECT_FALSE(c.R[1].Angle.e);
    EXPECT_EQ(c.R[1].Length.v, 999);   // not recomputed
    EXPECT_EQ(c.Center.X.v, 1.23456);  // not rounded
    EXPECT_EQ(c.R[1].P1.X.v, 1.23456); // the radius still starts at the centre
    EXPECT_NEAR(c.A3.v, 30, 0.05);     // the geometry is recomputed
}

TEST(UpdateCircleRandom, EveryDoubleStaysFinite) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(-300, 300);
    std::uniform_int_distribution<int> pick(0, 9);
    const int roles[] = {0, -1, -2, -3, -4, -5, 1};
    for (int i = 0; i < 3000; ++i) {
        const Vec3 m{u(rng), u(rng), u(rng)};
        Vec3 a{u(rng), u(rng), u(rng)}, b{u(rng), u(rng), u(rng)};
        switch (pick(rng)) {
            case 0: a = {0, 0, 0}; break;                                   // zero first semi-diameter
            case 1: b = {0, 0, 0}; break;                                   // zero second one
            case 2: a = Vec3{1, 1 / kS8, 1 / kS8} * u(rng); break;          // edge-on plane
            case 3: b = a * 0.5; break;                                     // parallel
            case 4: a = {0, a.y, a.z}, b = {0, b.y, b.z}; break;            // flat
            case 5: a = a * 1e-7, b = b * 1e-7; break;                      // tiny
            case 6: b = Vec3{1, 1 / kS8, 1 / kS8} * u(rng) + a * 1e-9; break;  // nearly edge-on
            default: break;
        }
        DCircle c = StoredEllipse(m, m + a, m + b);
        if (pick(rng) == 0) c.Q1 = c.Q2 = {0, 0, 0};
        c.A3.v = pick(rng) < 3 ? 0 : std::fabs(u(rng));
        c.B3.v = pick(rng) < 3 ? 0 : std::fabs(u(rng));
        c.A.v = pick(rng) < 3 ? 0 : std::fabs(u(rng));
        c.B.v = std::fabs(u(rng));
        c.Tilt.v = u(rng) * 10;
        c.ViewType.v = static_cast<std::uint8_t>(pick(rng) % 5);
        c.Arc1.v = u(rng);
        c.Arc2.v = u(rng) * 3;
        for (auto& r : c.R) {
            r.Angle.v = u(rng);
            r.Frac3.v = 0.5;
            r.Frac4.v = 0.25;
        }
        const int role = roles[static_cast<std::size_t>(i) % 7];
        UpdateCircle(c, role);
        ASSERT_TRUE(AllFinite(c)) << "case " << i;
        UpdateCircle(c, role);
        ASSERT_TRUE(AllFinite(c)) << "case " << i << " again";
    }
}

TEST(UpdateCircleRandom, UpdatingTwiceChangesNothing) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(-200, 200);
    auto grid = [&] { return std::nearbyint(u(rng) * 1000) / 1000; };
    const int roles[] = {0, -1, -2, -3, -4, -5};
    int checked = 0;
    for (int i = 0; i < 600; ++i) {
        const Vec3 m{grid(), grid(), grid()};
        const Vec3 q1 = m + Vec3{grid() / 4, grid(), grid() / 4};
        const Vec3 q2 = m + Vec3{grid() / 4, grid() / 4, grid()};
        DCircle c = StoredEllipse(m, q1, q2);
        for (auto& r : c.R) r.Angle.v = std::nearbyint(u(rng));
        c.ViewType.v = static_cast<std::uint8_t>(1 + i % 4);
        const int role = roles[static_cast<std::size_t>(i) % 6];
        UpdateCircle(c, role);
        if (c.A.v < 1 || c.B.v < 1) continue;  // no real outline
        const DCircle once = c;
        UpdateCircle(c, role);
        ++checked;
        EXPECT_TRUE(test::DifferingDoubles(c, once).empty()) << "case " << i;
        EXPECT_EQ(c.A.e, once.A.e);
        EXPECT_EQ(c.Center.Typ.v, once.Center.Typ.v);
        EXPECT_EQ(c.R[1].P2.X.e, once.R[1].P2.X.e);
    }
    EXPECT_GT(checked, 500);
}
