#include "shell/program_folder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/safe_save.h"
#include "platform/side_file.h"

namespace pelmar {

namespace {

std::string WithSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::string DefaultProgDir() {
    const std::string xdg = Env("XDG_DATA_HOME");
    if (!xdg.empty() && xdg.front() == '/') return WithSlash(xdg) + "pelmar/";
    const std::string home = Env("HOME");
    if (!home.empty()) return WithSlash(home) + ".local/share/pelmar/";
    return {};
}

std::string DefaultCacheDir() {
    const std::string xdg = Env("XDG_CACHE_HOME");
    if (!xdg.empty() && xdg.front() == '/') return WithSlash(xdg) + "pelmar/";
    const std::string home = Env("HOME");
    if (!home.empty()) return WithSlash(home) + ".cache/pelmar/";
    return {};
}

std::string UnpackBuiltInFiles(const std::string& cacheDir) {
    static const QString root = QStringLiteral(":/pelmar");
    if (cacheDir.empty()) return {};
    std::vector<QString> names;  // below root, "DefaultSet/DePoint.set"
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) names.push_back(it.next().mid(root.size() + 1));
    if (names.empty()) return {};
    std::sort(names.begin(), names.end());

    QCryptographicHash digest(QCryptographicHash::Sha256);
    std::vector<QByteArray> contents;
    for (const QString& name : names) {
        QFile f(root + "/" + name);
        if (!f.open(QIODevice::ReadOnly)) return {};
        contents.push_back(f.readAll());
        digest.addData(name.toUtf8());
        digest.addData(QByteArrayView("\0", 1));
        digest.addData(QByteArray::number(contents.back().size()));
        digest.addData(QByteArrayView("\0", 1));
        digest.addData(contents.back());
    }
    const QString folder = QString::fromStdString(WithSlash(cacheDir)) + QStringLiteral("shipped-") +
                           QString::fromLatin1(digest.result().toHex().left(16)) + "/";
    // Each file that is missing or differs (a damaged copy) is written whole
    // under a scratch name and renamed, so that a second program starting at
    // the same time never reads half a file.
    for (std::size_t i = 0; i < names.size(); ++i) {
        const QString path = folder + names[i];
        // Read without waiting and never past the copy's size: a pipe, a
        // folder or a longer file there is no good copy.
        const auto size = static_cast<std::size_t>(contents[i].size());
        const SideFileBytes have = ReadSideFile(path.toStdString(), size + 1, SideFileCap::Refuse);
        if (have.state == SideFileBytes::State::Read && have.bytes.size() == size &&
            std::equal(have.bytes.begin(), have.bytes.end(), contents[i].cbegin()))
            continue;
        if (!QDir().mkpath(QFileInfo(path).path())) return {};
        // Whatever is at the name (a link too) is replaced, not written
        // through, and does not pass its permissions on; a folder there
        // cannot be: no cache then.  A cache is made again whenever it is
        // lost: it need not wait for the disk.
        std::error_code ec;
        if (std::filesystem::symlink_status(path.toStdString(), ec).type() != std::filesystem::file_type::directory)
            std::filesystem::remove(path.toStdString(), ec);
        if (!SafeWriteFile(path.toStdString(), std::string_view(contents[i].constData(), size), false).empty())
            return {};
    }
    return folder.toStdString();
}

std::vector<std::string> ShippedDirs(const std::string& builtIn) {
    std::vector<std::string> dirs;
    if (QCoreApplication::instance()) {
        const std::string bin = QCoreApplication::applicationDirPath().toStdString();
        // The program's folder is a real path: ".." taken away by its letters
        // names the same folder, as the messages show it.
        if (!bin.empty()) dirs.push_back(WithSlash(QDir::cleanPath(QString::fromStdString(bin + "/../share/pelmar")).toStdString()));
    }
    if (!builtIn.empty()) dirs.push_back(WithSlash(builtIn));
    std::string list = Env("XDG_DATA_DIRS");
    if (list.empty()) list = "/usr/local/share:/usr/share";
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(':', start), list.size());
        const std::string dir = list.substr(start, end - start);
        if (!dir.empty() && dir.front() == '/') dirs.push_back(WithSlash(dir) + "pelmar/");
        start = end + 1;
    }
    return dirs;
}

std::string LocateProgramFile(const std::string& path, const std::string& progDir,
                              const std::vector<std::string>& shippedDirs) {
    if (progDir.empty() || path.size() <= progDir.size() || path.compare(0, progDir.size(), progDir) != 0 ||
        IsFile(path))
        return path;
    const std::string rel = path.substr(progDir.size());
    for (const std::string& dir : shippedDirs) {
        const std::string candidate = WithSlash(dir) + rel;
        if (IsFile(candidate)) return candidate;
    }
    return path;
}

std::string HelpPage(const std::string& progDir, const std::vector<std::string>& shippedDirs,
                     const std::string& languageCode) {
    std::string code;  // lower-case letters only: the code becomes part of a file name
    for (const char c : languageCode) {
        if (!std::isalpha(static_cast<unsigned char>(c))) return HelpPage(progDir, shippedDirs, "rus");
        code += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    std::vector<std::string> names;
    if (!code.empty() && code != "rus") names.push_back("Pelmar_" + code + ".html");
    names.push_back("Pelmar.html");
    const std::string dir = WithSlash(progDir);
    for (const std::string& name : names) {
        const std::string file = LocateProgramFile(dir + name, dir, shippedDirs);
        if (IsFile(file)) return file;
    }
    return {};
}

}  // namespace pelmar
