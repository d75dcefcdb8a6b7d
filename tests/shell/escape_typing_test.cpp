// Esc in an object dialog's number field after a number the field does not
// take (past the range of coordinates, past the field's bounds): whatever
// the live preview took of it on the way is taken back.  The document is as
// it was before the typing - its file text, its undo steps, its changed
// mark - and the field shows the value it held.
#include <gtest/gtest.h>

#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <set>

#include "dialogs/dialog_test_util.h"
#include "dialogs/ui/object_dialog.h"
#include "dialogs/ui/radio_group.h"
#include "editing/edited_document.h"
#include "files/document.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct EscapeQuestions : QuietQuestions {
    std::string saveName;
    std::string chooseSaveFile(const std::string&, const std::string&, bool) override { return saveName; }
};

// The page holding `field` brought to the front of its dialog.
void ShowPageOf(QWidget* field) {
    for (QWidget* w = field; w && w->parentWidget(); w = w->parentWidget())
        if (auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget()))
            if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget())) tabs->setCurrentWidget(w);
}

// Fields whose preview takes no key of "1234567" in a new drawing: a circle
// has no tilt, and an arc start past the arc's end of 0 is a rule's to
// change when the field is left.  Every other field takes keys on the way,
// so that each row tests the take-back.
const std::set<std::pair<Kind, QString>> NothingTaken = {{Kind::ci, "EditCAn"}, {Kind::ci, "EditCDug1"}};
// The fields the fault was seen in.
const std::set<std::pair<Kind, QString>> Named = {{Kind::po, "EditPx"}, {Kind::li, "EditLx1"}, {Kind::ci, "SpinEditCx"}};

// The first line where the file texts differ.
std::string FirstDifference(const std::string& a, const std::string& b) {
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    const std::size_t line = a.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t from = line == std::string::npos ? 0 : line + 1;
    return "first difference: '" + a.substr(from, a.find('\n', at) - from) + "' became '" +
           b.substr(from, b.find('\n', at) - from) + "'";
}

}  // namespace

// One row per live number field of every kind's dialog (each enabled one of
// a new document with one object of each kind): "1234567" typed key by key,
// then Esc.
TEST(EscapeTyping, EscapeAfterARefusedNumberLeavesTheDocumentAsBefore) {
    WindowSession s;
    EscapeQuestions q;
    q.counts.fill(1);
    q.saveName = s.dir.path("escape.pel");
    StartNew(s, q);
    s.w->menuAction(MainCommand::SaveAs)->trigger();
    EditingState& st = s.w->editing();
    ASSERT_FALSE(st.Changed);
    const auto content = [&] {
        s.app->edited().ensureStored();
        return DocumentContentText(s.w->document());
    };
    const std::string saved = content();
    int rows = 0, taken = 0;
    std::set<std::pair<Kind, QString>> seen;
    for (int k = 1; k <= KindCount; ++k) {
        auto* d = qobject_cast<ObjectDialog*>(s.open(Kind(k)));
        if (!d) continue;
        for (QWidget* field : d->liveNumberFields()) {
            ShowPageOf(field);
            if (!field->isEnabled() || !field->isVisible()) continue;
            const QString name = field->objectName();
            SCOPED_TRACE(d->objectName().toStdString() + " " + name.toStdString());
            ++rows;
            seen.insert({Kind(k), name});
            QLineEdit* line = LineOf(field);
            const QString held = line->text();
            const int pos = st.UndoPos;
            const bool changed = st.Changed;
            const std::string before = content();
            field->setFocus();
            line->selectAll();
            for (QChar key : QString("1234567")) QTest::keyClicks(field, QString(key));
            const bool tookSome = st.UndoPos != pos || content() != before;
            taken += tookSome;
            EXPECT_EQ(tookSome, !NothingTaken.contains({Kind(k), name})) << "keys taken on the way";
            QTest::keyClick(field, Qt::Key_Escape);
            EXPECT_EQ(line->text(), held);
            EXPECT_TRUE(field->hasFocus()) << "Esc leaves the focus in the field";
            d->setFocus();  // the field left: nothing more is stored
            QApplication::processEvents();
            EXPECT_EQ(line->text(), held);
            EXPECT_EQ(st.UndoPos, pos) << "no undo step";
            EXPECT_EQ(st.Changed, changed) << "the changed mark as before";
            const std::string now = content();
            EXPECT_TRUE(now == before) << FirstDifference(before, now);
        }
    }
    for (const auto& must : Named) EXPECT_TRUE(seen.contains(must)) << must.second.toStdString();
    std::printf("%d live fields, %d of them took keys on the way\n", rows, taken);
    EXPECT_GE(rows, 60);

    EXPECT_FALSE(st.Changed);
    EXPECT_FALSE(s.w->commandEnabled(MainCommand::Undo));
    // What Save writes is the drawing as it was.
    s.w->menuAction(MainCommand::Save)->trigger();
    auto back = NewDocument();
    std::uint8_t version = 0;
    ASSERT_EQ(ReadDocument(q.saveName, *back, version, ReadModeOpen), ReadOk);
    EXPECT_TRUE(DocumentContentText(*back) == saved);
}

// A typing whose keys were all taken ends when the field is left, though no
// number waits: Esc in a later typing of the same field goes back to where
// that later typing began, never over a change made in between.
TEST(EscapeTyping, EscapeGoesBackToTheStartOfItsOwnTyping) {
    WindowSession s;
    s.answers.counts.fill(1);
    StartNew(s);
    EditingState& st = s.w->editing();
    QWidget* d = s.open(Kind::po);
    ASSERT_TRUE(d);
    const DPoint& stored = s.w->document().Obj.Po[1];
    TypeIn(*d, "EditPx", "150", Qt::Key_Tab);
    ASSERT_EQ(stored.ScrX.v, 150);
    auto* type = d->findChild<TRadioGroup*>("RadioGroupPTyp");
    type->button(0)->setFocus();
    ClickIndicator(type->button(0));
    ASSERT_EQ(stored.Typ.v, 1);
    const int pos = st.UndoPos;
    TypeIn(*d, "EditPx", "1234567", Qt::Key_Escape);
    EXPECT_EQ(d->findChild<QLineEdit*>("EditPx")->text(), "150");
    EXPECT_EQ(stored.ScrX.v, 150);
    EXPECT_EQ(stored.Typ.v, 1) << "the type chosen after the first typing stays";
    EXPECT_EQ(st.UndoPos, pos);
}
