// What a document can hold of a typed text.  A document keeps its texts in
// code page 1251; a text set in the Symbol font keeps each sign as its
// Symbol code, the code page character of that byte, as documents made on
// Windows hold it.  Any other character, and a control character, would be
// lost or garbled on the way to the file and is refused where it is typed.
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
// while `many` keeps each as LF.  Other control characters are refused.
// symbol: the text is set in "Symbol": a sign the Symbol font shows (α, ′, ×,
// ©) is taken as its code ("a", the characters of bytes 0xA2, 0xB4, 0xD3)
// before the code page is tried.  limit: the most characters kept.
HeldText HoldText(std::string_view utf8, bool symbol, TextLines lines = TextLines::one,
                  std::size_t limit = std::numeric_limits<std::size_t>::max());

// The message that names the refused characters (about twenty at most, and
// how many more), and says when the text was cut to `cutTo` characters
// (-1: not cut), in the interface's language.
std::string RefusedTextMessage(const WordTable& words, std::u32string_view refused, long long cutTo = -1);

}  // namespace pelmar
