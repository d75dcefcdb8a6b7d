// Reads an animated GIF back with giflib's decoder and composes the frames as
// a viewer shows them (transparent pixels keep what was there).
#pragma once

#include <gif_lib.h>

#include <QImage>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace pelmar::test {

struct GifFrames {
    bool ok = false;
    int width = 0, height = 0;
    bool loopExtension = false;
    int loopCount = -1;
    std::vector<QImage> frames;  // RGB32, whole screen
    std::vector<int> delays;     // hundredths of a second
    std::vector<bool> localMap;  // the frame carries its own palette
};

inline GifFrames DecodeGif(const std::string& path) {
    GifFrames out;
    int err = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &err);
    if (!gif) return out;
    if (DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &err);
        return out;
    }
    out.width = gif->SWidth;
    out.height = gif->SHeight;
    QImage screen(out.width, out.height, QImage::Format_RGB32);
    screen.fill(Qt::black);
    bool ok = true;
    for (int f = 0; f < gif->ImageCount; ++f) {
        const SavedImage& im = gif->SavedImages[f];
        for (int e = 0; e < im.ExtensionBlockCount; ++e) {
            const ExtensionBlock& b = im.ExtensionBlocks[e];
            if (b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 &&
                std::memcmp(b.Bytes, "NETSCAPE2.0", 11) == 0) {
                out.loopExtension = true;
                if (e + 1 < im.ExtensionBlockCount && im.ExtensionBlocks[e + 1].ByteCount >= 3)
                    out.loopCount = im.ExtensionBlocks[e + 1].Bytes[1] | (im.ExtensionBlocks[e + 1].Bytes[2] << 8);
            }
        }
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, f, &gcb);
        const ColorMapObject* map = im.ImageDesc.ColorMap ? im.ImageDesc.ColorMap : gif->SColorMap;
        const GifImageDesc& d = im.ImageDesc;
        if (!map || d.Left + d.Width > out.width || d.Top + d.Height > out.height) {
            ok = false;
            break;
        }
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x) {
                const int idx = im.RasterBits[y * d.Width + x];
                if (idx == gcb.TransparentColor) continue;
                if (idx >= map->ColorCount) ok = false;
                const GifColorType c = map->Colors[idx < map->ColorCount ? idx : 0];
                screen.setPixel(d.Left + x, d.Top + y, qRgb(c.Red, c.Green, c.Blue));
            }
        out.frames.push_back(screen.copy());
        out.delays.push_back(gcb.DelayTime);
        out.localMap.push_back(im.ImageDesc.ColorMap != nullptr);
        ok = ok && gcb.DisposalMode != DISPOSE_BACKGROUND && gcb.DisposalMode != DISPOSE_PREVIOUS;
    }
    DGifCloseFile(gif, &err);
    out.ok = ok;
    return out;
}

// How many files a folder holds (no scrap may be left beside a target).
inline int FilesIn(const std::string& folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

// The largest difference of one colour channel between two pictures of one
// size, and the mean difference per channel.
struct PictureDiff {
    int max = 0;
    double mean = 0;
};

inline PictureDiff ComparePictures(const QImage& a0, const QImage& b0) {
    const QImage a = a0.convertToFormat(QImage::Format_RGB32), b = b0.convertToFormat(QImage::Format_RGB32);
    PictureDiff d;
    if (a.size() != b.size()) return {255, 255};
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int v : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) {
                d.max = std::max(d.max, std::abs(v));
                sum += std::abs(v);
            }
        }
    d.mean = sum / (3.0 * a.width() * a.height());
    return d;
}

}  // namespace pelmar::test
