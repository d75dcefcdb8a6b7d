// Records and targets shared by the painter and redraw tests.
#pragma once

#include <string>
#include <vector>

#include "drawing/paint_target.h"
#include "model/records.h"
#include "support/recording_canvas.h"

namespace pelmar::test {

constexpr TColor Red = 0x0000FF;
constexpr TColor Green = 0x00FF00;
constexpr TColor Blue = 0xFF0000;
constexpr TColor White = 0xFFFFFF;
constexpr TColor Black = 0x000000;

inline DImProj Picture(int w = 800, int h = 600, int dpi = 96) {
    DImProj im;
    im.Width = w;
    im.Height = h;
    im.Dpi = dpi;
    im.Background = White;
    return im;
}

// A point at the document position (x, y): the painters flip it, so on the
// picture it lies at (x, height - y).
inline DPoint MakePoint(double x, double y, std::uint8_t type = 2, int radius = 4, TColor colour = Red) {
    DPoint p;
    p.ScrX.v = x;
    p.ScrY.v = y;
    p.Typ.v = type;
    p.Radius.v = radius;
    p.Color.v = colour;
    p.Layer.v = 1;
    p.NameFont.s = "Arial";
    p.IndexFont.s = "Arial";
    p.NameSize.v = 10;
    p.IndexSize.v = 8;
    return p;
}

inline DLine MakeLine(double x1, double y1, double x2, double y2, int thick = 1, TColor colour = Black) {
    DLine l;
    l.P1 = MakePoint(x1, y1, 1, 0, colour);
    l.P2 = MakePoint(x2, y2, 1, 0, colour);
    l.Thick.v = thick;
    l.Color.v = colour;
    l.LineType.v = 1;
    l.Layer.v = 1;
    return l;
}

inline PaintTarget PelTarget(Canvas& c) {
    PaintTarget t;
    t.kind = TargetKind::Pel;
    t.canvas = &c;
    return t;
}

inline PaintTarget WrdTarget(WordSink& s) {
    PaintTarget t;
    t.kind = TargetKind::Wrd;
    t.wrd = &s;
    return t;
}

inline PaintTarget CdrTarget(CdrSink& s) {
    PaintTarget t;
    t.kind = TargetKind::Cdr;
    t.cdr = &s;
    return t;
}

// The lines of a recording that start with `prefix`.
inline std::vector<std::string> LinesStarting(const RecordingCanvas& rec, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& l : rec.lines())
        if (l.rfind(prefix, 0) == 0) out.push_back(l);
    return out;
}

// The lines that draw something (no measuring, no state).
inline std::vector<std::string> Drawn(const RecordingCanvas& rec) {
    std::vector<std::string> out;
    for (const std::string& l : rec.lines())
        if (l.rfind("measureText", 0) != 0 && l.rfind("setAntialias", 0) != 0 &&
            l.rfind("setTextAntialias", 0) != 0)
            out.push_back(l);
    return out;
}

}  // namespace pelmar::test
