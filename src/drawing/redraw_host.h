// What the redraw needs of the windows: the main window's play button, tool
// buttons and commands, the drawing window's caption, status bar, progress
// bar and picture, the preview of the own open and save dialogs, the word
// table and the event pump.  The main window implements it; tests use a fake.
#pragma once

#include <QImage>
#include <string>

namespace pelmar {

// Scroll position and client size of the drawing window's scroll box.
struct ViewPort {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class RedrawHost {
public:
    virtual ~RedrawHost() = default;

    // Line of the word table (265, 266, 331, 349, 352, 353 are read here).
    virtual std::string wordLine(int line) = 0;
    // The user's decimal separator.
    virtual char decimalSeparator() = 0;
    // Handles the pending window events once.
    virtual void processEvents() = 0;

    // Main window.
    // In the open segment, triangle and tetragon dialogs, makes the edit that
    // has the focus commit its text (focus to the dialog's hidden button and back).
    virtual void commitFocusedEdits() = 0;
    virtual void setPlayImage(int imageIndex) = 0;  // 10 idle, 52 while a full redraw runs
    virtual void setPlayHint(const std::string& hint) = 0;
    virtual void setPlayEnabled(bool on) = 0;
    virtual void repaintPlay() = 0;
    virtual bool toolButtonEnabled(const std::string& name) = 0;
    virtual void setToolButtonEnabled(const std::string& name, bool on) = 0;
    virtual void repaintToolBar() = 0;
    // The menus MeFile, MeObjects, MeEdit and MeOptX, every open object
    // dialog, ComboObj, ComboMas and the transformation window's apply button.
    virtual void setCommandsEnabled(bool on) = 0;
    // Clears every selection (nothing is drawn), and refreshes the selection buttons.
    virtual void selectNone() = 0;
    virtual void updateSelectionUI() = 0;

    // Drawing window.
    virtual std::string imageCaption() = 0;
    virtual void setImageCaption(const std::string& caption) = 0;
    virtual void setStatusPanel(int panel, const std::string& text) = 0;  // sets and repaints
    virtual void hideProgressBar() = 0;
    // The progress bar of long graph traces: shown at position 0 inside the
    // status bar, then moved (positions 0..100).
    virtual void showProgressBar() {}
    virtual void setProgressPosition(int /*position*/) {}
    // A message box with an OK button.
    virtual void showMessage(const std::string& /*text*/) {}
    virtual ViewPort imageView() = 0;
    // Shows `view` (the visible part of the picture) at (left, top) of the
    // paint box, which becomes boxWidth x boxHeight and visible.
    virtual void showPicture(const QImage& view, int boxWidth, int boxHeight, int left, int top) = 0;

    // The preview of the own open (mode 2) or save (mode 3) dialog, already
    // fitted into its box.
    virtual void showPreview(int mode, const QImage& picture) = 0;
};

}  // namespace pelmar
