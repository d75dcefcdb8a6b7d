// Helpers shared by the tests of curve output and curve builders.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "drawing/curve_builder.h"
#include "drawing/curve_output.h"
#include "model/records.h"
#include "support/recording_canvas.h"
#include "support/recording_sinks.h"

namespace pelmar::test {

// The box of a 3D coordinate system in its corner order: (xmax, ymin, zmin),
// (xmax, ymax, zmin), (xmin, ymax, zmin), (xmin, ymin, zmin), then the same
// four with zmax.
inline std::array<Vec3, 8> CurveBox(double lo, double hi) {
    return {Vec3{hi, lo, lo}, Vec3{hi, hi, lo}, Vec3{lo, hi, lo}, Vec3{lo, lo, lo},
            Vec3{hi, lo, hi}, Vec3{hi, hi, hi}, Vec3{lo, hi, hi}, Vec3{lo, lo, hi}};
}

// A polyline of (x, y, visible) triples.
struct P {
    double x, y;
    bool v = true;
};
inline DCurve1 Poly(std::initializer_list<P> pts) {
    std::vector<CurvePoint> v;
    for (const P& p : pts) v.push_back(MakeCurvePoint(p.x, p.y, p.v));
    return MakeCurve1(std::move(v));
}

// The marks of a polyline as a string of '1' and '0'.
inline std::string Marks(const DCurve1& c) {
    std::string s;
    for (const CurvePoint& p : c.points()) s += CurveMark(p) ? '1' : '0';
    return s;
}

// A context drawing on a recording canvas with the scales and origin given.
struct CurveRig {
    RecordingCanvas canvas;
    RecordingCdrSink cdr;
    RecordingWordSink wrd;
    bool running = true;
    SubCurveContext ctx;

    explicit CurveRig(double scale = 20, int cx = 400, int cy = 300) {
        ctx.Target.kind = TargetKind::Pel;
        ctx.Target.canvas = &canvas;
        ctx.Target.cdr = &cdr;
        ctx.Target.wrd = &wrd;
        ctx.XScale = ctx.YScale = scale;
        ctx.CX = cx;
        ctx.CY = cy;
        ctx.Colour = 0xFF0000;
        ctx.Width = 1;
        ctx.Running = &running;
    }
    // The polylines built by the last builder call that have points.
    std::vector<std::vector<CurvePoint>> lines() const {
        std::vector<std::vector<CurvePoint>> out;
        for (const DCurve1& l : ctx.Result.Lines)
            if (!l.points().empty()) out.push_back(l.points());
        return out;
    }
    std::size_t pointCount() const {
        std::size_t n = 0;
        for (const auto& l : lines()) n += l.size();
        return n;
    }
};

}  // namespace pelmar::test
