// The raster picture files of the export: BMP, JPEG, GIF and PNG writers and
// the resolution stamp.  Every writer saves through SafeFile: a failed or
// interrupted export never leaves a half-written picture or destroys an
// older one.
// A writer returns an empty string on success, otherwise the reason.
#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pelmar {

// A BMP of 1, 4, 8 or 24 bits per pixel; the colours are reduced to 2, 16 or
// 256 for the indexed depths.  The resolution fields are written as given.
std::string WriteBmpFile(const std::string& path, const QImage& picture, int bitsPerPixel,
                         std::int32_t pixelsPerMetre = 0);

// A baseline JFIF file at quality 1..100, in grey levels when `gray`.
std::string WriteJpegFile(const std::string& path, const QImage& picture, int quality, bool gray);

// A GIF of at most 256 colours; with a transparent colour, exactly the
// pixels of that colour (0x00BBGGRR, the document's colour layout) are
// transparent.
std::string WriteGifFile(const std::string& path, const QImage& picture,
                         std::optional<std::uint32_t> transparentColor);

// A PNG of 8 bits per channel, RGB or (with `alpha`) RGBA with straight
// alpha, carrying `pixelsPerMetre` in both directions in its pHYs chunk and
// the keyword/text pairs of `text` in text chunks.  A scratch file (the
// fill picture of an undo snapshot) is compressed lightly and not flushed to
// the disk.
std::string WritePngFile(const std::string& path, const QImage& picture, bool alpha, std::uint32_t pixelsPerMetre,
                         const std::vector<std::pair<std::string, std::string>>& text = {}, bool scratch = false);

// Rounds `value` to `digits` decimal places, half to even.
long double RoundToDigits(int digits, long double value);

// Round(dpi / 0.0254): the PNG's pixels per metre; nothing when it does not
// fit in 32 bits unsigned.
std::optional<std::uint32_t> PngPixelsPerMetre(int dpi);

// Writes the resolution into the header of a saved BMP or JPEG file in
// place: a JFIF header among the first 50 bytes gets units 1 (dots per inch)
// and the two densities; a file beginning "BM" gets Round(dpi * 39.4) pixels
// per metre in both resolution fields.  Other files are left as they are.
// The stamped file replaces the old one whole (SafeFile).  False when the
// file could not be read or written.
bool StampResolution(const std::string& fileName, int dpiX, int dpiY);

}  // namespace pelmar
