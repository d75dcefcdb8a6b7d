// The default-set buttons of the object dialogs: Save writes the current
// object alone into the kind's default-set file; Load reads it back over the
// current object as one commit.  Also the registry's wiring of the figure
// dialogs, their default sets among it.
#pragma once

#include <QPushButton>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>

#include "dialogs/ui/dialog_registry.h"
#include "files/document.h"
#include "files/word_table.h"

namespace pelmar {

// The store of records of type R.
template <class R>
auto& StoreOf(DSubProj& s) {
    if constexpr (std::is_same_v<R, DPoint>) return s.Po;
    else if constexpr (std::is_same_v<R, DLine>) return s.Li;
    else if constexpr (std::is_same_v<R, DCircle>) return s.Ci;
    else if constexpr (std::is_same_v<R, DTri>) return s.Tr;
    else if constexpr (std::is_same_v<R, DKv>) return s.Kv;
    else if constexpr (std::is_same_v<R, DXOY>) return s.Xy;
    else if constexpr (std::is_same_v<R, DSf>) return s.Sf;
    else if constexpr (std::is_same_v<R, DZi>) return s.Zi;
    else if constexpr (std::is_same_v<R, DKo>) return s.Ko;
    else if constexpr (std::is_same_v<R, DPi3>) return s.I3;
    else if constexpr (std::is_same_v<R, DPi4>) return s.I4;
    else if constexpr (std::is_same_v<R, DPr3>) return s.R3;
    else if constexpr (std::is_same_v<R, DPr4>) return s.R4;
    else return s.Xz;
}

// Save: a copy of the document holding only the current object (creation
// number 0, links of its defining points cleared by `unlink`).  False when the
// current entry is no object of the kind or the file could not be written
// (the writer reports that).
template <class R>
bool SaveDefaultSet(DialogRegistry& reg, Kind k, const std::function<void(R&)>& unlink) {
    DialogSession& s = reg.session();
    const ObjListEntry e = s.entry();
    auto& src = StoreOf<R>(s.proj().Obj);
    if (std::string(e.code, 2) != InfoOf(k).code || e.index < 1 || e.index > src.count()) return false;
    auto copy = std::make_unique<DProj>(s.proj());
    ForEachStore(copy->Obj, [](auto& store) { store.clear(); });
    R rec = src[e.index];
    rec.Number = 0;
    if (unlink) unlink(rec);
    StoreOf<R>(copy->Obj).add(rec);
    DocumentContext ctx;
    ctx.ShowMessage = [&s](const std::string& m) { s.showMessage(m); };
    // A failed save is said with the file and the reason, in the
    // interface's language.
    ctx.Words = &s.words();
    if (const std::string& cannot = s.words().WordLine(WordNo::CannotSaveFile); !cannot.empty()) ctx.CannotSaveText = cannot;
    // The first set saved on this machine makes the folder of the sets.
    const std::string name = s.defaultSetName(k);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(name).parent_path(), ec);
    return WriteDocument(name, *copy, WriteModeDefaultSet, ctx);
}

// Load: the user's saved set, else the shipped one.  Only a file that reads
// and holds an object of the kind replaces the
// working copy (brought up to date by `update` with role 0), committed once;
// else the reader's message and nothing changes.
template <class R>
bool LoadDefaultSet(DialogRegistry& reg, Kind k, R& working, const std::function<void(R&)>& update) {
    DialogSession& s = reg.session();
    auto snapshot = NewDocument();
    std::uint8_t version = 0;
    std::uint8_t result = s.readDefaultSet(k, *snapshot, version);
    if (result == ReadOk && StoreOf<R>(snapshot->Obj).count() < 1) result = ReadNotDocument;
    if (result != ReadOk) {
        s.showMessage(s.readFailureText(result));
        return false;
    }
    R rec = StoreOf<R>(snapshot->Obj)[1];
    if (update) update(rec);
    working = rec;
    reg.commitTarget().ApplyObject(true);
    reg.commitTarget().RepaintProject();
    return true;
}

// Save and Load on the dialog's buttons; `rec` is the kind's working copy.
template <class R>
void ConnectDefaultSet(DialogRegistry& reg, Kind k, QPushButton* save, QPushButton* load, std::function<R&()> rec,
                       std::function<void(R&)> unlink, std::function<void(R&)> update) {
    QObject::connect(save, &QPushButton::clicked, save, [&reg, k, unlink] { SaveDefaultSet<R>(reg, k, unlink); });
    QObject::connect(load, &QPushButton::clicked, load,
                     [&reg, k, rec, update] { LoadDefaultSet<R>(reg, k, rec(), update); });
}

// Registers the dialog D of figure kind `k` editing the working copy `copy`:
// the page last entered, the fill of `brushKind`, the re-marked selection, the
// default sets on the `save` and `load` buttons (the sides saved unlinked, the
// loaded figure brought up to date by `update`), the fill context of the
// moment from `context`, and the part buttons opening a part by `openPart`.
template <class D, class R>
void RegisterFigureDialog(DialogRegistry& reg, Kind k, std::uint8_t brushKind, R WorkingCopies::*copy,
                          QPushButton* D::*save, QPushButton* D::*load, void (*update)(R&),
                          typename D::FillContext (*context)(DialogRegistry&),
                          void (*openPart)(DialogRegistry&, WorkingCopies&, Kind, int)) {
    reg.setCreator(k, [=](DialogRegistry& r) -> ObjectDialog* {
        DialogSession& s = r.session();
        auto* d = new D(s.copies().*copy, r.document(), r.commitTarget());
        d->context = [&r, context] { return context(r); };
        d->showPage(s.rememberedPage(k));
        QObject::connect(d, &D::pageEntered, d, [&s, k](int page) { s.rememberPage(k, page); });
        QObject::connect(d, &D::brushRequested, d, [&s, d, brushKind] { s.runFill(brushKind, d); });
        QObject::connect(d, &D::reselect, d, [&s] { s.reselect(); });
        QObject::connect(d, &D::partRequested, d,
                         [&r, openPart](Kind kind, int role) { openPart(r, r.session().copies(), kind, role); });
        ConnectDefaultSet<R>(
            r, k, d->*save, d->*load, [&s, copy]() -> R& { return s.copies().*copy; },
            [](R& f) {
                for (auto& side : f.S) side.P1.Link = side.P2.Link = DLink{};
            },
            update);
        return d;
    });
}

}  // namespace pelmar
