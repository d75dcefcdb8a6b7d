// Hit tests of the cylinder, cone, pyramids and prisms: on records placed in
// picture pixels, and on solids computed by their updates.
#include <gtest/gtest.h>

#include <cmath>

#include "editing/hit_fixture.h"
#include "editing/hit_test.h"
#include "model/geometry.h"
#include "model/polyhedron_make.h"
#include "model/round_make.h"
#include "model/update.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// Rounded picture position of a point record, and the midpoint of a segment.
std::array<int, 2> Px(const DPoint& p) {
    return {static_cast<int>(std::nearbyint(p.ScrX.v)), static_cast<int>(std::nearbyint(p.ScrY.v))};
}
std::array<int, 2> Mid(const DLine& l) {
    return {static_cast<int>(std::nearbyint((l.P1.ScrX.v + l.P2.ScrX.v) / 2)),
            static_cast<int>(std::nearbyint((l.P1.ScrY.v + l.P2.ScrY.v) / 2))};
}

// An upright cylinder in picture pixels: bases of semi-axes 60 x 20 centred at
// (200, 300) and (200, 100); the contour section is the silhouette, the main
// section's sides 1 and 3 are the generatrices at x = 170 and x = 230.
DZi Cylinder() {
    DZi z;
    z.Base[1] = Ellipse(200, 300, 60, 20, false);
    z.Base[2] = Ellipse(200, 100, 60, 20, false);
    z.Sec[2] = Quad(140, 300, 260, 300, 260, 100, 140, 100);
    z.Sec[1] = Quad(170, 300, 170, 100, 230, 100, 230, 300);
    return z;
}

TEST(HitZi, Codes) {
    ExpectCodes(HitZi, Cylinder(),
                {{200, 200, 1, "inside the contour"},
                 {141, 200, 1, "contour side"},
                 {260, 300, 3, "lower base handle over the contour vertex"},
                 {200, 100, 2, "upper base centre"},
                 {200, 80, 2, "upper base handle"},
                 {250, 110, 2, "inside the upper base"},
                 {200, 300, 3, "lower base centre"},
                 {200, 320, 3, "lower base handle, below the contour"},
                 {170, 200, 4, "main side 1"},
                 {170, 300, 4, "main side 1 over the lower base"},
                 {230, 200, 5, "main side 3"},
                 {230, 100, 5, "main side 3 over the upper base"},
                 {300, 200, 0, "outside"}});
    // The sections are hit whether they are shown or not.
    DZi z = Cylinder();
    for (auto& on : z.SecOn) on.v = false;
    z.View.v = 3;
    EXPECT_EQ(HitZi(200, 200, z), 1);
    EXPECT_EQ(HitZi(170, 200, z), 4);
    // Side 3 over side 1: the later code wins.
    z.Sec[1] = Quad(170, 300, 170, 100, 170, 100, 170, 300);
    EXPECT_EQ(HitZi(170, 200, z), 5);
}

// A cone in picture pixels: base 60 x 20 at (200, 300), apex (200, 100); the
// main section runs from (150, 310) to (250, 290) on the base.
DKo Cone() {
    DKo k;
    k.Base = Ellipse(200, 300, 60, 20, false);
    k.Axis = Seg(At(200, 300), At(200, 100));
    k.Sec[2] = Tri(140, 300, 260, 300, 200, 100);
    k.Sec[1] = Tri(150, 310, 250, 290, 200, 100);
    return k;
}

TEST(HitKo, Codes) {
    ExpectCodes(HitKo, Cone(),
                {{200, 200, 1, "inside the contour"},
                 {171, 200, 1, "contour side"},
                 {200, 300, 2, "base centre"},
                 {200, 318, 2, "inside the base, below the contour"},
                 {140, 300, 2, "base handle over the contour vertex"},
                 {200, 100, 3, "apex"},
                 {202, 103, 3, "near the apex"},
                 {250, 290, 4, "main vertex 2"},
                 {150, 310, 5, "main vertex 1"},
                 {400, 200, 0, "outside"}});
    // Main vertex 1 on the apex wins over it.
    DKo k = Cone();
    k.Sec[1].S[1].P1 = At(200, 100);
    EXPECT_EQ(HitKo(200, 100, k), 5);
    // The main section's vertex 3 and the axis' end 1 are no handles.
    k = Cone();
    k.Sec[1].S[2].P2 = At(100, 200);
    k.Sec[1].S[3].P1 = At(100, 200);
    k.Axis.P1 = At(100, 250);
    EXPECT_EQ(HitKo(100, 200, k), 0);
    EXPECT_EQ(HitKo(100, 250, k), 0);
}

template <class P>
P PyramidAt(double apexY) {
    P p;
    if constexpr (std::is_same_v<P, DPi3>) {
        p.Base = Tri(100, 300, 300, 300, 200, 250);
        p.Face[1] = Tri(100, 300, 300, 300, 200, apexY);
        p.Face[2] = Tri(300, 300, 200, 250, 200, apexY);
        p.Face[3] = Tri(200, 250, 100, 300, 200, apexY);
    } else {
        p.Base = Quad(100, 300, 300, 300, 250, 250, 150, 250);
        p.Face[1] = Tri(100, 300, 300, 300, 200, apexY);
        p.Face[2] = Tri(300, 300, 250, 250, 200, apexY);
        p.Face[3] = Tri(250, 250, 150, 250, 200, apexY);
        p.Face[4] = Tri(150, 250, 100, 300, 200, apexY);
    }
    p.HeightLine = Seg(At(200, 280), At(200, apexY));
    return p;
}

template <class P, class F>
void PyramidCodes(F hit) {
    const P p = PyramidAt<P>(100);
    ExpectCodes(hit, p,
                {{200, 200, 1, "a face"},
                 {200, 290, 1, "the base"},
                 {200, 280, 1, "height end 1 is no handle"},
                 {200, 100, 2, "apex"},
                 {203, 102, 2, "near the apex"},
                 {400, 200, 0, "outside"}});
    // The base alone, the faces alone.
    P onlyBase = p;
    for (auto& f : onlyBase.Face) f = FarTri();
    EXPECT_EQ(hit(200, 290, onlyBase), 1);
    EXPECT_EQ(hit(200, 200, onlyBase), 0);
    P onlyFaces = p;
    if constexpr (std::is_same_v<P, DPi3>)
        onlyFaces.Base = FarTri();
    else
        onlyFaces.Base = FarQuad();
    EXPECT_EQ(hit(200, 200, onlyFaces), 1);
    EXPECT_EQ(hit(200, 100, onlyFaces), 2);
    // An apex that lies inside the base's picture still wins.
    const P low = PyramidAt<P>(280);
    EXPECT_EQ(hit(200, 280, low), 2);
    EXPECT_EQ(hit(200, 290, low), 1);
}

TEST(HitI3, Codes) { PyramidCodes<DPi3>(HitI3); }
TEST(HitI4, Codes) { PyramidCodes<DPi4>(HitI4); }

template <class P>
P Prism() {
    P p;
    if constexpr (std::is_same_v<P, DPr3>) {
        p.Base[1] = Tri(100, 300, 300, 300, 200, 250);
        p.Base[2] = Tri(100, 100, 300, 100, 200, 50);
        p.Side[1] = Quad(100, 300, 300, 300, 300, 100, 100, 100);
        p.Side[2] = Quad(300, 300, 200, 250, 200, 50, 300, 100);
        p.Side[3] = Quad(200, 250, 100, 300, 100, 100, 200, 50);
    } else {
        p.Base[1] = Quad(100, 300, 300, 300, 250, 250, 150, 250);
        p.Base[2] = Quad(100, 100, 300, 100, 250, 50, 150, 50);
        p.Side[1] = Quad(100, 300, 300, 300, 300, 100, 100, 100);
        p.Side[2] = Quad(300, 300, 250, 250, 250, 50, 300, 100);
        p.Side[3] = Quad(250, 250, 150, 250, 150, 50, 250, 50);
        p.Side[4] = Quad(150, 250, 100, 300, 100, 100, 150, 50);
    }
    return p;
}

template <class P, class F>
void PrismCodes(F hit) {
    const P p = Prism<P>();
    ExpectCodes(hit, p,
                {{200, 200, 1, "a side face"},
                 {100, 200, 1, "a lateral edge"},
                 {200, 270, 2, "base 1"},
                 {200, 300, 2, "base 1's edge over side 1"},
                 {200, 80, 3, "base 2"},
                 {100, 100, 3, "base 2's vertex over the side faces"},
                 {200, 30, 0, "above"},
                 {400, 200, 0, "outside"}});
    // Base 2 over base 1: the later code wins.
    P flat = p;
    flat.Base[2] = flat.Base[1];
    EXPECT_EQ(hit(200, 270, flat), 3);
}

TEST(HitR3, Codes) { PrismCodes<DPr3>(HitR3); }
TEST(HitR4, Codes) { PrismCodes<DPr4>(HitR4); }

// Solids computed by their updates: the handles lie where the records put
// their points.
TEST(HitSolidsComputed, CylinderAndCone) {
    DZi z = MakeCylinder({0, 0, 0}, {0, 0, 200}, 60, 1);
    UpdateCylinder(z, 0);
    const auto s1 = Mid(z.Sec[1].S[1]), s3 = Mid(z.Sec[1].S[3]);
    EXPECT_EQ(HitZi(s1[0], s1[1], z), 4);
    EXPECT_EQ(HitZi(s3[0], s3[1], z), 5);
    const auto up = Px(z.Base[2].Center), low = Px(z.Base[1].Center);
    EXPECT_EQ(HitZi(up[0], up[1], z), 2);
    EXPECT_EQ(HitZi(low[0], low[1], z), 3);
    EXPECT_EQ(HitZi((up[0] + low[0]) / 2, (up[1] + low[1]) / 2, z), 1);
    EXPECT_EQ(HitZi(up[0] + 500, up[1], z), 0);

    DKo k = MakeCone({0, 0, 0}, {0, 0, 200}, 60, 1);
    UpdateCone(k, 0);
    const auto apex = Px(k.Axis.P2), base = Px(k.Base.Center);
    const auto v1 = Px(k.Sec[1].S[1].P1), v2 = Px(k.Sec[1].S[1].P2);
    EXPECT_EQ(HitKo(apex[0], apex[1], k), 3);
    EXPECT_EQ(HitKo(base[0], base[1], k), 2);
    EXPECT_EQ(HitKo(v1[0], v1[1], k), 5);
    EXPECT_EQ(HitKo(v2[0], v2[1], k), 4);
    EXPECT_EQ(HitKo((apex[0] + base[0]) / 2, (apex[1] + base[1]) / 2, k), 1);
}

TEST(HitSolidsComputed, PyramidsAndPrisms) {
    DPi3 p3 = StandardPyramid3(1);
    UpdatePyramid3(p3, 0);
    const auto a3 = Px(p3.HeightLine.P2);
    EXPECT_EQ(HitI3(a3[0], a3[1], p3), 2);
    const auto m3 = Mid(p3.Face[1].S[1]);
    EXPECT_EQ(HitI3(m3[0], m3[1] + 8, p3) | HitI3(m3[0], m3[1] - 8, p3), 1);
    EXPECT_EQ(HitI3(a3[0], a3[1] + 300, p3), 0);

    DPi4 p4 = StandardPyramid4(1);
    UpdatePyramid4(p4, 0);
    const auto a4 = Px(p4.HeightLine.P2);
    EXPECT_EQ(HitI4(a4[0], a4[1], p4), 2);
    const auto b4 = Px(p4.Base.Center);
    EXPECT_EQ(HitI4(b4[0], b4[1], p4), 1);

    DPr4 cube = StandardCube(1);
    UpdatePrism4(cube, 0);
    // The cube's centre in the picture lies on side faces only; the middle of
    // an upper edge lies on base 2 and the middle of a lower one on base 1.
    const auto lo = Mid(cube.Base[1].S[1]), hi = Mid(cube.Base[2].S[1]);
    EXPECT_EQ(HitR4(hi[0], hi[1], cube), 3);
    EXPECT_EQ(HitR4(lo[0], lo[1], cube), 2);
    EXPECT_EQ(HitR4((lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2, cube), 1);

    DPr3 pr = StandardPrism3(1);
    UpdatePrism3(pr, 0);
    const auto l3 = Mid(pr.Base[1].S[1]), h3 = Mid(pr.Base[2].S[1]);
    EXPECT_EQ(HitR3(h3[0], h3[1], pr), 3);
    EXPECT_EQ(HitR3(l3[0], l3[1], pr), 2);
    EXPECT_EQ(HitR3((l3[0] + h3[0]) / 2, (l3[1] + h3[1]) / 2, pr), 1);
}

TEST(HiddenParts, SolidsInEveryViewModeAlike) {
    for (std::uint8_t view = 1; view <= 6; ++view) {
        DZi z = MakeCylinder({0, 0, 0}, {0, 0, 200}, 60, 1);
        UpdateCylinder(z, 0);
        DZi hidden = z;
        hidden.View.v = view;
        hidden.Layer.v = 9;
        hidden.Disabled.v = true;
        for (auto& on : hidden.SecOn) on.v = false;
        for (auto& b : hidden.Base) b.ViewType.v = 3;
        const auto h = [](const DZi& r) { return [&r](int x, int y) { return HitZi(x, y, r); }; };
        EXPECT_EQ(CodeMap(h(z), -150, -150, 150, 250, 4), CodeMap(h(hidden), -150, -150, 150, 250, 4)) << +view;
    }
}

}  // namespace
