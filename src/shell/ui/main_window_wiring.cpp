// The one place where the windows connect to the edited document: a mouse
// event or a typed value runs one of the document's commands, and what the
// command changed reaches the windows through these signals.
#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "shell/application.h"
#include "shell/ui/dialog_session.h"
#include "shell/ui/main_window.h"
#include "shell/ui/main_window_hosts.h"

namespace pelmar {

void Form1::wireDocument() {
    EditedDocument& doc = app_.edited();
    // The picture: one redraw per command; a drag in progress keeps the
    // graphs from pumping events.
    connect(&doc, &EditedDocument::redrawNeeded, this, [this] { redraw(false); });
    connect(&doc, &EditedDocument::dragChanged, this, [this](bool on) { draw_.NoRedraw = on; });
    // The object dialogs show the working copy of the kind that changed.
    connect(&doc, &EditedDocument::objectChanged, this, [this](Kind k) { dialogs_->registry().refill(k); });
    // The object combo and the picture view after a document was loaded.
    connect(&doc, &EditedDocument::objectListChanged, this,
            [this](const std::vector<std::string>& items) { hosts_->SetObjectItems(items); });
    connect(&doc, &EditedDocument::currentObjectChanged, this, [this](int index) { hosts_->SetObjectIndex(index); });
    connect(&doc, &EditedDocument::viewReset, this, [this](const ViewReset& v) { hosts_->ResetView(v); });
    // The commands that follow the document's state.
    MainHosts& h = *hosts_;
    connect(&doc, &EditedDocument::commandEnabled, this, [&h](EditingCommand c, bool on) { h.SetEnabled(c, on); });
    connect(&doc, &EditedDocument::kindCommandEnabled, this,
            [&h](EditingCommand c, Kind k, bool on) { h.SetKindEnabled(c, k, on); });
    connect(&doc, &EditedDocument::commandDown, this, [&h](EditingCommand c, bool down) { h.SetDown(c, down); });
    connect(&doc, &EditedDocument::toolLeft, this, [&h](EditingCommand tool, EditingCommand instead) {
        if (!h.IsDown(tool)) return;
        h.SetDown(tool, false);
        h.SetDown(instead, true);
    });
    connect(&doc, &EditedDocument::transformsEnabled, this, [&h](bool on) { h.EnableTransForm(on); });
    connect(&doc, &EditedDocument::drawToolsRefresh, this, [&h] { h.RefreshDrawTools(); });
    connect(&doc, &EditedDocument::modifiedChanged, this,
            [this](bool on) { hosts_->SetEnabled(EditingCommand::Save, on); });
    connect(&doc, &EditedDocument::undoStateChanged, this, [this](bool undo, bool redo) {
        hosts_->SetEnabled(EditingCommand::Undo, undo);
        hosts_->SetEnabled(EditingCommand::Redo, redo);
    });
}

}  // namespace pelmar
