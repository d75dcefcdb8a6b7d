#include "model/coord_edits.h"

#include <algorithm>
#include <cmath>

namespace pelmar {

std::optional<DXOY> XOYWithScale(DXOY x, double scaleX, double scaleY) {
    if (!std::isfinite(scaleX) || !std::isfinite(scaleY)) return std::nullopt;
    x.ScaleX.v = scaleX;
    x.ScaleY.v = scaleY;
    x.Curves.Valid = 0;
    return x;
}

DXOY XOYWithFormula(DXOY x, int graph, std::string text) {
    if (graph == 7) {
        x.Graph2.s = std::move(text);
    } else if (graph >= 1 && graph <= 6) {
        x.Graph[static_cast<std::size_t>(graph)].s = std::move(text);
        if (graph == 6) x.Curves.Valid = 0;
    }
    return x;
}

std::optional<DXOY> XOYWithBound(DXOY x, int graph, int i, double v) {
    if (!std::isfinite(v)) return std::nullopt;
    if (i < 0 || i > 3) return x;
    const std::size_t slot = graph == 1 ? 1 : graph == 2 ? 2 : graph == 6 ? 3 : 0;
    if (slot == 0) return x;
    x.Bounds[slot][static_cast<std::size_t>(i)].v = v;
    x.Curves.Valid = 0;
    return x;
}

DXOY XOYWithinAxes(DXOY x, int graph, bool on) {
    if (graph < 3 || graph > 5) return x;
    x.WithinAxes[static_cast<std::size_t>(graph - 2)].v = on;
    x.Curves.Valid = 0;
    return x;
}

CurveRange XZSectionCurves(int surface) {
    switch (surface) {
        case 1: return {1, 11};
        case 2: return {12, 22};
        case 4: return {23, 55};
        default: return {};
    }
}

int XZOutlineOf(int surface) { return surface == 1 ? 1 : surface == 2 ? 2 : surface == 4 ? 3 : 0; }

int XZSurfaceOfOutline(int outline) { return outline == 1 ? 1 : outline == 2 ? 2 : outline == 3 ? 4 : 0; }

void InvalidateSurface(DXZ& z, int surface) {
    const CurveRange r = XZSectionCurves(surface);
    for (int c = r.first; c <= r.last; ++c) z.Curves[static_cast<std::size_t>(c)].Valid = 0;
    if (const int o = XZOutlineOf(surface)) z.Outlines[static_cast<std::size_t>(o)].Lines.Valid = 0;
}

std::optional<DXZ> XZWithScale(DXZ z, double scale) {
    if (!std::isfinite(scale)) return std::nullopt;
    z.Scale.v = scale;
    for (auto& c : z.Curves) c.Valid = 0;
    for (auto& o : z.Outlines) o.Lines.Valid = 0;
    return z;
}

DXZ XZWithFormula(DXZ z, int field, std::string text) {
    if (field >= 1 && field <= 4) {
        z.Surf[static_cast<std::size_t>(field)].s = std::move(text);
        InvalidateSurface(z, field);
    } else if (field == 5 || field == 6) {
        z.Surf3More[static_cast<std::size_t>(field - 4)].s = std::move(text);
    }
    return z;
}

DXZ XZWithSecondOrder(DXZ z, int outline, bool on) {
    if (outline < 1 || outline > 3) return z;
    DOutLine& o = z.Outlines[static_cast<std::size_t>(outline)];
    o.FitMode = on ? 1 : 0;
    o.Lines.Valid = 0;
    return z;
}

bool XZSurfaceShaded(const DXZ& z, int surface) {
    const int o = XZOutlineOf(surface);
    return o != 0 && z.Outlines[static_cast<std::size_t>(o)].GradientOn;
}

namespace {

bool Stale(DCurve2& c) {
    const bool was = c.Valid != 0;
    c.Valid = 0;
    return was;
}

}  // namespace

bool MarkCurvesNotComputed(DXOY& x) { return Stale(x.Curves); }

bool MarkCurvesNotComputed(DXZ& z) {
    bool any = false;
    for (auto& c : z.Curves) any = Stale(c) || any;
    for (auto& o : z.Outlines) any = Stale(o.Lines) || any;
    return any;
}

bool MarkCurvesNotComputed(DSubProj& o) {
    bool any = false;
    for (std::size_t i = 1; i <= o.Xy.count(); ++i) any = MarkCurvesNotComputed(o.Xy[i]) || any;
    for (std::size_t i = 1; i <= o.Xz.count(); ++i) any = MarkCurvesNotComputed(o.Xz[i]) || any;
    return any;
}

bool MarkCurvesNotComputed(WorkingCopies& w) {
    const bool xy = MarkCurvesNotComputed(w.CurXOY);
    return MarkCurvesNotComputed(w.CurXZ) || xy;
}

namespace {

bool Same(const DPoint& a, const DPoint& b) { return a.ScrX.v == b.ScrX.v && a.ScrY.v == b.ScrY.v; }
bool Same(const DLine& a, const DLine& b) { return Same(a.P1, b.P1) && Same(a.P2, b.P2); }

template <class R>
bool Retrace(R& now, const R& was) {
    if (SamePlace(now, was)) return false;
    MarkCurvesNotComputed(now);
    return true;
}

}  // namespace

bool SamePlace(const DXOY& now, const DXOY& was) {
    return Same(now.Center, was.Center) && Same(now.AxisX, was.AxisX) && Same(now.AxisY, was.AxisY);
}

bool SamePlace(const DXZ& now, const DXZ& was) {
    return Same(now.Center, was.Center) && Same(now.AxisX, was.AxisX) && Same(now.AxisY, was.AxisY) &&
           Same(now.AxisZ, was.AxisZ);
}

bool RetraceIfMoved(DXOY& now, const DXOY& was) { return Retrace(now, was); }
bool RetraceIfMoved(DXZ& now, const DXZ& was) { return Retrace(now, was); }

void WholePictureOutlineWindows(DXZ& z, std::int32_t width, std::int32_t height) {
    for (auto& o : z.Outlines) {
        o.X1 = 0;
        o.Y1 = 0;
        o.X2 = width;
        o.Y2 = height;
    }
}

std::optional<double> ClampParamStep(double h) {
    if (!std::isfinite(h)) return std::nullopt;
    return h <= MinParamStep ? MinParamStep : h;
}

}  // namespace pelmar
