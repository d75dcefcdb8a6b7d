// Units, number texts and the rules of numeric edit fields.
//
// Lengths on the picture are pixels at the document's resolution (dots per
// inch); the user sees them in points, centimetres and inches, rounded half to
// even.  Numbers shown to the user are written in the general form with at
// most 15 significant digits and the user's decimal separator (a comma by
// default).  The edit-field rules work on plain strings so that the dialogs'
// key and exit handlers only have to pass their control's text through them.
//
// Also here: the flag digits of the text files, the pixel size of JPEG and BMP
// files, and the memory figures of the about box.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace pelmar {

// Flag digits of the settings and document files: the sense is inverted,
// "0" is true and every other digit false.
bool DigitToFlag(int d);
int FlagToDigit(bool b);

// Unit conversions at a resolution of dpi dots per inch.  A resolution of 0
// gives 0.
double PixToCm(int pixels, int dpi);          // to 0.001 cm
std::int64_t CmToPix(int dpi, double cm);     // whole pixels; 0 for a non-finite cm
double PixToPt(int pixels, int dpi);          // to 0.01 pt
double PixToPtF(int dpi, double pixels);      // to 0.01 pt, fractional pixels
double PixToInch(int pixels, int dpi);        // to 0.001 inch

// The size hint of a pixel value: "<pt> <ptWord>  <cm> <cmWord>  <inch> inch",
// the pixel value first rounded to a whole number.
std::string SizeHintText(double pixels, int dpi, const std::string& ptWord, const std::string& cmWord,
                         char decimalSep = ',');

// A number in the general form: up to 15 significant digits, trailing zeros
// dropped; scientific ("1,5E-6", "1E20") below 0.00001 in magnitude or with
// more than 15 integer digits.  Zero is "0"; NaN and infinities are "NAN",
// "INF" and "-INF".
std::string FloatToStr(double v, char decimalSep = ',');

// Key-press filter of a numeric edit holding text: returns key when it is
// accepted, else 0.  Accepted are the digits, Backspace (8), "-" when
// allowMinus (at any position) and the decimal comma when allowComma and the
// text holds no comma yet.
char32_t NumKeyFilter(std::string_view text, char32_t key, bool allowMinus, bool allowComma);

// Exit fix of a numeric edit: "" becomes "0", "-" becomes "-0", any other text stays.
std::string FixEmptyEdit(std::string_view text);

// Repair of a spin edit's text before its value is read.  When the text is
// empty or "-": mode 1 sets value to minValue and returns true, mode 2 returns
// false.  Any other text leaves value alone and returns true.
bool CheckSpinEdit(std::string_view text, int& value, int minValue, std::uint8_t mode = 1);

// The number in a numeric edit's text, after the exit fix (so "" reads 0 and
// "-" reads -0): blanks around it, an optional sign, digits with at most one
// decimalSep, an optional exponent ("E" or "e", optional sign, digits).
// Anything else, or a value out of the range of double, gives nullopt.
std::optional<double> EditToFloat(std::string_view text, char decimalSep = ',');

// One 16-bit word, high byte first; false at the end of the stream.
bool ReadWordBE(std::istream& s, std::uint16_t& w);

// Pixel size of a JPEG file, from its first start-of-frame segment.  Returns
// false, leaving width and height untouched, for a file that cannot be opened,
// is not a JPEG, or ends (or breaks off) before a start-of-frame segment.
bool ReadJpegSize(const std::filesystem::path& fileName, std::uint32_t& width, std::uint32_t& height);
// The same from a stream of the file's bytes.
bool ReadJpegSize(std::istream& bytes, std::uint32_t& width, std::uint32_t& height);

// Pixel size of a BMP file, from its bitmap header (a negative height marks a
// top-down bitmap; the size is the absolute value).  Returns false, leaving
// width and height untouched, for a file that cannot be opened, is too short,
// or lacks the "BM" signature.
bool ReadBmpSize(const std::filesystem::path& fileName, std::uint32_t& width, std::uint32_t& height);
bool ReadBmpSize(std::istream& bytes, std::uint32_t& width, std::uint32_t& height);

// Memory figures of the about box, in bytes: total and available physical
// memory and the resident size of this process; each 0 when it cannot be read.
void MemoryInfo(std::uint64_t& totalPhys, std::uint64_t& availPhys, std::uint64_t& workingSet);

// The figure of a "<key>: <number> kB" line of a /proc status file, in bytes;
// 0 when the file or the line is missing or malformed.
std::uint64_t ReadMemFigure(const std::filesystem::path& file, std::string_view key);

}  // namespace pelmar
