// The transformations window and the animation builder as the main window
// has them.  FormTrans is created with the main window, stays on top of it,
// waits disabled for a document, takes its scope boxes' states from the
// editing core (the selection, the current object) and applies through the
// application's editing state.  The builder runs modally on TBAnim over the
// document and the picture of the main window.
#pragma once

#include <memory>
#include <optional>

#include "drawing/redraw_host.h"
#include "editing/editing_host.h"

namespace pelmar {

class Form1;
class TFormTrans;
class EditingTransHost;
struct LiveWindows;

class MainTransform {
public:
    MainTransform(Form1& w, RedrawHost redraw);
    ~MainTransform();
    MainTransform(const MainTransform&) = delete;
    MainTransform& operator=(const MainTransform&) = delete;

    TFormTrans& window() const { return *form_; }

    // Shows the window beside the main window (it is never closed).
    void show();
    // WordsToTrans from the shell's word table.
    void wordsToTrans();
    // EnableTransForm.
    void enable(bool on);
    // The scope boxes as the editing core sets and reads them; false (or no
    // value) for every other command.
    bool setEnabled(EditingCommand c, bool on);
    std::optional<bool> isDown(EditingCommand c) const;
    bool setDown(EditingCommand c, bool down);
    // "Текущий" is offered only while the current object is not built on
    // other objects (creation number 1 or less).
    void currentChanged();
    // The window's frame to this place on the screen (the default layout).
    void place(int left, int top);
    // MeWinTrans and TBWinTrans: the window to the front with the focus.
    void focus();
    // An opened document puts the window where the document stores it.
    void documentOpened();
    // The window's place and rolled-up state for the files written.
    void storeWindows(LiveWindows& w) const;
    // TBAnim: the builder's window over the document; the picture afterwards.
    void runAnimation();

private:
    Form1& w_;
    RedrawHost redraw_;
    std::unique_ptr<EditingTransHost> host_;
    TFormTrans* form_;
};

}  // namespace pelmar
