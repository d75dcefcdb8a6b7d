// The new-project dialog and the about box, driven through their controls by
// object name.  PELMAR_SHELL_SCREENSHOTS=<folder> saves a picture of each
// window as the screen shows it (scripts/shell_screens.sh runs it under Xvfb).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "shell/ui/about_dialog.h"
#include "shell/about_pictures.h"
#include "shell/ui/new_project_dialog.h"
#include "files/word_table.h"
#include "support/key_rows.h"
#include "support/find_child.h"
#include "dialogs/ui/dialog_words.h"

namespace pelmar {
namespace {

using test::Find;

// Saves what the screen shows of the window when asked to.
void SaveShot(QWidget& w, const char* name) {
    const char* dir = std::getenv("PELMAR_SHELL_SCREENSHOTS");
    if (!dir) return;
    QDir().mkpath(dir);
    QTest::qWait(300);
    QScreen* screen = w.screen();
    const QPixmap shot = screen->grabWindow(0, w.frameGeometry().x(), w.frameGeometry().y(),
                                            w.frameGeometry().width(), w.frameGeometry().height());
    shot.save(QString(dir) + "/" + name + ".png");
}

const char* const Suffix[] = {"Po", "Li", "Ci", "Tr", "Kv", "XY", "Sf", "Zi", "Ko", "Pi3", "Pi4", "Pr3", "Pr4", "XZ"};

TEST(NewProjectDialog, TicksCountsAndTheOkButton) {
    QLocale::setDefault(QLocale::c());
    FormNew form(BuiltInWords());
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Новый проект"));
    auto* ok = Find<QPushButton>(form, "Button1");
    EXPECT_EQ(Find<QPushButton>(form, "Button2")->text(), QString::fromUtf8("Отмена"));
    EXPECT_EQ(Find<QCheckBox>(form, "CheckBoxKv")->text(), QString::fromUtf8("Четырехугольники"));
    std::array<QCheckBox*, KindCount> check{};
    std::array<QSpinBox*, KindCount> spin{};
    for (std::size_t i = 0; i < KindCount; ++i) {
        check[i] = Find<QCheckBox>(form, QString("CheckBox") + Suffix[i]);
        spin[i] = Find<QSpinBox>(form, QString("SpinEdit") + Suffix[i]);
        EXPECT_FALSE(check[i]->isChecked());
        EXPECT_FALSE(spin[i]->isEnabled());
        EXPECT_EQ(spin[i]->minimum(), 1);
        EXPECT_EQ(spin[i]->maximum(), InfoOf(static_cast<Kind>(i + 1)).capacity) << Suffix[i];
    }
    EXPECT_FALSE(ok->isEnabled());

    // Ticking and unticking again leaves OK disabled.
    const QPoint box(6, check[0]->height() / 2);
    QTest::mouseClick(check[0], Qt::LeftButton, {}, box);
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_TRUE(spin[0]->isEnabled());
    QTest::mouseClick(check[0], Qt::LeftButton, {}, box);
    EXPECT_FALSE(ok->isEnabled());

    // Triangles ticked with 7 typed; tetragons at 7 but not ticked.  A
    // fraction or a count below 1 is made whole and within the bounds when
    // the count is left, with a tip.
    check[3]->setChecked(true);
    const auto count = [&] { return double(spin[3]->value()); };
    for (const test::KeyRow& row : {test::KeyRow{"SpinEditTr", "2,5", {"2", "2,", "2,5"}, 2, "2", true, count},
                                    {"SpinEditTr", "0", {"0"}, 1, "1", true, count}})
        test::PlayKeys(form, row);
    spin[3]->setFocus();
    spin[3]->selectAll();
    QTest::keyClicks(spin[3], "7");
    spin[4]->setValue(7);
    // A count beyond the capacity is held at it; an emptied count falls back to 1.
    check[6]->setChecked(true);
    spin[6]->setValue(9);
    check[1]->setChecked(true);
    spin[1]->setValue(12);
    spin[1]->setFocus();
    spin[1]->selectAll();
    QTest::keyClick(spin[1], Qt::Key_Backspace);
    spin[3]->setFocus();  // leave it
    EXPECT_EQ(spin[1]->value(), 1);

    SaveShot(form, "new_project");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(form.NewProjOK());
    std::array<std::uint8_t, KindCount> expect{};
    expect[1] = 1;
    expect[3] = 7;
    expect[6] = 3;
    EXPECT_EQ(form.NewObjCounts(), expect);

    // Shown again: nothing ticked, the values typed last time kept, the
    // capacities restored; Esc cancels.
    spin[4]->setMaximum(99);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_FALSE(form.NewProjOK());
    EXPECT_FALSE(check[3]->isChecked());
    EXPECT_EQ(spin[3]->value(), 7);
    EXPECT_EQ(spin[4]->maximum(), 12);
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.NewProjOK());
}

TEST(AboutBox, PicturesTextsMemoryAndButtons) {
    std::vector<std::string> opened, messages;
    bool mailWorks = false;
    AboutServices services{[&](const std::string& url) {
                               opened.push_back(url);
                               return url.rfind("mailto:", 0) != 0 || mailWorks;
                           },
                           [&](const std::string& text) { messages.push_back(text); }};
    FormAbout about(BuiltInWords(), "/p/Translation/Russian", services);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8("О программе"));

    const struct {
        const char* name;
        QSize size;
    } pictures[] = {{"Image3", {64, 64}}, {"Image1", {200, 60}}, {"Image2", {170, 210}}, {"RxGIFAn1", {48, 48}}};
    for (const auto& p : pictures) {
        auto* l = Find<QLabel>(about, p.name);
        ASSERT_TRUE(l);
        EXPECT_EQ(l->size(), p.size) << p.name;
        EXPECT_EQ(l->pixmap().size(), p.size) << p.name;
    }
    EXPECT_EQ(Find<QLabel>(about, "LabelVer")->text(), "V 6.0f");
    EXPECT_EQ(Find<QLabel>(about, "LabelDate")->text(), QString::fromUtf8("23 Июня, 2022"));
    EXPECT_EQ(Find<QLabel>(about, "LabelOpi")->text(),
              QString::fromUtf8("Программа для создания математических чертежей"));
    EXPECT_EQ(Find<QLabel>(about, "LabelMemMy0")->text(), QString::fromUtf8("Память, занимаемая Пелмаром:"));
    for (const char* name : {"LabelMemAlls", "LabelMemFree", "LabelMemMy"}) {
        const QString t = Find<QLabel>(about, name)->text();
        EXPECT_TRUE(t.endsWith(" Mb")) << name;
        EXPECT_GT(t.chopped(3).toLongLong(), 0) << name;
    }

    // The turning solid moves on while the box is open.
    QElapsedTimer wait;
    wait.start();
    while (about.frame() < 2 && wait.elapsed() < 20000) QTest::qWait(20);
    EXPECT_GE(about.frame(), 2);
    SaveShot(about, "about_box");

    QTest::mouseClick(Find<QPushButton>(about, "ButtonSite"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(about, "ButtonMail"), Qt::LeftButton);
    EXPECT_EQ(opened, (std::vector<std::string>{PelmarWebSite, AboutMailUrl()}));
    EXPECT_EQ(messages, std::vector<std::string>{"Auto method failed."});
    EXPECT_EQ(AboutMailUrl(), std::string("mailto:") + PelmarMail + "?subject=Pelmar%206.0f&body=%0d");
    mailWorks = true;
    QTest::mouseClick(Find<QPushButton>(about, "ButtonMail"), Qt::LeftButton);
    EXPECT_EQ(messages.size(), 1u);

    QTest::mouseClick(Find<QPushButton>(about, "Button1"), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    const int stopped = about.frame();
    QTest::qWait(3 * AboutFrameMs);
    EXPECT_EQ(about.frame(), stopped);
}

TEST(AboutBox, PicturesOfOurOwn) {
    EXPECT_TRUE(RussianCaption("/p/Translation/Russian"));
    EXPECT_FALSE(RussianCaption("/p/Translation/English.trs"));
    const QColor face(0xF0, 0xF0, 0xF0);
    EXPECT_NE(AboutCaption(face, true), AboutCaption(face, false));
    EXPECT_NE(AboutFrame(face, 0), AboutFrame(face, 5));
    EXPECT_EQ(AboutFrame(face, 3), AboutFrame(face, 3 + AboutFrameCount));
    for (const QImage& img : {AboutLogo(face), AboutCaption(face, false), AboutPicture(face), AboutFrame(face, 1)}) {
        // Drawn on the button face, with ink on it.
        EXPECT_EQ(img.pixelColor(0, 0), face);
        int ink = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) ink += img.pixelColor(x, y) != face;
        EXPECT_GT(ink, img.width() * img.height() / 20);
    }
    EXPECT_EQ(MemoryText(0), "0 Mb");
    EXPECT_EQ(MemoryText(3 * 1024 * 1024 / 2), "2 Mb");       // 1.5 to even
    EXPECT_EQ(MemoryText(5 * 1024 * 1024 / 2), "2 Mb");       // 2.5 to even
    EXPECT_EQ(MemoryText(std::uint64_t{16} << 30), "16384 Mb");
}

}  // namespace
}  // namespace pelmar
