// The transformations window's Apply on the editing core: the current entry
// of the object list, the selection sets, one undo snapshot of the document
// as it was before the objects move, the commit of the current object and
// the redraw.
#pragma once

#include "editing/editing_state.h"
#include "transform/trans_apply.h"

namespace pelmar {

class EditingTransHost : public TransHost {
public:
    explicit EditingTransHost(EditingState& st) : st_(st) {}

    void showMessage(const std::string& text) override;
    bool currentObject(Kind& kind, int& index) override;
    bool isSelected(Kind kind, int index) override;
    void beforeChange() override;
    void commitAndRedraw() override;
    const WordTable* words() const override;

private:
    EditingState& st_;
};

}  // namespace pelmar
