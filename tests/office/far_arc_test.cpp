// An ellipse whose arc angles lie far beyond a turn is written to the word
// processor and the drawing program as the same arc brought within one, and
// the export ends: each export runs in a watched child with a time and a
// memory limit.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "drawing/figure_fixture.h"
#include "office_fixture.h"
#include "support/watched_child.h"

namespace pelmar::test {
namespace {

// The calls of the word-processor export (.odt, word) or the drawing export
// (.odg) of one ellipse (A 100, B 60, view 1) with the given arc, but those
// naming the files; none when it failed.
std::vector<std::string> ExportCalls(double arc1, double arc2, double tilt, bool word) {
    auto doc = NewDocument();
    DCircle c = MakeEllipse(300, 250, 100, 60, 2, Blue);
    c.Arc1.v = arc1, c.Arc2.v = arc2, c.Tilt.v = tilt;
    doc->Obj.Ci.add(c);
    RunRig r(*doc);
    *r.snapshot = *doc;
    if (!(word ? ExportToOffice(r.path("a.odt"), RunMode::DoNotOpen, doc->Im, r.run)
               : ExportToCorelDraw(8, r.path("a.odg"), RunMode::DoNotOpen, doc->Im, r.run)))
        return {};
    const std::string folder = r.path("");
    std::vector<std::string> calls;
    for (const std::string& call : r.run.calls)
        if (call.find(folder) == std::string::npos) calls.push_back(call);
    return calls;
}

TEST(OfficeFarArcs, FarArcsExportAsTheArcWithinATurn) {
    constexpr double Far = 360.0 * 1e9;  // a billion turns: exact in a double
    struct Case {
        double arc1, arc2, tilt;
        double near1, near2;  // the same arc within a turn; a span of a turn or more is the whole ellipse
    };
    const double t20 = std::fmod(-1e20, 360.0), t300 = std::fmod(1e300, 360.0);  // where the whole ellipse starts
    const Case cases[] = {
        {0, 1e20, 0, 0, 0},
        {-1e20, 0, 0, t20, t20},
        {0, 1e300, 0, 0, 0},
        {1e300, 1e300, 0, t300, t300},
        {-1e300, 1e300, 30, -t300, -t300},
        {0, 1000, 0, 0, 0},
        {Far + 30, Far + 120, 0, 30, 120},
        {-Far - 300, -Far - 200, 0, -300, -200},
        {Far + 300, Far + 10, 200, 300, 10},
    };
    for (const Case& k : cases)
        for (const bool word : {true, false}) {
            const std::string said = RunWatched(
                [&] {
                    const std::vector<std::string> far = ExportCalls(k.arc1, k.arc2, k.tilt, word);
                    const std::vector<std::string> near = ExportCalls(k.near1, k.near2, k.tilt, word);
                    if (far.empty() || near.empty()) return std::string("not written");
                    for (std::size_t i = 0; i < far.size() || i < near.size(); ++i)
                        if (i >= far.size() || i >= near.size() || far[i] != near[i])
                            return "call " + std::to_string(i) + ": " + (i < far.size() ? far[i] : "none") +
                                   " for " + (i < near.size() ? near[i] : "none");
                    if (!word) return std::string();
                    // A span of a turn or more is the whole ellipse (shape 9), as the picture draws it.
                    const std::string shape = k.near1 == k.near2 ? "ActiveDocument.Shapes.AddShape 9 "
                                                                 : "ActiveDocument.Shapes.AddShape 25 ";
                    for (const std::string& call : far)
                        if (call.rfind("ActiveDocument.Shapes.AddShape ", 0) == 0)
                            return call.rfind(shape, 0) == 0 ? std::string() : "wrote " + call;
                    return std::string("no shape");
                },
                60, 1 << 19);
            EXPECT_EQ(said, "") << k.arc1 << ".." << k.arc2 << " tilted " << k.tilt << (word ? " (.odt)" : " (.odg)");
        }
}

}  // namespace
}  // namespace pelmar::test
