// The roles a window plays for the logic below it.  Each role is a few calls;
// a window implements the roles it has, and each run takes the roles it uses
// (the redraw, the graph traces and the exports share them).
#pragma once

#include <QImage>
#include <string>
#include <string_view>

#include "drawing/word_lines.h"

namespace pelmar {

// Texts: the word table, the user's decimal separator and the message box.
class TextRole {
public:
    virtual ~TextRole() = default;
    // A line of the word table; empty when there is none.
    virtual std::string wordLine(int line) = 0;
    std::string word(WordNo line) { return wordLine(static_cast<int>(line)); }
    virtual char decimalSeparator() = 0;
    // A message of the program's own, which no line of the word table says,
    // in the interface's language; Russian where no language is known.
    virtual std::string said(std::string_view russian, std::string_view /*english*/) { return std::string(russian); }
    // A message box with an OK button.
    virtual void showMessage(const std::string& text) = 0;
};

// Progress and stop: a text with a progress bar, and the event pump through
// which the user's stop request (and any other input) comes in.
class ProgressRole {
public:
    virtual ~ProgressRole() = default;
    // Handles the pending window events once.
    virtual void processEvents() = 0;
    // Shows the text and the bar at position 0, and repaints them.
    virtual void showProgress(const std::string& text) = 0;
    // Moves the bar (0..100) and repaints it.
    virtual void setProgress(int position) = 0;
    // Hides the bar and clears the text.
    virtual void hideProgress() = 0;
};

// Status texts: the drawing window's caption and the panels of its status bar.
class StatusRole {
public:
    virtual ~StatusRole() = default;
    virtual std::string imageCaption() = 0;
    virtual void setImageCaption(const std::string& caption) = 0;
    // Sets the text of a panel and repaints it.
    virtual void setStatusPanel(int panel, const std::string& text) = 0;
};

// The pictures of the main window's play button (indexes of its image list).
enum class PlayImage : int { Idle = 10, Running = 52 };

// Command states: the play button, the commands a full redraw locks, the
// selection.
class CommandRole {
public:
    virtual ~CommandRole() = default;
    // In the open segment, triangle and tetragon dialogs, makes the edit that
    // has the focus commit its text.
    virtual void commitFocusedEdits() = 0;
    virtual void setPlayImage(PlayImage image) = 0;
    virtual void setPlayHint(const std::string& hint) = 0;
    virtual void setPlayEnabled(bool on) = 0;
    virtual void repaintPlay() = 0;
    // True: keeps the enabled state of the commands a full redraw locks (the
    // tool buttons, menus, object dialogs, the object combos and the
    // transformation window's apply button) and disables them; false: gives
    // them back their kept states.  The window owns the list.
    virtual void lockCommands(bool lock) = 0;
    // Clears every selection (nothing is drawn), and refreshes the selection buttons.
    virtual void selectNone() = 0;
    virtual void updateSelectionUI() = 0;
};

// Scroll position and client size of the drawing window's scroll box.
struct ViewPort {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// What a redraw paints for: the drawing window, or the preview of the own
// open or save dialog.
enum class RedrawMode : int { Window = 1, OpenPreview = 2, SavePreview = 3 };

// Presentation of the back buffer: the drawing window's picture and the
// dialogs' previews.
class PictureRole {
public:
    virtual ~PictureRole() = default;
    virtual ViewPort imageView() = 0;
    // Shows `view` (the visible part of the picture, or the whole picture at
    // 0, 0) at (left, top) of the paint box, which becomes boxWidth x
    // boxHeight and visible.
    virtual void showPicture(const QImage& view, int boxWidth, int boxHeight, int left, int top) = 0;
    // The preview of the own open or save dialog, already fitted into its box.
    virtual void showPreview(RedrawMode mode, const QImage& picture) = 0;
};

// A window side that shows nothing and has nothing to say: every word is
// empty, the separator is ','.  For runs that no window watches.
class QuietWindow final : public TextRole,
                          public ProgressRole,
                          public StatusRole,
                          public CommandRole,
                          public PictureRole {
public:
    std::string wordLine(int) override { return {}; }
    char decimalSeparator() override { return ','; }
    void showMessage(const std::string&) override {}
    void processEvents() override {}
    void showProgress(const std::string&) override {}
    void setProgress(int) override {}
    void hideProgress() override {}
    std::string imageCaption() override { return {}; }
    void setImageCaption(const std::string&) override {}
    void setStatusPanel(int, const std::string&) override {}
    void commitFocusedEdits() override {}
    void setPlayImage(PlayImage) override {}
    void setPlayHint(const std::string&) override {}
    void setPlayEnabled(bool) override {}
    void repaintPlay() override {}
    void lockCommands(bool) override {}
    void selectNone() override {}
    void updateSelectionUI() override {}
    ViewPort imageView() override { return {}; }
    void showPicture(const QImage&, int, int, int, int) override {}
    void showPreview(RedrawMode, const QImage&) override {}
};

}  // namespace pelmar
