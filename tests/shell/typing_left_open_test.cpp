// A number left half typed in an object dialog (no Return, the field not
// left) while a command rebuilds the object list: the dialog closes, and
// what it held must not land on another object.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <string>
#include <utility>

#include "files/document.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;

// Two 3D systems; "7" typed into the division length of the second, then a
// command that rebuilds the object list.  The first system keeps its own
// record, and a document saved, opened and saved again gives the same bytes.
TEST(TypingLeftOpen, ClosedDialogCommitsNothingOverAnotherObject) {
    const std::pair<const char*, MainCommand> rows[] = {{"another document opened", MainCommand::Open},
                                                        {"a new 2D system", MainCommand::NewXY}};
    for (const auto& [name, command] : rows) {
        SCOPED_TRACE(name);
        WindowSession s;
        s.answers.counts[Slot(Kind::xz)] = 2;
        StartNew(s);
        DProj& d = s.w->document();
        ASSERT_EQ(d.Obj.Xz.count(), 2);
        const DXZ first = d.Obj.Xz[1], second = d.Obj.Xz[2];
        ASSERT_NE(first.ID.s, second.ID.s);
        d.CurObjNo = -1, d.ActiveKind = 0;
        s.answers.openName = s.dir.path("two.pel");
        ASSERT_TRUE(WriteDocument(s.answers.openName, d, WriteModeDocument, DocumentContext{}));

        QWidget* dialog = OpenKind(*s.w, Kind::xz, 2);
        ASSERT_NE(dialog, nullptr);
        TypeIn(*dialog, "EditYRaz", "7", Qt::Key_unknown);
        ASSERT_EQ(dialog->findChild<QLineEdit*>("EditYRaz")->text(), "7");

        s.w->menuAction(command)->trigger();
        QApplication::processEvents();

        const DProj& now = s.w->document();
        ASSERT_EQ(now.Obj.Xz.count(), 2);
        EXPECT_EQ(now.Obj.Xz[1].ID.s, first.ID.s);
        EXPECT_EQ(now.Obj.Xz[1].Div.v, first.Div.v);
        EXPECT_EQ(now.Obj.Xz[1].Center.Y.v, first.Center.Y.v);
        EXPECT_EQ(now.Obj.Xz[2].ID.s, second.ID.s);

        const std::string once = s.dir.path("once.pel"), twice = s.dir.path("twice.pel");
        ASSERT_TRUE(WriteDocument(once, s.w->document(), WriteModeDocument, DocumentContext{}));
        s.answers.openName = once;
        s.w->menuAction(MainCommand::Open)->trigger();
        ASSERT_TRUE(WriteDocument(twice, s.w->document(), WriteModeDocument, DocumentContext{}));
        EXPECT_EQ(ReadBytes(once), ReadBytes(twice));
        s.stop();
    }
}
