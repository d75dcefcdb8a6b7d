// Graphs drawn on a raster picture: the strokes land on the curves and not
// across their gaps.  The picture is kept in the test's temporary folder for
// a look.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <string>

#include "curve_test_util.h"
#include "paint_fixture.h"
#include "platform/qt_canvas.h"

namespace pelmar {
namespace {

constexpr int W = 480, H = 360, CX = 240, CY = 180;
constexpr double Scale = 40;

// Darker than the background: something was drawn there.
bool Inked(const QImage& img, double x, double y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QColor c = img.pixelColor(static_cast<int>(std::lround(x)) + dx, static_cast<int>(std::lround(y)) + dy);
            if (c.lightness() < 200) return true;
        }
    return false;
}

TEST(CurveRender, GraphsOnARasterPicture) {
    QImage img(W, H, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    {
        QtCanvas canvas(img, true);
        bool running = true;
        SubCurveContext ctx;
        ctx.Target.kind = TargetKind::Pel;
        ctx.Target.canvas = &canvas;
        ctx.ImProj = test::Picture(W, H);
        ctx.XScale = ctx.YScale = Scale;
        ctx.CX = CX;
        ctx.CY = CY;
        ctx.Running = &running;
        const double half = 170;
        // y = sin(2x) in blue, y = 1/x in green, y = tg(x) dashed in red.
        ctx.Width = 2;
        ctx.Colour = MakeRgb(0, 0, 255);
        PlotCartesian(ctx, PlaneXOY, "sin(2*x)", "", 0, half, half, 230, 230, CY, CX);
        ctx.Colour = MakeRgb(0, 160, 0);
        PlotCartesian(ctx, PlaneXOY, "1/x", "", 0, half, half, 230, 230, CY, CX);
        ctx.Colour = MakeRgb(220, 0, 0);
        ctx.Width = 1;
        ctx.Style = {2, 1, 6, 3};
        PlotCartesian(ctx, PlaneXOY, "tg(x)", "", 0, half, half, 230, 230, CY, CX);
        // The ellipse x^2/9 + y^2/4 = 1 and the hyperbola x^2 - y^2 = 1,
        // traced, in black.
        ctx.Style = {};
        ctx.Colour = 0;
        TraceImplicitCurve(ctx, PlaneXOY, "x^2/9+y^2/4-1", "", 0, 0, half, half, 230, 230, CY, CX);
        TraceImplicitCurve(ctx, PlaneXOY, "x^2-y^2-1", "", 0, 0, half, half, 230, 230, CY, CX);
    }
    const std::string path = testing::TempDir() + "curve_render.png";
    img.convertToFormat(QImage::Format_RGB32).save(QString::fromStdString(path));

    auto px = [](double x) { return CX + x * Scale; };
    auto py = [](double y) { return CY - y * Scale; };
    // On the curves.
    for (double x : {-2.5, -1.0, 0.3, 1.7}) EXPECT_TRUE(Inked(img, px(x), py(std::sin(2 * x)))) << x;
    for (double x : {-3.0, -0.5, 0.5, 2.0}) EXPECT_TRUE(Inked(img, px(x), py(1 / x))) << x;
    for (double t : {0.3, 1.2, 2.0, 4.0, 5.5}) EXPECT_TRUE(Inked(img, px(3 * std::cos(t)), py(2 * std::sin(t)))) << t;
    for (double y : {-1.5, 0.0, 1.0}) {
        EXPECT_TRUE(Inked(img, px(std::sqrt(1 + y * y)), py(y))) << y;
        EXPECT_TRUE(Inked(img, px(-std::sqrt(1 + y * y)), py(y))) << y;
    }
    // Not across the gaps: 1/x and tg(x) are not joined over their poles
    // (away from the other curves and the x axis crossing).
    EXPECT_FALSE(Inked(img, px(0), py(3.5)));
    EXPECT_FALSE(Inked(img, px(0), py(-3.5)));
    EXPECT_FALSE(Inked(img, px(M_PI / 2), py(-3.9)));
    EXPECT_FALSE(Inked(img, px(-M_PI / 2), py(3.9)));
    // The hyperbola leaves its middle empty.
    EXPECT_FALSE(Inked(img, px(0.5), py(-0.6)));
}

}  // namespace
}  // namespace pelmar
