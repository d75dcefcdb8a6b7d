// A document with every kind of solid drawn by the whole redraw, fills and
// shading included, against a golden picture.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>

#include "drawing/polyhedron_paint.h"
#include "drawing/redraw.h"
#include "model/polyhedron_make.h"
#include "solid_fixture.h"
#include "support/fake_redraw_host.h"

using namespace pelmar;
using namespace pelmar::test;

namespace {

constexpr int W = 400, H = 300;
const char* const Golden = PELMAR_TEST_DATA "/solids_raster.png";

template <class Fig>
void Move(Fig& f, Vec3 by) {
    for (auto& side : f.S)
        for (DPoint* p : {&side.P1, &side.P2}) PlaceVertex(*p, Pos(*p) + by);
}

template <class Solid>
void Paint(Solid& s, TColor c1, TColor c2, TColor c3, std::uint8_t colourIndex) {
    s.Fill.On = true;
    s.Fill.Colors = {c1, c2, c3};
    s.ColorIndex.v = colourIndex;
    s.Thick.v = 2;
}

// Upper row: a sphere with sections, an upright cylinder and a tilted cone;
// lower row: the two pyramids and the two prisms.  Hidden edges dashed.
std::unique_ptr<DProj> Document() {
    auto d = NewDocument();
    d->Im = ShadedPicture(W, H);
    d->Im.Smooth = true;
    d->Im.LightX = 300;
    d->Im.LightY = 100;
    d->Im.LightZ = 600;
    DSubProj& o = d->Obj;

    DSf s = MakeOrb({0, 65, 215}, 45, 5);
    s.SecNX[2].v = 1;
    s.SecNZ[2].v = 0;
    s.SecNY[3].v = 1;
    s.SecNZ[3].v = 0;
    Paint(s, 0x3030F0, 0x30C0F0, 0x602020, 9);
    UpdateOrb(s, 0);
    o.Sf.add(s);

    DZi z = MakeCylinder({0, 185, 165}, {0, 185, 250}, 35, 5);
    Paint(z, 0xF0A030, 0x20A020, 0x203020, 2);
    UpdateCylinder(z, 0);
    o.Zi.add(z);

    const Vec3 base{0, 300, 190}, apex{-70, 345, 250};
    DKo k = MakeCone(base, apex, 35, 5);
    SquareBase(k.Base, apex - base, 35);
    Paint(k, 0x40F0F0, 0x2080C0, 0x201040, 12);
    UpdateCone(k, 0);
    o.Ko.add(k);

    DPi3 p3 = StandardPyramid3(5);
    Move(p3.Base, {0, 55, 35});
    PlaceVertex(p3.HeightLine.P2, Pos(p3.HeightLine.P2) + Vec3{0, 55, 35});
    Paint(p3, 0xF060F0, 0x802080, 0x200020, 5);
    p3.HeightOn.v = true;
    UpdatePyramid3(p3, 0);
    o.I3.add(p3);

    DPi4 p4 = StandardPyramid4(5);
    Move(p4.Base, {0, 150, 30});
    PlaceVertex(p4.HeightLine.P2, Pos(p4.HeightLine.P2) + Vec3{0, 150, 30});
    Paint(p4, 0x60F060, 0x208020, 0x002000, 3);
    UpdatePyramid4(p4, 0);
    o.I4.add(p4);

    DPr3 r3 = StandardPrism3(5);
    for (auto& b : r3.Base) Move(b, {0, 225, 30});
    Paint(r3, 0xF0F060, 0x808020, 0x202000, 10);
    UpdatePrism3(r3, 0);
    o.R3.add(r3);

    DPr4 r4 = StandardCube(5);
    for (auto& b : r4.Base) Move(b, {0, 315, 30});
    Paint(r4, 0x6060F0, 0x202080, 0x000020, 1);
    UpdatePrism4(r4, 0);
    o.R4.add(r4);
    return d;
}

QImage Rendered() {
    auto proj = Document();
    DrawingState st;
    FakeRedrawHost host;
    host.view = {0, 0, W, H};
    RepaintProject(*proj, st, host, RedrawMode::Window, true);
    return st.DrawBitmap.convertToFormat(QImage::Format_RGB32);
}

int Differing(const QImage& a, const QImage& b, int tol) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (ColourDistance(PixelColour(a, x, y), PixelColour(b, x, y)) > tol) ++n;
    return n;
}

TEST(SolidRender, RasterPictureMatchesTheGoldenPicture) {
    const QImage picture = Rendered();
    ASSERT_EQ(picture.size(), QSize(W, H));
    if (std::getenv("PELMAR_WRITE_GOLDEN")) {
        ASSERT_TRUE(picture.save(Golden, "PNG"));
    }
    const QImage golden = QImage(Golden).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull()) << "missing " << Golden << " (PELMAR_WRITE_GOLDEN=1 writes it)";
    ASSERT_EQ(golden.size(), picture.size());
    // Smoothing differs a little between machines; shapes and shading do not.
    EXPECT_LE(Differing(picture, golden, 64), W * H / 200);
    EXPECT_LE(Differing(picture, golden, 16), W * H / 50);
}

TEST(SolidRender, EverySolidIsShaded) {
    const QImage picture = Rendered();
    const auto doc = Document();
    const DSubProj& o = doc->Obj;
    auto shaded = [&](double x, double y) {
        return !IsWhite(picture, RoundToInt(x), H - RoundToInt(y));
    };
    EXPECT_TRUE(shaded(o.Sf[1].Center.ScrX.v, o.Sf[1].Center.ScrY.v));
    EXPECT_TRUE(shaded(o.Zi[1].Base[1].Center.ScrX.v, o.Zi[1].Base[1].Center.ScrY.v + 40));
    EXPECT_TRUE(shaded(o.Ko[1].Base.Center.ScrX.v, o.Ko[1].Base.Center.ScrY.v));
    for (const Vec3 t : {FaceTestPoint(o.I3[1].Face[1]), FaceTestPoint(o.I4[1].Face[1]),
                         FaceTestPoint(o.R3[1].Side[1]), FaceTestPoint(o.R4[1].Side[1])}) {
        Ext x, y;
        ProjectXYZ(x, y, t.x, t.y, t.z);
        EXPECT_TRUE(shaded(static_cast<double>(x), static_cast<double>(y)));
    }
}

}  // namespace
