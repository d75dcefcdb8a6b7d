#include <gtest/gtest.h>

#include <QPointer>
#include <QScreen>
#include <QRadioButton>
#include <QSignalSpy>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <fstream>

#include "dialog_test_util.h"
#include "dialogs/ui/anim_dialog.h"
#include "dialogs/ui/apply_all_dialog.h"
#include "dialogs/ui/fill_dialog.h"
#include "editing_fake.h"
#include "files/word_table.h"
#include "sample_dialog.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

using Counts = std::pair<int, int>;  // commits, redraws

struct Session {
    FakeCore core;
    QPointer<SampleDialog> dlg = new SampleDialog(core);
    QWidget elsewhere;  // another window of the program

    Session() {
        core.refill = [this] { dlg->VarToForm(core.work); };
        dlg->VarToForm(core.work);
        ShowActive(*dlg);
    }
    ~Session() { delete dlg; }
    Counts taken() {  // since the last call
        Counts r{core.applies, core.repaints};
        core.applies = core.repaints = 0;
        return r;
    }
};

}  // namespace

// A scripted session over the rules, typed as a user types: filling and the
// commit's own refill never store or commit; the ID commits on every user
// edit without a redraw; numbers key by key where taken as typed; combos and radio groups
// only while the focus is in them; nothing during a drag in the picture.
TEST(ObjectDialog, FocusEnteredAndAlwaysRules) {
    Session s;
    const SampleRec start = s.core.work;
    EXPECT_EQ(s.dlg->SpinRad->value(), 50);  // 50.5 shown rounded half to even
    s.dlg->EditX->setFocus();
    s.dlg->VarToForm({"B", 10, 7.5, 3, 2, 30});
    s.dlg->VarToForm(start);
    EXPECT_EQ(s.core.work, start);  // the radius stays 50.5
    EXPECT_EQ(s.taken(), Counts(0, 0));

    TypeInto(s.dlg->EditID, "Pt");
    EXPECT_EQ(s.core.stored.name, "Pt");
    EXPECT_EQ(s.taken(), Counts(2, 0));
    s.dlg->VarToForm({"Other"});  // another object made current
    EXPECT_EQ(s.taken(), Counts(0, 0));
    s.dlg->VarToForm(s.core.work);

    TypeInto(s.dlg->EditX, "-12");  // "-" is no number yet: "-1", then "-12"
    EXPECT_EQ(s.dlg->EditX->text(), "-12");
    EXPECT_EQ(s.core.stored.x, -12);
    EXPECT_EQ(s.taken(), Counts(2, 2));
    EXPECT_EQ(s.dlg->EditX->toolTip(), "-9 пт  -0,318 см  -0,125 inch");

    s.core.noRedraw = true;
    TypeInto(s.dlg->EditX, "5");
    TypeInto(s.dlg->SpinRad, "7");  // the number left is taken, without the redraw
    EXPECT_EQ(s.core.work.x, 5);
    EXPECT_EQ(s.core.work.radius, 50.5);  // nothing key by key during a drag
    EXPECT_EQ(s.taken(), Counts(1, 0));
    s.core.noRedraw = false;

    TypeInto(s.dlg->SpinRad, "30");
    QTest::keyClick(s.dlg->SpinRad, Qt::Key_Backspace);
    QTest::keyClick(s.dlg->SpinRad, Qt::Key_Backspace);
    EXPECT_EQ(s.core.stored.radius, 3);  // emptied: no number yet, and the text stays empty
    EXPECT_EQ(s.dlg->SpinRad->text(), "");
    EXPECT_EQ(s.taken(), Counts(3, 3));
    s.dlg->EditID->setFocus();  // left empty: MinValue
    EXPECT_EQ(s.core.stored.radius, 1);
    EXPECT_EQ(s.dlg->SpinRad->text(), "1");
    EXPECT_EQ(s.taken(), Counts(1, 1));

    s.dlg->EditID->setFocus();
    emit s.dlg->ComboLayer->activated(4);  // not entered: stored only
    EXPECT_EQ(s.core.work.layer, 5);
    EXPECT_EQ(s.taken(), Counts(0, 0));
    s.dlg->ComboLayer->setFocus();
    QTest::keyClick(s.dlg->ComboLayer, Qt::Key_Down);  // from the item the fill chose
    EXPECT_EQ(s.core.stored.layer, 2);
    ClickIndicator(s.dlg->RadioTyp->button(2));
    EXPECT_TRUE(s.dlg->isEntered(s.dlg->RadioTyp));
    EXPECT_EQ(s.core.stored.type, 3);
    EXPECT_EQ(s.taken(), Counts(2, 2));
}

// A number that reshapes commits once when an edited field is left, by focus, by
// Return, by leaving the window or closing the dialog; it refuses what is not
// a number or not allowed, and Esc drops the edit.
TEST(ObjectDialog, ExitRule) {
    Session s;
    auto* ang = s.dlg->EditAng;
    TypeInto(ang, "45");
    EXPECT_EQ(s.taken(), Counts(0, 0));
    s.dlg->EditID->setFocus();
    EXPECT_EQ(s.core.stored.angle, 45);
    EXPECT_EQ(s.taken(), Counts(1, 1));

    ang->setFocus();
    s.dlg->EditID->setFocus();  // nothing typed
    for (const char* refused : {"400", "-360", "360"}) {
        TypeInto(ang, refused);
        s.dlg->EditID->setFocus();
        EXPECT_EQ(ang->text(), "45") << refused;
    }
    TypeInto(ang, "20");
    QTest::keyClick(ang, Qt::Key_Escape);
    EXPECT_EQ(ang->text(), "45");
    s.dlg->EditID->setFocus();
    EXPECT_EQ(s.core.work.angle, 45);
    EXPECT_EQ(s.taken(), Counts(0, 0));

    TypeInto(ang, "");
    QTest::keyClick(ang, Qt::Key_Backspace);
    QTest::keyClick(ang, Qt::Key_Return);  // emptied: 0, the focus stays
    QTest::keyClick(ang, Qt::Key_Return);
    EXPECT_EQ(ang->text(), "0");
    EXPECT_TRUE(ang->hasFocus());
    EXPECT_EQ(s.taken(), Counts(1, 1));

    TypeInto(ang, "15");
    s.core.noRedraw = true;
    ShowActive(s.elsewhere);
    EXPECT_EQ(s.core.stored.angle, 15);
    EXPECT_EQ(s.taken(), Counts(1, 0));  // during a drag without the redraw
    s.core.noRedraw = false;

    ShowActive(*s.dlg);
    TypeInto(ang, "-30");
    QSignalSpy closed(s.dlg.data(), &ObjectDialog::closed);
    s.dlg->close();
    EXPECT_EQ(s.core.stored.angle, -30);
    EXPECT_EQ(closed.size(), 1);
}

// Shared place and roll state: kept in the document, taken by the next
// dialog; minimising rolls up; the window menu's close does nothing, the
// close box frees the dialog, and a closed dialog no longer moves the place.
TEST(ObjectDialog, PlaceRollUpAndClose) {
    FakeCore core;
    core.place = {150, 90, false};
    QPointer<SampleDialog> a = new SampleDialog(core);
    EXPECT_EQ(a->geometry(), QRect(150, 90, 380, 431));
    EXPECT_EQ(a->windowFlags() & (Qt::WindowType_Mask | Qt::WindowStaysOnTopHint), Qt::Tool | Qt::WindowStaysOnTopHint);
    a->show();
    a->move(200, 120);
    a->systemCommand(ObjectDialog::SysCommand::Minimize);
    EXPECT_EQ(a->height(), 1);
    EXPECT_EQ((std::tuple{core.place.left, core.place.top, core.place.rolledUp}), std::tuple(200, 120, true));

    auto* b = new SampleDialog(core);
    EXPECT_EQ(b->geometry(), QRect(200, 120, 380, 1));
    b->toggleRollUp();
    EXPECT_EQ(b->height(), 433);  // the roll-down height
    EXPECT_EQ(b->body()->size(), QSize(380, 431));
    b->show();
    b->setWindowState(Qt::WindowMinimized);
    QCoreApplication::processEvents();
    EXPECT_FALSE(b->isMinimized());
    EXPECT_TRUE(b->rolledUp() && core.place.rolledUp);
    delete b;

    a->systemCommand(ObjectDialog::SysCommand::Close);
    EXPECT_TRUE(a->isVisible() && a->isOpen());
    a->close();
    EXPECT_FALSE(a->isOpen());
    a->move(10, 10);
    EXPECT_EQ(core.place.left, 200);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(a.isNull());  // freed on close

    core.place = {-50000, -50000, false};  // on no screen: the primary screen
    SampleDialog c(core);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(c.pos()));
}

// A translation whose word line N reads "wN": after the language change the
// open dialogs, and every dialog made afterwards, show no built-in Russian
// text; only the fixed texts that the word table leaves out stay.
TEST(DialogWords, EveryTextComesFromTheTable) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("Marked.trs").toStdString();
    std::string lines = "<Pelmar Translate>\n6.0f\nMarked\nmrk\n";
    for (int n = FirstWordLine; n <= LastWordLine; ++n) lines += "w" + std::to_string(n) + "\n";
    std::ofstream(path) << lines;
    WordTable marked;
    ASSERT_TRUE(marked.LoadWords(path));

    FakeEditing ed;
    std::vector<QWidget*> windows;
    for (Kind k : {Kind::po, Kind::li, Kind::ci}) windows.push_back(ed.reg.open(k));
    ed.table = &marked;
    ed.reg.WordsToOpenDialogs();
    struct NoHost : ColorChooser, MessageSink {
        std::optional<TColor> chooseColor(TColor) override { return std::nullopt; }
        void showMessage(const std::string&) override {}
    } host;
    WorkingCopies& c = ed.work;
    auto* fill = new TFormBrush(&c.CurCircle.Fill, false, ed, host, host, marked);
    fill->FormShow();
    std::vector<std::unique_ptr<QWidget>> own;
    for (QWidget* x : std::vector<QWidget*>{
             NewFormPoOpt(marked, nullptr), NewFormLiOpt(marked, nullptr), NewFormCiOpt(marked, nullptr),
             NewFormAnimPo(c.CurPoint, marked, ed, nullptr), NewFormAnimCi(c.CurCircle, marked, ed, nullptr),
             NewFormAnimX1(c, 3, marked, nullptr), NewFormAnimX2(c, 11, marked, nullptr),
             NewFormAnimX3(c, 5, marked, ed, nullptr), NewFormAnimZK(c, 1, marked, ed, nullptr), fill}) {
        own.emplace_back(x);
        windows.push_back(x);
    }

    const QRegularExpression cyrillic("[\\x{0400}-\\x{04FF}]");
    const QStringList fixed = {QString::fromUtf8("Точка №3"), QString::fromUtf8("Точка №4")};
    const QStringList uncaptioned = {"LabelPPath", "LabelLPath", "LabelCPath", "CheckBoxP3", "CheckBoxP4",
                                     "Panel1",     "Panel2",     "Panel3"};  // the fill colours
    for (QWidget* w : windows) {
        QStringList texts{w->windowTitle()};
        for (auto* x : w->findChildren<QWidget*>()) {
            const auto* l = qobject_cast<QLabel*>(x);
            const auto* b = qobject_cast<QAbstractButton*>(x);
            const auto* g = qobject_cast<QGroupBox*>(x);
            const QString shown = l ? l->text() : b ? b->text() : g ? g->title() : "-";
            // No word left out: every control that shows a caption has one.
            EXPECT_TRUE(!shown.isEmpty() || !x->isVisibleTo(w) || uncaptioned.contains(x->objectName()))
                << w->objectName().toStdString() << "/" << x->objectName().toStdString();
            texts << shown << x->toolTip();
            if (auto* cb = qobject_cast<QComboBox*>(x))
                for (int i = 0; i < cb->count(); ++i) texts << cb->itemText(i);
        }
        for (const QString& t : texts)
            EXPECT_TRUE(!t.contains(cyrillic) || fixed.contains(t)) << w->objectName().toStdString() << ": " << t.toStdString();
    }

    // Texts joined from several lines and literals.
    EXPECT_EQ(windows[7]->findChild<QLabel*>("Label4")->text(), "w653, w6511=");
    EXPECT_EQ(windows[9]->findChild<QLabel*>("LabelA")->text(), "w315, Z=");
    EXPECT_EQ(windows[11]->windowTitle(), "w637: \"w40\"");
    EXPECT_EQ(ed.undoSteps, 0);
}
