// The mouse tools of the picture window: the ruler, drawing new plane
// objects, selecting, and dragging selected objects by their body or their
// handles.  The window passes every press, move and release of its view with
// the buttons held and Shift; which tool is active is read from the window
// each time, the tools keep no mode of their own.
//
// Coordinates: window pixels become picture pixels by the zoom (rounded half
// to even) and the model's up-pointing Y by the picture height; a clicked
// point lies in the model's y-z plane at (0, PX, YM).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "editing/edited_document.h"

#include "drawing/word_lines.h"
#include "model/drag_rules.h"
#include "model/records.h"

namespace pelmar {

struct EditingState;

enum class MouseTool { None, Ruler, Draw, Select, Edit };

// What the tools need of the picture window.
class MouseToolView {
public:
    virtual ~MouseToolView() = default;
    virtual MouseTool tool() const = 0;
    // The kind button that is down in draw mode: po, li, ci, tr, kv or xy.
    virtual Kind drawKind() const = 0;
    virtual void setStatusPanel(int panel, const std::string& text) = 0;
    // The ruler's rubber line in window pixels, drawn over the picture; off hides it.
    virtual void setRubberLine(bool on, int x1, int y1, int x2, int y2) = 0;
    // EnableDrawTools(True): a kind at its limit loses its button.
    virtual void enableDrawTools() = 0;
    // Word-table line N ("Длина=" 350, "Угол=" 351) and the decimal separator.
    virtual std::string wordLine(int line) = 0;
    std::string word(WordNo line) { return wordLine(static_cast<int>(line)); }
    virtual char decimalSeparator() = 0;
};

struct MouseInput {
    int x = 0, y = 0;  // window pixels of the view
    bool left = false, right = false;  // held now (a press includes its button, a release no longer does)
    bool shift = false;
};

// Picture X (or top-down Y) of a window pixel at the zoom percent.
int PictureCoord(int window, int zoom);
// Model Y of window row y: Round(H - (y + 1) * 100 / zoom).
int ModelY(int window, int zoom, int pictureHeight);
// Window pixel of a picture pixel: Round(p * zoom / 100).
int WindowCoord(int picture, int zoom);

// Up to 15 significant digits, no trailing zeros, the given decimal separator.
std::string GeneralNumber(double v, char decimalSep);

class MouseTools {
public:
    MouseTools(EditingState& st, MouseToolView& view);
    ~MouseTools();

    void press(const MouseInput& in);
    void move(const MouseInput& in);
    void release(const MouseInput& in);

    int mouseButtons() const { return mouseButtons_; }
    int vertexStep() const { return vertexStep_; }
    bool editDragActive() const { return editDragActive_; }

private:
    struct Pos {
        int px, py, ym;
    };
    Pos at(const MouseInput& in) const;
    bool lengthTool() const;
    void lengthAndAngle(const Pos& p);
    void drawPress(const Pos& p);
    void drawMove(const Pos& p);
    void drawRelease(const Pos& p);
    void editPress(const Pos& p);
    void editMove(const Pos& p);
    // The selected objects put where the mouse last stood, from their state
    // at the press; `filed`: as their file gives them back.
    void dragTo(bool filed);
    // The edit drag ends: what it moved is stored as its file gives it back.
    void finishEditDrag();
    void showRubber();
    void repaint();
    // The left button of the running drag is held.
    bool leftHeld() const { return drag_ && drag_->leftHeld(); }
    // The records an edit drag starts every move from.
    class PressCopies;

    EditingState& st_;
    MouseToolView& view_;
    // The running drag, from a left press to the release of the last button.
    std::optional<EditedDocument::Drag> drag_;

    int mouseButtons_ = 0;
    int vertexStep_ = 0;
    int dragStartX_ = 0, dragStartY_ = 0, dragStartYM_ = 0;
    int dragEndX_ = 0, dragEndY_ = 0;
    bool editDragActive_ = false;
    DragGrip grip_;  // where the edit drag took its handle
    // The selected objects and those built on others as the edit drag's
    // press found them, and the picture point its last move stood at.
    std::unique_ptr<PressCopies> pressCopies_;
    int editAtX_ = 0, editAtYM_ = 0;
    int lastMouseX_ = -1, lastMouseY_ = -1;
    bool haveLast_ = false;
    std::string pressText_;  // panel 4 of the running drag
};

}  // namespace pelmar
