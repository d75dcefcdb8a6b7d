#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "files/palette.h"
#include "files/picture_files.h"
#include "files/save_failure.h"
#include "platform/safe_save.h"

namespace pelmar {

namespace {

void Put16(std::vector<unsigned char>& b, unsigned v) {
    b.push_back(static_cast<unsigned char>(v & 0xFF));
    b.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}
void Put32(std::vector<unsigned char>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

std::string WriteBmpFile(const std::string& path, const QImage& picture, int bitsPerPixel, std::int32_t pixelsPerMetre) {
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24)
        return "unsupported colour depth";
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return "empty picture";
    const int w = picture.width(), h = picture.height();
    const std::uint64_t stride = ((static_cast<std::uint64_t>(w) * bitsPerPixel + 31) / 32) * 4;
    const std::uint64_t imageSize = stride * static_cast<std::uint64_t>(h);
    const std::uint32_t paletteEntries = bitsPerPixel == 24 ? 0u : (1u << bitsPerPixel);
    const std::uint32_t offset = 14 + 40 + 4 * paletteEntries;
    if (imageSize + offset > 0xFFFFFFFFull) return "picture too large for BMP";

    IndexedPicture indexed;
    QImage rgb;
    if (bitsPerPixel == 24)
        rgb = picture.convertToFormat(QImage::Format_RGB32);
    else
        indexed = ReduceColors(picture, static_cast<int>(paletteEntries));

    std::vector<unsigned char> head;
    head.push_back('B');
    head.push_back('M');
    Put32(head, static_cast<std::uint32_t>(offset + imageSize));
    Put32(head, 0);
    Put32(head, offset);
    Put32(head, 40);
    Put32(head, static_cast<std::uint32_t>(w));
    Put32(head, static_cast<std::uint32_t>(h));  // bottom-up rows
    Put16(head, 1);
    Put16(head, static_cast<unsigned>(bitsPerPixel));
    Put32(head, 0);  // no compression
    Put32(head, static_cast<std::uint32_t>(imageSize));
    Put32(head, static_cast<std::uint32_t>(pixelsPerMetre));
    Put32(head, static_cast<std::uint32_t>(pixelsPerMetre));
    Put32(head, paletteEntries);
    Put32(head, 0);
    for (std::uint32_t i = 0; i < paletteEntries; ++i) {
        const std::uint32_t c = i < indexed.palette.size() ? indexed.palette[i] : 0u;
        head.push_back(static_cast<unsigned char>(c & 0xFF));
        head.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
        head.push_back(static_cast<unsigned char>((c >> 16) & 0xFF));
        head.push_back(0);
    }

    SafeFile out(path);
    if (!out.opened()) return out.error();
    std::FILE* f = out.stream();
    if (!f) return out.commit("cannot create the file");
    {
        bool ok = std::fwrite(head.data(), 1, head.size(), f) == head.size();
        std::vector<unsigned char> row(static_cast<std::size_t>(stride));
        for (int y = h - 1; ok && y >= 0; --y) {
            std::fill(row.begin(), row.end(), 0);
            if (bitsPerPixel == 24) {
                const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
                for (int x = 0; x < w; ++x) {
                    row[3 * static_cast<std::size_t>(x)] = static_cast<unsigned char>(qBlue(src[x]));
                    row[3 * static_cast<std::size_t>(x) + 1] = static_cast<unsigned char>(qGreen(src[x]));
                    row[3 * static_cast<std::size_t>(x) + 2] = static_cast<unsigned char>(qRed(src[x]));
                }
            } else {
                const std::uint8_t* src = indexed.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
                const int perByte = 8 / bitsPerPixel;
                for (int x = 0; x < w; ++x) {
                    const int shift = 8 - bitsPerPixel * (x % perByte + 1);
                    row[static_cast<std::size_t>(x / perByte)] |= static_cast<unsigned char>(src[x] << shift);
                }
            }
            ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
        }
        if (!ok) return out.commit(WriteFailureReason());
    }
    return out.commit();
}

}  // namespace pelmar
