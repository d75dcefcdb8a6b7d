// The fake editing core with the coordinate systems' dialogs: its commit
// stores CurXOY or CurXZ into the document at the current entry (or an open
// part into its system), counts one undo step and refills the open dialogs.
#pragma once

#include "dialogs/ui/xoy_dialog.h"
#include "dialogs/ui/xyz_dialog.h"
#include "editing_fake.h"
#include "model/defaults.h"

namespace pelmar::test {

class CoordEditing : public FakeEditing {
public:
    CoordEditing() {
        RegisterXOYDialog(reg);
        RegisterXYZDialog(reg);
    }
    // A new system of the kind, current and shown in its dialog.
    template <class D>
    D* add(Kind k) {
        if (k == Kind::xy) {
            DXOY x;
            LoadDefaultXOY(x, 1, DefaultsSource{});
            UpdateXOY(x, 0);
            doc->Obj.Xy.add(x);
            work.CurXOY = x;
        } else {
            DXZ z;
            LoadDefaultXYZ(z, 1, DefaultsSource{});
            UpdateXYZ(z, 0);
            doc->Obj.Xz.add(z);
            work.CurXZ = z;
        }
        select(k, doc->Obj.count(k));
        auto* d = static_cast<D*>(reg.open(k));
        if (k == Kind::xy) fillOpen(Kind::xy, work.CurXOY);
        else fillOpen(Kind::xz, work.CurXZ);
        return d;
    }
    const DXOY& xy() const { return doc->Obj.Xy[current.index]; }
    const DXZ& xz() const { return doc->Obj.Xz[current.index]; }

    void ApplyObjectInStep(bool writeBack, std::uint64_t&) override { ApplyObject(writeBack); }
    std::uint64_t BeforeDocumentChange() override { return 0; }
    void ApplyObject(bool) override {
        ++undoSteps;
        changed = true;
        const std::string code(current.code, 2);
        if (code == "xy" && doc->Role[0] == 0 && doc->Role[1] == 0) {
            UpdateXOY(work.CurXOY, 0);
            doc->Obj.Xy[current.index] = work.CurXOY;
            fillOpen(Kind::xy, work.CurXOY);
        } else if (code == "xz" && doc->Role[0] == 0 && doc->Role[1] == 0) {
            UpdateXYZ(work.CurXZ, 0);
            doc->Obj.Xz[current.index] = work.CurXZ;
            fillOpen(Kind::xz, work.CurXZ);
        } else {
            FakeEditing::ApplyObject(true);
            --undoSteps;
        }
    }
};

}  // namespace pelmar::test
