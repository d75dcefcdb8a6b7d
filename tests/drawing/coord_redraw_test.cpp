// Coordinate systems in the whole redraw: the implicit graph is traced in the
// fill pass of a full redraw with the drawing window's progress display, and
// stored into the snapshot and the document for the redraws that follow.
#include <gtest/gtest.h>

#include <algorithm>

#include "coord_fixture.h"
#include "figure_fixture.h"
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

// A saddle z = x^2 - y^2 with sections x = 0 and x = 1 (their hidden parts
// dashed) and its outline, and a filled circle: the window's redraw after a
// window closed without a change (a quick one) draws, pixel for pixel, what
// the full drawing before it drew, and so does the next full drawing.
TEST(CoordRedraw, QuickRedrawOfUnchangedSectionsDrawsTheFullDrawing) {
    auto proj = NewDocument();
    proj->Im = Picture(400, 300);
    DXZ x = MakeXYZ();
    x.SurfOn[1].v = true;
    x.Surf[1].s = "x^2-y^2";
    x.Style[1].Hidden.v = 2;
    x.Style[1].Dash.v = 6, x.Style[1].Gap.v = 3;
    for (std::size_t k = 1; k <= 2; ++k) {
        DSection& sec = x.Sections[1][1][k];
        sec.On.v = true;
        sec.C.v = static_cast<double>(k - 1);
        for (std::size_t b = 0; b < 4; ++b) sec.Bounds[b].v = b % 2 ? 3 : -3;
    }
    DOutLine& outline = x.Outlines[1];
    outline.On = true, outline.X1 = 0, outline.Y1 = 0, outline.X2 = 400, outline.Y2 = 300;
    proj->Obj.Xz.add(x);
    DCircle c = MakeEllipse(320, 60, 30, 30);
    c.Fill.On = true, c.Fill.Colors = {Red, Green, Blue};
    proj->Obj.Ci.add(c);

    DrawingState st;
    FakeRedrawHost host;
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    const QImage full = st.DrawBitmap.copy();
    for (const bool again : {false, true, false}) {
        RepaintProject(*proj, st, host, RedrawMode::Window, again);
        ASSERT_EQ(st.DrawBitmap.size(), full.size());
        int differing = 0;
        for (int py = 0; py < full.height(); ++py)
            for (int px = 0; px < full.width(); ++px) differing += st.DrawBitmap.pixel(px, py) != full.pixel(px, py);
        EXPECT_EQ(differing, 0) << (again ? "full" : "quick") << " redraw";
    }
}

}  // namespace
