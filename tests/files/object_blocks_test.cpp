#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "files/doc_fixture.h"
#include "files/document.h"
#include "files/object_blocks.h"
#include "files/text_lines.h"
#include "model/update.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

constexpr char kSep = ',';

template <class R>
std::vector<std::string> BlockLines(void (*write)(LineWriter&, const R&, const std::string&), const R& r,
                                    const std::string& header = "<H>") {
    LineWriter out(kSep);
    write(out, r, header);
    return SplitLines(out.bytes());
}

// Removes the 1-based lines first..last of v.
void Drop(std::vector<std::string>& v, std::size_t first, std::size_t last) {
    v.erase(v.begin() + static_cast<std::ptrdiff_t>(first - 1), v.begin() + static_cast<std::ptrdiff_t>(last));
}

std::vector<std::string> Tail(const std::vector<std::string>& v, std::size_t n) {
    return std::vector<std::string>(v.end() - static_cast<std::ptrdiff_t>(n), v.end());
}

void Append(std::vector<std::string>& a, const std::vector<std::string>& b) { a.insert(a.end(), b.begin(), b.end()); }

// Blocks as files of older versions hold them, cut from the current layout.
std::vector<std::string> OldPoint(const DPoint& p, int v) {
    auto l = BlockLines(WritePointBlock, p);
    if (v < 19) Drop(l, 31, 32);
    if (v < 14) Drop(l, 27, 30);
    return l;
}

std::vector<std::string> OldLine(const DLine& s, int v) {
    std::vector<std::string> l = OldPoint(s.P1, v);
    Append(l, OldPoint(s.P2, v));
    if (v >= 19) {
        Append(l, OldPoint(s.P3, v));
        Append(l, OldPoint(s.P4, v));
    }
    auto own = Tail(BlockLines(WriteLineBlock, s), 22);
    if (v < 19) Drop(own, 18, 22);
    Append(l, own);
    return l;
}

std::vector<std::string> OldCircle(const DCircle& c, int v) {
    std::vector<std::string> l = OldPoint(c.Center, v);
    for (std::size_t i = 1; i <= 3; ++i) Append(l, OldLine(c.R[i], v));
    auto own = Tail(BlockLines(WriteCircleBlock, c), 46);
    if (v < 19) Drop(own, 46, 46);
    if (v < 17) Drop(own, 42, 45);
    if (v < 14) Drop(own, 34, 41);
    if (v < 17) Drop(own, 21, 26);
    Append(l, own);
    return l;
}

std::vector<std::string> OldTriangle(const DTri& t, int v) {
    std::vector<std::string> l;
    for (std::size_t i = 1; i <= 3; ++i) Append(l, OldLine(t.S[i], v));
    for (std::size_t i = 1; i <= 5; ++i) Append(l, OldLine(t.Lines[i], v));
    Append(l, OldCircle(t.Circ[1], v));
    Append(l, OldCircle(t.Circ[2], v));
    auto own = Tail(BlockLines(WriteTriangleBlock, t), 40);
    if (v < 19) Drop(own, 40, 40);
    if (v < 17) Drop(own, 36, 39);
    Append(l, own);
    return l;
}

std::vector<std::string> OldTetragon(const DKv& k, int v) {
    std::vector<std::string> l;
    for (std::size_t i = 1; i <= 4; ++i) Append(l, OldLine(k.S[i], v));
    Append(l, OldLine(k.Diag[1], v));
    Append(l, OldLine(k.Diag[2], v));
    Append(l, OldPoint(k.Center, v));
    Append(l, OldCircle(k.Circ[1], v));
    Append(l, OldCircle(k.Circ[2], v));
    auto own = Tail(BlockLines(WriteTetragonBlock, k), 24);
    if (v < 19) Drop(own, 24, 24);
    if (v < 17) Drop(own, 20, 23);
    Append(l, own);
    return l;
}

// Before version 18: three section circles, three section flags, no planes.
std::vector<std::string> OldOrb(const DSf& s, int v) {
    std::vector<std::string> l = OldPoint(s.Center, v);
    const std::size_t n = v >= 18 ? 7 : 3;
    for (std::size_t i = 1; i <= n; ++i) Append(l, OldCircle(s.Sec[i], v));
    Append(l, OldCircle(s.Contour, v));
    auto own = Tail(BlockLines(WriteOrbBlock, s), 50);
    if (v < 19) Drop(own, 50, 50);
    if (v < 17) Drop(own, 46, 49);
    if (v < 14) Drop(own, 45, 45);
    if (v < 18) {
        std::vector<std::string> flags;
        for (std::size_t i = 0; i < 3; ++i) flags.push_back(own[9 + 5 * i]);
        Drop(own, 10, 44);
        own.insert(own.begin() + 9, flags.begin(), flags.end());
    }
    Append(l, own);
    return l;
}

template <class R>
void ExpectReadsExactly(const std::vector<std::string>& lines, int v, R& rec, void (*read)(LineReader&, R&)) {
    const std::string text = JoinLines(lines);
    LineReader in(text, static_cast<std::uint8_t>(v), kSep);
    read(in, rec);
    EXPECT_TRUE(in.atEnd()) << "stopped at line " << in.lineNumber() << " of " << lines.size();
}

// A new value of the same line form, so that writing what was read gives the
// changed line back: flags swap, numbers change, texts grow.
std::string Mutate(const std::string& s) {
    const std::string i(1, FlagTrue), l(1, FlagFalse);
    if (s == i) return l;
    if (s == l) return i;
    if (s == "X") return s;
    if (s.find('#') != std::string::npos) return "3#2#1#0#0#0#0#0#0#7#";
    std::int64_t n = 0;
    if (s.size() == 9 && ParseInt(s, n) && s[0] != '-') return "001002003";
    if (ParseInt(s, n)) return std::to_string(n == 0 ? 1 : n == 1 ? 0 : (n < 0 ? -n : n) % 100 + 3);
    double r = 0;
    if (ParseReal(s, kSep, r)) return FormatReal(r + 1.25, kSep);
    return s + "\xC6";  // "Ж"
}

// The lines of a document of every kind, each stored line changed (Mutate).
std::vector<std::string> MutatedLines() {
    const auto d = DocumentOfEveryKind(2);
    auto lines = SplitLines(DocumentText(*d, WindowsFromRecord(*d), d->Role, kSep));
    for (std::size_t i = 53; i + 1 < lines.size(); ++i)
        if (lines[i].empty() || lines[i][0] != '<') lines[i] = Mutate(lines[i]);
    return lines;
}

// Each kind's block written, read and put through the round trip, by overload.
#define BLOCK_WAYS(Name, Rec)                                                                      \
    [[maybe_unused]] void Write(LineWriter& out, const Rec& r) { Write##Name##Block(out, r, {}); } \
    [[maybe_unused]] void Read(LineReader& in, Rec& r) { Read##Name##Block(in, r); }               \
    [[maybe_unused]] BlockTrip Trip(Rec& r, std::string& key) { return RoundTripBlock(r, key); }
BLOCK_WAYS(Point, DPoint)
BLOCK_WAYS(Line, DLine)
BLOCK_WAYS(Circle, DCircle)
BLOCK_WAYS(Triangle, DTri)
BLOCK_WAYS(Tetragon, DKv)
BLOCK_WAYS(XOY, DXOY)
BLOCK_WAYS(Orb, DSf)
BLOCK_WAYS(Cylinder, DZi)
BLOCK_WAYS(Cone, DKo)
BLOCK_WAYS(Pyramid3, DPi3)
BLOCK_WAYS(Pyramid4, DPi4)
BLOCK_WAYS(Prism3, DPr3)
BLOCK_WAYS(Prism4, DPr4)
#undef BLOCK_WAYS
void Write(LineWriter& out, const DXZ& x) { WriteXYZBlock(out, x, {}); }
void Read(LineReader& in, DXZ& x) { ReadXYZBlock(in, x, 800, 600); }
BlockTrip Trip(DXZ& x, std::string& key) { return RoundTripXYZBlock(x, key, 800, 600); }

template <class R>
std::string Written(const R& r) {
    LineWriter out('.');
    Write(out, r);
    return out.bytes();
}

}  // namespace

// The round trip puts every value of a block as writing it and reading it
// back does, and its keys are equal exactly when the blocks are: on every
// kind, with every stored line changed, values of 17 digits, texts beyond the
// code page and with line breaks.  A real that is not finite is unwritable.
TEST(ObjectBlocks, RoundTripIsTheBlockWrittenAndReadBack) {
    auto d = NewDocument();
    std::uint8_t version = 0;
    ASSERT_EQ(ParseDocumentText(JoinLines(MutatedLines()), *d, version, kSep), ReadOk);
    d->Obj.Po[1].Name.s = "\xD0\x96\r\n\xE2\x9C\x93 x";  // "Ж", a line break, a tick the code page lacks
    int kind = 0;
    ForEachStore(d->Obj, [&](auto& store) {
        ++kind;
        for (std::size_t i = 1; i <= store.count(); ++i) {
            auto rec = store[i];
            UpdateAsRead(rec);  // derived values of 17 digits
            const std::string text = Written(rec);
            auto viaText = rec;
            LineReader in(text, CurrentFormatVersion, '.');
            Read(in, viaText);
            auto viaTrip = rec;
            std::string key;
            ASSERT_EQ(Trip(viaTrip, key), BlockTrip::Read) << "kind " << kind;
            EXPECT_TRUE(viaTrip == viaText) << "kind " << kind;
            // Read and updated again, the record writes its block again or
            // another one: the keys tell which.
            UpdateAsRead(viaText);
            std::string again;
            auto next = viaText;
            Trip(next, again);
            EXPECT_EQ(Written(viaText) == text, again == key) << "kind " << kind;
        }
    });
    DLine l = d->Obj.Li[1];
    l.P2.ScrY.v = std::nan("");
    std::string key;
    EXPECT_EQ(Trip(l, key), BlockTrip::Unwritable);
}

TEST(ObjectBlocks, BlockSizesOfTheCurrentLayout) {
    const auto d = DocumentOfEveryKind(1);
    const DSubProj& o = d->Obj;
    EXPECT_EQ(BlockLines(WritePointBlock, o.Po[1]).size(), 32u);
    EXPECT_EQ(BlockLines(WriteLineBlock, o.Li[1]).size(), 4 * 32 + 22u);
    EXPECT_EQ(BlockLines(WriteCircleBlock, o.Ci[1]).size(), 32 + 3 * 150 + 46u);
    EXPECT_EQ(BlockLines(WriteTriangleBlock, o.Tr[1]).size(), 8 * 150 + 2 * 528 + 40u);
    EXPECT_EQ(BlockLines(WriteTetragonBlock, o.Kv[1]).size(), 6 * 150 + 32 + 2 * 528 + 24u);
    EXPECT_EQ(BlockLines(WriteXOYBlock, o.Xy[1]).size(), 2 * 150 + 32 + 21 + 170 + 61 + 1u);
    EXPECT_EQ(BlockLines(WriteOrbBlock, o.Sf[1]).size(), 32 + 8 * 528 + 50u);
    EXPECT_EQ(BlockLines(WriteCylinderBlock, o.Zi[1]).size(), 150 + 2 * 528 + 4 * 2012 + 2 * 4306 + 26u);
    EXPECT_EQ(BlockLines(WriteConeBlock, o.Ko[1]).size(), 150 + 528 + 4 * 2296 + 2 * 4306 + 26u);
    EXPECT_EQ(BlockLines(WritePyramid3Block, o.I3[1]).size(), 150 + 4 * 2296 + 2 * 4306 + 18u);
    EXPECT_EQ(BlockLines(WritePyramid4Block, o.I4[1]).size(), 150 + 2012 + 4 * 2296 + 2 * 4306 + 18u);
    EXPECT_EQ(BlockLines(WritePrism3Block, o.R3[1]).size(), 2 * 2296 + 3 * 2012 + 2 * 4306 + 22u);
    EXPECT_EQ(BlockLines(WritePrism4Block, o.R4[1]).size(), 6 * 2012 + 2 * 4306 + 22u);
    EXPECT_EQ(BlockLines(WriteXYZBlock, o.Xz[1]).size(), 32 + 3 * 150 + 791u);
}

TEST(ObjectBlocks, PartHeadersExtendTheParentHeader) {
    const auto d = DocumentOfEveryKind(2);
    const std::string text = Cp1251ToUtf8(DocumentText(*d, WindowsFromRecord(*d), d->Role, kSep));
    for (const char* h : {"<LINE №2><Point 1>\r\n", "<TETRAGON №1><Circle Opi><Radius 1><Point 4>\r\n",
                          "<CYLINDER №1><Orb Opi><Circle Section 1><Center>\r\n", "<CYLINDER №2><Cut Outline>\r\n",
                          "<CONE №1><Cut Add2><BHM 5>\r\n", "<PYRAMID4 №1><Edge 4>\r\n", "<PRISM3 №1><Base Up>\r\n",
                          "<XYZ №2><Axes Z>\r\n", "<XOY №1><Axes Y><Point 2>\r\n", "<ORB №2><Circle Outline>\r\n"})
        EXPECT_NE(text.find(h), std::string::npos) << h;
    // Parts come before the block's own header line.
    EXPECT_LT(text.find("<CIRCLE №1><Center>"), text.find("<CIRCLE №1>\r\n"));
}

// Every stored line of every kind is changed and read back into an empty
// document: writing that document again must give the changed file, line for
// line (a field the reader drops, misplaces or mistypes shows up here).
TEST(ObjectBlocks, EveryStoredLineSurvivesAReadAndAWrite) {
    const auto lines = MutatedLines();
    ASSERT_GT(lines.size(), 54u);
    const std::string mutated = JoinLines(lines);

    auto back = NewDocument();
    std::uint8_t version = 0;
    ASSERT_EQ(ParseDocumentText(mutated, *back, version, kSep), ReadOk);
    EXPECT_EQ(version, 19);
    const auto again = SplitLines(DocumentText(*back, WindowsFromRecord(*back), back->Role, kSep));
    ASSERT_EQ(again.size(), lines.size());
    int shown = 0;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (again[i] != lines[i] && shown++ < 10)
            ADD_FAILURE() << "line " << i + 1 << ": " << Cp1251ToUtf8(again[i]) << " vs " << Cp1251ToUtf8(lines[i]);
}

TEST(ObjectBlocks, PointLinkLine) {
    DPoint p;
    p.Link.b = {3, 2, 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(LinkToText(p.Link), "3#2#1#0#0#0#0#0#0#0#");
    LineReader in("", 19, kSep);
    DLink l;
    LinkFromText("3#2#1#0#0#0#0#0#0#0#", l, in);
    EXPECT_EQ(l.b, p.Link.b);
    LinkFromText("", l, in);  // an empty line leaves the link
    EXPECT_EQ(l.b, p.Link.b);
    LinkFromText("1#2#3#4#5#6#7#8#9#10#99#junk", l, in);  // after the tenth field: ignored
    EXPECT_EQ(l.b[9], 10);
    LinkFromText("7#8", l, in);  // characters after the last "#" are ignored
    EXPECT_EQ(l.b[0], 7);
    EXPECT_EQ(l.b[1], 2);
    EXPECT_THROW(LinkFromText("300#0#0#0#0#0#0#0#0#0#", l, in), FormatError);
    EXPECT_THROW(LinkFromText("1##", l, in), FormatError);
}

TEST(ObjectBlocksOldVersions, PointBeforeNineteenAndFourteen) {
    DPoint src = MakePoint(3);
    src.Number = 4;
    src.Link.b = {1, 2, 0, 0, 0, 0, 0, 0, 0, 0};
    DPoint p = src;
    p.Anim = {"old", "old", "old", "old"};
    ExpectReadsExactly(OldPoint(src, 13), 13, p, ReadPointBlock);
    for (const auto& a : p.Anim) EXPECT_EQ(a, "");
    EXPECT_EQ(p.Number, 0);
    EXPECT_FALSE(p.Link.linked());
    EXPECT_DOUBLE_EQ(p.Y.v, src.Y.v);
    p = DPoint{};
    ExpectReadsExactly(OldPoint(src, 18), 18, p, ReadPointBlock);
    EXPECT_EQ(p.Anim, src.Anim);
    EXPECT_EQ(p.Number, 0);
}

TEST(ObjectBlocksOldVersions, SegmentOfVersion18KeepsItsDivisionPoints) {
    const DLine src = MakeLine(2);
    DLine l;
    PlacedPoint(l.P3, 1, 2, 3);
    l.Frac3.v = 0.9;
    l.Show4.v = true;
    l.Number = 5;
    ExpectReadsExactly(OldLine(src, 18), 18, l, ReadLineBlock);
    EXPECT_DOUBLE_EQ(l.P3.Y.v, 2);
    EXPECT_DOUBLE_EQ(l.Frac3.v, 0.9);
    EXPECT_TRUE(l.Show4.v);
    EXPECT_EQ(l.Number, 0);
    EXPECT_DOUBLE_EQ(l.P2.Z.v, src.P2.Z.v);
}

TEST(ObjectBlocksOldVersions, SegmentPointFlagsNeedExactlyOne) {
    auto lines = BlockLines(WriteLineBlock, MakeLine(1));
    const std::size_t own = lines.size() - 22;
    lines[own + 19] = "2";  // point 3 on
    lines[own + 11] = "2";  // arrow 1: anything but "0" is set
    DLine l;
    l.Show3.v = true;
    ExpectReadsExactly(lines, 19, l, ReadLineBlock);
    EXPECT_FALSE(l.Show3.v);
    EXPECT_TRUE(l.Arrow1.v);
}

TEST(ObjectBlocksOldVersions, EllipseOfVersion13And16) {
    DCircle src = MakeCircle(1);
    src.Anim = {"a", "b", "c", "d", "e", "f", "g", "h"};
    src.Q1 = {1, 2, 3};
    DCircle c;
    c.Anim[0] = "stale";
    c.Fill.On = true;
    c.Fill.Colors = {5, 6, 7};
    c.Q1 = {9, 9, 9};
    c.Number = 3;
    ExpectReadsExactly(OldCircle(src, 13), 13, c, ReadCircleBlock);
    for (const auto& a : c.Anim) EXPECT_EQ(a, "");
    EXPECT_TRUE(c.Fill.On);
    EXPECT_EQ(c.Fill.Colors[2], 7u);
    EXPECT_DOUBLE_EQ(c.Q1[0], 9);
    EXPECT_EQ(c.Number, 0);
    ExpectReadsExactly(OldCircle(src, 16), 16, c, ReadCircleBlock);
    EXPECT_EQ(c.Anim, src.Anim);
    EXPECT_DOUBLE_EQ(c.Q1[0], 9);
    ExpectReadsExactly(OldCircle(src, 17), 17, c, ReadCircleBlock);
    EXPECT_DOUBLE_EQ(c.Q1[1], 2);
}

TEST(ObjectBlocksOldVersions, EllipseFlagsReadLAsClearOnly) {
    auto lines = BlockLines(WriteCircleBlock, MakeCircle(1));
    const std::size_t own = lines.size() - 46;
    lines[own + 13] = "1";  // circle flag: anything but "л" is set
    DCircle c;
    ExpectReadsExactly(lines, 19, c, ReadCircleBlock);
    EXPECT_TRUE(c.IsCircle.v);
}

TEST(ObjectBlocksOldVersions, TriangleOfVersion16KeepsItsFill) {
    const DTri src = MakeTriangle(2);
    DTri t;
    t.Fill.On = false;
    t.Fill.Colors = {1, 2, 3};
    t.Number = 8;
    ExpectReadsExactly(OldTriangle(src, 16), 16, t, ReadTriangleBlock);
    EXPECT_FALSE(t.Fill.On);
    EXPECT_EQ(t.Fill.Colors[0], 1u);
    EXPECT_EQ(t.Number, 0);
    EXPECT_EQ(t.LineKind[5].v, src.LineKind[5].v);
    DKv k;
    ExpectReadsExactly(OldTetragon(MakeTetragon(1), 12), 12, k, ReadTetragonBlock);
}

TEST(ObjectBlocksOldVersions, SphereOfVersion17HasThreeSections) {
    DSf src = MakeOrb(1);
    src.SecOn[2].v = true;
    DSf s;
    s.SecNX[5].v = 0.5;
    s.SecOn[6].v = true;
    s.SecNY[1].v = 7;
    ExpectReadsExactly(OldOrb(src, 17), 17, s, ReadOrbBlock);
    EXPECT_DOUBLE_EQ(s.SecNX[1].v, 1);
    EXPECT_DOUBLE_EQ(s.SecNY[1].v, 0);
    EXPECT_DOUBLE_EQ(s.SecNZ[2].v, 1);
    EXPECT_DOUBLE_EQ(s.SecNY[3].v, 1);
    EXPECT_DOUBLE_EQ(s.SecH[3].v, 0);
    EXPECT_TRUE(s.SecOn[2].v);
    EXPECT_DOUBLE_EQ(s.SecNX[5].v, 0.5);
    EXPECT_TRUE(s.SecOn[6].v);
    EXPECT_EQ(s.Number, 0);
}

TEST(ObjectBlocksOldVersions, SphereSectionFlagsFromVersion18NeedI) {
    auto lines = BlockLines(WriteOrbBlock, MakeOrb(1));
    const std::size_t own = lines.size() - 50;
    lines[own + 9] = "1";    // section 1 on
    lines[own + 8] = "1";    // contour on: anything but "л"
    DSf s;
    ExpectReadsExactly(lines, 19, s, ReadOrbBlock);
    EXPECT_FALSE(s.SecOn[1].v);
    EXPECT_TRUE(s.ContourOn.v);
}

TEST(ObjectBlocksOldVersions, CylinderOfVersion13) {
    DZi src = MakeRound<DZi>(1);
    src.Fill.On = true;
    std::vector<std::string> l = OldLine(src.Axis, 13);
    Append(l, OldCircle(src.Base[1], 13));
    Append(l, OldCircle(src.Base[2], 13));
    for (const std::size_t i : {2, 1, 3, 4}) Append(l, OldTetragon(src.Sec[i], 13));
    Append(l, OldOrb(src.OutSphere, 13));
    Append(l, OldOrb(src.InSphere, 13));
    auto own = Tail(BlockLines(WriteCylinderBlock, src), 26);
    Drop(own, 18, 26);
    Append(l, own);
    DZi z;
    z.Anim = {"x", "x", "x", "x"};
    z.Fill.Colors = {4, 4, 4};
    z.Number = 2;
    ExpectReadsExactly(l, 13, z, ReadCylinderBlock);
    for (const auto& a : z.Anim) EXPECT_EQ(a, "");
    EXPECT_FALSE(z.Fill.On);
    EXPECT_EQ(z.Fill.Colors[1], 4u);
    EXPECT_EQ(z.Number, 0);
    EXPECT_DOUBLE_EQ(z.SecPos2.v, 0.6);
}

TEST(ObjectBlocksOldVersions, CoordinateSystemOfVersion10HasNoStyles) {
    DXOY src = NumberedXOY(1);
    src.Style[3].Dash.v = 4;
    src.Move[2].Moved.v = true;
    std::vector<std::string> l = OldLine(src.AxisX, 10);
    Append(l, OldLine(src.AxisY, 10));
    Append(l, OldPoint(src.Center, 10));
    auto own = Tail(BlockLines(WriteXOYBlock, src), 253);
    own.resize(253 - 62);  // no texts, no creation number
    // The four style lines end every graph group; groups are 28, 28, 28, 28, 29, 29 lines.
    const std::size_t sizes[6] = {28, 28, 28, 28, 29, 29};
    std::size_t end = 21;
    std::vector<std::size_t> styleStarts;
    for (const std::size_t s : sizes) {
        end += s;
        styleStarts.push_back(end - 3);
    }
    for (auto it = styleStarts.rbegin(); it != styleStarts.rend(); ++it) Drop(own, *it, *it + 3);
    Append(l, own);
    DXOY x;
    x.Texts[0][1] = "stale";
    ExpectReadsExactly(l, 10, x, ReadXOYBlock);
    for (std::size_t g = 1; g <= 6; ++g) {
        EXPECT_EQ(x.Style[g].Visible.v, 1);
        EXPECT_EQ(x.Style[g].Hidden.v, 1);
        EXPECT_EQ(x.Style[g].Dash.v, 10);
        EXPECT_EQ(x.Style[g].Gap.v, 10);
    }
    EXPECT_TRUE(x.Move[2].Moved.v);
    EXPECT_EQ(x.Graph2.s, "3*(cos(x))^3");
    EXPECT_EQ(x.Texts[0][1], "");
    EXPECT_EQ(x.Curves.Count, 0);
    ASSERT_EQ(x.Curves.lines().size(), 1u);
    EXPECT_EQ(x.Curves.lines()[0].points().size(), 1u);
}

TEST(ObjectBlocks, CoordinateSystemFlagsReadIAsSetOnly) {
    auto lines = BlockLines(WriteXOYBlock, NumberedXOY(1));
    const std::size_t own = lines.size() - 253;
    // Graph 3: on at 21 + 28 + 28 + 1; its within-axes flag after 8 lines and 3 reals.
    const std::size_t g3 = own + 21 + 28 + 28;
    lines[g3 + 11] = "1";
    lines[g3] = "5";
    DXOY x;
    x.WithinAxes[1].v = true;
    ExpectReadsExactly(lines, 19, x, ReadXOYBlock);
    EXPECT_FALSE(x.WithinAxes[1].v);
    EXPECT_TRUE(x.GraphOn[3].v);
}

TEST(ObjectBlocksOldVersions, OutlinesOf3DSystemsByVersion) {
    DXZ src = NumberedXYZ(1);
    for (auto& o : src.Outlines) {
        o.On = true;
        o.X2 = 111;
        o.GradientOn = true;
        o.Colors = {0x010203, 0x040506, 0x070809};
    }
    const auto full = BlockLines(WriteXYZBlock, src);
    auto parts = std::vector<std::string>(full.begin(), full.end() - 791);
    auto own = Tail(full, 791);
    auto version = [&](int v) {
        std::vector<std::string> o(own.begin(), own.begin() + 696);
        for (std::size_t g = 0; g < 3; ++g) {
            const auto grp = own.begin() + 696 + static_cast<std::ptrdiff_t>(12 * g);
            const std::size_t n = v == 10 ? 0 : v < 16 ? 8 : v == 16 ? 11 : 12;
            o.insert(o.end(), grp, grp + static_cast<std::ptrdiff_t>(n));
        }
        if (v >= 11) o.insert(o.end(), own.begin() + 732, own.begin() + 748);
        if (v >= 14) o.insert(o.end(), own.begin() + 748, own.begin() + 790);
        if (v >= 19) o.push_back(own.back());
        auto l = parts;
        Append(l, o);
        return l;
    };
    auto readOwn = [&](int v, DXZ& x) {
        // Parts at version v, own lines at version v.
        std::vector<std::string> l = OldPoint(src.Center, v);
        Append(l, OldLine(src.AxisX, v));
        Append(l, OldLine(src.AxisY, v));
        Append(l, OldLine(src.AxisZ, v));
        auto all = version(v);
        Append(l, std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(parts.size()), all.end()));
        const std::string text = JoinLines(l);
        LineReader in(text, static_cast<std::uint8_t>(v), kSep);
        ReadXYZBlock(in, x, 640, 480);
        EXPECT_TRUE(in.atEnd()) << "version " << v;
    };
    DXZ x10;
    x10.Style[1].Dash.v = 3;
    readOwn(10, x10);
    EXPECT_FALSE(x10.Outlines[1].On);
    EXPECT_EQ(x10.Outlines[3].X2, 640);
    EXPECT_EQ(x10.Outlines[3].Y2, 480);
    EXPECT_EQ(x10.Outlines[1].Step1, 10);
    EXPECT_EQ(x10.Outlines[1].Step2, 3);
    EXPECT_EQ(x10.Outlines[1].FitMode, 1);
    EXPECT_EQ(x10.Outlines[1].Colors[0], 0xFFFFFFu);
    EXPECT_EQ(x10.Outlines[1].Colors[1], 0x0000FFu);
    EXPECT_EQ(x10.Style[1].Dash.v, 10);
    EXPECT_EQ(x10.Number, 0);

    DXZ x15;
    readOwn(15, x15);
    EXPECT_TRUE(x15.Outlines[2].On);
    EXPECT_EQ(x15.Outlines[2].X2, 111);
    EXPECT_FALSE(x15.Outlines[2].GradientOn);
    EXPECT_EQ(x15.Outlines[2].Colors[0], 0xFFFFFFu);

    DXZ x16;
    readOwn(16, x16);
    EXPECT_TRUE(x16.Outlines[2].GradientOn);
    EXPECT_EQ(x16.Outlines[2].Colors[1], 0x040506u);
    EXPECT_EQ(x16.Outlines[2].Colors[2], 0u);

    DXZ x19;
    readOwn(19, x19);
    EXPECT_EQ(x19.Outlines[3].Colors[2], 0x070809u);
    EXPECT_EQ(x19.Surf3More[2].s, "t/5");
    EXPECT_TRUE(x19.Sections[1][3][2].On.v);
    EXPECT_DOUBLE_EQ(x19.Sections[1][3][2].C.v, 1.5);
}

TEST(ObjectBlocks, OutlineColourLines) {
    auto lines = BlockLines(WriteXYZBlock, NumberedXYZ(1));
    const std::size_t own = lines.size() - 791;
    lines[own + 696 + 9] = "300000000";  // colour 1 of outline 1: a channel above 255 keeps the default
    lines[own + 696 + 12 + 9] = "0a0000000";
    DXZ x;
    {
        const std::string text = JoinLines(lines);
        LineReader in(text, 19, kSep);
        ReadXYZBlock(in, x, 800, 600);
    }
    EXPECT_EQ(x.Outlines[1].Colors[0], 0xFFFFFFu);
    EXPECT_EQ(x.Outlines[2].Colors[0], 0xFFFFFFu);
    lines[own + 696 + 9] = "12345";  // shorter than nine characters
    const std::string text = JoinLines(lines);
    LineReader in(text, 19, kSep);
    EXPECT_THROW(ReadXYZBlock(in, x, 800, 600), FormatError);
}

// The outline group's gradient line also carries the surface's second-order
// byte, after the flag and only when it is not 0: the group keeps its twelve
// lines, and every reader that tests the flag by its first character reads
// the same gradient flag.
TEST(ObjectBlocks, SecondOrderByteOnTheGradientLine) {
    const std::string I = "\xE8", L = "\xEB";
    struct Case {
        bool gradient;
        std::uint8_t secondOrder;
        std::string line;
    } written[] = {{false, 0, L}, {true, 0, I}, {true, 1, I + "1"}, {false, 1, L + "1"}, {true, 255, I + "255"}};
    for (const Case& c : written) {
        DXZ src = NumberedXYZ(1);
        src.Outlines[2].GradientOn = c.gradient;
        src.Outlines[2].FitMode = c.secondOrder;
        auto lines = BlockLines(WriteXYZBlock, src);
        const std::size_t own = lines.size() - 791;
        EXPECT_EQ(lines[own + 696 + 12 + 8], c.line);
        DXZ back;
        ExpectReadsExactly(lines, 19, back, +[](LineReader& in, DXZ& x) { ReadXYZBlock(in, x, 800, 600); });
        EXPECT_EQ(back.Outlines[2].GradientOn, c.gradient);
        EXPECT_EQ(back.Outlines[2].FitMode, c.secondOrder);
    }
    // Lines of other writers: what follows the flag is the byte when it is one.
    struct Read {
        std::string line;
        bool gradient;
        std::uint8_t secondOrder;
    } read[] = {{I + "x", true, 0}, {"?", false, 0}, {I + "256", true, 0}, {L + "-1", false, 0}, {I + "2", true, 2}};
    for (const Read& r : read) {
        auto lines = BlockLines(WriteXYZBlock, NumberedXYZ(1));
        lines[lines.size() - 791 + 696 + 8] = r.line;
        DXZ back;
        back.Outlines[1].FitMode = 9;
        ExpectReadsExactly(lines, 19, back, +[](LineReader& in, DXZ& x) { ReadXYZBlock(in, x, 800, 600); });
        EXPECT_EQ(back.Outlines[1].GradientOn, r.gradient) << r.line;
        EXPECT_EQ(back.Outlines[1].FitMode, r.secondOrder) << r.line;
    }
}
