// The whole program under random input with a fixed seed: a new project with
// objects of every kind, then a few thousand actions a restless user makes -
// numbers typed into every field of every object dialog and window (plausible
// ones, negatives, both decimal marks, huge ones, empty, "-", fractions),
// clicks on buttons, boxes and lists, Undo and Redo, new objects, drags in the
// picture window - with the modal windows they open (project options, fill,
// animation, graph options, sections, outline, apply to all, questions)
// driven the same way and then left with Enter or Escape.  Every so often
// the document is saved, opened again and saved again: both files must be
// the same bytes.  A watchdog turns a step that hangs or eats the memory
// into a failure that names the step and the seed.
//
// PELMAR_FUZZ_SEED and PELMAR_FUZZ_STEPS run another seed or length, and
// PELMAR_FUZZ_TRACE=1 prints every action as it is done (a sanitizer report
// then follows the action that caused it).  The seed is printed first, a
// failure prints the last actions, and the same seed repeats the same
// actions.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
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

#include "app/document_wiring.h"
#include "editing/ui/picture_window.h"
#include "files/companion.h"
#include "shell/picture_settings.h"
#include "shell/ui/dialog_session.h"
#include "shell/ui/main_window.h"
#include "shell/ui/print_dialog.h"
#include "shell_test_util.h"
#include "support/fake_export_host.h"
#include "window_session.h"
#include "transform/ui/trans_window.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

using namespace pelmar;
using namespace pelmar::test;

namespace {

constexpr std::uint32_t FixedSeed = 49001;
constexpr int FixedSteps = 600;
// A step that runs longer than this, or a process grown past this many
// megabytes, is a hang.
constexpr auto StepLimit = std::chrono::seconds(40);
constexpr long MemoryLimitMb = 3000;

std::uint32_t EnvNumber(const char* name, std::uint32_t fallback) {
    const char* v = std::getenv(name);
    return v && *v ? static_cast<std::uint32_t>(std::strtoul(v, nullptr, 10)) : fallback;
}

// The seed, the step and the last actions, for whoever reports a failure:
// the test, the watchdog thread, the sanitizers' last words.
class ActionLog {
public:
    std::uint32_t seed = 0;
    std::atomic<int> step{0};
    bool trace = false;  // every action printed as it is done
    void add(std::string what) {
        std::lock_guard lock(m_);
        last_.push_back("step " + std::to_string(step.load()) + ": " + std::move(what));
        if (trace) {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begun_);
            const std::string line = std::to_string(ms.count()) + " ms, " + last_.back() + "\n";
            (void)!write(2, line.data(), line.size());
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
};

ActionLog* gLog = nullptr;

void PrintLog() {
    if (!gLog) return;
    const std::string t = "\n*** random session: " + gLog->text();
    (void)!write(2, t.data(), t.size());
}

long ResidentMb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024) / 1024;
}

// A thread that ends the process when a step takes too long or the memory
// runs away, after saying where.
class Watchdog {
public:
    Watchdog() : thread_([this] { run(); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(m_);
            stop_ = true;
        }
        cv_.notify_one();
        thread_.join();
    }
    void beat() { beat_.store(Now()); }

private:
    static std::int64_t Now() { return std::chrono::steady_clock::now().time_since_epoch().count(); }
    void run() {
        std::unique_lock lock(m_);
        while (!cv_.wait_for(lock, std::chrono::milliseconds(200), [this] { return stop_; })) {
            const auto quiet = std::chrono::steady_clock::duration(Now() - beat_.load());
            const long mb = ResidentMb();
            if (quiet > StepLimit || mb > MemoryLimitMb) {
                const std::string why = quiet > StepLimit ? "a step ran longer than the limit (a hang)"
                                                          : "the memory grew past " + std::to_string(mb) + " MB";
                const std::string t = "\n*** random session: " + why + "\n";
                (void)!write(2, t.data(), t.size());
                PrintLog();
                std::abort();
            }
        }
    }
    std::atomic<std::int64_t> beat_{Now()};
    std::mutex m_;
    std::condition_variable cv_;
    bool stop_ = false;
    std::thread thread_;
};

// The questions and file dialogs of the main window, answered from the
// session's random stream and its save plan.
struct RandomAnswers : FileQuestions {
    std::mt19937* rng = nullptr;
    ActionLog* log = nullptr;
    std::string openName, saveName;  // one answer each, then cancel
    bool overwrite = false;          // the next overwrite question
    int messages = 0;
    std::array<std::uint8_t, KindCount> counts{};

    bool coin() { return (*rng)() % 2 == 0; }
    Answer askYesNoCancel(const std::string& text) override {
        log->add("asked (No): " + text.substr(0, 60));
        return Answer::No;
    }
    bool askYesNo(const std::string& text) override {
        const bool yes = overwrite || coin();
        overwrite = false;
        log->add(std::string("asked (") + (yes ? "Yes" : "No") + "): " + text.substr(0, 60));
        return yes;
    }
    void showMessage(const std::string& text) override {
        ++messages;
        log->add("message: " + text.substr(0, 60));
    }
    std::string chooseOpenFile(const std::string&, bool) override { return std::exchange(openName, {}); }
    std::string chooseSaveFile(const std::string&, const std::string&, bool) override {
        return std::exchange(saveName, {});
    }
    bool chooseNewProject(std::array<std::uint8_t, KindCount>& c) override {
        c = counts;
        return true;
    }
    // A small picture keeps the redraws quick under the sanitizers.
    bool chooseNewPicture(PictureSettings& p) override {
        p.Width = 480;
        p.Height = 360;
        p.Dpi = 96;
        return true;
    }
};

struct NoPrinterHere : PrintHost {
    std::vector<std::string> printerNames() override { return {}; }
    bool choosePrinter(QPrinter&) override { return false; }
};

// The document keeps the focused control of the object dialog as its number
// in the dialog's list, 0 for a control outside the list (a check box the
// list lacks, a window other than the dialog); a dialog opened again gives
// its first control the focus.  That one line of the second file takes the 0
// of the first.
void KeepUnlistedFocus(const std::string& first, std::string& second) {
    auto focusLine = [](const std::string& s) -> std::pair<std::size_t, std::size_t> {
        std::size_t at = s.find("<$Forms State and Scale>");
        for (int line = 0; line < 7 && at != std::string::npos; ++line) {
            at = s.find('\n', at);
            if (at != std::string::npos) ++at;
        }
        if (at == std::string::npos) return {std::string::npos, 0};
        const std::size_t end = s.find('\r', at);
        return {at, end == std::string::npos ? 0 : end - at};
    };
    const auto [a, an] = focusLine(first);
    const auto [b, bn] = focusLine(second);
    if (a == std::string::npos || b == std::string::npos || first.compare(a, an, "0") != 0 ||
        second.compare(b, bn, "0") == 0)
        return;
    second.replace(b, bn, "0");
    // The stamp on the last line is the hash of the lines before it: the
    // second file's stamp follows the line taken.
    const std::string stamp = LastLineStamp(second);
    if (stamp.empty()) return;
    const std::size_t stampAt = second.rfind(StampLine(stamp));
    second.replace(stampAt, StampLine(stamp).size(), StampLine(SaveStamp(std::string_view(second).substr(0, stampAt))));
}

// What a user types into a field: plausible numbers, both decimal marks,
// signs, exponents, numbers far too big, fractions, empty text and a few
// formulas and words (some fields are formulas or names).
std::string RandomText(std::mt19937& rng) {
    static const char* const Odd[] = {"",         "-",       ",",         ".",        "-1/2",      "1/2",
                                      "3000000000", "1E12",  "1e300",     "-1E300",   "8E12",      "1000000000000",
                                      "1E-300",   "0",       "-0",        "00012",    "1e",        "+5",
                                      "2147483648", "-2147483649", "999999999999999999999", "0,0001", "1,5E3", "nan",
                                      "inf",      "sin(x)",  "x^2/4",     "t",        "1/x",       "x*x-3",
                                      "sqrt(x)",  "Point",   "P 5",       "(",        "x^1000",    "abc"};
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

// Controls the session leaves alone: building a whole animation takes
// minutes under the sanitizers, and help would start a browser.
bool LeftAlone(const QWidget* c) {
    const QString n = c->objectName();
    if (n.contains(QLatin1String("Help"))) return true;
    return c->window()->objectName() == QLatin1String("FormAnim") && n == QLatin1String("Button1");
}

class RandomSession : public QObject {
public:
    RandomSession(std::uint32_t seed, int steps) : steps_(steps), rng_(seed) {
        log_.seed = seed;
        log_.trace = EnvNumber("PELMAR_FUZZ_TRACE", 0) != 0;
        gLog = &log_;
        std::fprintf(stderr, "random session: seed %u, %d steps\n", seed, steps);
        answers_.rng = &rng_;
        answers_.log = &log_;
        answers_.counts.fill(1);
        qApp->installEventFilter(this);
    }
    ~RandomSession() override {
        qApp->removeEventFilter(this);
        gLog = nullptr;
    }

    void run() {
        start();
        watchdog_ = std::make_unique<Watchdog>();
        menu(MainCommand::New);
        ASSERT_GT(w_->objectCombo()->count(), KindCount - 1) << log_.text();
        for (int step = 1; step <= steps_ && !testing::Test::HasFailure(); ++step) {
            log_.step = step;
            watchdog_->beat();
            if (step % 100 == 0) {
                saveTwice(step);
                continue;
            }
            topAction();
            settle();
        }
        if (!testing::Test::HasFailure()) saveTwice(steps_ + 1);
        std::fprintf(stderr, "random session: %d keys typed\n", keys_);
        EXPECT_FALSE(testing::Test::HasFailure()) << log_.text();
        watchdog_.reset();
        w_->close();
        w_.reset();
    }

private:
    // The main window on a scratch program folder, its questions answered
    // here.
    void start() {
        app_ = std::make_unique<Application>(Application::Folders{
            dir_.folder("prog"), {std::string(PELMAR_TEST_DATA) + "/../../share/pelmar/"}, dir_.folder("Documents")});
        w_ = StartMainWindow(*app_, answers_, printer_, exporter_);
        QApplication::processEvents();
    }

    int pick(int n) { return n <= 0 ? 0 : static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    bool chance(int percent) { return pick(100) < percent; }
    static void settle() { QApplication::processEvents(); }

    static std::string CommandName(MainCommand c) {
        const CommandInfo& info = InfoOf(c);
        return info.menu ? info.menu : info.tool ? info.tool : "?";
    }
    // The menu item, or the tool button of a command the menu lacks.
    QAction* action(MainCommand c) const { return w_->menuAction(c) ? w_->menuAction(c) : w_->toolAction(c); }
    void menu(MainCommand c) {
        if (!w_->commandEnabled(c)) return;
        log_.add("menu " + CommandName(c));
        action(c)->trigger();
        settle();
    }

    // Windows the user can work in outside the modal ones: the object
    // dialogs shown and the transformations window.
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
            std::vector<QWidget*> windows = openWindows();
            if (!windows.empty()) return controlAction(windows[static_cast<std::size_t>(pick(static_cast<int>(windows.size())))]);
        }
        if (r < 63) return chooseObject();
        if (r < 73) return undoRedo();
        if (r < 80) return drag();
        if (r < 86) return newObject();
        static const MainCommand Other[] = {MainCommand::OptProj, MainCommand::WinTrans, MainCommand::Anim,
                                            MainCommand::Copy,    MainCommand::Paste,    MainCommand::Delete,
                                            MainCommand::ToLi,    MainCommand::ToCi,     MainCommand::ToTr,
                                            MainCommand::ToKv,    MainCommand::ToXZ,     MainCommand::ToSf};
        menu(Other[pick(static_cast<int>(std::size(Other)))]);
    }

    void chooseObject() {
        QComboBox* combo = w_->objectCombo();
        if (!combo->isEnabled() || combo->count() == 0) return;
        const int i = pick(combo->count());
        log_.add("object list: " + combo->itemText(i).toStdString());
        combo->setCurrentIndex(i);
        emit combo->activated(i);
        settle();
    }

    void undoRedo() {
        const MainCommand c = chance(60) ? MainCommand::Undo : MainCommand::Redo;
        if (!w_->commandEnabled(c)) return;
        std::vector<QWidget*> windows = openWindows();
        if (c == MainCommand::Undo && !windows.empty() && chance(30)) {
            // Ctrl+Z in a dialog, which is the menu's Undo.
            QWidget* d = windows[static_cast<std::size_t>(pick(static_cast<int>(windows.size())))];
            log_.add("Ctrl+Z in " + d->objectName().toStdString());
            QTest::keyClick(d, Qt::Key_Z, Qt::ControlModifier);
            settle();
            return;
        }
        if (chance(50)) return menu(c);
        auto* bar = w_->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
        QWidget* button = bar ? bar->widgetForAction(w_->toolAction(c)) : nullptr;
        if (!button || !button->isVisible()) return menu(c);
        log_.add("tool " + CommandName(c));
        QTest::mouseClick(button, Qt::LeftButton);
        settle();
    }

    void newObject() {
        const auto k = static_cast<Kind>(1 + pick(KindCount));
        menu(NewObjectCommand(k));
    }

    // A drag in the picture window with one of its tools, now and then with
    // Undo pressed while the button is held.
    void drag() {
        PictureWindow* pic = w_->picture();
        if (!pic || !pic->isVisible()) return;
        static const char* const Tools[] = {"TBLine", "TBAdds", "TBSell", "TBEdit", "TBEdit"};
        static const char* const Kinds[] = {"TBPo", "TBLi", "TBCi", "TBTr", "TBKv", "TBXY"};
        const char* tool = Tools[pick(static_cast<int>(std::size(Tools)))];
        if (QAction* a = pic->toolButton(tool); a && a->isEnabled()) a->trigger();
        std::string what = std::string("drag with ") + tool;
        if (std::string(tool) == "TBAdds") {
            const char* kind = Kinds[pick(static_cast<int>(std::size(Kinds)))];
            if (QAction* a = pic->toolButton(kind); a && a->isEnabled()) a->trigger();
            what += std::string(" ") + kind;
        }
        QWidget* box = pic->paintBox();
        auto at = [&] { return QPoint(pick(std::max(1, box->width())), pick(std::max(1, box->height()))); };
        QPoint p = at();
        log_.add(what + " from " + std::to_string(p.x()) + "," + std::to_string(p.y()));
        QTest::mousePress(box, Qt::LeftButton, {}, p);
        settle();
        const int moves = 1 + pick(4);
        for (int i = 0; i < moves; ++i) {
            p = chance(20) ? at() : p + QPoint(pick(61) - 30, pick(61) - 30);
            QMouseEvent move(QEvent::MouseMove, QPointF(p), box->mapToGlobal(QPointF(p)), Qt::NoButton,
                             Qt::LeftButton, {});
            QApplication::sendEvent(box, &move);
            settle();
            if (chance(4)) {
                const MainCommand c = chance(70) ? MainCommand::Undo : MainCommand::Redo;
                if (w_->commandEnabled(c)) {
                    log_.add("  with the button held: " + CommandName(c));
                    action(c)->trigger();
                    settle();
                }
            }
        }
        log_.add("  released at " + std::to_string(p.x()) + "," + std::to_string(p.y()));
        QTest::mouseRelease(box, Qt::LeftButton, {}, p);
        settle();
    }

    static std::string Name(QWidget* c) {
        return c->window()->objectName().toStdString() + "/" + c->objectName().toStdString();
    }

    void activate(QWidget* window) {
        if (QApplication::activeWindow() == window) return;
        window->activateWindow();
        settle();
    }

    // One action on a control of the window: typing into a field, a click
    // on a button or box, a list stepped with the keys, a tab chosen.
    void controlAction(QWidget* window) {
        std::vector<QWidget*> fields, buttons, combos, tabs;
        for (QWidget* c : window->findChildren<QWidget*>()) {
            if (!c->isVisible() || !c->isEnabled()) continue;
            if (qobject_cast<QTabBar*>(c) && c->parentWidget() && qobject_cast<QTabWidget*>(c->parentWidget()) &&
                Ours(c->parentWidget()))
                tabs.push_back(c);
            if (!Ours(c) || LeftAlone(c)) continue;
            if (auto* e = qobject_cast<QLineEdit*>(c); e && !e->isReadOnly())
                fields.push_back(c);
            else if (auto* s = qobject_cast<QAbstractSpinBox*>(c); s && !s->isReadOnly())
                fields.push_back(c);
            else if (qobject_cast<QComboBox*>(c))
                combos.push_back(c);
            else if (qobject_cast<QAbstractButton*>(c))
                buttons.push_back(c);
        }
        activate(window);
        const int r = pick(100);
        if (r < 60 && !fields.empty()) {
            // A user fills a few fields of a window in a row.
            QPointer<QWidget> alive(window);
            const std::vector<QPointer<QWidget>> live(fields.begin(), fields.end());
            const int count = 1 + pick(4);
            for (int i = 0; i < count && alive && alive->isVisible() && !testing::Test::HasFailure(); ++i) {
                const QPointer<QWidget>& field = live[static_cast<std::size_t>(pick(static_cast<int>(live.size())))];
                if (!field || !field->isVisible() || !field->isEnabled()) break;
                type(field);
            }
            return;
        }
        if (r < 85 && !buttons.empty()) return click(buttons[static_cast<std::size_t>(pick(static_cast<int>(buttons.size())))]);
        if (r < 93 && !combos.empty()) return step(combos[static_cast<std::size_t>(pick(static_cast<int>(combos.size())))]);
        if (!tabs.empty()) {
            auto* bar = static_cast<QTabBar*>(tabs[static_cast<std::size_t>(pick(static_cast<int>(tabs.size())))]);
            const int i = pick(bar->count());
            if (!bar->isTabEnabled(i)) return;
            log_.add("tab " + std::to_string(i) + " of " + Name(bar->parentWidget()));
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
            settle();
        }
    }

    void type(QWidget* field) {
        const std::string text = RandomText(rng_);
        field->setFocus(Qt::TabFocusReason);
        settle();
        if (!field->isVisible() || !field->isEnabled()) return;
        const int how = pick(10);
        if (how < 8) {
            if (auto* e = qobject_cast<QLineEdit*>(field)) e->selectAll();
            if (auto* s = qobject_cast<QAbstractSpinBox*>(field)) s->selectAll();
        } else if (how == 8) {
            QTest::keyClick(field, Qt::Key_End);
        }  // else typed at the cursor
        static const char* const Ends[] = {"Tab", "Enter", "", "Backspace", "Up", "Down", "Escape"};
        const char* end = Ends[pick(static_cast<int>(std::size(Ends)))];
        log_.add("type \"" + text + "\" then " + end + " into " + Name(field));
        QPointer<QWidget> alive(field);
        QTest::keyClicks(field, QString::fromStdString(text));
        keys_ += static_cast<int>(QString::fromStdString(text).size()) + (*end ? 1 : 0);
        settle();
        if (!alive || !alive->isVisible()) return;
        const std::string e = end;
        if (e == "Tab") QTest::keyClick(field, Qt::Key_Tab);
        else if (e == "Enter") QTest::keyClick(field, Qt::Key_Return);
        else if (e == "Backspace") QTest::keyClick(field, Qt::Key_Backspace);
        else if (e == "Up") QTest::keyClick(field, Qt::Key_Up);
        else if (e == "Down") QTest::keyClick(field, Qt::Key_Down);
        else if (e == "Escape") QTest::keyClick(field, Qt::Key_Escape);
        settle();
    }

    void click(QWidget* button) {
        log_.add("click " + Name(button));
        button->setFocus(Qt::MouseFocusReason);
        const bool box = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
        const QPoint where = box ? QPoint(8, button->height() / 2) : button->rect().center();
        QTest::mouseClick(button, Qt::LeftButton, {}, where);
        settle();
    }

    void step(QWidget* c) {
        auto* combo = static_cast<QComboBox*>(c);
        const bool down = chance(60);
        const int times = 1 + pick(3);
        log_.add(std::string("list ") + (down ? "Down" : "Up") + " x" + std::to_string(times) + " in " + Name(c));
        combo->setFocus(Qt::TabFocusReason);
        QPointer<QComboBox> alive(combo);
        for (int i = 0; i < times && alive && alive->isVisible() && alive->isEnabled(); ++i) {
            QTest::keyClick(combo, down ? Qt::Key_Down : Qt::Key_Up);
            ++keys_;
            settle();
        }
    }

    // A modal window shown: driven once its own event loop runs.
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && o->isWidgetType()) {
            auto* w = static_cast<QWidget*>(o);
            if (w->isWindow() && w->isModal()) {
                QPointer<QWidget> p(w);
                QTimer::singleShot(0, this, [this, p] {
                    if (p && p->isVisible()) driveModal(p);
                });
            }
        }
        return false;
    }

    // A few actions in a modal window, then Enter or Escape (a message or a
    // standard dialog: Escape at once).  A window that still stays is
    // closed.
    void driveModal(QPointer<QWidget> modal) {
        ++depth_;
        watchdog_->beat();
        const bool ours = Ours(modal) && !modal->inherits("QMessageBox") && !modal->inherits("QFileDialog") &&
                          !modal->inherits("QColorDialog") && !modal->inherits("QProgressDialog");
        log_.add(std::string("modal ") + modal->metaObject()->className() + " " + modal->objectName().toStdString());
        if (ours && depth_ <= 3) {
            const int actions = pick(12);
            for (int i = 0; i < actions && modal && modal->isVisible() && !testing::Test::HasFailure(); ++i) {
                watchdog_->beat();
                if (QApplication::activeModalWidget() != modal) break;
                controlAction(modal);
                if (chance(5) && modal && modal->isVisible()) {
                    log_.add("Ctrl+Z in " + modal->objectName().toStdString());
                    QTest::keyClick(modal, Qt::Key_Z, Qt::ControlModifier);
                    settle();
                }
            }
        }
        if (modal && modal->isVisible() && QApplication::activeModalWidget() == modal) {
            const bool enter = ours && chance(60);
            log_.add(std::string(enter ? "Enter" : "Escape") + " in " + modal->objectName().toStdString());
            QWidget* target = QApplication::focusWidget() && modal->isAncestorOf(QApplication::focusWidget())
                                  ? QApplication::focusWidget()
                                  : modal.data();
            QTest::keyClick(target, enter ? Qt::Key_Return : Qt::Key_Escape);
            settle();
        }
        if (modal && modal->isVisible()) {
            // A window that Escape cannot close (the animation rows take only
            // Ok) takes Enter, its default button.
            log_.add("Enter in " + modal->objectName().toStdString());
            QTest::keyClick(modal, Qt::Key_Return);
            settle();
        }
        if (modal && modal->isVisible()) {
            log_.add("closed " + modal->objectName().toStdString());
            if (auto* d = qobject_cast<QDialog*>(modal.data())) d->done(QDialog::Rejected);
            else modal->close();
            settle();
        }
        --depth_;
    }

    // Saved, opened again, saved again over the same name: the same bytes.
    void saveTwice(int step) {
        if (!w_->commandEnabled(MainCommand::SaveAs)) return;
        const std::string file = dir_.path("session" + std::to_string(step) + ".pel");
        log_.add("save as " + file);
        answers_.saveName = file;
        answers_.overwrite = true;
        menu(MainCommand::SaveAs);
        const std::string first = ReadBytes(file);
        ASSERT_FALSE(first.empty()) << "nothing saved\n" << log_.text();
        log_.add("open " + file);
        answers_.openName = file;
        menu(MainCommand::Open);
        answers_.saveName = file;
        answers_.overwrite = true;
        log_.add("save as " + file + " again");
        menu(MainCommand::SaveAs);
        std::string second = ReadBytes(file);
        KeepUnlistedFocus(first, second);
        if (first != second) {
            // The first line that differs, with its number, as the user would
            // compare the two files.
            std::size_t at = 0, line = 1, lineStart = 0;
            for (; at < first.size() && at < second.size() && first[at] == second[at]; ++at)
                if (first[at] == '\n') ++line, lineStart = at + 1;
            auto lineOf = [&](const std::string& s) {
                const std::size_t end = s.find('\n', lineStart);
                return s.substr(lineStart, end == std::string::npos ? std::string::npos : end - lineStart);
            };
            // The block the line belongs to: the last header line before it.
            std::size_t header = first.rfind("\n<", lineStart);
            const std::string block = header == std::string::npos ? std::string()
                                                                  : first.substr(header + 1, first.find('\r', header) - header - 1);
            const auto inBlock = std::count(first.begin() + static_cast<std::ptrdiff_t>(header == std::string::npos ? 0 : header + 1),
                                            first.begin() + static_cast<std::ptrdiff_t>(lineStart), '\n');
            ADD_FAILURE() << "the document reopened saves other bytes, from line " << line << " (line " << inBlock
                          << " after " << block << "):\nfirst:  "
                          << lineOf(first) << "\nsecond: " << lineOf(second) << "\n"
                          << log_.text();
        }
    }

    // The log first: the windows may still ask questions while they go.
    ActionLog log_;
    int steps_;
    std::mt19937 rng_;
    Scratch dir_;
    RandomAnswers answers_;
    NoPrinterHere printer_;
    FakeExportHost exporter_;
    std::unique_ptr<Application> app_;
    std::unique_ptr<Form1> w_;
    int depth_ = 0;
    int keys_ = 0;
    std::unique_ptr<Watchdog> watchdog_;
};

}  // namespace

TEST(RandomSession, EveryWindowTakesRandomInput) {
    QLocale::setDefault(QLocale(QLocale::Russian));
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(PrintLog);
#endif
    const std::uint32_t seed = EnvNumber("PELMAR_FUZZ_SEED", FixedSeed);
    const int steps = static_cast<int>(EnvNumber("PELMAR_FUZZ_STEPS", FixedSteps));
    RandomSession session(seed, steps);
    session.run();
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(nullptr);
#endif
}
