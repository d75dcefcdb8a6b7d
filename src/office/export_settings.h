// The option files of the two export dialogs, "CDR.txt" (twelve lines) and
// "MSOffice.txt" (six lines) in the program folder: code page 1251, one value
// per line, every line ended by CR LF.  Label lines are written but not read.
#pragma once

#include <cstddef>
#include <string>

namespace pelmar {

inline constexpr char CdrSettingsFile[] = "CDR.txt";
inline constexpr char WordSettingsFile[] = "MSOffice.txt";

struct CdrSettings {
    int version = 8;      // 8..100
    int runMode = 0;      // 0..2
    int groupMode = 1;    // 0..1
    bool ownArrows = true;
    int arrowNo = 3;      // 0..90
    int dashNo = 9;       // 0..30
    bool operator==(const CdrSettings&) const = default;
};

struct WordSettings {
    int runMode = 0;  // 0..2
    int arrowNo = 4;  // 1..6
    int dashNo = 4;   // 1..8
    bool operator==(const WordSettings&) const = default;
};

// The values of the struct are the shipped ones: what a missing, unreadable
// or damaged file, or a damaged line, gives.

// What reading an option file gave.
template <class Options>
struct OptionsRead {
    Options values;           // the file's over the shipped ones
    bool unreadable = false;  // something is at the name that could not be read
    int error = 0;            // with unreadable: errno, EISDIR for a folder, 0 for no regular file
    std::string file;         // the file's full name
};

// Option files are a few dozen bytes; the first this many bytes of a larger
// one are read.
inline constexpr std::size_t MaxOptionFileBytes = 64 * 1024;

std::string CdrSettingsBytes(const CdrSettings& s);
std::string WordSettingsBytes(const WordSettings& s);

// The values a file's bytes hold over the defaults.  Lines split at LF; a
// line's CR and blanks at either end do not count.  A number line that is not
// a decimal integer keeps the default, a number out of its range is clamped
// and a run or group choice out of its range keeps the default.  The own
// arrows are on when line 8 is "и", off when it is "л", and as shipped
// otherwise.
CdrSettings ParseCdrSettings(const std::string& bytes);
WordSettings ParseWordSettings(const std::string& bytes);

// Reads the option file of the program folder through the side-file reader:
// a missing file, or anything at its name that is no regular file or cannot
// be read, gives the shipped values (the latter says unreadable).
OptionsRead<CdrSettings> ReadCdrSettings(const std::string& progDir);
OptionsRead<WordSettings> ReadWordSettings(const std::string& progDir);
CdrSettings LoadCdrSettings(const std::string& progDir);
WordSettings LoadWordSettings(const std::string& progDir);

// Whether "Ok" writes `now` over what was read: never over a file that could
// not be read, and only when a value differs from the file's, so that an
// unchanged file keeps its bytes.
template <class Options>
bool OptionsNeedWriting(const OptionsRead<Options>& read, const Options& now) {
    return !read.unreadable && !(now == read.values);
}
// Replaces the file (creating the program folder when needed); the reason of
// a failure, empty on success.
std::string SaveCdrSettings(const std::string& progDir, const CdrSettings& s);
std::string SaveWordSettings(const std::string& progDir, const WordSettings& s);

}  // namespace pelmar
