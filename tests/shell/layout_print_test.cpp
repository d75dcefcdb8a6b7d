// The default window layout and printing: the picture's rectangle on the
// paper, and a print run to a PDF file when the system has no printer.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QFile>
#include <cmath>
#include <random>
#include <regex>

#include "model/records.h"
#include "shell/ui/print_dialog.h"
#include "shell/window_layout.h"
#include "shell_test_util.h"

namespace pelmar {
namespace {

using test::ReadBytes;
using test::Scratch;

TEST(WindowLayout, PictureRightOfTheDialogsAndDialogsBelowTheToolBar) {
    // A 1600 × 1000 frame at (50, 20) with 8-pixel borders, a 30-pixel caption
    // and menu, a 32-pixel tool bar.
    const MainGeometry m{50, 20, 1600, 1000, 1584, 962, 32};
    const WindowLayout l = DefaultWindowLayout(m, 150);
    EXPECT_EQ(l.pictureLeft, 405);
    EXPECT_EQ(l.pictureTop, 0);
    EXPECT_EQ(l.pictureWidth, 1584 - 415);
    EXPECT_EQ(l.pictureHeight, 962 - 32 - 5);
    EXPECT_EQ(l.dialogLeft, 50 + 8 + 10);
    EXPECT_EQ(l.dialogTop, 20 + 38 + 32);
    EXPECT_EQ(l.transLeft, l.dialogLeft);
    EXPECT_EQ(l.transTop, 20 + 1000 - 15 - 150);
}

TEST(WindowLayout, APictureWindowNeverShrinksBelowItsMinimum) {
    std::mt19937 rng(3);
    for (int i = 0; i < 5000; ++i) {
        MainGeometry m;
        m.clientWidth = static_cast<int>(rng() % 1400);
        m.clientHeight = static_cast<int>(rng() % 1000);
        m.width = m.clientWidth + static_cast<int>(rng() % 20);
        m.height = m.clientHeight + static_cast<int>(rng() % 60);
        m.toolBarHeight = static_cast<int>(rng() % 60);
        const WindowLayout l = DefaultWindowLayout(m, 150);
        ASSERT_GE(l.pictureWidth, MinPictureWidth);
        ASSERT_GE(l.pictureHeight, MinPictureHeight);
        ASSERT_GE(l.pictureLeft, 0);
        ASSERT_LE(l.pictureLeft, 405);
        if (m.clientWidth - 415 >= MinPictureWidth) {
            ASSERT_EQ(l.pictureLeft, 405);
            ASSERT_EQ(l.pictureWidth, m.clientWidth - 415);
        } else if (m.clientWidth >= MinPictureWidth + 10) {
            ASSERT_EQ(l.pictureLeft + l.pictureWidth, m.clientWidth - 10);  // its right edge stays inside
        }
    }
}

TEST(PrintRectangle, ThePictureKeepsItsTrueSizeAtTheMargins) {
    const struct {
        const char* what;
        PrintDevice device;
        PrintPage page;
        QRect rect;
    } cases[] = {
        {"600-dpi printer, 300-dpi picture: 2 × 2 printer pixels per pixel", {600, 600, 0, 0}, {400, 300, 300, 0, 0},
         QRect(0, 0, 800, 600)},
        {"margins 20 mm and 10 mm at 300 dpi: 236 and 118 picture pixels", {600, 600, 0, 0}, {400, 300, 300, 20, 10},
         QRect(472, 236, 800, 600)},
        {"printable area offset", {600, 600, 50, 40}, {400, 300, 300, 20, 10}, QRect(422, 196, 800, 600)},
        {"unequal resolutions", {300, 600, 0, 0}, {96, 96, 96, 0, 0}, QRect(0, 0, 300, 600)},
        {"half pixels round to even", {150, 150, 0, 0}, {1, 3, 100, 0, 0}, QRect(0, 0, 2, 4)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = PrintRectangle(c.device, c.page);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(*r, c.rect);
    }
    EXPECT_FALSE(PrintRectangle({600, 600, 0, 0}, {400, 300, 0, 0, 0}));
    EXPECT_FALSE(PrintRectangle({0, 600, 0, 0}, {400, 300, 96, 0, 0}));
}

struct FakePrintHost : PrintHost {
    std::vector<std::string> printers;
    bool accept = true;
    QPrinter::OutputFormat format = QPrinter::NativeFormat;
    QString file, title;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    std::vector<std::string> printerNames() override { return printers; }
    bool choosePrinter(QPrinter& p) override {
        format = p.outputFormat();
        file = p.outputFileName();
        title = p.docName();
        orientation = p.pageLayout().orientation();
        return accept;
    }
};

// Without a printer the print dialog comes set up for a PDF file, with no
// message first; the page gets the picture's own pixels, losslessly, at the
// document's margins in the document's orientation.
TEST(PrintPicture, WithoutAPrinterAPdfFileOfThePicture) {
    Scratch s;
    auto doc = NewDocument();
    doc->Im.Dpi = 96;
    doc->Portrait = false;
    doc->Margin1 = 10;  // top
    doc->Margin2 = 20;  // left
    QImage picture(96, 48, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (int y = 0; y < 48; ++y)
        for (int x = y % 2; x < 96; x += 2) picture.setPixel(x, y, qRgb(0, 0, 255));

    PrintJob job;
    job.doc = doc.get();
    job.pictureWidth = picture.width();
    job.pictureHeight = picture.height();
    job.title = "task.pel";
    job.pdfFile = s.path("task.pdf");
    QRect painted;
    QPoint pageOffset;
    int dpi = 0;
    job.paint = [&](QPainter& p, const QRect& r) {
        painted = r;
        auto* printer = static_cast<QPrinter*>(p.device());
        dpi = printer->logicalDpiX();
        pageOffset = printer->pageRect(QPrinter::DevicePixel).topLeft().toPoint() -
                     printer->paperRect(QPrinter::DevicePixel).topLeft().toPoint();
        PaintImage(picture)(p, r);
    };

    FakePrintHost cancel;
    cancel.accept = false;
    EXPECT_FALSE(PrintPicture(job, cancel));
    EXPECT_TRUE(painted.isNull());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(job.pdfFile)));

    FakePrintHost host;
    ASSERT_TRUE(PrintPicture(job, host));
    EXPECT_EQ(host.format, QPrinter::PdfFormat);
    EXPECT_EQ(host.file.toStdString(), job.pdfFile);
    EXPECT_EQ(host.title, "task.pel");
    EXPECT_EQ(host.orientation, QPageLayout::Landscape);
    // One inch wide and half an inch high at the printer's resolution, its
    // corner 20 mm (76 picture pixels) from the paper's left edge and 10 mm
    // (38) from its top.
    ASSERT_GT(dpi, 0);
    EXPECT_EQ(painted.size(), QSize(dpi, dpi / 2));
    EXPECT_EQ(painted.topLeft() + pageOffset, QPoint(static_cast<int>(std::nearbyint(76.0 * dpi / 96)),
                                                     static_cast<int>(std::nearbyint(38.0 * dpi / 96))));
    const std::string pdf = ReadBytes(job.pdfFile);
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    // Landscape A4 in points; the picture as its 96 x 48 pixels, not as a JPEG.
    EXPECT_NE(pdf.find("/MediaBox [0 0 842"), std::string::npos);
    EXPECT_TRUE(std::regex_search(pdf, std::regex("/Width 96\\s+/Height 48\\s")));
    EXPECT_EQ(pdf.find("/DCTDecode"), std::string::npos);

    // With printers, no file name forced.
    FakePrintHost withPrinter;
    withPrinter.printers = {"office"};
    withPrinter.accept = false;
    EXPECT_FALSE(PrintPicture(job, withPrinter));
    EXPECT_TRUE(withPrinter.file.isEmpty());
}

}  // namespace
}  // namespace pelmar
