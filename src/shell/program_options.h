// The program options beside their window: the language list of the
// translation folders with each language's flag, the tool-group defaults,
// the undo depth the options show, the selection sample and colour glyphs,
// and the association of ".pel" documents with Pelmar on the desktop.
#pragma once

#include <QImage>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "files/word_table.h"
#include "shell/settings.h"

namespace pelmar {

// The language codes in the order of their flags; any other code takes the
// last flag ("OTH").  Codes compare exactly, case and all.
inline constexpr std::array<const char*, 14> LangCodes{"RUS", "ENG", "USA", "GER", "FRA", "ESP", "CHI",
                                                       "IND", "ITA", "NED", "SWE", "JAP", "SKO", "OTH"};
int LangCodeIndex(const std::string& code);

// The fourteen flags, 16 x 11 pixels each, in LangCodes order; red
// (255, 0, 0) is their transparent colour.
QImage FlagPicture(int index);

// One entry of the language list.  Entry 0 is the built-in Russian.
struct LanguageEntry {
    std::string file;  // name inside "Translation/" ("Russian" for entry 0)
    std::string name;  // display name (line 3)
    int flag = 0;
};
struct LanguageList {
    std::vector<LanguageEntry> entries;
    int selected = 0;
};

// The translation files (".trs" with a valid header) of the program folder's
// "Translation/", then those of each shipped folder's that the folders before
// did not hold by the same name; each folder's files in name order.  The entry
// whose progDir + "Translation/" + name equals langFile is selected, else
// entry 0.
LanguageList FillLanguageList(const std::string& progDir, const std::vector<std::string>& shippedDirs,
                              const std::string& langFile);
// The LangFile of a list entry.
std::string LangFileOf(const std::string& progDir, const LanguageEntry& entry);

// The tool groups the defaults button shows: File, Back to, Undo / Redo,
// Copy / Paste.
std::array<bool, ToolGroupCount> DefaultToolGroups();

// The undo depth the options show and keep: 10 to 200 in steps of ten.  A
// depth of 0 (no settings file yet) or out of range becomes the nearest
// allowed value, so that undo switched on always keeps at least ten steps.
int UndoDepth(int steps);

// Button glyph of a selection colour (22 x 12, black frame), and that of
// the defaults button (two halves in the default colours).  Colours are
// 0x00BBGGRR.
QImage ColorGlyph(TColor color);
QImage DefaultColorsGlyph();
// The selection sample (97 x 161): the sixteen standard colours on the
// background, a reshaped circle in shapeColor and a moved dot in moveColor.
QImage SelectionSample(TColor background, TColor moveColor, TColor shapeColor);

// The association of ".pel" documents with the program on a freedesktop
// desktop, for this user: the MIME type application/x-pelmar with the
// pattern "*.pel" in $XDG_DATA_HOME/mime/packages (the database updated
// with update-mime-database when it is installed), the desktop entry
// "pelmar.desktop" in $XDG_DATA_HOME/applications, and the entry made the
// type's default with xdg-mime.
inline constexpr const char* PelMimeType = "application/x-pelmar";
inline constexpr const char* PelDesktopEntry = "pelmar.desktop";
std::string PelMimeXml();
std::string PelDesktopText(const std::string& exePath);
// False, with the reason in `error`, when a file could not be written or
// xdg-mime is missing or fails.
bool RegisterFileType(const std::string& exePath, std::string& error, const WordTable* words = nullptr);

}  // namespace pelmar
