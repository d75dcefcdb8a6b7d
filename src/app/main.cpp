// Pelmar start-up: the program folder, the main window shown maximised, and
// the document named on the command line opened by its first show.
#include <QApplication>
#include <QDir>

#include "office/desktop.h"
#include "office/export_dialogs.h"
#include "shell/main_window.h"
#include "shell/program_folder.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmar"));

    pelmar::MainWindowSetup setup;
    setup.progDir = pelmar::DefaultProgDir();
    if (setup.progDir.empty()) setup.progDir = QDir::tempPath().toStdString() + "/pelmar/";
    setup.shippedDirs = pelmar::ShippedDirs();
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

    pelmar::Form1 window(std::move(setup));
    window.showMaximized();
    return app.exec();
}
