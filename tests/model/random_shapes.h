// Test helper: random, well-formed figures and polyhedra of a chosen type,
// placed anywhere in space and seen well in the picture.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>

#include "model/geometry.h"
#include "model/polyhedron_make.h"
#include "model/round_make.h"

namespace pelmar::test {

class RandomShapes {
public:
    explicit RandomShapes(unsigned seed) : rng_(seed) {}

    double Real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    std::uint8_t Byte(int lo, int hi) { return static_cast<std::uint8_t>(Int(lo, hi)); }
    bool Coin() { return Int(0, 1) == 1; }
    // A value on the thousandths grid in [-r, r], and points of them.
    double Grid(double r) { return std::nearbyint(Real(-r, r) * 1000) / 1000; }
    Vec3 Point(double r) { return {Grid(r), Grid(r), Grid(r)}; }
    Vec3 Near(Vec3 o, double r) { return o + Point(r); }
    Vec3 Direction() {
        Vec3 d = Point(1);
        while (Norm(d) < 0.3) d = Point(1);
        return d;
    }
    // A vector of a length in [lo, hi], on the grid.
    Vec3 Length(double lo, double hi) {
        const Vec3 d = Direction();
        return Snap(d * (Real(lo, hi) / Norm(d)));
    }
    static Vec3 Snap(Vec3 v) { return {Round3(v.x), Round3(v.y), Round3(v.z)}; }

    // N vertices of a convex figure in a random plane through o.  The typed
    // figures decide on which side of side 1 vertex 3 lies from whole-pixel
    // picture positions, which is no guide when side 1 is seen nearly
    // end-on: side 1 is seen at least 40 pixels long and vertex 3 well off
    // its line.
    template <std::size_t N>
    std::array<Vec3, N> Polygon(Vec3 o) {
        for (;;) {
            const auto v = AnyPolygon<N>(o);
            const auto p1 = Pic(v[0]), p2 = Pic(v[1]), p3 = Pic(v[2]);
            const double side = std::hypot(p2[0] - p1[0], p2[1] - p1[1]);
            const double off = (p2[0] - p1[0]) * (p3[1] - p1[1]) - (p2[1] - p1[1]) * (p3[0] - p1[0]);
            if (side > 40 && std::fabs(off) > 20 * side) return v;
        }
    }

    // Polyhedra of the given type near o, not yet updated; the base and side
    // types that the type leaves alone are drawn from all their values.
    DPi3 Pyramid3(Vec3 o, std::uint8_t typ) {
        const auto b = Polygon<3>(o);
        DPi3 p = MakePyramid3(b, b[0] + Length(40, 150), typ, Byte(1, 6));
        TriangleShape(p.Base);
        p.HeightLine.Length.v = Real(20, 150);
        Spheres(p);
        return p;
    }
    DPi4 Pyramid4(Vec3 o, std::uint8_t typ) {
        const auto b = Polygon<4>(o);
        DPi4 p = MakePyramid4(b, b[0] + Length(40, 150), typ, Byte(1, 6));
        TetragonShape(p.Base);
        p.HeightLine.Length.v = Real(20, 150);
        Spheres(p);
        return p;
    }
    DPr3 Prism3(Vec3 o, std::uint8_t typ) {
        DPr3 p = MakePrism3(Polygon<3>(o), Length(30, 150), typ, Byte(1, 6));
        for (auto& b : p.Base) TriangleShape(b);
        for (auto& s : p.Side) s.Typ.v = Byte(1, 7);
        Spheres(p);
        return p;
    }
    DPr4 Prism4(Vec3 o, std::uint8_t typ) {
        DPr4 p = MakePrism4(Polygon<4>(o), Length(30, 150), typ, Byte(1, 6));
        for (auto& b : p.Base) TetragonShape(b);
        for (auto& s : p.Side) s.Typ.v = Byte(1, 7);
        Spheres(p);
        return p;
    }

    // Every type; the isosceles and the right triangle get a height.
    void TriangleShape(DTri& t) {
        t.Typ.v = Byte(1, 4);
        t.Side3.v = Byte(0, 1);
        t.Height.v = Real(20, 120);
    }
    void TetragonShape(DKv& k) {
        k.Typ.v = Byte(1, 7);
        k.Side3.v = Byte(0, 1);
    }

private:
    template <std::size_t N>
    std::array<Vec3, N> AnyPolygon(Vec3 o) {
        Vec3 u = Direction(), w = Direction();
        while (Norm(Cross(u, w)) < 0.2 * Norm(u) * Norm(w)) w = Direction();
        u = u * (1 / Norm(u));
        w = Cross(Cross(u, w), u);
        w = w * (1 / Norm(w));
        std::array<Vec3, N> v{};
        const double turn = Real(0, 360);
        for (std::size_t i = 0; i < N; ++i) {
            const double a = (turn + 360.0 * static_cast<double>(i) / N + Real(-15, 15)) * 3.14159265358979 / 180;
            const double r = Real(30, 90);
            v[i] = Snap(o + u * (r * std::cos(a)) + w * (r * std::sin(a)));
        }
        return v;
    }

    template <class P>
    void Spheres(P& p) {
        p.OutSphereOn.v = Coin();
        p.InSphereOn.v = Coin();
    }

    std::mt19937 rng_;
};

}  // namespace pelmar::test
