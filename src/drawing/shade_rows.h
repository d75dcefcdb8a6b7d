// The per-pixel shading of a solid, spread over the cores: the rows of the
// solid's pixel box are coloured by several threads at once, and written to
// the picture on the calling thread, row by row from the top and left to
// right within a row, as one loop over the box writes them.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "model/records.h"

namespace pelmar {

class RasterSurface;

// One row of the box: colour[i] and set[i] for the pixel x0 + i, set when
// the pixel is to be written.
struct ShadedRow {
    std::vector<TColor> colour;
    std::vector<std::uint8_t> set;
};

// Colours the box x0..x1, y0..y1 (inside the picture) row by row with
// row(y, out) and writes the pixels set.  row must only read what it shares
// with the other rows: it may run on several threads at once.
void ShadeRows(RasterSurface& surface, int x0, int y0, int x1, int y1,
               const std::function<void(int y, ShadedRow& out)>& row);

// The same with a test per pixel: pixel(x, y, colour) answers whether (x, y)
// is written, and with which colour.
template <class Pixel>
void ShadePixels(RasterSurface& surface, int x0, int y0, int x1, int y1, const Pixel& pixel) {
    ShadeRows(surface, x0, y0, x1, y1, [&](int y, ShadedRow& out) {
        for (int x = x0; x <= x1; ++x) {
            TColor c = 0;
            if (pixel(x, y, c)) {
                out.colour[static_cast<std::size_t>(x - x0)] = c;
                out.set[static_cast<std::size_t>(x - x0)] = 1;
            }
        }
    });
}

}  // namespace pelmar
