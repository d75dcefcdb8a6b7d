#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "model/coord_edits.h"
#include "model/defaults.h"

using namespace pelmar;

namespace {

// A 3D system whose every cached curve is current.
DXZ AllValid() {
    DXZ z;
    for (auto& c : z.Curves) c.Valid = 1;
    for (auto& o : z.Outlines) o.Lines.Valid = 1;
    return z;
}

// The caches that are no longer current: section curves 1..55, outlines as
// 101..103.
std::set<int> Stale(const DXZ& z) {
    std::set<int> s;
    for (int c = 1; c <= 55; ++c)
        if (!z.Curves[static_cast<std::size_t>(c)].Valid) s.insert(c);
    for (int o = 1; o <= 3; ++o)
        if (!z.Outlines[static_cast<std::size_t>(o)].Lines.Valid) s.insert(100 + o);
    return s;
}

std::set<int> Range(int first, int last, std::initializer_list<int> more = {}) {
    std::set<int> s(more);
    for (int i = first; i <= last; ++i) s.insert(i);
    return s;
}

}  // namespace

// Each formula of a 3D system stales exactly its own surface's sections and
// outline; the parametric curve's three texts stale nothing; the scale
// stales everything; the second-order switch only its outline.
TEST(CoordEdits, ThreeDFieldsStaleExactlyTheirCurves) {
    const struct {
        const char* what;
        DXZ (*edit)(DXZ);
        std::set<int> stale;
    } rows[] = {
        {"surface 1", [](DXZ z) { return XZWithFormula(z, 1, "x*y"); }, Range(1, 11, {101})},
        {"surface 2", [](DXZ z) { return XZWithFormula(z, 2, "x*y"); }, Range(12, 22, {102})},
        {"curve x", [](DXZ z) { return XZWithFormula(z, 3, "t"); }, {}},
        {"surface 4", [](DXZ z) { return XZWithFormula(z, 4, "x^2+y^2+z^2-1"); }, Range(23, 55, {103})},
        {"curve y", [](DXZ z) { return XZWithFormula(z, 5, "t"); }, {}},
        {"curve z", [](DXZ z) { return XZWithFormula(z, 6, "t"); }, {}},
        {"scale", [](DXZ z) { return *XZWithScale(z, 40); }, Range(1, 55, {101, 102, 103})},
        {"second order 2", [](DXZ z) { return XZWithSecondOrder(z, 2, true); }, {102}},
        {"no such field", [](DXZ z) { return XZWithFormula(z, 7, "x"); }, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(Stale(r.edit(AllValid())), r.stale);
    }
    const DXZ z = XZWithFormula(AllValid(), 5, "cos(t)");
    EXPECT_EQ(z.Surf3More[1].s, "cos(t)");
    EXPECT_EQ(XZWithScale(AllValid(), 0)->Scale.v, 0) << "a scale of 0 is stored as typed";
    EXPECT_EQ(XZWithSecondOrder(AllValid(), 3, false).Outlines[3].FitMode, 0);
    EXPECT_EQ(XZWithSecondOrder(AllValid(), 3, true).Outlines[3].FitMode, 1);
    // Sections and outlines pair up with their surfaces both ways.
    int covered = 0;
    for (int s = 1; s <= 4; ++s) {
        covered += XZSectionCurves(s).count();
        if (const int o = XZOutlineOf(s)) {
            EXPECT_EQ(XZSurfaceOfOutline(o), s);
        }
    }
    EXPECT_EQ(covered, 55);
}

// 2D: the implicit graph is traced again after a scale, its own formula, any
// Cartesian bound and a within-the-axes switch; never after another graph's
// formula.
TEST(CoordEdits, TwoDImplicitGraphRetraced) {
    DXOY x;
    x.Curves.Valid = 1;
    const struct {
        const char* what;
        DXOY (*edit)(DXOY);
        bool retraced;
    } rows[] = {
        {"scale x", [](DXOY r) { return *XOYWithScale(r, 30, r.ScaleY.v); }, true},
        {"graph 1", [](DXOY r) { return XOYWithFormula(r, 1, "sin(x)"); }, false},
        {"graph 5 second", [](DXOY r) { return XOYWithFormula(r, 7, "t"); }, false},
        {"graph 6", [](DXOY r) { return XOYWithFormula(r, 6, "x^2+y^2-1"); }, true},
        {"bound of graph 2", [](DXOY r) { return *XOYWithBound(r, 2, 3, 5); }, true},
        {"bound of a polar graph", [](DXOY r) { return *XOYWithBound(r, 3, 0, 5); }, false},
        {"within axes 4", [](DXOY r) { return XOYWithinAxes(r, 4, true); }, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(r.edit(x).Curves.Valid == 0, r.retraced);
    }
    EXPECT_EQ(XOYWithFormula(x, 7, "t").Graph2.s, "t");
    EXPECT_EQ(XOYWithBound(x, 6, 1, -2)->Bounds[3][1].v, -2);
    EXPECT_TRUE(XOYWithinAxes(x, 5, true).WithinAxes[3].v);
}

TEST(CoordEdits, ParametricStepClamp) {
    EXPECT_EQ(ClampParamStep(0), MinParamStep);
    EXPECT_EQ(ClampParamStep(-3), MinParamStep);
    EXPECT_EQ(ClampParamStep(0.0001), MinParamStep);
    EXPECT_FALSE(ClampParamStep(std::nan("")));
    EXPECT_EQ(ClampParamStep(0.00011), 0.00011);
}

// A new system's graphs can be drawn once switched on: solid lines (the 2D
// options dialog cannot change the hidden lines), a window around the origin
// and a rotation normal out of the picture.
TEST(CoordEdits, NewSystemsHaveDrawableGraphs) {
    DXOY x;
    LoadDefaultXOY(x, 1, DefaultsSource{"/nonexistent"});
    for (std::size_t g = 1; g <= 6; ++g) {
        EXPECT_EQ(x.Style[g].Visible.v, 1);
        EXPECT_EQ(x.Style[g].Hidden.v, 1);
        EXPECT_GT(x.Style[g].Dash.v, 0);
        EXPECT_EQ(x.Move[g].NZ.v, 1);
    }
    for (std::size_t b = 1; b <= 3; ++b) {
        EXPECT_LT(x.Bounds[b][0].v, x.Bounds[b][1].v);
        EXPECT_LT(x.Bounds[b][2].v, x.Bounds[b][3].v);
    }
    for (std::size_t p = 1; p <= 2; ++p) EXPECT_GT(x.Polar[p][2].v, 0);
    DXZ z;
    LoadDefaultXYZ(z, 1, DefaultsSource{"/nonexistent"});
    for (std::size_t s = 1; s <= 4; ++s) {
        EXPECT_EQ(z.Style[s].Visible.v, 1);
        EXPECT_EQ(z.Style[s].Hidden.v, 1);
        EXPECT_EQ(z.Move[s].NZ.v, 1);
    }
}
