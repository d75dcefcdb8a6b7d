// The edited document: the one object through which the windows change the
// document and learn what changed.  It owns the editing state (working
// copies, nesting path, selection, undo position) over the document it
// edits, and its undo history (the numbered snapshot files, undo_store.h).
//
// A mouse event or a typed value becomes one of its commands (commit, a drag
// step, undo, redo); the command emits what changed, and the windows that
// connected to the signals (all in one place, src/app/document_wiring.cpp) bring
// themselves up to date.  Redraws asked for in one turn of the event loop
// are one, given when the loop comes round (ensureDrawn gives it at once).
#pragma once

#include <QObject>
#include <QRect>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editing/editing_host.h"
#include "model/records.h"

namespace pelmar {

struct EditingState;
class FillWatch;
class DocumentChange;

class EditedDocument : public QObject {
    Q_OBJECT
public:
    explicit EditedDocument(DProj& proj, QObject* parent = nullptr);
    ~EditedDocument() override;

    EditingState& state() { return *st_; }
    const EditingState& state() const { return *st_; }

    // The commit of the current kind's working copy (ApplyObject), as a typed
    // value in an object dialog asks for it; the dialog then asks for the
    // redraw (requestRedraw), unless a drag runs.
    void commit(bool writeBack);
    // A commit that belongs to the undo step `step` holds: the keys typed
    // into one field, "apply to all" and its commit are one step each.  It
    // takes no snapshot of its own while no other step was taken, undone or
    // redone since `step` was set; otherwise (and with `step` 0) it takes
    // one.  `step` is set to the step the commit belongs to.
    void commitInStep(bool writeBack, std::uint64_t& step);
    // Before a change made to the stored document itself rather than to a
    // working copy (the project options, the fill settings, a
    // transformation, "apply to all"): the one undo snapshot of the document
    // as it is now, and the document marked changed.  The change follows at
    // once; the step returned lets the commit after it join this step.
    std::uint64_t beforeChange();
    // The Undo and Redo commands; false when nothing was reopened.  While a
    // mouse button is held in the picture (a drag runs) they wait, and run
    // when the last button is let go.
    bool undo();
    bool redo();

    // Asks for one redraw: the picture counts as stale, and the event loop
    // redraws it once for every request of this turn (after the outermost
    // command that runs).
    void requestRedraw();
    // Whoever reads the picture or its snapshot calls ensureDrawn first: a
    // redraw still owed is given now.  Whoever reads the document's records
    // calls ensureStored first: the redraw stores the curves it traces into
    // the coordinate systems, so one owed is given now when there are any.
    void ensureDrawn();
    void ensureStored();

    // A command: the redraws asked for while one or more live are one.
    class Command {
    public:
        explicit Command(EditedDocument& doc);
        ~Command();
        Command(const Command&) = delete;
        Command& operator=(const Command&) = delete;

    private:
        EditedDocument& doc_;
    };

    // Keeps undo snapshots off while it lives (the selection buttons, the
    // link choice, the transformations' own steps); scopes nest.
    class UndoPause {
    public:
        explicit UndoPause(EditingState& st);
        ~UndoPause();
        UndoPause(const UndoPause&) = delete;
        UndoPause& operator=(const UndoPause&) = delete;

    private:
        EditingState& st_;
    };

    // The selection commands re-mark objects and reload the current one
    // through the commit: while a scope lives, the commits change no
    // document (it is not marked changed).  Scopes nest.
    class SelectionMarks {
    public:
        explicit SelectionMarks(EditingState& st);
        ~SelectionMarks();
        SelectionMarks(const SelectionMarks&) = delete;
        SelectionMarks& operator=(const SelectionMarks&) = delete;

    private:
        EditingState& st_;
    };

    // One drag of the picture window's mouse tools, from the left press to
    // the release of the last button.  While the left button is held the
    // document counts as dragged (dragging(), dragChanged): graphs pump no
    // events and the dialogs neither commit nor redraw.  Undo snapshots stay
    // off from holdUndo() on; an edit drag (beginEdit) opens its one
    // DocumentChange before its first change, so a whole drag, with the
    // commit at its release, is one undo step when it changed the file.
    // Each change of an edit drag, the objects recomputed through their links
    // with it, runs under the fill comparison that step() returns.
    class Drag {
    public:
        explicit Drag(EditedDocument& doc);
        ~Drag();
        Drag(const Drag&) = delete;
        Drag& operator=(const Drag&) = delete;

        bool leftHeld() const { return leftHeld_; }
        void leftReleased();
        void holdUndo();
        void beginEdit();
        bool editing() const { return edit_; }
        // Before each change of an edit drag; the change is made while the
        // returned watch lives.
        [[nodiscard]] FillWatch step();
        // An edit drag made a change (step() was called): only then does its
        // end commit, mark the document changed and count as an undo step.
        bool changed() const { return changed_; }

    private:
        EditedDocument& doc_;
        std::unique_ptr<UndoPause> pause_;
        std::unique_ptr<DocumentChange> change_;
        bool leftHeld_ = true;
        bool edit_ = false;
        bool changed_ = false;
    };
    bool dragging() const { return dragging_; }
    // An edit drag runs.
    bool editDragRunning() const { return editDrags_ > 0; }
    // A drag lives: a mouse button is held in the picture.
    bool mouseHeld() const { return drags_ > 0; }

    // What the core tells the windows; the editing functions emit them.
signals:
    // The working copy of a kind changed: its open dialog shows it again.
    void objectChanged(pelmar::Kind kind);
    // The object combo's items (ComboObj) and its current item (-1 none).
    void objectListChanged(const std::vector<std::string>& items);
    void currentObjectChanged(int index);
    // A document was read: the picture window takes the state it was saved
    // in (1 normal, 2 maximised, 3 minimised; any other value keeps the
    // present one) and its normal place and size (empty: kept as they are).
    void pictureWindowRestored(int state, const QRect& normal);
    // A document was loaded: the picture view's zoom, sizes and scroll position.
    void viewReset(const pelmar::ViewReset& view);
    void undoStateChanged(bool undoEnabled, bool redoEnabled);
    void modifiedChanged(bool modified);
    // The enabled state of a command, of a kind's command (NewObject,
    // BackTo), and the pressed state of a tool or check box.
    void commandEnabled(pelmar::EditingCommand command, bool enabled);
    void kindCommandEnabled(pelmar::EditingCommand command, pelmar::Kind kind, bool enabled);
    void commandDown(pelmar::EditingCommand command, bool down);
    // A pressed tool that can no longer be used: `instead` is pressed for it.
    void toolLeft(pelmar::EditingCommand tool, pelmar::EditingCommand instead);
    // EnableTransForm, and EnableDrawTools(True) when TBAdds is down.
    void transformsEnabled(bool enabled);
    void drawToolsRefresh();
    // The picture is to be drawn again (once per command).
    void redrawNeeded();
    // A drag of the mouse tools begins or ends.
    void dragChanged(bool running);

private:
    void setDragging(bool on);
    void queueRedraw();
    // The Undo and Redo asked for while a button was held, in order (true:
    // Undo), run once the last drag has ended.
    void runWaiting();

    std::unique_ptr<EditingState> st_;
    int commands_ = 0;
    bool redrawPending_ = false;
    bool redrawQueued_ = false;
    bool dragging_ = false;
    int editDrags_ = 0;
    int drags_ = 0;
    std::vector<bool> waiting_;
    bool waitingQueued_ = false;
};

}  // namespace pelmar
