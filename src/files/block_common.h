// Lines shared by the object blocks: the record head, the fill group, the
// creation number and the resetting of computed curves.
#pragma once

#include <string>

#include "files/text_lines.h"
#include "model/records.h"

namespace pelmar::blocks {

inline void WriteHead(LineWriter& out, const DHead& h, const std::string& header) {
    out.Header(header);
    out.Text(h.ID.s, "ID");
    out.Int(h.Layer.v);
    out.Int(h.Thick.v);
    out.Int(h.ColorIndex.v);
    out.Flag01(h.Disabled.v);
}

inline void ReadHead(LineReader& in, DHead& h) {
    in.Skip();
    h.ID.s = in.Text();
    h.Layer.v = in.Byte();
    h.Thick.v = in.Int();
    h.ColorIndex.v = in.Byte();
    h.Disabled.v = in.Not0();
}

// Texts of an array, named field[1], field[2], ... in the changes collected.
template <class Range>
void WriteTexts(LineWriter& out, const Range& texts, const char* field) {
    int i = 0;
    for (const auto& t : texts) out.Text(t, field, ++i);
}

// The shift and rotation of a graph.
inline void WriteMove(LineWriter& out, const DGraphMove& m) {
    out.FlagL(m.Moved.v);
    out.Real(m.DX.v);
    out.Real(m.DY.v);
    out.Real(m.DZ.v);
    out.FlagL(m.Rotated.v);
    out.Real(m.Angle.v);
    out.Real(m.CX.v);
    out.Real(m.CY.v);
    out.Real(m.CZ.v);
    out.Real(m.NX.v);
    out.Real(m.NY.v);
    out.Real(m.NZ.v);
}

inline void ReadMove(LineReader& in, DGraphMove& m) {
    m.Moved.v = in.IsI();
    m.DX.v = in.Real();
    m.DY.v = in.Real();
    m.DZ.v = in.Real();
    m.Rotated.v = in.IsI();
    m.Angle.v = in.Real();
    m.CX.v = in.Real();
    m.CY.v = in.Real();
    m.CZ.v = in.Real();
    m.NX.v = in.Real();
    m.NY.v = in.Real();
    m.NZ.v = in.Real();
}

// Fill on ("и"/"л") and the three colours as plain integers.
inline void WriteFill(LineWriter& out, const DFill& f) {
    out.FlagL(f.On);
    for (const TColor c : f.Colors) out.Int(static_cast<std::int32_t>(c));
}

// From version 17 on; older files leave the fill as it was.
inline void ReadFill(LineReader& in, DFill& f) {
    if (in.version() < 17) return;
    f.On = in.NotL();
    for (TColor& c : f.Colors) c = in.Color32();
}

// From version 19 on; older files give 0.
inline void ReadNumber(LineReader& in, std::int32_t& n) { n = in.version() >= 19 ? in.Int() : 0; }

// Animation formulas from version 14 on; older files give empty texts.
template <class Range>
void ReadAnim(LineReader& in, Range& texts) {
    for (auto& t : texts) t = in.version() >= 14 ? in.Text() : std::string();
}

// The tick marks and numbering of a coordinate system; the 2D system writes
// its flags as "1"/"0", the 3D one as letters.
template <class System>
void WriteNumbering(LineWriter& out, const System& x, bool letterFlags) {
    const auto flag = [&](bool on) { letterFlags ? out.FlagL(on) : out.Flag01(on); };
    out.Int(x.MarkWidth.v);
    out.Int(x.MarkHeight.v);
    flag(x.NumbersOn.v);
    out.Int(x.NumberStep.v);
    out.Text(x.NumberFont.s, "NumberFont");
    flag(x.NumbersItalic.v);
    flag(x.NumbersBold.v);
    out.Int(x.NumberSize.v);
}

template <class System>
void ReadNumbering(LineReader& in, System& x, bool letterFlags) {
    const auto flag = [&] { return letterFlags ? in.NotL() : in.Not0(); };
    x.MarkWidth.v = in.Int();
    x.MarkHeight.v = in.Int();
    x.NumbersOn.v = flag();
    x.NumberStep.v = in.Int();
    x.NumberFont.s = in.Text();
    x.NumbersItalic.v = flag();
    x.NumbersBold.v = flag();
    x.NumberSize.v = in.Int();
}

// The line style of a graph.
inline void WriteStyle(LineWriter& out, const DGraphStyle& s) {
    out.Int(s.Visible.v);
    out.Int(s.Hidden.v);
    out.Int(s.Dash.v);
    out.Int(s.Gap.v);
}

// From version 11 on; version 10 gives solid, solid, 10, 10.
inline void ReadStyle(LineReader& in, DGraphStyle& s) {
    if (in.version() >= 11) {
        s.Visible.v = in.Byte();
        s.Hidden.v = in.Byte();
        s.Dash.v = in.Int();
        s.Gap.v = in.Int();
    } else {
        s.Visible.v = 1;
        s.Hidden.v = 1;
        s.Dash.v = 10;
        s.Gap.v = 10;
    }
}

// Formula texts of the graphs: the first `arrays` arrays, graph by graph,
// named "Texts" 10·array + graph.
template <class Arrays>
void WriteGraphTexts(LineWriter& out, const Arrays& texts, std::size_t arrays) {
    for (std::size_t g = 1; g <= texts[0].size(); ++g)
        for (std::size_t a = 0; a < arrays; ++a) out.Text(texts[a][g], "Texts", static_cast<int>(10 * a + g));
}

// From version 14 on; older files give empty texts.
template <class Arrays>
void ReadGraphTexts(LineReader& in, Arrays& texts, std::size_t arrays) {
    for (std::size_t g = 1; g <= texts[0].size(); ++g)
        for (std::size_t a = 0; a < arrays; ++a) texts[a][g] = in.version() >= 14 ? in.Text() : std::string();
}

// A computed curve set cut back to one empty polyline, not current: its
// polylines come again from the curves file or the next drawing.
void ResetCurves(DCurve2& c);

}  // namespace pelmar::blocks
