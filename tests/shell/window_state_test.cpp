// The windows' state a document keeps comes back on Open as the file says,
// so that saving again writes the same bytes: the picture window where the
// default layout put it on a main window wider than the screen, and the
// focused control on the second page of each tabbed object dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTabWidget>

#include "dialogs/dialog_test_util.h"
#include "window_session.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// Saves under one name, over the file saved before.
struct SavingQuestions : QuietQuestions {
    std::string saveName;
    bool askYesNo(const std::string&) override { return true; }
    std::string chooseSaveFile(const std::string&, const std::string&, bool) override { return saveName; }
};

}  // namespace

TEST(WindowState, OpenGivesBackWhatTheFileSays) {
    SavingQuestions answers;
    for (Kind k : {Kind::tr, Kind::kv, Kind::xy, Kind::xz}) answers.counts[Slot(k)] = 1;
    WindowSession s;
    StartWith(s, answers);
    Form1& w = *s.w;
    const auto run = [&w](MainCommand c) {
        w.menuAction(c)->trigger();
        QApplication::processEvents();
    };
    run(MainCommand::New);
    QMdiSubWindow* sub = w.pictureWindow();
    const QRect laid = sub->geometry();
    ASSERT_FALSE(w.screen()->availableGeometry().contains(QRect(sub->parentWidget()->mapToGlobal(laid.topLeft()), laid.size())))
        << "the main window is wider than the screen: the layout puts the picture window past its edge";

    // A check box on the second page of each tabbed dialog has the focus.
    const std::pair<Kind, const char*> cases[] = {
        {Kind::tr, "CheckBoxTbEn1"}, {Kind::kv, "CheckBoxKd13En"}, {Kind::xy, "CheckBoxX21"}, {Kind::xz, "CheckBoxY1"}};
    for (const auto& [kind, name] : cases) {
        SCOPED_TRACE(name);
        QWidget* d = OpenKind(w, kind);
        ASSERT_TRUE(d);
        Find<QTabWidget>(*d, "PageControl1")->setCurrentIndex(1);
        Find<QWidget>(*d, name)->setFocus();
        answers.saveName = answers.openName = s.dir.path(std::string(name) + ".pel");
        run(MainCommand::SaveAs);
        const std::string first = ReadBytes(answers.saveName);
        ASSERT_FALSE(first.empty());

        run(MainCommand::Open);
        d = w.dialogSession().registry().dialog(kind);
        ASSERT_TRUE(d);
        ShowActive(*d);  // the user comes back to the dialog
        EXPECT_EQ(Find<QTabWidget>(*d, "PageControl1")->currentIndex(), 1);
        EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>(*d, name));
        EXPECT_EQ(sub->geometry(), laid);
        EXPECT_FALSE(sub->isMaximized() || sub->isMinimized());
        run(MainCommand::SaveAs);
        EXPECT_TRUE(ReadBytes(answers.saveName) == first) << "saved again, the file differs";
    }
}
