// Coordinate systems in the whole redraw: the implicit graph is traced in the
// fill pass of a full redraw with the drawing window's progress display, and
// stored into the snapshot and the document for the redraws that follow.
#include <gtest/gtest.h>

#include <algorithm>

#include "coord_fixture.h"
#include "drawing/redraw.h"
#include "support/fake_redraw_host.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

std::unique_ptr<DProj> Document() {
    auto d = NewDocument();
    d->Im = Picture(400, 300);
    DXOY x = MakeXOY();
    x.GraphOn[6].v = true;
    x.Graph[6].s = "x^2+y^2-4";
    d->Obj.Xy.add(x);
    return d;
}

int Count(const FakeRedrawHost& host, const std::string& line) {
    return static_cast<int>(std::count(host.log.begin(), host.log.end(), line));
}

TEST(CoordRedraw, ImplicitGraphTracedOnceAndStored) {
    auto proj = Document();
    DrawingState st;
    FakeRedrawHost host;
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    EXPECT_EQ(Count(host, "panel 2 Неявный график"), 1);
    EXPECT_EQ(Count(host, "showProgressBar"), 1);
    EXPECT_EQ(proj->Obj.Xy[1].Curves.Valid, 1);
    EXPECT_FALSE(proj->Obj.Xy[1].Curves.lines().empty());
    EXPECT_EQ(st.DrawProj->Obj.Xy[1].Curves.Valid, 1);

    // A quick redraw reuses the stored curve; a stopped run shows nothing.
    host.log.clear();
    RepaintProject(*proj, st, host, RedrawMode::Window, false);
    EXPECT_EQ(Count(host, "showProgressBar"), 1);
    EXPECT_EQ(proj->Obj.Xy[1].Curves.Valid, 1);
}

TEST(CoordRedraw, DisabledSystemIsStillHandedToItsPainter) {
    auto proj = Document();
    proj->Obj.Xy[1].Disabled.v = true;
    proj->Obj.Xy[1].Curves = DCurve2{};
    DrawingState st;
    FakeRedrawHost host;
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    EXPECT_EQ(proj->Obj.Xy[1].Curves.Valid, 1);
    // Nothing but the graph: the picture has no black centre point.
    EXPECT_NE(st.DrawBitmap.pixel(200, 150) & 0xFFFFFF, 0u);
}

}  // namespace
