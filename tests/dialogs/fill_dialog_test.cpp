#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTimer>
#include <memory>
#include <vector>

#include "dialog_test_util.h"
#include "dialogs/brush_kind.h"
#include "dialogs/ui/color_bar.h"
#include "dialogs/ui/color_combo.h"
#include "dialogs/ui/fill_dialog.h"
#include "files/word_table.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct FakeHost : DialogCommit, ColorChooser, MessageSink {
    int applies = 0, repaints = 0;
    std::optional<TColor> answer;
    std::vector<TColor> asked;
    std::vector<std::string> messages;
    void ApplyObjectInStep(bool writeBack, std::uint64_t&) override { ApplyObject(writeBack); }
    std::uint64_t BeforeDocumentChange() override { return 0; }
    void ApplyObject(bool) override { ++applies; }
    void RepaintProject() override { ++repaints; }
    bool NoRedraw() const override { return false; }
    std::optional<TColor> chooseColor(TColor initial) override {
        asked.push_back(initial);
        return answer;
    }
    void showMessage(const std::string& text) override { messages.push_back(text); }
};

// Runs the fill dialog for `kind`; `script` acts on it inside its modal loop.
void RunScripted(std::uint8_t kind, WorkingCopies& work, bool twoColours, FakeHost& host,
                 std::function<void(TFormBrush&)> script) {
    static WordTable words;
    words.LoadWords("");
    QTimer::singleShot(0, [script] {
        auto* form = qobject_cast<TFormBrush*>(QApplication::activeModalWidget());
        if (form) {
            script(*form);
            return;
        }
        ADD_FAILURE() << "no fill dialog";
        QCoreApplication::exit(1);  // ends the modal loop
    });
    RunFillDialog(kind, work, twoColours, host, host, host, words, nullptr);
}

}  // namespace

// The fill switch reaches the working copy BrushKind names and no other;
// numbers outside 1..10 touch nothing; the picture is redrawn once, after the
// dialog has closed.
TEST(FillDialog, BrushKindChoosesTheWorkingCopy) {
    for (std::uint8_t kind = 0; kind <= 11; ++kind) {
        auto work = std::make_unique<WorkingCopies>();
        FakeHost host;
        RunScripted(kind, *work, false, host, [&](TFormBrush& f) {
            ClickIndicator(f.CheckBox1);
            EXPECT_EQ(host.repaints, 0);
            f.Button1->click();
        });
        for (std::uint8_t k = 1; k <= 10; ++k) EXPECT_EQ(BrushFill(*work, k)->On, k == kind) << int(kind);
        EXPECT_EQ(std::pair(host.applies, host.repaints), std::pair(kind >= 1 && kind <= 10 ? 1 : 0, 1));
    }
    auto work = std::make_unique<WorkingCopies>();
    EXPECT_EQ(BrushFill(*work, std::uint8_t(PyramidBrushKind("i4"))), &work->CurPi4.Fill);
    EXPECT_EQ(BrushFill(*work, std::uint8_t(PrismBrushKind("r3"))), &work->CurPr3.Fill);
}

// The colour bars: a chosen colour is stored, shown and committed; Cancel or
// the colour it had does nothing; with two shading colours the third bar only
// says so; Esc closes.
TEST(FillDialog, ColourBars) {
    auto work = std::make_unique<WorkingCopies>();
    DFill& fill = work->CurTri.Fill;
    fill.Colors = {0x0000FF, 0x00FF00, 0xFF0000};
    FakeHost host;
    RunScripted(std::uint8_t(BrushKind::triangle), *work, true, host, [&](TFormBrush& f) {
        EXPECT_EQ(f.windowTitle(), "Заливка");
        EXPECT_EQ(f.CheckBox1->text(), "Заливка");
        EXPECT_EQ(f.Panel3->color(), QColor(0, 0, 255));
        QTest::mouseClick(f.Panel3, Qt::LeftButton);
        EXPECT_EQ(host.messages, std::vector<std::string>{"Измените опцию проекта!"});
        host.answer = 0x00FFFF;
        QTest::mouseClick(f.Panel1, Qt::LeftButton);
        EXPECT_EQ(f.Panel1->color(), QColor(255, 255, 0));
        host.answer.reset();
        f.Panel2->setFocus();
        QTest::keyClick(f.Panel2, Qt::Key_Space);
        host.answer = 0x00FF00;
        QTest::mouseClick(f.Panel2, Qt::LeftButton);
        QTest::keyClick(&f, Qt::Key_Escape);
    });
    EXPECT_EQ(host.asked, (std::vector<TColor>{0x0000FF, 0x00FF00, 0x00FF00}));
    EXPECT_EQ(fill.Colors, (std::array<TColor, 3>{0x00FFFF, 0x00FF00, 0xFF0000}));
    EXPECT_EQ(std::pair(host.applies, host.repaints), std::pair(1, 1));
}
