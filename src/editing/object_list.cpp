#include "editing/object_list.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "editing/clipboard.h"
#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "editing/kind_access.h"
#include "editing/undo_store.h"
#include "model/coord_limit.h"

namespace pelmar {

namespace {

constexpr std::array<const char*, KindCount> kComboWords{
    "Point", "Line", "Circle", "Triangle", "Tetragon", "XOY", "Orb",
    "Cylinder", "Cone", "Pyramid3", "Pyramid4", "Prism3", "Prism4", "XYZ",
};

int RoundedPercent(int size, int zoom) {
    return SaturatedRound<int>(static_cast<double>(size) * zoom / 100.0);
}

}  // namespace

std::string ComboText(Kind k, int index) { return std::string(kComboWords[Slot(k)]) + " " + std::to_string(index); }

int ListPosition(const DProj& doc, Kind k, int index) {
    int p = 0;
    for (const KindInfo& info : KindTable) {
        if (info.kind == k) break;
        p += doc.Obj.count(info.kind);
    }
    return p + index - 1;
}

int ZoomItem(int zoom) {
    static constexpr int kZooms[] = {10, 20, 25, 50, 75, 100, 200, 300, 400, 500};
    for (int i = 0; i < 10; ++i)
        if (kZooms[i] == zoom) return i;
    return -1;
}

ViewReset ViewResetFor(const DProj& doc, bool undoLoading) {
    ViewReset v;
    v.raster = doc.Im.PicMode == 0;
    v.pictureWidth = doc.Im.Width;
    v.pictureHeight = doc.Im.Height;
    v.boxWidth = RoundedPercent(doc.Im.Width, doc.Zoom);
    v.boxHeight = RoundedPercent(doc.Im.Height, doc.Zoom);
    v.zoomItem = ZoomItem(doc.Zoom);
    v.scrollHorz = doc.ImScrollHorz;
    v.scrollVert = doc.ImScrollVert;
    v.background = doc.Im.Background;
    v.clearMetafile = !v.raster && !undoLoading;
    return v;
}

void UpdateCountCommands(EditingState& st) {
    const DSubProj& o = st.Proj->Obj;
    for (const KindInfo& info : KindTable)
        emit st.Document.kindCommandEnabled(EditingCommand::NewObject, info.kind, o.count(info.kind) < info.capacity);
    emit st.Document.commandEnabled(EditingCommand::Delete, o.ObjTotal >= 2);
}

void UpdateObjectList(EditingState& st, bool resetDocument, bool closeDialogs) {
    DSubProj& o = st.Proj->Obj;
    std::vector<std::string> items;
    for (auto& e : st.ObjList) e = ObjListEntry{};
    int n = 0;
    for (const KindInfo& info : KindTable) {
        const int count = o.count(info.kind);
        for (int i = 1; i <= count; ++i) {
            items.push_back(ComboText(info.kind, i));
            ObjListEntry& e = st.ObjList[static_cast<std::size_t>(n++)];
            std::memcpy(e.code, info.code, 2);
            e.index = static_cast<std::uint8_t>(i);
        }
        st.Work->index(info.kind) = count > 0 ? 1 : 0;
    }
    o.ObjTotal = n;
    emit st.Document.objectListChanged(items);

    if (closeDialogs) {
        // Every working copy's index is 1 now, and the stores may belong to
        // another document than the copies: a closing dialog that still
        // holds a number being typed must not commit it, or its old copy
        // would be stored over object 1 of its kind.  The number is dropped.
        const std::uint8_t apply = std::exchange(st.ApplyEnabled, std::uint8_t{0});
        for (const KindInfo& info : KindTable)
            if (DialogIsOpen(st, info.kind)) st.Dialogs.Close(info.kind);
        st.ApplyEnabled = apply;
    }
    st.FormTrTab = st.FormKvTab = st.FormXYTab = st.FormXZTab = 1;
    if (!resetDocument) return;

    if (!st.UndoLoading) {
        DeleteUndoFiles(st);
        st.UndoPos = 1;
        st.UndoEnabled = st.RedoEnabled = false;
        emit st.Document.commandEnabled(EditingCommand::Undo, false);
        emit st.Document.commandEnabled(EditingCommand::Redo, false);
    }
    emit st.Document.transformsEnabled(true);
    SetChanged(st, st.Untitled);
    for (EditingCommand c : {EditingCommand::SaveAs, EditingCommand::Close, EditingCommand::Copy, EditingCommand::OptProj, EditingCommand::WinObj})
        emit st.Document.commandEnabled(c, true);
    // What an earlier copy left in the clipboard file, of this run or of an
    // earlier one, can be pasted into the document.
    std::error_code ec;
    emit st.Document.commandEnabled(EditingCommand::Paste, std::filesystem::is_regular_file(ClipboardFileName(st), ec));
    emit st.Document.commandEnabled(EditingCommand::Export, false);
    emit st.Document.commandEnabled(EditingCommand::Print, false);
    emit st.Document.commandEnabled(EditingCommand::Anim, st.Proj->Im.PicMode == 0);
    UpdateCountCommands(st);

    for (EditingCommand c : {EditingCommand::DrawLine, EditingCommand::DrawTools, EditingCommand::SelectTool}) emit st.Document.commandEnabled(c, true);
    emit st.Document.commandEnabled(EditingCommand::EditTool, false);
    emit st.Document.commandDown(EditingCommand::DrawLine, !st.UndoLoading);
    emit st.Document.commandEnabled(EditingCommand::SelectAll, true);
    emit st.Document.commandEnabled(EditingCommand::SelectNone, false);
    emit st.Document.commandEnabled(EditingCommand::SelectCurrent, true);
    emit st.Document.commandEnabled(EditingCommand::DeselectCurrent, true);
    emit st.Document.viewReset(ViewResetFor(*st.Proj, st.UndoLoading));
}

}  // namespace pelmar
