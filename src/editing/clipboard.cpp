#include "editing/clipboard.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

#include "model/defining_points.h"
#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "editing/kind_access.h"
#include "editing/new_objects.h"
#include "editing/reopen.h"
#include "editing/selection.h"
#include "files/document.h"
#include "model/links.h"

namespace pelmar {

namespace {

// No creation number, no links of its defining points, no selection marks.
template <class R>
void MakeIndependent(R& r, TColor moveColor) {
    Mark(r, moveColor, false);
    r.Number = 0;
    ForEachDefiningPoint(r, [](DPoint& p) { ClearPointLink(p); });
}

}  // namespace

std::string ClipboardFileName(const EditingState& st) { return st.ProgDir + "Temp/ClipBoard.pel"; }

void CopyObjects(EditingState& st) {
    st.Document.ensureStored();
    Kind cur{};
    const bool hasCur = CurrentKind(st, cur);
    CopyQuestion q;
    q.childEnabled = !(hasCur && DialogIsOpen(st, cur));
    q.selectedEnabled = !(st.SelCount == 0 || (st.SelCount == 1 && CurrentSelectedKind(st) != 0));
    const QuestionAnswer a = st.Questions->AskCopy(q);
    if (!a.done || a.answer < 1 || a.answer > 3) return;
    if ((a.answer == 2 && !q.childEnabled) || (a.answer == 3 && !q.selectedEnabled)) return;

    auto clip = std::make_unique<DProj>(*st.Proj);
    ForEachStore(clip->Obj, [](auto& store) { store.clear(); });
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        auto& from = KindT<K>::store(st.Proj->Obj);
        auto& to = KindT<K>::store(clip->Obj);
        if (a.answer == 1) {
            const std::size_t i = st.Work->index(K);
            if (hasCur && cur == K && i >= 1 && i <= from.count()) to.add(from[i]);
        } else if (a.answer == 2) {
            if (DialogIsOpen(st, K)) to.add(KindT<K>::work(*st.Work));
        } else {
            for (std::size_t i = 1; i <= from.count(); ++i)
                if (IsSelected(st, K, static_cast<int>(i))) to.add(from[i]);
        }
    });
    UpdateSelectionUI(st);
    ForEachKind([&](auto kc) {
        auto& store = KindT<decltype(kc)::value>::store(clip->Obj);
        for (std::size_t i = 1; i <= store.count(); ++i) MakeIndependent(store[i], st.MoveColor);
    });
    clip->Obj.ObjTotal = 0;
    ForEachStore(clip->Obj, [&](const auto& store) { clip->Obj.ObjTotal += store.count(); });

    std::error_code ec;
    std::filesystem::create_directories(st.ProgDir + "Temp", ec);
    DocumentContext ctx;
    ctx.Words = st.Words;
    ctx.ShowMessage = [&st](const std::string& text) { st.Messages->ShowMessage(text); };
    ctx.CannotSaveText = Word(st, WordNo::CannotSaveFile);
    if (!WriteDocument(ClipboardFileName(st), *clip, WriteModeClipboard, ctx)) {
        // The message is shown; an older clipboard file is not what the user
        // copied last: it goes, and Paste stays off until a copy succeeds.
        std::filesystem::remove(ClipboardFileName(st), ec);
        emit st.Document.commandEnabled(EditingCommand::Paste, false);
        return;
    }
    emit st.Document.commandEnabled(EditingCommand::Paste, true);
}

void PasteObjects(EditingState& st) {
    auto clip = NewDocument();
    std::uint8_t version = 0;
    // Reading filled objects to paste makes the open document's fill picture stale.
    DocumentContext ctx;
    ctx.Proj = st.Proj;
    // A clipboard file that cannot be read is said: Paste would do nothing.
    if (const std::uint8_t r = ReadDocument(ClipboardFileName(st), *clip, version, ReadModePaste, ctx); r != ReadOk) {
        st.Messages->ShowMessage(ReadFailureText(st, r, ClipboardFileName(st)));
        return;
    }
    // How many objects of a kind find room in the document.
    const auto pasted = [&](Kind k) {
        return std::min<int>(clip->Obj.count(k), std::max(InfoOf(k).capacity - st.Proj->Obj.count(k), 0));
    };
    bool any = false;
    ForEachKind([&](auto kc) { any = any || pasted(decltype(kc)::value) > 0; });
    if (!any) return;
    // One paste is one undo step, however many objects it adds.
    st.Document.beforeChange();
    const EditedDocument::UndoPause oneStep(st);
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        auto& from = KindT<K>::store(clip->Obj);
        const int n = pasted(K);
        for (int j = 1; j <= n; ++j) {
            auto rec = from[static_cast<std::size_t>(j)];
            // A clipboard file written elsewhere may hold links: pasted objects stand alone.
            MakeIndependent(rec, st.MoveColor);
            NewObject(st, true, true, true, std::move(rec));
        }
    });
    emit st.Document.drawToolsRefresh();
}

}  // namespace pelmar
