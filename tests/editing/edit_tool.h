// The picture window as the edit tool's tests need it, and the first line
// where two document texts differ.
#pragma once

#include <string>

#include "editing/mouse_tools.h"
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

// The mouse at picture point (px, ym) (ym up) at zoom 100, the left button
// held or not.
inline MouseInput MouseAt(const DProj& doc, int px, int ym, bool held) {
    MouseInput in;
    in.x = px;
    in.y = doc.Im.Height - 1 - ym;
    in.left = held;
    return in;
}

// The document's text with the windows and roles fixed: what undo must give back.
inline std::string Text(const DProj& doc) { return DocumentText(doc, LiveWindows{}, {}, ','); }

// "" when equal, else the first line that differs (gtest's diff of two whole
// documents would take far too long).
inline std::string FirstDifference(const std::string& a, const std::string& b) {
    if (a == b) return {};
    std::size_t i = 0, line = 1;
    while (i < a.size() && i < b.size() && a[i] == b[i]) line += a[i++] == '\n';
    const auto lineAt = [i](const std::string& s) {
        const std::size_t from = s.rfind('\n', i == 0 ? 0 : i - 1);
        const std::size_t start = from == std::string::npos ? 0 : from + 1;
        return s.substr(start, s.find('\n', i) - start);
    };
    return "line " + std::to_string(line) + ": '" + lineAt(a) + "' vs '" + lineAt(b) + "'";
}

}  // namespace pelmar::test
