#include "support/watched_child.h"

#include <chrono>
#include <exception>
#include <fstream>
#include <thread>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace pelmar::test {

static std::uint64_t StatusKb(const std::string& pid, const std::string& key) {
    std::ifstream in("/proc/" + pid + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key, 0) == 0) return std::stoull(line.substr(key.size()));
    return 0;
}

std::string RunWatched(const std::function<std::string()>& body, int seconds, std::uint64_t memoryKb) {
    int out[2];
    const pid_t child = ::pipe(out) != 0 ? -1 : ::fork();
    if (child < 0) return "no child";
    if (child == 0) {
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak is counted from here
        const std::uint64_t before = StatusKb("self", "VmRSS:");
        std::string said;
        try {  // an exception left would run the rest of the tests in the child
            said = body();
        } catch (const std::exception& e) { said = std::string("throws ") + e.what(); }
        const std::uint64_t peak = StatusKb("self", "VmHWM:");
        if (said.empty() && peak > before + memoryKb) said = "took " + std::to_string((peak - before) >> 10) + " MB";
        [[maybe_unused]] const auto n = ::write(out[1], said.data(), said.size());
        ::_exit(0);
    }
    ::close(out[1]);
    const std::string pid = std::to_string(child);
    const std::uint64_t start = StatusKb(pid, "VmRSS:");
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::string said;
    int status = 0;
    while (said.empty() && ::waitpid(child, &status, WNOHANG) != child) {
        if (StatusKb(pid, "VmRSS:") > start + 2 * memoryKb) said = "fills the memory";
        else if (std::chrono::steady_clock::now() > until) said = "waits for ever";
        else std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!said.empty()) ::kill(child, SIGKILL), ::waitpid(child, &status, 0);
    else if (WIFSIGNALED(status) || WEXITSTATUS(status) != 0)
        said = "ends the program (" + (WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status)) : "exit " + std::to_string(WEXITSTATUS(status))) + ")";
    char buf[512];
    for (ssize_t n; said.empty() && (n = ::read(out[0], buf, sizeof buf)) > 0;) said.append(buf, std::size_t(n));
    ::close(out[0]);
    return said;
}

}  // namespace pelmar::test
