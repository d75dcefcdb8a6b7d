// What the program says when a file could not be saved: the file the user
// knows (never the hidden temporary file the save wrote first) and the
// reason in the interface's language.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace pelmar {

class WordTable;

// Chooses the Russian or the English text as the interface's language says.
using SayFn = std::function<std::string(std::string_view russian, std::string_view english)>;

// The reason a save gave (SafeFile::commit, SafeWriteFile or a writer that
// passes them on) as the user reads it: the words for its system error (no
// permission, a read-only or full disk, a folder in the file's place ...) in
// the interface's language, else the system's own text of it, else the
// reason as it is.  Never the temporary file's name.
std::string SaveReasonSaid(const std::string& reason, const SayFn& say);

// "cannot write the file", with the system's reason when the failed write
// left one in errno (the writer clears errno before it writes).
std::string WriteFailureReason();

// The same with a word table (Russian without one).
std::string SaveReasonText(const std::string& reason, const WordTable* words);

// The message of a failed save: `head` (the word-table line "cannot save the
// file", or a message of its own), then the file and the reason.
std::string SaveFailedText(std::string_view head, const std::string& file, const std::string& reason,
                           const WordTable* words);

// The reason of a file that is there but cut or malformed, as readers give it.
inline constexpr std::string_view DamagedFileReason = "the file is damaged";

// The message of a file that could not be opened: `head`, then the file and
// why, from a reader's "file: reason" (the reason as ReadSideFile's gives it),
// in the interface's language.
std::string OpenFailedText(std::string_view head, const std::string& fileAndReason, const WordTable* words);

}  // namespace pelmar
