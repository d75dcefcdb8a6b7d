#include "drawing/ellipse_paint.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "drawing/curve_output.h"
#include "drawing/drawing_work.h"
#include "drawing/fill_inputs.h"
#include "drawing/fill_shading.h"
#include "drawing/line_paint.h"
#include "drawing/point_paint.h"
#include "drawing/shade_rows.h"
#include "model/flip.h"
#include "model/geometry.h"
#include "platform/canvas.h"
#include "platform/canvas_geometry.h"
#include "platform/raster_surface.h"

namespace pelmar {

namespace {

constexpr std::uint8_t ViewSolid = 1;
constexpr std::uint8_t ViewDashed = 2;
constexpr std::uint8_t ViewMixed = 4;
constexpr double Deg = std::numbers::pi / 180.0;

// The corrected extents of an ellipse around its picture centre: L1 to the
// left, L2 to the right, B2 upwards and B1 downwards on the picture.
struct Extents {
    double cx, cy;
    double l1, l2, b2, b1;

    explicit Extents(const DCircle& c)
        : cx(c.Center.ScrX.v),
          cy(c.Center.ScrY.v),
          l1(c.A.v + c.CorA1),
          l2(c.A.v + c.CorA2),
          b2(c.B.v + c.CorB2),
          b1(c.B.v + c.CorB1) {}

    RectF box() const { return {cx - l1, cy - b2, l1 + l2, b2 + b1}; }
    // The box with its edges on whole pixels.
    RectF roundedBox() const {
        const double left = Round(cx - l1), top = Round(cy - b2);
        return {left, top, Round(cx + l2) - left, Round(cy + b1) - top};
    }
};

// An arc end that lies at or before its start goes round once more; equal
// ends are a full turn.
double ArcEnd(double from, double to) {
    if (to > from) return to;
    to += 360;
    if (to > from) return to;
    // Far behind the start: bring it into the turn after the start.
    const double r = std::fmod(to - from, 360.0);
    return from + (r <= 0 ? r + 360 : r);
}

// A range of angles as the arc splitter takes it: a start beyond a turn
// either way is brought within one by whole turns (the copies of a range a
// turn apart are then few, and counted in numbers that a step of one still
// moves), and the end lies no more than a turn after the start.
void TurnRange(double& from, double& to) {
    if (std::fabs(from) > 360) {
        const double span = to - from;
        from = std::fmod(from, 360.0);
        to = from + span;
    }
    to = std::min(ArcEnd(from, to), from + 360);
}

// The pen's dash pattern of a dashed outline, in pen widths; a hairline
// counts as one pixel wide.
std::vector<double> DashPattern(const DCircle& c) {
    const double w = c.Thick.v != 0 ? c.Thick.v : 1.0;
    return {c.Dash.v / w, c.Gap.v / w};
}

void PelOutline(const DCircle& c, const DImProj& im, Canvas& cv) {
    const Extents e(c);
    const RectF box = e.box();
    Pen pen;
    pen.width = c.Thick.v;
    pen.color = c.Selected ? c.SelColor : c.Color.v;
    pen.roundCaps = true;
    if (c.Tilt.v != 0) cv.setRotation(c.Tilt.v, {e.cx, e.cy});
    cv.setAntialias(im.Smooth);

    const std::uint8_t view = c.ViewType.v;
    if (view == ViewSolid || view == ViewDashed) {
        if (view == ViewDashed) pen.dashes = DashPattern(c);
        const double a1 = c.Arc1.v;
        const double a2 = c.Arc2.v;
        if (a2 == a1) {
            cv.drawEllipse(pen, box);
        } else {
            // From arc angle 2 back to arc angle 1; an arc across 0 degrees
            // has its end 2 a turn further on.
            const double end = ArcEnd(a1, a2);
            cv.drawArc(pen, box, end, a1 - end);
        }
    } else if (view == ViewMixed) {
        ArcPieces pieces;
        SplitArcByDash(pieces, c.Arc1.v, c.Arc2.v, c.DashArc1.v, c.DashArc2.v);
        for (std::size_t i = 2; i < 4; ++i)
            if (pieces[i].on) cv.drawArc(pen, box, pieces[i].from, pieces[i].to - pieces[i].from);
        pen.dashes = DashPattern(c);
        for (std::size_t i = 0; i < 2; ++i)
            if (pieces[i].on) cv.drawArc(pen, box, pieces[i].from, pieces[i].to - pieces[i].from);
    }
    if (c.Tilt.v != 0) cv.resetTransform();
}

// The outline of an ellipse that reaches far beyond the picture, for the
// shape exports: the parts of it the picture shows (with what the pen
// reaches), as the picture draws them, each turned by the tilt and given to
// out(points, dashed).  An office program walks the dashes of a shape along
// all of it, so the exports keep no more than the picture holds.  A dashed
// part starts a whole number of periods of the exports' dash styles along
// the arc (every style repeats after 2310 line widths), so that its dashes
// lie as on the whole arc.  False when the ellipse is not so large: the
// exports write it as an ellipse shape.
template <class Out>
bool FarOutline(const DCircle& c, const DImProj& im, Out&& out) {
    const Extents e(c);
    const RectF box = e.box();
    const double reach = StrokeReach(c.Thick.v);
    RectF view{-reach, -reach, im.Width + 2 * reach, im.Height + 2 * reach};
    const double tilt = c.Tilt.v;
    const PointF centre{e.cx, e.cy};
    if (tilt != 0) {
        const PointF corners[4] = {RotatePoint({view.x, view.y}, -tilt, centre),
                                   RotatePoint({view.x + view.w, view.y}, -tilt, centre),
                                   RotatePoint({view.x, view.y + view.h}, -tilt, centre),
                                   RotatePoint({view.x + view.w, view.y + view.h}, -tilt, centre)};
        view = BoundsOf(corners, 0);
    }
    if (!EllipseFarBeyond(box, view)) return false;
    constexpr double StylePeriods = 2310;
    const double period = StylePeriods * std::max(1, c.Thick.v);
    auto arc = [&](double start, double sweep, bool dashed) {
        for (auto& part : ShownArcParts(box, start, sweep, view, dashed ? period : 0)) {
            if (tilt != 0)
                for (PointF& p : part) p = RotatePoint(p, tilt, centre);
            out(part, dashed);
        }
    };
    const std::uint8_t type = c.ViewType.v;
    if (type == ViewSolid || type == ViewDashed) {
        const double a1 = c.Arc1.v;
        if (c.Arc2.v == a1) {
            arc(0, 360, type == ViewDashed);
        } else {
            const double end = ArcEnd(a1, c.Arc2.v);
            arc(end, a1 - end, type == ViewDashed);
        }
    } else if (type == ViewMixed) {
        ArcPieces pieces;
        SplitArcByDash(pieces, c.Arc1.v, c.Arc2.v, c.DashArc1.v, c.DashArc2.v);
        for (std::size_t i = 0; i < 4; ++i)
            if (pieces[i].on) arc(pieces[i].from, pieces[i].to - pieces[i].from, i < 2);
    }
    return true;
}

// One ellipse shape in the drawing program from `from` to `to` (angles of
// the flipped record).
void CdrArc(const DCircle& c, const DImProj& im, const PaintTarget& target, double from, double to, bool dashedOutline,
            bool outlineWidth) {
    CdrSink& s = *target.cdr;
    const Extents e(c);
    const double a = Round(e.l1);
    const double b = Round(e.b2);
    s.CreateEllipse(CdrY(im, e.cy - e.b2), CdrX(im, e.cx - e.l1), CdrY(im, e.cy + e.b1), CdrX(im, e.cx + e.l2),
                    CdrAngle(-EllipseArcAngle(from, a, b)), CdrAngle(-EllipseArcAngle(to, a, b)), 0);
    const int width = CdrUnits(im.Dpi, c.Thick.v);
    if (dashedOutline) s.ApplyOutline(width, 2, 0, 0, 50, 0, target.options.CdrDashNo, 0, 0, 0);
    if (outlineWidth) s.SetOutlineWidth(width);
    if (c.Tilt.v != 0) s.RotateObject(CdrAngle(c.Tilt.v), 0, CdrX(im, e.cx), CdrY(im, e.cy));
    s.CdrSetOutlineColor(c.Color.v);
    s.CdrRememberShape();
}

// The pieces of a mixed outline for the exports: split in the document's own
// angles, then turned back to the flipped record's.
ArcPieces ExportPieces(const DCircle& c) {
    ArcPieces pieces;
    SplitArcByDash(pieces, -c.Arc2.v, -c.Arc1.v, -c.DashArc2.v, -c.DashArc1.v);
    for (ArcPiece& p : pieces) {
        const double from = p.from;
        p.from = -p.to;
        p.to = -from;
    }
    return pieces;
}

// The arc of a solid or dashed outline for the exports, as the picture draws
// it: in the document's own angles its start brought within a turn, its end
// no more than a turn after (a longer arc is the whole ellipse); then turned
// back to the flipped record's, as the pieces of a mixed outline are.  A dash
// range of a whole turn keeps it one piece.
ArcPiece ExportArc(const DCircle& c) {
    ArcPieces whole;
    SplitArcByDash(whole, -c.Arc2.v, -c.Arc1.v, 0, 360);
    return {whole[0].on, -whole[0].to, -whole[0].from};
}

void CdrOutline(const DCircle& c, const DImProj& im, const PaintTarget& target) {
    CdrSink& s = *target.cdr;
    const int width = CdrUnits(im.Dpi, c.Thick.v);
    if (FarOutline(c, im, [&](const std::vector<PointF>& part, bool dashed) {
            s.BeginDrawCurve(CdrX(im, part.front().x), CdrY(im, part.front().y));
            for (std::size_t i = 1; i < part.size(); ++i) s.DrawCurveLineTo(CdrX(im, part[i].x), CdrY(im, part[i].y));
            s.EndDrawCurve();
            s.CdrSetOutlineColor(c.Color.v);
            s.SetOutlineWidth(width);
            if (dashed) s.ApplyOutline(width, 2, 0, 0, 50, 0, target.options.CdrDashNo, 0, 0, 0);
            s.CdrRememberShape();
        }))
        return;
    const std::uint8_t view = c.ViewType.v;
    if (view == ViewSolid || view == ViewDashed) {
        const ArcPiece whole = ExportArc(c);
        if (whole.on) CdrArc(c, im, target, whole.from, whole.to, view == ViewDashed, true);
    } else if (view == ViewMixed) {
        const ArcPieces pieces = ExportPieces(c);
        for (std::size_t i = 0; i < 4; ++i) {
            if (!pieces[i].on) continue;
            const bool dashed = i < 2;
            CdrArc(c, im, target, pieces[i].from, pieces[i].to, dashed, !dashed);
        }
    }
}

void WordOutline(const DCircle& c, const DImProj& im, const PaintTarget& target) {
    WordSink& w = *target.wrd;
    if (FarOutline(c, im, [&](const std::vector<PointF>& part, bool dashed) {
            std::vector<CurvePoint> pts;
            pts.reserve(part.size());
            for (const PointF& p : part) pts.push_back(MakeCurvePoint(p.x, p.y, true));
            w.OfficeFreeform(MakeCurve1(std::move(pts)), c.Color.v, dashed, target.options.WordDashNo, c.Thick.v);
        }))
        return;
    const Extents e(c);
    auto arc = [&](bool dashed, double from, double to) {
        w.OfficeArc(c.Color.v, dashed, target.options.WordDashNo, e.cx, e.cy, e.l1, e.l2, e.b2, e.b1, c.Thick.v,
                    c.Tilt.v, from, to);
    };
    const std::uint8_t view = c.ViewType.v;
    if (view == ViewSolid || view == ViewDashed) {
        const ArcPiece whole = ExportArc(c);
        if (whole.on) arc(view == ViewDashed, whole.from, whole.to);
    } else if (view == ViewMixed) {
        const ArcPieces pieces = ExportPieces(c);
        for (std::size_t i = 0; i < 4; ++i)
            if (pieces[i].on) arc(i < 2, pieces[i].from, pieces[i].to);
    }
}

// The point of an ellipse at `angle`, turned by the tilt about the centre.
PointF TiltedPoint(int cx, int cy, const Extents& e, double angle, double tilt) {
    int x = 0, y = 0;
    EllipsePointAtAngle(cx, cy, RoundToInt(e.l1), RoundToInt(e.l2), RoundToInt(e.b2), RoundToInt(e.b1), angle, x, y);
    DPoint p;
    p.ScrX.v = x;
    p.ScrY.v = y;
    if (tilt != 0) PlaneRotatePoint(p, cx, cy, tilt);
    return {p.ScrX.v, p.ScrY.v};
}

// Whether a pixel lies in the sector of an arc, from the two lines that run
// from the centre to the arc's ends.
class SectorTest {
public:
    SectorTest(const DCircle& c, const Extents& e, double from, double to) {
        const int cx = RoundToInt(e.cx), cy = RoundToInt(e.cy);
        centre_ = {static_cast<double>(cx), static_cast<double>(cy)};
        p1_ = TiltedPoint(cx, cy, e, from, c.Tilt.v);
        p2_ = TiltedPoint(cx, cy, e, to, c.Tilt.v);
        refA_ = side(p2_, p1_);
        refB_ = side(p1_, p2_);
        narrow_ = to - from <= 180;
        const double dot = (p1_.x - centre_.x) * (p2_.x - centre_.x) + (p1_.y - centre_.y) * (p2_.y - centre_.y);
        if ((refA_ == 0 || refB_ == 0) && dot < 0) {
            // The arc's ends lie on opposite sides of the centre in one line
            // (a half ellipse): the side of that line that holds the arc's middle.
            halfPlane_ = true;
            refA_ = side(TiltedPoint(cx, cy, e, (from + to) / 2, c.Tilt.v), p1_);
        }
    }

    bool inside(int x, int y) const {
        const PointF q{static_cast<double>(x), static_cast<double>(y)};
        const double a = side(q, p1_) * refA_;
        if (halfPlane_) return a >= 0;
        const double b = side(q, p2_) * refB_;
        if (narrow_) return a >= 0 && b >= 0;
        return a < 0 || b < 0;
    }

private:
    // The side of q against the line from the centre to `end`.
    double side(PointF q, PointF end) const { return SideOfLineXY(q.x, q.y, centre_.x, centre_.y, end.x, end.y); }

    PointF centre_, p1_, p2_;
    double refA_ = 0, refB_ = 0;
    bool narrow_ = true;
    bool halfPlane_ = false;
};

void FillPixelByPixel(const DCircle& c, const Extents& e, const FillShading& light, RasterSurface& surface,
                      bool sector, double from, double to) {
    const double tilt = c.Tilt.v;
    double left, top, right, bottom;
    if (tilt == 0) {
        left = Round(e.cx - e.l1);
        top = Round(e.cy - e.b2);
        right = Round(e.cx + e.l2);
        bottom = Round(e.cy + e.b1);
    } else {
        const double half = 1.2 * std::max({e.l1, e.l2, e.b1, e.b2});
        const double cx = Round(e.cx), cy = Round(e.cy);
        left = Round(cx - half);
        top = Round(cy - half);
        right = Round(cx + half);
        bottom = Round(cy + half);
    }
    int x0, y0, x1, y1;
    if (!ClipPixelBox(left, top, right, bottom, surface.width(), surface.height(), x0, y0, x1, y1)) return;

    const double cosT = std::cos(-tilt * Deg);
    const double sinT = std::sin(-tilt * Deg);
    const bool whole = !sector || to - from >= 360;
    const SectorTest test(c, e, from, whole ? from + 360 : to);
    ShadePixels(surface, x0, y0, x1, y1, [&](int x, int y, TColor& colour) {
        if (!whole && !test.inside(x, y)) return false;
        if (!PtInEllipse(x, y, e.cx, e.cy, c.A.v, c.B.v, cosT, sinT)) return false;
        colour = light.at(x, y);
        return true;
    });
}

}  // namespace

void DrawCircle(const DCircle& rec, const DImProj& im, const PaintTarget& target, int pass) {
    if (pass == 1) {
        if (target.is(TargetKind::Pel) && rec.Fill.On && target.raster)
            FillEllipseOnCanvas(FillOnly(rec), im, *target.raster);
        return;
    }
    if (pass != 2) return;
    DCircle copy = rec;
    FlipYCircle(copy, FlipToScreen, im.Height);
    DrawEllipse(copy, 0, im, target);
    DrawEllipse(copy, 1, im, target);
}

void DrawEllipse(const DCircle& c, int part, const DImProj& im, const PaintTarget& target) {
    if (c.A.v == 0 || c.B.v == 0) return;

    if (part == 0 && c.ViewType.v != 3) {
        if (target.is(TargetKind::Pel)) {
            if (target.canvas) PelOutline(c, im, *target.canvas);
        } else if (target.is(TargetKind::Cdr)) {
            if (target.cdr) CdrOutline(c, im, target);
        } else if (target.is(TargetKind::Wrd)) {
            if (target.wrd) WordOutline(c, im, target);
        }
    }
    if (part == 1) DrawPointElement(c.Center, im, target);
    for (std::size_t i = 1; i <= 3; ++i)
        if (c.ShowR[i].v) DrawLineElement(c.R[i], part, im, target);
}

void FillEllipseOnCanvas(const DCircle& rec, const DImProj& im, RasterSurface& surface) {
    const FillShading light(rec.Fill, im, rec.PA, rec.PB, rec.PC, rec.PD);
    DCircle c = rec;
    FlipYCircle(c, FlipToScreen, im.Height);
    const Extents e(c);

    // Equal arc angles fill the whole ellipse; otherwise the sector from arc
    // angle 1 to arc angle 2, which may cross 0 degrees.
    const double from = c.Arc1.v;
    const bool sector = c.Arc2.v != from;
    const double to = sector ? ArcEnd(from, c.Arc2.v) : from;

    if (light.pointLight()) {
        FillPixelByPixel(c, e, light, surface, sector, from, to);
        return;
    }
    // Upright the box lies on whole pixels; a tilted one is turned about the centre.
    Rotation rotation;
    RectF box = e.roundedBox();
    if (c.Tilt.v != 0) {
        rotation = {c.Tilt.v, {e.cx, e.cy}};
        box = e.box();
    }
    if (!sector)
        surface.fillEllipse(box, light.flat(), rotation);
    else
        surface.fillPie(box, to, from - to, light.flat(), rotation);
}

void EllipsePointAtAngle(int cx, int cy, int l1, int l2, int b2, int b1, double angle, int& x, int& y) {
    const double a = (static_cast<double>(l1) + l2) / 2;
    const double b = (static_cast<double>(b1) + b2) / 2;
    const double t = angle * Deg;
    double w = 0;
    // Straight up or down (or a flat ellipse) the radius is the vertical semi-axis.
    const bool vertical = std::fmod(std::fabs(angle), 180.0) == 90.0;
    if (!vertical && b2 != 0 && b != 0) {
        const double tn = std::tan(t);
        w = 1 / (1 + a * a * tn * tn / (b * b));
    }
    const double r = std::sqrt(std::fabs(a * a * w + b * b * (1 - w)));
    const double dx = (static_cast<double>(l2) - l1) / 2;
    const double dy = (static_cast<double>(b1) - b2) / 2;
    x = RoundToInt(cx + dx + r * std::cos(t));
    y = RoundToInt(cy + dy + r * std::sin(t));
}

void SplitArcByDash(ArcPieces& pieces, double arcFrom, double arcTo, double dashFrom, double dashTo) {
    pieces = {};
    if (!std::isfinite(arcFrom) || !std::isfinite(arcTo) || !std::isfinite(dashFrom) || !std::isfinite(dashTo)) return;
    // A negated 0 (from a flipped record) counts as 0.
    arcFrom += 0.0;
    arcTo += 0.0;
    dashFrom += 0.0;
    dashTo += 0.0;
    TurnRange(arcFrom, arcTo);
    TurnRange(dashFrom, dashTo);

    struct Range {
        double lo, hi;
    };
    std::vector<Range> dashed;
    if (dashTo - dashFrom >= 360) {
        dashed.push_back({arcFrom, arcTo});
    } else {
        // The copies of the dash range a whole number of turns apart that
        // can meet the arc, in increasing order.
        const double first = std::floor((arcFrom - dashTo) / 360);
        const double last = std::ceil((arcTo - dashFrom) / 360);
        for (double k = first; k <= last; ++k) {
            ++WorkDone().arcCopies;
            const double lo = std::max(arcFrom, dashFrom + 360 * k);
            const double hi = std::min(arcTo, dashTo + 360 * k);
            if (lo >= hi) continue;
            if (!dashed.empty() && lo <= dashed.back().hi)
                dashed.back().hi = std::max(dashed.back().hi, hi);
            else
                dashed.push_back({lo, hi});
        }
    }
    std::vector<Range> solid;
    double at = arcFrom;
    for (const Range& d : dashed) {
        if (d.lo > at) solid.push_back({at, d.lo});
        at = std::max(at, d.hi);
    }
    if (at < arcTo) solid.push_back({at, arcTo});

    for (std::size_t i = 0; i < dashed.size() && i < 2; ++i) pieces[i] = {true, dashed[i].lo, dashed[i].hi};
    for (std::size_t i = 0; i < solid.size() && i < 2; ++i) pieces[2 + i] = {true, solid[i].lo, solid[i].hi};
}

double EllipseArcAngle(double angle, double a, double b) {
    // The four exact right angles of the first turns either way.
    if (angle == -450 || angle == -90) return -90;
    if (angle == -270 || angle == 90 || angle == 450) return 90;
    if (angle == 270) return 270;

    const double y = std::tan(angle * Deg) * a;
    double psi;
    if (b != 0)
        psi = std::atan(y / b) / Deg;
    else
        psi = y > 0 ? 90 : (y < 0 ? -90 : 0);
    // The half-turn that holds the angle: (-90, 90) adds 0, (90, 270) 180, ...
    return psi + 180 * std::rint(angle / 180);
}

}  // namespace pelmar
