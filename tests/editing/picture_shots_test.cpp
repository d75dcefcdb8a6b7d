// Screenshots of the picture window and the link dialog on a real X screen,
// for people to look at: run by scripts/picture-shots.sh, skipped otherwise.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QProcess>
#include <QtTest/QTest>
#include <cstdlib>

#include "drawing/host_roles.h"
#include "editing/ui/link_dialog.h"
#include "editing/ui/picture_window.h"
#include "editing_fixture.h"

namespace pelmar::test {
namespace {

void Shot(const std::string& dir, const char* name) {
    for (int i = 0; i < 5; ++i) QTest::qWait(40);
    QProcess::execute("import", {"-window", "root", QString::fromStdString(dir + "/" + name)});
}

TEST(PictureShots, DrawingZoomDragAndLinkDialog) {
    const char* out = std::getenv("PELMAR_PICTURE_SHOTS");
    if (!out) GTEST_SKIP() << "only under scripts/picture-shots.sh";
    const std::string dir = out;

    Editing ed;
    // New objects look as the program ships them.
    ed->Defaults.programFolder = std::string(PELMAR_TEST_DATA) + "/../../share/pelmar/";
    DrawingState drawing;
    QuietWindow quiet;
    PictureWindow win(*ed, drawing, quiet, quiet);
    QObject::connect(ed.edited.get(), &EditedDocument::redrawNeeded, &win, [&win] { win.redraw(false); });
    QObject::connect(ed.edited.get(), &EditedDocument::dragChanged, &win, [&drawing](bool on) { drawing.NoRedraw = on; });
    win.move(0, 0);
    win.resize(1000, 760);
    win.SetDrawWindowMode(1);
    win.show();
    win.redraw();
    QWidget* box = win.paintBox();
    Qt::MouseButtons held;
    const auto send = [&](QEvent::Type type, Qt::MouseButton b, QPoint at, Qt::KeyboardModifiers m = {}) {
        if (type == QEvent::MouseButtonPress) held |= b;
        if (type == QEvent::MouseButtonRelease) held &= ~Qt::MouseButtons(b);
        QMouseEvent e(type, QPointF(at), box->mapToGlobal(QPointF(at)), b, held, m);
        QApplication::sendEvent(box, &e);
    };
    const auto drag = [&](const char* kind, QPoint from, std::initializer_list<QPoint> path) {
        win.toolButton(kind)->trigger();
        send(QEvent::MouseButtonPress, Qt::LeftButton, from);
        for (QPoint p : path) send(QEvent::MouseMove, Qt::NoButton, p);
        send(QEvent::MouseButtonRelease, Qt::LeftButton, *(path.end() - 1));
    };
    drag("TBLi", {80, 420}, {{200, 380}, {320, 300}});
    drag("TBCi", {520, 220}, {{560, 260}, {590, 280}});
    drag("TBXY", {200, 200}, {{260, 250}, {300, 280}});
    // A triangle: the right button fixes vertex 2.
    win.toolButton("TBTr")->trigger();
    send(QEvent::MouseButtonPress, Qt::LeftButton, {400, 500});
    send(QEvent::MouseMove, Qt::NoButton, {600, 520});
    send(QEvent::MouseButtonPress, Qt::RightButton, {600, 520});
    send(QEvent::MouseButtonRelease, Qt::RightButton, {600, 520});
    send(QEvent::MouseMove, Qt::NoButton, {520, 380});
    send(QEvent::MouseButtonRelease, Qt::LeftButton, {520, 380});
    Shot(dir, "picture-100.png");

    ed.doc->Zoom = 200;
    win.FitScrollBox();
    win.redraw();
    Shot(dir, "picture-200.png");
    ed.doc->Zoom = 100;
    win.FitScrollBox();
    win.redraw();

    // A drag in progress: the triangle selected and its vertex 3 held, and the ruler's line.
    win.toolButton("TBSell")->trigger();
    send(QEvent::MouseButtonPress, Qt::LeftButton, {500, 505});
    send(QEvent::MouseButtonRelease, Qt::LeftButton, {500, 505});
    win.toolButton("TBEdit")->trigger();
    send(QEvent::MouseButtonPress, Qt::LeftButton, {520, 380});
    send(QEvent::MouseMove, Qt::NoButton, {540, 340});
    send(QEvent::MouseMove, Qt::NoButton, {560, 320});
    Shot(dir, "picture-drag.png");
    send(QEvent::MouseButtonRelease, Qt::LeftButton, {560, 320});
    win.toolButton("TBLine")->trigger();
    send(QEvent::MouseButtonPress, Qt::LeftButton, {100, 480});
    send(QEvent::MouseMove, Qt::NoButton, {400, 560});
    Shot(dir, "picture-ruler.png");
    send(QEvent::MouseButtonRelease, Qt::LeftButton, {400, 560});
    win.hide();

    LinkDialog d(*ed.doc, Kind::tr, QIcon());
    d.move(20, 20);
    d.show();
    QComboBox* c = d.combo(1, 1);
    const int i = c->findText(QString::fromUtf8("Triangle №1"));
    c->setCurrentIndex(i);
    emit c->activated(i);
    QComboBox* e2 = d.combo(1, 2);
    const int j = e2->findText("Circle Opi");
    e2->setCurrentIndex(j);
    emit e2->activated(j);
    Shot(dir, "link-dialog.png");
}

}  // namespace
}  // namespace pelmar::test
