// A document saved where a folder has its curves file's name: the save is
// refused as a whole, says which file and why, and leaves the old document
// as it was; a document whose curves file became a folder afterwards still
// opens, its curves computed again.
#include <gtest/gtest.h>

#include <filesystem>

#include "file_test_util.h"
#include "files/companion.h"
#include "files/curves_file.h"
#include "files/document.h"

using namespace pelmar;
using namespace pelmar::test;
namespace fs = std::filesystem;

TEST(SaveBesideFolder, ACurvesFileThatCannotBeWrittenRefusesTheSaveAndTheDocumentReopens) {
    Scratch s;
    auto doc = std::make_unique<DProj>();
    DCurve1 sub;
    sub.Count = 1;
    sub.Points = std::make_shared<const std::vector<CurvePoint>>(std::vector<CurvePoint>{{1.5, 2.5, 0}, {}});
    DXOY plane;
    plane.Curves.Count = plane.Curves.Valid = 1;
    plane.Curves.Lines = std::make_shared<const std::vector<DCurve1>>(std::vector<DCurve1>{sub, DCurve1{}});
    doc->Obj.Xy.add(plane);
    ASSERT_TRUE(CurvesFileWanted(*doc));

    const std::string name = s.path("new.pel"), cur = s.path("new.cur");
    std::vector<std::string> said;
    DocumentContext ctx;
    ctx.ShowMessage = [&said](const std::string& m) { said.push_back(m); };
    WriteBytes(name, "older");
    fs::create_directory(cur);
    EXPECT_FALSE(WriteDocument(name, *doc, WriteModeDocument, ctx));
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find(cur + ": "), std::string::npos) << said[0];
    EXPECT_NE(said[0].find("Документ " + name + " не сохранен."), std::string::npos) << said[0];
    EXPECT_EQ(ReadBytes(name), "older");
    EXPECT_TRUE(fs::is_directory(cur));

    fs::remove(cur);
    said.clear();
    ASSERT_TRUE(WriteDocument(name, *doc, WriteModeDocument, ctx));
    EXPECT_TRUE(said.empty());
    for (const bool folder : {false, true}) {
        if (folder) fs::remove(cur), fs::create_directory(cur);
        auto back = std::make_unique<DProj>();
        std::uint8_t version = 0;
        ASSERT_EQ(ReadDocument(name, *back, version, ReadModeOpen), ReadOk) << folder;
        ASSERT_EQ(back->Obj.Xy.count(), 1u);
        EXPECT_EQ(back->Obj.Xy[1].Curves.Valid != 0, !folder);
    }
}
