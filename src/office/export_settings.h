// The option files of the two export dialogs, "CDR.txt" (twelve lines) and
// "MSOffice.txt" (six lines) in the program folder: code page 1251, one value
// per line, every line ended by CR LF.  Label lines are written but not read.
#pragma once

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
};

struct WordSettings {
    int runMode = 0;  // 0..2
    int arrowNo = 4;  // 1..6
    int dashNo = 4;   // 1..8
};

std::string CdrSettingsBytes(const CdrSettings& s);
std::string WordSettingsBytes(const WordSettings& s);

// The values a file's bytes hold over the defaults.  Lines split at LF; a
// line's CR and blanks at either end do not count.  A number line that is not
// a decimal integer keeps the default, a number out of its range is clamped
// and a run or group choice out of its range keeps the default.  The own
// arrows are on exactly when line 8 is "и".
CdrSettings ParseCdrSettings(const std::string& bytes);
WordSettings ParseWordSettings(const std::string& bytes);

// Reading a missing or unreadable file gives the defaults.
CdrSettings LoadCdrSettings(const std::string& progDir);
WordSettings LoadWordSettings(const std::string& progDir);
// Replaces the file (creating the program folder when needed); the reason of
// a failure, empty on success.
std::string SaveCdrSettings(const std::string& progDir, const CdrSettings& s);
std::string SaveWordSettings(const std::string& progDir, const WordSettings& s);

}  // namespace pelmar
