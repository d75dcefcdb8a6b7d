#include "drawing/coord_marks.h"

#include <QImage>
#include <algorithm>
#include <cmath>

#include "drawing/point_paint.h"
#include "model/geometry.h"
#include "model/units.h"
#include "platform/qt_canvas.h"

namespace pelmar {

namespace {

// More ticks than this on one side of an axis would not fit on any picture.
constexpr double MaxSteps = 100000;

bool PointsUnit(const DImProj& im) { return im.FontUnit == 2; }

// Style code of the drawing program: 1 regular, 8 italic, 13 bold, 14 bold italic.
int CdrStyle(bool bold, bool italic) {
    if (bold) return italic ? 14 : 13;
    return italic ? 8 : 1;
}

constexpr TextFormat Centred{TextAlign::Center, TextAlign::Center};

// The free room between a tick's end and the ink of the number beside it.
double NumberGap(double pixelSize) { return std::max(2.0, std::round(0.2 * pixelSize)); }

// How far a box must move so that `edge` lies `gap` before `from`; 0 when
// it already does.
double Clearance(double from, double gap, double edge) { return std::max(0.0, from + gap - edge); }

}  // namespace

struct MarkPainter::Scratch {
    QImage image{100, 100, QImage::Format_RGB32};
    QtCanvas canvas{image};
};

GraphTransform GraphTransformOf(const DGraphMove& m) {
    GraphTransform t;
    t.Moved = m.Moved.v;
    t.DX = m.DX.v;
    t.DY = m.DY.v;
    t.DZ = m.DZ.v;
    t.Rotated = m.Rotated.v;
    t.Angle = m.Angle.v;
    t.CX = m.CX.v;
    t.CY = m.CY.v;
    t.CZ = m.CZ.v;
    t.NX = m.NX.v;
    t.NY = m.NY.v;
    t.NZ = m.NZ.v;
    return t;
}

void DrawSystemGraph(SubCurveArgs& a, const DGraphMove& move, const DGraphStyle& style, bool full, char view,
                     const PaintTarget& target, int pass) {
    a.Transform = GraphTransformOf(move);
    a.Full = full;
    a.TargetChar = view;
    a.Style = GraphLineStyleOf(style);
    a.DashNo = target.options.CdrDashNo;
    DrawSubCurve(a, target, pass);
}

void TickHalfLengths(int markWidth, int markHeight, int thick, double& up, double& down) {
    const double half = markHeight / 2.0;
    if (markWidth == 1) {
        up = half + (thick % 2);
        down = up - 1;
    } else {
        up = down = half;
    }
}

int StepsIn(double room, double step) {
    if (!(std::fabs(step) >= 0.5) || !std::isfinite(room)) return 0;
    const double n = std::trunc(room / step);
    if (!std::isfinite(n)) return 0;
    if (n > MaxSteps) return static_cast<int>(MaxSteps);
    if (n < -MaxSteps) return static_cast<int>(-MaxSteps);
    return static_cast<int>(n);
}

void ShownSteps(double origin, double step, double lo, double hi, int& first, int& last) {
    double a = (lo - origin) / step, b = (hi - origin) / step;
    if (!std::isfinite(a) || !std::isfinite(b) || step == 0) {
        first = 1, last = 0;
        return;
    }
    if (a > b) std::swap(a, b);
    const double f = std::max(static_cast<double>(first), std::ceil(a));
    const double l = std::min(static_cast<double>(last), std::floor(b));
    if (!(f <= l)) {
        first = 1, last = 0;
        return;
    }
    first = static_cast<int>(f);  // both within the ints first and last were
    last = static_cast<int>(l);
}

void MarkPainter::shownAlongX(double origin, double step, int& first, int& last) const {
    ShownSteps(origin, step, -kMarkReach, im_.Width + kMarkReach, first, last);
}

void MarkPainter::shownAlongY(double origin, double step, int& first, int& last) const {
    ShownSteps(origin, step, -kMarkReach, im_.Height + kMarkReach, first, last);
}

std::string MarkNumberText(double value, char decimalSep) {
    double v = Round(value * 1000) / 1000;
    if (v == 0) v = 0;  // no "-0"
    return FloatToStr(v, decimalSep);
}

MarkPainter::MarkPainter(const MarkStyle& style, const DImProj& im, const PaintTarget& target)
    : style_(style), im_(im), target_(target) {
    if (target_.is(TargetKind::Pel) && target_.canvas) {
        target_.canvas->setAntialias(im_.Smooth);
        // Single-bit text only in a metafile without smoothing.
        target_.canvas->setTextAntialias(!(im_.PicMode == 1 && !im_.Smooth));
    }
}

MarkPainter::~MarkPainter() { flushLines(); }

namespace {

// The batches of tick and grid lines drawn last, with what the canvas kept
// of them: a system drawn again with the same lines (its frame, scales and
// steps unchanged) lays down the kept pixels.  The most recent first.
struct KeptMarks {
    double width = 0;
    std::vector<LineF> lines;
    KeptDrawingPtr kept;
};
constexpr std::size_t kKeptMarkBatches = 16;

KeptDrawingPtr& KeptMarksFor(double width, const std::vector<LineF>& lines) {
    thread_local std::vector<KeptMarks> batches;
    const auto it = std::find_if(batches.begin(), batches.end(),
                                 [&](const KeptMarks& k) { return k.width == width && k.lines == lines; });
    if (it != batches.end()) {
        std::rotate(batches.begin(), it, it + 1);
    } else {
        if (batches.size() >= kKeptMarkBatches) batches.pop_back();
        batches.insert(batches.begin(), KeptMarks{width, lines, {}});
    }
    return batches.front().kept;
}

}  // namespace

void MarkPainter::flushLines() {
    if (lines_.empty()) return;
    if (target_.canvas) {
        Pen pen;
        pen.width = linesWidth_;
        pen.color = style_.screenColour;
        pen.roundCaps = false;
        if (target_.canvas->keepsDrawings())
            target_.canvas->drawKeptLines(pen, lines_, KeptMarksFor(linesWidth_, lines_));
        else
            target_.canvas->drawLines(pen, lines_);
    }
    lines_.clear();
}

void MarkPainter::line(double width, PointF a, PointF b) {
    if (target_.is(TargetKind::Pel)) {
        if (!target_.canvas) return;
        if (!lines_.empty() && linesWidth_ != width) flushLines();
        linesWidth_ = width;
        lines_.push_back({a, b});
    } else if (target_.is(TargetKind::Cdr)) {
        if (!target_.cdr) return;
        CdrSink& s = *target_.cdr;
        s.BeginDrawCurve(CdrX(im_, a.x), CdrY(im_, a.y));
        s.DrawCurveLineTo(CdrX(im_, b.x), CdrY(im_, b.y));
        s.EndDrawCurve();
        s.CdrSetOutlineColor(style_.colour);
        s.SetOutlineWidth(CdrUnits(im_.Dpi, width));
        s.CdrRememberShape();
    } else if (target_.is(TargetKind::Wrd)) {
        if (!target_.wrd) return;
        target_.wrd->OfficeLine(style_.colour, false, 0, a.x, a.y, b.x, b.y, width, 0, 0, {});
    }
}

void MarkPainter::horizontalTicks(PointF centre, double step, double left, double right) {
    double up = 0, down = 0;
    TickHalfLengths(style_.markWidth, style_.markHeight, style_.thick, up, down);
    int first = -StepsIn(left, step), last = StepsIn(right, step);
    shownAlongX(centre.x, step, first, last);
    for (int i = first; i <= last; ++i) {
        const double x = centre.x + i * step;
        line(style_.markWidth, {x, centre.y - up}, {x, centre.y + down});
    }
}

void MarkPainter::verticalTicks(PointF centre, double step, double below, double above) {
    double up = 0, down = 0;
    TickHalfLengths(style_.markWidth, style_.markHeight, style_.thick, up, down);
    int first = -StepsIn(below, step), last = StepsIn(above, step);
    shownAlongY(centre.y, -step, first, last);
    for (int i = first; i <= last; ++i) {
        const double y = centre.y - i * step;
        line(style_.markWidth, {centre.x - up, y}, {centre.x + down, y});
    }
}

void MarkPainter::horizontalNumbers(PointF centre, double step, int n, double div, double left, double right) {
    int first = -StepsIn(left, step), last = StepsIn(right, step);
    shownAlongX(centre.x, step, first, last);
    for (int i = first; i <= last; ++i) {
        if (i == 0) continue;
        horizontalAxisNumber(MarkNumberText(i * n * div, style_.decimalSep), Round(centre.x + i * step),
                             Round(centre.y + style_.markHeight / 2.0));
    }
}

void MarkPainter::verticalNumbers(PointF centre, double step, int n, double div, double below, double above) {
    int first = -StepsIn(below, step), last = StepsIn(above, step);
    shownAlongY(centre.y, -step, first, last);
    for (int i = first; i <= last; ++i) {
        if (i == 0) continue;
        verticalAxisNumber(MarkNumberText(i * n * div, style_.decimalSep), Round(centre.x + style_.markHeight / 2.0),
                           Round(centre.y - i * step));
    }
}

Font MarkPainter::screenFont() const {
    return Font{style_.font, LabelPixelSize(style_.size, im_), style_.bold, style_.italic};
}

Canvas* MarkPainter::measurer() {
    if (target_.is(TargetKind::Pel)) return target_.canvas;
    if (target_.measure) return target_.measure;
    if (!scratch_) scratch_ = std::make_unique<Scratch>();
    return &scratch_->canvas;
}

// The exports put the numbers where the own picture draws them and as large:
// the drawing program's texts by their baselines, the word processor's boxes
// by their tops, the font's ascent above the baseline.  (Placed by the
// formulas of the programs' own text layout they landed a line lower and
// off to the side.)
void MarkPainter::exportText(const Font& f, const std::string& text, PointF at, TextFormat format) {
    const TextPlacement p = PlaceText(f, text, at, format);
    const double baseline = p.top + p.ascent;
    if (target_.is(TargetKind::Cdr) && target_.cdr) {
        CdrSink& s = *target_.cdr;
        s.CreateArtisticText(text, CdrX(im_, p.left), CdrY(im_, baseline));
        s.SetCharacterAttributes(0, 0, style_.font, CdrStyle(style_.bold, style_.italic), CdrTextSize(f, im_), 0, 0,
                                 0, 0, 0, 1000, 1000, 1);
        s.CdrSetFillColor(style_.colour);
        s.CdrRememberShape();
    } else if (target_.is(TargetKind::Wrd) && target_.wrd) {
        target_.wrd->OfficeTextBox(30, 30, text, p.left, WordBoxTop(f, baseline), "", "", style_.font, style_.font,
                                   style_.italic, style_.bold, style_.italic, style_.bold, WordTextSize(f, im_),
                                   style_.colourIndex, style_.colour);
    }
}

// Grid lines would cross the digits: the place of their ink, with less
// room around it than the number keeps from its tick, is cleared first.
void MarkPainter::clearBehind(Canvas& c, const Font& f, const std::string& text, PointF centre) {
    flushLines();
    if (!style_.clearBehindNumbers) return;
    const SizeF box = c.measureText(f, text);
    const RectF ink = c.measureInk(f, text);
    if (ink.w <= 0 || ink.h <= 0) return;
    const double room = NumberGap(f.pixelSize) - 1;
    const double left = std::floor(centre.x - box.w / 2 + ink.x - room);
    const double top = std::floor(centre.y - box.h / 2 + ink.y - room);
    const double right = std::ceil(centre.x - box.w / 2 + ink.x + ink.w + room);
    const double bottom = std::ceil(centre.y - box.h / 2 + ink.y + ink.h + room);
    c.fillRect(im_.Background, {left, top, right - left, bottom - top});
}

void MarkPainter::horizontalAxisNumber(const std::string& text, double ax, double ay) {
    flushLines();
    Canvas* m = measurer();
    if (!m) return;
    const Font f = screenFont();
    const double h = m->measureText(f, "0").h;
    PointF at{ax, ay + h / 2 - 0.1 * h};
    // The ink, whatever the font's proportions, starts a clear gap below
    // the tick's end.
    const RectF ink = m->measureInk(f, text);
    if (ink.h > 0) at.y += Clearance(ay, NumberGap(f.pixelSize), at.y - m->measureText(f, text).h / 2 + ink.y);
    if (!target_.is(TargetKind::Pel)) return exportText(f, text, at, Centred);
    clearBehind(*m, f, text, at);
    m->drawText(f, style_.screenColour, text, at, Centred);
}

void MarkPainter::verticalAxisNumber(const std::string& text, double ax, double ay) {
    flushLines();
    Canvas* m = measurer();
    if (!m) return;
    const Font f = screenFont();
    const double w = m->measureText(f, text).w;
    const RectF ink = m->measureInk(f, text);
    // The anchor is the ticks' right end: a number starting there would
    // fuse its minus with the tick, so its ink keeps a clear gap.
    const double left = ax - 0.01 * w + Clearance(ax, NumberGap(f.pixelSize), ax - 0.01 * w + ink.x);
    const PointF at{left + w / 2, ay};
    if (!target_.is(TargetKind::Pel)) return exportText(f, text, at, Centred);
    clearBehind(*m, f, text, at);
    m->drawText(f, style_.screenColour, text, at, Centred);
}

void MarkPainter::depthAxisNumber(const std::string& text, double ax, double ay, PointF tickEnd) {
    flushLines();
    const double size = style_.size;
    Canvas* m = measurer();
    if (!m) return;
    const Font f = screenFont();
    PointF at = PointsUnit(im_) ? PointF{ax - 1.1 * size, ay - 0.1 * size}
                                : PointF{ax - 0.7 * size, ay + 0.6 * size};
    // The number starts beyond the tick's end, as the y numbers do: its
    // ink keeps a clear gap right of it.
    const RectF ink = m->measureInk(f, text);
    if (ink.w > 0) at.x += Clearance(tickEnd.x, NumberGap(f.pixelSize), at.x + ink.x);
    if (!target_.is(TargetKind::Pel)) return exportText(f, text, at, TextFormat{});
    m->drawText(f, style_.screenColour, text, at, TextFormat{});
}

}  // namespace pelmar
