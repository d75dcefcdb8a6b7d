// Putting the word table on a dialog: each dialog keeps a list of where its
// words go (the window caption, a control's caption, an item of a list or a
// radio group, a hint) and applies it when it is created or shown and again
// when the language changes.
#pragma once

#include <QString>
#include <span>

class QWidget;

namespace pelmar {

class WordTable;

enum class WordSlot { Caption, Item, Hint };

struct WordTarget {
    const char* control;  // object name; "" is the window itself
    WordSlot slot;
    int item;             // 0-based item of a combo box or radio group
    const char* text;     // word lines in braces joined with literal text: "{653}, {651}1="
};

constexpr WordTarget Cap(const char* control, const char* text) { return {control, WordSlot::Caption, 0, text}; }
constexpr WordTarget Item(const char* control, int item, const char* text) {
    return {control, WordSlot::Item, item, text};
}
constexpr WordTarget Hint(const char* control, const char* text) { return {control, WordSlot::Hint, 0, text}; }

// The text a pattern names: "{N}" is word line N, everything else is literal.
QString WordText(const char* pattern, const WordTable& words);

// Puts the texts on `window` and its controls.  A caption with "&" shows it
// as written on buttons, check boxes, group boxes and tab pages (the caption
// of a page is its tab's text).  Returns the number of
// targets whose control was not found (none in a sound dialog).
int ApplyWords(QWidget& window, std::span<const WordTarget> targets, const WordTable& words);

// The built-in Russian texts, for dialogs created without a session's table.
const WordTable& BuiltInWords();

}  // namespace pelmar
