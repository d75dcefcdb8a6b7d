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
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <tuple>

#include <sys/stat.h>

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
#include "support/no_read_override.h"
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
    const auto runTwoArrowSix = [](WordExportDialog& d) {
        ClickIndicator(Find<TRadioGroup>(d, "RadioGroupRun")->button(2));
        TypeInto(Find<TSpinEdit>(d, "SpinEditNArrow"), "6");
        QTest::keyClick(Find<TSpinEdit>(d, "SpinEditNArrow"), Qt::Key_Tab);
    };
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

        runTwoArrowSix(d);
        // "Отмена" closes and writes nothing.
        QTest::mouseClick(Find<QPushButton>(d, "Button2"), Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
        EXPECT_FALSE(r.exists("t.odt"));
        EXPECT_FALSE(r.exists("prog/MSOffice.txt"));
    }
    // The next dialog starts from the shipped values again; "Ok" writes the
    // options, and "open a copy" opens a copy and writes no file at the
    // chosen name.
    {
        WordExportDialog d(r.ctx, r.state);
        ShowActive(d);
        EXPECT_EQ(Find<TRadioGroup>(d, "RadioGroupRun")->itemIndex(), 0);
        runTwoArrowSix(d);
        QTest::mouseClick(Find<QPushButton>(d, "Button1"), Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(r.desktop.opened, std::vector<std::string>{r.path("prog/Temp/t.odt")});
        EXPECT_FALSE(r.exists("t.odt"));
    }
    const WordSettings saved = LoadWordSettings(r.ctx.progDir);
    EXPECT_EQ(saved.runMode, 2);
    EXPECT_EQ(saved.arrowNo, 6);
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

// What a test can see change at a name: kind and permissions, size, inode,
// time of the last change, and the bytes of a file or the target of a link.
using Trace = std::tuple<mode_t, off_t, ino_t, long long, std::string>;
Trace TraceOf(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return {};
    return {st.st_mode, st.st_size, st.st_ino, st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec,
            S_ISREG(st.st_mode)   ? ReadFileBytes(path)
            : S_ISLNK(st.st_mode) ? std::filesystem::read_symlink(path).string()
                                  : ""};
}

// One option dialog: its file, a file of the user's own values, a damaged
// file and what it reads as, and a dash number typed as a change.
template <class Options>
struct OptionTarget {
    const char* file;
    Options own;
    std::string damaged;
    Options damagedReads;
    const char* dashTyped;
    int dashTypedValue;
    std::string (*bytes)(const Options&);
};

// Each bad option file shows the values it should, an unreadable one is told
// once, neither "Отмена" nor "Ok" touches a file that could not be read or is
// unchanged, and "Ok" after a change writes it.
template <class Dialog, class Options>
void BadOptionFiles(const OptionTarget<Options>& t, const char* exported) {
    const struct {
        const char* what;
        std::function<void(const std::string& path)> make;
        Options shows;
        const char* reason;  // the notice's reason, nullptr: no notice
    } cases[] = {
        {"a folder", [](const std::string& p) { std::filesystem::create_directories(p + "/inside"); }, Options{},
         "это папка"},
        {"a named pipe", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }, Options{},
         "это не обычный файл"},
        {"mode 000", [&t](const std::string& p) { WriteFileBytes(p, t.bytes(t.own)), ::chmod(p.c_str(), 0); },
         Options{}, "нет прав на чтение"},
        {"a link to /dev/zero", [](const std::string& p) { std::filesystem::create_symlink("/dev/zero", p); },
         Options{}, "это не обычный файл"},
        {"damaged lines", [&t](const std::string& p) { WriteFileBytes(p, t.damaged); }, t.damagedReads, nullptr},
        {"the user's own values", [&t](const std::string& p) { WriteFileBytes(p, t.bytes(t.own)); }, t.own, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(t.file) + ": " + c.what);
        DialogRig r;
        std::set<std::string> told;
        r.ctx.toldUnreadable = &told;
        r.state.CdrFileName = r.path("d.cdr");
        r.state.WordFileName = r.path("t.doc");
        const std::string file = r.ctx.progDir + t.file;
        std::filesystem::create_directories(r.ctx.progDir);
        c.make(file);
        const Trace before = TraceOf(file);
        const auto session = [&](bool change, const char* button) {
            NoReadOverride asAUser;  // the dialog reads as a user who is not root
            Dialog d(r.ctx, r.state);
            ShowActive(d);
            QCoreApplication::processEvents();
            EXPECT_TRUE(d.controls() == c.shows);
            if (change) {
                TypeInto(Find<TSpinEdit>(d, "SpinEditNDash"), QString::fromLatin1(t.dashTyped));
                QTest::keyClick(Find<TSpinEdit>(d, "SpinEditNDash"), Qt::Key_Tab);
            }
            QTest::mouseClick(Find<QPushButton>(d, button), Qt::LeftButton);
            EXPECT_FALSE(d.isVisible());
        };
        session(false, "Button2");  // "Отмена"
        EXPECT_EQ(TraceOf(file), before) << "after Отмена";
        session(c.reason != nullptr, "Button1");  // "Ok", with a change where the file cannot be read
        EXPECT_EQ(TraceOf(file), before) << "after Ok";
        EXPECT_TRUE(r.exists(exported));
        EXPECT_TRUE(r.messages.errors.empty());
        if (c.reason) {
            ASSERT_EQ(r.messages.notices.size(), 1u);
            EXPECT_NE(r.messages.notices[0].find(file + ": " + c.reason), std::string::npos) << r.messages.notices[0];
            continue;
        }
        EXPECT_TRUE(r.messages.notices.empty());
        session(true, "Button1");
        Options changed = c.shows;
        changed.dashNo = t.dashTypedValue;
        EXPECT_EQ(std::get<4>(TraceOf(file)), t.bytes(changed));
    }
}

TEST(ExportDialogs, BadOptionFilesAreReadAndKeptLikeTheSettings) {
    CdrSettings cdrOwn;
    cdrOwn.version = 9, cdrOwn.runMode = 1, cdrOwn.groupMode = 0, cdrOwn.ownArrows = false, cdrOwn.arrowNo = 5,
    cdrOwn.dashNo = 3;
    CdrSettings cdrDamaged;  // the lines that read well, the shipped values of the others
    cdrDamaged.version = 12, cdrDamaged.groupMode = 0, cdrDamaged.arrowNo = 7;
    BadOptionFiles<CdrExportDialog, CdrSettings>(
        {CdrSettingsFile, cdrOwn,
         "Version:\r\n12\r\nType of Run:\r\nabc\r\nGroups:\r\n0\r\nPelmar Arrows:\r\n??\r\nNumber of Arrow:\r\n7\r\n"
         "Number of Dash:\r\n\xFF\xFE\r\n",
         cdrDamaged, "17", 17, &CdrSettingsBytes},
        "d.odg");
    WordSettings wordOwn;
    wordOwn.runMode = 1, wordOwn.arrowNo = 2, wordOwn.dashNo = 6;
    WordSettings wordDamaged;
    wordDamaged.runMode = 1, wordDamaged.dashNo = 7;
    BadOptionFiles<WordExportDialog, WordSettings>(
        {WordSettingsFile, wordOwn, "Type of Run:\n1\nNumber of Arrow:\n\x01\nNumber of Dash:\n7", wordDamaged, "2", 2,
         &WordSettingsBytes},
        "t.odt");
}

}  // namespace
}  // namespace pelmar::test
