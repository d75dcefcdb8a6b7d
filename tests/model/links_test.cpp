#include <gtest/gtest.h>

#include <functional>
#include <type_traits>
#include <vector>

#include "model/geometry.h"
#include "model/links.h"
#include "model/update.h"

using namespace pelmar;

namespace {

// One selector path to a point inside a record of type T, with the way to that point.
template <class T>
struct Path {
    std::vector<std::uint8_t> sel;
    std::function<DPoint&(T&)> at;
};

template <class T>
using Paths = std::vector<Path<T>>;

// Paths of a part U reached from T by the selector s.
template <class T, class U>
void Nest(Paths<T>& out, std::uint8_t s, std::function<U&(T&)> part, const Paths<U>& inner) {
    for (const auto& in : inner) {
        Path<T> p;
        p.sel = {s};
        p.sel.insert(p.sel.end(), in.sel.begin(), in.sel.end());
        p.at = [part, at = in.at](T& t) -> DPoint& { return at(part(t)); };
        out.push_back(p);
    }
}

const Paths<DPoint>& PointEnd() {
    static const Paths<DPoint> p{{{}, [](DPoint& x) -> DPoint& { return x; }}};
    return p;
}

const Paths<DLine>& LinePaths() {
    static const Paths<DLine> out = [] {
        Paths<DLine> o;
        Nest<DLine, DPoint>(o, 1, [](DLine& l) -> DPoint& { return l.P1; }, PointEnd());
        Nest<DLine, DPoint>(o, 2, [](DLine& l) -> DPoint& { return l.P2; }, PointEnd());
        Nest<DLine, DPoint>(o, 3, [](DLine& l) -> DPoint& { return l.P3; }, PointEnd());
        Nest<DLine, DPoint>(o, 4, [](DLine& l) -> DPoint& { return l.P4; }, PointEnd());
        return o;
    }();
    return out;
}

const Paths<DCircle>& CirclePaths() {
    static const Paths<DCircle> out = [] {
        Paths<DCircle> o;
        for (std::uint8_t i = 1; i <= 3; ++i)
            Nest<DCircle, DLine>(o, i, [i](DCircle& c) -> DLine& { return c.R[i]; }, LinePaths());
        Nest<DCircle, DPoint>(o, 4, [](DCircle& c) -> DPoint& { return c.Center; }, PointEnd());
        return o;
    }();
    return out;
}

const Paths<DTri>& TriPaths() {
    static const Paths<DTri> out = [] {
        Paths<DTri> o;
        for (std::uint8_t i = 1; i <= 3; ++i)
            Nest<DTri, DLine>(o, i, [i](DTri& t) -> DLine& { return t.S[i]; }, LinePaths());
        for (std::uint8_t i = 1; i <= 5; ++i)
            Nest<DTri, DLine>(o, static_cast<std::uint8_t>(3 + i), [i](DTri& t) -> DLine& { return t.Lines[i]; },
                              LinePaths());
        Nest<DTri, DCircle>(o, 9, [](DTri& t) -> DCircle& { return t.Circ[1]; }, CirclePaths());
        Nest<DTri, DCircle>(o, 10, [](DTri& t) -> DCircle& { return t.Circ[2]; }, CirclePaths());
        return o;
    }();
    return out;
}

const Paths<DKv>& KvPaths() {
    static const Paths<DKv> out = [] {
        Paths<DKv> o;
        for (std::uint8_t i = 1; i <= 4; ++i)
            Nest<DKv, DLine>(o, i, [i](DKv& k) -> DLine& { return k.S[i]; }, LinePaths());
        Nest<DKv, DLine>(o, 5, [](DKv& k) -> DLine& { return k.Diag[1]; }, LinePaths());
        Nest<DKv, DLine>(o, 6, [](DKv& k) -> DLine& { return k.Diag[2]; }, LinePaths());
        Nest<DKv, DPoint>(o, 7, [](DKv& k) -> DPoint& { return k.Center; }, PointEnd());
        Nest<DKv, DCircle>(o, 8, [](DKv& k) -> DCircle& { return k.Circ[1]; }, CirclePaths());
        Nest<DKv, DCircle>(o, 9, [](DKv& k) -> DCircle& { return k.Circ[2]; }, CirclePaths());
        return o;
    }();
    return out;
}

const Paths<DSf>& OrbPaths() {
    static const Paths<DSf> out = [] {
        Paths<DSf> o;
        for (std::uint8_t i = 1; i <= 7; ++i)
            Nest<DSf, DCircle>(o, i, [i](DSf& s) -> DCircle& { return s.Sec[i]; }, CirclePaths());
        Nest<DSf, DPoint>(o, 8, [](DSf& s) -> DPoint& { return s.Center; }, PointEnd());
        Nest<DSf, DCircle>(o, 9, [](DSf& s) -> DCircle& { return s.Contour; }, CirclePaths());
        return o;
    }();
    return out;
}

Paths<DZi> CylinderPaths() {
    Paths<DZi> o;
    Nest<DZi, DLine>(o, 1, [](DZi& z) -> DLine& { return z.Axis; }, LinePaths());
    Nest<DZi, DCircle>(o, 2, [](DZi& z) -> DCircle& { return z.Base[1]; }, CirclePaths());
    Nest<DZi, DCircle>(o, 3, [](DZi& z) -> DCircle& { return z.Base[2]; }, CirclePaths());
    // 4 contour, 5 main section, 6 and 7 the additional sections.
    Nest<DZi, DKv>(o, 4, [](DZi& z) -> DKv& { return z.Sec[2]; }, KvPaths());
    Nest<DZi, DKv>(o, 5, [](DZi& z) -> DKv& { return z.Sec[1]; }, KvPaths());
    Nest<DZi, DKv>(o, 6, [](DZi& z) -> DKv& { return z.Sec[3]; }, KvPaths());
    Nest<DZi, DKv>(o, 7, [](DZi& z) -> DKv& { return z.Sec[4]; }, KvPaths());
    Nest<DZi, DSf>(o, 8, [](DZi& z) -> DSf& { return z.OutSphere; }, OrbPaths());
    Nest<DZi, DSf>(o, 9, [](DZi& z) -> DSf& { return z.InSphere; }, OrbPaths());
    return o;
}

Paths<DKo> ConePaths() {
    Paths<DKo> o;
    Nest<DKo, DLine>(o, 1, [](DKo& k) -> DLine& { return k.Axis; }, LinePaths());
    Nest<DKo, DCircle>(o, 2, [](DKo& k) -> DCircle& { return k.Base; }, CirclePaths());
    Nest<DKo, DTri>(o, 3, [](DKo& k) -> DTri& { return k.Sec[2]; }, TriPaths());
    Nest<DKo, DTri>(o, 4, [](DKo& k) -> DTri& { return k.Sec[1]; }, TriPaths());
    Nest<DKo, DTri>(o, 5, [](DKo& k) -> DTri& { return k.Sec[3]; }, TriPaths());
    Nest<DKo, DTri>(o, 6, [](DKo& k) -> DTri& { return k.Sec[4]; }, TriPaths());
    Nest<DKo, DSf>(o, 7, [](DKo& k) -> DSf& { return k.OutSphere; }, OrbPaths());
    Nest<DKo, DSf>(o, 8, [](DKo& k) -> DSf& { return k.InSphere; }, OrbPaths());
    return o;
}

template <class P, class B>
Paths<P> PyramidPaths(const Paths<B>& base) {
    Paths<P> o;
    constexpr std::uint8_t nf = std::is_same_v<B, DTri> ? 3 : 4;
    Nest<P, DLine>(o, 1, [](P& y) -> DLine& { return y.HeightLine; }, LinePaths());
    Nest<P, B>(o, 2, [](P& y) -> B& { return y.Base; }, base);
    for (std::uint8_t i = 1; i <= nf; ++i)
        Nest<P, DTri>(o, static_cast<std::uint8_t>(2 + i), [i](P& y) -> DTri& { return y.Face[i]; }, TriPaths());
    Nest<P, DSf>(o, nf + 3, [](P& y) -> DSf& { return y.OutSphere; }, OrbPaths());
    Nest<P, DSf>(o, nf + 4, [](P& y) -> DSf& { return y.InSphere; }, OrbPaths());
    return o;
}

template <class P, class B>
Paths<P> PrismPaths(const Paths<B>& base) {
    Paths<P> o;
    constexpr std::uint8_t ns = std::is_same_v<B, DTri> ? 3 : 4;
    Nest<P, B>(o, 1, [](P& r) -> B& { return r.Base[1]; }, base);
    Nest<P, B>(o, 2, [](P& r) -> B& { return r.Base[2]; }, base);
    for (std::uint8_t i = 1; i <= ns; ++i)
        Nest<P, DKv>(o, static_cast<std::uint8_t>(2 + i), [i](P& r) -> DKv& { return r.Side[i]; }, KvPaths());
    Nest<P, DSf>(o, ns + 3, [](P& r) -> DSf& { return r.OutSphere; }, OrbPaths());
    Nest<P, DSf>(o, ns + 4, [](P& r) -> DSf& { return r.InSphere; }, OrbPaths());
    return o;
}

DLink MakeLink(int kind, int index, const std::vector<std::uint8_t>& sel) {
    DLink l;
    l.b[0] = static_cast<std::uint8_t>(kind);
    l.b[1] = static_cast<std::uint8_t>(index);
    for (std::size_t i = 0; i < sel.size() && i < 4; ++i) l.setSel(static_cast<int>(i + 1), sel[i]);
    for (int i : {2, 4, 6, 8}) l.b[static_cast<std::size_t>(i)] = 0x77;  // carried, never read
    return l;
}

const Vec3 Start{-1, -2, -3};
const Vec3 Target{11.5, 22.25, -33};

bool Same(Vec3 a, Vec3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

// Resolves link into a fresh point; true when the point moved to `to`, and
// checks that nothing else of the point changed.
bool ResolvesTo(const DProj& doc, const DLink& link, Vec3 to) {
    DPoint p;
    SetPos(p, Start);
    p.ScrX.v = 5;
    p.ScrY.v = 6;
    p.Link = link;
    ResolveLink(doc, p, link);
    EXPECT_EQ(p.ScrX.v, 5);
    EXPECT_EQ(p.ScrY.v, 6);
    EXPECT_EQ(p.Link.b, link.b);
    return Same(Pos(p), to);
}

// Every path of a kind: the target object is index 2 of 3; only the named point
// carries the target coordinates, every other point of the document lies at 0.
// Then every path with one selector replaced by 0 or 200 must name nothing.
template <class T, std::size_t N>
void CheckKind(Store<T, N> DSubProj::*store, int kind, const Paths<T>& paths, std::size_t expected) {
    SCOPED_TRACE(testing::Message() << "kind " << kind);
    EXPECT_EQ(paths.size(), expected);
    auto doc = NewDocument();
    auto& s = (*doc).Obj.*store;
    for (int i = 0; i < 3; ++i) s.add(T{});
    for (const auto& path : paths) {
        ASSERT_LE(path.sel.size(), 4u);
        DPoint& target = path.at(s[2]);
        SetPos(target, Target);
        EXPECT_TRUE(ResolvesTo(*doc, MakeLink(kind, 2, path.sel), Target))
            << "path " << testing::PrintToString(path.sel);
        for (std::size_t k = 0; k < path.sel.size(); ++k)
            for (std::uint8_t bad : {0, 200}) {
                auto sel = path.sel;
                sel[k] = bad;
                EXPECT_TRUE(ResolvesTo(*doc, MakeLink(kind, 2, sel), Start)) << "path " << testing::PrintToString(sel);
            }
        // The same path in objects 1 and 3 names a point at 0.
        EXPECT_TRUE(ResolvesTo(*doc, MakeLink(kind, 1, path.sel), Vec3{}));
        EXPECT_TRUE(ResolvesTo(*doc, MakeLink(kind, 3, path.sel), Vec3{}));
        SetPos(target, Vec3{});
    }
    // Index outside the live objects.
    SetPos(paths.front().at(s[2]), Target);
    for (int index : {0, 4, static_cast<int>(N) + 1, 255})
        EXPECT_TRUE(ResolvesTo(*doc, MakeLink(kind, index, paths.front().sel), Start)) << "index " << index;
}

}  // namespace

TEST(ResolveLink, SegmentPaths) { CheckKind(&DSubProj::Li, 2, LinePaths(), 4); }
TEST(ResolveLink, EllipsePaths) { CheckKind(&DSubProj::Ci, 3, CirclePaths(), 13); }
TEST(ResolveLink, TrianglePaths) { CheckKind(&DSubProj::Tr, 4, TriPaths(), 12 + 20 + 26); }
TEST(ResolveLink, TetragonPaths) { CheckKind(&DSubProj::Kv, 5, KvPaths(), 16 + 8 + 1 + 26); }
TEST(ResolveLink, SpherePaths) { CheckKind(&DSubProj::Sf, 7, OrbPaths(), 7 * 13 + 1 + 13); }
TEST(ResolveLink, CylinderPaths) { CheckKind(&DSubProj::Zi, 8, CylinderPaths(), 4 + 26 + 4 * 51 + 2 * 105); }
TEST(ResolveLink, ConePaths) { CheckKind(&DSubProj::Ko, 9, ConePaths(), 4 + 13 + 4 * 58 + 2 * 105); }
TEST(ResolveLink, Pyramid3Paths) {
    CheckKind(&DSubProj::I3, 10, PyramidPaths<DPi3, DTri>(TriPaths()), 4 + 58 + 3 * 58 + 2 * 105);
}
TEST(ResolveLink, Pyramid4Paths) {
    CheckKind(&DSubProj::I4, 11, PyramidPaths<DPi4, DKv>(KvPaths()), 4 + 51 + 4 * 58 + 2 * 105);
}
TEST(ResolveLink, Prism3Paths) {
    CheckKind(&DSubProj::R3, 12, PrismPaths<DPr3, DTri>(TriPaths()), 2 * 58 + 3 * 51 + 2 * 105);
}
TEST(ResolveLink, Prism4Paths) {
    CheckKind(&DSubProj::R4, 13, PrismPaths<DPr4, DKv>(KvPaths()), 2 * 51 + 4 * 51 + 2 * 105);
}

TEST(ResolveLink, FirstSelectorJustPastEachKindsRange) {
    auto doc = NewDocument();
    doc->Obj.Li.add(DLine{});
    doc->Obj.Ci.add(DCircle{});
    doc->Obj.Tr.add(DTri{});
    doc->Obj.Kv.add(DKv{});
    doc->Obj.Sf.add(DSf{});
    doc->Obj.Zi.add(DZi{});
    doc->Obj.Ko.add(DKo{});
    doc->Obj.I3.add(DPi3{});
    doc->Obj.I4.add(DPi4{});
    doc->Obj.R3.add(DPr3{});
    doc->Obj.R4.add(DPr4{});
    const struct {
        int kind, first;
    } cases[] = {{2, 5}, {3, 5}, {4, 11}, {5, 10}, {7, 10}, {8, 10}, {9, 9}, {10, 8}, {11, 9}, {12, 8}, {13, 9}};
    for (const auto& c : cases) {
        EXPECT_TRUE(ResolvesTo(*doc, MakeLink(c.kind, 1, {static_cast<std::uint8_t>(c.first), 1, 1, 1}), Start))
            << c.kind;
        // The last selector value of the range still names a point.
        EXPECT_TRUE(ResolvesTo(*doc, MakeLink(c.kind, 1, {static_cast<std::uint8_t>(c.first - 1), 1, 1, 1}),
                               Vec3{}))
            << c.kind;
    }
}

TEST(ResolveLink, KindsWithoutSelectorsTakeTheirPointOrCentre) {
    auto doc = NewDocument();
    DPoint pt;
    SetPos(pt, Target);
    DXOY xy;
    SetPos(xy.Center, Target);
    DXZ xz;
    SetPos(xz.Center, Target);
    doc->Obj.Po.add(DPoint{});
    doc->Obj.Po.add(pt);
    doc->Obj.Xy.add(DXOY{});
    doc->Obj.Xy.add(xy);
    doc->Obj.Xz.add(DXZ{});
    doc->Obj.Xz.add(xz);
    for (int kind : {1, 6, 14}) {
        for (const std::vector<std::uint8_t>& sel : {std::vector<std::uint8_t>{}, {0, 0, 0, 0}, {9, 200, 3, 255}})
            EXPECT_TRUE(ResolvesTo(*doc, MakeLink(kind, 2, sel), Target)) << kind;
        EXPECT_TRUE(ResolvesTo(*doc, MakeLink(kind, 3, {}), Start)) << kind;
        EXPECT_TRUE(ResolvesTo(*doc, MakeLink(kind, 0, {}), Start)) << kind;
    }
}

TEST(ResolveLink, KindOutsideOneToFourteenNamesNothing) {
    auto doc = NewDocument();
    doc->Obj.Po.add(DPoint{});
    for (int kind : {0, 15, 16, 255}) EXPECT_TRUE(ResolvesTo(*doc, MakeLink(kind, 1, {1, 1, 1, 1}), Start)) << kind;
}

TEST(ResolveLink, IndexBeyondCountButWithinCapacityNamesNothing) {
    auto doc = NewDocument();
    for (int i = 0; i < 3; ++i) doc->Obj.Li.add(DLine{});
    DLine l;
    SetPos(l.P2, Target);
    doc->Obj.Li.add(l);
    EXPECT_TRUE(ResolvesTo(*doc, MakeLink(2, 4, {2}), Target));
    doc->Obj.Li.erase(4);
    EXPECT_TRUE(ResolvesTo(*doc, MakeLink(2, 4, {2}), Start));
    EXPECT_TRUE(ResolvesTo(*doc, MakeLink(2, 50, {2}), Start));
}

TEST(ResolveLink, EndOfSegmentMovesPointButNotItsPicture) {
    auto doc = NewDocument();
    for (int i = 0; i < 3; ++i) doc->Obj.Li.add(DLine{});
    SetPos(doc->Obj.Li[3].P2, Vec3{0, 40, 30});
    DPoint p;
    UpdatePoint(p, 0);
    p.Link = MakeLink(2, 3, {2});
    ResolveLink(*doc, p, p.Link);
    EXPECT_TRUE(Same(Pos(p), Vec3{0, 40, 30}));
    EXPECT_EQ(p.ScrX.v, 0);
    UpdatePoint(p, 0);
    EXPECT_EQ(p.ScrX.v, 40);
    EXPECT_EQ(p.ScrY.v, 30);
}

TEST(ResolveLink, PointInsideTheDocumentMayResolveItsOwnLink) {
    auto doc = NewDocument();
    DLine l;
    SetPos(l.P1, Vec3{1, 2, 3});
    SetPos(l.P2, Target);
    l.P1.Link = MakeLink(2, 1, {2});
    doc->Obj.Li.add(l);
    DPoint& end1 = doc->Obj.Li[1].P1;
    ResolveLink(*doc, end1, end1.Link);
    EXPECT_TRUE(Same(Pos(end1), Target));

    // Linked to itself: stays where it is.
    DPoint& end2 = doc->Obj.Li[1].P2;
    end2.Link = MakeLink(2, 1, {2});
    ResolveLink(*doc, end2, end2.Link);
    EXPECT_TRUE(Same(Pos(end2), Target));
}

TEST(ClearPointLink, FreesThePoint) {
    DPoint p;
    p.Link = MakeLink(9, 2, {3, 4, 1, 2});
    UpdatePoint(p, 0);
    EXPECT_FALSE(p.X.e);
    ClearPointLink(p);
    for (std::uint8_t b : p.Link.b) EXPECT_EQ(b, 0);
    EXPECT_FALSE(p.Link.linked());
    UpdatePoint(p, 0);
    for (bool e : {p.X.e, p.Y.e, p.Z.e, p.ScrX.e, p.ScrY.e}) EXPECT_TRUE(e);
}

TEST(MaxObjectNumber, OverAllKindsOfLiveObjects) {
    auto doc = NewDocument();
    EXPECT_EQ(MaxObjectNumber(*doc), 0);

    DPoint p;
    p.Number = -4;
    doc->Obj.Po.add(p);
    EXPECT_EQ(MaxObjectNumber(*doc), 0);

    DXZ xz;
    xz.Number = 7;
    doc->Obj.Xz.add(xz);
    DTri t;
    t.Number = 3;
    doc->Obj.Tr.add(t);
    DPr4 r;
    r.Number = 5;
    doc->Obj.R4.add(r);
    EXPECT_EQ(MaxObjectNumber(*doc), 7);

    doc->Obj.Xz.erase(1);
    EXPECT_EQ(MaxObjectNumber(*doc), 5);
}
