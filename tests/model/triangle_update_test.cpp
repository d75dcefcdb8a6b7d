#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/geometry.h"
#include "model/update.h"
#include "vec_near.h"
#include "finite_check.h"
#include "tri_make.h"

using namespace pelmar;
using pelmar::test::ExpectNear;
using pelmar::test::MakeTri;
using pelmar::test::V;

namespace {

// A triangle parallel to the picture plane, vertex 3 above side 1.
DTri Flat(std::uint8_t typ) {
    DTri t = MakeTri({0, 0, 0}, {0, 100, 0}, {0, 30, 60}, typ);
    t.Side3.v = 1;
    return t;
}

}  // namespace

// ---------------------------------------------------------------------------
// Type rules and derived values

TEST(UpdateTriangle, TypeRulesPlaceVertexThreeOnlyWhenAsked) {
    DTri t = Flat(1);
    UpdateTriangle(t, 0, true);
    ExpectNear(V(t, 3), {0, 50, 86.603}, 1e-9);
    for (std::size_t i = 1; i <= 3; ++i) EXPECT_EQ(t.Ang[i].v, 60);
    EXPECT_EQ(t.Height.v, 86.603);
    // End 2 of each side repeats the next vertex.
    ExpectNear(Pos(t.S[2].P2), V(t, 3), 0);
    ExpectNear(Pos(t.S[3].P2), V(t, 1), 0);

    t = Flat(2);
    t.Height.v = 40;
    UpdateTriangle(t, 0, true);
    ExpectNear(V(t, 3), {0, 50, 40}, 1e-9);
    EXPECT_EQ(t.Ang[1].v, t.Ang[2].v);

    t = Flat(3);
    t.Height.v = 40;
    UpdateTriangle(t, 0, true);
    ExpectNear(V(t, 3), {0, 0, 40}, 1e-9);
    EXPECT_EQ(t.Ang[1].v, 90);
    EXPECT_EQ(t.Height.v, 40);

    // Without the rule, and for the arbitrary type, vertex 3 stays.
    t = Flat(1);
    UpdateTriangle(t, 0, false);
    ExpectNear(V(t, 3), {0, 30, 60}, 0);
    t = Flat(4);
    UpdateTriangle(t, 0, true);
    ExpectNear(V(t, 3), {0, 30, 60}, 0);
}

TEST(UpdateTriangle, TypedRuleKeepsVertexThreeOnTheChosenSide) {
    DTri t = Flat(2);
    t.Side3.v = 0;
    t.Height.v = 40;
    UpdateTriangle(t, 0, true);
    ExpectNear(V(t, 3), {0, 50, -40}, 1e-9);
    UpdateTriangle(t, 0, true);
    ExpectNear(V(t, 3), {0, 50, -40}, 1e-9);
}

TEST(UpdateTriangle, TypedHeightSurvivesRepeatedUpdates) {
    // Base 200, height 73: with the side length and angle rounded before
    // they are multiplied, the height would come back as 72.999.
    DTri t = MakeTri({0, 0, 0}, {0, 200, 0}, {0, 50, 50}, 2);
    t.Side3.v = 1;
    t.Height.v = 73;
    for (int i = 0; i < 3; ++i) {
        UpdateTriangle(t, 0, true);
        EXPECT_EQ(t.Height.v, 73);
        ExpectNear(V(t, 3), {0, 100, 73}, 0);
    }
    // The apex rule leaves vertex 3 on the thousandths grid, in a triangle in space too.
    t = MakeTri({3, 0, 0}, {-40, 120, 7}, {10, 50, 60}, 1);
    t.Side3.v = SideOfLine(t.S[3].P1, t.S[1]) >= 0 ? 0 : 1;
    UpdateTriangle(t, 1, true);
    EXPECT_EQ(V(t, 3).z, std::nearbyint(V(t, 3).z * 1000) / 1000);
    EXPECT_NEAR(t.S[2].Length.v, t.S[1].Length.v, 0.002);
}

TEST(UpdateTriangle, ArbitraryTypeTakesItsSideByteFromVertexThree) {
    DTri t = Flat(4);
    t.Side3.v = 0;
    UpdateTriangle(t, 0, false);
    EXPECT_EQ(t.Side3.v, 1);  // above side 1: negative side value
    t = MakeTri({0, 0, 0}, {0, 100, 0}, {0, 30, -60});
    t.Side3.v = 1;
    UpdateTriangle(t, 0, false);
    EXPECT_EQ(t.Side3.v, 0);
    t = MakeTri({0, 0, 0}, {0, 100, 0}, {0, 30, 0});  // on the line
    t.Side3.v = 1;
    UpdateTriangle(t, 0, false);
    EXPECT_EQ(t.Side3.v, 0);
}

TEST(UpdateTriangle, SideAnglesLengthsAndHeight) {
    // Side 3 of length 50 and angle 1 of 30 degrees: height 25.
    DTri t = MakeTri({0, 0, 0}, {0, 100, 0}, {0, 50 * std::cos(std::numbers::pi / 6), 25});
    UpdateTriangle(t, 0, false);
    EXPECT_EQ(t.S[3].Length.v, 50);
    EXPECT_EQ(t.Ang[1].v, 30);
    EXPECT_EQ(t.Height.v, 25);
    EXPECT_EQ(t.S[1].Angle.v, 0);
    EXPECT_EQ(t.S[1].Length.v, 100);
    EXPECT_NEAR(t.Ang[1].v + t.Ang[2].v + t.Ang[3].v, 180, 0.003);
}

// ---------------------------------------------------------------------------
// Style, links and flags of the stand-alone triangle

TEST(UpdateTriangle, StyleGoesToSidesCirclesAndLines) {
    DTri t = Flat(4);
    t.ColorIndex.v = 9;
    t.Layer.v = 3;
    t.Thick.v = 4;
    UpdateTriangle(t, 0, false);
    EXPECT_EQ(t.Color.v, 0x0000FFu);
    for (const auto& s : t.S) {
        EXPECT_EQ(s.Color.v, 0x0000FFu);
        EXPECT_EQ(s.Layer.v, 3);
        EXPECT_EQ(s.Thick.v, 4);
    }
    for (const auto& c : t.Circ) {
        EXPECT_EQ(c.ColorIndex.v, 9);
        EXPECT_EQ(c.Layer.v, 3);
        EXPECT_NE(c.Thick.v, 4);
    }
    for (const auto& l : t.Lines) {
        EXPECT_EQ(l.Color.v, 0x0000FFu);
        EXPECT_NE(l.Thick.v, 4);
    }
}

TEST(UpdateTriangle, StandAloneFlagsFollowTheType) {
    struct Row {
        std::uint8_t typ;
        bool ang[3], side3, height;
        bool len[3];     // side length editable
        bool vertex[3];  // vertex coordinates editable
    };
    const Row rows[] = {
        {1, {0, 0, 0}, 1, 0, {1, 0, 0}, {1, 1, 0}},
        {2, {1, 0, 1}, 1, 1, {1, 1, 0}, {1, 1, 0}},
        {3, {0, 1, 0}, 1, 0, {1, 0, 1}, {1, 1, 0}},
        {4, {1, 1, 1}, 0, 0, {1, 1, 1}, {1, 1, 1}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.typ));
        DTri t = Flat(r.typ);
        t.Height.v = 50;
        UpdateTriangle(t, 0, true);
        EXPECT_TRUE(t.ID.e && t.Layer.e && t.Color.e && t.ColorIndex.e && t.Disabled.e);
        EXPECT_TRUE(t.Thick.e && t.Typ.e && t.View.e);
        for (std::size_t i = 1; i <= 3; ++i) {
            EXPECT_EQ(t.Ang[i].e, r.ang[i - 1]);
            EXPECT_EQ(t.S[i].Length.e, r.len[i - 1]);
            EXPECT_EQ(t.S[i].P1.X.e, r.vertex[i - 1]);
            EXPECT_FALSE(t.S[i].Angle.e);
            EXPECT_FALSE(t.S[i].P2.X.e);  // end 2 repeats a vertex
        }
        EXPECT_EQ(t.Side3.e, r.side3);
        EXPECT_EQ(t.Height.e, r.height);
        for (std::size_t i = 1; i <= 5; ++i)
            EXPECT_TRUE(t.LineOn[i].e && t.LineVertex[i].e && t.LineMode[i].e && t.LineKind[i].e);
        EXPECT_TRUE(t.CircOn[1].e && t.CircOn[2].e);
    }
}

TEST(UpdateTriangle, AnglesCanBeTypedOnlyParallelToThePicture) {
    DTri t = MakeTri({0, 0, 0}, {10, 100, 0}, {0, 30, 60});
    UpdateTriangle(t, 0, false);
    for (const auto& a : t.Ang) EXPECT_FALSE(a.e);
    EXPECT_TRUE(t.S[1].Length.e);
}

TEST(UpdateTriangle, ALinkedVertexMakesTheTriangleArbitraryAndFixed) {
    DTri t = Flat(1);
    t.S[2].P1.Link.b[0] = 1;
    t.S[2].P1.Link.b[1] = 1;
    UpdateTriangle(t, 0, true);
    EXPECT_EQ(t.Typ.v, 4);
    ExpectNear(V(t, 3), {0, 30, 60}, 0);  // no equilateral rule
    EXPECT_FALSE(t.Typ.e);
    EXPECT_FALSE(t.Side3.e);
    EXPECT_FALSE(t.Height.e);
    for (std::size_t i = 1; i <= 3; ++i) {
        EXPECT_FALSE(t.Ang[i].e);
        EXPECT_FALSE(t.S[i].Length.e);
        EXPECT_FALSE(t.S[i].Angle.e);
    }
    const DPoint& v2 = t.S[2].P1;
    EXPECT_FALSE(v2.ScrX.e || v2.ScrY.e || v2.X.e || v2.Y.e || v2.Z.e);
    EXPECT_TRUE(t.S[1].P1.X.e && t.S[3].P1.X.e);
    EXPECT_TRUE(t.ID.e && t.View.e);
}

// ---------------------------------------------------------------------------
// Circles

TEST(UpdateTriangle, CirclesOfATriangleParallelToThePicture) {
    DTri t = MakeTri({0, 0, 0}, {0, 100, 0}, {0, 0, 100});
    DTri raw = t;
    UpdateTriangle(raw, 1, false);  // parts not updated: the plane stays as written
    for (const auto& c : raw.Circ) {
        EXPECT_EQ(c.PA, 1);
        EXPECT_EQ(c.PB, 0);
        EXPECT_EQ(c.PC, 0);
        EXPECT_EQ(c.PD, 0);
        EXPECT_TRUE(c.IsCircle.v);
        EXPECT_EQ(c.Q1[1], c.Center.Y.v + c.A.v);
        EXPECT_EQ(c.Q2[2], c.Center.Z.v + c.A.v);
    }
    ExpectNear(Pos(raw.Circ[1].Center), {0, 50, 50}, 0);
    ExpectNear(Pos(raw.Circ[2].Center), {0, 29, 29}, 0);

    UpdateTriangle(t, 0, false);
    for (const auto& c : t.Circ) {
        EXPECT_EQ(c.PB, 0);
        EXPECT_EQ(c.PC, 0);
        EXPECT_NE(c.PA, 0);
        EXPECT_TRUE(c.IsCircle.v);
    }
    EXPECT_NEAR(t.Circ[1].A.v, 70.711, 0.01);
    EXPECT_NEAR(t.Circ[2].A.v, 29, 0.01);
}

TEST(UpdateTriangle, CirclesOfATriangleInSpace) {
    const Vec3 p1{0, 0, 0}, p2{40, 100, 10}, p3{-30, 20, 90};
    DTri t = MakeTri(p1, p2, p3);
    UpdateTriangle(t, 1, false);
    const Vec3 n = Cross(p2 - p1, p3 - p1);
    // |n| > 100: the stored plane is normalised.
    const DCircle& o = t.Circ[1];
    EXPECT_NEAR(o.PA * o.PA + o.PB * o.PB + o.PC * o.PC, 1, 1e-12);
    EXPECT_NEAR(o.PA, n.x / Norm(n), 1e-12);
    EXPECT_FALSE(o.IsCircle.v);

    const Vec3 c = Pos(o.Center);
    EXPECT_NEAR(Norm(c - p1), Norm(c - p2), 1e-9);
    EXPECT_NEAR(Norm(c - p1), Norm(c - p3), 1e-9);
    EXPECT_NEAR(Dot(c - p1, n), 0, 1e-6);
    const Vec3 q1{o.Q1[0], o.Q1[1], o.Q1[2]}, q2{o.Q2[0], o.Q2[1], o.Q2[2]};
    ExpectNear(q1, p1, 0);
    EXPECT_NEAR(Norm(q2 - c), Norm(q1 - c), 1e-9);
    EXPECT_NEAR(Dot(q2 - c, q1 - c), 0, 1e-6);
    EXPECT_NEAR(Dot(q2 - c, n), 0, 1e-6);

    const DCircle& in = t.Circ[2];
    const Vec3 i = Pos(in.Center);
    auto distToLine = [](Vec3 p, Vec3 a, Vec3 b) { return Norm(Cross(p - a, b - a)) / Norm(b - a); };
    const double r = distToLine(i, p1, p2);
    EXPECT_NEAR(distToLine(i, p2, p3), r, 1e-9);
    EXPECT_NEAR(distToLine(i, p3, p1), r, 1e-9);
    const Vec3 touch{in.Q1[0], in.Q1[1], in.Q1[2]};
    EXPECT_NEAR(Norm(touch - i), r, 1e-9);
    EXPECT_NEAR(Dot(touch - i, p2 - p1), 0, 1e-6);
    const Vec3 t2{in.Q2[0], in.Q2[1], in.Q2[2]};
    EXPECT_NEAR(Norm(t2 - i), r, 1e-9);
    EXPECT_NEAR(Dot(t2 - i, touch - i), 0, 1e-6);

    // A small triangle keeps its plane unnormalised.
    DTri s = MakeTri({0, 0, 0}, {1, 2, 0}, {2, 0, 3});
    UpdateTriangle(s, 1, false);
    EXPECT_EQ(s.Circ[1].PA, 6);
    EXPECT_EQ(s.Circ[1].PB, -3);
    EXPECT_EQ(s.Circ[1].PC, -4);
    EXPECT_EQ(s.Circ[1].PD, 0);
}

TEST(UpdateTriangle, DegenerateTrianglesGetAnIncircleOfRadiusZeroAtVertexOne) {
    for (const auto& vs : {std::array<Vec3, 3>{{{3, 5, 5}, {3, 5, 5}, {9, 40, 9}}},
                           std::array<Vec3, 3>{{{3, 5, 5}, {9, 40, 9}, {3, 5, 5}}},
                           std::array<Vec3, 3>{{{3, 5, 5}, {9, 40, 9}, {9, 40, 9}}},
                           std::array<Vec3, 3>{{{0, 5, 5}, {0, 5, 5}, {0, 40, 9}}}}) {
        DTri t = MakeTri(vs[0], vs[1], vs[2]);
        UpdateTriangle(t, 0, false);
        EXPECT_TRUE(pelmar::test::NonFiniteDoubles(t).empty());
        ExpectNear(Pos(t.Circ[2].Center), vs[0], 0.51);
        EXPECT_EQ(t.Circ[2].A.v, 0);
        EXPECT_EQ(t.Circ[2].B.v, 0);
    }
    // Collinear vertices: the incircle has radius 0 on side 1.
    DTri t = MakeTri({1, 0, 0}, {2, 10, 10}, {4, 30, 30});
    UpdateTriangle(t, 0, false);
    EXPECT_TRUE(pelmar::test::NonFiniteDoubles(t).empty());
    EXPECT_EQ(t.Circ[2].A.v, 0);
    EXPECT_EQ(t.Circ[2].B.v, 0);
}

// ---------------------------------------------------------------------------
// View propagation

TEST(UpdateTriangle, ViewAllSolidOrDashedFixesEveryLineType) {
    for (std::uint8_t view : {1, 2}) {
        DTri t = Flat(4);
        t.View.v = view;
        UpdateTriangle(t, 0, false);
        for (const auto& s : t.S) {
            EXPECT_EQ(s.LineType.v, view);
            EXPECT_FALSE(s.LineType.e);
        }
        for (const auto& l : t.Lines) {
            EXPECT_EQ(l.LineType.v, view);
            EXPECT_FALSE(l.LineType.e);
        }
        for (const auto& c : t.Circ) {
            EXPECT_EQ(c.ViewType.v, view);
            EXPECT_FALSE(c.ViewType.e);
            for (const auto& r : c.R) {
                EXPECT_EQ(r.LineType.v, view);
                EXPECT_FALSE(r.LineType.e);
            }
        }
    }
}

TEST(UpdateTriangle, ViewInvisibleHidesTheSidesButNotTheLinesOwnStyle) {
    DTri t = Flat(4);
    t.View.v = 3;
    t.Lines[2].LineType.v = 2;
    UpdateTriangle(t, 0, false);
    for (const auto& s : t.S) {
        EXPECT_EQ(s.LineType.v, 3);
        EXPECT_FALSE(s.LineType.e);
    }
    for (const auto& l : t.Lines) EXPECT_TRUE(l.LineType.e);
    EXPECT_EQ(t.Lines[2].LineType.v, 2);
    for (const auto& c : t.Circ) {
        EXPECT_TRUE(c.ViewType.e);
        for (const auto& r : c.R) EXPECT_TRUE(r.LineType.e);
    }
}

TEST(UpdateTriangle, ViewManualOpensEveryLineTypeAndOtherViewsChangeNothing) {
    DTri t = Flat(4);
    t.View.v = 4;
    t.S[1].LineType.v = 2;
    UpdateTriangle(t, 0, false);
    EXPECT_EQ(t.S[1].LineType.v, 2);
    for (const auto& s : t.S) EXPECT_TRUE(s.LineType.e);
    for (const auto& l : t.Lines) EXPECT_TRUE(l.LineType.e);
    for (const auto& c : t.Circ) EXPECT_TRUE(c.ViewType.e);

    t = Flat(4);
    t.View.v = 7;
    t.S[2].LineType = {true, 2};
    t.Circ[1].ViewType = {true, 4};
    UpdateTriangle(t, 0, false);
    EXPECT_EQ(t.S[2].LineType.v, 2);
    EXPECT_TRUE(t.S[2].LineType.e);
    EXPECT_EQ(t.Circ[1].ViewType.v, 4);
}

// ---------------------------------------------------------------------------
// Roles of a triangle inside a solid

namespace {

DTri Named(std::uint8_t typ = 4) {
    DTri t = Flat(typ);
    for (auto& s : t.S) s.P1.Name.s = "A";
    t.View.e = true;
    t.Typ.e = true;
    return t;
}

bool StyleFlags(const DTri& t) { return t.Layer.e || t.Color.e || t.ColorIndex.e || t.Disabled.e; }

}  // namespace

TEST(UpdateTriangle, SectionOfAConeRoleMinusOne) {
    DTri t = Named(1);
    UpdateTriangle(t, -1, false);
    EXPECT_FALSE(t.ID.e || StyleFlags(t));
    EXPECT_TRUE(t.Thick.e);
    EXPECT_FALSE(t.Typ.e);
    EXPECT_TRUE(t.View.e);  // kept
    for (const auto& a : t.Ang) EXPECT_FALSE(a.e);
    EXPECT_FALSE(t.Side3.e || t.Height.e);
    // Sides 1, 2 derive their first vertex; side 3 fixes it (name emptied).
    EXPECT_EQ(t.S[1].P1.Name.s, "A");
    EXPECT_EQ(t.S[2].P1.Name.s, "A");
    EXPECT_EQ(t.S[3].P1.Name.s, "");
    EXPECT_TRUE(t.S[1].Arrow1.e);
    EXPECT_TRUE(t.CircOn[1].e && t.CircOn[2].e);
}

TEST(UpdateTriangle, ContourOfAConeRoleMinusFour) {
    DTri t = Named();
    t.CircOn[1].v = t.CircOn[2].v = true;
    UpdateTriangle(t, -4, false);
    EXPECT_FALSE(t.ID.e || StyleFlags(t) || t.Thick.e || t.Typ.e);
    EXPECT_TRUE(t.View.e);
    EXPECT_FALSE(t.S[1].Arrow1.e);  // side 1 has no arrows
    EXPECT_TRUE(t.S[2].Arrow1.e);
    EXPECT_EQ(t.S[1].Thick.v, 0);
    EXPECT_EQ(t.S[2].Thick.v, 1);
    for (std::size_t i = 1; i <= 2; ++i) EXPECT_FALSE(t.CircOn[i].v || t.CircOn[i].e);
    EXPECT_EQ(t.S[3].P1.Name.s, "");
}

TEST(UpdateTriangle, BaseOfAPyramidRoleMinusTwoUsesTheTypeTable) {
    DTri t = Named(2);
    t.Typ.e = false;
    t.View.e = false;
    UpdateTriangle(t, -2, false);
    EXPECT_FALSE(t.ID.e || StyleFlags(t) || t.Thick.e);
    EXPECT_FALSE(t.Typ.e);  // kept
    EXPECT_FALSE(t.View.e);
    EXPECT_TRUE(t.Ang[1].e && !t.Ang[2].e && t.Ang[3].e);
    EXPECT_TRUE(t.Side3.e && t.Height.e);
    EXPECT_TRUE(t.S[2].Length.e);
    EXPECT_FALSE(t.S[3].Length.e);
    EXPECT_FALSE(t.S[3].P1.X.e);

    // Vertices in space do not close the angles in a part role.
    t = MakeTri({0, 0, 0}, {10, 100, 0}, {0, 30, 60});
    UpdateTriangle(t, -2, false);
    for (const auto& a : t.Ang) EXPECT_TRUE(a.e);
}

TEST(UpdateTriangle, FaceOfAPyramidShowsOnlyItsFirstSide) {
    DTri t = Named();
    UpdateTriangle(t, -3, false);
    EXPECT_FALSE(t.ID.e || StyleFlags(t) || t.Thick.e);
    EXPECT_TRUE(t.Typ.e && t.View.e);
    for (const auto& a : t.Ang) EXPECT_FALSE(a.e);
    EXPECT_EQ(t.S[1].Thick.v, 1);
    EXPECT_EQ(t.S[1].LineType.v, 1);
    for (std::size_t i = 2; i <= 3; ++i) {
        EXPECT_EQ(t.S[i].Thick.v, 0);
        EXPECT_EQ(t.S[i].LineType.v, 3);
    }
    for (const auto& s : t.S) EXPECT_EQ(s.P1.Name.s, "");  // every end fixed
}

TEST(UpdateTriangle, SecondBaseOfAPrismRoleMinusFive) {
    DTri t = Named(3);
    UpdateTriangle(t, -5, false);
    EXPECT_FALSE(t.ID.e || StyleFlags(t) || t.Thick.e || t.Typ.e);
    EXPECT_TRUE(t.View.e);
    for (const auto& a : t.Ang) EXPECT_FALSE(a.e);
    for (const auto& s : t.S) {
        EXPECT_EQ(s.P1.Name.s, "A");
        EXPECT_FALSE(s.Length.e);
    }
}

TEST(UpdateTriangle, OtherRolesComputeButSetNoFlagsAndUpdateNoPart) {
    DTri t = MakeTri({0, 0, 0}, {0, 100.00049, 0}, {0, 30, 60});
    t.View.v = 0;
    t.ID.e = true;
    t.Ang[1].e = true;
    t.S[1].Length.e = true;
    t.LineOn[1].e = false;
    t.S[1].P1.Name.s = "A";
    UpdateTriangle(t, 1, false);
    EXPECT_TRUE(t.ID.e && t.Ang[1].e && t.S[1].Length.e);
    EXPECT_FALSE(t.LineOn[1].e);
    EXPECT_EQ(V(t, 2).y, 100.00049);  // vertices are not rounded
    EXPECT_EQ(t.S[1].Length.v, 100);   // but the derived values are there
    EXPECT_EQ(t.S[1].P1.Name.s, "A");
    EXPECT_TRUE(t.CircOn[1].e && t.CircOn[2].e);
}

// ---------------------------------------------------------------------------
// Special lines

TEST(UpdateTriangle, SpecialLinesByLengthKeepTheirLengthEditable) {
    DTri t = MakeTri({0, 0, 0}, {0, 30, 0}, {0, 0, 40});
    t.LineMode[1].v = 3;
    t.Lines[1].Length.v = 10;
    t.LineMode[2].v = 2;
    UpdateTriangle(t, 0, false);
    EXPECT_TRUE(t.Lines[1].Length.e);
    EXPECT_EQ(t.Lines[1].Length.v, 10);
    ExpectNear(Pos(t.Lines[1].P2), {0, 6, 8}, 0);
    EXPECT_FALSE(t.Lines[2].Length.e);
    ExpectNear(Pos(t.Lines[2].P2), {0, 10, 13.333}, 0);  // centroid, rounded
    EXPECT_EQ(t.Lines[3].Length.v, 25);
}
