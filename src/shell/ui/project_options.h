// The project options command: the picture settings dialog on the open
// document, the settings it returns written into the document and shown,
// and the fill settings dialog when the dialog asked for it.
#pragma once

#include <string>

#include "shell/ui/picture_settings_dialog.h"

namespace pelmar {

class Form1;
class WordTable;

// Runs the command in the main window.  `services` left empty take the
// desktop's dialogs.
void ShowProjectOptions(Form1& window, PictureDialogServices services = {});

// The background picture of the document just opened, read and fitted; a
// picture over its size limit or unreadable is reported.
void LoadOpenedBackground(Form1& window);

// The picture settings step of New: the dialog with a new project's
// settings, on the desktop's colour, message and file dialogs.  False when
// cancelled.
bool RunNewPictureSettings(PictureSettings& settings, const WordTable& words, QWidget* parent);

}  // namespace pelmar
