// Block of the 3D coordinate system.
#include "files/block_common.h"
#include "files/object_blocks.h"

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

}  // namespace

void WriteXYZBlock(LineWriter& out, const DXZ& x, const std::string& header) {
    WritePointBlock(out, x.Center, header + "<Center>");
    WriteLineBlock(out, x.AxisX, header + "<Axes X>");
    WriteLineBlock(out, x.AxisY, header + "<Axes Y>");
    WriteLineBlock(out, x.AxisZ, header + "<Axes Z>");
    WriteHead(out, x, header);
    out.Real(x.Scale.v);
    out.Real(x.Div.v);
    WriteNumbering(out, x, true);
    for (std::size_t i = 1; i <= 4; ++i) {
        out.FlagL(x.SurfOn[i].v);
        out.Text(x.Surf[i].s, "Surf", static_cast<int>(i));
        if (i == 4) {
            out.Text(x.Surf3More[1].s, "Surf3More", 1);
            out.Text(x.Surf3More[2].s, "Surf3More", 2);
        }
        out.Int(x.SurfThick[i].v);
        out.Int(x.SurfColorIndex[i].v);
        for (int k = 0; k < 4; ++k) out.Raw("X");
    }
    out.Real(x.ParT1.v);
    out.Real(x.ParT2.v);
    out.Real(x.ParH.v);
    for (std::size_t s = 1; s <= 3; ++s)
        for (std::size_t d = 1; d <= 3; ++d)
            for (std::size_t k = 1; k <= 11; ++k) {
                const DSection& sec = x.Sections[s][d][k];
                out.FlagL(sec.On.v);
                out.Real(sec.C.v);
                for (const auto& b : sec.Bounds) out.Real(b.v);
            }
    for (std::size_t i = 1; i <= 4; ++i) WriteMove(out, x.Move[i]);
    out.FlagL(x.BoundToAxes.v);
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
    for (const DGraphStyle& st : x.Style) WriteStyle(out, st);
    WriteGraphTexts(out, x.Texts, x.Texts.size());
    WriteTexts(out, x.BoundTexts, "BoundTexts");
    out.Int(x.Number);
}

void ReadXYZBlock(LineReader& in, DXZ& x, std::int32_t pictureWidth, std::int32_t pictureHeight) {
    const std::uint8_t v = in.version();
    ReadPointBlock(in, x.Center);
    ReadLineBlock(in, x.AxisX);
    ReadLineBlock(in, x.AxisY);
    ReadLineBlock(in, x.AxisZ);
    ReadHead(in, x);
    x.Scale.v = in.Real();
    x.Div.v = in.Real();
    ReadNumbering(in, x, true);
    for (std::size_t i = 1; i <= 4; ++i) {
        x.SurfOn[i].v = in.NotL();
        x.Surf[i].s = in.Text();
        if (i == 4) {
            x.Surf3More[1].s = in.Text();
            x.Surf3More[2].s = in.Text();
        }
        x.SurfThick[i].v = in.Int();
        x.SurfColorIndex[i].v = in.Int();
        for (int k = 0; k < 4; ++k) in.Skip();
    }
    x.ParT1.v = in.Real();
    x.ParT2.v = in.Real();
    x.ParH.v = in.Real();
    for (std::size_t s = 1; s <= 3; ++s)
        for (std::size_t d = 1; d <= 3; ++d)
            for (std::size_t k = 1; k <= 11; ++k) {
                DSection& sec = x.Sections[s][d][k];
                sec.On.v = in.NotL();
                sec.C.v = in.Real();
                for (auto& b : sec.Bounds) b.v = in.Real();
            }
    for (std::size_t i = 1; i <= 4; ++i) ReadMove(in, x.Move[i]);
    x.BoundToAxes.v = in.IsI();
    for (std::size_t i = 1; i <= 55; ++i) ResetCurves(x.Curves[i]);

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
    for (DGraphStyle& st : x.Style) ReadStyle(in, st);
    ReadGraphTexts(in, x.Texts, x.Texts.size());
    ReadAnim(in, x.BoundTexts);
    ReadNumber(in, x.Number);
}

}  // namespace pelmar
