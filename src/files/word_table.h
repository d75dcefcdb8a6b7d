// The word table: every text the user sees in a window, a hint or a message,
// addressed by its line in a translation file.  Line 5 is the translator,
// line 6 the date of the translation, lines 7 to 685 the interface words; 32
// of those are title lines that open a group and carry no word.  That makes
// 649 texts.
//
// The table is filled from the built-in Russian texts or from a translation
// file "Translation/<name>.trs" in the program folder: Windows-1251 text, one
// value per line,
//   1 "<Pelmar Translate>", 2 "6.0f", 3 display name, 4 language code (its
//   first three characters count), 5 translator, 6 date, 7..685 the words.
// The loader does not check lines 1 and 2; only the language list does
// (ReadTranslationHeader).  Texts in memory are UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <initializer_list>
#include <string_view>

#include "drawing/word_lines.h"

namespace pelmar {

inline constexpr std::string_view TranslateSignature = "<Pelmar Translate>";
inline constexpr std::string_view TranslateVersion = "6.0f";

// Any LangFile that contains this selects the built-in texts.
inline constexpr std::string_view BuiltInLanguage = "Translation/Russian";
// The language code of the built-in texts.
inline constexpr std::string_view BuiltInLanguageCode = "rus";

// A translation file whose first 685 lines take more bytes than this is
// refused as unreadable (a real one is some 30 KB).
inline constexpr std::size_t MaxTranslationBytes = std::size_t{4} << 20;

// How a translation file loaded.
enum class WordsLoad { Ok, CannotOpen, ReadError };

class WordTable {
public:
    // Empty until the first LoadWords.
    WordTable() = default;

    // WordLine N.  A title line and a line outside 5..685 give an empty text.
    const std::string& WordLine(int line) const;
    const std::string& operator[](int line) const { return WordLine(line); }
    const std::string& WordLine(WordNo line) const { return WordLine(static_cast<int>(line)); }
    const std::string& operator[](WordNo line) const { return WordLine(line); }

    // FileName empty: the built-in texts.  Otherwise the texts of that file;
    // a file shorter than 685 lines leaves the missing words empty.  False
    // when the file cannot be opened or read; the table then keeps all its
    // former texts.
    bool LoadWords(const std::string& FileName);
    // The same for a file, telling a file that cannot be opened (missing, a
    // folder, not a plain file) from one that cannot be read.
    WordsLoad LoadWordsFile(const std::string& FileName);

    // A translation chosen in the settings: loaded only when its lines 1
    // and 2 are the signature the language list checks
    // (ReadTranslationHeader); a line the file lacks takes its built-in
    // word.  Otherwise the table keeps its texts.
    struct Load {
        enum class State : std::uint8_t {
            Loaded,
            Missing,     // nothing at the name, or a folder
            Unreadable,  // something there that cannot be read; `error` says why
            Damaged,     // not a translation file: its signature lines are wrong
        };
        State state = State::Missing;
        // With Unreadable: an errno value, 0 for a thing that is no regular
        // file, EFBIG for a file longer than a translation can be.
        int error = 0;
        // With Loaded: the lines the file holds (up to LastWordLine); those
        // it lacks take their built-in words.
        int lines = 0;
    };
    Load LoadTranslation(const std::string& FileName);

    // The language of the texts: the first three characters of a
    // translation file's line 4, "rus" for the built-in texts, empty until
    // the first load.
    const std::string& LanguageCode() const { return code_; }

    // A text the program says beyond the table (a message of its own): the
    // Russian one while the table holds the built-in Russian words or a
    // Russian translation (or nothing yet), the English one under any other
    // language.
    std::string_view Said(std::string_view russian, std::string_view english) const;

private:
    std::array<std::string, LastWordLine - FirstWordLine + 1> lines_;
    std::string code_;
};

// The same where there may be no table (the Russian text then).
inline std::string_view Said(const WordTable* words, std::string_view russian, std::string_view english) {
    return words ? words->Said(russian, english) : russian;
}

// A message's pattern with %1, %2 ... each put in place by the value of its
// number.
std::string FillIn(std::string_view pattern, std::initializer_list<std::string> values);

// Lines 1 to 4 of a translation file, for the language list.
struct TranslationHeader {
    std::string name;  // line 3
    std::string code;  // first three characters of line 4
};

// True when the file can be read and its line 1 is exactly
// "<Pelmar Translate>" and its line 2 exactly "6.0f"; then `out` holds its
// display name and language code (empty when the file ends before them).
bool ReadTranslationHeader(const std::string& fileName, TranslationHeader& out);

}  // namespace pelmar
