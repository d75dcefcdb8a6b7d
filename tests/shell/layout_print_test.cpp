// The default window layout and printing: the picture's rectangle on the
// paper, and a print run to a PDF file when the system has no printer.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QFile>
#include <algorithm>
#include <array>
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

// A main window of `frame` with the given border and caption (menu not
// included), a 32-pixel menu and tool bar, on a screen's available area.
MainGeometry Main(QRect frame, int border, int caption, QRect available, QSize transFrame, int dialogWidth = 0) {
    MainGeometry m;
    m.left = frame.left();
    m.top = frame.top();
    m.width = frame.width();
    m.height = frame.height();
    m.clientWidth = frame.width() - 2 * border;
    m.clientHeight = frame.height() - caption - 2 * border;
    m.toolBarHeight = 32;
    m.client = frame.topLeft() + QPoint(border, border + caption);
    m.available = available;
    m.transFrame = transFrame;
    m.dialogFrameWidth = dialogWidth;
    return m;
}

TEST(WindowLayout, DialogsBelowTheToolBarBesideThePictureAndAllOnTheScreen) {
    const QRect screen(0, 0, 1600, 1000), panel(0, 0, 1600, 970), offset(1920, 0, 1280, 1024);
    const struct {
        const char* what;
        MainGeometry main;
        QRect picture;  // in the client area
        QPoint dialog, trans;
    } cases[] = {
        {"a frame of 8-pixel borders and a 30-pixel caption at (50, 20)",
         Main({50, 20, 1600, 1000}, 8, 30, {}, {382, 150}), {405, 0, 1584 - 415, 954 - 32 - 5}, {68, 90},
         {68, 20 + 1000 - 15 - 150}},
        {"no window manager: no frames; the transformations window's frame as known",
         Main(screen, 0, 0, screen, {382, 150}), {405, 0, 1600 - 415, 1000 - 37}, {10, 32}, {10, 1000 - 165}},
        {"maximised under a window manager: the transformations window framed like the main window",
         Main(screen, 1, 19, screen, {384, 171}), {405, 0, 1598 - 415, 1000 - 21 - 37}, {11, 52},
         {11, 1000 - 15 - 171}},
        {"a main window reaching below the screen's panel: the transformations window stays above it",
         Main(screen, 1, 19, panel, {384, 171}), {405, 0, 1598 - 415, 1000 - 21 - 37}, {11, 52}, {11, 970 - 171}},
        {"a dialog wider than the strip: the picture window starts right of it",
         Main(screen, 1, 19, screen, {384, 171}, 440), {455, 0, 1598 - 465, 1000 - 21 - 37}, {11, 52},
         {11, 1000 - 15 - 171}},
        {"a main window left of its screen: the windows come onto the screen",
         Main({-200, 100, 1000, 700}, 4, 24, screen, {390, 178}, 300), {405, 0, 992 - 415, 700 - 32 - 32 - 5},
         {0, 160}, {0, 800 - 15 - 178}},
        {"a second screen right of the first", Main({1920, 0, 1280, 1024}, 2, 22, offset, {386, 174}),
         {405, 0, 1276 - 415, 1024 - 26 - 37}, {1932, 56}, {1932, 1024 - 15 - 174}},
    };
    for (const auto& c : cases) {
        const WindowLayout l = DefaultWindowLayout(c.main);
        EXPECT_EQ(QRect(l.pictureLeft, l.pictureTop, l.pictureWidth, l.pictureHeight), c.picture) << c.what;
        EXPECT_EQ(QPoint(l.dialogLeft, l.dialogTop), c.dialog) << c.what;
        EXPECT_EQ(QPoint(l.transLeft, l.transTop), c.trans) << c.what;
    }
}

TEST(WindowLayout, APictureWindowNeverShrinksBelowItsMinimumAndTheWindowsStayOnTheScreen) {
    std::mt19937 rng(3);
    auto r = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int i = 0; i < 5000; ++i) {
        const QRect area(r(400) - 200, r(100), 800 + r(1200), 600 + r(600));
        const int border = r(10), caption = r(40);
        const QRect frame(area.left() + r(600) - 300, area.top() + r(400) - 200, 2 * border + r(1400),
                          caption + 2 * border + r(1000));
        // The dialogs of the kinds as the fonts and words make them (none
        // measured yet, or each its own width), framed alike.
        std::array<int, KindCount> dialogs{};
        if (r(4)) std::generate(dialogs.begin(), dialogs.end(), [&] { return r(5) ? 360 + r(100) : 0; });
        const FrameMargins dialogFrame{r(4), r(30), r(4), r(4)};
        MainGeometry m = Main(frame, border, caption, area, {382 + r(20), 150 + r(40)}, DialogRoom(dialogs, dialogFrame));
        m.toolBarHeight = r(60);
        const WindowLayout l = DefaultWindowLayout(m);
        ASSERT_GE(l.pictureWidth, MinPictureWidth);
        ASSERT_GE(l.pictureHeight, MinPictureHeight);
        ASSERT_GE(l.pictureLeft, 0);
        const int strip = std::max(405, m.dialogFrameWidth + 15);
        ASSERT_LE(l.pictureLeft, strip);
        if (m.clientWidth - strip - 10 >= MinPictureWidth) {
            ASSERT_EQ(l.pictureLeft, strip);
            ASSERT_EQ(l.pictureWidth, m.clientWidth - strip - 10);
            // Whichever dialog stands at the dialogs' place, the picture
            // window is the same and stays clear of it.
            for (int w : dialogs) {
                if (l.dialogLeft > m.client.x() + 10) break;  // moved right onto the screen
                ASSERT_LE(l.dialogLeft + dialogFrame.grow({w, 1}).width() + 5, m.client.x() + l.pictureLeft) << i;
            }
        } else if (m.clientWidth >= MinPictureWidth + 10) {
            ASSERT_EQ(l.pictureLeft + l.pictureWidth, m.clientWidth - 10);  // its right edge stays inside
        }
        // The transformations window wholly on the screen, the dialogs' corner too.
        ASSERT_TRUE(area.contains(QRect(QPoint(l.transLeft, l.transTop), m.transFrame))) << i;
        ASSERT_TRUE(area.contains(QPoint(l.dialogLeft, l.dialogTop))) << i;
        // Where the main window's tool bar is on the screen, the dialogs stand just below it.
        const QPoint below = m.client + QPoint(10, m.toolBarHeight);
        if (area.contains(QRect(below, QSize(std::max(m.dialogFrameWidth, 1), 1)))) {
            ASSERT_EQ(QPoint(l.dialogLeft, l.dialogTop), below) << i;
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
