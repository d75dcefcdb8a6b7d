// The editing state: one owner for everything the editing core keeps between
// two user actions.  It extends the model's EditState (the object list, the
// current object, the commit switch, the remembered tab pages) with the
// working copies, the dialog-open flags, the selection, the undo position and
// gate, the document flags the commit reads, and the windows it reports to.
// The role bytes of the nesting path live in the edited document (Proj->Role),
// so that undo snapshots and saved documents carry them.
//
// The state refers to the document it edits; it never owns it.  It is large
// (fourteen working copies): keep it on the heap.
#pragma once

#include <any>
#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <string>

#include "editing/editing_host.h"
#include "files/document.h"
#include "files/word_table.h"
#include "model/defaults.h"
#include "model/edit_state.h"
#include "model/records.h"

class QImage;

namespace pelmar {

class EditedDocument;
struct EditingState;

// The model's dialog interface over the state's open flags and the dialog
// windows: flags are set and cleared here, the windows only shown and closed;
// a refill is the document's objectChanged.
class StateDialogs : public ObjectDialogs {
public:
    explicit StateDialogs(EditingState& st) : st_(st) {}
    bool IsOpen(Kind k) const override;
    void SetOpen(Kind k, bool open) override;
    void Create(Kind k) override;
    void Close(Kind k) override;
    void Refill(Kind k) override;
    void DisableToKindButtons() override;

private:
    EditingState& st_;
};

// Selection set of one kind: bit i is object i (1-based).
using SelectionSet = std::bitset<256>;

struct EditingState : EditState {
    // Made by its document object, which it reports to.
    EditingState(DProj& proj, EditedDocument& document);
    EditingState(const EditingState&) = delete;
    EditingState& operator=(const EditingState&) = delete;

    // CurPoint .. CurXZ and CurPoIndex .. CurXZIndex (EditState::Work points here).
    WorkingCopies Copies;
    // FormPoOpen .. FormXZOpen (FormPi3Open, FormPi4Open, FormPr3Open, FormPr4Open).
    std::array<bool, KindCount> DialogOpen{};

    // Selection: SelPo .. SelXZ, SelCount, DragHandle and the two colours.
    std::array<SelectionSet, KindCount> Sel{};
    int SelCount = 0;
    int DragHandle = 0;
    TColor MoveColor = 0x0000FF;   // red
    TColor ShapeColor = 0xFF0000;  // blue

    // Document flags.
    bool ProjReady = true;   // false while a document is being set up
    bool Untitled = true;    // no file yet
    bool Changed = false;    // unsaved changes (the Enabled state of TBSave)

    // Undo: settings, position and the folder of this instance's undo files.
    bool UndoOn = true;
    int UndoSteps = 50;        // 10 .. 200
    int UndoHeld = 0;          // live EditedDocument::UndoPause scopes: no snapshot while > 0
    // Moves on with every undo step taken, undone or redone and with every
    // new history: a commit that joins a step (EditedDocument::commitInStep)
    // joins it only while the stamp is the one the step was taken at.
    std::uint64_t UndoStamp = 1;
    int MarksOnly = 0;         // live EditedDocument::SelectionMarks scopes: commits change no document
    // A step taken back (typing that ended where it began) leaves its
    // snapshot in place: the document is again what it holds, so the next
    // step, while nothing else has happened, takes it as it is.
    int KeptStep = 0;
    std::uint64_t KeptStamp = 0;
    // The step one typing takes (EditedDocument::commitInStep): the object as
    // stored before the step's first commit, with the mark it had then, so
    // that typing which ends where it began takes the step back.
    struct TypedStep {
        int phase = 0;            // 1: a step may begin; 2: a commit joins the step
        std::any before;          // the stored record, of the current kind
        std::size_t index = 0;
        bool changedBefore = false;
        bool returned = false;    // the joined commit left the object as before
    } Typed;
    int ChangesOpen = 0;       // live DocumentChange scopes (editing/commit.h): the outermost one decides
    bool UndoBusy = false;     // a snapshot is being written or reloaded
    bool UndoLoading = false;  // an undo or redo file is being reopened
    int UndoPos = 1;           // number of the next undo file
    bool UndoEnabled = false;  // TBUndo, MeUndo
    bool RedoEnabled = false;  // TBRedo, MeRedo
    int UndoHigh = 0;          // highest step number written since the last clearing
    bool UndoFailShown = false;  // the message of a failed snapshot was shown
    bool UndoOffShown = false;   // the message that undo has no folder was shown
    std::string UndoFolder;      // ends in "/"; the undo files of this instance
    std::string ProgDir;         // program folder, ends in "/"; "Temp/ClipBoard.pel" lies below it

    // Default objects of New<Kind> (pictureHeight is taken from the document).
    DefaultsSource Defaults;
    // The fill picture, written with undo snapshots and read with them; may be null.
    QImage* BackPng = nullptr;
    // Positions of the picture and transformations windows for the files
    // written; without it those stored in the document.
    std::function<LiveWindows()> Windows;
    // The word table; without it the built-in texts.
    const WordTable* Words = nullptr;

    // The document object that announces the changes to the windows.
    EditedDocument& Document;
    // The windows that answer the core, connected by whoever runs it.
    DialogHost* DialogWindows = nullptr;
    QuestionBox* Questions = nullptr;
    MessageBox* Messages = nullptr;

    StateDialogs Dialogs{*this};

    DProj& Doc() { return *Proj; }
    const DProj& Doc() const { return *Proj; }
};

// A word-table line from st.Words; the built-in text when there is no table
// or the table's line is empty.
std::string Word(const EditingState& st, WordNo line);

// Kind of the current object-list entry; false when the entry names no kind.
bool CurrentKind(const EditingState& st, Kind& k);
// The current entry's index byte (0 when there is no current entry).
std::uint8_t CurrentEntryIndex(const EditingState& st);

// The dialog-open flag of a kind, and the window of it closing by itself
// (the close box): its flags are cleared (both flags of a shared dialog).
bool DialogIsOpen(const EditingState& st, Kind k);
void DialogClosed(EditingState& st, Kind k);

// The program folder: the clipboard file and the default sets below it, the
// undo files in the running instance's own folder under its "Temp/".
void SetProgramFolder(EditingState& st, const std::string& progDir);

// ClearRoleBytes.
void ClearRoleBytes(EditingState& st);

// Marks the document changed (TBSave, MeSave enabled) or saved.
void SetChanged(EditingState& st, bool changed);

// Sets CurObjIndex and the object combo's item index together.
void SetCurObjIndex(EditingState& st, int index);

// The windows' state as the files written now store it: the positions from
// st.Windows (or the document), the object combo, the open dialogs and the
// focused control from the state.
LiveWindows CurrentWindows(const EditingState& st);

}  // namespace pelmar
