#include "drawing/curve_output.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <memory>
#include <utility>

#include "platform/canvas.h"
#include "platform/canvas_geometry.h"

namespace pelmar {

namespace {

std::vector<CurvePoint> PointsOf(const DCurve1& poly) {
    const auto& pts = poly.points();
    const std::size_t n = std::min(pts.size(), static_cast<std::size_t>(std::max(poly.Count, 0)));
    return std::vector<CurvePoint>(pts.begin(), pts.begin() + static_cast<std::ptrdiff_t>(n));
}

// Keeps a point only when `differs` says it is far enough from the last kept
// one: the deletion of a point while the index stays, done in one pass.
template <class Differs>
void ThinOut(std::vector<CurvePoint>& pts, Differs&& differs) {
    if (pts.size() < 2) return;
    std::size_t kept = 0;
    for (std::size_t i = 1; i < pts.size(); ++i)
        if (differs(pts[kept], pts[i])) pts[++kept] = pts[i];
    pts.resize(kept + 1);
}

bool SamePixel(const CurvePoint& a, const CurvePoint& b) {
    return std::rint(a.x) == std::rint(b.x) && std::rint(a.y) == std::rint(b.y);
}

Pen PelPen(int width, TColor colour, bool dashed, int dash, int gap) {
    Pen pen;
    pen.width = width;
    pen.color = colour;
    pen.roundCaps = true;
    if (dashed) {
        if (width != 0)
            pen.dashes = {static_cast<double>(dash) / width, static_cast<double>(gap) / width};
        else
            pen.dashes = {static_cast<double>(dash), static_cast<double>(gap)};
    }
    return pen;
}

// The points the own picture strokes of a polyline already thinned to
// whole pixels: steps below one pixel are dropped too.
std::vector<PointF> PelPoints(std::vector<CurvePoint> pts) {
    ThinOut(pts, [](const CurvePoint& a, const CurvePoint& b) { return PictureDistance(a, b) >= 1.0; });
    std::vector<PointF> line;
    line.reserve(pts.size());
    for (const CurvePoint& p : pts) line.push_back({static_cast<float>(p.x), static_cast<float>(p.y)});
    return line;
}

// How far beyond the picture a graph's stroke is kept: well beyond what a
// stroke of any width reaches, so that the picture shows the same pixels.
constexpr double kGraphReach = 1000;

// The parts of a polyline the picture shows (with kGraphReach around it);
// the polyline itself when it lies within.  A graph drawn at a scale far
// too large for the picture reaches millions of pixels beyond it, and the
// stroke of all of that would cost in proportion; cut, it costs what the
// picture holds.  A dashed line's parts keep their dashes where they were.
std::vector<std::vector<PointF>> ShownParts(std::vector<PointF> line, const DImProj& im, bool dashed, int dash,
                                            int gap) {
    std::vector<std::vector<PointF>> parts;
    const RectF view{-kGraphReach, -kGraphReach, im.Width + 2 * kGraphReach, im.Height + 2 * kGraphReach};
    if (line.size() < 2) return parts;
    if (PathWithin(line, view) || !(view.w >= 0 && view.h >= 0)) {
        parts.push_back(std::move(line));
        return parts;
    }
    const double period = dashed ? std::max(0, dash) + std::max(0, gap) : 0.0;
    for (auto& part : ClipPath(line, false, view, period))
        if (part.size() >= 2) parts.push_back(std::move(part));
    return parts;
}

void OutputPel(const std::vector<PointF>& line, int width, TColor colour, bool dashed, const DImProj& im,
               int dash, int gap, Canvas& canvas) {
    if (line.size() < 2) return;  // a stroke needs two points
    canvas.setAntialias(im.Smooth);
    for (const auto& part : ShownParts(line, im, dashed, dash, gap))
        canvas.drawPolyline(PelPen(width, colour, dashed, dash, gap), part);
}

// Calls out(line, dashed) for every polyline a set is stroked in by the
// style: solid; dashed; visible runs solid and hidden runs dashed; or the
// visible runs alone.
template <class Out>
void ForEachStroke(const DCurve2& set, const GraphLineStyle& style, Out&& out) {
    const std::uint8_t type = style.LineType, mode = style.VisibilityMode;
    if (type == 1 && (mode == 1 || set.Plane == PlaneAsIs)) {
        for (const DCurve1& line : set.lines()) out(line, false);
    } else if (type == 2 && mode <= 2) {
        // The marks are cleared; they do not matter to a dashed line.
        for (const DCurve1& line : set.lines()) out(line, true);
    } else if (type == 1 && (mode == 2 || mode == 3)) {
        for (const DCurve1& line : set.lines()) {
            DCurve2 runs;
            SplitByVisibility(line, runs, mode == 3);
            for (const DCurve1& run : runs.lines()) {
                const bool hidden = !run.points().empty() && !CurveMark(run.points().front());
                out(run, hidden);
            }
        }
    }
}

// The strokes of a set of curves on the own picture, kept with the samples
// they were drawn from: while the samples live and nothing else the strokes
// depend on changes (line width and style, shift and rotation, scales and
// origin), the next drawing of the set lays down what the canvas kept.
// The colour is not part of it.
struct StrokeKey {
    int width = 0;
    GraphLineStyle style;
    GraphTransform t;
    int zoom = 0;
    double yScale = 0, xScale = 0;
    int cy = 0, cx = 0;
    std::uint8_t plane = 0;
    double position = 0;
    std::int32_t count = 0;

    bool operator==(const StrokeKey& o) const {
        const auto sameT = [](const GraphTransform& a, const GraphTransform& b) {
            return a.Moved == b.Moved && a.DX == b.DX && a.DY == b.DY && a.DZ == b.DZ && a.Rotated == b.Rotated &&
                   a.Angle == b.Angle && a.CX == b.CX && a.CY == b.CY && a.CZ == b.CZ && a.NX == b.NX &&
                   a.NY == b.NY && a.NZ == b.NZ;
        };
        return width == o.width && style.LineType == o.style.LineType &&
               style.VisibilityMode == o.style.VisibilityMode && style.Dash == o.style.Dash &&
               style.Gap == o.style.Gap && sameT(t, o.t) && zoom == o.zoom && yScale == o.yScale &&
               xScale == o.xScale && cy == o.cy && cx == o.cx && plane == o.plane && position == o.position &&
               count == o.count;
    }
};

struct KeptStroke {
    Pen pen;
    std::vector<PointF> points;
    KeptDrawingPtr kept;
};

struct KeptCurveSet {
    std::weak_ptr<const std::vector<DCurve1>> samples;
    const void* id = nullptr;
    StrokeKey key;
    bool built = false;
    std::vector<KeptStroke> strokes;
};

// Most recent first; a set whose samples are gone is dropped.
constexpr std::size_t kKeptSets = 64;

std::vector<KeptCurveSet>& KeptSets() {
    thread_local std::vector<KeptCurveSet> sets;
    return sets;
}

// The kept strokes of `curves` under `key`; empty strokes when new.
KeptCurveSet& KeptSetFor(const DCurve2& curves, const StrokeKey& key) {
    auto& sets = KeptSets();
    std::erase_if(sets, [](const KeptCurveSet& k) { return k.samples.expired(); });
    const auto it = std::find_if(sets.begin(), sets.end(), [&](const KeptCurveSet& k) {
        return k.id == curves.Lines.get() && k.key == key;
    });
    if (it != sets.end()) {
        std::rotate(sets.begin(), it, it + 1);
        return sets.front();
    }
    if (sets.size() >= kKeptSets) sets.pop_back();
    KeptCurveSet fresh;
    fresh.samples = curves.Lines;
    fresh.id = curves.Lines.get();
    fresh.key = key;
    sets.insert(sets.begin(), std::move(fresh));
    return sets.front();
}

void OutputCdr(std::vector<CurvePoint> pts, int width, TColor colour, bool dashed, int cdrDashStyle,
               const DImProj& im, CdrSink& s) {
    if (pts.empty()) return;
    // Bezier control points come in threes after the first point.
    if (pts.size() % 3 == 2) {
        pts.push_back(pts.back());
        pts.push_back(pts.back());
    } else if (pts.size() % 3 == 0) {
        pts.push_back(pts.back());
    }
    s.BeginDrawCurve(CdrX(im, pts[0].x), CdrY(im, pts[0].y));
    for (std::size_t i = 1; i + 2 <= pts.size() - 1; i += 3)
        s.DrawCurveCurveTo(CdrX(im, pts[i].x), CdrY(im, pts[i].y), CdrX(im, pts[i + 1].x), CdrY(im, pts[i + 1].y),
                           CdrX(im, pts[i + 2].x), CdrY(im, pts[i + 2].y));
    s.EndDrawCurve();
    s.CdrSetOutlineColor(colour);
    const int w = CdrUnits(im.Dpi, width);
    s.SetOutlineWidth(w);
    if (dashed) s.ApplyOutline(w, 2, 0, 0, 50, 0, cdrDashStyle, 0, 0, 0);
    s.CdrRememberShape();
}

void OutputWrd(std::vector<CurvePoint> pts, int width, TColor colour, bool dashed, const DImProj& im,
               const PaintTarget& target) {
    // Steps below 0.1 typographic point are dropped (no resolution: none).
    if (im.Dpi > 0) {
        const double toPoints = 72.0 / im.Dpi;
        ThinOut(pts, [&](const CurvePoint& a, const CurvePoint& b) { return PictureDistance(a, b) * toPoints >= 0.1; });
    }
    if (pts.empty()) return;
    // The word processor walks a freeform's dashes along all of it: a graph
    // reaching far beyond the picture goes as the parts the picture shows,
    // a dashed part starting a whole number of the dash styles' periods
    // (2310 line widths) from the first point, so that its dashes lie as on
    // the whole line.
    const double reach = StrokeReach(width);
    const RectF view{-reach, -reach, im.Width + 2 * reach, im.Height + 2 * reach};
    std::vector<PointF> line;
    line.reserve(pts.size());
    for (const CurvePoint& p : pts) line.push_back({p.x, p.y});
    if (pts.size() < 2 || PathWithin(line, view) || !(view.w >= 0 && view.h >= 0)) {
        target.wrd->OfficeFreeform(MakeCurve1(std::move(pts)), colour, dashed, target.options.WordDashNo, width);
        return;
    }
    constexpr double StylePeriods = 2310;
    const double period = dashed ? StylePeriods * std::max(1, width) : 0.0;
    for (const auto& part : ClipPath(line, false, view, period)) {
        std::vector<CurvePoint> shown;
        shown.reserve(part.size());
        for (const PointF& p : part) shown.push_back(MakeCurvePoint(p.x, p.y, true));
        target.wrd->OfficeFreeform(MakeCurve1(std::move(shown)), colour, dashed, target.options.WordDashNo, width);
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Curve points and polylines

bool CurveMark(const CurvePoint& p) { return (std::bit_cast<std::uint64_t>(p.z) & 0xFF) != 0; }

void SetCurveMark(CurvePoint& p, bool visible) { p.z = std::bit_cast<double>(std::uint64_t{visible ? 1u : 0u}); }

CurvePoint MakeCurvePoint(double x, double y, bool visible) {
    CurvePoint p{x, y, 0};
    SetCurveMark(p, visible);
    return p;
}

DCurve1 MakeCurve1(std::vector<CurvePoint> points) {
    DCurve1 c;
    c.Count = static_cast<std::int32_t>(points.size());
    c.Points = std::make_shared<const std::vector<CurvePoint>>(std::move(points));
    return c;
}

DCurve2 MakeCurve2(std::vector<DCurve1> lines, std::uint8_t plane, double position) {
    DCurve2 c;
    c.Count = static_cast<std::int32_t>(lines.size());
    c.Lines = std::make_shared<const std::vector<DCurve1>>(std::move(lines));
    c.Plane = plane;
    c.Position = position;
    return c;
}

void DeleteCurvePoint(DCurve1& poly, int i) {
    std::vector<CurvePoint> pts = PointsOf(poly);
    if (i < 0 || static_cast<std::size_t>(i) >= pts.size()) return;
    pts.erase(pts.begin() + i);
    poly = MakeCurve1(std::move(pts));
}

void InsertCurvePoint(DCurve1& poly, const CurvePoint& p, int i) {
    std::vector<CurvePoint> pts = PointsOf(poly);
    if (i < 0 || static_cast<std::size_t>(i) > pts.size()) return;
    pts.insert(pts.begin() + i, p);
    poly = MakeCurve1(std::move(pts));
}

double PictureDistance(const CurvePoint& p, const CurvePoint& q) {
    return std::sqrt((q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y));
}

void SplitByVisibility(const DCurve1& poly, DCurve2& runs, bool visibleOnly) {
    const std::vector<CurvePoint> pts = PointsOf(poly);
    std::vector<DCurve1> out;
    auto pass = [&](bool kind) {
        std::vector<CurvePoint> run;
        bool open = false;
        for (const CurvePoint& p : pts) {
            const bool mine = CurveMark(p) == kind;
            if (mine) {
                open = true;
                run.push_back(p);
            } else if (open) {
                run.push_back(p);  // where the curve changes kind
                out.push_back(MakeCurve1(std::move(run)));
                run.clear();
                open = false;
            }
        }
        if (open) out.push_back(MakeCurve1(std::move(run)));
    };
    pass(true);
    if (!visibleOnly) pass(false);
    runs = MakeCurve2(std::move(out), runs.Plane, runs.Position);
}

// ---------------------------------------------------------------------------
// Planes

bool ModelPointOfPicture(std::uint8_t plane, double position, double px, double py, int zoom, double xScale,
                         double yScale, int cx, int cy, Vec3& model) {
    if (zoom == 0 || xScale == 0 || (plane == PlaneXOY && yScale == 0) || plane > PlaneZ) return false;
    const double s8 = static_cast<double>(Sqrt8());
    const double c = px / zoom - cx;
    const double r = py / zoom - cy;
    switch (plane) {
        case PlaneXOY:
            model = {c / xScale, -r / yScale, 0};
            break;
        case PlaneX:
            model.x = position;
            model.y = (c + model.x * xScale / s8) / xScale;
            model.z = -(r - model.x * xScale / s8) / xScale;
            break;
        case PlaneY:
            model.y = position;
            model.x = -s8 * (c - model.y * xScale) / xScale;
            model.z = -(r - model.x * xScale / s8) / xScale;
            break;
        default:
            model.z = position;
            model.x = s8 * (r + model.z * xScale) / xScale;
            model.y = (c + model.x * xScale / s8) / xScale;
            break;
    }
    return true;
}

void PicturePointOfModel(std::uint8_t plane, Vec3 model, int zoom, double xScale, double yScale, int cx, int cy,
                         double& px, double& py) {
    if (plane == PlaneXOY) {
        px = cx + model.x * xScale;
        py = cy - model.y * yScale;
    } else {
        const double s8 = static_cast<double>(Sqrt8());
        px = cx + (model.y - model.x / s8) * xScale;
        py = cy + (model.x / s8 - model.z) * xScale;
    }
    px *= zoom;
    py *= zoom;
}

bool MoveCurvePoint(std::uint8_t plane, double position, int zoom, const GraphTransform& t, double yScale,
                    double xScale, int cy, int cx, double& px, double& py, Vec3& model) {
    if (!ModelPointOfPicture(plane, position, px, py, zoom, xScale, yScale, cx, cy, model)) return false;
    if (t.Rotated) {
        if (plane == PlaneXOY)
            RotateAroundAxis(model.x, model.y, model.z, t.CX, t.CY, 0, t.Angle, 0, 0, 1);
        else
            RotateAroundAxis(model.x, model.y, model.z, t.CX, t.CY, t.CZ, t.Angle, t.NX, t.NY, t.NZ);
    }
    if (t.Moved) MoveByVector(model.x, model.y, model.z, t.DX, t.DY, t.DZ);
    PicturePointOfModel(plane, model, zoom, xScale, yScale, cx, cy, px, py);
    return true;
}

DCurve2 TransformCurveSet(const DCurve2& curves, bool full, const DImProj& im, const DOutLine& outline,
                          const std::string& surface, const std::array<Vec3, 8>& corners, int zoom,
                          const GraphTransform& t, double yScale, double xScale, int cy, int cx,
                          DistributionParameters& params, const ScanWindow& window) {
    DCurve2 out = curves;
    out.Valid = 0;
    if ((!t.Moved && !t.Rotated) || curves.Plane == PlaneAsIs) return out;

    const std::uint8_t plane = curves.Plane;
    std::string hiding;
    if (plane != PlaneXOY) TransformFormula(surface, t, hiding);
    const double step = xScale != 0 ? outline.Step1 / xScale : 0;

    std::vector<DCurve1> lines;
    lines.reserve(curves.lines().size());
    for (const DCurve1& line : curves.lines()) {
        std::vector<CurvePoint> pts = PointsOf(line);
        for (CurvePoint& p : pts) {
            Vec3 m;
            double px = p.x, py = p.y;
            if (!MoveCurvePoint(plane, curves.Position, zoom, t, yScale, xScale, cy, cx, px, py, m))
                continue;  // no model point: the point stays where it is
            bool visible = CurveMark(p);
            if (plane != PlaneXOY) {
                TColor unused = 0;
                visible = !RaySurfaceHit(m, true, corners, hiding, outline.FitMode, step, t, 0, 0, 0, im, false,
                                         unused, full, params, window);
            }
            p = MakeCurvePoint(px, py, visible);
        }
        lines.push_back(MakeCurve1(std::move(pts)));
    }
    DCurve2 moved = MakeCurve2(std::move(lines), plane, curves.Position);
    moved.Extra = curves.Extra;
    return moved;
}

// ---------------------------------------------------------------------------
// Output

void OutputPolyline(DCurve1 poly, int width, TColor colour, bool dashed, int cdrDashStyle, const DImProj& im,
                    int dash, int gap, const PaintTarget& target, std::uint8_t pass) {
    std::vector<CurvePoint> pts = PointsOf(poly);
    ThinOut(pts, [](const CurvePoint& a, const CurvePoint& b) { return !SamePixel(a, b); });
    if (pass == 1) return;
    if (target.is(TargetKind::Pel)) {
        if (!target.canvas) return;
        OutputPel(PelPoints(std::move(pts)), width, colour, dashed, im, dash, gap, *target.canvas);
    } else if (target.is(TargetKind::Cdr)) {
        if (target.cdr) OutputCdr(std::move(pts), width, colour, dashed, cdrDashStyle, im, *target.cdr);
    } else if (target.is(TargetKind::Wrd)) {
        if (target.wrd) OutputWrd(std::move(pts), width, colour, dashed, im, target);
    }
}

void DrawCurveSet(const DCurve2& curves, int width, TColor colour, bool full, std::uint8_t pass,
                  const PaintTarget& target, const DImProj& im, int cdrDashStyle, const DOutLine& outline,
                  const std::string& surface, const std::array<Vec3, 8>& corners, const GraphLineStyle& style,
                  int zoom, const GraphTransform& t, double yScale, double xScale, int cy, int cx,
                  DistributionParameters& params, const ScanWindow& window, bool keep) {
    // Moved or turned curves of a 3D plane are tested against their surface
    // anew; they are not kept.
    const bool moved = t.Moved || t.Rotated;
    if (keep && pass != 1 && target.is(TargetKind::Pel) && target.canvas && target.canvas->keepsDrawings() &&
        curves.Lines &&
        !(moved && curves.Plane != PlaneXOY && curves.Plane != PlaneAsIs)) {
        const StrokeKey key{width, style, t, zoom, yScale, xScale, cy, cx, curves.Plane, curves.Position,
                            curves.Count};
        KeptCurveSet& kept = KeptSetFor(curves, key);
        if (!kept.built) {
            const DCurve2 set = TransformCurveSet(curves, full, im, outline, surface, corners, zoom, t, yScale,
                                                  xScale, cy, cx, params, window);
            ForEachStroke(set, style, [&](const DCurve1& line, bool dashed) {
                std::vector<CurvePoint> pts = PointsOf(line);
                ThinOut(pts, [](const CurvePoint& a, const CurvePoint& b) { return !SamePixel(a, b); });
                for (auto& part : ShownParts(PelPoints(std::move(pts)), im, dashed, style.Dash, style.Gap))
                    kept.strokes.push_back({PelPen(width, 0, dashed, style.Dash, style.Gap), std::move(part), {}});
            });
            kept.built = true;
        }
        for (KeptStroke& s : kept.strokes) {
            s.pen.color = colour;
            target.canvas->setAntialias(im.Smooth);
            target.canvas->drawKeptPolyline(s.pen, s.points, s.kept);
        }
        return;
    }
    const DCurve2 set = TransformCurveSet(curves, full, im, outline, surface, corners, zoom, t, yScale, xScale, cy,
                                          cx, params, window);
    ForEachStroke(set, style, [&](const DCurve1& line, bool dashed) {
        OutputPolyline(line, width, colour, dashed, cdrDashStyle, im, style.Dash, style.Gap, target, pass);
    });
}

}  // namespace pelmar
