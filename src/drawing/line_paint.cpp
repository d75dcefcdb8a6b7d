#include "drawing/line_paint.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

#include "drawing/point_paint.h"
#include "model/flip.h"
#include "model/geometry.h"
#include "platform/canvas.h"
#include "platform/canvas_geometry.h"

namespace pelmar {

namespace {

constexpr std::uint8_t LineDashed = 2;
constexpr std::uint8_t LineInvisible = 3;
constexpr std::uint8_t TypeEmpty = 1;

void PelLine(const DLine& l, const DImProj& im, Canvas& c, PointF a, PointF b) {
    Pen pen;
    pen.width = l.Thick.v;
    pen.color = l.Selected ? l.SelColor : l.Color.v;
    pen.roundCaps = true;
    if (l.LineType.v == LineDashed) {
        const double w = l.Thick.v;  // not 0 here
        pen.dashes = {l.Dash.v / w, l.Gap.v / w};
    }
    c.setAntialias(im.Smooth);
    c.drawLine(pen, a, b);
}

// A dash pattern starts at a line's first end, so two dashed lines that lie
// on each other, drawn from opposite ends, put their dashes into each
// other's gaps and show as one solid line.  A plain dashed segment is
// therefore drawn from its left end, or from its upper end when it is
// vertical (within a thousandth of a pixel), on the picture, in the metafile
// and in both shape exports alike.
void FromCanonicalEnd(PointF& a, PointF& b) {
    constexpr double VerticalWithin = 1e-3;
    const bool swap = std::fabs(b.x - a.x) > VerticalWithin ? b.x < a.x : b.y < a.y;
    if (swap) std::swap(a, b);
}

// The length and the base width of the picture's arrowhead (DrawArrowhead).
void ArrowheadSize(int length, int angle, double& along, double& across) {
    along = length;
    across = std::fabs(2 * length * std::tan(angle * std::numbers::pi / 180.0));
}

// The outline of a segment in the drawing program.
void CdrSegmentOutline(const DLine& l, const DImProj& im, const PaintTarget& target, PointF a, PointF b) {
    CdrSink& s = *target.cdr;
    const ExportOptions& o = target.options;
    s.BeginDrawCurve(CdrX(im, a.x), CdrY(im, a.y));
    s.DrawCurveLineTo(CdrX(im, b.x), CdrY(im, b.y));
    s.EndDrawCurve();
    s.CdrSetOutlineColor(l.Color.v);
    const int arrow1 = l.Arrow1.v && !o.CdrOwnArrows ? o.CdrArrowNo : 0;
    const int arrow2 = l.Arrow2.v && !o.CdrOwnArrows ? o.CdrArrowNo : 0;
    s.ApplyOutline(CdrUnits(im.Dpi, l.Thick.v), l.LineType.v == LineDashed ? 2 : 1, 0, 0, 50, 0, o.CdrDashNo, arrow2,
                   arrow1, 0);
    s.CdrRememberShape();
}

// The part of a segment the shape exports keep: the part on the picture,
// grown by what the pen and the arrowheads reach.  A dashed part starts a
// whole number of pattern periods from the first end, on the segment's line
// outside the picture, so that the office program's dashes lie on the
// picture as on the whole segment: every dash style of the exports repeats
// after 2310 line widths (the periods 2, 7, 11 and 15 widths).  False when
// nothing of the segment shows.
bool ShownPart(const DLine& l, const DImProj& im, PointF& a, PointF& b) {
    const double reach = StrokeReach(l.Thick.v) + std::max(0, l.Arrow1Len.v) + std::max(0, l.Arrow2Len.v);
    const RectF view{-reach, -reach, im.Width + 2 * reach, im.Height + 2 * reach};
    const PointF ends[2] = {a, b};
    if (PathWithin(ends, view)) return true;
    constexpr double StylePeriods = 2310;
    const double period = l.LineType.v == LineDashed ? StylePeriods * std::max(1, l.Thick.v) : 0;
    const auto parts = ClipPath(ends, false, view, period);
    if (parts.empty()) return false;
    a = parts.front().front();
    b = parts.front().back();
    return true;
}

}  // namespace

void DrawLine(const DLine& l, const DImProj& im, const PaintTarget& target) {
    DLine copy = l;
    FlipYLine(copy, FlipToScreen, im.Height);
    DrawLineElement(copy, 0, im, target);
    DrawLineElement(copy, 1, im, target);
}

void DrawLineElement(const DLine& l, int part, const DImProj& im, const PaintTarget& target) {
    PointF a{l.P1.ScrX.v, l.P1.ScrY.v};
    PointF b{l.P2.ScrX.v, l.P2.ScrY.v};
    if (a == b) return;

    const bool pel = target.is(TargetKind::Pel);
    const bool cdr = target.is(TargetKind::Cdr);
    const bool wrd = target.is(TargetKind::Wrd);

    if (pel || (cdr && target.options.CdrOwnArrows)) {
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (len > 0) {
            const PointF u{(b.x - a.x) / len, (b.y - a.y) / len};
            if (l.Arrow1.v) {
                const double k = l.Arrow1Len.v - 1.0;
                a = {a.x + k * u.x, a.y + k * u.y};
            }
            if (l.Arrow2.v) {
                const double k = l.Arrow2Len.v - 1.0;
                b = {b.x - k * u.x, b.y - k * u.y};
            }
        }
    }

    if (part == 0) {
        if (l.Thick.v == 0 || l.LineType.v == LineInvisible) return;
        // An arrowhead belongs to its end: such a line keeps its direction.
        if (l.LineType.v == LineDashed && !l.Arrow1.v && !l.Arrow2.v) FromCanonicalEnd(a, b);
        // The canvases cut what lies off the picture themselves.
        if ((cdr || wrd) && !ShownPart(l, im, a, b)) return;
        if (pel && target.canvas) {
            PelLine(l, im, *target.canvas, a, b);
        } else if (cdr && target.cdr) {
            CdrSegmentOutline(l, im, target, a, b);
        } else if (wrd && target.wrd) {
            const std::uint8_t arrowNo = target.options.WordArrowNo;
            ArrowheadSizes sizes;
            if (l.Arrow1.v) ArrowheadSize(l.Arrow1Len.v, l.Arrow1Angle.v, sizes.length1, sizes.width1);
            if (l.Arrow2.v) ArrowheadSize(l.Arrow2Len.v, l.Arrow2Angle.v, sizes.length2, sizes.width2);
            target.wrd->OfficeLine(l.Color.v, l.LineType.v == LineDashed, target.options.WordDashNo, a.x, a.y, b.x,
                                   b.y, l.Thick.v, l.Arrow1.v ? arrowNo : 0, l.Arrow2.v ? arrowNo : 0, sizes);
        }
        return;
    }
    if (part != 1) return;

    // No disc hides the tip of an arrow (the end is copied only then).
    for (const auto& [end, arrow] : {std::pair<const DPoint*, bool>{&l.P1, l.Arrow1.v}, {&l.P2, l.Arrow2.v}}) {
        if (!arrow) {
            DrawPointElement(*end, im, target);
            continue;
        }
        DPoint tip = *end;
        tip.Typ.v = TypeEmpty;
        DrawPointElement(tip, im, target);
    }
    if (l.Show3.v) DrawPointElement(l.P3, im, target);
    if (l.Show4.v) DrawPointElement(l.P4, im, target);

    if (pel || cdr) {
        const int x1 = RoundToInt(l.P1.ScrX.v), y1 = RoundToInt(l.P1.ScrY.v);
        const int x2 = RoundToInt(l.P2.ScrX.v), y2 = RoundToInt(l.P2.ScrY.v);
        if (l.Arrow1.v) DrawArrowhead(x1, y1, x2, y2, l.Arrow1Len.v, l.Arrow1Angle.v, l.Color.v, im, target);
        if (l.Arrow2.v) DrawArrowhead(x2, y2, x1, y1, l.Arrow2Len.v, l.Arrow2Angle.v, l.Color.v, im, target);
    }
}

void ArrowBarbs(int tipX, int tipY, int tailX, int tailY, int length, int angle, PointF& barb1, PointF& barb2) {
    const double theta = angle * std::numbers::pi / 180.0;
    const double len = length;
    const double spread = len * std::tan(theta);
    double phi;
    if (tipX != tailX) {
        phi = std::atan((static_cast<double>(tailY) - tipY) / (static_cast<double>(tailX) - tipX));
        if (tipX > tailX) phi += std::numbers::pi;
    } else {
        phi = tipY <= tailY ? std::numbers::pi / 2 : 3 * std::numbers::pi / 2;
    }
    const double cs = std::cos(phi), sn = std::sin(phi);
    auto turn = [&](double a, double b) { return PointF{tipX + a * cs - b * sn, tipY + a * sn + b * cs}; };
    barb1 = turn(len, -spread);
    barb2 = turn(len, spread);
}

void DrawArrowhead(int tipX, int tipY, int tailX, int tailY, int length, int angle, TColor colour,
                   const DImProj& im, const PaintTarget& target) {
    PointF b1, b2;
    ArrowBarbs(tipX, tipY, tailX, tailY, length, angle, b1, b2);
    const PointF tip{static_cast<double>(tipX), static_cast<double>(tipY)};
    if (target.is(TargetKind::Pel)) {
        if (!target.canvas) return;
        target.canvas->setAntialias(im.Smooth);
        const std::array<PointF, 3> tri{tip, b1, b2};
        target.canvas->fillPolygon(colour, tri);
    } else if (target.is(TargetKind::Cdr)) {
        if (!target.cdr || !target.options.CdrOwnArrows) return;
        CdrSink& s = *target.cdr;
        s.BeginDrawCurve(CdrX(im, tip.x), CdrY(im, tip.y));
        s.DrawCurveLineTo(CdrX(im, b1.x), CdrY(im, b1.y));
        s.DrawCurveLineTo(CdrX(im, b2.x), CdrY(im, b2.y));
        s.EndDrawCurve();
        s.CloseCurve();
        s.CdrSetOutlineColor(colour);
        s.CdrSetFillColor(colour);
        s.SetOutlineWidth(CdrUnits(im.Dpi, 1));
        s.CdrRememberShape();
    }
}

}  // namespace pelmar
