// A canvas that draws nothing and writes every call, with its arguments, as
// one text line; for tests of the painters.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

namespace pelmar {

class RecordingCanvas final : public Canvas {
public:
    const std::vector<std::string>& lines() const { return lines_; }
    std::string text() const;  // the lines joined by '\n'
    void clear() { lines_.clear(); }

    // measureText is a fixed measure, the same on every machine: each character
    // is 0.6 and the line 1.2 times the font's pixel size; empty text measures
    // 0 x 0.
    PELMAR_CANVAS_OVERRIDES;

    // The text forms used in the lines, for building expected lines in tests.
    static std::string Num(double v);  // shortest of "%g" (6 digits)
    static std::string Color(Rgb c);   // "#RRGGBB"
    static std::string Point(PointF p);                 // "(x,y)"
    static std::string Rect(const RectF& r);            // "[x,y,w,h]"
    static std::string PenText(const Pen& pen);         // "pen(w,#RRGGBB[,dash a b ...][,round])"
    static std::string FontText(const Font& font);      // "font(family,size[,bold][,italic])"

private:
    void add(std::string line) { lines_.push_back(std::move(line)); }
    std::vector<std::string> lines_;
};

}  // namespace pelmar
