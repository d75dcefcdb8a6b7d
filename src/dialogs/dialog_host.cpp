#include "dialogs/dialog_host.h"

namespace pelmar {

DialogPlace ProjDialogDocument::dialogPlace() const {
    const DProj& d = doc_();
    return {d.DlgLeft, d.DlgTop, d.RolledUp};
}

void ProjDialogDocument::setDialogPosition(int left, int top) {
    DProj& d = doc_();
    d.DlgLeft = left;
    d.DlgTop = top;
}

void ProjDialogDocument::setDialogsRolledUp(bool rolledUp) { doc_().RolledUp = rolledUp; }

int ProjDialogDocument::resolution() const { return doc_().Im.Dpi; }

}  // namespace pelmar
