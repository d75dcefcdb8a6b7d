#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "dialog_test_util.h"
#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/dialog_words.h"
#include "editing_fake.h"

using namespace pelmar;
using namespace pelmar::test;

// A linked point (3D coordinates not editable): X=, Y=, Z= empty and
// disabled; the close box and Esc do not close; "Ok" stores the angle formula
// as typed, keeps the coordinate formulas and commits once.
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
// (n new, k kept, e emptied, '.' a row with no formula).  Every formula
// starts as "old"; "Ok" is the only way out; commits as the dialog says.
TEST(AnimDialog, GraphAndBodyModes) {
    using Fields = std::vector<std::string*>;
    struct Case {
        const char* caption;
        std::function<TFormAnim*(WorkingCopies&, DialogCommit&)> open;
        std::function<Fields(WorkingCopies&)> fields;
        const char *visible, *enabled, *after;
        int commits;
    };
    const WordTable& w = BuiltInWords();
    auto x1 = [&](int g) { return [&w, g](WorkingCopies& c, DialogCommit&) { return NewFormAnimX1(c, g, w, nullptr); }; };
    auto x2 = [&](int g) { return [&w, g](WorkingCopies& c, DialogCommit& k) { return NewFormAnimX2(c, g, w, k, nullptr); }; };
    auto x3 = [&](int g) { return [&w, g](WorkingCopies& c, DialogCommit& k) { return NewFormAnimX3(c, g, w, k, nullptr); }; };
    auto zk = [&](int b) { return [&w, b](WorkingCopies& c, DialogCommit& k) { return NewFormAnimZK(c, b, w, k, nullptr); }; };
    auto bounds = [](std::size_t g) {
        return [g](WorkingCopies& c) { return Fields{&c.CurXOY.Texts[0][g], &c.CurXOY.Texts[1][g], &c.CurXOY.Texts[2][g], &c.CurXOY.Texts[3][g]}; };
    };
    const Case cases[] = {
        {"Анимация 2D-границ", x1(1), bounds(1), "1111", "1111", "nnnn", 0},
        {"Анимация 2D-границ", x1(3), bounds(3), "1100", "1100", "nnee", 0},
        {"Анимация 2D-границ", x1(5), bounds(5), "1100", "1100", "nnee", 0},
        {"Анимация кривой", x1(13), [](WorkingCopies& c) { return Fields{&c.CurXZ.BoundTexts[0], &c.CurXZ.BoundTexts[1], nullptr, nullptr}; },
         "1100", "1100", "nn..", 0},
        {"Анимация преобразований", x2(2),
         [](WorkingCopies& c) {
             auto& t = c.CurXOY.Texts;
             return Fields{&t[4][2], &t[5][2], &t[6][2], nullptr, nullptr, nullptr, nullptr, &t[7][2], &t[8][2], nullptr};
         },
         "1111111111", "1110000000", "nnn....kk.", 1},
        {"Анимация преобразований", x2(12),
         [](WorkingCopies& c) {
             Fields f;
             for (auto& t : c.CurXZ.Texts) f.push_back(&t[2]);
             return f;
         },
         "1111111111", "0000000111", "kkkkkkknnn", 1},
        {"Анимация уравнения", x3(5), [](WorkingCopies& c) { return Fields{&c.CurXOY.Texts7[5], &c.CurXOY.Texts7[7]}; }, "11", "11", "nn", 1},
        {"Анимация уравнения", x3(2), [](WorkingCopies& c) { return Fields{&c.CurXOY.Texts7[2], &c.CurXOY.Texts7[7]}; }, "10", "11", "nk", 1},
        {"Анимация: \"Сфера\"", zk(0), [](WorkingCopies& c) { return Fields{&c.CurSf.Anim, nullptr, nullptr, nullptr}; }, "1000", "0000", "k...", 1},
        {"Анимация: \"Цилиндр\"", zk(1), [](WorkingCopies& c) { return Fields{&c.CurZi.Anim[0], &c.CurZi.Anim[1], &c.CurZi.Anim[2], &c.CurZi.Anim[3]}; },
         "1111", "1101", "nnkn", 1},
        {"Анимация: \"Пирамида-4\"", zk(4), [](WorkingCopies& c) { return Fields{&c.CurPi4.Anim, nullptr, nullptr, nullptr}; }, "1000", "1000", "n...", 1},
        {"Анимация: \"Призма-4\"", zk(6), [](WorkingCopies& c) { return Fields{&c.CurPr4.Anim[0], &c.CurPr4.Anim[1], &c.CurPr4.Anim[2], nullptr}; },
         "1110", "1010", "nkn.", 1},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.caption);
        FakeEditing ed;
        WorkingCopies& c = ed.work;
        c.CurXOY.Move[2].Rotated.v = true;
        c.CurXZ.Move[2].Moved.v = true;
        c.CurSf.Radius.e = false;
        c.CurZi.SecOn[4].v = true;
        c.CurPi4.HeightLine.Length.e = true;
        c.CurPr4.EdgeX.e = c.CurPr4.EdgeZ.e = true;
        const Fields fields = tc.fields(c);
        for (std::string* f : fields)
            if (f) *f = "old";
        std::unique_ptr<TFormAnim> d(tc.open(c, ed));
        ShowActive(*d);
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8(tc.caption));
        ASSERT_EQ(d->rowCount(), static_cast<int>(fields.size()));
        for (int i = 0; i < d->rowCount(); ++i) {
            EXPECT_EQ(d->edit(i)->isVisible(), tc.visible[i] == '1') << i;
            EXPECT_EQ(d->edit(i)->isEnabled(), tc.enabled[i] == '1') << i;
            EXPECT_EQ(d->label(i)->isEnabled(), d->edit(i)->isEnabled()) << i;
            EXPECT_EQ(d->edit(i)->text(), d->edit(i)->isEnabled() && fields[i] ? "old" : "") << i;
            if (d->edit(i)->isVisible() && d->edit(i)->isEnabled()) TypeInto(d->edit(i), "new");
        }
        d->close();
        EXPECT_TRUE(d->isVisible());
        QTest::mouseClick(Find<QPushButton>(*d, "Button1"), Qt::LeftButton);
        EXPECT_FALSE(d->isVisible());
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const char want = tc.after[i];
            if (want == '.') continue;
            EXPECT_EQ(*fields[i], want == 'n' ? "new" : want == 'k' ? "old" : "") << i;
        }
        EXPECT_EQ(ed.undoSteps, tc.commits);
    }
}
