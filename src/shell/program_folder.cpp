#include "shell/program_folder.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

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

std::vector<std::string> ShippedDirs() {
    std::vector<std::string> dirs;
    if (QCoreApplication::instance()) {
        const std::string bin = QCoreApplication::applicationDirPath().toStdString();
        if (!bin.empty()) dirs.push_back(WithSlash(bin) + "../share/pelmar/");
    }
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

}  // namespace pelmar
