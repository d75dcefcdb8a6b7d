// A scripted editing run of the edit tool over one object of every kind: each
// object alone selected, taken at each of its points in turn (its body or a
// handle, as the selection finds them) and dragged in three steps, every
// other drag with another object current.  After every drag the document is
// what the object made current, one more commit and a save and reopening
// give.  The run writes the document after every drag and keeps every undo
// file.
//
// With PELMAR_DRAG_RUN_OUT set to a folder the run writes there what it made
// (drag-NNN.pel, the undo folder's files): running it on two builds and
// comparing the folders byte for byte shows that a change of the code leaves
// the drags as they were.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

#include "editing/commit.h"
#include "editing/kind_access.h"
#include "editing/mouse_tools.h"
#include "editing/new_objects.h"
#include "editing/object_list.h"
#include "editing/selection.h"
#include "editing/undo_store.h"
#include "edit_tool.h"
#include "editing_fixture.h"
#include "files/document.h"
#include "model/record_walk.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// The picture positions of a record's points, each once, in walking order.
struct Positions {
    std::vector<std::pair<int, int>> at;
    std::set<std::pair<int, int>> seen;
    void point(const std::string&, const DPoint& p) {
        const std::pair<int, int> xy{static_cast<int>(p.ScrX.v), static_cast<int>(p.ScrY.v)};
        if (seen.insert(xy).second) at.push_back(xy);
    }
    void circle(const std::string&, const DCircle&) {}
};

TEST(DragRun, EveryKindEveryPointDraggedAndUndoneStepByStep) {
    Editing e;
    e->UndoOn = false;  // the objects are the run's start
    for (const KindInfo& k : KindTable) ASSERT_TRUE(NewDefaultObject(*e, k.kind)) << k.code;
    e->UndoOn = true;
    DProj& doc = *e.doc;
    const std::string start = Text(doc);

    EditToolView view;
    MouseTools tools(*e, view);
    const auto input = [&](int px, int ym, bool held) { return MouseAt(doc, px, ym, held); };
    std::vector<std::string> after;  // the document after each drag
    const std::string saved = e->ProgDir + "dragged.pel";
    const std::unique_ptr<DProj> back = NewDocument();
    for (const KindInfo& k : KindTable) {
        Positions where;
        VisitKind(k.kind, [&](auto kc) { WalkParts(KindT<decltype(kc)::value>::store(doc.Obj)[1], "", where); });
        for (std::size_t n = 0; n < where.at.size() && n < 12; ++n) {
            SelectNoneCommand(*e);
            ShowCurrent(*e, k.kind);
            SelectCurrentCommand(*e);
            // Every other drag is made with the object of the next kind current.
            if (n % 2 == 1) ShowCurrent(*e, KindTable[static_cast<std::size_t>(Slot(k.kind) + 1) % KindCount].kind);
            const auto [x, y] = where.at[n];
            tools.press(input(x, y, true));
            for (int step = 1; step <= 3; ++step) tools.move(input(x + 4 * step, y - 3 * step, true));
            tools.release(input(x + 12, y - 9, false));
            const std::string& dragged = after.emplace_back(Text(doc));
            ShowCurrent(*e, k.kind);
            ASSERT_EQ(FirstDifference(Text(doc), dragged), "") << k.code << " point " << n << ", made current";
            ApplyObject(*e, false);
            ASSERT_EQ(FirstDifference(Text(doc), dragged), "") << k.code << " point " << n << ", committed";
            ASSERT_TRUE(WriteDocument(saved, doc, WriteModeDocument, DocumentContext{}));
            std::uint8_t version = 0;
            ASSERT_EQ(ReadDocument(saved, *back, version, ReadModeOpen), ReadOk);
            ASSERT_EQ(FirstDifference(Text(*back), dragged), "") << k.code << " point " << n << ", reopened";
        }
    }
    ASSERT_GT(after.size(), 14u * 2);
    EXPECT_NE(after.back(), start);

    if (const char* out = std::getenv("PELMAR_DRAG_RUN_OUT")) {
        const std::filesystem::path dir(out);
        std::filesystem::create_directories(dir);
        for (std::size_t i = 0; i < after.size(); ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "drag-%03zu.pel", i + 1);
            std::ofstream(dir / name, std::ios::binary) << after[i];
        }
        for (const auto& f : std::filesystem::directory_iterator(e->UndoFolder))
            std::filesystem::copy_file(f.path(), dir / ("undo-" + f.path().filename().string()),
                                       std::filesystem::copy_options::overwrite_existing);
    }

    // The drags are undo steps (the selections between them are not): all
    // undone and redone, the document is the last drag's again.
    int steps = 0;
    while (UndoStep(*e)) ++steps;
    EXPECT_GE(steps, KindCount);
    EXPECT_LE(steps, static_cast<int>(after.size()));
    while (RedoStep(*e)) --steps;
    EXPECT_EQ(steps, 0);
    EXPECT_EQ(Text(doc), after.back());
}

}  // namespace
