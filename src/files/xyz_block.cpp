// Block of the 3D coordinate system.
#include "files/block_common.h"
#include "files/document.h"
#include "files/object_blocks.h"
#include "model/coord_edits.h"

namespace pelmar {

using namespace blocks;

namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kRed = 0x0000FF;

// Nine digits RRRGGGBBB; a line whose three numbers do not all convert or one
// is above 255 leaves c as it was; a shorter line is malformed.
void ReadRGB(LineReader& in, TColor& c) {
    const std::string_view s = in.RawLine();
    if (s.size() < 9) in.Fail("a colour line shorter than nine characters");
    std::int64_t ch[3];
    for (std::size_t i = 0; i < 3; ++i)
        if (!ParseInt(s.substr(3 * i, 3), ch[i]) || ch[i] < 0 || ch[i] > 255) return;
    c = static_cast<TColor>(ch[0] | (ch[1] << 8) | (ch[2] << 16));
}

// The gradient line of an outline group.  The group's twelve lines have no
// line of their own for the second-order byte (the "outline shown" switch
// that the surface tests take as their mode), yet a drawing depends on it:
// it rides on the gradient line after the flag character, as its decimal
// value when not 0.  Every reader tests that line by its first character
// only, so the file keeps its layout for all of them.
std::string GradientLine(const DOutLine& g) {
    std::string line(1, g.GradientOn ? FlagTrue : FlagFalse);
    if (g.FitMode != 0) line += std::to_string(g.FitMode);
    return line;
}

// Reads it back: the flag from the first character (an empty line is
// malformed), the byte from the digits after it (0 when there are none or
// they are no byte).
void ReadGradientLine(LineReader& in, DOutLine& g) {
    const std::string_view s = in.RawLine();
    if (s.empty()) in.Fail("an empty flag line");
    g.GradientOn = s[0] == FlagTrue;
    std::int64_t fit = 0;
    g.FitMode = s.size() > 1 && ParseInt(s.substr(1), fit) && fit >= 0 && fit <= 255 ? static_cast<std::uint8_t>(fit) : 0;
}

// The outline settings of a file that has none.
void SetOutlineDefaults(DOutLine& o, std::int32_t width, std::int32_t height) {
    o.On = false;
    o.X1 = 0;
    o.Y1 = 0;
    o.X2 = width;
    o.Y2 = height;
    o.ScanDir = 0;
    o.Step1 = 10;
    o.Step2 = 3;
    o.FitMode = 1;
    o.GradientOn = false;
    o.Colors = {kWhite, kRed, 0};
}


// The outline groups, written.
void WriteOutlines(LineWriter& out, const DXZ& x) {
    for (std::size_t o = 1; o <= 3; ++o) {
        const DOutLine& g = x.Outlines[o];
        out.FlagL(g.On);
        out.Int(g.X1);
        out.Int(g.Y1);
        out.Int(g.X2);
        out.Int(g.Y2);
        out.FlagL(g.ScanDir != 0);
        out.Int(g.Step1);
        out.Int(g.Step2);
        out.Raw(GradientLine(g));
        out.Color(g.Colors[0]);
        out.Color(g.Colors[1]);
        out.Int(static_cast<std::int32_t>(g.Colors[2]));
    }
}

// Read back; a file of version 10 has none, the picture's size bounds them.
void ReadOutlines(LineReader& in, DXZ& x, std::int32_t pictureWidth, std::int32_t pictureHeight) {
    const std::uint8_t v = in.version();
    for (std::size_t o = 1; o <= 3; ++o) {
        DOutLine& g = x.Outlines[o];
        ResetCurves(g.Lines);
        if (v == 10) {
            SetOutlineDefaults(g, pictureWidth, pictureHeight);
            continue;
        }
        g.On = in.FirstI();
        g.X1 = in.Int();
        g.Y1 = in.Int();
        g.X2 = in.Int();
        g.Y2 = in.Int();
        g.ScanDir = in.FirstI() ? 1 : 0;
        g.Step1 = in.Int();
        g.Step2 = in.Int();
        g.GradientOn = false;
        g.FitMode = 0;
        g.Colors = {kWhite, kRed, 0};
        if (v >= 16) {
            ReadGradientLine(in, g);
            ReadRGB(in, g.Colors[0]);
            ReadRGB(in, g.Colors[1]);
        }
        if (v >= 17) g.Colors[2] = in.Color32();
    }
}

// The block but for its outline groups, which come between its sections and
// its styles: `outlines` writes or reads them.
template <class IO, class X, class Outlines>
void XYZBlock(IO& io, X& x, const std::string& header, Outlines outlines) {
    PointBlock(io, x.Center, io.sub(header, "<Center>"));
    LineBlock(io, x.AxisX, io.sub(header, "<Axes X>"));
    LineBlock(io, x.AxisY, io.sub(header, "<Axes Y>"));
    LineBlock(io, x.AxisZ, io.sub(header, "<Axes Z>"));
    Head(io, x, header);
    io.Real(x.Scale.v);
    if constexpr (IO::reading) x.Scale.v = HeldScale(x.Scale.v);
    io.Real(x.Div.v);
    Numbering(io, x, true);
    for (std::size_t i = 1; i <= 4; ++i) {
        io.NotL(x.SurfOn[i].v);
        io.Text(x.Surf[i].s, "Surf", static_cast<int>(i));
        if (i == 4) {
            io.Text(x.Surf3More[1].s, "Surf3More", 1);
            io.Text(x.Surf3More[2].s, "Surf3More", 2);
        }
        io.Int(x.SurfThick[i].v);
        io.Int(x.SurfColorIndex[i].v);
        for (int k = 0; k < 4; ++k) io.Unused();
    }
    io.Real(x.ParT1.v);
    io.Real(x.ParT2.v);
    io.Real(x.ParH.v);
    for (std::size_t s = 1; s <= 3; ++s)
        for (std::size_t d = 1; d <= 3; ++d)
            for (std::size_t k = 1; k <= 11; ++k) {
                auto& sec = x.Sections[s][d][k];
                io.NotL(sec.On.v);
                io.Real(sec.C.v);
                for (auto& b : sec.Bounds) io.Real(b.v);
            }
    for (std::size_t i = 1; i <= 4; ++i) Move(io, x.Move[i]);
    io.IsI(x.BoundToAxes.v);
    if constexpr (IO::reading)
        for (std::size_t i = 1; i <= 55; ++i) ResetCurves(x.Curves[i]);
    outlines();
    for (auto& st : x.Style) Style(io, st);
    GraphTexts(io, x.Texts, x.Texts.size());
    io.Anims(x.BoundTexts, "BoundTexts");
    Number(io, x.Number);
}

}  // namespace

void WriteXYZBlock(LineWriter& out, const DXZ& x, const std::string& header) {
    BlockOut io(out);
    XYZBlock(io, x, header, [&] { WriteOutlines(out, x); });
}

void ReadXYZBlock(LineReader& in, DXZ& x, std::int32_t pictureWidth, std::int32_t pictureHeight) {
    BlockIn io(in);
    XYZBlock(io, x, std::string(), [&] { ReadOutlines(in, x, pictureWidth, pictureHeight); });
}

// The outline groups go through their text: few lines, written and read by
// hand.
BlockTrip RoundTripXYZBlock(DXZ& x, std::string& key, std::int32_t pictureWidth, std::int32_t pictureHeight) {
    BlockRoundTrip io(key);
    XYZBlock(io, x, std::string(), [&] {
        LineWriter out('.');
        WriteOutlines(out, x);
        io.Append(out.bytes());
        LineReader in(out.bytes(), CurrentFormatVersion, '.');
        ReadOutlines(in, x, pictureWidth, pictureHeight);
    });
    return io.result();
}

}  // namespace pelmar
