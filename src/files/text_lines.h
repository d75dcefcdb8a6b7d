// Line forms of the program's text files (documents, curves files): the
// Windows-1251 code page at the file boundary, CR LF line ends, one value per
// line.  Text in memory is UTF-8.
//
// LineWriter builds a file's bytes in memory; LineReader walks a file's bytes
// and never reads past their end: a missing line, a line that does not hold
// the number it should or a value out of range throws FormatError.
#pragma once

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pelmar {

// A malformed or truncated file.
struct FormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Code page 1251 <-> UTF-8.  Characters the other side lacks become '?'
// (malformed UTF-8 counts as unmappable); byte 0x98, which has no character,
// is U+0098 and comes back as the same byte.
std::string Cp1251ToUtf8(std::string_view cp);
std::string Utf8ToCp1251(std::string_view utf8);

// The decimal separator of the user's locale settings ('.' when it is not
// one ASCII character): what the program passes to the writers of its text
// files.  The writers and readers themselves take the separator from their
// caller.
char DecimalSeparator();

// Fixed-width integer: padded on the left with "0" to width characters, a
// negative value keeping its "-" in front (-12 at width 4 gives "-012"); a
// longer text stays unpadded.
std::string IntToZeroPadStr(std::int64_t value, int width);

// Real in the general form: at most 15 significant digits, no trailing zeros,
// exponent form ("5E-5", "1,5E20") below 0.0001 or from 1E15 in magnitude.
std::string FormatReal(double v, char sep);
// The same text written into buf, which holds at least RealTextMax
// characters; returns its length.
inline constexpr std::size_t RealTextMax = 32;
std::size_t FormatRealTo(char* buf, double v, char sep);
// Reads such a text (also other exponent spellings); false when it is not a
// finite number written with this separator (a text beyond the range of a
// double, such as "1E999", is none).
bool ParseReal(std::string_view s, char sep, double& out);
// The same with either decimal separator, "," or ".": files written under
// another locale read alike.
bool ParseRealAnySeparator(std::string_view s, double& out);
// What a line written by LineWriter::Real(v) reads back as, a finite v
// (false when it does not read back).
bool RealAsRead(double v, double& out);
// The bytes a line written by LineWriter::Text(utf8) holds, and whether they
// are utf8's own (plain: ASCII without line breaks).
bool PlainTextLine(std::string_view utf8);
std::string TextLineBytes(std::string_view utf8);
// Whole-line decimal integer with optional sign; false when it is not one or
// does not fit.
bool ParseInt(std::string_view s, std::int64_t& out);

// Colour as nine digits RRRGGGBBB (red is the lowest byte of the value).
std::string ColorToRGBText(std::uint32_t c);

// A text that does not come back from the file as it is in memory: a line
// break (written as a space) or a character the code page lacks (written as
// "?").  `object` is the header line of the block the text belongs to (empty
// for the document's own texts), `field` the name of the record field.
struct TextChange {
    std::string object;
    std::string field;
    std::string before;  // in memory
    std::string after;   // as read back
    // The text written, where the writer was given it (the record field).
    const std::string* source = nullptr;
};

class LineWriter {
public:
    explicit LineWriter(char sep) : sep_(sep) { buf_.reserve(1 << 16); }
    // Writes into `buffer`, emptied first: memory reserved for the file's
    // bytes (take() gives it back).
    LineWriter(char sep, std::string&& buffer) : buf_(std::move(buffer)), sep_(sep) {
        buf_.clear();
        buf_.reserve(1 << 16);
    }

    // A writer that keeps no bytes and only sees whether every real given to
    // it is finite: what a check of a whole document needs.
    static LineWriter FiniteCheck() {
        LineWriter w('.', 0);
        w.check_ = true;
        return w;
    }

    // Converted to the code page; a line break (CR LF, CR or LF) becomes one
    // space, so that the text stays on its line.
    // `field` and its 1-based `index` name the text in the changes collected;
    // `source`, when given, is the string the text comes from.
    void Text(std::string_view utf8, const char* field = "", int index = 0, const std::string* source = nullptr);
    // A block's header line: written as a text, and the object the texts
    // after it belong to.
    void Header(std::string_view utf8);
    void Raw(std::string_view cp1251);          // bytes as they are
    void Int(std::int64_t v);
    void Real(double v);
    void FlagL(bool b);                         // "и" / "л"
    void Flag01(bool b);                        // "1" / "0"
    void Count(int n);                          // two characters, 7 gives "07"
    void Color(std::uint32_t c);                // RRRGGGBBB

    // False once a real that is not finite was given to Real(): such bytes
    // must not reach a file, since no reader takes them back.
    bool finite() const { return finite_; }

    const std::string& bytes() const { return buf_; }
    // Drops what was written after the first `size` bytes.
    void Truncate(std::size_t size) { buf_.resize(std::min(size, buf_.size())); }
    std::string take() { return std::move(buf_); }
    char separator() const { return sep_; }

    // From now on every text that changes on its way to the file is added
    // to `changes` (null: none is collected).
    void CollectChanges(std::vector<TextChange>* changes) { changes_ = changes; }

private:
    LineWriter(char sep, int) : sep_(sep) {}
    void End() { buf_.append("\r\n", 2); }
    std::string buf_;
    char sep_;
    bool check_ = false;
    std::vector<TextChange>* changes_ = nullptr;
    std::string object_;
    bool finite_ = true;
};

// Reals are read with the caller's decimal separator or the other one of
// "," and ".", so that a file written under another locale reads alike.
class LineReader {
public:
    LineReader(std::string_view bytes, std::uint8_t version, char sep) : data_(bytes), version_(version), sep_(sep) {}

    std::uint8_t version() const { return version_; }
    void setVersion(std::uint8_t v) { version_ = v; }
    bool atEnd() const { return pos_ >= data_.size(); }
    // The bytes not read yet.
    std::size_t remaining() const { return atEnd() ? 0 : data_.size() - pos_; }
    std::size_t lineNumber() const { return line_; }

    // The next line's bytes (code page 1251, line end removed).
    std::string_view RawLine();
    void Skip() { RawLine(); }
    std::string Text() { return Cp1251ToUtf8(RawLine()); }
    std::int32_t Int();
    std::uint8_t Byte();                        // 0..255
    double Real();
    std::uint32_t Color32() { return static_cast<std::uint32_t>(Int()); }
    bool NotL();                                // false exactly for "л"
    bool IsI();                                 // true exactly for "и"
    bool FirstI();                              // first character "и"; empty line fails
    bool Not0();                                // false exactly for "0"
    bool Is1();                                 // true exactly for "1"

    [[noreturn]] void Fail(const std::string& what) const;

private:
    std::string_view data_;
    std::size_t pos_ = 0;
    std::size_t line_ = 0;
    std::uint8_t version_;
    char sep_;
};

// Bytes of the two flag characters in code page 1251.
inline constexpr char FlagTrue = '\xE8';   // "и"
inline constexpr char FlagFalse = '\xEB';  // "л"

}  // namespace pelmar
