#include "drawing/document_state.h"

namespace pelmar {

DocumentState::DocumentState() : Proj(NewDocument()) {}

DocumentState::~DocumentState() = default;

void DocumentState::repaint(const RedrawHost& host, bool full) {
    RepaintProject(*Proj, Drawing, host, RedrawMode::Window, full);
}

}  // namespace pelmar
