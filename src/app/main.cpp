// Pelmar start-up.  The main window is not built yet: until it is, the program
// says so in a small window and exits when it is closed.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pelmar");
    QLabel label(QObject::tr("Pelmar: the libraries are built; the main window is not built yet."));
    label.setMargin(24);
    label.setWindowTitle("Pelmar");
    label.show();
    return app.exec();
}
