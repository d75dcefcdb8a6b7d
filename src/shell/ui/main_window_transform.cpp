#include "shell/ui/main_window_transform.h"

#include <QCheckBox>
#include <QScreen>
#include <QTabWidget>
#include <algorithm>

#include "editing/commit.h"
#include "editing/editing_state.h"
#include "editing/kind_access.h"
#include "files/document.h"
#include "shell/ui/main_window.h"
#include "transform/trans_editing.h"
#include "transform/ui/anim_window.h"
#include "transform/ui/trans_window.h"

namespace pelmar {

MainTransform::MainTransform(Form1& w, RedrawHost redraw)
    : w_(w), redraw_(redraw), host_(std::make_unique<EditingTransHost>(w.editing())), form_(new TFormTrans(&w)) {
    form_->setDocument(&w.document(), host_.get());
    form_->EnableTransForm(false);  // until a document is set up
    wordsToTrans();
}

MainTransform::~MainTransform() = default;

void MainTransform::show() {
    if (!form_->isVisible()) form_->show();
}

void MainTransform::wordsToTrans() {
    const WordTable& words = w_.shell().words;
    form_->WordsToTrans([&words](int line) { return words.WordLine(line); });
}

void MainTransform::enable(bool on) { form_->EnableTransForm(on); }

bool MainTransform::setEnabled(EditingCommand c, bool on) {
    if (c == EditingCommand::TransSelected) form_->setSelectionAvailable(on);
    else if (c == EditingCommand::TransCurrent) form_->setCurrentAvailable(on);
    else return false;
    return true;
}

std::optional<bool> MainTransform::isDown(EditingCommand c) const {
    if (c == EditingCommand::TransSelected) return form_->CheckBoxSell->isChecked();
    if (c == EditingCommand::TransCurrent) return form_->CheckBoxCurr->isChecked();
    return std::nullopt;
}

bool MainTransform::setDown(EditingCommand c, bool down) {
    if (c == EditingCommand::TransSelected) form_->CheckBoxSell->setChecked(down);
    else if (c == EditingCommand::TransCurrent) form_->CheckBoxCurr->setChecked(down);
    else return false;
    return true;
}

void MainTransform::currentChanged() {
    const EditingState& st = w_.editing();
    Kind k{};
    if (!CurrentKind(st, k)) return;
    const std::size_t i = CurrentEntryIndex(st);
    const std::int32_t number = VisitKind(k, [&](auto kc) -> std::int32_t {
        const auto& store = KindT<decltype(kc)::value>::store(st.Proj->Obj);
        return i >= 1 && i <= store.count() ? store[i].Number : 0;
    });
    form_->setCurrentAvailable(number <= 1);
}

void MainTransform::place(int left, int top) { form_->move(left, top); }

void MainTransform::focus() {
    show();
    form_->raise();
    form_->activateWindow();
    form_->PageControl1->setFocus();
}

void MainTransform::documentOpened() {
    const DProj& d = w_.document();
    // A new document stores no place, and an undo step keeps the window where the user has it.
    if (w_.editing().UndoLoading || (d.TransLeft == 0 && d.TransTop == 0)) return;
    QPoint at(d.TransLeft, d.TransTop);
    // A document from a larger screen still shows the window on this one.
    if (const QScreen* screen = w_.screen()) {
        const QRect area = screen->availableGeometry();
        const QSize size = form_->frameGeometry().size();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
    }
    form_->move(at);
}

void MainTransform::storeWindows(LiveWindows& w) const {
    w.TransLeft = form_->x();
    w.TransTop = form_->y();
    w.TransRolledUp = form_->rolledUp();
}

void MainTransform::runAnimation() {
    EditingState& st = w_.editing();
    ShellState& shell = w_.shell();
    AnimWindowContext c;
    c.doc = &w_.document();
    c.drawing = &w_.drawing();
    c.redraw = &redraw_;
    // The animation goes beside the document; an untitled one's into the
    // user's documents folder.
    c.docPath = StartFolder(shell, st.Untitled ? std::string() : shell.settings.DocDir) + shell.DocName;
    c.commit = [&st] { ApplyObject(st, true); };
    c.message = [this](const std::string& text) {
        if (w_.application().showMessage) w_.application().showMessage(text);
    };
    c.words = [&shell](int line) { return shell.words.WordLine(line); };
    c.table = [&shell]() -> const WordTable& { return shell.words; };
    {
        // The window's settings are the document's own: the session, with
        // the commit at its close, is one undo step when it changed the file.
        const DocumentChange session(st);
        RunAnimationWindow(&w_, c);
    }
    w_.redraw(false);
}

}  // namespace pelmar
