// The triangle and tetragon dialogs, both pages each, side by side: no
// control is cut off by its window.  With PELMAR_FIGURE_SHOT set to a file
// name (under an X server, see scripts/figure-dialog-shots.sh) the screen is
// taken as a picture.
#include <QProcess>
#include <QTest>
#include <memory>

#include "dialog_test_util.h"
#include "dialogs/ui/tetragon_dialog.h"
#include "dialogs/ui/triangle_dialog.h"
#include "model/defaults.h"
#include "model/update.h"

namespace pelmar::test {
namespace {

struct ShotCore : DialogCommit, DialogDocument {
    void ApplyObjectInStep(bool writeBack, std::uint64_t&) override { ApplyObject(writeBack); }
    std::uint64_t BeforeDocumentChange() override { return 0; }
    void ApplyObject(bool) override {}
    void RepaintProject() override {}
    bool NoRedraw() const override { return false; }
    DialogPlace dialogPlace() const override { return place; }
    void setDialogPosition(int, int) override {}
    void setDialogsRolledUp(bool) override {}
    int resolution() const override { return 96; }
    DialogPlace place;
};

// Every visible named control lies inside the window's current page.
void ExpectInside(QWidget& window) {
    const QRect inside = window.rect();
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!w->isVisibleTo(&window) || name.isEmpty() || name.startsWith("qt_")) continue;
        const QRect r(w->mapTo(&window, QPoint(0, 0)), w->size());
        EXPECT_TRUE(inside.contains(r)) << name.toStdString();
        EXPECT_GE(w->height(), w->minimumSizeHint().height()) << name.toStdString();
    }
}

TEST(FigureDialogShots, BothPagesOfBothDialogsFit) {
    ShotCore core;
    DTri t;
    LoadDefaultTriangle(t, 1, DefaultsSource{});
    const double tri[3][2] = {{0, 0}, {200, 0}, {60, 150}};
    for (std::size_t i = 1; i <= 3; ++i) t.S[i].P1.Y.v = tri[i - 1][0], t.S[i].P1.Z.v = tri[i - 1][1];
    t.Typ.v = 2;
    t.Height.v = 120;
    t.View.v = 1;
    t.CircOn[1].v = true;
    UpdateTriangle(t, 0, true);
    DKv k;
    LoadDefaultTetragon(k, 1, DefaultsSource{});
    const double kv[4][2] = {{0, 0}, {200, 0}, {160, 120}, {40, 120}};
    for (std::size_t i = 1; i <= 4; ++i) k.S[i].P1.Y.v = kv[i - 1][0], k.S[i].P1.Z.v = kv[i - 1][1];
    k.Typ.v = 5;
    k.Height.v = 120;
    k.View.v = 1;
    k.DiagOn[1].v = true;
    UpdateTetragon(k, 0, true);

    std::vector<std::unique_ptr<ObjectDialog>> windows;
    for (int page = 1; page <= 2; ++page) {
        auto tri = std::make_unique<TriangleDialog>(t, core, core);
        tri->VarToForm(t);
        tri->showPage(page);
        windows.push_back(std::move(tri));
    }
    for (int page = 1; page <= 2; ++page) {
        auto kv = std::make_unique<TetragonDialog>(k, core, core);
        kv->VarToForm(k);
        kv->showPage(page);
        windows.push_back(std::move(kv));
    }
    int left = 0;  // side by side
    for (auto& w : windows) {
        w->move(left, 0);
        left += w->width() + 8;
    }
    for (auto& w : windows) {
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        ExpectInside(*w);
    }
    const QString shot = QString::fromLocal8Bit(qgetenv("PELMAR_FIGURE_SHOT"));
    if (shot.isEmpty()) return;
    QTest::qWait(300);
    EXPECT_EQ(QProcess::execute("import", {"-window", "root", shot}), 0);
}

}  // namespace
}  // namespace pelmar::test
