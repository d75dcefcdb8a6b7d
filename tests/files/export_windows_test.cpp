#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QApplication>

#include "files/ui/bit_colors_dialog.h"
#include "files/ui/spin_edit.h"
#include "support/key_rows.h"
#include "files/ui/png_progress_window.h"
#include "support/find_child.h"

using namespace pelmar;
using pelmar::test::Find;

namespace {

// Clicks the named button of the dialog once its modal loop runs.
void ClickLater(QWidget& w, const char* name) {
    QTimer::singleShot(0, &w, [&w, name] { w.findChild<QPushButton*>(name)->click(); });
}

}  // namespace

TEST(FormBitColors, ControlsFoundByNameWithTheirTexts) {
    TFormBitColors form;
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Параметры растрового экспорта"));
    auto* group = Find<QGroupBox>(form, "RadioGroup1");
    EXPECT_EQ(group->title(), QString::fromUtf8("Количество цветов"));
    const auto items = group->findChildren<QRadioButton*>();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), "2");
    EXPECT_EQ(items[3]->text(), "16M");
    EXPECT_TRUE(items[2]->isChecked());  // "256" from the start
    EXPECT_EQ(Find<QGroupBox>(form, "GroupBox1")->title(), QString::fromUtf8("Разное"));
    EXPECT_EQ(Find<QCheckBox>(form, "CheckBox1")->text(), QString::fromUtf8("Прозрачный цвет фона"));
    EXPECT_EQ(Find<QLabel>(form, "Label1")->text(), QString::fromUtf8("Сжатие:"));
    auto* spin = Find<QSpinBox>(form, "SpinEdit1");
    EXPECT_EQ(spin->minimum(), 1);
    EXPECT_EQ(spin->maximum(), 100);
    EXPECT_EQ(spin->value(), 100);
    EXPECT_EQ(Find<QPushButton>(form, "Button1")->text(), "Ok");
    EXPECT_EQ(Find<QPushButton>(form, "Button2")->text(), QString::fromUtf8("Отмена"));
}

TEST(FormBitColors, SetUpForJpegThenOk) {
    TFormBitColors form;
    int wordsPut = 0;
    form.onWords = [&](TFormBitColors&) { ++wordsPut; };
    BitColorsSetup setup;
    setup.itemEnabled = {false, false, true, true};
    setup.selected = 3;
    setup.thirdCaption = "256 (Gray Scale)";
    setup.spinEnabled = true;
    setup.spinText = "100";
    setup.labelEnabled = true;
    ExportState state;
    state.ExportBitsPerPixel = 8;
    QTimer::singleShot(0, &form, [&form] {
        auto items = form.RadioGroup1->findChildren<QRadioButton*>();
        EXPECT_FALSE(items[0]->isEnabled());
        EXPECT_TRUE(items[2]->isEnabled());
        EXPECT_EQ(items[2]->text(), "256 (Gray Scale)");
        EXPECT_TRUE(items[3]->isChecked());
        EXPECT_FALSE(form.CheckBox1->isEnabled());
        EXPECT_TRUE(form.SpinEdit1->isEnabled());
        EXPECT_EQ(form.SpinEdit1->text(), "100");
        items[2]->click();
        form.SpinEdit1->setValue(35);
        form.Button1->click();
    });
    const BitColorsResult r = form.run(setup, state);
    EXPECT_TRUE(state.ExportDialogOK);
    EXPECT_EQ(state.ExportBitsPerPixel, 8);
    EXPECT_EQ(r.quality, 35);
    EXPECT_EQ(wordsPut, 1);
}

// The JPEG quality typed key by key: whole and within 1..100 when left.
TEST(FormBitColors, QualityTypedKeyByKey) {
    QLocale::setDefault(QLocale::c());
    TFormBitColors form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const auto quality = [&form] { return double(form.SpinEdit1->value()); };
    for (const test::KeyRow& row : {test::KeyRow{"SpinEdit1", "2,5", {"2", "2,", "2,5"}, 2, "2", true, quality},
                                    {"SpinEdit1", "0", {"0"}, 1, "1", true, quality}})
        test::PlayKeys(form, row);
}

TEST(FormBitColors, OkWritesTheDepthOfEveryItemAndCancelWritesNothing) {
    TFormBitColors form;
    const int bits[4] = {1, 4, 8, 24};
    for (int i = 0; i < 4; ++i) {
        BitColorsSetup setup;
        setup.itemEnabled = {true, true, true, true};
        setup.selected = i;
        ExportState state;
        state.ExportBitsPerPixel = 0;
        ClickLater(form, "Button1");
        form.run(setup, state);
        EXPECT_EQ(state.ExportBitsPerPixel, bits[i]);
        EXPECT_TRUE(state.ExportDialogOK);
    }
    BitColorsSetup gif;
    gif.selected = 2;
    gif.checkEnabled = true;
    ExportState state;
    state.ExportBitsPerPixel = 1;
    QTimer::singleShot(0, &form, [&form] {
        EXPECT_TRUE(form.SpinEdit1->text().isEmpty());
        EXPECT_FALSE(form.SpinEdit1->isEnabled());
        EXPECT_FALSE(form.CheckBox1->isChecked());
        form.CheckBox1->click();
        form.Button2->click();
    });
    const BitColorsResult r = form.run(gif, state);
    EXPECT_FALSE(state.ExportDialogOK);
    EXPECT_EQ(state.ExportBitsPerPixel, 1);
    EXPECT_TRUE(r.transparent);
}

TEST(FormPng, ShowsProgressAndFreesItselfWhenClosed) {
    QPointer<TFormPng> form = new TFormPng;
    EXPECT_EQ(form->windowTitle(), "Png");
    auto* label = Find<QLabel>(*form, "Label1");
    EXPECT_EQ(label->text(), "0%");
    EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
    form->show();
    form->setProgress("42%");
    EXPECT_EQ(label->text(), "42%");
    form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}
