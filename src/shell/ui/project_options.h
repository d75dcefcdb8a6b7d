// The project options command: the picture settings dialog on the open
// document, the settings it returns written into the document and shown,
// and the fill settings dialog when the dialog asked for it.
#pragma once

#include <string>

#include "shell/ui/picture_settings_dialog.h"

namespace pelmar {

class Form1;

// Runs the command in the main window.  `services` left empty take the
// desktop's dialogs.
void ShowProjectOptions(Form1& window, PictureDialogServices services = {});

}  // namespace pelmar
