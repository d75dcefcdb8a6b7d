// A modal error message box with one OK button, for messages raised before
// or outside the windows (the language fallbacks of start-up).
#pragma once

#include <string>

namespace pelmar {

void ShowErrorBox(const std::string& text);

}  // namespace pelmar
