// The cone update: silhouette triangle, apex inside the base, sections,
// spheres and the drawn and dashed parts by view mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/finite_check.h"
#include "model/geometry.h"
#include "model/round_make.h"
#include "model/round_parts.h"
#include "model/shading.h"
#include "model/update.h"

namespace pelmar {
namespace {

using test::MakeCone;
using test::Pic;
using test::V3;

using test::kP0;
const Vec3 kView{1, 1 / std::sqrt(8.0), 1 / std::sqrt(8.0)};

Vec3 Vtx(const DTri& t, std::size_t i) { return Pos(t.S[i].P1); }

// The base conic of the picture.
struct Conic {
    double A, B, C, D, E, F;
    double operator()(double x, double y) const { return A * x * x + B * x * y + C * y * y + D * x + E * y + F; }
};

Conic BaseConic(const DKo& k) {
    const DCircle& b = k.Base;
    double cx, cy, r1, r2, ang;
    Conic c{};
    EXPECT_EQ(CalcScreenEllipse({b.Center.X.v, b.Center.Y.v, b.Center.Z.v}, b.Q1, b.Q2, cx, cy, r1, r2, ang, c.A,
                                c.B, c.C, c.D, c.E, c.F),
              0);
    return c;
}

// The picture line from the apex (at its pixel) to the contour vertex
// touches the base ellipse there.
void ExpectTangent(const DKo& k, std::size_t vertex) {
    const Conic c = BaseConic(k);
    const auto p = Pic(Vtx(k.Sec[2], vertex));
    const std::array<double, 2> a{k.Axis.P2.ScrX.v, k.Axis.P2.ScrY.v};
    const double gx = 2 * c.A * p[0] + c.B * p[1] + c.D, gy = c.B * p[0] + 2 * c.C * p[1] + c.E;
    const double dx = a[0] - p[0], dy = a[1] - p[1];
    EXPECT_NEAR((gx * dx + gy * dy) / (std::hypot(gx, gy) * std::hypot(dx, dy)), 0, 2e-3) << vertex;
    EXPECT_NEAR(c(p[0], p[1]) / std::hypot(gx, gy), 0, 2e-2) << vertex;
}

// A far and a near point of the base circle, seen along the view direction.
void FarAndNear(const DKo& k, Vec3& far, Vec3& near) {
    const Vec3 c = Pos(k.Base.Center), u = V3(k.Base.Q1) - c, w = V3(k.Base.Q2) - c;
    double lo = 1e300, hi = -1e300;
    for (int i = 0; i < 720; ++i) {
        const double t = i * std::numbers::pi / 360;
        const Vec3 p = c + u * std::cos(t) + w * std::sin(t);
        const double d = Dot(p, kView);
        if (d < lo) lo = d, far = p;
        if (d > hi) hi = d, near = p;
    }
}

TEST(UpdateCone, SpheresOfARightCone) {
    DKo k = MakeCone(kP0, kP0 + Vec3{0, 0, 40}, 30, 4);
    UpdateCone(k, 0);
    EXPECT_NEAR(k.OutSphere.Radius.v, 31.25, 1e-9);
    EXPECT_NEAR(Pos(k.OutSphere.Center).z, 140 - 31.25, 1e-3);
    EXPECT_NEAR(k.InSphere.Radius.v, 15, 1e-9);
    EXPECT_NEAR(Pos(k.InSphere.Center).z, 115, 1e-3);
    EXPECT_TRUE(k.OutSphereOn.e);
    EXPECT_TRUE(k.InSphereOn.e);
}

TEST(UpdateCone, LimitsAndCoincidentApex) {
    DKo k = MakeCone(kP0, kP0, 0.5, 5);
    UpdateCone(k, 0);
    EXPECT_EQ(k.Radius.v, 1.0);
    EXPECT_EQ(k.Axis.Length.v, 0);  // measured again by the axis update
    EXPECT_NEAR(Pos(k.OutSphere.Center).z, kP0.z, 1e-9);
    const auto bad = test::NonFiniteDoubles(k);
    EXPECT_TRUE(bad.empty()) << test::JoinPaths(bad);
}

TEST(UpdateCone, UprightSilhouetteInClosedForm) {
    DKo k = MakeCone(kP0, kP0 + Vec3{0, 0, 40}, 30, 4);
    UpdateCone(k, 0);
    EXPECT_EQ(k.ApexInside, 0);
    EXPECT_EQ(k.BaseVisible, 0);
    for (std::size_t i = 1; i <= 2; ++i) {
        EXPECT_NEAR(Norm(Vtx(k.Sec[2], i) - kP0), 30, 0.01);
        EXPECT_NEAR(Vtx(k.Sec[2], i).z, kP0.z, 1e-9);
        ExpectTangent(k, i);
    }
    EXPECT_NEAR(Norm(Vtx(k.Sec[2], 3) - Pos(k.Axis.P2)), 0, 1e-9);
    EXPECT_EQ(k.Sec[2].Typ.v, 2);
    EXPECT_EQ(k.Sec[2].S[1].Thick.v, 0);
}

TEST(UpdateCone, TiltedSilhouetteTouchesTheBase) {
    for (const bool right : {true, false})
        for (const Vec3 axis : {Vec3{0, 80, 60}, Vec3{-70, 20, 30}, Vec3{90, -10, -40}, Vec3{0, 100, 0},
                                Vec3{0, -100, 10}, Vec3{-30, -40, -80}})
            for (const std::uint8_t mode : {4, 5, 6}) {
                DKo k = MakeCone(kP0, kP0 + axis, 40, mode);
                if (right) test::SquareBase(k.Base, axis, 40);
                UpdateCone(k, 0);
                ASSERT_EQ(k.ApexInside, 0);
                for (std::size_t i = 1; i <= 2; ++i) {
                    EXPECT_NEAR(Norm(Vtx(k.Sec[2], i) - kP0), 40, 0.01) << i;
                    ExpectTangent(k, i);
                }
                EXPECT_NE(Norm(Vtx(k.Sec[2], 1) - Vtx(k.Sec[2], 2)), 0);
            }
}

TEST(UpdateCone, LevelTangentTouchesTheTop) {
    // A base in the picture plane, long from upper left to lower right; the
    // apex lies far to the right at the height of its top, so one tangent is
    // nearly level.  Both points of the ellipse with a level tangent are
    // candidates; the top one is where the tangent through the apex touches.
    DKo k = MakeCone(kP0, {0, 1200, 130}, 30, 4);
    k.Base.Q1 = {kP0.x, kP0.y + 30, kP0.z - 30};
    k.Base.Q2 = {kP0.x, kP0.y + 5, kP0.z + 5};
    UpdateCone(k, 0);
    ASSERT_EQ(k.ApexInside, 0);
    for (std::size_t i = 1; i <= 2; ++i) ExpectTangent(k, i);
    const double top = std::max(Vtx(k.Sec[2], 1).z, Vtx(k.Sec[2], 2).z);
    EXPECT_NEAR(top, 130.41, 0.01);
}

TEST(UpdateCone, ApexMovedWithoutItsPicture) {
    // The apex's 3D position changed since it was last projected: the
    // silhouette is drawn to where the apex now stands.
    DKo k = MakeCone(kP0, kP0 + Vec3{0, 80, 60}, 40, 4);
    UpdateCone(k, 0);
    SetPos(k.Axis.P2, kP0 + Vec3{0, -90, 40});
    UpdateCone(k, 0);
    for (std::size_t i = 1; i <= 2; ++i) ExpectTangent(k, i);
    EXPECT_EQ(Vtx(k.Sec[2], 3).y, kP0.y - 90);
}

TEST(UpdateCone, DashedBaseArcIsTheHiddenOne) {
    for (const Vec3 axis : {Vec3{0, 0, 40}, Vec3{0, 80, 60}, Vec3{90, -10, -40}, Vec3{0, 100, 0}}) {
        DKo k = MakeCone(kP0, kP0 + axis, 40, 5);
        test::SquareBase(k.Base, axis, 40);
        UpdateCone(k, 0);
        ASSERT_EQ(k.BaseVisible, 0);
        const DCircle& b = k.Base;
        EXPECT_EQ(b.ViewType.v, 4);
        Vec3 far, near;
        FarAndNear(k, far, near);
        const double cx = b.Center.ScrX.v, cy = b.Center.ScrY.v;
        EXPECT_TRUE(test::OnArc(far, cx, cy, b.Tilt.v, b.DashArc1.v, b.DashArc2.v));
        EXPECT_FALSE(test::OnArc(near, cx, cy, b.Tilt.v, b.DashArc1.v, b.DashArc2.v));
        for (std::size_t j = 1; j <= 3; ++j) EXPECT_EQ(b.R[j].LineType.v, 2);

        // Opaque: the near arc is drawn, the far one is not.
        k.View.v = 6;
        UpdateCone(k, 0);
        EXPECT_EQ(b.ViewType.v, 1);
        EXPECT_TRUE(test::OnArc(near, cx, cy, b.Tilt.v, b.Arc1.v, b.Arc2.v));
        EXPECT_FALSE(test::OnArc(far, cx, cy, b.Tilt.v, b.Arc1.v, b.Arc2.v));
        EXPECT_LE(b.Arc2.v - b.Arc1.v, 360);
        for (std::size_t j = 1; j <= 3; ++j) EXPECT_EQ(b.R[j].LineType.v, 3);
    }
}

TEST(UpdateCone, BaseTurnedToTheViewerIsWhole) {
    DKo k = MakeCone(kP0, kP0 + Vec3{0, 0, -40}, 30, 5);
    UpdateCone(k, 0);
    EXPECT_EQ(k.BaseVisible, 1);
    EXPECT_EQ(k.Base.ViewType.v, 1);
    EXPECT_EQ(k.Base.DashArc1.v, 0);
    EXPECT_EQ(k.Base.R[1].LineType.v, 1);
    k.View.v = 6;
    UpdateCone(k, 0);
    EXPECT_EQ(k.Base.Arc1.v, 0);
    EXPECT_EQ(k.Base.Arc2.v, 0);
    EXPECT_EQ(k.Base.R[1].LineType.v, 1);
}

// A base whose picture ellipse is long and tilted by 45°.  The apex is placed
// inside it, on its long axis, where the ellipse turned the wrong way would
// not hold it.
DKo ApexInsideTiltedBase(std::uint8_t mode) {
    DKo k = MakeCone(kP0, kP0, 60, mode);
    k.Base.Q1 = {kP0.x + 120, kP0.y, kP0.z};
    k.Base.Q2 = {kP0.x, kP0.y + 10, kP0.z - 10};
    double cx, cy, r1, r2, ang, a, b, c, d, e, f;
    EXPECT_EQ(CalcScreenEllipse({kP0.x, kP0.y, kP0.z}, k.Base.Q1, k.Base.Q2, cx, cy, r1, r2, ang, a, b, c, d, e, f), 0);
    const double px = cx + 0.8 * r1 * std::cos(ang), py = cy + 0.8 * r1 * std::sin(ang);
    const double mx = cx + 0.8 * r1 * std::cos(ang), my = cy - 0.8 * r1 * std::sin(ang);
    EXPECT_FALSE(PtInEllipse(round::ToPixel(mx), round::ToPixel(my), cx, cy, r1, r2, std::cos(ang), -std::sin(ang)))
        << "the mirrored point lies outside";
    test::Place(k.Axis.P2, {0, Round(px), Round(py)});  // depth 0: seen where it stands
    k.Axis.Length.v = Round3(Norm(Pos(k.Axis.P2) - kP0));
    // A contour from before, to be kept.
    for (std::size_t i = 1; i <= 3; ++i) test::Place(k.Sec[2].S[i].P1, {1.5, 10.0 * i, -2.25});
    return k;
}

TEST(UpdateCone, ApexInsideTheBaseKeepsTheContour) {
    DKo k = ApexInsideTiltedBase(5);
    UpdateCone(k, 0);
    EXPECT_EQ(k.ApexInside, 1);
    for (std::size_t i = 1; i <= 3; ++i) {
        EXPECT_EQ(Vtx(k.Sec[2], i).x, 1.5);
        EXPECT_EQ(Vtx(k.Sec[2], i).y, 10.0 * i);
    }
    EXPECT_EQ(k.Base.ViewType.v, 1);
    EXPECT_TRUE(test::NonFiniteDoubles(k).empty());

    k = ApexInsideTiltedBase(6);
    k.Base.Arc1.v = 5;
    k.Base.DashArc2.v = 7;
    UpdateCone(k, 0);
    EXPECT_EQ(k.Base.Arc1.v, 0);
    EXPECT_EQ(k.Base.Arc2.v, 0);
    EXPECT_EQ(k.Base.DashArc2.v, 0);
}

TEST(UpdateCone, LowUprightConeSeesItsApexInside) {
    // H ≤ R/3: the apex is seen within the base and the closed form (which
    // would take the root of a negative number) is not used.
    DKo k = MakeCone(kP0, kP0 + Vec3{0, 0, 15}, 60, 5);
    for (std::size_t i = 1; i <= 3; ++i) test::Place(k.Sec[2].S[i].P1, {0, 5.0 * i, 0});
    UpdateCone(k, 0);
    EXPECT_EQ(k.ApexInside, 1);
    EXPECT_EQ(Vtx(k.Sec[2], 2).y, 10);
    EXPECT_EQ(k.Base.ViewType.v, 1);
    const auto bad = test::NonFiniteDoubles(k);
    EXPECT_TRUE(bad.empty()) << test::JoinPaths(bad);
}

TEST(UpdateCone, CircumscribedSphereDashesEveryEdge) {
    DKo k = MakeCone(kP0, kP0 + Vec3{0, 0, 40}, 30, 5);
    k.OutSphereOn.v = true;
    UpdateCone(k, 0);
    EXPECT_EQ(k.Base.ViewType.v, 2);
    EXPECT_EQ(k.Base.R[2].LineType.v, 2);
    EXPECT_EQ(k.Axis.LineType.v, 2);
    for (std::size_t i = 1; i <= 4; ++i) EXPECT_EQ(k.Sec[i].View.v, 2);
    EXPECT_EQ(k.OutSphere.View.v, 5);
    EXPECT_EQ(k.InSphere.View.v, 2);
}

TEST(UpdateCone, SectionsThroughTheApex) {
    DKo k = MakeCone(kP0, kP0 + Vec3{0, 0, 40}, 30, 5);
    k.SecPos1.v = 80;
    k.SecPos2.v = 100;
    UpdateCone(k, 0);
    auto pictureAngle = [&](Vec3 p) {
        const auto q = Pic(p), c = Pic(kP0);
        return std::atan2(q[1] - c[1], q[0] - c[0]) * round::kDeg;
    };
    EXPECT_NEAR(pictureAngle(Vtx(k.Sec[1], 1)), 0, 0.5);
    EXPECT_NEAR(pictureAngle(Vtx(k.Sec[3], 1)), 80, 0.5);
    EXPECT_NEAR(pictureAngle(Vtx(k.Sec[4], 1)), 100, 0.5) << "no reordering by angle";
    for (std::size_t i : {1u, 3u, 4u}) {
        EXPECT_NEAR(Norm(Vtx(k.Sec[i], 1) + Vtx(k.Sec[i], 2) - kP0 * 2), 0, 2e-3);
        EXPECT_EQ(Norm(Vtx(k.Sec[i], 3) - Pos(k.Axis.P2)), 0);
        EXPECT_EQ(k.Sec[i].Typ.v, 2);
        // Edge styles: the chord on the base is hidden, the five lines dashed.
        EXPECT_EQ(k.Sec[i].S[1].LineType.v, 2);
        EXPECT_EQ(k.Sec[i].Lines[3].LineType.v, 2);
        EXPECT_FALSE(k.Sec[i].S[2].LineType.e);
    }
    // The section through the front and back points: the front generator is
    // seen, the back one hidden.
    const DTri& s = k.Sec[3];
    const bool v1Front = Dot(Vtx(s, 1), kView) > Dot(kP0, kView);
    EXPECT_EQ(s.S[3].LineType.v, v1Front ? 1 : 2);
    EXPECT_EQ(s.S[2].LineType.v, v1Front ? 2 : 1);
    EXPECT_FALSE(k.Sec[2].S[1].LineType.e);
}

TEST(UpdateCone, RoleZeroFlags) {
    DKo k = MakeCone(kP0, kP0 + Vec3{0, 0, 40}, 30, 4);
    k.Base.Center.Link.b[0] = 1;
    UpdateCone(k, 0);
    EXPECT_TRUE(k.ID.e && k.Layer.e && k.Thick.e && k.Color.e && k.ColorIndex.e && k.Disabled.e);
    const DPoint& c = k.Base.Center;
    EXPECT_FALSE(c.X.e || c.Y.e || c.Z.e || c.ScrX.e || c.ScrY.e);
    EXPECT_EQ(k.Color.v, 0x008000u);
    EXPECT_EQ(k.Sec[4].Color.v, 0x008000u);
    EXPECT_EQ(k.Sec[2].Thick.v, 2);

    DKo r = MakeCone(kP0, kP0 + Vec3{0, 0, 40}, 30, 4);
    UpdateCone(r, 1);
    EXPECT_FALSE(r.ID.e || r.OutSphereOn.e);
}

TEST(UpdateCone, SecondUpdateChangesNothing) {
    for (std::uint8_t mode = 1; mode <= 6; ++mode) {
        DKo k = MakeCone(kP0, kP0 + Vec3{-30, 60, 80}, 40, mode);
        k.SecPos1.v = 35;
        k.SecPos2.v = 140;
        UpdateCone(k, 0);
        DKo t = k;
        UpdateCone(t, 0);
        const auto diff = test::DifferingDoubles(k, t);
        EXPECT_TRUE(diff.empty()) << int(mode) << test::JoinPaths(diff);
    }
}

// A link or a drag moves the apex without touching the height field: one
// update must already give the spheres of the new height.
TEST(UpdateCone, MovedApexNeedsOneUpdate) {
    DKo k = MakeCone(kP0, kP0 + Vec3{0, 0, 40}, 30, 4);
    UpdateCone(k, 0);
    test::Place(k.Axis.P2, kP0 + Vec3{0, 0, 90});
    UpdateCone(k, 0);
    EXPECT_NEAR(k.Axis.Length.v, 90, 1e-9);
    EXPECT_NEAR(k.OutSphere.Radius.v, (30.0 * 30 + 90 * 90) / 180, 1e-9);
    DKo t = k;
    UpdateCone(t, 0);
    const auto diff = test::DifferingDoubles(k, t);
    EXPECT_TRUE(diff.empty()) << test::JoinPaths(diff);
}

}  // namespace
}  // namespace pelmar
