#include <png.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <vector>

#include "files/picture_files.h"
#include "files/save_failure.h"
#include "platform/safe_save.h"

namespace pelmar {

namespace {

// Kept free of objects with destructors: libpng leaves by longjmp.
bool WritePngRows(std::FILE* f, int w, int h, bool alpha, std::uint32_t ppm, png_bytepp rows, png_textp text,
                  int textCount, bool fast) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png, info, ppm, ppm, PNG_RESOLUTION_METER);
    if (textCount > 0) png_set_text(png, info, text, textCount);
    // Rows filtered by their upper neighbour only: the choice among all five
    // filters per row costs more than the whole compression and saves nothing
    // on drawings (flat areas and thin lines).
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    if (fast) png_set_compression_level(png, 1);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::optional<std::uint32_t> PngPixelsPerMetre(int dpi) {
    const double v = std::rint(static_cast<double>(dpi) / 0.0254);
    if (!(v >= 0) || v > 4294967295.0) return std::nullopt;
    return static_cast<std::uint32_t>(v);
}

std::string WritePngFile(const std::string& path, const QImage& picture, bool alpha, std::uint32_t pixelsPerMetre,
                         const std::vector<std::pair<std::string, std::string>>& text, bool scratch) {
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return "empty picture";
    const QImage img = picture.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    if (img.isNull()) return "out of memory";
    std::vector<png_bytep> rows(static_cast<std::size_t>(img.height()));
    for (int y = 0; y < img.height(); ++y) rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(img.constScanLine(y));

    std::vector<png_text> chunks;
    for (const auto& [key, value] : text) {
        png_text t{};
        t.compression = PNG_TEXT_COMPRESSION_NONE;
        t.key = const_cast<png_charp>(key.c_str());
        t.text = const_cast<png_charp>(value.c_str());
        t.text_length = value.size();
        chunks.push_back(t);
    }

    SafeFile out(path, !scratch);
    if (!out.opened()) return out.error();
    std::FILE* f = out.stream();
    if (!f) return out.commit("cannot create the file");
    errno = 0;
    const bool ok = WritePngRows(f, img.width(), img.height(), alpha, pixelsPerMetre, rows.data(), chunks.data(),
                                 static_cast<int>(chunks.size()), scratch);
    return out.commit(ok ? std::string() : WriteFailureReason());
}

}  // namespace pelmar
