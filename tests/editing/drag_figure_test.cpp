// Typed figures dragged by their handle vertices with the edit tool: what the
// release leaves is the figure the commit makes of it, so the document, the
// dialog's working copy, one more commit, and a save and reopen all agree,
// and one Undo gives the file back byte for byte.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "editing/commit.h"
#include "editing/new_objects.h"
#include "editing/reopen.h"
#include "editing/selection.h"
#include "editing/undo_store.h"
#include "edit_tool.h"
#include "editing_fixture.h"
#include "model/drag_rules.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

using Spot = std::array<int, 2>;
using Corners = std::array<Spot, 4>;  // picture positions of the vertices
enum class Extra { None, LinkedPoint, SecondFigure };

// The figure, the handle vertex taken, where the mouse lets it go, and the figure current or a point.
struct Row { Kind kind; int type; Corners v; std::size_t vertex; Spot to; bool current; Extra extra = Extra::None; };

// The figure put in through its dialog's commit, dx pixels to the right: free
// first, so that the side byte keeps vertex 3 where it was drawn, then typed.
void PutFigure(Editing& e, const Row& r, int index, int dx) {
    ASSERT_TRUE(NewDefaultObject(*e, r.kind));
    ShowCurrent(*e, r.kind, index);
    const auto put = [&](auto& w, std::size_t n, int free) {
        for (std::size_t i = 0; i < n; ++i) PlaceVertex(w, int(n), int(i + 1), r.v[i][0] + dx, r.v[i][1]);
        for (int t : {free, r.type}) w.Typ.v = static_cast<std::uint8_t>(t), ApplyObject(*e, false);
    };
    if (r.kind == Kind::tr) put(KindT<Kind::tr>::work(*e->Work), 3, 4);
    else put(KindT<Kind::kv>::work(*e->Work), 4, 7);
}

Spot VertexAt(const DProj& doc, Kind k, std::size_t index, std::size_t vertex) {
    const DPoint& p = (k == Kind::tr ? doc.Obj.Tr[index].S[vertex] : doc.Obj.Kv[index].S[vertex]).P1;
    return {static_cast<int>(std::nearbyint(p.ScrX.v)), static_cast<int>(std::nearbyint(p.ScrY.v))};
}

void RunRow(const Row& r) {
    Editing e;
    e->UndoOn = false;
    DProj& doc = *e.doc;
    const std::size_t figures = r.extra == Extra::SecondFigure ? 2 : 1;  // the second dragged along
    for (std::size_t f = 1; f <= figures; ++f) PutFigure(e, r, int(f), 300 * int(f - 1));
    // A point standing elsewhere, or built on vertex 3 of the figure.
    ASSERT_TRUE(NewDefaultObject(*e, Kind::po));
    ShowCurrent(*e, Kind::po);
    PlaceAt(e->Copies.CurPoint, 600, 500);
    if (r.extra == Extra::LinkedPoint) {
        e->Copies.CurPoint.Link = LinkTo(r.kind, 1, 3);
        e->Copies.CurPoint.Link.setSel(2, 1);
        e->Copies.CurPoint.Number = 2;
        VisitKind(r.kind, [&](auto kc) { KindT<kc.value>::store(doc.Obj)[1].Number = 1; });
    }
    ApplyObject(*e, false);
    const auto reopen = [&, name = e->ProgDir + "start.pel"] {
        ASSERT_TRUE(WriteDocument(name, doc, WriteModeDocument, DocumentContext{}));
        ASSERT_EQ(OpenDocumentState(*e, name), ReadOk);
    };
    reopen();  // the start is what a file gives
    e->UndoOn = true;

    ShowCurrent(*e, r.current ? r.kind : Kind::po);
    SelectNoneCommand(*e);
    const auto [vx, vy] = VertexAt(doc, r.kind, 1, r.vertex);
    for (std::size_t f = 1; f <= figures; ++f) {
        const auto [x, y] = VertexAt(doc, r.kind, f, r.vertex);
        ASSERT_TRUE(SelectAt(*e, x, y, int(f - 1), false));
    }
    const std::string before = Text(doc);
    const int undoPos = e->UndoPos;
    EditToolView view;
    MouseTools tools(*e, view);
    tools.press(MouseAt(doc, vx, vy, true));
    for (int step = 1; step <= 4; ++step)
        tools.move(MouseAt(doc, vx + (r.to[0] - vx) * step / 4, vy + (r.to[1] - vy) * step / 4, true));
    tools.release(MouseAt(doc, r.to[0], r.to[1], false));
    e.edited->ensureStored();
    const std::string dragged = Text(doc);
    EXPECT_NE(dragged, before);
    EXPECT_EQ(e->UndoPos, undoPos + 1);
    // The vertex taken follows the mouse, unless the figure's side rule
    // mirrors it back over side 1; what is built on the figure follows it.
    for (std::size_t f = 1; f <= figures && (r.vertex != 3 || r.to[1] >= r.v[0][1]); ++f)
        EXPECT_EQ(VertexAt(doc, r.kind, f, r.vertex), (Spot{r.to[0] + 300 * int(f - 1), r.to[1]}));
    if (r.extra == Extra::LinkedPoint) {
        const auto [x3, y3] = VertexAt(doc, r.kind, 1, 3);
        EXPECT_EQ(doc.Obj.Po[1].ScrX.v, x3);
        EXPECT_EQ(doc.Obj.Po[1].ScrY.v, y3);
    }
    if (r.current)  // the dialog shows what is stored
        VisitKind(r.kind, [&](auto kc) {
            EXPECT_TRUE(ObjectsWriteAlike(KindT<kc.value>::store(doc.Obj)[1], KindT<kc.value>::work(*e->Work)));
        });
    // Undo gives the file back; Redo, one more commit, a save and reopen the drag.
    ASSERT_TRUE(UndoStep(*e));
    EXPECT_EQ(FirstDifference(Text(doc), before), "");
    ASSERT_TRUE(RedoStep(*e));
    EXPECT_EQ(FirstDifference(Text(doc), dragged), "");
    ShowCurrent(*e, r.kind);
    ApplyObject(*e, false);
    EXPECT_EQ(FirstDifference(Text(doc), dragged), "") << "after a commit";
    EXPECT_EQ(e->UndoPos, undoPos + 1);
    reopen();
    EXPECT_EQ(FirstDifference(Text(doc), dragged), "") << "after reopening";
}

TEST(DragFigure, HandleVerticesOfTypedFigures) {
    using enum Kind;
    using enum Extra;
    const bool F = true, O = false;  // the figure current or not
    const Corners sq{{{100, 100}, {200, 100}, {200, 200}, {100, 200}}}, re{{{100, 100}, {220, 100}, {220, 160}, {100, 160}}},
        rh{{{100, 100}, {200, 100}, {260, 180}, {160, 180}}}, pa{{{100, 100}, {200, 100}, {240, 160}, {140, 160}}},
        tz{{{100, 100}, {250, 100}, {200, 170}, {130, 170}}}, eq{{{100, 100}, {200, 100}, {150, 187}, {}}},
        is{{{100, 100}, {200, 100}, {150, 160}, {}}}, ra{{{100, 100}, {200, 100}, {100, 170}, {}}};
    // Square, rectangle, rhombus and equilateral, isosceles, right-angled triangle by vertex 1 or 2; parallelogram
    // and trapezium by vertex 3 too, also across side 1; vertex 1 onto vertex 2 and past it; a point built on
    // vertex 3; two figures selected.
    const Row rows[] = {
        {kv, 1, sq, 1, {120, 110}, F}, {kv, 1, sq, 1, {120, 110}, O}, {kv, 1, sq, 2, {230, 140}, O},
        {kv, 2, re, 2, {230, 130}, F}, {kv, 2, re, 1, {80, 120}, O}, {kv, 3, rh, 1, {90, 120}, F},
        {kv, 3, rh, 2, {215, 90}, O}, {kv, 4, pa, 3, {250, 170}, F}, {kv, 4, pa, 3, {240, 90}, O},
        {kv, 4, pa, 1, {110, 90}, O}, {kv, 5, tz, 3, {215, 185}, F}, {kv, 5, tz, 3, {210, 85}, O},
        {kv, 5, tz, 2, {260, 120}, O}, {tr, 1, eq, 1, {120, 110}, F}, {tr, 1, eq, 2, {190, 130}, O},
        {tr, 2, is, 2, {210, 90}, F}, {tr, 2, is, 1, {90, 120}, O}, {tr, 3, ra, 1, {90, 95}, F},
        {tr, 3, ra, 2, {230, 140}, O}, {tr, 1, eq, 1, {200, 100}, O}, {kv, 1, sq, 1, {300, 100}, F},
        {kv, 1, sq, 1, {120, 110}, O, LinkedPoint}, {tr, 1, eq, 1, {120, 110}, F, LinkedPoint},
        {kv, 1, sq, 1, {120, 110}, F, SecondFigure}};
    for (const Row& r : rows) {
        SCOPED_TRACE("row " + std::to_string(&r - rows));
        RunRow(r);
    }
}

}  // namespace
