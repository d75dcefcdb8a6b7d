// How the office programs that open the written files lay out a line of
// text: the heights they read from the font file that fontconfig finds for a
// family and style, and the widths of texts.
#pragma once

#include <string>

namespace pelmar {

// Heights of a line as shares of the font size.
struct LineShares {
    double ascent = 0;   // baseline below the line's top
    double descent = 0;  // line's bottom below the baseline
    double gap = 0;      // the font's line gap, which a word processor adds above the ascent
};

// The shares as LibreOffice reads them from the font file: the horizontal
// header's ascender, descender and line gap, unless the OS/2 table asks for
// its typographic values or the header has none.  A family no font file
// answers for takes the program's own measure of it, without a gap.
LineShares OfficeLineShares(const std::string& family, bool bold, bool italic);

// The advance width of `text` at `size` (any unit; the result is in it).
double OfficeTextWidth(const std::string& family, bool bold, bool italic, double size, const std::string& text);

}  // namespace pelmar
