#include "drawing/curve_builder.h"

#include <utility>

namespace pelmar {

void AddCurvePoint(SubCurveContext& ctx, std::uint8_t which, bool visible, double x, double y) {
    if (which == 1)
        ctx.CurrentA.push_back(MakeCurvePoint(x, y, visible));
    else if (which == 2)
        ctx.CurrentB.push_back(MakeCurvePoint(x, y, visible));
}

namespace {

void HandOver(SubCurveContext& ctx, std::vector<CurvePoint>& current) {
    ctx.Result.Lines.push_back(MakeCurve1(std::move(current)));
    current.clear();
}

}  // namespace

void ClosePolylineA(SubCurveContext& ctx) { HandOver(ctx, ctx.CurrentA); }

void ClosePolylineB(SubCurveContext& ctx) { HandOver(ctx, ctx.CurrentB); }

}  // namespace pelmar
