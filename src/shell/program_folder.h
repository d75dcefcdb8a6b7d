// The program folder (ProgDir): where the program keeps its own files,
// "Pelmar.set", "Temp/", "DefaultSet/" and "Translation/".  On Linux it is
// the per-user folder $XDG_DATA_HOME/pelmar (by default
// ~/.local/share/pelmar).  What the program ships (settings, default sets,
// the help page) lies read-only under share/pelmar beside the installed
// program or in the system data folders, and is built into the program as
// well; a file the program folder lacks is found there.  Every folder name ends in "/".
#pragma once

#include <string>
#include <vector>

namespace pelmar {

// $XDG_DATA_HOME/pelmar/ when XDG_DATA_HOME is an absolute path, otherwise
// $HOME/.local/share/pelmar/; empty when neither is known.
std::string DefaultProgDir();

// $XDG_CACHE_HOME/pelmar/ when XDG_CACHE_HOME is an absolute path, otherwise
// $HOME/.cache/pelmar/; empty when neither is known.
std::string DefaultCacheDir();

// The shipped files are also built into the program (the resource folder
// ":/pelmar/"), so that a program run from any build folder or working
// directory has them.  Readers and the desktop's viewers need real files:
// this copies them into cacheDir + "shipped-<digest>/", the digest taken
// over their names and contents, so that programs of different builds never
// mix their files and an unchanged set is written only once.  Returns that
// folder, or empty when the program holds none or they cannot be written.
std::string UnpackBuiltInFiles(const std::string& cacheDir);

// The folders with the shipped files, first found first: share/pelmar/ beside
// the running program's bin folder, then `builtIn` (the unpacked built-in
// files, when not empty), then pelmar/ under each absolute folder of
// $XDG_DATA_DIRS (by default /usr/local/share and /usr/share).
std::vector<std::string> ShippedDirs(const std::string& builtIn = {});

// `path` itself when it names an existing file, or when it does not lie in
// `progDir`.  A missing file of the program folder is looked up under the
// same relative name in the shipped folders; the first copy found is
// returned, otherwise `path` unchanged.
std::string LocateProgramFile(const std::string& path, const std::string& progDir,
                              const std::vector<std::string>& shippedDirs);

// The help page for the interface's language code (a word table's): the
// page of that language, "Pelmar_<code>.html", where one exists, else the
// Russian page "Pelmar.html"; each looked up in the program folder and then
// the shipped folders.  Empty when there is none.
std::string HelpPage(const std::string& progDir, const std::vector<std::string>& shippedDirs,
                     const std::string& languageCode);

}  // namespace pelmar
