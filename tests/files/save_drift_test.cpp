// A document saves byte for byte as it was opened: every real of every kind
// of object, whatever its magnitude (coordinates far out near 1E13
// included), reads back to a value that writes the same digits.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <string>

#include "doc_fixture.h"
#include "file_test_util.h"
#include "files/document.h"
#include "files/text_lines.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

DocumentContext Comma() {
    DocumentContext ctx;
    ctx.DecimalSeparator = ',';
    return ctx;
}

// A random real: mostly near 1E13 (as coordinates pushed far out become),
// else of any magnitude and sign.
double RandomReal(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<int> exponent(-12, 15);
    switch (kind(rng)) {
        case 0: return 1e13 * (1 + 0.5 * unit(rng));
        case 1: return -1e13 * (1 + 0.5 * unit(rng));
        case 2: return unit(rng) * std::pow(10.0, exponent(rng));
        default: return std::ldexp(unit(rng), std::uniform_int_distribution<int>(-60, 60)(rng));
    }
}

}  // namespace

TEST(SaveDrift, OpenSaveOpenSaveWritesTheSameBytes) {
    TempDir dir;
    const std::string first = dir.file("First.pel"), second = dir.file("Second.pel"), third = dir.file("Third.pel");
    auto plain = DocumentOfEveryKind(1);
    ProcessAfterReading(*plain, nullptr);
    const std::string text = DocumentText(*plain, LiveWindows{}, {}, ',');
    const auto lines = SplitLines(text);
    const std::size_t firstObject = text.find("<POINT");
    ASSERT_NE(firstObject, std::string::npos);
    std::mt19937_64 rng(20261208);
    int compared = 0;
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Every real line of the objects (one with a separator) gets a random
        // value, written as the program writes reals.
        std::string bytes;
        std::size_t at = 0;
        for (const std::string& line : lines) {
            const bool real = at > firstObject && line.find(',') != std::string::npos &&
                              line.find_first_not_of("-0123456789,E") == std::string::npos;
            bytes += (real && rng() % 3 != 0 ? FormatReal(RandomReal(rng), ',') : line) + "\r\n";
            at += line.size() + 2;
        }
        WriteBytes(first, bytes);
        auto doc = NewDocument();
        std::uint8_t version = 0;
        if (ReadDocument(first, *doc, version, ReadModeOpen, Comma()) != ReadOk) continue;  // refused as damaged
        ASSERT_TRUE(WriteDocument(second, *doc, WriteModeDocument, Comma()));
        auto again = NewDocument();
        ASSERT_EQ(ReadDocument(second, *again, version, ReadModeOpen, Comma()), ReadOk);
        ASSERT_TRUE(WriteDocument(third, *again, WriteModeDocument, Comma()));
        const auto a = SplitLines(ReadBytes(second)), b = SplitLines(ReadBytes(third));
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i) ASSERT_EQ(a[i], b[i]) << "line " << i + 1;
        ++compared;
    }
    EXPECT_GT(compared, 2);
}

// Fifteen digits written read back to a double that writes the same fifteen
// digits, for reals of every magnitude.
TEST(SaveDrift, RealTextsAreFixedPoints) {
    std::mt19937_64 rng(7);
    for (int i = 0; i < 50000; ++i) {
        const double v = i % 2 ? RandomReal(rng) : std::bit_cast<double>(rng());
        if (!std::isfinite(v)) continue;
        const std::string once = FormatReal(v, ',');
        double back = 0;
        ASSERT_TRUE(ParseReal(once, ',', back)) << once;
        ASSERT_EQ(FormatReal(back, ','), once) << v;
    }
}

