// Point primitives and the particular rules of single families: rounding,
// third-side flags, type rules, section normals, coordinate-system curves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "model/finite_check.h"
#include "model/geometry.h"
#include "model/polyhedron_make.h"
#include "model/round_make.h"
#include "model/transform.h"
#include "model/tri_make.h"
#include "model/update.h"

namespace pelmar {
namespace {

TEST(PointPrimitives, RotationNormalisesTheAxisAndDoesNotRound) {
    DPoint p;
    RotatePoint(p, 1, 0, 0, 0, 0, 2, 90);
    EXPECT_NEAR(p.X.v, 1, 1e-15);
    EXPECT_NEAR(p.Y.v, -1, 1e-15);
    EXPECT_NEAR(p.Z.v, 0, 1e-15);
    EXPECT_EQ(p.ScrX.v, -1 - 0.0) << "projected after the move";
}

TEST(PointPrimitives, HomothetyAndCentralSymmetryRoundHalfToEven) {
    struct Case {
        double x, expected;
    };
    for (const Case c : {Case{0.0625, 0.062}, Case{0.1875, 0.188}, Case{-0.0625, -0.062}}) {
        double x = c.x, y = 0, z = 0;
        ScaleFromCentre(x, y, z, 0, 0, 0, 1);
        EXPECT_DOUBLE_EQ(x, c.expected) << c.x;
    }
    double x = 0.0625, y = 0, z = 0;
    ReflectInCentre(x, y, z, 0, 0, 0);
    EXPECT_DOUBLE_EQ(x, -0.062);

    DPoint p;
    p.X.v = 0.0625;
    p.Y.v = 0.1875;
    TranslatePoint(p, 0, 0, 0);
    EXPECT_EQ(p.X.v, 0.0625) << "translation keeps every digit";
    EXPECT_EQ(p.Y.v, 0.1875);
    HomothetyPoint(p, 0, 0, 0, 1);
    EXPECT_DOUBLE_EQ(p.X.v, 0.062);
    EXPECT_DOUBLE_EQ(p.Y.v, 0.188);
}

TEST(PointPrimitives, MirrorInAPlane) {
    double x = 1, y = 2, z = 3;
    ReflectInPlane(x, y, z, 0, 0, 0, 7);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 2);
    EXPECT_EQ(z, 3);
    ReflectCoordsInPlane(x, y, z, 0, 0, 1, -1);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 2);
    EXPECT_EQ(z, -1);
    // Not rounded: a plane through 1/3 gives a result with all its digits.
    x = 0;
    ReflectInPlane(x, y, z, 3, 0, 0, -1);
    EXPECT_NEAR(x, 2.0 / 3, 1e-15);
    EXPECT_NE(x, 0.667);
}

TEST(PointPrimitives, AxialSymmetry) {
    struct Case {
        Vec3 p, at, dir, expected;
    };
    const Case cases[] = {
        {{1, 0, 0}, {0, 0, 0}, {0, 0, 1}, {-1, 0, 0}},        // about the vertical through the origin
        {{3, 4, 5}, {0, 0, 7}, {0, 0, -2}, {-3, -4, 5}},       // direction length and sense do not matter
        {{0, 2, 0}, {0, 0, 0}, {1, 1, 0}, {2, 0, 0}},          // diagonal axis in the ground plane
        {{1, 1, 1}, {0, 0, 0}, {1, 1, 1}, {1, 1, 1}},          // a point on the axis stays
        {{0.0626, 0, 3}, {0, 0, 0}, {0, 0, 1}, {-0.063, 0, 3}},  // rounded to 0.001
    };
    for (const Case& c : cases) {
        double x = c.p.x, y = c.p.y, z = c.p.z;
        ReflectInAxis(x, y, z, c.at.x, c.at.y, c.at.z, c.dir.x, c.dir.y, c.dir.z);
        EXPECT_NEAR(x, c.expected.x, 1e-12);
        EXPECT_NEAR(y, c.expected.y, 1e-12);
        EXPECT_NEAR(z, c.expected.z, 1e-12);
    }
}

TEST(PointPrimitives, PlaneRotationTurnsPictureAndDepthPlaneAlike) {
    DPoint p;
    p.X.v = 7;
    p.Y.v = 12;
    p.Z.v = 5;
    p.ScrX.v = 12;
    p.ScrY.v = 5;
    PlaneRotatePoint(p, 2, 5, 90);
    EXPECT_NEAR(p.ScrX.v, 2, 1e-12);
    EXPECT_NEAR(p.ScrY.v, 15, 1e-12);
    EXPECT_NEAR(p.Y.v, 2, 1e-12);
    EXPECT_NEAR(p.Z.v, 15, 1e-12);
    EXPECT_EQ(p.X.v, 7);
}

// ---------------------------------------------------------------------------

TEST(SegmentFamilies, AngleFollowsThePictureAndDivisionPointsFollowTheEnds) {
    DLine l;
    test::Place(l.P1, {0, 0, 0});
    test::Place(l.P2, {0, 100, 0});
    l.Frac3.v = 0.5;
    l.Show3.v = true;
    UpdateLine(l, 0);
    RotateLine(l, 0, 0, 0, 1, 0, 0, 90);
    EXPECT_NEAR(l.Angle.v, 90, 1e-3);
    EXPECT_NEAR(l.P3.Z.v, 50, 1e-3);
    EXPECT_NEAR(l.P3.Y.v, 0, 1e-3);
}

TEST(SegmentFamilies, ShiftLeavesDivisionPoints) {
    DLine l;
    test::Place(l.P1, {0, 10, 10});
    test::Place(l.P2, {0, 110, 10});
    l.Frac3.v = 0.25;
    l.Frac4.v = 0.75;
    UpdateLine(l, 0);
    const DLine before = l;
    PlaneShiftLine(l, 10, 20);
    EXPECT_EQ(Pos(l.P3).y, Pos(before.P3).y);
    EXPECT_EQ(Pos(l.P4).z, Pos(before.P4).z);
    EXPECT_EQ(l.P3.ScrX.v, before.P3.ScrX.v);
    EXPECT_EQ(l.P1.ScrX.v, before.P1.ScrX.v + 10);
    EXPECT_EQ(l.P2.Z.v, before.P2.Z.v + 20);
    EXPECT_EQ(l.Angle.v, before.Angle.v);
}

TEST(TriangleFamilies, TranslationAppliesTheTypeRuleRotationDoesNot) {
    DTri t = test::MakeTri({0, 100, 100}, {0, 200, 100}, {0, 150, 180}, 2);
    t.Height.v = 80;
    UpdateTriangle(t, 0, true);
    auto height = [](const DTri& r) { return Norm(Pos(r.S[3].P1) - (Pos(r.S[1].P1) + Pos(r.S[1].P2)) * 0.5); };
    ASSERT_NEAR(height(t), 80, 1e-3);
    t.Height.v = 40;  // the stored height no longer matches the vertices
    DTri turned = t;
    RotateTriangle(turned, 0, 150, 100, 1, 0, 0, 360);
    EXPECT_NEAR(height(turned), 80, 1e-3) << "the rotated vertex stays";
    TranslateTriangle(t, 0, 0, 0);
    EXPECT_NEAR(height(t), 40, 1e-3) << "placed again at the height";
}

// An isosceles or right triangle is rebuilt by its type rule after a move;
// a symmetry that turns the picture orientation must turn its third-point
// flag too, or vertex 3 is folded over side 1.
TEST(TriangleFamilies, SymmetriesKeepTheTypedTriangleWhole) {
    struct Case {
        std::uint8_t typ;
        Vec3 apex;  // vertex 3 as the type rule places it
    };
    for (const Case c : {Case{2, {0, 150, 20}}, Case{3, {0, 100, 20}}}) {
        DTri t = test::MakeTri({0, 100, 100}, {0, 200, 100}, {0, 150, 180}, c.typ);
        t.Height.v = 80;
        UpdateTriangle(t, 0, true);
        ASSERT_NEAR(Norm(Pos(t.S[3].P1) - c.apex), 0, 1e-3);
        DTri m = t;
        MirrorSymTriangle(m, 0, 0, 1, -50);  // z becomes 100 - z
        EXPECT_NEAR(Norm(Pos(m.S[3].P1) - Vec3{0, c.apex.y, 100 - c.apex.z}), 0, 1e-3) << int{c.typ};
        DTri a = t;
        AxialSymTriangle(a, 0, 150, 0, 0, 0, 1);  // y becomes 300 - y
        EXPECT_NEAR(Norm(Pos(a.S[3].P1) - Vec3{0, 300 - c.apex.y, c.apex.z}), 0, 1e-3) << int{c.typ};
        DTri z = t;
        CentralSymTriangle(z, 0, 150, 100);
        EXPECT_NEAR(Norm(Pos(z.S[3].P1) - Vec3{0, 300 - c.apex.y, 200 - c.apex.z}), 0, 1e-3) << int{c.typ};
    }
}

// A tetragon in a plane of constant depth.
DKv FlatTetragon() {
    DKv k = test::MakeKv({0, 100, 100}, {0, 200, 110}, {0, 210, 190}, {0, 90, 180});
    k.Typ.v = 7;
    k.View.v = 1;
    UpdateTetragon(k, 0, true);
    return k;
}

TEST(TetragonFamilies, ThirdSideFlagFollowsThePictureOrientation) {
    const DKv base = FlatTetragon();
    const std::uint8_t flag = base.Side3.v;
    DKv k = base;
    MirrorSymTetragon(k, 0, 1, 0, 0);
    EXPECT_EQ(k.Side3.v, flag ^ 1) << "a mirror turns the picture orientation";
    EXPECT_LT(SideOfLine(base.S[3].P1, base.S[1]) * SideOfLine(k.S[3].P1, k.S[1]), 0);
    k = base;
    TranslateTetragon(k, 10, -300, 50);
    EXPECT_EQ(k.Side3.v, flag);
    k = base;
    RotateTetragon(k, 0, 150, 150, 1, 0, 0, 30);
    EXPECT_EQ(k.Side3.v, flag) << "a turn in the picture plane keeps the orientation";
}

TEST(PrismFamilies, BaseFlagsTurnOnceWithThePictureOrientation) {
    DPr4 p = test::MakePrism4({{{0, 0, 0}, {0, 40, 0}, {0, 40, 40}, {0, 0, 40}}}, {30, 0, 0}, 5, 1);
    UpdatePrism4(p, 0);
    const std::uint8_t f1 = p.Base[1].Side3.v, f2 = p.Base[2].Side3.v;
    MirrorSymPrism4(p, 0, 1, 0, 0);
    EXPECT_EQ(p.Base[1].Side3.v, f1 ^ 1);
    EXPECT_EQ(p.Base[2].Side3.v, f2 ^ 1);
    EXPECT_TRUE(test::NonFiniteDoubles(p).empty());
    HomothetyPrism4(p, 0, 0, 0, -2);
    EXPECT_EQ(p.Base[1].Side3.v, f1 ^ 1) << "a homothety keeps the picture orientation";
}

TEST(PrismFamilies, LateralEdgeFollowsTheBases) {
    DPr3 p = test::MakePrism3({{{30, 0, 0}, {30, 30, 0}, {0, 15, 5}}}, {5, 10, 40}, 3, 4);
    UpdatePrism3(p, 0);
    RotatePrism3(p, 0, 0, 0, 0, 0, 1, 90);
    EXPECT_NEAR(p.EdgeX.v, -10, 1e-3);
    EXPECT_NEAR(p.EdgeY.v, 5, 1e-3);
    EXPECT_NEAR(p.EdgeZ.v, 40, 1e-3);
    HomothetyPrism3(p, 0, 0, 0, 2);
    EXPECT_NEAR(p.EdgeZ.v, 80, 2e-3);
}

TEST(PyramidFamilies, ThreeSidedBaseFlagFollowsAMirror) {
    DPi3 p = test::StandardPyramid3(1);
    UpdatePyramid3(p, 0);
    const std::uint8_t flag = p.Base.Side3.v;
    const double s0 = SideOfLine(p.Base.S[3].P1, p.Base.S[1]);
    MirrorSymPyramid3(p, 0, 1, 0, 0);
    const double s1 = SideOfLine(p.Base.S[3].P1, p.Base.S[1]);
    EXPECT_EQ(p.Base.Side3.v, s0 * s1 < 0 ? flag ^ 1 : flag);
}

// ---------------------------------------------------------------------------

TEST(SphereFamilies, SectionNormalsTurnWithTheSphereAndKeepThreeDecimals) {
    DSf s = test::MakeOrb({10, 200, 150}, 40, 4);
    s.SecNX[2].v = 1;
    s.SecNY[2].v = 0;
    s.SecNZ[2].v = 0;
    s.SecH[2].v = 12;
    UpdateOrb(s, 0);
    RotateOrb(s, 0, 0, 0, 0, 0, 1, 30);
    EXPECT_NEAR(s.SecNX[2].v, std::cos(M_PI / 6), 1e-3);
    EXPECT_NEAR(s.SecNY[2].v, std::sin(M_PI / 6), 1e-3);
    EXPECT_EQ(s.SecH[2].v, 12) << "distances stay";
    for (std::size_t i = 1; i <= 7; ++i)
        for (double v : {s.SecNX[i].v, s.SecNY[i].v, s.SecNZ[i].v})
            EXPECT_EQ(v, std::nearbyint(v * 1000) / 1000) << "section " << i;
}

TEST(SphereFamilies, NegativeHomothetyKeepsTheRadiusALength) {
    DSf s = test::MakeOrb({10, 200, 150}, 40, 4);
    UpdateOrb(s, 0);
    HomothetyOrb(s, 0, 0, 0, -0.5);
    EXPECT_NEAR(s.Radius.v, 20, 1e-9);
    EXPECT_NEAR(Norm(Pos(s.Center) - Vec3{-5, -100, -75}), 0, 1e-3);

    DZi z = test::MakeCylinder({0, 200, 100}, {0, 200, 180}, 40, 4);
    UpdateCylinder(z, 0);
    HomothetyCylinder(z, 0, 0, 0, -2);
    EXPECT_NEAR(z.Radius.v, 80, 1e-9);
    EXPECT_TRUE(test::NonFiniteDoubles(z).empty());

    DKo k = test::MakeCone({0, 200, 100}, {0, 200, 180}, 40, 4);
    UpdateCone(k, 0);
    HomothetyCone(k, 0, 0, 0, -1);
    EXPECT_NEAR(k.Radius.v, 40, 1e-9);
    EXPECT_TRUE(test::NonFiniteDoubles(k).empty());
}

TEST(SphereFamilies, ContourFollowsTheCentreInThePicture) {
    DSf s = test::MakeOrb({10, 200, 150}, 40, 4);
    UpdateOrb(s, 0);
    CentralSymOrb(s, 0, 100, 100);
    EXPECT_NEAR(s.Contour.Center.ScrX.v, s.Center.ScrX.v, 1);
    EXPECT_NEAR(s.Contour.Center.ScrY.v, s.Center.ScrY.v, 1);
    EXPECT_NEAR(s.Radius.v, 40, 1e-9);
}

TEST(RoundSolidFamilies, SectionPositionAnglesAreMeasuredAgain) {
    // Upright cylinder: a turn about its own axis moves the additional
    // sections round it by the angle in the picture's ground ellipse.
    DZi z = test::MakeCylinder({0, 200, 100}, {0, 200, 180}, 40, 4);
    z.SecOn[3].v = true;
    z.SecPos1.v = 0;
    UpdateCylinder(z, 0);
    const double before = z.SecPos1.v;
    RotateCylinder(z, 0, 200, 100, 0, 0, 1, 90);
    EXPECT_NE(z.SecPos1.v, before);
    EXPECT_GE(z.SecPos1.v, -180);
    EXPECT_LE(z.SecPos1.v, 180);
    EXPECT_EQ(z.SecPos1.v, std::nearbyint(z.SecPos1.v * 1000) / 1000);
    // A full turn brings it back.
    RotateCylinder(z, 0, 200, 100, 0, 0, 1, 270);
    EXPECT_NEAR(z.SecPos1.v, before, 0.5);
}

// ---------------------------------------------------------------------------

DCurve2 OneCurve() {
    std::vector<CurvePoint> pts{{10, 20, 0}, {30, 40, 0}};
    DCurve1 c;
    c.Count = 2;
    c.Points = std::make_shared<const std::vector<CurvePoint>>(pts);
    DCurve2 set;
    set.Count = 1;
    set.Valid = 1;
    set.Lines = std::make_shared<const std::vector<DCurve1>>(std::vector<DCurve1>{c});
    return set;
}

DXOY SomeXOY() {
    DXOY x;
    test::Place(x.Center, {0, 300, 200});
    test::Place(x.AxisX.P1, {0, 150, 200});
    test::Place(x.AxisX.P2, {0, 450, 200});
    test::Place(x.AxisY.P1, {0, 300, 80});
    test::Place(x.AxisY.P2, {0, 300, 320});
    x.Curves = OneCurve();
    UpdateXOY(x, 0);
    return x;
}

TEST(CoordinateSystemFamilies, TranslationCarriesTheGraphsWithYSubtracted) {
    DXOY x = SomeXOY();
    const DCurve2 shared = x.Curves;
    TranslateXOY(x, 0, 15, -25);
    const auto& p = x.Curves.lines()[0].points();
    EXPECT_EQ(p[0].x, 25);
    EXPECT_EQ(p[0].y, 45);
    EXPECT_EQ(p[1].x, 45);
    EXPECT_EQ(p[1].y, 65);
    EXPECT_EQ(shared.lines()[0].points()[0].x, 10) << "a shared copy keeps its curves";
    EXPECT_EQ(x.Curves.Valid, 1);
    EXPECT_EQ(x.AxisX.P2.Y.v, 465);
}

TEST(CoordinateSystemFamilies, RotationMovesTheCentreOnlyAndKeepsTheAxesUpright) {
    DXOY x = SomeXOY();
    const DXOY before = x;
    RotateXOY(x, 0, 0, 0, 1, 0, 0, 90);  // (0, 300, 200) goes to (0, -200, 300)
    EXPECT_NEAR(x.Center.Y.v, -200, 1e-9);
    EXPECT_NEAR(x.Center.Z.v, 300, 1e-9);
    EXPECT_NEAR(x.AxisX.P2.Y.v - x.Center.Y.v, before.AxisX.P2.Y.v - before.Center.Y.v, 1e-9);
    EXPECT_EQ(x.AxisX.P1.ScrY.v, x.Center.ScrY.v);
    EXPECT_EQ(x.AxisY.P2.ScrX.v, x.Center.ScrX.v);
    EXPECT_NEAR(x.AxisY.P2.Z.v - x.Center.Z.v, 120, 1e-9);
    const auto& p = x.Curves.lines()[0].points();
    EXPECT_EQ(p[0].x, 10 - 500);
    EXPECT_EQ(p[0].y, 20 - 100);
}

TEST(CoordinateSystemFamilies, HomothetyScalesThePlaneSystemAndCarriesTheSpaceSystem) {
    DXOY x = SomeXOY();
    HomothetyXOY(x, 0, 0, 0, 2);
    EXPECT_EQ(x.AxisX.P2.Y.v, 900);
    // The cached graph moves with the centre and is marked for tracing again.
    EXPECT_EQ(x.Curves.lines()[0].points()[0].x, 10 + 300);
    EXPECT_EQ(x.Curves.Valid, 0);

    DXZ s;
    test::Place(s.Center, {0, 300, 200});
    test::Place(s.AxisY.P1, {0, 150, 200});
    test::Place(s.AxisY.P2, {0, 450, 200});
    s.Outlines[1].X1 = 10;
    s.Outlines[1].Y1 = 20;
    s.Outlines[1].X2 = 110;
    s.Outlines[1].Y2 = 120;
    s.Curves[55] = OneCurve();
    UpdateXYZ(s, 0);
    HomothetyXYZ(s, 0, 0, 0, 0.5);
    EXPECT_EQ(s.Center.Y.v, 150);
    EXPECT_EQ(s.AxisY.P2.Y.v - s.Center.Y.v, 150) << "the axes are not scaled";
    // The centre moved by (-150, -100) in the picture; the curves and windows
    // move with it and the curves are traced again.
    EXPECT_EQ(s.Outlines[1].X1, 10 - 150);
    EXPECT_EQ(s.Outlines[1].Y2, 120 - 100);
    EXPECT_EQ(s.Curves[55].lines()[0].points()[1].y, 40 + 100);
    EXPECT_EQ(s.Curves[55].Valid, 0);
    EXPECT_EQ(s.Outlines[1].Lines.Valid, 0);
}

TEST(CoordinateSystemFamilies, ShiftMovesWindowsByWholePixels) {
    DXZ s;
    test::Place(s.Center, {0, 300, 200});
    s.Outlines[3].X1 = 10;
    s.Outlines[3].Y1 = 20;
    s.Outlines[3].Lines = OneCurve();
    PlaneShiftXYZ(s, 2.5, -3.5);
    EXPECT_EQ(s.Outlines[3].X1, 12);
    EXPECT_EQ(s.Outlines[3].Y1, 16);
    EXPECT_EQ(s.Outlines[3].Lines.lines()[0].points()[0].y, 23.5);
    PlaneShiftXYZ(s, 1e300, 0);
    EXPECT_EQ(s.Outlines[3].X1, 2147483647) << "kept in the Integer range";
}

TEST(EllipseFamilies, PictureEllipseIsMeasuredFromTheMovedOutline) {
    DCircle c;
    test::Place(c.Center, {0, 150, 120});
    c.Q1 = {0, 210, 120};
    c.Q2 = {0, 150, 150};
    c.ViewType.v = 1;
    UpdateCircle(c, 0);
    RotateCircle(c, 0, 150, 120, 1, 0, 0, 90);
    // The long semi-diameter now stands upright in the picture.
    EXPECT_NEAR(std::max(c.A.v, c.B.v), 60, 1e-3);
    EXPECT_NEAR(std::min(c.A.v, c.B.v), 30, 1e-3);
    EXPECT_NEAR(c.Q1[2] - c.Center.Z.v, 60, 1e-3);
    EXPECT_NEAR(c.Q1[1], c.Center.Y.v, 1e-3);
    EXPECT_TRUE(test::NonFiniteDoubles(c).empty());
}

TEST(EllipseFamilies, EdgeOnEllipseKeepsItsCentreInThePicture) {
    // Turned so that its plane holds the viewing direction: no picture
    // ellipse, and the centre stays where it projects.
    DCircle c;
    test::Place(c.Center, {0, 150, 120});
    c.Q1 = {0, 210, 120};
    c.Q2 = {0, 150, 150};
    c.ViewType.v = 1;
    UpdateCircle(c, 0);
    MirrorSymCircle(c, 0, 0, 1, -120);
    DPoint expected = c.Center;
    ProjectPoint(expected);
    EXPECT_EQ(c.Center.ScrX.v, expected.ScrX.v);
    EXPECT_TRUE(test::NonFiniteDoubles(c).empty());
}

}  // namespace
}  // namespace pelmar
