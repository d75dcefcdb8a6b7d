// Printing through the printer device: the run of a print job, and the
// print host of the running program (the system's printers, the error box
// and Qt's print dialog).
#pragma once

#include "shell/print_picture.h"

class QImage;
class QWidget;

namespace pelmar {

// A painter of a raster picture for PrintJob::paint.
std::function<void(QPainter&, const QRect&)> PaintImage(const QImage& image);

// Prints the picture; false when the user cancelled or nothing could be
// printed.
bool PrintPicture(const PrintJob& job, PrintHost& host);

class QtPrintHost : public PrintHost {
public:
    explicit QtPrintHost(QWidget* parent) : parent_(parent) {}
    std::vector<std::string> printerNames() override;
    bool choosePrinter(QPrinter& printer) override;

private:
    QWidget* parent_;
};

}  // namespace pelmar
