#include <gtest/gtest.h>

#include <QClipboard>
#include <QRadioButton>
#include <QSignalSpy>
#include <QVBoxLayout>

#include "dialog_test_util.h"
#include "dialogs/number_text.h"
#include "dialogs/ui/color_combo.h"
#include "dialogs/ui/font_combo.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/spin_edit.h"
#include "files/text_lines.h"
#include "files/ui/text_tip.h"
#include "model/update.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct Window {
    QWidget w;
    TNumEdit* num = new TNumEdit(&w);
    TSpinEdit* spin = new TSpinEdit(&w);
    QLineEdit* other = new QLineEdit(&w);
    Window() {
        auto* lay = new QVBoxLayout(&w);
        for (QWidget* c : {static_cast<QWidget*>(num), static_cast<QWidget*>(spin), static_cast<QWidget*>(other)})
            lay->addWidget(c);
        ShowActive(w);
    }
};

}  // namespace

// Typed keys pass the filter one at a time; pasted text (Ctrl+V, the menu's
// Paste) passes it whole, blanks around it aside, or is refused whole.  The
// edit reports each change once, after the filter, and nothing for text
// refused.
TEST(NumEdit, TypedAndPastedTextFiltered) {
    struct Case {
        bool minus, comma;
        const char* typed;   // over the selected text
        const char* pasted;  // then at the end
        const char* want;
    };
    const Case cases[] = {
        {true, true, "-1,5", "", "-1,5"},     {true, false, "-1,5", "", "-1,5"}, {false, true, "-1,5", "", "1,5"},
        {true, true, "1,2,3", "", "1,23"},    {true, true, "a1 b", "", "1"},     {true, true, "1.5", "", "1,5"},
        {true, false, "1.5", "", "1,5"},      {true, true, "1-2", "", "12"},     {true, true, "", "12abc", ""},
        {true, true, "7", "-3.25", "7"},      {true, true, "2,0", "1,5", "2,0"},   {true, true, "--5", "", "-5"},
        {false, false, "9", "\t-8.5e3 ", "9"}, {true, true, "7", " 3.25\n", "7"},
    };
    for (const Case& c : cases) {
        Window win;
        win.num->setFilter(c.minus, c.comma);
        TypeInto(win.num, c.typed);
        QApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
        win.num->end(false);
        QTest::keyClick(win.num, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(win.num->text(), c.want) << c.typed << " + " << c.pasted;
    }
    Window win;
    TypeInto(win.num, "12");
    QSignalSpy changes(win.num, &TNumEdit::textChangedFiltered);
    for (const char* pasted : {"abc", "x3", "3"}) {
        QApplication::clipboard()->setText(pasted);
        win.num->paste();
    }
    EXPECT_EQ(win.num->text(), "123");
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0].at(0).toString(), "123");

    // The program's text stays as it is; a number shown from the record
    // while the user types leaves the user's text, whatever the number.
    win.num->setText("1,5E-6");
    EXPECT_EQ(win.num->number(), 1.5e-6);
    TypeInto(win.num, "1,50");
    win.num->setNumber(1.5);
    EXPECT_EQ(win.num->text(), "1,50");
    win.num->setNumber(2.25);
    EXPECT_EQ(win.num->text(), "1,50");
    win.num->showNumber(2.25);
    EXPECT_EQ(win.num->text(), "2,25");
    for (const char* t : {"", "-"}) {
        win.num->setText(t);
        EXPECT_FALSE(win.num->number());
        win.num->fixEmpty();
        EXPECT_EQ(win.num->text(), *t ? "-0" : "0");
    }

    // Once left, the text is a number: no separator that nothing follows, and
    // a text without a digit is 0 (empty where the field keeps it empty), a
    // zero has no minus.
    const std::tuple<const char*, bool, const char*> left[] = {
        {"10,", false, "10"}, {"2,50", false, "2,50"}, {",", false, "0"}, {"-,", false, "0"}, {"-,", true, ""}};
    for (const auto& [typed, emptyKept, shown] : left) {
        Window w;
        w.num->setEmptyKept(emptyKept);
        TypeInto(w.num, typed);
        w.other->setFocus();
        EXPECT_EQ(w.num->text(), shown) << typed;
    }
}

// An emptied or "-" spin edit reads as its MinValue (0 when unbounded) but
// reports nothing while the user goes on typing, keeps that text through a
// refill, and takes MinValue once left.
TEST(SpinEdit, TransientTextFallsBackToMinValue) {
    struct Case {
        int min, max;
        const char* typed;  // empty: Backspace
        int whileTyping;    // checkedValue
        int reported;       // the last `changed` (it held 7)
        const char* shownAfter;
    };
    const Case cases[] = {
        {1, 20, "", 1, 7, "1"},          {-180, 180, "-", -180, 7, "-180"}, {-180, 180, "-90", -90, -90, "-90"},
        {0, 0, "", 0, 7, "0"},           {0, 0, "-", 0, 7, "0"},            {0, 0, "-123456", -123456, -123456, "-123456"},
        {1, 20, "-", 7, 7, "7"},         {1, 20, "7", 7, 7, "7"},  // the same value typed again
    };
    for (const Case& c : cases) {
        Window win;
        win.spin->setMinMax(c.min, c.max);
        win.spin->setValue(7);
        QSignalSpy changed(win.spin, &TSpinEdit::changed);
        TypeInto(win.spin, c.typed);
        if (!*c.typed) QTest::keyClick(win.spin, Qt::Key_Backspace);
        EXPECT_EQ(win.spin->checkedValue(), c.whileTyping) << c.typed;
        EXPECT_EQ(changed.isEmpty() ? 7 : changed.last().at(0).toInt(), c.reported) << c.typed;
        const QString typing = win.spin->text();
        win.spin->setFillValue(c.whileTyping + 1);
        EXPECT_EQ(win.spin->text(), typing);
        win.other->setFocus();
        EXPECT_EQ(win.spin->text(), c.shownAfter) << c.typed;
        EXPECT_EQ(win.spin->value(), c.whileTyping) << c.typed;
    }
    // Emptied and typed back to the value it held: nothing to report.
    Window win;
    win.spin->setMinMax(1, 20);
    win.spin->setValue(5);
    QSignalSpy changed(win.spin, &TSpinEdit::changed);
    TypeInto(win.spin, "");
    QTest::keyClicks(win.spin, "\b5");
    EXPECT_TRUE(changed.isEmpty());
    EXPECT_EQ(win.spin->value(), 5);
    TSpinEdit unbounded;
    unbounded.setValue(-2000000000);
    EXPECT_EQ(unbounded.value(), -2000000000);
}

// A key the spin edit does not take leaves the text as it was and says why:
// a minus out of its place, a digit beyond the bounds, a sign that is no part
// of a number.
TEST(SpinEdit, RefusedKeysAreTold) {
    struct Case {
        int min, max;
        const char* keys;  // typed over the whole text
        const char* shown;
        const char* tip;  // empty: none
    };
    const Case cases[] = {
        {0, 0, "12a", "12", "Здесь только число: «a» не принято."},
        {1, 100, "150", "15", "Допустимо от 1 до 100."},
        {1, 20, "-", "7", "Это число не бывает отрицательным."},
        {-180, 180, "1-", "1", "Минус ставится только в начале числа."},
        {-180, 180, "-200", "-20", "Допустимо от -180 до 180."},
        {-180, 180, "--5", "-5", "Минус ставится только в начале числа."},
    };
    for (const Case& c : cases) {
        Window win;
        win.spin->setMinMax(c.min, c.max);
        win.spin->setValue(7);
        TypeInto(win.spin, c.keys);
        EXPECT_EQ(win.spin->text(), c.shown) << c.keys;
        EXPECT_EQ(ShownTextTip(), c.tip) << c.keys;
    }
}

// Pasted text that is no number of the field is refused whole, by Ctrl+V and
// the menu alike: the field keeps what it held, reports nothing and a tip says
// why; it is never cut into another number ("-1/2" into "-12").
TEST(NumberFields, PasteNotANumberRefusedWhole) {
    enum Field { Num, NumNoMinus, Spin, SpinBounded };
    const char* notNumber = "Здесь только число: вставленный текст не принят.";
    const std::string notBounded = std::string(notNumber) + " Допустимо от 1 до 100.";
    const struct Case {
        Field field;
        bool atEnd;  // pasted after "12", else over it
        const char* pasted;
        const char* want;
        const char* tip;  // empty: none
    } cases[] = {
        {Num, false, "-1/2", "12", "Здесь только число: «-1/2» не принято."},
        {Num, false, "1 000", "12", "Здесь только число: «1 000» не принято."},
        {Num, true, "abc", "12", "Здесь только число: «12abc» не принято."},
        {Num, true, " 3.25", "12", "Здесь только число: «12 3.25» не принято."},
        {Num, false, " 3.25\n", "3,25", ""},
        {Num, true, "\t", "12", notNumber},
        {Num, false, "1,5E-6", "12", "Здесь только число: «1,5E-6» не принято."},
        {Num, true, "-5", "12", "Минус ставится только в начале числа."},
        {Num, true, ",5,", "12", "Здесь только число: «12,5,» не принято."},
        {Num, false, " ", "12", notNumber},
        {NumNoMinus, false, "-5", "12", "Это число не бывает отрицательным."},
        {Num, false, "-0.5", "-0,5", ""},
        {Num, true, ",25", "12,25", ""},
        {Spin, false, "-1/2", "12", notNumber},
        {Spin, false, "12abc", "12", notNumber},
        {Spin, false, "-40", "-40", ""},
        {SpinBounded, false, "500", "12", notBounded.c_str()},
        {SpinBounded, false, "1 000", "12", notBounded.c_str()},
        {SpinBounded, true, "5", "12", notBounded.c_str()},
        {SpinBounded, false, "50", "50", ""},
    };
    for (const bool menu : {false, true})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.pasted) + (menu ? " by the menu" : " by Ctrl+V"));
            Window win;
            const bool spin = c.field == Spin || c.field == SpinBounded;
            if (c.field == NumNoMinus) win.num->setFilter(false, true);
            if (spin) win.spin->setMinMax(c.field == Spin ? 0 : 1, c.field == Spin ? 0 : 100);
            spin ? TypeInto(win.spin, QStringLiteral("12")) : TypeInto(win.num, QStringLiteral("12"));
            QWidget* field = spin ? static_cast<QWidget*>(win.spin) : win.num;
            QLineEdit* line = spin ? win.spin->findChild<QLineEdit*>() : win.num;
            QSignalSpy edits(win.num, &TNumEdit::textChangedFiltered), values(win.spin, &TSpinEdit::changed);
            c.atEnd ? line->end(false) : line->selectAll();
            QApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
            menu ? line->paste() : QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            EXPECT_EQ(line->text(), c.want);
            EXPECT_EQ(ShownTextTip(), QString::fromUtf8(c.tip));
            EXPECT_EQ(edits.size() + values.size(), QString::fromUtf8(c.want) != "12" ? 1 : 0) << "reported changes";
        }
}

// Integer fields (a spin edit, a numeric edit without the comma) never read
// a separator as nothing, whatever the locale's separators and minus sign: the number
// is rounded half to even when the field is left, a key that would leave the
// range is refused, and a number below it becomes its bound.
TEST(IntegerFields, SeparatorsRoundNeverJoinDigits) {
    struct Case {
        const char* keys;
        int min, max;   // the spin edit's MinValue and MaxValue
        int spinValue;  // after the edit is left; it held 7
        const char* numText;  // the numeric edit's text once left (its number: the same)
    };
    const Case cases[] = {
        {"12,5", 0, 0, 12, "12"},   {"12.6", 0, 0, 13, "13"},     {"13,5", 0, 0, 14, "14"},
        {"-7,5", 0, 0, -8, "-8"},   {"3,", 0, 0, 3, "3"},         {",4", 0, 0, 0, "0"},
        {"1,2,3", 0, 0, 1, "1"},    {"20,6", 1, 20, 20, "21"},    {"0,4", 1, 20, 1, "0"},
        {"1 000", 0, 0, 1000, "1000"}, {"-0,4", 0, 0, 0, "0"},
    };
    const QLocale locales[] = {QLocale::c(), QLocale(QLocale::Russian), QLocale(QLocale::German),
                               QLocale(QLocale::Swedish)};
    for (const QLocale& locale : locales) {
        QLocale::setDefault(locale);
        for (const Case& c : cases) {
            Window win;
            win.num->setFilter(true, false);
            win.spin->setMinMax(c.min, c.max);
            win.spin->setValue(7);
            TypeInto(win.spin, c.keys);
            TypeInto(win.num, c.keys);
            win.other->setFocus();
            const QString at = QString::fromUtf8(c.keys) + " in " + locale.name();
            EXPECT_EQ(win.spin->value(), c.spinValue) << at.toStdString();
            EXPECT_EQ(win.spin->checkedValue(), c.spinValue) << at.toStdString();
            EXPECT_EQ(win.spin->text(), QString::number(c.spinValue)) << at.toStdString();
            EXPECT_EQ(win.num->text(), c.numText) << at.toStdString();
            EXPECT_EQ(win.num->number(), ReadNumber(c.numText)) << at.toStdString();
        }
    }
    QLocale::setDefault(QLocale::c());
}

// Item index = colour index; a colour value that is not the palette colour of
// its index survives fills until the user picks an item.
TEST(ColorCombo, ItemIndexIsColourIndexAndForeignValuesStay) {
    TColorCombo combo;
    ASSERT_EQ(combo.count(), 16);
    for (std::uint8_t i = 0; i < 16; ++i) {
        combo.setColor(i, IndexToColor(i));
        EXPECT_EQ(std::tuple(combo.currentIndex(), combo.colorValue()), std::tuple(int(i), IndexToColor(i)));
        EXPECT_EQ(FromQColor(ToQColor(IndexToColor(i))), IndexToColor(i));
    }
    combo.setColor(3, 0x123456);
    EXPECT_EQ(std::tuple(combo.colorIndex(), combo.colorValue()), std::tuple(std::uint8_t(3), TColor(0x123456)));
    TColor seen = 0;
    QObject::connect(&combo, &QComboBox::activated, [&] { seen = combo.colorValue(); });
    combo.setCurrentIndex(5);
    emit combo.activated(5);
    EXPECT_EQ(seen, IndexToColor(5));
    combo.setColor(200, 0xFF);
    EXPECT_EQ(std::tuple(combo.currentIndex(), combo.colorValue()), std::tuple(-1, TColor(0xFF)));
}

// Offered: only names the code page spells, so a chosen font survives the file and the undo history.
TEST(FontCombo, KeepsNamesTheMachineLacks) {
    TFontCombo combo(nullptr, {"DejaVu Sans", "Liberation Serif", "DejaVu Sans", "Noto Sans CJK 日本", "Tab\tFace", "Ёж"});
    for (const char* name : {"MS Sans Serif", "Times New Roman", "MS Sans Serif", "DejaVu Sans", "arial"}) {
        combo.setFontName(name);
        EXPECT_EQ(combo.fontName(), name);
    }
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
    EXPECT_EQ(items, QStringList({"arial", "DejaVu Sans", "Liberation Serif", "MS Sans Serif", "Times New Roman", "Ёж"}));
    EXPECT_GT(TFontCombo().count(), 0);  // the machine's families
    const TFontCombo machine;  // only names a document holds
    for (int i = 0; i < machine.count(); ++i)
        EXPECT_EQ(Cp1251ToUtf8(Utf8ToCp1251(machine.itemText(i).toStdString())), machine.itemText(i).toStdString());
}

TEST(RadioGroup, IndexTextAndEnableByItem) {
    QWidget w;
    auto* group = new TRadioGroup("Тип", &w);
    (new QVBoxLayout(&w))->addWidget(group);
    group->setItems({"1", "2", "3"});
    group->setColumns(3);
    ShowActive(w);
    QSignalSpy clicks(group, &TRadioGroup::itemClicked);
    group->setItemIndex(2);
    EXPECT_EQ(group->itemIndex(), 2);
    group->setItemIndex(-1);
    EXPECT_EQ(group->itemIndex(), -1);
    EXPECT_EQ(group->button(0)->y(), group->button(2)->y());  // three columns, one row

    group->setItemEnabled(2, false);
    for (int i : {1, 2}) ClickIndicator(group->button(i));
    EXPECT_EQ(group->itemIndex(), 1);
    ASSERT_EQ(clicks.size(), 1);  // the program's choices and a disabled item are no clicks
    EXPECT_EQ(clicks[0].at(0).toInt(), 1);
    group->setEnabled(false);
    EXPECT_TRUE(group->isItemEnabled(0) && !group->isItemEnabled(2));  // the items' own states
    group->setItemText(0, "Равносторонний");
    EXPECT_EQ(group->itemText(0), "Равносторонний");
    group->setItems({"a", "b"});
    EXPECT_EQ(std::tuple(group->count(), group->itemIndex()), std::tuple(2, -1));
}
