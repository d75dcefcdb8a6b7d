// Randomised triangle records, degenerate ones included: every update leaves
// finite numbers, and a second update of a stored triangle (no type rule, as
// the reader and the dependent recompute run it) changes nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "model/geometry.h"
#include "model/update.h"
#include "finite_check.h"
#include "tri_make.h"

using namespace pelmar;
using pelmar::test::JoinPaths;
using pelmar::test::MakeTri;

namespace {

class TriGen {
public:
    explicit TriGen(unsigned seed) : rng_(seed) {}

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    double Real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }
    double Grid(double lo, double hi) { return std::nearbyint(Real(lo, hi) * 1000) / 1000; }
    Vec3 GridPoint(double r) { return {Grid(-r, r), Grid(-r, r), Grid(-r, r)}; }
    Vec3 IntPoint(int r) { return {double(Int(-r, r)), double(Int(-r, r)), double(Int(-r, r))}; }

    // Vertices on the 0.001 grid of stored coordinates; a third of the
    // triangles are degenerate.
    std::array<Vec3, 3> Vertices() {
        auto v = Shape();
        for (auto& p : v) p = Snap3(p);
        return v;
    }

    static double Snap(double x) { return std::nearbyint(x * 1000) / 1000; }
    static Vec3 Snap3(Vec3 p) { return {Snap(p.x), Snap(p.y), Snap(p.z)}; }

    std::array<Vec3, 3> Shape() {
        const Vec3 a = GridPoint(400);
        switch (Int(0, 11)) {
            case 0: return {a, a, GridPoint(400)};
            case 1: return {a, GridPoint(400), a};
            case 2: {
                const Vec3 b = GridPoint(400);
                return {a, b, b};
            }
            case 3: return {a, a, a};
            case 4:
            case 5: {  // collinear, exactly
                const Vec3 p = IntPoint(300), d = IntPoint(50);
                const double k = Int(-3, 3);
                return {p, p + d, p + d * k};
            }
            case 6: {  // collinear in the picture plane
                const Vec3 p = IntPoint(300);
                const Vec3 d{0, double(Int(-50, 50)), double(Int(-50, 50))};
                return {p, p + d, p + d * double(Int(-3, 3))};
            }
            case 7: {  // parallel to the picture
                Vec3 b = GridPoint(400), c = GridPoint(400);
                b.x = c.x = a.x;
                return {a, b, c};
            }
            case 8: {  // tiny
                const double e = 0.001;
                return {a, a + Vec3{0, e * Int(-2, 2), e * Int(-2, 2)}, a + Vec3{e * Int(-2, 2), 0, e * Int(-2, 2)}};
            }
            default: return {a, GridPoint(400), GridPoint(400)};
        }
    }

    DTri Tri() {
        const auto v = Vertices();
        DTri t = MakeTri(v[0], v[1], v[2], static_cast<std::uint8_t>(Int(0, 5)));
        t.Side3.v = static_cast<std::uint8_t>(Int(0, 2));
        t.Height.v = Grid(-50, 300);
        t.View.v = static_cast<std::uint8_t>(Int(0, 5));
        t.Thick.v = Int(0, 5);
        t.ColorIndex.v = static_cast<std::uint8_t>(Int(0, 17));
        t.Layer.v = static_cast<std::uint8_t>(Int(1, 10));
        for (std::size_t i = 1; i <= 3; ++i) {
            if (Int(0, 9) == 0) t.S[i].P1.Link.b[0] = static_cast<std::uint8_t>(Int(1, 14));
            t.S[i].Arrow1.v = Int(0, 1) == 1;
        }
        for (std::size_t i = 1; i <= 5; ++i) {
            t.LineOn[i].v = Int(0, 1) == 1;
            t.LineVertex[i].v = static_cast<std::uint8_t>(Int(0, 9) == 0 ? Int(0, 5) : Int(1, 3));
            t.LineMode[i].v = static_cast<std::uint8_t>(Int(0, 9) == 0 ? Int(0, 5) : Int(1, 3));
            t.LineKind[i].v = static_cast<std::uint8_t>(Int(0, 9) == 0 ? Int(0, 5) : Int(1, 3));
            t.Lines[i].Length.v = Grid(0, 200);
            t.Lines[i].Frac3.v = Real(0, 1);
        }
        for (std::size_t k = 1; k <= 2; ++k) {
            DCircle& c = t.Circ[k];
            t.CircOn[k].v = Int(0, 1) == 1;
            c.Tilt.v = Grid(-360, 360);
            c.Arc1.v = Grid(-360, 360);
            c.Arc2.v = c.Arc1.v + Grid(-360, 700);
            c.ViewType.v = static_cast<std::uint8_t>(Int(1, 4));
            for (std::size_t r = 1; r <= 3; ++r) c.R[r].Angle.v = Grid(-360, 360);
        }
        return t;
    }

    // Off the stored grid: nearly degenerate, or far away.
    void Unsettle(DTri& t) {
        const int how = Int(0, 2);
        if (how == 0) return;
        for (std::size_t i = 1; i <= 3; ++i) {
            DPoint& p = t.S[i].P1;
            if (how == 1) {
                p.X.v += Real(-1e-9, 1e-9);
                p.Y.v += Real(-1e-9, 1e-9);
                p.Z.v += Real(-1e-9, 1e-9);
            } else {
                p.X.v *= 1e4;
                p.Y.v *= 1e4;
                p.Z.v *= 1e4;
            }
        }
    }

    int Role() {
        static constexpr int roles[] = {0, 0, 0, -1, -2, -3, -4, -5, 1, 9};
        return roles[Int(0, 9)];
    }

private:
    std::mt19937 rng_;
};

}  // namespace

TEST(UpdateTriangleRandom, EveryDoubleStaysFiniteForAnyRecord) {
    TriGen g(20240611);
    for (int n = 0; n < 6000; ++n) {
        DTri t = g.Tri();
        g.Unsettle(t);
        const int role = g.Role();
        const bool apply = g.Int(0, 1) == 1;
        UpdateTriangle(t, role, apply);
        const auto bad = pelmar::test::NonFiniteDoubles(t);
        ASSERT_TRUE(bad.empty()) << "record " << n << " role " << role << JoinPaths(bad);
        UpdateTriangle(t, role, !apply);
        const auto bad2 = pelmar::test::NonFiniteDoubles(t);
        ASSERT_TRUE(bad2.empty()) << "record " << n << " second update" << JoinPaths(bad2);
    }
}

TEST(UpdateTriangleRandom, SecondUpdateChangesNothing) {
    TriGen g(77);
    for (int n = 0; n < 3000; ++n) {
        DTri t = g.Tri();
        const int role = g.Role();
        UpdateTriangle(t, role, false);
        DTri again = t;
        UpdateTriangle(again, role, false);
        const auto diff = pelmar::test::DifferingDoubles(t, again);
        ASSERT_TRUE(diff.empty()) << "record " << n << " role " << role << JoinPaths(diff);
        EXPECT_EQ(t.Side3.v, again.Side3.v);
        EXPECT_EQ(t.Typ.v, again.Typ.v);
    }
}

TEST(UpdateTriangleRandom, ATypeRuleAppliedTwiceChangesNothing) {
    // Typed triangles parallel to the picture over a horizontal side 1: the
    // rule puts vertex 3 where a second run puts it again, and the height
    // written back is the typed one.
    TriGen g(5);
    for (int n = 0; n < 1500; ++n) {
        DTri t = g.Tri();
        const Vec3 v1 = TriGen::Snap3(g.GridPoint(300));
        const Vec3 v2 = v1 + Vec3{0, g.Grid(-300, 300), 0};
        const Vec3 v3 = v1 + Vec3{0, g.Grid(-300, 300), g.Grid(-300, 300)};
        const std::array<Vec3, 3> v{v1, TriGen::Snap3(v2), TriGen::Snap3(v3)};
        for (std::size_t i = 1; i <= 3; ++i) {
            SetPos(t.S[i].P1, v[i - 1]);
            t.S[i].P1.Link = {};
        }
        t.Typ.v = static_cast<std::uint8_t>(g.Int(1, 3));
        t.Side3.v = static_cast<std::uint8_t>(g.Int(0, 1));
        t.Height.v = g.Grid(0.5, 300);
        const double typed = t.Height.v;
        const int role = g.Role();
        UpdateTriangle(t, role, true);
        if (t.Typ.v != 1 && v1.y != v[1].y) {
            EXPECT_EQ(t.Height.v, typed) << "record " << n;
        }
        DTri again = t;
        UpdateTriangle(again, role, true);
        const auto diff = pelmar::test::DifferingDoubles(t, again);
        ASSERT_TRUE(diff.empty()) << "record " << n << " type " << int(t.Typ.v) << " role " << role
                                  << JoinPaths(diff);
    }
}
