// The dialog controls side by side in the windows they live in.  The test
// checks that no control is cut off by its window; with PELMAR_GALLERY_SHOT
// set to a file name (under an X server, see scripts/dialog-shots.sh) it also
// takes a screenshot of the screen with the windows on it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QProcess>
#include <QTest>
#include <memory>

#include "dialog_test_util.h"
#include "dialogs/ui/fill_dialog.h"
#include "sample_dialog.h"
#include "files/word_table.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct NoHost : ColorChooser, MessageSink {
    std::optional<TColor> chooseColor(TColor) override { return std::nullopt; }
    void showMessage(const std::string&) override {}
};

}  // namespace

TEST(ControlGallery, EveryControlFitsItsWindow) {
    WordTable words;
    words.LoadWords("");
    FakeCore core;
    core.place = {20, 20, false};
    core.work = {"Point №1", 250, 4, 2, 2, 33.5};
    SampleDialog dlg(core);
    dlg.setObjectName("SampleDialog");
    dlg.VarToForm(core.work);

    core.place = {420, 200, false};
    SampleDialog disabled(core);
    disabled.setObjectName("SampleDisabled");
    disabled.VarToForm(core.work);
    for (QWidget* w : disabled.body()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != disabled.RadioTyp) w->setEnabled(false);
    disabled.RadioTyp->setItemEnabled(2, false);

    auto work = std::make_unique<WorkingCopies>();
    work->CurCircle.Fill = {true, {0x0000FF, 0x00FFFF, 0xFF0000}};
    NoHost host;
    TFormBrush fill(&work->CurCircle.Fill, false, core, host, host, words);
    fill.move(420, 20);

    for (QWidget* w : {static_cast<QWidget*>(&dlg), static_cast<QWidget*>(&disabled), static_cast<QWidget*>(&fill)}) {
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    }
    ExpectNothingClipped(dlg);
    ExpectNothingClipped(fill);
    EXPECT_TRUE(fill.CheckBox1->isChecked());

    // The screen as it is, then with the colour list open: "<name>.png" and
    // "<name>-popup.png".
    const QString shot = QString::fromLocal8Bit(qgetenv("PELMAR_GALLERY_SHOT"));
    if (shot.isEmpty()) return;
    const QString base = shot.endsWith(".png") ? shot.chopped(4) : shot;
    QTest::qWait(300);  // let the windows paint before the screen is taken
    EXPECT_EQ(QProcess::execute("import", {"-window", "root", base + ".png"}), 0);
    dlg.findChild<QComboBox*>("ColorCol")->showPopup();
    QTest::qWait(300);
    EXPECT_EQ(QProcess::execute("import", {"-window", "root", base + "-popup.png"}), 0);
    dlg.findChild<QComboBox*>("ColorCol")->hidePopup();
}
