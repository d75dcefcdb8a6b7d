// A main window on a scratch program folder, with the questions answered
// from a script and no printer: the sitting of the options and words tests.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>
#include <QToolBar>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/document_wiring.h"
#include "dialogs/ui/dialog_registry.h"
#include "editing/editing_state.h"
#include "shell/application.h"
#include "shell/ui/dialog_session.h"
#include "shell/ui/main_window.h"
#include "shell/ui/print_dialog.h"
#include "shell_test_util.h"
#include "support/fake_export_host.h"
#include "support/key_rows.h"

namespace pelmar::test {

struct QuietQuestions : FileQuestions {
    std::array<std::uint8_t, KindCount> counts{};
    std::vector<std::string> messages;
    std::string openName;  // what the open dialog answers
    Answer askYesNoCancel(const std::string&) override { return Answer::No; }
    bool askYesNo(const std::string&) override { return false; }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    std::string chooseOpenFile(const std::string&, bool) override { return openName; }
    std::string chooseSaveFile(const std::string&, const std::string&, bool) override { return {}; }
    bool chooseNewProject(std::array<std::uint8_t, KindCount>& c) override {
        c = counts;
        return true;
    }
    bool chooseNewPicture(PictureSettings&) override { return true; }
};

struct NoPrinter : PrintHost {
    std::vector<std::string> printerNames() override { return {}; }
    bool choosePrinter(QPrinter&) override { return false; }
};

// Object number `index` of kind k (the first of the kind for 0) chosen in
// the object list, as a user chooses it; its dialog shown and active (null
// when it has none).
inline QWidget* OpenKind(Form1& w, Kind k, int index = 0) {
    EditingState& st = w.editing();
    for (int i = 0; i < w.objectCombo()->count(); ++i) {
        const ObjListEntry& e = st.ObjList[static_cast<std::size_t>(i)];
        if (std::string(e.code, 2) != InfoOf(k).code || (index != 0 && e.index != index)) continue;
        w.objectCombo()->setCurrentIndex(i);
        emit w.objectCombo()->activated(i);
        break;
    }
    QWidget* d = w.dialogSession().registry().dialog(k);
    if (d) {
        d->show();
        d->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(d));
    }
    return d;
}

// The main window on the program folder `prog`, with its questions, printer
// and export windows answered by the test; shown at 1600 x 900.
inline std::unique_ptr<Form1> StartMainWindow(Application& app, FileQuestions& questions, PrintHost& printer,
                                              ExportWindows& exporter) {
    MainWindowSetup s;
    s.services.questions = &questions;
    s.services.printer = &printer;
    s.services.exporter = &exporter;
    s.services.askLinks = [](Kind, NewLinks&) { return LinkResult::Independent; };
    auto w = std::make_unique<Form1>(app, std::move(s));
    WireDocument(*w);
    w->resize(1600, 900);
    w->show();
    return w;
}

struct WindowSession {
    Scratch dir;
    QuietQuestions answers;
    NoPrinter printer;
    FakeExportHost exporter;
    std::unique_ptr<Application> app;
    std::unique_ptr<Form1> w;
    // The shipped folders the program finds.
    std::vector<std::string> shippedDirs{shipped()};

    std::string prog() { return dir.folder("prog"); }
    static std::string shipped() { return std::string(PELMAR_TEST_DATA) + "/../../share/pelmar/"; }

    // The program started (again) on the same program folder.
    void start() {
        if (w) w->close();
        w.reset();
        app = std::make_unique<Application>(Application::Folders{prog(), shippedDirs, dir.folder("Documents")});
        w = StartMainWindow(*app, answers, printer, exporter);
    }
    QWidget* open(Kind k) { return OpenKind(*w, k); }
    // The program ends: the settings are written.
    void stop() {
        if (w) w->close();
        w.reset();
    }
};

// The program started on the session's folders with other answers to its
// questions.
inline void StartWith(WindowSession& s, FileQuestions& questions) {
    s.stop();
    s.app = std::make_unique<Application>(Application::Folders{s.prog(), s.shippedDirs, s.dir.folder("Documents")});
    s.w = StartMainWindow(*s.app, questions, s.printer, s.exporter);
}

// The program started in Russian on a new document of the objects the
// questions' counts ask for.
inline void StartNew(WindowSession& s, QuietQuestions& questions) {
    QLocale::setDefault(QLocale(QLocale::Russian));
    StartWith(s, questions);
    s.w->menuAction(MainCommand::New)->trigger();
}
inline void StartNew(WindowSession& s) { StartNew(s, s.answers); }

// The field `name` of `window` as a user types into it: its text selected,
// the keys typed (none: the text deleted), then `leave` (Qt::Key_unknown:
// the field stays in typing).
inline void TypeIn(QWidget& window, const char* name, const QString& keys, Qt::Key leave = Qt::Key_Return) {
    auto* f = window.findChild<QWidget*>(name);
    ASSERT_TRUE(f && f->isEnabled()) << name;
    f->setFocus();
    LineOf(f)->selectAll();
    if (keys.isEmpty()) QTest::keyClick(f, Qt::Key_Backspace);
    else QTest::keyClicks(f, keys);
    if (leave != Qt::Key_unknown) QTest::keyClick(f, leave);
}

// Once the modal window `name` (or the active window of that name) is up
// (within 5 s) and active, `answer` runs in it.
inline void WhenShown(const char* name, std::function<void(QWidget&)> answer) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, name = QString::fromLatin1(name), answer] {
        QWidget* d = QApplication::activeModalWidget();
        if (!d) d = QApplication::activeWindow();
        if ((!d || d->objectName() != name || !d->isVisible()) && ++*tries < 500) return;
        poll->stop();
        poll->deleteLater();
        ASSERT_TRUE(d && d->objectName() == name) << name.toStdString();
        d->windowHandle()->requestActivate();
        QTRY_VERIFY(d->isActiveWindow());
        answer(*d);
    });
    poll->start(10);
}

// `open` opens the modal window `name`; `drive` runs in it, then its button
// `close` is clicked.
inline void InModal(const char* name, const std::function<void()>& open, const std::function<void(QWidget&)>& drive,
                    const char* close = "Button1") {
    bool ran = false;
    WhenShown(name, [&, close](QWidget& d) {
        ran = true;
        drive(d);
        QTest::mouseClick(d.findChild<QWidget*>(close), Qt::LeftButton);
    });
    open();
    EXPECT_TRUE(ran) << name;
}

}  // namespace pelmar::test
