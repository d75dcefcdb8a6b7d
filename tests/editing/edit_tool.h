// The picture window as the edit tool's tests need it, and the first line
// where two document texts differ.
#pragma once

#include <sstream>
#include <string>

#include "editing/mouse_tools.h"
#include "editing/object_list.h"
#include "editing/editing_state.h"
#include "files/document.h"

namespace pelmar::test {

// A picture window with the edit tool down; it shows nothing.
struct EditToolView : MouseToolView {
    MouseTool tool() const override { return MouseTool::Edit; }
    Kind drawKind() const override { return Kind::po; }
    void setStatusPanel(int, const std::string&) override {}
    void setRubberLine(bool, int, int, int, int) override {}
    void enableDrawTools() override {}
    std::string wordLine(int) override { return {}; }
    char decimalSeparator() override { return '.'; }
};

// The mouse at picture point (px, ym) (ym up) at zoom 100, the left button held or not.
inline MouseInput MouseAt(const DProj& doc, int px, int ym, bool held) {
    return {.x = px, .y = doc.Im.Height - 1 - ym, .left = held};
}

// Object `index` of kind k made current, its dialog showing it.
inline void ShowCurrent(EditingState& st, Kind k, int index = 1) {
    SetCurObjIndex(st, ListPosition(*st.Proj, k, index));
    SelectCurrentObject(st, st.Dialogs, true);
}

// The document's text with the windows and roles fixed: what undo must give back.
inline std::string Text(const DProj& doc) { return DocumentText(doc, LiveWindows{}, {}, ','); }
// "" when equal, else the first line that differs (gtest's diff of two whole documents would take far too long).
inline std::string FirstDifference(const std::string& a, const std::string& b) {
    std::istringstream sa(a), sb(b);
    std::string la, lb;
    for (int line = 1; a != b; ++line) {
        const bool endA = !std::getline(sa, la), endB = !std::getline(sb, lb);
        if (endA || endB || la != lb)
            return "line " + std::to_string(line) + ": '" + (endA ? "" : la) + "' vs '" + (endB ? "" : lb) + "'";
    }
    return {};
}

}  // namespace pelmar::test
