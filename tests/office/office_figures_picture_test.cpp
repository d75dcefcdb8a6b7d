// Tilted ellipses, arcs, a triangle and labels with indices, as LibreOffice
// draws both exports; skipped where LibreOffice is not installed.
#include <gtest/gtest.h>

#include "drawing/figure_fixture.h"
#include "picture_match.h"

namespace pelmar::test {
namespace {

TEST(OfficePictures, FiguresAndLabels) {
    auto doc = NewDocument();
    struct E {
        double x, y, a, b, tilt, arc1, arc2;
    };
    const E ellipses[] = {{150, 450, 90, 40, 0, 0, 360},   {400, 450, 90, 40, 30, 0, 360},
                          {650, 450, 90, 40, 150, 0, 360}, {150, 200, 80, 50, 0, 0, 180},
                          {400, 200, 80, 50, 45, 30, 250}, {650, 200, 80, 50, -60, 90, 300}};
    for (const E& e : ellipses) {
        DCircle c = MakeEllipse(e.x, e.y, e.a, e.b, 2, Blue);
        c.Tilt.v = e.tilt;
        c.Arc1.v = e.arc1;
        c.Arc2.v = e.arc2;
        doc->Obj.Ci.add(c);
    }
    doc->Obj.Tr.add(MakeTriangle(Vec3{0, 300, 250}, Vec3{0, 500, 250}, Vec3{0, 420, 380}, 0, 2));
    DPoint label = MakePoint(300, 100, 2, 4, Red);
    label.Name.s = "P";
    label.Lower.s = "1";
    label.Upper.s = "2";
    label.NameSize.v = 16;
    label.IndexSize.v = 10;
    doc->Obj.Po.add(label);
    ExportOptions options;
    options.WordArrowNo = 2;
    MatchWithLibreOffice(*doc, "figures", options, 0.95);
}

}  // namespace
}  // namespace pelmar::test
