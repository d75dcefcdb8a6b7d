// The one reader of the files the program keeps beside the documents: the
// settings, the paths they cannot hold, the export options.  Only a regular
// file is read, and only its first bytes: a folder, a named pipe or a device
// at such a name never stops or ends the program, and a link to an endless
// device never fills the memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pelmar {

struct SideFileBytes {
    enum class State : std::uint8_t {
        Missing,  // nothing at the name (or a parent is no folder)
        Read,     // `bytes` hold the file
        Failed,   // there is something at the name that could not be read
    };
    State state = State::Missing;
    std::string bytes;
    // With Failed: errno, EISDIR for a folder, 0 for another thing that is
    // no regular file (a pipe, a device, a socket).
    int error = 0;
    // With Failed: a regular file was opened, and reading it failed.
    bool readFailed = false;
    // With Read: the file goes on past `cap` bytes.
    bool cut = false;
};

// The bytes of a regular file; of a file longer than `cap` bytes, the whole
// lines of its first `cap` bytes.  Opened without waiting, so that a named
// pipe does not stop the caller, and checked to be a regular file before a
// byte is read.  Never throws but for want of memory.
SideFileBytes ReadSideFile(const std::string& name, std::size_t cap);

}  // namespace pelmar
