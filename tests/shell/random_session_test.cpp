// The whole program under random input for a fixed seed: a new project with
// objects of every kind, then a restless user's actions - numbers of every
// sort typed into every field of every object dialog and window, clicks on
// buttons, boxes, lists and tabs, Undo and Redo, new objects, drags in the
// picture window - with the modal windows they open driven the same way and
// left with Enter or Escape.  After every action two properties hold: the
// file text changed exactly when one undo step was taken and the document
// marked changed, and one Undo gives the text back (Redo then gives the
// change again), and the document read back from its text saves the same
// bytes.  Every 100 steps it is also saved through the menus, opened and
// saved again: the same bytes.
// A watchdog turns a hang or runaway memory
// into a failure naming the seed and the last actions.
// PELMAR_FUZZ_SEED and PELMAR_FUZZ_STEPS pick another seed or length;
// PELMAR_FUZZ_TRACE=1 prints every action as it is done; PELMAR_FUZZ_DUMP=dir
// keeps the two texts of a document that reads back otherwise there.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <fstream>
#include <mutex>
#include <random>
#include <thread>
#include <unistd.h>

#include "editing/ui/picture_window.h"
#include "files/companion.h"
#include "files/document.h"
#include "shell/picture_settings.h"
#include "transform/ui/trans_window.h"
#include "window_session.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

using namespace pelmar;
using namespace pelmar::test;

namespace {

constexpr std::uint32_t FixedSeed = 49001;
constexpr int FixedSteps = 300;
// A step running longer than this, or the process grown past this, is a hang.
constexpr auto StepLimit = std::chrono::seconds(40);
constexpr long MemoryLimitMb = 3000;

std::uint32_t EnvNumber(const char* name, std::uint32_t fallback) {
    const char* v = std::getenv(name);
    return v && *v ? static_cast<std::uint32_t>(std::strtoul(v, nullptr, 10)) : fallback;
}

void Say(const std::string& text) { (void)!write(2, text.data(), text.size()); }

// The seed, the step and the last 40 actions, for the test, the watchdog and
// the sanitizers' last words.
class ActionLog {
public:
    std::uint32_t seed = 0;
    std::atomic<int> step{0};
    bool trace = false;
    void add(const std::string& what) {
        std::lock_guard lock(m_);
        last_.push_back("step " + std::to_string(step.load()) + ": " + what);
        if (trace) {
            using namespace std::chrono;
            Say(std::to_string(duration_cast<milliseconds>(steady_clock::now() - begun_).count()) + " ms, " +
                last_.back() + "\n");
        }
        if (last_.size() > 40) last_.pop_front();
    }
    std::string text() {
        std::lock_guard lock(m_);
        std::string t = "seed " + std::to_string(seed) + " (PELMAR_FUZZ_SEED), step " + std::to_string(step.load()) +
                        "; the last actions:\n";
        for (const std::string& s : last_) t += "  " + s + "\n";
        return t;
    }

private:
    std::mutex m_;
    std::deque<std::string> last_;
    std::chrono::steady_clock::time_point begun_ = std::chrono::steady_clock::now();
} Log;

void PrintLog() { Say("\n*** random session: " + Log.text()); }

long ResidentMb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024) / 1024;
}

std::int64_t Now() { return std::chrono::steady_clock::now().time_since_epoch().count(); }

// Ends the process, after saying where, when no beat came for a step's time
// or the memory runs away.
void Watch(const std::stop_token& stop, const std::atomic<std::int64_t>& beat) {
    std::mutex m;
    std::condition_variable_any cv;
    std::unique_lock lock(m);
    while (!cv.wait_for(lock, stop, std::chrono::milliseconds(200), [&] { return stop.stop_requested(); })) {
        const bool hang = std::chrono::steady_clock::duration(Now() - beat.load()) > StepLimit;
        if (const long mb = ResidentMb(); hang || mb > MemoryLimitMb) {
            Say(std::string("\n*** random session: ") +
                (hang ? "a step ran longer than the limit (a hang)" : "the memory grew past " + std::to_string(mb) + " MB") +
                "\n");
            PrintLog();
            std::abort();
        }
    }
}

// The focused control of an object dialog is stored as its number in the
// dialog's list, 0 for one outside it, and a dialog opened again focuses its
// first control: the second file takes that line's 0 from the first, and its
// stamp (the hash of the lines before it) follows.
void KeepUnlistedFocus(const std::string& first, std::string& second) {
    auto focusLine = [](const std::string& s) -> std::pair<std::size_t, std::size_t> {
        std::size_t at = s.find("<$Forms State and Scale>");
        for (int line = 0; line < 7 && at != std::string::npos; ++line)
            if ((at = s.find('\n', at)) != std::string::npos) ++at;
        const std::size_t end = at == std::string::npos ? at : s.find('\r', at);
        return {at, end == std::string::npos ? 0 : end - at};
    };
    const auto [a, an] = focusLine(first);
    const auto [b, bn] = focusLine(second);
    if (a == std::string::npos || b == std::string::npos || first.compare(a, an, "0") != 0 ||
        second.compare(b, bn, "0") == 0)
        return;
    second.replace(b, bn, "0");
    const std::string stamp = LastLineStamp(second);
    if (stamp.empty()) return;
    const std::size_t stampAt = second.rfind(StampLine(stamp));
    second.replace(stampAt, StampLine(stamp).size(), StampLine(SaveStamp(std::string_view(second).substr(0, stampAt))));
}

// Where two files first part, as a user comparing them would say it: the
// line, its place after the last block header, and both texts of it.
std::string FirstDifference(const std::string& a, const std::string& b) {
    const auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
    const std::size_t start = std::string_view(a).substr(0, static_cast<std::size_t>(at)).rfind('\n') + 1;  // npos + 1 = 0
    const std::size_t header = a.rfind("\n<", start);
    const std::size_t blockAt = header == std::string::npos ? 0 : header + 1;
    auto lineOf = [&](const std::string& s, std::size_t from) { return s.substr(from, s.find('\n', from) - from); };
    return "from line " + std::to_string(1 + std::count(a.begin(), a.begin() + at, '\n')) + " (line " +
           std::to_string(std::count(a.begin() + static_cast<std::ptrdiff_t>(blockAt), a.begin() + static_cast<std::ptrdiff_t>(start), '\n')) +
           " after " + (header == std::string::npos ? "" : a.substr(blockAt, a.find('\r', header) - blockAt)) +
           "):\nfirst:  " + lineOf(a, start) + "\nsecond: " + lineOf(b, start) + "\n";
}

// What a user types into a field: plausible numbers, both decimal marks,
// signs, exponents, numbers far too big, fractions, empty text, and formulas
// and words (some fields take them).
std::string RandomText(std::mt19937& rng) {
    static const char* const Odd[] = {
        "",           "-",           ",",     ".",      "-1/2",    "1/2",     "3000000000", "1E12",
        "1e300",      "-1E300",      "8E12",  "1000000000000",       "1E-300",  "0",        "-0",
        "00012",      "1e",          "+5",    "2147483648",          "-2147483649",         "999999999999999999999",
        "0,0001",     "1,5E3",       "nan",   "inf",    "sin(x)",  "x^2/4",   "t",          "1/x",
        "x*x-3",      "sqrt(x)",     "Point", "P 5",    "(",       "x^1000",  "abc"};
    switch (rng() % 6) {
    case 0:
    case 1: return std::to_string(static_cast<int>(rng() % 400));
    case 2: return "-" + std::to_string(static_cast<int>(rng() % 300));
    case 3: {
        const char mark = rng() % 2 ? ',' : '.';
        return std::to_string(static_cast<int>(rng() % 200) - 50) + mark + std::to_string(rng() % 1000);
    }
    default: return Odd[rng() % std::size(Odd)];
    }
}

bool Ours(const QWidget* c) {
    const QString n = c->objectName();
    return !n.isEmpty() && !n.startsWith(QLatin1String("qt_"));
}

// Left alone: building a whole animation takes minutes under the sanitizers,
// and help would start a browser.
bool LeftAlone(const QWidget* c) {
    const QString n = c->objectName();
    return n.contains(QLatin1String("Help")) ||
           (c->window()->objectName() == QLatin1String("FormAnim") && n == QLatin1String("Button1"));
}

std::string Name(const QWidget* c) {
    return c->window()->objectName().toStdString() + "/" + c->objectName().toStdString();
}

void Settle() { QApplication::processEvents(); }

// The session answers the main window's questions and file dialogs from its
// random stream and its save plan.
class RandomSession : public QObject, FileQuestions {
public:
    RandomSession(std::uint32_t seed, int steps) : steps_(steps), rng_(seed) {
        Log.seed = seed;
        Log.trace = EnvNumber("PELMAR_FUZZ_TRACE", 0) != 0;
        std::fprintf(stderr, "random session: seed %u, %d steps\n", seed, steps);
        qApp->installEventFilter(this);
    }
    ~RandomSession() override { qApp->removeEventFilter(this); }

    void run() {
        app_ = std::make_unique<Application>(
            Application::Folders{dir_.folder("prog"), {WindowSession::shipped()}, dir_.folder("Documents")});
        w_ = StartMainWindow(*app_, *this, printer_, exporter_);
        Settle();
        watchdog_ = std::jthread([this](const std::stop_token& stop) { Watch(stop, beat_); });
        menu(MainCommand::New);
        ASSERT_GT(w_->objectCombo()->count(), KindCount - 1) << Log.text();
        for (int step = 1; step <= steps_ && !testing::Test::HasFailure(); ++step) {
            Log.step = step;
            beat_ = Now();
            if (step % 100 == 0) {
                saveTwice(step);
                continue;
            }
            topAction();
            Settle();
            readBack();
        }
        if (!testing::Test::HasFailure()) saveTwice(steps_ + 1);
        std::fprintf(stderr, "random session: %d keys typed\n", keys_);
        EXPECT_FALSE(testing::Test::HasFailure()) << Log.text();
        watchdog_ = {};
        w_->close();
        w_.reset();
    }

private:
    int pick(int n) { return n <= 0 ? 0 : static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    bool chance(int percent) { return pick(100) < percent; }
    template <class List>
    auto& any(List& list) {
        return list[static_cast<std::size_t>(pick(static_cast<int>(std::size(list))))];
    }

    static std::string CommandName(MainCommand c) {
        const CommandInfo& info = InfoOf(c);
        return info.menu ? info.menu : info.tool ? info.tool : "?";
    }
    // The menu item, or the tool button of a command the menu lacks.
    QAction* action(MainCommand c) const { return w_->menuAction(c) ? w_->menuAction(c) : w_->toolAction(c); }
    void menu(MainCommand c) {
        if (!w_->commandEnabled(c)) return;
        if (c == MainCommand::Undo || c == MainCommand::Redo) undone_ = true;
        Log.add("menu " + CommandName(c));
        action(c)->trigger();
        Settle();
    }

    // The windows outside the modal ones: the object dialogs shown and the
    // transformations window.
    std::vector<QWidget*> openWindows() {
        std::vector<QWidget*> out;
        for (int k = 1; k <= KindCount; ++k)
            if (QWidget* d = w_->dialogSession().registry().dialog(static_cast<Kind>(k)); d && d->isVisible())
                out.push_back(d);
        if (auto* trans = w_->findChild<TFormTrans*>(QStringLiteral("FormTrans")); trans && trans->isVisible())
            out.push_back(trans);
        return out;
    }

    // One thing done outside any modal window.
    void topAction() {
        const int r = pick(100);
        if (r < 55) {
            if (std::vector<QWidget*> windows = openWindows(); !windows.empty()) return controlAction(any(windows));
        }
        if (r < 63) return unit([&] { chooseObject(); });
        if (r < 73) return undoRedo();
        if (r < 80) return unit([&] { drag(); });
        if (r < 86) return unit([&] { menu(NewObjectCommand(static_cast<Kind>(1 + pick(KindCount)))); });
        static const MainCommand Other[] = {MainCommand::OptProj, MainCommand::WinTrans, MainCommand::Anim,
                                            MainCommand::Copy,    MainCommand::Paste,    MainCommand::Delete,
                                            MainCommand::ToLi,    MainCommand::ToCi,     MainCommand::ToTr,
                                            MainCommand::ToKv,    MainCommand::ToXZ,     MainCommand::ToSf};
        unit([&] { menu(any(Other)); });
    }

    void chooseObject() {
        QComboBox* combo = w_->objectCombo();
        if (!combo->isEnabled() || combo->count() == 0) return;
        const int i = pick(combo->count());
        Log.add("object list: " + combo->itemText(i).toStdString());
        combo->setCurrentIndex(i);
        emit combo->activated(i);
        Settle();
    }

    // Undo or Redo from the menu, the tool bar, or Ctrl+Z in a dialog.
    void undoRedo() {
        const MainCommand c = chance(60) ? MainCommand::Undo : MainCommand::Redo;
        if (!w_->commandEnabled(c)) return;
        undone_ = true;
        std::vector<QWidget*> windows = openWindows();
        if (c == MainCommand::Undo && !windows.empty() && chance(30)) return ctrlZ(any(windows));
        if (chance(50)) return menu(c);
        auto* bar = w_->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
        QWidget* button = bar ? bar->widgetForAction(w_->toolAction(c)) : nullptr;
        if (!button || !button->isVisible()) return menu(c);
        Log.add("tool " + CommandName(c));
        QTest::mouseClick(button, Qt::LeftButton);
        Settle();
    }

    void ctrlZ(QWidget* window) {
        undone_ = true;
        Log.add("Ctrl+Z in " + window->objectName().toStdString());
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        Settle();
    }

    // A drag in the picture window with one of its tools, now and then with
    // Undo or Redo while the button is held.
    void drag() {
        PictureWindow* pic = w_->picture();
        if (!pic || !pic->isVisible()) return;
        static const char* const Tools[] = {"TBLine", "TBAdds", "TBSell", "TBEdit", "TBEdit"};
        static const char* const Kinds[] = {"TBPo", "TBLi", "TBCi", "TBTr", "TBKv", "TBXY"};
        auto use = [&](const char* name) {
            if (QAction* a = pic->toolButton(name); a && a->isEnabled()) a->trigger();
            return std::string(" ") + name;
        };
        const char* tool = any(Tools);
        std::string what = "drag with" + use(tool);
        if (std::string_view(tool) == "TBAdds") what += use(any(Kinds));
        QWidget* box = pic->paintBox();
        auto at = [&] { return QPoint(pick(std::max(1, box->width())), pick(std::max(1, box->height()))); };
        auto where = [](QPoint p) { return std::to_string(p.x()) + "," + std::to_string(p.y()); };
        QPoint p = at();
        Log.add(what + " from " + where(p));
        QTest::mousePress(box, Qt::LeftButton, {}, p);
        Settle();
        for (int i = 0, moves = 1 + pick(4); i < moves; ++i) {
            p = chance(20) ? at() : p + QPoint(pick(61) - 30, pick(61) - 30);
            QMouseEvent move(QEvent::MouseMove, QPointF(p), box->mapToGlobal(QPointF(p)), Qt::NoButton,
                             Qt::LeftButton, {});
            QApplication::sendEvent(box, &move);
            Settle();
            if (chance(4)) {
                const MainCommand c = chance(70) ? MainCommand::Undo : MainCommand::Redo;
                if (w_->commandEnabled(c)) {
                    undone_ = true;
                    Log.add("  with the button held: " + CommandName(c));
                    action(c)->trigger();
                    Settle();
                }
            }
        }
        Log.add("  released at " + where(p));
        QTest::mouseRelease(box, Qt::LeftButton, {}, p);
        Settle();
    }

    // One action on a control of the window: a few fields typed into in a
    // row, a click on a button or box, a list stepped with the keys, a tab.
    void controlAction(QWidget* window) {
        std::vector<QWidget*> fields, buttons, combos;
        std::vector<QTabBar*> tabs;
        for (QWidget* c : window->findChildren<QWidget*>()) {
            if (!c->isVisible() || !c->isEnabled()) continue;
            if (auto* bar = qobject_cast<QTabBar*>(c);
                bar && qobject_cast<QTabWidget*>(c->parentWidget()) && Ours(c->parentWidget()))
                tabs.push_back(bar);
            if (!Ours(c) || LeftAlone(c)) continue;
            auto* e = qobject_cast<QLineEdit*>(c);
            auto* s = qobject_cast<QAbstractSpinBox*>(c);
            if ((e && !e->isReadOnly()) || (s && !s->isReadOnly())) fields.push_back(c);
            else if (qobject_cast<QComboBox*>(c)) combos.push_back(c);
            else if (qobject_cast<QAbstractButton*>(c)) buttons.push_back(c);
        }
        if (QApplication::activeWindow() != window) {
            window->activateWindow();
            Settle();
        }
        const int r = pick(100);
        if (r < 60 && !fields.empty()) {
            QPointer<QWidget> alive(window);
            const std::vector<QPointer<QWidget>> live(fields.begin(), fields.end());
            for (int i = 0, count = 1 + pick(4); i < count && alive && alive->isVisible() && !testing::Test::HasFailure(); ++i) {
                const QPointer<QWidget>& field = any(live);
                if (!field || !field->isVisible() || !field->isEnabled()) break;
                unit([&] { type(field); });
            }
            return;
        }
        if (r < 85 && !buttons.empty()) return unit([&] { click(any(buttons)); });
        if (r < 93 && !combos.empty()) return step(static_cast<QComboBox*>(any(combos)));
        if (tabs.empty()) return;
        QTabBar* bar = any(tabs);
        const int i = pick(bar->count());
        if (!bar->isTabEnabled(i)) return;
        unit([&] {
            Log.add("tab " + std::to_string(i) + " of " + Name(bar->parentWidget()));
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
            Settle();
        });
    }

    // Random text typed over the selection, at the end or at the cursor, then
    // a key that leaves, commits, edits or steps the field, or none.
    void type(QWidget* field) {
        const std::string text = RandomText(rng_);
        field->setFocus(Qt::TabFocusReason);
        Settle();
        if (!field->isVisible() || !field->isEnabled()) return;
        if (const int how = pick(10); how < 8) {
            if (auto* e = qobject_cast<QLineEdit*>(field)) e->selectAll();
            if (auto* s = qobject_cast<QAbstractSpinBox*>(field)) s->selectAll();
        } else if (how == 8) {
            QTest::keyClick(field, Qt::Key_End);
        }
        static const std::pair<const char*, Qt::Key> Ends[] = {
            {"Tab", Qt::Key_Tab}, {"Enter", Qt::Key_Return}, {"", Qt::Key_unknown},      {"Backspace", Qt::Key_Backspace},
            {"Up", Qt::Key_Up},   {"Down", Qt::Key_Down},    {"Escape", Qt::Key_Escape}};
        const auto& [end, key] = any(Ends);
        Log.add("type \"" + text + "\" then " + end + " into " + Name(field));
        QPointer<QWidget> alive(field);
        QTest::keyClicks(field, QString::fromStdString(text));
        keys_ += static_cast<int>(QString::fromStdString(text).size()) + (*end ? 1 : 0);
        Settle();
        if (!alive || !alive->isVisible()) return;
        if (key != Qt::Key_unknown) QTest::keyClick(field, key);
        Settle();
    }

    void click(QWidget* button) {
        Log.add("click " + Name(button));
        button->setFocus(Qt::MouseFocusReason);
        const bool box = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
        QTest::mouseClick(button, Qt::LeftButton, {}, box ? QPoint(8, button->height() / 2) : button->rect().center());
        Settle();
    }

    void step(QComboBox* combo) {
        const bool down = chance(60);
        const int times = 1 + pick(3);
        Log.add(std::string("list ") + (down ? "Down" : "Up") + " x" + std::to_string(times) + " in " + Name(combo));
        QPointer<QComboBox> alive(combo);
        // Each key chooses another item: an action of its own.
        for (int i = 0; i < times && alive && alive->isVisible() && alive->isEnabled(); ++i)
            unit([&] {
                combo->setFocus(Qt::TabFocusReason);
                QTest::keyClick(combo, down ? Qt::Key_Down : Qt::Key_Up);
                ++keys_;
                Settle();
            });
    }

    // A modal window shown: driven once its own event loop runs.
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && o->isWidgetType()) {
            auto* w = static_cast<QWidget*>(o);
            if (w->isWindow() && w->isModal())
                QTimer::singleShot(0, this, [this, p = QPointer<QWidget>(w)] {
                    if (p && p->isVisible()) driveModal(p);
                });
        }
        return false;
    }

    // A few actions in a modal window of ours, then Enter or Escape (a message
    // or standard dialog: Escape at once); one Escape cannot close (the
    // animation rows take only Ok) takes Enter, and one still open is closed.
    void driveModal(QPointer<QWidget> modal) {
        ++depth_;
        beat_ = Now();
        const bool ours = Ours(modal) && !modal->inherits("QMessageBox") && !modal->inherits("QFileDialog") &&
                          !modal->inherits("QColorDialog") && !modal->inherits("QProgressDialog");
        const std::string name = modal->objectName().toStdString();
        Log.add(std::string("modal ") + modal->metaObject()->className() + " " + name);
        for (int i = 0, actions = ours && depth_ <= 3 ? pick(12) : 0;
             i < actions && modal && modal->isVisible() && !testing::Test::HasFailure(); ++i) {
            beat_ = Now();
            if (QApplication::activeModalWidget() != modal) break;
            controlAction(modal);
            if (chance(5) && modal && modal->isVisible()) ctrlZ(modal);
        }
        if (modal && modal->isVisible() && QApplication::activeModalWidget() == modal) {
            const bool enter = ours && chance(60);
            Log.add(std::string(enter ? "Enter" : "Escape") + " in " + name);
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus && modal->isAncestorOf(focus) ? focus : modal.data(),
                            enter ? Qt::Key_Return : Qt::Key_Escape);
            Settle();
        }
        if (modal && modal->isVisible()) {
            Log.add("Enter in " + name);
            QTest::keyClick(modal, Qt::Key_Return);
            Settle();
        }
        if (modal && modal->isVisible()) {
            Log.add("closed " + name);
            if (auto* d = qobject_cast<QDialog*>(modal.data())) d->done(QDialog::Rejected);
            else modal->close();
            Settle();
        }
        --depth_;
    }

    EditingState& st() { return w_->editing(); }
    // What the document's file holds, where the windows stand aside.
    std::string Content() {
        app_->edited().ensureStored();
        return DocumentContentText(w_->document());
    }

    // One action outside the modal windows (a field typed into and left, a
    // click, a drag, a command with the modal session it opens), checked by
    // checkStep unless it had Undo or Redo in it.
    template <class F>
    void unit(F&& act) {
        if (depth_ > 0 || inUnit_ || testing::Test::HasFailure()) return act();
        inUnit_ = true;
        const std::string before = Content();
        const int pos = st().UndoPos;
        undone_ = false;
        act();
        // A field typed into is left, as the next action would leave it.
        if (QWidget* f = QApplication::focusWidget()) f->clearFocus();
        Settle();
        inUnit_ = false;
        if (!undone_) checkStep(before, pos);
    }

    // The action changed the file text exactly when it took one undo step
    // and marked the document changed; one Undo gives the text back, and
    // Redo the change.
    void checkStep(const std::string& before, int pos) {
        const std::string after = Content();
        const bool changed = after != before;
        const int steps = st().UndoPos - pos;
        if (steps != (changed ? 1 : 0) || (changed && !st().Changed)) {
            ADD_FAILURE() << "the file text " << (changed ? "changed" : "stayed") << ", with " << steps
                          << " undo steps taken and the document " << (st().Changed ? "" : "not ")
                          << "marked changed" << (changed ? ", " + FirstDifference(before, after) : "\n") << Log.text();
            return;
        }
        if (!changed || !w_->commandEnabled(MainCommand::Undo)) return;
        Log.add("check: Undo");
        action(MainCommand::Undo)->trigger();
        Settle();
        if (const std::string undone = Content(); undone != before) {
            ADD_FAILURE() << "one Undo does not give the text back, " << FirstDifference(before, undone) << Log.text();
            return;
        }
        Log.add("check: Redo");
        action(MainCommand::Redo)->trigger();
        Settle();
        if (const std::string redone = Content(); redone != after)
            ADD_FAILURE() << "Redo does not give the change back, " << FirstDifference(after, redone) << Log.text();
    }

    // The document saved, read back and saved again: the same bytes.
    void readBack() {
        if (testing::Test::HasFailure()) return;
        app_->edited().ensureStored();
        const DProj& doc = w_->document();
        const std::string first = DocumentText(doc, LiveWindows{}, doc.Role, ',');
        auto back = NewDocument();
        std::uint8_t version = 0;
        if (ParseDocumentText(first, *back, version, ',') != ReadOk) {
            ADD_FAILURE() << "the document saved cannot be read back\n" << Log.text();
            return;
        }
        ProcessAfterReading(*back, nullptr);
        const std::string second = DocumentText(*back, LiveWindows{}, back->Role, ',');
        if (second == first) return;
        ADD_FAILURE() << "the document read back saves other bytes, " << FirstDifference(first, second)
                      << Log.text();
        if (const char* dump = std::getenv("PELMAR_FUZZ_DUMP")) {
            std::ofstream(std::string(dump) + "/first.pel", std::ios::binary) << first;
            std::ofstream(std::string(dump) + "/second.pel", std::ios::binary) << second;
        }
    }

    // Saved, opened again, saved again over the same name: the same bytes.
    void saveAs(const std::string& file, const std::string& what) {
        Log.add(what);
        saveName_ = file;
        overwrite_ = true;
        menu(MainCommand::SaveAs);
    }
    void saveTwice(int step) {
        if (!w_->commandEnabled(MainCommand::SaveAs)) return;
        const std::string file = dir_.path("session" + std::to_string(step) + ".pel");
        saveAs(file, "save as " + file);
        const std::string first = ReadBytes(file);
        ASSERT_FALSE(first.empty()) << "nothing saved\n" << Log.text();
        Log.add("open " + file);
        openName_ = file;
        menu(MainCommand::Open);
        saveAs(file, "save as " + file + " again");
        std::string second = ReadBytes(file);
        KeepUnlistedFocus(first, second);
        if (first != second)
            ADD_FAILURE() << "the document reopened saves other bytes, " << FirstDifference(first, second) << Log.text();
    }

    Answer askYesNoCancel(const std::string& text) override {
        Log.add("asked (No): " + text.substr(0, 60));
        return Answer::No;
    }
    bool askYesNo(const std::string& text) override {
        const bool yes = std::exchange(overwrite_, false) || rng_() % 2 == 0;
        Log.add(std::string("asked (") + (yes ? "Yes" : "No") + "): " + text.substr(0, 60));
        return yes;
    }
    void showMessage(const std::string& text) override { Log.add("message: " + text.substr(0, 60)); }
    std::string chooseOpenFile(const std::string&, bool) override { return std::exchange(openName_, {}); }
    std::string chooseSaveFile(const std::string&, const std::string&, bool) override {
        return std::exchange(saveName_, {});
    }
    bool chooseNewProject(std::array<std::uint8_t, KindCount>& counts) override {
        counts.fill(1);
        return true;
    }
    // A small picture keeps the redraws quick under the sanitizers.
    bool chooseNewPicture(PictureSettings& p) override {
        p.Width = 480;
        p.Height = 360;
        p.Dpi = 96;
        return true;
    }

    int steps_;
    std::mt19937 rng_;
    Scratch dir_;
    std::string openName_, saveName_;  // one answer each, then cancel
    bool overwrite_ = false;           // the next overwrite question: Yes
    NoPrinter printer_;
    FakeExportHost exporter_;
    std::unique_ptr<Application> app_;
    std::unique_ptr<Form1> w_;
    int depth_ = 0;
    int keys_ = 0;
    bool undone_ = false;  // the action had Undo or Redo in it
    bool inUnit_ = false;
    std::atomic<std::int64_t> beat_{Now()};
    std::jthread watchdog_;
};

}  // namespace

TEST(RandomSession, EveryWindowTakesRandomInput) {
    QLocale::setDefault(QLocale(QLocale::Russian));
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(PrintLog);
#endif
    RandomSession session(EnvNumber("PELMAR_FUZZ_SEED", FixedSeed),
                          static_cast<int>(EnvNumber("PELMAR_FUZZ_STEPS", FixedSteps)));
    session.run();
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(nullptr);
#endif
}
