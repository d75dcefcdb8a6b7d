#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "drawing/polygon_paint.h"
#include "figure_fixture.h"
#include "model/shading.h"
#include "platform/raster_surface.h"
#include "support/recording_sinks.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

using Lines = std::vector<std::string>;

// Picture positions of the document points (x, y) on a 600 high picture.
DTri Triangle() { return MakeTriangle({0, 100, 100}, {0, 300, 100}, {0, 200, 250}); }
DKv Square() { return MakeTetragon({0, 100, 100}, {0, 300, 100}, {0, 300, 300}, {0, 100, 300}); }

void Marks(DLine& l, int radius) {
    for (DPoint* p : {&l.P1, &l.P2}) {
        p->Typ.v = 2;
        p->Radius.v = radius;
    }
}

// The sizes of the discs drawn, in order.
std::vector<std::string> DiscSizes(const RecordingCanvas& rec) {
    std::vector<std::string> out;
    for (const std::string& l : LinesStarting(rec, "fillEllipse")) {
        const std::size_t comma = l.rfind(',');
        out.push_back(l.substr(comma + 1, l.size() - comma - 2));
    }
    return out;
}

// The first word of each drawing line.
Lines Kinds(const Lines& lines) {
    Lines out;
    for (const std::string& l : lines) out.push_back(l.substr(0, l.find(' ')));
    return out;
}

// ---------------------------------------------------------------------------
// Parts and their order

TEST(TrianglePel, BareTriangleDrawsItsSidesAndTheirEnds) {
    DTri t = Triangle();
    for (auto& s : t.S) Marks(s, 3);
    RecordingCanvas rec;
    DrawTriangle(t, Picture(), PelTarget(rec), 2);
    // Every vertex twice: as end 1 of one side and end 2 of the one before.
    EXPECT_EQ(Drawn(rec), (Lines{"drawLine pen(1,#000000,round) (100,500) (300,500)",
                                 "drawLine pen(1,#000000,round) (300,500) (200,350)",
                                 "drawLine pen(1,#000000,round) (200,350) (100,500)",
                                 "fillEllipse #000000 [97,497,6,6]", "fillEllipse #000000 [297,497,6,6]",
                                 "fillEllipse #000000 [297,497,6,6]", "fillEllipse #000000 [197,347,6,6]",
                                 "fillEllipse #000000 [197,347,6,6]", "fillEllipse #000000 [97,497,6,6]"}));
}

TEST(TrianglePel, CirclesAndSpecialLinesLieUnderTheSides) {
    DTri t = Triangle();
    for (auto& on : t.CircOn) on.v = true;
    for (auto& on : t.LineOn) on.v = true;
    UpdateTriangle(t, 0, true);
    ASSERT_GT(t.Circ[1].A.v, t.Circ[2].A.v);
    for (auto& s : t.S) Marks(s, 3);

    RecordingCanvas rec;
    DrawTriangle(t, Picture(), PelTarget(rec), 2);
    const Lines drawn = Drawn(rec);
    ASSERT_GE(drawn.size(), 10u);
    const Lines first(drawn.begin(), drawn.begin() + 10);
    EXPECT_EQ(Kinds(first), (Lines{"drawEllipse", "drawEllipse", "drawLine", "drawLine", "drawLine", "drawLine",
                                   "drawLine", "drawLine", "drawLine", "drawLine"}));
    // The incircle first, then the circumcircle.
    const std::string inW = RecordingCanvas::Num(2 * t.Circ[2].A.v);
    const std::string outW = RecordingCanvas::Num(2 * t.Circ[1].A.v);
    EXPECT_NE(first[0].find("," + inW + ","), std::string::npos) << first[0];
    EXPECT_NE(first[1].find("," + outW + ","), std::string::npos) << first[1];
    // The sides last.
    EXPECT_EQ(first[7], "drawLine pen(1,#000000,round) (100,500) (300,500)");
    EXPECT_EQ(first[9], "drawLine pen(1,#000000,round) (200,350) (100,500)");
    // Every point lies on top of every line.
    for (std::size_t i = 10; i < drawn.size(); ++i) EXPECT_EQ(drawn[i].rfind("drawLine", 0), std::string::npos);
    EXPECT_EQ(LinesStarting(rec, "fillEllipse #000000 [").size(), 6u);
}

TEST(TrianglePel, SelectedPartsTakeTheirSelectionColour) {
    DTri t = Triangle();
    t.S[2].Selected = true;
    t.S[2].SelColor = Green;
    t.CircOn[1].v = true;
    t.Circ[1].Selected = true;
    t.Circ[1].SelColor = Red;
    RecordingCanvas rec;
    DrawTriangle(t, Picture(), PelTarget(rec), 2);
    const Lines ellipses = LinesStarting(rec, "drawEllipse");
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses[0].rfind("drawEllipse pen(1,#FF0000,round)", 0), 0u) << ellipses[0];
    EXPECT_EQ(LinesStarting(rec, "drawLine")[1], "drawLine pen(1,#00FF00,round) (300,500) (200,350)");
}

TEST(TetragonPel, CentreComesBetweenDiagonalsAndSides) {
    DKv k = Square();
    k.DiagOn[1].v = k.DiagOn[2].v = true;
    k.CenterOn.v = true;
    for (auto& d : k.Diag) Marks(d, 2);
    for (auto& s : k.S) Marks(s, 3);
    k.Center.Typ.v = 2;
    k.Center.Radius.v = 5;

    RecordingCanvas rec;
    DrawTetragon(k, Picture(), PelTarget(rec), 2);
    EXPECT_EQ(Kinds(Drawn(rec)).front(), "drawLine");
    EXPECT_EQ(LinesStarting(rec, "drawLine").size(), 6u);
    // The diagonals' ends, the centre once, then the sides' ends.
    EXPECT_EQ(DiscSizes(rec), (Lines{"4", "4", "4", "4", "10", "6", "6", "6", "6", "6", "6", "6", "6"}));
    EXPECT_EQ(LinesStarting(rec, "fillEllipse")[4], "fillEllipse #000000 [195,395,10,10]");

    // Without its flag the centre is not drawn.
    rec.clear();
    k.CenterOn.v = false;
    DrawTetragon(k, Picture(), PelTarget(rec), 2);
    EXPECT_EQ(DiscSizes(rec).size(), 12u);
}

TEST(FigureExport, SidesGoToTheDrawingProgramWithoutFills) {
    DTri t = Triangle();
    SetFill(t.Fill);
    RecordingCdrSink cdr;
    PaintTarget target;
    target.kind = TargetKind::Cdr;
    target.cdr = &cdr;
    DrawTriangle(t, Picture(), target, 1);
    EXPECT_TRUE(cdr.lines().empty());
    DrawTriangle(t, Picture(), target, 2);
    int curves = 0;
    for (const std::string& l : cdr.lines()) curves += l.rfind("BeginDrawCurve", 0) == 0;
    EXPECT_EQ(curves, 3);

    RecordingWordSink wrd;
    target.kind = TargetKind::Wrd;
    target.cdr = nullptr;
    target.wrd = &wrd;
    DKv k = Square();
    DrawTetragon(k, Picture(), target, 2);
    Lines sides;
    for (const std::string& l : wrd.lines())
        if (l.rfind("OfficeLine", 0) == 0) sides.push_back(l);
    ASSERT_EQ(sides.size(), 4u);
    EXPECT_EQ(sides[0], "OfficeLine #000000 0 1 100 500 300 500 1 0 0");

    // An unknown word draws nothing.
    target.kind = TargetKindOf("xyz");
    wrd.clear();
    DrawTetragon(k, Picture(), target, 2);
    EXPECT_TRUE(wrd.lines().empty());
}

// ---------------------------------------------------------------------------
// Fills

// A figure parallel to the picture (X = 0) from picture positions of a 150
// high picture, and a vertex moved off that plane by its depth.
DPoint Vertex(double x, double y, double depth = 0) {
    DPoint p;
    const double shift = depth / std::sqrt(8.0);
    SetPos(p, {depth, x + shift, 150 - y + shift});
    ProjectPoint(p);
    return p;
}

template <class Figure>
void SetVertices(Figure& f, const std::vector<DPoint>& v) {
    const std::size_t n = v.size();
    for (std::size_t i = 1; i <= n; ++i) {
        f.S[i].P1 = v[i - 1];
        f.S[i].P2 = v[i % n];
    }
}

struct FigureFill : ::testing::Test {
    DImProj im = Picture(200, 150);
    QImage img = WhiteImage(200, 150);

    void SetUp() override {
        im.LightX = 300;
        im.LightY = -100;
        im.LightZ = 250;
    }
    PaintTarget target(RasterSurface& s) {
        PaintTarget t;
        t.kind = TargetKind::Pel;
        t.raster = &s;
        return t;
    }
    void fill(const DTri& t) {
        RasterSurface s(img);
        DrawTriangle(t, im, target(s), 1);
    }
    void fill(const DKv& k) {
        RasterSurface s(img);
        DrawTetragon(k, im, target(s), 1);
    }
    bool white(int x, int y) const { return PixelColour(img, x, y) == White; }
    TColor flat() const {
        return ShadeColor(Red, Green, Blue, 1, 0, 0, {im.LightDX, im.LightDY, im.LightDZ}, im.BorderPercent, false,
                          im.BorderAngle);
    }
    TColor lit(int x, int y) const {
        return ShadeColor(Red, Green, Blue, 1, 0, 0, {im.LightX, im.LightY - x, im.LightZ - (im.Height - y)},
                          im.BorderPercent, false, im.BorderAngle);
    }
};

TEST_F(FigureFill, VectorLightFillsOneFlatPolygon) {
    im.LightSource = 2;
    DTri t;
    SetVertices(t, {Vertex(20, 20), Vertex(120, 20), Vertex(70, 100)});
    SetFill(t.Fill);
    fill(t);
    std::set<TColor> colours;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x)
            if (!white(x, y)) colours.insert(PixelColour(img, x, y));
    EXPECT_EQ(colours, std::set<TColor>{flat()});
    EXPECT_FALSE(white(70, 50));
    EXPECT_TRUE(white(70, 110));
    EXPECT_TRUE(white(20, 60));
}

TEST_F(FigureFill, PointLightShadesEachPixelInsideTheFigure) {
    DTri t;
    SetVertices(t, {Vertex(20, 20), Vertex(120, 20), Vertex(70, 100)});
    SetFill(t.Fill);
    fill(t);
    EXPECT_EQ(PixelColour(img, 70, 50), lit(70, 50));
    EXPECT_EQ(PixelColour(img, 100, 25), lit(100, 25));
    EXPECT_NE(lit(70, 50), lit(100, 25));
    // A vertex is on the boundary, which the inside test counts in.
    EXPECT_EQ(PixelColour(img, 20, 20), lit(20, 20));
    EXPECT_EQ(PixelColour(img, 70, 100), lit(70, 100));
    EXPECT_TRUE(white(20, 21));
    EXPECT_TRUE(white(70, 101));

    // Pass 2 and a fill that is off leave the picture alone.
    img = WhiteImage(200, 150);
    {
        RasterSurface s(img);
        DrawTriangle(t, im, target(s), 2);
    }
    t.Fill.On = false;
    fill(t);
    EXPECT_TRUE(white(70, 50));
}

TEST_F(FigureFill, TetragonOffItsPlaneIsShadedByItsFirstThreeVertices) {
    // Vertex 4 lies 80 deep, seen at the corner of a rectangle on the picture.
    DKv k;
    SetVertices(k, {Vertex(20, 20), Vertex(150, 20), Vertex(150, 120), Vertex(20, 120, 80)});
    ASSERT_NEAR(k.S[4].P1.ScrX.v, 20, 1e-9);
    SetFill(k.Fill);
    fill(k);
    for (const auto& [x, y] : {std::pair{80, 70}, {25, 115}, {145, 25}, {20, 120}})
        EXPECT_EQ(PixelColour(img, x, y), lit(x, y)) << x << "," << y;
    EXPECT_TRUE(white(19, 70));
    EXPECT_TRUE(white(80, 121));

    im.LightSource = 2;
    img = WhiteImage(200, 150);
    fill(k);
    EXPECT_EQ(PixelColour(img, 80, 70), flat());
    EXPECT_EQ(PixelColour(img, 21, 119), flat());
}

TEST_F(FigureFill, PixelLoopsStayOnThePicture) {
    DTri t;
    SetVertices(t, {Vertex(-1e6, -1e6), Vertex(1e6, -1e6), Vertex(0, 1e6)});
    SetFill(t.Fill);
    fill(t);
    EXPECT_EQ(PixelColour(img, 0, 0), lit(0, 0));
    EXPECT_EQ(PixelColour(img, 199, 149), lit(199, 149));

    // Wholly beyond the picture: nothing.
    DKv k;
    SetVertices(k, {Vertex(300, 10), Vertex(400, 10), Vertex(400, 90), Vertex(300, 90)});
    SetFill(k.Fill);
    img = WhiteImage(200, 150);
    fill(k);
    for (int y = 0; y < 150; y += 5)
        for (int x = 0; x < 200; x += 5) ASSERT_TRUE(white(x, y));
}

}  // namespace
