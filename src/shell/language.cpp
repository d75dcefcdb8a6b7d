#include "shell/language.h"

#include "shell/program_folder.h"

namespace pelmar {

void SetLanguage(WordTable& words, std::string& LangFile, const LanguageContext& ctx) {
    auto tell = [&](const std::string& text) {
        if (ctx.showError) ctx.showError(text);
    };
    if (LangFile.empty()) {
        // No settings yet: Russian, quietly, and remembered as such.
        LangFile = BuiltInLanguage;
        words.LoadWords("");
        return;
    }
    if (LangFile.find(BuiltInLanguage) != std::string::npos) {
        words.LoadWords("");
        return;
    }
    switch (words.LoadWordsFile(LocateProgramFile(LangFile, ctx.ProgDir, ctx.shippedDirs))) {
    case WordsLoad::Ok:
        return;
    case WordsLoad::CannotOpen:
        tell("Cann`t find \"" + LangFile + "\". Setup Russian include.");
        LangFile = BuiltInLanguage;
        words.LoadWords("");
        return;
    case WordsLoad::ReadError:
        tell("Error read \"" + LangFile + "\". Setup Russian include.");
        words.LoadWords("");
        return;
    }
}

}  // namespace pelmar
