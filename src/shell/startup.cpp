#include "shell/startup.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "files/document.h"
#include "files/save_failure.h"
#include "shell/command_table.h"
#include "shell/qt_translation.h"

namespace pelmar {

namespace {

template <class F, class... A>
void Call(const F& f, A&&... a) {
    if (f) f(std::forward<A>(a)...);
}

void NoProject(ShellState&, const MainWindowHooks& h) { Call(h.setNoProjectState, true); }

void StartValues(ShellState&, const MainWindowHooks& h) { Call(h.documentStartValues); }

void ProgramFolder(ShellState& s, const MainWindowHooks&) {
    if (!s.ProgDir.empty() && s.ProgDir.back() != '/') s.ProgDir += '/';
    s.settings = StartSettings(s.ProgDir);
}

void SettingsFile(ShellState& s, const MainWindowHooks& h) {
    s.settingsSource = ReadSettings(s.ProgDir, s.settings, s.shippedDirs);
    Call(h.showRecentFiles, RecentMenuItems(s.settings.RecentFiles));
}

void RunState(ShellState& s, const MainWindowHooks& h) {
    s.FirstResize = true;
    s.FirstShow = true;
    Call(h.resetRunState);
}

void Words(ShellState& s, const MainWindowHooks& h) {
    LanguageContext ctx{s.ProgDir, s.shippedDirs, [&h](const std::string& text) { Call(h.showError, text); }};
    SetLanguage(s.words, s.settings.LangFile, ctx);
    InstallQtTranslation(s.words.LanguageCode());
    Call(h.wordsToMain);
}

void Pictures(ShellState&, const MainWindowHooks& h) { Call(h.createPictures); }

void Combos(ShellState&, const MainWindowHooks& h) { Call(h.disableCombos); }

void ToolGroups(ShellState& s, const MainWindowHooks& h) { Call(h.applyToolbarGroups, s.settings.ShowTB); }

// The first show says, once, why the settings of this session are not kept.
void SettingsFileNotice(ShellState& s, const MainWindowHooks& h) {
    if (!s.FirstShow) return;
    if (const std::string notice = SettingsNotice(s.settingsSource, s.words); !notice.empty()) Call(h.showNotice, notice);
}

// Only the first show opens the document named on the command line.  One that
// cannot be read leaves the program without a project, as File > Open does.
void CommandLineDocument(ShellState& s, const MainWindowHooks& h) {
    if (!s.FirstShow) return;
    s.FirstShow = false;
    if (s.arguments.empty() || s.arguments.front().empty()) return;
    std::error_code ec;
    std::filesystem::path file = std::filesystem::absolute(s.arguments.front(), ec);
    if (ec) file = s.arguments.front();
    const std::string name = file.lexically_normal().string();
    if (h.openDocument && h.openDocument(name)) {
        auto [dir, base] = SplitDocumentPath(name);
        s.settings.DocDir = dir;
        s.DocName = base;
        Call(h.setCaption, MainCaption(s.DocName));
    } else {
        Call(h.setNoProjectState, true);
    }
}

}  // namespace

const std::vector<LifeStep>& CreateSteps() {
    static const std::vector<LifeStep> steps{
        {"no project", NoProject},  {"start values", StartValues}, {"program folder", ProgramFolder},
        {"settings file", SettingsFile}, {"run state", RunState},  {"words", Words},
        {"pictures", Pictures},
    };
    return steps;
}

const std::vector<LifeStep>& ShowSteps() {
    static const std::vector<LifeStep> steps{
        {"combos", Combos},
        {"tool groups", ToolGroups},
        {"settings notice", SettingsFileNotice},
        {"command-line document", CommandLineDocument}};
    return steps;
}

void MainWindowCreated(ShellState& state, const MainWindowHooks& hooks) {
    for (const LifeStep& step : CreateSteps()) step.run(state, hooks);
}

void MainWindowShown(ShellState& state, const MainWindowHooks& hooks) {
    for (const LifeStep& step : ShowSteps()) step.run(state, hooks);
}

void MainWindowResized(ShellState& state, const MainWindowHooks& hooks) {
    if (!state.FirstResize) return;
    state.FirstResize = false;
    Call(hooks.defaultWindowLayout);
}

bool MainWindowMayClose(const MainWindowHooks& hooks) {
    if (!hooks.unsavedChanges || !hooks.unsavedChanges()) return true;
    return !hooks.querySaveChanges || hooks.querySaveChanges() != 3;
}

void MainWindowClosing(ShellState& state, const MainWindowHooks& hooks) {
    // No line of the word table says it.
    const auto cannotSave = [&] {
        return std::string(state.words.Said("Не могу сохранить настройки в ", "Cannot save the settings in ")) +
               state.ProgDir + SettingsFileName;
    };
    if (SettingsNeedWriting(state.settingsSource, state.settings)) {
        // A damaged settings file is kept beside before it is replaced; one
        // that cannot be kept is not replaced either.
        std::string keptAs, kept;
        if (state.settingsSource.damaged) kept = KeepDamagedSettings(state.ProgDir, keptAs);
        if (!kept.empty())
            Call(hooks.showError, cannotSave() + ":\n" +
                                      std::string(state.words.Said("не могу сохранить поврежденный файл как ",
                                                                   "cannot keep the damaged file as ")) +
                                      keptAs + ": " + SaveReasonText(kept, &state.words));
        else if (std::string reason; !WriteSettings(state.ProgDir, state.settings, &reason))
            Call(hooks.showError, cannotSave() + ": " + SaveReasonText(reason, &state.words));
    }
    // A save whose folder could not be flushed, and that no later save told.
    if (const std::string flush = FolderFlushMessage(&state.words); !flush.empty()) Call(hooks.showError, flush);
    Call(hooks.freePictures);
    Call(hooks.deleteUndoFiles);
}

std::string SettingsNotice(const SettingsSource& source, const WordTable& words) {
    if (source.from == SettingsSource::From::Own && source.damaged)
        // No line of the word table says it.
        return std::string(words.Said("Файл настроек поврежден: ", "The settings file is damaged: ")) + source.file +
               ".\n" +
               std::string(words.Said("Что не удалось прочитать, взято из настроек по умолчанию. ",
                                      "What could not be read takes the default settings. ")) +
               std::string(words.Said("Прежде чем записать новые настройки, программа сохранит поврежденный файл как ",
                                      "Before new settings are written, the damaged file is kept as ")) +
               source.keepAs + ".";
    if (source.from != SettingsSource::From::Unreadable) return {};
    const std::string reason = UnreadableFileReason(source.error, &words);
    const bool own = std::filesystem::path(source.file).filename() == SettingsFileName;
    return std::string(words.Said("Не могу прочитать файл настроек ", "Cannot read the settings file ")) + source.file +
           ": " + reason + ".\n" +
           std::string(own ? words.Said("Программа начинает с настроек по умолчанию. ",
                                        "The program starts with its default settings. ")
                           : "") +
           std::string(words.Said("Настройки этого сеанса не будут сохранены, файлы настроек останутся как есть.",
                                  "The settings of this session will not be saved; the settings files stay as they are."));
}

std::string UnreadableFileReason(int error, const WordTable* words) {
    // No line of the word table says it.
    switch (error) {
        case EACCES:
        case EPERM: return std::string(Said(words, "нет прав на чтение", "permission denied"));
        case EISDIR: return std::string(Said(words, "это папка", "it is a folder"));
        case 0: return std::string(Said(words, "это не обычный файл", "it is not a regular file"));
        case ENOMEM: return std::string(Said(words, "не хватает памяти", "out of memory"));
        case EFBIG: return std::string(Said(words, "файл слишком велик", "the file is too large"));
        case EIO: return std::string(Said(words, "ошибка чтения диска", "a read error of the disk"));
        default: return std::strerror(error);
    }
}

std::pair<std::string, std::string> SplitDocumentPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {"./", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

}  // namespace pelmar
