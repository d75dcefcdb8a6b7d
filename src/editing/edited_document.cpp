#include "editing/edited_document.h"

#include <utility>

#include "editing/commit.h"
#include "editing/editing_state.h"
#include "editing/undo_store.h"

namespace pelmar {

EditedDocument::EditedDocument(DProj& proj, QObject* parent)
    : QObject(parent), st_(std::make_unique<EditingState>(proj, *this)) {}

EditedDocument::~EditedDocument() = default;

void EditedDocument::commit(bool writeBack) {
    Command command(*this);
    ensureStored();
    ApplyObject(*st_, writeBack);
}

void EditedDocument::commitInStep(bool writeBack, std::uint64_t& step) {
    Command command(*this);
    ensureStored();
    auto& typed = st_->Typed;
    if (step != 0 && step == st_->UndoStamp) {
        {
            const UndoPause joined(*st_);
            typed.phase = 2;
            typed.returned = false;
            ApplyObject(*st_, writeBack);
            typed.phase = 0;
        }
        // Typing that ends where it began is no change: its step is taken back.
        if (typed.returned && st_->ChangesOpen == 0) {
            typed.returned = false;
            typed.before.reset();
            TakeBackLastStep(*st_, typed.changedBefore);
            step = 0;
        }
        return;
    }
    const std::uint64_t before = st_->UndoStamp;
    typed.phase = 1;
    typed.before.reset();
    typed.returned = false;
    ApplyObject(*st_, writeBack);
    typed.phase = 0;
    // A commit that changed nothing took no step: the next one takes its own.
    if (st_->UndoStamp != before) step = st_->UndoStamp;
    else typed.before.reset();
}

std::uint64_t EditedDocument::beforeChange() {
    Command command(*this);
    ensureStored();  // the curves the redraw traces go with the snapshot
    return BeginDocumentChange(*st_);
}

bool EditedDocument::undo() {
    if (mouseHeld()) {
        waiting_.push_back(true);
        return false;
    }
    return UndoStep(*st_);
}

bool EditedDocument::redo() {
    if (mouseHeld()) {
        waiting_.push_back(false);
        return false;
    }
    return RedoStep(*st_);
}

void EditedDocument::runWaiting() {
    waitingQueued_ = false;
    // A new press came first: the commands wait for its release.
    if (mouseHeld()) return;
    const std::vector<bool> commands = std::exchange(waiting_, {});
    for (const bool undoing : commands) undoing ? UndoStep(*st_) : RedoStep(*st_);
}

void EditedDocument::requestRedraw() {
    redrawPending_ = true;
    if (commands_ == 0) queueRedraw();
}

void EditedDocument::queueRedraw() {
    if (redrawQueued_) return;
    redrawQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            redrawQueued_ = false;
            ensureDrawn();
        },
        Qt::QueuedConnection);
}

void EditedDocument::ensureDrawn() {
    if (!redrawPending_) return;
    redrawPending_ = false;
    emit redrawNeeded();
}

void EditedDocument::ensureStored() {
    if (st_->Proj->Obj.count(Kind::xy) + st_->Proj->Obj.count(Kind::xz) > 0) ensureDrawn();
}

EditedDocument::Command::Command(EditedDocument& doc) : doc_(doc) { ++doc_.commands_; }

EditedDocument::Command::~Command() {
    if (--doc_.commands_ == 0 && doc_.redrawPending_) doc_.queueRedraw();
}

EditedDocument::UndoPause::UndoPause(EditingState& st) : st_(st) { ++st_.UndoHeld; }

EditedDocument::UndoPause::~UndoPause() { --st_.UndoHeld; }

// The marks go with a snapshot: one kept from before them is not the document.
EditedDocument::SelectionMarks::SelectionMarks(EditingState& st) : st_(st) {
    ++st_.MarksOnly;
    st_.KeptStep = 0;
}

EditedDocument::SelectionMarks::~SelectionMarks() { --st_.MarksOnly; }

void EditedDocument::setDragging(bool on) {
    if (dragging_ == on) return;
    dragging_ = on;
    emit dragChanged(on);
}

EditedDocument::Drag::Drag(EditedDocument& doc) : doc_(doc) {
    ++doc_.drags_;
    doc_.setDragging(true);
}

EditedDocument::Drag::~Drag() {
    pause_.reset();
    change_.reset();  // the drag's one undo step, when it changed the file
    if (edit_) --doc_.editDrags_;
    if (leftHeld_) doc_.setDragging(false);
    // The Undo or Redo that waited for the release runs after the mouse
    // event that ended the drag, on the document as the drag left it.
    if (--doc_.drags_ == 0 && !doc_.waiting_.empty() && !doc_.waitingQueued_) {
        doc_.waitingQueued_ = true;
        QMetaObject::invokeMethod(&doc_, [d = &doc_] { d->runWaiting(); }, Qt::QueuedConnection);
    }
}

void EditedDocument::Drag::leftReleased() {
    leftHeld_ = false;
    doc_.setDragging(false);
}

void EditedDocument::Drag::holdUndo() {
    if (!pause_) pause_ = std::make_unique<UndoPause>(*doc_.st_);
}

void EditedDocument::Drag::beginEdit() {
    if (!edit_) ++doc_.editDrags_;
    edit_ = true;
    holdUndo();
}

FillWatch EditedDocument::Drag::step() {
    if (edit_) changed_ = true;
    if (edit_ && !change_) {
        pause_.reset();
        change_ = std::make_unique<DocumentChange>(*doc_.st_);
        holdUndo();
    }
    return FillWatch(*doc_.st_->Proj);
}

}  // namespace pelmar
