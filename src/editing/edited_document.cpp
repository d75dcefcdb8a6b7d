#include "editing/edited_document.h"

#include "editing/commit.h"
#include "editing/editing_state.h"
#include "editing/undo_store.h"

namespace pelmar {

EditedDocument::EditedDocument(DProj& proj, QObject* parent)
    : QObject(parent), st_(std::make_unique<EditingState>(proj, *this)) {}

EditedDocument::~EditedDocument() = default;

void EditedDocument::commit(bool writeBack) {
    Command command(*this);
    ApplyObject(*st_, writeBack);
}

bool EditedDocument::undo() { return UndoStep(*st_); }

bool EditedDocument::redo() { return RedoStep(*st_); }

void EditedDocument::requestRedraw() {
    if (commands_ > 0) {
        redrawPending_ = true;
        return;
    }
    emit redrawNeeded();
}

EditedDocument::Command::Command(EditedDocument& doc) : doc_(doc) { ++doc_.commands_; }

EditedDocument::Command::~Command() {
    if (--doc_.commands_ > 0 || !doc_.redrawPending_) return;
    doc_.redrawPending_ = false;
    emit doc_.redrawNeeded();
}

EditedDocument::UndoPause::UndoPause(EditingState& st) : st_(st) { ++st_.UndoHeld; }

EditedDocument::UndoPause::~UndoPause() { --st_.UndoHeld; }

void EditedDocument::setDragging(bool on) {
    if (dragging_ == on) return;
    dragging_ = on;
    emit dragChanged(on);
}

EditedDocument::Drag::Drag(EditedDocument& doc) : doc_(doc) { doc_.setDragging(true); }

EditedDocument::Drag::~Drag() {
    if (edit_) --doc_.editDrags_;
    if (leftHeld_) doc_.setDragging(false);
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
    snapshotTaken_ = false;
    holdUndo();
}

void EditedDocument::Drag::change() {
    if (!edit_ || snapshotTaken_) return;
    snapshotTaken_ = true;
    pause_.reset();
    SaveUndoStep(*doc_.st_);
    holdUndo();
}

}  // namespace pelmar
