#include "shell/user_folders.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "platform/safe_save.h"
#include "platform/side_file.h"

namespace pelmar {

namespace {

namespace fs = std::filesystem;

std::string WithSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

// The folder's full path without "." and ".." and links.
fs::path Canonical(const std::string& dir) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(dir, ec), ec);
    if (ec) p = fs::path(dir).lexically_normal();
    if (!p.has_filename()) p = p.parent_path();
    return p;
}

// `dir` is `root` or lies under it.
bool Inside(const fs::path& dir, const std::string& root) {
    if (root.empty()) return false;
    const fs::path r = Canonical(root);
    auto d = dir.begin();
    for (auto it = r.begin(); it != r.end(); ++it, ++d)
        if (d == dir.end() || *d != *it) return false;
    return true;
}

}  // namespace

std::string UserDocumentsFolder() {
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!docs.isEmpty() && QDir(docs).exists()) return WithSlash(docs.toStdString());
    return WithSlash(QDir::homePath().toStdString());
}

std::string StartFolder(const OwnFolders& own, const std::string& wanted) {
    if (IsFolder(wanted)) {
        const fs::path dir = Canonical(wanted);
        bool ours = Inside(dir, own.progDir);
        for (const std::string& shipped : own.shippedDirs) ours = ours || Inside(dir, shipped);
        if (!ours) return WithSlash(wanted);
    }
    return own.documentsDir.empty() ? UserDocumentsFolder() : WithSlash(own.documentsDir);
}

std::string ProposedFile(const std::string& folder, const std::string& docName, const std::string& ext) {
    std::string base = fs::path(docName).filename().string();
    const std::size_t dot = base.rfind('.');
    if (dot != std::string::npos && dot > 0) base.erase(dot);
    return WithSlash(folder) + base + ext;
}

bool KeepQtSettingsReadable(const std::string& scratchDir) {
    // Qt keeps the dialogs' last folder and a few sizes there: a few
    // kilobytes.
    constexpr std::size_t MaxQtSettingsBytes = std::size_t{1} << 20;
    // The folder of the first call, and whether the settings went there.
    static std::string scratch;
    static bool moved = false;
    if (scratch.empty()) scratch = scratchDir;
    if (moved) return true;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty() || scratch.empty() || scratch.front() != '/') return false;
    const std::string file = (config + QStringLiteral("/QtProject.conf")).toStdString();
    const SideFileBytes read = ReadSideFile(file, MaxQtSettingsBytes, SideFileCap::Refuse);
    // Qt writes its settings through a link, over the file it points to: the
    // link gives way to a file of its own holding what it showed.
    std::error_code ec;
    const bool link = fs::is_symlink(file, ec);
    if (read.state != SideFileBytes::State::Failed && (!link || SafeWriteFile(file, read.bytes).empty())) return false;
    moved = true;
    const std::string dir = WithSlash(scratch) + "QtSettings";
    fs::create_directories(dir, ec);
    const QString path = QString::fromStdString(dir);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
    return true;
}

}  // namespace pelmar
