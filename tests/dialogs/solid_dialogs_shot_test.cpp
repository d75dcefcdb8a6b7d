// The pyramid and prism dialogs, each variant filled from a drawing of its
// solid with the hidden edges found automatically: no control is cut off by
// its window, before and after an edit.  With PELMAR_DIALOG_SHOTS set to a
// folder (under an X server, see scripts/solid-dialog-shots.sh) each dialog
// is also taken beside its drawing, before and after the edit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>

#include "dialog_test_util.h"
#include "drawing/redraw.h"
#include "files/document.h"
#include "model/transform.h"
#include "solid_fake.h"
#include "support/fake_redraw_host.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct Drawing {
    DrawingState st;
    FakeRedrawHost host;
    QLabel label;
    Drawing() {
        host.view = {0, 0, 600, 600};
        label.move(430, 10);
    }
    void draw(DProj& doc) {
        RepaintProject(doc, st, host, RedrawMode::Window, true);
        label.setPixmap(QPixmap::fromImage(st.DrawBitmap.copy(0, 0, 600, 600)));
        label.show();
    }
};

template <class R>
R Automatic(R r) {
    r.View.v = 5;
    return r;
}

}  // namespace

TEST(SolidDialogs, FitTheirWindowsBesideTheDrawing) {
    const QString shots = QString::fromLocal8Bit(qgetenv("PELMAR_DIALOG_SHOTS"));
    auto shot = [&](const QString& name) {
        if (shots.isEmpty()) return;
        QTest::qWait(300);
        EXPECT_EQ(QProcess::execute("import", {"-window", "root", QDir(shots).filePath(name + ".png")}), 0);
    };
    // The solids as the program makes them, from its shipped default sets.
    const DefaultsSource src{std::string(PELMAR_TEST_DATA) + "/../../share/pelmar/",
                             [](const std::string& n, DProj& d, std::uint8_t& v, std::uint8_t m) {
                                 return ReadDocument(n, d, v, m);
                             }};
    for (Kind k : {Kind::i3, Kind::i4, Kind::r3, Kind::r4}) {
        SCOPED_TRACE(InfoOf(k).code);
        SolidEditing ed;
        ed.doc->DlgLeft = 10, ed.doc->DlgTop = 10;
        // Each solid with its hidden edges dashed; the edit: a rotation of
        // the pyramids, a new edge length of the prisms.
        if (k == Kind::i3) {
            DPi3 p;
            LoadDefaultPyramid3(p, 1, src);
            p = Automatic(p);
            TranslatePyramid3(p, 0, 0, -120);  // the apex inside the picture
            UpdatePyramid3(p, 0);
            ed.add(k, p);
        } else if (k == Kind::i4) {
            DPi4 p;
            LoadDefaultPyramid4(p, 1, src);
            p = Automatic(p);
            TranslatePyramid4(p, 0, 0, -120);
            UpdatePyramid4(p, 0);
            ed.add(k, p);
        } else if (k == Kind::r3) {
            DPr3 p;
            LoadDefaultPrism3(p, 1, src);
            p = Automatic(p);
            TranslatePrism3(p, 0, 0, -120);
            UpdatePrism3(p, 0);
            ed.add(k, p);
        } else {
            DPr4 p;
            LoadDefaultPrism4(p, 1, src);
            p = Automatic(p);
            p.Typ.v = 4;
            TranslatePrism4(p, 0, 0, -120);
            UpdatePrism4(p, 0);
            ed.add(k, p);
        }
        Drawing drawing;
        drawing.draw(*ed.doc);
        ObjectDialog* d = ed.reg.open(k);
        ASSERT_NE(d, nullptr);
        if (k == Kind::i3) ed.reg.Fill(ed.work.CurPi3);
        if (k == Kind::i4) ed.reg.Fill(ed.work.CurPi4);
        if (k == Kind::r3) ed.reg.Fill(ed.work.CurPr3);
        if (k == Kind::r4) ed.reg.Fill(ed.work.CurPr4);
        ShowActive(*d);
        ExpectNothingClipped(*d);
        shot(QString("dialog-%1").arg(InfoOf(k).code));

        if (k == Kind::i3 || k == Kind::i4) {
            TypeInto(Find<QLineEdit>(*d, "EditPAn2"), "40");
            QTest::mouseClick(Find<QPushButton>(*d, "ButtonPAn2"), Qt::LeftButton);
        } else {
            TypeInto(Find<QLineEdit>(*d, "EditPRebLe"), "120\r");
        }
        EXPECT_EQ(ed.undoSteps, 1);
        drawing.draw(*ed.doc);
        ExpectNothingClipped(*d);
        shot(QString("dialog-%1-edited").arg(InfoOf(k).code));
        ed.reg.Close(k);
    }
}
