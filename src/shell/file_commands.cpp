#include "shell/file_commands.h"
#include "shell/picture_settings.h"

#include <filesystem>

#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "editing/fit_new_object.h"
#include "editing/kind_access.h"
#include "editing/object_list.h"
#include "editing/reopen.h"
#include "editing/selection.h"
#include "files/document.h"
#include "files/text_lines.h"
#include "model/defaults.h"
#include "shell/command_table.h"
#include "shell/startup.h"
#include "shell/user_folders.h"

namespace pelmar {

namespace {

const std::string LineBreak = "\n\r";
constexpr const char* NewProjectName = "New_Project.pel";

template <Kind K>
void LoadKind(DProj& doc, const DefaultsSource& src) {
    auto& store = KindT<K>::store(doc.Obj);
    for (int i = 1; i <= static_cast<int>(store.count()); ++i) {
        LoadDefault(store[i], i, src);
        FitIntoPicture(store[i], doc.Im);
    }
}

DocumentContext ContextOf(EditingState& st, const std::string& cannotSave) {
    DocumentContext ctx;
    ctx.Words = st.Words;
    ctx.Proj = st.Proj;
    ctx.Work = st.Work;
    ctx.BackPng = st.BackPng;
    ctx.Windows = [&st] { return CurrentWindows(st); };
    ctx.ShowMessage = [&st](const std::string& text) { st.Messages->ShowMessage(text); };
    if (!cannotSave.empty()) ctx.CannotSaveText = cannotSave;
    return ctx;
}

}  // namespace

void LoadDefaultObjects(DProj& doc, const EditingState& st) {
    DefaultsSource src = st.Defaults;
    src.pictureWidth = doc.Im.Width;
    src.pictureHeight = doc.Im.Height;
    // A new document is filled in this order: the 2D system before the triangle.
    LoadKind<Kind::po>(doc, src);
    LoadKind<Kind::li>(doc, src);
    LoadKind<Kind::ci>(doc, src);
    LoadKind<Kind::xy>(doc, src);
    LoadKind<Kind::tr>(doc, src);
    LoadKind<Kind::kv>(doc, src);
    LoadKind<Kind::sf>(doc, src);
    LoadKind<Kind::zi>(doc, src);
    LoadKind<Kind::ko>(doc, src);
    LoadKind<Kind::i3>(doc, src);
    LoadKind<Kind::i4>(doc, src);
    LoadKind<Kind::r3>(doc, src);
    LoadKind<Kind::r4>(doc, src);
    LoadKind<Kind::xz>(doc, src);
}

FileCommands::FileCommands(EditingState& st, ShellState& shell, FileQuestions& ask, DocumentView view)
    : st_(st), shell_(shell), ask_(ask), view_(std::move(view)) {}

void FileCommands::setCaption(const std::string& docName) {
    if (view_.setCaption) view_.setCaption(MainCaption(docName));
}

void FileCommands::addRecent(const std::string& name) {
    auto items = UpdateRecentFiles(shell_.settings.RecentFiles, name, true);
    if (view_.showRecentFiles) view_.showRecentFiles(items);
}

bool FileCommands::CheckSaveFileName(std::string& fileName, const std::string& ext) {
    const std::string tail = "." + ext;
    if (fileName.size() < tail.size() || fileName.compare(fileName.size() - tail.size(), tail.size(), tail) != 0)
        fileName += tail;
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec)) return true;
    return ask_.askYesNo(shell_.words.WordLine(WordNo::FileExists) + LineBreak + fileName);
}

bool FileCommands::WriteTo(const std::string& name) {
    st_.Document.ensureStored();  // the traced curves are saved with the document
    const std::vector<TextChange> changes = TextsChangedOnSave(*st_.Proj);
    if (!changes.empty() && !ask_.askYesNo(SaveChangesQuestion(changes, shell_.words))) return false;
    if (!WriteDocument(name, *st_.Proj, WriteModeDocument, ContextOf(st_, shell_.words.WordLine(WordNo::CannotSaveFile))))
        return false;
    if (!changes.empty()) {
        // What counts as saved is what the file holds: the texts in memory,
        // the working copies and the open dialogs take the written form.
        KeepSavedTexts(*st_.Proj, st_.Work);
        ForEachKind([&](auto kc) {
            if (DialogIsOpen(st_, kc.value)) st_.Dialogs.Refill(kc.value);
        });
        st_.Document.requestRedraw();
    }
    return true;
}

std::string StartFolder(const ShellState& shell, const std::string& wanted) {
    return StartFolder(OwnFolders{shell.ProgDir, shell.shippedDirs, shell.DocumentsDir}, wanted);
}

int FileCommands::QuerySaveChanges() {
    // An untitled document has no folder yet: only its name is shown.
    const std::string shown = st_.Untitled ? shell_.DocName : shell_.settings.DocDir + shell_.DocName;
    const Answer a = ask_.askYesNoCancel(shell_.words.WordLine(WordNo::FileChanged) + LineBreak + shown);
    if (a == Answer::No) return 2;
    if (a != Answer::Yes) return 3;
    if (st_.Untitled) {
        if (!SaveDocumentAs()) return 3;
    } else if (!WriteTo(shell_.settings.DocDir + shell_.DocName)) {
        return 3;
    }
    SetChanged(st_, false);
    return 1;
}

bool FileCommands::SaveGuard() { return !st_.Changed || QuerySaveChanges() != 3; }

bool FileCommands::SaveDocumentAs() {
    const std::string start = StartFolder(shell_, shell_.settings.DocDir);
    std::string name = ask_.chooseSaveFile(start, start + shell_.DocName, shell_.settings.OwnDialogs);
    if (name.empty()) return false;
    if (!CheckSaveFileName(name, "pel")) return false;
    if (!WriteTo(name)) return false;
    if (!st_.UndoBusy) {
        st_.Untitled = false;
        addRecent(name);
    }
    auto [dir, base] = SplitDocumentPath(name);
    shell_.settings.DocDir = dir;
    shell_.DocName = base;
    setCaption(shell_.DocName);
    return true;
}

void FileCommands::Save() {
    if (!hasDocument_) return;
    if (st_.Untitled) {
        if (!SaveDocumentAs()) return;
        SetChanged(st_, false);
        return;
    }
    if (!WriteTo(shell_.settings.DocDir + shell_.DocName)) return;
    if (!st_.UndoBusy) addRecent(shell_.settings.DocDir + shell_.DocName);
    SetChanged(st_, false);
}

bool FileCommands::setUpNewProject() {
    std::array<std::uint8_t, KindCount> counts{};
    if (!ask_.chooseNewProject(counts)) return false;
    PictureSettings picture = NewProjectSettings();
    if (!ask_.chooseNewPicture(picture)) return false;
    // The picture settings and the counts chosen make the document.
    std::unique_ptr<DProj> fresh = NewDocument();
    StorePictureSettings(*fresh, picture, true);
    fresh->Zoom = 100;
    ForEachKind([&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        auto& store = KindT<K>::store(fresh->Obj);
        store.resize(std::min<std::size_t>(counts[Slot(K)], InfoOf(K).capacity));
    });
    *st_.Proj = std::move(*fresh);
    hasDocument_ = true;
    if (view_.documentOpened) view_.documentOpened();
    UpdateObjectList(st_, true, true);
    LoadDefaultObjects(*st_.Proj, st_);
    st_.Proj->FillValid = 0;
    SetCurObjIndex(st_, 0);
    SelectCurrentObject(st_, st_.Dialogs, true);
    return true;
}

void FileCommands::NewProject() {
    if (!SaveGuard()) return;
    st_.ProjReady = false;
    const bool wasUntitled = st_.Untitled;
    st_.Untitled = true;
    if (setUpNewProject()) {
        shell_.DocName = NewProjectName;
        setCaption(shell_.DocName);
        SelectNone(st_);
        if (view_.redraw) view_.redraw();
    } else {
        st_.Untitled = wasUntitled;
    }
    st_.ProjReady = true;
}

bool FileCommands::OpenDocument(const std::string& fileName) {
    // A document read from a file has that file: Save writes it there.
    const bool wasUntitled = st_.Untitled;
    if (!st_.UndoLoading) st_.Untitled = false;
    const std::uint8_t r = OpenDocumentState(st_, fileName);
    if (r != ReadOk) {
        st_.Untitled = wasUntitled;
        ask_.showMessage(ReadFailureText(st_, r, fileName));
        return false;
    }
    hasDocument_ = true;
    if (view_.documentOpened) view_.documentOpened();
    if (!st_.UndoLoading) {
        addRecent(fileName);
        auto [dir, base] = SplitDocumentPath(fileName);
        shell_.settings.DocDir = dir;
        shell_.DocName = base;
        setCaption(shell_.DocName);
    }
    return true;
}

void FileCommands::OpenDocumentDialog() {
    if (!SaveGuard()) return;
    const std::string name =
        ask_.chooseOpenFile(StartFolder(shell_, shell_.settings.DocDir), shell_.settings.OwnDialogs);
    if (name.empty()) return;
    st_.UndoLoading = false;
    OpenDocument(name);
}

void FileCommands::OpenRecent(int n) {
    if (n < 1 || n > 5) return;
    const std::string entry = shell_.settings.RecentFiles[static_cast<std::size_t>(n - 1)];
    if (IsNoFile(entry)) return;
    if (!SaveGuard()) return;
    st_.UndoLoading = false;
    OpenDocument(entry);
}

void FileCommands::Close() {
    if (!hasDocument_) return;
    if (!SaveGuard()) return;
    hasDocument_ = false;
    if (view_.leaveDocument) view_.leaveDocument();
}

}  // namespace pelmar
