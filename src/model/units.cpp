#include "model/units.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <istream>
#include <limits>

namespace pelmar {

bool DigitToFlag(int d) { return d == 0; }

int FlagToDigit(bool b) { return b ? 0 : 1; }

// ---------------------------------------------------------------------------
// Unit conversions.  The products are taken in extended precision and
// rounded half to even.

namespace {

double RoundedRatio(long double pixels, int dpi, long double factor, long double scale) {
    if (dpi == 0) return 0.0;
    return static_cast<double>(std::rint(pixels / dpi * factor * scale) / scale);
}

// Round(x) as a whole number of type I, clamped to its range; 0 for NaN.
template <class I>
I RoundClamped(long double x) {
    if (std::isnan(x)) return 0;
    const long double r = std::rint(x);
    if (r <= static_cast<long double>(std::numeric_limits<I>::min())) return std::numeric_limits<I>::min();
    if (r >= static_cast<long double>(std::numeric_limits<I>::max())) return std::numeric_limits<I>::max();
    return static_cast<I>(r);
}

}  // namespace

double PixToCm(int pixels, int dpi) { return RoundedRatio(pixels, dpi, 2.54L, 1000.0L); }

double PixToPt(int pixels, int dpi) { return RoundedRatio(pixels, dpi, 72.0L, 100.0L); }

double PixToPtF(int dpi, double pixels) { return RoundedRatio(pixels, dpi, 72.0L, 100.0L); }

double PixToInch(int pixels, int dpi) { return RoundedRatio(pixels, dpi, 1.0L, 1000.0L); }

std::int64_t CmToPix(int dpi, double cm) {
    if (!std::isfinite(cm)) return 0;
    return RoundClamped<std::int64_t>(static_cast<long double>(cm) / 2.54L * dpi);
}

std::string SizeHintText(double pixels, int dpi, const std::string& ptWord, const std::string& cmWord,
                         char decimalSep) {
    const int n = RoundClamped<int>(pixels);
    std::string s = FloatToStr(PixToPt(n, dpi), decimalSep);
    s += ' ';
    s += ptWord;
    s += "  ";
    s += FloatToStr(PixToCm(n, dpi), decimalSep);
    s += ' ';
    s += cmWord;
    s += "  ";
    s += FloatToStr(PixToInch(n, dpi), decimalSep);
    s += " inch";
    return s;
}

// ---------------------------------------------------------------------------
// Number texts

std::string FloatToStr(double v, char decimalSep) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
    if (v == 0) return "0";

    // 15 significant digits, correctly rounded: "-d.dddddddddddddde+XX".
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", v);
    const char* p = buf;
    const bool negative = *p == '-';
    if (negative) ++p;
    std::string digits;
    for (; *p != 'e'; ++p)
        if (*p != '.') digits += *p;
    const int exp = std::atoi(p + 1);  // the power of ten of the first digit
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string s = negative ? "-" : "";
    if (exp < -5 || exp >= 15) {
        s += digits[0];
        if (digits.size() > 1) {
            s += decimalSep;
            s.append(digits, 1);
        }
        s += 'E';
        s += std::to_string(exp);
    } else if (exp < 0) {
        s += '0';
        s += decimalSep;
        s.append(static_cast<std::size_t>(-exp - 1), '0');
        s += digits;
    } else {
        const auto intDigits = static_cast<std::size_t>(exp) + 1;
        if (digits.size() <= intDigits) {
            s += digits;
            s.append(intDigits - digits.size(), '0');
        } else {
            s.append(digits, 0, intDigits);
            s += decimalSep;
            s.append(digits, intDigits);
        }
    }
    return s;
}

// ---------------------------------------------------------------------------
// Edit-field rules

char32_t NumKeyFilter(std::string_view text, char32_t key, bool allowMinus, bool allowComma) {
    if (key == 8 || (key >= U'0' && key <= U'9')) return key;
    if (key == U'-') return allowMinus ? key : 0;
    if (key == U',') return allowComma && text.find(',') == std::string_view::npos ? key : 0;
    return 0;
}

std::string FixEmptyEdit(std::string_view text) {
    if (text.empty()) return "0";
    if (text == "-") return "-0";
    return std::string(text);
}

bool CheckSpinEdit(std::string_view text, int& value, int minValue, std::uint8_t mode) {
    if (!text.empty() && text != "-") return true;
    if (mode == 1) {
        value = minValue;
        return true;
    }
    return false;
}

std::optional<double> EditToFloat(std::string_view text, char decimalSep) {
    const std::string fixed = FixEmptyEdit(text);
    std::string_view t = fixed;
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);

    // Rewrite into the plain "-ddd.dddE-dd" that from_chars reads.
    std::string plain;
    std::size_t i = 0;
    auto isDigit = [&](std::size_t k) { return k < t.size() && t[k] >= '0' && t[k] <= '9'; };
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') plain += '-';
        ++i;
    }
    bool anyDigit = false;
    for (; isDigit(i); ++i, anyDigit = true) plain += t[i];
    if (i < t.size() && t[i] == decimalSep) {
        plain += '.';
        ++i;
        for (; isDigit(i); ++i, anyDigit = true) plain += t[i];
    }
    if (!anyDigit) return std::nullopt;
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
        plain += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
            if (t[i] == '-') plain += '-';
            ++i;
        }
        if (!isDigit(i)) return std::nullopt;
        for (; isDigit(i); ++i) plain += t[i];
    }
    if (i != t.size()) return std::nullopt;

    double v = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), v);
    if (ec != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
    return v;
}

// ---------------------------------------------------------------------------
// Picture sizes

bool ReadWordBE(std::istream& s, std::uint16_t& w) {
    unsigned char b[2];
    if (!s.read(reinterpret_cast<char*>(b), 2)) return false;
    w = static_cast<std::uint16_t>(b[0] << 8 | b[1]);
    return true;
}

namespace {

bool ReadByte(std::istream& s, std::uint8_t& b) {
    const int c = s.get();
    if (c == std::char_traits<char>::eof()) return false;
    b = static_cast<std::uint8_t>(c);
    return true;
}

bool SkipBytes(std::istream& s, std::streamsize n) {
    s.ignore(n);
    return s.gcount() == n;
}

// Start-of-frame markers: C0..CF except DHT (C4), JPG (C8) and DAC (CC).
bool IsSofMarker(std::uint8_t m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }

// Markers without a length field: TEM, RST0..RST7 and SOI.
bool IsStandaloneMarker(std::uint8_t m) { return m == 0x01 || (m >= 0xD0 && m <= 0xD8); }

std::uint32_t LE16(const unsigned char* p) { return static_cast<std::uint32_t>(p[0] | p[1] << 8); }

std::uint32_t LE32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint32_t AbsOfSigned32(std::uint32_t u) {
    const auto v = static_cast<std::int64_t>(static_cast<std::int32_t>(u));
    return static_cast<std::uint32_t>(v < 0 ? -v : v);
}

}  // namespace

bool ReadJpegSize(const std::filesystem::path& fileName, std::uint32_t& width, std::uint32_t& height) {
    std::ifstream f(fileName, std::ios::binary);
    return f && ReadJpegSize(f, width, height);
}

bool ReadJpegSize(std::istream& f, std::uint32_t& width, std::uint32_t& height) {
    std::uint8_t b1 = 0, b2 = 0;
    if (!ReadByte(f, b1) || !ReadByte(f, b2) || b1 != 0xFF || b2 != 0xD8) return false;

    std::uint8_t prefix = 0;
    if (!ReadByte(f, prefix)) return false;
    while (prefix == 0xFF) {
        std::uint8_t marker = 0;
        if (!ReadByte(f, marker)) return false;
        if (marker == 0xFF) continue;  // fill byte
        if (IsSofMarker(marker)) {
            std::uint16_t h = 0, w = 0;
            if (!SkipBytes(f, 3) || !ReadWordBE(f, h) || !ReadWordBE(f, w)) return false;
            width = w;
            height = h;
            return true;
        }
        if (IsStandaloneMarker(marker)) {
            if (!ReadByte(f, prefix)) return false;
            continue;
        }
        if (marker == 0xD9) return false;  // end of image
        std::uint16_t len = 0;
        if (!ReadWordBE(f, len) || len < 2) return false;
        if (!SkipBytes(f, len - 2)) return false;
        if (!ReadByte(f, prefix)) return false;
    }
    return false;
}

bool ReadBmpSize(const std::filesystem::path& fileName, std::uint32_t& width, std::uint32_t& height) {
    std::ifstream f(fileName, std::ios::binary);
    return f && ReadBmpSize(f, width, height);
}

bool ReadBmpSize(std::istream& f, std::uint32_t& width, std::uint32_t& height) {
    // File header (14 bytes), then the bitmap header: its size, width, height.
    unsigned char h[26] = {};
    f.read(reinterpret_cast<char*>(h), sizeof h);
    const auto n = f.gcount();
    if (n < 18 || h[0] != 'B' || h[1] != 'M') return false;
    const std::uint32_t headerSize = LE32(h + 14);
    if (headerSize == 12) {  // core header: unsigned 16-bit width and height
        if (n < 22) return false;
        width = LE16(h + 18);
        height = LE16(h + 20);
        return true;
    }
    if (headerSize < 16 || n < 26) return false;
    width = AbsOfSigned32(LE32(h + 18));
    height = AbsOfSigned32(LE32(h + 22));
    return true;
}

// ---------------------------------------------------------------------------
// Memory figures

std::uint64_t ReadMemFigure(const std::filesystem::path& file, std::string_view key) {
    std::ifstream f(file);
    std::string line;
    while (std::getline(f, line)) {
        std::string_view l = line;
        if (l.size() <= key.size() || l.substr(0, key.size()) != key || l[key.size()] != ':') continue;
        l.remove_prefix(key.size() + 1);
        while (!l.empty() && (l.front() == ' ' || l.front() == '\t')) l.remove_prefix(1);
        std::uint64_t v = 0;
        const auto [end, ec] = std::from_chars(l.data(), l.data() + l.size(), v);
        if (ec != std::errc() || end == l.data()) return 0;
        std::string_view unit(end, static_cast<std::size_t>(l.data() + l.size() - end));
        while (!unit.empty() && (unit.front() == ' ' || unit.front() == '\t')) unit.remove_prefix(1);
        while (!unit.empty() && (unit.back() == ' ' || unit.back() == '\t' || unit.back() == '\r'))
            unit.remove_suffix(1);
        if (unit.empty()) return v;
        if (unit != "kB") return 0;
        if (v > std::numeric_limits<std::uint64_t>::max() / 1024) return 0;
        return v * 1024;
    }
    return 0;
}

void MemoryInfo(std::uint64_t& totalPhys, std::uint64_t& availPhys, std::uint64_t& workingSet) {
    totalPhys = ReadMemFigure("/proc/meminfo", "MemTotal");
    availPhys = ReadMemFigure("/proc/meminfo", "MemAvailable");
    workingSet = ReadMemFigure("/proc/self/status", "VmRSS");
}

}  // namespace pelmar
