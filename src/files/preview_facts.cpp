#include "files/preview_facts.h"

#include <QFileInfo>
#include <array>

namespace pelmar {

namespace {

std::string Pad2(int n) {
    const std::string s = std::to_string(n);
    return s.size() < 2 ? std::string(2 - s.size(), '0') + s : s;
}

}  // namespace

std::int64_t FileSizeOf(const QString& name) {
    if (name.isEmpty()) return -1;
    const QFileInfo fi(name);
    if (!fi.exists()) return -1;
    return fi.isDir() ? 0 : fi.size();
}

QDateTime FileDateTimeOf(const QString& name) {
    if (name.isEmpty()) return {};
    const QFileInfo fi(name);
    if (!fi.exists()) return {};
    return fi.lastModified();
}

bool FileExistsByAttr(const QString& name) {
    if (name.isEmpty()) return false;
    const QFileInfo fi(name);
    return fi.exists() && fi.isReadable();
}

std::string FileSizeText(std::int64_t size) {
    const std::string digits = std::to_string(size);
    if (digits.size() < 4 || digits.size() > 12 || size < 0) return digits;
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += '.';
        out += digits[i];
    }
    return out;
}

std::string FileTimeText(const QDateTime& t) {
    const QTime time = t.time();
    return Pad2(time.hour()) + ":" + Pad2(time.minute());
}

std::string FileDateText(const QDateTime& t) {
    const QDate d = t.date();
    return Pad2(d.day()) + "." + Pad2(d.month()) + "." + Pad2(d.year());
}

std::string VersionText(std::uint8_t version) {
    static constexpr std::array<const char*, 20> table{"",    "1.0", "1.1", "1.2", "1.3", "2.0", "2.1",
                                                       "3.0", "3.1", "3.2", "4.0", "4.1", "4.2", "5.0",
                                                       "5.1", "5.2", "5.3", "5.4", "5.5", "6.0"};
    return version < table.size() ? table[version] : "";
}

PreviewKind PreviewKindOf(const QString& name) {
    if (name.size() < 4) return PreviewKind::None;
    const QString ext = name.right(4);
    static const std::array<const char*, 6> pictures{".bmp", ".jpg", ".gif", ".png", ".wmf", ".emf"};
    for (const char* p : pictures) {
        const QString lower = QString::fromLatin1(p);
        const QString upper = lower.toUpper();
        const QString capital = QString(lower).replace(1, 1, lower.mid(1, 1).toUpper());
        if (ext == lower || ext == upper || ext == capital) return PreviewKind::Picture;
    }
    if (ext == ".pel" || ext == ".PEL" || ext == ".Pel") return PreviewKind::Document;
    return PreviewKind::None;
}

bool PreviewablePictureSize(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) return false;
    if (width > PreviewMaxSide || height > PreviewMaxSide) return false;
    return static_cast<std::int64_t>(width) * height <= PreviewMaxPixels;
}

}  // namespace pelmar
