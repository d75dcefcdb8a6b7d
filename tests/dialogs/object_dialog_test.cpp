#include <gtest/gtest.h>

#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "dialog_test_util.h"
#include "sample_dialog.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

struct Session {
    FakeCore core;
    QPointer<SampleDialog> dlg;
    QWidget elsewhere;  // another window of the program
    QLineEdit* elsewhereEdit = new QLineEdit(&elsewhere);

    Session() {
        core.place = {120, 80, false};
        dlg = new SampleDialog(core);
        core.refill = [this] { dlg->VarToForm(core.work); };
        dlg->VarToForm(core.work);
        ShowActive(*dlg);
    }
    ~Session() { delete dlg; }

    // Commits and redraws since the last call.
    std::pair<int, int> taken() {
        std::pair<int, int> r{core.applies, core.repaints};
        core.applies = core.repaints = 0;
        return r;
    }
    void leaveTo(QWidget* w) { w->setFocus(); }
};

using Counts = std::pair<int, int>;

}  // namespace

// Filling never stores and never commits, whatever the controls showed; the
// commit's own refill commits nothing either.
TEST(ObjectDialog, FillingChangesNothing) {
    Session s;
    const SampleRec before = s.core.work;
    EXPECT_EQ(s.dlg->SpinRad->value(), 50);  // 50.5 shown rounded half to even
    SampleRec other{"B", 10, 7.5, 3, 4, 0x123456, "Arial", 2, 30};
    s.dlg->EditX->setFocus();
    s.dlg->VarToForm(other);
    s.dlg->VarToForm(before);
    EXPECT_EQ(s.core.work, before);  // the radius stays 50.5
    EXPECT_EQ(s.taken(), Counts(0, 0));
    EXPECT_EQ(s.dlg->FontName->fontName(), "MS Sans Serif");
    EXPECT_EQ(s.dlg->ColorCol->colorValue(), 0u);
    EXPECT_EQ(s.dlg->EditX->toolTip(), "0 пт  0 см  0 inch");
}

// Each rule, typed as a user types: the ID on every user edit without a
// redraw, focus-rule controls per key, combos and radio groups only while the
// focus is in them, nothing during a drag in the picture window.
TEST(ObjectDialog, FocusEnteredAndAlwaysRules) {
    Session s;
    TypeInto(s.dlg->EditID, "Pt");
    EXPECT_EQ(s.core.stored.name, "Pt");
    EXPECT_EQ(s.taken(), Counts(2, 0));

    TypeInto(s.dlg->EditX, "-12");  // "-" is fixed to "-0" at once, then "-01", "-012"
    EXPECT_EQ(s.dlg->EditX->text(), "-012");
    EXPECT_EQ(s.core.stored.x, -12);
    EXPECT_EQ(s.taken(), Counts(3, 3));
    EXPECT_EQ(s.dlg->EditX->toolTip(), "-9 пт  -0,318 см  -0,125 inch");

    s.core.noRedraw = true;
    TypeInto(s.dlg->EditX, "5");
    TypeInto(s.dlg->SpinRad, "7");
    EXPECT_EQ(s.core.work.x, -12);      // nothing without the rule
    EXPECT_EQ(s.core.work.radius, 7);   // stored first
    EXPECT_EQ(s.taken(), Counts(0, 0));
    s.core.noRedraw = false;

    TypeInto(s.dlg->SpinRad, "30");
    EXPECT_EQ(s.core.stored.radius, 30);
    EXPECT_EQ(s.taken(), Counts(2, 2));
    TypeInto(s.dlg->SpinRad, "");
    QTest::keyClick(s.dlg->SpinRad, Qt::Key_Backspace);
    EXPECT_EQ(s.core.stored.radius, 1);  // emptied: MinValue
    EXPECT_EQ(s.dlg->SpinRad->text(), "");
    EXPECT_EQ(s.taken(), Counts(1, 1));

    // A combo changed while the focus is elsewhere stores but does not commit.
    s.dlg->EditID->setFocus();
    emit s.dlg->ComboLayer->activated(4);
    EXPECT_EQ(s.core.work.layer, 5);
    EXPECT_EQ(s.taken(), Counts(0, 0));
    s.dlg->ComboLayer->setFocus();
    QTest::keyClick(s.dlg->ComboLayer, Qt::Key_Down);  // from the item the fill chose
    EXPECT_EQ(s.core.stored.layer, 2);
    s.dlg->ColorCol->setFocus();
    QTest::keyClick(s.dlg->ColorCol, Qt::Key_Down);
    EXPECT_EQ(s.core.stored.colorIndex, 1);
    EXPECT_EQ(s.core.stored.color, IndexToColor(1));
    EXPECT_EQ(s.taken(), Counts(2, 2));

    ClickIndicator(s.dlg->RadioTyp->button(2));
    EXPECT_TRUE(s.dlg->isEntered(s.dlg->RadioTyp));
    EXPECT_EQ(s.core.stored.type, 3);
    EXPECT_EQ(s.taken(), Counts(1, 1));

    // Another object made current refills a different name: no commit.
    SampleRec other = s.core.work;
    other.name = "Other";
    s.dlg->EditID->setFocus();
    s.dlg->VarToForm(other);
    EXPECT_EQ(s.dlg->EditID->text(), "Other");
    EXPECT_EQ(s.taken(), Counts(0, 0));
}

// The exit rule commits once when an edited field is left, by focus or by
// Return or by leaving the window, refuses what is not a number or not
// allowed, and Esc drops the edit.
TEST(ObjectDialog, ExitRule) {
    Session s;
    auto* ang = s.dlg->EditAng;
    TypeInto(ang, "45");
    EXPECT_EQ(s.taken(), Counts(0, 0));
    s.leaveTo(s.dlg->EditID);
    EXPECT_EQ(s.core.stored.angle, 45);
    EXPECT_EQ(s.taken(), Counts(1, 1));

    ang->setFocus();
    s.leaveTo(s.dlg->EditID);  // nothing typed
    EXPECT_EQ(s.taken(), Counts(0, 0));

    for (const char* refused : {"400", "1-2", "360"}) {
        TypeInto(ang, refused);
        s.leaveTo(s.dlg->EditID);
        EXPECT_EQ(ang->text(), "45") << refused;
        EXPECT_EQ(s.core.work.angle, 45) << refused;
    }
    EXPECT_EQ(s.taken(), Counts(0, 0));

    TypeInto(ang, "");
    QTest::keyClick(ang, Qt::Key_Backspace);
    QTest::keyClick(ang, Qt::Key_Return);  // emptied: 0, the focus stays
    EXPECT_EQ(ang->text(), "0");
    EXPECT_TRUE(ang->hasFocus());
    QTest::keyClick(ang, Qt::Key_Return);
    EXPECT_EQ(s.core.stored.angle, 0);
    EXPECT_EQ(s.taken(), Counts(1, 1));

    TypeInto(ang, "20");
    QTest::keyClick(ang, Qt::Key_Escape);
    EXPECT_EQ(ang->text(), "0");
    s.leaveTo(s.dlg->EditID);
    EXPECT_EQ(s.taken(), Counts(0, 0));

    // Leaving the window commits too; during a drag without the redraw.
    TypeInto(ang, "15");
    s.core.noRedraw = true;
    ShowActive(s.elsewhere);
    EXPECT_EQ(s.core.stored.angle, 15);
    EXPECT_EQ(s.taken(), Counts(1, 0));
    s.core.noRedraw = false;

    // Closing the dialog does not lose a pending edit.
    ShowActive(*s.dlg);
    TypeInto(ang, "-30");
    QSignalSpy closed(s.dlg.data(), &ObjectDialog::closed);
    s.dlg->close();
    EXPECT_EQ(s.core.stored.angle, -30);
    EXPECT_EQ(closed.size(), 1);
}

// Shared place and roll state: kept in the document, taken by the next
// dialog; the window menu's close does nothing, the close box frees the
// dialog, and a closed dialog no longer moves the shared place.
TEST(ObjectDialog, PlaceRollUpAndClose) {
    FakeCore core;
    core.place = {150, 90, false};
    QPointer<SampleDialog> a = new SampleDialog(core);
    EXPECT_EQ(a->pos(), QPoint(150, 90));
    EXPECT_EQ(a->size(), QSize(380, 431));
    a->show();
    a->move(200, 120);
    EXPECT_EQ(core.place.left, 200);
    EXPECT_EQ(core.place.top, 120);

    a->systemCommand(ObjectDialog::SysCommand::Minimize);
    EXPECT_EQ(a->height(), 1);
    EXPECT_TRUE(core.place.rolledUp);
    QPointer<SampleDialog> b = new SampleDialog(core);
    EXPECT_TRUE(b->rolledUp());
    EXPECT_EQ(b->height(), 1);
    EXPECT_EQ(b->pos(), QPoint(200, 120));
    b->toggleRollUp();
    EXPECT_EQ(b->height(), 433);  // the roll-down height
    EXPECT_EQ(b->body()->size(), QSize(380, 431));
    EXPECT_FALSE(core.place.rolledUp);
    delete b;

    a->systemCommand(ObjectDialog::SysCommand::Close);
    EXPECT_TRUE(a->isVisible());
    EXPECT_TRUE(a->isOpen());
    a->close();
    EXPECT_FALSE(a->isOpen());
    a->move(10, 10);
    EXPECT_EQ(core.place.left, 200);
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(a.isNull());  // freed on close

    // A place on no screen opens the dialog on the primary screen.
    core.place = {-50000, -50000, false};
    SampleDialog c(core);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(c.pos()));
}
