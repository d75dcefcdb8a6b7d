// Blocks of the plane kinds: point, segment, ellipse, triangle, tetragon and
// 2D coordinate system.
#include <charconv>
#include <memory>
#include <vector>

#include "files/block_common.h"
#include "files/object_blocks.h"

namespace pelmar {

using namespace blocks;

// ---------------------------------------------------------------------------
// Link line

std::string LinkToText(const DLink& link) {
    std::string s;
    s.reserve(4 * link.b.size());
    for (const std::uint8_t b : link.b) {
        char tmp[4];
        s.append(tmp, std::to_chars(tmp, tmp + sizeof tmp, b).ptr);
        s += '#';
    }
    return s;
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

void WritePointBlock(LineWriter& out, const DPoint& p, const std::string& header) {
    out.Header(header);
    out.Text(p.ID.s, "ID");
    out.Int(p.Layer.v);
    out.Int(p.ColorIndex.v);
    out.Flag01(p.Disabled.v);
    out.Real(p.ScrX.v);
    out.Real(p.ScrY.v);
    out.Real(p.X.v);
    out.Real(p.Y.v);
    out.Real(p.Z.v);
    out.Int(p.Typ.v);
    out.Int(p.Radius.v);
    out.Int(p.Thick.v);
    out.Text(p.Name.s, "Name");
    out.Text(p.NameFont.s, "NameFont");
    out.Flag01(p.NameBold.v);
    out.Flag01(p.NameItalic.v);
    out.Int(p.NameSize.v);
    out.Int(p.LabelDist.v);
    out.Int(p.LabelAngle.v);
    out.Text(p.Upper.s, "Upper");
    out.Text(p.Lower.s, "Lower");
    out.Text(p.IndexFont.s, "IndexFont");
    out.Flag01(p.IndexBold.v);
    out.Flag01(p.IndexItalic.v);
    out.Int(p.IndexSize.v);
    WriteTexts(out, p.Anim, "Anim");
    out.Int(p.Number);
    // Digits and "#" only: the line as it stands.
    char link[4 * std::tuple_size_v<decltype(p.Link.b)>];
    char* end = link;
    for (const std::uint8_t b : p.Link.b) {
        end = std::to_chars(end, end + 3, b).ptr;
        *end++ = '#';
    }
    out.Raw(std::string_view(link, static_cast<std::size_t>(end - link)));
}

void ReadPointBlock(LineReader& in, DPoint& p) {
    in.Skip();
    p.ID.s = in.Text();
    p.Layer.v = in.Byte();
    p.ColorIndex.v = in.Byte();
    p.Disabled.v = in.Not0();
    p.ScrX.v = in.Real();
    p.ScrY.v = in.Real();
    p.X.v = in.Real();
    p.Y.v = in.Real();
    p.Z.v = in.Real();
    p.Typ.v = in.Byte();
    p.Radius.v = in.Int();
    p.Thick.v = in.Int();
    p.Name.s = in.Text();
    p.NameFont.s = in.Text();
    p.NameBold.v = in.Not0();
    p.NameItalic.v = in.Not0();
    p.NameSize.v = in.Int();
    p.LabelDist.v = in.Int();
    p.LabelAngle.v = in.Int();
    p.Upper.s = in.Text();
    p.Lower.s = in.Text();
    p.IndexFont.s = in.Text();
    p.IndexBold.v = in.Not0();
    p.IndexItalic.v = in.Not0();
    p.IndexSize.v = in.Int();
    ReadAnim(in, p.Anim);
    if (in.version() >= 19) {
        p.Number = in.Int();
        LinkFromText(in.RawLine(), p.Link, in);
    } else {
        p.Number = 0;
        p.Link = DLink{};
    }
}

// ---------------------------------------------------------------------------
// Segment

void WriteLineBlock(LineWriter& out, const DLine& l, const std::string& header) {
    WritePointBlock(out, l.P1, header + "<Point 1>");
    WritePointBlock(out, l.P2, header + "<Point 2>");
    WritePointBlock(out, l.P3, header + "<Point 3>");
    WritePointBlock(out, l.P4, header + "<Point 4>");
    WriteHead(out, l, header);
    out.Real(l.Angle.v);
    out.Real(l.Length.v);
    out.Int(l.LineType.v);
    out.Int(l.Dash.v);
    out.Int(l.Gap.v);
    out.Flag01(l.Arrow1.v);
    out.Int(l.Arrow1Len.v);
    out.Int(l.Arrow1Angle.v);
    out.Flag01(l.Arrow2.v);
    out.Int(l.Arrow2Len.v);
    out.Int(l.Arrow2Angle.v);
    out.Real(l.Frac3.v);
    out.Real(l.Frac4.v);
    out.Flag01(l.Show3.v);
    out.Flag01(l.Show4.v);
    out.Int(l.Number);
}

void ReadLineBlock(LineReader& in, DLine& l) {
    const bool v19 = in.version() >= 19;
    ReadPointBlock(in, l.P1);
    ReadPointBlock(in, l.P2);
    if (v19) {
        ReadPointBlock(in, l.P3);
        ReadPointBlock(in, l.P4);
    }
    ReadHead(in, l);
    l.Angle.v = in.Real();
    l.Length.v = in.Real();
    l.LineType.v = in.Byte();
    l.Dash.v = in.Int();
    l.Gap.v = in.Int();
    l.Arrow1.v = in.Not0();
    l.Arrow1Len.v = in.Int();
    l.Arrow1Angle.v = in.Int();
    l.Arrow2.v = in.Not0();
    l.Arrow2Len.v = in.Int();
    l.Arrow2Angle.v = in.Int();
    if (v19) {
        l.Frac3.v = in.Real();
        l.Frac4.v = in.Real();
        l.Show3.v = in.Is1();
        l.Show4.v = in.Is1();
        l.Number = in.Int();
    } else {
        l.Number = 0;
    }
}

// ---------------------------------------------------------------------------
// Ellipse

void WriteCircleBlock(LineWriter& out, const DCircle& c, const std::string& header) {
    WritePointBlock(out, c.Center, header + "<Center>");
    WriteLineBlock(out, c.R[1], header + "<Radius 1>");
    WriteLineBlock(out, c.R[2], header + "<Radius 2>");
    WriteLineBlock(out, c.R[3], header + "<Radius 3>");
    WriteHead(out, c, header);
    out.Real(c.A.v);
    out.Real(c.B.v);
    out.Real(c.A3.v);
    out.Real(c.B3.v);
    for (std::size_t i = 1; i <= 3; ++i) out.Flag01(c.ShowR[i].v);
    out.FlagL(c.IsCircle.v);
    out.Int(c.CorA1);
    out.Int(c.CorA2);
    out.Int(c.CorB1);
    out.Int(c.CorB2);
    out.Real(c.Tilt.v);
    out.FlagL(c.Is3D);
    for (const double q : c.Q1) out.Real(q);
    for (const double q : c.Q2) out.Real(q);
    out.Int(c.ViewType.v);
    out.Real(c.Arc1.v);
    out.Real(c.Arc2.v);
    out.Real(c.DashArc1.v);
    out.Real(c.DashArc2.v);
    out.Int(c.Dash.v);
    out.Int(c.Gap.v);
    WriteTexts(out, c.Anim, "Anim");
    WriteFill(out, c.Fill);
    out.Int(c.Number);
}

void ReadCircleBlock(LineReader& in, DCircle& c) {
    ReadPointBlock(in, c.Center);
    ReadLineBlock(in, c.R[1]);
    ReadLineBlock(in, c.R[2]);
    ReadLineBlock(in, c.R[3]);
    ReadHead(in, c);
    c.A.v = in.Real();
    c.B.v = in.Real();
    c.A3.v = in.Real();
    c.B3.v = in.Real();
    for (std::size_t i = 1; i <= 3; ++i) c.ShowR[i].v = in.Not0();
    c.IsCircle.v = in.NotL();
    c.CorA1 = in.Int();
    c.CorA2 = in.Int();
    c.CorB1 = in.Int();
    c.CorB2 = in.Int();
    c.Tilt.v = in.Real();
    c.Is3D = in.NotL();
    if (in.version() >= 17) {
        for (double& q : c.Q1) q = in.Real();
        for (double& q : c.Q2) q = in.Real();
    }
    c.ViewType.v = in.Byte();
    c.Arc1.v = in.Real();
    c.Arc2.v = in.Real();
    c.DashArc1.v = in.Real();
    c.DashArc2.v = in.Real();
    c.Dash.v = in.Byte();
    c.Gap.v = in.Byte();
    ReadAnim(in, c.Anim);
    ReadFill(in, c.Fill);
    ReadNumber(in, c.Number);
}

// ---------------------------------------------------------------------------
// Triangle and tetragon

namespace {

template <class Poly>
void WriteSides(LineWriter& out, const Poly& f, const std::string& header) {
    for (std::size_t i = 1; i <= f.S.size(); ++i) WriteLineBlock(out, f.S[i], header + "<Line " + std::to_string(i) + ">");
}

// What follows the own parts of either: the two circles, the head and the
// common settings.
template <class Poly>
void WritePolygonCommon(LineWriter& out, const Poly& f, const std::string& header) {
    WriteCircleBlock(out, f.Circ[1], header + "<Circle Opi>");
    WriteCircleBlock(out, f.Circ[2], header + "<Circle Vpi>");
    WriteHead(out, f, header);
    for (const auto& a : f.Ang) out.Real(a.v);
    out.Int(f.Typ.v);
    out.Flag01(f.Side3.v != 0);
    out.Real(f.Height.v);
    out.Int(f.View.v);
    out.Flag01(f.CircOn[1].v);
    out.Flag01(f.CircOn[2].v);
}

template <class Poly>
void ReadPolygonCommon(LineReader& in, Poly& f) {
    ReadCircleBlock(in, f.Circ[1]);
    ReadCircleBlock(in, f.Circ[2]);
    ReadHead(in, f);
    for (auto& a : f.Ang) a.v = in.Real();
    f.Typ.v = in.Byte();
    f.Side3.v = in.Not0() ? 1 : 0;
    f.Height.v = in.Real();
    f.View.v = in.Byte();
    f.CircOn[1].v = in.Not0();
    f.CircOn[2].v = in.Not0();
}

}  // namespace

void WriteTriangleBlock(LineWriter& out, const DTri& t, const std::string& header) {
    WriteSides(out, t, header);
    for (std::size_t i = 1; i <= 5; ++i) WriteLineBlock(out, t.Lines[i], header + "<BHM " + std::to_string(i) + ">");
    WritePolygonCommon(out, t, header);
    for (std::size_t k = 1; k <= 5; ++k) {
        out.Flag01(t.LineOn[k].v);
        out.Int(t.LineVertex[k].v);
        out.Int(t.LineMode[k].v);
        out.Int(t.LineKind[k].v);
    }
    WriteFill(out, t.Fill);
    out.Int(t.Number);
}

void ReadTriangleBlock(LineReader& in, DTri& t) {
    for (std::size_t i = 1; i <= 3; ++i) ReadLineBlock(in, t.S[i]);
    for (std::size_t i = 1; i <= 5; ++i) ReadLineBlock(in, t.Lines[i]);
    ReadPolygonCommon(in, t);
    for (std::size_t k = 1; k <= 5; ++k) {
        t.LineOn[k].v = in.Not0();
        t.LineVertex[k].v = in.Byte();
        t.LineMode[k].v = in.Byte();
        t.LineKind[k].v = in.Byte();
    }
    ReadFill(in, t.Fill);
    ReadNumber(in, t.Number);
}

// ---------------------------------------------------------------------------
// Tetragon

void WriteTetragonBlock(LineWriter& out, const DKv& k, const std::string& header) {
    WriteSides(out, k, header);
    WriteLineBlock(out, k.Diag[1], header + "<Diagonal 1>");
    WriteLineBlock(out, k.Diag[2], header + "<Diagonal 2>");
    WritePointBlock(out, k.Center, header + "<Center>");
    WritePolygonCommon(out, k, header);
    out.Flag01(k.DiagOn[1].v);
    out.Flag01(k.DiagOn[2].v);
    out.Flag01(k.CenterOn.v);
    WriteFill(out, k.Fill);
    out.Int(k.Number);
}

void ReadTetragonBlock(LineReader& in, DKv& k) {
    for (std::size_t i = 1; i <= 4; ++i) ReadLineBlock(in, k.S[i]);
    ReadLineBlock(in, k.Diag[1]);
    ReadLineBlock(in, k.Diag[2]);
    ReadPointBlock(in, k.Center);
    ReadPolygonCommon(in, k);
    k.DiagOn[1].v = in.Not0();
    k.DiagOn[2].v = in.Not0();
    k.CenterOn.v = in.Not0();
    ReadFill(in, k.Fill);
    ReadNumber(in, k.Number);
}

// ---------------------------------------------------------------------------
// 2D coordinate system

namespace {

// Slot of the Cartesian bound sets: graphs 1, 2 and 6 use sets 1, 2, 3.
std::size_t BoundSet(std::size_t g) { return g == 6 ? 3 : g; }

// The per-graph formula texts written to the file: nine of the arrays.
constexpr std::size_t kGraphTextArrays = 9;

}  // namespace

void WriteXOYBlock(LineWriter& out, const DXOY& x, const std::string& header) {
    WriteLineBlock(out, x.AxisX, header + "<Axes X>");
    WriteLineBlock(out, x.AxisY, header + "<Axes Y>");
    WritePointBlock(out, x.Center, header + "<Center>");
    WriteHead(out, x, header);
    out.Real(x.ScaleX.v);
    out.Real(x.ScaleY.v);
    out.Flag01(x.GridOn.v);
    out.Int(x.GridThick.v);
    out.Int(x.GridStep.v);
    out.Real(x.DivX.v);
    out.Real(x.DivY.v);
    WriteNumbering(out, x, false);
    for (std::size_t g = 1; g <= 6; ++g) {
        out.Flag01(x.GraphOn[g].v);
        out.Text(x.Graph[g].s, "Graph", static_cast<int>(g));
        if (g == 5) out.Text(x.Graph2.s, "Graph2");
        out.Int(x.GraphThick[g].v);
        out.Int(x.GraphColorIndex[g].v);
        for (int i = 0; i < 4; ++i) out.Raw("X");
        if (g == 1 || g == 2 || g == 6) {
            for (const auto& b : x.Bounds[BoundSet(g)]) out.Real(b.v);
            if (g == 6) out.Raw("X");
        }
        if (g == 3 || g == 4) {
            for (const auto& v : x.Polar[g - 2]) out.Real(v.v);
            out.FlagL(x.WithinAxes[g - 2].v);
        }
        if (g == 5) {
            out.Real(x.ParA.v);
            out.Real(x.ParB.v);
            out.Real(x.ParH.v);
            out.FlagL(x.WithinAxes[3].v);
        }
        WriteMove(out, x.Move[g]);
        WriteStyle(out, x.Style[g]);
    }
    WriteGraphTexts(out, x.Texts, kGraphTextArrays);
    WriteTexts(out, x.Texts7, "Texts7");
    out.Int(x.Number);
}

void ReadXOYBlock(LineReader& in, DXOY& x) {
    ReadLineBlock(in, x.AxisX);
    ReadLineBlock(in, x.AxisY);
    ReadPointBlock(in, x.Center);
    ReadHead(in, x);
    x.ScaleX.v = in.Real();
    x.ScaleY.v = in.Real();
    x.GridOn.v = in.Not0();
    x.GridThick.v = in.Int();
    x.GridStep.v = in.Int();
    x.DivX.v = in.Real();
    x.DivY.v = in.Real();
    ReadNumbering(in, x, false);
    for (std::size_t g = 1; g <= 6; ++g) {
        x.GraphOn[g].v = in.Not0();
        x.Graph[g].s = in.Text();
        if (g == 5) x.Graph2.s = in.Text();
        x.GraphThick[g].v = in.Int();
        x.GraphColorIndex[g].v = in.Int();
        for (int i = 0; i < 4; ++i) in.Skip();
        if (g == 1 || g == 2 || g == 6) {
            for (auto& b : x.Bounds[BoundSet(g)]) b.v = in.Real();
            if (g == 6) in.Skip();
        }
        if (g == 3 || g == 4) {
            for (auto& v : x.Polar[g - 2]) v.v = in.Real();
            x.WithinAxes[g - 2].v = in.IsI();
        }
        if (g == 5) {
            x.ParA.v = in.Real();
            x.ParB.v = in.Real();
            x.ParH.v = in.Real();
            x.WithinAxes[3].v = in.IsI();
        }
        ReadMove(in, x.Move[g]);
        ReadStyle(in, x.Style[g]);
    }
    ResetCurves(x.Curves);
    ReadGraphTexts(in, x.Texts, kGraphTextArrays);
    ReadAnim(in, x.Texts7);
    ReadNumber(in, x.Number);
}

}  // namespace pelmar
