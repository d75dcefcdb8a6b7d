// What a document can hold of a typed text.  A document keeps its texts in
// code page 1251; a text set in the Symbol font keeps each sign as its
// Symbol code, the code page character of that byte, as documents made on
// Windows hold it.  Any other character, and a control character, would be
// lost or garbled on the way to the file and is refused where it is typed.
//
// A field of a Symbol text shows each code as the sign the label draws
// there (α for "a", ♥ for the code of "©"), so that what it shows reads back
// to the same codes: copied and pasted, or restored by the field's undo.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace pelmar {

class WordTable;

// Whether a text keeps its line breaks: a one-line field (a name, an index, a
// formula, the title) or the notes.
enum class TextLines { one, many };

struct HeldText {
    std::string text;        // UTF-8, every character one the code page has
    std::u32string refused;  // the characters left out, each once, in order
    bool cut = false;        // the text was longer than the limit
    bool operator==(const HeldText&) const = default;
};

// `utf8` as the document holds it.  The text is composed first (Unicode NFC),
// so that a letter typed as a base and a combining mark ("и" and a breve) is
// the code page's letter.  A tab becomes a space; so does a line break (CR LF,
// CR, LF, U+2028, U+2029) in one line, where those at the end are dropped,
// while `many` keeps each as LF.  Other control characters are refused; a
// variation selector (U+FE00..U+FE0F) picks only a form of the sign before
// it and is dropped.
// symbol: the text is set in "Symbol" and read as its field shows it: a sign
// of the font (α, ′, ×, ©) is taken as its code ("a", the characters of bytes
// 0xA2, 0xB4, 0xD3), a sign the font shows at two codes followed by U+FE0E
// (or U+FE00 for a third) as the later code; an ASCII character stands for
// its own code (typed "a" is α) and µ for μ.  Any other character is
// refused: § and Д (the font shows ♣ and ⊗ at their bytes), and so are the
// characters of the codes the font shows nothing at (“ ” – — р я Ђ ...).
// limit: the most characters kept.
HeldText HoldText(std::string_view utf8, bool symbol, TextLines lines = TextLines::one,
                  std::size_t limit = std::numeric_limits<std::size_t>::max());

// A Symbol text as its field shows it: each code as the sign the font shows
// there (with a variation selector where the sign is shown at an earlier code
// too), a code the font shows nothing at as its code page character.
// HoldText(SymbolShown(t), true).text gives t back for every t of codes the
// font shows.
std::string SymbolShown(std::string_view held);

// The message that names the refused characters (about twenty at most, and
// how many more), and says when the text was cut to `cutTo` characters
// (-1: not cut), in the interface's language.
std::string RefusedTextMessage(const WordTable& words, std::u32string_view refused, long long cutTo = -1);

}  // namespace pelmar
