// The encoding of the Symbol font: which character it shows at each of its
// codes, and which code a character of a text set in "Symbol" stands for.
#pragma once

namespace pelmar {

// The character the Symbol font shows at `code` (0x20..0xFE), 0 where it
// shows none.  Glyphs that exist only as pieces of larger signs (the parts
// of tall brackets, the extenders of arrows and roots) get the Unicode
// pieces or the nearest stand-alone character.
char16_t SymbolCodeChar(int code);

// The Symbol code a character of a text in "Symbol" stands for, or -1.
// A character stands for its own code where the font shows something there:
// ASCII and Latin-1 characters, the private-use form U+F020..U+F0FF, and
// the characters of code page 1251 by their byte (so a document made on
// Windows keeps its signs).  Any other character stands for the code where
// the font shows it (α for 0x61, ′ for 0xA2).
int SymbolCodeOf(char32_t c);

// The code at which the Symbol font shows `c` itself, or -1: the private-use
// form U+F020..U+F0FF stands for its own code; a sign the font shows twice
// (©, ®, ™) takes the first.  What a sign typed into a text set in "Symbol"
// is kept as.
int SymbolCodeShowing(char32_t c);

}  // namespace pelmar
