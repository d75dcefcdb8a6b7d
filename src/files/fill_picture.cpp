#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "files/companion.h"
#include "files/picture_files.h"
#include "platform/safe_save.h"
#include "platform/side_file.h"

namespace pelmar {

namespace {

// The largest fill picture read: a picture of at most PictureSideMax pixels
// a side, three bytes a pixel, stored (not even compressed) in PNG blocks, is
// some 75 MB.
constexpr std::size_t MaxFillPictureBytes = std::size_t{128} << 20;

// The PNG text chunk that carries the save stamp.
constexpr char StampKey[] = "PelmarSave";  // no space: Qt reads a key with one as plain description

std::uint32_t Crc32(const char* data, std::size_t n) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) c = table[(c ^ static_cast<unsigned char>(data[i])) & 0xFFu] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t BigEndian(const char* p) {
    return (std::uint32_t{static_cast<unsigned char>(p[0])} << 24) | (std::uint32_t{static_cast<unsigned char>(p[1])} << 16) |
           (std::uint32_t{static_cast<unsigned char>(p[2])} << 8) | std::uint32_t{static_cast<unsigned char>(p[3])};
}

// Where the stamp chunk of PNG bytes starts (its length field), or npos.
std::size_t StampChunk(const std::string& png, const std::string& stamp) {
    const std::string data = std::string(StampKey) + '\0' + stamp;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t len = BigEndian(png.data() + at);
        if (len > png.size() - at - 12) return std::string::npos;
        if (png.compare(at + 4, 4, "tEXt") == 0 && len == data.size() && png.compare(at + 8, len, data) == 0) return at;
        at += 12 + std::size_t{len};
    }
    return std::string::npos;
}

// The last fill picture written beside an undo snapshot.  A commit mostly
// leaves the fill picture as it was, and its file then differs from the
// last one only in the stamp: the encoded bytes are kept and only the stamp
// chunk is written anew.  The pixels are compared, not trusted to be the same.
struct LastScratchPicture {
    std::mutex lock;
    QImage pixels;  // a copy of its own
    std::uint32_t ppm = 0;
    std::string png;
    std::size_t chunk = std::string::npos;  // the stamp chunk in png
    std::size_t stampSize = 0;

    bool Matches(const QImage& img, std::uint32_t p, std::size_t stampLen) const {
        if (chunk == std::string::npos || p != ppm || stampLen != stampSize || img.format() != pixels.format() ||
            img.size() != pixels.size())
            return false;
        const auto row = static_cast<std::size_t>(img.bytesPerLine()) <
                                 static_cast<std::size_t>(pixels.bytesPerLine())
                             ? static_cast<std::size_t>(img.bytesPerLine())
                             : static_cast<std::size_t>(pixels.bytesPerLine());
        const std::size_t used = std::min(row, static_cast<std::size_t>((img.width() * img.depth() + 7) / 8));
        for (int y = 0; y < img.height(); ++y)
            if (std::memcmp(img.constScanLine(y), pixels.constScanLine(y), used) != 0) return false;
        return true;
    }
};

LastScratchPicture& LastScratch() {
    static LastScratchPicture last;
    return last;
}

}  // namespace

void WriteFillPicture(const std::string& docName, const QImage& backPng, bool fillValid, const std::string& stamp,
                      bool scratch) {
    const std::string path = CompanionFileName(docName, ".grd.png");
    std::error_code ec;
    if (!fillValid) {
        // A folder of that name is no fill picture of the program's.
        if (std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::directory)
            std::filesystem::remove(path, ec);
        return;
    }
    if (backPng.isNull()) return;
    // The fill picture is opaque: no alpha channel in the file.
    const int ppm = backPng.dotsPerMeterX() > 0 ? backPng.dotsPerMeterX() : 3780;
    std::vector<std::pair<std::string, std::string>> text;
    if (!stamp.empty()) text.emplace_back(StampKey, stamp);
    if (!scratch || stamp.empty()) {
        WritePngFile(path, backPng, false, static_cast<std::uint32_t>(ppm), text, scratch);
        return;
    }
    LastScratchPicture& last = LastScratch();
    const std::lock_guard<std::mutex> hold(last.lock);
    if (last.Matches(backPng, static_cast<std::uint32_t>(ppm), stamp.size())) {
        std::string png = last.png;
        const std::size_t data = last.chunk + 8 + sizeof StampKey;
        png.replace(data, stamp.size(), stamp);
        const std::uint32_t crc = Crc32(png.data() + last.chunk + 4, 4 + sizeof StampKey + stamp.size());
        for (int i = 0; i < 4; ++i)
            png[data + stamp.size() + static_cast<std::size_t>(i)] = static_cast<char>(crc >> (24 - 8 * i));
        SafeWriteFile(path, png, false);
        return;
    }
    last.chunk = std::string::npos;
    if (!WritePngFile(path, backPng, false, static_cast<std::uint32_t>(ppm), text, scratch).empty()) return;
    SideFileBytes written = ReadSideFile(path, MaxFillPictureBytes, SideFileCap::Refuse);
    std::string png = std::move(written.bytes);
    const std::size_t chunk = StampChunk(png, stamp);
    if (written.state != SideFileBytes::State::Read || chunk == std::string::npos) return;
    last.pixels = backPng.copy();
    last.ppm = static_cast<std::uint32_t>(ppm);
    last.png = std::move(png);
    last.chunk = chunk;
    last.stampSize = stamp.size();
}

bool ReadFillPicture(const std::string& docName, QImage& backPng, const std::string& stamp) {
    const std::string path = CompanionFileName(docName, ".grd.png");
    // A picture that cannot be read whole counts as missing, as one that
    // does not load.
    const SideFileBytes read = ReadSideFile(path, MaxFillPictureBytes, SideFileCap::Refuse);
    if (read.state != SideFileBytes::State::Read) return false;
    QByteArray bytes = QByteArray::fromRawData(read.bytes.data(), static_cast<qsizetype>(read.bytes.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "PNG");
    // A picture of another save counts as missing: the fills are computed again.
    if (reader.text(QString::fromLatin1(StampKey)).toStdString() != stamp) return false;
    QImage img;
    // So does a picture that does not load.
    if (!reader.read(&img)) return false;
    backPng = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return true;
}

}  // namespace pelmar
