// A surface drawn through the graph dispatcher: the outline is computed once
// in a full drawing, stored and reused; a stopped scan stores nothing; the
// shaded fill appears only in full own-picture drawings of the fill pass
// while the shaded picture is not cached; sections are drawn and traced ones
// stored.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "coord_fixture.h"
#include "drawing/curve_output.h"
#include "drawing/graph_run.h"
#include "drawing/sub_curve.h"
#include "drawing/surfaces.h"
#include "platform/qt_canvas.h"
#include "platform/raster_surface.h"
#include "support/recording_sinks.h"
#include "surface_fixture.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

// The sphere of radius 5 at 20 pixels per unit in the middle of a 400 x 300
// picture, its box from the sections x = -5 and x = 5.
SubCurveArgs SphereArgs() {
    SubCurveArgs a;
    a.ImProj = Picture(400, 300);
    a.ImProj.LightSource = 2;
    a.Kind = "Fxy3d";
    a.Formula1 = "x^2+y^2+z^2-25";
    a.OriginX = 200;
    a.OriginY = 150;
    a.ScaleX = a.ScaleY = 20;
    a.Extents = {200, 200, 200, 200, 200, 200};
    a.Thickness = 1;
    a.Sections = CubeSections(-5, 5);
    a.ObjectSlot = 11;
    a.Full = true;
    a.TargetChar = 'm';
    a.Outline.On = true;
    a.Outline.X1 = 0, a.Outline.Y1 = 0, a.Outline.X2 = 400, a.Outline.Y2 = 300;
    a.Outline.Step1 = 10;
    a.Outline.Step2 = 3;
    a.Outline.FitMode = 1;
    a.Outline.Colors = {0x0000FF, 0x00FF00, 0xFF0000};
    return a;
}

struct SurfaceRun {
    bool running = true;
    RecordingGraphHost host;
    std::unique_ptr<DProj> snap = NewDocument();
    std::unique_ptr<DProj> doc = NewDocument();
    GraphRun run;
    SurfaceRun() {
        snap->Obj.Xz.resize(1);
        doc->Obj.Xz.resize(1);
        run.Running = &running;
        run.Host = &host;
        run.Stores.DrawProj = snap.get();
        run.Stores.Proj = doc.get();
        run.DecimalSep = '.';
    }
    DCurve2& stored() { return snap->Obj.Xz[1].Outlines[3].Lines; }
};

std::size_t Polylines(const RecordingCanvas& rec) { return LinesStarting(rec, "drawPolyline").size(); }

// The run's host, counting the events the drawing pumps; it stops the drawing
// at the stopAt-th.
struct StopHost final : GraphHost, TextRole, ProgressRole {
    bool* running;
    long events = 0, stopAt;
    StopHost(SurfaceRun& r, long at) : running(&r.running), stopAt(at) { r.run.Host = this; }
    TextRole& texts() override { return *this; }
    ProgressRole* progressFor(TargetKind) override { return this; }
    void processEvents() override {
        if (++events == stopAt) *running = false;
    }
    void setProgress(int) override {}
    void showMessage(const std::string&) override {}
    std::string wordLine(int) override { return {}; }
    char decimalSeparator() override { return ','; }
    void showProgress(const std::string&) override {}
    void hideProgress() override {}
};

}  // namespace

TEST(SurfaceDraw, OutlineIsStoredAndReused) {
    SurfaceRun r;
    RecordingCanvas rec;
    PaintTarget t = PelTarget(rec);
    t.run = &r.run;
    SubCurveArgs a = SphereArgs();

    // A quick drawing computes nothing that is not stored.
    a.Full = false;
    DrawSubCurve(a, t, 2);
    EXPECT_EQ(Polylines(rec), 0u);
    EXPECT_EQ(r.stored().Valid, 0);

    a.Full = true;
    DrawSubCurve(a, t, 2);
    ASSERT_EQ(r.stored().Valid, 1);
    EXPECT_EQ(r.stored().Plane, PlaneAsIs);
    EXPECT_GE(Polylines(rec), 2u);
    EXPECT_EQ(r.doc->Obj.Xz[1].Outlines[3].Lines.Valid, 1);  // the main picture's outline goes to the document
    std::size_t points = 0;
    for (const DCurve1& l : r.stored().lines())
        for (const CurvePoint& p : l.points()) {
            ++points;
            EXPECT_TRUE(CurveMark(p));
            EXPECT_NEAR(SphereContourError((p.x - 200) / 20, (150 - p.y) / 20, 5), 0, 0.01);
        }
    EXPECT_GT(points, 100u);

    // Later drawings, quick ones too, draw the stored polylines as they are.
    std::vector<CurvePoint> mark{MakeCurvePoint(10, 10, true), MakeCurvePoint(60, 10, true)};
    DCurve2 fake = MakeCurve2({MakeCurve1(mark)}, PlaneAsIs);
    fake.Valid = 1;
    r.stored() = fake;
    rec.clear();
    a.Full = false;
    DrawSubCurve(a, t, 2);
    const std::string expected = " " + RecordingCanvas::Point({10, 10}) + " " + RecordingCanvas::Point({60, 10});
    int found = 0;
    for (const auto& l : LinesStarting(rec, "drawPolyline"))
        if (l.size() >= expected.size() && l.compare(l.size() - expected.size(), expected.size(), expected) == 0)
            ++found;
    EXPECT_EQ(found, 1);
}

TEST(SurfaceDraw, StoppedOutlineStoresNothing) {
    SurfaceRun r;
    StopHost host(r, 10);
    RecordingCanvas rec;
    PaintTarget t = PelTarget(rec);
    t.run = &r.run;
    DrawSubCurve(SphereArgs(), t, 3);  // the own picture's pass 3 pumps events
    EXPECT_EQ(host.events, 10);
    EXPECT_EQ(r.stored().Valid, 0);
    EXPECT_EQ(r.doc->Obj.Xz[1].Outlines[3].Lines.Valid, 0);
    EXPECT_EQ(Polylines(rec), 0u);
}

TEST(SurfaceDraw, ProgressOfSectionsAndOutline) {
    SurfaceRun r;
    RecordingCanvas rec;
    PaintTarget t = PelTarget(rec);
    t.run = &r.run;
    DrawSubCurve(SphereArgs(), t, 3);
    EXPECT_EQ(r.host.shows(),
              (std::vector<std::string>{"show pel Неявный график", "show pel Контур", "hide pel"}));
    // Pass 2 of the own picture shows nothing.
    r.host.log.clear();
    r.stored().Valid = 0;
    DrawSubCurve(SphereArgs(), t, 2);
    EXPECT_TRUE(r.host.shows().empty());
}

TEST(SurfaceDraw, SectionsAreDrawnAndTracedOnesStored) {
    SurfaceRun r;
    RecordingCanvas rec;
    PaintTarget t = PelTarget(rec);
    t.run = &r.run;
    SubCurveArgs a = SphereArgs();
    a.Outline.On = false;
    SetSection(a.Sections, 3, 4, 0, -5, 5, -5, 5);  // z = 0: the equator, traced into slot 58
    DrawSubCurve(a, t, 2);
    const DCurve2& eq = r.snap->Obj.Xz[1].Curves[58 - 10];
    EXPECT_EQ(eq.Valid, 1);
    EXPECT_EQ(eq.Plane, 3);
    EXPECT_GE(Polylines(rec), 1u);
}

// Far section bounds are cut to the picture with a band of its own size
// around it: over random sections (bounds up to 50000 units), origins and
// pictures, every point of a section that the picture shows stays in its
// window, the window reaches no farther than three pictures and one within the
// band is not cut.  Drawn, far bounds through the sphere's centre cost a
// column (a pumped event) per pixel of that band only, and its great circle
// is traced whole.
TEST(SurfaceDraw, FarSectionBoundsWalkThePictureOnly) {
    const double r8 = std::sqrt(8.0);
    std::srand(57);
    auto random = [](double lo, double hi) { return lo + (hi - lo) * std::rand() / RAND_MAX; };
    for (int trial = 0; trial < 300; ++trial) {
        const int w = 100 + std::rand() % 1200, h = 100 + std::rand() % 900;
        const bool wide = trial % 3 != 0;  // else a narrow section about an origin in the picture
        const double s = random(1, 60), cx = wide ? random(-w, 2.0 * w) : random(0, w),
                     cy = wide ? random(-h, 2.0 * h) : random(0, h);
        const int g = 1 + std::rand() % 3;
        const double reach = wide ? 50000 : 0.4 * std::min(w, h) / s;
        const double c = random(-reach, reach), b0 = random(-reach, 0), b1 = random(0, reach),
                     b2 = random(-reach, 0), b3 = random(0, reach);
        SurfaceSections sec;
        SetSection(sec, g, 1, c, b0, b1, b2, b3);
        const SurfaceSection whole = PlanSurfaceSections("Fxy3d", "x", 1, sec, s, cx, cy, '.')[0];
        const SurfaceSection cut = PlanSurfaceSections("Fxy3d", "x", 1, sec, s, cx, cy, '.', w, h)[0];
        SCOPED_TRACE(testing::Message() << "trial " << trial << " group " << g);
        EXPECT_LE(cut.Left + cut.Right, 3.0 * (w + h) + 1e-6);
        EXPECT_LE(cut.Top + cut.Bottom, 3.0 * (w + h) + 1e-6);
        for (double by : {whole.Left - cut.Left, whole.Right - cut.Right, whole.Top - cut.Top,
                          whole.Bottom - cut.Bottom})
            EXPECT_TRUE(wide ? by >= 0 : by == 0) << by;
        for (int k = 0; k < 200; ++k) {
            // A picture point, the point (u, v) of the section's plane under it,
            // and its column and height in the window.
            const double px = random(0, w), py = random(0, h);
            double u = 0, v = 0;
            if (g == 1) u = (px - cx) / s + c / r8, v = (cy - py) / s + c / r8;
            if (g == 2) u = r8 * (c - (px - cx) / s), v = (cy - py) / s + u / r8;
            if (g == 3) u = r8 * ((py - cy) / s + c), v = (px - cx) / s + u / r8;
            if (u < b0 || u > b1 || v < b2 || v > b3) continue;
            const double column = g == 1 ? u * s : -u * s / r8, height = v * s, e = 1e-6;
            EXPECT_TRUE(column >= -cut.Left - e && column <= cut.Right + e && height >= -cut.Bottom - e &&
                        height <= cut.Top + e)
                << px << ", " << py;
        }
    }
    for (int g = 1; g <= 3; ++g) {
        SCOPED_TRACE(g);
        SurfaceRun r;
        StopHost host(r, 40000);  // where an uncut window would go on
        RecordingCanvas rec;
        PaintTarget t = PelTarget(rec);
        t.run = &r.run;
        SubCurveArgs a = SphereArgs();
        a.Outline.On = false;
        a.Sections = {};
        SetSection(a.Sections, g, 1, 0, -49999, 49999, -49999, 49999);
        DrawSubCurve(a, t, 3);
        EXPECT_LT(host.events, 3 * 400 + 3 * 300 + 1000);
        const DCurve2& traced = r.snap->Obj.Xz[1].Curves[static_cast<std::size_t>(32 + 11 * (g - 1) + 1 - 10)];
        ASSERT_EQ(traced.Valid, 1);
        std::size_t points = 0;
        for (const DCurve1& l : traced.lines()) points += l.points().size();
        EXPECT_GT(points, 100u);
    }
}

TEST(SurfaceDraw, GradientOnlyInFullFillPassWhileNotCached) {
    SurfaceRun r;
    SubCurveArgs a = SphereArgs();
    a.Outline.On = false;
    a.Outline.GradientOn = true;
    auto paint = [&](const SubCurveArgs& args, int pass, const char* word = "pel") {
        QImage im(400, 300, QImage::Format_ARGB32_Premultiplied);
        im.fill(0xFFFFFFFF);
        RasterSurface raster(im);
        PaintTarget t;
        t.kind = TargetKindOf(word);
        t.raster = &raster;
        t.run = &r.run;
        DrawSubCurve(args, t, pass);
        int changed = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                if (im.pixel(x, y) != 0xFFFFFFFF) ++changed;
        return changed;
    };
    EXPECT_GT(paint(a, 1), 20000);
    EXPECT_EQ(paint(a, 2), 0);
    EXPECT_EQ(paint(a, 1, "cdr"), 0);
    SubCurveArgs quick = a;
    quick.Full = false;
    EXPECT_EQ(paint(quick, 1), 0);
    r.snap->FillValid = 1;  // the shaded picture is cached
    EXPECT_EQ(paint(a, 1), 0);
    r.snap->FillValid = 0;
    r.running = false;
    EXPECT_EQ(paint(a, 1), 0);
}

// The paraboloid z = x² + y² with sections, outline and shading on one
// picture: shading in the fill pass, lines over it.  Written out as a PNG
// when PELMAR_RENDER_DIR names a folder.
TEST(SurfaceDraw, RenderedParaboloid) {
    SurfaceRun r;
    SubCurveArgs a = SphereArgs();
    a.Kind = "dec3d";
    a.Formula1 = "x^2+y^2";
    a.SurfaceNumber = 1;
    a.OriginY = 230;
    a.ScaleX = a.ScaleY = 40;
    a.Sections = {};
    for (int k = 1; k <= 5; ++k) {
        SetSection(a.Sections, 1, k, -2 + k - 1, -2, 2, 0, 4);
        SetSection(a.Sections, 2, k, -2 + k - 1, -2, 2, 0, 4);
    }
    for (int k = 1; k <= 3; ++k) SetSection(a.Sections, 3, k, k, -2, 2, -2, 2);
    a.Outline.GradientOn = true;
    a.Outline.ScanDir = 0;
    a.Style.LineType = 1;
    a.Style.VisibilityMode = 2;
    a.Style.Dash = 4;
    a.Style.Gap = 3;
    QImage im(400, 300, QImage::Format_ARGB32_Premultiplied);
    im.fill(0xFFFFFFFF);
    {
        RasterSurface raster(im);
        PaintTarget t;
        t.kind = TargetKind::Pel;
        t.raster = &raster;
        t.run = &r.run;
        DrawSubCurve(a, t, 1);
    }
    {
        QtCanvas canvas(im);
        PaintTarget t;
        t.kind = TargetKind::Pel;
        t.canvas = &canvas;
        t.run = &r.run;
        DrawSubCurve(a, t, 2);
    }
    EXPECT_EQ(r.snap->Obj.Xz[1].Outlines[1].Lines.Valid, 1);
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(r.snap->Obj.Xz[1].Curves[k].Valid, 1);  // z-sections of surface 1
    // The bowl's bottom (the origin) is shaded, the corners of the picture are not.
    EXPECT_NE(im.pixel(200, 226), 0xFFFFFFFFu);
    EXPECT_EQ(im.pixel(2, 2), 0xFFFFFFFFu);
    if (const char* dir = std::getenv("PELMAR_RENDER_DIR")) im.save(QString(dir) + "/surface_paraboloid.png");
}
