// The open document and what is drawn of it.  `Proj` is the document the
// editing works on; `Drawing` holds the snapshot `DrawProj` the picture is
// painted from, `Running` (a redraw or an export runs; clearing it is the
// stop request), `NoRedraw` (an object is being dragged), the pictures and
// the document the file dialogs preview.  The application object owns one.
#pragma once

#include <memory>

#include "drawing/redraw.h"
#include "model/records.h"

namespace pelmar {

struct DocumentState {
    DocumentState();
    ~DocumentState();
    DocumentState(const DocumentState&) = delete;
    DocumentState& operator=(const DocumentState&) = delete;

    std::unique_ptr<DProj> Proj;
    DrawingState Drawing;

    // Redraws the document in the drawing window; full: the build-the-drawing run.
    void repaint(const RedrawHost& host, bool full);
};

}  // namespace pelmar
