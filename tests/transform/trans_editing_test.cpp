#include "transform/trans_editing.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdio>

#include "editing/editing_fixture.h"
#include "editing/undo_store.h"
#include "files/document.h"
#include "model/defaults.h"
#include "model/geometry.h"
#include "model/update.h"

namespace pelmar {
namespace {

std::string Text(const DProj& doc) { return DocumentText(doc, LiveWindows{}, {}, ','); }

// Two Apply clicks on the editing core: each moves the objects, commits the
// current object and redraws once; Undo goes back one Apply at a time.
TEST(TransformationEditing, ApplyIsOneUndoStep) {
    test::Editing e;
    for (double y : {100.0, 200.0}) {
        DPoint p;
        LoadDefaultPoint(p, 1, e->Defaults);
        p.Y.v = y;
        UpdatePoint(p, 0);
        e.doc->Obj.Po.add(p);
    }
    test::MakeCurrent(*e, Kind::po, 2);
    e->Copies.index(Kind::po) = 2;
    e->Copies.CurPoint = e.doc->Obj.Po[2];
    e->Sel[Slot(Kind::po)][1] = true;
    EditingTransHost host(*e);

    const std::string original = Text(*e.doc);
    const TransScope selected{false, false, true}, all{true, false, false};
    ASSERT_EQ(ApplyTransformation(*e.doc, TransTab::Translate, {"0", "10", "0"}, selected, host),
              TransOutcome::Applied);
    QCoreApplication::processEvents();  // each Apply is a click of its own
    const std::string once = Text(*e.doc);
    ASSERT_EQ(ApplyTransformation(*e.doc, TransTab::Translate, {"0", "0,5", "0"}, all, host), TransOutcome::Applied);
    QCoreApplication::processEvents();
    EXPECT_EQ(e.doc->Obj.Po[1].Y.v, 110.5);
    EXPECT_EQ(e.doc->Obj.Po[2].Y.v, 200.5);
    EXPECT_EQ(e->Copies.CurPoint.Y.v, 200.5) << "the current object is committed";
    EXPECT_EQ(e.redraw.count, 2);
    EXPECT_TRUE(e->Changed);
    EXPECT_EQ(ApplyTransformation(*e.doc, TransTab::Rotate, {"0", "0", "0", "0", "0", "0", "5"}, all, host),
              TransOutcome::NoTransformation);
    EXPECT_EQ(e.messages.shown.size(), 1u);

    ASSERT_TRUE(UndoStep(*e));
    EXPECT_EQ(Text(*e.doc), once);
    ASSERT_TRUE(UndoStep(*e));
    EXPECT_EQ(Text(*e.doc), original);
}

// An Apply that would carry an object past the range of coordinates, or reads
// a number past its own range or no number, moves nothing (document, undo
// steps, changed mark) and its message names the first object that would
// leave; at the range's edge the Apply is taken.
TEST(TransformationEditing, NothingMovesPastTheRange) {
    test::Editing e;
    DPoint p;
    LoadDefaultPoint(p, 1, e->Defaults);
    p.X.v = 0, p.Y.v = -1000, p.Z.v = 0;
    UpdatePoint(p, 0);
    e.doc->Obj.Po.add(p);
    DTri t;
    LoadDefaultTriangle(t, 1, e->Defaults);
    e.doc->Obj.Tr.add(t);
    DSf s;
    LoadDefaultOrb(s, 1, e->Defaults);
    e.doc->Obj.Sf.add(s);
    test::MakeCurrent(*e, Kind::sf, 1);
    e->Copies.index(Kind::sf) = 1;
    e->Sel[Slot(Kind::po)][1] = true;
    EditingTransHost host(*e);
    const TransScope all{true, false, false}, current{false, true, false}, selected{false, false, true};
    const std::string past = " вышел бы за пределы координат от -1000000 до 1000000 пикселей. Объекты не изменены.";
    const std::string tiny =
        "Коэффициент гомотетии по модулю меньше 0,000001: объекты сжались бы в точку. Объекты не изменены.";
    char centre[3][32];
    for (int i = 0; i < 3; ++i)
        std::snprintf(centre[i], sizeof centre[i], "%.17g",
                      i == 0 ? s.Center.X.v : i == 1 ? s.Center.Y.v : s.Center.Z.v);

    struct Row {
        TransTab tab;
        std::vector<std::string> edits;
        TransScope scope;
        TransOutcome outcome;
        std::string message;
    };
    const std::vector<Row> rows = {
        {TransTab::Translate, {"8E12", "0", "0"}, all, TransOutcome::PastLimit, "Объект «Точка №1»" + past},
        {TransTab::Translate, {"0", "0", "-2000000"}, selected, TransOutcome::PastLimit, "Объект «Точка №1»" + past},
        {TransTab::Translate, {"0", "1001000", "0"}, all, TransOutcome::PastLimit, "Объект «Треугольник №1»" + past},
        {TransTab::Translate, {"0", "1E308", "1E308"}, current, TransOutcome::PastLimit, "Объект «Сфера №1»" + past},
        {TransTab::Homothety, {"0", "0", "0", "1E300"}, all, TransOutcome::PastLimit, "Объект «Точка №1»" + past},
        // The centre stays where it is; the radius grows past the range.
        {TransTab::Homothety, {centre[0], centre[1], centre[2], "-1E300"}, current, TransOutcome::PastLimit,
         "Объект «Сфера №1»" + past},
        {TransTab::Mirror, {"0", "0", "1", "1E300"}, all, TransOutcome::PastLimit, "Объект «Точка №1»" + past},
        {TransTab::Rotate, {"0", "0", "0", "1", "0", "0", "1E300"}, all, TransOutcome::PastLimit,
         "Число вне пределов от -3600 до 3600: \"1E300\". Объекты не изменены."},
        {TransTab::Rotate, {"0", "1E300", "0", "1", "0", "0", "0"}, all, TransOutcome::PastLimit,
         "Число вне пределов от -1000000 до 1000000: \"1E300\". Объекты не изменены."},
        {TransTab::Homothety, {"2000000", "0", "0", "1"}, all, TransOutcome::PastLimit,
         "Число вне пределов от -1000000 до 1000000: \"2000000\". Объекты не изменены."},
        {TransTab::Homothety, {"0", "0", "0", "-1/2"}, all, TransOutcome::NotANumber, "Неверное число: \"-1/2\""},
        // A factor that shrinks everything to a point.
        {TransTab::Homothety, {"0", "0", "0", "1E-300"}, all, TransOutcome::NoTransformation, tiny},
        {TransTab::Homothety, {centre[0], centre[1], centre[2], "-0,00000099"}, current,
         TransOutcome::NoTransformation, tiny},
        {TransTab::Homothety, {"5", "5", "5", "-0"}, selected, TransOutcome::NoTransformation, tiny},
    };
    const auto check = [&](const char* when) {
        const std::string before = Text(*e.doc);
        const bool changed = e->Changed;
        const int undoPos = e->UndoPos;
        for (const Row& r : rows) {
            SCOPED_TRACE(std::string(when) + ": " + r.edits[0] + " " + r.edits.back());
            e.messages.shown.clear();
            EXPECT_EQ(ApplyTransformation(*e.doc, r.tab, r.edits, r.scope, host), r.outcome);
            ASSERT_EQ(e.messages.shown.size(), 1u);
            EXPECT_EQ(e.messages.shown[0], r.message);
            EXPECT_EQ(Text(*e.doc), before);
            EXPECT_EQ(e->Changed, changed);
            EXPECT_EQ(e->UndoPos, undoPos);
        }
    };
    check("unchanged document");
    ASSERT_FALSE(UndoStep(*e));

    // The point to the very edge: taken.  One pixel more is not.
    const std::string original = Text(*e.doc);
    ASSERT_EQ(ApplyTransformation(*e.doc, TransTab::Translate, {"0", "-999000", "0"}, selected, host),
              TransOutcome::Applied);
    QCoreApplication::processEvents();
    EXPECT_EQ(e.doc->Obj.Po[1].Y.v, -1000000);
    EXPECT_TRUE(e->Changed);
    check("after one Apply");
    EXPECT_EQ(ApplyTransformation(*e.doc, TransTab::Translate, {"0", "-1", "0"}, selected, host),
              TransOutcome::PastLimit);
    // The smallest factor, either way, is taken.
    ASSERT_EQ(ApplyTransformation(*e.doc, TransTab::Homothety, {"0", "0", "0", "-0,000001"}, selected, host),
              TransOutcome::Applied);
    EXPECT_EQ(e.doc->Obj.Po[1].Y.v, 1);
    ASSERT_TRUE(UndoStep(*e));
    ASSERT_TRUE(UndoStep(*e));
    EXPECT_EQ(Text(*e.doc), original);
    EXPECT_FALSE(UndoStep(*e));
}

}  // namespace
}  // namespace pelmar
