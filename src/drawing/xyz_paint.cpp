// The 3D coordinate system: the depth axis X drawn at 45 degrees, the
// horizontal axis Y and the vertical axis Z, their ticks and numbers, four
// surface slots and the centre point.
#include <array>
#include <cmath>

#include "drawing/coord_marks.h"
#include "drawing/coord_paint.h"
#include "drawing/graph_run.h"
#include "drawing/line_paint.h"
#include "drawing/point_paint.h"
#include "drawing/sub_curve.h"
#include "model/flip.h"
#include "model/geometry.h"

namespace pelmar {

namespace {

// Kind word of each surface slot.
constexpr std::array<const char*, 4> SlotKinds{"dec3d", "dec3d", "par3d", "Fxy3d"};
constexpr int SpaceCurveSlot = 3;

// The section set and the outline of a surface slot: slots 1 and 2 have the
// first two, the implicit surface (slot 4) the third; the space curve has none.
int SurfaceSet(int slot) {
    if (slot == 1 || slot == 2) return slot;
    if (slot == 4) return 3;
    return 0;
}

// The picture geometry of a flipped system.
struct Frame {
    double cx, cy;            // centre
    double dx1, dx2, dA;      // picture x of the depth axis' ends, its arrow
    double hx1, hx2, hA;      // picture x of the Y axis' ends, its arrow
    double vy1, vy2, vA;      // picture y of the Z axis' ends, its arrow
};

Frame FrameOf(const DXZ& r) {
    return {r.Center.ScrX.v,
            r.Center.ScrY.v,
            r.AxisX.P1.ScrX.v,
            r.AxisX.P2.ScrX.v,
            static_cast<double>(r.AxisX.Arrow2Len.v),
            r.AxisY.P1.ScrX.v,
            r.AxisY.P2.ScrX.v,
            static_cast<double>(r.AxisY.Arrow2Len.v),
            r.AxisZ.P1.ScrY.v,
            r.AxisZ.P2.ScrY.v,
            static_cast<double>(r.AxisZ.Arrow2Len.v)};
}

void DrawFrame(const DXZ& r, const DImProj& im, const PaintTarget& target) {
    for (const DLine* axis : {&r.AxisX, &r.AxisY, &r.AxisZ}) {
        DrawLineElement(*axis, 0, im, target);
        DrawLineElement(*axis, 1, im, target);
    }

    const Frame f = FrameOf(r);
    const MarkStyle style = MarkStyleOf(r, target.run ? target.run->DecimalSep : ',');
    MarkPainter marks(style, im, target);

    const PointF centre{f.cx, f.cy};

    // A step that rounds to no pixel leaves the axes without ticks and numbers.
    const double s = Round(r.Div.v * r.Scale.v);
    const bool steps = s != 0 && std::isfinite(s);
    // The depth axis: the picture offset per division in x and in y.
    const double d = r.Div.v * r.Scale.v / 2 / std::sqrt(2.0);
    const double h = Round(style.markHeight / std::sqrt(2.0) / 2);

    if (steps) {
        marks.horizontalTicks(centre, s, f.cx - f.hx1, f.hx2 - f.cx - f.hA);
        marks.verticalTicks(centre, s, f.vy1 - f.cy, f.cy - f.vy2 - f.vA);
    }
    // No depth tick at the centre: the other two axes have theirs there.
    // Only the depth ticks and numbers the picture shows (the axis runs at
    // 45 degrees: x and y both tell).
    auto shownDepth = [&](double step, int& hi, int& lo) {
        int first = lo, last = hi;
        marks.shownAlongX(f.cx, step, first, last);
        marks.shownAlongY(f.cy, -step, first, last);
        hi = last, lo = first;
    };
    int depthHi = StepsIn(f.dx1 - f.cx, d), depthLo = -StepsIn(f.cx - f.dx2 - f.dA, d);
    shownDepth(d, depthHi, depthLo);
    for (int i = depthHi, last = depthLo; i >= last; --i) {
        if (i == 0) continue;
        const double x = f.cx + i * d;
        const double y = f.cy - i * d;
        marks.line(style.markWidth, {x - h, y - h}, {x + h, y + h});
    }

    if (!r.NumbersOn.v) return;
    const int n = r.NumberStep.v;
    const double ns = s * n;
    const double size = style.size;
    if (steps && ns != 0) {
        marks.horizontalNumbers(centre, ns, n, r.Div.v, f.cx - f.hx1, f.hx2 - f.cx - f.hA);
        marks.verticalNumbers(centre, ns, n, r.Div.v, f.vy1 - f.cy, f.cy - f.vy2 - f.vA);
    }
    // Depth numbers carry the sign of the model X: positive towards the viewer.
    const double nd = d * n;
    int numberHi = StepsIn(f.dx1 - f.cx, nd), numberLo = -StepsIn(f.cx - f.dx2 - f.dA, nd);
    shownDepth(nd, numberHi, numberLo);
    for (int i = numberHi, last = numberLo; i >= last; --i) {
        if (i == 0) continue;
        marks.depthAxisNumber(MarkNumberText(-i * n * r.Div.v, style.decimalSep), Round(f.cx + i * nd + h + 0.4 * size),
                              Round(f.cy - i * nd + h - size), {f.cx + i * nd + h, f.cy - i * nd + h});
    }
}

SectionSet SectionsOf(const DXZ& r, int set) {
    SectionSet out;
    if (set < 1) return out;
    const auto& groups = r.Sections[static_cast<std::size_t>(set)];
    for (std::size_t g = 1; g <= 3; ++g)
        for (std::size_t k = 1; k <= 11; ++k) {
            const DSection& sec = groups[g][k];
            const std::size_t i = (g - 1) * 11 + (k - 1);
            out.On[i] = sec.On.v;
            out.Value[i] = sec.C.v;
            for (std::size_t b = 0; b < 4; ++b) out.Bounds[i][b] = sec.Bounds[b].v;
        }
    return out;
}

void DrawSurfaces(const DXZ& r, bool full, int index, const DImProj& im, char view, const PaintTarget& target,
                  int pass) {
    const Frame f = FrameOf(r);
    for (int slot = 1; slot <= 4; ++slot) {
        const auto k = static_cast<std::size_t>(slot);
        if (!r.SurfOn[k].v) continue;
        if (slot == SpaceCurveSlot && pass == 1) continue;

        SubCurveArgs a;
        a.ImProj = im;
        a.Kind = SlotKinds[k - 1];
        a.Formula1 = r.Surf[k].s;
        if (slot == SpaceCurveSlot) {
            a.Formula2 = r.Surf3More[1].s;
            a.Formula3 = r.Surf3More[2].s;
            // The dialog offers the clip to the axes for the space curve only.
            a.Clip = r.BoundToAxes.v;
        }
        a.ParStart = r.ParT1.v;
        a.ParEnd = r.ParT2.v;
        a.ParStep = r.ParH.v;
        a.Thickness = r.SurfThick[k].v;
        a.Colour = r.SurfColor[k].v;
        a.OriginX = RoundToInt(f.cx);
        a.OriginY = RoundToInt(f.cy);
        a.ScaleX = a.ScaleY = r.Scale.v;
        a.Extents = {RoundToInt(f.dx1 - f.cx), RoundToInt(f.cx - f.dx2 - f.dA), RoundToInt(f.cx - f.hx1),
                     RoundToInt(f.hx2 - f.cx - f.hA), RoundToInt(f.vy1 - f.cy), RoundToInt(f.cy - f.vy2 - f.vA)};
        const int set = SurfaceSet(slot);
        a.Sections = SectionsOf(r, set);
        if (set > 0) a.Outline = r.Outlines[static_cast<std::size_t>(set)];
        a.ObjectSlot = index + 10;
        a.SurfaceNumber = static_cast<std::uint8_t>(slot);
        DrawSystemGraph(a, r.Move[k], r.Style[k], full, view, target, pass);
    }
}

}  // namespace

void DrawXYZ(const DXZ& rec, bool full, int index, const DImProj& im, char view, const PaintTarget& target,
             int pass) {
    DXZ r = rec;
    FlipYXYZ(r, FlipToScreen, im.Height);
    const bool frame = !r.Disabled.v;
    if (frame && pass != 1) DrawFrame(r, im, target);
    DrawSurfaces(r, full, index, im, view, target, pass);
    if (frame && pass >= 2) DrawPointElement(r.Center, im, target);
}

}  // namespace pelmar
