// The default arrangement of the windows: the picture window inside the main
// window's client area right of a strip for the dialogs, the object dialogs
// below the tool bar at the left and the transformations window at the
// bottom left.  Pure arithmetic over the main window's geometry and the
// outer (frame) sizes of the windows placed, kept on the screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <span>

namespace pelmar {

struct MainGeometry {
    int left = 0, top = 0;                 // frame on the screen
    int width = 0, height = 0;             // frame size
    int clientWidth = 0, clientHeight = 0; // client area, menu and tool bar included
    int toolBarHeight = 0;                 // menu and tool bar
    QPoint client;                         // the client area's top-left on the screen
    QRect available;                       // the screen's area for windows; empty: no bounds
    QSize transFrame;                      // the transformations window's outer size
    int dialogFrameWidth = 0;              // the room kept for the object dialogs (DialogRoom); 0: none
};

// The picture window never gets smaller than this.
inline constexpr int MinPictureWidth = 240;
inline constexpr int MinPictureHeight = 160;

struct WindowLayout {
    // Picture window in the client area's coordinates.
    int pictureLeft = 0, pictureTop = 0, pictureWidth = 0, pictureHeight = 0;
    // Object dialogs (the shared position stored in the document) and the
    // transformations window: the top-left corners of their frames on the screen.
    int dialogLeft = 0, dialogTop = 0;
    int transLeft = 0, transTop = 0;
};

// The outer margins of a window's frame: those the window system reports,
// or, while a window is not yet framed (it reports none), those of another
// framed window of the program.
struct FrameMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool none() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    QSize grow(QSize client) const { return {client.width() + left + right, client.height() + top + bottom}; }
};
FrameMargins MarginsOf(const QRect& frame, const QRect& client);
FrameMargins EstimatedMargins(const FrameMargins& own, const FrameMargins& framed);

// The room the layout keeps for the object dialogs at their place: the outer
// width of the widest dialog of any kind, open or not, so that a dialog of
// another kind replacing the last never moves the picture window.
// `clientWidths`: the client width each kind's dialog opens with (0: none);
// `frame`: the margins of a dialog's frame.  0 when no width is known.
int DialogRoom(std::span<const int> clientWidths, const FrameMargins& frame);

// The top-left of a frame of `size` wanted at `at`, moved as little as needed
// to lie wholly inside `area` (its top-left edge when it is larger); `at`
// itself when `area` is empty.
QPoint KeepInside(QPoint at, QSize size, const QRect& area);

// The MDI area a picture window lives in: all of it, and the part of it on
// the screen (the whole when all of it is seen).
struct PictureArea {
    QRect view, seen;
};

// A picture window's normal place kept where it can be seen and grabbed.  A
// place inside the view whose top-left corner, with a window of the least
// size there, lies on the seen part stays as it is: the layout or the user
// put it there (a main window larger than the screen lays the picture
// window out past the screen's edge).  Any other place (a file from a
// larger screen) is made no larger than the seen part (nor smaller than the
// least size) and moved as little as needed to lie inside it; `place` at the
// least size when the seen part is empty.
QRect KeepPictureInside(const QRect& place, const PictureArea& area);

// Picture window: top 0, height = client height − tool bar − 5; its left
// edge 405, or 5 pixels right of the dialogs' room where that is wider;
// width = client width − left − 10.  On a small main window
// it keeps the minimum size and moves left so that its right edge stays 10
// pixels inside the client area where it can.  Dialogs: 10 pixels right of
// the client's left edge, just below the tool bar.  Transformations window:
// same left, its frame's bottom 15 pixels above the main window's.  The
// dialogs' place and the transformations window lie wholly on the screen.
WindowLayout DefaultWindowLayout(const MainGeometry& main);

}  // namespace pelmar
