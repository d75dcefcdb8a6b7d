// Translation of ellipses and round solids: everything moves by the vector,
// the shapes stay as they were.
#include <gtest/gtest.h>

#include "model/finite_check.h"
#include "model/geometry.h"
#include "model/round_make.h"
#include "model/translate.h"
#include "model/update.h"

namespace pelmar {
namespace {

using test::V3;

// Its depth shifts the picture by whole pixels (28.284/√8 ≈ 10), so the
// rounded picture positions move exactly with the body.
const Vec3 kMove{28.284, -20, 30};

void ExpectMoved(Vec3 before, Vec3 after, const char* what) {
    EXPECT_NEAR(Norm(after - before - kMove), 0, 2e-3) << what;
}

TEST(TranslateCircle, MovesCentreOutlinePointsAndRadii) {
    DCircle c{};
    test::Place(c.Center, {20, 100, 50});
    c.Q1 = {20, 160, 50};
    c.Q2 = {60, 100, 50};
    c.R[2].Angle.v = 30;
    UpdateCircle(c, 0);
    const DCircle before = c;
    TranslateCircle(c, kMove.x, kMove.y, kMove.z);
    ExpectMoved(Pos(before.Center), Pos(c.Center), "centre");
    ExpectMoved(V3(before.Q1), V3(c.Q1), "Q1");
    ExpectMoved(V3(before.Q2), V3(c.Q2), "Q2");
    for (std::size_t i = 1; i <= 3; ++i) {
        // Radii keep their direction up to the whole-pixel picture positions
        // their angle is measured on.
        ExpectMoved(Pos(before.R[i].P1), Pos(c.R[i].P1), "radius start");
        EXPECT_NEAR(Norm(Pos(c.R[i].P2) - Pos(before.R[i].P2) - kMove), 0, 1.0);
        EXPECT_NEAR(c.PA * c.R[i].P2.X.v + c.PB * c.R[i].P2.Y.v + c.PC * c.R[i].P2.Z.v + c.PD, 0,
                    1e-3 * std::fabs(c.PA));
    }
    EXPECT_NEAR(c.A.v, before.A.v, 1e-3);
    EXPECT_NEAR(c.B.v, before.B.v, 1e-3);
    EXPECT_NEAR(c.Tilt.v, before.Tilt.v, 1e-3);
    DPoint p = before.Center;
    SetPos(p, Pos(p) + kMove);
    ProjectPoint(p);
    EXPECT_EQ(c.Center.ScrX.v, p.ScrX.v);
    EXPECT_EQ(c.Center.ScrY.v, p.ScrY.v);
}

TEST(TranslateOrb, SectionsAndContourFollowTheCentre) {
    DSf s = test::MakeOrb({0, 100, 50}, 40, 5);
    s.SecNX[2].v = 1;
    s.SecNY[2].v = 1;
    s.SecH[2].v = 12;
    UpdateOrb(s, 0);
    const DSf before = s;
    TranslateOrb(s, kMove.x, kMove.y, kMove.z);
    ExpectMoved(Pos(before.Center), Pos(s.Center), "centre");
    ExpectMoved(Pos(before.Contour.Center), Pos(s.Contour.Center), "contour centre");
    for (std::size_t i = 1; i <= 7; ++i) {
        ExpectMoved(Pos(before.Sec[i].Center), Pos(s.Sec[i].Center), "section centre");
        EXPECT_EQ(s.SecNX[i].v, before.SecNX[i].v);
        EXPECT_EQ(s.SecH[i].v, before.SecH[i].v);
    }
    EXPECT_NEAR(s.Contour.A.v, before.Contour.A.v, 1e-3);
    EXPECT_NEAR(s.Sec[2].A3.v, before.Sec[2].A3.v, 1e-3);
    EXPECT_NEAR(s.Sec[2].DashArc2.v - s.Sec[2].DashArc1.v, before.Sec[2].DashArc2.v - before.Sec[2].DashArc1.v,
                1e-3);
    EXPECT_EQ(s.Radius.v, 40);
}

TEST(TranslateCylinder, WholeBodyMoves) {
    for (std::uint8_t mode : {4, 5}) {
        DZi z = test::MakeCylinder({0, 200, 100}, {-30, 260, 180}, 40, mode);
        z.SecPos1.v = 50;
        z.OutSphereOn.v = true;
        UpdateCylinder(z, 0);
        const DZi before = z;
        TranslateCylinder(z, kMove.x, kMove.y, kMove.z);
        for (std::size_t b = 1; b <= 2; ++b) {
            ExpectMoved(Pos(before.Base[b].Center), Pos(z.Base[b].Center), "base centre");
            ExpectMoved(V3(before.Base[b].Q1), V3(z.Base[b].Q1), "base Q1");
        }
        ExpectMoved(Pos(before.Axis.P2), Pos(z.Axis.P2), "axis end");
        for (std::size_t i = 1; i <= 4; ++i)
            for (std::size_t v = 1; v <= 4; ++v) ExpectMoved(Pos(before.Sec[i].S[v].P1), Pos(z.Sec[i].S[v].P1), "vertex");
        ExpectMoved(Pos(before.OutSphere.Center), Pos(z.OutSphere.Center), "sphere centre");
        EXPECT_EQ(z.SecPos1.v, 50);
        EXPECT_NEAR(z.Base[1].DashArc1.v, before.Base[1].DashArc1.v, 1e-3);
        EXPECT_TRUE(test::NonFiniteDoubles(z).empty());
    }
}

TEST(TranslateCone, WholeBodyMoves) {
    for (std::uint8_t mode : {4, 6}) {
        DKo k = test::MakeCone({0, 200, 100}, {40, 260, 180}, 40, mode);
        k.SecPos2.v = -70;
        UpdateCone(k, 0);
        const DKo before = k;
        TranslateCone(k, kMove.x, kMove.y, kMove.z);
        ExpectMoved(Pos(before.Base.Center), Pos(k.Base.Center), "base centre");
        ExpectMoved(Pos(before.Axis.P2), Pos(k.Axis.P2), "apex");
        for (std::size_t i = 1; i <= 4; ++i)
            for (std::size_t v = 1; v <= 3; ++v) ExpectMoved(Pos(before.Sec[i].S[v].P1), Pos(k.Sec[i].S[v].P1), "vertex");
        ExpectMoved(Pos(before.InSphere.Center), Pos(k.InSphere.Center), "sphere centre");
        EXPECT_NEAR(k.Base.Arc1.v, before.Base.Arc1.v, 2e-3);
        EXPECT_TRUE(test::NonFiniteDoubles(k).empty());
    }
}

}  // namespace
}  // namespace pelmar
