#include <gtest/gtest.h>

#include <QImage>

#include "drawing/fill_shading.h"
#include "drawing/polyhedron_paint.h"
#include "model/polyhedron_make.h"
#include "platform/raster_surface.h"
#include "solid_fixture.h"
#include "support/recording_sinks.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

using Lines = std::vector<std::string>;

// The standard solids moved into the middle of a 240 x 200 picture.
template <class Fig>
void ShiftFigure(Fig& f, Vec3 by) {
    for (auto& side : f.S)
        for (DPoint* p : {&side.P1, &side.P2}) PlaceVertex(*p, Pos(*p) + by);
}

DImProj Lit() {
    DImProj im = ShadedPicture();
    im.LightSource = 2;  // one flat colour per face
    im.LightDX = 1;
    im.LightDY = 0.3;
    im.LightDZ = 0.6;
    return im;
}

const Vec3 Middle{0, 100, 70};

DPr4 Cube() {
    DPr4 p = StandardCube(1);
    for (auto& b : p.Base) ShiftFigure(b, Middle);
    FillOn(p);
    UpdatePrism4(p, 0);
    return p;
}

DPi3 Pyramid3() {
    DPi3 p = StandardPyramid3(1);
    ShiftFigure(p.Base, Middle);
    PlaceVertex(p.HeightLine.P2, Pos(p.HeightLine.P2) + Middle);
    FillOn(p);
    UpdatePyramid3(p, 0);
    return p;
}

DPi4 Pyramid4(bool sphere = false) {
    DPi4 p = StandardPyramid4(1);
    ShiftFigure(p.Base, Middle);
    PlaceVertex(p.HeightLine.P2, Pos(p.HeightLine.P2) + Middle);
    FillOn(p);
    p.OutSphereOn.v = sphere;
    UpdatePyramid4(p, 0);
    return p;
}

DPr3 Prism3() {
    DPr3 p = StandardPrism3(1);
    for (auto& b : p.Base) ShiftFigure(b, Middle);
    FillOn(p);
    UpdatePrism3(p, 0);
    return p;
}

template <class Solid, class Paint>
QImage Fill(const Solid& s, const DImProj& im, Paint paint) {
    QImage img = WhiteImage(im.Width, im.Height);
    RasterSurface surface(img);
    PaintTarget t;
    t.kind = TargetKind::Pel;
    t.raster = &surface;
    paint(s, im, t, 1);
    return img;
}

// The flat colour a face gets in the body's fill colours.
template <class Face>
TColor FaceColour(const Face& f, const DImProj& im) {
    double a, b, c, d;
    PlaneBy3Points(Pos(f.S[1].P1), Pos(f.S[2].P1), Pos(f.S[3].P1), a, b, c, d);
    DFill fill;
    fill.Colors = Shades;
    return FillShading(fill, im, a, b, c, d).flat();
}

template <class Face>
TColor ColourAtTestPoint(const QImage& img, const Face& f, int height) {
    const Vec3 t = FaceTestPoint(f);
    Ext x, y;
    ProjectXYZ(x, y, t.x, t.y, t.z);
    return PixelColour(img, RoundToInt(static_cast<double>(x)), height - RoundToInt(static_cast<double>(y)));
}

TEST(PolyhedronFill, OnlyTheFacesTowardsTheViewerAreFilled) {
    const DImProj im = Lit();
    const DPr4 cube = Cube();
    const QImage img = Fill(cube, im, DrawPrism4);
    // Front, right and upper faces; the back, left and lower ones lie behind
    // them and, were they filled, would paint over them in their own colours.
    for (const DKv* f : {&cube.Side[1], &cube.Side[2], &cube.Base[2]})
        EXPECT_EQ(ColourAtTestPoint(img, *f, im.Height), FaceColour(*f, im));
    for (const DKv* f : {&cube.Side[3], &cube.Side[4], &cube.Base[1]})
        EXPECT_NE(FaceColour(*f, im), FaceColour(cube.Side[1], im));

    const DPi3 pyramid = Pyramid3();
    const QImage pimg = Fill(pyramid, im, DrawPyramid3);
    EXPECT_EQ(ColourAtTestPoint(pimg, pyramid.Face[1], im.Height), FaceColour(pyramid.Face[1], im));
}

TEST(PolyhedronFill, TestPointLiesBetweenTheFirstThreeVertices) {
    DKv f;
    SetPos(f.S[1].P1, {0, 0, 0});
    SetPos(f.S[2].P1, {4, 8, 0});
    SetPos(f.S[3].P1, {2, 2, 10});
    SetPos(f.S[4].P1, {100, 100, 100});
    const Vec3 t = FaceTestPoint(f);
    EXPECT_DOUBLE_EQ(t.x, 2);
    EXPECT_DOUBLE_EQ(t.y, 3);
    EXPECT_DOUBLE_EQ(t.z, 5);
}

TEST(PolyhedronFill, EveryKindFillsInsideItsOutlineOnly) {
    const DImProj im = Lit();
    auto check = [&](const QImage& img, auto&& inside) {
        int painted = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                if (IsWhite(img, x, y)) continue;
                ++painted;
                EXPECT_TRUE(inside(x, y)) << x << "," << y;
            }
        EXPECT_GT(painted, 500);
    };
    // The picture box of the body, one pixel wider.
    auto boxOf = [&](std::initializer_list<const DPoint*> pts) {
        double l = 1e9, r = -1e9, t = 1e9, b = -1e9;
        for (const DPoint* p : pts) {
            l = std::min(l, p->ScrX.v);
            r = std::max(r, p->ScrX.v);
            t = std::min(t, im.Height - p->ScrY.v);
            b = std::max(b, im.Height - p->ScrY.v);
        }
        return [=](int x, int y) { return x >= l - 1 && x <= r + 1 && y >= t - 1 && y <= b + 1; };
    };
    const DPi4 p4 = Pyramid4();
    check(Fill(p4, im, DrawPyramid4), boxOf({&p4.Base.S[1].P1, &p4.Base.S[2].P1, &p4.Base.S[3].P1,
                                            &p4.Base.S[4].P1, &p4.HeightLine.P2}));
    const DPr3 p3 = Prism3();
    check(Fill(p3, im, DrawPrism3), boxOf({&p3.Base[1].S[1].P1, &p3.Base[1].S[2].P1, &p3.Base[1].S[3].P1,
                                          &p3.Base[2].S[1].P1, &p3.Base[2].S[2].P1, &p3.Base[2].S[3].P1}));
}

TEST(PolyhedronFill, NoFillWithTheFillOffOrForExports) {
    const DImProj im = Lit();
    DPr4 cube = Cube();
    RecordingWordSink wrd;
    QImage img = WhiteImage(im.Width, im.Height);
    RasterSurface surface(img);
    PaintTarget t;
    t.kind = TargetKind::Wrd;
    t.wrd = &wrd;
    t.raster = &surface;
    DrawPrism4(cube, im, t, 1);
    cube.Fill.On = false;
    t.kind = TargetKind::Pel;
    DrawPrism4(cube, im, t, 1);
    t.kind = TargetKind::Cdr;
    DrawPyramid3(Pyramid3(), im, t, 1);
    EXPECT_EQ(img, WhiteImage(im.Width, im.Height));
    EXPECT_TRUE(wrd.lines().empty());
}

// ---------------------------------------------------------------------------
// Edges

// The drawing calls, without the turns of tilted outlines.
Lines Shapes(const RecordingCanvas& rec) {
    Lines out;
    for (const std::string& l : Drawn(rec))
        if (l.rfind("setRotation", 0) != 0 && l.rfind("resetTransform", 0) != 0) out.push_back(l);
    return out;
}

bool Starts(const std::string& l, const char* kind) { return l.rfind(kind, 0) == 0; }

template <class Fig>
void Discs(Fig& f) {
    for (auto& s : f.S)
        for (DPoint* p : {&s.P1, &s.P2}) {
            p->Typ.v = 2;
            p->Radius.v = 2;
        }
}

TEST(PolyhedronEdges, AllLinesBeforeAllPoints) {
    DPi4 p = Pyramid4(true);
    ASSERT_GT(p.OutSphere.Contour.A.v, 0);
    Discs(p.Base);
    for (auto& f : p.Face) Discs(f);
    p.HeightOn.v = true;
    p.HeightLine.LineType.v = 1;
    p.HeightLine.Thick.v = 5;
    p.OutSphere.ContourOn.v = true;
    p.OutSphere.Contour.Thick.v = 6;
    RecordingCanvas rec;
    DrawPyramid4(p, Lit(), PelTarget(rec), 2);
    const Lines drawn = Shapes(rec);
    // The base and face edges, the height line, the sphere's outline; then
    // every point.
    std::size_t height = drawn.size(), sphere = drawn.size(), firstDisc = drawn.size();
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        if (Starts(drawn[i], "drawLine") && drawn[i].find("pen(5,") != std::string::npos) height = i;
        if (!Starts(drawn[i], "fillEllipse") && drawn[i].find("pen(6,") != std::string::npos) sphere = i;
        if (Starts(drawn[i], "fillEllipse")) firstDisc = std::min(firstDisc, i);
    }
    ASSERT_LT(height, drawn.size());
    ASSERT_LT(sphere, drawn.size());
    EXPECT_GE(height, 8u);  // at least the eight edges of the body come first
    for (std::size_t i = 0; i < height; ++i) EXPECT_TRUE(Starts(drawn[i], "drawLine")) << drawn[i];
    EXPECT_EQ(sphere, height + 1);
    EXPECT_EQ(firstDisc, sphere + 1);
    for (std::size_t i = firstDisc; i < drawn.size(); ++i) EXPECT_TRUE(Starts(drawn[i], "fillEllipse")) << drawn[i];
    // Every vertex of the base and the faces twice, and the sphere's centre.
    EXPECT_GE(drawn.size() - firstDisc, 2u * (4 + 12));
}

TEST(PolyhedronEdges, PrismDrawsBasesThenSides) {
    const DPr3 p = Prism3();
    RecordingCanvas rec;
    DrawPrism3(p, Lit(), PelTarget(rec), 2);
    const Lines lines = LinesStarting(rec, "drawLine");
    // Each of the nine edges once: the edge shared by two faces is drawn by one of them.
    ASSERT_EQ(lines.size(), 9u);
    // The first edge is side 1 of the lower base.
    const DLine& e = p.Base[1].S[1];
    const std::string ends = RecordingCanvas::Point({e.P1.ScrX.v, 200 - e.P1.ScrY.v}) + " " +
                             RecordingCanvas::Point({e.P2.ScrX.v, 200 - e.P2.ScrY.v});
    EXPECT_NE(lines[0].find(ends), std::string::npos) << lines[0] << " / " << ends;
}

TEST(PolyhedronEdges, ExportsGetEveryEdge) {
    RecordingWordSink wrd;
    PaintTarget t;
    t.kind = TargetKind::Wrd;
    t.wrd = &wrd;
    DrawPrism4(Cube(), Lit(), t, 2);
    std::size_t lines = 0;
    for (const std::string& l : wrd.lines()) lines += l.rfind("OfficeLine", 0) == 0;
    EXPECT_EQ(lines, 12u);

    RecordingCdrSink cdr;
    t.kind = TargetKind::Cdr;
    t.cdr = &cdr;
    DrawPyramid3(Pyramid3(), Lit(), t, 2);
    std::size_t curves = 0;
    for (const std::string& l : cdr.lines()) curves += l.rfind("BeginDrawCurve", 0) == 0;
    EXPECT_EQ(curves, 6u);
}

}  // namespace
