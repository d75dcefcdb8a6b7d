#include <gtest/gtest.h>

#include <cmath>

#include "finite_check.h"
#include "kv_fixture.h"
#include "model/construct.h"

using namespace pelmar;
using namespace pelmar::kvtest;

// Side 1 runs from (0, 0) to (100, 0) in the picture; vertex 3 at picture
// y > 0 lies on the negative side of it, so side byte 1 keeps it there and
// side byte 0 asks for the mirror image.
namespace {
constexpr Vec3 kV1{0, 0, 0};
constexpr Vec3 kV2{0, 100, 0};
}  // namespace

TEST(KvMakeSquare, BuildsOverSide1OnTheChosenSide) {
    DKv k = MakeKv(kV1, kV2, {0, 120, 40}, {0, 3, 4}, 1, 1);
    KvMakeSquare(k);
    ExpectNear(Vtx(k, 1), kV1);
    ExpectNear(Vtx(k, 2), kV2);
    ExpectNear(Vtx(k, 3), {0, 100, 100});
    ExpectNear(Vtx(k, 4), {0, 0, 100});

    k = MakeKv(kV1, kV2, {0, 120, 40}, {0, 3, 4}, 1, 0);
    KvMakeSquare(k);
    ExpectNear(Vtx(k, 3), {0, 100, -100});
    ExpectNear(Vtx(k, 4), {0, 0, -100});
}

TEST(KvMakeSquare, StaysInTheTiltedPlaneOfTheFirstThreeVertices) {
    DKv k = MakeKv(kV1, {60, 80, 0}, {60, 80, 50}, {1, 1, 1}, 1, 1);
    KvMakeSquare(k);
    ExpectNear(Vtx(k, 3), {60, 80, 100});
    ExpectNear(Vtx(k, 4), {0, 0, 100});
}

TEST(KvMakeSquare, CollapsesOntoVertex1WithoutAPerpendicular) {
    DKv k = MakeKv({5, 6, 7}, {5, 106, 7}, {5, 150, 7}, {0, 3, 4}, 1, 0);
    KvMakeSquare(k);
    for (std::size_t i = 2; i <= 4; ++i) ExpectNear(Vtx(k, i), {5, 6, 7});

    k = MakeKv(kV1, kV1, {0, 50, 50}, {0, 3, 4}, 1, 0);
    KvMakeSquare(k);
    for (std::size_t i = 2; i <= 4; ++i) ExpectNear(Vtx(k, i), kV1);
}

TEST(KvMakeRectangle, KeepsTheLengthOfSide2) {
    DKv k = MakeKv(kV1, kV2, {0, 130, 40}, {0, 3, 4}, 2, 1);
    KvMakeRectangle(k);
    ExpectNear(Vtx(k, 2), kV2);
    ExpectNear(Vtx(k, 3), {0, 100, 50});
    ExpectNear(Vtx(k, 4), {0, 0, 50});

    k = MakeKv(kV1, kV2, {0, 130, 40}, {0, 3, 4}, 2, 0);
    KvMakeRectangle(k);
    ExpectNear(Vtx(k, 3), {0, 100, -50});
    ExpectNear(Vtx(k, 4), {0, 0, -50});
}

TEST(KvMakeRectangle, CollinearVertex3PutsOnlyVertex4OntoVertex1) {
    DKv k = MakeKv(kV1, kV2, {0, 150, 0}, {0, 3, 4}, 2, 0);
    KvMakeRectangle(k);
    ExpectNear(Vtx(k, 2), kV2);
    ExpectNear(Vtx(k, 3), {0, 150, 0});
    ExpectNear(Vtx(k, 4), kV1);
}

TEST(KvMakeRhombus, StretchesSide2ToTheLengthOfSide1) {
    DKv k = MakeKv(kV1, kV2, {0, 130, 40}, {0, 3, 4}, 3, 1);
    KvMakeRhombus(k);
    EXPECT_DOUBLE_EQ(k.S[1].Length.v, 100);
    EXPECT_DOUBLE_EQ(k.S[2].Length.v, 50);
    ExpectNear(Vtx(k, 3), {0, 160, 80});
    ExpectNear(Vtx(k, 4), {0, 60, 80});

    k = MakeKv(kV1, kV2, {0, 130, 40}, {0, 3, 4}, 3, 0);
    KvMakeRhombus(k);
    ExpectNear(Vtx(k, 3), {0, 40, -80});
    ExpectNear(Vtx(k, 4), {0, -60, -80});
}

TEST(KvMakeRhombus, Side2WithoutLengthDividesByNothing) {
    DKv k = MakeKv(kV1, kV2, kV2, {0, 30, 30}, 3, 0);
    KvMakeRhombus(k);
    EXPECT_EQ(k.S[2].Length.v, 0);
    ExpectNear(Vtx(k, 3), kV2);
    ExpectNear(Vtx(k, 4), kV1);
    EXPECT_TRUE(test::NonFiniteDoubles(k).empty());
}

TEST(KvMakeParallelogram, MovesOnlyVertex4UnlessMirrored) {
    DKv k = MakeKv(kV1, kV2, {0, 130, 40}, {0, 3, 4}, 4, 1);
    KvMakeParallelogram(k);
    ExpectNear(Vtx(k, 3), {0, 130, 40});
    ExpectNear(Vtx(k, 4), {0, 30, 40});

    k = MakeKv(kV1, kV2, {0, 130, 40}, {0, 3, 4}, 4, 0);
    KvMakeParallelogram(k);
    ExpectNear(Vtx(k, 3), {0, 70, -40});
    ExpectNear(Vtx(k, 4), {0, -30, -40});
}

TEST(KvMakeTrapezium, TopSideBecomesParallelAndKeepsItsLength) {
    DKv k = MakeKv(kV1, kV2, {0, 80, 50}, {0, 10, 60}, 5, 1);
    KvMakeTrapezium(k);
    const double top = std::sqrt(70.0 * 70 + 10 * 10);
    ExpectNear(Vtx(k, 3), {0, 80, 50});
    ExpectNear(Vtx(k, 4), {0, 80 - top, 50});
}

TEST(KvMakeTrapezium, MirrorsInTheLineOfSide1) {
    DKv k = MakeKv(kV1, kV2, {0, 80, 50}, {0, 10, 60}, 5, 0);
    KvMakeTrapezium(k);
    const double top = std::sqrt(70.0 * 70 + 10 * 10);
    ExpectNear(Vtx(k, 3), {0, 80, -50});
    ExpectNear(Vtx(k, 4), {0, 80 - top, -50});

    // In space: the mirror image in the 3D line of side 1 (the Y axis).
    k = MakeKv(kV1, kV2, {30, 80, 50}, {30, 20, 50}, 5, 0);
    KvMakeTrapezium(k);
    ExpectNear(Vtx(k, 3), {-30, 80, -50});
    ExpectNear(Vtx(k, 4), {-30, 20, -50});
}

TEST(KvMakeTrapezium, Side1WithoutLengthPutsVertex4OnVertex3) {
    DKv k = MakeKv(kV1, kV1, {0, 80, 50}, {0, 10, 60}, 5, 1);
    KvMakeTrapezium(k);
    ExpectNear(Vtx(k, 4), {0, 80, 50});
    EXPECT_TRUE(test::NonFiniteDoubles(k).empty());
}

TEST(KvSetHeight, MovesTheOppositeVerticesToTheTypedDistance) {
    DKv k = MakeKv(kV1, kV2, {0, 90, 30}, {0, 10, -20}, 6, 0);
    k.Height.v = 50;
    KvSetHeight(k);
    ExpectNear(Vtx(k, 3), {0, 90, 50});
    ExpectNear(Vtx(k, 4), {0, 10, -50});  // keeps its side of side 1
    ExpectNear(Vtx(k, 2), kV2);

    // Side 1 in space: the foot of vertex 4 is vertex 1.
    k = MakeKv(kV1, {60, 80, 0}, {60, 80, 30}, {0, 0, 30}, 6, 0);
    k.Height.v = 50;
    KvSetHeight(k);
    ExpectNear(Vtx(k, 4), {0, 0, 50});
    ExpectNear(Vtx(k, 3), {60, 80, 50});
}

TEST(KvSetHeight, VertexOnTheLineOfSide1StaysAtItsFoot) {
    DKv k = MakeKv(kV1, kV2, {0, 90, 30}, {0, 10, 0}, 6, 0);
    k.Height.v = 50;
    KvSetHeight(k);
    ExpectNear(Vtx(k, 4), {0, 10, 0});

    k = MakeKv(kV1, kV1, {0, 90, 30}, {0, 10, 0}, 6, 0);  // side 1 without length
    k.Height.v = 50;
    KvSetHeight(k);
    EXPECT_TRUE(test::NonFiniteDoubles(k).empty());
}
