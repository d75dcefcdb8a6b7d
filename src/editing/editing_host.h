// What the editing core asks of the windows, in three small interfaces: the
// object dialogs, the two question windows and the message box.  What it
// tells them (the commands' states, the redraw, the dialogs' refills, the
// object combo, the view reset, the modified and the undo states) are the
// document's signals (edited_document.h).  The main window and the
// dialogs implement them; whoever runs the core without windows (tests,
// benchmarks) connects its own quiet ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/records.h"

namespace pelmar {

// The commands and controls whose states the editing core sets (the
// document's commandEnabled, commandDown ...).  A command
// stands for its menu item and tool button together where both exist; the
// main window maps them onto its own command table, which also holds the
// commands the editing core never touches.
enum class EditingCommand : std::uint8_t {
    Save,            // TBSave, MeSave: enabled = unsaved changes
    SaveAs,          // TBSaveAs, MeSaveAs
    Close,           // TBClose, MeClose
    Export,          // TBExport, MeExport
    Print,           // TBPrint, MePrint
    Copy,            // TBCopy, MeCopy (objects through the clipboard file)
    Paste,           // TBPaste, MePaste
    OptProj,         // TBOptProj, MeOptProj
    WinObj,          // TBWinObj, MeWinObj
    Anim,            // TBAnim
    Undo,            // TBUndo, MeUndo
    Redo,            // TBRedo, MeRedo
    Delete,          // TBDelete, MeDel
    NewObject,       // TBNew<k>, MeNew<k>: one per kind
    BackTo,          // TBTo<k>, MeTo<k>: one per kind but the point
    // Picture window.
    DrawLine,        // TBLine (tool button with a pressed state)
    DrawTools,       // TBAdds
    SelectTool,      // TBSell
    EditTool,        // TBEdit
    SelectAll,       // TBSelAlls
    SelectNone,      // TBSelNone
    SelectCurrent,   // TBSelCurY
    DeselectCurrent, // TBSelCurN
    CopyPicture,     // the picture window's TBCopy
    // Transformations window.
    TransSelected,   // CheckBoxSell
    TransCurrent,    // CheckBoxCurr
};


// The object dialogs (FormPo .. FormXZ; FormPi serves i3 and i4, FormPr r3
// and r4).  The open flags live in the editing state; the host only shows
// and closes the windows (they refill on the document's objectChanged).
class DialogHost {
public:
    virtual ~DialogHost() = default;
    // CreateForm<k>; for i3/i4 and r3/r4 the shared dialog with size 3 or 4.
    virtual void Show(Kind) = 0;
    // Closes the kind's dialog (the shared one for i3/i4, r3/r4).
    virtual void Close(Kind) = 0;
    // Focus state of an open dialog: the object name of its active control
    // ("" when none), selecting a page of a tabbed dialog (1 or 2), and
    // making a named control active (a refusal is ignored).
    virtual std::string ActiveControl(Kind) const = 0;
    virtual void SelectPage(Kind, int) = 0;
    virtual void Activate(Kind, const std::string&) = 0;
};

// The delete question (TFormQDel) as the command sets it up.
struct DeleteQuestion {
    int chosen = 0;            // RadioGroup1 item: 0 the current object, 1 the selected objects
    bool choiceEnabled = false;
    bool yesEnabled = true;
    bool cannotDeleteAll = false;  // Label2 "Нельзя удалить все объекты!" shown
};

// The copy question (TFormQCopy).
struct CopyQuestion {
    bool childEnabled = true;     // RadioButton2, the part being edited
    bool selectedEnabled = true;  // RadioButton3, the selected objects
};

// The answer of a question window: done = closed by one of its buttons.
struct QuestionAnswer {
    bool done = false;
    int answer = 0;  // delete: 0 No, 1 current, 2 selected; copy: 0 No, 1 parent, 2 child, 3 selected
};

class QuestionBox {
public:
    virtual ~QuestionBox() = default;
    virtual QuestionAnswer AskDelete(const DeleteQuestion&) = 0;
    virtual QuestionAnswer AskCopy(const CopyQuestion&) = 0;
};

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // A message box with an OK button; lines are joined by LF CR.
    virtual void ShowMessage(const std::string&) = 0;
};

// The picture view after a document was loaded (the reset of the object-list
// rebuild): zoom item, picture sizes and scroll position.
struct ViewReset {
    bool raster = true;        // picture mode 0
    int pictureWidth = 0, pictureHeight = 0;
    int boxWidth = 0, boxHeight = 0;  // the paint box (or metafile image) at the zoom
    int zoomItem = -1;         // ComboMas item; -1 leaves the combo as it is
    int scrollHorz = 0, scrollVert = 0;
    TColor background = 0xFFFFFF;
    bool clearMetafile = false;  // vector mode outside an undo reload
};


}  // namespace pelmar
