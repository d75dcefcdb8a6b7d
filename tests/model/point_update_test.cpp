#include <gtest/gtest.h>

#include <vector>

#include "model/update.h"

using namespace pelmar;

namespace {

std::vector<bool*> NameFlags(DPoint& p) {
    return {&p.Name.e,      &p.Upper.e,      &p.Lower.e,       &p.NameFont.e,  &p.NameBold.e,
            &p.NameItalic.e, &p.NameSize.e,  &p.IndexFont.e,   &p.IndexBold.e, &p.IndexItalic.e,
            &p.IndexSize.e,  &p.LabelDist.e, &p.LabelAngle.e};
}

std::vector<bool*> StyleFlags(DPoint& p) { return {&p.Color.e, &p.ColorIndex.e, &p.Layer.e, &p.Disabled.e}; }

void SetAllFlags(DPoint& p, bool v) {
    for (bool* e : NameFlags(p)) *e = v;
    for (bool* e : StyleFlags(p)) *e = v;
    for (bool* e : {&p.ID.e, &p.ScrX.e, &p.ScrY.e, &p.Typ.e, &p.Radius.e, &p.Thick.e, &p.X.e, &p.Y.e, &p.Z.e})
        *e = v;
}

DPoint Sample(std::uint8_t type, bool flags) {
    DPoint p;
    SetAllFlags(p, flags);
    p.Typ.v = type;
    p.Radius.v = 4;
    p.Thick.v = 2;
    p.Name.s = "A";
    p.Upper.s = "'";
    p.Lower.s = "1";
    p.X.v = 0;
    p.Y.v = 100.25;
    p.Z.v = 50.5;
    p.ColorIndex.v = 9;
    return p;
}

constexpr int Kept = -1;  // the flag keeps its value

enum class Sizes { asTyped, offWithType, off };
enum class Reset { none, cleared, typeOnly };

struct PointRow {
    int role;
    int id, scrX, scrY, x, y, z, type, names, style;
    Sizes sizes;
    Reset reset;
    bool emptied;
};

// The point roles as the parents use them.
const PointRow PointRows[] = {
    {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, Sizes::asTyped, Reset::none, false},
    {-1, 0, 1, 1, 1, 1, 1, Kept, 1, 0, Sizes::offWithType, Reset::none, false},
    {-2, 0, 0, 0, 0, 0, 0, 0, 0, 0, Sizes::asTyped, Reset::cleared, true},
    {-3, 0, 0, 0, 0, 0, 0, Kept, 1, 0, Sizes::offWithType, Reset::none, false},
    {-4, 0, 1, 1, 1, 1, 1, 0, 0, 0, Sizes::off, Reset::typeOnly, true},
    {-5, 0, 1, 0, 0, 0, 0, 0, 0, 0, Sizes::asTyped, Reset::cleared, true},
    {-6, 0, 1, 0, 0, 0, 0, Kept, 1, 0, Sizes::offWithType, Reset::cleared, false},
    {-7, 0, 0, 1, 0, 0, 0, 0, 0, 0, Sizes::asTyped, Reset::cleared, true},
    {-8, 0, 0, 1, 0, 0, 0, Kept, 1, 0, Sizes::offWithType, Reset::cleared, false},
    {-9, 0, 0, 0, 1, 0, 0, 0, 0, 0, Sizes::asTyped, Reset::cleared, true},
    {-10, 0, 0, 0, 1, 0, 0, Kept, 1, 0, Sizes::offWithType, Reset::cleared, false},
    // Roles in no row: positive (animation) and unused negative values set no role flags.
    {1, Kept, Kept, Kept, Kept, Kept, Kept, Kept, Kept, Kept, Sizes::asTyped, Reset::none, false},
    {7, Kept, Kept, Kept, Kept, Kept, Kept, Kept, Kept, Kept, Sizes::asTyped, Reset::none, false},
    {-11, Kept, Kept, Kept, Kept, Kept, Kept, Kept, Kept, Kept, Sizes::asTyped, Reset::none, false},
    {-41, Kept, Kept, Kept, Kept, Kept, Kept, Kept, Kept, Kept, Sizes::asTyped, Reset::none, false},
};

bool Want(int col, bool init) { return col == Kept ? init : col == 1; }

}  // namespace

TEST(IndexToColor, PaletteAndFallback) {
    const TColor expected[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                 0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,
                                 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(IndexToColor(static_cast<std::uint8_t>(i), 0x123456), expected[i]) << i;
    EXPECT_EQ(IndexToColor(9, 0xABCDEF), 0x0000FFu);
    EXPECT_EQ(IndexToColor(16, 0xABCDEF), 0xABCDEFu);
    EXPECT_EQ(IndexToColor(255, 7), 7u);
}

TEST(UpdatePoint, EveryRoleRowForEveryTypeAndStartingFlags) {
    for (const PointRow& r : PointRows) {
        for (bool init : {false, true}) {
            for (std::uint8_t type : {1, 2, 3, 7}) {
                SCOPED_TRACE(testing::Message() << "role " << r.role << " flags " << init << " type " << int(type));
                DPoint p = Sample(type, init);
                UpdatePoint(p, r.role);

                EXPECT_EQ(p.ID.e, Want(r.id, init));
                EXPECT_EQ(p.ScrX.e, Want(r.scrX, init));
                EXPECT_EQ(p.ScrY.e, Want(r.scrY, init));
                EXPECT_EQ(p.X.e, Want(r.x, init));
                EXPECT_EQ(p.Y.e, Want(r.y, init));
                EXPECT_EQ(p.Z.e, Want(r.z, init));
                EXPECT_EQ(p.Typ.e, Want(r.type, init));
                for (bool* e : NameFlags(p)) EXPECT_EQ(*e, Want(r.names, init));
                for (bool* e : StyleFlags(p)) EXPECT_EQ(*e, Want(r.style, init));

                // The type step on the stored type, then what the role does to the sizes.
                bool radius = type == 2 || type == 3 || (type == 7 && init);
                bool thick = type == 3 || (type == 7 && init);
                if (r.sizes == Sizes::off || (r.sizes == Sizes::offWithType && !p.Typ.e)) radius = thick = false;
                EXPECT_EQ(p.Radius.e, radius);
                EXPECT_EQ(p.Thick.e, thick);

                EXPECT_EQ(p.Typ.v, r.reset == Reset::none ? type : 1);
                EXPECT_EQ(p.Radius.v, r.reset == Reset::cleared ? 0 : 4);
                EXPECT_EQ(p.Thick.v, r.reset == Reset::cleared ? 0 : 2);
                EXPECT_EQ(p.Name.s, r.emptied ? "" : "A");
                EXPECT_EQ(p.Upper.s, r.emptied ? "" : "'");
                EXPECT_EQ(p.Lower.s, r.emptied ? "" : "1");

                // Derived values whatever the role.
                EXPECT_EQ(p.Color.v, 0x0000FFu);
                EXPECT_EQ(p.ScrX.v, 100);
                EXPECT_EQ(p.ScrY.v, 50);  // 50.5 rounds to the even neighbour
            }
        }
    }
}

TEST(UpdatePoint, LinkedStandAlonePointLocksItsPosition) {
    DPoint p = Sample(2, false);
    p.Link.b[0] = 2;
    p.Link.b[1] = 3;
    UpdatePoint(p, 0);
    for (bool e : {p.ScrX.e, p.ScrY.e, p.X.e, p.Y.e, p.Z.e}) EXPECT_FALSE(e);
    EXPECT_TRUE(p.ID.e);
    EXPECT_TRUE(p.Typ.e);
    for (bool* e : NameFlags(p)) EXPECT_TRUE(*e);
    for (bool* e : StyleFlags(p)) EXPECT_TRUE(*e);

    // Only the stand-alone role looks at the link.
    DPoint end = Sample(1, false);
    end.Link.b[0] = 2;
    UpdatePoint(end, -1);
    EXPECT_TRUE(end.X.e);
    EXPECT_TRUE(end.ScrX.e);
}

TEST(UpdatePoint, RoundsCoordinatesHalfToEvenAfterProjecting) {
    DPoint p;
    p.X.v = 2.0625;
    p.Y.v = 2.1875;
    p.Z.v = -0.0625;
    UpdatePoint(p, 0);
    EXPECT_DOUBLE_EQ(p.X.v, 2.062);
    EXPECT_DOUBLE_EQ(p.Y.v, 2.188);
    EXPECT_DOUBLE_EQ(p.Z.v, -0.062);

    // Picture position from the unrounded values: 3.4996 projects to 3, while
    // the rounded 3.5 would give 4.
    DPoint q;
    q.Y.v = 3.4996;
    q.Z.v = -2.5;
    UpdatePoint(q, 0);
    EXPECT_DOUBLE_EQ(q.Y.v, 3.5);
    EXPECT_EQ(q.ScrX.v, 3);
    EXPECT_EQ(q.ScrY.v, -2);  // -2.5 to the even neighbour

    DPoint t;
    t.Y.v = 2.5;
    UpdatePoint(t, 0);
    EXPECT_EQ(t.ScrX.v, 2);
}

TEST(UpdatePoint, ColourIndexOutsidePaletteKeepsColour) {
    DPoint p;
    p.Color.v = 0x112233;
    p.ColorIndex.v = 40;
    UpdatePoint(p, 0);
    EXPECT_EQ(p.Color.v, 0x112233u);
}

TEST(UpdatePoint, SecondRunChangesNothing) {
    for (const PointRow& r : PointRows) {
        DPoint p = Sample(1, true);
        p.X.v = 12.3456;
        UpdatePoint(p, r.role);
        DPoint q = p;
        UpdatePoint(q, r.role);
        EXPECT_EQ(q.X.v, p.X.v) << r.role;
        EXPECT_EQ(q.ScrX.v, p.ScrX.v) << r.role;
        EXPECT_EQ(q.ScrY.v, p.ScrY.v) << r.role;
        EXPECT_EQ(q.Radius.e, p.Radius.e) << r.role;
        EXPECT_EQ(q.Typ.e, p.Typ.e) << r.role;
        EXPECT_EQ(q.X.e, p.X.e) << r.role;
    }
}
