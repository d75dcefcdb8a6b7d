// The fake editing core of the dialog tests grown by the pyramids and prisms:
// its commit updates the current solid (after writing an open base or face
// back into it), stores it, counts one undo step and refills the open
// dialogs, as the real commit does.
#pragma once

#include "dialogs/ui/prism_dialog.h"
#include "dialogs/ui/pyramid_dialog.h"
#include "editing_fake.h"
#include "model/defaults.h"

namespace pelmar::test {

class SolidEditing : public FakeEditing {
public:
    SolidEditing() {
        RegisterTriangleDialog(reg);
        RegisterTetragonDialog(reg);
        RegisterPyramidDialog(reg);
        RegisterPrismDialog(reg);
    }

    // A stored solid of kind k made current, its working copy set.
    template <class R>
    void add(Kind k, const R& rec) {
        auto& store = StoreOf<R>(doc->Obj);
        store.add(rec);
        select(k, store.count());
        KindWork(rec) = rec;
    }

    void ApplyObjectInStep(bool writeBack, std::uint64_t&) override { ApplyObject(writeBack); }
    std::uint64_t BeforeDocumentChange() override { return 0; }
    void ApplyObject(bool) override {
        ++undoSteps;
        changed = true;
        const std::string top(current.code, 2);
        const int tr = roleSlot(Kind::tr), kv = roleSlot(Kind::kv);
        if (top == "i3") commitSolid(work.CurPi3, [&](DPi3& p) {
                if (tr == 5) p.Base = work.CurTri;
                if (tr >= 6 && tr <= 8) p.Face[static_cast<std::size_t>(tr - 5)] = work.CurTri;
                UpdatePyramid3(p, 0);
                if (tr == 5) work.CurTri = p.Base;
            });
        if (top == "i4") commitSolid(work.CurPi4, [&](DPi4& p) {
                if (kv == 5) p.Base = work.CurKv;
                UpdatePyramid4(p, 0);
                if (kv == 5) work.CurKv = p.Base;
            });
        if (top == "r3") commitSolid(work.CurPr3, [&](DPr3& p) {
                if (tr == 10 || tr == 11) p.Base[tr == 10 ? 1u : 2u] = work.CurTri;
                UpdatePrism3(p, 0);
            });
        if (top == "r4") commitSolid(work.CurPr4, [&](DPr4& p) {
                if (kv == 6 || kv == 7) p.Base[kv == 6 ? 1u : 2u] = work.CurKv;
                UpdatePrism4(p, 0);
            });
    }

private:
    template <class R, class F>
    void commitSolid(R& w, F update) {
        update(w);
        StoreOf<R>(doc->Obj)[current.index] = w;
        fillOpen(w);
        if (roleSlot(Kind::tr)) fillOpen(work.CurTri);
        if (roleSlot(Kind::kv)) fillOpen(work.CurKv);
    }
    DPi3& KindWork(const DPi3&) { return work.CurPi3; }
    DPi4& KindWork(const DPi4&) { return work.CurPi4; }
    DPr3& KindWork(const DPr3&) { return work.CurPr3; }
    DPr4& KindWork(const DPr4&) { return work.CurPr4; }
};

}  // namespace pelmar::test
