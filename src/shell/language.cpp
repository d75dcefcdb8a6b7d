#include "shell/language.h"

#include "shell/program_folder.h"
#include "shell/startup.h"

namespace pelmar {

namespace {

// The shipped copies of a translation of the program folder, in the order
// of the shipped folders; none for a file elsewhere.
std::vector<std::string> ShippedCopies(const std::string& LangFile, const LanguageContext& ctx) {
    std::vector<std::string> copies;
    const std::string& prog = ctx.ProgDir;
    if (prog.empty() || LangFile.size() <= prog.size() || LangFile.compare(0, prog.size(), prog) != 0) return copies;
    const std::string rel = LangFile.substr(prog.size());
    for (std::string dir : ctx.shippedDirs) {
        if (!dir.empty() && dir.back() != '/') dir += '/';
        copies.push_back(dir + rel);
    }
    return copies;
}

// What the start says of a translation that is there but cannot be used,
// in the language of the words the session goes on with.
std::string UnusableText(const std::string& file, const WordTable::Load& load, const std::string& shipped,
                         const WordTable& words) {
    // No line of the word table says it.
    std::string text =
        load.state == WordTable::Load::State::Unreadable
            ? std::string(words.Said("Не могу прочитать файл перевода \"", "Cannot read the translation file \"")) + file +
                  "\": " + UnreadableFileReason(load.error, &words) + "."
            : std::string(words.Said("Файл перевода \"", "The translation file \"")) + file +
                  std::string(words.Said("\" поврежден: это не файл перевода.", "\" is damaged: it is not a translation file."));
    text += "\n";
    if (!shipped.empty())
        text += std::string(words.Said("Используется поставляемый перевод \"", "The shipped translation \"")) + shipped +
                std::string(words.Said("\".", "\" is used."));
    else
        text += std::string(words.Said("В этом сеансе используются встроенные русские слова; выбранный язык остается в настройках.",
                                       "This session uses the built-in Russian words; the language chosen stays in the settings."));
    return text;
}

}  // namespace

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
    const std::string file = LocateProgramFile(LangFile, ctx.ProgDir, ctx.shippedDirs);
    const WordTable::Load load = words.LoadTranslation(file);
    switch (load.state) {
    case WordTable::Load::State::Loaded:
        // A translation short of lines shows the words it lacks in Russian:
        // said once, as it is loaded.
        if (load.lines < LastWordLine)
            tell(std::string(words.Said("В файле перевода \"", "The translation file \"")) + file + "\" " +
                 FillIn(words.Said("содержит только %1 строк из %2: недостающие слова показаны по-русски.",
                                   "holds only %1 of %2 lines: the words it lacks are shown in Russian."),
                        {std::to_string(load.lines), std::to_string(LastWordLine)}));
        return;
    case WordTable::Load::State::Missing:
        tell("Cann`t find \"" + LangFile + "\". Setup Russian include.");
        LangFile = BuiltInLanguage;
        words.LoadWords("");
        return;
    case WordTable::Load::State::Unreadable:
    case WordTable::Load::State::Damaged:
        break;
    }
    // There, but it cannot be used: the shipped copy of that language where
    // there is one, else the built-in words; the choice stays in the
    // settings either way, for a file mended before the next start.
    std::string shipped;
    for (const std::string& copy : ShippedCopies(LangFile, ctx))
        if (copy != file && words.LoadTranslation(copy).state == WordTable::Load::State::Loaded) {
            shipped = copy;
            break;
        }
    if (shipped.empty()) words.LoadWords("");
    tell(UnusableText(file, load, shipped, words));
}

}  // namespace pelmar
