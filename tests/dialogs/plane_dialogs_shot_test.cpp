// The point, segment and ellipse dialogs filled from a drawing: no control is
// cut off by its window.  With PELMAR_DIALOG_SHOTS set to a folder (under an
// X server, see scripts/object-dialog-shots.sh) each dialog is also taken
// beside the drawing it edits.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QProcess>

#include "dialog_test_util.h"
#include "support/fake_redraw_host.h"
#include "drawing/redraw.h"
#include "editing_fake.h"
#include "model/defaults.h"
#include "model/geometry.h"
#include "model/update.h"

using namespace pelmar;
using namespace pelmar::test;

TEST(PlaneDialogs, FitTheirWindowsBesideTheDrawing) {
    FakeEditing ed;
    const DefaultsSource src;
    DPoint p;
    LoadDefaultPoint(p, 1, src);
    p.Y.v = 120, p.Z.v = 420;
    UpdatePoint(p, 0);
    ed.doc->Obj.Po.add(p);
    DLine l;
    LoadDefaultLine(l, 1, src);
    l.P1.Y.v = 60, l.P1.Z.v = 100, l.P2.Y.v = 360, l.P2.Z.v = 300;
    l.Show3.v = true;
    UpdateLine(l, 0);
    ed.doc->Obj.Li.add(l);
    DCircle c;
    LoadDefaultCircle(c, 1, src);
    c.Center.Y.v = 300, c.Center.Z.v = 420;
    ProjectPoint(c.Center);
    c.A.v = 90, c.B.v = 50, c.Tilt.v = 0, c.ViewType.v = 1;
    c.Q1 = {c.Center.X.v, c.Center.Y.v + 90, c.Center.Z.v};
    c.Q2 = {c.Center.X.v, c.Center.Y.v, c.Center.Z.v + 50};
    UpdateCircle(c, 0);
    ed.doc->Obj.Ci.add(c);
    ed.work.CurPoint = p, ed.work.CurLine = l, ed.work.CurCircle = c;

    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, 600, 600};
    RepaintProject(*ed.doc, st, host, RedrawMode::Window, true);
    QLabel drawing;
    drawing.setPixmap(QPixmap::fromImage(st.DrawBitmap.copy(0, 0, 600, 600)));
    drawing.move(420, 10);
    drawing.show();

    const QString shots = QString::fromLocal8Bit(qgetenv("PELMAR_DIALOG_SHOTS"));
    const Kind kinds[] = {Kind::po, Kind::li, Kind::ci};
    for (Kind k : kinds) {
        ed.select(k, 1);
        ed.doc->DlgLeft = 10, ed.doc->DlgTop = 10;
        ObjectDialog* d = ed.reg.open(k);
        ASSERT_NE(d, nullptr);
        if (k == Kind::po) ed.reg.Fill(k, p);
        if (k == Kind::li) ed.reg.Fill(k, l);
        if (k == Kind::ci) ed.reg.Fill(k, c);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
        ExpectNothingClipped(*d);
        if (!shots.isEmpty()) {
            QTest::qWait(300);
            const QString file = QDir(shots).filePath(QString("dialog-%1.png").arg(InfoOf(k).code));
            EXPECT_EQ(QProcess::execute("import", {"-window", "root", file}), 0);
        }
        ed.reg.Close(k);
    }
    EXPECT_EQ(ed.undoSteps, 0);
}
