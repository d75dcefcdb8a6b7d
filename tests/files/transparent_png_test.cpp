#include <gtest/gtest.h>

#include "drawing/redraw.h"
#include "file_test_util.h"
#include "files/picture_export.h"
#include "files/picture_recording.h"
#include "support/fake_export_host.h"
#include "support/recording_canvas.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

constexpr Rgb Black = MakeRgb(0, 0, 0);
constexpr Rgb Red = MakeRgb(255, 0, 0);

QImage Fold(int w, int h, const PictureRecording& pic, const QImage* fills = nullptr,
            std::vector<int>* percents = nullptr) {
    return FoldTransparent(w, h, fills, pic, [&](int p) {
        if (percents) percents->push_back(p);
    });
}

}  // namespace

TEST(TransparentFold, OpacityIsTheShareOfNonWhitePixels) {
    PictureRecording pic;
    // At four times the size: block (0,0) gets 8 of 16 pixels, block (1,0) all
    // 16, block (2,0) one, block (0,1) none.
    pic.fillRect(Black, {0, 0, 0.5, 1});
    pic.fillRect(Red, {1, 0, 1, 1});
    pic.fillRect(MakeRgb(0, 0, 255), {2, 0, 0.25, 0.25});
    const QImage out = Fold(3, 2, pic);
    ASSERT_EQ(out.size(), QSize(3, 2));
    ASSERT_EQ(out.format(), QImage::Format_RGBA8888);
    EXPECT_EQ(out.pixelColor(0, 0), QColor(0, 0, 0, 128));  // 127.5 rounds to even
    EXPECT_EQ(out.pixelColor(1, 0), QColor(255, 0, 0, 255));
    EXPECT_EQ(out.pixelColor(2, 0), QColor(0, 0, 255, 16));
    EXPECT_EQ(out.pixelColor(0, 1), QColor(255, 255, 255, 0));
}

TEST(TransparentFold, ColourIsTheMeanOfTheCountedPixels) {
    PictureRecording pic;
    pic.fillRect(MakeRgb(200, 0, 0), {0, 0, 0.5, 1});
    pic.fillRect(MakeRgb(0, 0, 100), {0.5, 0, 0.5, 1});
    const QImage out = Fold(1, 1, pic);
    EXPECT_EQ(out.pixelColor(0, 0), QColor(100, 0, 50, 255));
}

TEST(TransparentFold, OddHeightKeepsEveryRowAndReportsProgress) {
    PictureRecording pic;
    pic.fillRect(Black, {0, 4, 1, 1});  // the last row of a five-row picture
    std::vector<int> percents;
    const QImage out = Fold(2, 5, pic, nullptr, &percents);
    ASSERT_EQ(out.height(), 5);
    EXPECT_EQ(out.pixelColor(0, 4).alpha(), 255);
    EXPECT_EQ(out.pixelColor(1, 4).alpha(), 0);
    for (int y = 0; y < 4; ++y) EXPECT_EQ(out.pixelColor(0, y).alpha(), 0) << y;
    // 20 large rows: 3 strips.
    EXPECT_EQ(percents, (std::vector<int>{33, 67, 100}));
}

TEST(TransparentFold, WhitePictureIsFullyTransparent) {
    PictureRecording pic;
    pic.fillRect(MakeRgb(255, 255, 255), {0, 0, 7, 3});
    const QImage out = Fold(7, 3, pic);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_EQ(out.pixelColor(x, y), QColor(255, 255, 255, 0));
}

TEST(TransparentFold, FillPictureLiesUnderTheDrawing) {
    QImage fills(4, 4, QImage::Format_ARGB32_Premultiplied);
    fills.fill(Qt::white);
    fills.setPixelColor(1, 1, QColor(0, 200, 0));
    PictureRecording pic;
    pic.fillRect(Red, {3, 3, 1, 1});
    const QImage out = Fold(4, 4, pic, &fills);
    EXPECT_EQ(out.pixelColor(1, 1), QColor(0, 200, 0, 255));
    EXPECT_EQ(out.pixelColor(3, 3), QColor(255, 0, 0, 255));
    EXPECT_EQ(out.pixelColor(0, 0).alpha(), 0);
}

TEST(TransparentFold, EdgesOfALineArePartlyTransparent) {
    PictureRecording pic;
    Pen pen;
    pen.width = 1.5;
    pen.color = Black;
    pen.roundCaps = false;
    pic.drawLine(pen, {2, 3}, {37, 20});
    const QImage out = Fold(40, 24, pic);
    int partial = 0, opaque = 0;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QColor c = out.pixelColor(x, y);
            if (c.alpha() == 255) ++opaque;
            if (c.alpha() > 0 && c.alpha() < 255) {
                ++partial;
                EXPECT_EQ(c.rgb() & 0xFFFFFFu, 0u);  // the colour stays the line's
            }
        }
    EXPECT_GT(partial, 20);
    EXPECT_GT(opaque, 10);
    EXPECT_EQ(out.pixelColor(39, 0).alpha(), 0);
}

TEST(PictureRecording, ReplaysEnlargedAndShifted) {
    PictureRecording pic;
    Pen pen;
    pen.width = 2;
    pic.setAntialias(true);
    pic.setRotation(30, {5, 5});
    pic.drawLine(pen, {1, 2}, {3, 4});
    pic.resetTransform();
    pic.setClipRect({0, 0, 10, 10});
    pic.fillEllipse(Red, {1, 1, 2, 2});
    Font font;
    font.pixelSize = 10;
    pic.drawText(font, Black, "A", {1, 1}, {});
    ASSERT_EQ(pic.size(), 7u);
    RecordingCanvas rec;
    pic.replay(rec, 4, 0, -8, false);
    const auto& l = rec.lines();
    ASSERT_EQ(l.size(), 6u);  // the smoothing switch is not passed on
    EXPECT_NE(l[0].find(RecordingCanvas::Point({20, 12})), std::string::npos) << l[0];
    EXPECT_NE(l[1].find(RecordingCanvas::Point({4, 0})), std::string::npos) << l[1];
    EXPECT_NE(l[1].find(RecordingCanvas::Point({12, 8})), std::string::npos) << l[1];
    EXPECT_NE(l[1].find("pen(8"), std::string::npos) << l[1];
    EXPECT_NE(l[3].find(RecordingCanvas::Rect({0, -8, 40, 40})), std::string::npos) << l[3];
    EXPECT_NE(l[4].find(RecordingCanvas::Rect({4, -4, 8, 8})), std::string::npos) << l[4];
    EXPECT_NE(l[5].find("40"), std::string::npos) << l[5];  // the font grows too
}

TEST(TransparentPng, SavedWithAlphaResolutionAndProgressWindow) {
    Scratch s;
    auto proj = std::make_unique<DProj>();
    DrawingState st;
    proj->Im.Width = 6;
    proj->Im.Height = 3;
    proj->Im.Dpi = 96;
    proj->Im.PicMode = 1;
    *st.DrawProj = *proj;
    FakeExportHost host;
    host.metaPicture = [](Canvas& c) { c.fillRect(Red, {0, 0, 3, 3}); };
    const std::string path = s.path("t.png");
    EXPECT_EQ(SaveTransparentPng(path, *proj, st, host), "");
    EXPECT_FALSE(host.progressOpen);
    EXPECT_EQ(host.progress, (std::vector<std::string>{"50%", "100%"}));
    const std::string b = ReadBytes(path);
    EXPECT_EQ(static_cast<unsigned char>(b[25]), 6);  // RGBA
    const std::size_t at = b.find("pHYs");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(Be32(b, at + 4), 3780u);
    const QImage back = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGBA8888);
    ASSERT_EQ(back.size(), QSize(6, 3));
    EXPECT_EQ(back.pixelColor(1, 1), QColor(255, 0, 0, 255));
    EXPECT_EQ(back.pixelColor(4, 1).alpha(), 0);

    // The fill picture is drawn under the drawing only while it is valid.
    st.BackPng = QImage(6, 3, QImage::Format_ARGB32_Premultiplied);
    st.BackPng.fill(QColor(0, 0, 255));
    proj->FillValid = 0;
    ASSERT_EQ(SaveTransparentPng(path, *proj, st, host), "");
    EXPECT_EQ(QImage(QString::fromStdString(path)).pixelColor(4, 1).alpha(), 0);
    proj->FillValid = 1;
    ASSERT_EQ(SaveTransparentPng(path, *proj, st, host), "");
    EXPECT_EQ(QImage(QString::fromStdString(path)).pixelColor(4, 1), QColor(0, 0, 255, 255));

    // A resolution beyond the file's 32 bits fails before anything is written.
    proj->Im.Dpi = -5;
    const std::string other = s.path("u.png");
    EXPECT_NE(SaveTransparentPng(other, *proj, st, host), "");
    EXPECT_FALSE(std::filesystem::exists(other));
}
