#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace pelmar::test {

// Runs `body` in a watched child process: "" when it said "" within `seconds` and took no more than
// `memoryKb` over what the child held before, else what it said or that it waited for ever, filled
// the memory or ended; a test that hangs or fills the memory so fails instead of stopping the run.
std::string RunWatched(const std::function<std::string()>& body, int seconds, std::uint64_t memoryKb);

}  // namespace pelmar::test
