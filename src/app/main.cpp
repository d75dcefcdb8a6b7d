// Pelmar start-up: the application object with the program folder, the main
// window shown maximised, and the document named on the command line opened
// by its first show.
#include <QApplication>

#include "office/ui/desktop.h"
#include "office/ui/export_dialogs.h"
#include "shell/application.h"
#include "shell/ui/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmar"));
    pelmar::Application pelmar(pelmar::Application::DefaultFolders());

    pelmar::MainWindowSetup setup;
    for (int i = 1; i < argc; ++i) setup.arguments.emplace_back(argv[i]);
    setup.services.officeExport = [](pelmar::Form1& w, pelmar::ExportState& state, bool word) {
        pelmar::QtDesktopOpener desktop;
        pelmar::QtOfficeMessages messages(&w);
        pelmar::OfficeExportContext ctx;
        ctx.proj = &w.document();
        ctx.st = &w.drawing();
        ctx.wordLine = [&w](int line) { return w.shell().words.WordLine(line); };
        ctx.progDir = w.shell().ProgDir;
        ctx.desktop = &desktop;
        ctx.messages = &messages;
        if (word) pelmar::RunWordExportDialog(ctx, state, &w);
        else pelmar::RunCdrExportDialog(ctx, state, &w);
    };

    pelmar::Form1 window(pelmar, std::move(setup));
    window.showMaximized();
    return app.exec();
}
