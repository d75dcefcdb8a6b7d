#include <gtest/gtest.h>

#include <QImage>

#include "platform/qt_canvas.h"
#include "platform/tee_canvas.h"
#include "support/recording_canvas.h"

using namespace pelmar;

namespace {

void DrawSample(Canvas& c) {
    const PointF tri[] = {{1, 2}, {3.5, 4}, {5, -6}};
    c.setAntialias(false);
    c.setTextAntialias(true);
    c.drawLine({2, MakeRgb(255, 0, 16), {3, 1.5}, true}, {0, 0}, {10, 20});
    c.drawPolyline({0, 0, {}, false}, tri);
    c.drawPolygon({1, MakeRgb(0, 128, 0), {}, true}, tri);
    c.fillPolygon(MakeRgb(0, 0, 255), tri);
    c.setRotation(30, {5, 6});
    c.drawEllipse({1.5, 0, {}, true}, {1, 2, 30, 40});
    c.resetTransform();
    c.fillEllipse(0, {1, 2, 3, 4});
    c.drawArc({1, 0, {}, true}, {0, 0, 10, 10}, 350, 20);
    c.fillPie(0xFFFFFF, {0, 0, 10, 10}, -30, 60);
    c.setClipRect({0, 0, 50, 50});
    c.fillRect(MakeRgb(1, 2, 3), {5, 5, 10, 10});
    c.resetClip();
    c.drawText({"Arial", 20, true, true}, 0, "AB", {10, 10}, {TextAlign::Center, TextAlign::Far});
}

}  // namespace

TEST(RecordingCanvas, LogsEveryCallInOrderWithItsArguments) {
    RecordingCanvas rec;
    DrawSample(rec);
    const SizeF s = rec.measureText({"Arial", 10, false, false}, "Отрезок");
    const std::vector<std::string> expected = {
        "setAntialias 0",
        "setTextAntialias 1",
        "drawLine pen(2,#FF0010,dash 3 1.5,round) (0,0) (10,20)",
        "drawPolyline pen(0,#000000) (1,2) (3.5,4) (5,-6)",
        "drawPolygon pen(1,#008000,round) (1,2) (3.5,4) (5,-6)",
        "fillPolygon #0000FF (1,2) (3.5,4) (5,-6)",
        "setRotation 30 (5,6)",
        "drawEllipse pen(1.5,#000000,round) [1,2,30,40]",
        "resetTransform",
        "fillEllipse #000000 [1,2,3,4]",
        "drawArc pen(1,#000000,round) [0,0,10,10] 350 20",
        "fillPie #FFFFFF [0,0,10,10] -30 60",
        "setClipRect [0,0,50,50]",
        "fillRect #010203 [5,5,10,10]",
        "resetClip",
        "drawText font(Arial,20,bold,italic) #000000 \"AB\" (10,10) center,far",
        "measureText font(Arial,10) \"Отрезок\"",
    };
    EXPECT_EQ(rec.lines(), expected);
    // The fixed measure counts characters, not bytes.
    EXPECT_DOUBLE_EQ(s.w, 0.6 * 10 * 7);
    EXPECT_DOUBLE_EQ(s.h, 12);
    EXPECT_EQ(rec.text().substr(0, 15), "setAntialias 0\n");
    rec.clear();
    EXPECT_TRUE(rec.lines().empty());
    EXPECT_EQ(rec.measureText({"Arial", 10, false, false}, "").w, 0);
}

TEST(TeeCanvas, HandsEveryCallToBoth) {
    RecordingCanvas a, b;
    TeeCanvas tee(a, b);
    DrawSample(tee);
    RecordingCanvas direct;
    DrawSample(direct);
    EXPECT_EQ(a.lines(), direct.lines());
    EXPECT_EQ(b.lines(), direct.lines());
    // Only the first canvas measures.
    tee.measureText({"Arial", 10, false, false}, "x");
    EXPECT_EQ(a.lines().size(), direct.lines().size() + 1);
    EXPECT_EQ(b.lines().size(), direct.lines().size());
}

TEST(TeeCanvas, DrawsTheSamePictureOnTwoImages) {
    QImage one(40, 40, QImage::Format_ARGB32_Premultiplied), two(40, 40, QImage::Format_ARGB32_Premultiplied);
    one.fill(Qt::white);
    two.fill(Qt::white);
    {
        QtCanvas c1(one), c2(two);
        TeeCanvas tee(c1, c2);
        tee.drawLine({3, 0, {2, 1}, true}, {2, 2}, {38, 30});
        tee.fillPie(MakeRgb(255, 0, 0), {5, 5, 30, 30}, 350, 20);
    }
    EXPECT_EQ(one, two);
    QImage blank(40, 40, QImage::Format_ARGB32_Premultiplied);
    blank.fill(Qt::white);
    EXPECT_NE(one, blank);
}
