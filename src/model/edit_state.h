// The editing state around the document: the object list and the current
// object, the per-kind working copies, the commit switch and the remembered
// tab pages; and the interface through which the model reaches the object
// dialogs and the main window's to-kind buttons.
#pragma once

#include <array>
#include <cstdint>

#include "model/records.h"

namespace pelmar {

// Entries of the object list: at most one per object of the store.
inline constexpr int ObjListSize = 216;

struct EditState {
    DProj* Proj = nullptr;             // the edited document
    WorkingCopies* Work = nullptr;     // CurPoint .. CurXZ and CurPoIndex .. CurXZIndex
    std::array<ObjListEntry, ObjListSize> ObjList{};
    std::int32_t CurObjIndex = -1;     // position of the current object in ObjList
    std::uint8_t ApplyEnabled = 1;     // 0: the commit only marks the document changed
    // Tab page the triangle, tetragon, 2D and 3D coordinate-system dialogs show when next created.
    std::uint8_t FormTrTab = 1, FormKvTab = 1, FormXYTab = 1, FormXZTab = 1;
    // Plane the section dialog of a 3D system shows when next opened: 1 x, 2 y, 3 z = const.
    std::uint8_t SechPlane = 1;
};

// The object dialogs, one per kind; the two pyramid kinds share one dialog, and
// so do the two prism kinds, each such dialog with one open flag per kind.
class ObjectDialogs {
public:
    virtual ~ObjectDialogs() = default;

    // The kind's dialog-open flag (FormPoOpen .. FormXZOpen; FormPi3Open,
    // FormPi4Open, FormPr3Open, FormPr4Open for the shared dialogs).
    virtual bool IsOpen(Kind k) const = 0;
    // Sets one open flag of a shared dialog (i3, i4, r3, r4) and nothing else.
    virtual void SetOpen(Kind k, bool open) = 0;
    // Creates the kind's dialog and sets its open flag (CreateFormPo ..
    // CreateFormXZ; CreateFormPi(3 or 4) for i3/i4, CreateFormPr(3 or 4) for r3/r4).
    virtual void Create(Kind k) = 0;
    // Closes the kind's dialog, the shared one for i3/i4 and r3/r4; its close
    // handler clears the open flag (both flags of a shared dialog).
    virtual void Close(Kind k) = 0;

    // The kind's open dialog shows its working copy again (VarToFormPo ..
    // VarToFormXZ).
    virtual void Refill(Kind k) = 0;

    // Disables the main window's to-kind buttons TBToLi .. TBToXZ.
    virtual void DisableToKindButtons() = 0;
};

// Makes the entry CurObjIndex of the object list the current object: its kind's
// dialog is opened (every other one closed), its record copied into the kind's
// working copy and, with fill, into the dialog; all role bytes end at 0.  An
// index outside the list, or an entry that names no live object, closes every
// object dialog and changes no working copy.
void SelectCurrentObject(EditState& st, ObjectDialogs& dialogs, bool fill);

}  // namespace pelmar
