// The fill picture beside undo snapshots: a picture written again with new
// pixels or a new stamp gives the same bytes as a fresh encoding.
#include <gtest/gtest.h>

#include <random>

#include "files/companion.h"
#include "file_test_util.h"

using namespace pelmar;
using pelmar::test::ReadBytes;

namespace {

TEST(ScratchFillPicture, RewrittenPicturesMatchFreshEncodings) {
    test::Scratch s;
    std::mt19937 rng(13);
    auto stamp = [&rng] {
        std::string t(32, '0');
        for (char& c : t) c = "0123456789abcdef"[rng() % 16];
        return t;
    };
    for (int round = 0; round < 12; ++round) {
        QImage img(1 + static_cast<int>(rng() % 70), 1 + static_cast<int>(rng() % 50), QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, 0xFF000000u | (rng() % 4 == 0 ? rng() : 0xFFFFFFu));
        img.setDotsPerMeterX(round % 3 == 0 ? 0 : 2000 + static_cast<int>(rng() % 4000));
        const std::string a = stamp(), b = stamp(), c = stamp();
        const std::string r = std::to_string(round);

        WriteFillPicture(s.path(r + "first.pel"), img, true, a, true);
        WriteFillPicture(s.path(r + "again.pel"), img, true, b, true);  // same pixels, new stamp
        // Pixels changed in place through a pointer taken before: written anew.
        uchar* bits = img.bits();
        const std::size_t at = rng() % static_cast<std::size_t>(img.sizeInBytes() / 4) * 4;
        bits[at] = static_cast<uchar>(bits[at] ^ 0x40);
        WriteFillPicture(s.path(r + "changed.pel"), img, true, c, true);
        QImage back;
        ASSERT_TRUE(ReadFillPicture(s.path(r + "changed.pel"), back, c));
        EXPECT_EQ(back, img.convertToFormat(QImage::Format_ARGB32_Premultiplied));
        EXPECT_FALSE(ReadFillPicture(s.path(r + "changed.pel"), back, b));

        bits[at] = static_cast<uchar>(bits[at] ^ 0x40);
        WriteFillPicture(s.path(r + "fresh.pel"), img, true, b, true);  // encoded again: the last one differs
        const std::string again = ReadBytes(s.path(r + "again.grd.png"));
        ASSERT_FALSE(again.empty());
        EXPECT_EQ(again, ReadBytes(s.path(r + "fresh.grd.png")));
        EXPECT_NE(again, ReadBytes(s.path(r + "first.grd.png")));
        ASSERT_TRUE(ReadFillPicture(s.path(r + "again.pel"), back, b));
        EXPECT_EQ(back, img);
        // A saved document's picture is never taken from the snapshots' one.
        WriteFillPicture(s.path(r + "saved.pel"), img, true, b, false);
        ASSERT_TRUE(ReadFillPicture(s.path(r + "saved.pel"), back, b));
        EXPECT_EQ(back, img);
    }
}

}  // namespace
