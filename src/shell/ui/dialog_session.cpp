#include "shell/ui/dialog_session.h"

#include "dialogs/ui/fill_dialog.h"
#include "dialogs/ui/std_dialogs.h"
#include "editing/commit.h"
#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "editing/nesting.h"
#include "editing/reopen.h"
#include "editing/selection.h"
#include "files/word_table.h"

namespace pelmar {

namespace {
std::uint8_t* TabOf(EditingState& st, Kind k) {
    switch (k) {
        case Kind::tr: return &st.FormTrTab;
        case Kind::kv: return &st.FormKvTab;
        case Kind::xy: return &st.FormXYTab;
        case Kind::xz: return &st.FormXZTab;
        default: return nullptr;
    }
}
}  // namespace

EditingDialogSession::EditingDialogSession(EditingState& st, Setup setup)
    : st_(st),
      setup_(std::move(setup)),
      place_([&st]() -> DProj& { return *st.Proj; }),
      ownColors_(std::make_unique<QtColorChooser>()),
      colors_(ownColors_.get()),
      reg_(*this, place_, *this) {
    RegisterPointDialog(reg_);
    RegisterLineDialog(reg_);
    RegisterEllipseDialog(reg_);
    RegisterTriangleDialog(reg_);
    RegisterTetragonDialog(reg_);
    RegisterPyramidDialog(reg_);
    RegisterPrismDialog(reg_);
    RegisterXOYDialog(reg_);
    RegisterXYZDialog(reg_);
    RegisterSphereDialog(reg_);
    RegisterCylinderDialog(reg_);
    RegisterConeDialog(reg_);
}

EditingDialogSession::~EditingDialogSession() {
    if (st_.DialogWindows == &reg_) st_.DialogWindows = nullptr;
}

WorkingCopies& EditingDialogSession::copies() { return st_.Copies; }

DProj& EditingDialogSession::proj() { return *st_.Proj; }

ObjListEntry EditingDialogSession::entry() const {
    if (st_.CurObjIndex < 0 || st_.CurObjIndex >= ObjListSize) return {};
    return st_.ObjList[static_cast<std::size_t>(st_.CurObjIndex)];
}

void EditingDialogSession::setBackTo(Kind parent, bool enabled) {
    emit st_.Document.kindCommandEnabled(EditingCommand::BackTo, parent, enabled);
}

std::string EditingDialogSession::pathCaption(Kind k) const { return PathCaption(st_, k); }

std::string EditingDialogSession::defaultSetName(Kind k) const {
    return st_.ProgDir + "DefaultSet/De" + InfoOf(k).fileWord + ".set";
}

std::uint8_t EditingDialogSession::readDefaultSet(Kind k, DProj& doc, std::uint8_t& version) const {
    return st_.Defaults.readDocument(defaultSetName(k), doc, version, 2);
}

void EditingDialogSession::showMessage(const std::string& text) { st_.Messages->ShowMessage(text); }

std::string EditingDialogSession::readFailureText(std::uint8_t result) const { return ReadFailureText(st_, result); }

void EditingDialogSession::runFill(std::uint8_t brushKind, QWidget* parent) {
    RunFillDialog(brushKind, st_.Copies, st_.Proj->Im.TwoColors == 1, *this, *colors_, *this, words(),
                  parent ? parent : setup_.parent ? setup_.parent() : nullptr);
}

const WordTable& EditingDialogSession::words() const {
    return setup_.words ? setup_.words() : BuiltInWords();
}

void EditingDialogSession::dialogOpened(Kind k) {
    st_.DialogOpen[static_cast<std::size_t>(k) - 1] = true;
    if (setup_.opened) setup_.opened();
}

void EditingDialogSession::dialogClosed(Kind k) { DialogClosed(st_, k); }

void EditingDialogSession::reselect() { SelectAt(st_, 0, 0, 0, true); }

int EditingDialogSession::rememberedPage(Kind k) const {
    const std::uint8_t* tab = TabOf(const_cast<EditingState&>(st_), k);
    return tab && *tab == 2 ? 2 : 1;
}

void EditingDialogSession::rememberPage(Kind k, int page) {
    if (std::uint8_t* tab = TabOf(st_, k)) *tab = static_cast<std::uint8_t>(page == 2 ? 2 : 1);
}

SurfaceDialogContext EditingDialogSession::surfaceDialogs() {
    return {st_.SechPlane, *colors_, setup_.picture ? setup_.picture() : QImage(), st_.MoveColor};
}

void EditingDialogSession::tryCommit(bool writeBack) { TrialCommit(st_, writeBack); }

KindMask EditingDialogSession::trialKinds() const { return TrialKinds(st_); }

void EditingDialogSession::ApplyObject(bool writeBack) { st_.Document.commit(writeBack); }

void EditingDialogSession::ApplyObjectInStep(bool writeBack, std::uint64_t& step) {
    st_.Document.commitInStep(writeBack, step);
}

std::uint64_t EditingDialogSession::BeforeDocumentChange() { return st_.Document.beforeChange(); }

void EditingDialogSession::RepaintProject() { st_.Document.requestRedraw(); }

bool EditingDialogSession::NoRedraw() const { return st_.Document.dragging(); }

}  // namespace pelmar
