// The shell's part of the program's state: the program folders, the word
// table with the language it was loaded from, and the user's number format.
#pragma once

#include <string>
#include <vector>

#include "shell/word_table.h"

namespace pelmar {

struct ShellState {
    std::string ProgDir;                   // the program folder, ending in "/"
    std::vector<std::string> ShippedDirs;  // read-only folders with the shipped files, each ending in "/"
    WordTable Words;
    std::string LangFile;   // the translation the words come from ("Translation/<name>")
    char DecimalSep = ',';  // the user's decimal separator
    // TODO(settings): the settings of "Pelmar.set" join here, read and
    // written through the program folder.
};

}  // namespace pelmar
