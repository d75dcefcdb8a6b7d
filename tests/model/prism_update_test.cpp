#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>

#include "model/geometry.h"
#include "model/update.h"
#include "vec_near.h"
#include "polyhedron_make.h"

using namespace pelmar;
using pelmar::test::ExpectNear;
using pelmar::test::MakePrism3;
using pelmar::test::MakePrism4;
using pelmar::test::StandardCube;
using pelmar::test::StandardPrism3;

namespace {

template <class P>
Vec3 L(const P& p, std::size_t k) {
    return Pos(p.Base[1].S[k].P1);
}
template <class P>
Vec3 U(const P& p, std::size_t k) {
    return Pos(p.Base[2].S[k].P1);
}
template <class P>
Vec3 Edge(const P& p) {
    return {p.EdgeX.v, p.EdgeY.v, p.EdgeZ.v};
}

// A parallelepiped over an arbitrary plane base (type 4 of the four-sided
// prism keeps the base as it is).
DPr4 Slanted(std::uint8_t typ) {
    return MakePrism4({{{10, 0, 0}, {12, 50, 0}, {-20, 45, 0}, {-25, 3, 0}}}, {4, -6, 30}, typ, 1);
}

// ---------------------------------------------------------------------------
// Edge vector, upper base and sides

TEST(Prism4Update, CubeStandsOnTheLowerBaseOnTheOldSide) {
    for (double side : {1.0, -1.0}) {
        DPr4 p = StandardCube(1);
        p.EdgeX.v = 0;
        p.EdgeY.v = 0;
        p.EdgeZ.v = 7 * side;
        for (std::size_t k = 1; k <= 4; ++k) pelmar::test::PlaceVertex(p.Base[2].S[k].P1, L(p, k) + Vec3{0, 0, 7 * side});
        UpdatePrism4(p, 0);
        ExpectNear(Edge(p), {0, 0, 40 * side}, 1e-9);
        EXPECT_EQ(p.EdgeLen.v, 40);
        for (std::size_t k = 1; k <= 4; ++k) ExpectNear(U(p, k), L(p, k) + Vec3{0, 0, 40 * side}, 1e-9);
        ExpectNear(L(p, 3), {0, 40, 0}, 1e-9);
        EXPECT_NEAR(p.InSphere.Radius.v, 20, 1e-9);
        EXPECT_NEAR(p.OutSphere.Radius.v, 20 * std::sqrt(3.0), 1e-6);  // 34.641
        ExpectNear(Pos(p.OutSphere.Center), {20, 20, 20 * side}, 1e-9);
        ExpectNear(Pos(p.InSphere.Center), {20, 20, 20 * side}, 1e-9);
    }
}

TEST(Prism4Update, SidesJoinLowerAndUpperVertices) {
    DPr4 p = Slanted(4);
    UpdatePrism4(p, 0);
    for (std::size_t k = 1; k <= 4; ++k) {
        const std::size_t k1 = k % 4 + 1;
        ExpectNear(Pos(p.Side[k].S[1].P1), L(p, k), 0);
        ExpectNear(Pos(p.Side[k].S[2].P1), U(p, k), 0);
        ExpectNear(Pos(p.Side[k].S[3].P1), U(p, k1), 0);
        ExpectNear(Pos(p.Side[k].S[4].P1), L(p, k1), 0);
        ExpectNear(U(p, k), L(p, k) + Vec3{4, -6, 30}, 1e-9);
    }
}

TEST(Prism4Update, EdgeComponentsAndLengthAreKeptToThousandths) {
    DPr4 p = Slanted(3);
    p.EdgeX.v = 12.3456;
    p.EdgeY.v = 0.0004;
    p.EdgeZ.v = 20;
    UpdatePrism4(p, 0);
    EXPECT_EQ(p.EdgeX.v, 12.346);
    EXPECT_EQ(p.EdgeY.v, 0);
    EXPECT_EQ(p.EdgeLen.v, Round3(std::hypot(12.3456, 20.0)));
}

TEST(Prism4Update, TypeFourTakesTheUpperBaseTypeFromTheLowerBase) {
    DPr4 p = Slanted(4);
    p.Base[1].Typ.v = 6;
    p.Base[2].Typ.v = 7;
    UpdatePrism4(p, 0);
    EXPECT_EQ(p.Base[1].Typ.v, 6);
    EXPECT_EQ(p.Base[2].Typ.v, 6);
}

TEST(Prism4Update, LinkedVertexMakesTheFreeTypeAndKeepsTheUpperVertices) {
    DPr4 p = StandardCube(1);
    pelmar::test::PlaceVertex(p.Base[2].S[3].P1, {1, 50, 55});
    p.Base[1].S[2].P1.Link.b[0] = 1;
    UpdatePrism4(p, 0);
    EXPECT_EQ(p.Typ.v, 5);
    EXPECT_EQ(p.Base[1].Typ.v, 7);
    EXPECT_EQ(p.Base[2].Typ.v, 7);
    ExpectNear(U(p, 3), {1, 50, 55}, 0);
    ExpectNear(Pos(p.Side[2].S[3].P1), {1, 50, 55}, 0);
    EXPECT_FALSE(p.Typ.e);
    EXPECT_FALSE(p.Base[1].S[2].P1.X.e);
    EXPECT_FALSE(p.Base[1].S[1].Length.e);
    EXPECT_FALSE(p.Base[2].S[1].Angle.e);
    EXPECT_FALSE(p.Base[1].Typ.e);
    EXPECT_FALSE(p.Base[2].Typ.e);
}

TEST(Prism3Update, LinkedVertexMakesTheFreeType) {
    DPr3 p = StandardPrism3(1);
    p.Base[2].S[1].P1.Link.b[0] = 1;
    pelmar::test::PlaceVertex(p.Base[2].S[1].P1, {33, 1, 44});
    UpdatePrism3(p, 0);
    EXPECT_EQ(p.Typ.v, 3);
    EXPECT_EQ(p.Base[1].Typ.v, 4);
    EXPECT_EQ(p.Base[2].Typ.v, 4);
    ExpectNear(U(p, 1), {33, 1, 44}, 0);
    EXPECT_FALSE(p.Base[2].S[1].P1.Z.e);
    EXPECT_FALSE(p.Typ.e);
}

TEST(Prism3Update, RegularPrismHasAPerpendicularEdge) {
    DPr3 p = StandardPrism3(1);
    p.EdgeX.v = 10;
    p.EdgeZ.v = 20;
    UpdatePrism3(p, 0);
    ExpectNear(Edge(p), {0, 0, Round3(std::hypot(10.0, 20.0))}, 1e-9);
    EXPECT_EQ(p.Base[1].Typ.v, 1);
    EXPECT_EQ(p.Base[2].Typ.v, 1);
    for (auto& s : p.Side) EXPECT_EQ(s.Typ.v, 2);
    ExpectNear(L(p, 3), {4.019, 15, 0}, 0.002);
}

// ---------------------------------------------------------------------------
// Spheres

TEST(Prism3Spheres, InscribedSphereOnlyWhenTheHeightFitsTheBase) {
    for (double h : {17.32, 30.0}) {
        DPr3 p = StandardPrism3(1);
        p.EdgeZ.v = h;
        p.InSphereOn.v = p.OutSphereOn.v = true;
        UpdatePrism3(p, 0);
        const bool fits = h < 20;  // |h/2 - 30/(2√3)| < 1
        EXPECT_EQ(p.InSphereOn.e, fits);
        EXPECT_EQ(p.InSphereOn.v, fits);  // a sphere that does not fit is switched off
        EXPECT_TRUE(p.OutSphereOn.e);
        EXPECT_TRUE(p.OutSphereOn.v);
        EXPECT_NEAR(p.InSphere.Radius.v, Round3(h / 2), 1e-12);
    }
}

// The circumscribed sphere follows the prism in the same update: its centre
// is halfway along the edge above the lower base's circumcentre (for the
// right prism of type 1 the point equidistant from all six vertices).
TEST(Prism3Spheres, CircumscribedSphereDoesNotLagBehind) {
    for (std::uint8_t typ : {1, 2}) {
        SCOPED_TRACE(int(typ));
        DPr3 p = StandardPrism3(1);
        p.Typ.v = typ;
        UpdatePrism3(p, 0);
        // Move the whole prism and tilt its edge, then update once.
        for (std::size_t k = 1; k <= 3; ++k) {
            pelmar::test::PlaceVertex(p.Base[1].S[k].P1, L(p, k) + Vec3{-15, 25, 10});
            pelmar::test::PlaceVertex(p.Base[1].S[k].P2, Pos(p.Base[1].S[k % 3 + 1].P1));
        }
        p.EdgeX.v = 6;
        UpdatePrism3(p, 0);
        const Vec3 c = Pos(p.OutSphere.Center);
        ExpectNear(c, Pos(p.Base[1].Circ[1].Center) + Edge(p) * 0.5, 1e-6);
        ExpectNear(Pos(p.InSphere.Center), c, 0);
        if (typ != 1) continue;
        // Vertices are kept to thousandths, so the distances agree to about that.
        const double r = p.OutSphere.Radius.v;
        for (std::size_t k = 1; k <= 3; ++k) {
            EXPECT_NEAR(Norm(c - L(p, k)), r, 2e-3) << k;
            EXPECT_NEAR(Norm(c - U(p, k)), r, 2e-3) << k;
        }
    }
}

TEST(Prism3Spheres, FreeTypeUsesTheUpperBasesOwnCircle) {
    DPr3 p = MakePrism3({{{30, 0, 0}, {30, 30, 0}, {4, 15, 0}}}, {0, 0, 30}, 3, 1);
    pelmar::test::PlaceVertex(p.Base[2].S[1].P1, {30, 0, 30});
    pelmar::test::PlaceVertex(p.Base[2].S[2].P1, {30, 30, 30});
    pelmar::test::PlaceVertex(p.Base[2].S[3].P1, {4, 15, 30});
    p.EdgeX.v = p.EdgeY.v = p.EdgeZ.v = 0.5;  // the stored edge plays no part in the free type
    p.OutSphereOn.v = true;
    UpdatePrism3(p, 0);
    const Vec3 c1 = Pos(p.Base[1].Circ[1].Center), c2 = Pos(p.Base[2].Circ[1].Center);
    EXPECT_NEAR(c2.z, 30, 1e-6);
    ExpectNear(Pos(p.OutSphere.Center), (c1 + c2) * 0.5, 1e-6);
    EXPECT_FALSE(p.OutSphereOn.e);
    EXPECT_FALSE(p.OutSphereOn.v);
}

TEST(Prism4Spheres, SwitchesByType) {
    struct Row {
        std::uint8_t typ;
        bool out, in;
    };
    for (const Row r : {Row{1, true, true}, Row{2, true, false}, Row{3, false, false}, Row{4, false, false},
                        Row{5, false, false}}) {
        SCOPED_TRACE(int(r.typ));
        DPr4 p = Slanted(r.typ);
        p.OutSphereOn.v = p.InSphereOn.v = true;
        UpdatePrism4(p, 0);
        EXPECT_EQ(p.OutSphereOn.e, r.out);
        EXPECT_EQ(p.OutSphereOn.v, r.out);
        EXPECT_EQ(p.InSphereOn.e, r.in);
        EXPECT_EQ(p.InSphereOn.v, r.in);
        ExpectNear(Pos(p.OutSphere.Center), (L(p, 1) + U(p, 3)) * 0.5, 1e-9);
        EXPECT_NEAR(p.OutSphere.Radius.v, Norm(Pos(p.OutSphere.Center) - L(p, 1)), 1e-9);
        EXPECT_NEAR(p.InSphere.Radius.v, Round3(Norm(Edge(p)) / 2), 1e-12);
    }
}

TEST(Prism4Spheres, RectangularParallelepiped) {
    DPr4 p = MakePrism4({{{30, 0, 0}, {30, 50, 0}, {0, 50, 0}, {0, 0, 0}}}, {0, 0, 3}, 2, 1);
    p.Base[1].Side3.v = 1;
    p.EdgeLen.v = 99;
    UpdatePrism4(p, 0);
    ExpectNear(Edge(p), {0, 0, 3}, 1e-12);
    EXPECT_NEAR(p.OutSphere.Radius.v, std::sqrt(30.0 * 30 + 50 * 50 + 3 * 3) / 2, 1e-9);
    EXPECT_TRUE(p.EdgeLen.e);
    EXPECT_FALSE(p.EdgeX.e);
}

// ---------------------------------------------------------------------------
// View modes

template <class P>
void PresetPrismViews(P& p) {
    for (auto& b : p.Base) b.View.v = 2;
    for (auto& s : p.Side) s.View.v = 2;
    p.OutSphere.View.v = p.InSphere.View.v = 6;
    p.OutSphere.View.e = p.InSphere.View.e = false;
}

template <class P>
void ExpectPrismPartViews(const P& p, std::uint8_t view, bool flag) {
    for (const auto& b : p.Base) {
        EXPECT_EQ(b.View.v, view);
        EXPECT_EQ(b.View.e, flag);
    }
    for (const auto& s : p.Side) {
        EXPECT_EQ(s.View.v, view);
        EXPECT_EQ(s.View.e, flag);
    }
}

template <class P, class U>
void CheckViewTable(P (*make)(std::uint8_t), U update) {
    for (std::uint8_t mode = 1; mode <= 6; ++mode) {
        SCOPED_TRACE(int(mode));
        P p = make(mode);
        PresetPrismViews(p);
        update(p, 0);
        switch (mode) {
            case 1:
            case 2:
                ExpectPrismPartViews(p, mode, false);
                EXPECT_EQ(p.OutSphere.View.v, mode);
                EXPECT_EQ(p.InSphere.View.v, mode);
                EXPECT_FALSE(p.OutSphere.View.e || p.InSphere.View.e);
                EXPECT_EQ(p.Base[1].S[1].LineType.v, mode);
                EXPECT_EQ(p.Side[1].S[1].LineType.v, mode);
                break;
            case 3:
            case 4:
                ExpectPrismPartViews(p, mode == 3 ? 3 : 2, mode == 4);
                EXPECT_EQ(p.OutSphere.View.v, 6);
                EXPECT_EQ(p.InSphere.View.v, 6);
                EXPECT_TRUE(p.OutSphere.View.e && p.InSphere.View.e);
                break;
            default:
                ExpectPrismPartViews(p, 4, false);
                EXPECT_EQ(p.OutSphere.View.v, mode == 5 ? 5 : 6);
                EXPECT_EQ(p.InSphere.View.v, mode == 5 ? 2 : 6);
                EXPECT_FALSE(p.OutSphere.View.e || p.InSphere.View.e);
                break;
        }
    }
}

TEST(PrismViews, ViewTableOfThePartsAndSpheres) {
    CheckViewTable<DPr3>(StandardPrism3, [](DPr3& p, int r) { UpdatePrism3(p, r); });
    CheckViewTable<DPr4>(StandardCube, [](DPr4& p, int r) { UpdatePrism4(p, r); });
}

TEST(PrismViews, CubeHidesTheEdgesOfItsBackLeftLowerCorner) {
    for (std::uint8_t mode : {5, 6}) {
        SCOPED_TRACE(int(mode));
        const std::uint8_t h = mode == 5 ? 2 : 3;
        DPr4 p = StandardCube(mode);
        UpdatePrism4(p, 0);
        // Back (side 3), left (side 4) and lower faces look away; the three
        // edges between two of them meet at L4.
        for (std::size_t k = 1; k <= 4; ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ(p.Side[k].S[1].LineType.v, k == 4 ? h : 1);
            EXPECT_EQ(p.Base[1].S[k].LineType.v, k >= 3 ? h : 1);
            EXPECT_EQ(p.Base[2].S[k].LineType.v, 1);
            EXPECT_EQ(p.Side[k].Diag[1].LineType.v, k >= 3 ? h : 1);
            EXPECT_EQ(p.Side[k].Diag[2].LineType.v, k >= 3 ? h : 1);
            EXPECT_EQ(p.Base[1].S[k].P1.Disabled.v, mode == 6 && k == 4);
            EXPECT_FALSE(p.Side[k].S[1].LineType.e);
            EXPECT_FALSE(p.Base[2].S[k].LineType.e);
        }
        for (std::size_t i = 1; i <= 2; ++i) {
            EXPECT_EQ(p.Base[1].Diag[i].LineType.v, h);
            EXPECT_EQ(p.Base[2].Diag[i].LineType.v, 1);
            EXPECT_FALSE(p.Base[1].Diag[i].LineType.e);
        }
    }
}

TEST(PrismViews, TriangularPrismHidesItsBackLateralEdge) {
    for (std::uint8_t mode : {5, 6}) {
        SCOPED_TRACE(int(mode));
        const std::uint8_t h = mode == 5 ? 2 : 3;
        DPr3 p = StandardPrism3(mode);
        UpdatePrism3(p, 0);
        // Sides 2 and 3 and the lower base look away.
        const std::array<std::uint8_t, 3> lateral{1, 1, h}, lower{1, h, h}, diag{1, h, h};
        for (std::size_t k = 1; k <= 3; ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ(p.Side[k].S[1].LineType.v, lateral[k - 1]);
            EXPECT_EQ(p.Base[1].S[k].LineType.v, lower[k - 1]);
            EXPECT_EQ(p.Base[2].S[k].LineType.v, 1);
            EXPECT_EQ(p.Side[k].Diag[1].LineType.v, diag[k - 1]);
            EXPECT_EQ(p.Base[1].S[k].P1.Disabled.v, mode == 6 && k == 3);
        }
        for (std::size_t i = 1; i <= 5; ++i) {
            EXPECT_EQ(p.Base[1].Lines[i].LineType.v, h);
            EXPECT_EQ(p.Base[2].Lines[i].LineType.v, 1);
            EXPECT_FALSE(p.Base[2].Lines[i].LineType.e);
        }
    }
}

TEST(PrismViews, AutomaticModeWithCircumscribedSphereDashesEverything) {
    DPr4 p = StandardCube(5);
    p.OutSphereOn.v = true;
    UpdatePrism4(p, 0);
    for (std::size_t k = 1; k <= 4; ++k) {
        EXPECT_EQ(p.Side[k].S[1].LineType.v, 2);
        EXPECT_EQ(p.Side[k].Diag[1].LineType.v, 2);
        EXPECT_EQ(p.Base[1].S[k].LineType.v, 2);
        EXPECT_EQ(p.Base[2].S[k].LineType.v, 2);
    }
    EXPECT_EQ(p.Base[2].Diag[1].LineType.v, 2);

    DPr3 q = StandardPrism3(5);
    q.OutSphereOn.v = true;
    UpdatePrism3(q, 0);
    for (std::size_t k = 1; k <= 3; ++k) EXPECT_EQ(q.Base[2].S[k].LineType.v, 2);
    EXPECT_EQ(q.Base[2].Lines[4].LineType.v, 2);
}

TEST(PrismViews, OpaqueModeIgnoresTheCircumscribedSphere) {
    DPr4 p = StandardCube(6);
    p.OutSphereOn.v = true;
    UpdatePrism4(p, 0);
    for (std::size_t k = 1; k <= 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(p.Side[k].S[1].LineType.v, k == 4 ? 3 : 1);
        EXPECT_EQ(p.Base[2].S[k].LineType.v, 1);
    }
    EXPECT_EQ(p.Base[2].Diag[1].LineType.v, 1);
    EXPECT_EQ(p.Base[1].Diag[1].LineType.v, 3);
}

TEST(PrismViews, HiddenVertexIsShownAgainOutsideTheOpaqueMode) {
    for (std::uint8_t mode : {1, 2, 3, 4, 5}) {
        DPr4 p = StandardCube(6);
        UpdatePrism4(p, 0);
        ASSERT_TRUE(p.Base[1].S[4].P1.Disabled.v);
        p.View.v = mode;
        UpdatePrism4(p, 0);
        EXPECT_FALSE(p.Base[1].S[4].P1.Disabled.v) << int(mode);

        DPr3 q = StandardPrism3(6);
        UpdatePrism3(q, 0);
        ASSERT_TRUE(q.Base[1].S[3].P1.Disabled.v);
        q.View.v = mode;
        UpdatePrism3(q, 0);
        EXPECT_FALSE(q.Base[1].S[3].P1.Disabled.v) << int(mode);
    }
}

// ---------------------------------------------------------------------------
// Flags by role and type

namespace flags {

// Expected flag of a row: 0, 1, or kept (-1).
constexpr int K = -1;

struct Row {
    std::uint8_t typ;
    int out, in, edge, length, lower, upper;
};

void ExpectFlag(bool actual, int expected, bool preset, const char* what) {
    if (expected == K)
        EXPECT_EQ(actual, preset) << what << " kept";
    else
        EXPECT_EQ(actual, expected == 1) << what;
}

template <class P>
void PresetFlags(P& p, bool v) {
    p.OutSphereOn.e = p.InSphereOn.e = v;
    p.EdgeX.e = p.EdgeY.e = p.EdgeZ.e = p.EdgeLen.e = v;
    p.Base[1].Typ.e = p.Base[2].Typ.e = v;
    p.Typ.e = !v;
    p.ID.e = p.Layer.e = p.Thick.e = p.Color.e = p.ColorIndex.e = p.Disabled.e = !v;
}

template <class P, class U>
void CheckRow(P p, const Row& r, bool preset, U update) {
    SCOPED_TRACE(testing::Message() << "type " << int(r.typ) << ", preset " << preset);
    PresetFlags(p, preset);
    p.OutSphereOn.v = p.InSphereOn.v = true;
    update(p, 0);
    ExpectFlag(p.OutSphereOn.e, r.out, preset, "circumscribed on");
    ExpectFlag(p.InSphereOn.e, r.in, preset, "inscribed on");
    // A switch the user may not touch is off as well.
    EXPECT_EQ(p.OutSphereOn.v, p.OutSphereOn.e);
    EXPECT_EQ(p.InSphereOn.v, p.InSphereOn.e);
    ExpectFlag(p.EdgeX.e, r.edge, preset, "edge X");
    ExpectFlag(p.EdgeY.e, r.edge, preset, "edge Y");
    ExpectFlag(p.EdgeZ.e, r.edge, preset, "edge Z");
    ExpectFlag(p.EdgeLen.e, r.length, preset, "edge length");
    // Where the prism keeps a base's type flag, the base's own update decides it.
    if (r.lower != K) ExpectFlag(p.Base[1].Typ.e, r.lower, preset, "lower base type");
    if (r.upper != K) ExpectFlag(p.Base[2].Typ.e, r.upper, preset, "upper base type");
    EXPECT_TRUE(p.Typ.e);
    EXPECT_TRUE(p.ID.e && p.Layer.e && p.Thick.e && p.Color.e && p.ColorIndex.e && p.Disabled.e);
}

TEST(PrismFlags, RoleZeroSetsTheFlagsOfEachType) {
    // The regular triangular prism of edge 40 on a base of side 30 admits no
    // inscribed sphere (|20 - 30/(2√3)| > 1).
    for (const Row& r : {Row{1, 1, 0, 0, K, 0, K}, Row{2, 0, 0, 1, K, 1, K}, Row{3, 0, 0, 0, K, 0, 0}}) {
        for (bool preset : {false, true}) {
            DPr3 p = StandardPrism3(1);
            p.Typ.v = r.typ;
            CheckRow(p, r, preset, [](DPr3& q, int role) { UpdatePrism3(q, role); });
        }
    }
    for (const Row& r : {Row{1, 1, 1, 0, 0, 0, K}, Row{2, 1, 0, 0, 1, 0, K}, Row{3, 0, 0, 1, 1, 0, K},
                         Row{4, 0, 0, 1, 1, K, K}, Row{5, 0, 0, 0, K, 0, 0}}) {
        for (bool preset : {false, true})
            CheckRow(Slanted(r.typ), r, preset, [](DPr4& q, int role) { UpdatePrism4(q, role); });
    }
}

TEST(PrismFlags, OtherRolesSetNoFlag) {
    DPr4 p = Slanted(1);
    PresetFlags(p, false);
    p.Typ.e = p.ID.e = p.Disabled.e = false;
    p.OutSphereOn.v = true;
    p.View.v = 3;
    p.Base[1].View.e = true;
    UpdatePrism4(p, 1);
    EXPECT_FALSE(p.OutSphereOn.e || p.InSphereOn.e || p.EdgeX.e || p.EdgeY.e || p.EdgeZ.e || p.EdgeLen.e);
    EXPECT_FALSE(p.Typ.e || p.ID.e || p.Disabled.e);
    EXPECT_TRUE(p.OutSphereOn.v);
    // The view step is no role step: it runs for every caller.
    EXPECT_EQ(p.Base[1].View.v, 3);
    EXPECT_FALSE(p.Base[1].View.e);
    // The geometry is still recomputed.
    ExpectNear(U(p, 1) - L(p, 1), Edge(p), 1e-9);
    EXPECT_NEAR(Norm(Edge(p)), Norm(L(p, 2) - L(p, 1)), 1e-3);
}

// In the automatic mode the spheres get their views without touching the
// flags; the opaque mode leaves both alone.
TEST(PrismViews, AutomaticAndOpaqueModesKeepTheSpheresViewFlags) {
    for (std::uint8_t mode : {5, 6}) {
        SCOPED_TRACE(int(mode));
        DPr4 p = StandardCube(mode);
        p.OutSphere.View.v = p.InSphere.View.v = 3;
        p.OutSphere.View.e = p.InSphere.View.e = true;
        UpdatePrism4(p, 0);
        EXPECT_EQ(p.OutSphere.View.v, mode == 5 ? 5 : 3);
        EXPECT_EQ(p.InSphere.View.v, mode == 5 ? 2 : 3);
        EXPECT_TRUE(p.OutSphere.View.e && p.InSphere.View.e);
    }
}

}  // namespace flags

}  // namespace
