// Graphs that reach far past the picture are built, redrawn, exported and animated without an
// exception leaving, the next redraw draws, and the traced columns (one pumped event each) stay
// within a few pictures.
#include <gtest/gtest.h>

#include "model/transform.h"
#include "office_fixture.h"
#include "support/fake_redraw_host.h"
#include "transform/anim_fixture.h"

namespace pelmar::test {
namespace {

void DrawEveryWay(DProj& doc, const std::string& what) {
    SCOPED_TRACE(what);
    const long bound = 2L * 3 * (800 + 600);
    FakeRedrawHost host;
    DrawingState st;
    long events = 0;
    host.onProcessEvents = [&] { st.Running = ++events <= bound; };  // an unbounded walk is stopped
    EXPECT_NO_THROW(RepaintProject(doc, st, host, RedrawMode::Window, true));
    ASSERT_LE(events, bound);
    host.shown = QImage();
    EXPECT_NO_THROW(RepaintProject(doc, st, host, RedrawMode::Window, false));
    EXPECT_FALSE(host.shown.isNull()) << "the next redraw draws";
    RunRig r(doc);
    *r.snapshot = doc;
    EXPECT_NO_THROW(EXPECT_TRUE(ExportToCorelDraw(8, r.path("a.odg"), RunMode::DoNotOpen, doc.Im, r.run) &&
                                ExportToOffice(r.path("a.odt"), RunMode::DoNotOpen, doc.Im, r.run)));
    FakeAnimHost anim;
    doc.AnimFrames = 2;
    EXPECT_NO_THROW(EXPECT_EQ(BuildAnimation(doc, st, host, anim, r.path("a.gif")).frames, 2));
}

TEST(FarDrawing, MovedGraphsFarSectionsAndReadScales) {
    DefaultsSource src;
    src.programFolder = "/nonexistent";
    auto doc = NewDocument();
    src.pictureWidth = doc->Im.Width = 800;
    src.pictureHeight = doc->Im.Height = 600;
    // Implicit graphs moved 1000 units down, x bound at 1e9, with a scale the dialogs refuse that a file gives.
    for (const char* F : {"ln(x)", "sin(x*y)", "y^3+x", "x^2+y^2-16"})
        for (const double scale : {20.0, -40.0, 0.0}) {
            auto d = std::make_unique<DProj>(*doc);
            DXOY x;
            LoadDefaultXOY(x, 1, src);
            x.GraphOn[6].v = true, x.Graph[6].s = F, x.ScaleY.v = scale, x.Move[6].Moved.v = scale > 0, x.Move[6].DY.v = -1000;
            x.Bounds[3] = {Ed<double>{true, -5}, Ed<double>{true, 1e9}, Ed<double>{true, -5}, Ed<double>{true, 5}};
            d->Obj.Xy.add(x);
            const std::string text = DocText(*d);
            std::uint8_t version = 0;
            ASSERT_EQ(ParseDocumentText(text, *(d = NewDocument()), version, ','), ReadOk);
            ProcessAfterReading(*d, nullptr);
            EXPECT_EQ(d->Obj.Xy[1].ScaleY.v, scale > 0 ? scale : 20) << "as the dialogs hold it";
            DrawEveryWay(*d, std::string(F) + " at scale " + std::to_string(scale));
        }
    // 3D systems with a Cartesian and an implicit (root-solved or scanned) surface: rows 0-3 moved 2000
    // pixels off the picture with the shipped sections, rows 4-6 at (300; 300) with one section at 300.
    for (const auto& [Z, F] : {std::pair{"ln(x*y)", "ln(x*y)-z"}, {"x^2+y^2", "x^2+y^2+z^2-16"}, {"sqrt(x^2+y^2)", "sqrt(x^2+y^2+z^2)-4"}})
        for (int row = 0; row < 7; ++row) {
            auto d = std::make_unique<DProj>(*doc);
            DXZ x;
            LoadDefaultXYZ(x, 1, src);
            x.SurfOn[1].v = x.SurfOn[4].v = true, x.Surf[1].s = Z, x.Surf[4].s = F;
            if (row > 3) {
                x.Scale.v = 10;
                for (auto& set : x.Sections)
                    for (std::size_t g = 1; g <= 3; ++g) {
                        set[g][1] = {{true, g == std::size_t(row - 3)}, {true, 300}, {}};
                        for (std::size_t b = 0; b < 4; ++b) set[g][1].Bounds[b].v = b % 2 ? 4 : -4;
                    }
            }
            const double far = row < 4 ? (row % 2 ? 2000 : -2000) : 0;
            PlaneShiftXYZ(x, (row < 2) * far + 300 - x.Center.ScrX.v, (row >= 2) * far + 300 - x.Center.ScrY.v);
            UpdateXYZ(x, 0);
            d->Obj.Xz.add(x);
            DrawEveryWay(*d, std::string(F) + ", row " + std::to_string(row));
        }
}

}  // namespace
}  // namespace pelmar::test
