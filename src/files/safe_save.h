// Saving through a temporary file beside the target: write to TempPathFor,
// then CommitTemp renames it over the target (or removes it on failure).
#pragma once

#include <string>

namespace pelmar {

std::string TempPathFor(const std::string& path);

// When `error` is empty, moves `temp` onto `path` and returns the error of
// the move (empty on success); otherwise deletes `temp` and returns `error`.
std::string CommitTemp(const std::string& temp, const std::string& path, const std::string& error);

}  // namespace pelmar
