#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <tuple>
#include <vector>

#include "model/units.h"

using namespace pelmar;
namespace fs = std::filesystem;

using Bytes = std::vector<unsigned char>;

// ---------------------------------------------------------------------------
// Flag digits and unit conversions

TEST(FlagDigits, ZeroIsTrueEveryOtherDigitFalse) {
    EXPECT_TRUE(DigitToFlag(0));
    EXPECT_FALSE(DigitToFlag(1));
    EXPECT_FALSE(DigitToFlag(7));
    EXPECT_FALSE(DigitToFlag(-1));
    EXPECT_EQ(FlagToDigit(true), 0);
    EXPECT_EQ(FlagToDigit(false), 1);
    EXPECT_TRUE(DigitToFlag(FlagToDigit(true)));
    EXPECT_FALSE(DigitToFlag(FlagToDigit(false)));
}

TEST(Units, ConversionsRoundToTheirFixedDecimals) {
    EXPECT_DOUBLE_EQ(PixToCm(100, 96), 2.646);
    EXPECT_DOUBLE_EQ(PixToPt(100, 96), 75.0);
    EXPECT_DOUBLE_EQ(PixToInch(100, 96), 1.042);
    EXPECT_EQ(CmToPix(300, 2.54), 300);
    EXPECT_DOUBLE_EQ(PixToPt(1, 96), 0.75);
    EXPECT_DOUBLE_EQ(PixToPtF(96, 3.0), 2.25);
    EXPECT_DOUBLE_EQ(PixToCm(-100, 96), -2.646);
    EXPECT_EQ(CmToPix(96, 1.0), 38);  // 37.795...
    EXPECT_EQ(CmToPix(96, -1.0), -38);
}

TEST(Units, RoundingIsHalfToEven) {
    // Exact binary ties: 1.5 / 96 * 72 = 1.125 and 4.5 / 96 * 72 = 3.375 points.
    EXPECT_DOUBLE_EQ(PixToPtF(96, 1.5), 1.12);
    EXPECT_DOUBLE_EQ(PixToPtF(96, 4.5), 3.38);
    EXPECT_EQ(SizeHintText(101.5, 96, "pt", "cm"), SizeHintText(102, 96, "pt", "cm"));
}

TEST(Units, ZeroResolutionAndHugeValuesStayFinite) {
    EXPECT_EQ(PixToCm(100, 0), 0.0);
    EXPECT_EQ(PixToPt(100, 0), 0.0);
    EXPECT_EQ(PixToPtF(0, 3.5), 0.0);
    EXPECT_EQ(PixToInch(100, 0), 0.0);
    EXPECT_EQ(CmToPix(0, 5.0), 0);
    EXPECT_EQ(CmToPix(300, std::nan("")), 0);
    EXPECT_EQ(CmToPix(300, INFINITY), 0);
    EXPECT_EQ(CmToPix(300, 1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(CmToPix(300, -1e300), std::numeric_limits<std::int64_t>::min());
}

TEST(SizeHint, PointsCentimetresAndInches) {
    EXPECT_EQ(SizeHintText(150, 300, "пт", "см"), "36 пт  1,27 см  0,5 inch");
    EXPECT_EQ(SizeHintText(150.4, 300, "pt", "cm", '.'), "36 pt  1.27 cm  0.5 inch");
    // The pixel value is rounded half to even first: 100.5 -> 100.
    EXPECT_EQ(SizeHintText(100.5, 96, "pt", "cm"), "75 pt  2,646 cm  1,042 inch");
    EXPECT_EQ(SizeHintText(100, 0, "pt", "cm"), "0 pt  0 cm  0 inch");
    EXPECT_EQ(SizeHintText(std::nan(""), 300, "pt", "cm"), "0 pt  0 cm  0 inch");
}

// ---------------------------------------------------------------------------
// Number texts

TEST(FloatToStr, GeneralFormWithFifteenSignificantDigits) {
    EXPECT_EQ(FloatToStr(0.0), "0");
    EXPECT_EQ(FloatToStr(-0.0), "0");
    EXPECT_EQ(FloatToStr(36.0), "36");
    EXPECT_EQ(FloatToStr(1.27), "1,27");
    EXPECT_EQ(FloatToStr(-1.27, '.'), "-1.27");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0,3");
    EXPECT_EQ(FloatToStr(1.0 / 3), "0,333333333333333");
    EXPECT_EQ(FloatToStr(2.0 / 3), "0,666666666666667");
    EXPECT_EQ(FloatToStr(123456.789), "123456,789");
    EXPECT_EQ(FloatToStr(1500.0), "1500");
}

TEST(FloatToStr, ScientificBelowOneHundredThousandthAndBeyondFifteenDigits) {
    EXPECT_EQ(FloatToStr(0.00001), "0,00001");
    EXPECT_EQ(FloatToStr(0.000012), "0,000012");
    EXPECT_EQ(FloatToStr(0.0000015), "1,5E-6");
    EXPECT_EQ(FloatToStr(-1e-10), "-1E-10");
    EXPECT_EQ(FloatToStr(999999999999999.0), "999999999999999");
    EXPECT_EQ(FloatToStr(1e15), "1E15");
    EXPECT_EQ(FloatToStr(1.5e20), "1,5E20");
    EXPECT_EQ(FloatToStr(9999999999999999.0), "1E16");  // rounds to 15 digits first
    EXPECT_EQ(FloatToStr(NAN), "NAN");
    EXPECT_EQ(FloatToStr(INFINITY), "INF");
    EXPECT_EQ(FloatToStr(-INFINITY), "-INF");
}

// ---------------------------------------------------------------------------
// Edit fields

TEST(NumKeyFilter, DigitsBackspaceMinusAndOneComma) {
    for (char32_t d = U'0'; d <= U'9'; ++d) EXPECT_EQ(NumKeyFilter("", d, false, false), d);
    EXPECT_EQ(NumKeyFilter("1,5", 8, false, false), 8u);
    EXPECT_EQ(NumKeyFilter("12", U',', false, true), U',');
    EXPECT_EQ(NumKeyFilter("1,2", U',', false, true), 0u);  // a second comma
    EXPECT_EQ(NumKeyFilter("12", U',', true, false), 0u);
    EXPECT_EQ(NumKeyFilter("12", U'-', true, false), U'-');  // not only in front
    EXPECT_EQ(NumKeyFilter("12", U'-', false, true), 0u);
    EXPECT_EQ(NumKeyFilter("12", U'.', true, true), 0u);
    EXPECT_EQ(NumKeyFilter("12", U'e', true, true), 0u);
    EXPECT_EQ(NumKeyFilter("12", U' ', true, true), 0u);
    // A letter whose low byte is a digit must not slip through.
    EXPECT_EQ(NumKeyFilter("12", U'ж', true, true), 0u);  // U+0436
    EXPECT_EQ(NumKeyFilter("12", 0x130, true, true), 0u);
}

TEST(EditFields, EmptyAndLoneMinusFixes) {
    EXPECT_EQ(FixEmptyEdit(""), "0");
    EXPECT_EQ(FixEmptyEdit("-"), "-0");
    EXPECT_EQ(FixEmptyEdit("5"), "5");
    EXPECT_EQ(FixEmptyEdit("--"), "--");
    EXPECT_EQ(FixEmptyEdit(" "), " ");

    int v = 42;
    EXPECT_TRUE(CheckSpinEdit("7", v, 1));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(CheckSpinEdit("", v, 1));
    EXPECT_EQ(v, 1);
    v = 42;
    EXPECT_TRUE(CheckSpinEdit("-", v, -5));
    EXPECT_EQ(v, -5);
    v = 42;
    EXPECT_FALSE(CheckSpinEdit("-", v, -5, 2));
    EXPECT_FALSE(CheckSpinEdit("", v, -5, 2));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(CheckSpinEdit("3", v, -5, 2));
}

TEST(EditFields, TextToNumber) {
    EXPECT_EQ(EditToFloat(""), 0.0);
    const auto negZero = EditToFloat("-");
    ASSERT_TRUE(negZero);
    EXPECT_EQ(*negZero, 0.0);
    EXPECT_TRUE(std::signbit(*negZero));
    EXPECT_EQ(EditToFloat("1,5"), 1.5);
    EXPECT_EQ(EditToFloat("-12,25"), -12.25);
    EXPECT_EQ(EditToFloat(",5"), 0.5);
    EXPECT_EQ(EditToFloat("5,"), 5.0);
    EXPECT_EQ(EditToFloat(" 7 "), 7.0);
    EXPECT_EQ(EditToFloat("+3"), 3.0);
    EXPECT_EQ(EditToFloat("1,5E3"), 1500.0);
    EXPECT_EQ(EditToFloat("2e-2"), 0.02);
    EXPECT_EQ(EditToFloat("1.5", '.'), 1.5);

    EXPECT_FALSE(EditToFloat("1.5"));  // only the given separator
    EXPECT_FALSE(EditToFloat("5-3"));  // the filter lets a minus anywhere
    EXPECT_FALSE(EditToFloat("1,2,3"));
    EXPECT_FALSE(EditToFloat(","));
    EXPECT_FALSE(EditToFloat("--"));
    EXPECT_FALSE(EditToFloat("1E"));
    EXPECT_FALSE(EditToFloat(" "));
    EXPECT_FALSE(EditToFloat("inf"));
    EXPECT_FALSE(EditToFloat("1E999"));
}

TEST(EditFields, WrittenNumbersReadBack) {
    // Exact for up to 15 significant digits, within 15 digits' rounding otherwise.
    for (double v : {0.0, 1.27, -2.646, 123456.789, 1.5e-6, 1.5e20, -7e-300})
        EXPECT_EQ(EditToFloat(FloatToStr(v)), v) << FloatToStr(v);
    for (double v : {1.0 / 3, -2.0 / 7, 1e10 / 3})
        EXPECT_NEAR(EditToFloat(FloatToStr(v)).value(), v, std::fabs(v) * 1e-14) << FloatToStr(v);
}

// ---------------------------------------------------------------------------
// Picture sizes

TEST(ReadWordBE, HighByteFirstAndFailsAtTheEnd) {
    std::istringstream s(std::string("\x12\x34\x56", 3));
    std::uint16_t w = 0;
    ASSERT_TRUE(ReadWordBE(s, w));
    EXPECT_EQ(w, 0x1234);
    EXPECT_FALSE(ReadWordBE(s, w));
    EXPECT_EQ(w, 0x1234);
}

class PictureSize : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "pelmar-units-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    fs::path Write(const std::string& name, const Bytes& b) {
        const fs::path p = dir_ / name;
        std::ofstream f(p, std::ios::binary);
        f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        return p;
    }
    // Calls ReadJpegSize with sentinel sizes; returns {ok, width, height}.
    std::tuple<bool, std::uint32_t, std::uint32_t> Jpeg(const Bytes& b) {
        std::uint32_t w = 11111, h = 22222;
        const bool ok = ReadJpegSize(Write("t.jpg", b), w, h);
        return {ok, w, h};
    }
    std::tuple<bool, std::uint32_t, std::uint32_t> Bmp(const Bytes& b) {
        std::uint32_t w = 11111, h = 22222;
        const bool ok = ReadBmpSize(Write("t.bmp", b), w, h);
        return {ok, w, h};
    }

    fs::path dir_;
};

namespace {

const std::tuple<bool, std::uint32_t, std::uint32_t> kUntouched{false, 11111, 22222};

// A segment: FF, marker, length, payload.
Bytes Segment(unsigned char marker, const Bytes& payload) {
    const auto len = payload.size() + 2;
    Bytes b{0xFF, marker, static_cast<unsigned char>(len >> 8), static_cast<unsigned char>(len)};
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}

// A start-of-frame segment of a 3-component picture.
Bytes Sof(unsigned char marker, int width, int height) {
    return Segment(marker, {8, static_cast<unsigned char>(height >> 8), static_cast<unsigned char>(height),
                            static_cast<unsigned char>(width >> 8), static_cast<unsigned char>(width), 3, 1,
                            0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes r;
    for (const auto& p : parts) r.insert(r.end(), p.begin(), p.end());
    return r;
}

const Bytes kSoi{0xFF, 0xD8};
const Bytes kApp0 = Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 1, 0, 72, 0, 72, 0, 0});
const Bytes kDqt = Segment(0xDB, Bytes(65, 1));
const Bytes kDht = Segment(0xC4, Bytes(20, 0));
const Bytes kEoi{0xFF, 0xD9};

}  // namespace

TEST_F(PictureSize, JpegBaselineAndEveryFrameKind) {
    EXPECT_EQ(Jpeg(Cat({kSoi, kApp0, kDqt, Sof(0xC0, 640, 480), kDht, kEoi})),
              std::make_tuple(true, 640u, 480u));
    // A DHT (C4) before the frame is a table, not a frame.
    EXPECT_EQ(Jpeg(Cat({kSoi, kDht, Sof(0xC2, 1024, 768), kEoi})), std::make_tuple(true, 1024u, 768u));
    for (unsigned m : {0xC1u, 0xC2u, 0xC3u, 0xC5u, 0xC6u, 0xC7u, 0xC9u, 0xCAu, 0xCBu, 0xCDu, 0xCEu, 0xCFu})
        EXPECT_EQ(Jpeg(Cat({kSoi, Sof(static_cast<unsigned char>(m), 65535, 1), kEoi})),
                  std::make_tuple(true, 65535u, 1u))
            << std::hex << m;
    // JPG (C8) and DAC (CC) carry no size: skipped like any other segment.
    EXPECT_EQ(Jpeg(Cat({kSoi, Segment(0xC8, {1, 2}), Segment(0xCC, {3, 4}), Sof(0xC0, 7, 9)})),
              std::make_tuple(true, 7u, 9u));
}

TEST_F(PictureSize, JpegSkipsFillBytesAndRestartMarkers) {
    const Bytes fill{0xFF, 0xFF, 0xFF};  // fill bytes before a marker
    EXPECT_EQ(Jpeg(Cat({kSoi, kApp0, fill, Sof(0xC0, 320, 200)})), std::make_tuple(true, 320u, 200u));
    const Bytes rst{0xFF, 0xD0, 0xFF, 0xD7, 0xFF, 0x01};  // RST0, RST7, TEM: no length
    EXPECT_EQ(Jpeg(Cat({kSoi, rst, kDqt, rst, Sof(0xC1, 5, 6)})), std::make_tuple(true, 5u, 6u));
}

TEST_F(PictureSize, JpegFailuresLeaveTheSizeUntouched) {
    EXPECT_EQ(Jpeg({}), kUntouched);
    EXPECT_EQ(Jpeg({0xFF}), kUntouched);
    EXPECT_EQ(Jpeg({0x89, 'P', 'N', 'G'}), kUntouched);
    EXPECT_EQ(Jpeg(kSoi), kUntouched);
    EXPECT_EQ(Jpeg(Cat({kSoi, kApp0, kEoi})), kUntouched);  // no frame
    EXPECT_EQ(Jpeg(Cat({kSoi, kApp0, kEoi, Sof(0xC0, 1, 1)})), kUntouched);  // past the image's end
    EXPECT_EQ(Jpeg(Cat({kSoi, kApp0, {0x12, 0x34}})), kUntouched);           // no marker prefix
    EXPECT_EQ(Jpeg(Cat({kSoi, {0xFF, 0xFF}})), kUntouched);                   // ends in fill bytes

    // Lengths below 2 would step backwards or stand still.
    EXPECT_EQ(Jpeg(Cat({kSoi, {0xFF, 0xE1, 0x00, 0x00}, Sof(0xC0, 1, 1)})), kUntouched);
    EXPECT_EQ(Jpeg(Cat({kSoi, {0xFF, 0xE1, 0x00, 0x01}, Sof(0xC0, 1, 1)})), kUntouched);

    // Truncated: inside a segment's length, its payload, or the frame header.
    EXPECT_EQ(Jpeg(Cat({kSoi, {0xFF, 0xE0, 0x00}})), kUntouched);
    EXPECT_EQ(Jpeg(Cat({kSoi, {0xFF, 0xE0, 0x00, 0x40, 1, 2, 3}})), kUntouched);
    const Bytes sof = Sof(0xC0, 640, 480);
    for (std::size_t keep = 2; keep < 9; ++keep)
        EXPECT_EQ(Jpeg(Cat({kSoi, Bytes(sof.begin(), sof.begin() + static_cast<long>(keep))})), kUntouched)
            << keep;
    EXPECT_EQ(Jpeg(Cat({kSoi, Bytes(sof.begin(), sof.begin() + 9)})), std::make_tuple(true, 640u, 480u));

    std::uint32_t w = 1, h = 2;
    EXPECT_FALSE(ReadJpegSize(dir_ / "missing.jpg", w, h));
    EXPECT_FALSE(ReadJpegSize(dir_, w, h));  // a folder
    EXPECT_EQ(w, 1u);
    EXPECT_EQ(h, 2u);
}

namespace {

// A BMP file header and a 40-byte info header (no pixels needed for the size).
Bytes BmpHeader(std::int32_t width, std::int32_t height) {
    Bytes b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    b[10] = 54;
    b[14] = 40;
    for (int i = 0; i < 4; ++i) {
        b[18 + i] = static_cast<unsigned char>(static_cast<std::uint32_t>(width) >> (8 * i));
        b[22 + i] = static_cast<unsigned char>(static_cast<std::uint32_t>(height) >> (8 * i));
    }
    b[26] = 1;
    b[28] = 24;
    return b;
}

}  // namespace

TEST_F(PictureSize, BmpReadsFullThirtyTwoBitSizes) {
    EXPECT_EQ(Bmp(BmpHeader(640, 480)), std::make_tuple(true, 640u, 480u));
    EXPECT_EQ(Bmp(BmpHeader(70000, 100000)), std::make_tuple(true, 70000u, 100000u));
    EXPECT_EQ(Bmp(BmpHeader(300, -200)), std::make_tuple(true, 300u, 200u));  // top-down
    EXPECT_EQ(Bmp(BmpHeader(1, INT32_MIN)), std::make_tuple(true, 1u, 2147483648u));
    // The headers alone are enough; the pixels are not read.
    const Bytes h = BmpHeader(12, 34);
    EXPECT_EQ(Bmp(Bytes(h.begin(), h.begin() + 26)), std::make_tuple(true, 12u, 34u));
}

TEST_F(PictureSize, BmpCoreHeaderHasSixteenBitSizes) {
    Bytes b(26, 0);
    b[0] = 'B';
    b[1] = 'M';
    b[14] = 12;
    b[18] = 0x20;  // width 800
    b[19] = 0x03;
    b[20] = 0x58;  // height 600
    b[21] = 0x02;
    b[22] = 1;  // planes
    b[24] = 24;
    EXPECT_EQ(Bmp(b), std::make_tuple(true, 800u, 600u));
}

TEST_F(PictureSize, BmpFailuresLeaveTheSizeUntouched) {
    EXPECT_EQ(Bmp({}), kUntouched);
    EXPECT_EQ(Bmp({'B', 'M'}), kUntouched);
    const Bytes h = BmpHeader(640, 480);
    EXPECT_EQ(Bmp(Bytes(h.begin(), h.begin() + 25)), kUntouched);  // height cut short
    Bytes wrong = h;
    wrong[0] = 'M';
    wrong[1] = 'B';
    EXPECT_EQ(Bmp(wrong), kUntouched);
    EXPECT_EQ(Bmp(Cat({kSoi, Sof(0xC0, 640, 480), Bytes(30, 0)})), kUntouched);  // a JPEG
    Bytes noHeader = h;
    noHeader[14] = 0;  // no bitmap header size
    EXPECT_EQ(Bmp(noHeader), kUntouched);

    std::uint32_t w = 1, hh = 2;
    EXPECT_FALSE(ReadBmpSize(dir_ / "missing.bmp", w, hh));
    EXPECT_EQ(w, 1u);
    EXPECT_EQ(hh, 2u);
}

// ---------------------------------------------------------------------------
// Memory figures

class MemFigure : public PictureSize {};

TEST_F(MemFigure, ParsesKilobyteLines) {
    std::ofstream(dir_ / "meminfo") << "MemTotal:       16318712 kB\n"
                                       "MemFree:         1000 kB\n"
                                       "MemAvailableX:   5 kB\n"
                                       "Huge:            7\n"
                                       "Bad:             x kB\n"
                                       "Odd:             9 MB\n"
                                       "Big:             99999999999999999 kB\n";
    const fs::path f = dir_ / "meminfo";
    EXPECT_EQ(ReadMemFigure(f, "MemTotal"), 16318712ull * 1024);
    EXPECT_EQ(ReadMemFigure(f, "MemFree"), 1000ull * 1024);
    EXPECT_EQ(ReadMemFigure(f, "MemAvailable"), 0u);  // only a longer key is there
    EXPECT_EQ(ReadMemFigure(f, "Huge"), 7u);
    EXPECT_EQ(ReadMemFigure(f, "Bad"), 0u);
    EXPECT_EQ(ReadMemFigure(f, "Odd"), 0u);
    EXPECT_EQ(ReadMemFigure(f, "Big"), 0u);  // would overflow 64 bits
    EXPECT_EQ(ReadMemFigure(dir_ / "missing", "MemTotal"), 0u);
}

TEST(MemoryInfo, ReadsThisMachinesFigures) {
    std::uint64_t total = 0, avail = 0, ws = 0;
    MemoryInfo(total, avail, ws);
    if (!fs::exists("/proc/meminfo")) GTEST_SKIP() << "no /proc";
    EXPECT_GT(total, 0u);
    EXPECT_LE(avail, total);
    EXPECT_GT(ws, 0u);
    EXPECT_LT(ws, total);
}
