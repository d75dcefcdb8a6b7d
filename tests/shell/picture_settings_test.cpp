// The picture settings without their window: the print page's sizes,
// margins and preview, OK's writing into the document, the background
// picture's reading and fitting, and the fill settings' reading.
#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "model/units.h"
#include "shell/picture_settings.h"
#include "shell_test_util.h"

namespace pelmar {
namespace {

using test::Scratch;

TEST(PictureSettings, PaperMarginsAndCentring) {
    EXPECT_EQ(PaperItemOf(210, 297), 0);
    EXPECT_EQ(PaperItemOf(364, 515), 9);
    EXPECT_EQ(PaperItemOf(297, 210), OtherPaper) << "a turned sheet is not in the table";
    // Typed in centimetres, either separator; no paper of 0 or less.
    EXPECT_EQ(PaperSideOfText("29,7"), 297);
    EXPECT_EQ(PaperSideOfText("29.7"), 297);
    for (const char* bad : {"0", "-21", "0,04", "", "-", "1e300", "abc"})
        EXPECT_FALSE(PaperSideOfText(bad)) << bad;
    EXPECT_EQ(MarginOfText("-1,5"), -15);
    EXPECT_EQ(CmText(84), "8,4");

    PictureSettings s = NewProjectSettings();  // A4, 500 x 500 at 300 dpi
    EXPECT_EQ(CentredLeftMargin(s), 84);        // (210 - 42.33) / 2
    EXPECT_EQ(CentredTopMargin(s), 127);        // (297 - 42.33) / 2
    s.Portrait = false;
    EXPECT_EQ(CentredLeftMargin(s), 127) << "across a turned page is along the paper's height";
    EXPECT_EQ(CentredTopMargin(s), 84);
    s.Width = s.Height = 5000;  // 42 cm: larger than the page either way
    EXPECT_EQ(std::make_pair(CentredLeftMargin(s), CentredTopMargin(s)), std::make_pair(0, 0));

    // An empty centimetre text is 1 cm; sizes stay within the spin edits' range.
    EXPECT_EQ(PixelsOfCmText("", 300), CmToPix(300, 1));
    EXPECT_EQ(PixelsOfCmText("4,233", 300), 500);
    EXPECT_EQ(PixelsOfCmText("4.233", 300), 500);
    EXPECT_EQ(PixelsOfCmText("1000", 600), MaxPictureSide);
    EXPECT_EQ(PixelsOfCmText("0", 72), MinPictureSide);
    EXPECT_FALSE(PixelsOfCmText("x", 72));
}

TEST(PictureSettings, PrintPreviewKeepsTheSheetInTheBoxInBothOrientations) {
    std::mt19937 rng(27);
    std::uniform_int_distribution<int> paper(1, 1200), margin(-50, 400), side(1, 5000);
    for (int i = 0; i < 2000; ++i) {
        PictureSettings s;
        s.PaperWidth = paper(rng);
        s.PaperHeight = paper(rng);
        s.MarginTop = margin(rng);
        s.MarginLeft = margin(rng);
        s.Width = side(rng);
        s.Height = side(rng);
        s.Dpi = Resolutions[static_cast<std::size_t>(i) % Resolutions.size()];
        s.Portrait = true;
        const auto up = PrintPreviewOf(s);
        s.Portrait = false;
        const auto turned = PrintPreviewOf(s);
        ASSERT_TRUE(up && turned);
        EXPECT_EQ(up->sheet, turned->sheet) << "the sheet is drawn standing in both orientations";
        EXPECT_TRUE(QRect(0, 0, 135, 150).contains(up->sheet)) << s.PaperWidth << " x " << s.PaperHeight;
        EXPECT_EQ(std::max(up->sheet.width(), up->sheet.height()), 120);
        // Turned, the picture's width runs down the sheet.
        EXPECT_EQ(turned->picture.size(), up->picture.size().transposed());
        EXPECT_EQ(turned->picture.top() - turned->sheet.top(), up->picture.left() - up->sheet.left());
    }
    PictureSettings none;
    for (auto [w, h] : {std::pair{0, 297}, {210, 0}, {-5, 10}}) {
        none.PaperWidth = w;
        none.PaperHeight = h;
        EXPECT_FALSE(PrintPreviewOf(none));
        QImage img(135, 150, QImage::Format_RGB32);
        DrawPrintPreview(img, none, QImage());  // draws nothing, divides by nothing
    }

    // A4 portrait with a 20 mm margin: the picture's frame where the margins put it.
    PictureSettings a4 = NewProjectSettings();
    QImage img(135, 150, QImage::Format_RGB32);
    img.fill(Qt::gray);
    QImage red(50, 50, QImage::Format_RGB32);
    red.fill(Qt::red);
    DrawPrintPreview(img, a4, red);
    const auto l = PrintPreviewOf(a4);
    EXPECT_EQ(img.pixelColor(l->sheet.topLeft()), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(l->sheet.center() + QPoint(0, 40)), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(l->picture.center()), QColor(Qt::red));

    // Landscape: the picture's top edge lies along the sheet's right side.
    QImage topBlue(60, 40, QImage::Format_RGB32);
    topBlue.fill(Qt::red);
    for (int x = 0; x < 60; ++x)
        for (int y = 0; y < 10; ++y) topBlue.setPixelColor(x, y, Qt::blue);
    a4.Portrait = false;
    a4.Width = 1200;
    a4.Height = 800;
    DrawPrintPreview(img, a4, topBlue);
    const QRect r = PrintPreviewOf(a4)->picture;
    EXPECT_EQ(img.pixelColor(r.right() - 2, r.center().y()), QColor(Qt::blue));
    EXPECT_EQ(img.pixelColor(r.left() + 2, r.center().y()), QColor(Qt::red));
}

TEST(PictureSettings, OkStoresTheCopyAndMarksTheShadingStaleOnlyForAFillOrSizeChange) {
    auto doc = std::make_unique<DProj>();
    doc->FillValid = 1;
    PictureSettings s = SettingsOf(*doc);
    s.PaperWidth = 100;
    s.PaperHeight = 150;
    s.Notes = {"a", "", "c"};
    s.Fill.LightX += 5e-6;  // within NearlyEqual
    StorePictureSettings(*doc, s);
    EXPECT_EQ(doc->FillValid, 1) << "paper, notes and a tiny move keep the shading";
    EXPECT_EQ(doc->PaperWidth, 100);
    EXPECT_EQ(doc->Notes[2], "c");

    // Each fill field on its own marks the shading stale.
    std::mt19937 rng(5);
    for (int field = 0; field < 10; ++field) {
        PictureSettings t = SettingsOf(*doc);
        FillSettings& f = t.Fill;
        switch (field) {
            case 0: f.LightSource = 2; break;
            case 1: f.TwoColors = 1; break;
            case 2: f.BorderPercent = std::nextafter(f.BorderPercent, 100.0); break;  // exactly compared
            case 3: f.BorderAngle = f.BorderAngle == 90 ? 180 : 90; break;
            default: {
                std::array<double*, 6> c{&f.LightX, &f.LightY, &f.LightZ, &f.LightDX, &f.LightDY, &f.LightDZ};
                *c[static_cast<std::size_t>(field - 4)] += 2e-5;
            }
        }
        doc->FillValid = 1;
        StorePictureSettings(*doc, t);
        EXPECT_EQ(doc->FillValid, 0) << "field " << field;
        EXPECT_FALSE(FillSettingsDiffer(doc->Im, t.Fill));
    }

    // The shading of a picture of another size is made again.
    doc->FillValid = 1;
    s = SettingsOf(*doc);
    s.Height += 200;
    StorePictureSettings(*doc, s);
    EXPECT_EQ(doc->FillValid, 0);

    // A vector picture is white whatever the copy held; only New sets the animation.
    s = SettingsOf(*doc);
    s.Background = 0x00FF00;
    s.PicMode = 1;
    doc->AnimStart = "t0";
    StoredSettings r = StorePictureSettings(*doc, s);
    EXPECT_EQ(doc->Im.Background, 0xFFFFFFu);
    EXPECT_TRUE(r.modeChanged);
    EXPECT_FALSE(r.backgroundChanged);
    EXPECT_EQ(doc->AnimStart, "t0");
    StorePictureSettings(*doc, NewProjectSettings(), true);
    EXPECT_EQ(std::make_tuple(doc->AnimFrames, doc->AnimDelay, doc->AnimStart, doc->AnimStep, doc->AnimLoop),
              std::make_tuple(30, 30, std::string("0"), std::string("1"), true))
        << "t starts at 0 and steps by 1, so the frames differ";
    EXPECT_EQ(std::make_tuple(doc->Im.Width, doc->Im.Dpi, doc->Im.BorderAngle, doc->Im.LightDY),
              std::make_tuple(500, 300, 180, 0.354));
}

TEST(PictureSettings, NotesOfTheMemo) {
    using N = std::array<std::string, 3>;
    EXPECT_EQ(NotesOfMemo("one\ntwo\nthree"), (N{"one", "two", "three"}));
    EXPECT_EQ(NotesOfMemo("one"), (N{"one", "", ""})) << "deleted lines leave no old note behind";
    EXPECT_EQ(NotesOfMemo(""), (N{"", "", ""}));
    EXPECT_EQ(NotesOfMemo("a\r\n\nc\nd"), (N{"a", "", "c"}));
    // Every break the box shows ends a note.
    EXPECT_EQ(NotesOfMemo("a\rb\u2028c\u2029d"), (N{"a", "b", "c"}));
    EXPECT_EQ(NotesOfMemo("\u2028\r\n"), (N{"", "", ""}));
}

TEST(PictureSettings, FillEditsFallBack) {
    struct Case {
        const char* text;
        double border, pos, dir;
    };
    const Case cases[] = {
        {"100", 50, 100, 100}, {"99.5", 99.5, 99.5, 99.5}, {"99,5", 99.5, 99.5, 99.5}, {"0", 50, 0, 0},
        {"", 50, 500, 1},      {"x", 50, 500, 1},          {"-20", 50, -20, -20},      {"1e-3", 0.001, 0.001, 0.001},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BorderOfText(c.text), c.border) << c.text;
        EXPECT_EQ(LightPosOfText(c.text), c.pos) << c.text;
        FillSettings f;
        f.LightDX = f.LightDY = 1;
        StoreLightDirText(f, 2, c.text);
        EXPECT_EQ(f.LightDZ, c.dir) << c.text;
    }
    // A direction left null gets the edited component back as 1.
    FillSettings f;
    f.LightDX = f.LightDY = 0;
    f.LightDZ = 1;
    StoreLightDirText(f, 2, "0");
    EXPECT_EQ(std::make_tuple(f.LightDX, f.LightDY, f.LightDZ), std::make_tuple(0.0, 0.0, 1.0));
    StoreLightDirText(f, 0, "0,0001");
    EXPECT_EQ(f.LightDX, 0.0001) << "a short direction that is not null stays";
}

TEST(PictureSettings, BackgroundPictureByContentWithItsLimits) {
    Scratch dir;
    auto save = [&](const std::string& name, int w, int h, const char* format) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(QColor(10, 200, 30));
        EXPECT_TRUE(img.save(QString::fromStdString(dir.path(name)), format));
        return dir.path(name);
    };
    struct Case {
        std::string file;
        BackgroundRead read;
        int limit;
    };
    test::WriteBytes(dir.path("text.jpg"), "not a picture at all");
    const Case cases[] = {
        {save("jpeg-named.bmp", 40, 30, "JPG"), BackgroundRead::Loaded, 0},
        {save("bitmap.JPG", 40, 30, "BMP"), BackgroundRead::Loaded, 0},
        {save("upper.JPEG", 40, 30, "JPG"), BackgroundRead::Loaded, 0},
        {save("wide.jpg", 3001, 8, "JPG"), BackgroundRead::TooLarge, JpegSideLimit},
        {save("tall.jpg", 8, 3000, "JPG"), BackgroundRead::Loaded, 0},
        {save("wide.bmp", 2001, 2, "BMP"), BackgroundRead::TooLarge, BmpSideLimit},
        {save("png.png", 4, 4, "PNG"), BackgroundRead::Unreadable, 0},
        {dir.path("text.jpg"), BackgroundRead::Unreadable, 0},
        {dir.path("missing.jpg"), BackgroundRead::Missing, 0},
    };
    for (const Case& c : cases) {
        QImage old(3, 3, QImage::Format_RGB32);
        old.fill(Qt::blue);
        QImage pic = old;
        const BackgroundResult r = ReadBackgroundPicture(c.file, pic);
        EXPECT_EQ(r.read, c.read) << c.file;
        EXPECT_EQ(r.limit, c.limit) << c.file;
        if (c.read == BackgroundRead::Loaded) EXPECT_NE(pic.size(), old.size()) << c.file;
        else EXPECT_EQ(pic, old) << "the old picture stays: " << c.file;
    }
    EXPECT_EQ(TooLargeText(3000), "Один из размеров файла-фона превышает 3000 пикселей!");

    // An opened document's background, fitted to its picture by its mode.
    auto doc = std::make_unique<DProj>();
    doc->Im.Width = 20;
    doc->Im.Height = 50;
    doc->Im.BackSizeMode = 1;
    QImage back;
    for (auto [file, loaded, size] : {std::tuple{save("doc.jpg", 40, 30, "JPG"), 1, QSize(20, 15)},
                                      {dir.path("wide.jpg"), 0, QSize(20, 15)},
                                      {dir.path("gone.jpg"), 1, QSize(20, 15)}}) {
        doc->Im.BackPicture = file;
        LoadDocumentBackground(*doc, back);
        EXPECT_EQ(doc->Im.BackLoaded, loaded) << file;
        EXPECT_EQ(back.size(), size) << file;
    }
}

TEST(PictureSettings, BackgroundFittedByItsThreeModes) {
    QImage back(300, 100, QImage::Format_RGB32);
    back.fill(Qt::red);
    EXPECT_EQ(FitBackground(back, 200, 200, 0).size(), QSize(200, 100)) << "cut to the picture";
    EXPECT_EQ(FitBackground(back, 400, 50, 0).size(), QSize(300, 50));
    EXPECT_EQ(FitBackground(back, 150, 999, 1).size(), QSize(150, 50)) << "to the width";
    EXPECT_EQ(FitBackground(back, 999, 300, 2).size(), QSize(900, 300)) << "to the height";
    EXPECT_EQ(FitBackground(back, 1, 999, 1).size(), QSize(1, 1)) << "never a side of 0";
    EXPECT_EQ(BackgroundPreviewSize(500, 250), QSize(100, 50));
    EXPECT_EQ(BackgroundPreviewSize(250, 500), QSize(50, 100));
    // The preview: the fitted picture over the background colour.
    const QImage p = BackgroundPreview(FitBackground(back, 600, 600, 1), 600, 600, 0x00FF00);
    EXPECT_EQ(p.pixelColor(50, 10), QColor(Qt::red));
    EXPECT_EQ(p.pixelColor(50, 90), QColor(0, 255, 0));
}

}  // namespace
}  // namespace pelmar
