#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "coord_fake.h"
#include "dialog_test_util.h"
#include "dialogs/formula_check.h"
#include "dialogs/ui/graph_options_dialog.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/spin_edit.h"
#include "dialogs/ui/dialog_words.h"
#include "files/ui/text_tip.h"
#include "files/word_table.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct XYSession {
    CoordEditing ed;
    TFormXY* dlg;
    XYSession() : dlg(ed.add<TFormXY>(Kind::xy)) {
        dlg->showPage(2);
        ShowActive(*dlg);
    }
    template <class W>
    W* find(const char* name) {
        return Find<W>(*dlg, name);
    }
};

// The modal dialog that opens next is answered by `answer`.
void AnswerModal(std::function<void(QWidget&)> answer) {
    QTimer::singleShot(0, [answer] {
        QWidget* w = QApplication::activeModalWidget();
        ASSERT_TRUE(w);
        answer(*w);
    });
}

}  // namespace

// A user's session on the graphs page: a fill stores nothing; every
// keystroke of a formula is one undo step and no redraw; only the implicit
// graph's formula retraces it; the on box commits and redraws.
TEST(XOYDialog, FormulasAndGraphSwitches) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    XYSession s;
    // A refill with another record stores and commits nothing.
    DXOY other = s.ed.work.CurXOY;
    other.Graph[1].s = "other";
    other.ScaleX.v = 77;
    s.ed.reg.Fill(Kind::xy, other);
    EXPECT_EQ(s.ed.undoSteps, 0);
    EXPECT_EQ(s.ed.work.CurXOY.Graph[1].s, s.ed.xy().Graph[1].s);
    EXPECT_EQ(s.ed.work.CurXOY.ScaleX.v, s.ed.xy().ScaleX.v);
    s.ed.reg.Fill(Kind::xy, s.ed.work.CurXOY);

    s.ed.work.CurXOY.Curves.Valid = 1;
    TypeInto(s.find<QLineEdit>("EditX21"), "sin(x)");
    EXPECT_EQ(s.ed.xy().Graph[1].s, "sin(x)");
    EXPECT_EQ(s.ed.undoSteps, 6);
    EXPECT_EQ(s.ed.redraws, 0) << "a formula reaches the picture at the next redraw";
    EXPECT_EQ(s.ed.xy().Curves.Valid, 1);
    TypeInto(s.find<QLineEdit>("EditX252"), "t^2");
    EXPECT_EQ(s.ed.xy().Graph2.s, "t^2");
    EXPECT_EQ(s.ed.xy().Curves.Valid, 1);
    TypeInto(s.find<QLineEdit>("EditX26"), "x^2+y^2-1");
    EXPECT_EQ(s.ed.xy().Graph[6].s, "x^2+y^2-1");
    EXPECT_EQ(s.ed.xy().Curves.Valid, 0);

    auto* on1 = s.find<QCheckBox>("CheckBoxX21");
    const bool was = s.ed.xy().GraphOn[1].v;
    const int undo = s.ed.undoSteps;
    on1->setFocus();
    ClickIndicator(on1);
    EXPECT_NE(s.ed.xy().GraphOn[1].v, was);
    EXPECT_EQ(s.ed.undoSteps, undo + 1);
    EXPECT_EQ(s.ed.redraws, 1);
}

// Scales and division lengths commit when left: an emptied scale is 0,
// which is refused with a tip, the field showing the scale kept; a scale
// retraces the implicit graph, a division length does not; a grid step is
// clamped to its range.
TEST(XOYDialog, ScalesAndMarks) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    XYSession s;
    s.dlg->showPage(1);
    s.ed.work.CurXOY.Curves.Valid = 1;
    auto leave = [&] {
        s.find<QLineEdit>("EditXID")->setFocus();
        QApplication::processEvents();
    };
    TypeInto(s.find<TNumEdit>("EditXRazx"), "2,5");
    EXPECT_EQ(s.ed.undoSteps, 0) << "committed when left";
    leave();
    EXPECT_EQ(s.ed.xy().DivX.v, 2.5);
    EXPECT_EQ(s.ed.undoSteps, 1);
    EXPECT_EQ(s.ed.xy().Curves.Valid, 1);
    auto* masy = s.find<TNumEdit>("EditXMasy");
    const double scaleY = s.ed.xy().ScaleY.v;
    masy->setFocus();
    masy->selectAll();
    QTest::keyClick(masy, Qt::Key_Delete);
    EXPECT_EQ(masy->text(), "");
    QTest::keyClick(masy, Qt::Key_Tab);
    EXPECT_EQ(s.ed.xy().ScaleY.v, scaleY);
    EXPECT_EQ(masy->text(), QString::number(scaleY));
    EXPECT_EQ(ShownTextTip(), QString::fromUtf8("Масштаб должен быть больше 0."));
    EXPECT_EQ(s.ed.undoSteps, 1);
    TypeInto(masy, "40");
    leave();
    EXPECT_EQ(s.ed.xy().ScaleY.v, 40);
    EXPECT_EQ(s.ed.xy().Curves.Valid, 0);
    EXPECT_EQ(s.ed.undoSteps, 2);
    EXPECT_EQ(s.ed.redraws, 2);
    const QString masx = s.find<TNumEdit>("EditXMasx")->text();
    TypeInto(s.find<TNumEdit>("EditXMasx"), "-");
    EXPECT_EQ(s.find<TNumEdit>("EditXMasx")->text(), masx) << "no minus in a scale";

    auto* jump = s.find<TSpinEdit>("SpinEditXSJump");
    TypeInto(jump, "70");
    leave();
    EXPECT_LE(s.ed.xy().GridStep.v, 50);
    EXPECT_GE(s.ed.xy().GridStep.v, 1);
    for (const char* name : {"SpinEditXRazH", "SpinEditXPodSize", "SpinEditXTol"}) {
        auto* sp = s.find<TSpinEdit>(name);
        EXPECT_EQ(sp->MinValue(), std::string(name) == "SpinEditXPodSize" ? 1 : 0) << name;
    }
    EXPECT_EQ(s.find<TSpinEdit>("SpinEditXRazH")->MaxValue(), 300);
}

// The options of a graph: modal, the thickness typed there lands on the
// options button after one commit; graphs 1..5 redraw, the implicit graph
// does not.  The animation button opens the equation parameter's dialog,
// whose "Ok" commits; the second function's formula alone sets graph 5's
// glyph.
TEST(XOYDialog, OptionsAndAnimation) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    XYSession s;
    for (int g : {1, 6}) {
        const int undo = s.ed.undoSteps, redraws = s.ed.redraws;
        AnswerModal([g](QWidget& w) {
            auto* opt = dynamic_cast<TFormXOYOpt*>(&w);
            ASSERT_TRUE(opt);
            EXPECT_EQ(opt->graph(), g);
            TypeInto(Find<TSpinEdit>(w, "SpinEdit1"), QString::number(g + 3));
            QTest::mouseClick(Find<QPushButton>(w, "Button1"), Qt::LeftButton);
        });
        QTest::mouseClick(s.find<QPushButton>(qPrintable(QString("ButtonX%1").arg(g))), Qt::LeftButton);
        EXPECT_EQ(s.ed.xy().GraphThick[static_cast<std::size_t>(g)].v, g + 3);
        EXPECT_EQ(s.ed.undoSteps, undo + 1);
        EXPECT_EQ(s.ed.redraws, redraws + (g == 6 ? 0 : 1)) << g;
        EXPECT_EQ(s.find<QPushButton>(qPrintable(QString("ButtonX%1").arg(g)))->text(),
                  QString::fromUtf8("Толщина=") + QString::number(g + 3));
    }

    for (int i = 1; i <= 6; ++i)
        EXPECT_FALSE(s.find<QPushButton>(qPrintable(QString("BitBtn%1").arg(i)))->property("set").toBool());
    const int undo = s.ed.undoSteps;
    AnswerModal([](QWidget& w) {
        EXPECT_EQ(w.objectName(), "FormAnimX3");
        EXPECT_FALSE(Find<QLineEdit>(w, "Edit1")->text().size());
        TypeInto(Find<QLineEdit>(w, "Edit2"), "x/2");
        QTest::mouseClick(Find<QPushButton>(w, "Button1"), Qt::LeftButton);
    });
    QTest::mouseClick(s.find<QPushButton>("BitBtn5"), Qt::LeftButton);
    EXPECT_EQ(s.ed.xy().Texts7[7], "x/2");
    EXPECT_EQ(s.ed.undoSteps, undo + 1);
    EXPECT_TRUE(s.find<QPushButton>("BitBtn5")->property("set").toBool());
    EXPECT_FALSE(s.find<QPushButton>("BitBtn4")->property("set").toBool());
}

// Parts, default sets and the path: the centre opens in the point dialog
// with role 4 and closes this one; Save and Load follow the framework (one
// commit); the default-set buttons by the object-list entry and the
// creation number.
TEST(XOYDialog, PartsAndDefaultSet) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    XYSession s;
    EXPECT_EQ(s.find<QLabel>("LabelX2Path")->text(), "xy path");
    auto* save = s.find<QPushButton>("ButtonXSave");
    auto* load = s.find<QPushButton>("ButtonXLoad");
    EXPECT_TRUE(save->isEnabled() && load->isEnabled());
    DXOY numbered = s.ed.work.CurXOY;
    numbered.Number = 2;
    s.ed.reg.Fill(Kind::xy, numbered);
    EXPECT_TRUE(save->isEnabled());
    EXPECT_FALSE(load->isEnabled());
    s.ed.current.code[0] = 'p', s.ed.current.code[1] = 'o';
    s.ed.reg.Fill(Kind::xy, numbered);
    EXPECT_FALSE(save->isEnabled() || load->isEnabled());
    s.ed.select(Kind::xy, 1);
    s.ed.reg.Fill(Kind::xy, s.ed.work.CurXOY);

    QTest::mouseClick(save, Qt::LeftButton);
    const double scale = s.ed.xy().ScaleX.v;
    s.dlg->showPage(1);
    TypeInto(s.find<TNumEdit>("EditXMasx"), "33");
    s.find<QLineEdit>("EditXID")->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(s.ed.xy().ScaleX.v, 33);
    const int undo = s.ed.undoSteps;
    QTest::mouseClick(load, Qt::LeftButton);
    EXPECT_TRUE(s.ed.messages.empty());
    EXPECT_EQ(s.ed.xy().ScaleX.v, scale);
    EXPECT_EQ(s.ed.work.CurXOY.ScaleX.v, scale);
    EXPECT_EQ(s.ed.undoSteps, undo + 1);
    EXPECT_EQ(s.find<TNumEdit>("EditXMasx")->text(), QString::number(scale));

    QTest::mouseClick(s.find<QPushButton>("ButtonXY"), Qt::LeftButton);
    EXPECT_EQ(s.ed.roleSlot(Kind::li), 13);
    EXPECT_FALSE(s.ed.reg.isOpen(Kind::xy));
    ASSERT_TRUE(s.ed.reg.isOpen(Kind::li));
    EXPECT_EQ(s.ed.backTo, std::vector<Kind>{Kind::xy});
    EXPECT_DOUBLE_EQ(s.ed.work.CurLine.P2.ScrY.v, s.ed.xy().AxisY.P2.ScrY.v);
}

// An implicit curve typed as an equation, key by key: every key is stored
// as typed and the text stays; when the field is left, a tip says what to
// write instead.  A formula that draws says nothing, nor does a field left
// unchanged; Return tells as leaving does.
TEST(XOYDialog, FormulasTheDrawerCannotDraw) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    XYSession s;
    auto* implicit = s.find<QLineEdit>("EditX26");
    const QString equation = "x^2+y^2=9";
    implicit->setFocus();
    implicit->selectAll();
    for (qsizetype i = 0; i < equation.size(); ++i) {
        QTest::keyClicks(implicit, equation.mid(i, 1));
        EXPECT_EQ(implicit->text(), equation.left(i + 1));
        EXPECT_EQ(s.ed.xy().Graph[6].s, equation.left(i + 1).toStdString());
    }
    QTest::keyClick(implicit, Qt::Key_Tab);
    EXPECT_EQ(s.ed.xy().Graph[6].s, "x^2+y^2=9") << "told, not refused";
    EXPECT_EQ(implicit->text(), equation);
    EXPECT_EQ(ShownTextTip(), QString::fromUtf8("Знак \"=\" не входит в формулу: напишите x^2+y^2-9"));

    TypeInto(implicit, "x^2+y^2-9");
    QTest::keyClick(implicit, Qt::Key_Return);
    EXPECT_TRUE(ShownTextTip().isEmpty());
    implicit->setFocus();
    s.find<QLineEdit>("EditX21")->setFocus();
    EXPECT_TRUE(ShownTextTip().isEmpty()) << "a field left unchanged";

    auto* second = s.find<QLineEdit>("EditX252");
    TypeInto(second, "sin(t)");
    QTest::keyClick(second, Qt::Key_Return);
    EXPECT_EQ(ShownTextTip(), QString::fromUtf8("Формула не знает \"t\": её переменная — x."));

    // Polar and parametric graphs typed in "t" and left: kept as typed and
    // told; the equation's tip tells of the "t" it suggests.
    const struct {
        const char* field;
        QString text;
        int graph;  // 7: the parametric graph's second formula
        const char* tip;
    } inT[] = {
        {"EditX23", "1+cos(t)", 3, "Формула не знает \"t\": её переменная — x."},
        {"EditX24", "2t", 4, "Формула не знает \"t\": её переменная — x."},
        {"EditX251", "x=cos(t)", 5,
         "Знак \"=\" не входит в формулу: напишите cos(t). Формула не знает \"t\": её переменная — x."},
        {"EditX252", "t^2", 7, "Формула не знает \"t\": её переменная — x."},
    };
    for (const auto& r : inT) {
        SCOPED_TRACE(r.field);
        auto* edit = s.find<QLineEdit>(r.field);
        TypeInto(edit, r.text);
        QTest::keyClick(edit, Qt::Key_Tab);
        EXPECT_FALSE(edit->hasFocus());
        EXPECT_EQ(edit->text(), r.text);
        const DXOY& x = s.ed.xy();
        EXPECT_EQ(r.graph == 7 ? x.Graph2.s : x.Graph[static_cast<std::size_t>(r.graph)].s, r.text.toStdString());
        EXPECT_EQ(ShownTextTip(), QString::fromUtf8(r.tip));
    }
}

// What each kind of field is told of a formula, in both languages.
TEST(FormulaCheck, WhatTheDrawerCannotDraw) {
    WordTable english;
    ASSERT_TRUE(english.LoadWords(PELMAR_TEST_DATA "/../../share/pelmar/Translation/English.trs"));
    const FormulaField line{"x", 'y'}, param{"x", 'x'}, polar{"x", 'r'}, implicit{"xy", 0}, surface{"xy", 'z', true},
        solid{"xyz", 0, true};
    const struct {
        const char* text;
        FormulaField field;
        const char* english;  // empty: drawn without a word
    } rows[] = {
        {"x^2+y^2=9", implicit, "\"=\" is not part of a formula: write x^2+y^2-9"},
        {"y = x^2", line, "\"=\" is not part of a formula: write x^2"},
        {"x=y+1", implicit, "\"=\" is not part of a formula: write x-(y+1)"},
        {"x^2=y=1", implicit, "\"=\" is not part of a formula."},
        {"sin(t)", param, "The formula knows no \"t\": its variable is x."},
        {"2*t+1", param, "The formula knows no \"t\": its variable is x."},
        {"t", param, "The formula knows no \"t\": its variable is x."},
        {"T^2", param, "The formula knows no \"t\": its variable is x."},
        {"1+cos(t)", polar, "The formula knows no \"t\": its variable is x."},
        {"2t", polar, "The formula knows no \"t\": its variable is x."},
        {"cost", polar, "The formula knows no \"cost\": its variable is x."},
        {"x=sin(t)", param, "\"=\" is not part of a formula: write sin(t). The formula knows no \"t\": its variable is x."},
        {"sqrt(x^2+y^2)-3", implicit, "The formula knows no \"sqrt\": its variables are x and y."},
        {"x+y+w", solid, "The formula knows no \"w\": its variables are x, y and z."},
        {"x^2+", line, "This formula gives no value at any point: check its signs and brackets."},
        {"ln(-x^2-1)", line, "This formula gives no value at any point: check its signs and brackets."},
        {"(x+1", line, "This formula gives no value at any point: check its signs and brackets."},
        {"sin(x", param, "This formula gives no value at any point: check its signs and brackets."},
        {"x^2+y^2-(1", implicit, "This formula gives no value at any point: check its signs and brackets."},
        {"(x+1))*(x", line, "This formula gives no value at any point: check its signs and brackets."},
        {"((x+1)*(x-1))", line, ""},
        {"", line, ""},
        {"sinx+2x", line, ""},
        {"ln(x-2000)", line, ""},
        {"norm(x,0,1)", line, ""},
        {"X^2+Y^2-1", surface, ""},
        {"x*y*z-1", solid, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(FormulaNote(english, r.text, r.field), r.english);
        EXPECT_EQ(FormulaNote(BuiltInWords(), r.text, r.field).empty(), std::string(r.english).empty());
    }
    EXPECT_EQ(FormulaNote(BuiltInWords(), "x=y+1", implicit), "Знак \"=\" не входит в формулу: напишите x-(y+1)");
}
