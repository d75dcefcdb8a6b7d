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
    ensureStored();
    ApplyObject(*st_, writeBack);
}

bool EditedDocument::undo() { return UndoStep(*st_); }

bool EditedDocument::redo() { return RedoStep(*st_); }

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

FillWatch EditedDocument::Drag::step() {
    if (edit_ && !snapshotTaken_) {
        snapshotTaken_ = true;
        pause_.reset();
        SaveUndoStep(*doc_.st_);
        holdUndo();
    }
    return FillWatch(*doc_.st_->Proj);
}

}  // namespace pelmar
