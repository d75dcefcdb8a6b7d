// The program's settings and their file "Pelmar.set" in the program folder.
//
// The file is Windows-1251 text of exactly thirteen lines, each ended by
// CR LF:
//    1  folder of the last document
//    2  format marker, written "8", ignored when read
//    3  MoveColor as nine digits RRRGGGBBB
//    4  ShapeColor, the same way
//    5  undo switch ("и" on, "л" off) and undo depth in four digits
//    6  eight tool-group digits ("0" = shown) and one spare digit
//    7-11  the recent files, "No File" for an unused entry
//   12  own file dialogs ("и" / "л")
//   13  name of the translation file inside "Translation/"
// Texts in memory are UTF-8.
//
// A document folder or a recent file whose path the code page cannot hold
// is kept beside it, in the UTF-8 file "Pelmar.set.paths": a first line
// "stamp", the length and the hash of the "Pelmar.set" bytes written with
// it, then one line per such settings line, its number, what "Pelmar.set"
// has on that line, and the path, separated by tabs.  The paths are taken
// only while "Pelmar.set" is byte for byte the file written with them, so a
// settings file written elsewhere wins, its placeholders too.  A path with
// a line break or a NUL is kept in neither file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelmar {

using TColor = std::uint32_t;  // 0x00BBGGRR, as the records hold colours

// The text of an unused recent-file entry.
inline constexpr std::string_view NoFile = "No File";

inline constexpr const char* SettingsFileName = "Pelmar.set";
inline constexpr const char* SettingsPathsFileName = "Pelmar.set.paths";

// The colours the options dialog's default button puts back.
inline constexpr TColor DefaultMoveColor = 0x0000FF;   // red
inline constexpr TColor DefaultShapeColor = 0xFF0000;  // blue

// Deepest undo history the program keeps; a deeper value read from a
// damaged file is cut to it.
inline constexpr int MaxUndoSteps = 200;

// The eight groups of tool buttons, in the order of settings line 6.
enum class ToolGroup : std::uint8_t { File, Back, NewD, Undo, Copy, Opt, Win, Help, None };
inline constexpr int ToolGroupCount = 8;

struct Settings {
    std::string DocDir;           // ends in "/"
    TColor MoveColor = 0;
    TColor ShapeColor = 0;
    bool UndoOn = false;
    int UndoSteps = 0;
    // ShowTBFile, ShowTBBack, ShowTBNewD, ShowTBUndo, ShowTBCopy, ShowTBOpt,
    // ShowTBWin, ShowTBHelp in ToolGroup order.
    std::array<bool, ToolGroupCount> ShowTB{};
    int SpareDigit = 0;           // ninth digit of line 6, kept as read
    std::array<std::string, 5> RecentFiles{std::string(NoFile), std::string(NoFile), std::string(NoFile),
                                           std::string(NoFile), std::string(NoFile)};
    bool OwnDialogs = false;
    std::string LangFile;         // full path: ProgDir + "Translation/" + name

    bool& ShowGroup(ToolGroup g) { return ShowTB[static_cast<std::size_t>(g)]; }
    bool ShowGroup(ToolGroup g) const { return ShowTB[static_cast<std::size_t>(g)]; }
};

// The start values: DocDir := progDir, everything else as the struct starts.
Settings StartSettings(const std::string& progDir);

// Reads the file's bytes over `s`.  Each line that is present and well formed
// sets its values; a missing line, a line whose numbers are not digits or a
// line that is too short leaves the values it would set as they were, and so
// does a switch that is neither "и" nor "л".  An empty recent entry reads
// "No File"; an empty line 1 keeps DocDir; an empty line 13 is the built-in
// texts (LangFile empty), as the writer writes them.
void ParseSettings(std::string_view bytes, const std::string& progDir, Settings& s);

// The file's thirteen lines.  A recent entry that the code page cannot hold
// (or that holds a line break or a NUL) is written as "No File" and such a
// document folder as an empty line (read back as the program folder), never
// as a damaged path.
std::string SettingsText(const Settings& s);

// What the start found of the settings files.
struct SettingsSource {
    enum class From : std::uint8_t {
        None,        // no settings file at all: the start values
        Shipped,     // none in the program folder: the shipped copy's values
        Own,         // the program folder's file, read over the shipped values
        Unreadable,  // a settings file that is there could not be read
    };
    From from = From::None;
    // With Unreadable: the file that could not be read and why: an errno
    // value, EISDIR for a folder, 0 for another thing that is no regular
    // file (a pipe, a device).  With a damaged file: that file.
    std::string file;
    int error = 0;
    // With Own: the two files' texts as the settings read would write them.
    std::string written;
    // With Own: the file is damaged (fewer than thirteen lines that read
    // well, or bytes no settings file holds, as in a binary or UTF-16 file):
    // the lines it lacks took the shipped values, and it is kept under
    // `keepAs` before new settings replace it (KeepDamagedSettings).
    bool damaged = false;
    std::string keepAs;

    // A settings file was read, the program folder's or the shipped copy.
    explicit operator bool() const { return from == From::Shipped || from == From::Own; }
};

// Start values, then the first shipped copy of "Pelmar.set" found in
// `shippedDirs` (the shipped defaults), then the file "Pelmar.set" of
// progDir over them, then the paths its side file keeps.  So an empty,
// short or damaged file gives the shipped default of each line it lacks or
// that does not read well.  A file more than 256 KiB long gives the whole
// lines of its first 256 KiB.  When either file of the program folder is
// there but cannot be read (no permission, a folder, a pipe, a device), the
// values are those read before it and the result says Unreadable.  Never
// throws.
SettingsSource ReadSettings(const std::string& progDir, Settings& s, const std::vector<std::string>& shippedDirs = {});

// Whether the end of a session that started as `source` says writes its
// settings `s`: never over a file that could not be read (it and its side
// file stay as they are), and not when the program folder's files already
// hold `s`, so that a file that was read and not changed keeps its bytes.
bool SettingsNeedWriting(const SettingsSource& source, const Settings& s);

// True when `bytes` hold the thirteen lines of a settings file, each of the
// form its reader takes (an empty file is no damage: it holds nothing).
bool SettingsFileWhole(std::string_view bytes);

// Where a damaged settings file of progDir is kept: "Pelmar.set.damaged",
// or, when that name is taken (a copy kept before), "Pelmar.set.damaged-2",
// "-3" ... the first free name.
std::string DamagedSettingsName(const std::string& progDir);

// Keeps the settings file of progDir under DamagedSettingsName (never over
// another file) before new settings replace it: "" when it is kept (or
// gone), else the reason.
std::string KeepDamagedSettings(const std::string& progDir, std::string& keptAs);

// Writes "Pelmar.set" into progDir (through a temporary file, two attempts),
// and the paths it cannot hold into "Pelmar.set.paths" (removed when there
// are none).  False when "Pelmar.set" could not be written, or the paths it
// cannot hold could not be kept; a path with a line break or a NUL is left
// out of both, which is no failure.  Nothing is reported; *reason (when
// given) gets the failed save's reason.
bool WriteSettings(const std::string& progDir, const Settings& s, std::string* reason = nullptr);

}  // namespace pelmar
