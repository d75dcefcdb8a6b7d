// Whether an object stays within the range of coordinates: what is asked
// (the places and lengths that define and size it) and what is not (parts
// computed from them, such as a nearly flat triangle's huge circumcircle).
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <tuple>

#include "model/coord_limit.h"
#include "model/defaults.h"
#include "model/record_reach.h"
#include "model/update.h"

using namespace pelmar;

namespace {

struct Objects {
    DPoint po;
    DLine li;
    DCircle ci;
    DTri tr;
    DKv kv;
    DXOY xy;
    DSf sf;
    DZi zi;
    DKo ko;
    DPi3 i3;
    DPi4 i4;
    DPr3 r3;
    DPr4 r4;
    DXZ xz;
    Objects() {
        const DefaultsSource src{};
        LoadDefault(po, 1, src);
        LoadDefault(li, 1, src);
        LoadDefault(ci, 1, src);
        LoadDefault(tr, 1, src);
        LoadDefault(kv, 1, src);
        LoadDefault(xy, 1, src);
        LoadDefaultOrb(sf, 1, src);
        LoadDefaultCylinder(zi, 1, src);
        LoadDefaultCone(ko, 1, src);
        LoadDefaultPyramid3(i3, 1, src);
        LoadDefaultPyramid4(i4, 1, src);
        LoadDefaultPrism3(r3, 1, src);
        LoadDefaultPrism4(r4, 1, src);
        LoadDefaultXYZ(xz, 1, src);
    }
    bool all() const {
        return std::apply([](const auto&... o) { return (WithinCoordLimit(o) && ...); },
                          std::tie(po, li, ci, tr, kv, xy, sf, zi, ko, i3, i4, r3, r4, xz));
    }
};

// One value of one object, set to what a test asks.
struct Place {
    const char* name;
    std::function<double&(Objects&)> at;
};

const Place Places[] = {
    {"point's picture X", [](Objects& o) -> double& { return o.po.ScrX.v; }},
    {"segment's end", [](Objects& o) -> double& { return o.li.P2.Z.v; }},
    {"ellipse's semi-axis", [](Objects& o) -> double& { return o.ci.B.v; }},
    {"ellipse's 3D semi-axis", [](Objects& o) -> double& { return o.ci.A3.v; }},
    {"triangle's vertex 3", [](Objects& o) -> double& { return o.tr.S[3].P1.ScrX.v; }},
    {"tetragon's vertex 2", [](Objects& o) -> double& { return o.kv.S[2].P1.ScrY.v; }},
    {"2D system's axis end", [](Objects& o) -> double& { return o.xy.AxisX.P2.ScrX.v; }},
    {"2D system's scale", [](Objects& o) -> double& { return o.xy.ScaleY.v; }},
    {"sphere's radius", [](Objects& o) -> double& { return o.sf.Radius.v; }},
    {"cylinder's radius", [](Objects& o) -> double& { return o.zi.Radius.v; }},
    {"cylinder's upper centre", [](Objects& o) -> double& { return o.zi.Base[2].Center.ScrY.v; }},
    {"cone's height", [](Objects& o) -> double& { return o.ko.Axis.Length.v; }},
    {"pyramid's apex", [](Objects& o) -> double& { return o.i3.HeightLine.P2.Z.v; }},
    {"prism's edge", [](Objects& o) -> double& { return o.r3.EdgeZ.v; }},
    {"four-sided prism's edge length", [](Objects& o) -> double& { return o.r4.EdgeLen.v; }},
    {"3D system's axis", [](Objects& o) -> double& { return o.xz.AxisZ.P2.ScrY.v; }},
};

}  // namespace

// New objects lie within; each asked value is taken up to the bound either
// way and refused past it, as are infinities and NaN.  (One set of objects,
// on the heap as they are large, each value put back after its try.)
TEST(RecordReach, EveryAskedValueUpToTheBound) {
    const auto o = std::make_unique<Objects>();
    ASSERT_TRUE(o->all());
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double v;
        bool within;
    } Values[] = {{kCoordLimit, true},   {-kCoordLimit, true}, {std::nextafter(kCoordLimit, inf), false},
                  {-1.5e6, false},       {3e9, false},         {inf, false},
                  {std::nan(""), false}, {0, true}};
    for (const Place& p : Places) {
        double& at = p.at(*o);
        const double kept = at;
        for (const auto& [v, within] : Values) {
            at = v;
            EXPECT_EQ(o->all(), within) << p.name << " = " << v;
        }
        at = kept;
    }
}

// Parts computed from an object are not asked: a nearly flat triangle's
// circumcircle reaches far past the bound while its vertices do not.
TEST(RecordReach, ComputedPartsAreNotAsked) {
    DTri t;
    LoadDefault(t, 1, DefaultsSource{});
    const double ys[] = {100, 100, 100.0001};
    const double xs[] = {-900000, 900000, 0};
    for (std::size_t i = 1; i <= 3; ++i) {
        t.S[i].P1.ScrX.v = xs[i - 1];
        t.S[i].P1.ScrY.v = ys[i - 1];
    }
    t.CircOn[1].v = true;
    t.Circ[1].A.v = t.Circ[1].B.v = 4e15;
    t.Circ[1].Center.ScrY.v = -4e15;
    EXPECT_TRUE(WithinCoordLimit(t));
    t.S[1].P1.ScrX.v = -1000001;
    EXPECT_FALSE(WithinCoordLimit(t));
}
