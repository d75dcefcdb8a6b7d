// The project options dialog and the fill settings dialog, driven through
// their controls by object name.  PELMAR_SHELL_SCREENSHOTS=<folder> saves a
// picture of each page as the screen shows it
// (scripts/picture_settings_screens.sh runs it under Xvfb).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <deque>

#include "dialogs/dialog_host.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/spin_edit.h"
#include "files/ui/text_tip.h"
#include "files/word_table.h"
#include "model/units.h"
#include "shell/ui/fill_settings_dialog.h"
#include "shell/ui/picture_settings_dialog.h"
#include "shell_test_util.h"
#include "support/find_child.h"
#include "support/key_rows.h"

namespace pelmar {
namespace {

using test::Find;

// The whole screen as the X server shows it, window frame and all.
void Screenshot(QWidget& w, const QString& name) {
    const char* dir = std::getenv("PELMAR_SHELL_SCREENSHOTS");
    if (!dir) return;
    QDir().mkpath(dir);
    w.raise();
    QTest::qWait(400);
    QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                                 QString(dir) + "/" + name + ".png"});
}

struct Answers : ColorChooser, MessageSink {
    std::optional<TColor> color;
    std::deque<std::string> files;
    std::vector<std::string> messages;
    std::optional<TColor> chooseColor(TColor) override { return color; }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    PictureDialogServices services() {
        return {this, this, [this](const std::string&) {
                    std::string f = files.empty() ? std::string() : files.front();
                    if (!files.empty()) files.pop_front();
                    return f;
                }};
    }
};

// Types into an edit as the user does: everything selected, then the keys.
void Type(QWidget* edit, const QString& text) {
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Backspace);
    else QTest::keyClicks(edit, text);
}

// A click on a radio button or check box, on its mark (the button is wider
// than the part a click takes).
void Tick(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2)); }

// Leaves the focused edit for `next`.
void Leave(QWidget* next) {
    next->setFocus();
    QApplication::processEvents();
}

struct DialogRig {
    Answers answers;
    FormImage form{BuiltInWords(), answers.services()};
    DialogRig(const PictureSettings& s = {}, bool fromNew = true) {
        QLocale::setDefault(QLocale::c());
        form.open(s, fromNew);
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    template <class T>
    T* get(const char* name) { return Find<T>(form, name); }
    QString text(const char* name) { return get<QLineEdit>(name)->text(); }
    void page(const char* name) {
        auto* tabs = get<QTabWidget>("PageControl1");
        tabs->setCurrentWidget(get<QWidget>(name));
    }
};

TEST(PictureSettingsDialog, SizeInPixelsAndCentimetres) {
    DialogRig r;
    Screenshot(r.form, "FormImage-picture");
    auto* spin1 = r.get<TSpinEdit>("SpinEdit1");
    auto* combo = r.get<QComboBox>("ComboBox3");
    EXPECT_EQ(spin1->value(), 500);
    EXPECT_EQ(combo->currentText(), "300 dpi");
    EXPECT_EQ(std::make_pair(r.text("Edit1"), r.text("Edit2")), std::make_pair(QString("4,233"), QString("4,233")));
    EXPECT_FALSE(r.get<QPushButton>("Button3")->isEnabled()) << "no fill settings for a project being made";

    // 72 dpi chosen from the keyboard: the same pixels are more centimetres.
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    EXPECT_EQ(r.form.settings().Dpi, 72);
    EXPECT_EQ(r.text("Edit1"), "17,639");

    // Pixels typed: the centimetres follow; an emptied centimetre edit is 1 cm.
    Type(spin1, "1000");
    EXPECT_EQ(r.text("Edit1"), "35,278");
    Type(r.get<QLineEdit>("Edit2"), "");
    Leave(spin1);
    EXPECT_EQ(r.get<TSpinEdit>("SpinEdit2")->value(), CmToPix(72, 1));
    EXPECT_EQ(r.text("Edit2"), "0,988") << "the whole pixels shown back";
    Type(r.get<QLineEdit>("Edit1"), "2.54");  // the point is typed as the comma
    Leave(spin1);
    EXPECT_EQ(spin1->value(), 72);
    EXPECT_EQ(std::make_pair(r.form.settings().Width, r.form.settings().Height), std::make_pair(72, 28));

    // Colour and type: a vector picture has no colour of its own.
    r.answers.color = 0x0000FF;
    QTest::mouseClick(r.get<QPushButton>("ButtonF"), Qt::LeftButton);
    EXPECT_EQ(r.form.settings().Background, 0x0000FFu);
    auto* type = r.get<TRadioGroup>("RadioGroupType");
    Tick(type->button(1));
    EXPECT_FALSE(r.get<QPushButton>("ButtonF")->isEnabled());
    EXPECT_EQ(r.get<QLabel>("Image1")->palette().color(QPalette::Window), QColor(Qt::white));
    Tick(r.get<TRadioGroup>("RadioGroupFont")->button(1));
    Tick(r.get<QCheckBox>("CheckBoxAntiA"));
    const PictureSettings& s = r.form.settings();
    EXPECT_EQ(std::make_tuple(s.PicMode, s.FontUnit, s.Smooth), std::make_tuple(1, 2, false));
}

TEST(PictureSettingsDialog, PrintPage) {
    DialogRig r;
    r.page("TabSheet5");
    Screenshot(r.form, "FormImage-print");
    auto* combo = r.get<QComboBox>("ComboBoxPri");
    auto* w = r.get<TNumEdit>("EditPri1");
    auto* h = r.get<TNumEdit>("EditPri2");
    auto* preview = r.get<QLabel>("ImagePri");
    EXPECT_EQ(combo->currentIndex(), 0);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);  // 10 x 15 cm
    EXPECT_EQ(std::make_pair(w->text(), h->text()), std::make_pair(QString("10"), QString("15")));

    // A4 found from its size; anything else is "Другой"; no paper of 0.
    Type(w, "21");
    Type(h, "29.7");
    Leave(w);
    EXPECT_EQ(combo->currentIndex(), 0);
    const QImage a4 = preview->pixmap().toImage();
    QTest::keyClicks(w, "0");  // the preview follows 210 cm typed; the copy takes it when the field is left
    EXPECT_TRUE(preview->pixmap().toImage() != a4 && combo->currentIndex() == 0);
    Type(w, "20");
    Leave(h);
    EXPECT_EQ(combo->currentText().toStdString(), "Другой");
    const QImage before = preview->pixmap().toImage();
    Type(w, "0");
    Leave(h);
    EXPECT_EQ(r.form.settings().PaperWidth, 200) << "a paper of no width is refused";
    Type(w, "");
    Leave(h);
    EXPECT_EQ(r.form.settings().PaperWidth, 200);
    EXPECT_EQ(preview->pixmap().toImage(), before);
    Type(w, "21");
    Leave(h);

    // Centred across and down a 500-pixel picture at 300 dpi, then turned.
    QTest::mouseClick(r.get<QPushButton>("ButtonPri1"), Qt::LeftButton);
    EXPECT_EQ(r.text("EditPri4"), "8,4");
    QTest::mouseClick(r.get<QPushButton>("ButtonPri2"), Qt::LeftButton);
    EXPECT_EQ(r.text("EditPri3"), "12,7");
    const QImage portrait = preview->pixmap().toImage();
    Tick(r.get<QRadioButton>("RadioButtonPri2"));
    EXPECT_NE(preview->pixmap().toImage(), portrait);
    QTest::mouseClick(r.get<QPushButton>("ButtonPri1"), Qt::LeftButton);
    EXPECT_EQ(r.text("EditPri4"), "12,7") << "across a turned A4 page";
    Type(r.get<TNumEdit>("EditPri3"), "1,5");
    QTest::mouseClick(r.get<QPushButton>("Button1"), Qt::LeftButton);  // OK takes it
    const PictureSettings& s = r.form.settings();
    EXPECT_EQ(std::make_tuple(s.PaperWidth, s.PaperHeight, s.Portrait, s.MarginTop, s.MarginLeft),
              std::make_tuple(210, 297, false, 15, 127));
}

// Numbers typed key by key on both pages are kept by the field's rule when it
// is left (whole pixels within 1..5000, whole millimetres, a paper above 0,
// no negative margin, an emptied field told); the field then shows what is
// kept, with a tip.
TEST(PictureSettingsDialog, NumbersTypedKeyByKey) {
    DialogRig r;  // 500 x 500 pixels at 300 dpi, A4, margins 2 cm
    const PictureSettings& s = r.form.settings();
    const auto sides = [&] { return s.Width * 1e4 + s.Height; };
    for (const test::KeyRow& row : {test::KeyRow{"Edit1", "1", {"1"}, 118 * 1e4 + 500, "0,999", true, sides},
                                    {"Edit2", "\b", {""}, 118 * 1e4 + 118, "0,999", true, sides},
                                    {"Edit2", "0", {"0"}, 118 * 1e4 + 1, "0,008", true, sides}})
        test::PlayKeys(r.form, row);
    r.page("TabSheet5");
    const auto print = [&] { return s.PaperWidth * 1e9 + s.PaperHeight * 1e6 + s.MarginTop * 1e3 + s.MarginLeft; };
    for (const test::KeyRow& row :
         {test::KeyRow{"EditPri1", "21,04", {"2", "21", "21,", "21,0", "21,04"}, 210297020020, "21", true, print},
          {"EditPri2", "\b", {""}, 210297020020, "29,7", true, print},
          {"EditPri3", "0,55", {"0", "0,", "0,5", "0,55"}, 210297006020, "0,6", true, print},
          {"EditPri3", "-1", {"0,6", "1"}, 210297010020, "1", false, print},
          {"EditPri4", "\b", {""}, 210297010000, "0", true, print}})
        test::PlayKeys(r.form, row);
}

TEST(PictureSettingsDialog, BackgroundPictureWithItsLimits) {
    test::Scratch dir;
    auto save = [&](const std::string& name, int w, int h) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(QColor(200, 20, 20));
        EXPECT_TRUE(img.save(QString::fromStdString(dir.path(name)), "JPG"));
        return dir.path(name);
    };
    DialogRig r;
    r.page("TabSheet2");
    auto* on = r.get<QCheckBox>("CheckBoxFon");
    auto* browse = r.get<QPushButton>("ButtonFon");
    EXPECT_FALSE(browse->isEnabled());
    Tick(on);
    ASSERT_TRUE(browse->isEnabled());

    const std::string small = save("small.JPG", 250, 100);
    r.answers.files = {small, save("huge.jpg", 3001, 10), dir.path("small.JPG.txt"), dir.path("\u00dcbung.jpg")};
    test::WriteBytes(dir.path("small.JPG.txt"), "text");
    QTest::mouseClick(browse, Qt::LeftButton);
    EXPECT_TRUE(r.form.settings().BackLoaded);
    EXPECT_EQ(r.form.background().size(), QSize(250, 100)) << "cut to the 500 x 500 picture";
    EXPECT_EQ(r.get<QLabel>("ImageFon")->pixmap().toImage().pixelColor(10, 10).red(), 200);
    Screenshot(r.form, "FormImage-background");

    // Too large, then no picture: messages, and the picture before stays.
    QTest::mouseClick(browse, Qt::LeftButton);
    QTest::mouseClick(browse, Qt::LeftButton);
    QTest::mouseClick(browse, Qt::LeftButton);
    ASSERT_EQ(r.answers.messages.size(), 3u);
    EXPECT_EQ(r.answers.messages[2], UnholdablePathText(dir.path("\u00dcbung.jpg")));  // a path no document keeps
    EXPECT_EQ(r.answers.messages[0], "Один из размеров файла-фона превышает 3000 пикселей!");
    EXPECT_EQ(r.answers.messages[1], BuiltInWords().WordLine(WordNo::CannotOpenFile) + "\n" + dir.path("small.JPG.txt"));
    EXPECT_EQ(r.form.settings().BackPicture, small);
    EXPECT_TRUE(r.form.settings().BackLoaded);
    EXPECT_EQ(r.form.background().size(), QSize(250, 100));
    EXPECT_TRUE(r.get<QLineEdit>("EditFon")->text().endsWith("small.JPG"));

    // Fitted to the width, then off.
    Tick(r.get<TRadioGroup>("RadioGroupFon")->button(1));
    EXPECT_EQ(r.form.background().size(), QSize(500, 200));
    Tick(on);
    EXPECT_FALSE(r.form.settings().BackOn || r.form.settings().BackLoaded || browse->isEnabled());

    // On again, the picture made narrower: OK fits the background to it again.
    Tick(on);
    EXPECT_EQ(r.form.background().size(), QSize(500, 200));
    r.page("TabSheet1");
    Type(r.get<QWidget>("SpinEdit1"), "250");
    EXPECT_FALSE(r.form.settings().BackLoaded);
    QTest::mouseClick(r.get<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_TRUE(r.form.settings().BackLoaded);
    EXPECT_EQ(r.form.background().size(), QSize(250, 100));
}

TEST(PictureSettingsDialog, NotesOkAndCancel) {
    PictureSettings doc;
    doc.Notes = {"first", "second", "third"};
    doc.Caption = "Title";
    for (bool ok : {true, false}) {
        DialogRig r(doc, false);
        EXPECT_TRUE(r.get<QPushButton>("Button3")->isEnabled());
        r.page("TabSheet3");
        if (ok) Screenshot(r.form, "FormImage-fill");
        r.page("TabSheet6");
        if (ok) Screenshot(r.form, "FormImage-info");
        auto* memo = r.get<QPlainTextEdit>("MemoI1");
        EXPECT_EQ(memo->toPlainText(), "first\nsecond\nthird");
        memo->setFocus();
        memo->moveCursor(QTextCursor::End);
        QTest::keyClick(memo, Qt::Key_Return);  // no fourth note
        EXPECT_EQ(memo->blockCount(), 3);
        // The last line deleted: its note is empty, not the old text.
        memo->moveCursor(QTextCursor::End);
        for (int i = 0; i < 6; ++i) QTest::keyClick(memo, Qt::Key_Backspace);
        Type(r.get<QLineEdit>("EditI2"), "Author");
        if (ok) {  // what a document cannot hold: refused in the title as typed, in the notes on OK, which stays open
            Type(r.get<QLineEdit>("EditI1"), "½");
            QApplication::processEvents();
            EXPECT_TRUE(ShownTextTip().contains("«½»"));
            memo->insertPlainText("½");
            QTest::mouseClick(r.get<QPushButton>("Button1"), Qt::LeftButton);
            EXPECT_TRUE(r.form.isVisible() && memo->hasFocus() && r.form.settings().Caption == "Title");
            EXPECT_EQ(r.answers.messages,
                      std::vector<std::string>(1, "Документ не может хранить знак «½»: он не принят."));
            QTest::keyClick(memo, Qt::Key_Backspace);
        }
        const std::array<std::string, 3> notes{"first", "second", ""};
        EXPECT_EQ(r.form.settings().Notes, notes);
        QTest::mouseClick(r.get<QPushButton>(ok ? "Button1" : "Button2"), Qt::LeftButton);
        EXPECT_EQ(r.form.NewProjOK(), ok);
        EXPECT_FALSE(r.form.isVisible());
        EXPECT_FALSE(r.form.fillRequested());
        EXPECT_EQ(r.form.settings().Author, "Author");
    }
    // Escape is Cancel; the fill page's button is OK and asks for the fill settings.
    DialogRig esc(doc, false);
    QTest::keyClick(&esc.form, Qt::Key_Escape);
    EXPECT_FALSE(esc.form.NewProjOK());
    DialogRig fill(doc, false);
    fill.page("TabSheet3");
    QTest::mouseClick(fill.get<QPushButton>("Button3"), Qt::LeftButton);
    EXPECT_TRUE(fill.form.NewProjOK() && fill.form.fillRequested());
}

// The notes box shows what the document keeps: a paste that would leave more than three lines keeps the first three,
// whole, a tab as a space, with a tip; Undo and Redo take the paste and its cut together.
TEST(PictureSettingsDialog, NotesKeepTheirThreeLines) {
    PictureSettings doc;
    doc.Notes = {"N1", "N2", "N3"};
    struct Row {
        const char* paste;
        bool atEnd;  // else over the whole text
        std::array<std::string, 3> notes;
    };
    // Every line break the box shows counts: LF, CR LF, CR, the paragraph separator and the line separator
    // (what Shift+Return puts in and some programs put on the clipboard).
    const Row rows[] = {
        {"P1\nP2\nP3\nP4\nP5", false, {"P1", "P2", "P3"}},
        {"P1\r\nP2\r\nP3\r\nP4\r\nP5", false, {"P1", "P2", "P3"}},
        {"P1\rP2\rP3\rP4\rP5", false, {"P1", "P2", "P3"}},
        {"P1\u2029P2\u2029P3\u2029P4\u2029P5", false, {"P1", "P2", "P3"}},
        {"P1\u2028P2\u2028P3\u2028P4\u2028P5", false, {"P1", "P2", "P3"}},
        {"P1\u2028P2\nP3\u2028P4", false, {"P1", "P2", "P3"}},
        {"\tN4\nend", true, {"N1", "N2", "N3 N4"}},
        {"\tN4\u2028end", true, {"N1", "N2", "N3 N4"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.paste);
        DialogRig r(doc, false);
        r.page("TabSheet6");
        auto* memo = r.get<QPlainTextEdit>("MemoI1");
        memo->setFocus();
        memo->moveCursor(QTextCursor::End);
        if (!row.atEnd) memo->selectAll();
        QApplication::clipboard()->setText(row.paste);
        QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
        const std::string shown = memo->toPlainText().toStdString();
        EXPECT_EQ(memo->document()->toRawText().count(QChar::LineSeparator), 0);
        EXPECT_EQ(memo->blockCount(), 3);
        EXPECT_EQ(ShownTextTip().toStdString(), "В заметках три строки: следующие строки не приняты.");
        QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(memo->toPlainText(), "N1\nN2\nN3");
        QTest::keyClick(memo, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(memo->toPlainText().toStdString(), shown);
        QTest::mouseClick(r.get<QPushButton>("Button1"), Qt::LeftButton);
        EXPECT_EQ(r.form.settings().Notes, row.notes);
        EXPECT_EQ(shown, row.notes[0] + "\n" + row.notes[1] + "\n" + row.notes[2]);
    }
}

// ---------------------------------------------------------------------------
// Fill settings

struct FillRig {
    std::unique_ptr<DProj> doc = std::make_unique<DProj>();
    int applied = 0;
    double litX = 0;  // the light position at the last build, which leaves the fill picture valid
    FormImageBr form{BuiltInWords(), *doc, [this] { ++applied, litX = doc->Im.LightX, doc->FillValid = 1; }};
    FillRig() {
        QLocale::setDefault(QLocale::c());
        doc->FillValid = 1;
        doc->Im.BorderPercent = 99.5;
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    template <class T>
    T* get(const char* name) { return Find<T>(form, name); }
    // Types into an edit and leaves it.
    void enter(const char* name, const QString& text) {
        Type(get<QWidget>(name), text);
        Leave(get<QPushButton>("BitBtn1"));
    }
};

TEST(FillSettingsDialog, EnableRules) {
    FillRig r;
    Screenshot(r.form, "FormImageBr");
    struct Case {
        int light, colours;  // the items clicked
        bool border, position, direction;
    };
    const Case cases[] = {{0, 1, true, true, false}, {1, 1, true, false, true}, {1, 0, false, false, true},
                          {0, 0, false, true, false}};
    for (const Case& c : cases) {
        r.doc->FillValid = 1;
        Tick(r.get<TRadioGroup>("RadioG1")->button(c.light));
        Tick(r.get<TRadioGroup>("RadioG2")->button(c.colours));
        EXPECT_EQ(r.doc->FillValid, 0);
        EXPECT_EQ(r.doc->Im.LightSource, c.light + 1);
        EXPECT_EQ(r.doc->Im.TwoColors, c.colours == 0 ? 1 : 0);
        EXPECT_EQ(r.get<QWidget>("EditG1")->isEnabled(), c.border) << c.light << c.colours;
        for (const char* n : {"EditGP1", "EditGP2", "EditGP3"}) EXPECT_EQ(r.get<QWidget>(n)->isEnabled(), c.position) << n;
        for (const char* n : {"EditGV1", "EditGV2", "EditGV3"}) EXPECT_EQ(r.get<QWidget>(n)->isEnabled(), c.direction) << n;
        EXPECT_TRUE(r.get<QWidget>("RadioG2")->isEnabled() && r.get<QWidget>("RadioG3")->isEnabled());
    }
    EXPECT_EQ(r.doc->Im.BorderPercent, 99.5) << "two colours keep the border";
    Tick(r.get<TRadioGroup>("RadioG3")->button(0));
    EXPECT_EQ(r.doc->Im.BorderAngle, 90);
    EXPECT_EQ(r.applied, 0) << "nothing is drawn until Apply";
    QTest::mouseClick(r.get<QPushButton>("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(r.applied, 1);
}

TEST(FillSettingsDialog, EditsReadAsTheyShowWithFallbacks) {
    FillRig r;
    Tick(r.get<TRadioGroup>("RadioG2")->button(1));  // three colours
    auto* border = r.get<TNumEdit>("EditG1");
    EXPECT_EQ(border->text(), "99,5");
    // Passing through an unchanged field keeps its value.
    border->setFocus();
    Leave(r.get<QPushButton>("BitBtn1"));
    EXPECT_EQ(r.doc->Im.BorderPercent, 99.5);
    struct Case {
        const char* edit;
        const char* text;
        double DImProj::*field;
        double stored;
    };
    const Case cases[] = {
        {"EditG1", "100", &DImProj::BorderPercent, 50},   {"EditG1", "12.5", &DImProj::BorderPercent, 12.5},
        {"EditG1", "0", &DImProj::BorderPercent, 50},     {"EditG1", "", &DImProj::BorderPercent, 50},
        {"EditGP2", "-20", &DImProj::LightY, -20},        {"EditGP2", "", &DImProj::LightY, 500},
        {"EditGP3", "1,25", &DImProj::LightZ, 1.25},
    };
    for (const Case& c : cases) {
        r.doc->FillValid = 1;
        r.enter(c.edit, c.text);
        EXPECT_EQ(r.doc->Im.*c.field, c.stored) << c.edit << " " << c.text;
        if (*c.text) {
            EXPECT_EQ(r.doc->FillValid, 0) << "typing marks the shading stale";
        }
    }
    // Return in an edit builds with what it shows, so the picture built stays right.
    Tick(r.get<TRadioGroup>("RadioG1")->button(0));
    Type(r.get<QWidget>("EditGP1"), "700");
    QTest::keyClick(r.get<QWidget>("EditGP1"), Qt::Key_Return);
    Leave(r.get<QPushButton>("BitBtn1"));
    EXPECT_EQ(std::make_tuple(r.applied, r.litX, r.doc->Im.LightX), std::make_tuple(1, 700.0, 700.0));
    // A null direction gets the edited component back.
    Tick(r.get<TRadioGroup>("RadioG1")->button(1));
    r.enter("EditGV1", "0");
    r.enter("EditGV2", "0");
    r.enter("EditGV3", "0");
    EXPECT_EQ(std::make_tuple(r.doc->Im.LightDX, r.doc->Im.LightDY, r.doc->Im.LightDZ), std::make_tuple(0.0, 0.0, 1.0));
    // Closed by Esc with the focus still in an edit: a number taken as typed
    // counts as left; an emptied edit, which takes a number of its own with a
    // tip, keeps nothing.
    Type(r.get<QWidget>("EditGV1"), "");
    QTest::keyClick(r.get<QWidget>("EditGV1"), Qt::Key_Escape);
    EXPECT_EQ(std::make_tuple(r.doc->Im.LightDX, r.doc->Im.LightDY, r.doc->Im.LightDZ), std::make_tuple(0.0, 0.0, 1.0));
    EXPECT_EQ(r.get<QLineEdit>("EditGV1")->text(), "0");
    EXPECT_FALSE(r.form.isVisible());
    r.form.show();
    r.form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&r.form));
    Type(r.get<QWidget>("EditGV1"), "2");
    QTest::keyClick(r.get<QWidget>("EditGV1"), Qt::Key_Escape);
    EXPECT_EQ(r.doc->Im.LightDX, 2);
    EXPECT_FALSE(r.form.isVisible());
}

// The fill settings' numbers are kept when the field is left, with the
// fallback for one not allowed or not there, which the field then shows.
TEST(FillSettingsDialog, NumbersTypedKeyByKey) {
    FillRig r;
    const DImProj& im = r.doc->Im;
    Tick(r.get<TRadioGroup>("RadioG2")->button(1));  // three colours: the border
    test::PlayKeys(r.form, {"EditG1", "100", {"1", "10", "100"}, 50, "50", true, [&] { return im.BorderPercent; }});
    test::PlayKeys(r.form, {"EditGP2", "\b-", {"", "-"}, 500, "500", true, [&] { return im.LightY; }});
    Tick(r.get<TRadioGroup>("RadioG1")->button(1));  // a light direction (1; 0,354; 0,354)
    r.enter("EditGV2", "0");
    r.enter("EditGV3", "0");
    test::PlayKeys(r.form, {"EditGV1", "0", {"0"}, 1, "1", true, [&] { return im.LightDX; }});
}

}  // namespace
}  // namespace pelmar
