// Pelmar start-up: the application object with the program folder, the main
// window shown maximised, and the document named on the command line opened
// by its first show.
#include <QApplication>

#include "office/ui/export_dialogs.h"
#include "shell/application.h"
#include "shell/ui/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmar"));
    pelmar::Application pelmar(pelmar::Application::DefaultFolders());

    pelmar::MainWindowSetup setup;
    for (int i = 1; i < argc; ++i) setup.arguments.emplace_back(argv[i]);
    setup.services.officeExport = pelmar::OfficeExportService();

    pelmar::Form1 window(pelmar, std::move(setup));
    window.showMaximized();
    return app.exec();
}
