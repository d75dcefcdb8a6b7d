// The coordinate-system dialogs, both pages each, and the graph options
// dialog, all three tabs, filled from a drawing of a 2D system with two
// graphs and a 3D system with a surface: no control is cut off, with the
// built-in words and with a translation's longer ones.  With
// PELMAR_DIALOG_SHOTS set to a folder (under an X server, see
// scripts/object-dialog-shots.sh) each is also taken beside the drawing.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>

#include "coord_fake.h"
#include "dialog_test_util.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/graph_options_dialog.h"
#include "drawing/redraw.h"
#include "drawing/word_lines.h"
#include "drawing/coord_fixture.h"
#include "files/word_table.h"
#include "files/text_lines.h"
#include "model/transform.h"
#include "support/fake_redraw_host.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// A translation whose every word is the built-in one, longer.
std::string LongerTranslation(const QString& dir) {
    const std::string file = QDir(dir).filePath("Longer.trs").toStdString();
    std::ofstream out(file, std::ios::binary);
    for (int n = 1; n <= LastWordLine; ++n) {
        std::string w = n == 1 ? "<Pelmar Translate>" : n == 2 ? "6.0f" : n == 3 ? "Longer" : n == 4 ? "LNG" : "";
        if (n >= FirstWordLine) w = BuiltInWord(n) ? std::string(BuiltInWord(n)) + " ++" : std::string("-");
        for (char& c : w) c = c == '\r' || c == '\n' ? ' ' : c;  // one line each
        out << Utf8ToCp1251(w) << "\r\n";
    }
    return file;
}

// The painters' fixtures place points on the picture: the same points in space.
void Lift(std::initializer_list<DPoint*> points) {
    for (DPoint* p : points) p->X.v = 0, p->Y.v = p->ScrX.v, p->Z.v = p->ScrY.v;
}

void Shot(const QString& folder, const QString& name) {
    if (folder.isEmpty()) return;
    QTest::qWait(300);
    EXPECT_EQ(QProcess::execute("import", {"-window", "root", QDir(folder).filePath(name + ".png")}), 0);
}

}  // namespace

TEST(CoordDialogs, FitTheirWindowsBesideTheDrawing) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    CoordEditing ed;
    // The built-in system with the geometry and bounds of the painters' tests.
    DXOY x;
    LoadDefaultXOY(x, 1, DefaultsSource{});
    const DXOY shape = MakeXOY(600);
    x.Center = shape.Center, x.AxisX = shape.AxisX, x.AxisY = shape.AxisY;
    x.Bounds = shape.Bounds, x.Polar = shape.Polar, x.Style = shape.Style, x.Move = shape.Move;
    Lift({&x.Center, &x.AxisX.P1, &x.AxisX.P2, &x.AxisY.P1, &x.AxisY.P2});
    x.GraphColorIndex[1].v = 12, x.GraphColorIndex[2].v = 9;
    x.Graph[1].s = "sin(x)";
    x.Graph[2].s = "x^2/4";
    x.GraphOn[1].v = x.GraphOn[2].v = true;
    UpdateXOY(x, 0);
    ed.doc->Obj.Xy.add(x);
    DXZ z;
    LoadDefaultXYZ(z, 1, DefaultsSource{});
    const DXZ solid = MakeXYZ(600);
    z.Center = solid.Center, z.AxisX = solid.AxisX, z.AxisY = solid.AxisY, z.AxisZ = solid.AxisZ;
    z.Style = solid.Style, z.Move = solid.Move;
    Lift({&z.Center, &z.AxisX.P1, &z.AxisX.P2, &z.AxisY.P1, &z.AxisY.P2, &z.AxisZ.P1, &z.AxisZ.P2});
    z.Surf[2].s = "(x^2+y^2)^0.5";
    z.Surf[3].s = "5*sin(t)";
    z.Surf3More = {DStr{true, "5*cos(t)"}, DStr{true, "t/2"}};
    z.Surf[4].s = "x^2+y^2+z^2-9";
    PlaneShiftXYZ(z, 200, -290);
    z.Surf[1].s = "x*y/4";
    z.SurfOn[1].v = true;
    UpdateXYZ(z, 0);
    ed.doc->Obj.Xz.add(z);
    ed.work.CurXOY = x, ed.work.CurXZ = z;

    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, 600, 600};
    RepaintProject(*ed.doc, st, host, RedrawMode::Window, true);
    QLabel drawing;
    drawing.setPixmap(QPixmap::fromImage(st.DrawBitmap.copy(0, 0, 600, 600)));
    drawing.move(440, 10);
    drawing.show();

    QTemporaryDir dir;
    WordTable longer;
    ASSERT_TRUE(longer.LoadWords(LongerTranslation(dir.path())));
    const QString shots = QString::fromLocal8Bit(qgetenv("PELMAR_DIALOG_SHOTS"));
    for (const WordTable* words : {&BuiltInWords(), static_cast<const WordTable*>(&longer)}) {
        const QString lang = words == &longer ? "-trs" : "";
        ed.table = words;
        for (Kind k : {Kind::xy, Kind::xz}) {
            ed.select(k, 1);
            ed.doc->DlgLeft = 10, ed.doc->DlgTop = 10;
            ObjectDialog* d = ed.reg.open(k);
            ASSERT_NE(d, nullptr);
            if (k == Kind::xy) ed.reg.Fill(k, x);
            else ed.reg.Fill(k, z);
            ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
            auto* tabs = Find<QTabWidget>(*d, "PageControl1");
            for (int page = 0; page < 2; ++page) {
                SCOPED_TRACE(d->objectName().toStdString() + lang.toStdString() + " page " + std::to_string(page + 1));
                tabs->setCurrentIndex(page);
                QApplication::processEvents();
                ExpectNothingClipped(*d);
                Shot(shots, QString("dialog-%1-%2%3").arg(InfoOf(k).code).arg(page + 1).arg(lang));
            }
            // The options of the first graph of the system, each tab.
            TFormXOYOpt opt(ed.work, k == Kind::xy ? 1 : 11, *words, 96, d);
            opt.move(10, 10);
            opt.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&opt));
            for (int page = 0; page < 3; ++page) {
                SCOPED_TRACE(opt.graph());
                opt.PageControl1->setCurrentIndex(page);
                QApplication::processEvents();
                ExpectNothingClipped(opt);
                Shot(shots, QString("dialog-opt%1-%2%3").arg(opt.graph()).arg(page + 1).arg(lang));
            }
            opt.close();
            ed.reg.Close(k);
        }
    }
    EXPECT_EQ(ed.undoSteps, 0);
}
