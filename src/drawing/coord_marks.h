// The pieces the 2D and 3D coordinate-system painters share: tick lengths,
// tick ranges along an axis, the tick and grid lines on each target, and the
// numbers at the ticks.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "drawing/graph_transform.h"
#include "drawing/paint_target.h"
#include "drawing/sub_curve.h"
#include "model/records.h"
#include "platform/canvas.h"

namespace pelmar {

// What the ticks and numbers of one system are drawn with.
struct MarkStyle {
    TColor colour = 0;        // the record colour (exports)
    TColor screenColour = 0;  // the own picture: the selection colour while selected
    std::uint8_t colourIndex = 0;
    int markWidth = 1;
    int markHeight = 0;
    int thick = 1;
    std::string font;
    bool italic = false;
    bool bold = false;
    int size = 10;
    char decimalSep = ',';
    bool clearBehindNumbers = false;  // a grid runs under the numbers: the own picture clears their place
};

// The mark style of a 2D or 3D coordinate system record.
template <class System>
MarkStyle MarkStyleOf(const System& r, char decimalSep) {
    MarkStyle style;
    style.colour = r.Color.v;
    style.screenColour = r.Selected ? r.SelColor : r.Color.v;
    style.colourIndex = r.ColorIndex.v;
    style.markWidth = r.MarkWidth.v;
    style.markHeight = r.MarkHeight.v;
    style.thick = r.Thick.v;
    style.font = r.NumberFont.s;
    style.italic = r.NumbersItalic.v;
    style.bold = r.NumbersBold.v;
    style.size = r.NumberSize.v;
    style.decimalSep = decimalSep;
    return style;
}

// The shift and rotation of a graph as the graph drawers take them.
GraphTransform GraphTransformOf(const DGraphMove& m);

// Draws a graph of a system with its slot's shift, rotation and line style;
// view and full as the system painters take them.
void DrawSystemGraph(SubCurveArgs& a, const DGraphMove& move, const DGraphStyle& style, bool full, char view,
                     const PaintTarget& target, int pass);

// Half-lengths of a tick above (left of) and below (right of) the axis:
// with mark width 1 the tick reaches one pixel further above, and one more
// for an odd axis thickness; otherwise both halves are half the mark height.
void TickHalfLengths(int markWidth, int markHeight, int thick, double& up, double& down);

// The number of whole steps that fit into `room` pixels, towards zero.  A
// step below half a pixel has no ticks at all (0); the count is bounded so
// that an absurd axis cannot stall the drawing.
int StepsIn(double room, double step);

// Narrows the steps first..last so that only those whose place
// `origin + i * step` lies within [lo, hi] remain; none (first > last) when
// no place does or the numbers are not finite.
void ShownSteps(double origin, double step, double lo, double hi, int& first, int& last);

// How far beyond the picture a tick, a grid line or a number placed at a
// step may stand and still show.
inline constexpr double kMarkReach = 1000;

// The text of a tick value: rounded to three decimals, with the separator.
std::string MarkNumberText(double value, char decimalSep);

// Draws tick and grid lines of one system on the target.
class MarkPainter {
public:
    MarkPainter(const MarkStyle& style, const DImProj& im, const PaintTarget& target);
    ~MarkPainter();

    // A straight line of the given pen width from a to b.  On the picture
    // the lines gather until the width changes, something else is drawn or
    // the painter ends, and are drawn in one batch in their order.
    void line(double width, PointF a, PointF b);
    void flushLines();

    // The steps first..last along x (or y) narrowed to those the picture
    // shows, with kMarkReach around it.
    void shownAlongX(double origin, double step, int& first, int& last) const;
    void shownAlongY(double origin, double step, int& first, int& last) const;

    // The ticks across the horizontal axis through `centre`, every `step`
    // pixels from `left` pixels before the centre to `right` after it, and
    // across the vertical axis from `below` under it to `above` over it.
    void horizontalTicks(PointF centre, double step, double left, double right);
    void verticalTicks(PointF centre, double step, double below, double above);
    // The numbers at every n-th tick, `step` pixels apart, but the centre's;
    // a division is worth `div`.
    void horizontalNumbers(PointF centre, double step, int n, double div, double left, double right);
    void verticalNumbers(PointF centre, double step, int n, double div, double below, double above);

    // The number at a tick of the horizontal axis (anchor below the tick)
    // and at a tick of the vertical axis (anchor right of the tick).
    void horizontalAxisNumber(const std::string& text, double ax, double ay);
    void verticalAxisNumber(const std::string& text, double ax, double ay);
    void clearBehind(Canvas& c, const Font& f, const std::string& text, PointF centre);
    // The number at a tick of the depth axis of a 3D system; the tick ends
    // at `tickEnd` on the number's side.
    void depthAxisNumber(const std::string& text, double ax, double ay, PointF tickEnd);

private:
    // The canvas the own picture's number places are measured on: the
    // picture's, or for the exports a scratch picture.
    Canvas* measurer();
    Font screenFont() const;
    // A number of the exports, where the own picture draws it with `format`
    // at `at` and in its size.
    void exportText(const Font& f, const std::string& text, PointF at, TextFormat format);

    const MarkStyle& style_;
    const DImProj& im_;
    const PaintTarget& target_;
    struct Scratch;
    std::unique_ptr<Scratch> scratch_;  // the picture the exports measure their texts on
    std::vector<LineF> lines_;          // picture lines not drawn yet
    double linesWidth_ = 0;             // their pen width
};

}  // namespace pelmar
