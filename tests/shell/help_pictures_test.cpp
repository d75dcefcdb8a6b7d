// The pictures of the help page (share/pelmar/Help/), made by the program
// itself: a new project, objects drawn with the mouse, the triangle's
// vertices fixed with the right button, a vertex dragged by its handle, and
// the windows of the page.  Run by scripts/help_pictures.sh, skipped
// otherwise.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <cstdlib>

#include "app/document_wiring.h"
#include "editing/kind_access.h"
#include "editing/ui/link_dialog.h"
#include "editing/ui/picture_window.h"
#include "shell/application.h"
#include "shell/file_commands.h"
#include "shell/picture_settings.h"
#include "shell/ui/main_window.h"
#include "shell/ui/new_project_dialog.h"
#include "shell_test_util.h"
#include "transform/ui/trans_window.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct NewProjectAnswers : FileQuestions {
    Answer askYesNoCancel(const std::string&) override { return Answer::No; }
    bool askYesNo(const std::string&) override { return false; }
    void showMessage(const std::string&) override {}
    std::string chooseOpenFile(const std::string&, bool) override { return {}; }
    std::string chooseSaveFile(const std::string&, const std::string&, bool) override { return {}; }
    bool chooseNewProject(std::array<std::uint8_t, KindCount>& c) override {
        c = {};
        return true;
    }
    bool chooseNewPicture(PictureSettings&) override { return true; }
};

// Saved with few colours where that keeps the picture sharp, so that the
// pictures stay small.
void Save(QWidget& w, const std::string& dir, const char* name, QRect part = {}) {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    QImage img = w.grab(part.isNull() ? QRect(QPoint(0, 0), w.size()) : part).toImage();
    img = img.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    ASSERT_TRUE(img.save(QString::fromStdString(dir + "/" + name), "PNG", 9)) << name;
}

}  // namespace

TEST(HelpPictures, Make) {
    const char* out = std::getenv("PELMAR_HELP_PICTURES");
    if (!out) GTEST_SKIP() << "only under scripts/help_pictures.sh";
    const std::string dir = out;
    Scratch s;
    Application app(
        Application::Folders{s.folder("prog"), {std::string(PELMAR_TEST_DATA) + "/../../share/pelmar/"}, s.folder("docs")});
    NewProjectAnswers answers;
    MainWindowSetup setup;
    setup.services.questions = &answers;
    setup.services.askLinks = [](Kind, NewLinks&) { return LinkResult::Independent; };
    Form1 w(app, std::move(setup));
    WireDocument(w);
    w.resize(1180, 760);
    w.show();
    w.run(MainCommand::WinDef);
    w.run(MainCommand::New);

    PictureWindow& pic = *w.picture();
    QWidget* box = pic.paintBox();
    Qt::MouseButtons held;
    const auto send = [&](QEvent::Type type, Qt::MouseButton b, QPoint at) {
        if (type == QEvent::MouseButtonPress) held |= b;
        if (type == QEvent::MouseButtonRelease) held &= ~Qt::MouseButtons(b);
        QMouseEvent e(type, QPointF(at), box->mapToGlobal(QPointF(at)), b, held, {});
        QApplication::sendEvent(box, &e);
    };
    const auto drag = [&](const char* kind, QPoint from, QPoint to) {
        pic.toolButton(kind)->trigger();
        send(QEvent::MouseButtonPress, Qt::LeftButton, from);
        send(QEvent::MouseMove, Qt::NoButton, (from + to) / 2);
        send(QEvent::MouseMove, Qt::NoButton, to);
        send(QEvent::MouseButtonRelease, Qt::LeftButton, to);
    };
    pic.toolButton("TBAdds")->trigger();

    // A triangle: left press on vertex 1, right click on vertex 2, release on vertex 3.
    pic.toolButton("TBTr")->trigger();
    send(QEvent::MouseButtonPress, Qt::LeftButton, {120, 330});
    send(QEvent::MouseMove, Qt::NoButton, {250, 330});
    send(QEvent::MouseMove, Qt::NoButton, {380, 330});
    send(QEvent::MouseButtonPress, Qt::RightButton, {380, 330});
    send(QEvent::MouseButtonRelease, Qt::RightButton, {380, 330});
    send(QEvent::MouseMove, Qt::NoButton, {300, 200});
    send(QEvent::MouseMove, Qt::NoButton, {260, 120});
    Save(pic, dir, "draw_triangle.png");
    send(QEvent::MouseButtonRelease, Qt::LeftButton, {260, 120});
    const DTri& tr = w.document().Obj.Tr[1];
    ASSERT_EQ(w.document().Obj.count(Kind::tr), 1);
    EXPECT_EQ(tr.S[2].P1.ScrX.v, 380) << "the right click fixed vertex 2";
    EXPECT_EQ(tr.S[3].P1.ScrX.v, 260);

    drag("TBCi", {560, 220}, {640, 300});
    drag("TBLi", {470, 360}, {700, 120});
    Save(w, dir, "main.png");

    // The triangle selected, its vertex 3 dragged by the handle.
    pic.toolButton("TBSell")->trigger();
    send(QEvent::MouseButtonPress, Qt::LeftButton, {250, 330});
    send(QEvent::MouseButtonRelease, Qt::LeftButton, {250, 330});
    Save(pic, dir, "selected.png");
    pic.toolButton("TBEdit")->trigger();
    send(QEvent::MouseButtonPress, Qt::LeftButton, {260, 120});
    send(QEvent::MouseMove, Qt::NoButton, {280, 110});
    send(QEvent::MouseMove, Qt::NoButton, {300, 100});
    Save(pic, dir, "drag_vertex.png");
    send(QEvent::MouseButtonRelease, Qt::LeftButton, {300, 100});
    EXPECT_EQ(tr.S[3].P1.ScrX.v, 300) << "vertex 3 followed the mouse";

    // The windows: the triangle's dialog, the transformations, the link
    // dialog of a new segment, the new-project dialog.
    QComboBox* current = w.objectCombo();
    const int triangle = current->findText(QStringLiteral("Triangle"), Qt::MatchStartsWith);
    current->setCurrentIndex(triangle);
    emit current->activated(triangle);
    QApplication::processEvents();  // the segment's dialog closes
    QWidget* dialog = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->objectName() == QLatin1String("FormTr")) dialog = top;
    ASSERT_TRUE(dialog) << "the triangle's dialog";
    Save(*dialog, dir, "dialog_triangle.png");
    if (auto* trans = w.findChild<TFormTrans*>(QStringLiteral("FormTrans"))) Save(*trans, dir, "transform.png");
    LinkDialog link(w.document(), Kind::li, w.toolAction(MainCommand::NewLi)->icon());
    link.show();
    QComboBox* c = link.combo(1, 1);

    const int i = c->findText(QStringLiteral("Triangle"), Qt::MatchStartsWith);
    c->setCurrentIndex(i);
    emit c->activated(i);
    Save(link, dir, "link.png");
    FormNew fresh(app.shell().words);
    fresh.show();
    Save(fresh, dir, "new_project.png");
}
