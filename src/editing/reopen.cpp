#include "editing/reopen.h"

#include "editing/dialog_focus.h"
#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "editing/kind_access.h"
#include "editing/object_list.h"
#include "editing/restore.h"
#include "editing/selection.h"
#include "files/document.h"
#include "files/save_failure.h"

namespace pelmar {

std::uint8_t OpenDocumentState(EditingState& st, const std::string& name) {
    st.ProjReady = false;
    DocumentContext ctx;
    ctx.Words = st.Words;
    ctx.Proj = st.Proj;
    ctx.Work = st.Work;
    ctx.BackPng = st.BackPng;
    // What the reader has to tell (a picture size held to the limit).
    ctx.ShowMessage = [&st](const std::string& text) { st.Messages->ShowMessage(text); };
    std::uint8_t version = 0;
    const std::uint8_t r = ReadDocument(name, *st.Proj, version, ReadModeOpen, ctx);
    if (r != ReadOk) {
        st.ProjReady = true;
        return r;
    }
    const std::uint8_t fillValid = st.Proj->FillValid;

    // The picture window first, so that the view reset below scrolls the
    // picture in the window as it will be shown.
    const DProj& d = *st.Proj;
    const QRect normal = d.ImWinWidth > 0 && d.ImWinHeight > 0
                             ? QRect(d.ImWinLeft, d.ImWinTop, d.ImWinWidth, d.ImWinHeight)
                             : QRect();
    emit st.Document.pictureWindowRestored(d.ImWinState, normal);

    UpdateObjectList(st, true, !st.UndoLoading);
    SetCurObjIndex(st, st.Proj->CurObjNo);
    st.Dialogs.DisableToKindButtons();
    st.ApplyEnabled = 0;

    const int activeKind = st.Proj->ActiveKind;
    Kind active{};
    const bool hasActive = KindFromNumber(activeKind, active);
    for (const KindInfo& info : KindTable)
        if (!(hasActive && info.kind == active) && DialogIsOpen(st, info.kind)) st.Dialogs.Close(info.kind);
    if (hasActive && !DialogIsOpen(st, active)) st.Dialogs.Create(active);
    Kind top;
    if (hasActive && CurrentKind(st, top) && top == active) ClearRoleBytes(st);
    RestoreCurrentObject(st, activeKind);
    st.ApplyEnabled = 1;
    RestoreFocus(st, st.Proj->FocusIndex);
    st.Proj->FillValid = fillValid;

    SelectNone(st);
    st.Document.requestRedraw();
    st.ProjReady = true;
    return ReadOk;
}

std::string ReadFailureText(const EditingState& st, std::uint8_t result, const std::string& file) {
    const std::string br = "\n\r";
    switch (result) {
        case ReadNotDocument: return Word(st, WordNo::NotADocument);
        case ReadBadVersion: return Word(st, WordNo::LaterVersion) + br + Word(st, WordNo::LaterVersion + 1);
        case ReadTooOld: return Word(st, WordNo::EarlierVersion) + br + Word(st, WordNo::EarlierVersion + 1) + br + Word(st, WordNo::EarlierVersion + 2) + br + Word(st, WordNo::EarlierVersion + 3);
        // The file and why, from the reader that refused it.
        case ReadCannotOpen: return OpenFailedText(Word(st, WordNo::CannotOpenFile), LastCannotOpenReason(), st.Words);
        // A damaged file: cut, or not of the format after its first line.
        default:
            if (file.empty()) return Word(st, WordNo::CannotOpenFile);
            return OpenFailedText(Word(st, WordNo::CannotOpenFile), file + ": " + std::string(DamagedFileReason), st.Words);
    }
}

}  // namespace pelmar
