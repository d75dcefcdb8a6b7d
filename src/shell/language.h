// Choosing the language of the word table: the settings name a translation
// file in the program folder, or the built-in Russian texts.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "files/word_table.h"

namespace pelmar {

// What SetLanguage needs beside the table and the file name.
struct LanguageContext {
    std::string ProgDir;                   // program folder, ending in "/"
    std::vector<std::string> shippedDirs;  // read-only folders with the shipped files, each ending in "/"
    std::function<void(const std::string&)> showError;  // error box with an OK button
};

// Fills the table as LangFile says:
// - empty: the built-in texts, no message, LangFile := "Translation/Russian";
// - containing "Translation/Russian": the built-in texts, no file opened;
// - nothing at the name (or a folder), also in the shipped folders when
//   LangFile lies in the program folder: the message "Cann`t find
//   "<LangFile>". Setup Russian include.", LangFile := "Translation/Russian",
//   the built-in texts;
// - a file that cannot be read, or whose signature lines are wrong (empty,
//   cut, not a translation): a message naming it and why, in the language
//   of the words that follow, which are those of the shipped copy of that
//   file when one loads, else the built-in texts; LangFile kept;
// - otherwise the file's texts, the built-in one of each line it lacks.
void SetLanguage(WordTable& words, std::string& LangFile, const LanguageContext& ctx);

}  // namespace pelmar
