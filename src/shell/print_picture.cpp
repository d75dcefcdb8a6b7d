#include "shell/print_picture.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <cmath>

#include "model/records.h"
#include "model/units.h"

namespace pelmar {

namespace {

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

std::optional<QRect> PrintRectangle(const PrintDevice& d, const PrintPage& p) {
    if (p.dpi <= 0 || !(d.dpiX > 0) || !(d.dpiY > 0)) return std::nullopt;
    const double sx = d.dpiX / p.dpi, sy = d.dpiY / p.dpi;
    const auto left = static_cast<double>(CmToPix(p.dpi, p.leftMarginMm / 10.0));
    const auto top = static_cast<double>(CmToPix(p.dpi, p.topMarginMm / 10.0));
    const int x1 = RoundEven(left * sx) - d.offsetX;
    const int y1 = RoundEven(top * sy) - d.offsetY;
    const int x2 = RoundEven(left * sx) + RoundEven(p.width * sx) - d.offsetX;
    const int y2 = RoundEven(top * sy) + RoundEven(p.height * sy) - d.offsetY;
    return QRect(QPoint(x1, y1), QSize(x2 - x1, y2 - y1));
}

std::function<void(QPainter&, const QRect&)> PaintImage(const QImage& image) {
    return [image](QPainter& painter, const QRect& target) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(target, image);
    };
}

bool PrintPicture(const PrintJob& job, PrintHost& host) {
    if (!job.doc || !job.paint) return false;
    const DProj& doc = *job.doc;
    QPrinter printer(QPrinter::HighResolution);
    if (host.printerNames().empty()) {
        host.showError(job.noPrinterText);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(job.pdfFile));
    }
    if (doc.PaperWidth > 0 && doc.PaperHeight > 0)
        printer.setPageSize(QPageSize(QSizeF(doc.PaperWidth, doc.PaperHeight), QPageSize::Millimeter));
    printer.setPageOrientation(doc.Portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    printer.setDocName(QString::fromStdString(job.title));
    if (!host.choosePrinter(printer)) return false;

    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    const PrintDevice device{static_cast<double>(printer.logicalDpiX()), static_cast<double>(printer.logicalDpiY()),
                             page.left() - paper.left(), page.top() - paper.top()};
    const PrintPage picture{job.pictureWidth, job.pictureHeight, doc.Im.Dpi, doc.Margin2, doc.Margin1};
    const std::optional<QRect> target = PrintRectangle(device, picture);
    if (target) job.paint(painter, *target);
    return painter.end() && target.has_value();
}

}  // namespace pelmar
