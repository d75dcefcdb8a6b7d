// What a window does with the number still being typed when its OK is
// clicked, and with a range or a formula a graph cannot be drawn from: one
// table over the modal windows of the coordinate systems and the sphere's
// section plane, and the formula fields of a 2D system.
#include <gtest/gtest.h>

#include <QPushButton>

#include "coord_fake.h"
#include "dialog_test_util.h"
#include "dialogs/ui/graph_options_dialog.h"
#include "dialogs/ui/outline_dialog.h"
#include "dialogs/ui/section_bounds_dialog.h"
#include "dialogs/ui/section_plane_dialog.h"
#include "dialogs/ui/spin_edit.h"
#include "files/ui/text_tip.h"
#include "model/defaults.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// A commit that counts, for the windows that write into a working copy.
struct OkEntriesCommit : DialogCommit {
    int applies = 0;
    void ApplyObject(bool) override { ++applies; }
    void ApplyObjectInStep(bool, std::uint64_t&) override { ++applies; }
    std::uint64_t BeforeDocumentChange() override { return 0; }
    void RepaintProject() override {}
    bool NoRedraw() const override { return false; }
};

// Everything a row's window works on.
struct OkEntriesWorld {
    std::unique_ptr<WorkingCopies> work = std::make_unique<WorkingCopies>();
    OkEntriesCommit commit;
    DSection sec;
    DSf sphere;
    std::unique_ptr<CoordEditing> ed = std::make_unique<CoordEditing>();
    std::unique_ptr<QWidget> owned;
    QWidget* window = nullptr;

    OkEntriesWorld() {
        WorkingCopies& w = *work;
        LoadDefaultXOY(w.CurXOY, 1, DefaultsSource{});
        LoadDefaultXYZ(w.CurXZ, 1, DefaultsSource{});
        w.CurXOY.ParA.v = 0, w.CurXOY.ParB.v = 6.28, w.CurXOY.ParH.v = 0.05;
        w.CurXOY.Polar[1] = {Ed<double>{true, 0}, {true, 6.28}, {true, 0.05}};
        w.CurXOY.Bounds[3] = {Ed<double>{true, -5}, {true, 5}, {true, -5}, {true, 5}};
        w.CurXZ.ParT1.v = 0, w.CurXZ.ParT2.v = 18.84, w.CurXZ.ParH.v = 0.05;
        DGraphMove& m = w.CurXZ.Move[2];
        m.Rotated.v = m.Moved.v = true;
        m.Angle.v = 30, m.DX.v = 0;
        sec.Bounds = {Ed<double>{true, -3}, {true, 3}, {true, 2}, {true, 9}};
        ed->work.CurXZ.Outlines[1].X1 = 10;
    }
    QWidget* options(int graph) {
        return show(std::make_unique<TFormXOYOpt>(*work, graph, BuiltInWords(), commit, 96));
    }
    QWidget* bounds() { return show(std::make_unique<TFormSech2>(sec, 1, BuiltInWords(), nullptr, 20)); }
    QWidget* outline() { return show(std::make_unique<TFormOL>(ed->reg, 1)); }
    QWidget* plane(int n) { return show(std::make_unique<TFormOrb>(sphere, n, commit)); }
    QWidget* graphs() {
        auto* d = ed->add<TFormXY>(Kind::xy);
        d->showPage(2);
        ShowActive(*d);
        return window = d;
    }
    QWidget* show(std::unique_ptr<QWidget> w) {
        owned = std::move(w);
        ShowActive(*owned);
        return window = owned.get();
    }
};

}  // namespace

// Keys typed into a field, then the window's OK clicked (or, in a formula
// field, the field left).  A number the field would refuse or take
// otherwise, an empty range, a step longer than its range and a formula
// whose brackets do not pair are told with the field's tip: the window stays
// open with the focus in the field and stores nothing of it, and a second OK
// closes it.  What the field takes as typed closes the window and is stored;
// OK of a section plane's window switches its section on.
TEST(OkEntries, TypedThenOk) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    using World = OkEntriesWorld;
    const struct {
        const char* name;
        std::function<QWidget*(World&)> open;
        const char* field;
        QString keys;
        const char* ok;   // the OK button; null: the field is left with Tab
        const char* tip;  // in the tip; null: none, and the window closes
        std::function<double(World&)> stored;
        double want;
    } rows[] = {
        // A refused number.
        {"space curve t1 past the limit", [](World& w) { return w.options(13); }, "EditX2a", "1000000000", "Button1",
         "1 000 000", [](World& w) { return w.work->CurXZ.ParT1.v; }, 0},
        {"space curve H past the limit", [](World& w) { return w.options(13); }, "EditX2c", "5000000", "Button1",
         "1 000 000", [](World& w) { return w.work->CurXZ.ParH.v; }, 0.05},
        {"rotation angle past the limit", [](World& w) { return w.options(12); }, "EditTrans", "99999999", "Button1",
         "1 000 000", [](World& w) { return w.work->CurXZ.Move[2].Angle.v; }, 30},
        {"translation past the limit", [](World& w) { return w.options(12); }, "LabeledEditTrans21", "3000000000",
         "Button1", "1 000 000", [](World& w) { return w.work->CurXZ.Move[2].DX.v; }, 0},
        {"section bound beyond the picture's reach", [](World& w) { return w.bounds(); }, "Edit11", "-60000",
         "ButtonOk", "не дальше 50000", [](World& w) { return w.sec.Bounds[0].v; }, -3},
        {"outline corner past the limit", [](World& w) { return w.outline(); }, "SpinEdit1", "3000000", "Button1",
         "1 000 000", [](World& w) { return double(w.ed->work.CurXZ.Outlines[1].X1); }, 10},
        {"polar b past the limit", [](World& w) { return w.options(3); }, "EditGranPolA2", "9999999", "Button1",
         "1 000 000", [](World& w) { return w.work->CurXOY.Polar[1][1].v; }, 6.28},
        // An empty range, a step longer than the range.
        {"parametric t2 = t1", [](World& w) { return w.options(5); }, "EditX2b", "0", "Button1", "Конец диапазона",
         [](World& w) { return w.work->CurXOY.ParB.v; }, 6.28},
        {"polar a = b", [](World& w) { return w.options(3); }, "EditGranPolA1", "6,28", "Button1",
         "Начало диапазона", [](World& w) { return w.work->CurXOY.Polar[1][0].v; }, 0},
        {"space curve t1 = t2", [](World& w) { return w.options(13); }, "EditX2a", "18,84", "Button1",
         "Начало диапазона", [](World& w) { return w.work->CurXZ.ParT1.v; }, 0},
        {"implicit x1 = x2", [](World& w) { return w.options(6); }, "LabeledEditDecX1", "5", "Button1",
         "Начало диапазона", [](World& w) { return w.work->CurXOY.Bounds[3][0].v; }, -5},
        {"section bounds low = high", [](World& w) { return w.bounds(); }, "Edit22", "2", "ButtonOk",
         "Конец диапазона", [](World& w) { return w.sec.Bounds[3].v; }, 9},
        {"parametric step 100 over 0..6,28", [](World& w) { return w.options(5); }, "EditX2c", "100", "Button1",
         "Шаг 100 длиннее диапазона от 0 до 6,28", [](World& w) { return w.work->CurXOY.ParH.v; }, 0.05},
        // Taken as typed: OK closes.
        {"parametric t2 within", [](World& w) { return w.options(5); }, "EditX2b", "3", "Button1", nullptr,
         [](World& w) { return w.work->CurXOY.ParB.v; }, 3},
        {"a step as long as the range", [](World& w) { return w.options(5); }, "EditX2c", "6,28", "Button1", nullptr,
         [](World& w) { return w.work->CurXOY.ParH.v; }, 6.28},
        {"section bound within", [](World& w) { return w.bounds(); }, "Edit12", "4", "ButtonOk", nullptr,
         [](World& w) { return w.sec.Bounds[1].v; }, 4},
        {"outline corner within", [](World& w) { return w.outline(); }, "SpinEdit1", "-250", "Button1", nullptr,
         [](World& w) { return double(w.ed->work.CurXZ.Outlines[1].X1); }, -250},
        // The section plane's OK shows its section.
        {"sphere plane 2, nothing typed", [](World& w) { return w.plane(2); }, "Edit4", "", "Button1", nullptr,
         [](World& w) { return double(w.sphere.SecOn[2].v); }, 1},
        // Formulas: brackets that do not pair, either way round.
        {"an unclosed bracket", [](World& w) { return w.graphs(); }, "EditX21", "(x+1", nullptr,
         "проверьте знаки и скобки", [](World& w) { return double(w.ed->xy().Graph[1].s == "(x+1"); }, 1},
        {"a stray closing bracket", [](World& w) { return w.graphs(); }, "EditX21", "x+1)", nullptr,
         "проверьте знаки и скобки", [](World& w) { return double(w.ed->xy().Graph[1].s == "x+1)"); }, 1},
        {"brackets that pair", [](World& w) { return w.graphs(); }, "EditX21", "(x+1)*(x-1)", nullptr, nullptr,
         [](World& w) { return double(w.ed->xy().Graph[1].s == "(x+1)*(x-1)"); }, 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        World w;
        QWidget* window = r.open(w);
        auto* field = Find<QWidget>(*window, r.field);
        const double before = r.stored(w);
        if (!r.keys.isEmpty()) {
            if (auto* spin = qobject_cast<TSpinEdit*>(field)) TypeInto(spin, r.keys);
            else TypeInto(qobject_cast<QLineEdit*>(field), r.keys);
        }
        if (r.ok) {
            QTest::mouseClick(Find<QPushButton>(*window, r.ok), Qt::LeftButton);
        } else {
            QTest::keyClick(field, Qt::Key_Tab);
        }
        if (r.tip) {
            EXPECT_TRUE(ShownTextTip().contains(QString::fromUtf8(r.tip))) << ShownTextTip().toStdString();
            EXPECT_EQ(TextTipField(), field);
            if (r.ok) {
                EXPECT_TRUE(window->isVisible()) << "OK after a number told leaves the window open";
                EXPECT_TRUE(field->hasFocus() || field->isAncestorOf(QApplication::focusWidget()));
                EXPECT_EQ(r.stored(w), before);
                QTest::mouseClick(Find<QPushButton>(*window, r.ok), Qt::LeftButton);
                EXPECT_FALSE(window->isVisible()) << "a second OK closes it";
            }
        } else {
            EXPECT_TRUE(ShownTextTip().isEmpty()) << ShownTextTip().toStdString();
            if (r.ok) {
                EXPECT_FALSE(window->isVisible());
            }
        }
        EXPECT_DOUBLE_EQ(r.stored(w), r.want);
    }
}
