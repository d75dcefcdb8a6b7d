#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <gif_lib.h>

#include "drawing/redraw.h"
#include "file_test_util.h"
#include "files/picture_export.h"
#include "model/polyhedron_make.h"
#include "model/recompute.h"
#include "model/update.h"
#include "platform/emf_canvas.h"
#include "support/fake_export_host.h"
#include "support/fake_redraw_host.h"

using namespace pelmar;
using namespace pelmar::test;
namespace fs = std::filesystem;

namespace {

struct ExportFixture : ::testing::Test {
    Scratch s;
    std::unique_ptr<DProj> proj = std::make_unique<DProj>();
    DrawingState st;
    ExportState es;
    FakeExportHost host;

    void SetUp() override {
        proj->Im.Width = 120;
        proj->Im.Height = 90;
        proj->Im.Dpi = 96;
        st.DrawBitmap = DrawingPicture();
        *st.DrawProj = *proj;
    }
    void Run(int filter, const std::string& name) {
        host.chosenFilter = filter;
        host.chosenName = s.path(name);
        ExportPicture(*proj, st, es, host, s.path(""), "Drawing.pel");
    }
};

TEST_F(ExportFixture, RasterDialogGetsItsFilterAndTheDocumentName) {
    host.dialogCancels = true;
    Run(1, "x");
    EXPECT_EQ(host.dialogFilter, RasterExportFilter);
    EXPECT_EQ(host.dialogName, "Drawing");
    EXPECT_TRUE(host.setups.empty());
    EXPECT_TRUE(fs::is_empty(s.dir.path().toStdString()));

    proj->Im.PicMode = 1;
    ExportPicture(*proj, st, es, host, s.path(""), "Чертёж.pel");
    EXPECT_EQ(host.dialogFilter, MetafileExportFilter);
    EXPECT_EQ(host.dialogName, "Чертёж");  // four characters, not four bytes
}

TEST_F(ExportFixture, BmpAsksForDepthAndStampsTheResolution) {
    host.bitColorsItem = 1;  // "16"
    Run(1, "pic");
    ASSERT_EQ(host.setups.size(), 1u);
    const BitColorsSetup& b = host.setups[0];
    EXPECT_EQ(b.itemEnabled, (std::array<bool, 4>{true, true, true, true}));
    EXPECT_EQ(b.selected, 3);
    EXPECT_EQ(b.thirdCaption, "256");
    EXPECT_FALSE(b.checkEnabled || b.checked || b.spinEnabled || b.labelEnabled);
    EXPECT_EQ(b.spinText, "");
    EXPECT_EQ(es.ExportBitsPerPixel, 4);
    const std::string bytes = ReadBytes(s.path("pic.bmp"));
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 4);
    EXPECT_EQ(Le32(bytes, 38), 3782u);
    EXPECT_EQ(Le32(bytes, 42), 3782u);
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(ExportFixture, ExtensionTestIsCaseSensitive) {
    Run(1, "PIC.BMP");
    EXPECT_TRUE(fs::exists(s.path("PIC.BMP.bmp")));
    Run(4, "pic.png");
    EXPECT_TRUE(fs::exists(s.path("pic.png")));
    EXPECT_FALSE(fs::exists(s.path("pic.png.png")));
}

TEST_F(ExportFixture, NothingWrittenWhenRefusedOrCancelled) {
    WriteBytes(s.path("old.bmp"), "old");
    host.replaceExisting = false;
    Run(1, "old.bmp");
    EXPECT_EQ(ReadBytes(s.path("old.bmp")), "old");
    EXPECT_TRUE(host.setups.empty());

    host.replaceExisting = true;
    host.bitColorsOk = false;
    Run(2, "new");
    EXPECT_FALSE(fs::exists(s.path("new.jpg")));
    EXPECT_EQ(es.ExportBitsPerPixel, 8);  // set before the dialog, kept on cancel
    EXPECT_FALSE(es.ExportDialogOK);
    Run(1, "new");
    EXPECT_EQ(es.ExportBitsPerPixel, 1);
    EXPECT_FALSE(fs::exists(s.path("new.bmp")));
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(ExportFixture, JpegGreyItemMakesAGreyJpeg) {
    host.bitColorsItem = 2;  // "256 (Gray Scale)"
    host.quality = 40;
    Run(2, "grey");
    ASSERT_EQ(host.setups.size(), 1u);
    const BitColorsSetup& b = host.setups[0];
    EXPECT_EQ(b.itemEnabled, (std::array<bool, 4>{false, false, true, true}));
    EXPECT_EQ(b.thirdCaption, "256 (Gray Scale)");
    EXPECT_EQ(b.spinText, "100");
    EXPECT_TRUE(b.spinEnabled && b.labelEnabled);
    EXPECT_FALSE(b.checkEnabled);
    const QImage back(QString::fromStdString(s.path("grey.jpg")));
    ASSERT_FALSE(back.isNull());
    EXPECT_TRUE(back.isGrayscale());
    const std::string bytes = ReadBytes(s.path("grey.jpg"));
    EXPECT_EQ(bytes.substr(13, 5), std::string("\x01\x00\x60\x00\x60", 5));

    host.bitColorsItem = 3;
    host.quality = 100;
    Run(2, "colour");
    EXPECT_FALSE(QImage(QString::fromStdString(s.path("colour.jpg"))).isGrayscale());
}

TEST_F(ExportFixture, GifTransparentColourIsTheBackground) {
    proj->Im.Background = 0x00FFFFFF;
    host.transparent = true;
    Run(3, "t");
    ASSERT_EQ(host.setups.size(), 1u);
    const BitColorsSetup& b = host.setups[0];
    EXPECT_EQ(b.itemEnabled, (std::array<bool, 4>{false, false, false, false}));
    EXPECT_EQ(b.selected, 2);
    EXPECT_TRUE(b.checkEnabled);
    EXPECT_FALSE(b.checked);
    int err = 0;
    GifFileType* g = DGifOpenFileName(s.path("t.gif").c_str(), &err);
    ASSERT_TRUE(g);
    ASSERT_EQ(DGifSlurp(g), GIF_OK);
    GraphicsControlBlock gcb;
    ASSERT_EQ(DGifSavedExtensionToGCB(g, 0, &gcb), GIF_OK);
    const GifColorType c = g->SColorMap->Colors[gcb.TransparentColor];
    EXPECT_EQ(c.Red + c.Green + c.Blue, 3 * 255);
    EXPECT_EQ(g->SavedImages[0].RasterBits[35 * 120 + 60], gcb.TransparentColor);  // a white pixel
    DGifCloseFile(g, &err);

    host.transparent = false;
    Run(3, "o");
    g = DGifOpenFileName(s.path("o.gif").c_str(), &err);
    ASSERT_TRUE(g);
    ASSERT_EQ(DGifSlurp(g), GIF_OK);
    EXPECT_NE(DGifSavedExtensionToGCB(g, 0, &gcb), GIF_OK);
    DGifCloseFile(g, &err);
}

TEST_F(ExportFixture, RasterPngIsOpaqueWithoutDialog) {
    Run(4, "p");
    EXPECT_TRUE(host.setups.empty());
    const QImage back(QString::fromStdString(s.path("p.png")));
    EXPECT_FALSE(back.hasAlphaChannel());
    EXPECT_EQ(back.dotsPerMeterX(), 3780);
    EXPECT_EQ(back.pixel(15, 15), qRgb(255, 0, 0));
}

// A point linked to a circumcentre (its label blank) shows its name in the PNG: ink beside it that the picture with a
// blank name lacks; one linked to a labelled vertex prints no second label over it.
TEST_F(ExportFixture, LinkedPointShowsItsNameInThePng) {
    DTri t;
    SetVertices(t, std::array<Vec3, 3>{Vec3{0, 20, 15}, Vec3{0, 100, 15}, Vec3{0, 60, 75}});
    UpdateTriangle(t, 0, false);
    t.Number = 1, t.S[1].P1.Name.s = "B";
    proj->Obj.Tr.add(t);
    DPoint o;
    o.Number = 2, o.Typ.v = 1, o.Layer.v = 1, o.NameSize.v = 14, o.LabelDist.v = 12;  // the label to the right
    o.NameFont.s = o.IndexFont.s = "Arial";
    for (const DLink& link : {DLink{{4, 1, 0, 9, 0, 4}}, DLink{{4, 1, 0, 1, 0, 1}}})  // circumcentre, vertex 1
        o.Link = link, proj->Obj.Po.add(o);
    RecomputeLinked(*proj);
    auto exported = [&](const char* name, const std::string& file) {
        proj->Obj.Po[1].Name.s = proj->Obj.Po[2].Name.s = name;
        FakeRedrawHost redrawHost;
        RepaintProject(*proj, st, redrawHost, RedrawMode::Window, true);
        Run(4, file);
        return QImage(QString::fromStdString(s.path(file + ".png"))).convertToFormat(QImage::Format_RGB32);
    };
    const QImage named = exported("O", "named"), blank = exported("", "blank");
    const DPoint& at = proj->Obj.Po[1];
    const int cx = RoundToInt(at.ScrX.v) + 12, cy = 90 - RoundToInt(at.ScrY.v);  // the name's centre on the screen
    int ink = 0, elsewhere = 0;
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x)
            if (named.pixel(x, y) != blank.pixel(x, y))
                ++(std::abs(x - cx) <= 24 && std::abs(y - cy) <= 24 ? ink : elsewhere);
    EXPECT_TRUE(ink > 5 && elsewhere == 0) << ink << " pixels at the name, " << elsewhere << " elsewhere";
}

TEST_F(ExportFixture, RangeErrorIsReportedAndNothingWritten) {
    proj->Im.Dpi = -1;
    Run(4, "bad");
    EXPECT_FALSE(fs::exists(s.path("bad.png")));
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].rfind("Не могу сохранить файл!\n\r", 0), 0u);
}

TEST_F(ExportFixture, MetafileOfTheCurrentDrawingCopiedAsEmf) {
    proj->Im.PicMode = 1;
    fs::create_directories(s.path("Temp/me"));
    st.MetaPath = s.path("Temp/me/MetaTemp.emf");
    {
        EmfCanvas emf(st.MetaPath, 120, 90, 96);
        Pen pen;
        emf.drawLine(pen, {1, 1}, {100, 80});
        ASSERT_TRUE(emf.finish());
    }
    st.MetaWritten = true;
    WriteBytes(s.path("pic.emf"), "older");
    Run(1, "pic");
    const std::string b = ReadBytes(s.path("pic.emf"));
    EXPECT_EQ(b, ReadBytes(st.MetaPath));
    ASSERT_GE(b.size(), 88u);
    EXPECT_EQ(Le32(b, 0), 1u);           // the header record
    EXPECT_EQ(b.substr(40, 4), " EMF");  // its signature
    EXPECT_EQ(Le32(b, 48), b.size());    // the file's size in the header
    EXPECT_TRUE(host.errors.empty());

    // A file the current drawing did not write (an older drawing's, or one
    // in the program folder's shared "Temp/") is never exported.
    st.MetaWritten = false;
    fs::copy_file(st.MetaPath, s.path("Temp/MetaTemp.emf"));
    Run(1, "stale");
    EXPECT_FALSE(fs::exists(s.path("stale.emf")));
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].rfind("Не могу сохранить файл!\n\r", 0), 0u);
    EXPECT_NE(host.errors[0].find("постройте чертеж"), std::string::npos);
}

TEST_F(ExportFixture, MissingMetafileIsReported) {
    proj->Im.PicMode = 1;
    Run(1, "none");
    EXPECT_FALSE(fs::exists(s.path("none.emf")));
    EXPECT_EQ(host.errors.size(), 1u);
}

TEST_F(ExportFixture, ShapeExportsGetTheirTargets) {
    // Metafile mode only: filter 2 and 3; the raster mode has none.
    for (const auto& [mode, drawing, text] : {std::tuple{1, 2, 3}}) {
        proj->Im.PicMode = static_cast<std::uint8_t>(mode);
        host.log.clear();
        Run(drawing, "drawing");
        Run(text, "text.odt");
        EXPECT_EQ(es.CdrFileName, s.path("drawing.odg"));
        EXPECT_EQ(es.OfficeApp, "Word");
        EXPECT_EQ(es.WordFileName, s.path("text.odt"));
        EXPECT_NE(std::find(host.log.begin(), host.log.end(), "cdr " + s.path("drawing.odg")), host.log.end());
        EXPECT_NE(std::find(host.log.begin(), host.log.end(), "word Word " + s.path("text.odt")), host.log.end());
        EXPECT_TRUE(host.setups.empty());
    }
}

TEST_F(ExportFixture, MetafilePngIsTheTransparentOne) {
    proj->Im.PicMode = 1;
    st.DrawProj->Im.PicMode = 1;
    host.metaPicture = [](Canvas& c) {
        Pen pen;
        pen.width = 3;
        c.drawLine(pen, {10, 10}, {100, 70});
    };
    Run(4, "clear");
    const QImage back(QString::fromStdString(s.path("clear.png")));
    ASSERT_EQ(back.size(), QSize(120, 90));
    EXPECT_TRUE(back.hasAlphaChannel());
    EXPECT_EQ(qAlpha(back.pixel(110, 5)), 0);
    EXPECT_EQ(qAlpha(back.pixel(55, 40)), 255);
    EXPECT_EQ(host.progress.back(), "100%");
}

}  // namespace
