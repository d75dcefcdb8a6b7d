#include "platform/safe_save.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <random>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace pelmar {

namespace {

namespace fs = std::filesystem;

std::string Reason(const std::string& what, int err) { return what + ": " + std::strerror(err); }

// The file a chain of symbolic links ends at (the name itself when it is no
// link, or when the chain is too long to follow).
std::string Resolved(const std::string& path) {
    fs::path p = path;
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(p, ec)) return p.string();
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) return p.string();
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return path;
}

// At most `limit` bytes of `s`, cut before a UTF-8 continuation byte.
std::string Shortened(const std::string& s, std::size_t limit) {
    if (s.size() <= limit) return s;
    std::size_t n = limit;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return s.substr(0, n);
}

std::uint32_t RandomWord() {
    thread_local std::mt19937 gen{std::random_device{}()};
    return static_cast<std::uint32_t>(gen());
}

std::string FolderOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// The beginning of the temporary names of `target`, without its folder:
// "." + the file name (at most 160 bytes) + ".".
std::string TempPrefix(const fs::path& target) {
    std::string prefix(1, '.');
    prefix += Shortened(target.filename().string(), 160);
    prefix += '.';
    return prefix;
}

// The writing process of a temporary name "<prefix><pid>-<serial>-<word>~",
// or 0 when the name is not one.
long TempWriter(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() + 1 || name.compare(0, prefix.size(), prefix) != 0 || name.back() != '~') return 0;
    const std::string rest = name.substr(prefix.size(), name.size() - prefix.size() - 1);
    const std::size_t d1 = rest.find('-');
    const std::size_t d2 = d1 == std::string::npos ? d1 : rest.find('-', d1 + 1);
    if (d1 == 0 || d1 > 10 || d2 == std::string::npos || rest.find('-', d2 + 1) != std::string::npos) return 0;
    const auto digits = [](std::string_view s, const char* allowed) {
        return !s.empty() && s.find_first_not_of(allowed) == std::string_view::npos;
    };
    const std::string_view v(rest);
    if (!digits(v.substr(0, d1), "0123456789") || !digits(v.substr(d1 + 1, d2 - d1 - 1), "0123456789") ||
        !digits(v.substr(d2 + 1), "0123456789abcdef"))
        return 0;
    return std::stol(rest.substr(0, d1));
}

// Flushes a folder's entries: 0, else the error.
int FlushFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int err = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return err;
}

// Why a folder's flush failed, or "" when it did not or when the failure
// loses nothing: the folder is gone, or its file system flushes no folders.
std::string FlushFailure(const std::string& folder, int err) {
    if (err == 0 || err == ENOENT || err == ENOTDIR || err == EINVAL || err == EOPNOTSUPP || err == ENOSYS) return {};
    return Reason("cannot flush the folder " + folder + " to the disk", err);
}

// The flush of the folder of the last file saved, on a thread of its own.
// A folder's flush only makes the new name of a renamed file durable: the
// file itself reached the disk whole before the rename, so that until the
// flush ends a power cut leaves the old file or the new one, never a part
// of either.  The save does not wait for it; the next save does, before
// its own rename (names reach the disk in the order of the saves), and so
// does the end of the program.
class FolderFlush {
public:
    static FolderFlush& Get() {
        // Never destroyed: a save from a static object's destructor still
        // finds it; the end of the program waits for the flush first.
        static FolderFlush* const flush = [] {
            auto* f = new FolderFlush;
            std::atexit([] { Get().finish(); });
            // A fork waits for the flush: a child inherits no lock a
            // flushing thread might hold.
            ::pthread_atfork([] { Get().wait(); }, nullptr, nullptr);
            return f;
        }();
        return *flush;
    }

    // Waits for the flush under way, if any.
    void wait() {
        if (std::thread* running = take()) {
            running->join();
            delete running;
        }
    }

    // Flushes `folder` on a thread of its own, or here once the program is
    // ending or no thread can be had.
    void start(const std::string& folder) {
        for (;;) {
            std::thread* running = nullptr;
            {
                const std::lock_guard<std::mutex> hold(lock_);
                forgetParents();
                if (!thread_) {
                    if (!ending_) {
                        try {
                            thread_ = new std::thread([this, folder] { note(folder, FlushFolder(folder)); });
                            owner_ = ::getpid();
                            return;
                        } catch (const std::exception&) {
                        }
                    }
                    break;
                }
                running = std::exchange(thread_, nullptr);  // another save's flush started meanwhile
            }
            running->join();
            delete running;
        }
        note(folder, FlushFolder(folder));
    }

    // The first failure since the last call, once; waits for the flush under way.
    std::string takeFailure() {
        wait();
        const std::lock_guard<std::mutex> hold(lock_);
        return std::exchange(failure_, {});
    }

private:
    void note(const std::string& folder, int err) {
        std::string failure = FlushFailure(folder, err);
        const std::lock_guard<std::mutex> hold(lock_);
        if (failure_.empty()) failure_ = std::move(failure);
    }

    void finish() {
        {
            const std::lock_guard<std::mutex> hold(lock_);
            ending_ = true;
        }
        wait();
    }

    std::thread* take() {
        const std::lock_guard<std::mutex> hold(lock_);
        forgetParents();
        return std::exchange(thread_, nullptr);
    }

    // A forked child has no threads but the one that forked: a flush its
    // parent had under way is the parent's to wait for (its thread object
    // is kept aside, neither joined nor destroyed).
    void forgetParents() {
        if (thread_ && owner_ != ::getpid()) parents_.push_back(std::exchange(thread_, nullptr));
    }

    std::mutex lock_;
    std::thread* thread_ = nullptr;  // the flush under way, started by process owner_
    pid_t owner_ = 0;
    std::vector<std::thread*> parents_;
    bool ending_ = false;
    std::string failure_;  // the first flush that failed and was not yet told
};

}  // namespace

void WaitForFolderFlush() { FolderFlush::Get().wait(); }

std::string TakeFolderFlushFailure() { return FolderFlush::Get().takeFailure(); }

bool SyncFolder(const std::string& folder) { return FlushFolder(folder) == 0; }

void RemoveLeftoverTemps(const std::string& path) { RemoveLeftoverTemps(std::vector<std::string>{path}); }

void RemoveLeftoverTemps(const std::vector<std::string>& paths) {
    // The temporary-name prefixes of every target, by folder.
    std::vector<std::pair<std::string, std::vector<std::string>>> folders;
    const auto add = [&folders](const std::string& target) {
        const std::string folder = FolderOf(target);
        auto it = std::find_if(folders.begin(), folders.end(), [&](const auto& f) { return f.first == folder; });
        if (it == folders.end()) it = folders.insert(folders.end(), {folder, {}});
        it->second.push_back(TempPrefix(target));
    };
    for (const std::string& path : paths) {
        add(path);
        if (const std::string resolved = Resolved(path); resolved != path) add(resolved);
    }
    for (const auto& [folder, prefixes] : folders) {
        std::error_code ec;
        std::vector<fs::path> doomed;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            for (const std::string& prefix : prefixes) {
                const long pid = TempWriter(name, prefix);
                if (pid <= 0 || pid == static_cast<long>(::getpid())) continue;
                if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
                    doomed.push_back(it->path());
                    break;
                }
            }
        }
        for (const fs::path& p : doomed) {
            std::error_code e2;
            // Only plain files: never what a link at such a name points to.
            if (fs::is_regular_file(fs::symlink_status(p, e2))) fs::remove(p, e2);
        }
    }
}

SafeFile::SafeFile(const std::string& target, bool flush, LinkMode links, FileMode mode)
    : target_(links == LinkMode::Follow ? Resolved(target) : target), flush_(flush) {
    static std::atomic<unsigned> serial{0};
    const std::string folder = FolderOf(target_);
    // Hidden, and named after the writing process and its own serial number:
    // no two writers share a name, and O_EXCL catches the one that would.
    const std::string stem = folder + "/" + TempPrefix(target_) + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        char tail[32];
        std::snprintf(tail, sizeof tail, "%u-%08x~", serial.fetch_add(1), RandomWord());
        temp_ = stem + tail;
        // Mode 0666 less the user's umask: the permissions of a new file.
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        error_ = Reason("cannot create a file in " + folder, errno);
        temp_.clear();
        return;
    }
    opened_ = true;
    // The replaced file keeps its permissions (a replaced link has none).
    struct stat old {};
    if (mode == FileMode::Keep && ::lstat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd_, old.st_mode & 07777);
}

SafeFile::~SafeFile() {
    if (!done_) discard();
}

std::FILE* SafeFile::stream() {
    if (!stream_ && fd_ >= 0) {
        stream_ = ::fdopen(fd_, "wb");
        if (stream_) fd_ = -1;
    }
    return stream_;
}

int SafeFile::releaseFd() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void SafeFile::discard() {
    if (stream_) std::fclose(stream_);
    if (fd_ >= 0) ::close(fd_);
    stream_ = nullptr;
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

std::string SafeFile::commit(const std::string& error) {
    if (done_) return "the file was already saved";
    done_ = true;
    if (!opened_) return error.empty() ? error_ : error;
    if (!error.empty()) {
        discard();
        return error;
    }
    std::string failure;
    auto check = [&](bool ok, const char* what) {
        if (!ok && failure.empty()) failure = Reason(std::string(what) + " " + temp_, errno);
    };
    if (stream_) {
        check(std::fflush(stream_) == 0, "cannot write");
        check(!flush_ || ::fsync(::fileno(stream_)) == 0, "cannot flush");
        check(std::fclose(stream_) == 0, "cannot close");
        stream_ = nullptr;
    } else if (fd_ >= 0) {
        check(!flush_ || ::fsync(fd_) == 0, "cannot flush");
        check(::close(fd_) == 0, "cannot close");
        fd_ = -1;
    } else if (flush_) {
        // The library that wrote the file has closed it: flush it by name.
        const int fd = ::open(temp_.c_str(), O_RDONLY | O_CLOEXEC);
        check(fd >= 0, "cannot open");
        if (fd >= 0) {
            check(::fsync(fd) == 0, "cannot flush");
            ::close(fd);
        }
    }
    // The names of earlier saves reach the disk before this one's.
    if (failure.empty() && flush_) FolderFlush::Get().wait();
    if (failure.empty() && std::rename(temp_.c_str(), target_.c_str()) != 0)
        failure = Reason("cannot replace " + target_, errno);
    if (!failure.empty()) {
        discard();
        return failure;
    }
    temp_.clear();
    // The new name reaches the disk with the folder, flushed while the
    // program goes on; a file system that cannot flush folders has still
    // replaced the file.
    if (flush_) FolderFlush::Get().start(FolderOf(target_));
    return {};
}

std::string SafeWriteFile(const std::string& path, std::string_view bytes, bool flush, LinkMode links, FileMode mode) {
    SafeFile f(path, flush, links, mode);
    if (!f.opened()) return f.error();
    std::FILE* out = f.stream();
    if (!out) return f.commit(Reason("cannot write " + f.tempPath(), errno));
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return f.commit(ok ? std::string() : Reason("cannot write " + f.tempPath(), errno));
}

int SaveErrorNumber(std::string_view reason) {
    // Reason() puts the system's text last, after ": ".
    for (int err = 1; err < 134; ++err) {
        const std::string text = std::string(": ") + std::strerror(err);
        if (reason.size() > text.size() && reason.substr(reason.size() - text.size()) == text) return err;
    }
    return 0;
}

}  // namespace pelmar
