// The document that the two automation objects build: a page with its
// layers and the shapes drawn on it, in one neutral form that the
// OpenDocument writers turn into a file.
//
// Geometry is in points (1/72 inch) on the page, x to the right and y
// downwards from the page's upper left corner.  Angles are degrees,
// counter-clockwise as seen on the page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/records.h"

namespace pelmar {

// Dash patterns of the written files; the programs' dash numbers map onto
// these (CdrDash, WordDash).
enum class DashStyle : std::uint8_t { Solid, Dot, SquareDot, Dash, DashDot, DashDotDot, LongDash, LongDashDot };

// Arrowhead markers of the written files (CdrArrow, WordArrow).
enum class ArrowStyle : std::uint8_t { None, Triangle, Open, Stealth, Diamond, Oval };

struct PathNode {
    enum Type : std::uint8_t { Move, Line, Curve } type = Move;
    double x = 0, y = 0;
    // The two control points of a curve segment.
    double c1x = 0, c1y = 0, c2x = 0, c2y = 0;
};

// A run of text with its own font; `script` raises or lowers it.
struct TextRun {
    std::string text;
    std::string font = "Arial";
    double size = 10;  // points
    bool bold = false, italic = false;
    enum Script : std::uint8_t { Normal, Sub, Super } script = Normal;
    TColor colour = 0;
};

struct OfficeShape {
    enum Kind : std::uint8_t { Path, Ellipse, Text } kind = Path;

    // Path: the nodes; a closed path ends back at its first node.
    std::vector<PathNode> nodes;
    bool closed = false;

    // Ellipse: centre, radii and tilt; an arc runs counter-clockwise from
    // `start` to `end`, measured from the ellipse's own x axis.
    double cx = 0, cy = 0, rx = 0, ry = 0, rotation = 0;
    bool arc = false;
    double start = 0, end = 0;

    // Text: where its first line starts, x at the left end and y on the
    // baseline, as the picture draws it; a word processor's box also has the
    // size it was made with.
    double x = 0, y = 0, width = 0, height = 0;
    std::vector<TextRun> runs;

    bool stroke = true;
    TColor strokeColour = 0;
    double strokeWidth = 0.75;  // points; 0 is the thinnest line
    DashStyle dash = DashStyle::Solid;
    ArrowStyle startArrow = ArrowStyle::None, endArrow = ArrowStyle::None;
    // The arrowheads' length along the line and width across it, points; 0
    // leaves their size to the line's width.
    double startArrowLength = 0, startArrowWidth = 0, endArrowLength = 0, endArrowWidth = 0;
    bool fill = false;
    TColor fillColour = 0xFFFFFF;

    std::string name;
    int layer = 0;  // 1-based layer, 0 when the document has none
    int group = 0;  // 1-based group, 0 when not grouped
    int id = 0;     // the shape's own number, from 1
};

struct OfficeDocument {
    double pageWidth = 595.3, pageHeight = 841.9;  // points
    double marginLeft = 0, marginTop = 0, marginRight = 0, marginBottom = 0;
    bool landscape = false;
    std::vector<std::string> layers;
    std::vector<OfficeShape> shapes;
    int groupCount = 0;

    // The shape with this number; nullptr when there is none.
    OfficeShape* shapeById(int id);
    const OfficeShape* shapeById(int id) const;
};

}  // namespace pelmar
