#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

#include "dialog_test_util.h"
#include "dialogs/brush_kind.h"
#include "dialogs/color_bar.h"
#include "dialogs/color_combo.h"
#include "dialogs/fill_dialog.h"
#include "shell/word_table.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct FakeHost : DialogCommit, ColorChooser, MessageSink {
    int applies = 0, repaints = 0;
    std::optional<TColor> answer;
    std::vector<TColor> asked;
    std::vector<std::string> messages;
    void ApplyObject(bool writeBack) override {
        EXPECT_TRUE(writeBack);
        ++applies;
    }
    void RepaintProject() override { ++repaints; }
    bool NoRedraw() const override { return false; }
    std::optional<TColor> chooseColor(TColor initial) override {
        asked.push_back(initial);
        return answer;
    }
    void showMessage(const std::string& text) override { messages.push_back(text); }
};

// The fill blocks of all ten fillable working copies, by BrushKind.
std::vector<DFill> Fills(WorkingCopies& w) {
    std::vector<DFill> f;
    for (std::uint8_t k = 1; k <= 10; ++k) f.push_back(*BrushFill(w, k));
    return f;
}

// Runs the fill dialog; `script` acts on it once its modal loop runs.
void RunScripted(std::uint8_t kind, WorkingCopies& work, bool twoColours, FakeHost& host, const WordTable& words,
         std::function<void(TFormBrush&)> script) {
    QTimer::singleShot(0, [script] {
        auto* form = qobject_cast<TFormBrush*>(QApplication::activeModalWidget());
        if (!form) {
            ADD_FAILURE() << "no fill dialog";
            QCoreApplication::exit(1);  // ends the modal loop
            return;
        }
        script(*form);
    });
    RunFillDialog(kind, work, twoColours, host, host, host, words, nullptr);
}

}  // namespace

// The fill switch reaches the working copy BrushKind names and no other;
// numbers outside 1..10 touch nothing; the picture is redrawn once, after the
// dialog has closed.
TEST(FillDialog, BrushKindChoosesTheWorkingCopy) {
    WordTable words;
    words.LoadWords("");
    for (std::uint8_t kind = 0; kind <= 11; ++kind) {
        auto work = std::make_unique<WorkingCopies>();
        const auto before = Fills(*work);
        FakeHost host;
        RunScripted(kind, *work, false, host, words, [&](TFormBrush& f) {
            EXPECT_EQ(host.repaints, 0);
            ClickIndicator(f.CheckBox1);
            f.Button1->click();
        });
        const auto after = Fills(*work);
        for (std::uint8_t k = 1; k <= 10; ++k)
            EXPECT_EQ(after[k - 1].On, before[k - 1].On != (k == kind)) << int(kind) << " " << int(k);
        EXPECT_EQ(host.applies, kind >= 1 && kind <= 10 ? 1 : 0) << int(kind);
        EXPECT_EQ(host.repaints, 1);
    }
    auto work = std::make_unique<WorkingCopies>();
    EXPECT_EQ(BrushFill(*work, std::uint8_t(PyramidBrushKind("i4"))), &work->CurPi4.Fill);
    EXPECT_EQ(BrushFill(*work, std::uint8_t(PyramidBrushKind("i3"))), &work->CurPi3.Fill);
    EXPECT_EQ(BrushFill(*work, std::uint8_t(PrismBrushKind("r4"))), &work->CurPr4.Fill);
    EXPECT_EQ(BrushFill(*work, std::uint8_t(PrismBrushKind("r3"))), &work->CurPr3.Fill);
}

// The colour bars: a chosen colour is stored, shown and committed; Cancel or
// the same colour does nothing; with two shading colours the third bar only
// says so; Esc closes.
TEST(FillDialog, ColourBars) {
    WordTable words;
    words.LoadWords("");
    auto work = std::make_unique<WorkingCopies>();
    DFill& fill = work->CurTri.Fill;
    fill.Colors = {0x0000FF, 0x00FF00, 0xFF0000};
    FakeHost host;
    RunScripted(std::uint8_t(BrushKind::triangle), *work, true, host, words, [&](TFormBrush& f) {
        EXPECT_EQ(f.windowTitle(), "Заливка");
        EXPECT_EQ(f.CheckBox1->text(), "Заливка");
        EXPECT_FALSE(f.CheckBox1->isChecked());
        EXPECT_EQ(f.Panel3->color(), QColor(0, 0, 255));

        QTest::mouseClick(f.Panel3, Qt::LeftButton);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0], "Измените опцию проекта!");
        EXPECT_TRUE(host.asked.empty());

        host.answer = 0x00FFFF;
        QTest::mouseClick(f.Panel1, Qt::LeftButton);
        EXPECT_EQ(host.asked.back(), 0x0000FFu);
        EXPECT_EQ(f.Panel1->color(), QColor(255, 255, 0));
        host.answer.reset();
        f.Panel2->setFocus();
        QTest::keyClick(f.Panel2, Qt::Key_Space);
        host.answer = 0x00FF00;  // the colour it has
        QTest::mouseClick(f.Panel2, Qt::LeftButton);
        EXPECT_EQ(host.asked.size(), 3u);
        QTest::keyClick(&f, Qt::Key_Escape);
    });
    EXPECT_EQ(fill.Colors, (std::array<TColor, 3>{0x00FFFF, 0x00FF00, 0xFF0000}));
    EXPECT_EQ(host.applies, 1);
    EXPECT_EQ(host.repaints, 1);
}
