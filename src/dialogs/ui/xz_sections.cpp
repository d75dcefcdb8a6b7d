#include "dialogs/ui/xz_sections.h"

namespace pelmar {

// The section and outline dialogs arrive with their own change; until then
// the buttons that open them show nothing.
void RunSectionDialog(DialogRegistry&, int, QWidget*) {}
void RunOutlineDialog(DialogRegistry&, int, QWidget*) {}

}  // namespace pelmar
