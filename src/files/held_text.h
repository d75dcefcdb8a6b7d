// What a document can hold of a typed text.  A document keeps its texts in
// code page 1251; a text set in the Symbol font keeps each sign as its
// Symbol code, the code page character of that byte, as documents made on
// Windows hold it.  Any other character would be lost on the way to the file
// and is refused where it is typed.
#pragma once

#include <string>
#include <string_view>

namespace pelmar {

class WordTable;

struct HeldText {
    std::string text;        // UTF-8, every character one the code page has
    std::u32string refused;  // the characters left out, each once, in order
};

// `utf8` as the document holds it.  symbol: the text is set in "Symbol", so
// that a sign the Symbol font shows (α, ′, ≤) is taken as its code ("a",
// the character of byte 0xA2, the character of byte 0xA3).
HeldText HoldText(std::string_view utf8, bool symbol);

// The message that names the refused characters, in the interface's
// language.
std::string RefusedTextMessage(const WordTable& words, std::u32string_view refused);

}  // namespace pelmar
