// What the object dialogs and their sub-dialogs need from the rest of the
// program, as small interfaces that the editing core, the document and the
// standard Qt dialogs implement and that tests answer.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "model/records.h"

namespace pelmar {

// The editing core as a dialog sees it.
class DialogCommit {
public:
    virtual ~DialogCommit() = default;
    // The single commit of the kind's working copy (ApplyObject): marks the
    // document changed, takes an undo step, stores the copy and refills the
    // open dialogs.  writeBack: the open parts go back into their parents.
    virtual void ApplyObject(bool writeBack) = 0;
    // The same commit as a part of the undo step `step` holds: the keys
    // typed into one field are one step.  It takes no snapshot of its own
    // while no other step was taken, undone or redone since `step` was set;
    // otherwise (and with `step` 0) it takes one and sets `step` to it.
    virtual void ApplyObjectInStep(bool writeBack, std::uint64_t& step) = 0;
    // Before a change a dialog makes to the stored document itself ("apply
    // to all"): the one undo snapshot of the document as it is, and the
    // document marked changed.  The commit after the change joins the step
    // returned.
    virtual std::uint64_t BeforeDocumentChange() = 0;
    // The redraw after an edit (RepaintProject(1, False)).
    virtual void RepaintProject() = 0;
    // True while a drag runs in the picture window: handlers neither commit
    // nor redraw then.
    virtual bool NoRedraw() const = 0;
};

// What all object dialogs share through the document: one screen position,
// one rolled-up state, and the resolution their size hints are given at.
struct DialogPlace {
    int left = 0;
    int top = 0;
    bool rolledUp = false;
};

class DialogDocument {
public:
    virtual ~DialogDocument() = default;
    virtual DialogPlace dialogPlace() const = 0;
    virtual void setDialogPosition(int left, int top) = 0;
    virtual void setDialogsRolledUp(bool rolledUp) = 0;
    virtual int resolution() const = 0;  // dots per inch
};

// The same kept in the edited document; `doc` gives the document of the
// moment (New and Open replace it).
class ProjDialogDocument : public DialogDocument {
public:
    explicit ProjDialogDocument(std::function<DProj&()> doc) : doc_(std::move(doc)) {}
    DialogPlace dialogPlace() const override;
    void setDialogPosition(int left, int top) override;
    void setDialogsRolledUp(bool rolledUp) override;
    int resolution() const override;

private:
    std::function<DProj&()> doc_;
};

// A modal window's session is one change of the document: its controls
// store into the working copy and say so, and the commit runs once, as the
// window closes.  A session that ends as it began stores the object as the
// file already holds it, which takes no undo step and marks nothing.
class SessionCommit {
public:
    explicit SessionCommit(DialogCommit& commit) : commit_(commit) {}
    void changed() { changed_ = true; }
    // The window closes.
    void end() {
        if (!changed_) return;
        changed_ = false;
        commit_.ApplyObject(true);
    }

private:
    DialogCommit& commit_;
    bool changed_ = false;
};

// The standard colour dialog: the chosen colour, nullopt on Cancel.
class ColorChooser {
public:
    virtual ~ColorChooser() = default;
    virtual std::optional<TColor> chooseColor(TColor initial) = 0;
};

// A plain message box with one OK button.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const std::string& text) = 0;
};

}  // namespace pelmar
