#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/geometry.h"
#include "model/update.h"

using namespace pelmar;

namespace {

std::vector<bool*> LineFlags(DLine& l) {
    return {&l.ID.e,        &l.Layer.e,     &l.Thick.e,       &l.Color.e,       &l.ColorIndex.e,
            &l.Disabled.e,  &l.Angle.e,     &l.Length.e,      &l.LineType.e,    &l.Dash.e,
            &l.Gap.e,       &l.Arrow1.e,    &l.Arrow2.e,      &l.Arrow1Len.e,   &l.Arrow2Len.e,
            &l.Arrow1Angle.e, &l.Arrow2Angle.e, &l.Frac3.e,   &l.Frac4.e,       &l.Show3.e,
            &l.Show4.e};
}

std::vector<bool*> PointFlags(DPoint& p) {
    return {&p.ID.e,        &p.ScrX.e,       &p.ScrY.e,      &p.Typ.e,        &p.Radius.e,
            &p.Thick.e,     &p.Name.e,       &p.Upper.e,     &p.Lower.e,      &p.NameFont.e,
            &p.NameBold.e,  &p.NameItalic.e, &p.NameSize.e,  &p.IndexFont.e,  &p.IndexBold.e,
            &p.IndexItalic.e, &p.IndexSize.e, &p.LabelDist.e, &p.LabelAngle.e, &p.Color.e,
            &p.ColorIndex.e, &p.Layer.e,     &p.Disabled.e,  &p.X.e,          &p.Y.e,
            &p.Z.e};
}

void SetAllFlags(DLine& l, bool v) {
    for (bool* e : LineFlags(l)) *e = v;
    for (DPoint* p : {&l.P1, &l.P2, &l.P3, &l.P4})
        for (bool* e : PointFlags(*p)) *e = v;
}

DPoint End(double x, double y, double z) {
    DPoint p;
    p.X.v = x;
    p.Y.v = y;
    p.Z.v = z;
    p.Typ.v = 2;
    p.Name.s = "B";
    return p;
}

// A segment whose ends differ in depth, with arrow 1 on and arrow 2 off.
DLine Sample(bool flags) {
    DLine l;
    l.P1 = End(0, 10.0004, 20);
    l.P2 = End(4, 40, 60);
    l.P3.ScrX.v = l.P4.ScrX.v = 999;
    l.ColorIndex.v = 12;
    l.Layer.v = 3;
    l.LineType.v = 2;
    l.Arrow1.v = true;
    l.Frac3.v = 0.5;
    l.Frac4.v = 0.25;
    SetAllFlags(l, flags);
    return l;
}

void ExpectSamePoint(DPoint a, DPoint b) {
    const auto fa = PointFlags(a), fb = PointFlags(b);
    for (std::size_t i = 0; i < fa.size(); ++i) EXPECT_EQ(*fa[i], *fb[i]) << "flag " << i;
    EXPECT_EQ(a.X.v, b.X.v);
    EXPECT_EQ(a.Y.v, b.Y.v);
    EXPECT_EQ(a.Z.v, b.Z.v);
    EXPECT_EQ(a.ScrX.v, b.ScrX.v);
    EXPECT_EQ(a.ScrY.v, b.ScrY.v);
    EXPECT_EQ(a.Typ.v, b.Typ.v);
    EXPECT_EQ(a.Name.s, b.Name.s);
    EXPECT_EQ(a.Color.v, b.Color.v);
    EXPECT_EQ(a.Layer.v, b.Layer.v);
}

constexpr int K = -1;    // keeps its value
constexpr int D = 2;     // 1 when both ends have the same depth X
constexpr int None = 1;  // no point role: the end is left to the arrow step

struct LineRow {
    int role;
    int id, style, thick, angle, len, ltype, arrows;
    int e1, e2;
};

const LineRow LineRows[] = {
    {0, 1, 1, 1, D, 1, 1, 1, -1, -1},
    {-1, K, 0, 1, 1, 0, K, 1, -2, -3},
    {-2, K, 0, 0, 0, 0, K, 1, -3, -2},
    {-3, K, 0, 1, 0, 1, K, 1, -2, -3},
    {-4, K, 0, 1, 0, 0, K, 1, -2, -3},
    {-5, K, 0, 0, 0, 1, 1, 0, -5, -6},
    {-6, K, 0, 0, 0, 1, 1, 0, -7, -8},
    {-7, K, 0, 1, 0, 0, K, 1, -2, -2},
    {-8, K, 0, 0, 0, 0, K, 1, -1, -2},
    {-9, K, 0, 0, 0, 1, K, 1, -3, -2},
    {-10, K, 0, 0, 0, 1, K, 1, -1, -2},
    {-13, 0, 0, 1, 0, 0, K, 1, -3, -3},
    {-14, 0, 0, 0, 0, 0, K, 1, -3, -3},
    {-16, 0, 0, 0, 0, 0, K, 0, -3, -3},
    {-17, 0, 0, 0, 0, 0, K, 1, -3, -3},
    {-18, 0, 0, 0, 0, 0, K, 1, -2, -2},
    {-19, 0, 0, 1, 0, 1, K, 1, -3, -3},
    {-20, 0, 0, 1, 0, 0, K, 1, -3, -3},
    {-21, 0, 0, 0, 0, 0, K, 1, -2, -2},
    {-22, 0, 0, 1, 0, 1, K, 1, -3, -1},
    {-41, 0, 0, 0, 0, 1, 0, 0, -9, -10},
    {-42, 0, 0, 0, 0, 1, 0, 0, -5, -6},
    {-43, 0, 0, 0, 0, 1, 0, 0, -7, -8},
    // Roles in no row.
    {1, K, K, K, K, K, K, K, None, None},
    {-11, K, K, K, K, K, K, K, None, None},
    {-15, K, K, K, K, K, K, K, None, None},
    {-40, K, K, K, K, K, K, K, None, None},
};

bool Want(int col, bool init, bool sameDepth) {
    if (col == D) return sameDepth;
    return col == K ? init : col == 1;
}

// What an end should look like: the segment's style copied in, the point
// updated with its role (if any), then the arrow step.
DPoint ExpectedEnd(DPoint p, const DLine& l, int role, bool arrow) {
    p.Color.v = IndexToColor(l.ColorIndex.v);
    p.ColorIndex.v = l.ColorIndex.v;
    p.Layer.v = l.Layer.v;
    if (role != None) UpdatePoint(p, role);
    p.Typ.e = !arrow;
    return p;
}

}  // namespace

TEST(UpdateLine, EveryRoleRowWithItsEndRoles) {
    for (const LineRow& r : LineRows) {
        for (bool init : {false, true}) {
            SCOPED_TRACE(testing::Message() << "role " << r.role << " flags " << init);
            const DLine before = Sample(init);
            DLine l = before;
            UpdateLine(l, r.role);

            EXPECT_EQ(l.ID.e, Want(r.id, init, false));
            for (bool e : {l.Layer.e, l.Color.e, l.ColorIndex.e, l.Disabled.e}) EXPECT_EQ(e, Want(r.style, init, false));
            EXPECT_EQ(l.Thick.e, Want(r.thick, init, false));
            EXPECT_EQ(l.Angle.e, Want(r.angle, init, false));
            EXPECT_EQ(l.Length.e, Want(r.len, init, false));
            EXPECT_EQ(l.LineType.e, Want(r.ltype, init, false));
            EXPECT_EQ(l.Arrow1.e, Want(r.arrows, init, false));
            EXPECT_EQ(l.Arrow2.e, Want(r.arrows, init, false));
            // Untouched by any role.
            for (bool e : {l.Frac3.e, l.Frac4.e, l.Show3.e, l.Show4.e}) EXPECT_EQ(e, init);

            // Line type 2: dash and gap editable.  Arrow step: arrow 1 on, arrow 2 off.
            EXPECT_TRUE(l.Dash.e);
            EXPECT_TRUE(l.Gap.e);
            EXPECT_TRUE(l.Arrow1Len.e);
            EXPECT_TRUE(l.Arrow1Angle.e);
            EXPECT_FALSE(l.Arrow2Len.e);
            EXPECT_FALSE(l.Arrow2Angle.e);

            {
                SCOPED_TRACE("end 1");
                ExpectSamePoint(l.P1, ExpectedEnd(before.P1, l, r.e1, true));
            }
            {
                SCOPED_TRACE("end 2");
                ExpectSamePoint(l.P2, ExpectedEnd(before.P2, l, r.e2, false));
            }

            // Division points: always role -3 when the role has a row, type flag 1.
            for (const DPoint* d : {&l.P3, &l.P4}) {
                EXPECT_TRUE(d->Typ.e);
                EXPECT_EQ(d->Color.v, 0xFF0000u);
                EXPECT_EQ(d->Layer.v, 3);
                if (r.e1 != None) {
                    EXPECT_FALSE(d->ID.e);
                    EXPECT_FALSE(d->X.e);
                    EXPECT_FALSE(d->ScrX.e);
                    EXPECT_TRUE(d->Name.e);
                    EXPECT_FALSE(d->Color.e);
                } else {
                    EXPECT_EQ(d->X.e, init);
                    EXPECT_EQ(d->Name.e, init);
                }
            }
        }
    }
}

TEST(UpdateLine, StandAloneAngleFlagFollowsDepth) {
    DLine l = Sample(false);
    UpdateLine(l, 0);
    EXPECT_FALSE(l.Angle.e);
    l.P2.X.v = l.P1.X.v;
    UpdateLine(l, 0);
    EXPECT_TRUE(l.Angle.e);
}

TEST(UpdateLine, StandAloneLinkedEnds) {
    DLine l = Sample(true);
    l.P1.X.v = l.P2.X.v;
    l.P1.Link.b[0] = 1;
    UpdateLine(l, 0);
    for (bool e : {l.P1.ScrX.e, l.P1.ScrY.e, l.P1.X.e, l.P1.Y.e, l.P1.Z.e}) EXPECT_FALSE(e);
    for (bool e : {l.P2.ScrX.e, l.P2.ScrY.e, l.P2.X.e, l.P2.Y.e, l.P2.Z.e}) EXPECT_TRUE(e);
    EXPECT_TRUE(l.Length.e);
    EXPECT_TRUE(l.Angle.e);

    l.P2.Link.b[0] = 3;
    UpdateLine(l, 0);
    for (bool e : {l.P2.ScrX.e, l.P2.ScrY.e, l.P2.X.e, l.P2.Y.e, l.P2.Z.e}) EXPECT_FALSE(e);
    EXPECT_FALSE(l.Length.e);
    EXPECT_FALSE(l.Angle.e);
    EXPECT_TRUE(l.P1.Name.e);

    // A part's ends ignore links.
    UpdateLine(l, -3);
    EXPECT_TRUE(l.Length.e);
}

TEST(UpdateLine, AngleLengthColourAndDivisionPoints) {
    DLine l;
    l.P2 = End(0, 10, 0);
    l.ColorIndex.v = 4;
    l.Layer.v = 7;
    l.Frac3.v = 0.25;
    l.Frac4.v = 0.75;
    UpdateLine(l, 0);
    EXPECT_EQ(l.Color.v, 0x800000u);
    EXPECT_DOUBLE_EQ(l.Angle.v, 0);
    EXPECT_DOUBLE_EQ(l.Length.v, 10);
    EXPECT_DOUBLE_EQ(l.P3.Y.v, 2.5);
    EXPECT_EQ(l.P3.ScrX.v, 2);  // 2.5 to the even neighbour
    EXPECT_DOUBLE_EQ(l.P4.Y.v, 7.5);
    EXPECT_EQ(l.P4.ScrX.v, 8);
    for (const DPoint* p : {&l.P1, &l.P2, &l.P3, &l.P4}) {
        EXPECT_EQ(p->Color.v, 0x800000u);
        EXPECT_EQ(p->ColorIndex.v, 4);
        EXPECT_EQ(p->Layer.v, 7);
    }
}

TEST(UpdateLine, ZeroLengthPutsDivisionPointsOnEnd1) {
    DLine l;
    l.P1 = End(1, 2, 3);
    l.P2 = End(1, 2, 3.000001);
    l.Frac3.v = 0.5;
    l.Frac4.v = 2;
    l.P3 = End(9, 9, 9);
    UpdateLine(l, 0);
    EXPECT_DOUBLE_EQ(l.Length.v, 0);
    for (const DPoint* p : {&l.P3, &l.P4}) {
        EXPECT_DOUBLE_EQ(p->X.v, 1);
        EXPECT_DOUBLE_EQ(p->Y.v, 2);
        EXPECT_DOUBLE_EQ(p->Z.v, 3);
        EXPECT_TRUE(std::isfinite(p->ScrX.v));
    }
}

TEST(UpdateLine, RadiusWithCoincidingPictureEndsKeepsAngleAndLength) {
    DLine l;
    l.P2 = End(0, 0, 0);
    l.Angle.v = 30;
    l.Length.v = 5;
    UpdateLine(l, -1);
    EXPECT_EQ(l.Angle.v, 30);
    EXPECT_EQ(l.Length.v, 5);
    for (double v : {l.P3.X.v, l.P3.Y.v, l.P3.Z.v, l.P4.X.v, l.P4.Y.v, l.P4.Z.v}) EXPECT_TRUE(std::isfinite(v));

    // Any other role recomputes them.
    DLine m = l;
    UpdateLine(m, -3);
    EXPECT_EQ(m.Length.v, 0);
    EXPECT_EQ(m.Angle.v, 90);

    // Ends apart in the picture: recomputed for a radius too.
    l.P2 = End(0, 3, 4);
    l.P2.ScrX.v = 3;
    l.P2.ScrY.v = 4;
    UpdateLine(l, -1);
    EXPECT_DOUBLE_EQ(l.Length.v, 5);
    EXPECT_DOUBLE_EQ(l.Angle.v, 53.13);
}

TEST(UpdateLine, LineTypeSetsDashAndGapFlags) {
    const struct {
        std::uint8_t type;
        bool init, want;
    } cases[] = {{1, true, false}, {2, false, true}, {3, true, false}, {0, true, true}, {0, false, false}, {4, true, true}};
    for (const auto& c : cases) {
        DLine l;
        l.LineType.v = c.type;
        l.Dash.e = l.Gap.e = c.init;
        UpdateLine(l, 0);
        EXPECT_EQ(l.Dash.e, c.want) << int(c.type);
        EXPECT_EQ(l.Gap.e, c.want) << int(c.type);
    }
}

TEST(UpdateLine, ArrowStepForEveryRole) {
    for (const LineRow& r : LineRows) {
        DLine l = Sample(true);
        l.Arrow1.v = false;
        l.Arrow2.v = true;
        UpdateLine(l, r.role);
        EXPECT_TRUE(l.P1.Typ.e) << r.role;
        EXPECT_FALSE(l.P2.Typ.e) << r.role;
        EXPECT_FALSE(l.Arrow1Len.e) << r.role;
        EXPECT_FALSE(l.Arrow1Angle.e) << r.role;
        EXPECT_TRUE(l.Arrow2Len.e) << r.role;
        EXPECT_TRUE(l.Arrow2Angle.e) << r.role;
    }
}

TEST(UpdateLine, RoleWithoutRowLeavesEndsUnprojected) {
    DLine l = Sample(false);
    l.P1.ScrX.v = 777;
    UpdateLine(l, 1);
    EXPECT_EQ(l.P1.ScrX.v, 777);
    EXPECT_EQ(l.P1.Y.v, 10.0004);
    EXPECT_NE(l.P3.ScrX.v, 999);  // division points are projected anyway
}
