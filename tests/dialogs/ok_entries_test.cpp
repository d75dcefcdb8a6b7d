#include <gtest/gtest.h>

#include <QPushButton>

#include "coord_fake.h"
#include "dialog_test_util.h"
#include "dialogs/ui/graph_options_dialog.h"
#include "dialogs/ui/outline_dialog.h"
#include "dialogs/ui/section_bounds_dialog.h"
#include "dialogs/ui/section_dialog.h"
#include "dialogs/ui/section_plane_dialog.h"
#include "dialogs/ui/spin_edit.h"
#include "files/ui/text_tip.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// The modal windows of a row over one editing core, which is their commit;
// the graphs' parameters run as their defaults, from 0 to 6,28 (18,84 in 3D).
struct OkEntriesWorld {
    enum Window { Bounds = -1, Outline = -2, Plane2 = -3, Formulas = -4, Sections = -5 };  // else a graph's options
    std::unique_ptr<CoordEditing> ed = std::make_unique<CoordEditing>();
    DSection sec;
    DSf sphere;
    std::uint8_t plane = 3;
    std::unique_ptr<QWidget> owned;
    DXOY& xy() { return ed->work.CurXOY; }
    DXZ& xz() { return ed->work.CurXZ; }

    OkEntriesWorld() {
        LoadDefaultXOY(xy(), 1, DefaultsSource{});
        LoadDefaultXYZ(xz(), 1, DefaultsSource{});
        xy().Polar[1] = {Ed<double>{true, 0}, {true, 6.28}, {true, 0.05}};
        xy().Bounds[3] = {Ed<double>{true, -5}, {true, 5}, {true, -5}, {true, 5}};
        xz().Move[2].Rotated.v = xz().Move[2].Moved.v = true;
        xz().Move[2].Angle.v = 30, xz().Outlines[1].X1 = 10;
        sec.Bounds = {Ed<double>{true, -3}, {true, 3}, {true, 2}, {true, 9}};
        xz().Sections[3][3][1].On.v = true, xz().Sections[3][3][1].C.v = 1.5;
        sphere.SecNX[2].v = sphere.SecNY[2].v = 0, sphere.SecNZ[2].v = 1;
    }
    QWidget* open(int window) {
        if (window == Formulas) {
            auto* d = ed->add<TFormXY>(Kind::xy);
            d->showPage(2);
            ShowActive(*d);
            return d;
        }
        if (window > 0) owned = std::make_unique<TFormXOYOpt>(ed->work, window, BuiltInWords(), 96);
        if (window == Bounds) owned = std::make_unique<TFormSech2>(sec, 1, BuiltInWords(), nullptr, 20);
        if (window == Outline) owned = std::make_unique<TFormOL>(ed->reg, 1);
        if (window == Plane2) owned = std::make_unique<TFormOrb>(sphere, 2, *ed);
        if (window == Sections) owned = std::make_unique<TFormSech1>(xz(), 3, plane, BuiltInWords());
        ShowActive(*owned);
        return owned.get();
    }
};

}  // namespace

// Keys typed into a field, then OK clicked (a formula field left with Tab).
// A number refused or taken otherwise, an empty range, a step past its range
// and unpaired brackets are told at the field: the window stays open with the
// focus there, stores nothing, and a second OK closes it.  What is taken as
// typed closes it and is stored; a section plane's OK switches its section on.
TEST(OkEntries, TypedThenOk) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    using W = OkEntriesWorld;
    const char* const pairs = "проверьте знаки и скобки";
    const struct {
        int window;  // W::Window, or a graph's number
        const char* field;
        QString keys;
        const char* tip;                    // in the tip; null: none
        std::function<double(W&)> stored;  // told: as before the keys; null: a formula
        double want = 0;                    // taken
        std::optional<double> took = {};    // told, with the number taken instead
    } rows[] = {
        {13, "EditX2a", "1000000000", "1 000 000", [](W& w) { return w.xz().ParT1.v; }},
        {13, "EditX2c", "5000000", "1 000 000", [](W& w) { return w.xz().ParH.v; }},
        {12, "EditTrans", "99999999", "1 000 000", [](W& w) { return w.xz().Move[2].Angle.v; }},
        {12, "LabeledEditTrans21", "3000000000", "1 000 000", [](W& w) { return w.xz().Move[2].DX.v; }},
        {W::Bounds, "Edit11", "-60000", "не дальше 50000", [](W& w) { return w.sec.Bounds[0].v; }},
        {W::Outline, "SpinEdit1", "3000000", "1 000 000", [](W& w) { return double(w.xz().Outlines[1].X1); }},
        {3, "EditGranPolA2", "9999999", "1 000 000", [](W& w) { return w.xy().Polar[1][1].v; }},
        {5, "EditX2b", "0", "Конец диапазона", [](W& w) { return w.xy().ParB.v; }},
        {3, "EditGranPolA1", "6,28", "Начало диапазона", [](W& w) { return w.xy().Polar[1][0].v; }},
        {13, "EditX2a", "18,84", "Начало диапазона", [](W& w) { return w.xz().ParT1.v; }},
        {6, "LabeledEditDecX1", "5", "Начало диапазона", [](W& w) { return w.xy().Bounds[3][0].v; }},
        {W::Bounds, "Edit22", "2", "Конец диапазона", [](W& w) { return w.sec.Bounds[3].v; }},
        {5, "EditX2c", "100", "Шаг 100 длиннее диапазона от 0 до 6,28", [](W& w) { return w.xy().ParH.v; }},
        {5, "EditX2b", "3", nullptr, [](W& w) { return w.xy().ParB.v; }, 3},
        {5, "EditX2c", "6,28", nullptr, [](W& w) { return w.xy().ParH.v; }, 6.28},
        {W::Bounds, "Edit12", "4", nullptr, [](W& w) { return w.sec.Bounds[1].v; }, 4},
        {W::Outline, "SpinEdit1", "-250", nullptr, [](W& w) { return double(w.xz().Outlines[1].X1); }, -250},
        {W::Plane2, "Edit4", "", nullptr, [](W& w) { return double(w.sphere.SecOn[2].v); }, 1},
        {W::Sections, "Edit1", "1000001", "1 000 000", [](W& w) { return w.xz().Sections[3][3][1].C.v; }},
        {W::Sections, "Edit1", "-", "взято 0", [](W& w) { return w.xz().Sections[3][3][1].C.v; }, 0, 0.0},
        {W::Plane2, "Edit4", "3000000000", "1 000 000", [](W& w) { return w.sphere.SecH[2].v; }},
        {W::Plane2, "Edit3", "0", "не бывает нулевым", [](W& w) { return w.sphere.SecNZ[2].v; }},
        {W::Formulas, "EditX21", "(x+1", pairs, {}},
        {W::Formulas, "EditX21", "x+1)", pairs, {}},
        {W::Formulas, "EditX21", "(x+1)*(x-1)", nullptr, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.field + (" " + r.keys.toStdString()));
        W w;
        QWidget* window = w.open(r.window);
        auto* field = Find<QWidget>(*window, r.field);
        const double before = r.stored ? r.stored(w) : 0;
        if (auto* spin = qobject_cast<TSpinEdit*>(field)) TypeInto(spin, r.keys);
        else if (!r.keys.isEmpty()) TypeInto(qobject_cast<QLineEdit*>(field), r.keys);
        const char* okName = r.window == W::Bounds || r.window == W::Sections ? "ButtonOk" : "Button1";
        const auto ok = [&] { QTest::mouseClick(Find<QPushButton>(*window, okName), Qt::LeftButton); };
        if (r.window == W::Formulas) QTest::keyClick(field, Qt::Key_Tab);
        else ok();
        const QString tip = ShownTextTip();
        EXPECT_TRUE(r.tip ? tip.contains(QString::fromUtf8(r.tip)) : tip.isEmpty()) << tip.toStdString();
        EXPECT_TRUE(!r.tip || TextTipField() == field) << "the tip stands at the field";
        if (r.tip && r.window != W::Formulas) {
            EXPECT_TRUE(window->isVisible()) << "OK after a number told leaves the window open";
            EXPECT_TRUE(field->hasFocus() || field->isAncestorOf(QApplication::focusWidget()));
            ok();
        }
        EXPECT_FALSE(r.window != W::Formulas && window->isVisible()) << "OK, or a second OK, closes the window";
        if (r.stored) EXPECT_DOUBLE_EQ(r.stored(w), r.tip ? r.took.value_or(before) : r.want);
        else EXPECT_EQ(w.ed->xy().Graph[1].s, r.keys.toStdString());
    }
}
