#include <gif_lib.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "files/palette.h"
#include "files/picture_files.h"
#include "files/save_failure.h"
#include "platform/safe_save.h"

namespace pelmar {

std::string WriteGifFile(const std::string& path, const QImage& picture, std::optional<std::uint32_t> transparentColor) {
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return "empty picture";
    if (picture.width() > 0xFFFF || picture.height() > 0xFFFF) return "picture too large for GIF";

    std::optional<std::uint32_t> key;
    if (transparentColor) {
        const std::uint32_t c = *transparentColor;  // 0x00BBGGRR
        key = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
    IndexedPicture ip = ReduceColors(picture, 256, key);

    int bits = 1;
    while ((1u << bits) < ip.palette.size()) ++bits;
    const int mapSize = 1 << bits;
    std::vector<GifColorType> colors(static_cast<std::size_t>(mapSize), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < ip.palette.size(); ++i)
        colors[i] = GifColorType{static_cast<GifByteType>((ip.palette[i] >> 16) & 0xFF),
                                 static_cast<GifByteType>((ip.palette[i] >> 8) & 0xFF),
                                 static_cast<GifByteType>(ip.palette[i] & 0xFF)};

    int err = 0;
    // Opened here rather than by giflib, which would make the file readable by its owner only.
    SafeFile out(path);
    if (!out.opened()) return out.error();
    const int fd = out.releaseFd();
    GifFileType* gif = EGifOpenFileHandle(fd, &err);
    if (!gif) {
        ::close(fd);
        return out.commit("cannot create the file");
    }
    errno = 0;
    ColorMapObject* map = GifMakeMapObject(mapSize, colors.data());
    bool ok = map != nullptr;
    EGifSetGifVersion(gif, ip.keyIndex >= 0);
    ok = ok && EGifPutScreenDesc(gif, picture.width(), picture.height(), bits, 0, map) == GIF_OK;
    if (ok && ip.keyIndex >= 0) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.UserInputFlag = false;
        gcb.DelayTime = 0;
        gcb.TransparentColor = ip.keyIndex;
        GifByteType ext[4];
        const std::size_t len = EGifGCBToExtension(&gcb, ext);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext) == GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, 0, 0, picture.width(), picture.height(), false, nullptr) == GIF_OK;
    // The rows follow each other in one compressed stream: given at once.
    ok = ok && EGifPutLine(gif, ip.pixels.data(), picture.width() * picture.height()) == GIF_OK;
    if (map) GifFreeMapObject(map);
    const bool closed = EGifCloseFile(gif, &err) == GIF_OK;
    return out.commit(ok && closed ? std::string() : WriteFailureReason());
}

}  // namespace pelmar
