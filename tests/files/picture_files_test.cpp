#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <gif_lib.h>
#include <jpeglib.h>
#include <set>

#include "file_test_util.h"
#include "files/picture_files.h"

using namespace pelmar;
using namespace pelmar::test;
namespace fs = std::filesystem;

namespace {

struct JpegInfo {
    int components = 0;
    J_COLOR_SPACE space = JCS_UNKNOWN;
    int unit = -1, xDensity = 0, yDensity = 0;
    int width = 0, height = 0;
};

JpegInfo ReadJpegHeader(const std::string& path) {
    JpegInfo info;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return info;
    jpeg_decompress_struct d;
    jpeg_error_mgr err;
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_stdio_src(&d, f);
    jpeg_read_header(&d, TRUE);
    info.components = d.num_components;
    info.space = d.jpeg_color_space;
    info.unit = d.density_unit;
    info.xDensity = d.X_density;
    info.yDensity = d.Y_density;
    info.width = static_cast<int>(d.image_width);
    info.height = static_cast<int>(d.image_height);
    jpeg_destroy_decompress(&d);
    std::fclose(f);
    return info;
}

struct Gif {
    GifFileType* g = nullptr;
    explicit Gif(const std::string& path) {
        int err = 0;
        g = DGifOpenFileName(path.c_str(), &err);
        if (g && DGifSlurp(g) != GIF_OK) {
            DGifCloseFile(g, &err);
            g = nullptr;
        }
    }
    ~Gif() {
        int err = 0;
        if (g) DGifCloseFile(g, &err);
    }
    const ColorMapObject* map() const {
        return g->SavedImages[0].ImageDesc.ColorMap ? g->SavedImages[0].ImageDesc.ColorMap : g->SColorMap;
    }
    std::uint32_t color(int x, int y) const {
        const int idx = g->SavedImages[0].RasterBits[y * g->SWidth + x];
        const GifColorType c = map()->Colors[idx];
        return (static_cast<std::uint32_t>(c.Red) << 16) | (c.Green << 8) | c.Blue;
    }
    int index(int x, int y) const { return g->SavedImages[0].RasterBits[y * g->SWidth + x]; }
    int transparentIndex() const {
        GraphicsControlBlock gcb;
        if (DGifSavedExtensionToGCB(g, 0, &gcb) != GIF_OK) return -2;  // no control block
        return gcb.TransparentColor;
    }
};

// Offset of a PNG chunk's data, or npos.
std::size_t PngChunk(const std::string& bytes, const char* type) {
    std::size_t at = 8;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t len = Be32(bytes, at);
        if (bytes.compare(at + 4, 4, type) == 0) return at + 8;
        at += 12 + len;
    }
    return std::string::npos;
}

QImage Flat(int w, int h, std::initializer_list<QColor> stripes) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    const int n = static_cast<int>(stripes.size());
    int i = 0;
    for (const QColor& c : stripes) {
        for (int y = 0; y < h; ++y)
            for (int x = i * w / n; x < (i + 1) * w / n; ++x) img.setPixelColor(x, y, c);
        ++i;
    }
    return img;
}

}  // namespace

TEST(Rounding, HalfToEvenAtEveryDigitCount) {
    EXPECT_EQ(RoundToDigits(0, 2.5L), 2.0L);
    EXPECT_EQ(RoundToDigits(0, 3.5L), 4.0L);
    EXPECT_EQ(RoundToDigits(0, -2.5L), -2.0L);
    EXPECT_EQ(RoundToDigits(0, 96 * 39.4L), 3782.0L);
    EXPECT_EQ(RoundToDigits(0, 300 * 39.4L), 11820.0L);
    EXPECT_NEAR(static_cast<double>(RoundToDigits(2, 1.125L)), 1.12, 1e-12);
    EXPECT_NEAR(static_cast<double>(RoundToDigits(3, 2.71828L)), 2.718, 1e-12);
    // Ten to the power of the digits is exact: two digits keep 100, not 99.
    EXPECT_NEAR(static_cast<double>(RoundToDigits(2, 0.5L)), 0.5, 1e-12);
    // Negative digits round to tens and stay finite.
    EXPECT_EQ(RoundToDigits(-1, 1234.0L), 1230.0L);
    EXPECT_EQ(RoundToDigits(-2, 1250.0L), 1200.0L);
}

TEST(Rounding, PngPixelsPerMetre) {
    EXPECT_EQ(PngPixelsPerMetre(96), 3780u);
    EXPECT_EQ(PngPixelsPerMetre(300), 11811u);
    EXPECT_EQ(PngPixelsPerMetre(0), 0u);
    EXPECT_FALSE(PngPixelsPerMetre(-1).has_value());
    EXPECT_FALSE(PngPixelsPerMetre(200000000).has_value());  // beyond 32 bits
}

TEST(Bmp, TwentyFourBitsReadBackWithStampedResolution) {
    Scratch s;
    const std::string path = s.path("a.bmp");
    const QImage pic = DrawingPicture();
    ASSERT_EQ(WriteBmpFile(path, pic, 24), "");
    ASSERT_TRUE(StampResolution(path, 96, 96));
    const std::string b = ReadBytes(path);
    ASSERT_GE(b.size(), 54u);
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(Le32(b, 2), b.size());
    EXPECT_EQ(static_cast<unsigned char>(b[28]), 24);
    EXPECT_EQ(Le32(b, 38), 3782u);
    EXPECT_EQ(Le32(b, 42), 3782u);
    QImage back(QString::fromStdString(path));
    ASSERT_FALSE(back.isNull());
    ASSERT_EQ(back.size(), pic.size());
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) ASSERT_EQ(back.pixel(x, y) | 0xFF000000u, pic.pixel(x, y)) << x << "," << y;
    EXPECT_FALSE(fs::exists(path + ".part"));
}

TEST(Bmp, IndexedDepthsKeepFewColoursExactly) {
    Scratch s;
    const QImage two = Flat(9, 5, {Qt::white, Qt::black});
    const QImage sixteen = Flat(32, 3, {Qt::white, Qt::black, Qt::red, Qt::green, Qt::blue, Qt::cyan, Qt::magenta,
                                        Qt::yellow, Qt::gray, Qt::darkRed, Qt::darkGreen, Qt::darkBlue, Qt::darkCyan,
                                        Qt::darkMagenta, Qt::darkYellow, Qt::lightGray});
    struct Case {
        const QImage* pic;
        int bits;
    } cases[] = {{&two, 1}, {&sixteen, 4}, {&sixteen, 8}};
    for (const Case& c : cases) {
        const std::string path = s.path("d" + std::to_string(c.bits) + ".bmp");
        ASSERT_EQ(WriteBmpFile(path, *c.pic, c.bits), "");
        const std::string b = ReadBytes(path);
        EXPECT_EQ(static_cast<unsigned char>(b[28]), c.bits);
        // Rows padded to four bytes.
        const std::size_t stride = ((static_cast<std::size_t>(c.pic->width()) * c.bits + 31) / 32) * 4;
        EXPECT_EQ(b.size(), 54 + 4 * (1u << c.bits) + stride * static_cast<std::size_t>(c.pic->height()));
        QImage back(QString::fromStdString(path));
        ASSERT_FALSE(back.isNull()) << c.bits;
        for (int y = 0; y < c.pic->height(); ++y)
            for (int x = 0; x < c.pic->width(); ++x)
                ASSERT_EQ(back.pixel(x, y) | 0xFF000000u, c.pic->pixel(x, y)) << c.bits << " " << x << "," << y;
    }
}

TEST(Bmp, RichPictureReducedToDepth) {
    Scratch s;
    const QImage pic = DrawingPicture();
    for (int bits : {1, 4, 8}) {
        const std::string path = s.path("r" + std::to_string(bits) + ".bmp");
        ASSERT_EQ(WriteBmpFile(path, pic, bits), "");
        QImage back(QString::fromStdString(path));
        ASSERT_FALSE(back.isNull());
        std::set<QRgb> colours;
        for (int y = 0; y < back.height(); ++y)
            for (int x = 0; x < back.width(); ++x) colours.insert(back.pixel(x, y));
        EXPECT_LE(colours.size(), 1u << bits);
        // The white background and the black frame survive every depth.
        EXPECT_EQ(back.pixel(60, 35) | 0xFF000000u, 0xFFFFFFFFu) << bits;
        EXPECT_EQ(back.pixel(0, 0) | 0xFF000000u, 0xFF000000u) << bits;
        if (bits == 8) {
            // 256 colours stay close to the picture.
            for (int y = 0; y < pic.height(); ++y)
                for (int x = 0; x < pic.width(); ++x) {
                    const QColor a = pic.pixelColor(x, y), b = back.pixelColor(x, y);
                    ASSERT_LE(std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()),
                              48)
                        << x << "," << y;
                }
        }
    }
}

TEST(Bmp, RefusesBadDepthAndEmptyPicture) {
    Scratch s;
    EXPECT_NE(WriteBmpFile(s.path("x.bmp"), DrawingPicture(), 16), "");
    EXPECT_NE(WriteBmpFile(s.path("y.bmp"), QImage(), 24), "");
    EXPECT_FALSE(fs::exists(s.path("x.bmp")));
    EXPECT_FALSE(fs::exists(s.path("y.bmp")));
}

TEST(Jpeg, QualityGreyAndStampedDensity) {
    Scratch s;
    const QImage pic = DrawingPicture();
    const std::string hi = s.path("hi.jpg"), lo = s.path("lo.jpg"), grey = s.path("grey.jpg");
    ASSERT_EQ(WriteJpegFile(hi, pic, 100, false), "");
    ASSERT_EQ(WriteJpegFile(lo, pic, 10, false), "");
    ASSERT_EQ(WriteJpegFile(grey, pic, 100, true), "");
    EXPECT_LT(fs::file_size(lo), fs::file_size(hi));

    ASSERT_TRUE(StampResolution(hi, 96, 96));
    const std::string b = ReadBytes(hi);
    ASSERT_EQ(b.substr(6, 4), "JFIF");
    EXPECT_EQ(static_cast<unsigned char>(b[13]), 1);  // dots per inch
    EXPECT_EQ(b.substr(14, 4), std::string("\x00\x60\x00\x60", 4));
    const JpegInfo info = ReadJpegHeader(hi);
    EXPECT_EQ(info.components, 3);
    EXPECT_EQ(info.unit, 1);
    EXPECT_EQ(info.xDensity, 96);
    EXPECT_EQ(info.yDensity, 96);
    EXPECT_EQ(info.width, pic.width());

    ASSERT_TRUE(StampResolution(grey, 300, 150));
    const JpegInfo g = ReadJpegHeader(grey);
    EXPECT_EQ(g.components, 1);
    EXPECT_EQ(g.space, JCS_GRAYSCALE);
    EXPECT_EQ(g.xDensity, 300);
    EXPECT_EQ(g.yDensity, 150);

    QImage back(QString::fromStdString(hi));
    ASSERT_FALSE(back.isNull());
    const QColor red = back.pixelColor(20, 20);
    EXPECT_GT(red.red(), 230);
    EXPECT_LT(red.green(), 30);
}

TEST(Stamp, DensityBeyondSixteenBitsKeptWhole) {
    Scratch s;
    const std::string bmp = s.path("big.bmp"), jpg = s.path("big.jpg");
    ASSERT_EQ(WriteBmpFile(bmp, DrawingPicture(8, 8), 24), "");
    ASSERT_TRUE(StampResolution(bmp, 2000, 3000));
    std::string b = ReadBytes(bmp);
    EXPECT_EQ(Le32(b, 38), 78800u);  // more than 16 bits
    EXPECT_EQ(Le32(b, 42), 118200u);

    ASSERT_EQ(WriteJpegFile(jpg, DrawingPicture(8, 8), 90, false), "");
    ASSERT_TRUE(StampResolution(jpg, 70000, 70000));
    b = ReadBytes(jpg);
    EXPECT_EQ(b.substr(14, 4), std::string("\xFF\xFF\xFF\xFF", 4));  // the largest, not the low bits
}

TEST(Stamp, OtherAndShortFilesLeftAlone) {
    Scratch s;
    const std::string other = s.path("o.dat"), shortJfif = s.path("s.jpg");
    const std::string text = "this is no picture at all, not a bitmap nor a jpeg file, nothing";
    WriteBytes(other, text);
    EXPECT_TRUE(StampResolution(other, 96, 96));
    EXPECT_EQ(ReadBytes(other), text);
    // "JFIF" whose fields would lie past the end of the file: the file keeps its size.
    const std::string cut = std::string("\xFF\xD8\xFF\xE0\x00\x10", 6) + "JFIF";
    WriteBytes(shortJfif, cut);
    StampResolution(shortJfif, 96, 96);
    EXPECT_EQ(ReadBytes(shortJfif), cut);
    EXPECT_FALSE(StampResolution(s.path("missing.bmp"), 96, 96));
    EXPECT_FALSE(fs::exists(s.path("missing.bmp")));
}

TEST(Gif, ColourMapSizedToTheColours) {
    Scratch s;
    struct Case {
        QImage pic;
        int mapSize;
    } cases[] = {
        {Flat(8, 4, {Qt::white, Qt::black}), 2},
        {Flat(12, 4, {Qt::white, Qt::black, Qt::red}), 4},
        {Flat(16, 2, {Qt::white, Qt::black, Qt::red, Qt::green, Qt::blue, Qt::cyan, Qt::magenta, Qt::yellow,
                      Qt::gray, Qt::darkRed, Qt::darkGreen, Qt::darkBlue, Qt::darkCyan, Qt::darkMagenta,
                      Qt::darkYellow, Qt::lightGray}),
         16},
        {DrawingPicture(), 256},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string path = s.path("c" + std::to_string(n++) + ".gif");
        ASSERT_EQ(WriteGifFile(path, c.pic, std::nullopt), "");
        Gif gif(path);
        ASSERT_TRUE(gif.g);
        EXPECT_EQ(gif.map()->ColorCount, c.mapSize);
        EXPECT_EQ(gif.transparentIndex(), -2);  // no control block without transparency
        ASSERT_EQ(gif.g->SWidth, c.pic.width());
        if (c.mapSize <= 16) {
            for (int y = 0; y < c.pic.height(); ++y)
                for (int x = 0; x < c.pic.width(); ++x) ASSERT_EQ(gif.color(x, y), c.pic.pixel(x, y) & 0xFFFFFFu);
        } else {
            EXPECT_EQ(gif.color(60, 35), 0xFFFFFFu);  // background exact
            EXPECT_EQ(gif.color(15, 15), 0xFF0000u);  // flat colours exact
            EXPECT_EQ(gif.color(0, 0), 0x000000u);
        }
    }
}

TEST(Gif, TransparentBackgroundColourOnlyOnItsPixels) {
    Scratch s;
    // A yellow background (document colour 0x0000FFFF) with a near-yellow neighbour.
    QImage pic = Flat(30, 6, {QColor(255, 255, 0), QColor(254, 255, 0), Qt::blue});
    for (int i = 0; i < 300; ++i) pic.setPixelColor(i % 30, 3, QColor(i % 256, (i * 7) % 256, (i * 13) % 256));
    const std::string path = s.path("t.gif");
    ASSERT_EQ(WriteGifFile(path, pic, 0x0000FFFFu), "");
    Gif gif(path);
    ASSERT_TRUE(gif.g);
    const int t = gif.transparentIndex();
    ASSERT_GE(t, 0);
    EXPECT_EQ(gif.map()->Colors[t].Red, 255);
    EXPECT_EQ(gif.map()->Colors[t].Green, 255);
    EXPECT_EQ(gif.map()->Colors[t].Blue, 0);
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x)
            ASSERT_EQ(gif.index(x, y) == t, (pic.pixel(x, y) & 0xFFFFFFu) == 0xFFFF00u) << x << "," << y;
    EXPECT_EQ(std::string(gif.g->SavedImages ? "ok" : ""), "ok");
    EXPECT_EQ(ReadBytes(path).substr(0, 6), "GIF89a");
}

TEST(Png, OpaqueAndAlphaWithResolution) {
    Scratch s;
    const QImage pic = DrawingPicture();
    const std::string rgb = s.path("o.png"), rgba = s.path("a.png");
    ASSERT_EQ(WritePngFile(rgb, pic, false, 3780), "");
    std::string b = ReadBytes(rgb);
    EXPECT_EQ(static_cast<unsigned char>(b[25]), 2);  // colour type RGB
    std::size_t at = PngChunk(b, "pHYs");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(Be32(b, at), 3780u);
    EXPECT_EQ(Be32(b, at + 4), 3780u);
    EXPECT_EQ(static_cast<unsigned char>(b[at + 8]), 1);  // metre
    QImage back(QString::fromStdString(rgb));
    ASSERT_EQ(back.size(), pic.size());
    EXPECT_FALSE(back.hasAlphaChannel());
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) ASSERT_EQ(back.pixel(x, y), pic.pixel(x, y));

    QImage half(2, 1, QImage::Format_RGBA8888);
    half.setPixelColor(0, 0, QColor(10, 20, 30, 128));
    half.setPixelColor(1, 0, QColor(255, 255, 255, 0));
    ASSERT_EQ(WritePngFile(rgba, half, true, 11811), "");
    b = ReadBytes(rgba);
    EXPECT_EQ(static_cast<unsigned char>(b[25]), 6);  // RGBA
    at = PngChunk(b, "pHYs");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(Be32(b, at), 11811u);
    QImage a = QImage(QString::fromStdString(rgba)).convertToFormat(QImage::Format_RGBA8888);
    EXPECT_EQ(a.pixelColor(0, 0), QColor(10, 20, 30, 128));  // straight alpha kept
    EXPECT_EQ(a.pixelColor(1, 0).alpha(), 0);
}

TEST(Writers, FailureLeavesNoFileAndKeepsTheOldOne) {
    Scratch s;
    const std::string missingDir = s.path("no/such/dir/x");
    const QImage pic = DrawingPicture(10, 10);
    EXPECT_NE(WriteBmpFile(missingDir + ".bmp", pic, 24), "");
    EXPECT_NE(WriteJpegFile(missingDir + ".jpg", pic, 80, false), "");
    EXPECT_NE(WriteGifFile(missingDir + ".gif", pic, std::nullopt), "");
    EXPECT_NE(WritePngFile(missingDir + ".png", pic, false, 0), "");
    // An empty picture is refused before anything is touched.
    const std::string old = s.path("old.png");
    WriteBytes(old, "old picture");
    EXPECT_NE(WritePngFile(old, QImage(), false, 0), "");
    EXPECT_NE(WriteGifFile(old, QImage(), std::nullopt), "");
    EXPECT_NE(WriteJpegFile(old, QImage(), 50, false), "");
    EXPECT_EQ(ReadBytes(old), "old picture");
    EXPECT_FALSE(fs::exists(old + ".part"));
}

TEST(Writers, FilesGetTheUsualPermissions) {
    Scratch s;
    const QImage pic = DrawingPicture(10, 10);
    ASSERT_EQ(WriteGifFile(s.path("p.gif"), pic, std::nullopt), "");
    ASSERT_EQ(WritePngFile(s.path("p.png"), pic, false, 0), "");
    const auto gif = fs::status(s.path("p.gif")).permissions();
    const auto png = fs::status(s.path("p.png")).permissions();
    EXPECT_EQ(gif, png);
    EXPECT_NE(gif & fs::perms::group_read, fs::perms::none);
}
