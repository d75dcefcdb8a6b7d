#include "editing/undo_store.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "editing/reopen.h"
#include "files/companion.h"
#include "files/document.h"
#include "files/save_failure.h"
#include "files/text_lines.h"

namespace pelmar {

namespace {

namespace fs = std::filesystem;

bool FileExists(const std::string& name) {
    std::error_code ec;
    return fs::is_regular_file(name, ec);
}

void RemoveFile(const std::string& name) {
    std::error_code ec;
    fs::remove(name, ec);
}

// The snapshot and its two companions.
void RemoveStep(const std::string& folder, int step) {
    const std::string name = UndoFileName(folder, step);
    RemoveFile(name);
    RemoveFile(CompanionFileName(name, ".cur"));
    RemoveFile(CompanionFileName(name, ".grd.png"));
}

// Why Undo does not work, said in place of the save's own message: the
// snapshot is the program's scratch file, not one the user asked to save.
// `change`: the snapshot before a change, which is made all the same.
std::string UndoFailText(const EditingState& st, const std::string& name, const std::string& failure, bool change) {
    // No line of the word table says it.
    return std::string(change ? Said(st.Words, "Отмена не будет работать для этого изменения: не могу записать файл отмены ",
                                     "Undo will not work for this change: cannot write the undo file ")
                              : Said(st.Words, "Отмена не работает: не могу записать файл отмены ",
                                     "Undo does not work: cannot write the undo file ")) +
           name + ": " + SaveReasonText(failure, st.Words) + "." +
           std::string(change ? Said(st.Words, "\nСамо изменение сделано.", "\nThe change itself is made.") : "");
}

// Writes the snapshot of `step`; why it failed into `failure`.
bool WriteSnapshot(EditingState& st, int step, std::string& failure) {
    st.Document.ensureStored();  // the curves the redraw traces go with the snapshot
    std::error_code ec;
    fs::create_directories(st.UndoFolder, ec);
    const std::string name = UndoFileName(st.UndoFolder, step);
    // Companions of an older snapshot of the same number must not be read
    // with this one: the writer leaves a curves file alone when it has none.
    RemoveFile(CompanionFileName(name, ".cur"));
    RemoveFile(CompanionFileName(name, ".grd.png"));
    DocumentContext ctx;
    ctx.Words = st.Words;
    ctx.Proj = st.Proj;
    ctx.BackPng = st.BackPng;
    ctx.Windows = [&st] { return CurrentWindows(st); };
    ctx.Failure = &failure;
    st.UndoBusy = true;
    const bool ok = WriteDocument(name, *st.Proj, WriteModeUndo, ctx);
    st.UndoBusy = false;
    if (ok) {
        st.UndoHigh = std::max(st.UndoHigh, step);
        st.UndoFailShown = false;
    }
    return ok;
}

void SetUndoCommands(EditingState& st, bool undo, bool redo) {
    st.UndoEnabled = undo;
    st.RedoEnabled = redo;
    emit st.Document.undoStateChanged(undo, redo);
}

// The snapshots after the current position belong to a future that the
// coming change replaces.
void DropRedoChain(EditingState& st) {
    const int last = std::min(st.UndoPos + 201, st.UndoHigh);
    for (int n = st.UndoPos + 1; n <= last; ++n) RemoveStep(st.UndoFolder, n);
    st.UndoHigh = std::min(st.UndoHigh, st.UndoPos);
}

bool Reopen(EditingState& st, int step) {
    st.UndoLoading = true;
    st.UndoBusy = true;
    const std::string snapshot = UndoFileName(st.UndoFolder, step);
    const std::uint8_t r = OpenDocumentState(st, snapshot);
    st.UndoBusy = false;
    st.UndoLoading = false;
    if (r != ReadOk) {
        st.Messages->ShowMessage(ReadFailureText(st, r, snapshot));
        return false;
    }
    return true;
}

bool HasStep(const EditingState& st, int step) { return FileExists(UndoFileName(st.UndoFolder, step)); }

// Undo is on, but this instance has no folder for its snapshots (the program
// folder cannot be written): said once, and again whenever Undo is asked for.
void TellUndoOff(EditingState& st, bool again) {
    if (st.UndoOffShown && !again) return;
    st.UndoOffShown = true;
    // No line of the word table says it.
    st.Messages->ShowMessage(std::string(Said(st.Words, "Отмена не работает: не могу создать папку для файлов отмены в ",
                                              "Undo does not work: cannot make the folder of the undo files in ")) +
                             st.ProgDir + "Temp/");
}

}  // namespace

std::string UndoFileName(const std::string& folder, int step) {
    return folder + "Undo" + IntToZeroPadStr(step, 6) + ".pel";
}

void SaveUndoStep(EditingState& st) { CountSnapshotAhead(st, WriteSnapshotAhead(st)); }

SnapshotAhead WriteSnapshotAhead(EditingState& st) {
    SnapshotAhead s;
    // A snapshot left by a step taken back serves only the very next step.
    const bool kept = std::exchange(st.KeptStep, 0) == st.UndoPos && st.KeptStamp == st.UndoStamp;
    // Inside a DocumentChange its own snapshot, written ahead, is the step.
    if (!st.UndoOn || st.UndoHeld > 0 || st.ChangesOpen > 0) return s;
    s.taken = true;
    if (!st.UndoFolder.empty())
        s.written = (kept && HasStep(st, st.UndoPos)) || WriteSnapshot(st, st.UndoPos, s.failure);
    return s;
}

void CountSnapshotAhead(EditingState& st, const SnapshotAhead& s) {
    if (!s.taken) return;
    if (st.UndoFolder.empty()) {
        TellUndoOff(st, false);
        return;
    }
    // A change begins: a commit that joined the step before takes its own now.
    ++st.UndoStamp;
    if (!s.written) {
        // Said once until a snapshot is written again.
        if (!st.UndoFailShown)
            st.Messages->ShowMessage(UndoFailText(st, UndoFileName(st.UndoFolder, st.UndoPos), s.failure, true));
        st.UndoFailShown = true;
        DropRedoChain(st);
        SetUndoCommands(st, st.UndoEnabled, false);
        return;
    }
    // A depth outside 10 .. 200 (a damaged settings file) would prune the
    // snapshot just written.
    RemoveStep(st.UndoFolder, st.UndoPos - std::clamp(st.UndoSteps, 10, 200));
    DropRedoChain(st);
    ++st.UndoPos;
    SetUndoCommands(st, true, false);
}

void TakeBackLastStep(EditingState& st, bool changedBefore) {
    if (st.UndoFolder.empty() || !HasStep(st, st.UndoPos - 1)) return;
    --st.UndoPos;
    st.UndoHigh = std::min(st.UndoHigh, st.UndoPos);
    ++st.UndoStamp;
    st.KeptStep = st.UndoPos;
    st.KeptStamp = st.UndoStamp;
    SetUndoCommands(st, HasStep(st, st.UndoPos - 1), false);
    if (st.ProjReady) SetChanged(st, changedBefore);
}

void DeleteUndoFiles(EditingState& st) {
    st.UndoHigh = 0;
    ++st.UndoStamp;
    if (st.UndoFolder.empty()) return;
    std::error_code ec;
    std::vector<fs::path> doomed;
    for (fs::directory_iterator it(st.UndoFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const auto ends = [&name](std::string_view tail) {
            return name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
        };
        if (name.rfind("Undo", 0) == 0 && (ends(".pel") || ends(".cur") || ends(".grd.png"))) doomed.push_back(it->path());
    }
    for (const auto& p : doomed) fs::remove(p, ec);
}

bool UndoStep(EditingState& st) {
    if (st.UndoFolder.empty()) {
        if (st.UndoOn) TellUndoOff(st, true);
        return false;
    }
    // While a mouse button is held a drag may be changing the document: its
    // state is not whole yet (EditedDocument::undo waits for the release).
    // A change still open (DocumentChange) is compared with the state it began in.
    if (!st.UndoEnabled || st.Document.mouseHeld() || st.ChangesOpen > 0) return false;
    // The present state is the newest: keep it for Redo.  A snapshot that
    // cannot be written is said again, however often it failed before.
    if (st.UndoOn && !st.RedoEnabled) {
        std::string failure;
        if (!WriteSnapshot(st, st.UndoPos, failure)) {
            st.UndoFailShown = true;
            st.Messages->ShowMessage(UndoFailText(st, UndoFileName(st.UndoFolder, st.UndoPos), failure, false));
            return false;
        }
    }
    if (!Reopen(st, st.UndoPos - 1)) return false;
    --st.UndoPos;
    ++st.UndoStamp;
    // Redo is on only where the state it brings back was kept.
    SetUndoCommands(st, HasStep(st, st.UndoPos - 1), HasStep(st, st.UndoPos + 1));
    SetChanged(st, true);
    return true;
}

bool RedoStep(EditingState& st) {
    if (st.UndoFolder.empty() || !st.RedoEnabled || st.Document.mouseHeld() || st.ChangesOpen > 0) return false;
    if (!Reopen(st, st.UndoPos + 1)) return false;
    ++st.UndoPos;
    ++st.UndoStamp;
    SetUndoCommands(st, true, HasStep(st, st.UndoPos + 1));
    SetChanged(st, true);
    return true;
}

}  // namespace pelmar
