// The 2D and 3D coordinate-system updates.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "model/geometry.h"
#include "model/update.h"

using namespace pelmar;

namespace {

void Put(DPoint& p, double x, double y, double z) {
    p.X.v = x;
    p.Y.v = y;
    p.Z.v = z;
}

void PointDoubles(const DPoint& p, std::vector<double>& out) {
    out.insert(out.end(), {p.ScrX.v, p.ScrY.v, p.X.v, p.Y.v, p.Z.v});
}

void LineDoubles(const DLine& l, std::vector<double>& out) {
    out.insert(out.end(), {l.Angle.v, l.Length.v, l.Frac3.v, l.Frac4.v});
    for (const DPoint* p : {&l.P1, &l.P2, &l.P3, &l.P4}) PointDoubles(*p, out);
}

// The Doubles the update writes: centre and axes.
std::vector<double> Doubles(const DPoint& c, std::initializer_list<const DLine*> axes) {
    std::vector<double> out;
    PointDoubles(c, out);
    for (const DLine* l : axes) LineDoubles(*l, out);
    return out;
}

bool AllFinite(const std::vector<double>& v) {
    for (double d : v)
        if (!std::isfinite(d)) return false;
    return true;
}

// Records of the coordinate systems are large: keep them on the heap.
std::unique_ptr<DXOY> NewXOY() {
    auto x = std::make_unique<DXOY>();
    Put(x->Center, 0, 100, 100);
    Put(x->AxisX.P1, 0, 0, 100);
    Put(x->AxisX.P2, 0, 300, 100);
    Put(x->AxisY.P1, 0, 100, 0);
    Put(x->AxisY.P2, 0, 100, 300);
    x->Thick.v = 2;
    x->ColorIndex.v = 12;
    x->Layer.v = 4;
    x->AxisX.Frac3.v = x->AxisY.Frac3.v = 0.5;
    return x;
}

std::unique_ptr<DXZ> NewXYZ() {
    auto x = std::make_unique<DXZ>();
    Put(x->Center, 0, 0, 0);
    Put(x->AxisX.P1, -100, 0, 0);
    Put(x->AxisX.P2, 200, 0, 0);
    Put(x->AxisY.P1, 0, -100, 0);
    Put(x->AxisY.P2, 0, 200, 0);
    Put(x->AxisZ.P1, 0, 0, -100);
    Put(x->AxisZ.P2, 0, 0, 200);
    x->Thick.v = 3;
    x->ColorIndex.v = 2;
    x->Layer.v = 6;
    return x;
}

}  // namespace

TEST(UpdateXOY, AxesFollowTheCentreOnWholePixels) {
    auto x = NewXOY();
    Put(x->Center, 10, 100.4, 50.6);
    UpdateXOY(*x, 0);
    EXPECT_EQ(x->Center.ScrX.v, std::nearbyint(100.4 - 10 / std::sqrt(8.0)));
    EXPECT_EQ(x->Center.ScrY.v, std::nearbyint(50.6 - 10 / std::sqrt(8.0)));
    for (const DPoint* p : {&x->AxisX.P1, &x->AxisX.P2}) {
        EXPECT_EQ(p->X.v, 10);
        EXPECT_EQ(p->Z.v, 50.6);
    }
    for (const DPoint* p : {&x->AxisY.P1, &x->AxisY.P2}) {
        EXPECT_EQ(p->X.v, 10);
        EXPECT_EQ(p->Y.v, 100.4);
    }
    for (const DPoint* p : {&x->AxisX.P1, &x->AxisX.P2, &x->AxisY.P1, &x->AxisY.P2}) {
        EXPECT_EQ(p->ScrX.v, std::nearbyint(p->ScrX.v));
        EXPECT_EQ(p->ScrY.v, std::nearbyint(p->ScrY.v));
    }
    EXPECT_EQ(x->AxisX.Angle.v, 0);
    EXPECT_EQ(x->AxisY.Angle.v, 90);
    EXPECT_EQ(x->AxisX.Length.v, 300);
}

TEST(UpdateXOY, BackwardAxesCollapse) {
    auto x = NewXOY();
    x->AxisX.P2.Y.v = -50;  // left of end 1
    x->AxisY.P1.Z.v = 500;  // above end 2
    UpdateXOY(*x, 0);
    EXPECT_EQ(x->AxisX.P2.Y.v, x->AxisX.P1.Y.v);
    EXPECT_EQ(x->AxisX.Length.v, 0);
    EXPECT_EQ(x->AxisY.P1.Z.v, 300);
    EXPECT_EQ(x->AxisY.Length.v, 0);
    EXPECT_TRUE(AllFinite(Doubles(x->Center, {&x->AxisX, &x->AxisY})));
}

TEST(UpdateXOY, ArrowsColoursAndStyle) {
    for (int role : {0, 1}) {
        auto x = NewXOY();
        x->AxisX.Arrow1.v = true;
        x->AxisX.Arrow2.v = false;
        x->AxisY.Arrow1.v = true;
        x->GraphColorIndex[1].v = 9;
        x->GraphColorIndex[6].v = 15;
        x->GraphColor[2].v = 0x123456;
        x->GraphColorIndex[2].v = 300;  // outside the palette: colour kept
        UpdateXOY(*x, role);
        for (const DLine* l : {&x->AxisX, &x->AxisY}) {
            EXPECT_FALSE(l->Arrow1.v);
            EXPECT_TRUE(l->Arrow2.v);
            EXPECT_EQ(l->Thick.v, 2);
            EXPECT_EQ(l->Color.v, 0xFF0000u);
            EXPECT_EQ(l->Layer.v, 4);
        }
        EXPECT_EQ(x->Color.v, 0xFF0000u);
        EXPECT_EQ(x->Center.Color.v, 0xFF0000u);
        EXPECT_EQ(x->GraphColor[1].v, 0x0000FFu);
        EXPECT_EQ(x->GraphColor[6].v, 0xFFFFFFu);
        EXPECT_EQ(x->GraphColor[2].v, 0x123456u);
    }
}

TEST(UpdateXOY, StandAloneFlags) {
    auto x = NewXOY();
    x->Center.Link.b[0] = 1;
    x->AxisX.P2.Name.s = "x";
    x->AxisX.P1.Name.s = "gone";
    UpdateXOY(*x, 0);
    for (bool e : {x->ID.e, x->Layer.e, x->Thick.e, x->Color.e, x->ColorIndex.e, x->Disabled.e, x->ScaleX.e,
                   x->ScaleY.e, x->DivX.e, x->DivY.e, x->MarkWidth.e, x->MarkHeight.e, x->GridOn.e, x->GridThick.e,
                   x->GridStep.e, x->NumbersOn.e, x->NumberStep.e, x->NumberFont.e, x->NumbersItalic.e,
                   x->NumbersBold.e, x->NumberSize.e, x->Graph2.e})
        EXPECT_TRUE(e);
    for (std::size_t k = 1; k <= 6; ++k) {
        EXPECT_TRUE(x->GraphOn[k].e && x->Graph[k].e && x->GraphThick[k].e && x->GraphColor[k].e &&
                    x->GraphColorIndex[k].e);
    }
    // A linked centre keeps every flag but its position ones.
    EXPECT_TRUE(x->Center.Typ.e && x->Center.Name.e);
    EXPECT_FALSE(x->Center.ScrX.e || x->Center.ScrY.e || x->Center.X.e || x->Center.Y.e || x->Center.Z.e);
    // The X axis's ends move only sideways; only the far end keeps its name.
    EXPECT_TRUE(x->AxisX.P2.ScrX.e);
    EXPECT_FALSE(x->AxisX.P2.ScrY.e);
    EXPECT_EQ(x->AxisX.P2.Name.s, "x");
    EXPECT_EQ(x->AxisX.P1.Name.s, "");
    EXPECT_FALSE(x->AxisY.P2.ScrX.e);
    EXPECT_TRUE(x->AxisY.P2.ScrY.e);
}

TEST(UpdateXOY, OtherRolesRecomputeGeometryOnly) {
    auto x = NewXOY();
    x->AxisX.Length.v = 7;
    Put(x->Center, 0, 120, 80);
    UpdateXOY(*x, 1);
    EXPECT_FALSE(x->ID.e || x->ScaleX.e || x->Center.Typ.e);
    EXPECT_EQ(x->AxisX.P1.Z.v, 80);
    EXPECT_EQ(x->AxisX.Length.v, 7);
}

TEST(UpdateXYZ, AxesRunThroughTheCentre) {
    auto x = NewXYZ();
    Put(x->Center, 10, 20, 30);
    Put(x->AxisY.P1, 5, 0, 7);
    Put(x->AxisZ.P2, -3, 9, 200);
    UpdateXYZ(*x, 0);
    for (const DPoint* p : {&x->AxisX.P1, &x->AxisX.P2}) {
        EXPECT_EQ(p->Y.v, 20);
        EXPECT_EQ(p->Z.v, 30);
    }
    for (const DPoint* p : {&x->AxisY.P1, &x->AxisY.P2}) {
        EXPECT_EQ(p->X.v, 10);
        EXPECT_EQ(p->Z.v, 30);
    }
    for (const DPoint* p : {&x->AxisZ.P1, &x->AxisZ.P2}) {
        EXPECT_EQ(p->X.v, 10);
        EXPECT_EQ(p->Y.v, 20);
    }
    EXPECT_EQ(x->AxisX.P1.X.v, -100);  // the depth axis keeps its own X
    EXPECT_EQ(x->AxisY.Length.v, 200);
}

TEST(UpdateXYZ, BackwardAxesCollapseButTheDepthAxisMayPointEitherWay) {
    auto x = NewXYZ();
    x->AxisY.P1.Y.v = 0;
    x->AxisY.P2.Y.v = -50;
    x->AxisZ.P1.Z.v = 250;
    x->AxisX.P1.X.v = 300;  // reversed depth axis stays
    UpdateXYZ(*x, 0);
    EXPECT_EQ(x->AxisY.P1.Y.v, 0);
    EXPECT_EQ(x->AxisY.P2.Y.v, 0);
    EXPECT_EQ(x->AxisZ.P1.Z.v, 200);
    EXPECT_EQ(x->AxisZ.Length.v, 0);
    EXPECT_EQ(x->AxisX.P1.X.v, 300);
    EXPECT_EQ(x->AxisX.Length.v, 100);
}

TEST(UpdateXYZ, ArrowsStyleAndFlags) {
    auto x = NewXYZ();
    x->AxisZ.Arrow1.v = true;
    x->AxisZ.Arrow2.v = false;
    x->SurfColorIndex[3].v = 14;
    x->Center.Link.b[0] = 3;
    UpdateXYZ(*x, 0);
    for (const DLine* l : {&x->AxisX, &x->AxisY, &x->AxisZ}) {
        EXPECT_FALSE(l->Arrow1.v);
        EXPECT_TRUE(l->Arrow2.v);
        EXPECT_EQ(l->Thick.v, 3);
        EXPECT_EQ(l->Color.v, 0x008000u);
        EXPECT_EQ(l->Layer.v, 6);
        EXPECT_TRUE(l->Length.e);
        EXPECT_FALSE(l->Angle.e || l->LineType.e || l->Arrow1.e);
    }
    EXPECT_EQ(x->SurfColor[3].v, 0xFFFF00u);
    EXPECT_EQ(x->Center.Color.v, 0x008000u);
    for (bool e : {x->ID.e, x->Layer.e, x->Thick.e, x->Color.e, x->ColorIndex.e, x->Disabled.e, x->Scale.e, x->Div.e,
                   x->MarkWidth.e, x->MarkHeight.e, x->NumbersOn.e, x->NumberStep.e, x->NumberFont.e,
                   x->NumbersItalic.e, x->NumbersBold.e, x->NumberSize.e, x->Surf3More[1].e, x->Surf3More[2].e})
        EXPECT_TRUE(e);
    for (std::size_t k = 1; k <= 4; ++k)
        EXPECT_TRUE(x->SurfOn[k].e && x->Surf[k].e && x->SurfThick[k].e && x->SurfColor[k].e &&
                    x->SurfColorIndex[k].e);
    EXPECT_TRUE(x->Center.Typ.e);
    EXPECT_FALSE(x->Center.X.e || x->Center.Y.e || x->Center.Z.e || x->Center.ScrX.e || x->Center.ScrY.e);
    // The depth axis moves only in depth.
    EXPECT_TRUE(x->AxisX.P2.X.e);
    EXPECT_FALSE(x->AxisX.P2.Y.e || x->AxisX.P2.ScrX.e);
}

TEST(UpdateXYZ, RoleOneProjectsButKeepsAxisValues) {
    auto x = NewXYZ();
    UpdateXYZ(*x, 0);
    const double angle = x->AxisY.Angle.v, length = x->AxisY.Length.v;
    Put(x->Center, 0, 40, 0);
    x->AxisY.P2.Y.v = 400;
    UpdateXYZ(*x, 1);
    EXPECT_EQ(x->AxisY.P2.ScrX.v, 400);
    EXPECT_EQ(x->Center.ScrX.v, 40);
    EXPECT_EQ(x->AxisZ.P1.ScrX.v, 40);
    EXPECT_EQ(x->AxisY.Angle.v, angle);
    EXPECT_EQ(x->AxisY.Length.v, length);
    EXPECT_FALSE(x->AxisZ.Arrow1.v);
    EXPECT_TRUE(x->AxisZ.Arrow2.v);
}

TEST(AxesUpdateRandom, FiniteAndRepeatable) {
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> u(-1000, 1000);
    auto grid = [&] { return std::nearbyint(u(rng) * 1000) / 1000; };
    for (int i = 0; i < 300; ++i) {
        const int role = i % 3 == 2 ? 1 : 0;
        auto a = NewXOY();
        Put(a->Center, grid(), grid(), grid());
        for (DPoint* p : {&a->AxisX.P1, &a->AxisX.P2, &a->AxisY.P1, &a->AxisY.P2}) Put(*p, grid(), grid(), grid());
        if (i % 5 == 0) a->AxisX.P2 = a->AxisX.P1;  // zero length
        UpdateXOY(*a, role);
        const auto once = Doubles(a->Center, {&a->AxisX, &a->AxisY});
        ASSERT_TRUE(AllFinite(once));
        UpdateXOY(*a, role);
        EXPECT_EQ(Doubles(a->Center, {&a->AxisX, &a->AxisY}), once) << i;

        auto b = NewXYZ();
        Put(b->Center, grid(), grid(), grid());
        for (DPoint* p : {&b->AxisX.P1, &b->AxisX.P2, &b->AxisY.P1, &b->AxisY.P2, &b->AxisZ.P1, &b->AxisZ.P2})
            Put(*p, grid(), grid(), grid());
        if (i % 5 == 0) b->AxisZ.P2 = b->AxisZ.P1;
        UpdateXYZ(*b, role);
        const auto onceB = Doubles(b->Center, {&b->AxisX, &b->AxisY, &b->AxisZ});
        ASSERT_TRUE(AllFinite(onceB));
        UpdateXYZ(*b, role);
        EXPECT_EQ(Doubles(b->Center, {&b->AxisX, &b->AxisY, &b->AxisZ}), onceB) << i;
    }
}
