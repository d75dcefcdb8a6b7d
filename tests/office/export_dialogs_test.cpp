// The two option dialogs, each in one scripted session, and both opened from
// the main window's File > Export.
#include <gtest/gtest.h>
#include <zip.h>

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <map>

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
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Параметры экспорта в  Corel Draw"));
    EXPECT_EQ(ver->value(), 8);
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
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Параметры экспорта в  Word"));
        auto* run = Find<TRadioGroup>(d, "RadioGroupRun");
        EXPECT_EQ(run->title(), "Word...");
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

    // The next dialog starts from them; without a program for the type the
    // question comes first, and "open but do not close" opens a copy.
    r.desktop.installed = false;
    WordExportDialog d(r.ctx, r.state);
    ShowActive(d);
    EXPECT_EQ(Find<TRadioGroup>(d, "RadioGroupRun")->itemIndex(), 2);
    QTest::mouseClick(Find<QPushButton>(d, "Button1"), Qt::LeftButton);
    EXPECT_EQ(r.messages.questions.size(), 1u);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(r.desktop.opened, std::vector<std::string>{r.path("prog/Temp/t.odt")});
    EXPECT_FALSE(r.exists("t.odt"));
    EXPECT_TRUE(r.messages.errors.empty());
}

// The text of one entry of a zip package; empty when it is missing.
std::string ZipEntry(const std::string& path, const char* name) {
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &err);
    if (!z) return {};
    std::string data;
    zip_stat_t st;
    if (zip_stat(z, name, 0, &st) == 0) {
        data.assign(st.size, '\0');
        zip_file_t* f = zip_fopen(z, name, 0);
        if (!f || zip_fread(f, data.data(), st.size) != static_cast<zip_int64_t>(st.size)) data.clear();
        if (f) zip_fclose(f);
    }
    zip_close(z);
    return data;
}

std::size_t Occurrences(const std::string& s, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
}

// File > Export of the main window, the save dialog answered by the test and
// the real option dialogs on the window's document, in both picture modes:
// the word table's texts on the dialogs, "Ok", and the shapes in the file.
TEST(ExportDialogs, FromTheMainWindowInBothModes) {
    DialogRig r;
    const std::string file = r.path("sample.pel");
    ASSERT_TRUE(WriteDocument(file, *r.proj, WriteModeDocument, DocumentContext{}));
    Application app(Application::Folders{r.path("prog/"), {}});
    FakeExportHost exporter;
    MainWindowSetup setup;
    setup.arguments = {file};
    setup.services.exporter = &exporter;
    Form1 w(app, std::move(setup));
    exporter.shapeExport = [&w, run = OfficeExportService(&r.desktop, &r.messages)](ExportState& state, bool word) {
        run(w, state, word);
    };
    w.resize(1200, 800);
    w.show();
    ASSERT_EQ(w.document().Obj.count(Kind::xz), 1);

    std::vector<QString> seen;
    auto answer = [&seen](const char* form) {
        QTimer::singleShot(0, [&seen, form] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(d);
            EXPECT_EQ(d->objectName(), form);
            seen.push_back(d->windowTitle());
            for (const char* name : {"Button2", "Label1", "Label3", "GroupBox4", "RadioGroupRun"})
                EXPECT_TRUE(d->findChild<QWidget*>(name)) << name;
            seen.push_back(Find<QPushButton>(*d, "Button2")->text());
            seen.push_back(Find<QLabel>(*d, "Label3")->text());
            seen.push_back(Find<TRadioGroup>(*d, "RadioGroupRun")->itemText(2));
            QTest::mouseClick(Find<QPushButton>(*d, "Button1"), Qt::LeftButton);
        });
    };
    std::string shapes[2];
    for (const int mode : {0, 1}) {
        w.document().Im.PicMode = static_cast<std::uint8_t>(mode);
        w.redraw(true);
        const std::string m = std::to_string(mode);
        exporter.chosenFilter = mode == 0 ? 5 : 2;
        exporter.chosenName = r.path("drawing" + m);
        answer("FormCDR");
        w.run(MainCommand::Export);
        exporter.chosenFilter = mode == 0 ? 6 : 3;
        exporter.chosenName = r.path("text" + m + ".odt");
        answer("FormWord");
        w.menuAction(MainCommand::Export)->trigger();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_FALSE(w.drawing().Running);

        const std::string drawing = ZipEntry(r.path("drawing" + m + ".odg"), "content.xml");
        const std::string text = ZipEntry(r.path("text" + m + ".odt"), "content.xml");
        EXPECT_NE(ZipEntry(r.path("drawing" + m + ".odg"), "styles.xml").find("\"Layer_10\""), std::string::npos);
        EXPECT_NE(drawing.find("draw:layer=\"Layer_3\""), std::string::npos) << mode;
        EXPECT_GT(Occurrences(drawing, "<draw:g"), 10u) << mode;
        EXPECT_NE(text.find("draw:name=\"O1\""), std::string::npos) << mode;
        shapes[mode] = text.substr(text.find("<office:body"));
    }
    // The picture mode changes nothing of the shapes.
    EXPECT_EQ(shapes[0], shapes[1]);
    EXPECT_TRUE(r.messages.errors.empty());
    EXPECT_TRUE(r.messages.questions.empty());
    ASSERT_EQ(seen.size(), 16u);
    EXPECT_EQ(seen[0], QString::fromUtf8("Параметры экспорта в  Corel Draw"));
    EXPECT_EQ(seen[4], QString::fromUtf8("Параметры экспорта в  Word"));
    for (int i : {1, 5}) EXPECT_EQ(seen[i], QString::fromUtf8("Отмена"));
    for (int i : {2, 6}) EXPECT_EQ(seen[i], QString::fromUtf8("Номер пунктира:"));
    for (int i : {3, 7}) EXPECT_EQ(seen[i], QString::fromUtf8("Открыть, но не закрывать"));
}

}  // namespace
}  // namespace pelmar::test
