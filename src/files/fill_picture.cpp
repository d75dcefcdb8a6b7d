#include <QImage>
#include <filesystem>
#include <system_error>

#include "files/companion.h"
#include "files/safe_save.h"

namespace pelmar {

void WriteFillPicture(const std::string& docName, const QImage& backPng, bool fillValid) {
    const std::string path = CompanionFileName(docName, ".grd.png");
    std::error_code ec;
    if (!fillValid) {
        std::filesystem::remove(path, ec);
        return;
    }
    if (backPng.isNull()) return;
    // The fill picture is opaque: no alpha channel in the file.
    const std::string temp = TempPathFor(path);
    const bool ok = backPng.convertToFormat(QImage::Format_RGB32).save(QString::fromStdString(temp), "PNG");
    CommitTemp(temp, path, ok ? std::string() : std::string("cannot write the file"));
}

bool ReadFillPicture(const std::string& docName, QImage& backPng) {
    const std::string path = CompanionFileName(docName, ".grd.png");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    QImage img;
    // A picture that does not load counts as missing: the fills are computed again.
    if (!img.load(QString::fromStdString(path), "PNG")) return false;
    backPng = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return true;
}

}  // namespace pelmar
