// The one place where the windows follow the edited document.
#pragma once

namespace pelmar {

class Form1;

// Connects the main window, its picture window, the object dialogs and the
// transformations window to the signals of the application's edited document.
void WireDocument(Form1& window);

}  // namespace pelmar
