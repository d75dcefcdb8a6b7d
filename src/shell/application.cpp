#include "shell/application.h"

#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "files/text_lines.h"
#include "platform/instance_folder.h"
#include "shell/program_folder.h"
#include "shell/qt_translation.h"
#include "shell/user_folders.h"

namespace pelmar {

class Application::Texts final : public TextRole {
public:
    explicit Texts(Application& app) : app_(app) {}
    std::string wordLine(int line) override { return app_.shell_.words.WordLine(line); }
    std::string said(std::string_view russian, std::string_view english) override {
        return std::string(app_.shell_.words.Said(russian, english));
    }
    char decimalSeparator() override { return app_.shell_.DecimalSep; }
    void showMessage(const std::string& text) override {
        if (app_.showMessage) app_.showMessage(text);
    }

private:
    Application& app_;
};

Application::Folders Application::DefaultFolders() {
    return {DefaultProgDir(), ShippedDirs(UnpackBuiltInFiles(DefaultCacheDir())), UserDocumentsFolder()};
}

Application::Application(Folders folders)
    : document_(std::make_unique<DocumentState>()),
      edited_(std::make_unique<EditedDocument>(*document_->Proj)),
      texts_(std::make_unique<Texts>(*this)),
      language_(std::make_unique<LanguageSignal>()) {
    shell_.ProgDir = std::move(folders.ProgDir);
    shell_.shippedDirs = std::move(folders.ShippedDirs);
    shell_.DocumentsDir = std::move(folders.DocumentsDir);
    shell_.settings = StartSettings(shell_.ProgDir);
    shell_.DecimalSep = DecimalSeparator();
    shell_.words.LoadWords("");
    // In this instance's own scratch folder: another running instance never
    // exports this one's picture.  Without a folder no metafile is written.
    const std::string scratch = InstanceTempFolder(shell_.ProgDir);
    document_->Drawing.MetaPath = scratch.empty() ? std::string() : scratch + "MetaTemp.emf";
    document_->Drawing.Edit = &edited_->state();
}

Application::~Application() = default;

EditingState& Application::editing() { return edited_->state(); }

void Application::created(const MainWindowHooks& hooks) { MainWindowCreated(shell_, hooks); }

void Application::loadLanguage() {
    LanguageContext ctx;
    ctx.ProgDir = shell_.ProgDir;
    ctx.shippedDirs = shell_.shippedDirs;
    ctx.showError = [this](const std::string& text) { texts_->showMessage(text); };
    SetLanguage(shell_.words, shell_.settings.LangFile, ctx);
    InstallQtTranslation(shell_.words.LanguageCode());
}

void Application::setLanguageFile(const std::string& langFile) {
    shell_.settings.LangFile = langFile;
    loadLanguage();
}

TextRole& Application::texts() { return *texts_; }

}  // namespace pelmar
