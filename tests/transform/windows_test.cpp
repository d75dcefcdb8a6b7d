#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdlib>
#include <functional>

#include "editing/editing_fixture.h"
#include "editing/undo_store.h"
#include "files/file_test_util.h"
#include "files/gif_frames.h"
#include "files/ui/spin_edit.h"
#include "files/ui/text_tip.h"
#include "model/geometry.h"
#include "model/recompute.h"
#include "model/transform.h"
#include "support/fake_redraw_host.h"
#include "support/find_child.h"
#include "support/key_rows.h"
#include "transform/anim_fixture.h"
#include "transform/trans_editing.h"
#include "transform/ui/anim_window.h"
#include "transform/ui/trans_window.h"

namespace pelmar {
namespace {

using test::ExpectAt;
using test::Find;

void Type(QWidget& w, const char* name, const std::string& text) {
    auto* e = Find<QLineEdit>(w, name);
    e->setFocus();
    e->selectAll();
    if (text.empty())
        QTest::keyClick(e, Qt::Key_Backspace);
    else
        QTest::keyClicks(e, QString::fromStdString(text));
}

// A check box reacts only on its box and text, so it is clicked on its box.
void Click(QWidget& w, const char* name) {
    auto* b = Find<QAbstractButton>(w, name);
    const QPoint at = qobject_cast<QCheckBox*>(b) ? QPoint(6, b->height() / 2) : b->rect().center();
    QTest::mouseClick(b, Qt::LeftButton, {}, at);
}

void Show(QWidget& w) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

// The document's objects and settings as written (the window layout that
// the undo store keeps apart is left out).
std::string TextFromInfo(const DProj& doc) {
    const std::string all = test::DocText(doc);
    return all.substr(all.find("<$Info>"));
}

// The animated document (point, ellipse, 2D system, sphere) with a triangle
// and a point linked to point 1; point 1 is current, the triangle and the
// sphere are selected.
void Populate(test::Editing& e) {
    *e.doc = *test::AnimatedDocument();
    DPoint linked = e.doc->Obj.Po[1];
    e.doc->Obj.Po[1].Number = 1;
    linked.Number = 2;
    linked.Y.v += 40;  // put where its link says below
    linked.Link.b[0] = 1;
    linked.Link.b[1] = 1;
    e.doc->Obj.Po.add(linked);
    DTri t;
    LoadDefaultTriangle(t, 1, e->Defaults);
    e.doc->Obj.Tr.add(t);
    RecomputeLinked(*e.doc);
    test::MakeCurrent(*e, Kind::po, 1);
    e->Copies.index(Kind::po) = 1;
    e->Copies.CurPoint = e.doc->Obj.Po[1];
    e->Sel[Slot(Kind::tr)][1] = true;
    e->Sel[Slot(Kind::sf)][1] = true;
}

// Each tab typed into the window and applied to each scope on the editing
// core: the objects in scope sit where the point primitive puts them, the
// others stay, the linked point follows, and Undo takes back exactly one step.
TEST(TransformationsWindow, EachTabOnEachScopeIsOneUndoStep) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    struct Tab {
        std::vector<std::pair<const char*, const char*>> edits;
        std::function<Vec3(Vec3)> primitive;
    };
    const std::vector<Tab> tabs = {
        {{{"EditPPx", "3"}, {"EditPPy", "12,5"}, {"EditPPz", "-7.25"}},
         [](Vec3 p) { MoveByVector(p.x, p.y, p.z, 3, 12.5, -7.25); return p; }},
        {{{"EditRox", "0"}, {"EditRoy", "250"}, {"EditRoz", "100"}, {"EditRonx", "0"}, {"EditRony", "1"},
          {"EditRonz", "1"}, {"EditRoA", "-10,5"}},
         [](Vec3 p) { RotateAroundAxis(p.x, p.y, p.z, 0, 250, 100, -10.5, 0, 1, 1); return p; }},
        {{{"EditGox", "5"}, {"EditGoy", "100,5"}, {"EditGoz", "50"}, {"EditGoK", "1.5"}},
         [](Vec3 p) { ScaleFromCentre(p.x, p.y, p.z, 5, 100.5, 50, 1.5); return p; }},
        {{{"EditS1x", "1"}, {"EditS1y", "250"}, {"EditS1z", "250"}},
         [](Vec3 p) { ReflectInCentre(p.x, p.y, p.z, 1, 250, 250); return p; }},
        {{{"EditS2x1", "0"}, {"EditS2y1", "250"}, {"EditS2z1", "0"}, {"EditS2x2", "0"}, {"EditS2y2", "0,5"},
          {"EditS2z2", "1"}},
         [](Vec3 p) { ReflectInAxis(p.x, p.y, p.z, 0, 250, 0, 0, 0.5, 1); return p; }},
        {{{"EditS3a", "0"}, {"EditS3b", "0"}, {"EditS3c", "1"}, {"EditS3d", "-250"}},
         [](Vec3 p) { ReflectInPlane(p.x, p.y, p.z, 0, 0, 1, -250); return p; }},
    };
    struct Scope {
        const char* box;
        bool point, others, selected;  // point 1; the ellipse; the triangle and sphere
    } scopes[] = {{"CheckBoxAlls", true, true, true}, {"CheckBoxCurr", true, false, false},
                  {"CheckBoxSell", false, false, true}};
    for (std::size_t t = 0; t < tabs.size(); ++t)
        for (const Scope& scope : scopes) {
            const std::string what = std::to_string(t + 1) + " " + scope.box;
            test::Editing e;
            Populate(e);
            const auto before = std::make_unique<DProj>(*e.doc);
            const std::string original = TextFromInfo(*e.doc);
            EditingTransHost host(*e);
            TFormTrans w;
            w.setDocument(e.doc.get(), &host);
            w.setSelectionAvailable(true);
            Show(w);
            w.PageControl1->setCurrentIndex(static_cast<int>(t));
            for (const auto& [name, text] : tabs[t].edits) Type(w, name, text);
            if (!Find<QCheckBox>(w, scope.box)->isChecked()) Click(w, scope.box);  // "Все" starts checked
            Click(w, "Button1");
            QCoreApplication::processEvents();

            EXPECT_TRUE(e.messages.shown.empty()) << what;
            EXPECT_EQ(e.redraw.count, 1) << what;
            EXPECT_TRUE(e->Changed) << what;
            auto expect = [&](bool in, Vec3 was) { return in ? tabs[t].primitive(was) : was; };
            ExpectAt(Pos(e.doc->Obj.Po[1]), expect(scope.point, Pos(before->Obj.Po[1])), what + " point");
            ExpectAt(Pos(e.doc->Obj.Po[2]), Pos(e.doc->Obj.Po[1]), what + " linked point");
            ExpectAt(Pos(e.doc->Obj.Ci[1].Center), expect(scope.others, Pos(before->Obj.Ci[1].Center)), what + " ellipse");
            for (std::size_t v = 1; v <= 3; ++v)
                ExpectAt(Pos(e.doc->Obj.Tr[1].S[v].P1), expect(scope.selected, Pos(before->Obj.Tr[1].S[v].P1)),
                         what + " vertex");
            ExpectAt(Pos(e.doc->Obj.Sf[1].Center), expect(scope.selected, Pos(before->Obj.Sf[1].Center)),
                     what + " sphere");
            ASSERT_TRUE(UndoStep(*e)) << what;
            EXPECT_EQ(TextFromInfo(*e.doc), original) << what;
            EXPECT_FALSE(UndoStep(*e)) << what << ": one step only";
        }
}

// The rules of the window: start values, the scope boxes exclude each other
// and may all be cleared, Apply with nothing to do takes no undo step, left
// edits are fixed, the controls wait for a document, minimise rolls up and
// the window cannot be closed.
TEST(TransformationsWindow, ScopeEditAndWindowRules) {
    test::Editing e;
    Populate(e);
    EditingTransHost host(*e);
    TFormTrans w;
    EXPECT_EQ(w.PageControl1->currentWidget()->objectName(), "TabSheet2");
    std::vector<QString> rotation;
    for (QLineEdit* ed : w.tabEdits(TransTab::Rotate)) rotation.push_back(ed->objectName() + "=" + ed->text());
    EXPECT_EQ(rotation, (std::vector<QString>{"EditRox=0", "EditRoy=250", "EditRoz=100", "EditRonx=1", "EditRony=0",
                                              "EditRonz=0", "EditRoA=-10"}));
    EXPECT_FALSE(w.Button1->isEnabled());
    // Without a document every edit waits, the rotation's normal too.
    for (const QLineEdit* ed : w.findChildren<QLineEdit*>()) EXPECT_FALSE(ed->isEnabled()) << ed->objectName().toStdString();
    w.setDocument(e.doc.get(), &host);
    EXPECT_TRUE(w.Button1->isEnabled());
    for (const QLineEdit* ed : w.findChildren<QLineEdit*>()) EXPECT_TRUE(ed->isEnabled()) << ed->objectName().toStdString();
    EXPECT_TRUE(w.CheckBoxAlls->isChecked());
    Show(w);
    const std::string original = TextFromInfo(*e.doc);
    ASSERT_FALSE(e->Changed);

    Click(w, "CheckBoxSell");
    EXPECT_FALSE(w.CheckBoxAlls->isChecked());
    EXPECT_TRUE(w.CheckBoxSell->isChecked());
    w.setSelectionAvailable(false);
    EXPECT_TRUE(w.CheckBoxCurr->isChecked()) << "the scope moves to the current object";
    w.setCurrentAvailable(false);
    EXPECT_TRUE(w.CheckBoxAlls->isChecked());
    w.setSelectionAvailable(true);
    Click(w, "CheckBoxSell");
    w.setSelectionAvailable(false);
    EXPECT_TRUE(w.CheckBoxAlls->isChecked()) << "not to an unavailable \"Текущий\"";
    Click(w, "CheckBoxAlls");
    EXPECT_FALSE(w.CheckBoxAlls->isChecked() || w.CheckBoxCurr->isChecked() || w.CheckBoxSell->isChecked());
    EXPECT_EQ(w.Button1Click(), TransOutcome::NoScope);
    EXPECT_FALSE(e->Changed);

    // Zero normal, and a number that is none: a message, nothing changes.
    Click(w, "CheckBoxAlls");
    for (const char* n : {"EditRonx", "EditRony", "EditRonz"}) Type(w, n, "0");
    Click(w, "Button1");
    w.PageControl1->setCurrentIndex(2);
    Type(w, "EditGoK", ",");
    Click(w, "Button1");
    EXPECT_EQ(e.messages.shown.size(), 2u);
    EXPECT_EQ(TextFromInfo(*e.doc), original);
    EXPECT_FALSE(e->Changed);
    EXPECT_FALSE(UndoStep(*e));

    // Typed key by key, the text stays as typed; Apply moves by what the
    // field shows once left (and is undone), and not at all for a text that
    // is no number.
    w.PageControl1->setCurrentIndex(0);
    const auto movedX = [&] {
        const double x = Pos(e.doc->Obj.Po[1]).x;
        w.Button1Click();
        const double moved = Pos(e.doc->Obj.Po[1]).x - x;
        UndoStep(*e);
        return moved;
    };
    for (const test::KeyRow& row : {test::KeyRow{"EditPPx", "5-3", {"5", "5-", "5-3"}, 0, "5-3", false, movedX},
                                    {"EditPPx", "53", {"5", "53"}, 53, "53", false, movedX},
                                    {"EditPPx", "\b-", {"", "-"}, 0, "-0", false, movedX}})
        test::PlayKeys(w, row);

    Type(w, "EditGoK", "");
    Type(w, "EditGox", "-");
    EXPECT_EQ(Find<QLineEdit>(w, "EditGoK")->text(), "0");
    Find<QLineEdit>(w, "EditGoy")->setFocus();
    EXPECT_EQ(Find<QLineEdit>(w, "EditGox")->text(), "-0");

    w.toggleRollUp();
    EXPECT_TRUE(w.rolledUp());
    EXPECT_EQ(w.height(), 1);
    w.setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(w.rolledUp());
    EXPECT_EQ(w.height(), TFormTrans::ClientHeight);
    EXPECT_FALSE(w.close());
    EXPECT_FALSE(w.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint)) << "no close box";
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(w.isVisible());
    w.setDocument(nullptr, nullptr);
    EXPECT_FALSE(w.Button1->isEnabled());

    // Words from a translation: composed captions, the tab buttons, "&" shown as written.
    w.WordsToTrans([](int n) { return "w" + std::to_string(n) + (n == 314 ? "&" : ""); });
    EXPECT_EQ(Find<QGroupBox>(w, "GroupBoxRo2")->title(), "w318 + w319");
    EXPECT_EQ(Find<QToolButton>(w, "TabButton6")->text(), "w324");
    EXPECT_EQ(w.Button1->text(), "w314&&");
}

// "-1/2" typed or pasted into the homothety factor stays as it is, with no
// tip, and Apply says it is no number; a translation past the range of
// coordinates names the object.  Neither moves anything or makes a step.
TEST(TransformationsWindow, TextAsTypedAndNothingCarriedPastTheRange) {
    test::Editing e;
    Populate(e);
    EditingTransHost host(*e);
    TFormTrans w;
    w.setDocument(e.doc.get(), &host);
    Show(w);
    const std::string original = TextFromInfo(*e.doc);
    w.PageControl1->setCurrentIndex(2);
    auto* k = Find<QLineEdit>(w, "EditGoK");
    const auto applyRefused = [&](const std::string& message) {
        Find<QLineEdit>(w, "EditGoy")->setFocus();
        Click(w, "Button1");
        ASSERT_FALSE(e.messages.shown.empty());
        EXPECT_EQ(e.messages.shown.back(), message);
        EXPECT_EQ(TextFromInfo(*e.doc), original);
        EXPECT_FALSE(e->Changed);
        EXPECT_FALSE(UndoStep(*e));
    };

    Type(w, "EditGoK", "-1/2");
    EXPECT_EQ(k->text(), "-1/2");
    EXPECT_TRUE(ShownTextTip().isEmpty()) << ShownTextTip().toStdString();
    applyRefused("Неверное число: \"-1/2\"");
    EXPECT_EQ(k->text(), "-1/2");

    Type(w, "EditGoK", "7");
    QApplication::clipboard()->setText(QStringLiteral("-1/2"));
    k->selectAll();
    QTest::keyClick(k, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(k->text(), "-1/2");
    applyRefused("Неверное число: \"-1/2\"");

    w.PageControl1->setCurrentIndex(0);
    Type(w, "EditPPx", "8E12");
    applyRefused("Объект «Точка №1» вышел бы за пределы координат от -1000000 до 1000000 пикселей. Объекты не изменены.");
    EXPECT_EQ(e.messages.shown.size(), 3u);
}

struct AnimRun {
    test::Scratch dir;
    std::unique_ptr<DProj> doc = test::AnimatedDocument();
    DrawingState drawing;
    FakeRedrawHost redraw;
    RedrawHost redrawHost{redraw};
    int commits = 0;
    std::vector<int> framesAtCommit;
    std::vector<std::string> messages;

    AnimWindowContext context(const std::string& name) {
        AnimWindowContext c;
        c.doc = doc.get();
        c.drawing = &drawing;
        c.redraw = &redrawHost;
        c.docPath = dir.path(name);
        c.commit = [this] {
            ++commits;
            framesAtCommit.push_back(doc->AnimFrames);
        };
        c.message = [this](const std::string& m) { messages.push_back(m); };
        return c;
    }
};

// A scripted session in the builder's window: settings typed into the
// document, a build written as a GIF with the frames asked for, a build
// cancelled from its progress leaving no file, the document unchanged by
// both, and closing after changes commits once.
TEST(AnimationWindow, BuildCancelAndClose) {
    QLocale::setDefault(QLocale(QLocale::C));
    AnimRun r;
    r.doc->AnimFrames = 4;
    TFormAnimation w(r.context("Drawing.pel"));
    Show(w);
    EXPECT_EQ(w.SpinEdit2->value(), 4);
    EXPECT_EQ(w.Label0->text().toStdString(), AnimStandBy);
    w.SpinEdit2->setFocus();
    w.SpinEdit2->selectAll();
    QTest::keyClicks(w.SpinEdit2, "2");
    EXPECT_EQ(r.doc->AnimFrames, 2);
    Type(w, "Edit2", "1");
    EXPECT_EQ(r.doc->AnimStart, "1");

    const std::string before = TextFromInfo(*r.doc);
    Click(w, "Button1");
    EXPECT_EQ(w.lastResult().outcome, AnimOutcome::Created);
    EXPECT_EQ(w.Label0->text().toStdString(), AnimDone);
    EXPECT_EQ(w.Label0->palette().color(QPalette::WindowText), QColor(0, 0x80, 0));
    EXPECT_EQ(w.Button2->text(), QString::fromUtf8("Закрыть"));
    EXPECT_TRUE(w.Button1->isEnabled());
    const std::string gif = r.dir.path("Drawing.pel.gif");
    const auto frames = test::DecodeGif(gif);
    ASSERT_TRUE(frames.ok);
    EXPECT_EQ(frames.frames.size(), 2u);
    EXPECT_EQ(TextFromInfo(*r.doc), before);

    // Cancel at the second frame: the running build sees the click.
    TFormAnimation c(r.context("Other.pel"));
    Show(c);
    c.SpinEdit2->setValue(6);
    int cancelledAt = 0;
    QObject::connect(c.ProgressBar1, &QProgressBar::valueChanged, [&](int v) {
        if (v == 2 && !cancelledAt) {
            cancelledAt = v;
            EXPECT_EQ(c.Button2->text(), QString::fromUtf8("Отмена"));
            EXPECT_FALSE(c.close()) << "no closing during a build";
            Click(c, "Button2");
        }
    });
    const std::string beforeCancel = TextFromInfo(*r.doc);
    Click(c, "Button1");
    EXPECT_EQ(cancelledAt, 2);
    EXPECT_EQ(c.lastResult().outcome, AnimOutcome::Cancelled);
    EXPECT_EQ(c.Label0->text().toStdString(), std::string(AnimNotDone) + " Отменено.");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(r.dir.path("Other.pel.gif"))));
    EXPECT_EQ(TextFromInfo(*r.doc), beforeCancel);

    // Closing: the first window's changes were kept by the second's show.
    EXPECT_TRUE(w.close());
    EXPECT_EQ(r.commits, 1);
    EXPECT_EQ(r.doc->AnimFrames, 6);
    EXPECT_EQ(r.framesAtCommit, std::vector<int>{4}) << "the undo step holds the settings as shown";
    c.SpinEdit2->setValue(2);  // back to what the window was shown with
    QTest::keyClick(&c, Qt::Key_Escape);
    EXPECT_FALSE(c.isVisible());
    EXPECT_EQ(r.commits, 1) << "no change since it was shown";
    // Words from a translation, the status texts among them.
    AnimWindowContext ctx = r.context("Drawing.pel");
    ctx.words = [](int n) { return "w" + std::to_string(n); };
    TFormAnimation t(ctx);
    t.FormShow();
    t.setStatus(std::string(AnimBuildingFrame) + " 3", AnimBlack);
    EXPECT_EQ(t.Label1->text() + t.Label0->text(), "w643w638 3");
}

// The two numbers stay within what a GIF can hold, typed key by key: a
// minus is refused, a key that would pass the bound too, and a frame count
// below 1 or a fraction is made whole and within the bounds on leaving, with
// a tip.  A document whose file held numbers beyond
// the bounds is shown them clamped and keeps its own until a build uses what
// is shown.  A build that cannot write its file says why.
TEST(AnimationWindow, NumbersWithinBoundsAndWhyNoGif) {
    QLocale::setDefault(QLocale(QLocale::C));
    AnimRun r;
    r.doc->AnimDelay = -50;
    r.doc->AnimFrames = -3;
    test::WriteBytes(r.dir.path("file"), "x");
    TFormAnimation w(r.context("file/Drawing.pel"));
    Show(w);
    EXPECT_EQ((w.SpinEdit1->text() + " " + w.SpinEdit2->text()).toStdString(), "0 1");
    EXPECT_EQ(std::make_pair(r.doc->AnimDelay, r.doc->AnimFrames), std::make_pair(-50, -3)) << "kept as read";
    Click(w, "Button1");
    EXPECT_EQ(std::make_pair(r.doc->AnimDelay, r.doc->AnimFrames), std::make_pair(0, 1)) << "built as shown";
    EXPECT_EQ(w.Label0->text().toStdString(), std::string(AnimNotDone) + " Файл не записан.");
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_NE(r.messages[0].find("Не могу записать файл " + r.dir.path("file/Drawing.pel.gif")), std::string::npos);
    EXPECT_NE(r.messages[0].find("Причина: часть пути не папка"), std::string::npos) << r.messages[0];

    const auto delay = [&] { return double(r.doc->AnimDelay); };
    const auto frames = [&] { return double(r.doc->AnimFrames); };
    const test::KeyRow rows[] = {
        {"SpinEdit1", "-50", {"0", "5", "50"}, 50, "50", false, delay},
        {"SpinEdit1", "999999", {"9", "99", "999", "9999", "99999", "99999"}, 99999, "99999", false, delay},
        {"SpinEdit1", "12,5", {"1", "12", "12,", "12,5"}, 12, "12", true, delay},
        {"SpinEdit2", "-3", {"1", "3"}, 3, "3", false, frames},
        {"SpinEdit2", "0", {"0"}, 1, "1", true, frames},
        {"SpinEdit2", "\b", {""}, 1, "1", true, frames},
    };
    for (const test::KeyRow& row : rows) test::PlayKeys(w, row);
}

}  // namespace
}  // namespace pelmar

namespace pelmar {
namespace {

// With PELMAR_TRANS_SHOT set (scripts/transform-shots.sh), both windows are
// shown on the screen and the screen is written to that file.
TEST(TransformWindowsShot, BothWindowsOnTheScreen) {
    const char* out = std::getenv("PELMAR_TRANS_SHOT");
    if (!out) GTEST_SKIP() << "only for the screenshot script";
    test::Editing e;
    Populate(e);
    EditingTransHost host(*e);
    TFormTrans t;
    t.setDocument(e.doc.get(), &host);
    t.move(20, 20);
    t.show();
    AnimRun r;
    TFormAnimation a(r.context("Drawing.pel"));
    a.move(440, 20);
    a.show();
    a.Button1Click();
    QTest::qWait(300);
    ASSERT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(out));
}

}  // namespace
}  // namespace pelmar
