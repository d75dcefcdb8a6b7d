#include "files/animated_gif.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QPainter>
#include <filesystem>
#include <functional>
#include <random>
#include <set>

#include "files/file_test_util.h"
#include "files/gif_frames.h"

namespace pelmar {
namespace {

using test::ComparePictures;
using test::DecodeGif;
using test::ReadBytes;
using test::Scratch;
using test::WriteBytes;

TEST(AnimatedGif, DelayIsClampedBeforeItIsStored) {
    const std::pair<std::int64_t, int> cases[] = {{-1, 0}, {9, 0}, {55, 5}, {70000, 7000}, {655359, 65535},
                                                  {1LL << 40, 65535}, {-(1LL << 40), 0}};
    for (auto [ms, cs] : cases) EXPECT_EQ(GifDelayHundredths(ms), cs) << ms;
}

// Random animations of flat colours: rectangles painted over the previous
// frame, sometimes in colours the first frame lacks, sometimes no change at
// all.  Every frame must come back exactly.
TEST(AnimatedGif, FlatFramesComeBackExactly) {
    Scratch dir;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        const int w = pick(1, 90), h = pick(1, 70);
        const int frames = pick(1, 7);
        std::vector<QRgb> colors;
        for (int i = 0; i < pick(1, 300); ++i) colors.push_back(qRgb(pick(0, 255), pick(0, 255), pick(0, 255)));
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(colors[0]);
        AnimatedGifWriter::Options opt;
        opt.loop = seed % 2 == 0;
        opt.onlyChanges = seed % 5 != 0;
        const std::string path = dir.path("a" + std::to_string(seed) + ".gif");
        AnimatedGifWriter gif;
        ASSERT_EQ(gif.Open(path, w, h, opt), "");
        std::vector<QImage> sent;
        std::vector<int> delays;
        for (int f = 0; f < frames; ++f) {
            QPainter p(&img);
            for (int k = pick(0, 3) * pick(0, 6); k > 0; --k)
                p.fillRect(pick(-5, w), pick(-5, h), pick(1, w), pick(1, h),
                           QColor(colors[static_cast<std::size_t>(pick(0, static_cast<int>(colors.size()) - 1))]));
            p.end();
            sent.push_back(img.copy());
            delays.push_back(pick(-100, 800000));
            ASSERT_EQ(gif.AddFrame(img, delays.back()), "");
        }
        ASSERT_EQ(gif.Finish(), "");
        const auto back = DecodeGif(path);
        ASSERT_TRUE(back.ok) << seed;
        ASSERT_EQ(back.frames.size(), sent.size());
        EXPECT_EQ(back.loopExtension, opt.loop);
        if (opt.loop) {
            EXPECT_EQ(back.loopCount, 0);
        }
        bool lossy = false;  // a reduced frame leaves its colours in the pixels that stay
        for (std::size_t f = 0; f < sent.size(); ++f) {
            const auto d = ComparePictures(back.frames[f], sent[f]);
            // More than 255 colours in one frame are reduced; otherwise exact.
            std::set<QRgb> distinct;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) distinct.insert(sent[f].pixel(x, y));
            lossy = lossy || distinct.size() > 255;
            if (!lossy) {
                EXPECT_EQ(d.max, 0) << "seed " << seed << " frame " << f;
            }
            EXPECT_EQ(back.delays[f], GifDelayHundredths(delays[f]));
        }
    }
    EXPECT_EQ(test::FilesIn(dir.path("")), 12) << "no scrap beside the animations";
}

// An anti-aliased drawing in motion: far more than 256 colours per frame.
// The frames come back close, most later frames share the first palette, and
// writing only the changes makes the file smaller than whole frames.
TEST(AnimatedGif, AntiAliasedFramesAreReducedAndStaySmall) {
    Scratch dir;
    const int w = 240, h = 180, frames = 8;
    std::vector<QImage> sent;
    for (int f = 0; f < frames; ++f) {
        QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::darkBlue, 2));
        p.drawEllipse(QPointF(60, 90), 40, 30);
        p.setPen(QPen(QColor(200, 30, 30), 3));
        p.drawLine(QPointF(120, 20 + f * 3.3), QPointF(230, 160 - f * 2.7));
        p.setBrush(QColor(30, 160, 60, 160));
        p.drawEllipse(QPointF(40 + f * 9.5, 140), 18, 18);
        sent.push_back(img);
    }
    std::uintmax_t sizes[2] = {};
    for (int mode = 0; mode < 2; ++mode) {
        const std::string path = dir.path("aa" + std::to_string(mode) + ".gif");
        AnimatedGifWriter gif;
        AnimatedGifWriter::Options opt;
        opt.onlyChanges = mode == 1;
        ASSERT_EQ(gif.Open(path, w, h, opt), "");
        for (const QImage& img : sent) ASSERT_EQ(gif.AddFrame(img, 40), "");
        ASSERT_EQ(gif.Finish(), "");
        sizes[mode] = std::filesystem::file_size(path);
        const auto back = DecodeGif(path);
        ASSERT_TRUE(back.ok);
        ASSERT_EQ(back.frames.size(), sent.size());
        int local = 0;
        for (int f = 0; f < frames; ++f) {
            const auto d = ComparePictures(back.frames[static_cast<std::size_t>(f)], sent[static_cast<std::size_t>(f)]);
            EXPECT_LT(d.mean, 1.5) << f;
            EXPECT_LE(d.max, 64) << f;
            local += back.localMap[static_cast<std::size_t>(f)];
        }
        EXPECT_LE(local, frames / 4);
    }
    EXPECT_LT(sizes[1] * 10, sizes[0] * 9);
}

// The bytes the writer makes, for animations that take every path through
// it: exact global and local palettes, frames in the global palette,
// reduced frames on a new palette, on the kept global and the kept local
// one, unchanged frames, pixels returning to what is shown; whole frames and
// only the changes.  The digests are those of the files as the writer has
// always written them: a faster writer must write the same bytes.
TEST(AnimatedGif, WritesTheSameBytesAsAlways) {
    Scratch dir;
    const int w = 97, h = 61;
    auto flat = [&](int f) {
        QImage img(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int c = ((x / 13) * 7 + (y / 9) * 3) % 40;  // 40 colours
                if (f >= 1 && x > 10 + 5 * f && x < 40 + 5 * f && y > 8 && y < 30) c = (c + 11) % 40;
                if (f == 3 && x > 60 && y > 40) c = 40 + (x + y) % 50;  // new colours: a local exact palette
                if (f == 5 && x < 20) c = (x * 7 + y) % 40;
                img.setPixel(x, y, qRgb(c * 6, 255 - c * 5, (c * 37) % 256));
            }
        return img;
    };
    auto smooth = [&](int f) {
        QImage img(w, h, QImage::Format_ARGB32);
        const int scheme = f < 4 ? 0 : 1;  // frame 4 brings a colour scheme of its own
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int bx = 20 + 6 * f, by = 30;
                const int d = (x - bx) * (x - bx) + (y - by) * (y - by);
                int r = (x * 255) / w, g = (y * 255) / h, b = d < 120 ? 255 - d : (x * y) % 97;
                if (scheme) r = 255 - g / 2, g = (x * 3 + f) % 256, b = 128 + b / 2;
                img.setPixel(x, y, qRgba(r, g, b, (x + y) % 256));
            }
        return img;
    };
    std::string digests;
    for (int mode = 0; mode < 4; ++mode) {
        const std::string path = dir.path("s" + std::to_string(mode) + ".gif");
        AnimatedGifWriter gif;
        AnimatedGifWriter::Options opt;
        opt.onlyChanges = mode % 2 == 0;
        opt.loop = mode < 2;
        ASSERT_EQ(gif.Open(path, w, h, opt), "");
        for (int f = 0; f < 7; ++f) {
            const QImage img = mode < 2 ? flat(f == 6 ? 0 : f) : smooth(f == 6 ? 5 : f);
            ASSERT_EQ(gif.AddFrame(img, 30 + 10 * f), "");
            if (f == 2) {
                ASSERT_EQ(gif.AddFrame(img, 10), "");  // nothing changed
            }
        }
        ASSERT_EQ(gif.Finish(), "");
        const std::string bytes = ReadBytes(path);
        digests += QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                            QCryptographicHash::Sha256)
                       .toHex()
                       .left(16)
                       .toStdString() +
                   " ";
    }
    EXPECT_EQ(digests, "caf51726836fe73f e20256fdaeea0025 6c2324db5be0d095 4c75651fed0c9ffe ");
}

// The target is replaced only by a finished animation; cancelling, giving no
// frame or failing leaves it (or its absence) as it was and no scrap beside it.
TEST(AnimatedGif, TargetReplacedOnlyOnSuccess) {
    Scratch dir;
    const std::string path = dir.path("Drawing.pel.gif");
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::red);
    WriteBytes(path, "old");
    // Each session ends without a finished file.
    const std::function<void(AnimatedGifWriter&)> sessions[] = {
        [&](AnimatedGifWriter& g) { g.AddFrame(img, 50), g.Cancel(); },
        [&](AnimatedGifWriter& g) { g.AddFrame(img, 50); },  // dropped unfinished
        [&](AnimatedGifWriter& g) { EXPECT_NE(g.Finish(), ""); },
        [&](AnimatedGifWriter& g) {  // a frame of the wrong size fails the whole file
            EXPECT_NE(g.AddFrame(QImage(9, 8, QImage::Format_RGB32), 50), "");
            EXPECT_NE(g.AddFrame(img, 50), "");
            EXPECT_NE(g.Finish(), "");
        }};
    for (const auto& session : sessions) {
        {
            AnimatedGifWriter gif;
            ASSERT_EQ(gif.Open(path, 8, 8, {}), "");
            session(gif);
        }
        EXPECT_EQ(ReadBytes(path), "old");
        EXPECT_EQ(test::FilesIn(dir.path("")), 1);
    }
    AnimatedGifWriter gif;
    EXPECT_NE(gif.Open(dir.path("no/such/folder/x.gif"), 8, 8, {}), "");
    EXPECT_NE(gif.Open(path, 0, 8, {}), "");
    ASSERT_EQ(gif.Open(path, 8, 8, {}), "");
    ASSERT_EQ(gif.AddFrame(img, 50), "");
    ASSERT_EQ(gif.Finish(), "");
    EXPECT_TRUE(DecodeGif(path).ok);
    EXPECT_EQ(test::FilesIn(dir.path("")), 1);
}

}  // namespace
}  // namespace pelmar
