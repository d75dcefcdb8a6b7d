#include <gtest/gtest.h>

#include <filesystem>

#include "doc_fixture.h"
#include "file_test_util.h"
#include "files/companion.h"
#include "files/curves_file.h"
#include "files/document.h"

using namespace pelmar;
using namespace pelmar::test;
namespace fs = std::filesystem;

namespace {

const std::string I = "\xE8";  // "и" in code page 1251
const std::string L = "\xEB";  // "л"

CurvePoint Pt(double x, double y, bool flag) {
    CurvePoint p{x, y, 0};
    SetCurvePointFlag(p, flag);
    return p;
}

DCurve1 Sub(std::vector<CurvePoint> pts) {
    DCurve1 d;
    d.Count = static_cast<std::int32_t>(pts.size());
    pts.emplace_back();
    d.Points = std::make_shared<const std::vector<CurvePoint>>(std::move(pts));
    return d;
}

DCurve2 Curve(std::vector<DCurve1> subs, std::uint8_t plane, double position) {
    DCurve2 c;
    c.Count = static_cast<std::int32_t>(subs.size());
    subs.emplace_back();
    c.Lines = std::make_shared<const std::vector<DCurve1>>(std::move(subs));
    c.Plane = plane;
    c.Position = position;
    c.Valid = 1;
    return c;
}

struct CurvesFixture : ::testing::Test {
    Scratch s;
    std::unique_ptr<DProj> doc = std::make_unique<DProj>();
    std::string name() const { return s.path("Drawing.pel"); }
    std::string cur() const { return s.path("Drawing.cur"); }
    // A document of the same shape with nothing present, read from the file.
    std::unique_ptr<DProj> ReadBack() const {
        auto back = std::make_unique<DProj>();
        back->Obj.Xy.resize(doc->Obj.Xy.count());
        back->Obj.Xz.resize(doc->Obj.Xz.count());
        ReadCurvesFile(name(), *back, ',');
        return back;
    }
};

TEST(FixedReal, EightSignificantDigitsEightDecimals) {
    EXPECT_EQ(FixedReal(1.5, ','), "1,50000000");
    EXPECT_EQ(FixedReal(-2.25, '.'), "-2.25000000");
    EXPECT_EQ(FixedReal(0, ','), "0,00000000");
    EXPECT_EQ(FixedReal(123456.789, ','), "123456,79000000");
    EXPECT_EQ(FixedReal(12345678.4, ','), "12345678,00000000");
    EXPECT_EQ(FixedReal(0.000123456789, ','), "0,00012346");
    EXPECT_EQ(FixedReal(-1e-10, ','), "0,00000000");
    EXPECT_EQ(FixedReal(123456789.0, ','), "1,2345679E8");
    EXPECT_EQ(FixedReal(-5e20, '.'), "-5E20");
    double back = 0;
    ASSERT_TRUE(ParseReal(FixedReal(123456789.0, ','), ',', back));
    EXPECT_EQ(back, 123456790.0);
}

TEST_F(CurvesFixture, OneSystemExactBytesAndRoundTrip) {
    DXOY x;
    x.Curves = Curve({Sub({Pt(1.5, -2.25, true), Pt(0, 123456.789, false)}), Sub({})}, 3, 0.5);
    doc->Obj.Xy.add(x);
    WriteCurvesFile(name(), *doc, ',');
    const std::string expected = "*Pel19 Curves File*\r\n<XY 1>\r\n" + I +
                                 "\r\n2\r\n3\r\n0,50000000\r\n<SubCurve 1>\r\n2\r\n1,50000000\r\n-2,25000000\r\n" + I +
                                 "\r\n0,00000000\r\n123456,79000000\r\n" + L + "\r\n<SubCurve 2>\r\n0\r\n";
    EXPECT_EQ(ReadBytes(cur()), expected);
    EXPECT_FALSE(fs::exists(cur() + ".part"));

    const auto back = ReadBack();
    const DCurve2& c = back->Obj.Xy[1].Curves;
    EXPECT_EQ(c.Valid, 1);
    EXPECT_EQ(c.Count, 2);
    EXPECT_EQ(c.Plane, 3);
    EXPECT_EQ(c.Position, 0.5);
    ASSERT_EQ(c.lines().size(), 3u);  // one more entry than sub-curves, the last empty
    const DCurve1& a = c.lines()[0];
    EXPECT_EQ(a.Count, 2);
    ASSERT_EQ(a.points().size(), 3u);
    EXPECT_EQ(a.points()[0].x, 1.5);
    EXPECT_EQ(a.points()[0].y, -2.25);
    EXPECT_TRUE(CurvePointFlag(a.points()[0]));
    EXPECT_EQ(a.points()[1].y, 123456.79);
    EXPECT_FALSE(CurvePointFlag(a.points()[1]));
    EXPECT_EQ(c.lines()[1].Count, 0);
    EXPECT_EQ(c.lines()[1].points().size(), 1u);
    EXPECT_EQ(c.lines()[2].Count, 0);
}

TEST_F(CurvesFixture, NothingPresentWritesNothingAndKeepsAnOlderFile) {
    doc->Obj.Xy.add(DXOY{});
    doc->Obj.Xz.add(DXZ{});
    WriteCurvesFile(name(), *doc, ',');
    EXPECT_FALSE(fs::exists(cur()));
    WriteBytes(cur(), "older");
    WriteCurvesFile(name(), *doc, ',');
    EXPECT_EQ(ReadBytes(cur()), "older");
}

TEST_F(CurvesFixture, ThreeDimensionalSystemsWriteTheirHeadersInOrder) {
    DXZ z;
    z.Outlines[2].Lines = Curve({}, 0, 0);  // present, no sub-curves
    doc->Obj.Xz.add(z);
    doc->Obj.Xz.add(DXZ{});
    WriteCurvesFile(name(), *doc, ',');
    const auto lines = SplitLines(Cp1251ToUtf8(ReadBytes(cur())));
    std::vector<std::string> headers;
    for (const auto& l : lines)
        if (!l.empty() && l[0] == '<') headers.push_back(l);
    ASSERT_EQ(headers.size(), 2u * 58u);
    EXPECT_EQ(headers[0], "<Dec 1-1>");
    EXPECT_EQ(headers[10], "<Dec 1-11>");
    EXPECT_EQ(headers[11], "<Dec 2-1>");
    EXPECT_EQ(headers[22], "<Imp YZ-1>");
    EXPECT_EQ(headers[33], "<Imp XZ-1>");
    EXPECT_EQ(headers[44], "<Imp XY-1>");
    EXPECT_EQ(headers[54], "<Imp XY-11>");
    EXPECT_EQ(headers[55], "<OutLine 1>");
    EXPECT_EQ(headers[57], "<OutLine 3>");
    for (std::size_t i = 0; i < 58; ++i) EXPECT_EQ(headers[i], headers[58 + i]);
    // The present outline with no sub-curves: "и", "0", the Byte, the Double.
    const auto at = std::find(lines.begin(), lines.end(), "<OutLine 2>") - lines.begin();
    EXPECT_EQ(lines[static_cast<std::size_t>(at) + 1], "и");
    EXPECT_EQ(lines[static_cast<std::size_t>(at) + 2], "0");
    EXPECT_EQ(lines[static_cast<std::size_t>(at) + 4], "0,00000000");
    EXPECT_EQ(lines[static_cast<std::size_t>(at) + 5], "<OutLine 3>");

    const auto back = ReadBack();
    const DCurve2& o = back->Obj.Xz[1].Outlines[2].Lines;
    EXPECT_EQ(o.Valid, 1);
    EXPECT_EQ(o.Count, 0);
    EXPECT_EQ(o.lines().size(), 1u);
    EXPECT_EQ(back->Obj.Xz[1].Curves[1].Valid, 0);
    EXPECT_EQ(back->Obj.Xz[2].Outlines[2].Lines.Valid, 0);
}

TEST_F(CurvesFixture, CountsBeyondTheArraysAreNotReadPast) {
    DXOY x;
    x.Curves = Curve({Sub({Pt(1, 2, true)})}, 0, 0);
    x.Curves.Count = 5;  // more sub-curves than held
    auto pts = std::make_shared<std::vector<CurvePoint>>(std::vector<CurvePoint>{Pt(3, 4, false)});
    DCurve1 shortSub;
    shortSub.Count = 9;  // more points than held
    shortSub.Points = pts;
    x.Curves.Lines = std::make_shared<const std::vector<DCurve1>>(std::vector<DCurve1>{x.Curves.lines()[0], shortSub});
    doc->Obj.Xy.add(x);
    WriteCurvesFile(name(), *doc, ',');
    const auto back = ReadBack();
    const DCurve2& c = back->Obj.Xy[1].Curves;
    EXPECT_EQ(c.Valid, 1);
    EXPECT_EQ(c.Count, 2);
    EXPECT_EQ(c.lines()[1].Count, 1);
    EXPECT_EQ(c.lines()[1].points()[0].x, 3);
}

TEST_F(CurvesFixture, CurveWithANonFiniteValueIsWrittenNotPresent) {
    DXOY a, b;
    a.Curves = Curve({Sub({Pt(1, std::nan(""), true)})}, 0, 0);
    b.Curves = Curve({Sub({Pt(1, 2, true)})}, 0, 0);
    doc->Obj.Xy.add(a);
    doc->Obj.Xy.add(b);
    WriteCurvesFile(name(), *doc, ',');
    const auto back = ReadBack();
    EXPECT_EQ(back->Obj.Xy[1].Curves.Valid, 0);
    EXPECT_EQ(back->Obj.Xy[2].Curves.Valid, 1);
}

TEST_F(CurvesFixture, DamagedFilesStopTheReadingSafely) {
    doc->Obj.Xy.resize(3);
    const std::string good = "*Pel19 Curves File*\r\n<XY 1>\r\n" + I + "\r\n1\r\n0\r\n0,5\r\n<SubCurve 1>\r\n1\r\n1\r\n2\r\n" +
                             I + "\r\n";
    struct Case {
        std::string name;
        std::string rest;  // what follows the first, good curve
    } cases[] = {
        {"huge sub-curve count", "<XY 2>\r\n" + I + "\r\n2000000000\r\n0\r\n0\r\n<SubCurve 1>\r\n0\r\n"},
        {"huge point count", "<XY 2>\r\n" + I + "\r\n1\r\n0\r\n0\r\n<SubCurve 1>\r\n2147483647\r\n1\r\n2\r\n"},
        {"negative count", "<XY 2>\r\n" + I + "\r\n-7\r\n0\r\n0\r\n"},
        {"truncated", "<XY 2>\r\n" + I + "\r\n1\r\n0\r\n0,25\r\n<SubCurve 1>\r\n3\r\n1,0"},
        {"not a number", "<XY 2>\r\n" + I + "\r\n1\r\n0\r\nabc\r\n"},
        {"byte out of range", "<XY 2>\r\n" + I + "\r\n0\r\n300\r\n0\r\n"},
        {"ends before the flag", ""},
    };
    for (const Case& c : cases) {
        WriteBytes(cur(), good + c.rest);
        auto back = ReadBack();
        back->Obj.Xy[2].Curves.Count = 77;  // what the reader found before
        ReadCurvesFile(name(), *back, ',');
        const DCurve2& first = back->Obj.Xy[1].Curves;
        EXPECT_EQ(first.Valid, 1) << c.name;
        EXPECT_EQ(first.Count, 1) << c.name;
        EXPECT_EQ(first.lines()[0].points()[0].y, 2) << c.name;
        EXPECT_EQ(back->Obj.Xy[2].Curves.Valid, 0) << c.name;
        EXPECT_EQ(back->Obj.Xy[2].Curves.Count, 77) << c.name;  // left as it was
        EXPECT_EQ(back->Obj.Xy[3].Curves.Valid, 0) << c.name;
    }
    // "л" ends a curve; any other flag text counts as present.
    WriteBytes(cur(), good + "<XY 2>\r\n" + L + "\r\n<XY 3>\r\nx\r\n0\r\n1\r\n0\r\n");
    const auto back = ReadBack();
    EXPECT_EQ(back->Obj.Xy[2].Curves.Valid, 0);
    EXPECT_EQ(back->Obj.Xy[3].Curves.Valid, 1);
    EXPECT_EQ(back->Obj.Xy[3].Curves.Plane, 1);
}

TEST_F(CurvesFixture, MissingFileLeavesTheCurves) {
    doc->Obj.Xy.add(DXOY{});
    doc->Obj.Xy[1].Curves = Curve({}, 2, 0);
    ReadCurvesFile(name(), *doc, ',');
    EXPECT_EQ(doc->Obj.Xy[1].Curves.Valid, 1);
    EXPECT_EQ(doc->Obj.Xy[1].Curves.Plane, 2);
}

TEST_F(CurvesFixture, ThroughTheDocumentFiles) {
    auto d = NewDocument();
    d->Obj.Xy.add(NumberedXOY(1));
    d->Obj.Xy[1].Curves = Curve({Sub({Pt(10, 20, true), Pt(30, 40, true)})}, 0, 0);
    DocumentContext ctx;
    ctx.DecimalSeparator = ',';
    ASSERT_TRUE(WriteDocument(name(), *d, WriteModeClipboard, ctx));
    ASSERT_TRUE(fs::exists(cur()));
    EXPECT_FALSE(fs::exists(s.path("Drawing.grd.png")));  // only documents and undo snapshots
    auto back = NewDocument();
    std::uint8_t version = 0;
    ASSERT_EQ(ReadDocument(name(), *back, version, ReadModeOpen), ReadOk);
    ASSERT_EQ(back->Obj.Xy.count(), 1);
    const DCurve2& c = back->Obj.Xy[1].Curves;
    EXPECT_EQ(c.Valid, 1);
    ASSERT_EQ(c.Count, 1);
    EXPECT_EQ(c.lines()[0].points()[1].x, 30);
}

TEST(FillPicture, WrittenWhileValidDeletedOtherwise) {
    Scratch s;
    const std::string name = s.path("Drawing.pel"), png = s.path("Drawing.grd.png");
    QImage fills(7, 5, QImage::Format_ARGB32_Premultiplied);
    fills.fill(QColor(10, 120, 230));
    fills.setPixelColor(3, 2, QColor(250, 0, 5));
    WriteFillPicture(name, fills, true);
    ASSERT_TRUE(fs::exists(png));
    QImage back;
    ASSERT_TRUE(ReadFillPicture(name, back));
    ASSERT_EQ(back.size(), fills.size());
    EXPECT_EQ(back.pixel(3, 2), fills.pixel(3, 2));
    EXPECT_EQ(back.pixel(0, 0), fills.pixel(0, 0));

    WriteFillPicture(name, fills, false);
    EXPECT_FALSE(fs::exists(png));
    EXPECT_FALSE(ReadFillPicture(name, back));
    EXPECT_EQ(back.size(), fills.size());  // a missing picture leaves the one held

    WriteBytes(png, "not a png");
    EXPECT_FALSE(ReadFillPicture(name, back));
    EXPECT_EQ(CompanionFileName(name, ".cur"), s.path("Drawing.cur"));
}

// A companion is the document's name with ".pel" replaced, or the suffix
// added: always beside the document, whatever its name is.
TEST(CompanionNames, StayBesideTheDocument) {
    const struct {
        const char* doc;
        const char* cur;
    } cases[] = {
        {"/d/x.pel", "/d/x.cur"},           {"/d/x.PEL", "/d/x.cur"},     {"x.pel", "x.cur"},
        {"sub/ab", "sub/ab.cur"},           {"/d/ab", "/d/ab.cur"},       {"/d/a.b/c", "/d/a.b/c.cur"},
        {"/d/notes.txt", "/d/notes.txt.cur"}, {"/d/.pel", "/d/.pel.cur"}, {"/d/x.pel.bak", "/d/x.pel.bak.cur"},
        {"/d/x", "/d/x.cur"},               {"", ".cur"},
        {"/p/DefaultSet/DeXOY.set", "/p/DefaultSet/DeXOY.cur"}, {"/d/x.SET", "/d/x.cur"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompanionFileName(c.doc, ".cur"), c.cur) << c.doc;
        const std::string png = CompanionFileName(c.doc, ".grd.png");
        const std::string cur = c.cur;
        EXPECT_EQ(png, cur.substr(0, cur.size() - 4) + ".grd.png") << c.doc;
    }
}

}  // namespace
