// Colour reduction of the raster exports: a picture of at most N colours
// keeps its colours exactly; a richer one gets a median-cut palette (black and
// white for two colours) and every pixel takes its nearest palette colour,
// without dithering, so that the lines of a drawing stay clean.
#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <vector>

namespace pelmar {

struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> palette;  // 0xRRGGBB
    std::vector<std::uint8_t> pixels;    // row by row, top row first
    int keyIndex = -1;                   // the entry of the key colour, or -1
};

// Reduces `picture` (its alpha is ignored) to at most `maxColors` colours
// (2..256).  With a key colour, one palette entry is that colour and it is
// taken by exactly the pixels of that colour, none else.
IndexedPicture ReduceColors(const QImage& picture, int maxColors, std::optional<std::uint32_t> key = std::nullopt);

}  // namespace pelmar
