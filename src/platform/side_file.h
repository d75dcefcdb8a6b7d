// The one reader of every file the program reads: documents and their
// companions, default sets, the clipboard's files, cached copies, the help
// page, translations, the settings and the export options.  Only a regular
// file is read, and only up to a cap: a folder, a named pipe or a device at
// such a name never stops or ends the program, and a link to an endless
// device or a huge file never fills the memory.
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
    // no regular file (a pipe, a device, a socket), EFBIG for a file longer
    // than the cap that is not cut (SideFileCap::Refuse), ENOMEM when its
    // bytes found no memory.
    int error = 0;
    // With Failed: a regular file was opened, and reading it failed.
    bool readFailed = false;
    // With Read: the file goes on past `cap` bytes.
    bool cut = false;
};

// What is done with a file longer than the cap: its beginning is read (a
// file of lines, each line read on its own), or it is refused whole (a file
// that is read as a whole or not at all: a document, a curves file).
enum class SideFileCap : std::uint8_t { Cut, Refuse };

// The bytes of a regular file; of a file longer than `cap` bytes, the whole
// lines of its first `cap` bytes (Cut) or nothing, Failed with EFBIG
// (Refuse).  Opened without waiting, so that a named pipe does not stop the
// caller, and checked to be a regular file before a byte is read.  Never
// throws: memory that cannot be had makes it Failed.
SideFileBytes ReadSideFile(const std::string& name, std::size_t cap, SideFileCap over = SideFileCap::Cut);

// For a reader that streams a file of its own kind (a picture, a metafile):
// the descriptor of `name` opened for reading, without waiting on a pipe,
// when it is a regular file (then in blocking mode again); else -1 with
// *error as in SideFileBytes (ENOENT for nothing there).  The caller closes
// it.
int OpenRegularFile(const std::string& name, int* error = nullptr);

// Why a file could not be read, for a message: strerror of `error`, or
// "not a regular file" for error 0.
std::string SideFileReason(const SideFileBytes& read);

}  // namespace pelmar
