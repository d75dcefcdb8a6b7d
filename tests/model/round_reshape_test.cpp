// Typed values that reshape a sphere, a cylinder or a cone.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "model/finite_check.h"
#include "model/geometry.h"
#include "model/round_make.h"
#include "model/round_reshape.h"
#include "model/update.h"

namespace pelmar {
namespace {

using test::MakeCone;
using test::MakeCylinder;
using test::MakeOrb;
using test::SquareBase;
using test::V3;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

Vec3 RandomVec(std::mt19937& rng, double range) {
    std::uniform_real_distribution<double> u(-range, range);
    return {u(rng), u(rng), u(rng)};
}

// Radii, heights and plane values that no body takes leave no record: the
// caller keeps its own.
TEST(RoundReshape, RefusesWhatNoBodyTakes) {
    const DSf s = MakeOrb({0, 200, 200}, 50.5, 1);
    const DZi z = MakeCylinder({0, 200, 100}, {0, 200, 200}, 40, 1);
    const DKo k = MakeCone({0, 200, 100}, {0, 200, 200}, 40, 1);
    for (double bad : {kNaN, kInf, -kInf, -5.0, 0.0, 0.999}) {
        EXPECT_FALSE(OrbWithRadius(s, bad)) << bad;
        EXPECT_FALSE(CylinderWithRadius(z, bad)) << bad;
        EXPECT_FALSE(ConeWithRadius(k, bad)) << bad;
        EXPECT_FALSE(CylinderWithHeight(z, bad)) << bad;
        EXPECT_FALSE(ConeWithHeight(k, bad)) << bad;
    }
    for (double bad : {kNaN, kInf}) {
        EXPECT_FALSE(OrbWithCentre(s, true, bad));
        for (SectionField w : {SectionField::NormalX, SectionField::NormalY, SectionField::NormalZ, SectionField::Distance})
            EXPECT_FALSE(OrbWithPlane(s, 3, w, bad));
    }
    EXPECT_FALSE(OrbWithPlane(s, 0, SectionField::Distance, 1));
    EXPECT_FALSE(OrbWithPlane(s, 8, SectionField::Distance, 1));
    // The smallest size is taken.
    EXPECT_DOUBLE_EQ(OrbWithRadius(s, 1)->Radius.v, 1);
    EXPECT_DOUBLE_EQ(CylinderWithHeight(z, 1)->Axis.Length.v, 1);
}

// A zero normal typed component by component is refused at the component
// that would make it zero; the plane keeps its last direction and the update
// leaves nothing that is not a number.
TEST(RoundReshape, ZeroSectionNormalKeepsThePreviousOne) {
    DSf s = MakeOrb({0, 200, 200}, 60, 5);
    s.SecNX[5].v = 0, s.SecNY[5].v = 1, s.SecNZ[5].v = 0, s.SecH[5].v = 20;
    UpdateOrb(s, 0);
    auto t = OrbWithPlane(s, 5, SectionField::NormalX, 0);
    ASSERT_TRUE(t);
    EXPECT_FALSE(OrbWithPlane(*t, 5, SectionField::NormalY, 0)) << "(0, 0, 0)";
    EXPECT_FALSE(OrbWithPlane(*t, 5, SectionField::NormalY, 0.01)) << "too short for a direction";
    t = OrbWithPlane(*t, 5, SectionField::NormalZ, -2);
    ASSERT_TRUE(t);
    t = OrbWithPlane(*t, 5, SectionField::NormalY, 0);
    ASSERT_TRUE(t);
    EXPECT_DOUBLE_EQ(t->SecNZ[5].v, -2);
    t = OrbWithPlane(*t, 5, SectionField::Distance, -1e300);
    ASSERT_TRUE(t) << "a distance out of range is the update's to mend";
    UpdateOrb(*t, 0);
    EXPECT_TRUE(test::NonFiniteDoubles(*t).empty()) << test::JoinPaths(test::NonFiniteDoubles(*t));
    // Only plane 5 changed.
    for (std::size_t i = 1; i <= 7; ++i) {
        if (i == 5) continue;
        EXPECT_EQ(t->SecNZ[i].v, s.SecNZ[i].v) << i;
    }
}

// The picture centre moves the 3D centre by the same amount, to three
// decimals; the depth stays.
TEST(RoundReshape, SphereCentreInThePicture) {
    DSf s = MakeOrb({10, 220.5, 80}, 50, 1);
    s.Center.ScrX.v = 200;
    const auto t = OrbWithCentre(s, true, 250);
    ASSERT_TRUE(t);
    EXPECT_DOUBLE_EQ(t->Center.Y.v, 270.5);
    EXPECT_DOUBLE_EQ(t->Center.ScrX.v, 250);
    EXPECT_EQ(t->Center.X.v, 10);
    EXPECT_EQ(t->Center.Z.v, 80);
    s.Center.ScrY.v = 100.0004;
    const auto u = OrbWithCentre(s, false, 90);
    ASSERT_TRUE(u);
    EXPECT_DOUBLE_EQ(u->Center.Z.v, 70);  // 80 - 10.0004 to three decimals
    EXPECT_EQ(u->Center.Y.v, 220.5);
}

// Over random turned cylinders and cones: a new radius puts both outline
// points at it along their old directions; a new height puts the upper base
// (the apex) that far along the old axis; the update then leaves the height
// and radius typed and every value finite.
TEST(RoundReshape, RadiusAndHeightOfTurnedBodies) {
    std::mt19937 rng(26);
    std::uniform_real_distribution<double> size(1, 400);
    for (int n = 0; n < 100; ++n) {
        const Vec3 p0 = RandomVec(rng, 300);
        Vec3 axis = RandomVec(rng, 200);
        if (Norm(axis) < 2) axis = {0, 0, 50};
        const double r0 = size(rng), r = size(rng), h = std::round(size(rng));  // typed whole
        DZi z = MakeCylinder(p0, p0 + axis, r0, static_cast<std::uint8_t>(1 + n % 6));
        SquareBase(z.Base[1], axis, r0);
        UpdateCylinder(z, 0);
        DKo k = MakeCone(p0, p0 + axis, r0, static_cast<std::uint8_t>(1 + n % 6));
        SquareBase(k.Base, axis, r0);
        UpdateCone(k, 0);

        const auto zr = CylinderWithRadius(z, r);
        const auto kr = ConeWithRadius(k, r);
        ASSERT_TRUE(zr && kr);
        for (const DCircle* b : {&zr->Base[1], &kr->Base}) {
            const Vec3 m = Pos(b->Center);
            const DCircle& old = b == &kr->Base ? k.Base : z.Base[1];
            for (int q = 0; q < 2; ++q) {
                const Vec3 now = V3(q ? b->Q2 : b->Q1) - m, was = V3(q ? old.Q2 : old.Q1) - m;
                EXPECT_NEAR(Norm(now), r, 1e-6 * r);
                EXPECT_NEAR(Dot(now, was), Norm(now) * Norm(was), 1e-6 * r * r0) << "same direction";
            }
        }

        auto zh = CylinderWithHeight(z, h);
        auto kh = ConeWithHeight(k, h);
        ASSERT_TRUE(zh && kh);
        const Vec3 dz = Pos(zh->Base[2].Center) - Pos(zh->Base[1].Center);
        const Vec3 dk = Pos(kh->Axis.P2) - Pos(kh->Base.Center);
        EXPECT_NEAR(Norm(dz), h, 1e-6 * h);
        EXPECT_NEAR(Norm(dk), h, 1e-6 * h);
        EXPECT_NEAR(Dot(dz, axis), h * Norm(axis), 1e-6 * h * Norm(axis));
        EXPECT_NEAR(Dot(dk, axis), h * Norm(axis), 1e-6 * h * Norm(axis));
        EXPECT_EQ(Pos(zh->Base[1].Center).x, Pos(z.Base[1].Center).x) << "the lower base stays";
        UpdateCylinder(*zh, 0);
        UpdateCone(*kh, 0);
        // Measured to three decimals between ends stored to the thousandth.
        EXPECT_NEAR(zh->Axis.Length.v, h, 2e-3);
        EXPECT_NEAR(kh->Axis.Length.v, h, 2e-3);
        EXPECT_TRUE(test::NonFiniteDoubles(*zh).empty()) << test::JoinPaths(test::NonFiniteDoubles(*zh));
        EXPECT_TRUE(test::NonFiniteDoubles(*kh).empty()) << test::JoinPaths(test::NonFiniteDoubles(*kh));
    }
}

// A body of height 0 has no axis direction: the height typed builds the axis
// along the base's normal.  An outline point on the centre stays there.
TEST(RoundReshape, FlatBodyGrowsAlongTheBaseNormal) {
    const Vec3 p0{0, 200, 100};
    DZi z = MakeCylinder(p0, p0, 40, 1);
    z.Base[1].Q1 = {p0.x, p0.y + 40, p0.z};
    z.Base[1].Q2 = {p0.x - 40, p0.y, p0.z};  // normal (0, 0, 1)
    z.Axis.Length.v = 0;
    SetPos(z.Axis.P1, p0), SetPos(z.Axis.P2, p0);
    const auto t = CylinderWithHeight(z, 100);
    ASSERT_TRUE(t);
    const Vec3 up = Pos(t->Base[2].Center);
    EXPECT_NEAR(up.x, p0.x, 1e-9);
    EXPECT_NEAR(up.y, p0.y, 1e-9);
    EXPECT_NEAR(up.z, p0.z + 100, 1e-9);

    DKo k = MakeCone(p0, p0, 40, 1);
    k.Base.Q1 = {p0.x, p0.y, p0.z + 40};
    k.Base.Q2 = {p0.x + 40, p0.y, p0.z};  // normal (0, 40*40, 0): the apex to +Y
    k.Axis.Length.v = 0;
    const auto c = ConeWithHeight(k, 30);
    ASSERT_TRUE(c);
    EXPECT_NEAR(Pos(c->Axis.P2).y, p0.y + 30, 1e-9);

    // A base without a plane gives the flat body no direction.
    k.Base.Q1 = k.Base.Q2 = {p0.x, p0.y, p0.z};
    EXPECT_FALSE(ConeWithHeight(k, 30));
    const auto r = ConeWithRadius(k, 70);
    ASSERT_TRUE(r);
    EXPECT_EQ(V3(r->Base.Q1).y, p0.y) << "a point on the centre stays on it";
}

}  // namespace
}  // namespace pelmar
