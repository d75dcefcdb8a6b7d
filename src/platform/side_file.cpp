#include "platform/side_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace pelmar {

namespace {

void Fail(SideFileBytes& out, int error) {
    out.state = SideFileBytes::State::Failed;
    out.error = error;
    std::string().swap(out.bytes);
}

}  // namespace

SideFileBytes ReadSideFile(const std::string& name, std::size_t cap, SideFileCap over) {
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
    const std::size_t size = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
    if (over == SideFileCap::Refuse && size > cap) {
        out.error = EFBIG;
        return out;
    }
    try {
        // A file read whole grows in one block; one of lines at most to its cap.
        out.bytes.reserve(std::min(size, cap) + 1);
        char chunk[1 << 14];
        while (out.bytes.size() <= cap) {
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                Fail(out, errno);
                out.readFailed = true;
                return out;
            }
            if (n == 0) break;
            out.bytes.append(chunk, static_cast<std::size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        Fail(out, ENOMEM);
        return out;
    }
    if (out.bytes.size() > cap) {
        if (over == SideFileCap::Refuse) {  // grown while read
            Fail(out, EFBIG);
            return out;
        }
        // Its beginning, up to the last line break in it.
        out.cut = true;
        const std::size_t lastBreak = cap == 0 ? std::string::npos : out.bytes.rfind('\n', cap - 1);
        out.bytes.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
    }
    out.state = SideFileBytes::State::Read;
    return out;
}

int OpenRegularFile(const std::string& name, int* error) {
    int dummy = 0;
    int& err = error ? *error : dummy;
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        err = S_ISDIR(st.st_mode) ? EISDIR : 0;
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

std::string SideFileReason(const SideFileBytes& read) {
    if (read.state == SideFileBytes::State::Missing) return std::strerror(ENOENT);
    if (read.state == SideFileBytes::State::Read) return {};
    if (read.error == 0) return "not a regular file";
    return std::strerror(read.error);
}

}  // namespace pelmar
