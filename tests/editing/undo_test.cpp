#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <filesystem>
#include <fstream>
#include <random>

#include "editing/commit.h"
#include "editing/new_objects.h"
#include "editing/object_list.h"
#include "editing/reopen.h"
#include "editing/undo_store.h"
#include "edit_tool.h"
#include "editing_fixture.h"
#include "files/companion.h"
#include "files/document.h"
#include "model/finite_check.h"
#include "model/geometry.h"

using namespace pelmar;
using namespace pelmar::test;
namespace fs = std::filesystem;

namespace {

// A few objects of several kinds, made without undo steps, saved and
// opened again so that every object is as a file gives it back.
void Populate(EditingState& st) {
    const bool undo = st.UndoOn;
    st.UndoOn = false;
    for (Kind k : {Kind::po, Kind::po, Kind::li, Kind::ci, Kind::tr, Kind::kv}) NewDefaultObject(st, k);
    const std::string name = st.ProgDir + "start.pel";
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(WriteDocument(name, *st.Proj, WriteModeDocument, DocumentContext{}));
        ASSERT_EQ(OpenDocumentState(st, name), ReadOk);
    }
    st.UndoOn = undo;
}

// One random edit through the commit: an object made current, renamed or
// moved, committed.
void RandomEdit(EditingState& st, std::mt19937& rng) {
    const int total = st.Proj->Obj.ObjTotal;
    SetCurObjIndex(st, std::uniform_int_distribution<int>(0, total - 1)(rng));
    SelectCurrentObject(st, st.Dialogs, true);
    Kind k;
    ASSERT_TRUE(CurrentKind(st, k));
    const int what = std::uniform_int_distribution<int>(0, 2)(rng);
    VisitKind(k, [&](auto kc) {
        auto& w = KindT<kc.value>::work(*st.Work);
        if constexpr (std::is_same_v<std::decay_t<decltype(w)>, DPoint>) {
            if (what == 0) {
                SetPos(w, {w.X.v, w.Y.v + 1, w.Z.v - 2});
                return;
            }
        }
        w.ID.s += static_cast<char>('a' + what);
    });
    ApplyObject(st, false);
}

std::size_t FilesIn(const std::string& folder) {
    std::size_t n = 0;
    for (const auto& f : fs::directory_iterator(folder)) n += f.is_regular_file();
    return n;
}

}  // namespace

TEST(Undo, FileNames) {
    EXPECT_EQ(UndoFileName("T/", 25), "T/Undo000025.pel");
    EXPECT_EQ(UndoFileName("T/", -5), "T/Undo-00005.pel");
    EXPECT_EQ(UndoFileName("T/", -199), "T/Undo-00199.pel");
    EXPECT_EQ(UndoFileName("T/", 123456), "T/Undo123456.pel");
}

// 230 random commits at depth 200: exactly 200 steps go back, each giving the
// document recorded on the way, and 200 go forward again; the document counts
// as changed after every step, and Undo and Redo follow the ends.
TEST(Undo, TwoHundredStepsBackAndForth) {
    Editing e;
    Populate(*e);
    std::mt19937 rng(13);
    std::vector<std::string> texts{Text(*e.doc)};
    for (int i = 0; i < 230; ++i) {
        RandomEdit(*e, rng);
        texts.push_back(Text(*e.doc));
    }
    EXPECT_EQ(e->UndoPos, 231);
    e->Untitled = false;
    SetChanged(*e, false);

    int back = 0;
    while (UndoStep(*e)) {
        ++back;
        ASSERT_EQ(FirstDifference(Text(*e.doc), texts[texts.size() - 1 - static_cast<std::size_t>(back)]), "") << "undo " << back;
        ASSERT_TRUE(e->Changed);
    }
    EXPECT_EQ(back, 200);
    EXPECT_EQ(e.commands.On(EditingCommand::Undo), 0);
    EXPECT_EQ(e.commands.On(EditingCommand::Redo), 1);
    EXPECT_TRUE(e.messages.shown.empty());

    int forward = 0;
    while (RedoStep(*e)) {
        ++forward;
        ASSERT_EQ(FirstDifference(Text(*e.doc), texts[texts.size() - 1 - static_cast<std::size_t>(back - forward)]), "")
            << "redo " << forward;
    }
    EXPECT_EQ(forward, 200);
    EXPECT_EQ(e.commands.On(EditingCommand::Redo), 0);
    EXPECT_EQ(e.commands.On(EditingCommand::Undo), 1);
}

// The depth is exactly the set number of steps, and the folder holds no
// more snapshots than that.
TEST(Undo, DepthIsTheSetNumberOfSteps) {
    for (int steps : {10, 37}) {
        Editing e;
        e->UndoSteps = steps;
        Populate(*e);
        std::mt19937 rng(static_cast<unsigned>(steps));
        for (int i = 0; i < steps + 15; ++i) RandomEdit(*e, rng);
        EXPECT_EQ(FilesIn(e->UndoFolder), static_cast<std::size_t>(steps));
        int back = 0;
        while (UndoStep(*e)) ++back;
        EXPECT_EQ(back, steps);
    }
}

// Pruning and a new change after undo remove the snapshots with their
// companions, so that a later snapshot of the same number never reads an
// old fill picture or curves file as its own.
TEST(Undo, PrunedAndDroppedStepsTakeTheirCompanions) {
    Editing e;
    e->UndoSteps = 10;
    QImage fill(40, 30, QImage::Format_ARGB32_Premultiplied);
    fill.fill(Qt::blue);
    e->BackPng = &fill;
    Populate(*e);
    e->Proj->FillValid = 1;
    std::mt19937 rng(5);
    for (int i = 0; i < 4; ++i) RandomEdit(*e, rng);
    for (int n = 1; n <= 4; ++n) {
        const std::string name = UndoFileName(e->UndoFolder, n);
        ASSERT_TRUE(fs::exists(CompanionFileName(name, ".grd.png"))) << n;
        std::ofstream(CompanionFileName(name, ".cur")) << "curves";
    }
    ASSERT_TRUE(UndoStep(*e));
    ASSERT_TRUE(UndoStep(*e));  // at 3; snapshots 4 and 5 are the redo chain
    e->Proj->FillValid = 0;
    RandomEdit(*e, rng);
    for (int n : {4, 5}) {
        const std::string name = UndoFileName(e->UndoFolder, n);
        EXPECT_FALSE(fs::exists(name)) << n;
        EXPECT_FALSE(fs::exists(CompanionFileName(name, ".cur"))) << n;
        EXPECT_FALSE(fs::exists(CompanionFileName(name, ".grd.png"))) << n;
    }
    // Snapshot 3 was written again without a fill picture: the old one is gone.
    EXPECT_FALSE(fs::exists(CompanionFileName(UndoFileName(e->UndoFolder, 3), ".grd.png")));
    for (int i = 0; i < 12; ++i) RandomEdit(*e, rng);
    for (const char* ext : {".pel", ".cur", ".grd.png"})
        EXPECT_FALSE(fs::exists(CompanionFileName(UndoFileName(e->UndoFolder, 1), ext))) << ext;
    // A document reset removes every undo file of the instance.
    UpdateObjectList(*e, true, true);
    EXPECT_EQ(FilesIn(e->UndoFolder), 0u);
    EXPECT_EQ(e->UndoPos, 1);
}

// A snapshot that cannot be written moves nothing and says so once (and
// again when Undo is asked for); a
// snapshot that cannot be read leaves the position, the commands and the
// document as they were, with a message.
TEST(Undo, FailuresMoveNothing) {
    Editing e;
    Populate(*e);
    std::mt19937 rng(9);
    RandomEdit(*e, rng);
    RandomEdit(*e, rng);
    const std::string folder = e->UndoFolder;
    std::ofstream(e.dir.folder() + "blocker") << "x";
    e->UndoFolder = e.dir.folder() + "blocker/sub/";
    RandomEdit(*e, rng);
    RandomEdit(*e, rng);
    EXPECT_EQ(e->UndoPos, 3);
    // Said once, with the snapshot and the reason: Undo will not take this
    // change back, and the change is made all the same.
    const std::string snapshot = UndoFileName(e->UndoFolder, 3);
    EXPECT_EQ(e.messages.shown, std::vector<std::string>{"Отмена не будет работать для этого изменения: не могу записать "
                                                         "файл отмены " + snapshot + ": часть пути не папка.\nСамо "
                                                         "изменение сделано."});
    // Undo asked for while snapshots fail: said again, nothing moves.
    EXPECT_FALSE(UndoStep(*e));
    EXPECT_EQ(e->UndoPos, 3);
    ASSERT_EQ(e.messages.shown.size(), 2u);
    EXPECT_EQ(e.messages.shown[1], "Отмена не работает: не могу записать файл отмены " + snapshot + ": часть пути не папка.");
    // Undo on without a folder of its own (the program folder cannot be
    // written): said at the first change, and whenever Undo is asked for.
    e->UndoFolder.clear();
    e.messages.shown.clear();
    RandomEdit(*e, rng);
    RandomEdit(*e, rng);
    ASSERT_EQ(e.messages.shown.size(), 1u);
    EXPECT_EQ(e.messages.shown[0].rfind("Отмена не работает", 0), 0u) << e.messages.shown[0];
    EXPECT_FALSE(UndoStep(*e));
    EXPECT_EQ(e.messages.shown.size(), 2u);
    EXPECT_EQ(e->UndoPos, 3);
    e.messages.shown.clear();
    e->UndoFolder = folder;
    RandomEdit(*e, rng);
    EXPECT_EQ(e->UndoPos, 4);

    std::ofstream(UndoFileName(folder, 3), std::ios::trunc) << "not a document";
    const std::string before = Text(*e.doc);
    e.commands.enabled.clear();
    e.messages.shown.clear();
    EXPECT_FALSE(UndoStep(*e));
    EXPECT_EQ(e->UndoPos, 4);
    EXPECT_EQ(FirstDifference(Text(*e.doc), before), "");
    EXPECT_EQ(e.commands.On(EditingCommand::Undo), -1);
    EXPECT_EQ(e.commands.On(EditingCommand::Redo), -1);
    ASSERT_EQ(e.messages.shown.size(), 1u);
    EXPECT_NE(e.messages.shown[0].find("Пелмар"), std::string::npos);

    fs::remove(UndoFileName(folder, 3));
    fs::copy_file(UndoFileName(folder, 2), UndoFileName(folder, 3));
    ASSERT_TRUE(UndoStep(*e));  // the present state is kept as snapshot 4
    fs::remove(UndoFileName(folder, 4));
    e.messages.shown.clear();
    EXPECT_FALSE(RedoStep(*e));
    EXPECT_EQ(e->UndoPos, 3);
    // The snapshot said, and why, in the interface's language.
    EXPECT_EQ(e.messages.shown,
              std::vector<std::string>{"Не могу открыть файл!\n\r" + UndoFileName(folder, 4) + ": файл не найден"});
}

namespace {

// Every Double of every object of a document, in kind order, but for the
// graphs the redraw traces (none is traced here).
std::vector<std::pair<std::string, double>> Doubles(const DProj& doc) {
    std::vector<std::pair<std::string, double>> all;
    std::size_t k = 0;
    ForEachStore(doc.Obj, [&](const auto& store) {
        const std::string code = KindTable[k++].code;
        for (std::size_t n = 1; n <= store.count(); ++n)
            ForEachDouble(store[n], code + std::to_string(n), [&](const std::string& at, double v) {
                if (at.find(".Curves") == std::string::npos && at.find(".Outlines") == std::string::npos)
                    all.emplace_back(at, v);
            });
    });
    return all;
}

}  // namespace

// Snapshots that cannot be written change nothing of what a save keeps: after
// new objects of every kind (some never edited again) and edits, the solids'
// spheres switched on and off among them, the saved document reopens with
// every Double of every object as it was (to the fifteen digits a file keeps
// of a real).
TEST(Undo, DocumentSavedAfterFailedSnapshotsReopensAsItWas) {
    Editing e;
    std::ofstream(e.dir.folder() + "blocker") << "x";
    e->UndoFolder = e.dir.folder() + "blocker/sub/";
    for (const KindInfo& k : KindTable) ASSERT_TRUE(NewDefaultObject(*e, k.kind));
    std::mt19937 rng(4);
    for (int i = 0; i < 30; ++i) {
        RandomEdit(*e, rng);
        Kind k;
        ASSERT_TRUE(CurrentKind(*e, k));
        VisitKind(k, [&](auto kc) {
            auto& w = KindT<kc.value>::work(*e->Work);
            if constexpr (requires { w.InSphereOn; }) {
                Ed<bool>& on = rng() % 2 ? w.OutSphereOn : w.InSphereOn;
                on.v = !on.v;
                ApplyObject(*e, false);
            }
        });
    }
    ASSERT_EQ(e.messages.shown.size(), 1u);
    EXPECT_NE(e.messages.shown[0].find(": часть пути не папка."), std::string::npos) << e.messages.shown[0];
    const std::string name = e.dir.folder() + "drawing.pel";
    ASSERT_TRUE(WriteDocument(name, *e.doc, WriteModeDocument, DocumentContext{}));

    Editing f("2");
    ASSERT_EQ(OpenDocumentState(*f, name), ReadOk);
    const auto saved = Doubles(*e.doc), reopened = Doubles(*f.doc);
    ASSERT_EQ(saved.size(), reopened.size());
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < saved.size(); ++i) {
        const double a = saved[i].second, b = reopened[i].second;
        if (!(std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(a))))
            changed.push_back(saved[i].first + ": " + std::to_string(a) + " reopened " + std::to_string(b));
    }
    EXPECT_TRUE(changed.empty()) << changed.size() << " values changed:" << JoinPaths(changed);
}

// An edit drag is one undo step, taken before its first change; a press
// and release without a move takes none.
TEST(Undo, DragIsOneStepFromBeforeItsFirstMove) {
    Editing e;
    Populate(*e);
    SetCurObjIndex(*e, 0);
    SelectCurrentObject(*e, e->Dialogs, true);
    const std::string start = Text(*e.doc);
    const int pos = e->UndoPos;
    {
        EditedDocument::Drag drag(*e.edited);
        drag.beginEdit();
    }
    EXPECT_EQ(e->UndoPos, pos);

    {
        EditedDocument::Drag drag(*e.edited);
        drag.beginEdit();
        for (int move = 1; move <= 3; ++move) {
            const FillWatch watch = drag.step();
            SetPos(e->Copies.CurPoint, {0, 50.0 + move, 60});
            ApplyObject(*e, false);
        }
    }
    EXPECT_EQ(e->UndoPos, pos + 1);
    EXPECT_EQ(e->UndoHeld, 0);
    ASSERT_TRUE(UndoStep(*e));
    EXPECT_EQ(FirstDifference(Text(*e.doc), start), "");
}

// Two running programs keep their snapshots apart under one program folder:
// each in its own folder under "Temp/", the clipboard file beside them.
TEST(Undo, InstancesKeepTheirOwnSnapshots) {
    {
        Editing e;
        SetProgramFolder(*e, e.dir.folder());
        const std::string temp = e.dir.folder() + "Temp/";
        EXPECT_EQ(e->UndoFolder.rfind(temp, 0), 0u);
        EXPECT_GT(e->UndoFolder.size(), temp.size());
        Populate(*e);
        std::mt19937 rng(1);
        RandomEdit(*e, rng);
        EXPECT_TRUE(fs::exists(UndoFileName(e->UndoFolder, 1)));
        EXPECT_FALSE(fs::exists(UndoFileName(temp, 1)));
    }
    Editing a("1");
    Editing b("2");
    b->ProgDir = a->ProgDir;
    b->UndoFolder = a->ProgDir + "Temp/2/";
    Populate(*a);
    Populate(*b);
    std::mt19937 rng(3);
    RandomEdit(*a, rng);
    const std::string aBefore = Text(*a.doc);
    RandomEdit(*a, rng);
    for (int i = 0; i < 3; ++i) RandomEdit(*b, rng);
    DeleteUndoFiles(*b);
    ASSERT_TRUE(UndoStep(*a));
    EXPECT_EQ(FirstDifference(Text(*a.doc), aBefore), "");
}

// The keys typed into one field are one step while nothing else moves the
// history; a Redo that cannot read its state says so and changes nothing.
TEST(Undo, JoinedStepsAndARedoThatCannotRead) {
    Editing e;
    Populate(*e);
    SetCurObjIndex(*e, 0);
    SelectCurrentObject(*e, e->Dialogs, true);
    const auto key = [&](char c) { e->Copies.CurPoint.ID.s += c; };
    const std::string start = Text(*e.doc);
    const int pos = e->UndoPos;
    std::uint64_t step = 0;
    for (char c : std::string("150")) key(c), e.edited->commitInStep(false, step);
    EXPECT_EQ(e->UndoPos, pos + 1) << "one snapshot for three keys";
    ASSERT_TRUE(e.edited->undo());
    EXPECT_EQ(FirstDifference(Text(*e.doc), start), "");
    // A key of the field after the Undo is a step of its own and ends Redo.
    key('7'), e.edited->commitInStep(false, step);
    EXPECT_FALSE(e->RedoEnabled);
    ASSERT_TRUE(e.edited->undo());
    EXPECT_EQ(FirstDifference(Text(*e.doc), start), "");

    // The state Redo brings back lost from the disk: told, nothing changes.
    std::mt19937 rng(7);
    RandomEdit(*e, rng);
    ASSERT_TRUE(e.edited->undo());
    ASSERT_TRUE(e->RedoEnabled);
    const std::string before = Text(*e.doc);
    fs::remove(UndoFileName(e->UndoFolder, e->UndoPos + 1));
    e.messages.shown.clear();
    const int at = e->UndoPos;
    EXPECT_FALSE(e.edited->redo());
    EXPECT_EQ(e.messages.shown.size(), 1u);
    EXPECT_EQ(e->UndoPos, at);
    EXPECT_EQ(FirstDifference(Text(*e.doc), before), "");
}

// Undo and Redo asked for while a mouse button is held wait for the
// release, and then run in order on the document the drag left.
TEST(Undo, CommandsWaitWhileAButtonIsHeld) {
    Editing e;
    Populate(*e);
    SetCurObjIndex(*e, 0);
    SelectCurrentObject(*e, e->Dialogs, true);
    const std::string start = Text(*e.doc);
    std::string dragged;
    {
        EditedDocument::Drag drag(*e.edited);
        drag.beginEdit();
        {
            const FillWatch watch = drag.step();
            SetPos(e->Copies.CurPoint, {0, 51, 60});
            ApplyObject(*e, false);
        }
        EXPECT_FALSE(e.edited->undo()) << "waits";
        EXPECT_FALSE(UndoStep(*e)) << "refused while the button is held";
        dragged = Text(*e.doc);
        drag.leftReleased();
    }
    EXPECT_EQ(FirstDifference(Text(*e.doc), dragged), "") << "not before the event loop comes round";
    QCoreApplication::processEvents();
    EXPECT_EQ(FirstDifference(Text(*e.doc), start), "") << "the drag was undone whole";
    ASSERT_TRUE(e->RedoEnabled);
    ASSERT_TRUE(e.edited->redo());
    EXPECT_EQ(FirstDifference(Text(*e.doc), dragged), "");
    EXPECT_TRUE(e.messages.shown.empty());
}
