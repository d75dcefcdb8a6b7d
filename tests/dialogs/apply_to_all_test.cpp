// The apply-to-all walks leave a document that saves as it reopens: what they
// copy into a part its object sets itself (an axis's, a side's, a face's
// thickness) does not stay in the stored document only to be lost on
// reopening.
#include <gtest/gtest.h>

#include <functional>

#include "dialogs/apply_to_all.h"
#include "files/doc_fixture.h"

namespace pelmar::test {
namespace {

TEST(ApplyToAll, TheDocumentSavesAsItReopens) {
    DPoint p;
    p.Typ.v = 3, p.Radius.v = 6, p.Thick.v = 4, p.NameFont.s = "Arial", p.NameBold.v = true, p.NameSize.v = 19;
    p.IndexFont.s = "Courier New", p.IndexItalic.v = true, p.IndexSize.v = 7, p.LabelDist.v = 23;
    DLine l;
    l.Thick.v = 7, l.Dash.v = 9, l.Gap.v = 4, l.Arrow1Len.v = 13, l.Arrow1Angle.v = 37, l.Arrow2Len.v = 17;
    l.Arrow2Angle.v = 41;
    DCircle c;
    c.Thick.v = 5, c.Dash.v = 8, c.Gap.v = 3;
    const std::pair<const char*, std::function<int(DSubProj&, WorkingCopies&)>> walks[] = {
        {"points", [&](DSubProj& d, WorkingCopies& w) { return ApplyToAllPoints(d, w, p, PointCategories{}); }},
        {"segments", [&](DSubProj& d, WorkingCopies& w) { return ApplyToAllLines(d, w, l, LineCategories{}); }},
        {"ellipses", [&](DSubProj& d, WorkingCopies& w) { return ApplyToAllEllipses(d, w, c, EllipseCategories{}); }},
    };
    for (const auto& [name, apply] : walks) {
        // A document as a file gives it, two objects of every kind.
        auto doc = Reopened(*DocumentOfEveryKind(2));
        WorkingCopies work;
        EXPECT_GT(apply(doc->Obj, work), 20) << name;
        ASSERT_EQ(FirstDifferentLine(SavedText(*doc), SavedText(*Reopened(*doc))), "") << name;
    }
    // What the walks do stays done: the segment's own style, an axis's
    // dashes; the axes keep their system's thickness.
    auto doc = Reopened(*DocumentOfEveryKind(1));
    WorkingCopies work;
    ApplyToAllLines(doc->Obj, work, l, LineCategories{});
    const DXOY& x = doc->Obj.Xy[1];
    EXPECT_EQ(std::make_tuple(doc->Obj.Li[1].Thick.v, x.AxisY.Dash.v, x.AxisX.Arrow2Len.v, x.AxisX.Thick.v),
              std::make_tuple(7, 9, 17, x.Thick.v));
    EXPECT_NE(x.Thick.v, 7);
}

}  // namespace
}  // namespace pelmar::test
