// What a painter draws on.  Every painter takes its record, the picture
// settings and a target: the target kind says which of three consumers is
// meant, and the target carries that consumer.
//
//   Pel  the program's own picture: the canvas of pass 2 (lines, outlines,
//        points, labels) or the raster surface of pass 1 (fills, shading);
//   Cdr  the vector drawing program, through CdrSink;
//   Wrd  the word processor, through WordSink.
//
// A painter draws nothing for a target of no kind it knows, and nothing on a
// consumer the target does not carry.  The words "pel", "cdr" and "wrd" name
// the kinds at the program's edges only (TargetKindOf, TargetWord).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/records.h"

namespace pelmar {

class Canvas;
class RasterSurface;
struct GraphRun;

// The calls the painters make on the drawing program's automation object,
// with the argument counts and orders that program expects.  Positions are
// in its units (CdrX, CdrY, CdrUnits), angles in millionths of a degree
// (CdrAngle).
class CdrSink {
public:
    virtual ~CdrSink() = default;

    virtual void CreateEllipse(int top, int left, int bottom, int right, int startAngle, int endAngle,
                               int pie) = 0;
    virtual void SetOutlineWidth(int width) = 0;
    virtual void CreateArtisticText(const std::string& text, int x, int y) = 0;
    virtual void SetCharacterAttributes(int start, int length, const std::string& font, int style, int size,
                                        int a6, int a7, int a8, int a9, int a10, int a11, int a12,
                                        int a13) = 0;
    virtual void BeginDrawCurve(int x, int y) = 0;
    virtual void DrawCurveLineTo(int x, int y) = 0;
    virtual void DrawCurveCurveTo(int x1, int y1, int x2, int y2, int x3, int y3) = 0;
    virtual void EndDrawCurve() = 0;
    virtual void CloseCurve() = 0;
    virtual void ApplyOutline(int width, int type, int a3, int a4, int a5, int a6, int dashNo, int endArrow,
                              int startArrow, int a10) = 0;
    virtual void RotateObject(int angle, int a2, int a3, int a4) = 0;

    // Outline colour, and uniform fill colour, of the last shape.
    virtual void CdrSetOutlineColor(TColor colour) = 0;
    virtual void CdrSetFillColor(TColor colour) = 0;
    // Adds the last shape to the export's group (when grouping is on).
    virtual void CdrRememberShape() = 0;
};

// The arrowheads the picture draws at a line's two ends: their length along
// the line and their width across it, pixels (0 at an end without one).
struct ArrowheadSizes {
    double length1 = 0, width1 = 0, length2 = 0, width2 = 0;
};

// The shape writers of the word-processor export.  Positions and lengths are
// picture pixels (x right, y down); the writer converts them.
class WordSink {
public:
    virtual ~WordSink() = default;

    // A label: colourIndex is the word processor's text colour index of the
    // object, colour the colour the picture draws the label in.
    virtual void OfficeTextBox(int width, int height, const std::string& text, double left, double top,
                               const std::string& upper, const std::string& lower, const std::string& nameFont,
                               const std::string& indexFont, bool nameItalic, bool nameBold, bool indexItalic,
                               bool indexBold, double size, std::uint8_t colourIndex, TColor colour) = 0;
    // Type 1 adds nothing, 2 a disc, 3 a ring.
    virtual void OfficeOval(std::uint8_t pointType, TColor colour, double x, double y, double r,
                            double innerR) = 0;
    // Arrowheads of the styles arrow1 and arrow2 (0 for none), as large as
    // the picture draws them.
    virtual void OfficeLine(TColor colour, bool dashed, std::uint8_t dashNo, double x1, double y1, double x2,
                            double y2, double width, std::uint8_t arrow1, std::uint8_t arrow2,
                            const ArrowheadSizes& sizes) = 0;
    virtual void OfficeArc(TColor colour, bool dashed, std::uint8_t dashNo, double cx, double cy, double l1,
                           double l2, double b2, double b1, double width, double tilt, double angle1,
                           double angle2) = 0;
    virtual void OfficeFreeform(const DCurve1& poly, TColor colour, bool dashed, std::uint8_t dashNo,
                                double width) = 0;
};

// Options of the two export dialogs that the painters read.
struct ExportOptions {
    bool CdrOwnArrows = false;       // arrowheads as shapes of their own
    std::uint8_t CdrArrowNo = 1;     // the drawing program's arrowhead number
    std::uint8_t CdrDashNo = 1;      // its dash style number
    std::uint8_t WordArrowNo = 1;    // 1..6
    std::uint8_t WordDashNo = 1;     // 1..8
};

enum class TargetKind : std::uint8_t { None, Pel, Cdr, Wrd };

// "pel", "cdr", "wrd" and their kinds; any other word is None, None is "".
TargetKind TargetKindOf(std::string_view word);
const char* TargetWord(TargetKind kind);

struct PaintTarget {
    TargetKind kind = TargetKind::None;
    Canvas* canvas = nullptr;         // "pel", pass 2
    RasterSurface* raster = nullptr;  // "pel", pass 1
    CdrSink* cdr = nullptr;
    WordSink* wrd = nullptr;
    ExportOptions options;
    // Measures the label texts of "cdr" and "wrd"; without one a scratch
    // 100 x 100 picture measures them.
    Canvas* measure = nullptr;
    // The run around the graphs of the coordinate systems; without one they
    // draw as in a run that is never stopped and stores nothing.
    GraphRun* run = nullptr;
    // The document being drawn, where the points that linked points stand
    // on are found; without one every linked point draws its own label.
    const DProj* doc = nullptr;

    bool is(TargetKind k) const { return kind == k; }
};

// Lengths in the drawing program's units: 254000 per inch.  A resolution of 0
// gives 0; results beyond the integer range are clamped.
int CdrUnits(int dpi, double v);
// Picture positions on the drawing program's page: the origin is the picture
// centre and y runs upwards.
int CdrX(const DImProj& im, double x);
int CdrY(const DImProj& im, double y);
int CdrAngle(double degrees);

// Round half to even into the integer range (NaN gives 0).
int RoundToInt(double v);

}  // namespace pelmar
