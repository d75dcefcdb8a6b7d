// The program folder (ProgDir): where the program keeps its own files,
// "Pelmar.set", "Temp/", "DefaultSet/" and "Translation/".  On Linux it is
// the per-user folder $XDG_DATA_HOME/pelmar (by default
// ~/.local/share/pelmar).  What the program ships (translation files) lies
// read-only under share/pelmar beside the installed program or in the system
// data folders, and is found there too.  Every folder name ends in "/".
#pragma once

#include <string>
#include <vector>

namespace pelmar {

// $XDG_DATA_HOME/pelmar/ when XDG_DATA_HOME is an absolute path, otherwise
// $HOME/.local/share/pelmar/; empty when neither is known.
std::string DefaultProgDir();

// The folders with the shipped files, first found first: share/pelmar/ beside
// the running program's bin folder, then pelmar/ under each absolute folder
// of $XDG_DATA_DIRS (by default /usr/local/share and /usr/share).
std::vector<std::string> ShippedDirs();

// `path` itself when it names an existing file, or when it does not lie in
// `progDir`.  A missing file of the program folder is looked up under the
// same relative name in the shipped folders; the first copy found is
// returned, otherwise `path` unchanged.
std::string LocateProgramFile(const std::string& path, const std::string& progDir,
                              const std::vector<std::string>& shippedDirs);

}  // namespace pelmar
