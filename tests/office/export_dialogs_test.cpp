// The two option dialogs, each in one scripted session, and both opened from
// the main window's File > Export.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <map>

#include "app/document_wiring.h"
#include "dialogs/dialog_test_util.h"
#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/spin_edit.h"
#include "files/document.h"
#include "office/export_settings.h"
#include "office/ui/cdr_export_dialog.h"
#include "office/ui/export_dialogs.h"
#include "office/ui/word_export_dialog.h"
#include "shell/ui/main_window.h"
#include "support/fake_export_host.h"
#include "office_fixture.h"
#include "picture_match.h"
#include "sample_document.h"

namespace pelmar::test {
namespace {

struct DialogRig {
    QTemporaryDir dir;
    std::unique_ptr<DProj> proj = SampleDocument();
    DrawingState st;
    FakeDesktop desktop;
    FakeMessages messages;
    ExportState state;
    std::map<int, std::string> words;  // over the built-in texts
    OfficeExportContext ctx;

    DialogRig() {
        ctx.proj = proj.get();
        ctx.st = &st;
        ctx.wordLine = [this](int line) {
            if (auto it = words.find(line); it != words.end()) return it->second;
            const char* w = BuiltInWord(line);
            return std::string(w ? w : "");
        };
        ctx.progDir = path("prog/");
        ctx.desktop = &desktop;
        ctx.messages = &messages;
    }
    std::string path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
    bool exists(const std::string& name) const { return QFileInfo::exists(QString::fromStdString(path(name))); }
};

TEST(ExportDialogs, DrawingProgramSession) {
    DialogRig r;
    r.state.CdrFileName = r.path("missing/d.cdr");
    r.words[228] = "Group & keep";  // a translation's "&" shows as written
    CdrExportDialog d(r.ctx, r.state);
    ShowActive(d);

    auto* ver = Find<TSpinEdit>(d, "SpinEditVer");
    auto* run = Find<TRadioGroup>(d, "RadioGroupRun");
    auto* group = Find<TRadioGroup>(d, "RadioGroupGroup");
    auto* own = Find<QCheckBox>(d, "CheckBoxArrow");
    auto* arrow = Find<TSpinEdit>(d, "SpinEditNArrow");
    auto* dash = Find<TSpinEdit>(d, "SpinEditNDash");
    auto* ok = Find<QPushButton>(d, "Button1");
    // First use: the defaults, own arrows with the arrow number disabled.
    // It speaks of the file it writes; the program version, which means
    // nothing to that file, is shown disabled.
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Параметры экспорта в OpenDocument Drawing (.odg)"));
    EXPECT_EQ(run->title(), "OpenDocument Drawing (.odg)");
    EXPECT_EQ(run->itemText(1), QString::fromUtf8("Сохранить файл и открыть его"));
    EXPECT_EQ(ver->value(), 8);
    EXPECT_FALSE(ver->isEnabled() || Find<QLabel>(d, "Label2")->isEnabled());
    EXPECT_EQ(run->itemIndex(), 0);
    EXPECT_EQ(group->itemIndex(), 1);
    EXPECT_EQ(group->itemText(1), "Group && keep");
    EXPECT_EQ(Find<QLabel>(d, "Label2")->text(), QString::fromUtf8("Версия"));
    EXPECT_TRUE(own->isChecked());
    EXPECT_FALSE(arrow->isEnabled());
    EXPECT_FALSE(Find<QLabel>(d, "Label1")->isEnabled());
    EXPECT_EQ(arrow->value(), 3);
    EXPECT_EQ(dash->value(), 9);
    EXPECT_FALSE(Find<QLabel>(d, "LabelStatus1")->isVisible());
    EXPECT_FALSE(Find<QWidget>(d, "ProgressBar1")->isVisible());

    ClickIndicator(own);
    EXPECT_TRUE(arrow->isEnabled());
    TypeInto(dash, "12");
    QTest::keyClick(dash, Qt::Key_Tab);

    // Escape and close do not end it before "Ok" or "Отмена".
    QTest::keyClick(&d, Qt::Key_Escape);
    d.close();
    EXPECT_TRUE(d.isVisible());

    // A file that cannot be written: the message, and the dialog stays usable.
    QTest::mouseClick(ok, Qt::LeftButton);
    ASSERT_EQ(r.messages.errors.size(), 1u);
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(d, "Button2")->isEnabled());
    EXPECT_FALSE(r.st.Running);

    r.state.CdrFileName = r.path("d.cdr");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(r.exists("d.odg"));
    EXPECT_FALSE(r.st.Running);
    EXPECT_TRUE(r.messages.questions.empty());
    // The options went to the painters and into the settings file.
    EXPECT_TRUE(std::any_of(d.lastRun().calls.begin(), d.lastRun().calls.end(), [](const std::string& c) {
        return c.rfind("ApplyOutline", 0) == 0 && c.find(" 12 ") != std::string::npos;
    }));
    const CdrSettings saved = LoadCdrSettings(r.ctx.progDir);
    EXPECT_FALSE(saved.ownArrows);
    EXPECT_EQ(saved.dashNo, 12);
}

TEST(ExportDialogs, WordProcessorSession) {
    DialogRig r;
    r.state.OfficeApp = "Word";
    r.state.WordFileName = r.path("t.doc");
    {
        WordExportDialog d(r.ctx, r.state);
        ShowActive(d);
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Параметры экспорта в OpenDocument Text (.odt)"));
        auto* run = Find<TRadioGroup>(d, "RadioGroupRun");
        EXPECT_EQ(run->title(), "OpenDocument Text (.odt)");
        EXPECT_EQ(run->itemIndex(), 0);
        EXPECT_EQ(Find<TSpinEdit>(d, "SpinEditNArrow")->value(), 4);
        EXPECT_EQ(Find<TSpinEdit>(d, "SpinEditNDash")->value(), 4);
        EXPECT_TRUE(Find<QLabel>(d, "Image1")->isVisible());
        EXPECT_FALSE(Find<QLabel>(d, "Image2")->isVisible());

        ClickIndicator(run->button(2));
        TypeInto(Find<TSpinEdit>(d, "SpinEditNArrow"), "6");
        QTest::keyClick(Find<TSpinEdit>(d, "SpinEditNArrow"), Qt::Key_Tab);
        // "Отмена" closes and still writes the settings shown.
        QTest::mouseClick(Find<QPushButton>(d, "Button2"), Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
        EXPECT_FALSE(r.exists("t.odt"));
    }
    const WordSettings saved = LoadWordSettings(r.ctx.progDir);
    EXPECT_EQ(saved.runMode, 2);
    EXPECT_EQ(saved.arrowNo, 6);

    // The next dialog starts from them: "open a copy" opens a copy and
    // writes no file at the chosen name.
    {
        WordExportDialog d(r.ctx, r.state);
        ShowActive(d);
        EXPECT_EQ(Find<TRadioGroup>(d, "RadioGroupRun")->itemIndex(), 2);
        QTest::mouseClick(Find<QPushButton>(d, "Button1"), Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(r.desktop.opened, std::vector<std::string>{r.path("prog/Temp/t.odt")});
        EXPECT_FALSE(r.exists("t.odt"));
    }
    // Without a program for the type the question names it, and Yes writes
    // the file without opening it.
    r.desktop.installed = false;
    WordExportDialog d(r.ctx, r.state);
    ShowActive(d);
    QTest::mouseClick(Find<QPushButton>(d, "Button1"), Qt::LeftButton);
    ASSERT_EQ(r.messages.questions.size(), 1u);
    EXPECT_NE(r.messages.questions[0].find("OpenDocument Text (.odt)"), std::string::npos);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(r.desktop.opened.size(), 1u);
    EXPECT_TRUE(r.exists("t.odt"));
    EXPECT_TRUE(r.messages.errors.empty());
}

// File > Export of the main window, the save dialog answered by the test and
// the real option dialogs on the window's document.
TEST(ExportDialogs, FromTheMainWindow) {
    DialogRig r;
    const std::string file = r.path("sample.pel");
    ASSERT_TRUE(WriteDocument(file, *r.proj, WriteModeDocument, DocumentContext{}));
    Application app(Application::Folders{r.path("prog/"), {}, r.path("")});
    FakeExportHost exporter;
    MainWindowSetup setup;
    setup.arguments = {file};
    setup.services.exporter = &exporter;
    Form1 w(app, std::move(setup));
    WireDocument(w);
    exporter.shapeExport = [&w, run = OfficeExportService(&r.desktop, &r.messages)](ExportState& state, bool word) {
        run(w, state, word);
    };
    w.show();
    QStringList seen;  // the dialogs' captions and "Отмена" buttons
    auto exportAs = [&](int filter, const std::string& name) {
        exporter.chosenFilter = filter;
        exporter.chosenName = r.path(name);
        QTimer::singleShot(0, [&seen] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(d);
            seen << d->windowTitle() << Find<QPushButton>(*d, "Button2")->text();
            QTest::mouseClick(Find<QPushButton>(*d, "Button1"), Qt::LeftButton);
        });
        w.menuAction(MainCommand::Export)->trigger();
        EXPECT_FALSE(QApplication::activeModalWidget());
    };
    w.document().Im.PicMode = 1;
    w.redraw(true);
    exportAs(2, "drawing");
    exportAs(3, "text.odt");
    EXPECT_NE(ZipText(r.path("drawing.odg"), "content.xml").find("<draw:g"), std::string::npos);
    EXPECT_NE(ZipText(r.path("text.odt"), "content.xml").find("draw:name=\"O1\""), std::string::npos);
    EXPECT_FALSE(w.drawing().Running);
    EXPECT_TRUE(r.messages.errors.empty() && r.messages.questions.empty());
    const QString cancel = QString::fromUtf8("Отмена");
    const QStringList once{QString::fromUtf8("Параметры экспорта в OpenDocument Drawing (.odg)"), cancel,
                           QString::fromUtf8("Параметры экспорта в OpenDocument Text (.odt)"), cancel};
    EXPECT_EQ(seen, once);
}

}  // namespace
}  // namespace pelmar::test
