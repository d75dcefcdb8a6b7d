// Blocks of the plane kinds: point, segment, ellipse, triangle, tetragon and
// 2D coordinate system.
#include <charconv>
#include <memory>
#include <vector>

#include "files/block_common.h"
#include "files/object_blocks.h"
#include "model/coord_edits.h"

namespace pelmar {

using namespace blocks;

// ---------------------------------------------------------------------------
// Link line

namespace {

constexpr std::size_t kLinkChars = 4 * std::tuple_size_v<decltype(DLink::b)>;

// The link line's characters in buf: digits and "#" only, so the line needs
// no conversion of its code page.
std::size_t LinkChars(const DLink& link, char (&buf)[kLinkChars]) {
    char* end = buf;
    for (const std::uint8_t b : link.b) {
        end = std::to_chars(end, end + 3, b).ptr;
        *end++ = '#';
    }
    return static_cast<std::size_t>(end - buf);
}

}  // namespace

std::string LinkToText(const DLink& link) {
    char buf[kLinkChars];
    return std::string(buf, LinkChars(link, buf));
}

void LinkFromText(std::string_view line, DLink& link, const LineReader& in) {
    std::size_t field = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size() && field < link.b.size(); ++i) {
        if (line[i] != '#') continue;
        std::int64_t v = 0;
        if (!ParseInt(line.substr(start, i - start), v)) in.Fail("a link field is not a number");
        if (v < 0 || v > 255) in.Fail("a link field out of range");
        link.b[field++] = static_cast<std::uint8_t>(v);
        start = i + 1;
    }
}

namespace blocks {

void ResetCurves(DCurve2& c) {
    static const auto one = [] {
        DCurve1 line;
        line.Points = std::make_shared<const std::vector<CurvePoint>>(1);
        line.Count = 0;
        return std::make_shared<const std::vector<DCurve1>>(1, line);
    }();
    c.Lines = one;
    c.Count = 0;
    c.Valid = 0;
    c.Extra = 0;
}

}  // namespace blocks

// ---------------------------------------------------------------------------
// Point

namespace blocks {

template <class IO, class P>
void PointBlock(IO& io, P& p, const std::string& header) {
    io.Header(header);
    io.Text(p.ID.s, "ID");
    io.Byte(p.Layer.v);
    io.Byte(p.ColorIndex.v);
    io.Not0(p.Disabled.v);
    io.Real(p.ScrX.v);
    io.Real(p.ScrY.v);
    io.Real(p.X.v);
    io.Real(p.Y.v);
    io.Real(p.Z.v);
    io.Byte(p.Typ.v);
    io.Int(p.Radius.v);
    io.Int(p.Thick.v);
    io.Text(p.Name.s, "Name");
    io.Text(p.NameFont.s, "NameFont");
    io.Not0(p.NameBold.v);
    io.Not0(p.NameItalic.v);
    io.Int(p.NameSize.v);
    io.Int(p.LabelDist.v);
    io.Int(p.LabelAngle.v);
    io.Text(p.Upper.s, "Upper");
    io.Text(p.Lower.s, "Lower");
    io.Text(p.IndexFont.s, "IndexFont");
    io.Not0(p.IndexBold.v);
    io.Not0(p.IndexItalic.v);
    io.Int(p.IndexSize.v);
    io.Anims(p.Anim, "Anim");
    // The number and the link line from version 19 on.
    if constexpr (IO::roundTrip) {
        io.Int(p.Number);
        io.Bytes(p.Link.b);
    } else if constexpr (IO::reading) {
        if (io.since(19)) {
            p.Number = io.in.Int();
            LinkFromText(io.in.RawLine(), p.Link, io.in);
        } else {
            p.Number = 0;
            p.Link = DLink{};
        }
    } else {
        io.Int(p.Number);
        char link[kLinkChars];
        io.out.Raw(std::string_view(link, LinkChars(p.Link, link)));
    }
}

// ---------------------------------------------------------------------------
// Segment

template <class IO, class L>
void LineBlock(IO& io, L& l, const std::string& header) {
    // Division points 3 and 4 from version 19 on.
    PointBlock(io, l.P1, io.sub(header, "<Point 1>"));
    PointBlock(io, l.P2, io.sub(header, "<Point 2>"));
    if (io.since(19)) {
        PointBlock(io, l.P3, io.sub(header, "<Point 3>"));
        PointBlock(io, l.P4, io.sub(header, "<Point 4>"));
    }
    Head(io, l, header);
    io.Real(l.Angle.v);
    io.Real(l.Length.v);
    io.Byte(l.LineType.v);
    io.Int(l.Dash.v);
    io.Int(l.Gap.v);
    io.Not0(l.Arrow1.v);
    io.Int(l.Arrow1Len.v);
    io.Int(l.Arrow1Angle.v);
    io.Not0(l.Arrow2.v);
    io.Int(l.Arrow2Len.v);
    io.Int(l.Arrow2Angle.v);
    if (io.since(19)) {
        io.Real(l.Frac3.v);
        io.Real(l.Frac4.v);
        io.Is1(l.Show3.v);
        io.Is1(l.Show4.v);
    }
    Number(io, l.Number);
}

// ---------------------------------------------------------------------------
// Ellipse

template <class IO, class C>
void CircleBlock(IO& io, C& c, const std::string& header) {
    PointBlock(io, c.Center, io.sub(header, "<Center>"));
    LineBlock(io, c.R[1], io.sub(header, "<Radius 1>"));
    LineBlock(io, c.R[2], io.sub(header, "<Radius 2>"));
    LineBlock(io, c.R[3], io.sub(header, "<Radius 3>"));
    Head(io, c, header);
    io.Real(c.A.v);
    io.Real(c.B.v);
    io.Real(c.A3.v);
    io.Real(c.B3.v);
    for (std::size_t i = 1; i <= 3; ++i) io.Not0(c.ShowR[i].v);
    io.NotL(c.IsCircle.v);
    io.Int(c.CorA1);
    io.Int(c.CorA2);
    io.Int(c.CorB1);
    io.Int(c.CorB2);
    io.Real(c.Tilt.v);
    io.NotL(c.Is3D);
    if (io.since(17)) {
        for (auto& q : c.Q1) io.Real(q);
        for (auto& q : c.Q2) io.Real(q);
    }
    io.Byte(c.ViewType.v);
    io.Real(c.Arc1.v);
    io.Real(c.Arc2.v);
    io.Real(c.DashArc1.v);
    io.Real(c.DashArc2.v);
    io.Byte(c.Dash.v);
    io.Byte(c.Gap.v);
    io.Anims(c.Anim, "Anim");
    Fill(io, c.Fill);
    Number(io, c.Number);
}

// ---------------------------------------------------------------------------
// Triangle and tetragon

template <class IO, class Poly>
void Sides(IO& io, Poly& f, const std::string& header) {
    for (std::size_t i = 1; i <= f.S.size(); ++i) LineBlock(io, f.S[i], io.sub(header, "<Line " + std::to_string(i) + ">"));
}

// What follows the own parts of either: the two circles, the head and the
// common settings.
template <class IO, class Poly>
void PolygonCommon(IO& io, Poly& f, const std::string& header) {
    CircleBlock(io, f.Circ[1], io.sub(header, "<Circle Opi>"));
    CircleBlock(io, f.Circ[2], io.sub(header, "<Circle Vpi>"));
    Head(io, f, header);
    for (auto& a : f.Ang) io.Real(a.v);
    io.Byte(f.Typ.v);
    bool side3 = f.Side3.v != 0;
    io.Not0(side3);
    if constexpr (IO::reading) f.Side3.v = side3 ? 1 : 0;
    io.Real(f.Height.v);
    io.Byte(f.View.v);
    io.Not0(f.CircOn[1].v);
    io.Not0(f.CircOn[2].v);
}

template <class IO, class T>
void TriangleBlock(IO& io, T& t, const std::string& header) {
    Sides(io, t, header);
    for (std::size_t i = 1; i <= 5; ++i) LineBlock(io, t.Lines[i], io.sub(header, "<BHM " + std::to_string(i) + ">"));
    PolygonCommon(io, t, header);
    for (std::size_t k = 1; k <= 5; ++k) {
        io.Not0(t.LineOn[k].v);
        io.Byte(t.LineVertex[k].v);
        io.Byte(t.LineMode[k].v);
        io.Byte(t.LineKind[k].v);
    }
    Fill(io, t.Fill);
    Number(io, t.Number);
}

template <class IO, class K>
void TetragonBlock(IO& io, K& k, const std::string& header) {
    Sides(io, k, header);
    LineBlock(io, k.Diag[1], io.sub(header, "<Diagonal 1>"));
    LineBlock(io, k.Diag[2], io.sub(header, "<Diagonal 2>"));
    PointBlock(io, k.Center, io.sub(header, "<Center>"));
    PolygonCommon(io, k, header);
    io.Not0(k.DiagOn[1].v);
    io.Not0(k.DiagOn[2].v);
    io.Not0(k.CenterOn.v);
    Fill(io, k.Fill);
    Number(io, k.Number);
}

// ---------------------------------------------------------------------------
// 2D coordinate system

namespace {

// Slot of the Cartesian bound sets: graphs 1, 2 and 6 use sets 1, 2, 3.
std::size_t BoundSet(std::size_t g) { return g == 6 ? 3 : g; }

// The per-graph formula texts in the file: nine of the arrays.
constexpr std::size_t kGraphTextArrays = 9;

}  // namespace

template <class IO, class X>
void XOYBlock(IO& io, X& x, const std::string& header) {
    LineBlock(io, x.AxisX, io.sub(header, "<Axes X>"));
    LineBlock(io, x.AxisY, io.sub(header, "<Axes Y>"));
    PointBlock(io, x.Center, io.sub(header, "<Center>"));
    Head(io, x, header);
    io.Real(x.ScaleX.v);
    io.Real(x.ScaleY.v);
    if constexpr (IO::reading) {
        x.ScaleX.v = HeldScale(x.ScaleX.v);
        x.ScaleY.v = HeldScale(x.ScaleY.v);
    }
    io.Not0(x.GridOn.v);
    io.Int(x.GridThick.v);
    io.Int(x.GridStep.v);
    io.Real(x.DivX.v);
    io.Real(x.DivY.v);
    Numbering(io, x, false);
    for (std::size_t g = 1; g <= 6; ++g) {
        io.Not0(x.GraphOn[g].v);
        io.Text(x.Graph[g].s, "Graph", static_cast<int>(g));
        if (g == 5) io.Text(x.Graph2.s, "Graph2");
        io.Int(x.GraphThick[g].v);
        io.Int(x.GraphColorIndex[g].v);
        for (int i = 0; i < 4; ++i) io.Unused();
        if (g == 1 || g == 2 || g == 6) {
            for (auto& b : x.Bounds[BoundSet(g)]) io.Real(b.v);
            if (g == 6) io.Unused();
        }
        if (g == 3 || g == 4) {
            for (auto& v : x.Polar[g - 2]) io.Real(v.v);
            io.IsI(x.WithinAxes[g - 2].v);
        }
        if (g == 5) {
            io.Real(x.ParA.v);
            io.Real(x.ParB.v);
            io.Real(x.ParH.v);
            io.IsI(x.WithinAxes[3].v);
        }
        Move(io, x.Move[g]);
        Style(io, x.Style[g]);
    }
    if constexpr (IO::reading) ResetCurves(x.Curves);
    GraphTexts(io, x.Texts, kGraphTextArrays);
    io.Anims(x.Texts7, "Texts7");
    Number(io, x.Number);
}

}  // namespace blocks

PELMAR_OBJECT_BLOCK(Point, DPoint)
PELMAR_OBJECT_BLOCK(Line, DLine)
PELMAR_OBJECT_BLOCK(Circle, DCircle)
PELMAR_OBJECT_BLOCK(Triangle, DTri)
PELMAR_OBJECT_BLOCK(Tetragon, DKv)
PELMAR_OBJECT_BLOCK(XOY, DXOY)

}  // namespace pelmar
