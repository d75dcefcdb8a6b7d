// The default arrangement of the windows: the picture window inside the main
// window's client area right of a strip for the dialogs, the object dialogs
// below the tool bar at the left and the transformations window at the
// bottom left.  Pure arithmetic over the main window's geometry.
#pragma once

namespace pelmar {

struct MainGeometry {
    int left = 0, top = 0;                 // frame on the screen
    int width = 0, height = 0;             // frame size
    int clientWidth = 0, clientHeight = 0; // client area, tool bar included
    int toolBarHeight = 0;
};

// The picture window never gets smaller than this.
inline constexpr int MinPictureWidth = 240;
inline constexpr int MinPictureHeight = 160;

struct WindowLayout {
    // Picture window in the client area's coordinates.
    int pictureLeft = 0, pictureTop = 0, pictureWidth = 0, pictureHeight = 0;
    // Object dialogs (the shared position stored in the document) and the
    // transformations window, on the screen.
    int dialogLeft = 0, dialogTop = 0;
    int transLeft = 0, transTop = 0;
};

// Picture window: left 405, top 0, width = client width − 415, height =
// client height − tool bar − 5; on a small main window it keeps the minimum
// size and moves left so that its right edge stays 10 pixels inside the
// client area where it can.  Dialogs: 10 pixels right of the client's left
// edge, just below the tool bar.  Transformations window (of height
// transHeight): same left, its bottom 15 pixels above the main window's.
WindowLayout DefaultWindowLayout(const MainGeometry& main, int transHeight);

}  // namespace pelmar
