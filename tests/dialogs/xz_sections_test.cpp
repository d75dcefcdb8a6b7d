// The section, bounds and outline dialogs of a 3D system's surfaces, driven
// through their controls: what each edit stores in the working copy, which
// cached curves it marks not computed, and what is committed.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <random>
#include <set>

#include <QDir>
#include <QProcess>

#include "dialog_test_util.h"
#include "support/key_rows.h"
#include "drawing/redraw.h"
#include "model/defaults.h"
#include "model/update.h"
#include "support/fake_redraw_host.h"
#include "dialogs/ui/color_bar.h"
#include "dialogs/ui/color_combo.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/outline_dialog.h"
#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/section_bounds_dialog.h"
#include "dialogs/ui/section_dialog.h"
#include "dialogs/ui/spin_edit.h"
#include "dialogs/ui/xz_sections.h"
#include "editing_fake.h"
#include "files/word_table.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// The cached curves and outlines not computed.
struct Marks {
    std::set<int> curves;
    std::set<int> outlines;
    bool operator==(const Marks&) const = default;
};

void PrintTo(const Marks& m, std::ostream* os) {
    *os << "curves {";
    for (int c : m.curves) *os << ' ' << c;
    *os << " } outlines {";
    for (int o : m.outlines) *os << ' ' << o;
    *os << " }";
}

void AllComputed(DXZ& x) {
    for (std::size_t c = 1; c <= 55; ++c) x.Curves[c].Valid = 1;
    for (std::size_t o = 1; o <= 3; ++o) x.Outlines[o].Lines.Valid = 1;
}

Marks NotComputed(const DXZ& x) {
    Marks m;
    for (std::size_t c = 1; c <= 55; ++c)
        if (!x.Curves[c].Valid) m.curves.insert(static_cast<int>(c));
    for (std::size_t o = 1; o <= 3; ++o)
        if (!x.Outlines[o].Lines.Valid) m.outlines.insert(static_cast<int>(o));
    return m;
}

// Runs `run`, which shows a modal dialog of type D; `script` acts on the
// dialog inside its modal loop and closes it.
template <class D>
void WhenShown(std::function<void(D&)> script) {
    QTimer::singleShot(0, [script] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!d) {
            ADD_FAILURE() << "no modal " << D::staticMetaObject.className();
            if (QWidget* other = QApplication::activeModalWidget()) other->close();
            return;
        }
        script(*d);
    });
}

TNumEdit* PositionEdit(TFormSech1& f, int k) { return Find<TNumEdit>(f, QString("Edit%1").arg(k).toLatin1()); }
QPushButton* BoundsButton(TFormSech1& f, int k) {
    return Find<QPushButton>(f, QString("Button%1").arg(k).toLatin1());
}

DSection Section(bool on, double c, std::array<double, 4> bounds) {
    DSection s;
    s.On.v = on;
    s.C.v = c;
    for (std::size_t b = 0; b < 4; ++b) s.Bounds[b].v = bounds[b];
    return s;
}

}  // namespace

// One sitting at the sections of surface 1, as a user goes through it: the
// plane chosen last comes back, intermediate texts say nothing and change
// nothing, an emptied position turns its section off, each edit marks exactly
// its own cached curve and the outline, the bounds show rounded on their
// button and unrounded in their dialog, and nothing is committed.
TEST(SectionDialog, SessionAtTheSectionsOfASurface) {
    FakeEditing ed;
    DXZ& x = ed.work.CurXZ;
    x.Sections[1][3][2] = Section(true, 1.5, {-10.5, 10.5, 2.5, 3.5});
    x.Sections[1][3][7] = Section(true, -4, {0, 1, 0, 1});
    x.Sections[1][1][1] = Section(true, 0.25, {-1, 1, -2, 2});
    x.Sections[2][3][2] = Section(true, 9, {0, 0, 0, 0});  // another surface: untouched throughout
    AllComputed(x);
    ed.sechPlane = 3;

    WhenShown<TFormSech1>([&](TFormSech1& f) {
        // Opening shows the remembered plane, and showing the sections marks
        // those on and the outline.
        EXPECT_EQ(f.ComboBox1->currentIndex(), 2);
        EXPECT_EQ(f.Label1->text(), "Z=");
        EXPECT_EQ(f.windowTitle(), "Сечения");
        EXPECT_EQ(PositionEdit(f, 2)->text(), "1,5");
        EXPECT_EQ(PositionEdit(f, 1)->text(), "");
        EXPECT_EQ(BoundsButton(f, 2)->text(), "x=[-10;10]; y=[2;4]");
        EXPECT_EQ(NotComputed(x), (Marks{{2, 7}, {1}}));

        // A negative position typed key by key: "-" alone changes nothing.
        AllComputed(x);
        TypeInto(PositionEdit(f, 5), "-");
        EXPECT_FALSE(x.Sections[1][3][5].On.v);
        EXPECT_EQ(NotComputed(x), Marks{});
        QTest::keyClicks(PositionEdit(f, 5), "2,5");
        EXPECT_TRUE(x.Sections[1][3][5].On.v);
        EXPECT_EQ(x.Sections[1][3][5].C.v, -2.5);
        EXPECT_EQ(NotComputed(x), (Marks{{5}, {1}}));

        // Cleared: off, and only the outline is marked; a number turns it on again.
        AllComputed(x);
        TypeInto(PositionEdit(f, 2), "");
        QTest::keyClick(PositionEdit(f, 2), Qt::Key_Backspace);
        EXPECT_FALSE(x.Sections[1][3][2].On.v);
        EXPECT_EQ(NotComputed(x), (Marks{{}, {1}}));
        TypeInto(PositionEdit(f, 2), "7");
        EXPECT_TRUE(x.Sections[1][3][2].On.v);
        EXPECT_EQ(x.Sections[1][3][2].C.v, 7);

        // Plane x: remembered at once; the surface has no cached x = const
        // curves, so showing them and editing them marks the outline only.
        AllComputed(x);
        f.ComboBox1->setFocus();
        QTest::keyClick(f.ComboBox1, Qt::Key_Up);
        QTest::keyClick(f.ComboBox1, Qt::Key_Up);
        EXPECT_EQ(ed.sechPlane, 1);
        EXPECT_EQ(f.Label1->text(), "X=");
        EXPECT_EQ(PositionEdit(f, 1)->text(), "0,25");
        EXPECT_EQ(PositionEdit(f, 5)->text(), "");
        EXPECT_EQ(BoundsButton(f, 1)->text(), "y=[-1;1]; z=[-2;2]");
        EXPECT_EQ(NotComputed(x), (Marks{{}, {1}}));
        AllComputed(x);
        TypeInto(PositionEdit(f, 3), "4");
        EXPECT_TRUE(x.Sections[1][1][3].On.v);
        EXPECT_EQ(NotComputed(x), (Marks{{}, {1}}));

        // The bounds of section 1 in their own dialog, unrounded; the button
        // shows the new ones rounded when it returns.
        x.Sections[1][1][1].Bounds[0].v = -1.25;
        WhenShown<TFormSech2>([&](TFormSech2& b) {
            EXPECT_EQ(b.windowTitle(), "Границы");
            EXPECT_EQ(b.Label11->text(), "Y=[");
            EXPECT_EQ(b.Label21->text(), "Z=[");
            EXPECT_EQ(b.Edit11->text(), "-1,25");
            EXPECT_EQ(b.Edit22->text(), "2");
            TypeInto(b.Edit12, "6,5");
            TypeInto(b.Edit21, "-");
            EXPECT_EQ(b.Edit21->text(), "-");
            QTest::keyClicks(b.Edit21, "3");
            b.ButtonOk->click();
        });
        AllComputed(x);
        BoundsButton(f, 1)->click();
        EXPECT_EQ(x.Sections[1][1][1].Bounds[1].v, 6.5);
        EXPECT_EQ(x.Sections[1][1][1].Bounds[2].v, -3);
        EXPECT_EQ(BoundsButton(f, 1)->text(), "y=[-1;6]; z=[-3;2]");
        EXPECT_EQ(NotComputed(x), (Marks{{}, {1}}));
        QTest::keyClick(&f, Qt::Key_Escape);
    });
    RunSectionDialog(ed.reg, 1, nullptr);
    EXPECT_EQ(x.Sections[2][3][2].C.v, 9);
    EXPECT_TRUE(ed.messages.empty());
    EXPECT_EQ(ed.undoSteps, 0) << "the 3D system's dialog commits";

    // Opened again, it shows the plane chosen last.
    WhenShown<TFormSech1>([](TFormSech1& f) {
        EXPECT_EQ(f.ComboBox1->currentIndex(), 0);
        f.ButtonOk->click();
    });
    RunSectionDialog(ed.reg, 1, nullptr);
}

// For every surface and plane, a position typed into any of the eleven edits
// marks the cached curve of that section where the drawer keeps one (z =
// const of the Cartesian surfaces, all planes of the implicit surface) and
// the surface's outline, nothing else.
TEST(SectionDialog, EachPositionMarksItsOwnCurve) {
    // group of (surface, plane), 0 for none
    const int groups[3][3] = {{0, 0, 1}, {0, 0, 2}, {3, 4, 5}};
    const WordTable& words = BuiltInWords();
    std::mt19937 rng(25);
    for (int surface = 1; surface <= 3; ++surface)
        for (int plane = 1; plane <= 3; ++plane) {
            auto x = std::make_unique<DXZ>();
            std::uint8_t remembered = static_cast<std::uint8_t>(plane);
            TFormSech1 f(*x, surface, remembered, words);
            ShowActive(f);
            for (int k = 1; k <= 11; ++k) {
                AllComputed(*x);
                const int value = static_cast<int>(rng() % 2001) - 1000;
                TypeInto(PositionEdit(f, k), QString::number(value));
                const int group = groups[surface - 1][plane - 1];
                Marks want{{}, {surface}};
                if (group) want.curves.insert((group - 1) * 11 + k);
                EXPECT_EQ(NotComputed(*x), want) << surface << " " << plane << " " << k;
                const DSection& s = x->Sections[static_cast<std::size_t>(surface)][static_cast<std::size_t>(plane)]
                                                [static_cast<std::size_t>(k)];
                EXPECT_TRUE(s.On.v);
                EXPECT_EQ(s.C.v, value);
            }
            f.close();
        }
}

// The bounds dialog names the free coordinates of each plane; an emptied
// bound stays empty while it is typed in and is 0 once left; a text that is
// no number keeps the bound as it was.
TEST(SectionBoundsDialog, FreeCoordinatesAndEmptiedBounds) {
    const char* labels[3][2] = {{"Y=[", "Z=["}, {"X=[", "Z=["}, {"X=[", "Y=["}};
    for (int plane = 1; plane <= 3; ++plane) {
        DSection s = Section(true, 0, {-0.5, 0.5, 1e-7, 123456.789});
        TFormSech2 b(s, plane, BuiltInWords());
        ShowActive(b);
        EXPECT_EQ(b.Label11->text(), labels[plane - 1][0]);
        EXPECT_EQ(b.Label21->text(), labels[plane - 1][1]);
        EXPECT_EQ(b.Edit11->text(), "-0,5");
        EXPECT_EQ(b.Edit21->text(), "1E-7");
        EXPECT_EQ(b.Edit22->text(), "123456,789");
        b.Edit12->setFocus();
        b.Edit12->selectAll();
        QTest::keyClick(b.Edit12, Qt::Key_Backspace);
        EXPECT_EQ(b.Edit12->text(), "");
        EXPECT_EQ(s.Bounds[1].v, 0.5);
        QTest::keyClick(b.Edit12, Qt::Key_Tab);
        EXPECT_EQ(b.Edit12->text(), "0");
        EXPECT_EQ(s.Bounds[1].v, 0);
        TypeInto(b.Edit22, "5-");
        EXPECT_EQ(s.Bounds[3].v, 5) << "\"5-\" is no number";
        EXPECT_EQ(s.Bounds[0].v, -0.5);
        b.close();
    }
}

// One sitting at the outline of surface 2: the controls show the outline
// without a commit; the window, the steps and the convexity mark the outline;
// "Строить контур", "Gradient" and the colours store without marking; the
// whole session is one commit as the window closes; the help buttons speak;
// the preview shows the search window in the move colour over the picture.
TEST(OutlineDialog, SessionAtTheOutlineOfASurface) {
    FakeEditing ed;
    ed.doc->Im.Width = 400;
    ed.doc->Im.Height = 300;
    ed.picture = QImage(400, 300, QImage::Format_RGB32);
    ed.picture.fill(QColor(0, 160, 0));
    ed.moveColor = 0xFF0000;  // blue
    DXZ& x = ed.work.CurXZ;
    DOutLine& o = x.Outlines[2];
    o.X1 = 40, o.Y1 = 260, o.X2 = 200, o.Y2 = 100;
    o.ScanDir = 1;
    o.Step1 = 7, o.Step2 = 2;
    o.On = true;
    o.Colors = {0x0000FF, 0x00FF00, 0x808080};
    AllComputed(x);
    const QColor blue(0, 0, 255), green(0, 160, 0);

    WhenShown<TFormOL>([&](TFormOL& f) {
        f.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
        EXPECT_EQ(f.windowTitle(), "Контур");
        EXPECT_EQ(f.SpinEdit1->value(), 40);
        EXPECT_EQ(f.SpinEdit4->value(), 100);
        EXPECT_EQ(f.SpinEdit5->value(), 7);
        EXPECT_EQ(f.SpinEdit6->value(), 2);
        EXPECT_EQ(f.RadioGroup1->itemIndex(), 0);
        EXPECT_EQ(f.RadioGroup1->itemText(1), "Вертикали");
        EXPECT_TRUE(f.CheckBox1->isChecked());
        EXPECT_FALSE(f.CheckBox2->isChecked());
        EXPECT_EQ(f.Panel4->color(), QColor(128, 128, 128));
        EXPECT_EQ(ed.undoSteps, 0);
        EXPECT_EQ(NotComputed(x), Marks{});

        // The picture, 400 x 300, in 200 x 150: k = 2, the window's corners
        // at (20, 20) and (100, 100).
        auto preview = [&f] { return f.Image1->pixmap().toImage(); };
        EXPECT_EQ(f.Image1->size(), QSize(200, 150));
        EXPECT_EQ(preview().pixelColor(20, 20), blue);
        EXPECT_EQ(preview().pixelColor(60, 20), blue);
        EXPECT_EQ(preview().pixelColor(20, 60), blue);
        EXPECT_EQ(preview().pixelColor(60, 60), green);
        EXPECT_EQ(preview().pixelColor(10, 10), green);

        // x1 typed: the whole number is stored and marks when entered; the
        // frame moves.
        TypeInto(f.SpinEdit1, "100");
        EXPECT_EQ(o.X1, 40);
        QTest::keyClick(f.SpinEdit1, Qt::Key_Return);
        EXPECT_EQ(o.X1, 100);
        EXPECT_EQ(NotComputed(x), (Marks{{}, {2}}));
        EXPECT_EQ(preview().pixelColor(50, 60), blue);
        EXPECT_EQ(preview().pixelColor(20, 60), green);

        AllComputed(x);
        TypeInto(f.SpinEdit6, "5");
        QTest::keyClick(f.SpinEdit6, Qt::Key_Tab);
        EXPECT_EQ(o.Step2, 5);
        EXPECT_EQ(NotComputed(x), (Marks{{}, {2}}));
        AllComputed(x);
        ClickIndicator(f.RadioGroup1->button(1));
        EXPECT_EQ(o.ScanDir, 0);
        EXPECT_EQ(NotComputed(x), (Marks{{}, {2}}));

        AllComputed(x);
        ClickIndicator(f.CheckBox1);
        ClickIndicator(f.CheckBox2);
        EXPECT_FALSE(o.On);
        EXPECT_TRUE(o.GradientOn);

        // Colours: the dialog starts at the stored colour; Cancel and the
        // same colour store nothing.
        ed.colors.answer = 0x123456;
        QTest::mouseClick(f.Panel3, Qt::LeftButton);
        EXPECT_EQ(o.Colors[1], 0x123456u);
        EXPECT_EQ(f.Panel3->color(), ToQColor(0x123456));
        QTest::mouseClick(f.Panel3, Qt::LeftButton);
        ed.colors.answer.reset();
        QTest::mouseClick(f.Panel2, Qt::LeftButton);
        EXPECT_EQ(ed.colors.asked, (std::vector<TColor>{0x00FF00, 0x123456, 0x0000FF}));
        EXPECT_EQ(o.Colors[0], 0x0000FFu);
        EXPECT_EQ(NotComputed(x), Marks{});
        EXPECT_EQ(ed.undoSteps, 0) << "nothing committed while the window is open";

        f.SpeedButton2->click();
        ASSERT_EQ(ed.messages.size(), 1u);
        EXPECT_EQ(ed.messages[0],
                  "Силуэт состоит из отрезочков, расстояние между которыми равно этому шагу.\n\r"
                  "Чем больше этот шаг, тем быстрее строится контур, но менее точно.");
        f.Button1->click();
    });
    RunOutlineDialog(ed.reg, 2, nullptr);
    EXPECT_EQ(ed.undoSteps, 1) << "the session is one commit";
    EXPECT_EQ(x.Outlines[1].X1, 0);
    EXPECT_EQ(x.Outlines[3].X1, 0);
}

// Numbers typed key by key into the sections, their bounds and the outline:
// the text stays as typed, an emptied position turns its section off and
// stays empty, an emptied bound is 0 once left, a lone minus is 0 (both
// told), the field then shows what is stored; the outline takes each whole
// number, and its session is one commit.
TEST(SurfaceDialogs, NumbersTypedKeyByKey) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    const WordTable& words = BuiltInWords();
    using S = DSection;
    const RecordKeyRow<S> boundRows[] = {
        {"-5 typed over an emptied bound", "Edit21", "\b-5", {"", "-", "-5"}, [](const S& s) { return s.Bounds[2].v; },
         -5, "-5", false},
        {"an emptied bound", "Edit12", "\b", {""}, [](const S& s) { return s.Bounds[1].v; }, 0, "0", true},
        {"a lone minus", "Edit21", "-", {"-"}, [](const S& s) { return s.Bounds[2].v; }, 0, "0", true},
        {"a number ending in the comma", "Edit22", "7,", {"7", "7,"}, [](const S& s) { return s.Bounds[3].v; }, 7, "7",
         false},
    };
    S sec = Section(true, 0, {-3, 3, 2, 9});
    TFormSech2 b(sec, 2, words);
    ShowActive(b);
    for (const auto& row : boundRows) PlayKeys(b, row, sec);

    using X = DXZ;
    auto x = std::make_unique<DXZ>();
    x->Sections[3][3][2] = Section(true, 1.5, {0, 1, 0, 1});
    x->Sections[3][3][4] = Section(true, 8, {0, 1, 0, 1});
    const RecordKeyRow<X> positionRows[] = {
        {"an emptied position", "Edit2", "\b", {""},
         [](const X& z) { return z.Sections[3][3][2].On.v ? z.Sections[3][3][2].C.v : -1; }, -1, "", false},
        {"a lone minus", "Edit3", "-", {"-"},
         [](const X& z) { return z.Sections[3][3][3].On.v ? z.Sections[3][3][3].C.v : -1; }, 0, "0", true},
        {"a number ending in the comma", "Edit4", "4,", {"4", "4,"}, [](const X& z) { return z.Sections[3][3][4].C.v; },
         4, "4", false},
    };
    std::uint8_t plane = 3;
    TFormSech1 f(*x, 3, plane, words);
    ShowActive(f);
    for (const auto& row : positionRows) PlayKeys(f, row, *x);
    f.close();

    FakeEditing ed;
    const DOutLine& o = ed.work.CurXZ.Outlines[1];
    TFormOL ol(ed.reg, 1);
    ShowActive(ol);
    const RecordKeyRow<DOutLine> outlineRows[] = {
        {"x1 typed negative", "SpinEdit1", "-250", {"-", "-2", "-25", "-250"}, [](const DOutLine& l) { return l.X1; },
         -250, "-250", false},
        {"a step of 0", "SpinEdit5", "0", {"0"}, [](const DOutLine& l) { return l.Step1; }, 1, "1", true},
    };
    for (const auto& row : outlineRows) PlayKeys(ol, row, o);
    ol.close();
    EXPECT_EQ(ed.undoSteps, 1) << "one commit for the session";
}

// Surface numbers outside 1..3 open nothing.
TEST(SectionDialog, OtherSurfaceNumbersOpenNothing) {
    FakeEditing ed;
    for (int n : {0, 4, -1}) {
        RunSectionDialog(ed.reg, n, nullptr);
        RunOutlineDialog(ed.reg, n, nullptr);
    }
    EXPECT_EQ(ed.undoSteps, 0);
}

// The three dialogs over a drawn 3D system with a surface, its sections and
// its outline: nothing is cut off.  With PELMAR_SURFACE_SHOTS set to a folder
// (under an X server, see scripts/section-dialog-shots.sh) each is also taken
// beside the drawing.
TEST(SurfaceDialogs, FitTheirWindowsBesideTheDrawing) {
    FakeEditing ed;
    const DefaultsSource src;
    DXZ x;
    LoadDefaultXYZ(x, 1, src);
    x.SurfOn[1].v = true;
    x.Surf[1].s = "x^2/8-y^2/8";
    for (std::size_t k = 1; k <= 3; ++k)
        x.Sections[1][3][k] = Section(true, static_cast<double>(k) - 2, {-3.5, 3.5, -120.25, 120.25});
    x.Style[1].Visible.v = 1;
    x.Style[1].Hidden.v = 2;
    x.Style[1].Dash.v = 4;
    x.Style[1].Gap.v = 4;
    x.Outlines[1].On = true;
    x.Outlines[1].X1 = 120, x.Outlines[1].Y1 = 80, x.Outlines[1].X2 = 680, x.Outlines[1].Y2 = 520;
    UpdateXYZ(x, 0);
    ed.doc->Obj.Xz.add(x);
    ed.work.CurXZ = x;
    ed.select(Kind::xz, 1);
    ed.sechPlane = 3;

    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, ed.doc->Im.Width, ed.doc->Im.Height};
    RepaintProject(*ed.doc, st, host, RedrawMode::Window, true);
    ed.picture = st.DrawBitmap;
    QLabel drawing;
    drawing.setPixmap(QPixmap::fromImage(st.DrawBitmap));
    drawing.move(780, 10);
    drawing.show();

    const QString shots = QString::fromLocal8Bit(qgetenv("PELMAR_SURFACE_SHOTS"));
    // Placed once shown: the window manager places a new window itself.
    auto place = [](QWidget& w, int left) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        w.move(left, 40);
        QApplication::processEvents();
    };
    auto shoot = [&](const char* name) {
        if (shots.isEmpty()) return;
        QTest::qWait(300);
        EXPECT_EQ(QProcess::execute("import", {"-window", "root", QDir(shots).filePath(name)}), 0);
    };
    WhenShown<TFormSech1>([&](TFormSech1& f) {
        place(f, 10);
        ExpectNothingClipped(f);
        WhenShown<TFormSech2>([&](TFormSech2& b) {
            place(b, f.frameGeometry().right() + 20);
            ExpectNothingClipped(b);
            shoot("dialog-sections.png");
            b.accept();
        });
        BoundsButton(f, 2)->click();
        f.accept();
    });
    RunSectionDialog(ed.reg, 1, nullptr);
    WhenShown<TFormOL>([&](TFormOL& f) {
        place(f, 10);
        ExpectNothingClipped(f);
        shoot("dialog-outline.png");
        f.accept();
    });
    RunOutlineDialog(ed.reg, 1, nullptr);
    EXPECT_EQ(ed.undoSteps, 0);
}
