// Where the file dialogs start and where files the program proposes go: the
// user's own folders, never the program folder (which holds the program's
// settings and its Temp/ folder, hidden from the user) nor the folders of the
// shipped files.
#pragma once

#include <string>
#include <vector>

namespace pelmar {

// The user's documents folder: the XDG documents folder when it exists,
// else the home folder.  Ends in "/".
std::string UserDocumentsFolder();

// The program's own folders a dialog never offers.
struct OwnFolders {
    std::string progDir;
    std::vector<std::string> shippedDirs;
    std::string documentsDir;  // the user's documents folder, ending in "/"
};

// The folder a file dialog starts in: `wanted` (the folder used last) when it
// is an existing folder outside the program folder and the shipped folders,
// else the documents folder.  Ends in "/".
std::string StartFolder(const OwnFolders& own, const std::string& wanted);

// The name a dialog proposes for a file made from the document `docName`:
// in `folder`, the document's name less its extension, with `ext` (".pdf";
// empty: none).
std::string ProposedFile(const std::string& folder, const std::string& docName, const std::string& ext);

// The settings Qt's own file dialogs keep for the user ("QtProject.conf" in
// the user's config folder), checked as every file the program reads, at the
// start and again before each file dialog (something may have been put there
// meanwhile): when something there is no regular file of sensible size (a
// pipe would stop the file dialog for good), Qt's user settings go to
// `scratchDir` for the rest of the session (an absolute folder; empty: the
// one given first) and the file is left as it is.  A link there, which Qt
// would write through, is replaced by a file of what it shows.  True when the
// settings were moved.
bool KeepQtSettingsReadable(const std::string& scratchDir = {});

}  // namespace pelmar
