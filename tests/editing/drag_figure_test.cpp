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
#include "editing/object_list.h"
#include "editing/reopen.h"
#include "editing/selection.h"
#include "editing/undo_store.h"
#include "edit_tool.h"
#include "editing_fixture.h"
#include "model/drag_rules.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

enum class Current { Figure, Other };
enum class Extra { None, LinkedPoint, SecondFigure };

struct Row {
    Kind kind;
    int type;
    std::array<std::array<int, 2>, 4> v;  // picture positions of the vertices
    int vertex;                           // the handle vertex taken
    std::array<int, 2> to;                // where the mouse lets it go
    Current current;
    Extra extra = Extra::None;
};

void MakeCurrent(Editing& e, Kind k, int index) {
    SetCurObjIndex(*e, ListPosition(*e.doc, k, index));
    SelectCurrentObject(*e, e->Dialogs, true);
}

// The figure of the row, put in through its dialog's commit.
template <Kind K>
void PutFigure(Editing& e, const Row& r, int index) {
    ASSERT_TRUE(NewDefaultObject(*e, K));
    MakeCurrent(e, K, index);
    auto& w = KindT<K>::work(*e->Work);
    constexpr int n = K == Kind::tr ? 3 : 4;
    for (int i = 1; i <= n; ++i)
        PlaceVertex(w, n, i, r.v[static_cast<std::size_t>(i - 1)][0], r.v[static_cast<std::size_t>(i - 1)][1]);
    // Free first, so that the side byte keeps vertex 3 where it was drawn.
    w.Typ.v = K == Kind::tr ? 4 : 7;
    ApplyObject(*e, false);
    w.Typ.v = static_cast<std::uint8_t>(r.type);
    ApplyObject(*e, false);
}

// The vertex's picture position in the document.
std::array<int, 2> VertexAt(const DProj& doc, Kind k, int index, int vertex) {
    const auto& p = k == Kind::tr ? doc.Obj.Tr[static_cast<std::size_t>(index)].S[static_cast<std::size_t>(vertex)].P1
                                  : doc.Obj.Kv[static_cast<std::size_t>(index)].S[static_cast<std::size_t>(vertex)].P1;
    return {static_cast<int>(std::nearbyint(p.ScrX.v)), static_cast<int>(std::nearbyint(p.ScrY.v))};
}

void RunRow(const Row& r, const std::string& what) {
    SCOPED_TRACE(what);
    Editing e;
    e->UndoOn = false;
    DProj& doc = *e.doc;
    if (r.kind == Kind::tr) PutFigure<Kind::tr>(e, r, 1);
    else PutFigure<Kind::kv>(e, r, 1);
    if (r.extra == Extra::SecondFigure) {
        // The same figure again, 300 pixels to the right, dragged along.
        Row shifted = r;
        for (auto& v : shifted.v) v[0] += 300;
        if (r.kind == Kind::tr) PutFigure<Kind::tr>(e, shifted, 2);
        else PutFigure<Kind::kv>(e, shifted, 2);
    }
    // A point standing elsewhere; made current when the figure is not.
    ASSERT_TRUE(NewDefaultObject(*e, Kind::po));
    MakeCurrent(e, Kind::po, 1);
    PlaceAt(e->Copies.CurPoint, 600, 500);
    if (r.extra == Extra::LinkedPoint) {
        // Built on vertex 3 of the figure: it follows wherever the drag leaves it.
        DLink l = LinkTo(r.kind, 1, 3);
        l.setSel(2, 1);
        e->Copies.CurPoint.Link = l;
        e->Copies.CurPoint.Number = 2;
        VisitKind(r.kind, [&](auto kc) { KindT<kc.value>::store(doc.Obj)[1].Number = 1; });
    }
    ApplyObject(*e, false);
    // Saved and read, so that the start is what a file gives.
    const std::string name = e->ProgDir + "start.pel";
    ASSERT_TRUE(WriteDocument(name, doc, WriteModeDocument, DocumentContext{}));
    ASSERT_EQ(OpenDocumentState(*e, name), ReadOk);
    e->UndoOn = true;

    if (r.current == Current::Figure) MakeCurrent(e, r.kind, 1);
    else MakeCurrent(e, Kind::po, 1);
    SelectNoneCommand(*e);
    const auto [vx, vy] = VertexAt(doc, r.kind, 1, r.vertex);
    ASSERT_TRUE(SelectAt(*e, vx, vy, 0, false));
    if (r.extra == Extra::SecondFigure) {
        const auto [sx, sy] = VertexAt(doc, r.kind, 2, r.vertex);
        ASSERT_TRUE(SelectAt(*e, sx, sy, 1, false));
    }
    const std::string before = Text(doc);
    const int undoPos = e->UndoPos;

    EditToolView view;
    MouseTools tools(*e, view);
    const auto input = [&](int px, int ym, bool held) { return MouseAt(doc, px, ym, held); };
    tools.press(input(vx, vy, true));
    for (int step = 1; step <= 4; ++step)
        tools.move(input(vx + (r.to[0] - vx) * step / 4, vy + (r.to[1] - vy) * step / 4, true));
    tools.release(input(r.to[0], r.to[1], false));
    e.edited->ensureStored();
    const std::string dragged = Text(doc);
    EXPECT_NE(dragged, before);
    EXPECT_EQ(e->UndoPos, undoPos + 1);
    // The vertex taken follows the mouse, unless the figure's side rule
    // mirrors it back over side 1; what is built on the figure follows it.
    if (!(r.vertex == 3 && r.to[1] < r.v[0][1])) {
        EXPECT_EQ(VertexAt(doc, r.kind, 1, r.vertex), r.to);
    }
    if (r.extra == Extra::SecondFigure) {
        EXPECT_EQ(VertexAt(doc, r.kind, 2, r.vertex), (std::array<int, 2>{r.to[0] + 300, r.to[1]}));
    }
    if (r.extra == Extra::LinkedPoint) {
        const auto [x3, y3] = VertexAt(doc, r.kind, 1, 3);
        EXPECT_EQ(doc.Obj.Po[1].ScrX.v, x3);
        EXPECT_EQ(doc.Obj.Po[1].ScrY.v, y3);
    }

    // The dialog shows what is stored.
    if (r.current == Current::Figure)
        VisitKind(r.kind, [&](auto kc) {
            EXPECT_TRUE(ObjectsWriteAlike(KindT<kc.value>::store(doc.Obj)[1], KindT<kc.value>::work(*e->Work)));
        });

    // Undo gives the file back as it was; Redo the drag.
    ASSERT_TRUE(UndoStep(*e));
    EXPECT_EQ(FirstDifference(Text(doc), before), "");
    ASSERT_TRUE(RedoStep(*e));
    EXPECT_EQ(FirstDifference(Text(doc), dragged), "");

    // One more commit of the dragged figure changes nothing.
    MakeCurrent(e, r.kind, 1);
    ApplyObject(*e, false);
    EXPECT_EQ(FirstDifference(Text(doc), dragged), "") << "after a commit";
    EXPECT_EQ(e->UndoPos, undoPos + 1);

    // Saved and opened again, it is the same.
    ASSERT_TRUE(WriteDocument(name, doc, WriteModeDocument, DocumentContext{}));
    ASSERT_EQ(OpenDocumentState(*e, name), ReadOk);
    EXPECT_EQ(FirstDifference(Text(doc), dragged), "") << "after reopening";
}

}  // namespace

TEST(DragFigure, HandleVerticesOfTypedFigures) {
    using enum Kind;
    const auto F = Current::Figure, O = Current::Other;
    // clang-format off
    const Row rows[] = {
        // square, rectangle, rhombus: vertices 1 and 2
        {kv, 1, {{{100, 100}, {200, 100}, {200, 200}, {100, 200}}}, 1, {120, 110}, F},
        {kv, 1, {{{100, 100}, {200, 100}, {200, 200}, {100, 200}}}, 1, {120, 110}, O},
        {kv, 1, {{{100, 100}, {200, 100}, {200, 200}, {100, 200}}}, 2, {230, 140}, O},
        {kv, 2, {{{100, 100}, {220, 100}, {220, 160}, {100, 160}}}, 2, {230, 130}, F},
        {kv, 2, {{{100, 100}, {220, 100}, {220, 160}, {100, 160}}}, 1, {80, 120}, O},
        {kv, 3, {{{100, 100}, {200, 100}, {260, 180}, {160, 180}}}, 1, {90, 120}, F},
        {kv, 3, {{{100, 100}, {200, 100}, {260, 180}, {160, 180}}}, 2, {215, 90}, O},
        // parallelogram, trapezium: vertices 1 to 3, vertex 3 also across side 1
        {kv, 4, {{{100, 100}, {200, 100}, {240, 160}, {140, 160}}}, 3, {250, 170}, F},
        {kv, 4, {{{100, 100}, {200, 100}, {240, 160}, {140, 160}}}, 3, {240, 90}, O},
        {kv, 4, {{{100, 100}, {200, 100}, {240, 160}, {140, 160}}}, 1, {110, 90}, O},
        {kv, 5, {{{100, 100}, {250, 100}, {200, 170}, {130, 170}}}, 3, {215, 185}, F},
        {kv, 5, {{{100, 100}, {250, 100}, {200, 170}, {130, 170}}}, 3, {210, 85}, O},
        {kv, 5, {{{100, 100}, {250, 100}, {200, 170}, {130, 170}}}, 2, {260, 120}, O},
        // equilateral, isosceles, right-angled: vertices 1 and 2
        {tr, 1, {{{100, 100}, {200, 100}, {150, 187}, {}}}, 1, {120, 110}, F},
        {tr, 1, {{{100, 100}, {200, 100}, {150, 187}, {}}}, 2, {190, 130}, O},
        {tr, 2, {{{100, 100}, {200, 100}, {150, 160}, {}}}, 2, {210, 90}, F},
        {tr, 2, {{{100, 100}, {200, 100}, {150, 160}, {}}}, 1, {90, 120}, O},
        {tr, 3, {{{100, 100}, {200, 100}, {100, 170}, {}}}, 1, {90, 95}, F},
        {tr, 3, {{{100, 100}, {200, 100}, {100, 170}, {}}}, 2, {230, 140}, O},
        // vertex 1 onto vertex 2, and past it
        {tr, 1, {{{100, 100}, {200, 100}, {150, 187}, {}}}, 1, {200, 100}, O},
        {kv, 1, {{{100, 100}, {200, 100}, {200, 200}, {100, 200}}}, 1, {300, 100}, F},
        // with a point built on vertex 3, and two selected figures
        {kv, 1, {{{100, 100}, {200, 100}, {200, 200}, {100, 200}}}, 1, {120, 110}, O, Extra::LinkedPoint},
        {tr, 1, {{{100, 100}, {200, 100}, {150, 187}, {}}}, 1, {120, 110}, F, Extra::LinkedPoint},
        {kv, 1, {{{100, 100}, {200, 100}, {200, 200}, {100, 200}}}, 1, {120, 110}, F, Extra::SecondFigure},
    };
    // clang-format on
    for (const Row& r : rows)
        RunRow(r, std::string(InfoOf(r.kind).code) + " type " + std::to_string(r.type) + " vertex " +
                      std::to_string(r.vertex) + (r.current == Current::Figure ? " current" : " not current") +
                      " extra " + std::to_string(static_cast<int>(r.extra)));
}
