#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <vector>

#include "files/picture_files.h"
#include "files/save_failure.h"
#include "platform/safe_save.h"

namespace pelmar {

namespace {

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void OnJpegError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

// Kept free of objects with destructors: errors leave by longjmp.
bool WriteJpegRows(std::FILE* f, int w, int h, int quality, bool gray, JSAMPARRAY rows) {
    jpeg_compress_struct cinfo;
    JpegError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = OnJpegError;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = static_cast<JDIMENSION>(w);
    cinfo.image_height = static_cast<JDIMENSION>(h);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (gray) jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) jpeg_write_scanlines(&cinfo, rows + cinfo.next_scanline, 1);
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

std::string WriteJpegFile(const std::string& path, const QImage& picture, int quality, bool gray) {
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return "empty picture";
    if (picture.width() > JPEG_MAX_DIMENSION || picture.height() > JPEG_MAX_DIMENSION) return "picture too large for JPEG";
    quality = std::clamp(quality, 1, 100);
    const QImage img = picture.convertToFormat(QImage::Format_RGB888);
    if (img.isNull()) return "out of memory";
    std::vector<JSAMPROW> rows(static_cast<std::size_t>(img.height()));
    for (int y = 0; y < img.height(); ++y) rows[static_cast<std::size_t>(y)] = const_cast<JSAMPROW>(img.constScanLine(y));

    SafeFile out(path);
    if (!out.opened()) return out.error();
    std::FILE* f = out.stream();
    if (!f) return out.commit("cannot create the file");
    errno = 0;
    const bool ok = WriteJpegRows(f, img.width(), img.height(), quality, gray, rows.data());
    return out.commit(ok ? std::string() : WriteFailureReason());
}

}  // namespace pelmar
