// The redraw pipeline: busy state, stop, re-entry, caption, status, the
// shading cache, the picture modes, previews and the window's picture.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>

#include "drawing/redraw.h"
#include "paint_fixture.h"
#include "platform/raster_surface.h"
#include "support/fake_redraw_host.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

using Lines = std::vector<std::string>;

QRgb Rgb24(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFFu; }

constexpr QRgb QRed = 0xFF0000, QWhite = 0xFFFFFF, QBlue = 0x0000FF, QGreen = 0x00FF00;

// Within `tol` in each channel (anti-aliased edges).
bool Near(QRgb a, QRgb b, int tol = 24) {
    return std::abs(qRed(a) - qRed(b)) <= tol && std::abs(qGreen(a) - qGreen(b)) <= tol &&
           std::abs(qBlue(a) - qBlue(b)) <= tol;
}

bool Logged(const FakeRedrawHost& host, const std::string& line) {
    return std::find(host.log.begin(), host.log.end(), line) != host.log.end();
}

struct RedrawTest : ::testing::Test {
    std::unique_ptr<DProj> proj = NewDocument();
    DrawingState st;
    FakeRedrawHost host;
    std::deque<std::int64_t> clock;

    void SetUp() override {
        st.Clock = [this] {
            if (clock.empty()) return std::int64_t{0};
            const std::int64_t t = clock.front();
            if (clock.size() > 1) clock.pop_front();
            return t;
        };
        proj->Im = Picture(200, 150);
        host.view = {0, 0, 200, 150};
    }

    void AddSystem() {
        DXOY x{};
        x.Layer.v = 1;
        proj->Obj.Xy.add(x);
    }
    // A filled ellipse whose fill painter paints a red disc on the raster.
    int* AddFilledCircle(bool fillOn) {
        DCircle c{};
        c.Layer.v = 1;
        c.Fill.On = fillOn;
        proj->Obj.Ci.add(c);
        fills = 0;
        st.Painters.circle.pass1 = [this](const DCircle&, const DImProj&, const PaintTarget& t) {
            ++fills;
            t.raster->fillEllipse({20, 20, 40, 40}, Red);
        };
        return &fills;
    }
    int fills = 0;
};

// ---------------------------------------------------------------------------
// Busy state, stop and re-entry

TEST_F(RedrawTest, BusyStateOfAFullRun) {
    host.buttons["TBUndo"] = false;
    host.buttons["TBToKv"] = true;
    AddSystem();
    bool checked = false;
    st.Painters.xoy.pass2 = [&](const DXOY&, bool, int, const DImProj&, char, const PaintTarget&) {
        checked = true;
        EXPECT_TRUE(st.Running);
        EXPECT_EQ(host.playImage, 52);
        EXPECT_EQ(host.playHint, "Остановить построение");
        EXPECT_FALSE(host.playEnabled);  // disabled for pass 2
        EXPECT_FALSE(host.commandsEnabled);
        for (MainCommand c : LockedButtons) EXPECT_FALSE(host.buttons[InfoOf(c).tool]) << InfoOf(c).tool;
        EXPECT_TRUE(host.buttons["TBToKv"]);
    };
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    ASSERT_TRUE(checked);
    EXPECT_FALSE(st.Running);
    EXPECT_EQ(host.playImage, 10);
    EXPECT_EQ(host.playHint, "Построить чертеж");
    EXPECT_TRUE(host.playEnabled);
    EXPECT_TRUE(host.commandsEnabled);
    EXPECT_FALSE(host.buttons["TBUndo"]);  // restored as it was
    EXPECT_TRUE(host.buttons["TBNew"]);
    EXPECT_EQ(host.log.front(), "commitFocusedEdits");
    EXPECT_TRUE(Logged(host, "selectNone"));
    EXPECT_EQ(host.log.back(), "updateSelectionUI");
}

TEST_F(RedrawTest, PlainRedrawLeavesTheCommandsAlone) {
    RepaintProject(*proj, st, host, RedrawMode::Window, false);
    EXPECT_FALSE(Logged(host, "commitFocusedEdits"));
    EXPECT_FALSE(Logged(host, "selectNone"));
    EXPECT_FALSE(Logged(host, "commands 0"));
    EXPECT_FALSE(Logged(host, "processEvents"));
    EXPECT_FALSE(Logged(host, "playImage 52"));
    EXPECT_FALSE(st.Running);
}

TEST_F(RedrawTest, StopWhileTracingTheFirstSystem) {
    AddSystem();
    int pass2 = 0;
    st.Painters.xoy.pass1 = [&](const DXOY&, bool, int, const DImProj&, char, const PaintTarget&) {
        RepaintProject(*proj, st, host, RedrawMode::Window, true);  // the play button pressed again
    };
    st.Painters.xoy.pass2 = [&](const DXOY&, bool, int, const DImProj&, char, const PaintTarget&) { ++pass2; };
    DPoint p = MakePoint(100, 75, 2, 5);
    proj->Obj.Po.add(p);
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    EXPECT_EQ(pass2, 0);
    EXPECT_FALSE(st.Running);
    EXPECT_EQ(host.playImage, 10);
    EXPECT_TRUE(host.commandsEnabled);
    EXPECT_TRUE(host.buttons["TBNew"]);
    EXPECT_FALSE(Logged(host, "processEvents"));
    // The window shows the picture as far as it was drawn: no point.
    ASSERT_FALSE(host.shown.isNull());
    EXPECT_EQ(Rgb24(host.shown, 100, 75), QWhite);
    EXPECT_NE(host.caption.find("сек."), std::string::npos);
}

// A part that throws is told once a drawing and the others are drawn; one thrown between the parts
// ends the drawing.  No exception leaves the redraw, its state is put back, and the next one draws.
TEST_F(RedrawTest, APartThatThrowsIsToldAndTheDrawingGoesOn) {
    AddSystem(), AddSystem(), proj->Obj.Po.add(MakePoint(100, 75, 2, 5));
    std::vector<int> drawn;
    st.Painters.xoy.pass1 = [&](const DXOY&, bool, int i, const DImProj&, char, const PaintTarget&) {
        if (i == 1) throw std::length_error("vector::_M_default_append");
    };
    st.Painters.xoy.pass2 = [&](const DXOY&, bool, int i, const DImProj&, char, const PaintTarget&) {
        i == 1 ? throw std::bad_alloc() : drawn.push_back(i);
    };
    int events = 0;
    host.onProcessEvents = [&] { ++events == 2 ? throw std::bad_alloc() : void(); };  // between the parts
    for (long run = 1; run <= 3; ++run) {
        EXPECT_NO_THROW(RepaintProject(*proj, st, host, RedrawMode::Window, true));
        EXPECT_TRUE(!st.Running && host.playEnabled && host.commandsEnabled && host.playImage == 10);
        EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "message Не могу построить график!"), run);
        EXPECT_EQ(Rgb24(host.shown, 100, 75) != QWhite, run != 2) << run;  // the point after the parts
    }
    EXPECT_EQ(drawn, (std::vector<int>{2, 2}));  // runs 1 and 3
}

TEST_F(RedrawTest, StopBetweenThePasses) {
    AddSystem();
    int pass2 = 0;
    st.Painters.xoy.pass2 = [&](const DXOY&, bool, int, const DImProj&, char, const PaintTarget&) { ++pass2; };
    host.onProcessEvents = [&] { RepaintProject(*proj, st, host, RedrawMode::Window, true); };
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    EXPECT_EQ(pass2, 1);  // pass 2 is not interrupted
    EXPECT_FALSE(st.Running);
    EXPECT_EQ(host.playImage, 10);
    EXPECT_TRUE(host.commandsEnabled);
}

// A redraw asked for while the events are handled between the passes does
// not run inside the running one: it runs once, afterwards.
TEST_F(RedrawTest, ARedrawDuringARunComesAfterIt) {
    AddSystem();
    proj->Obj.Po.add(MakePoint(10, 10));
    Lines order;
    st.Painters.xoy.pass1 = [&](const DXOY&, bool full, int, const DImProj&, char, const PaintTarget&) {
        order.push_back(full ? "p1 full" : "p1");
    };
    st.Painters.xoy.pass2 = [&](const DXOY&, bool full, int, const DImProj&, char, const PaintTarget&) {
        order.push_back(full ? "p2 full" : "p2");
    };
    int requests = 0;
    host.onProcessEvents = [&] {
        proj->Obj.Po[1].ScrX.v = 77;  // an edit reaches the document meanwhile
        RepaintProject(*proj, st, host, RedrawMode::Window, false);
        RepaintProject(*proj, st, host, RedrawMode::Window, false);
        ++requests;
    };
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(order, (Lines{"p1 full", "p2 full", "p1", "p2"}));
    EXPECT_FALSE(st.RedrawPending);
    EXPECT_FALSE(st.Running);
    EXPECT_EQ(st.DrawProj->Obj.Po[1].ScrX.v, 77);
    EXPECT_EQ(std::count_if(host.log.begin(), host.log.end(),
                            [](const std::string& l) { return l.rfind("caption", 0) == 0; }),
              2);
}

TEST_F(RedrawTest, APreviewDuringARunDrawsNothing) {
    AddSystem();
    st.PreviewProj->Im = Picture(100, 100);
    st.Painters.xoy.pass2 = [&](const DXOY&, bool, int, const DImProj&, char, const PaintTarget&) {
        RepaintProject(*proj, st, host, RedrawMode::OpenPreview, false);
    };
    RepaintProject(*proj, st, host, RedrawMode::Window, false);
    EXPECT_EQ(host.previewMode, 0);
    EXPECT_FALSE(st.RedrawPending);
}

// ---------------------------------------------------------------------------
// Caption

TEST(RedrawCaption, ElapsedTime) {
    EXPECT_EQ(ElapsedSeconds(0, 1300), 1.3);
    EXPECT_EQ(ElapsedSeconds(0, 1250), 1.2);  // halves to even
    EXPECT_EQ(ElapsedSeconds(0, 4949), 4.9);
    EXPECT_EQ(ElapsedSeconds(0, 4999), 5);
    EXPECT_EQ(ElapsedSeconds(0, 5000), 5);
    EXPECT_EQ(ElapsedSeconds(0, 5500), 6);
    EXPECT_EQ(ElapsedSeconds(0, 6500), 6);
    EXPECT_EQ(ElapsedSeconds(0, 0), 0);
    EXPECT_EQ(ElapsedSeconds(86399500, 800), 1.3);      // across midnight
    EXPECT_EQ(ElapsedSeconds(86395000, 3000), 8);
}

TEST(RedrawCaption, CaptionText) {
    EXPECT_EQ(TimedCaption("Рисунок (Растровое)", 1.3, ',', "сек."), "Рисунок (Растровое)  1,3 сек.");
    EXPECT_EQ(TimedCaption("Рисунок (Растровое)  1,3 сек.", 12, ',', "сек."), "Рисунок (Растровое)  12 сек.");
    EXPECT_EQ(TimedCaption("a (b) (c) x", 0.5, '.', "s"), "a (b) (c)  0.5 s");
    EXPECT_EQ(TimedCaption("no brackets", 2, ',', "сек."), "  2 сек.");
}

TEST_F(RedrawTest, CaptionAcrossMidnight) {
    host.caption = "Рисунок (Растровое)  99 сек.";
    clock = {86399000, 300};
    RepaintProject(*proj, st, host, RedrawMode::Window, false);
    EXPECT_EQ(host.caption, "Рисунок (Растровое)  1,3 сек.");
    clock = {1000, 8499};
    RepaintProject(*proj, st, host, RedrawMode::Window, false);
    EXPECT_EQ(host.caption, "Рисунок (Растровое)  7 сек.");
    EXPECT_TRUE(Logged(host, "hideProgressBar"));
    EXPECT_EQ(host.panels[2], "");
}

// ---------------------------------------------------------------------------
// Shading cache and status

TEST_F(RedrawTest, FullRunBuildsAndCachesTheShading) {
    int* fillsDone = AddFilledCircle(true);
    proj->FillValid = 0;
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    EXPECT_EQ(*fillsDone, 1);
    EXPECT_TRUE(Logged(host, "panel 2 Gradient..."));
    EXPECT_EQ(proj->FillValid, 1);  // the edited document, not the snapshot
    EXPECT_EQ(st.DrawProj->FillValid, 0);
    ASSERT_FALSE(st.BackPng.isNull());
    EXPECT_EQ(Rgb24(st.BackPng, 40, 40), QRed);
    EXPECT_EQ(Rgb24(host.shown, 40, 40), QRed);
    EXPECT_EQ(host.panels[4], "");  // raster mode

    // A plain redraw with a valid cache shows the cached shading.
    host.log.clear();
    RepaintProject(*proj, st, host, RedrawMode::Window, false);
    EXPECT_EQ(*fillsDone, 1);
    EXPECT_FALSE(Logged(host, "panel 2 Gradient..."));
    EXPECT_EQ(Rgb24(st.DrawBitmap, 40, 40), QRed);

    // With the cache invalid the fills are missing until the next full run.
    proj->FillValid = 0;
    RepaintProject(*proj, st, host, RedrawMode::Window, false);
    EXPECT_EQ(*fillsDone, 1);
    EXPECT_EQ(Rgb24(st.DrawBitmap, 40, 40), QWhite);
}

// A redraw with the kept shading shows the built picture pixel for pixel,
// whatever the back buffer it paints into held before (the buffer the cache
// covers whole is not cleared first), with and without a coordinate system
// painted before the cache is laid.
TEST_F(RedrawTest, KeptShadingGivesTheBuiltPicture) {
    for (const bool system : {false, true}) {
        SCOPED_TRACE(system ? "with a system" : "figures only");
        proj = NewDocument();
        proj->Im = Picture(200, 150);
        proj->Im.Smooth = true;
        AddFilledCircle(true);
        proj->Obj.Po.add(MakePoint(40, 40, 2, 6, Blue));
        proj->Obj.Li.add(MakeLine(10, 140, 190, 20, 3, Black));
        if (system) AddSystem();
        st.SpareBack = QImage();
        proj->FillValid = 0;
        RepaintProject(*proj, st, host, RedrawMode::Window, true);
        const QImage built = host.shown.copy();
        ASSERT_EQ(built.size(), QSize(200, 150));
        for (int round = 0; round < 4; ++round) {
            // Scribble on every buffer the window does not show.
            if (!st.SpareBack.isNull()) st.SpareBack.fill(Qt::green);
            RepaintProject(*proj, st, host, RedrawMode::Window, false);
            EXPECT_EQ(host.shown, built) << round;
            EXPECT_EQ(host.shown.constBits(), st.DrawBitmap.constBits()) << round;
        }
    }
}

TEST_F(RedrawTest, NoShadedFillsNoGradientAndNoCache) {
    int* fillsDone = AddFilledCircle(false);
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    EXPECT_EQ(*fillsDone, 1);  // the painter decides about its fill
    EXPECT_FALSE(Logged(host, "panel 2 Gradient..."));
    EXPECT_TRUE(st.BackPng.isNull());
    EXPECT_EQ(proj->FillValid, 0);
}

TEST_F(RedrawTest, GraphStatusText) {
    DXOY x{};
    x.Layer.v = 1;
    x.GraphOn[2].v = true;
    proj->Obj.Xy.add(x);
    RepaintProject(*proj, st, host, RedrawMode::Window, false);
    EXPECT_TRUE(Logged(host, "panel 2 Декартов график"));
    EXPECT_EQ(host.panels[2], "");
}

TEST_F(RedrawTest, MetafileModeStatusAndFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    st.MetaPath = dir.path().toStdString() + "/Temp/MetaTemp.emf";
    proj->Im.PicMode = 1;
    int* fillsDone = AddFilledCircle(true);
    proj->Obj.Po.add(MakePoint(150, 75, 2, 6, Blue));
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    EXPECT_EQ(*fillsDone, 1);
    EXPECT_EQ(host.panels[4], "Градиент построен");
    EXPECT_TRUE(std::filesystem::exists(st.MetaPath));
    EXPECT_GT(std::filesystem::file_size(st.MetaPath), 0u);
    // The shading reaches the cache only; the picture holds pass 2 alone.
    EXPECT_EQ(st.DrawBitmap.size(), QSize(1, 1));
    EXPECT_EQ(Rgb24(st.BackPng, 40, 40), QRed);
    EXPECT_EQ(Rgb24(host.shown, 40, 40), QWhite);
    EXPECT_EQ(Rgb24(host.shown, 150, 75), QBlue);

    proj->FillValid = 0;
    RepaintProject(*proj, st, host, RedrawMode::Window, false);
    EXPECT_EQ(host.panels[4], "Градиент не построен");
    EXPECT_TRUE(st.MetaWritten);

    // A drawing that writes no metafile drops the older one: the export then
    // refuses instead of copying a picture that is not on the screen.
    proj->Im.PicMode = 0;
    RepaintProject(*proj, st, host, RedrawMode::Window, false);
    EXPECT_FALSE(st.MetaWritten);
    EXPECT_FALSE(std::filesystem::exists(st.MetaPath));
}

// The fills of pass 1 go through a surface clipped to the back buffer,
// whatever its size: in metafile mode without a shading run it is 1 x 1.
TEST_F(RedrawTest, FillsAreClippedToThePicture) {
    proj->Im.PicMode = 1;
    DCircle c{};
    c.Layer.v = 1;
    proj->Obj.Ci.add(c);
    QSize seen;
    st.Painters.circle.pass1 = [&](const DCircle&, const DImProj& im, const PaintTarget& t) {
        seen = QSize(t.raster->width(), t.raster->height());
        t.raster->fillEllipse({-50, -50, double(im.Width) + 100, double(im.Height) + 100}, Red);
        t.raster->fillPolygon(std::vector<PointF>{{-10, -10}, {500, 0}, {0, 500}}, [](int x, int y) {
            return static_cast<Rgb>(x * y);
        });
        for (int y = -2; y < im.Height + 2; ++y) t.raster->setPixel(im.Width - 1 + y, y, Green);
    };
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    EXPECT_EQ(seen, QSize(1, 1));

    proj->Im.PicMode = 0;
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    EXPECT_EQ(seen, QSize(200, 150));
    EXPECT_EQ(st.DrawBitmap.size(), QSize(200, 150));
}

// ---------------------------------------------------------------------------
// Previews

TEST_F(RedrawTest, PreviewsPaintTheirOwnDocument) {
    proj->Obj.Po.add(MakePoint(100, 75, 2, 5, Red));
    RepaintProject(*proj, st, host, RedrawMode::Window, false);
    const QImage before = st.DrawBitmap.copy();
    st.DrawProj->Caption = "snapshot";

    DProj& pre = *st.PreviewProj;
    pre.Im = Picture(800, 600);
    pre.Im.PicMode = 1;
    pre.Obj.Po.add(MakePoint(400, 300, 2, 60, Blue));
    RepaintProject(*proj, st, host, RedrawMode::OpenPreview, false);
    EXPECT_EQ(host.previewMode, 2);
    ASSERT_EQ(host.preview.size(), QSize(176, 132));
    EXPECT_EQ(Rgb24(host.preview, 88, 66), QBlue);
    EXPECT_EQ(Rgb24(host.preview, 5, 5), QWhite);
    EXPECT_EQ(st.DrawProj->Caption, "snapshot");
    EXPECT_EQ(st.DrawBitmap, before);

    pre.Im = Picture(100, 120);
    RepaintProject(*proj, st, host, RedrawMode::SavePreview, false);
    EXPECT_EQ(host.previewMode, 3);
    EXPECT_EQ(host.preview.size(), QSize(100, 120));
    EXPECT_FALSE(Logged(host, "selectNone"));
}

TEST(RedrawHelpers, FitToBox) {
    int w = -1, h = -1;
    FitToBox(800, 600, 176, w, h, 176);
    EXPECT_EQ(w, 176);
    EXPECT_EQ(h, 132);
    FitToBox(600, 800, 176, w, h, 176);
    EXPECT_EQ(w, 132);
    EXPECT_EQ(h, 176);
    FitToBox(100, 50, 176, w, h, 176);
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 50);
    FitToBox(177, 177, 176, w, h, 176);
    EXPECT_EQ(w, 176);
    EXPECT_EQ(h, 176);
    FitToBox(1000, 500, 176, w, h, 176);
    EXPECT_EQ(h, 88);
    FitToBox(0, 500, 176, w, h, 176);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 176);
    FitToBox(500, 0, 176, w, h, 176);
    EXPECT_EQ(w, 176);
    EXPECT_EQ(h, 0);
    FitToBox(0, 0, -1, w, h, -1);  // a box of no size: no division by zero
    EXPECT_EQ(w, -1);
    EXPECT_EQ(h, 0);
}

TEST(RedrawHelpers, HasGradientFills) {
    auto d = NewDocument();
    EXPECT_FALSE(HasGradientFills(*d));
    DTri t{};
    d->Obj.Tr.add(t);
    EXPECT_FALSE(HasGradientFills(*d));
    DPr4 p{};
    p.Fill.On = true;
    d->Obj.R4.add(p);
    EXPECT_TRUE(HasGradientFills(*d));
    auto e = NewDocument();
    DKv k{};
    k.Fill.On = true;
    e->Obj.Kv.add(k);
    EXPECT_TRUE(HasGradientFills(*e));
}

// ---------------------------------------------------------------------------
// The window's picture

TEST_F(RedrawTest, PresentAtZoomAndScroll) {
    RepaintProject(*proj, st, host, RedrawMode::Window, false);
    st.DrawBitmap.fill(Qt::white);
    for (int y = 0; y < 150; ++y)
        for (int x = 50; x < 200; ++x) st.DrawBitmap.setPixel(x, y, qRgb(255, 0, 0));
    proj->Zoom = 200;
    host.view = {10, 20, 100, 50};
    PresentBackBuffer(*proj, st, host);
    EXPECT_EQ(host.boxWidth, 400);
    EXPECT_EQ(host.boxHeight, 300);
    ASSERT_EQ(host.shown.size(), QSize(100, 50));
    // View x shows picture x (x + 10) / 2: red from view x 90 on.
    EXPECT_EQ(Rgb24(host.shown, 85, 10), QWhite);
    EXPECT_EQ(Rgb24(host.shown, 95, 10), QRed);
    EXPECT_TRUE(Logged(host, "showPicture 400x300 at 10,20"));

    // At 100 % the window gets the back buffer itself, whatever the scroll;
    // the next redraws paint into other buffers and leave the picture on
    // the screen as it was, and each shows its own picture.
    proj->Zoom = 100;
    PresentBackBuffer(*proj, st, host);
    EXPECT_EQ(host.boxWidth, 200);
    EXPECT_EQ(host.boxHeight, 150);
    EXPECT_EQ(host.shown.constBits(), st.DrawBitmap.constBits());
    EXPECT_TRUE(Logged(host, "showPicture 200x150 at 0,0"));
    for (int round = 0; round < 3; ++round) {
        const QImage onScreen = host.shown, before = onScreen.copy();
        proj->Im.Background = round % 2 ? 0x00FF00 : 0xFF0000;
        RepaintProject(*proj, st, host, RedrawMode::Window, false);
        EXPECT_EQ(onScreen, before) << round;
        EXPECT_EQ(Rgb24(host.shown, 2, 2), round % 2 ? QGreen : QBlue) << round;
    }
}

TEST_F(RedrawTest, BackgroundPictureShowsThroughTheBackground) {
    proj->Im.BackOn = true;
    st.BackBitmap = QImage(200, 150, QImage::Format_RGB32);
    st.BackBitmap.fill(qRgb(0, 0, 255));
    proj->Obj.Po.add(MakePoint(100, 75, 2, 6, Red));
    RepaintProject(*proj, st, host, RedrawMode::Window, false);
    EXPECT_EQ(Rgb24(host.shown, 10, 10), QBlue);
    EXPECT_EQ(Rgb24(host.shown, 100, 75), QRed);
}

// ---------------------------------------------------------------------------
// A real picture of points and segments

TEST_F(RedrawTest, RasterPictureOfPointsAndSegments) {
    proj->Im = Picture(400, 300);
    proj->Im.Smooth = true;
    host.view = {0, 0, 400, 300};
    DSubProj& o = proj->Obj;
    auto point = [&](double x, double y, std::uint8_t type, const char* name, const char* upper,
                     const char* lower, int angle) {
        DPoint p = MakePoint(x, y, type, 5, Red);
        p.Thick.v = 2;
        p.Name.s = name;
        p.Upper.s = upper;
        p.Lower.s = lower;
        p.NameSize.v = 12;
        p.IndexSize.v = 9;
        p.LabelDist.v = 18;
        p.LabelAngle.v = angle;
        p.NameItalic.v = true;
        return p;
    };
    o.Po.add(point(60, 240, 2, "A", "", "1", 135));
    o.Po.add(point(340, 240, 3, "B", "'", "", 45));
    o.Po.add(point(200, 60, 2, "C", "", "", -90));
    DPoint d = point(300, 150, 3, "D", "2", "", 0);
    d.Radius.v = 8;
    o.Po.add(d);
    DLine ab = MakeLine(60, 240, 340, 240, 3, Blue);
    ab.P1 = o.Po[1];
    ab.P2 = o.Po[2];
    ab.Arrow2.v = true;
    ab.Arrow2Len.v = 16;
    ab.Arrow2Angle.v = 20;
    o.Li.add(ab);
    DLine bc = MakeLine(340, 240, 200, 60, 2, Black);
    bc.LineType.v = 2;
    bc.Dash.v = 10;
    bc.Gap.v = 6;
    o.Li.add(bc);
    DLine ca = MakeLine(200, 60, 60, 240, 2, 0x008000);
    ca.P3 = point(130, 150, 2, "M", "", "", 180);
    ca.Show3.v = true;
    ca.Arrow1.v = ca.Arrow2.v = true;
    ca.Arrow1Len.v = ca.Arrow2Len.v = 12;
    ca.Arrow1Angle.v = ca.Arrow2Angle.v = 25;
    o.Li.add(ca);

    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    ASSERT_EQ(host.shown.size(), QSize(400, 300));
    EXPECT_EQ(Rgb24(host.shown, 300, 150), QWhite);  // ring D's hole
    EXPECT_TRUE(Near(Rgb24(host.shown, 307, 150), QRed));  // and the ring
    EXPECT_EQ(Rgb24(host.shown, 200, 60), QBlue);    // the middle of AB
    EXPECT_EQ(Rgb24(host.shown, 130, 150), QRed);    // point 3 of CA
    EXPECT_EQ(Rgb24(host.shown, 10, 290), QWhite);
    if (const char* out = std::getenv("PELMAR_DEMO_PNG")) host.shown.save(out);
}

}  // namespace
