#include "dialogs/ui/xz_sections.h"

#include "dialogs/section_edit.h"
#include "dialogs/ui/dialog_registry.h"
#include "dialogs/ui/outline_dialog.h"
#include "dialogs/ui/section_dialog.h"

namespace pelmar {

void RunSectionDialog(DialogRegistry& reg, int surface, QWidget* parent) {
    if (!ValidSurface(surface)) return;
    DialogSession& session = reg.session();
    const SurfaceDialogContext ctx = session.surfaceDialogs();
    TFormSech1 form(session.copies().CurXZ, surface, ctx.sechPlane, session.words(), parent);
    form.exec();
}

void RunOutlineDialog(DialogRegistry& reg, int outline, QWidget* parent) {
    if (!ValidSurface(outline)) return;
    TFormOL form(reg, outline, parent);
    form.exec();
}

}  // namespace pelmar
