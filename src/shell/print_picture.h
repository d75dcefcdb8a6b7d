// Printing the picture at its true size: each picture pixel covers
// printer-dpi ÷ picture-dpi printer pixels, placed at the document's margins
// measured from the paper's edge.  The printer is chosen through PrintHost
// (the print dialog, which offers a PDF file when the system has no printer); the run
// itself, which needs the printer device, is in print_dialog.h.
#pragma once

#include <QRect>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPainter;
class QPrinter;

namespace pelmar {

struct DProj;

// What the printer tells of itself: its resolution and where its printable
// area starts on the paper (printer pixels).
struct PrintDevice {
    double dpiX = 0, dpiY = 0;
    int offsetX = 0, offsetY = 0;
};

// The picture and its place on the paper.
struct PrintPage {
    int width = 0, height = 0;        // picture pixels
    int dpi = 0;                      // picture resolution
    int leftMarginMm = 0, topMarginMm = 0;
};

// The picture's rectangle in the printable area's pixels; nothing when a
// resolution is not positive.
std::optional<QRect> PrintRectangle(const PrintDevice& device, const PrintPage& page);

// The print dialog and its neighbours.
class PrintHost {
public:
    virtual ~PrintHost() = default;
    virtual std::vector<std::string> printerNames() = 0;
    // The print dialog over `printer`, which comes set up with the document's
    // paper and orientation (and a PDF file when there is no printer); false
    // when the user cancels.
    virtual bool choosePrinter(QPrinter& printer) = 0;
};

struct PrintJob {
    const DProj* doc = nullptr;       // paper, orientation, margins, resolution
    int pictureWidth = 0, pictureHeight = 0;  // the picture as painted (raster: the back buffer)
    std::string title;                // the print job's title: the document's file name
    std::string pdfFile;              // output file offered when there is no printer
    // Paints the whole picture stretched into the rectangle.
    std::function<void(QPainter&, const QRect&)> paint;
};

}  // namespace pelmar
