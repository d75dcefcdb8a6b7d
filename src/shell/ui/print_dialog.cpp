#include "shell/ui/print_dialog.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <optional>

#include "model/records.h"
#include "platform/safe_save.h"

namespace pelmar {

std::function<void(QPainter&, const QRect&)> PaintImage(const QImage& image) {
    return [image](QPainter& painter, const QRect& target) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        painter.drawImage(target, image);
    };
}

bool PrintPicture(const PrintJob& job, PrintHost& host) {
    if (!job.doc || !job.paint) return false;
    const DProj& doc = *job.doc;
    QPrinter printer(QPrinter::HighResolution);
    // Without a printer the dialog offers a PDF file.
    if (host.printerNames().empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(job.pdfFile));
    }
    if (doc.PaperWidth > 0 && doc.PaperHeight > 0)
        printer.setPageSize(QPageSize(QSizeF(doc.PaperWidth, doc.PaperHeight), QPageSize::Millimeter));
    printer.setPageOrientation(doc.Portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    printer.setDocName(QString::fromStdString(job.title));
    if (!host.choosePrinter(printer)) return false;
    // A PDF file is written as every file of the program: through a
    // temporary file that replaces it (and a link at its name) whole.
    std::optional<SafeFile> pdf;
    if (!printer.outputFileName().isEmpty()) {
        pdf.emplace(printer.outputFileName().toStdString());
        if (!pdf->opened()) return false;
        printer.setOutputFileName(QString::fromStdString(pdf->tempPath()));
    }

    QPainter painter;
    if (!painter.begin(&printer)) return false;
    // The picture's pixels as they are: a PDF gets them without JPEG
    // compression, at the picture's own resolution.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    const PrintDevice device{static_cast<double>(printer.logicalDpiX()), static_cast<double>(printer.logicalDpiY()),
                             page.left() - paper.left(), page.top() - paper.top()};
    const PrintPage picture{job.pictureWidth, job.pictureHeight, doc.Im.Dpi, doc.Margin2, doc.Margin1};
    const std::optional<QRect> target = PrintRectangle(device, picture);
    if (target) job.paint(painter, *target);
    const bool printed = painter.end() && target.has_value();
    if (pdf) return pdf->commit(printed ? std::string() : std::string("not printed")).empty();
    return printed;
}


std::vector<std::string> QtPrintHost::printerNames() {
    std::vector<std::string> names;
    for (const QString& n : QPrinterInfo::availablePrinterNames()) names.push_back(n.toStdString());
    return names;
}


bool QtPrintHost::choosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, parent_);
    dialog.setObjectName("PrintDialog1");
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace pelmar
