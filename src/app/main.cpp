// Pelmar start-up: the application object with the program folder, the main
// window shown maximised, and the document named on the command line opened
// by its first show.  The program ends when its main window closes: by File >
// Exit, Ctrl+Q, the window's close box, or a termination signal (SIGTERM,
// SIGINT, SIGHUP), which closes the window as the user would.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

#include "app/document_wiring.h"
#include "office/ui/export_dialogs.h"
#include "shell/application.h"
#include "shell/ui/main_window.h"
#include "shell/user_folders.h"

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &c, 1);
}

// Termination signals are written into a pipe from the very start, so that
// one that comes while the window is made is not lost; the event loop then
// closes the main window, with the save question when the document has
// changes.
void CatchSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaction(s, &sa, nullptr);
}

void CloseOnSignals(QWidget& window) {
    if (signalPipe[0] < 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char c = 0;
        [[maybe_unused]] const auto n = ::read(signalPipe[0], &c, 1);
        window.close();
    });
}

// For the tests and the screenshot scripts that run the program as a
// process: PELMAR_TEST_SCRIPT lists the menu commands to run, by object name,
// once the main window is up, each once no modal window is up; "Yes", "No",
// "Cancel" or "Ok" among them answer the next message box so ("Ok" accepts
// the next other modal dialog as it is filled in).  The text of each message
// box answered goes to the standard error.
void RunTestScript(QWidget& window, const QString& script) {
    static QString answer;
    auto* watch = new QTimer(&window);
    QObject::connect(watch, &QTimer::timeout, &window, [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || answer.isEmpty()) return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const auto button = answer == QLatin1String("Yes")  ? QMessageBox::Yes
                                : answer == QLatin1String("No") ? QMessageBox::No
                                : answer == QLatin1String("Ok") ? QMessageBox::Ok
                                                                : QMessageBox::Cancel;
            if (QAbstractButton* b = box->button(button)) {
                std::fprintf(stderr, "message box answered %s: %s\n", answer.toUtf8().constData(),
                             box->text().toUtf8().constData());
                answer.clear();
                b->click();
            }
        } else if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && answer == QLatin1String("Ok")) {
            answer.clear();
            dialog->accept();
        }
    });
    watch->start(50);
    const QStringList steps = script.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    auto* runner = new QTimer(&window);
    QObject::connect(runner, &QTimer::timeout, &window, [&window, runner, steps, next = 0, busy = false]() mutable {
        // A signal may have closed the window before the script's turn came:
        // a closed program runs no more commands.
        if (!window.isVisible() || next == steps.size()) return runner->stop();
        if (busy) return;  // a command runs (with its own event loop)
        for (; next < steps.size(); ++next) {
            const QString& step = steps[next];
            if (step != QLatin1String("Yes") && step != QLatin1String("No") && step != QLatin1String("Cancel") &&
                step != QLatin1String("Ok"))
                break;
            if (!answer.isEmpty()) return;  // the answer before is not taken yet
            answer = step;
        }
        if (next == steps.size() || QApplication::activeModalWidget()) return;
        busy = true;
        if (auto* a = window.findChild<QAction*>(steps[next++])) a->trigger();
        busy = false;
    });
    runner->start(200);
}

}  // namespace

int main(int argc, char** argv) {
    CatchSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmar"));
    pelmar::Application pelmar(pelmar::Application::DefaultFolders());
    // Before any file dialog reads Qt's settings for it.
    pelmar::KeepQtSettingsReadable(pelmar.shell().ProgDir + "Temp/");

    pelmar::MainWindowSetup setup;
    for (int i = 1; i < argc; ++i) setup.arguments.emplace_back(argv[i]);
    setup.services.officeExport = pelmar::OfficeExportService();

    pelmar::Form1 window(pelmar, std::move(setup));
    pelmar::WireDocument(window);
    CloseOnSignals(window);
    const QString script = qEnvironmentVariable("PELMAR_TEST_SCRIPT");
    if (!script.isEmpty()) RunTestScript(window, script);
    window.showMaximized();
    return app.exec();
}
