// Pelmar start-up.  The main window is not built yet: until it is, the program
// makes its application object, reads its settings and words, says so in a
// small window and exits when it is closed.
#include <QApplication>
#include <QLabel>

#include "shell/application.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pelmar");
    pelmar::Application pelmar(pelmar::Application::DefaultFolders());
    pelmar.created({});
    QLabel label(QObject::tr("Pelmar: the libraries are built; the main window is not built yet."));
    label.setMargin(24);
    label.setWindowTitle("Pelmar");
    label.show();
    return app.exec();
}
