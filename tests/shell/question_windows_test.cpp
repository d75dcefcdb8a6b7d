// The delete and copy questions through the main window, each in one sitting
// of a user: the windows the commands open, what they offer as the document
// and the selection change, the answers Yes with each choice, No and Esc, and
// their texts in Russian and after a change to English.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "dialogs/ui/dialog_registry.h"
#include "editing/clipboard.h"
#include "editing/editing_state.h"
#include "editing/selection.h"
#include "files/document.h"
#include "shell/ui/dialog_session.h"
#include "window_session.h"
#include "support/find_child.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct QuestionSession : WindowSession {
    // Runs command `c`; the question window it opens is handed to `look`,
    // which answers it.  False when no question window opened.
    bool ask(MainCommand c, const std::function<void(QDialog&)>& look) {
        bool asked = false;
        QTimer answer;  // ends with the command when no window opened
        answer.setSingleShot(true);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!d) return;
            asked = true;
            look(*d);
            if (d->isVisible()) d->reject();  // a failed look still ends the window
        });
        answer.start(0);
        w->run(c);
        return asked;
    }
    // The main window inside the screen, where its questions can be centred.
    void begin() {
        start();
        w->setGeometry(40, 40, 720, 560);
    }
    EditingState& st() { return app->editing(); }
    int total() { return w->document().Obj.ObjTotal; }
    // The object-list entry `i` made current, as the object combo makes it.
    void current(int i) {
        auto* combo = w->findChild<QComboBox*>("ComboObj");
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }
    void english() {
        app->setLanguageFile(shipped() + "Translation/English.trs");
        emit app->languageChanged().changed();
    }
};

// A click on a radio button's circle.
void Choose(QRadioButton* b) {
    ASSERT_TRUE(b && b->isEnabled());
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    EXPECT_TRUE(b->isChecked());
}

void Click(QDialog& d, const char* button) {
    auto* b = Find<QPushButton>(d, button);
    ASSERT_TRUE(b && b->isEnabled()) << button;
    QTest::mouseClick(b, Qt::LeftButton);
}

// The window's frame: fixed, at least `least`, centred on the main window.
void ExpectFrame(QDialog& d, QWidget& main, QSize least) {
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_GE(d.width(), least.width());
    EXPECT_GE(d.height(), least.height());
    EXPECT_LE((d.geometry().center() - main.geometry().center()).manhattanLength(), 4);
    EXPECT_FALSE(d.windowFlags() & (Qt::WindowContextHelpButtonHint | Qt::WindowMinMaxButtonsHint));
}

// Pixels of the refusal line's text in red.
int RedPixels(QWidget& label) {
    const QImage img = label.grab().toImage();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            n += c.red() > 180 && c.green() < 90 && c.blue() < 90;
        }
    return n;
}

// The delete question's state: "enabled chosen-item refusal yes".
std::string DeleteOffer(QDialog& d) {
    auto* group = Find<QGroupBox>(d, "RadioGroup1");
    auto* refusal = Find<QLabel>(d, "Label2");
    auto* yes = Find<QPushButton>(d, "Button1");
    if (!group || !refusal || !yes) return "not the delete question";
    const auto items = group->findChildren<QRadioButton*>();
    std::string chosen = "-";
    for (int i = 0; i < items.size(); ++i)
        if (items[i]->isChecked()) chosen = std::to_string(i);
    return std::string(group->isEnabled() ? "group" : "fixed") + " item" + chosen +
           (refusal->isVisible() ? " refused" : "") + (yes->isEnabled() ? " yes" : "");
}

// The copy question's state: the enabled choices, the chosen one in capitals.
std::string CopyOffer(QDialog& d) {
    std::string s;
    for (const char* name : {"RadioButton1", "RadioButton2", "RadioButton3"}) {
        auto* b = Find<QRadioButton>(d, name);
        if (!b) return "not the copy question";
        if (b->isEnabled()) s += b->isChecked() ? "P" : "p";
        else s += "-";
    }
    return s;
}

// The clipboard file's objects per kind code, "" when there is none.
std::string Clipboard(EditingState& st) {
    auto clip = NewDocument();
    std::uint8_t version = 0;
    if (ReadDocument(ClipboardFileName(st), *clip, version, ReadModePaste) != ReadOk) return "";
    std::string s;
    for (const KindInfo& k : KindTable)
        for (int i = 0; i < clip->Obj.count(k.kind); ++i) s += k.code + std::string(" ");
    return s;
}

}  // namespace

TEST(QuestionWindows, DeleteSession) {
    QuestionSession s;
    s.answers.counts[0] = 4;  // four points
    s.begin();
    s.w->run(MainCommand::New);
    ASSERT_EQ(s.total(), 4);

    // Nothing selected: the current object alone, in Russian; Esc and No
    // delete nothing.
    EXPECT_TRUE(s.ask(MainCommand::Delete, [&](QDialog& d) {
        ASSERT_EQ(DeleteOffer(d), "fixed item0 yes");
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Удаление объектов"));
        EXPECT_EQ(Find<QLabel>(d, "Label1")->text(), QString::fromUtf8("Удалить объект(ы)?"));
        EXPECT_EQ(Find<QPushButton>(d, "Button1")->text(), QString::fromUtf8("Да"));
        EXPECT_EQ(Find<QPushButton>(d, "Button2")->text(), QString::fromUtf8("Нет"));
        ExpectFrame(d, *s.w, QSize(295, 0));
        QTest::keyClick(&d, Qt::Key_Escape);
    }));
    EXPECT_TRUE(s.ask(MainCommand::Delete, [](QDialog& d) { Click(d, "Button2"); }));
    EXPECT_EQ(s.total(), 4);

    // Entries 0 and 1 selected, entry 3 current: the selected objects are
    // offered, and Yes deletes them.
    for (int i : {0, 1}) {
        s.current(i);
        SelectCurrentCommand(s.st());
    }
    s.current(3);
    ASSERT_EQ(s.st().SelCount, 2);
    EXPECT_TRUE(s.ask(MainCommand::Delete, [](QDialog& d) {
        ASSERT_EQ(DeleteOffer(d), "group item1 yes");
        Click(d, "Button1");
    }));
    EXPECT_EQ(s.total(), 2);
    EXPECT_EQ(s.st().SelCount, 0);

    // Both objects left selected: all objects cannot go; Yes is off and the
    // red refusal shows, in English now.
    s.english();
    SelectAllObjects(s.st());
    EXPECT_TRUE(s.ask(MainCommand::Delete, [](QDialog& d) {
        ASSERT_EQ(DeleteOffer(d), "fixed item1 refused");
        EXPECT_EQ(d.windowTitle(), "Delete objects");
        auto* refusal = Find<QLabel>(d, "Label2");
        EXPECT_EQ(refusal->text(), "You cannot delete all objects!");
        EXPECT_GT(RedPixels(*refusal), 20);
        EXPECT_EQ(Find<QPushButton>(d, "Button1")->text(), "Yes");
        Click(d, "Button2");
    }));
    EXPECT_EQ(s.total(), 2);

    // One object selected, another current: the user takes the current one.
    SelectNoneCommand(s.st());
    s.current(0);
    SelectCurrentCommand(s.st());
    s.current(1);
    EXPECT_TRUE(s.ask(MainCommand::Delete, [](QDialog& d) {
        ASSERT_EQ(DeleteOffer(d), "group item1 yes");
        Choose(Find<QGroupBox>(d, "RadioGroup1")->findChildren<QRadioButton*>().at(0));
        Click(d, "Button1");
    }));
    EXPECT_EQ(s.total(), 1);
    EXPECT_EQ(s.st().SelCount, 1);  // the selected one stayed
    // The last object is never offered.
    EXPECT_FALSE(s.ask(MainCommand::Delete, [](QDialog&) {}));
}

TEST(QuestionWindows, CopySession) {
    QuestionSession s;
    s.answers.counts[0] = 1;  // a point
    s.answers.counts[3] = 1;  // a triangle
    s.begin();
    s.w->run(MainCommand::New);
    DialogRegistry& reg = s.w->dialogSession().registry();
    s.current(1);
    ASSERT_TRUE(reg.open(Kind::tr));
    std::error_code ec;
    std::filesystem::remove(ClipboardFileName(s.st()), ec);

    // The triangle's own dialog is open and nothing is selected: the current
    // object alone; Esc and No write nothing.
    EXPECT_TRUE(s.ask(MainCommand::Copy, [&](QDialog& d) {
        ASSERT_EQ(CopyOffer(d), "P--");
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Копирование объекта(ов)"));
        EXPECT_EQ(Find<QGroupBox>(d, "GroupBox1")->title(), QString::fromUtf8("Копировать объект(ы)..."));
        EXPECT_EQ(Find<QRadioButton>(d, "RadioButton1")->text(), QString::fromUtf8("Текущий материнский"));
        EXPECT_EQ(Find<QLabel>(d, "Image1")->pixmap().size(), QSize(16, 16));
        ExpectFrame(d, *s.w, QSize(295, 184));
        QTest::keyClick(&d, Qt::Key_Escape);
    }));
    EXPECT_TRUE(s.ask(MainCommand::Copy, [](QDialog& d) { Click(d, "Button2"); }));
    EXPECT_EQ(Clipboard(s.st()), "");

    // Yes copies the current object.
    EXPECT_TRUE(s.ask(MainCommand::Copy, [](QDialog& d) { Click(d, "Button1"); }));
    EXPECT_EQ(Clipboard(s.st()), "tr ");

    // Everything selected: the selected objects.
    SelectAllObjects(s.st());
    EXPECT_TRUE(s.ask(MainCommand::Copy, [](QDialog& d) {
        ASSERT_EQ(CopyOffer(d), "P-p");
        Choose(Find<QRadioButton>(d, "RadioButton3"));
        Click(d, "Button1");
    }));
    EXPECT_EQ(Clipboard(s.st()), "po tr ");
    SelectNoneCommand(s.st());

    // A side of the triangle being edited: the part, in English now; paste
    // makes a segment of it.
    QTest::mouseClick(reg.dialog(Kind::tr)->findChild<QPushButton*>("ButtonTLine1"), Qt::LeftButton);
    ASSERT_TRUE(reg.open(Kind::li));
    s.english();
    EXPECT_TRUE(s.ask(MainCommand::Copy, [](QDialog& d) {
        ASSERT_EQ(CopyOffer(d), "Pp-");
        EXPECT_EQ(d.windowTitle(), "Copy objects");
        EXPECT_EQ(Find<QRadioButton>(d, "RadioButton2")->text(), "Current child object");
        Choose(Find<QRadioButton>(d, "RadioButton2"));
        Click(d, "Button1");
    }));
    EXPECT_EQ(Clipboard(s.st()), "li ");
    s.w->run(MainCommand::Paste);
    EXPECT_EQ(s.w->document().Obj.count(Kind::li), 1);

    // The clipboard file outlives the program: after a restart a new project
    // can paste it; with the file gone a new project has Paste off.
    s.begin();
    EXPECT_FALSE(s.w->commandEnabled(MainCommand::Paste));
    s.w->run(MainCommand::New);
    ASSERT_TRUE(s.w->toolAction(MainCommand::Paste)->isEnabled());
    s.w->run(MainCommand::Paste);
    EXPECT_EQ(s.w->document().Obj.count(Kind::li), 1);
    std::filesystem::remove(ClipboardFileName(s.st()), ec);
    s.w->run(MainCommand::New);
    EXPECT_FALSE(s.w->commandEnabled(MainCommand::Paste));
}
