#include "platform/side_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace pelmar {

SideFileBytes ReadSideFile(const std::string& name, std::size_t cap) {
    SideFileBytes out;
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR) out.state = SideFileBytes::State::Failed, out.error = errno;
        return out;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    out.state = SideFileBytes::State::Failed;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        out.error = errno;
        return out;
    }
    if (!S_ISREG(st.st_mode)) {
        out.error = S_ISDIR(st.st_mode) ? EISDIR : 0;
        return out;
    }
    char chunk[1 << 14];
    while (out.bytes.size() <= cap) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            out.error = errno;
            out.readFailed = true;
            out.bytes.clear();
            return out;
        }
        if (n == 0) break;
        out.bytes.append(chunk, static_cast<std::size_t>(n));
    }
    if (out.bytes.size() > cap) {  // its beginning, up to the last line break in it
        out.cut = true;
        const std::size_t lastBreak = cap == 0 ? std::string::npos : out.bytes.rfind('\n', cap - 1);
        out.bytes.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
    }
    out.state = SideFileBytes::State::Read;
    return out;
}

}  // namespace pelmar
