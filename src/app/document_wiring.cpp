// A mouse event or a typed value runs one of the document's commands; what
// the command changed reaches each window through these connections.
#include "app/document_wiring.h"

#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <array>
#include <optional>

#include "editing/edited_document.h"
#include "editing/ui/picture_window.h"
#include "shell/ui/dialog_session.h"
#include "shell/ui/main_window.h"
#include "shell/ui/main_window_transform.h"

namespace pelmar {

namespace {

// The main command a command of the editing core stands for.
std::optional<MainCommand> MainCommandOf(EditingCommand c, Kind k) {
    using M = MainCommand;
    // Save .. Delete, in the order of EditingCommand.
    constexpr std::array<M, 13> plain{M::Save, M::SaveAs, M::Close, M::Export, M::Print, M::Copy, M::Paste,
                                      M::OptProj, M::WinObj, M::Anim, M::Undo, M::Redo, M::Delete};
    static_assert(static_cast<std::size_t>(EditingCommand::NewObject) == plain.size());
    if (c < EditingCommand::NewObject) return plain[static_cast<std::size_t>(c)];
    if (c == EditingCommand::NewObject) return NewObjectCommand(k);
    if (c == EditingCommand::BackTo) return BackToCommand(k);
    return std::nullopt;
}

bool PictureCommand(EditingCommand c) { return c >= EditingCommand::DrawLine && c <= EditingCommand::CopyPicture; }

}  // namespace

void WireDocument(Form1& w) {
    EditedDocument& doc = w.application().edited();
    PictureWindow& pic = *w.picture();
    MainTransform& trans = w.transform();
    // The picture: one redraw per turn of the event loop; a drag in progress keeps the
    // graphs from pumping events.
    QObject::connect(&doc, &EditedDocument::redrawNeeded, &w, [&w] { w.drawPicture(false); });
    QObject::connect(&doc, &EditedDocument::dragChanged, &w, [&w](bool on) { w.drawing().NoRedraw = on; });
    // The object dialogs show the working copy of the kind that changed.
    QObject::connect(&doc, &EditedDocument::objectChanged, &w,
                     [&w](Kind k) { w.dialogSession().registry().refill(k); });
    // The object combo and the picture view after a document was loaded.
    QObject::connect(&doc, &EditedDocument::objectListChanged, &w, [&w](const std::vector<std::string>& items) {
        w.objectCombo()->clear();
        for (const std::string& s : items) w.objectCombo()->addItem(QString::fromStdString(s));
    });
    QObject::connect(&doc, &EditedDocument::currentObjectChanged, &w, [&w, &trans](int index) {
        w.objectCombo()->setCurrentIndex(index);
        trans.currentChanged();
    });
    QObject::connect(&doc, &EditedDocument::pictureWindowRestored, &w,
                     [&w](int state, const QRect& normal) { w.restorePictureWindow(state, normal); });
    QObject::connect(&doc, &EditedDocument::viewReset, &w, [&w, &pic](const ViewReset& v) {
        if (v.zoomItem >= 0) w.zoomCombo()->setCurrentIndex(v.zoomItem);
        pic.showPicture(QImage(), v.boxWidth, v.boxHeight, 0, 0);
        pic.FitScrollBox();
        pic.scrollBox()->horizontalScrollBar()->setValue(v.scrollHorz);
        pic.scrollBox()->verticalScrollBar()->setValue(v.scrollVert);
    });
    // The commands that follow the document's state: the transformations
    // window's check boxes, the picture window's tools, the main window's
    // menu items and tool buttons.
    const auto enable = [&w, &pic, &trans](EditingCommand c, bool on) {
        if (trans.setEnabled(c, on)) return;
        if (PictureCommand(c)) pic.setCommandEnabled(c, on);
        else if (std::optional<MainCommand> m = MainCommandOf(c, Kind::po)) w.setCommandEnabled(*m, on);
    };
    const auto setDown = [&pic, &trans](EditingCommand c, bool down) {
        if (!trans.setDown(c, down) && PictureCommand(c)) pic.setDown(c, down);
    };
    QObject::connect(&doc, &EditedDocument::commandEnabled, &w, enable);
    QObject::connect(&doc, &EditedDocument::kindCommandEnabled, &w, [&w](EditingCommand c, Kind k, bool on) {
        if (std::optional<MainCommand> m = MainCommandOf(c, k)) w.setCommandEnabled(*m, on);
    });
    QObject::connect(&doc, &EditedDocument::commandDown, &w, setDown);
    QObject::connect(&doc, &EditedDocument::toolLeft, &w,
                     [&pic, &trans, setDown](EditingCommand tool, EditingCommand instead) {
                         const std::optional<bool> inTrans = trans.isDown(tool);
                         if (!(inTrans ? *inTrans : PictureCommand(tool) && pic.isDown(tool))) return;
                         setDown(tool, false);
                         setDown(instead, true);
                     });
    QObject::connect(&doc, &EditedDocument::transformsEnabled, &w, [&trans](bool on) { trans.enable(on); });
    QObject::connect(&doc, &EditedDocument::drawToolsRefresh, &w,
                     [&pic] { pic.EnableDrawTools(pic.isDown(EditingCommand::DrawTools)); });
    QObject::connect(&doc, &EditedDocument::modifiedChanged, &w,
                     [enable](bool on) { enable(EditingCommand::Save, on); });
    QObject::connect(&doc, &EditedDocument::undoStateChanged, &w, [enable](bool undo, bool redo) {
        enable(EditingCommand::Undo, undo);
        enable(EditingCommand::Redo, redo);
    });
}

}  // namespace pelmar
