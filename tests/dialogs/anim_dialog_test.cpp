#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QMouseEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <memory>

#include "dialog_test_util.h"
#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/dialog_words.h"
#include "editing_fake.h"

using namespace pelmar;
using namespace pelmar::test;

// A linked point (3D coordinates not editable): X=, Y=, Z= empty and
// disabled; there is no close box - the window manager draws no caption, the
// window draws its own, with no button, and moves by it - and neither a close
// asked of the window nor Esc closes it; "Ok" stores the angle formula as
// typed, keeps the coordinate formulas and commits once.
TEST(AnimDialog, PointFormulasLeftOnlyByOk) {
    FakeEditing ed;
    DPoint& p = ed.work.CurPoint;
    p.X.e = p.Y.e = p.Z.e = false;
    p.LabelAngle.e = true;
    p.Anim = {"1+x", "2+x", "3+x", "old"};
    std::unique_ptr<TFormAnim> d(NewFormAnimPo(p, BuiltInWords(), ed, nullptr));
    ShowActive(*d);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(d->edit(i)->isEnabled());
        EXPECT_TRUE(d->edit(i)->text().isEmpty());
    }
    EXPECT_EQ(d->edit(3)->text(), "old");

    EXPECT_TRUE(d->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(d->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint | Qt::WindowSystemMenuHint));
    ASSERT_TRUE(d->caption() && d->caption()->isVisible());
    EXPECT_EQ(d->caption()->mapTo(d.get(), QPoint(0, 0)), QPoint(1, 1)) << "the caption stands on top";
    EXPECT_EQ(d->findChildren<QAbstractButton*>().size(), 1) << "Ok alone";
    const QPoint at = d->pos();
    QWidget* bar = d->caption();
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(30, 5));
    QMouseEvent drag(QEvent::MouseMove, QPointF(70, 25), bar->mapToGlobal(QPointF(70, 25)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &drag);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(70, 25));
    EXPECT_EQ(d->pos(), at + QPoint(40, 20));

    d->close();
    QTest::keyClick(d.get(), Qt::Key_Escape);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(ed.undoSteps, 0);

    TypeInto(d->edit(3), " 10*sin(x) ");
    QTest::mouseClick(Find<QPushButton>(*d, "Button1"), Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(p.Anim[3], " 10*sin(x) ");
    EXPECT_EQ(p.Anim[0], "1+x");
    EXPECT_EQ(ed.undoSteps, 1);
}

// The formula dialogs of the graphs and bodies, mode by mode, with the
// built-in words.  Per row: shown ('1') or hidden, enabled, and what "Ok"
// leaves in the row's formula after "new" is typed into every enabled edit
// (n new, k kept, e emptied, '.' no formula).  Every formula starts as "old";
// "Ok" is the only way out; X1 and X2 (opened from the graph options, which
// commit) store without a commit, the others commit once.
TEST(AnimDialog, GraphAndBodyModes) {
    using Fields = std::vector<std::string*>;
    struct Case {
        char dialog;  // '1', '2', '3' TFormAnimX1..X3, 'Z' TFormAnimZK
        int mode;     // graph number or body kind
        const char *caption, *visible, *enabled, *after;
        std::function<Fields(WorkingCopies&)> fields;
    };
    using C = WorkingCopies;
    const Case cases[] = {
        {'1', 3, "Анимация 2D-границ", "1100", "1100", "nnee",
         [](C& c) { return Fields{&c.CurXOY.Texts[0][3], &c.CurXOY.Texts[1][3], &c.CurXOY.Texts[2][3], &c.CurXOY.Texts[3][3]}; }},
        {'1', 13, "Анимация кривой", "1100", "1100", "nn..",
         [](C& c) { return Fields{&c.CurXZ.BoundTexts[0], &c.CurXZ.BoundTexts[1], nullptr, nullptr}; }},
        {'2', 2, "Анимация преобразований", "1111111111", "1110000000", "nnn....kk.", [](C& c) {
             auto& t = c.CurXOY.Texts;
             return Fields{&t[4][2], &t[5][2], &t[6][2], nullptr, nullptr, nullptr, nullptr, &t[7][2], &t[8][2], nullptr};
         }},
        {'2', 12, "Анимация преобразований", "1111111111", "0000000111", "kkkkkkknnn", [](C& c) {
             Fields f;
             for (auto& t : c.CurXZ.Texts) f.push_back(&t[2]);
             return f;
         }},
        {'3', 5, "Анимация уравнения", "11", "11", "nn", [](C& c) { return Fields{&c.CurXOY.Texts7[5], &c.CurXOY.Texts7[7]}; }},
        {'3', 2, "Анимация уравнения", "10", "11", "nk", [](C& c) { return Fields{&c.CurXOY.Texts7[2], &c.CurXOY.Texts7[7]}; }},
        {'Z', 0, "Анимация: \"Сфера\"", "1000", "0000", "k...", [](C& c) { return Fields{&c.CurSf.Anim, nullptr, nullptr, nullptr}; }},
        {'Z', 1, "Анимация: \"Цилиндр\"", "1111", "1101", "nnkn",
         [](C& c) { return Fields{&c.CurZi.Anim[0], &c.CurZi.Anim[1], &c.CurZi.Anim[2], &c.CurZi.Anim[3]}; }},
        {'Z', 6, "Анимация: \"Призма-4\"", "1110", "1010", "nkn.",
         [](C& c) { return Fields{&c.CurPr4.Anim[0], &c.CurPr4.Anim[1], &c.CurPr4.Anim[2], nullptr}; }},
    };
    // Under an X server (scripts/object-dialog-shots.sh) each is also taken.
    const QString shots = QString::fromLocal8Bit(qgetenv("PELMAR_DIALOG_SHOTS"));
    const WordTable& w = BuiltInWords();
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.caption);
        FakeEditing ed;
        WorkingCopies& c = ed.work;
        c.CurXOY.Move[2].Rotated.v = c.CurXZ.Move[2].Moved.v = c.CurZi.SecOn[4].v = true;
        c.CurSf.Radius.e = false;
        c.CurPr4.EdgeX.e = c.CurPr4.EdgeZ.e = true;
        const Fields fields = tc.fields(c);
        for (std::string* f : fields)
            if (f) *f = "old";
        std::unique_ptr<TFormAnim> d(tc.dialog == '1'   ? NewFormAnimX1(c, tc.mode, w, nullptr)
                                     : tc.dialog == '2' ? NewFormAnimX2(c, tc.mode, w, nullptr)
                                     : tc.dialog == '3' ? NewFormAnimX3(c, tc.mode, w, ed, nullptr)
                                                        : NewFormAnimZK(c, tc.mode, w, ed, nullptr));
        ShowActive(*d);
        ExpectNothingClipped(*d);
        if (!shots.isEmpty())
            QProcess::execute("import", {"-window", "root", QString("%1/dialog-%2-%3.png").arg(shots, d->objectName()).arg(tc.mode)});
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8(tc.caption));
        ASSERT_EQ(d->rowCount(), static_cast<int>(fields.size()));
        for (int i = 0; i < d->rowCount(); ++i) {
            QLineEdit* e = d->edit(i);
            EXPECT_EQ(e->isVisible(), tc.visible[i] == '1') << i;
            EXPECT_EQ(e->isEnabled(), tc.enabled[i] == '1') << i;
            EXPECT_EQ(d->label(i)->isEnabled(), e->isEnabled()) << i;
            EXPECT_EQ(e->text(), e->isEnabled() && fields[i] ? "old" : "") << i;
            if (e->isVisible() && e->isEnabled()) TypeInto(e, "new");
        }
        d->close();
        EXPECT_TRUE(d->isVisible());
        QTest::mouseClick(Find<QPushButton>(*d, "Button1"), Qt::LeftButton);
        EXPECT_FALSE(d->isVisible());
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const char* want = tc.after[i] == 'n' ? "new" : tc.after[i] == 'k' ? "old" : "";
            if (tc.after[i] != '.') {
                EXPECT_EQ(*fields[i], want) << i;
            }
        }
        EXPECT_EQ(ed.undoSteps, tc.dialog == '1' || tc.dialog == '2' ? 0 : 1);
    }
}
