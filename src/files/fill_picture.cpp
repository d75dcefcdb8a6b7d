#include <QImage>
#include <QImageReader>
#include <filesystem>
#include <system_error>

#include "files/companion.h"
#include "files/picture_files.h"

namespace pelmar {

namespace {

// The PNG text chunk that carries the save stamp.
constexpr char StampKey[] = "PelmarSave";  // no space: Qt reads a key with one as plain description

}  // namespace

void WriteFillPicture(const std::string& docName, const QImage& backPng, bool fillValid, const std::string& stamp,
                      bool scratch) {
    const std::string path = CompanionFileName(docName, ".grd.png");
    std::error_code ec;
    if (!fillValid) {
        std::filesystem::remove(path, ec);
        return;
    }
    if (backPng.isNull()) return;
    // The fill picture is opaque: no alpha channel in the file.
    const int ppm = backPng.dotsPerMeterX() > 0 ? backPng.dotsPerMeterX() : 3780;
    std::vector<std::pair<std::string, std::string>> text;
    if (!stamp.empty()) text.emplace_back(StampKey, stamp);
    WritePngFile(path, backPng, false, static_cast<std::uint32_t>(ppm), text, scratch);
}

bool ReadFillPicture(const std::string& docName, QImage& backPng, const std::string& stamp) {
    const std::string path = CompanionFileName(docName, ".grd.png");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    QImageReader reader(QString::fromStdString(path), "PNG");
    // A picture of another save counts as missing: the fills are computed again.
    if (reader.text(QString::fromLatin1(StampKey)).toStdString() != stamp) return false;
    QImage img;
    // So does a picture that does not load.
    if (!reader.read(&img)) return false;
    backPng = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return true;
}

}  // namespace pelmar
