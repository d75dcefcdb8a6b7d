#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "model/geometry.h"
#include "model/update.h"
#include "vec_near.h"
#include "polyhedron_make.h"

using namespace pelmar;
using pelmar::test::ExpectNear;
using pelmar::test::MakePyramid3;
using pelmar::test::MakePyramid4;
using pelmar::test::StandardPyramid3;
using pelmar::test::StandardPyramid4;

namespace {

Vec3 Apex(const DPi3& p) { return Pos(p.HeightLine.P2); }
Vec3 Apex(const DPi4& p) { return Pos(p.HeightLine.P2); }
template <class P>
Vec3 V(const P& p, std::size_t k) {
    return Pos(p.Base.S[k].P1);
}

// Equilateral base of side 60 on the ground, centroid at the origin.
DPi3 Tetrahedron(double apexZ, std::uint8_t typ) {
    const double r = 60 / std::sqrt(3.0);
    DPi3 p = MakePyramid3({{{r / 2, -30, 0}, {r / 2, 30, 0}, {-r, 0, 0}}}, {0, 0, apexZ}, typ, 1);
    p.Base.Typ.v = 1;
    p.Base.Side3.v = 1;
    return p;
}

// ---------------------------------------------------------------------------
// Apex, foot and orientation

TEST(Pyramid3Update, RegularTetrahedronApexAboveCentreOnItsSide) {
    for (double side : {1.0, -1.0}) {
        DPi3 p = Tetrahedron(10 * side, 1);
        UpdatePyramid3(p, 0);
        const double h = std::sqrt(2.0 / 3.0) * 60;  // ≈ 48.99
        ExpectNear(Apex(p), {0, 0, side * h}, 0.01);
        ExpectNear(Pos(p.HeightLine.P1), {0, 0, 0}, 0.01);
        EXPECT_NEAR(p.HeightLine.Length.v, h, 0.01);
        EXPECT_EQ(p.Orient.v, side > 0 ? 2 : 1);
        for (std::size_t k = 1; k <= 3; ++k) {
            EXPECT_EQ(p.Face[k].Typ.v, 1);
            EXPECT_NEAR(p.Face[k].S[1].Length.v, 60, 0.01) << k;
        }
        EXPECT_FALSE(p.HeightLine.Length.e);
        EXPECT_FALSE(p.Base.Typ.e);
    }
}

TEST(Pyramid3Update, RegularPyramidUsesTheHeightsAbsoluteValue) {
    DPi3 p = Tetrahedron(5, 2);
    p.HeightLine.Length.v = -35;
    UpdatePyramid3(p, 0);
    ExpectNear(Apex(p), {0, 0, 35}, 0.01);
    EXPECT_NEAR(p.HeightLine.Length.v, 35, 0.01);
    EXPECT_TRUE(p.HeightLine.Length.e);
    for (auto& f : p.Face) EXPECT_EQ(f.Typ.v, 2);
}

TEST(Pyramid3Update, FacesJoinBaseVerticesAndApex) {
    DPi3 p = StandardPyramid3(1);
    UpdatePyramid3(p, 0);
    for (std::size_t k = 1; k <= 3; ++k) {
        ExpectNear(Pos(p.Face[k].S[1].P1), V(p, k), 0);
        ExpectNear(Pos(p.Face[k].S[2].P1), Apex(p), 0);
        ExpectNear(Pos(p.Face[k].S[3].P1), V(p, k % 3 + 1), 0);
    }
    // Arbitrary pyramid: the apex stays, the foot is straight below it.
    ExpectNear(Apex(p), {0, 0, 60}, 0);
    ExpectNear(Pos(p.HeightLine.P1), {0, 0, 0}, 1e-9);
    EXPECT_EQ(p.Orient.v, 2);
}

TEST(Pyramid3Update, DegenerateBaseLeavesTheApex) {
    DPi3 p = MakePyramid3({{{0, 0, 0}, {0, 30, 0}, {0, 60, 0}}}, {5, 6, 7}, 2, 1);
    p.Base.Typ.v = 4;
    UpdatePyramid3(p, 0);
    ExpectNear(Apex(p), {5, 6, 7}, 0);
}

TEST(Pyramid3Update, LinkedApexMakesAnArbitraryPyramid) {
    DPi3 p = Tetrahedron(20, 1);
    p.HeightLine.P2.Link.b[0] = 1;
    UpdatePyramid3(p, 0);
    EXPECT_EQ(p.Typ.v, 3);
    EXPECT_EQ(p.Base.Typ.v, 4);
    ExpectNear(Apex(p), {0, 0, 20}, 0);
    EXPECT_FALSE(p.HeightLine.Length.e);
    EXPECT_FALSE(p.HeightLine.Angle.e);
    EXPECT_FALSE(p.Typ.e);
    EXPECT_FALSE(p.Orient.e);
    EXPECT_FALSE(p.Base.Typ.e);
    const DPoint& a = p.HeightLine.P2;
    EXPECT_FALSE(a.X.e || a.Y.e || a.Z.e || a.ScrX.e || a.ScrY.e);
    EXPECT_TRUE(p.ID.e && p.Layer.e && p.Disabled.e);
}

TEST(Pyramid4Update, RegularPyramidApexAboveDiagonalMidpoint) {
    for (double side : {1.0, -1.0}) {
        DPi4 p = StandardPyramid4(1);
        p.HeightLine.Length.v = -40;
        pelmar::test::PlaceVertex(p.HeightLine.P2, {3, 4, side * 5});
        UpdatePyramid4(p, 0);
        ExpectNear(Apex(p), {0, 0, side * 40}, 1e-9);
        ExpectNear(Pos(p.HeightLine.P1), {0, 0, 0}, 1e-9);
        EXPECT_EQ(p.Orient.v, side > 0 ? 2 : 1);
        EXPECT_TRUE(p.Orient.e);
        for (auto& f : p.Face) EXPECT_EQ(f.Typ.v, 2);
        EXPECT_FALSE(p.Base.Typ.e);
    }
}

TEST(Pyramid4Update, PyramidOfType2KeepsTheApexAndMakesTheBasePlane) {
    DPi4 p = MakePyramid4({{{20, -20, 0}, {20, 20, 0}, {-20, 30, 0}, {-25, -20, 0}}}, {7, -3, 33}, 2, 1);
    p.Base.Typ.v = 7;
    UpdatePyramid4(p, 0);
    EXPECT_EQ(p.Base.Typ.v, 6);
    EXPECT_TRUE(p.Base.Typ.e);
    ExpectNear(Apex(p), {7, -3, 33}, 0);
    EXPECT_NEAR(p.HeightLine.Length.v, 33, 1e-9);
    EXPECT_TRUE(p.Orient.e);
}

TEST(Pyramid4Update, LinkedBaseVertexForcesTheArbitraryType) {
    DPi4 p = StandardPyramid4(1);
    p.Base.S[2].P1.Link.b[0] = 1;
    UpdatePyramid4(p, 0);
    EXPECT_EQ(p.Typ.v, 3);
    EXPECT_EQ(p.Base.Typ.v, 7);
    EXPECT_FALSE(p.HeightLine.Length.e);
    EXPECT_FALSE(p.HeightLine.Angle.e);
    EXPECT_FALSE(p.Orient.e);
    EXPECT_FALSE(p.Base.Typ.e);
    EXPECT_FALSE(p.Base.S[2].P1.X.e);
    EXPECT_FALSE(p.Base.S[1].Length.e);
}

// ---------------------------------------------------------------------------
// Spheres

TEST(Pyramid3Spheres, RegularTetrahedron) {
    DPi3 p = Tetrahedron(10, 1);
    p.InSphereOn.v = true;
    UpdatePyramid3(p, 0);
    const double a = 60;
    const double h = std::sqrt(2.0 / 3.0) * a;
    EXPECT_NEAR(p.OutSphere.Radius.v, a * std::sqrt(6.0) / 4, 0.01);  // 36.742
    ExpectNear(Pos(p.OutSphere.Center), {0, 0, h - a * std::sqrt(6.0) / 4}, 0.01);
    EXPECT_NEAR(p.InSphere.Radius.v, a * std::sqrt(6.0) / 12, 0.01);  // 12.247
    ExpectNear(Pos(p.InSphere.Center), {0, 0, a * std::sqrt(6.0) / 12}, 0.01);
    EXPECT_EQ(p.OutSphere.ColorIndex.v, 9);
}

TEST(Pyramid3Spheres, RegularPyramid) {
    DPi3 p = Tetrahedron(10, 2);
    p.HeightLine.Length.v = 50;
    UpdatePyramid3(p, 0);
    const double rc = 60 / std::sqrt(3.0), ri = rc / 2, h = 50;
    EXPECT_NEAR(p.OutSphere.Radius.v, (h * h + rc * rc) / (2 * h), 0.01);
    EXPECT_NEAR(p.InSphere.Radius.v, ri * h / (ri + std::hypot(ri, h)), 0.01);
    ExpectNear(Pos(p.InSphere.Center), {0, 0, p.InSphere.Radius.v}, 0.01);
}

TEST(Pyramid3Spheres, ArbitraryPyramidCircumscribedOnlyInscribedKept) {
    DPi3 p = StandardPyramid3(1);
    pelmar::test::PlaceVertex(p.HeightLine.P2, {10, -5, 45});
    pelmar::test::PlaceVertex(p.InSphere.Center, {1, 2, 3});
    p.InSphere.Radius.v = 4;
    UpdatePyramid3(p, 0);
    const Vec3 c = Pos(p.OutSphere.Center);
    const double r = p.OutSphere.Radius.v;
    EXPECT_NEAR(Norm(c - Apex(p)), r, 0.01);
    for (std::size_t k = 1; k <= 3; ++k) EXPECT_NEAR(Norm(c - V(p, k)), r, 0.01) << k;
    ExpectNear(Pos(p.InSphere.Center), {1, 2, 3}, 0);
    EXPECT_EQ(p.InSphere.Radius.v, 4);
}

TEST(Pyramid3Spheres, FlatPyramidKeepsTheCircumscribedSphere) {
    DPi3 p = StandardPyramid3(1);
    pelmar::test::PlaceVertex(p.HeightLine.P2, {0, 0, 0});
    pelmar::test::PlaceVertex(p.OutSphere.Center, {1, 2, 3});
    p.OutSphere.Radius.v = 4;
    UpdatePyramid3(p, 0);
    ExpectNear(Pos(p.OutSphere.Center), {1, 2, 3}, 0);
    EXPECT_EQ(p.OutSphere.Radius.v, 4);
}

TEST(Pyramid4Spheres, RegularPyramid) {
    DPi4 p = StandardPyramid4(1);
    UpdatePyramid4(p, 0);
    EXPECT_NEAR(p.OutSphere.Radius.v, 30, 1e-9);  // (40² + (20√2)²) / 80
    ExpectNear(Pos(p.OutSphere.Center), {0, 0, 10}, 1e-9);
    const double r = 20.0 * 40 / (20 + std::hypot(20.0, 40.0));  // ≈ 12.36
    EXPECT_NEAR(p.InSphere.Radius.v, r, 1e-6);
    ExpectNear(Pos(p.InSphere.Center), {0, 0, r}, 1e-6);
    EXPECT_TRUE(p.OutSphereOn.e);
    EXPECT_TRUE(p.InSphereOn.e);
}

TEST(Pyramid4Spheres, OtherTypesTakeTheCentreOnTheHeightAndSwitchSpheresOff) {
    for (std::uint8_t typ : {2, 3}) {
        DPi4 p = MakePyramid4({{{20, -20, 0}, {20, 20, 0}, {-20, 20, 0}, {-20, -20, 0}}}, {5, 5, 30}, typ, 1);
        p.OutSphereOn.v = p.InSphereOn.v = true;
        UpdatePyramid4(p, 0);
        const Vec3 c = Pos(p.OutSphere.Center);
        EXPECT_NEAR(c.x, 5, 1e-9);
        EXPECT_NEAR(c.y, 5, 1e-9);
        EXPECT_NEAR(Norm(c - V(p, 1)), p.OutSphere.Radius.v, 1e-9);
        EXPECT_NEAR(Norm(c - Apex(p)), p.OutSphere.Radius.v, 1e-9);
        // The switches cannot be changed for these types, so the spheres go off.
        EXPECT_FALSE(p.OutSphereOn.e);
        EXPECT_FALSE(p.InSphereOn.e);
        EXPECT_FALSE(p.OutSphereOn.v);
        EXPECT_FALSE(p.InSphereOn.v);
    }
}

// ---------------------------------------------------------------------------
// View modes 1 to 4

template <class P>
void ExpectPartViews(const P& p, std::uint8_t view, bool flag) {
    EXPECT_EQ(p.Base.View.v, view);
    EXPECT_EQ(p.Base.View.e, flag);
    for (const auto& f : p.Face) {
        EXPECT_EQ(f.View.v, view);
        EXPECT_EQ(f.View.e, flag);
    }
}

template <class P>
void PresetViews(P& p) {
    p.Base.View.v = 2;
    for (auto& f : p.Face) f.View.v = 2;
    p.HeightLine.LineType.v = 2;
    p.OutSphere.View.v = 6;
    p.InSphere.View.v = 6;
    p.OutSphere.View.e = p.InSphere.View.e = false;
}

template <class P, class U>
void CheckPlainModes(P (*make)(std::uint8_t), U update) {
    for (std::uint8_t mode : {1, 2}) {
        P p = make(mode);
        PresetViews(p);
        update(p, 0);
        ExpectPartViews(p, mode, false);
        EXPECT_EQ(p.HeightLine.LineType.v, mode);
        EXPECT_FALSE(p.HeightLine.LineType.e);
        EXPECT_EQ(p.OutSphere.View.v, mode);
        EXPECT_EQ(p.InSphere.View.v, mode);
        EXPECT_FALSE(p.OutSphere.View.e);
        EXPECT_FALSE(p.InSphere.View.e);
        // Sides follow the face's view through the triangle update.
        EXPECT_EQ(p.Base.S[1].LineType.v, mode);
        EXPECT_EQ(p.Face[1].S[1].LineType.v, mode);
    }
    {
        P p = make(3);
        PresetViews(p);
        update(p, 0);
        ExpectPartViews(p, 3, false);
        EXPECT_EQ(p.HeightLine.LineType.v, 3);
        EXPECT_FALSE(p.HeightLine.LineType.e);
        EXPECT_EQ(p.OutSphere.View.v, 6);
        EXPECT_TRUE(p.OutSphere.View.e);
        EXPECT_TRUE(p.InSphere.View.e);
    }
    {
        P p = make(4);
        PresetViews(p);
        update(p, 0);
        ExpectPartViews(p, 2, true);
        EXPECT_EQ(p.HeightLine.LineType.v, 2);
        EXPECT_TRUE(p.HeightLine.LineType.e);
        EXPECT_EQ(p.OutSphere.View.v, 6);
        EXPECT_TRUE(p.OutSphere.View.e);
        EXPECT_TRUE(p.InSphere.View.e);
    }
    for (std::uint8_t mode : {5, 6}) {
        P p = make(mode);
        PresetViews(p);
        update(p, 0);
        ExpectPartViews(p, 4, false);
        EXPECT_EQ(p.OutSphere.View.v, mode == 5 ? 5 : 6);
        EXPECT_EQ(p.InSphere.View.v, mode == 5 ? 2 : 6);
        EXPECT_FALSE(p.HeightLine.LineType.e);
    }
}

TEST(PyramidViews, ModesOneToFourSetTheViewsOfThePartsAndSpheres) {
    CheckPlainModes<DPi3>(StandardPyramid3, [](DPi3& p, int r) { UpdatePyramid3(p, r); });
    CheckPlainModes<DPi4>(StandardPyramid4, [](DPi4& p, int r) { UpdatePyramid4(p, r); });
}

// ---------------------------------------------------------------------------
// Modes 5 and 6: the hidden-edge step on the standard pyramids

struct Pyr3Edges {
    std::array<std::uint8_t, 3> lateral, base, faceLines;
    std::uint8_t height, baseLines;
};

Pyr3Edges Edges(const DPi3& p) {
    Pyr3Edges e{};
    for (std::size_t k = 1; k <= 3; ++k) {
        e.lateral[k - 1] = p.Face[k].S[1].LineType.v;
        e.base[k - 1] = p.Base.S[k].LineType.v;
        e.faceLines[k - 1] = p.Face[k].Lines[3].LineType.v;
        for (std::size_t i = 1; i <= 5; ++i) EXPECT_EQ(p.Face[k].Lines[i].LineType.v, e.faceLines[k - 1]);
    }
    e.height = p.HeightLine.LineType.v;
    e.baseLines = p.Base.Lines[1].LineType.v;
    for (std::size_t i = 1; i <= 5; ++i) EXPECT_EQ(p.Base.Lines[i].LineType.v, e.baseLines);
    return e;
}

TEST(PyramidViews, TriangularPyramidHidesTheBackEdges) {
    for (std::uint8_t mode : {5, 6}) {
        const std::uint8_t h = mode == 5 ? 2 : 3;
        DPi3 p = StandardPyramid3(mode);
        UpdatePyramid3(p, 0);
        const Pyr3Edges e = Edges(p);
        // Faces 2 and 3 and the base look away: the edges between two of them
        // (V3-A, V2-V3, V3-V1) and the height inside the body are hidden.
        EXPECT_EQ(e.lateral, (std::array<std::uint8_t, 3>{1, 1, h}));
        EXPECT_EQ(e.base, (std::array<std::uint8_t, 3>{1, h, h}));
        EXPECT_EQ(e.height, h);
        EXPECT_EQ(e.baseLines, h);
        EXPECT_EQ(e.faceLines, (std::array<std::uint8_t, 3>{1, h, h}));
        EXPECT_FALSE(p.Face[3].S[1].LineType.e);
        EXPECT_FALSE(p.Base.S[1].LineType.e);
        EXPECT_FALSE(p.Face[1].Lines[1].LineType.e);
        // Only the opaque mode hides the back vertex; the front ones stay.
        EXPECT_EQ(p.Base.S[3].P1.Disabled.v, mode == 6);
        EXPECT_FALSE(p.Base.S[1].P1.Disabled.v);
        EXPECT_FALSE(p.Base.S[2].P1.Disabled.v);
    }
}

TEST(PyramidViews, QuadrangularPyramidHidesTheBackEdges) {
    for (std::uint8_t mode : {5, 6}) {
        const std::uint8_t h = mode == 5 ? 2 : 3;
        DPi4 p = StandardPyramid4(mode);
        UpdatePyramid4(p, 0);
        for (std::size_t k = 1; k <= 4; ++k) {
            SCOPED_TRACE(k);
            const bool back = k >= 3;  // faces 3 (back) and 4 (left) look away
            EXPECT_EQ(p.Face[k].S[1].LineType.v, k == 4 ? h : 1);  // only V4-A lies between them
            EXPECT_EQ(p.Base.S[k].LineType.v, back ? h : 1);
            for (auto& l : p.Face[k].Lines) EXPECT_EQ(l.LineType.v, back ? h : 1);
            EXPECT_EQ(p.Base.S[k].P1.Disabled.v, mode == 6 && k == 4);
        }
        EXPECT_EQ(p.HeightLine.LineType.v, h);
        EXPECT_EQ(p.Base.Diag[1].LineType.v, h);
        EXPECT_EQ(p.Base.Diag[2].LineType.v, h);
        EXPECT_FALSE(p.Base.Diag[1].LineType.e);
    }
}

TEST(PyramidViews, AutomaticModeWithCircumscribedSphereDashesEverything) {
    DPi3 p3 = StandardPyramid3(5);
    p3.OutSphereOn.v = true;
    UpdatePyramid3(p3, 0);
    const Pyr3Edges e = Edges(p3);
    EXPECT_EQ(e.lateral, (std::array<std::uint8_t, 3>{2, 2, 2}));
    EXPECT_EQ(e.base, (std::array<std::uint8_t, 3>{2, 2, 2}));
    EXPECT_EQ(e.faceLines, (std::array<std::uint8_t, 3>{2, 2, 2}));
    EXPECT_EQ(e.height, 2);
    EXPECT_EQ(e.baseLines, 2);

    DPi4 p4 = StandardPyramid4(5);
    p4.OutSphereOn.v = true;
    UpdatePyramid4(p4, 0);
    for (std::size_t k = 1; k <= 4; ++k) {
        EXPECT_EQ(p4.Face[k].S[1].LineType.v, 2);
        EXPECT_EQ(p4.Base.S[k].LineType.v, 2);
        for (auto& l : p4.Face[k].Lines) EXPECT_EQ(l.LineType.v, 2);
    }
    EXPECT_EQ(p4.HeightLine.LineType.v, 2);
    EXPECT_EQ(p4.Base.Diag[2].LineType.v, 2);
}

// The circumscribed sphere dashes everything only in the automatic mode: the
// opaque mode still leaves the hidden edges out and draws the others.
TEST(PyramidViews, OpaqueModeIgnoresTheCircumscribedSphere) {
    DPi3 p3 = StandardPyramid3(6);
    p3.OutSphereOn.v = true;
    UpdatePyramid3(p3, 0);
    const Pyr3Edges e = Edges(p3);
    EXPECT_EQ(e.lateral, (std::array<std::uint8_t, 3>{1, 1, 3}));
    EXPECT_EQ(e.base, (std::array<std::uint8_t, 3>{1, 3, 3}));
    EXPECT_EQ(e.height, 3);

    DPi4 p4 = StandardPyramid4(6);
    p4.OutSphereOn.v = true;
    UpdatePyramid4(p4, 0);
    EXPECT_EQ(p4.Face[1].S[1].LineType.v, 1);
    EXPECT_EQ(p4.Face[4].S[1].LineType.v, 3);
    EXPECT_EQ(p4.Base.S[1].LineType.v, 1);
    EXPECT_TRUE(p4.Base.S[4].P1.Disabled.v);
}

// In the opaque mode a hidden base vertex is not drawn; any other mode shows
// it again.
TEST(PyramidViews, HiddenVertexIsShownAgainOutsideTheOpaqueMode) {
    for (std::uint8_t mode : {1, 2, 3, 4, 5}) {
        DPi3 p3 = StandardPyramid3(6);
        UpdatePyramid3(p3, 0);
        ASSERT_TRUE(p3.Base.S[3].P1.Disabled.v);
        p3.View.v = mode;
        UpdatePyramid3(p3, 0);
        EXPECT_FALSE(p3.Base.S[3].P1.Disabled.v) << int(mode);

        DPi4 p4 = StandardPyramid4(6);
        UpdatePyramid4(p4, 0);
        ASSERT_TRUE(p4.Base.S[4].P1.Disabled.v);
        p4.View.v = mode;
        UpdatePyramid4(p4, 0);
        EXPECT_FALSE(p4.Base.S[4].P1.Disabled.v) << int(mode);
    }
}

namespace flags {

// Flags that the pyramid types decide with role 0, from cleared and from set
// flags alike.
TEST(PyramidFlags, TriangularPyramidByType) {
    struct Row {
        std::uint8_t typ;
        bool length, baseType;
    };
    for (const Row r : {Row{1, false, false}, Row{2, true, false}, Row{3, true, true}})
        for (bool preset : {false, true}) {
            SCOPED_TRACE(testing::Message() << "type " << int(r.typ) << ", preset " << preset);
            DPi3 p = Tetrahedron(30, r.typ);
            p.HeightLine.Length.v = 30;
            p.HeightLine.Length.e = p.Base.Typ.e = preset;
            p.Typ.e = p.ID.e = p.Thick.e = p.ColorIndex.e = !preset;
            for (auto& f : p.Face) f.Typ.e = !preset;
            UpdatePyramid3(p, 0);
            EXPECT_EQ(p.HeightLine.Length.e, r.length);
            EXPECT_EQ(p.Base.Typ.e, r.baseType);
            EXPECT_TRUE(p.Typ.e && p.ID.e && p.Thick.e && p.ColorIndex.e);
            for (auto& f : p.Face) EXPECT_FALSE(f.Typ.e);
        }
}

TEST(PyramidFlags, QuadrangularPyramidByType) {
    struct Row {
        std::uint8_t typ;
        bool spheres, baseType, orient;
    };
    for (const Row r : {Row{1, true, false, true}, Row{2, false, true, true}, Row{3, false, false, false}})
        for (bool preset : {false, true}) {
            SCOPED_TRACE(testing::Message() << "type " << int(r.typ) << ", preset " << preset);
            DPi4 p = MakePyramid4({{{20, -20, 0}, {20, 20, 0}, {-20, 20, 0}, {-20, -20, 0}}}, {0, 0, 30}, r.typ, 1);
            p.Base.Typ.v = r.typ == 1 ? 1 : 6;
            p.Base.Side3.v = 1;
            p.OutSphereOn.e = p.InSphereOn.e = p.Base.Typ.e = p.Orient.e = preset;
            p.OutSphereOn.v = p.InSphereOn.v = true;
            p.HeightLine.Length.e = p.HeightOn.e = p.Typ.e = false;
            UpdatePyramid4(p, 0);
            EXPECT_EQ(p.OutSphereOn.e, r.spheres);
            EXPECT_EQ(p.InSphereOn.e, r.spheres);
            EXPECT_EQ(p.OutSphereOn.v, r.spheres);
            EXPECT_EQ(p.InSphereOn.v, r.spheres);
            EXPECT_EQ(p.Base.Typ.e, r.baseType);
            EXPECT_EQ(p.Orient.e, r.orient);
            EXPECT_TRUE(p.HeightLine.Length.e && p.HeightOn.e && p.Typ.e);
        }
}

TEST(PyramidFlags, OtherRolesSetNoFlagButTheViewStepRuns) {
    DPi4 p = StandardPyramid4(2);
    p.OutSphereOn.e = p.InSphereOn.e = p.Typ.e = p.ID.e = p.HeightOn.e = false;
    p.Base.View.e = true;
    UpdatePyramid4(p, 1);
    EXPECT_FALSE(p.OutSphereOn.e || p.InSphereOn.e || p.Typ.e || p.ID.e || p.HeightOn.e);
    EXPECT_EQ(p.Base.View.v, 2);
    EXPECT_FALSE(p.Base.View.e);
    EXPECT_NEAR(Apex(p).z, 40, 1e-9);

    DPi3 q = StandardPyramid3(1);
    q.Typ.e = q.ID.e = false;
    q.HeightLine.Length.e = false;
    UpdatePyramid3(q, 7);
    EXPECT_FALSE(q.Typ.e || q.ID.e || q.HeightLine.Length.e);
}

// In the automatic mode the spheres get their views without touching the
// flags; the opaque mode leaves both alone.
TEST(PyramidViews, AutomaticAndOpaqueModesKeepTheSpheresViewFlags) {
    for (std::uint8_t mode : {5, 6}) {
        SCOPED_TRACE(int(mode));
        DPi4 p = StandardPyramid4(mode);
        DPi3 q = StandardPyramid3(mode);
        p.OutSphere.View.v = p.InSphere.View.v = q.OutSphere.View.v = q.InSphere.View.v = 3;
        p.OutSphere.View.e = p.InSphere.View.e = q.OutSphere.View.e = q.InSphere.View.e = true;
        UpdatePyramid4(p, 0);
        UpdatePyramid3(q, 0);
        for (const DSf* s : {&p.OutSphere, &q.OutSphere}) EXPECT_EQ(s->View.v, mode == 5 ? 5 : 3);
        for (const DSf* s : {&p.InSphere, &q.InSphere}) EXPECT_EQ(s->View.v, mode == 5 ? 2 : 3);
        EXPECT_TRUE(p.OutSphere.View.e && p.InSphere.View.e && q.OutSphere.View.e && q.InSphere.View.e);
    }
}

}  // namespace flags

}  // namespace
