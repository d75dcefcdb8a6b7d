// An ellipse whose arc angles lie far beyond a turn is written to the word
// processor as the same arc brought within one, and the export ends: each
// export runs in a watched child with a time and a memory limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawing/figure_fixture.h"
#include "office_fixture.h"
#include "support/watched_child.h"

namespace pelmar::test {
namespace {

// The shape calls of the word-processor export (.odt) of one ellipse
// (A 100, B 60, view 1) with the given arc; "" when it failed.
std::vector<std::string> ShapeCalls(double arc1, double arc2, double tilt) {
    auto doc = NewDocument();
    DCircle c = MakeEllipse(300, 250, 100, 60, 2, Blue);
    c.Arc1.v = arc1, c.Arc2.v = arc2, c.Tilt.v = tilt;
    doc->Obj.Ci.add(c);
    RunRig r(*doc);
    *r.snapshot = *doc;
    if (!ExportToOffice(r.path("a.odt"), RunMode::DoNotOpen, doc->Im, r.run)) return {};
    std::vector<std::string> shapes;
    for (const std::string& call : r.run.calls)
        if (call.find("Shape") != std::string::npos) shapes.push_back(call);
    return shapes;
}

TEST(OfficeFarArcs, FarArcsExportAsTheArcWithinATurn) {
    constexpr double Far = 360.0 * 1e9;  // a billion turns: exact in a double
    struct Case {
        double arc1, arc2, tilt;
        double near1, near2;  // the same arc within a turn; a span of a turn or more is the whole ellipse
    };
    const Case cases[] = {
        {0, 1e20, 0, 0, 0},          {-1e20, 0, 0, 0, 0},          {0, 1e300, 0, 0, 0},
        {1e300, 1e300, 0, 0, 0},     {-1e300, 1e300, 30, 0, 0},    {0, 1000, 0, 0, 0},
        {Far + 30, Far + 120, 0, 30, 120},  {-Far - 300, -Far - 200, 0, -300, -200},
        {Far + 300, Far + 10, 200, 300, 10},
    };
    for (const Case& k : cases) {
        const std::string said = RunWatched(
            [&] {
                const std::vector<std::string> far = ShapeCalls(k.arc1, k.arc2, k.tilt);
                const std::vector<std::string> near = ShapeCalls(k.near1, k.near2, k.tilt);
                if (far.empty() || near.empty()) return std::string("not written");
                for (std::size_t i = 0; i < far.size() || i < near.size(); ++i)
                    if (i >= far.size() || i >= near.size() || far[i] != near[i])
                        return "call " + std::to_string(i) + ": " + (i < far.size() ? far[i] : "none") + " for " +
                               (i < near.size() ? near[i] : "none");
                // A span of a turn or more is the whole ellipse (shape 9), as the picture draws it.
                const char* const shape = k.near1 == k.near2 ? "ActiveDocument.Shapes.AddShape 9 "
                                                             : "ActiveDocument.Shapes.AddShape 25 ";
                return far.front().rfind(shape, 0) == 0 ? std::string() : "wrote " + far.front();
            },
            60, 1 << 19);
        EXPECT_EQ(said, "") << k.arc1 << ".." << k.arc2 << " tilted " << k.tilt;
    }
}

}  // namespace
}  // namespace pelmar::test
