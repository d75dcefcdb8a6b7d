// Default sets on disk: a set written by the document writer is what the
// default-object loaders read through the document reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "doc_fixture.h"
#include "files/document.h"
#include "model/defaults.h"

namespace pelmar {
namespace {

using test::TempDir;

DefaultsSource SourceIn(const TempDir& dir) {
    DefaultsSource src;
    src.programFolder = dir.path.string();
    src.readDocument = BindDocumentReader(nullptr);
    src.pictureHeight = 600;
    return src;
}

void WriteSet(Kind k, const DProj& doc, const TempDir& dir) {
    const std::string name = DefaultSetFile(k, dir.path.string());
    std::filesystem::create_directories(std::filesystem::path(name).parent_path());
    DocumentContext ctx;
    ASSERT_TRUE(WriteDocument(name, doc, WriteModeDefaultSet, ctx));
}

TEST(DefaultSetFiles, ASavedPointIsTheNextNewPoint) {
    TempDir dir;
    auto doc = NewDocument();
    DPoint p = test::MakePoint(4);
    p.Radius.v = 7;
    p.ColorIndex.v = 5;
    p.Name.s = "Ж";
    doc->Obj.Po.add(p);
    WriteSet(Kind::po, *doc, dir);

    DPoint fresh;
    fresh.Radius.v = 1;
    LoadDefaultPoint(fresh, 9, SourceIn(dir));
    EXPECT_EQ(fresh.Radius.v, 7);
    EXPECT_EQ(fresh.ColorIndex.v, 5);
    EXPECT_EQ(fresh.Name.s, "Ж");
    EXPECT_EQ(fresh.ID.s, "Point №9");
}

TEST(DefaultSetFiles, ASetOfAnotherKindGivesTheBuiltInObject) {
    TempDir dir;
    auto doc = NewDocument();
    doc->Obj.Li.add(test::MakeLine(1));
    // The segment's set holds a segment; the point's set is missing and the
    // triangle's set holds no triangle.
    WriteSet(Kind::li, *doc, dir);
    WriteSet(Kind::tr, *doc, dir);

    DPoint builtIn;
    LoadDefaultPoint(builtIn, 1, DefaultsSource{});
    DPoint fromDisk;
    LoadDefaultPoint(fromDisk, 1, SourceIn(dir));
    EXPECT_EQ(fromDisk.Radius.v, builtIn.Radius.v);
    EXPECT_EQ(fromDisk.ScrX.v, builtIn.ScrX.v);

    // The triangle takes the built-in values of its kind, and its sides the
    // segment's set as a new segment would.
    DLine segment;
    LoadDefaultLine(segment, -1, SourceIn(dir));
    EXPECT_EQ(segment.Arrow2.v, doc->Obj.Li[1].Arrow2.v);
    EXPECT_EQ(segment.Frac3.v, 0.25);
    auto t = std::make_unique<DTri>();
    LoadDefaultTriangle(*t, 2, SourceIn(dir));
    EXPECT_EQ(t->Typ.v, 4);
    EXPECT_EQ(t->ID.s, "Trian №2");
    for (std::size_t i = 1; i <= 3; ++i) EXPECT_EQ(t->S[i].Frac3.v, 0.25) << i;
}

TEST(DefaultSetFiles, ADamagedSetGivesTheBuiltInObject) {
    TempDir dir;
    const std::string name = DefaultSetFile(Kind::po, dir.path.string());
    std::filesystem::create_directories(std::filesystem::path(name).parent_path());
    test::WriteFileBytes(name, "<Pel19 File>\r\n07");

    DPoint builtIn, fromDisk;
    LoadDefaultPoint(builtIn, 3, DefaultsSource{});
    LoadDefaultPoint(fromDisk, 3, SourceIn(dir));
    EXPECT_EQ(fromDisk.Radius.v, builtIn.Radius.v);
    EXPECT_EQ(fromDisk.ScrX.v, builtIn.ScrX.v);
    EXPECT_EQ(fromDisk.ID.s, "Point №3");
}

}  // namespace
}  // namespace pelmar
