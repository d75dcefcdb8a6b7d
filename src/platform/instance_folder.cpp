#include "platform/instance_folder.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

namespace pelmar {

namespace {

namespace fs = std::filesystem;

std::string HostName() {
    char buf[HOST_NAME_MAX + 1] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0 || buf[0] == 0) return "host";
    std::string h = buf;
    for (char& c : h)
        if (c == '/') c = '_';
    return h;
}

// The instance's name; a forked child gets a name of its own.
std::string InstanceName() {
    static const std::string host = HostName();
    static const std::uint32_t word = std::random_device{}();
    char tail[40];
    std::snprintf(tail, sizeof tail, "-%ld-%08x", static_cast<long>(::getpid()), static_cast<unsigned>(word));
    return host + tail;
}

std::string TempRoot(const std::string& programFolder) {
    std::string root = programFolder;
    if (!root.empty() && root.back() != '/') root += '/';
    return root + "Temp/";
}

// A folder "<host>-<pid>-<word>" of this machine whose process has ended.
bool LeftBehind(const std::string& name, const std::string& host) {
    const std::size_t last = name.rfind('-');
    if (last == std::string::npos || last == 0) return false;
    const std::size_t mid = name.rfind('-', last - 1);
    if (mid == std::string::npos || name.compare(0, mid, host) != 0 || mid != host.size()) return false;
    const std::string pid = name.substr(mid + 1, last - mid - 1);
    if (pid.empty() || pid.size() > 10 || pid.find_first_not_of("0123456789") != std::string::npos) return false;
    const long id = std::stol(pid);
    if (id <= 0 || id == static_cast<long>(::getpid())) return false;
    return ::kill(static_cast<pid_t>(id), 0) != 0 && errno == ESRCH;
}

}  // namespace

std::string InstanceTempFolder(const std::string& programFolder) {
    const std::string root = TempRoot(programFolder);
    const std::string folder = root + InstanceName() + "/";
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return folder;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder, ec)) return {};
    static const std::string host = HostName();
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code e2;
        if (it->is_directory(e2) && LeftBehind(it->path().filename().string(), host)) fs::remove_all(it->path(), e2);
    }
    return folder;
}

void RemoveInstanceTempFolder(const std::string& programFolder) {
    std::error_code ec;
    fs::remove_all(TempRoot(programFolder) + InstanceName(), ec);
}

}  // namespace pelmar
