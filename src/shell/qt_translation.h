// Qt's own texts (the standard buttons Yes, No, Cancel, and the file, colour
// and print dialogs) in the interface's language, from Qt's translation
// files qtbase_<language>.qm in Qt's translations folder (Debian's
// qt6-translations-l10n).
#pragma once

#include <string>

namespace pelmar {

// The Qt language name ("ru", "de") of a word table's language code: ISO 639
// in three letters ("rus", "ger" or "deu") or two ("ru"), any case; empty
// for a code Qt does not know.
std::string QtLanguageName(const std::string& code);

// Installs the translator of Qt's texts for a word table's language code in
// place of the one installed before; called again on every change of
// language.  English, an unknown code or a language without Qt's translation
// leave Qt's own English texts; false then, except for English.  False too
// without an application object.
bool InstallQtTranslation(const std::string& code);

}  // namespace pelmar
