// Drawings whose graphs reach far past the picture: implicit graphs moved
// far, 3D systems moved off the picture, sections far from their system's
// centre on each surface kind, and a 2D system read from a file with a
// negative scale.  Each is built in full, drawn again, exported to both
// shape files and animated: no exception leaves any of them, the next redraw
// draws, and the columns the tracer walks (one pumped event each) stay within
// a few pictures.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "files/document.h"
#include "model/defaults.h"
#include "model/transform.h"
#include "model/update.h"
#include "office_fixture.h"
#include "support/fake_redraw_host.h"
#include "transform/anim_build.h"

namespace pelmar::test {
namespace {

struct QuietAnimHost final : AnimHost {
    void setStatus(const std::string&, TColor) override {}
    void setProgress(int, int) override {}
    bool cancelRequested() override { return false; }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    const WordTable* words() const override { return nullptr; }
    std::vector<std::string> messages;
};

DefaultsSource Source(const DProj& doc) {
    DefaultsSource src;
    src.programFolder = "/nonexistent";
    src.pictureWidth = doc.Im.Width;
    src.pictureHeight = doc.Im.Height;
    return src;
}

std::unique_ptr<DProj> LargePicture() {
    auto doc = NewDocument();
    doc->Im.Width = 800;
    doc->Im.Height = 600;
    doc->AnimFrames = 2;
    doc->AnimDelay = 10;
    doc->AnimStart = "0";
    doc->AnimStep = "1";
    return doc;
}

// A 2D system with its implicit graph F over ±5, moved by (0, dy).
std::unique_ptr<DProj> MovedImplicitGraph(const std::string& F, double dy) {
    auto doc = LargePicture();
    DXOY x;
    LoadDefaultXOY(x, 1, Source(*doc));
    x.GraphOn[6].v = true;
    x.Graph[6].s = F;
    x.Bounds[3] = {Ed<double>{true, -5}, Ed<double>{true, 5}, Ed<double>{true, -5}, Ed<double>{true, 5}};
    x.Move[6].Moved.v = dy != 0;
    x.Move[6].DY.v = dy;
    UpdateXOY(x, 0);
    doc->Obj.Xy.add(x);
    return doc;
}

// A 3D system at `scale` with z = Z as its first Cartesian surface and F = 0
// as its implicit one, their sections those of the shipped set or the ones
// given, its centre moved by (dx, dy) pixels.
std::unique_ptr<DProj> System(const std::string& Z, const std::string& F, double scale, double dx, double dy,
                              const std::function<void(DXZ&)>& sections = {}) {
    auto doc = LargePicture();
    DXZ x;
    LoadDefaultXYZ(x, 1, Source(*doc));
    x.Scale.v = scale;
    x.SurfOn[1].v = x.SurfOn[4].v = true;
    x.Surf[1].s = Z;
    x.Surf[4].s = F;
    if (sections) sections(x);
    PlaneShiftXYZ(x, dx, dy);
    UpdateXYZ(x, 0);
    doc->Obj.Xz.add(x);
    return doc;
}

// Only the section x = 300 (y = 300, z = 300 by `group`) with bounds ±4 on.
std::function<void(DXZ&)> FarSection(std::size_t group) {
    return [group](DXZ& x) {
        for (auto& set : x.Sections)
            for (std::size_t d = 1; d <= 3; ++d) {
                DSection& s = set[d][1];
                s.On.v = d == group;
                s.C.v = 300;
                for (std::size_t b = 0; b < 4; ++b) s.Bounds[b].v = b % 2 ? 4 : -4;
            }
    };
}

// The document as a file gives it back, through the reader.
std::unique_ptr<DProj> ReadBack(const DProj& doc) {
    const std::string text = DocumentText(doc, WindowsFromRecord(doc), doc.Role, ',');
    auto back = NewDocument();
    std::uint8_t version = 0;
    EXPECT_EQ(ParseDocumentText(text, *back, version, ','), ReadOk);
    ProcessAfterReading(*back, nullptr);
    return back;
}

// Built, drawn again, exported and animated with no exception and bounded.
void DrawEveryWay(DProj& doc, const std::string& what) {
    SCOPED_TRACE(what);
    // One event a traced column, a few pictures of columns a curve at most.
    const long bound = 2L * 3 * (800 + 600);
    FakeRedrawHost host;
    host.view = {0, 0, 800, 600};
    DrawingState st;
    long events = 0;
    host.onProcessEvents = [&] {
        if (++events > bound) st.Running = false;  // an unbounded walk is stopped here
    };
    EXPECT_NO_THROW(RepaintProject(doc, st, host, RedrawMode::Window, true));
    ASSERT_LE(events, bound);
    ASSERT_FALSE(st.Running);
    host.shown = QImage();
    EXPECT_NO_THROW(RepaintProject(doc, st, host, RedrawMode::Window, false));
    EXPECT_FALSE(host.shown.isNull()) << "the next redraw draws";

    RunRig cdr(doc), wrd(doc);
    *cdr.snapshot = doc;
    *wrd.snapshot = doc;
    bool odg = false, odt = false;
    EXPECT_NO_THROW(odg = ExportToCorelDraw(8, cdr.path("far.odg"), RunMode::DoNotOpen, doc.Im, cdr.run));
    EXPECT_NO_THROW(odt = ExportToOffice(wrd.path("far.odt"), RunMode::DoNotOpen, doc.Im, wrd.run));
    EXPECT_TRUE(odg && odt);

    QuietAnimHost anim;
    QTemporaryDir dir;
    events = 0;
    AnimResult r;
    EXPECT_NO_THROW(r = BuildAnimation(doc, st, host, anim, dir.filePath("far.gif").toStdString()));
    EXPECT_EQ(r.frames, 2);
    EXPECT_LE(events, 3 * bound);
}

TEST(FarDrawing, MovedGraphsFarSectionsAndReadScales) {
    for (const char* F : {"ln(x)", "sin(x*y)", "y^3+x"}) {
        auto doc = MovedImplicitGraph(F, -1000);
        DrawEveryWay(*doc, std::string(F) + " moved by -1000");
    }
    for (const auto& [dx, dy] : {std::pair{2000, 0}, {-2000, 0}, {0, 2000}, {0, -2000}}) {
        auto doc = System("ln(x*y)", "ln(x*y)-z", 20, dx, dy);
        DrawEveryWay(*doc, "3D system moved by " + std::to_string(dx) + ", " + std::to_string(dy));
    }
    // Far sections of each surface kind, in every direction, through the
    // system's centre placed at (300; 300): spheres and paraboloids whose
    // sections the roots of a polynomial give, and cones whose sections the
    // scan finds.
    for (const auto& [Z, F] : {std::pair{"x^2+y^2", "x^2+y^2+z^2-16"}, {"sqrt(x^2+y^2)", "sqrt(x^2+y^2+z^2)-4"}})
        for (std::size_t group = 1; group <= 3; ++group) {
            auto doc = System(Z, F, 10, 0, 0, FarSection(group));
            DXZ& x = doc->Obj.Xz[1];
            PlaneShiftXYZ(x, 300 - x.Center.ScrX.v, 300 - x.Center.ScrY.v);
            UpdateXYZ(x, 0);
            DrawEveryWay(*doc, std::string(F) + ", far section " + std::to_string(group));
        }

    // A file's scale the dialogs refuse is read as the default system's; a
    // scale they take stays as written.
    for (double scale : {-40.0, 0.0, 40.0}) {
        auto doc = MovedImplicitGraph("x^2+y^2-16", 0);
        DXOY& x = doc->Obj.Xy[1];
        x.ScaleY.v = scale;
        x.Bounds[3][0].v = -5;
        x.Bounds[3][1].v = 1e9;
        auto read = ReadBack(*doc);
        ASSERT_EQ(read->Obj.Xy.count(), 1u);
        EXPECT_EQ(read->Obj.Xy[1].ScaleY.v, scale > 0 ? scale : 20);
        EXPECT_EQ(read->Obj.Xy[1].ScaleX.v, 20);
        DrawEveryWay(*read, "read with scale " + std::to_string(scale));
    }
}

}  // namespace
}  // namespace pelmar::test
