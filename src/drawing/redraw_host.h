// What the redraw needs of the windows, role by role: the texts, the
// progress and stop of the drawing window, its caption and status bar, the
// main window's commands, and the presentation of the picture (the drawing
// window, or the preview of the own open and save dialogs).  The main window
// plays every role; a dialog that previews replaces the presentation.
#pragma once

#include <concepts>

#include "drawing/host_roles.h"

namespace pelmar {

struct RedrawHost {
    TextRole& texts;
    ProgressRole& progress;  // "pel": the drawing window's status bar panel 2 and progress bar
    StatusRole& status;
    CommandRole& commands;
    PictureRole& picture;

    RedrawHost(TextRole& t, ProgressRole& p, StatusRole& s, CommandRole& c, PictureRole& v)
        : texts(t), progress(p), status(s), commands(c), picture(v) {}

    // A window that plays every role.
    template <class W>
        requires std::derived_from<W, TextRole> && std::derived_from<W, ProgressRole> &&
                 std::derived_from<W, StatusRole> && std::derived_from<W, CommandRole> &&
                 std::derived_from<W, PictureRole>
    RedrawHost(W& w) : RedrawHost(w, w, w, w, w) {}  // NOLINT(google-explicit-constructor)
};

}  // namespace pelmar
