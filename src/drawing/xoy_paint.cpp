// The 2D coordinate system: two axes through the centre, division ticks, an
// optional grid and numbering, six graph slots and the centre point.
#include <algorithm>
#include <array>
#include <cmath>

#include "drawing/coord_marks.h"
#include "drawing/coord_paint.h"
#include "drawing/graph_run.h"
#include "drawing/line_paint.h"
#include "drawing/point_paint.h"
#include "drawing/sub_curve.h"
#include "model/coord_limit.h"
#include "model/flip.h"
#include "model/geometry.h"

namespace pelmar {

namespace {

// Kind word of each graph slot.
constexpr std::array<const char*, 6> SlotKinds{"dec", "dec", "pol", "pol", "par", "Fxy"};
constexpr int ImplicitSlot = 6;

// The picture geometry of a flipped system.
struct Frame {
    double cx, cy;    // centre
    double x1, x2;    // picture x of the X axis' ends
    double y1, y2;    // picture y of the Y axis' ends
    double ax, ay;    // arrow-2 lengths of the X and Y axes
};

Frame FrameOf(const DXOY& r) {
    return {r.Center.ScrX.v, r.Center.ScrY.v, r.AxisX.P1.ScrX.v, r.AxisX.P2.ScrX.v,
            r.AxisY.P1.ScrY.v, r.AxisY.P2.ScrY.v, static_cast<double>(r.AxisX.Arrow2Len.v),
            static_cast<double>(r.AxisY.Arrow2Len.v)};
}

void DrawFrame(const DXOY& r, const DImProj& im, const PaintTarget& target) {
    DrawLineElement(r.AxisX, 0, im, target);
    DrawLineElement(r.AxisX, 1, im, target);
    DrawLineElement(r.AxisY, 0, im, target);
    DrawLineElement(r.AxisY, 1, im, target);

    const Frame f = FrameOf(r);
    MarkStyle style = MarkStyleOf(r, target.run ? target.run->DecimalSep : ',');
    style.clearBehindNumbers = r.GridOn.v;
    MarkPainter marks(style, im, target);

    const PointF centre{f.cx, f.cy};

    // A step that rounds to no pixel leaves its axis without ticks, grid and numbers.
    const double sx = Round(r.DivX.v * r.ScaleX.v);
    const double sy = Round(r.DivY.v * r.ScaleY.v);
    const bool xSteps = sx != 0 && std::isfinite(sx);
    const bool ySteps = sy != 0 && std::isfinite(sy);

    if (xSteps) marks.horizontalTicks(centre, sx, f.cx - f.x1, f.x2 - f.cx - f.ax);
    if (ySteps) marks.verticalTicks(centre, sy, f.y1 - f.cy, f.cy - f.y2 - f.ay);

    if (r.GridOn.v) {
        const double gw = r.GridThick.v;
        const double gx = sx * r.GridStep.v;
        const double gy = sy * r.GridStep.v;
        // Only the grid lines the picture shows.
        if (xSteps && gx != 0) {
            int first = -StepsIn(f.cx - f.x1, gx), last = StepsIn(f.x2 - f.cx, gx);
            marks.shownAlongX(f.cx, gx, first, last);
            for (int i = first; i <= last; ++i) {
                const double x = f.cx + i * gx;
                marks.line(gw, {x, f.y2}, {x, f.y1});
            }
        }
        if (ySteps && gy != 0) {
            int first = -StepsIn(f.cy - f.y2, gy), last = StepsIn(f.y1 - f.cy, gy);
            marks.shownAlongY(f.cy, gy, first, last);
            for (int i = first; i <= last; ++i) {
                const double y = f.cy + i * gy;
                marks.line(gw, {f.x1, y}, {f.x2, y});
            }
        }
    }

    if (r.NumbersOn.v) {
        const int n = r.NumberStep.v;
        const double nx = sx * n;
        const double ny = sy * n;
        if (xSteps && nx != 0) marks.horizontalNumbers(centre, nx, n, r.DivX.v, f.cx - f.x1, f.x2 - f.cx - f.ax);
        if (ySteps && ny != 0) marks.verticalNumbers(centre, ny, n, r.DivY.v, f.y1 - f.cy, f.cy - f.y2 - f.ay);
    }
}

// The room beside the origin (pixels left, right, below, above) in which a
// graph is sampled so that the picture, with kMarkReach around it, shows
// all of it that it can: the picture taken back through the graph's move
// and turn.  However large the scale, the room is bounded by the picture.
struct Room {
    int left, right, bottom, top;
};

Room ShownRoom(const Frame& f, double sx, double sy, const DGraphMove& move, const DImProj& im) {
    constexpr int kAll = 2000000000;
    if (!(sx > 0 && sy > 0)) return {kAll, kAll, kAll, kAll};
    const double reach = kMarkReach;
    const double xs[2] = {-reach, im.Width + reach}, ys[2] = {-reach, im.Height + reach};
    double lo[2] = {HUGE_VAL, HUGE_VAL}, hi[2] = {-HUGE_VAL, -HUGE_VAL};
    for (double px : xs)
        for (double py : ys) {
            double x = (px - f.cx) / sx, y = (f.cy - py) / sy, z = 0;
            if (move.Moved.v) MoveByVector(x, y, z, -move.DX.v, -move.DY.v, 0);
            if (move.Rotated.v) RotateAroundAxis(x, y, z, move.CX.v, move.CY.v, 0, -move.Angle.v, 0, 0, 1);
            lo[0] = std::min(lo[0], x), hi[0] = std::max(hi[0], x);
            lo[1] = std::min(lo[1], y), hi[1] = std::max(hi[1], y);
        }
    // Not a number leaves no room (the graph is not drawn anyway).
    const auto px = [](double v) { return std::isnan(v) ? -1 : SaturatedRound<int>(v); };
    return {px(-lo[0] * sx), px(hi[0] * sx), px(-lo[1] * sy), px(hi[1] * sy)};
}

void DrawGraphs(const DXOY& r, bool full, int index, const DImProj& im, char view, const PaintTarget& target,
                int pass) {
    const Frame f = FrameOf(r);
    for (int slot = 1; slot <= 6; ++slot) {
        if (!r.GraphOn[slot].v) continue;
        if (slot != ImplicitSlot && pass == 1) continue;

        SubCurveArgs a;
        a.ImProj = im;
        a.Kind = SlotKinds[static_cast<std::size_t>(slot - 1)];
        a.Formula1 = r.Graph[slot].s;
        if (slot >= 5) a.Formula2 = r.Graph2.s;
        a.ParStart = r.ParA.v;
        a.ParEnd = r.ParB.v;
        a.ParStep = r.ParH.v;
        a.Thickness = r.GraphThick[slot].v;
        a.Colour = r.GraphColor[slot].v;
        a.OriginX = RoundToInt(f.cx);
        a.OriginY = RoundToInt(f.cy);
        a.ScaleX = r.ScaleX.v;
        a.ScaleY = r.ScaleY.v;
        if (slot == 1 || slot == 2 || slot == ImplicitSlot) {
            const auto& b = r.Bounds[slot == ImplicitSlot ? 3 : static_cast<std::size_t>(slot)];
            a.Extents = {RoundToInt(-b[0].v * r.ScaleX.v), RoundToInt(b[1].v * r.ScaleX.v),
                         RoundToInt(-b[2].v * r.ScaleY.v), RoundToInt(b[3].v * r.ScaleY.v), 0, 0};
        } else {
            // Polar and parametric graphs reach up to the axes.
            a.Extents = {RoundToInt(f.cx - f.x1), RoundToInt(f.x2 - f.cx - f.ax), RoundToInt(f.y1 - f.cy),
                         RoundToInt(f.cy - f.y2 - f.ay), 0, 0};
            a.Clip = r.WithinAxes[static_cast<std::size_t>(slot - 2)].v;
        }
        // A graph in the system's plane is sampled only across the picture
        // (with room around it): a scale far too large for the picture
        // would otherwise walk and draw millions of columns beyond it.  A
        // turned graph's room may still span far more columns than the
        // picture; the walk itself then keeps to the stretches near it.
        const auto k = static_cast<std::size_t>(slot);
        if (slot == 1 || slot == 2 || slot == ImplicitSlot) {
            const Room room = ShownRoom(f, r.ScaleX.v, r.ScaleY.v, r.Move[k], im);
            a.Extents[0] = std::min(a.Extents[0], room.left);
            a.Extents[1] = std::min(a.Extents[1], room.right);
            // The implicit graph scans rows as well; a function's graph keeps
            // its bounds above and below, where it is cut as it leaves them.
            if (slot == ImplicitSlot) {
                a.Extents[2] = std::min(a.Extents[2], room.bottom);
                a.Extents[3] = std::min(a.Extents[3], room.top);
            }
        }
        if (slot == 3 || slot == 4) {
            const auto& p = r.Polar[static_cast<std::size_t>(slot - 2)];
            a.AngleStart = p[0].v;
            a.AngleEnd = p[1].v;
            a.AngleStep = p[2].v;
        }
        a.ObjectSlot = slot == ImplicitSlot ? index : 0;
        a.SurfaceNumber = 0;
        DrawSystemGraph(a, r.Move[k], r.Style[k], slot == ImplicitSlot ? full : true, view, target, pass);
    }
}

}  // namespace

void DrawXOY(const DXOY& rec, bool full, int index, const DImProj& im, char view, const PaintTarget& target,
             int pass) {
    DXOY r = rec;
    FlipYXOY(r, FlipToScreen, im.Height);
    const bool frame = !r.Disabled.v;
    if (frame && pass != 1) DrawFrame(r, im, target);
    DrawGraphs(r, full, index, im, view, target, pass);
    if (frame && pass >= 2) DrawPointElement(r.Center, im, target);
}

}  // namespace pelmar
