// Saving a file so that a reader never sees it half written: the bytes go to
// a temporary file in the target's folder, under a name no other writer (of
// this or another process) uses, are flushed to the disk, and the temporary
// file is renamed over the target; then the folder itself is flushed, so that
// the new name survives a power cut.  Until the rename the target keeps its
// old contents; a writer that fails or is killed leaves the target as it was.
// The folder's flush runs on a thread of its own after the save has
// returned; the next save waits for it before its rename, and so does the
// end of the program.  A flush that fails is kept for the program to tell
// (TakeFolderFlushFailure).
//
// Every file the program writes goes through here: documents and their
// companion files, pictures, metafiles and settings.
#pragma once

#include <cstdio>
#include <string>
#include <vector>
#include <string_view>

namespace pelmar {

// What a save does with a target that is a symbolic link.  Only the file the
// user named (the document being saved) follows its link; every other file
// (companions, undo snapshots, scratch files, exports, settings) replaces the
// link itself, so that a link planted at such a name never makes the program
// write over the file it points to.
enum class LinkMode { Replace, Follow };

// The permissions of the file a save makes: those of the file it replaces
// (a document keeps what its owner gave it), or those of a new file, 0666
// less the user's umask (a file of the program's own, which a file it
// replaces that could not be read must not pass on).
enum class FileMode { Keep, Fresh };

class SafeFile {
public:
    // Creates the temporary file beside `target` (with LinkMode::Follow
    // beside the file a link points to, which is then replaced).  The
    // temporary file gets the permissions of the file it replaces, or those
    // of a new file.  flush false: a scratch file that need not outlive a
    // power cut (the undo snapshots): replaced by the same rename, without
    // waiting for the disk.
    explicit SafeFile(const std::string& target, bool flush = true, LinkMode links = LinkMode::Replace,
                      FileMode mode = FileMode::Keep);
    // Removes the temporary file unless it was committed.
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // False when the temporary file could not be created; error() says why.
    bool opened() const { return opened_; }
    const std::string& error() const { return error_; }
    // The file that is replaced on commit, and the temporary file's name (for
    // libraries that open a file by name: they write over it).
    const std::string& target() const { return target_; }
    const std::string& tempPath() const { return temp_; }

    // A stdio stream on the temporary file, owned by this object (do not
    // close it).  Null when the file is not open.
    std::FILE* stream();
    // Hands the descriptor to a library that closes it itself.
    int releaseFd();

    // With `error` empty: flushes the temporary file to the disk, renames it
    // over the target and starts the folder's flush; returns "" on success,
    // else the reason (the target then keeps its old contents).  With `error` set:
    // removes the temporary file and returns `error`.  Once only.
    std::string commit(const std::string& error = {});

private:
    void discard();

    std::string target_;
    std::string temp_;
    std::string error_;
    int fd_ = -1;
    std::FILE* stream_ = nullptr;
    bool opened_ = false;
    bool done_ = false;
    bool flush_ = true;
};

// The whole file at once: "" on success, else the reason.
std::string SafeWriteFile(const std::string& path, std::string_view bytes, bool flush = true,
                          LinkMode links = LinkMode::Replace, FileMode mode = FileMode::Keep);

// The system's error number of a reason that a save above gave ("cannot
// replace ...: Is a directory" gives EISDIR); 0 when it names none.
int SaveErrorNumber(std::string_view reason);

// Removes the temporary files that saves of `path` by processes no longer
// running left beside it (a save killed between creating and renaming its
// temporary file).  Those of running processes stay: they are saving now.
// A link at `path` is followed too, where a followed save writes.
void RemoveLeftoverTemps(const std::string& path);
// The same for several files, each folder read once.
void RemoveLeftoverTemps(const std::vector<std::string>& paths);

// Flushes a folder's entries (new, renamed or removed names) to the disk;
// false when the folder cannot be opened or the file system refuses.
bool SyncFolder(const std::string& folder);

// Waits until the folder of the last file saved has been flushed.
void WaitForFolderFlush();

// Why the flush of a folder after a save failed since the last call, the
// first such failure; empty when none did.  Waits for the flush under way.
// A folder gone since the save, or a file system that cannot flush folders,
// is no failure: the file was replaced all the same.
std::string TakeFolderFlushFailure();

}  // namespace pelmar
