// The windows' state a document keeps comes back on Open as the file says,
// so that saving again writes the same bytes: the picture window where the
// default layout put it on a main window wider than the screen, and the
// focused control on the second page of each tabbed object dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTabWidget>
#include <algorithm>

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
    Scratch dir;
    SavingQuestions answers;
    NoPrinter printer;
    FakeExportHost exporter;
    Application app(Application::Folders{dir.folder("prog"), {WindowSession::shipped()}, dir.folder("Documents")});
    for (Kind k : {Kind::tr, Kind::kv, Kind::xy, Kind::xz}) answers.counts[Slot(k)] = 1;
    const std::unique_ptr<Form1> w = StartMainWindow(app, answers, printer, exporter);
    const auto run = [&w](MainCommand c) {
        w->menuAction(c)->trigger();
        QApplication::processEvents();
    };
    run(MainCommand::New);
    QMdiSubWindow* sub = w->pictureWindow();
    const QRect laid = sub->geometry();
    ASSERT_FALSE(w->screen()->availableGeometry().contains(QRect(sub->parentWidget()->mapToGlobal(laid.topLeft()), laid.size())))
        << "the main window is wider than the screen: the layout puts the picture window past its edge";

    // A check box on the second page of each tabbed dialog has the focus.
    const std::pair<Kind, const char*> cases[] = {
        {Kind::tr, "CheckBoxTbEn1"}, {Kind::kv, "CheckBoxKd13En"}, {Kind::xy, "CheckBoxX21"}, {Kind::xz, "CheckBoxY1"}};
    for (const auto& [kind, name] : cases) {
        QWidget* d = OpenKind(*w, kind);
        ASSERT_TRUE(d) << name;
        Find<QTabWidget>(*d, "PageControl1")->setCurrentIndex(1);
        Find<QWidget>(*d, name)->setFocus();
        answers.saveName = answers.openName = dir.path(std::string(name) + ".pel");
        run(MainCommand::SaveAs);
        const std::string first = ReadBytes(answers.saveName);
        ASSERT_FALSE(first.empty()) << name;

        run(MainCommand::Open);
        d = w->dialogSession().registry().dialog(kind);
        ASSERT_TRUE(d) << name;
        ShowActive(*d);  // the user comes back to the dialog
        EXPECT_EQ(Find<QTabWidget>(*d, "PageControl1")->currentIndex(), 1) << name;
        EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>(*d, name)) << name;
        EXPECT_EQ(sub->geometry(), laid) << name;
        EXPECT_FALSE(sub->isMaximized() || sub->isMinimized()) << name;
        run(MainCommand::SaveAs);
        const std::string second = ReadBytes(answers.saveName);
        const auto at = std::mismatch(first.begin(), first.end(), second.begin(), second.end());
        EXPECT_TRUE(at.first == first.end() && at.second == second.end())
            << name << ": saved again, it differs from byte " << (at.first - first.begin()) << ", "
            << std::string(at.first, std::min(at.first + 30, first.end())) << " against "
            << std::string(at.second, std::min(at.second + 30, second.end()));
    }
}
