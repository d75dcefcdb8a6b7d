// A piece of a test run in a child process that is watched: one that waits
// for ever or fills the memory is ended and said so, instead of stopping the
// whole test run.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace pelmar::test {

// Runs `body` in a child process: "" when it said "" within `seconds` and
// with its memory no more than `memoryKb` over what the child held before,
// else what it said or what went wrong.
std::string RunWatched(const std::function<std::string()>& body, int seconds, std::uint64_t memoryKb);

}  // namespace pelmar::test
