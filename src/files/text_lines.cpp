#include "files/text_lines.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/code_page.h"

namespace pelmar {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char ToCp1251(char32_t c) {
    const int b = Cp1251Byte(c);
    return b < 0 ? '?' : static_cast<char>(b);
}

// Converts UTF-8 to the code page at out, which has room for s.size()
// bytes; a line break (CR LF, CR or LF) becomes one space when oneLine is
// set.  Returns the end of what was written.  A line break is never part of
// a UTF-8 sequence, so that breaking lines first and converting after gives
// the same bytes.
char* Utf8ToCp1251At(std::string_view s, char* out, bool oneLine) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            if (oneLine && (b == '\r' || b == '\n')) {
                *out++ = ' ';
                if (b == '\r' && i + 1 < n && s[i + 1] == '\n') ++i;
            } else {
                *out++ = static_cast<char>(b);
            }
            ++i;
            continue;
        }
        int len = 0;
        char32_t c = 0;
        if ((b & 0xE0) == 0xC0) { len = 2; c = b & 0x1F; }
        else if ((b & 0xF0) == 0xE0) { len = 3; c = b & 0x0F; }
        else if ((b & 0xF8) == 0xF0) { len = 4; c = b & 0x07; }
        bool ok = len > 0 && i + static_cast<std::size_t>(len) <= n;
        for (int k = 1; ok && k < len; ++k) {
            const auto cb = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((cb & 0xC0) != 0x80) ok = false;
            else c = (c << 6) | (cb & 0x3F);
        }
        if (!ok) {  // one unmappable byte; resynchronise on the next
            *out++ = '?';
            ++i;
            continue;
        }
        *out++ = ToCp1251(c);
        i += static_cast<std::size_t>(len);
    }
    return out;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view cp) {
    std::string out;
    out.reserve(cp.size() + cp.size() / 2);
    for (const char ch : cp) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out += ch;
        } else {
            const char32_t c = Cp1251Char(b);
            if (c == 0) out += '?';
            else AppendUtf8(out, c);
        }
    }
    return out;
}

std::string Utf8ToCp1251(std::string_view s) {
    std::string out(s.size(), '\0');
    out.resize(static_cast<std::size_t>(Utf8ToCp1251At(s, out.data(), false) - out.data()));
    return out;
}

char DecimalSeparator() {
    const QString p = QLocale::system().decimalPoint();
    return (p.size() == 1 && p[0].unicode() < 0x80) ? static_cast<char>(p[0].unicode()) : '.';
}

std::string IntToZeroPadStr(std::int64_t value, int width) {
    std::string s = std::to_string(value);
    if (width <= static_cast<int>(s.size())) return s;
    if (value >= 0) return std::string(static_cast<std::size_t>(width) - s.size(), '0') + s;
    const std::string digits = s.substr(1);
    const int want = width - 1;
    std::string pad;
    if (want > static_cast<int>(digits.size())) pad.assign(static_cast<std::size_t>(want) - digits.size(), '0');
    return "-" + pad + digits;
}

namespace {

// The exponent after the "e" of a to_chars scientific text ("e+05", "e-120").
int ExponentAfter(const char* e, const char* end) {
    bool neg = false;
    ++e;
    if (e < end && (*e == '+' || *e == '-')) neg = *e++ == '-';
    int exp = 0;
    for (; e < end; ++e) exp = exp * 10 + (*e - '0');
    return neg ? -exp : exp;
}

char* AppendInt(char* p, int v) { return std::to_chars(p, p + 12, v).ptr; }

}  // namespace

std::size_t FormatRealTo(char* buf, double v, char sep) {
    char* out = buf;
    auto put = [&out](std::string_view s) {
        for (const char c : s) *out++ = c;
    };
    if (std::isnan(v)) {
        put("NAN");
        return 3;
    }
    if (std::isinf(v)) {
        put(v > 0 ? "INF" : "-INF");
        return static_cast<std::size_t>(out - buf);
    }
    if (v == 0) {
        *out++ = '0';
        return 1;
    }
    // The largest doubles round up to 15 digits beyond the range, where no
    // reader takes them back: they are written as the largest text within.
    constexpr double Largest = 1.79769313486231e308;
    if (std::fabs(v) > Largest) v = std::copysign(Largest, v);
    // 15 significant digits, rounded as printf rounds them.  The shortest
    // text that reads back as a normal v lies within half an ulp of it:
    // with at most 15 digits it is that rounding itself (half a unit of the
    // 15th digit is far wider), and costs a fraction of it.  A subnormal v
    // has too few bits for that.
    char sci[40];
    auto r = std::to_chars(sci, sci + sizeof sci, v, std::chars_format::scientific);
    int shortest = 0;
    for (const char* q = sci; q < r.ptr && *q != 'e'; ++q) shortest += *q >= '0' && *q <= '9';
    if (shortest > 15 || std::fabs(v) < std::numeric_limits<double>::min())
        r = std::to_chars(sci, sci + sizeof sci, v, std::chars_format::scientific, 14);
    const char* p = sci;
    const bool neg = *p == '-';
    if (neg) ++p;
    char digits[16];
    std::size_t nd = 0;
    for (; p < r.ptr && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits[nd++] = *p;
    const int exp = p < r.ptr ? ExponentAfter(p, r.ptr) : 0;
    while (nd > 1 && digits[nd - 1] == '0') --nd;
    const std::string_view dv(digits, nd);
    if (neg) *out++ = '-';
    if (exp < -4 || exp >= 15) {
        *out++ = digits[0];
        if (nd > 1) {
            *out++ = sep;
            put(dv.substr(1));
        }
        *out++ = 'E';
        out = AppendInt(out, exp);
        return static_cast<std::size_t>(out - buf);
    }
    if (exp < 0) {
        *out++ = '0';
        *out++ = sep;
        for (int i = 0; i < -exp - 1; ++i) *out++ = '0';
        put(dv);
        return static_cast<std::size_t>(out - buf);
    }
    const auto ip = static_cast<std::size_t>(exp) + 1;
    if (nd <= ip) {
        put(dv);
        for (std::size_t i = nd; i < ip; ++i) *out++ = '0';
    } else {
        put(dv.substr(0, ip));
        *out++ = sep;
        put(dv.substr(ip));
    }
    return static_cast<std::size_t>(out - buf);
}

std::string FormatReal(double v, char sep) {
    char buf[RealTextMax];
    return std::string(buf, FormatRealTo(buf, v, sep));
}

bool ParseReal(std::string_view s, char sep, double& out) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    if (s.empty() || s.size() > 64) return false;
    char buf[72];
    std::size_t n = 0;
    std::size_t start = 0;
    if (s[0] == '+') start = 1;
    for (std::size_t i = start; i < s.size(); ++i) {
        const char c = s[i];
        if (c == sep) buf[n++] = '.';
        else if (c == '.' || c == ',') return false;  // a separator of another locale
        else if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == 'e' || c == 'E') buf[n++] = c;
        else return false;
    }
    if (n == 0) return false;
    double v = 0;
    const auto r = std::from_chars(buf, buf + n, v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != buf + n || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool ParseRealAnySeparator(std::string_view s, double& out) {
    return ParseReal(s, ',', out) || ParseReal(s, '.', out);
}

bool ParseInt(std::string_view s, std::int64_t& out) {
    // Most lines are a few digits, perhaps after a minus.
    if (!s.empty() && s.size() <= 18) {
        const std::size_t first = s[0] == '-' ? 1 : 0;
        std::int64_t v = 0;
        std::size_t i = first;
        for (; i < s.size(); ++i) {
            const unsigned d = static_cast<unsigned char>(s[i]) - static_cast<unsigned>('0');
            if (d > 9) break;
            v = v * 10 + static_cast<std::int64_t>(d);
        }
        if (i == s.size() && i > first) {
            out = first ? -v : v;
            return true;
        }
    }
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    if (!s.empty() && s[0] == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    std::int64_t v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return false;
    out = v;
    return true;
}

std::string ColorToRGBText(std::uint32_t c) {
    std::string s(9, '0');
    for (int i = 0; i < 3; ++i) {
        const std::uint32_t b = (c >> (8 * i)) & 0xFFu;
        s[static_cast<std::size_t>(3 * i)] = static_cast<char>('0' + b / 100);
        s[static_cast<std::size_t>(3 * i + 1)] = static_cast<char>('0' + b / 10 % 10);
        s[static_cast<std::size_t>(3 * i + 2)] = static_cast<char>('0' + b % 10);
    }
    return s;
}

// ---------------------------------------------------------------------------

namespace {

// A text the code page holds byte for byte on one line: ASCII without line
// breaks (most texts of a document, and every empty one).
bool PlainLine(std::string_view s) {
    bool plain = true;
    for (const char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        plain &= b < 0x80 && b != '\r' && b != '\n';
    }
    return plain;
}

}  // namespace

bool PlainTextLine(std::string_view utf8) { return PlainLine(utf8); }

std::string TextLineBytes(std::string_view utf8) {
    std::string out(utf8.size(), '\0');
    out.resize(static_cast<std::size_t>(Utf8ToCp1251At(utf8, out.data(), true) - out.data()));
    return out;
}

namespace {

// v rounded to 15 significant digits as the writer rounds it (half to even,
// on v's exact value) and read back, in double arithmetic that is exact:
// v·10^k is the rounded product plus its error (fma), N the whole number of
// 15 digits nearest it, and N / 10^k one correctly rounded division, as a
// reader rounds the decimal.  Only while 10^k is exact (k <= 22), for
// 10^-8 <= |v| < 10^15; false elsewhere.
bool Round15(double v, double& out) {
    static constexpr double Ten[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double a = std::fabs(v);
    if (!(a >= 1e-8 && a < 1e15)) return false;
    int e2 = 0;
    std::frexp(a, &e2);
    // The decimal exponent, or one below it.
    int e = static_cast<int>(std::floor((e2 - 1) * 0.30102999566398120));
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = 14 - e;
        if (k < 0 || k > 22) return false;
        const double p = v * Ten[k];
        const double err = std::fma(v, Ten[k], -p);  // v·10^k = p + err exactly
        const double ap = std::fabs(p), aerr = v < 0 ? -err : err;
        // Whether |v·10^k| lies below x, from p and its error.
        const auto below = [&](double x) { return ap < x || (ap == x && aerr < 0); };
        if (below(1e14)) {
            --e;
            continue;
        }
        if (!below(1e15)) {
            ++e;
            continue;
        }
        double n = std::nearbyint(p);
        // p - n is exact; at a tie of p the error decides, and only an exact
        // tie is left to the even n.
        const double t = p - n;
        if (t == 0.5 && err > 0) n += 1;
        if (t == -0.5 && err < 0) n -= 1;
        out = n / Ten[k];
        return true;
    }
    return false;
}

}  // namespace

bool RealAsRead(double v, double& out) {
    if (v == 0) {  // written "0", whatever its sign
        out = 0;
        return true;
    }
    // A normal value whose shortest text has at most 15 digits is written as
    // that text, which reads back as the value itself.
    const double a = std::fabs(v);
    // A whole number below 10^15 has at most 15 digits: the common case
    // (picture positions, sizes) needs no text at all.
    if (a < 1e15 && std::trunc(v) == v) {
        out = v;
        return true;
    }
    // So does a value that is the double nearest a whole number of
    // thousandths below 10^14 (the division is rounded to nearest): most
    // coordinates.
    if (a < 1e11) {
        const double thousandths = std::nearbyint(v * 1000);
        if (thousandths / 1000 == v) {
            out = v;
            return true;
        }
    }
    if (Round15(v, out)) return true;
    if (a >= std::numeric_limits<double>::min() && a <= 1.79769313486231e308) {
        char sci[40];
        auto r = std::to_chars(sci, sci + sizeof sci, v, std::chars_format::scientific);
        int digits = 0;
        for (const char* q = sci; q < r.ptr && *q != 'e'; ++q) digits += *q >= '0' && *q <= '9';
        if (digits <= 15) {
            out = v;
            return true;
        }
        // Else the line holds the value rounded to 15 digits (FormatRealTo),
        // which reads back as that decimal does.
        r = std::to_chars(sci, sci + sizeof sci, v, std::chars_format::scientific, 14);
        const auto back = std::from_chars(sci, r.ptr, out, std::chars_format::scientific);
        if (back.ec == std::errc() && std::isfinite(out)) return true;
    }
    char buf[RealTextMax];
    const std::string_view s(buf, FormatRealTo(buf, v, '.'));
    return ParseReal(s, '.', out) || ParseRealAnySeparator(s, out);
}

void LineWriter::Text(std::string_view utf8, const char* field, int index, const std::string* source) {
    if (check_) return;
    if (PlainLine(utf8)) {  // comes back as it is: no change to collect
        buf_ += utf8;
        End();
        return;
    }
    // Converted in place: the code page never takes more bytes than UTF-8.
    const std::size_t start = buf_.size();
    buf_.resize(start + utf8.size() + 2);
    char* end = Utf8ToCp1251At(utf8, buf_.data() + start, true);
    *end++ = '\r';
    *end++ = '\n';
    buf_.resize(static_cast<std::size_t>(end - buf_.data()));
    if (changes_) {
        const std::string_view bytes(buf_.data() + start, buf_.size() - start - 2);
        std::string after = Cp1251ToUtf8(bytes);
        if (after != utf8) {
            std::string name = field;
            if (index > 0) {
                name += '[';
                name += std::to_string(index);
                name += ']';
            }
            changes_->push_back({object_, std::move(name), std::string(utf8), std::move(after), source});
        }
    }
}

void LineWriter::Header(std::string_view utf8) {
    if (check_) return;
    Text(utf8);
    object_ = utf8;
}

void LineWriter::Raw(std::string_view cp1251) {
    if (check_) return;
    buf_ += cp1251;
    End();
}

void LineWriter::Int(std::int64_t v) {
    if (check_) return;
    if (v >= 0 && v < 10) {  // most numbers of a document
        const char line[3] = {static_cast<char>('0' + v), '\r', '\n'};
        buf_.append(line, 3);
        return;
    }
    char tmp[24];
    const auto r = std::to_chars(tmp, tmp + sizeof tmp, v);
    *r.ptr = '\r';
    *(r.ptr + 1) = '\n';
    buf_.append(tmp, r.ptr + 2);
}

void LineWriter::Real(double v) {
    if (!std::isfinite(v)) finite_ = false;
    if (check_) return;
    char buf[RealTextMax + 2];
    const std::size_t n = FormatRealTo(buf, v, sep_);
    buf[n] = '\r';
    buf[n + 1] = '\n';
    buf_.append(buf, n + 2);
}

void LineWriter::FlagL(bool b) {
    if (check_) return;
    const char line[3] = {b ? FlagTrue : FlagFalse, '\r', '\n'};
    buf_.append(line, 3);
}

void LineWriter::Flag01(bool b) {
    if (check_) return;
    buf_.append(b ? "1\r\n" : "0\r\n", 3);
}

void LineWriter::Count(int n) {
    if (check_) return;
    if (n >= 0 && n < 10) buf_ += '0';
    char tmp[12];
    buf_.append(tmp, std::to_chars(tmp, tmp + sizeof tmp, n).ptr);
    End();
}

void LineWriter::Color(std::uint32_t c) {
    if (check_) return;
    buf_ += ColorToRGBText(c);
    End();
}

// ---------------------------------------------------------------------------

std::string_view LineReader::RawLine() {
    if (pos_ >= data_.size()) Fail("the file ends early");
    const std::size_t start = pos_;
    const char* const base = data_.data();
    const std::size_t size = data_.size();
    std::size_t i = start;
    // Bytes above CR are neither line end: one comparison for nearly all.
    while (i < size) {
        const auto c = static_cast<unsigned char>(base[i]);
        if (c <= '\r' && (c == '\r' || c == '\n')) break;
        ++i;
    }
    const std::string_view line = data_.substr(start, i - start);
    if (i < data_.size()) {
        if (data_[i] == '\r' && i + 1 < data_.size() && data_[i + 1] == '\n') i += 2;
        else ++i;
    }
    pos_ = i;
    ++line_;
    return line;
}

void LineReader::Fail(const std::string& what) const {
    throw FormatError("line " + std::to_string(line_) + ": " + what);
}

std::int32_t LineReader::Int() {
    const std::string_view s = RawLine();
    std::int64_t v = 0;
    if (!ParseInt(s, v) || v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        Fail("not an integer");
    return static_cast<std::int32_t>(v);
}

std::uint8_t LineReader::Byte() {
    const std::int32_t v = Int();
    if (v < 0 || v > 255) Fail("a byte out of range");
    return static_cast<std::uint8_t>(v);
}

double LineReader::Real() {
    const std::string_view s = RawLine();
    double v = 0;
    if (!ParseReal(s, sep_, v) && !ParseRealAnySeparator(s, v)) Fail("not a number");
    return v;
}

bool LineReader::NotL() {
    const std::string_view s = RawLine();
    return !(s.size() == 1 && s[0] == FlagFalse);
}

bool LineReader::IsI() {
    const std::string_view s = RawLine();
    return s.size() == 1 && s[0] == FlagTrue;
}

bool LineReader::FirstI() {
    const std::string_view s = RawLine();
    if (s.empty()) Fail("an empty flag line");
    return s[0] == FlagTrue;
}

bool LineReader::Not0() {
    const std::string_view s = RawLine();
    return !(s.size() == 1 && s[0] == '0');
}

bool LineReader::Is1() {
    const std::string_view s = RawLine();
    return s.size() == 1 && s[0] == '1';
}

}  // namespace pelmar
