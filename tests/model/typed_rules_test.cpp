// Every rule of a typed value, over random records (prisms among them with a
// lateral edge no double measures) and the values no edit should let through
// (not numbers, infinities, the largest and the smallest doubles): a rule
// either refuses or gives a record whose every Double is finite and that
// holds the value asked for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/coord_edits.h"
#include "model/defaults.h"
#include "model/figure_reshape.h"
#include "model/polyhedron_parts.h"
#include "model/polyhedron_reshape.h"
#include "model/round_reshape.h"
#include "model/update.h"
#include "random_shapes.h"
#include "record_walk.h"
#include "tri_make.h"

namespace pelmar::test {
namespace {

constexpr double Inf = HUGE_VAL;

// A rule with the value it was given: the reshaped record or nothing, and
// whether a reshaped record holds the value.
template <class R>
struct Rule {
    const char* name;
    std::function<std::optional<R>(const R&, double)> apply;
    std::function<bool(const R&, const R&, double)> holds;  // (before, after, value)
};

// The values a rule meets: every extreme one, and a few plain ones (angles,
// lengths, coordinates, powers of two from the smallest double up).
std::vector<double> Values(RandomShapes& rnd) {
    std::vector<double> v = {std::nan(""), Inf, -Inf, DBL_MAX, -DBL_MAX, 1.8e305, -1.8e305, 1e200, -1e200, 1e154};
    v.push_back(rnd.Real(1, 179));
    v.push_back(rnd.Real(0, 400));
    v.push_back(rnd.Real(-500, 500));
    v.push_back(std::ldexp(1.0, rnd.Int(-1074, 1023)));
    return v;
}

// The lateral edge keeps its direction: the two vectors, each scaled by its
// largest component, point the same way.
bool SameDirection(Vec3 a, Vec3 b) {
    const auto unit = [](Vec3 v) {
        const double m = std::max({std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)});
        v = {v.x / m, v.y / m, v.z / m};
        return v * (1 / Norm(v));
    };
    const Vec3 u = unit(a), w = unit(b);
    return Norm(u - w) < 1e-9;
}

// Each rule on `records` fresh records.
template <class R>
void Check(const char* kind, std::function<R()> fresh, const std::vector<Rule<R>>& rules, RandomShapes& rnd,
           int& refused, int& taken, int records = 3) {
    for (int n = 0; n < records; ++n) {
        const R rec = fresh();
        for (const Rule<R>& rule : rules)
            for (const double v : Values(rnd)) {
                const std::optional<R> r = rule.apply(rec, v);
                if (!r) {
                    ++refused;
                    continue;
                }
                ++taken;
                ASSERT_TRUE(AllFinite(*r)) << kind << " " << rule.name << " " << v << JoinPaths(NonFiniteDoubles(*r));
                ASSERT_TRUE(rule.holds(rec, *r, v)) << kind << " " << rule.name << " " << v;
            }
    }
}

template <class R>
R Default() {
    R r;
    LoadDefault(r, 1, DefaultsSource{});
    return r;
}

template <class P>
std::vector<Rule<P>> PyramidRules() {
    return {
        {"height", [](const P& p, double v) { return PyramidWithHeight(p, v); },
         [](const P&, const P& r, double v) { return r.HeightLine.Length.v == v; }},
        {"turn", [](const P& p, double v) { return RotatedPyramid(p, v); },
         [](const P&, const P&, double) { return true; }},
    };
}

template <class P>
std::vector<Rule<P>> PrismRules() {
    std::vector<Rule<P>> rules = {
        {"edge length", [](const P& p, double v) { return PrismWithEdgeLength(p, v); },
         [](const P& p, const P& r, double v) {
             const Vec3 before = poly::ExactEdge(p), after{r.EdgeX.v, r.EdgeY.v, r.EdgeZ.v};
             const bool none = before.x == 0 && before.y == 0 && before.z == 0;
             const bool upright = after.x == 0 && after.y == 0 && after.z == v;
             return r.EdgeLen.v == v && (none ? upright : v == 0 || SameDirection(before, after));
         }},
        {"turn", [](const P& p, double v) { return RotatedPrism(p, v); },
         [](const P&, const P&, double) { return true; }},
    };
    for (int c = 1; c <= 3; ++c)
        rules.push_back({"edge component", [c](const P& p, double v) { return PrismWithEdge(p, c, v); },
                         [c](const P&, const P& r, double v) {
                             return (c == 1 ? r.EdgeX.v : c == 2 ? r.EdgeY.v : r.EdgeZ.v) == v;
                         }});
    return rules;
}

// Half the prisms get a lateral edge no double measures: beyond the range of
// one, or so short that its length comes out 0.
template <class P>
P Stretched(P p, RandomShapes& rnd) {
    if (rnd.Coin()) return p;
    const double k = rnd.Coin() ? 1e200 : 1e-200;
    p.EdgeX.v *= k;
    p.EdgeY.v *= k;
    p.EdgeZ.v *= k;
    return p;
}

template <class F>
std::vector<Rule<F>> FigureRules(int n, std::optional<F> (*angle)(F, int, double), std::optional<F> (*side)(F, int, double),
                                 std::optional<F> (*height)(F, double)) {
    std::vector<Rule<F>> rules = {{"height", [height](const F& f, double v) { return height(f, v); },
                                   [](const F&, const F& r, double v) { return r.Height.v == v; }}};
    for (int i = 1; i <= n; ++i) {
        const auto at = static_cast<std::size_t>(i);
        rules.push_back({"angle", [angle, i](const F& f, double v) { return angle(f, i, v); },
                         [at](const F&, const F& r, double v) { return r.Ang[at].v == v; }});
        rules.push_back({"side", [side, i](const F& f, double v) { return side(f, i, v); },
                         [at](const F&, const F& r, double v) { return r.S[at].Length.v == v; }});
    }
    return rules;
}

TEST(TypedRules, RefuseOrGiveAFiniteRecordHoldingTheValue) {
    RandomShapes rnd(35);
    int refused = 0, taken = 0;

    std::vector<Rule<DSf>> orb = {
        {"centre x", [](const DSf& s, double v) { return OrbWithCentre(s, true, v); },
         [](const DSf&, const DSf& r, double v) { return r.Center.ScrX.v == v; }},
        {"centre y", [](const DSf& s, double v) { return OrbWithCentre(s, false, v); },
         [](const DSf&, const DSf& r, double v) { return r.Center.ScrY.v == v; }},
        {"radius", [](const DSf& s, double v) { return OrbWithRadius(s, v); },
         [](const DSf&, const DSf& r, double v) { return r.Radius.v == v; }},
    };
    for (int i = 1; i <= 7; ++i) {
        const auto at = static_cast<std::size_t>(i);
        orb.push_back({"plane normal x", [i](const DSf& s, double v) { return OrbWithPlane(s, i, SectionField::NormalX, v); },
                       [at](const DSf&, const DSf& r, double v) { return r.SecNX[at].v == v; }});
        orb.push_back({"plane distance", [i](const DSf& s, double v) { return OrbWithPlane(s, i, SectionField::Distance, v); },
                       [at](const DSf&, const DSf& r, double v) { return r.SecH[at].v == v; }});
    }
    Check<DSf>("sphere", [&] {
        DSf s = MakeOrb(rnd.Point(300), rnd.Real(5, 150), rnd.Byte(1, 6));
        UpdateOrb(s, 0);
        return s;
    }, orb, rnd, refused, taken);

    Check<DZi>("cylinder", [&] {
        const Vec3 p0 = rnd.Point(300), axis = rnd.Length(20, 150);
        const double radius = rnd.Real(5, 100);
        DZi z = MakeCylinder(p0, p0 + axis, radius, rnd.Byte(1, 6));
        SquareBase(z.Base[1], axis, radius);
        UpdateCylinder(z, 0);
        return z;
    }, {{"radius", [](const DZi& z, double v) { return CylinderWithRadius(z, v); },
         [](const DZi&, const DZi& r, double v) { return r.Radius.v == v; }},
        {"height", [](const DZi& z, double v) { return CylinderWithHeight(z, v); },
         [](const DZi&, const DZi& r, double v) { return r.Axis.Length.v == v; }}},
       rnd, refused, taken);

    Check<DKo>("cone", [&] {
        const Vec3 p0 = rnd.Point(300), axis = rnd.Length(20, 150);
        const double radius = rnd.Real(5, 100);
        DKo k = MakeCone(p0, p0 + axis, radius, rnd.Byte(1, 6));
        SquareBase(k.Base, axis, radius);
        UpdateCone(k, 0);
        return k;
    }, {{"radius", [](const DKo& k, double v) { return ConeWithRadius(k, v); },
         [](const DKo&, const DKo& r, double v) { return r.Radius.v == v; }},
        {"height", [](const DKo& k, double v) { return ConeWithHeight(k, v); },
         [](const DKo&, const DKo& r, double v) { return r.Axis.Length.v == v; }}},
       rnd, refused, taken);

    Check<DPi3>("pyramid 3", [&] {
        DPi3 p = rnd.Pyramid3(rnd.Point(200), rnd.Byte(1, 3));
        UpdatePyramid3(p, 0);
        return p;
    }, PyramidRules<DPi3>(), rnd, refused, taken);
    Check<DPi4>("pyramid 4", [&] {
        DPi4 p = rnd.Pyramid4(rnd.Point(200), rnd.Byte(1, 3));
        UpdatePyramid4(p, 0);
        return p;
    }, PyramidRules<DPi4>(), rnd, refused, taken);
    Check<DPr3>("prism 3", [&] {
        DPr3 p = rnd.Prism3(rnd.Point(200), rnd.Byte(1, 3));
        UpdatePrism3(p, 0);
        return Stretched(p, rnd);
    }, PrismRules<DPr3>(), rnd, refused, taken);
    Check<DPr4>("prism 4", [&] {
        DPr4 p = rnd.Prism4(rnd.Point(200), rnd.Byte(1, 5));
        UpdatePrism4(p, 0);
        return Stretched(p, rnd);
    }, PrismRules<DPr4>(), rnd, refused, taken);

    Check<DTri>("triangle", [&] {
        const auto v = rnd.Polygon<3>(rnd.Point(200));
        DTri t = MakeTri(v[0], v[1], v[2], rnd.Byte(1, 4));
        UpdateTriangle(t, 0, true);
        return t;
    }, FigureRules<DTri>(3, TriangleWithAngle, TriangleWithSide, TriangleWithHeight), rnd, refused, taken);
    Check<DKv>("tetragon", [&] {
        const auto v = rnd.Polygon<4>(rnd.Point(200));
        DKv k = MakeKv(v[0], v[1], v[2], v[3]);
        k.Typ.v = rnd.Byte(1, 7);
        UpdateTetragon(k, 0, true);
        return k;
    }, FigureRules<DKv>(4, TetragonWithAngle, TetragonWithSide, TetragonWithHeight), rnd, refused, taken);

    std::vector<Rule<DXOY>> xoy = {
        {"scale x", [](const DXOY& x, double v) { return XOYWithScale(x, v, x.ScaleY.v); },
         [](const DXOY&, const DXOY& r, double v) { return r.ScaleX.v == v; }},
        {"scale y", [](const DXOY& x, double v) { return XOYWithScale(x, x.ScaleX.v, v); },
         [](const DXOY&, const DXOY& r, double v) { return r.ScaleY.v == v; }},
    };
    for (const int graph : {1, 2, 6})
        for (int i = 0; i < 4; ++i)
            xoy.push_back({"bound", [graph, i](const DXOY& x, double v) { return XOYWithBound(x, graph, i, v); },
                           [graph, i](const DXOY&, const DXOY& r, double v) {
                               return r.Bounds[graph == 6 ? 3 : static_cast<std::size_t>(graph)][static_cast<std::size_t>(i)].v == v;
                           }});
    Check<DXOY>("2D system", Default<DXOY>, xoy, rnd, refused, taken);
    Check<DXZ>("3D system", Default<DXZ>,
              {{"scale", [](const DXZ& z, double v) { return XZWithScale(z, v); },
                [](const DXZ&, const DXZ& r, double v) { return r.Scale.v == v; }}},
              rnd, refused, taken, 12);
    for (const double v : Values(rnd)) {
        if (const std::optional<double> h = ClampParamStep(v)) {
            ++taken;
            ASSERT_EQ(*h, std::max(v, MinParamStep)) << v;
        } else {
            ++refused;
            ASSERT_FALSE(std::isfinite(v));
        }
    }

    // Both outcomes were met often.
    EXPECT_GT(refused, 200);
    EXPECT_GT(taken, 500);
}

}  // namespace
}  // namespace pelmar::test
