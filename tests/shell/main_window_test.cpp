// The main window in one sitting of a new user: a new project, objects from
// the menu and the tool bar up to a kind's capacity, undo and redo, save,
// the questions before losing changes, close, the recent file, a damaged
// file, zoom, picture export, printing to a PDF file, and the program ended
// and started again with a document on its command line.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QProcess>
#include <QSpinBox>
#include <QTimer>
#include <QImage>
#include <QImageReader>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QScreen>
#include <QToolBar>
#include <sys/stat.h>
#include <csignal>
#include <deque>
#include <filesystem>

#include "app/document_wiring.h"
#include "dialogs/dialog_test_util.h"
#include "dialogs/number_text.h"
#include "dialogs/section_edit.h"
#include "dialogs/ui/dialog_registry.h"
#include "dialogs/ui/font_combo.h"
#include "dialogs/ui/outline_dialog.h"
#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/section_dialog.h"
#include "dialogs/ui/spin_edit.h"
#include "dialogs/ui/xz_sections.h"
#include "shell/picture_settings.h"
#include "editing/kind_access.h"
#include "editing/nesting.h"
#include "editing/selection.h"
#include "editing/ui/picture_window.h"
#include "editing/undo_store.h"
#include "files/document.h"
#include "files/ui/text_tip.h"
#include "support/fake_export_host.h"
#include "shell/ui/dialog_session.h"
#include "shell/ui/main_window.h"
#include "shell/print_picture.h"
#include "shell/settings.h"
#include "shell/zoom.h"
#include "shell_test_util.h"
#include "transform/ui/anim_window.h"
#include "transform/ui/trans_window.h"

using namespace pelmar;
using namespace pelmar::test;
namespace fs = std::filesystem;

namespace {

// Every question answered from a script; what was asked is kept.
struct ScriptedAnswers : FileQuestions {
    std::deque<Answer> yesNoCancel;
    std::deque<bool> yesNo;
    std::deque<std::string> openNames, saveNames;
    std::array<std::uint8_t, KindCount> counts{};
    std::vector<std::string> asked, messages;
    // What the open and save dialogs were started with: the folder, and the
    // name proposed.
    std::vector<std::string> openDirs, saveDirs, saveProposals;

    Answer askYesNoCancel(const std::string& text) override {
        asked.push_back(text);
        EXPECT_FALSE(yesNoCancel.empty()) << text;
        if (yesNoCancel.empty()) return Answer::Cancel;
        Answer a = yesNoCancel.front();
        yesNoCancel.pop_front();
        return a;
    }
    bool askYesNo(const std::string& text) override {
        asked.push_back(text);
        EXPECT_FALSE(yesNo.empty()) << text;
        if (yesNo.empty()) return false;
        bool a = yesNo.front();
        yesNo.pop_front();
        return a;
    }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    std::string chooseOpenFile(const std::string& dir, bool) override {
        openDirs.push_back(dir);
        return Pop(openNames);
    }
    std::string chooseSaveFile(const std::string& dir, const std::string& name, bool) override {
        saveDirs.push_back(dir);
        saveProposals.push_back(name);
        return Pop(saveNames);
    }
    bool chooseNewProject(std::array<std::uint8_t, KindCount>& c) override {
        c = counts;
        return true;
    }
    // The user makes the picture 800 x 600 at 96 dpi, the size the
    // sessions below draw on.
    QSize picture{800, 600};  // empty: the offered settings confirmed
    bool chooseNewPicture(PictureSettings& p) override {
        if (picture.isEmpty()) return true;
        p.Width = picture.width();
        p.Height = picture.height();
        p.Dpi = 96;
        return true;
    }
    static std::string Pop(std::deque<std::string>& q) {
        EXPECT_FALSE(q.empty());
        if (q.empty()) return {};
        std::string s = q.front();
        q.pop_front();
        return s;
    }
};

// With PELMAR_MAINWIN_SHOTS set, pictures of the window on the way.
void Shot(Form1& w, const char* name) {
    if (const char* dir = std::getenv("PELMAR_MAINWIN_SHOTS")) {
        QApplication::processEvents();
        w.grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
    }
}

// A machine without printers: the print dialog offers a PDF file.
struct NoPrinters : PrintHost {
    std::string output;
    std::vector<std::string> printerNames() override { return {}; }
    bool choosePrinter(QPrinter& printer) override {
        output = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName().toStdString() : "";
        return true;
    }
};

struct Session {
    Scratch dir;
    ScriptedAnswers answers;
    NoPrinters printer;
    FakeExportHost exporter;
    std::unique_ptr<Application> app;
    std::unique_ptr<Form1> w;
    // The link dialog's answer.
    LinkResult linkAnswer = LinkResult::Independent;
    NewLinks links{};
    std::vector<Kind> asked;

    void start(std::vector<std::string> arguments = {}) {
        w.reset();
        app = std::make_unique<Application>(
            Application::Folders{dir.folder("prog"), {std::string(PELMAR_TEST_DATA) + "/../../share/pelmar/"},
                                 dir.folder("Documents")});
        MainWindowSetup s;
        s.arguments = std::move(arguments);
        s.services.questions = &answers;
        s.services.printer = &printer;
        s.services.exporter = &exporter;
        s.services.askLinks = [this](Kind k, NewLinks& l) {
            asked.push_back(k);
            l = links;
            return linkAnswer;
        };
        w = std::make_unique<Form1>(*app, std::move(s));
        WireDocument(*w);
        w->resize(2000, 900);  // the whole tool bar in view
        w->show();
    }
    // A click on the menu item or tool button, as the user makes it.
    void menu(MainCommand c) { w->menuAction(c)->trigger(); }
    void tool(MainCommand c) {
        auto* bar = w->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
        QWidget* button = bar ? bar->widgetForAction(w->toolAction(c)) : nullptr;
        ASSERT_TRUE(button && button->isVisible()) << InfoOf(c).tool;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    bool on(MainCommand c) const { return w->commandEnabled(c); }
    // A left-button drag in the picture window, from press to release.
    void drag(QPoint from, QPoint to, const char* shot = nullptr) {
        QWidget* box = w->picture()->paintBox();
        QTest::mousePress(box, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF((from + to) / 2), box->mapToGlobal(QPointF((from + to) / 2)),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(box, &move);
        QMouseEvent last(QEvent::MouseMove, QPointF(to), box->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(box, &last);
        if (shot) Shot(*w, shot);
        QTest::mouseRelease(box, Qt::LeftButton, {}, to);
    }
    int count(Kind k) const { return w->document().Obj.count(k); }
    std::string caption() const { return w->windowTitle().toStdString(); }
};

// The objects of a document as the writer puts them down, apart from the
// windows' state.
std::string ObjectsText(const DProj& doc) { return DocumentText(doc, LiveWindows{}, doc.Role, ','); }

}  // namespace

TEST(MainWindow, NewUserSession) {
    Session s;
    s.start();
    Form1& w = *s.w;

    // The transformations window: up with the main window, placed at the
    // bottom left of it by the default layout, waiting for a document.
    auto* trans = w.findChild<TFormTrans*>(QStringLiteral("FormTrans"));
    ASSERT_TRUE(trans && trans->isVisible());
    s.menu(MainCommand::WinDef);
    const QRect screen = w.screen()->availableGeometry();
    EXPECT_EQ(trans->frameGeometry().bottom(), std::min(w.frameGeometry().bottom() - 15, screen.bottom()));
    EXPECT_TRUE(screen.contains(trans->frameGeometry())) << "wholly on the screen";
    EXPECT_FALSE(trans->Button1->isEnabled());

    // No project: only what needs no document can be chosen.
    EXPECT_EQ(s.caption(), "Pelmar");
    for (MainCommand c : DocumentCommands()) EXPECT_FALSE(s.on(c)) << InfoOf(c).menu;
    for (MainCommand c : {MainCommand::New, MainCommand::Open, MainCommand::Exit, MainCommand::About})
        EXPECT_TRUE(s.on(c)) << InfoOf(c).menu;
    // A disabled tool button looks so: its glyph faint on the bar, the
    // black outlines of the Back-to and New buttons too.
    auto darkest = [&](MainCommand c, QIcon::Mode mode) {
        QImage shown(23, 23, QImage::Format_RGB32);
        shown.fill(w.palette().color(QPalette::Button));
        QPainter(&shown).drawPixmap(0, 0, w.toolAction(c)->icon().pixmap(QSize(23, 23), mode));
        int dark = 255;
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 23; ++x) dark = std::min(dark, qGray(shown.pixel(x, y)));
        return dark;
    };
    for (MainCommand c : {MainCommand::ToLi, MainCommand::ToXZ, MainCommand::NewPo, MainCommand::Save}) {
        EXPECT_FALSE(w.toolAction(c)->isEnabled()) << InfoOf(c).tool;
        EXPECT_LT(darkest(c, QIcon::Normal), 80) << InfoOf(c).tool;
        EXPECT_GT(darkest(c, QIcon::Disabled), 150) << InfoOf(c).tool;
    }
    EXPECT_FALSE(w.objectCombo()->isEnabled());
    for (int n = 1; n <= 5; ++n) EXPECT_FALSE(s.on(RecentFileCommand(n))) << "no settings file: no recent entries";

    // File > New with points, a segment, a triangle and a sphere.
    s.answers.counts[Slot(Kind::po)] = 2;
    s.answers.counts[Slot(Kind::li)] = 1;
    s.answers.counts[Slot(Kind::tr)] = 1;
    s.answers.counts[Slot(Kind::sf)] = 1;
    s.menu(MainCommand::New);
    EXPECT_EQ(s.caption(), "Pelmar  -  New_Project.pel");
    EXPECT_EQ(s.count(Kind::po), 2);
    EXPECT_EQ(s.count(Kind::tr), 1);
    EXPECT_EQ(w.objectCombo()->count(), 5);
    EXPECT_TRUE(w.objectCombo()->isEnabled());
    EXPECT_EQ(w.document().Obj.Po[2].ID.s, "Point №2") << "objects take the default set and their numbers";
    EXPECT_EQ(std::make_tuple(w.document().Im.Width, w.document().AnimStart, w.document().AnimStep),
              std::make_tuple(800, std::string("0"), std::string("1")))
        << "the picture as set in its dialog; t of the animation starts at 0 and steps by 1";
    EXPECT_TRUE(s.on(MainCommand::Save)) << "a new document has no file yet";
    EXPECT_FALSE(s.on(MainCommand::Undo));
    EXPECT_TRUE(s.on(MainCommand::Export));
    EXPECT_TRUE(s.on(MainCommand::Print));
    EXPECT_EQ(w.drawing().DrawBitmap.size(), QSize(w.document().Im.Width, w.document().Im.Height));
    EXPECT_TRUE(trans->Button1->isEnabled());

    // New objects from the menu and the tool bar; the 3D system up to its capacity of two.
    s.menu(MainCommand::NewLi);
    s.menu(MainCommand::NewCi);
    EXPECT_TRUE(s.asked.empty()) << "the menu creates without the link dialog";
    s.linkAnswer = LinkResult::Cancel;
    s.tool(MainCommand::NewZi);
    EXPECT_EQ(s.count(Kind::zi), 0) << "the link dialog cancelled";
    s.linkAnswer = LinkResult::Ok;
    s.links = {};
    s.links[0].b[0] = 1, s.links[0].b[1] = 2;  // point 2
    s.tool(MainCommand::NewZi);
    EXPECT_EQ(s.asked, std::vector<Kind>(2, Kind::zi));
    EXPECT_EQ(s.count(Kind::li), 2);
    EXPECT_EQ(s.count(Kind::ci), 1);
    ASSERT_EQ(s.count(Kind::zi), 1);
    const DPoint& base = w.document().Obj.Zi[1].Base[1].Center;
    const DPoint& p2 = w.document().Obj.Po[2];
    EXPECT_EQ(std::make_tuple(base.X.v, base.Y.v, base.Z.v), std::make_tuple(p2.X.v, p2.Y.v, p2.Z.v));
    s.linkAnswer = LinkResult::Independent;
    EXPECT_TRUE(s.on(MainCommand::Undo));
    s.tool(MainCommand::NewXZ);
    EXPECT_TRUE(s.on(MainCommand::NewXZ));
    s.menu(MainCommand::NewXZ);
    EXPECT_EQ(s.count(Kind::xz), 2);
    EXPECT_FALSE(s.on(MainCommand::NewXZ)) << "a kind at its capacity takes no more";
    EXPECT_FALSE(w.toolAction(MainCommand::NewXZ)->isEnabled());
    EXPECT_EQ(w.objectCombo()->count(), 10);
    Shot(w, "main_100");

    // Undo twice, redo once: counts, the capacity rule and the two commands follow.
    s.tool(MainCommand::Undo);
    EXPECT_EQ(s.count(Kind::xz), 1);
    EXPECT_TRUE(s.on(MainCommand::NewXZ));
    EXPECT_TRUE(s.on(MainCommand::Redo));
    s.menu(MainCommand::Undo);
    EXPECT_EQ(s.count(Kind::xz), 0);
    s.menu(MainCommand::Redo);
    EXPECT_EQ(s.count(Kind::xz), 1);
    EXPECT_TRUE(s.on(MainCommand::Redo));
    EXPECT_EQ(w.objectCombo()->count(), 9);

    // The mouse in the picture window: a segment drawn, selected and its end
    // dragged; one undo step each, the object list and Undo follow.
    PictureWindow& pic = *w.picture();
    const int H = w.document().Im.Height;
    auto seg = [&] { return w.document().Obj.Li[3]; };
    const int undo = w.editing().UndoPos;
    EXPECT_TRUE(pic.toolButton("TBLine")->isChecked()) << "a document opens with the ruler";
    // The ruler's length and angle in the status bar with the dialogs' decimal comma.
    {
        QWidget* paint = pic.paintBox();
        QTest::mousePress(paint, Qt::LeftButton, {}, {100, 100});
        QMouseEvent move(QEvent::MouseMove, QPointF(110, 103), paint->mapToGlobal(QPointF(110, 103)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(paint, &move);
        EXPECT_EQ(pic.statusText(0), "X=110");
        EXPECT_NE(pic.statusText(5).find("10,44"), std::string::npos) << pic.statusText(5);
        EXPECT_NE(pic.statusText(6).find(','), std::string::npos) << pic.statusText(6);
        EXPECT_EQ(pic.statusText(6).find('.'), std::string::npos) << pic.statusText(6);
        QTest::mouseRelease(paint, Qt::LeftButton, {}, {110, 103});
    }
    pic.toolButton("TBAdds")->trigger();
    pic.toolButton("TBLi")->trigger();
    s.drag({560, 60}, {660, 110});
    ASSERT_EQ(s.count(Kind::li), 3);
    EXPECT_EQ(std::make_pair(seg().P2.ScrX.v, seg().P2.ScrY.v), std::make_pair(660.0, H - 111.0));
    EXPECT_EQ(w.objectCombo()->count(), 10);
    EXPECT_EQ(w.editing().UndoPos, undo + 1);
    EXPECT_TRUE(s.on(MainCommand::Undo) && !s.on(MainCommand::Redo));
    pic.toolButton("TBSell")->trigger();
    s.drag({610, 85}, {610, 85});
    ASSERT_TRUE(IsSelected(w.editing(), Kind::li, 3));
    pic.toolButton("TBEdit")->trigger();
    s.drag({660, 110}, {700, 150}, "main_drag");
    EXPECT_EQ(std::make_pair(seg().P2.ScrX.v, seg().P2.ScrY.v), std::make_pair(700.0, H - 151.0));
    EXPECT_EQ(seg().P1.ScrX.v, 560);
    EXPECT_EQ(w.editing().UndoPos, undo + 2);
    s.menu(MainCommand::Undo);
    EXPECT_EQ(seg().P2.ScrX.v, 660);
    s.menu(MainCommand::Redo);
    EXPECT_EQ(seg().P2.ScrX.v, 700);

    // Save of an untitled document asks for a name, first in the documents
    // folder, never in the program folder; ".pel" is added.
    const std::string file = s.dir.path("drawing.pel");
    s.answers.saveNames.push_back(s.dir.path("drawing"));
    s.tool(MainCommand::Save);
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(s.answers.saveDirs, std::vector<std::string>{s.dir.path("Documents/")});
    EXPECT_EQ(s.answers.saveProposals, std::vector<std::string>{s.dir.path("Documents/New_Project.pel")});
    EXPECT_EQ(s.caption(), "Pelmar  -  drawing.pel");
    EXPECT_FALSE(s.on(MainCommand::Save));
    EXPECT_TRUE(s.on(MainCommand::File1));
    EXPECT_EQ(w.menuAction(MainCommand::File1)->toolTip().toStdString(), file);
    const std::string saved = ObjectsText(w.document());
    EXPECT_EQ(CurrentWindows(w.editing()).TransTop, trans->y()) << "files keep the window's place";
    auto readBack = [&] {
        auto d = NewDocument();
        std::uint8_t v = 0;
        EXPECT_EQ(ReadDocument(file, *d, v, ReadModeOpen), ReadOk);
        return ObjectsText(*d);
    };

    // A name the file's code page cannot hold: the user is told and may refuse.
    std::string& name = w.document().Obj.Po[1].ID.s;
    const std::string oldName = name;
    name = "Point \u2713";
    SetChanged(w.editing(), true);
    s.answers.yesNo.push_back(false);
    s.menu(MainCommand::Save);
    EXPECT_NE(s.answers.asked.back().find("Point \u2713"), std::string::npos) << s.answers.asked.back();
    EXPECT_TRUE(s.on(MainCommand::Save));
    EXPECT_EQ(readBack(), saved);
    name = oldName;

    // An edit, then Save As onto the same file refused at the overwrite question.
    s.menu(MainCommand::NewPo);
    EXPECT_TRUE(s.on(MainCommand::Save));
    s.answers.saveNames.push_back(file);
    s.answers.yesNo.push_back(false);
    s.menu(MainCommand::SaveAs);
    EXPECT_EQ(s.answers.asked.back().rfind(w.shell().words.WordLine(623), 0), 0u);
    EXPECT_EQ(s.answers.saveProposals.back(), file) << "later in the folder used last";
    EXPECT_TRUE(s.on(MainCommand::Save)) << "a refused overwrite saves nothing";
    EXPECT_EQ(readBack(), saved);

    // Close: Cancel keeps everything, No leaves without saving.
    s.answers.yesNoCancel.push_back(Answer::Cancel);
    s.tool(MainCommand::Close);
    EXPECT_EQ(s.count(Kind::po), 3);
    EXPECT_EQ(s.caption(), "Pelmar  -  drawing.pel");
    s.answers.yesNoCancel.push_back(Answer::No);
    s.menu(MainCommand::Close);
    EXPECT_EQ(s.caption(), "Pelmar");
    for (MainCommand c : DocumentCommands()) EXPECT_FALSE(s.on(c)) << InfoOf(c).menu;
    EXPECT_FALSE(w.objectCombo()->isEnabled());
    EXPECT_EQ(w.objectCombo()->count(), 0);
    // The status bar forgets the mouse's last place and what it measured.
    for (int panel = 0; panel < 7; ++panel)
        EXPECT_EQ(pic.statusText(panel), panel == 0 ? "X=" : panel == 1 ? "Y=" : "") << panel;

    // The recent file brings the saved document back, titled and unchanged.
    s.menu(MainCommand::File1);
    EXPECT_EQ(s.caption(), "Pelmar  -  drawing.pel");
    EXPECT_EQ(ObjectsText(w.document()), saved);
    EXPECT_FALSE(s.on(MainCommand::Save));
    EXPECT_FALSE(s.on(MainCommand::Undo));
    EXPECT_EQ(w.objectCombo()->count(), 10);
    EXPECT_EQ(s.count(Kind::li), 3) << "the segment drawn with the mouse";

    // A damaged file: its message, and the open document stays as it was.
    const std::string damaged = s.dir.path("damaged.pel");
    WriteBytes(damaged, ReadBytes(file).substr(0, 300));
    s.answers.openNames.push_back(damaged);
    s.menu(MainCommand::Open);
    ASSERT_FALSE(s.answers.messages.empty());
    EXPECT_EQ(s.answers.messages.back(), w.shell().words.WordLine(626) + "\n\r" + damaged + ": файл поврежден");
    EXPECT_EQ(s.answers.openDirs, std::vector<std::string>{s.dir.path("")});
    EXPECT_EQ(ObjectsText(w.document()), saved);
    EXPECT_EQ(s.caption(), "Pelmar  -  drawing.pel");
    // Files of no program or of another version of it: the lines that say so.
    for (const auto& [first, from, to] : std::vector<std::tuple<std::string, int, int>>{
             {"PK\x03\x04", 627, 627}, {"<Pel20 File>", 628, 629}, {"<PelAB File>", 628, 629},
             {"<Pel09 File>", 630, 633}, {"<Pel01 File>", 630, 633}}) {
        WriteBytes(s.dir.path("other.pel"), first + "\r\n" + ReadBytes(file).substr(14));
        s.answers.openNames.push_back(s.dir.path("other.pel"));
        s.answers.messages.clear();
        s.menu(MainCommand::Open);
        std::string text = w.shell().words.WordLine(from);
        for (int n = from + 1; n <= to; ++n) text += "\n\r" + w.shell().words.WordLine(n);
        EXPECT_EQ(s.answers.messages, std::vector<std::string>{text}) << first;
        EXPECT_EQ(ObjectsText(w.document()) + s.caption(), saved + "Pelmar  -  drawing.pel") << first;
    }

    // Zoom 200 % doubles the picture on the screen.
    w.chooseZoom(ZoomItemOf(200));
    EXPECT_EQ(w.document().Zoom, 200);
    QWidget* box = w.pictureScroll()->widget();
    EXPECT_EQ(box->size(), QSize(2 * w.document().Im.Width, 2 * w.document().Im.Height));
    EXPECT_FALSE(s.on(MainCommand::Save)) << "zoom is no change to the document";
    Shot(w, "main_200");
    if (const char* dir = std::getenv("PELMAR_MAINWIN_SHOTS")) fs::copy_file(file, std::string(dir) + "/drawing.pel", fs::copy_options::overwrite_existing);

    // Export as PNG: first beside the document with its name, then in the
    // folder and as the type chosen last.
    const std::string pictures = s.dir.folder("pictures");
    s.exporter.chosenName = pictures + "picture.png";
    s.exporter.chosenFilter = 4;
    s.tool(MainCommand::Export);
    EXPECT_EQ(std::make_pair(s.exporter.dialogName, s.exporter.dialogFilterIndex), std::make_pair(s.dir.path("drawing"), 1));
    const QImage png(QString::fromStdString(pictures + "picture.png"));
    EXPECT_EQ(png.size(), QSize(w.document().Im.Width, w.document().Im.Height));
    s.exporter.dialogCancels = true;
    s.menu(MainCommand::Export);
    EXPECT_EQ(std::make_pair(s.exporter.dialogName, s.exporter.dialogFilterIndex), std::make_pair(pictures + "drawing", 4));
    s.exporter.dialogCancels = false;

    // Print on a machine without printers: no message, the print dialog
    // offers a PDF named after the document beside it, and the picture goes
    // in without lossy compression.
    const std::size_t messagesBefore = s.answers.messages.size();
    s.menu(MainCommand::Print);
    EXPECT_EQ(s.answers.messages.size(), messagesBefore);
    EXPECT_EQ(s.printer.output, s.dir.path("drawing.pdf"));
    const std::string pdf = ReadBytes(s.dir.path("drawing.pdf"));
    EXPECT_GT(pdf.size(), 500u);
    EXPECT_EQ(pdf.find("/DCTDecode"), std::string::npos) << "no JPEG in the page";
    EXPECT_EQ(pdf.find("/FontFile"), std::string::npos) << "a raster picture: the names are pixels";
    // A vector picture prints as vectors: its names as text.
    w.document().Im.PicMode = 1;
    w.redraw(true);
    s.menu(MainCommand::Print);
    const std::string vectorPdf = ReadBytes(s.dir.path("drawing.pdf"));
    EXPECT_NE(vectorPdf.find("/FontFile"), std::string::npos);
    EXPECT_EQ(vectorPdf.find("/DCTDecode"), std::string::npos);
    w.document().Im.PicMode = 0;
    w.redraw(true);

    // Transformations: the window from the menu; "Выделенные" waits for a selection;
    // translating the selected segment is one undo step and redraws the picture.
    s.menu(MainCommand::WinTrans);
    EXPECT_TRUE(QTest::qWaitForWindowActive(trans));
    EXPECT_FALSE(trans->CheckBoxSell->isEnabled());
    ASSERT_TRUE(SelectAt(w.editing(), 630, H - 106, 0, false));
    ASSERT_TRUE(trans->CheckBoxSell->isEnabled());
    QTest::mouseClick(trans->CheckBoxSell, Qt::LeftButton, {}, QPoint(6, trans->CheckBoxSell->height() / 2));
    QTest::mouseClick(trans->findChild<QToolButton*>(QStringLiteral("TabButton1")), Qt::LeftButton);
    for (auto [name, text] : {std::pair{"EditPPy", "25,5"}, {"EditPPz", "-10"}}) {
        auto* edit = trans->findChild<QLineEdit*>(name);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    const DLine segBefore = seg();
    const QImage pictureBefore = w.drawing().DrawBitmap;
    const int undoBefore = w.editing().UndoPos;
    QTest::mouseClick(trans->Button1, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(std::make_pair(seg().P2.Y.v, seg().P2.Z.v), std::make_pair(segBefore.P2.Y.v + 25.5, segBefore.P2.Z.v - 10));
    EXPECT_EQ(w.editing().UndoPos, undoBefore + 1);
    EXPECT_NE(w.drawing().DrawBitmap, pictureBefore) << "the picture redrawn";
    s.menu(MainCommand::Undo);
    EXPECT_EQ(seg().P2.Y.v, segBefore.P2.Y.v);
    // "Текущий" is offered only for an object not built on others.
    trans->CheckBoxCurr->click();
    w.document().Obj.Po[1].Number = 2;
    w.chooseObject(0);
    EXPECT_FALSE(trans->CheckBoxCurr->isEnabled());
    EXPECT_TRUE(trans->CheckBoxAlls->isChecked() && !trans->CheckBoxCurr->isChecked());
    w.document().Obj.Po[1].Number = 0;
    // TBAnim: three frames beside the saved document; the changed count is one undo step.
    // The selected segment is not selected in the frames, nor after them: the build
    // clears the selection as the play button does, records and counts alike.
    ASSERT_TRUE(SelectAt(w.editing(), 630, H - 106, 0, false));
    const int framesBefore = w.document().AnimFrames, undoAnim = w.editing().UndoPos;
    QTimer::singleShot(0, [&] {
        auto* a = qobject_cast<TFormAnimation*>(QApplication::activeModalWidget());
        a->SpinEdit2->setValue(3);
        a->Button1Click();
        a->close();
    });
    s.tool(MainCommand::Anim);
    EXPECT_EQ(QImageReader(QString::fromStdString(file + ".gif")).imageCount(), 3);
    EXPECT_EQ(std::make_pair(w.editing().SelCount, seg().Selected), std::make_pair(0, false));
    EXPECT_EQ(w.editing().UndoPos, undoAnim + 1);
    s.menu(MainCommand::Undo);
    EXPECT_EQ(w.document().AnimFrames, framesBefore);

    // Exit with a change: Cancel keeps the program; No ends it, the settings
    // keep the recent file and the undo files are gone.
    s.menu(MainCommand::NewPo);
    const std::string undoFolder = w.editing().UndoFolder;
    EXPECT_TRUE(fs::exists(UndoFileName(undoFolder, 1)));
    s.answers.yesNoCancel.push_back(Answer::Cancel);
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    s.answers.yesNoCancel.push_back(Answer::No);
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(fs::exists(UndoFileName(undoFolder, 1)));
    EXPECT_FALSE(fs::exists(undoFolder)) << "the program's temporary folder is gone";
    EXPECT_NE(ReadBytes(s.dir.path("prog/Pelmar.set")).find(file + "\r\n"), std::string::npos);
    EXPECT_FALSE(trans->isVisible()) << "no window of the program stays";
    for (QWidget* top : QApplication::topLevelWidgets()) EXPECT_FALSE(top->isVisible()) << top->objectName().toStdString();
    // A second close (a signal after Exit) writes nothing again.
    fs::remove(s.dir.path("prog/Pelmar.set"));
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(fs::exists(s.dir.path("prog/Pelmar.set")));
    s.w.reset();

    // Started again with the document on the command line: it opens titled.
    s.start({file});
    EXPECT_EQ(s.caption(), "Pelmar  -  drawing.pel");
    EXPECT_EQ(ObjectsText(s.w->document()), saved);
    EXPECT_FALSE(s.on(MainCommand::Save));
    // Narrower than its tool bar: "»" pops up the buttons that did not fit; one chosen there runs.
    s.w->resize(700, 600);
    QApplication::processEvents();
    auto* bar = s.w->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
    QAction* newPo = s.w->toolAction(MainCommand::NewPo);
    QList<QAction*> cut, offered;
    for (QAction* a : bar->actions())
        if (a->isVisible() && !a->isSeparator() && !bar->widgetForAction(a)->isVisible()) cut.push_back(a);
    QTimer::singleShot(0, [&] {
        if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            offered = popup->actions();
            offered.removeIf([](QAction* a) { return a->isSeparator(); });
            QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(newPo).center());
            popup->close();
        }
    });
    const int points = s.count(Kind::po);
    QTest::mouseClick(more, Qt::LeftButton);
    EXPECT_TRUE(cut.size() > 10 && cut.contains(newPo));
    EXPECT_EQ(offered, cut);
    EXPECT_EQ(s.count(Kind::po), points + 1);
    s.w.reset();

    // A command-line document that cannot be read: the message, and no project.
    const std::size_t messages = s.answers.messages.size();
    s.start({damaged});
    EXPECT_EQ(s.answers.messages.size(), messages + 1);
    EXPECT_EQ(s.caption(), "Pelmar");
    EXPECT_FALSE(s.on(MainCommand::Save));
    EXPECT_FALSE(s.on(MainCommand::NewPo));
}

// The picture window opens in the state it was saved in at the normal place
// the document stores, and shows the picture at once or when restored.
TEST(MainWindow, PictureWindowComesBackAsSaved) {
    Session s;
    s.start();
    Form1& w = *s.w;
    s.answers.counts[Slot(Kind::po)] = 1;
    s.menu(MainCommand::New);
    QMdiSubWindow* sub = w.pictureWindow();
    const auto stateOf = [sub] { return sub->isMinimized() ? 3 : sub->isMaximized() ? 2 : 1; };
    const auto leave = [&](int state, const QRect& normal) {  // as the user leaves it
        sub->showNormal();
        sub->setGeometry(normal);
        if (state > 1) sub->setWindowState(state == 2 ? Qt::WindowMaximized : Qt::WindowMinimized);
        QApplication::processEvents();
    };
    const auto pictureShown = [&] {  // all of it in view
        QApplication::processEvents();
        const QSize picture(w.document().Im.Width, w.document().Im.Height);
        return w.picture()->paintBox()->isVisible() && w.picture()->paintBox()->size() == picture &&
               w.pictureScroll()->size() == picture + QSize(4, 4);
    };
    w.document().Im.Width = 400, w.document().Im.Height = 300;  // whole in a window on the screen
    const char* names[] = {"", "normal", "maximised", "minimised"};
    const QRect places[] = {{}, {20, 4, 760, 420}, {30, 8, 750, 410}, {40, 12, 740, 400}};
    QRect minimised;  // where the MDI area puts a window the user minimises
    std::string files[4];
    for (int state = 1; state <= 3; ++state) {
        leave(state, places[state]);
        minimised = sub->geometry();
        s.answers.saveNames.push_back(files[state] = s.dir.path(std::string(names[state]) + ".pel"));
        s.menu(MainCommand::SaveAs);
        if (const char* dir = std::getenv("PELMAR_WINSTATE_FILES"))  // for scripts/window-state-shots.sh
            fs::copy(files[state], dir, fs::copy_options::overwrite_existing);
    }
    // Opened over each state, and an undo step on: the state and place of the file.
    for (int saved = 1; saved <= 3; ++saved)
        for (int before = 1; before <= 3; ++before) {
            const std::string what = names[saved] + std::string(" opened over ") + names[before];
            leave(before, QRect(500, 30, 600, 400));
            s.answers.openNames.push_back(files[saved]);
            s.answers.yesNoCancel.push_back(Answer::No);  // changed by the undo step before (or the next open)
            for (MainCommand c : {MainCommand::Open, MainCommand::NewPo, MainCommand::Undo}) s.menu(c);
            const QRect shown[] = {{}, places[1], sub->parentWidget()->rect(), minimised};
            EXPECT_EQ(std::make_tuple(s.count(Kind::po), stateOf(), w.pictureNormalGeometry(), sub->geometry()),
                      std::make_tuple(1, saved, places[saved], shown[saved])) << what;
            EXPECT_TRUE(saved == 3 || pictureShown()) << what;
            sub->showNormal();  // by the user
            EXPECT_EQ(sub->geometry(), places[saved]) << what;
            EXPECT_TRUE(pictureShown()) << what << ", restored";
        }
    // Stored off the screen (an earlier version's minimised window, a far corner of a larger screen): restored
    // where it is seen whole, no smaller than the least, and kept by the next document.
    for (const char* stored : {"30000101901960024", "15000400008000700"}) {
        std::string text = ReadBytes(files[3]);
        WriteBytes(s.dir.path("old.pel"), text.replace(text.find("30040001207400400"), 17, stored));
        s.answers.openNames.push_back(s.dir.path("old.pel"));
        s.menu(MainCommand::Open);
        sub->showNormal();
        const QRect place = sub->geometry(), onScreen(sub->parentWidget()->mapToGlobal(place.topLeft()), place.size());
        EXPECT_TRUE(sub->parentWidget()->rect().contains(place) && w.screen()->availableGeometry().contains(onScreen) &&
                    place.width() >= MinPictureWidth && place.height() >= MinPictureHeight) << stored;
        s.answers.yesNoCancel.push_back(Answer::No);  // the new document unsaved, at the next open or start
        s.menu(MainCommand::New);
        EXPECT_EQ(w.pictureNormalGeometry(), place) << stored;
    }
    // Started with a document, then sized by the window manager: its place stays till the default layout.
    for (int saved : {1, 2}) {
        s.start({files[saved]});
        s.w->resize(1900, 1050);
        QApplication::processEvents();
        auto now = [&] { return std::make_pair(s.w->pictureWindow()->isMaximized(), s.w->pictureNormalGeometry()); };
        EXPECT_EQ(now(), std::make_pair(saved == 2, places[saved])) << names[saved];
        s.menu(MainCommand::WinDef);
        EXPECT_TRUE(now().first == (saved == 2) && now().second != places[saved]) << names[saved];
    }
}

// The object dialogs in the program: shown when chosen, a typed value one undo step, a
// side opened and Back, fill, default set, a segment chosen while a side was open.
TEST(MainWindow, ObjectDialogsSession) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    Session s;
    s.start();
    Form1& w = *s.w;
    EditingState& st = w.editing();
    DialogRegistry& reg = w.dialogSession().registry();
    for (Kind k : {Kind::po, Kind::li, Kind::tr}) s.answers.counts[Slot(k)] = 1;
    s.menu(MainCommand::New);
    const DSubProj& doc = w.document().Obj;
    auto choose = [&](Kind k) {
        for (int i = 0; i < w.objectCombo()->count(); ++i)
            if (std::string(st.ObjList[static_cast<std::size_t>(i)].code, 2) == InfoOf(k).code) {
                w.objectCombo()->setCurrentIndex(i);
                emit w.objectCombo()->activated(i);
            }
        return reg.dialog(k);
    };
    auto click = [](QWidget* d, const char* name) { QTest::mouseClick(Find<QWidget>(*d, name), Qt::LeftButton); };
    QWidget* tr = choose(Kind::tr);
    ASSERT_TRUE(tr && tr->isVisible() && !reg.dialog(Kind::po));
    // A new document's dialogs open below the tool bar, where the layout puts
    // them, and the picture window with its buttons stands right of them.
    EXPECT_GT(w.document().DlgTop, 0);
    EXPECT_EQ(tr->pos(), QPoint(w.document().DlgLeft, w.document().DlgTop));
    auto* bar = w.findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    EXPECT_GE(tr->frameGeometry().top(), bar->mapToGlobal(QPoint(0, bar->height())).y());
    QApplication::processEvents();
    const QRect picture(w.pictureWindow()->mapToGlobal(QPoint(0, 0)), w.pictureWindow()->size());
    EXPECT_FALSE(picture.intersects(tr->frameGeometry())) << "the picture window beside the dialog";
    EXPECT_EQ(Find<QLabel>(*tr, "LabelT2Path")->text().toStdString(), PathCaption(st, Kind::tr));
    EXPECT_FALSE(s.on(MainCommand::Undo)) << "showing an object changes nothing";
    // A new segment dragged with the triangle's dialog open: the segment's
    // dialog (of another width) opens at the press, and the picture stays
    // under the pointer, which the user holds still on the screen.
    {
        QWidget* box = w.picture()->paintBox();
        const QPoint from = box->mapToGlobal(QPoint(300, 200)), to = box->mapToGlobal(QPoint(420, 260));
        const QRect laid = w.pictureWindow()->geometry();
        w.picture()->toolButton("TBAdds")->trigger();
        w.picture()->toolButton("TBLi")->trigger();
        QTest::mousePress(box, Qt::LeftButton, {}, box->mapFromGlobal(from));
        ASSERT_TRUE(reg.dialog(Kind::li) && !reg.dialog(Kind::tr));
        for (const QPoint at : {(from + to) / 2, to}) {
            QApplication::processEvents();
            QMouseEvent move(QEvent::MouseMove, QPointF(box->mapFromGlobal(at)), QPointF(at), Qt::NoButton,
                             Qt::LeftButton, {});
            QApplication::sendEvent(box, &move);
        }
        QApplication::processEvents();
        QTest::mouseRelease(box, Qt::LeftButton, {}, box->mapFromGlobal(to));
        QApplication::processEvents();
        EXPECT_EQ(w.pictureWindow()->geometry(), laid);
        const DLine& drawn = doc.Li[doc.count(Kind::li)];
        EXPECT_EQ(std::make_pair(drawn.P1.ScrX.v, drawn.P1.ScrY.v), std::make_pair(300.0, 600 - 201.0));
        EXPECT_EQ(std::make_pair(drawn.P2.ScrX.v, drawn.P2.ScrY.v), std::make_pair(420.0, 600 - 261.0));
        w.picture()->toolButton("TBLine")->trigger();
        tr = choose(Kind::tr);
    }
    const double before = doc.Tr[1].S[1].Length.v;
    int undo = st.UndoPos;
    ShowActive(*tr);
    TypeInto(Find<QLineEdit>(*tr, "EditTLen1"), "150\r");
    EXPECT_DOUBLE_EQ(doc.Tr[1].S[1].Length.v, 150);
    EXPECT_EQ(st.UndoPos, undo + 1);
    s.menu(MainCommand::Undo);
    EXPECT_EQ(Find<QLineEdit>(*reg.dialog(Kind::tr), "EditTLen1")->text(), QString::number(before).replace('.', ','));
    s.menu(MainCommand::Redo);

    // Side 1: edited in the segment dialog, written into the triangle; Back.
    click(reg.dialog(Kind::tr), "ButtonTLine1");
    QWidget* li = reg.dialog(Kind::li);
    ASSERT_TRUE(li && !reg.dialog(Kind::tr) && !DialogIsOpen(st, Kind::tr));
    EXPECT_TRUE(w.document().Role[Slot(Kind::li)] == 4 && s.on(MainCommand::ToTr));
    EXPECT_EQ(Find<QLabel>(*li, "LabelLPath")->text().toStdString(), PathCaption(st, Kind::li));
    const bool arrow = doc.Tr[1].S[1].Arrow1.v;
    undo = st.UndoPos;
    ShowActive(*li);
    Find<QWidget>(*li, "CheckBoxLAr1")->setFocus();
    ClickIndicator(Find<QWidget>(*li, "CheckBoxLAr1"));
    EXPECT_NE(doc.Tr[1].S[1].Arrow1.v, arrow);
    EXPECT_EQ(st.UndoPos, undo + 1);
    s.menu(MainCommand::ToTr);
    tr = reg.dialog(Kind::tr);
    ASSERT_TRUE(tr && !reg.dialog(Kind::li));
    EXPECT_EQ(Find<QLineEdit>(*tr, "EditTLen1")->text(), "150");

    // Fill on, one commit; the default set saved, and loaded as one step.
    undo = st.UndoPos;
    QTimer::singleShot(0, [] {
        QWidget* brush = QApplication::activeModalWidget();
        ASSERT_TRUE(brush && brush->objectName() == "FormBrush");
        ClickIndicator(Find<QWidget>(*brush, "CheckBox1"));
        QTest::mouseClick(Find<QWidget>(*brush, "Button1"), Qt::LeftButton);
    });
    click(tr, "ButtonTrBrush");
    EXPECT_TRUE(doc.Tr[1].Fill.On);
    EXPECT_EQ(st.UndoPos, undo + 1);
    click(tr, "ButtonTSave");
    ASSERT_TRUE(fs::exists(st.ProgDir + "DefaultSet/DeTriangle.set")) << "the folder is made";
    ShowActive(*tr);
    TypeInto(Find<QSpinBox>(*tr, "SpinEditTTol"), "7");
    undo = st.UndoPos;
    click(tr, "ButtonTLoad");
    EXPECT_NE(doc.Tr[1].Thick.v, 7);
    EXPECT_EQ(st.UndoPos, undo + 1);

    click(choose(Kind::tr), "ButtonTLine2");
    const std::string path = Find<QLabel>(*choose(Kind::li), "LabelLPath")->text().toStdString();
    EXPECT_EQ(path, PathCaption(st, Kind::li));
    EXPECT_EQ(path.find(" / "), std::string::npos) << path;
}

// The solids' dialogs in the main window: a pyramid and a prism in a new
// document; the pyramid's base opened as a part and a side length typed,
// written back into the pyramid; Back; the pyramid turned about its height;
// the prism's lateral edge length typed.  Each change is one undo step and
// Undo restores it.
TEST(MainWindow, SolidDialogsSession) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    Session s;
    s.start();
    Form1& w = *s.w;
    EditingState& st = w.editing();
    DialogRegistry& reg = w.dialogSession().registry();
    for (Kind k : {Kind::i3, Kind::i4, Kind::r3}) s.answers.counts[Slot(k)] = 1;
    s.menu(MainCommand::New);
    const DSubProj& doc = w.document().Obj;
    ASSERT_EQ(doc.I3.count(), 1);
    ASSERT_EQ(doc.I4.count(), 1);
    ASSERT_EQ(doc.R3.count(), 1);
    auto choose = [&](Kind k) {
        for (int i = 0; i < w.objectCombo()->count(); ++i)
            if (std::string(st.ObjList[static_cast<std::size_t>(i)].code, 2) == InfoOf(k).code) {
                w.objectCombo()->setCurrentIndex(i);
                emit w.objectCombo()->activated(i);
            }
        return reg.dialog(k);
    };
    auto click = [](QWidget* d, const char* name) { QTest::mouseClick(Find<QWidget>(*d, name), Qt::LeftButton); };

    // Both pyramids in one dialog, which shows the one chosen.
    QWidget* pi = choose(Kind::i4);
    ASSERT_TRUE(pi && pi->isVisible());
    EXPECT_EQ(pi->windowTitle(), "Четырехугольная пирамида");
    EXPECT_EQ(choose(Kind::i3), pi);
    ASSERT_TRUE(pi->isVisible());
    EXPECT_EQ(pi->windowTitle(), "Треугольная пирамида");
    EXPECT_FALSE(s.on(MainCommand::Undo)) << "showing a solid changes nothing";

    // The base's side 1 typed in the triangle dialog, written into the pyramid.
    click(pi, "ButtonPBase");
    QWidget* tr = reg.dialog(Kind::tr);
    ASSERT_TRUE(tr && !reg.dialog(Kind::i3));
    EXPECT_TRUE(w.document().Role[Slot(Kind::tr)] == 5 && s.on(MainCommand::ToPi3));
    const DPi3 original = doc.I3[1];
    int undo = st.UndoPos;
    ShowActive(*tr);
    TypeInto(Find<QLineEdit>(*tr, "EditTLen1"), "150\r");
    EXPECT_NEAR(doc.I3[1].Base.S[1].Length.v, 150, 1e-3);
    EXPECT_NE(doc.I3[1].Face[1].S[3].P1.Y.v, original.Face[1].S[3].P1.Y.v) << "the face follows the base";
    EXPECT_EQ(st.UndoPos, undo + 1);
    // Ctrl+Z in the part's dialog, a window of its own, is the menu's Undo.
    QTest::keyClick(tr, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(doc.I3[1].Base.S[1].Length.v, original.Base.S[1].Length.v);
    s.menu(MainCommand::Redo);
    EXPECT_NEAR(doc.I3[1].Base.S[1].Length.v, 150, 1e-3);
    s.menu(MainCommand::ToPi3);
    pi = reg.dialog(Kind::i3);
    ASSERT_TRUE(pi && !reg.dialog(Kind::tr));

    // Turned by 90 degrees about the height: the apex stays, the base turns.
    const DPi3 upright = doc.I3[1];
    undo = st.UndoPos;
    ShowActive(*pi);
    TypeInto(Find<QLineEdit>(*pi, "EditPAn2"), "90");
    click(pi, "ButtonPAn2");
    EXPECT_EQ(st.UndoPos, undo + 1);
    EXPECT_NEAR(doc.I3[1].HeightLine.P2.Y.v, upright.HeightLine.P2.Y.v, 0.01);
    EXPECT_GT(std::abs(doc.I3[1].Base.S[1].P1.Y.v - upright.Base.S[1].P1.Y.v), 1);
    s.menu(MainCommand::Undo);
    EXPECT_EQ(doc.I3[1].Base.S[1].P1.Y.v, upright.Base.S[1].P1.Y.v);

    // The prism's lateral edge 200 long, its direction kept.
    QWidget* pr = choose(Kind::r3);
    ASSERT_TRUE(pr && pr->isVisible() && !reg.dialog(Kind::i3));
    EXPECT_EQ(pr->windowTitle(), "Треугольная призма");
    const DPr3 prism = doc.R3[1];
    undo = st.UndoPos;
    ShowActive(*pr);
    TypeInto(Find<QLineEdit>(*pr, "EditPRebLe"), "200\r");
    EXPECT_EQ(st.UndoPos, undo + 1);
    EXPECT_NEAR(doc.R3[1].EdgeLen.v, 200, 1e-3);
    EXPECT_NEAR(doc.R3[1].EdgeZ.v / doc.R3[1].EdgeLen.v, prism.EdgeZ.v / prism.EdgeLen.v, 1e-4);
    s.menu(MainCommand::Undo);
    EXPECT_EQ(doc.R3[1].EdgeLen.v, prism.EdgeLen.v);
    EXPECT_EQ(Find<QLineEdit>(*reg.dialog(Kind::r3), "EditPRebLe")->text().toStdString(), NumberText(prism.EdgeLen.v));
}

// The coordinate systems in the program: a 2D system gets "sin(x)" as graph
// 1 and a parabola as graph 2, and the picture shows each as it is switched
// on; a 3D system gets a surface, a section typed in its section dialog and
// its outline switched on in the outline dialog; Undo takes back each step.
TEST(MainWindow, CoordinateSystemsSession) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    Session s;
    s.start();
    Form1& w = *s.w;
    EditingState& st = w.editing();
    DialogRegistry& reg = w.dialogSession().registry();
    for (Kind k : {Kind::xy, Kind::xz}) s.answers.counts[Slot(k)] = 1;
    s.menu(MainCommand::New);
    const DSubProj& doc = w.document().Obj;
    auto choose = [&](Kind k) {
        for (int i = 0; i < w.objectCombo()->count(); ++i)
            if (std::string(st.ObjList[static_cast<std::size_t>(i)].code, 2) == InfoOf(k).code) {
                w.objectCombo()->setCurrentIndex(i);
                emit w.objectCombo()->activated(i);
            }
        return reg.dialog(k);
    };
    auto pageTwo = [](QWidget* d) { Find<QTabWidget>(*d, "PageControl1")->setCurrentIndex(1); };
    auto tick = [](QWidget* d, const char* name) {
        auto* box = Find<QCheckBox>(*d, name);
        box->setFocus();
        ClickIndicator(box);
        QApplication::processEvents();
    };
    // Pixels that differ between two pictures.
    auto differ = [](const QImage& a, const QImage& b) {
        int n = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
        return n;
    };

    QWidget* xy = choose(Kind::xy);
    ASSERT_TRUE(xy && xy->objectName() == "FormXY");
    ShowActive(*xy);
    pageTwo(xy);
    int undo = st.UndoPos;
    const std::string graph2 = doc.Xy[1].Graph[2].s;
    TypeInto(Find<QLineEdit>(*xy, "EditX21"), "sin(x)");
    TypeInto(Find<QLineEdit>(*xy, "EditX22"), "x^2/4");
    EXPECT_EQ(doc.Xy[1].Graph[1].s, "sin(x)");
    EXPECT_EQ(doc.Xy[1].Graph[2].s, "x^2/4");
    EXPECT_EQ(st.UndoPos, undo + 2) << "one step per formula typed";
    // The bounds of both graphs and solid lines, in their options dialogs:
    // one step each.
    for (const char* button : {"ButtonX1", "ButtonX2"}) {
        undo = st.UndoPos;
        QTimer::singleShot(0, [] {
            QWidget* opt = QApplication::activeModalWidget();
            ASSERT_TRUE(opt && opt->objectName() == "FormXOYOpt");
            ClickIndicator(Find<TRadioGroup>(*opt, "RadioGroupVi1")->button(0));
            const std::pair<const char*, const char*> bounds[] = {
                {"LabeledEditDecX1", "-6"}, {"LabeledEditDecX2", "6"}, {"LabeledEditDecY1", "-5"}, {"LabeledEditDecY2", "5"}};
            for (auto [name, text] : bounds) TypeInto(Find<QLineEdit>(*opt, name), text);
            QTest::mouseClick(Find<QWidget>(*opt, "Button1"), Qt::LeftButton);
        });
        QTest::mouseClick(Find<QWidget>(*reg.dialog(Kind::xy), button), Qt::LeftButton);
        EXPECT_EQ(st.UndoPos, undo + 1);
    }
    EXPECT_EQ(doc.Xy[1].Bounds[2][0].v, -6);
    EXPECT_EQ(doc.Xy[1].Style[2].Visible.v, 1);
    xy = reg.dialog(Kind::xy);
    ShowActive(*xy);
    const QImage none = w.drawing().DrawBitmap;
    tick(xy, "CheckBoxX21");
    const QImage sine = w.drawing().DrawBitmap;
    tick(xy, "CheckBoxX22");
    const QImage both = w.drawing().DrawBitmap;
    Shot(w, "coord-2d-graphs");
    EXPECT_TRUE(doc.Xy[1].GraphOn[1].v && doc.Xy[1].GraphOn[2].v);
    EXPECT_GT(differ(none, sine), 40) << "the sine is drawn";
    EXPECT_GT(differ(sine, both), 40) << "the parabola is drawn";
    s.menu(MainCommand::Undo);
    QApplication::processEvents();
    EXPECT_FALSE(doc.Xy[1].GraphOn[2].v);
    EXPECT_EQ(w.drawing().DrawBitmap, sine);
    s.menu(MainCommand::Undo);
    EXPECT_FALSE(doc.Xy[1].GraphOn[1].v);
    s.menu(MainCommand::Undo);
    EXPECT_EQ(doc.Xy[1].Bounds[2][0].v, -5) << "the options of graph 2 taken back";
    s.menu(MainCommand::Undo);
    s.menu(MainCommand::Undo);
    EXPECT_EQ(doc.Xy[1].Graph[2].s, graph2) << "the whole typing taken back";
    EXPECT_EQ(doc.Xy[1].Graph[1].s, "sin(x)");
    EXPECT_EQ(Find<QLineEdit>(*reg.dialog(Kind::xy), "EditX22")->text(), QString::fromStdString(graph2));

    QWidget* xz = choose(Kind::xz);
    ASSERT_TRUE(xz && xz->objectName() == "FormXZ");
    ShowActive(*xz);
    pageTwo(xz);
    const bool wasOn = doc.Xz[1].SurfOn[1].v;
    if (!wasOn) tick(xz, "CheckBoxY1");
    ASSERT_TRUE(doc.Xz[1].SurfOn[1].v);
    EXPECT_TRUE(Find<QLineEdit>(*xz, "EditY1")->isEnabled());
    undo = st.UndoPos;
    const std::string formula = doc.Xz[1].Surf[1].s;
    TypeInto(Find<QLineEdit>(*xz, "EditY1"), "x*y/9");
    EXPECT_EQ(doc.Xz[1].Surf[1].s, "x*y/9");
    EXPECT_EQ(st.UndoPos, undo + 1);
    Shot(w, "coord-3d-surface");
    s.menu(MainCommand::Undo);
    EXPECT_EQ(doc.Xz[1].Surf[1].s, formula);
    if (!wasOn) {
        s.menu(MainCommand::Undo);
        EXPECT_FALSE(doc.Xz[1].SurfOn[1].v);
        EXPECT_FALSE(Find<QLineEdit>(*reg.dialog(Kind::xz), "EditY1")->isEnabled());
    }

    // A section of surface 1 at x = 2, typed in the section dialog the 3D
    // dialog opens: one step when it closes, which Undo takes back.
    xz = reg.dialog(Kind::xz);
    ShowActive(*xz);
    pageTwo(xz);
    if (!doc.Xz[1].SurfOn[1].v) tick(xz, "CheckBoxY1");
    ASSERT_TRUE(doc.Xz[1].SurfOn[1].v);
    const DSection section = SectionOf(doc.Xz[1], 1, 1, 1);
    ASSERT_FALSE(section.On.v && section.C.v == 2);
    undo = st.UndoPos;
    bool sectionShown = false;
    QTimer::singleShot(0, [&] {
        auto* sech = qobject_cast<TFormSech1*>(QApplication::activeModalWidget());
        ASSERT_TRUE(sech);
        sectionShown = true;
        Find<QComboBox>(*sech, "ComboBox1")->setCurrentIndex(0);
        emit Find<QComboBox>(*sech, "ComboBox1")->activated(0);
        TypeInto(Find<QLineEdit>(*sech, "Edit1"), "2");
        QTest::mouseClick(Find<QWidget>(*sech, "ButtonOk"), Qt::LeftButton);
    });
    QTest::mouseClick(Find<QWidget>(*xz, "ButtonY11"), Qt::LeftButton);
    EXPECT_TRUE(sectionShown);
    EXPECT_TRUE(SectionOf(doc.Xz[1], 1, 1, 1).On.v);
    EXPECT_EQ(SectionOf(doc.Xz[1], 1, 1, 1).C.v, 2);
    EXPECT_EQ(st.UndoPos, undo + 1);
    Shot(w, "coord-3d-section");
    s.menu(MainCommand::Undo);
    EXPECT_EQ(SectionOf(doc.Xz[1], 1, 1, 1).On.v, section.On.v);
    EXPECT_EQ(SectionOf(doc.Xz[1], 1, 1, 1).C.v, section.C.v);

    // The outline of surface 1 switched on in the outline dialog: Undo takes
    // back every step the dialog made and the outline is off again.
    xz = reg.dialog(Kind::xz);
    ShowActive(*xz);
    pageTwo(xz);
    ASSERT_FALSE(doc.Xz[1].Outlines[1].On);
    undo = st.UndoPos;
    bool outlineShown = false;
    QTimer::singleShot(0, [&] {
        auto* ol = qobject_cast<TFormOL*>(QApplication::activeModalWidget());
        ASSERT_TRUE(ol);
        outlineShown = true;
        auto* build = Find<QCheckBox>(*ol, "CheckBox1");
        build->setFocus();
        ClickIndicator(build);
        QTest::mouseClick(Find<QWidget>(*ol, "Button1"), Qt::LeftButton);
    });
    QTest::mouseClick(Find<QWidget>(*xz, "ButtonY10"), Qt::LeftButton);
    EXPECT_TRUE(outlineShown);
    EXPECT_TRUE(doc.Xz[1].Outlines[1].On);
    const int outlineSteps = st.UndoPos - undo;
    EXPECT_GE(outlineSteps, 1);
    EXPECT_LE(outlineSteps, 2) << "the box and the closing";
    for (int i = 0; i < outlineSteps; ++i) s.menu(MainCommand::Undo);
    EXPECT_FALSE(doc.Xz[1].Outlines[1].On);
    EXPECT_EQ(st.UndoPos, undo);
}

// The round solids' dialogs in the program, each change one undo step that
// Undo takes back: a cylinder's radius typed; a sphere given a section plane
// and one of its sections drawn dashed in the ellipse dialog;
// the circumscribed sphere of a cone switched on and opened, a section of it
// switched on and written into the cone, and Back to the cone.
TEST(MainWindow, RoundDialogsSession) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    Session s;
    s.start();
    Form1& w = *s.w;
    EditingState& st = w.editing();
    DialogRegistry& reg = w.dialogSession().registry();
    for (Kind k : {Kind::sf, Kind::zi, Kind::ko}) s.answers.counts[Slot(k)] = 1;
    s.menu(MainCommand::New);
    const DSubProj& doc = w.document().Obj;
    auto choose = [&](Kind k) {
        for (int i = 0; i < w.objectCombo()->count(); ++i)
            if (std::string(st.ObjList[static_cast<std::size_t>(i)].code, 2) == InfoOf(k).code) {
                w.objectCombo()->setCurrentIndex(i);
                emit w.objectCombo()->activated(i);
            }
        QWidget* d = reg.dialog(k);
        if (d) ShowActive(*d);
        return d;
    };
    auto click = [](QWidget* d, const char* name) { QTest::mouseClick(Find<QWidget>(*d, name), Qt::LeftButton); };
    auto undo = [&](int steps) {
        for (int i = 0; i < steps; ++i) s.menu(MainCommand::Undo);
    };

    QWidget* zi = choose(Kind::zi);
    ASSERT_TRUE(zi);
    EXPECT_EQ(Find<QLabel>(*zi, "LabelZPath")->text().toStdString(), PathCaption(st, Kind::zi));
    const double radius = doc.Zi[1].Radius.v;
    int at = st.UndoPos;
    TypeInto(Find<QSpinBox>(*zi, "SpinEditZRad"), "90");
    EXPECT_DOUBLE_EQ(doc.Zi[1].Radius.v, 90);
    EXPECT_EQ(st.UndoPos, at + 1) << "the keys of one field are one step";
    undo(1);
    EXPECT_DOUBLE_EQ(doc.Zi[1].Radius.v, radius);
    EXPECT_EQ(Find<QSpinBox>(*reg.dialog(Kind::zi), "SpinEditZRad")->value(), static_cast<int>(std::nearbyint(radius)));

    QWidget* sf = choose(Kind::sf);
    ASSERT_TRUE(sf);
    const double h = doc.Sf[1].SecH[2].v;
    at = st.UndoPos;
    QTimer::singleShot(0, [] {
        QWidget* orb = QApplication::activeModalWidget();
        ASSERT_TRUE(orb && orb->objectName() == "FormOrb");
        auto* e = Find<QLineEdit>(*orb, "Edit4");
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, "20");
        QTest::mouseClick(Find<QWidget>(*orb, "Button1"), Qt::LeftButton);
    });
    click(sf, "ButtonSSP2");
    EXPECT_DOUBLE_EQ(doc.Sf[1].SecH[2].v, 20);
    EXPECT_EQ(st.UndoPos, at + 1) << "taken when the field is left";
    undo(1);
    EXPECT_DOUBLE_EQ(doc.Sf[1].SecH[2].v, h);

    // The view "Вручную", then section 1 of the sphere in the ellipse dialog:
    // its line type changed and written into the sphere; Back to the sphere.
    auto* sfView = Find<QComboBox>(*sf, "ComboBoxSVid");
    sfView->setFocus();
    at = st.UndoPos;
    while (sfView->currentIndex() != 3) QTest::keyClick(sfView, sfView->currentIndex() < 3 ? Qt::Key_Down : Qt::Key_Up);
    EXPECT_EQ(doc.Sf[1].View.v, 4);
    EXPECT_GT(st.UndoPos, at);
    click(reg.dialog(Kind::sf), "ButtonSe1");
    QWidget* ci = reg.dialog(Kind::ci);
    ASSERT_TRUE(ci && !reg.dialog(Kind::sf));
    EXPECT_TRUE(w.document().Role[Slot(Kind::ci)] == 3 && s.on(MainCommand::ToSf));
    ShowActive(*ci);
    auto* type = Find<QComboBox>(*ci, "ComboBoxCTyp");
    ASSERT_TRUE(type->isEnabled());
    const std::uint8_t view = doc.Sf[1].Sec[1].ViewType.v;
    at = st.UndoPos;
    type->setFocus();
    QTest::keyClick(type, view == 1 ? Qt::Key_Down : Qt::Key_Up);
    EXPECT_NE(doc.Sf[1].Sec[1].ViewType.v, view) << "written into the sphere";
    EXPECT_EQ(st.UndoPos, at + 1);
    s.menu(MainCommand::ToSf);
    ASSERT_TRUE(reg.dialog(Kind::sf) && !reg.dialog(Kind::ci));
    undo(1);
    EXPECT_EQ(doc.Sf[1].Sec[1].ViewType.v, view);

    QWidget* ko = choose(Kind::ko);
    ASSERT_TRUE(ko);
    auto* on = Find<QCheckBox>(*ko, "CheckBoxKSOpi");
    if (!on->isChecked()) {
        on->setFocus();
        ClickIndicator(on);
    }
    ASSERT_TRUE(doc.Ko[1].OutSphereOn.v);
    click(reg.dialog(Kind::ko), "ButtonKSOpi");
    sf = reg.dialog(Kind::sf);
    ASSERT_TRUE(sf && !reg.dialog(Kind::ko));
    EXPECT_TRUE(w.document().Role[Slot(Kind::sf)] == 1 && s.on(MainCommand::ToKo));
    ShowActive(*sf);
    for (const char* name : {"ButtonSfBrush", "ButtonSSave", "ButtonSLoad"})
        EXPECT_FALSE(Find<QWidget>(*sf, name)->isEnabled()) << name;
    const bool section = doc.Ko[1].OutSphere.SecOn[5].v;
    at = st.UndoPos;
    auto* box = Find<QCheckBox>(*sf, "CheckBoxSe5");
    box->setFocus();
    ClickIndicator(box);
    EXPECT_EQ(doc.Ko[1].OutSphere.SecOn[5].v, !section) << "written into the cone";
    EXPECT_EQ(st.UndoPos, at + 1);
    EXPECT_TRUE(Find<QWidget>(*reg.dialog(Kind::sf), "ButtonSe5")->isEnabled() != section);
    s.menu(MainCommand::ToKo);
    ASSERT_TRUE(reg.dialog(Kind::ko) && !reg.dialog(Kind::sf));
    undo(1);
    EXPECT_EQ(doc.Ko[1].OutSphere.SecOn[5].v, section);
}

// The program itself, started as a process without a window system: File >
// Exit with no document, a termination signal, and Exit with a changed
// document and "No" to the save question.  Each time the process ends by
// itself with status 0, the settings written, its temporary folder removed
// (the metafile of a vector picture with it) and the document left as it was.
// So does Exit with a folder or a named pipe as the settings' side file,
// which stays.
TEST(MainWindow, TheProgramEndsWithItsMainWindow) {
    Scratch dir;
    const std::string home = dir.folder("data"), prog = home + "pelmar/";
    const std::string doc = dir.path("drawing.pel"), vector = dir.path("vector.pel");
    fs::copy_file(std::string(PELMAR_TEST_DATA) + "/doc_small.pel", doc);
    const std::string docBytes = ReadBytes(doc);
    // The same drawing as a vector picture (line 10 of the file: picture mode 1).
    std::string vectorBytes = docBytes;
    std::size_t at = 0;
    for (int line = 1; line < 10; ++line) at = vectorBytes.find("\r\n", at) + 2;
    ASSERT_EQ(vectorBytes.substr(at, 3), "0\r\n");
    vectorBytes[at] = '1';
    WriteBytes(vector, vectorBytes);
    // The instance folders under Temp/ (the undo files' folder among them),
    // and the metafiles in them.
    auto tempFiles = [&](bool metafiles) {
        int n = 0;
        std::error_code ec;
        for (fs::recursive_directory_iterator it(prog + "Temp", ec), end; !ec && it != end; it.increment(ec))
            n += metafiles ? it->path().filename() == "MetaTemp.emf" : it.depth() == 0 && it->is_directory();
        return n;
    };
    auto tempFolders = [&] { return tempFiles(false); };
    const struct {
        const char* what;
        QStringList arguments;
        const char* script;
        bool signal;
        const char* side = "";  // what stands at the settings' side file
    } runs[] = {
        {"Exit without a document", {}, "MeExit", false},
        {"SIGTERM", {}, "", true},
        {"Exit with changes, No", {QString::fromStdString(doc)}, "MeNewPo No MeExit", false},
        {"SIGTERM with changes, No", {QString::fromStdString(doc)}, "MeNewPo No", true},
        {"SIGTERM with a vector picture drawn", {QString::fromStdString(vector)}, "", true},
        // The program says it cannot read them; they stay.
        {"Exit with a folder as the side file", {}, "Ok MeExit", false, "folder"},
        {"Exit with a named pipe as the side file", {}, "Ok MeExit", false, "pipe"},
    };
    for (const auto& r : runs) {
        fs::remove_all(prog);
        if (*r.side) {  // beside a settings file, where it is looked for
            const std::string side = prog + SettingsPathsFileName;
            fs::create_directories(prog);
            WriteBytes(prog + SettingsFileName, SettingsText(StartSettings(prog)));
            ASSERT_TRUE(*r.side == 'f' ? fs::create_directory(side) : ::mkfifo(side.c_str(), 0600) == 0);  // folder, pipe
        }
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_DATA_HOME", QString::fromStdString(home));
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        env.insert("PELMAR_TEST_SCRIPT", r.script);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(PELMAR_PROGRAM), r.arguments);
        ASSERT_TRUE(p.waitForStarted()) << r.what;
        if (r.signal) {
            // Once the window is made (its temporary folder is there) and the
            // script has run; a vector picture once its metafile is written.
            for (int i = 0; i < 600 && tempFolders() == 0; ++i) QTest::qWait(100);
            // A script that makes a change has run once its undo file is there.
            const bool changes = std::string(r.script).find("MeNew") != std::string::npos;
            auto undoFiles = [&] {
                int n = 0;
                std::error_code ec;
                for (fs::recursive_directory_iterator it(prog + "Temp", ec), end; !ec && it != end; it.increment(ec))
                    n += it->path().filename().string().rfind("Undo", 0) == 0;
                return n;
            };
            for (int i = 0; changes && i < 600 && undoFiles() == 0; ++i) QTest::qWait(100);
            EXPECT_TRUE(!changes || undoFiles() > 0) << r.what;
            const bool drawn = r.arguments.contains(QString::fromStdString(vector));
            for (int i = 0; drawn && i < 600 && tempFiles(true) == 0; ++i) QTest::qWait(100);
            EXPECT_EQ(tempFiles(true), drawn ? 1 : 0) << r.what;
            QTest::qWait(1000);
            ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
        }
        const bool ended = p.waitForFinished(120000);
        if (!ended) p.kill(), p.waitForFinished();
        EXPECT_TRUE(ended) << r.what << ": the program runs on";
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << r.what;
        EXPECT_EQ(p.exitCode(), 0) << r.what << "\n" << p.readAllStandardError().toStdString();
        EXPECT_TRUE(fs::exists(prog + "Pelmar.set")) << r.what;
        if (*r.side) {
            const fs::file_status side = fs::symlink_status(prog + SettingsPathsFileName);
            EXPECT_EQ(side.type(), *r.side == 'f' ? fs::file_type::directory : fs::file_type::fifo) << r.what;
        }
        EXPECT_EQ(tempFolders(), 0) << r.what;
        EXPECT_EQ(ReadBytes(doc), docBytes) << r.what;
        EXPECT_EQ(ReadBytes(vector), vectorBytes) << r.what;
    }
}

// The section and outline dialogs of a 3D system over the program's editing
// core: the plane chosen is kept in the editing state, the outline's preview
// shows the picture window's picture, and an outline change is one undo step
// of the system.
TEST(MainWindow, SurfaceDialogsOverTheEditingCore) {
    Session s;
    s.start();
    Form1& w = *s.w;
    EditingState& st = w.editing();
    DialogRegistry& reg = w.dialogSession().registry();
    s.answers.counts[Slot(Kind::xz)] = 1;
    s.menu(MainCommand::New);
    for (int i = 0; i < w.objectCombo()->count(); ++i)
        if (std::string(st.ObjList[static_cast<std::size_t>(i)].code, 2) == "xz") {
            w.objectCombo()->setCurrentIndex(i);
            emit w.objectCombo()->activated(i);
        }
    QApplication::processEvents();
    const DXZ& x = w.document().Obj.Xz[1];
    const int step = x.Outlines[1].Step1;

    QTimer::singleShot(0, [] {
        auto* f = qobject_cast<TFormOL*>(QApplication::activeModalWidget());
        ASSERT_TRUE(f);
        const QImage preview = f->Image1->pixmap().toImage();
        int drawn = 0;
        for (int y = 0; y < preview.height(); ++y)
            for (int px = 0; px < preview.width(); ++px) drawn += qGray(preview.pixel(px, y)) < 200;
        EXPECT_GT(drawn, 50) << "the system's axes in the preview";
        TypeInto(f->SpinEdit5, "5");
        f->Button1->click();
    });
    const int undo = st.UndoPos;
    RunOutlineDialog(reg, 1, &w);
    EXPECT_EQ(x.Outlines[1].Step1, 5);
    EXPECT_EQ(st.UndoPos, undo + 1);
    s.menu(MainCommand::Undo);
    EXPECT_EQ(w.document().Obj.Xz[1].Outlines[1].Step1, step);

    EXPECT_EQ(st.SechPlane, 1);
    QTimer::singleShot(0, [] {
        auto* f = qobject_cast<TFormSech1*>(QApplication::activeModalWidget());
        ASSERT_TRUE(f);
        f->ComboBox1->setFocus();
        QTest::keyClick(f->ComboBox1, Qt::Key_Down);
        f->ButtonOk->click();
    });
    RunSectionDialog(reg, 3, &w);
    EXPECT_EQ(st.SechPlane, 2);
}

// Texts the file cannot hold: asked about at a save, refused with a tip where typed or pasted; so
// Undo, Redo, Copy and Paste, the default set and the file give back every text the dialogs showed.
TEST(MainWindow, TextsSession) {
    Session s;
    s.start();
    Form1& w = *s.w;
    EditingState& st = w.editing();
    for (Kind k : {Kind::po, Kind::tr, Kind::xy}) s.answers.counts[Slot(k)] = 1;
    s.menu(MainCommand::New);
    auto open = [&](int listed, Kind k) {
        emit w.objectCombo()->activated(listed);
        ShowActive(*w.dialogSession().registry().dialog(k));
        return w.dialogSession().registry().dialog(k);
    };
    QWidget* po = open(0, Kind::po);
    DProj& doc = w.document();
    doc.Obj.Po[1].Upper.s = st.Copies.CurPoint.Upper.s = "\u03c0";
    doc.Obj.Tr[1].S[2].P1.Name.s = "A\r\nB";
    doc.Author = "\u2713";
    SetChanged(st, true);
    const std::string file = s.dir.path("texts.pel");
    s.answers.saveNames = {file, file};
    s.answers.yesNo = {false, true};
    s.menu(MainCommand::Save);
    EXPECT_TRUE(!fs::exists(file) && s.on(MainCommand::Save)) << "No writes nothing";
    s.menu(MainCommand::Save);
    EXPECT_EQ(std::exchange(s.answers.asked, {}),
              std::vector<std::string>(2, "Эти тексты нельзя сохранить как есть, в файле они будут изменены:\nАвтор: "
                                          "«\u2713» → «?»\nТочка 1, верхний индекс: «\u03c0» → «?»\nТреугольник 1, "
                                          "Сторона 2, Точка 1, имя: «A\r\nB» → «A B»\nСохранить с этими изменениями?"));
    EXPECT_EQ(std::make_tuple(doc.Obj.Po[1].Upper.s, st.Copies.CurPoint.Upper.s, doc.Obj.Tr[1].S[2].P1.Name.s,
                              Find<QLineEdit>(*po, "EditPUp")->text(), doc.Author, s.on(MainCommand::Save)),
              std::make_tuple("?", "?", "A B", "?", "?", false));
    auto back = NewDocument();
    std::uint8_t v = 0;
    ASSERT_EQ(ReadDocument(file, *back, v, ReadModeOpen), ReadOk);
    EXPECT_EQ(ObjectsText(*back), ObjectsText(doc)) << "the document counted as saved is the one on disk";
    // Keys sent one by one (keyClicks sends Latin-1 only) or Ctrl+V: whether a new tip, no box, named `sign`.
    auto told = [&](QWidget* d, const char* edit, const char* keys, const char* sign) {
        auto* e = Find<QLineEdit>(*d, edit);
        e->setFocus();
        e->selectAll();
        const QString before = ShownTextTip();
        if (!keys) QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        for (const QChar c : QString::fromUtf8(keys)) QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, c, {});
        QApplication::processEvents();
        const QString tip = ShownTextTip();
        return std::exchange(s.answers.messages, {}).empty() && e->hasFocus() &&
               (sign ? tip != before && tip.contains(QString::fromUtf8(sign)) : tip.isEmpty() || tip == before);
    };
    EXPECT_TRUE(told(po, "EditPName", "π", "π") && doc.Obj.Po[1].Name.s == "A");
    QApplication::clipboard()->setText(QString::fromUtf8("A′"));
    EXPECT_TRUE(told(po, "EditPName", nullptr, "′") && doc.Obj.Po[1].Name.s == "A") << "the rest of the paste kept";
    EXPECT_TRUE(told(po, "EditPName", " aüb cd", "«ü»") && doc.Obj.Po[1].Name.s == " ab cd") << doc.Obj.Po[1].Name.s;
    QApplication::clipboard()->setText(QString(40000, 'a'));
    EXPECT_TRUE(told(po, "EditPName", nullptr, "до 32767 знаков") && doc.Obj.Po[1].Name.s == std::string(32767, 'a'));
    QApplication::clipboard()->setText("A\n");  // a line copied from another program
    EXPECT_TRUE(told(po, "EditPName", nullptr, nullptr) && doc.Obj.Po[1].Name.s == "A");
    auto* font = Find<TFontCombo>(*po, "FontComboBoxP2");
    font->setFontName("Symbol");  // offered whether the machine has it or not
    font->setFocus();
    emit font->activated(font->currentIndex());
    EXPECT_TRUE(told(po, "EditPUp", "α′×♥", nullptr) && doc.Obj.Po[1].Upper.s == "aўґ©") << "its Symbol codes";
    EXPECT_TRUE(told(open(2, Kind::xy), "EditX21", "x²", "²") && doc.Obj.Xy[1].Graph[1].s == "x");
    const std::string typed = ObjectsText(doc);
    for (MainCommand c : {MainCommand::Undo, MainCommand::Redo}) s.menu(c);
    EXPECT_EQ(ObjectsText(w.document()), typed);
    po = open(0, Kind::po);
    EXPECT_EQ(Find<QLineEdit>(*po, "EditPUp")->text(), "α′×♥") << "filled with the signs of the codes it holds";
    QTimer::singleShot(0, [] {
        if (QWidget* q = QApplication::activeModalWidget()) Find<QPushButton>(*q, "Button1")->click();
    });
    for (MainCommand c : {MainCommand::Copy, MainCommand::Paste}) s.menu(c);
    const DPoint& pasted = w.document().Obj.Po[2];
    EXPECT_EQ(std::make_tuple(s.count(Kind::po), pasted.Name.s, pasted.Upper.s), std::make_tuple(2, "A", "aўґ©"));
    const std::string texts = ObjectsText(w.document());
    for (const char* b : {"ButtonPSave", "ButtonPLoad"}) QTest::mouseClick(Find<QWidget>(*po, b), Qt::LeftButton);
    EXPECT_EQ(ObjectsText(w.document()), texts);
    // Saved maximised, opened over a normal window: maximised, with its texts, its missing background told once.
    w.document().Im.BackOn = 1;
    w.document().Im.BackPicture = s.dir.path("gone.jpg");
    SetChanged(st, true);
    const std::string saved = ObjectsText(w.document());
    w.pictureWindow()->showMaximized();
    s.menu(MainCommand::Save);
    w.pictureWindow()->showNormal();
    for (MainCommand c : {MainCommand::File1, MainCommand::NewPo, MainCommand::Undo}) s.menu(c);
    QApplication::processEvents();
    EXPECT_TRUE(w.pictureWindow()->isMaximized() && w.picture()->paintBox()->isVisible() && s.answers.asked.empty());
    EXPECT_EQ(s.answers.messages, std::vector<std::string>{MissingBackgroundText(s.dir.path("gone.jpg"))});
    EXPECT_EQ(ObjectsText(w.document()), saved);
}

// A new project of each kind alone, and of every kind in the offered, a larger and a too small picture:
// saved, opened and saved again, its file comes back line for line.
TEST(MainWindow, NewProjectsReopenAsTheyWereSaved) {
    Session s;
    s.start();
    s.w->setGeometry(s.w->screen()->availableGeometry().adjusted(10, 40, -10, -10));  // on the screen, as if maximised
    for (std::size_t n = 0; n < KindCount + 3; ++n) {
        s.answers.counts.fill(n < KindCount ? 0 : 1);
        if (n < KindCount) s.answers.counts.at(Slot(KindTable[n].kind)) = 1;
        s.answers.picture = n <= KindCount ? QSize() : n == KindCount + 1 ? QSize(1000, 700) : QSize(200, 150);
        const std::string first = s.dir.path(std::to_string(n) + ".pel"), again = first + ".pel";
        s.answers.saveNames = {first, again};
        s.answers.openNames = {first};
        for (MainCommand c : {MainCommand::New, MainCommand::Save, MainCommand::Open, MainCommand::SaveAs}) {
            s.menu(c);
            QApplication::processEvents();  // the first redraw
        }
        EXPECT_EQ(ReadBytes(again), ReadBytes(first)) << (n < KindCount ? KindTable[n].fileWord : "every kind");
    }
    EXPECT_TRUE(s.answers.messages.empty());
}
