// Randomised pyramids and prisms, degenerate ones included: every Double of
// the record stays finite after every update, in every role.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <random>

#include "finite_check.h"
#include "model/geometry.h"
#include "model/update.h"
#include "polyhedron_make.h"

using namespace pelmar;
using pelmar::test::JoinPaths;
using pelmar::test::NonFiniteDoubles;

namespace {

class Gen {
public:
    explicit Gen(unsigned seed) : rng_(seed) {}

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Chance(int in) { return Int(1, in) == 1; }
    double Grid(double r) { return std::nearbyint(std::uniform_real_distribution<double>(-r, r)(rng_) * 1000) / 1000; }
    Vec3 Point(double r) { return {Grid(r), Grid(r), Grid(r)}; }
    std::uint8_t Byte(int lo, int hi) { return static_cast<std::uint8_t>(Int(lo, hi)); }

    // N vertices of a base; some bases collapse to a point, a line, two
    // coinciding vertices, or lie parallel to the picture.
    template <std::size_t N>
    std::array<Vec3, N> Base() {
        std::array<Vec3, N> v{};
        for (auto& p : v) p = Point(300);
        switch (Int(0, 9)) {
            case 0:
                for (auto& p : v) p = v[0];
                break;
            case 1: {
                const Vec3 d{double(Int(-40, 40)), double(Int(-40, 40)), double(Int(-40, 40))};
                for (std::size_t i = 1; i < N; ++i) v[i] = v[0] + d * double(Int(-3, 3));
                break;
            }
            case 2: v[1] = v[0]; break;
            case 3:
                for (auto& p : v) p.x = v[0].x;
                break;
            case 4:
                for (auto& p : v) p = v[0] + Vec3{0.001 * Int(-2, 2), 0.001 * Int(-2, 2), 0.001 * Int(-2, 2)};
                break;
            default: break;
        }
        return v;
    }

    // Apex or edge: random, zero, in the base plane, or far away.
    Vec3 Offset(const std::array<Vec3, 3>& b) {
        switch (Int(0, 6)) {
            case 0: return {0, 0, 0};
            case 1: return (b[1] - b[0]) * Grid(2);
            case 2: return Point(5000);
            default: return Point(200);
        }
    }

    void Head(DSolidHead& h) {
        h.View.v = Byte(0, 7);
        h.ColorIndex.v = Byte(0, 17);
        h.Layer.v = Byte(1, 10);
        h.Thick.v = Int(0, 4);
    }

    template <class Fig>
    void Figure(Fig& f) {
        f.Side3.v = Byte(0, 1);
        f.View.v = Byte(0, 5);
        f.Height.v = Grid(100);
        for (std::size_t i = 1; i <= decltype(f.S)::size(); ++i)
            if (Chance(12)) f.S[i].P1.Link.b[0] = Byte(1, 14);
    }

    void Sphere(DSf& s) {
        s.Radius.v = Grid(100);
        for (std::size_t i = 1; i <= 7; ++i) {
            s.SecOn[i].v = Chance(3);
            s.SecNX[i].v = Grid(1);
            s.SecNY[i].v = Grid(1);
            s.SecNZ[i].v = Chance(4) ? 0 : Grid(1);
            s.SecH[i].v = Grid(60);
        }
    }

    template <class P>
    void Spheres(P& p) {
        p.OutSphereOn.v = Chance(2);
        p.InSphereOn.v = Chance(2);
        Sphere(p.OutSphere);
        Sphere(p.InSphere);
    }

    DPi3 Pyramid3() {
        const auto b = Base<3>();
        DPi3 p = test::MakePyramid3(b, b[0] + Offset(b), Byte(0, 4), 1);
        Head(p);
        Figure(p.Base);
        p.Base.Typ.v = Byte(0, 5);
        p.HeightLine.Length.v = Grid(300);
        if (Chance(10)) p.HeightLine.P2.Link.b[0] = 1;
        Spheres(p);
        return p;
    }

    DPi4 Pyramid4() {
        const auto b = Base<4>();
        DPi4 p = test::MakePyramid4(b, b[0] + Offset({b[0], b[1], b[2]}), Byte(0, 4), 1);
        Head(p);
        Figure(p.Base);
        p.Base.Typ.v = Byte(0, 8);
        p.HeightLine.Length.v = Grid(300);
        if (Chance(10)) p.HeightLine.P2.Link.b[0] = 1;
        Spheres(p);
        return p;
    }

    template <class P, std::size_t N>
    P Prism(P (*make)(const std::array<Vec3, N>&, Vec3, std::uint8_t, std::uint8_t), int types, int baseTypes) {
        const auto b = Base<N>();
        P p = make(b, Offset({b[0], b[1], b[2]}), Byte(0, types + 1), 1);
        Head(p);
        for (auto& base : p.Base) {
            Figure(base);
            base.Typ.v = Byte(0, baseTypes + 1);
        }
        if (Chance(4))  // free upper vertices
            for (std::size_t k = 1; k <= N; ++k) test::PlaceVertex(p.Base[2].S[k].P1, Point(300));
        Spheres(p);
        return p;
    }

private:
    std::mt19937 rng_;
};

template <class P, class Make, class Update>
void CheckFinite(const char* kind, Make make, Update update) {
    Gen g(20240611);
    for (int n = 0; n < 120; ++n) {
        P p = make(g);
        for (int role : {0, 0, 1, -1, 0}) {
            if (g.Chance(3)) p.View.v = g.Byte(0, 7);
            update(p, role);
            const auto bad = NonFiniteDoubles(p);
            ASSERT_TRUE(bad.empty()) << kind << " #" << n << " role " << role << JoinPaths(bad);
        }
    }
}

TEST(PolyhedronRandom, Pyramid3StaysFinite) {
    CheckFinite<DPi3>("pyramid3", [](Gen& g) { return g.Pyramid3(); },
                      [](DPi3& p, int r) { UpdatePyramid3(p, r); });
}

TEST(PolyhedronRandom, Pyramid4StaysFinite) {
    CheckFinite<DPi4>("pyramid4", [](Gen& g) { return g.Pyramid4(); },
                      [](DPi4& p, int r) { UpdatePyramid4(p, r); });
}

TEST(PolyhedronRandom, Prism3StaysFinite) {
    CheckFinite<DPr3>("prism3", [](Gen& g) { return g.Prism<DPr3, 3>(test::MakePrism3, 3, 4); },
                      [](DPr3& p, int r) { UpdatePrism3(p, r); });
}

TEST(PolyhedronRandom, Prism4StaysFinite) {
    CheckFinite<DPr4>("prism4", [](Gen& g) { return g.Prism<DPr4, 4>(test::MakePrism4, 5, 7); },
                      [](DPr4& p, int r) { UpdatePrism4(p, r); });
}

}  // namespace
