// Arcs land where the picture has them in both exports.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "drawing/ellipse_paint.h"
#include "drawing/figure_fixture.h"
#include "office/office_export.h"

namespace pelmar::test {
namespace {

double Turn(double a) {
    a = std::fmod(a, 360);
    return a < 0 ? a + 360 : a;
}

double TurnDistance(double a, double b) {
    const double d = Turn(a - b);
    return std::min(d, 360 - d);
}

TEST(OfficeArcs, ArcsOfCirclesKeepTheirAnglesInBothExports) {
    std::mt19937 gen(8103);
    std::uniform_real_distribution<double> angle(0, 359), span(10, 340), tilt(-179, 179);
    for (int i = 0; i < 300; ++i) {
        DCircle c = MakeEllipse(400, 300, 60, 60, 1, Blue);
        c.Arc1.v = std::round(angle(gen));
        c.Arc2.v = c.Arc1.v + std::round(span(gen));
        c.Tilt.v = std::round(tilt(gen));
        // The picture's arc runs counter-clockwise from Arc1 to Arc2 on the
        // circle turned by Tilt.
        const double from = c.Arc1.v + c.Tilt.v, to = c.Arc2.v + c.Tilt.v;

        CdrApplication cdr;
        cdr.FileNew();
        CdrExportSink cdrSink(cdr, 0);
        WordApplication word;
        word.DocumentsAdd();
        WordExportSink wordSink(word, 96);
        wordSink.Start();
        PaintTarget t;
        t.kind = TargetKind::Cdr;
        t.cdr = &cdrSink;
        DrawCircle(c, Picture(), t, 2);
        t.kind = TargetKind::Wrd;
        t.wrd = &wordSink;
        DrawCircle(c, Picture(), t, 2);

        for (const OfficeDocument* d : {&cdr.document(), &word.document()}) {
            ASSERT_EQ(d->shapes.size(), 1u);
            const OfficeShape& s = d->shapes[0];
            ASSERT_TRUE(s.arc);
            EXPECT_LT(TurnDistance(s.start + s.rotation, from), 0.01) << c.Arc1.v << " " << c.Arc2.v << " " << c.Tilt.v;
            EXPECT_LT(TurnDistance(s.end + s.rotation, to), 0.01) << c.Arc1.v << " " << c.Arc2.v << " " << c.Tilt.v;
        }
    }
}

}  // namespace
}  // namespace pelmar::test
