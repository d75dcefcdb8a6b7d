// The scratch folder of the running program: the program folder's "Temp/"
// holds one folder per running instance, so that two instances never write
// the same scratch file (the metafile of the picture, the undo files).
#pragma once

#include <string>

namespace pelmar {

// programFolder + "Temp/" + the instance's own name + "/" (host name,
// process id and a random word), created when it does not exist.  On
// creation the folders left behind by instances of this machine that ended
// without removing theirs are removed.  Empty when the folder cannot be made.
std::string InstanceTempFolder(const std::string& programFolder);

// Removes the instance's folder with everything in it; the program calls
// this when it ends.
void RemoveInstanceTempFolder(const std::string& programFolder);

}  // namespace pelmar
