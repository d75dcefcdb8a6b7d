#include <gtest/gtest.h>

#include <limits>
#include <iconv.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "files/text_lines.h"

using namespace pelmar;

namespace {

std::string IconvCp1251ToUtf8(const std::string& in) {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    std::string src = in, out(in.size() * 4 + 4, '\0');
    char* ip = src.data();
    char* op = out.data();
    std::size_t il = src.size(), ol = out.size();
    const std::size_t r = iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1)) return "<error>";
    out.resize(out.size() - ol);
    return out;
}

}  // namespace

TEST(CodePage, EveryByteMatchesTheSystemConverterBothWays) {
    for (int b = 1; b < 256; ++b) {
        if (b == 0x98) continue;
        const std::string one(1, static_cast<char>(b));
        const std::string utf = Cp1251ToUtf8(one);
        EXPECT_EQ(utf, IconvCp1251ToUtf8(one)) << "byte " << b;
        EXPECT_EQ(Utf8ToCp1251(utf), one) << "byte " << b;
    }
}

TEST(CodePage, NumeroSignCyrillicAndUnmappable) {
    EXPECT_EQ(Utf8ToCp1251("<POINT №1>"), "<POINT \xB9" "1>");
    EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2 \xB9"), "Привет №");
    EXPECT_EQ(Utf8ToCp1251("и"), std::string(1, FlagTrue));
    EXPECT_EQ(Utf8ToCp1251("л"), std::string(1, FlagFalse));
    // Characters the code page lacks and broken UTF-8 become '?', one each.
    EXPECT_EQ(Utf8ToCp1251("a€b中c"), "a\x88" "b?c");
    EXPECT_EQ(Utf8ToCp1251("x\xC3"), "x?");
    EXPECT_EQ(Utf8ToCp1251("\xE2\x84z"), "??z");
    // Byte 0x98, which has no character, is U+0098 and comes back as itself.
    EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xC2\x98");
    EXPECT_EQ(Utf8ToCp1251("\xC2\x98"), "\x98");
}

TEST(ZeroPad, WidthsAndNegativeValues) {
    EXPECT_EQ(IntToZeroPadStr(-12, 4), "-012");
    EXPECT_EQ(IntToZeroPadStr(-1, 4), "-001");
    EXPECT_EQ(IntToZeroPadStr(100, 4), "0100");
    EXPECT_EQ(IntToZeroPadStr(0, 4), "0000");
    EXPECT_EQ(IntToZeroPadStr(7, 2), "07");
    EXPECT_EQ(IntToZeroPadStr(12345, 4), "12345");
    EXPECT_EQ(IntToZeroPadStr(-1234, 4), "-1234");
    EXPECT_EQ(IntToZeroPadStr(-123, 4), "-123");
    EXPECT_EQ(IntToZeroPadStr(-5, 6), "-00005");
    EXPECT_EQ(IntToZeroPadStr(42, 6), "000042");
}

TEST(Reals, GeneralFormWithTheSeparator) {
    EXPECT_EQ(FormatReal(0.5, ','), "0,5");
    EXPECT_EQ(FormatReal(0.5, '.'), "0.5");
    EXPECT_EQ(FormatReal(0, ','), "0");
    EXPECT_EQ(FormatReal(100, ','), "100");
    EXPECT_EQ(FormatReal(-2.25, ','), "-2,25");
    EXPECT_EQ(FormatReal(1.0 / 3, ','), "0,333333333333333");
    EXPECT_EQ(FormatReal(0.1 + 0.2, ','), "0,3");  // 15 significant digits
    EXPECT_EQ(FormatReal(0.0001, ','), "0,0001");
    EXPECT_EQ(FormatReal(0.00005, ','), "5E-5");
    EXPECT_EQ(FormatReal(-1.5e-7, ','), "-1,5E-7");
    EXPECT_EQ(FormatReal(123456789012345.0, ','), "123456789012345");
    EXPECT_EQ(FormatReal(1e15, ','), "1E15");
    EXPECT_EQ(FormatReal(1.5e20, ','), "1,5E20");
    EXPECT_EQ(FormatReal(1234.5678, '.'), "1234.5678");
}

TEST(Reals, ReadBackUnderTheSameSeparatorOnly) {
    // The largest doubles too: rounded to 15 digits they would lie beyond
    // the range, so they are written as the largest text within it.
    constexpr double Max = std::numeric_limits<double>::max();
    for (const double v : {0.5, -2.25, 1e-7, 1.5e20, 123456.789, 1.0 / 7, -0.0001, Max, -Max, 1.7976931348623e308,
                           std::numeric_limits<double>::denorm_min()}) {
        double r = 0;
        ASSERT_TRUE(ParseReal(FormatReal(v, ','), ',', r)) << v;
        EXPECT_NEAR(r, v, std::abs(v) * 1e-14);  // 15 significant digits are kept
    }
    EXPECT_EQ(FormatReal(-Max, ','), "-1,79769313486231E308");
    double r = 0;
    EXPECT_FALSE(ParseReal("0,5", '.', r));
    EXPECT_FALSE(ParseReal("0.5", ',', r));
    EXPECT_FALSE(ParseReal("", ',', r));
    EXPECT_FALSE(ParseReal("abc", ',', r));
    EXPECT_FALSE(ParseReal("1,5x", ',', r));
    EXPECT_FALSE(ParseReal("NAN", ',', r));
    EXPECT_FALSE(ParseReal("1E999", ',', r));
    EXPECT_TRUE(ParseReal("1e-5", ',', r));
    EXPECT_DOUBLE_EQ(r, 1e-5);
    EXPECT_TRUE(ParseReal("+3", ',', r));
    EXPECT_DOUBLE_EQ(r, 3);
}

TEST(Colours, NineDigitsRedFirst) {
    EXPECT_EQ(ColorToRGBText(0xFF0000), "000000255");  // pure blue
    EXPECT_EQ(ColorToRGBText(0xFFFFFF), "255255255");
    EXPECT_EQ(ColorToRGBText(0x00800A), "010128000");
}

TEST(LineReaderTest, LineEndsAndTheEndOfTheFile) {
    LineReader in("a\r\nb\nc\r\r\nlast", 19, ',');
    EXPECT_EQ(in.RawLine(), "a");
    EXPECT_EQ(in.RawLine(), "b");
    EXPECT_EQ(in.RawLine(), "c");
    EXPECT_EQ(in.RawLine(), "");
    EXPECT_EQ(in.RawLine(), "last");
    EXPECT_TRUE(in.atEnd());
    EXPECT_THROW(in.RawLine(), FormatError);
    EXPECT_THROW(in.Int(), FormatError);
}

TEST(LineReaderTest, NumbersBytesAndFlags) {
    const std::string f = "12\n-7\n256\n-1\n2147483648\n\nx\n1,5\n" + std::string(1, FlagFalse) + "\n" +
                          std::string(1, FlagTrue) + "\n1\n0\n2\n1\n 1\n";
    LineReader in(f, 19, ',');
    EXPECT_EQ(in.Int(), 12);
    EXPECT_EQ(in.Int(), -7);
    EXPECT_THROW(in.Byte(), FormatError);
    EXPECT_THROW(in.Byte(), FormatError);
    EXPECT_THROW(in.Int(), FormatError);  // beyond 32 bits
    EXPECT_THROW(in.Int(), FormatError);  // empty
    EXPECT_THROW(in.Real(), FormatError);
    EXPECT_DOUBLE_EQ(in.Real(), 1.5);
    EXPECT_FALSE(in.NotL());
    EXPECT_TRUE(in.IsI());
    EXPECT_FALSE(in.IsI());   // "1" is not "и"
    EXPECT_FALSE(in.Not0());
    EXPECT_TRUE(in.Not0());   // "2"
    EXPECT_TRUE(in.Is1());
    EXPECT_FALSE(in.Is1());   // " 1"
}

TEST(LineWriterTest, FormsOfOneLineEach) {
    LineWriter out(',');
    out.Text("Точка №1");
    out.Int(-5);
    out.Real(2.5);
    out.FlagL(true);
    out.FlagL(false);
    out.Flag01(true);
    out.Count(7);
    out.Count(12);
    out.Color(0xFFFFFF);
    EXPECT_EQ(out.bytes(), "\xD2\xEE\xF7\xEA\xE0 \xB9" "1\r\n-5\r\n2,5\r\n\xE8\r\n\xEB\r\n1\r\n07\r\n12\r\n255255255\r\n");
}

namespace {

std::string IconvUtf8ToCp1251(const std::string& in) {
    iconv_t cd = iconv_open("CP1251", "UTF-8");
    std::string src = in, out(in.size() + 4, '\0');
    char* ip = src.data();
    char* op = out.data();
    std::size_t il = src.size(), ol = out.size();
    const std::size_t r = iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1)) return "?";
    out.resize(out.size() - ol);
    return out;
}

std::string Utf8Of(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

}  // namespace

// Every character of the first planes goes to the byte the system converter
// gives, or to "?" where the code page lacks it; random bytes (broken UTF-8,
// line breaks) written as a text line give the converted bytes of the text
// with each line break made one space; random number lines read as the C
// library reads them.
TEST(CodePage, WriterAndReaderAgreeWithPlainConversions) {
    for (char32_t c = 1; c < 0x2200; ++c) {
        if (c >= 0xD800 && c < 0xE000) continue;
        // The one difference: byte 0x98, which the system converter lacks, stands for U+0098.
        const std::string want = c == 0x98 ? std::string("\x98") : IconvUtf8ToCp1251(Utf8Of(c));
        ASSERT_EQ(Utf8ToCp1251(Utf8Of(c)), want) << "U+" << std::hex << static_cast<std::uint32_t>(c);
    }
    std::mt19937 gen(7);
    const std::string alphabet = std::string("aZ7 \r\n?-+0") + "\xD0\xB6\xE2\x84\x96\xC3\x80\xF0\x9F\x98";
    for (int round = 0; round < 3000; ++round) {
        std::string t;
        for (int n = std::uniform_int_distribution<int>(0, 12)(gen); n > 0; --n)
            t += alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(gen)];
        std::string oneLine;
        for (std::size_t i = 0; i < t.size(); ++i) {
            if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
            oneLine += t[i] == '\r' || t[i] == '\n' ? ' ' : t[i];
        }
        LineWriter out(',');
        out.Text(t);
        ASSERT_EQ(out.bytes(), Utf8ToCp1251(oneLine) + "\r\n") << t;

        std::string num;
        for (int n = std::uniform_int_distribution<int>(0, 21)(gen); n > 0; --n)
            num += "0123456789- +x"[std::uniform_int_distribution<int>(0, 13)(gen)];
        std::int64_t got = 0;
        const bool ok = ParseInt(num, got);
        std::string trimmed = num;
        while (!trimmed.empty() && trimmed.front() == ' ') trimmed.erase(0, 1);
        while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
        if (!trimmed.empty() && trimmed[0] == '+') trimmed.erase(0, 1);
        errno = 0;
        char* end = nullptr;
        const long long want = trimmed.empty() || trimmed[0] == ' ' || trimmed[0] == '+' ? 0 : std::strtoll(trimmed.c_str(), &end, 10);
        const bool wantOk = !trimmed.empty() && trimmed[0] != ' ' && trimmed[0] != '+' && errno == 0 &&
                            end == trimmed.c_str() + trimmed.size();
        ASSERT_EQ(ok, wantOk) << '"' << num << '"';
        if (ok) {
            ASSERT_EQ(got, want) << num;
        }
    }
}

// The round trip in place (what the keeping of objects as filed uses) gives
// what a written line reads back as, for texts of every sort and for reals
// around the short paths: whole numbers up to and past 15 digits, values of
// three decimals, long fractions, subnormal and huge values.
TEST(RoundTripInPlace, AgreesWithTheWrittenLineReadBack) {
    std::mt19937_64 gen(11);
    const std::string alphabet = std::string("aZ7 \r\n?-+0") + "\xD0\xB6\xE2\x84\x96\xC3\x80\xF0\x9F\x98";
    for (int round = 0; round < 3000; ++round) {
        std::string t;
        for (int n = std::uniform_int_distribution<int>(0, 24)(gen); n > 0; --n)
            t += alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(gen)];
        LineWriter out('.');
        out.Text(t);
        LineReader in(out.bytes(), 19, '.');
        const std::string want = in.Text();
        const std::string bytes = TextLineBytes(t);
        ASSERT_EQ(Cp1251ToUtf8(bytes), want) << t;
        ASSERT_EQ(bytes + "\r\n", out.bytes()) << t;
    }
    std::vector<double> reals = {1e15 - 1, 1e15, 1e15 + 2, -1e15 + 1, 9007199254740993.0, 1e300, -0.0,
                                 0.1, 1.0 / 3, std::numeric_limits<double>::denorm_min(), 4.9e-310,
                                 // exact ties at the 15th digit, and the edges of the decades
                                 100000000000000.5, 100000000000001.5, -100000000000002.5, 999999999999999.5,
                                 99999999999999.95, 0.99999999999999995, 1e-8, 9.99999999999999e-9,
                                 std::nextafter(1e15, 0.0), 1e14, std::nextafter(1e14, 0.0)};
    for (int i = 0; i < 20000; ++i) {
        const int digits = std::uniform_int_distribution<int>(1, 17)(gen);
        const double whole = std::nearbyint(std::uniform_real_distribution<double>(0, 1)(gen) * std::pow(10.0, digits));
        reals.push_back(i % 2 ? whole : -whole);
        reals.push_back(whole / 1000);
        reals.push_back(std::nextafter(whole / 1000, 1e300));
        reals.push_back(std::uniform_real_distribution<double>(-1e6, 1e6)(gen));
        reals.push_back(std::ldexp(std::uniform_real_distribution<double>(-1, 1)(gen),
                                   std::uniform_int_distribution<int>(-1060, 1024)(gen)));
        const double decade = std::pow(10.0, std::uniform_int_distribution<int>(-9, 16)(gen));
        const double inDecade = std::uniform_real_distribution<double>(-10, 10)(gen) * decade;
        reals.push_back(inDecade);
        // A decimal of 15 digits, and its neighbours.
        double read = 0;
        if (ParseReal(FormatReal(inDecade, '.'), '.', read)) {
            reals.push_back(read);
            reals.push_back(std::nextafter(read, 1e300));
            reals.push_back(std::nextafter(read, -1e300));
        }
    }
    for (const double v : reals) {
        LineWriter out('.');
        out.Real(v);
        LineReader in(out.bytes(), 19, '.');
        const double want = in.Real();
        double got = 1;
        ASSERT_TRUE(RealAsRead(v, got)) << v;
        ASSERT_EQ(got, want) << v;
    }
}
