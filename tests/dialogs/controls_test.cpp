#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "dialog_test_util.h"
#include "dialogs/color_combo.h"
#include "dialogs/font_combo.h"
#include "dialogs/num_edit.h"
#include "dialogs/radio_group.h"
#include "dialogs/spin_edit.h"
#include "model/update.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct Window {
    QWidget w;
    QVBoxLayout* lay = new QVBoxLayout(&w);
    TNumEdit* num = new TNumEdit(&w);
    TSpinEdit* spin = new TSpinEdit(&w);
    QLineEdit* other = new QLineEdit(&w);
    Window() {
        lay->addWidget(num);
        lay->addWidget(spin);
        lay->addWidget(other);
        ShowActive(w);
    }
};

}  // namespace

// Typed keys and pasted text go through the same filter; the edit's clean
// signal comes once per change that let something through, never for text
// that was refused whole.
TEST(NumEdit, TypedAndPastedTextFiltered) {
    struct Case {
        bool minus, comma;
        const char* start;
        const char* typed;   // keys typed over the selected text
        const char* pasted;  // then pasted at the end
        const char* want;
    };
    const Case cases[] = {
        {true, true, "", "-1,5", "", "-1,5"},
        {true, false, "", "-1,5", "", "-15"},
        {false, true, "", "-1,5", "", "1,5"},
        {true, true, "", "1,2,3", "", "1,23"},
        {true, true, "", "a1 b", "", "1"},
        {true, true, "", "1.5", "", "1,5"},  // the point key types the comma
        {true, false, "", "1.5", "", "15"},
        {true, true, "", "1-2", "", "1-2"},   // the minus anywhere, as the filter has it
        {true, true, "", "", "12abc", "12"},
        {true, true, "", "7", "-3.25", "7-3,25"},
        {true, true, "", "7,1", "-3.25", "7,1-325"},
        {true, true, "", "2,0", "1,5", "2,015"},
        {false, false, "", "9", "\t-8.5e3 ", "9853"},
    };
    for (const Case& c : cases) {
        Window win;
        win.num->setFilter(c.minus, c.comma);
        win.num->setText(c.start);
        QSignalSpy changes(win.num, &TNumEdit::textChangedFiltered);
        TypeInto(win.num, c.typed);
        if (*c.pasted) {
            QApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
            win.num->end(false);
            QTest::keyClick(win.num, Qt::Key_V, Qt::ControlModifier);
        }
        EXPECT_EQ(win.num->text(), c.want) << c.typed << " + " << c.pasted;
        for (const auto& args : changes) {
            const QString t = args.at(0).toString();
            for (QChar ch : t) EXPECT_TRUE(ch.isDigit() || ch == '-' || ch == ',') << t.toStdString();
        }
    }
    // Pasting nothing usable changes nothing and says nothing; the menu's
    // Paste (paste()) is filtered too.
    Window win;
    win.num->setFilter(true, true);
    TypeInto(win.num, "12");
    QSignalSpy changes(win.num, &TNumEdit::textChangedFiltered);
    QApplication::clipboard()->setText("abc");
    win.num->paste();
    EXPECT_EQ(win.num->text(), "12");
    EXPECT_EQ(changes.size(), 0);
    QApplication::clipboard()->setText("x3");
    win.num->paste();
    EXPECT_EQ(win.num->text(), "123");
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0].at(0).toString(), "123");
}

// Text set by the program stays as it is; a number shown while the user types
// the same number in another spelling leaves the user's text.
TEST(NumEdit, ProgramTextAndNumbers) {
    Window win;
    win.num->setFilter(false, false);
    win.num->setText("1,5E-6");
    EXPECT_EQ(win.num->text(), "1,5E-6");
    EXPECT_EQ(win.num->number(), 1.5e-6);
    win.num->setFilter(true, true);
    TypeInto(win.num, "1,50");
    win.num->setNumber(1.5);
    EXPECT_EQ(win.num->text(), "1,50");
    win.num->setNumber(2.25);
    EXPECT_EQ(win.num->text(), "2,25");
    win.other->setFocus();
    win.num->setNumber(-0.0);
    EXPECT_EQ(win.num->text(), "0");
    for (const char* t : {"", "-"}) {
        win.num->setText(t);
        EXPECT_FALSE(win.num->number());
        win.num->fixEmpty();
        EXPECT_EQ(win.num->text(), *t ? "-0" : "0");
    }
}

// An emptied or "-" spin edit reads as its MinValue (0 when unbounded) while
// the user goes on typing, and shows that value once left.
TEST(SpinEdit, TransientTextFallsBackToMinValue) {
    struct Case {
        int min, max;
        const char* typed;
        int whileTyping;  // checkedValue after the keys
        const char* shownAfter;
    };
    const Case cases[] = {
        {1, 20, "", 1, "1"},         {-180, 180, "-", -180, "-180"}, {-180, 180, "-90", -90, "-90"},
        {0, 0, "", 0, "0"},          {0, 0, "-", 0, "0"},            {0, 0, "-123456", -123456, "-123456"},
        {0, 300, "25", 25, "25"},    {1, 20, "-", 7, "7"},  // no minus where none is allowed
    };
    for (const Case& c : cases) {
        Window win;
        win.spin->setMinMax(c.min, c.max);
        win.spin->setValue(7);
        QSignalSpy changed(win.spin, &TSpinEdit::changed);
        TypeInto(win.spin, c.typed);
        if (!*c.typed) QTest::keyClick(win.spin, Qt::Key_Backspace);
        EXPECT_EQ(win.spin->checkedValue(), c.whileTyping) << c.typed;
        if (c.whileTyping != 7) {
            ASSERT_FALSE(changed.isEmpty()) << c.typed;
            EXPECT_EQ(changed.last().at(0).toInt(), c.whileTyping) << c.typed;
        }
        // A refill with the value the edit reads as keeps the user's text.
        const QString typing = win.spin->text();
        win.spin->setFillValue(c.whileTyping);
        EXPECT_EQ(win.spin->text(), typing);
        win.other->setFocus();
        EXPECT_EQ(win.spin->text(), c.shownAfter) << c.typed;
        EXPECT_EQ(win.spin->value(), c.whileTyping) << c.typed;
    }
    TSpinEdit unbounded;
    for (int v : {-2000000000, 2000000000}) {
        unbounded.setValue(v);
        EXPECT_EQ(unbounded.value(), v);
    }
    EXPECT_EQ(unbounded.MinValue(), 0);
    EXPECT_EQ(unbounded.MaxValue(), 0);
}

TEST(ColorCombo, ItemIndexIsColourIndexAndForeignValuesStay) {
    TColorCombo combo;
    ASSERT_EQ(combo.count(), 16);
    for (std::uint8_t i = 0; i < 16; ++i) {
        combo.setColor(i, IndexToColor(i));
        EXPECT_EQ(combo.currentIndex(), i);
        EXPECT_EQ(combo.colorIndex(), i);
        EXPECT_EQ(combo.colorValue(), IndexToColor(i));
        EXPECT_EQ(FromQColor(ToQColor(IndexToColor(i))), IndexToColor(i));
        EXPECT_FALSE(combo.itemIcon(i).isNull());
    }
    EXPECT_EQ(combo.itemText(0), "Black");
    EXPECT_EQ(combo.itemText(15), "White");

    // A colour that is not the palette colour of its index survives a fill
    // and a refill, until the user picks an item.
    combo.setColor(3, 0x123456);
    combo.setColor(3, 0x123456);
    EXPECT_EQ(combo.colorIndex(), 3);
    EXPECT_EQ(combo.colorValue(), 0x123456u);
    TColor seen = 0;
    QObject::connect(&combo, &QComboBox::activated, [&] { seen = combo.colorValue(); });
    combo.setCurrentIndex(5);
    emit combo.activated(5);
    EXPECT_EQ(seen, IndexToColor(5));
    combo.setColor(200, 0xFF);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.colorValue(), 0xFFu);
}

TEST(FontCombo, KeepsNamesTheMachineLacks) {
    TFontCombo combo(nullptr, {"DejaVu Sans", "Liberation Serif", "DejaVu Sans"});
    EXPECT_EQ(combo.count(), 2);
    for (const char* name : {"MS Sans Serif", "Times New Roman", "MS Sans Serif", "DejaVu Sans", "arial"}) {
        combo.setFontName(name);
        EXPECT_EQ(combo.fontName(), name);
    }
    EXPECT_EQ(combo.count(), 5);
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
    EXPECT_EQ(items, QStringList({"arial", "DejaVu Sans", "Liberation Serif", "MS Sans Serif", "Times New Roman"}));
    combo.setFontName("");
    EXPECT_EQ(combo.fontName(), "");
    EXPECT_GT(TFontCombo().count(), 0);  // the machine's families
}

TEST(RadioGroup, IndexTextAndEnableByItem) {
    QWidget w;
    auto* lay = new QVBoxLayout(&w);
    auto* group = new TRadioGroup("Тип", &w);
    lay->addWidget(group);
    group->setItems({"1", "2", "3"});
    group->setColumns(3);
    ShowActive(w);
    QSignalSpy clicks(group, &TRadioGroup::itemClicked);

    EXPECT_EQ(group->itemIndex(), -1);
    group->setItemIndex(2);
    EXPECT_EQ(group->itemIndex(), 2);
    group->setItemIndex(-1);
    EXPECT_EQ(group->itemIndex(), -1);
    EXPECT_EQ(clicks.size(), 0);  // the program's choices are no clicks

    ClickIndicator(group->button(1));
    EXPECT_EQ(group->itemIndex(), 1);
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0].at(0).toInt(), 1);
    EXPECT_EQ(group->button(0)->y(), group->button(2)->y());  // three columns, one row

    group->setItemEnabled(2, false);
    ClickIndicator(group->button(2));
    EXPECT_EQ(group->itemIndex(), 1);
    EXPECT_FALSE(group->isItemEnabled(2));
    group->setEnabled(false);
    EXPECT_TRUE(group->isItemEnabled(0));  // the item's own state
    group->setEnabled(true);

    group->setItemText(0, "Равносторонний");
    EXPECT_EQ(group->itemText(0), "Равносторонний");
    EXPECT_EQ(group->itemText(7), "");
    group->setItems({"a", "b"});
    EXPECT_EQ(group->count(), 2);
    EXPECT_EQ(group->itemIndex(), -1);
    EXPECT_EQ(clicks.size(), 1);
}
