// Windows code page 1251, the code page of the program's text files and of
// the texts that documents made on Windows carry.
#pragma once

namespace pelmar {

// The character of a byte; byte 0x98, which has none in the code page, is
// the control character U+0098, so that it survives a read and a save.
char32_t Cp1251Char(unsigned char byte);

// The byte of a character, or -1 when the code page lacks it.
int Cp1251Byte(char32_t c);

}  // namespace pelmar
