// A curves file made by hand with counts no written file has: millions of
// empty sub-curves in a few megabytes.  Reading it takes memory of the order
// of the file's size, never of the counts; it is read whole or not at all.
#include <gtest/gtest.h>

#include <fstream>
#include <utility>

#include "file_test_util.h"
#include "files/companion.h"

using namespace pelmar;
using namespace pelmar::test;

TEST(CurvesBound, EmptySubCurvesByTheMillionTakeMemoryOfTheFilesSize) {
    Scratch s;
    constexpr int SubCurves = 4'000'000;  // 3 bytes each: 12 MB
    std::string bytes = "*Pel19 Curves File*\n<XY 1>\n\xE8\n" + std::to_string(SubCurves) + "\n0\n0\n";
    for (int i = 0; i < SubCurves; ++i) bytes += "\n0\n";
    WriteBytes(s.path("hand.cur"), bytes);
    const std::size_t fileKb = bytes.size() >> 10;
    std::string().swap(bytes);
    const auto peakKb = [] {
        std::ifstream in("/proc/self/status");
        std::string line;
        while (std::getline(in, line) && line.rfind("VmHWM:", 0) != 0) {}
        return std::stoull(line.substr(6));
    };

    auto doc = std::make_unique<DProj>();
    doc->Obj.Xy.resize(1);
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak is counted from here
    const std::uint64_t before = peakKb();
    ReadCurvesFile(s.path("hand.pel"), *doc, '.');
    const std::uint64_t grown = peakKb() - before;
    EXPECT_LT(grown, 10 * fileKb) << "a file of " << (fileKb >> 10) << " MB took " << (grown >> 10) << " MB more";
    const DCurve2& c = doc->Obj.Xy[1].Curves;
    if (c.Valid) { EXPECT_EQ(c.lines().size(), static_cast<std::size_t>(SubCurves) + 1); }
}

// Short points ("-1e7") are written back several times wider: what is taken from such a file is
// written back within the reader's cap, so the next open reads the same curves.
TEST(CurvesBound, WhatIsTakenIsWrittenBackWithinTheReadersCap) {
    Scratch s;
    constexpr int Sets = 8, Points = 800'000;  // 12 bytes each here, 43 as written
    std::string set = "\xE8\n1\n0\n0\n<SubCurve 1>\n" + std::to_string(Points) + "\n", bytes = "*Pel19 Curves File*\n";
    for (int i = 0; i < Points; ++i) set += "-1e7\n-1e7\n\xE8\n";
    for (int n = 1; n <= Sets; ++n) bytes += "<XY " + std::to_string(n) + ">\n" + set;
    WriteBytes(s.path("short.cur"), std::exchange(bytes, {}));
    auto read = [&](const std::string& name) {
        auto doc = std::make_unique<DProj>();
        doc->Obj.Xy.resize(Sets);
        ReadCurvesFile(s.path(name), *doc, '.');
        return doc;
    };
    const auto first = read("short.pel");
    ASSERT_EQ(WriteCurvesFile(s.path("again.pel"), *first, '.'), "");
    const auto second = read("again.pel");
    int taken = 0;
    for (std::size_t n = 1; n <= Sets; ++n) {
        const DCurve2 &a = first->Obj.Xy[n].Curves, &b = second->Obj.Xy[n].Curves;
        taken += a.Valid;
        EXPECT_EQ(a.Valid, b.Valid) << "set " << n;
        if (a.Valid && b.Valid) { EXPECT_EQ(a.lines()[0].Count, b.lines()[0].Count) << "set " << n; }
    }
    EXPECT_GT(taken, 0);
}
