#include <gtest/gtest.h>

#include "model/records.h"

using namespace pelmar;

TEST(KindTable, CodesCapacitiesAndNumbersFollowKindOrder) {
    const char* codes[] = {"po", "li", "ci", "tr", "kv", "xy", "sf", "zi", "ko", "i3", "i4", "r3", "r4", "xz"};
    const int caps[] = {50, 50, 50, 20, 12, 10, 3, 3, 3, 3, 3, 3, 3, 2};
    for (int i = 0; i < KindCount; ++i) {
        EXPECT_STREQ(KindTable[i].code, codes[i]);
        EXPECT_EQ(KindTable[i].capacity, caps[i]);
        EXPECT_EQ(KindNumber(KindTable[i].kind), i + 1);
        EXPECT_EQ(KindFromCode(codes[i]), i + 1);
    }
    EXPECT_EQ(KindFromCode("00"), 0);
    EXPECT_EQ(KindFromCode("p"), 0);
    EXPECT_EQ(TotalCapacity(), 215);
}

TEST(Arr1, IsOneBasedAndChecked) {
    Arr1<int, 3> a;
    a[1] = 10;
    a[3] = 30;
    EXPECT_EQ(a.a[0], 10);
    EXPECT_EQ(a.a[2], 30);
    EXPECT_THROW(a[0], std::out_of_range);
    EXPECT_THROW(a[4], std::out_of_range);
}

TEST(Store, CountNeverExceedsCapacityAndOnlyLiveSlotsAreReachable) {
    Store<DPoint, 3> s;
    EXPECT_EQ(s.count(), 0);
    EXPECT_THROW(s[1], std::out_of_range);
    DPoint p;
    p.X.v = 5;
    EXPECT_TRUE(s.add(p));
    EXPECT_TRUE(s.add(p));
    EXPECT_TRUE(s.add(p));
    EXPECT_FALSE(s.add(p));
    EXPECT_EQ(s.count(), 3);
    EXPECT_EQ(s[3].X.v, 5);
    EXPECT_THROW(s[4], std::out_of_range);
}

TEST(Store, FreedSlotDoesNotLeakIntoANewObject) {
    Store<DPoint, 3> s;
    DPoint p;
    p.Name.s = "A";
    p.Number = 7;
    s.add(p);
    s.add(p);
    s.erase(1);
    EXPECT_EQ(s.count(), 1);
    s.resize(2);
    EXPECT_EQ(s[2].Name.s, "");
    EXPECT_EQ(s[2].Number, 0);
}

TEST(Store, EraseMovesLaterSlotsDown) {
    Store<DLine, 5> s;
    for (int i = 1; i <= 4; ++i) {
        DLine l;
        l.Number = i;
        s.add(l);
    }
    s.erase(2);
    ASSERT_EQ(s.count(), 3);
    EXPECT_EQ(s[1].Number, 1);
    EXPECT_EQ(s[2].Number, 3);
    EXPECT_EQ(s[3].Number, 4);
}

TEST(Records, CopyIsDeepForTextsAndNestedRecords) {
    DTri t;
    t.S[1].P1.Name.s = "A";
    t.S[1].P1.X.v = 1;
    DTri c = t;
    c.S[1].P1.Name.s = "B";
    c.S[1].P1.X.v = 2;
    EXPECT_EQ(t.S[1].P1.Name.s, "A");
    EXPECT_EQ(t.S[1].P1.X.v, 1);
}

TEST(Records, CurvesAreSharedAndReplacedWhole) {
    DXOY x;
    auto pts = std::make_shared<std::vector<CurvePoint>>(std::vector<CurvePoint>{{1, 2, 1}});
    DCurve1 c1{pts, 1};
    x.Curves.Lines = std::make_shared<std::vector<DCurve1>>(std::vector<DCurve1>{c1});
    x.Curves.Count = 1;
    DXOY y = x;
    EXPECT_EQ(y.Curves.lines().size(), 1u);
    y.Curves.Lines = nullptr;
    y.Curves.Count = 0;
    EXPECT_EQ(x.Curves.lines().size(), 1u);
    EXPECT_EQ(x.Curves.lines()[0].points()[0].y, 2);
    EXPECT_TRUE(y.Curves.lines().empty());
}

TEST(Records, FreePointHasKindZeroLink) {
    DPoint p;
    EXPECT_FALSE(p.Link.linked());
    p.Link.b = {3, 2, 0, 1, 0, 4, 0, 0, 0, 0};
    EXPECT_TRUE(p.Link.linked());
    EXPECT_EQ(p.Link.kind(), 3);
    EXPECT_EQ(p.Link.index(), 2);
    EXPECT_EQ(p.Link.sel(1), 1);
    EXPECT_EQ(p.Link.sel(2), 4);
}

TEST(Document, FullDocumentHolds215ObjectsAndCopiesWhole) {
    auto d = NewDocument();
    int n = 0;
    ForEachStore(d->Obj, [&](auto& s) {
        using T = std::remove_reference_t<decltype(s[1])>;
        while (s.add(T{})) ++n;
    });
    EXPECT_EQ(n, 215);
    for (const auto& k : KindTable) EXPECT_EQ(d->Obj.count(k.kind), k.capacity);
    d->Obj.Tr[20].S[2].P2.Name.s = "Z";
    auto copy = std::make_unique<DProj>(*d);
    EXPECT_EQ(copy->Obj.Tr[20].S[2].P2.Name.s, "Z");
    copy->Obj.Tr[20].S[2].P2.Name.s = "Y";
    EXPECT_EQ(d->Obj.Tr[20].S[2].P2.Name.s, "Z");
    EXPECT_EQ(copy->Obj.Xz.count(), 2);
}

TEST(Document, StartValues) {
    auto d = NewDocument();
    EXPECT_EQ(d->Im.Background, 0xFFFFFFu);
    EXPECT_EQ(d->Zoom, 100);
    EXPECT_EQ(d->PaperWidth, 210);
    EXPECT_EQ(d->PaperHeight, 297);
    for (const auto& k : KindTable) EXPECT_EQ(d->Obj.count(k.kind), 0);
}
