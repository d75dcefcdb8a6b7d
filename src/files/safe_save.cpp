#include "files/safe_save.h"

#include <filesystem>
#include <system_error>

namespace pelmar {

std::string TempPathFor(const std::string& path) { return path + ".part"; }

std::string CommitTemp(const std::string& temp, const std::string& path, const std::string& error) {
    std::error_code ec;
    if (!error.empty()) {
        std::filesystem::remove(temp, ec);
        return error;
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return ec.message();
    }
    return {};
}

}  // namespace pelmar
